// A text laid out for printing in a fixed-pitch font: tabs expanded to
// stops every 8 columns, lines wrapped at the page width without splitting
// a double-byte character, then cut into pages.
#pragma once

#include <string>
#include <vector>

namespace fw {

// Lines end at CR LF, LF or a lone CR. columns and linesPerPage are at
// least 1. An empty text is one empty page.
std::vector<std::vector<std::string>> LayoutTextPages(const std::string& text, int columns,
                                                      int linesPerPage);

}  // namespace fw
