#include "dbg_image.h"

#include <algorithm>
#include <fstream>
#include <iterator>

namespace txdbg {
namespace {

constexpr uint16_t kMz = 0x5A4D;
constexpr uint16_t kNe = 0x454E;
constexpr uint16_t kLe = 0x454C;
constexpr uint32_t kPeSignature = 0x00004550;
constexpr uint16_t kMagicPe32 = 0x010B;
constexpr uint16_t kMagicPe32Plus = 0x020B;
constexpr uint16_t kMachineI386 = 0x014C;
constexpr uint32_t kDebugDirectory = 6;
constexpr uint32_t kDebugTypeCoff = 1;
constexpr uint32_t kScnCode = 0x20;
constexpr uint32_t kScnExecute = 0x20000000;
constexpr size_t kFileHeader = 20, kSectionHeader = 40, kSymbol = 18, kLineRecord = 6;
constexpr size_t kDebugEntrySize = 28, kCoffSymbolsHeader = 32;

class Bytes {
public:
    explicit Bytes(const std::vector<uint8_t>& b) : b_(b) {}
    bool Has(uint64_t off, uint64_t n) const { return off <= b_.size() && n <= b_.size() - off; }
    uint16_t U16(uint64_t off) const { return Has(off, 2) ? uint16_t(b_[off] | b_[off + 1] << 8) : 0; }
    uint32_t U32(uint64_t off) const { return Has(off, 4) ? uint32_t(U16(off)) | uint32_t(U16(off + 2)) << 16 : 0; }
    uint64_t U64(uint64_t off) const { return uint64_t(U32(off)) | uint64_t(U32(off + 4)) << 32; }
    const std::vector<uint8_t>& all() const { return b_; }

private:
    const std::vector<uint8_t>& b_;
};

struct Headers {
    uint64_t coff = 0, opt = 0, sectionTable = 0;
    uint16_t sectionCount = 0, optSize = 0;
    bool plus = false;
};

bool FindHeaders(const Bytes& r, Headers& h) {
    if (!r.Has(0, 64) || r.U16(0) != kMz) return false;
    uint32_t pe = r.U32(0x3C);
    uint16_t sig = r.U16(pe);
    if (sig == kNe || sig == kLe || !r.Has(pe, 24) || r.U32(pe) != kPeSignature) return false;
    h.coff = pe + 4;
    h.sectionCount = r.U16(h.coff + 2);
    h.optSize = r.U16(h.coff + 16);
    h.opt = h.coff + kFileHeader;
    uint16_t magic = r.U16(h.opt);
    if (magic != kMagicPe32 && magic != kMagicPe32Plus) return false;
    h.plus = magic == kMagicPe32Plus;
    h.sectionTable = h.opt + h.optSize;
    return r.Has(h.opt, h.optSize) && r.Has(h.sectionTable, uint64_t(h.sectionCount) * kSectionHeader);
}

// The file offset of an RVA, through the section that holds it.
bool RvaToOffset(const Bytes& r, const Headers& h, uint32_t rva, uint64_t& off) {
    for (uint16_t i = 0; i < h.sectionCount; ++i) {
        uint64_t s = h.sectionTable + uint64_t(i) * kSectionHeader;
        uint32_t va = r.U32(s + 12), raw = r.U32(s + 16), ptr = r.U32(s + 20);
        if (rva >= va && rva - va < raw) {
            off = uint64_t(ptr) + (rva - va);
            return true;
        }
    }
    return false;
}

// The file offset of the first debug directory entry when it is of type
// COFF, else 0.
uint64_t CoffDebugEntry(const Bytes& r, const Headers& h) {
    uint64_t dirs = h.opt + (h.plus ? 112 : 96);
    uint32_t count = r.U32(dirs - 4);
    if (count <= kDebugDirectory || dirs + (kDebugDirectory + 1) * 8 > h.opt + h.optSize) return 0;
    uint32_t rva = r.U32(dirs + kDebugDirectory * 8), size = r.U32(dirs + kDebugDirectory * 8 + 4);
    uint64_t off = 0;
    if (!rva || size < kDebugEntrySize || !RvaToOffset(r, h, rva, off) || !r.Has(off, kDebugEntrySize)) return 0;
    return r.U32(off + 12) == kDebugTypeCoff ? off : 0;
}

bool HasCoffDebugEntry(const Bytes& r, const Headers& h) { return CoffDebugEntry(r, h) != 0; }

// The line-number array of the COFF debug information, in its order, line-0
// records included.
void ReadCoffDebugLines(const Bytes& r, const Headers& h, ImageInfo& info) {
    uint64_t entry = CoffDebugEntry(r, h);
    if (!entry) return;
    info.coffDebug = true;
    uint64_t coff = r.U32(entry + 24);
    if (!r.Has(coff, kCoffSymbolsHeader)) return;
    uint32_t count = r.U32(coff + 8);
    uint64_t first = coff + r.U32(coff + 12);
    if (!count || !r.Has(first, uint64_t(count) * kLineRecord)) return;
    for (uint32_t k = 0; k < count; ++k) {
        uint64_t rec = first + uint64_t(k) * kLineRecord;
        info.lines.push_back({info.imageBase + r.U32(rec), r.U16(rec + 4)});
    }
}

bool HasSymbolTable(const Bytes& r, const Headers& h) {
    uint32_t ptr = r.U32(h.coff + 8), count = r.U32(h.coff + 12);
    return ptr && count && r.Has(ptr, uint64_t(count) * kSymbol);
}

std::string SymbolName(const Bytes& r, uint64_t sym, uint64_t strTab, uint32_t strSize) {
    const auto& b = r.all();
    std::string name;
    if (r.U32(sym) == 0) {
        uint32_t o = r.U32(sym + 4);
        for (uint64_t p = strTab + o; o >= 4 && p < strTab + strSize && b[p]; ++p) name += char(b[p]);
    } else {
        for (int i = 0; i < 8 && b[sym + i]; ++i) name += char(b[sym + i]);
    }
    return name;
}

} // namespace

bool ImageInfo::IsCode(uint64_t address) const {
    for (const Section& s : sections) {
        if (!(s.characteristics & (kScnCode | kScnExecute))) continue;
        if (address >= imageBase + s.rva && address < imageBase + s.rva + s.size) return true;
    }
    return false;
}

bool CheckImage(const std::vector<uint8_t>& bytes) {
    Bytes r(bytes);
    Headers h;
    return FindHeaders(r, h) && (HasSymbolTable(r, h) || HasCoffDebugEntry(r, h));
}

bool ReadFileBytes(const std::string& path, std::vector<uint8_t>& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

bool ReadImage(const std::vector<uint8_t>& bytes, ImageInfo& info, std::string& error) {
    info = ImageInfo{};
    Bytes r(bytes);
    Headers h;
    if (!FindHeaders(r, h)) {
        error = "not a PE image";
        return false;
    }
    info.pe32Plus = h.plus;
    info.imageBase = h.plus ? r.U64(h.opt + 24) : r.U32(h.opt + 28);
    for (uint16_t i = 0; i < h.sectionCount; ++i) {
        uint64_t s = h.sectionTable + uint64_t(i) * kSectionHeader;
        uint32_t vsize = r.U32(s + 8), raw = r.U32(s + 16);
        info.sections.push_back({r.U32(s + 12), std::max(vsize, raw), r.U32(s + 36)});
    }
    ReadCoffDebugLines(r, h, info);
    if (!HasSymbolTable(r, h)) {
        info.symbolTableCut = r.U32(h.coff + 8) && r.U32(h.coff + 12);
        return true;
    }
    uint32_t symPtr = r.U32(h.coff + 8), nsym = r.U32(h.coff + 12);
    uint64_t strTab = symPtr + uint64_t(nsym) * kSymbol;
    uint32_t strSize = r.Has(strTab, 4) ? r.U32(strTab) : 0;
    if (!r.Has(strTab, strSize)) strSize = 0;
    std::vector<int> sectionOf;
    for (uint32_t i = 0; i < nsym; ++i) {
        uint64_t s = symPtr + uint64_t(i) * kSymbol;
        int16_t sec = int16_t(r.U16(s + 12));
        uint8_t aux = bytes[s + 17];
        std::string name = SymbolName(r, s, strTab, strSize);
        // Section names and file records say nothing about code.
        if (sec > 0 && sec <= int(info.sections.size()) && !name.empty() && name[0] != '.') {
            info.symbols.push_back({name, info.imageBase + info.sections[sec - 1].rva + r.U32(s + 8), 0});
            sectionOf.push_back(sec - 1);
        }
        i += aux;
    }
    // Sizes: up to the next higher symbol address in the same section.
    std::vector<size_t> order(info.symbols.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(),
                     [&](size_t a, size_t b) { return info.symbols[a].address < info.symbols[b].address; });
    for (size_t k = 0; k < order.size(); ++k) {
        ImageSymbol& sym = info.symbols[order[k]];
        const ImageInfo::Section& sec = info.sections[sectionOf[order[k]]];
        uint64_t end = info.imageBase + sec.rva + sec.size;
        for (size_t j = k + 1; j < order.size(); ++j) {
            uint64_t a = info.symbols[order[j]].address;
            if (a > sym.address) {
                end = std::min(end, a);
                break;
            }
        }
        sym.size = end > sym.address ? uint32_t(end - sym.address) : 0;
    }
    return true;
}

bool ReadObjLines(const std::vector<uint8_t>& bytes, std::vector<ObjLine>& lines, uint32_t& codeSize,
                  std::vector<ObjSymbol>& functions, std::string& error) {
    lines.clear();
    functions.clear();
    codeSize = 0;
    Bytes r(bytes);
    if (!r.Has(0, kFileHeader)) {
        error = "too short for a COFF header";
        return false;
    }
    if (r.U16(0) != kMachineI386) {
        error = "not an i386 COFF object";
        return false;
    }
    uint16_t nsec = r.U16(2);
    if (r.U16(16) != 0 || !r.Has(kFileHeader, uint64_t(nsec) * kSectionHeader)) {
        error = "the section table is cut short";
        return false;
    }
    uint32_t base = 0;
    std::vector<int64_t> sectionBase(nsec, -1);
    for (uint16_t i = 0; i < nsec; ++i) {
        uint64_t s = kFileHeader + uint64_t(i) * kSectionHeader;
        uint32_t rawSize = r.U32(s + 16), lnPtr = r.U32(s + 28);
        uint16_t lnCount = r.U16(s + 34);
        if (!lnCount) continue;
        if (!r.Has(lnPtr, uint64_t(lnCount) * kLineRecord)) {
            error = "the line numbers are cut short";
            return false;
        }
        for (uint16_t k = 0; k < lnCount; ++k) {
            uint64_t rec = lnPtr + uint64_t(k) * kLineRecord;
            uint32_t va = r.U32(rec);
            uint16_t line = r.U16(rec + 4);
            // A line outside its section's bytes is stale or foreign.
            if (line && va < rawSize) lines.push_back({base + va, line});
        }
        sectionBase[i] = base;
        base += rawSize;
    }
    codeSize = base;
    uint32_t symPtr = r.U32(8), nsym = r.U32(12);
    if (!symPtr || !nsym) return true;
    if (!r.Has(symPtr, uint64_t(nsym) * kSymbol)) {
        error = "the symbol table is cut short";
        return false;
    }
    uint64_t strTab = symPtr + uint64_t(nsym) * kSymbol;
    uint32_t strSize = r.Has(strTab, 4) ? r.U32(strTab) : 0;
    if (!r.Has(strTab, strSize)) strSize = 0;
    for (uint32_t i = 0; i < nsym; ++i) {
        uint64_t sym = symPtr + uint64_t(i) * kSymbol;
        int16_t sec = int16_t(r.U16(sym + 12));
        uint8_t storage = bytes[sym + 16], aux = bytes[sym + 17];
        constexpr uint8_t kExternal = 2;
        if (storage == kExternal && sec > 0 && sec <= nsec && sectionBase[sec - 1] >= 0)
            functions.push_back({SymbolName(r, sym, strTab, strSize), uint32_t(sectionBase[sec - 1] + r.U32(sym + 8))});
        i += aux;
    }
    return true;
}

} // namespace txdbg
