#include "fweditview.h"

#include "fwframe.h"
#include "fwprint.h"

#include <vector>

FW_IMPLEMENT_DYNAMIC(CEditView, CView)

FW_BEGIN_CMD_MAP(CEditView, CView)
    FW_ON_COMMAND(FW_ID_EDIT_UNDO, OnEditUndo)
    FW_ON_COMMAND(FW_ID_EDIT_CUT, OnEditCut)
    FW_ON_COMMAND(FW_ID_EDIT_COPY, OnEditCopy)
    FW_ON_COMMAND(FW_ID_EDIT_PASTE, OnEditPaste)
    FW_ON_UPDATE(FW_ID_EDIT_UNDO, OnUpdateEditUndo)
    FW_ON_UPDATE(FW_ID_EDIT_CUT, OnUpdateNeedSel)
    FW_ON_UPDATE(FW_ID_EDIT_COPY, OnUpdateNeedSel)
    FW_ON_UPDATE(FW_ID_EDIT_PASTE, OnUpdateEditPaste)
    FW_ON_COMMAND(FW_ID_FILE_PRINT, OnFilePrint)
    FW_ON_COMMAND(FW_ID_FILE_PRINT_DIRECT, OnFilePrintDirect)
FW_END_CMD_MAP()

bool CEditView::Create(CWnd* parent, UINT id, CCreateContext* ctx) {
    if (ctx && ctx->m_pCurrentDoc)
        ctx->m_pCurrentDoc->AddView(this);
    RECT rc;
    GetClientRect(parent->m_hWnd, &rc);
    if (!CreateEx(WS_EX_CLIENTEDGE, "EDIT", "", WS_CHILD | WS_VISIBLE | m_dwEditStyle, 0, 0,
                  rc.right, rc.bottom, parent->m_hWnd,
                  reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)))) {
        if (m_pDocument)
            m_pDocument->RemoveView(this);
        return false;
    }
    // The control's default limit (32 KB) is below what a text file holds.
    SendMessageA(m_hWnd, EM_SETLIMITTEXT, 0, 0);
    SendMessageA(m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
    return true;
}

std::string CEditView::GetText() const {
    int n = GetWindowTextLengthA(m_hWnd);
    std::vector<char> buf(static_cast<size_t>(n) + 1, '\0');
    int got = ::GetWindowTextA(m_hWnd, buf.data(), n + 1);
    return std::string(buf.data(), static_cast<size_t>(got > 0 ? got : 0));
}

void CEditView::SetText(const std::string& text) { SetWindowTextA(m_hWnd, text.c_str()); }

void CEditView::GetSel(int& start, int& end) const {
    DWORD s = 0, e = 0;
    SendMessageA(m_hWnd, EM_GETSEL, reinterpret_cast<WPARAM>(&s), reinterpret_cast<LPARAM>(&e));
    start = static_cast<int>(s);
    end = static_cast<int>(e);
}

void CEditView::SetSel(int start, int end, bool noScroll) {
    SendMessageA(m_hWnd, EM_SETSEL, static_cast<WPARAM>(start), end);
    if (!noScroll)
        SendMessageA(m_hWnd, EM_SCROLLCARET, 0, 0);
}

bool CEditView::OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
    switch (msg) {
    case WM_SETFOCUS:
        *result = Default();
        OnSetFocusView();
        return true;
    default:
        return CView::OnWndMsg(msg, wp, lp, result);
    }
}

bool CEditView::OnChildNotify(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
    if (msg == WM_COMMAND && HIWORD(wp) == EN_CHANGE) {
        OnEditChange();
        *result = 0;
        return true;
    }
    return CView::OnChildNotify(msg, wp, lp, result);
}

void CEditView::OnEditUndo() { SendMessageA(m_hWnd, EM_UNDO, 0, 0); }
void CEditView::OnEditCut() { SendMessageA(m_hWnd, WM_CUT, 0, 0); }
void CEditView::OnEditCopy() { SendMessageA(m_hWnd, WM_COPY, 0, 0); }
void CEditView::OnEditPaste() { SendMessageA(m_hWnd, WM_PASTE, 0, 0); }

void CEditView::OnUpdateEditUndo(CCmdUI* ui) { ui->Enable(SendMessageA(m_hWnd, EM_CANUNDO, 0, 0) != 0); }

void CEditView::OnUpdateNeedSel(CCmdUI* ui) {
    int s, e;
    GetSel(s, e);
    ui->Enable(s != e);
}

void CEditView::OnUpdateEditPaste(CCmdUI* ui) { ui->Enable(IsClipboardFormatAvailable(CF_TEXT) != 0); }

void CEditView::OnFilePrint() { PrintView(true); }
void CEditView::OnFilePrintDirect() { PrintView(false); }

void CEditView::PrintView(bool withDialog) {
    auto device = fw::OpenPrintDevice(GetParentFrame(), withDialog);
    if (!device)
        return;
    std::string name = m_pDocument ? m_pDocument->GetTitle() : std::string();
    fw::PrintText(*device, name, GetPrintText());
}
