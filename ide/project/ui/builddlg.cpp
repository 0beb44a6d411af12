#include "builddlg.h"

#include "buildrun.h"
#include "ideapp.h"
#include "idehelpers.h"
#include "mainfrm.h"
#include "neighbours.h"

bool CBuildDlg::Create() { return CDialog::Create(IDD, m_pParentWnd); }

namespace {

void CentreOnDesktop(HWND h) {
    RECT rc, desk;
    GetWindowRect(h, &rc);
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &desk, 0);
    int x = desk.left + ((desk.right - desk.left) - (rc.right - rc.left)) / 2;
    int y = desk.top + ((desk.bottom - desk.top) - (rc.bottom - rc.top)) / 2;
    SetWindowPos(h, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void ActivateMain() {
    if (CMainFrame* mf = TheApp().m_pMainFrame)
        SetActiveWindow(mf->m_hWnd);
}

}  // namespace

bool CBuildDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    // The status field holds at most 300 characters.
    SendDlgItemMessageA(m_hWnd, kStatus, EM_LIMITTEXT, 300, 0);
    EnableFrames(false);
    CentreOnDesktop(m_hWnd);
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
        if (CMainFrame* mf = TheApp().m_pMainFrame)
            mf->OnProgramEnded();
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
