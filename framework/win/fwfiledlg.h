// The platform's file dialog: explorer style with a hook, or the older
// style on a dialog template of the program (OFN_ENABLETEMPLATE without
// OFN_EXPLORER). Classes on top override the notices they care for.
#pragma once

#include "fwwnd.h"

#include <commdlg.h>

#include <string>

class CFileDialog : public CCmdTarget {
    FW_DECLARE_DYNAMIC(CFileDialog)
public:
    // open: an open dialog, else a save dialog. filter: "|"-separated pairs.
    CFileDialog(bool open, const char* defExt = nullptr, const char* fileName = nullptr,
                DWORD flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, const char* filter = nullptr,
                CWnd* parent = nullptr);
    CFileDialog(const CFileDialog&) = delete;
    CFileDialog& operator=(const CFileDialog&) = delete;

    virtual INT_PTR DoModal();
    std::string GetPathName() const { return m_szFile; }
    std::string GetFileName() const;

    OPENFILENAMEA m_ofn{};
    // The older style: clear OFN_EXPLORER, set OFN_ENABLETEMPLATE and the
    // program's template id.
    UINT m_nTemplate = 0;
    std::string m_strTitle;
    HWND m_hDialog = nullptr;  // the dialog while it is up
    HWND m_hHook = nullptr;    // the hook's window: in the explorer style the
                               // child dialog of the program's template

    // The help button; true when handled (nothing more is done).
    virtual bool OnHelp() { return false; }
    // The name the user chose; typed is the name as typed, without the
    // folder. False refuses it and the dialog stays.
    virtual bool OnFileNameOK(const std::string& typed) { (void)typed; return true; }
    virtual void OnInitDone() {}
    // Any other message of the hook's window: commands of the template's
    // controls, the explorer style's other notices. True when handled.
    virtual bool OnHookMessage(UINT msg, WPARAM wp, LPARAM lp) {
        (void)msg, (void)wp, (void)lp;
        return false;
    }

protected:
    bool m_bOpen;
    char m_szFile[MAX_PATH * 2] = {};
    std::string m_strFilter, m_strDefExt;
    CWnd* m_pParentWnd;

private:
    static UINT_PTR CALLBACK HookProc(HWND hdlg, UINT msg, WPARAM wp, LPARAM lp);
};
