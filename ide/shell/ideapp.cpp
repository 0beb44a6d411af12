#include "ideapp.h"

#include "dbgsession.h"
#include "idehelpers.h"
#include "idepaths.h"
#include "libwnd.h"
#include "mainfrm.h"
#include "mbcs.h"
#include "neighbours.h"
#include "openrules.h"
#include "optedit.h"
#include "prjframe.h"
#include "resource.h"
#include "splash.h"

#include <commdlg.h>
#include <ole2.h>
#include <shellapi.h>

#include <cstdio>

FW_IMPLEMENT_DYNAMIC(CIdeApp, CWinApp)

FW_BEGIN_CMD_MAP(CIdeApp, CWinApp)
    FW_ON_COMMAND(FW_ID_FILE_NEW, OnFileNew)
    FW_ON_COMMAND(FW_ID_APP_ABOUT, OnAppAbout)
    FW_ON_COMMAND(FW_ID_FILE_PRINT_SETUP, OnFilePrintSetup)
    FW_ON_COMMAND_RANGE(FW_ID_FILE_MRU_FIRST, FW_ID_FILE_MRU_LAST, OnOpenRecentRange)
    FW_ON_COMMAND_RANGE(ID_RECENT_PRJ_FIRST, ID_RECENT_PRJ_LAST, OnOpenRecentRange)
    FW_ON_UPDATE(ID_RECENT_PRJ_FIRST, OnUpdateRecentProject)
FW_END_CMD_MAP()

CPrjFrame* g_pPrjFrame = nullptr;
int g_nNoRecentEntry = 0;

CIdeApp& TheApp() { return *static_cast<CIdeApp*>(FwGetApp()); }

namespace {

// Templates in the order they are registered, with their slots.
struct TemplateRow {
    int slot;  // -1: registered without a slot
    UINT resId;
    const CRuntimeClass* doc;
    const CRuntimeClass* frame;
    const CRuntimeClass* view;
};

const TemplateRow kTemplates[] = {
    {kSlotBasic, IDR_BASTYPE, RUNTIME_CLASS(CBasEditDoc), RUNTIME_CLASS(CChildFrame), RUNTIME_CLASS(CBasEditView)},
    {kSlotProject, IDR_PRJTYPE, RUNTIME_CLASS(CPrjDoc), RUNTIME_CLASS(CPrjTreeFrm), RUNTIME_CLASS(CPrjTree)},
    {kSlotSub, IDR_SUBTYPE, RUNTIME_CLASS(CBasEditDoc), RUNTIME_CLASS(CChildFrame), RUNTIME_CLASS(CBasEditView)},
    {kSlotOther, IDR_OTHERTYPE, RUNTIME_CLASS(CBasEditDoc), RUNTIME_CLASS(CChildFrame), RUNTIME_CLASS(CBasEditView)},
    {kSlotResource, IDR_RCTYPE, RUNTIME_CLASS(CRcDoc), RUNTIME_CLASS(CRcTreeFrm), RUNTIME_CLASS(CRcTreeView)},
    {kSlotEnvironment, IDR_BETTYPE, RUNTIME_CLASS(CBetDoc), RUNTIME_CLASS(CBetFrm), RUNTIME_CLASS(CBetView)},
    {-1, IDR_LIBTYPE, RUNTIME_CLASS(CLibDoc), RUNTIME_CLASS(CLibFrm), RUNTIME_CLASS(CLibView)},
    {kSlotObject, IDR_OBJTYPE, RUNTIME_CLASS(CLibDoc), RUNTIME_CLASS(CLibFrm), RUNTIME_CLASS(CLibView)},
    {kSlotDefaultProject, IDR_PRJTYPE, RUNTIME_CLASS(CPrjDoc), RUNTIME_CLASS(CUPrjTreeFrm), RUNTIME_CLASS(CUPrjTree)},
    {kSlotWatch, IDR_DBGTYPE, RUNTIME_CLASS(CDbgWatchDoc), RUNTIME_CLASS(CDbgWatchFrm), RUNTIME_CLASS(CDbgWatchView)},
    {kSlotBuildResult, IDR_OTHERTYPE, RUNTIME_CLASS(CPrjErrDoc), RUNTIME_CLASS(CPrjErrFrm), RUNTIME_CLASS(CPrjErrView)},
};

void CloseSplash(HWND splash) {
    if (splash && IsWindow(splash))
        SendMessageA(splash, WM_TIMER, 1, 0);
}

std::string FullPath(const char* path) {
    char full[MAX_PATH];
    DWORD n = GetFullPathNameA(path, sizeof full, full, nullptr);
    return (n > 0 && n < sizeof full) ? std::string(full, n) : std::string(path);
}

}  // namespace

CIdeApp::CIdeApp() = default;

CIdeApp::~CIdeApp() {
    m_pRecentPrjList.reset();
    if (!m_strSavedProfileName.empty())
        m_pszProfileName = m_strSavedProfileName;
}

void CIdeApp::RegisterTemplates() {
    int registered = 0;
    for (const TemplateRow& row : kTemplates) {
        auto* t = new CMultiDocTemplate(row.resId, row.doc, row.frame, row.view);
        AddDocTemplate(t);
        if (row.slot >= 0)
            m_pTemplates[row.slot] = t;
        if (++registered == 2) {
            // Only sources and projects open from the shell.
            EnableShellOpen();
            RegisterShellFileTypes();
        }
    }
}

bool CIdeApp::InitInstance() {
    // The default printer becomes the application's; none leaves it empty.
    // (Asked here rather than in the constructor, which runs before the
    // program's entry, when the common dialogs are not to be called yet.)
    PAGESETUPDLGA psd{};
    psd.lStructSize = sizeof psd;
    psd.Flags = PSD_RETURNDEFAULT | PSD_NOWARNING;
    if (PageSetupDlgA(&psd)) {
        m_hDevMode = psd.hDevMode;
        m_hDevNames = psd.hDevNames;
    }

    SetRegistryKey(tambrix::kRegistryRoot);
    m_strSavedProfileName = m_pszProfileName;
    m_pszProfileName = "RecentFiles";

    CCommandLineInfo info;
    ParseCommandLine(info);
    CSplashWnd::EnableSplashScreen(info.m_bShowSplash);

    OleInitialize(nullptr);  // its failure does not stop the start

    int n = tambrix::RecentListSize(Registry());
    LoadStdProfileSettings(n);
    m_pRecentPrjList = std::make_unique<fw::RecentFileList>(
        ID_RECENT_PRJ_FIRST, "Recent Project File List", "PrjFile%d", n);
    m_pRecentPrjList->ReadList(GetProfile());

    RegisterTemplates();

    auto* frame = new CMainFrame;
    m_pMainFrame = frame;
    if (!frame->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, nullptr, nullptr)) {
        // A window that was made and failed its creation has deleted its
        // object already (and cleared m_pMainFrame); one never made has not.
        if (m_pMainFrame == frame && !frame->m_hWnd)
            delete frame;
        m_pMainFrame = nullptr;
        if (CSplashWnd* s = CSplashWnd::Current())
            CloseSplash(s->m_hWnd);
        return false;
    }
    m_pMainWnd = m_pMainFrame;
    HWND splash = m_pMainFrame->m_hSplash;

    m_pPrjFrame = new CPrjFrame(m_pMainFrame->m_hWnd);
    if (!m_pPrjFrame->LoadFrame(IDR_PRJFRAME, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, m_pMainFrame,
                                nullptr)) {
        if (!m_pPrjFrame->m_hWnd)
            delete m_pPrjFrame;
        m_pPrjFrame = nullptr;
        CloseSplash(splash);
        return false;
    }

    // The help file lies in "Help" beside the program's folder.
    std::string help = m_pszHelpFilePath;
    size_t cut = fw::FindLastChar(help, '\\');
    if (cut == std::string::npos)
        cut = fw::FindFirstChar(help, ':');
    m_strProgramFolder = cut == std::string::npos ? help : help.substr(0, cut);
    m_pszHelpFilePath = tambrix::StripFileName(m_strProgramFolder) + "\\Help\\tq70ope.hlp";

    DragAcceptFiles(m_pMainFrame->m_hWnd, TRUE);
    DragAcceptFiles(m_pPrjFrame->m_hWnd, TRUE);

    CCommandLineInfo shell;
    ParseCommandLine(shell);
    if (shell.m_nShellCommand == CCommandLineInfo::FileNew)
        shell.m_nShellCommand = CCommandLineInfo::FileNothing;
    if (!ProcessShellCommand(shell)) {
        CloseSplash(splash);
        return false;
    }

    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, GetStockObject(SYSTEM_FONT));
    SIZE cell{};
    GetTextExtentPoint32A(dc, "H", 1, &cell);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    m_nCharWidth = cell.cx;
    m_nCharHeight = cell.cy;

    if (!m_pMainFrame->LoadFrameState()) {
        CloseSplash(splash);
        MessageBoxById(IDS_REGISTRY_BROKEN, MB_ICONHAND, 0);
        return false;
    }
    {
        // The editor settings give the line check its level and every open
        // editor its font, colours and margin.
        CTvOptEditPage page;
        page.LoadEditorSettings();
        tambrix::EditorSettingsCopy editor;
        page.CopyEditorSettings(editor);
        m_pPrjFrame->ApplyEditorSettings(editor);
    }
    // A debugged program's output strings go to the build result window.
    SetDebugOutputSink([](const std::string& text) { AppendResultText(OpenResultView(), text); });

    RECT r;
    GetWindowRect(m_pMainFrame->m_hWnd, &r);
    SetWindowPos(m_pMainFrame->m_hWnd, nullptr, r.left, r.top, r.right - r.left, 1024,
                 SWP_NOZORDER | SWP_SHOWWINDOW);
    UpdateWindow(m_pMainFrame->m_hWnd);
    UpdateWindow(m_pPrjFrame->m_hWnd);
    ShowWindow(m_pPrjFrame->m_hWnd, SW_SHOW);

    HINSTANCE inst = GetModuleHandleA(nullptr);
    g_hCurSelect = LoadCursorA(inst, "select");
    g_hCurMove = LoadCursorA(inst, "move");
    g_hCurLayout = LoadCursorA(inst, "layout");
    g_hCurCopyPaste = LoadCursorA(inst, "COPY&PASTE");

    CloseSplash(splash);
    SetActiveWindow(m_pMainFrame->m_hWnd);
    m_nClosing = 0;
    return true;
}

int CIdeApp::ExitInstance() {
    if (m_pRecentPrjList)
        m_pRecentPrjList->WriteList(GetProfile());
    m_strProgramFolder.clear();
    if (m_pszBuildLog) {
        DeleteFileA(m_pszBuildLog);  // already gone is no error
        delete[] m_pszBuildLog;
        m_pszBuildLog = nullptr;
    }
    int code = CWinApp::ExitInstance();
    OleUninitialize();
    return code;
}

bool CIdeApp::PreTranslateMessage(MSG* msg) {
    CSplashWnd::PreTranslateAppMessage(msg);
    return CWinApp::PreTranslateMessage(msg);
}

bool CIdeApp::OnIdle(long count) {
    bool framework = CWinApp::OnIdle(count);
    if (m_pPrjFrame && m_pPrjFrame->m_hWnd) {
        CPrjDoc* prj = CurrentProjectDoc();
        if (prj && prj->GetDebugState() == 1) {
            m_pPrjFrame->m_wndStatusBar.SetPaneText(0, fw::LoadStr(IDS_DEBUG_MODE).c_str());
            DebugOf(prj).DebugPumpEvents();
        }
    }
    if (count == 0 && m_hRunProcess) {
        DWORD code = 0;
        if (!GetExitCodeProcess(m_hRunProcess, &code) || code != STILL_ACTIVE) {
            CloseHandle(m_hRunProcess);
            m_hRunProcess = nullptr;
            if (m_pMainFrame)
                m_pMainFrame->ShowDesignWindows(true);
        }
    }
    return tambrix::IdleResult(count, framework);
}

CDocument* CIdeApp::OpenWithTemplate(int slot, const char* path, bool visible) {
    CMultiDocTemplate* t = m_pTemplates[slot];
    if (!t)
        return nullptr;
    CWnd* main = m_pMainWnd;
    m_pMainWnd = m_pPrjFrame;
    std::string full = path ? FullPath(path) : std::string();
    CDocument* doc = t->OpenDocumentFile(path ? full.c_str() : nullptr, visible);
    m_pMainWnd = main;
    return doc;
}

CDocument* CIdeApp::OpenDocumentFile(const char* path) {
    if (!path || !m_pPrjFrame)
        return nullptr;
    std::string rcTitle;
    if (CMDIChildWnd* rc = m_pPrjFrame->FindRcTreeFrame())
        rcTitle = rc->GetWindowText();
    switch (tambrix::RouteDocumentOpen(path, rcTitle)) {
    case tambrix::OpenRoute::Refuse:
        MessageBoxById(IDS_ONE_RC_ONLY, MB_ICONQUESTION, 0);
        return nullptr;
    case tambrix::OpenRoute::OtherFiles:
        return OpenWithTemplate(kSlotOther, path);
    case tambrix::OpenRoute::FrameworkChoice:
        break;
    }
    CWnd* main = m_pMainWnd;
    m_pMainWnd = m_pPrjFrame;
    CDocument* doc = CWinApp::OpenDocumentFile(path);
    m_pMainWnd = main;
    return doc;
}

void CIdeApp::AddToRecentFileList(const char* path) {
    if (!path)
        return;
    if (fw::LowerAscii(path).find(".mak") != std::string::npos)
        AddToRecentProjectList(path);
    else if (!g_nNoRecentEntry)
        CWinApp::AddToRecentFileList(path);
}

void CIdeApp::AddToRecentProjectList(const char* path) {
    if (m_pRecentPrjList && path)
        m_pRecentPrjList->Add(path);
}

bool CIdeApp::SaveAllModified() { return SaveAllModified(false); }

bool CIdeApp::SaveAllModified(bool withoutAsking) {
    if (!withoutAsking)
        return CWinApp::SaveAllModified();
    CPrjDoc* current = m_pPrjFrame ? dynamic_cast<CPrjDoc*>(m_pPrjFrame->GetActiveDocument()) : nullptr;
    for (CDocTemplate* t : m_templates) {
        std::vector<CDocument*> docs = t->GetDocuments();
        for (CDocument* d : docs) {
            if (!d->IsModified() || d == current || dynamic_cast<CPrjErrDoc*>(d))
                continue;
            if (!d->DoFileSave())
                return false;
        }
    }
    return true;
}

void CIdeApp::WinHelp(DWORD_PTR data, UINT cmd) {
    CWinApp::WinHelp(data, cmd == HELP_INDEX ? HELP_FINDER : cmd);
}

void CIdeApp::OnFileNew() {
    if (m_pMainFrame)
        SendMessageA(m_pMainFrame->m_hWnd, WM_COMMAND, FW_ID_FILE_NEW, 0);
}

void CIdeApp::OnAppAbout() {
    CAboutDlg dlg;
    dlg.DoModal();
}

void CIdeApp::OnFilePrintSetup() { CWinApp::OnFilePrintSetup(); }

void CIdeApp::OnUpdateRecentProject(CCmdUI* ui) {
    // While debugging the entries are greyed (and, once the designer is
    // here, while it shows a form).
    CPrjDoc* prj = CurrentProjectDoc();
    bool debugging = prj && prj->GetDebugState() == 1;
    if (debugging || !m_pRecentPrjList) {
        ui->Enable(false);
        return;
    }
    FwUpdateRecentMenu(*m_pRecentPrjList, ui, fw::LoadStr(FW_IDS_RECENT_EMPTY));
}

bool CIdeApp::CloseOpenProjectFor() {
    // An open project is closed first when the user agrees.
    if (!m_pPrjTreeFrame)
        return true;
    std::string title = m_pPrjTreeFrame->GetWindowText();
    if (MessageBoxById(IDS_OTHER_PROJECT_OPEN, MB_OKCANCEL | MB_ICONQUESTION, 1, title.c_str()) ==
        IDCANCEL) {
        EnableFrames(true);
        return false;
    }
    SendMessageA(m_pPrjTreeFrame->m_hWnd, WM_CLOSE, 0, 0);
    return m_pPrjTreeFrame == nullptr;
}

bool CIdeApp::OpenRecentProject(int index) {
    if (m_pPrjTreeFrame) {
        CPrjDoc* prj = CurrentProjectDoc();
        if (prj && prj->GetDebugState() == 1) {
            MessageBoxById(IDS_NO_PROJECT_WHILE_DEBUG, MB_ICONEXCLAMATION, 0);
            if (m_pMainFrame)
                SetActiveWindow(m_pMainFrame->m_hWnd);
            return true;
        }
        if (!CloseOpenProjectFor())
            return true;
    }
    std::string path = (*m_pRecentPrjList)[index];
    OpenWithTemplate(kSlotProject, path.c_str());  // a failed open keeps the entry
    return true;
}

bool CIdeApp::OpenRecentFileEntry(int index) {
    // A BASIC module is offered its project (the .mak of the same name) once
    // the project reader is part of the IDE; until then the answer is No and
    // the file itself opens.
    std::string path = (*m_pRecentFileList)[index];
    CDocument* doc = nullptr;
    switch (tambrix::RouteRecentFile(path)) {
    case tambrix::RecentRoute::OtherFiles:
        doc = OpenWithTemplate(kSlotOther, path.c_str());
        break;
    case tambrix::RecentRoute::BasicTemplate:
        doc = OpenWithTemplate(kSlotBasic, path.c_str());
        break;
    case tambrix::RecentRoute::OpenDocument:
        doc = OpenDocumentFile(path.c_str());
        break;
    }
    if (!doc)
        m_pRecentFileList->Remove(index);
    return true;
}

bool CIdeApp::OnOpenRecentFile(UINT id) {
    if (id >= ID_RECENT_PRJ_FIRST && id <= ID_RECENT_PRJ_LAST) {
        int index = static_cast<int>(id - ID_RECENT_PRJ_FIRST);
        if (!m_pRecentPrjList || index >= m_pRecentPrjList->Size() ||
            (*m_pRecentPrjList)[index].empty())
            return false;
        return OpenRecentProject(index);
    }
    int index = static_cast<int>(id - FW_ID_FILE_MRU_FIRST);
    if (!m_pRecentFileList || index < 0 || index >= m_pRecentFileList->Size() ||
        (*m_pRecentFileList)[index].empty())
        return false;
    return OpenRecentFileEntry(index);
}
