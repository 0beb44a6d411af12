// The project frame's commands: line jump and marks, Close All, Run, and
// the project commands New, Open and Wizard with the project they make.
#include "buildrun.h"
#include "build_env.h"
#include "editor.h"
#include "wizard.h"
#include "cmpopt.h"
#include "envdlg.h"
#include "prjsheet.h"
#include "prjerr.h"
#include "prjwin.h"
#include "rcdoc.h"
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
#include "resource.h"
#include "smalldlgs.h"

#include <direct.h>

namespace {

constexpr UINT kMsgProgramMissing = IDS_PROGRAM_MISSING;
constexpr UINT kMsgModulesUpdated = IDS_MODULES_UPDATED;

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

tambrix::OutOfDate CheckProgram(CPrjDoc* prj) {
    prj::ProjectData& d = prj->Data();
    tambrix::BuildTimes t;
    t.program = TimeOf(prj::TargetProgramPath(d));
    t.project = TimeOf(prj->GetPathName());
    t.environment = TimeOf(d.bet_path);
    for (const auto& m : d.modules) {
        const std::string& path = m->full_path.empty() ? m->stored_path : m->full_path;
        t.modules.push_back({TimeOf(path), TimeOf(WithExtension(path, "obj"))});
    }
    t.resourceScript = TimeOf(d.rc_path);
    if (!d.rc_path.empty())
        t.resource = TimeOf(WithExtension(d.rc_path, "res"));
    return tambrix::CheckOutOfDate(t);
}

bool IsFrameDefault(CPrjDoc* prj) { return prj && prj == GetProjectDoc(); }

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
    // The resource document cleared its own global as it closed.
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
        DebugOf(prj).DebugGo();
        return;
    }
    bool prepared = false;
    if (IsFrameDefault(prj)) {
        if (!ActiveEditor())
            return;
        if (prj->Data().modules.empty()) {
            prjui::PrepareDefaultProject(prj);
            prepared = true;
        }
    }
    auto done = [&] {
        if (prepared)
            prjui::ResetDefaultProject(prj);
    };
    if (!app.SaveAllModified(true)) {
        done();
        return;
    }
    if (prepared)
        prjui::PrepareDefaultProject(prj);

    tambrix::OutOfDate check = CheckProgram(prj);
    if (check.rebuild) {
        EnableFrames(false);
        int answer = check.programMissing
                         ? MessageBoxById(kMsgProgramMissing, MB_YESNOCANCEL | MB_ICONQUESTION | MB_SETFOREGROUND, 0,
                                          prj->Data().GetProjectOutputName().c_str())
                         : MessageBoxById(kMsgModulesUpdated, MB_YESNOCANCEL | MB_ICONQUESTION | MB_SETFOREGROUND, 0);
        EnableFrames(true);
        SetActiveWindow(mf->m_hWnd);
        if (answer == IDCANCEL) {
            done();
            return;
        }
        if (answer == IDYES) {
            if (prjui::CheckTargetRunning(prj) && prjui::Build(prj, false, false) == 2) {
                mf->ShowDesignWindows(false);
                if (!DebugOf(prj).StartDebug(0)) {
                    done();
                    mf->OnProgramEnded();
                }
                return;
            }
            done();
            return;
        }
    }
    // The program starts with the project folder current (the test build
    // records the start, procstart.h); the idle processing watches it.
    if (!prjui::RunProgram(prj))
        mf->OnProgramEnded();
    done();
}

// ---- the project's windows ------------------------------------------------

void CPrjFrame::OnTagJump() {
    // The result view jumps to the line of the message under its caret.
    if (CMDIChildWnd* f = FindPrjErrFrame()) {
        if (CView* v = f->GetActiveView())
            PostMessageA(v->m_hWnd, WM_COMMAND, ID_TAG_JUMP, 0);
    }
}

void CPrjFrame::OnResultWindow() {
    if (CMDIChildWnd* f = FindPrjErrFrame()) {
        SendMessageA(f->m_hWnd, WM_CLOSE, 0, 0);
        return;
    }
    std::string log = prjui::LastBuildLog();
    CIdeApp& app = TheApp();
    ++g_nNoRecentEntry;
    app.OpenWithTemplate(kSlotBuildResult, log.empty() ? nullptr : log.c_str());
    --g_nNoRecentEntry;
}

void CPrjFrame::OnPrjClose() {
    CPrjDoc* prj = FindProjectDoc();
    CView* v = prj ? prj->GetFirstView() : nullptr;
    if (CFrameWnd* f = v ? v->GetParentFrame() : nullptr)
        SendMessageA(f->m_hWnd, WM_CLOSE, 0, 0);
}

void CPrjFrame::OnPrjEnvironment() {
    CPrjEnvDlg dlg(this);
    dlg.DoModal();
}

void CPrjFrame::OnPrjModules(UINT id) {
    RunProjectSheet(this, id == ID_PROJECT_LIBRARIES ? 1 : 0);
}

void CPrjFrame::OnPrjSave(UINT id) {
    CIdeApp& app = TheApp();
    CPrjDoc* prj = CurrentProjectDoc();
    if (!prj)
        return;
    bool wasDefault = prj == GetProjectDoc();
    bool saved;
    if (id == ID_PROJECT_SAVE) {
        saved = prj->DoFileSave();
    } else {
        EnableFrames(false);
        CWnd* main = app.m_pMainWnd;
        app.m_pMainWnd = this;
        saved = prj->DoSave("");
        app.m_pMainWnd = main;
        EnableFrames(true);
    }
    if (!saved || !wasDefault || prj->GetPathName().empty() || fw::EqualNoCase(prj->GetPathName(), "DEFAULT.mak"))
        return;
    // The frame's own project saved to a file: that file becomes a real
    // project, the frame's own is empty again.
    std::string path = prj->GetPathName();
    prj->Data().ResetContents();
    prj->SyncFromData();
    prj->SetPathName("DEFAULT.mak", false);
    prj->SetTitle("DEFAULT");
    prj->SetModifiedFlag(false);
    ++g_nNoRecentEntry;
    app.OpenWithTemplate(kSlotProject, path.c_str());
    --g_nNoRecentEntry;
}

// ---- compile options ------------------------------------------------------

void CPrjFrame::OnCompileOptions() {
    CPrjDoc* prj = CurrentProjectDoc();
    if (!prj)
        return;
    CCmpOptDlg dlg(this);
    dlg.ModuleOptionsToDialog(prj, nullptr);
    EnableFrames(false);
    INT_PTR r = dlg.DoModal();
    EnableFrames(true);
    if (r != IDOK)
        return;
    dlg.DialogToModuleOptions(prj, nullptr);
    prj->SetModifiedFlag(true);
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
    prj::ProjectData& d = doc->Data();
    d.exe_name.clear();
    d.project_file_name = path;
    doc->SyncFromData();
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
    // Every new document of the project takes its next number.
    uint32_t number = ++prj->Data().doc_counter;
    prj->m_nDocCounter = static_cast<int>(number);
    if (auto* src = dynamic_cast<CBasEditDoc*>(d)) {
        src->m_pPrjDoc = prj;
        src->m_nFileId = number;
    } else if (dynamic_cast<CRcDoc*>(d)) {
        prj->Data().rc_doc_number = number;
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
    CPrjWizardDlg dlg(this, mf ? mf->m_nProjectCounter : 1);
    if (dlg.DoModal() != IDOK)
        return;
    bool withForm = dlg.m_nProgramType == 1;
    std::string folder = dlg.m_strFolder.empty() ? std::string(".") : dlg.m_strFolder;
    if (folder.size() > 1 && fw::FindLastChar(folder, '\\') == folder.size() - 1)
        folder.pop_back();
    if (!MakeCurrentFolder(folder))
        return;
    if (folder == "\\")
        folder.clear();
    auto inFolder = [&](const std::string& name) { return folder + "\\" + name; };
    CPrjDoc* prj = CreateProject(dlg.m_strProjectFile, mf ? mf->m_nProjectCounter : 1);
    if (!prj)
        return;

    // The modules: the main source, the form module, the resource script.
    CDocument* mainDoc = NewModuleDocument(kSlotBasic, prj);
    CDocument* formDoc = withForm && mainDoc ? NewModuleDocument(kSlotSub, prj) : nullptr;
    auto* rcDoc = mainDoc && (formDoc || !withForm) ? dynamic_cast<CRcDoc*>(NewModuleDocument(kSlotResource, prj))
                                                   : nullptr;
    if (!rcDoc)
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
    if (withForm) {
        if (auto* src = dynamic_cast<CBasEditDoc*>(mainDoc); src && src->GetEditView())
            ::SetWindowTextA(src->GetEditView()->m_hWnd,
                             "#include \"windows.bi\"\r\n'\r\nwhile 1\r\n\twaitevent\r\nwend\r\nstop\r\nend\r\n");
        show(frameOf(formDoc), true);
    }
    show(frameOf(rcDoc), true);
    DsgFirstForm(rcDoc, withForm ? dlg.m_strFormName.c_str() : nullptr);
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
        std::string path = inFolder(name);
        char full[MAX_PATH];
        DWORD n = GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
        std::string whole = n > 0 && n < sizeof full ? std::string(full, n) : path;
        ++g_nNoRecentEntry;
        d->SetPathName(whole, false);
        --g_nNoRecentEntry;
        d->OnSaveDocument(whole);
        d->SetModifiedFlag(false);
        return whole;
    };
    std::string rcName = dlg.m_strFormName + ".rc";
    std::string mainPath = saveAs(mainDoc, dlg.m_strMainModule);
    std::string formPath = formDoc ? saveAs(formDoc, dlg.m_strFormModule) : std::string();
    saveAs(rcDoc, rcName);

    prj::ProjectData& d = prj->Data();
    auto addModule = [&](CDocument* doc, const std::string& name, const std::string& full) {
        std::unique_ptr<prj::CBasData> rec = d.NewModule();
        rec->stored_path = inFolder(name);
        rec->full_path = full;
        if (auto* src = dynamic_cast<CBasEditDoc*>(doc))
            rec->doc_number = src->m_nFileId;
        d.AddFileToProject(*rec, prjui::Env().ide);
    };
    addModule(mainDoc, dlg.m_strMainModule, mainPath);
    if (formDoc)
        addModule(formDoc, dlg.m_strFormModule, formPath);
    // Set in the project's data: the document's fields follow it.
    d.rc_path = rcName;
    std::string prjPath = inFolder(dlg.m_strProjectFile);
    prj->SetPathName(prjPath, false);
    prj->OnSaveDocument(prjPath);
    prj->SyncFromData();
    if (CView* v = prj->GetFirstView()) {
        v->OnUpdate(nullptr);
        if (CFrameWnd* f = v->GetParentFrame())
            SendMessageA(m_hWndMDIClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(f->m_hWnd), 0);
    }
    app.AddToRecentProjectList(prjPath.c_str());
}
