// Conversions of every pop, and the operators of an operator program.
#include <cmath>
#include <cstring>

#include "ev_state.h"

namespace txev {

namespace {

// The conversion routine from one base number type to another; 0 where
// the evaluator converts itself.
uint16_t ConversionRoutine(uint8_t from, uint8_t to) {
  static const uint16_t table[5][5] = {
      //  from INT      LNG           SNG           DBL           BYT
      {0, 0, kCnvSngToInt, kCnvDblToInt, 0},                  // to INT
      {0, 0, kCnvSngToLng, kCnvDblToLng, 0},                  // to LNG
      {kCnvIntToSng, kCnvLngToSng, 0, kCnvDblToSng, kCnvBytToSng},  // to SNG
      {kCnvIntToDbl, kCnvLngToDbl, kCnvSngToDbl, 0, kCnvBytToDbl},  // to DBL
      {0, 0, kCnvSngToByt, kCnvDblToByt, 0},                  // to BYT
  };
  return table[to][from];
}

int64_t IntegerOf(const StackEntry& e) {
  switch (BaseType(e.type)) {
    case kTInt: { int16_t v; std::memcpy(&v, e.value, 2); return v; }
    case kTLng: { int32_t v; std::memcpy(&v, e.value, 4); return v; }
    default: return e.value[0];   // BYT is unsigned
  }
}

}  // namespace

void EvalState::Convert(const StackEntry& e, uint8_t to, void* out) {
  if (to == kTAddr) {
    if (e.type != kTAddr) Fail(kErrType);
    std::memcpy(out, e.value, 4);
    return;
  }
  if (!IsNumberType(to) || e.type == kTAddr) Fail(kErrType);
  uint8_t from = BaseType(e.type), target = BaseType(to);
  if (from == target) {
    std::memcpy(out, e.value, ValueBytes(target));
    return;
  }
  if (uint16_t routine = ConversionRoutine(from, target)) {
    if (rt.Convert(routine, e.value, out)) Fail(kErrOverflow);
    return;
  }
  // Integer to integer: range checks, extension by sign (INT) or zero (BYT).
  int64_t v = IntegerOf(e);
  if (target == kTByt) {
    if (v < 0 || v > 255) Fail(kErrOverflow);
    uint8_t b = static_cast<uint8_t>(v);
    std::memcpy(out, &b, 1);
  } else if (target == kTInt) {
    if (v < -32768 || v > 32767) Fail(kErrOverflow);
    int16_t w = static_cast<int16_t>(v);
    std::memcpy(out, &w, 2);
  } else {
    int32_t l = static_cast<int32_t>(v);
    std::memcpy(out, &l, 4);
  }
}

namespace {

// Pops the two operands by their slot types onto the floating stack, left
// first, and takes them back as doubles for the arithmetic.
void LoadPair(EvalState& s, const uint8_t* slots, double& left, double& right) {
  if (!IsNumberType(slots[0]) || !IsNumberType(slots[1])) Fail(kErrPcode);
  uint8_t r[8], l[8];
  s.Pop(slots[1], r);
  s.Pop(slots[0], l);
  s.rt.FpLoad(slots[0], l);
  s.rt.FpLoad(slots[1], r);
  s.rt.FpStore(kTDbl, &right);
  s.rt.FpStore(kTDbl, &left);
}

// Puts a computed double through the runtime's check and pushes it as DBL.
void PushChecked(EvalState& s, double value, uint8_t* slot) {
  s.rt.FpLoad(kTDbl, &value);
  s.rt.FpCheck();
  double out;
  s.rt.FpStore(kTDbl, &out);
  s.Push(kTDbl, &out);
  *slot = kTDbl;
}

void Negate(EvalState& s, uint8_t* slot) {
  uint8_t type = *slot;
  switch (BaseType(type)) {
    case kTInt: {
      int16_t v = s.PopInt();
      // -(-32768) has no INT; wrapping would show the operand unchanged.
      if (v == INT16_MIN) Fail(kErrOverflow);
      v = static_cast<int16_t>(-v);
      s.Push(type, &v);
      break;
    }
    case kTLng: {
      int32_t v = s.PopLng();
      if (v == INT32_MIN) Fail(kErrOverflow);
      v = -v;
      s.Push(type, &v);
      break;
    }
    case kTSng: case kTDbl: {
      uint8_t v[8];
      s.Pop(type, v);
      s.rt.FpLoad(type, v);
      s.rt.FpNegate();
      s.rt.FpCheck();
      s.rt.FpStore(type, v);
      s.Push(type, v);
      break;
    }
    case kTByt: Fail(kErrOverflow);
    default: Fail(kErrPcode);
  }
}

void Complement(EvalState& s, uint8_t* slot) {
  uint8_t type = BaseType(*slot);
  if (type == kTInt) {
    int16_t v = static_cast<int16_t>(~s.PopInt());
    s.Push(kTInt, &v);
  } else if (type == kTByt) {
    uint8_t v;
    s.Pop(kTByt, &v);
    v = static_cast<uint8_t>(~v);
    s.Push(kTByt, &v);
  } else {
    int32_t v = ~s.PopLng();
    s.Push(kTLng, &v);
  }
}

void IntegerOperator(EvalState& s, uint8_t code, uint8_t* slot) {
  int32_t right = s.PopLng(), left = s.PopLng(), v = 0;
  switch (code) {
    case kIDiv: case kMod:
      if (right == 0) Fail(kErrDivZero);
      if (left == INT32_MIN && right == -1) {
        if (code == kIDiv) Fail(kErrOverflow);
        v = 0;
      } else {
        v = code == kIDiv ? left / right : left % right;   // truncating, sign of left
      }
      break;
    case kAnd: v = left & right; break;
    case kOr: v = left | right; break;
    case kXor: v = left ^ right; break;
    case kEqv: v = ~left ^ right; break;
    case kImp: v = ~left | right; break;
  }
  s.Push(kTLng, &v);
  *slot = kTDbl;   // the next operator pops it as DBL
}

void Compare(EvalState& s, uint8_t code, uint8_t* slot) {
  int order;
  if (IsNumberType(slot[0])) {
    double left, right;
    LoadPair(s, slot, left, right);
    order = left == right ? 0 : left < right ? -1 : 1;
  } else if (IsStringType(slot[0])) {
    order = s.rt.StrCompare();
  } else {
    Fail(kErrPcode);
  }
  bool truth = false;
  switch (code) {
    case kEq: truth = order == 0; break;
    case kNe: truth = order != 0; break;
    case kLt: truth = order < 0; break;
    case kGt: truth = order > 0; break;
    case kLe: truth = order <= 0; break;
    case kGe: truth = order >= 0; break;
  }
  int16_t v = truth ? -1 : 0;
  s.Push(kTInt, &v);
  *slot = kTInt;
}

}  // namespace

void EvalState::ApplyOperator(uint8_t code, uint8_t* slot) {
  switch (code) {
    case kNeg: Negate(*this, slot); return;
    case kNot: Complement(*this, slot); return;
    case kIDiv: case kMod: case kAnd: case kOr: case kXor: case kEqv: case kImp:
      IntegerOperator(*this, code, slot);
      return;
    case kEq: case kNe: case kLt: case kGt: case kLe: case kGe:
      Compare(*this, code, slot);
      return;
    case kAdd:
      if (IsStringType(slot[0])) {
        rt.StrConcat();
        slot[0] = kTStr;
        return;
      }
      break;
    case kPow: case kSub: case kMul: case kDiv: break;
    default: Fail(kErrPcode);
  }
  double left, right, value;
  if (code == kPow) {
    if (!IsNumberType(slot[0]) || !IsNumberType(slot[1])) Fail(kErrPcode);
    uint8_t r[8], l[8];
    Pop(slot[1], r);
    Pop(slot[0], l);
    rt.FpLoad(slot[0], l);
    rt.FpLoad(slot[1], r);
    rt.FpPower();
    rt.FpCheck();
    rt.FpStore(kTDbl, &value);
    Push(kTDbl, &value);
    slot[0] = kTDbl;
    return;
  }
  LoadPair(*this, slot, left, right);
  switch (code) {
    case kAdd: value = left + right; break;
    case kSub: value = left - right; break;
    case kMul: value = left * right; break;
    default:
      // The processor's zero-divide exception, which the check reports.
      if (right == 0 && left != 0) Fail(kErrDivZero);
      value = left / right;
      break;
  }
  PushChecked(*this, value, slot);
}

}  // namespace txev
