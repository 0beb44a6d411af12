#include "wp_services.h"

#include <cstring>

#include "wp_answer.h"

namespace txwp {

using namespace txev;

namespace {

constexpr int32_t kErrIllegal = 5, kErrOverflowNo = 6, kErrTooLong = 15;

double ReadNumber(uint32_t type, const void* p) {
  switch (BaseType(static_cast<uint8_t>(type))) {
    case kTInt: { int16_t v; std::memcpy(&v, p, 2); return v; }
    case kTLng: { int32_t v; std::memcpy(&v, p, 4); return v; }
    case kTSng: { float v; std::memcpy(&v, p, 4); return v; }
    case kTDbl: { double v; std::memcpy(&v, p, 8); return v; }
    case kTByt: return *static_cast<const uint8_t*>(p);
    default: AbortEvaluation(kErrIllegal);
  }
}

bool IsNan(double v) { return v != v; }
bool IsInf(double v) { return !IsNan(v) && IsNan(v - v); }

// Round half to even, as the processor's integer store does; |v| below 2^31.
double RoundEven(double v) {
  double f = static_cast<double>(static_cast<int64_t>(v));   // toward zero
  if (f > v) f -= 1;                                          // floor
  double diff = v - f;
  if (diff > 0.5 || (diff == 0.5 && (static_cast<int64_t>(f) & 1) != 0)) f += 1;
  return f;
}

bool WriteNumber(uint32_t type, double v, void* out) {
  uint8_t base = BaseType(static_cast<uint8_t>(type));
  if (base == kTDbl) {
    std::memcpy(out, &v, 8);
    return false;
  }
  if (base == kTSng) {
    if (!IsInf(v) && !IsNan(v) && (v > 3.4028234663852886e38 || v < -3.4028234663852886e38)) return true;
    float f = static_cast<float>(v);
    std::memcpy(out, &f, 4);
    return false;
  }
  if (IsNan(v) || v < -2147483648.5 || v > 2147483647.5) return true;
  double r = RoundEven(v);
  if (base == kTInt) {
    if (r < -32768 || r > 32767) return true;
    int16_t w = static_cast<int16_t>(r);
    std::memcpy(out, &w, 2);
  } else if (base == kTLng) {
    if (r < -2147483648.0 || r > 2147483647.0) return true;
    int32_t w = static_cast<int32_t>(r);
    std::memcpy(out, &w, 4);
  } else if (base == kTByt) {
    if (r < 0 || r > 255) return true;
    *static_cast<uint8_t*>(out) = static_cast<uint8_t>(r);
  } else {
    AbortEvaluation(kErrIllegal);
  }
  return false;
}

const uint8_t* Ptr(uint32_t address) {
  return reinterpret_cast<const uint8_t*>(static_cast<uintptr_t>(address));
}

}  // namespace

void StaticRuntime::Reset() {
  fpDepth_ = strDepth_ = tempCount_ = poolUsed_ = 0;
}

double StaticRuntime::FpPop() {
  if (fpDepth_ == 0) AbortEvaluation(kErrIllegal);
  return fp_[--fpDepth_];
}

void StaticRuntime::FpLoad(uint32_t type, const void* value) {
  if (fpDepth_ >= kFpDepth) AbortEvaluation(kErrIllegal);
  fp_[fpDepth_++] = ReadNumber(type, value);
}

void StaticRuntime::FpStore(uint32_t type, void* out) {
  if (WriteNumber(type, FpPop(), out)) AbortEvaluation(kErrOverflowNo);
}

void StaticRuntime::FpCheck() {
  if (fpDepth_ == 0) return;
  if (IsNan(fp_[fpDepth_ - 1])) AbortEvaluation(kErrIllegal);
  if (IsInf(fp_[fpDepth_ - 1])) AbortEvaluation(kErrOverflowNo);
}

void StaticRuntime::FpNegate() {
  double v = FpPop();
  fp_[fpDepth_++] = -v;
}

void StaticRuntime::FpPower() {
  double y = FpPop(), x = FpPop();
  // Whole exponents only: this runtime has no logarithm.
  double r = RoundEven(y);
  if (r != y || r > 4096 || r < -4096) AbortEvaluation(kErrIllegal);
  int32_t n = static_cast<int32_t>(r < 0 ? -r : r);
  double p = 1, b = x;
  for (; n; n >>= 1, b *= b)
    if (n & 1) p *= b;
  fp_[fpDepth_++] = r < 0 ? 1 / p : p;
}

bool StaticRuntime::Convert(uint16_t ordinal, const void* from, void* to) {
  for (const CnvRoutine& c : kCnvRoutines)
    if (c.ordinal == ordinal) return WriteNumber(c.to, ReadNumber(c.from, from), to);
  AbortEvaluation(kErrIllegal);
}

// ---- strings ----

uint8_t* StaticRuntime::Reserve(uint32_t length) {
  if (length > kPoolBytes - poolUsed_) AbortEvaluation(kErrTooLong);
  uint8_t* p = pool_ + poolUsed_;
  poolUsed_ += length;
  return p;
}

void StaticRuntime::StrPush(const uint8_t* bytes, uint32_t length) {
  if (strDepth_ >= kStrDepth) AbortEvaluation(kErrTooLong);
  uint8_t* p = Reserve(length);
  if (length) std::memmove(p, bytes, length);
  str_[strDepth_++] = {static_cast<uint32_t>(p - pool_), length};
}

StaticRuntime::Str StaticRuntime::StrPop() {
  if (strDepth_ == 0) AbortEvaluation(kErrIllegal);
  return str_[--strDepth_];
}

void StaticRuntime::StrPushConst(uint32_t length, uint32_t address) { StrPush(Ptr(address), length); }
void StaticRuntime::StrPushEmpty() { StrPush(nullptr, 0); }
void StaticRuntime::StrPushVar(uint32_t address) {
  uint32_t length, text;
  std::memcpy(&length, Ptr(address + 4), 4);
  std::memcpy(&text, Ptr(address + 8), 4);
  StrPush(text ? Ptr(text) : nullptr, text ? length : 0);
}
void StaticRuntime::StrPushFixed(uint32_t length, uint32_t address) { StrPush(Ptr(address), length); }

void StaticRuntime::StrTakeTop(uint8_t desc[kStrDescBytes]) {
  Str s = StrPop();
  if (tempCount_ >= kStrDepth) AbortEvaluation(kErrTooLong);
  uint32_t slot = tempCount_++;
  temps_[slot] = s;
  std::memset(desc, 0, kStrDescBytes);
  desc[0] = kStrTemporary;
  std::memcpy(desc + kStrDescLength, &s.length, 4);
  std::memcpy(desc + 8, &slot, 4);
}

void StaticRuntime::StrCopy(const uint8_t desc[kStrDescBytes], void* out) {
  uint32_t length, slot;
  std::memcpy(&length, desc + kStrDescLength, 4);
  std::memcpy(&slot, desc + 8, 4);
  if (slot >= tempCount_) AbortEvaluation(kErrIllegal);
  if (length > temps_[slot].length) length = temps_[slot].length;
  std::memcpy(out, pool_ + temps_[slot].at, length);
}

void StaticRuntime::StrRelease(const uint8_t*) {}   // the pool goes at the end

void StaticRuntime::StrConcat() {
  Str right = StrPop(), left = StrPop();
  // The left string is the last but one in the pool only by chance: copy both.
  uint32_t at = poolUsed_;
  uint8_t* p = Reserve(left.length + right.length);
  std::memmove(p, pool_ + left.at, left.length);
  std::memmove(p + left.length, pool_ + right.at, right.length);
  str_[strDepth_++] = {at, left.length + right.length};
}

int StaticRuntime::StrCompare() {
  Str right = StrPop(), left = StrPop();
  uint32_t n = left.length < right.length ? left.length : right.length;
  for (uint32_t i = 0; i < n; ++i) {
    uint8_t a = pool_[left.at + i], b = pool_[right.at + i];
    if (a != b) return a < b ? -1 : 1;
  }
  return left.length < right.length ? -1 : left.length > right.length ? 1 : 0;
}

// ---- routines ----

uint32_t StaticRuntime::CallRoutine(uint16_t ordinal, const uint32_t* args, uint32_t count) {
  auto arg = [&](uint32_t i) -> uint32_t {
    if (i >= count) AbortEvaluation(kErrIllegal);
    return args[i];
  };
  switch (ordinal) {
    case 5163: { double v = FpPop(); fp_[fpDepth_++] = v < 0 ? -v : v; return 0; }   // ABS
    case 5171: {                                                                       // INT
      double v = FpPop();
      if (v > -4503599627370496.0 && v < 4503599627370496.0) {
        double f = static_cast<double>(static_cast<int64_t>(v));
        v = f > v ? f - 1 : f;
      }
      fp_[fpDepth_++] = v;
      return 0;
    }
    case 3414: return StrPop().length;                                                 // LEN
    case 3402: case 3403: case 3404: {                                                 // STR$
      int32_t value = ordinal == 3402 ? static_cast<int32_t>(arg(0) & 0xFF) : static_cast<int32_t>(arg(0));
      uint8_t text[12];
      uint32_t n = sizeof text;
      bool negative = value < 0;
      uint32_t v = negative ? 0u - static_cast<uint32_t>(value) : static_cast<uint32_t>(value);
      do {
        text[--n] = static_cast<uint8_t>('0' + v % 10);
        v /= 10;
      } while (v);
      text[--n] = negative ? '-' : ' ';
      StrPush(text + n, sizeof text - n);
      return 0;
    }
    case 3412: case 4406: {                                                             // MID$
      int32_t start = static_cast<int32_t>(arg(0)), length = static_cast<int32_t>(arg(1));
      Str s = StrPop();
      if (start < 1 || length < 0) AbortEvaluation(kErrIllegal);
      uint32_t from = static_cast<uint32_t>(start - 1);
      uint32_t n = from >= s.length ? 0 : s.length - from;
      if (static_cast<uint32_t>(length) < n) n = static_cast<uint32_t>(length);
      StrPush(pool_ + s.at + (from < s.length ? from : 0), n);
      return 0;
    }
    default: AbortEvaluation(kErrIllegal);
  }
}

uint32_t StaticRuntime::CallRoutineBlock(uint16_t ordinal, const uint32_t* block) {
  if (ordinal != 3417) AbortEvaluation(kErrIllegal);
  // CHR$: the count, then the codes from the last to the first.
  uint32_t n = block[0];
  uint8_t* p = Reserve(n);
  for (uint32_t i = 0; i < n; ++i) {
    if (block[n - i] > 255) AbortEvaluation(kErrIllegal);
    p[i] = static_cast<uint8_t>(block[n - i]);
  }
  if (strDepth_ >= kStrDepth) AbortEvaluation(kErrTooLong);
  str_[strDepth_++] = {static_cast<uint32_t>(p - pool_), n};
  return 0;
}

}  // namespace txwp

namespace {
// Set up at build time: a debuggee may run no static constructors.
constinit txwp::StaticRuntime g_runtime;
}  // namespace

extern "C" int32_t txwp_answer_watch(uint8_t* block, const txwp::DebugTables* tables,
                                     uint32_t frameBase, uint8_t* scratch, uint32_t scratchBytes) {
  txev::DirectMemory memory;
  txwp::DebugTableNames names(memory, *tables);
  return txwp::AnswerWatchRequest(block, names, memory, g_runtime, frameBase, scratch,
                                  scratchBytes);
}
