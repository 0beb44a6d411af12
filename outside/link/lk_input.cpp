#include "lk_input.h"

#include <cstring>

namespace txlink {
namespace {

class Bytes {
public:
    explicit Bytes(const std::vector<uint8_t>& b) : b_(b) {}
    bool Has(uint64_t off, uint64_t n) const { return off <= b_.size() && n <= b_.size() - off; }
    uint16_t U16(uint64_t off) const { return uint16_t(b_[off] | b_[off + 1] << 8); }
    uint32_t U32(uint64_t off) const {
        return uint32_t(b_[off]) | uint32_t(b_[off + 1]) << 8 | uint32_t(b_[off + 2]) << 16 |
               uint32_t(b_[off + 3]) << 24;
    }
    const uint8_t* At(uint64_t off) const { return b_.data() + off; }
    size_t Size() const { return b_.size(); }

private:
    const std::vector<uint8_t>& b_;
};

constexpr char kArchiveMagic[] = "!<arch>\n";
constexpr size_t kArchiveMagicSize = 8;
constexpr size_t kMemberHeaderSize = 60;
constexpr uint32_t kScnRelocOverflow = 0x01000000;

// The first entry of every 32-bit .res: an empty resource of type 0, name 0.
constexpr uint8_t kResHead[16] = {0, 0, 0, 0, 0x20, 0, 0, 0, 0xFF, 0xFF, 0, 0, 0xFF, 0xFF, 0, 0};

std::string StringAt(const Bytes& r, uint64_t strTab, uint32_t strSize, uint32_t off) {
    std::string s;
    if (off < 4 || off >= strSize) return s;
    for (uint64_t p = strTab + off; p < strTab + strSize && *r.At(p); ++p) s += char(*r.At(p));
    return s;
}

std::string ShortName(const uint8_t* p) {
    size_t n = 0;
    while (n < 8 && p[n]) ++n;
    return std::string(reinterpret_cast<const char*>(p), n);
}

uint64_t ParseDecimal(const uint8_t* p, size_t n, bool& ok) {
    uint64_t v = 0;
    size_t i = 0;
    while (i < n && p[i] == ' ') ++i;
    size_t digits = 0;
    for (; i < n && p[i] >= '0' && p[i] <= '9'; ++i, ++digits) v = v * 10 + (p[i] - '0');
    while (i < n && p[i] == ' ') ++i;
    ok = digits > 0 && i == n;
    return v;
}

} // namespace

InputKind DetectInput(const std::vector<uint8_t>& bytes) {
    Bytes r(bytes);
    if (r.Has(0, kArchiveMagicSize) && std::memcmp(r.At(0), kArchiveMagic, kArchiveMagicSize) == 0)
        return InputKind::kArchive;
    if (r.Has(0, sizeof kResHead) && std::memcmp(r.At(0), kResHead, sizeof kResHead) == 0)
        return InputKind::kResource;
    if (r.Has(0, 20) && r.U16(0) == kMachineI386) return InputKind::kObject;
    return InputKind::kUnknown;
}

bool ReadObject(const std::vector<uint8_t>& bytes, ObjectFile& obj, std::string& error) {
    Bytes r(bytes);
    if (!r.Has(0, 20)) {
        error = "file too short for an object header";
        return false;
    }
    if (r.U16(0) != kMachineI386) {
        char buf[80];
        std::snprintf(buf, sizeof buf, "module machine type 0x%X conflicts with target machine type 'X86'",
                      r.U16(0));
        error = buf;
        return false;
    }
    const uint16_t nsec = r.U16(2);
    const uint32_t symPtr = r.U32(8), nsym = r.U32(12);
    const uint16_t optSize = r.U16(16);
    const uint64_t secTab = 20 + uint64_t(optSize);
    if (!r.Has(secTab, uint64_t(nsec) * 40)) {
        error = "section table runs past the end of the file";
        return false;
    }
    if (nsym && !r.Has(symPtr, uint64_t(nsym) * kSymbolSize)) {
        error = "symbol table runs past the end of the file";
        return false;
    }
    const uint64_t strTab = uint64_t(symPtr) + uint64_t(nsym) * kSymbolSize;
    uint32_t strSize = nsym && r.Has(strTab, 4) ? r.U32(strTab) : 0;
    if (strSize < 4 || !r.Has(strTab, strSize)) strSize = 0;

    obj.sections.clear();
    obj.symbols.clear();
    obj.directives.clear();
    for (uint16_t i = 0; i < nsec; ++i) {
        const uint64_t h = secTab + uint64_t(i) * 40;
        InputSection s;
        s.name = ShortName(r.At(h));
        if (s.name.size() > 1 && s.name[0] == '/') {
            bool ok = false;
            uint32_t off = uint32_t(ParseDecimal(r.At(h + 1), s.name.size() - 1, ok));
            if (ok) s.name = StringAt(r, strTab, strSize, off);
        }
        const uint32_t rawSize = r.U32(h + 16), rawPtr = r.U32(h + 20);
        const uint32_t relPtr = r.U32(h + 24), linePtr = r.U32(h + 28);
        uint32_t nrel = r.U16(h + 32);
        const uint32_t nline = r.U16(h + 34);
        s.characteristics = r.U32(h + 36);
        s.size = rawSize;
        if (!(s.characteristics & kScnUninitData) && rawSize) {
            if (!rawPtr || !r.Has(rawPtr, rawSize)) {
                error = "section " + s.name + " runs past the end of the file";
                return false;
            }
            s.data.assign(r.At(rawPtr), r.At(rawPtr) + rawSize);
        }
        uint64_t relAt = relPtr;
        if ((s.characteristics & kScnRelocOverflow) && nrel == 0xFFFF && r.Has(relPtr, 10)) {
            nrel = r.U32(relPtr) - 1; // the first record holds the count, itself included
            relAt += 10;
        }
        if (nrel && !r.Has(relAt, uint64_t(nrel) * 10)) {
            error = "relocations of " + s.name + " run past the end of the file";
            return false;
        }
        for (uint32_t k = 0; k < nrel; ++k) {
            const uint64_t p = relAt + uint64_t(k) * 10;
            s.relocs.push_back({r.U32(p), r.U32(p + 4), r.U16(p + 8)});
        }
        if (nline && r.Has(linePtr, uint64_t(nline) * 6)) {
            for (uint32_t k = 0; k < nline; ++k) {
                const uint64_t p = linePtr + uint64_t(k) * 6;
                s.lines.push_back({r.U32(p), r.U16(p + 4)});
            }
        }
        obj.sections.push_back(std::move(s));
    }

    for (uint32_t i = 0; i < nsym; ++i) {
        const uint64_t p = symPtr + uint64_t(i) * kSymbolSize;
        InputSymbol s;
        std::memcpy(s.raw.data(), r.At(p), kSymbolSize);
        s.name = r.U32(p) == 0 ? StringAt(r, strTab, strSize, r.U32(p + 4)) : ShortName(r.At(p));
        s.value = r.U32(p + 8);
        s.section = int16_t(r.U16(p + 12));
        s.type = r.U16(p + 14);
        s.storageClass = *r.At(p + 16);
        s.auxCount = *r.At(p + 17);
        if (s.section > int(nsec)) {
            error = "symbol " + s.name + " names a section the file does not have";
            return false;
        }
        obj.symbols.push_back(s);
        for (uint8_t a = 0; a < s.auxCount && i + 1 < nsym; ++a) {
            ++i;
            InputSymbol aux;
            aux.isAux = true;
            std::memcpy(aux.raw.data(), r.At(symPtr + uint64_t(i) * kSymbolSize), kSymbolSize);
            obj.symbols.push_back(aux);
        }
    }
    for (const InputSection& s : obj.sections) {
        for (const Reloc& rel : s.relocs) {
            if (rel.symbol >= obj.symbols.size() || obj.symbols[rel.symbol].isAux) {
                error = "relocation in " + s.name + " names no symbol";
                return false;
            }
        }
        if (s.name == ".drectve" && (s.characteristics & kScnLnkInfo)) {
            auto tokens = SplitCommandText(std::string(s.data.begin(), s.data.end()));
            obj.directives.insert(obj.directives.end(), tokens.begin(), tokens.end());
        }
    }
    return true;
}

bool ReadArchive(const std::vector<uint8_t>& bytes, Archive& lib, std::string& error) {
    Bytes r(bytes);
    lib.members.clear();
    std::string longNames;
    uint64_t pos = kArchiveMagicSize;
    while (pos < r.Size()) {
        if (pos & 1) ++pos; // members start on even offsets
        if (pos >= r.Size() || (r.Size() - pos == 1 && *r.At(pos) == '\n')) break;
        if (!r.Has(pos, kMemberHeaderSize) || std::memcmp(r.At(pos + 58), "`\n", 2) != 0) {
            error = "damaged archive member header";
            return false;
        }
        bool ok = false;
        const uint64_t size = ParseDecimal(r.At(pos + 48), 10, ok);
        const uint64_t data = pos + kMemberHeaderSize;
        if (!ok || !r.Has(data, size)) {
            error = "archive member runs past the end of the file";
            return false;
        }
        std::string raw(reinterpret_cast<const char*>(r.At(pos)), 16);
        raw.erase(raw.find_last_not_of(' ') + 1);
        uint64_t body = data, bodySize = size;
        std::string name;
        if (raw == "/" || raw == "/SYM64/" || raw == "__.SYMDEF" || raw == "__.SYMDEF SORTED") {
            pos = data + size;
            continue;
        }
        if (raw == "//") {
            longNames.assign(reinterpret_cast<const char*>(r.At(data)), size_t(size));
            pos = data + size;
            continue;
        }
        if (raw.size() > 1 && raw[0] == '/') {
            bool numOk = false;
            uint64_t off = ParseDecimal(reinterpret_cast<const uint8_t*>(raw.data() + 1), raw.size() - 1, numOk);
            if (numOk && off < longNames.size()) {
                size_t end = longNames.find_first_of("/\n", size_t(off));
                name = longNames.substr(size_t(off), end == std::string::npos ? std::string::npos : end - off);
            }
        } else if (raw.rfind("#1/", 0) == 0) {
            bool numOk = false;
            uint64_t n = ParseDecimal(reinterpret_cast<const uint8_t*>(raw.data() + 3), raw.size() - 3, numOk);
            if (!numOk || n > size) {
                error = "damaged archive member name";
                return false;
            }
            name.assign(reinterpret_cast<const char*>(r.At(data)), size_t(n));
            body += n;
            bodySize -= n;
        } else {
            name = raw;
            if (!name.empty() && name.back() == '/') name.pop_back();
        }
        std::vector<uint8_t> member(r.At(body), r.At(body) + bodySize);
        // Members of other kinds (import descriptions, foreign objects)
        // define nothing this linker can use.
        if (DetectInput(member) == InputKind::kObject) {
            ArchiveMember m;
            m.name = name;
            std::string why;
            if (!ReadObject(member, m.object, why)) {
                error = name + ": " + why;
                return false;
            }
            m.object.name = lib.name + "(" + name + ")";
            lib.members.push_back(std::move(m));
        }
        pos = data + size;
    }
    return true;
}

bool ReadResources(const std::vector<uint8_t>& bytes, std::vector<ResourceEntry>& entries,
                   std::string& error) {
    Bytes r(bytes);
    entries.clear();
    uint64_t pos = 0;
    auto readId = [&](uint64_t& p, uint64_t end, ResId& id) {
        if (p + 2 > end) return false;
        if (r.U16(p) == 0xFFFF) {
            if (p + 4 > end) return false;
            id.isName = false;
            id.id = r.U16(p + 2);
            p += 4;
            return true;
        }
        id.isName = true;
        id.name.clear();
        for (;;) {
            if (p + 2 > end) return false;
            const char16_t c = char16_t(r.U16(p));
            p += 2;
            if (!c) return true;
            id.name += c;
        }
    };
    while (pos + 8 <= r.Size()) {
        const uint32_t dataSize = r.U32(pos), headerSize = r.U32(pos + 4);
        const uint64_t headerEnd = pos + uint64_t(headerSize);
        if (headerSize < 16 || headerEnd > r.Size() || !r.Has(headerEnd, dataSize)) {
            error = "resource entry runs past the end of the file";
            return false;
        }
        ResourceEntry e;
        uint64_t p = pos + 8;
        if (!readId(p, headerEnd, e.type) || !readId(p, headerEnd, e.name)) {
            error = "damaged resource entry header";
            return false;
        }
        p = (p + 3) & ~uint64_t(3);
        if (p + 16 > headerEnd) {
            error = "damaged resource entry header";
            return false;
        }
        e.language = r.U16(p + 6);
        e.data.assign(r.At(headerEnd), r.At(headerEnd) + dataSize);
        const bool empty = !e.type.isName && e.type.id == 0 && !e.name.isName && e.name.id == 0;
        if (!empty) entries.push_back(std::move(e));
        pos = (headerEnd + dataSize + 3) & ~uint64_t(3);
    }
    return true;
}

std::vector<std::string> SplitCommandText(const std::string& text) {
    std::vector<std::string> out;
    std::string cur;
    bool inToken = false, quoted = false;
    for (char c : text) {
        if (c == '"') {
            quoted = !quoted;
            inToken = true;
        } else if (!quoted && (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\0')) {
            if (inToken) out.push_back(cur);
            cur.clear();
            inToken = false;
        } else {
            cur += c;
            inToken = true;
        }
    }
    if (inToken) out.push_back(cur);
    return out;
}

} // namespace txlink
