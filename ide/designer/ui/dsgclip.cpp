// Copy, cut, paste and delete of the selected controls: the clipboard's
// private format 0x200 (or a private block for a Ctrl-drag), the pending
// paste that follows the pointer until a click places it.
#include "dsg_clip.h"
#include "dsg_formdata.h"
#include "dsg_group.h"
#include "idehelpers.h"
#include "rcdoc.h"

#include <algorithm>

namespace dsgwin {

namespace {

dsg::ClipBlock g_pending;
bool g_hasPending = false;
// Whether the last control copied was a member of a group.
bool g_copiedFromGroup = false;
POINT g_pasteRef{};

bool TestModeOn() { return DsgIsFormTestMode(); }

RECT UnionOfSelection(HWND form) {
    RECT u{0, 0, 0, 0};
    bool first = true;
    for (HWND c : Sel().controls) {
        RECT r;
        GetWindowRect(c, &r);
        MapWindowPoints(nullptr, form, reinterpret_cast<POINT*>(&r), 2);
        if (first)
            u = r;
        else
            UnionRect(&u, &u, &r);
        first = false;
    }
    return u;
}

}  // namespace

bool ClipCopy(HWND form, std::vector<uint8_t>* out) {
    dsg::Form* f = FormOf(form);
    if (TestModeOn() || !f || Sel().form != form || Sel().anchor == form || Sel().controls.empty())
        return false;
    dsg::ClipBlock b;
    b.sourceForm = Key(form);
    dsg::ControlRecord* anchor = RecordOf(*f, Sel().anchor);
    b.anchorId = anchor ? anchor->id : 0;
    RECT s = UnionOfSelection(form);
    b.selection = {s.left, s.top, s.right, s.bottom};
    std::vector<dsg::Group> groups = dsg::GrpRebuild(*f);
    for (HWND c : Sel().controls) {
        dsg::ControlRecord* r = RecordOf(*f, c);
        if (!r)
            continue;
        g_copiedFromGroup = dsg::GrpFindOfControl(groups, r->hwnd) >= 0;
        dsg::ClipEntry e;
        e.record = *r;
        e.hasFont = r->font && Host().GetFont(r->font, e.font);
        b.entries.push_back(e);
    }
    std::vector<uint8_t> bytes = dsg::ClipWrite(b);
    if (out) {
        *out = std::move(bytes);
        return true;
    }
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes.size());
    if (!mem) {
        MessageBoxById(dsg::kMsgNoMemory, MB_ICONEXCLAMATION, 1);
        return false;
    }
    memcpy(GlobalLock(mem), bytes.data(), bytes.size());
    GlobalUnlock(mem);
    if (!OpenClipboard(form)) {
        GlobalFree(mem);
        MessageBoxById(dsg::kMsgNoClipboard, MB_ICONEXCLAMATION, 1);
        return false;
    }
    EmptyClipboard();
    SetClipboardData(dsg::kClipFormat, mem);
    CloseClipboard();
    return true;
}

bool ClipPaste(HWND form, const std::vector<uint8_t>* block) {
    dsg::Form* f = FormOf(form);
    if (TestModeOn() || !f)
        return false;
    dsg::ClipBlock b;
    uint32_t msg = 0;
    if (block) {
        msg = dsg::ClipRead(block->data(), block->size(), b);
    } else {
        if (!IsClipboardFormatAvailable(dsg::kClipFormat)) {
            MessageBoxById(dsg::kMsgCannotPaste, MB_ICONSTOP, 1);
            return false;
        }
        if (!OpenClipboard(form)) {
            MessageBoxById(dsg::kMsgNoClipboard, MB_ICONEXCLAMATION, 1);
            return false;
        }
        HANDLE h = GetClipboardData(dsg::kClipFormat);
        const uint8_t* p = h ? static_cast<const uint8_t*>(GlobalLock(h)) : nullptr;
        msg = dsg::ClipRead(p, p ? GlobalSize(h) : 0, b);
        if (p)
            GlobalUnlock(h);
        CloseClipboard();
    }
    if (msg) {
        MessageBoxById(msg, MB_ICONSTOP, 1);
        return false;
    }
    if (f->table.size() + b.entries.size() >= 257) {
        MessageBoxById(dsg::kMsgTooMany, MB_ICONSTOP, 1);
        return false;
    }
    dsg::ClipNormalise(b);
    const auto& rec = f->table[0];
    g_pasteRef = {b.selection.right / 2, b.selection.bottom / 2};
    int gx = int(rec.area[dsg::fa::gridX]), gy = int(rec.area[dsg::fa::gridY]);
    if (rec.area[dsg::fa::gridSnap] && gx > 0 && gy > 0) {
        g_pasteRef.x -= g_pasteRef.x % gx;
        g_pasteRef.y -= g_pasteRef.y % gy;
    }
    g_pending = std::move(b);
    g_hasPending = true;
    SetCapture(form);
    return true;
}

bool HasPendingPaste() { return g_hasPending; }
POINT PasteReference() { return g_pasteRef; }

bool ClipPlace(HWND form, POINT pt) {
    dsg::Form* f = FormOf(form);
    if (!g_hasPending || !f || !g_pRcDoc)
        return false;
    g_hasPending = false;
    dsg::ClipBlock b = std::move(g_pending);
    int dx = pt.x - g_pasteRef.x, dy = pt.y - g_pasteRef.y;
    std::vector<HWND> made;
    for (auto& e : b.entries) {
        dsg::ControlRecord r = e.record;
        int32_t id = dsg::CtlNextFreeId(g_pRcDoc->m_doc, r.kind);
        if (id < 0 || f->table.size() >= dsg::kMaxRecords) {
            MessageBoxById(dsg::kMsgTooMany, MB_ICONSTOP, 1);
            break;
        }
        r.id = uint32_t(id);
        r.x += dx;
        r.y += dy;
        const dsg::KindInfo& k = dsg::kKindTable[r.kind];
        std::string text;
        if (k.text[0]) {
            text = std::string(k.text) + std::to_string(r.id - dsg::CtlIdBase(r.kind) + 1);
            std::transform(text.begin(), text.end(), text.begin(),
                           [](char c) { return c >= 'a' && c <= 'z' ? char(c - 32) : c; });
        }
        uint32_t w = Host().MakeWindow(r.exStyle, k.cls, text, r.style, {r.x, r.y, r.x + r.cx, r.y + r.cy},
                                       f->window, r.id);
        if (!w) {
            MessageBoxById(dsg::kMsgTooMany, MB_ICONSTOP, 1);
            break;
        }
        r.hwnd = w;
        r.font = 0;
        // The copies are grouped anew below, never by the source's marks.
        r.attributes &= ~(dsg::kCaGroup | dsg::kCaEnd);
        bool fontKind = (r.kind >= dsg::kButton && r.kind <= dsg::kList) || r.kind == dsg::kCombo;
        if (fontKind && e.hasFont) {
            r.font = Host().MakeFont(e.font);
            if (r.font)
                Host().SetFont(w, r.font);
        }
        // The copy uses the source's files as well: deleting it gives back
        // only its own uses.
        dsg::Document& doc = g_pRcDoc->m_doc;
        std::string cursor = dsg::FieldText(r.cursorName, sizeof r.cursorName);
        if ((r.kind == dsg::kPicture || r.kind == dsg::kBmpButton) && !cursor.empty())
            doc.List(dsg::kListCursor).AddRef(cursor);
        if (r.kind == dsg::kBmpButton) {
            std::string bmp = dsg::FieldText(dsg::AreaText(r, dsg::ba::bitmapName), 16);
            if (dsg::FileEntry* fe = bmp.empty() ? nullptr : doc.List(dsg::kListBitmap).Find(bmp)) {
                ++fe->uses;
                Host().LoadButtonBitmap(w, fe->path);
            }
        }
        dsg::CtlMakeName(*f, r);
        f->table.push_back(r);
        f->events.Add(r.kind, r.id, dsg::FieldText(r.name, sizeof r.name), true, true);
        made.push_back(Hwnd(w));
    }
    if (GetCapture() == form)
        ReleaseCapture();
    if (!made.empty()) {
        Sel().form = form;
        Sel().controls = made;
        Sel().anchor = made.front();
        Sel().group = -1;
        if (g_copiedFromGroup && made.size() >= 2) {
            std::vector<uint32_t> keys;
            for (HWND c : made)
                keys.push_back(Key(c));
            if (dsg::GrpMake(*f, keys))
                ApplyTableOrder(form);
            Sel().controls.clear();
            Sel().form = nullptr;
        }
        DsgSelectControl(form, made.front());
        if (!g_copiedFromGroup)
            Sel().controls = made;
        g_pRcDoc->SetModifiedFlag(true);
    }
    RedrawWindow(form, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    return !made.empty();
}

void DeleteSelection(HWND form) {
    dsg::Form* f = FormOf(form);
    if (TestModeOn() || !f || !g_pRcDoc || Sel().form != form)
        return;
    std::vector<HWND> gone = Sel().controls;
    for (HWND c : gone)
        dsg::CtlDeleteRecord(Host(), g_pRcDoc->m_doc, *f, Key(c));
    Sel().controls.clear();
    Sel().anchor = form;
    HWND next = f->table.size() > 1 ? Hwnd(f->table[1].hwnd) : nullptr;
    DsgSelectControl(form, next ? next : form);
    g_pRcDoc->SetModifiedFlag(true);
    InvalidateRect(form, nullptr, TRUE);
}

}  // namespace dsgwin
