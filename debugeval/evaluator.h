// The expression evaluator: runs one WatchPcode program over the debugged
// program's memory and returns its value or a BASIC error number. It knows
// the debuggee's memory and the BASIC runtime only through the two
// interfaces below, so the same core runs in the DLL, in the emulator and
// in the tests.
#pragma once

#include <cstdint>

#include "ev_defs.h"

namespace txev {

// 32-bit addresses of the debugged program to bytes.
class EvalMemory {
 public:
  virtual void Read(uint32_t address, void* out, uint32_t bytes) = 0;
  uint8_t Byte(uint32_t address) { uint8_t b; Read(address, &b, 1); return b; }
  uint32_t Word32(uint32_t address) {
    uint8_t b[4];
    Read(address, b, 4);
    return b[0] | b[1] << 8 | b[2] << 16 | uint32_t(b[3]) << 24;
  }

 protected:
  ~EvalMemory() = default;   // never deleted through the interface
};

// Ends the evaluation in progress with a BASIC error number: the
// evaluator's own failures and a runtime error reported to a service (the
// recovery point) both come here. It does not return; EvaluatePcode then
// finishes with that number.
[[noreturn]] void AbortEvaluation(int32_t error);

// The runtime services, one method per ordinal. A service that meets a
// runtime error calls AbortEvaluation.

class EvalRuntime {
 public:
  virtual void SetRecovery() = 0;                                   // 216
  virtual void EndEvaluation() = 0;                                 // 435, then 217
  // Floating-point stack.
  virtual void FpLoad(uint32_t type, const void* value) = 0;        // 802
  virtual void FpStore(uint32_t type, void* out) = 0;               // 801 (pops)
  virtual void FpCheck() = 0;                                       // 827
  virtual void FpNegate() = 0;                                      // 5165
  virtual void FpPower() = 0;                                       // 5177
  // Number conversion by routine; true when the value overflowed.
  virtual bool Convert(uint16_t ordinal, const void* from, void* to) = 0;
  // String stack.
  virtual void StrPushConst(uint32_t length, uint32_t address) = 0; // 425
  virtual void StrPushEmpty() = 0;                                  // 418
  virtual void StrPushVar(uint32_t address) = 0;                    // 419
  virtual void StrPushFixed(uint32_t length, uint32_t address) = 0; // 420
  virtual void StrTakeTop(uint8_t desc[kStrDescBytes]) = 0;         // 428
  virtual void StrCopy(const uint8_t desc[kStrDescBytes], void* out) = 0;  // 430
  virtual void StrRelease(const uint8_t desc[kStrDescBytes]) = 0;   // 412
  virtual void StrConcat() = 0;                                     // 400
  // Compares the two top strings: 0 equal, negative left less, positive greater.
  virtual int StrCompare() = 0;                                     // 407
  // An intrinsic routine with 32-bit argument words; its integer result.
  virtual uint32_t CallRoutine(uint16_t ordinal, const uint32_t* args, uint32_t count) = 0;
  // A routine whose one argument is the address of a block of words.
  virtual uint32_t CallRoutineBlock(uint16_t ordinal, const uint32_t* block) = 0;

 protected:
  ~EvalRuntime() = default;
};

// The arguments of DbgAnzPcode, as addresses of the debugged program.
struct EvalRequest {
  uint32_t stringBase;
  uint32_t pcode;
  uint32_t frameBase;
};

// Evaluates one P-code program. Fills the whole result record and returns
// its error number (0 on success).
int32_t EvaluatePcode(EvalMemory& memory, EvalRuntime& runtime, const EvalRequest& request,
                      DbgValueResult& result);

// Memory of the running process itself (the DLL, the tests): the 32-bit
// address is the pointer.
class DirectMemory : public EvalMemory {
 public:
  void Read(uint32_t address, void* out, uint32_t bytes) override;
};

}  // namespace txev
