#include "editsettings.h"

#include <gtest/gtest.h>

using namespace tambrix;
using fw::RegRoot;
using fw::RegValue;

namespace {

TEST(EditorSettings, MissingKeyGivesTheDefaults) {
    fw::FakeRegistry reg;
    EditorSettings s;
    s.Tab = 4;
    EXPECT_FALSE(LoadEditorSettings(reg, s, 120));
    EditorSettingsCopy c{};
    CopyEditorSettings(s, c);
    EXPECT_EQ(c.tab, 8u);
    EXPECT_EQ(c.wrap, 0u);
    EXPECT_EQ(c.lineNo, 1u);
    EXPECT_EQ(c.checkMode, 3u);
    EXPECT_EQ(c.errMsg, 1u);
    EXPECT_STREQ(c.face, "FixedSys");
    EXPECT_EQ(c.fontSize, 120);
    EXPECT_EQ(c.foreColor, 0u);
    EXPECT_EQ(c.backColor, 15u);
}

TEST(EditorSettings, ValuesReadAndOutOfRangeOnesKeepDefaults) {
    struct Case { const char* name; RegValue value; uint32_t tab, fore, back; } cases[] = {
        {"Tab", RegValue::Dword(4), 4, 0, 15},
        {"Tab", RegValue::Dword(0), 8, 0, 15},
        {"Tab", RegValue::Dword(5), 8, 0, 15},
        {"ForeColor", RegValue::Dword(5), 8, 5, 15},
        {"ForeColor", RegValue::Dword(16), 8, 0, 15},
        {"BackColor", RegValue::Dword(0xFFFFFFFF), 8, 0, 15},
        {"BackColor", RegValue::String("3"), 8, 0, 15},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fw::FakeRegistry reg;
        reg.Write(RegRoot::CurrentUser, kEditorKey, c.name, c.value);
        EditorSettings s;
        EXPECT_TRUE(LoadEditorSettings(reg, s, 90));
        EXPECT_EQ(s.Tab, c.tab);
        EXPECT_EQ(s.ForeColor, c.fore);
        EXPECT_EQ(s.BackColor, c.back);
    }
}

TEST(EditorSettings, CheckModeAndRoundTrip) {
    fw::FakeRegistry reg;
    EditorSettings s;
    SetDefaultEditorSettings(s, 100);
    s.Tab = 4;
    s.Comp = true;
    s.ErrMsg = false;
    s.LineNo = false;
    s.FontFace = "MS Gothic";
    s.ForeColor = 2;
    s.BackColor = 14;
    ASSERT_TRUE(SaveEditorSettings(reg, s));
    EXPECT_EQ(reg.ValueCount(RegRoot::CurrentUser, kEditorKey), 9u);
    EditorSettings t;
    ASSERT_TRUE(LoadEditorSettings(reg, t, 0));
    EditorSettingsCopy c{};
    CopyEditorSettings(t, c);
    EXPECT_EQ(c.tab, 4u);
    EXPECT_EQ(c.checkMode, 1u);
    EXPECT_EQ(c.lineNo, 0u);
    EXPECT_STREQ(c.face, "MS Gothic");
    EXPECT_EQ(c.fontSize, 100);
    EXPECT_EQ(c.foreColor, 2u);
    EXPECT_EQ(c.backColor, 14u);
    t.Comp = false;
    t.ErrMsg = true;
    CopyEditorSettings(t, c);
    EXPECT_EQ(c.checkMode, 0u);

    fw::FakeRegistry locked;
    locked.Lock(RegRoot::CurrentUser, kEditorKey);
    EXPECT_FALSE(SaveEditorSettings(locked, s));
}

TEST(EditorSettings, ColourTableAndFontSize) {
    EXPECT_EQ(PaletteColor(0), 0x02000000u);
    EXPECT_EQ(PaletteColor(5), 0x020000FFu);
    EXPECT_EQ(PaletteColor(15), 0x02FFFFFFu);
    EXPECT_EQ(ColorIndexOf(PaletteColor(14)), 14);
    EXPECT_EQ(ColorIndexOf(0x02123456u), -1);
    EXPECT_EQ(std::string(kColorTable[1].name), "\x88\xC3\x82\xA2\x8A\x44\x90\x46");
    EXPECT_EQ(FontSizeOfHeight(-16, 96), 120);
    EXPECT_EQ(FontSizeOfHeight(-13, 96), 97);
    EXPECT_EQ(FontSizeOfHeight(16, 96), 120) << "a stock font's positive cell height";
}

}  // namespace
