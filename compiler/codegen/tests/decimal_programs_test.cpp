// Decimals (DEF BCD) and strings of a run-time length (DEF LEN) through the
// whole chain: txcl, the i686 linker, basrun. Exact output of a program,
// the run-time errors of the decimal routines, the routines' arguments in
// basrun's call trace, and the analyzer's refusals.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <sys/wait.h>

#include "tx_scratch.h"

namespace {

namespace fs = std::filesystem;

std::string Q(const std::string &s) { return "'" + s + "'"; }

std::string Slurp(const fs::path &path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

fs::path Dir() {
    static const txtest::ScratchDir dir("txcg_decimal");
    return dir.path();
}

struct Outcome {
    bool built = false;
    int status = -1;
    std::string out;      // UTF-8
    std::string compiler; // txcl's lines, UTF-8
    std::string err;
    std::vector<std::string> trace;
};

// Compiles the UTF-8 text as NAME.BAS (Shift-JIS, CR LF), links and runs it.
Outcome RunBasic(const std::string &name, const std::string &text, bool trace = false,
                 const std::string &input = "") {
    Outcome r;
    const fs::path dir = Dir();
    std::ofstream(dir / (name + ".u8"), std::ios::binary) << text;
    std::ofstream(dir / (name + ".in"), std::ios::binary) << input;
    const std::string cmd = "cd " + Q(dir.string()) + " && iconv -f UTF-8 -t CP932 " + Q(name + ".u8") +
                            " | sed 's/$/\\r/' > " + Q(name + ".BAS") + " && " + Q(TX_TXCL_EXE) + " /nologo " +
                            Q(name + ".BAS") + " > " + Q(name + ".log") + " 2>&1";
    const int compiled = std::system(cmd.c_str());
    std::system(("cd " + Q(dir.string()) + " && iconv -f CP932 -t UTF-8 " + Q(name + ".log") + " > " +
                 Q(name + ".log8"))
                    .c_str());
    r.compiler = Slurp(dir / (name + ".log8"));
    if (compiled != 0)
        return r;
    const std::string link = "cd " + Q(dir.string()) + " && " + Q(TX_I686_LD_EXE) +
                             " --no-leading-underscore -nostdlib -e '$PbStartup' -o " + Q(name + ".exe") + " " +
                             Q(name + ".obj") + " " + Q(TX_TXRT_LIB) + " > " + Q(name + ".err") + " 2>&1";
    if (std::system(link.c_str()) != 0) {
        r.err = Slurp(dir / (name + ".err"));
        return r;
    }
    r.built = true;
    const std::string run = "cd " + Q(dir.string()) + " && " + Q(TX_BASRUN_EXE) +
                            (trace ? " --trace " + Q(name + ".trace") : "") + " " + Q(name + ".exe") +
                            " < " + Q(name + ".in") + " > " + Q(name + ".sjis") + " 2> " + Q(name + ".err") +
                            "; rc=$?; iconv -f CP932 -t UTF-8 " + Q(name + ".sjis") + " > " + Q(name + ".out") +
                            "; exit $rc";
    const int rc = std::system(run.c_str());
    r.status = WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
    r.out = Slurp(dir / (name + ".out"));
    r.err = Slurp(dir / (name + ".err"));
    std::istringstream in(Slurp(dir / (name + ".trace")));
    for (std::string line; std::getline(in, line);)
        if (line.rfind("_$PbSetCurLine", 0) != 0 && line.rfind("$PbCheck", 0) != 0 && line.rfind("_$PbSetMcb", 0) != 0)
            r.trace.push_back(line);
    return r;
}

std::vector<std::string> Words(const std::string &line) {
    std::istringstream in(line);
    std::vector<std::string> w;
    for (std::string s; in >> s;)
        w.push_back(s);
    return w;
}

// Exactness (0.1 ten times is 1 where a double is not), every operator with
// its operands in order, rounding to 22 digits, comparison by value, the
// conversions to and from strings and numbers, READ, WRITE and SWAP,
// arrays (bounds constant and given at run time), DEF LEN's cut and
// padding, PRINT USING, a procedure's own decimals.
TEST(DecimalPrograms, ExactArithmeticConversionsArraysAndLengths) {
    const std::string dir = TX_DECIMAL_DIR;
    const Outcome r = RunBasic("decimal", Slurp(dir + "/decimal.bas"));
    ASSERT_TRUE(r.built) << r.compiler << r.err;
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, Slurp(dir + "/decimal.out"));
}

// The decimal routines' run-time errors reach ON ERROR; text that is no
// number is a type mismatch; a result below the smallest decimal is 0.
TEST(DecimalPrograms, RunTimeErrorsAreTrapped) {
    const Outcome r = RunBasic("decerr", "DEF BCD A$\n"
                                    "ON ERROR GOTO *TRAP\n"
                                    "A$ = \"1\" / \"0\": PRINT \"div\"\n"
                                    "A$ = \"5\" MOD \"0\": PRINT \"mod\"\n"
                                    "A$ = \"12x\" + \"1\": PRINT \"text\"\n"
                                    "A$ = \"-\": PRINT \"sign\"\n"
                                    "A$ = \"1E100\" * \"1E100\": PRINT \"big\"\n"
                                    "A$ = \"1E-100\" * \"1E-100\": PRINT \"small\"; A$\n"
                                    "A$ = \"2\" ^ \".5\": PRINT \"root\"\n"
                                    "DEF LEN (0) F$: PRINT \"len\"\n"
                                    "A$ = \"\": PRINT \"empty\"; A$\n"
                                    "A$ = \" -1.5e2 \": PRINT A$\n"
                                    "B% = (A$ = \"x\"): PRINT \"cmp\"\n"
                                    "END\n"
                                    "*TRAP\n"
                                    "PRINT ERR;\n"
                                    "RESUME NEXT\n");
    ASSERT_TRUE(r.built) << r.compiler << r.err;
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, " 11 div\n 11 mod\n 13 text\n 13 sign\n 6 big\nsmall 0 \n 5 root\n 5 len\nempty 0 \n"
                     "-150 \n 13 cmp\n");
}

// SELECT CASE on a decimal compares by value, as IF does: equality, IS and
// ranges; on a DEF LEN string the cases stay text, padding and all.
TEST(DecimalPrograms, SelectCaseComparesByValue) {
    const Outcome r = RunBasic("decselect", "DEF BCD A$\n"
                                       "DEF LEN (3) F$\n"
                                       "FOR I% = 1 TO 7\n"
                                       "  READ A$\n"
                                       "  SELECT CASE A$\n"
                                       "  CASE \"1.50\": PRINT A$; \"is 1.50\"\n"
                                       "  CASE \"2\" TO \"10\": PRINT A$; \"from 2 to 10\"\n"
                                       "  CASE IS < \"-2\": PRINT A$; \"below -2\"\n"
                                       "  CASE IS < \"0\": PRINT A$; \"below 0\"\n"
                                       "  CASE ELSE: PRINT A$; \"else\"\n"
                                       "  END SELECT\n"
                                       "NEXT\n"
                                       "F$ = \"ab\"\n"
                                       "SELECT CASE F$\n"
                                       "CASE \"ab\": PRINT \"[ab]\"\n"
                                       "CASE \"ab \": PRINT \"[ab ]\"\n"
                                       "END SELECT\n"
                                       "DATA 1.5, 9, 10.0, -10, -1.5, 100, 2.000\n");
    ASSERT_TRUE(r.built) << r.compiler << r.err;
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, " 1.5 is 1.50\n 9 from 2 to 10\n 10 from 2 to 10\n-10 below -2\n-1.5 below 0\n"
                     " 100 else\n 2 from 2 to 10\n[ab ]\n");
}

// PRINT USING and FORMAT$ of a decimal from its own digits, all 22 of
// them: rounding half away from zero where a double's 2.675 is below it,
// commas, E notation, a carry that widens the number, places past the
// digits, zero.
TEST(DecimalPrograms, PrintUsingShowsEveryDigit) {
    const Outcome r = RunBasic("decusing", "DEF BCD A$, B$\n"
                                      "A$ = \"12345678901234567890.25\"\n"
                                      "PRINT USING \"#####################.##\"; A$\n"
                                      "A$ = \"-2.675\": B$ = \"2.675\"\n"
                                      "PRINT USING \"##.## ##.##\"; A$; B$\n"
                                      "A$ = \"1234567890123.45\"\n"
                                      "PRINT USING \"###,###,###,###,###.#\"; A$\n"
                                      "A$ = \"123456789012345678901.5\"\n"
                                      "PRINT USING \"+#.#####################^^^^ ##.###^^^^^\"; A$; A$\n"
                                      "A$ = \"9.999\": PRINT USING \"#.##\"; A$\n"
                                      "A$ = \".005\": B$ = \".004\": PRINT USING \".## .##\"; A$; B$\n"
                                      "A$ = \"1E-21\": PRINT USING \"#.#########################\"; A$\n"
                                      "A$ = \"1.0005\": PRINT FORMAT$(A$, \"#.###\"); \" \"; FORMAT$(A$, \"**$##.#\")\n"
                                      "A$ = \"0\": PRINT USING \"#.## ##.#^^^^\"; A$; A$\n"
                                      "A$ = \"-1234.5\": PRINT USING \"###,###.##- $$####.# &\"; A$; A$; A$\n");
    ASSERT_TRUE(r.built) << r.compiler << r.err;
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, " 12345678901234567890.25\n"
                     "-2.68  2.68\n"
                     "  1,234,567,890,123.5\n"
                     "+1.234567890123456789015E+20  1.235E+020\n"
                     "%10.00\n"
                     ".01 .00\n"
                     "0.0000000000000000000010000\n"
                     "1.001 ***$1.0\n"
                     "0.00  0.0E+00\n"
                     "  1,234.50- -$1234.5 -1234.5\n");
}

// INPUT into a decimal asks again for an answer that is no number, as for
// a numeric variable; READ and INPUT store the number, not the text.
TEST(DecimalPrograms, InputAsksAgainForAnAnswerThatIsNoNumber) {
    const Outcome r = RunBasic("decinput", "DEF BCD A$, B$\nINPUT A$, B$\nB$ = A$ + B$\nPRINT B$\n", false,
                               "abc, 1\n1.5.2, 1\n-.75e1, 0.25\n");
    ASSERT_TRUE(r.built) << r.compiler << r.err;
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "? abc, 1\n?Redo from start\n? 1.5.2, 1\n?Redo from start\n? -.75e1, 0.25\n-7.25 \n");
}

// The routines with their stack words: DEF BCD and DEF LEN take the
// variable's address (DEF LEN its length after it), the array forms the
// dimensioning block and, for DEF LEN, the type word; the decimal store's
// operands go onto the string stack left to right, each operator after its
// operands, and the store takes the target's address last.
TEST(DecimalPrograms, CallTracesGiveTheArgumentOrder) {
    const Outcome r = RunBasic("dectrace",
                          "DEF BCD A$, B$(2, 3)\n"
                          "DEF LEN (7) F$, G$(4)\n"
                          "B$(1, 2) = \"10\": A$ = \"2\"\n"
                          "A$ = B$(1, 2) - \"1.5\" * A$\n"
                          "F$ = \"abc\"\n"
                          "PRINT A$; STR$(A$)\n",
                          true);
    ASSERT_TRUE(r.built) << r.compiler << r.err;
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, " 7  7\n");
    std::vector<std::vector<std::string>> calls;
    for (const auto &line : r.trace)
        calls.push_back(Words(line));
    // The routines of interest, in order (element addresses left out).
    std::vector<std::vector<std::string>> got;
    for (const auto &c : calls)
        if (c[0].find("AryVarAdr") == std::string::npos && c[0].find("PRINT") == std::string::npos)
            got.push_back(c);
    const std::vector<std::string> names = {
        "_$PsDEF_BCD@4",  "_$PsDEF_BCD_ARY@4", "_$PsDEF_LEN@8", "_$PsDEF_LEN_ARY@8", "_$PbFldConst@4",
        "_$PbStVarBcd@4", "_$PbFldConst@4",    "_$PbStVarBcd@4", "_$PbFldVar5@4",   "_$PbFldConst@4",
        "_$PbFldVar5@4",  "_$PbBcdMul@0",      "_$PbBcdSub@0",  "_$PbStVarBcd@4",   "_$PbFldConst@4",   "_$PbStVar5@4",
        "_$PbFldVar5@4",  "_$PbFldVar5@4",     "_$PfSTR24Bcd@0"};
    ASSERT_EQ(got.size(), names.size()) << ::testing::PrintToString(r.trace);
    for (size_t i = 0; i < names.size(); ++i)
        EXPECT_EQ(got[i][0], names[i]) << i;
    const std::string a = got[0][1];
    EXPECT_EQ(got[2].size(), 3u);
    EXPECT_EQ(got[2][2], "7");                             // DEF LEN: address, then the length
    EXPECT_EQ(got[3][2], std::to_string(19 + 256 * 1));    // type 19, one bound
    EXPECT_EQ(got[1][1], got[3][1]);                        // the block on the stack
    EXPECT_EQ(got[7][1], a);                                // A$ = "2"
    EXPECT_EQ(got[10][1], a);                               // A$ is the right operand of *
    EXPECT_EQ(got[13][1], a);                               // the store last, into A$
    EXPECT_EQ(got[15][1], got[2][1]);                       // F$ = "abc" into DEF LEN's variable
    EXPECT_EQ(got[16][1], a);
}

// What the analyzer refuses, with the error number of its line.
TEST(DecimalPrograms, AnalyzerRefusesMismatches) {
    struct Case {
        const char *source;
        const char *error;
    } const cases[] = {
        {"DEF BCD X%", "[13]"},                      // not a string name
        {"A$ = \"1\": DEF BCD A$", "[10]"},          // already a string with its storage
        {"DEF BCD A$: DEF LEN (3) A$", "[10]"},      // already a decimal
        {"DEF BCD A$: A$ = 1", "[13]"},              // a number into a decimal
        {"DEF BCD A$: X = A$", "[13]"},              // a decimal into a number
        {"DEF BCD A$: A$ = \"1\" = \"2\"", "[13]"},  // a comparison is no decimal
        {"DEF LEN (2) F$: S$ = STR$(F$)", "[13]"},     // STR$ of a string
        {"DEF LEN A$", "[02]"},                      // the length is required
        {"DEF BCD A$(2): DEF BCD A$(3, 3)", "[10]"},  // another shape
    };
    int n = 0;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.source);
        const Outcome r = RunBasic("decbad" + std::to_string(++n), std::string(c.source) + "\n");
        EXPECT_FALSE(r.built);
        EXPECT_NE(r.compiler.find(c.error), std::string::npos) << r.compiler;
    }
}

} // namespace
