// TQ70RD63.DLL: the entry DbgAnzPcode over the evaluator core, with the
// runtime services imported from TQ70RN63 by ordinal (the import library
// is made from a NONAME list, so no name reaches the import table).
#include <cstdint>
#include <cstring>

#include "ev_routines.h"
#include "evaluator.h"

using namespace txev;

extern "C" {
void rn_SetRecovery(void (*recovery)(uint32_t));
void rn_EndRecovery();
void rn_EndTemps();
void rn_FpLoad(uint32_t type, const void* v);
void rn_FpStore(uint32_t type, void* out);
void rn_FpCheck();
void rn_FpNegate();
void rn_FpPower();
void rn_StrPushConst(uint32_t length, uint32_t address);
void rn_StrPushEmpty();
void rn_StrPushVar(uint32_t address);
void rn_StrPushFixed(uint32_t length, uint32_t address);
void rn_StrTakeTop(uint8_t* desc);
void rn_StrCopy(const uint8_t* desc, void* out);
void rn_StrRelease(const uint8_t* desc);
void rn_StrConcat();
int32_t rn_StrCompare();
#define RD_CONVERSION(name) int32_t rn_Cnv##name(const void* from, void* to);
RD_CONVERSION(DblToInt) RD_CONVERSION(DblToLng) RD_CONVERSION(DblToSng)
RD_CONVERSION(IntToDbl) RD_CONVERSION(IntToSng) RD_CONVERSION(LngToDbl)
RD_CONVERSION(LngToSng) RD_CONVERSION(SngToDbl) RD_CONVERSION(SngToInt)
RD_CONVERSION(SngToLng) RD_CONVERSION(BytToSng) RD_CONVERSION(BytToDbl)
RD_CONVERSION(SngToByt) RD_CONVERSION(DblToByt)
#undef RD_CONVERSION
#define RD_ROUTINE(ordinal)                                                                \
  uint32_t rn_r_##ordinal(uintptr_t, uintptr_t, uintptr_t, uintptr_t, uintptr_t, uintptr_t, \
                          uintptr_t, uintptr_t);
#define RD_ROUTINE_ROW(code, ordinal) RD_ROUTINE(ordinal)
TXEV_ROUTINES(RD_ROUTINE_ROW)
TXEV_STR_VARIANTS(RD_ROUTINE)
TXEV_FORMAT_VARIANTS(RD_ROUTINE)
#undef RD_ROUTINE
}

namespace {

using RoutineFn = uint32_t (*)(uintptr_t, uintptr_t, uintptr_t, uintptr_t, uintptr_t, uintptr_t,
                               uintptr_t, uintptr_t);
struct RoutineImport {
  uint16_t ordinal;
  RoutineFn fn;
};
#define RD_IMPORT(ordinal) {ordinal, rn_r_##ordinal},
#define RD_IMPORT_ROW(code, ordinal) RD_IMPORT(ordinal)
const RoutineImport kImports[] = {TXEV_ROUTINES(RD_IMPORT_ROW) TXEV_STR_VARIANTS(RD_IMPORT)
                                      TXEV_FORMAT_VARIANTS(RD_IMPORT)};

using ConvertFn = int32_t (*)(const void*, void*);
struct ConversionImport {
  uint16_t ordinal;
  ConvertFn fn;
};
#define RD_CNV(name) {kCnv##name, rn_Cnv##name},
const ConversionImport kConversions[] = {
    RD_CNV(DblToInt) RD_CNV(DblToLng) RD_CNV(DblToSng) RD_CNV(IntToDbl) RD_CNV(IntToSng)
    RD_CNV(LngToDbl) RD_CNV(LngToSng) RD_CNV(SngToDbl) RD_CNV(SngToInt) RD_CNV(SngToLng)
    RD_CNV(BytToSng) RD_CNV(BytToDbl) RD_CNV(SngToByt) RD_CNV(DblToByt)};

// The recovery point: the runtime hands over its error number and returns;
// the service that failed then returns too, and Check ends the evaluation.
bool g_failed = false;
uint32_t g_error = 0;
void OnRuntimeError(uint32_t error) {
  g_failed = true;
  g_error = error & 0xFFFF;
}

class ImportedRuntime : public EvalRuntime {
 public:
  void SetRecovery() override {
    g_failed = false;
    rn_SetRecovery(OnRuntimeError);
  }
  void EndEvaluation() override {
    rn_EndTemps();
    rn_EndRecovery();
    g_failed = false;
  }
  void FpLoad(uint32_t t, const void* v) override { rn_FpLoad(t, v); Check(); }
  void FpStore(uint32_t t, void* out) override { rn_FpStore(t, out); Check(); }
  void FpCheck() override { rn_FpCheck(); Check(); }
  void FpNegate() override { rn_FpNegate(); Check(); }
  void FpPower() override { rn_FpPower(); Check(); }
  bool Convert(uint16_t ordinal, const void* from, void* to) override {
    for (const ConversionImport& c : kConversions) {
      if (c.ordinal == ordinal) {
        int32_t overflow = c.fn(from, to);
        Check();
        return overflow != 0;
      }
    }
    AbortEvaluation(kErrFunction);
  }
  void StrPushConst(uint32_t n, uint32_t a) override { rn_StrPushConst(n, a); Check(); }
  void StrPushEmpty() override { rn_StrPushEmpty(); Check(); }
  void StrPushVar(uint32_t a) override { rn_StrPushVar(a); Check(); }
  void StrPushFixed(uint32_t n, uint32_t a) override { rn_StrPushFixed(n, a); Check(); }
  void StrTakeTop(uint8_t d[kStrDescBytes]) override { rn_StrTakeTop(d); Check(); }
  void StrCopy(const uint8_t d[kStrDescBytes], void* out) override { rn_StrCopy(d, out); Check(); }
  void StrRelease(const uint8_t d[kStrDescBytes]) override { rn_StrRelease(d); Check(); }
  void StrConcat() override { rn_StrConcat(); Check(); }
  int StrCompare() override {
    int c = rn_StrCompare();
    Check();
    return c;
  }
  uint32_t CallRoutine(uint16_t ordinal, const uint32_t* args, uint32_t count) override {
    if (count > 8) AbortEvaluation(kErrFunction);
    uintptr_t w[8] = {};
    for (uint32_t i = 0; i < count; ++i) w[i] = args[i];
    uint32_t eax = Find(ordinal)(w[0], w[1], w[2], w[3], w[4], w[5], w[6], w[7]);
    Check();
    return eax;
  }
  uint32_t CallRoutineBlock(uint16_t ordinal, const uint32_t* block) override {
    uint32_t eax = Find(ordinal)(reinterpret_cast<uintptr_t>(block), 0, 0, 0, 0, 0, 0, 0);
    Check();
    return eax;
  }

 private:
  static void Check() {
    if (g_failed) {
      g_failed = false;
      AbortEvaluation(static_cast<int32_t>(g_error));
    }
  }
  static RoutineFn Find(uint16_t ordinal) {
    for (const RoutineImport& r : kImports)
      if (r.ordinal == ordinal) return r.fn;
    AbortEvaluation(kErrFunction);
  }
};

}  // namespace

// The result record is the caller's: 16 bytes of words and up to 255 value
// bytes, at 32-bit addresses like every other argument.
extern "C" uint32_t __stdcall DbgAnzPcode(uint32_t result, uint32_t stringBase, uint32_t pcode,
                                          uint32_t frameBase) {
  DbgValueResult r;
  DirectMemory memory;
  ImportedRuntime runtime;
  int32_t error = EvaluatePcode(memory, runtime, {stringBase, pcode, frameBase}, r);
  // The five words at least: word 4 is zeroed too when there is no value.
  uint32_t bytes = 16 + (r.size < 4 ? 4 : r.size < kMaxStringBytes ? r.size : kMaxStringBytes);
  std::memcpy(reinterpret_cast<void*>(static_cast<uintptr_t>(result)), &r, bytes);
  return static_cast<uint32_t>(error);
}
