// The crash report of the pass: while SC_CmpFil runs, an unhandled
// exception shows a system-modal box naming the source and the phase and
// leaves the dump "AnzInfo.txt" in the current folder. The filter is the
// passes' common crash guard (sc_crash_win.cpp hooks into it); the texts
// and the dump are portable.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "crashguard.h"

namespace txsc {

struct ScPass;

// "構文解析：<source> <phase text>続行不可能なエラーが発生しました"
std::string CrashMessage(const ScPass &p);
// The dump: message, exception line, trace pointer and the 100 trace entries.
void WriteCrashDump(std::FILE *f, const ScPass &p, uint32_t code, uint32_t flags, uint32_t address);

// Installs the filter for the lifetime of the object and restores the
// previous one on every way out, the fatal exit included.
class CrashGuard {
public:
    explicit CrashGuard(ScPass &p);
    ~CrashGuard();
    CrashGuard(const CrashGuard &) = delete;
    CrashGuard &operator=(const CrashGuard &) = delete;

private:
    tx::CrashGuard guard_;
};

}  // namespace txsc
