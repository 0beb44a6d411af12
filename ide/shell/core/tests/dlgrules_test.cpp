#include "dlgrules.h"
#include "editsettings.h"

#include <gtest/gtest.h>

#include <set>

using namespace tambrix;

namespace {

TEST(NewFile, ProposalSkipsExistingNames) {
    std::set<std::string> files = {"Ruroz1.BAS", "Ruroz2.BAS", "Prj2.MAK"};
    auto exists = [&](const std::string& n) { return files.count(n) > 0; };
    EXPECT_EQ(ProposeNewFileName(false, 1, "BAS", exists), "Ruroz3.BAS");
    EXPECT_EQ(ProposeNewFileName(false, 1, "SUB", exists), "Ruroz1.SUB");
    EXPECT_EQ(ProposeNewFileName(true, 1, "MAK", exists), "Prj1.MAK");
    EXPECT_EQ(ProposeNewFileName(true, 2, "MAK", exists), "Prj3.MAK");
}

TEST(NewFile, KindSwitchRewritesTheName) {
    std::string n = NameForKind("Ruroz3.BAS", kKindOther);
    EXPECT_EQ(n, "Ruroz3");
    EXPECT_EQ(NameForKind(n, kKindSub), "Ruroz3.SUB");
    EXPECT_EQ(NameForKind("A.B.BAS", kKindRc), "A.B.RC");
    EXPECT_EQ(NameStemLength("Ruroz3.BAS"), 6u);
    EXPECT_EQ(NameStemLength("Ruroz3"), 6u);
}

TEST(HotKey, ValuesAndNames) {
    struct Case { uint16_t value; HotKeyChecks checks; const char* name; } cases[] = {
        {0x0641, {true, true, false, false}, "ALT+CTRL+A"},
        {0x0070, {}, "F1"},
        {0x007B, {}, "F12"},
        {0x0F39, {true, true, true, true}, "ALT+CTRL+EXT+SHIFT+9"},
        {0x0100 | 0x5A, {false, false, false, true}, "SHIFT+Z"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        HotKeyChecks k = HotKeyChecksOf(c.value);
        EXPECT_EQ(k.alt, c.checks.alt);
        EXPECT_EQ(k.control, c.checks.control);
        EXPECT_EQ(k.ext, c.checks.ext);
        EXPECT_EQ(k.shift, c.checks.shift);
        EXPECT_EQ(FormatHotKeyName(c.value & 0xFF, k), c.name);
        EXPECT_EQ(HotKeyValueOf(c.value & 0xFF, k), c.value);
    }
    HotKeyChecks all{true, true, true, true};
    EXPECT_EQ(HotKeyValueOf(0, all), 0) << "no key, no modifiers";
    EXPECT_EQ(FormatHotKeyName(0, all), kHotKeyNone);
    EXPECT_EQ(std::string(kHotKeyNone), "(\x82\xC8\x82\xB5)");
}

TEST(ShortString, FitsOrEndsInDots) {
    // Every byte is 1 unit wide; the dots are measured with their zero.
    auto extent = [](std::string_view s) { return static_cast<int>(s.size()); };
    EXPECT_EQ(MakeShortString("ABCDEF", 10, 4, extent), "ABCDEF");
    EXPECT_EQ(MakeShortString("ABCDEFGH", 10, 4, extent), "AB...");
    EXPECT_EQ(MakeShortString("X", 2, 4, extent), "X...") << "one character is kept whatever the width";
    EXPECT_EQ(MakeShortString("", 0, 4, extent), "");
    // A double-byte character goes whole.
    EXPECT_EQ(MakeShortString("A\x8A\xBF" "BCDEF", 9, 3, extent), "A...");
}

TEST(ColorCombo, SortOrder) {
    EXPECT_EQ(CompareColorItems(PaletteColor(3), PaletteColor(3)), 0);
    EXPECT_EQ(CompareColorItems(PaletteColor(0), PaletteColor(15)), -1) << "darker first";
    EXPECT_EQ(CompareColorItems(PaletteColor(15), PaletteColor(0)), 1);
    // Equal sums: the larger blue first, then green, then red.
    EXPECT_EQ(CompareColorItems(PaletteColor(3), PaletteColor(5)), -1);
    EXPECT_EQ(CompareColorItems(PaletteColor(9), PaletteColor(5)), -1);
}

}  // namespace
