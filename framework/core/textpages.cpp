#include "textpages.h"

#include "mbcs.h"

#include <algorithm>

namespace fw {

namespace {

constexpr int kTabStop = 8;

void WrapLine(const std::string& line, int columns, std::vector<std::string>& out) {
    std::string cur;
    int col = 0;
    for (size_t i = 0; i < line.size();) {
        std::string piece;
        int width;
        if (line[i] == '\t') {
            width = kTabStop - col % kTabStop;
            piece.assign(static_cast<size_t>(width), ' ');
            ++i;
        } else if (IsLeadByte932(static_cast<unsigned char>(line[i])) && i + 1 < line.size()) {
            piece = line.substr(i, 2);
            width = 2;
            i += 2;
        } else {
            piece = line.substr(i, 1);
            width = 1;
            ++i;
        }
        bool tab = line[i - 1] == '\t' && piece[0] == ' ';
        if (col + width > columns && col > 0) {
            out.push_back(cur);
            cur.clear();
            col = 0;
            if (tab)
                continue;  // the line break stands for a tab that does not fit
        }
        cur += piece;
        col += width;
    }
    out.push_back(cur);
}

}  // namespace

std::vector<std::vector<std::string>> LayoutTextPages(const std::string& text, int columns,
                                                      int linesPerPage) {
    if (columns < 1)
        columns = 1;
    if (linesPerPage < 1)
        linesPerPage = 1;
    std::vector<std::string> lines;
    size_t start = 0;
    while (true) {
        size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos) {
            if (start < text.size() || lines.empty())
                WrapLine(text.substr(start), columns, lines);
            break;
        }
        WrapLine(text.substr(start, end - start), columns, lines);
        start = end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
    }
    std::vector<std::vector<std::string>> pages;
    for (size_t i = 0; i < lines.size(); i += static_cast<size_t>(linesPerPage)) {
        size_t n = std::min(lines.size() - i, static_cast<size_t>(linesPerPage));
        pages.emplace_back(lines.begin() + static_cast<long>(i), lines.begin() + static_cast<long>(i + n));
    }
    return pages;
}

}  // namespace fw
