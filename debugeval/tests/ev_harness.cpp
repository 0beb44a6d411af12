#include "ev_harness.h"

#include <stdexcept>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/mman.h>
#endif

#ifdef TX_EVAL_DLL
extern "C" uint32_t __stdcall DbgAnzPcode(uint32_t result, uint32_t stringBase, uint32_t pcode,
                                          uint32_t frameBase);
#else
#include "evaluator.h"
#include "rn_machine.h"
#endif

namespace txev_test {

namespace {
constexpr uint32_t kArenaBytes = 1 << 20;
}

Arena::Arena() {
#ifdef _WIN32
  // Ask for low addresses until one is free: the data must lie below 4 GB.
  for (uintptr_t hint = 0x10000000; hint < 0xF0000000u && !base_; hint += 0x01000000)
    base_ = static_cast<uint8_t*>(VirtualAlloc(reinterpret_cast<void*>(hint), kArenaBytes,
                                               MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
#else
  void* p = mmap(nullptr, kArenaBytes, PROT_READ | PROT_WRITE,
                 MAP_PRIVATE | MAP_ANONYMOUS | MAP_32BIT, -1, 0);
  base_ = p == MAP_FAILED ? nullptr : static_cast<uint8_t*>(p);
#endif
  if (!base_ || reinterpret_cast<uintptr_t>(base_) + kArenaBytes > 0xFFFFFFFFull)
    throw std::runtime_error("no memory below 4 GB");
  used_ = 16;   // address 0 stays "none"
}

Arena::~Arena() {
#ifdef _WIN32
  VirtualFree(base_, 0, MEM_RELEASE);
#else
  munmap(base_, kArenaBytes);
#endif
}

uint32_t Arena::Put(const void* data, uint32_t bytes) {
  if (used_ + bytes + 4 > kArenaBytes) throw std::runtime_error("arena full");
  uint32_t address = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(base_) + used_);
  if (bytes) std::memcpy(base_ + used_, data, bytes);
  used_ = (used_ + bytes + 3) & ~3u;
  return address;
}

uint32_t Arena::Zeros(uint32_t bytes) {
  std::vector<uint8_t> z(bytes);
  return Put(z.data(), bytes);
}

uint32_t Arena::Desc(uint8_t type, uint8_t cls, uint32_t address, uint32_t extra,
                     uint32_t bounds) {
  uint8_t d[20] = {type, cls};
  std::memcpy(d + kDescAddr, &address, 4);
  std::memcpy(d + kDescExtra, &extra, 4);
  std::memcpy(d + kDescBounds, &bounds, 4);
  return Put(d, sizeof d);
}

uint32_t Arena::Bounds(std::initializer_list<uint32_t> upper) {
  std::vector<uint8_t> b(1 + 4 * upper.size());
  b[0] = static_cast<uint8_t>(upper.size());
  size_t i = 0;
  for (uint32_t u : upper) std::memcpy(&b[1 + 4 * i++], &u, 4);
  return Put(b.data(), static_cast<uint32_t>(b.size()));
}

uint32_t Arena::Header(uint32_t data, uint32_t bounds) {
  uint8_t h[12] = {};
  std::memcpy(h + kHdrData, &data, 4);
  std::memcpy(h + kHdrBounds, &bounds, 4);
  return Put(h, sizeof h);
}

uint32_t Arena::StrVar(const std::string& text) {
  uint32_t t = text.empty() ? 0 : Text(text);
  uint32_t d[3] = {0, static_cast<uint32_t>(text.size()), t};
  return Put(d, sizeof d);
}

#ifdef TX_EVAL_DLL

Outcome Evaluate(Arena& arena, uint32_t pcode, uint32_t stringBase, uint32_t frameBase) {
  uint32_t rec = arena.Zeros(16 + 256);
  std::memset(arena.At(rec), 0xCC, 20);   // the entry must clear the five words
  Outcome o{};
  o.returned = static_cast<int32_t>(DbgAnzPcode(rec, stringBase, pcode, frameBase));
  std::memcpy(&o.reserved, arena.At(rec), 16);
  std::memcpy(&o.word4, arena.At(rec) + 16, 4);
  o.value.assign(arena.At(rec) + 16, arena.At(rec) + 16 + (o.size < 256 ? o.size : 256));
  return o;
}

bool RuntimeIsClean() { return true; }

#else

namespace {

// The stand-in runtime's core behind the evaluator's interface; a runtime
// error comes back as the fault the recovery point would deliver.
class StandInRuntimeImpl : public txev::EvalRuntime {
 public:
  txrn::RnMachine rn;
  int recoveries = 0;

  template <typename F>
  auto Run(F f) -> decltype(f()) {
    try {
      return f();
    } catch (const txrn::RnError& e) {
      txev::AbortEvaluation(e.error);
    }
  }
  void SetRecovery() override { ++recoveries; }
  void EndEvaluation() override {
    --recoveries;
    clean = rn.FpDepth() == 0 && rn.StrDepth() == 0 && rn.LiveTemps() == 0;
    rn.Reset();
  }
  void FpLoad(uint32_t t, const void* v) override { Run([&] { rn.FpLoad(t, v); }); }
  void FpStore(uint32_t t, void* out) override { Run([&] { rn.FpStore(t, out); }); }
  void FpCheck() override { Run([&] { rn.FpCheck(); }); }
  void FpNegate() override { Run([&] { rn.FpNegate(); }); }
  void FpPower() override { Run([&] { rn.FpPower(); }); }
  bool Convert(uint16_t o, const void* f, void* t) override { return Run([&] { return rn.Convert(o, f, t); }); }
  void StrPushConst(uint32_t n, uint32_t a) override { Run([&] { rn.StrPushConst(n, a); }); }
  void StrPushEmpty() override { Run([&] { rn.StrPushEmpty(); }); }
  void StrPushVar(uint32_t a) override { Run([&] { rn.StrPushVar(a); }); }
  void StrPushFixed(uint32_t n, uint32_t a) override { Run([&] { rn.StrPushFixed(n, a); }); }
  void StrTakeTop(uint8_t d[12]) override { Run([&] { rn.StrTakeTop(d); }); }
  void StrCopy(const uint8_t d[12], void* out) override { Run([&] { rn.StrCopy(d, out); }); }
  void StrRelease(const uint8_t d[12]) override { Run([&] { rn.StrRelease(d); }); }
  void StrConcat() override { Run([&] { rn.StrConcat(); }); }
  int StrCompare() override { return Run([&] { return rn.StrCompare(); }); }
  uint32_t CallRoutine(uint16_t o, const uint32_t* a, uint32_t n) override {
    return Run([&] { return rn.Call(o, a, n); });
  }
  uint32_t CallRoutineBlock(uint16_t o, const uint32_t* b) override {
    return Run([&] { return rn.CallBlock(o, b); });
  }
  bool clean = true;
};

StandInRuntimeImpl g_runtime;

}  // namespace

txev::EvalRuntime& StandInRuntime() { return g_runtime; }

Outcome Evaluate(Arena& arena, uint32_t pcode, uint32_t stringBase, uint32_t frameBase) {
  (void)arena;
  txev::DirectMemory memory;
  txev::DbgValueResult r;
  std::memset(&r, 0xCC, sizeof r);
  Outcome o{};
  o.returned = txev::EvaluatePcode(memory, g_runtime, {stringBase, pcode, frameBase}, r);
  o.reserved = r.reserved;
  o.error = r.error;
  o.type = r.type;
  o.size = r.size;
  std::memcpy(&o.word4, r.value, 4);
  o.value.assign(r.value, r.value + (r.size < 256 ? r.size : 256));
  return o;
}

bool RuntimeIsClean() { return g_runtime.clean && g_runtime.recoveries == 0; }

#endif

}  // namespace txev_test
