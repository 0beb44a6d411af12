#include "editor.h"

#include "edittext.h"
#include "idehelpers.h"
#include "idepaths.h"
#include "ideapp.h"
#include "mainfrm.h"
#include "neighbours.h"
#include "openrules.h"
#include "optedit.h"
#include "prjframe.h"
#include "resource.h"
#include "txpp.h"
#include "txscl.h"

#include <cstdio>
#include <vector>

FW_IMPLEMENT_DYNCREATE(CBasEditView, CRichEditView)

FW_BEGIN_CMD_MAP(CBasEditView, CRichEditView)
    FW_ON_COMMAND(FW_ID_EDIT_COPY, OnEditCopy)
    FW_ON_COMMAND(FW_ID_EDIT_CUT, OnEditCut)
    FW_ON_COMMAND(FW_ID_EDIT_PASTE, OnEditPaste)
    FW_ON_COMMAND(FW_ID_EDIT_CLEAR, OnEditClear)
    FW_ON_COMMAND(FW_ID_EDIT_UNDO, OnEditUndo)
    FW_ON_COMMAND(FW_ID_EDIT_SELECT_ALL, OnEditSelectAll)
    FW_ON_UPDATE(FW_ID_EDIT_COPY, OnUpdateNeedSel)
    FW_ON_UPDATE(FW_ID_EDIT_CUT, OnUpdateNeedSel)
    FW_ON_UPDATE(FW_ID_EDIT_CLEAR, OnUpdateNeedSel)
FW_END_CMD_MAP()

uint32_t CBasEditView::g_nInsertMode = 1;
UINT CBasEditView::g_nLastKey = 0;
UINT CBasEditView::WM_CHECKINSERTMODE = 0;

namespace {

constexpr int kMaxLineBytes = 255;

}  // namespace

CBasEditView::CBasEditView() {
    if (!WM_CHECKINSERTMODE)
        WM_CHECKINSERTMODE = RegisterWindowMessageA("WM_CHECKINSERTMODE");
}

CChildFrame* CBasEditView::GetChildFrame() const { return dynamic_cast<CChildFrame*>(GetParentFrame()); }

bool CBasEditView::IsDebugging() const {
    auto* doc = dynamic_cast<CBasEditDoc*>(m_pDocument);
    return doc && doc->GetDebugState() == 1;
}

void CBasEditView::OnInitialUpdate() {
    SetNoWrap();
    SetEventMask(ENM_SELCHANGE | ENM_KEYEVENTS);
    m_nFirstLine = 1;
    m_nCaretLine = 1;
    int count = GetLineCount();
    m_nLastLine = count == 1 ? 0 : count;
    CTvOptEditPage page;
    page.LoadEditorSettings();
    tambrix::EditorSettingsCopy s;
    page.CopyEditorSettings(s);
    HDC dc = GetDC(m_hWnd);
    CHARFORMATA cf;
    LOGFONTA lf;
    BuildEditorCharFormat(dc, s.face, s.fontSize, s.foreColor, cf, lf);
    ReleaseDC(m_hWnd, dc);
    CChildFrame* frame = GetChildFrame();
    if (frame)
        frame->SetBackColor(s.backColor);
    else
        SetBackColor(s.backColor);
    SetEditorFont(cf, s.tab, s.fontSize);
    if (frame)
        frame->ShowMargin(s.lineNo != 0);
    SendMessageA(m_hWnd, EM_SETOPTIONS, ECOOP_XOR, ECO_AUTOWORDSELECTION);
    SetModify(false);
}

void CBasEditView::FitToFrame() {
    if (CChildFrame* f = GetChildFrame())
        f->RecalcLayout();
}

void CBasEditView::SetBackColor(uint32_t index) {
    if (index >= static_cast<uint32_t>(tambrix::kColorCount))
        index = 15;
    SetBackgroundColor(tambrix::PaletteColor(static_cast<int>(index)));
}

void CBasEditView::SetEditorFont(const CHARFORMATA& cf, uint32_t tab, int32_t fontSize) {
    int s, e;
    GetSel(s, e);
    HideSelection(true);
    SetDefaultCharFormat(cf);
    SetAllCharFormat(cf);
    HDC dc = GetDC(m_hWnd);
    LOGFONTA lf{};
    lf.lfHeight = -MulDiv(fontSize, GetDeviceCaps(dc, LOGPIXELSY), 720);
    lf.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(lf.lfFaceName, cf.szFaceName, LF_FACESIZE);
    HFONT font = CreateFontIndirectA(&lf);
    HGDIOBJ old = SelectObject(dc, font);
    SIZE sample{};
    GetTextExtentPoint32A(dc, std::string(80, '*').c_str(), 80, &sample);
    int dpiX = GetDeviceCaps(dc, LOGPIXELSX);
    SelectObject(dc, old);
    DeleteObject(font);
    ReleaseDC(m_hWnd, dc);
    if (tab != 4 && tab != 8)
        tab = 8;
    if (dpiX > 0)
        SetTabStops(static_cast<LONG>(static_cast<int64_t>(sample.cx) * tab * 1440 / (80 * dpiX)));
    SetSel(s, e);
    HideSelection(false);
}

void CBasEditView::GetLogFont(LOGFONTA& lf) {
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(m_hWnd, WM_GETFONT, 0, 0));
    if (font && GetObjectA(font, sizeof lf, &lf))
        return;
    CHARFORMATA cf{};
    GetDefaultCharFormat(cf);
    HDC dc = GetDC(m_hWnd);
    lf = LOGFONTA{};
    lf.lfHeight = -MulDiv(cf.yHeight, GetDeviceCaps(dc, LOGPIXELSY), 1440);
    ReleaseDC(m_hWnd, dc);
    lf.lfWeight = (cf.dwEffects & CFE_BOLD) ? 700 : 400;
    lf.lfItalic = (cf.dwEffects & CFE_ITALIC) != 0;
    lf.lfUnderline = (cf.dwEffects & CFE_UNDERLINE) != 0;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfPitchAndFamily = cf.bPitchAndFamily;
    lstrcpynA(lf.lfFaceName, cf.szFaceName, LF_FACESIZE);
}

int CBasEditView::GetLinePositions(int& first, int& last, int& caret) {
    int count = GetLineCount();
    int top = GetFirstVisibleLine();
    first = top + 1;
    int s, e;
    GetSel(s, e);
    caret = LineFromChar(s) + 1;
    CHARFORMATA cf{};
    GetDefaultCharFormat(cf);
    HDC dc = GetDC(m_hWnd);
    int h = MulDiv(cf.yHeight, GetDeviceCaps(dc, LOGPIXELSY), 1440);
    ReleaseDC(m_hWnd, dc);
    RECT rc;
    GetClientRect(m_hWnd, &rc);
    last = top;
    if (h > 0) {
        int y = PosFromChar(LineIndex(top)).y;
        while (last + 1 < count && y + h < rc.bottom) {
            y += h;
            ++last;
        }
    }
    return count;
}

void CBasEditView::GoToLine(int line) {
    if (line < 1)
        line = GetLineCount();
    int index = LineIndex(line - 1);
    if (index < 0)
        index = GetTextLength();
    SetSel(index, index);
    SendMessageA(m_hWnd, EM_SCROLLCARET, 0, 0);
    m_nCaretLine = line;
    CChildFrame* f = GetChildFrame();
    if (!f)
        return;
    if (IsIconic(f->m_hWnd))
        ShowWindow(f->m_hWnd, SW_RESTORE);
    f->RedrawMargin(false);
    RedrawWindow(f->m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

bool CBasEditView::GetWordAtCaret(std::string& word) {
    int s, e;
    GetSel(s, e);
    std::optional<std::string> w;
    if (s != e) {
        w = tambrix::WordOfSelection(GetTextRange(s, e));
    } else {
        int line = LineFromChar(s);
        std::string text = GetLineText(line);
        w = tambrix::WordAtCaret(text, tambrix::ByteFromCharIndex(text, static_cast<size_t>(s - LineIndex(line))));
    }
    if (!w)
        return false;
    word = *w;
    return true;
}

int CBasEditView::CheckLineSyntax(bool forEnter) {
    if (!m_bLineChanged)
        return 1;
    m_bLineChanged = 0;
    if (GetKeyState(VK_SHIFT) < 0)
        return 1;
    int caret, selEnd;
    GetSel(caret, selEnd);
    if (caret != selEnd)
        return 1;
    int line = LineFromChar(caret);
    std::string text = GetLineText(line);
    if (text.empty())
        return 1;
    if (text.size() > static_cast<size_t>(kMaxLineBytes)) {
        MessageBoxById(IDS_LINE_TOO_LONG, MB_ICONEXCLAMATION, 0);
        if (g_pPrjFrame)
            SetActiveWindow(g_pPrjFrame->m_hWnd);
        SetFocus(m_hWnd);
        return 0;
    }
    int lineStart = LineIndex(line);
    size_t caretByte = tambrix::ByteFromCharIndex(text, static_cast<size_t>(caret - lineStart));
    std::string typed = tambrix::CheckLineText(text, forEnter, caretByte);
    // The buffer is sized in bytes: a line of double-byte characters is
    // twice its character count.
    std::vector<char> buf(tambrix::CheckBufferSize(text.size()), '\0');
    std::copy(typed.begin(), typed.end(), buf.begin());
    int replacedChars = static_cast<int>(tambrix::CharIndexFromByte(typed, typed.size()));
    if (typed.find_first_not_of(' ') == std::string::npos)
        return 1;
    std::vector<unsigned char> tokens(1600, 0);
    if (PP_EdtChk(buf.data(), tokens.data(), pp::kEdtChkLine) != 0) {
        MessageBoxA(m_hWnd, "error on PP_EdtChk", fw::LoadStr(IDR_MAINFRAME).c_str(),
                    MB_ICONEXCLAMATION | MB_SETFOREGROUND);
        return 0;
    }
    unsigned char* record = tokens.data();
    int code = SC_EdtChk("/MW", buf.data(), &record);
    std::string checked = buf.data();
    if (code == 0) {
        if (checked != typed) {
            SetSel(lineStart, lineStart + replacedChars);
            ReplaceSel(checked, false);
            if (g_nLastKey == VK_LEFT || g_nLastKey == VK_UP || g_nLastKey == VK_DOWN)
                SetSel(caret, caret);
        }
        return 1;
    }
    int column = tambrix::TypedErrorColumn(checked, typed, record[2]);
    int start = lineStart + static_cast<int>(tambrix::CharIndexFromByte(typed, static_cast<size_t>(column)));
    int end = lineStart + static_cast<int>(tambrix::CharIndexFromByte(typed, static_cast<size_t>(column + record[3])));
    return ReportSyntaxError(code, line, start, end);
}

int CBasEditView::ReportSyntaxError(int code, int line, int errStart, int errEnd) {
    CChildFrame* frame = GetChildFrame();
    if (!(TheApp().m_nCheckLevel & 2)) {
        if (frame) {
            for (int i = 0; i < 4; ++i) {
                FlashWindow(frame->m_hWnd, i % 2 == 1);
                Sleep(50);
            }
        }
        return 1;
    }
    SetSel(errStart, errEnd);
    char caption[300];
    std::snprintf(caption, sizeof caption, tambrix::kSyntaxErrorCaption,
                  frame ? frame->GetWindowText().c_str() : "", line + 1);
    std::string text;
    // Without the message library the box names what is missing.
    if (!GetRuntimeErrorText(static_cast<unsigned>(code), text, true, true, false))
        text = tambrix::FormatMessageText(fw::LoadStr(IDS_NOT_FOUND), fw::LoadStr(IDS_ERRTEXT_DLL));
    EnableFrames(false);
    MessageBoxA(nullptr, text.c_str(), caption, MB_ICONEXCLAMATION | MB_SETFOREGROUND);
    EnableFrames(true);
    if (CPrjFrame* pf = g_pPrjFrame) {
        SetActiveWindow(pf->m_hWnd);
        if (frame)
            pf->MDIActivate(frame->m_hWnd);
    }
    return 0;
}

void CBasEditView::ShowInsertMode() {
    if (CPrjFrame* pf = g_pPrjFrame)
        pf->m_wndStatusBar.SetPaneText(2, fw::LoadStr(m_nInsertMode ? IDS_INSERT : ID_INDICATOR_OVR).c_str());
}

void CBasEditView::OnActivateView() {
    ShowInsertMode();
    if (TheApp().m_settings.insertModeShared)
        PostMessageA(m_hWnd, WM_CHECKINSERTMODE, 0, 0);
}

void CBasEditView::OnCheckInsertMode(WPARAM wp) {
    if (wp == 0) {
        if (m_bInsertSync || m_nInsertMode == g_nInsertMode)
            return;
        m_bInsertSync = 1;
        PostMessageA(m_hWnd, WM_CHECKINSERTMODE, 1, 0);
    } else if (wp == 1) {
        // The control keeps its own insert state: only a real Insert key
        // switches it, so one is put into the input.
        INPUT in[3] = {};
        for (int i = 0; i < 3; ++i) {
            in[i].type = INPUT_KEYBOARD;
            in[i].ki.wVk = VK_INSERT;
            in[i].ki.dwFlags = i == 1 ? 0 : KEYEVENTF_KEYUP;
        }
        SendInput(3, in, sizeof(INPUT));
        PostMessageA(m_hWnd, WM_CHECKINSERTMODE, 2, 0);
    } else {
        m_bInsertSync = 0;
    }
}

void CBasEditView::OnKeyDown(UINT vk) {
    g_nLastKey = vk;
    if (IsDebugging()) {
        bool drop;
        switch (vk) {
        case VK_BACK: case VK_TAB: case VK_SPACE: case VK_INSERT: case VK_DELETE:
            drop = true;
            break;
        case VK_SHIFT: case VK_MENU: case VK_PAUSE: case VK_CAPITAL: case VK_ESCAPE:
        case VK_PRIOR: case VK_NEXT: case VK_HOME: case VK_LEFT: case VK_UP: case VK_RIGHT:
        case VK_DOWN: case 41: case 42: case 43: case 44: case 47:
            drop = false;
            break;
        default:
            if (vk < 48) {
                int s, e;
                GetSel(s, e);
                drop = s == e;
            } else {
                drop = false;
            }
        }
        if (drop)
            return;
    } else {
        bool leaves = vk == VK_PRIOR || vk == VK_NEXT || vk == VK_UP || vk == VK_DOWN;
        if (vk == VK_LEFT || vk == VK_RIGHT) {
            int s, e;
            GetSel(s, e);
            int line = LineFromChar(s);
            int start = LineIndex(line), len = LineLength(line);
            if (len > 0 && s == e)
                leaves = vk == VK_LEFT ? s == start : s == start + len;
        }
        if (vk == VK_DELETE)
            m_bLineChanged = 1;
        if ((TheApp().m_nCheckLevel & 1) && leaves && !CheckLineSyntax(false))
            return;
        // Some rich-edit controls break the line on the key press, others on
        // the character that follows: the check runs before either.
        if (vk == VK_RETURN) {
            m_bLineChanged = 1;
            m_bEnterChecked = true;
            if ((TheApp().m_nCheckLevel & 1) && !CheckLineSyntax(true))
                return;
        }
    }
    Default();
    int s, e;
    GetSel(s, e);
    m_nCaretLine = LineFromChar(s) + 1;
    if (vk == VK_INSERT) {
        m_nInsertMode ^= 1;
        g_nInsertMode = m_nInsertMode;
        ShowInsertMode();
    }
}

void CBasEditView::OnChar(UINT ch) {
    g_nLastKey = ch;
    if (IsDebugging())
        return;
    if (ch == 13 && m_bEnterChecked) {
        m_bEnterChecked = false;
        Default();
        return;
    }
    m_bEnterChecked = false;
    m_bLineChanged = 1;
    if ((TheApp().m_nCheckLevel & 1) && ch == 13 && !CheckLineSyntax(true))
        return;
    Default();
}

void CBasEditView::OnLButtonDblClk() {
    auto* doc = dynamic_cast<CBasEditDoc*>(m_pDocument);
    if (!IsDebugging() || !doc) {
        Default();
        return;
    }
    int s, e;
    GetSel(s, e);
    CChildFrame* f = GetChildFrame();
    DebugOf(doc->m_pPrjDoc).DebugRunToCursor(LineFromChar(s) + 1, f ? f->m_hWnd : nullptr,
                                             tambrix::StripDirectory(doc->GetPathName()));
}

void CBasEditView::ShowPopup(POINT screen) {
    bool debugging = IsDebugging();
    m_nLastPopupMenu = debugging ? IDR_DEBUG_POPUP : IDR_EDIT_POPUP;
    HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(m_nLastPopupMenu));
    if (!menu)
        return;
    HMENU popup = GetSubMenu(menu, 0);
    auto* doc = dynamic_cast<CBasEditDoc*>(m_pDocument);
    if (debugging && doc && DebugOf(doc->m_pPrjDoc).IsDebugRunning())
        EnableMenuItem(popup, ID_DEBUG_RUN_TO_CURSOR, MF_BYCOMMAND | MF_GRAYED);
    CIdeApp& app = TheApp();
    HWND owner = app.m_pMainFrame ? app.m_pMainFrame->m_hWnd : m_hWnd;
    TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_RIGHTBUTTON, screen.x, screen.y, 0, owner, nullptr);
    DestroyMenu(menu);
}

void CBasEditView::OnUpdateNeedSel(CCmdUI* ui) {
    int s, e;
    GetSel(s, e);
    ui->Enable(s != e);
}

bool CBasEditView::OnCommand(UINT id, UINT code, HWND control) {
    // While debugging the source is read-only: its commands belong to the
    // project frame.
    if (IsDebugging() && g_pPrjFrame) {
        PostMessageA(g_pPrjFrame->m_hWnd, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(control));
        return true;
    }
    return CRichEditView::OnCommand(id, code, control);
}

bool CBasEditView::OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
    if (msg == WM_CHECKINSERTMODE && WM_CHECKINSERTMODE) {
        OnCheckInsertMode(wp);
        *result = 0;
        return true;
    }
    switch (msg) {
    case WM_KEYDOWN:
        OnKeyDown(static_cast<UINT>(wp));
        *result = 0;
        return true;
    case WM_CHAR:
        OnChar(static_cast<UINT>(wp));
        *result = 0;
        return true;
    case WM_LBUTTONDBLCLK:
        OnLButtonDblClk();
        *result = 0;
        return true;
    case WM_RBUTTONUP: {
        POINT pt{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
        ClientToScreen(m_hWnd, &pt);
        ShowPopup(pt);
        m_bInRButtonUp = true;
        *result = Default();
        m_bInRButtonUp = false;
        return true;
    }
    case WM_CONTEXTMENU:
        if (!m_bInRButtonUp)
            ShowPopup(POINT{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))});
        *result = 0;
        return true;
    case WM_SETFOCUS:
        *result = Default();
        OnActivateView();
        return true;
    case WM_VSCROLL:
    case WM_MOUSEWHEEL:
        *result = Default();
        m_nFirstLine = GetFirstVisibleLine() + 1;
        if (CChildFrame* f = GetChildFrame())
            f->RedrawMargin(false);
        return true;
    default:
        return CRichEditView::OnWndMsg(msg, wp, lp, result);
    }
}
