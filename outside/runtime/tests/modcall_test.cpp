// The module calls through the whole chain (txcl beside basrun, the i686
// linker, the emulator): DLL calls of a BASIC module built as a DLL, module
// routines (PARAM) called by CALLS in the program and in a module loaded by
// LOADM, CALLM and DELETEM, with their run-time errors (sources in modules/);
// CALLM into machine code (machine/); and the analyzer's errors for PARAM
// and RETURNS.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

#include <gtest/gtest.h>

#include "link.h"

namespace fs = std::filesystem;
using tx::runner::RunProcess;

namespace {

std::string Fixture(const char* name) { return std::string(TX_MODULES_SRC) + "/" + name; }

// The program's output, then (when the run ends with an error) basrun's
// message, exactly up to the address it names.
TEST(ModuleCalls, ProgramsPrintExactlyAndStopWithTheirError) {
    struct Case {
        const char* name;
        std::vector<std::string> args;
        int status;
        const char* output;
        const char* message; // after the output; "" for none
    } cases[] = {
        {"DLL routines by name and by alias; a routine it lacks",
         {"--dll", Fixture("DLLLIB.SUB"), Fixture("DLLCALL.BAS")},
         1,
         "before 44 \nhello world 5 \nhello again 6 \n 7  2.5 \n",
         "basrun: runtime error 48 (routine not found) in DLLCALL.BAS line 12 at "},
        {"a DLL that is not there",
         {Fixture("DLLCALL.BAS")},
         1,
         "before",
         "basrun: runtime error 53 (file not found) in DLLCALL.BAS line 8 at "},
        {"CALLS: references, temporaries, defaults, RETURNS and RTN; a single for an integer",
         {Fixture("CALLS.BAS"), Fixture("ROUTINE.SUB")},
         1,
         "routine 5 hi 2.5  7 \n 6 hi! 0 \n"
         "routine 7 x .25  150 \n 6  700 \n"
         "routine 6 dflt 2.5  1 \n 6 \n"
         "routine 6 dflt 2.5  7 \n 6 \n",
         "basrun: runtime error 13 (type mismatch) in CALLS.BAS line 12 at "},
        {"LOADM, CALLS and CALLM into loaded modules; CALLS after DELETEM",
         {"--dll", Fixture("DLLLIB.SUB"), "--dll", Fixture("MODR.SUB"), Fixture("LOADM.BAS")},
         1,
         "modr 4 dflt\n 40  41 \n 42 \nhello there 1 \n 2 \nmodr 40 given\n",
         "basrun: runtime error 48 (routine not found) in LOADM.BAS line 15 at "},
        {"arguments that do not fit, and calls of what is not there, trapped",
         {Fixture("MISFIT.BAS"), Fixture("FITR.SUB")},
         0,
         "error 5 line 4 \nerror 5 line 5 \nerror 13 line 6 \nerror 13 line 7 \nerror 13 line 8 \n"
         "error 6 line 9 \nerror 48 line 10 \nerror 5 line 11 \nerror 5 line 12 \nerror 53 line 13 \n"
         " 3 \nok\n",
         ""},
        {"CALLM into machine code: strings, elements, DEF LEN, fixed-length strings and decimals as their text",
         {"--dir", TX_MACHINE_BIN, Fixture("CALLMTXT.BAS")},
         0,
         "HELLO 5 \nXYZ 3 \n[AB  ] 2 \nEFg 2 \n 141 \n 198 \n",
         ""},
        {"CALLS with the parameter blocks DEF PARM builds",
         {Fixture("DEFPARM.BAS"), Fixture("FITR2.SUB")},
         0,
         "in 5 blk\n 6 blk+\nin 12 d\n 6  13 \nin 6 blk+\n 7 \n",
         ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> argv{TX_BASRUN};
        argv.insert(argv.end(), c.args.begin(), c.args.end());
        std::string out;
        EXPECT_EQ(RunProcess(argv, "", out), c.status) << out;
        EXPECT_EQ(out.substr(0, std::string(c.output).size()), c.output) << out;
        EXPECT_EQ(out.substr(std::string(c.output).size(), std::string(c.message).size()), c.message) << out;
    }
}

// The order of the routines a CALLS and a CALLM run: the list's temporary
// before the call, the routine's entry check and RETURNS inside it, the
// list's temporaries released after it; CALLM's result kept for RTN.
TEST(ModuleCalls, TraceShowsTheCallOrder) {
    const fs::path dir = fs::temp_directory_path() / ("modtrace_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const std::string trace = (dir / "trace.txt").string();
    std::string out;
    EXPECT_EQ(RunProcess({TX_BASRUN, "--trace", trace, "--dll", Fixture("DLLLIB.SUB"), Fixture("TRACE.BAS"),
                          Fixture("FITR2.SUB")},
                         "", out),
              0)
        << out;
    EXPECT_EQ(out, "in 2 st\n");
    std::ifstream in(trace);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    const char* expected[] = {"_$PbAdd5@0",        "_$PbTmpAdr5@0",     "_$PsCALLS@0",
                              "$PbTypeCheck",      "$PsRETURNS",        "_$PbDelTmpAdrPcb@0",
                              "_$PsLOADM@0",       "$PsCALLM",          "_$PbSetRtn@4 42"};
    size_t at = 0;
    for (const char* e : expected) {
        while (at < lines.size() && lines[at] != e) ++at;
        EXPECT_LT(at, lines.size()) << e << " missing or out of order";
    }
    fs::remove_all(dir);
}

// The make script's way: the module compiled with /MWD and linked by our
// LINK /DLL (its own base, entered by DllMain), the program by LINK; the
// program finds the DLL beside it, under both of the names it uses.
TEST(ModuleCalls, DllLinkedByOurLink) {
    const fs::path dir = fs::temp_directory_path() / ("moddll_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    setenv("LIB", TX_LIB_DIR, 1);
    std::string out;
    for (const char* name : {"DLLLIB.SUB", "DLLCALL.BAS"}) fs::copy_file(Fixture(name), dir / name);
    ASSERT_EQ(RunProcess({TX_TXCL, "/nologo", "/MWD", "/FoDLLLIB.obj", "DLLLIB.SUB"}, dir.string(), out), 0) << out;
    ASSERT_EQ(RunProcess({TX_TXCL, "/nologo", "/FoDLLCALL.obj", "DLLCALL.BAS"}, dir.string(), out), 0) << out;
    ASSERT_EQ(RunProcess({TX_LINK, "/nologo", "/DLL", "/out:DLLLIB.DLL", "DLLLIB.obj", "TQ70RN63.LIB"}, dir.string(), out), 0)
        << out;
    ASSERT_EQ(RunProcess({TX_LINK, "/nologo", "/out:DLLCALL.exe", "DLLCALL.obj", "TQ70RN63.LIB"}, dir.string(), out), 0)
        << out;
    unsetenv("LIB");
    EXPECT_EQ(RunProcess({TX_BASRUN, (dir / "DLLCALL.exe").string()}, "", out), 1);
    const std::string printed = "before 44 \nhello world 5 \nhello again 6 \n 7  2.5 \n";
    EXPECT_EQ(out.substr(0, printed.size()), printed) << out;
    EXPECT_NE(out.find("runtime error 48 (routine not found) in line 12"), std::string::npos) << out;
    fs::remove_all(dir);
}

// PARAM and RETURNS refused by the analyzer, by their error numbers.
TEST(ModuleCalls, AnalyzerErrors) {
    const fs::path dir = fs::temp_directory_path() / ("modparam_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    std::string many = "PARAM ";
    for (int i = 0; i < 65; ++i) many += std::string(i ? "," : "") + "QVW"[i / 26] + char('A' + i % 26);
    struct Case {
        const char* name;
        std::string source;
        const char* error; // "" for none
        const char* file = "P.SUB";
    } cases[] = {
        {"a second PARAM", "PARAM A AS INTEGER\r\nPARAM B\r\n", "2\x8d\x73 [10]"},
        {"a string default for a number", "PARAM A AS INTEGER = \"x\"\r\n", "1\x8d\x73 [13]"},
        {"an array with a default", "PARAM A() = 1\r\n", "1\x8d\x73 [02]"},
        {"PARAM inside a SUB", "DECLARE SUB S ()\r\nSUB S ()\r\nPARAM A\r\nEND SUB\r\n", "3\x8d\x73 [76]"},
        {"RETURNS without PARAM", "RETURNS 1\r\n", "1\x8d\x73 [76]"},
        {"65 parameters", many + "\r\n", "1\x8d\x73 [89]"},
        {"64 parameters", many.substr(0, many.size() - 3) + "\r\nRETURNS 0\r\n", ""},
        {"PARAM in a main module", "PARAM A\r\n", "1\x8d\x73 [76]", "P.BAS"},
        {"a CALLS of a block no DEF PARM built", "CALLS \"M\", *NOPE\r\n", "1\x8d\x73 [38]", "P.BAS"},
        {"a block built twice", "DEF PARM *B, A\r\nDEF PARM *B, A\r\n", "2\x8d\x73 [10]", "P.BAS"},
        {"a block name with a suffix", "DEF PARM *B%, A\r\n", "1\x8d\x73 [02]", "P.BAS"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::ofstream(dir / c.file, std::ios::binary) << c.source;
        std::string out;
        const int rc = RunProcess({TX_TXCL, "/nologo", "/Fo" + (dir / "P.obj").string(), (dir / c.file).string()},
                                  dir.string(), out);
        fs::remove(dir / c.file);
        if (*c.error) {
            EXPECT_NE(rc, 0);
            EXPECT_NE(out.find(c.error), std::string::npos) << out;
        } else {
            EXPECT_EQ(rc, 0) << out;
        }
    }
    fs::remove_all(dir);
}

} // namespace
