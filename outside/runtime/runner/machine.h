// An i386 machine in the unicorn emulator that runs a linked BASIC program
// (a PE image linked against the runtime subset). The runtime reaches the
// host through the Windows functions it imports, which the machine answers
// itself (winapi.cpp, see CONTRACTS.md); everything else the program does
// stays inside the emulated memory.
//
// The interface is what a debugger engine needs as well: load, run until
// something happens, single step, int3 breakpoints (the engine writes 0xCC
// itself), and read or write memory and registers between runs.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "pe_image.h"

namespace tx::runner {

enum class Reg { Eax, Ecx, Edx, Ebx, Esp, Ebp, Esi, Edi, Eip, Eflags };

enum class StopKind {
    Exited,           // the program ended; exitCode holds its status
    Breakpoint,       // an int3 ran; address is the int3's, EIP is after it
    Step,             // Step() finished one instruction, or a run with the
                      // trap flag (EFLAGS bit 8) set did; the flag is cleared
    RuntimeError,     // the runtime reported a BASIC error (basicError, line)
    UnbalancedStack,  // a statement or procedure end found ESP off its depth
    Fault,            // memory fault, invalid instruction or CPU exception
    InstructionLimit, // the run's instruction budget ran out
    TimeLimit,        // the run's wall-clock budget ran out
};

struct Stop {
    StopKind kind = StopKind::Exited;
    uint32_t address = 0;     // where it happened (see StopKind)
    int exitCode = 0;         // Exited
    int basicError = 0;       // RuntimeError
    uint32_t line = 0;        // the BASIC line the runtime last saw (0: none)
    uint32_t expectedEsp = 0; // UnbalancedStack
    uint32_t actualEsp = 0;
    uint32_t faultAddress = 0; // Fault: the data address, when there is one
    std::string detail;        // Fault: what went wrong
};

struct Limits {
    uint64_t instructions = 200'000'000; // 0: no limit
    uint64_t microseconds = 60'000'000;  // 0: no limit
};

class Machine {
public:
    static constexpr uint32_t kStackTop = 0x7FF00000;
    static constexpr uint32_t kStackSize = 1u << 20;
    // The longest console line read at once: a longer one comes in pieces.
    static constexpr size_t kConsoleLineMax = 64u << 10;

    Machine();
    ~Machine();
    Machine(const Machine&) = delete;
    Machine& operator=(const Machine&) = delete;

    // Maps the image and a stack, and sets EIP to the image's entry point.
    // A machine loads one image in its life.
    bool Load(const PeImage& image, std::string& error);
    const PeImage& Image() const { return image_; }

    // Receives the program's console output (default: discarded).
    void SetOutput(std::function<void(const char*, size_t)> sink) { output_ = std::move(sink); }
    // Receives what the program prints on the printer (LPRINT and its
    // family); without one the runtime prints on the console.
    void SetPrinter(std::function<void(const char*, size_t)> sink) { printer_ = std::move(sink); }
    // The folder the program's files live in (the current folder unless
    // set); files still open are closed first.
    void SetFileFolder(const std::string& folder);
    // Where module images (DLLs, LOADM) are looked for, in order; without
    // it, in the file folder.
    void SetModuleFolders(std::vector<std::string> folders);

    // Console input (standard input's ReadFile): the next byte, or -1
    // at the end of input (default: no input at all).
    void SetInput(std::function<int()> next) { input_ = std::move(next); }
    // A fixed local time instead of the host's, for repeatable runs.
    struct Clock {
        int year = 2000, month = 1, day = 1, hour = 0, minute = 0, second = 0, millisecond = 0;
    };
    void SetClock(const Clock& c) {
        clock_ = c;
        fixedClock_ = true;
    }
    // Scripted events for the runtime's event traps, in time order: each is
    // handed over once the simulated clock (a millisecond a statement
    // check, plus WAIT's times) reaches it.
    struct Event {
        uint32_t time = 0; // milliseconds of the simulated clock
        enum Kind : uint32_t { Key = 1, Mouse = 2, Com = 3 } kind = Key;
        int32_t number = 0; // function key 1-10, mouse button 1-2, line 1-4
        int32_t x = 0, y = 0; // where a mouse click is
    };
    void SetEvents(std::vector<Event> events) {
        events_ = std::move(events);
        nextEvent_ = 0;
    }
    // The variables ENVIRON$ finds; the host's own are not seen.
    void SetEnvironment(std::map<std::string, std::string> variables) { environment_ = std::move(variables); }
    // What COMMAND$ returns.
    void SetCommandLine(std::string text) { commandLine_ = std::move(text); }
    // The commands SHELL may run, by their exact text: what each prints on
    // the console and its result. Any other command is refused (error 75);
    // the machine runs nothing of the host's.
    struct ShellCommand {
        std::string output;
        int32_t result = 0;
    };
    void SetShellCommands(std::map<std::string, ShellCommand> table) { shellCommands_ = std::move(table); }
    // Called at each call of a runtime routine (`_$P...@n`, `$P...`) made
    // from the program's own code, with the n / 4 stack words it takes,
    // the first parameter first. The program's objects come before the
    // runtime in the image (link order), which tells the two apart.
    using TraceSink = std::function<void(const std::string& routine, const std::vector<uint32_t>& words)>;
    void SetTrace(TraceSink sink);

    // Runs from EIP until the program stops (see StopKind).
    Stop Run(const Limits& limits = {});
    // Executes one instruction (an int3 or a fault still report as such).
    Stop Step();

    bool Read(uint32_t address, void* out, size_t size) const;
    bool Write(uint32_t address, const void* data, size_t size);
    uint32_t Get(Reg reg) const;
    void Set(Reg reg, uint32_t value);

    // Offers host memory (`size` bytes, a multiple of 4096, alive as long as
    // the machine) as the named shared block: the runtime's
    // OpenFileMappingA and MapViewOfFile map it at kSharedBase when asked
    // for that name.
    static constexpr uint32_t kSharedBase = 0x7FFE0000;
    void OfferSharedBlock(const std::string& name, uint8_t* memory, size_t size);

    std::optional<uint32_t> Symbol(const std::string& name) const { return image_.Symbol(name); }
    // The BASIC line the runtime last saw and its module name, when the
    // image carries the runtime's symbols.
    uint32_t CurrentLine() const;
    std::string CurrentModule() const;

    // One line describing a stop for a person.
    std::string Describe(const Stop& stop, const Limits& limits = {}) const;

private:
    void FlushProgramOutput();
    Stop RunOnce(const Limits& limits);
    Stop StepOnce();
    Stop Aborted();
    struct Impl;
    std::unique_ptr<Impl> impl_;
    PeImage image_;
    std::function<void(const char*, size_t)> output_;
    std::function<void(const char*, size_t)> printer_;
    std::function<int()> input_;
    Clock clock_;
    bool fixedClock_ = false;
    std::string commandLine_;
    std::map<std::string, std::string> environment_;
    std::map<std::string, ShellCommand> shellCommands_;
    std::vector<Event> events_;
    size_t nextEvent_ = 0;
    TraceSink trace_;
    friend struct MachineHooks;
    friend struct WinApi;
    friend struct WinApiCalls;
};

// The text of a BASIC error number the runtime subset raises.
const char* BasicErrorText(int code);

} // namespace tx::runner
