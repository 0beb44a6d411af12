// PP_EdtChk as the editor (mode 1) and the debugger (mode 2) call it.
#include "tokens.h"
#include "txpp.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

using Bytes = std::vector<uint8_t>;
using EdtChkFn = int (*)(char *, unsigned char *, int);

struct Case {
    int mode;
    const char *in;
    const char *out;  // the text as the call leaves it
    Bytes tokens;     // without the end mark
};

const Case kCases[] = {
    {1, "10print x", "10 PRINT x", {0xA1, 0, 0, 2, 0x00, 0x94, 3, 5, 0x50, 2, 9, 1}},
    {1, "10 Goto 20", "10 GOTO 20", {0xA1, 0, 0, 2, 0x00, 0x70, 3, 4, 0xA1, 1, 8, 2}},
    {1, "print \"abc", "PRINT \"abc", {0xF0, 2, 6, 4}},
    {1, "10 x = 40000%", "10 x = 40000%", {0xA1, 0, 0, 2, 0xF0, 6, 7, 6}},
    {1, "*Lp: Rem ok", "*Lp: REM ok", {0xA0, 0, 0, 3, 0x30, 4, 3, 1, 0x00, 0x00, 5, 3}},
    {1, "", "", {}},
    {1, "10print \x01", "10 print \x01", {0xA1, 0, 0, 2, 0xF0, 2, 9, 1}},
    {2, "a(1) + len(b$)", "a(1) + LEN(b$)",
     {0x60, 2, 0, 1, 0x70, 0, 2, 1, 1, 0, 0x30, 1, 3, 1, 0x20, 0x13, 5, 1, 0x40, 0x36, 7, 3,
      0x30, 0, 10, 1, 0x50, 16, 11, 1, 0x30, 1, 13, 1}},
    {2, "10 * x", "10 * x", {0x70, 0, 0, 2, 10, 0, 0x20, 0x15, 3, 1, 0x50, 2, 5, 1}},
    {2, "x mod &h10", "x MOD &h10", {0x50, 2, 0, 1, 0x20, 0x18, 2, 3, 0x70, 0, 6, 4, 0x10, 0}},
    {2, "1.5# + \"s\"", "1.5# + \"s\"",
     {0x70, 3, 0, 4, 0, 0, 0, 0, 0, 0, 0xF8, 0x3F, 0x20, 0x13, 5, 1, 0x70, 16, 8, 1}},
    {2, "x$ = \"a", "x$ = \"a", {0xF0, 2, 5, 2}},
};

void RunCase(EdtChkFn fn, const Case &c) {
    SCOPED_TRACE(::testing::Message() << "mode " << c.mode << ": " << c.in);
    // The editor's buffer: the line and 16 bytes of room, zeroed.
    std::vector<char> text(std::strlen(c.in) + 16, '\0');
    std::memcpy(text.data(), c.in, std::strlen(c.in));
    std::vector<unsigned char> tokens(1600 + 8, 0);
    std::memset(tokens.data() + 1600, 0xCC, 8);
    EXPECT_EQ(fn(text.data(), tokens.data(), c.mode), 0);
    EXPECT_STREQ(text.data(), c.out);
    Bytes expected = c.tokens;
    expected.insert(expected.end(), {0xF1, 0x00});
    EXPECT_EQ(Bytes(tokens.begin(), tokens.begin() + expected.size()), expected);
    for (int i = 1600; i < 1608; ++i) EXPECT_EQ(tokens[i], 0xCC);
}

TEST(EdtChk, Cases) {
    for (const Case &c : kCases) RunCase(PP_EdtChk, c);
}

TEST(EdtChk, RefusesWhatNoCallerSends) {
    std::vector<unsigned char> tokens(1600, 0);
    char text[] = "PRINT 1";
    EXPECT_NE(PP_EdtChk(nullptr, tokens.data(), 1), 0);
    EXPECT_NE(PP_EdtChk(text, nullptr, 1), 0);
    EXPECT_NE(PP_EdtChk(text, tokens.data(), 3), 0);

    std::string tooLong(256, 'x');
    EXPECT_NE(PP_EdtChk(tooLong.data(), tokens.data(), 1), 0);
    EXPECT_EQ(tooLong, std::string(256, 'x'));
    EXPECT_EQ(Bytes(tokens.begin(), tokens.begin() + 6), (Bytes{0xF0, 2, 0, 0, 0xF1, 0}));
}

// The densest lines still end with the end mark inside the 1600 bytes.
TEST(EdtChk, DenseLinesFitTheBuffer) {
    for (const char *unit : {"1#", "1,", ":", "&H1&"}) {
        SCOPED_TRACE(unit);
        std::string line;
        while (line.size() + std::strlen(unit) <= 255) line += unit;
        std::vector<char> text(line.begin(), line.end());
        text.resize(line.size() + 16, '\0');
        std::vector<unsigned char> tokens(1600 + 8, 0);
        std::memset(tokens.data() + 1600, 0xCC, 8);
        EXPECT_EQ(PP_EdtChk(text.data(), tokens.data(), 2), 0);
        size_t i = 0;
        while (i < 1600 && tokens[i] != 0xF1) i += tok::TokenSize(tokens.data() + i);
        EXPECT_LT(i + 1, 1600u);
        EXPECT_NE(tokens[0], 0xF0);
        for (int k = 1600; k < 1608; ++k) EXPECT_EQ(tokens[k], 0xCC);
    }
}

#ifdef _WIN32
// A few rows through the DLL the IDE binds by name.
TEST(EdtChk, ThroughTheDll) {
    HMODULE dll = LoadLibraryA("TXPP.DLL");
    ASSERT_NE(dll, nullptr);
    auto fn = reinterpret_cast<EdtChkFn>(reinterpret_cast<void *>(GetProcAddress(dll, "PP_EdtChk")));
    ASSERT_NE(fn, nullptr);
    EXPECT_NE(GetProcAddress(dll, "PP_CmpFil"), nullptr);
    for (int row : {0, 2, 7, 10}) RunCase(fn, kCases[row]);
    FreeLibrary(dll);
}
#endif

}  // namespace
