// The page layout of source printing: printer metrics and a text measurer
// in; draw operations, page starts and the continue-line flag out. The
// Windows side runs it on a printer (or a recording) device context.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tambrix {

struct PrintSetup {
    bool title = true, fileName = true, date = true, time = true, pageNo = true, lineNo = true;
    // Hundredths of a millimetre.
    int32_t left = 2000, top = 2000, right = 2000, bottom = 2000;
};

// The printer in device units.
struct PrinterMetrics {
    int dpiX = 600, dpiY = 600;
    int offsetX = 0, offsetY = 0;   // unprintable offsets
    int physWidth = 0, physHeight = 0;
    int printWidth = 0, printHeight = 0;
};

// Measures text in the printing font (device units); tab-free text only.
class TextMeasurer {
public:
    virtual ~TextMeasurer() = default;
    virtual int Width(std::string_view text) = 0;
    // The larger of the font's height and the height of "." in it.
    virtual int FontHeight() = 0;
};

struct PrintStamp {
    unsigned year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

struct DrawOp {
    int x = 0, y = 0;
    std::string text;
    bool rightAligned = false; // x is the right edge
    int tabStop = 0;           // > 0: tabs expand to multiples of it from x
};

struct PrintedPage {
    int number = 0;
    size_t start = 0;
    std::vector<DrawOp> ops;
};

struct PrintInput {
    std::string_view text;
    bool selectionOnly = false;
    size_t selStart = 0, selEnd = 0;
    std::string docTitle;
    int tabWidth = 8; // characters
    PrintSetup setup;
    PrinterMetrics printer;
    PrintStamp stamp;
};

extern const char kPrintTitle[]; // "Tambrix V6.3"

class PrintLayout {
public:
    PrintLayout(const PrintInput& in, TextMeasurer& m);
    // False when the text area holds no line or no character.
    bool Usable() const { return usable_; }
    int LinesPerPage() const { return linesPerPage_; }
    int LineHeight() const { return lineHeight_; }
    // Lays out page n from start; returns where the next page starts.
    size_t PrintPage(int n, size_t start, std::vector<DrawOp>& ops);
    bool ContinueLine() const { return continueLine_; }
    size_t End() const { return end_; }
    // The whole run: every page until the next start reaches the end.
    std::vector<PrintedPage> PrintAll();
    // Width of a line with tabs expanded.
    int TabbedWidth(std::string_view s) const;
    // The longest prefix of s fitting in width; at least one character.
    size_t FitLine(std::string_view s, int width) const;

private:
    const PrintInput& in_;
    TextMeasurer& m_;
    bool usable_ = false;
    bool continueLine_ = false;
    int lineHeight_ = 1, linesPerPage_ = 0;
    int left_ = 0, top_ = 0, right_ = 0, bottom_ = 0;
    int column_ = 0, tabStop_ = 0;
    size_t end_ = 0;
    int headerLines_ = 0;
};

} // namespace tambrix
