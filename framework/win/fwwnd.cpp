#include "fwwnd.h"

#include <commctrl.h>

#include <cstdio>
#include <unordered_map>
#include <vector>

FW_IMPLEMENT_DYNAMIC(CWnd, CCmdTarget)

namespace {

struct CurrentMsg {
    HWND hwnd;
    UINT msg;
    WPARAM wp;
    LPARAM lp;
};

struct ThreadState {
    std::unordered_map<HWND, CWnd*> handles;
    std::vector<CurrentMsg> current;  // the messages being handled, innermost last
    CWnd* creating = nullptr;
    HHOOK hook = nullptr;
};

ThreadState& State() {
    static thread_local ThreadState s;
    return s;
}

}  // namespace

LRESULT CALLBACK FwCbtHook(int code, WPARAM wp, LPARAM lp) {
    ThreadState& st = State();
    if (code == HCBT_CREATEWND && st.creating) {
        HWND hwnd = reinterpret_cast<HWND>(wp);
        CWnd* obj = st.creating;
        st.creating = nullptr;
        obj->Attach(hwnd);
        WNDPROC proc = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(hwnd, GWLP_WNDPROC));
        if (proc != FwWndProc) {
            obj->m_pfnSuper = proc;
            SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FwWndProc));
        }
    }
    return CallNextHookEx(st.hook, code, wp, lp);
}

namespace fw {

void BeginCreateHook(CWnd* obj) {
    ThreadState& st = State();
    st.creating = obj;
    if (!st.hook)
        st.hook = SetWindowsHookExA(WH_CBT, FwCbtHook, nullptr, GetCurrentThreadId());
}

void EndCreateHook() {
    ThreadState& st = State();
    st.creating = nullptr;
    if (st.hook) {
        UnhookWindowsHookEx(st.hook);
        st.hook = nullptr;
    }
}

std::string LoadStr(UINT id) {
    // The string table's texts are short; 1 KB holds any of them.
    char buf[1024];
    int n = LoadStringA(GetModuleHandleA(nullptr), id, buf, sizeof buf);
    return n > 0 ? std::string(buf, n) : std::string();
}

}  // namespace fw

LRESULT CALLBACK FwWndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    ThreadState& st = State();
    auto it = st.handles.find(hwnd);
    CWnd* obj = it == st.handles.end() ? nullptr : it->second;
    if (!obj)
        return DefWindowProcA(hwnd, msg, wp, lp);
    st.current.push_back({hwnd, msg, wp, lp});
    LRESULT r = 0;
    // An exception must never cross the window procedure into the system.
    try {
        if (msg == WM_NCDESTROY) {
            r = obj->DefWindowProc(msg, wp, lp);
            obj->Detach();
            st.current.pop_back();
            obj->PostNcDestroy();
            return r;
        }
        r = obj->WindowProc(msg, wp, lp);
    } catch (...) {
        r = 0;
    }
    st.current.pop_back();
    return r;
}

CWnd::~CWnd() {
    if (m_hWnd) {
        HWND h = m_hWnd;
        Detach();
        ::DestroyWindow(h);
    }
}

CWnd* CWnd::FromHandle(HWND hwnd) {
    if (!hwnd)
        return nullptr;
    ThreadState& st = State();
    auto it = st.handles.find(hwnd);
    return it == st.handles.end() ? nullptr : it->second;
}

void CWnd::Attach(HWND hwnd) {
    m_hWnd = hwnd;
    State().handles[hwnd] = this;
}

void CWnd::Detach() {
    if (m_hWnd) {
        if (m_pfnSuper) {
            SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
        }
        State().handles.erase(m_hWnd);
    }
    m_hWnd = nullptr;
}

const char* CWnd::RegisterClass(UINT classStyle, HICON icon, HCURSOR cursor, HBRUSH background) {
    static thread_local std::vector<std::string> names;
    char name[96];
    std::snprintf(name, sizeof name, "Fw:%x:%p:%p:%p", classStyle, static_cast<void*>(icon),
                  static_cast<void*>(cursor), static_cast<void*>(background));
    for (const auto& n : names) {
        if (n == name)
            return n.c_str();
    }
    WNDCLASSA wc{};
    wc.style = classStyle;
    wc.lpfnWndProc = FwWndProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hIcon = icon;
    wc.hCursor = cursor ? cursor : LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = background;
    wc.lpszClassName = name;
    if (!::RegisterClassA(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        return nullptr;
    names.emplace_back(name);
    return names.back().c_str();
}

bool CWnd::PreCreateWindow(CREATESTRUCTA&) { return true; }

bool CWnd::CreateEx(DWORD exStyle, const char* className, const char* title, DWORD style, int x,
                    int y, int cx, int cy, HWND parent, HMENU menuOrId, void* param) {
    CREATESTRUCTA cs{};
    cs.dwExStyle = exStyle;
    cs.lpszClass = className;
    cs.lpszName = title;
    cs.style = static_cast<LONG>(style);
    cs.x = x;
    cs.y = y;
    cs.cx = cx;
    cs.cy = cy;
    cs.hwndParent = parent;
    cs.hMenu = menuOrId;
    cs.hInstance = GetModuleHandleA(nullptr);
    cs.lpCreateParams = param;
    if (!PreCreateWindow(cs))
        return false;
    fw::BeginCreateHook(this);
    HWND h = CreateWindowExA(cs.dwExStyle, cs.lpszClass, cs.lpszName, static_cast<DWORD>(cs.style),
                             cs.x, cs.y, cs.cx, cs.cy, cs.hwndParent, cs.hMenu, cs.hInstance,
                             cs.lpCreateParams);
    fw::EndCreateHook();
    if (!h) {
        // A failed WM_CREATE already destroyed the window and detached us.
        return false;
    }
    return true;
}

bool CWnd::SubclassWindow(HWND hwnd) {
    if (!hwnd || FromHandle(hwnd))
        return false;
    Attach(hwnd);
    WNDPROC proc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FwWndProc)));
    m_pfnSuper = proc == FwWndProc ? nullptr : proc;
    return true;
}

bool CWnd::SubclassDlgItem(UINT id, CWnd* parent) {
    return parent && SubclassWindow(GetDlgItem(parent->m_hWnd, static_cast<int>(id)));
}

HWND CWnd::UnsubclassWindow() {
    HWND h = m_hWnd;
    Detach();
    m_pfnSuper = nullptr;
    return h;
}

bool CWnd::DestroyWindow() {
    return m_hWnd && ::DestroyWindow(m_hWnd);
}

bool CWnd::PreTranslateMessage(MSG*) { return false; }

std::string CWnd::GetWindowText() const {
    int n = ::GetWindowTextLengthA(m_hWnd);
    std::string s(static_cast<size_t>(n) + 1, '\0');
    n = ::GetWindowTextA(m_hWnd, s.data(), n + 1);
    s.resize(n > 0 ? n : 0);
    return s;
}

LRESULT CWnd::DefWindowProc(UINT msg, WPARAM wp, LPARAM lp) {
    if (m_pfnSuper)
        return CallWindowProcA(m_pfnSuper, m_hWnd, msg, wp, lp);
    return ::DefWindowProcA(m_hWnd, msg, wp, lp);
}

LRESULT CWnd::Default() {
    ThreadState& st = State();
    if (st.current.empty())
        return 0;
    CurrentMsg m = st.current.back();
    return DefWindowProc(m.msg, m.wp, m.lp);
}

LRESULT CWnd::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
    LRESULT r = 0;
    if (OnWndMsg(msg, wp, lp, &r))
        return r;
    return DefWindowProc(msg, wp, lp);
}

bool CWnd::ReflectToChild(HWND child, UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
    CWnd* obj = FromHandle(child);
    return obj && obj != this && obj->OnChildNotify(msg, wp, lp, result);
}

bool CWnd::OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
    switch (msg) {
    case WM_CREATE:
        *result = OnCreate(reinterpret_cast<CREATESTRUCTA*>(lp));
        return true;
    case WM_DESTROY:
        OnDestroy();
        return true;
    case WM_CLOSE:
        OnClose();
        return true;
    case WM_SIZE:
        OnSize(static_cast<UINT>(wp), LOWORD(lp), HIWORD(lp));
        return true;
    case WM_TIMER:
        OnTimer(wp);
        return true;
    case WM_ACTIVATE:
        OnActivate(LOWORD(wp), reinterpret_cast<HWND>(lp), HIWORD(wp) != 0);
        return true;
    case WM_PAINT:
        OnPaint();
        return true;
    case WM_COMMAND: {
        HWND control = reinterpret_cast<HWND>(lp);
        if (control && ReflectToChild(control, msg, wp, lp, result))
            return true;
        if (!OnCommand(LOWORD(wp), HIWORD(wp), control))
            return false;
        *result = 0;
        return true;
    }
    case WM_NOTIFY: {
        NMHDR* nm = reinterpret_cast<NMHDR*>(lp);
        if (nm && ReflectToChild(nm->hwndFrom, msg, wp, lp, result))
            return true;
        return nm && OnNotify(static_cast<UINT>(nm->idFrom), nm, result);
    }
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_COMPAREITEM:
    case WM_DELETEITEM: {
        // These name their control by id; menus (id 0) are not reflected.
        HWND child = wp ? GetDlgItem(m_hWnd, static_cast<int>(wp)) : nullptr;
        return child && ReflectToChild(child, msg, wp, lp, result);
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
        return ReflectToChild(reinterpret_cast<HWND>(lp), msg, wp, lp, result);
    default:
        return false;
    }
}

int CWnd::OnCreate(CREATESTRUCTA*) { return static_cast<int>(Default()); }
void CWnd::OnDestroy() { Default(); }
void CWnd::OnClose() { Default(); }
void CWnd::OnSize(UINT, int, int) { Default(); }
void CWnd::OnTimer(UINT_PTR) { Default(); }
void CWnd::OnActivate(UINT, HWND, bool) { Default(); }
void CWnd::OnPaint() { Default(); }

bool CWnd::OnCommand(UINT id, UINT code, HWND control) {
    // Menu items and accelerators (code 0 or 1 without a control) go
    // through the command maps; control notifications are the handler's.
    if (control == nullptr && (code == 0 || code == 1))
        return OnCmdMsg(id, FwCmdKind::Command, nullptr);
    return false;
}

bool CWnd::OnNotify(UINT, NMHDR*, LRESULT*) { return false; }
bool CWnd::OnChildNotify(UINT, WPARAM, LPARAM, LRESULT*) { return false; }
