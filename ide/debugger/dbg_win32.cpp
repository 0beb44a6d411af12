#include "dbg_win32.h"

#include <windows.h>
// The header's A/W macro would rename the engine's event kind.
#undef CreateProcess

#include <cstdint>
#include <cstring>
#include <vector>

namespace txdbg {
namespace {

constexpr DWORD kDrainMs = 100;
constexpr int kDrainRounds = 50;

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// One thread context of the build's own kind. x64 contexts must sit on a
// 16-byte boundary for GetThreadContext.
struct alignas(16) Regs {
    CONTEXT c;
};

} // namespace

Win32Target::~Win32Target() {
    CloseRun();
    ReleaseBlock();
}

void Win32Target::CloseRun() {
    if (process_ && !exited_) {
        // A debuggee left behind would hold its image and the block's name.
        TerminateProcess(process_, 1);
        for (int i = 0; i < kDrainRounds && !exited_; ++i) {
            if (pending_) {
                pending_ = false;
                ContinueDebugEvent(processId_, eventThreadId_, DBG_CONTINUE);
            }
            Wait(kDrainMs);
        }
    }
    if (process_) CloseHandle(process_);
    if (mainThread_) CloseHandle(mainThread_);
    process_ = mainThread_ = nullptr;
    processId_ = mainThreadId_ = eventThreadId_ = 0;
    threads_.clear();
    pending_ = exited_ = false;
}

void Win32Target::ReleaseBlock() {
    if (view_) UnmapViewOfFile(view_);
    if (mapping_) CloseHandle(mapping_);
    view_ = nullptr;
    mapping_ = nullptr;
}

bool Win32Target::Create(const std::string& program, const std::string& args) {
    CloseRun();
    ReleaseBlock();
    // Quoted, so that a blank in a folder name does not split the path.
    std::string cmd = "\"" + program + "\" " + args;
    while (!cmd.empty() && IsBlank(cmd.back())) cmd.pop_back();
    std::vector<char> line(cmd.begin(), cmd.end());
    line.push_back('\0');
    STARTUPINFOA si;
    std::memset(&si, 0, sizeof si);
    si.cb = sizeof si;
    PROCESS_INFORMATION pi;
    std::memset(&pi, 0, sizeof pi);
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, DEBUG_PROCESS | DEBUG_ONLY_THIS_PROCESS,
                        nullptr, nullptr, &si, &pi))
        return false;
    process_ = pi.hProcess;
    mainThread_ = pi.hThread;
    processId_ = pi.dwProcessId;
    mainThreadId_ = eventThreadId_ = pi.dwThreadId;
    return true;
}

Event Win32Target::Wait(uint32_t milliseconds) {
    Event ev;
    if (!process_ || exited_) return ev;
    DEBUG_EVENT de;
    if (!WaitForDebugEvent(&de, milliseconds)) {
        // Anything but the time-out (no debuggee any more) must not spin.
        if (GetLastError() != ERROR_SEM_TIMEOUT) Sleep(milliseconds < 10 ? milliseconds : 10);
        return ev;
    }
    pending_ = true;
    eventThreadId_ = de.dwThreadId;
    foreignException_ = contextSet_ = false;
    ev.kind = EventKind::Other;
    switch (de.dwDebugEventCode) {
    case CREATE_PROCESS_DEBUG_EVENT:
        if (de.u.CreateProcessInfo.hFile) CloseHandle(de.u.CreateProcessInfo.hFile);
        threads_[de.dwThreadId] = de.u.CreateProcessInfo.hThread;
        ev.kind = EventKind::CreateProcess;
        ev.imageBase = reinterpret_cast<uintptr_t>(de.u.CreateProcessInfo.lpBaseOfImage);
        break;
    case CREATE_THREAD_DEBUG_EVENT: threads_[de.dwThreadId] = de.u.CreateThread.hThread; break;
    case EXIT_THREAD_DEBUG_EVENT: threads_.erase(de.dwThreadId); break;
    case LOAD_DLL_DEBUG_EVENT:
        if (de.u.LoadDll.hFile) CloseHandle(de.u.LoadDll.hFile);
        break;
    case EXCEPTION_DEBUG_EVENT:
        ev.kind = EventKind::Exception;
        ev.code = de.u.Exception.ExceptionRecord.ExceptionCode;
        ev.address = reinterpret_cast<uintptr_t>(de.u.Exception.ExceptionRecord.ExceptionAddress);
        foreignException_ = ev.code != EXCEPTION_BREAKPOINT && ev.code != EXCEPTION_SINGLE_STEP;
        break;
    case OUTPUT_DEBUG_STRING_EVENT:
        ev.kind = EventKind::OutputString;
        ev.stringAddress = reinterpret_cast<uintptr_t>(de.u.DebugString.lpDebugStringData);
        ev.stringLength = de.u.DebugString.nDebugStringLength;
        break;
    case EXIT_PROCESS_DEBUG_EVENT:
        ev.kind = EventKind::ExitProcess;
        ev.exitCode = de.u.ExitProcess.dwExitCode;
        exited_ = true;
        // The engine never continues an exit; the system lets the process
        // go only once it is.
        pending_ = false;
        ContinueDebugEvent(processId_, de.dwThreadId, DBG_CONTINUE);
        break;
    default: break;
    }
    return ev;
}

bool Win32Target::Continue(ContinueStatus status) {
    if (!pending_) return false;
    pending_ = false;
    // The debugging interface takes no "terminate" as a continue status
    // everywhere: the process is ended first and the event let go.
    if (status == ContinueStatus::Terminate) TerminateProcess(process_, 1);
    // An exception that is not the debugger's own trap goes on to the
    // program's handlers; marking it handled would make the raising code
    // carry on as if nothing had happened. Not so once the thread has been
    // pointed elsewhere: the exception is then the debugger's business.
    DWORD how = foreignException_ && !contextSet_ ? DBG_EXCEPTION_NOT_HANDLED : DBG_CONTINUE;
    return ContinueDebugEvent(processId_, eventThreadId_, how) != 0;
}

bool Win32Target::Read(uint64_t address, void* out, size_t size) {
    if (!process_ || exited_ || address > UINTPTR_MAX) return false;
    SIZE_T done = 0;
    return ReadProcessMemory(process_, reinterpret_cast<LPCVOID>(uintptr_t(address)), out, size, &done) &&
           done == size;
}

bool Win32Target::Write(uint64_t address, const void* data, size_t size) {
    if (!process_ || exited_ || address > UINTPTR_MAX) return false;
    void* at = reinterpret_cast<void*>(uintptr_t(address));
    // Code pages are read-only: opened for the one write, then put back.
    DWORD old = 0;
    bool opened = VirtualProtectEx(process_, at, size, PAGE_EXECUTE_READWRITE, &old) != 0;
    SIZE_T done = 0;
    bool ok = WriteProcessMemory(process_, at, data, size, &done) && done == size;
    if (opened) VirtualProtectEx(process_, at, size, old, &old);
    FlushInstructionCache(process_, at, size);
    return ok;
}

Win32Target::Handle Win32Target::EventThread() const {
    auto it = threads_.find(eventThreadId_);
    if (it != threads_.end()) return it->second;
    return mainThread_;
}

bool Win32Target::GetContext(Context& ctx) {
    if (!process_ || exited_) return false;
    Regs r;
    std::memset(&r, 0, sizeof r);
    r.c.ContextFlags = CONTEXT_FULL;
    if (!GetThreadContext(EventThread(), &r.c)) return false;
    const auto* bytes = reinterpret_cast<const uint8_t*>(&r.c);
    ctx.raw.assign(bytes, bytes + sizeof r.c);
#ifdef _WIN64
    ctx.pc = r.c.Rip;
    ctx.result = r.c.Rax;
#else
    ctx.pc = r.c.Eip;
    ctx.result = r.c.Eax;
#endif
    ctx.flags = r.c.EFlags;
    return true;
}

bool Win32Target::SetContext(const Context& ctx) {
    if (!process_ || exited_) return false;
    Regs r;
    std::memset(&r, 0, sizeof r);
    if (ctx.raw.size() == sizeof r.c) {
        std::memcpy(&r.c, ctx.raw.data(), sizeof r.c);
    } else {
        r.c.ContextFlags = CONTEXT_FULL;
        if (!GetThreadContext(EventThread(), &r.c)) return false;
    }
    r.c.ContextFlags = CONTEXT_FULL;
#ifdef _WIN64
    r.c.Rip = ctx.pc;
    r.c.Rax = ctx.result;
#else
    r.c.Eip = DWORD(ctx.pc);
    r.c.Eax = DWORD(ctx.result);
#endif
    r.c.EFlags = ctx.flags;
    contextSet_ = true;
    return SetThreadContext(EventThread(), &r.c) != 0;
}

bool Win32Target::Terminate(uint32_t exitCode) {
    if (!process_ || exited_) return false;
    return TerminateProcess(process_, exitCode) != 0;
}

uint8_t* Win32Target::CreateSharedBlock(const std::string& name, size_t size) {
    if (view_) return view_;
    mapping_ = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, DWORD(size), name.c_str());
    if (!mapping_) return nullptr;
    view_ = static_cast<uint8_t*>(MapViewOfFile(mapping_, FILE_MAP_ALL_ACCESS, 0, 0, size));
    if (!view_) {
        CloseHandle(mapping_);
        mapping_ = nullptr;
    }
    return view_;
}

} // namespace txdbg
