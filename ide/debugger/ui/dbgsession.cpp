#include "dbgsession.h"
#include "dbgprj.h"
#include "dbg_texts.h"
#include "dbgdlgs.h"
#include "dbgwatch.h"
#include "txpp.h"

#include "editor.h"
#include "ideservices.h"
#include "idehelpers.h"
#include "idepaths.h"
#include "prjdoc.h"

#include <cstdio>
#include <cstring>
#include <float.h>

namespace {
DebugOutputSink g_outputSink = nullptr;

std::string WatchErrorText(uint32_t e, bool nextLine, bool withDetail, bool whole) {
    std::string t;
    GetRuntimeErrorText(e, t, nextLine, withDetail, whole);
    return t;
}
}  // namespace

void SetDebugOutputSink(DebugOutputSink sink) { g_outputSink = sink; }

FW_IMPLEMENT_DYNAMIC(CDebug, CCmdTarget)

CDebug::CDebug(CPrjDebug* prj, txdbg::KeptState& kept) : prj_(prj), engine_(target_, *this, kept) {
    engine_.SetWatchServices([](char* text, uint8_t* tokens, int mode) { return PP_EdtChk(text, tokens, mode); },
                             WatchErrorText);
}

bool CDebug::Start(const std::string& program, const std::string& args, bool showOutput) {
    shownModule_.clear();
    return engine_.Start(program, args, showOutput);
}

bool CDebug::Stop(int graceful) {
    if (engine_.State() == txdbg::kStateStopping || engine_.State() == txdbg::kStateReset ||
        engine_.State() == txdbg::kStateStarting)
        return false;
    // The watch window's place is kept for the next run (none when iconic
    // or zoomed); the window itself ends with the run.
    if (CDbgWatchFrm* f = FindWatchFrame()) {
        RECT rc{};
        if (!IsIconic(f->m_hWnd) && !IsZoomed(f->m_hWnd)) {
            GetWindowRect(f->m_hWnd, &rc);
            MapWindowPoints(nullptr, GetParent(f->m_hWnd), reinterpret_cast<POINT*>(&rc), 2);
        }
        prj_->m_rcWatch = rc;
        SendMessageA(f->m_hWnd, WM_CLOSE, 0, 0);
    }
    bool ok = engine_.Stop(graceful);
    if (ok && !shownModule_.empty()) {
        if (CBasEditDoc* doc = FindSource(shownModule_, false))
            doc->UpdateEditFrame(0);
        shownModule_.clear();
    }
    return ok;
}

void CDebug::PumpDebugEvents(int flag) { engine_.PumpDebugEvents(flag); }

CBasEditDoc* CDebug::FindSource(const std::string& module, bool open) {
    IdeServices& ide = Ide();
    for (int slot : {kSlotBasic, kSlotSub}) {
        CMultiDocTemplate* t = Ide().Template(slot);
        if (!t)
            continue;
        for (CDocument* d : t->GetDocuments()) {
            auto* doc = dynamic_cast<CBasEditDoc*>(d);
            if (doc && _stricmp(tambrix::StripDirectory(doc->GetPathName()).c_str(), module.c_str()) == 0)
                return doc;
        }
    }
    if (!open)
        return nullptr;
    return dynamic_cast<CBasEditDoc*>(ide.OpenWithTemplate(kSlotBasic, module.c_str()));
}

static void BringFramesForward() {
    IdeServices& ide = Ide();
    if (ide.ProjectFrame() && ide.ProjectFrame()->m_hWnd)
        SetForegroundWindow(ide.ProjectFrame()->m_hWnd);
    if (ide.MainFrame() && ide.MainFrame()->m_hWnd)
        SetForegroundWindow(ide.MainFrame()->m_hWnd);
}

void CDebug::ShowStopLine(const std::string& module, uint32_t line) {
    if (!shownModule_.empty() && _stricmp(shownModule_.c_str(), module.c_str()) != 0) {
        if (CBasEditDoc* old = FindSource(shownModule_, false))
            old->UpdateEditFrame(0);
    }
    shownModule_ = module;
    BringFramesForward();
    CBasEditDoc* doc = FindSource(module, true);
    if (!doc)
        return;
    doc->m_pPrjDoc = prj_->m_pDoc;
    doc->UpdateEditFrame(static_cast<int>(line));
    doc->UpdateAllViews(nullptr);
}

void CDebug::Message(int id, const std::string& arg) {
    char text[1024];
    std::snprintf(text, sizeof text, txdbg::MessageText(id), arg.c_str());
    MessageBoxById(0, MB_ICONHAND, 1, text);
}

void CDebug::MessageText(const std::string& text) { MessageBoxById(0, MB_ICONHAND, 1, text.c_str()); }

void CDebug::BareMessage(const std::string& text) { MessageBoxA(nullptr, text.c_str(), nullptr, MB_ICONEXCLAMATION); }

void CDebug::WaitCursor(bool on) { SetCursor(LoadCursorA(nullptr, on ? IDC_WAIT : IDC_ARROW)); }

void CDebug::ResetFpu() { _fpreset(); }

void CDebug::AppError(const std::string& text) {
    BringFramesForward();
    MessageBoxById(0, MB_ICONEXCLAMATION, 0, text.c_str());
}

void CDebug::RuntimeError(const std::string& module, uint32_t line, uint32_t error) {
    BringFramesForward();
    CDbgErrorDlg dlg;
    dlg.m_nError = error;
    dlg.m_nLine = line;
    dlg.m_strModule = module;
    dlg.DoModal();
}

void CDebug::Output(const std::string& text) {
    prj_->m_strDebugOutput += text;
    if (g_outputSink)
        g_outputSink(text);
}

// ---- the watch window ------------------------------------------------------

CDbgWatchFrm* CDebug::FindWatchFrame() const {
    CMultiDocTemplate* t = Ide().Template(kSlotWatch);
    if (!t)
        return nullptr;
    for (CDocument* d : t->GetDocuments()) {
        for (CView* v : d->GetViews()) {
            if (auto* f = dynamic_cast<CDbgWatchFrm*>(v->GetParentFrame()); f && f->m_hWnd)
                return f;
        }
    }
    return nullptr;
}

CDbgListBox* CDebug::WatchList() const {
    CDbgWatchFrm* f = FindWatchFrame();
    auto* v = f ? dynamic_cast<CDbgWatchView*>(f->GetActiveView()) : nullptr;
    if (!v && f) {
        for (CDocument* d : Ide().Template(kSlotWatch)->GetDocuments())
            for (CView* view : d->GetViews())
                if (view->GetParentFrame() == f)
                    v = dynamic_cast<CDbgWatchView*>(view);
    }
    return v ? v->GetListBox() : nullptr;
}

void CDebug::ShowInWatchWindow(txwatch::WatchVar& var) {
    IdeServices& ide = Ide();
    CDbgWatchFrm* f = FindWatchFrame();
    if (!f) {
        ide.OpenWithTemplate(kSlotWatch, nullptr);
        f = FindWatchFrame();
    } else if (!IsWindowVisible(f->m_hWnd)) {
        ShowWindow(f->m_hWnd, SW_SHOW);
        SendMessageA(GetParent(f->m_hWnd), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(f->m_hWnd), 0);
    }
    if (CDbgListBox* list = WatchList())
        list->AddVar(var);
}

void CDebug::ToggleWatchWindow() {
    CDbgWatchFrm* f = FindWatchFrame();
    if (!f) {
        Ide().OpenWithTemplate(kSlotWatch, nullptr);
        return;
    }
    if (IsWindowVisible(f->m_hWnd)) {
        ShowWindow(f->m_hWnd, SW_HIDE);
        return;
    }
    ShowWindow(f->m_hWnd, SW_SHOWNORMAL);
    SendMessageA(GetParent(f->m_hWnd), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(f->m_hWnd), 0);
    SetFocus(f->m_hWnd);
}

void CDebug::WatchRestored(const txwatch::WatchVar& var) {
    if (txwatch::WatchVar* w = engine_.FindWatch(var.number))
        ShowInWatchWindow(*w);
}

void CDebug::WatchesRestored() {
    const RECT& rc = prj_->m_rcWatch;
    if (rc.right <= rc.left || rc.bottom <= rc.top)
        return;
    CDbgWatchFrm* f = FindWatchFrame();
    if (!f) {
        Ide().OpenWithTemplate(kSlotWatch, nullptr);
        f = FindWatchFrame();
    }
    if (f) {
        MoveWindow(f->m_hWnd, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, TRUE);
        ShowWindow(f->m_hWnd, SW_SHOW);
    }
}

void CDebug::WatchesRefreshed() {
    if (CDbgListBox* list = WatchList())
        list->RefreshRows();
}

std::string CDebug::ExpressionAtCaret() const {
    auto* f = dynamic_cast<CChildFrame*>(Ide().FindChild(ChildKind::kEditor));
    CBasEditView* v = f ? f->GetEditView() : nullptr;
    if (!v)
        return {};
    std::string sel = v->GetSelText();
    size_t a = sel.find_first_not_of(" \t\r\n"), b = sel.find_last_not_of(" \t\r\n");
    if (a != std::string::npos)
        return sel.substr(a, b - a + 1);
    std::string word;
    return v->GetWordAtCaret(word) ? word : std::string();
}

static std::string Trimmed(const std::string& s) {
    size_t a = s.find_first_not_of(" \t"), b = s.find_last_not_of(" \t");
    return a == std::string::npos ? std::string() : s.substr(a, b - a + 1);
}

int CDebug::AddWatch() {
    CDbgAddExprDlg dlg;
    dlg.m_strExpr = ExpressionAtCaret();
    if (dlg.DoModal() != IDOK)
        return 0;
    // A watch the debuggee could not be asked about is not kept.
    bool answered = false;
    txwatch::WatchVar* w = engine_.AddWatchExpression(Trimmed(dlg.m_strExpr), dlg.m_bHex != 0, &answered);
    if (!w)
        return 0;
    if (!answered) {
        engine_.DeleteWatch(w->number);
        return 0;
    }
    ShowInWatchWindow(*w);
    return 1;
}

int CDebug::DeleteWatch() {
    if (engine_.Watches().empty())
        return 1;
    std::vector<std::pair<uint32_t, std::string>> list;
    for (const auto& w : engine_.Watches())
        list.emplace_back(w->number, w->text);
    CDbgDelExprDlg dlg(std::move(list));
    if (dlg.DoModal() != IDOK)
        return 1;
    CDbgListBox* rows = WatchList();
    for (uint32_t n : dlg.m_deleted) {
        engine_.DeleteWatch(n);
        if (rows)
            rows->RemoveWatch(n);
    }
    return 1;
}

int CDebug::QuickWatch() {
    std::string expr = ExpressionAtCaret();
    if (expr.empty()) {
        CDbgExprRefDlg ask(false);
        if (ask.DoModal() != IDOK)
            return 1;
        expr = ask.m_strExpr;
    }
    std::string value;
    auto var = engine_.EvaluateText(expr, value);
    if (!var)
        return 0;
    CDbgQuickWatchDlg dlg(&engine_, std::move(var), value, [this](const std::string& text) {
        bool answered = false;
        if (txwatch::WatchVar* w = engine_.AddWatchExpression(text, false, &answered)) {
            if (answered)
                ShowInWatchWindow(*w);
            else
                engine_.DeleteWatch(w->number);
        }
    });
    dlg.DoModal();
    return 1;
}

int CDebug::BreakpointList(bool jumpMode) {
    CDbgBreakListDlg dlg(&engine_, jumpMode);
    if (dlg.DoModal() != IDOK)
        return 0;
    if (jumpMode && dlg.m_bSelected) {
        if (CBasEditDoc* doc = FindSource(dlg.m_strModule, true))
            if (CBasEditView* v = doc->GetEditView()) {
                if (CChildFrame* f = v->GetChildFrame())
                    SendMessageA(GetParent(f->m_hWnd), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(f->m_hWnd), 0);
                v->GoToLine(static_cast<int>(dlg.m_nLine));
            }
    }
    for (CMDIChildWnd* f = Ide().FindChild(ChildKind::kEditor); f; f = Ide().FindChild(ChildKind::kEditor, f))
        if (auto* c = dynamic_cast<CChildFrame*>(f))
            c->RedrawMargin();
    return 1;
}

void CDebug::RunEnded(uint32_t) {
    if (CDbgWatchFrm* f = FindWatchFrame())
        SendMessageA(f->m_hWnd, WM_CLOSE, 0, 0);
    if (!shownModule_.empty()) {
        if (CBasEditDoc* doc = FindSource(shownModule_, false))
            doc->UpdateEditFrame(0);
        shownModule_.clear();
    }
    prj_->SetEditMode(0);
    IdeServices& ide = Ide();
    for (CWnd* w : {static_cast<CWnd*>(ide.ProjectFrame()), static_cast<CWnd*>(ide.MainFrame())}) {
        if (w && w->m_hWnd)
            RedrawWindow(w->m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    }
    BringFramesForward();
}
