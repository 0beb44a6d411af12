#include "dsg_formdata.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include "sjis_path.h"

namespace dsg {

const FormItemName kFormItems[] = {
    {1, 0, "__BEGIN"}, {2, 0, "__END"}, {9, 0, "__CLASS"}, {10, 0, "__CREATE"},
    {112, 0, "__CREATE3"}, {211, 0, "__3DFORM3"}, {212, 0, "__ATTRDATA3"},
    {11, 0, "__WINDOWTITLE"}, {173, 0, "__VALUE3"}, {172, 0, "__LISTITEM3"},
    {12, 0, "__WINDOWSIZE"}, {159, 0, "__WINDOWSIZE3"}, {13, 0, "__SHOWWINDOW"},
    {201, 0, "__SHOWWINDOW3"}, {14, 0, "__ENABLEWINDOW"}, {15, 0, "__SHOWMINIMIZED"},
    {16, 0, "__SHOWMAXIMIZED"}, {17, 0, "__STYLE"}, {21, 0, "__CONTROLNAME"}, {22, 0, "__MENU"},
    {23, 0, "__BITMAP"}, {24, 0, "__CURSORID"}, {25, 0, "__CURSOR"}, {124, 0, "__AXIS3"},
    {30, 0, "__TEXTCOLOR"}, {31, 0, "__FORECOLOR"}, {32, 0, "__BACKCOLOR"},
    {33, 0, "__ATTRIBUTE"}, {156, 0, "__LIMITTEXT3"}, {34, 0, "__CTRLTEXTCOLOR"},
    {35, 0, "__CTRLBACKCOLOR"}, {36, 0, "__TEXTBUFFER"}, {37, 0, "__MAPMODE"},
    {38, 0, "__MAXCLIENT"}, {39, 0, "__REDRAWMODE"}, {186, 0, "__IMEMODE3"},
    {50, 0, "__SCROLLRANGE"}, {51, 0, "__SCROLLSTEP"}, {52, 0, "__TIMER"},
    {53, 0, "__BUTTONSTYLE"}, {54, 0, "__BUTTONFRAME"}, {55, 0, "__FRAMESIZE"},
    {56, 0, "__DRAWINTERVAL"}, {57, 0, "__BUTTONSTATE"}, {58, 0, "__TOOLTIP"}, {60, 0, "__GRID"},
    {61, 0, "__CLIPBOARD"}, {62, 0, "__GRID2"}, {70, 0, "__FONTSIZE"}, {71, 0, "__FONTBOLD"},
    {72, 0, "__FONTITALIC"}, {73, 0, "__FONTUNDERLINE"}, {74, 0, "__FONTSTRIKEOUT"},
    {75, 0, "__FONTNAME"}, {76, 0, "__FONTNAME2"}, {80, 0, "__EVENT"}, {90, 0, "__MENUCTRLNAME"},
    {300, 1, "__SENDMESSAGE"}, {0xFFFFFFFFu, 0, ""},
};

const char *FormItemNameOf(uint32_t code) {
    for (const FormItemName *r = kFormItems; r->code != 0xFFFFFFFFu; ++r)
        if (r->code == code) return r->name;
    return "";
}

Point FrmDPtoLP(DesignerHost &host, uint32_t form, uint32_t mode, Point p) {
    if (mode <= 1) return p;
    Point q = host.DeviceToLogical(form, int(mode), p);
    q.y = int32_t(0u - uint32_t(q.y));  // wraps as the platform's int does
    return q;
}

Point FrmLPtoDP(DesignerHost &host, uint32_t form, uint32_t mode, Point p) {
    if (mode <= 1) return p;
    Point q = host.LogicalToDevice(form, int(mode), p);
    q.y = int32_t(0u - uint32_t(q.y));  // wraps as the platform's int does
    return q;
}

namespace {

bool FontInPixels(const ControlRecord &r) {
    uint32_t mode = r.kind == kForm ? r.area[fa::mapMode] : r.kind == kPicture ? r.area[pa::mapMode] : 99;
    return mode <= 1;
}

int32_t MulDiv(int64_t a, int64_t b, int64_t c) {
    if (c == 0) return -1;
    int64_t n = a * b;
    int64_t q = (n + (((n < 0) != (c < 0)) ? -c / 2 : c / 2)) / c;  // rounded half away from zero
    return int32_t(q);
}

}  // namespace

int32_t FontPointsToHeight(DesignerHost &host, const ControlRecord &r, int32_t points) {
    if (FontInPixels(r)) return -points;
    return -MulDiv(points, int64_t(host.VertRes()) * 254, int64_t(host.VertSize()) * 720);
}

int32_t FontHeightToPoints(DesignerHost &host, const ControlRecord &r, int32_t height) {
    int32_t v = FontInPixels(r) ? height
                                : MulDiv(height, int64_t(host.VertSize()) * 720, int64_t(host.VertRes()) * 254);
    return v < 0 ? -v : v;
}

namespace {

class Reader {
public:
    Reader(const uint8_t *p, size_t n) : p_(p), n_(n) {}
    bool U16(uint16_t &v) {
        if (n_ - pos_ < 2) return false;
        v = uint16_t(p_[pos_] | p_[pos_ + 1] << 8);
        pos_ += 2;
        return true;
    }
    bool U32(uint32_t &v) {
        if (n_ - pos_ < 4) return false;
        v = p_[pos_] | p_[pos_ + 1] << 8 | p_[pos_ + 2] << 16 | uint32_t(p_[pos_ + 3]) << 24;
        pos_ += 4;
        return true;
    }
    bool Str(std::string &s) {
        const void *z = memchr(p_ + pos_, 0, n_ - pos_);
        if (!z) return false;
        size_t len = static_cast<const uint8_t *>(z) - (p_ + pos_);
        s.assign(reinterpret_cast<const char *>(p_ + pos_), len);
        pos_ += len + 1;
        return true;
    }
    bool Peek16(uint16_t &v) const {
        if (n_ - pos_ < 2) return false;
        v = uint16_t(p_[pos_] | p_[pos_ + 1] << 8);
        return true;
    }
    bool Skip(size_t k) {
        if (n_ - pos_ < k) return false;
        pos_ += k;
        return true;
    }

private:
    const uint8_t *p_;
    size_t n_;
    size_t pos_ = 0;
};

struct Build {
    DesignerHost &host;
    Document &doc;
    Reader in;
    uint16_t version;
    std::string scriptPath;
    std::string className, iconName;
    Form *form = nullptr;  // the form being built
    uint32_t message = 0;

    bool Fail(uint32_t id) {
        if (!message) message = id;
        return false;
    }
    ControlRecord *Rec(uint32_t cur) { return form && cur ? CtlFind(*form, cur) : nullptr; }
    ControlRecord &FormRec() { return form->table[0]; }

    bool RunBlock(uint32_t parent, uint32_t &cur);
    bool Item(uint16_t code, uint32_t parent, uint32_t &cur);
    // One kind of item each; none when the code is another kind's.
    using ItemPart = std::optional<bool> (Build::*)(uint16_t code, uint32_t parent, uint32_t cur, ControlRecord *rp,
                                                    ControlRecord &r);
    std::optional<bool> WindowItem(uint16_t code, uint32_t parent, uint32_t cur, ControlRecord *rp, ControlRecord &r);
    std::optional<bool> LookItem(uint16_t code, uint32_t, uint32_t cur, ControlRecord *, ControlRecord &r);
    std::optional<bool> ContentItem(uint16_t code, uint32_t, uint32_t cur, ControlRecord *rp, ControlRecord &r);
    bool Create(uint16_t code, uint32_t parent, uint32_t &cur);
    bool CreateForm(ControlRecord &r, uint32_t kind, uint32_t &cur);
    bool CreateControl(ControlRecord &r, uint32_t kind, bool groupMark, bool endMark, uint32_t &cur);
    bool Font(uint16_t code, ControlRecord &r, uint32_t cur);
    bool ControlName(ControlRecord &r);
    bool Events(ControlRecord *r);
};

bool IsFormArea(uint32_t k) { return k == kForm || k == kMdiFrame || k == kMdiChild; }
bool IsColourKind(uint32_t k) { return k == kForm || k == kMdiChild || k == kPicture; }
bool IsCtlColour(uint32_t k) { return (k >= kButton && k <= kList) || k == kCombo; }
bool IsScroll(uint32_t k) { return k == kHScroll || k == kVScroll; }

void Recompute(DesignerHost &host, ControlRecord &r, bool menu) { FrmCalcWindowRect(host, r, menu); }

bool Build::RunBlock(uint32_t parent, uint32_t &cur) {
    uint16_t code;
    if (!in.Peek16(code)) return Fail(kMsgBadParam);
    if (code == kItEnd) return in.Skip(2);
    for (;;) {
        if (!in.U16(code)) return Fail(kMsgBadParam);
        if (code == kItBegin) {
            // Only a form has a block of controls.
            if (!form || cur != form->window) return Fail(kMsgBadParam);
            uint32_t inner = 0;
            if (!RunBlock(cur, inner)) return false;
        } else if (code != 0 && !Item(code, parent, cur)) {
            return Fail(kMsgBadParam);
        }
        if (!in.Peek16(code)) return Fail(kMsgBadParam);
        if (code == kItEnd) return in.Skip(2);
    }
}

// The style and attribute flags of a 16-bit creation item.
void Style16(uint32_t kind, uint16_t s, uint16_t a, ControlRecord &r) {
    uint32_t st = 0, ex = 0, attrs = 0;
    if (kind >= kButton) {
        st = kWsChild;
        if (s & 0x800) st |= kWsVisible;
        if (s & 0x200) st |= kWsGroup;
        if ((s & 0x400) && kind != kText && kind < kTimer) st |= kWsTabStop;
        if (s & 0x1000) st |= kWsDisabled;
        if (kind == kRadio) st |= 9;
        if (kind == kGroup) st |= 7;
        if (kind == kEdit) st |= kWsBorder;
        if (kind == kList) st |= kWsBorder | 1;
        if (kind == kVScroll) st |= 1;
        if (kind == kCombo) st |= kWsBorder | 0x200;
        if (kind >= kTimer) st |= 0x06800000;
        if (a & 0x2000) attrs |= kCaGroup;
        if (a & 0x1000) attrs |= kCaLocked;
        if (a & 0x4000) attrs |= kCaEnd;
    }
    switch (kind) {
    case kForm:
        st = kWsBorder;
        if (!(s & 2) && !(s & 1)) st |= 0x00040000;
        st |= (s & 4) ? 0x00C00000 : 0x80000000u;
        if (s & 16) st |= 0x00200000;
        if (s & 32) st |= 0x00100000;
        if (s & 64) st |= 0x00080000;
        if (s & 128) st |= 0x00020000;
        if (s & 0x100) st |= 0x00010000;
        if (s & 0x800) st |= kWsVisible;
        st |= a & (8 | 16);
        if (s & 0x2000) r.area[fa::form3D] = 1;
        if (s & 2) ex = 1;
        break;
    case kMdiFrame: st = 0x00CF0000 | ((s & 0x800) ? uint32_t(kWsVisible) : 0u); break;
    case kMdiChild:
        st = 8 | ((s & 16) ? 0x00200000u : 0) | ((s & 32) ? 0x00100000u : 0) | ((s & 0x800) ? uint32_t(kWsVisible) : 0u);
        break;
    case kButton: if (a & 1) st |= 1; break;
    case kCheck: st |= (a & 1) ? 6 : 3; break;
    case kEdit:
        if (s & 32) st |= 0x00100000;
        if (s & 16) st |= 0x00200000;
        if (a & 2) st |= 2; else if (a & 1) st |= 1;
        if (a & 4) st |= 4;
        if (a & 8) st |= 8;
        if (a & 16) st |= 0x10;
        if (a & 32) st |= 0x20;
        if (a & 64) st |= 0x40;
        if (a & 128) st |= 0x80;
        if (a & 0x100) st |= 0x2000;
        if (a & 0x800) st |= 0x800;
        if (s & 0x2000) ex = kWsExClientEdge;
        break;
    case kText:
        if (s & 1) st |= kWsBorder;
        if (a & 2) st |= 2; else if (a & 1) st |= 1;
        if (a & 4) st |= 0xC;
        if (a & 8) st |= 0x80;
        break;
    case kList:
        if (s & 16) st |= 0x00200000;
        if (a & 1) st |= 2;
        if (a & 2) st |= 8;
        if (a & 4) st |= 0x800;
        if (s & 0x2000) ex = kWsExClientEdge;
        break;
    case kCombo:
        if (s & 16) st |= 0x00200000;
        if (a & 2) st |= 3; else if (a & 1) st |= 2; else st |= 1;
        if (a & 4) st |= 0x40;
        if (a & 8) st |= 0x100;
        break;
    case kPicture: st |= a & 16; break;
    case kOleClient: case kBmpButton: if (s & 1) st |= kWsBorder; break;
    default: break;
    }
    r.style = st;
    r.exStyle = ex;
    r.attributes = attrs;
}

bool Build::Create(uint16_t code, uint32_t parent, uint32_t &cur) {
    uint32_t kind, style, ext;
    uint16_t k16 = 0, s = 0, a = 0;
    if (code == kItCreate3) {
        if (!in.U32(kind) || !in.U32(style) || !in.U32(ext)) return false;
    } else {
        if (!in.U16(k16) || !in.U16(s) || !in.U16(a)) return false;
        kind = k16;
        style = ext = 0;
    }
    if (kind >= kOcx) return Fail(kMsgBadParam);
    bool isForm = kind == kForm || kind == kMdiFrame;
    if (isForm ? parent != 0 : (parent == 0 || !form)) return Fail(kMsgBadParam);
    if (!isForm && form->table.size() >= kMaxRecords) return Fail(kMsgTooMany);
    if (isForm && int(doc.forms.size()) >= kMaxForms) return Fail(kMsgTooMany);
    ControlRecord r;
    if (!CtlInitRecord(host, doc, isForm ? nullptr : form, kind, r)) return Fail(kMsgTooMany);
    if (code == kItCreate3) {
        r.style = style;
        r.exStyle = ext;
    } else {
        Style16(kind, s, a, r);
    }
    if (isForm) return CreateForm(r, kind, cur);
    // The group mark of a control: the 32-bit item's extended word, the
    // 16-bit item's attribute word.
    uint32_t groupMark = code == kItCreate3 ? (ext & 0x100) : (a & 0x100);
    bool endMark = code == kItCreate3 && (ext & 0x80000000u);
    return CreateControl(r, kind, groupMark != 0, endMark, cur);
}

bool Build::CreateForm(ControlRecord &r, uint32_t kind, uint32_t &cur) {
    uint32_t w = host.MakeWindow(r.exStyle, "TQ70FormWndClass", "", r.style & ~(kWsVisible | kWsDisabled),
                                   {int32_t(kCwUseDefault), int32_t(kCwUseDefault), int32_t(kCwUseDefault),
                                    int32_t(kCwUseDefault)}, 0, 0);
    if (!w) return Fail(kMsgNoWindow);
    r.hwnd = w;
    r.area[fa::gridX] = r.area[fa::gridY] = uint32_t(FrmDefaultGrid(host, w, r.area[fa::mapMode]));
    r.spacingSet = 1;
    r.spacingUnit = 9;
    Form f;
    f.window = w;
    f.number = uint16_t(r.id);
    if (kind == kMdiFrame) {
        Point c = host.CharSize(0);
        f.mdiClient = host.MakeWindow(0, "MDICLIENT", "", 0x56300000,
                                        {0, 0, 80 * c.x, 24 * c.y}, w, 256);
        if (!f.mdiClient) {
            host.DropWindow(w);
            return Fail(kMsgNoWindow);
        }
        r.area[fa::reserved] = 1;
    }
    SetField(AreaText(r, fa::iconName), 16, iconName);
    SetField(r.name, kind == kForm ? FrmDefaultName(r.id) : "FORM" + std::to_string(r.id + 1));
    f.table.push_back(r);
    f.events.Add(kind, r.id, FieldText(r.name, sizeof r.name), true, false);
    doc.forms.push_back(std::move(f));
    form = &doc.forms.back();
    cur = w;
    return true;
}

bool Build::CreateControl(ControlRecord &r, uint32_t kind, bool groupMark, bool endMark, uint32_t &cur) {
    if (kind == kMdiChild) {
        cur = 0;
        return true;
    }
    uint32_t w = host.MakeWindow(r.exStyle, kKindTable[kind].cls, "", (r.style & ~kWsDisabled) | kWsVisible,
                                   {int32_t(kCwUseDefault), int32_t(kCwUseDefault), int32_t(kCwUseDefault),
                                    int32_t(kCwUseDefault)}, form->window, r.id);
    if (!w) return Fail(kMsgNoWindow);
    r.hwnd = w;
    SetField(r.name, prj::UpperSb(kKindTable[kind].prefix + std::to_string(r.id - CtlIdBase(kind) + 1)));
    if ((r.style & kWsGroup) && groupMark) r.attributes |= kCaGroup;
    if (endMark) r.attributes |= kCaEnd;
    form->table.push_back(r);
    form->events.Add(kind, r.id, FieldText(r.name, sizeof r.name), true, false);
    cur = w;
    return true;
}

bool Build::ControlName(ControlRecord &r) {
    std::string name;
    if (!in.Str(name)) return false;
    if (name.size() > 21 || !IsValidName(name, 21)) return Fail(kMsgBadName);
    name = prj::UpperSb(name);
    std::string old = FieldText(r.name, sizeof r.name);
    for (auto &o : form->table)
        if (&o != &r && prj::EqualNoCase(FieldText(o.name, sizeof o.name), name)) return Fail(kMsgNameUsed);
    EventBlock *b = form->events.Find(r.id);
    if (!b || b->kind != r.kind) return Fail(kMsgBadParam);
    for (auto &e : b->entries) {
        if (e.proc == old) return Fail(kMsgBadParam);
        size_t common = 0;
        while (common < old.size() && common < e.proc.size() && old[common] == e.proc[common]) ++common;
        e.proc = prj::CutSb(name + e.proc.substr(common), kProcNameSize - 1);
    }
    SetField(r.name, name);
    return true;
}

// With no record (an MDI child) the list is read and dropped.
bool Build::Events(ControlRecord *r) {
    uint16_t w;
    if (!in.U16(w)) return false;
    for (;;) {
        if (!in.U16(w)) return false;
        if (w < 100 || w > 120) return true;
        std::string proc;
        if (!in.Str(proc)) return false;
        if (r && !form->events.Bind(r->kind, r->id, w - 100, prj::UpperSb(proc))) return Fail(kMsgBadParam);
    }
}

bool Build::Font(uint16_t code, ControlRecord &r, uint32_t cur) {
    uint16_t v = 0, cs = 0, pf = 0;
    std::string face;
    if (code == kItFontName || code == kItFontName2) {
        if (!in.Str(face)) return false;
        if (code == kItFontName2 && (!in.U16(cs) || !in.U16(pf))) return false;
    } else if (!in.U16(v)) {
        return false;
    }
    LogFont f;
    if (r.font) {
        host.GetFont(r.font, f);
        host.SetFont(cur, 0);
        host.DeleteFont(r.font);
        r.font = 0;
    } else if (r.kind == kForm || r.kind == kMdiChild || r.kind == kPicture) {
        if (r.kind != kPicture && r.area[fa::mapMode] == 0 &&
            (code == kItFontUnderline || code == kItFontStrikeOut))
            return true;
        f = host.StockFontOf(StockFont::SystemFixed);
    } else if (IsCtlColour(r.kind) || r.kind == kPrinter) {
        // A printer control gets a font when it is made, so its font rows
        // must read back.
        f = host.StockFontOf(StockFont::System);
    } else if (r.kind == kMdiFrame || IsScroll(r.kind)) {
        return true;
    } else {
        return Fail(kMsgBadParam);
    }
    switch (code) {
    case kItFontSize: f.height = FontPointsToHeight(host, r, v); break;
    case kItFontBold: f.weight = v ? 700 : 400; break;
    case kItFontItalic: f.italic = v ? 1 : 0; break;
    case kItFontUnderline: f.underline = v ? 1 : 0; break;
    case kItFontStrikeOut: f.strikeOut = v ? 1 : 0; break;
    case kItFontName: f.face = face; f.charSet = 1; f.pitchAndFamily = 0; break;
    default: f.face = face; f.charSet = uint8_t(cs); f.pitchAndFamily = uint8_t(pf); break;
    }
    r.font = host.MakeFont(f);
    if (!r.font) return Fail(kMsgNoMemory);
    host.SetFont(cur, r.font);
    if ((r.kind == kForm || r.kind == kMdiChild) && r.area[fa::mapMode] == 0)
        Recompute(host, r, form->menu >= 0);
    return true;
}

bool Build::Item(uint16_t code, uint32_t parent, uint32_t &cur) {
    if (code == kItCreate || code == kItCreate3) return Create(code, parent, cur);
    if (code == kItClass) return in.Str(className) && in.Str(iconName) && [&] {
        if (iconName.empty()) return true;
        if (version == kVersion102) {
            std::string ico = prj::ReplaceExtension(scriptPath, "ICO");
            if (!doc.List(kListIcon).Find(ico)) doc.List(kListIcon).Append(ico);
        }
        if (IsBuildableVersion(version))
            doc.List(kListIcon).AddRef(iconName);
        return true;
    }();
    ControlRecord *rp = Rec(cur);
    // Items that need no window still consume their payload.
    ControlRecord dummy{};
    dummy.kind = 0xFFFF;
    ControlRecord &r = rp ? *rp : dummy;
    for (ItemPart part : {&Build::WindowItem, &Build::LookItem, &Build::ContentItem}) {
        if (std::optional<bool> done = (this->*part)(code, parent, cur, rp, r)) return *done;
    }
    return Fail(kMsgBadParam);
}

// Place, state, title, name, menu and list items of the window.
std::optional<bool> Build::WindowItem(uint16_t code, uint32_t parent, uint32_t cur, ControlRecord *rp,
                                      ControlRecord &r) {
    uint32_t k = r.kind;
    uint16_t a16;
    uint32_t a32;
    std::string s;
    switch (code) {
    case kit3DForm3:
        if (!in.U32(a32)) return false;
        if (IsFormArea(k)) r.area[fa::form3D] = r.enable = a32;
        return true;
    case kItAttrData3:
        if (!in.U32(a32)) return false;
        if (rp) r.attributes = a32;
        return true;
    case kItWindowTitle:
        if (!in.Str(s)) return false;
        if (rp) host.SetText(cur, s);
        return true;
    case kItValue3:
        if (!in.U32(a32)) return false;
        if (k == kRadio || k == kCheck) {
            r.value = a32;
            host.SetCheck(cur, a32);
        } else if (IsScroll(k) || k == kBmpButton) {
            r.area[sa::position] = a32;
        }
        return true;
    case kItListItem3: {
        if (!in.Str(s)) return false;
        if (k != kList && k != kCombo) return true;
        std::vector<std::string> items;
        if (!s.empty()) {
            size_t from = 0;
            for (;;) {
                size_t at = s.find("\r\n", from);
                items.push_back(s.substr(from, at == std::string::npos ? std::string::npos : at - from));
                if (at == std::string::npos) break;
                from = at + 2;
            }
        }
        host.SetListItems(cur, items);
        return true;
    }
    case kItWindowSize: case kItWindowSize3: {
        uint32_t mode = 0;
        int32_t v[4];
        if (code == kItWindowSize3) {
            if (!in.U32(mode)) return false;
            for (auto &x : v) {
                if (!in.U32(a32)) return false;
                x = int32_t(a32);
            }
        } else {
            for (auto &x : v) {
                if (!in.U16(a16)) return false;
                x = int16_t(a16);
            }
        }
        if (!rp) return true;
        uint32_t mm = FormRec().area[fa::mapMode];
        Point pos = FrmLPtoDP(host, form->window, mm, {v[0], v[1]});
        Point size = FrmLPtoDP(host, form->window, mm, {v[2], v[3]});
        if (size.x < 0 || size.y < 0) return Fail(kMsgBadParam);
        // A damaged size whose far edge no coordinate can hold is refused too.
        if (int64_t(pos.x) + size.x > INT32_MAX || int64_t(pos.y) + size.y > INT32_MAX)
            return Fail(kMsgBadParam);
        host.PlaceWindow(cur, {pos.x, pos.y, pos.x + size.x, pos.y + size.y});
        r.x = pos.x, r.y = pos.y, r.cx = size.x, r.cy = size.y;
        if (code == kItWindowSize3) r.positionMode = mode <= 2 ? 0x3000 + mode : 0x3004;
        return true;
    }
    case kItShowWindow:
        if (!in.U16(a16)) return false;
        if (!parent && rp) r.visible = a16;
        return true;
    case kItShowWindow3:
        if (!in.U32(a32)) return false;
        if (!rp) return true;
        switch (a32) {
        case 0: r.visible = 0; r.style &= ~kWsVisible; break;
        case 1: r.showState = 0x3008; r.visible = 1; break;
        case 2: r.showState = kWsMinimize; break;
        case 3: r.showState = kWsMaximize; break;
        default: r.visible = 1; break;
        }
        return true;
    case kItEnableWindow:
        if (!in.U16(a16)) return false;
        if (!parent && rp) r.enable = a16;
        return true;
    case kItShowMinimized: case kItShowMaximized:
        if (!in.U16(a16)) return false;
        if (a16 && rp) host.ShowState(cur, code == kItShowMinimized ? 2 : 3);
        return true;
    case kItControlName:
        if (!rp) return in.Str(s);
        return ControlName(r);
    case kItMenu: {
        if (!in.Str(s)) return false;
        if (k != kForm && k != kMdiFrame) return true;
        int index = doc.menus.Find(s);
        if (index < 0) return Fail(kMsgMenuLoad);
        if (form->menu >= 0) doc.menus.menus[form->menu].uses--;
        form->menu = index;
        doc.menus.menus[index].uses++;
        Recompute(host, r, true);
        return true;
    }
    default:
        return std::nullopt;
    }
}

// Pictures, cursors, colours, units and text buffers.
std::optional<bool> Build::LookItem(uint16_t code, uint32_t, uint32_t cur, ControlRecord *,
                                    ControlRecord &r) {
    uint32_t k = r.kind;
    uint16_t a16, b16;
    uint32_t a32;
    std::string s;
    switch (code) {
    case kItBitmap:
        if (!in.Str(s)) return false;
        if (k != kBmpButton) return true;
        SetField(AreaText(r, ba::bitmapName), 16, s);
        if (!s.empty()) {
            FileEntry *e = doc.List(kListBitmap).Find(s);
            if (e) {
                Point size = host.LoadButtonBitmap(cur, e->path);
                r.area[ba::bitmapWidth] = uint32_t(size.x);
                r.area[ba::bitmapHeight] = uint32_t(size.y);
                e->uses++;
            }
        }
        return true;
    case kItCursorId:
        if (!in.U32(a32)) return false;
        if (k == kForm || k == kPicture || k == kBmpButton) {
            r.cursorId = a32;
            SetField(r.cursorName, "");
        }
        return true;
    case kItCursor:
        if (!in.Str(s)) return false;
        if (k == kForm || k == kPicture || k == kBmpButton) {
            SetField(r.cursorName, s);
            r.cursorId = 0;
            if (!s.empty()) doc.List(kListCursor).AddRef(s);
        }
        return true;
    case kItAxis3:
        if (!in.U32(a32)) return false;
        if (IsFormArea(k)) r.axis = int32_t(a32) > 0 ? 0x3128 : 0x3064;
        return true;
    case kItTextColor: case kItForeColor: case kItBackColor: case kItAttribute: {
        if (!in.U16(a16)) return false;
        if (!IsColourKind(k)) return true;
        // Painting takes 2n and 2n+1 of the 16-entry palette for a text colour.
        uint16_t limit = code == kItTextColor ? 7 : code == kItAttribute ? 4 : 15;
        if (a16 > limit) return Fail(kMsgBadParam);
        r.area[code - kItTextColor] = a16;
        if (code == kItBackColor) r.backBrush = host.PaletteBrush(a16);
        return true;
    }
    case kItLimitText3:
        if (!in.U32(a32)) return false;
        if (k == kEdit) r.maxLength = a32;
        return true;
    case kItCtrlTextColor:
        if (!in.U32(a32)) return false;
        if (IsCtlColour(k)) r.area[ca::ctlTextColor] = a32;
        return true;
    case kItCtrlBackColor: {
        if (!in.U32(a32)) return false;
        if (!IsCtlColour(k) && !IsScroll(k)) return true;
        r.area[IsScroll(k) ? int(sa::ctlBackColor) : int(ca::ctlBackColor)] = a32;
        int i = PaletteIndexOf(a32);
        r.backBrush = i < 0 ? 0 : host.PaletteBrush(i);
        return true;
    }
    case kItTextBuffer:
        if (!in.U16(a16) || !in.U16(b16)) return false;
        if (k != kForm && k != kMdiChild) return true;
        if (a16 >= 133 || b16 >= 125) return Fail(kMsgBadParam);
        r.area[fa::bufferColumns] = a16;
        r.area[fa::bufferRows] = b16;
        Recompute(host, r, form->menu >= 0);
        return true;
    case kItMapMode:
        if (!in.U16(a16)) return false;
        if (k == kForm || k == kMdiChild) {
            if (a16 > 6) return Fail(kMsgBadParam);
            r.area[fa::mapMode] = a16;
            if (a16 == 0) Recompute(host, r, form->menu >= 0);
            else if (version != kVersion103) r.area[fa::redrawMode] = 0;
        } else if (k == kPicture && a16 != 0) {
            if (a16 > 6) return Fail(kMsgBadParam);
            r.area[pa::mapMode] = a16;
        }
        return true;
    case kItMaxClient: return in.Skip(4);
    case kItRedrawMode:
        if (!in.U16(a16)) return false;
        if (k == kForm || k == kMdiChild) r.area[fa::redrawMode] = a16;
        else if (k == kPicture) r.area[pa::redrawMode] = a16;
        return true;
    case kItImeMode3:
        if (!in.U32(a32)) return false;
        if (k == kEdit) r.imeMode = a32;
        return true;
    default:
        return std::nullopt;
    }
}

// Scroll bars, timers, bitmap buttons, grids, fonts, events and hot keys.
std::optional<bool> Build::ContentItem(uint16_t code, uint32_t, uint32_t cur, ControlRecord *rp,
                                       ControlRecord &r) {
    uint32_t k = r.kind;
    uint16_t a16, b16, c16, d16;
    uint32_t a32, b32;
    std::string s;
    switch (code) {
    case kItScrollRange: case kItScrollStep:
        if (!in.U16(a16) || !in.U16(b16)) return false;
        if (!IsScroll(k)) return true;
        // The writer keeps the low 16 bits of values from -32768 to 32767.
        if (code == kItScrollRange) {
            r.area[sa::minimum] = uint32_t(int32_t(int16_t(a16)));
            r.area[sa::maximum] = uint32_t(int32_t(int16_t(b16)));
        } else {
            r.area[sa::smallChange] = uint32_t(int32_t(int16_t(a16)));
            r.area[sa::largeChange] = uint32_t(int32_t(int16_t(b16)));
        }
        return true;
    case kItTimer:
        if (!in.U16(a16) || !in.U32(a32)) return false;
        if (k != kTimer) return Fail(kMsgBadParam);
        r.area[ta::enabled] = a16 != 0;
        r.area[ta::interval] = a32;
        return true;
    case kItButtonStyle: case kItButtonFrame: case kItFrameSize: case kItDrawInterval:
    case kItButtonState:
        if (code == kItButtonStyle ? !in.U32(a32) : !in.U16(a16)) return false;
        if ((code == kItButtonFrame || code == kItFrameSize) && !in.U16(b16)) return false;
        if (k != kBmpButton) return Fail(kMsgBadParam);
        if (code == kItButtonStyle) r.area[ba::buttonStyle] = a32;
        if (code == kItButtonFrame) r.area[ba::frameA] = a16, r.area[ba::frameB] = b16;
        if (code == kItFrameSize) r.area[ba::frameSizeA] = a16, r.area[ba::frameSizeB] = b16;
        if (code == kItDrawInterval) r.area[ba::drawInterval] = a16;
        if (code == kItButtonState) r.area[ba::buttonState] = a16;
        memset(AreaText(r, ba::tooltip), 0, 24);
        return true;
    case kItTooltip:
        if (!in.Str(s)) return false;
        if (k != kBmpButton) return Fail(kMsgBadParam);
        SetField(AreaText(r, ba::tooltip), 24, s);
        return true;
    case kItGrid:
        if (!in.U16(a16) || !in.U16(b16)) return false;
        if (k == kForm) {
            r.area[fa::gridSnap] = a16;
            r.area[fa::gridX] = r.area[fa::gridY] = b16;
        }
        return true;
    case kItClipboard:
        if (!in.U16(a16)) return false;
        if (k == kForm) r.area[fa::clipboard] = a16;
        return true;
    case kItGrid2: {
        if (!in.U16(a16) || !in.U16(b16) || !in.U16(c16) || !in.U16(d16)) return false;
        if (k != kForm) return true;
        r.area[fa::gridVisible] = a16;
        r.area[fa::gridSnap] = b16;
        Point g = FrmLPtoDP(host, form->window, r.area[fa::mapMode], {int16_t(c16), int16_t(d16)});
        r.area[fa::gridX] = uint32_t(g.x);
        r.area[fa::gridY] = uint32_t(g.y);
        return true;
    }
    case kItFontSize: case kItFontBold: case kItFontItalic: case kItFontUnderline:
    case kItFontStrikeOut: case kItFontName: case kItFontName2:
        if (!rp) {
            if (code == kItFontName || code == kItFontName2)
                return in.Str(s) && (code == kItFontName || in.Skip(4));
            return in.Skip(2);
        }
        return Font(code, r, cur);
    case kItEvent:
        return Events(rp);
    case kItSendMessage:
        if (!in.U32(a32)) return false;
        if (a32 == 50) {
            if (!in.U32(b32) || !in.U32(a32)) return false;
            if (rp) r.hotKey = uint16_t(b32);
        }
        return true;
    default:
        return std::nullopt;
    }
}

}  // namespace

FormBuildResult FrmBuildFromData(DesignerHost &host, Document &doc, const uint8_t *data, size_t size,
                                 uint16_t version, const std::string &scriptPath) {
    FormBuildResult res;
    if (size < 6) {
        res.message = kMsgBadParam;
    } else {
        Build b{host, doc, Reader(data + 6, size - 6), version, scriptPath, {}, {}};
        uint32_t cur = 0;
        res.ok = b.RunBlock(0, cur);
        if (!res.ok) res.message = b.message ? b.message : kMsgBadParam;
    }
    if (!res.ok) host.Message(res.message);
    return res;
}

}  // namespace dsg
