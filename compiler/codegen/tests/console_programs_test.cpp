// Console programs through the whole chain (txcl, the i686 linker, basrun)
// with what a console run brings: standard input, a fixed clock, a command
// line, the environment. The sources and the expected output are UTF-8;
// the programs see Shift-JIS. Also: the runtime routines each statement
// calls, with their stack words (basrun's call trace), and programs that
// end with a run-time error.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "program_kit.h"
#include "trace_calls.h"
#include "tx_scratch.h"

namespace txcg::test {
namespace {

namespace fs = std::filesystem;

#define REQUIRE_RUNNER()                                                                           \
    if (!CanRun())                                                                                 \
    GTEST_SKIP() << "no runtime library or runner in this build"

std::string Q(const std::string &s) { return "'" + s + "'"; }

struct Outcome {
    bool built = false;
    int status = -1;
    std::string out;   // UTF-8
    std::string err;
    std::string trace;
};

struct Options {
    std::string input;       // standard input
    std::string inputFile;   // or standard input from this file
    std::string basrun;      // further basrun options
    std::string environment; // NAME=value ... for the run
    bool trace = false;
};

fs::path Dir() {
    static const txtest::ScratchDir dir("txcg_console");
    return dir.path();
}

// Compiles `text` as NAME.BAS, links and runs it.
Outcome RunProgram(const std::string &name, const std::string &text, const Options &o = {}) {
    Outcome r;
    const fs::path dir = Dir();
    const std::string base = (dir / name).string();
    std::ofstream(base + ".u8", std::ios::binary) << text;
    std::ofstream(base + ".in", std::ios::binary) << o.input;
    const std::string log = base + ".log";
    std::string cmd = "cd " + Q(dir.string()) + " && iconv -f UTF-8 -t CP932 " + Q(name + ".u8") + " > " +
                      Q(name + ".BAS") + " && " + Q(TX_TXCL_EXE) + " /nologo " + Q(name + ".BAS") + " > " +
                      Q(log) + " 2>&1 && " + Q(Linker()) +
                      " --no-leading-underscore -nostdlib -e '$PbStartup' -o " + Q(name + ".exe") + " " +
                      Q(name + ".obj") + " " + Q(RuntimeLib()) + " >> " + Q(log) + " 2>&1";
    if (std::system(cmd.c_str()) != 0) {
        r.err = Slurp(log);
        return r;
    }
    r.built = true;
    std::string run = "cd " + Q(dir.string()) + " && env " + o.environment + " " + Q(Runner()) + " " + o.basrun +
                      (o.trace ? " --trace " + Q(name + ".trace") : "") + " " + Q(name + ".exe") + " < " +
                      Q(o.inputFile.empty() ? name + ".in" : o.inputFile) + " > " + Q(name + ".sjis") + " 2> " + Q(name + ".err");
    const int rc = std::system(run.c_str());
    r.status = WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
    std::string conv = "iconv -f CP932 -t UTF-8 " + Q(base + ".sjis") + " > " + Q(base + ".out");
    if (std::system(conv.c_str()) != 0)
        r.err = "output is not Shift-JIS; ";
    r.out = Slurp(base + ".out");
    r.err += Slurp(base + ".err");
    r.trace = Slurp(base + ".trace");
    return r;
}

std::string Fixture(const std::string &file) { return Slurp(std::string(TX_CONSOLE_DIR) + "/" + file); }

void ExpectFixture(const std::string &name, const Options &o = {}) {
    const Outcome r = RunProgram(name, Fixture(name + ".bas"), o);
    ASSERT_TRUE(r.built) << r.err;
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, Fixture(name + ".out")) << r.err;
}

// INPUT with its prompt forms, answers of the wrong type or out of range
// asked again; LINE INPUT; WRITE; SPC, STRING$; CLS, COLOR, BEEP; LOCATE,
// CSRLIN and POS on the stream; WIDTH; INKEY$ and INPUT$ on the same input.
TEST(ConsolePrograms, InputWriteAndScreen) {
    REQUIRE_RUNNER();
    Options o;
    o.input = Fixture("console.in");
    ExpectFixture("console", o);
}

TEST(ConsolePrograms, PrintUsingEveryFormatCharacterAndFormat) {
    REQUIRE_RUNNER();
    ExpectFixture("using");
}

// LPRINT, LPRINT USING, LPOS and both WIDTH forms on the printer file basrun
// is given; the console's text and column stay apart from it.
TEST(ConsolePrograms, PrinterFamilyWritesThePrinterFile) {
    REQUIRE_RUNNER();
    Options o;
    o.basrun = "--printer LPRINT.PRN";
    const fs::path printer = Dir() / "LPRINT.PRN";
    fs::remove(printer);
    ExpectFixture("lprint", o);
    EXPECT_EQ(Slurp(printer.string()), Fixture("lprint.prn"));
}

// SHELL with the command table basrun is given: a listed command prints its
// output (the column follows it) and leaves its result in RTN, whatever
// the optional operands; a command not listed exactly is still error 75.
TEST(ConsolePrograms, ShellRunsTheCommandsOfTheTable) {
    REQUIRE_RUNNER();
    Options o;
    o.basrun = "--shell " + Q(std::string(TX_CONSOLE_DIR) + "/shell.cmd");
    ExpectFixture("shell", o);
}

TEST(ConsolePrograms, ClockCommandLineEnvironmentAndDoubleByteFunctions) {
    REQUIRE_RUNNER();
    Options o;
    o.basrun = "--clock '2026-12-11 09:08:07.654' --args 'alpha beta' --env TXTEST_ENV";
    o.environment = "TXTEST_ENV=value";
    ExpectFixture("funcs", o);
}

TEST(ConsolePrograms, IntegerArithmeticKeepsItsType) {
    REQUIRE_RUNNER();
    ExpectFixture("intfaults");
}

// INPUT and LINE INPUT (console and #) into fixed-length strings fill their
// bytes instead of storing a descriptor over them.
TEST(ConsolePrograms, InputIntoFixedLengthStrings) {
    REQUIRE_RUNNER();
    Options o;
    o.input = Fixture("fixinput.in");
    ExpectFixture("fixinput", o);
}

// LEN of a type keyword or a user type is its size, beside LEN of a
// variable and of a string.
TEST(ConsolePrograms, LenOfATypeName) {
    REQUIRE_RUNNER();
    const Outcome r = RunProgram("lentype", "TYPE PT\r\n  X AS INTEGER\r\n  Y AS DOUBLE\r\n  N AS STRING * 5\r\n"
                                            "END TYPE\r\nDIM I%, D#\r\n"
                                            "PRINT LEN(INTEGER); LEN(LONG); LEN(SINGLE); LEN(DOUBLE); LEN(BYTE)\r\n"
                                            "PRINT LEN(PT); LEN(I%); LEN(D#); LEN(\"abc\")\r\n");
    ASSERT_TRUE(r.built) << r.err;
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, " 2  4  4  8  1 \n 15  2  8  3 \n") << r.err;
}

// RUN from a GOSUB and from a procedure starts the program again with its
// files closed and its variables, arrays and strings cleared; a file
// counts the runs.
TEST(ConsolePrograms, RunStartsTheProgramAgainCleared) {
    REQUIRE_RUNNER();
    fs::remove(Dir() / "RUNFLAG.TXT");
    ExpectFixture("run");
}

// RUN with a label or a line number starts the main module there, with
// the same clearing (the file #2 left open is closed by it, or the OPEN
// would fail the second time), DATA read from the start again.
TEST(ConsolePrograms, RunAtALabelOrLineNumber) {
    REQUIRE_RUNNER();
    fs::remove(Dir() / "RUNLABEL.TXT");
    ExpectFixture("runlabel");
}

// RESUME 0 is plain RESUME: the failed statement runs again.
TEST(ConsolePrograms, ResumeZeroRunsTheFailedStatementAgain) {
    REQUIRE_RUNNER();
    const Outcome r = RunProgram("resume0", "ON ERROR GOTO *H\nT% = 0\nERROR 5: PRINT \"same line\"\n"
                                            "PRINT \"tries\"; T%\nEND\n*H\nT% = T% + 1\n"
                                            "IF T% < 3 THEN RESUME 0\nRESUME NEXT\n");
    ASSERT_TRUE(r.built) << r.err;
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "same line\ntries 3 \n") << r.err;
}

// Programs that end with the run-time error of their fault, at its line.
TEST(ConsolePrograms, FaultsAreRunTimeErrors) {
    REQUIRE_RUNNER();
    const struct {
        const char *source;
        int error;
        const char *output;
    } cases[] = {
        {"A% = 32767: PRINT A% + 1", 6, ""},
        {"B% = -32768: PRINT \"x\"; B% - 1", 6, "x"},
        {"L& = 2147483647: PRINT STR$(L& + 1)", 6, ""},
        {"X! = 1E+38: X! = X! * 100", 6, ""},
        {"X! = 1E+38: PRINT X! * 100", 6, ""},
        {"D# = 1D+300: D# = D# * D#", 6, ""},
        {"PRINT EXP(1000)", 6, ""},
        {"PRINT SQR(-1)", 5, ""},
        {"INPUT A%", 62, "? "},
        {"PRINT USING \"abc\"; 1", 5, "abc"},
        {"PRINT USING \"##\"; \"s\"", 13, ""},
        {"COLOR 300", 5, ""},
        {"LOCATE 0", 5, ""},
        {"WIDTH \"XYZ:\", 20", 5, ""},
        {"PRINT \"a\";: SHELL \"dir\"", 75, "a"},
        {"SHELL \"dir\", , 1", 75, ""},
    };
    int n = 0;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.source);
        const Outcome r = RunProgram("F" + std::to_string(++n), std::string(c.source) + "\n");
        ASSERT_TRUE(r.built) << r.err;
        EXPECT_EQ(r.status, 1);
        const std::string want = "runtime error " + std::to_string(c.error) + " (";
        EXPECT_NE(r.err.find(want), std::string::npos) << r.err;
        EXPECT_NE(r.err.find(" line 1 "), std::string::npos) << r.err;
        EXPECT_EQ(r.out, c.output);
    }
}

// The statement routines and functions each source line calls, in order,
// with their stack words ("*" stands for an address).
TEST(ConsolePrograms, CallTraceOfOptionalOperandsAndTwoRoutineStatements) {
    REQUIRE_RUNNER();
    const struct {
        const char *line;
        std::vector<std::string> calls;
    } table[] = {
        {"COLOR , 5", {"_$PsCOLOR@24 0 0 5 0 0 2"}},
        {"COLOR 1, 2, 3, 4", {"_$PsCOLOR@24 0 1 2 3 4 15"}},
        {"COLOR 7", {"_$PsCOLOR@24 0 7 0 0 0 1"}},
        {"COLOR , , , 9", {"_$PsCOLOR@24 0 0 0 0 9 8"}},
        {"LOCATE 3", {"_$PsLOCATE@20 0 3 0 0 1"}},
        {"LOCATE , 7, 1", {"_$PsLOCATE@20 0 0 7 1 6"}},
        {"CONSOLE 0, 25, 1", {"_$PsCONSOLE@16 0 0 25 1"}},
        {"WIDTH 40", {"_$PsWIDTH3@20 0 40 0 0 1"}},
        {"WIDTH 40, 25", {"_$PsWIDTH3@20 0 40 25 0 3"}},
        {"WIDTH \"SCRN:\", 60", {"_$PsWIDTH2@4 60"}},
        {"WIDTH LPRINT 72", {"_$PsWIDTH_LPRINT@4 72"}},
        {"CLS", {"_$PsCLS@8 0 0"}},
        {"CLS 2", {"_$PsCLS@8 0 2"}},
        {"BEEP", {"_$PsBEEP@0"}},
        {"INPUT \"Q\"; A%", {"_$PsINPUTs@8 0 2", "_$PsINPUT@4 *"}},
        {"INPUT \"Q\", A%, S$", {"_$PsINPUTs@8 0 1", "_$PsINPUT@4 *"}},
        {"INPUT A%", {"_$PsINPUTs@8 0 0", "_$PsINPUT@4 *"}},
        {"LINE INPUT S$", {"_$PsLINE_INPUTs@8 0 0", "_$PsLINE_INPUT@4 *"}},
        {"LINE INPUT \"L\"; S$", {"_$PsLINE_INPUTs@8 0 2", "_$PsLINE_INPUT@4 *"}},
        {"WRITE 1, , \"a\"", {"_$PsWRITEs@4 0", "_$PsWRITE2@8 1 1", "_$PsWRITE0@4 1", "_$PsWRITE5@4 0",
                              "_$PsWRITEend@0"}},
        {"PRINT USING \"##\"; 5; 6;", {"_$PsPRINT_USINGs@4 0", "_$PsPRINT_USING2@8 5 2",
                                       "_$PsPRINT_USING2@8 6 2", "_$PsPRINT_USINGend@0"}},
        {"LPRINT USING \"#\"; 1", {"_$PsLPRINT_USINGs@0", "_$PsPRINT_USING2@8 1 0", "_$PsPRINT_USINGend@0"}},
        {"LPRINT 7;", {"_$PsLPRINTs@0", "_$PsPRINT2@8 7 2", "_$PsPRINTend@0"}},
        {"LPRINT TYPE", {"_$PsLPRINT_TYPE@0"}},
        {"SHELL \"x\", 1, , 3", {"_$PsSHELL@12 1 0 3"}},
        {"SHELL S$", {"_$PsSHELL@12 0 0 0"}},
        {"N% = LPOS(0)", {"_$PfLPOS@4 0"}},
        {"PRINT CSRLIN; POS(0)", {"_$PsPRINTs@4 0", "_$PfCSRLIN@4 0", "_$PsPRINT2@8 * 2", "_$PfPOS@8 0 0",
                                  "_$PsPRINT2@8 * 0", "_$PsPRINTend@0"}},
        {"K$ = INKEY$", {"_$PfINKEY24@4 0"}},
        {"S$ = STRING$(3, 65) + STRING$(2, \"ab\")", {"_$PfSTRING24C@8 3 65", "_$PfSTRING24@4 2"}},
        {"S$ = MID$(\"abc\", 2)", {"_$PfMID24@8 2 2147483647"}},
        {"S$ = FORMAT$(A%, \"##\") + FORMAT$(1.5#, \"#\") + FORMAT$(S$, \"&\")",
         {"_$PfFORMAT242@4 *", "_$PfFORMAT248@0", "_$PfFORMAT245@0"}},
        {"N% = SEARCH(V%(), 3, 1, 2)", {"_$PfSEARCH@12 * 1 2"}},
        {"S$ = JCONV$(\"a\", 0, 1)", {"_$PfJCONV24@8 0 1"}},
        {"N% = KLEN(\"a\", 2) + KTYPE(\"a\", 1)", {"_$PfKLEN@4 2", "_$PfKTYPE@4 1"}},
        {"N% = LEN(A%) + LEN(S$)", {"_$PfLEN@0"}},
        {"LOCK #1, 2 TO 5", {"_$PsLOCK@16 1 2 5 7"}},
        {"UNLOCK 1 TO 3", {"_$PsUNLOCK@16 1 0 3 5"}},
        {"LOCK #1", {"_$PsLOCK@16 1 0 0 1"}},
    };
    std::string source = "DIM V%(4): ON ERROR GOTO *TRAP\n";
    for (const auto &t : table)
        source += std::string(t.line) + "\n";
    source += "END\n*TRAP\nRESUME NEXT\n"; // SHELL is refused
    Options o;
    o.trace = true;
    o.input = "1\n2\n3, x\n4\nline\nline\n";
    const Outcome r = RunProgram("TRACE", source, o);
    ASSERT_TRUE(r.built) << r.err;
    ASSERT_EQ(r.status, 0) << r.err;
    auto byLine = CallsByLine(r.trace);
    for (size_t i = 0; i < std::size(table); ++i) {
        SCOPED_TRACE(table[i].line);
        const auto &got = byLine[int(i) + 2];
        ASSERT_EQ(got.size(), table[i].calls.size()) << ::testing::PrintToString(got);
        for (size_t k = 0; k < got.size(); ++k)
            EXPECT_TRUE(CallMatches(table[i].calls[k], got[k])) << table[i].calls[k] << " / " << got[k];
    }
}

// The object prefix reaches every routine that takes a window word as the
// object's address: the trace words against the addresses the program
// prints first ("O" and "P" below stand for them). Inside an EDECL
// procedure a statement without an object takes the procedure's own, which
// a call passes along: the object of the call, or 0 (the null object).
TEST(ConsolePrograms, CallTraceOfTheObjectPrefix) {
    REQUIRE_RUNNER();
    const char *const head = "DECLARE SUB M EDECL ()\n"
                             "DECLARE SUB N EDECL ()\n"
                             "DIM O AS OBJECT, P AS OBJECT\n"
                             "SUB M ()\n"
                             "  CLS 9\n"
                             "END SUB\n"
                             "SUB N ()\n"
                             "  M\n"
                             "END SUB\n"
                             "PRINT VARPTR(O); VARPTR(P)\n";
    const int inM = 5, first = 11;
    const struct {
        const char *line;
        std::vector<std::string> calls;
    } table[] = {
        {"O.CLS 1", {"_$PsCLS@8 O 1"}},
        {"CLS 1", {"_$PsCLS@8 0 1"}},
        {"O.PRINT 1;", {"_$PsPRINTs@4 O", "_$PsPRINT2@8 1 2", "_$PsPRINTend@0"}},
        {"P.COLOR 3", {"_$PsCOLOR@24 P 3 0 0 0 1"}},
        {"O.LOCATE , 2", {"_$PsLOCATE@20 O 0 2 0 2"}},
        {"P.WIDTH 40", {"_$PsWIDTH3@20 P 40 0 0 1"}},
        {"O.WRITE", {"_$PsWRITEs@4 O", "_$PsWRITEend@0"}},
        {"C% = O.CSRLIN + P.POS(0)", {"_$PfCSRLIN@4 O", "_$PfPOS@8 P 0"}},
        {"K$ = P.INKEY$", {"_$PfINKEY24@4 P"}},
        {"O.M", {}},
        {"M", {}},
        {"P.N", {}},
    };
    std::string source = head;
    for (const auto &t : table)
        source += std::string(t.line) + "\n";
    Options o;
    o.trace = true;
    const Outcome r = RunProgram("OBJTRACE", source, o);
    ASSERT_TRUE(r.built) << r.err;
    ASSERT_EQ(r.status, 0) << r.err;
    std::istringstream printed(r.out);
    std::string addrO, addrP;
    ASSERT_TRUE(printed >> addrO >> addrP) << r.out;
    ASSERT_NE(addrO, addrP);
    auto byLine = CallsByLine(r.trace);
    auto expand = [&](const std::string &want) {
        std::istringstream w(want);
        std::string word, out;
        while (w >> word)
            out += (out.empty() ? "" : " ") + (word == "O" ? addrO : word == "P" ? addrP : word);
        return out;
    };
    for (size_t i = 0; i < std::size(table); ++i) {
        SCOPED_TRACE(table[i].line);
        std::vector<std::string> want;
        for (const std::string &c : table[i].calls)
            want.push_back(expand(c));
        EXPECT_EQ(byLine[first + int(i)], want);
    }
    // CLS in M, called as O.M, as M, and from N called as P.N.
    EXPECT_EQ(byLine[inM], (std::vector<std::string>{expand("_$PsCLS@8 O 9"), "_$PsCLS@8 0 9",
                                                      expand("_$PsCLS@8 P 9")}));
}

// Programs that push the host's limits: each ends with the right result or
// a clear error, never a crash or runaway memory.
TEST(ConsolePrograms, HostileProgramsEndCleanly) {
    REQUIRE_RUNNER();
    const struct {
        const char *name;
        const char *source;
        Options options;
        int status;
        const char *output;
        const char *error; // in basrun's messages
    } cases[] = {
        // A transfer of any length a statement allows, in one call.
        {"bigput",
         "OPEN \"BIG.DAT\" FOR BINARY AS #1\nA$ = STRING$(1500000, \"x\")\nPUT #1, , A$\nPRINT LOF(1)\n"
         "B$ = SPACE$(1500000)\nGET #1, 1, B$\nIF B$ = A$ THEN PRINT \"same\"\nCLOSE #1\nKILL \"BIG.DAT\"\n",
         {}, 0, " 1500000 \nsame\n", ""},
        // A file stops growing at the size cap with disk full.
        {"filecap",
         "ON ERROR GOTO *H\nOPEN \"HUGE.DAT\" FOR BINARY AS #1\nA$ = STRING$(1048576, \"x\")\n"
         "FOR I% = 1 TO 300\nPUT #1, , A$\nNEXT\nPRINT \"no cap\"\nEND\n"
         "*H\nPRINT \"error\"; ERR; \"at\"; I%; LOF(1)\nCLOSE #1\nKILL \"HUGE.DAT\"\nEND\n",
         {}, 0, "error 61 at 257  268435456 \n", ""},
        // A console line that never ends: the run ends at its time limit, its
        // memory bounded.
        // (The console echoes what LINE INPUT takes: that output is not
        // compared.)
        {"endless", "DO\nLINE INPUT A$\nN& = N& + 1\nLOOP\n", {"", "/dev/zero", "--timeout 3"}, 1, nullptr,
         "time limit of 3 s reached"},
        // A line longer than LINE INPUT takes is cut; the next line is still
        // the next line.
        {"longline", "LINE INPUT A$\nPRINT LEN(A$)\nLINE INPUT A$\nPRINT A$; LEN(A$)\n",
         {std::string(100000, 'y') + "\nlast\n"}, 0, nullptr, ""},
        // Only the variables basrun is told to pass.
        {"environ",
         "PRINT \"[\"; ENVIRON$(\"TXHOST_ONLY\"); \"][\"; ENVIRON$(\"TXPASSED\"); \"][\"; ENVIRON$(\"TXSET\"); \"]\"\n",
         {"", "", "--env TXPASSED --env TXSET=given", "TXHOST_ONLY=secret TXPASSED=host"}, 0,
         "[][TXPASSED=host][TXSET=given]\n", ""},
        // ERL stays the failed line after RESUME NEXT.
        {"erlnext",
         "ON ERROR GOTO *H\nPRINT \"a\"\nX% = 1\nERROR 5\nPRINT \"after\"; ERL\nEND\n*H\nPRINT \"in\"; ERL\nRESUME NEXT\n",
         {}, 0, "a\nin 4 \nafter 4 \n", ""},
        // Names whose trail bytes are 0x5C (ソ, 表) are whole characters.
        {"sjisname",
         "OPEN \"ソ表.TXT\" FOR OUTPUT AS #1\nPRINT #1, \"kept\"\nCLOSE #1\nOPEN \"ソ表.TXT\" FOR INPUT AS #1\n"
         "LINE INPUT #1, A$\nCLOSE #1\nKILL \"ソ表.TXT\"\nPRINT A$\n",
         {}, 0, "kept\n", ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const Outcome r = RunProgram(c.name, c.source, c.options);
        ASSERT_TRUE(r.built) << r.err;
        EXPECT_EQ(r.status, c.status) << r.err;
        if (c.output)
            EXPECT_EQ(r.out, c.output) << r.err;
        EXPECT_NE(r.err.find(c.error), std::string::npos) << r.err;
        if (std::string(c.name) == "longline") {
            EXPECT_NE(r.out.find(" 1024 \n"), std::string::npos);
            EXPECT_EQ(r.out.substr(r.out.size() - 8), "last 4 \n");
        }
    }
}

// A module whose static storage would be a file of zeros no loader takes is
// error 22; a listing that cannot be written (a full disk) is error 12, not
// a success.
TEST(ConsolePrograms, CompilerRefusesHugeStorageAndReportsFailedWrites) {
    REQUIRE_RUNNER();
    const Outcome r = RunProgram("hugedim", "DIM A#(100000000)\nPRINT 1\n");
    EXPECT_FALSE(r.built);
    EXPECT_NE(r.err.find("22."), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(Dir() / "hugedim.obj"));

    std::ofstream(Dir() / "LISTED.BAS", std::ios::binary) << "PRINT 1\r\n";
    const std::string log = (Dir() / "listed.log").string();
    const std::string cmd = "cd " + Q(Dir().string()) + " && " + Q(TX_TXCL_EXE) +
                            " /nologo /Fs/dev/full LISTED.BAS > " + Q(log) + " 2>&1";
    EXPECT_NE(std::system(cmd.c_str()), 0);
    EXPECT_NE(Slurp(log).find("/dev/full"), std::string::npos) << Slurp(log);
    EXPECT_NE(Slurp(log).find(" : 12."), std::string::npos) << Slurp(log);
}

} // namespace
} // namespace txcg::test
