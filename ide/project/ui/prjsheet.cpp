#include "prjsheet.h"

#include "cmpopt.h"
#include "editor.h"
#include "ideservices.h"
#include "idehelpers.h"
#include "libwnd.h"
#include "module_sheet.h"
#include "prjdoc.h"
#include "prjtexts.h"
#include "prjtree.h"
#include "prjwin.h"
#include "sjis_path.h"
#include "smalldlgs.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int kCandidates = 30002, kProjectList = 30003, kMove = 30004, kDeps = 30005, kOptions = 30006,
              kFile = 30007;
constexpr UINT kDepTemplate = IDD_DEPENDENCIES;
constexpr int kDepList = 30002, kDepAdd = 30004, kDepDelete = 30005, kDepDeleteAll = 30006;
constexpr size_t kLibPathMax = 260;

// Raises a list's horizontal extent to a text's width.
void WidenFor(HWND list, const std::string& text) {
    HDC dc = GetDC(list);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(list, WM_GETFONT, 0, 0)));
    SIZE sz{};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &sz);
    SelectObject(dc, old);
    ReleaseDC(list, dc);
    if (sz.cx + 4 > SendMessageA(list, LB_GETHORIZONTALEXTENT, 0, 0))
        SendMessageA(list, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(sz.cx + 4), 0);
}

// A file dialog whose OK button reads as the caller wants and that takes
// several files; the names come back whole.
class CRegisterFileDialog : public CFileDialog {
public:
    CRegisterFileDialog(const char* title, const char* filter, const char* defExt, CWnd* parent)
        : CFileDialog(true, defExt, nullptr, OFN_HIDEREADONLY | OFN_ALLOWMULTISELECT | OFN_FILEMUSTEXIST, filter,
                      parent) {
        m_strTitle = title;
    }
    void OnInitDone() override {
        SendMessageA(m_hDialog, CDM_SETCONTROLTEXT, IDOK, reinterpret_cast<LPARAM>(prjui::text::kRegisterButton));
        CenterOnDesktop(m_hDialog);
    }
    // The chosen files: one path, or a folder followed by names.
    std::vector<std::string> Files() const {
        std::vector<std::string> parts;
        for (const char* p = m_szFile; *p; p += std::strlen(p) + 1)
            parts.emplace_back(p);
        if (parts.size() <= 1)
            return parts;
        std::string folder = parts[0];
        if (folder.back() != '\\')
            folder += '\\';
        std::vector<std::string> out;
        for (size_t i = 1; i < parts.size(); ++i)
            out.push_back(folder + parts[i]);
        return out;
    }
};

class CPrjPropSeet : public CPropertySheet {
public:
    CPrjPropSeet(const std::string& caption, CWnd* parent, UINT first)
        : CPropertySheet(caption, parent ? parent->m_hWnd : nullptr, first) {}

protected:
    void OnInitialized(HWND sheet) override {
        CenterOnDesktop(sheet);
        EnableFrames(false);
    }
};

// The dependency files of a module, below an open-file dialog.
class CDepFileDlg : public CFileDialog {
public:
    CDepFileDlg(CWnd* parent, std::vector<std::string> list)
        : CFileDialog(true, "bi", "*.BI", OFN_HIDEREADONLY | OFN_ENABLETEMPLATE, prjui::text::kDepFilter, parent),
          m_list(std::move(list)) {
        m_strTitle = prjui::text::kDepTitle;
        m_nTemplate = kDepTemplate;
    }
    std::vector<std::string> m_list;
    bool m_bChanged = false;  // 削除 or 全削除 was used
    bool m_bEndedOk = false;  // ended by a folder change after those

    void OnInitDone() override {
        HWND list = GetDlgItem(m_hHook, kDepList);
        for (const std::string& e : m_list)
            SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(e.c_str()));
        SendMessageA(m_hDialog, CDM_SETCONTROLTEXT, IDOK, reinterpret_cast<LPARAM>("OK"));
        CenterOnDesktop(m_hDialog);
    }
    bool OnHookMessage(UINT msg, WPARAM wp, LPARAM lp) override {
        HWND list = GetDlgItem(m_hHook, kDepList);
        if (msg == WM_COMMAND && HIWORD(wp) == BN_CLICKED) {
            switch (LOWORD(wp)) {
            case kDepAdd: {
                // A name typed with its own drive or root is whole already;
                // the dialog would put its folder in front of it.
                char typed[MAX_PATH] = {}, path[MAX_PATH] = {};
                SendMessageA(m_hDialog, CDM_GETSPEC, sizeof typed, reinterpret_cast<LPARAM>(typed));
                if ((typed[0] && typed[1] == ':') || typed[0] == '\\')
                    lstrcpynA(path, typed, sizeof path);
                else
                    SendMessageA(m_hDialog, CDM_GETFILEPATH, sizeof path, reinterpret_cast<LPARAM>(path));
                if (path[0] && SendMessageA(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                            reinterpret_cast<LPARAM>(path)) == LB_ERR)
                    SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(path));
                return true;
            }
            case kDepDelete: {
                LRESULT sel = SendMessageA(list, LB_GETCURSEL, 0, 0);
                if (sel != LB_ERR) {
                    SendMessageA(list, LB_DELETESTRING, static_cast<WPARAM>(sel), 0);
                    m_bChanged = true;
                }
                return true;
            }
            case kDepDeleteAll:
                SendMessageA(list, LB_RESETCONTENT, 0, 0);
                m_bChanged = true;
                return true;
            default:
                return false;
            }
        }
        if (msg == WM_NOTIFY && reinterpret_cast<NMHDR*>(lp)->code == static_cast<UINT>(CDN_FOLDERCHANGE)) {
            // OK with nothing chosen after a deletion only changes the
            // folder: that ends the dialog as OK.
            if (m_bChanged && GetFocus() == GetDlgItem(m_hDialog, IDOK)) {
                m_bEndedOk = true;
                PostMessageA(m_hDialog, WM_COMMAND, IDCANCEL, 0);
            }
            return false;
        }
        if (msg == WM_DESTROY) {
            m_list.clear();
            auto n = SendMessageA(list, LB_GETCOUNT, 0, 0);
            for (LRESULT i = 0; i < n; ++i) {
                char t[MAX_PATH + 8] = {};
                SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(t));
                m_list.emplace_back(t);
            }
        }
        return false;
    }
};

bool OpenEditorOf(CBasEditDoc* bas, const std::string& name) {
    return bas && (prj::EqualNoCase(bas->GetPathName(), name) || prj::EqualNoCase(bas->GetTitle(), name));
}

template <typename F>
void ForEachEditor(F f) {
    CMDIFrameWnd* pf = Ide().ProjectFrame();
    for (CMDIChildWnd* c = pf ? Ide().FindChild(ChildKind::kEditor) : nullptr; c; c = Ide().FindChild(ChildKind::kEditor, c)) {
        if (auto* bas = dynamic_cast<CBasEditDoc*>(c->GetActiveDocument()))
            f(c, bas);
    }
}

}  // namespace

// ---- both pages -----------------------------------------------------------

bool CPrjListPage::OnInitDialog() {
    CPropertyPage::OnInitDialog();
    ::EnableWindow(GetDlgItem(m_hWnd, kMove), FALSE);
    m_pDoc = FindProjectDoc();
    if (!m_pDoc) {
        m_pDoc = GetProjectDoc();
        m_bDefault = true;
    }
    return true;
}

void CPrjListPage::AddName(int list, const std::string& name) {
    HWND l = GetDlgItem(m_hWnd, list);
    SendMessageA(l, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    WidenFor(l, name);
}

bool CPrjListPage::Listed(int list, const std::string& name) const {
    for (const std::string& n : Names(list)) {
        if (prj::EqualNoCase(n, name))
            return true;
    }
    return false;
}

std::vector<std::string> CPrjListPage::Names(int list) const {
    std::vector<std::string> out;
    HWND l = GetDlgItem(m_hWnd, list);
    auto n = SendMessageA(l, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < n; ++i) {
        std::string t(static_cast<size_t>(SendMessageA(l, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0)) + 1, '\0');
        SendMessageA(l, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(t.data()));
        t.resize(std::strlen(t.c_str()));
        out.push_back(t);
    }
    return out;
}

std::vector<std::string> CPrjListPage::Selected(int list) const {
    std::vector<std::string> all = Names(list), out;
    HWND l = GetDlgItem(m_hWnd, list);
    for (size_t i = 0; i < all.size(); ++i) {
        if (SendMessageA(l, LB_GETSEL, i, 0) > 0)
            out.push_back(all[i]);
    }
    return out;
}

void CPrjListPage::UpdateMoveButton(int list) {
    bool any = !Selected(list).empty();
    m_nSide = list == kCandidates ? 1 : 0;
    HWND move = GetDlgItem(m_hWnd, kMove);
    SetWindowTextA(move, m_nSide ? prjui::text::kMoveIn : prjui::text::kMoveOut);
    ::EnableWindow(move, any);
    OnSelectionChanged();
}

void CPrjListPage::MoveSelected() {
    int from = m_nSide ? kCandidates : kProjectList, to = m_nSide ? kProjectList : kCandidates;
    HWND l = GetDlgItem(m_hWnd, from);
    for (LRESULT i = SendMessageA(l, LB_GETCOUNT, 0, 0) - 1; i >= 0; --i) {
        if (SendMessageA(l, LB_GETSEL, static_cast<WPARAM>(i), 0) <= 0)
            continue;
        char t[MAX_PATH + 8] = {};
        SendMessageA(l, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(t));
        AddName(to, t);
        SendMessageA(l, LB_DELETESTRING, static_cast<WPARAM>(i), 0);
    }
    ::EnableWindow(GetDlgItem(m_hWnd, kMove), FALSE);
    OnSelectionChanged();
}

bool CPrjListPage::OnCommand(UINT id, UINT code, HWND control) {
    int list = static_cast<int>(id);
    if (list == kCandidates || list == kProjectList) {
        if (code == LBN_SELCHANGE) {
            UpdateMoveButton(list);
        } else if (code == LBN_SETFOCUS) {
            // One list holds the selection at a time.
            SendDlgItemMessageA(m_hWnd, list == kCandidates ? kProjectList : kCandidates, LB_SETSEL, FALSE, -1);
            UpdateMoveButton(list);
        } else if (code == LBN_DBLCLK) {
            m_nSide = list == kCandidates ? 1 : 0;
            MoveSelected();
        }
        return true;
    }
    if (id == kMove && code == BN_CLICKED) {
        MoveSelected();
        return true;
    }
    return CPropertyPage::OnCommand(id, code, control);
}

std::vector<std::string> CPrjListPage::ChooseFiles(const char* title, const char* filter, const char* defExt) {
    CRegisterFileDialog dlg(title, filter, defExt, this);
    if (dlg.DoModal() != IDOK)
        return {};
    return dlg.Files();
}

// ---- the module page ---------------------------------------------------------

bool CPrjModPropPage::OnInitDialog() {
    CPrjListPage::OnInitDialog();
    ::EnableWindow(GetDlgItem(m_hWnd, kDeps), FALSE);
    ::EnableWindow(GetDlgItem(m_hWnd, kOptions), FALSE);
    if (!m_pDoc)
        return true;
    for (const auto& m : m_pDoc->Data().modules) {
        m_working.push_back(std::make_unique<prj::CBasData>(*m));
        AddName(kProjectList, m->stored_path);
    }
    ForEachEditor([&](CMDIChildWnd*, CBasEditDoc* bas) {
        const std::string& path = bas->GetPathName();
        if (!path.empty() && bas->m_pPrjDoc != m_pDoc && !Listed(kProjectList, path) &&
            !Listed(kProjectList, m_pDoc->Data().GetProjectFileName(path)) && !Listed(kCandidates, path))
            AddName(kCandidates, path);
    });
    return true;
}

void CPrjModPropPage::OnSelectionChanged() {
    bool project = m_nSide == 0 && !Selected(kProjectList).empty();
    ::EnableWindow(GetDlgItem(m_hWnd, kDeps), project);
    ::EnableWindow(GetDlgItem(m_hWnd, kOptions), project);
}

prj::CBasData* CPrjModPropPage::Working(const std::string& name) {
    for (auto& w : m_working) {
        if (prj::EqualNoCase(w->stored_path, name))
            return w.get();
    }
    return nullptr;
}

void CPrjModPropPage::OnOptions() {
    std::vector<std::string> sel = Selected(kProjectList);
    if (sel.empty() || !m_pDoc)
        return;
    prj::CBasData* rec = Working(sel[0]);
    bool made = false;
    if (!rec) {
        m_working.push_back(m_pDoc->Data().NewModule());
        rec = m_working.back().get();
        rec->stored_path = sel[0];
        made = true;
    }
    CCmpOptDlg dlg(this);
    dlg.ModuleOptionsToDialog(m_pDoc, rec);
    if (dlg.DoModal() == IDOK) {
        dlg.DialogToModuleOptions(m_pDoc, rec);
        m_pDoc->SetModifiedFlag(true);
    } else if (made) {
        m_working.pop_back();
    }
}

void CPrjModPropPage::OnDependencies() {
    std::vector<std::string> sel = Selected(kProjectList);
    if (sel.empty() || !m_pDoc)
        return;
    prj::CBasData* rec = Working(sel[0]);
    if (!rec) {
        m_working.push_back(m_pDoc->Data().NewModule());
        rec = m_working.back().get();
        rec->stored_path = sel[0];
    }
    RunDependencyDialog(this, m_pDoc, *rec, true);
}

bool CPrjModPropPage::OnCommand(UINT id, UINT code, HWND control) {
    if (code == BN_CLICKED) {
        switch (id) {
        case kOptions:
            OnOptions();
            return true;
        case kDeps:
            OnDependencies();
            return true;
        case kFile:
            for (const std::string& f :
                 ChooseFiles(prjui::text::kModuleFileTitle, prjui::text::kModuleFileFilter, "bas")) {
                std::string name = m_pDoc ? m_pDoc->Data().GetProjectFileName(f) : f;
                if (!Listed(kProjectList, name))
                    AddName(kProjectList, name);
            }
            return true;
        default:
            break;
        }
    }
    return CPrjListPage::OnCommand(id, code, control);
}

void CPrjModPropPage::OnOK() {
    if (!m_pDoc)
        return;
    prj::ProjectData& d = m_pDoc->Data();
    prj::ProjectEnv& env = prjui::Env();
    auto editorPath = [](const std::string& name) {
        std::string found;
        ForEachEditor([&](CMDIChildWnd*, CBasEditDoc* bas) {
            if (found.empty() && OpenEditorOf(bas, name))
                found = bas->GetPathName();
        });
        return found;
    };
    prj::ModulePageResult r = prj::ApplyModulePage(d, Names(kCandidates), Names(kProjectList), m_working, env.fs,
                                                   env.ide, editorPath);
    ForEachEditor([&](CMDIChildWnd*, CBasEditDoc* bas) {
        for (const std::string& name : r.removed) {
            if (!OpenEditorOf(bas, name))
                continue;
            bas->m_pPrjDoc = nullptr;
            bas->m_nFileId = 0;
            // A new, never saved source no longer asks on the project's behalf.
            if (bas->IsModified() && (bas->GetPathName().empty() || !env.fs.Exists(bas->GetPathName())))
                bas->SetModifiedFlag(false);
        }
        for (const prj::ListedModule& l : r.listed) {
            if (!prj::EqualNoCase(bas->GetPathName(), l.full_path))
                continue;
            if (!bas->IsModified() && !env.fs.Exists(l.full_path))
                bas->SetModifiedFlag(true);
            bas->m_pPrjDoc = m_pDoc;
            bas->m_nFileId = l.doc_number;
        }
    });
    m_pDoc->SyncFromData();
    if (!m_bDefault) {
        if (CPrjTree* tree = CPrjTree::Of(m_pDoc))
            tree->Refresh();
        m_pDoc->SetModifiedFlag(true);
    }
}

// ---- the library page ------------------------------------------------------------

bool CPrjLibPropPage::OnInitDialog() {
    CPrjListPage::OnInitDialog();
    ShowWindow(GetDlgItem(m_hWnd, kDeps), SW_HIDE);
    ShowWindow(GetDlgItem(m_hWnd, kOptions), SW_HIDE);
    if (!m_pDoc)
        return true;
    prj::ProjectData& d = m_pDoc->Data();
    for (const auto* list : {&d.libraries, &d.objects}) {
        for (const std::string& e : *list) {
            AddName(kProjectList, e);
            m_held.push_back(e);
        }
    }
    CMDIFrameWnd* pf = Ide().ProjectFrame();
    for (HWND h = pf ? GetWindow(pf->m_hWndMDIClient, GW_CHILD) : nullptr; h; h = GetWindow(h, GW_HWNDNEXT)) {
        auto* f = dynamic_cast<CMDIChildWnd*>(CWnd::FromHandle(h));
        CDocument* doc = f ? f->GetActiveDocument() : nullptr;
        if (!dynamic_cast<CLibDoc*>(doc) || doc->GetPathName().empty())
            continue;
        std::string name = d.GetProjectFileName(doc->GetPathName());
        if (!Listed(kProjectList, name) && !Listed(kCandidates, name))
            AddName(kCandidates, name);
    }
    std::string lib = prjui::Env().ide.EnvironmentVariable("LIB").value_or("");
    m_strSearchPath = prj::CutSb(Ide().Settings().machineLib + ";" + lib, kLibPathMax - 1);
    return true;
}

bool CPrjLibPropPage::OnCommand(UINT id, UINT code, HWND control) {
    if (id == kFile && code == BN_CLICKED) {
        for (const std::string& f :
             ChooseFiles(prjui::text::kLibraryFileTitle, prjui::text::kLibraryFileFilter, "lib")) {
            std::string name = m_pDoc ? prj::LibraryListName(m_pDoc->Data(), f, m_strSearchPath, prjui::Env().fs) : f;
            if (!Listed(kProjectList, name))
                AddName(kProjectList, name);
        }
        return true;
    }
    return CPrjListPage::OnCommand(id, code, control);
}

void CPrjLibPropPage::OnOK() {
    if (!m_pDoc)
        return;
    prj::ApplyLibraryPage(m_pDoc->Data(), Names(kCandidates), Names(kProjectList), m_held);
    if (!m_bDefault) {
        if (CPrjTree* tree = CPrjTree::Of(m_pDoc))
            tree->Refresh();
    }
    m_pDoc->SetModifiedFlag(true);
    m_pDoc->SyncFromData();
}

// ---- running them -------------------------------------------------------------------

INT_PTR RunProjectSheet(CWnd* parent, int firstPage) {
    std::string caption = prjui::text::kSheetCaption;
    if (CPrjDoc* open = FindProjectDoc())
        caption += " - " + open->Data().project_file_name;
    CPrjModPropPage modules;
    CPrjLibPropPage libraries;
    CPrjPropSeet sheet(caption, parent, static_cast<UINT>(firstPage));
    sheet.AddPage(&modules);
    sheet.AddPage(&libraries);
    INT_PTR r = sheet.DoModal();
    EnableFrames(true);
    return r;
}

bool RunDependencyDialog(CWnd* parent, CPrjDoc* project, prj::CBasData& module, bool shorten) {
    CDepFileDlg dlg(parent, module.deps);
    bool ok = dlg.DoModal() == IDOK;
    ok = ok || dlg.m_bEndedOk;
    if (!ok)
        return false;
    std::string chosen = dlg.m_bEndedOk ? std::string() : dlg.GetPathName();
    if (chosen.find_first_of("*?") != std::string::npos)
        chosen.clear();
    if (prj::ApplyDependencyList(module, dlg.m_list, chosen, shorten && project ? &project->Data() : nullptr) &&
        project)
        project->SetModifiedFlag(true);
    return true;
}
