// TXPROBE.EXE: the program LINK writes in place of the image when the test
// switch TX_LINK_PROBE names this file. Built programs are i386 and do not
// run under 64-bit Wine; the probe stands in for them so the IDE's start,
// watch and running-program check can be exercised. It appends to
// "<its own path>.log" its command line, current folder and whether it has
// a console, then stays running for TX_PROBE_WAIT milliseconds.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int main() {
    char exe[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, exe, sizeof exe);
    char log[MAX_PATH + 8];
    std::snprintf(log, sizeof log, "%s.log", exe);
    char cwd[MAX_PATH] = {};
    GetCurrentDirectoryA(sizeof cwd, cwd);
    if (FILE* f = std::fopen(log, "ab")) {
        std::fprintf(f, "cmdline=%s\r\ncwd=%s\r\nconsole=%s\r\n", GetCommandLineA(), cwd,
                     GetConsoleWindow() ? "yes" : "no");
        std::fclose(f);
    }
    if (const char* wait = std::getenv("TX_PROBE_WAIT"))
        Sleep(static_cast<DWORD>(std::strtoul(wait, nullptr, 10)));
    return 0;
}
