// The evaluator frame: the entry, the P-code decoder, the program walk,
// constants, variables with their subscripts and members, and the value
// stack.
#include <cstring>

#include "ev_state.h"

#ifndef TXEV_FREESTANDING
#include <new>
#endif

namespace txev {

namespace {

// Length of an instruction by its opcode; 0 for an unknown opcode.
uint32_t OpcodeLength(uint8_t op) {
  switch (op) {
    case kOpFinish: return 1;
    case kOpOmitted: case kOpOperator: case kOpCallEnd: case kOpSubEnd:
    case kOpSingle: case kOpProgram: case kOpRefPrefix: case kOpRefEnd: case kOpEnd: return 2;
    case kOpCall: return 3;
    case kOpVar: case kOpMember: case kOpArray: case kOpArrayAt: case kOpWhole: return 6;
    default: return 0;
  }
}

// Length of a constant instruction by its constant type; 0 when unknown.
uint32_t ConstantLength(uint8_t type) {
  switch (type) {
    case kTInt: case kTWord: case kTStr: return 4;
    case kTLng: case kTSng: case kTDword: return 6;
    case kTDbl: return 10;
    case kTByt: return 3;
    case kTFixStr: case kTNone: return 2;
    default: return 0;
  }
}

bool IsVariableOp(uint8_t op) {
  return op == kOpVar || op == kOpMember || op == kOpArray || op == kOpArrayAt || op == kOpWhole;
}

void Decode(EvalState& s, uint32_t address) {
  for (;;) {
    if (s.insnCount >= kMaxInstructions) Fail(kErrPcode);
    s.insns[s.insnCount++] = address;
    uint8_t op = s.mem.Byte(address);
    if (op == kOpFinish) break;
    uint32_t len = op == kOpConst ? ConstantLength(s.mem.Byte(address + 1)) : OpcodeLength(op);
    if (len == 0) Fail(op == kOpConst ? kErrType : kErrPcode);
    address += len;
  }
  s.cur = 0;
}

void StoreResult(EvalState& s, uint8_t type, DbgValueResult& result) {
  uint32_t bytes = ValueBytes(type);
  if (bytes != 0) {
    s.Pop(type, result.value);
    result.size = bytes;
    return;
  }
  if (!IsStringType(type)) Fail(kErrPcode);
  uint8_t desc[kStrDescBytes] = {};
  s.rt.StrTakeTop(desc);
  uint32_t length;
  std::memcpy(&length, desc + kStrDescLength, 4);
  if (length > kMaxStringBytes) {
    length = kMaxStringBytes;
    std::memcpy(desc + kStrDescLength, &length, 4);
  }
  result.size = length;
  s.rt.StrCopy(desc, result.value);
  if (desc[0] & kStrTemporary) s.rt.StrRelease(desc);
}

}  // namespace

void DirectMemory::Read(uint32_t address, void* out, uint32_t bytes) {
  // A read of nothing may name address 0 (an element of no storage).
  if (bytes) std::memcpy(out, reinterpret_cast<const void*>(static_cast<uintptr_t>(address)), bytes);
}

namespace {

#ifdef TXEV_FREESTANDING
// One evaluation at a time: the jump back to its entry.
void* g_abort[5];
int32_t g_abortError;
#else
struct EvalAbort {
  int32_t error;
};
#endif

void Run(EvalMemory& memory, EvalRuntime& runtime, const EvalRequest& request,
         DbgValueResult& result) {
  EvalState s(memory, runtime);
  s.stringBase = request.stringBase;
  s.frameBase = request.frameBase;
  Decode(s, request.pcode);
  uint8_t type = s.OpByte(0, 1);
  result.type = type;
  s.RunProgram();
  StoreResult(s, type, result);
}

}  // namespace

#ifdef TXEV_FREESTANDING

void AbortEvaluation(int32_t error) {
  g_abortError = error;
  __builtin_longjmp(g_abort, 1);
}

int32_t EvaluatePcode(EvalMemory& memory, EvalRuntime& runtime, const EvalRequest& request,
                      DbgValueResult& result) {
  result.reserved = result.error = result.type = result.size = 0;
  std::memset(result.value, 0, 4);
  int32_t error = 0;
  runtime.SetRecovery();
  if (__builtin_setjmp(g_abort) == 0)
    Run(memory, runtime, request, result);
  else
    error = g_abortError;
  runtime.EndEvaluation();
  result.error = static_cast<uint32_t>(error);
  return error;
}

#else

void AbortEvaluation(int32_t error) { throw EvalAbort{error}; }

int32_t EvaluatePcode(EvalMemory& memory, EvalRuntime& runtime, const EvalRequest& request,
                      DbgValueResult& result) {
  result.reserved = result.error = result.type = result.size = 0;
  std::memset(result.value, 0, 4);
  int32_t error = 0;
  runtime.SetRecovery();
  try {
    Run(memory, runtime, request, result);
  } catch (const EvalAbort& a) {
    error = a.error;
  } catch (const std::bad_alloc&) {
    error = kErrMemory;
  }
  runtime.EndEvaluation();
  result.error = static_cast<uint32_t>(error);
  return error;
}

#endif

// ---- value stack ----

void EvalState::Push(uint8_t type, const void* value) {
  StackEntry e{};
  e.type = type;
  if (type == kTAddr) {
    std::memcpy(e.value, value, 4);
  } else {
    uint32_t bytes = ValueBytes(type);
    if (bytes == 0) Fail(kErrType);
    std::memcpy(e.value, value, bytes);
  }
  if (depth >= kMaxInstructions) Fail(kErrMemory);
  stack[depth++] = e;
}

void EvalState::PushAddress(uint32_t address) { Push(kTAddr, &address); }

StackEntry EvalState::PopRaw() {
  // An operator or call that finds no operand: the P-code is malformed.
  if (depth == 0) Fail(kErrPcode);
  return stack[--depth];
}

void EvalState::Pop(uint8_t type, void* out) {
  StackEntry e = PopRaw();
  Convert(e, type, out);
}

// ---- programs ----

void EvalState::RunProgram() {
  uint8_t op = Op(cur);
  ++cur;
  if (op == kOpSingle) {
    RunOperand();
    if (Op(cur) != kOpEnd) Fail(kErrPcode);
  } else if (op == kOpProgram) {
    RunOperatorProgram();
  } else {
    Fail(kErrPcode);
  }
  ++cur;
}

void EvalState::RunOperand() {
  uint8_t op = Op(cur);
  if (op == kOpCall || op == kOpRefPrefix) RunCall();
  else if (op == kOpVar || op == kOpArray || op == kOpArrayAt || op == kOpWhole) LoadVariable();
  else if (op == kOpConst) PushConstant();
  else Fail(kErrPcode);
}

void EvalState::RunOperatorProgram() {
  uint8_t slots[kMaxOperands];
  uint32_t count = 0;
  for (;;) {
    uint8_t op = Op(cur);
    if (op == kOpEnd) return;
    if (op == kOpOperator) {
      uint8_t code = OpByte(cur, 1);
      ++cur;
      bool unary = code == kNeg || code == kNot;
      if (count < (unary ? 1u : 2u)) Fail(kErrPcode);
      if (!unary) --count;
      ApplyOperator(code, &slots[count - 1]);
      continue;
    }
    if (count >= kMaxOperands) Fail(kErrPcode);
    if (op == kOpConst) {
      slots[count] = OpByte(cur, 1);
    } else if (IsVariableOp(op)) {
      slots[count] = StaticType(cur);
    } else if (op == kOpCall) {
      slots[count] = OpByte(cur, 2);
    } else if (op == kOpRefPrefix) {
      size_t i = cur + 1;
      for (int depth = 0;; ++i) {
        uint8_t o = Op(i);
        if (o == kOpFinish) Fail(kErrPcode);
        if (o == kOpRefPrefix) ++depth;
        if (o == kOpRefEnd && depth-- == 0) break;
      }
      slots[count] = OpByte(i + 1, 2);
    } else {
      Fail(kErrPcode);
    }
    RunOperand();
    ++count;
  }
}

uint8_t EvalState::StaticType(size_t i) {
  for (;;) {
    uint8_t op = Op(i);
    uint8_t type = OpByte(i, 1);
    if (IsNumberType(type) || IsStringType(type)) return type;
    if (type != kTRecord) Fail(kErrType);
    if (op == kOpVar || op == kOpMember) {
      ++i;
    } else if (op == kOpArray || op == kOpArrayAt) {
      ++i;
      for (int depth = 0;; ++i) {
        uint8_t o = Op(i);
        if (o == kOpFinish) Fail(kErrType);
        if (o == kOpArray || o == kOpArrayAt) ++depth;
        if (o == kOpSubEnd && depth-- == 0) break;
      }
      ++i;
    } else {
      Fail(kErrType);
    }
  }
}

void EvalState::PushConstant() {
  uint32_t a = At(cur);
  ++cur;
  uint8_t type = mem.Byte(a + 1);
  if (IsNumberType(type)) {
    uint8_t v[8];
    mem.Read(a + 2, v, ValueBytes(type));
    Push(type, v);
  } else if (type == kTStr) {
    rt.StrPushConst(mem.Byte(a + 3), stringBase + mem.Byte(a + 2));
  } else if (type == kTFixStr) {
    rt.StrPushEmpty();
  } else {
    Fail(kErrPcode);
  }
}

// ---- variables ----

namespace {

uint32_t ElementSize(EvalState& s, const VarRef& r) {
  switch (r.type) {
    case kTInt: case kTWord: return 2;
    case kTLng: case kTSng: case kTDword: case kTAddr: return 4;
    case kTDbl: return 8;
    case kTByt: return 1;
    case kTStr: return 12;
    case kTFixStr: return r.extra;
    case kTStr18: return 15 + s.mem.Word32(r.address + 4);
    case kTStr19: return 12 + s.mem.Word32(r.address + 4);
    case kTRecord: return s.mem.Word32(r.extra + 4);
    default: return 0;
  }
}

// Applies the subscript programs that follow an array instruction. The
// bounds record holds upper bounds, so a dimension has bound + 1 elements.
void ApplySubscripts(EvalState& s, VarRef& r) {
  // A subscripted name that is no array (a scalar member) has no bounds.
  if (r.bounds == 0) Fail(kErrSubscript);
  uint32_t size = ElementSize(s, r);
  uint32_t dims = s.mem.Byte(r.bounds);
  uint32_t subs[kMaxOperands];
  uint32_t count = 0;
  while (s.Op(s.cur) != kOpSubEnd) {
    if (count >= dims) Fail(kErrSubscript);
    s.RunProgram();
    uint32_t sub = static_cast<uint32_t>(s.PopLng());
    if (sub > s.mem.Word32(r.bounds + 1 + 4 * count)) Fail(kErrSubscript);
    subs[count++] = sub;
  }
  ++s.cur;
  if (count != dims || dims == 0) Fail(kErrSubscript);
  uint32_t index = subs[dims - 1];
  for (uint32_t k = dims - 1; k-- > 0;)
    index = index * (s.mem.Word32(r.bounds + 1 + 4 * k) + 1) + subs[k];
  r.address += size * index;
}

// One step of a reference: array header, subscripts, then the type check.
void ApplyReference(EvalState& s, uint8_t op, VarRef& r) {
  if (op == kOpArray) {
    uint32_t data = s.mem.Word32(r.address + kHdrData);
    uint32_t bounds = s.mem.Word32(r.address + kHdrBounds);
    if (data == 0 || bounds == 0) Fail(kErrSubscript);
    r.address = data;
    r.bounds = bounds;
    op = kOpArrayAt;
  }
  if (op == kOpArrayAt) {
    ApplySubscripts(s, r);
  } else if (op != kOpVar && op != kOpMember && op != kOpWhole) {
    Fail(kErrPcode);
  }
  if (!(IsNumberType(r.type) || IsStringType(r.type) || r.type == kTRecord || r.type == kTAddr))
    Fail(kErrType);
}

}  // namespace

bool EvalState::ResolveVariable(VarRef& r) {
  uint8_t op = Op(cur);
  r.type = OpByte(cur, 1);
  uint32_t desc = OpWord(cur, 2);
  ++cur;
  if (desc == 0) return false;
  uint8_t cls = mem.Byte(desc + kDescClass);
  r.address = mem.Word32(desc + kDescAddr);
  r.extra = mem.Word32(desc + kDescExtra);
  r.bounds = mem.Word32(desc + kDescBounds);
  if (cls == kClassFrame || cls == kClassFrame + kClassArray) {
    r.address += frameBase;
  } else if (cls == kClassFrameRef || cls == kClassFrameRef + kClassArray) {
    r.address = mem.Word32(frameBase + r.address);
  }
  ApplyReference(*this, op, r);
  while (r.type == kTRecord && (Op(cur) == kOpMember || Op(cur) == kOpArrayAt)) {
    uint8_t mop = Op(cur);
    uint32_t mdesc = OpWord(cur, 2);
    r.type = OpByte(cur, 1);
    ++cur;
    r.address += mem.Word32(mdesc + kDescAddr);
    r.extra = mem.Word32(mdesc + kDescExtra);
    r.bounds = mem.Word32(mdesc + kDescBounds);
    ApplyReference(*this, mop, r);
  }
  return true;
}

void EvalState::LoadVariable() {
  uint8_t op = Op(cur);
  VarRef r{};
  if (!ResolveVariable(r)) {
    // A variable the program never gave storage reads as zero or "".
    if (op != kOpVar) Fail(kErrNoStorage);
    if (IsNumberType(r.type)) {
      uint8_t zero[8] = {};
      Push(r.type, zero);
    } else if (r.type == kTStr) {
      rt.StrPushEmpty();
    } else {
      Fail(kErrNoStorage);
    }
    return;
  }
  PushVariable(r);
}

void EvalState::PushVariable(const VarRef& r) {
  if (IsNumberType(r.type)) {
    uint8_t v[8];
    mem.Read(r.address, v, ValueBytes(r.type));
    Push(r.type, v);
  } else if (r.type == kTAddr) {
    PushAddress(r.address);
  } else if (r.type == kTStr || r.type == kTStr18 || r.type == kTStr19) {
    rt.StrPushVar(r.address);
  } else if (r.type == kTFixStr) {
    rt.StrPushFixed(r.extra, r.address);
  } else {
    Fail(kErrType);
  }
}

}  // namespace txev
