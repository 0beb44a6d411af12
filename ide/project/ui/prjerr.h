// The build result window "結果表示": a read-only text view in a child frame
// of the project frame. The build and the debugger write into it through
// AppendResultText; a double click on a compiler error line opens the
// source at that line.
#pragma once

#include "fw.h"
#include "fweditview.h"

#include <string>

class CPrjErrDoc : public CDocument {
    FW_DECLARE_DYNCREATE(CPrjErrDoc)
public:
    void Serialize(CArchive& ar) override;
    void SetTitle(const std::string& title) override;
    bool OnSaveDocument(const std::string&) override { return true; }
    // The bytes of the file loaded (a build log), for the view.
    std::string m_strLoaded;
};

class CPrjErrFrm : public CMDIChildWnd {
    FW_DECLARE_DYNCREATE(CPrjErrFrm)
protected:
    int OnCreate(CREATESTRUCTA* cs) override;
    void OnDestroy() override;
    bool OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) override;
};

class CPrjErrView : public CEditView {
    FW_DECLARE_DYNCREATE(CPrjErrView)
public:
    void OnInitialUpdate() override;
    // The message number of the caret line for the help command: 1 when a
    // number other than 0 was found.
    int GetResultLineAtCaret(unsigned& number);
    // Opens the source named by the caret line at its line: 1 when done.
    int JumpToErrorLine();

protected:
    int OnCreate(CREATESTRUCTA* cs) override;
    bool OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) override;
    void OnTagJump();
    FW_DECLARE_CMD_MAP()
};

// Inserts text at the view's selection (no undo) and clears the modified
// mark. A null view does nothing.
void AppendResultText(CPrjErrView* view, const std::string& text);
void ClearResultText(CPrjErrView* view);

// The view of the open build result frame, or null.
CPrjErrView* FindResultView();
// Opens the build result window (empty) when it is not open; its view.
CPrjErrView* OpenResultView();
