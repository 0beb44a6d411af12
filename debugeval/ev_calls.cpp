// Intrinsic function calls: the function table, the argument area, the
// generic call and the handlers of the functions that need their own.
#include <cstring>
#ifndef TXEV_FREESTANDING
#include <cmath>
#endif

#include "ev_routines.h"
#include "ev_state.h"

namespace txev {

namespace {

enum Handler : uint8_t {
  kHNone, kHGeneric, kHFloat, kHToInt, kHToLng, kHToByt, kHLength, kHAddress, kHArray,
  kHByType, kHByTypeThen, kHCounted, kHSubstring,
};

struct Entry {
  uint16_t ordinal;
  Handler handler;
};

// Handler kinds by runs of function codes; the routines come from
// ev_routines.h.
struct Run {
  uint8_t first;
  uint8_t count;
  Handler handler;
};

constexpr Run kRuns[] = {
    {0x00, 9, kHGeneric}, {0x10, 2, kHFloat}, {0x12, 1, kHGeneric}, {0x13, 1, kHFloat},
    {0x14, 1, kHToInt}, {0x15, 1, kHToLng}, {0x16, 3, kHGeneric}, {0x19, 2, kHFloat},
    {0x1B, 1, kHGeneric}, {0x1C, 1, kHFloat}, {0x1D, 2, kHGeneric}, {0x1F, 1, kHFloat},
    {0x20, 2, kHGeneric}, {0x22, 4, kHFloat}, {0x26, 3, kHGeneric}, {0x2D, 1, kHToByt},
    {0x2E, 8, kHGeneric}, {0x36, 1, kHLength}, {0x38, 1, kHGeneric}, {0x39, 1, kHAddress},
    {0x3A, 1, kHGeneric}, {0x40, 3, kHGeneric}, {0x50, 5, kHGeneric}, {0x55, 1, kHArray},
    {0x80, 5, kHGeneric}, {0x90, 8, kHGeneric}, {0x99, 1, kHByType}, {0xA0, 8, kHGeneric},
    {0xB0, 7, kHGeneric}, {0xC0, 1, kHCounted}, {0xC3, 2, kHSubstring}, {0xC5, 1, kHByTypeThen},
};

struct Routine {
  uint8_t code;
  uint16_t ordinal;
};
#define TXEV_ROW(code, ordinal) {code, ordinal},
constexpr Routine kRoutines[] = {TXEV_ROUTINES(TXEV_ROW)};
#undef TXEV_ROW

Entry Lookup(uint8_t code) {
  Entry e{0, kHNone};
  for (const Run& r : kRuns)
    if (code >= r.first && code < r.first + r.count) e.handler = r.handler;
  for (const Routine& r : kRoutines)
    if (r.code == code) e.ordinal = r.ordinal;
  return e;
}

// Type variants of the by-type functions, in the order BYT INT LNG SNG DBL.
#define TXEV_ITEM(ordinal) ordinal,
constexpr uint16_t kStrVariants[] = {TXEV_STR_VARIANTS(TXEV_ITEM)};
constexpr uint16_t kFormatVariants[] = {TXEV_FORMAT_VARIANTS(TXEV_ITEM)};
#undef TXEV_ITEM
// Base type 0-4 to the variant index.
constexpr uint8_t kVariantOf[5] = {1, 2, 3, 4, 0};

// The three functions the processor computes itself.
#ifdef TXEV_FREESTANDING
double Cosine(double x) { asm("fcos" : "+t"(x)); return x; }
double Sine(double x) { asm("fsin" : "+t"(x)); return x; }
double SquareRoot(double x) { asm("fsqrt" : "+t"(x)); return x; }
#else
double Cosine(double x) { return std::cos(x); }
double Sine(double x) { return std::sin(x); }
double SquareRoot(double x) { return std::sqrt(x); }
#endif

void ExpectCallEnd(EvalState& s) {
  if (s.Op(s.cur) != kOpCallEnd) Fail(kErrPcode);
  ++s.cur;
}

// Pops an argument of `type` and places it: a word, or DBL onto the
// floating stack; strings stay on the string stack.
void PlaceTyped(EvalState& s, uint8_t type) {
  uint8_t base = BaseType(type);
  if (base == kTInt) {
    s.PlaceArg(static_cast<uint32_t>(static_cast<int32_t>(s.PopInt())));
  } else if (base == kTByt) {
    uint8_t b;
    s.Pop(kTByt, &b);
    s.PlaceArg(b);
  } else if (base == kTLng || base == kTSng || base == kTAddr) {
    uint32_t w;
    s.Pop(base, &w);
    s.PlaceArg(w);
  } else if (base == kTDbl) {
    double d = s.PopDbl();
    s.rt.FpLoad(kTDbl, &d);
  } else if (!IsStringType(base)) {
    Fail(kErrType);
  }
}

// Pushes a routine's result by the call's result type.
void PushResult(EvalState& s, uint8_t type, uint32_t eax) {
  uint8_t base = BaseType(type);
  if (base == kTInt || base == kTLng || base == kTByt) {
    s.Push(type, &eax);   // little-endian: the low bytes of EAX
  } else if (base == kTSng || base == kTDbl) {
    uint8_t v[8];
    s.rt.FpStore(type, v);
    s.Push(type, v);
  } else if (!IsStringType(base)) {
    Fail(kErrFunction);
  }
}

uint32_t CallPlaced(EvalState& s, uint16_t ordinal, uint32_t first) {
  uint32_t eax = s.rt.CallRoutine(ordinal, s.args + first, s.argCount - first);
  s.argCount = first;
  return eax;
}

// An argument that must be a variable may come bare or as a 0xB0 program.
bool OpenSingle(EvalState& s) {
  if (s.Op(s.cur) != kOpSingle) return false;
  ++s.cur;
  return true;
}
void CloseSingle(EvalState& s, bool opened) {
  if (!opened) return;
  if (s.Op(s.cur) != kOpEnd) Fail(kErrPcode);
  ++s.cur;
}

void FloatFunction(EvalState& s, uint8_t code, const Entry& e, uint8_t resultType) {
  uint8_t type = s.OpByte(s.cur, 1);
  s.RunProgram();
  if (!IsNumberType(type)) Fail(kErrType);
  uint8_t v[8];
  s.Pop(type, v);
  s.rt.FpLoad(type, v);
  if (e.ordinal != 0) {
    s.rt.CallRoutine(e.ordinal, nullptr, 0);
  } else {
    double x;
    s.rt.FpStore(kTDbl, &x);
    x = code == 0x13 ? Cosine(x) : code == 0x23 ? Sine(x) : SquareRoot(x);
    s.rt.FpLoad(kTDbl, &x);
  }
  s.rt.FpCheck();
  if (!IsNumberType(resultType)) Fail(kErrFunction);
  s.rt.FpStore(resultType, v);
  s.Push(resultType, v);
}

void ToType(EvalState& s, uint8_t target) {
  size_t before = s.depth;
  s.RunProgram();
  // A string argument leaves nothing here; the top would be someone else's.
  if (s.depth <= before) Fail(kErrType);
  StackEntry e = s.PopRaw();
  if (BaseType(e.type) == target) {
    s.stack[s.depth++] = e;
    return;
  }
  uint8_t v[8];
  s.Convert(e, target, v);
  s.Push(target, v);
}

// Returns false when the length is known without the routine (pushed).
bool LengthArgument(EvalState& s) {
  uint8_t start = s.Op(s.cur);
  if (start == kOpProgram) {
    s.RunProgram();
    return true;
  }
  if (start != kOpSingle) Fail(kErrPcode);
  ++s.cur;
  uint8_t op = s.Op(s.cur);
  bool routine = true;
  if (op == kOpConst) {
    s.PushConstant();
  } else if (op != kOpVar && op != kOpArray) {
    Fail(kErrPcode);
  } else if (IsStringType(s.OpByte(s.cur, 1)) && s.OpByte(s.cur, 1) != kTFixStr) {
    s.LoadVariable();
  } else {
    VarRef r{};
    if (!s.ResolveVariable(r)) Fail(kErrNoStorage);
    if (r.type == kTFixStr) {
      int16_t n = static_cast<int16_t>(r.extra);
      s.Push(kTInt, &n);
      routine = false;
    } else if (r.type == kTRecord) {
      int32_t n = static_cast<int32_t>(s.mem.Word32(r.extra + 4));
      s.Push(kTLng, &n);
      routine = false;
    } else if (IsStringType(r.type)) {
      s.PushVariable(r);   // a string member of a record
    } else {
      Fail(kErrType);
    }
  }
  if (s.Op(s.cur) != kOpEnd) Fail(kErrPcode);
  ++s.cur;
  return routine;
}

void ArrayFunction(EvalState& s, const Entry& e, uint8_t resultType) {
  uint32_t first = s.argCount;
  bool opened = OpenSingle(s);
  uint8_t op = s.Op(s.cur);
  uint32_t desc = s.OpWord(s.cur, 2);
  if (op != kOpWhole && op != kOpVar) Fail(kErrPcode);
  // No storage, or not an array: the function has nothing to search.
  if (desc == 0 || s.mem.Byte(desc + kDescClass) < kClassArray) Fail(kErrIllegalCall);
  VarRef r{};
  s.ResolveVariable(r);
  CloseSingle(s, opened);
  uint32_t data = s.mem.Word32(r.address + kHdrData);
  uint32_t bounds = s.mem.Word32(r.address + kHdrBounds);
  if (data == 0 || bounds == 0 || s.mem.Byte(bounds) != 1) Fail(kErrSubscript);
  if (r.type == kTFixStr) s.rt.StrPushConst(r.extra, data);
  s.PlaceArg(r.address);
  uint8_t type = s.OpByte(s.cur, 1);
  s.RunProgram();
  if (IsNumberType(type)) {
    int32_t v = s.PopLng();
    s.rt.FpLoad(kTLng, &v);
  } else if (!IsStringType(type)) {
    Fail(kErrPcode);
  }
  for (int i = 0; i < 2; ++i) {
    s.RunProgram();
    s.PlaceArg(static_cast<uint32_t>(s.PopLng()));
  }
  PushResult(s, resultType, CallPlaced(s, e.ordinal, first));
}

void ByType(EvalState& s, bool then, uint8_t resultType) {
  uint32_t first = s.argCount;
  uint8_t type = s.OpByte(s.cur, 1);
  bool program = s.Op(s.cur) == kOpProgram;
  size_t depth = s.depth;
  s.RunProgram();
  if (then && (type == kTAnyA || type == kTAnyB)) {
    // The operand's own type: a number leaves a value-stack entry, a string
    // does not; an operator program's number is taken as DBL.
    if (s.depth <= depth) type = kTStr;
    else if (program) type = kTDbl;
    else type = s.stack[s.depth - 1].type;
  }
  uint8_t base = BaseType(type);
  uint16_t routine;
  if (base <= kTByt) routine = (then ? kFormatVariants : kStrVariants)[kVariantOf[base]];
  else if (then && IsStringType(base)) routine = kFormatVariants[5];
  else Fail(kErrType);
  PlaceTyped(s, base);
  if (then) s.RunProgram();
  PushResult(s, resultType, CallPlaced(s, routine, first));
}

void Counted(EvalState& s, const Entry& e) {
  uint32_t block[1 + kArgWords];
  uint32_t values[kArgWords];
  uint32_t n = 0;
  while (s.Op(s.cur) != kOpCallEnd) {
    if (n >= kArgWords) Fail(kErrFunction);
    s.RunProgram();
    values[n++] = static_cast<uint32_t>(static_cast<int32_t>(s.PopInt()));
  }
  block[0] = n;
  for (uint32_t i = 0; i < n; ++i) block[1 + i] = values[n - 1 - i];
  s.rt.CallRoutineBlock(e.ordinal, block);
}

void Substring(EvalState& s, const Entry& e, uint8_t resultType) {
  uint32_t first = s.argCount;
  s.RunProgram();
  s.RunProgram();
  s.PlaceArg(static_cast<uint32_t>(s.PopLng()));
  if (s.Op(s.cur) == kOpOmitted) {
    ++s.cur;
    s.PlaceArg(2147483647u);
  } else {
    s.RunProgram();
    s.PlaceArg(static_cast<uint32_t>(s.PopLng()));
  }
  PushResult(s, resultType, CallPlaced(s, e.ordinal, first));
}

}  // namespace

void EvalState::PlaceArg(uint32_t word) {
  if (argCount >= kArgWords) Fail(kErrFunction);
  args[argCount++] = word;
}

void EvalState::RunCall() {
  uint32_t first = argCount;
  if (Op(cur) == kOpRefPrefix) {
    ++cur;
    uint8_t op = Op(cur);
    if (op == kOpVar || op == kOpArray || op == kOpWhole) {
      LoadVariable();
      uint32_t address;
      Pop(kTAddr, &address);
      PlaceArg(address);
    } else if (op == kOpConst) {
      ++cur;
      PlaceArg(0);
    } else {
      Fail(kErrPcode);
    }
    if (Op(cur) != kOpRefEnd) Fail(kErrPcode);
    ++cur;
    if (Op(cur) != kOpCall) Fail(kErrPcode);
  }
  uint8_t code = OpByte(cur, 1);
  uint8_t resultType = OpByte(cur, 2);
  ++cur;
  Entry e = Lookup(code);
  switch (e.handler) {
    case kHNone: Fail(kErrFunction);
    case kHFloat: FloatFunction(*this, code, e, resultType); break;
    case kHToInt: ToType(*this, kTInt); break;
    case kHToLng: ToType(*this, kTLng); break;
    case kHToByt: ToType(*this, kTByt); break;
    case kHLength:
      if (LengthArgument(*this)) {
        int16_t n = static_cast<int16_t>(CallPlaced(*this, e.ordinal, first));
        Push(kTInt, &n);
      }
      break;
    case kHAddress: {
      bool opened = OpenSingle(*this);
      VarRef r{};
      if (!ResolveVariable(r)) Fail(kErrNoStorage);
      CloseSingle(*this, opened);
      int32_t a = static_cast<int32_t>(r.address);
      Push(kTLng, &a);
      break;
    }
    case kHArray: ArrayFunction(*this, e, resultType); break;
    case kHByType: ByType(*this, false, resultType); break;
    case kHByTypeThen: ByType(*this, true, resultType); break;
    case kHCounted: Counted(*this, e); break;
    case kHSubstring: Substring(*this, e, resultType); break;
    case kHGeneric:
      while (Op(cur) != kOpCallEnd) {
        uint8_t type = OpByte(cur, 1);
        RunProgram();
        PlaceTyped(*this, type);
      }
      PushResult(*this, resultType, CallPlaced(*this, e.ordinal, first));
      break;
  }
  argCount = first;   // a prefix word a handler did not take
  ExpectCallEnd(*this);
}

}  // namespace txev
