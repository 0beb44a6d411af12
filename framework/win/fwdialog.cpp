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
    UpdateData(false);
    return true;
}

bool CDialog::UpdateData(bool save) {
    CDataExchange dx(this, save);
    DoDataExchange(&dx);
    return !dx.m_bFail;
}

void CDialog::OnOK() {
    if (UpdateData(true))
        EndDialog(IDOK);
}

void DDX_Text(CDataExchange* dx, int id, std::string& value) {
    dx->m_idLast = id;
    HWND h = GetDlgItem(dx->m_pDlgWnd->m_hWnd, id);
    if (!h)
        return;
    if (dx->m_bSaveAndValidate) {
        int n = GetWindowTextLengthA(h);
        std::string s(static_cast<size_t>(n) + 1, '\0');
        n = GetWindowTextA(h, s.data(), n + 1);
        s.resize(n > 0 ? static_cast<size_t>(n) : 0);
        value = s;
    } else {
        SetWindowTextA(h, value.c_str());
    }
}

void DDX_Check(CDataExchange* dx, int id, int& value) {
    dx->m_idLast = id;
    HWND h = GetDlgItem(dx->m_pDlgWnd->m_hWnd, id);
    if (!h)
        return;
    if (dx->m_bSaveAndValidate)
        value = static_cast<int>(SendMessageA(h, BM_GETCHECK, 0, 0));
    else
        SendMessageA(h, BM_SETCHECK, static_cast<WPARAM>(value), 0);
}

void DDX_Radio(CDataExchange* dx, int id, int& value) {
    dx->m_idLast = id;
    HWND first = GetDlgItem(dx->m_pDlgWnd->m_hWnd, id);
    if (!first)
        return;
    if (dx->m_bSaveAndValidate)
        value = -1;
    // The group runs from the first button to the next one with WS_GROUP.
    HWND h = first;
    for (int i = 0; h; ++i) {
        if (dx->m_bSaveAndValidate) {
            if (SendMessageA(h, BM_GETCHECK, 0, 0) == BST_CHECKED)
                value = i;
        } else {
            SendMessageA(h, BM_SETCHECK, i == value, 0);
        }
        h = GetWindow(h, GW_HWNDNEXT);
        if (h && (GetWindowLongPtrA(h, GWL_STYLE) & WS_GROUP))
            break;
    }
}

void DDV_MaxChars(CDataExchange* dx, const std::string& value, int maxChars) {
    HWND h = GetDlgItem(dx->m_pDlgWnd->m_hWnd, dx->m_idLast);
    if (!dx->m_bSaveAndValidate) {
        if (h)
            SendMessageA(h, EM_LIMITTEXT, static_cast<WPARAM>(maxChars), 0);
        return;
    }
    if (static_cast<int>(value.size()) > maxChars) {
        MessageBeep(MB_ICONEXCLAMATION);
        if (h)
            SetFocus(h);
        dx->m_bFail = true;
    }
}
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
