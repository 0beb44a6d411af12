#include "mainfrm.h"

#include "idehelpers.h"
#include "ideapp.h"
#include "neighbours.h"
#include "prjframe.h"
#include "propwnd.h"
#include "resource.h"
#include "splash.h"

#include <direct.h>

FW_IMPLEMENT_DYNCREATE(CMainFrame, CMDIFrameWnd)

FW_BEGIN_CMD_MAP(CMainFrame, CMDIFrameWnd)
    FW_ON_COMMAND_RANGE(FW_ID_WINDOW_ARRANGE, FW_ID_WINDOW_TILE_VERT, OnWindowArrange)
    FW_ON_UPDATE_RANGE(FW_ID_WINDOW_ARRANGE, FW_ID_WINDOW_TILE_VERT, OnUpdateWindowArrange)
    FW_ON_COMMAND(ID_VIEW_SAVE_ON_EXIT, OnToggleSaveState)
    FW_ON_COMMAND(FW_ID_APP_EXIT, OnAppExit)
    FW_ON_COMMAND(FW_ID_VIEW_TOOLBAR, OnViewToolBar)
    FW_ON_COMMAND(ID_VIEW_TOOLBOX, OnViewToolBox)
    FW_ON_COMMAND(ID_VIEW_STANDARD_BAR, OnViewToolBar)
    FW_ON_COMMAND(FW_ID_VIEW_STATUS_BAR, OnViewStatusBar)
    FW_ON_COMMAND(ID_CASE_SENSITIVE, OnToggleCase)
    FW_ON_COMMAND(FW_ID_HELP_INDEX, OnHelpIndex)
    FW_ON_UPDATE(FW_ID_VIEW_TOOLBAR, OnUpdateViewToolBar)
    FW_ON_UPDATE(ID_VIEW_STANDARD_BAR, OnUpdateViewToolBar)
    FW_ON_UPDATE(ID_VIEW_TOOLBOX, OnUpdateViewToolBox)
    FW_ON_UPDATE(FW_ID_VIEW_STATUS_BAR, OnUpdateStatusBar)
    FW_ON_UPDATE(ID_CASE_SENSITIVE, OnUpdateCase)
    FW_ON_UPDATE(ID_LINE_JUMP, OnUpdateAlways)
    FW_ON_UPDATE(ID_MARK, OnUpdateAlways)
    FW_ON_UPDATE(ID_ALWAYS_ENABLED, OnUpdateAlways)
    FW_ON_UPDATE(FW_ID_FILE_NEW, OnUpdateFree)
    FW_ON_UPDATE_RANGE(ID_PROJECT_NEW, ID_PROJECT_OPEN, OnUpdateFree)
    FW_ON_UPDATE(ID_PROJECT_ENV, OnUpdateFree)
    FW_ON_UPDATE(ID_PROJECT_LIBRARIES, OnUpdateFree)
    FW_ON_UPDATE(ID_PROJECT_MODULES, OnUpdateFree)
    FW_ON_UPDATE(ID_PROJECT_WIZARD, OnUpdateFree)
    FW_ON_UPDATE(FW_ID_FILE_OPEN, OnUpdateNotTestMode)
    FW_ON_UPDATE(FW_ID_APP_EXIT, OnUpdateNotTestMode)
    FW_ON_UPDATE_RANGE(FW_ID_FILE_CLOSE, FW_ID_FILE_SAVE_AS, OnUpdateHasChild)
    FW_ON_UPDATE(ID_FILE_CLOSE_ALL, OnUpdateHasChild)
    FW_ON_UPDATE(FW_ID_EDIT_SELECT_ALL, OnUpdateEditorActive)
    FW_ON_UPDATE(FW_ID_EDIT_FIND, OnUpdateEditorActive)
    FW_ON_UPDATE_RANGE(ID_FIND_DOWN, ID_REPLACE_ONE, OnUpdateEditorActive)
    FW_ON_UPDATE(FW_ID_EDIT_REPLACE, OnUpdateEditorActive)
    FW_ON_UPDATE(FW_ID_EDIT_COPY, OnUpdateSelection)
    FW_ON_UPDATE(FW_ID_EDIT_CUT, OnUpdateSelection)
    FW_ON_UPDATE(FW_ID_EDIT_CLEAR, OnUpdateSelection)
    FW_ON_UPDATE(FW_ID_EDIT_PASTE, OnUpdatePaste)
    FW_ON_UPDATE(FW_ID_EDIT_UNDO, OnUpdateUndo)
    FW_ON_UPDATE(ID_DSG_CODE, OnUpdateCode)
    FW_ON_UPDATE(ID_VIEW_GRID, OnUpdateGrid)
    FW_ON_UPDATE_RANGE(ID_RES_NEW, ID_RES_DELETE, OnUpdateResource)
    FW_ON_UPDATE(ID_DSG_TEST_MODE, OnUpdateTestMode)
    FW_ON_UPDATE(ID_DSG_GROUP, OnUpdateGroup)
    FW_ON_UPDATE(ID_DSG_LOCK, OnUpdateLock)
    FW_ON_UPDATE(ID_DSG_ARRANGE, OnUpdateFormCommand)
    FW_ON_UPDATE_RANGE(ID_DSG_ALIGN_FIRST, ID_DSG_ALIGN_LAST, OnUpdateAlign)
    FW_ON_UPDATE(ID_DSG_TAB_ORDER, OnUpdateTabOrder)
    FW_ON_COMMAND_RANGE(FW_ID_EDIT_CLEAR, FW_ID_EDIT_CLEAR, OnEditCommand)
    FW_ON_COMMAND_RANGE(FW_ID_EDIT_COPY, FW_ID_EDIT_CUT, OnEditCommand)
    FW_ON_COMMAND_RANGE(FW_ID_EDIT_PASTE, FW_ID_EDIT_PASTE, OnEditCommand)
    FW_ON_UPDATE(ID_BUILD_COMPILE, OnUpdateCompile)
    FW_ON_UPDATE(ID_RUN_RUN, OnUpdateRun)
    FW_ON_UPDATE(ID_RUN_DEBUG, OnUpdateDebug)
    FW_ON_UPDATE(ID_PROJECT_CLOSE, OnUpdateProjectClose)
    FW_ON_UPDATE(ID_DEBUG_RESTART, OnUpdateDebugOnly)
    FW_ON_UPDATE_RANGE(ID_DEBUG_BREAKPOINT, ID_DEBUG_BREAKPOINT_LIST, OnUpdateDebugOnly)
    FW_ON_UPDATE(ID_RUN_CONTINUE, OnUpdateDebugStopped)
    FW_ON_UPDATE_RANGE(ID_DEBUG_TRACE, ID_DEBUG_PASS_TRACE, OnUpdateDebugStopped)
    FW_ON_UPDATE(ID_DEBUG_WATCH_WINDOW, OnUpdateWatch)
    FW_ON_UPDATE(FW_ID_FILE_PRINT, OnUpdatePrint)
    FW_ON_COMMAND(ID_VIEW_OPTIONS, OnViewOptions)
    FW_ON_COMMAND(ID_VIEW_PROPERTIES, OnViewProperties)
    FW_ON_UPDATE(ID_VIEW_PROPERTIES, OnUpdateViewProperties)
    FW_ON_COMMAND(ID_DSG_PROPERTIES, OnProperties)
    FW_ON_UPDATE_RANGE(ID_MIGRATE_CONVERT, ID_MIGRATE_DELETE_MESSAGES, OnUpdatePrint)
    FW_ON_COMMAND(FW_ID_FILE_NEW, OnFileNew)
    FW_ON_COMMAND(FW_ID_FILE_OPEN, OnFileOpen)
    FW_ON_COMMAND(ID_BUILD_OPTIONS, OnCompileOptions)
    FW_ON_COMMAND(ID_RUN_ARGS, OnRunArgs)
    FW_ON_COMMAND(ID_RES_NEW, OnResourceNew)
    FW_ON_COMMAND(FW_ID_FILE_PAGE_SETUP, OnPageSetup)
    FW_ON_COMMAND(FW_ID_FILE_PRINT, OnFilePrint)
    FW_ON_COMMAND(FW_ID_FILE_PRINT_DIRECT, OnFilePrintDirect)
FW_END_CMD_MAP()

namespace {

// Commands whose handlers belong to the project frame.
const UINT kPostedCommands[][2] = {
    {ID_LINE_JUMP, ID_LINE_JUMP}, {ID_FIND_DOWN, ID_TAG_JUMP}, {ID_FILE_CLOSE_ALL, ID_FILE_CLOSE_ALL}, {ID_DSG_ARRANGE, ID_DSG_ARRANGE}, {ID_DSG_GROUP, ID_DSG_LOCK}, {ID_DSG_TEST_MODE, ID_DSG_TEST_MODE},
    {ID_DSG_ALIGN_LEFT, ID_DSG_SPACE_DOWN}, {ID_VIEW_GRID, ID_VIEW_GRID}, {ID_PROJECT_NEW, ID_PROJECT_ENV}, {ID_PROJECT_LIBRARIES, ID_PROJECT_LIBRARIES}, {ID_BUILD_COMPILE, ID_BUILD_COMPILE}, {ID_RESULT_WINDOW, ID_RESULT_WINDOW},
    {ID_RUN_RUN, ID_RUN_RUN}, {ID_RUN_DEBUG, ID_RUN_CONTINUE}, {ID_DEBUG_BREAKPOINT, ID_DEBUG_BREAKPOINT_LIST}, {ID_DEBUG_WATCH_WINDOW, ID_DEBUG_QUICK_WATCH}, {ID_DEBUG_TRACE, ID_DEBUG_RUN_TO_CURSOR}, {ID_RES_IMPORT, ID_RES_DELETE},
    {ID_PROJECT_MODULES, ID_BUILD_ALL}, {ID_MARK, ID_MARK}, {ID_PROJECT_WIZARD, ID_PROJECT_WIZARD}, {ID_DSG_TAB_ORDER, ID_DSG_TAB_ORDER}, {ID_DSG_CODE, ID_DSG_CODE}, {ID_MIGRATE_CONVERT, ID_MIGRATE_DELETE_MESSAGES},
    {FW_ID_FILE_CLOSE, FW_ID_FILE_SAVE_AS}, {FW_ID_EDIT_FIND, FW_ID_EDIT_FIND}, {FW_ID_EDIT_REPLACE, FW_ID_EDIT_REPLACE}, {FW_ID_EDIT_UNDO, FW_ID_EDIT_UNDO},
};

bool IsPostedCommand(UINT id) {
    for (const auto& r : kPostedCommands) {
        if (id >= r[0] && id <= r[1])
            return true;
    }
    return false;
}

tambrix::Rect DesktopRect() {
    RECT rc;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &rc, 0);
    return {rc.left, rc.top, rc.right, rc.bottom};
}

}  // namespace

CMainFrame::~CMainFrame() {
    // Deleted when its window ends: the application keeps no pointer to it.
    if (auto* app = dynamic_cast<CIdeApp*>(FwGetApp()); app && app->m_pMainFrame == this)
        app->m_pMainFrame = nullptr;
}

bool CMainFrame::PreCreateWindow(CREATESTRUCTA& cs) {
    cs.style &= ~static_cast<LONG>(FWS_ADDTOTITLE);
    return CMDIFrameWnd::PreCreateWindow(cs);
}

int CMainFrame::OnCreate(CREATESTRUCTA* cs) {
    if (CMDIFrameWnd::OnCreate(cs) == -1)
        return -1;
    m_hSplash = CSplashWnd::ShowSplashScreen(this);
    if (!CreateBars())
        return -1;
    m_bCreating = false;
    SetActiveWindow(m_hWnd);
    return 0;
}

bool CMainFrame::OnCreateClient(CREATESTRUCTA* cs, CCreateContext*) {
    // The main frame keeps no documents: its client has no window menu.
    return CreateClient(cs, nullptr);
}

bool CMainFrame::IsSaveStateChecked() const {
    HMENU bar = GetMenu(m_hWnd);
    HMENU view = bar ? GetSubMenu(bar, 2) : nullptr;
    return view && (GetMenuState(view, ID_VIEW_SAVE_ON_EXIT, MF_BYCOMMAND) & MF_CHECKED);
}

bool CMainFrame::LoadFrameState() {
    CIdeApp& app = TheApp();
    tambrix::FrameSettings& s = app.m_settings;
    if (!tambrix::ReadFrameSettings(app.Registry(), s))
        return false;
    // The working folder: the per-machine one, then the user's.
    for (const auto& sp : {s.machineSavePath, s.userSavePath}) {
        if (!sp)
            continue;
        tambrix::SaveDir d = tambrix::SplitSavePath(*sp);
        if (!d.drive.empty())
            _chdrive((d.drive[0] & ~0x20) - 'A' + 1);
        SetCurrentDirectoryA(d.folder.c_str());
    }
    if (CPrjDoc* prj = GetProjectDoc(); prj && s.exeModel)
        prj->m_nRunModel = *s.exeModel;
    m_bSmallBitmap = s.smallBitmap;
    ApplyBarState(s);

    tambrix::Rect d = DesktopRect();
    tambrix::Rect m = tambrix::MainFrameRect(s, d);
    SetWindowPos(m_hWnd, nullptr, m.left, m.top, m.Width(), m.Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
    RECT mr;
    GetWindowRect(m_hWnd, &mr);
    if (app.m_pPrjFrame) {
        tambrix::Rect p = tambrix::ProjectFrameRect(s, d, mr.bottom);
        SetWindowPos(app.m_pPrjFrame->m_hWnd, nullptr, p.left, p.top, p.Width(), p.Height(),
                     SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
    }
    m_rcProperty = tambrix::PropertyRect(s, d, mr.bottom);
    m_nPropMode = s.propShow && !(*s.propShow & 1) ? (*s.propShow >> 1) & 1 : 0;
    PropWndRestore(s.propShow.value_or(0), PropertyPlace());

    HMENU bar = GetMenu(m_hWnd);
    if (HMENU view = bar ? GetSubMenu(bar, 2) : nullptr)
        CheckMenuItem(view, ID_VIEW_SAVE_ON_EXIT,
                      MF_BYCOMMAND | (s.saveGeneral ? MF_CHECKED : MF_UNCHECKED));
    return true;
}

bool CMainFrame::SaveFrameState() {
    CIdeApp& app = TheApp();
    tambrix::FrameSaveState st;
    st.saveGeneral = IsSaveStateChecked();
    RECT r;
    GetWindowRect(m_hWnd, &r);
    st.mainRect = {r.left, r.top, r.right, r.bottom};
    st.mainMinimised = IsIconic(m_hWnd) != 0;
    if (app.m_pPrjFrame && app.m_pPrjFrame->m_hWnd) {
        GetWindowRect(app.m_pPrjFrame->m_hWnd, &r);
        st.prjRect = {r.left, r.top, r.right, r.bottom};
        st.prjMinimised = IsIconic(app.m_pPrjFrame->m_hWnd) != 0;
    } else {
        st.prjMinimised = true;  // nothing to write
    }
    RECT pr{};
    PropWndState(st.propExists, st.propVisible, st.propOnTop, pr);
    st.propRect = {pr.left, pr.top, pr.right, pr.bottom};
    st.dockInfo = DockInfo();
    auto floatRect = [](const CToolBar& bar) {
        RECT fr{};
        if (HWND f = bar.GetFloatFrame())
            GetWindowRect(f, &fr);
        return tambrix::Rect{fr.left, fr.top, fr.right, fr.bottom};
    };
    st.stdFloat = floatRect(m_wndToolBar);
    st.toolFloat = floatRect(m_wndToolBox);
    st.debugFloat = floatRect(m_wndDebugBar);
    char dir[MAX_PATH];
    DWORD n = GetCurrentDirectoryA(sizeof dir, dir);
    st.currentDirectory = (n > 0 && n < sizeof dir) ? std::string(dir, n) : std::string();
    return tambrix::WriteFrameSettings(app.Registry(), st);
}

void CMainFrame::OnClose() {
    CIdeApp& app = TheApp();
    app.WinHelp(0, HELP_QUIT);
    app.m_nClosing = 1;
    EnableFrames(false);
    std::string text = fw::LoadStr(IDS_EXIT_CONFIRM);
    std::string caption = fw::LoadStr(IDS_EXIT_TITLE);
    int answer = MessageBoxA(nullptr, text.c_str(), caption.c_str(),
                             MB_OKCANCEL | MB_ICONINFORMATION | MB_TASKMODAL | MB_SETFOREGROUND);
    EnableFrames(true);
    SetActiveWindow(m_hWnd);
    if (answer == IDCANCEL) {
        app.m_nClosing = 0;
        return;
    }
    CWnd* main = app.m_pMainWnd;
    app.m_pMainWnd = app.m_pPrjFrame;
    if (!app.SaveAllModified()) {
        app.m_pMainWnd = main;
        app.m_nClosing = 0;
        return;
    }
    app.CloseAllDocuments();
    app.m_pMainWnd = main;
    SaveFrameState();
    DestroyWindow();
}

void CMainFrame::OnDestroy() {
    // The project frame, an owned window, has usually ended already.
    CIdeApp& app = TheApp();
    if (app.m_pPrjFrame && app.m_pPrjFrame->m_hWnd)
        app.m_pPrjFrame->DestroyWindow();
    PropWndDestroy();
    CMDIFrameWnd::OnDestroy();
}

void CMainFrame::OnSize(UINT type, int, int) {
    CIdeApp& app = TheApp();
    HWND prj = app.m_pPrjFrame ? app.m_pPrjFrame->m_hWnd : nullptr;
    if (type == SIZE_MINIMIZED) {
        if (prj)
            ShowWindow(prj, SW_HIDE);
        return;
    }
    if (type != SIZE_RESTORED && type != SIZE_MAXIMIZED)
        return;
    // The client is exactly as tall as the docked bars.
    if (m_nBarHeight == 0 && m_wndToolBar.m_hWnd) {
        RECT br;
        GetWindowRect(m_wndToolBar.m_hWnd, &br);
        m_nBarHeight = br.bottom - br.top;
    }
    int wanted = 0;
    if (m_wndToolBar.m_nFlags == kBarShown)
        wanted += m_nBarHeight;
    if (m_wndDebugBar.m_hWnd && IsWindowVisible(m_wndDebugBar.m_hWnd) && !m_wndDebugBar.IsFloating())
        wanted += m_nBarHeight;
    if (m_wndToolBox.m_nFlags == kBarShown)
        wanted += m_nBarHeight;
    RECT cr, wr;
    GetClientRect(m_hWnd, &cr);
    if (cr.bottom != wanted) {
        GetWindowRect(m_hWnd, &wr);
        SetWindowPos(m_hWnd, nullptr, 0, 0, wr.right - wr.left,
                     (wr.bottom - wr.top) - (cr.bottom - wanted),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    RecalcLayout();
    if (!m_bCreating && prj && !IsWindowVisible(prj) && IsWindowVisible(m_hWnd))
        ShowWindow(prj, SW_SHOWNA);
}

void CMainFrame::OnActivate(UINT state, HWND other, bool minimised) {
    Default();
    if (state != WA_INACTIVE)
        ShowOwnedWindows(m_hWnd);
    (void)other;
    (void)minimised;
}

void CMainFrame::ShowOwnedWindows(HWND top) {
    // The IDE's top-level windows keep their order below the given one.
    CIdeApp& app = TheApp();
    HWND prj = app.m_pPrjFrame ? app.m_pPrjFrame->m_hWnd : nullptr;
    if (!prj || !IsWindowVisible(top))
        return;
    HWND other = top == m_hWnd ? prj : m_hWnd;
    if (IsWindowVisible(other))
        SetWindowPos(other, top, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void CMainFrame::ShowDesignWindows(bool show) {
    // A floating tool box goes with the forms; a docked one stays in the frame.
    if (m_wndToolBox.IsFloating()) {
        if (HWND f = m_wndToolBox.GetFloatFrame(); f && (!show || (GetWindowLongA(m_wndToolBox.m_hWnd, GWL_STYLE) & WS_VISIBLE)))
            ShowWindow(f, show ? SW_SHOWNA : SW_HIDE);
    }
    if (DsgMenuQuery().open)
        CreateDesignerWindows(show);
}

bool CMainFrame::EnableDesignWindows(bool enable, bool) {
    return DsgMenuQuery().open ? EnableDesignerWindows(enable) : true;
}

bool CMainFrame::OnCommand(UINT id, UINT code, HWND control) {
    CIdeApp& app = TheApp();
    CPrjFrame* pf = app.m_pPrjFrame;
    // A button of one of the frame's own bars is a command like a menu item.
    if (control && (control == m_wndToolBar.m_hWnd || control == m_wndToolBox.m_hWnd ||
                    control == m_wndDebugBar.m_hWnd))
        control = nullptr;
    if (control == nullptr && pf && pf->m_hWnd) {
        pf->ShowModeText();
        RedrawWindow(pf->m_wndStatusBar.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        if (id >= FW_ID_MDI_FIRST_CHILD && id < FW_ID_MDI_FIRST_CHILD + 10) {
            SetFocus(pf->m_hWnd);
            PostMessageA(pf->m_hWnd, WM_COMMAND, MAKEWPARAM(id, code), 0);
            return true;
        }
        if (IsPostedCommand(id))
            PostMessageA(pf->m_hWnd, WM_COMMAND, MAKEWPARAM(id, code), 0);
        else if (id != FW_ID_FILE_NEW)
            SetToolBoxTool(id);
    }
    return CMDIFrameWnd::OnCommand(id, code, control);
}

void CMainFrame::OnWindowArrange(UINT id) {
    CPrjFrame* pf = TheApp().m_pPrjFrame;
    if (!pf || !pf->m_hWndMDIClient)
        return;
    UINT msg = id == FW_ID_WINDOW_ARRANGE ? WM_MDIICONARRANGE : id == FW_ID_WINDOW_CASCADE ? WM_MDICASCADE : WM_MDITILE;
    WPARAM how = id == FW_ID_WINDOW_TILE_HORZ ? MDITILE_HORIZONTAL : id == FW_ID_WINDOW_TILE_VERT ? MDITILE_VERTICAL : 0;
    SendMessageA(pf->m_hWndMDIClient, msg, how, 0);
}

void CMainFrame::OnUpdateWindowArrange(CCmdUI* ui) {
    CPrjFrame* pf = TheApp().m_pPrjFrame;
    ui->Enable(pf && pf->MDIGetActive() != nullptr);
}

void CMainFrame::OnToggleSaveState() {
    HMENU bar = GetMenu(m_hWnd);
    if (HMENU view = bar ? GetSubMenu(bar, 2) : nullptr)
        CheckMenuItem(view, ID_VIEW_SAVE_ON_EXIT,
                      MF_BYCOMMAND | (IsSaveStateChecked() ? MF_UNCHECKED : MF_CHECKED));
}

void CMainFrame::OnAppExit() { PostMessageA(m_hWnd, WM_CLOSE, 0, 0); }

// ---- the property window (the designer's): command 3008, 32790 ----------------

RECT CMainFrame::PropertyPlace() const {
    return RECT{m_rcProperty.left, m_rcProperty.top, m_rcProperty.right, m_rcProperty.bottom};
}

void CMainFrame::OnViewProperties() { PropWndToggle(PropertyPlace()); }

void CMainFrame::OnUpdateViewProperties(CCmdUI* ui) {
    bool free = !IsDebugging() && !IsFormTestMode();
    ui->Enable(free);
    ui->SetCheck(free && PropWndVisible());
}

void CMainFrame::OnProperties() { PropWndShow(PropertyPlace()); }

bool CMainFrame::ActivatePropertyWindow() { return PropWndActivate(PropertyPlace()); }
