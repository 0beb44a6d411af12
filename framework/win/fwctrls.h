// Wrappers of the platform's controls. A control tied to its object (made
// with Create or SubclassDlgItem) gets its owner-draw requests and the
// commands and notifications it sends to its parent reflected back to it:
// DrawItem, MeasureItem, CompareItem, OnReflectCommand, OnReflectNotify.
#pragma once

#include "fwwnd.h"

#include <commctrl.h>

#include <string>

class CCtrl : public CWnd {
    FW_DECLARE_DYNAMIC(CCtrl)
public:
    bool Create(const char* className, DWORD style, const RECT& rc, CWnd* parent, UINT id,
                DWORD exStyle = 0);
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
    void EnableWindow(bool enable) { ::EnableWindow(m_hWnd, enable); }
    bool IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd) != 0; }
    void SetWindowText(const std::string& s) { ::SetWindowTextA(m_hWnd, s.c_str()); }

protected:
    virtual void DrawItem(DRAWITEMSTRUCT*) {}
    virtual void MeasureItem(MEASUREITEMSTRUCT*) {}
    virtual int CompareItem(COMPAREITEMSTRUCT*) { return 0; }
    // A notification code sent through WM_COMMAND; true when taken.
    virtual bool OnReflectCommand(UINT code) { (void)code; return false; }
    virtual bool OnReflectNotify(NMHDR* nm, LRESULT* result) { (void)nm; (void)result; return false; }
    bool OnChildNotify(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) override;
};

class CButton : public CCtrl {
    FW_DECLARE_DYNAMIC(CButton)
public:
    int GetCheck() const { return static_cast<int>(SendMessageA(m_hWnd, BM_GETCHECK, 0, 0)); }
    void SetCheck(int check) { SendMessageA(m_hWnd, BM_SETCHECK, static_cast<WPARAM>(check), 0); }
};

class CEdit : public CCtrl {
    FW_DECLARE_DYNAMIC(CEdit)
public:
    void LimitText(int n) { SendMessageA(m_hWnd, EM_LIMITTEXT, static_cast<WPARAM>(n), 0); }
    void SetSel(int start, int end) { SendMessageA(m_hWnd, EM_SETSEL, start, end); }
    void GetSel(int& start, int& end) const;
    void ScrollCaret() { SendMessageA(m_hWnd, EM_SCROLLCARET, 0, 0); }
    int GetLimitText() const { return static_cast<int>(SendMessageA(m_hWnd, EM_GETLIMITTEXT, 0, 0)); }
};

class CComboBox : public CCtrl {
    FW_DECLARE_DYNAMIC(CComboBox)
public:
    int GetCount() const { return static_cast<int>(SendMessageA(m_hWnd, CB_GETCOUNT, 0, 0)); }
    int GetCurSel() const { return static_cast<int>(SendMessageA(m_hWnd, CB_GETCURSEL, 0, 0)); }
    int SetCurSel(int i) { return static_cast<int>(SendMessageA(m_hWnd, CB_SETCURSEL, static_cast<WPARAM>(i), 0)); }
    int AddString(const char* s) { return static_cast<int>(SendMessageA(m_hWnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s))); }
    LPARAM GetItemData(int i) const { return SendMessageA(m_hWnd, CB_GETITEMDATA, static_cast<WPARAM>(i), 0); }
    int GetItemHeight(int i) const { return static_cast<int>(SendMessageA(m_hWnd, CB_GETITEMHEIGHT, static_cast<WPARAM>(i), 0)); }
    void SetItemHeight(int i, int h) { SendMessageA(m_hWnd, CB_SETITEMHEIGHT, static_cast<WPARAM>(i), h); }
    bool GetDroppedState() const { return SendMessageA(m_hWnd, CB_GETDROPPEDSTATE, 0, 0) != 0; }
    void SetDroppedWidth(int w) { SendMessageA(m_hWnd, CB_SETDROPPEDWIDTH, static_cast<WPARAM>(w), 0); }
    std::string GetLBText(int i) const;
};

class CListBox : public CCtrl {
    FW_DECLARE_DYNAMIC(CListBox)
public:
    int GetCount() const { return static_cast<int>(SendMessageA(m_hWnd, LB_GETCOUNT, 0, 0)); }
    int GetCurSel() const { return static_cast<int>(SendMessageA(m_hWnd, LB_GETCURSEL, 0, 0)); }
    int SetCurSel(int i) { return static_cast<int>(SendMessageA(m_hWnd, LB_SETCURSEL, static_cast<WPARAM>(i), 0)); }
    int AddString(const char* s) { return static_cast<int>(SendMessageA(m_hWnd, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s))); }
    LPARAM GetItemData(int i) const { return SendMessageA(m_hWnd, LB_GETITEMDATA, static_cast<WPARAM>(i), 0); }
    void SetItemData(int i, LPARAM d) { SendMessageA(m_hWnd, LB_SETITEMDATA, static_cast<WPARAM>(i), d); }
    void SetTopIndex(int i) { SendMessageA(m_hWnd, LB_SETTOPINDEX, static_cast<WPARAM>(i), 0); }
    std::string GetText(int i) const;
};

class CListCtrl : public CCtrl {
    FW_DECLARE_DYNAMIC(CListCtrl)
public:
    int GetItemCount() const { return static_cast<int>(SendMessageA(m_hWnd, LVM_GETITEMCOUNT, 0, 0)); }
    UINT GetItemState(int i, UINT mask) const {
        return static_cast<UINT>(SendMessageA(m_hWnd, LVM_GETITEMSTATE, static_cast<WPARAM>(i), mask));
    }
    void SetItemState(int i, UINT state, UINT mask);
    int InsertColumn(int col, const char* heading, int fmt, int width);
    int InsertItem(int i, const char* text);
    void SetItemText(int i, int sub, const char* text);
    std::string GetItemText(int i, int sub) const;
    bool GetItemRect(int i, RECT* rc, int code) const;
    bool GetColumn(int col, LVCOLUMNA* c) const {
        return SendMessageA(m_hWnd, LVM_GETCOLUMNA, static_cast<WPARAM>(col), reinterpret_cast<LPARAM>(c)) != 0;
    }
    void DeleteAllItems() { SendMessageA(m_hWnd, LVM_DELETEALLITEMS, 0, 0); }
};

class CSpinButtonCtrl : public CCtrl {
    FW_DECLARE_DYNAMIC(CSpinButtonCtrl)
public:
    void SetRange32(int lo, int hi) { SendMessageA(m_hWnd, UDM_SETRANGE32, static_cast<WPARAM>(lo), hi); }
    void GetRange32(int& lo, int& hi) const;
    void SetPos32(int pos) { SendMessageA(m_hWnd, UDM_SETPOS32, 0, pos); }
};
