// Statement error words: the high byte is the error number the listing
// prints, the low byte the column rule the analyzer applies. The passes'
// own failures are in passerror.h.
#pragma once

#include <cstdint>

namespace tx::stmterr {

// Emission side.
constexpr uint16_t kErrNotHere = 0x6B4C;       // 76: executable code outside a procedure
constexpr uint16_t kErrUndefined = 0x601D;     // 29: label never defined
constexpr uint16_t kErrNoParamBlock = 0x6826;  // 38
constexpr uint16_t kErrNoData = 0x7D5A;        // 90: RESTORE finds no DATA
constexpr uint16_t kErrOpenProc = 0x671F;      // 31: procedure without its end

// The rule machine's own.
constexpr uint16_t kErrNotInMode = 0x6D02, kErrNotInDecl = 0x7E02, kErrNoStart = 0x0502,
                   kErrLabelTwice = 0x661E, kErrStackFull = 0x7A59, kErrBadOpcode = 0x5A1B;

}  // namespace tx::stmterr
