/* The runtime's host layer on real Windows functions (run under Wine): each
   host function the runtime calls, against what Windows itself reports. */
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <stdio.h>
#include <string.h>

#include "rt_host.h"

static int failures;

#define CHECK(cond)                                                            \
    do {                                                                       \
        if (!(cond)) {                                                         \
            printf("%s(%d): %s\n", __FILE__, __LINE__, #cond);                 \
            ++failures;                                                        \
        }                                                                      \
    } while (0)

static void files(void) {
    intptr_t h = 0;
    char buf[16] = {0};
    rt_host_kill("HOSTT.DAT");
    rt_host_kill("HOSTT2.DAT");
    /* The BASIC errors of the failures the runtime reports. */
    CHECK(rt_host_open("HOSTT.DAT", RT_HOST_READ, &h) == -53);
    CHECK(rt_host_open("NO\\SUCH\\FOLDER\\X.DAT", RT_HOST_CREATE, &h) == -53);
    CHECK(rt_host_kill("HOSTT.DAT") == -53);
    CHECK(rt_host_rename("HOSTT.DAT", "HOSTT2.DAT") == -53);

    CHECK(rt_host_open("HOSTT.DAT", RT_HOST_CREATE, &h) == 0);
    CHECK(rt_host_write_at(h, 0, "abcdef", 6) == 6);
    CHECK(rt_host_write_at(h, 3, "XY", 2) == 2); /* at a position, not appended */
    CHECK(rt_host_size(h) == 6);
    rt_host_close(h);

    CHECK(rt_host_open("HOSTT.DAT", RT_HOST_UPDATE_EXISTING, &h) == 0);
    CHECK(rt_host_read(h, 2, buf, sizeof buf) == 4);
    CHECK(memcmp(buf, "cXYf", 4) == 0);
    CHECK(rt_host_read(h, 6, buf, sizeof buf) == 0); /* the end */
    CHECK(rt_host_truncate(h, 2) == 0);
    CHECK(rt_host_size(h) == 2);
    rt_host_close(h);

    /* Appending opens keep the text; a second open of a name is shared. */
    CHECK(rt_host_open("HOSTT.DAT", RT_HOST_APPEND, &h) == 0);
    intptr_t h2 = 0;
    CHECK(rt_host_open("HOSTT.DAT", RT_HOST_READ, &h2) == 0);
    CHECK(rt_host_read(h2, 0, buf, sizeof buf) == 2);
    rt_host_close(h2);
    rt_host_close(h);

    CHECK(rt_host_rename("HOSTT.DAT", "HOSTT2.DAT") == 0);
    CHECK(rt_host_open("HOSTT.DAT", RT_HOST_CREATE, &h) == 0);
    rt_host_close(h);
    CHECK(rt_host_rename("HOSTT.DAT", "HOSTT2.DAT") == -58);
    CHECK(rt_host_kill("HOSTT.DAT") == 0);
    CHECK(rt_host_kill("HOSTT2.DAT") == 0);
    CHECK(rt_host_disk_free() > 0);
}

static void clock_and_text(void) {
    uint32_t w[4];
    SYSTEMTIME t;
    GetLocalTime(&t);
    rt_host_clock(w);
    CHECK(w[0] / 10000 == t.wYear && w[0] / 100 % 100 == t.wMonth);
    CHECK(w[1] / 10000 < 24 && w[1] / 100 % 100 < 60 && w[1] % 100 < 60);
    CHECK(w[2] / 1000 == (w[1] / 10000 * 60 + w[1] / 100 % 100) * 60 + w[1] % 100);
    CHECK(w[3] == t.wDayOfWeek || w[3] == (t.wDayOfWeek + 1) % 7u); /* midnight may pass */

    char buf[64];
    SetEnvironmentVariableA("TXHOSTVAR", "a=b c");
    CHECK(rt_host_env("TXHOSTVAR", buf, sizeof buf) == 5 && memcmp(buf, "a=b c", 5) == 0);
    CHECK(rt_host_env("TXHOSTVAR", buf, 3) == 3); /* cut to the buffer */
    SetEnvironmentVariableA("TXHOSTVAR", NULL);
    CHECK(rt_host_env("TXHOSTVAR", buf, sizeof buf) == -1);

    /* The arguments, without the program's name. */
    uint32_t n = rt_host_command_line(buf, sizeof buf);
    buf[n] = 0;
    CHECK(strcmp(buf, "one \"two three\"") == 0);
}

static void shared_block(void) {
    HANDLE m = CreateFileMappingA(INVALID_HANDLE_VALUE, NULL, PAGE_READWRITE, 0, 4096, "TxHostTestBlock");
    CHECK(m != NULL);
    uint8_t *mine = MapViewOfFile(m, FILE_MAP_ALL_ACCESS, 0, 0, 4096);
    uint8_t *theirs = rt_host_map_shared("TxHostTestBlock");
    CHECK(theirs != NULL);
    if (mine && theirs) {
        mine[100] = 0x5A;
        CHECK(theirs[100] == 0x5A);
    }
    CHECK(rt_host_map_shared("TxHostNoSuchBlock") == NULL);
    CloseHandle(m);
}

static void events(void) {
    int32_t ev[4];
    MSG msg;
    PeekMessageA(&msg, NULL, 0, 0, PM_NOREMOVE); /* the thread's queue */
    CHECK(rt_host_event(ev) == 0);
    PostThreadMessageA(GetCurrentThreadId(), WM_KEYDOWN, VK_F3, 0);
    PostThreadMessageA(GetCurrentThreadId(), WM_RBUTTONDOWN, 0, MAKELPARAM(120, 45));
    CHECK(rt_host_event(ev) == 1 && ev[0] == 1 && ev[1] == 3);
    CHECK(rt_host_event(ev) == 1 && ev[0] == 2 && ev[1] == 2 && ev[2] == 120 && ev[3] == 45);
    CHECK(rt_host_event(ev) == 0);
}

static char shell_out[256];
static uint32_t shell_len;
static void shell_sink(const char *s, uint32_t n) {
    for (uint32_t i = 0; i < n && shell_len < sizeof shell_out - 1; ++i) shell_out[shell_len++] = s[i];
}

static void process_and_modules(void) {
    int32_t result = -1;
    CHECK(rt_host_shell("echo hi", 7, shell_sink, &result) == 0);
    CHECK(result == 0);
    CHECK(strstr(shell_out, "hi") != NULL);
    CHECK(rt_host_shell("exit 3", 6, shell_sink, &result) == 0 && result == 3);

    void *k = 0;
    CHECK(rt_host_load("KERNEL32", &k) == 0 && k != NULL);
    CHECK(rt_host_proc(k, "GetTickCount") != NULL);
    CHECK(rt_host_proc(k, "NoSuchFunction") == NULL);
    CHECK(rt_host_free(k) == 0);
    void *none = 0;
    CHECK(rt_host_load("TXNOSUCH.DLL", &none) == -53);

    char local;
    uintptr_t low = rt_host_stack_low();
    CHECK(low != 0 && low < (uintptr_t)&local && (uintptr_t)&local - low < 64u << 20);
}

/* The window shows the frame buffer in the palette's colours. */
static void screen(void) {
    enum { W = 640, H = 400 };
    static uint8_t pixels[W * H];
    uint8_t palette[16][4] = {{0}};
    palette[1][0] = 255; /* red */
    palette[2][2] = 255; /* blue */
    memset(pixels, 1, sizeof pixels);
    pixels[20 * W + 30] = 2;
    rt_host_screen(pixels, (const uint8_t(*)[4])palette, W, H);
    HWND w = FindWindowA("TxScreen", NULL);
    CHECK(w != NULL);
    if (!w) return;
    RECT r;
    GetClientRect(w, &r);
    CHECK(r.right == W && r.bottom == H);
    HDC dc = GetDC(w);
    CHECK(GetPixel(dc, 5, 5) == RGB(255, 0, 0));
    CHECK(GetPixel(dc, 30, 20) == RGB(0, 0, 255));
    ReleaseDC(w, dc);
    /* Keys in the window reach the event traps. */
    int32_t ev[4];
    PostMessageA(w, WM_KEYDOWN, VK_F10, 0);
    CHECK(rt_host_event(ev) == 1 && ev[0] == 1 && ev[1] == 10);
}

static void console(void) {
    rt_host_write("host layer: console\n", 20);
    char c;
    CHECK(rt_host_read_byte(&c, 1) == 1 && c == 'x'); /* the test's standard input */
    char line[8];
    CHECK(rt_host_read_line(line, sizeof line) == 5 && memcmp(line, "yz 12", 5) == 0);
    CHECK(rt_host_read_line(line, 3) == 3 && memcmp(line, "abc", 3) == 0); /* cut, the rest skipped */
    CHECK(rt_host_read_line(line, sizeof line) == -1);
    CHECK(rt_host_read_byte(&c, 0) == 0);
}

int main(void) {
    files();
    clock_and_text();
    shared_block();
    events();
    process_and_modules();
    screen();
    console();
    if (failures) {
        printf("%d failed\n", failures);
        return 1;
    }
    printf("host layer: all passed\n");
    return 0;
}
