#include "fwpropsheet.h"

#include <commctrl.h>

FW_IMPLEMENT_DYNAMIC(CPropertyPage, CDialog)

INT_PTR CALLBACK CPropertyPage::PageProc(HWND hwnd, UINT msg, WPARAM, LPARAM lp) {
    if (msg != WM_INITDIALOG)
        return FALSE;
    // The sheet makes the page's window; it is tied to its object here, and
    // from now on its messages reach the object's window procedure first.
    auto* psp = reinterpret_cast<PROPSHEETPAGEA*>(lp);
    auto* page = reinterpret_cast<CPropertyPage*>(psp->lParam);
    if (!page || !page->SubclassWindow(hwnd))
        return TRUE;
    return page->OnInitDialog() ? TRUE : FALSE;
}

bool CPropertyPage::OnNotify(UINT id, NMHDR* nm, LRESULT* result) {
    if (nm->code == static_cast<UINT>(PSN_APPLY)) {
        OnOK();
        SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT, PSNRET_NOERROR);
        *result = PSNRET_NOERROR;
        return true;
    }
    return CDialog::OnNotify(id, nm, result);
}

bool CPropertyPage::OnCommand(UINT id, UINT, HWND) {
    // OK and Cancel are the sheet's.
    return OnCmdMsg(id, FwCmdKind::Command, nullptr);
}

namespace {

// The sheet being made on this thread: its callback has no data of its own.
thread_local CPropertySheet* t_making = nullptr;

}  // namespace

int CALLBACK CPropertySheet::SheetProc(HWND sheet, UINT msg, LPARAM) {
    if (msg == PSCB_INITIALIZED && t_making) {
        CPropertySheet* s = t_making;
        t_making = nullptr;
        s->OnInitialized(sheet);
    }
    return 0;
}

INT_PTR CPropertySheet::DoModal() {
    std::vector<PROPSHEETPAGEA> pages(m_pages.size());
    for (size_t i = 0; i < m_pages.size(); ++i) {
        PROPSHEETPAGEA& p = pages[i];
        p = PROPSHEETPAGEA{};
        p.dwSize = sizeof p;
        p.dwFlags = PSP_DEFAULT;
        if (m_pages[i]->m_nCaptionId) {
            p.dwFlags |= PSP_USETITLE;
            p.pszTitle = MAKEINTRESOURCEA(m_pages[i]->m_nCaptionId);
        }
        p.hInstance = GetModuleHandleA(nullptr);
        p.pszTemplate = MAKEINTRESOURCEA(m_pages[i]->m_nIDTemplate);
        p.pfnDlgProc = CPropertyPage::PageProc;
        p.lParam = reinterpret_cast<LPARAM>(m_pages[i]);
    }
    PROPSHEETHEADERA h{};
    h.dwSize = sizeof h;
    h.dwFlags = PSH_PROPSHEETPAGE | PSH_NOAPPLYNOW | PSH_USECALLBACK;
    h.pfnCallback = SheetProc;
    h.nStartPage = m_nStartPage;
    h.hwndParent = m_hParent;
    h.hInstance = GetModuleHandleA(nullptr);
    h.pszCaption = m_strCaption.c_str();
    h.nPages = static_cast<UINT>(pages.size());
    h.ppsp = pages.data();
    CPropertySheet* outer = t_making;
    t_making = this;
    INT_PTR r = PropertySheetA(&h);
    t_making = outer;
    for (CPropertyPage* p : m_pages) {
        if (p->m_hWnd)
            p->UnsubclassWindow();
    }
    return r > 0 ? IDOK : IDCANCEL;
}
