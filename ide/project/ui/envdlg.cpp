#include "envdlg.h"

#include "ideservices.h"
#include "idehelpers.h"
#include "betedit.h"
#include "prjdoc.h"
#include "prjtexts.h"
#include "prjtree.h"
#include "prjwin.h"
#include "sjis_path.h"
#include "smalldlgs.h"

#include <cstdio>

namespace {

constexpr int kProject = 30018, kProgram = 30019, kModel = 30040, kRc = 30041, kBet = 30042, kFolder = 30020,
              kLibs = 30002, kFile = 30004;

// Combo index to run model and back: 0 debug build (3), 1 runtime (2), 2 standalone (0).
int ModelOfIndex(int index) { return index == 0 ? 3 : index == 1 ? 2 : 0; }
int IndexOfModel(int model) { return model == 3 ? 0 : model == 0 ? 2 : 1; }

std::string Text(HWND dlg, int id) {
    char buf[MAX_PATH + 8] = {};
    GetDlgItemTextA(dlg, id, buf, sizeof buf);
    return buf;
}

}  // namespace

std::string CPrjEnvDlg::ComboText(int id) const {
    HWND c = GetDlgItem(m_hWnd, id);
    auto sel = SendMessageA(c, CB_GETCURSEL, 0, 0);
    if (sel < 0)
        return {};
    char buf[MAX_PATH + 8] = {};
    SendMessageA(c, CB_GETLBTEXT, static_cast<WPARAM>(sel), reinterpret_cast<LPARAM>(buf));
    return buf;
}

bool CPrjEnvDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    EnableFrames(false);
    m_pDoc = FindProjectDoc();
    if (!m_pDoc) {
        m_pDoc = GetProjectDoc();
        m_bDefault = true;
    }
    if (!m_pDoc)
        return true;
    prj::ProjectData& d = m_pDoc->Data();
    SetDlgItemTextA(m_hWnd, kProject, d.project_file_name.c_str());
    if (d.exe_name.empty())
        d.exe_name = prj::ReplaceExtension(d.project_file_name, "exe");
    SetDlgItemTextA(m_hWnd, kProgram, d.exe_name.c_str());
    HWND model = GetDlgItem(m_hWnd, kModel);
    for (const char* t : {prjui::text::kModelDebug, prjui::text::kModelRuntime, prjui::text::kModelStandalone})
        SendMessageA(model, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(t));
    SendMessageA(model, CB_SETCURSEL, static_cast<WPARAM>(IndexOfModel(d.run_model)), 0);
    // "(選択されていません)", the open windows' files other than the
    // project's own, then the project's, which is selected.
    ChildKind kinds[] = {ChildKind::kResourceTree, ChildKind::kEnvironment};
    for (int id : {kRc, kBet}) {
        HWND c = GetDlgItem(m_hWnd, id);
        SendMessageA(c, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(prjui::text::kNotChosen));
        const std::string& path = id == kRc ? d.rc_path : d.bet_path;
        std::string own = path.empty() ? path : d.GetProjectFileName(path);
        ChildKind kind = kinds[id == kRc ? 0 : 1];
        for (CMDIChildWnd* f = Ide().FindChild(kind); f; f = Ide().FindChild(kind, f)) {
            CDocument* doc = f->GetActiveDocument();
            std::string shown = doc && !doc->GetPathName().empty() ? d.GetProjectFileName(doc->GetPathName()) : "";
            if (!shown.empty() && !prj::EqualNoCase(shown, own) &&
                SendMessageA(c, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(shown.c_str())) ==
                    CB_ERR)
                SendMessageA(c, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(shown.c_str()));
        }
        LRESULT sel = 0;
        if (!own.empty())
            sel = SendMessageA(c, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(own.c_str()));
        SendMessageA(c, CB_SETCURSEL, static_cast<WPARAM>(sel), 0);
    }
    std::string folder = d.project_folder.empty() ? "\\" : d.project_folder;
    if (d.drive > 0)
        folder = std::string(1, static_cast<char>('@' + d.drive)) + ":" + folder;
    SetDlgItemTextA(m_hWnd, kFolder, folder.c_str());
    FillLibraries();
    CenterInWorkArea(m_hWnd);
    return true;
}

void CPrjEnvDlg::FillLibraries() {
    HWND list = GetDlgItem(m_hWnd, kLibs);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    prj::ProjectData& d = m_pDoc->Data();
    for (const auto* l : {&d.libraries, &d.objects})
        for (const std::string& e : *l)
            SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(e.c_str()));
    bool standalone = d.run_model == 0;
    for (const prjui::text::RuntimeLibraryRow& row : prjui::text::kRuntimeLibraries) {
        char line[256];
        std::snprintf(line, sizeof line, row.label, standalone ? row.standalone : row.runtime);
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line));
    }
}

void CPrjEnvDlg::ApplyModel() {
    prj::ProjectData& d = m_pDoc->Data();
    int index = static_cast<int>(SendDlgItemMessageA(m_hWnd, kModel, CB_GETCURSEL, 0, 0));
    if (index < 0)
        return;
    if (index == 0)
        d.default_options.flags |= 0x4000;
    else
        d.default_options.flags &= ~0x4000u;
    int model = ModelOfIndex(index);
    if (model != d.run_model) {
        d.run_model = static_cast<uint16_t>(model);
        FillLibraries();
        if (!m_bDefault)
            m_pDoc->SetModifiedFlag(true);
        d.rebuild_mark = 0x40;
    }
    m_pDoc->SyncFromData();
}

void CPrjEnvDlg::LinkOpenBet(const std::string& path) {
    for (CMDIChildWnd* f = Ide().FindChild(ChildKind::kEnvironment); f && !path.empty();
         f = Ide().FindChild(ChildKind::kEnvironment, f)) {
        if (auto* bet = dynamic_cast<CBetDoc*>(f->GetActiveDocument());
            bet && prj::EqualNoCase(bet->GetPathName(), path))
            bet->m_pPrjDoc = m_pDoc;
    }
}

void CPrjEnvDlg::OnChooseFile() {
    CFileDialog dlg(true, nullptr, nullptr, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, prjui::text::kEnvFileFilter, this);
    if (dlg.DoModal() != IDOK || !m_pDoc)
        return;
    std::string path = dlg.GetPathName();
    int id = prj::EqualNoCase(prj::ExtensionOf(path), "rc")    ? kRc
             : prj::EqualNoCase(prj::ExtensionOf(path), "bet") ? kBet
                                                               : 0;
    if (!id)
        return;
    std::string shown = m_pDoc->Data().GetProjectFileName(path);
    HWND c = GetDlgItem(m_hWnd, id);
    LRESULT at = SendMessageA(c, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(shown.c_str()));
    if (at == CB_ERR)
        at = SendMessageA(c, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(shown.c_str()));
    SendMessageA(c, CB_SETCURSEL, static_cast<WPARAM>(at), 0);
}

bool CPrjEnvDlg::OnCommand(UINT id, UINT code, HWND control) {
    if (id == kModel && code == CBN_SELCHANGE && m_pDoc) {
        ApplyModel();
        return true;
    }
    if (id == kFile && code == BN_CLICKED) {
        OnChooseFile();
        return true;
    }
    return CDialog::OnCommand(id, code, control);
}

void CPrjEnvDlg::OnOK() {
    if (m_pDoc) {
        prj::ProjectData& d = m_pDoc->Data();
        std::string project = Text(m_hWnd, kProject);
        if (project != d.project_file_name) {
            d.project_file_name = project;
            // The document's path follows: the project's drive and folder
            // with the new name.
            std::string path = d.project_folder;
            if (path.empty() || path.back() != '\\')
                path += '\\';
            path += project;
            if (d.drive > 0)
                path = std::string(1, static_cast<char>('@' + d.drive)) + ":" + path;
            m_pDoc->SetPathName(path, false);
            m_pDoc->SetTitle(project);
            m_pDoc->SetModifiedFlag(true);
        }
        std::string program = Text(m_hWnd, kProgram);
        if (program != d.exe_name) {
            d.exe_name = program;
            m_pDoc->SetModifiedFlag(true);
        }
        ApplyModel();
        prjui::Env().fs.SetCurrentFolder(d.drive, d.project_folder);
        bool changed = false;
        for (int id : {kRc, kBet}) {
            std::string sel = ComboText(id);
            std::string& path = id == kRc ? d.rc_path : d.bet_path;
            std::string now = sel == prjui::text::kNotChosen ? std::string() : sel;
            if (!prj::EqualNoCase(now, d.GetProjectFileName(path)) && !prj::EqualNoCase(now, path)) {
                std::string full;
                prj::ResolveExistingPath(prjui::Env().fs, now, full);
                path = now.empty() ? now : full;
                m_pDoc->SetModifiedFlag(true);
                if (id == kBet) {
                    d.rebuild_mark = 0x40;
                    LinkOpenBet(path);
                }
                changed = true;
            }
        }
        m_pDoc->SyncFromData();
        if (changed) {
            for (CView* v : m_pDoc->GetViews())
                if (auto* tree = dynamic_cast<CPrjTree*>(v))
                    tree->Fill();
        }
    }
    EnableFrames(true);
    EndDialog(IDOK);
}

void CPrjEnvDlg::OnCancel() {
    EnableFrames(true);
    EndDialog(IDCANCEL);
}
