// Rules of the project frame's commands that need no window: whether the
// program is out of date, the text searches of the editor and the values
// of the page setup.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "optrules.h"

namespace tambrix {

// A file's modification time; empty when the file does not exist.
using FileTime = std::optional<int64_t>;

struct ModuleTimes {
    FileTime source;
    FileTime object;
};

struct BuildTimes {
    FileTime program;
    FileTime project;     // .mak
    FileTime environment; // .bet
    std::vector<ModuleTimes> modules;
    FileTime resourceScript;
    FileTime resource;    // .res
};

struct OutOfDate {
    bool rebuild = false;
    bool programMissing = false;
};

// Only a strictly later time counts as newer.
OutOfDate CheckOutOfDate(const BuildTimes& t);

// A selection in the editor's text (byte positions, CR LF line ends).
struct TextSel {
    size_t start = 0;
    size_t end = 0;
};

// The next match below the caret (one character after a selection's
// start, so an overlapping match is found too); no wrap around.
std::optional<TextSel> FindDown(std::string_view text, TextSel sel, std::string_view what, bool matchCase);
// The right-most match ending left of the caret (a selection's end less one).
std::optional<TextSel> FindUp(std::string_view text, TextSel sel, std::string_view what, bool matchCase);
// One replacement: the next match from the selection's end is replaced.
// Returns false (text unchanged) with an empty search text or no match;
// on a match sel becomes the replaced text.
bool ReplaceNext(std::string& text, TextSel& sel, std::string_view what, std::string_view with, bool matchCase);

// Page setup: a margin in hundredths of a millimetre as the box shows it.
std::string MarginText(int32_t hundredthsMm);
// The size row for a stored size text: the row with that text, else the
// last row v with previous < value <= v, else row 0 (-1 with no rows).
int PageSizeRowFor(const std::vector<SizeRow>& rows, const std::string& sizeText);
// The print font's size in tenths of a point: the text as a decimal, x 10.
int32_t SizeTextTenths(const std::string& sizeText);

} // namespace tambrix
