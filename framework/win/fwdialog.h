// Dialogs on dialog templates of the program: modal (DoModal) or modeless
// (Create). The dialog window is tied to the object like any CWnd.
#pragma once

#include "fwwnd.h"

#include <string>

// Dialog data exchange: controls to members (loading) or back (saving).
class CDataExchange {
public:
    CDataExchange(CWnd* dlg, bool save) : m_pDlgWnd(dlg), m_bSaveAndValidate(save) {}
    CWnd* m_pDlgWnd;
    bool m_bSaveAndValidate;
    bool m_bFail = false;  // a check refused the value; the dialog stays
    int m_idLast = 0;      // the control last exchanged (for the checks)
};
void DDX_Text(CDataExchange* dx, int id, std::string& value);
void DDX_Check(CDataExchange* dx, int id, int& value);
// value: the index of the checked button of the group that id starts.
void DDX_Radio(CDataExchange* dx, int id, int& value);
// Loading limits the edit of the last DDX_Text; saving refuses a longer text.
void DDV_MaxChars(CDataExchange* dx, const std::string& value, int maxChars);

class CDialog : public CWnd {
    FW_DECLARE_DYNAMIC(CDialog)
public:
    explicit CDialog(UINT templateId = 0, CWnd* parent = nullptr)
        : m_nIDTemplate(templateId), m_pParentWnd(parent) {}

    // The button that ended the dialog, or -1 when it could not be made.
    virtual INT_PTR DoModal();
    // A modeless dialog; false when the template cannot be made.
    virtual bool Create(UINT templateId, CWnd* parent);
    void EndDialog(INT_PTR result);

    virtual bool OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    bool PreTranslateMessage(MSG* msg) override;

    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;

protected:
    bool OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) override;
    bool OnCommand(UINT id, UINT code, HWND control) override;
    // Binds controls to member objects (called from OnInitDialog).
    virtual void DoDataExchange() {}
    virtual void DoDataExchange(CDataExchange* dx) { (void)dx; }
    // Runs the exchange; false when a check refused a value.
    bool UpdateData(bool save = true);
    bool m_bModal = false;
};
