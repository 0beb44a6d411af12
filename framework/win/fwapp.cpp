#include "fwapp.h"

#include "fwres.h"
#include "mbcs.h"

#include <commctrl.h>
#include <commdlg.h>

#include <cstdlib>
#include <cstring>

FW_IMPLEMENT_DYNAMIC(CWinApp, CCmdTarget)

FW_BEGIN_CMD_MAP(CWinApp, CCmdTarget)
    FW_ON_UPDATE(FW_ID_FILE_MRU_FIRST, OnUpdateRecentFileMenu)
    FW_ON_COMMAND(FW_ID_FILE_PRINT_SETUP, OnFilePrintSetup)
FW_END_CMD_MAP()

namespace {

CWinApp* g_app = nullptr;

BOOL CALLBACK UpdateFrameAtIdle(HWND h, LPARAM) {
    if (auto* f = dynamic_cast<CFrameWnd*>(CWnd::FromHandle(h)); f && IsWindowVisible(h))
        f->OnIdleUpdateCmdUI();
    return TRUE;
}

}  // namespace

CWinApp* FwGetApp() { return g_app; }

void CCommandLineInfo::ParseParam(const char* param, bool isSwitch, bool) {
    if (isSwitch) {
        // Print and DDE starts are not interactive: no splash for them.
        if (lstrcmpiA(param, "p") == 0) {
            m_nShellCommand = FilePrint;
            m_bShowSplash = false;
        } else if (lstrcmpiA(param, "pt") == 0) {
            m_nShellCommand = FilePrintTo;
            m_bShowSplash = false;
        } else if (lstrcmpiA(param, "dde") == 0) {
            m_nShellCommand = FileDDE;
            m_bShowSplash = false;
        } else if (lstrcmpiA(param, "nologo") == 0) {
            m_bShowSplash = false;
        }
        return;
    }
    if (m_strFileName.empty()) {
        m_strFileName = param;
        if (m_nShellCommand == FileNew)
            m_nShellCommand = FileOpen;
    }
}

CWinApp::CWinApp() {
    g_app = this;
    m_pRegistry = std::make_unique<fw::Win32RegStore>();
}

CWinApp::~CWinApp() {
    for (CDocTemplate* t : m_templates)
        delete t;
    m_templates.clear();
    if (m_hDevMode)
        GlobalFree(m_hDevMode);
    if (m_hDevNames)
        GlobalFree(m_hDevNames);
    if (g_app == this)
        g_app = nullptr;
}

fw::Profile CWinApp::GetProfile() const {
    return fw::Profile{m_pRegistry.get(), m_pszRegistryKey, m_pszProfileName};
}

int CWinApp::GetProfileInt(const char* section, const char* entry, int def) const {
    return GetProfile().GetInt(section, entry, def);
}

std::string CWinApp::GetProfileString(const char* section, const char* entry,
                                      const char* def) const {
    return GetProfile().GetString(section, entry, def ? def : "");
}

bool CWinApp::WriteProfileInt(const char* section, const char* entry, int value) const {
    return GetProfile().WriteInt(section, entry, value);
}

bool CWinApp::WriteProfileString(const char* section, const char* entry, const char* value) const {
    return GetProfile().WriteString(section, entry, value ? value : "");
}

void CWinApp::LoadStdProfileSettings(int maxRecent) {
    if (maxRecent > 0) {
        m_pRecentFileList = std::make_unique<fw::RecentFileList>(
            FW_ID_FILE_MRU_FIRST, "Recent File List", "File%d", maxRecent);
        m_pRecentFileList->ReadList(GetProfile());
    }
    m_nNumPreviewPages = GetProfileInt("Settings", "PreviewPages", 0);
}

void CWinApp::SaveStdProfileSettings() {
    if (m_pRecentFileList)
        m_pRecentFileList->WriteList(GetProfile());
    if (m_nNumPreviewPages != 0)
        WriteProfileInt("Settings", "PreviewPages", m_nNumPreviewPages);
}

int CWinApp::ExitInstance() {
    SaveStdProfileSettings();
    return m_nExitCode;
}

void CWinApp::ParseCommandLine(CCommandLineInfo& info) {
    for (int i = 1; i < __argc; ++i) {
        const char* p = __argv[i];
        bool sw = p[0] == '/' || p[0] == '-';
        info.ParseParam(sw ? p + 1 : p, sw, i + 1 == __argc);
    }
}

bool CWinApp::ProcessShellCommand(CCommandLineInfo& info) {
    switch (info.m_nShellCommand) {
    case CCommandLineInfo::FileNew:
        for (CDocTemplate* t : m_templates)
            return t->OpenDocumentFile(nullptr) != nullptr;
        return true;
    case CCommandLineInfo::FileOpen:
    case CCommandLineInfo::FilePrint:
    case CCommandLineInfo::FilePrintTo:
        return OpenDocumentFile(info.m_strFileName.c_str()) != nullptr;
    case CCommandLineInfo::FileDDE:
    case CCommandLineInfo::FileNothing:
        break;
    }
    return true;
}

void CWinApp::RegisterShellFileTypes() {
    char exe[MAX_PATH];
    GetModuleFileNameA(nullptr, exe, sizeof exe);
    std::string quoted = std::string("\"") + exe + "\"";
    for (CDocTemplate* t : m_templates) {
        std::string ext = t->GetDocString(fw::DocField::FilterExt);
        std::string id = t->GetDocString(fw::DocField::RegFileTypeId);
        std::string name = t->GetDocString(fw::DocField::RegFileTypeName);
        if (ext.empty() || ext == "." || id.empty())
            continue;
        using fw::RegRoot;
        fw::RegStore& r = *m_pRegistry;
        const std::string base = "Software\\Classes\\";
        r.WriteString(RegRoot::CurrentUser, base + id, "", name);
        r.WriteString(RegRoot::CurrentUser, base + id + "\\DefaultIcon", "", std::string(exe) + ",0");
        if (m_bShellOpen)
            r.WriteString(RegRoot::CurrentUser, base + id + "\\shell\\open\\command", "",
                          quoted + " \"%1\"");
        r.WriteString(RegRoot::CurrentUser, base + id + "\\shell\\print\\command", "",
                      quoted + " /p \"%1\"");
        r.WriteString(RegRoot::CurrentUser, base + ext, "", id);
    }
}

void CWinApp::AddDocTemplate(CDocTemplate* t) { m_templates.push_back(t); }

CDocument* CWinApp::OpenDocumentFile(const char* path) {
    if (!path || !*path)
        return nullptr;
    // The full path is the document's identity.
    char full[MAX_PATH];
    DWORD n = GetFullPathNameA(path, sizeof full, full, nullptr);
    std::string p = (n > 0 && n < sizeof full) ? std::string(full) : std::string(path);

    CDocTemplate* best = nullptr;
    CDocTemplate* maybe = nullptr;
    for (CDocTemplate* t : m_templates) {
        CDocument* open = nullptr;
        fw::DocMatch m = t->MatchDocType(p, open);
        if (open) {
            // An open document is activated, not opened twice.
            if (CView* v = open->GetFirstView()) {
                if (CFrameWnd* f = v->GetParentFrame())
                    f->ActivateFrame(-1);
            }
            return open;
        }
        if (m == fw::DocMatch::Yes && !best)
            best = t;
        if (m == fw::DocMatch::Maybe && !maybe)
            maybe = t;
    }
    CDocTemplate* t = best ? best : maybe;
    return t ? t->OpenDocumentFile(p.c_str()) : nullptr;
}

void CWinApp::AddToRecentFileList(const char* path) {
    if (m_pRecentFileList && path)
        m_pRecentFileList->Add(path);
}

bool CWinApp::SaveAllModified() {
    for (CDocTemplate* t : m_templates) {
        if (!t->SaveAllModified())
            return false;
    }
    return true;
}

void CWinApp::CloseAllDocuments() {
    for (CDocTemplate* t : m_templates)
        t->CloseAllDocuments();
}

int CWinApp::GetOpenDocumentCount() const {
    int n = 0;
    for (CDocTemplate* t : m_templates)
        n += static_cast<int>(t->GetDocuments().size());
    return n;
}

void CWinApp::WinHelp(DWORD_PTR data, UINT cmd) {
    HWND owner = m_pMainWnd ? m_pMainWnd->m_hWnd : nullptr;
    ::WinHelpA(owner, m_pszHelpFilePath.c_str(), cmd, data);
}

bool CWinApp::OnOpenRecentFile(UINT id) {
    if (!m_pRecentFileList)
        return false;
    int index = static_cast<int>(id - m_pRecentFileList->FirstId());
    if (index < 0 || index >= m_pRecentFileList->Size() || (*m_pRecentFileList)[index].empty())
        return false;
    std::string path = (*m_pRecentFileList)[index];
    if (!OpenDocumentFile(path.c_str()))
        m_pRecentFileList->Remove(index);
    return true;
}

void CWinApp::OnUpdateRecentFileMenu(CCmdUI* ui) {
    if (m_pRecentFileList)
        FwUpdateRecentMenu(*m_pRecentFileList, ui, fw::LoadStr(FW_IDS_RECENT_EMPTY));
    else
        ui->Enable(false);
}

void CWinApp::OnFilePrintSetup() {
    PRINTDLGA pd{};
    pd.lStructSize = sizeof pd;
    pd.hwndOwner = m_pMainWnd ? m_pMainWnd->m_hWnd : nullptr;
    pd.hDevMode = m_hDevMode;
    pd.hDevNames = m_hDevNames;
    pd.Flags = PD_PRINTSETUP;
    if (PrintDlgA(&pd)) {
        m_hDevMode = pd.hDevMode;
        m_hDevNames = pd.hDevNames;
    }
}

void FwUpdateRecentMenu(const fw::RecentFileList& list, CCmdUI* ui, const std::string& emptyText) {
    if (!ui->m_hMenu)
        return;
    HMENU menu = ui->m_hMenu;
    UINT first = list.FirstId();
    UINT last = first + static_cast<UINT>(list.Size()) - 1;
    for (UINT id = first; id <= last; ++id)
        DeleteMenu(menu, id, MF_BYCOMMAND);
    UINT at = ui->m_nIndex;
    int shown = 0;
    for (int i = 0; i < list.Size(); ++i) {
        if (list[i].empty())
            continue;
        std::string text = list.MenuText(i);
        InsertMenuA(menu, at + shown, MF_BYPOSITION | MF_STRING, first + i, text.c_str());
        ++shown;
    }
    if (shown == 0) {
        InsertMenuA(menu, at, MF_BYPOSITION | MF_STRING | MF_GRAYED, first, emptyText.c_str());
        shown = 1;
    }
    ui->m_nIndex = at + shown - 1;
    ui->m_bEnableChanged = true;
}

bool CWinApp::PreTranslateMessage(MSG* msg) {
    // From the window of the message up to the top: each framework window
    // on the way may take it (accelerators, dialog keys).
    for (HWND h = msg->hwnd; h; h = GetParent(h)) {
        if (CWnd* w = CWnd::FromHandle(h); w && w->PreTranslateMessage(msg))
            return true;
        if (!(GetWindowLongPtrA(h, GWL_STYLE) & WS_CHILD))
            break;
    }
    if (m_pMainWnd && m_pMainWnd->m_hWnd) {
        HWND top = msg->hwnd;
        while (top && (GetWindowLongPtrA(top, GWL_STYLE) & WS_CHILD))
            top = GetParent(top);
        if (top != m_pMainWnd->m_hWnd)
            return m_pMainWnd->PreTranslateMessage(msg);
    }
    return false;
}

bool CWinApp::OnIdle(long count) {
    if (count == 0) {
        // Top-level frames of this thread bring their status panes up to date.
        EnumThreadWindows(GetCurrentThreadId(), UpdateFrameAtIdle, 0);
    }
    return count < 1;
}

bool CWinApp::PumpMessage() {
    MSG msg;
    if (!GetMessageA(&msg, nullptr, 0, 0)) {
        m_nExitCode = static_cast<int>(msg.wParam);
        return false;
    }
    if (!PreTranslateMessage(&msg)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return true;
}

int CWinApp::Run() {
    long count = 0;
    bool idle = true;
    MSG peek;
    for (;;) {
        while (idle && !PeekMessageA(&peek, nullptr, 0, 0, PM_NOREMOVE)) {
            if (!OnIdle(count++))
                idle = false;
        }
        do {
            if (!PumpMessage())
                return ExitInstance();
            // Idle processing starts again after real input, not after
            // paints and timer ticks.
            MSG& m = peek;
            if (m.message != WM_PAINT && m.message != WM_TIMER && m.message != 0x0118) {
                idle = true;
                count = 0;
            }
        } while (PeekMessageA(&peek, nullptr, 0, 0, PM_NOREMOVE));
    }
}

int FwWinMain(HINSTANCE instance, int cmdShow) {
    CWinApp* app = FwGetApp();
    if (!app)
        return -1;
    app->m_hInstance = instance;
    app->m_nCmdShow = cmdShow;
    char exe[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, exe, sizeof exe);
    std::string path(exe, n);
    size_t bs = fw::FindLastChar(path, '\\');
    std::string name = bs == std::string::npos ? path : path.substr(bs + 1);
    size_t dot = fw::FindLastChar(name, '.');
    app->m_pszExeName = dot == std::string::npos ? name : name.substr(0, dot);
    app->m_pszProfileName = app->m_pszExeName;
    size_t pdot = fw::FindLastChar(path, '.');
    app->m_pszHelpFilePath = (pdot == std::string::npos ? path : path.substr(0, pdot)) + ".HLP";

    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
    if (!app->InitInstance()) {
        if (app->m_pMainWnd && app->m_pMainWnd->m_hWnd)
            app->m_pMainWnd->DestroyWindow();
        // A start-up that failed is no success, whatever the exit says.
        app->m_nExitCode = -1;
        app->ExitInstance();
        return -1;
    }
    return app->Run();
}
