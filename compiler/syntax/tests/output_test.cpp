// The intermediate file and the work files as the whole pass leaves them:
// an empty module, the environment block, the module flag, and no work
// file left behind on success or on a fatal exit.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "intermediate.h"
#include "sc_driver.h"
#include "sc_output.h"
#include "tx_scratch.h"

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<uint8_t>;

Bytes ReadBytes(const fs::path &p) {
    std::ifstream f(p, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

void WriteBytes(const fs::path &p, const Bytes &b) {
    std::ofstream f(p, std::ios::binary);
    f.write(reinterpret_cast<const char *>(b.data()), std::streamsize(b.size()));
}

// The variables that name the temporary folder, set to `dir`; an empty
// value removes the variable.
#ifdef _WIN32
const char *const kTempVars[] = {"TMP", "TEMP"};
#else
const char *const kTempVars[] = {"TMPDIR"};
#endif

void SetTempVar(const char *name, const std::string &value) {
#ifdef _WIN32
    _putenv_s(name, value.c_str());
#else
    if (value.empty()) unsetenv(name);
    else setenv(name, value.c_str(), 1);
#endif
}

// A scratch folder that is also the temporary folder while a test runs.
struct Scratch : testing::Test {
    txtest::ScratchDir scratch;
    fs::path dir;
    std::vector<std::string> saved;
    char src[64] = "EMPTY.BAS";
    std::string sl, tc, pc, env, xref;
    CmpFilParam param{};

    void SetUp() override {
        // Its own folder per process: test programs run side by side, and
        // another one removing this folder would pull the temporary folder
        // away from under this one.
        scratch.Make("txsc_out", testing::UnitTest::GetInstance()->current_test_info()->name());
        dir = scratch.path();
        for (const char *v : kTempVars) {
            const char *old = std::getenv(v);
            saved.push_back(old ? old : "");
            SetTempVar(v, dir.string());
        }
        sl = (dir / "Srclist.tmp").string();
        tc = (dir / "Tcode.tmp").string();
        pc = (dir / "Pcode.tmp").string();
        WriteBytes(sl, {});
        WriteBytes(tc, {});
        param.srcfilename = src;
        param.slist_filename = sl.data();
        param.tcode_filename = tc.data();
        param.pcode_filename = pc.data();
    }
    void TearDown() override {
        for (size_t i = 0; i < saved.size(); ++i) SetTempVar(kTempVars[i], saved[i]);
        scratch.Remove();
    }
    int Run() {
        testing::internal::CaptureStdout();
        int r = txsc::CompileModule(&param);
        testing::internal::GetCapturedStdout();
        return r;
    }
    bool WorkFilesLeft() const {
        for (const auto &e : fs::directory_iterator(dir))
            if (e.path().filename().string().rfind("$SC", 0) == 0) return true;
        return false;
    }
};

}  // namespace

TEST_F(Scratch, EmptyModuleIsHeaderAndBuiltinBlock) {
    ASSERT_EQ(Run(), 1) << param.err_code;
    Bytes got = ReadBytes(pc);
    ASSERT_EQ(got.size(), 416u);
    Bytes want(64, 0);
    want[0] = 0xFB, want[2] = 0x06, want[4] = 0x0A;
    want.insert(want.end(), ifile::BuiltinEnvBlock().begin(), ifile::BuiltinEnvBlock().end());
    EXPECT_EQ(got, want);
    EXPECT_FALSE(WorkFilesLeft());
}

TEST_F(Scratch, EnvironmentFileIsCopiedWhole) {
    Bytes bet(400);
    for (size_t i = 0; i < bet.size(); ++i) bet[i] = uint8_t(i * 7);
    bet[0] = 0xFA, bet[1] = 0x18;
    env = (dir / "X.BET").string();
    WriteBytes(env, bet);
    param.S_filenmae = env.data();
    ASSERT_EQ(Run(), 1) << param.err_code;
    Bytes got = ReadBytes(pc);
    ASSERT_EQ(got.size(), 416u);
    EXPECT_EQ(Bytes(got.begin() + 64, got.end()), Bytes(bet.begin(), bet.begin() + 352));
}

TEST_F(Scratch, SubModuleSetsTheFlag) {
    std::snprintf(src, sizeof src, "%s", "FORM1.frm");
    ASSERT_EQ(Run(), 1);
    EXPECT_EQ(ReadBytes(pc).at(1), 1);
}

TEST_F(Scratch, NoWorkFileLeftAfterAFatalExit) {
    // A token record too short for its own head: the pass stops with the
    // work files (statement and cross reference) already created.
    WriteBytes(sl, {'E', 'N', 'D', '\n'});
    WriteBytes(tc, {2, 0, 1, 0});
    xref = (dir / "EMPTY.XRF").string();
    param.Fx_filename = xref.data();
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(param.err_code, 14u);
    EXPECT_EQ(param.err_detail, 0x203u);
    EXPECT_FALSE(WorkFilesLeft());
}

TEST(ModuleFlag, SubOrFrmAnywhereInTheName) {
    struct Case {
        const char *name;
        uint8_t flag;
    } cases[] = {
        {"PROG.BAS", 0},         {"prog.sub", 1},          {"FORM1.Frm", 1},      {"C:FORM1.FRM", 1},
        {"DIR.SUB/PROG.BAS", 1}, {"dir.frm\\PROG.BAS", 1}, {"A.SUB.BAS", 1},      {"PROG.SUBX", 1},
        {"PROG", 0},             {".SUB", 1},              {"X.FRM/", 1},         {"SUB.BAS", 0},
        {"PROG.SU", 0},          {"PROG.S\x82\xA0UB", 0},
    };
    for (const Case &c : cases) EXPECT_EQ(txsc::ModuleFlagOf(c.name), c.flag) << c.name;
    EXPECT_EQ(txsc::ModuleFlagOf(nullptr), 0);
}
