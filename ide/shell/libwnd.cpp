#include "libwnd.h"

FW_IMPLEMENT_DYNCREATE(CLibDoc, CDocument)
FW_IMPLEMENT_DYNCREATE(CLibFrm, CMDIChildWnd)
FW_IMPLEMENT_DYNCREATE(CLibView, CView)

LRESULT CLibFrm::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_CREATE:
        // The first system-menu item is Restore.
        if (HMENU sys = GetSystemMenu(m_hWnd, FALSE))
            EnableMenuItem(sys, 0, MF_BYPOSITION | MF_GRAYED);
        break;
    case WM_SYSCOMMAND:
        if ((wp & 0xFFF0) == SC_RESTORE)
            return 0;
        break;
    default:
        break;
    }
    return CMDIChildWnd::WindowProc(msg, wp, lp);
}

void CLibFrm::ActivateFrame(int) { CMDIChildWnd::ActivateFrame(SW_SHOWMINIMIZED); }

bool CLibFrm::Create(const char* className, const char* title, DWORD style, CMDIFrameWnd* parent,
                     CCreateContext* ctx) {
    return CMDIChildWnd::Create(className, title, (style & ~WS_MAXIMIZEBOX) | WS_MINIMIZE, parent,
                                ctx);
}
