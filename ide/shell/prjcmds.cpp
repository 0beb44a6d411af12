// The project frame's commands: line jump and marks, Close All, Run, and
// the project commands New, Open and Wizard with the project they make.
#include "editor.h"
#include "idehelpers.h"
#include "idepaths.h"
#include "ideapp.h"
#include "jumpdlgs.h"
#include "mainfrm.h"
#include "mbcs.h"
#include "neighbours.h"
#include "optedit.h"
#include "prjframe.h"
#include "prjrules.h"
#include "prjseams.h"
#include "resource.h"
#include "runrules.h"
#include "smalldlgs.h"

#include <direct.h>

namespace {

constexpr UINT kMsgProgramMissing = 20044;
constexpr UINT kMsgModulesUpdated = 20045;
constexpr DWORD kRunFlags = 0x4000230;  // new console and process group, default error mode, normal priority

tambrix::FileTime TimeOf(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA a;
    if (path.empty() || !GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &a))
        return std::nullopt;
    return (static_cast<int64_t>(a.ftLastWriteTime.dwHighDateTime) << 32) | a.ftLastWriteTime.dwLowDateTime;
}

std::string WithExtension(const std::string& path, const char* ext) {
    size_t slash = fw::FindLastChar(path, '\\');
    size_t dot = fw::FindLastChar(path, '.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return path + "." + ext;
    return path.substr(0, dot + 1) + ext;
}

std::string ProgramFile(const CPrjDoc* prj) {
    return tambrix::ProgramFileName(prj->m_strProgramFile, tambrix::StripDirectory(prj->m_strProjectFile));
}

std::string ProgramFullPath(const CPrjDoc* prj) {
    return tambrix::ProgramPath(prj->m_nDrive, prj->m_strFolder, ProgramFile(prj));
}

tambrix::OutOfDate CheckProgram(CPrjDoc* prj) {
    tambrix::BuildTimes t;
    t.program = TimeOf(ProgramFullPath(prj));
    t.project = TimeOf(prj->GetPathName());
    t.environment = TimeOf(prj->m_strBetPath);
    for (const auto& f : prj->m_files)
        t.modules.push_back({TimeOf(f.resolved), TimeOf(WithExtension(f.resolved, "obj"))});
    t.resourceScript = TimeOf(prj->m_strRcPath);
    if (!prj->m_strRcPath.empty())
        t.resource = TimeOf(WithExtension(prj->m_strRcPath, "res"));
    return tambrix::CheckOutOfDate(t);
}

}  // namespace

// ---- line jump and marks -------------------------------------------------

void CPrjFrame::OnLineJump() {
    std::string title;
    if (auto* f = dynamic_cast<CChildFrame*>(FindEditorChildFrame())) {
        if (CBasEditView* v = f->GetEditView(); v && v->GetDocument())
            title = v->GetDocument()->GetTitle();
    }
    CLineJumpDlg dlg(this, title);
    dlg.DoModal();
}

void CPrjFrame::OnMark() {
    CMarkDlg dlg(this);
    dlg.DoModal();
}

// ---- Close All -------------------------------------------------------------

void CPrjFrame::OnCloseAll() {
    CIdeApp& app = TheApp();
    int closing = app.m_nClosing;
    app.m_nClosing = 1;
    EnableFrames(false);
    CWnd* main = app.m_pMainWnd;
    app.m_pMainWnd = this;
    if (!app.SaveAllModified(false)) {
        app.m_pMainWnd = main;
        app.m_nClosing = closing;
        EnableFrames(true);
        return;
    }
    app.CloseAllDocuments();
    app.m_pMainWnd = main;
    app.m_pHeldPrjDoc = nullptr;
    app.m_pPrjTreeFrame = nullptr;
    app.m_strProjectPath.clear();
    SetReadyText();
    g_pRcDoc = nullptr;
    m_pDefaultProject = nullptr;
    CreateDefaultProject();
    app.m_nClosing = 0;
    EnableFrames(true);
}

// ---- Run -------------------------------------------------------------------

void CPrjFrame::OnRun() {
    CIdeApp& app = TheApp();
    CMainFrame* mf = app.m_pMainFrame;
    CPrjDoc* prj = CurrentProjectDoc();
    if (!prj || !mf)
        return;
    if (prj->GetDebugState() == 1) {
        prj->DebugGo();
        return;
    }
    bool prepared = false;
    if (prj->m_bDefaultProject) {
        if (!ActiveEditor())
            return;
        if (prj->m_nModules == 0) {
            PrjPrepareDefault(prj);
            prepared = true;
        }
    }
    auto done = [&] {
        if (prepared)
            PrjResetContents(prj);
    };
    if (!app.SaveAllModified(true)) {
        done();
        return;
    }
    if (prepared)
        PrjPrepareDefault(prj);

    tambrix::OutOfDate check = CheckProgram(prj);
    if (check.rebuild) {
        int answer = check.programMissing
                         ? MessageBoxById(kMsgProgramMissing, MB_YESNOCANCEL | MB_ICONQUESTION | MB_SETFOREGROUND, 1,
                                          ProgramFile(prj).c_str())
                         : MessageBoxById(kMsgModulesUpdated, MB_YESNOCANCEL | MB_ICONQUESTION | MB_SETFOREGROUND, 1);
        SetActiveWindow(mf->m_hWnd);
        if (answer == IDCANCEL) {
            done();
            return;
        }
        if (answer == IDYES) {
            if (PrjCheckTargetRunning(prj)) {
                int built = PrjBuild(prj, false, false);
                if (built == 2) {
                    mf->ShowDesignWindows(false);
                    if (!prj->StartDebug(0)) {
                        done();
                        mf->OnProgramEnded();
                    }
                    return;
                }
            }
            done();
            return;
        }
    }

    ProcessStart start;
    start.commandLine = tambrix::RunCommandLine(ProgramFullPath(prj), mf->m_strRunArgs);
    start.folder = tambrix::ProjectFolderPath(prj->m_nDrive, prj->m_strFolder);
    start.flags = kRunFlags;
    start.title = "Tambrix";
    mf->ShowDesignWindows(false);
    HANDLE process = nullptr;
    if (StartProgramProcess(start, &process)) {
        if (app.m_hRunProcess)
            CloseHandle(app.m_hRunProcess);
        app.m_hRunProcess = process;
    } else {
        mf->OnProgramEnded();
    }
    done();
}

// ---- projects --------------------------------------------------------------

bool CPrjFrame::AskCloseProject() {
    CIdeApp& app = TheApp();
    if (!app.m_pPrjTreeFrame)
        return true;
    std::string title = app.m_pPrjTreeFrame->GetWindowText();
    if (MessageBoxById(IDS_OTHER_PROJECT_OPEN, MB_OKCANCEL | MB_ICONQUESTION, 1, title.c_str()) == IDCANCEL)
        return false;
    SendMessageA(app.m_pPrjTreeFrame->m_hWnd, WM_CLOSE, 0, 0);
    return true;
}

CPrjDoc* CPrjFrame::CreateProject(const std::string& path, int number) {
    CIdeApp& app = TheApp();
    if (!AskCloseProject())
        return nullptr;
    auto* doc = dynamic_cast<CPrjDoc*>(app.OpenWithTemplate(kSlotProject, nullptr, false));
    if (!doc)
        return nullptr;
    size_t dot = fw::FindLastChar(path, '.');
    doc->SetTitle(dot == std::string::npos ? path : path.substr(0, dot));
    doc->SetPathName(path, false);
    doc->m_strProgramFile.clear();
    doc->m_strProjectFile = path;
    doc->m_bNeedsRebuild = false;
    if (CView* v = doc->GetFirstView()) {
        v->OnInitialUpdate();
        if (CFrameWnd* f = v->GetParentFrame()) {
            ::SetWindowTextA(f->m_hWnd, path.c_str());
            ShowWindow(f->m_hWnd, SW_SHOW);
            UpdateWindow(f->m_hWnd);
            SendMessageA(m_hWndMDIClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(f->m_hWnd), 0);
        }
        SetFocus(v->m_hWnd);
    }
    app.m_strProjectPath = path;
    app.m_pHeldPrjDoc = doc;
    if (CMainFrame* mf = app.m_pMainFrame) {
        if (mf->m_nProjectCounter != number)
            mf->m_nProjectCounter = number;
        ++mf->m_nProjectCounter;
    }
    SetReadyText();
    return doc;
}

void CPrjFrame::OnPrjNew() {
    CMainFrame* mf = TheApp().m_pMainFrame;
    CNewFileDlg dlg(this);
    dlg.m_bProjectMode = 1;
    dlg.m_nNumber = static_cast<uint32_t>(mf ? mf->m_nProjectCounter : 1);
    EnableFrames(false);
    INT_PTR r = dlg.DoModal();
    EnableFrames(true);
    if (r != IDOK)
        return;
    CreateProject(dlg.m_strFileName, static_cast<int>(dlg.m_nNumber));
}

void CPrjFrame::OnPrjOpen() {
    CIdeApp& app = TheApp();
    EnableFrames(false);
    if (!AskCloseProject() || app.m_pPrjTreeFrame) {
        EnableFrames(true);
        return;
    }
    EnableFrames(false);  // the question enabled them again
    DWORD flags = GetPlatformId() == 2 ? 0x213814 : 0x93814;
    CTvFileDialog dlg(true, "mak", nullptr, flags,
                      "\xCC\xDF\xDB\xBC\xDE\xAA\xB8\xC4 (*.mak)|*.mak|\x82\xB7\x82\xD7\x82\xC4\x82\xCC\xCC\xA7\xB2\xD9 (*.*)|*.*||",
                      this);
    dlg.m_nKind = 2;
    dlg.m_strTitle = "\xCC\xDF\xDB\xBC\xDE\xAA\xB8\xC4\x82\xF0\x8A\x4A\x82\xAD";  // ﾌﾟﾛｼﾞｪｸﾄを開く
    if (dlg.DoModal() == IDOK)
        OpenProjectFile(dlg.GetPathName());
    EnableFrames(true);
}

void CPrjFrame::OpenProjectFile(const std::string& path) {
    CIdeApp& app = TheApp();
    ++g_nNoRecentEntry;
    if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
        // A project file that does not exist is a new project of that name.
        CMainFrame* mf = app.m_pMainFrame;
        int n = mf ? ++mf->m_nProjectCounter : 1;
        CreateProject(path, n);
    } else {
        app.OpenWithTemplate(kSlotProject, path.c_str());
    }
    --g_nNoRecentEntry;
}

bool MakeCurrentFolder(const std::string& path) {
    if (path.empty())
        return true;
    std::string rest = path;
    if (path.size() >= 2 && path[1] == ':') {
        int letter = path[0] & ~0x20;
        if (letter < 'A' || letter > 'Z' || _chdrive(letter - 'A' + 1) != 0)
            return false;
        rest = path.substr(2);
        if (rest.empty())
            return true;
    }
    if (SetCurrentDirectoryA(rest.c_str()))
        return true;
    return CreateDirectoryA(rest.c_str(), nullptr) && SetCurrentDirectoryA(rest.c_str());
}

CDocument* CPrjFrame::NewModuleDocument(int slot, CPrjDoc* prj) {
    CDocument* d = TheApp().OpenWithTemplate(slot, nullptr, false);
    if (!d)
        return nullptr;
    if (auto* src = dynamic_cast<CBasEditDoc*>(d)) {
        src->m_pPrjDoc = prj;
        src->m_nFileId = static_cast<uint32_t>(++prj->m_nDocCounter);
    } else {
        ++prj->m_nDocCounter;
    }
    return d;
}

void CPrjFrame::OnPrjWizard() {
    CIdeApp& app = TheApp();
    CMainFrame* mf = app.m_pMainFrame;
    EnableFrames(false);
    bool go = AskCloseProject();
    EnableFrames(true);
    if (!go)
        return;
    WizardAnswer w;
    if (!RunProjectWizard(this, mf ? mf->m_nProjectCounter : 1, w))
        return;
    std::string folder = w.folder.empty() ? std::string(".") : w.folder;
    if (folder.size() > 1 && fw::FindLastChar(folder, '\\') == folder.size() - 1)
        folder.pop_back();
    if (!MakeCurrentFolder(folder))
        return;
    if (folder == "\\")
        folder.clear();
    CPrjDoc* prj = CreateProject(w.projectFile, mf ? mf->m_nProjectCounter : 1);
    if (!prj)
        return;

    // The modules: the main source, the form module, the resource script.
    CDocument* mainDoc = NewModuleDocument(kSlotBasic, prj);
    CDocument* formDoc = w.withForm ? NewModuleDocument(kSlotSub, prj) : nullptr;
    CDocument* rcDoc = NewModuleDocument(kSlotResource, prj);
    if (!mainDoc || (w.withForm && !formDoc) || !rcDoc)
        return;
    auto frameOf = [](CDocument* d) -> CFrameWnd* {
        CView* v = d ? d->GetFirstView() : nullptr;
        return v ? v->GetParentFrame() : nullptr;
    };
    auto show = [this](CFrameWnd* f, bool activate) {
        if (!f)
            return;
        if (CView* v = f->GetActiveView())
            v->OnInitialUpdate();
        ShowWindow(f->m_hWnd, SW_SHOW);
        if (activate)
            SendMessageA(m_hWndMDIClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(f->m_hWnd), 0);
    };
    show(frameOf(mainDoc), false);
    if (w.withForm) {
        if (auto* src = dynamic_cast<CBasEditDoc*>(mainDoc); src && src->GetEditView())
            ::SetWindowTextA(src->GetEditView()->m_hWnd,
                "#include \"windows.bi\"\r\n'\r\nwhile 1\r\n\twaitevent\r\nwend\r\nstop\r\nend\r\n");
        show(frameOf(formDoc), true);
    }
    show(frameOf(rcDoc), true);
    DsgNewForm(w.withForm ? w.formModule.c_str() : nullptr);
    if (CFrameWnd* f = frameOf(mainDoc)) {
        SendMessageA(m_hWndMDIClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(f->m_hWnd), 0);
        if (CView* v = f->GetActiveView())
            SetFocus(v->m_hWnd);
    }
    {
        CTvOptEditPage page;
        page.LoadEditorSettings();
        tambrix::EditorSettingsCopy editor;
        page.CopyEditorSettings(editor);
        ApplyEditorSettings(editor);
    }

    auto saveAs = [&](CDocument* d, const std::string& name) {
        std::string path = folder.empty() ? "\\" + name : folder + "\\" + name;
        char full[MAX_PATH];
        DWORD n = GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
        d->SetPathName(n > 0 && n < sizeof full ? std::string(full, n) : path, false);
        d->OnSaveDocument(d->GetPathName());
        d->SetModifiedFlag(false);
    };
    saveAs(mainDoc, w.mainModule);
    if (formDoc)
        saveAs(formDoc, w.formModule);
    saveAs(rcDoc, w.resourceName + ".rc");

    PrjAddFile(prj, (folder.empty() ? "" : folder) + "\\" + w.mainModule, w.mainFlags);
    if (w.withForm)
        PrjAddFile(prj, (folder.empty() ? "" : folder) + "\\" + w.formModule, w.formFlags);
    prj->m_strRcPath = w.resourceName + ".rc";
    std::string prjPath = (folder.empty() ? "" : folder) + "\\" + w.projectFile;
    prj->SetPathName(prjPath, false);
    prj->OnSaveDocument(prjPath);
    PrjResolvePaths(prj, prjPath);
    if (CView* v = prj->GetFirstView()) {
        v->OnUpdate(nullptr);
        if (CFrameWnd* f = v->GetParentFrame())
            SendMessageA(m_hWndMDIClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(f->m_hWnd), 0);
    }
    app.AddToRecentProjectList(prjPath.c_str());
}
