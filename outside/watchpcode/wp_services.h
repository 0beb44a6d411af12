// Runtime services for the evaluator inside a debuggee that has no
// TQ70RN63: floating and string stacks in static storage, the number
// conversions and a few intrinsic routines (LEN, MID$, KMID$, CHR$, STR$ of
// integers, ABS, INT). No library calls, so it builds freestanding with
// the evaluator. String variables are the runtime subset's descriptors
// {capacity, length, text address}.
#pragma once

#include <cstdint>

#include "evaluator.h"
#include "wp_names.h"

namespace txwp {

class StaticRuntime : public txev::EvalRuntime {
 public:
  void SetRecovery() override { Reset(); }
  void EndEvaluation() override { Reset(); }
  void FpLoad(uint32_t type, const void* value) override;
  void FpStore(uint32_t type, void* out) override;
  void FpCheck() override;
  void FpNegate() override;
  void FpPower() override;
  bool Convert(uint16_t ordinal, const void* from, void* to) override;
  void StrPushConst(uint32_t length, uint32_t address) override;
  void StrPushEmpty() override;
  void StrPushVar(uint32_t address) override;
  void StrPushFixed(uint32_t length, uint32_t address) override;
  void StrTakeTop(uint8_t desc[txev::kStrDescBytes]) override;
  void StrCopy(const uint8_t desc[txev::kStrDescBytes], void* out) override;
  void StrRelease(const uint8_t desc[txev::kStrDescBytes]) override;
  void StrConcat() override;
  int StrCompare() override;
  uint32_t CallRoutine(uint16_t ordinal, const uint32_t* args, uint32_t count) override;
  uint32_t CallRoutineBlock(uint16_t ordinal, const uint32_t* block) override;

 private:
  struct Str {
    uint32_t at, length;   // bytes in pool_
  };
  void Reset();
  double FpPop();
  Str StrPop();
  void StrPush(const uint8_t* bytes, uint32_t length);
  uint8_t* Reserve(uint32_t length);

  static constexpr uint32_t kFpDepth = 64, kStrDepth = 64, kPoolBytes = 16384;
  double fp_[kFpDepth] = {};
  uint32_t fpDepth_ = 0;
  Str str_[kStrDepth] = {};
  uint32_t strDepth_ = 0;
  Str temps_[kStrDepth] = {};
  uint32_t tempCount_ = 0;
  uint8_t pool_[kPoolBytes] = {};
  uint32_t poolUsed_ = 0;
};

}  // namespace txwp

// The value-calculation hook's whole work in a debuggee: answers the
// request in the shared block with the program's names from its debug
// tables and the frame of the stopped procedure; the P-code goes into the
// scratch area (about 2 KB; like the block, at a 32-bit address). Returns
// the status written, or -1 when the block asks for nothing.
extern "C" int32_t txwp_answer_watch(uint8_t* block, const txwp::DebugTables* tables,
                                     uint32_t frameBase, uint8_t* scratch, uint32_t scratchBytes);
