#include "make_engine.h"

#include <gtest/gtest.h>

#include "build_output.h"
#include "fake_host.h"
#include "project_fixtures.h"

namespace nmk::test {
namespace {

std::string NoEnv(const std::string &) { return ""; }

Makefile Read(const std::string &text) {
    Makefile mk;
    ReadError e;
    EXPECT_TRUE(ReadMakefile(text, NoEnv, mk, e)) << e.line << ": " << e.text;
    return mk;
}

// The sources of the golden debug build with a resource script and a .bet.
void AddSampleSources(FakeHost &h) {
    for (const char *f : {"MAIN.BAS", "SUB1.SUB", "C:\\PROJ\\SAMPLE.BET", "C:\\PROJ\\SAMPLE.RC", "SAMPLE.MAK"})
        h.Touch(f);
}

const std::string kTxclMain =
    "TXCL /nologo /Yu /MW /CLe \"/S:C:\\PROJ\\SAMPLE.BET\" /CIe /COe /CFF /Zi /Fo\"MAIN.obj\" \"MAIN.BAS\"";
const std::string kTxclSub1 =
    "TXCL /nologo /Yu /MW /CLe \"/S:C:\\PROJ\\SAMPLE.BET\" /CIe /COe /CFF /Zi /Fo\"SUB1.obj\" \"SUB1.SUB\"";
const std::string kRc = "RC /l 0x411 /fo \"C:\\PROJ\\SAMPLE.res\" \"C:\\PROJ\\SAMPLE.RC\" ";
const std::string kLink = "LINK @C:\\TEMP\\nma01234.";

TEST(MakeEngine, GoldenScriptEchoesAndRunsTheToolsInOrder) {
    Makefile mk = Read(prj::test::kMk2_debug_rc_bet);
    FakeHost h;
    AddSampleSources(h);
    EXPECT_EQ(RunMake(mk, {}, h, NoEnv), 0);
    EXPECT_EQ(h.commands, (std::vector<std::string>{kTxclMain, kTxclSub1, kRc, kLink}));
    EXPECT_EQ(h.out, "\t" + kTxclMain + "\r\n\t" + kTxclSub1 + "\r\n\t" + kRc + "\r\n\t" + kLink + "\r\n");
    EXPECT_EQ(h.err, "");
    ASSERT_EQ(h.inline_files.size(), 1u);
    EXPECT_EQ(SplitWords(h.inline_files[0]),
              (std::vector<std::string>{"/nologo", "/subsystem:windows", "/machine:IX86", "/nodefaultlib",
                                        "/DEBUG", "/DEBUGTYPE:COFF", "/out:SAMPLE.exe", "MAIN.obj",
                                        "SUB1.obj", "C:\\PROJ\\SAMPLE.res", "TQ70RN63.LIB", "TQ70RW63.LIB",
                                        "TQ70RM63.LIB", "TQ70MS63.LIB", "TQ70LF63.LIB", "TQ70RO63.LIB",
                                        "TQ70RI63.LIB", "EXTRA.OBJ", "USER.LIB"}));
    EXPECT_TRUE(h.temps_alive.empty()) << "the inline file is deleted after the command";

    // A second run has nothing to do.
    h.out.clear();
    h.commands.clear();
    EXPECT_EQ(RunMake(mk, {}, h, NoEnv), 0);
    EXPECT_TRUE(h.commands.empty());
    EXPECT_EQ(h.out, "'SAMPLE.exe' \x82\xcd\x8d\x58\x90\x56\x82\xb7\x82\xe9\x95\x4b\x97\x76\x82\xaa"
                     "\x82\xa0\x82\xe8\x82\xdc\x82\xb9\x82\xf1\x81\x42\r\n");
}

TEST(MakeEngine, TouchingAFileRerunsExactlyWhatDependsOnIt) {
    struct Case {
        const char *name;
        const char *touched;       // nullptr: none
        bool all;
        std::vector<std::string> commands;
    };
    const std::vector<Case> cases = {
        {"module", "MAIN.BAS", false, {kTxclMain, kLink}},
        {"other module", "sub1.sub", false, {kTxclSub1, kLink}},
        {"runtime environment", "C:\\PROJ\\SAMPLE.BET", false, {kTxclMain, kTxclSub1, kLink}},
        {"resource script", "C:\\PROJ\\SAMPLE.RC", false, {kRc, kLink}},
        {"project file", "SAMPLE.MAK", false, {kLink}},
        {"object", "SUB1.obj", false, {kLink}},
        {"/a", nullptr, true, {kTxclMain, kTxclSub1, kRc, kLink}},
    };
    Makefile mk = Read(prj::test::kMk2_debug_rc_bet);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        FakeHost h;
        AddSampleSources(h);
        ASSERT_EQ(RunMake(mk, {}, h, NoEnv), 0);
        h.commands.clear();
        if (c.touched)
            h.Touch(c.touched);
        MakeOptions o;
        o.all = c.all;
        EXPECT_EQ(RunMake(mk, o, h, NoEnv), 0);
        EXPECT_EQ(h.commands, c.commands);
    }
}

TEST(MakeEngine, DependencyFilesOfOneModuleOnly) {
    // FIRST.BAS lists two .BI files; D:\SRC\HELPER.SUB has its own options.
    Makefile mk = Read(prj::test::kMk2_model0_plain);
    FakeHost h;
    for (const char *f : {"FIRST.BAS", "SECOND.BAS", "D:\\SRC\\HELPER.SUB", "APP.MAK", "C:\\WORK\\COMMON.BI",
                          "D:\\INC\\WIN.BI"})
        h.Touch(f);
    ASSERT_EQ(RunMake(mk, {}, h, NoEnv), 0);
    EXPECT_EQ(h.commands.size(), 4u);
    h.commands.clear();
    h.Touch("C:\\WORK\\COMMON.BI");
    ASSERT_EQ(RunMake(mk, {}, h, NoEnv), 0);
    ASSERT_EQ(h.commands.size(), 2u);
    EXPECT_EQ(h.commands[0], "TXCL /nologo /Yu /MW /CLe /CId /COe /CFF /Dx /Fo\"FIRST.obj\" \"FIRST.BAS\"");
    EXPECT_EQ(h.commands[1].substr(0, 6), "LINK @");
}

TEST(MakeEngine, MissingIncludeFileIsU1073) {
    Makefile mk = Read(prj::test::kMk2_model0_plain);
    FakeHost h;
    for (const char *f : {"FIRST.BAS", "SECOND.BAS", "D:\\SRC\\HELPER.SUB", "APP.MAK", "C:\\WORK\\COMMON.BI"})
        h.Touch(f);
    EXPECT_EQ(RunMake(mk, {}, h, NoEnv), kExitFatal);
    EXPECT_EQ(h.err, "NMAKE : fatal error U1073: don't know how to make 'D:\\INC\\WIN.BI'\r\nStop.\r\n");
    for (const std::string &c : h.commands)
        EXPECT_NE(c.substr(0, 4), "LINK");
}

TEST(MakeEngine, FailingCompilerStopsBeforeTheLink) {
    Makefile mk = Read(prj::test::kMk2_debug_rc_bet);
    FakeHost h;
    AddSampleSources(h);
    h.answers["TXCL"] = {{"MAIN.BAS ***12 x"}, 0xFFFFFFFFu};
    EXPECT_EQ(RunMake(mk, {}, h, NoEnv), kExitFatal);
    EXPECT_EQ(h.commands, std::vector<std::string>{kTxclMain});
    EXPECT_EQ(h.out, "\t" + kTxclMain + "\r\nMAIN.BAS ***12 x\r\n");
    EXPECT_EQ(h.err, "NMAKE : fatal error U1077: 'TXCL' : return code '0xffffffff'\r\nStop.\r\n");
}

TEST(MakeEngine, InferenceRuleBuildsAnObjectWithoutABlock) {
    Makefile mk = Read(
        ".SUFFIXES:.bas .sub\r\n"
        ".bas.obj:\r\n\tTXCL /Fo$*.obj $*.bas\r\n\r\n"
        ".sub.obj:\r\n\tTXCL /Fo$*.obj $*.sub\r\n\r\n"
        "X.exe : A.obj B.obj\r\n\tLINK /out:X.exe\r\n");
    FakeHost h;
    h.Touch("A.BAS");
    h.Touch("B.SUB");
    h.answers["LINK"] = {};
    EXPECT_EQ(RunMake(mk, {}, h, NoEnv), 0);
    EXPECT_EQ(h.commands, (std::vector<std::string>{"TXCL /FoA.obj A.bas", "TXCL /FoB.obj B.sub",
                                                    "LINK /out:X.exe"}));
}

TEST(MakeEngine, ProgramThatCannotStartIsU1077) {
    Makefile mk = Read("t :\r\n\tNOSUCH a\r\n");
    FakeHost h;
    EXPECT_EQ(RunMake(mk, {}, h, NoEnv), kExitFatal);
    EXPECT_EQ(h.err, "NMAKE : fatal error U1077: 'NOSUCH' : return code '0x2'\r\nStop.\r\n");
}

// The build's own filters over what NMAKE prints give the recorded results.
// (The transcript of a fatal-error block cut by an empty line is not one
// NMAKE prints: it is the filters' own case.)
class Sink : public prj::BuildTextSink {
public:
    std::string text;
    void Append(const std::string &t) override { text += t; }
};

std::string Filter(const std::string &out, const std::string &err, bool verbose, bool &failed) {
    Sink sink;
    prj::BuildRun run(sink, verbose);
    prj::MakeOutputFilter fo(run);
    prj::MakeErrorFilter fe(run);
    prj::LineSplitter so, se;
    auto lo = [&](const std::string &l) { fo.Line(l); };
    auto le = [&](const std::string &l) { fe.Line(l); };
    so.Feed(out, lo);
    so.End(lo);
    se.Feed(err, le);
    se.End(le);
    fe.End();
    failed = run.Failed();
    return sink.text;
}

const prj::test::Transcript &FindTranscript(const std::string &name) {
    for (const prj::test::Transcript &t : prj::test::kTranscripts)
        if (name == t.name)
            return t;
    throw std::runtime_error("no transcript " + name);
}

constexpr char kSmallProject[] =
    ".SUFFIXES:.bas .sub\r\n"
    "BOPTS=/nologo /Yu /MW /CLe /CIe /COe /CFF /Zi \r\n"
    "OBJS=\\\r\n\t\"MAIN.obj\"\\\r\n\t\r\n\r\n"
    "RESNAME=\"SAMPLE.res\"\r\n"
    "RCOPT=/l 0x411 /fo $(RESNAME)\r\n"
    "EXE=\"SAMPLE.exe\"\r\n"
    "$(EXE) : $(OBJS) $(RESNAME)\r\n"
    "\tLINK @<<\r\n/out:$(EXE) $(OBJS) $(RESNAME)\r\n<<\r\n\r\n"
    "DEP_FILE=$(MORE)\r\n"
    "\"MAIN.obj\" : \"MAIN.BAS\" $(DEP_FILE)\r\n"
    "\tTXCL $(BOPTS) /Fo\"MAIN.obj\" \"MAIN.BAS\"\r\n\r\n"
    "$(RESNAME) : \"SAMPLE.RC\"\r\n"
    "\tRC $(RCOPT) \"SAMPLE.RC\" \r\n";

TEST(MakeEngine, TranscriptsComeOutOfNmakeAndThroughTheFilters) {
    struct Case {
        const char *transcript;
        std::function<void(FakeHost &, std::string &)> setup;   // second: extra macros
        int runs;
    };
    const std::vector<Case> cases = {
        {"compile error",
         [](FakeHost &h, std::string &) {
             const prj::test::Transcript &t = FindTranscript("compile error");
             std::vector<std::string> lines;
             std::string out = t.out.substr(t.out.find("\r\n") + 2);
             for (std::size_t p; (p = out.find("\r\n")) != std::string::npos; out.erase(0, p + 2))
                 lines.push_back(out.substr(0, p));
             h.answers["TXCL"] = {lines, 0xFFFFFFFFu};
         },
         1},
        // The recorded success is a build followed by a run with nothing to do.
        {"success",
         [](FakeHost &h, std::string &) {
             h.answers["LINK"] = {{"LINK : warning LNK4033: converting object format",
                                   "   Creating library SAMPLE.lib and object SAMPLE.exp"},
                                  0};
         },
         2},
        {"link error",
         [](FakeHost &h, std::string &) {
             h.Touch("MAIN.obj");
             h.Touch("SAMPLE.res");
             h.answers["LINK"] = {{"SAMPLE.obj : error LNK2001: unresolved external symbol _FOO"}, 1};
         },
         1},
        {"fatal error first",
         [](FakeHost &, std::string &macros) { macros = "MORE=\"MISSING.BI\"\r\n"; }, 1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.transcript);
        const prj::test::Transcript &t = FindTranscript(c.transcript);
        FakeHost h;
        for (const char *f : {"MAIN.BAS", "SAMPLE.RC"})
            h.Touch(f);
        std::string macros;
        c.setup(h, macros);
        Makefile mk = Read(macros + kSmallProject);
        for (int i = 0; i < c.runs; ++i)
            RunMake(mk, {}, h, NoEnv);
        EXPECT_EQ(h.out, t.out);
        EXPECT_EQ(h.err, t.err);
        for (bool verbose : {false, true}) {
            bool failed = false;
            EXPECT_EQ(Filter(h.out, h.err, verbose, failed), verbose ? t.shown_verbose : t.shown);
            EXPECT_EQ(failed, t.failed);
        }
    }
}


// Scripts that would make the same target within itself, chains deeper
// than the engine goes, and macros that come back inside their own values
// stop with their own U-numbers; nothing runs.
TEST(MakeEngine, CyclesDeepChainsAndRecursiveMacrosAreFatal) {
    std::string chain;
    for (int i = 0; i < 20000; ++i)
        chain += "t" + std::to_string(i) + " : t" + std::to_string(i + 1) + "\r\n\tX\r\n";
    const struct {
        std::string script;
        const char *err;
    } cases[] = {
        {"a : b\r\n\tA\r\nb : a\r\n\tB\r\n", "NMAKE : fatal error U1071: cycle in dependency tree for target 'a'\r\n"},
        {"a : A\r\n\tX\r\n", "NMAKE : fatal error U1071: cycle in dependency tree for target 'A'\r\n"},
        {chain, "NMAKE : fatal error U1072: dependency tree deeper than 1000 levels at target 't1000'\r\n"},
        {"A=$(B)\r\nB=x $(A)\r\nt :\r\n\tcmd $(A)\r\n",
         "NMAKE : fatal error U1048: recursive macro definition 'A'\r\n"},
        {"A=$B\r\nB=$(A)$(A)\r\nt :\r\n\tcmd @<<\r\n$(B)\r\n<<\r\n",
         "NMAKE : fatal error U1048: recursive macro definition 'B'\r\n"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.err);
        Makefile mk = Read(c.script);
        FakeHost h;
        EXPECT_EQ(RunMake(mk, {}, h, NoEnv), kExitFatal);
        EXPECT_EQ(h.err, std::string(c.err) + "Stop.\r\n");
        EXPECT_TRUE(h.commands.empty());
        EXPECT_TRUE(h.temps_alive.empty());
    }
}

// A target named by many others is made once, found again by its name
// however many targets there are.
TEST(MakeEngine, ManyTargetsAreFoundByName) {
    std::string script = "all :";
    std::string blocks;
    for (int i = 0; i < 100000; ++i) {
        script += " t" + std::to_string(i);
        blocks += "T" + std::to_string(i) + " : common\r\n";
    }
    Makefile mk = Read(script + "\r\n\tLINK all\r\n" + blocks + "common :\r\n\tRC common\r\n");
    FakeHost h;
    EXPECT_EQ(RunMake(mk, {}, h, NoEnv), 0);
    EXPECT_EQ(h.commands, (std::vector<std::string>{"RC common", "LINK all"}));
}

}  // namespace
}  // namespace nmk::test
