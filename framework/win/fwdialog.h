// Dialogs on dialog templates of the program: modal (DoModal) or modeless
// (Create). The dialog window is tied to the object like any CWnd.
#pragma once

#include "fwwnd.h"

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
    bool m_bModal = false;
};
