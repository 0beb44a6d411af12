// The main frame: the thin window across the top of the screen with the
// menu bar. It owns the splash window at start-up, restores and saves the
// placement of both frames, and hands document commands to the project
// frame. Its tool bars and the property window come with their own code.
#pragma once

#include "fw.h"
#include "idesettings.h"

#include <string>

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

    HWND m_hSplash = nullptr;
    int m_nNewFileCounter = 1;
    std::string m_strRunArgs;
    bool m_bSmallBitmap = false;
    uint32_t m_nDockInfo = tambrix::kStdBarShown | tambrix::kToolBoxShown;
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

private:
    void OnWindowArrange(UINT id);
    void OnUpdateWindowArrange(CCmdUI* ui);
    void OnToggleSaveState();
    void OnAppExit();
    bool m_bCreating = true;
    FW_DECLARE_CMD_MAP()
};
