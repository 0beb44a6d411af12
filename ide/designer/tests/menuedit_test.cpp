#include <gtest/gtest.h>

#include "dsg_menuedit.h"
#include "dsg_model.h"

namespace dsg {
namespace {

MenuBlock Menu(std::initializer_list<uint32_t> levels) {
    MenuBlock m;
    SetField(m.header.name, "MAINMENU");
    m.AppendEmpty();  // the closing record
    for (uint32_t l : levels) {
        m.Insert(m.items.size() - 1);
        m.items[m.items.size() - 2].level = l;
    }
    return m;
}

TEST(MenuEdit, ShortcutTableAndItsInverse) {
    const auto &t = ShortcutTable();
    ASSERT_EQ(t.size(), 76u);
    EXPECT_EQ(t[0].text, "(\x82\xC8\x82\xB5)");
    EXPECT_EQ(t[74].text, "Shift+Ctrl+F12");
    MenuItem it{};
    MnuSetShortcut(it, 74);
    EXPECT_EQ(it.hasShortcut, 1u);
    EXPECT_EQ(it.keyFlags, 13);
    EXPECT_EQ(it.key, 123);
    // Every entry maps back to its own index.
    for (int i = 0; i < 76; ++i) {
        MenuItem x{};
        MnuSetShortcut(x, i);
        EXPECT_EQ(ShortcutIndex(x), i) << t[size_t(i)].text;
    }
    MnuSetShortcut(it, 0);
    EXPECT_EQ(it.hasShortcut, 0u);
}

TEST(MenuEdit, CaptionRoundTrips) {
    struct Case { CaptionFields f; const char *text; };
    const Case cases[] = {
        {{"Open", 'O', "", true, "Ctrl+O"}, "Open(&O)...\tCtrl+O"},
        {{"\x8A\x4A\x82\xAD", 'O', "\xB5", false, ""}, "\x8A\x4A\x82\xAD(\x1EO\x1F\xB5)"},
        {{"Exit", 0, "", false, ""}, "Exit"},
        {{"A(b)", 0, "", true, ""}, "A(b)..."},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(CaptionBuild(c.f), c.text);
        CaptionFields back = CaptionParse(c.text);
        EXPECT_EQ(back.text, c.f.text) << c.text;
        EXPECT_EQ(back.key, c.f.key) << c.text;
        EXPECT_EQ(back.kana, c.f.kana) << c.text;
        EXPECT_EQ(back.dialog, c.f.dialog) << c.text;
        EXPECT_EQ(back.shortcut, c.f.shortcut) << c.text;
    }
    EXPECT_EQ(CaptionParse("Save\t\tCtrl+S").shortcut, "Ctrl+S");
}

TEST(MenuEdit, IndentingMakesTheItemAboveAPopup) {
    MenuBlock m = Menu({0, 0, 0});
    MnuLevelDown(m, 1);
    EXPECT_TRUE(m.items[0].flags & kMenuPopup);
    // A packed record's field is copied: gtest takes values by reference.
    EXPECT_EQ(uint32_t{m.items[0].popup}, 1u);
    EXPECT_EQ(uint32_t{m.items[1].level}, 1u);
    // Back out: the popup has lost its only child.
    MnuLevelUp(m, 1);
    EXPECT_FALSE(m.items[0].flags & kMenuPopup);
    // The first record cannot go in; the closing row neither.
    MnuLevelDown(m, 0);
    EXPECT_EQ(uint32_t{m.items[0].level}, 0u);
    MnuLevelDown(m, 3);
    EXPECT_EQ(uint32_t{m.items[3].level}, 0u);
    // A record with a deeper follower becomes a popup when it moves out.
    MenuBlock n = Menu({0, 1, 2});
    n.items[1].flags = kMenuPopup, n.items[1].popup = 1;
    MnuLevelUp(n, 2);  // 2 -> 1: now level with record 1, which loses its child
    EXPECT_FALSE(n.items[1].flags & kMenuPopup);
}

TEST(MenuEdit, TypingOnTheClosingRowAddsARow) {
    MenuBlock m = Menu({0});
    ASSERT_EQ(m.ItemCount(), 1u);
    EXPECT_TRUE(MnuTypeInto(m, 0));
    EXPECT_EQ(m.ItemCount(), 1u);
    EXPECT_TRUE(MnuTypeInto(m, 1));  // " ***"
    EXPECT_EQ(m.ItemCount(), 2u);
    EXPECT_EQ(m.header.count, 3u);
}

TEST(MenuEdit, OkNeedsANameAndItems) {
    MenuBlock m = Menu({0});
    EXPECT_EQ(MnuEditCheck(m), 0u);
    SetField(m.header.name, "");
    EXPECT_EQ(MnuEditCheck(m), kMsgNoMenuName);
    MenuBlock empty = Menu({});
    EXPECT_EQ(MnuEditCheck(empty), kMsgNoMenuItems);
}

}  // namespace
}  // namespace dsg
