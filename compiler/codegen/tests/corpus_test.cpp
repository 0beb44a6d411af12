// BASIC sources of each statement group through the whole chain: txcl
// (preprocessor, analyzer, code generator), the i686 linker against the
// runtime subset, and the emulator runner. The output must equal the
// checked .out file beside the source.
#include <filesystem>
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
    {"typed.bas", "", "typed"},
    {"locals.bas", "", "locals"},
    // Without overflow, interrupt and message checks the code takes its
    // inline integer forms; the output is the same.
    {"operators.bas", "/COd /CId /CLd", "operators"},
    {"for.bas", "/COd /CId /CLd", "for"},
    {"arrays.bas", "/COd /CId /CLd", "arrays"},
    {"function.bas", "/COd /CId /CLd", "function"},
    // Debug builds: line numbers and the debugger entry routines linked in.
    {"function.bas", "/Zi", "function"},
    {"gosub.bas", "/Zi", "gosub"},
    // A procedure module beside the main module.
    {"modules.bas", "", "modules", "modules2.sub"},
    // Files written and read back in every mode, and trapped errors.
    {"files.bas", "", "files"},
    {"fileio_records.bas", "", "fileio_records"},
    {"errtrap.bas", "", "errtrap"},
};

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
