/* The runtime's host layer over the Windows API (see rt_host.h). Nothing
   else in the runtime names a Windows function; the program imports these
   from KERNEL32 and USER32. Freestanding: no C library. */
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "rt_host.h"

/* BASIC error numbers of the host's failures. */
enum {
    E_ILLEGAL = 5,
    E_NOTFOUND = 53,
    E_EXISTS = 58,
    E_DISKFULL = 61,
    E_BADNAME = 64,
    E_MANYFILES = 67,
    E_PERMISSION = 70,
    E_ACCESS = 75,
};

/* COM input (line in wParam) reaches the runtime as this message. */
#define RT_WM_COM (WM_APP + 1)
/* The function keys F1 ... F10. */
#define RT_FUNCTION_KEYS 10

static int32_t rt_win_error(void) {
    switch (GetLastError()) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_MOD_NOT_FOUND: return -E_NOTFOUND;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS: return -E_EXISTS;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return -E_DISKFULL;
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME: return -E_BADNAME;
    case ERROR_TOO_MANY_OPEN_FILES: return -E_MANYFILES;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION: return -E_PERMISSION;
    default: return -E_ACCESS;
    }
}

/* ---- console --------------------------------------------------------- */

static HANDLE rt_std(DWORD which) { return GetStdHandle(which); }

void rt_host_write(const char *s, uint32_t n) {
    HANDLE h = rt_std(STD_OUTPUT_HANDLE);
    while (n) {
        DWORD done = 0;
        if (!WriteFile(h, s, n, &done, NULL) || !done) return;
        s += done;
        n -= done;
    }
}

/* A key typed on a real console, without waiting: its character. */
static int32_t rt_console_key(HANDLE h, char *c) {
    DWORD waiting = 0;
    while (GetNumberOfConsoleInputEvents(h, &waiting) && waiting) {
        INPUT_RECORD r;
        DWORD got = 0;
        if (!ReadConsoleInputA(h, &r, 1, &got) || !got) return 0;
        if (r.EventType == KEY_EVENT && r.Event.KeyEvent.bKeyDown && r.Event.KeyEvent.uChar.AsciiChar) {
            *c = r.Event.KeyEvent.uChar.AsciiChar;
            return 1;
        }
    }
    return 0;
}

int32_t rt_host_read_byte(char *c, int wait) {
    HANDLE h = rt_std(STD_INPUT_HANDLE);
    if (!wait) {
        DWORD avail = 0;
        if (PeekNamedPipe(h, NULL, 0, NULL, &avail, NULL)) {
            if (!avail) return 0;
        } else if (GetFileType(h) == FILE_TYPE_CHAR) {
            return rt_console_key(h, c);
        }
    }
    DWORD got = 0;
    if (!ReadFile(h, c, 1, &got, NULL) || got != 1) return wait ? -1 : 0;
    return 1;
}

int32_t rt_host_read_line(char *buf, uint32_t cap) {
    uint32_t n = 0;
    char c;
    int32_t r = rt_host_read_byte(&c, 1);
    if (r < 0) return -1;
    while (r > 0 && c != '\n') {
        if (n < cap) buf[n++] = c;
        r = rt_host_read_byte(&c, 1);
    }
    if (n && buf[n - 1] == '\r') --n;
    return (int32_t)n;
}

/* ---- the process ------------------------------------------------------ */

void rt_host_exit(int status) {
    for (;;) ExitProcess((UINT)status);
}

void rt_host_error(int code, uint32_t line, uintptr_t addr) {
    ULONG_PTR args[3] = {(ULONG_PTR)code, (ULONG_PTR)line, (ULONG_PTR)addr};
    RaiseException(RT_HOST_EXC_ERROR, EXCEPTION_NONCONTINUABLE, 3, args);
    rt_host_exit(1);
}

void rt_host_unbalanced(uintptr_t expected, uintptr_t actual, uintptr_t addr) {
    ULONG_PTR args[3] = {(ULONG_PTR)expected, (ULONG_PTR)actual, (ULONG_PTR)addr};
    RaiseException(RT_HOST_EXC_UNBALANCED, EXCEPTION_NONCONTINUABLE, 3, args);
    rt_host_exit(1);
}

uintptr_t rt_host_stack_low(void) {
    MEMORY_BASIC_INFORMATION mbi = {0};
    if (VirtualQuery(&mbi, &mbi, sizeof mbi) != sizeof mbi) return 0;
    return (uintptr_t)mbi.AllocationBase;
}

void *rt_host_map_shared(const char *name) {
    HANDLE m = OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, name);
    if (!m) return 0;
    void *p = MapViewOfFile(m, FILE_MAP_ALL_ACCESS, 0, 0, 0);
    CloseHandle(m); /* the view keeps the block */
    return p;
}

void rt_host_clock(uint32_t words[4]) {
    SYSTEMTIME t;
    GetLocalTime(&t);
    words[0] = (uint32_t)t.wYear * 10000 + (uint32_t)t.wMonth * 100 + t.wDay;
    words[1] = (uint32_t)t.wHour * 10000 + (uint32_t)t.wMinute * 100 + t.wSecond;
    words[2] = (((uint32_t)t.wHour * 60 + t.wMinute) * 60 + t.wSecond) * 1000 + t.wMilliseconds;
    words[3] = t.wDayOfWeek;
}

uint32_t rt_host_command_line(char *buf, uint32_t cap) {
    const char *p = GetCommandLineA();
    uint32_t n = 0;
    if (!p) return 0;
    /* The program's name: quoted, or up to the first blank. */
    if (*p == '"') {
        for (++p; *p && *p != '"'; ++p) {
        }
        if (*p) ++p;
    } else {
        while (*p && *p != ' ' && *p != '\t') ++p;
    }
    while (*p == ' ' || *p == '\t') ++p;
    while (p[n] && n < cap) {
        buf[n] = p[n];
        ++n;
    }
    return n;
}

int32_t rt_host_env(const char *name, char *buf, uint32_t cap) {
    static char value[32768];
    SetLastError(ERROR_SUCCESS);
    DWORD n = GetEnvironmentVariableA(name, value, sizeof value);
    if (!n && GetLastError() == ERROR_ENVVAR_NOT_FOUND) return -1;
    if (n >= sizeof value) n = 0; /* longer than any variable can be */
    if (n > cap) n = cap;
    for (DWORD i = 0; i < n; ++i) buf[i] = value[i];
    return (int32_t)n;
}

/* ---- files ------------------------------------------------------------ */

static HANDLE rt_handle(intptr_t h) { return (HANDLE)h; }

int32_t rt_host_open(const char *name, int how, intptr_t *handle) {
    DWORD access = GENERIC_READ | GENERIC_WRITE, disposition = OPEN_ALWAYS;
    switch (how) {
    case RT_HOST_READ:
        access = GENERIC_READ;
        disposition = OPEN_EXISTING;
        break;
    case RT_HOST_CREATE:
        access = GENERIC_WRITE;
        disposition = CREATE_ALWAYS;
        break;
    case RT_HOST_UPDATE_EXISTING: disposition = OPEN_EXISTING; break;
    case RT_HOST_WRITE: access = GENERIC_WRITE; break;
    default: break; /* RT_HOST_APPEND, RT_HOST_UPDATE */
    }
    HANDLE h = CreateFileA(name, access, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, disposition,
                           FILE_ATTRIBUTE_NORMAL, NULL);
    if (h == INVALID_HANDLE_VALUE) return rt_win_error();
    *handle = (intptr_t)h;
    return 0;
}

void rt_host_close(intptr_t handle) { CloseHandle(rt_handle(handle)); }

static int rt_seek(HANDLE h, uint32_t pos) {
    SetLastError(ERROR_SUCCESS);
    return SetFilePointer(h, (LONG)pos, NULL, FILE_BEGIN) != INVALID_SET_FILE_POINTER ||
           GetLastError() == ERROR_SUCCESS;
}

int32_t rt_host_read(intptr_t handle, uint32_t pos, void *p, uint32_t len) {
    HANDLE h = rt_handle(handle);
    DWORD got = 0;
    if (!rt_seek(h, pos) || !ReadFile(h, p, len, &got, NULL)) return rt_win_error();
    return (int32_t)got;
}

int32_t rt_host_write_at(intptr_t handle, uint32_t pos, const void *p, uint32_t len) {
    HANDLE h = rt_handle(handle);
    DWORD done = 0;
    if (!rt_seek(h, pos) || !WriteFile(h, p, len, &done, NULL)) return rt_win_error();
    if (done != len) return -E_DISKFULL;
    return (int32_t)done;
}

int32_t rt_host_size(intptr_t handle) {
    DWORD size = GetFileSize(rt_handle(handle), NULL);
    if (size == INVALID_FILE_SIZE) return rt_win_error();
    return size > 0x7FFFFFFFu ? 0x7FFFFFFF : (int32_t)size;
}

int32_t rt_host_truncate(intptr_t handle, uint32_t size) {
    HANDLE h = rt_handle(handle);
    if (!rt_seek(h, size) || !SetEndOfFile(h)) return rt_win_error();
    return 0;
}

int32_t rt_host_kill(const char *name) { return DeleteFileA(name) ? 0 : rt_win_error(); }

int32_t rt_host_rename(const char *from, const char *to) { return MoveFileA(from, to) ? 0 : rt_win_error(); }

int32_t rt_host_disk_free(void) {
    DWORD perCluster = 0, bytes = 0, freeClusters = 0, total = 0;
    if (!GetDiskFreeSpaceA(NULL, &perCluster, &bytes, &freeClusters, &total)) return 0;
    uint64_t kb = (uint64_t)freeClusters * perCluster * bytes >> 10;
    return kb > 0x7FFFFFFF ? 0x7FFFFFFF : (int32_t)kb;
}

/* ---- the printer -------------------------------------------------------- */

static HANDLE rt_printer_handle;

int rt_host_printer(void) {
    if (!rt_printer_handle)
        rt_printer_handle = CreateFileA("LPT1", GENERIC_WRITE, 0, NULL, OPEN_EXISTING, 0, NULL);
    return rt_printer_handle != INVALID_HANDLE_VALUE;
}

void rt_host_print(const char *s, uint32_t n) {
    if (!rt_host_printer()) return;
    while (n) {
        DWORD done = 0;
        if (!WriteFile(rt_printer_handle, s, n, &done, NULL) || !done) return;
        s += done;
        n -= done;
    }
}

/* ---- events -------------------------------------------------------------- */

int rt_host_event(int32_t ev[4]) {
    MSG msg;
    while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_KEYDOWN && msg.wParam >= VK_F1 && msg.wParam < VK_F1 + RT_FUNCTION_KEYS) {
            ev[0] = 1;
            ev[1] = (int32_t)(msg.wParam - VK_F1 + 1);
            ev[2] = ev[3] = 0;
            return 1;
        }
        if (msg.message == WM_LBUTTONDOWN || msg.message == WM_RBUTTONDOWN) {
            ev[0] = 2;
            ev[1] = msg.message == WM_LBUTTONDOWN ? 1 : 2;
            ev[2] = (int16_t)(msg.lParam & 0xFFFF);
            ev[3] = (int16_t)((msg.lParam >> 16) & 0xFFFF);
            return 1;
        }
        if (msg.message == RT_WM_COM) {
            ev[0] = 3;
            ev[1] = (int32_t)msg.wParam;
            ev[2] = ev[3] = 0;
            return 1;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}

/* ---- the graphics window ---------------------------------------------- */

#define RT_SCREEN_COLORS 16
static HWND rt_screen_wnd;
static int rt_screen_closed;
static const uint8_t *rt_screen_pixels;
static struct {
    BITMAPINFOHEADER h;
    RGBQUAD colors[RT_SCREEN_COLORS];
} rt_screen_bmi;

static LRESULT CALLBACK rt_screen_proc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(w, &ps);
        if (rt_screen_pixels)
            SetDIBitsToDevice(dc, 0, 0, (DWORD)rt_screen_bmi.h.biWidth, (DWORD)-rt_screen_bmi.h.biHeight, 0, 0, 0,
                              (UINT)-rt_screen_bmi.h.biHeight, rt_screen_pixels, (BITMAPINFO *)&rt_screen_bmi,
                              DIB_RGB_COLORS);
        EndPaint(w, &ps);
        return 0;
    }
    if (msg == WM_DESTROY) {
        rt_screen_wnd = NULL;
        rt_screen_closed = 1; /* the program draws on, unseen */
        return 0;
    }
    return DefWindowProcA(w, msg, wp, lp);
}

void rt_host_screen(const uint8_t *pixels, const uint8_t palette[][4], uint32_t width, uint32_t height) {
    if (rt_screen_closed) return;
    rt_screen_pixels = pixels;
    rt_screen_bmi.h.biSize = sizeof rt_screen_bmi.h;
    rt_screen_bmi.h.biWidth = (LONG)width;
    rt_screen_bmi.h.biHeight = -(LONG)height; /* rows from the top */
    rt_screen_bmi.h.biPlanes = 1;
    rt_screen_bmi.h.biBitCount = 8;
    rt_screen_bmi.h.biCompression = BI_RGB;
    rt_screen_bmi.h.biClrUsed = RT_SCREEN_COLORS;
    for (int k = 0; k < RT_SCREEN_COLORS; ++k) {
        rt_screen_bmi.colors[k].rgbRed = palette[k][0];
        rt_screen_bmi.colors[k].rgbGreen = palette[k][1];
        rt_screen_bmi.colors[k].rgbBlue = palette[k][2];
    }
    if (!rt_screen_wnd) {
        static const char cls[] = "TxScreen";
        WNDCLASSA wc;
        for (uint32_t i = 0; i < sizeof wc; ++i) ((char *)&wc)[i] = 0;
        wc.lpfnWndProc = rt_screen_proc;
        wc.hInstance = GetModuleHandleA(NULL);
        wc.lpszClassName = cls;
        RegisterClassA(&wc);
        const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
        RECT r = {0, 0, (LONG)width, (LONG)height};
        AdjustWindowRect(&r, style, FALSE);
        rt_screen_wnd = CreateWindowExA(0, cls, "", style | WS_VISIBLE, CW_USEDEFAULT, CW_USEDEFAULT, r.right - r.left,
                                        r.bottom - r.top, NULL, NULL, wc.hInstance, NULL);
        if (!rt_screen_wnd) {
            rt_screen_closed = 1;
            return;
        }
    }
    InvalidateRect(rt_screen_wnd, NULL, FALSE);
    UpdateWindow(rt_screen_wnd);
}

/* ---- SHELL ------------------------------------------------------------- */

int32_t rt_host_shell(const char *cmd, uint32_t len, void (*out)(const char *s, uint32_t n), int32_t *result) {
    static const char prefix[] = "cmd.exe /c ";
    static char line[32768];
    const uint32_t k = sizeof prefix - 1;
    if (len > sizeof line - k - 1) return -E_ILLEGAL;
    for (uint32_t i = 0; i < k; ++i) line[i] = prefix[i];
    for (uint32_t i = 0; i < len; ++i) line[k + i] = cmd[i];
    line[k + len] = 0;

    SECURITY_ATTRIBUTES sa = {sizeof sa, NULL, TRUE};
    HANDLE rd = NULL, wr = NULL;
    if (!CreatePipe(&rd, &wr, &sa, 0)) return -E_ACCESS;
    STARTUPINFOA si;
    PROCESS_INFORMATION pi;
    for (uint32_t i = 0; i < sizeof si; ++i) ((char *)&si)[i] = 0;
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = rt_std(STD_INPUT_HANDLE);
    si.hStdOutput = wr;
    si.hStdError = wr;
    if (!CreateProcessA(NULL, line, NULL, NULL, TRUE, 0, NULL, NULL, &si, &pi)) {
        CloseHandle(rd);
        CloseHandle(wr);
        return -E_ACCESS;
    }
    CloseHandle(wr); /* the pipe ends when the command's copy closes */
    char buf[512];
    DWORD got = 0;
    while (ReadFile(rd, buf, sizeof buf, &got, NULL) && got) out(buf, got);
    CloseHandle(rd);
    WaitForSingleObject(pi.hProcess, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    *result = (int32_t)code;
    return 0;
}

/* ---- module images ----------------------------------------------------- */

int32_t rt_host_load(const char *name, void **handle) {
    HMODULE m = LoadLibraryA(name);
    if (!m) return GetLastError() == ERROR_MOD_NOT_FOUND || GetLastError() == ERROR_FILE_NOT_FOUND ? -E_NOTFOUND
                                                                                                  : -E_ACCESS;
    *handle = (void *)m;
    return 0;
}

void *rt_host_proc(void *handle, const char *name) {
    HMODULE m = handle ? (HMODULE)handle : GetModuleHandleA(NULL);
    return (void *)GetProcAddress(m, name);
}

int32_t rt_host_free(void *handle) { return FreeLibrary((HMODULE)handle) ? 0 : -E_ILLEGAL; }
