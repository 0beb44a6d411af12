// Frame windows: the top-level frame, the MDI frame and the MDI child.
//
// A frame is made with LoadFrame(resource id, ...): the string of that id
// (its first "\n" field) is the title, the icon, menu and accelerators of
// that id are the frame's. A frame deletes its object when its window is
// gone. Commands reach a frame first and are routed: the active MDI child
// (its view, the view's document, the document's template, the child
// itself), then the frame's own map, then the application.
#pragma once

#include "fwwnd.h"

#include <shellapi.h>

#include <string>

class CDocument;
class CView;
class CDocTemplate;
class CStatusBar;
class CMDIChildWnd;

// What a new frame needs to make its view.
struct CCreateContext {
    const CRuntimeClass* m_pNewViewClass = nullptr;
    CDocument* m_pCurrentDoc = nullptr;
    CDocTemplate* m_pNewDocTemplate = nullptr;
};

// Frame style bit: the document's title is added to the caption.
inline constexpr DWORD FWS_ADDTOTITLE = 0x00008000;
// Child id of a frame's view.
inline constexpr UINT FW_IDW_PANE_FIRST = 0xE900;

class CFrameWnd : public CWnd {
    FW_DECLARE_DYNCREATE(CFrameWnd)
public:
    virtual bool LoadFrame(UINT resId, DWORD style, CWnd* parent, CCreateContext* ctx);
    virtual void ActivateFrame(int cmdShow = -1);
    virtual CFrameWnd* GetActiveFrame() { return this; }
    CView* GetActiveView() const { return m_pViewActive; }
    void SetActiveView(CView* view);
    virtual CDocument* GetActiveDocument();
    // Sends the initial update to the views and shows the frame when asked.
    void InitialUpdateFrame(CDocument* doc, bool makeVisible);
    virtual void RecalcLayout();
    // The idle-time update of the status bar panes.
    virtual void OnIdleUpdateCmdUI();
    void SetTitle(const std::string& title) { m_strTitle = title; }
    const std::string& GetTitle() const { return m_strTitle; }
    virtual void OnUpdateFrameTitle(bool addToTitle);

    bool OnCmdMsg(UINT id, FwCmdKind kind, CCmdUI* ui) override;
    bool PreTranslateMessage(MSG* msg) override;

    CStatusBar* m_pStatusBar = nullptr;
    HMENU m_hMenuDefault = nullptr;
    HACCEL m_hAccelTable = nullptr;
    UINT m_nIDHelp = 0;
    DWORD m_dwFrameStyle = 0;  // the FWS_ bits kept from creation
    // Off: menu items and bar buttons that nothing handles keep their state.
    bool m_bAutoMenuEnable = true;

protected:
    bool PreCreateWindow(CREATESTRUCTA& cs) override;
    bool OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) override;
    int OnCreate(CREATESTRUCTA* cs) override;
    void OnClose() override;
    void OnSize(UINT type, int cx, int cy) override;
    void PostNcDestroy() override { delete this; }
    virtual bool OnCreateClient(CREATESTRUCTA* cs, CCreateContext* ctx);
    CView* CreateView(CCreateContext* ctx, UINT id = FW_IDW_PANE_FIRST);
    virtual void OnInitMenuPopup(HMENU menu, UINT index, bool sysMenu);
    virtual void OnDropFiles(HDROP drop);
    void OnUpdateKeyIndicator(CCmdUI* ui);

    std::string m_strTitle;
    CView* m_pViewActive = nullptr;

    FW_DECLARE_CMD_MAP()
};

class CMDIFrameWnd : public CFrameWnd {
    FW_DECLARE_DYNCREATE(CMDIFrameWnd)
public:
    HWND m_hWndMDIClient = nullptr;

    // Creates the MDI client; windowMenu receives the list of children.
    bool CreateClient(CREATESTRUCTA* cs, HMENU windowMenu);
    CMDIChildWnd* MDIGetActive(bool* maximised = nullptr) const;
    void MDIActivate(HWND child);
    CFrameWnd* GetActiveFrame() override;
    void RecalcLayout() override;

    bool OnCmdMsg(UINT id, FwCmdKind kind, CCmdUI* ui) override;
    bool PreTranslateMessage(MSG* msg) override;

protected:
    bool OnCreateClient(CREATESTRUCTA* cs, CCreateContext* ctx) override;
    LRESULT DefWindowProc(UINT msg, WPARAM wp, LPARAM lp) override;
    void OnSize(UINT type, int cx, int cy) override;
};

class CMDIChildWnd : public CFrameWnd {
    FW_DECLARE_DYNCREATE(CMDIChildWnd)
public:
    bool LoadFrame(UINT resId, DWORD style, CWnd* parent, CCreateContext* ctx) override;
    virtual bool Create(const char* className, const char* title, DWORD style,
                        CMDIFrameWnd* parent, CCreateContext* ctx);
    void ActivateFrame(int cmdShow = -1) override;
    CMDIFrameWnd* GetMDIFrame() const;
    bool OnCmdMsg(UINT id, FwCmdKind kind, CCmdUI* ui) override;

protected:
    LRESULT DefWindowProc(UINT msg, WPARAM wp, LPARAM lp) override;
    bool OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) override;
    void OnClose() override;
    void OnSize(UINT type, int cx, int cy) override;
    void OnUpdateFrameTitle(bool addToTitle) override;

    CCreateContext* m_pCreating = nullptr;
};
