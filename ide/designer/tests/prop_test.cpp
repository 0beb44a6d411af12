// The property table, the text of every row, applying edited values and
// the text of event procedures. Compiled with code page 932, so the
// Japanese literals are the system's Shift-JIS texts.
#include <gtest/gtest.h>

#include "dsg_formdata.h"
#include "dsg_prop.h"
#include "fake_host.h"

namespace dsg {
namespace {

using test::FakeHost;

std::vector<int32_t> Shown(uint32_t kind, int32_t group) {
    std::vector<int32_t> ids;
    const PropertyRow *rows = PropFindGroup(kind, group);
    for (const PropertyRow *r = rows; r && r->name; ++r) {
        if (r->id == kPrEvent) break;
        if (PropRowVisible(kind, group, r->id)) ids.push_back(r->id);
    }
    return ids;
}

TEST(PropertyTable, RowsEachKindShows) {
    EXPECT_EQ(Shown(kButton, kGrpStyle), (std::vector<int32_t>{16, 51, 54}));
    EXPECT_EQ(Shown(kRadio, kGrpStyle), (std::vector<int32_t>{16, 56}));
    EXPECT_EQ(Shown(kCheck, kGrpStyle), (std::vector<int32_t>{16, 52, 57}));
    EXPECT_EQ(Shown(kText, kGrpStyle), (std::vector<int32_t>{16, 53, 54, 30}));
    EXPECT_EQ(Shown(kGroup, kGrpStyle), (std::vector<int32_t>{16}));
    EXPECT_EQ(Shown(kTimer, kGrpBasic), (std::vector<int32_t>{12, 13}));
    EXPECT_EQ(Shown(kMci, kGrpBasic), (std::vector<int32_t>{12, 13}));
    EXPECT_EQ(Shown(kEdit, kGrpBasic), (std::vector<int32_t>{12, 13, 14, 15, 28, 29}));
    EXPECT_EQ(Shown(kForm, kGrpColour), (std::vector<int32_t>{37, 39, 40}));
    EXPECT_EQ(Shown(kBmpButton, kGrpOther), (std::vector<int32_t>{49}));
    EXPECT_EQ(Shown(kForm, kGrpClient), (std::vector<int32_t>{32, 33, 36, 35}));
    for (uint32_t k : {uint32_t(kMdiFrame), uint32_t(kMdiChild), uint32_t(kPrinter), uint32_t(kOcx), uint32_t(kMenuKind)})
        EXPECT_EQ(PropGroupsOf(k), nullptr) << k;
    EXPECT_EQ(PropFindGroupInfo(kButton, kGrpColour), nullptr);
    EXPECT_EQ(PropFindGroupInfo(kGroup, kGrpEvent), nullptr);
    const PropertyRow *hot = PropFindRow(kForm, kPrHotKey);
    ASSERT_TRUE(hot);
    EXPECT_EQ(hot->marker, kHotKeyMarker);
    EXPECT_STREQ(PropFindGroupInfo(kButton, kGrpStyle)->name, "ｽﾀｲﾙ");
    EXPECT_STREQ(PropFindRow(kButton, 51)->name, "ﾃﾞﾌｫﾙﾄﾎﾞﾀﾝ");
}

TEST(PropertyValues, FormatTenthsRoundsToHalfPoints) {
    struct { int32_t in; const char *out; } cases[] = {
        {240, "12"}, {210, "10.5"}, {215, "11"}, {214, "10.5"}, {5, "0.5"}, {4, "0"}, {0, "0"}, {-1, ""},
    };
    for (auto &c : cases) EXPECT_EQ(FormatTenths(c.in), c.out) << c.in;
}

TEST(PropertyValues, ImeWordsSkipThree) {
    int index[] = {0, 1, 2, 3, 4, 5, 6};
    uint32_t word[] = {0, 1, 2, 4, 5, 6, 7};
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(ImeWordOf(index[i]), word[i]);
        EXPECT_EQ(ImeIndexOf(word[i]), index[i]);
    }
}

TEST(PropertyValues, TextColourIndexes) {
    uint32_t n, a;
    TextColourOf(1, n, a);
    EXPECT_EQ(n, 0u);
    EXPECT_EQ(a, 0u);
    EXPECT_EQ(TextColourIndex(n, a), 1);
    TextColourOf(0, n, a);
    EXPECT_EQ(a, 4u);
    EXPECT_EQ(TextColourIndex(n, a), 0);
    EXPECT_STREQ(ColourCaption(0x02123456), "黒");
    EXPECT_STREQ(ColourCaption(kPalette[15]), "白");
}

struct Fixture {
    FakeHost host;
    Document doc;
    Form *form = nullptr;
    Fixture() {
        form = FrmCreateNew(host, doc, "MAINFORM", true);
    }
    ControlRecord &Add(uint32_t kind) {
        ControlRecord *r = CtlCreate(host, doc, *form, kind, 16, 24, false);
        EXPECT_TRUE(r);
        return *r;
    }
    PropView View() {
        PropView v{host, &doc, form, 96, false, nullptr};
        v.hotKeyName = [](uint16_t k) { return "KEY" + std::to_string(k); };
        return v;
    }
    RowText Show(const ControlRecord &r, int32_t group, int32_t id) {
        RowText t;
        EXPECT_TRUE(PropShowByKind(View(), r, group, id, t)) << r.kind << " " << id;
        return t;
    }
    ApplyResult Apply(ControlRecord &r, int32_t group, int32_t id, std::string text, int index = -1) {
        ApplyResult a = PropApplyRecord(host, &doc, r, {group, id, text, index});
        if (a.setText) host.SetText(r.hwnd, text);
        if (a.setItems) host.SetListItems(r.hwnd, PropSplitItems(text, 2));
        return a;
    }
};

TEST(PropertyValues, FormInTwipsShowsTwips) {
    Fixture f;
    ControlRecord &r = f.form->table[0];
    r.x = 100, r.y = 50;
    r.area[fa::mapMode] = 6;
    EXPECT_EQ(f.Show(r, kGrpBasic, kPrX).text, "1500");
    EXPECT_EQ(f.Show(r, kGrpBasic, kPrY).text, "750");
    r.area[fa::mapMode] = 1;
    EXPECT_EQ(f.Show(r, kGrpBasic, kPrX).text, "100");
    // Without a document the stored numbers show.
    PropView bare{f.host, nullptr, nullptr, 96, false, nullptr};
    RowText t;
    r.area[fa::mapMode] = 6;
    ASSERT_TRUE(PropShowByKind(bare, r, kGrpBasic, kPrX, t));
    EXPECT_EQ(t.text, "100");
}

TEST(PropertyValues, RowsGreyedByState) {
    Fixture f;
    ControlRecord &form = f.form->table[0];
    form.exStyle |= 1;  // dialog frame
    form.style |= 0x00040000 | 0x00100000 | 0x00010000 | 0x00020000;
    for (int32_t id : {21, 22, 23, 24}) EXPECT_FALSE(f.Show(form, kGrpFrame, id).enabled) << id;
    form.area[fa::mapMode] = 0;
    EXPECT_TRUE(f.Show(form, kGrpClient, kPrColumns).enabled);
    EXPECT_FALSE(f.Show(form, kGrpClient, kPrRedraw).enabled);
    form.area[fa::mapMode] = 3;
    EXPECT_FALSE(f.Show(form, kGrpClient, kPrColumns).enabled);
    EXPECT_TRUE(f.Show(form, kGrpClient, kPrRedraw).enabled);

    ControlRecord &b = f.Add(kButton);
    b.attributes |= kCaLocked;
    EXPECT_FALSE(f.Show(b, kGrpBasic, kPrX).enabled);
    ControlRecord &bb = f.Add(kBmpButton);
    EXPECT_FALSE(f.Show(bb, kGrpStyle, kPrFitBitmap).enabled);
    ControlRecord &pic = f.Add(kPicture);
    for (uint32_t m : {0u, 7u}) {
        pic.area[pa::mapMode] = m;
        EXPECT_EQ(f.Show(pic, kGrpStyle, kPrPicMapMode).text, "ﾋﾟｸｾﾙﾓｰﾄﾞ");
    }
    ControlRecord &e = f.Add(kEdit);
    e.area[ca::ctlTextColor] = 0x02010203;
    EXPECT_EQ(f.Show(e, kGrpColour, kPrTextColour).text, "黒");
    LogFont lf;
    lf.face = "MS Gothic", lf.height = -16, lf.weight = 700;
    e.font = f.host.MakeFont(lf);
    EXPECT_EQ(f.Show(e, kGrpFont, kPrBold).text, "あり");
    EXPECT_EQ(f.Show(e, kGrpFont, kPrSize).text, "16");
}

TEST(PropertyApply, EditMultiLineAndCase) {
    Fixture f;
    ControlRecord &e = f.Add(kEdit);
    ApplyResult a = f.Apply(e, kGrpStyle, kPrMultiLine, "あり", 0);
    EXPECT_EQ(a.textRowType, kEdLines);
    f.Apply(e, kGrpStyle, kPrEditAlign, "右揃え", 2);
    EXPECT_EQ(f.Show(e, kGrpStyle, kPrEditAlign).text, "右揃え");
    a = f.Apply(e, kGrpStyle, kPrMultiLine, "なし", 1);
    EXPECT_EQ(a.ending, Ending::Recreate);
    EXPECT_EQ(e.style & 7u, 0u);
    RowText align = f.Show(e, kGrpStyle, kPrEditAlign);
    EXPECT_EQ(align.text, "左揃え");
    std::vector<int32_t> greyed;
    for (auto &c : a.rows)
        if (c.enabled == 0) greyed.push_back(c.id);
    EXPECT_EQ(greyed, (std::vector<int32_t>{21, 22, 64, 55}));
    for (int32_t id : greyed) EXPECT_FALSE(f.Show(e, kGrpStyle, id).enabled);

    a = f.Apply(e, kGrpStyle, kPrLower, "あり", 0);
    a = f.Apply(e, kGrpStyle, kPrUpper, "あり", 0);
    ASSERT_EQ(a.rows.size(), 1u);
    EXPECT_EQ(a.rows[0].id, kPrLower);
    EXPECT_STREQ(a.rows[0].text, "なし");
    EXPECT_EQ(f.Show(e, kGrpStyle, kPrLower).text, "なし");

    f.Apply(e, kGrpStyle, kPrIme, "ひらがな", 3);
    EXPECT_EQ(e.imeMode, 4u);
}

TEST(PropertyApply, ScrollRangeChecks) {
    Fixture f;
    ControlRecord &s = f.Add(kHScroll);
    s.area[sa::position] = 10, s.area[sa::minimum] = 0, s.area[sa::maximum] = 100;
    ApplyResult a = f.Apply(s, kGrpStyle, kPrMinimum, "20");
    EXPECT_EQ(a.messages, std::vector<uint32_t>{kMsgMinAbovePos});
    EXPECT_EQ(int32_t(s.area[sa::minimum]), 20);
    a = f.Apply(s, kGrpStyle, kPrMinimum, "-32668");
    EXPECT_EQ(a.messages, std::vector<uint32_t>{kMsgRangeTooWide});
    EXPECT_EQ(int32_t(s.area[sa::minimum]), 20);
    a = f.Apply(s, kGrpStyle, kPrMaximum, "32767");
    EXPECT_EQ(a.messages, std::vector<uint32_t>{});
    a = f.Apply(s, kGrpStyle, kPrMinimum, "-1");
    EXPECT_EQ(a.messages, std::vector<uint32_t>{kMsgRangeTooWide});
    a = f.Apply(s, kGrpStyle, kPrMaximum, "5");
    EXPECT_EQ(a.messages, std::vector<uint32_t>{kMsgMaxBelowPos});
    a = f.Apply(s, kGrpStyle, kPrPosition, "1000");
    EXPECT_EQ(a.messages, std::vector<uint32_t>{kMsgPosOutside});
    EXPECT_EQ(int32_t(s.area[sa::position]), 1000);
}

TEST(PropertyApply, FormFrameAndColours) {
    Fixture f;
    ControlRecord &r = f.form->table[0];
    r.style |= 0x00080000 | 0x00030000;
    r.area[fa::clipboard] = 1;
    ApplyResult a = f.Apply(r, kGrpFrame, kPrCaption, "なし", 1);
    EXPECT_TRUE(a.frameChange && a.refreshGroup);
    EXPECT_EQ(r.style & (0x00C00000u | 0x00080000u | 0x00030000u), 0u);
    EXPECT_NE(r.style & 0x80000000u, 0u);
    EXPECT_EQ(uint32_t(r.area[fa::clipboard]), 0u);

    f.Apply(r, kGrpFrame, kPrFrameKind, "ﾀﾞｲｱﾛｸﾞﾌﾚｰﾑ", 2);
    EXPECT_EQ(r.style & (0x00040000u | 0x00300000u | 0x00030000u), 0u);
    EXPECT_EQ(r.exStyle & 1u, 1u);

    a = f.Apply(r, kGrpColour, kPrBackColour, "", 15);
    EXPECT_TRUE(a.reapply3D);
    EXPECT_FALSE(a.on3D);
    a = f.Apply(r, kGrpColour, kPrBackColour, "", 3);
    EXPECT_TRUE(a.reapply3D && a.on3D);

    r.area[fa::mapMode] = 3;
    r.style |= 0x00100000;
    a = f.Apply(r, kGrpClient, kPrMapMode, "ﾃｷｽﾄﾓｰﾄﾞ", 0);
    EXPECT_TRUE(a.reframe);
    EXPECT_EQ(uint32_t(r.area[fa::redrawMode]), 1u);
    a = f.Apply(r, kGrpClient, kPrColumns, "100");
    EXPECT_TRUE(a.reframe);
    EXPECT_EQ(uint32_t(r.area[fa::bufferColumns]), 100u);
}

// Every row of every kind: each value the row offers, applied, shows again.
TEST(PropertyApply, EveryRowShowsWhatWasApplied) {
    Fixture f;
    std::vector<uint32_t> kinds = {kForm};
    for (uint32_t k = kButton; k <= kMci; ++k) kinds.push_back(k);
    int checked = 0;
    for (uint32_t kind : kinds) {
        ControlRecord &r = kind == kForm ? f.form->table[0] : f.Add(kind);
        for (const PropertyGroup *g = PropGroupsOf(kind); g->name; ++g) {
            if (g->id == kGrpEvent || g->id == kGrpFont || g->id == kGrpBasic) continue;
            for (const PropertyRow *row = g->rows; row->name; ++row) {
                if (!PropRowVisible(kind, g->id, row->id)) continue;
                std::vector<std::pair<std::string, int>> values;
                switch (row->type) {
                case kEdYesNo: values = {{"あり", 0}, {"なし", 1}, {"あり", 0}}; break;
                case kEdChoice:
                    for (int i = 0; i < ChoiceCount(row->choices); ++i) values.push_back({row->choices[i], i});
                    break;
                case kEdColour:
                    if (kind == kCombo) break;
                    for (int i = 15; i >= 0; --i) values.push_back({kColourNames[i], i});
                    break;
                case kEdText: values = {{"ABC", -1}}; break;
                case kEdLines: values = {{"ONE\r\nTWO", -1}}; break;
                case kEdSigned: case kEdDigits: values = {{"7", -1}}; break;
                case kEdCursor: values = {{"(なし)", 0}}; break;
                default: break;
                }
                for (auto &[text, index] : values) {
                    // The bitmap button's fit rows need a bitmap; the greyed
                    // state rows take nothing for a non-multi-state button.
                    if (kind == kBmpButton && (row->id == kPrInitState || row->id == kPrStates)) {
                        r.area[ba::buttonStyle] = 3;
                    }
                    if (kind == kBmpButton && row->id == kPrBmpKind && index == 3) r.area[ba::frameA] = 4;
                    ApplyResult a = f.Apply(r, g->id, row->id, text, index);
                    EXPECT_TRUE(a.handled) << kind << " " << row->id;
                    std::string want = row->type == kEdLines ? "ONE" : text;
                    EXPECT_EQ(f.Show(r, g->id, row->id).text, want) << "kind " << kind << " row " << row->id;
                    ++checked;
                }
            }
        }
    }
    EXPECT_GT(checked, 250);
}

TEST(EventProcedures, TextAndParameters) {
    EXPECT_EQ(DefaultEventOf(kButton), 1);
    EXPECT_EQ(DefaultEventOf(kMdiFrame), -1);
    EXPECT_EQ(EvtDeclaration("CMD1_ON", 1), "declare sub CMD1_ON edecl ()");
    std::string t = EvtProcedureText("CMD1_ON", 1, 8);
    std::string rule = "'" + std::string(64, '=') + "\r\n";
    EXPECT_EQ(t, rule + "'\t\t\t\t\t\t\t\t=\r\n" + rule +
                     "declare sub CMD1_ON edecl ()\r\nsub CMD1_ON()\r\n\r\nend sub\r\n");
    EXPECT_NE(EvtProcedureText("X", 1, 4).find(std::string(16, '\t') + "="), std::string::npos);
    EXPECT_EQ(EvtDeclaration("P", 12), "declare sub P edecl ( byval button%, byval shift%, byval sx!, byval sy! )");
    EXPECT_EQ(EvtDeclaration("P", 20),
              "declare sub P edecl ( byval button%, byval shift%, byval sx!, byval sy!, byval rotate& )");
    EXPECT_TRUE(EvtIsFormSource("mainform.sub", "MAINFORM"));
    EXPECT_TRUE(EvtIsFormSource("LONGFORM.SUB", "LONGFORMNAME"));
    EXPECT_FALSE(EvtIsFormSource("OTHER.SUB", "MAINFORM"));
}

TEST(EventProcedures, NamesAreCutAtACharacter) {
    EXPECT_EQ(CutProcName(std::string(40, 'A')), std::string(31, 'A'));
    // A double-byte character at bytes 31 and 32 is left out whole.
    std::string s = std::string(30, 'A') + "\x83\x41" + "BBBB";
    EXPECT_EQ(CutProcName(s), std::string(30, 'A'));
}

}  // namespace
}  // namespace dsg
