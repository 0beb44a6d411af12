#include "wp_producer.h"

#include <cstring>

#include "tokens.h"

namespace txwp {

using namespace txev;

namespace {

constexpr int32_t kErrSyntax = 2;
constexpr int32_t kErrTooLong = 7;

// Result types of the functions the evaluator and the runtime stand-in serve;
// any other function is produced with a DBL result and left to them.
struct FunctionType {
  uint8_t code, type;
};
constexpr FunctionType kFunctionTypes[] = {
    {0x10, kTDbl}, {0x11, kTDbl}, {0x13, kTDbl}, {0x14, kTInt}, {0x15, kTLng}, {0x1C, kTDbl},
    {0x23, kTDbl}, {0x24, kTDbl}, {0x2D, kTByt}, {0x36, kTInt}, {0x39, kTLng}, {0x99, kTStr},
    {0xC0, kTStr}, {0xC3, kTStr}, {0xC4, kTStr},
};
constexpr uint8_t kFnAddress = 0x39;
constexpr uint8_t kFnSubstringFirst = 0xC3, kFnSubstringLast = 0xC4;

// Binary operators by precedence level, lowest first.
constexpr uint8_t kLevels[][3] = {
    {kImp}, {kEqv}, {kXor}, {kOr}, {kAnd}, {},   // level 5: NOT
    {kEq, kNe, kLt}, {kAdd, kSub}, {kMod}, {kIDiv}, {kMul, kDiv},
};
constexpr int kLevelNot = 5, kLevelRelational = 6, kLevelUnary = 11;
constexpr uint8_t kConcatToken = 0x19;

struct Producer {
  const uint8_t* tokens;
  uint32_t tokenBytes;
  uint32_t at = 0;
  const char* text;
  EvalMemory& mem;
  WatchNames& names;
  uint8_t* out;
  uint32_t capacity;
  uint32_t length = 0;
  int32_t error = 0;

  bool Failed() const { return error != 0; }
  void SetError(int32_t e) {
    if (!error) error = e;
  }

  // ---- tokens ----
  const uint8_t* Tok() const {
    static const uint8_t kEndUnit[4] = {tok::kClsEnd, 0, 0, 0};
    return at + 4 <= tokenBytes ? tokens + at : kEndUnit;
  }
  uint8_t Cls() const { return Tok()[0]; }
  uint8_t Kind() const { return Tok()[1]; }
  void Next() {
    if (at + 4 <= tokenBytes) at += static_cast<uint32_t>(tok::TokenSize(tokens + at));
  }
  bool IsPunct(uint8_t kind) const { return Cls() == tok::kClsPunct && Kind() == kind; }
  bool Expect(uint8_t kind) {
    if (!IsPunct(kind)) {
      SetError(kErrSyntax);
      return false;
    }
    Next();
    return true;
  }

  // ---- output ----
  void Emit(uint8_t b) {
    if (length >= capacity) SetError(kErrTooLong);
    else out[length++] = b;
  }
  void Emit2(uint8_t a, uint8_t b) { Emit(a); Emit(b); }
  void EmitWord(uint32_t w) {
    for (int i = 0; i < 4; ++i) Emit(static_cast<uint8_t>(w >> (8 * i)));
  }
  void EmitVar(uint8_t op, uint8_t type, uint32_t desc) { Emit2(op, type); EmitWord(desc); }

  // A whole program: B1, the expression, BF; its type patched in.
  uint8_t Program() {
    uint32_t start = length;
    Emit2(kOpProgram, 0);
    uint8_t type = Expression(0);
    Emit2(kOpEnd, 0);
    if (start + 1 < length) out[start + 1] = type;
    return type;
  }

  uint8_t Expression(int level) {
    if (Failed()) return 0;
    if (level == kLevelNot) {
      if (Cls() == tok::kClsPrefix) {
        Next();
        uint8_t t = Expression(kLevelNot);
        if (!IsNumberType(t)) SetError(kErrType);
        Emit2(kOpOperator, kNot);
        t = BaseType(t);
        return t == kTInt || t == kTByt ? t : uint8_t{kTLng};
      }
      return Expression(level + 1);
    }
    if (level >= kLevelUnary) return Unary();
    uint8_t left = Expression(level + 1);
    for (;;) {
      if (Failed() || Cls() != tok::kClsOperator) return left;
      uint8_t op = Kind() == kConcatToken ? uint8_t{kAdd} : Kind();
      bool here = false;
      if (level == kLevelRelational) here = op >= kEq && op <= kGe;
      else
        for (uint8_t o : kLevels[level]) here |= o != 0 && o == op;
      if (!here) return left;
      Next();
      uint8_t right = Expression(level + 1);
      left = Combine(op, left, right);
      Emit2(kOpOperator, op);
    }
  }

  uint8_t Combine(uint8_t op, uint8_t left, uint8_t right) {
    bool strings = IsStringType(left) && IsStringType(right);
    bool numbers = IsNumberType(left) && IsNumberType(right);
    if (!strings && !numbers) {
      SetError(kErrType);
      return 0;
    }
    if (op >= kEq && op <= kGe) return kTInt;
    if (strings) {
      if (op != kAdd) SetError(kErrType);
      return kTStr;
    }
    if (op == kIDiv || op == kMod || (op >= kAnd && op <= kImp)) return kTLng;
    return kTDbl;
  }

  // Unary minus binds below ^: -2^2 is -(2^2).
  uint8_t Unary() {
    if (Cls() == tok::kClsOperator && Kind() == kSub) {
      Next();
      uint8_t t = Unary();
      if (!IsNumberType(t)) SetError(kErrType);
      Emit2(kOpOperator, kNeg);
      return t;
    }
    uint8_t left = Operand();
    while (!Failed() && Cls() == tok::kClsOperator && Kind() == kPow) {
      Next();
      uint8_t right = Operand();
      left = Combine(kPow, left, right);
      Emit2(kOpOperator, kPow);
    }
    return left;
  }

  uint8_t Operand() {
    if (Failed()) return 0;
    const uint8_t* t = Tok();
    switch (Cls()) {
      case tok::kClsConstant: {
        uint8_t type = t[1];
        if (type == tok::kTypeStr) {
          Emit2(kOpConst, kTStr);
          Emit2(t[2], t[3]);
        } else if (type <= kTByt) {
          Emit2(kOpConst, type);
          for (uint32_t i = 0; i < ValueBytes(type); ++i) Emit(t[4 + i]);
        } else {
          SetError(kErrSyntax);
        }
        Next();
        return type == tok::kTypeStr ? uint8_t{kTStr} : type;
      }
      case tok::kClsName:
      case tok::kClsNameParen: return Variable();
      case tok::kClsFunction: return Function();
      case tok::kClsPunct:
        if (Kind() == 0) {
          Next();
          uint8_t type = Expression(0);
          Expect(1);
          return type;
        }
        break;
      default: break;
    }
    SetError(kErrSyntax);
    return 0;
  }

  // Subscript programs up to the closing parenthesis, then 0x6F.
  void Subscripts() {
    for (;;) {
      uint8_t type = Program();
      if (!IsNumberType(type)) SetError(kErrType);
      if (Failed()) return;
      if (IsPunct(2)) {
        Next();
        continue;
      }
      if (!Expect(1)) return;
      break;
    }
    Emit2(kOpSubEnd, 0);
  }

  uint8_t Variable() {
    const uint8_t* t = Tok();
    bool array = Cls() == tok::kClsNameParen;
    uint32_t desc = names.Variable(text + t[2], t[3], t[1], array);
    uint8_t type = desc ? mem.Byte(desc) : Kind();
    Next();
    EmitVar(array ? kOpArray : kOpVar, type, desc);
    if (array) Subscripts();
    while (!Failed() && type == kTRecord && IsPunct(5)) {
      Next();
      const uint8_t* m = Tok();
      bool memberArray = Cls() == tok::kClsNameParen;
      if (Cls() != tok::kClsName && !memberArray) {
        SetError(kErrSyntax);
        return 0;
      }
      uint32_t mdesc = desc ? names.Member(mem.Word32(desc + kDescExtra), text + m[2], m[3]) : 0;
      if (mdesc == 0) {
        SetError(kErrSyntax);
        return 0;
      }
      Next();
      desc = mdesc;
      type = mem.Byte(mdesc);
      EmitVar(memberArray ? kOpArrayAt : kOpMember, type, mdesc);
      if (memberArray) Subscripts();
    }
    return type;
  }

  uint8_t Function() {
    uint8_t code = Kind();
    uint8_t result = kTDbl;
    for (const FunctionType& f : kFunctionTypes)
      if (f.code == code) result = f.type;
    Next();
    Emit(kOpCall);
    Emit2(code, result);
    if (IsPunct(0)) {
      Next();
      uint32_t count = 0;
      if (!IsPunct(1)) {
        for (;;) {
          if (code == kFnAddress) {
            // The address function takes the variable itself.
            Emit2(kOpSingle, 0);
            uint32_t at0 = length;
            uint8_t type = Variable();
            if (at0 < length) out[at0 - 1] = type;
            Emit2(kOpEnd, 0);
          } else {
            Program();
          }
          ++count;
          if (Failed() || !IsPunct(2)) break;
          Next();
        }
      }
      if (code >= kFnSubstringFirst && code <= kFnSubstringLast && count == 2)
        Emit2(kOpOmitted, kOmittedMark);
      Expect(1);
    }
    Emit2(kOpCallEnd, 0);
    return result;
  }
};

}  // namespace

int32_t ProduceWatchPcode(const uint8_t* tokens, uint32_t tokenBytes, const char* text,
                          EvalMemory& memory, WatchNames& names, uint8_t* out, uint32_t capacity,
                          uint32_t* length) {
  // A tokeniser error stands for the whole expression.
  for (uint32_t at = 0; at + 4 <= tokenBytes && tokens[at] != tok::kClsEnd;
       at += static_cast<uint32_t>(tok::TokenSize(tokens + at)))
    if (tokens[at] == tok::kClsError) return tokens[at + 1];
  Producer p{tokens, tokenBytes, 0, text, memory, names, out, capacity};
  p.Program();
  if (!p.Failed() && p.Cls() != tok::kClsEnd) p.SetError(kErrSyntax);
  p.Emit(kOpFinish);
  *length = p.length;
  return p.error;
}

}  // namespace txwp
