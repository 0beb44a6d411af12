#include "fwrichedit.h"

#include "fwframe.h"

#include <vector>

FW_IMPLEMENT_DYNAMIC(CRichEditDoc, CDocument)
FW_IMPLEMENT_DYNAMIC(CRichEditView, CView)

namespace {

struct StreamState {
    const std::function<long(char*, size_t)>* read;
    const std::function<bool(const char*, size_t)>* write;
};

DWORD CALLBACK InCallback(DWORD_PTR cookie, LPBYTE buf, LONG cb, LONG* pcb) {
    auto* st = reinterpret_cast<StreamState*>(cookie);
    long n = (*st->read)(reinterpret_cast<char*>(buf), static_cast<size_t>(cb));
    if (n < 0) {
        *pcb = 0;
        DWORD err = GetLastError();
        return err ? err : ERROR_READ_FAULT;
    }
    *pcb = n;
    return 0;
}

DWORD CALLBACK OutCallback(DWORD_PTR cookie, LPBYTE buf, LONG cb, LONG* pcb) {
    auto* st = reinterpret_cast<StreamState*>(cookie);
    *pcb = cb;
    if (!(*st->write)(reinterpret_cast<const char*>(buf), static_cast<size_t>(cb))) {
        DWORD err = GetLastError();
        return err ? err : ERROR_WRITE_FAULT;
    }
    return 0;
}

}  // namespace

CRichEditView* CRichEditDoc::GetView() const {
    for (CView* v : m_views) {
        if (auto* r = dynamic_cast<CRichEditView*>(v))
            return r;
    }
    return nullptr;
}

bool CRichEditDoc::OnNewDocument() {
    if (!CDocument::OnNewDocument())
        return false;
    if (CRichEditView* v = GetView()) {
        SetWindowTextA(v->m_hWnd, "");
        v->SetModify(false);
    }
    return true;
}

void CRichEditDoc::SetModifiedFlag(bool modified) {
    CDocument::SetModifiedFlag(modified);
    if (CRichEditView* v = GetView())
        v->SetModify(modified);
}

bool CRichEditDoc::IsModified() {
    CRichEditView* v = GetView();
    return (v && v->m_hWnd) ? v->GetModify() : CDocument::IsModified();
}

bool CRichEditView::Create(CWnd* parent, UINT id, CCreateContext* ctx) {
    static HMODULE lib = LoadLibraryA("riched20.dll");
    if (!lib)
        return false;
    if (ctx && ctx->m_pCurrentDoc)
        ctx->m_pCurrentDoc->AddView(this);
    RECT rc;
    GetClientRect(parent->m_hWnd, &rc);
    DWORD style = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE |
                  ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_NOHIDESEL | ES_SELECTIONBAR;
    if (!CreateEx(0, RICHEDIT_CLASSA, "", style, 0, 0, rc.right, rc.bottom, parent->m_hWnd,
                  reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)))) {
        if (m_pDocument)
            m_pDocument->RemoveView(this);
        return false;
    }
    // The control's own text limit (32 KB) is far below a source's size.
    SendMessageA(m_hWnd, EM_EXLIMITTEXT, 0, 0x7FFFFFF0);
    return true;
}

int CRichEditView::GetLineCount() const { return static_cast<int>(SendMessageA(m_hWnd, EM_GETLINECOUNT, 0, 0)); }
int CRichEditView::LineIndex(int line) const {
    return static_cast<int>(SendMessageA(m_hWnd, EM_LINEINDEX, static_cast<WPARAM>(line), 0));
}
int CRichEditView::LineLength(int line) const {
    int index = LineIndex(line);
    return index < 0 ? 0 : static_cast<int>(SendMessageA(m_hWnd, EM_LINELENGTH, index, 0));
}
int CRichEditView::LineFromChar(int index) const {
    return static_cast<int>(SendMessageA(m_hWnd, EM_EXLINEFROMCHAR, 0, index));
}
int CRichEditView::GetTextLength() const {
    GETTEXTLENGTHEX gtl{GTL_NUMCHARS | GTL_PRECISE, 1200};
    return static_cast<int>(SendMessageA(m_hWnd, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&gtl), 0));
}

std::string CRichEditView::GetTextRange(int from, int to) const {
    if (to <= from)
        return std::string();
    // Each character is at most two bytes in code page 932.
    std::vector<char> buf(static_cast<size_t>(to - from) * 2 + 2, '\0');
    TEXTRANGEA tr{{from, to}, buf.data()};
    SendMessageA(m_hWnd, EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&tr));
    return std::string(buf.data());
}

std::string CRichEditView::GetLineText(int line) const {
    int start = LineIndex(line);
    if (start < 0)
        return std::string();
    return GetTextRange(start, start + LineLength(line));
}

void CRichEditView::GetSel(int& start, int& end) const {
    CHARRANGE cr{};
    SendMessageA(m_hWnd, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&cr));
    start = cr.cpMin;
    end = cr.cpMax;
}

void CRichEditView::SetSel(int start, int end) {
    CHARRANGE cr{start, end};
    SendMessageA(m_hWnd, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&cr));
}

std::string CRichEditView::GetSelText() const {
    int s, e;
    GetSel(s, e);
    return GetTextRange(s, e);
}

void CRichEditView::ReplaceSel(const std::string& text, bool canUndo) {
    SendMessageA(m_hWnd, EM_REPLACESEL, canUndo, reinterpret_cast<LPARAM>(text.c_str()));
}

POINT CRichEditView::PosFromChar(int index) const {
    POINTL pt{-1, -1};
    SendMessageA(m_hWnd, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&pt), index);
    return {pt.x, pt.y};
}

int CRichEditView::CharFromPos(POINT p) const {
    POINTL pt{p.x, p.y};
    return static_cast<int>(SendMessageA(m_hWnd, EM_CHARFROMPOS, 0, reinterpret_cast<LPARAM>(&pt)));
}

int CRichEditView::GetFirstVisibleLine() const {
    return static_cast<int>(SendMessageA(m_hWnd, EM_GETFIRSTVISIBLELINE, 0, 0));
}
bool CRichEditView::GetModify() const { return SendMessageA(m_hWnd, EM_GETMODIFY, 0, 0) != 0; }
void CRichEditView::SetModify(bool modified) { SendMessageA(m_hWnd, EM_SETMODIFY, modified, 0); }
void CRichEditView::SetBackgroundColor(COLORREF color) {
    SendMessageA(m_hWnd, EM_SETBKGNDCOLOR, 0, static_cast<LPARAM>(color));
}

void CRichEditView::GetDefaultCharFormat(CHARFORMATA& cf) const {
    cf.cbSize = sizeof cf;
    SendMessageA(m_hWnd, EM_GETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&cf));
}
void CRichEditView::SetDefaultCharFormat(const CHARFORMATA& cf) {
    SendMessageA(m_hWnd, EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&cf));
}
void CRichEditView::SetAllCharFormat(const CHARFORMATA& cf) {
    SendMessageA(m_hWnd, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&cf));
}

void CRichEditView::SetTabStops(LONG step) {
    PARAFORMAT pf{};
    pf.cbSize = sizeof pf;
    pf.dwMask = PFM_TABSTOPS;
    pf.cTabCount = MAX_TAB_STOPS;
    for (int i = 0; i < MAX_TAB_STOPS; ++i)
        pf.rgxTabs[i] = i * step;
    int s, e;
    GetSel(s, e);
    SetSel(0, -1);
    SendMessageA(m_hWnd, EM_SETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&pf));
    SetSel(s, e);
}

void CRichEditView::HideSelection(bool hide) { SendMessageA(m_hWnd, EM_HIDESELECTION, hide, 0); }
void CRichEditView::SetNoWrap() { SendMessageA(m_hWnd, EM_SETTARGETDEVICE, 0, 1); }
void CRichEditView::SetEventMask(DWORD mask) { SendMessageA(m_hWnd, EM_SETEVENTMASK, 0, mask); }

DWORD CRichEditView::StreamIn(const std::function<long(char*, size_t)>& read) {
    StreamState st{&read, nullptr};
    EDITSTREAM es{reinterpret_cast<DWORD_PTR>(&st), 0, InCallback};
    SendMessageA(m_hWnd, EM_STREAMIN, SF_TEXT, reinterpret_cast<LPARAM>(&es));
    return es.dwError;
}

DWORD CRichEditView::StreamOut(const std::function<bool(const char*, size_t)>& write) {
    StreamState st{nullptr, &write};
    EDITSTREAM es{reinterpret_cast<DWORD_PTR>(&st), 0, OutCallback};
    SendMessageA(m_hWnd, EM_STREAMOUT, SF_TEXT, reinterpret_cast<LPARAM>(&es));
    return es.dwError;
}
