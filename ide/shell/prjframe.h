// The project frame: the MDI frame below the main frame in which every
// document opens. It holds the hidden DEFAULT project, the status bar with
// the mode text and the caret position, and the frame finders.
#pragma once

#include "editsettings.h"
#include "jumprules.h"
#include "fw.h"

#include <string>
#include <vector>

class CPrjDoc;
class CMainFrame;
class CBasEditView;

class CTvStatusBar : public CStatusBar {
    FW_DECLARE_DYNAMIC(CTvStatusBar)
protected:
    bool OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) override;
    void OnLButtonDblClk(POINT pt);
};

class CPrjFrame : public CMDIFrameWnd {
    FW_DECLARE_DYNAMIC(CPrjFrame)
public:
    explicit CPrjFrame(HWND owner) : m_hOwner(owner) {}
    ~CPrjFrame() override;

    bool LoadFrame(UINT resId, DWORD style, CWnd* parent, CCreateContext* ctx) override;
    // The frame's own routing, then the commands the window libraries
    // registered (IdeServices::RegisterCommands).
    bool OnCmdMsg(UINT id, FwCmdKind kind, CCmdUI* ui) override;
    void SetReadyText();
    void UpdateMenuPrompt(UINT itemId, UINT menuFlags);
    void ShowModeText();

    CMDIChildWnd* FindPrjTreeFrame(CMDIChildWnd* after = nullptr) const;
    CMDIChildWnd* FindEditorChildFrame(CMDIChildWnd* after = nullptr) const;
    CMDIChildWnd* FindRcTreeFrame(CMDIChildWnd* after = nullptr) const;
    CMDIChildWnd* FindBetFrame(CMDIChildWnd* after = nullptr) const;
    CMDIChildWnd* FindPrjErrFrame() const;
    CMDIChildWnd* FindDbgWatchFrame() const;
    void SendToolToForms(UINT toolId);

    HWND m_hOwner;
    CPrjDoc* m_pDefaultProject = nullptr;
    CTvStatusBar m_wndStatusBar;
    tambrix::MarkList m_marks;  // the editor's marks, for the whole run
    LOGFONTA m_logFont{};
    HFONT m_hEditorFont = nullptr;
    UINT m_nResourceId = 0;

    // Applies a copy of the editor settings: the check level to the
    // application, font, colours, tab width and line numbers to every editor.
    void ApplyEditorSettings(const tambrix::EditorSettingsCopy& settings);

    // Creates the hidden DEFAULT project (also after Close All).
    bool CreateDefaultProject();
    // A new empty project document of path (the wizard, New and Open);
    // nullptr when the open project stays or the document cannot be made.
    CPrjDoc* CreateProject(const std::string& path, int number);
    // The project file chosen in the Open dialog.
    void OpenProjectFile(const std::string& path);
    // Asks to close the open project; false when the user cancelled.
    bool AskCloseProject();

protected:
    bool PreCreateWindow(CREATESTRUCTA& cs) override;
    int OnCreate(CREATESTRUCTA* cs) override;
    bool OnCreateClient(CREATESTRUCTA* cs, CCreateContext* ctx) override;
    bool OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) override;
    void OnActivate(UINT state, HWND other, bool minimised) override;
    void OnSysCommand(UINT cmd, LPARAM lp);
    void OnWindowPosChanged();
    void OnDestroy() override;

private:
    CMDIChildWnd* FindChild(const CRuntimeClass* cls, CMDIChildWnd* after) const;
    void OnLineJumpPane();
    CBasEditView* ActiveEditor() const;
    void ShowFoundEditor(CBasEditView* view, const std::string& what);
    void ReportNotFound(const std::string& what);
    void FindCommand(bool down);
    void OnFindDown();
    void OnFindUp();
    void OnReplace();
    void OnUpdateCaretPos(CCmdUI* ui);
    void OnLineJump();
    void OnMark();
    void OnCloseAll();
    void OnRun();
    void OnCompileOptions();
    void OnTagJump();
    void OnResultWindow();
    void OnPrjClose();
    void OnPrjEnvironment();
    void OnPrjModules(UINT id);
    void OnPrjSave(UINT id);
    void OnPrjNew();
    void OnPrjOpen();
    void OnPrjWizard();
    CDocument* NewModuleDocument(int slot, CPrjDoc* prj);
    void OnHelpFinder();
    void OnContextHelp();
    FW_DECLARE_CMD_MAP()
};
