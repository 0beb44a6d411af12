// The image check: what gives 22014 before any process is made.
#include <gtest/gtest.h>

#include <cstring>

#include "dbg_image.h"
#include "fixture.h"

namespace txdbg::test {
namespace {

TEST(ImageCheck, OnlyPeImagesWithSymbolsPass) {
    Scratch s("image");
    std::string error;
    std::string img = s.Build({{"ONE.BAS", "PRINT 1\n"}}, error);
    ASSERT_FALSE(img.empty()) << error;
    std::vector<uint8_t> good;
    ASSERT_TRUE(ReadFileBytes(img, good));
    ASSERT_TRUE(CheckImage(good));
    uint32_t pe = good[0x3C] | good[0x3D] << 8;

    auto stripped = good; // no symbol table and no debug directory
    std::fill(stripped.begin() + pe + 4 + 8, stripped.begin() + pe + 4 + 16, 0);
    auto ne = good;
    ne[pe] = 'N', ne[pe + 1] = 'E';
    auto le = good;
    le[pe] = 'L', le[pe + 1] = 'E';
    auto noMz = good;
    noMz[0] = 'X';
    std::vector<uint8_t> text{'h', 'e', 'l', 'l', 'o'};
    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
    } cases[] = {{"no symbols", stripped}, {"NE header", ne}, {"LE header", le}, {"no MZ", noMz}, {"text", text}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(CheckImage(c.bytes));
    }
}

// Our LINK keeps the line numbers in the image's COFF debug information:
// each function's first record (line 0) at the function's address, then
// the object's own records at their image addresses with the sources' line
// numbers unchanged. A debug directory of another type gives none.
TEST(ImageLines, AgreeWithTheObjectFile) {
    Scratch s("imagelines");
    std::string error;
    std::string img = s.Build({{"TWO.BAS", "PRINT 1\n\nPRINT 2\nPRINT 3\n"}}, error, true, Linker::Ours);
    ASSERT_FALSE(img.empty()) << error;
    std::vector<uint8_t> exe, obj;
    ASSERT_TRUE(ReadFileBytes(img, exe));
    ASSERT_TRUE(ReadFileBytes((s.Dir() / "TWO.obj").string(), obj));
    ImageInfo info;
    ASSERT_TRUE(ReadImage(exe, info, error)) << error;
    EXPECT_TRUE(info.coffDebug);
    std::vector<ObjLine> lines;
    std::vector<ObjSymbol> functions;
    uint32_t codeSize = 0;
    ASSERT_TRUE(ReadObjLines(obj, lines, codeSize, functions, error)) << error;
    uint64_t entry = 0, main = 0;
    for (const ImageSymbol& sym : info.symbols) {
        if (sym.name == "$ENTRY$TWO.BAS") entry = sym.address;
        if (sym.name == "$BAS_MAIN") main = sym.address;
    }
    ASSERT_NE(entry, 0u);
    std::vector<std::pair<uint64_t, uint32_t>> fromObj{{main, 0}}, fromImage;
    for (const ObjLine& l : lines) fromObj.push_back({entry + l.offset, l.line});
    for (const ImageLine& l : info.lines) fromImage.push_back({l.address, l.line});
    EXPECT_EQ(fromObj, (std::vector<std::pair<uint64_t, uint32_t>>{
                           {main, 0}, {fromObj[1].first, 1}, {fromObj[2].first, 3}, {fromObj[3].first, 4}}));
    EXPECT_EQ(fromImage, fromObj);
    for (const auto& [a, line] : fromImage) EXPECT_TRUE(info.IsCode(a)) << line;

    // The debug directory's entry of another type (2, a foreign format).
    uint32_t pe = exe[0x3C] | exe[0x3D] << 8;
    const size_t opt = pe + 24, sections = opt + 224;
    uint32_t dirRva = 0;
    std::memcpy(&dirRva, &exe[opt + 96 + 6 * 8], 4);
    const uint16_t nsec = uint16_t(exe[pe + 6] | exe[pe + 7] << 8);
    for (uint16_t i = 0; i < nsec; ++i) {
        uint32_t va = 0, raw = 0;
        std::memcpy(&va, &exe[sections + 40 * i + 12], 4);
        std::memcpy(&raw, &exe[sections + 40 * i + 20], 4);
        if (dirRva >= va && dirRva < va + 0x1000) exe[raw + dirRva - va + 12] = 2;
    }
    ASSERT_TRUE(ReadImage(exe, info, error)) << error;
    EXPECT_FALSE(info.coffDebug);
    EXPECT_TRUE(info.lines.empty());
    EXPECT_TRUE(CheckImage(exe)) << "the symbol table still says it is a debug build";
}

// A PE32+ image laid out by hand: one code section, one symbol in the COFF
// symbol table, a 64-bit image base.
TEST(ImageCheck, Pe32PlusSymbolsAtTheirImageBase) {
    std::vector<uint8_t> b(0x400, 0);
    auto put16 = [&](size_t at, uint16_t v) { b[at] = uint8_t(v), b[at + 1] = uint8_t(v >> 8); };
    auto put32 = [&](size_t at, uint32_t v) { put16(at, uint16_t(v)), put16(at + 2, uint16_t(v >> 16)); };
    b[0] = 'M', b[1] = 'Z';
    put32(0x3C, 0x40);
    b[0x40] = 'P', b[0x41] = 'E';
    const size_t coff = 0x44, opt = coff + 20, sec = opt + 240, sym = 0x300;
    put16(coff, 0x8664);
    put16(coff + 2, 1);       // one section
    put32(coff + 8, sym);     // symbol table
    put32(coff + 12, 1);      // one symbol
    put16(coff + 16, 240);    // optional header size
    put16(opt, 0x20B);
    put32(opt + 24, 0x40000000), put32(opt + 28, 0x1); // image base 0x1'40000000
    put32(opt + 108, 16);     // data directories
    std::memcpy(&b[sec], ".text", 5);
    put32(sec + 8, 0x100), put32(sec + 12, 0x1000), put32(sec + 16, 0x100), put32(sec + 20, 0x200);
    put32(sec + 36, 0x60000020);
    std::memcpy(&b[sym], "MAINFN", 6);
    put32(sym + 8, 0x20);     // value
    put16(sym + 12, 1);       // section 1
    b[sym + 16] = 2;          // external
    put32(sym + 18, 4);       // empty string table
    ASSERT_TRUE(CheckImage(b));
    ImageInfo info;
    std::string error;
    ASSERT_TRUE(ReadImage(b, info, error)) << error;
    EXPECT_TRUE(info.pe32Plus);
    EXPECT_EQ(info.imageBase, 0x140000000ull);
    ASSERT_EQ(info.symbols.size(), 1u);
    EXPECT_EQ(info.symbols[0].name, "MAINFN");
    EXPECT_EQ(info.symbols[0].address, 0x140001020ull);
    EXPECT_EQ(info.symbols[0].size, 0xE0u) << "up to its section's end";
    EXPECT_TRUE(info.IsCode(0x140001020ull));
    EXPECT_FALSE(info.IsCode(0x140001100ull));
}

} // namespace
} // namespace txdbg::test
