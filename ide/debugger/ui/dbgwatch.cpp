#include "dbgwatch.h"
#include "dbgprj.h"

#include "dbg_texts.h"
#include "dbgsession.h"

#include "ideservices.h"
#include "idehelpers.h"
#include "prjdoc.h"

FW_IMPLEMENT_DYNCREATE(CDbgWatchDoc, CDocument)
FW_IMPLEMENT_DYNCREATE(CDbgWatchFrm, CMDIChildWnd)
FW_IMPLEMENT_DYNCREATE(CDbgWatchView, CView)
FW_IMPLEMENT_DYNAMIC(CDbgListBox, CListBox)

namespace {
constexpr UINT kListId = 1001;
constexpr int kImageWidth = 11;
constexpr UINT kWatchBitmap = 230, kContextMenu = 201;

std::string ErrorText(uint32_t e, bool nextLine, bool withDetail, bool whole) {
    std::string t;
    GetRuntimeErrorText(e, t, nextLine, withDetail, whole);
    return t;
}
}  // namespace

bool CDbgWatchDoc::OnNewDocument() {
    if (!CDocument::OnNewDocument())
        return false;
    SetTitle(txdbg::text::kWatchTitle);
    return true;
}

int CDbgWatchFrm::OnCreate(CREATESTRUCTA* cs) {
    if (CMDIChildWnd::OnCreate(cs) == -1)
        return -1;
    SetWindowTextA(m_hWnd, txdbg::text::kWatchTitle);
    return 0;
}

bool CDbgWatchFrm::OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
    // The close box hides the window: the rows live as long as the run.
    if (msg == WM_SYSCOMMAND && (wp & 0xFFF0) == SC_CLOSE) {
        ShowWindow(m_hWnd, SW_HIDE);
        *result = 0;
        return true;
    }
    if (msg == WM_SETTEXT) {
        // The framework's title updates keep the window's own name.
        *result = DefWindowProc(msg, wp, reinterpret_cast<LPARAM>(txdbg::text::kWatchTitle));
        return true;
    }
    if (msg == WM_GETMINMAXINFO) {
        bool handled = CMDIChildWnd::OnWndMsg(msg, wp, lp, result);
        if (!handled)
            *result = DefWindowProc(msg, wp, lp);
        // Maximised, the caption lies above the client area.
        auto* mm = reinterpret_cast<MINMAXINFO*>(lp);
        int cap = GetSystemMetrics(SM_CYCAPTION);
        mm->ptMaxSize.y += cap;
        mm->ptMaxPosition.y -= cap;
        return true;
    }
    return CMDIChildWnd::OnWndMsg(msg, wp, lp, result);
}

int CDbgWatchView::OnCreate(CREATESTRUCTA* cs) {
    if (CView::OnCreate(cs) == -1)
        return -1;
    CPrjDoc* prj = CurrentProjectDoc();
    m_pList = new CDbgListBox(prj && prj->GetDebugState() == 1 ? prj : nullptr);
    RECT rc{0, 0, 10, 10};
    if (!m_pList->Create("LISTBOX",
                         WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOTIFY |
                             LBS_NOINTEGRALHEIGHT,
                         rc, this, kListId)) {
        delete m_pList;
        m_pList = nullptr;
        return -1;
    }
    SendMessageA(m_pList->m_hWnd, LB_SETITEMHEIGHT, 0, CDbgListBox::kItemHeight);
    return 0;
}

void CDbgWatchView::OnSize(UINT type, int cx, int cy) {
    CView::OnSize(type, cx, cy);
    if (m_pList && m_pList->m_hWnd)
        MoveWindow(m_pList->m_hWnd, 0, 0, cx, cy, TRUE);
}

void CDbgWatchView::OnDestroy() {
    if (m_pList) {
        if (m_pList->m_hWnd)
            m_pList->DestroyWindow();
        delete m_pList;
        m_pList = nullptr;
    }
    CView::OnDestroy();
}

CDbgListBox::CDbgListBox(CPrjDoc* prj) : m_pPrjDoc(prj), m_rows(ErrorText) {
    m_hImages = ImageList_LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kWatchBitmap), kImageWidth, 0,
                                     RGB(0, 255, 0), IMAGE_BITMAP, 0);
    if (m_hImages)
        ImageList_SetOverlayImage(m_hImages, 4, 1);
    HDC dc = GetDC(nullptr);
    LOGFONTA lf{};
    lf.lfHeight = -MulDiv(110, GetDeviceCaps(dc, LOGPIXELSY), 720);
    lf.lfCharSet = SHIFTJIS_CHARSET;
    lstrcpynA(lf.lfFaceName, txdbg::text::kWatchFont, LF_FACESIZE);
    ReleaseDC(nullptr, dc);
    m_hFont = CreateFontIndirectA(&lf);
}

CDbgListBox::~CDbgListBox() {
    if (m_hImages)
        ImageList_Destroy(m_hImages);
    if (m_hFont)
        DeleteObject(m_hFont);
}

txwatch::WatchVar* CDbgListBox::Find(uint32_t number) {
    CPrjDebug* debug = FindDebugOf(m_pPrjDoc);
    if (!debug || !debug->m_pDebug)
        return nullptr;
    return debug->m_pDebug->Engine().FindWatch(number);
}

// The list box mirrors the rows: one entry per row, its index as item data.
void CDbgListBox::Sync() {
    if (!m_hWnd)
        return;
    int sel = GetCurSel();
    int top = static_cast<int>(SendMessageA(m_hWnd, LB_GETTOPINDEX, 0, 0));
    SendMessageA(m_hWnd, WM_SETREDRAW, FALSE, 0);
    SendMessageA(m_hWnd, LB_RESETCONTENT, 0, 0);
    const auto& rows = m_rows.Rows();
    for (size_t i = 0; i < rows.size(); ++i) {
        int at = AddString(rows[i].dumpIndex == 0 ? rows[i].expression.c_str() : rows[i].text.c_str());
        SetItemData(at, static_cast<LPARAM>(i));
    }
    if (sel >= 0 && sel < static_cast<int>(rows.size()))
        SetCurSel(sel);
    if (top >= 0 && top < static_cast<int>(rows.size()))
        SetTopIndex(top);
    SendMessageA(m_hWnd, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CDbgListBox::AddVar(txwatch::WatchVar& var) {
    m_rows.Add(var);
    Sync();
}

void CDbgListBox::RefreshRows() {
    m_rows.Refresh([this](uint32_t n) { return Find(n); });
    Sync();
}

void CDbgListBox::RemoveWatch(uint32_t number) {
    m_rows.Remove(number);
    Sync();
}

bool CDbgListBox::ToggleRow(int index) {
    if (index < 0 || index >= static_cast<int>(m_rows.Rows().size()))
        return false;
    txwatch::WatchVar* var = Find(m_rows.Rows()[index].number);
    if (!var || !m_rows.Toggle(static_cast<size_t>(index), *var))
        return false;
    Sync();
    return true;
}

void CDbgListBox::MeasureItem(MEASUREITEMSTRUCT* mis) { mis->itemHeight = kItemHeight; }

void CDbgListBox::DrawItem(DRAWITEMSTRUCT* dis) {
    if (static_cast<int>(dis->itemID) < 0 || dis->itemID >= m_rows.Rows().size())
        return;
    const txwatch::WatchRow& row = m_rows.Rows()[dis->itemID];
    HDC dc = dis->hDC;
    RECT rc = dis->rcItem;
    FillRect(dc, &rc, GetSysColorBrush(COLOR_WINDOW));
    RECT text = rc;
    text.left += kImageWidth + 3;
    bool selected = (dis->itemState & ODS_SELECTED) != 0;
    if (selected)
        FillRect(dc, &text, GetSysColorBrush(COLOR_ACTIVECAPTION));
    if (row.dumpIndex == 0 && m_hImages) {
        int image = row.expanded ? 1 : row.error ? 2 : 0;
        ImageList_Draw(m_hImages, image, dc, rc.left + 1, rc.top + (rc.bottom - rc.top - kImageWidth) / 2,
                       ILD_TRANSPARENT);
    }
    std::string s = txwatch::WatchRowText(row);
    HGDIOBJ oldFont = m_hFont ? SelectObject(dc, m_hFont) : nullptr;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(selected ? COLOR_CAPTIONTEXT : COLOR_WINDOWTEXT));
    text.left += 2;
    DrawTextA(dc, s.c_str(), static_cast<int>(s.size()), &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    if (oldFont)
        SelectObject(dc, oldFont);
    if (txwatch::WatchRows::ClosesBlock(row)) {
        HPEN pen = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_GRAYTEXT));
        HGDIOBJ old = SelectObject(dc, pen);
        MoveToEx(dc, rc.left, rc.bottom - 1, nullptr);
        LineTo(dc, rc.right, rc.bottom - 1);
        SelectObject(dc, old);
        DeleteObject(pen);
    }
    if (dis->itemState & ODS_FOCUS)
        DrawFocusRect(dc, &rc);
}

bool CDbgListBox::OnReflectCommand(UINT code) {
    if (code == LBN_DBLCLK) {
        ToggleRow(GetCurSel());
        return true;
    }
    return false;
}

bool CDbgListBox::OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
    if (msg == WM_LBUTTONDOWN) {
        int x = static_cast<short>(LOWORD(lp)), y = static_cast<short>(HIWORD(lp));
        LRESULT hit = SendMessageA(m_hWnd, LB_ITEMFROMPOINT, 0, MAKELPARAM(x, y));
        int index = static_cast<int>(LOWORD(hit));
        RECT item{};
        if (!HIWORD(hit) && SendMessageA(m_hWnd, LB_GETITEMRECT, static_cast<WPARAM>(index),
                                         reinterpret_cast<LPARAM>(&item)) != LB_ERR &&
            x < item.left + kImageWidth + 3)
            ToggleRow(index);
    }
    if (msg == WM_CONTEXTMENU || msg == WM_RBUTTONUP) {
        // The debugger's popup; its commands go to the main frame.
        POINT pt;
        GetCursorPos(&pt);
        HMENU bar = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kContextMenu));
        CWnd* main = Ide().MainFrame();
        if (bar && main && main->m_hWnd)
            TrackPopupMenu(GetSubMenu(bar, 0), TPM_LEFTALIGN | TPM_RIGHTBUTTON, pt.x, pt.y, 0, main->m_hWnd, nullptr);
        if (bar)
            DestroyMenu(bar);
        *result = 0;
        return true;
    }
    return CListBox::OnWndMsg(msg, wp, lp, result);
}
