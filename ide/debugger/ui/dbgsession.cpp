#include "dbgsession.h"
#include "dbg_texts.h"

#include "editor.h"
#include "ideapp.h"
#include "idehelpers.h"
#include "idepaths.h"
#include "neighbours.h"
#include "prjframe.h"
#include "mainfrm.h"

#include <cstdio>
#include <cstring>

CDebug::CDebug(CPrjDoc* prj, txdbg::KeptState& kept) : prj_(prj), engine_(target_, *this, kept) {}

bool CDebug::Start(const std::string& program, const std::string& args, bool showOutput) {
    shownModule_.clear();
    return engine_.Start(program, args, showOutput);
}

bool CDebug::Stop(int graceful) {
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
    CIdeApp& app = TheApp();
    for (int slot : {kSlotBasic, kSlotSub}) {
        CMultiDocTemplate* t = app.m_pTemplates[slot];
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
    return dynamic_cast<CBasEditDoc*>(app.OpenWithTemplate(kSlotBasic, module.c_str()));
}

static void BringFramesForward() {
    CIdeApp& app = TheApp();
    if (app.m_pPrjFrame && app.m_pPrjFrame->m_hWnd)
        SetForegroundWindow(app.m_pPrjFrame->m_hWnd);
    if (app.m_pMainFrame && app.m_pMainFrame->m_hWnd)
        SetForegroundWindow(app.m_pMainFrame->m_hWnd);
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
    doc->m_pPrjDoc = prj_;
    doc->UpdateEditFrame(static_cast<int>(line));
    doc->UpdateAllViews(nullptr);
}

void CDebug::Message(int id, const std::string& arg) {
    char text[1024];
    std::snprintf(text, sizeof text, txdbg::MessageText(id), arg.c_str());
    MessageBoxById(0, MB_ICONHAND, 1, text);
}

void CDebug::MessageText(const std::string& text) { MessageBoxById(0, MB_ICONHAND, 1, text.c_str()); }

void CDebug::AppError(const std::string& text) {
    BringFramesForward();
    MessageBoxById(0, MB_ICONEXCLAMATION, 0, text.c_str());
}

void CDebug::RuntimeError(const std::string& module, uint32_t line, uint32_t error) {
    std::string text;
    GetRuntimeErrorText(error, text, false, true, false);
    char head[32];
    std::snprintf(head, sizeof head, "%u", line);
    MessageBoxById(0, MB_ICONHAND, 1, (module + " " + head + " " + text).c_str());
}

void CDebug::Output(const std::string& text) { prj_->m_strDebugOutput += text; }

void CDebug::RunEnded(uint32_t) {
    if (!shownModule_.empty()) {
        if (CBasEditDoc* doc = FindSource(shownModule_, false))
            doc->UpdateEditFrame(0);
        shownModule_.clear();
    }
    prj_->SetEditMode(0);
    CIdeApp& app = TheApp();
    for (CWnd* w : {static_cast<CWnd*>(app.m_pPrjFrame), static_cast<CWnd*>(app.m_pMainFrame)}) {
        if (w && w->m_hWnd)
            RedrawWindow(w->m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    }
    BringFramesForward();
}
