#include "prjframe.h"

#include "idehelpers.h"
#include "ideapp.h"
#include "mainfrm.h"
#include "neighbours.h"
#include "resource.h"

#include <commctrl.h>

FW_IMPLEMENT_DYNAMIC(CTvStatusBar, CStatusBar)
FW_IMPLEMENT_DYNAMIC(CPrjFrame, CMDIFrameWnd)

FW_BEGIN_CMD_MAP(CPrjFrame, CMDIFrameWnd)
    FW_ON_COMMAND(ID_INDICATOR_POS, OnLineJumpPane)
    FW_ON_COMMAND(ID_FIND_DOWN, OnFindDown)
    FW_ON_COMMAND(ID_FIND_UP, OnFindUp)
    FW_ON_COMMAND(ID_REPLACE_ONE, OnReplace)
    FW_ON_UPDATE(ID_INDICATOR_POS, OnUpdateCaretPos)
    FW_ON_COMMAND(FW_ID_HELP_FINDER, OnHelpFinder)
    FW_ON_COMMAND(FW_ID_HELP, OnHelpFinder)
    FW_ON_COMMAND(FW_ID_CONTEXT_HELP, OnContextHelp)
    FW_ON_COMMAND(ID_LINE_JUMP, OnLineJump)
    FW_ON_COMMAND(ID_MARK, OnMark)
    FW_ON_COMMAND(ID_FILE_CLOSE_ALL, OnCloseAll)
    FW_ON_COMMAND(ID_RUN_RUN, OnRun)
    FW_ON_COMMAND(ID_RUN_CONTINUE, OnRun)
    FW_ON_COMMAND(ID_PROJECT_NEW, OnPrjNew)
    FW_ON_COMMAND(ID_PROJECT_OPEN, OnPrjOpen)
    FW_ON_COMMAND(ID_PROJECT_WIZARD, OnPrjWizard)
    FW_ON_COMMAND(ID_BUILD_OPTIONS, OnCompileOptions)
    FW_ON_COMMAND(ID_TAG_JUMP, OnTagJump)
    FW_ON_COMMAND(ID_RESULT_WINDOW, OnResultWindow)
    FW_ON_COMMAND(ID_PROJECT_CLOSE, OnPrjClose)
    FW_ON_COMMAND(ID_PROJECT_ENV, OnPrjEnvironment)
    FW_ON_COMMAND_RANGE(ID_PROJECT_LIBRARIES, ID_PROJECT_LIBRARIES, OnPrjModules)
    FW_ON_COMMAND_RANGE(ID_PROJECT_MODULES, ID_PROJECT_MODULES, OnPrjModules)
    FW_ON_COMMAND_RANGE(ID_PROJECT_SAVE, ID_PROJECT_SAVE_AS, OnPrjSave)
FW_END_CMD_MAP()

namespace {

const UINT kIndicators[] = {
    0, ID_INDICATOR_POS, ID_INDICATOR_OVR, ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL,
};

}  // namespace

// ---- CTvStatusBar ------------------------------------------------------

bool CTvStatusBar::OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
    if (msg == WM_LBUTTONDBLCLK) {
        OnLButtonDblClk(POINT{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))});
        return false;  // the control's own handling follows
    }
    return CStatusBar::OnWndMsg(msg, wp, lp, result);
}

void CTvStatusBar::OnLButtonDblClk(POINT pt) {
    RECT rc;
    if (GetItemRect(1, &rc) && PtInRect(&rc, pt) && g_pPrjFrame)
        SendMessageA(g_pPrjFrame->m_hWnd, WM_COMMAND, ID_LINE_JUMP, 0);
}

// ---- CPrjFrame ---------------------------------------------------------

bool CPrjFrame::OnCmdMsg(UINT id, FwCmdKind kind, CCmdUI* ui) {
    if (CMDIFrameWnd::OnCmdMsg(id, kind, ui))
        return true;
    return kind != FwCmdKind::Update && RunRegisteredCommand(id, kind == FwCmdKind::Probe);
}

CPrjFrame::~CPrjFrame() {
    if (m_hEditorFont)
        DeleteObject(m_hEditorFont);
    if (g_pPrjFrame == this)
        g_pPrjFrame = nullptr;
    // The frame deletes itself when its window ends, which may be before the
    // main frame's (an owned window goes first): the application must not
    // keep a pointer to it.
    if (auto* app = dynamic_cast<CIdeApp*>(FwGetApp()); app && app->m_pPrjFrame == this)
        app->m_pPrjFrame = nullptr;
}

bool CPrjFrame::PreCreateWindow(CREATESTRUCTA& cs) {
    // The caption is only what the IDE sets.
    cs.style &= ~static_cast<LONG>(FWS_ADDTOTITLE);
    return CMDIFrameWnd::PreCreateWindow(cs);
}

bool CPrjFrame::LoadFrame(UINT resId, DWORD style, CWnd*, CCreateContext* ctx) {
    HINSTANCE inst = GetModuleHandleA(nullptr);
    m_nResourceId = resId;
    m_nIDHelp = resId;
    std::string s = fw::LoadStr(resId);
    m_strTitle = s.substr(0, s.find('\n'));
    const char* cls = RegisterClass(CS_DBLCLKS, LoadIconA(inst, MAKEINTRESOURCEA(resId)), nullptr,
                                    reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1));
    if (!cls)
        return false;
    m_hAccelTable = LoadAcceleratorsA(inst, MAKEINTRESOURCEA(IDR_MAINFRAME));
    if (!CreateEx(0, cls, m_strTitle.c_str(), style, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                  CW_USEDEFAULT, m_hOwner, nullptr, ctx))
        return false;
    m_wndStatusBar.SetPaneText(2, fw::LoadStr(IDS_INSERT).c_str());
    return true;
}

bool CPrjFrame::OnCreateClient(CREATESTRUCTA* cs, CCreateContext*) {
    // The window list goes into the main frame's Window menu.
    HMENU windowMenu = nullptr;
    HMENU bar = m_hOwner ? GetMenu(m_hOwner) : nullptr;
    if (bar) {
        int n = GetMenuItemCount(bar);
        if (n >= 2)
            windowMenu = GetSubMenu(bar, n - 2);
    }
    return CreateClient(cs, windowMenu);
}

int CPrjFrame::OnCreate(CREATESTRUCTA* cs) {
    g_pPrjFrame = this;
    if (CMDIFrameWnd::OnCreate(cs) == -1)
        return -1;
    // The user cannot close this frame: it ends with the main frame.
    SetClassLongPtrA(m_hWnd, GCL_STYLE, GetClassLongPtrA(m_hWnd, GCL_STYLE) | CS_NOCLOSE);
    if (HMENU sys = GetSystemMenu(m_hWnd, FALSE)) {
        EnableMenuItem(sys, 5, MF_BYPOSITION | MF_GRAYED);
        EnableMenuItem(sys, 6, MF_BYPOSITION | MF_GRAYED);
    }
    if (!m_wndStatusBar.Create(this, WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, FW_ID_VIEW_STATUS_BAR) ||
        !m_wndStatusBar.SetIndicators(kIndicators, 6))
        return -1;
    UINT id, style;
    int width;
    m_wndStatusBar.GetPaneInfo(0, id, style, width);
    m_wndStatusBar.SetPaneInfo(0, id, SBPS_STRETCH, width);
    m_wndStatusBar.GetPaneInfo(1, id, style, width);
    m_wndStatusBar.SetPaneInfo(1, id, style, width * 3 / 2);
    ShowModeText();
    RecalcLayout();
    return CreateDefaultProject() ? 0 : -1;
}

bool CPrjFrame::CreateDefaultProject() {
    CIdeApp& app = TheApp();
    CMultiDocTemplate* t = app.m_pTemplates[kSlotDefaultProject];
    if (!t)
        return false;
    CWnd* main = app.m_pMainWnd;
    app.m_pMainWnd = this;
    auto* doc = dynamic_cast<CPrjDoc*>(t->OpenDocumentFile(nullptr, false));
    app.m_pMainWnd = main;
    if (!doc)
        return false;
    doc->SetTitle("DEFAULT");
    doc->SetPathName("DEFAULT.mak", false);
    doc->SetTitle("DEFAULT");
    doc->m_bDefaultProject = true;
    doc->SetModifiedFlag(false);
    doc->m_strProjectFile = "DEFAULT.mak";
    m_pDefaultProject = doc;
    return true;
}

void CPrjFrame::OnDestroy() {
    m_pDefaultProject = nullptr;
    CMDIFrameWnd::OnDestroy();
}

void CPrjFrame::ShowModeText() {
    CPrjDoc* prj = CurrentProjectDoc();
    UINT id = prj && prj->GetDebugState() != 0 ? IDS_DEBUG_MODE : IDS_EDIT_MODE;
    m_wndStatusBar.SetPaneText(0, fw::LoadStr(id).c_str());
}

void CPrjFrame::SetReadyText() {
    std::string caption = fw::LoadStr(IDR_PRJFRAME);
    caption = caption.substr(0, caption.find('\n'));
    if (!TheApp().m_strProjectPath.empty())
        caption += " - " + TheApp().m_strProjectPath;
    SetWindowTextA(m_hWnd, caption.c_str());
}

void CPrjFrame::UpdateMenuPrompt(UINT itemId, UINT menuFlags) {
    if ((itemId == 0 && menuFlags == 0xFFFF) || itemId == 0) {
        ShowModeText();
        return;
    }
    std::string prompt = fw::LoadStr(itemId);
    if (prompt.empty()) {
        ShowModeText();
        return;
    }
    m_wndStatusBar.SetPaneText(0, prompt.substr(0, prompt.find('\n')).c_str());
}

bool CPrjFrame::OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
    switch (msg) {
    case WM_EXITSIZEMOVE:
        if (CPrjDoc* prj = CurrentProjectDoc(); prj && prj->GetDebugState() != 0)
            DebugOf(prj).ActivateDebuggee();
        return false;
    case WM_WINDOWPOSCHANGING:
    case WM_WINDOWPOSCHANGED:
        *result = Default();
        OnWindowPosChanged();
        return true;
    case WM_SYSCOMMAND:
        if ((wp & 0xFFF0) == SC_KEYMENU && lp == 0) {
            OnSysCommand(static_cast<UINT>(wp), lp);
            *result = 0;
            return true;
        }
        return false;
    default:
        return CMDIFrameWnd::OnWndMsg(msg, wp, lp, result);
    }
}

void CPrjFrame::OnWindowPosChanged() {
    // The property window's keep-on-top mode comes with the designer.
}

void CPrjFrame::OnSysCommand(UINT cmd, LPARAM lp) {
    // Alt or F10 alone opens the menu, which lives on the main frame.
    if (m_hOwner) {
        SetActiveWindow(m_hOwner);
        SendMessageA(m_hOwner, WM_SYSCOMMAND, cmd, lp);
    }
}

void CPrjFrame::OnActivate(UINT state, HWND other, bool minimised) {
    Default();
    if (state != WA_INACTIVE && TheApp().m_pMainFrame)
        TheApp().m_pMainFrame->ShowOwnedWindows(m_hWnd);
    (void)other;
    (void)minimised;
}

CMDIChildWnd* CPrjFrame::FindChild(const CRuntimeClass* cls, CMDIChildWnd* after) const {
    if (!m_hWndMDIClient)
        return nullptr;
    HWND h = after ? GetWindow(after->m_hWnd, GW_HWNDNEXT) : GetWindow(m_hWndMDIClient, GW_CHILD);
    for (; h; h = GetWindow(h, GW_HWNDNEXT)) {
        CWnd* w = CWnd::FromHandle(h);
        if (w && w->GetRuntimeClass() == cls)
            return static_cast<CMDIChildWnd*>(w);
    }
    return nullptr;
}

CMDIChildWnd* CPrjFrame::FindPrjTreeFrame(CMDIChildWnd* after) const {
    return FindChild(RUNTIME_CLASS(CPrjTreeFrm), after);
}
CMDIChildWnd* CPrjFrame::FindEditorChildFrame(CMDIChildWnd* after) const {
    return FindChild(RUNTIME_CLASS(CChildFrame), after);
}
CMDIChildWnd* CPrjFrame::FindRcTreeFrame(CMDIChildWnd* after) const {
    return FindChild(RUNTIME_CLASS(CRcTreeFrm), after);
}
CMDIChildWnd* CPrjFrame::FindBetFrame(CMDIChildWnd* after) const {
    return FindChild(RUNTIME_CLASS(CBetFrm), after);
}
CMDIChildWnd* CPrjFrame::FindPrjErrFrame() const { return FindChild(RUNTIME_CLASS(CPrjErrFrm), nullptr); }
CMDIChildWnd* CPrjFrame::FindDbgWatchFrame() const {
    return FindChild(RUNTIME_CLASS(CDbgWatchFrm), nullptr);
}

void CPrjFrame::SendToolToForms(UINT id) { DsgSelectTool(id); }

void CPrjFrame::OnLineJumpPane() { SendMessageA(m_hWnd, WM_COMMAND, ID_LINE_JUMP, 0); }

void CPrjFrame::OnUpdateCaretPos(CCmdUI* ui) {
    CMDIChildWnd* active = MDIGetActive();
    if (!active || !IsWindowVisible(active->m_hWnd)) {
        ui->SetText(" ");
        ui->Enable(false);
        return;
    }
    if (!dynamic_cast<CBasEditView*>(active->GetActiveView()))
        return;
    // The editor view supplies its caret line once it exists.
    ui->Enable(true);
}

void CPrjFrame::OnHelpFinder() { TheApp().WinHelp(0, HELP_FINDER); }
void CPrjFrame::OnContextHelp() { TheApp().WinHelp(0, HELP_CONTEXTPOPUP); }
