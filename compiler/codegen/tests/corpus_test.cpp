// BASIC sources of each statement group through the whole chain: txcl
// (preprocessor, analyzer, code generator), the i686 linker against the
// runtime subset, and the emulator runner. The output must equal the
// checked .out file beside the source.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "program_kit.h"
#include "tx_scratch.h"

namespace txcg::test {
namespace {

struct CorpusCase {
    const char *source;   // in tests/corpus
    const char *options;  // for txcl
    const char *expected; // .out file
    const char *module = nullptr; // a second module (.sub), linked too
};

std::string Q(const std::string &s) { return "'" + s + "'"; }

class Corpus : public ::testing::TestWithParam<CorpusCase> {};

TEST_P(Corpus, PrintsExactly) {
    const CorpusCase &c = GetParam();
    const txtest::ScratchDir scratch("txcg_corpus", c.expected);
    const std::filesystem::path &dir = scratch.path();
    const std::filesystem::path src = std::filesystem::path(TX_CORPUS_DIR) / c.source;
    std::filesystem::copy_file(src, dir / c.source);
    const std::string base = std::filesystem::path(c.source).stem().string();
    const std::string exe = (dir / (base + ".exe")).string();
    const std::string log = (dir / "log.txt").string();
    const std::string out = (dir / "out.txt").string();

    std::string objects;
    for (const char *file : {c.source, c.module}) {
        if (!file)
            continue;
        if (file != c.source)
            std::filesystem::copy_file(std::filesystem::path(TX_CORPUS_DIR) / file, dir / file);
        const std::string o =
            (dir / (std::filesystem::path(file).stem().string() + ".obj")).string();
        std::string txcl = "cd " + Q(dir.string()) + " && " + Q(TX_TXCL_EXE) + " " + c.options +
                           " /Fo" + Q(o) + " " + file + " >" + Q(log) + " 2>&1";
        ASSERT_EQ(std::system(txcl.c_str()), 0) << Slurp(log);
        objects += " " + Q(o);
    }
    std::string link = Q(Linker()) + " --no-leading-underscore -nostdlib -e '$PbStartup' -o " + Q(exe) +
                       objects + " " + Q(RuntimeLib()) + " >" + Q(log) + " 2>&1";
    ASSERT_EQ(std::system(link.c_str()), 0) << Slurp(log);
    std::string run = Q(Runner()) + " --dir " + Q(dir.string()) + " " + Q(exe) + " >" + Q(out) + " 2>" + Q(log);
    const int rc = std::system(run.c_str());
    EXPECT_TRUE(WIFEXITED(rc) && WEXITSTATUS(rc) == 0) << Slurp(log);
    const std::string expected =
        Slurp((std::filesystem::path(TX_CORPUS_DIR) / (std::string(c.expected) + ".out")).string());
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(Slurp(out), expected) << Slurp(log);
}

const CorpusCase kCases[] = {
    {"assign.bas", "", "assign"},
    {"operators.bas", "", "operators"},
    {"strings.bas", "", "strings"},
    {"numfuncs.bas", "", "numfuncs"},
    {"ifelse.bas", "", "ifelse"},
    {"for.bas", "/CFF", "for"},
    {"for.bas", "/CFI", "for_iso"},
    {"loops.bas", "", "loops"},
    {"select.bas", "", "select"},
    {"gosub.bas", "", "gosub"},
    {"function.bas", "", "function"},
    {"subs.bas", "", "subs"},
    {"data.bas", "", "data"},
    {"arrays.bas", "", "arrays"},
    {"records.bas", "", "records"},
    {"swapmid.bas", "", "swapmid"},
    {"flow.bas", "", "flow"},
    {"arrayparams.bas", "", "arrayparams"},
    {"deffn.bas", "", "deffn"},
    {"declare.bas", "", "declare"},
    {"edecl.bas", "", "edecl"},
    {"objects.bas", "", "objects"},
    {"memberarrays.bas", "", "memberarrays"},
    {"typed.bas", "", "typed"},
    {"locals.bas", "", "locals"},
    {"statics.bas", "", "statics"},
    // Without overflow, interrupt and message checks the code takes its
    // inline integer forms; the output is the same.
    {"operators.bas", "/COd /CId /CLd", "operators"},
    {"for.bas", "/COd /CId /CLd", "for"},
    {"arrays.bas", "/COd /CId /CLd", "arrays"},
    {"function.bas", "/COd /CId /CLd", "function"},
    {"memberarrays.bas", "/COd /CId /CLd", "memberarrays"},
    {"arrayparams.bas", "/COd /CId /CLd", "arrayparams"},
    // Debug builds: line numbers and the debugger entry routines linked in.
    {"function.bas", "/Zi", "function"},
    {"gosub.bas", "/Zi", "gosub"},
    // A procedure module beside the main module.
    {"modules.bas", "", "modules", "modules2.sub"},
    // Files written and read back in every mode, and trapped errors.
    {"files.bas", "", "files"},
    {"fileio_records.bas", "", "fileio_records"},
    {"errtrap.bas", "", "errtrap"},
    {"filenames.bas", "", "filenames"},
    {"locks.bas", "", "locks"},
};

// A run-time error nobody traps ends the program: basrun reports its number
// and line and fails; what the program wrote to its files before stays.
struct FatalCase {
    const char *name;
    const char *source;
    const char *expected;     // standard output
    const char *report;       // in basrun's error line
    const char *file;         // a file the program wrote, or null
    const char *fileContents; // its bytes
};

const FatalCase kFatalCases[] = {
    {"bad_mode", "OPEN \"KEPT.TXT\" FOR OUTPUT AS #1\nPRINT #1, \"written\"\nPRINT \"start\"\nGET #1, 1\nPRINT \"no\"\n",
     "start\n", "runtime error 54 (bad file mode) in T.BAS line 4", "KEPT.TXT", "written\r\n"},
    {"not_open", "WRITE #3, 1\n", "", "runtime error 52 (bad file number) in T.BAS line 1", nullptr, nullptr},
    {"past_end",
     "OPEN \"E.TXT\" FOR OUTPUT AS #1\nCLOSE\nOPEN \"E.TXT\" FOR INPUT AS #1\nLINE INPUT #1, A$\n", "",
     "runtime error 62 (input past end of file) in T.BAS line 4", nullptr, nullptr},
    {"resume_without_error", "PRINT \"a\"\nRESUME NEXT\n", "a\n", "runtime error 20 (RESUME without error) in T.BAS line 2",
     nullptr, nullptr},
    // A name that would leave the program's folder is refused.
    {"outside_folder", "OPEN \"../OUT.TXT\" FOR OUTPUT AS #1\n", "", "runtime error 64 (bad file name) in T.BAS line 1",
     nullptr, nullptr},
    {"handler_error",
     "ON ERROR GOTO *H\nERROR 5\nEND\n*H\nPRINT \"in handler\"; ERR\nERROR 7\n", "in handler 5 \n",
     "runtime error 7 (out of memory) in T.BAS line 6", nullptr, nullptr},
    // The program runs off its end inside the handler: it never resumed.
    {"no_resume", "ON ERROR GOTO *H\nERROR 5\n*H\nPRINT \"in handler\"; ERR\n", "in handler 5 \n",
     "runtime error 19 (no RESUME) in T.BAS line 4", nullptr, nullptr},
    // ON ERROR GOTO 0 in the handler gives the error up.
    {"handler_gives_up", "ON ERROR GOTO *H\nERROR 9\nEND\n*H\nON ERROR GOTO 0\n", "",
     "runtime error 9 (subscript out of range) in T.BAS line 5", nullptr, nullptr},
    // A handler set inside a procedure ends with it: a later error in
    // another procedure is not sent into the ended one's frame.
    {"handler_of_ended_sub",
     "DECLARE SUB T ()\nDECLARE SUB U ()\nCALL T\nCALL U\nSUB T\nON ERROR GOTO *H\nERROR 11\nEXIT SUB\n*H\n"
     "PRINT \"in T\"; ERR\nRESUME NEXT\nEND SUB\nSUB U\nERROR 6\nEND SUB\n",
     "in T 11 \n", "runtime error 6 (overflow) in T.BAS line 14", nullptr, nullptr},
};

class Fatal : public ::testing::TestWithParam<FatalCase> {};

TEST_P(Fatal, EndsWithItsNumberAndLine) {
    const FatalCase &c = GetParam();
    const txtest::ScratchDir scratch("txcg_fatal", c.name);
    const std::filesystem::path &dir = scratch.path();
    {
        std::ofstream(dir / "T.BAS", std::ios::binary) << c.source;
    }
    const std::string obj = (dir / "T.obj").string(), exe = (dir / "T.exe").string();
    const std::string log = (dir / "log.txt").string(), out = (dir / "out.txt").string();
    std::string txcl = "cd " + Q(dir.string()) + " && " + Q(TX_TXCL_EXE) + " /Fo" + Q(obj) + " T.BAS >" + Q(log) + " 2>&1";
    ASSERT_EQ(std::system(txcl.c_str()), 0) << Slurp(log);
    std::string link = Q(Linker()) + " --no-leading-underscore -nostdlib -e '$PbStartup' -o " + Q(exe) + " " + Q(obj) +
                       " " + Q(RuntimeLib()) + " >" + Q(log) + " 2>&1";
    ASSERT_EQ(std::system(link.c_str()), 0) << Slurp(log);
    std::string run = Q(Runner()) + " --dir " + Q(dir.string()) + " " + Q(exe) + " >" + Q(out) + " 2>" + Q(log);
    const int rc = std::system(run.c_str());
    EXPECT_TRUE(WIFEXITED(rc) && WEXITSTATUS(rc) == 1) << Slurp(log);
    EXPECT_EQ(Slurp(out), c.expected);
    EXPECT_NE(Slurp(log).find(c.report), std::string::npos) << Slurp(log);
    if (c.file) {
        EXPECT_EQ(Slurp((dir / c.file).string()), c.fileContents);
    }
    EXPECT_FALSE(std::filesystem::exists(dir.parent_path() / "OUT.TXT"));
}

INSTANTIATE_TEST_SUITE_P(Files, Fatal, ::testing::ValuesIn(kFatalCases),
                         [](const ::testing::TestParamInfo<FatalCase> &info) { return std::string(info.param.name); });
// Sources with include files, compiled in one scratch folder: the new
// project's text with the runtime's windows.bi, and an included file whose
// error lines carry its own name and line.
struct IncludeRun {
    int status = -1;
    std::string log, output;
};

IncludeRun CompileWithIncludes(const std::filesystem::path &dir, const std::string &options) {
    IncludeRun r;
    const std::string log = (dir / "log.txt").string(), out = (dir / "out.txt").string();
    std::string txcl = "cd " + Q(dir.string()) + " && " + Q(TX_TXCL_EXE) + " /nologo " + options +
                       " t.bas >" + Q(log) + " 2>&1";
    r.status = std::system(txcl.c_str());
    r.log = Slurp(log);
    if (r.status != 0)
        return r;
    std::string link = Q(Linker()) + " --no-leading-underscore -nostdlib -e '$PbStartup' -o " +
                       Q((dir / "t.exe").string()) + " " + Q((dir / "t.obj").string()) + " " +
                       Q(RuntimeLib()) + " >" + Q(log) + " 2>&1";
    r.status = std::system(link.c_str());
    if (r.status != 0) {
        r.log = Slurp(log);
        return r;
    }
    std::string run = Q(Runner()) + " " + Q((dir / "t.exe").string()) + " >" + Q(out) + " 2>" + Q(log);
    r.status = std::system(run.c_str());
    r.output = Slurp(out);
    r.log = Slurp(log);
    return r;
}

void WriteText(const std::filesystem::path &p, const std::string &text) {
    std::FILE *f = std::fopen(p.string().c_str(), "wb");
    ASSERT_TRUE(f);
    std::fwrite(text.data(), 1, text.size(), f);
    std::fclose(f);
}

TEST(Includes, NewProjectTextCompilesWithWindowsBi) {
    const txtest::ScratchDir scratch("txcg_include", "newproject");
    WriteText(scratch.path() / "t.bas",
              "#include \"windows.bi\"\r\n'\r\nwhile 1\r\n\twaitevent\r\nwend\r\nstop\r\nend\r\n");
    const IncludeRun r = CompileWithIncludes(scratch.path(), "/I" + Q(TX_RUNTIME_INCLUDE));
    EXPECT_EQ(r.status, 0) << r.log;
    EXPECT_EQ(r.output, "");
}

TEST(Includes, ErrorLinesNameTheIncludedFile) {
    const txtest::ScratchDir scratch("txcg_include", "errors");
    std::filesystem::create_directories(scratch.path() / "sub");
    WriteText(scratch.path() / "sub" / "defs.bi", "DECLARE SUB HELLO (N%)\r\nB = )\r\n");
    WriteText(scratch.path() / "t.bas", "PRINT 1\r\n#include \"defs.bi\"\r\nC = (\r\n");
    const IncludeRun r = CompileWithIncludes(scratch.path(), "/Isub");
    EXPECT_NE(r.status, 0);
    // "name ****n<line> [02] ..." in code page 932: the name and line part.
    EXPECT_EQ(r.log.rfind("defs.bi ****2", 0), 0u) << r.log;
    EXPECT_NE(r.log.find("\nt.bas ****3"), std::string::npos) << r.log;
}

TEST(Includes, IncludedDeclarationsAndMainLines) {
    const txtest::ScratchDir scratch("txcg_include", "program");
    std::filesystem::create_directories(scratch.path() / "sub");
    WriteText(scratch.path() / "sub" / "defs.bi", "DECLARE SUB HELLO (N%)\r\nK% = 5\r\n");
    WriteText(scratch.path() / "t.bas", "#include \"defs.bi\"\r\nPRINT \"main\"; K%\r\nHELLO 2\r\n"
                                        "SUB HELLO (N%)\r\n  PRINT \"hello\"; N%\r\nEND SUB\r\n");
    const IncludeRun r = CompileWithIncludes(scratch.path(), "/Isub");
    EXPECT_EQ(r.status, 0) << r.log;
    EXPECT_EQ(r.output, "main 5 \nhello 2 \n");
}

// Code from an included file counts as the include line of the main source.
TEST(Includes, RunTimeErrorOfIncludedCodeNamesTheIncludeLine) {
    const txtest::ScratchDir scratch("txcg_include", "runerror");
    WriteText(scratch.path() / "div.bi", "PRINT \"in\"\r\nZ% = 0\r\nX% = 1 \\ Z%\r\n");
    WriteText(scratch.path() / "t.bas", "PRINT 1\r\n#include \"div.bi\"\r\nPRINT 2\r\n");
    const IncludeRun r = CompileWithIncludes(scratch.path(), "");
    EXPECT_EQ(r.output, " 1 \nin\n");
    EXPECT_NE(r.log.find("runtime error 11 (division by zero) in t.bas line 2 "), std::string::npos) << r.log;
}

INSTANTIATE_TEST_SUITE_P(Groups, Corpus, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<CorpusCase> &info) {
                             std::string name = info.param.expected;
                             const std::string options = info.param.options;
                             if (options.find("/COd") != std::string::npos)
                                 name += "_unchecked";
                             if (options.find("/Zi") != std::string::npos)
                                 name += "_debug";
                             return name;
                         });

} // namespace
} // namespace txcg::test
