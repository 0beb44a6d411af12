// SC_EdtChk behind PP_EdtChk, as the editor calls the two.
#include "txpp.h"
#include "txscl.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

struct Result {
    int word;
    std::string text;
    int column = -1, length = -1;
};

Result Check(const std::string& line) {
    std::vector<char> text(line.size() + 16, '\0');
    std::memcpy(text.data(), line.data(), line.size());
    std::vector<unsigned char> tokens(1600, 0);
    EXPECT_EQ(PP_EdtChk(text.data(), tokens.data(), 1), 0);
    unsigned char* p = tokens.data();
    Result r{SC_EdtChk("/MW", text.data(), &p), text.data()};
    if (r.word != 0) {
        EXPECT_EQ(p[0], 0xF0);
        EXPECT_EQ(p[1], r.word & 0xFF);
        r.column = p[2];
        r.length = p[3];
    }
    return r;
}

TEST(LineCheck, Cases) {
    struct Case {
        const char* line;
        int word;
        const char* text;
        int column, length;
    } cases[] = {
        {"print x", 0, "PRINT x", -1, -1},
        {"10 a$ = left$(b$, 2)", 0, "10 a$ = LEFT$(b$, 2)", -1, -1},
        {"x(1) = (2 + 3) * 4", 0, "x(1) = (2 + 3) * 4", -1, -1},
        {"foo 1, 2", 0, "foo 1, 2", -1, -1},
        {"rem ) (", 0, "REM ) (", -1, -1},
        {"a = 1: b$ = \"x\"", 0, "a = 1: b$ = \"x\"", -1, -1},
        {"a = (1 + 2))", 0x2602, nullptr, 11, 1},
        {"print (1 + (2)", 0x2702, nullptr, 6, 1},
        {"print len(a$", 0x2702, nullptr, 9, 1},
        {"a$ 1", 0x0502, nullptr, 0, 2},
        {"a = 1: b% 2", 0x0502, nullptr, 7, 2},
        {"10 ) = 1", 0x0502, nullptr, 3, 1},
        {"print \"abc", 0x0002, nullptr, 6, 4},
    };
    int before = SC_EdtChkCount();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        Result r = Check(c.line);
        EXPECT_EQ(r.word, c.word);
        if (c.text) {
            EXPECT_EQ(r.text, c.text);
        }
        EXPECT_EQ(r.column, c.column);
        EXPECT_EQ(r.length, c.length);
    }
    EXPECT_EQ(SC_EdtChkCount() - before, static_cast<int>(std::size(cases)));
}

TEST(LineCheck, NoTokensIsAnError) {
    char text[20] = "PRINT";
    unsigned char* p = nullptr;
    EXPECT_EQ(SC_EdtChk("/MW", text, &p), 2);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p[0], 0xF0);
}

}  // namespace
