// The image check: what gives 22014 before any process is made.
#include <gtest/gtest.h>

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

// The linker used here keeps line numbers in the image too, as addresses at
// the preferred base; they must name the same places as the object's own
// records, with the sources' line numbers unchanged.
TEST(ImageLines, AgreeWithTheObjectFile) {
    Scratch s("imagelines");
    std::string error;
    std::string img = s.Build({{"TWO.BAS", "PRINT 1\n\nPRINT 2\nPRINT 3\n"}}, error);
    ASSERT_FALSE(img.empty()) << error;
    std::vector<uint8_t> exe, obj;
    ASSERT_TRUE(ReadFileBytes(img, exe));
    ASSERT_TRUE(ReadFileBytes((s.Dir() / "TWO.obj").string(), obj));
    ImageInfo info;
    ASSERT_TRUE(ReadImage(exe, info, error)) << error;
    std::vector<ObjLine> lines;
    std::vector<ObjSymbol> functions;
    uint32_t codeSize = 0;
    ASSERT_TRUE(ReadObjLines(obj, lines, codeSize, functions, error)) << error;
    uint64_t entry = 0;
    for (const ImageSymbol& sym : info.symbols)
        if (sym.name == "$ENTRY$TWO.BAS") entry = sym.address;
    ASSERT_NE(entry, 0u);
    std::vector<std::pair<uint64_t, uint32_t>> fromObj, fromImage;
    for (const ObjLine& l : lines) fromObj.push_back({entry + l.offset, l.line});
    for (const ImageLine& l : info.lines) fromImage.push_back({l.address, l.line});
    EXPECT_EQ(fromObj, (std::vector<std::pair<uint64_t, uint32_t>>{
                           {fromObj[0].first, 1}, {fromObj[1].first, 3}, {fromObj[2].first, 4}}));
    EXPECT_EQ(fromImage, fromObj);
    for (const auto& [a, line] : fromImage) EXPECT_TRUE(info.IsCode(a)) << line;
}

} // namespace
} // namespace txdbg::test
