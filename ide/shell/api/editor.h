// The BASIC source editor: the document (a rich-edit document loaded and
// saved as plain Shift-JIS text with a backup), the MDI child frame with
// the line-number and breakpoint margin, and the rich-edit view with the
// per-line syntax check.
#pragma once

#include "fw.h"

#include <cstdint>
#include <string>

class CPrjDoc;
class CBasEditView;

class CBasEditDoc : public CRichEditDoc {
    FW_DECLARE_DYNCREATE(CBasEditDoc)
public:
    CPrjDoc* m_pPrjDoc = nullptr;
    uint32_t m_nFileId = 0;

    void Serialize(CArchive& ar) override;
    bool OnNewDocument() override;
    bool OnSaveDocument(const std::string& path) override;
    bool SaveModified() override;
    // Shows a line of this source (0: none) with the margin on.
    void UpdateEditFrame(int line);
    // The project asked for this source's debug state (0 without one).
    int GetDebugState() const;
    CBasEditView* GetEditView() const;

    static int StreamInFile(std::FILE* file, CBasEditView* view);
    static int StreamOutFile(std::FILE* file, CBasEditView* view);

protected:
    bool PrepareSave(const std::string& path) override;
    void OnFileSaveAs();
    void KeepProjectInStep(const std::string& oldPath, const std::string& newPath);
    std::string m_strSavingFrom;  // the path before a save
    bool m_bStreamFailed = false;
    FW_DECLARE_CMD_MAP()
};

class CChildFrame : public CMDIChildWnd {
    FW_DECLARE_DYNCREATE(CChildFrame)
public:
    int m_nMarginWidth = 50;
    uint32_t m_bShowMargin = 1;
    COLORREF m_clrMargin = GetSysColor(COLOR_WINDOW);
    HCURSOR m_hCursor = nullptr;

    int GetMarginWidth() const { return m_bShowMargin ? m_nMarginWidth : 0; }
    void ShowMargin(bool show);
    void RedrawMargin(bool flag = true);
    // Paints the margin into dc at (0, 0).
    void PaintMargin(HDC dc);
    // The marker square of a line as painted (empty when the line is not shown).
    bool MarkerSquare(int line, RECT* square);
    void SetMarginFont(const CHARFORMATA& cf, uint32_t tab, int32_t fontSize);
    void SetBackColor(uint32_t colorIndex);
    bool GetWordAtCaret(std::string& word);
    CBasEditView* GetEditView() const;
    void RecalcLayout() override;

protected:
    bool PreCreateWindow(CREATESTRUCTA& cs) override;
    int OnCreate(CREATESTRUCTA* cs) override;
    bool OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) override;
    bool OnNotify(UINT id, NMHDR* nm, LRESULT* result) override;
    void OnPaint() override;
    void OnClose() override;
    void OnLButtonDown(POINT pt);
    bool OnSetCursor(HWND hwnd, UINT hit);
    std::string ModuleName() const;
    CPrjDoc* DebugProject() const;
};

class CBasEditView : public CRichEditView {
    FW_DECLARE_DYNCREATE(CBasEditView)
public:
    CBasEditView();

    uint32_t m_bLineChanged = 0;
    int32_t m_nFirstLine = 1;
    int32_t m_nCaretLine = 1;
    int32_t m_nLastLine = 0;
    uint32_t m_nInsertMode = 1;
    uint32_t m_bInsertSync = 0;
    uint32_t m_bMatchCase = 0;  // find: the case-sensitive flag of the tool bar
    UINT m_nLastPopupMenu = 0;  // the menu resource the last popup came from

    static uint32_t g_nInsertMode;
    static UINT g_nLastKey;
    static UINT WM_CHECKINSERTMODE;

    void OnInitialUpdate() override;
    void OnUpdate(CView*) override { ShowInsertMode(); }
    void GoToLine(int line);
    bool GetWordAtCaret(std::string& word);
    // Selects the next match below (or the right-most above) the caret.
    bool SearchText(const std::string& what, bool matchCase, bool down);
    // First visible line (1-based), last visible line (0-based), caret line
    // (1-based); the result is the line count.
    int GetLinePositions(int& first, int& last, int& caret);
    void FitToFrame();
    void SetBackColor(uint32_t colorIndex);
    void SetEditorFont(const CHARFORMATA& cf, uint32_t tab, int32_t fontSize);
    void GetLogFont(LOGFONTA& lf);
    int CheckLineSyntax(bool forEnter);
    int ReportSyntaxError(int code, int line, int errStart, int errEnd);
    CChildFrame* GetChildFrame() const;
    bool IsDebugging() const;
    void ShowInsertMode();
    void OnActivateView();

protected:
    bool OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) override;
    bool OnCommand(UINT id, UINT code, HWND control) override;
    void OnKeyDown(UINT vk);
    void OnChar(UINT ch);
    void OnLButtonDblClk();
    void ShowPopup(POINT screen);
    void OnCheckInsertMode(WPARAM wp);
    void OnEditCopy() { SendMessageA(m_hWnd, WM_COPY, 0, 0); }
    void OnEditCut() { SendMessageA(m_hWnd, WM_CUT, 0, 0); }
    void OnEditPaste() { SendMessageA(m_hWnd, WM_PASTE, 0, 0); }
    void OnEditClear() { SendMessageA(m_hWnd, WM_CLEAR, 0, 0); }
    void OnEditUndo() { SendMessageA(m_hWnd, EM_UNDO, 0, 0); }
    void OnEditSelectAll() { SetSel(0, -1); }
    void OnUpdateNeedSel(CCmdUI* ui);
    bool m_bInRButtonUp = false;
    bool m_bEnterChecked = false;  // the Enter key's press already checked the line
    FW_DECLARE_CMD_MAP()
};

// The face the editor falls back to when the settings' face is not on the
// machine; empty when the face is there.
std::string EditorFaceFallback(HDC dc, const std::string& face);
