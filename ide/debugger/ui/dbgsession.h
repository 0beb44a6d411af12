// The IDE's side of a debugging run: the engine over the Win32 target,
// with its calls to the user shown in the source editors and the frames.
#pragma once

#include <functional>
#include <string>

#include "dbg_engine.h"
#include "dbg_win32.h"
#include "fwobject.h"

class CPrjDebug;
class CBasEditDoc;
class CDbgWatchFrm;
class CDbgListBox;

// Where output strings go: the build result window's append, set by the
// window's owner. Without it they are kept in the project only.
using DebugOutputSink = void (*)(const std::string& text);
void SetDebugOutputSink(DebugOutputSink sink);

// Breakpoint requests made while no run exists (toggle, remove, run to
// cursor) as one line each; the test build sets it to see the editor's
// calls, the program leaves it empty.
std::function<void(const std::string& call)>& DebugCallHook();

// A command target with its run-time class "CDebug"; made by the project
// with its kept breakpoints and watches, so it has no creation of its own.
class CDebug : public CCmdTarget, public txdbg::DebugUi {
    FW_DECLARE_DYNAMIC(CDebug)
public:
    CDebug(CPrjDebug* prj, txdbg::KeptState& kept);
    CDebug(const CDebug&) = delete;
    CDebug& operator=(const CDebug&) = delete;

    bool Start(const std::string& program, const std::string& args, bool showOutput);
    bool Stop(int graceful);
    void PumpDebugEvents(int flag);
    bool IsRunning() const { return engine_.IsRunning(); }
    txdbg::DebugEngine& Engine() { return engine_; }
    const txdbg::DebugEngine& Engine() const { return engine_; }

    void ShowStopLine(const std::string& module, uint32_t line) override;
    void Message(int id, const std::string& arg) override;
    void MessageText(const std::string& text) override;
    void BareMessage(const std::string& text) override;
    void WaitCursor(bool on) override;
    void ResetFpu() override;
    void AppError(const std::string& text) override;
    void RuntimeError(const std::string& module, uint32_t line, uint32_t error) override;
    void Output(const std::string& text) override;
    void RunEnded(uint32_t exitCode) override;
    void WatchRestored(const txwatch::WatchVar& var) override;
    void WatchesRestored() override;
    void WatchesRefreshed() override;

    // The watch window and the dialogs of watches and breakpoints.
    void ShowInWatchWindow(txwatch::WatchVar& var);
    CDbgWatchFrm* FindWatchFrame() const;
    // The watch window command: hides a visible window, shows a hidden one,
    // opens one when there is none.
    void ToggleWatchWindow();
    CDbgListBox* WatchList() const;
    int AddWatch();
    int DeleteWatch();
    int QuickWatch();
    int BreakpointList(bool jumpMode);
    // The selection (trimmed) or the word at the caret of the first editor.
    std::string ExpressionAtCaret() const;

    // The open source of a module of the project, opened when asked.
    CBasEditDoc* FindSource(const std::string& module, bool open);

private:
    CPrjDebug* prj_;
    txdbg::Win32Target target_;
    txdbg::DebugEngine engine_;
    std::string shownModule_;
};
