#include "toolbars.h"

#include "ideapp.h"
#include "mainfrm.h"
#include "resource.h"

namespace {

const UINT kStandardButtons[30] = {
    FW_ID_FILE_NEW, FW_ID_FILE_OPEN, FW_ID_FILE_SAVE, FW_ID_SEPARATOR, ID_BUILD_COMPILE, FW_ID_SEPARATOR, FW_ID_EDIT_CUT, FW_ID_EDIT_COPY, FW_ID_EDIT_PASTE,
    FW_ID_SEPARATOR, ID_CASE_SENSITIVE, ID_FIND_DOWN, ID_FIND_UP, FW_ID_SEPARATOR, FW_ID_SEPARATOR, FW_ID_SEPARATOR, ID_REPLACE_ONE,
    FW_ID_SEPARATOR, FW_ID_SEPARATOR, FW_ID_SEPARATOR, ID_RUN_DEBUG, FW_ID_SEPARATOR, ID_RUN_RUN,
    FW_ID_SEPARATOR, ID_DEBUG_RESTART, FW_ID_SEPARATOR, ID_DEBUG_TRACE, ID_DEBUG_PASS_TRACE, FW_ID_SEPARATOR, ID_DEBUG_QUICK_WATCH,
};

constexpr int kHistoryMax = 15;

RECT DesktopRect() {
    RECT rc;
    GetWindowRect(GetDesktopWindow(), &rc);
    return rc;
}

CMainFrame* MainFrame() { return TheApp().m_pMainFrame; }

}  // namespace

void GrowMainFrame(int delta) {
    CMainFrame* mf = MainFrame();
    if (!mf || !mf->m_hWnd)
        return;
    RECT r;
    GetWindowRect(mf->m_hWnd, &r);
    SetWindowPos(mf->m_hWnd, nullptr, 0, 0, r.right - r.left, r.bottom - r.top + delta,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// ---- the search box -----------------------------------------------------

bool CToolBarCombo::PreTranslateMessage(MSG* msg) {
    if (msg->message != WM_KEYDOWN || msg->wParam != VK_RETURN)
        return CComboBox::PreTranslateMessage(msg);
    // A held Return adds the text once.
    if (!(msg->lParam & 0x40000000)) {
        std::string text = GetWindowText();
        SendMessageA(m_hWnd, CB_INSERTSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
        SetCurSel(0);
        if (GetCount() > kHistoryMax)
            SendMessageA(m_hWnd, CB_DELETESTRING, static_cast<WPARAM>(GetCount() - 1), 0);
    }
    return true;
}

// ---- the standard bar ---------------------------------------------------

bool CComboToolBar::Create(CFrameWnd* parent, bool frameSmall) {
    m_bVertical = 0;
    RECT desk = DesktopRect();
    m_bSmall = (frameSmall || desk.right - desk.left < 800) ? 1 : 0;
    if (!CToolBar::Create(parent, WS_CHILD | WS_VISIBLE | FWBS_ALIGN_TOP | FWBS_BORDER_BOTTOM |
                                      FWBS_TOOLTIPS | FWBS_FLYBY, ID_VIEW_STANDARD_BAR))
        return false;
    if (!m_bSmall)
        SetSizes({28, 28}, {21, 21});
    if (!LoadBitmap(m_bSmall ? IDB_STANDARD_SMALL : IDB_STANDARD))
        return false;
    if (!SetButtons(kStandardButtons, 30))
        return false;
    RECT rc = {m_bSmall ? -70 : -100, -150, 0, 0};
    if (!m_wndCombo.Create("COMBOBOX", WS_CHILD | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL, rc,
                           this, 9101))
        return false;
    RECT er = {rc.left, rc.top, rc.left + (rc.right - rc.left), rc.top + (m_bSmall ? 22 : 28)};
    if (!m_wndEdit.Create("EDIT", WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, er, this,
                          9102, WS_EX_CLIENTEDGE))
        return false;
    if (m_bSmall) {
        HGDIOBJ font = GetStockObject(DEFAULT_GUI_FONT);
        if (!font)
            font = GetStockObject(ANSI_VAR_FONT);
        SendMessageA(m_wndCombo.m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        SendMessageA(m_wndEdit.m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
    LayoutHorizontal();
    return true;
}

void CComboToolBar::LayoutHorizontal() {
    m_bVertical = 0;
    m_dwBarStyle |= FWBS_ALIGN_TOP;
    int width = m_bSmall ? 70 : 100;
    SetButtonInfo(kComboSlot, 9101, TBBS_SEPARATOR, width);
    SetButtonInfo(kEditSlot, 9102, TBBS_SEPARATOR, width);
    RECT r;
    GetItemRect(kComboSlot, &r);
    SetWindowPos(m_wndCombo.m_hWnd, nullptr, r.left, r.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    // The box drops its list below; its own height is the edit part's.
    SetWindowPos(m_wndCombo.m_hWnd, nullptr, 0, 0, width, 150,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    GetItemRect(kEditSlot, &r);
    SetWindowPos(m_wndEdit.m_hWnd, nullptr, r.left, r.top, width, m_bSmall ? 22 : 28,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void CComboToolBar::LayoutVertical() {
    m_bVertical = 1;
    SetButtonInfo(kComboSlot, 9101, TBSTYLE_BUTTON, 4);
    SetButtonInfo(kEditSlot, 9102, TBSTYLE_BUTTON, 4);
    ShowWindow(m_wndCombo.m_hWnd, SW_SHOWNA);
    ShowWindow(m_wndEdit.m_hWnd, SW_SHOWNA);
}

SIZE CComboToolBar::CalcDynamicLayout(int length, DWORD mode) {
    if (mode & FWLM_COMMIT) {
        if (mode & FWLM_VERTDOCK) {
            if (!m_bVertical)
                LayoutVertical();
        } else if (m_bVertical) {
            LayoutHorizontal();
        }
        return CToolBar::CalcDynamicLayout(length, mode);
    }
    bool wantHorz = (mode & FWLM_HORZ) != 0;
    if (wantHorz == (m_bVertical == 0))
        return CToolBar::CalcDynamicLayout(length, mode);
    bool wasVertical = m_bVertical != 0;
    if (wasVertical)
        LayoutHorizontal();
    else
        LayoutVertical();
    SIZE sz = CToolBar::CalcDynamicLayout(length, mode);
    if (wasVertical)
        LayoutVertical();
    else
        LayoutHorizontal();
    return sz;
}

std::string CComboToolBar::GetToolBarComboText() const { return m_wndCombo.GetWindowText(); }
std::string CComboToolBar::GetToolBarEditText() const { return m_wndEdit.GetWindowText(); }

void CComboToolBar::AddComboHistory(const std::string& text) {
    LRESULT at = SendMessageA(m_wndCombo.m_hWnd, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                              reinterpret_cast<LPARAM>(text.c_str()));
    if (at != CB_ERR)
        SendMessageA(m_wndCombo.m_hWnd, CB_DELETESTRING, static_cast<WPARAM>(at), 0);
    SendMessageA(m_wndCombo.m_hWnd, CB_INSERTSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    m_wndCombo.SetCurSel(0);
}

bool CComboToolBar::OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
    if (msg == WM_SIZE) {
        *result = Default();
        if (m_wndEdit.m_hWnd) {
            ShowWindow(m_wndEdit.m_hWnd, SW_SHOWNA);
            RedrawWindow(m_wndEdit.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
            RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        }
        if (CMainFrame* mf = MainFrame())
            mf->RefreshDebuggee();
        return true;
    }
    return CToolBar::OnWndMsg(msg, wp, lp, result);
}

// A drag of the bar has ended: a stopped program redraws its windows.
void CComboToolBar::OnBarMoved() {
    if (CMainFrame* mf = MainFrame())
        mf->RefreshDebuggee();
}

void CToolBoxBar::OnBarMoved() {
    if (CMainFrame* mf = MainFrame())
        mf->RefreshDebuggee();
}

void CComboToolBar::OnDockSiteChanged() {
    HWND site = GetDockingFrame();
    if (!site || site == m_hDockFrame)
        return;
    HWND before = m_hDockFrame;
    m_hDockFrame = site;
    CMainFrame* mf = MainFrame();
    if (!before || !mf || !mf->m_hWnd || !IsWindowVisible(mf->m_hWnd))
        return;
    mf->RecalcLayout();
    RECT br;
    GetWindowRect(m_hWnd, &br);
    int h = br.bottom - br.top;
    if (IsFloating()) {
        m_nFlags |= kBarFloats;
        GrowMainFrame(-h);
    } else {
        m_nFlags &= ~kBarFloats;
        GrowMainFrame(h);
    }
    mf->RefreshDebuggee();
}

// ---- the tool box -------------------------------------------------------

bool CToolBoxBar::Create(CFrameWnd* parent, DWORD style, UINT id) {
    if (!CToolBar::Create(parent, style, id))
        return false;
    // The main frame enables and greys its commands only by its own rules.
    parent->m_bAutoMenuEnable = false;
    return true;
}

void CToolBoxBar::SetColumns(int n) {
    m_nColumns = static_cast<uint32_t>(n);
    for (int i = 0, count = GetCount(); i < count; ++i) {
        UINT style = TBBS_CHECKGROUP;
        if ((i + 1) % n == 0)
            style |= TBBS_WRAPPED;
        SetButtonStyle(i, style);
    }
    SendMessageA(m_hWnd, TB_AUTOSIZE, 0, 0);
    InvalidateRect(m_hWnd, nullptr, TRUE);
    if (HWND f = GetFloatFrame(); f && m_pFloat)
        m_pFloat->FitToBar();
    if (m_pOwner && m_pOwner->m_hWnd)
        m_pOwner->RecalcLayout();
}

void CToolBoxBar::OnDockSiteChanged() {
    HWND site = GetDockingFrame();
    if (!site || site == m_hDockFrame)
        return;
    HWND before = m_hDockFrame;
    m_hDockFrame = site;
    CMainFrame* mf = MainFrame();
    if (!before || !mf || !mf->m_hWnd)
        return;
    if (!IsFloating()) {
        m_nFlags &= ~kBarFloats;
        if (IsWindowVisible(mf->m_hWnd))
            GrowMainFrame(1);
        SetColumns(16);
    } else {
        m_nFlags |= kBarFloats;
        if (IsWindowVisible(mf->m_hWnd))
            GrowMainFrame(-1);
        SetColumns(2);
        // The first button lies just left of the mouse cursor.
        POINT cur;
        GetCursorPos(&cur);
        RECT b;
        GetItemRect(0, &b);
        SetWindowPos(GetFloatFrame(), nullptr, cur.x + (b.left - b.right), cur.y - 3, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    mf->RefreshDebuggee();
}
