// The main frame's own file, build and resource commands: File New (57600)
// and Open (57601), the compile options without a project (5003), the run
// arguments (6002) and a new form or menu (9001).
#include "editor.h"
#include "idehelpers.h"
#include "idepaths.h"
#include "ideapp.h"
#include "mainfrm.h"
#include "mbcs.h"
#include "neighbours.h"
#include "prjframe.h"
#include "project_file.h"
#include "cmpopt.h"
#include "rcdoc.h"
#include "printsrc.h"
#include "prjwin.h"
#include "resource.h"
#include "smalldlgs.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

namespace {

int SlotForKind(uint32_t kind) {
    switch (kind) {
    case 30014: return kSlotBasic;
    case 30015: return kSlotSub;
    case 30016: return kSlotEnvironment;
    case 30017: return kSlotResource;
    case 30026: return kSlotProject;
    default: return kSlotOther;
    }
}

std::string ExtensionOf(const std::string& path) {
    size_t slash = fw::FindLastChar(path, '\\');
    size_t dot = fw::FindLastChar(path, '.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return {};
    return path.substr(dot + 1);
}

// The files the multiple-selection dialog returned: one full path, or the
// folder followed by the names, each ended by a zero.
std::vector<std::string> ChosenFiles(const char* buffer, size_t size) {
    std::vector<std::string> parts;
    size_t i = 0;
    while (i < size && buffer[i]) {
        size_t n = strnlen(buffer + i, size - i);
        parts.emplace_back(buffer + i, n);
        i += n + 1;
    }
    if (parts.size() <= 1)
        return parts;
    std::vector<std::string> files;
    std::string folder = parts[0];
    if (!folder.empty() && fw::FindLastChar(folder, '\\') != folder.size() - 1)
        folder += '\\';
    for (size_t k = 1; k < parts.size(); ++k)
        files.push_back(folder + parts[k]);
    return files;
}

class COpenDialog : public CTvFileDialog {
public:
    using CTvFileDialog::CTvFileDialog;
    const char* Buffer() const { return m_szFile; }
    size_t BufferSize() const { return sizeof m_szFile; }
};

bool IsListedIn(const std::string& mak, const std::string& path, const std::string& name) {
    return prj::IsModuleInProject(prjui::Env().fs, mak, path, name);
}

}  // namespace

// A new, not yet saved document of slot named name, shown and active.
CDocument* CMainFrame::NewDocumentFor(int slot, const std::string& name) {
    CIdeApp& app = TheApp();
    CPrjFrame* pf = app.m_pPrjFrame;
    if (!pf)
        return nullptr;
    CDocument* doc = app.OpenWithTemplate(slot, nullptr, false);
    if (!doc)
        return nullptr;
    size_t dot = fw::FindLastChar(name, '.');
    doc->SetTitle(dot == std::string::npos ? name : name.substr(0, dot));
    CView* view = doc->GetFirstView();
    if (!view)
        return nullptr;
    view->OnInitialUpdate();
    CFrameWnd* f = view->GetParentFrame();
    if (f)
        ::SetWindowTextA(f->m_hWnd, name.c_str());
    ++g_nNoRecentEntry;
    doc->SetPathName(name, false);
    --g_nNoRecentEntry;
    if (f) {
        ShowWindow(f->m_hWnd, SW_SHOW);
        UpdateWindow(f->m_hWnd);
        SendMessageA(pf->m_hWndMDIClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(f->m_hWnd), 0);
    }
    SetFocus(view->m_hWnd);
    if (auto* rc = dynamic_cast<CRcDoc*>(doc))
        DsgFirstForm(rc, "MAINFORM");
    return doc;
}

void CMainFrame::OnFileNew() {
    CIdeApp& app = TheApp();
    CPrjFrame* pf = app.m_pPrjFrame;
    if (!pf)
        return;
    CNewFileDlg dlg;
    dlg.m_nNumber = static_cast<uint32_t>(m_nNewFileCounter);
    if (dlg.DoModal() != IDOK)
        return;
    // A window of that name already open is only brought forward.
    for (HWND c = GetWindow(pf->m_hWndMDIClient, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        char title[MAX_PATH] = {};
        ::GetWindowTextA(c, title, sizeof title);
        if (dlg.m_strFileName == title) {
            SetActiveWindow(pf->m_hWnd);
            SendMessageA(pf->m_hWndMDIClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(c), 0);
            return;
        }
    }
    if (!NewDocumentFor(SlotForKind(dlg.m_nKind), dlg.m_strFileName))
        return;
    m_nNewFileCounter = static_cast<int>(dlg.m_nNumber) + 1;
}

void CMainFrame::OpenChosenFile(const std::string& path, bool& stop) {
    CIdeApp& app = TheApp();
    std::string ext = ExtensionOf(path);
    if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
        // A new document of that name; the extension picks its template
        // without regard to case.
        std::string lower = fw::LowerAscii(ext);
        int slot = lower == "bas" ? kSlotBasic : lower == "sub" ? kSlotSub : lower == "bet" ? kSlotEnvironment
                 : lower == "rc" ? kSlotResource : lower == "mak" ? kSlotProject : kSlotOther;
        NewDocumentFor(slot, path);
        stop = true;
        return;
    }
    CPrjDoc* prj = CurrentProjectDoc();
    if ((!prj || prj->GetDebugState() != 1) && (ext == "bas" || ext == "sub" || ext.empty())) {
        std::string mak = (ext.empty() ? path : path.substr(0, path.size() - ext.size() - 1)) + ".mak";
        std::string name = tambrix::StripDirectory(path);
        if (GetFileAttributesA(mak.c_str()) != INVALID_FILE_ATTRIBUTES && IsListedIn(mak, path, name)) {
            // Two arguments: the text is made here, then shown as it is.
            std::string text = fw::LoadStr(IDS_MODULE_IN_PROJECT);
            for (const std::string& arg : {name, tambrix::StripDirectory(mak)}) {
                size_t at = text.find("%s");  // no trail byte is '%'
                if (at != std::string::npos)
                    text.replace(at, 2, arg);
            }
            int answer = MessageBoxById(0, MB_YESNOCANCEL | MB_ICONQUESTION, 1, text.c_str());
            if (answer == IDCANCEL) {
                stop = true;
                return;
            }
            if (answer == IDYES) {
                if (app.m_pPrjTreeFrame) {
                    std::string title = app.m_pPrjTreeFrame->GetWindowText();
                    if (MessageBoxById(IDS_OTHER_PROJECT_OPEN, MB_OKCANCEL | MB_ICONQUESTION, 1, title.c_str()) ==
                        IDCANCEL) {
                        stop = true;
                        return;
                    }
                    SendMessageA(app.m_pPrjTreeFrame->m_hWnd, WM_CLOSE, 0, 0);
                    if (app.m_pPrjTreeFrame) {
                        stop = true;
                        return;
                    }
                }
                app.OpenDocumentFile(mak.c_str());
                return;
            }
        }
    }
    int slot = ext == "bas" || ext.empty() ? kSlotBasic : ext == "sub" ? kSlotSub : ext == "rc" ? kSlotResource
             : ext == "bet" ? kSlotEnvironment : ext == "lib" || ext == "obj" ? kSlotObject
             : ext == "mak" ? kSlotProject : kSlotOther;
    app.OpenWithTemplate(slot, path.c_str(), true);
}

void CMainFrame::OnFileOpen() {
    CIdeApp& app = TheApp();
    bool rcOpen = app.m_pPrjFrame && app.m_pPrjFrame->FindRcTreeFrame();
    std::string filter = fw::LoadStr(IDS_OPEN_FILTER);
    // The first filter's extension is the default one.
    (void)rcOpen;
    COpenDialog dlg(true, "bas", nullptr,
                    OFN_EXPLORER | OFN_ALLOWMULTISELECT | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_CREATEPROMPT |
                        OFN_HIDEREADONLY | OFN_LONGNAMES,
                    filter.empty() ? nullptr : filter.c_str(), this);
    dlg.m_nKind = 1;
    dlg.m_strTitle = "\x8A\x4A\x82\xAD";  // 開く
    EnableFrames(false);
    INT_PTR r = dlg.DoModal();
    if (r == IDOK) {
        bool stop = false;
        for (const std::string& path : ChosenFiles(dlg.Buffer(), dlg.BufferSize())) {
            OpenChosenFile(path, stop);
            if (stop)
                break;
        }
    }
    EnableFrames(true);
}

void CMainFrame::OnCompileOptions() {
    if (CPrjDoc* prj = FindProjectDoc()) {
        (void)prj;
        if (CPrjFrame* pf = TheApp().m_pPrjFrame)
            SendMessageA(pf->m_hWnd, WM_COMMAND, ID_BUILD_OPTIONS, 0);
        return;
    }
    // Without a project the frame keeps compile settings of its own.
    if (!m_pCompileOptions)
        m_pCompileOptions = std::make_unique<prj::CBasData>(prj::DefaultModuleOptions(prjui::Env().settings));
    CCmpOptDlg dlg(this);
    dlg.ModuleOptionsToDialog(nullptr, m_pCompileOptions.get());
    if (dlg.DoModal() == IDOK)
        dlg.DialogToModuleOptions(nullptr, m_pCompileOptions.get());
}

void CMainFrame::OnRunArgs() {
    CRunArgDlg dlg(this);
    dlg.m_strArgs = m_strRunArgs;
    if (dlg.DoModal() == IDOK)
        m_strRunArgs = dlg.m_strArgs;
}

void CMainFrame::OnResourceNew() {
    // Only for an open resource document: the designer's dialog and its new
    // form or menu.
    if (DsgMenuQuery().open)
        DsgNewResourceCommand();
}

void CMainFrame::OnPageSetup() {
    auto dlg = std::make_unique<CTvPageSetupDlg>(this);
    if (dlg->DoModal() != IDOK)
        return;
    m_bHavePageSetup = true;
    m_pageSetup = dlg->m_values;
}

void CMainFrame::OnFilePrint() { PrintActiveView(false); }

void CMainFrame::PrintActiveView(bool direct) {
    CPrjFrame* pf = TheApp().m_pPrjFrame;
    CMDIChildWnd* active = pf ? pf->MDIGetActive() : nullptr;
    CView* view = active ? active->GetActiveView() : nullptr;
    if (auto* v = dynamic_cast<CBasEditView*>(view)) {
        PrintEditorView(v, v->GetDocument() ? v->GetDocument()->GetTitle() : std::string(), direct);
        return;
    }
    if (dynamic_cast<CPrjErrView*>(view) || dynamic_cast<CDbgWatchView*>(view))
        PostMessageA(active->m_hWnd, WM_COMMAND, FW_ID_FILE_PRINT, 0);
}
