#include "fwframe.h"

#include "fwapp.h"
#include "fwdoc.h"
#include "fwstatusbar.h"

#include <shellapi.h>

FW_IMPLEMENT_DYNCREATE(CFrameWnd, CWnd)
FW_IMPLEMENT_DYNCREATE(CMDIFrameWnd, CFrameWnd)
FW_IMPLEMENT_DYNCREATE(CMDIChildWnd, CFrameWnd)

FW_BEGIN_CMD_MAP(CFrameWnd, CWnd)
    FW_ON_UPDATE(59137, OnUpdateKeyIndicator)
    FW_ON_UPDATE(59138, OnUpdateKeyIndicator)
    FW_ON_UPDATE(59139, OnUpdateKeyIndicator)
FW_END_CMD_MAP()

namespace {

std::string FirstField(const std::string& s) {
    size_t nl = s.find('\n');
    return nl == std::string::npos ? s : s.substr(0, nl);
}

}  // namespace

// ---- CFrameWnd ---------------------------------------------------------

bool CFrameWnd::PreCreateWindow(CREATESTRUCTA& cs) {
    m_dwFrameStyle = static_cast<DWORD>(cs.style) & FWS_ADDTOTITLE;
    cs.style &= ~static_cast<LONG>(FWS_ADDTOTITLE);
    return true;
}

bool CFrameWnd::LoadFrame(UINT resId, DWORD style, CWnd* parent, CCreateContext* ctx) {
    HINSTANCE inst = GetModuleHandleA(nullptr);
    m_nIDHelp = resId;
    m_strTitle = FirstField(fw::LoadStr(resId));
    HICON icon = LoadIconA(inst, MAKEINTRESOURCEA(resId));
    const char* cls = RegisterClass(CS_DBLCLKS, icon, nullptr,
                                    reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
    if (!cls)
        return false;
    m_hMenuDefault = LoadMenuA(inst, MAKEINTRESOURCEA(resId));
    m_hAccelTable = LoadAcceleratorsA(inst, MAKEINTRESOURCEA(resId));
    return CreateEx(0, cls, m_strTitle.c_str(), style, CW_USEDEFAULT, CW_USEDEFAULT,
                    CW_USEDEFAULT, CW_USEDEFAULT, parent ? parent->m_hWnd : nullptr,
                    m_hMenuDefault, ctx);
}

int CFrameWnd::OnCreate(CREATESTRUCTA* cs) {
    if (Default() == -1)
        return -1;
    auto* ctx = static_cast<CCreateContext*>(cs->lpCreateParams);
    if (!OnCreateClient(cs, ctx))
        return -1;
    // A hidden window gets no WM_SIZE until it is shown: lay the client out
    // now, so windows made inside it before then find their real size.
    RecalcLayout();
    return 0;
}

bool CFrameWnd::OnCreateClient(CREATESTRUCTA*, CCreateContext* ctx) {
    if (ctx && ctx->m_pNewViewClass)
        return CreateView(ctx) != nullptr;
    return true;
}

CView* CFrameWnd::CreateView(CCreateContext* ctx, UINT id) {
    CObject* obj = ctx->m_pNewViewClass->CreateObject();
    auto* view = dynamic_cast<CView*>(obj);
    if (!view) {
        delete obj;
        return nullptr;
    }
    if (!view->Create(this, id, ctx)) {
        delete view;
        return nullptr;
    }
    if (!m_pViewActive)
        m_pViewActive = view;
    return view;
}

void CFrameWnd::SetActiveView(CView* view) { m_pViewActive = view; }

CDocument* CFrameWnd::GetActiveDocument() {
    CView* v = GetActiveView();
    return v ? v->GetDocument() : nullptr;
}

void CFrameWnd::ActivateFrame(int cmdShow) {
    if (cmdShow == -1)
        cmdShow = IsIconic(m_hWnd) ? SW_RESTORE : SW_SHOW;
    ShowWindow(m_hWnd, cmdShow);
    if (cmdShow != SW_HIDE)
        BringWindowToTop(m_hWnd);
}

void CFrameWnd::InitialUpdateFrame(CDocument* doc, bool makeVisible) {
    if (doc) {
        for (CView* v : doc->GetViews()) {
            if (v->GetParentFrame() == this)
                v->OnInitialUpdate();
        }
    }
    OnUpdateFrameTitle(true);
    if (makeVisible)
        ActivateFrame(-1);
}

void CFrameWnd::OnUpdateFrameTitle(bool addToTitle) {
    if (!(m_dwFrameStyle & FWS_ADDTOTITLE) || !addToTitle)
        return;
    CDocument* doc = GetActiveDocument();
    std::string t = doc ? doc->GetTitle() + " - " + m_strTitle : m_strTitle;
    SetWindowTextA(m_hWnd, t.c_str());
}

void CFrameWnd::RecalcLayout() {
    RECT rc;
    GetClientRect(m_hWnd, &rc);
    if (m_pStatusBar && m_pStatusBar->m_hWnd) {
        m_pStatusBar->Reposition(rc.right, rc.bottom);
        rc.bottom -= m_pStatusBar->LayoutHeight();
    }
    if (HWND pane = GetDlgItem(m_hWnd, FW_IDW_PANE_FIRST))
        MoveWindow(pane, 0, 0, rc.right, rc.bottom > 0 ? rc.bottom : 0, TRUE);
}

void CFrameWnd::OnSize(UINT type, int, int) {
    if (type != SIZE_MINIMIZED)
        RecalcLayout();
}

void CFrameWnd::OnIdleUpdateCmdUI() {
    if (m_pStatusBar && m_pStatusBar->m_hWnd && IsWindowVisible(m_pStatusBar->m_hWnd))
        m_pStatusBar->UpdateFromFrame(this);
}

void CFrameWnd::OnUpdateKeyIndicator(CCmdUI* ui) {
    int key = ui->m_nID == 59137 ? VK_CAPITAL : ui->m_nID == 59138 ? VK_NUMLOCK : VK_SCROLL;
    ui->Enable((GetKeyState(key) & 1) != 0);
}

void CFrameWnd::OnClose() {
    CWinApp* app = FwGetApp();
    if (app && app->m_pMainWnd == this) {
        // Closing the main window ends the program: every document first.
        if (!app->SaveAllModified())
            return;
        app->CloseAllDocuments();
    }
    DestroyWindow();
}

bool CFrameWnd::OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
    switch (msg) {
    case WM_INITMENUPOPUP:
        OnInitMenuPopup(reinterpret_cast<HMENU>(wp), LOWORD(lp), HIWORD(lp) != 0);
        *result = 0;
        return true;
    case WM_DROPFILES:
        OnDropFiles(reinterpret_cast<HDROP>(wp));
        *result = 0;
        return true;
    case WM_SETFOCUS:
        // The keyboard goes on to the active view (a frame activated by a
        // click on its caption, an MDI child opened).
        if (CView* v = GetActiveView(); v && v->m_hWnd && IsWindowVisible(v->m_hWnd)) {
            ::SetFocus(v->m_hWnd);
            *result = 0;
            return true;
        }
        return CWnd::OnWndMsg(msg, wp, lp, result);
    case WM_NCDESTROY:
        return false;
    case WM_DESTROY: {
        CWinApp* app = FwGetApp();
        OnDestroy();
        if (app && app->m_pMainWnd == this) {
            app->m_pMainWnd = nullptr;
            PostQuitMessage(app->m_nExitCode);
        }
        return true;
    }
    default:
        return CWnd::OnWndMsg(msg, wp, lp, result);
    }
}

void CFrameWnd::OnDropFiles(HDROP drop) {
    // Each dropped file opens as if chosen from File/Open.
    SetActiveWindow(m_hWnd);
    UINT n = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    CWinApp* app = FwGetApp();
    for (UINT i = 0; i < n && app; ++i) {
        char path[MAX_PATH];
        if (DragQueryFileA(drop, i, path, sizeof path))
            app->OpenDocumentFile(path);
    }
    DragFinish(drop);
}

void CFrameWnd::OnInitMenuPopup(HMENU menu, UINT, bool sysMenu) {
    if (sysMenu)
        return;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        UINT id = GetMenuItemID(menu, i);
        if (id == 0 || id == static_cast<UINT>(-1) || id >= 0xF000)
            continue;  // separators, popups and system commands
        CCmdUI ui;
        ui.m_nID = id;
        ui.m_nIndex = static_cast<UINT>(i);
        ui.m_hMenu = menu;
        if (!OnCmdMsg(id, FwCmdKind::Update, &ui) && m_bAutoMenuEnable &&
            !OnCmdMsg(id, FwCmdKind::Probe, nullptr))
            ui.Enable(false);  // a command nothing handles is greyed
        i = static_cast<int>(ui.m_nIndex);
    }
}

bool CFrameWnd::OnCmdMsg(UINT id, FwCmdKind kind, CCmdUI* ui) {
    if (CView* v = GetActiveView(); v && v->OnCmdMsg(id, kind, ui))
        return true;
    if (CWnd::OnCmdMsg(id, kind, ui))
        return true;
    CWinApp* app = FwGetApp();
    return (GetWindowLongPtrA(m_hWnd, GWL_STYLE) & WS_CHILD) == 0 && app &&
           app->OnCmdMsg(id, kind, ui);
}

bool CFrameWnd::PreTranslateMessage(MSG* msg) {
    if (msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST && m_hAccelTable)
        return TranslateAcceleratorA(m_hWnd, m_hAccelTable, msg) != 0;
    return false;
}

// ---- CMDIFrameWnd ------------------------------------------------------

bool CMDIFrameWnd::OnCreateClient(CREATESTRUCTA* cs, CCreateContext*) {
    // The window menu is the second-last popup of the frame's menu.
    HMENU windowMenu = nullptr;
    if (HMENU bar = GetMenu(m_hWnd)) {
        int n = GetMenuItemCount(bar);
        if (n >= 2)
            windowMenu = GetSubMenu(bar, n - 2);
    }
    return CreateClient(cs, windowMenu);
}

bool CMDIFrameWnd::CreateClient(CREATESTRUCTA*, HMENU windowMenu) {
    CLIENTCREATESTRUCT ccs{};
    ccs.hWindowMenu = windowMenu;
    ccs.idFirstChild = FW_ID_MDI_FIRST_CHILD;
    m_hWndMDIClient = CreateWindowExA(WS_EX_CLIENTEDGE, "MDICLIENT", nullptr,
                                      WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS |
                                          WS_VSCROLL | WS_HSCROLL | MDIS_ALLCHILDSTYLES,
                                      0, 0, 0, 0, m_hWnd, nullptr, GetModuleHandleA(nullptr), &ccs);
    return m_hWndMDIClient != nullptr;
}

LRESULT CMDIFrameWnd::DefWindowProc(UINT msg, WPARAM wp, LPARAM lp) {
    return DefFrameProcA(m_hWnd, m_hWndMDIClient, msg, wp, lp);
}

void CMDIFrameWnd::OnSize(UINT type, int, int) {
    // The frame lays out its status bar and client itself; the default
    // processing would stretch the client over the status bar.
    if (type != SIZE_MINIMIZED)
        RecalcLayout();
}

void CMDIFrameWnd::RecalcLayout() {
    RECT rc;
    GetClientRect(m_hWnd, &rc);
    if (m_pStatusBar && m_pStatusBar->m_hWnd) {
        m_pStatusBar->Reposition(rc.right, rc.bottom);
        rc.bottom -= m_pStatusBar->LayoutHeight();
    }
    if (m_hWndMDIClient)
        MoveWindow(m_hWndMDIClient, 0, 0, rc.right, rc.bottom > 0 ? rc.bottom : 0, TRUE);
}

CMDIChildWnd* CMDIFrameWnd::MDIGetActive(bool* maximised) const {
    if (!m_hWndMDIClient)
        return nullptr;
    BOOL max = FALSE;
    HWND h = reinterpret_cast<HWND>(SendMessageA(m_hWndMDIClient, WM_MDIGETACTIVE, 0,
                                                 reinterpret_cast<LPARAM>(&max)));
    if (maximised)
        *maximised = max != 0;
    return dynamic_cast<CMDIChildWnd*>(FromHandle(h));
}

void CMDIFrameWnd::MDIActivate(HWND child) {
    SendMessageA(m_hWndMDIClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(child), 0);
}

CFrameWnd* CMDIFrameWnd::GetActiveFrame() {
    CMDIChildWnd* c = MDIGetActive();
    return c ? static_cast<CFrameWnd*>(c) : this;
}

bool CMDIFrameWnd::OnCmdMsg(UINT id, FwCmdKind kind, CCmdUI* ui) {
    if (CMDIChildWnd* c = MDIGetActive(); c && c->OnCmdMsg(id, kind, ui))
        return true;
    return CFrameWnd::OnCmdMsg(id, kind, ui);
}

bool CMDIFrameWnd::PreTranslateMessage(MSG* msg) {
    if (m_hWndMDIClient && TranslateMDISysAccel(m_hWndMDIClient, msg))
        return true;
    return CFrameWnd::PreTranslateMessage(msg);
}

// ---- CMDIChildWnd ------------------------------------------------------

bool CMDIChildWnd::LoadFrame(UINT resId, DWORD style, CWnd* parent, CCreateContext* ctx) {
    auto* mdi = dynamic_cast<CMDIFrameWnd*>(parent);
    if (!mdi)
        mdi = dynamic_cast<CMDIFrameWnd*>(FwGetApp() ? FwGetApp()->m_pMainWnd : nullptr);
    if (!mdi || !mdi->m_hWndMDIClient)
        return false;
    HINSTANCE inst = GetModuleHandleA(nullptr);
    m_nIDHelp = resId;
    m_strTitle = FirstField(fw::LoadStr(resId));
    HICON icon = LoadIconA(inst, MAKEINTRESOURCEA(resId));
    const char* cls = RegisterClass(CS_DBLCLKS, icon, nullptr,
                                    reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
    return cls && Create(cls, m_strTitle.c_str(), style, mdi, ctx);
}

bool CMDIChildWnd::Create(const char* className, const char* title, DWORD style,
                          CMDIFrameWnd* parent, CCreateContext* ctx) {
    CREATESTRUCTA cs{};
    cs.style = static_cast<LONG>(style | WS_CHILD);
    cs.lpszClass = className;
    cs.lpszName = title;
    cs.x = cs.y = cs.cx = cs.cy = CW_USEDEFAULT;
    cs.hwndParent = parent->m_hWnd;
    if (!PreCreateWindow(cs))
        return false;
    // The child starts hidden; ActivateFrame shows it.
    MDICREATESTRUCTA mcs{};
    mcs.szClass = cs.lpszClass;
    mcs.szTitle = cs.lpszName;
    mcs.hOwner = GetModuleHandleA(nullptr);
    mcs.x = cs.x;
    mcs.y = cs.y;
    mcs.cx = cs.cx;
    mcs.cy = cs.cy;
    mcs.style = static_cast<DWORD>(cs.style) & ~(WS_VISIBLE | WS_MAXIMIZE);
    mcs.lParam = reinterpret_cast<LPARAM>(ctx);
    m_pCreating = ctx;
    fw::BeginCreateHook(this);
    HWND h = reinterpret_cast<HWND>(
        SendMessageA(parent->m_hWndMDIClient, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
    fw::EndCreateHook();
    m_pCreating = nullptr;
    return h != nullptr;
}

bool CMDIChildWnd::OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
    if (msg == WM_CREATE) {
        // An MDI child gets its creation data through the MDI structure.
        auto* cs = reinterpret_cast<CREATESTRUCTA*>(lp);
        CREATESTRUCTA copy = *cs;
        copy.lpCreateParams = m_pCreating;
        *result = OnCreate(&copy);
        return true;
    }
    if (msg == WM_MDIACTIVATE) {
        Default();
        *result = 0;
        return true;
    }
    return CFrameWnd::OnWndMsg(msg, wp, lp, result);
}

LRESULT CMDIChildWnd::DefWindowProc(UINT msg, WPARAM wp, LPARAM lp) {
    return DefMDIChildProcA(m_hWnd, msg, wp, lp);
}

void CMDIChildWnd::OnSize(UINT type, int cx, int cy) {
    Default();  // the MDI child's own processing keeps the maximised state
    if (type != SIZE_MINIMIZED)
        RecalcLayout();
    (void)cx;
    (void)cy;
}

CMDIFrameWnd* CMDIChildWnd::GetMDIFrame() const {
    HWND client = ::GetParent(m_hWnd);
    return dynamic_cast<CMDIFrameWnd*>(FromHandle(client ? ::GetParent(client) : nullptr));
}

void CMDIChildWnd::ActivateFrame(int cmdShow) {
    CMDIFrameWnd* frame = GetMDIFrame();
    bool maximised = false;
    CMDIChildWnd* active = frame ? frame->MDIGetActive(&maximised) : nullptr;
    if (cmdShow == -1)
        cmdShow = (active && active != this && maximised) ? SW_SHOWMAXIMIZED : SW_SHOW;
    ShowWindow(m_hWnd, cmdShow);
    if (frame && cmdShow != SW_HIDE)
        frame->MDIActivate(m_hWnd);
}

void CMDIChildWnd::OnUpdateFrameTitle(bool addToTitle) {
    if (!addToTitle)
        return;
    if (CDocument* doc = GetActiveDocument())
        SetWindowTextA(m_hWnd, doc->GetTitle().c_str());
}

void CMDIChildWnd::OnClose() {
    CDocument* doc = GetActiveDocument();
    if (doc) {
        if (!doc->CanCloseFrame(this))
            return;
        // The document's last frame closes the document with it.
        int frames = 0;
        for (CView* v : doc->GetViews())
            frames += v->GetParentFrame() != this;
        if (frames == 0) {
            doc->OnCloseDocument();
            return;
        }
    }
    DestroyWindow();
}

bool CMDIChildWnd::OnCmdMsg(UINT id, FwCmdKind kind, CCmdUI* ui) {
    if (CView* v = GetActiveView(); v && v->OnCmdMsg(id, kind, ui))
        return true;
    return CWnd::OnCmdMsg(id, kind, ui);
}
