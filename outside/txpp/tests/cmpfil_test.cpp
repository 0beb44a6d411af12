// The preprocessor pass through its C entry point, on real files.
#include "dump.h"
#include "preprocess.h"
#include "tokens.h"
#include "txpp.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tx_scratch.h"

namespace fs = std::filesystem;

namespace {

std::string ReadFile(const fs::path &p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteFile(const fs::path &p, const std::string &s) {
    std::ofstream out(p, std::ios::binary);
    out << s;
}

class CmpFil : public ::testing::Test {
protected:
    void SetUp() override {
        scratch_.Make("txpp_test", ::testing::UnitTest::GetInstance()->current_test_info()->name());
        dir_ = scratch_.path();
        src_ = (dir_ / "t.bas").string();
        slist_ = (dir_ / "Srclist.tmp").string();
        tcode_ = (dir_ / "Tcode.tmp").string();
        param_.srcfilename = src_.data();
        param_.slist_filename = slist_.data();
        param_.tcode_filename = tcode_.data();
    }
    void TearDown() override { scratch_.Remove(); }

    int Run(const std::string &source) {
        WriteFile(src_, source);
        return PP_CmpFil(&param_);
    }
    std::string Slist() { return ReadFile(slist_); }
    std::string Tcode() { return ReadFile(tcode_); }

    txtest::ScratchDir scratch_;
    fs::path dir_;
    std::string src_, slist_, tcode_;
    CmpFilParam param_{};
};

// Walks the two files as the analyzer reads them: one list line and one
// record at a time; every unit that points into the text must stay inside
// its own line.
struct Walk {
    size_t lines = 0, records = 0;
    std::vector<std::string> problems;
    std::vector<std::string> lineTexts;
    std::vector<std::vector<uint8_t>> recordTokens;
    std::vector<unsigned> lineNumbers;
};

Walk WalkFiles(const std::string &slist, const std::string &tcode) {
    Walk w;
    size_t pos = 0;
    while (pos < slist.size()) {
        size_t nl = slist.find('\n', pos);
        if (nl == std::string::npos) {
            w.problems.push_back("last list line without a line feed");
            nl = slist.size();
        }
        if (nl - pos + 1 > 256) w.problems.push_back("list line over 256 bytes");
        w.lineTexts.push_back(slist.substr(pos, nl - pos));
        pos = nl + 1;
    }
    w.lines = w.lineTexts.size();
    const auto *b = reinterpret_cast<const uint8_t *>(tcode.data());
    for (pos = 0; pos + 4 <= tcode.size();) {
        size_t length = b[pos] | b[pos + 1] << 8;
        w.lineNumbers.push_back(b[pos + 2] | b[pos + 3] << 8);
        if (length < 4 || pos + length > tcode.size()) {
            w.problems.push_back("bad record length");
            break;
        }
        std::vector<uint8_t> tokens(b + pos + 4, b + pos + length);
        const std::string line = w.records < w.lines ? w.lineTexts[w.records] : std::string();
        for (size_t u = 0; u < tokens.size();) {
            const uint8_t *p = tokens.data() + u;
            size_t size = tok::TokenSize(p);
            if (u + size > tokens.size()) {
                w.problems.push_back("unit cut by the record end");
                break;
            }
            if (p[2] + p[3] > static_cast<int>(line.size()))
                w.problems.push_back("unit outside its line: " + line);
            u += size;
        }
        w.recordTokens.push_back(tokens);
        pos += length;
        ++w.records;
    }
    if (pos != tcode.size()) w.problems.push_back("stray bytes after the last record");
    return w;
}

TEST_F(CmpFil, SampleMatchesGoldenDump) {
    std::string sample = ReadFile(TXPP_TEST_DATA "/sample.bas");
    ASSERT_FALSE(sample.empty());
    ASSERT_EQ(Run(sample), 1);
    pp::DumpResult dump = pp::DumpTokenFiles(Slist(), Tcode());
    EXPECT_TRUE(dump.consistent);
    EXPECT_EQ(dump.text, ReadFile(TXPP_TEST_DATA "/sample.tcdump"));

    Walk w = WalkFiles(Slist(), Tcode());
    EXPECT_EQ(w.lines, w.records);
    EXPECT_EQ(w.records, 14u);
    EXPECT_TRUE(w.problems.empty()) << w.problems.front();
}

// Line ends, odd bytes and over-long lines: still one list line per record,
// every unit inside its line, the records numbered by source line.
TEST_F(CmpFil, EveryLineGivesOneRecordInsideItsLine) {
    std::string longLine = "10 PRINT \"" + std::string(300, 'x') + "\"";
    std::string longDbcs = std::string(254, 'a');
    for (int i = 0; i < 10; ++i) longDbcs += "\x8A\xBF";
    std::string source = "A=1\r\nB=2\nC=3\rD=\x1A" "4\r\n" + longLine + "\r\n" + longDbcs + "\r\n" +
                         std::string("X=\"a\0b\"\r\n", 9) + "\r\nPRINT \x82\r\nZ$ = \"" +
                         std::string(240, 'q') + "\"";
    ASSERT_EQ(Run(source), 1);
    Walk w = WalkFiles(Slist(), Tcode());
    EXPECT_TRUE(w.problems.empty()) << w.problems.front();
    ASSERT_EQ(w.records, 10u);
    ASSERT_EQ(w.lines, 10u);
    for (unsigned i = 0; i < w.records; ++i) EXPECT_EQ(w.lineNumbers[i], i + 1);

    EXPECT_EQ(w.lineTexts[3], "D= 4");  // 0x1A reads as a blank
    EXPECT_EQ(w.recordTokens[3].size(), 14u);
    // The long line is cut to 255 bytes; its line number survives the error.
    EXPECT_EQ(w.lineTexts[4], longLine.substr(0, 255));
    EXPECT_EQ(w.recordTokens[4], (std::vector<uint8_t>{0xA1, 0, 0, 2, 0xF0, 2, 255, 0}));
    // A cut never splits a double-byte character.
    EXPECT_EQ(w.lineTexts[5].size(), 254u);
    EXPECT_EQ(w.recordTokens[5], (std::vector<uint8_t>{0xF0, 2, 254, 0}));
    // A control byte is an error and a blank in the listing.
    EXPECT_EQ(w.lineTexts[6], "X=\"a b\"");
    EXPECT_EQ(w.recordTokens[6], (std::vector<uint8_t>{0xF0, 2, 4, 1}));
    EXPECT_TRUE(w.recordTokens[7].empty());
    EXPECT_EQ(w.recordTokens[8], (std::vector<uint8_t>{0xF0, 2, 6, 1}));
    EXPECT_EQ(w.lineTexts[9].size(), 247u);
}

// No precompiled header is written: /Yc says so and the pass goes on; /Yu
// (every project build's) says nothing.
TEST_F(CmpFil, PrecompiledHeaderOptions) {
    char yc[] = "T.PBI";
    param_.Yc_filename = yc;
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(Run("PRINT 1\r\n"), 1);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), std::string(pp::PchNotCreatedText()) + "\n");
    param_.Yc_filename = nullptr;
    char any[] = "*";
    param_.Yu_filename[0] = any;
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(Run("PRINT 1\r\n"), 1);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
}

TEST_F(CmpFil, EmptySourceGivesEmptyFiles) {
    ASSERT_EQ(Run(""), 1);
    EXPECT_EQ(Slist(), "");
    EXPECT_EQ(Tcode(), "");
}

TEST_F(CmpFil, DefaultTypesCarryAcrossLines) {
    ASSERT_EQ(Run("DEFSTR S\r\nSUB P\r\nS = T\r\n"), 1);
    Walk w = WalkFiles(Slist(), Tcode());
    ASSERT_EQ(w.records, 3u);
    EXPECT_EQ(w.recordTokens[2], (std::vector<uint8_t>{0x50, 16, 0, 1, 0x20, 0x20, 2, 1, 0x50, 2, 4, 1}));
}

TEST_F(CmpFil, TooManyLinesIsError24) {
    std::string source;
    for (int i = 0; i < 65536; ++i) source += "\r\n";
    EXPECT_EQ(Run(source), 0);
    EXPECT_EQ(param_.err_code, 24u);
    EXPECT_EQ(param_.err_detail, 0x101u);
    EXPECT_STREQ(param_.err_text, src_.c_str());

    source.resize(source.size() - 2);  // 65535 lines are fine
    param_ = CmpFilParam{};
    SetUp();
    EXPECT_EQ(Run(source), 1);
}

// A source or an included file holds at most 65535 lines of 255 characters;
// a larger one, or a device that never ends, is error 6 naming the file,
// not a read on until memory runs out.
TEST_F(CmpFil, FilesLargerThanTheirLinesAreError6) {
    const std::string line = "'" + std::string(254, 'x') + "\r\n";
    std::string largest;
    largest.reserve(65535 * line.size() + 1);
    for (int i = 0; i < 65535; ++i) largest += line;
    EXPECT_EQ(Run(largest), 1) << param_.err_code;

    WriteFile(dir_ / "big.bi", largest + " ");
    struct Case {
        const char *what;
        std::string path;    // the source
        std::string source;  // written there unless empty
        uint32_t detail;
        std::string name;
    };
    const std::vector<Case> cases = {
        {"source a byte too large", src_, largest + " ", 0x101, src_},
        {"included file a byte too large", src_, "#include \"big.bi\"\r\n", 0x103, "big.bi"},
#ifndef _WIN32
        {"source that never ends", "/dev/zero", "", 0x101, "/dev/zero"},
        {"included file that never ends", src_, "PRINT 1\r\n#include \"/dev/zero\"\r\n", 0x103, "/dev/zero"},
#endif
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        if (!c.source.empty()) WriteFile(c.path, c.source);
        std::string path = c.path;
        param_ = CmpFilParam{};
        param_.srcfilename = path.data();
        param_.slist_filename = slist_.data();
        param_.tcode_filename = tcode_.data();
        EXPECT_EQ(PP_CmpFil(&param_), 0);
        EXPECT_EQ(param_.err_code, 6u);
        EXPECT_EQ(param_.err_detail, c.detail);
        EXPECT_EQ(std::string(param_.err_text), c.name);
    }
}

TEST_F(CmpFil, FileErrorsNameTheFile) {
    struct Case {
        const char *what;
        int file;  // 0 source, 1 source list, 2 token code
        uint32_t detail;
    };
    const Case cases[] = {
        {"source missing", 0, 0x101},
        {"source list not creatable", 1, 0x202},
        {"token code not creatable", 2, 0x203},
    };
    WriteFile(src_, "PRINT 1\r\n");
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        std::string names[3] = {src_, slist_, tcode_};
        names[c.file] = (dir_ / "no such folder" / "x.tmp").string();
        param_ = CmpFilParam{};
        param_.srcfilename = names[0].data();
        param_.slist_filename = names[1].data();
        param_.tcode_filename = names[2].data();
        EXPECT_EQ(PP_CmpFil(&param_), 0);
        EXPECT_EQ(param_.err_code, 11u);
        EXPECT_EQ(param_.err_detail, c.detail);
        EXPECT_EQ(std::string(param_.err_text), names[c.file]);
    }
}

#ifndef _WIN32
TEST_F(CmpFil, WriteFailureIsError12) {
    std::string full = "/dev/full";
    param_.slist_filename = full.data();
    EXPECT_EQ(Run("PRINT 1\r\n"), 0);
    EXPECT_EQ(param_.err_code, 12u);
    EXPECT_EQ(param_.err_detail, 0x202u);
}
#endif

TEST_F(CmpFil, StandardEnvironmentNameBecomesNoFile) {
    char question[] = "?", bet[] = "env.bet";
    param_.S_filenmae = question;
    ASSERT_EQ(Run("END\r\n"), 1);
    EXPECT_EQ(param_.S_filenmae, nullptr);
    param_.S_filenmae = bet;
    ASSERT_EQ(Run("END\r\n"), 1);
    EXPECT_EQ(param_.S_filenmae, bet);
}

TEST(CmpFilEntry, NullBlockIsRefused) { EXPECT_EQ(PP_CmpFil(nullptr), 0); }

}  // namespace

namespace {

// Sets or (with "INCLUDE=") clears the INCLUDE variable of this process.
void SetInclude(const char *assignment) {
#ifdef _WIN32
    _putenv(assignment);
#else
    const char *value = std::strchr(assignment, '=') + 1;
    if (*value)
        setenv("INCLUDE", value, 1);
    else
        unsetenv("INCLUDE");
#endif
}

// The records of a walk as "line:tokens" rows, the list text beside each.
std::vector<std::string> RecordRows(const Walk &w) {
    std::vector<std::string> rows;
    for (size_t r = 0; r < w.records; ++r) {
        std::string row = std::to_string(w.lineNumbers[r]) + ":";
        char hex[4];
        for (size_t k = 0; k < w.recordTokens[r].size() && k < 8; ++k) {
            std::snprintf(hex, sizeof hex, "%02X", w.recordTokens[r][k]);
            row += hex;
        }
        rows.push_back(row + " " + (r < w.lines ? w.lineTexts[r] : std::string()));
    }
    return rows;
}

}  // namespace

// An included file's lines stand between a begin record (statement 04 with
// the name as a string unit) and an end record (05), with their own line
// numbers; the file is found beside the source, along /I, then INCLUDE.
TEST_F(CmpFil, IncludeFilesBetweenTheirMarkers) {
    fs::create_directories(dir_ / "inc" / "deeper");
    fs::create_directories(dir_ / "env");
    WriteFile(dir_ / "near.bi", "A = 1\r\n");
    WriteFile(dir_ / "inc" / "along.bi", "#include \"deeper/in.bi\"\r\nB = 2\r\n");
    WriteFile(dir_ / "inc" / "deeper" / "in.bi", "C = 3");
    WriteFile(dir_ / "env" / "fromenv.bi", "D = 4\r\n");
    std::string inc = (dir_ / "inc").string();
    param_.I_path[0] = inc.data();
    const std::string env = "INCLUDE=" + (dir_ / "nothing").string() + ";" + (dir_ / "env").string();
    SetInclude(env.c_str());
    ASSERT_EQ(Run("#include \"near.bi\"\r\n  #INCLUDE \"along.bi\" ' remark\r\n#include \"fromenv.bi\"\r\nE = 5\r\n"), 1);
    SetInclude("INCLUDE=");
    const Walk w = WalkFiles(Slist(), Tcode());
    EXPECT_TRUE(w.problems.empty());
    // Name units are {50, type, offset, length}; the marker's string unit
    // points at the name between the quotes.
    const std::vector<std::string> want = {
        "1:0004000070100A07 #include \"near.bi\"",
        "1:5002000120200201 A = 1",
        "1:00050000 #include \"near.bi\"",
        "2:0004000070100C08   #INCLUDE \"along.bi\" ' remark",
        "1:0004000070100A0C #include \"deeper/in.bi\"",
        "1:5002000120200201 C = 3",
        "1:00050000 #include \"deeper/in.bi\"",
        "2:5002000120200201 B = 2",
        "2:00050000   #INCLUDE \"along.bi\" ' remark",
        "3:0004000070100A0A #include \"fromenv.bi\"",
        "1:5002000120200201 D = 4",
        "3:00050000 #include \"fromenv.bi\"",
        "4:5002000120200201 E = 5",
    };
    EXPECT_EQ(RecordRows(w), want);
}

TEST_F(CmpFil, IncludeFaultsNameTheFile) {
    struct Case {
        const char *source;
        uint32_t code;
        const char *name;
    };
    WriteFile(dir_ / "self.bi", "#include \"self.bi\"\r\n");
    const Case cases[] = {
        {"PRINT 1\r\n#include \"missing.bi\"\r\n", 11, "missing.bi"},
        {"#include \"self.bi\"\r\n", 14, "self.bi"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.source);
        EXPECT_EQ(Run(c.source), 0);
        EXPECT_EQ(param_.err_code, c.code);
        EXPECT_EQ(param_.err_detail, 0x103u);
        EXPECT_EQ(std::string(param_.err_text), c.name);
    }
}
