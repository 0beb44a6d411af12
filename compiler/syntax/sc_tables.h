// The ten tables of the intermediate file, built after the last statement
// from the symbol table, the DATA list and the string constants. Each
// builder appends its table to the statement work file and records the
// offset of every entry, which the final pass over the statement records
// (sc_stream.cpp) then writes in place of the symbol handles.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "intermediate.h"

namespace txsc {

struct ScPass;
class WorkFile;

// What the final pass needs of one symbol, by symbol handle.
struct SymOffsets {
    uint32_t name = 0;        // table 0 entry (procedures)
    uint32_t debug = 0;       // table 6 entry (procedures)
    uint32_t result = 0;      // table 6 result record (functions)
    uint32_t defaults = 0;    // table 9 parameter-default block (module routine)
    uint32_t data = ifile::kNoData;  // first DATA item of a procedure
    uint32_t record = 0;      // variable record in table 3, 4 or 6
    uint32_t slot = 0;        // table 5 slot of a module array
    uint32_t bounds = 0;      // table 8 entry of an array
    uint32_t extName = 0;     // table 2 head of a library routine's name
    uint32_t libName = 0;     // table 2 head of its library's name
    uint8_t form = 0;         // a routine's call form
    uint8_t cls = 0;          // storage class a variable token carries
};

struct LabelOffsets {
    bool defined = false;
    uint16_t stmt = 0;
    uint32_t name = 0;        // table 0 entry
};

struct DataRef {
    uint16_t stmt;
    uint32_t proc;
    uint32_t offset;
};

struct TableState {
    std::vector<SymOffsets> sym;       // [handle - 1]
    std::vector<LabelOffsets> label;   // [handle - 1]
    std::vector<uint32_t> member;      // table 7 member record, [handle - 1]
    std::vector<uint32_t> type;        // table 7 entry, [handle - 1]
    std::vector<uint32_t> string;      // table 2 head, [handle - 1]
    std::vector<DataRef> data;         // DATA items in statement order
    std::vector<uint32_t> block;       // table 9 entry of a parameter block, [handle - 1]
    std::vector<uint8_t> blockDefined; // whether DEF PARM built it, [handle - 1]
    std::array<uint32_t, ifile::kTableCount> size{};
    std::array<uint32_t, ifile::kTableCount> pos{};  // in the work file
    uint32_t dataSize = 0;             // the .data image

    const SymOffsets *Sym(uint32_t h) const { return h && h <= sym.size() ? &sym[h - 1] : nullptr; }
    // A parameter block's table-9 entry; false when DEF PARM never built it.
    bool Block(uint32_t h, uint32_t *offset) const {
        if (!h || h > block.size()) return false;
        *offset = block[h - 1];
        return blockDefined[h - 1] != 0;
    }
};

// Builds every table into `work` (at its end), in the build order, filling
// `t`. Area overflows throw OutFatal (21, 22, 23, 6).
void BuildTables(ScPass &p, WorkFile &work, TableState &t);

// After the tables: the procedure still open at the end of the source.
// A module routine (kind 14) may stay open: its parameter defaults are
// appended to table 9. Any other is statement error 31 at `openLine`.
void CloseOpenProcedure(ScPass &p, WorkFile &work, TableState &t, uint16_t openLine);

}  // namespace txsc
