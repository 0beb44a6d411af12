// The form's keyboard in design mode (Shift and Ctrl, the arrow keys), the
// designer's popup menu and the grid command.
#include "dsg_align.h"
#include "ideservices.h"
#include "propwnd.h"
#include "rcdoc.h"

namespace dsgwin {

namespace {

// Held modifiers as the form saw them: Shift and Ctrl.
enum : unsigned { kModShift = 1, kModCtrl = 2 };
unsigned g_modifiers = 0;

RECT ChildRectOf(HWND form, HWND c) {
    RECT r;
    GetWindowRect(c, &r);
    MapWindowPoints(nullptr, form, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

dsg::Rect ToRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

dsg::ArrowKey ArrowOf(UINT vk) {
    return vk == VK_LEFT ? dsg::kArrowLeft : vk == VK_UP ? dsg::kArrowUp : vk == VK_RIGHT ? dsg::kArrowRight
                                                                                            : dsg::kArrowDown;
}

void MoveByArrow(HWND form, dsg::Form& f, dsg::ArrowKey key) {
    Selection& sel = Sel();
    if (sel.controls.empty())
        return;
    const dsg::ControlRecord& fr = f.table[0];
    dsg::ControlRecord* anchor = RecordOf(f, sel.anchor);
    RECT before{};
    for (HWND c : sel.controls) {
        RECT r = ChildRectOf(form, c);
        if (c == sel.controls.front())
            before = r;
        else
            UnionRect(&before, &before, &r);
    }
    dsg::Rect moved = ToRect(before);
    if (!dsg::DsgArrowMove(key, moved, anchor && (anchor->attributes & dsg::kCaLocked), fr.area[dsg::fa::gridSnap] != 0,
                           int32_t(fr.area[dsg::fa::gridX]), int32_t(fr.area[dsg::fa::gridY])))
        return;
    MoveSelectionBy(form, f, moved.left - before.left, moved.top - before.top);
    if (anchor)
        DsgShowCtlRect(form, ChildRectOf(form, sel.anchor));
}

void SizeByArrow(HWND form, dsg::Form& f, dsg::ArrowKey key) {
    Selection& sel = Sel();
    dsg::ControlRecord* rec = RecordOf(f, sel.anchor);
    if (!rec)
        return;
    const dsg::ControlRecord& fr = f.table[0];
    int32_t itemHeight = 0;
    if (rec->kind == dsg::kList)
        itemHeight = int32_t(SendMessageA(sel.anchor, LB_GETITEMHEIGHT, 0, 0));
    dsg::Rect r{rec->x, rec->y, rec->x + rec->cx, rec->y + rec->cy};
    if (!dsg::DsgArrowSize(key, r, sel.controls.size(), (rec->attributes & dsg::kCaLocked) != 0,
                           dsg::CtlIsSizable(*rec), itemHeight, fr.area[dsg::fa::gridSnap] != 0,
                           int32_t(fr.area[dsg::fa::gridX]), int32_t(fr.area[dsg::fa::gridY])))
        return;
    rec->cx = r.right - r.left;
    rec->cy = r.bottom - r.top;
    MoveWindow(sel.anchor, rec->x, rec->y, rec->cx, rec->cy, TRUE);
    // A list box may keep another height: the record takes the window's.
    RECT real = ChildRectOf(form, sel.anchor);
    if (rec->kind == dsg::kList)
        rec->cy = real.bottom - real.top;
    DsgShowCtlRect(form, real);
    if (g_pRcDoc)
        g_pRcDoc->SetModifiedFlag(true);
    InvalidateRect(form, nullptr, TRUE);
}

// While a move shows its cursor, Ctrl turns it into a copy and back.
void SwapDragCursor(bool ctrl) {
    HCURSOR now = GetCursor();
    if (ctrl && now == g_hCurMove && g_hCurCopyPaste)
        SetCursor(g_hCurCopyPaste);
    else if (!ctrl && now == g_hCurCopyPaste && g_hCurMove)
        SetCursor(g_hCurMove);
}

}  // namespace

void FormKeyDown(HWND form, dsg::Form& f, UINT vk) {
    if (Sel().form == form && Sel().anchor == form)
        return;
    switch (vk) {
    case VK_SHIFT:
        g_modifiers |= kModShift;
        break;
    case VK_CONTROL:
        g_modifiers |= kModCtrl;
        SwapDragCursor(true);
        break;
    case VK_LEFT: case VK_UP: case VK_RIGHT: case VK_DOWN:
        if (Sel().form != form || !Sel().anchor)
            break;
        if (g_modifiers & kModShift)
            SizeByArrow(form, f, ArrowOf(vk));
        else
            MoveByArrow(form, f, ArrowOf(vk));
        break;
    default:
        break;
    }
}

void FormKeyUp(UINT vk) {
    if (vk == VK_SHIFT)
        g_modifiers &= ~unsigned(kModShift);
    if (vk == VK_CONTROL) {
        g_modifiers &= ~unsigned(kModCtrl);
        SwapDragCursor(false);
    }
}

void ClearModifiers() { g_modifiers = 0; }

void DsgPopupMenu(POINT screen) { DsgTrackPopup(IDR_DSG_FORM_POPUP, screen); }

void DsgTrackPopup(UINT menu, POINT screen) {
    if (GetCapture())
        ReleaseCapture();
    CWnd* main = Ide().MainFrame();
    HMENU bar = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(menu));
    if (!bar)
        return;
    if (HMENU popup = GetSubMenu(bar, 0); popup && main && main->m_hWnd)
        TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_RIGHTBUTTON, screen.x, screen.y, 0, main->m_hWnd, nullptr);
    DestroyMenu(bar);
}

}  // namespace dsgwin

using namespace dsgwin;

HWND DsgGetActiveForm() { return g_hActiveForm && IsWindow(g_hActiveForm) ? g_hActiveForm : nullptr; }

bool DsgGridShown() {
    dsg::Form* f = FormOf(DsgGetActiveForm());
    return f && !f->table.empty() && f->table[0].area[dsg::fa::gridVisible] != 0;
}

void DsgToggleGrid() {
    if (!g_pRcDoc || !FormOf(DsgGetActiveForm()))
        return;
    uint32_t shown = DsgGridShown() ? 0 : 1;
    for (auto& f : g_pRcDoc->m_doc.forms) {
        if (f.table.empty())
            continue;
        f.table[0].area[dsg::fa::gridVisible] = shown;
        if (HWND w = Hwnd(f.window))
            InvalidateRect(w, nullptr, TRUE);
    }
}
