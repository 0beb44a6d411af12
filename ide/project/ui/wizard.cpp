#include "wizard.h"

#include "ideservices.h"
#include "idehelpers.h"
#include "prjtexts.h"
#include "project_texts.h"
#include "wizard_check.h"
#include "smalldlgs.h"
#include "shellids.h"

#include <array>
#include <cstdio>

namespace {

constexpr int kProject = 30018, kMain = 30019, kFormName = 30020, kFormModule = 30021, kFolder = 30022,
              kType = 30040, kBrowse = 30004;
constexpr UINT kFolderTemplate = IDD_FOLDER_PICK;   // the older file dialog with folders and drives only
constexpr size_t kFolderMax = 256;

bool EnterFolder(const std::string& folder) {
    if (SetCurrentDirectoryA(folder.c_str()))
        return true;
    if (!CreateDirectoryA(folder.c_str(), nullptr)) {
        // The installation's project folder first, then the folder.
        CreateDirectoryA(Ide().Settings().projectFolder.c_str(), nullptr);
        if (!CreateDirectoryA(folder.c_str(), nullptr))
            return false;
    }
    return SetCurrentDirectoryA(folder.c_str()) != 0;
}

}  // namespace

void CPrjWizardDlg::DoDataExchange(CDataExchange* dx) {
    DDX_Text(dx, kProject, m_strProjectFile);
    DDX_Text(dx, kMain, m_strMainModule);
    DDX_Text(dx, kFormName, m_strFormName);
    DDX_Text(dx, kFormModule, m_strFormModule);
    DDX_Text(dx, kFolder, m_strFolder);
}

bool CPrjWizardDlg::OnInitDialog() {
    EnableFrames(false);
    char name[64];
    std::snprintf(name, sizeof name, "PROJECT%d.MAK", m_nNumber);
    m_strProjectFile = name;
    m_strMainModule = "MAIN.BAS";
    m_strFormName = "MAINFORM";
    m_strFormModule = "MAINFORM.SUB";
    m_nProgramType = 1;
    m_strFolder = Ide().Settings().projectFolder;
    CDialog::OnInitDialog();
    HWND combo = GetDlgItem(m_hWnd, kType);
    SendMessageA(combo, CB_RESETCONTENT, 0, 0);
    SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(prjui::text::kTypeProcedural));
    SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(prjui::text::kTypeEventDriven));
    SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(m_nProgramType), 0);
    EnableFormModule();
    CenterInWorkArea(m_hWnd);
    return true;
}

void CPrjWizardDlg::EnableFormModule() {
    int type = static_cast<int>(SendDlgItemMessageA(m_hWnd, kType, CB_GETCURSEL, 0, 0));
    ::EnableWindow(GetDlgItem(m_hWnd, kFormModule), type == 1);
}

void CPrjWizardDlg::OnBrowse() {
    // The folder the user went to is the current one when the dialog ends;
    // its hidden name field keeps a placeholder so that OK closes it.
    CFileDialog dlg(true, nullptr, "*.*", OFN_HIDEREADONLY | OFN_LONGNAMES | OFN_NOVALIDATE, nullptr, this);
    dlg.m_ofn.Flags &= ~OFN_EXPLORER;
    dlg.m_ofn.Flags |= OFN_ENABLETEMPLATE;
    dlg.m_nTemplate = kFolderTemplate;
    dlg.m_strTitle = prjui::text::kWizardBrowseTitle;
    if (dlg.DoModal() != IDOK)
        return;
    std::string path = dlg.GetPathName();
    if (size_t bs = path.find_last_of('\\'); bs != std::string::npos)
        SetCurrentDirectoryA(path.substr(0, bs == 2 ? 3 : bs).c_str());
    char folder[kFolderMax + 1] = {};
    GetCurrentDirectoryA(sizeof folder, folder);
    SetDlgItemTextA(m_hWnd, kFolder, folder);
}

bool CPrjWizardDlg::OnCommand(UINT id, UINT code, HWND control) {
    if (id == kType && code == CBN_SELCHANGE) {
        EnableFormModule();
        return true;
    }
    if (id == kBrowse && code == BN_CLICKED) {
        OnBrowse();
        return true;
    }
    return CDialog::OnCommand(id, code, control);
}

void CPrjWizardDlg::OnOK() {
    if (!UpdateData(true))
        return;
    m_nProgramType = static_cast<int>(SendDlgItemMessageA(m_hWnd, kType, CB_GETCURSEL, 0, 0));
    std::array<std::string, 5> fields{m_strProjectFile, m_strMainModule, m_strFormName, m_strFormModule, m_strFolder};
    if (uint32_t msg = prj::CheckWizardFields(fields, 1, 3)) {
        MessageBoxById(msg, MB_ICONEXCLAMATION, 0);
        SetActiveWindow(m_hWnd);
        return;
    }
    std::string folder = prj::WizardFolder(m_strFolder);
    if (!EnterFolder(folder)) {
        char text[600];
        std::snprintf(text, sizeof text, prjui::text::kWizardNoFolder, folder.c_str());
        MessageBoxA(m_hWnd, text, prj::text::kProductVersion, MB_ICONHAND);
        return;
    }
    EnableFrames(true);
    EndDialog(IDOK);
}

void CPrjWizardDlg::OnCancel() {
    EnableFrames(true);
    EndDialog(IDCANCEL);
}
