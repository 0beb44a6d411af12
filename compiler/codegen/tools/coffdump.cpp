// coffdump: prints what binutils does not show of an i386 COFF object: the
// file header, each section header's raw fields (characteristics word,
// relocation and line-number pointers and counts), the line-number records,
// the .drectve text and the string table. It reads the file on its own and
// shares no code with the writer, so tests can hold the writer to it.
// With -r it lists every relocation too: offset, symbol index and name, type.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

struct Reader {
    std::vector<uint8_t> b;
    bool ok = true;
    uint32_t U8(size_t at) {
        if (at + 1 > b.size()) {
            ok = false;
            return 0;
        }
        return b[at];
    }
    uint32_t U16(size_t at) { return U8(at) | U8(at + 1) << 8; }
    uint32_t U32(size_t at) { return U16(at) | U16(at + 2) << 16; }
    // Every loop asks this first: counts and sizes come from the file and
    // may promise far more than it holds.
    bool Fits(size_t at, size_t n) {
        if (at > b.size() || n > b.size() - at) {
            ok = false;
            return false;
        }
        return true;
    }
};

std::string Printable(const std::string &s) {
    std::string out;
    for (unsigned char c : s) {
        if (c >= 0x20 && c < 0x7F && c != '"' && c != '\\') {
            out += char(c);
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02x", c);
            out += hex;
        }
    }
    return out;
}

} // namespace

int main(int argc, char **argv) {
    const bool relocs = argc == 3 && std::strcmp(argv[1], "-r") == 0;
    if (argc != 2 && !relocs) {
        std::fprintf(stderr, "usage: coffdump [-r] file.obj\n");
        return 2;
    }
    const char *path = argv[argc - 1];
    std::ifstream f(path, std::ios::binary);
    if (!f) {
        std::fprintf(stderr, "coffdump: cannot open %s\n", path);
        return 1;
    }
    Reader r{{std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()}};
    const uint32_t nsec = r.U16(2);
    const uint32_t symtab = r.U32(8);
    const uint32_t nsym = r.U32(12);
    std::printf("header: machine 0x%04x sections %u timestamp 0x%08x symtab 0x%x symbols %u "
                "optional %u characteristics 0x%04x\n",
                r.U16(0), nsec, r.U32(4), symtab, nsym, r.U16(16), r.U16(18));
    for (uint32_t i = 0; i < nsec && r.Fits(20 + 40 * size_t(i), 40); ++i) {
        const size_t h = 20 + 40 * size_t(i);
        std::string name;
        for (int k = 0; k < 8 && r.U8(h + k); ++k)
            name += char(r.U8(h + k));
        std::printf("section %u %-8s vsize %u vaddr %u size 0x%x raw 0x%x relocs 0x%x/%u "
                    "lines 0x%x/%u characteristics 0x%08x\n",
                    i + 1, name.c_str(), r.U32(h + 8), r.U32(h + 12), r.U32(h + 16),
                    r.U32(h + 20), r.U32(h + 24), r.U16(h + 32), r.U32(h + 28), r.U16(h + 34),
                    r.U32(h + 36));
        for (uint32_t k = 0; relocs && k < r.U16(h + 32) && r.Fits(r.U32(h + 24) + 10 * size_t(k), 10); ++k) {
            const size_t at = r.U32(h + 24) + 10 * size_t(k);
            const uint32_t sym = r.U32(at + 4);
            const size_t rec = size_t(symtab) + 18 * size_t(sym);
            std::string symName;
            if (r.U32(rec) == 0) {
                const size_t str = size_t(symtab) + 18 * size_t(nsym) + r.U32(rec + 4);
                for (size_t c = str; r.Fits(c, 1) && r.U8(c); ++c)
                    symName += char(r.U8(c));
            } else {
                for (int c = 0; c < 8 && r.U8(rec + c); ++c)
                    symName += char(r.U8(rec + c));
            }
            std::printf("  reloc 0x%x symbol %u %s type %u\n", r.U32(at), sym,
                        Printable(symName).c_str(), r.U16(at + 8));
        }
        const uint32_t lines = r.U32(h + 28);
        for (uint32_t l = 0; l < r.U16(h + 34) && r.Fits(lines + 6 * size_t(l), 6); ++l) {
            const size_t at = lines + 6 * size_t(l);
            if (r.U16(at + 4) == 0)
                std::printf("  line function symbol %u\n", r.U32(at));
            else
                std::printf("  line %u at 0x%x\n", r.U16(at + 4), r.U32(at));
        }
        if (name == ".drectve") {
            std::string text;
            for (uint32_t k = 0; k < r.U32(h + 16) && r.Fits(r.U32(h + 20) + size_t(k), 1); ++k)
                text += char(r.U8(r.U32(h + 20) + k));
            std::printf("  directives \"%s\"\n", Printable(text).c_str());
        }
    }
    const size_t strtab = size_t(symtab) + 18 * size_t(nsym);
    const uint32_t strsize = r.U32(strtab);
    std::printf("strings: size %u\n", strsize);
    for (uint32_t at = 4; at < strsize && r.Fits(strtab + at, 1);) {
        std::string s;
        while (at < strsize && r.Fits(strtab + at, 1) && r.U8(strtab + at))
            s += char(r.U8(strtab + at++));
        std::printf("  %u \"%s\"\n", at - uint32_t(s.size()), Printable(s).c_str());
        ++at;
    }
    if (!r.ok || strtab + strsize != r.b.size()) {
        std::printf("error: the file is %zu bytes, the tables end at %zu\n", r.b.size(),
                    strtab + strsize);
        return 1;
    }
    return 0;
}
