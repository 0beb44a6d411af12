// Control records, ids and names, the event tables and the file lists.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>

#include "dsg_formdata.h"
#include "fake_host.h"

namespace dsg {
namespace {

using test::FakeHost;

std::string Name(const ControlRecord &r) { return FieldText(r.name, sizeof r.name); }

TEST(ControlRecord, FieldOffsetsFollowTheFileLayout) {
    EXPECT_EQ(offsetof(ControlRecord, cursorName), 44u);
    EXPECT_EQ(offsetof(ControlRecord, hotKey), 92u);
    EXPECT_EQ(offsetof(ControlRecord, area), 94u);
    EXPECT_EQ(offsetof(ControlRecord, font), 218u);
    EXPECT_EQ(offsetof(ControlRecord, name), 230u);
    EXPECT_EQ(offsetof(ControlRecord, spacingSet), 264u);
    EXPECT_EQ(sizeof(MenuItem), 182u);
    EXPECT_EQ(offsetof(MenuItem, caption), 22u);
    EXPECT_EQ(offsetof(MenuItem, hasShortcut), 172u);
}

// The record goes to the clipboard as it is: its bytes, taken from the
// layout by hand, are the same in every build.
TEST(ControlRecord, BytesOfADefaultButton) {
    FakeHost host;
    Document doc;
    ControlRecord r;
    ASSERT_TRUE(CtlInitRecord(host, doc, nullptr, kButton, r));
    r.hwnd = 0x12345678;
    SetField(r.name, "BUTTON1");
    std::vector<uint8_t> want(268);
    auto put = [&](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) want[at + i] = uint8_t(v >> (8 * i));
    };
    put(0, 3), put(4, 0x12345678), put(16, 0x50010000), put(20, 3072), put(60, 1), put(68, 0x3000);
    put(72, 0x3008), put(76, 0x3064), put(88, 32767), put(94, 0x02000000), put(98, 0x02FFFFFF);
    memcpy(&want[230], "BUTTON1", 7);
    std::vector<uint8_t> got(reinterpret_cast<uint8_t *>(&r), reinterpret_cast<uint8_t *>(&r) + sizeof r);
    EXPECT_EQ(got, want);
}

TEST(ControlIds, FirstFreeIdPerKindAndNames) {
    FakeHost host;
    Document doc;
    Form *f = FrmCreateNew(host, doc, nullptr, false);
    ASSERT_TRUE(f);
    EXPECT_EQ(Name(f->table[0]), "MAINFORM");
    ControlRecord *b1 = CtlCreate(host, doc, *f, kButton, 0, 0);
    ASSERT_TRUE(b1);
    EXPECT_EQ(b1->id, 3072u);
    EXPECT_EQ(Name(*b1), "BUTTON1");
    uint32_t w1 = b1->hwnd;
    ControlRecord *b2 = CtlCreate(host, doc, *f, kButton, 0, 0);
    EXPECT_EQ(b2->id, 3073u);
    EXPECT_EQ(Name(*b2), "BUTTON2");
    ASSERT_TRUE(CtlDeleteRecord(host, doc, *f, w1));
    ControlRecord *b3 = CtlCreate(host, doc, *f, kButton, 0, 0);
    EXPECT_EQ(b3->id, 3072u) << "a freed id is taken again";
    // BUTTON1 is free again as a name; now rename the 3073 one to BUTTON1
    // and make the 3072 one anew: the clash moves the number on.
    ASSERT_TRUE(CtlDeleteRecord(host, doc, *f, b3->hwnd));
    SetField(f->table[1].name, "BUTTON1");
    ControlRecord *b4 = CtlCreate(host, doc, *f, kButton, 0, 0);
    EXPECT_EQ(b4->id, 3072u);
    EXPECT_EQ(Name(*b4), "BUTTON2");
}

TEST(ControlIds, FormNumbersNamesAndTheTableLimit) {
    FakeHost host;
    Document doc;
    for (int i = 0; i < 4; ++i) ASSERT_TRUE(FrmCreateNew(host, doc, nullptr, false));
    EXPECT_EQ(Name(doc.forms[3].table[0]), "FORM4");
    EXPECT_EQ(doc.forms[3].number, 3);
    doc.forms.erase(doc.forms.begin() + 1);
    Form *again = FrmCreateNew(host, doc, nullptr, false);
    EXPECT_EQ(again->number, 1) << "the lowest free number";
    Form &f = doc.forms[0];
    for (int i = 0; i < 255; ++i) ASSERT_TRUE(CtlCreate(host, doc, f, kTimer, 0, 0)) << i;
    EXPECT_EQ(f.table.size(), 256u);
    host.messages.clear();
    EXPECT_FALSE(CtlCreate(host, doc, f, kButton, 0, 0));
    EXPECT_EQ(host.messages, std::vector<uint32_t>{kMsgTooMany});
}

TEST(ControlTable, ZOrderMovesRecordAndEventsTogether) {
    FakeHost host;
    Document doc;
    Form *f = FrmCreateNew(host, doc, nullptr, false);
    uint32_t w[3];
    for (auto &x : w) x = CtlCreate(host, doc, *f, kButton, 0, 0)->hwnd;
    auto order = [&] {
        std::string s;
        for (size_t i = 1; i < f->table.size(); ++i) {
            s += Name(f->table[i]) + "/" + f->events.blocks[i].entries[0].proc + " ";
            EXPECT_EQ(f->events.blocks[i].id, f->table[i].id);
        }
        return s;
    };
    ASSERT_TRUE(CtlMoveZOrder(*f, w[2], 0));
    EXPECT_EQ(order(), "BUTTON3/BUTTON3_ON BUTTON1/BUTTON1_ON BUTTON2/BUTTON2_ON ");
    ASSERT_TRUE(CtlMoveZOrder(*f, w[2], 1));
    EXPECT_EQ(order(), "BUTTON1/BUTTON1_ON BUTTON2/BUTTON2_ON BUTTON3/BUTTON3_ON ");
    ASSERT_TRUE(CtlMoveZOrder(*f, w[0], w[1]));
    EXPECT_EQ(order(), "BUTTON2/BUTTON2_ON BUTTON1/BUTTON1_ON BUTTON3/BUTTON3_ON ");
    ASSERT_TRUE(CtlMoveZOrder(*f, w[0], w[0]));
    EXPECT_FALSE(CtlMoveZOrder(*f, f->window, 1)) << "the form's own record never moves";
    // Deleting takes the event block along, so the freed id starts afresh.
    f->events.Find(f->table[1].id)->entries[0].proc = "OLD";
    uint32_t id = f->table[1].id;
    ASSERT_TRUE(CtlDeleteRecord(host, doc, *f, f->table[1].hwnd));
    ControlRecord *again = CtlCreate(host, doc, *f, kButton, 0, 0);
    EXPECT_EQ(again->id, id);
    EXPECT_EQ(f->events.Find(id)->entries[0].proc, Name(*again) + "_ON");
}

TEST(Grid, OffsetAndSnap) {
    struct Case { Rect r; int32_t dx, dy; bool snap; bool ok; Rect want; } cases[] = {
        {{3, 8, 13, 18}, -8, 0, true, true, {0, 8, 10, 18}},     // left -5: remainder -5 removed
        {{10, 10, 20, 20}, 5, 7, true, true, {8, 16, 18, 26}},
        {{10, 10, 20, 20}, 5, 7, false, true, {15, 17, 25, 27}},
        {{0, 0, 10, 10}, 32739, 0, false, false, {0, 0, 10, 10}},
        {{0, 0, 10, 10}, 0, -32749, false, false, {0, 0, 10, 10}},
    };
    for (auto &c : cases) {
        Rect r = c.r;
        EXPECT_EQ(DsgOffsetRectSnap(r, c.dx, c.dy, c.snap, 8, 8), c.ok) << c.dx;
        EXPECT_EQ(r.left, c.want.left) << c.dx;
        EXPECT_EQ(r.top, c.want.top) << c.dx;
        EXPECT_EQ(r.right, c.want.right) << c.dx;
    }
}

TEST(ControlRecord, DefaultsByKind) {
    FakeHost host;
    Document doc;
    Form *f = FrmCreateNew(host, doc, nullptr, false);
    struct Case { uint32_t kind; int word; uint32_t value; } cases[] = {
        {kEdit, ca::ctlBackColor, kPalette[15]}, {kButton, ca::ctlBackColor, kPalette[15]},
        {kHScroll, sa::maximum, 32767}, {kHScroll, sa::largeChange, 16}, {kVScroll, sa::ctlBackColor, kPalette[14]},
        {kPicture, pa::mapMode, 1}, {kPicture, pa::backColor, 15}, {kBmpButton, ba::drawInterval, 30},
        {kBmpButton, ba::buttonState, 1}, {kTimer, ta::interval, 100}, {kTimer, ta::enabled, 1},
    };
    for (auto &c : cases) {
        SCOPED_TRACE(kKindTable[c.kind].prefix);
        ControlRecord r;
        ASSERT_TRUE(CtlInitRecord(host, doc, f, c.kind, r));
        // A packed record's field is copied: gtest takes values by reference.
        EXPECT_EQ(uint32_t{r.area[c.word]}, c.value);
        EXPECT_EQ(r.maxLength, 32767u);
        EXPECT_EQ(r.showState, 0x3008u);
    }
    // A white form without the 3D flag: an edit has no client edge; on a
    // coloured form it has one.
    ControlRecord e;
    CtlInitRecord(host, doc, f, kEdit, e);
    EXPECT_EQ(e.exStyle & kWsExClientEdge, 0u);
    f->table[0].area[fa::backColor] = 3;
    CtlInitRecord(host, doc, f, kEdit, e);
    EXPECT_EQ(e.exStyle & kWsExClientEdge, kWsExClientEdge);
}

TEST(EventTables, EntriesByKind) {
    struct Case { uint32_t kind; const char *name; std::vector<std::string> procs; } cases[] = {
        {kButton, "CMD1", {"CMD1_ON"}},
        {kPrinter, "PRN1", {"PRN1_ABORTDOC"}},
        {kGroup, "GRP1", {}},
        {kMdiFrame, "FRAME", {"FRAME_START", "FRAME_END", "FRAME_SETFOCUS", "FRAME_KILLFOCUS", "FRAME_RESIZE"}},
        {20, "mnuOpen", {"mnuOpen_On"}},
        {21, "mnuFile", {"mnuFile_InitMenu"}},
    };
    for (auto &c : cases) {
        SCOPED_TRACE(c.name);
        EventTable t;
        t.Add(c.kind, 7, c.name, c.kind < 20, true);
        std::vector<std::string> got;
        for (auto &e : t.blocks[0].entries) got.push_back(e.proc);
        EXPECT_EQ(got, c.procs);
    }
    EventTable form;
    form.Add(kForm, 0, "MAINFORM", true, false);
    ASSERT_EQ(form.blocks[0].entries.size(), 14u);
    EXPECT_EQ(form.blocks[0].entries[0].event, 3);
    EXPECT_EQ(form.blocks[0].entries[0].proc, "MAINFORM_START");
    EXPECT_EQ(form.blocks[0].bound, 0);
    EventTable b;
    b.Add(kButton, 3072, "CMD1", true, true);
    EXPECT_FALSE(b.Bind(kButton, 3072, 8, "X")) << "a button has no _Click";
    EXPECT_EQ(b.blocks[0].entries[0].proc, "CMD1_ON");
}

TEST(EventTables, LongDefaultNamesAreCutOnACharacterBoundary) {
    // 21 bytes of name and "_QUERYCLOSE" make 32, cut to 31.
    std::string name = "ABCDEFGHIJKLMNOPQRSTU";
    EXPECT_EQ(DefaultProcName(name, 17, true), "ABCDEFGHIJKLMNOPQRSTU_QUERYCLOS");
    // A double-byte character straddling byte 31 is left out whole.
    std::string sj = std::string(30, 'A') + "\x83\x41" + "B";
    EXPECT_EQ(DefaultProcName(sj, 1, false), std::string(30, 'A'));
}

TEST(FileLists, ImportMatchAndRelease) {
    FileList lists[3];
    bool noMem;
    EXPECT_TRUE(ResFileImport(lists, "C:\\a\\icon1.ico", noMem));
    EXPECT_FALSE(ResFileImport(lists, "D:\\b\\ICON1.ICO", noMem)) << "same file name";
    EXPECT_FALSE(ResFileImport(lists, "C:\\a\\icon1.ico", noMem)) << "same path";
    EXPECT_FALSE(ResFileImport(lists, "C:\\a\\x.ptr", noMem)) << "no list for ptr";
    EXPECT_TRUE(ResFileImport(lists, "C:\\a\\pic.DIB", noMem));
    EXPECT_EQ(lists[1].entries.size(), 1u);
    EXPECT_EQ(lists[0].AddRef("icon1"), 1);
    EXPECT_EQ(lists[0].AddRef("nothere"), -1);
    EXPECT_EQ(lists[0].Release("C:\\A\\ICON1.ICO"), 0);
    EXPECT_TRUE(lists[0].Remove(0));
    EXPECT_FALSE(lists[0].exists);
    EXPECT_TRUE(ResFileImport(lists, "C:\\a\\icon1.ico", noMem));
    EXPECT_TRUE(lists[0].exists);
}

TEST(FileLists, ListsStopAt65534Bytes) {
    FileList l;
    std::string path(250, 'A');
    int added = 0;
    while (l.Append(path + std::to_string(added))) ++added;
    EXPECT_LE(l.BlockSize(), 65534u);
    EXPECT_GT(l.BlockSize() + path.size() + 6, 65534u);
}

std::vector<uint8_t> Bitmap(uint16_t bits, uint32_t used, int32_t w, int32_t h) {
    std::vector<uint8_t> f(54);
    auto put = [&](size_t at, uint32_t v, int n) {
        for (int i = 0; i < n; ++i) f[at + i] = uint8_t(v >> (8 * i));
    };
    uint32_t colours = used ? used : bits < 24 ? 1u << bits : 0;
    uint32_t row = (uint32_t(bits) * uint32_t(w) + 31) / 32 * 4;
    f[0] = 'B', f[1] = 'M';
    put(10, 54 + colours * 4, 4);
    put(14, 40, 4), put(18, uint32_t(w), 4), put(22, uint32_t(h), 4), put(26, 1, 2), put(28, bits, 2);
    put(46, used, 4);
    f.resize(54 + colours * 4 + row * uint32_t(h), 0x11);
    return f;
}

TEST(FileLists, BitmapFiles) {
    std::vector<uint8_t> out;
    ASSERT_EQ(ResFileReadImage(Bitmap(8, 0, 3, 2), out), 0u);
    EXPECT_EQ(out[32] | out[33] << 8, 256) << "used colours written back";
    EXPECT_EQ(out.size(), 40u + 256 * 4 + 4 * 2);
    ASSERT_EQ(ResFileReadImage(Bitmap(24, 0, 3, 2), out), 0u);
    EXPECT_EQ(out.size(), 40u + 12 * 2) << "no colour table";
    auto core = Bitmap(24, 0, 3, 2);
    core[14] = 12;
    EXPECT_EQ(ResFileReadImage(core, out), uint32_t(kMsgFileRead));
    auto cut = Bitmap(8, 0, 3, 2);
    cut.resize(cut.size() - 1);
    EXPECT_EQ(ResFileReadImage(cut, out), uint32_t(kMsgNoMemory)) << "short bits";
    EXPECT_EQ(ResFileReadImage({'B', 'X'}, out), uint32_t(kMsgFileRead));
}

TEST(Names, TheScriptCanCarryThem) {
    struct Case { const char *name; size_t max; bool ok; } cases[] = {
        {"BUTTON1", 21, true}, {"_x9", 21, true}, {"9A", 21, false}, {"A-B", 21, false},
        {"ABCDEFGHIJKLMNOPQRSTU", 21, true}, {"ABCDEFGHIJKLMNOPQRSTUV", 21, false}, {"", 21, false},
        {"BEGIN", 21, false}, {"menuitem", 21, false}, {"__END", 21, false}, {"XWT_FORM", 21, false},
        {"MAP_TEXT", 31, false}, {"\x83\x41", 21, false},
    };
    for (auto &c : cases) EXPECT_EQ(IsValidName(c.name, c.max), c.ok) << c.name;
}

}  // namespace
}  // namespace dsg
