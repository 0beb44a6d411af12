// The breakpoint list's rows and what its OK writes back, and the help of
// the run-time error dialog: the rules of the two dialogs without a window.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "dbg_engine.h"

namespace txdbg {

// One row of the list: its three column texts and what it carries.
struct BreakListRow {
    std::string module;  // "ﾓｼﾞｭｰﾙ名"
    std::string number;  // "通番号": "%d E" or "%d D"
    std::string count;   // "回数": "%d-%d"
    bool set = true;     // bit 15 of the flags
    uint64_t frame = 0;
    uint64_t address = 0;
};

std::string BreakRowNumber(uint32_t line, bool disabled);
std::string BreakRowCount(uint32_t pass, uint32_t remaining);
// The rows of every user breakpoint, in line order.
std::vector<BreakListRow> BreakListRows(const DebugEngine& engine);

// Column widths for a list of this client width: a quarter q of it, the
// first column 2q - 1 wide, the others q - 1.
struct BreakListWidths {
    int module, number, count;
};
BreakListWidths BreakListColumnWidths(int clientWidth);

// OK: the deleted rows' lines lose their breakpoints; every remaining row
// is written back into the line at its address.
void ApplyBreakList(DebugEngine& engine, const std::vector<uint64_t>& deleted, const std::vector<BreakListRow>& rows);

// Help for a run-time error: the error number, plus 99000 for 1000-1018;
// the reference file beside the application's help file.
uint32_t RuntimeErrorHelpContext(uint32_t error);
std::string RuntimeErrorHelpFile(const std::string& appHelpFile);

}  // namespace txdbg
