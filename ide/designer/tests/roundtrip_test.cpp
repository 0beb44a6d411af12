// Write -> compile -> read -> write: the second script must equal the first.
// The compiled bytes come from the script compiler, not from our writer.
#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

#include "dsg_formdata.h"
#include "dsg_rcwrite.h"
#include "dsg_resread.h"
#include "fake_host.h"
#include "rc_compile.h"
#include "sjis_path.h"

namespace dsg {
namespace {

using test::FakeHost;

const char kScript[] = "C:\\W\\APP.RC";

class RoundTrip : public ::testing::Test {
protected:
    std::string dir;
    void SetUp() override {
        if (!test::HaveScriptCompiler()) GTEST_SKIP() << "no script compiler";
        dir = "/tmp/dsg_rt_" + std::to_string(getpid()) + "_" +
              ::testing::UnitTest::GetInstance()->current_test_info()->name();
        std::system(("rm -rf '" + dir + "' && mkdir -p '" + dir + "'").c_str());
    }
    void TearDown() override {
        if (!dir.empty()) std::system(("rm -rf '" + dir + "'").c_str());
    }
    void Put(const std::string &name, const std::vector<uint8_t> &bytes) {
        std::ofstream(dir + "/" + name, std::ios::binary).write(reinterpret_cast<const char *>(bytes.data()),
                                                                std::streamsize(bytes.size()));
    }
    // Writes, compiles and reads back; returns the second script.
    std::string Again(const std::string &first, Document &back, FakeHost &host2) {
        Put("app.rc", std::vector<uint8_t>(first.begin(), first.end()));
        std::string log;
        EXPECT_TRUE(test::CompileScript(dir + "/app.rc", dir + "/app.res", log)) << log;
        std::ifstream in(dir + "/app.res", std::ios::binary);
        std::vector<uint8_t> res((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        EXPECT_TRUE(RcLoadCompiled(host2, back, res, kScript, "C:\\W")) << host2.messages.size();
        std::string second;
        EXPECT_TRUE(RcWrite(host2, back, kScript, second).ok);
        return second;
    }
};

std::vector<uint8_t> Le(std::initializer_list<std::pair<uint32_t, int>> fields) {
    std::vector<uint8_t> b;
    for (auto [v, n] : fields)
        for (int i = 0; i < n; ++i) b.push_back(uint8_t(v >> (8 * i)));
    return b;
}

// A one-pixel 32-bit icon or cursor image and a 2 x 1 bitmap.
std::vector<uint8_t> IconFile(uint16_t type) {
    auto b = Le({{0, 2}, {type, 2}, {1, 2}, {1, 1}, {1, 1}, {0, 1}, {0, 1}, {1, 2}, {32, 2}, {48, 4}, {22, 4}});
    auto dib = Le({{40, 4}, {1, 4}, {2, 4}, {1, 2}, {32, 2}, {0, 4}, {8, 4}, {0, 4}, {0, 4}, {0, 4}, {0, 4},
                   {0xFF0000, 4}, {0, 4}});
    b.insert(b.end(), dib.begin(), dib.end());
    return b;
}
std::vector<uint8_t> BitmapFile() {
    return Le({{0x4D42, 2}, {62, 4}, {0, 4}, {54, 4}, {40, 4}, {2, 4}, {1, 4}, {1, 2}, {24, 2}, {0, 4}, {8, 4},
               {0, 4}, {0, 4}, {0, 4}, {0, 4}, {0xFF, 4}, {0xFF00, 4}});
}

TEST_F(RoundTrip, HeaderNamesAreTheItemCodes) {
    // Every name of the item table compiled through tq70form.h gives its code.
    std::string rc = "#include \"tq70form.h\"\r\nN RCDATA\r\nBEGIN\r\n";
    std::vector<uint8_t> expect;
    size_t n = 0;
    for (const FormItemName *r = kFormItems; r->code != 0xFFFFFFFFu; ++r, ++n) {
        rc += std::string(n ? ",\r\n\t" : "\t") + r->name;
        expect.push_back(uint8_t(r->code)), expect.push_back(uint8_t(r->code >> 8));
    }
    for (int e = 0; e < kEventCount; ++e) {
        rc += std::string(",\r\n\t") + kEventNames[e].keyword;
        expect.push_back(uint8_t(100 + e)), expect.push_back(0);
    }
    rc += ",\r\n\tXWT_MCI, XSW3_SHOWMAXIMIZED, MAP_TWIPS, RDRW_BITMAP\r\nEND\r\n";
    auto tail = Le({{17, 4}, {3, 4}, {6, 2}, {1, 2}});
    expect.insert(expect.end(), tail.begin(), tail.end());
    Put("names.rc", std::vector<uint8_t>(rc.begin(), rc.end()));
    std::string log;
    ASSERT_TRUE(test::CompileScript(dir + "/names.rc", dir + "/names.res", log)) << log;
    std::ifstream in(dir + "/names.res", std::ios::binary);
    std::vector<uint8_t> res((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    Document doc;
    ASSERT_EQ(ProbeRes(res, doc), ResLayout::Win32);
    // Read the entry's data without the keeping step's signature rule.
    ASSERT_GE(res.size(), 32u + 8);
    uint32_t size = res[32] | res[33] << 8 | res[34] << 16 | uint32_t(res[35]) << 24;
    uint32_t head = res[36] | res[37] << 8 | res[38] << 16 | uint32_t(res[39]) << 24;
    std::vector<uint8_t> data(res.begin() + 32 + head, res.begin() + 32 + head + size);
    EXPECT_EQ(data, expect);
}

TEST_F(RoundTrip, EmptyDocument) {
    FakeHost host, host2;
    Document doc, back;
    std::string first;
    ASSERT_TRUE(RcWrite(host, doc, kScript, first).ok);
    EXPECT_EQ(Again(first, back, host2), first);
    EXPECT_EQ(back.version, 6);
    EXPECT_EQ(back.version2, 16);
}

TEST_F(RoundTrip, MainFormWithEveryControlKind) {
    FakeHost host, host2;
    Document doc, back;
    Form *f = FrmCreateNew(host, doc, nullptr, false);
    ASSERT_TRUE(f);
    ControlRecord &fr = f->table[0];
    host.SetText(fr.hwnd, "\x83\x74\x83\x40\x83\x43\x83\x8b \"1\"");  // ファイル "1"
    fr.area[fa::textColor] = 2, fr.area[fa::foreColor] = 5, fr.area[fa::backColor] = 3;
    fr.area[fa::attribute] = 1, fr.area[fa::bufferColumns] = 100, fr.area[fa::bufferRows] = 30;
    fr.area[fa::gridSnap] = 0, fr.area[fa::clipboard] = 0, fr.area[fa::form3D] = 1;
    fr.hotKey = 0x0241, fr.showState = kWsMaximize, fr.axis = 0x3128, fr.cursorId = 32515;
    f->events.Find(0)->entries[5].proc = "ON_CLICK_FORM";
    for (uint32_t kind = kButton; kind <= kMci; ++kind) {
        ControlRecord *c = CtlCreate(host, doc, *f, kind, int32_t(kind * 10), int32_t(kind * 12));
        ASSERT_TRUE(c) << kind;
        SetField(c->name, prj::UpperSb("C" + std::to_string(kind) + "_" + kKindTable[kind].prefix));
        for (auto &e : f->events.Find(c->id)->entries) e.proc = DefaultProcName(FieldText(c->name, 22), e.event, true);
        c->attributes = kind == kButton ? uint32_t(kCaGroup) : kind == kRadio ? uint32_t(kCaLocked) : 0u;
        c->style |= kind == kEdit ? 0x4 : 0;
        if (kind <= kText) host.SetText(c->hwnd, kind == kEdit ? "C:\\new\r\nline 2" : "T" + std::to_string(kind));
        if (c->font) {
            LogFont lf;
            host.GetFont(c->font, lf);
            lf.weight = 700, lf.italic = kind & 1, lf.underline = kind == kCombo, lf.face = "Arial";
            host.DeleteFont(c->font);
            c->font = host.MakeFont(lf);
        }
        switch (kind) {
        case kCheck: c->value = 2; break;
        case kRadio: c->value = 1; break;
        case kButton: c->area[ca::ctlTextColor] = kPalette[4]; break;
        case kEdit: c->maxLength = 200, c->imeMode = 3; break;
        case kList: host.SetListItems(c->hwnd, {"one", "t\\wo", ""}); break;
        case kCombo: host.SetListItems(c->hwnd, {"x"}); break;
        case kHScroll:
            c->area[sa::minimum] = uint32_t(-10), c->area[sa::maximum] = 10, c->area[sa::position] = 3;
            c->area[sa::smallChange] = 2, c->area[sa::largeChange] = uint32_t(-5);
            c->area[sa::ctlBackColor] = kPalette[9];
            break;
        case kVScroll: c->area[sa::ctlBackColor] = 0x123456; break;
        case kPicture:
            c->area[pa::mapMode] = 3, c->area[pa::redrawMode] = 0, c->area[pa::textColor] = 1;
            c->area[pa::backColor] = 6, c->area[pa::attribute] = 0;
            break;
        case kBmpButton:
            SetField(AreaText(*c, ba::bitmapName), 16, "PIC");
            c->area[ba::buttonStyle] = 0x20000, c->area[ba::frameA] = 3, c->area[ba::frameB] = 4;
            c->area[ba::frameSizeA] = 5, c->area[ba::frameSizeB] = 6, c->area[ba::drawInterval] = 40;
            c->area[ba::buttonState] = 0, c->area[ba::position] = 2;
            SetField(AreaText(*c, ba::tooltip), 24, "tip \\ here");
            break;
        case kTimer: c->area[ta::enabled] = 0, c->area[ta::interval] = 250; break;
        default: break;
        }
    }
    f->events.Find(kButton * 1024)->entries[0].proc = "MYPROC";
    std::string first;
    ASSERT_TRUE(RcWrite(host, doc, kScript, first).ok);
    ASSERT_NE(first.find("\t\t__EV_ON, \"MYPROC\\0\"\r\n"), std::string::npos);
    std::string second = Again(first, back, host2);
    EXPECT_EQ(second, first);
    ASSERT_EQ(back.forms.size(), 1u);
    const ControlRecord &scroll = back.forms[0].table[kHScroll - 2];
    EXPECT_EQ(int32_t(scroll.area[sa::minimum]), -10);
    EXPECT_EQ(host2.GetText(back.forms[0].table[kEdit - 2].hwnd), "C:\\new\r\nline 2");
}

TEST_F(RoundTrip, MenusAndResourceFiles) {
    FakeHost host, host2;
    Document doc, back;
    Put("APP.ICO", IconFile(1));
    Put("HAND.CUR", IconFile(2));
    Put("PIC.BMP", BitmapFile());
    doc.List(kListIcon).Append("C:\\W\\APP.ICO");
    doc.List(kListBitmap).Append("C:\\W\\PIC.BMP");
    doc.List(kListCursor).Append("C:\\W\\HAND.CUR");
    for (const char *name : {"FORMMENU", "MENU2"}) {
        MenuEntry &e = *doc.menus.CreateNew(0);
        SetField(e.block.header.name, name);
        MenuBlock &m = e.block;
        m.items.clear();
        auto add = [&](uint32_t level, const char *caption, const char *item, uint16_t flags, uint16_t kf = 0,
                       uint16_t key = 0) {
            MenuItem it{};
            it.level = level;
            SetField(it.caption, caption);
            SetField(it.name, std::string(item) + name[0]);
            it.flags = flags;
            if (key) it.hasShortcut = 1, it.keyFlags = kf, it.key = key;
            m.items.push_back(it);
        };
        add(0, "\x1E" "F\x1F\xcc\xa7\xb2\xd9", "mnuFile", kMfPopup);  // (F ﾌｧｲﾙ)
        add(1, "Open\tCtrl+O", "mnuOpen", 0, 9, 'O');
        add(1, "", "sep", kMfSeparator);
        add(1, "More", "mnuMore", kMfPopup);
        add(2, "Checked", "mnuChk", kMfChecked, 5, 0x70);
        add(2, "Grey \"q\"", "mnuGrey", kMfGrayed, 0x19, 'G');
        add(1, "\x83\x74\x83\x40\x83\x43\x83\x8b", "mnuJp", 0);
        add(0, "Help", "mnuHelp", 0);
        m.items.push_back(MenuItem{});
        m.Sync();
        ASSERT_EQ(MnuCheckAndNumber(m).message, 0u);
        doc.menus.RenewEvents(int(doc.menus.menus.size() - 1));
        e.events.Find(2048)->entries[0].proc = "OpenFile";
    }
    Form *f = FrmCreateNew(host, doc, nullptr, false);
    f->menu = 0;
    doc.menus.menus[0].uses = 1;
    SetField(AreaText(f->table[0], fa::iconName), 16, "APP");
    doc.List(kListIcon).AddRef("APP");
    SetField(f->table[0].cursorName, "HAND");
    ControlRecord *pic = CtlCreate(host, doc, *f, kBmpButton, 0, 0);
    SetField(AreaText(*pic, ba::bitmapName), 16, "PIC");
    std::string first;
    ASSERT_TRUE(RcWrite(host, doc, kScript, first).ok);
    std::string second = Again(first, back, host2);
    EXPECT_EQ(second, first);
    ASSERT_EQ(back.menus.menus.size(), 2u);
    EXPECT_EQ(back.menus.menus[0].uses, 1u);
    EXPECT_EQ(back.List(kListIcon).entries[0].uses, 1);
    EXPECT_EQ(back.List(kListBitmap).entries[0].uses, 1);
    EXPECT_EQ(back.List(kListCursor).entries[0].uses, 1);
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(RcBuildMenuTemplate(host2, back.menus.menus[0].block, bytes));
}

TEST_F(RoundTrip, ShiftJisTrailBackslash) {
    // ソ (83 5C) and 表 (95 5C) end in a backslash byte: written raw, compiled
    // as text and read back unchanged beside a real backslash.
    const std::string so = "\x83\x5c", hyo = "\x95\x5c";
    FakeHost host, host2;
    Document doc, back;
    Form *f = FrmCreateNew(host, doc, nullptr, false);
    ASSERT_TRUE(f);
    host.SetText(f->table[0].hwnd, so + hyo);
    ASSERT_TRUE(CtlCreate(host, doc, *f, kText, 10, 10));
    ControlRecord *l = CtlCreate(host, doc, *f, kList, 10, 40);
    ASSERT_TRUE(l);
    // Adding the list box may have moved the table: the text box is the record before it.
    ControlRecord *t = l - 1;
    // Bold fonts: a control's font rows read back onto the system font.
    for (ControlRecord *c : {t, l}) {
        LogFont lf;
        host.GetFont(c->font, lf);
        lf.weight = 700;
        host.DeleteFont(c->font);
        c->font = host.MakeFont(lf);
    }
    host.SetText(t->hwnd, hyo + "\\" + so);
    host.SetListItems(l->hwnd, {hyo, so + "\\\\", "\"" + hyo + "\""});
    MenuEntry &e = *doc.menus.CreateNew(0);
    SetField(e.block.header.name, "MAINMENU");
    e.block.items.clear();
    MenuItem it{};
    SetField(it.caption, hyo + "\x1E" "H\x1F");
    SetField(it.name, "mnuHyo");
    e.block.items.push_back(it);
    e.block.items.push_back(MenuItem{});
    e.block.Sync();
    ASSERT_EQ(MnuCheckAndNumber(e.block).message, 0u);
    doc.menus.RenewEvents(0);
    std::string first;
    ASSERT_TRUE(RcWrite(host, doc, kScript, first).ok);
    ASSERT_NE(first.find("\"" + so + hyo + "\\0\""), std::string::npos) << first;
    std::string second = Again(first, back, host2);
    EXPECT_EQ(second, first);
    ASSERT_EQ(back.forms.size(), 1u);
    const Form &b = back.forms[0];
    EXPECT_EQ(host2.GetText(b.table[0].hwnd), so + hyo);
    ASSERT_EQ(b.table.size(), 3u);
    EXPECT_EQ(host2.GetText(b.table[1].hwnd), hyo + "\\" + so);
    EXPECT_EQ(host2.GetListItems(b.table[2].hwnd), (std::vector<std::string>{hyo, so + "\\\\", "\"" + hyo + "\""}));
    ASSERT_EQ(back.menus.menus.size(), 1u);
    EXPECT_EQ(FieldText(back.menus.menus[0].block.items[0].caption, sizeof it.caption), hyo + "\x1E" "H\x1F");
}

}  // namespace
}  // namespace dsg
