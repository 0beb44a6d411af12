// Lengths of i386 instructions (32-bit code), enough to walk a straight run
// of code the way the emulator's translator does.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tx::runner {

struct InsnInfo {
    size_t length = 0;          // 0: not decoded (unknown or cut off)
    bool endsBlock = false;     // a jump, call, return, interrupt or hlt
    bool farRegister = false;   // FF /3 or /5 with a register operand: #UD
};

InsnInfo DecodeInsn(const uint8_t* code, size_t size);

} // namespace tx::runner
