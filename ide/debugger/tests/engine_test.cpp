// The engine on real programs: compiled by txcl /Zi, linked, run in the
// emulator through the unicorn target.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <iconv.h>
#include <optional>
#include <thread>

#include "dbg_breaklist.h"
#include "dbg_engine.h"
#include "dbg_texts.h"
#include "dbg_unicorn.h"
#include "fixture.h"
#include "recorder.h"
#include "machine.h"
#include "txpp.h"
#include "watch_block.h"

namespace txdbg::test {
namespace {

// MAIN.BAS: the GOSUB target (line 9) runs once per pass of a 3-pass loop.
const char kMain[] =
    "DECLARE SUB SHOW (N%)\n"   // 1
    "PRINT \"start\"\n"         // 2
    "FOR I% = 1 TO 3\n"         // 3
    "  GOSUB *TWICE\n"          // 4
    "NEXT I%\n"                 // 5
    "CALL SHOW(7)\n"            // 6
    "PRINT \"done\"\n"          // 7
    "END\n"                     // 8
    "*TWICE PRINT I% * 2\n"     // 9
    "RETURN\n";                 // 10
const char kMod[] =
    "DECLARE SUB SHOW (N%)\n"   // 1
    "SUB SHOW (N%)\n"           // 2
    "  PRINT \"show\"; N%\n"    // 3
    "END SUB\n";                // 4
const char kPlainOutput[] = "start\n 2 \n 4 \n 6 \nshow 7 \ndone\n";

std::string Sjis(const std::string& utf8) {
    iconv_t cd = iconv_open("CP932", "UTF-8");
    std::string out(utf8.size() * 2 + 16, '\0');
    char* in = const_cast<char*>(utf8.data());
    size_t inLeft = utf8.size(), outLeft = out.size();
    char* o = out.data();
    iconv(cd, &in, &inLeft, &o, &outLeft);
    iconv_close(cd);
    out.resize(out.size() - outLeft);
    return out;
}

void WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr) << path;
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

// A target in front of the real one, to put the platform's quirks in
// between: the loader's own trap, a name the debuggee never receives.
struct Decorator : DebugTarget {
    explicit Decorator(DebugTarget& t) : inner(t) {}
    DebugTarget& inner;
    bool loaderTrap = false, spoilName = false, dropTraps = false;
    int phase = 0; // loader trap: 1 after the create event, 2 while it is pending
    // A slow start: after the create event, this many load events 300 ms
    // apart before the program runs on.
    int slowEvents = 0;
    bool created = false, slowPending = false;
    bool Create(const std::string& p, const std::string& a) override { return inner.Create(p, a); }
    Event Wait(uint32_t ms) override {
        if (created && slowEvents > 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            --slowEvents;
            slowPending = true;
            Event ev;
            ev.kind = EventKind::Other;
            return ev;
        }
        if (loaderTrap && phase == 1) {
            phase = 2;
            Event ev;
            ev.kind = EventKind::Exception;
            ev.code = kExcBreakpoint;
            ev.address = 0x12345;
            return ev;
        }
        Event ev = inner.Wait(ms);
        if (ev.kind == EventKind::CreateProcess) created = true;
        if (ev.kind == EventKind::CreateProcess && loaderTrap && phase == 0) phase = 1;
        return ev;
    }
    bool Continue(ContinueStatus s) override {
        if (slowPending) {
            slowPending = false;
            return true;
        }
        if (phase == 1 && loaderTrap) return inner.Continue(s);
        if (phase == 2) {
            phase = 3;
            return true;
        }
        return inner.Continue(s);
    }
    bool Read(uint64_t a, void* o, size_t n) override { return inner.Read(a, o, n); }
    bool Write(uint64_t a, const void* d, size_t n) override {
        if (dropTraps && n == 1 && *static_cast<const uint8_t*>(d) == 0xCC) return true;
        if (spoilName && n == sizeof kSharedBlockName && std::memcmp(d, kSharedBlockName, n) == 0)
            return inner.Write(a, "Wrong", 6);
        return inner.Write(a, d, n);
    }
    bool GetContext(Context& c) override { return inner.GetContext(c); }
    bool SetContext(const Context& c) override { return inner.SetContext(c); }
    bool Terminate(uint32_t c) override { return inner.Terminate(c); }
    uint8_t* CreateSharedBlock(const std::string& n, size_t s) override { return inner.CreateSharedBlock(n, s); }
    std::optional<ServicesVersion> services;
    bool SymbolServicesVersion(ServicesVersion& v) override {
        if (services) v = *services;
        return services.has_value();
    }
};

// One debugging run of a built program.
struct Session {
    explicit Session(const Scratch& s, KeptState* keep = nullptr)
        : target([this](const char* p, size_t n) { output.append(p, n); }), decorator(target),
          engine(decorator, ui, keep ? *keep : ownKept) {
        engine.SetObjectFolder(s.Dir().string());
        engine.SetWaitBound(std::chrono::milliseconds(5000));
    }
    // Runs until the debuggee stops at a line or ends.
    void Settle() {
        auto until = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (!engine.Ended() && engine.IsRunning() && std::chrono::steady_clock::now() < until)
            engine.PumpDebugEvents(0);
    }
    std::string Stops() const {
        std::string s;
        for (const std::string& e : ui.events)
            if (e.rfind("stop ", 0) == 0) s += e.substr(5) + ";";
        return s;
    }
    std::string output;
    Recorder ui;
    KeptState ownKept;
    UnicornTarget target;
    Decorator decorator;
    DebugEngine engine;
};

class EngineTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        scratch = new Scratch("engine");
        std::string error;
        image = scratch->Build({{"MAIN.BAS", kMain}, {"MOD.SUB", kMod}}, error);
        ASSERT_FALSE(image.empty()) << error;
    }
    static void TearDownTestSuite() {
        delete scratch;
        scratch = nullptr;
    }
    void StartAtFirstLine(Session& r) { StartAtFirstLineOf(r, image); }
    void StartAtFirstLineOf(Session& r, const std::string& program) {
        ASSERT_TRUE(r.engine.Start(program, "", false));
        ASSERT_EQ(r.engine.State(), kStateIdle);
        ASSERT_EQ(r.ui.events, std::vector<std::string>{"stop MAIN.BAS 2"});
    }
    static Scratch* scratch;
    static std::string image;
};
Scratch* EngineTest::scratch = nullptr;
std::string EngineTest::image;

// Every line of MAIN.BAS and MOD.SUB with code, at the right address.
void ExpectTheSourcesLines(Session& r) {
    const DebugEngine& e = r.engine;
    ASSERT_EQ(e.Modules().size(), 2u);
    EXPECT_EQ(e.Modules()[0].name, "MAIN.BAS");
    EXPECT_EQ(e.Modules()[0].number, 1u);
    EXPECT_EQ(e.Modules()[1].name, "MOD.SUB");
    EXPECT_EQ(e.Modules()[1].number, 2u);
    // Every line with code; the line numbers are the sources' own.
    std::vector<std::pair<std::string, uint32_t>> expected{{"MAIN.BAS", 2}, {"MAIN.BAS", 3}, {"MAIN.BAS", 4},
                                                           {"MAIN.BAS", 5}, {"MAIN.BAS", 6}, {"MAIN.BAS", 7},
                                                           {"MAIN.BAS", 8}, {"MAIN.BAS", 9}, {"MAIN.BAS", 10},
                                                           {"MOD.SUB", 2},  {"MOD.SUB", 3},  {"MOD.SUB", 4}};
    ASSERT_EQ(e.Lines().size(), expected.size());
    auto setCurLine = e.FindSymbol("_$PbSetCurLineDbg@4");
    ASSERT_NE(setCurLine, nullptr);
    for (const auto& [mod, line] : expected) {
        SCOPED_TRACE(mod + " " + std::to_string(line));
        const DbgLine* l = e.FindLineInfo(mod, line);
        ASSERT_NE(l, nullptr);
        EXPECT_EQ(l->module, e.FindModule(mod)->number);
        // Each line's code starts with the call that records the line: a
        // wrong base would land elsewhere.
        uint8_t code[5];
        ASSERT_TRUE(r.target.Read(l->address, code, 5));
        if (l->address == e.CurrentLine()->address) code[0] = l->saved;
        EXPECT_EQ(code[0], 0xE8);
        int32_t rel;
        std::memcpy(&rel, code + 1, 4);
        EXPECT_EQ(l->address + 5 + int64_t(rel), int64_t(setCurLine->address));
    }
    EXPECT_NE(e.FindLineInfo("main.bas", 9), nullptr) << "module names are found without case";
    EXPECT_EQ(e.FindLineInfo("MAIN.BAS", 1), nullptr);
    EXPECT_EQ(e.FindSymbol(e.FindLineInfo("MAIN.BAS", 9)->symbol)->name, "$BAS_MAIN");
    EXPECT_EQ(e.FindSymbol(e.FindLineInfo("MOD.SUB", 3)->symbol)->name, "SHOW");
}

TEST_F(EngineTest, ModulesSymbolsAndLinesComeFromTheImageAndTheObjects) {
    Session r(*scratch);
    StartAtFirstLine(r);
    ExpectTheSourcesLines(r);
    EXPECT_EQ(r.ui.fpuResets, 1) << "after the handshake";
    r.engine.Stop(0);
}

// Our LINK keeps the line numbers in the image's COFF debug information:
// the program debugs without its objects.
TEST_F(EngineTest, AProgramLinkedByOurLinkDebugsFromItsImageAlone) {
    Scratch s("ourlink");
    std::string error;
    std::string img = s.Build({{"MAIN.BAS", kMain}, {"MOD.SUB", kMod}}, error, true, Linker::Ours);
    ASSERT_FALSE(img.empty()) << error;
    fs::remove(s.Dir() / "MAIN.obj");
    fs::remove(s.Dir() / "MOD.obj");
    Session r(s);
    StartAtFirstLineOf(r, img);
    ExpectTheSourcesLines(r);
    ASSERT_EQ(r.engine.SetBreakpoint(true, 3, 1, 1, 0, "MOD.SUB"), 1);
    ASSERT_EQ(r.engine.SetBreakpoint(true, 9, 1, 1, 0, "MAIN.BAS"), 1);
    for (int i = 0; i < 5; ++i) {
        r.engine.Go();
        r.Settle();
    }
    EXPECT_EQ(r.Stops(), "MAIN.BAS 2;MAIN.BAS 9;MAIN.BAS 9;MAIN.BAS 9;MOD.SUB 3;");
    EXPECT_TRUE(r.engine.Ended());
    EXPECT_EQ(r.output, kPlainOutput);
}

// The symbol table cut short: the symbols cannot be read, the program ends.
TEST_F(EngineTest, AnUnreadableSymbolTableIsReported) {
    Scratch s("cutsyms");
    std::string error;
    std::string img = s.Build({{"MAIN.BAS", kMain}, {"MOD.SUB", kMod}}, error, true, Linker::Ours);
    ASSERT_FALSE(img.empty()) << error;
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(ReadFileBytes(img, bytes));
    uint32_t pe = 0;
    std::memcpy(&pe, bytes.data() + 0x3C, 4);
    const uint32_t huge = 0x10000000;
    std::memcpy(bytes.data() + pe + 4 + 12, &huge, 4);
    WriteFileBytes(img, bytes);
    Session r(s);
    r.engine.Start(img, "", false);
    r.Settle();
    EXPECT_EQ(r.ui.events, (std::vector<std::string>{
                               "text " + Sjis("ﾃﾞﾊﾞｯｶﾞの初期化でｴﾗｰが発生しました\n  SymEnumerateSymbols ｴﾗｰｺｰﾄﾞ : 0x0000000D"),
                               "end 1"}));
    EXPECT_TRUE(r.target.HasExited());
}

TEST_F(EngineTest, AMissingObjectFileIsReportedAndTheOtherModuleStillWorks) {
    Scratch s("noobj");
    std::string error;
    std::string img = s.Build({{"MAIN.BAS", kMain}, {"MOD.SUB", kMod}}, error);
    ASSERT_FALSE(img.empty()) << error;
    fs::remove(s.Dir() / "MOD.obj");
    Session r(s);
    ASSERT_TRUE(r.engine.Start(img, "", false));
    EXPECT_EQ(r.ui.events.front(), "msg 22017 " + (s.Dir() / "MOD.obj").string());
    EXPECT_EQ(r.engine.FindLineInfo("MOD.SUB", 3), nullptr);
    ASSERT_EQ(r.engine.SetBreakpoint(true, 9, 1, 1, 0, "MAIN.BAS"), 1);
    r.engine.Go();
    r.Settle();
    EXPECT_EQ(r.Stops(), "MAIN.BAS 2;MAIN.BAS 9;");
    r.engine.Stop(0);
}

TEST_F(EngineTest, AForeignObjectFileGivesNoLines) {
    Scratch s("foreign");
    std::string error;
    std::string img = s.Build({{"MAIN.BAS", kMain}, {"MOD.SUB", kMod}}, error);
    ASSERT_FALSE(img.empty()) << error;
    // The object of another module, one cut short, and not an i386 object
    // at all.
    Scratch other("other");
    std::string otherSrc = other.Write("MOD.SUB", "DECLARE SUB SHOW (N%)\nDECLARE SUB OTHER (N%)\n"
                                                  "SUB OTHER (N%)\nEND SUB\nSUB SHOW (N%)\n  PRINT N%\nEND SUB\n");
    std::string otherObjPath = (other.Dir() / "MOD.obj").string();
    ASSERT_TRUE(tx::runner::CompileModule(Tools(), otherSrc, otherObjPath, other.Dir().string(), error, {"/Zi"}))
        << error;
    std::vector<uint8_t> otherObj;
    ASSERT_TRUE(ReadFileBytes(otherObjPath, otherObj));
    for (std::string bytes : {std::string(otherObj.begin(), otherObj.end()), std::string("\x4c\x01\x05\x00", 4),
                              std::string(64, 'x')}) {
        s.Write("MOD.obj", bytes);
        Session r(s);
        ASSERT_TRUE(r.engine.Start(img, "", false));
        EXPECT_EQ(r.ui.events.front(), "msg 22017 " + (s.Dir() / "MOD.obj").string());
        EXPECT_EQ(r.engine.FindLineInfo("MOD.SUB", 3), nullptr);
        EXPECT_NE(r.engine.FindLineInfo("MAIN.BAS", 3), nullptr);
        r.engine.Stop(0);
    }
}

TEST_F(EngineTest, TheLoadersTrapIsPassedSilently) {
    Session r(*scratch);
    r.decorator.loaderTrap = true;
    StartAtFirstLine(r);
    EXPECT_EQ(r.decorator.phase, 3);
    EXPECT_EQ(r.ui.events, std::vector<std::string>{"stop MAIN.BAS 2"});
    r.engine.Stop(0);
}

TEST_F(EngineTest, AFailingDbgInitGivesItsCodeAndEndsTheProgram) {
    Session r(*scratch);
    r.decorator.spoilName = true;
    r.engine.Start(image, "", false);
    r.Settle();
    EXPECT_TRUE(r.engine.Ended());
    EXPECT_TRUE(r.target.HasExited());
    EXPECT_EQ(r.ui.Count("text " + Sjis("ﾃﾞﾊﾞｯｶﾞの初期化でｴﾗｰが発生しました\n  $BAS_DBGINIT ｴﾗｰｺｰﾄﾞ : 2")), 1u);
}

TEST_F(EngineTest, ABreakpointOnAGosubTargetInALoopStopsOnEveryPass) {
    Session r(*scratch);
    StartAtFirstLine(r);
    ASSERT_EQ(r.engine.SetBreakpoint(true, 9, 1, 1, 0, "MAIN.BAS"), 1);
    for (int i = 0; i < 4; ++i) {
        r.engine.Go();
        r.Settle();
    }
    EXPECT_EQ(r.Stops(), "MAIN.BAS 2;MAIN.BAS 9;MAIN.BAS 9;MAIN.BAS 9;");
    EXPECT_TRUE(r.engine.Ended());
    EXPECT_EQ(r.ui.events.back(), "end 0");
    EXPECT_EQ(r.output, kPlainOutput);

    // The same image without the debugger prints the same bytes.
    tx::runner::PeImage img;
    std::string error, plain;
    tx::runner::Machine m;
    ASSERT_TRUE(tx::runner::ReadPeFile(image, img, error) && m.Load(img, error)) << error;
    m.SetOutput([&](const char* p, size_t n) { plain.append(p, n); });
    EXPECT_EQ(m.Run().kind, tx::runner::StopKind::Exited);
    EXPECT_EQ(r.output, plain);
}

TEST_F(EngineTest, PassCountsAndDisabledBreakpoints) {
    // Once its count is reached a breakpoint stops on every further hit.
    // The RETURN line is left by a jump back into the loop, not to the line
    // after it: stepping past its trap must still count every pass.
    struct Case {
        const char* name;
        uint32_t line;
        bool enabled;
        uint32_t count;
        const char* stops;
        const char* outputAtFirstStop;
    } cases[] = {
        {"count 3 stops on the third hit", 9, true, 3, "MAIN.BAS 2;MAIN.BAS 9;", "start\n 2 \n 4 \n"},
        {"count 2 stops on the second hit and after", 9, true, 2, "MAIN.BAS 2;MAIN.BAS 9;MAIN.BAS 9;",
         "start\n 2 \n"},
        {"disabled never stops", 9, false, 1, "MAIN.BAS 2;", kPlainOutput},
        {"count 3 on a RETURN line", 10, true, 3, "MAIN.BAS 2;MAIN.BAS 10;", "start\n 2 \n 4 \n 6 \n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Session r(*scratch);
        StartAtFirstLine(r);
        ASSERT_EQ(r.engine.SetBreakpoint(c.enabled, c.line, c.count, c.count, 0, "MAIN.BAS"), 1);
        r.engine.Go();
        r.Settle();
        EXPECT_EQ(r.output, c.outputAtFirstStop);
        for (int i = 0; i < 4 && !r.engine.Ended(); ++i) {
            EXPECT_EQ(r.engine.CurrentLine()->remaining, 1u);
            r.engine.Go();
            r.Settle();
        }
        EXPECT_EQ(r.Stops(), c.stops);
        EXPECT_TRUE(r.engine.Ended());
        EXPECT_EQ(r.output, kPlainOutput);
    }
}

// The breakpoint list: its rows after a count ran down, and what its OK
// writes back (one row deleted, the other disabled with a new count).
TEST_F(EngineTest, TheBreakpointListShowsAndWritesBackTheBreakpoints) {
    Session r(*scratch);
    StartAtFirstLine(r);
    ASSERT_EQ(r.engine.SetBreakpoint(true, 9, 3, 3, 0x1234, "MAIN.BAS"), 1);
    ASSERT_EQ(r.engine.SetBreakpoint(false, 3, 1, 1, 0, "MOD.SUB"), 1);
    r.engine.Go();
    r.Settle();
    std::vector<BreakListRow> rows = BreakListRows(r.engine);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].module + "|" + rows[0].number + "|" + rows[0].count, "MAIN.BAS|9 E|3-1");
    EXPECT_EQ(rows[1].module + "|" + rows[1].number + "|" + rows[1].count, "MOD.SUB|3 D|1-1");
    EXPECT_EQ(rows[0].frame, 0x1234u);
    EXPECT_EQ(rows[0].address, r.engine.FindLineInfo("MAIN.BAS", 9)->address);

    rows[0].number = BreakRowNumber(9, true);
    rows[0].count = BreakRowCount(5, 1);
    ApplyBreakList(r.engine, {rows[1].address}, {rows[0]});
    bool disabled = false;
    EXPECT_FALSE(r.engine.GetBreakpointState("MOD.SUB", 3, disabled));
    ASSERT_TRUE(r.engine.GetBreakpointState("MAIN.BAS", 9, disabled));
    EXPECT_TRUE(disabled);
    EXPECT_EQ(r.engine.BreakpointCount(), 2);
    EXPECT_EQ(r.engine.FindLineInfo("MAIN.BAS", 9)->pass, 5u);
    r.engine.Go();
    r.Settle();
    EXPECT_TRUE(r.engine.Ended());
    EXPECT_EQ(r.Stops(), "MAIN.BAS 2;MAIN.BAS 9;");

    BreakListWidths w = BreakListColumnWidths(403);
    EXPECT_EQ(w.module, 199);
    EXPECT_EQ(w.number, 99);
    EXPECT_EQ(w.count, 99);
}

TEST(RuntimeErrorHelp, ContextAndFile) {
    EXPECT_EQ(RuntimeErrorHelpContext(5), 5u);
    EXPECT_EQ(RuntimeErrorHelpContext(999), 999u);
    EXPECT_EQ(RuntimeErrorHelpContext(1000), 100000u);
    EXPECT_EQ(RuntimeErrorHelpContext(1005), 100005u);
    EXPECT_EQ(RuntimeErrorHelpContext(1018), 100018u);
    EXPECT_EQ(RuntimeErrorHelpContext(1019), 1019u);
    EXPECT_EQ(RuntimeErrorHelpFile("C:\\TB\\HELP\\TAMBRIX.HLP"), "C:\\TB\\HELP\\tq70ref.hlp");
    // "表" ends in the byte 0x5C: the folder is not cut inside it.
    EXPECT_EQ(RuntimeErrorHelpFile("C:\\\x95\x5C.HLP"), "C:\\tq70ref.hlp");
    EXPECT_EQ(RuntimeErrorHelpFile("C:\\\x95\x5C\\A.HLP"), "C:\\\x95\x5C\\tq70ref.hlp");
    EXPECT_EQ(RuntimeErrorHelpFile("A.HLP"), "\\tq70ref.hlp");
}

TEST_F(EngineTest, FifteenBreakpointsAtMost) {
    std::string src;
    for (int i = 1; i <= 20; ++i) src += "PRINT " + std::to_string(i) + "\n";
    Scratch s("many");
    std::string error;
    std::string img = s.Build({{"MANY.BAS", src}}, error);
    ASSERT_FALSE(img.empty()) << error;
    Session r(s);
    ASSERT_TRUE(r.engine.Start(img, "", false));
    for (uint32_t line = 2; line <= 16; ++line) ASSERT_EQ(r.engine.SetBreakpoint(true, line, 1, 1, 0, "MANY.BAS"), 1);
    EXPECT_EQ(r.ui.events, std::vector<std::string>{"stop MANY.BAS 1"});
    EXPECT_EQ(r.engine.SetBreakpoint(true, 5, 2, 2, 0, "MANY.BAS"), 1) << "again on a line: no room used";
    EXPECT_EQ(r.engine.BreakpointCount(), 16);
    EXPECT_EQ(r.engine.SetBreakpoint(true, 17, 1, 1, 0, "MANY.BAS"), 1);
    EXPECT_EQ(r.ui.events.back(), "msg 22002 ");
    bool disabled = true;
    EXPECT_FALSE(r.engine.GetBreakpointState("MANY.BAS", 17, disabled));
    r.engine.RemoveBreakpoint(3, 0, "MANY.BAS");
    EXPECT_EQ(r.engine.SetBreakpoint(true, 17, 1, 1, 0, "MANY.BAS"), 1);
    EXPECT_TRUE(r.engine.GetBreakpointState("MANY.BAS", 17, disabled));
    EXPECT_FALSE(disabled);
    EXPECT_EQ(r.engine.SetBreakpoint(true, 99, 1, 1, 0, "MANY.BAS"), 0) << "a line without code";
    r.engine.Stop(0);
}

TEST_F(EngineTest, TraceAndPassTrace) {
    struct Case {
        const char* name;
        uint32_t from;      // run to this MAIN line first
        const char* bp;     // an extra breakpoint "MOD.SUB 3", or ""
        int command;        // 0 trace, 1 pass trace
        const char* stop;   // the next stop
    } cases[] = {
        {"trace from a GOSUB line", 4, "", 0, "MAIN.BAS 9"},
        {"pass trace from a GOSUB line", 4, "", 1, "MAIN.BAS 9"},
        {"trace into a SUB", 6, "", 0, "MOD.SUB 3"},
        {"pass trace over a CALL", 6, "", 1, "MAIN.BAS 7"},
        {"pass trace over a CALL with a breakpoint inside", 6, "MOD.SUB 3", 1, "MOD.SUB 3"},
        {"trace over the loop end", 5, "", 0, "MAIN.BAS 4"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Session r(*scratch);
        StartAtFirstLine(r);
        r.engine.RunToCursor(c.from, 0, "MAIN.BAS");
        r.Settle();
        ASSERT_TRUE(r.engine.IsCurrentLine("MAIN.BAS", c.from));
        if (*c.bp) {
            ASSERT_EQ(r.engine.SetBreakpoint(true, 3, 1, 1, 0, "MOD.SUB"), 1);
        }
        size_t before = r.ui.events.size();
        c.command ? r.engine.PassTrace() : r.engine.Trace();
        r.Settle();
        ASSERT_EQ(r.ui.events.size(), before + 1);
        EXPECT_EQ(r.ui.events.back(), std::string("stop ") + c.stop);
        EXPECT_EQ(r.engine.State(), kStateIdle);
        r.engine.Stop(0);
    }
}

TEST_F(EngineTest, RunToCursor) {
    Session r(*scratch);
    StartAtFirstLine(r);
    r.engine.RunToCursor(1, 0, "MAIN.BAS"); // no code: nothing happens
    EXPECT_EQ(r.engine.State(), kStateIdle);
    EXPECT_EQ(r.ui.events.size(), 1u);
    // Past a breakpoint that only counts: the cursor's line is reached.
    ASSERT_EQ(r.engine.SetBreakpoint(true, 9, 5, 5, 0, "MAIN.BAS"), 1);
    r.engine.RunToCursor(6, 0x55, "MAIN.BAS");
    r.Settle();
    EXPECT_EQ(r.Stops(), "MAIN.BAS 2;MAIN.BAS 6;");
    EXPECT_EQ(r.engine.FindLineInfo("MAIN.BAS", 9)->remaining, 2u);
    const DbgLine* target = r.engine.FindLineInfo("MAIN.BAS", 6);
    EXPECT_FALSE(target->breakpoint || target->temporary) << "the target goes with the stop";
    // A user breakpoint on the target line becomes the temporary target:
    // it stops there once, then is gone and its room free again.
    Session q(*scratch);
    StartAtFirstLine(q);
    ASSERT_EQ(q.engine.SetBreakpoint(false, 9, 2, 2, 0, "MAIN.BAS"), 1);
    EXPECT_EQ(q.engine.BreakpointCount(), 2);
    q.engine.RunToCursor(9, 0x66, "MAIN.BAS");
    const DbgLine* l = q.engine.FindLineInfo("MAIN.BAS", 9);
    bool disabled = true;
    q.Settle();
    EXPECT_EQ(q.Stops(), "MAIN.BAS 2;MAIN.BAS 9;");
    EXPECT_FALSE(q.engine.GetBreakpointState("MAIN.BAS", 9, disabled));
    EXPECT_FALSE(l->breakpoint || l->temporary);
    EXPECT_EQ(q.engine.BreakpointCount(), 1);
    q.engine.Go();
    q.Settle();
    EXPECT_EQ(q.Stops(), "MAIN.BAS 2;MAIN.BAS 9;");
    EXPECT_TRUE(q.engine.Ended());
    EXPECT_EQ(q.output, kPlainOutput);
}

// While the line traps are planted the target's record carries the set bit
// and not the disabled one, the frame and the module given.
TEST_F(EngineTest, TheRunToCursorTargetIsATemporaryBreakpoint) {
    Scratch s("cursor");
    std::string error;
    std::string img = s.Build({{"LOOP.BAS", "PRINT 1\n*L GOTO *L\n"}}, error);
    ASSERT_FALSE(img.empty()) << error;
    Session r(s);
    ASSERT_TRUE(r.engine.Start(img, "", false));
    ASSERT_EQ(r.engine.SetBreakpoint(false, 2, 3, 3, 0, "LOOP.BAS"), 1);
    r.decorator.dropTraps = true; // the target is never reached: its record stays as set
    r.engine.RunToCursor(2, 0x77, "loop.bas");
    ASSERT_TRUE(r.engine.IsRunning());
    const DbgLine* l = r.engine.FindLineInfo("LOOP.BAS", 2);
    ASSERT_NE(l, nullptr);
    EXPECT_TRUE(l->breakpoint);
    EXPECT_TRUE(l->temporary);
    EXPECT_EQ(l->flags & (kBpSet | kBpDisabled), kBpSet);
    EXPECT_EQ(l->pass, 1u);
    EXPECT_EQ(l->remaining, 1u);
    EXPECT_EQ(l->bpLine, 2u);
    EXPECT_EQ(l->frame, 0x77u);
    EXPECT_EQ(l->modulePath, "loop.bas");
    EXPECT_EQ(r.engine.BreakpointCount(), 1);
    r.engine.Stop(0);
}

TEST(SymbolServices, FromVersion405On) {
    struct Case {
        uint16_t major, minor, revision;
        bool ok;
    } cases[] = {{4, 0, 5, true}, {4, 0, 4, false}, {4, 0, 2, false}, {4, 1, 0, true}, {5, 0, 0, true}, {3, 9, 9, false}};
    for (const Case& c : cases)
        EXPECT_EQ(SymbolServicesNewEnough({c.major, c.minor, c.revision}), c.ok)
            << c.major << "." << c.minor << "." << c.revision;
}

// Old symbol services refuse the start after the image check, before any
// process is made.
TEST_F(EngineTest, OldSymbolServicesRefuseTheStart) {
    Session r(*scratch);
    r.decorator.services = DebugTarget::ServicesVersion{4, 0, 2};
    EXPECT_FALSE(r.engine.Start(image, "", false));
    EXPECT_EQ(r.ui.events, std::vector<std::string>{"msg 22015 "});
    EXPECT_EQ(r.engine.State(), kStateIdle);
    EXPECT_FALSE(r.decorator.created);
    r.decorator.services = DebugTarget::ServicesVersion{4, 0, 5};
    EXPECT_TRUE(r.engine.Start(image, "", false));
    r.engine.Stop(0);
}

// A program still loading after the bound is not ended: its events keep
// coming.
TEST_F(EngineTest, ASlowStartIsNotEnded) {
    Session r(*scratch);
    r.engine.SetWaitBound(std::chrono::milliseconds(1000));
    r.decorator.slowEvents = 5;
    StartAtFirstLine(r);
    EXPECT_EQ(r.decorator.slowEvents, 0);
    r.engine.Stop(0);
}

TEST_F(EngineTest, AFaultIsReportedAndEndsTheTarget) {
    struct Case {
        const char* name;
        uint32_t offset; // from line 7's start
        const char* line;
    } cases[] = {
        {"at a line's start", 0, "\n  行番号 : 7"},
        {"in the middle of a line", 5, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Session r(*scratch);
        StartAtFirstLine(r);
        // mov [0], eax: a write to page 0.
        const uint8_t store[] = {0xA3, 0, 0, 0, 0};
        uint64_t at = r.engine.FindLineInfo("MAIN.BAS", 7)->address + c.offset;
        ASSERT_TRUE(r.target.Write(at, store, sizeof store));
        // The emulator names a fault by the start of its translated block;
        // a jump right before the store starts one there (line 7 begins
        // with its line number's push, 2 bytes).
        const uint8_t jumpNext[] = {0xEB, 0x00};
        if (c.offset == 0) {
            ASSERT_TRUE(r.target.Write(at - 2, jumpNext, sizeof jumpNext));
        }
        r.engine.Go();
        r.Settle();
        char addr[16];
        std::snprintf(addr, sizeof addr, "0x%08X", unsigned(at));
        std::string expected = Sjis(image + " で ｱﾌﾟﾘｹｰｼｮﾝ ｴﾗｰ が発生しました\n  ﾓｼﾞｭｰﾙ名 : MAIN.BAS\n  関数名 : $BAS_MAIN" +
                                    c.line + "\n  ｱﾄﾞﾚｽ : " + addr);
        EXPECT_EQ(r.ui.Count("apperror " + expected), 1u) << ::testing::PrintToString(r.ui.events);
        EXPECT_TRUE(r.engine.Ended());
        EXPECT_TRUE(r.target.HasExited());
        auto t0 = std::chrono::steady_clock::now();
        EXPECT_TRUE(r.engine.Stop(0));
        EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::seconds(1));
    }
}

TEST_F(EngineTest, StoppingAndRestartingKeepsBreakpoints) {
    Scratch s("restart");
    std::string error;
    std::string img = s.Build({{"MAIN.BAS", kMain}, {"MOD.SUB", kMod}}, error);
    ASSERT_FALSE(img.empty()) << error;
    KeptState kept;
    {
        Session r(s, &kept);
        ASSERT_TRUE(r.engine.Start(img, "", false));
        ASSERT_EQ(r.engine.SetBreakpoint(true, 9, 2, 2, 0, "MAIN.BAS"), 1);
        ASSERT_EQ(r.engine.SetBreakpoint(false, 3, 1, 1, 0, "MOD.SUB"), 1);
        auto t0 = std::chrono::steady_clock::now();
        EXPECT_TRUE(r.engine.Stop(0));
        EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::seconds(2));
        EXPECT_TRUE(r.target.HasExited());
        EXPECT_EQ(r.output, "");
    }
    ASSERT_EQ(kept.breakpoints.size(), 2u);
    {
        Session r(s, &kept);
        ASSERT_TRUE(r.engine.Start(img, "", false));
        bool disabled = false;
        ASSERT_TRUE(r.engine.GetBreakpointState("MAIN.BAS", 9, disabled));
        EXPECT_FALSE(disabled);
        EXPECT_EQ(r.engine.FindLineInfo("MAIN.BAS", 9)->pass, 2u);
        ASSERT_TRUE(r.engine.GetBreakpointState("MOD.SUB", 3, disabled));
        EXPECT_TRUE(disabled);
        r.engine.Go();
        r.Settle();
        EXPECT_EQ(r.Stops(), "MAIN.BAS 2;MAIN.BAS 9;");
        // A graceful stop runs $BAS_DBGEND: the program ends by itself.
        EXPECT_TRUE(r.engine.Stop(1));
        EXPECT_TRUE(r.engine.Exited());
        EXPECT_EQ(r.engine.ExitCode(), 0u);
        EXPECT_EQ(r.output, "start\n 2 \n");
    }
    // Line 9 has no code any more: its breakpoint goes quietly.
    std::string changed = kMain;
    changed.replace(changed.find("*TWICE PRINT I% * 2\n"), 20, "' gone\n*TWICE PRINT I% * 2: RETURN\n");
    img = s.Build({{"MAIN.BAS", changed}, {"MOD.SUB", kMod}}, error);
    ASSERT_FALSE(img.empty()) << error;
    {
        Session r(s, &kept);
        ASSERT_TRUE(r.engine.Start(img, "", false));
        bool disabled = false;
        EXPECT_FALSE(r.engine.GetBreakpointState("MAIN.BAS", 9, disabled));
        EXPECT_TRUE(r.engine.GetBreakpointState("MOD.SUB", 3, disabled));
        EXPECT_EQ(r.engine.BreakpointCount(), 2);
        EXPECT_EQ(r.ui.events, std::vector<std::string>{"stop MAIN.BAS 2"});
        r.engine.Stop(0);
    }
}

TEST_F(EngineTest, ARuntimeErrorStopsAtItsLineWithNoTrapLeft) {
    Scratch s("rterror");
    std::string error;
    std::string img = s.Build({{"ERR.BAS", "PRINT \"a\"\nX% = 0\nY% = 10 \\ X%\nPRINT \"b\"\n"}}, error);
    ASSERT_FALSE(img.empty()) << error;
    Session r(s);
    ASSERT_TRUE(r.engine.Start(img, "", false));
    ASSERT_EQ(r.engine.SetBreakpoint(true, 4, 1, 1, 0, "ERR.BAS"), 1);
    r.engine.Go();
    r.Settle();
    EXPECT_EQ(r.ui.events, (std::vector<std::string>{"stop ERR.BAS 1", "rterror ERR.BAS 3 11", "stop ERR.BAS 3"}));
    EXPECT_EQ(r.engine.State(), kStateIdle);
    EXPECT_FALSE(r.engine.IsRunning());
    for (const DbgLine& l : r.engine.Lines()) {
        uint8_t b = 0;
        ASSERT_TRUE(r.target.Read(l.address, &b, 1));
        EXPECT_NE(b, 0xCC) << "line " << l.line;
    }
    r.engine.Go();
    r.Settle();
    EXPECT_TRUE(r.engine.Ended());
    EXPECT_EQ(r.engine.ExitCode(), 1u);
    EXPECT_EQ(r.output, "a\n");
}

TEST_F(EngineTest, WithoutAFirstStopTheProgramEnds) {
    Scratch s("nolines");
    std::string error;
    std::string img = s.Build({{"MAIN.BAS", kMain}, {"MOD.SUB", kMod}}, error, false);
    ASSERT_FALSE(img.empty()) << error;
    Session r(s);
    r.engine.Start(img, "", false);
    r.Settle();
    EXPECT_EQ(r.ui.events, (std::vector<std::string>{"msg 22014 " + img, "end 1"}));
    EXPECT_TRUE(r.target.HasExited());
    EXPECT_EQ(r.output, "");
}

TEST_F(EngineTest, ADebuggeeThatNeverStopsIsEndedWithinTheBound) {
    Scratch s("loop");
    std::string error;
    std::string img = s.Build({{"LOOP.BAS", "*L GOTO *L\n"}}, error);
    ASSERT_FALSE(img.empty()) << error;
    Session r(s);
    r.decorator.dropTraps = true; // the first line's trap never lands
    r.engine.SetWaitBound(std::chrono::milliseconds(1000));
    auto t0 = std::chrono::steady_clock::now();
    r.engine.Start(img, "", false);
    // Generous: a loaded machine runs the emulator slowly; without the bound
    // the start never returns.
    EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::seconds(30));
    EXPECT_EQ(r.ui.events, (std::vector<std::string>{"msg 22013 ", "end 1"}));
    EXPECT_TRUE(r.target.HasExited());
}

TEST_F(EngineTest, AGracefulStopWithoutDbgEndEndsTheProgram) {
    Scratch s("nodbgend");
    std::string error;
    std::string img = s.Build({{"MAIN.BAS", kMain}, {"MOD.SUB", kMod}}, error);
    ASSERT_FALSE(img.empty()) << error;
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(ReadFileBytes(img, bytes));
    std::string all(bytes.begin(), bytes.end());
    size_t at = all.find("$BAS_DBGEND");
    ASSERT_NE(at, std::string::npos);
    bytes[at + 10] = 'X'; // the symbol is gone by that name
    std::string renamed = (s.Dir() / "MAIN2.exe").string();
    WriteFileBytes(renamed, bytes);
    Session r(s);
    ASSERT_TRUE(r.engine.Start(renamed, "", false));
    ASSERT_EQ(r.engine.FindSymbol("$BAS_DBGEND"), nullptr);
    EXPECT_TRUE(r.engine.Stop(1));
    EXPECT_TRUE(r.engine.Ended());
    EXPECT_TRUE(r.target.HasExited());
}

TEST_F(EngineTest, AStaleObjectFileSetsNoTrapOutsideItsModule) {
    Scratch s("stale");
    std::string error;
    // The object of a much longer module than the one linked.
    std::string longer = "DECLARE SUB SHOW (N%)\nSUB SHOW (N%)\n";
    for (int i = 0; i < 40; ++i) longer += "  PRINT \"show\"; N% + " + std::to_string(i) + "\n";
    longer += "END SUB\n";
    std::string img = s.Build({{"MAIN.BAS", kMain}, {"MOD.SUB", longer}}, error);
    ASSERT_FALSE(img.empty()) << error;
    std::string longObj = (s.Dir() / "MOD.obj").string(), keep = (s.Dir() / "LONG.obj").string();
    fs::rename(longObj, keep);
    img = s.Build({{"MAIN.BAS", kMain}, {"MOD.SUB", kMod}}, error);
    ASSERT_FALSE(img.empty()) << error;
    fs::rename(keep, longObj);
    Session r(s);
    ASSERT_TRUE(r.engine.Start(img, "", false));
    const DbgModule* mod = r.engine.FindModule("MOD.SUB");
    ASSERT_NE(mod, nullptr);
    size_t modLines = 0;
    for (const DbgLine& l : r.engine.Lines()) {
        if (l.module != mod->number) continue;
        ++modLines;
        EXPECT_GE(l.address, mod->start);
        EXPECT_LT(l.address, mod->start + mod->size) << "line " << l.line;
    }
    EXPECT_GT(modLines, 0u);
    EXPECT_LT(modLines, 42u);
    r.engine.Stop(0);
}

TEST_F(EngineTest, BasrunDebugScript) {
    Scratch s("script");
    std::string main = s.Write("MAIN.BAS", kMain), mod = s.Write("MOD.SUB", kMod);
    std::string script = s.Write("s.txt", "break MAIN.BAS 9\ngo\ngo\ngo\ngo\n");
    std::string out;
    int rc = tx::runner::RunProcess({TX_BASRUN, "--debug", script, main, mod}, s.Dir().string(), out);
    EXPECT_EQ(rc, 0) << out;
    std::string stops, rest;
    for (size_t p = 0; p < out.size();) {
        size_t e = out.find('\n', p);
        std::string line = out.substr(p, e == std::string::npos ? std::string::npos : e + 1 - p);
        (line.rfind("stop ", 0) == 0 ? stops : rest) += line;
        p = e == std::string::npos ? out.size() : e + 1;
    }
    EXPECT_EQ(stops, "stop MAIN.BAS 2\nstop MAIN.BAS 9\nstop MAIN.BAS 9\nstop MAIN.BAS 9\n");
    EXPECT_EQ(rest, std::string(kPlainOutput) + "exit 0\n");
}

// Watches evaluated by the debuggee's own value-calculation hook.
const char kWatchMain[] =
    "DECLARE SUB SHOW (N%)\n"   // 1
    "TYPE PT\n"                 // 2
    "  X AS INTEGER\n"          // 3
    "  Y AS DOUBLE\n"           // 4
    "END TYPE\n"                // 5
    "DIM P AS PT\n"             // 6
    "DIM A&(10): DIM B%(2, 3)\n" // 7
    "DIM I AS INTEGER\n"        // 8
    "I = 1\n"                   // 9
    "S$ = \"abc\"\n"            // 10
    "P.X = 77: P.Y = 2.5\n"     // 11
    "A&(10) = 70000: B%(2, 3) = 23: B%(1, 0) = 10\n" // 12
    "CALL SHOW(5)\n"            // 13
    "END\n";                    // 14
const char kWatchMod[] =
    "DECLARE SUB SHOW (N%)\n"   // 1
    "SUB SHOW (N%)\n"           // 2
    "  L& = N% * 1000\n"        // 3
    "  PRINT L&\n"              // 4
    "END SUB\n";                // 5

std::string WatchError(uint32_t e, bool, bool, bool) { return tx::runner::BasicErrorText(int(e)); }
int Tokenize(char* text, uint8_t* tokens, int mode) { return PP_EdtChk(text, tokens, mode); }

bool BlockCleared(const uint8_t* block) {
    for (size_t i = 0; i < kSharedBlockCleared; ++i)
        if (block[i]) return false;
    return true;
}

struct WatchCase {
    const char* expression;
    int32_t status;
    uint32_t type, size;
    std::string text, tag;
};

class WatchEndToEnd : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        scratch = new Scratch("watch");
        std::string error;
        image = scratch->Build({{"MAIN.BAS", kWatchMain}, {"MOD.SUB", kWatchMod}}, error);
        ASSERT_FALSE(image.empty()) << error;
    }
    static void TearDownTestSuite() {
        delete scratch;
        scratch = nullptr;
    }
    // Evaluates each case at the current stop, as the IDE would.
    static void Check(Session& r, const std::vector<WatchCase>& cases) {
        uint8_t* block = r.engine.SharedBlock();
        ASSERT_NE(block, nullptr);
        for (const WatchCase& c : cases) {
            auto var = txwatch::CompileWatch(c.expression, false, 1, Tokenize, WatchError);
            ASSERT_NE(var, nullptr) << c.expression;
            ASSERT_TRUE(txwatch::EvaluateWatch(*var, block, [&] { return r.engine.CallValueCalc(); }))
                << c.expression;
            EXPECT_TRUE(BlockCleared(block)) << c.expression;
            EXPECT_EQ(var->status, c.status) << c.expression;
            if (c.status == 0) {
                EXPECT_EQ(var->type, c.type) << c.expression;
                EXPECT_EQ(var->size, c.size) << c.expression;
            }
            EXPECT_EQ(txwatch::WatchValueText(*var, WatchError), c.text) << c.expression;
            EXPECT_EQ(txwatch::WatchTypeTag(var->type, var->size), c.status ? "" : c.tag) << c.expression;
        }
    }
    static Scratch* scratch;
    static std::string image;
};
Scratch* WatchEndToEnd::scratch = nullptr;
std::string WatchEndToEnd::image;

TEST_F(WatchEndToEnd, TheDebuggeeAnswersAtAStopInTheMainModuleAndInAProcedure) {
    Session r(*scratch);
    ASSERT_TRUE(r.engine.Start(image, "", false));
    ASSERT_GT(r.engine.SetBreakpoint(true, 13, 1, 1, 0, "MAIN.BAS"), 0);
    ASSERT_TRUE(r.engine.Go());
    r.Settle();
    ASSERT_EQ(r.Stops().substr(r.Stops().rfind(';', r.Stops().size() - 2) + 1), "MAIN.BAS 13;");
    const std::string div0 = tx::runner::BasicErrorText(11);
    Check(r, {
                 {"I", 0, 0, 2, "1", "[INT]"},
                 {"S$", 0, 16, 3, "\"abc\"", "[STR:3]"},
                 {"I/0", 11, 0, 0, div0, ""},
                 {"P.X", 0, 0, 2, "77", "[INT]"},
                 {"P.Y * 2", 0, 3, 8, "5", "[DBL]"},
                 {"A&(10)", 0, 1, 4, "70000", "[LNG]"},
                 {"A&(11)", 9, 0, 0, tx::runner::BasicErrorText(9), ""},
                 // The bounds record holds upper bounds: the last element of
                 // each dimension is there, one past it is not; the first
                 // subscript varies fastest.
                 {"B%(2, 3)", 0, 0, 2, "23", "[INT]"},
                 {"B%(1, 0)", 0, 0, 2, "10", "[INT]"},
                 {"B%(0, 1)", 0, 0, 2, "0", "[INT]"},
                 {"B%(3, 0)", 9, 0, 0, tx::runner::BasicErrorText(9), ""},
                 {"B%(0, 4)", 9, 0, 0, tx::runner::BasicErrorText(9), ""},
                 {"B%(2)", 9, 0, 0, tx::runner::BasicErrorText(9), ""},
                 {"I + 1", 0, 3, 8, "2", "[DBL]"},
             });
    // Inside SHOW: a by-reference parameter and a local, through the frame.
    ASSERT_GT(r.engine.SetBreakpoint(true, 4, 1, 1, 0, "MOD.SUB"), 0);
    ASSERT_TRUE(r.engine.Go());
    r.Settle();
    ASSERT_EQ(r.Stops().substr(r.Stops().rfind(';', r.Stops().size() - 2) + 1), "MOD.SUB 4;");
    Check(r, {
                 {"N%", 0, 0, 2, "5", "[INT]"},
                 {"L&", 0, 1, 4, "5000", "[LNG]"},
             });
    r.engine.Stop(1);
}

// The symbol renamed in the image and in the main module's object.
TEST_F(WatchEndToEnd, WithoutTheValueCalculationSymbolTheWatchKeepsItsValue) {
    Scratch s("nocalc");
    std::string error;
    std::string img = s.Build({{"MAIN.BAS", kWatchMain}, {"MOD.SUB", kWatchMod}}, error);
    ASSERT_FALSE(img.empty()) << error;
    for (const std::string& path : {img, (s.Dir() / "MAIN.obj").string()}) {
        std::vector<uint8_t> bytes;
        ASSERT_TRUE(ReadFileBytes(path, bytes));
        std::string all(bytes.begin(), bytes.end());
        size_t at = all.find("$BAS_DBGVALUECALC");
        ASSERT_NE(at, std::string::npos) << path;
        bytes[at + 16] = 'X';
        WriteFileBytes(path, bytes);
    }
    Session r(s);
    ASSERT_TRUE(r.engine.Start(img, "", false));
    ASSERT_NE(r.engine.SharedBlock(), nullptr) << ::testing::PrintToString(r.ui.events);
    auto var = txwatch::CompileWatch("1", false, 1, Tokenize, WatchError);
    ASSERT_NE(var, nullptr);
    EXPECT_FALSE(txwatch::EvaluateWatch(*var, r.engine.SharedBlock(), [&] { return r.engine.CallValueCalc(); }));
    EXPECT_EQ(r.ui.Count("bare Symbol not found. <$BAS_DBGVALUECALC>"), 1u);
    EXPECT_FALSE(var->hasValue);
    EXPECT_TRUE(BlockCleared(r.engine.SharedBlock()));
    // The run's list says so too: the IDE then does not keep the watch.
    r.engine.SetWatchServices(Tokenize, WatchError);
    bool answered = true;
    EXPECT_NE(r.engine.AddWatchExpression("1", false, &answered), nullptr);
    EXPECT_FALSE(answered);
    r.engine.Stop(1);
}

// The run's watch list: evaluated at every stop, numbered from 0, kept by
// the project with its hexadecimal flag and added again at the next run's
// first stop.
TEST_F(WatchEndToEnd, TheRunsWatchesFollowEachStopAndOutliveTheRun) {
    KeptState kept;
    {
        Session r(*scratch, &kept);
        r.engine.SetWatchServices(Tokenize, WatchError);
        ASSERT_TRUE(r.engine.Start(image, "", false));
        txwatch::WatchVar* a = r.engine.AddWatchExpression("A&(10)", true);
        txwatch::WatchVar* d = r.engine.AddWatchExpression("I/0", false);
        ASSERT_TRUE(a && d);
        EXPECT_EQ(r.engine.AddWatchExpression("", false), nullptr);
        EXPECT_EQ(a->number, 0u);
        EXPECT_EQ(d->number, 1u);
        EXPECT_EQ(r.engine.ValueText(*a), "0");
        // A quick evaluation takes a number but stays out of the list.
        std::string text;
        auto q = r.engine.EvaluateText("I + 1", text);
        ASSERT_NE(q, nullptr);
        EXPECT_EQ(text, "1");
        EXPECT_EQ(r.engine.Watches().size(), 2u);
        EXPECT_EQ(r.engine.FindWatch(2), nullptr);
        ASSERT_GT(r.engine.SetBreakpoint(true, 13, 1, 1, 0, "MAIN.BAS"), 0);
        r.engine.Go();
        r.Settle();
        EXPECT_EQ(r.ui.refreshes, 1);
        EXPECT_EQ(r.engine.ValueText(*r.engine.FindWatch(0)), "70000");
        EXPECT_EQ(r.engine.FindWatch(1)->status, 11);
        EXPECT_TRUE(BlockCleared(r.engine.SharedBlock()));
        EXPECT_TRUE(r.engine.DeleteWatch(1));
        EXPECT_FALSE(r.engine.DeleteWatch(1));
        r.engine.AddWatchExpression("S$", false);
        EXPECT_TRUE(r.engine.Stop(0));
    }
    ASSERT_EQ(kept.watches.size(), 2u);
    EXPECT_EQ(kept.watches[0].text, "A&(10)");
    EXPECT_TRUE(kept.watches[0].hex);
    EXPECT_FALSE(kept.watches[1].hex);
    {
        Session r(*scratch, &kept);
        r.engine.SetWatchServices(Tokenize, WatchError);
        ASSERT_TRUE(r.engine.Start(image, "", false));
        EXPECT_EQ(r.ui.restored, (std::vector<std::string>{"0 A&(10)", "1 S$"}));
        ASSERT_EQ(r.engine.Watches().size(), 2u);
        EXPECT_TRUE(r.engine.Watches()[0]->hex);
        EXPECT_EQ(r.engine.Watches()[0]->status, 0);
        // Evaluated at the first stop: S$ is still empty there.
        EXPECT_EQ(r.engine.ValueText(*r.engine.Watches()[1]), "\"\"");
        r.engine.Stop(0);
    }
}

TEST_F(WatchEndToEnd, BasrunPrintsEachWatchAtEachStop) {
    std::string main = scratch->Write("MAIN.BAS", kWatchMain), mod = scratch->Write("MOD.SUB", kWatchMod);
    std::string script = scratch->Write("w.txt", "break MAIN.BAS 12\ngo\nwatch S$\nwatch A&(10)\ntrace\ngo\n");
    std::string out;
    int rc = tx::runner::RunProcess({TX_BASRUN, "--debug", script, main, mod}, scratch->Dir().string(), out);
    EXPECT_EQ(rc, 0) << out;
    EXPECT_EQ(out, "stop MAIN.BAS 7\nstop MAIN.BAS 12\nS$ = \"abc\" [STR:3]\nA&(10) = 0 [LNG]\n"
                   "stop MAIN.BAS 13\nS$ = \"abc\" [STR:3]\nA&(10) = 70000 [LNG]\n 5000 \nexit 0\n");
}

} // namespace
} // namespace txdbg::test
