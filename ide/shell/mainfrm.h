// The main frame: the thin window across the top of the screen with the
// menu bar. It owns the splash window at start-up, restores and saves the
// placement of both frames, and hands document commands to the project
// frame. Its tool bars and the property window come with their own code.
#pragma once

#include "fw.h"
#include "idesettings.h"
#include "pagesetup.h"
#include "toolbars.h"

#include <memory>
#include <string>

namespace prj {
class CBasData;
}

class CMainFrame : public CMDIFrameWnd {
    FW_DECLARE_DYNCREATE(CMainFrame)
public:
    ~CMainFrame() override;
    bool LoadFrameState();
    bool SaveFrameState();
    void ShowOwnedWindows(HWND top);
    void ShowDesignWindows(bool show);
    bool EnableDesignWindows(bool enable, bool alsoProperty);
    bool IsSaveStateChecked() const;
    void RecalcLayout() override;
    void OnIdleUpdateCmdUI() override;
    void RefreshDebuggee();
    bool IsDebugging() const;
    bool IsProgramRunning() const;
    bool IsFormTestMode() const;
    void SetToolBoxTool(UINT id);
    void EnableCloseMenu(bool enable);
    bool ActivatePropertyWindow();
    void OnProgramEnded();
    // A new unsaved document of a template slot, named name, shown.
    CDocument* NewDocumentFor(int slot, const std::string& name);
    // One file chosen in the Open dialog; stop ends the dialog's list.
    void OpenChosenFile(const std::string& path, bool& stop);
    // The bars' state as "ToolBarDockInfo" bits.
    uint32_t DockInfo() const;

    CComboToolBar m_wndToolBar;
    CToolBar m_wndDebugBar;
    CToolBoxBar m_wndToolBox;
    int m_nBarHeight = 0;
    uint32_t m_bHelpPending = 0;
    uint32_t m_nHelpContext = 0;
    static uint32_t g_bMatchCase;
    static UINT g_nToolBoxTool;

    HWND m_hSplash = nullptr;
    int m_nNewFileCounter = 1;
    int m_nProjectCounter = 1;
    // The page setup's values after its OK (else the stored ones print).
    bool m_bHavePageSetup = false;
    tambrix::PageSetupValues m_pageSetup;
    std::string m_strRunArgs;
    // The compile settings of command 5003 without a project.
    std::unique_ptr<prj::CBasData> m_pCompileOptions;
    bool m_bSmallBitmap = false;
    tambrix::Rect m_rcProperty;
    int m_nPropMode = 0;

protected:
    bool PreCreateWindow(CREATESTRUCTA& cs) override;
    int OnCreate(CREATESTRUCTA* cs) override;
    bool OnCreateClient(CREATESTRUCTA* cs, CCreateContext* ctx) override;
    void OnClose() override;
    void OnDestroy() override;
    void OnSize(UINT type, int cx, int cy) override;
    void OnActivate(UINT state, HWND other, bool minimised) override;
    bool OnCommand(UINT id, UINT code, HWND control) override;
    bool OnNotify(UINT id, NMHDR* nm, LRESULT* result) override;
    bool OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) override;
    void OnMenuSelect(UINT item, UINT flags, HMENU menu);

private:
    void OnWindowArrange(UINT id);
    void OnUpdateWindowArrange(CCmdUI* ui);
    void OnToggleSaveState();
    void OnAppExit();
    void OnViewToolBar();
    void OnViewToolBox();
    void OnToggleCase();
    void OnHelpIndex();
    void OnUpdateViewToolBar(CCmdUI* ui);
    void OnUpdateViewToolBox(CCmdUI* ui);
    void OnUpdateCase(CCmdUI* ui);
    void OnUpdateAlways(CCmdUI* ui) { ui->Enable(true); }
    void OnUpdateFree(CCmdUI* ui);
    void OnUpdateNotTestMode(CCmdUI* ui);
    void OnUpdateHasChild(CCmdUI* ui);
    void OnUpdateEditorActive(CCmdUI* ui);
    void OnUpdateSelection(CCmdUI* ui);
    void OnUpdatePaste(CCmdUI* ui);
    void OnUpdateUndo(CCmdUI* ui);
    void OnUpdateCode(CCmdUI* ui);
    void OnUpdateGrid(CCmdUI* ui);
    // The resource tree's commands 9001-9005 and the test mode (2121).
    void OnUpdateResource(CCmdUI* ui);
    void OnUpdateTestMode(CCmdUI* ui);
    // The Control menu: group (2118), lock (2119), arrangement (2019),
    // aligning (2200-2209), tab order (32787).
    void OnUpdateGroup(CCmdUI* ui);
    void OnUpdateLock(CCmdUI* ui);
    void OnUpdateFormCommand(CCmdUI* ui);
    void OnUpdateAlign(CCmdUI* ui);
    void OnUpdateTabOrder(CCmdUI* ui);
    void OnEditCommand(UINT id);
    void OnUpdateCompile(CCmdUI* ui);
    void OnUpdateRun(CCmdUI* ui);
    void OnUpdateDebug(CCmdUI* ui);
    void OnUpdateProjectClose(CCmdUI* ui);
    void OnUpdateDebugOnly(CCmdUI* ui);
    void OnUpdateDebugStopped(CCmdUI* ui);
    void OnUpdateWatch(CCmdUI* ui);
    void OnUpdatePrint(CCmdUI* ui);
    void OnViewOptions();
    // The property window: the designer's, kept where the layout says.
    void OnViewProperties();
    void OnUpdateViewProperties(CCmdUI* ui);
    void OnProperties();
    RECT PropertyPlace() const;
    void OnUpdateStatusBar(CCmdUI* ui);
    void OnViewStatusBar();
    std::string ProgramName(bool forDebug) const;
    void OnFileNew();
    void OnFileOpen();
    void OnCompileOptions();
    void OnRunArgs();
    void OnResourceNew();
    void OnPageSetup();
    void OnFilePrint();
    void OnFilePrintDirect() { PrintActiveView(true); }
    void PrintActiveView(bool direct);
    bool CreateBars();
    void ApplyBarState(const tambrix::FrameSettings& s);
    bool m_bCreating = true;
    FW_DECLARE_CMD_MAP()
};

// Resets the floating-point unit to its default control state.
