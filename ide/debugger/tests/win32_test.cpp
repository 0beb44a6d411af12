// The engine through the Win32 target, under Wine, on an x86_64 debuggee of
// our own (fake_debuggee.c): its module FAKE.BAS has lines 2-6 and 8-12 in
// $BAS_MAIN (a loop over 4-6 calling FAKESUB), lines 20-25 in FAKESUB (22-25 never reached).
#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "dbg_engine.h"
#include "dbg_texts.h"
#include "dbg_win32.h"
#include "fake_debuggee.h"
#include "recorder.h"

namespace txdbg::test {
namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kPrompt = std::chrono::seconds(3);

std::string WinPath(const std::string& unixPath) {
    std::string p = "Z:" + unixPath;
    for (char& c : p)
        if (c == '/') c = '\\';
    return p;
}

template <typename... A> std::string Format(const char* fmt, A... args) {
    char buf[1024];
    std::snprintf(buf, sizeof buf, fmt, args...);
    return buf;
}

// Runs a program to its end, outside any debugger.
DWORD RunPlain(const std::string& cmd) {
    std::vector<char> line(cmd.begin(), cmd.end());
    line.push_back('\0');
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return DWORD(-1);
    WaitForSingleObject(pi.hProcess, 30000);
    DWORD code = DWORD(-1);
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return code;
}

// A word the debuggee keeps in the shared block, seen from outside.
uint32_t BlockWord(size_t offset) {
    HANDLE h = OpenFileMappingA(FILE_MAP_READ, FALSE, kSharedBlockName);
    if (!h) return 0xFFFFFFFF;
    uint32_t v = 0xFFFFFFFF;
    if (void* view = MapViewOfFile(h, FILE_MAP_READ, 0, 0, kSharedBlockSize)) {
        std::memcpy(&v, static_cast<uint8_t*>(view) + offset, 4);
        UnmapViewOfFile(view);
    }
    CloseHandle(h);
    return v;
}

class Win32TargetTest : public ::testing::Test {
protected:
    // A folder with a blank in its name: the command line must quote the
    // program. FAKE.obj is written there by the debuggee itself.
    static void SetUpTestSuite() {
        char tmp[MAX_PATH];
        GetTempPathA(MAX_PATH, tmp);
        folder = new std::string(std::string(tmp) + "txdbg wine " + std::to_string(GetCurrentProcessId()));
        CreateDirectoryA(folder->c_str(), nullptr);
        program = new std::string(*folder + "\\FAKE.EXE");
        ASSERT_TRUE(CopyFileA(WinPath(TX_FAKE_DEBUGGEE).c_str(), program->c_str(), FALSE));
        ASSERT_EQ(RunPlain("\"" + *program + "\" --obj \"" + *folder + "\\FAKE.obj\""), 0u);
    }
    static void TearDownTestSuite() {
        DeleteFileA((*folder + "\\FAKE.obj").c_str());
        DeleteFileA(program->c_str());
        RemoveDirectoryA(folder->c_str());
        delete program;
        delete folder;
    }

    void SetUp() override {
        engine.SetObjectFolder(*folder);
        engine.SetWaitBound(std::chrono::milliseconds(10000));
    }
    // Pumps until the debuggee stops at a line or the run ends.
    void Settle() {
        auto until = Clock::now() + std::chrono::seconds(30);
        while (!engine.Ended() && engine.IsRunning() && Clock::now() < until) engine.PumpDebugEvents(0);
    }
    uint64_t LineAddress(uint32_t line) const {
        const DbgLine* l = engine.FindLineInfo("FAKE.BAS", line);
        return l ? l->address : 0;
    }
    uint32_t Counter() {
        uint32_t v = 0xFFFFFFFF;
        const DbgSymbol* s = engine.FindSymbol("fake_counter");
        if (s) target.Read(s->address, &v, 4);
        return v;
    }

    static std::string* folder;
    static std::string* program;
    Recorder ui;
    KeptState kept;
    Win32Target target;
    DebugEngine engine{target, ui, kept};
};
std::string* Win32TargetTest::folder;
std::string* Win32TargetTest::program;

// Symbols from the image, lines from FAKE.obj, the first stop on $BAS_MAIN's
// first line; a breakpoint with a pass count (stepped past with the trap
// flag), traces into and out of FAKESUB, output strings, and go to the end.
TEST_F(Win32TargetTest, FirstStopBreakpointTraceAndGoToTheEnd) {
    ASSERT_TRUE(engine.Start(*program, "", true));
    EXPECT_EQ(ui.events, (std::vector<std::string>{"stop FAKE.BAS 2"}));
    EXPECT_EQ(engine.State(), kStateIdle);
    EXPECT_EQ(BlockWord(FAKE_AT_MAPPED), FAKE_MAPPED_MARK) << "the debuggee opened the block by its name";

    std::vector<uint32_t> lines;
    for (const DbgLine& l : engine.Lines()) lines.push_back(l.line);
    EXPECT_EQ(lines, (std::vector<uint32_t>{2, 3, 4, 5, 6, 8, 9, 10, 11, 12, 20, 21, 22, 23, 24, 25}));
    const DbgSymbol* main = engine.FindSymbol("$BAS_MAIN");
    const DbgSymbol* sub = engine.FindSymbol("FAKESUB");
    ASSERT_TRUE(main && sub);
    EXPECT_EQ(LineAddress(2), main->address);
    EXPECT_EQ(LineAddress(20), sub->address);
    EXPECT_EQ(engine.FindLineInfo("FAKE.BAS", 21)->symbol, sub->number);

    ASSERT_EQ(engine.SetBreakpoint(true, 5, 2, 2, 0, "FAKE.BAS"), 1);
    ASSERT_EQ(engine.SetBreakpoint(false, 20, 1, 1, 0, "FAKE.BAS"), 1); // run past, never a stop
    bool disabled = false;
    EXPECT_TRUE(engine.GetBreakpointState("FAKE.BAS", 20, disabled) && disabled);
    ASSERT_TRUE(engine.Go());
    Settle();
    EXPECT_EQ(ui.events.back(), "stop FAKE.BAS 5");
    EXPECT_EQ(Counter(), 1u) << "the first pass over line 5 only counted";

    for (int i = 0; i < 5; ++i) {
        ASSERT_TRUE(engine.Trace());
        Settle();
    }
    EXPECT_EQ(engine.FindLineInfo("FAKE.BAS", 5)->remaining, 1u);
    EXPECT_EQ(BlockWord(FAKE_AT_REDRAWS), 6u) << "a redraw call before each resume";
    EXPECT_EQ(BlockWord(FAKE_AT_REDRAW_FLAG), 1u);

    engine.RemoveBreakpoint(5, 0, "FAKE.BAS");
    ASSERT_TRUE(engine.Go());
    Settle();
    EXPECT_TRUE(engine.Ended());
    EXPECT_TRUE(engine.Exited());
    EXPECT_EQ(engine.ExitCode(), uint32_t(FAKE_LOOPS));
    EXPECT_EQ(ui.events, (std::vector<std::string>{"stop FAKE.BAS 2", "stop FAKE.BAS 5", "stop FAKE.BAS 6",
                                                   "stop FAKE.BAS 4", "stop FAKE.BAS 20", "stop FAKE.BAS 21",
                                                   "stop FAKE.BAS 5", "output " FAKE_OUTPUT "\r\n",
                                                   "end " + std::to_string(FAKE_LOOPS)}));
    ASSERT_EQ(kept.breakpoints.size(), 1u) << "the disabled one is kept for the next run";
    EXPECT_EQ(kept.breakpoints[0].module, "FAKE.BAS");
    EXPECT_EQ(kept.breakpoints[0].function, "FAKESUB");
    EXPECT_EQ(kept.breakpoints[0].line, 20u);
    EXPECT_EQ(kept.breakpoints[0].flags, kBpSet | kBpDisabled);
}

// Pass trace runs a called function without stopping in it.
TEST_F(Win32TargetTest, PassTraceStepsOverACall) {
    ASSERT_TRUE(engine.Start(*program, "", false));
    ASSERT_EQ(engine.SetBreakpoint(true, 4, 1, 1, 0, "FAKE.BAS"), 1);
    ASSERT_TRUE(engine.Go());
    Settle();
    ASSERT_TRUE(engine.PassTrace());
    Settle();
    EXPECT_EQ(ui.events, (std::vector<std::string>{"stop FAKE.BAS 2", "stop FAKE.BAS 4", "stop FAKE.BAS 5"}));
    EXPECT_EQ(Counter(), 0u);
    EXPECT_TRUE(engine.Stop(0));
}

// Stop at a stop returns at once: 0 terminates, 1 runs $BAS_DBGEND, which
// ends the program with its own exit code.
TEST_F(Win32TargetTest, StopAtAStopReturnsPromptly) {
    struct Case {
        int graceful;
        uint32_t line;
        uint32_t exitCode;
    } cases[] = {{0, 2, 0}, {1, 2, FAKE_END_EXIT + 1}, {1, 20, FAKE_END_EXIT + 1}, {0, 20, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE("Stop(" + std::to_string(c.graceful) + ") at line " + std::to_string(c.line));
        Recorder caseUi;
        KeptState caseKept;
        Win32Target caseTarget;
        DebugEngine e(caseTarget, caseUi, caseKept);
        e.SetObjectFolder(*folder);
        ASSERT_TRUE(e.Start(*program, "", false));
        if (c.line != 2) {
            e.SetBreakpoint(true, c.line, 1, 1, 0, "FAKE.BAS");
            e.Go();
            while (e.IsRunning() && !e.Ended()) e.PumpDebugEvents(0);
        }
        auto t0 = Clock::now();
        EXPECT_TRUE(e.Stop(c.graceful));
        EXPECT_LT(Clock::now() - t0, kPrompt);
        EXPECT_TRUE(e.Exited());
        EXPECT_EQ(e.ExitCode(), c.exitCode);
        EXPECT_EQ(caseUi.events.back(), "end " + std::to_string(c.exitCode));
        EXPECT_TRUE(e.Stop(c.graceful)) << "a run already over stops at once";
    }
}

// An access violation on line 10: the report names the program, module,
// function, line and address once; the debuggee is ended and a later stop
// returns at once.
TEST_F(Win32TargetTest, FaultIsReportedAndEndsTheRun) {
    ASSERT_TRUE(engine.Start(*program, "fault", false));
    uint64_t at = LineAddress(10);
    ASSERT_NE(at, 0u);
    ASSERT_TRUE(engine.Go());
    Settle();
    std::string report = Format(text::kAppError, program->c_str()) + Format(text::kAppErrorModule, "FAKE.BAS") +
                         Format(text::kAppErrorFunction, "$BAS_MAIN") + Format(text::kAppErrorLine, 10) +
                         Format(text::kAppErrorAddress, unsigned(at));
    EXPECT_EQ(ui.events, (std::vector<std::string>{"stop FAKE.BAS 2", "apperror " + report, "end 0"}));
    EXPECT_TRUE(engine.Ended());
    auto t0 = Clock::now();
    EXPECT_TRUE(engine.Stop(0));
    EXPECT_TRUE(engine.Stop(1));
    EXPECT_LT(Clock::now() - t0, kPrompt);
    EXPECT_EQ(ui.Count("end 0"), 1u);
}

// An access violation before the first stop (the program faults while
// starting): reported once, and the run ends instead of leaving the
// debuggee frozen in its exception.
TEST_F(Win32TargetTest, FaultWhileStartingEndsTheRun) {
    engine.Start(*program, "startfault", false);
    Settle();
    EXPECT_EQ(ui.Count("end 0"), 1u);
    ASSERT_FALSE(ui.events.empty());
    EXPECT_EQ(ui.events.front().rfind("apperror " + Format(text::kAppError, program->c_str()), 0), 0u)
        << ui.events.front();
    EXPECT_TRUE(engine.Ended());
    EXPECT_TRUE(engine.Exited());
    EXPECT_EQ(engine.State(), kStateIdle);
}

// A run-time error posted in the shared block stops at its line; going on
// lets the runtime end the program.
TEST_F(Win32TargetTest, RuntimeErrorStopsAtItsLine) {
    ASSERT_TRUE(engine.Start(*program, "rterror", false));
    ASSERT_TRUE(engine.Go());
    Settle();
    EXPECT_EQ(engine.State(), kStateIdle);
    ASSERT_TRUE(engine.Go());
    Settle();
    const std::string line = std::to_string(FAKE_RTERROR_LINE);
    EXPECT_EQ(ui.events, (std::vector<std::string>{"stop FAKE.BAS 2",
                                                   "rterror FAKE.BAS " + line + " " + std::to_string(FAKE_RTERROR_CODE),
                                                   "stop FAKE.BAS " + line, "end " + std::to_string(FAKE_RTERROR_EXIT)}));
}

// An image with its symbols that the system will not start: Start fails at
// once, nothing is reported and the engine can start again.
TEST_F(Win32TargetTest, ProgramThatCannotStartFailsTheStart) {
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(ReadFileBytes(*program, bytes));
    uint32_t pe = bytes[0x3C] | bytes[0x3D] << 8;
    bytes[pe + 4] = 0x34, bytes[pe + 5] = 0x12; // a machine no loader knows
    ASSERT_TRUE(CheckImage(bytes));
    std::string bad = *folder + "\\BAD.EXE";
    {
        std::ofstream out(bad, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }
    auto t0 = Clock::now();
    EXPECT_FALSE(engine.Start(bad, "", false));
    EXPECT_LT(Clock::now() - t0, kPrompt);
    EXPECT_TRUE(ui.events.empty());
    EXPECT_EQ(engine.State(), kStateIdle);
    DeleteFileA(bad.c_str());
    ASSERT_TRUE(engine.Start(*program, "", false));
    EXPECT_EQ(ui.events, (std::vector<std::string>{"stop FAKE.BAS 2"}));
    EXPECT_TRUE(engine.Stop(0));
}

// Ctrl+C in the debuggee ends the debugging run.
TEST_F(Win32TargetTest, ControlCEndsTheRun) {
    ASSERT_TRUE(engine.Start(*program, "ctrlc", false));
    ASSERT_TRUE(engine.Go());
    Settle();
    EXPECT_TRUE(engine.Ended());
    EXPECT_EQ(ui.events, (std::vector<std::string>{"stop FAKE.BAS 2", "end 0"}));
}

// $BAS_DBGINIT answering an error: the message with its code, and the
// debuggee is terminated.
TEST_F(Win32TargetTest, FailedHandshakeEndsTheRun) {
    ASSERT_TRUE(engine.Start(*program, "initfail", false));
    EXPECT_TRUE(engine.Ended());
    EXPECT_EQ(ui.events, (std::vector<std::string>{"stop FAKE.BAS 2", "text " + Format(text::kInitDbgInit, FAKE_INIT_ERROR),
                                                   "end 1"}));
}

// The program's own exception reaches its own handler under the debugger,
// as it does without one.
TEST_F(Win32TargetTest, OwnExceptionGoesToTheProgramsHandler) {
    const uint32_t handled = FAKE_LOOPS + FAKE_RAISE_HANDLED;
    ASSERT_EQ(RunPlain("\"" + *program + "\" raise"), handled);
    ASSERT_TRUE(engine.Start(*program, "raise", false));
    ASSERT_TRUE(engine.Go());
    Settle();
    EXPECT_EQ(ui.events, (std::vector<std::string>{"stop FAKE.BAS 2", "end " + std::to_string(handled)}));
}

// A target that goes while its debuggee is suspended at a stop ends it, so
// nothing is left holding the program file.
TEST_F(Win32TargetTest, TargetEndsItsDebuggeeWhenItGoes) {
    DWORD pid = 0;
    {
        Recorder caseUi;
        KeptState caseKept;
        Win32Target caseTarget;
        DebugEngine e(caseTarget, caseUi, caseKept);
        e.SetObjectFolder(*folder);
        ASSERT_TRUE(e.Start(*program, "", false));
        ASSERT_EQ(caseUi.events, (std::vector<std::string>{"stop FAKE.BAS 2"}));
        pid = caseTarget.ProcessId();
    }
    HANDLE h = OpenProcess(SYNCHRONIZE, FALSE, pid);
    if (h) {
        EXPECT_EQ(WaitForSingleObject(h, 5000), WAIT_OBJECT_0);
        CloseHandle(h);
    }
}

} // namespace
} // namespace txdbg::test
