// Shared pieces of the driver tests: a scratch folder per test, the
// expected-output files, a command-line splitter and fake passes.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#ifdef _WIN32
#include <direct.h>
#else
#include <sys/stat.h>
#endif

#include "driver.h"
#include "passerror.h"

namespace txcl_test {

namespace fs = std::filesystem;

inline std::string ReadFile(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// A file of "== name" blocks (already in code page 932): the text of each
// block is every line up to the next "== " line. Lines before the first
// block are a comment.
inline std::map<std::string, std::string> ReadBlocks(const std::string &file) {
    std::string text = ReadFile(std::string(TXCL_TEST_DATA) + "/" + file);
    EXPECT_FALSE(text.empty()) << file;
    std::map<std::string, std::string> blocks;
    std::string *current = nullptr;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        end = end == std::string::npos ? text.size() : end + 1;
        std::string line = text.substr(pos, end - pos);
        if (line.rfind("== ", 0) == 0) {
            std::string name = line.substr(3);
            while (!name.empty() && (name.back() == '\n' || name.back() == '\r'))
                name.pop_back();
            current = &blocks[name];
        } else if (current) {
            *current += line;
        }
        pos = end;
    }
    return blocks;
}

// Splits a command line the way the C runtime does for the simple cases a
// make script writes: blanks separate, double quotes group and vanish.
inline std::vector<std::string> SplitCommandLine(const std::string &line) {
    std::vector<std::string> args;
    std::string cur;
    bool quoted = false, any = false;
    for (char c : line) {
        if (c == '"') {
            quoted = !quoted;
            any = true;
        } else if (c == ' ' && !quoted) {
            if (any)
                args.push_back(cur);
            cur.clear();
            any = false;
        } else {
            cur += c;
            any = true;
        }
    }
    if (any)
        args.push_back(cur);
    return args;
}

// What the fake passes do, and what they saw.
struct FakeChain {
    int failingPass = -1;  // index 0..2, or -1 for none
    int result = 0;        // what the failing pass returns
    uint32_t code = 0, detail = 0;
    std::string text;
    bool rawText = false;  // fill err_text with text unterminated
    int calls = 0;
    std::vector<std::string> tempNames;  // names seen by the first pass
    bool tempsEmpty = true;
};

inline FakeChain g_chain;

inline int RunFake(int index, CmpFilParam *p) {
    ++g_chain.calls;
    if (index == 0) {
        for (const char *name : {p->slist_filename, p->tcode_filename, p->pcode_filename}) {
            g_chain.tempNames.push_back(name ? name : "");
            std::error_code ec;
            if (!name || !fs::exists(name, ec) || fs::file_size(name, ec) != 0)
                g_chain.tempsEmpty = false;
        }
    }
    if (index != g_chain.failingPass)
        return 1;
    if (g_chain.rawText) {
        p->err_code = g_chain.code;
        p->err_detail = g_chain.detail;
        std::memcpy(p->err_text, g_chain.text.data(), sizeof p->err_text);
    } else {
        tx::StorePassError(*p, g_chain.code, g_chain.detail, g_chain.text.c_str());
    }
    return g_chain.result;
}

inline int FakePP(CmpFilParam *p) { return RunFake(0, p); }
inline int FakeSC(CmpFilParam *p) { return RunFake(1, p); }
inline int FakeCG(CmpFilParam *p) { return RunFake(2, p); }

inline txcl::PassSet FakePasses() {
    return txcl::PassSet{{{{"Txpp.dll", FakePP}, {"Txsc.dll", FakeSC}, {"Txcg.dll", FakeCG}}}};
}

struct RunResult {
    int exitCode;
    std::string output;
};

inline RunResult RunTxcl(const std::vector<std::string> &args) {
    std::vector<const char *> argv{"txcl"};
    for (const std::string &a : args)
        argv.push_back(a.c_str());
    RunResult r;
    txcl::Console console(&r.output);
    r.exitCode = txcl::TxclMain(static_cast<int>(argv.size()), argv.data(), FakePasses(), console);
    return r;
}

inline void SetEnv(const char *name, const std::string &value) {
#ifdef _WIN32
    _putenv_s(name, value.c_str());
#else
    setenv(name, value.c_str(), 1);
#endif
}

#ifdef _WIN32
constexpr char kSeparator = '\\';
inline void MakeFolder(const char *name) { ASSERT_EQ(_mkdir(name), 0) << name; }
#else
constexpr char kSeparator = '/';
inline void MakeFolder(const char *name) { ASSERT_EQ(mkdir(name, 0777), 0) << name; }
#endif

inline void CreateFileWith(const std::string &name, const std::string &bytes) {
    // Narrow names on purpose: on Windows they go through code page 932,
    // like the driver's own.
    FILE *f = std::fopen(name.c_str(), "wb");
    ASSERT_NE(f, nullptr) << name;
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

// Each test runs in a folder of its own (with "tmp" as TMP) and leaves it.
class ScratchTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto *info = ::testing::UnitTest::GetInstance()->current_test_info();
        home_ = fs::current_path();
        dir_ = home_ / (std::string("scratch_") + info->test_suite_name() + "_" + info->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_ / "tmp");
        fs::create_directories(dir_ / "sub");
        fs::current_path(dir_);
        SetEnv("TMP", (dir_ / "tmp").string());
        g_chain = FakeChain{};
    }
    void TearDown() override {
        fs::current_path(home_);
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
    // Names in a folder, sorted.
    static std::vector<std::string> Listing(const fs::path &folder) {
        std::vector<std::string> names;
        for (const auto &e : fs::directory_iterator(folder))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    fs::path home_, dir_;
};

}  // namespace txcl_test
