// What the expression, intrinsic-call and assignment generators share:
// value classes on the way, variable tokens, and the memory operand of a
// variable once its address is known.
#pragma once

#include <cstdint>

#include "cg_gen.h"

namespace txcg {

// ALU register forms: opcode /r with reg = EAX, rm = EDX.
constexpr uint8_t kAddRegRm = 0x03;
constexpr uint8_t kSubRegRm = 0x2B;
constexpr uint8_t kOrRegRm = 0x0B;
constexpr uint8_t kCmpRegRm = 0x3B;

// Short jumps taken when a comparison kOpEq-kOpGe is false.
constexpr uint8_t kFalseJccInt[6] = {kJne, kJe, kJge, kJle, kJg, kJl};
constexpr uint8_t kFalseJccFloat[6] = {kJne, kJe, kJbe, kJae, kJb, kJa};

inline bool IsIntClass(uint8_t c) { return c == kClsInt || c == kClsLng || c == kClsByte; }
inline bool IsPushedClass(uint8_t c) { return c >= kClsIntPushed && c <= kClsBytePushed; }
inline uint8_t Unpushed(uint8_t c) { return c == kClsIntPushed ? kClsInt : c == kClsLngPushed ? kClsLng : kClsByte; }
inline uint8_t Pushed(uint8_t c) { return c == kClsInt ? kClsIntPushed : c == kClsLng ? kClsLngPushed : kClsBytePushed; }

inline bool IsVarToken(uint8_t k) { return k == kTokVar || k == kTokElement || k == kTokArray || k == kTokArrayAddr; }
inline bool IsFuncToken(uint8_t k) { return (k >= kTokIntrinsic && k <= kTokLibFunc) || k == kTokGroup; }

// Where a variable's bytes are, once any address it needs is in EBX.
enum MemMode { kMemAbs, kMemFrame, kMemEbx };
struct Mem {
    MemMode mode;
    uint32_t symbol;
    int32_t disp;
};

// Prepares the memory operand of d (its address into EBX where needed);
// absAllowed lets module and common variables be addressed directly.
Mem PrepareMem(Gen &g, const OperandDesc &d, bool absAllowed);
void FpLoad(Gen &g, const Mem &m, int type);
void FpStore(Gen &g, const Mem &m, int type);
void IntLoad(Gen &g, const Mem &m, uint8_t type, Reg r);
void IntStore(Gen &g, const Mem &m, uint8_t type);
int IntSize(uint8_t type);
bool IsNumericType(uint8_t t);  // loaded onto the FPU or into EAX, not a string
const char *FldRoutine(uint8_t cls);  // the routine that loads a class into ST0

} // namespace txcg
