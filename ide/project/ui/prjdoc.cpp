// The framework side of the project document: its .mak file read and
// written through the project core, and the fields the shell reads kept in
// step with the core's data.
#include "buildrun.h"
#include "ideservices.h"
#include "idehelpers.h"
#include "prjdoc.h"
#include "prjtree.h"
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
    Ide().SetProjectPath(d.project_file_name);
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
    Ide().SetHeldProject(this);
    Ide().SetReadyText();
    return true;
}

void CPrjDoc::OnCloseDocument() {
    IdeServices& ide = Ide();
    if (!ide.Closing())
        prjui::DeleteBuildLog();
    bool held = ide.HeldProject() == this;
    CDocument::OnCloseDocument();
    if (held) {
        ide.SetHeldProject(nullptr);
        ide.SetProjectPath(std::string());
        if (!ide.Closing() && ide.ProjectFrame()) {
            // Another open project becomes the held one.
            if (CMDIChildWnd* f = Ide().FindChild(ChildKind::kProjectTree)) {
                if (auto* other = dynamic_cast<CPrjDoc*>(f->GetActiveDocument())) {
                    ide.SetHeldProject(other);
                    ide.SetProjectPath(other->m_strProjectFile);
                }
            }
        }
        if (ide.ProjectFrame())
            Ide().SetReadyText();
    }
}

FW_IMPLEMENT_DYNCREATE(CPrjDoc, CDocument)

// What other libraries keep per project goes first, while the document is
// whole.
CPrjDoc::~CPrjDoc() { m_pDebugger.reset(); }

CPrjDoc::FileRecord* CPrjDoc::FindFileRecord(uint32_t id) {
    for (auto& f : m_files) {
        if (f.id == id)
            return &f;
    }
    return nullptr;
}

bool CPrjDoc::IsModified() {
    if (this == GetProjectDoc())
        return false;
    return CDocument::IsModified() || (m_pData && m_pData->modified);
}

void CPrjDoc::SetModifiedFlag(bool modified) {
    CDocument::SetModifiedFlag(modified);
    if (!modified && m_pData)
        m_pData->modified = false;
}
