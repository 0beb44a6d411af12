// Named symbols of the module, export directives in .drectve, COFF line
// numbers, and the debugger entry routines of debug builds.
#pragma once

#include <cstdint>
#include <string_view>

#include "cg_state.h"

namespace txcg {

// Function symbols in the first .text; with debug information each carries
// one zeroed aux record.
uint32_t DefineFunction(CgState &st, std::string_view name, uint32_t offset);
uint32_t DefineStaticFunction(CgState &st, std::string_view name, uint32_t offset);
// A public data symbol at offset 0 of a section.
uint32_t DefinePublicData(CgState &st, std::string_view name, SectionId sec);
// An undefined external, added on first use of the name in this object.
uint32_t RefRuntimeSymbol(CgState &st, std::string_view name);

// "-export:name " or, for "?TX$..."/"?TV$..." names, "-export:alias=name ".
void AddExportDirective(CgState &st, std::string_view name);

// Line numbers (debug information only): a function-start mark, and an
// entry for the current code offset.
void AddLineMark(CgState &st, uint32_t symbol);
void AddLineEntry(CgState &st, uint16_t line);

// $BAS_DBGINIT, $BAS_DBGVALUECALC, $BAS_DBGREDRAW, $BAS_DBGEND.
void GenDebugEntries(CgState &st);

} // namespace txcg
