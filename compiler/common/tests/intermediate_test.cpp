#include "intermediate.h"
#include "intermediate_dump.h"

#include <gtest/gtest.h>

#include <vector>

using namespace ifile;

namespace {

using Bytes = std::vector<uint8_t>;

void Append(Bytes &b, std::initializer_list<int> v) {
    for (int x : v) b.push_back(uint8_t(x));
}

}  // namespace

// Bytes written out by hand from the header layout.
TEST(IntermediateHeader, EncodesEveryFieldLittleEndian) {
    Header h;
    h.module_flag = 1;
    h.trap_bits = 3;
    h.data_size = 0x12345678;
    h.stream_size = 0x25;
    for (int i = 0; i < 10; ++i) h.table_size[i] = 0x100 * (i + 1) + i;
    auto b = EncodeHeader(h);
    const uint8_t want[64] = {
        0xFB, 0x01, 0x06, 0x00, 0x0A, 0x00, 0x03, 0x00,  //
        0x78, 0x56, 0x34, 0x12, 0x25, 0x00, 0x00, 0x00,  //
        0x00, 0x01, 0x00, 0x00, 0x01, 0x02, 0x00, 0x00,  //
        0x02, 0x03, 0x00, 0x00, 0x03, 0x04, 0x00, 0x00,  //
        0x04, 0x05, 0x00, 0x00, 0x05, 0x06, 0x00, 0x00,  //
        0x06, 0x07, 0x00, 0x00, 0x07, 0x08, 0x00, 0x00,  //
        0x08, 0x09, 0x00, 0x00, 0x09, 0x0A, 0x00, 0x00,  //
        0, 0, 0, 0, 0, 0, 0, 0};
    for (int i = 0; i < 64; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(b[i], want[i]);
    }
    Header back = DecodeHeader(b.data());
    EXPECT_EQ(back.module_flag, 1);
    EXPECT_EQ(back.trap_bits, 3);
    EXPECT_EQ(back.data_size, 0x12345678u);
    EXPECT_EQ(back.stream_size, 0x25u);
    EXPECT_EQ(back.table_size, h.table_size);
}

TEST(IntermediateHeader, EmptyModuleStartsFB00060000A) {
    auto b = EncodeHeader(Header{});
    const uint8_t want[6] = {0xFB, 0x00, 0x06, 0x00, 0x0A, 0x00};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(b[i], want[i]) << i;
    for (int i = 6; i < 64; ++i) EXPECT_EQ(b[i], 0) << i;
}

// Every non-zero byte of the built-in block, from its description; all the
// rest must be zero.
TEST(BuiltinEnvBlock, MatchesByteForByte) {
    struct { int offset; uint8_t value; } nonzero[] = {
        {0, 0xFA}, {1, 0x18}, {30, 1}, {31, 1}, {36, 80},
        {64, 0x09}, {65, 0x01}, {66, 0x09}, {67, 0x01}, {68, 0x09}, {69, 0x01},
        {70, 0x09}, {71, 0x01}, {72, 0x09}, {73, 0x01}, {74, 0x11}, {75, 0x13},
        {80, 2}, {81, 2}, {82, 2}, {83, 2}, {84, 2}, {96, 2}, {98, 1},
        {128, 2}, {129, 1}, {133, 1}, {141, 10}, {224, 0x80}, {225, 0x80},
    };
    std::array<uint8_t, 352> want{};
    for (auto &n : nonzero) want[n.offset] = n.value;
    const auto &got = BuiltinEnvBlock();
    ASSERT_EQ(got.size(), 352u);
    for (int i = 0; i < 352; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(got[i], want[i]);
    }
}

TEST(IntermediateLayout, TablesFollowPaddedStreamInIndexOrder) {
    Header h;
    h.stream_size = 21;        // padded by 11
    h.table_size[0] = 32;      // a multiple of 16: no padding
    h.table_size[1] = 0;       // empty: takes no room
    h.table_size[2] = 13;      // padded by 3
    h.table_size[9] = 1;
    EXPECT_EQ(TableOffset(h, 0), 416u + 32);
    EXPECT_EQ(TableOffset(h, 1), 416u + 32 + 32);
    EXPECT_EQ(TableOffset(h, 2), 416u + 32 + 32);
    EXPECT_EQ(TableOffset(h, 3), 416u + 32 + 32 + 16);
    EXPECT_EQ(TableOffset(h, 9), 416u + 32 + 32 + 16);
    EXPECT_EQ(FileSize(h), 416u + 32 + 32 + 16 + 16);

    Header none;
    EXPECT_EQ(TableOffset(none, 0), 416u);
    EXPECT_EQ(FileSize(none), 416u);
}

TEST(IntermediateLayout, SplitRefusesFilesShorterThanTheHeaderSays) {
    Header h;
    h.stream_size = 8;
    h.table_size[4] = 40;
    Bytes file(416 + 16 + 48);
    auto hdr = EncodeHeader(h);
    std::copy(hdr.begin(), hdr.end(), file.begin());
    Layout lay;
    std::string err;
    ASSERT_TRUE(SplitFile(file.data(), file.size(), &lay, &err)) << err;
    EXPECT_EQ(lay.stream - file.data(), 416);
    EXPECT_EQ(lay.table[4] - file.data(), 432);
    EXPECT_FALSE(SplitFile(file.data(), file.size() - 1, &lay, &err));
    EXPECT_FALSE(SplitFile(file.data(), 415, &lay, &err));

    // A header whose sizes add up past 4 GiB must not wrap round.
    h.table_size[0] = 0xFFFFFFF0u;
    h.table_size[1] = 0x20;
    hdr = EncodeHeader(h);
    std::copy(hdr.begin(), hdr.end(), file.begin());
    EXPECT_FALSE(SplitFile(file.data(), file.size(), &lay, &err));
}

// The generator's token-length table, case by case.
TEST(StreamTokens, LengthByKindAndSecondByte) {
    struct Case { Bytes bytes; uint32_t length; } cases[] = {
        {{0x00, 0x2A}, 18}, {{0x00, 0x31}, 14}, {{0x00, 0x35}, 14},
        {{0x00, 0x32}, 7},  {{0x00, 0x38}, 7},  {{0x00, 0x3F}, 11},
        {{0x00, 0x40}, 10}, {{0x00, 0x7B}, 6},  {{0x00, 0x80}, 2},
        {{0x00, 0x14}, 2},  {{0x00, 0x02}, 2},  {{0x10, 0xF0}, 2},
        {{0x20, 0x13}, 2},  {{0x40, 0x36}, 3},  {{0x41, 0x01}, 6},
        {{0x42, 0x01}, 7},  {{0x43, 0x01}, 11}, {{0x4F, 0x00}, 2},
        {{0x50, 0x00}, 7},  {{0x51, 0x00}, 6},  {{0x60, 0x01}, 7},
        {{0x61, 0x01}, 6},  {{0x62, 0x00}, 7},  {{0x6F, 0x00}, 2},
        {{0x70, 0}, 4},     {{0x70, 1}, 6},     {{0x70, 2}, 6},
        {{0x70, 3}, 10},    {{0x70, 4}, 3},     {{0x70, 8}, 4},
        {{0x70, 9}, 6},     {{0x70, 16}, 6},    {{0x70, 17}, 2},
        {{0x70, 65}, 2},    {{0xA0, 0x00}, 6},  {{0xA1, 0x00}, 6},
        {{0xA1, 0x10}, 2},  {{0xA2, 0x00}, 10}, {{0xA2, 0x01}, 6},
        {{0xB0, 0x01}, 2},  {{0xB5, 0x40}, 2},  {{0xBE, 0x00}, 2},
        {{0xBF, 0x00}, 2},  {{0xF1, 0x00}, 2},  {{0xF2, 0x00}, 2},
    };
    for (auto &c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << int(c.bytes[0]) << " " << int(c.bytes[1]));
        Bytes room = c.bytes;
        room.resize(32);
        EXPECT_EQ(TokenLength(room.data(), room.size()), c.length);
        // Exactly the token's bytes are enough; one fewer is not.
        EXPECT_EQ(TokenLength(room.data(), c.length), c.length);
        EXPECT_EQ(TokenLength(room.data(), c.length - 1), 0u);
    }
    const uint8_t unknown[] = {0x70, 5, 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(TokenLength(unknown, sizeof unknown), 0u);
    const uint8_t one[] = {0xBF};
    EXPECT_EQ(TokenLength(one, 1), 0u);
}

namespace {

// A record by hand: head, tokens, F1 00; the length is filled in.
Bytes MakeRecord(uint16_t line, std::initializer_list<int> tokens) {
    Bytes r = {0, 0, uint8_t(line), uint8_t(line >> 8)};
    Append(r, tokens);
    Append(r, {0xF1, 0x00});
    r[0] = uint8_t(r.size());
    r[1] = uint8_t(r.size() >> 8);
    return r;
}

Bytes MakeStream(std::initializer_list<Bytes> records) {
    Bytes s;
    for (auto &r : records) s.insert(s.end(), r.begin(), r.end());
    Append(s, {0, 0, 0, 0});
    return s;
}

}  // namespace

TEST(StreamWalker, WalksRecordsTokenByTokenToTheEndMark) {
    // 10: X% = 1 + Y%      20: PRINT "A"; : GOTO 10      30: SUB entry
    Bytes r1 = MakeRecord(10, {0x00, 0x80,                          //
                               0xB0, 0x00, 0x50, 0x00, 0x01, 4, 0, 0, 0, 0xBF, 0x00,
                               0x20, 0x00,                          //
                               0xB1, 0x00, 0x70, 0x00, 1, 0,        //
                               0x50, 0x00, 0x01, 6, 0, 0, 0, 0x20, 0x13, 0xBF, 0x00});
    Bytes r2 = MakeRecord(20, {0x00, 0x90, 0xB0, 0x10, 0x70, 0x10, 0, 0, 0, 0, 0xBF, 0x00,
                               0xF2, 0x00, 0x00, 0x70, 0xA1, 0x00, 0, 0, 0, 0});
    Bytes r3 = MakeRecord(30, {0x00, 0x35, 0, 0, 0, 0, 0x10, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF});
    Bytes s = MakeStream({r1, r2, r3});

    StreamWalker w(s.data(), s.size());
    Record rec;
    ASSERT_EQ(w.Next(&rec), StreamWalker::kRecord) << w.error();
    EXPECT_EQ(rec.offset, 0u);
    EXPECT_EQ(rec.line, 10);
    EXPECT_EQ(rec.length, r1.size());
    std::vector<uint32_t> want1 = {4, 6, 8, 15, 17, 19, 21, 25, 32, 34, 36};
    EXPECT_EQ(rec.tokens, want1);

    ASSERT_EQ(w.Next(&rec), StreamWalker::kRecord) << w.error();
    EXPECT_EQ(rec.line, 20);
    uint32_t b = uint32_t(r1.size());
    std::vector<uint32_t> want2 = {b + 4, b + 6, b + 8, b + 14, b + 16, b + 18, b + 20, b + 26};
    EXPECT_EQ(rec.tokens, want2);

    ASSERT_EQ(w.Next(&rec), StreamWalker::kRecord) << w.error();
    EXPECT_EQ(rec.line, 30);
    EXPECT_EQ(rec.tokens.size(), 2u);
    EXPECT_EQ(w.Next(&rec), StreamWalker::kEnd);
    EXPECT_EQ(w.Next(&rec), StreamWalker::kEnd);
}

TEST(StreamWalker, EmptyStreamHasNoRecordsAndNoEndMark) {
    StreamWalker w(nullptr, 0);
    Record rec;
    EXPECT_EQ(w.Next(&rec), StreamWalker::kEnd);

    // A record holding only its end item.
    Bytes s = MakeStream({MakeRecord(1, {})});
    StreamWalker w2(s.data(), s.size());
    ASSERT_EQ(w2.Next(&rec), StreamWalker::kRecord);
    EXPECT_EQ(rec.tokens, std::vector<uint32_t>{4});
    EXPECT_EQ(w2.Next(&rec), StreamWalker::kEnd);
}

TEST(StreamWalker, RefusesBrokenStreamsWithoutReadingPastThem) {
    Bytes good = MakeRecord(5, {0x00, 0x1A});
    struct Case { const char *name; Bytes stream; } cases[] = {
        {"no end mark", good},
        {"end mark cut short", [&] { Bytes s = good; Append(s, {0, 0}); return s; }()},
        {"bytes after the end mark", [&] { Bytes s = MakeStream({good}); Append(s, {0}); return s; }()},
        {"high half of the end mark set", [&] { Bytes s = good; Append(s, {0, 0, 1, 0}); return s; }()},
        {"record shorter than head and end item", MakeStream({Bytes{4, 0, 1, 0}})},
        {"record longer than the stream", [&] { Bytes s = MakeStream({good}); s[0] = 40; return s; }()},
        {"end item before the record's end",
         [&] { Bytes r = MakeRecord(5, {0x00, 0x1A}); Append(r, {0x20, 0x13}); r[0] += 2; return MakeStream({r}); }()},
        {"token runs past the record", MakeStream({Bytes{8, 0, 1, 0, 0x50, 0, 1, 0}})},
        {"constant of unknown type", MakeStream({MakeRecord(5, {0x70, 0x05, 0, 0})})},
        {"record without end item", MakeStream({Bytes{8, 0, 1, 0, 0x00, 0x1A, 0x20, 0x13}})},
    };
    for (auto &c : cases) {
        SCOPED_TRACE(c.name);
        // Copy into a buffer of exactly the stream's size so that a read
        // past it shows under a sanitizer.
        std::unique_ptr<uint8_t[]> exact(new uint8_t[c.stream.size()]);
        std::copy(c.stream.begin(), c.stream.end(), exact.get());
        StreamWalker w(exact.get(), c.stream.size());
        Record rec;
        StreamWalker::Step step;
        int guard = 0;
        while ((step = w.Next(&rec)) == StreamWalker::kRecord && ++guard < 10) {
        }
        EXPECT_EQ(step, StreamWalker::kError);
        EXPECT_FALSE(w.error().empty());
    }
}

TEST(IntermediateDump, EmptyModuleIsHeaderAndBuiltinBlock) {
    Bytes file(416);
    auto hdr = EncodeHeader(Header{});
    std::copy(hdr.begin(), hdr.end(), file.begin());
    std::copy(BuiltinEnvBlock().begin(), BuiltinEnvBlock().end(), file.begin() + 64);
    std::string out, err;
    ASSERT_TRUE(DumpFile(file.data(), file.size(), &out, &err)) << err;
    EXPECT_EQ(out, "header: FB 00 06 00 0A 00 flag=0 trap=0 data=0 stream=0\n"
                   "tables: 0 0 0 0 0 0 0 0 0 0\n"
                   "env: built-in\n");
    file.push_back(0);
    EXPECT_FALSE(DumpFile(file.data(), file.size(), &out, &err));
}

TEST(IntermediateDump, RecordsByTokenAndTablesInHex) {
    Header h;
    h.stream_size = 12;
    h.table_size[2] = 17;
    Bytes file(416 + 16 + 32);
    auto hdr = EncodeHeader(h);
    std::copy(hdr.begin(), hdr.end(), file.begin());
    const uint8_t rec[] = {8, 0, 3, 0, 0x00, 0x1A, 0xF1, 0x00, 0, 0, 0, 0};
    std::copy(rec, rec + sizeof rec, file.begin() + 416);
    for (int i = 0; i < 17; ++i) file[432 + i] = uint8_t(i);
    std::string out, err;
    ASSERT_TRUE(DumpFile(file.data(), file.size(), &out, &err)) << err;
    EXPECT_NE(out.find("env:\n  0000: 00 00"), std::string::npos);
    EXPECT_NE(out.find("line 3: 00 1A | F1 00\n"), std::string::npos);
    EXPECT_NE(out.find("table 2:\n  0000: 00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F\n  0010: 10\n"),
              std::string::npos);
}
