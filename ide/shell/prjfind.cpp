// The project frame's searches in the active editor: down (312), up (313)
// and one replacement per command (314) with the tool bar's texts.
#include "editor.h"
#include "edittext.h"
#include "ideapp.h"
#include "idehelpers.h"
#include "mainfrm.h"
#include "prjframe.h"
#include "prjrules.h"
#include "project_env.h"

#include <algorithm>

namespace {

// The control's lines joined by LF, with each line's byte start.
struct JoinedText {
    std::string text;
    std::vector<size_t> starts;
    std::vector<std::string> lines;
};

JoinedText JoinLines(const CBasEditView& v) {
    JoinedText j;
    int n = v.GetLineCount();
    for (int i = 0; i < n; ++i) {
        std::string line = v.GetLineText(i);
        while (!line.empty() && (line.back() == '\r' || line.back() == '\n'))
            line.pop_back();
        if (i)
            j.text += '\n';
        j.starts.push_back(j.text.size());
        j.text += line;
        j.lines.push_back(std::move(line));
    }
    return j;
}

size_t ToByte(const CBasEditView& v, const JoinedText& j, int ch) {
    int line = std::clamp(v.LineFromChar(ch), 0, static_cast<int>(j.lines.size()) - 1);
    size_t col = tambrix::ByteFromCharIndex(j.lines[line], static_cast<size_t>(std::max(0, ch - v.LineIndex(line))));
    return j.starts[line] + std::min(col, j.lines[line].size());
}

int ToChar(const CBasEditView& v, const JoinedText& j, size_t b) {
    size_t line = std::upper_bound(j.starts.begin(), j.starts.end(), b) - j.starts.begin() - 1;
    return v.LineIndex(static_cast<int>(line)) +
           static_cast<int>(tambrix::CharIndexFromByte(j.lines[line], b - j.starts[line]));
}

} // namespace

bool CBasEditView::SearchText(const std::string& what, bool matchCase, bool down) {
    if (what.empty() || GetLineCount() <= 0)
        return false;
    HCURSOR old = SetCursor(LoadCursor(nullptr, IDC_WAIT));
    JoinedText j = JoinLines(*this);
    int s, e;
    GetSel(s, e);
    tambrix::TextSel sel{ToByte(*this, j, s), ToByte(*this, j, e)};
    auto m = down ? tambrix::FindDown(j.text, sel, what, matchCase) : tambrix::FindUp(j.text, sel, what, matchCase);
    SetCursor(old);
    if (!m)
        return false;
    SetSel(ToChar(*this, j, m->start), ToChar(*this, j, m->end));
    return true;
}

CBasEditView* CPrjFrame::ActiveEditor() const {
    CMDIChildWnd* active = MDIGetActive();
    return active ? dynamic_cast<CBasEditView*>(active->GetActiveView()) : nullptr;
}

void CPrjFrame::ShowFoundEditor(CBasEditView* view, const std::string& what) {
    SetActiveWindow(m_hWnd);
    if (CMDIChildWnd* child = MDIGetActive())
        SendMessageA(m_hWndMDIClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(child->m_hWnd), 0);
    SetFocus(view->m_hWnd);
    if (CMainFrame* main = TheApp().m_pMainFrame)
        main->m_wndToolBar.AddComboHistory(what);
}

void CPrjFrame::ReportNotFound(const std::string& what) {
    MessageBoxById(prj::kMsgNotFound, MB_ICONEXCLAMATION, 1, what.c_str());
    if (CMainFrame* main = TheApp().m_pMainFrame)
        SetActiveWindow(main->m_hWnd);
}

void CPrjFrame::FindCommand(bool down) {
    CBasEditView* view = ActiveEditor();
    CMainFrame* main = TheApp().m_pMainFrame;
    if (!view || !main)
        return;
    std::string what = main->m_wndToolBar.GetToolBarComboText();
    if (what.empty())
        return;
    if (view->SearchText(what, CMainFrame::g_bMatchCase != 0, down))
        ShowFoundEditor(view, what);
    else
        ReportNotFound(what);
}

void CPrjFrame::OnFindDown() { FindCommand(true); }
void CPrjFrame::OnFindUp() { FindCommand(false); }

void CPrjFrame::OnReplace() {
    CBasEditView* view = ActiveEditor();
    CMainFrame* main = TheApp().m_pMainFrame;
    if (!view || !main || view->IsDebugging())
        return;
    std::string what = main->m_wndToolBar.GetToolBarComboText();
    if (what.empty())
        return;
    // The replacement comes from the replacement field, not the search box.
    std::string with = main->m_wndToolBar.GetToolBarEditText();
    int s, e;
    view->GetSel(s, e);
    view->SetSel(e, e);
    if (!view->SearchText(what, CMainFrame::g_bMatchCase != 0, true)) {
        view->SetSel(s, e);
        ReportNotFound(what);
        return;
    }
    view->ReplaceSel(with, true);
    ShowFoundEditor(view, what);
}
