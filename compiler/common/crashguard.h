// The crash filter a compiler pass installs for the duration of its call.
// A pass may be handed any file, so a fault
// inside it must still end with a report naming the source and the phase
// (and, for the analyzer, a dump file) instead of a bare crash.
//
// Windows: an unhandled-exception filter; after the handler has run the
// process ends as for any unhandled exception. Natively: handlers for
// SIGSEGV, SIGBUS, SIGFPE and SIGILL that run the handler and then let the
// signal take its default course. The handler runs in a crashed process:
// it should write its report with plain C stdio and return.
#pragma once

#include <cstdint>

namespace tx {

struct CrashInfo {
    uint32_t code;     // Windows exception code, or the signal number
    const void *address;  // faulting address, when known
    uint32_t flags = 0;   // Windows exception flags
};

using CrashHandler = void (*)(const CrashInfo &info, void *context);

class CrashGuard {
public:
    CrashGuard(CrashHandler handler, void *context);
    ~CrashGuard();
    CrashGuard(const CrashGuard &) = delete;
    CrashGuard &operator=(const CrashGuard &) = delete;

private:
    CrashHandler prevHandler_;
    void *prevContext_;
    void *prevPlatform_;  // the filter (or signal actions) that was in place
};

// The crash report box: system-modal message box on Windows, a line on
// standard error natively.
void ShowCrashBox(const char *text, const char *title);

}  // namespace tx
