// Phase 4 (the module's code) and phase 5 (the data sections).
#pragma once

#include <cstdint>

#include "cg_state.h"

namespace txcg {

// Entry symbols, then the statements; an empty stream is a single return
// (and, for a main module with debug information, the debugger routines).
void GenerateModule(CgState &st);
// The statement records of a non-empty stream.
void GenerateStatements(CgState &st);
// Adds a numeric constant to the pool .data$cn and returns its offset; the
// length is that of the type (0-4), else `size`. Equal bytes anywhere in
// the pool are shared.
uint32_t AddConstant(CgState &st, int type, const uint8_t *bytes, uint32_t size = 0);
// The first offset of the pool where the n bytes stand, the pool's size
// when they stand nowhere.
uint32_t FindConstant(CgState &st, const uint8_t *bytes, uint32_t n);
// Resolves the fixups into .text and builds every data-section image.
void BuildDataSections(CgState &st);

} // namespace txcg
