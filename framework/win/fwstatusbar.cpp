#include "fwstatusbar.h"

#include "fwframe.h"

#include <commctrl.h>

FW_IMPLEMENT_DYNAMIC(CStatusBar, CWnd)

bool CStatusBar::Create(CFrameWnd* parent, DWORD style, UINT id) {
    if (!CreateEx(0, STATUSCLASSNAMEA, "", style | WS_CHILD | CCS_NOPARENTALIGN | CCS_NORESIZE |
                  CCS_NOMOVEY, 0, 0, 0, 0, parent->m_hWnd,
                  reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id))))
        return false;
    parent->m_pStatusBar = this;
    return true;
}

int CStatusBar::TextWidth(const std::string& s) const {
    HDC dc = GetDC(m_hWnd);
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(m_hWnd, WM_GETFONT, 0, 0));
    HGDIOBJ old = font ? SelectObject(dc, font) : nullptr;
    SIZE sz{};
    GetTextExtentPoint32A(dc, s.c_str(), static_cast<int>(s.size()), &sz);
    if (old)
        SelectObject(dc, old);
    ReleaseDC(m_hWnd, dc);
    return sz.cx + 2 * GetSystemMetrics(SM_CXEDGE) + 4;
}

bool CStatusBar::SetIndicators(const UINT* ids, int count) {
    panes_.clear();
    for (int i = 0; i < count; ++i) {
        Pane p{ids[i], SBPS_NORMAL, 0, {}};
        if (p.id != 0) {
            p.text = fw::LoadStr(p.id);
            p.width = TextWidth(p.text);
        } else {
            p.width = 1;
        }
        panes_.push_back(p);
    }
    ApplyParts();
    for (int i = 0; i < count; ++i)
        ShowPane(i);
    return true;
}

void CStatusBar::GetPaneInfo(int index, UINT& id, UINT& style, int& width) const {
    id = panes_[index].id;
    style = panes_[index].style;
    width = panes_[index].width;
}

void CStatusBar::SetPaneInfo(int index, UINT id, UINT style, int width) {
    if (index < 0 || index >= GetCount())
        return;
    panes_[index].id = id;
    panes_[index].style = style;
    panes_[index].width = width;
    ApplyParts();
}

bool CStatusBar::SetPaneText(int index, const char* text, bool update) {
    if (index < 0 || index >= GetCount())
        return false;
    panes_[index].text = text ? text : "";
    if (update)
        ShowPane(index);
    return true;
}

std::string CStatusBar::GetPaneText(int index) const {
    return index >= 0 && index < GetCount() ? panes_[index].text : std::string();
}

void CStatusBar::SetPaneEnabled(int index, bool on) {
    if (index < 0 || index >= GetCount())
        return;
    UINT old = panes_[index].style;
    panes_[index].style = on ? (old & ~SBPS_DISABLED) : (old | SBPS_DISABLED);
    if (old != panes_[index].style)
        ShowPane(index);
}

void CStatusBar::ShowPane(int index) {
    // A disabled pane keeps its text but shows none.
    const Pane& p = panes_[index];
    const char* shown = (p.style & SBPS_DISABLED) ? "" : p.text.c_str();
    SendMessageA(m_hWnd, SB_SETTEXTA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(shown));
}

bool CStatusBar::GetItemRect(int index, RECT* rc) const {
    return SendMessageA(m_hWnd, SB_GETRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(rc)) != 0;
}

int CStatusBar::CommandToIndex(UINT id) const {
    for (int i = 0; i < GetCount(); ++i) {
        if (panes_[i].id == id)
            return i;
    }
    return -1;
}

void CStatusBar::ApplyParts() {
    if (!m_hWnd || panes_.empty())
        return;
    RECT rc;
    GetClientRect(m_hWnd, &rc);
    int fixed = 0;
    for (const Pane& p : panes_) {
        if (!(p.style & SBPS_STRETCH))
            fixed += p.width;
    }
    int stretch = rc.right - fixed;
    std::vector<int> edges;
    int x = 0;
    for (const Pane& p : panes_) {
        x += (p.style & SBPS_STRETCH) ? (stretch > 0 ? stretch : 0) : p.width;
        edges.push_back(x);
    }
    edges.back() = -1;
    SendMessageA(m_hWnd, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
}

int CStatusBar::LayoutHeight() const {
    if (!m_hWnd || !IsWindowVisible(m_hWnd))
        return 0;
    RECT rc;
    GetWindowRect(m_hWnd, &rc);
    return rc.bottom - rc.top;
}

void CStatusBar::Reposition(int parentWidth, int parentHeight) {
    // The control knows its own height once it has a font.
    HDC dc = GetDC(m_hWnd);
    TEXTMETRICA tm{};
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(m_hWnd, WM_GETFONT, 0, 0));
    HGDIOBJ old = font ? SelectObject(dc, font) : nullptr;
    GetTextMetricsA(dc, &tm);
    if (old)
        SelectObject(dc, old);
    ReleaseDC(m_hWnd, dc);
    int h = tm.tmHeight + 2 * GetSystemMetrics(SM_CYBORDER) + 6;
    MoveWindow(m_hWnd, 0, parentHeight - h, parentWidth, h, TRUE);
    ApplyParts();
}

void CStatusBar::UpdateFromFrame(CFrameWnd* target) {
    for (int i = 0; i < GetCount(); ++i) {
        if (panes_[i].id == 0)
            continue;
        CCmdUI ui;
        ui.m_nID = panes_[i].id;
        ui.m_nIndex = static_cast<UINT>(i);
        ui.m_pStatusBar = this;
        target->OnCmdMsg(ui.m_nID, FwCmdKind::Update, &ui);
    }
}
