// The framework side of the project document: its .mak file read and
// written through the project core, and the fields the shell reads kept in
// step with the core's data.
#include "buildrun.h"
#include "ideapp.h"
#include "idehelpers.h"
#include "neighbours.h"
#include "prjframe.h"
#include "prjwin.h"
#include "project_file.h"

#include <stdexcept>

prj::ProjectData& CPrjDoc::Data() {
    if (!m_pData)
        m_pData = std::make_unique<prj::ProjectData>(prjui::Env().settings);
    m_pData->path = GetPathName();
    m_pData->title = GetTitle();
    m_pData->is_frame_project = this == GetProjectDoc();
    return *m_pData;
}

void CPrjDoc::SyncFromData() {
    prj::ProjectData& d = *m_pData;
    m_strProjectFile = d.project_file_name;
    m_strProgramFile = d.exe_name;
    // The shell counts drives from 0 (A:).
    m_nDrive = d.drive > 0 ? d.drive - 1 : -1;
    m_strFolder = d.project_folder.empty() ? std::string("\\") : d.project_folder;
    m_strBetPath = d.bet_path;
    m_strRcPath = d.rc_path;
    m_nRunModel = d.run_model;
    m_nModules = static_cast<int>(d.modules.size());
    m_bDefaultProject = d.default_project_mode != 0;
    m_nDocCounter = static_cast<int>(d.doc_counter);
    m_files.clear();
    for (const auto& m : d.modules)
        m_files.push_back({m->doc_number, m->stored_path, m->full_path});
}

void CPrjDoc::RenameTreeItem(const std::string& from, const std::string& to) {
    // A module saved under another name: the project's record follows (the
    // file list the editor updated is rebuilt from it), and so does its tree item.
    prj::ProjectData& d = Data();
    prj::CBasData* m = d.FindModuleByPath(from);
    if (m) {
        m->stored_path = to;
        for (const FileRecord& f : m_files) {
            if (f.id == m->doc_number && f.stored == to)
                m->full_path = f.resolved;
        }
    }
    if (CPrjTree* tree = CPrjTree::Of(this))
        tree->RenameItem(prj::kCatProgram, from, to) || tree->RenameItem(prj::kCatProgram, d.GetProjectFileName(from), to);
}

void CPrjDoc::Serialize(CArchive& ar) {
    prj::ProjectData& d = Data();
    prj::ProjectEnv& env = prjui::Env();
    std::string full = env.fs.FullPath(ar.GetPath());
    if (ar.IsStoring()) {
        std::vector<uint8_t> bytes = prj::WriteProjectFile(d, full, env);
        if (!ar.Write(bytes.data(), bytes.size()))
            throw std::runtime_error("write");
        d.modified = false;
        SyncFromData();
        return;
    }
    std::vector<uint8_t> bytes;
    char buf[4096];
    size_t n;
    while ((n = ar.Read(buf, sizeof buf)) > 0)
        bytes.insert(bytes.end(), buf, buf + n);
    d.ResetContents();
    if (!prj::ReadProjectFile(d, bytes, full, env)) {
        SyncFromData();
        throw std::runtime_error("read");
    }
    SyncFromData();
    TheApp().m_strProjectPath = d.project_file_name;
}

bool CPrjDoc::SaveModified() { return prjui::AskToSave(*this); }

bool CPrjDoc::OnNewDocument() {
    if (!CDocument::OnNewDocument())
        return false;
    Data().InitNewProject();
    SyncFromData();
    return true;
}

bool CPrjDoc::OnOpenDocument(const std::string& path) {
    if (!CDocument::OnOpenDocument(path))
        return false;
    prj::ProjectData& d = Data();
    // Short-layout files are saved again in the new form.
    if (d.version_read == 1 || d.version_read == 258 || d.version_read == 259)
        SetModifiedFlag(true);
    prjui::Env().fs.SetCurrentFolder(d.drive, d.project_folder);
    TheApp().m_pHeldPrjDoc = this;
    if (CPrjFrame* pf = TheApp().m_pPrjFrame)
        pf->SetReadyText();
    return true;
}

void CPrjDoc::OnCloseDocument() {
    CIdeApp& app = TheApp();
    if (!app.m_nClosing)
        prjui::DeleteBuildLog();
    bool held = app.m_pHeldPrjDoc == this;
    CDocument::OnCloseDocument();
    if (held) {
        app.m_pHeldPrjDoc = nullptr;
        app.m_strProjectPath.clear();
        if (!app.m_nClosing && app.m_pPrjFrame) {
            // Another open project becomes the held one.
            if (CMDIChildWnd* f = app.m_pPrjFrame->FindPrjTreeFrame()) {
                if (auto* other = dynamic_cast<CPrjDoc*>(f->GetActiveDocument())) {
                    app.m_pHeldPrjDoc = other;
                    app.m_strProjectPath = other->m_strProjectFile;
                }
            }
        }
        if (app.m_pPrjFrame)
            app.m_pPrjFrame->SetReadyText();
    }
}
