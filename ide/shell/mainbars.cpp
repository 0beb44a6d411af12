// The main frame's bars, their saved state, the command states of its menu
// and bars, menu prompts and help, and the small services others call on it.
#include "editor.h"
#include "ideapp.h"
#include "idehelpers.h"
#include "mainfrm.h"
#include "neighbours.h"
#include "prjframe.h"
#include "propwnd.h"
#include "resource.h"


uint32_t CMainFrame::g_bMatchCase = 0;
UINT CMainFrame::g_nToolBoxTool = ID_TOOLBOX_FIRST;

namespace {

const UINT kDebugButtons[9] = {ID_RUN_DEBUG, FW_ID_SEPARATOR, ID_RUN_RUN, FW_ID_SEPARATOR, ID_DEBUG_RESTART,
                               FW_ID_SEPARATOR, ID_DEBUG_TRACE, ID_DEBUG_PASS_TRACE, FW_ID_SEPARATOR};

bool FlatBars() {
    OSVERSIONINFOA v{};
    v.dwOSVersionInfoSize = sizeof v;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    GetVersionExA(&v);
#pragma GCC diagnostic pop
    return v.dwMajorVersion > 4 || (v.dwMajorVersion == 4 && v.dwMinorVersion > 0);
}

CBasEditView* ActiveEditorView() {
    CPrjFrame* pf = TheApp().m_pPrjFrame;
    CMDIChildWnd* c = pf && pf->m_hWnd ? pf->MDIGetActive() : nullptr;
    return c ? dynamic_cast<CBasEditView*>(c->GetActiveView()) : nullptr;
}

CRcTreeView* ActiveRcTreeView() {
    CPrjFrame* pf = TheApp().m_pPrjFrame;
    CMDIChildWnd* c = pf && pf->m_hWnd ? pf->MDIGetActive() : nullptr;
    return c ? dynamic_cast<CRcTreeView*>(c->GetActiveView()) : nullptr;
}

std::string ChangeExtension(const std::string& name, const char* ext) {
    size_t dot = name.find_last_of('.');
    return (dot == std::string::npos ? name : name.substr(0, dot)) + "." + ext;
}

bool Contains(const std::string& s, const char* a, const char* b) {
    return s.find(a) != std::string::npos || s.find(b) != std::string::npos;
}

// Help contexts of the menu items; ranges share one context.
struct HelpEntry {
    UINT first, last, context;
};
const HelpEntry kHelpTable[] = {
    {FW_ID_FILE_NEW, FW_ID_FILE_NEW, 1001}, {FW_ID_FILE_OPEN, FW_ID_FILE_OPEN, 1002}, {FW_ID_FILE_CLOSE, FW_ID_FILE_CLOSE, 1005}, {ID_FILE_CLOSE_ALL, ID_FILE_CLOSE_ALL, 1006},
    {FW_ID_FILE_SAVE, FW_ID_FILE_SAVE, 1003}, {FW_ID_FILE_SAVE_AS, FW_ID_FILE_SAVE_AS, 1004}, {FW_ID_FILE_PAGE_SETUP, FW_ID_FILE_PAGE_SETUP, 1007}, {FW_ID_FILE_PRINT, FW_ID_FILE_PRINT, 1008},
    {FW_ID_FILE_PRINT_SETUP, FW_ID_FILE_PRINT_SETUP, 1009}, {FW_ID_APP_EXIT, FW_ID_APP_EXIT, 1010}, {FW_ID_EDIT_UNDO, FW_ID_EDIT_UNDO, 2001}, {FW_ID_EDIT_CUT, FW_ID_EDIT_CUT, 2002},
    {FW_ID_EDIT_COPY, FW_ID_EDIT_COPY, 2003}, {FW_ID_EDIT_PASTE, FW_ID_EDIT_PASTE, 2004}, {FW_ID_EDIT_CLEAR, FW_ID_EDIT_CLEAR, 2005}, {FW_ID_EDIT_SELECT_ALL, FW_ID_EDIT_SELECT_ALL, 2006},
    {FW_ID_EDIT_FIND, FW_ID_EDIT_FIND, 2007}, {FW_ID_EDIT_REPLACE, FW_ID_EDIT_REPLACE, 2012}, {ID_LINE_JUMP, ID_LINE_JUMP, 300}, {ID_MARK, ID_MARK, 2020},
    {ID_MIGRATE_CONVERT, ID_MIGRATE_DELETE_MESSAGES, 2030}, {FW_ID_VIEW_TOOLBAR, FW_ID_VIEW_TOOLBAR, 3005}, {ID_VIEW_PROPERTIES, ID_VIEW_TOOLBOX, 3005}, {FW_ID_VIEW_STATUS_BAR, FW_ID_VIEW_STATUS_BAR, 3005},
    {ID_RESULT_WINDOW, ID_RESULT_WINDOW, 5004}, {ID_DEBUG_WATCH_WINDOW, ID_DEBUG_WATCH_WINDOW, 5004}, {ID_VIEW_GRID, ID_VIEW_GRID, 3010}, {ID_VIEW_OPTIONS, ID_VIEW_OPTIONS, 3011},
    {ID_VIEW_SAVE_ON_EXIT, ID_VIEW_SAVE_ON_EXIT, 3007}, {ID_PROJECT_WIZARD, ID_PROJECT_WIZARD, 4010}, {ID_PROJECT_NEW, ID_PROJECT_OPEN, 0}, {ID_PROJECT_CLOSE, ID_PROJECT_CLOSE, 4005},
    {ID_PROJECT_SAVE, ID_PROJECT_SAVE_AS, 0}, {ID_PROJECT_ENV, ID_PROJECT_ENV, 4006}, {ID_PROJECT_MODULES, ID_PROJECT_MODULES, 4007}, {ID_PROJECT_LIBRARIES, ID_PROJECT_LIBRARIES, 4008},
    {ID_BUILD_COMPILE, ID_BUILD_COMPILE, 5001}, {ID_BUILD_ALL, ID_BUILD_ALL, 5002}, {ID_BUILD_OPTIONS, ID_BUILD_OPTIONS, 5003}, {ID_RUN_RUN, ID_RUN_CONTINUE, 0},
    {ID_DEBUG_BREAKPOINT, ID_DEBUG_BREAKPOINT_LIST, 0}, {ID_DEBUG_ADD_WATCH, ID_DEBUG_QUICK_WATCH, 0}, {ID_RES_NEW, ID_RES_DELETE, 0}, {ID_DSG_GROUP, ID_DSG_LOCK, 0}, {ID_DSG_ARRANGE, ID_DSG_ARRANGE, 2019},
    {ID_DSG_ALIGN_LEFT, ID_DSG_ALIGN_BOTTOM, 2200}, {ID_DSG_SAME_WIDTH, ID_DSG_SAME_HEIGHT, 2206}, {ID_DSG_SPACE_ACROSS, ID_DSG_SPACE_DOWN, 2208}, {ID_DSG_TEST_MODE, ID_DSG_TEST_MODE, 2121},
    {ID_DSG_TAB_ORDER, ID_DSG_TAB_ORDER, 2122}, {FW_ID_WINDOW_CASCADE, FW_ID_WINDOW_CASCADE, 3002}, {FW_ID_WINDOW_TILE_HORZ, FW_ID_WINDOW_TILE_VERT, 3100}, {FW_ID_WINDOW_ARRANGE, FW_ID_WINDOW_ARRANGE, 3003},
    {FW_ID_HELP_FINDER, FW_ID_HELP_FINDER, 261}, {FW_ID_APP_ABOUT, FW_ID_APP_ABOUT, 8008}, {FW_ID_HELP_INDEX, FW_ID_HELP_INDEX, 8002},
};

// A context of 0 in the table stands for the id itself.
UINT HelpContext(UINT id) {
    for (const auto& e : kHelpTable) {
        if (id >= e.first && id <= e.last)
            return e.context ? e.context : id;
    }
    return 0;
}

}  // namespace

// ---- bars ---------------------------------------------------------------

bool CMainFrame::CreateBars() {
    // The bars are made before the saved layout is read: the button size
    // is taken from the registry now.
    auto small = TheApp().Registry().Read(fw::RegRoot::CurrentUser, tambrix::kGeneralKey, "SmallBitmap");
    m_bSmallBitmap = small && !small->data.empty();
    RECT desk;
    GetWindowRect(GetDesktopWindow(), &desk);
    bool large = !m_bSmallBitmap && desk.right - desk.left >= 800;
    bool flat = FlatBars();
    if (!m_wndToolBar.Create(this, m_bSmallBitmap))
        return false;
    if (flat)
        SetWindowLongPtrA(m_wndToolBar.m_hWnd, GWL_STYLE,
                          GetWindowLongPtrA(m_wndToolBar.m_hWnd, GWL_STYLE) | TBSTYLE_FLAT);
    if (!m_wndToolBox.Create(this, WS_CHILD | FWBS_ALIGN_TOP | FWBS_BORDER_BOTTOM | FWBS_TOOLTIPS |
                                       FWBS_FLYBY | FWBS_SIZE_FIXED | (flat ? TBSTYLE_FLAT : 0),
                             ID_VIEW_STANDARD_BAR))
        return false;
    if (large)
        m_wndToolBox.SetSizes({31, 29}, {24, 22});
    if (!m_wndToolBox.LoadBitmap(large ? IDB_TOOLBOX : IDB_TOOLBOX_SMALL))
        return false;
    if (!m_wndDebugBar.Create(this, WS_CHILD | WS_VISIBLE | FWBS_ALIGN_TOP | FWBS_BORDER_BOTTOM,
                              FW_ID_VIEW_TOOLBAR))
        return false;
    if (large)
        m_wndDebugBar.SetSizes({28, 28}, {21, 21});
    if (!m_wndDebugBar.LoadBitmap(IDB_DEBUGBAR) || !m_wndDebugBar.SetButtons(kDebugButtons, 9))
        return false;
    UINT tools[16];
    for (UINT i = 0; i < 16; ++i)
        tools[i] = ID_TOOLBOX_FIRST + i;
    if (!m_wndToolBox.SetButtons(tools, 16))
        return false;
    m_wndToolBox.SetColumns(2);
    m_wndToolBar.SetTitle("\x95\x57\x8F\x80");                          // 標準
    m_wndToolBox.SetTitle("\xBA\xDD\xC4\xDB\xB0\xD9");                  // ｺﾝﾄﾛｰﾙ
    m_wndDebugBar.SetTitle("\xC3\xDE\xCA\xDE\xAF\xB8\xDE");             // ﾃﾞﾊﾞｯｸﾞ
    m_wndToolBar.m_hDockFrame = m_hWnd;
    m_wndToolBox.m_hDockFrame = m_hWnd;
    m_wndToolBox.m_nFlags = kBarShown;
    m_wndToolBox.SetColumns(16);
    m_wndToolBox.Show(true);
    m_wndDebugBar.Show(false);
    m_wndToolBar.m_nFlags = kBarShown;
    SendMessageA(m_wndToolBox.m_hWnd, TB_CHECKBUTTON, ID_TOOLBOX_FIRST, TRUE);
    g_nToolBoxTool = ID_TOOLBOX_FIRST;
    RecalcLayout();
    return true;
}

void CMainFrame::ApplyBarState(const tambrix::FrameSettings& s) {
    using namespace tambrix;
    if (!s.dockInfo)
        return;  // creation's defaults: standard bar and tool box docked
    uint32_t info = *s.dockInfo;
    auto at = [](std::optional<uint32_t> x, std::optional<uint32_t> y) {
        return POINT{static_cast<LONG>(x.value_or(0)), static_cast<LONG>(y.value_or(0))};
    };
    auto left = [](std::optional<uint32_t> cx, std::optional<uint32_t> cy) {
        return cx.value_or(0) > cy.value_or(0);
    };
    m_wndToolBar.m_nFlags = 0;
    if (info & kStdBarShown) {
        m_wndToolBar.m_nFlags |= kBarShown;
        if (info & kStdBarFloats) {
            m_wndToolBar.m_nFlags |= kBarFloats;
            m_wndToolBar.FloatAt(at(s.teX, s.teY), left(s.teCx, s.teCy));
        }
    }
    m_wndToolBar.Show((info & kStdBarShown) != 0);

    m_wndToolBox.m_nFlags = (info & kToolBoxShown) ? kBarShown : 0;
    if (info & kToolBoxFloats) {
        m_wndToolBox.m_nFlags |= kBarFloats;
        m_wndToolBox.FloatAt(at(s.trcX, s.trcY), left(s.trcCx, s.trcCy));
        m_wndToolBox.SetColumns(2);
    } else {
        m_wndToolBox.Dock();
        m_wndToolBox.SetColumns(16);
    }
    m_wndToolBox.Show((info & kToolBoxShown) != 0);

    if ((info & kDebugBarShown) && (info & kDebugBarFloats)) {
        m_wndDebugBar.FloatAt(at(s.tdX, s.tdY), left(s.tdCx, s.tdCy));
        SetWindowPos(m_wndDebugBar.GetFloatFrame(), nullptr, 0, 0,
                     static_cast<int>(s.tdCx.value_or(0)), static_cast<int>(s.tdCy.value_or(0)),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        m_wndDebugBar.Show(true);
    } else {
        m_wndDebugBar.Dock();
        m_wndDebugBar.Show(false);
    }
    RecalcLayout();
}

uint32_t CMainFrame::DockInfo() const {
    using namespace tambrix;
    uint32_t info = 0;
    if (m_wndToolBar.IsVisible())
        info |= kStdBarShown;
    if (m_wndToolBar.IsFloating())
        info |= kStdBarFloats;
    if (m_wndToolBox.IsVisible())
        info |= kToolBoxShown;
    if (m_wndToolBox.IsFloating())
        info |= kToolBoxFloats;
    if (m_wndDebugBar.IsVisible())
        info |= kDebugBarShown;
    if (m_wndDebugBar.IsFloating())
        info |= kDebugBarFloats;
    return info;
}

void CMainFrame::RecalcLayout() {
    RECT rc;
    GetClientRect(m_hWnd, &rc);
    int top = fw::LayoutDockedBars(m_hWnd, {&m_wndToolBar, &m_wndToolBox, &m_wndDebugBar}, rc.right);
    if (m_hWndMDIClient)
        MoveWindow(m_hWndMDIClient, 0, top, rc.right, std::max<int>(0, rc.bottom - top), TRUE);
}

void CMainFrame::OnIdleUpdateCmdUI() {
    CMDIFrameWnd::OnIdleUpdateCmdUI();
    bool disable = m_bAutoMenuEnable;
    if (m_wndToolBar.m_hWnd && m_wndToolBar.IsVisible())
        m_wndToolBar.OnUpdateCmdUI(this, disable);
    if (m_wndDebugBar.m_hWnd && m_wndDebugBar.IsVisible())
        m_wndDebugBar.OnUpdateCmdUI(this, disable);
    if (m_wndToolBox.m_hWnd)
        m_wndToolBox.OnUpdateCmdUI(this, disable);
}

void CMainFrame::OnViewToolBar() {
    bool show = !m_wndToolBar.IsVisible();
    m_wndToolBar.Show(show);
    if (show)
        m_wndToolBar.m_nFlags |= kBarShown;
    else
        m_wndToolBar.m_nFlags &= ~kBarShown;
    RecalcLayout();
    GrowMainFrame(show ? 1 : -1);
    SetActiveWindow(m_hWnd);
}

void CMainFrame::OnViewToolBox() {
    bool show = !m_wndToolBox.IsVisible();
    m_wndToolBox.Show(show);
    if (show)
        m_wndToolBox.m_nFlags |= kBarShown;
    else
        m_wndToolBox.m_nFlags &= ~kBarShown;
    RecalcLayout();
    if (!m_wndToolBox.IsFloating())
        GrowMainFrame(show ? 1 : -1);
    SetActiveWindow(m_hWnd);
}

void CMainFrame::OnViewStatusBar() {
    CPrjFrame* pf = TheApp().m_pPrjFrame;
    if (!pf || !pf->m_wndStatusBar.m_hWnd)
        return;
    ShowWindow(pf->m_wndStatusBar.m_hWnd, IsWindowVisible(pf->m_wndStatusBar.m_hWnd) ? SW_HIDE : SW_SHOWNA);
    pf->RecalcLayout();
}

void CMainFrame::OnToggleCase() {
    g_bMatchCase = g_bMatchCase ? 0 : 1;
    m_wndToolBar.SetButtonInfo(CComboToolBar::kCaseButton, ID_CASE_SENSITIVE, TBSTYLE_BUTTON,
                               g_bMatchCase ? 17 : 7);
    CPrjFrame* pf = TheApp().m_pPrjFrame;
    for (CMDIChildWnd* c = pf ? pf->FindEditorChildFrame() : nullptr; c;
         c = pf->FindEditorChildFrame(c)) {
        if (auto* v = dynamic_cast<CBasEditView*>(c->GetActiveView()))
            v->m_bMatchCase = g_bMatchCase;
    }
}

// ---- services -----------------------------------------------------------

bool CMainFrame::IsDebugging() const {
    CPrjDoc* prj = CurrentProjectDoc();
    return prj && prj->GetDebugState() == 1;
}

bool CMainFrame::IsProgramRunning() const {
    CPrjDoc* prj = CurrentProjectDoc();
    return IsDebugging() && DebugOf(prj).IsDebugRunning();
}

bool CMainFrame::IsFormTestMode() const {
    return DsgMenuQuery().formTestMode;
}

void CMainFrame::RefreshDebuggee() {
    if (IsDebugging() && !IsProgramRunning()) {
        if (CPrjDoc* prj = CurrentProjectDoc())
            DebugOf(prj).ActivateDebuggee();
    }
}

void CMainFrame::SetToolBoxTool(UINT id) {
    if (id < ID_TOOLBOX_FIRST || id > ID_TOOLBOX_LAST)
        return;
    g_nToolBoxTool = id;
    if (CPrjFrame* pf = TheApp().m_pPrjFrame)
        pf->SendToolToForms(id);
}

void CMainFrame::EnableCloseMenu(bool enable) {
    ULONG_PTR style = GetClassLongPtrA(m_hWnd, GCL_STYLE);
    SetClassLongPtrA(m_hWnd, GCL_STYLE, enable ? (style & ~CS_NOCLOSE) : (style | CS_NOCLOSE));
    HMENU sys = GetSystemMenu(m_hWnd, FALSE);
    for (UINT pos = 5; pos <= 6; ++pos)
        EnableMenuItem(sys, pos, MF_BYPOSITION | (enable ? MF_ENABLED : MF_GRAYED));
}

void CMainFrame::OnProgramEnded() {
    // A started program has ended: the design windows come back.
    ShowDesignWindows(true);
    if (CPrjFrame* pf = TheApp().m_pPrjFrame)
        pf->ShowModeText();
}

// ---- command states ------------------------------------------------------

void CMainFrame::OnUpdateViewToolBar(CCmdUI* ui) {
    bool free = !IsDebugging() && !IsFormTestMode();
    ui->Enable(free);
    ui->SetCheck(free && m_wndToolBar.IsVisible());
}

void CMainFrame::OnUpdateViewToolBox(CCmdUI* ui) {
    bool free = !IsDebugging() && !IsFormTestMode();
    ui->Enable(free);
    ui->SetCheck(free && m_wndToolBox.IsVisible());
}

void CMainFrame::OnUpdateStatusBar(CCmdUI* ui) {
    CPrjFrame* pf = TheApp().m_pPrjFrame;
    bool free = !IsDebugging() && !IsFormTestMode();
    ui->Enable(free);
    ui->SetCheck(free && pf && IsWindowVisible(pf->m_wndStatusBar.m_hWnd));
}

void CMainFrame::OnUpdateCase(CCmdUI* ui) {
    CPrjFrame* pf = TheApp().m_pPrjFrame;
    ui->SetCheck(g_bMatchCase ? 1 : 0);
    ui->Enable(pf && pf->FindEditorChildFrame() != nullptr);
}

void CMainFrame::OnUpdateFree(CCmdUI* ui) { ui->Enable(!IsDebugging() && !IsFormTestMode()); }

void CMainFrame::OnUpdateNotTestMode(CCmdUI* ui) { ui->Enable(!IsFormTestMode()); }

void CMainFrame::OnUpdateHasChild(CCmdUI* ui) {
    CPrjFrame* pf = TheApp().m_pPrjFrame;
    bool child = false;
    if (pf && pf->m_hWndMDIClient) {
        // The hidden DEFAULT project's frame is no window of the user's.
        for (HWND c = GetWindow(pf->m_hWndMDIClient, GW_CHILD); c && !child; c = GetWindow(c, GW_HWNDNEXT))
            child = IsWindowVisible(c) != 0;
    }
    ui->Enable(!IsDebugging() && !IsFormTestMode() && child);
}

void CMainFrame::OnUpdateEditorActive(CCmdUI* ui) {
    bool ok = !IsFormTestMode() && ActiveEditorView() != nullptr;
    if (ui->m_nID == FW_ID_EDIT_SELECT_ALL)
        ok = ok && !IsDebugging();
    if (ui->m_nID == FW_ID_EDIT_REPLACE || ui->m_nID == ID_REPLACE_ONE)
        ok = ok && !IsDebugging();
    ui->Enable(ok);
}

void CMainFrame::OnUpdateSelection(CCmdUI* ui) {
    CBasEditView* v = ActiveEditorView();
    bool sel = false;
    if (v) {
        CHARRANGE cr{};
        SendMessageA(v->m_hWnd, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&cr));
        sel = cr.cpMin != cr.cpMax;
    }
    // The designer: a control other than the form itself is selected.
    if (!v && ActiveRcTreeView())
        if (DsgMenuState d = DsgMenuQuery(); d.form && d.anchor)
            sel = d.anchor != d.form;
    ui->Enable(!IsDebugging() && !IsFormTestMode() && sel);
}

void CMainFrame::OnUpdatePaste(CCmdUI* ui) {
    bool ok = false;
    if (ActiveEditorView())
        ok = IsClipboardFormatAvailable(CF_TEXT) != 0;
    else if (ActiveRcTreeView())
        ok = DsgGetActiveForm() != nullptr;
    ui->Enable(!IsDebugging() && !IsFormTestMode() && ok);
}

void CMainFrame::OnUpdateUndo(CCmdUI* ui) {
    bool ok = false;
    if (CBasEditView* v = ActiveEditorView())
        ok = SendMessageA(v->m_hWnd, EM_CANUNDO, 0, 0) != 0;
    else if (ActiveRcTreeView())
        ok = DsgMenuQuery().canUndo;
    ui->Enable(!IsDebugging() && !IsFormTestMode() && ok);
}

void CMainFrame::OnUpdateCode(CCmdUI* ui) {
    ui->Enable(!IsDebugging() && !IsFormTestMode() && ActiveRcTreeView() && DsgMenuQuery().form);
}

void CMainFrame::OnUpdateGrid(CCmdUI* ui) {
    bool free = !IsDebugging() && !IsFormTestMode();
    ui->Enable(free && DsgMenuQuery().open && DsgGetActiveForm());
    ui->SetCheck(DsgGridShown());
}

void CMainFrame::OnUpdateResource(CCmdUI* ui) {
    CRcTreeView* tree = !IsDebugging() && !IsFormTestMode() ? ActiveRcTreeView() : nullptr;
    bool ok = tree != nullptr;
    if (tree && ui->m_nID == ID_RES_EDIT)
        ok = tree->RcTreeGetSel(0, nullptr) || tree->RcTreeGetSel(4, nullptr);
    else if (tree && ui->m_nID == ID_RES_CLOSE)
        ok = tree->RcTreeGetSel(0, nullptr) != nullptr;
    else if (tree && ui->m_nID == ID_RES_DELETE)
        ok = tree->RcTreeGetSelText(nullptr) != nullptr;
    ui->Enable(ok);
}

void CMainFrame::OnUpdateTestMode(CCmdUI* ui) {
    DsgMenuState d = DsgMenuQuery();
    ui->Enable(!IsDebugging() && d.open && DsgGetActiveForm());
    ui->SetCheck(d.testModeChecked);
}

void CMainFrame::OnUpdateGroup(CCmdUI* ui) {
    // The current control is the active form when the form itself is current.
    DsgMenuState d = DsgMenuQuery();
    HWND current = d.anchor;
    bool ok = !IsDebugging() && !IsFormTestMode() && d.open && current && current != DsgGetActiveForm();
    if (ok && ui->m_hMenu)
        ui->SetText(d.grouped ? "\xB8\xDE\xD9\xB0\xCC\xDF\x89\xF0\x8F\x9C(&Z)"   // ｸﾞﾙｰﾌﾟ解除
                                             : "\xB8\xDE\xD9\xB0\xCC\xDF\x8E\x77\x92\xE8(&Z)");  // ｸﾞﾙｰﾌﾟ指定
    ui->Enable(ok);
}

void CMainFrame::OnUpdateLock(CCmdUI* ui) {
    HWND form = DsgGetActiveForm();
    DsgMenuState d = DsgMenuQuery();
    HWND current = d.anchor;
    bool ok = !IsDebugging() && !IsFormTestMode() && d.open && form && current && current != form;
    if (ok && ui->m_hMenu)
        ui->SetText(DsgSelectionLocked() ? "\xDB\xAF\xB8\x89\xF0\x8F\x9C(&K)"  // ﾛｯｸ解除
                                         : "\xDB\xAF\xB8(&K)");                // ﾛｯｸ
    ui->Enable(ok);
}

void CMainFrame::OnUpdateFormCommand(CCmdUI* ui) {
    ui->Enable(!IsDebugging() && !IsFormTestMode() && DsgMenuQuery().open && DsgGetActiveForm());
}

void CMainFrame::OnUpdateAlign(CCmdUI* ui) {
    HWND form = DsgGetActiveForm();
    DsgMenuState d = DsgMenuQuery();
    ui->Enable(!IsDebugging() && !IsFormTestMode() && d.open && form && (d.anchor == form || d.selected >= 2));
}

void CMainFrame::OnUpdateTabOrder(CCmdUI* ui) { ui->Enable(!IsDebugging() && DsgMenuQuery().open && DsgGetActiveForm()); }

void CMainFrame::OnEditCommand(UINT id) {
    // The designer's active form takes them as messages; anything else is
    // the project frame's active child's.
    if (ActiveRcTreeView() && DsgGetActiveForm()) {
        UINT msg = id == FW_ID_EDIT_CUT ? WM_CUT : id == FW_ID_EDIT_COPY ? WM_COPY : id == FW_ID_EDIT_PASTE ? WM_PASTE : WM_CLEAR;
        SendMessageA(DsgGetActiveForm(), msg, 0, 0);
        return;
    }
    CPrjFrame* pf = TheApp().m_pPrjFrame;
    if (!pf || !pf->m_hWnd)
        return;
    SendMessageA(pf->m_hWnd, WM_COMMAND, id, 0);
    if (CMDIChildWnd* child = pf->MDIGetActive()) {
        SetActiveWindow(pf->m_hWnd);
        SendMessageA(pf->m_hWndMDIClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(child->m_hWnd), 0);
        SetFocus(child->m_hWnd);
    }
}

std::string CMainFrame::ProgramName(bool forDebug) const {
    CPrjDoc* open = FindProjectDoc();
    if (open) {
        if (!open->m_strProgramFile.empty())
            return open->m_strProgramFile;
        std::string t = open->GetTitle();
        if (forDebug && !Contains(t, ".mak", ".MAK"))
            t += ".exe";
        return ChangeExtension(t, "exe");
    }
    CBasEditView* v = ActiveEditorView();
    if (!v)
        return {};
    CPrjDoc* held = GetProjectDoc();
    if (held && held->m_nModules > 0) {
        if (!held->m_strProgramFile.empty())
            return held->m_strProgramFile;
        return ChangeExtension(held->GetTitle(), "exe");
    }
    CFrameWnd* f = v->GetParentFrame();
    std::string caption = f ? f->GetWindowText() : std::string();
    if (forDebug && !Contains(caption, ".bas", ".BAS"))
        caption += ".exe";
    return ChangeExtension(caption, "exe");
}

void CMainFrame::OnUpdateRun(CCmdUI* ui) {
    if (IsDebugging()) {
        ui->Enable(!IsProgramRunning());
        return;
    }
    if (IsFormTestMode()) {
        ui->Enable(false);
        return;
    }
    std::string name = ProgramName(false);
    if (ui->m_hMenu) {
        std::string label = name.empty() ? "\x8E\xC0\x8D\x73(&R)\tF5"
                                         : "\x8E\xC0\x8D\x73(&R) " + name + "\tF5";  // 実行
        ui->SetText(label.c_str());
    }
    ui->Enable(!name.empty());
}

void CMainFrame::OnUpdateDebug(CCmdUI* ui) {
    if (IsDebugging()) {
        ui->Enable(true);
        ui->SetCheck(1);
        return;
    }
    if (IsFormTestMode()) {
        ui->Enable(false);
        return;
    }
    std::string name = ProgramName(true);
    if (ui->m_hMenu) {
        std::string label = "\xC3\xDE\xCA\xDE\xAF\xB8\xDE(&D)";  // ﾃﾞﾊﾞｯｸﾞ
        if (!name.empty())
            label += " " + name;
        ui->SetText(label.c_str());
    }
    ui->Enable(!name.empty());
    ui->SetCheck(0);
}

void CMainFrame::OnUpdateCompile(CCmdUI* ui) {
    CIdeApp& app = TheApp();
    const std::string base = "\x96\x7C\x96\xF3(&C)";  // 翻訳
    if (IsDebugging() || IsFormTestMode()) {
        ui->Enable(false);
        return;
    }
    CPrjFrame* pf = app.m_pPrjFrame;
    std::string label = base;
    bool enable = true;
    if (pf && pf->m_hWnd && !app.m_nClosing) {
        if (CPrjDoc* open = FindProjectDoc()) {
            label += " " + open->GetTitle();
            enable = open->m_nModules > 0;
        } else if (CPrjDoc* held = GetProjectDoc(); held && held->m_nModules > 0) {
            enable = true;
        } else if (CMDIChildWnd* ed = pf->FindEditorChildFrame()) {
            label += " " + ed->GetWindowText();
        } else {
            enable = false;
        }
    }
    if (ui->m_hMenu)
        ui->SetText(label.c_str());
    ui->Enable(enable);
}

void CMainFrame::OnUpdateProjectClose(CCmdUI* ui) {
    CPrjDoc* open = FindProjectDoc();
    bool ok = !IsDebugging() && !IsFormTestMode() && open;
    std::string label = "\x95\xC2\x82\xB6\x82\xE9(&C)";  // 閉じる
    if (ok)
        label += " " + open->GetTitle();
    if (ui->m_hMenu)
        ui->SetText(label.c_str());
    ui->Enable(ok);
}

void CMainFrame::OnUpdateDebugOnly(CCmdUI* ui) {
    bool ok = IsDebugging();
    if (ui->m_nID != ID_DEBUG_RESTART)
        ok = ok && !IsFormTestMode();
    ui->Enable(ok);
}

void CMainFrame::OnUpdateDebugStopped(CCmdUI* ui) {
    ui->Enable(!IsFormTestMode() && IsDebugging() && !IsProgramRunning());
}

void CMainFrame::OnUpdateWatch(CCmdUI* ui) {
    bool dbg = IsDebugging();
    CPrjFrame* pf = TheApp().m_pPrjFrame;
    CMDIChildWnd* w = pf ? pf->FindDbgWatchFrame() : nullptr;
    ui->Enable(dbg);
    ui->SetCheck(dbg && w && IsWindowVisible(w->m_hWnd));
}

void CMainFrame::OnUpdatePrint(CCmdUI* ui) {
    CPrjFrame* pf = TheApp().m_pPrjFrame;
    CMDIChildWnd* c = pf && pf->m_hWnd ? pf->MDIGetActive() : nullptr;
    CView* v = c ? c->GetActiveView() : nullptr;
    ui->Enable(v && (dynamic_cast<CBasEditView*>(v) || v->IsKindOf(RUNTIME_CLASS(CPrjErrView)) ||
                     v->IsKindOf(RUNTIME_CLASS(CDbgWatchView))));
}

// ---- prompts and help ----------------------------------------------------

bool CMainFrame::OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
    switch (msg) {
    case WM_MENUSELECT:
        OnMenuSelect(LOWORD(wp), HIWORD(wp), reinterpret_cast<HMENU>(lp));
        *result = 0;
        return true;
    case WM_EXITSIZEMOVE:
        RefreshDebuggee();
        return false;
    default:
        return CMDIFrameWnd::OnWndMsg(msg, wp, lp, result);
    }
}

void CMainFrame::OnMenuSelect(UINT item, UINT flags, HMENU menu) {
    CPrjFrame* pf = TheApp().m_pPrjFrame;
    char text[128] = {};
    UINT id = item;
    if (menu && flags != 0xFFFF) {
        if (flags & MF_POPUP)
            GetMenuStringA(menu, item, text, sizeof text, MF_BYPOSITION);
        else
            GetMenuStringA(menu, item, text, sizeof text, MF_BYCOMMAND);
    }
    if (flags != 0xFFFF && (flags & MF_SYSMENU)) {
        static const struct { const char* text; UINT id; } kSys[] = {
            {"\x8C\xB3\x82\xCC\xBB\xB2\xBD\xDE\x82\xC9\x96\xDF\x82\xB7", 61202},  // 元のｻｲｽﾞに戻す
            {"\x88\xDA\x93\xAE", 61185},                                        // 移動
            {"\xBB\xB2\xBD\xDE\x95\xCF\x8D\x58", 61184},                        // ｻｲｽﾞ変更
            {"\x8D\xC5\x8F\xAC\x89\xBB", 61186},                                // 最小化
            {"\x8D\xC5\x91\xE5\x89\xBB", 61187},                                // 最大化
            {"\x95\xC2\x82\xB6\x82\xE9", 61190},                                // 閉じる
        };
        for (const auto& s : kSys) {
            if (std::string(text).rfind(s.text, 0) == 0)
                id = s.id;
        }
    }
    if (pf && pf->m_hWnd)
        pf->UpdateMenuPrompt((flags & MF_POPUP) && flags != 0xFFFF ? 0 : id, flags);
    if (flags == 0xFFFF || !menu) {
        m_bHelpPending = 0;
    } else if (flags & MF_POPUP) {
        static const struct { const char* text; UINT context; } kPopups[] = {
            {"\x88\xCA\x92\x75", 2200},              // 位置
            {"\xBB\xB2\xBD\xDE", 2206},              // ｻｲｽﾞ
            {"\x8A\xD4\x8A\x75", 2208},              // 間隔
            {"\x88\xDA\x8D\x73\x8E\x78\x89\x87", 2030},  // 移行支援
        };
        m_bHelpPending = 1;
        for (const auto& p : kPopups) {
            if (std::string(text).rfind(p.text, 0) == 0)
                m_nHelpContext = p.context;
        }
    } else {
        m_nHelpContext = HelpContext(item);
        m_bHelpPending = m_nHelpContext != 0;
    }
    Default();
}

void CMainFrame::OnHelpIndex() {
    CIdeApp& app = TheApp();
    if (m_bHelpPending) {
        app.WinHelp(m_nHelpContext, m_nHelpContext ? HELP_CONTEXT : HELP_CONTENTS);
        m_bHelpPending = 0;
        return;
    }
    std::string old = app.m_pszHelpFilePath;
    size_t cut = old.find_last_of('\\');
    std::string ref = (cut == std::string::npos ? std::string() : old.substr(0, cut + 1)) + "tq70ref.hlp";
    std::string word;
    if (CBasEditView* v = ActiveEditorView(); v && v->GetWordAtCaret(word) && !word.empty()) {
        app.m_pszHelpFilePath = ref;
        app.WinHelp(reinterpret_cast<DWORD_PTR>(word.c_str()), HELP_KEY);
        app.m_pszHelpFilePath = old;
        return;
    }
    app.WinHelp(0, HELP_QUIT);
    Sleep(100);
    app.WinHelp(0, HELP_FINDER);
}

bool CMainFrame::OnNotify(UINT id, NMHDR* nm, LRESULT* result) {
    if (fw::AnswerToolTip(nm)) {
        *result = 0;
        return true;
    }
    if (nm->code == TBN_HOTITEMCHANGE) {
        // Fly-by prompts go to the project frame's status bar.
        auto* hot = reinterpret_cast<NMTBHOTITEM*>(nm);
        if (CPrjFrame* pf = TheApp().m_pPrjFrame; pf && pf->m_hWnd)
            pf->UpdateMenuPrompt((hot->dwFlags & HICF_LEAVING) ? 0 : static_cast<UINT>(hot->idNew), 0);
        *result = 0;
        return true;
    }
    return CMDIFrameWnd::OnNotify(id, nm, result);
}
