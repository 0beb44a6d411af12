#include "pe_image.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace tx::runner {
namespace {

class Reader {
public:
    explicit Reader(const std::vector<uint8_t>& b) : b_(b) {}
    bool Has(uint64_t off, uint64_t n) const { return off + n <= b_.size(); }
    uint16_t U16(uint64_t off) const { return uint16_t(b_[off] | b_[off + 1] << 8); }
    uint32_t U32(uint64_t off) const {
        return uint32_t(b_[off]) | uint32_t(b_[off + 1]) << 8 | uint32_t(b_[off + 2]) << 16 |
               uint32_t(b_[off + 3]) << 24;
    }
    const uint8_t* At(uint64_t off) const { return b_.data() + off; }

private:
    const std::vector<uint8_t>& b_;
};

// Bounds of the import table's walk.
constexpr uint32_t kMostImportedDlls = 1024, kMostImports = 4096;
constexpr size_t kImportNameMax = 260;

std::string Hex(uint32_t v) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%08X", v);
    return buf;
}

// The image's sections ordered by RVA, so an address finds its section by
// a binary search: a hostile image may hold 65,535 sections and far more
// addresses to look up.
class SectionIndex {
public:
    explicit SectionIndex(const std::vector<PeSection>& sections) : sections_(sections) {
        order_.reserve(sections.size());
        for (size_t i = 0; i < sections.size(); ++i) order_.push_back(i);
        std::stable_sort(order_.begin(), order_.end(),
                         [&](size_t a, size_t b) { return sections[a].rva < sections[b].rva; });
    }
    // The section whose raw data holds `size` bytes at rva, if any.
    std::optional<size_t> Find(uint32_t rva, uint64_t size = 1) const {
        auto it = std::upper_bound(order_.begin(), order_.end(), rva,
                                   [&](uint32_t v, size_t i) { return v < sections_[i].rva; });
        if (it == order_.begin()) return std::nullopt;
        const size_t i = *--it;
        if (uint64_t(rva) - sections_[i].rva + size > sections_[i].data.size()) return std::nullopt;
        return i;
    }

private:
    const std::vector<PeSection>& sections_;
    std::vector<size_t> order_;
};

// Translates an RVA into a file offset through the section table.
std::optional<uint64_t> FileOffset(const SectionIndex& index, const std::vector<uint32_t>& rawPtr,
                                   const PeImage& img, uint32_t rva) {
    const auto i = index.Find(rva);
    if (!i) return std::nullopt;
    return uint64_t(rawPtr[*i]) + (rva - img.sections[*i].rva);
}

} // namespace

std::optional<uint32_t> PeImage::Symbol(const std::string& name) const {
    auto it = symbols.find(name);
    if (it == symbols.end()) return std::nullopt;
    return it->second;
}

std::string PeImage::NameAt(uint32_t addr) const {
    const std::string* best = nullptr;
    uint32_t bestAddr = 0;
    for (const auto& [name, a] : symbols) {
        if (a <= addr && (!best || a > bestAddr || (a == bestAddr && name.size() < best->size()))) {
            // Section and local labels (".text", "L...") say little.
            if (name.empty() || name[0] == '.') continue;
            best = &name;
            bestAddr = a;
        }
    }
    if (!best || addr - bestAddr > 0x100000) return "";
    if (addr == bestAddr) return *best;
    char buf[32];
    std::snprintf(buf, sizeof buf, "+0x%X", addr - bestAddr);
    return *best + buf;
}

bool ReadPeImage(const std::vector<uint8_t>& bytes, PeImage& img, std::string& error) {
    img = PeImage{};
    Reader r(bytes);
    if (!r.Has(0, 0x40) || r.U16(0) != 0x5A4D) {
        error = "not a PE image (no MZ header)";
        return false;
    }
    uint32_t pe = r.U32(0x3C);
    if (!r.Has(pe, 24) || r.U32(pe) != 0x00004550) {
        error = "not a PE image (no PE signature)";
        return false;
    }
    uint64_t coff = pe + 4;
    if (r.U16(coff) != 0x014C) {
        error = "not an i386 image (machine " + Hex(r.U16(coff)) + ")";
        return false;
    }
    uint16_t nsec = r.U16(coff + 2);
    uint32_t symPtr = r.U32(coff + 8), nsym = r.U32(coff + 12);
    uint16_t optSize = r.U16(coff + 16);
    uint64_t opt = coff + 20;
    if (optSize < 96 || !r.Has(opt, optSize) || r.U16(opt) != 0x010B) {
        error = "not a 32-bit PE image (no PE32 optional header)";
        return false;
    }
    uint32_t entryRva = r.U32(opt + 16);
    img.imageBase = r.U32(opt + 28);
    img.sizeOfImage = r.U32(opt + 56);
    uint32_t ndirs = r.U32(opt + 92);
    img.isDll = (r.U16(coff + 18) & 0x2000) != 0;
    uint32_t exportRva = 0, exportSize = 0, relocRva = 0, relocSize = 0;
    if (ndirs > 0 && optSize >= 96 + 8) {
        exportRva = r.U32(opt + 96);
        exportSize = r.U32(opt + 96 + 4);
    }
    if (ndirs > 5 && optSize >= 96 + 48) {
        relocRva = r.U32(opt + 96 + 40);
        relocSize = r.U32(opt + 96 + 44);
    }
    uint32_t importRva = 0, importSize = 0;
    if (ndirs > 1 && optSize >= 96 + 16) {
        importRva = r.U32(opt + 96 + 8);
        importSize = r.U32(opt + 96 + 12);
    }
    uint64_t secTab = opt + optSize;
    if (!r.Has(secTab, uint64_t(nsec) * 40)) {
        error = "truncated section table";
        return false;
    }
    std::vector<uint32_t> rawPtr;
    uint64_t rawTotal = 0;
    for (uint16_t i = 0; i < nsec; ++i) {
        uint64_t h = secTab + uint64_t(i) * 40;
        PeSection s;
        const char* n = reinterpret_cast<const char*>(r.At(h));
        s.name.assign(n, n + 8);
        s.name = s.name.c_str();
        uint32_t vsize = r.U32(h + 8);
        s.rva = r.U32(h + 12);
        uint32_t rawSize = r.U32(h + 16), raw = r.U32(h + 20);
        s.characteristics = r.U32(h + 36);
        if (rawSize > vsize && vsize != 0) rawSize = vsize; // file alignment padding
        if (rawSize && !r.Has(raw, rawSize)) {
            error = "section " + s.name + " lies beyond the end of the file";
            return false;
        }
        // Sections may share their raw data; what is copied stays bounded.
        rawTotal += rawSize;
        if (rawTotal > kImageFileMax) {
            error = "the sections hold more than " + std::to_string(kImageFileMax >> 20) + " MB";
            return false;
        }
        s.data.assign(r.At(raw), r.At(raw) + rawSize);
        s.virtualSize = vsize > rawSize ? vsize : rawSize;
        if (uint64_t(s.rva) + s.virtualSize > 0x40000000u) {
            error = "section " + s.name + " is too large";
            return false;
        }
        img.sections.push_back(std::move(s));
        rawPtr.push_back(raw);
    }
    img.entry = img.imageBase + entryRva;
    const SectionIndex index(img.sections);

    // Imports: the DLLs the image wants and, for each, the functions by
    // name or ordinal with the IAT slot the loader fills.
    auto text = [&](uint32_t rva) {
        auto at = FileOffset(index, rawPtr, img, rva);
        std::string t;
        for (uint64_t p = at ? *at : bytes.size(); p < bytes.size() && bytes[p] && t.size() < kImportNameMax; ++p)
            t += char(bytes[p]);
        return t;
    };
    if (importRva && importSize) {
        auto off = FileOffset(index, rawPtr, img, importRva);
        for (uint32_t k = 0; off && r.Has(*off + k * 20, 20) && k < kMostImportedDlls; ++k) {
            const uint64_t d = *off + k * 20;
            uint32_t nameRva = r.U32(d + 12);
            if (!nameRva) break;
            std::string dll = text(nameRva);
            img.importedDlls.push_back(dll.empty() ? "?" : dll);
            const uint32_t iat = r.U32(d + 16), lookup = r.U32(d) ? r.U32(d) : iat;
            auto loff = FileOffset(index, rawPtr, img, lookup);
            for (uint32_t i = 0; loff && r.Has(*loff + 4 * i, 4) && i < kMostImports; ++i) {
                const uint32_t e = r.U32(*loff + 4 * i);
                if (!e) break;
                PeImport imp;
                imp.dll = img.importedDlls.back();
                imp.slot = iat + 4 * i;
                if (e & 0x80000000u) imp.ordinal = e & 0xFFFF;
                else imp.name = text(e + 2);
                img.imports.push_back(std::move(imp));
            }
        }
    }

    // Exports by name: {.., u32 functions, u32 names, u32 ordinals} at 24.
    if (exportRva && exportSize) {
        auto off = FileOffset(index, rawPtr, img, exportRva);
        if (off && r.Has(*off, 40)) {
            const uint32_t nfunc = r.U32(*off + 20), nnames = r.U32(*off + 24);
            auto funcs = FileOffset(index, rawPtr, img, r.U32(*off + 28));
            auto names = FileOffset(index, rawPtr, img, r.U32(*off + 32));
            auto ords = FileOffset(index, rawPtr, img, r.U32(*off + 36));
            for (uint32_t k = 0; funcs && names && ords && k < nnames && k < 65536; ++k) {
                if (!r.Has(*names + 4 * k, 4) || !r.Has(*ords + 2 * k, 2)) break;
                const uint16_t ord = r.U16(*ords + 2 * k);
                if (ord >= nfunc || !r.Has(*funcs + 4 * ord, 4)) continue;
                auto noff = FileOffset(index, rawPtr, img, r.U32(*names + 4 * k));
                std::string name;
                for (uint64_t p = noff ? *noff : bytes.size(); p < bytes.size() && bytes[p] && name.size() < 260; ++p)
                    name += char(bytes[p]);
                if (!name.empty()) img.exports.emplace(name, img.imageBase + r.U32(*funcs + 4 * ord));
            }
        }
    }

    // Base relocations: blocks {u32 page RVA, u32 block size, u16 entries};
    // an entry of type 3 moves a 32-bit field, type 0 pads.
    if (relocRva && relocSize) {
        auto off = FileOffset(index, rawPtr, img, relocRva);
        uint64_t p = off ? *off : bytes.size();
        const uint64_t end = p + relocSize;
        while (p + 8 <= end && r.Has(p, 8)) {
            const uint32_t page = r.U32(p), size = r.U32(p + 4);
            if (size < 8 || p + size > end || !r.Has(p, size)) break;
            for (uint32_t e = 8; e + 2 <= size; e += 2) {
                const uint16_t v = r.U16(p + e);
                if (v >> 12 == 3) img.relocations.push_back(page + (v & 0xFFF));
            }
            p += size;
        }
    }

    // COFF symbols: 18-byte records, then the string table.
    if (symPtr && nsym && r.Has(symPtr, uint64_t(nsym) * 18)) {
        uint64_t strTab = symPtr + uint64_t(nsym) * 18;
        uint32_t strSize = r.Has(strTab, 4) ? r.U32(strTab) : 0;
        if (!r.Has(strTab, strSize)) strSize = 0;
        for (uint32_t i = 0; i < nsym; ++i) {
            uint64_t s = symPtr + uint64_t(i) * 18;
            std::string name;
            if (r.U32(s) == 0) {
                uint32_t o = r.U32(s + 4);
                for (uint64_t p = strTab + o; o >= 4 && o < strSize && p < strTab + strSize && bytes[p]; ++p)
                    name += char(bytes[p]);
            } else {
                const char* n = reinterpret_cast<const char*>(r.At(s));
                name.assign(n, n + 8);
                name = name.c_str();
            }
            uint32_t value = r.U32(s + 8);
            int16_t sec = int16_t(r.U16(s + 12));
            uint8_t aux = r.At(s)[17];
            if (sec > 0 && sec <= int(img.sections.size()) && !name.empty())
                img.symbols.emplace(name, img.imageBase + img.sections[sec - 1].rva + value);
            i += aux;
        }
    }
    return true;
}

bool PeImage::Rebase(uint32_t newBase) {
    if (newBase == imageBase) return true;
    if (relocations.empty()) return false;
    const uint32_t delta = newBase - imageBase;
    const SectionIndex index(sections);
    for (uint32_t rva : relocations) {
        const auto i = index.Find(rva, 4);
        if (!i) continue;
        uint8_t* f = sections[*i].data.data() + (rva - sections[*i].rva);
        uint32_t v = uint32_t(f[0]) | uint32_t(f[1]) << 8 | uint32_t(f[2]) << 16 | uint32_t(f[3]) << 24;
        v += delta;
        for (int k = 0; k < 4; ++k) f[k] = uint8_t(v >> (8 * k));
    }
    entry += delta;
    for (auto& [name, a] : symbols) a += delta;
    for (auto& [name, a] : exports) a += delta;
    imageBase = newBase;
    return true;
}

bool ReadPeFile(const std::string& path, PeImage& image, std::string& error) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
        error = "cannot open " + path + (std::filesystem::exists(path, ec) ? " (not a file)" : "");
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot open " + path;
        return false;
    }
    // Read at most one byte past the cap: the size the folder reports may
    // change while the file is read.
    std::vector<uint8_t> bytes;
    bytes.reserve(size_t(std::min<uint64_t>(std::filesystem::file_size(path, ec), kImageFileMax + 1)));
    char chunk[1 << 16];
    while (bytes.size() <= kImageFileMax && in.read(chunk, sizeof chunk).gcount() > 0)
        bytes.insert(bytes.end(), chunk, chunk + in.gcount());
    if (bytes.size() > kImageFileMax) {
        error = path + ": larger than " + std::to_string(kImageFileMax >> 20) + " MB";
        return false;
    }
    if (!ReadPeImage(bytes, image, error)) {
        error = path + ": " + error;
        return false;
    }
    return true;
}

} // namespace tx::runner
