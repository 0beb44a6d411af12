#include "fwdialog.h"

FW_IMPLEMENT_DYNAMIC(CDialog, CWnd)

namespace {

// The dialog's own procedure: everything reaches the object through the
// window procedure the framework put in front of the dialog class.
INT_PTR CALLBACK FwDlgProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

}  // namespace

INT_PTR CDialog::DoModal() {
    m_bModal = true;
    HWND parent = m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr;
    fw::BeginCreateHook(this);
    INT_PTR r = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(m_nIDTemplate), parent,
                                FwDlgProc, 0);
    fw::EndCreateHook();
    m_bModal = false;
    return r;
}

bool CDialog::Create(UINT templateId, CWnd* parent) {
    m_nIDTemplate = templateId;
    m_pParentWnd = parent;
    m_bModal = false;
    fw::BeginCreateHook(this);
    HWND h = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId),
                                parent ? parent->m_hWnd : nullptr, FwDlgProc, 0);
    fw::EndCreateHook();
    return h != nullptr;
}

void CDialog::EndDialog(INT_PTR result) {
    if (m_bModal)
        ::EndDialog(m_hWnd, result);
    else
        DestroyWindow();
}

bool CDialog::OnInitDialog() {
    DoDataExchange();
    return true;
}

void CDialog::OnOK() { EndDialog(IDOK); }
void CDialog::OnCancel() { EndDialog(IDCANCEL); }

bool CDialog::PreTranslateMessage(MSG* msg) {
    // A modeless dialog needs the dialog keys from the application's loop.
    return !m_bModal && m_hWnd && IsDialogMessageA(m_hWnd, msg);
}

bool CDialog::OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
    if (msg == WM_INITDIALOG) {
        *result = OnInitDialog() ? TRUE : FALSE;
        return true;
    }
    return CWnd::OnWndMsg(msg, wp, lp, result);
}

bool CDialog::OnCommand(UINT id, UINT code, HWND control) {
    if (OnCmdMsg(id, FwCmdKind::Command, nullptr))
        return true;
    if (code == BN_CLICKED || code == 0) {
        if (id == IDOK) {
            OnOK();
            return true;
        }
        if (id == IDCANCEL) {
            OnCancel();
            return true;
        }
    }
    (void)control;
    return false;
}
