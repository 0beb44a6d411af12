#include "error_line.h"

#include <gtest/gtest.h>

#include "project_fixtures.h"

namespace prj::test {
namespace {

TEST(ErrorLine, JumpTargetsOfCompilerLines) {
    struct Case {
        const char *name;
        const std::string &line;
        bool ok;
        std::string file;
        int number;
    };
    const std::string hyouji_folder = "C:\\MY DIR\\" + kHyoujiSub;
    const std::vector<Case> cases = {
        {"three asterisks", kErrStars, true, "PROG.BAS", 12},
        {"five digits, no asterisk", kErrFiveDigits, true, "C:\\WORK\\MAIN.BAS", 12345},
        {"no bracket", kErrNoBracket, false, "", 0},
        {"long vowel mark holds a '[' byte", kErrChoon, true, "SUB1.SUB", 7},
        {"blank and 0x5C byte in the name", kErrDbcsName, true, hyouji_folder, 99},
        {"asterisk in the message", kErrStarInMessage, true, "PROG.BAS", 42},
        {"leading blanks", kErrLeadingBlanks, true, "PROG.BAS", 3},
        {"line 0", kErrLineZero, false, "", 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ErrorLineTarget t;
        EXPECT_EQ(ParseErrorLine(c.line, t), c.ok);
        if (c.ok) {
            EXPECT_EQ(t.file, c.file);
            EXPECT_EQ(t.line, c.number);
        }
    }
    const std::vector<std::string> plain = {
        "", "   ", "MAIN.BAS", "[02]", "x [02]", "NMAKE : fatal error U1077: 'TXCL' : return code '0x1'",
        "***12 [02] no name",
    };
    for (const std::string &line : plain) {
        SCOPED_TRACE(line);
        ErrorLineTarget t;
        EXPECT_FALSE(ParseErrorLine(line, t));
    }
}

TEST(ErrorLine, MessageNumberForHelp) {
    struct Case {
        std::string line;
        MessageNumberParse want;
        uint32_t number;
    };
    const std::vector<Case> cases = {
        {kErrStars, MessageNumberParse::kNumber, 2},
        {kErrChoon, MessageNumberParse::kNumber, 35},
        {"35] text", MessageNumberParse::kNumber, 35},
        {"[ x] text", MessageNumberParse::kZero, 0},
        {"] before [1]", MessageNumberParse::kNone, 0},
        {"no bracket", MessageNumberParse::kNone, 0},
        {"", MessageNumberParse::kNone, 0},
        {kMsgTrailBracket, MessageNumberParse::kNumber, 35},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.line);
        uint32_t n = 99;
        EXPECT_EQ(ParseMessageNumber(c.line, n), c.want);
        EXPECT_EQ(n, c.want == MessageNumberParse::kNone ? 99u : c.number);
    }
}

}  // namespace
}  // namespace prj::test
