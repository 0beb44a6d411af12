// Our stand-in for the services of the BASIC runtime that the evaluator
// calls by ordinal: a floating stack, a string stack with temporary
// strings, the number conversions and the intrinsic routines of the
// functions that need neither the program's files, screen and devices nor
// its runtime's state (rn_routines.cpp). Program memory is reached through
// 32-bit addresses taken as pointers, so callers keep the program's data
// below 4 GB. A runtime error throws RnError.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace txrn {

struct RnError {
  int32_t error;
};

// BASIC error numbers the stand-in raises.
enum : int32_t { kRnIllegal = 5, kRnOverflow = 6, kRnType = 13, kRnStringSpace = 14 };

inline const uint8_t* ProgramBytes(uint32_t address) {
  return reinterpret_cast<const uint8_t*>(static_cast<uintptr_t>(address));
}
inline uint32_t ProgramWord(uint32_t address) {
  uint32_t w;
  std::memcpy(&w, ProgramBytes(address), 4);
  return w;
}

class RnMachine {
 public:
  // Starts an evaluation: empties both stacks and the temporaries.
  void Reset();

  void FpLoad(uint32_t type, const void* value);
  void FpStore(uint32_t type, void* out);
  void FpCheck();
  void FpNegate();
  void FpPower();
  // A conversion routine by ordinal; true on overflow.
  bool Convert(uint32_t ordinal, const void* from, void* to);

  void StrPushConst(uint32_t length, uint32_t address);
  void StrPushEmpty();
  void StrPushVar(uint32_t address);
  void StrPushFixed(uint32_t length, uint32_t address);
  void StrTakeTop(uint8_t* desc);
  void StrCopy(const uint8_t* desc, void* out);
  void StrRelease(const uint8_t* desc);
  void StrConcat();
  int StrCompare();

  // An intrinsic routine with its argument words; the integer result.
  // Routines of functions this stand-in does not serve answer error 5.
  uint32_t Call(uint32_t ordinal, const uint32_t* args, uint32_t count);
  uint32_t CallBlock(uint32_t ordinal, const uint32_t* block);

  size_t FpDepth() const { return fp_.size(); }
  size_t StrDepth() const { return str_.size(); }
  size_t LiveTemps() const;

 private:
  long double FpPop();
  std::string StrPop();
  void StrPush(std::string s);
  int32_t Search(uint32_t control, int32_t start, int32_t end);

  std::vector<long double> fp_;
  std::vector<std::string> str_;
  std::vector<std::string> temps_;
  std::vector<bool> tempUsed_;
};

}  // namespace txrn
