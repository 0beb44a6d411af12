// The emission side of the pass as the driver calls it: the work files,
// the intermediate file, the listings and the tables. The driver owns the
// order of the calls; everything behind them lives in the emission files.
#pragma once

#include <cstdint>
#include <string>

namespace txsc {

struct ScPass;

// After the inputs are open: creates the work files (failures are fatal
// with 0x205/0x206) and writes the header placeholder and the
// runtime-environment block to the intermediate file.
void OutputOpen(ScPass &p);
// Listing lines of the statement just read (source and expanded source).
void OutputListLine(ScPass &p);
// Emits the analysed items of an accepted line into the work file; returns
// a statement error word (for example 76) or 0.
uint16_t OutputStatement(ScPass &p);
// After the last statement: the cross reference, when it is requested.
void OutputXref(ScPass &p);
// The count line of both listings. Called once every check that can report
// an error has run (open blocks, undefined labels, RESTORE without data),
// so that it counts them all.
void OutputCountLine(ScPass &p);
// The tables (and the procedure still open at the end), the statement
// stream, and last the tables' copy and the final header. Statement errors
// found here are counted by ErrMsg.
void OutputTables(ScPass &p);
void OutputStream(ScPass &p);
void OutputFinish(ScPass &p);
// Closes every stream of the library and deletes the work files; used at
// the end and by the fatal exit. Safe to call twice.
void OutputClose(ScPass &p);
// The name of the work file with this detail code (0x205, 0x206) while it
// is open; empty otherwise.
std::string OutputWorkFileName(const ScPass &p, uint32_t detail);

// With the cross reference requested: appends a reference record (flag 0
// a definition, 1 a use) to a record's chain {first, last} in the
// cross-reference work file. Does nothing otherwise.
void OutputReference(ScPass &p, uint32_t chain[2], uint8_t flag);

// 1 when the source name as given holds .SUB or .FRM (any case): the
// module flag of the intermediate file.
uint8_t ModuleFlagOf(const char *srcName);

}  // namespace txsc
