// The analyzer's side of the crash guard: the box naming the source and
// the phase, then the dump in the current folder (skipped when it cannot
// be created). The common guard restores the previous filter when the pass
// returns, the fatal exit included.
#include "sc_crash.h"

#include "sc_pass.h"
#include "sc_text.h"

namespace txsc {

namespace {

void OnCrash(const tx::CrashInfo &info, void *context) {
    const ScPass &p = *static_cast<const ScPass *>(context);
    std::string msg = CrashMessage(p);
    tx::ShowCrashBox(msg.c_str(), CrashTitle());
    if (std::FILE *f = std::fopen("AnzInfo.txt", "w")) {
        WriteCrashDump(f, p, info.code, info.flags, uint32_t(reinterpret_cast<uintptr_t>(info.address)));
        std::fclose(f);
    }
}

}  // namespace

CrashGuard::CrashGuard(ScPass &p) : guard_(OnCrash, &p) {}
CrashGuard::~CrashGuard() = default;

}  // namespace txsc
