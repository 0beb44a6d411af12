// Test harness of the evaluator: a memory arena below 4 GB (the evaluator
// takes 32-bit addresses), a P-code assembler and one Evaluate call that
// goes through the core natively and through TQ70RD63.DLL under Wine.
#pragma once

#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

#include "ev_defs.h"

namespace txev_test {

using namespace txev;

class Arena {
 public:
  Arena();
  ~Arena();
  // Copies bytes into the arena (4-aligned) and returns their address.
  uint32_t Put(const void* data, uint32_t bytes);
  uint32_t Zeros(uint32_t bytes);
  template <typename T>
  uint32_t Value(T v) { return Put(&v, sizeof v); }
  uint32_t Text(const std::string& s) { return Put(s.data(), static_cast<uint32_t>(s.size())); }
  // A variable descriptor: type, storage class, address, extra, bounds.
  uint32_t Desc(uint8_t type, uint8_t cls, uint32_t address, uint32_t extra = 0,
                uint32_t bounds = 0);
  // A bounds record of declared upper bounds.
  uint32_t Bounds(std::initializer_list<uint32_t> upper);
  // An array header {data at 2, bounds at 6}.
  uint32_t Header(uint32_t data, uint32_t bounds);
  // A variable-length string variable {capacity, length, text}.
  uint32_t StrVar(const std::string& text);
  uint8_t* At(uint32_t address) { return reinterpret_cast<uint8_t*>(static_cast<uintptr_t>(address)); }

 private:
  uint8_t* base_ = nullptr;
  uint32_t used_ = 0;
};

// Builds P-code bytes; Finish() places them in the arena.
class Pcode {
 public:
  Pcode& B(std::initializer_list<uint8_t> bytes) {
    code_.insert(code_.end(), bytes);
    return *this;
  }
  Pcode& W(uint32_t v) {
    for (int i = 0; i < 4; ++i) code_.push_back(static_cast<uint8_t>(v >> (8 * i)));
    return *this;
  }
  Pcode& Single(uint8_t type) { return B({kOpSingle, type}); }
  Pcode& Program(uint8_t type) { return B({kOpProgram, type}); }
  Pcode& End() { return B({kOpEnd, 0}); }
  Pcode& Int(int16_t v) { B({kOpConst, kTInt}); return Raw(&v, 2); }
  Pcode& Lng(int32_t v) { B({kOpConst, kTLng}); return Raw(&v, 4); }
  Pcode& Sng(float v) { B({kOpConst, kTSng}); return Raw(&v, 4); }
  Pcode& Dbl(double v) { B({kOpConst, kTDbl}); return Raw(&v, 8); }
  Pcode& Byt(uint8_t v) { return B({kOpConst, kTByt, v}); }
  Pcode& Str(uint8_t offset, uint8_t length) { return B({kOpConst, kTStr, offset, length}); }
  Pcode& Var(uint8_t op, uint8_t type, uint32_t desc) { B({op, type}); return W(desc); }
  Pcode& Op(uint8_t code) { return B({kOpOperator, code}); }
  Pcode& Call(uint8_t code, uint8_t type) { return B({kOpCall, code, type}); }
  Pcode& CallEnd() { return B({kOpCallEnd, 0}); }
  Pcode& SubEnd() { return B({kOpSubEnd, 0}); }
  Pcode& Raw(const void* p, size_t n) {
    const uint8_t* b = static_cast<const uint8_t*>(p);
    code_.insert(code_.end(), b, b + n);
    return *this;
  }
  uint32_t Finish(Arena& arena) {
    code_.push_back(kOpFinish);
    return arena.Put(code_.data(), static_cast<uint32_t>(code_.size()));
  }

 private:
  std::vector<uint8_t> code_;
};

struct Outcome {
  int32_t returned;
  uint32_t reserved, error, type, size;
  uint32_t word4;   // the first value word, whatever the size
  std::vector<uint8_t> value;
};

// Runs DbgAnzPcode (or the core behind it) with the record in the arena.
Outcome Evaluate(Arena& arena, uint32_t pcode, uint32_t stringBase = 0, uint32_t frameBase = 0);

// Whether the runtime stand-in holds anything after the last evaluation
// (natively only; the DLL's state is not visible).
bool RuntimeIsClean();

#ifndef TX_EVAL_DLL
}  // namespace txev_test
namespace txev { class EvalRuntime; }
namespace txev_test {
// The runtime stand-in behind Evaluate, for callers that run the core
// themselves.
txev::EvalRuntime& StandInRuntime();
#endif

}  // namespace txev_test
