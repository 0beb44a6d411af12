#include "dsg_prop.h"

#include <cstdio>
#include <cstdlib>

#include "dsg_bmpbtn.h"
#include "dsg_formdata.h"
#include "sjis_path.h"

namespace dsg {

namespace {

// Window, edit, list, combo and button styles the rows name.
enum : uint32_t {
    kWsCaption = 0x00C00000, kWsSysMenu = 0x00080000, kWsThickFrame = 0x00040000,
    kWsHScroll = 0x00100000, kWsVScroll = 0x00200000, kWsMaxBox = 0x00010000, kWsMinBox = 0x00020000,
    kWsPopup = 0x80000000u,
    kWsExDlgFrame = 0x1, kWsExTopMost = 0x8, kWsExAcceptFiles = 0x10,
    kBsDefPush = 0x1, kBsAutoCheck = 0x3, kBsAuto3State = 0x6,
    kSsCenter = 0x1, kSsRight = 0x2, kSsNoWrap = 0xC,
    kEsCenter = 0x1, kEsRight = 0x2, kEsMultiLine = 0x4, kEsUpper = 0x8, kEsLower = 0x10,
    kEsPassword = 0x20, kEsAutoV = 0x40, kEsAutoH = 0x80, kEsReadOnly = 0x800, kEsNumber = 0x2000,
    kLbsSort = 0x2, kLbsMultiSel = 0x8, kLbsExtSel = 0x800,
    kCbsSimple = 0x1, kCbsDropDown = 0x2, kCbsDropList = 0x3, kCbsAutoH = 0x40, kCbsSort = 0x100,
};
// The form's position-mode, start-state and origin words.
enum : uint32_t {
    kPosUser = 0x3000, kPosAuto = 0x3001, kPosDesktop = 0x3002, kPosParent = 0x3004,
    kShowNormal = 0x3008, kAxisTopLeft = 0x3064, kAxisBottomLeft = 0x3128,
};
constexpr int kWhite = 15;

std::string Num(int32_t v) { return std::to_string(v); }
const char *YesNo(bool b) { return b ? kTextYes : kTextNo; }
bool IsYes(const PropEdit &e) { return e.text == kTextYes; }
bool OnIndex0(const PropEdit &e) { return e.index == 0; }
int32_t NumberOf(const PropEdit &e) { return int32_t(std::strtol(e.text.c_str(), nullptr, 10)); }
void SetBits(uint32_t &word, uint32_t bits, bool on) { word = on ? (word | bits) : (word & ~bits); }

const char *Choice(int32_t kind, int32_t id, int index) {
    const PropertyRow *row = PropFindRow(uint32_t(kind), id);
    if (!row || !row->choices || index < 0 || index >= ChoiceCount(row->choices)) return "";
    return row->choices[index];
}

std::string AreaString(const ControlRecord &r, int word, size_t size) {
    return FieldText(AreaText(r, word), size);
}

LogFont FontOf(const PropView &v, const ControlRecord &r) {
    LogFont f;
    if (r.font && v.host.GetFont(r.font, f)) return f;
    bool fixed = r.kind == kForm || r.kind == kPicture;
    return v.host.StockFontOf(fixed ? StockFont::SystemFixed : StockFont::System);
}

std::string PointerText(const ControlRecord &r) {
    std::string name = FieldText(r.cursorName, sizeof r.cursorName);
    if (!name.empty()) return name;
    for (const StockPointer *p = kStockPointers; p->id; ++p)
        if (p->id == r.cursorId) return p->caption;
    return kTextNone;
}

uint32_t FormMapMode(const PropView &v) {
    return v.form && !v.form->table.empty() ? v.form->table[0].area[fa::mapMode] : 0;
}

bool ShowBasic(const PropView &v, const ControlRecord &r, int32_t id, RowText &out) {
    bool locked = (r.attributes & kCaLocked) != 0;
    switch (id) {
    case kPrX: case kPrY: case kPrWidth: case kPrHeight: {
        Point p = id <= kPrY ? Point{r.x, r.y} : Point{r.cx, r.cy};
        if (v.doc && v.form) p = FrmDPtoLP(v.host, v.form->window, FormMapMode(v), p);
        out.text = Num(id == kPrX || id == kPrWidth ? p.x : p.y);
        out.enabled = !locked;
        return true;
    }
    case kPrVisible:
        if (r.kind == kTimer || r.kind == kMci) return false;
        out.text = YesNo((r.style & kWsVisible) || (r.kind == kForm && r.visible == 1));
        return true;
    case kPrDisabled:
        if (r.kind == kTimer || r.kind == kMci) return false;
        out.text = YesNo(r.style & kWsDisabled);
        return true;
    case kPr3D: out.text = YesNo(r.exStyle & kWsExClientEdge); return true;
    default: return false;
    }
}

bool ShowColour(const ControlRecord &r, int32_t id, RowText &out) {
    if (r.kind == kForm || r.kind == kPicture) {
        switch (id) {
        case kPrTextColour:
            out.text = kColourNames[TextColourIndex(r.area[fa::textColor], r.area[fa::attribute])];
            return true;
        case kPrForeColour: out.text = kColourNames[r.area[fa::foreColor] & 15]; return true;
        case kPrBackColour: out.text = kColourNames[r.area[fa::backColor] & 15]; return true;
        default: return false;
        }
    }
    bool scroll = r.kind == kHScroll || r.kind == kVScroll;
    if (id == kPrTextColour) {
        out.text = ColourCaption(r.area[ca::ctlTextColor]);
        return true;
    }
    if (id == kPrCtlBack) {
        out.text = ColourCaption(r.area[scroll ? int(sa::ctlBackColor) : int(ca::ctlBackColor)]);
        return true;
    }
    return false;
}

bool ShowFont(const PropView &v, const ControlRecord &r, int32_t id, RowText &out) {
    LogFont f = FontOf(v, r);
    switch (id) {
    case kPrFace: out.text = f.face; return true;
    case kPrSize: {
        int32_t h = f.height;
        if (r.kind == kForm && r.area[fa::mapMode] > 1 && v.pixelsPerInch > 0) h = h * -72 / v.pixelsPerInch;
        out.text = Num(h < 0 ? -h : h);
        return true;
    }
    case kPrBold: out.text = YesNo(f.weight != 400); return true;
    case kPrItalic: out.text = YesNo(f.italic); return true;
    case kPrUnderline: out.text = YesNo(f.underline); return true;
    case kPrStrike: out.text = YesNo(f.strikeOut); return true;
    default: return false;
    }
}

bool ShowOther(const PropView &v, const ControlRecord &r, int32_t id, RowText &out) {
    switch (id) {
    case kPrMenu:
        out.text = kTextNone;
        if (v.doc && v.form && v.form->menu >= 0 && size_t(v.form->menu) < v.doc->menus.menus.size())
            out.text = v.doc->menus.menus[size_t(v.form->menu)].block.Name();
        return true;
    case kPrPointer: out.text = PointerText(r); return true;
    case kPrHotKey: out.text = v.hotKeyName ? v.hotKeyName(r.hotKey) : Num(r.hotKey); return true;
    default: return false;
    }
}

bool ShowFrame(const PropView &v, const ControlRecord &r, int32_t id, RowText &out) {
    bool dlg = r.exStyle & kWsExDlgFrame, thick = r.style & kWsThickFrame, caption = r.style & kWsCaption;
    switch (id) {
    case kPrPosMode: {
        int i = r.positionMode == kPosAuto ? 1 : r.positionMode == kPosDesktop ? 2 : r.positionMode == kPosParent ? 3 : 0;
        out.text = Choice(kForm, id, i);
        return true;
    }
    case kPrShowState: {
        int i = r.showState == kWsMaximize ? 1 : r.showState == kWsMinimize ? 2 : 0;
        out.text = Choice(kForm, id, i);
        return true;
    }
    case kPrText: out.text = v.host.GetText(r.hwnd); return true;
    case kPrFrameKind: out.text = Choice(kForm, id, dlg ? 2 : !thick ? 1 : 0); return true;
    case kPrIcon: {
        std::string s = AreaString(r, fa::iconName, 16);
        out.text = s.empty() ? kTextNone : s;
        return true;
    }
    case kPrCaption: out.text = YesNo(caption); return true;
    case kPrSysMenu: out.text = YesNo(r.style & kWsSysMenu); out.enabled = caption; return true;
    case kPrHScroll: case kPrVScroll:
        out.text = YesNo(r.style & (id == kPrHScroll ? kWsHScroll : kWsVScroll));
        out.enabled = !dlg && thick;
        return true;
    case kPrMaxBox: out.text = YesNo(r.style & kWsMaxBox); out.enabled = !dlg && thick && caption; return true;
    case kPrMinBox: out.text = YesNo(r.style & kWsMinBox); out.enabled = !dlg && caption; return true;
    case kPrAxis: out.text = Choice(kForm, id, r.axis == kAxisBottomLeft ? 1 : 0); return true;
    case kPrTopMost: out.text = YesNo(r.exStyle & kWsExTopMost); return true;
    case kPrCopy: out.text = YesNo(r.area[fa::clipboard] == 1); out.enabled = r.style & kWsSysMenu; return true;
    case kPrDrop: out.text = YesNo(r.exStyle & kWsExAcceptFiles); return true;
    case kPrForm3D: out.text = YesNo(r.area[fa::form3D] == 1); return true;
    default: return false;
    }
}

bool ShowClient(const ControlRecord &r, int32_t id, RowText &out) {
    uint32_t mode = r.area[fa::mapMode];
    switch (id) {
    case kPrMapMode: out.text = Choice(kForm, id, int(mode)); return true;
    case kPrRedraw: out.text = Choice(kForm, id, int(r.area[fa::redrawMode])); out.enabled = mode != 0; return true;
    case kPrColumns: out.text = Num(int32_t(r.area[fa::bufferColumns])); out.enabled = mode == 0; return true;
    case kPrRows: out.text = Num(int32_t(r.area[fa::bufferRows])); out.enabled = mode == 0; return true;
    default: return false;
    }
}

std::string FirstLine(const std::string &s) {
    size_t cr = s.find('\r');
    return cr == std::string::npos ? s : s.substr(0, cr);
}

std::string FirstItem(const PropView &v, const ControlRecord &r) {
    std::vector<std::string> items = v.host.GetListItems(r.hwnd);
    return items.empty() ? std::string() : items[0];
}

// The style rows of an edit control.
bool ShowEditStyle(const PropView &v, const ControlRecord &r, int32_t id, RowText &out) {
    uint32_t s = r.style;
    bool multi = s & kEsMultiLine;
    switch (id) {
    case kPrText: out.text = multi ? FirstLine(v.host.GetText(r.hwnd)) : v.host.GetText(r.hwnd); return true;
    case kPrMultiLine: out.text = YesNo(multi); return true;
    case kPrMaxLength: out.text = Num(int32_t(r.maxLength)); return true;
    case kPrIme: out.text = Choice(kEdit, id, ImeIndexOf(r.imeMode)); return true;
    case kPrReadOnly: out.text = YesNo(s & kEsReadOnly); return true;
    case kPrHScroll: out.text = YesNo(s & kWsHScroll); out.enabled = multi; return true;
    case kPrAutoH: out.text = YesNo(s & kEsAutoH); return true;
    case kPrVScroll: out.text = YesNo(s & kWsVScroll); out.enabled = multi; return true;
    case kPrAutoV: out.text = YesNo(s & kEsAutoV); out.enabled = multi; return true;
    case kPrUpper: out.text = YesNo(s & kEsUpper); return true;
    case kPrLower: out.text = YesNo(s & kEsLower); return true;
    case kPrPassword: out.text = YesNo(s & kEsPassword); return true;
    case kPrNumber: out.text = YesNo(s & kEsNumber); return true;
    case kPrEditAlign:
        out.text = Choice(kEdit, id, (s & kEsRight) ? 2 : (s & kEsCenter) ? 1 : 0);
        out.enabled = multi;
        return true;
    case kPr3D: out.text = YesNo(r.exStyle & kWsExClientEdge); return true;
    case kPrDrop: out.text = YesNo(r.exStyle & kWsExAcceptFiles); return true;
    default: return false;
    }
}

// The style rows of a bitmap button.
bool ShowBmpButtonStyle(const PropView &v, const ControlRecord &r, int32_t id, RowText &out) {
    uint32_t s = r.style;
    bool multiState = (r.area[ba::buttonStyle] & 0xFFFF) == 3;
    switch (id) {
    case kPrBitmap: {
        std::string b = AreaString(r, ba::bitmapName, 16);
        out.text = b.empty() ? kTextNone : b;
        return true;
    }
    case kPrBmpKind: out.text = Choice(kBmpButton, id, int(r.area[ba::buttonStyle] & 0xFFFF)); return true;
    case kPrStates: out.text = Num(int32_t(r.area[ba::frameA])); out.enabled = multiState; return true;
    case kPrInitState: out.text = Num(int32_t(r.area[ba::position])); out.enabled = multiState; return true;
    case kPrFrames: out.text = Num(int32_t(r.area[ba::frameB])); return true;
    case kPrInterval: out.text = Num(int32_t(r.area[ba::drawInterval])); return true;
    case kPrFrameW: out.text = Num(int32_t(r.area[ba::frameSizeA])); return true;
    case kPrFrameH: out.text = Num(int32_t(r.area[ba::frameSizeB])); return true;
    case kPrFitBitmap:
        out.text = YesNo(r.area[ba::buttonStyle] & kBmpFitBitmap);
        out.enabled = v.bitmapLoaded;
        return true;
    case kPrFitControl:
        out.text = YesNo(r.area[ba::buttonStyle] & kBmpFitControl);
        out.enabled = v.bitmapLoaded;
        return true;
    case kPrBorder: out.text = YesNo(s & kWsBorder); return true;
    case kPrAutoState: out.text = YesNo(r.area[ba::buttonState] == 1); return true;
    case kPrTooltip: out.text = AreaString(r, ba::tooltip, (31 - ba::tooltip) * 4); return true;
    default: return false;
    }
}

bool ShowStyle(const PropView &v, const ControlRecord &r, int32_t id, RowText &out) {
    uint32_t s = r.style;
    switch (r.kind) {
    case kButton: case kRadio: case kCheck: case kGroup: case kText:
        switch (id) {
        case kPrText: out.text = v.host.GetText(r.hwnd); return true;
        case kPrDefault: out.text = YesNo((s & 0xF) == kBsDefPush); return true;
        case kPr3State: out.text = YesNo((s & kBsAuto3State) == kBsAuto3State); return true;
        case kPrAlign:
            out.text = Choice(kText, id, (s & kSsNoWrap) ? 3 : (s & kSsRight) ? 2 : (s & kSsCenter) ? 1 : 0);
            return true;
        case kPrBorder: out.text = YesNo(s & kWsBorder); return true;
        case kPrRadioValue: out.text = Choice(kRadio, id, int(r.value & 1)); return true;
        case kPrCheckValue: out.text = Choice(kCheck, id, (r.value & 2) ? 2 : (r.value & 1) ? 1 : 0); return true;
        case kPrDrop: out.text = YesNo(r.exStyle & kWsExAcceptFiles); return true;
        default: return false;
        }
    case kEdit: return ShowEditStyle(v, r, id, out);
    case kList:
        switch (id) {
        case kPrListItems: out.text = FirstItem(v, r); return true;
        case kPrSort: out.text = YesNo(s & kLbsSort); return true;
        case kPrVScroll: out.text = YesNo(s & kWsVScroll); return true;
        case kPrMultiSel: out.text = YesNo(s & kLbsMultiSel); return true;
        case kPrExtSel: out.text = YesNo(s & kLbsExtSel); return true;
        case kPr3D: out.text = YesNo(r.exStyle & kWsExClientEdge); return true;
        case kPrDrop: out.text = YesNo(r.exStyle & kWsExAcceptFiles); return true;
        default: return false;
        }
    case kCombo:
        switch (id) {
        case kPrComboItems: out.text = FirstItem(v, r); return true;
        case kPrComboKind:
            out.text = Choice(kCombo, id, (s & 3) == kCbsDropList ? 2 : (s & kCbsDropDown) ? 1 : 0);
            return true;
        case kPrSort: out.text = YesNo(s & kCbsSort); return true;
        case kPrAutoH: out.text = YesNo(s & kCbsAutoH); return true;
        case kPrVScroll: out.text = YesNo(s & kWsVScroll); return true;
        case kPrDrop: out.text = YesNo(r.exStyle & kWsExAcceptFiles); return true;
        default: return false;
        }
    case kHScroll: case kVScroll:
        if (id < kPrPosition || id > kPrSmall) return false;
        out.text = Num(int32_t(r.area[sa::position + (id - kPrPosition)]));
        return true;
    case kPicture:
        switch (id) {
        case kPrPicMapMode: {
            uint32_t m = r.area[pa::mapMode];
            out.text = Choice(kPicture, id, m >= 1 && m <= 6 ? int(m) - 1 : 0);
            return true;
        }
        case kPrRedraw: out.text = Choice(kPicture, id, int(r.area[pa::redrawMode])); return true;
        case kPrPointer: out.text = PointerText(r); return true;
        case kPrBorder: out.text = YesNo(s & kWsBorder); return true;
        case kPrDrop: out.text = YesNo(r.exStyle & kWsExAcceptFiles); return true;
        default: return false;
        }
    case kOleClient:
        if (id != kPrBorder) return false;
        out.text = YesNo(s & kWsBorder);
        return true;
    case kBmpButton: return ShowBmpButtonStyle(v, r, id, out);
    case kTimer:
        if (id == kPrTimerInterval) out.text = Num(int32_t(r.area[ta::interval]));
        else if (id == kPrTimerEnabled) out.text = YesNo(r.area[ta::enabled] != 0);
        else return false;
        return true;
    default: return false;
    }
}

}  // namespace

// ---- the table --------------------------------------------------------------

const PropertyGroup *PropGroupsOf(uint32_t kind) { return kind < kPropKinds ? kPropertyTable[kind] : nullptr; }

const PropertyGroup *PropFindGroupInfo(uint32_t kind, int32_t group) {
    for (const PropertyGroup *g = PropGroupsOf(kind); g && g->name; ++g)
        if (g->id == group) return g;
    return nullptr;
}

const PropertyRow *PropFindGroup(uint32_t kind, int32_t group) {
    const PropertyGroup *g = PropFindGroupInfo(kind, group);
    return g ? g->rows : nullptr;
}

const PropertyRow *PropFindRow(uint32_t kind, int32_t id) {
    for (const PropertyGroup *g = PropGroupsOf(kind); g && g->name; ++g)
        for (const PropertyRow *r = g->rows; r->name; ++r)
            if (r->id == id) return r;
    return nullptr;
}

bool PropRowVisible(uint32_t kind, int32_t group, int32_t id) {
    const PropertyGroup *g = PropFindGroupInfo(kind, group);
    if (!g) return false;
    if (g->mask == kAllRows) return true;
    uint32_t bit = 0;
    switch (group) {
    case kGrpStyle:
        bit = id == 16 ? 0x01 : id == 51 ? 0x02 : id == 52 ? 0x04 : id == 53 ? 0x08 : id == 54 ? 0x10
            : id == 56 ? 0x20 : id == 57 ? 0x40 : id == 30 ? 0x80 : 0;
        break;
    case kGrpBasic:
        bit = id == 12 || id == 13 ? 0x01 : id == 14 || id == 15 ? 0x02 : id == 28 ? 0x04 : id == 29 ? 0x08
            : id == 58 ? 0x10 : 0;
        break;
    case kGrpColour: bit = id == 37 ? 0x01 : id == 39 ? 0x02 : id == 40 ? 0x04 : id == 38 ? 0x08 : 0; break;
    case kGrpOther: bit = id == 48 ? 0x01 : id == 49 ? 0x02 : 0; break;
    default: break;
    }
    return (g->mask & bit) != 0;
}

int ChoiceCount(const char *const *choices) {
    int n = 0;
    while (choices && choices[n]) ++n;
    return n;
}

int ChoiceIndex(const char *const *choices, std::string_view text) {
    for (int i = 0; choices && choices[i]; ++i)
        if (text == choices[i]) return i;
    return -1;
}

std::string FormatTenths(int32_t size) {
    if (size < 0) return "";
    int32_t halves = (size + 5) / 10;
    char b[32];
    if (halves % 2 == 0) std::snprintf(b, sizeof b, "%ld", long(halves / 2));
    else std::snprintf(b, sizeof b, "%.1f", halves * 0.5);
    return b;
}

int TextColourIndex(uint32_t number, uint32_t attribute) {
    if (number == 0) return attribute == 4 ? 0 : 1;
    int i = int(number & 7) * 2 + (attribute == 4 ? 1 : 0);
    return i > 15 ? 15 : i;
}

void TextColourOf(int index, uint32_t &number, uint32_t &attribute) {
    number = uint32_t(index / 2);
    attribute = (index == 0 || (index % 2 == 1 && index != 1)) ? 4 : 0;
}

const char *ColourCaption(uint32_t value) {
    int i = PaletteIndexOf(value);
    return kColourNames[i < 0 ? 0 : i];
}

uint32_t ImeWordOf(int index) { return index <= 2 ? uint32_t(index < 0 ? 0 : index) : uint32_t(index + 1); }
int ImeIndexOf(uint32_t word) { return word <= 2 ? int(word) : word == 3 ? 0 : word <= 7 ? int(word) - 1 : 0; }

std::string CutProcName(std::string_view name) { return prj::CutSb(name, kProcNameSize - 1); }

bool PropShowByKind(const PropView &v, const ControlRecord &r, int32_t group, int32_t id, RowText &out) {
    out = RowText{};
    if (!PropGroupsOf(r.kind) || !PropFindGroupInfo(r.kind, group)) return false;
    switch (group) {
    case kGrpBasic: return ShowBasic(v, r, id, out);
    case kGrpColour: return ShowColour(r, id, out);
    case kGrpFont: return ShowFont(v, r, id, out);
    case kGrpOther: return ShowOther(v, r, id, out);
    case kGrpFrame: return r.kind == kForm && ShowFrame(v, r, id, out);
    case kGrpClient: return r.kind == kForm && ShowClient(r, id, out);
    case kGrpStyle: return ShowStyle(v, r, id, out);
    default: return false;
    }
}

// ---- applying ---------------------------------------------------------------

bool PropSet3DEdge(ControlRecord &r, bool on) {
    bool was = r.exStyle & kWsExClientEdge;
    SetBits(r.exStyle, kWsExClientEdge, on);
    SetBits(r.style, kWsBorder, !on);
    return was;
}

std::string PropJoinItems(const std::vector<std::string> &items, int mode) {
    std::string s;
    for (size_t i = 0; i < items.size(); ++i) s += (i ? "\r\n" : "") + items[i];
    if (mode != 1) return s;
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n') {
            out += "\\r\\n";
            ++i;
        } else {
            out += s[i];
        }
    }
    return out;
}

std::vector<std::string> PropSplitItems(std::string_view text, int mode) {
    std::string s(text);
    if (mode == 1) {
        std::string t;
        for (size_t i = 0; i < s.size(); ++i) {
            if (s.compare(i, 4, "\\r\\n") == 0) {
                t += "\r\n";
                i += 3;
            } else {
                t += s[i];
            }
        }
        s = t;
    }
    std::vector<std::string> items;
    size_t at = 0;
    while (at < s.size()) {
        size_t nl = s.find("\r\n", at);
        if (nl == std::string::npos) {
            items.push_back(s.substr(at));
            break;
        }
        items.push_back(s.substr(at, nl - at));
        at = nl + 2;
    }
    return items;
}

int32_t PropFontTenths(const ControlRecord &r, int32_t number, int32_t pixelsPerInch) {
    if (r.kind == kForm && r.area[fa::mapMode] > 1) return number * 10;
    return pixelsPerInch > 0 ? number * 10 * 72 / pixelsPerInch : number * 10;
}

namespace {

void ApplyCursor(Document *doc, ControlRecord &r, const PropEdit &e) {
    std::string old = FieldText(r.cursorName, sizeof r.cursorName);
    if (doc && !old.empty()) doc->List(kListCursor).Release(old);
    r.cursorId = 0;
    r.cursorHandle = 0;
    SetField(r.cursorName, "");
    if (e.index >= 1 && e.index <= 11) {
        r.cursorId = kStockPointers[e.index - 1].id;
    } else if (e.index >= 12 && doc) {
        FileList &l = doc->List(kListCursor);
        size_t i = size_t(e.index - 12);
        if (i < l.entries.size()) {
            SetField(r.cursorName, ResourceName(l.entries[i].path));
            ++l.entries[i].uses;
        }
    }
}

void ApplyBasic(ControlRecord &r, const PropEdit &e, ApplyResult &a) {
    switch (e.id) {
    case kPrX: case kPrY: case kPrWidth: case kPrHeight: a.rect = true; break;
    case kPrVisible:
        r.visible = IsYes(e) ? 1 : 0;
        SetBits(r.style, kWsVisible, IsYes(e));
        a.ending = Ending::Store;
        break;
    case kPrDisabled: SetBits(r.style, kWsDisabled, IsYes(e)); a.ending = Ending::Store; break;
    case kPr3D: PropSet3DEdge(r, OnIndex0(e)); a.ending = Ending::Recreate; break;
    default: return;
    }
    a.handled = true;
}

void ApplyControlColour(DesignerHost &host, ControlRecord &r, const PropEdit &e, ApplyResult &a) {
    int i = e.index < 0 || e.index > 15 ? 0 : e.index;
    a.handled = true;
    a.ending = Ending::Redraw;
    if (r.kind == kForm || r.kind == kPicture) {
        if (e.id == kPrTextColour) {
            // The record is packed: its words are not bound by reference.
            uint32_t number = 0, attribute = 0;
            TextColourOf(i, number, attribute);
            r.area[pa::textColor] = number;
            r.area[pa::attribute] = attribute;
        } else if (e.id == kPrForeColour) r.area[pa::foreColor] = uint32_t(i);
        else if (e.id == kPrBackColour) {
            r.area[pa::backColor] = uint32_t(i);
            r.backBrush = host.PaletteBrush(i);
            if (r.kind == kForm) {
                a.reapply3D = true;
                a.on3D = i != kWhite;
            }
        } else a.handled = false;
        return;
    }
    if (r.kind == kHScroll || r.kind == kVScroll) {
        if (e.id != kPrCtlBack) { a.handled = false; return; }
        r.area[sa::ctlBackColor] = kPalette[i];
        r.backBrush = host.PaletteBrush(i);
        return;
    }
    bool takeText = e.id == kPrTextColour, takeBack = e.id == kPrCtlBack;
    if (r.kind == kCombo) {
        uint32_t t = r.style & 3;
        takeText = takeText && t == kCbsDropList;
        takeBack = takeBack && t == kCbsDropDown;
    }
    if (takeText) r.area[ca::ctlTextColor] = kPalette[i];
    if (takeBack) {
        r.area[ca::ctlBackColor] = kPalette[i];
        r.backBrush = host.PaletteBrush(i);
    }
}

void ApplyButtonStyle(ControlRecord &r, const PropEdit &e, ApplyResult &a) {
    a.handled = true;
    switch (e.id) {
    case kPrText: a.setText = true; break;
    case kPrDefault:
        if (r.kind != kButton) { a.handled = false; break; }
        SetBits(r.style, kBsDefPush, IsYes(e));
        a.ending = Ending::Restyle;
        break;
    case kPrBorder: SetBits(r.style, kWsBorder, OnIndex0(e)); a.ending = Ending::Recreate; break;
    case kPrRadioValue: r.value = e.index == 1 ? 1 : 0; a.ending = Ending::Store; a.setCheck = true; break;
    case kPr3State:
        r.style = (r.style & ~7u) | (IsYes(e) ? kBsAuto3State : kBsAutoCheck);
        a.ending = Ending::Restyle;
        break;
    case kPrCheckValue:
        r.value = e.index == 1 ? 1 : e.index == 2 ? 2 : 0;
        a.ending = Ending::Store;
        a.setCheck = true;
        break;
    case kPrDrop: SetBits(r.exStyle, kWsExAcceptFiles, IsYes(e)); a.ending = Ending::Store; break;
    case kPrAlign: {
        r.style &= ~0xFu;
        static const uint32_t kAlign[4] = {0, kSsCenter, kSsRight, kSsNoWrap};
        if (e.index >= 0 && e.index < 4) r.style |= kAlign[e.index];
        a.ending = Ending::Restyle;
        break;
    }
    default: a.handled = false; break;
    }
}

void ApplyEditStyle(ControlRecord &r, const PropEdit &e, ApplyResult &a) {
    bool on = OnIndex0(e);
    a.handled = true;
    a.ending = Ending::Recreate;
    switch (e.id) {
    case kPrText: a.setText = true; break;
    case kPrHScroll: SetBits(r.style, kWsHScroll, on); break;
    case kPrVScroll: SetBits(r.style, kWsVScroll, on); break;
    case kPrDrop: SetBits(r.exStyle, kWsExAcceptFiles, IsYes(e)); break;
    case kPrEditAlign:
        r.style &= ~(kEsCenter | kEsRight);
        if (e.index == 1) r.style |= kEsCenter;
        if (e.index == 2) r.style |= kEsRight;
        break;
    case kPr3D: PropSet3DEdge(r, on); break;
    case kPrMultiLine:
        if (on) {
            r.style = (r.style | kEsMultiLine) & ~kEsPassword;
            a.textRowType = kEdLines;
        } else {
            r.style &= ~(kEsMultiLine | kEsCenter | kEsRight);
            a.textRowType = kEdText;
            a.rows.push_back({kPrEditAlign, Choice(kEdit, kPrEditAlign, 0), -1});
        }
        for (int32_t id : {kPrHScroll, kPrVScroll, kPrAutoV, kPrEditAlign}) a.rows.push_back({id, nullptr, on ? 1 : 0});
        break;
    case kPrMaxLength: r.maxLength = uint32_t(NumberOf(e)); a.setLimit = true; break;
    case kPrIme: r.imeMode = ImeWordOf(e.index); a.setIme = true; break;
    case kPrReadOnly: SetBits(r.style, kEsReadOnly, on); break;
    case kPrAutoH: SetBits(r.style, kEsAutoH, on); break;
    case kPrAutoV: SetBits(r.style, kEsAutoV, on); break;
    case kPrUpper:
        SetBits(r.style, kEsUpper, on);
        if (on) {
            r.style &= ~kEsLower;
            a.rows.push_back({kPrLower, kTextNo, -1});
        }
        break;
    case kPrLower:
        SetBits(r.style, kEsLower, on);
        if (on) {
            r.style &= ~kEsUpper;
            a.rows.push_back({kPrUpper, kTextNo, -1});
        }
        break;
    case kPrPassword: SetBits(r.style, kEsPassword, on); break;
    case kPrNumber: SetBits(r.style, kEsNumber, on); break;
    default: a.handled = false; a.ending = Ending::None; break;
    }
}

void ApplyListStyle(DesignerHost &host, ControlRecord &r, const PropEdit &e, ApplyResult &a) {
    bool on = OnIndex0(e), list = r.kind == kList;
    a.handled = true;
    a.ending = Ending::Recreate;
    switch (e.id) {
    case kPrVScroll: SetBits(r.style, kWsVScroll, on); break;
    case kPrDrop: SetBits(r.exStyle, kWsExAcceptFiles, IsYes(e)); break;
    case kPr3D: PropSet3DEdge(r, on); break;
    case kPrListItems: case kPrComboItems: a.setItems = true; break;
    case kPrSort: SetBits(r.style, list ? kLbsSort : kCbsSort, on); break;
    case kPrMultiSel:
        SetBits(r.style, kLbsMultiSel, on);
        if (on) r.style &= ~kLbsExtSel;
        break;
    case kPrExtSel:
        SetBits(r.style, kLbsExtSel, on);
        if (on) r.style &= ~kLbsMultiSel;
        break;
    case kPrAutoH: SetBits(r.style, kCbsAutoH, on); break;
    case kPrComboKind:
        r.style &= ~3u;
        if (e.index == 0) {
            r.style |= kCbsSimple;
            r.area[ca::ctlTextColor] = kPalette[0];
            r.area[ca::ctlBackColor] = kPalette[kWhite];
            r.backBrush = host.PaletteBrush(kWhite);
        } else if (e.index == 1) {
            r.style |= kCbsDropDown;
            r.area[ca::ctlTextColor] = kPalette[0];
        } else {
            r.style |= kCbsDropList;
            r.area[ca::ctlBackColor] = kPalette[kWhite];
            r.backBrush = host.PaletteBrush(kWhite);
        }
        break;
    default: a.handled = false; a.ending = Ending::None; break;
    }
}

void ApplyScroll(DesignerHost &host, ControlRecord &r, const PropEdit &e, ApplyResult &a) {
    int32_t n = NumberOf(e);
    int32_t pos = int32_t(r.area[sa::position]), lo = int32_t(r.area[sa::minimum]), hi = int32_t(r.area[sa::maximum]);
    a.handled = true;
    a.ending = Ending::Store;
    switch (e.id) {
    case kPrPosition:
        r.area[sa::position] = uint32_t(n);
        if (n < lo || n > hi) a.messages.push_back(kMsgPosOutside);
        break;
    case kPrMinimum:
        if (int64_t(hi) - n >= 32768) {
            a.messages.push_back(kMsgRangeTooWide);
            a.ending = Ending::None;
            break;
        }
        r.area[sa::minimum] = uint32_t(n);
        if (n > pos) a.messages.push_back(kMsgMinAbovePos);
        break;
    case kPrMaximum:
        if (int64_t(n) - lo >= 32768) {
            a.messages.push_back(kMsgRangeTooWide);
            a.ending = Ending::None;
            break;
        }
        r.area[sa::maximum] = uint32_t(n);
        if (n < pos) a.messages.push_back(kMsgMaxBelowPos);
        break;
    case kPrLarge: r.area[sa::largeChange] = uint32_t(n); break;
    case kPrSmall: r.area[sa::smallChange] = uint32_t(n); break;
    default: a.handled = false; a.ending = Ending::None; break;
    }
    (void)host;
}

void ApplyPicture(Document *doc, ControlRecord &r, const PropEdit &e, ApplyResult &a) {
    a.handled = true;
    a.ending = Ending::Store;
    switch (e.id) {
    case kPrDrop: SetBits(r.exStyle, kWsExAcceptFiles, IsYes(e)); break;
    case kPrRedraw: r.area[pa::redrawMode] = uint32_t(e.index < 0 ? 0 : e.index); break;
    case kPrPicMapMode: r.area[pa::mapMode] = uint32_t((e.index < 0 ? 0 : e.index) + 1); break;
    case kPrPointer: ApplyCursor(doc, r, e); break;
    case kPrBorder:
        SetBits(r.style, kWsBorder, OnIndex0(e));
        a.hideShow = !OnIndex0(e) || r.kind == kOleClient;
        a.ending = Ending::Restyle;
        break;
    default: a.handled = false; a.ending = Ending::None; break;
    }
}

void RecomputeFrameWidth(ControlRecord &r) {
    uint32_t d = r.area[ba::frameB] * r.area[ba::frameA];
    r.area[ba::frameSizeA] = r.area[ba::bitmapWidth] / (d ? d : 1);
}

void ApplyBmpButton(ControlRecord &r, const PropEdit &e, ApplyResult &a) {
    bool multi = (r.area[ba::buttonStyle] & 0xFFFF) == 3;
    uint32_t n = uint32_t(NumberOf(e));
    a.handled = true;
    a.ending = Ending::Redraw;
    switch (e.id) {
    case kPrBorder: SetBits(r.style, kWsBorder, IsYes(e)); break;
    case kPrBmpKind: {
        int k = e.index < 0 || e.index > 3 ? 0 : e.index;
        r.area[ba::buttonStyle] = (r.area[ba::buttonStyle] & ~0xFFFFu) | uint32_t(k);
        if (k < 3) r.area[ba::frameA] = k == 0 ? 1 : 2;
        r.area[ba::runState] = 0;
        RecomputeFrameWidth(r);
        break;
    }
    case kPrInitState:
        if (!multi) break;
        r.area[ba::position] = n;
        r.area[ba::runState] = 0;
        break;
    case kPrStates:
        if (!multi) break;
        r.area[ba::frameA] = n;
        r.area[ba::runState] = 0;
        RecomputeFrameWidth(r);
        break;
    case kPrFrames: r.area[ba::frameB] = n; RecomputeFrameWidth(r); break;
    case kPrInterval: r.area[ba::drawInterval] = n; break;
    case kPrFrameW: r.area[ba::frameSizeA] = n; r.area[ba::runState] = 0; break;
    case kPrFrameH: r.area[ba::frameSizeB] = n; r.area[ba::runState] = 0; break;
    case kPrFitBitmap:
        r.area[ba::buttonStyle] &= ~(kBmpFitBitmap | kBmpFitControl);
        if (IsYes(e)) r.area[ba::buttonStyle] |= kBmpFitBitmap;
        break;
    case kPrFitControl:
        r.area[ba::buttonStyle] &= ~(kBmpFitBitmap | kBmpFitControl);
        if (IsYes(e)) r.area[ba::buttonStyle] |= kBmpFitControl;
        break;
    case kPrAutoState: r.area[ba::buttonState] = OnIndex0(e) ? 1 : 0; break;
    case kPrTooltip: SetField(AreaText(r, ba::tooltip), (31 - ba::tooltip) * 4, e.text); break;
    default: a.handled = false; a.ending = Ending::None; break;
    }
}

void ApplyFrame(ControlRecord &r, const PropEdit &e, ApplyResult &a) {
    const PropertyRow *row = PropFindRow(kForm, e.id);
    int i = row && row->choices ? ChoiceIndex(row->choices, e.text) : -1;
    if (i < 0) i = 0;
    bool yes = IsYes(e);
    a.handled = true;
    a.frameChange = true;
    a.ending = Ending::Store;
    a.refreshGroup = true;
    switch (e.id) {
    case kPrPosMode: {
        static const uint32_t k[4] = {kPosUser, kPosAuto, kPosDesktop, kPosParent};
        r.positionMode = k[i];
        break;
    }
    case kPrShowState: {
        static const uint32_t k[3] = {kShowNormal, kWsMaximize, kWsMinimize};
        r.showState = k[i];
        break;
    }
    case kPrText: a.setText = true; a.frameChange = false; a.refreshGroup = false; a.ending = Ending::None; break;
    case kPrFrameKind:
        if (i == 0) {
            r.style |= kWsThickFrame;
            r.exStyle &= ~kWsExDlgFrame;
        } else {
            r.style &= ~(kWsThickFrame | kWsHScroll | kWsVScroll | kWsMaxBox);
            if (i == 1) r.exStyle &= ~kWsExDlgFrame;
            else {
                r.style &= ~kWsMinBox;
                r.exStyle |= kWsExDlgFrame;
            }
        }
        break;
    case kPrCaption:
        if (yes) r.style |= kWsCaption;
        else {
            r.style &= ~(kWsCaption | kWsSysMenu | kWsMinBox | kWsMaxBox);
            r.style |= kWsPopup;
            r.area[fa::clipboard] = 0;
        }
        break;
    case kPrSysMenu:
        SetBits(r.style, kWsSysMenu, yes);
        if (!yes) r.area[fa::clipboard] = 0;
        break;
    case kPrHScroll: SetBits(r.style, kWsHScroll, yes); break;
    case kPrVScroll: SetBits(r.style, kWsVScroll, yes); break;
    case kPrMaxBox: SetBits(r.style, kWsMaxBox, yes); break;
    case kPrMinBox: SetBits(r.style, kWsMinBox, yes); break;
    case kPrAxis: r.axis = i == 1 ? kAxisBottomLeft : kAxisTopLeft; break;
    case kPrTopMost: SetBits(r.exStyle, kWsExTopMost, yes); break;
    case kPrCopy: r.area[fa::clipboard] = yes ? 1 : 0; break;
    case kPrDrop: SetBits(r.exStyle, kWsExAcceptFiles, yes); break;
    case kPrForm3D: {
        uint32_t was = r.area[fa::form3D];
        r.area[fa::form3D] = yes ? 1 : 0;
        a.form3DChanged = was != r.area[fa::form3D];
        break;
    }
    default: a.handled = false; a.frameChange = false; a.refreshGroup = false; a.ending = Ending::None; break;
    }
}

void ApplyClient(ControlRecord &r, const PropEdit &e, ApplyResult &a) {
    a.handled = true;
    a.refreshGroup = true;
    a.ending = Ending::Store;
    switch (e.id) {
    case kPrMapMode: {
        uint32_t was = r.area[fa::mapMode], now = uint32_t(e.index < 0 ? 0 : e.index);
        r.area[fa::mapMode] = now;
        if (now == 0) r.area[fa::redrawMode] = 1;
        bool scroll = r.style & (kWsHScroll | kWsVScroll);
        a.reframe = (now == 0 && was != 0) || (was == 0 && now != 0 && scroll);
        break;
    }
    case kPrRedraw: r.area[fa::redrawMode] = uint32_t(e.index < 0 ? 0 : e.index); break;
    case kPrColumns: r.area[fa::bufferColumns] = uint32_t(NumberOf(e)); a.reframe = true; break;
    case kPrRows: r.area[fa::bufferRows] = uint32_t(NumberOf(e)); a.reframe = true; break;
    default: a.handled = false; a.refreshGroup = false; a.ending = Ending::None; break;
    }
}

}  // namespace

ApplyResult PropApplyRecord(DesignerHost &host, Document *doc, ControlRecord &r, const PropEdit &e) {
    ApplyResult a;
    const PropertyGroup *g = PropFindGroupInfo(r.kind, e.group);
    if (!g) return a;
    switch (e.group) {
    case kGrpBasic: ApplyBasic(r, e, a); return a;
    case kGrpColour:
        if (r.kind == kForm || (r.kind >= kRadio && r.kind <= kPicture)) ApplyControlColour(host, r, e, a);
        return a;
    case kGrpFont: a.handled = true; a.fontChanged = true; a.ending = Ending::Redraw; return a;
    case kGrpOther:
        if (e.id == kPrPointer) {
            ApplyCursor(doc, r, e);
            a.handled = true;
            a.ending = r.kind == kBmpButton ? Ending::Restyle : Ending::Store;
        } else if (e.id == kPrHotKey) {
            a.handled = true;
            a.ending = Ending::Store;
        }
        return a;
    case kGrpFrame: if (r.kind == kForm) ApplyFrame(r, e, a); return a;
    case kGrpClient: if (r.kind == kForm) ApplyClient(r, e, a); return a;
    case kGrpStyle: break;
    default: return a;
    }
    switch (r.kind) {
    case kButton: case kRadio: case kCheck: case kText: ApplyButtonStyle(r, e, a); break;
    case kGroup: if (e.id == kPrText) a.handled = a.setText = true; break;
    case kEdit: ApplyEditStyle(r, e, a); break;
    case kList: case kCombo: ApplyListStyle(host, r, e, a); break;
    case kHScroll: case kVScroll: ApplyScroll(host, r, e, a); break;
    case kPicture: case kOleClient: ApplyPicture(doc, r, e, a); break;
    case kBmpButton: ApplyBmpButton(r, e, a); break;
    case kTimer:
        a.handled = true;
        a.ending = Ending::Store;
        if (e.id == kPrTimerInterval) r.area[ta::interval] = uint32_t(std::strtoul(e.text.c_str(), nullptr, 10));
        else if (e.id == kPrTimerEnabled) r.area[ta::enabled] = OnIndex0(e) ? 1 : 0;
        else a.handled = false;
        break;
    default: break;
    }
    return a;
}

// ---- event procedures -------------------------------------------------------

int DefaultEventOf(uint32_t kind) {
    switch (kind) {
    case kForm: case kMdiChild: return 3;
    case kButton: case kRadio: case kCheck: case kBmpButton: case 20: return 1;
    case kGroup: case 21: return 0;
    case kEdit: case kList: case kHScroll: case kVScroll: case kCombo: return 2;
    case kText: case kPicture: case kOleClient: return 8;
    case kTimer: return 15;
    case kMci: return 14;
    case kPrinter: return 16;
    default: return -1;
    }
}

const char *EventParams(int event) {
    switch (event) {
    case 10: case 11: case 12: return "( byval button%, byval shift%, byval sx!, byval sy! )";
    case 13: case 16: return "( byval status% )";
    case 14: return "( byval status& )";
    case 17: return "( CANCEL%, byval MODE% )";
    case 18: return "( byval OPERATION& )";
    case 19: return "( byval DF& )";
    case 20: return "( byval button%, byval shift%, byval sx!, byval sy!, byval rotate& )";
    default: return "()";
    }
}

std::string EvtDeclaration(std::string_view proc, int event) {
    return "declare sub " + std::string(proc) + " edecl " + EventParams(event);
}

std::string EvtProcedureText(std::string_view proc, int event, int tabWidth) {
    std::string decl = EvtDeclaration(proc, event);
    std::string rule = "'" + std::string(64, '=') + "\r\n";
    std::string s = rule + "'" + std::string(tabWidth == 8 ? 8 : 16, '\t') + "=\r\n" + rule;
    s += decl + "\r\n";
    s += "sub " + std::string(proc) + EventParams(event) + "\r\n";
    s += "\r\n";
    s += "end sub\r\n";
    return s;
}

std::string EvtSourceName(std::string_view formName) { return std::string(formName) + ".SUB"; }

bool EvtIsFormSource(std::string_view fileName, std::string_view formName) {
    std::string want = prj::CutSb(formName, 8) + ".SUB";
    return prj::EqualNoCase(fileName, want) || prj::EqualNoCase(fileName, EvtSourceName(formName));
}

std::vector<ObjectItem> PropObjectItems(const Form &form, const MenuList &menus) {
    std::vector<ObjectItem> out;
    for (const auto &r : form.table) out.push_back({FieldText(r.name, sizeof r.name), ObjectData(r.id, r.kind)});
    if (form.menu < 0 || size_t(form.menu) >= menus.menus.size()) return out;
    const MenuBlock &m = menus.menus[size_t(form.menu)].block;
    for (size_t i = 0; i < m.ItemCount(); ++i) {
        const MenuItem &it = m.items[i];
        out.push_back({FieldText(it.name, sizeof it.name), ObjectData(it.id, MnuItemKind(it))});
    }
    return out;
}

int PropFindMenuItem(const Form &form, const MenuList &menus, uint32_t data) {
    if (form.menu < 0 || size_t(form.menu) >= menus.menus.size() || (data & 0xFFFF) < kMenuItemKind) return -1;
    const MenuBlock &m = menus.menus[size_t(form.menu)].block;
    for (size_t i = 0; i < m.ItemCount(); ++i) {
        if (ObjectData(m.items[i].id, MnuItemKind(m.items[i])) == data) return int(i);
    }
    return -1;
}

}  // namespace dsg
