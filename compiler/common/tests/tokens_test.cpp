#include "tokens.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

using namespace tok;

// Token words that the analyzer's handlers and the generator compare
// against literally; the expected values are written out by hand.
TEST(Tokens, WordsTheHandlersCompareAgainst) {
    struct Case { const char *spelling; uint16_t word; };
    const Case cases[] = {
        {"ELSE", 0x1100},     {"FUNCTION", 0x3100}, {"SUB", 0x3500},   {"REM", 0x0000},
        {"'", 0x0100},        {"AS", 0x0310},       {"TXDECL", 0x0510}, {"SELECT", 0x0610},
        {"TO", 0x0810},       {"STEP", 0x0910},     {"GO", 0x0B10},    {"DEF", 0x0D10},
        {"LET", 0x0F10},      {"ON", 0x1110},       {"DECLARE", 0x1310}, {"CDECL", 0x1410},
        {"EDECL", 0x1510},    {"COM", 0x1610},      {"BYVAL", 0x1710}, {"LIB", 0x1910},
        {"ALIAS", 0x1A10},    {"(", 0x0030},        {")", 0x0130},     {",", 0x0230},
        {":", 0x0430},        {"*", 0x1520},        {"=", 0x2020},     {"-", 0x1420},
        {"+", 0x1320},        {"<=", 0x2420},       {">=", 0x2520},    {"MOD", 0x1820},
        {"AND", 0x3120},      {"IMP", 0x3520},      {"NOT", 0x3028},   {"STRING", 0x1190},
        {"TIME", 0x0240},     {"MID$", 0xC440},     {"POINT", 0x5040}, {"MOUSE", 0x4340},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.spelling);
        const Keyword *k = FindKeyword(c.spelling);
        if (!k) {
            for (const Keyword &s : kSymbols)
                if (s.spelling == c.spelling) k = &s;
        }
        ASSERT_NE(k, nullptr);
        EXPECT_EQ(k->word(), c.word);
    }
}

// Every kind that the statement analysis maps to a statement head, and every
// keyword kind it accepts after the member selector, must have a spelling.
TEST(Tokens, StatementStartsAndMemberWordsHaveKeywords) {
    const uint16_t words[] = {
        // class 0x10 starts: 6, 11, 13, 15, 17, 19, 22
        0x0610, 0x0B10, 0x0D10, 0x0F10, 0x1110, 0x1310, 0x1610,
        // class 0x40 starts: 2, 18, 38, 39, 40, 67, 80, 196
        0x0240, 0x1240, 0x2640, 0x2740, 0x2840, 0x4340, 0x5040, 0xC440,
        // keywords allowed after "."
        0x5900, 0x9000, 0x9200, 0x9400, 0x9500, 0x9600, 0x9700, 0x9800, 0x9900,
        0xB100, 0xB300, 0xB400, 0xB500, 0xB800, 0xB900, 0xBA00, 0xBB00, 0xBC00,
        0xBD00, 0xBE00,
    };
    for (uint16_t w : words) {
        SCOPED_TRACE(::testing::Message() << std::hex << w);
        EXPECT_NE(FindWord(w), nullptr);
    }
}

// The constant folder knows these operator codes; each needs a token.
TEST(Tokens, FoldedOperatorCodesHaveTokens) {
    for (int code : {18, 19, 20, 21, 22, 23, 24, 25, 32, 33, 34, 35, 36, 37, 49, 50, 51, 52, 53}) {
        SCOPED_TRACE(code);
        EXPECT_NE(FindWord(Word(kClsOperator, static_cast<uint8_t>(code))), nullptr);
    }
}

TEST(Tokens, TableIsConsistent) {
    std::set<std::string_view> spellings;
    std::set<uint16_t> words;
    for (const Keyword &k : kKeywords) {
        SCOPED_TRACE(std::string(k.spelling));
        EXPECT_TRUE(spellings.insert(k.spelling).second) << "spelling twice";
        EXPECT_TRUE(words.insert(k.word()).second) << "word twice";
        for (char c : k.spelling) EXPECT_FALSE(c >= 'a' && c <= 'z');
        // Rule-program tables: 240 statement kinds, 198 function codes.
        if (k.cls == kClsStatement) {
            EXPECT_LT(k.kind, 0xF0);
        }
        if (k.cls == kClsFunction) {
            EXPECT_LT(k.kind, 198);
            // String functions have codes from 0x80 (SPC and TAB sit among them).
            bool stringCode = k.kind >= 0x80 && k.kind != 0x98 && k.kind != 0x9A;
            EXPECT_EQ(k.spelling.back() == '$', stringCode);
        }
    }
    for (const Keyword &k : kSymbols) {
        SCOPED_TRACE(std::string(k.spelling));
        EXPECT_TRUE(spellings.insert(k.spelling).second) << "spelling twice";
    }
}

TEST(Tokens, TokenSizes) {
    const uint8_t intc[] = {0x70, 0, 0, 0}, dbl[] = {0x70, 3, 0, 0}, byt[] = {0x70, 4, 0, 0};
    const uint8_t str[] = {0x70, 16, 3, 2}, name[] = {0x50, 2, 0, 1};
    EXPECT_EQ(TokenSize(intc), 6u);
    EXPECT_EQ(TokenSize(dbl), 12u);
    EXPECT_EQ(TokenSize(byt), 5u);
    EXPECT_EQ(TokenSize(str), 4u);
    EXPECT_EQ(TokenSize(name), 4u);
}
