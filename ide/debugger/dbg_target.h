// The one interface between the debugger engine and its debuggee. The
// engine never sees a platform handle: the unicorn target (natively) and the
// Win32 debugging interface (on Windows) both sit behind it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace txdbg {

// Exception codes as the platform numbers them; every target reports these.
constexpr uint32_t kExcBreakpoint = 0x80000003;
constexpr uint32_t kExcSingleStep = 0x80000004;
constexpr uint32_t kExcAccessViolation = 0xC0000005;
constexpr uint32_t kExcIllegalInstruction = 0xC000001D;
constexpr uint32_t kExcIntDivideByZero = 0xC0000094;
constexpr uint32_t kExcStackOverflow = 0xC00000FD;
constexpr uint32_t kExcControlC = 0x40010005;

constexpr uint32_t kTrapFlag = 0x100; // EFLAGS bit 8

enum class EventKind {
    Timeout,       // nothing happened within the wait
    CreateProcess, // the image is loaded, nothing has run yet
    Exception,     // code, address
    ExitProcess,   // exitCode
    OutputString,  // stringAddress, stringLength (bytes in the debuggee)
    Other,
};

struct Event {
    EventKind kind = EventKind::Timeout;
    uint32_t code = 0;
    uint64_t address = 0;
    uint32_t exitCode = 0;
    uint64_t imageBase = 0;
    uint64_t stringAddress = 0;
    uint32_t stringLength = 0;
};

enum class ContinueStatus { Continue, Terminate };

// The stopped thread's registers. pc, result (EAX/RAX) and flags are the
// neutral fields the engine changes; raw carries the rest for the target.
struct Context {
    uint64_t pc = 0;
    uint64_t result = 0;
    uint32_t flags = 0;
    std::vector<uint8_t> raw;
};

class DebugTarget {
public:
    virtual ~DebugTarget() = default;
    // Starts the program suspended before its first instruction; the first
    // event is CreateProcess.
    virtual bool Create(const std::string& program, const std::string& args) = 0;
    // The next event, or Timeout after about `milliseconds`. After an event
    // the debuggee stays suspended until Continue.
    virtual Event Wait(uint32_t milliseconds) = 0;
    virtual bool Continue(ContinueStatus status) = 0;
    virtual bool Read(uint64_t address, void* out, size_t size) = 0;
    virtual bool Write(uint64_t address, const void* data, size_t size) = 0;
    virtual bool GetContext(Context& ctx) = 0;
    virtual bool SetContext(const Context& ctx) = 0;
    // Ends the debuggee; its exit event arrives once the pending event is
    // continued.
    virtual bool Terminate(uint32_t exitCode) = 0;
    // The named shared block both sides see ("TvDbgMapFile"): host memory of
    // `size` bytes, or null when it cannot be made.
    virtual uint8_t* CreateSharedBlock(const std::string& name, size_t size) = 0;
    // The version of the symbol services the target's platform offers, when
    // the engine depends on them; none (the default) when it does not.
    struct ServicesVersion {
        uint16_t major = 0, minor = 0, revision = 0;
    };
    virtual bool SymbolServicesVersion(ServicesVersion&) { return false; }
};

// The symbol services are new enough from version 4.0.5 on.
inline bool SymbolServicesNewEnough(const DebugTarget::ServicesVersion& v) {
    return v.major > 4 || (v.major == 4 && (v.minor > 0 || v.revision >= 5));
}

} // namespace txdbg
