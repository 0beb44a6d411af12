// The debugger engine: one debugging run of a program built with debug
// information. It reads the program's symbols and lines with our own image
// reader, plants int3 traps through a DebugTarget and reports to the user
// interface only through DebugUi, so the same engine runs under the IDE and
// in tests against the emulator.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "dbg_image.h"
#include "dbg_target.h"
#include "watch_block.h"
#include "watch_layout.h"

namespace txdbg {

// Every call the engine makes to the user interface.
class DebugUi {
public:
    virtual ~DebugUi() = default;
    virtual void ShowStopLine(const std::string& module, uint32_t line) = 0;
    // A string-table message; arg fills its %s.
    virtual void Message(int id, const std::string& arg) = 0;
    // A message formatted by the engine (no string-table id).
    virtual void MessageText(const std::string& text) = 0;
    // A bare box: no owner, no caption, the exclamation icon.
    virtual void BareMessage(const std::string& text) { MessageText(text); }
    virtual void AppError(const std::string& text) = 0;
    virtual void RuntimeError(const std::string& module, uint32_t line, uint32_t error) = 0;
    virtual void Output(const std::string& text) = 0;
    // The debuggee has ended (by itself or stopped); the IDE returns to edit mode.
    virtual void RunEnded(uint32_t exitCode) = 0;
    // A watch was added again at the first stop (the watch window shows it).
    virtual void WatchRestored(const txwatch::WatchVar&) {}
    // The kept watches and breakpoints are back (the first stop).
    virtual void WatchesRestored() {}
    // Every watch was evaluated again.
    virtual void WatchesRefreshed() {}
    // The wait cursor on (true) or off around a long walk.
    virtual void WaitCursor(bool) {}
    // The handshake is done: the IDE's floating-point unit is reset.
    virtual void ResetFpu() {}
};

// The wait cursor for the life of a scope.
class WaitCursor {
public:
    explicit WaitCursor(DebugUi& ui) : ui_(ui) { ui_.WaitCursor(true); }
    ~WaitCursor() { ui_.WaitCursor(false); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    DebugUi& ui_;
};

enum DebugState : uint32_t {
    kStateIdle = 0,
    kStateReset = 1,
    kStateStarting = 2,
    kStateRedraw = 4,
    kStateTrace = 16,
    kStatePassTrace = 17,
    kStateGo = 128,
    kStateStopping = 144,
};

constexpr uint16_t kBpSet = 0x8000;
constexpr uint16_t kBpDisabled = 0x4000;
constexpr int kMaxBreakpointCount = 16; // 1 + at most 15 user breakpoints
constexpr size_t kSharedBlockSize = txwatch::kBlockBytes;
constexpr size_t kSharedBlockCleared = txwatch::kBlockCleared;
inline constexpr char kSharedBlockName[] = "TvDbgMapFile";

struct DbgModule {
    std::string name;
    uint64_t start = 0;
    uint32_t size = 0;
    uint32_t number = 0;
};

struct DbgSymbol {
    std::string name, name2;
    uint64_t address = 0;
    uint32_t size = 0;
    uint32_t module = 0;
    uint32_t number = 0;
};

struct DbgLine {
    uint64_t address = 0;
    uint32_t line = 0;
    uint32_t module = 0, symbol = 0;
    uint8_t saved = 0;
    bool breakpoint = false; // a user breakpoint is set
    bool temporary = false;  // the run-to-cursor target, gone at the next stop
    uint16_t flags = 0;
    uint32_t pass = 1, remaining = 1;
    uint32_t bpLine = 0;
    uint64_t frame = 0;
    std::string modulePath;
    bool planted = false;

    bool Disabled() const { return flags & kBpDisabled; }
    // A breakpoint of the user's, not the run-to-cursor target.
    bool UserBreakpoint() const { return breakpoint && !temporary; }
};

// Breakpoints kept by the project from one debugging run to the next.
struct KeptBreakpoint {
    std::string module, function, function2;
    uint32_t line = 0;
    uint16_t flags = kBpSet;
    uint32_t pass = 1, remaining = 1;
};
// A watch kept between runs: its text and hexadecimal flag.
struct KeptWatch {
    std::string text;
    bool hex = false;
};
struct KeptState {
    std::vector<KeptBreakpoint> breakpoints;
    std::vector<KeptWatch> watches;
};

class DebugEngine {
public:
    DebugEngine(DebugTarget& target, DebugUi& ui, KeptState& kept);

    // Folder of the modules' object files ("" for the current folder).
    void SetObjectFolder(const std::string& folder) { objFolder_ = folder; }
    // Bound of every wait for the debuggee (the start, a trap, the exit).
    void SetWaitBound(std::chrono::milliseconds bound) { waitBound_ = bound; }

    bool Start(const std::string& program, const std::string& args, bool showOutput);
    bool Stop(int graceful);
    void PumpDebugEvents(int flag);
    bool IsRunning() const;

    bool Trace();
    bool PassTrace();
    bool Go();
    void RunToCursor(uint32_t line, uint64_t frame, const std::string& module);
    int SetBreakpoint(bool enabled, uint32_t line, uint32_t count, uint32_t remaining, uint64_t frame,
                      const std::string& module);
    int SetLineBreakpoint(bool enabled, uint32_t line, uint32_t count, uint32_t remaining, uint64_t frame,
                          const std::string& module);
    void RemoveBreakpoint(uint32_t line, uint64_t frame, const std::string& module);
    bool IsCurrentLine(const std::string& module, uint32_t line) const;
    bool GetBreakpointState(const std::string& module, uint32_t line, bool& disabled) const;
    bool CallRedraw(int flag);
    // Runs $BAS_DBGVALUECALC at a stop: the debuggee answers the request
    // in the shared block. False when it cannot be made (the symbol is
    // missing: a message; not stopped; the debuggee went).
    bool CallValueCalc();
    // The shared block from the first stop's handshake to the end of the
    // run, else null.
    uint8_t* SharedBlock() const { return block_; }

    // Watches. The tokeniser and the runtime's error texts come from the
    // caller; without a tokeniser no watch is made.
    void SetWatchServices(txwatch::TokenizerFn tokenize, txwatch::ErrorTextFn errorText) {
        tokenize_ = std::move(tokenize);
        errorText_ = std::move(errorText);
    }
    std::unique_ptr<txwatch::WatchVar> CompileExpression(const std::string& text, bool hex);
    // Appended to the watch list and evaluated; null when nothing was made.
    // answered, when given, tells whether the debuggee answered.
    txwatch::WatchVar* AddWatchExpression(const std::string& text, bool hex, bool* answered = nullptr);
    bool EvaluateExpression(txwatch::WatchVar& var);
    // A watch outside the list with its value text; null when it could not
    // be evaluated.
    std::unique_ptr<txwatch::WatchVar> EvaluateText(const std::string& text, std::string& valueText);
    bool RefreshWatches();
    txwatch::WatchVar* FindWatch(uint32_t number);
    bool DeleteWatch(uint32_t number);
    const std::vector<std::unique_ptr<txwatch::WatchVar>>& Watches() const { return watches_; }
    std::string ValueText(const txwatch::WatchVar& var) const { return txwatch::WatchValueText(var, errorText_); }
    const txwatch::ErrorTextFn& ErrorText() const { return errorText_; }

    uint32_t State() const { return state_; }
    bool Ended() const { return runOver_; }
    bool Exited() const { return exited_; }
    uint32_t ExitCode() const { return exitCode_; }
    int BreakpointCount() const { return bpCount_; }
    const DbgLine* CurrentLine() const { return current_; }
    const std::vector<DbgModule>& Modules() const { return modules_; }
    const std::vector<DbgSymbol>& Symbols() const { return symbols_; }
    const std::vector<DbgLine>& Lines() const { return lines_; }

    const DbgModule* FindModule(const std::string& name) const;
    const DbgModule* FindModule(uint32_t number) const;
    const DbgModule* ModuleAt(uint64_t address) const;
    const DbgSymbol* FindSymbol(const std::string& name) const;
    const DbgSymbol* FindSymbol(uint32_t number) const;
    const DbgSymbol* SymbolAt(uint64_t address) const;
    DbgLine* LineAt(uint64_t address);
    DbgLine* FindLineInfo(const std::string& module, uint32_t line);
    const DbgLine* FindLineInfo(const std::string& module, uint32_t line) const;

private:
    enum class Status { Stay, Continue, Terminate, Deferred };

    Event NextEvent(uint32_t milliseconds);
    bool LoadSymbols(const Event& created);
    void ReadImageLineNumbers(const ImageInfo& image);
    void ReadObjLineNumbers(const ImageInfo& image);
    // Lets go of the image's debug information; true when all went.
    bool UnloadSymbols();
    bool SetFirstStop();
    Status OnException(const Event& ev, bool& stopRun);
    Status OnBreakpointException(uint64_t address);
    void OnOutputDebugString(const Event& ev);
    void OnExit(uint32_t code);
    bool SetInt3(DbgLine& l, bool keep);
    bool ClearInt3(DbgLine& l, bool keep);
    bool PlantLineTraps(bool plant);
    void PlantUserBreakpoints();
    void RemoveAllTraps();
    bool StepOverTrap();
    bool Resume(uint32_t state);
    bool ContinuePending(ContinueStatus status);
    bool WaitForTrap();
    void WaitForExit();
    void TerminateAndWait(uint32_t code);
    bool InitHandshake();
    bool CallInDebuggee(uint64_t address, const uint64_t* eax);
    bool IsRuntimeErrorPosted() const;
    bool ShowRuntimeError(uint64_t address);
    void ReportAppError(uint64_t address);
    void ShowStopLine();
    void SaveBreakpoints();
    void RestoreBreakpoints();
    void EndRun();
    void FreeRecords();
    void ClearSharedBlock();

    DebugTarget& target_;
    DebugUi& ui_;
    KeptState& kept_;
    std::string program_, objFolder_;
    std::chrono::milliseconds waitBound_{10000};

    uint32_t state_ = kStateIdle;
    bool startPhase_ = false, ending_ = false, stepOff_ = false;
    bool userPlanted_ = false, lineTrapsPlanted_ = false, showOutput_ = false;
    bool pending_ = false;  // an event waits for Continue
    bool runOver_ = false;  // records freed, breakpoints kept
    bool exited_ = false;
    bool saved_ = false;
    uint32_t exitCode_ = 0;
    std::optional<Event> deferred_;
    std::chrono::steady_clock::time_point startedAt_;

    uint64_t imageBase_ = 0;
    std::optional<ImageInfo> debugInfo_; // from the create-process event to the exit
    uint64_t firstStop_ = 0, dbgInit_ = 0, dbgRedraw_ = 0, dbgEnd_ = 0, dbgValueCalc_ = 0;
    DbgLine* current_ = nullptr;
    int bpCount_ = 1;
    uint8_t* block_ = nullptr;

    std::vector<DbgModule> modules_;
    std::vector<DbgSymbol> symbols_;
    std::vector<DbgLine> lines_;
    std::vector<std::unique_ptr<txwatch::WatchVar>> watches_;
    uint32_t nextWatch_ = 0;
    txwatch::TokenizerFn tokenize_;
    txwatch::ErrorTextFn errorText_;
};

} // namespace txdbg
