// The pass chain: temporary files, failing passes and their error lines
// (run_cases.expect), the refusal of outputs that name the source, and the
// banner's version values.
#include "txcl_testing.h"
#include "version.h"

namespace txcl_test {
namespace {

class RunTest : public ScratchTest {
protected:
    void SetUp() override {
        ScratchTest::SetUp();
        CreateFileWith("x.bas", kSource);
        blocks_ = ReadBlocks("run_cases.sjis");
    }
    static constexpr const char *kSource = "PRINT 1\r\n";
    std::map<std::string, std::string> blocks_;
};

TEST_F(RunTest, EachCodeGivesItsLine) {
    const uint32_t codes[] = {1, 3, 4, 5, 6, 10, 11, 12, 13, 14, 20, 21, 22, 23, 24,
                              30, 90, 91, 98, 99, 57, 0};
    std::string all;
    for (uint32_t code : codes) {
        SCOPED_TRACE(code);
        g_chain = FakeChain{};
        g_chain.failingPass = 1;
        g_chain.code = code;
        RunResult r = RunTxcl({"/nologo", "x.bas"});
        EXPECT_EQ(r.exitCode, -1);
        EXPECT_EQ(g_chain.calls, 2);  // the generator never runs
        all += r.output;
    }
    EXPECT_EQ(all, blocks_["each-code"]);
}

TEST_F(RunTest, FailingPassLines) {
    struct Case {
        const char *block;
        int pass;
        int result;
        uint32_t code, detail;
        const char *text;
        const char *command;
    } cases[] = {
        {"code-2-prints-nothing-more", 1, 0, 2, 0, "", "x.bas"},
        {"source-file", 0, 0, 13, 0x101, "x.bas", "/nologo x.bas"},
        {"include-file", 0, -1, 11, 0x103, "inc\\a.inc", "/nologo x.bas"},
        {"temporary-hidden", 2, 0, 12, 0x204, "~PC123", "/nologo x.bas"},
        {"temporary-named-with-tmp", 1, 0, 12, 0x204, "Pcode.tmp", "/nologo /TMP x.bas"},
        {"kind-without-name", 1, 0, 11, 0x102, "", "/nologo x.bas"},
        {"unknown-kind", 2, 0, 14, 0x109, "a.x", "/nologo x.bas"},
        {"name-is-not-a-format", 0, 0, 11, 0x101, "%s%n.bas", "/nologo x.bas"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.block);
        g_chain = FakeChain{};
        g_chain.failingPass = c.pass;
        g_chain.result = c.result;
        g_chain.code = c.code;
        g_chain.detail = c.detail;
        g_chain.text = c.text;
        RunResult r = RunTxcl(SplitCommandLine(c.command));
        EXPECT_EQ(r.exitCode, -1);
        EXPECT_EQ(r.output, blocks_[c.block]);
        EXPECT_EQ(g_chain.calls, c.pass + 1);
    }
}

// A pass may leave all 264 bytes of err_text in use: the line holds
// exactly those bytes and nothing after them.
TEST_F(RunTest, UnterminatedErrTextStopsAtItsSize) {
    g_chain.failingPass = 0;
    g_chain.code = 11;
    g_chain.detail = 0x101;
    g_chain.text = std::string(kErrTextSize, 'a');
    g_chain.rawText = true;
    RunResult r = RunTxcl({"/nologo", "x.bas"});
    ASSERT_GT(r.output.size(), static_cast<std::size_t>(kErrTextSize));
    EXPECT_EQ(r.output.substr(0, kErrTextSize), g_chain.text);
    EXPECT_EQ(r.output[kErrTextSize], '(');
}

TEST_F(RunTest, EveryFileKind) {
    std::string out;
    txcl::Console capture(&out);
    txcl::Driver d(FakePasses(), capture);
    d.slot[txcl::kSlotTMP] = "/TMP";  // temporary names shown too
    d.slot[txcl::kSlotNologo] = "/nologo";
    for (uint32_t detail : {0x101, 0x102, 0x103, 0x104, 0x105, 0x106, 0x107, 0x108,
                            0x201, 0x202, 0x203, 0x204, 0x205, 0x206}) {
        char name[8];
        std::snprintf(name, sizeof name, "f%x", static_cast<unsigned>(detail));
        txcl::PrintError(d, 11, detail, name, sizeof name);
    }
    EXPECT_EQ(out, blocks_["every-kind"]);
}

TEST_F(RunTest, TemporariesAreNewEmptyAndRemoved) {
    for (int failing : {-1, 2}) {
        SCOPED_TRACE(failing);
        g_chain = FakeChain{};
        g_chain.failingPass = failing;
        g_chain.code = 99;
        RunResult r = RunTxcl({"/nologo", "x.bas"});
        EXPECT_EQ(r.exitCode, failing < 0 ? 0 : -1);
        ASSERT_EQ(g_chain.tempNames.size(), 3u);
        EXPECT_TRUE(g_chain.tempsEmpty);
        const char *prefixes[] = {"~SL", "~TC", "~PC"};
        for (int i = 0; i < 3; ++i) {
            fs::path p(g_chain.tempNames[i]);
            EXPECT_TRUE(fs::equivalent(p.parent_path(), dir_ / "tmp")) << g_chain.tempNames[i];
            EXPECT_EQ(p.filename().string().rfind(prefixes[i], 0), 0u) << g_chain.tempNames[i];
        }
        EXPECT_TRUE(Listing(dir_ / "tmp").empty());
    }
}

// Without a usable TMP folder the temporaries go to the current folder.
TEST_F(RunTest, TemporariesFallBackToCurrentFolder) {
    SetEnv("TMP", (dir_ / "no-such-folder").string());
    RunResult r = RunTxcl({"/nologo", "x.bas"});
    EXPECT_EQ(r.exitCode, 0);
    ASSERT_EQ(g_chain.tempNames.size(), 3u);
    for (const std::string &name : g_chain.tempNames)
        EXPECT_TRUE(fs::equivalent(fs::path(name).parent_path(), dir_)) << name;
    EXPECT_EQ(Listing(dir_), (std::vector<std::string>{"sub", "tmp", "x.bas"}));
}

// The separator is added only when TMP does not end in one; a folder whose
// last character has the trail byte 0x5C does not.
TEST_F(RunTest, TemporaryFolderSpelling) {
    const std::string base = (dir_ / "tmp").string();
    MakeFolder("t\x95\x5C");
    struct Case {
        std::string tmp;
        std::string namePrefix;
    } cases[] = {
        {base, base + kSeparator + "~SL"},
        {base + kSeparator, base + kSeparator + "~SL"},
        {"t\x95\x5C", std::string("t\x95\x5C") + kSeparator + "~SL"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.tmp);
        g_chain = FakeChain{};
        SetEnv("TMP", c.tmp);
        RunResult r = RunTxcl({"/nologo", "x.bas"});
        EXPECT_EQ(r.exitCode, 0);
        ASSERT_EQ(g_chain.tempNames.size(), 3u);
        EXPECT_EQ(g_chain.tempNames[0].rfind(c.namePrefix, 0), 0u) << g_chain.tempNames[0];
    }
    // Nothing landed beside the folders ("t" + the pair, "tmp", "sub").
    EXPECT_EQ(Listing(dir_).size(), 4u);
}

TEST_F(RunTest, FixedTemporariesStayWithTmp) {
    for (int failing : {-1, 0}) {
        SCOPED_TRACE(failing);
        g_chain = FakeChain{};
        g_chain.failingPass = failing;
        g_chain.code = 99;
        RunTxcl({"/nologo", "/TMP", "x.bas"});
        EXPECT_EQ(g_chain.tempNames, (std::vector<std::string>{"Srclist.tmp", "Tcode.tmp", "Pcode.tmp"}));
        EXPECT_EQ(Listing(dir_), (std::vector<std::string>{"Pcode.tmp", "Srclist.tmp", "Tcode.tmp",
                                                           "sub", "tmp", "x.bas"}));
        for (const char *name : {"Srclist.tmp", "Tcode.tmp", "Pcode.tmp"})
            fs::remove(name);
    }
}

TEST_F(RunTest, MissingSourceLeavesNoTemporary) {
    RunResult r = RunTxcl({"/nologo", "missing.bas"});
    EXPECT_EQ(r.exitCode, -1);
    EXPECT_EQ(r.output, blocks_["missing-source"]);
    EXPECT_EQ(g_chain.calls, 0);
    EXPECT_TRUE(Listing(dir_ / "tmp").empty());
    EXPECT_EQ(Listing(dir_), (std::vector<std::string>{"sub", "tmp", "x.bas"}));
}

// A folder in place of a fixed temporary: error 10 with that file's kind.
TEST_F(RunTest, WorkFileThatCannotBeCreated) {
    fs::create_directory("Pcode.tmp");
    RunResult r = RunTxcl({"/nologo", "/TMP", "x.bas"});
    EXPECT_EQ(r.exitCode, -1);
    EXPECT_EQ(r.output, blocks_["work-file-in-the-way"]);
    EXPECT_EQ(g_chain.calls, 0);
}

TEST_F(RunTest, OutputNamingTheSourceIsRefused) {
    struct Case {
        const char *block;
        const char *command;
    } cases[] = {
        {"object-names-the-source", "/nologo /Fox.bas x.bas"},
        {"listing-names-the-source", "/nologo /Fs./x.bas x.bas"},
        {"xref-names-the-source", "/nologo /Fxx.bas x.bas"},
        {"expanded-names-the-source", "/nologo /Fpsub/../x.bas x.bas"},
        {"header-names-the-source", "/nologo /Ycx.bas x.bas"},
        {"default-object-is-the-source", "/nologo x.obj"},
    };
    CreateFileWith("x.obj", kSource);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.command);
        g_chain = FakeChain{};
        RunResult r = RunTxcl(SplitCommandLine(c.command));
        EXPECT_EQ(r.exitCode, -1);
        EXPECT_EQ(r.output, blocks_[c.block]);
        EXPECT_EQ(g_chain.calls, 0);
        EXPECT_EQ(ReadFile("x.bas"), kSource);
        EXPECT_EQ(ReadFile("x.obj"), kSource);
    }
    // Another name in the same folder is fine.
    RunResult r = RunTxcl({"/nologo", "/Fox2.obj", "/Fs", "x.bas"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.output, "");
}

TEST_F(RunTest, NologoSuccessPrintsNothing) {
    RunResult r = RunTxcl({"/nologo", "x.bas"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.output, "");
    EXPECT_EQ(g_chain.calls, 3);
}

TEST(Version, ProductVersionParsing) {
    struct Case {
        const char *text;
        bool ok;
        const char *version, *level;
    } cases[] = {
        {"6, 3, 10, 0", true, "6.3", "10"},
        {"6, 3, 10, 2", true, "6.3", "10B"},
        {"6.3.10.1", true, "6.3", "10A"},
        {"v06-03/010 0", true, "6.3", "10"},
        {"6, 3, 10", false, "", ""},
        {"", false, "", ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        std::string version, level;
        EXPECT_EQ(txcl::ParseProductVersion(c.text, version, level), c.ok);
        if (c.ok) {
            EXPECT_EQ(version, c.version);
            EXPECT_EQ(level, c.level);
        }
    }
}

TEST(Version, BannerWithAndWithoutPrivateBuild) {
    txcl::VersionStrings v;
    v.description = "Desc";
    v.productVersion = "1, 2, 3, 0";
    v.legalCopyright = "Legal";
    EXPECT_EQ(txcl::BannerText(v), "Desc Version 1.2 Level 3\nLegal\n");
    EXPECT_EQ(txcl::VersionLine("Txpp.dll", v), "Txpp.dll Version 1.2 Level 3\n");
    v.hasPrivateBuild = true;
    v.privateBuild = "test";
    EXPECT_EQ(txcl::BannerText(v), "Desc Version 1.2 Level 3 test\nLegal\n");
    EXPECT_EQ(txcl::VersionLine("Txpp.dll", v), "Txpp.dll Version 1.2 Level 3 test\n");
    v.productVersion = "1.2";
    EXPECT_EQ(txcl::BannerText(v), "");
}

// On Windows the values come from the libraries' version resources (found
// beside the program), natively from the same header: the same lines.
TEST(Version, PassLibrariesCarryTheProductVersion) {
    for (const char *lib : {"Txpp.dll", "Txsc.dll", "Txcg.dll"}) {
        SCOPED_TRACE(lib);
        txcl::VersionStrings v;
        ASSERT_TRUE(txcl::ReadVersionStrings(lib, v));
        EXPECT_EQ(v.productVersion, "6, 3, 10, 0");
        EXPECT_FALSE(v.hasPrivateBuild);
    }
    txcl::VersionStrings v;
    EXPECT_FALSE(txcl::ReadVersionStrings("Nosuch.dll", v));
}

}  // namespace
}  // namespace txcl_test
