// Phase 4 (the module's code) and phase 5 (the data sections).
#pragma once

#include "cg_state.h"

namespace txcg {

// Entry symbols, then the statements; an empty stream is a single return
// (and, for a main module with debug information, the debugger routines).
void GenerateModule(CgState &st);
// The statement records of a non-empty stream.
void GenerateStatements(CgState &st);
// Resolves the fixups into .text and builds every data-section image.
void BuildDataSections(CgState &st);

} // namespace txcg
