#include "prjrules.h"

#include <gtest/gtest.h>

using namespace tambrix;

TEST(OutOfDate, NewerFilesAndMissingProgram) {
    BuildTimes base;
    base.program = 100;
    base.project = 100;
    base.environment = 100;
    base.modules = {{100, 100}, {90, std::nullopt}};
    base.resourceScript = 100;
    base.resource = 100;
    EXPECT_FALSE(CheckOutOfDate(base).rebuild); // equal times are up to date

    struct Case { const char* name; void (*touch)(BuildTimes&); };
    const Case cases[] = {
        {"obj", [](BuildTimes& t) { t.modules[0].object = 101; }},
        {"source", [](BuildTimes& t) { t.modules[1].source = 101; }},
        {"res", [](BuildTimes& t) { t.resource = 101; }},
        {"rc", [](BuildTimes& t) { t.resourceScript = 101; }},
        {"bet", [](BuildTimes& t) { t.environment = 101; }},
        {"mak", [](BuildTimes& t) { t.project = 101; }},
    };
    for (const auto& c : cases) {
        BuildTimes t = base;
        c.touch(t);
        auto r = CheckOutOfDate(t);
        EXPECT_TRUE(r.rebuild) << c.name;
        EXPECT_FALSE(r.programMissing) << c.name;
    }
    BuildTimes gone = base;
    gone.program.reset();
    auto r = CheckOutOfDate(gone);
    EXPECT_TRUE(r.rebuild);
    EXPECT_TRUE(r.programMissing);
}

TEST(Find, DownUpAndReplace) {
    const std::string text = "aaa x\r\nfoo aaa foo\r\nbar";
    // A selected match: the next one starting one character later overlaps it.
    auto m = FindDown(text, {0, 2}, "aa", true);
    ASSERT_TRUE(m);
    EXPECT_EQ(m->start, 1u);
    // Case folding, and the next line.
    m = FindDown(text, {5, 5}, "FOO", false);
    ASSERT_TRUE(m);
    EXPECT_EQ(m->start, 7u);
    EXPECT_FALSE(FindDown(text, {5, 5}, "FOO", true));
    EXPECT_FALSE(FindDown(text, {0, 0}, "", true));
    // No wrap around.
    EXPECT_FALSE(FindDown(text, {20, 20}, "aaa", true));

    // Up: the right-most occurrence ending left of the caret (line 2, caret after the second foo).
    m = FindUp(text, {17, 17}, "foo", true); // caret inside the last foo
    ASSERT_TRUE(m);
    EXPECT_EQ(m->start, 7u);
    m = FindUp(text, {22, 22}, "foo", true);
    ASSERT_TRUE(m);
    EXPECT_EQ(m->start, 15u);
    // Only in the caret line left of the caret: found up, not down.
    m = FindUp(text, {4, 4}, "aa", true);
    ASSERT_TRUE(m);
    EXPECT_EQ(m->start, 1u); // overlapping occurrences count, the last wins
    EXPECT_FALSE(FindDown(text, {4, 4}, "x\r", true));
    EXPECT_FALSE(FindUp(text, {0, 0}, "a", true));
    // The limit's line from column 0 is skipped; lines above still count.
    m = FindUp(text, {7, 7}, "x", true);
    ASSERT_TRUE(m);
    EXPECT_EQ(m->start, 4u);

    std::string t = "ab ab ab";
    TextSel sel{0, 0};
    EXPECT_TRUE(ReplaceNext(t, sel, "ab", "XYZ", true));
    EXPECT_EQ(t, "XYZ ab ab"); // one per command
    EXPECT_EQ(sel.start, 0u);
    EXPECT_EQ(sel.end, 3u);
    EXPECT_TRUE(ReplaceNext(t, sel, "AB", "c", false));
    EXPECT_EQ(t, "XYZ c ab");
    EXPECT_FALSE(ReplaceNext(t, sel, "", "c", false));
    EXPECT_FALSE(ReplaceNext(t, sel, "zz", "c", false));
    EXPECT_EQ(t, "XYZ c ab");
}

TEST(PageSetupValues, MarginsAndSizes) {
    EXPECT_EQ(MarginText(2550), "25mm");
    EXPECT_EQ(MarginText(2000), "20mm");
    std::vector<SizeRow> rows = {{"8", 160}, {"10", 200}, {"10.5", 210}, {"12", 240}};
    struct Case { const char* text; int row; };
    const Case cases[] = {{"11", 3}, {"10.5", 2}, {"10", 1}, {"99", 0}, {"", 0}, {"7", 0}, {"9", 1}};
    for (const auto& c : cases)
        EXPECT_EQ(PageSizeRowFor(rows, c.text), c.row) << c.text;
    EXPECT_EQ(PageSizeRowFor({}, "11"), -1);
    EXPECT_EQ(SizeTextTenths("10.5"), 105);
    EXPECT_EQ(SizeTextTenths("12"), 120);
    EXPECT_EQ(SizeTextTenths("9.25"), 92);
}
