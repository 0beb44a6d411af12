// The debugger's state of a project: its commands, one-line forwarders to
// the project's CDebug, and the edit/debug mode of the frames and editors.
#include "dbgprj.h"
#include "dbgsession.h"
#include "dbg_texts.h"
#include "dbgdlgs.h"

#include "editor.h"
#include "ideservices.h"
#include "idehelpers.h"
#include "idepaths.h"
#include "prjdoc.h"
#include "shellids.h"
#include "buildrun.h"

#include <direct.h>

CPrjDebug::~CPrjDebug() { delete m_pDebug; }

CPrjDebug& DebugOf(CPrjDoc* doc) {
    if (!doc->m_pDebugger)
        doc->m_pDebugger = std::make_unique<CPrjDebug>(doc);
    return static_cast<CPrjDebug&>(*doc->m_pDebugger);
}

CPrjDebug* FindDebugOf(CPrjDoc* doc) { return doc ? static_cast<CPrjDebug*>(doc->m_pDebugger.get()) : nullptr; }

namespace {

// Every open source document.
template <class F> void ForEachOpenSource(F f) {
    for (int slot : {kSlotBasic, kSlotSub}) {
        if (CMultiDocTemplate* t = Ide().Template(slot)) {
            for (CDocument* d : t->GetDocuments()) {
                if (auto* doc = dynamic_cast<CBasEditDoc*>(d))
                    f(doc);
            }
        }
    }
}

// The open source documents of a project.
template <class F> void ForEachSource(CPrjDoc* prj, F f) {
    ForEachOpenSource([&](CBasEditDoc* doc) {
        if (doc->m_pPrjDoc == prj)
            f(doc);
    });
}

// The open sources of the project's modules become the project's own;
// another open source (a loose one) stays as it is.
void MarkOwnedSources(CPrjDoc* prj) {
    ForEachOpenSource([prj](CBasEditDoc* doc) {
        for (const CPrjDoc::FileRecord& f : prj->m_files) {
            if (!f.resolved.empty() && _stricmp(f.resolved.c_str(), doc->GetPathName().c_str()) == 0) {
                doc->m_pPrjDoc = prj;
                return;
            }
        }
    });
}

void EmptyDefaultProject(CPrjDoc* prj) {
    if (prj->m_bDefaultProject && prj == CurrentProjectDoc())
        prj->DeleteContents();
}

// The margin of every editor frame, repainted at once.
void RedrawMargins() {
    IdeServices& ide = Ide();
    for (CMDIChildWnd* f = ide.FindChild(ChildKind::kEditor); f; f = ide.FindChild(ChildKind::kEditor, f))
        if (auto* c = dynamic_cast<CChildFrame*>(f))
            c->RedrawMargin();
}

// The margin of the editor frame with this window, repainted at once.
void RedrawFrameMargin(HWND frame) {
    IdeServices& ide = Ide();
    for (CMDIChildWnd* f = ide.FindChild(ChildKind::kEditor); f; f = ide.FindChild(ChildKind::kEditor, f))
        if (auto* c = dynamic_cast<CChildFrame*>(f); c && c->m_hWnd == frame)
            c->RedrawMargin();
}

void FramesForward() {
    IdeServices& ide = Ide();
    if (ide.ProjectFrame() && ide.ProjectFrame()->m_hWnd)
        SetForegroundWindow(ide.ProjectFrame()->m_hWnd);
    if (ide.MainFrame() && ide.MainFrame()->m_hWnd)
        SetForegroundWindow(ide.MainFrame()->m_hWnd);
}

}  // namespace

int CPrjDebug::SetEditMode(int mode) {
    int old = m_pDoc->m_nDebugState;
    m_pDoc->m_nDebugState = mode;
    IdeServices& ide = Ide();
    if (!m_bRestarting) {
        ForEachSource(m_pDoc, [mode](CBasEditDoc* doc) {
            for (CView* v : doc->GetViews()) {
                if (v->m_hWnd)
                    SendMessageA(v->m_hWnd, EM_SETREADONLY, mode == 1, 0);
            }
        });
        // Back in edit mode the run state goes (the design windows a
        // debugging run hid come back) and no margin keeps a stop mark.
        if (mode != 1) {
            if (ide.MainFrame())
                ide.ProgramEnded();
            RedrawMargins();
        }
    }
    if (ide.ProjectFrame() && ide.ProjectFrame()->m_hWnd)
        Ide().SetStatusText(fw::LoadStr(mode == 1 ? IDS_DEBUG_MODE : IDS_EDIT_MODE).c_str());
    return old;
}

int CPrjDebug::StartDebug(int showOutput) {
    IdeServices& ide = Ide();
    if (ide.ProjectFrame() && ide.ProjectFrame()->m_hWnd)
        Ide().SetStatusText(fw::LoadStr(IDS_DEBUG_MODE).c_str());
    // A loose source debugs as the default project made from it (its own
    // program, not DEFAULT.exe); a project that names its program keeps it.
    if (m_pDoc == CurrentProjectDoc() && m_pDoc->m_strProgramFile.empty())
        prjui::PrepareDefaultProject(m_pDoc);
    MarkOwnedSources(m_pDoc);
    if (!m_pDebug)
        m_pDebug = new CDebug(this, m_debugKept);
    SetEditMode(1);
    std::string program = m_pDoc->m_strProgramFile;
    if (program.empty()) {
        program = m_pDoc->GetTitle();
        program = program.substr(0, program.rfind('.')) + ".exe";
    }
    std::string args = ide.MainFrame() ? ide.RunArgs() : std::string();
    if (m_pDoc->m_nDrive >= 0)
        _chdrive(m_pDoc->m_nDrive + 1);
    if (!m_pDoc->m_strFolder.empty())
        SetCurrentDirectoryA(m_pDoc->m_strFolder.c_str());
    m_strDebugOutput.clear();
    if (m_pDebug->Start(program, args, showOutput == 1))
        return 1;
    SetEditMode(0);
    MessageBoxA(nullptr, txdbg::text::kStartFailed, fw::LoadStr(IDR_MAINFRAME).c_str(),
                MB_ICONHAND | MB_SETFOREGROUND);
    EmptyDefaultProject(m_pDoc);
    return 0;
}

int CPrjDebug::StopDebug(int graceful) {
    if (!m_pDebug)
        return 0;
    SetEditMode(0);
    EmptyDefaultProject(m_pDoc);
    if (!m_pDebug->Stop(m_pDebug->IsRunning() ? 0 : graceful)) {
        SetEditMode(1);
        return 0;
    }
    delete m_pDebug;
    m_pDebug = nullptr;
    FramesForward();
    return 1;
}

void CPrjDebug::RestartDebug() {
    if (m_bRestarting)
        return;
    m_bRestarting = true;
    if (StopDebug(1))
        StartDebug(0);
    m_bRestarting = false;
}

bool CPrjDebug::IsDebugRunning() const { return m_pDebug && m_pDebug->IsRunning(); }

int CPrjDebug::RunBreakpointCount() const { return m_pDebug ? m_pDebug->Engine().BreakpointCount() : 0; }

void CPrjDebug::DebugPumpEvents() {
    ++m_nPumpCount;
    if (IsDebugRunning())
        m_pDebug->PumpDebugEvents(0);
}

void CPrjDebug::ActivateDebuggee() {
    if (GetKeyState(VK_CONTROL) < 0 || !m_pDebug)
        return;
    m_pDebug->Engine().CallRedraw(1);
    IdeServices& ide = Ide();
    bool mainActive = ide.MainFrame() && GetActiveWindow() == ide.MainFrame()->m_hWnd;
    if (mainActive) {
        FramesForward();
    } else {
        if (ide.MainFrame() && ide.MainFrame()->m_hWnd)
            SetForegroundWindow(ide.MainFrame()->m_hWnd);
        if (ide.ProjectFrame() && ide.ProjectFrame()->m_hWnd)
            SetForegroundWindow(ide.ProjectFrame()->m_hWnd);
    }
}

int CPrjDebug::DebugGo() {
    if (!m_pDebug || m_pDoc->m_nDebugState != 1)
        return 0;
    return m_pDebug->Engine().Go();
}

int CPrjDebug::DebugTrace() { return m_pDebug ? m_pDebug->Engine().Trace() : 0; }

int CPrjDebug::DebugPassTrace() { return m_pDebug ? m_pDebug->Engine().PassTrace() : 0; }

// The margin's queries and clicks go to the debugger while a run exists;
// without one the recorded breakpoints answer.
int CPrjDebug::DebugGetLineBreakpoint(const std::string& module, int line, int* flag) {
    if (m_pDebug) {
        bool disabled = false;
        if (!m_pDebug->Engine().GetBreakpointState(module, static_cast<uint32_t>(line), disabled))
            return 0;
        if (flag)
            *flag = disabled ? txdbg::kBpDisabled : 0;
        return 1;
    }
    auto it = m_breakpoints.find({module, line});
    if (it == m_breakpoints.end())
        return 0;
    if (flag)
        *flag = it->second;
    return 1;
}

bool CPrjDebug::DebugIsStopLine(const std::string& module, int line) const {
    if (m_pDebug)
        return m_pDebug->Engine().IsCurrentLine(module, static_cast<uint32_t>(line));
    return m_stopLine.second == line && m_stopLine.first == module;
}

std::function<void(const std::string&)>& DebugCallHook() {
    static std::function<void(const std::string&)> hook;
    return hook;
}

void CPrjDebug::DebugToggleBreakpoint(int kind, int line, int a, int b, HWND frame, const std::string& module,
                                    int c) {
    if (m_pDebug && (!frame || module.empty())) {
        BreakpointDialog();
        return;
    }
    if (m_pDebug) {
        if (m_pDebug->Engine().SetBreakpoint(kind != 0, static_cast<uint32_t>(line), static_cast<uint32_t>(a),
                                             static_cast<uint32_t>(b), reinterpret_cast<uintptr_t>(frame), module))
            RedrawFrameMargin(frame);
        return;
    }
    if (DebugCallHook())
        DebugCallHook()("toggle " + module + " " + std::to_string(line) + " " + std::to_string(kind) +
                        std::to_string(a) + std::to_string(b) + std::to_string(c));
    m_breakpoints[{module, line}] = 0;
    RedrawFrameMargin(frame);
}

void CPrjDebug::DebugRemoveBreakpoint(int line, HWND frame, const std::string& module) {
    if (m_pDebug) {
        m_pDebug->Engine().RemoveBreakpoint(static_cast<uint32_t>(line), reinterpret_cast<uintptr_t>(frame),
                                            module);
        RedrawFrameMargin(frame);
        return;
    }
    if (DebugCallHook())
        DebugCallHook()("remove " + module + " " + std::to_string(line));
    m_breakpoints.erase({module, line});
    RedrawFrameMargin(frame);
}

void CPrjDebug::DebugRunToCursor(int line, HWND frame, const std::string& module) {
    if (m_pDebug) {
        m_pDebug->Engine().RunToCursor(static_cast<uint32_t>(line), reinterpret_cast<uintptr_t>(frame), module);
        return;
    }
    if (DebugCallHook())
        DebugCallHook()("runto " + module + " " + std::to_string(line));
}

// The breakpoint command: the dialog over the first editor's caret line.
int CPrjDebug::BreakpointDialog() {
    auto* f = dynamic_cast<CChildFrame*>(Ide().FindChild(ChildKind::kEditor));
    CBasEditView* v = f ? f->GetEditView() : nullptr;
    if (!m_pDebug || !v)
        return 0;
    int first = 0, last = 0, caret = 1;
    v->GetLinePositions(first, last, caret);
    CDbgBreakPointDlg dlg(&m_pDebug->Engine());
    dlg.m_strModule = tambrix::StripDirectory(v->GetDocument()->GetPathName());
    dlg.m_nLine = static_cast<uint32_t>(caret);
    dlg.m_hFrame = f->m_hWnd;
    if (dlg.DoModal() != IDOK)
        return 0;
    f->RedrawMargin();
    return 1;
}

// ---- the debugger's commands ---------------------------------------------------

int CPrjDebug::DebugAddWatch() { return m_pDebug && m_pDoc->m_nDebugState == 1 ? m_pDebug->AddWatch() : 0; }

int CPrjDebug::DebugDeleteWatch() { return m_pDebug && m_pDoc->m_nDebugState == 1 ? m_pDebug->DeleteWatch() : 0; }

int CPrjDebug::DebugQuickWatch() { return m_pDebug && m_pDoc->m_nDebugState == 1 ? m_pDebug->QuickWatch() : 0; }

int CPrjDebug::DebugBreakpointList(int jumpMode) { return m_pDebug ? m_pDebug->BreakpointList(jumpMode != 0) : 0; }

bool CPrjDebug::DebugCommand(UINT id) {
    switch (id) {
    case ID_RUN_DEBUG:
        if (m_pDoc->m_nDebugState != 0) {
            StopDebug(1);
            RedrawMargins();
            return true;
        }
        // Output strings are shown only for a run started with Shift and Ctrl held.
        if (StartDebug(GetKeyState(VK_SHIFT) < 0 && GetKeyState(VK_CONTROL) < 0 ? 1 : 0))
            RedrawMargins();
        return true;
    case ID_DEBUG_RESTART:
        if (m_pDebug)
            RestartDebug();
        return true;
    case ID_RUN_CONTINUE:
        DebugGo();
        return true;
    case ID_DEBUG_BREAKPOINT:
        BreakpointDialog();
        return true;
    case ID_DEBUG_BREAKPOINT_LIST:
        DebugBreakpointList(0);
        return true;
    case ID_DEBUG_WATCH_WINDOW:
        if (m_pDebug && m_pDoc->m_nDebugState != 0)
            m_pDebug->ToggleWatchWindow();
        return true;
    case ID_DEBUG_ADD_WATCH:
        DebugAddWatch();
        return true;
    case ID_DEBUG_DELETE_WATCH:
        DebugDeleteWatch();
        return true;
    case ID_DEBUG_QUICK_WATCH:
        DebugQuickWatch();
        return true;
    case ID_DEBUG_TRACE:
        DebugTrace();
        return true;
    case ID_DEBUG_PASS_TRACE:
        DebugPassTrace();
        return true;
    case ID_DEBUG_RUN_TO_CURSOR: {
        auto* f = dynamic_cast<CChildFrame*>(Ide().FindChild(ChildKind::kEditor));
        CBasEditView* v = f ? f->GetEditView() : nullptr;
        if (!v || !m_pDebug)
            return true;
        int first = 0, last = 0, caret = 1;
        v->GetLinePositions(first, last, caret);
        DebugRunToCursor(caret, f->m_hWnd, tambrix::StripDirectory(v->GetDocument()->GetPathName()));
        return true;
    }
    default:
        return false;
    }
}


void DbgRegisterCommands(IdeServices& ide) {
    auto command = [](UINT id) {
        if (CPrjDoc* prj = CurrentProjectDoc())
            DebugOf(prj).DebugCommand(id);
    };
    ide.RegisterCommands(ID_RUN_DEBUG, ID_DEBUG_RESTART, command);
    ide.RegisterCommands(ID_DEBUG_BREAKPOINT, ID_DEBUG_BREAKPOINT_LIST, command);
    ide.RegisterCommands(ID_DEBUG_WATCH_WINDOW, ID_DEBUG_QUICK_WATCH, command);
    ide.RegisterCommands(ID_DEBUG_TRACE, ID_DEBUG_RUN_TO_CURSOR, command);
}
