// The stand-in TQ70RN63.DLL: the services of rn_machine.cpp exported by
// ordinal only (tq70rn63.def, generated from the evaluator's lists). A
// runtime error is handed to the recovery point registered through ordinal
// 216; the service then returns, and the caller abandons its work.
#include <cstdint>

#include "ev_defs.h"
#include "ev_routines.h"
#include "rn_machine.h"

using txrn::RnError;

namespace {

txrn::RnMachine g_rn;
void (*g_recovery)(uint32_t) = nullptr;

template <typename F>
auto Guard(F f) -> decltype(f()) {
  try {
    return f();
  } catch (const RnError& e) {
    if (g_recovery) g_recovery(static_cast<uint32_t>(e.error) & 0xFFFF);
    return decltype(f())();
  }
}

}  // namespace

#define RN_EXPORT extern "C"

RN_EXPORT void rn_SetRecovery(void (*recovery)(uint32_t)) { g_recovery = recovery; }
RN_EXPORT void rn_EndRecovery() { g_recovery = nullptr; }
RN_EXPORT void rn_EndTemps() { g_rn.Reset(); }

RN_EXPORT void rn_FpLoad(uint32_t type, const void* v) { Guard([&] { g_rn.FpLoad(type, v); }); }
RN_EXPORT void rn_FpStore(uint32_t type, void* out) { Guard([&] { g_rn.FpStore(type, out); }); }
RN_EXPORT void rn_FpCheck() { Guard([&] { g_rn.FpCheck(); }); }
RN_EXPORT void rn_FpNegate() { Guard([&] { g_rn.FpNegate(); }); }
RN_EXPORT void rn_FpPower() { Guard([&] { g_rn.FpPower(); }); }

RN_EXPORT void rn_StrPushConst(uint32_t n, uint32_t a) { Guard([&] { g_rn.StrPushConst(n, a); }); }
RN_EXPORT void rn_StrPushEmpty() { Guard([&] { g_rn.StrPushEmpty(); }); }
RN_EXPORT void rn_StrPushVar(uint32_t a) { Guard([&] { g_rn.StrPushVar(a); }); }
RN_EXPORT void rn_StrPushFixed(uint32_t n, uint32_t a) { Guard([&] { g_rn.StrPushFixed(n, a); }); }
RN_EXPORT void rn_StrTakeTop(uint8_t* d) { Guard([&] { g_rn.StrTakeTop(d); }); }
RN_EXPORT void rn_StrCopy(const uint8_t* d, void* out) { Guard([&] { g_rn.StrCopy(d, out); }); }
RN_EXPORT void rn_StrRelease(const uint8_t* d) { Guard([&] { g_rn.StrRelease(d); }); }
RN_EXPORT void rn_StrConcat() { Guard([&] { g_rn.StrConcat(); }); }
RN_EXPORT int32_t rn_StrCompare() { return Guard([&] { return g_rn.StrCompare(); }); }

// Conversions: (source, destination), non-zero on overflow.
#define RN_CONVERSION(name)                                                        \
  RN_EXPORT int32_t rn_Cnv##name(const void* from, void* to) {                       \
    return Guard([&] { return int32_t(g_rn.Convert(txev::kCnv##name, from, to)); }); \
  }
RN_CONVERSION(DblToInt)
RN_CONVERSION(DblToLng)
RN_CONVERSION(DblToSng)
RN_CONVERSION(IntToDbl)
RN_CONVERSION(IntToSng)
RN_CONVERSION(LngToDbl)
RN_CONVERSION(LngToSng)
RN_CONVERSION(SngToDbl)
RN_CONVERSION(SngToInt)
RN_CONVERSION(SngToLng)
RN_CONVERSION(BytToSng)
RN_CONVERSION(BytToDbl)
RN_CONVERSION(SngToByt)
RN_CONVERSION(DblToByt)

// Intrinsic routines take up to eight pointer-wide words; CHR$ (3417)
// takes the address of its counted block.
#define RN_ROUTINE(ordinal)                                                               \
  RN_EXPORT uint32_t rn_r_##ordinal(uintptr_t a0, uintptr_t a1, uintptr_t a2, uintptr_t a3, \
                                    uintptr_t a4, uintptr_t a5, uintptr_t a6, uintptr_t a7) { \
    return Guard([&] {                                                                    \
      if (ordinal == 3417) return g_rn.CallBlock(ordinal, reinterpret_cast<const uint32_t*>(a0)); \
      const uint32_t w[8] = {uint32_t(a0), uint32_t(a1), uint32_t(a2), uint32_t(a3),      \
                             uint32_t(a4), uint32_t(a5), uint32_t(a6), uint32_t(a7)};     \
      return g_rn.Call(ordinal, w, 8);                                                    \
    });                                                                                   \
  }
#define RN_ROUTINE_ROW(code, ordinal) RN_ROUTINE(ordinal)
TXEV_ROUTINES(RN_ROUTINE_ROW)
TXEV_STR_VARIANTS(RN_ROUTINE)
TXEV_FORMAT_VARIANTS(RN_ROUTINE)
