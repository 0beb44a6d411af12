// The form windows: the form class, the placeholder and bitmap-button
// classes, the design-mode procedure of standard controls, grid and
// selection painting, the tool box's insertion and the mouse selection.
#include "dsg_align.h"
#include "dsg_formdata.h"
#include "dsg_group.h"
#include "ideservices.h"
#include "rcdoc.h"
#include "propwnd.h"
#include "shellids.h"

#include <algorithm>
#include <iterator>

namespace dsgwin {

namespace {

uint32_t g_toolKind = 0;
bool g_toolActive = false;
Selection g_sel;

// The mouse operation under way on a form.
enum class MouseOp { kIdle, kSize, kMove, kBand };

// A form's own state, hung on its window words from WM_NCCREATE to
// WM_NCDESTROY: the mouse operation with its start, rectangle and outline,
// and whether the click that activates the form was forwarded by one of
// its controls.
struct FormState {
    MouseOp op = MouseOp::kIdle;
    int hitCode = 0;  // the grab handle of a sizing
    POINT start{};
    RECT opRect{};
    RECT outline{-1, -1, -1, -1};
    bool forwarding = false;
};

const char kFormClass[] = "TQ70FormWndClass";
constexpr int kFormWindowBytes = 40;
constexpr int kWordState = 0;
static_assert(kWordState + sizeof(LONG_PTR) <= kFormWindowBytes, "the form class's window words");

// The state of a form window; null before WM_NCCREATE, after WM_NCDESTROY
// and for a window of any other class.
FormState* StateOf(HWND w) {
    char cls[32] = {};
    if (!w || !GetClassNameA(w, cls, sizeof cls) || lstrcmpA(cls, kFormClass) != 0)
        return nullptr;
    return reinterpret_cast<FormState*>(GetWindowLongPtrA(w, kWordState));
}

// A control's click is on its way to its form, which may not be active.
void ForwardClickTo(HWND form) {
    if (FormState* st = StateOf(form))
        st->forwarding = GetActiveWindow() != form;
}

bool TestMode() { return g_pRcDoc && g_pRcDoc->m_nTestMode != 0 && Ide().Closing() == 0; }

void MarkModified() {
    if (g_pRcDoc)
        g_pRcDoc->SetModifiedFlag(true);
}

RECT ChildRect(HWND form, HWND c) {
    RECT r;
    GetWindowRect(c, &r);
    MapWindowPoints(nullptr, form, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void InvalidateSelection() {
    if (g_sel.form)
        InvalidateRect(g_sel.form, nullptr, TRUE);
}

// The grid: one row of the back colour with every x step inverted, copied
// to every y step.
void PaintGrid(HWND w, HDC dc, const dsg::ControlRecord& f) {
    int gx = int(f.area[dsg::fa::gridX]), gy = int(f.area[dsg::fa::gridY]);
    if (!f.area[dsg::fa::gridVisible] || gx < 2 || gy < 2)
        return;
    RECT client;
    GetClientRect(w, &client);
    int width = client.right;
    if (width <= 0)
        return;
    HDC mem = CreateCompatibleDC(dc);
    if (!mem)
        return;
    HBITMAP row = CreateCompatibleBitmap(dc, width, 1);
    if (!row) {
        DeleteDC(mem);
        return;
    }
    HGDIOBJ old = SelectObject(mem, row);
    HBRUSH back = CreateSolidBrush(dsg::kPalette[f.area[dsg::fa::backColor] & 15]);
    RECT line{0, 0, width, 1};
    FillRect(mem, &line, back);
    DeleteObject(back);
    for (int x = gx; x < width; x += gx)
        PatBlt(mem, x, 0, 1, 1, DSTINVERT);
    for (int y = gy; y < client.bottom; y += gy)
        BitBlt(dc, 0, y, width, 1, mem, 0, 0, SRCCOPY);
    SelectObject(mem, old);
    DeleteObject(row);
    DeleteDC(mem);
}

void PaintSelection(HWND w, HDC dc, dsg::Form& f) {
    if (TestMode() || g_sel.form != w || !g_sel.anchor || g_sel.anchor == w || g_sel.controls.empty())
        return;
    dsg::ControlRecord* anchorRec = RecordOf(f, g_sel.anchor);
    bool locked = anchorRec && (anchorRec->attributes & dsg::kCaLocked);
    for (HWND c : g_sel.controls) {
        dsg::ControlRecord* rec = RecordOf(f, c);
        bool cl = rec && (rec->attributes & dsg::kCaLocked);
        COLORREF frame = cl ? dsg::kPalette[5] : GetSysColor(COLOR_ACTIVECAPTION);
        COLORREF handle = c == g_sel.anchor ? (locked ? dsg::kPalette[5] : dsg::kPalette[3]) : dsg::kPalette[15];
        RECT r = ChildRect(w, c);
        InflateRect(&r, 7, 7);
        HBRUSH hatch = CreateHatchBrush(HS_BDIAGONAL, frame);
        RECT band[4] = {{r.left, r.top, r.right, r.top + 5},
                        {r.left, r.bottom - 5, r.right, r.bottom},
                        {r.left, r.top, r.left + 5, r.bottom},
                        {r.right - 5, r.top, r.right, r.bottom}};
        for (auto& b : band)
            FillRect(dc, &b, hatch);
        DeleteObject(hatch);
        HPEN pen = CreatePen(PS_SOLID, 1, frame);
        HBRUSH fill = CreateSolidBrush(handle);
        HGDIOBJ op = SelectObject(dc, pen), ob = SelectObject(dc, fill);
        int cx = (r.left + r.right) / 2 - 3, cy = (r.top + r.bottom) / 2 - 3;
        POINT hs[8] = {{r.left, r.top}, {cx, r.top}, {r.right - 6, r.top}, {r.left, cy},
                       {r.right - 6, cy}, {r.left, r.bottom - 6}, {cx, r.bottom - 6}, {r.right - 6, r.bottom - 6}};
        for (auto& p : hs)
            Rectangle(dc, p.x, p.y, p.x + 6, p.y + 6);
        SelectObject(dc, op);
        SelectObject(dc, ob);
        DeleteObject(pen);
        DeleteObject(fill);
    }
}

// Test mode, Tab: the next (or previous) control that takes the focus, in
// table order, wrapping once.
bool TabFrom(HWND form, HWND from, bool back) {
    dsg::Form* f = FormOf(form);
    if (!f)
        return false;
    auto& t = f->table;
    int n = int(t.size());
    dsg::ControlRecord* fromRec = RecordOf(*f, from);
    if (!fromRec)
        return false;
    int at = int(fromRec - t.data());
    auto skip = [](uint32_t kind) {
        return kind == dsg::kForm || kind == dsg::kText || kind == dsg::kPicture || kind == dsg::kOleClient ||
               kind == dsg::kTimer || kind == dsg::kMci || kind == dsg::kPrinter;
    };
    int i = at;
    for (int step = 0; step < n; ++step) {
        i = back ? (i - 1 + n) % n : (i + 1) % n;
        if (i == at)
            break;
        const auto& r = t[size_t(i)];
        HWND c = Hwnd(r.hwnd);
        if (skip(r.kind) || !c || !IsWindowVisible(c) || !IsWindowEnabled(c))
            continue;
        SetFocus(c);
        return true;
    }
    return false;
}

void CreateAt(HWND w, dsg::Form& f, POINT pt) {
    if (!g_pRcDoc)
        return;
    const auto& rec = f.table[0];
    dsg::ControlRecord* r =
        dsg::CtlCreate(Host(), g_pRcDoc->m_doc, f, g_toolKind, pt.x, pt.y, rec.area[dsg::fa::gridSnap] != 0);
    // Back to the pointer (a control tool stays only for kind 19).
    if (g_toolKind != dsg::kOcx && Ide().MainFrame())
        Ide().SetToolBoxTool(ID_TOOLBOX_FIRST);
    g_toolActive = g_toolKind == dsg::kOcx;
    if (r) {
        DsgSelectControl(w, Hwnd(r->hwnd));
        MarkModified();
    }
}

RECT SelectionRect(HWND w) {
    RECT u{0, 0, 0, 0};
    bool first = true;
    for (HWND c : g_sel.controls) {
        RECT r = ChildRect(w, c);
        if (first)
            u = r;
        else
            UnionRect(&u, &u, &r);
        first = false;
    }
    return u;
}

void XorOutline(HWND w, const RECT& r) {
    if (r.left == -1 && r.top == -1 && r.right == -1 && r.bottom == -1)
        return;
    HDC dc = GetDC(w);
    int old = SetROP2(dc, R2_XORPEN);
    HPEN pen = CreatePen(PS_SOLID, 1, dsg::kPalette[15]);
    HGDIOBJ op = SelectObject(dc, pen);
    POINT p[5] = {{r.left, r.top}, {r.right, r.top}, {r.right, r.bottom}, {r.left, r.bottom}, {r.left, r.top}};
    Polyline(dc, p, 5);
    SelectObject(dc, op);
    DeleteObject(pen);
    SetROP2(dc, old);
    ReleaseDC(w, dc);
}

void SetOutline(HWND w, FormState& st, const RECT& r) {
    if (EqualRect(&r, &st.outline))
        return;
    XorOutline(w, st.outline);
    st.outline = r;
    XorOutline(w, st.outline);
}

void ClearOutline(HWND w, FormState& st) {
    XorOutline(w, st.outline);
    st.outline = {-1, -1, -1, -1};
}

// The selection rectangle moved by the pointer's offset, limits and grid
// applied; false when the move is refused.
bool MovedRect(const FormState& st, const dsg::Form& f, POINT pt, RECT& out) {
    const auto& rec = f.table[0];
    dsg::Rect r{st.opRect.left, st.opRect.top, st.opRect.right, st.opRect.bottom};
    if (!dsg::DsgOffsetRectSnap(r, pt.x - st.start.x, pt.y - st.start.y, rec.area[dsg::fa::gridSnap] != 0,
                                int32_t(rec.area[dsg::fa::gridX]), int32_t(rec.area[dsg::fa::gridY])))
        return false;
    out = {r.left, r.top, r.right, r.bottom};
    return true;
}

// The anchor's rectangle sized by the pointer's offset; false when refused.
bool SizedRect(const FormState& st, const dsg::Form& f, POINT pt, RECT& out) {
    const auto& rec = f.table[0];
    dsg::Rect r{st.opRect.left, st.opRect.top, st.opRect.right, st.opRect.bottom};
    if (!dsg::SizeByHandle(r, st.hitCode, pt.x - st.start.x, pt.y - st.start.y, rec.area[dsg::fa::gridSnap] != 0,
                           int32_t(rec.area[dsg::fa::gridX]), int32_t(rec.area[dsg::fa::gridY])))
        return false;
    out = {r.left, r.top, r.right, r.bottom};
    return true;
}

void ButtonDown(HWND w, FormState& st, dsg::Form& f, POINT pt) {
    SetActiveWindow(w);
    if (g_toolActive) {
        CreateAt(w, f, pt);
        return;
    }
    if (HasPendingPaste()) {
        const auto& rec = f.table[0];
        int gx = int(rec.area[dsg::fa::gridX]), gy = int(rec.area[dsg::fa::gridY]);
        if (rec.area[dsg::fa::gridSnap] && gx > 0 && gy > 0)
            pt.x -= pt.x % gx, pt.y -= pt.y % gy;
        ClipPlace(w, pt);
        return;
    }
    SetCapture(w);
    st.start = pt;
    RECT sel = SelectionRect(w);
    int code = 0;
    if (g_sel.form == w && g_sel.controls.size() == 1 && !PtInRect(&sel, pt))
        code = dsg::SelHitTestHandles(dsg::SelLayoutHandles({sel.left, sel.top, sel.right, sel.bottom}), {pt.x, pt.y});
    if (code) {
        st.op = MouseOp::kSize;
        st.hitCode = code;
        st.opRect = sel;
        SetOutline(w, st, sel);
    } else if (g_sel.form == w && !g_sel.controls.empty() && PtInRect(&sel, pt)) {
        st.op = MouseOp::kMove;
        st.opRect = sel;
        SetOutline(w, st, sel);
    } else {
        st.op = MouseOp::kBand;
        st.outline = {-1, -1, -1, -1};
    }
}

void MouseMove(HWND w, FormState& st, dsg::Form& f, POINT pt) {
    RECT r;
    switch (st.op) {
    case MouseOp::kSize:
        if (SizedRect(st, f, pt, r)) {
            SetOutline(w, st, r);
            MarkModified();
        }
        break;
    case MouseOp::kMove:
        if (MovedRect(st, f, pt, r))
            SetOutline(w, st, r);
        break;
    case MouseOp::kBand:
        SetOutline(w, st, {st.start.x, st.start.y, pt.x, pt.y});
        break;
    case MouseOp::kIdle:
        break;
    }
}

void EndSizing(HWND w, FormState& st, dsg::Form& f, POINT pt) {
    RECT r;
    HWND c = g_sel.controls.empty() ? nullptr : g_sel.controls[0];
    dsg::ControlRecord* rec = c ? RecordOf(f, c) : nullptr;
    if (rec && !(rec->attributes & dsg::kCaLocked) && SizedRect(st, f, pt, r)) {
        rec->x = r.left, rec->y = r.top, rec->cx = r.right - r.left, rec->cy = r.bottom - r.top;
        MoveWindow(c, rec->x, rec->y, rec->cx, rec->cy, TRUE);
        // A list box may keep another height: the record takes the window's.
        RECT real = ChildRect(w, c);
        rec->cy = real.bottom - real.top;
        DsgShowCtlRect(w, real);
        MarkModified();
    }
    InvalidateRect(w, nullptr, TRUE);
}

void EndMoving(HWND w, FormState& st, dsg::Form& f, POINT pt) {
    RECT r;
    if (!MovedRect(st, f, pt, r)) {
        InvalidateRect(w, nullptr, TRUE);
        return;
    }
    if (GetKeyState(VK_CONTROL) < 0) {
        // Ctrl at the release copies: the copies land where the outline was.
        std::vector<uint8_t> block;
        if (ClipCopy(w, &block) && ClipPaste(w, &block)) {
            POINT ref = PasteReference();
            ClipPlace(w, {r.left + ref.x, r.top + ref.y});
        }
        return;
    }
    MoveSelectionBy(w, f, r.left - st.opRect.left, r.top - st.opRect.top);
    if (g_sel.anchor && g_sel.anchor != w)
        DsgShowCtlRect(w, ChildRect(w, g_sel.anchor));
}

// The rubber band selects the controls it touches; a click without a move
// selects the form.
void EndBand(HWND w, const FormState& st, dsg::Form& f, POINT pt) {
    if (pt.x == st.start.x && pt.y == st.start.y) {
        if (!(g_sel.form == w && g_sel.anchor == w))
            DsgSelectControl(w, w);
        return;
    }
    RECT band{std::min(st.start.x, pt.x), std::min(st.start.y, pt.y), std::max(st.start.x, pt.x),
              std::max(st.start.y, pt.y)};
    std::vector<HWND> hit;
    bool any = false;
    std::vector<dsg::Group> groups = dsg::GrpRebuild(f);
    for (size_t i = 1; i < f.table.size(); ++i) {
        HWND c = Hwnd(f.table[i].hwnd);
        if (!c)
            continue;
        RECT r = ChildRect(w, c), x;
        if (!IntersectRect(&x, &r, &band))
            continue;
        any = true;
        // Members of a group are selected only as their group, by a click.
        if (dsg::GrpFindOfControl(groups, f.table[i].hwnd) < 0)
            hit.push_back(c);
    }
    if (!any)
        return;
    g_sel.group = -1;
    InvalidateRect(w, nullptr, TRUE);
    HWND anchor = g_sel.anchor;
    g_sel.form = w;
    g_sel.controls = hit;
    if (hit.empty()) {
        g_sel.anchor = w;
        return;
    }
    g_hActiveForm = w;
    if (std::find(hit.begin(), hit.end(), anchor) == hit.end())
        g_sel.anchor = hit.front();
}

void ButtonUp(HWND w, FormState& st, dsg::Form& f, POINT pt) {
    MouseOp op = st.op;
    st.op = MouseOp::kIdle;
    if (GetCapture() == w)
        ReleaseCapture();
    if (op != MouseOp::kIdle)
        ClearOutline(w, st);
    switch (op) {
    case MouseOp::kSize: EndSizing(w, st, f, pt); break;
    case MouseOp::kMove: EndMoving(w, st, f, pt); break;
    case MouseOp::kBand: EndBand(w, st, f, pt); break;
    case MouseOp::kIdle: break;
    }
}

// A visible resource tree frame comes forward in the project frame, so the
// edit commands find the designer behind the active view.
void BringTreeForward() {
    CMDIFrameWnd* pf = Ide().ProjectFrame();
    CMDIChildWnd* tree = pf ? Ide().FindChild(ChildKind::kResourceTree) : nullptr;
    if (tree && IsWindowVisible(tree->m_hWnd))
        SendMessageA(pf->m_hWndMDIClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(tree->m_hWnd), 0);
}

// ---- the form procedure's handlers -----------------------------------------

dsg::ControlRecord* FormRecord(dsg::Form* f) { return f && !f->table.empty() ? &f->table[0] : nullptr; }

POINT PointOf(LPARAM lp) { return POINT{short(LOWORD(lp)), short(HIWORD(lp))}; }

// The window's place and size go to the record (not while it is minimised
// or maximised); an MDI frame form's place is its own business.
void KeepWindowRect(HWND w, dsg::ControlRecord& rec, bool size) {
    RECT r;
    GetWindowRect(w, &r);
    rec.x = r.left;
    rec.y = r.top;
    if (size) {
        rec.cx = r.right - r.left;
        rec.cy = r.bottom - r.top;
    }
}

void OnDestroy(HWND w) {
    if (g_sel.form == w)
        g_sel = Selection{};
    if (g_hActiveForm == w)
        g_hActiveForm = nullptr;
}

void OnMove(HWND w, dsg::Form* f) {
    dsg::ControlRecord* rec = FormRecord(f);
    if (!rec || TestMode() || rec->kind == dsg::kMdiFrame)
        return;
    if (!IsIconic(w) && !IsZoomed(w))
        KeepWindowRect(w, *rec, false);
    MarkModified();
}

void OnSize(HWND w, dsg::Form* f, UINT type, int cx, int cy) {
    if (f && f->mdiClient)
        MoveWindow(Hwnd(f->mdiClient), 0, 0, cx, cy, TRUE);
    dsg::ControlRecord* rec = FormRecord(f);
    if (!rec || TestMode())
        return;
    if (type != SIZE_MINIMIZED && type != SIZE_MAXIMIZED)
        KeepWindowRect(w, *rec, true);
    MarkModified();
}

void OnPaint(HWND w, dsg::Form* f) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(w, &ps);
    dsg::ControlRecord* rec = FormRecord(f);
    if (f && !f->mdiClient && rec) {
        if (!TestMode())
            PaintGrid(w, dc, *rec);
        PaintSelection(w, dc, *f);
    }
    EndPaint(w, &ps);
    if (f && !f->mdiClient) {
        for (HWND c = GetWindow(w, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
            RedrawWindow(c, nullptr, nullptr,
                         RDW_INVALIDATE | RDW_INTERNALPAINT | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW |
                             RDW_ERASENOW | RDW_FRAME);
    }
}

// False leaves the erasing to the default procedure.
bool OnEraseBkgnd(HWND w, dsg::Form* f, HDC dc) {
    dsg::ControlRecord* rec = FormRecord(f);
    if (!rec || !rec->backBrush)
        return false;
    RECT r;
    GetClientRect(w, &r);
    FillRect(dc, &r, Brush(rec->backBrush));
    return true;
}

// The control's colours from its record; null for a window without one.
HBRUSH OnCtlColor(dsg::Form* f, HDC dc, HWND control) {
    dsg::ControlRecord* c = f ? RecordOf(*f, control) : nullptr;
    if (!c)
        return nullptr;
    SetBkMode(dc, OPAQUE);
    bool scroll = c->kind == dsg::kHScroll || c->kind == dsg::kVScroll;
    SetTextColor(dc, scroll ? 0 : c->area[dsg::ca::ctlTextColor]);
    SetBkColor(dc, scroll ? c->area[dsg::sa::ctlBackColor] : c->area[dsg::ca::ctlBackColor]);
    HBRUSH b = Brush(c->backBrush);
    if (b)
        UnrealizeObject(b);
    return b;
}

// A form in text units keeps its largest size; false for any other form.
bool OnGetMinMaxInfo(dsg::Form* f, MINMAXINFO* mm) {
    dsg::ControlRecord* rec = FormRecord(f);
    if (!rec || rec->kind != dsg::kForm || rec->area[dsg::fa::mapMode] != 0)
        return false;
    dsg::Rect r;
    memcpy(&r, &rec->area[dsg::fa::windowRect], sizeof r);
    if (r.right > r.left && r.bottom > r.top)
        mm->ptMaxTrackSize = {r.right - r.left, r.bottom - r.top};
    return true;
}

void OnSetFont(HWND w, HFONT font, bool redraw) {
    SetPropA(w, "TxDsgFont", font);
    if (redraw)
        InvalidateRect(w, nullptr, TRUE);
}

void OnActivate(HWND w, FormState& st, dsg::Form* f, UINT state) {
    if (state != WA_INACTIVE) {
        if (!st.forwarding)
            g_hActiveForm = w;
        if (g_sel.form != w && !TestMode() && f)
            DsgSelectControl(w, w);
        if (Ide().Closing() == 0)
            BringTreeForward();
    }
    st.forwarding = false;
    ClearModifiers();
}

// Closing hides the form; in test mode the last one hidden ends test mode.
void OnClose(HWND w) {
    if (!TestMode()) {
        ShowFormWindow(w);
        return;
    }
    ShowWindow(w, SW_HIDE);
    bool any = false;
    if (g_pRcDoc) {
        for (HWND fw : g_pRcDoc->FormWindows())
            any = any || IsWindowVisible(fw);
    }
    if (!any && Ide().MainFrame())
        Ide().PostCommand(ID_DSG_TEST_MODE);
}

void OnRButtonUp(HWND w, POINT pt) {
    ClientToScreen(w, &pt);
    DsgPopupMenu(pt);
}

void OnKeyDown(HWND w, dsg::Form& f, UINT vk) {
    if (vk == VK_DELETE)
        PostMessageA(w, WM_CLEAR, 0, 0);
    else
        FormKeyDown(w, f, vk);
}

// The mouse and keyboard of design mode; false lets the default procedure
// have the message (no form, or test mode).
bool OnDesignInput(HWND w, FormState& st, dsg::Form* f, UINT msg, WPARAM wp, LPARAM lp) {
    if (!f || TestMode())
        return false;
    switch (msg) {
    case WM_LBUTTONDOWN:
        ButtonDown(w, st, *f, PointOf(lp));
        BringTreeForward();
        return true;
    case WM_MOUSEMOVE:
        if (st.op == MouseOp::kIdle)
            return false;
        MouseMove(w, st, *f, PointOf(lp));
        return true;
    case WM_LBUTTONUP: ButtonUp(w, st, *f, PointOf(lp)); return true;
    case WM_LBUTTONDBLCLK: EvtGotoCode(w, w); return true;
    case WM_RBUTTONUP: OnRButtonUp(w, PointOf(lp)); return true;
    case WM_KEYDOWN: OnKeyDown(w, *f, UINT(wp)); return false;
    default: return false;
    }
}

LRESULT FormMessage(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE)
        SetWindowLongPtrA(w, kWordState, reinterpret_cast<LONG_PTR>(new FormState));
    FormState* st = reinterpret_cast<FormState*>(GetWindowLongPtrA(w, kWordState));
    if (!st)
        return DefWindowProcA(w, msg, wp, lp);
    dsg::Form* f = FormOf(w);
    switch (msg) {
    case WM_NCDESTROY:
        SetWindowLongPtrA(w, kWordState, 0);
        delete st;
        break;
    case WM_DESTROY: OnDestroy(w); break;
    case WM_MOVE: OnMove(w, f); break;
    case WM_SIZE: OnSize(w, f, UINT(wp), LOWORD(lp), HIWORD(lp)); break;
    case WM_PAINT: OnPaint(w, f); return 0;
    case WM_ERASEBKGND:
        if (OnEraseBkgnd(w, f, reinterpret_cast<HDC>(wp)))
            return 1;
        break;
    case WM_CTLCOLOREDIT: case WM_CTLCOLORLISTBOX: case WM_CTLCOLORBTN: case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        if (HBRUSH b = OnCtlColor(f, reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp)))
            return reinterpret_cast<LRESULT>(b);
        break;
    case WM_GETMINMAXINFO:
        if (OnGetMinMaxInfo(f, reinterpret_cast<MINMAXINFO*>(lp)))
            return 0;
        break;
    // The dialog manager's navigation and text input are not the form's.
    case WM_NEXTDLGCTL: case WM_PARENTNOTIFY: case WM_CHAR: case WM_UNDO: return 0;
    case WM_SETFONT: OnSetFont(w, reinterpret_cast<HFONT>(wp), lp != 0); return 1;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(GetPropA(w, "TxDsgFont"));
    case WM_ACTIVATE: OnActivate(w, *st, f, LOWORD(wp)); break;
    case WM_CLOSE: OnClose(w); return 0;
    case WM_LBUTTONDOWN: case WM_MOUSEMOVE: case WM_LBUTTONUP: case WM_LBUTTONDBLCLK: case WM_RBUTTONUP:
    case WM_KEYDOWN:
        if (OnDesignInput(w, *st, f, msg, wp, lp))
            return 0;
        break;
    case WM_KEYUP:
        if (!TestMode())
            FormKeyUp(UINT(wp));
        break;
    case WM_COPY: ClipCopy(w, nullptr); return 0;
    case WM_CUT:
        if (ClipCopy(w, nullptr))
            DeleteSelection(w);
        return 0;
    case WM_PASTE: ClipPaste(w, nullptr); return 0;
    case WM_CLEAR: DeleteSelection(w); return 0;
    default: break;
    }
    return DefWindowProcA(w, msg, wp, lp);
}

LRESULT CALLBACK FormProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    return Guarded([&] { return FormMessage(w, msg, wp, lp); });
}

LRESULT OptMessage(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_SETTEXT:
    case WM_GETTEXTLENGTH:
        return 0;
    case WM_GETTEXT:
        if (lp && wp)
            lstrcpynA(reinterpret_cast<char*>(lp), "0", int(wp));
        return 0;
    case WM_SETFONT:
        return 0;
    case WM_GETFONT:
        return 0;
    case WM_NCHITTEST:
        if (!TestMode())
            return HTCAPTION;
        break;
    case WM_NCLBUTTONDOWN:
        if (!TestMode()) {
            HWND form = GetParent(w);
            DsgSelectControl(form, w);
            POINT pt{short(LOWORD(lp)), short(HIWORD(lp))};
            ScreenToClient(form, &pt);
            ForwardClickTo(form);
            PostMessageA(form, WM_LBUTTONDOWN, wp == HTCAPTION ? 0 : wp, MAKELPARAM(pt.x, pt.y));
            return 0;
        }
        break;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(w, &ps);
        RECT r;
        GetClientRect(w, &r);
        dsg::ControlRecord* rec = ControlRecordOf(w);
        HBRUSH back = rec && rec->backBrush ? Brush(rec->backBrush) : static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        FillRect(dc, &r, back);
        if (rec) {
            const char* text = rec->kind == dsg::kOleClient ? "OLE Client" : dsg::kKindTable[rec->kind].prefix;
            HGDIOBJ old = rec->font ? SelectObject(dc, Font(rec->font)) : nullptr;
            SetBkMode(dc, TRANSPARENT);
            TextOutA(dc, 5, 5, text, lstrlenA(text));
            if (old)
                SelectObject(dc, old);
            if (!(rec->style & dsg::kWsBorder)) {
                HPEN pen = CreatePen(PS_DOT, 1, dsg::kPalette[0]);
                HGDIOBJ op = SelectObject(dc, pen), ob = SelectObject(dc, GetStockObject(NULL_BRUSH));
                Rectangle(dc, 0, 0, r.right, r.bottom);
                SelectObject(dc, op);
                SelectObject(dc, ob);
                DeleteObject(pen);
            }
        }
        EndPaint(w, &ps);
        return 0;
    }
    case WM_NCLBUTTONDBLCLK:
        if (!TestMode()) {
            EvtGotoCode(GetParent(w), w);
            return 0;
        }
        break;
    case WM_NCRBUTTONUP:
        if (!TestMode()) {
            DsgPopupMenu(POINT{short(LOWORD(lp)), short(HIWORD(lp))});
            return 0;
        }
        break;
    case WM_ERASEBKGND:
        return 1;
    default:
        break;
    }
    return DefWindowProcA(w, msg, wp, lp);
}

LRESULT CALLBACK OptProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    return Guarded([&] { return OptMessage(w, msg, wp, lp); });
}

}  // namespace

dsg::ControlRecord* RecordOf(dsg::Form& form, HWND w) {
    uint32_t k = Key(w);
    return k ? dsg::CtlFind(form, k) : nullptr;
}

dsg::ControlRecord* ControlRecordOf(HWND control) {
    dsg::Form* f = FormOf(GetParent(control));
    return f ? RecordOf(*f, control) : nullptr;
}

// Moves every unlocked selected control by the offset; the records follow.
void MoveSelectionBy(HWND w, dsg::Form& f, int dx, int dy) {
    HDWP batch = BeginDeferWindowPos(int(g_sel.controls.size()));
    for (HWND c : g_sel.controls) {
        dsg::ControlRecord* r = RecordOf(f, c);
        if (!r || (r->attributes & dsg::kCaLocked))
            continue;
        r->x += dx;
        r->y += dy;
        if (batch)
            batch = DeferWindowPos(batch, c, nullptr, r->x, r->y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (batch)
        EndDeferWindowPos(batch);
    MarkModified();
    InvalidateRect(w, nullptr, TRUE);
}

namespace {

// Standard controls in design mode: every click is the form's.
LRESULT DesignMessage(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    WNDPROC own = reinterpret_cast<WNDPROC>(GetPropA(w, "TxDsgProc"));
    if (!own)
        return DefWindowProcA(w, msg, wp, lp);
    // A combo box's child acts for the combo box.
    HWND ctl = w;
    char cls[32] = {};
    GetClassNameA(GetParent(w), cls, sizeof cls);
    if (lstrcmpiA(cls, "Combobox") == 0)
        ctl = GetParent(w);
    HWND form = GetParent(ctl);
    if (TestMode()) {
        if (msg == WM_CHAR && wp == VK_TAB && TabFrom(form, ctl, GetKeyState(VK_SHIFT) < 0))
            return 0;
        return CallWindowProcA(own, w, msg, wp, lp);
    }
    switch (msg) {
    case WM_NCHITTEST: {
        POINT pt{short(LOWORD(lp)), short(HIWORD(lp))};
        RECT r;
        GetClientRect(w, &r);
        ScreenToClient(w, &pt);
        if (PtInRect(&r, pt))
            return HTCAPTION;
        break;
    }
    case WM_NCLBUTTONDOWN: {
        DsgSelectControl(form, ctl);
        ForwardClickTo(form);
        POINT pt{short(LOWORD(lp)), short(HIWORD(lp))};
        ScreenToClient(form, &pt);
        PostMessageA(form, WM_LBUTTONDOWN, 0, MAKELPARAM(pt.x, pt.y));
        return 0;
    }
    case WM_NCLBUTTONDBLCLK:
        EvtGotoCode(form, ctl);
        return 0;
    case WM_NCRBUTTONUP:
        DsgPopupMenu(POINT{short(LOWORD(lp)), short(HIWORD(lp))});
        return 0;
    case WM_MOVE:
    case WM_SIZE:
        if (g_sel.form == form)
            InvalidateRect(form, nullptr, TRUE);
        break;
    default:
        break;
    }
    return CallWindowProcA(own, w, msg, wp, lp);
}

}  // namespace

LRESULT CALLBACK DesignProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    return Guarded([&] { return DesignMessage(w, msg, wp, lp); });
}

LRESULT CALLBACK PlaceholderProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) { return OptProc(w, msg, wp, lp); }
bool TabToNext(HWND form, HWND from, bool back) { return TabFrom(form, from, back); }

Selection& Sel() { return g_sel; }

dsg::Form* FormOf(HWND w) {
    if (!g_pRcDoc || !w)
        return nullptr;
    return g_pRcDoc->m_doc.FindForm(Key(w));
}

void DsgSelectControl(HWND form, HWND control) {
    HWND oldForm = g_sel.form;
    if (form == oldForm && control != form &&
        std::find(g_sel.controls.begin(), g_sel.controls.end(), control) != g_sel.controls.end()) {
        g_sel.anchor = control;
        InvalidateSelection();
        PropWndRefreshControl(form, control);
        return;
    }
    g_sel.form = form;
    g_sel.anchor = control;
    g_sel.controls.clear();
    g_sel.group = -1;
    if (control && control != form) {
        // A member of a group brings its whole group.
        std::vector<dsg::Group> groups = GroupsOf(form);
        int g = dsg::GrpFindOfControl(groups, Key(control));
        if (g >= 0) {
            g_sel.group = g;
            for (uint32_t k : groups[size_t(g)])
                g_sel.controls.push_back(Hwnd(k));
        } else {
            g_sel.controls.push_back(control);
        }
    }
    g_hActiveForm = form;
    if (oldForm && oldForm != form)
        InvalidateRect(oldForm, nullptr, TRUE);
    InvalidateSelection();
    if (control == form)
        PropWndSelectControl(form);
    else if (control)
        PropWndRefreshControl(form, control);
}

std::vector<dsg::Group> GroupsOf(HWND form) {
    dsg::Form* f = FormOf(form);
    return f ? dsg::GrpRebuild(*f) : std::vector<dsg::Group>{};
}

void ApplyTableOrder(HWND form) {
    dsg::Form* f = FormOf(form);
    if (!f)
        return;
    HWND prev = HWND_TOP;
    for (size_t i = 1; i < f->table.size(); ++i) {
        HWND c = Hwnd(f->table[i].hwnd);
        if (!c)
            continue;
        LONG_PTR style = GetWindowLongPtrA(c, GWL_STYLE);
        LONG_PTR want = (f->table[i].style & dsg::kWsGroup) ? (style | WS_GROUP) : (style & ~LONG_PTR(WS_GROUP));
        if (want != style)
            SetWindowLongPtrA(c, GWL_STYLE, want);
        SetWindowPos(c, prev, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        prev = c;
    }
}

bool DsgGroup(HWND form) {
    dsg::Form* f = FormOf(form);
    if (!f || g_sel.form != form || g_sel.controls.size() < 2)
        return false;
    std::vector<dsg::Group> groups = dsg::GrpRebuild(*f);
    if (g_sel.group >= 0 && size_t(g_sel.group) < groups.size()) {
        dsg::GrpDissolve(*f, groups[size_t(g_sel.group)], groups);
        ApplyTableOrder(form);
        g_sel.group = -1;
        DsgSelectControl(form, form);
    } else {
        std::vector<uint32_t> keys;
        for (HWND c : g_sel.controls)
            keys.push_back(Key(c));
        if (!dsg::GrpMake(*f, keys))
            return false;
        ApplyTableOrder(form);
        HWND anchor = g_sel.anchor;
        g_sel.controls.clear();
        DsgSelectControl(form, anchor);
    }
    for (size_t i = 1; i < f->table.size(); ++i) {
        if (HWND c = Hwnd(f->table[i].hwnd)) {
            ShowWindow(c, SW_SHOWNA);
            EnableWindow(c, TRUE);
        }
    }
    MarkModified();
    InvalidateRect(form, nullptr, TRUE);
    return true;
}

void RegisterClasses() {
    static bool done = false;
    if (done)
        return;
    done = true;
    HINSTANCE inst = GetModuleHandleA(nullptr);
    WNDCLASSA wc{};
    wc.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    wc.lpfnWndProc = FormProc;
    wc.cbWndExtra = kFormWindowBytes;
    wc.hInstance = inst;
    wc.hIcon = LoadIconA(inst, MAKEINTRESOURCEA(140));
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = kFormClass;
    RegisterClassA(&wc);
    wc.style = 0;
    wc.hIcon = nullptr;
    wc.lpfnWndProc = OptProc;
    wc.cbWndExtra = 10;
    wc.lpszClassName = "TQ70OptWndClass";
    RegisterClassA(&wc);
    wc.lpfnWndProc = BmpButtonProc;
    wc.cbWndExtra = 24;
    wc.lpszClassName = "TQ70BBWndClass";
    RegisterClassA(&wc);
}

}  // namespace dsgwin

using namespace dsgwin;

void DsgSelectTool(UINT id) {
    if (id == ID_TOOLBOX_FIRST) {
        g_toolActive = false;
        return;
    }
    // The tool box's buttons after the pointer, in order; any other id is a
    // custom control.
    static const uint32_t kKinds[] = {dsg::kButton, dsg::kRadio,  dsg::kCheck,     dsg::kGroup,     dsg::kEdit,
                                      dsg::kText,   dsg::kList,   dsg::kCombo,     dsg::kHScroll,   dsg::kVScroll,
                                      dsg::kPicture, dsg::kOleClient, dsg::kBmpButton, dsg::kTimer, dsg::kMci};
    constexpr UINT kLastKindTool = ID_TOOLBOX_FIRST + static_cast<UINT>(std::size(kKinds));
    g_toolActive = true;
    g_toolKind = id > ID_TOOLBOX_FIRST && id <= kLastKindTool ? kKinds[id - ID_TOOLBOX_FIRST - 1] : dsg::kOcx;
}

bool DsgToolActive() { return g_toolActive; }
uint32_t DsgToolKind() { return g_toolKind; }

bool DsgIsFormTestMode() { return TestMode(); }
