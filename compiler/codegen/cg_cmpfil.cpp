// The pass's entry point: the compilation under the common crash guard.
#include "cg_driver.h"
#include "crashguard.h"
#include "passes.h"

namespace {

// Names the module and the phase (and in code generation the line); the
// guard then lets the crash take its course, so the process ends as it
// would have.
void OnCrash(const tx::CrashInfo &, void *) {
    int phase = 0;
    std::string module;
    unsigned line = 0;
    if (txcg::CgCrashInfo(phase, module, line)) {
        std::string text = txcg::FormatCrashMessage(phase, module, line);
        tx::ShowCrashBox(text.c_str(), txcg::kCrashTitle);
    }
}

} // namespace

extern "C" TX_PASS_EXPORT int CG_CmpFil(CmpFilParam *param) {
    tx::CrashGuard guard(OnCrash, nullptr);
    return txcg::CgCompile(param);
}
