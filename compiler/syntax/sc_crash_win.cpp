// The unhandled-exception filter. Natively the guard does nothing: a crash
// there is the debugger's business.
#include "sc_crash.h"

#include "sc_pass.h"
#include "sc_text.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace txsc {

#ifdef _WIN32
namespace {

LONG WINAPI CrashFilter(EXCEPTION_POINTERS *info) {
    ScPass *p = CurrentPass();
    if (!p) return EXCEPTION_CONTINUE_SEARCH;
    std::string msg = CrashMessage(*p);
    MessageBoxA(nullptr, msg.c_str(), CrashTitle(), MB_OK | MB_ICONERROR | MB_SYSTEMMODAL);
    if (FILE *f = std::fopen("AnzInfo.txt", "w")) {
        const EXCEPTION_RECORD *r = info ? info->ExceptionRecord : nullptr;
        WriteCrashDump(f, *p, r ? uint32_t(r->ExceptionCode) : 0, r ? uint32_t(r->ExceptionFlags) : 0,
                       r ? uint32_t(uintptr_t(r->ExceptionAddress)) : 0);
        std::fclose(f);
    }
    return EXCEPTION_CONTINUE_SEARCH;
}

}  // namespace

CrashGuard::CrashGuard(ScPass &) {
    previous_ = reinterpret_cast<void *>(SetUnhandledExceptionFilter(CrashFilter));
}

CrashGuard::~CrashGuard() {
    SetUnhandledExceptionFilter(reinterpret_cast<LPTOP_LEVEL_EXCEPTION_FILTER>(previous_));
}
#else
CrashGuard::CrashGuard(ScPass &) {}
CrashGuard::~CrashGuard() {}
#endif

}  // namespace txsc
