// State of one evaluation, shared by the frame (ev_frame.cpp), the
// operators (ev_ops.cpp) and the intrinsic calls (ev_calls.cpp). Fixed
// arrays and no exceptions of its own, so the core also builds freestanding
// (TXEV_FREESTANDING) to run inside an emulated debuggee.
#pragma once

#include <cstddef>
#include <cstdint>

#include "evaluator.h"

namespace txev {

[[noreturn]] inline void Fail(int32_t error) { AbortEvaluation(error); }

struct StackEntry {
  uint8_t type;
  uint8_t value[8];
};

// A variable resolved to its place: type, address, extra, bounds record.
struct VarRef {
  uint8_t type;
  uint32_t address;
  uint32_t extra;
  uint32_t bounds;
};

struct EvalState {
  EvalMemory& mem;
  EvalRuntime& rt;
  uint32_t stringBase = 0;
  uint32_t frameBase = 0;
  uint32_t insns[kMaxInstructions];   // start of every instruction, 0xF1 last
  size_t insnCount = 0;
  size_t cur = 0;
  // Every value comes from an instruction, so the stack never holds more
  // values than there are instructions.
  StackEntry stack[kMaxInstructions];
  size_t depth = 0;
  uint32_t args[kArgWords] = {};
  uint32_t argCount = 0;

  EvalState(EvalMemory& m, EvalRuntime& r) : mem(m), rt(r) {}

  // The current instruction; past the end it is the closing 0xF1, which no
  // step accepts.
  uint32_t At(size_t i) const { return insns[i < insnCount ? i : insnCount - 1]; }
  uint8_t Op(size_t i) { return mem.Byte(At(i)); }
  uint8_t OpByte(size_t i, uint32_t k) { return mem.Byte(At(i) + k); }
  uint32_t OpWord(size_t i, uint32_t k) { return mem.Word32(At(i) + k); }

  // Value stack (ev_frame.cpp).
  void Push(uint8_t type, const void* value);
  void PushAddress(uint32_t address);
  StackEntry PopRaw();
  // Pops the top converted to `type` into out (machine form, up to 8 bytes).
  void Pop(uint8_t type, void* out);
  int32_t PopLng() { int32_t v; Pop(kTLng, &v); return v; }
  int16_t PopInt() { int16_t v; Pop(kTInt, &v); return v; }
  double PopDbl() { double v; Pop(kTDbl, &v); return v; }

  // Argument area (ev_calls.cpp).
  void PlaceArg(uint32_t word);

  // Programs and operands (ev_frame.cpp).
  void RunProgram();
  void RunOperand();
  void RunOperatorProgram();
  void PushConstant();
  uint8_t StaticType(size_t i);
  // Resolves the variable at the current instruction (with its subscripts
  // and members) and advances past it. False when the descriptor is 0 (a
  // variable without storage); the caller decides what that means.
  bool ResolveVariable(VarRef& ref);
  void LoadVariable();
  void PushVariable(const VarRef& ref);

  // Operators and conversions (ev_ops.cpp).
  void Convert(const StackEntry& from, uint8_t to, void* out);
  void ApplyOperator(uint8_t code, uint8_t* slots);

  // Intrinsic calls (ev_calls.cpp).
  void RunCall();
};

}  // namespace txev
