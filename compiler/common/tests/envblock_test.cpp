#include "envblock.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "tx_scratch.h"

namespace {

struct ByteRun {
    std::size_t offset;
    std::vector<uint8_t> bytes;
};

// Taken by hand from the layout table: every byte not listed is zero.
const std::vector<ByteRun> kNewDocument = {
    {0, {0xFA, 0x18}},
    {30, {0x00, 0x01}},
    {36, {80}},
    {64, {0x09, 0x01, 0x09, 0x01, 0x09, 0x01, 0x09, 0x01, 0x09, 0x01}},
    {74, {0x11, 0x13}},
    {80, {2, 2, 2, 2, 2}},
    {96, {2, 0, 1}},
    {128, {2, 1}},
    {141, {10}},
};

std::vector<uint8_t> Expand(const std::vector<ByteRun> &runs) {
    std::vector<uint8_t> image(kEnvBlockSize, 0);
    for (const ByteRun &r : runs)
        std::copy(r.bytes.begin(), r.bytes.end(), image.begin() + r.offset);
    return image;
}

std::vector<uint8_t> Bytes(const EnvBlock &b) {
    const auto *p = reinterpret_cast<const uint8_t *>(&b);
    return {p, p + sizeof b};
}

std::string TempPath(const char *name) {
    static const txtest::ScratchDir dir("envblock_test");
    return dir.File(name);
}

void WriteRaw(const std::string &path, const std::vector<uint8_t> &bytes) {
    std::FILE *f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

std::vector<uint8_t> ReadRaw(const std::string &path) {
    std::vector<uint8_t> out;
    std::FILE *f = std::fopen(path.c_str(), "rb");
    if (!f)
        return out;
    int c;
    while ((c = std::fgetc(f)) != EOF)
        out.push_back(static_cast<uint8_t>(c));
    std::fclose(f);
    return out;
}

}  // namespace

TEST(EnvBlock, NewDocumentMatchesLayoutTable) {
    EXPECT_EQ(Bytes(NewEnvBlock()), Expand(kNewDocument));
}

TEST(EnvBlock, BuiltInDiffersFromNewDocumentOnlyWhereTheAnalyzerSays) {
    std::vector<ByteRun> runs = kNewDocument;
    runs.push_back({30, {1, 1}});
    runs.push_back({133, {1}});
    runs.push_back({224, {0x80, 0x80}});
    EXPECT_EQ(Bytes(BuiltInEnvBlock()), Expand(runs));
}

TEST(EnvBlock, FileImageDropsTheReservedTail) {
    EnvBlock b = NewEnvBlock();
    std::memset(b.reserved308, 0xCC, sizeof b.reserved308);
    b.baud_rate[4] = 57600;
    uint8_t image[kEnvBlockSize];
    EnvBlockFileImage(b, image);
    std::vector<uint8_t> want = Expand(kNewDocument);
    want[304] = 0x00;
    want[305] = 0xE1;  // 57600 = 0x0000E100
    EXPECT_EQ(std::vector<uint8_t>(image, image + kEnvBlockSize), want);
}

TEST(EnvBlock, ParseRefusesShortOrUnsignedImages) {
    const std::vector<uint8_t> good = Expand(kNewDocument);
    struct Case {
        const char *name;
        std::vector<uint8_t> image;
        EnvReadStatus want;
    };
    std::vector<uint8_t> longer = good;
    longer.resize(400, 0x77);
    std::vector<uint8_t> unsigned_image = good;
    unsigned_image[1] = 0x19;
    const std::vector<Case> cases = {
        {"exact", good, EnvReadStatus::kOk},
        {"longer", longer, EnvReadStatus::kOk},
        {"empty", {}, EnvReadStatus::kShort},
        {"kept part only", {good.begin(), good.begin() + kEnvBlockKept}, EnvReadStatus::kShort},
        {"one short", {good.begin(), good.end() - 1}, EnvReadStatus::kShort},
        {"no signature", unsigned_image, EnvReadStatus::kBadSignature},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EnvBlock out{};
        std::memset(&out, 0x55, sizeof out);
        EnvReadStatus st = ParseEnvBlock(c.image.data(), c.image.size(), out);
        EXPECT_EQ(st, c.want);
        if (st == EnvReadStatus::kOk)
            EXPECT_EQ(Bytes(out), std::vector<uint8_t>(c.image.begin(), c.image.begin() + kEnvBlockSize));
        else
            EXPECT_EQ(Bytes(out), std::vector<uint8_t>(kEnvBlockSize, 0x55));
    }
}

TEST(EnvBlock, FileRoundTrip) {
    const std::string path = TempPath("tx_envblock_test.bet");
    EnvBlock b = NewEnvBlock();
    b.printer_columns = 132;
    std::memset(b.reserved308, 0xCC, sizeof b.reserved308);
    ASSERT_TRUE(WriteEnvBlockFile(path, b));
    std::vector<uint8_t> written = ReadRaw(path);
    ASSERT_EQ(written.size(), kEnvBlockSize);
    EXPECT_EQ(written[36], 132);
    EXPECT_EQ(written[351], 0);

    EnvBlock back{};
    EXPECT_EQ(ReadEnvBlockFile(path, back), EnvReadStatus::kOk);
    EXPECT_EQ(back.printer_columns, 132);

    WriteRaw(path, {0xFA, 0x18, 0});
    EXPECT_EQ(ReadEnvBlockFile(path, back), EnvReadStatus::kShort);
    std::remove(path.c_str());
    EXPECT_EQ(ReadEnvBlockFile(path, back), EnvReadStatus::kOpenFailed);
}
