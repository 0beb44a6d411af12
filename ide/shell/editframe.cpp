#include "editor.h"

#include "editsettings.h"
#include "idehelpers.h"
#include "idepaths.h"
#include "ideapp.h"
#include "neighbours.h"

#include <cstdio>

FW_IMPLEMENT_DYNCREATE(CChildFrame, CMDIChildWnd)

namespace {

const COLORREF kBreakpointRed = RGB(255, 0, 0);
const COLORREF kBreakpointDark = RGB(127, 0, 0);
const COLORREF kStopLineFill = RGB(0, 255, 255);

}  // namespace

CBasEditView* CChildFrame::GetEditView() const {
    return dynamic_cast<CBasEditView*>(m_pViewActive);
}

bool CChildFrame::PreCreateWindow(CREATESTRUCTA& cs) {
    m_bShowMargin = 1;
    m_nMarginWidth = 50;
    return CMDIChildWnd::PreCreateWindow(cs);
}

int CChildFrame::OnCreate(CREATESTRUCTA* cs) {
    if (CMDIChildWnd::OnCreate(cs) == -1)
        return -1;
    if (DebugProject())
        ShowMargin(true);
    return 0;
}

CPrjDoc* CChildFrame::DebugProject() const {
    CBasEditView* v = GetEditView();
    auto* doc = v ? dynamic_cast<CBasEditDoc*>(v->GetDocument()) : nullptr;
    return doc && doc->GetDebugState() ? doc->m_pPrjDoc : nullptr;
}

std::string CChildFrame::ModuleName() const {
    CBasEditView* v = GetEditView();
    CDocument* d = v ? v->GetDocument() : nullptr;
    return d ? tambrix::StripDirectory(d->GetPathName()) : std::string();
}

void CChildFrame::RecalcLayout() {
    RECT rc;
    GetClientRect(m_hWnd, &rc);
    int left = GetMarginWidth();
    if (HWND pane = GetDlgItem(m_hWnd, FW_IDW_PANE_FIRST))
        MoveWindow(pane, left, 0, rc.right > left ? rc.right - left : 0, rc.bottom, TRUE);
}

void CChildFrame::ShowMargin(bool show) {
    if (static_cast<uint32_t>(show) == m_bShowMargin)
        return;
    m_bShowMargin = show;
    if (CBasEditView* v = GetEditView())
        v->FitToFrame();
    InvalidateRect(m_hWnd, nullptr, TRUE);
    UpdateWindow(m_hWnd);
}

void CChildFrame::RedrawMargin(bool) {
    HDC dc = GetDC(m_hWnd);
    PaintMargin(dc);
    ReleaseDC(m_hWnd, dc);
}

void CChildFrame::OnPaint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(m_hWnd, &ps);
    PaintMargin(dc);
    EndPaint(m_hWnd, &ps);
}

bool CChildFrame::MarkerSquare(int line, RECT* sq) {
    CBasEditView* v = GetEditView();
    if (!v || line < 1 || line > v->GetLineCount())
        return false;
    LOGFONTA lf;
    v->GetLogFont(lf);
    HDC dc = GetDC(m_hWnd);
    HFONT font = CreateFontIndirectA(&lf);
    HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICA tm;
    GetTextMetricsA(dc, &tm);
    SelectObject(dc, old);
    DeleteObject(font);
    ReleaseDC(m_hWnd, dc);
    int y = v->PosFromChar(v->LineIndex(line - 1)).y + 2;
    *sq = {2, y + 1, tm.tmHeight, y + tm.tmHeight - 1};
    return true;
}

void CChildFrame::PaintMargin(HDC target) {
    if (!m_bShowMargin)
        return;
    RECT client;
    GetClientRect(m_hWnd, &client);
    int width = m_nMarginWidth, height = client.bottom;
    if (height <= 0)
        return;
    HDC mem = CreateCompatibleDC(target);
    HBITMAP bmp = CreateCompatibleBitmap(target, width, height);
    HGDIOBJ oldBmp = SelectObject(mem, bmp);
    CBasEditView* v = GetEditView();
    if (v) {
        CHARFORMATA cf{};
        v->GetDefaultCharFormat(cf);
        COLORREF text = cf.crTextColor;
        SetTextColor(mem, text);
        SetBkColor(mem, m_clrMargin);
        RECT all{0, 0, width, height};
        HBRUSH back = CreateSolidBrush(m_clrMargin);
        FillRect(mem, &all, back);
        DeleteObject(back);

        int n = v->GetFirstVisibleLine() + 1;
        int count = v->GetLineCount();
        LOGFONTA lf;
        v->GetLogFont(lf);
        HFONT font = CreateFontIndirectA(&lf);
        HGDIOBJ oldFont = SelectObject(mem, font);
        CPrjDoc* prj = DebugProject();
        std::string module = ModuleName();
        TEXTMETRICA tm;
        GetTextMetricsA(mem, &tm);
        // The font's full cell, so that a face whose height leaves out its
        // leading still shows whole numbers.
        int h = tm.tmHeight;
        HPEN pen = CreatePen(PS_SOLID, 1, text);
        HGDIOBJ oldPen = SelectObject(mem, pen);
        for (; n <= count; ++n) {
            int y = v->PosFromChar(v->LineIndex(n - 1)).y + 2;
            RECT box{1, y, width - 1, y + h};
            if (box.bottom >= client.bottom)
                box.bottom -= 2;
            char num[16];
            std::snprintf(num, sizeof num, "%4d", n);
            DrawTextA(mem, num, -1, &box, DT_RIGHT | DT_SINGLELINE | DT_NOPREFIX);
            if (prj) {
                RECT sq{2, y + 1, tm.tmHeight, y + tm.tmHeight - 1};
                int flag = 0;
                if (DebugOf(prj).DebugGetLineBreakpoint(module, n, &flag)) {
                    HBRUSH b = CreateSolidBrush(flag ? kBreakpointDark : kBreakpointRed);
                    HGDIOBJ ob = SelectObject(mem, b);
                    Ellipse(mem, sq.left, sq.top, sq.right, sq.bottom);
                    SelectObject(mem, ob);
                    DeleteObject(b);
                }
                if (DebugOf(prj).DebugIsStopLine(module, n)) {
                    POINT tri[3] = {{sq.left, sq.top}, {sq.right, (sq.top + sq.bottom) / 2}, {sq.left, sq.bottom}};
                    HBRUSH b = CreateSolidBrush(kStopLineFill);
                    HGDIOBJ ob = SelectObject(mem, b);
                    Polygon(mem, tri, 3);
                    SelectObject(mem, ob);
                    DeleteObject(b);
                }
            }
            if (box.bottom + (box.bottom - box.top) >= client.bottom)
                break;
        }
        SelectObject(mem, oldPen);
        DeleteObject(pen);
        SelectObject(mem, oldFont);
        DeleteObject(font);
        BitBlt(target, 0, 0, width, height, mem, 0, 0, SRCCOPY);
    }
    SelectObject(mem, oldBmp);
    DeleteObject(bmp);
    DeleteDC(mem);
}

void CChildFrame::SetMarginFont(const CHARFORMATA& cf, uint32_t tab, int32_t fontSize) {
    CBasEditView* v = GetEditView();
    if (!v)
        return;
    // A font change does not modify the document.
    bool modified = v->GetModify();
    v->SetEditorFont(cf, tab, fontSize);
    RedrawMargin(false);
    if (!modified)
        v->SetModify(false);
}

void CChildFrame::SetBackColor(uint32_t index) {
    if (index >= static_cast<uint32_t>(tambrix::kColorCount))
        index = 15;
    m_clrMargin = tambrix::PaletteColor(static_cast<int>(index));
    if (CBasEditView* v = GetEditView())
        v->SetBackColor(index);
}

bool CChildFrame::GetWordAtCaret(std::string& word) {
    CBasEditView* v = GetEditView();
    return v && v->GetWordAtCaret(word);
}

bool CChildFrame::OnNotify(UINT id, NMHDR* nm, LRESULT* result) {
    if (nm->code == EN_SELCHANGE) {
        if (CBasEditView* v = GetEditView()) {
            int first, last, caret;
            v->GetLinePositions(first, last, caret);
            if (first != v->m_nFirstLine || last != v->m_nLastLine) {
                v->m_nFirstLine = first;
                v->m_nLastLine = last;
                RedrawMargin(false);
            }
        }
    }
    return CMDIChildWnd::OnNotify(id, nm, result);
}

void CChildFrame::OnLButtonDown(POINT pt) {
    CPrjDoc* prj = DebugProject();
    CBasEditView* v = GetEditView();
    if (!prj || !v || pt.x >= GetMarginWidth())
        return;
    int first = v->GetFirstVisibleLine(), count = v->GetLineCount();
    HDC dc = GetDC(m_hWnd);
    TEXTMETRICA tm;
    GetTextMetricsA(dc, &tm);
    ReleaseDC(m_hWnd, dc);
    int line = 0;
    for (int n = first + 1; n <= count; ++n) {
        int index = v->LineIndex(n - 1);
        if (index < 0)
            break;
        int y = v->PosFromChar(index).y;
        if (pt.y < y) {
            line = n - 1;
            break;
        }
        if (pt.y < y + tm.tmHeight) {
            line = n;
            break;
        }
    }
    if (line <= 0)
        return;
    std::string module = ModuleName();
    if (!DebugOf(prj).DebugGetLineBreakpoint(module, line, nullptr))
        DebugOf(prj).DebugToggleBreakpoint(1, line, 1, 1, m_hWnd, module, 1);
    else
        DebugOf(prj).DebugRemoveBreakpoint(line, m_hWnd, module);
}

bool CChildFrame::OnSetCursor(HWND, UINT hit) {
    POINT pt;
    GetCursorPos(&pt);
    ScreenToClient(m_hWnd, &pt);
    RECT rc;
    GetClientRect(m_hWnd, &rc);
    HCURSOR c = (DebugProject() && hit == HTCLIENT && pt.x < GetMarginWidth() && PtInRect(&rc, pt))
                    ? LoadCursorA(GetModuleHandleA(nullptr), "MOUSEPTR")
                    : LoadCursor(nullptr, IDC_ARROW);
    if (c && c != m_hCursor) {
        SetClassLongPtrA(m_hWnd, GCLP_HCURSOR, reinterpret_cast<LONG_PTR>(c));
        m_hCursor = c;
    }
    return false;
}

void CChildFrame::OnClose() {
    EnableFrames(false);
    CMDIChildWnd::OnClose();
    // The frame may be gone now; the frames come back in any case.
    EnableFrames(true);
}

bool CChildFrame::OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
    switch (msg) {
    case WM_LBUTTONDOWN:
        OnLButtonDown(POINT{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))});
        return false;
    case WM_SETCURSOR:
        OnSetCursor(reinterpret_cast<HWND>(wp), LOWORD(lp));
        return false;
    case WM_MDIACTIVATE: {
        bool handled = CMDIChildWnd::OnWndMsg(msg, wp, lp, result);
        if (reinterpret_cast<HWND>(lp) == m_hWnd) {
            if (CBasEditView* v = GetEditView())
                v->OnActivateView();
        }
        return handled;
    }
    default:
        return CMDIChildWnd::OnWndMsg(msg, wp, lp, result);
    }
}
