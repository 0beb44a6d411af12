// The debugger's state of one project: at most one run (CDebug), what the
// project keeps of it from one run to the next, and the commands and
// queries the frames and the editor call. The project document owns it
// without reading it.
#pragma once

#include "dbg_engine.h"
#include "fw.h"
#include "prjdoc.h"

#include <map>
#include <string>
#include <utility>

class CDebug;

class CPrjDebug : public CPrjDoc::Attachment {
public:
    explicit CPrjDebug(CPrjDoc* doc) : m_pDoc(doc) {}
    ~CPrjDebug() override;
    CPrjDebug(const CPrjDebug&) = delete;
    CPrjDebug& operator=(const CPrjDebug&) = delete;

    CPrjDoc* const m_pDoc;

    void DebugPumpEvents();
    void ActivateDebuggee();
    int m_nPumpCount = 0;

    // The run, and what the project keeps of it from one run to the next.
    CDebug* m_pDebug = nullptr;
    txdbg::KeptState m_debugKept;
    bool m_bRestarting = false;
    std::string m_strDebugOutput;
    int StartDebug(int showOutput);
    int StopDebug(int graceful);
    void RestartDebug();
    // Sets the project's mode (0 edit, 1 debug); the old one.
    int SetEditMode(int mode);
    bool IsDebugRunning() const;
    // The breakpoints the run holds (0 without a run).
    int RunBreakpointCount() const;
    int DebugGo();
    int DebugTrace();
    int DebugPassTrace();
    int BreakpointDialog();
    // The watch window's place, kept from one run to the next (empty: none).
    RECT m_rcWatch{};
    int DebugAddWatch();
    int DebugDeleteWatch();
    int DebugQuickWatch();
    int DebugBreakpointList(int jumpMode);
    // The debugger's menu commands (6003-6008, 7001-7004, 7101-7103);
    // false for any other id.
    bool DebugCommand(UINT id);

    // The debugger's services to the editor, kept without a run:
    // breakpoints by (module, line) with their flag, the stop line.
    std::map<std::pair<std::string, int>, int> m_breakpoints;
    std::pair<std::string, int> m_stopLine{"", 0};
    int DebugGetLineBreakpoint(const std::string& module, int line, int* flag);
    bool DebugIsStopLine(const std::string& module, int line) const;
    void DebugToggleBreakpoint(int kind, int line, int a, int b, HWND frame, const std::string& module, int c);
    void DebugRemoveBreakpoint(int line, HWND frame, const std::string& module);
    void DebugRunToCursor(int line, HWND frame, const std::string& module);
};

// The debugger's state of a project, made on first use.
CPrjDebug& DebugOf(CPrjDoc* doc);
// The debugger's state of a project when it has one (null: never debugged).
CPrjDebug* FindDebugOf(CPrjDoc* doc);
