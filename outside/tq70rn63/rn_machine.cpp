#include "rn_machine.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstring>

#include "ev_defs.h"

namespace txrn {

using namespace txev;

namespace {

long double ReadNumber(uint32_t type, const void* p) {
  switch (BaseType(static_cast<uint8_t>(type))) {
    case kTInt: { int16_t v; std::memcpy(&v, p, 2); return v; }
    case kTLng: { int32_t v; std::memcpy(&v, p, 4); return v; }
    case kTSng: { float v; std::memcpy(&v, p, 4); return v; }
    case kTDbl: { double v; std::memcpy(&v, p, 8); return v; }
    case kTByt: return *static_cast<const uint8_t*>(p);
    default: throw RnError{kRnIllegal};
  }
}

// Stores v as the type; true when it does not fit. Integers round to even,
// as the processor's store does.
bool WriteNumber(uint32_t type, long double v, void* out) {
  uint8_t base = BaseType(static_cast<uint8_t>(type));
  if (base == kTSng || base == kTDbl) {
    bool finite = std::isfinite(v);
    if (base == kTSng) {
      if (finite && std::fabs(v) > FLT_MAX) return true;
      float f = static_cast<float>(v);
      std::memcpy(out, &f, 4);
    } else {
      if (finite && std::fabs(v) > DBL_MAX) return true;
      double d = static_cast<double>(v);
      std::memcpy(out, &d, 8);
    }
    return false;
  }
  if (std::isnan(v)) return true;
  long double r = std::nearbyint(v);
  if (base == kTInt) {
    if (r < -32768 || r > 32767) return true;
    int16_t w = static_cast<int16_t>(r);
    std::memcpy(out, &w, 2);
  } else if (base == kTLng) {
    if (r < -2147483648.0L || r > 2147483647.0L) return true;
    int32_t w = static_cast<int32_t>(r);
    std::memcpy(out, &w, 4);
  } else if (base == kTByt) {
    if (r < 0 || r > 255) return true;
    *static_cast<uint8_t*>(out) = static_cast<uint8_t>(r);
  } else {
    throw RnError{kRnIllegal};
  }
  return false;
}

}  // namespace

void RnMachine::Reset() {
  fp_.clear();
  str_.clear();
  temps_.clear();
  tempUsed_.clear();
}

long double RnMachine::FpPop() {
  if (fp_.empty()) throw RnError{kRnIllegal};
  long double v = fp_.back();
  fp_.pop_back();
  return v;
}

void RnMachine::FpLoad(uint32_t type, const void* value) { fp_.push_back(ReadNumber(type, value)); }

void RnMachine::FpStore(uint32_t type, void* out) {
  if (WriteNumber(type, FpPop(), out)) throw RnError{kRnOverflow};
}

void RnMachine::FpCheck() {
  if (fp_.empty()) return;
  if (std::isnan(fp_.back())) throw RnError{kRnIllegal};
  if (std::isinf(fp_.back())) throw RnError{kRnOverflow};
}

void RnMachine::FpNegate() {
  long double v = FpPop();
  fp_.push_back(-v);
}

void RnMachine::FpPower() {
  long double y = FpPop(), x = FpPop();
  fp_.push_back(std::pow(x, y));
}

bool RnMachine::Convert(uint32_t ordinal, const void* from, void* to) {
  for (const CnvRoutine& c : kCnvRoutines)
    if (c.ordinal == ordinal) return WriteNumber(c.to, ReadNumber(c.from, from), to);
  throw RnError{kRnIllegal};
}

// ---- strings ----

std::string RnMachine::StrPop() {
  if (str_.empty()) throw RnError{kRnIllegal};
  std::string s = std::move(str_.back());
  str_.pop_back();
  return s;
}

void RnMachine::StrPush(std::string s) { str_.push_back(std::move(s)); }

void RnMachine::StrPushConst(uint32_t length, uint32_t address) {
  StrPush(std::string(reinterpret_cast<const char*>(ProgramBytes(address)), length));
}

void RnMachine::StrPushEmpty() { StrPush(std::string()); }

// A string variable is a descriptor {capacity, length, text address}.
void RnMachine::StrPushVar(uint32_t address) {
  uint32_t length = ProgramWord(address + 4), text = ProgramWord(address + 8);
  StrPush(text == 0 ? std::string() : std::string(reinterpret_cast<const char*>(ProgramBytes(text)), length));
}

void RnMachine::StrPushFixed(uint32_t length, uint32_t address) { StrPushConst(length, address); }

void RnMachine::StrTakeTop(uint8_t* desc) {
  std::string s = StrPop();
  uint32_t slot = 0;
  while (slot < tempUsed_.size() && tempUsed_[slot]) ++slot;
  if (slot == tempUsed_.size()) {
    temps_.emplace_back();
    tempUsed_.push_back(false);
  }
  uint32_t length = static_cast<uint32_t>(s.size());
  temps_[slot] = std::move(s);
  tempUsed_[slot] = true;
  std::memset(desc, 0, kStrDescBytes);
  desc[0] = kStrTemporary;
  std::memcpy(desc + kStrDescLength, &length, 4);
  std::memcpy(desc + 8, &slot, 4);
}

void RnMachine::StrCopy(const uint8_t* desc, void* out) {
  uint32_t length, slot;
  std::memcpy(&length, desc + kStrDescLength, 4);
  std::memcpy(&slot, desc + 8, 4);
  if (slot >= temps_.size() || !tempUsed_[slot]) throw RnError{kRnIllegal};
  if (length > temps_[slot].size()) length = static_cast<uint32_t>(temps_[slot].size());
  std::memcpy(out, temps_[slot].data(), length);
}

void RnMachine::StrRelease(const uint8_t* desc) {
  uint32_t slot;
  std::memcpy(&slot, desc + 8, 4);
  if (slot < tempUsed_.size()) {
    tempUsed_[slot] = false;
    temps_[slot].clear();
  }
}

size_t RnMachine::LiveTemps() const {
  size_t n = 0;
  for (bool used : tempUsed_) n += used;
  return n;
}

void RnMachine::StrConcat() {
  std::string right = StrPop(), left = StrPop();
  StrPush(left + right);
}

int RnMachine::StrCompare() {
  std::string right = StrPop(), left = StrPop();
  int c = std::memcmp(left.data(), right.data(), std::min(left.size(), right.size()));
  if (c == 0) c = left.size() < right.size() ? -1 : left.size() > right.size() ? 1 : 0;
  return c;
}

}  // namespace txrn
