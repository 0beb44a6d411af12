// basrun as a command: exit status, output and messages, and the
// compile-link-run path with a stand-in compiler that assembles its input.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "link.h"

namespace fs = std::filesystem;
using tx::runner::RunProcess;

namespace {

std::string Program(const char* name) { return std::string(TX_PROGRAMS_BIN) + "/" + name + ".exe"; }

TEST(BasrunCli, ExitStatusAndMessages) {
    struct Case {
        std::vector<std::string> args;
        int status;
        const char* text; // expected in stdout and stderr together
    } cases[] = {
        {{Program("hello")}, 0, "Hello, world\n 42 \n"},
        {{Program("fault_read")}, 1, "beforebasrun: fault at 0x"},
        {{"--limit", "50000", Program("fault_loop")}, 1, "instruction limit of 50000 reached"},
        {{"--limit", "0", "--timeout", "1", Program("fault_loop")}, 1, "time limit of 1 s reached"},
        {{Program("fault_push")}, 1, "unbalanced stack in FAULTS.BAS line 14"},
        {{Program("fault_div")}, 1, "runtime error 11 (division by zero)"},
        // The emulator's translator aborts on this one; it is still a fault
        // of the program, at the instruction itself.
        {{Program("fault_farreg")}, 1, "fault at 0x"},
        {{Program("fault_farreg")}, 1, "(far_jump) in FAULTS.BAS line 29: invalid instruction (FF EC"},
        {{"/nonexistent/x.exe"}, 2, "cannot open /nonexistent/x.exe"},
        {{std::string(TX_PROGRAMS_SRC) + "/hello.out"}, 2, "not a PE image"},
        {{"--bogus", Program("hello")}, 2, "unknown option --bogus"},
        {{"--limit"}, 2, "--limit needs a number"},
        {{}, 2, "usage: basrun"},
        {{Program("hello"), Program("hello")}, 2, "give one image"},
        {{"/nonexistent/MAIN.BAS"}, 2, "cannot open /nonexistent/MAIN.BAS"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> argv{TX_BASRUN};
        argv.insert(argv.end(), c.args.begin(), c.args.end());
        SCOPED_TRACE(c.args.empty() ? "(none)" : c.args.back());
        std::string out;
        EXPECT_EQ(RunProcess(argv, "", out), c.status) << out;
        EXPECT_NE(out.find(c.text), std::string::npos) << out;
    }
}

// A SHELL command table that cannot be read or has a bad line stops basrun
// before the program runs, naming the line.
TEST(BasrunCli, ShellTableFaultsStopBeforeTheRun) {
    const fs::path table = fs::temp_directory_path() / ("basrun_shell_" + std::to_string(::getpid()) + ".cmd");
    struct Case {
        const char* text; // nullptr: no file
        const char* message;
    } cases[] = {
        {nullptr, "cannot read it"},
        {"# fine\nok\t0\tout\nno result\n", "line 3: not COMMAND, a tab and a result"},
        {"x\t1a\n", "line 1: not COMMAND, a tab and a result"},
        {"\t0\n", "line 1: not COMMAND, a tab and a result"},
        {"x\t4294967296\n", "line 1: not COMMAND, a tab and a result"},
        {"x\t0\ny\t1\nx\t2\n", "line 3: the command is listed twice"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        fs::remove(table);
        if (c.text) std::ofstream(table, std::ios::binary) << c.text;
        std::string out;
        EXPECT_EQ(RunProcess({TX_BASRUN, "--shell", table.string(), Program("hello")}, "", out), 2) << out;
        EXPECT_NE(out.find(c.message), std::string::npos) << out;
        EXPECT_EQ(out.find("Hello"), std::string::npos) << out;
    }
    fs::remove(table);
}

// A write's length is checked before its buffer is taken: with memory bounded,
// a write of 0xFFFFFFF0 bytes is a fault of the program, not of basrun. (A
// sanitizer's reserved shadow memory does not fit such a bound.)
TEST(BasrunCli, HugeWriteIsRefusedBeforeAllocating) {
#if defined(__SANITIZE_ADDRESS__)
    const char* bound = "";
#else
    const char* bound = "ulimit -v 3000000; ";
#endif
    std::string out;
    EXPECT_EQ(RunProcess({"/bin/sh", "-c", std::string(bound) + "exec \"$0\" \"$1\"", TX_BASRUN,
                          Program("fault_writehuge")},
                         "", out),
              1)
        << out;
    EXPECT_NE(out.find("line 30: WriteFile with a bad buffer"), std::string::npos) << out;
}

// The record a fault leaves: the exception block only, read by TXANZ60's
// tests for a BASIC error.
TEST(BasrunCli, FaultLeavesTheExceptionRecord) {
    fs::path rec = fs::temp_directory_path() / ("basrun_rec_" + std::to_string(::getpid()) + ".reg");
    std::string out;
    EXPECT_EQ(RunProcess({TX_BASRUN, "--error-record", rec.string(), Program("fault_read")}, "", out), 1) << out;
    std::ifstream in(rec, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text.rfind("REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Veltran\\Tambrix V6.3\\RUNTIME\\ERROR]\r\n", 0), 0u) << text;
    EXPECT_NE(text.find("\"XCODE\"=dword:c0000005\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\"XMODL\"=\"FAULTS.BAS\"\r\n"), std::string::npos) << text;
    EXPECT_EQ(text.find("\"MODL\""), std::string::npos) << text;
    fs::remove(rec);
    EXPECT_EQ(RunProcess({TX_BASRUN, "--error-record", rec.string(), Program("hello")}, "", out), 0) << out;
    EXPECT_FALSE(fs::exists(rec)) << "a program that ends leaves no record";
}

// A stand-in for txcl: "/Fo<object> <source>", where the source is i386
// assembly; a source containing "BROKEN" fails like a compile error.
class BasrunSources : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("basrun_cli_" + std::to_string(::getpid()));
        fs::create_directories(dir_);
        fs::path script = dir_ / "fake_txcl";
        std::ofstream(script) << "#!/bin/sh\n"
                                 "obj=${1#/Fo}\n"
                                 "if grep -q BROKEN \"$2\"; then echo \"$2(3) : error 12. broken\"; exit 255; fi\n"
                                 "exec " TX_I686_AS " -I " TX_PROGRAMS_SRC " \"$2\" -o \"$obj\"\n";
        fs::permissions(script, fs::perms::owner_all);
        setenv("TXCL", script.c_str(), 1);
    }
    void TearDown() override {
        unsetenv("TXCL");
        fs::remove_all(dir_);
    }
    std::string Source(const char* name, const std::string& text) {
        fs::path p = dir_ / name;
        std::ofstream(p) << text;
        return p.string();
    }
    fs::path dir_;
};

TEST_F(BasrunSources, CompilesLinksAndRunsModules) {
    // The main module calls a procedure of a second module; both carry the
    // export directives the code generator writes.
    std::string main = Source("MAIN.BAS",
                              "\t.include \"basic.inc\"\n"
                              "\t.section .drectve\n\t.ascii \"-export:$PbMainWndProc=_$PbMainWndProc@16 \"\n"
                              "\tSTRCONST s_m, \"main\"\n"
                              "\tMAIN_MODULE \"MAIN.BAS\"\n"
                              "\tLINE 1\n\tPRINT_START\n\tPRINT_CONST s_m, 2\n\tPRINT_END\n"
                              "\tLINE 2\n\tcall SHOUT\n\tret\n");
    std::string sub = Source("MOD.SUB",
                             "\t.include \"basic.inc\"\n"
                             "\tSTRCONST s_s, \"sub\"\n"
                             "\t.section .drectve\n\t.ascii \"-export:SHOUT \"\n\t.text\n"
                             "\t.globl SHOUT\nSHOUT:\n\tPROC_ENTER 0\n"
                             "\tLINE 5\n\tPRINT_START\n\tPRINT_CONST s_s\n\tPRINT_END\n"
                             "\tLINE 6\n\tcall \"$PbSUBLEAVE\"\n\tret\n");
    std::string out;
    fs::path tmp = dir_ / "tmp";
    fs::create_directories(tmp);
    setenv("TMPDIR", tmp.c_str(), 1);
    EXPECT_EQ(RunProcess({TX_BASRUN, main, sub}, "", out), 0) << out;
    unsetenv("TMPDIR");
    EXPECT_EQ(out, "mainsub\n");
    EXPECT_TRUE(fs::is_empty(tmp)); // the work folder is gone again
}

TEST_F(BasrunSources, ReportsCompileAndLinkFailures) {
    std::string broken = Source("BAD.BAS", "BROKEN\n");
    std::string out;
    EXPECT_EQ(RunProcess({TX_BASRUN, broken}, "", out), 2) << out;
    EXPECT_NE(out.find("compiling " + broken + " failed"), std::string::npos) << out;
    EXPECT_NE(out.find("error 12. broken"), std::string::npos) << out;

    std::string unresolved = Source("UNRES.BAS", "\t.include \"basic.inc\"\n\tMAIN_MODULE \"UNRES.BAS\"\n"
                                                 "\tcall NOWHERE\n\tret\n");
    EXPECT_EQ(RunProcess({TX_BASRUN, unresolved}, "", out), 2) << out;
    EXPECT_NE(out.find("linking failed"), std::string::npos) << out;
    EXPECT_NE(out.find("NOWHERE"), std::string::npos) << out;

    // A linker killed by a signal ran; it crashed.
    fs::path crashing = dir_ / "crashing_ld";
    std::ofstream(crashing) << "#!/bin/sh\nkill -SEGV $$\n";
    fs::permissions(crashing, fs::perms::owner_all);
    std::string okAsm = Source("LINKME.BAS", "\t.include \"basic.inc\"\n\tMAIN_MODULE \"LINKME.BAS\"\n\tret\n");
    setenv("TX_I686_LD", crashing.c_str(), 1);
    EXPECT_EQ(RunProcess({TX_BASRUN, okAsm}, "", out), 2) << out;
    unsetenv("TX_I686_LD");
    EXPECT_NE(out.find("linking failed (" + crashing.string() + " crashed: signal 11"), std::string::npos) << out;
    setenv("TX_I686_LD", (dir_ / "no_such_ld").c_str(), 1);
    EXPECT_EQ(RunProcess({TX_BASRUN, okAsm}, "", out), 2) << out;
    unsetenv("TX_I686_LD");
    EXPECT_NE(out.find("linking failed (cannot run " + (dir_ / "no_such_ld").string() + ")"), std::string::npos) << out;

    std::string notSource = Source("X.TXT", "");
    std::string okMain = Source("OK.BAS", "");
    EXPECT_EQ(RunProcess({TX_BASRUN, okMain, notSource}, "", out), 2) << out;
    EXPECT_NE(out.find("is not a .bas, .sub or .frm source"), std::string::npos) << out;
}

TEST_F(BasrunSources, RemovesTheWorkFolderAfterAnEmulatorAbort) {
    std::string main = Source("FAR.BAS", "\t.include \"basic.inc\"\n\tMAIN_MODULE \"FAR.BAS\"\n"
                                         "\tLINE 1\n\tnop\n\t.byte 0xFF, 0xDC\n\tret\n");
    fs::path tmp = dir_ / "tmp";
    fs::create_directories(tmp);
    setenv("TMPDIR", tmp.c_str(), 1);
    std::string out;
    EXPECT_EQ(RunProcess({TX_BASRUN, main}, "", out), 1) << out;
    unsetenv("TMPDIR");
    EXPECT_NE(out.find("in FAR.BAS line 1: invalid instruction (FF DC"), std::string::npos) << out;
    EXPECT_TRUE(fs::is_empty(tmp));
}

// Ended from outside while its program runs, basrun still removes its work
// folder: the run goes on in a process of its own.
TEST_F(BasrunSources, RemovesTheWorkFolderWhenEndedFromOutside) {
    std::string main = Source("SPIN.BAS", "\t.include \"basic.inc\"\n\tMAIN_MODULE \"SPIN.BAS\"\n"
                                          "\tLINE 1\n1:\tjmp 1b\n");
    fs::path tmp = dir_ / "tmp";
    fs::create_directories(tmp);
    const std::string script = "TMPDIR=\"$2\" \"$0\" --limit 0 --timeout 60 \"$1\" & pid=$!\n"
                               "n=0; while [ -z \"$(ls \"$2\")\" ] && [ $n -lt 100 ]; do sleep 0.1; n=$((n+1)); done\n"
                               "sleep 1; kill $pid; wait $pid; echo \"status $?\"\n";
    std::string out;
    RunProcess({"/bin/sh", "-c", script, TX_BASRUN, main, tmp.string()}, "", out);
    EXPECT_NE(out.find("status 1"), std::string::npos) << out;
    EXPECT_NE(out.find("basrun: the run ended with signal 15"), std::string::npos) << out;
    EXPECT_TRUE(fs::is_empty(tmp));
}

// The whole way with the real compiler driver found beside basrun.
TEST(BasrunCli, RunsABasicSourceThroughTxcl) {
    fs::path dir = fs::temp_directory_path() / ("basrun_txcl_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    fs::path src = dir / "ENDONLY.BAS";
    std::ofstream(src, std::ios::binary) << "END\r\n";
    std::string out;
    EXPECT_EQ(RunProcess({TX_BASRUN, src.string()}, "", out), 0) << out;
    fs::remove_all(dir);
}

// BASIC programs through txcl with the default instruction limit: output
// and status exact, run-time errors with their number and line.
TEST(BasrunCli, BasicProgramsRunWithinTheDefaultLimit) {
    struct Case {
        const char* source;
        int status;
        const char* output; // stdout and stderr together, exactly
    } cases[] = {
        // 10,000 appends: a byte-wise copy per append ran past the limit.
        {"S$ = \"\"\r\nFOR I% = 1 TO 10000\r\nS$ = S$ + \"x\"\r\nNEXT I%\r\n"
         "PRINT LEN(S$); RIGHT$(S$, 3)\r\nT$ = S$: S$ = \"ab\"\r\nPRINT LEN(T$); S$\r\n",
         0, " 10000 xxx\n 10000 ab\n"},
        {"PRINT EXP(0)\r\nPRINT EXP(1000)\r\n", 1,
         " 1 \nbasrun: runtime error 6 (overflow) in PROG.BAS line 2"},
    };
    fs::path dir = fs::temp_directory_path() / ("basrun_progs_" + std::to_string(::getpid()));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.source);
        fs::create_directories(dir);
        fs::path src = dir / "PROG.BAS";
        std::ofstream(src, std::ios::binary) << c.source;
        std::string out;
        EXPECT_EQ(RunProcess({TX_BASRUN, src.string()}, "", out), c.status) << out;
        EXPECT_EQ(out.substr(0, std::string(c.output).size()), c.output);
        fs::remove_all(dir);
    }
}

} // namespace
