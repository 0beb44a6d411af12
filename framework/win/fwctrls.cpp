#include "fwctrls.h"

#include <vector>

FW_IMPLEMENT_DYNAMIC(CCtrl, CWnd)
FW_IMPLEMENT_DYNAMIC(CButton, CCtrl)
FW_IMPLEMENT_DYNAMIC(CEdit, CCtrl)
FW_IMPLEMENT_DYNAMIC(CComboBox, CCtrl)
FW_IMPLEMENT_DYNAMIC(CListBox, CCtrl)
FW_IMPLEMENT_DYNAMIC(CListCtrl, CCtrl)
FW_IMPLEMENT_DYNAMIC(CSpinButtonCtrl, CCtrl)

bool CCtrl::Create(const char* className, DWORD style, const RECT& rc, CWnd* parent, UINT id,
                   DWORD exStyle) {
    return CreateEx(exStyle, className, "", style | WS_CHILD, rc.left, rc.top, rc.right - rc.left,
                    rc.bottom - rc.top, parent ? parent->m_hWnd : nullptr,
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)));
}

bool CCtrl::OnChildNotify(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
    switch (msg) {
    case WM_DRAWITEM:
        DrawItem(reinterpret_cast<DRAWITEMSTRUCT*>(lp));
        *result = TRUE;
        return true;
    case WM_MEASUREITEM:
        MeasureItem(reinterpret_cast<MEASUREITEMSTRUCT*>(lp));
        *result = TRUE;
        return true;
    case WM_COMPAREITEM:
        *result = CompareItem(reinterpret_cast<COMPAREITEMSTRUCT*>(lp));
        return true;
    case WM_COMMAND:
        if (OnReflectCommand(HIWORD(wp))) {
            *result = 0;
            return true;
        }
        return false;
    case WM_NOTIFY:
        return OnReflectNotify(reinterpret_cast<NMHDR*>(lp), result);
    default:
        return false;
    }
}

void CEdit::GetSel(int& start, int& end) const {
    DWORD s = 0, e = 0;
    SendMessageA(m_hWnd, EM_GETSEL, reinterpret_cast<WPARAM>(&s), reinterpret_cast<LPARAM>(&e));
    start = static_cast<int>(s);
    end = static_cast<int>(e);
}

std::string CComboBox::GetLBText(int i) const {
    LRESULT n = SendMessageA(m_hWnd, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
    if (n < 0)
        return std::string();
    std::vector<char> buf(static_cast<size_t>(n) + 1, '\0');
    SendMessageA(m_hWnd, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(buf.data()));
    return buf.data();
}

std::string CListBox::GetText(int i) const {
    LRESULT n = SendMessageA(m_hWnd, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
    if (n < 0)
        return std::string();
    std::vector<char> buf(static_cast<size_t>(n) + 1, '\0');
    SendMessageA(m_hWnd, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(buf.data()));
    return buf.data();
}

void CListCtrl::SetItemState(int i, UINT state, UINT mask) {
    LVITEMA it{};
    it.stateMask = mask;
    it.state = state;
    SendMessageA(m_hWnd, LVM_SETITEMSTATE, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&it));
}

int CListCtrl::InsertColumn(int col, const char* heading, int fmt, int width) {
    LVCOLUMNA c{};
    c.mask = LVCF_TEXT | LVCF_FMT | LVCF_WIDTH | LVCF_SUBITEM;
    c.fmt = fmt;
    c.cx = width;
    c.pszText = const_cast<char*>(heading);
    c.iSubItem = col;
    return static_cast<int>(SendMessageA(m_hWnd, LVM_INSERTCOLUMNA, static_cast<WPARAM>(col), reinterpret_cast<LPARAM>(&c)));
}

int CListCtrl::InsertItem(int i, const char* text) {
    LVITEMA it{};
    it.mask = LVIF_TEXT;
    it.iItem = i;
    it.pszText = const_cast<char*>(text);
    return static_cast<int>(SendMessageA(m_hWnd, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&it)));
}

void CListCtrl::SetItemText(int i, int sub, const char* text) {
    LVITEMA it{};
    it.iSubItem = sub;
    it.pszText = const_cast<char*>(text);
    SendMessageA(m_hWnd, LVM_SETITEMTEXTA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&it));
}

std::string CListCtrl::GetItemText(int i, int sub) const {
    char buf[260] = {};
    LVITEMA it{};
    it.iSubItem = sub;
    it.pszText = buf;
    it.cchTextMax = sizeof buf;
    SendMessageA(m_hWnd, LVM_GETITEMTEXTA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&it));
    return buf;
}

bool CListCtrl::GetItemRect(int i, RECT* rc, int code) const {
    rc->left = code;
    return SendMessageA(m_hWnd, LVM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(rc)) != 0;
}

void CSpinButtonCtrl::GetRange32(int& lo, int& hi) const {
    SendMessageA(m_hWnd, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&lo), reinterpret_cast<LPARAM>(&hi));
}
