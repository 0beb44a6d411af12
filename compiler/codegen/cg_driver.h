// The code generator pass: the phases of one compilation and the crash
// report. CgCompile is what the library's CG_CmpFil runs.
#pragma once

#include <cstdint>
#include <string>

#include "cg_state.h"

namespace txcg {

// Runs phases 1-8; 1 when the object file was written, 0 after the error
// was stored in the parameter block.
int CgCompile(CmpFilParam *param);

// Phase 1: options and names from the parameter block.
void ReadParam(CgState &st, const CmpFilParam &param);
// Phase 3: object file, sections, common symbols, code buffer, fixups.
void InitCodeGen(CgState &st);
// Stores the code and detail; for the object file also its name.
void SetCgError(CmpFilParam *param, uint32_t code, uint32_t detail, const std::string &objectPath);

// What the crash message names: the running phase, the module file name and
// the line being generated. False when no compilation is running.
bool CgCrashInfo(int &phase, std::string &moduleFile, unsigned &line);
// The crash message, in code page 932.
std::string FormatCrashMessage(int phase, const std::string &moduleFile, unsigned line);
extern const char kCrashTitle[];

} // namespace txcg
