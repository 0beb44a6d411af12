// Listing texts and their layout. Shift-JIS texts are compared as bytes
// taken from iconv's CP932 output of the texts.
#include "tx_scratch.h"
#include "sc_listing.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

using namespace txsc;

namespace {

std::string Bytes(std::initializer_list<int> b) {
    std::string s;
    for (int x : b) s += char(x);
    return s;
}

const std::string kErrorText = Bytes({0x83, 0x47, 0x83, 0x89, 0x81, 0x5b, 0x8c, 0xc2, 0x90, 0x94, 0x3d});
const std::string kWarningText =
    Bytes({0x83, 0x8f, 0x81, 0x5b, 0x83, 0x6a, 0x83, 0x93, 0x83, 0x4f, 0x8c, 0xc2, 0x90, 0x94, 0x3d});

std::string ReadAll(FILE *f) {
    std::string s;
    std::rewind(f);
    int c;
    while ((c = std::fgetc(f)) != EOF) s += char(c);
    return s;
}

}  // namespace

TEST(Listing, NumberFieldIsSevenPlacesRightAligned) {
    struct Case {
        uint32_t n;
        const char *text;
    } cases[] = {{0, "      0"}, {42, "     42"}, {65535, "  65535"}, {1234567, "1234567"}};
    for (auto &c : cases) EXPECT_EQ(NumberField(c.n), c.text) << c.n;
}

// The template "エラー個数=         ワーニング個数=        \n" with the numbers
// over its blanks at 12 and 36.
TEST(Listing, CountLineFillsItsTemplate) {
    std::string line = CountLine(3, 0);
    EXPECT_EQ(line, kErrorText + "       3 " + kWarningText + "       0\n");
    ASSERT_EQ(line.size(), 44u);
    EXPECT_EQ(line.substr(12, 7), "      3");
    EXPECT_EQ(line.substr(36, 7), "      0");
    EXPECT_EQ(CountLine(12345, 0).substr(12, 7), "  12345");
}

TEST(Listing, PaddingAfterNames) {
    struct Case {
        size_t n;
        const char *pad;
    } cases[] = {{1, "\t\t"}, {7, "\t\t"}, {8, "\t"}, {15, "\t"}, {16, "\n\t\t"}, {40, "\n\t\t"}};
    for (auto &c : cases) EXPECT_EQ(NamePadding(c.n), c.pad) << c.n;
}

TEST(Listing, NamesSortAsUnsignedBytesShorterFirst) {
    struct Case {
        std::string a, b;
        bool less;
    } cases[] = {
        {"A", "B", true},
        {"AB", "A", false},
        {"A", "AB", true},
        {"Z", "\x83\x41", true},  // a lead byte sorts after ASCII
        {"a", "B", false},
        {"SAME", "SAME", false},
    };
    for (auto &c : cases) {
        SCOPED_TRACE(c.a + " / " + c.b);
        EXPECT_EQ(XrefNameLess(c.a, c.b), c.less);
    }
}

TEST(Listing, ColumnsKeepTheirWidth) {
    for (int t : {0, 1, 2, 3, 4, 16, 17, 18, 19, 48, 64, 80, 200}) EXPECT_EQ(std::string(XrefTypeName(uint8_t(t))).size(), 14u) << t;
    for (int k : {1, 2, 3, 4, 5, 6, 14, 15, 17, 18, 33, 52}) EXPECT_EQ(std::string(XrefKindName(uint8_t(k))).size(), 18u) << k;
}

TEST(Listing, OneLineOnceInTheSourceListingEveryStatementInTheExpanded) {
    FILE *lst = txtest::ScratchFile();
    FILE *exp = txtest::ScratchFile();
    ASSERT_TRUE(lst && exp);
    ListingState st;
    ListStatement(st, lst, exp, 0, 1, "' from an included prelude");
    ListStatement(st, lst, exp, 10, 2, "A = 1: B = 2");
    ListStatement(st, lst, exp, 10, 3, "A = 1: B = 2");
    ListStatement(st, lst, exp, 11, 4, "END");
    ListCountLine(lst, exp, 0, 0);
    EXPECT_EQ(ReadAll(lst), "     10 A = 1: B = 2\n     11 END\n" + CountLine(0, 0));
    EXPECT_EQ(ReadAll(exp), "      1 ' from an included prelude\n      2 A = 1: B = 2\n      3 A = 1: B = 2\n"
                            "      4 END\n" + CountLine(0, 0));
    std::fclose(lst);
    std::fclose(exp);
}

TEST(Listing, ColumnTextsAreShiftJis) {
    EXPECT_EQ(std::string(XrefTypeName(0)),
              Bytes({0x20, 0x90, 0xae, 0x90, 0x94, 0x8c, 0x5e, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20}));
    EXPECT_EQ(std::string(XrefKindName(6)), Bytes({0x20, 0x82, 0x72, 0x82, 0x74, 0x82, 0x61, 0x20, 0x20, 0x20, 0x20,
                                                  0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20}));
}
