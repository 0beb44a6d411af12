// The menu model: numbering and check, the script sections of menus, the
// binary template and building from compiled data.
#include <gtest/gtest.h>

#include "designer_fixtures.h"
#include "dsg_prop.h"
#include "dsg_rcwrite.h"
#include "fake_host.h"

namespace dsg {
namespace {

using test::FakeHost;

struct Row {
    uint32_t level;
    const char *caption;
    const char *name;
    uint16_t flags = 0;
    uint16_t keyFlags = 0, key = 0;
};

MenuBlock Make(std::initializer_list<Row> rows) {
    MenuBlock m;
    SetField(m.header.name, "FormMenu");
    for (auto &r : rows) {
        MenuItem it{};
        it.level = r.level;
        SetField(it.caption, r.caption);
        SetField(it.name, r.name);
        it.flags = r.flags;
        if (r.key) it.hasShortcut = 1, it.keyFlags = r.keyFlags, it.key = r.key;
        m.items.push_back(it);
    }
    m.items.push_back(MenuItem{});
    m.Sync();
    return m;
}

MenuBlock Sample() {
    return Make({
        {0, "\x1E" "F\x1F" "ile", "mnuFile", kMfPopup},
        {1, "Open\tCtrl+O", "mnuOpen", 0, 9, 'O'},
        {1, "", "sep1", kMfSeparator},
        {1, "Recent", "mnuRecent", kMfPopup},
        {2, "One", "mnuOne", kMfChecked},
        {2, "Two", "mnuTwo", kMfGrayed | kMfChecked, 1, 0x70},
        {1, "Quit", "mnuQuit", 0, 5, 'Q'},
        {0, "Help", "mnuHelp"},
    });
}

TEST(MenuNumbering, IdsPositionsAndLastFlags) {
    MenuBlock m = Sample();
    MenuCheck c = MnuCheckAndNumber(m);
    ASSERT_EQ(c.message, 0u) << c.index;
    std::vector<uint32_t> ids, pos;
    // A packed record's field is copied: gtest takes values by reference.
    for (size_t i = 0; i < m.ItemCount(); ++i) ids.push_back(uint32_t{m.items[i].id}), pos.push_back(uint32_t{m.items[i].position});
    EXPECT_EQ(ids, (std::vector<uint32_t>{0, 2048, 32768, 1, 2049, 2050, 2051, 2052}));
    EXPECT_EQ(pos, (std::vector<uint32_t>{0, 0, 1, 2, 0, 1, 3, 1}));
    std::vector<bool> last;
    for (size_t i = 0; i < m.ItemCount(); ++i) last.push_back(m.items[i].flags & kMfEnd);
    EXPECT_EQ(last, (std::vector<bool>{false, false, false, false, false, true, true, true}));
    EXPECT_EQ(m.items[1].keyCommand, 2048);
}

TEST(MenuObjects, FormMenuItemsFollowTheControls) {
    Form f;
    f.table.resize(2);
    SetField(f.table[0].name, "MAINFORM");  // the form's id 0 is also the first popup's number
    f.table[1].kind = kButton, f.table[1].id = 200;
    SetField(f.table[1].name, "CMD1");
    MenuList l;
    l.menus.resize(2);
    l.menus[1].block = Sample();
    ASSERT_EQ(MnuCheckAndNumber(l.menus[1].block).message, 0u);
    std::string seen;
    for (const auto &o : PropObjectItems(f, l)) seen += o.name + ":" + std::to_string(o.data & 0xFFFF) + " ";
    EXPECT_EQ(seen, "MAINFORM:0 CMD1:3 ");  // no menu on the form
    f.menu = 1;
    seen.clear();
    std::vector<ObjectItem> items = PropObjectItems(f, l);
    for (const auto &o : items) seen += o.name + ":" + std::to_string(o.data & 0xFFFF) + " ";
    EXPECT_EQ(seen, "MAINFORM:0 CMD1:3 mnuFile:21 mnuOpen:20 sep1:22 mnuRecent:21 mnuOne:20 mnuTwo:20 mnuQuit:20 "
                    "mnuHelp:20 ");
    // Each menu entry leads back to its record; the form's entry, though it
    // carries the first popup's number, to none.
    for (size_t i = 2; i < items.size(); ++i) EXPECT_EQ(PropFindMenuItem(f, l, items[i].data), int(i - 2)) << items[i].name;
    EXPECT_EQ(items[0].data >> 16, items[2].data >> 16);
    EXPECT_EQ(PropFindMenuItem(f, l, items[0].data), -1);
    EXPECT_EQ(PropFindMenuItem(f, l, ObjectData(2099, kMenuItemKind)), -1);
}

TEST(MenuNumbering, EachRuleWithItsRecord) {
    struct Case { const char *what; MenuBlock m; uint32_t message; int32_t index; } cases[] = {
        {"first below the bar", Make({{1, "A", "a"}}), kMsgMenuItem, 0},
        {"empty caption", Make({{0, "A", "a", kMfPopup}, {1, "", "b"}}), kMsgMenuItem, 1},
        {"separator on the bar", Make({{0, "", "a", kMfSeparator}}), kMsgMenuItem, 0},
        {"too deep after a popup", Make({{0, "A", "a", kMfPopup}, {2, "B", "b"}}), kMsgMenuItem, 1},
        {"separator popup", Make({{0, "A", "a", kMfPopup | kMfSeparator}, {1, "B", "b"}}), kMsgSeparatorPopup, 0},
        {"same shortcut", Make({{0, "A", "a", kMfPopup}, {1, "B", "b", 0, 9, 'O'}, {1, "C", "c", 0, 9, 'O'}}),
         kMsgShortcutTwice, 2},
        {"shortcut on a popup", Make({{0, "A", "a", kMfPopup, 9, 'O'}, {1, "B", "b"}}), kMsgShortcutPopup, 0},
        {"shortcut on the bar", Make({{0, "A", "a", 0, 9, 'O'}}), kMsgShortcutTop, 0},
        {"same name", Make({{0, "A", "a", kMfPopup}, {1, "B", "b"}, {1, "C", "A"}}), kMsgNameUsed, 2},
        {"no name", Make({{0, "A", "a", kMfPopup}, {1, "B", ""}}), kMsgNoName, 1},
        {"bad name", Make({{0, "A", "a b"}}), kMsgBadName, 0},
    };
    for (auto &c : cases) {
        MenuCheck r = MnuCheckAndNumber(c.m);
        EXPECT_EQ(r.message, c.message) << c.what;
        EXPECT_EQ(r.index, c.index) << c.what;
    }
}

TEST(MenuList, NamesAndEmptyMenus) {
    MenuList l;
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(l.CreateNew(0));
    EXPECT_EQ(l.menus[0].block.Name(), "FormMenu");
    EXPECT_EQ(l.menus[1].block.Name(), "Menu2");
    EXPECT_EQ(l.menus[2].block.Name(), "Menu3");
    EXPECT_EQ(l.menus[0].block.ItemCount(), 0u);
    EXPECT_EQ(l.Find("menu2"), 1);
    for (int i = 3; i < 16; ++i) ASSERT_TRUE(l.CreateNew(0));
    EXPECT_FALSE(l.CreateNew(0));
}

TEST(MenuScript, GoldenSections) {
    FakeHost host;
    Document doc;
    MenuEntry &e = *doc.menus.CreateNew(0);
    e.block = Sample();
    ASSERT_EQ(MnuCheckAndNumber(e.block).message, 0u);
    doc.menus.RenewEvents(0);
    e.events.Find(2050)->entries[0].proc = "Recent_Two";
    std::string out;
    uint32_t msg = 0;
    ASSERT_TRUE(RcWriteMenus(host, doc, out, msg));
    const std::string golden =
        "// 'FormMenu' menu template ===\r\n"
        "FormMenu MENU\r\n"
        "BEGIN\r\n"
        "\tPOPUP \"\\036F\\037ile\"\r\n"
        "\tBEGIN\r\n"
        "\t\tMENUITEM \"Open\tCtrl+O\",\t0x800\r\n"
        "\t\tMENUITEM SEPARATOR\r\n"
        "\t\tPOPUP \"Recent\"\r\n"
        "\t\tBEGIN\r\n"
        "\t\t\tMENUITEM \"One\",\t0x801, CHECKED\r\n"
        "\t\t\tMENUITEM \"Two\",\t0x802, CHECKED, GRAYED\r\n"
        "\t\tEND\r\n"
        "\t\tMENUITEM \"Quit\",\t0x803\r\n"
        "\tEND\r\n"
        "\tMENUITEM \"Help\",\t0x804\r\n"
        "END\r\n"
        "\r\n"
        "// 'FormMenu' Accelerator template ===\r\n"
        "FormMenu ACCELERATORS\r\n"
        "BEGIN\r\n"
        "\t0x4f,\t0x800,\tVIRTKEY, CONTROL\r\n"
        "\t0x70,\t0x802,\tVIRTKEY\r\n"
        "\t0x51,\t0x803,\tVIRTKEY, SHIFT\r\n"
        "END\r\n"
        "\r\n"
        "// 'FormMenu' Menu control name ==========\r\n"
        "FormMenu RCDATA\r\n"
        "BEGIN\r\n"
        "\t// RCDATAITEMHEADER\r\n"
        "\t\"TX\", 2\r\n"
        "\t__BEGIN\r\n"
        "\t\t__MENUCTRLNAME, 0x0,\t\"mnuFile\\0\"\r\n\r\n"
        "\t\t__MENUCTRLNAME, 0x800,\t\"mnuOpen\\0\"\r\n\r\n"
        "\t\t__MENUCTRLNAME, 0x8000,\t\"sep1\\0\"\r\n"
        "\t\t__MENUCTRLNAME, 0x1,\t\"mnuRecent\\0\"\r\n\r\n"
        "\t\t__MENUCTRLNAME, 0x801,\t\"mnuOne\\0\"\r\n\r\n"
        "\t\t__MENUCTRLNAME, 0x802,\t\"mnuTwo\\0\"\r\n"
        "\t\t__EVENT, __BEGIN\r\n"
        "\t\t\t__EV_ON, \"Recent_Two\\0\"\r\n"
        "\t\t__END\r\n\r\n"
        "\t\t__MENUCTRLNAME, 0x803,\t\"mnuQuit\\0\"\r\n\r\n"
        "\t\t__MENUCTRLNAME, 0x804,\t\"mnuHelp\\0\"\r\n\r\n"
        "\t__END\r\n"
        "END\r\n"
        "\r\n";
    EXPECT_EQ(out, golden);
}

TEST(MenuScript, AcceleratorRowsByFlags) {
    struct Case { uint16_t flags, key; const char *row; } cases[] = {
        {0, 'O', "\t\"O\",\t0x800,\tVIRTKEY, CONTROL\r\n"},
        {0, '"', "\t\"\"\"\",\t0x800,\tVIRTKEY, CONTROL\r\n"},
        {13, 'S', "\t0x53,\t0x800,\tVIRTKEY, CONTROL, SHIFT\r\n"},
        {0x11, 'X', "\t0x58,\t0x800,\tVIRTKEY, ALT\r\n"},
        {0x10, 'X', "\t\r\n"},
    };
    for (auto &c : cases) {
        FakeHost host;
        Document doc;
        MenuEntry &e = *doc.menus.CreateNew(0);
        e.block = Make({{0, "A", "a", kMfPopup}, {1, "B", "b", 0, c.flags, c.key}});
        MnuCheckAndNumber(e.block);
        e.block.items[1].keyFlags = c.flags;  // a shortcut given as flags 0 too
        std::string out;
        uint32_t msg;
        RcWriteMenus(host, doc, out, msg);
        size_t at = out.find("ACCELERATORS\r\nBEGIN\r\n");
        ASSERT_NE(at, std::string::npos);
        at += 21;
        EXPECT_EQ(out.substr(at, out.find("END", at) - at), c.row) << c.flags;
    }
}

TEST(MenuScript, EmptyMenuHasNamesListOnly) {
    FakeHost host;
    Document doc;
    doc.menus.CreateNew(0);
    std::string out;
    uint32_t msg;
    ASSERT_TRUE(RcWriteMenus(host, doc, out, msg));
    EXPECT_EQ(out,
              "// 'FormMenu' menu template ===\r\nFormMenu MENU\r\nBEGIN\r\nEND\r\n\r\n"
              "// 'FormMenu' Menu control name ==========\r\nFormMenu RCDATA\r\nBEGIN\r\n"
              "\t// RCDATAITEMHEADER\r\n\t\"TX\", 2\r\n\t__BEGIN\r\n\t__END\r\nEND\r\n\r\n");
}

TEST(MenuTemplate, BinaryGolden) {
    FakeHost host;
    MenuBlock m = Make({{0, "File", "f", kMfPopup}, {1, "Op", "o"}, {1, "", "s", kMfSeparator}, {0, "\x82\xa0", "h"}});
    ASSERT_EQ(MnuCheckAndNumber(m).message, 0u);
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(RcBuildMenuTemplate(host, m, bytes));
    const std::vector<uint8_t> golden = {
        0, 0, 0, 0,
        0x10, 0, 'F', 0, 'i', 0, 'l', 0, 'e', 0, 0, 0,
        0, 0, 0x00, 0x08, 'O', 0, 'p', 0, 0, 0,
        0x80, 0, 0x00, 0x80, 0, 0,
        0x80, 0, 0x01, 0x08, 0x42, 0x30, 0, 0,  // あ is U+3042
    };
    EXPECT_EQ(bytes, golden);
}

TEST(MenuFromResource, SixteenBitTemplateAndWideAccelerators) {
    FakeHost host;
    MenuList l;
    ASSERT_TRUE(MnuFromResource(host, l, "M", kMenu16, sizeof kMenu16, false, 0));
    MenuBlock &m = l.menus[0].block;
    ASSERT_EQ(m.ItemCount(), 4u);
    EXPECT_EQ(uint32_t{m.items[0].id}, 0u);
    EXPECT_EQ(uint32_t{m.items[3].level}, 1u);
    // A 32-bit accelerator table of 3 entries (24 bytes) sets 3 shortcuts.
    const uint8_t acc[24] = {9, 0, 'O', 0, 0x00, 0x08, 0, 0, 1, 0, 0x70, 0, 0x01, 0x08, 0, 0,
                             0x85, 0, 'Q', 0, 0x01, 0x08, 0, 0};
    m.items[2].flags = 0;
    m.items[2].id = 2050;
    uint8_t fixed[24];
    memcpy(fixed, acc, 24);
    fixed[20] = 0x02;
    MnuApplyAccel(l, "m", fixed, 24, true);
    int shortcuts = 0;
    for (auto &it : m.items) shortcuts += it.hasShortcut;
    EXPECT_EQ(shortcuts, 3);
    EXPECT_EQ(m.items[1].keyFlags, 9);
    EXPECT_EQ(m.items[2].keyFlags, 5) << "high bit dropped";
    // Control names: read into the menu; damaged lists end the walk safely.
    MenuList named;
    ASSERT_TRUE(MnuFromResource(host, named, "M", kMenu16, sizeof kMenu16, false, 0));
    ASSERT_TRUE(MnuApplyNames(named, "M", kNames16, sizeof kNames16));
    EXPECT_EQ(FieldText(named.menus[0].block.items[3].name, 22), "mnuQuit");
    EXPECT_EQ(FieldText(named.menus[0].block.items[2].name, 22), "sep1");
    uint32_t rng = 99;
    for (int round = 0; round < 2000; ++round) {
        MenuList l3;
        MnuFromResource(host, l3, "M", kMenu16, sizeof kMenu16, false, 0);
        std::vector<uint8_t> d(kNames16, kNames16 + sizeof kNames16);
        rng = rng * 1103515245u + 12345u;
        d[6 + (rng >> 8) % (d.size() - 6)] = uint8_t(rng >> 24);
        d.resize(d.size() - (rng >> 4) % 3);
        MnuApplyNames(l3, "M", d.data(), d.size());
    }
    // A damaged template is refused, not read past its end.
    for (size_t cut = 5; cut < sizeof kMenu16; ++cut) {
        MenuList l2;
        EXPECT_FALSE(MnuFromResource(host, l2, "M", kMenu16, cut, false, 0)) << cut;
    }
}

}  // namespace
}  // namespace dsg
