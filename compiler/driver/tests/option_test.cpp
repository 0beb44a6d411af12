// The command line, checked through the "/TMP" dump of the parameter block
// against option_cases.expect.
#include "txcl_testing.h"

namespace txcl_test {
namespace {

struct OptionCase {
    const char *block;    // the expected output in option_cases.expect
    const char *command;  // the arguments after "txcl"
    int exitCode;
};

const OptionCase kOptionCases[] = {
    {"defaults", "/TMP x.bas", 0},
    // What a project build's make script writes for a module.
    {"make-script", "/TMP /nologo /Yu /MW /CLe /S:x.bet /CIe /COe /CFF /Zi \"/Ipath\" /Fo\"x.obj\" x.bas", 0},
    {"second-variants", "/TMP /nologo /MW /CLd /CId /COd /CFI /CV x.bas", 0},
    {"dash-options", "-TMP -nologo -COd -Zi x.bas", 0},
    {"mwd-forces-checks-off", "/TMP /nologo /MWD x.bas", 0},
    {"mwd-with-its-own-variant", "/TMP /nologo /MWD /CId x.bas", 0},
    {"mwd-with-checks-on", "/TMP /nologo /MWD /CIe x.bas", -1},
    {"checks-on-then-mwd", "/TMP /nologo /CLe /MWD x.bas", -1},
    {"two-variants", "/nologo /CLe /CLd x.bas", -1},
    {"two-variants", "/nologo /CFI /CFF x.bas", -1},
    {"two-variants", "/nologo /MWD /MW x.bas", -1},
    {"flag-twice", "/Zi /Zi /nologo x.bas", -1},
    {"runtime-env-standard", "/TMP /nologo /S? x.bas", 0},
    {"runtime-env-colon-standard", "/TMP /nologo /S:? x.bas", 0},
    {"runtime-env-name", "/TMP /nologo /Senv.bet x.bas", 0},
    {"option-error", "/nologo /S x.bas", -1},
    {"option-error", "/nologo /S: x.bas", -1},
    {"option-error", "/nologo /S?x x.bas", -1},
    {"option-error", "/nologo /S:?x x.bas", -1},
    {"option-error", "/nologo /S:a /S:b x.bas", -1},
    {"option-error", "/nologo /Fo x.bas", -1},
    {"option-error", "/nologo /Fsa /Fsb x.bas", -1},
    {"option-error", "/nologo /I x.bas", -1},
    {"option-error", "/nologo /Q x.bas", -1},
    {"option-error", "/nologo junk x.bas", -1},
    {"option-error", "/nologo /Zix x.bas", -1},
    {"option-error", "/nologo /TMPX x.bas", -1},
    {"option-error", "/nologo /MWx x.bas", -1},
    {"option-error", "/nologo /nologo x.bas", -1},
    {"listing-defaults-in-current-folder", "/TMP /nologo /Fs /Fx /Fp /Yc sub/x.bas", 0},
    {"listing-names", "/TMP /nologo /Fsa.lst /Fxb.xrf /Fpc.i /Ycd.pbi /Foout/y.obj x.bas", 0},
    {"includes-and-headers-in-order", "/TMP /nologo /Iinc \"/I..\\lib dir\" /Yuone.pbi /Yu /Iinc x.bas", 0},
    // 0x95 0x5C is one character whose second byte is a backslash.
    {"double-byte-name", "/TMP /nologo /Fs sub/\x95\x5C.bas", 0},
    {"source-that-looks-like-an-option", "/nologo /Zi", -1},
    {"lone-source", "x.bas", 0},
    {"lone-dash-source", "-x.bas", -1},
};

class OptionTest : public ScratchTest {
protected:
    void SetUp() override {
        ScratchTest::SetUp();
        CreateFileWith("x.bas", "PRINT 1\r\n");
        CreateFileWith("sub/x.bas", "PRINT 2\r\n");
        CreateFileWith("sub/\x95\x5C.bas", "PRINT 3\r\n");
    }
};

TEST_F(OptionTest, CommandLinesGiveTheirDump) {
    auto blocks = ReadBlocks("option_cases.sjis");
    for (const OptionCase &c : kOptionCases) {
        SCOPED_TRACE(c.command);
        ASSERT_EQ(blocks.count(c.block), 1u) << c.block;
        RunResult r = RunTxcl(SplitCommandLine(c.command));
        EXPECT_EQ(r.output, blocks[c.block]);
        EXPECT_EQ(r.exitCode, c.exitCode);
        // A refused command line never reaches the passes.
        EXPECT_EQ(g_chain.calls, c.exitCode == 0 ? 3 : 0);
        g_chain = FakeChain{};
    }
}

TEST_F(OptionTest, UsageWithSlashOrDash) {
    std::string usage = ReadFile(std::string(TXCL_TEST_DATA) + "/usage.sjis");
    for (const char *arg : {"/?", "-?"}) {
        SCOPED_TRACE(arg);
        RunResult r = RunTxcl({arg});
        EXPECT_EQ(r.output, usage);
        EXPECT_EQ(r.exitCode, -1);
    }
    // Anything else as the only argument is a source; "/?x" is no request.
    RunResult r = RunTxcl({"/?x"});
    EXPECT_NE(r.output, usage);
    EXPECT_EQ(r.exitCode, -1);
}

TEST_F(OptionTest, NoArgumentPrintsTheBannerOnly) {
    RunResult r = RunTxcl({});
    EXPECT_EQ(r.output, ReadFile(std::string(TXCL_TEST_DATA) + "/banner.sjis"));
    EXPECT_EQ(r.exitCode, -1);
    EXPECT_EQ(g_chain.calls, 0);
}

// 128 include paths and 16 header names fit; one more is an option error.
TEST_F(OptionTest, ArrayLimits) {
    auto blocks = ReadBlocks("option_cases.sjis");
    struct Limit {
        const char *option;
        int max;
        const char *dumpLine;
    };
    for (const Limit &l : {Limit{"/Iinc", 128, "I_path["}, Limit{"/Yu", 16, "Yu_filename["}}) {
        SCOPED_TRACE(l.option);
        std::vector<std::string> args{"/TMP", "/nologo"};
        args.insert(args.end(), l.max, l.option);
        args.push_back("x.bas");
        RunResult r = RunTxcl(args);
        EXPECT_EQ(r.exitCode, 0);
        std::size_t lines = 0;
        for (std::size_t p = r.output.find(l.dumpLine); p != std::string::npos;
             p = r.output.find(l.dumpLine, p + 1))
            ++lines;
        EXPECT_EQ(lines, static_cast<std::size_t>(l.max));

        args.insert(args.begin() + 2, l.option);
        r = RunTxcl(args);
        EXPECT_EQ(r.exitCode, -1);
        EXPECT_EQ(r.output, blocks["option-error"]);
    }
}

// Names longer than any fixed buffer go through whole.
TEST_F(OptionTest, LongNamesPrintWhole) {
    std::string path(600, 'p');
    RunResult r = RunTxcl({"/TMP", "/nologo", "/I" + path, "/Fo" + path + ".obj", "x.bas"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_NE(r.output.find("I_path[0] : " + path + "\n"), std::string::npos);
    EXPECT_NE(r.output.find("Fo_filename : " + path + ".obj\n"), std::string::npos);
}

TEST(BaseName, FolderAndExtensionGo) {
    struct Case {
        const char *path;
        const char *base;
    } cases[] = {
        {"x.bas", "x"},
        {"dir\\x.bas", "x"},
        {"dir/sub/x.bas", "x"},
        {"c:x.bas", "x"},
        {"c:\\a.b\\prog", "prog"},
        {"prog.v2.bas", "prog.v2"},
        {"noext", "noext"},
        // Trail byte 0x5C inside a name is no separator.
        {"\x95\x5C.bas", "\x95\x5C"},
        {"dir\\\x83\x5C\x83\x74\x83\x67.bas", "\x83\x5C\x83\x74\x83\x67"},
        // A lead byte at the very end stands alone.
        {"a\\b\x95", "b\x95"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(txcl::BaseName(c.path), c.base);
    }
}

}  // namespace
}  // namespace txcl_test
