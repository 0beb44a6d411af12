// Handlers of the graphics statements' rules.
#pragma once

namespace txsc {

struct ScPass;

// Slot 130: LINE's box word, B or BF, written as a plain name: its keyword
// item {10, 91} or {10, 93}; any other token is status 4.
void SC_BoxWrd(ScPass &p);

}  // namespace txsc
