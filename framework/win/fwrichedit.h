// The rich-edit document and view: the view is the platform's rich-edit
// control itself (RichEdit20A), which holds the text; the document loads
// and saves it through the control's plain-text stream. Character indexes
// are the control's (a line end is one CR); texts in and out are code
// page 932 bytes.
#pragma once

#include "fwdoc.h"

#include <richedit.h>

#include <functional>
#include <string>

class CRichEditView;

class CRichEditDoc : public CDocument {
    FW_DECLARE_DYNAMIC(CRichEditDoc)
public:
    CRichEditView* GetView() const;
    bool OnNewDocument() override;
    // The document is modified exactly when the control's text is.
    void SetModifiedFlag(bool modified = true) override;
    bool IsModified() override;
};

class CRichEditView : public CView {
    FW_DECLARE_DYNAMIC(CRichEditView)
public:
    bool Create(CWnd* parent, UINT id, CCreateContext* ctx) override;
    void OnDraw(HDC) override {}
    void OnUpdate(CView*) override {}

    int GetLineCount() const;
    int LineIndex(int line) const;       // -1 past the last line
    int LineLength(int line) const;      // characters, without the line end
    int LineFromChar(int index) const;
    int GetTextLength() const;
    // A line's bytes, without its line end.
    std::string GetLineText(int line) const;
    std::string GetTextRange(int from, int to) const;
    void GetSel(int& start, int& end) const;
    void SetSel(int start, int end);
    std::string GetSelText() const;
    void ReplaceSel(const std::string& text, bool canUndo = false);
    POINT PosFromChar(int index) const;
    int CharFromPos(POINT pt) const;
    int GetFirstVisibleLine() const;
    bool GetModify() const;
    void SetModify(bool modified);
    void SetBackgroundColor(COLORREF color);
    void GetDefaultCharFormat(CHARFORMATA& cf) const;
    void SetDefaultCharFormat(const CHARFORMATA& cf);
    void SetAllCharFormat(const CHARFORMATA& cf);
    // 32 tab stops at the given twips each (stop i = i * step).
    void SetTabStops(LONG stepTwips);
    void HideSelection(bool hide);
    // No word wrap: lines run to their end.
    void SetNoWrap();
    void SetEventMask(DWORD mask);

    // Streams bytes in (read returns the count, -1 on failure) or out
    // (write returns false on failure); the control's error word, 0 on success.
    DWORD StreamIn(const std::function<long(char*, size_t)>& read);
    DWORD StreamOut(const std::function<bool(const char*, size_t)>& write);

protected:
    void OnPaint() override { Default(); }
};
