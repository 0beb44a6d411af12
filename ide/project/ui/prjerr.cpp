#include "prjerr.h"

#include "buildrun.h"
#include "error_line.h"
#include "editor.h"
#include "ideservices.h"
#include "idehelpers.h"
#include "prjtexts.h"
#include "prjwin.h"
#include "shellids.h"

FW_IMPLEMENT_DYNCREATE(CPrjErrDoc, CDocument)
FW_IMPLEMENT_DYNCREATE(CPrjErrFrm, CMDIChildWnd)
FW_IMPLEMENT_DYNCREATE(CPrjErrView, CEditView)

FW_BEGIN_CMD_MAP(CPrjErrView, CEditView)
    FW_ON_COMMAND(ID_TAG_JUMP, OnTagJump)
FW_END_CMD_MAP()

void CPrjErrDoc::Serialize(CArchive& ar) {
    if (!ar.IsLoading())
        return;  // the results are never written back
    m_strLoaded.clear();
    char buf[4096];
    size_t n;
    while ((n = ar.Read(buf, sizeof buf)) > 0)
        m_strLoaded.append(buf, n);
}

void CPrjErrDoc::SetTitle(const std::string&) { CDocument::SetTitle(prjui::text::kResultTitle); }

int CPrjErrFrm::OnCreate(CREATESTRUCTA* cs) {
    if (CMDIChildWnd::OnCreate(cs) == -1)
        return -1;
    SetWindowTextA(m_hWnd, prjui::text::kResultTitle);
    return 0;
}

void CPrjErrFrm::OnDestroy() {
    CMDIChildWnd::OnDestroy();
    // No further output may go to the view that is going away.
    prjui::ForgetOutputView();
}

bool CPrjErrFrm::OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
    if (msg == WM_WINDOWPOSCHANGING) {
        bool done = CMDIChildWnd::OnWndMsg(msg, wp, lp, result);
        prjui::KeepCaptionWhenZoomed(m_hWnd, reinterpret_cast<WINDOWPOS*>(lp));
        return done;
    }
    return CMDIChildWnd::OnWndMsg(msg, wp, lp, result);
}

int CPrjErrView::OnCreate(CREATESTRUCTA* cs) {
    if (CEditView::OnCreate(cs) == -1)
        return -1;
    SendMessageA(m_hWnd, EM_SETREADONLY, TRUE, 0);
    return 0;
}

void CPrjErrView::OnInitialUpdate() {
    CEditView::OnInitialUpdate();
    auto* doc = dynamic_cast<CPrjErrDoc*>(GetDocument());
    if (doc && !doc->m_strLoaded.empty()) {
        SetText(doc->m_strLoaded);
        doc->m_strLoaded.clear();
    }
    if (CFrameWnd* f = GetParentFrame())
        SetWindowTextA(f->m_hWnd, prjui::text::kResultTitle);
    if (doc)
        doc->SetModifiedFlag(false);
}

bool CPrjErrView::OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
    if (msg == WM_LBUTTONDBLCLK) {
        // The press has already put the caret on the line.
        if (JumpToErrorLine()) {
            int s, e;
            GetSel(s, e);
            SetSel(s, s);
            *result = 0;
            return true;
        }
    }
    return CEditView::OnWndMsg(msg, wp, lp, result);
}

void CPrjErrView::OnTagJump() { JumpToErrorLine(); }

namespace {

std::string CaretLine(HWND edit) {
    DWORD start = 0, end = 0;
    SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    auto line = static_cast<int>(SendMessageA(edit, EM_LINEFROMCHAR, start, 0));
    auto index = static_cast<int>(SendMessageA(edit, EM_LINEINDEX, static_cast<WPARAM>(line), 0));
    auto len = static_cast<int>(SendMessageA(edit, EM_LINELENGTH, static_cast<WPARAM>(index), 0));
    if (len <= 0)
        return {};
    std::string buf(static_cast<size_t>(len) + 4, '\0');
    *reinterpret_cast<WORD*>(buf.data()) = static_cast<WORD>(buf.size());
    auto got = static_cast<int>(SendMessageA(edit, EM_GETLINE, static_cast<WPARAM>(line),
                                              reinterpret_cast<LPARAM>(buf.data())));
    buf.resize(static_cast<size_t>(got < 0 ? 0 : got));
    return buf;
}

}  // namespace

int CPrjErrView::GetResultLineAtCaret(unsigned& number) {
    std::string line = CaretLine(m_hWnd);
    if (line.empty()) {
        number = 0;
        return 0;
    }
    uint32_t n = 0;
    switch (prj::ParseMessageNumber(line, n)) {
    case prj::MessageNumberParse::kNone:
        return 0;
    case prj::MessageNumberParse::kZero:
        number = 0;
        MessageBoxById(prj::kMsgNoMessageNumber, MB_ICONEXCLAMATION, 0);
        return 0;
    case prj::MessageNumberParse::kNumber:
        number = n;
        return 1;
    }
    return 0;
}

int CPrjErrView::JumpToErrorLine() {
    prj::ErrorLineTarget target;
    if (!prj::ParseErrorLine(CaretLine(m_hWnd), target))
        return 0;
    CMDIFrameWnd* pf = Ide().ProjectFrame();
    if (!pf)
        return 0;
    CMDIChildWnd* frame = nullptr;
    CBasEditView* view = nullptr;
    for (CMDIChildWnd* f = Ide().FindChild(ChildKind::kEditor); f; f = Ide().FindChild(ChildKind::kEditor, f)) {
        if (lstrcmpiA(f->GetWindowText().c_str(), target.file.c_str()) == 0) {
            frame = f;
            ShowWindow(f->m_hWnd, SW_SHOW);
            view = dynamic_cast<CBasEditView*>(f->GetActiveView());
            break;
        }
    }
    if (!frame) {
        Ide().HoldRecentList(true);
        CDocument* doc = Ide().OpenDocumentFile(target.file.c_str());
        Ide().HoldRecentList(false);
        if (!doc)
            return 0;
        view = dynamic_cast<CBasEditView*>(doc->GetFirstView());
        frame = view ? dynamic_cast<CMDIChildWnd*>(view->GetParentFrame()) : nullptr;
    }
    if (!frame || !view)
        return 0;
    SendMessageA(pf->m_hWndMDIClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(frame->m_hWnd), 0);
    view->GoToLine(target.line);
    if (auto* cf = dynamic_cast<CChildFrame*>(frame))
        cf->RedrawMargin(true);
    return 1;
}

void AppendResultText(CPrjErrView* view, const std::string& text) {
    if (!view || !view->m_hWnd || !IsWindow(view->m_hWnd))
        return;
    SendMessageA(view->m_hWnd, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
    if (CDocument* doc = view->GetDocument())
        doc->SetModifiedFlag(false);
}

void ClearResultText(CPrjErrView* view) {
    if (!view || !view->m_hWnd)
        return;
    SetWindowTextA(view->m_hWnd, "");
    if (CDocument* doc = view->GetDocument())
        doc->SetModifiedFlag(false);
}

CPrjErrView* FindResultView() {
    CMDIFrameWnd* pf = Ide().ProjectFrame();
    CMDIChildWnd* f = pf ? Ide().FindChild(ChildKind::kBuildResult) : nullptr;
    return f ? dynamic_cast<CPrjErrView*>(f->GetActiveView()) : nullptr;
}

CPrjErrView* OpenResultView() {
    if (CPrjErrView* v = FindResultView())
        return v;
    Ide().HoldRecentList(true);
    CDocument* doc = Ide().OpenWithTemplate(kSlotBuildResult, nullptr);
    Ide().HoldRecentList(false);
    return doc ? dynamic_cast<CPrjErrView*>(doc->GetFirstView()) : nullptr;
}
