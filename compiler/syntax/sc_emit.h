// Statement code emission: turns the analysed items of one accepted line
// into one statement record of the work file. Most items are copied; items
// whose values are known only once the tables are built get their room now
// (the final pass, sc_stream.cpp, fills it); declarations produce nothing;
// the selection and counting-loop heads are rearranged into assignments and
// tests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "sc_defs.h"
#include "stmterror.h"

namespace txsc {

struct EmitContext {
    const uint8_t (*slots)[8] = nullptr;  // the line's constant slots
    uint8_t moduleFlag = 0;               // .SUB/.FRM module
    uint32_t proc = 0;                    // procedure open at this line, 0 outside
    uint16_t line = 0;                    // current main-source line
};

struct EmitResult {
    uint16_t error = 0;        // statement error word (76), 0 when none
    bool placement = false;    // a selection head was emitted
};

// Builds the record for items[0..] up to the end item F1 into `record`;
// leaves it empty when the line produced nothing to write. A constant of a
// type without a place in the stream throws OutFatal 90.
EmitResult EmitLine(const Item *items, int count, const EmitContext &ctx, std::vector<uint8_t> *record);

// Length of a work-file item: the stream length, except 00 7B and A2
// (always 10) and A3 (7). 0 when it cannot be told from `avail` bytes.
uint32_t WorkItemLength(const uint8_t *p, size_t avail);

// Error words of the emission side.
using tx::stmterr::kErrNotHere, tx::stmterr::kErrUndefined, tx::stmterr::kErrNoParamBlock,
    tx::stmterr::kErrNoData, tx::stmterr::kErrOpenProc;

}  // namespace txsc
