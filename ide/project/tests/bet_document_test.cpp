#include "bet_document.h"

#include <gtest/gtest.h>

#include "bet_port.h"
#include "fakes.h"
#include "project_fixtures.h"

namespace prj::test {
namespace {

TEST(BetDocument, NewDocumentSavedAtOnceIsTheGoldenFile) {
    EXPECT_EQ(BetFileImage(NewEnvBlock()), kGoldenNewBet);
}

TEST(BetDocument, FilesWithoutTheWholeSignedRecordAreRefused) {
    std::vector<uint8_t> unsigned_file = kGoldenNewBet;
    unsigned_file[0] = 0;
    const std::vector<std::pair<const char *, std::vector<uint8_t>>> cases = {
        {"empty", {}},
        {"signature only", {0xFA, 0x18}},
        {"the kept part only", {kGoldenNewBet.begin(), kGoldenNewBet.begin() + 308}},
        {"one byte short", {kGoldenNewBet.begin(), kGoldenNewBet.end() - 1}},
        {"no signature", unsigned_file},
    };
    for (const auto &[name, file] : cases) {
        SCOPED_TRACE(name);
        RecordingMessages messages;
        EnvBlock record = NewEnvBlock();
        record.printer_columns = 99;
        EXPECT_FALSE(ReadBetFile(file, "C:\\ENV\\A.BET", record, messages));
        EXPECT_EQ(record.printer_columns, 99);
        const std::vector<ShownMessage> shown = {{kMsgReadFailed, kMbIconHand, "C:\\ENV\\A.BET"}};
        EXPECT_EQ(messages.shown, shown);
    }
}

TEST(BetDocument, LongerFileOpensAndSavesAs352Bytes) {
    std::vector<uint8_t> file = kGoldenNewBet;
    file[36] = 132;
    file[300] = 0x2C;  // rate of port 3: 300 bps
    file[301] = 0x01;
    file[310] = 0xEE;  // reserved: dropped
    file.resize(500, 0x77);
    RecordingMessages messages;
    EnvBlock record{};
    ASSERT_TRUE(ReadBetFile(file, "A.BET", record, messages));
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(BaudIndexOf(record, 3), 0);
    std::vector<uint8_t> want = kGoldenNewBet;
    want[36] = 132;
    want[300] = 0x2C;
    want[301] = 0x01;
    EXPECT_EQ(BetFileImage(record), want);
}

}  // namespace
}  // namespace prj::test
