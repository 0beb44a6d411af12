#include "fwtoolbar.h"

#include "fwapp.h"

#include <algorithm>
#include <cstdlib>

FW_IMPLEMENT_DYNAMIC(CToolBar, CWnd)

namespace {

const char kFloatClass[] = "FwFloatFrame";

DWORD FloatStyle() { return WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN; }

}  // namespace

// ---- CFloatFrame --------------------------------------------------------

bool CFloatFrame::Create(HWND owner, const std::string& title) {
    const char* cls = RegisterClass(CS_DBLCLKS, nullptr, nullptr,
                                    reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    return cls && CreateEx(WS_EX_TOOLWINDOW, cls, title.c_str(), FloatStyle(), 0, 0, 10, 10,
                           owner, nullptr);
}

void CFloatFrame::FitToBar() {
    SIZE sz = m_pBar->CalcSize();
    RECT rc{0, 0, sz.cx, sz.cy};
    AdjustWindowRectEx(&rc, FloatStyle(), FALSE, WS_EX_TOOLWINDOW);
    SetWindowPos(m_hWnd, nullptr, 0, 0, rc.right - rc.left, rc.bottom - rc.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    MoveWindow(m_pBar->m_hWnd, 0, 0, sz.cx, sz.cy, TRUE);
}

bool CFloatFrame::OnCommand(UINT id, UINT code, HWND) {
    // The bar's commands belong to its frame.
    if (CFrameWnd* f = m_pBar->GetOwnerFrame(); f && f->m_hWnd)
        SendMessageA(f->m_hWnd, WM_COMMAND, MAKEWPARAM(id, code), 0);
    return true;
}

bool CFloatFrame::OnNotify(UINT, NMHDR* nm, LRESULT* result) {
    *result = 0;
    if (fw::AnswerToolTip(nm))
        return true;
    if (CFrameWnd* f = m_pBar->GetOwnerFrame(); f && f->m_hWnd) {
        *result = SendMessageA(f->m_hWnd, WM_NOTIFY, nm->idFrom, reinterpret_cast<LPARAM>(nm));
        return true;
    }
    return false;
}

bool CFloatFrame::OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
    switch (msg) {
    case WM_EXITSIZEMOVE:
        // Let go over the frame: the bar docks again.
        m_pBar->EndFloatMove();
        *result = 0;
        return true;
    case WM_NCLBUTTONDBLCLK:
        if (wp == HTCAPTION) {
            m_pBar->Dock();
            m_pBar->OnBarMoved();
            *result = 0;
            return true;
        }
        break;
    default:
        break;
    }
    return CWnd::OnWndMsg(msg, wp, lp, result);
}

void CFloatFrame::OnClose() {
    // Closing a floating bar hides it; it stays floating.
    m_pBar->Show(false);
    if (CFrameWnd* f = m_pBar->GetOwnerFrame(); f && f->m_hWnd)
        f->RecalcLayout();
}

// ---- CToolBar -----------------------------------------------------------

CToolBar::~CToolBar() {
    if (m_hImages)
        ImageList_Destroy(m_hImages);
}

bool CToolBar::Create(CFrameWnd* frame, DWORD style, UINT id) {
    m_pOwner = frame;
    m_dwBarStyle = style & (FWBS_ALIGN_TOP | FWBS_BORDER_BOTTOM | FWBS_TOOLTIPS | FWBS_FLYBY |
                            FWBS_SIZE_FIXED | TBSTYLE_FLAT);
    m_nBarId = id;
    DWORD ws = (style & (WS_CHILD | WS_VISIBLE)) | WS_CHILD | WS_CLIPSIBLINGS | CCS_NORESIZE |
               CCS_NOPARENTALIGN | CCS_NODIVIDER;
    if (style & FWBS_TOOLTIPS)
        ws |= TBSTYLE_TOOLTIPS;
    if (style & TBSTYLE_FLAT)
        ws |= TBSTYLE_FLAT;
    if (!CreateEx(0, TOOLBARCLASSNAMEA, nullptr, ws, 0, 0, 0, 0, frame->m_hWnd,
                  reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id))))
        return false;
    SendMessageA(m_hWnd, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    return true;
}

bool CToolBar::LoadBitmap(UINT bitmapId) {
    HBITMAP bmp = static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr),
                                                  MAKEINTRESOURCEA(bitmapId), IMAGE_BITMAP, 0, 0,
                                                  LR_CREATEDIBSECTION));
    if (!bmp)
        return false;
    BITMAP bm{};
    GetObjectA(bmp, sizeof bm, &bm);
    // The bitmap's height is the image height until SetSizes says otherwise.
    m_sizeImage = {m_sizeImage.cx, bm.bmHeight};
    if (m_hImages)
        ImageList_Destroy(m_hImages);
    m_hImages = ImageList_Create(m_sizeImage.cx, bm.bmHeight, ILC_COLOR24 | ILC_MASK,
                                 bm.bmWidth / (m_sizeImage.cx ? m_sizeImage.cx : 1), 4);
    ImageList_AddMasked(m_hImages, bmp, RGB(192, 192, 192));
    DeleteObject(bmp);
    m_nBitmapId = bitmapId;
    SendMessageA(m_hWnd, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(m_hImages));
    return true;
}

void CToolBar::SetSizes(SIZE button, SIZE image) {
    bool reload = image.cx != m_sizeImage.cx && m_nBitmapId;
    m_sizeImage = image;
    if (reload)
        LoadBitmap(m_nBitmapId);
    SendMessageA(m_hWnd, TB_SETBITMAPSIZE, 0, MAKELPARAM(image.cx, image.cy));
    SendMessageA(m_hWnd, TB_SETBUTTONSIZE, 0, MAKELPARAM(button.cx, button.cy));
}

bool CToolBar::SetButtons(const UINT* ids, int count) {
    while (SendMessageA(m_hWnd, TB_BUTTONCOUNT, 0, 0) > 0)
        SendMessageA(m_hWnd, TB_DELETEBUTTON, 0, 0);
    std::vector<TBBUTTON> buttons(static_cast<size_t>(count));
    int image = 0;
    for (int i = 0; i < count; ++i) {
        TBBUTTON& b = buttons[static_cast<size_t>(i)];
        b = TBBUTTON{};
        b.idCommand = static_cast<int>(ids[i]);
        if (ids[i] == FW_ID_SEPARATOR) {
            b.fsStyle = TBSTYLE_SEP;
            b.iBitmap = 6;
        } else {
            b.fsStyle = TBSTYLE_BUTTON;
            b.fsState = TBSTATE_ENABLED;
            b.iBitmap = image++;
        }
    }
    return SendMessageA(m_hWnd, TB_ADDBUTTONSA, static_cast<WPARAM>(count),
                        reinterpret_cast<LPARAM>(buttons.data())) != 0;
}

int CToolBar::GetCount() const { return static_cast<int>(SendMessageA(m_hWnd, TB_BUTTONCOUNT, 0, 0)); }

UINT CToolBar::GetItemID(int index) const {
    TBBUTTON b{};
    SendMessageA(m_hWnd, TB_GETBUTTON, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&b));
    return static_cast<UINT>(b.idCommand);
}

void CToolBar::GetItemRect(int index, RECT* rc) const {
    SendMessageA(m_hWnd, TB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(rc));
}

int CToolBar::GetButtonImage(int index) const {
    TBBUTTON b{};
    SendMessageA(m_hWnd, TB_GETBUTTON, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&b));
    return b.iBitmap;
}

UINT CToolBar::GetButtonStyle(int index) const {
    TBBUTTON b{};
    SendMessageA(m_hWnd, TB_GETBUTTON, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&b));
    return b.fsStyle | ((b.fsState & TBSTATE_WRAP) ? TBBS_WRAPPED : 0);
}

void CToolBar::SetButtonStyle(int index, UINT style) {
    TBBUTTONINFOA bi{};
    bi.cbSize = sizeof bi;
    bi.dwMask = TBIF_BYINDEX | TBIF_STYLE;
    bi.fsStyle = static_cast<BYTE>(style & 0xFF);
    SendMessageA(m_hWnd, TB_SETBUTTONINFOA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&bi));
    // The wrap is a state bit: the control lays the rows out from it.
    UINT id = GetItemID(index);
    LRESULT state = SendMessageA(m_hWnd, TB_GETSTATE, id, 0);
    if (state != -1) {
        BYTE s = static_cast<BYTE>((state & ~TBSTATE_WRAP) | ((style & TBBS_WRAPPED) ? TBSTATE_WRAP : 0));
        SendMessageA(m_hWnd, TB_SETSTATE, id, MAKELPARAM(s, 0));
    }
}

void CToolBar::SetButtonInfo(int index, UINT id, UINT style, int image) {
    TBBUTTONINFOA bi{};
    bi.cbSize = sizeof bi;
    bi.dwMask = TBIF_BYINDEX | TBIF_STYLE | TBIF_COMMAND | TBIF_IMAGE | TBIF_SIZE | TBIF_STATE;
    SendMessageA(m_hWnd, TB_GETBUTTONINFOA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&bi));
    bi.idCommand = static_cast<int>(id);
    bi.fsStyle = static_cast<BYTE>(style & 0xFF);
    bi.iImage = image;
    // A separator's width is its image number.
    bi.cx = (style & TBBS_SEPARATOR) ? static_cast<WORD>(image) : 0;
    if (!(style & TBBS_SEPARATOR))
        bi.dwMask &= ~TBIF_SIZE;
    bi.fsState = static_cast<BYTE>(bi.fsState | TBSTATE_ENABLED);
    SendMessageA(m_hWnd, TB_SETBUTTONINFOA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&bi));
}

void CToolBar::SetTitle(const std::string& title) {
    m_strTitle = title;
    SetWindowTextA(m_hWnd, title.c_str());
    if (m_pFloat)
        SetWindowTextA(m_pFloat->m_hWnd, title.c_str());
}

bool CToolBar::IsVisible() const {
    return m_hWnd && (GetWindowLongPtrA(m_hWnd, GWL_STYLE) & WS_VISIBLE) &&
           (!m_pFloat || (GetWindowLongPtrA(m_pFloat->m_hWnd, GWL_STYLE) & WS_VISIBLE));
}

void CToolBar::Show(bool show) {
    ShowWindow(m_hWnd, show ? SW_SHOWNA : SW_HIDE);
    if (m_pFloat)
        ShowWindow(m_pFloat->m_hWnd, show ? SW_SHOWNA : SW_HIDE);
}

SIZE CToolBar::CalcSize() const {
    // The buttons' extent: the right and bottom edges of the furthest ones.
    SIZE sz{0, 0};
    for (int i = 0, n = GetCount(); i < n; ++i) {
        RECT r;
        GetItemRect(i, &r);
        sz.cx = std::max<LONG>(sz.cx, r.right);
        sz.cy = std::max<LONG>(sz.cy, r.bottom);
    }
    if (sz.cy == 0) {
        DWORD bs = static_cast<DWORD>(SendMessageA(m_hWnd, TB_GETBUTTONSIZE, 0, 0));
        sz.cy = HIWORD(bs);
    }
    if (!m_pFloat && (m_dwBarStyle & FWBS_BORDER_BOTTOM))
        sz.cy += 2;
    return sz;
}

SIZE CToolBar::CalcDynamicLayout(int, DWORD) { return CalcSize(); }

void CToolBar::FloatAt(POINT pt, bool leftAlign) {
    bool visible = IsVisible();
    if (!m_pFloat) {
        m_pFloat = new CFloatFrame(this);
        if (!m_pFloat->Create(m_pOwner ? m_pOwner->m_hWnd : nullptr, m_strTitle)) {
            delete m_pFloat;
            m_pFloat = nullptr;
            return;
        }
        SetParent(m_hWnd, m_pFloat->m_hWnd);
        // Both alignments put the frame's corner at the point; a left-aligned
        // bar lies in one row, a top-aligned one may wrap below.
        (void)leftAlign;
        CalcDynamicLayout(-1, FWLM_HORZ | FWLM_COMMIT);
        if (m_pOwner)
            m_pOwner->RecalcLayout();
        OnDockSiteChanged();
    }
    m_pFloat->FitToBar();
    SetWindowPos(m_pFloat->m_hWnd, nullptr, pt.x, pt.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (visible) {
        ShowWindow(m_hWnd, SW_SHOWNA);
        ShowWindow(m_pFloat->m_hWnd, SW_SHOWNA);
    }
}

bool CToolBar::OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
    POINT pt{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
    switch (msg) {
    case WM_LBUTTONDOWN:
        // Pressed on no button of a docked bar: the bar is being dragged.
        if (!m_pFloat &&
            static_cast<int>(SendMessageA(m_hWnd, TB_HITTEST, 0, reinterpret_cast<LPARAM>(&pt))) < 0) {
            ClientToScreen(m_hWnd, &pt);
            m_ptDragFrom = pt;
            m_bDragging = true;
            SetCapture(m_hWnd);
            *result = 0;
            return true;
        }
        break;
    case WM_LBUTTONUP:
        if (m_bDragging) {
            m_bDragging = false;
            ReleaseCapture();
            ClientToScreen(m_hWnd, &pt);
            EndDrag(m_ptDragFrom, pt);
            *result = 0;
            return true;
        }
        break;
    case WM_CAPTURECHANGED:
        m_bDragging = false;
        break;
    default:
        break;
    }
    return CWnd::OnWndMsg(msg, wp, lp, result);
}

void CToolBar::EndDrag(POINT from, POINT to) {
    if (m_pFloat || !m_pOwner || !m_pOwner->m_hWnd)
        return;
    if (std::abs(to.x - from.x) <= GetSystemMetrics(SM_CXDRAG) &&
        std::abs(to.y - from.y) <= GetSystemMetrics(SM_CYDRAG))
        return;
    RECT frame;
    GetWindowRect(m_pOwner->m_hWnd, &frame);
    if (PtInRect(&frame, to))
        return;
    // The bar's corner moves with the pointer.
    RECT bar;
    GetWindowRect(m_hWnd, &bar);
    FloatAt(POINT{bar.left + to.x - from.x, bar.top + to.y - from.y}, true);
    OnBarMoved();
}

void CToolBar::EndFloatMove() {
    if (!m_pFloat || !m_pOwner || !m_pOwner->m_hWnd)
        return;
    RECT frame, fr, both;
    GetWindowRect(m_pOwner->m_hWnd, &frame);
    GetWindowRect(m_pFloat->m_hWnd, &fr);
    if (IntersectRect(&both, &frame, &fr))
        Dock();
    OnBarMoved();
}

void CToolBar::Dock() {
    if (!m_pFloat)
        return;
    bool visible = IsVisible();
    CFloatFrame* f = m_pFloat;
    m_pFloat = nullptr;
    SetParent(m_hWnd, m_pOwner->m_hWnd);
    if (!visible)
        ShowWindow(m_hWnd, SW_HIDE);
    f->DestroyWindow();
    CalcDynamicLayout(-1, FWLM_HORZ | FWLM_COMMIT);
    m_pOwner->RecalcLayout();
    OnDockSiteChanged();
}

void CToolBar::OnUpdateCmdUI(CFrameWnd* target, bool disableIfNoHandler) {
    for (int i = 0, n = GetCount(); i < n; ++i) {
        TBBUTTON b{};
        SendMessageA(m_hWnd, TB_GETBUTTON, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&b));
        if (b.fsStyle & TBSTYLE_SEP)
            continue;
        CCmdUI ui;
        ui.m_nID = static_cast<UINT>(b.idCommand);
        ui.m_nIndex = static_cast<UINT>(i);
        ui.m_hToolBar = m_hWnd;
        if (!target->OnCmdMsg(ui.m_nID, FwCmdKind::Update, &ui) && disableIfNoHandler)
            ui.Enable(target->OnCmdMsg(ui.m_nID, FwCmdKind::Probe, nullptr));
    }
}

namespace fw {

int LayoutDockedBars(HWND frame, const std::vector<CToolBar*>& bars, int width) {
    int y = 0;
    for (CToolBar* b : bars) {
        if (!b || !b->m_hWnd || b->IsFloating() || ::GetParent(b->m_hWnd) != frame ||
            !(GetWindowLongPtrA(b->m_hWnd, GWL_STYLE) & WS_VISIBLE))
            continue;
        SIZE sz = b->CalcDynamicLayout(width, FWLM_HORZ);
        MoveWindow(b->m_hWnd, 0, y, width, sz.cy, TRUE);
        y += sz.cy;
    }
    return y;
}

bool AnswerToolTip(NMHDR* nm) {
    if (nm->code != TTN_GETDISPINFOA && nm->code != TTN_GETDISPINFOW)
        return false;
    std::string s = LoadStr(static_cast<UINT>(nm->idFrom));
    size_t nl = s.find('\n');
    s = nl == std::string::npos ? std::string() : s.substr(nl + 1);
    if (nm->code == TTN_GETDISPINFOA) {
        auto* di = reinterpret_cast<NMTTDISPINFOA*>(nm);
        lstrcpynA(di->szText, s.c_str(), sizeof di->szText);
        di->lpszText = di->szText;
    } else {
        auto* di = reinterpret_cast<NMTTDISPINFOW*>(nm);
        MultiByteToWideChar(932, 0, s.c_str(), -1, di->szText, 80);
        di->szText[79] = 0;
        di->lpszText = di->szText;
    }
    return true;
}

}  // namespace fw
