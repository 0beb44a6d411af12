// Small sources through basrun (txcl, the i686 linker, the emulator): each
// case either prints exactly its output or is refused with exactly its
// first error line. Sources and texts are UTF-8 here; txcl and the program
// see Shift-JIS.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "program_kit.h"
#include "tx_scratch.h"

namespace txcg::test {
namespace {

namespace fs = std::filesystem;

std::string Q(const std::string &s) { return "'" + s + "'"; }

fs::path Dir() {
    static const txtest::ScratchDir dir("txcg_source_cases");
    return dir.path();
}

struct Outcome {
    int status = -1;
    std::string out; // UTF-8
    std::string err; // UTF-8
};

// Writes NAME.BAS (lines joined with CR LF) and runs `basrun OPTIONS NAME.BAS`.
Outcome Basrun(const std::string &name, const std::string &text, const std::string &options = "") {
    const fs::path dir = Dir();
    std::string crlf;
    for (char c : text) {
        if (c == '\n')
            crlf += '\r';
        crlf += c;
    }
    std::ofstream(dir / (name + ".u8"), std::ios::binary) << crlf;
    const std::string cmd = "cd " + Q(dir.string()) + " && iconv -f UTF-8 -t CP932 " + Q(name + ".u8") + " > " +
                            Q(name + ".bas") + " && TXCL=" + Q(TX_TXCL_EXE) + " " + Q(Runner()) + " " + options +
                            " " + Q(name + ".bas") + " > " + Q(name + ".o") + " 2> " + Q(name + ".e");
    Outcome r;
    const int rc = std::system(cmd.c_str());
    r.status = WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
    for (auto [from, to] : {std::pair{".o", &r.out}, std::pair{".e", &r.err}}) {
        const std::string conv = "cd " + Q(dir.string()) + " && iconv -f CP932 -t UTF-8 " + Q(name + from) +
                                 " > " + Q(name + from + ".u8");
        if (std::system(conv.c_str()) != 0)
            *to = "(not Shift-JIS) ";
        *to += Slurp((dir / (name + from + ".u8")).string());
    }
    return r;
}

// The first statement error line txcl printed, from the line field on.
std::string FirstErrorLine(const std::string &err) {
    std::istringstream in(err);
    for (std::string line; std::getline(in, line);) {
        const size_t at = line.find(".bas ");
        if (at != std::string::npos && line.find("行 [") != std::string::npos)
            return line.substr(at + 4);
    }
    return "";
}

struct Case {
    const char *what;
    const char *source;
    // The output; the first error line when it starts with " *"; the start
    // of basrun's message of a run-time error.
    const char *expected;
};

void RunCases(const char *prefix, const Case *cases, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        const Case &c = cases[i];
        SCOPED_TRACE(c.what);
        const Outcome r = Basrun(prefix + std::to_string(i), c.source);
        const std::string want = c.expected;
        if (want.rfind("runtime error", 0) == 0) {
            EXPECT_EQ(r.status, 1) << r.err;
            EXPECT_NE(r.err.find(want), std::string::npos) << r.err;
        } else if (want.rfind(" *", 0) == 0) {
            EXPECT_EQ(r.status, 2) << r.out << r.err;
            EXPECT_EQ(FirstErrorLine(r.err), want) << r.err;
            EXPECT_EQ(r.err.find("システムに異常"), std::string::npos) << r.err;
        } else {
            EXPECT_EQ(r.status, 0) << r.err;
            EXPECT_EQ(r.out, want) << r.err;
        }
    }
}

#define REQUIRE_RUNNER()                                                                           \
    if (!CanRun())                                                                                 \
    GTEST_SKIP() << "no runtime library or runner in this build"

// Blocks closed, continued or opened inside a one-line IF refer to a block
// of another line: each is its own error line, never an internal error.
TEST(SourceCases, BlockMisplacementsAreErrorLines) {
    REQUIRE_RUNNER();
    const Case cases[] = {
        {"NEXT in a one-line IF, twice",
         "FOR Z=3 TO 5\nIF Z<>4 THEN PRINT Z;: NEXT Z\nFOR I=1 TO 2\nFOR Z=3 TO 5\n"
         "IF Z<>4 THEN PRINT Z;: NEXT Z\nNEXT I\n",
         " ****2行 [39] 制御ブロックの構成に誤りがあります"},
        {"WEND", "K = 0\nWHILE K < 2: K = K + 1: IF K THEN WEND\n",
         " ****2行 [39] 制御ブロックの構成に誤りがあります"},
        {"LOOP", "DO\nIF K = 0 THEN LOOP\n", " ****2行 [39] 制御ブロックの構成に誤りがあります"},
        {"END IF", "IF K = 1 THEN\nIF K THEN END IF\n", " ****2行 [39] 制御ブロックの構成に誤りがあります"},
        {"ELSEIF of a block IF", "IF K = 1 THEN\nIF K THEN ELSEIF K = 2 THEN\nEND IF\n",
         " ****2行 [39] 制御ブロックの構成に誤りがあります"},
        {"CASE", "SELECT CASE K\nCASE 1\nIF K THEN CASE 2\nEND SELECT\n",
         " ****3行 [39] 制御ブロックの構成に誤りがあります"},
        {"END SELECT", "SELECT CASE K\nCASE 1\nIF K THEN END SELECT\n",
         " ****3行 [39] 制御ブロックの構成に誤りがあります"},
        {"a block IF opened", "IF K = 0 THEN IF K = 0 THEN\nEND IF\n",
         " ****1行 [39] 制御ブロックの構成に誤りがあります"},
        {"a DO opened", "IF K = 0 THEN DO\nLOOP\n", " ****1行 [39] 制御ブロックの構成に誤りがあります"},
        {"a SELECT opened", "IF K = 0 THEN SELECT CASE K\nEND SELECT\n",
         " ****1行 [39] 制御ブロックの構成に誤りがあります"},
        {"a FOR opened", "IF K = 0 THEN FOR I = 1 TO 2\nNEXT\n",
         " ****1行 [23] 反復(FOR)文と繰り返し(NEXT)文の対応が正しくありません"},
        {"END SUB", "DECLARE SUB S()\nSUB S\nIF K THEN END SUB\nEND SUB\n",
         " ****3行 [39] 制御ブロックの構成に誤りがあります"},
        {"blocks that open and close on the line",
         "K = 1\nIF K THEN FOR I = 1 TO 2: PRINT I;: NEXT: WHILE K < 3: K = K + 1: WEND: PRINT K\n"
         "IF K THEN DO: K = K - 1: LOOP UNTIL K = 0: SELECT CASE K: CASE 0: PRINT \"z\": END SELECT\n"
         "IF K = 0 THEN IF K = 0 THEN: PRINT \"y\": END IF\n",
         " 1  2  3 \nz\ny\n"},
    };
    RunCases("B", cases, std::size(cases));
}

// Arrays used without DIM: one subscript or more, each up to 10; inside a
// procedure the array keeps its values across calls. A later DIM with
// bounds that are no constants takes such an array over; constant bounds
// or another count of subscripts are refused.
TEST(SourceCases, ArraysDimensionedByTheirUse) {
    REQUIRE_RUNNER();
    const Case cases[] = {
        {"numbers and strings",
         "FOR I = 0 TO 10: A(I) = I * 2: N$(I) = STR$(I): NEXT\nPRINT A(10); N$(3); A(0)\n"
         "B%(2, 3) = 7: PRINT B%(2, 3); B%(10, 10)\n",
         " 20  3 0 \n 7  0 \n"},
        {"beyond the default bound", "A(11) = 1\n", "runtime error 9 "},
        {"in a procedure", "DECLARE SUB S()\nCALL S: CALL S\nEND\nSUB S\nC#(1) = C#(1) + 1.5: PRINT C#(1)\nEND SUB\n",
         " 1.5 \n 3 \n"},
        {"taken over by DIM", "GOSUB *INIT\nA(15) = 2: PRINT A(15)\nEND\n*INIT\nN = 20: DIM A(N)\nRETURN\n", " 2 \n"},
        {"DIM with constant bounds", "A%(1) = 1\nDIM A%(5)\n", " ****2行 [10] 重複定義を行おうとしました"},
        {"DIM of another count", "A%(1) = 1\nN = 3: DIM A%(N, N)\n",
         " ****2行 [09] 配列の添字の値が許される値を超えています"},
        {"another count of subscripts", "A%(1) = 1\nA%(1, 2) = 1\n",
         " ****2行 [09] 配列の添字の値が許される値を超えています"},
    };
    RunCases("A", cases, std::size(cases));
}

// COMMON arrays are described apart from the module's: ERASE, GET@ and PUT@
// reach them. Their bounds are constants: a DIM of one declares it again.
TEST(SourceCases, CommonArraysInStatementsThatTakeTheArray) {
    REQUIRE_RUNNER();
    const Case cases[] = {
        {"ERASE", "COMMON A%(10)\nA%(3) = 4: PRINT A%(3)\nERASE A%\nPRINT A%(3)\n", " 4 \n 0 \n"},
        {"COMMON SHARED in a procedure",
         "DECLARE SUB S()\nCOMMON SHARED B$(4)\nB$(4) = \"x\": CALL S: PRINT \"[\"; B$(4); \"]\"\nEND\n"
         "SUB S\nPRINT B$(4);: ERASE B$\nEND SUB\n",
         "x[]\n"},
        {"DIM with bounds that are no constants", "COMMON A%(10)\nN = 20: DIM A%(N)\n",
         " ****2行 [10] 重複定義を行おうとしました"},
        {"GET@ and PUT@", "COMMON G%(20)\nPSET (1, 1), , 3\nGET@ (0, 0)-(3, 3), G%\nPUT@ (10, 10), G%\n"
                          "PRINT POINT(11, 11); G%(0)\n",
         " 3  4 \n"},
    };
    RunCases("C", cases, std::size(cases));
}

// BYVAL before an argument passes a copy; a record that holds an OBJECT,
// itself or in a member's type, is not assigned whole.
TEST(SourceCases, ByValArgumentsAndRecordAssignment) {
    REQUIRE_RUNNER();
    const Case cases[] = {
        {"BYVAL", "DECLARE SUB S(A AS LONG)\nX& = 5\nCALL S(BYVAL X&): PRINT X&\nS BYVAL X&: PRINT X&\n"
                  "CALL S(X&): PRINT X&\nEND\nSUB S(A AS LONG)\nA = A + 1\nEND SUB\n",
         " 5 \n 5 \n 6 \n"},
        {"a plain record", "TYPE P\nX AS INTEGER\nEND TYPE\nDIM A AS P, B AS P\nB.X = 3: A = B: PRINT A.X\n", " 3 \n"},
        {"a record holding an OBJECT",
         "TYPE IN\nO AS OBJECT\nEND TYPE\nTYPE HO\nN AS INTEGER\nI AS IN\nEND TYPE\nDIM A AS HO, B AS HO\n"
         "A = B\n",
         " ****9行 [13] 変数または式の型が合っていません"},
        {"its member record", "TYPE IN\nO AS OBJECT\nEND TYPE\nTYPE HO\nI AS IN\nEND TYPE\nDIM A AS HO, B AS HO\n"
                              "A.I = B.I\n",
         " ****8行 [13] 変数または式の型が合っていません"},
    };
    RunCases("V", cases, std::size(cases));
}

// A label as a value is its offset in the name table (each entry 10 bytes
// and the name), the right operand of an operator and nothing else.
TEST(SourceCases, LabelsAsValues) {
    REQUIRE_RUNNER();
    const Case cases[] = {
        {"one label", "X& = 0 + *A: PRINT X&\nEND\n*A\n", " 0 \n"},
        {"two labels", "PRINT 0 + *A + *B\nEND\n*A\n*B\n", " 11 \n"},
        {"standing alone", "PRINT *A\nEND\n*A\n", " ****1行 [02] 文法が正しくありません"},
        {"the left operand", "PRINT *A + 0\nEND\n*A\n", " ****1行 [02] 文法が正しくありません"},
        {"never defined", "PRINT 1 + *NOWHERE\n", " ****1行 [29] 定義されていないシンボル名が参照されました"},
    };
    RunCases("L", cases, std::size(cases));
}

// Control bytes typed into a string constant stay in it.
TEST(SourceCases, ControlBytesInStringConstants) {
    REQUIRE_RUNNER();
    const Case cases[] = {
        {"BEL and ESC", "S$ = \"STRIKE\a!\x1b\"\nPRINT LEN(S$); ASC(MID$(S$, 7, 1)); ASC(RIGHT$(S$, 1))\n",
         " 9  7  27 \n"},
        {"outside a string", "PRINT 1\a\n", " ****1行 [02] 文法が正しくありません"},
    };
    RunCases("S", cases, std::size(cases));
}

// A watch on a member of a local record inside a SUB reads the record.
TEST(SourceCases, WatchOfALocalRecordMember) {
    REQUIRE_RUNNER();
    const fs::path dir = Dir();
    std::ofstream(dir / "rec.dbg") << "break W.bas 12\ngo\nwatch R.X\nwatch R.Y\nwatch N\ngo\n";
    const Outcome r = Basrun("W",
                         "TYPE PT\nX AS INTEGER\nY AS LONG\nEND TYPE\nDECLARE SUB S(N AS INTEGER)\nCALL S(7)\n"
                         "END\nSUB S(N AS INTEGER)\nDIM R AS PT\nR.X = N\nR.Y = 70000\nPRINT R.X\nEND SUB\n",
                         "--debug rec.dbg");
    EXPECT_NE(r.out.find("R.X = 7 [INT]\nR.Y = 70000 [LNG]\nN = 7 [INT]\n"), std::string::npos) << r.out << r.err;
}

} // namespace
} // namespace txcg::test
