#include "preprocess.h"

#include "lexer.h"
#include "passerror.h"
#include "tokens.h"
#include "txpp.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace pp {

namespace {

// Error and detail codes: passerror.h.
using enum tx::PassError;
using enum tx::PassDetail;

constexpr size_t kMaxLines = 65535;  // record heads hold the line in 16 bits

class File {
public:
    File(const char *name, const char *mode) : f_(name ? std::fopen(name, mode) : nullptr) {}
    ~File() {
        if (f_) std::fclose(f_);
    }
    File(const File &) = delete;
    File &operator=(const File &) = delete;
    FILE *get() const { return f_; }
    bool Close() {
        FILE *f = f_;
        f_ = nullptr;
        return std::fclose(f) == 0;
    }

private:
    FILE *f_;
};

bool ReadAll(FILE *f, std::string &out) {
    char buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) out.append(buf, n);
    return !std::ferror(f);
}

void PutU16(std::vector<uint8_t> &v, size_t at, uint32_t value) {
    v[at] = static_cast<uint8_t>(value);
    v[at + 1] = static_cast<uint8_t>(value >> 8);
}

}  // namespace

int CompileFile(CmpFilParam &param) {
    // "?" asks for the standard environment: no file for the analyzer to open.
    if (param.S_filenmae && std::strcmp(param.S_filenmae, "?") == 0) param.S_filenmae = nullptr;

    std::string source;
    {
        File in(param.srcfilename, "rb");
        if (!in.get()) {
            tx::StorePassError(param, kErrOpen, kDetailSource, param.srcfilename);
            return 0;
        }
        if (!ReadAll(in.get(), source)) {
            tx::StorePassError(param, kErrRead, kDetailSource, param.srcfilename);
            return 0;
        }
    }
    File slist(param.slist_filename, "wb");
    if (!slist.get()) {
        tx::StorePassError(param, kErrOpen, kDetailSourceList, param.slist_filename);
        return 0;
    }
    File tcode(param.tcode_filename, "wb");
    if (!tcode.get()) {
        tx::StorePassError(param, kErrOpen, kDetailTokenCode, param.tcode_filename);
        return 0;
    }

    DefaultTypes defaults;
    std::vector<uint8_t> record;
    std::string text;
    size_t lineNumber = 0;
    for (size_t pos = 0; pos < source.size();) {
        size_t end = pos;
        while (end < source.size() && source[end] != '\r' && source[end] != '\n') ++end;
        text.assign(source, pos, end - pos);
        pos = end;
        if (pos < source.size() && source[pos] == '\r') ++pos;
        if (pos < source.size() && source[pos] == '\n') ++pos;

        if (++lineNumber > kMaxLines) {
            tx::StorePassError(param, kErrTooManyLines, kDetailSource, param.srcfilename);
            return 0;
        }
        for (char &c : text)
            if (c == 0x1A) c = ' ';  // an end-of-file mark inside the text reads as a blank

        LexOptions options;
        options.tokenLimit = tok::kMaxRecordTokens;
        if (text.size() > static_cast<size_t>(tok::kMaxLineText)) {
            text.resize(CutAtCharBoundary(text.data(), text.size(), tok::kMaxLineText));
            options.forcedFaultColumn = static_cast<int>(text.size());
        }
        record.assign(4, 0);
        TokeniseLine(text, options, defaults, record);
        PutU16(record, 0, static_cast<uint32_t>(record.size()));
        PutU16(record, 2, static_cast<uint32_t>(lineNumber));

        // The listing shows control bytes as blanks so that the list file
        // stays one text line per record.
        for (char &c : text) {
            uint8_t b = static_cast<uint8_t>(c);
            if ((b < 0x20 && b != '\t') || b == 0x7F) c = ' ';
        }
        text += '\n';
        if (std::fwrite(text.data(), 1, text.size(), slist.get()) != text.size()) {
            tx::StorePassError(param, kErrWrite, kDetailSourceList, param.slist_filename);
            return 0;
        }
        if (std::fwrite(record.data(), 1, record.size(), tcode.get()) != record.size()) {
            tx::StorePassError(param, kErrWrite, kDetailTokenCode, param.tcode_filename);
            return 0;
        }
    }
    if (!slist.Close()) {
        tx::StorePassError(param, kErrWrite, kDetailSourceList, param.slist_filename);
        return 0;
    }
    if (!tcode.Close()) {
        tx::StorePassError(param, kErrWrite, kDetailTokenCode, param.tcode_filename);
        return 0;
    }
    return 1;
}

int EditCheck(char *text, unsigned char *tokens, int mode) {
    if (!text || !tokens || (mode != kEdtChkLine && mode != kEdtChkWatch)) return -1;
    size_t length = std::strlen(text);
    std::vector<uint8_t> out;
    int result = 0;
    if (length > static_cast<size_t>(tok::kMaxLineText)) {
        // The callers never pass such a text; report it without touching it.
        out = {tok::kClsError, tok::kErrSyntax, 0, 0};
        result = 1;
    } else {
        std::string line(text, length);
        LexOptions options;
        options.kind = mode == kEdtChkLine ? LineKind::kSource : LineKind::kWatch;
        options.normalise = true;
        options.tokenLimit = tok::kEdtChkBufSize - 4;  // room for the end mark
        DefaultTypes defaults;
        TokeniseLine(line, options, defaults, out);
        // Only mode 1 may grow the text (by the blank after a line number);
        // the editor's buffer has room for it.
        std::memcpy(text, line.c_str(), line.size() + 1);
    }
    if (!out.empty())  // an empty vector's data() may be null
        std::memcpy(tokens, out.data(), out.size());
    const uint8_t end[4] = {tok::kClsEnd, 0, 0, 0};
    std::memcpy(tokens + out.size(), end, sizeof end);
    return result;
}

}  // namespace pp
