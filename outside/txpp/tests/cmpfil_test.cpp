// The preprocessor pass through its C entry point, on real files.
#include "dump.h"
#include "preprocess.h"
#include "tokens.h"
#include "txpp.h"

#include <gtest/gtest.h>

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
