// What the project, designer and debugger windows may ask of the
// application: the one way up from them to the shell (ide/README.md draws
// who may include what). The shell implements it; Ide() is the instance.
#pragma once

#include "fw.h"
#include "idesettings.h"

#include <functional>
#include <string>

class CPrjDoc;

// Template slots: the position of each template in the table.
enum TemplateSlot {
    kSlotProject = 0,       // CPrjDoc / CPrjTreeFrm
    kSlotDefaultProject = 1,  // CPrjDoc / CUPrjTreeFrm: the hidden DEFAULT project
    kSlotBasic = 2,
    kSlotSub = 3,
    kSlotResource = 4,
    kSlotEnvironment = 5,
    kSlotObject = 6,
    kSlotWatch = 7,
    kSlotBuildResult = 8,
    kSlotOther = 9,
    kSlotCount = 10,
};

// The project frame's child frames a window may look for.
enum class ChildKind { kProjectTree, kEditor, kResourceTree, kEnvironment, kBuildResult, kWatch };

class IdeServices {
public:
    virtual ~IdeServices() = default;

    // Owner windows: the main frame (menu bar and tool bars) and the project
    // frame every document opens in; null before start-up and after exit.
    virtual CWnd* MainFrame() = 0;
    virtual CMDIFrameWnd* ProjectFrame() = 0;
    HWND MainWindow() {
        CWnd* w = MainFrame();
        return w ? w->m_hWnd : nullptr;
    }
    HWND ProjectWindow() {
        CWnd* w = ProjectFrame();
        return w ? w->m_hWnd : nullptr;
    }
    // The application's main window as it stands (the project frame while
    // a document opens through a template).
    virtual CWnd* CurrentMainWnd() = 0;
    // The project frame's child of a kind after `after` (null: the first).
    virtual CMDIChildWnd* FindChild(ChildKind kind, CMDIChildWnd* after = nullptr) = 0;

    // Status text: pane 0 of the project frame's status bar, the ready text,
    // the edit or debug mode text.
    virtual void SetStatusText(const char* text) = 0;
    virtual void SetReadyText() = 0;
    virtual void ShowModeText() = 0;

    // Documents: open through one template (the project frame as parent),
    // open a file as the File menu does, a template's documents.
    virtual CDocument* OpenWithTemplate(int slot, const char* path, bool visible = true) = 0;
    virtual CDocument* OpenDocumentFile(const char* path) = 0;
    virtual CMultiDocTemplate* Template(int slot) = 0;
    // While held (counted), opened files stay off the recent-file list.
    virtual void HoldRecentList(bool hold) = 0;
    // Saves every changed document, asking first unless withoutAsking;
    // false when the user cancelled or a save failed.
    virtual bool SaveAllModified(bool withoutAsking) = 0;

    // Run arguments (Run, debug start and the build dialog share them).
    virtual std::string RunArgs() = 0;
    virtual void SetRunArgs(const std::string& args) = 0;

    // Settings: the registry, the folders read at start-up, the program's
    // own folder.
    virtual fw::RegStore& Registry() = 0;
    virtual const tambrix::FrameSettings& Settings() = 0;
    virtual std::string ProgramFolder() = 0;
    // The editor's tab width as the options sheet stores it.
    virtual int EditorTabWidth() = 0;

    // Help: the application's help file, or another one for one call.
    virtual void Help(DWORD_PTR data, UINT cmd, const std::string& file = std::string()) = 0;
    virtual std::string HelpFile() = 0;

    // The application is closing: windows skip what only matters to a user.
    virtual bool Closing() = 0;

    // The main frame's state around designing and running.
    virtual void ShowDesignWindows(bool show) = 0;
    virtual void EnableBars(bool enable) = 0;
    virtual void EnableCloseMenu(bool enable) = 0;
    virtual void SetToolBoxTool(UINT id) = 0;
    virtual void ProgramEnded() = 0;
    // The program Run started: watched while idle (a previous one let go).
    virtual void SetRunProcess(HANDLE process) = 0;
    // Sends a command to the main frame as its menu would (posted: after the
    // current message).
    virtual void PostCommand(UINT id) = 0;

    // The open project as the application tracks it.
    virtual void SetProjectPath(const std::string& path) = 0;
    virtual CPrjDoc* HeldProject() = 0;
    virtual void SetHeldProject(CPrjDoc* doc) = 0;
    virtual void SetProjectTreeFrame(CMDIChildWnd* frame) = 0;
    virtual CMDIChildWnd* ProjectTreeFrame() = 0;
    // The build's log file the application deletes at exit (a 260-byte heap
    // string; null until the first build).
    virtual char*& BuildLog() = 0;

    // Starts debugging the project (the debugger's window library does it).
    virtual void StartDebug(CPrjDoc* doc, int showOutput) = 0;

    // Commands a window library handles: the project frame hands an id in
    // [first, last] to handler when neither its active child nor its own map
    // takes it. Each library registers its own (RegisterCommands below).
    using CommandHandler = std::function<void(UINT id)>;
    virtual void RegisterCommands(UINT first, UINT last, CommandHandler handler) = 0;
};

IdeServices& Ide();

// Each window library's commands, registered when the services start.
namespace prjui {
void RegisterCommands(IdeServices& ide);
}
void DsgRegisterCommands(IdeServices& ide);
void DbgRegisterCommands(IdeServices& ide);
