#include "crashguard.h"

#include <cstdio>

#ifdef _WIN32
#include <windows.h>
#else
#include <csignal>
#endif

namespace tx {
namespace {

// One compilation runs in a process at a time; nested guards chain through
// the saved previous values.
CrashHandler g_handler = nullptr;
void *g_context = nullptr;

#ifdef _WIN32

LONG WINAPI CrashFilter(EXCEPTION_POINTERS *ep) {
    if (g_handler) {
        CrashInfo info{};
        if (ep && ep->ExceptionRecord) {
            info.code = ep->ExceptionRecord->ExceptionCode;
            info.address = ep->ExceptionRecord->ExceptionAddress;
            info.flags = ep->ExceptionRecord->ExceptionFlags;
        }
        CrashHandler h = g_handler;
        g_handler = nullptr;  // a fault inside the handler must not loop
        h(info, g_context);
    }
    // The report is made; the process ends as the platform decides.
    return EXCEPTION_CONTINUE_SEARCH;
}

#else

constexpr int kSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL};
constexpr int kSignalCount = sizeof kSignals / sizeof kSignals[0];

struct SavedActions {
    struct sigaction act[kSignalCount];
    SavedActions *outer;
};
SavedActions *g_saved = nullptr;

void CrashSignal(int sig, siginfo_t *si, void *) {
    if (g_handler) {
        CrashHandler h = g_handler;
        g_handler = nullptr;
        h(CrashInfo{static_cast<uint32_t>(sig), si ? si->si_addr : nullptr}, g_context);
    }
    // The signal goes on to what was there before the guard: the default
    // action, or a sanitizer that reports the fault with its stack. A fault
    // raised by an instruction recurs when the handler returns, with its
    // full context; a signal sent from outside is sent again.
    bool restored = false;
    for (int i = 0; g_saved && i < kSignalCount; ++i)
        if (kSignals[i] == sig)
            restored = sigaction(sig, &g_saved->act[i], nullptr) == 0;
    if (!restored)
        std::signal(sig, SIG_DFL);
    if (!si || si->si_code <= 0)
        std::raise(sig);
}

#endif

}  // namespace

CrashGuard::CrashGuard(CrashHandler handler, void *context)
    : prevHandler_(g_handler), prevContext_(g_context), prevPlatform_(nullptr) {
    g_handler = handler;
    g_context = context;
#ifdef _WIN32
    prevPlatform_ = reinterpret_cast<void *>(SetUnhandledExceptionFilter(CrashFilter));
#else
    auto *saved = new SavedActions;
    saved->outer = g_saved;
    g_saved = saved;
    struct sigaction sa {};
    sa.sa_sigaction = CrashSignal;
    sa.sa_flags = SA_SIGINFO | SA_NODEFER;
    sigemptyset(&sa.sa_mask);
    for (int i = 0; i < kSignalCount; ++i)
        sigaction(kSignals[i], &sa, &saved->act[i]);
    prevPlatform_ = saved;
#endif
}

CrashGuard::~CrashGuard() {
#ifdef _WIN32
    SetUnhandledExceptionFilter(reinterpret_cast<LPTOP_LEVEL_EXCEPTION_FILTER>(prevPlatform_));
#else
    auto *saved = static_cast<SavedActions *>(prevPlatform_);
    for (int i = 0; i < kSignalCount; ++i)
        sigaction(kSignals[i], &saved->act[i], nullptr);
    g_saved = saved->outer;
    delete saved;
#endif
    g_handler = prevHandler_;
    g_context = prevContext_;
}

void ShowCrashBox(const char *text, const char *title) {
#ifdef _WIN32
    MessageBoxA(nullptr, text, title, MB_OK | MB_ICONSTOP | MB_SYSTEMMODAL);
#else
    std::fprintf(stderr, "%s: %s\n", title, text);
    std::fflush(stderr);
#endif
}

}  // namespace tx
