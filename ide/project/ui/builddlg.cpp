#include "builddlg.h"

#include "buildrun.h"
#include "ideservices.h"
#include "idehelpers.h"
#include "prjdoc.h"
#include "smalldlgs.h"

bool CBuildDlg::Create() { return CDialog::Create(IDD, m_pParentWnd); }

namespace {

void ActivateMain() {
    if (HWND main = Ide().MainWindow())
        SetActiveWindow(main);
}

}  // namespace

bool CBuildDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    // The status field holds at most 300 characters.
    SendDlgItemMessageA(m_hWnd, kStatus, EM_LIMITTEXT, 300, 0);
    EnableFrames(false);
    CenterInWorkArea(m_hWnd);
    return true;
}

void CBuildDlg::SetStatus(const std::string& text) {
    m_strStatus = text.substr(0, 300);
    SetDlgItemTextA(m_hWnd, kStatus, m_strStatus.c_str());
}

void CBuildDlg::EnableRun(bool enable) { ::EnableWindow(GetDlgItem(m_hWnd, kRun), enable); }
void CBuildDlg::EnableDebug(bool enable) { ::EnableWindow(GetDlgItem(m_hWnd, kDebug), enable); }

bool CBuildDlg::OnCommand(UINT id, UINT code, HWND control) {
    if (id == kRun && code == BN_CLICKED) {
        OnRun();
        return true;
    }
    if (id == kDebug && code == BN_CLICKED) {
        OnDebug();
        return true;
    }
    return CDialog::OnCommand(id, code, control);
}

void CBuildDlg::OnRun() {
    if (!prjui::RunProgram(CurrentProjectDoc())) {
        Ide().ProgramEnded();
        return;
    }
    EnableFrames(true);
    ActivateMain();
    m_bEnded = 1;
    m_bClosed = 1;
    EndDialog(IDOK);
}

void CBuildDlg::OnDebug() {
    m_bDebug = 1;
    EnableFrames(true);
    ActivateMain();
    m_bEnded = 1;
    EndDialog(IDOK);
}

void CBuildDlg::EndBuildDialog() {
    EnableFrames(true);
    m_bEnded = 1;
    m_bClosed = 1;
    ActivateMain();
    EndDialog(IDOK);
}

void CBuildDlg::OnOK() { EndBuildDialog(); }
void CBuildDlg::OnCancel() { EndBuildDialog(); }
void CBuildDlg::OnClose() { EndBuildDialog(); }
