// The pass over hand-assembled temporaries: error lines byte for byte,
// fatal exits with their codes, and the refused malformed records.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "sc_driver.h"
#include "tx_scratch.h"

namespace {

std::string Fixture(const std::string &name) { return std::string(TXSC_FIXTURES) + "/" + name; }

std::string ReadAll(const std::string &path) {
    std::ifstream f(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

struct PassRun {
    int result;
    CmpFilParam param;
    std::string out;
};

PassRun Compile(const std::string &name, const char *src = "PROG.BAS", const char *env = nullptr) {
    static char srcName[64], sl[512], tc[512], pc[512], envName[512];
    std::snprintf(srcName, sizeof srcName, "%s", src);
    std::snprintf(sl, sizeof sl, "%s", Fixture(name + ".sl").c_str());
    std::snprintf(tc, sizeof tc, "%s", Fixture(name + ".tc").c_str());
    // What the pass writes goes to a file of this process's own: the
    // fixtures folder is shared by runs side by side.
    std::snprintf(pc, sizeof pc, "%s", txtest::UniquePath("txsc_pc").c_str());
    PassRun r{};
    r.param.srcfilename = srcName;
    r.param.slist_filename = sl;
    r.param.tcode_filename = tc;
    r.param.pcode_filename = pc;
    if (env) {
        std::snprintf(envName, sizeof envName, "%s", env);
        r.param.S_filenmae = envName;
    }
    testing::internal::CaptureStdout();
    r.result = txsc::CompileModule(&r.param);
    std::fflush(stdout);
    r.out = testing::internal::GetCapturedStdout();
    std::remove(pc);
    return r;
}

TEST(ScDriver, ErrorLinesMatchByteForByte) {
    struct Case {
        const char *name;
        int result;
    } cases[] = {{"syntax42", 0}, {"good", 1}, {"pperrors", 0}, {"folding", 0}, {"unopened", 0}, {"open", 0}, {"labels", 0}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        PassRun r = Compile(c.name);
        EXPECT_EQ(r.out, ReadAll(Fixture(std::string(c.name) + ".out")));
        EXPECT_EQ(r.result, c.result);
        if (c.result == 0) { EXPECT_EQ(r.param.err_code, 2u); }
    }
}

TEST(ScDriver, MalformedRecordsAreABadTokenFile) {
    for (const char *name : {"short", "long", "past"}) {
        SCOPED_TRACE(name);
        PassRun r = Compile(name);
        EXPECT_EQ(r.result, 0);
        EXPECT_EQ(r.param.err_code, 14u);
        EXPECT_EQ(r.param.err_detail, 0x203u);
        EXPECT_EQ(std::string(r.param.err_text), Fixture(std::string(name) + ".tc"));
    }
}

TEST(ScDriver, RuntimeEnvironmentFileIsChecked) {
    const std::string shortEnv = txtest::UniquePath("short_bet"), badEnv = txtest::UniquePath("bad_bet"),
                      goodEnv = txtest::UniquePath("good_bet");
    {
        std::ofstream(shortEnv, std::ios::binary) << std::string(100, '\0');
        std::string bad(352, '\0');
        std::ofstream(badEnv, std::ios::binary) << bad;
        std::string good(352, '\0');
        good[0] = char(0xFA);
        good[1] = char(0x18);
        std::ofstream(goodEnv, std::ios::binary) << good;
    }
    struct Case {
        std::string env;
        int result;
        uint32_t code;
    } cases[] = {{shortEnv, 0, 13}, {badEnv, 0, 14}, {goodEnv, 1, 0}, {Fixture("missing.bet"), 0, 11}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.env);
        PassRun r = Compile("good", "PROG.BAS", c.env.c_str());
        EXPECT_EQ(r.result, c.result);
        EXPECT_EQ(r.param.err_code, c.code);
        if (c.code) { EXPECT_EQ(r.param.err_detail, 0x102u); }
    }
    for (const auto &p : {shortEnv, badEnv, goodEnv}) std::remove(p.c_str());
}

TEST(ScDriver, MissingTemporaryIsAnOpenFailure) {
    PassRun r = Compile("nosuchfile");
    EXPECT_EQ(r.result, 0);
    EXPECT_EQ(r.param.err_code, 11u);
    EXPECT_EQ(r.param.err_detail, 0x202u);
}

}  // namespace

#include "sc_crash.h"
#include "sc_pass.h"

namespace {

TEST(ScCrash, DumpLayout) {
    auto p = std::make_unique<txsc::ScPass>();
    CmpFilParam param{};
    char src[] = "PROG.BAS";
    param.srcfilename = src;
    p->param = &param;
    p->mainLine = 12;
    p->trace[0] = txsc::TraceEntry{0x0094, 0x0011, 0x30, 0x02, 0x2A};
    p->traceNext = 1;
    const std::string path = txtest::UniquePath("crash_got");  // runs side by side must not share it
    std::FILE *f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    txsc::WriteCrashDump(f, *p, 0xC0000005, 0, 0x00401234);
    std::fclose(f);
    EXPECT_EQ(ReadAll(path), ReadAll(Fixture("crash.out")));
    std::remove(path.c_str());
}

}  // namespace
