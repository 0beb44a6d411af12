#include "dsg_model.h"

#include <algorithm>
#include <cstdio>

#include "sjis_path.h"

namespace dsg {

const uint32_t kPalette[16] = {
    0x02000000, 0x02808080, 0x02800000, 0x02FF0000, 0x02000080, 0x020000FF, 0x02800080, 0x02FF00FF,
    0x02008000, 0x0200FF00, 0x02808000, 0x02FFFF00, 0x02008080, 0x0200FFFF, 0x02C0C0C0, 0x02FFFFFF,
};

int PaletteIndexOf(uint32_t colour) {
    for (int i = 0; i < 16; ++i)
        if (kPalette[i] == colour) return i;
    return -1;
}

void SetField(char *field, size_t size, std::string_view text) {
    std::string cut = prj::CutSb(text, size - 1);
    memset(field, 0, size);
    memcpy(field, cut.data(), cut.size());
}

Form *Document::FindForm(uint32_t window) {
    for (auto &f : forms)
        if (f.window == window) return &f;
    return nullptr;
}

uint32_t CtlIdBase(uint32_t kind) {
    if (kind == kMdiChild) return 1024;
    if (kind >= kButton && kind <= kOcx) return kind * 1024;
    return 0;
}

int32_t CtlNextFreeId(const Document &doc, uint32_t kind) {
    uint32_t base = CtlIdBase(kind);
    std::vector<bool> used(1024);
    for (auto &f : doc.forms)
        for (size_t i = 1; i < f.table.size(); ++i)
            if (f.table[i].kind == kind && f.table[i].id >= base && f.table[i].id < base + 1024)
                used[f.table[i].id - base] = true;
    for (uint32_t i = 0; i < 1024; ++i)
        if (!used[i]) return int32_t(base + i);
    return -1;
}

int32_t FrmFindFreeNumber(const Document &doc) {
    for (int32_t n = 0; n < 0x10000; ++n) {
        bool used = std::any_of(doc.forms.begin(), doc.forms.end(),
                                [&](const Form &f) { return f.number == n; });
        if (!used) return n;
    }
    return -1;
}

std::string FrmDefaultName(uint32_t number) {
    if (number == 0) return "MAINFORM";
    return "FORM" + std::to_string(number + 1);
}

void FrmCalcWindowRect(DesignerHost &host, ControlRecord &r, bool menu) {
    Point ch = host.CharSize(r.font);
    Rect client{0, 0, int32_t(r.area[fa::bufferColumns]) * ch.x, int32_t(r.area[fa::bufferRows]) * ch.y};
    Rect w = host.AdjustWindowRect(client, r.style, r.exStyle, menu);
    Rect moved{0, 0, w.right - w.left, w.bottom - w.top};
    memcpy(&r.area[fa::clientRect], &client, sizeof client);
    memcpy(&r.area[fa::windowRect], &moved, sizeof moved);
}

int32_t FrmDefaultGrid(DesignerHost &host, uint32_t form, uint32_t mapMode) {
    static const int32_t kDefault[7] = {0, 0, 21, 212, 8, 83, 120};
    if (mapMode >= 2 && mapMode <= 6) return kDefault[mapMode];
    // 120 twips through the device context, then to the form's units.
    Point p = host.LogicalToDevice(form, 6, {120, -120});
    return p.x;
}

bool CtlInitRecord(DesignerHost &host, const Document &doc, const Form *form, uint32_t kind,
                   ControlRecord &r) {
    memset(&r, 0, sizeof r);
    if (kind >= kKindCount) return false;
    r.kind = kind;
    r.exStyle = kKindTable[kind].exStyle;
    r.style = kKindTable[kind].style;
    r.visible = 1;
    r.positionMode = 0x3000;
    r.showState = 0x3008;
    r.axis = 0x3064;
    r.maxLength = 32767;
    if (kind == kOcx || kind == kMenuKind) return true;
    int32_t id = (kind == kForm || kind == kMdiFrame) ? FrmFindFreeNumber(doc) : CtlNextFreeId(doc, kind);
    if (id < 0) return false;
    r.id = uint32_t(id);
    const ControlRecord *formRec = form && !form->table.empty() ? &form->table[0] : nullptr;
    uint32_t formBack = kPalette[formRec ? formRec->area[fa::backColor] & 15 : 15];
    switch (kind) {
    case kForm: case kMdiFrame: case kMdiChild:
        r.x = r.y = r.cx = r.cy = int32_t(kCwUseDefault);
        r.area[fa::backColor] = 15;
        r.area[fa::attribute] = 4;
        r.area[fa::bufferColumns] = 80;
        r.area[fa::bufferRows] = 24;
        r.area[fa::redrawMode] = 1;
        FrmCalcWindowRect(host, r, false);
        r.area[fa::clipboard] = r.area[fa::gridVisible] = r.area[fa::gridSnap] = 1;
        break;
    case kButton: case kRadio: case kCheck: case kGroup: case kEdit: case kText: case kList:
    case kCombo: case kOleClient:
        r.area[ca::ctlTextColor] = kPalette[0];
        r.area[ca::ctlBackColor] = (kind == kEdit || kind == kList || kind == kCombo) ? kPalette[15] : formBack;
        if ((kind == kEdit || kind == kList) &&
            !(formRec && formRec->area[fa::form3D] != 1 && formBack == kPalette[15]))
            r.exStyle |= kWsExClientEdge;
        break;
    case kHScroll: case kVScroll:
        r.area[sa::maximum] = 32767;
        r.area[sa::largeChange] = 16;
        r.area[sa::smallChange] = 1;
        r.area[sa::ctlBackColor] = kPalette[14];
        break;
    case kPicture:
        r.area[pa::backColor] = 15;
        r.area[pa::attribute] = 4;
        r.area[pa::mapMode] = 1;
        r.area[pa::redrawMode] = 1;
        break;
    case kBmpButton:
        r.area[ba::frameA] = r.area[ba::frameB] = 1;
        r.area[ba::buttonState] = 1;
        r.area[ba::drawInterval] = 30;
        break;
    case kTimer:
        r.area[ta::enabled] = 1;
        r.area[ta::interval] = 100;
        break;
    default:
        break;
    }
    return true;
}

void CtlMakeName(const Form &form, ControlRecord &r) {
    const char *prefix = kKindTable[r.kind].prefix;
    for (uint32_t n = r.id - CtlIdBase(r.kind) + 1; n <= 32766; ++n) {
        std::string name = prj::UpperSb(prefix + std::to_string(n));
        bool used = std::any_of(form.table.begin(), form.table.end(), [&](const ControlRecord &o) {
            return o.hwnd != r.hwnd && prj::EqualNoCase(FieldText(o.name, sizeof o.name), name);
        });
        SetField(r.name, name);
        if (!used) return;
    }
}

bool IsBuildableVersion(uint16_t v) {
    return v == kVersion5 || v == kVersion6 || v == kVersion102 || v == kVersion103 || v == kVersion104 ||
           v == kVersion204;
}

ControlRecord *CtlFind(Form &form, uint32_t window) {
    for (auto &r : form.table)
        if (r.hwnd == window) return &r;
    return nullptr;
}

void CtlReleaseResources(DesignerHost &host, Document &doc, ControlRecord &r, bool destroy) {
    if (r.font) host.DeleteFont(r.font);
    r.font = 0;
    std::string cursor = FieldText(r.cursorName, sizeof r.cursorName);
    if (r.kind == kForm) {
        std::string icon = FieldText(AreaText(r, fa::iconName), 16);
        if (!icon.empty()) doc.List(kListIcon).Release(icon);
        if (!cursor.empty()) doc.List(kListCursor).Release(cursor);
        return;
    }
    if (r.kind == kPicture && !cursor.empty()) doc.List(kListCursor).Release(cursor);
    if (r.kind == kBmpButton) {
        std::string bmp = FieldText(AreaText(r, ba::bitmapName), 16);
        if (!bmp.empty()) doc.List(kListBitmap).Release(bmp);
        if (!cursor.empty()) doc.List(kListCursor).Release(cursor);
    }
    if (destroy && r.hwnd) host.DropWindow(r.hwnd);
}

bool CtlMoveZOrder(Form &form, uint32_t window, uint32_t target) {
    auto indexOf = [&](uint32_t w) -> size_t {
        for (size_t i = 1; i < form.table.size(); ++i)
            if (form.table[i].hwnd == w) return i;
        return 0;
    };
    size_t from = indexOf(window);
    if (from == 0) return false;
    size_t after = target == 0 ? 0 : target == 1 ? form.table.size() - 1 : indexOf(target);
    if (target > 1 && after == 0) return false;
    if (after == from) return true;
    size_t to = after < from ? after + 1 : after;
    ControlRecord r = form.table[from];
    form.table.erase(form.table.begin() + from);
    form.table.insert(form.table.begin() + to, r);
    form.events.Move(from, to);
    return true;
}

bool DsgOffsetRectSnap(Rect &r, int32_t dx, int32_t dy, bool snap, int32_t gridX, int32_t gridY) {
    constexpr int64_t kLimit = 32748;
    int64_t e[4] = {int64_t(r.left) + dx, int64_t(r.top) + dy, int64_t(r.right) + dx, int64_t(r.bottom) + dy};
    for (int64_t v : e)
        if (v < -kLimit || v > kLimit) return false;
    r = {int32_t(e[0]), int32_t(e[1]), int32_t(e[2]), int32_t(e[3])};
    if (snap && gridX > 0 && gridY > 0) {
        int32_t sx = r.left % gridX, sy = r.top % gridY;
        r.left -= sx, r.right -= sx, r.top -= sy, r.bottom -= sy;
    }
    return true;
}

bool CtlDeleteRecord(DesignerHost &host, Document &doc, Form &form, uint32_t window) {
    auto it = std::find_if(form.table.begin(), form.table.end(),
                           [&](const ControlRecord &r) { return r.hwnd == window; });
    if (it == form.table.end()) return false;
    if (it->kind != kMdiChild) CtlReleaseResources(host, doc, *it, true);
    // A later control may take the freed id: its events must not find these.
    if (it != form.table.begin()) form.events.Remove(it->id);
    form.table.erase(it);
    return true;
}

bool IsValidName(std::string_view name, size_t maxLen) {
    static const char *const kReserved[] = {
        "BEGIN", "END", "MENU", "MENUITEM", "POPUP", "SEPARATOR", "RCDATA", "ICON", "BITMAP",
        "CURSOR", "ACCELERATORS", "DIALOG", "DIALOGEX", "MENUEX", "STRINGTABLE", "VERSIONINFO",
        "FONT", "CAPTION", "CLASS", "STYLE", "EXSTYLE", "CHECKED", "GRAYED", "INACTIVE",
        "MENUBARBREAK", "MENUBREAK", "HELP", "VIRTKEY", "ASCII", "NOINVERT", "ALT", "SHIFT",
        "CONTROL", "LANGUAGE", "VERSION", "CHARACTERISTICS", "DISCARDABLE", "MOVEABLE", "FIXED",
        "PURE", "IMPURE", "PRELOAD", "LOADONCALL", "NOT", "HTML", "MESSAGETABLE", "TEXTINCLUDE",
        "PUSHBUTTON", "DEFPUSHBUTTON", "LTEXT", "RTEXT", "CTEXT", "EDITTEXT", "LISTBOX",
        "COMBOBOX", "GROUPBOX", "CHECKBOX", "RADIOBUTTON", "SCROLLBAR", "AUTOCHECKBOX",
        "AUTORADIOBUTTON", "STATE3", "AUTO3STATE", "PUSHBOX", "USERBUTTON", "DLGINIT",
        "RDRW_META", "RDRW_BITMAP", "MAP_TEXT", "MAP_PIXEL", "MAP_LOMETRIC", "MAP_HIMETRIC",
        "MAP_LOENGLISH", "MAP_HIENGLISH", "MAP_TWIPS",
    };
    if (name.empty() || name.size() > maxLen) return false;
    auto alpha = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; };
    if (!alpha(name[0])) return false;
    for (char c : name)
        if (!alpha(c) && !(c >= '0' && c <= '9')) return false;
    std::string up = prj::UpperSb(name);
    for (const char *k : kReserved)
        if (up == k) return false;
    // The header's own symbols: the item and event names, kinds and show states.
    if (up.rfind("__", 0) == 0 || up.rfind("XWT_", 0) == 0 || up.rfind("XSW3_", 0) == 0) return false;
    return true;
}

}  // namespace dsg
