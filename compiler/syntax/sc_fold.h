// Folding of operators on constants, with the overflow rules of constant
// expressions, and the converters that fit a constant to its target type.
// Every function answers with a status byte (0 good), the statement error
// the caller reports.
#pragma once

#include <cstdint>

namespace txsc {

// A constant value while it is folded. INT and BYT values are held in `l`.
struct Cst {
    uint8_t type = 0;
    int32_t l = 0;
    float s = 0;
    double d = 0;

    static Cst Int(int32_t v) { Cst c; c.type = 0; c.l = v; return c; }
    static Cst Lng(int32_t v) { Cst c; c.type = 1; c.l = v; return c; }
    static Cst Sng(float v) { Cst c; c.type = 2; c.s = v; return c; }
    static Cst Dbl(double v) { Cst c; c.type = 3; c.d = v; return c; }
    static Cst Byt(int32_t v) { Cst c; c.type = 4; c.l = v; return c; }
    bool operator==(const Cst &o) const;
};

// Fold statuses.
namespace fs {
constexpr uint8_t kOk = 0, kBadOp = 11, kBadToken = 12, kTypeMismatch = 13,
                  kOpenParen = 0x27, kRoutine = 58, kOverflow = 60, kZeroDiv = 70,
                  kResultType = 71, kNoOperand = 81, kBadPrefix = 87, kUnknownOp = 89,
                  kBadTarget = 90, kBadConst = 91, kConvert = 92, kBadSource = 73;
}

// Precedence of a binary operator code in constant expressions, 0 when the
// code is not an operator there.
int OpPrecedence(uint8_t op);

uint8_t FoldUnary(uint8_t op, Cst &a);
uint8_t FoldBinary(uint8_t op, Cst &a, Cst b);

// The converters of the operand constant check: target 4, 0, 1, 2, 3, 8, 9.
// The result's type is the target (0 for 8, 1 for 9).
uint8_t ConvertConst(Cst &c, uint8_t target);

// Bytes of a constant's value by type (0 when the type holds none).
int ConstValueSize(uint8_t type);
void StoreConst(const Cst &c, uint8_t out[8]);
Cst LoadConst(uint8_t type, const uint8_t in[8]);

}  // namespace txsc
