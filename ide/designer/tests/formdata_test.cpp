// The form-description interpreter on streams put together by hand.
#include <gtest/gtest.h>

#include <functional>
#include <set>

#include "dsg_formdata.h"
#include "fake_host.h"

namespace dsg {
namespace {

using test::FakeHost;

struct Bytes {
    std::vector<uint8_t> b;
    Bytes &W(uint32_t v) { return b.push_back(uint8_t(v)), b.push_back(uint8_t(v >> 8)), *this; }
    Bytes &L(uint32_t v) { return W(v & 0xFFFF), W(v >> 16); }
    Bytes &S(const std::string &s) {
        b.insert(b.end(), s.begin(), s.end());
        b.push_back(0);
        return *this;
    }
    Bytes &Add(const Bytes &o) { return b.insert(b.end(), o.b.begin(), o.b.end()), *this; }
};

// A form (and, for kind > 2, one control of that kind) with the item after
// its creation.
std::vector<uint8_t> Stream(uint32_t kind, const Bytes &item) {
    Bytes s;
    s.b = {'T', 'X'};
    s.W(1).W(kItBegin).W(kItClass).S("F").S("").W(kItCreate3).L(kind == kMdiFrame ? 1 : 0).L(0x00CF0115).L(0);
    if (kind <= kMdiFrame) {
        s.Add(item);
    } else {
        s.W(kItBegin).W(kItCreate3).L(kind).L(kKindTable[kind].style).L(0).Add(item).W(kItEnd);
    }
    return s.W(kItEnd).b;
}

struct Built {
    FakeHost host;
    Document doc;
    FormBuildResult res;
    ControlRecord *rec = nullptr;
    Built(uint32_t kind, const Bytes &item, uint16_t version = 6) {
        auto data = Stream(kind, item);
        res = FrmBuildFromData(host, doc, data.data(), data.size(), version, "C:\\w\\app.rc");
        if (!doc.forms.empty()) rec = &doc.forms[0].table.back();
    }
};

TEST(FormItems, EveryCodeIsReadByTheTable) {
    using Check = std::function<void(Built &)>;
    struct Case { uint16_t code; uint32_t kind; Bytes payload; Check check; };
    // A packed record's field is copied: gtest takes values by reference.
    auto area = [](int word, uint32_t v) { return [=](Built &r) { EXPECT_EQ(uint32_t{r.rec->area[word]}, v); }; };
    auto none = [](Built &) {};
    std::vector<Case> cases = {
        {kItClass, kForm, Bytes().S("x").S(""), none},
        {kit3DForm3, kForm, Bytes().L(1), [](Built &r) { EXPECT_EQ(uint32_t{r.rec->area[fa::form3D]}, 1u); EXPECT_EQ(r.rec->enable, 1u); }},
        {kItAttrData3, kButton, Bytes().L(kCaLocked), [](Built &r) { EXPECT_EQ(r.rec->attributes, uint32_t(kCaLocked)); }},
        {kItWindowTitle, kButton, Bytes().S("Go"), [](Built &r) { EXPECT_EQ(r.host.windows[r.rec->hwnd].text, "Go"); }},
        {kItValue3, kCheck, Bytes().L(2), [](Built &r) { EXPECT_EQ(r.rec->value, 2u); EXPECT_EQ(r.host.windows[r.rec->hwnd].check, 2u); }},
        {kItListItem3, kList, Bytes().S("a\r\nb"), [](Built &r) {
             EXPECT_EQ(r.host.windows[r.rec->hwnd].items, (std::vector<std::string>{"a", "b"})); }},
        {kItWindowSize, kButton, Bytes().W(1).W(2).W(3).W(4), [](Built &r) {
             EXPECT_EQ(r.rec->x, 1); EXPECT_EQ(r.rec->cy, 4); EXPECT_EQ(r.rec->positionMode, 0x3000u); }},
        {kItWindowSize3, kButton, Bytes().L(7).L(5).L(6).L(7).L(8), [](Built &r) {
             EXPECT_EQ(r.rec->y, 6); EXPECT_EQ(r.rec->positionMode, 0x3004u); }},
        {kItShowWindow, kForm, Bytes().W(0), [](Built &r) { EXPECT_EQ(r.rec->visible, 0u); }},
        {kItShowWindow3, kForm, Bytes().L(3), [](Built &r) { EXPECT_EQ(r.rec->showState, uint32_t(kWsMaximize)); }},
        {kItEnableWindow, kForm, Bytes().W(1), [](Built &r) { EXPECT_EQ(r.rec->enable, 1u); }},
        {kItShowMinimized, kForm, Bytes().W(1), [](Built &r) { EXPECT_EQ(r.host.windows[r.rec->hwnd].show, 2); }},
        {kItShowMaximized, kForm, Bytes().W(1), [](Built &r) { EXPECT_EQ(r.host.windows[r.rec->hwnd].show, 3); }},
        {kItControlName, kButton, Bytes().S("okButton"), [](Built &r) {
             EXPECT_EQ(FieldText(r.rec->name, 22), "OKBUTTON");
             EXPECT_EQ(r.doc.forms[0].events.Find(3072)->entries[0].proc, "OKBUTTON_ON"); }},
        {kItMenu, kForm, Bytes().S("nomenu"), none},  // refused below: no such menu
        {kItBitmap, kBmpButton, Bytes().S("pic"), [](Built &r) {
             EXPECT_EQ(FieldText(AreaText(*r.rec, ba::bitmapName), 16), "pic"); }},
        {kItCursorId, kPicture, Bytes().L(32512), [](Built &r) { EXPECT_EQ(r.rec->cursorId, 32512u); }},
        {kItCursor, kForm, Bytes().S("hand"), [](Built &r) { EXPECT_EQ(FieldText(r.rec->cursorName, 16), "hand"); }},
        {kItAxis3, kForm, Bytes().L(1), [](Built &r) { EXPECT_EQ(r.rec->axis, 0x3128u); }},
        {kItTextColor, kPicture, Bytes().W(7), area(pa::textColor, 7)},
        {kItForeColor, kForm, Bytes().W(15), area(fa::foreColor, 15)},
        {kItBackColor, kForm, Bytes().W(15), [](Built &r) {
             EXPECT_EQ(uint32_t{r.rec->area[fa::backColor]}, 15u); EXPECT_EQ(uint32_t{r.rec->backBrush}, 0x500Fu); }},
        {kItAttribute, kForm, Bytes().W(2), area(fa::attribute, 2)},
        {kItLimitText3, kEdit, Bytes().L(10), [](Built &r) { EXPECT_EQ(r.rec->maxLength, 10u); }},
        {kItCtrlTextColor, kText, Bytes().L(kPalette[3]), area(ca::ctlTextColor, kPalette[3])},
        {kItCtrlBackColor, kVScroll, Bytes().L(kPalette[2]), [](Built &r) {
             EXPECT_EQ(uint32_t{r.rec->area[sa::ctlBackColor]}, kPalette[2]); EXPECT_EQ(uint32_t{r.rec->backBrush}, 0x5002u); }},
        {kItTextBuffer, kForm, Bytes().W(132).W(124), area(fa::bufferRows, 124)},
        {kItMapMode, kForm, Bytes().W(6), [](Built &r) {
             EXPECT_EQ(uint32_t{r.rec->area[fa::mapMode]}, 6u); EXPECT_EQ(uint32_t{r.rec->area[fa::redrawMode]}, 0u); }},
        {kItMaxClient, kForm, Bytes().W(1).W(2), none},
        {kItRedrawMode, kPicture, Bytes().W(0), area(pa::redrawMode, 0)},
        {kItImeMode3, kEdit, Bytes().L(4), [](Built &r) { EXPECT_EQ(r.rec->imeMode, 4u); }},
        {kItScrollRange, kHScroll, Bytes().W(uint16_t(-10)).W(10), [](Built &r) {
             EXPECT_EQ(int32_t(r.rec->area[sa::minimum]), -10); EXPECT_EQ(uint32_t{r.rec->area[sa::maximum]}, 10u); }},
        {kItScrollStep, kHScroll, Bytes().W(2).W(uint16_t(-3)), [](Built &r) {
             EXPECT_EQ(uint32_t{r.rec->area[sa::smallChange]}, 2u); EXPECT_EQ(int32_t(r.rec->area[sa::largeChange]), -3); }},
        {kItTimer, kTimer, Bytes().W(0).L(250), [](Built &r) {
             EXPECT_EQ(uint32_t{r.rec->area[ta::enabled]}, 0u); EXPECT_EQ(uint32_t{r.rec->area[ta::interval]}, 250u); }},
        {kItButtonStyle, kBmpButton, Bytes().L(0x20000), area(ba::buttonStyle, 0x20000)},
        {kItButtonFrame, kBmpButton, Bytes().W(3).W(4), area(ba::frameB, 4)},
        {kItFrameSize, kBmpButton, Bytes().W(5).W(6), area(ba::frameSizeA, 5)},
        {kItDrawInterval, kBmpButton, Bytes().W(50), area(ba::drawInterval, 50)},
        {kItButtonState, kBmpButton, Bytes().W(0), area(ba::buttonState, 0)},
        {kItTooltip, kBmpButton, Bytes().S("tip"), [](Built &r) {
             EXPECT_EQ(FieldText(AreaText(*r.rec, ba::tooltip), 24), "tip"); }},
        {kItGrid, kForm, Bytes().W(0).W(12), [](Built &r) {
             EXPECT_EQ(uint32_t{r.rec->area[fa::gridSnap]}, 0u); EXPECT_EQ(uint32_t{r.rec->area[fa::gridY]}, 12u); }},
        {kItClipboard, kForm, Bytes().W(0), area(fa::clipboard, 0)},
        {kItGrid2, kForm, Bytes().W(0).W(1).W(10).W(20), [](Built &r) {
             EXPECT_EQ(uint32_t{r.rec->area[fa::gridVisible]}, 0u); EXPECT_EQ(uint32_t{r.rec->area[fa::gridY]}, 20u); }},
        {kItFontSize, kButton, Bytes().W(12), [](Built &r) { EXPECT_EQ(r.host.fonts[uint32_t{r.rec->font}].height, -16); }},
        {kItFontBold, kText, Bytes().W(0), [](Built &r) { EXPECT_EQ(r.host.fonts[uint32_t{r.rec->font}].weight, 400); }},
        {kItFontItalic, kButton, Bytes().W(1), [](Built &r) { EXPECT_EQ(r.host.fonts[uint32_t{r.rec->font}].italic, 1); }},
        {kItFontUnderline, kButton, Bytes().W(1), [](Built &r) { EXPECT_EQ(r.host.fonts[uint32_t{r.rec->font}].underline, 1); }},
        {kItFontStrikeOut, kPrinter, Bytes().W(1), [](Built &r) { EXPECT_EQ(r.host.fonts[uint32_t{r.rec->font}].strikeOut, 1); }},
        {kItFontName, kButton, Bytes().S("Arial"), [](Built &r) {
             EXPECT_EQ(r.host.fonts[uint32_t{r.rec->font}].face, "Arial"); EXPECT_EQ(r.host.fonts[uint32_t{r.rec->font}].charSet, 1); }},
        {kItFontName2, kPicture, Bytes().S("Mono").W(128).W(0x31), [](Built &r) {
             EXPECT_EQ(r.host.fonts[uint32_t{r.rec->font}].charSet, 128); EXPECT_EQ(r.host.fonts[uint32_t{r.rec->font}].pitchAndFamily, 0x31); }},
        {kItEvent, kButton, Bytes().W(1).W(101).S("Go").W(2), [](Built &r) {
             EXPECT_EQ(r.doc.forms[0].events.Find(3072)->entries[0].proc, "GO"); }},
        {kItSendMessage, kForm, Bytes().L(50).L(0x241).L(0), [](Built &r) { EXPECT_EQ(r.rec->hotKey, 0x241); }},
        {kItSendMessage, kForm, Bytes().L(12), none},
    };
    std::set<uint32_t> seen = {kItBegin, kItEnd, kItCreate, kItCreate3, kItStyle, kItMenuCtrlName};
    for (auto &c : cases) {
        SCOPED_TRACE(FormItemNameOf(c.code));
        Built r(c.kind, Bytes().W(c.code).Add(c.payload));
        seen.insert(c.code);
        if (c.code == kItMenu) {
            EXPECT_EQ(r.res.message, uint32_t(kMsgMenuLoad));
            continue;
        }
        ASSERT_TRUE(r.res.ok) << r.res.message;
        ASSERT_EQ(r.rec->kind, c.kind);
        c.check(r);
    }
    size_t rows = 0;
    for (const FormItemName *n = kFormItems; n->code != 0xFFFFFFFFu; ++n, ++rows)
        EXPECT_TRUE(seen.count(n->code)) << n->name;
    EXPECT_EQ(rows, 58u);
}

TEST(FormItems, RefusedStreams) {
    struct Case { const char *what; uint32_t kind; Bytes item; uint32_t message; } cases[] = {
        {"__STYLE", kForm, Bytes().W(kItStyle), kMsgBadParam},
        {"code 45", kForm, Bytes().W(45), kMsgBadParam},
        {"__MENUCTRLNAME", kForm, Bytes().W(kItMenuCtrlName), kMsgBadParam},
        {"22-character name", kButton, Bytes().W(kItControlName).S("ABCDEFGHIJKLMNOPQRSTUV"), kMsgBadName},
        {"name with a blank", kButton, Bytes().W(kItControlName).S("A B"), kMsgBadName},
        {"name of the form", kButton, Bytes().W(kItControlName).S("mainform"), kMsgNameUsed},
        {"text colour 8", kForm, Bytes().W(kItTextColor).W(8), kMsgBadParam},
        {"back colour 16", kForm, Bytes().W(kItBackColor).W(16), kMsgBadParam},
        {"attribute 5", kPicture, Bytes().W(kItAttribute).W(5), kMsgBadParam},
        {"text buffer 133", kForm, Bytes().W(kItTextBuffer).W(133).W(24), kMsgBadParam},
        {"map mode 7", kForm, Bytes().W(kItMapMode).W(7), kMsgBadParam},
        {"negative width", kButton, Bytes().W(kItWindowSize).W(0).W(0).W(uint16_t(-4)).W(3), kMsgBadParam},
        {"timer item on a button", kButton, Bytes().W(kItTimer).W(1).L(100), kMsgBadParam},
        {"tooltip on a timer", kTimer, Bytes().W(kItTooltip).S("x"), kMsgBadParam},
        {"font on an OLE client", kOleClient, Bytes().W(kItFontBold).W(1), kMsgBadParam},
        {"event the kind lacks", kButton, Bytes().W(kItEvent).W(1).W(108).S("X").W(2), kMsgBadParam},
        {"cut string", kButton, Bytes().W(kItWindowTitle).W(0x4141), kMsgBadParam},
        {"kind 19", kForm, Bytes().W(kItBegin).W(kItCreate3).L(19).L(0).L(0).W(kItEnd), kMsgBadParam},
    };
    for (auto &c : cases) {
        Built r(c.kind, c.item);
        EXPECT_FALSE(r.res.ok) << c.what;
        EXPECT_EQ(r.res.message, c.message) << c.what;
        EXPECT_EQ(r.host.messages, std::vector<uint32_t>{c.message}) << c.what;
    }
}

TEST(FormItems, BlocksIdsAndCreation) {
    FakeHost host;
    Document doc;
    std::vector<uint8_t> empty = {'T', 'X', 1, 0, 1, 0, 2, 0};
    EXPECT_TRUE(FrmBuildFromData(host, doc, empty.data(), empty.size(), 6).ok) << "a block of only __END";
    EXPECT_TRUE(doc.forms.empty());
    // Three buttons and a check box saved with other ids: loaded with the
    // lowest free ids per kind, in stream order; the 16-bit creation item
    // makes its styles from the flags.
    Bytes s;
    s.b = {'T', 'X'};
    s.W(1).W(1).W(kItClass).S("F").S("").W(kItCreate).W(0).W(4 | 64 | 0x800).W(0).W(kItBegin);
    for (int i = 0; i < 3; ++i) s.W(kItCreate).W(kButton).W(0x800 | 0x400).W(i == 0 ? 1 : 0);
    s.W(kItCreate).W(kCheck).W(0x800 | 0x200).W(1 | 0x2000);
    s.W(kItEnd).W(kItEnd);
    ASSERT_TRUE(FrmBuildFromData(host, doc, s.b.data(), s.b.size(), 6).ok);
    const Form &f = doc.forms[0];
    ASSERT_EQ(f.table.size(), 5u);
    EXPECT_EQ(f.table[0].style, 0x10CC0000u);
    EXPECT_EQ(f.table[1].id, 3072u);
    EXPECT_EQ(f.table[1].style, 0x50010001u);
    EXPECT_EQ(f.table[3].id, 3074u);
    EXPECT_EQ(FieldText(f.table[3].name, 22), "BUTTON3");
    EXPECT_EQ(f.table[4].id, 5120u);
    EXPECT_EQ(f.table[4].style, 0x50020006u);
    EXPECT_EQ(f.table[4].attributes, uint32_t(kCaGroup));
    EXPECT_EQ(f.events.blocks.size(), 5u);
    EXPECT_EQ(f.events.blocks[1].bound, 0) << "loaded controls start unbound";
}

TEST(FormItems, MdiChildRowsAreReadAndDropped) {
    Bytes item;
    item.W(kItClass).S("KID").S("").W(kItCreate3).L(kMdiChild).L(0x00300008).L(0).W(kItControlName).S("KID")
        .W(kItTextColor).W(3).W(kItFontSize).W(9).W(kItEvent).W(1).W(103).S("KIDSTART").W(2)
        .W(kItWindowSize3).L(0).L(1).L(2).L(3).L(4);
    Built r(kButton, item);
    ASSERT_TRUE(r.res.ok) << r.res.message;
    EXPECT_EQ(r.doc.forms[0].table.size(), 2u) << "no record for the MDI child";
}

TEST(FormItems, TooltipIsClearedByLaterButtonItems) {
    Built r(kBmpButton, Bytes().W(kItTooltip).S("tip").W(kItButtonState).W(1));
    ASSERT_TRUE(r.res.ok);
    EXPECT_EQ(FieldText(AreaText(*r.rec, ba::tooltip), 24), "");
}

TEST(FormItems, DamagedStreamsStayInsideTheData) {
    Bytes item;
    item.W(kItWindowTitle).S("Title").W(kItControlName).S("B1").W(kItFontName2).S("Face").W(1).W(2)
        .W(kItEvent).W(1).W(101).S("P").W(2).W(kItWindowSize3).L(0).L(1).L(2).L(3).L(4);
    auto good = Stream(kButton, item);
    uint32_t rng = 7;
    for (size_t cut = 0; cut < good.size(); ++cut) {
        FakeHost host;
        Document doc;
        std::vector<uint8_t> d(good.begin(), good.begin() + cut);
        EXPECT_FALSE(FrmBuildFromData(host, doc, d.data(), d.size(), 6).ok) << cut;
    }
    for (int round = 0; round < 3000; ++round) {
        std::vector<uint8_t> d = good;
        rng = rng * 1103515245u + 12345u;
        d[6 + (rng >> 8) % (d.size() - 6)] = uint8_t(rng >> 24);
        FakeHost host;
        Document doc;
        FrmBuildFromData(host, doc, d.data(), d.size(), 6);
    }
}

}  // namespace
}  // namespace dsg
