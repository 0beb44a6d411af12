#include "cmpopt.h"

#include "idehelpers.h"
#include "prjdoc.h"
#include "prjwin.h"
#include "smalldlgs.h"

namespace {

constexpr int kInterrupt = 30009, kOverflow = 30010, kListing = 30011, kCrossRef = 30012, kNoDefault = 30013,
              kQv = 30014, kIso = 30015, kInclude = 30018, kStandard = 510;

}  // namespace

prj::ModuleOptions CCmpOptDlg::Reference(CPrjDoc* project) const {
    return project ? project->Data().default_options : prj::DefaultModuleOptions(prjui::Env().settings);
}

void CCmpOptDlg::Show(const prj::OptionDialogValues& v) {
    m_bInterrupt = v.interrupt_check;
    m_bOverflow = v.overflow_check;
    m_bListing = v.source_listing;
    m_bCrossRef = v.cross_reference;
    m_bNoDefaultVars = v.no_default_vars;
    m_strInclude = v.include_path;
    m_nForNextQv = v.for_next_qv;
}

prj::OptionDialogValues CCmpOptDlg::Values() const {
    prj::OptionDialogValues v;
    v.interrupt_check = m_bInterrupt != 0;
    v.overflow_check = m_bOverflow != 0;
    v.source_listing = m_bListing != 0;
    v.cross_reference = m_bCrossRef != 0;
    v.no_default_vars = m_bNoDefaultVars != 0;
    v.for_next_qv = m_nForNextQv != 0;
    v.include_path = m_strInclude;
    return v;
}

void CCmpOptDlg::ModuleOptionsToDialog(CPrjDoc* project, prj::CBasData* module) {
    m_reference = Reference(project);
    if (module && module->own_options) {
        Show(prj::OptionsToDialog(module->options));
        m_strName = module->stored_path;
    } else {
        Show(prj::OptionsToDialog(m_reference));
        m_strName = project ? project->Data().project_file_name : std::string();
    }
}

void CCmpOptDlg::DialogToModuleOptions(CPrjDoc* project, prj::CBasData* module) {
    m_reference = Reference(project);
    if (module)
        prj::DialogToModuleOptions(Values(), m_reference, *module);
    else if (project)
        prj::DialogToOptions(Values(), project->Data().default_options);
}

void CCmpOptDlg::DoDataExchange(CDataExchange* dx) {
    DDX_Check(dx, kInterrupt, m_bInterrupt);
    DDX_Check(dx, kOverflow, m_bOverflow);
    DDX_Check(dx, kListing, m_bListing);
    DDX_Check(dx, kCrossRef, m_bCrossRef);
    DDX_Check(dx, kNoDefault, m_bNoDefaultVars);
    DDX_Text(dx, kInclude, m_strInclude);
    // The option block holds 127 characters of path.
    DDV_MaxChars(dx, m_strInclude, static_cast<int>(prj::kIncludePathSize) - 1);
}

bool CCmpOptDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    SendDlgItemMessageA(m_hWnd, kInclude, EM_LIMITTEXT, prj::kIncludePathSize - 1, 0);
    if (!m_strName.empty()) {
        char title[256] = {};
        ::GetWindowTextA(m_hWnd, title, sizeof title);
        SetWindowTextA(m_hWnd, (std::string(title) + " - " + m_strName).c_str());
    }
    CheckRadioButton(m_hWnd, kQv, kIso, m_nForNextQv ? kQv : kIso);
    CenterInWorkArea(m_hWnd);
    return true;
}

bool CCmpOptDlg::OnCommand(UINT id, UINT code, HWND control) {
    if (id == kStandard && code == BN_CLICKED) {
        // The reference values into the controls; nothing stored before OK.
        prj::OptionDialogValues v = prj::OptionsToDialog(m_reference);
        CheckDlgButton(m_hWnd, kInterrupt, v.interrupt_check);
        CheckDlgButton(m_hWnd, kOverflow, v.overflow_check);
        CheckDlgButton(m_hWnd, kListing, v.source_listing);
        CheckDlgButton(m_hWnd, kCrossRef, v.cross_reference);
        CheckDlgButton(m_hWnd, kNoDefault, v.no_default_vars);
        SetDlgItemTextA(m_hWnd, kInclude, v.include_path.c_str());
        CheckRadioButton(m_hWnd, kQv, kIso, v.for_next_qv ? kQv : kIso);
        return true;
    }
    return CDialog::OnCommand(id, code, control);
}

void CCmpOptDlg::OnOK() {
    m_nForNextQv = IsDlgButtonChecked(m_hWnd, kQv) == BST_CHECKED;
    CDialog::OnOK();
}
