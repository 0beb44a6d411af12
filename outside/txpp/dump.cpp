#include "dump.h"

#include "tokens.h"

#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

namespace pp {

using namespace tok;

namespace {

const char *TypeName(uint8_t type) {
    switch (type) {
    case kTypeInt: return "INT";
    case kTypeLng: return "LNG";
    case kTypeSng: return "SNG";
    case kTypeDbl: return "DBL";
    case kTypeByt: return "BYT";
    case kTypeStr: return "STR";
    default: return "?";
    }
}

std::string Format(const char *fmt, ...) __attribute__((format(printf, 1, 2)));
std::string Format(const char *fmt, ...) {
    char buf[512];
    va_list ap;
    va_start(ap, fmt);
    std::vsnprintf(buf, sizeof buf, fmt, ap);
    va_end(ap);
    return buf;
}

template <typename T>
T Read(const uint8_t *p) {
    T v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

class Dumper {
public:
    explicit Dumper(DumpResult &r) : r_(r) {}

    void Line(std::string_view s) {
        r_.text.append(s);
        r_.text += '\n';
    }
    void Problem(const std::string &s) {
        Line("  !! " + s);
        r_.consistent = false;
    }

    // One unit; returns its size, 0 when the record ends inside it.
    size_t Unit(const uint8_t *p, size_t left, std::string_view line) {
        if (left < 4) return 0;
        uint8_t cls = p[0], kind = p[1], off = p[2], len = p[3];
        size_t size = TokenSize(p);
        if (size > left) return 0;
        std::string head = Format("  %02X %02X %02X %02X  ", cls, kind, off, len);
        bool spans = true;
        auto text = [&] {
            if (static_cast<size_t>(off) + len > line.size()) return std::string("<outside the line>");
            return std::string(line.substr(off, len));
        };
        std::string what;
        switch (cls) {
        case kClsName:
        case kClsNameParen:
            what = Format("%s %s \"%s\"", cls == kClsName ? "name" : "name(", TypeName(kind), text().c_str());
            break;
        case kClsConstant:
            switch (kind) {
            case kTypeInt: what = Format("INT %d", Read<int16_t>(p + 4)); break;
            case kTypeLng: what = Format("LNG %d", static_cast<int>(Read<int32_t>(p + 4))); break;
            case kTypeSng: what = Format("SNG %.9g", static_cast<double>(Read<float>(p + 4))); break;
            case kTypeDbl: what = Format("DBL %.17g", Read<double>(p + 4)); break;
            case kTypeByt: what = Format("BYT %u", p[4]); break;
            case kTypeStr: what = "string \"" + text() + "\""; break;
            default: what = "constant of unknown type"; break;
            }
            if (kind < 5) what += "  [" + text() + "]";
            break;
        case kClsDataItem: what = "data [" + text() + "]"; break;
        case kClsLabel: what = Format("label%s \"%s\"", kind ? " operand" : "", text().c_str()); break;
        case kClsLineNumber: what = Format("line number%s %s", kind ? " operand" : "", text().c_str()); break;
        case kClsError: what = Format("error %u at column %u, length %u", kind, off, len); break;
        default:
            spans = false;
            if (const Keyword *k = FindWord(Word(cls, kind)))
                what = std::string(k->spelling);
            else
                what = "unknown unit";
        }
        Line(head + what);
        if (spans && static_cast<size_t>(off) + len > line.size())
            Problem(Format("unit runs past its line (%u + %u > %u)", off, len, static_cast<unsigned>(line.size())));
        if (!spans && cls != kClsEnd && static_cast<size_t>(off) + len > line.size())
            Problem("keyword position outside its line");
        return size;
    }

private:
    DumpResult &r_;
};

}  // namespace

DumpResult DumpTokenFiles(std::string_view slist, std::string_view tcode) {
    DumpResult r;
    Dumper d(r);
    std::vector<std::string_view> lines;
    for (size_t pos = 0; pos < slist.size();) {
        size_t nl = slist.find('\n', pos);
        size_t end = nl == std::string_view::npos ? slist.size() : nl;
        lines.push_back(slist.substr(pos, end - pos));
        pos = end + 1;
    }
    const auto *bytes = reinterpret_cast<const uint8_t *>(tcode.data());
    size_t pos = 0, count = 0;
    while (pos < tcode.size()) {
        if (tcode.size() - pos < 4) {
            d.Problem(Format("%u stray bytes at the end of the token code", static_cast<unsigned>(tcode.size() - pos)));
            break;
        }
        size_t length = bytes[pos] | bytes[pos + 1] << 8;
        unsigned lineNo = bytes[pos + 2] | bytes[pos + 3] << 8;
        std::string_view line = count < lines.size() ? lines[count] : std::string_view();
        d.Line(Format("[%u] line %u, %u bytes: ", static_cast<unsigned>(count + 1), lineNo, static_cast<unsigned>(length)) + std::string(line));
        if (count >= lines.size()) d.Problem("no source-list line for this record");
        if (line.size() + 1 > static_cast<size_t>(kMaxLineText) + 1) d.Problem("source-list line over 255 bytes");
        if (length < 4 || pos + length > tcode.size()) {
            d.Problem(Format("record length %u does not fit the file", static_cast<unsigned>(length)));
            break;
        }
        if (length - 4 > static_cast<size_t>(kMaxRecordTokens)) d.Problem("record over 2044 token bytes");
        for (size_t u = pos + 4, end = pos + length; u < end;) {
            size_t size = d.Unit(bytes + u, end - u, line);
            if (!size) {
                d.Problem("record ends inside a unit");
                break;
            }
            u += size;
        }
        pos += length;
        ++count;
    }
    d.Line(Format("%u records, %u source-list lines", static_cast<unsigned>(count), static_cast<unsigned>(lines.size())));
    if (count != lines.size()) d.Problem("record and line counts differ");
    return r;
}

}  // namespace pp
