#include "printlayout.h"
#include "dbcs.h"

#include <algorithm>
#include <cstdio>

namespace tambrix {

const char kPrintTitle[] = "Tambrix V6.3";

namespace {

int ToHmm(int v, int dpi) { return dpi > 0 ? static_cast<int>(int64_t(v) * 2540 / dpi) : 0; }
int ToDev(int v, int dpi) { return static_cast<int>(int64_t(v) * dpi / 2540); }

size_t LineStart(std::string_view t, size_t pos) {
    while (pos > 0 && t[pos - 1] != '\n')
        --pos;
    return pos;
}

// End of the line's text (before CR LF) and start of the next line.
void LineEnds(std::string_view t, size_t from, size_t& textEnd, size_t& next) {
    size_t n = t.find('\n', from);
    if (n == std::string_view::npos) {
        textEnd = next = t.size();
        if (textEnd > from && t[textEnd - 1] == '\r')
            --textEnd;
        return;
    }
    next = n + 1;
    textEnd = n;
    if (textEnd > from && t[textEnd - 1] == '\r')
        --textEnd;
}

} // namespace

PrintLayout::PrintLayout(const PrintInput& in, TextMeasurer& m) : in_(in), m_(m) {
    const auto& p = in.printer;
    const auto& s = in.setup;
    int physW = ToHmm(p.physWidth, p.dpiX), physH = ToHmm(p.physHeight, p.dpiY);
    int minL = ToHmm(p.offsetX, p.dpiX), minT = ToHmm(p.offsetY, p.dpiY);
    int minR = physW - minL - ToHmm(p.printWidth, p.dpiX);
    int minB = physH - minT - ToHmm(p.printHeight, p.dpiY);
    int lm = std::max(s.left, minL), tm = std::max(s.top, minT);
    int rm = std::max(s.right, minR), bm = std::max(s.bottom, minB);
    left_ = ToDev(lm, p.dpiX);
    top_ = ToDev(tm, p.dpiY);
    right_ = left_ + ToDev(physW - rm - lm, p.dpiX);
    bottom_ = top_ + ToDev(physH - bm - tm, p.dpiY);

    lineHeight_ = std::max(m_.FontHeight(), 1);
    headerLines_ = ((s.title || s.pageNo) ? 1 : 0) + ((s.fileName || s.time || s.date) ? 1 : 0);
    int lines = (bottom_ - top_) / lineHeight_ - headerLines_ - 1;
    linesPerPage_ = std::max(lines, 0);
    column_ = left_ + (s.lineNo ? m_.Width("999999999") : 0);
    tabStop_ = std::max(1, m_.Width(std::string(std::max(in.tabWidth, 1), '.')));

    end_ = in.text.size();
    if (in.selectionOnly) {
        end_ = std::min(in.selEnd, in.text.size());
        // Only a trailing line end is left out.
        if (end_ > in.selStart && in.text[end_ - 1] == '\n')
            --end_;
        if (end_ > in.selStart && in.text[end_ - 1] == '\r')
            --end_;
    }
    usable_ = linesPerPage_ > 0 && right_ - (column_ + 5) > 0;
}

int PrintLayout::TabbedWidth(std::string_view s) const {
    int x = 0;
    size_t b = 0;
    for (;;) {
        size_t t = s.find('\t', b);
        x += m_.Width(s.substr(b, t == std::string_view::npos ? std::string_view::npos : t - b));
        if (t == std::string_view::npos)
            return x;
        x = (x / tabStop_ + 1) * tabStop_;
        b = t + 1;
    }
}

size_t PrintLayout::FitLine(std::string_view s, int width) const {
    size_t best = 0, i = 0;
    while (i < s.size()) {
        size_t n = i + ((tx::IsSjisLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size()) ? 2 : 1);
        if (TabbedWidth(s.substr(0, n)) > width)
            break;
        best = i = n;
    }
    if (best == 0 && !s.empty())
        best = (tx::IsSjisLeadByte(static_cast<unsigned char>(s[0])) && s.size() > 1) ? 2 : 1;
    return best;
}

size_t PrintLayout::PrintPage(int n, size_t start, std::vector<DrawOp>& ops) {
    const auto& s = in_.setup;
    const auto& t = in_.text;
    int y = top_;
    char buf[64];
    if (s.title || s.pageNo) {
        if (s.title)
            ops.push_back({left_, y, kPrintTitle});
        if (s.pageNo) {
            std::snprintf(buf, sizeof buf, "Page %d", n);
            ops.push_back({right_, y, buf, true});
        }
        y += lineHeight_;
    }
    if (s.fileName || s.time || s.date) {
        if (s.fileName)
            ops.push_back({left_, y, in_.docTitle});
        std::string right;
        const auto& st = in_.stamp;
        if (s.time) {
            std::snprintf(buf, sizeof buf, "%02u:%02u:%02u", st.hour, st.minute, st.second);
            right = buf;
        }
        if (s.date) {
            std::snprintf(buf, sizeof buf, "%4u/%02u/%02u", st.year, st.month, st.day);
            right += (right.empty() ? "" : "  ") + std::string(buf);
        }
        if (!right.empty())
            ops.push_back({right_, y, right, true});
        y += lineHeight_;
    }
    if (headerLines_ > 0)
        y += lineHeight_;

    int textX = column_ + 5;
    int width = right_ - textX;
    int used = 0;
    size_t pos = std::min(start, t.size());
    // Line numbers count from the text's start.
    int lineNo = 1 + static_cast<int>(std::count(t.begin(), t.begin() + LineStart(t, pos), '\n'));
    while (used < linesPerPage_) {
        size_t textEnd, next;
        LineEnds(t, LineStart(t, pos), textEnd, next);
        size_t from = continueLine_ ? pos : LineStart(t, pos);
        if (s.lineNo && !continueLine_) {
            std::snprintf(buf, sizeof buf, "%d:", lineNo);
            ops.push_back({column_, y, buf, true});
        }
        std::string_view rest = t.substr(from, textEnd - from);
        if (rest.empty()) {
            y += lineHeight_;
            ++used;
        }
        while (!rest.empty() && used < linesPerPage_) {
            size_t k = FitLine(rest, width);
            ops.push_back({textX, y, std::string(rest.substr(0, k)), false, tabStop_});
            rest.remove_prefix(k);
            from += k;
            y += lineHeight_;
            ++used;
        }
        if (!rest.empty()) {
            continueLine_ = true;
            return from;
        }
        continueLine_ = false;
        pos = next;
        ++lineNo;
        if (pos >= end_ || pos >= t.size())
            return std::min(pos, t.size());
    }
    return pos;
}

std::vector<PrintedPage> PrintLayout::PrintAll() {
    std::vector<PrintedPage> pages;
    if (!usable_)
        return pages;
    continueLine_ = false;
    size_t start = in_.selectionOnly ? std::min(in_.selStart, in_.text.size()) : 0;
    for (int n = 1;; ++n) {
        PrintedPage pg;
        pg.number = n;
        pg.start = start;
        size_t next = PrintPage(n, start, pg.ops);
        pages.push_back(std::move(pg));
        if (next >= end_ || next <= start)
            break;
        start = next;
    }
    return pages;
}

} // namespace tambrix
