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
    explicit CPropertyPage(UINT templateId) : CDialog(templateId) {}
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
    CPropertySheet(std::string caption, HWND parent) : m_strCaption(std::move(caption)), m_hParent(parent) {}
    void AddPage(CPropertyPage* page) { m_pages.push_back(page); }
    // IDOK or IDCANCEL.
    INT_PTR DoModal();

private:
    std::string m_strCaption;
    HWND m_hParent;
    std::vector<CPropertyPage*> m_pages;
};
