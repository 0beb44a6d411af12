// Property sheets over the platform's sheet: a modal sheet of pages on
// dialog templates of the program, with no Apply and no Help button. A
// page's window is made only when its tab is first shown; OK reaches the
// pages that were made (OnOK), Cancel none.
#pragma once

#include "fwdialog.h"

#include <prsht.h>

#include <string>
#include <vector>

class CPropertyPage : public CDialog {
    FW_DECLARE_DYNAMIC(CPropertyPage)
public:
    explicit CPropertyPage(UINT templateId, UINT captionId = 0) : CDialog(templateId), m_nCaptionId(captionId) {}
    // The tab's text: a string of the program, else the template's caption.
    UINT m_nCaptionId;
    // The sheet's OK: the page keeps its values. The base does nothing.
    void OnOK() override {}
    void OnCancel() override {}

protected:
    bool OnNotify(UINT id, NMHDR* nm, LRESULT* result) override;
    bool OnCommand(UINT id, UINT code, HWND control) override;

private:
    friend class CPropertySheet;
    static INT_PTR CALLBACK PageProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
};

class CPropertySheet {
public:
    CPropertySheet(std::string caption, HWND parent, UINT startPage = 0)
        : m_strCaption(std::move(caption)), m_hParent(parent), m_nStartPage(startPage) {}
    virtual ~CPropertySheet() = default;
    void AddPage(CPropertyPage* page) { m_pages.push_back(page); }
    // IDOK or IDCANCEL.
    INT_PTR DoModal();

protected:
    // The sheet's window exists, before it is shown.
    virtual void OnInitialized(HWND sheet) { (void)sheet; }

private:
    std::string m_strCaption;
    HWND m_hParent;
    UINT m_nStartPage;
    std::vector<CPropertyPage*> m_pages;
    static int CALLBACK SheetProc(HWND sheet, UINT msg, LPARAM lp);
};
