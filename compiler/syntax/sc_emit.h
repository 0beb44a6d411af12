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
constexpr uint16_t kErrNotHere = 0x6B4C;       // 76: executable code outside a procedure
constexpr uint16_t kErrUndefined = 0x601D;     // 29: label never defined
constexpr uint16_t kErrNoParamBlock = 0x6826;  // 38
constexpr uint16_t kErrNoData = 0x7D5A;        // 90: RESTORE finds no DATA
constexpr uint16_t kErrOpenProc = 0x671F;      // 31: procedure without its end

}  // namespace txsc
