#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>

#include "dsg_clip.h"

namespace dsg {
namespace {

ClipEntry Entry(uint32_t kind, const char *name, int32_t x, int32_t y, bool font) {
    ClipEntry e{};
    memset(&e.record, 0, sizeof e.record);
    e.record.kind = kind;
    e.record.x = x, e.record.y = y, e.record.cx = 80, e.record.cy = 24;
    e.record.hwnd = 0x1234;
    SetField(e.record.name, name);
    if (font) {
        e.hasFont = true;
        e.font.height = -14;
        e.font.weight = 700;
        e.font.charSet = 128;
        e.font.face = "Face";
    }
    return e;
}

ClipBlock TwoButtons() {
    ClipBlock b;
    b.sourceForm = 7;
    b.anchorId = 0x101;
    b.selection = {32, 16, 200, 96};
    b.entries = {Entry(kButton, "BUTTON1", 32, 16, true), Entry(kText, "TEXT1", 120, 72, false)};
    return b;
}

uint32_t U32(const std::vector<uint8_t> &b, size_t at) {
    return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 | uint32_t(b[at + 3]) << 24;
}

TEST(Clipboard, BlockLayoutIsFixed) {
    std::vector<uint8_t> b = ClipWrite(TwoButtons());
    ASSERT_EQ(b.size(), 48u + 2 * 328u);
    EXPECT_EQ(std::string(b.begin(), b.begin() + 8), std::string("TX\0\0\x02\x01\xC0\x02", 8));
    EXPECT_EQ(U32(b, 12), 7u);
    EXPECT_EQ(U32(b, 16), 2u);
    EXPECT_EQ(U32(b, 20), 0x101u);
    EXPECT_EQ(U32(b, 24), 32u);
    EXPECT_EQ(U32(b, 36), 96u);
    // Entry 0: the record as it is, then the LOGFONT.
    EXPECT_EQ(U32(b, 48), uint32_t(kButton));
    EXPECT_EQ(U32(b, 48 + 4), 0x1234u);
    EXPECT_STREQ(reinterpret_cast<const char *>(&b[48 + 230]), "BUTTON1");
    EXPECT_EQ(U32(b, 48 + 268), uint32_t(-14));
    EXPECT_EQ(U32(b, 48 + 268 + 16), 700u);
    EXPECT_EQ(b[48 + 268 + 23], 128);
    EXPECT_STREQ(reinterpret_cast<const char *>(&b[48 + 268 + 28]), "Face");
    // Entry 1 has no font: its LOGFONT is all zero.
    for (size_t i = 48 + 328 + 268; i < b.size(); ++i) EXPECT_EQ(b[i], 0) << i;
}

TEST(Clipboard, ReadsBackWhatWasWritten) {
    std::vector<uint8_t> bytes = ClipWrite(TwoButtons());
    ClipBlock back;
    ASSERT_EQ(ClipRead(bytes.data(), bytes.size(), back), 0u);
    ASSERT_EQ(back.entries.size(), 2u);
    EXPECT_EQ(back.anchorId, 0x101u);
    EXPECT_EQ(memcmp(&back.entries[0].record, &TwoButtons().entries[0].record, sizeof(ControlRecord)), 0);
    EXPECT_TRUE(back.entries[0].hasFont);
    EXPECT_EQ(back.entries[0].font.face, "Face");
    EXPECT_EQ(back.entries[0].font.weight, 700);
    EXPECT_FALSE(back.entries[1].hasFont);
    EXPECT_EQ(ClipWrite(back), bytes);
}

TEST(Clipboard, LargeBlocksGoByTheCount) {
    ClipBlock b;
    for (int i = 0; i < 200; ++i) b.entries.push_back(Entry(kButton, "B", i, i, false));
    std::vector<uint8_t> bytes = ClipWrite(b);
    ASSERT_EQ(bytes.size(), 48u + 328u * 200u);
    EXPECT_EQ(bytes[6] | bytes[7] << 8, int((48 + 328 * 200) & 0xFFFF));
    ClipBlock back;
    ASSERT_EQ(ClipRead(bytes.data(), bytes.size(), back), 0u);
    EXPECT_EQ(back.entries.size(), 200u);
}

TEST(Clipboard, PastedDataIsCheckedBeforeUse) {
    std::vector<uint8_t> good = ClipWrite(TwoButtons());
    struct Case {
        const char *what;
        std::function<void(std::vector<uint8_t> &)> spoil;
    };
    const Case cases[] = {
        {"text", [](std::vector<uint8_t> &b) { b.assign({'h', 'e', 'l', 'l', 'o', 0}); }},
        {"header cut", [](std::vector<uint8_t> &b) { b.resize(47); }},
        {"signature", [](std::vector<uint8_t> &b) { b[1] = 'Y'; }},
        {"second word", [](std::vector<uint8_t> &b) { b[2] = 1; }},
        {"count 0", [](std::vector<uint8_t> &b) { b[16] = 0; }},
        {"count 256", [](std::vector<uint8_t> &b) { b[16] = 0, b[17] = 1; }},
        {"entries cut", [](std::vector<uint8_t> &b) { b.pop_back(); }},
        {"count past the data", [](std::vector<uint8_t> &b) { b[16] = 3; }},
        {"kind 2", [](std::vector<uint8_t> &b) { b[48 + 328] = 2; }},
        {"kind 19", [](std::vector<uint8_t> &b) { b[48] = 19; }},
    };
    for (const auto &c : cases) {
        std::vector<uint8_t> b = good;
        c.spoil(b);
        ClipBlock out;
        out.anchorId = 99;
        EXPECT_EQ(ClipRead(b.data(), b.size(), out), kMsgCannotPaste) << c.what;
        EXPECT_EQ(out.anchorId, 99u) << c.what;  // nothing taken over
    }
    ClipBlock out;
    EXPECT_EQ(ClipRead(nullptr, 0, out), kMsgCannotPaste);
    // Kinds 3 and 18 are the ends of the range that pastes.
    std::vector<uint8_t> b = good;
    b[48] = 3, b[48 + 328] = 18;
    EXPECT_EQ(ClipRead(b.data(), b.size(), out), 0u);
}

TEST(Clipboard, NormalisingMovesTheSelectionToTheOrigin) {
    ClipBlock b = TwoButtons();
    ClipNormalise(b);
    EXPECT_EQ(b.selection.left, 0);
    EXPECT_EQ(b.selection.right, 168);
    EXPECT_EQ(b.selection.bottom, 80);
    EXPECT_EQ(b.entries[0].record.x, 0);
    EXPECT_EQ(b.entries[1].record.x, 88);
    EXPECT_EQ(b.entries[1].record.y, 56);
}

}  // namespace
}  // namespace dsg
