#include "build_output.h"

#include <gtest/gtest.h>

#include "project_fixtures.h"

namespace prj::test {
namespace {

class CollectingSink : public BuildTextSink {
public:
    std::string text;
    void Append(const std::string &t) override { text += t; }
};

// Runs a recorded transcript through a reader each, in pipe reads of at
// most 1024 bytes: standard output first, then standard error.
std::string RunTranscript(const Transcript &t, bool verbose, bool &failed) {
    CollectingSink sink;
    BuildRun run(sink, verbose);
    MakeOutputFilter out(run);
    MakeErrorFilter err(run);
    auto feed = [](const std::string &text, const LineSplitter::LineFn &fn) {
        LineSplitter split;
        for (std::size_t i = 0; i < text.size(); i += kPipeReadSize)
            split.Feed(std::string_view(text).substr(i, kPipeReadSize), fn);
        split.End(fn);
    };
    feed(t.out, [&](const std::string &l) { out.Line(l); });
    feed(t.err, [&](const std::string &l) { err.Line(l); });
    err.End();
    failed = run.Failed();
    return sink.text;
}

TEST(BuildOutput, RecordedTranscriptsShowTheirLinesAndFailureMark) {
    for (const Transcript &t : kTranscripts) {
        for (bool verbose : {false, true}) {
            SCOPED_TRACE(std::string(t.name) + (verbose ? " (verbose)" : ""));
            bool failed = false;
            EXPECT_EQ(RunTranscript(t, verbose, failed), verbose ? t.shown_verbose : t.shown);
            EXPECT_EQ(failed, t.failed);
        }
    }
}

TEST(BuildOutput, CompilerOutputFailsTheBuildWithoutTheWordError) {
    CollectingSink sink;
    BuildRun run(sink, false);
    MakeOutputFilter out(run);
    out.Line("\ttxcl /nologo /Fo\"A.obj\" \"A.BAS\"");
    EXPECT_EQ(out.Tool(), "TXCL");
    EXPECT_FALSE(run.Failed());
    out.Line("");
    EXPECT_FALSE(run.Failed());
    out.Line("A.BAS ***3 [02] x");
    EXPECT_TRUE(run.Failed());
    EXPECT_EQ(sink.text, "A.BAS\r\n\r\n\r\nA.BAS ***3 [02] x\r\n");
}

TEST(BuildOutput, ToolWordComesFromTheEcho) {
    struct Case {
        const char *line;
        const char *tool;
    };
    const std::vector<Case> cases = {
        {"\tTXCL /nologo x", "TXCL"},
        {"\tRc /l 0x411", "RC"},
        {"\tlink @x", "LINK"},
        {"\tTXCL", "TXCL"},
        {"cd x\tlink @y", "CD X\tLINK @Y"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.line);
        CollectingSink sink;
        BuildRun run(sink, false);
        MakeOutputFilter out(run);
        out.Line(c.line);
        EXPECT_EQ(out.Tool(), c.tool);
    }
}

TEST(BuildOutput, LinesSplitAtCrAndAtReadsWithoutOne) {
    struct Case {
        const char *name;
        std::vector<std::string> reads;
        std::vector<std::string> lines;
    };
    const std::vector<Case> cases = {
        {"whole lines", {"a\r\nb\r\n"}, {"a", "b"}},
        {"rest waits for the next read", {"a\r\nb", "c\r\n"}, {"a", "bc"}},
        {"read without CR is a line", {"ab", "c\r\n"}, {"ab", "c"}},
        {"CR LF split between reads", {"a\r", "\nb\r\n"}, {"a", "b"}},
        {"empty lines kept", {"a\r\n\r\nb\r\n"}, {"a", "", "b"}},
        {"unterminated last line", {"a\r\nb"}, {"a", "b"}},
        {"empty read", {"", "a\r\n"}, {"a"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> got;
        LineSplitter split;
        auto fn = [&](const std::string &l) { got.push_back(l); };
        for (const std::string &r : c.reads)
            split.Feed(r, fn);
        split.End(fn);
        EXPECT_EQ(got, c.lines);
    }
    // A chunk of more than 1024 bytes without CR breaks at the read boundary;
    // the line end that follows in a read of its own is an empty line.
    std::string longline(1500, 'x');
    std::vector<std::string> got;
    LineSplitter split;
    auto fn = [&](const std::string &l) { got.push_back(l); };
    split.Feed(std::string_view(longline).substr(0, kPipeReadSize), fn);
    split.Feed(std::string_view(longline).substr(kPipeReadSize) , fn);
    split.Feed("\r\n", fn);
    split.End(fn);
    EXPECT_EQ(got, (std::vector<std::string>{std::string(1024, 'x'), std::string(476, 'x'), ""}));
}

TEST(BuildOutput, EmitAddsALineEndUnlessTheTextHasOne) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"a", "a\r\n"}, {"", "\r\n"}, {"a\r\n", "a\r\n"}, {"a\n", "a\n\r\n"}, {"a\r", "a\r\r\n"},
    };
    for (const auto &[in, want] : cases) {
        SCOPED_TRACE(in);
        CollectingSink sink;
        BuildRun run(sink, false);
        run.Emit(in);
        EXPECT_EQ(sink.text, want);
    }
}

}  // namespace
}  // namespace prj::test
