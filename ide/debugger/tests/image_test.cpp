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

} // namespace
} // namespace txdbg::test
