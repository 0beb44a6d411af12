#include "jumprules.h"

#include <gtest/gtest.h>

namespace tambrix {
namespace {

TEST(JumpLineRange, FromTheSourcesLineCount) {
    struct Case {
        int count, caret, high, start;
    } cases[] = {
        {-1, 5, 32767, 1},   // no such source
        {0, 1, 1, 1},        // empty source
        {40, 12, 40, 12},
        {40, 99, 40, 40},    // a caret past the end is held to the range
        {70000, 3, 32767, 3},
    };
    for (const auto& c : cases) {
        LineRange r = JumpLineRange(c.count, c.caret);
        EXPECT_EQ(r.low, 1) << c.count;
        EXPECT_EQ(r.high, c.high) << c.count;
        EXPECT_EQ(r.start, c.start) << c.count;
    }
}

TEST(JumpLineRange, TypedNumbersAreHeldToTheSpinRange) {
    LineRange r = JumpLineRange(40, 1);
    EXPECT_EQ(ClampJumpLine(r, 0), 1);
    EXPECT_EQ(ClampJumpLine(r, 41), 40);
    EXPECT_EQ(ClampJumpLine(r, 99999999999LL), 40);
    EXPECT_EQ(ClampJumpLine(r, 17), 17);
}

TEST(MarkList, SameFileIgnoringCaseAndLineIsOneMark) {
    MarkList m;
    EXPECT_TRUE(m.Add("C:\\D\\FOO.BAS", 12));
    EXPECT_FALSE(m.Add("c:\\d\\foo.bas", 12));
    EXPECT_TRUE(m.Add("C:\\D\\FOO.BAS", 13));
    // Double-byte characters compare exactly: 0x82 0x60 is not 0x82 0x80.
    EXPECT_TRUE(m.Add("C:\\\x82\x60.BAS", 1));
    EXPECT_TRUE(m.Add("C:\\\x82\x80.BAS", 1));
    EXPECT_EQ(m.Size(), 4u);
    EXPECT_EQ(m.Items().front().line, 12u);
}

TEST(MarkList, RemoveTakesExactFileAndLine) {
    MarkList m;
    m.Add("A.BAS", 1);
    m.Add("A.BAS", 2);
    m.Add("B.BAS", 1);
    m.Remove("a.bas", 1);  // the records compare exactly
    EXPECT_EQ(m.Size(), 3u);
    m.Remove("A.BAS", 1);
    EXPECT_EQ(m.Size(), 2u);
    EXPECT_FALSE(m.Contains("A.BAS", 1));
    m.Clear();
    EXPECT_TRUE(m.Empty());
}

}  // namespace
}  // namespace tambrix
