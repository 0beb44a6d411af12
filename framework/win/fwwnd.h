// Window objects over Win32 windows.
//
// A CWnd is tied to its window through the handle map while the window
// lives: the framework's window procedure finds the object by handle and
// calls WindowProc, which decodes the messages the framework knows into the
// virtual On... handlers; anything a handler leaves goes to DefWindowProc
// (the superclass procedure for subclassed system windows). Only permanent
// objects are in the map: FromHandle gives nullptr for a window no object
// owns. Commands and notifications that come from a child control are
// first offered back to that control's object (OnChildNotify).
#pragma once

#include "fwobject.h"

#include <string>

class CWnd : public CCmdTarget {
    FW_DECLARE_DYNAMIC(CWnd)
public:
    CWnd() = default;
    ~CWnd() override;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd = nullptr;

    static CWnd* FromHandle(HWND hwnd);
    HWND GetSafeHwnd() const { return m_hWnd; }

    // Creates the window and ties this object to it before its first message.
    virtual bool CreateEx(DWORD exStyle, const char* className, const char* title, DWORD style,
                          int x, int y, int cx, int cy, HWND parent, HMENU menuOrId,
                          void* param = nullptr);
    // Ties an existing window (a dialog control) to this object and routes
    // its messages through WindowProc.
    bool SubclassWindow(HWND hwnd);
    bool SubclassDlgItem(UINT id, CWnd* parent);
    HWND UnsubclassWindow();
    virtual bool DestroyWindow();

    virtual bool PreCreateWindow(CREATESTRUCTA& cs);
    virtual bool PreTranslateMessage(MSG* msg);
    virtual LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp);
    // Passes the message being handled to the default processing.
    LRESULT Default();

    // Sends WM_COMMAND to this window; true when something handled it.
    bool SendCommand(UINT id) { return m_hWnd && SendMessageA(m_hWnd, WM_COMMAND, id, 0) != 0; }
    std::string GetWindowText() const;
    CWnd* GetParent() const { return FromHandle(::GetParent(m_hWnd)); }

    // Registers a window class of the framework with the given icon and
    // class style; returns its name ("Fw:<style>:<icon>:<cursor>").
    static const char* RegisterClass(UINT classStyle, HICON icon = nullptr,
                                     HCURSOR cursor = nullptr, HBRUSH background = nullptr);

protected:
    virtual LRESULT DefWindowProc(UINT msg, WPARAM wp, LPARAM lp);
    virtual bool OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result);

    // Decoded messages. Each default runs the default processing.
    virtual int OnCreate(CREATESTRUCTA* cs);
    virtual void OnDestroy();
    virtual void OnClose();
    virtual void OnSize(UINT type, int cx, int cy);
    virtual void OnTimer(UINT_PTR id);
    virtual void OnActivate(UINT state, HWND other, bool minimised);
    virtual void OnPaint();
    // A command from a menu, an accelerator or a control. True when handled.
    virtual bool OnCommand(UINT id, UINT code, HWND control);
    virtual bool OnNotify(UINT id, NMHDR* nm, LRESULT* result);
    // A notification reflected from this window's parent: true when this
    // object took it.
    virtual bool OnChildNotify(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result);
    // Called once the window is gone, after its last message.
    virtual void PostNcDestroy() {}

    WNDPROC m_pfnSuper = nullptr;

private:
    friend LRESULT CALLBACK FwWndProc(HWND, UINT, WPARAM, LPARAM);
    friend LRESULT CALLBACK FwCbtHook(int, WPARAM, LPARAM);
    void Attach(HWND hwnd);
    void Detach();
    bool ReflectToChild(HWND child, UINT msg, WPARAM wp, LPARAM lp, LRESULT* result);
};

LRESULT CALLBACK FwWndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

namespace fw {
// Ties the next window created on this thread to obj (used around calls
// that create windows the framework does not create itself: MDI children,
// dialogs). End with EndCreateHook.
void BeginCreateHook(CWnd* obj);
void EndCreateHook();
// A string of the program's string table; empty when it has none.
std::string LoadStr(UINT id);
}  // namespace fw
