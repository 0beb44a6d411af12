// The line tokeniser, case by case. Expected units are written out by hand
// from the unit layout {class, kind, offset, length} (+ value bytes); float
// and double bytes were taken from Python's struct.pack('<f'/'<d').
#include "lexer.h"
#include "tokens.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Lex(std::string text, pp::LineKind kind = pp::LineKind::kSource) {
    pp::DefaultTypes defaults;
    pp::LexOptions options;
    options.kind = kind;
    Bytes out;
    pp::TokeniseLine(text, options, defaults, out);
    return out;
}

std::string Hex(const Bytes &b) {
    std::string s;
    char buf[4];
    for (size_t i = 0; i < b.size(); ++i) {
        std::snprintf(buf, sizeof buf, "%02X", b[i]);
        s += (i ? " " : "") + std::string(buf);
    }
    return s;
}

struct Case {
    const char *text;
    Bytes expected;
};

void RunCases(const std::vector<Case> &cases, pp::LineKind kind) {
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(Hex(Lex(c.text, kind)), Hex(c.expected));
    }
}

// Numeric literals as watch expressions (so a leading number is no line number).
TEST(Lexer, LiteralTyping) {
    RunCases({
        {"0", {0x70, 0, 0, 1, 0x00, 0x00}},
        {"32767", {0x70, 0, 0, 5, 0xFF, 0x7F}},
        {"32768", {0x70, 1, 0, 5, 0x00, 0x80, 0x00, 0x00}},
        {"2147483647", {0x70, 1, 0, 10, 0xFF, 0xFF, 0xFF, 0x7F}},
        {"2147483648", {0x70, 3, 0, 10, 0, 0, 0, 0, 0, 0, 0xE0, 0x41}},
        {"100%", {0x70, 0, 0, 4, 100, 0}},
        {"100&", {0x70, 1, 0, 4, 100, 0, 0, 0}},
        {"5!", {0x70, 2, 0, 2, 0x00, 0x00, 0xA0, 0x40}},
        {"1.5", {0x70, 2, 0, 3, 0x00, 0x00, 0xC0, 0x3F}},
        {".5", {0x70, 2, 0, 2, 0x00, 0x00, 0x00, 0x3F}},
        {"1.5#", {0x70, 3, 0, 4, 0, 0, 0, 0, 0, 0, 0xF8, 0x3F}},
        {"1.234567", {0x70, 2, 0, 8, 0x4B, 0x06, 0x9E, 0x3F}},
        {"1.2345678", {0x70, 3, 0, 9, 0x5D, 0x1D, 0x5B, 0x2A, 0xCA, 0xC0, 0xF3, 0x3F}},
        {"1E3", {0x70, 2, 0, 3, 0x00, 0x00, 0x7A, 0x44}},
        {"1E+5", {0x70, 2, 0, 4, 0x00, 0x50, 0xC3, 0x47}},
        {"1.", {0x70, 2, 0, 2, 0x00, 0x00, 0x80, 0x3F}},
        {"00012", {0x70, 0, 0, 5, 12, 0}},
        {"12345678901", {0x70, 3, 0, 11, 0x00, 0x00, 0xA8, 0xE1, 0xE0, 0xFE, 0x06, 0x42}},
        {"1d3", {0x70, 3, 0, 3, 0, 0, 0, 0, 0, 0x40, 0x8F, 0x40}},
        {"1E40", {0x70, 3, 0, 4, 0xA5, 0x5C, 0xC3, 0xF1, 0x29, 0x63, 0x3D, 0x48}},
        {"1E-50", {0x70, 3, 0, 5, 0x1F, 0xB8, 0xD4, 0x4A, 0x7A, 0xEE, 0x8D, 0x35}},
        {"&HFF", {0x70, 0, 0, 4, 0xFF, 0x00}},
        {"&hffff", {0x70, 0, 0, 6, 0xFF, 0xFF}},
        {"&H10000", {0x70, 1, 0, 7, 0x00, 0x00, 0x01, 0x00}},
        {"&HFFFF&", {0x70, 1, 0, 7, 0xFF, 0xFF, 0x00, 0x00}},
        {"&HFFFFFFFF", {0x70, 1, 0, 10, 0xFF, 0xFF, 0xFF, 0xFF}},
        {"&O777", {0x70, 0, 0, 5, 0xFF, 0x01}},
        // Numbers are never negative: the sign is an operator.
        {"-32768", {0x20, 0x14, 0, 1, 0x70, 1, 1, 5, 0x00, 0x80, 0x00, 0x00}},
        // "&" without a radix letter and digit is the operator.
        {"A&B", {0x50, 1, 0, 1, 0x50, 2, 2, 1}},
        {"A & B", {0x50, 2, 0, 1, 0x20, 0x19, 2, 1, 0x50, 2, 4, 1}},
    }, pp::LineKind::kWatch);
}

// Everything that is wrong in a line becomes one error unit {F0, n, column,
// length}; a leading line number or label stays in front of it.
TEST(Lexer, BadInput) {
    RunCases({
        {"PRINT \"abc", {0xF0, 2, 6, 4}},
        {"10 PRINT \"x", {0xA1, 0, 0, 2, 0xF0, 2, 9, 2}},
        {"*L1 X = \"", {0xA0, 0, 0, 3, 0xF0, 2, 8, 1}},
        {"A=1\x01", {0xF0, 2, 3, 1}},
        {"A=1\x7F", {0xF0, 2, 3, 1}},
        {"PRINT \x82", {0xF0, 2, 6, 1}},          // lead byte at the line end
        {"X=\x82\x20", {0xF0, 2, 2, 1}},         // lead byte without a trail byte
        {"X=\xFF", {0xF0, 2, 2, 1}},             // no character of code page 932
        {"REM \x82", {0xF0, 2, 4, 1}},           // comments too
        {"X = ?", {0xF0, 2, 4, 1}},
        {"X = @", {0xF0, 2, 4, 1}},
        {"123456 PRINT", {0xF0, 2, 0, 6}},
        {"GOTO 123456", {0xF0, 2, 5, 6}},
        {"X = 40000%", {0xF0, 6, 4, 6}},
        {"X = 3000000000&", {0xF0, 6, 4, 11}},
        {"X = &H100000000", {0xF0, 6, 4, 11}},
        {"X = &H10000%", {0xF0, 6, 4, 8}},
        {"X = 1E400", {0xF0, 6, 4, 5}},
        {"X = 1E50!", {0xF0, 6, 4, 5}},
        {"X = 1.5%", {0xF0, 2, 4, 4}},
        {"DATA \"abc", {0xF0, 2, 5, 4}},
        {"DEFINT 1", {0xF0, 2, 0, 8}},
        {"DEFINT A-", {0xF0, 2, 0, 9}},
        {"DEFINT C-A", {0xF0, 2, 0, 10}},
        {"DEFINT A,", {0xF0, 2, 0, 9}},
        {"DEFINT AB", {0xF0, 2, 0, 9}},
        {"DEFINT A%", {0xF0, 2, 0, 9}},
        {"DEFINT", {0xF0, 2, 0, 6}},
    }, pp::LineKind::kSource);
}

TEST(Lexer, TokenLimitIsError89) {
    pp::DefaultTypes defaults;
    pp::LexOptions options;
    options.tokenLimit = 8;
    Bytes out;
    std::string text = "10 A B C";
    pp::TokeniseLine(text, options, defaults, out);
    EXPECT_EQ(Hex(out), Hex({0xA1, 0, 0, 2, 0xF0, 89, 5, 1}));
}

TEST(Lexer, NamesLabelsAndLineNumbers) {
    RunCases({
        {"10 GOTO 20", {0xA1, 0, 0, 2, 0x00, 0x70, 3, 4, 0xA1, 1, 8, 2}},
        {"*START: GOSUB *SUB1",
         {0xA0, 0, 0, 6, 0x30, 4, 6, 1, 0x00, 0x71, 8, 5, 0xA0, 1, 14, 5}},
        {"20 *L PRINT", {0xA1, 0, 0, 2, 0xA0, 0, 3, 2, 0x00, 0x94, 6, 5}},
        {"X = A * B",
         {0x50, 2, 0, 1, 0x20, 0x20, 2, 1, 0x50, 2, 4, 1, 0x20, 0x15, 6, 1, 0x50, 2, 8, 1}},
        {"X = RND * Y", {0x50, 2, 0, 1, 0x20, 0x20, 2, 1, 0x40, 0x06, 4, 3, 0x20, 0x15, 8, 1, 0x50, 2, 10, 1}},
        // The suffix is not in the name's length; "(" right after makes 0x60.
        {"A$(1) = B%",
         {0x60, 16, 0, 1, 0x70, 0, 3, 1, 1, 0, 0x30, 1, 4, 1, 0x20, 0x20, 6, 1, 0x50, 0, 8, 1}},
        {"C = A (2)",
         {0x50, 2, 0, 1, 0x20, 0x20, 2, 1, 0x50, 2, 4, 1, 0x30, 0, 6, 1, 0x70, 0, 7, 1, 2, 0, 0x30, 1, 8, 1}},
        {"ON X GOTO 10, 20, *L",
         {0x10, 0x11, 0, 2, 0x50, 2, 3, 1, 0x00, 0x70, 5, 4, 0xA1, 1, 10, 2, 0x30, 2, 12, 1,
          0xA1, 1, 14, 2, 0x30, 2, 16, 1, 0xA0, 1, 18, 2}},
        {"IF A THEN 100 ELSE 200",
         {0x00, 0x10, 0, 2, 0x50, 2, 3, 1, 0x10, 0x00, 5, 4, 0xA1, 1, 10, 3, 0x00, 0x11, 14, 4,
          0xA1, 1, 19, 3}},
        {"GO TO 100", {0x10, 0x0B, 0, 2, 0x10, 0x08, 3, 2, 0xA1, 1, 6, 3}},
        {"FOR I = 1 TO 10",
         {0x00, 0x20, 0, 3, 0x50, 2, 4, 1, 0x20, 0x20, 6, 1, 0x70, 0, 8, 1, 1, 0, 0x10, 0x08, 10, 2,
          0x70, 0, 13, 2, 10, 0}},
        {"DEF FNF(X) = X * 2",
         {0x10, 0x0D, 0, 3, 0x10, 0x07, 4, 2, 0x60, 2, 6, 1, 0x50, 2, 8, 1, 0x30, 1, 9, 1,
          0x20, 0x20, 11, 1, 0x50, 2, 13, 1, 0x20, 0x15, 15, 1, 0x70, 0, 17, 1, 2, 0}},
        {"REM hello: X", {0x00, 0x00, 0, 3}},
        {"PRINT 'c", {0x00, 0x94, 0, 5, 0x00, 0x01, 6, 1}},
        {"DATA 1, \"a,b\" , x y:PRINT",
         {0x00, 0x8C, 0, 4, 0x80, 0, 5, 1, 0x30, 2, 6, 1, 0x80, 0, 8, 5, 0x30, 2, 14, 1,
          0x80, 0, 16, 3, 0x30, 4, 19, 1, 0x00, 0x94, 20, 5}},
        {"obj.PRINT X", {0x50, 2, 0, 3, 0x30, 5, 3, 1, 0x00, 0x94, 4, 5, 0x50, 2, 10, 1}},
        {"X = mid$(A$, 2)",
         {0x50, 2, 0, 1, 0x20, 0x20, 2, 1, 0x40, 0xC4, 4, 4, 0x30, 0, 8, 1, 0x50, 16, 9, 1,
          0x30, 2, 11, 1, 0x70, 0, 13, 1, 2, 0, 0x30, 1, 14, 1}},
        {"LINE INPUT #1, A$",
         {0x00, 0xBA, 0, 4, 0x00, 0x92, 5, 5, 0x30, 6, 11, 1, 0x70, 0, 12, 1, 1, 0, 0x30, 2, 13, 1,
          0x50, 16, 15, 1}},
        {"A <= B >< C", {0x50, 2, 0, 1, 0x20, 0x24, 2, 2, 0x50, 2, 5, 1, 0x20, 0x21, 7, 2, 0x50, 2, 10, 1}},
        {"X = NOT A MOD 2",
         {0x50, 2, 0, 1, 0x20, 0x20, 2, 1, 0x28, 0x30, 4, 3, 0x50, 2, 8, 1, 0x20, 0x18, 10, 3,
          0x70, 0, 14, 1, 2, 0}},
        {"DIM S AS STRING * 10",
         {0x00, 0x3B, 0, 3, 0x50, 2, 4, 1, 0x10, 0x03, 6, 2, 0x90, 17, 9, 6, 0x20, 0x15, 16, 1,
          0x70, 0, 18, 2, 10, 0}},
        // Double-byte and half-width katakana names; a double-byte string.
        {"\x95\xCF\x90\x94 = \xB1", {0x50, 2, 0, 4, 0x20, 0x20, 5, 1, 0x50, 2, 7, 1}},
        {"PRINT \"\x8A\xBF\"\"\"", {0x00, 0x94, 0, 5, 0x70, 16, 7, 4}},
        // A trail byte that looks like a quote or a letter stays in its character.
        {"PRINT \"\x83\x5C\"", {0x00, 0x94, 0, 5, 0x70, 16, 7, 2}},
        // A word that only begins with a keyword is a name.
        {"PRINTER = FORMAT", {0x50, 2, 0, 7, 0x20, 0x20, 8, 1, 0x50, 2, 10, 6}},
        {"COLOR@ 1", {0x00, 0x98, 0, 6, 0x70, 0, 7, 1, 1, 0}},
        {"   ", {}},
        {"::", {0x30, 4, 0, 1, 0x30, 4, 1, 1}},
    }, pp::LineKind::kSource);
}

// DEFtype statements set the type of undecorated names from the end of the
// statement on, for the rest of the module.
TEST(Lexer, DefaultTypes) {
    pp::DefaultTypes defaults;
    pp::LexOptions options;
    struct Step {
        const char *text;
        Bytes expected;
    };
    const Step steps[] = {
        {"DEFINT I-K, X", {0x00, 0x44, 0, 6, 0x50, 2, 7, 1, 0x20, 0x14, 8, 1, 0x50, 2, 9, 1, 0x30, 2, 10, 1,
                           0x50, 2, 12, 1}},
        {"I = j + x + D + i$", {0x50, 0, 0, 1, 0x20, 0x20, 2, 1, 0x50, 0, 4, 1, 0x20, 0x13, 6, 1,
                                0x50, 0, 8, 1, 0x20, 0x13, 10, 1, 0x50, 2, 12, 1, 0x20, 0x13, 14, 1,
                                0x50, 16, 16, 1}},
        {"DEFSTR S: S = T", {0x00, 0x49, 0, 6, 0x50, 2, 7, 1, 0x30, 4, 8, 1, 0x50, 16, 10, 1,
                             0x20, 0x20, 12, 1, 0x50, 2, 14, 1}},
        {"DEFDBL A-Z", {0x00, 0x47, 0, 6, 0x50, 2, 7, 1, 0x20, 0x14, 8, 1, 0x50, 2, 9, 1}},
        {"Q = S", {0x50, 3, 0, 1, 0x20, 0x20, 2, 1, 0x50, 3, 4, 1}},
    };
    for (const Step &s : steps) {
        SCOPED_TRACE(s.text);
        std::string text = s.text;
        Bytes out;
        pp::TokeniseLine(text, options, defaults, out);
        EXPECT_EQ(Hex(out), Hex(s.expected));
    }
}

TEST(Lexer, NormalisesKeywordsAndLineNumbers) {
    struct Norm {
        const char *in, *out;
        pp::LineKind kind;
    };
    const Norm cases[] = {
        {"10print x", "10 PRINT x", pp::LineKind::kSource},
        {"10 goto 20: Mid$(a$, 1) = b$", "10 GOTO 20: MID$(a$, 1) = b$", pp::LineKind::kSource},
        {"def fnA(x) = x", "DEF FNA(x) = x", pp::LineKind::kSource},
        {"print \"print\" ' print", "PRINT \"print\" ' print", pp::LineKind::kSource},
        {"10*L1 print", "10*L1 PRINT", pp::LineKind::kSource},
        {"10 print", "10 PRINT", pp::LineKind::kSource},
        {"10print", "10PRINT", pp::LineKind::kWatch},  // no line numbers in expressions
    };
    for (const Norm &c : cases) {
        SCOPED_TRACE(c.in);
        pp::DefaultTypes defaults;
        pp::LexOptions options;
        options.kind = c.kind;
        options.normalise = true;
        std::string text = c.in;
        Bytes out;
        pp::TokeniseLine(text, options, defaults, out);
        EXPECT_EQ(text, c.out);
    }
}

TEST(Lexer, CutAtCharBoundary) {
    EXPECT_EQ(pp::CutAtCharBoundary("abc", 3, 2), 2u);
    EXPECT_EQ(pp::CutAtCharBoundary("a\x8A\xBF", 3, 2), 1u);  // never half a character
    EXPECT_EQ(pp::CutAtCharBoundary("a\x8A\xBF", 3, 3), 3u);
    EXPECT_EQ(pp::CutAtCharBoundary("ab", 2, 10), 2u);
}

}  // namespace

namespace {

// Random lines, tame and wild: the tokeniser must always end, stay inside
// its byte budget, point only inside the line, and put an error unit last.
TEST(Lexer, RandomLinesKeepTheInvariants) {
    const std::string alphabet = "  AZaz09.#$%&!\"'*:,;()=<>+-^\\EDH@?_\t\x82\xA0\x8A\xBF\xB1\xFF\x01\x1A";
    uint32_t seed = 12345;
    auto next = [&] {
        seed = seed * 1103515245u + 12345u;
        return seed >> 8;
    };
    const char *words[] = {"PRINT ", "GOTO ", "DATA ", "DEFINT ", "REM", "FN", "&H", "1E", "THEN "};
    for (int n = 0; n < 20000; ++n) {
        std::string text;
        size_t length = next() % 300;
        while (text.size() < length) {
            if (next() % 5 == 0)
                text += words[next() % 9];
            else
                text += alphabet[next() % alphabet.size()];
        }
        for (pp::LineKind kind : {pp::LineKind::kSource, pp::LineKind::kWatch}) {
            SCOPED_TRACE(text);
            pp::DefaultTypes defaults;
            pp::LexOptions options;
            options.kind = kind;
            options.normalise = true;
            options.tokenLimit = 1596;
            std::string line = text.substr(0, 255);
            size_t before = line.size();
            Bytes out;
            pp::TokeniseLine(line, options, defaults, out);
            ASSERT_LE(out.size(), 1596u);
            ASSERT_LE(line.size(), before + 1);
            size_t u = 0;
            while (u < out.size()) {
                ASSERT_LE(u + 4, out.size());
                const uint8_t *p = out.data() + u;
                ASSERT_LE(size_t(p[2]) + p[3], line.size());
                if (p[0] == 0xF0) {
                    ASSERT_EQ(u + 4, out.size()) << "error unit not last";
                }
                u += tok::TokenSize(p);
            }
            ASSERT_EQ(u, out.size());
        }
    }
}

}  // namespace
