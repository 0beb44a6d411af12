// The edit view: the platform's multi-line edit control as a view. Its
// text in and out is code page 932 bytes. It takes the edit commands (undo,
// cut, copy, paste) and prints its text (print with the print dialog,
// direct print on the default printer).
#pragma once

#include "fwdoc.h"
#include "fwres.h"

#include <string>


class CEditView : public CView {
    FW_DECLARE_DYNAMIC(CEditView)
public:
    // The control's style; a view that wraps long lines leaves out
    // ES_AUTOHSCROLL and WS_HSCROLL.
    DWORD m_dwEditStyle = WS_VSCROLL | WS_HSCROLL | ES_AUTOHSCROLL | ES_AUTOVSCROLL |
                          ES_MULTILINE | ES_NOHIDESEL;

    bool Create(CWnd* parent, UINT id, CCreateContext* ctx) override;
    void OnDraw(HDC) override {}
    void OnUpdate(CView*) override {}

    std::string GetText() const;
    void SetText(const std::string& text);
    void GetSel(int& start, int& end) const;
    void SetSel(int start, int end, bool noScroll = false);

protected:
    // The control's text changed (EN_CHANGE).
    virtual void OnEditChange() {}
    // The control got the focus; the default processing has run.
    virtual void OnSetFocusView() {}
    // The text a print command prints.
    virtual std::string GetPrintText() const { return GetText(); }

    void OnPaint() override { Default(); }
    bool OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) override;
    bool OnChildNotify(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) override;

    void OnEditUndo();
    void OnEditCut();
    void OnEditCopy();
    void OnEditPaste();
    void OnUpdateEditUndo(CCmdUI* ui);
    void OnUpdateNeedSel(CCmdUI* ui);
    void OnUpdateEditPaste(CCmdUI* ui);
    void OnFilePrint();
    void OnFilePrintDirect();
    void PrintView(bool withDialog);

    FW_DECLARE_CMD_MAP()
};
