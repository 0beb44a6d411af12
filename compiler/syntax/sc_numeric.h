// The numeric routines behind constant folding. Floating-point faults come
// back as result codes, never as traps: 0 good, -4 division by zero, -8
// overflow or invalid operation, -1 not a number (integer conversions),
// -2 a fraction was dropped (counts as good).
#pragma once

#include <cstdint>

namespace txsc::num {

constexpr int kOk = 0, kNaN = -1, kInexact = -2, kZeroDiv = -4, kOverflow = -8;

int AddSng(float &a, float b);
int SubSng(float &a, float b);
int MulSng(float &a, float b);
int DivSng(float &a, float b);
int AddDbl(double &a, double b);
int SubDbl(double &a, double b);
int MulDbl(double &a, double b);
int DivDbl(double &a, double b);
int PowSng(float &a, float b);
int PowDbl(double &a, double b);

int MulU32(uint32_t &a, uint32_t b);
// 32-bit signed division; the one quotient that does not fit is overflow.
int DivI32(int32_t &a, int32_t b);
int ModI32(int32_t &a, int32_t b);

int NarrowDbl(float &out, double in);
int RoundSng(float &a);
int RoundDbl(double &a);
// To a 32-bit integer by round-to-nearest-even, with a range check.
int SngToLng(int32_t &out, float in);
int DblToLng(int32_t &out, double in);
// To a 16-bit integer: by rounding, and by the mantissa shift that rounds
// up on the first dropped bit (overflow when more than 16 bits are needed).
int SngToInt(int16_t &out, float in);
int DblToInt(int16_t &out, double in);
int SngToIntShift(int16_t &out, float in);
int DblToIntShift(int16_t &out, double in);

// Resets the floating-point environment at the start of the pass.
int Reset();

}  // namespace txsc::num
