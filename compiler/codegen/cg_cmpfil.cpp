#include "cg_driver.h"
#include "passes.h"

#ifdef _WIN32
#include <windows.h>

namespace {

LPTOP_LEVEL_EXCEPTION_FILTER g_previousFilter = nullptr;

// Names the module and the phase (and in code generation the line), then
// lets the search for a handler go on, so the process ends as it would have.
LONG WINAPI CgCrashFilter(EXCEPTION_POINTERS *) {
    int phase = 0;
    std::string module;
    unsigned line = 0;
    if (txcg::CgCrashInfo(phase, module, line)) {
        std::string text = txcg::FormatCrashMessage(phase, module, line);
        MessageBoxA(nullptr, text.c_str(), txcg::kCrashTitle,
                    MB_OK | MB_ICONSTOP | MB_SYSTEMMODAL);
    }
    return EXCEPTION_CONTINUE_SEARCH;
}

} // namespace

extern "C" TX_PASS_EXPORT int CG_CmpFil(CmpFilParam *param) {
    g_previousFilter = SetUnhandledExceptionFilter(CgCrashFilter);
    int result = txcg::CgCompile(param);
    SetUnhandledExceptionFilter(g_previousFilter);
    return result;
}

#else

extern "C" TX_PASS_EXPORT int CG_CmpFil(CmpFilParam *param) { return txcg::CgCompile(param); }

#endif
