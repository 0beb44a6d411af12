#include "colorctl.h"

#include "dlgrules.h"
#include "editsettings.h"

FW_IMPLEMENT_DYNAMIC(CColorComboBox, CComboBox)
FW_IMPLEMENT_DYNAMIC(CReportListCtrl, CListCtrl)

namespace {

constexpr int kColorItemHeight = 20;
// The item texts a report list draws, one buffer for all of them (drawing
// happens on the GUI thread only).
char g_itemText[260];

}  // namespace

void CColorComboBox::AddColorItems() {
    for (int i = 0; i < tambrix::kColorCount; ++i)
        AddColor(tambrix::PaletteColor(i));
}

int CColorComboBox::AddColor(uint32_t value) {
    return static_cast<int>(SendMessageA(m_hWnd, CB_ADDSTRING, 0, static_cast<LPARAM>(value)));
}

void CColorComboBox::GetColorName(std::string& name, uint32_t value) {
    int i = tambrix::ColorIndexOf(value);
    if (i >= 0)
        name = tambrix::kColorTable[i].name;
}

void CColorComboBox::MeasureItem(MEASUREITEMSTRUCT* mis) { mis->itemHeight = kColorItemHeight; }

int CColorComboBox::CompareItem(COMPAREITEMSTRUCT* cis) {
    return tambrix::CompareColorItems(static_cast<uint32_t>(cis->itemData1), static_cast<uint32_t>(cis->itemData2));
}

void CColorComboBox::DrawItem(DRAWITEMSTRUCT* dis) {
    HDC dc = dis->hDC;
    bool selected = (dis->itemState & ODS_SELECTED) != 0;
    RECT back = dis->rcItem;
    back.top += 1;
    back.bottom -= 1;
    FillRect(dc, &back, GetSysColorBrush(selected ? COLOR_ACTIVECAPTION : COLOR_WINDOW));
    if (dis->itemID == static_cast<UINT>(-1))
        return;
    RECT sw = dis->rcItem;
    InflateRect(&sw, -3, -3);
    bool dropped = GetDroppedState();
    if (dropped)
        sw.right = sw.left + (sw.bottom - sw.top);
    auto color = static_cast<COLORREF>(dis->itemData);
    HBRUSH brush = CreateSolidBrush(color);
    HGDIOBJ old = SelectObject(dc, brush);
    Rectangle(dc, sw.left, sw.top, sw.right, sw.bottom);
    SelectObject(dc, old);
    DeleteObject(brush);
    if (dropped) {
        std::string name;
        GetColorName(name, static_cast<uint32_t>(color));
        int mode = SetBkMode(dc, TRANSPARENT);
        COLORREF oldText = SetTextColor(dc, GetSysColor(selected ? COLOR_CAPTIONTEXT : COLOR_WINDOWTEXT));
        TextOutA(dc, sw.right + 2, sw.top + 1, name.c_str(), static_cast<int>(name.size()));
        SetTextColor(dc, oldText);
        SetBkMode(dc, mode);
    }
    if (dis->itemAction & ODA_FOCUS)
        DrawFocusRect(dc, &dis->rcItem);
}

int CReportListCtrl::GetSelectedItem() const {
    int n = GetItemCount();
    for (int i = 0; i < n; ++i) {
        if (GetItemState(i, LVIS_SELECTED) & LVIS_SELECTED)
            return i;
    }
    return -1;
}

void CReportListCtrl::RepaintSelectedItems() {
    bool always = (GetWindowLongPtrA(m_hWnd, GWL_STYLE) & LVS_SHOWSELALWAYS) != 0;
    int n = GetItemCount();
    RECT client;
    GetClientRect(m_hWnd, &client);
    for (int i = 0; i < n; ++i) {
        UINT st = GetItemState(i, LVIS_FOCUSED | LVIS_SELECTED);
        if (!(st & LVIS_FOCUSED) && (always || !(st & LVIS_SELECTED)))
            continue;
        RECT label;
        if (!GetItemRect(i, &label, LVIR_LABEL))
            continue;
        label.right = client.right;
        InvalidateRect(m_hWnd, &label, FALSE);
    }
    UpdateWindow(m_hWnd);
}

std::string CReportListCtrl::MakeShortString(HDC dc, const std::string& text, int width, int offset) {
    return tambrix::MakeShortString(text, width, offset, [dc](std::string_view s) {
        SIZE sz{};
        GetTextExtentPoint32A(dc, s.data(), static_cast<int>(s.size()), &sz);
        return static_cast<int>(sz.cx);
    });
}

void CReportListCtrl::DrawItem(DRAWITEMSTRUCT* dis) {
    HDC dc = dis->hDC;
    int item = static_cast<int>(dis->itemID);
    LVITEMA it{};
    it.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_STATE;
    it.iItem = item;
    it.pszText = g_itemText;
    it.cchTextMax = sizeof g_itemText;
    it.stateMask = 0xFFFF;
    SendMessageA(m_hWnd, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&it));
    bool focus = GetFocus() == m_hWnd;
    bool selected = (dis->itemState & ODS_SELECTED) != 0;
    RECT bounds, label;
    GetItemRect(item, &bounds, LVIR_BOUNDS);
    GetItemRect(item, &label, LVIR_LABEL);
    RECT high{label.left, bounds.top, bounds.right, bounds.bottom};
    COLORREF oldText = 0, oldBack = 0;
    if (selected) {
        oldText = SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
        oldBack = SetBkColor(dc, GetSysColor(COLOR_HIGHLIGHT));
        FillRect(dc, &high, GetSysColorBrush(COLOR_HIGHLIGHT));
    } else {
        FillRect(dc, &high, GetSysColorBrush(COLOR_WINDOW));
    }
    int mode = SetBkMode(dc, TRANSPARENT);
    const UINT flags = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_NOCLIP;
    std::string text = MakeShortString(dc, g_itemText, label.right - label.left, 4);
    RECT r = label;
    InflateRect(&r, -2, 0);
    DrawTextA(dc, text.c_str(), -1, &r, flags | DT_LEFT);
    LVCOLUMNA col{};
    col.mask = LVCF_FMT | LVCF_WIDTH;
    int right = label.right;
    for (int c = 1; GetColumn(c, &col); ++c) {
        RECT cr{right, bounds.top, right + col.cx, bounds.bottom};
        right += col.cx;
        std::string sub = GetItemText(item, c);
        if (sub.empty())
            continue;
        std::string shown = MakeShortString(dc, sub, col.cx, 12);
        UINT align = DT_LEFT;
        if (shown == sub) {
            int fmt = col.fmt & LVCFMT_JUSTIFYMASK;
            align = fmt == LVCFMT_RIGHT ? DT_RIGHT : fmt == LVCFMT_CENTER ? DT_CENTER : DT_LEFT;
        }
        InflateRect(&cr, -6, 0);
        DrawTextA(dc, shown.c_str(), -1, &cr, flags | align);
    }
    SetBkMode(dc, mode);
    if ((it.state & LVIS_FOCUSED) && focus)
        DrawFocusRect(dc, &high);
    if (selected) {
        SetTextColor(dc, oldText);
        SetBkColor(dc, oldBack);
    }
}

bool CReportListCtrl::OnReflectNotify(NMHDR* nm, LRESULT* result) {
    if (nm->code != NM_SETFOCUS && nm->code != NM_KILLFOCUS)
        return false;
    if ((GetWindowLongPtrA(m_hWnd, GWL_STYLE) & LVS_TYPEMASK) == LVS_REPORT)
        RepaintSelectedItems();
    *result = 0;
    return true;
}
