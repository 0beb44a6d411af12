// The debug target over the Win32 debugging interface. The header keeps
// the platform's types out, so the engine's callers need no Win32 header;
// the thread context is the build's own (x86 in the 32-bit IDE, x64 in the
// 64-bit test build), carried whole in Context::raw.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "dbg_target.h"

namespace txdbg {

class Win32Target : public DebugTarget {
public:
    Win32Target() = default;
    ~Win32Target() override;
    Win32Target(const Win32Target&) = delete;
    Win32Target& operator=(const Win32Target&) = delete;

    // The program starts in the current folder with the IDE's environment.
    bool Create(const std::string& program, const std::string& args) override;
    Event Wait(uint32_t milliseconds) override;
    bool Continue(ContinueStatus status) override;
    bool Read(uint64_t address, void* out, size_t size) override;
    bool Write(uint64_t address, const void* data, size_t size) override;
    bool GetContext(Context& ctx) override;
    bool SetContext(const Context& ctx) override;
    bool Terminate(uint32_t exitCode) override;
    // The page-file mapping lives until the next Create or the target's end,
    // so a pointer the engine holds never dangles within a run.
    uint8_t* CreateSharedBlock(const std::string& name, size_t size) override;

    uint32_t ProcessId() const { return processId_; }

private:
    using Handle = void*;
    void CloseRun();
    void ReleaseBlock();
    Handle EventThread() const;

    Handle process_ = nullptr;
    Handle mainThread_ = nullptr; // from CreateProcessA, ours to close
    uint32_t processId_ = 0, mainThreadId_ = 0;
    // The threads the debug events announced; their handles belong to the
    // system and are not closed here.
    std::map<uint32_t, Handle> threads_;
    uint32_t eventThreadId_ = 0;
    bool pending_ = false, exited_ = false;
    bool foreignException_ = false; // the pending event is the program's own exception
    bool contextSet_ = false;       // the engine moved the thread since the event
    Handle mapping_ = nullptr;
    uint8_t* view_ = nullptr;
};

} // namespace txdbg
