// New forms and controls as the tool box and the new-resource command make them.
#include <cstring>

#include "dsg_formdata.h"
#include "sjis_path.h"

namespace dsg {

Form *FrmCreateNew(DesignerHost &host, Document &doc, const char *name, bool isMain) {
    if (int(doc.forms.size()) >= kMaxForms) {
        host.Message(kMsgNoMoreItems);
        return nullptr;
    }
    ControlRecord r;
    if (!CtlInitRecord(host, doc, nullptr, kForm, r)) {
        host.Message(kMsgTooMany);
        return nullptr;
    }
    // The form's own copy of the stock fixed font, so the record owns what it holds.
    r.font = host.MakeFont(host.StockFontOf(StockFont::SystemFixed));
    FrmCalcWindowRect(host, r, false);
    Rect wr;
    memcpy(&wr, &r.area[fa::windowRect], sizeof wr);
    r.cx = wr.right - wr.left;
    r.cy = wr.bottom - wr.top;
    SetField(r.name, FrmDefaultName(r.id));
    if (name) SetField(r.name, isMain ? std::string("MAINFORM") : prj::UpperSb(name));
    uint32_t w = host.MakeWindow(r.exStyle, "TQ70FormWndClass", FieldText(r.name, sizeof r.name), r.style,
                                   {r.x, r.y, r.cx, r.cy}, 0, 0);
    if (!w) return nullptr;
    r.hwnd = w;
    r.area[fa::gridX] = r.area[fa::gridY] = uint32_t(FrmDefaultGrid(host, w, r.area[fa::mapMode]));
    r.spacingSet = 0;
    Form f;
    f.window = w;
    f.number = uint16_t(r.id);
    f.open = 1;
    f.table.push_back(r);
    f.events.Add(kForm, r.id, FieldText(r.name, sizeof r.name), true, true);
    doc.forms.push_back(std::move(f));
    doc.modified = true;
    return &doc.forms.back();
}

ControlRecord *CtlCreate(DesignerHost &host, Document &doc, Form &form, uint32_t kind, int32_t x,
                         int32_t y, bool snap) {
    ControlRecord r;
    if (form.table.empty()) return nullptr;
    if (form.table.size() >= kMaxRecords || !CtlInitRecord(host, doc, &form, kind, r)) {
        host.Message(kMsgTooMany);
        return nullptr;
    }
    // Dialog base units of the system font: 8 x 16.
    int32_t cx = 8 * kKindTable[kind].cx / 4, cy = 16 * kKindTable[kind].cy / 8;
    const ControlRecord &f = form.table[0];
    int32_t gx = int32_t(f.area[fa::gridX]), gy = int32_t(f.area[fa::gridY]);
    if (snap && gx > 0 && gy > 0) {
        x -= x % gx, y -= y % gy;
        cx = cx / gx * gx, cy = cy / gy * gy;
        if (cx < gx) cx = gx;
        if (cy < gy) cy = gy;
    }
    r.x = x, r.y = y, r.cx = cx, r.cy = cy;
    if ((kind >= kButton && kind <= kList) || kind == kCombo || kind == kPicture || kind == kPrinter) {
        LogFont lf;
        // 10.5 points in pixels of the screen.
        int64_t num = int64_t(host.VertRes()) * 254 * 21, den = int64_t(host.VertSize()) * 720 * 2;
        lf.height = den ? -int32_t((num + den / 2) / den) : -14;
        lf.charSet = 1;
        lf.face = "\x82\x6c\x82\x72 \x82\x6f\x83\x53\x83\x56\x83\x62\x83\x4e";  // ＭＳ Ｐゴシック
        r.font = host.MakeFont(lf);
        if (!r.font) return nullptr;
    }
    if (kind == kRadio || kind == kCheck || kind == kGroup || kind == kText)
        r.backBrush = host.PaletteBrush(int(f.area[fa::backColor] & 15));
    else if (kind == kEdit || kind == kList || kind == kCombo)
        r.backBrush = host.PaletteBrush(15);
    else if (kind == kHScroll || kind == kVScroll)
        r.backBrush = host.PaletteBrush(14);
    CtlMakeName(form, r);
    std::string text = kKindTable[kind].text[0] ? FieldText(r.name, sizeof r.name) : std::string();
    if (kind != kOcx) {
        uint32_t w = host.MakeWindow(r.exStyle, kKindTable[kind].cls, text, r.style, {x, y, x + cx, y + cy},
                                       form.window, r.id);
        if (!w) {
            if (r.font) host.DeleteFont(r.font);
            host.Message(kMsgNoWindow);
            return nullptr;
        }
        r.hwnd = w;
        if (r.font) host.SetFont(w, r.font);
    }
    form.table.push_back(r);
    form.events.Add(kind, r.id, FieldText(r.name, sizeof r.name), true, true);
    doc.modified = true;
    return &form.table.back();
}

}  // namespace dsg
