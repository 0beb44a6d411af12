// The least of the project, designer, debugger and editor windows that the
// shell needs before their own code exists: the classes the templates name,
// with the fields and queries the shell reads. Their subsystems replace
// them with the real ones.
#pragma once

#include "dbg_engine.h"
#include "fw.h"
#include "project_data.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

// A document class that reads and writes nothing, with a frame and a view
// that draw nothing.
#define TX_PLAIN_DOC(C)                                \
    class C : public CDocument {                       \
        FW_DECLARE_DYNCREATE(C)                        \
    public:                                            \
        void Serialize(CArchive&) override {}          \
    };
#define TX_PLAIN_FRAME(C)                              \
    class C : public CMDIChildWnd {                    \
        FW_DECLARE_DYNCREATE(C)                        \
    };
#define TX_PLAIN_VIEW(C)                               \
    class C : public CView {                           \
        FW_DECLARE_DYNCREATE(C)                        \
    public:                                            \
        void OnDraw(HDC) override {}                   \
    };

class CDebug;

// The project document: the fields the shell reads and the debugger
// queries, which answer "not debugging" until the debugger exists.
class CPrjDoc : public CDocument {
    FW_DECLARE_DYNCREATE(CPrjDoc)
public:
    bool m_bDefaultProject = false;
    bool m_bFilledFromSource = false;
    int m_nModules = 0;
    std::string m_strProjectFile;
    std::string m_strProgramFile;
    int m_nDrive = -1;
    std::string m_strFolder = "\\";
    std::string m_strBetPath;
    std::string m_strRcPath;
    uint16_t m_nRunModel = 0;
    uint32_t m_nStatus = 0;
    bool m_bNeedsRebuild = false;
    int m_nDocCounter = 0;

    // The project's debug mode (0 edit, 1 debug).
    int m_nDebugState = 0;
    int GetDebugState() const { return m_nDebugState; }
    void DebugPumpEvents();
    void ActivateDebuggee();
    int m_nPumpCount = 0;

    // The debugger (ide/debugger/ui): at most one run, and what the project
    // keeps of it from one run to the next.
    CDebug* m_pDebug = nullptr;
    txdbg::KeptState m_debugKept;
    bool m_bRestarting = false;
    std::string m_strDebugOutput;
    ~CPrjDoc() override;
    int StartDebug(int showOutput);
    int StopDebug(int graceful);
    void RestartDebug();
    int SetEditMode(int mode);
    bool IsDebugRunning() const;
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

    // The debugger's services to the editor, kept until the debugger
    // exists: breakpoints by (module, line) with their flag, the stop line.
    std::map<std::pair<std::string, int>, int> m_breakpoints;
    std::pair<std::string, int> m_stopLine{"", 0};
    int DebugGetLineBreakpoint(const std::string& module, int line, int* flag);
    bool DebugIsStopLine(const std::string& module, int line) const;
    void DebugToggleBreakpoint(int kind, int line, int a, int b, HWND frame, const std::string& module, int c);
    void DebugRemoveBreakpoint(int line, HWND frame, const std::string& module);
    void DebugRunToCursor(int line, HWND frame, const std::string& module);

    // A module of the project as its file list knows it: the stored name
    // (as written in the project) and the resolved full path.
    struct FileRecord {
        uint32_t id;
        std::string stored, resolved;
    };
    std::vector<FileRecord> m_files;
    FileRecord* FindFileRecord(uint32_t id);
    // A module saved under another name: its record and tree item
    // (ide/project/ui/prjdoc.cpp).
    void RenameTreeItem(const std::string& from, const std::string& to);

    // The project's data and its .mak file (ide/project/ui/prjdoc.cpp); the
    // fields above follow it after every read, write and build.
    std::unique_ptr<prj::ProjectData> m_pData;
    prj::ProjectData& Data();
    void SyncFromData();
    // Changes made in the project's data count as changes of the document,
    // so closing asks for them; the frame's own DEFAULT project never asks.
    bool IsModified() override;
    void SetModifiedFlag(bool modified = true) override;
    bool OnNewDocument() override;
    bool OnOpenDocument(const std::string& path) override;
    void OnCloseDocument() override;
    void Serialize(CArchive& ar) override;
    bool SaveModified() override;
};

TX_PLAIN_VIEW(CUPrjTree)
TX_PLAIN_FRAME(CUPrjTreeFrm)

// The open project's tree and its frame: ide/project/ui.
#include "prjtree.h"

// The resource document, its tree and the form windows: the designer's.
#include "rcdoc.h"

// The runtime-environment editor: ide/project/ui.
#include "betedit.h"
// The build result window: ide/project/ui.
#include "prjerr.h"
// The watch window lives with the debugger (ide/debugger/ui).
#include "dbgwatch.h"

// The source editor: its document, frame and view.
#include "editor.h"
