#include "printlayout.h"

#include <gtest/gtest.h>

#include <string>

using namespace tambrix;

namespace {

// Every byte 10 units wide, lines 100 high.
class FakeMeasurer : public TextMeasurer {
public:
    int Width(std::string_view t) override { return static_cast<int>(t.size()) * 10; }
    int FontHeight() override { return 100; }
};

// A4 at 600 dpi, no unprintable border.
PrintInput A4(std::string_view text) {
    PrintInput in;
    in.text = text;
    in.docTitle = "FOO.BAS";
    in.tabWidth = 4;
    in.printer.physWidth = in.printer.printWidth = 4960;
    in.printer.physHeight = in.printer.printHeight = 7016;
    in.stamp = {2026, 12, 1, 9, 3, 4};
    return in;
}

std::string Lines(int n) {
    std::string s;
    for (int i = 1; i <= n; ++i)
        s += "L" + std::to_string(i) + "\r\n";
    return s;
}

// The text pieces of a page (not header, not line numbers), in order.
std::vector<std::string> Body(const PrintedPage& p) {
    std::vector<std::string> v;
    for (const auto& op : p.ops)
        if (op.tabStop > 0)
            v.push_back(op.text);
    return v;
}

const DrawOp* FindOp(const PrintedPage& p, const std::string& text) {
    for (const auto& op : p.ops)
        if (op.text == text)
            return &op;
    return nullptr;
}

} // namespace

TEST(PrintLayout, HeaderNumbersAndPlaces) {
    FakeMeasurer m;
    std::string text = "abc\r\n\r\ndef";
    auto in = A4(text);
    PrintLayout pl(in, m);
    // 20 mm = 472 device units; text height 6071 -> 60 lines less two header lines and a blank.
    EXPECT_EQ(pl.LinesPerPage(), 57);
    auto pages = pl.PrintAll();
    ASSERT_EQ(pages.size(), 1u);
    const auto& p = pages[0];
    const DrawOp* op = FindOp(p, "Tambrix V6.3");
    ASSERT_TRUE(op);
    EXPECT_EQ(op->x, 472);
    EXPECT_EQ(op->y, 472);
    op = FindOp(p, "Page 1");
    ASSERT_TRUE(op);
    EXPECT_TRUE(op->rightAligned);
    EXPECT_EQ(op->x, 472 + 4015);
    op = FindOp(p, "09:03:04  2026/12/01");
    ASSERT_TRUE(op);
    EXPECT_EQ(op->y, 572);
    ASSERT_TRUE(FindOp(p, "FOO.BAS"));
    // Line numbers right-aligned left of the column after "999999999"; text 5 units on.
    op = FindOp(p, "1:");
    ASSERT_TRUE(op);
    EXPECT_TRUE(op->rightAligned);
    EXPECT_EQ(op->x, 472 + 90);
    EXPECT_EQ(op->y, 772);
    op = FindOp(p, "abc");
    ASSERT_TRUE(op);
    EXPECT_EQ(op->x, 567);
    // The empty line takes its line.
    op = FindOp(p, "def");
    ASSERT_TRUE(op);
    EXPECT_EQ(op->y, 972);
    EXPECT_TRUE(FindOp(p, "3:"));
}

TEST(PrintLayout, NoHeaderStillLeavesOneLine) {
    FakeMeasurer m;
    auto in = A4("x");
    in.setup = PrintSetup{false, false, false, false, false, false};
    PrintLayout pl(in, m);
    EXPECT_EQ(pl.LinesPerPage(), 59);
    auto pages = pl.PrintAll();
    ASSERT_EQ(pages.size(), 1u);
    ASSERT_EQ(pages[0].ops.size(), 1u);
    EXPECT_EQ(pages[0].ops[0].x, 472 + 5);
    EXPECT_EQ(pages[0].ops[0].y, 472);
}

TEST(PrintLayout, WrappedLineContinuesOnNextPageWithoutNumber) {
    FakeMeasurer m;
    // 392 characters fit a piece; 56 lines then a line of three pieces.
    std::string longLine(392 * 2 + 10, 'w');
    longLine[0] = 'S';
    std::string text = Lines(56) + longLine + "\r\nafter";
    auto in = A4(text);
    PrintLayout pl(in, m);
    auto pages = pl.PrintAll();
    ASSERT_EQ(pages.size(), 2u);
    auto b1 = Body(pages[0]), b2 = Body(pages[1]);
    ASSERT_EQ(b1.size(), 57u);
    EXPECT_EQ(b1.back(), longLine.substr(0, 392));
    ASSERT_EQ(b2.size(), 3u);
    EXPECT_EQ(b1.back() + b2[0] + b2[1], longLine);
    EXPECT_EQ(b2[2], "after");
    EXPECT_FALSE(FindOp(pages[1], "57:"));
    EXPECT_TRUE(FindOp(pages[1], "58:"));
    EXPECT_TRUE(FindOp(pages[1], "Page 2"));
}

TEST(PrintLayout, TabsExpandToTheEditorsWidth) {
    FakeMeasurer m;
    auto in = A4("");
    PrintLayout pl(in, m);
    // Four dots are 40 units.
    EXPECT_EQ(pl.TabbedWidth("a\tb"), 50);
    EXPECT_EQ(pl.TabbedWidth("abcd\tb"), 90);
    EXPECT_EQ(pl.FitLine("\t\tab", 85), 2u);
    EXPECT_EQ(pl.FitLine("\t\tab", 95), 3u);
    // A double-byte character is never cut; at least one character per piece.
    EXPECT_EQ(pl.FitLine("a\x82\xa0", 25), 1u);
    EXPECT_EQ(pl.FitLine("\x82\xa0", 5), 2u);
}

TEST(PrintLayout, EndCasesPrintTheirLastLine) {
    FakeMeasurer m;
    struct Case {
        const char* name;
        std::string text;
        bool selection;
        size_t selStart, selEnd;
        std::string lastPiece;
        size_t pages;
    };
    std::string l57 = Lines(57);
    std::string big(2000, 'q');
    const Case cases[] = {
        {"last line without line end on a new page", l57 + "tail", false, 0, 0, "tail", 2},
        {"selection ending with a line end", "one\r\ntwo\r\nthree\r\n", true, 5, 10, "two", 1},
        {"selection without line end", "one\r\ntwo\r\nthree", true, 5, 12, "three", 1},
        {"two-character selection", "ab\r\ncd", true, 4, 6, "cd", 1},
        {"line over 1024 bytes", big + "\r\n", false, 0, 0, big.substr(392 * 5), 1},
    };
    for (const auto& c : cases) {
        auto in = A4(c.text);
        in.selectionOnly = c.selection;
        in.selStart = c.selStart;
        in.selEnd = c.selEnd;
        PrintLayout pl(in, m);
        auto pages = pl.PrintAll();
        ASSERT_EQ(pages.size(), c.pages) << c.name;
        auto body = Body(pages.back());
        ASSERT_FALSE(body.empty()) << c.name;
        EXPECT_EQ(body.back(), c.lastPiece) << c.name;
    }
    // A selection's first page starts at its start; lines outside it are not printed.
    auto in = A4("one\r\ntwo\r\nthree\r\n");
    in.selectionOnly = true;
    in.selStart = 5;
    in.selEnd = 10;
    PrintLayout pl(in, m);
    auto pages = pl.PrintAll();
    EXPECT_EQ(Body(pages[0]), (std::vector<std::string>{"two"}));
    EXPECT_TRUE(FindOp(pages[0], "2:"));
}

TEST(PrintLayout, MarginsLargerThanThePaperPrintNothing) {
    FakeMeasurer m;
    auto in = A4("abc");
    in.setup.left = in.setup.right = 12000;
    PrintLayout pl(in, m);
    EXPECT_FALSE(pl.Usable());
    EXPECT_TRUE(pl.PrintAll().empty());
    // Margins below the unprintable border are raised to it.
    auto in2 = A4("abc");
    in2.printer.offsetX = 600; // one inch
    in2.printer.printWidth = 4960 - 1200;
    PrintLayout pl2(in2, m);
    auto p = pl2.PrintAll();
    ASSERT_EQ(p.size(), 1u);
    EXPECT_EQ(FindOp(p[0], "Tambrix V6.3")->x, 600);
}
