#include "fwfiledlg.h"

FW_IMPLEMENT_DYNAMIC(CFileDialog, CCmdTarget)

CFileDialog::CFileDialog(bool open, const char* defExt, const char* fileName, DWORD flags,
                         const char* filter, CWnd* parent)
    : m_bOpen(open), m_pParentWnd(parent) {
    if (fileName)
        lstrcpynA(m_szFile, fileName, sizeof m_szFile);
    if (defExt)
        m_strDefExt = defExt;
    if (filter) {
        // The platform wants the pairs zero-separated and ended by two zeros.
        m_strFilter = filter;
        for (char& c : m_strFilter) {
            if (c == '|')
                c = '\0';
        }
        m_strFilter += '\0';
    }
    m_ofn.lStructSize = sizeof m_ofn;
    m_ofn.Flags = flags | OFN_ENABLEHOOK | OFN_EXPLORER;
    m_ofn.lpfnHook = HookProc;
    m_ofn.lCustData = reinterpret_cast<LPARAM>(this);
    m_ofn.hInstance = GetModuleHandleA(nullptr);
}

std::string CFileDialog::GetFileName() const {
    std::string p = m_szFile;
    size_t bs = p.find_last_of('\\');
    return bs == std::string::npos ? p : p.substr(bs + 1);
}

INT_PTR CFileDialog::DoModal() {
    m_ofn.hwndOwner = m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr;
    m_ofn.lpstrFile = m_szFile;
    m_ofn.nMaxFile = sizeof m_szFile;
    m_ofn.lpstrFilter = m_strFilter.empty() ? nullptr : m_strFilter.c_str();
    m_ofn.lpstrDefExt = m_strDefExt.empty() ? nullptr : m_strDefExt.c_str();
    m_ofn.lpstrTitle = m_strTitle.empty() ? nullptr : m_strTitle.c_str();
    if (m_ofn.Flags & OFN_ENABLETEMPLATE)
        m_ofn.lpTemplateName = MAKEINTRESOURCEA(m_nTemplate);
    BOOL ok = m_bOpen ? GetOpenFileNameA(&m_ofn) : GetSaveFileNameA(&m_ofn);
    m_hDialog = m_hHook = nullptr;
    return ok ? IDOK : IDCANCEL;
}

UINT_PTR CALLBACK CFileDialog::HookProc(HWND hdlg, UINT msg, WPARAM wp, LPARAM lp) {
    static UINT helpMsg = RegisterWindowMessageA(HELPMSGSTRINGA);
    static UINT okMsg = RegisterWindowMessageA(FILEOKSTRINGA);
    auto* self = reinterpret_cast<CFileDialog*>(GetWindowLongPtrA(hdlg, DWLP_USER));
    if (msg == WM_INITDIALOG) {
        auto* ofn = reinterpret_cast<OPENFILENAMEA*>(lp);
        self = reinterpret_cast<CFileDialog*>(ofn->lCustData);
        SetWindowLongPtrA(hdlg, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
        // Explorer style: the hook is a child of the dialog; older style:
        // the hook is the dialog.
        bool explorer = (ofn->Flags & OFN_EXPLORER) != 0;
        self->m_hDialog = explorer ? GetParent(hdlg) : hdlg;
        self->m_hHook = hdlg;
        if (!explorer)
            self->OnInitDone();
        return TRUE;
    }
    if (!self)
        return 0;
    // Each notice is caught so that no exception crosses the platform's dialog.
    try {
        if (msg == WM_NOTIFY) {
            auto* on = reinterpret_cast<OFNOTIFYA*>(lp);
            switch (on->hdr.code) {
            case CDN_INITDONE:
                self->OnInitDone();
                return 0;
            case CDN_HELP:
                if (self->OnHelp()) {
                    SetWindowLongPtrA(hdlg, DWLP_MSGRESULT, 1);
                    return 1;
                }
                return 0;
            case CDN_FILEOK: {
                char name[MAX_PATH] = {};
                SendMessageA(self->m_hDialog, CDM_GETSPEC, sizeof name, reinterpret_cast<LPARAM>(name));
                bool ok = self->OnFileNameOK(name);
                SetWindowLongPtrA(hdlg, DWLP_MSGRESULT, ok ? 0 : 1);
                return ok ? 0 : 1;
            }
            default:
                return self->OnHookMessage(msg, wp, lp) ? 1 : 0;
            }
        }
        if (msg == helpMsg)
            return self->OnHelp() ? 1 : 0;
        if (msg == okMsg) {
            auto* ofn = reinterpret_cast<OPENFILENAMEA*>(lp);
            std::string name = ofn->lpstrFile ? ofn->lpstrFile : "";
            size_t bs = name.find_last_of('\\');
            bool ok = self->OnFileNameOK(bs == std::string::npos ? name : name.substr(bs + 1));
            SetWindowLongPtrA(hdlg, DWLP_MSGRESULT, ok ? 0 : 1);
            return ok ? 0 : 1;
        }
        if (msg != WM_INITDIALOG && self->OnHookMessage(msg, wp, lp))
            return 1;
    } catch (...) {
    }
    (void)wp;
    return 0;
}
