#include "fileplat.h"

#include <cstdio>
#include <cstring>
#include <iterator>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace txcl {

namespace {

// The interrupt handlers may only touch plain memory: the names are copied
// into fixed blocks, and the count says how many are valid.
constexpr std::size_t kInterruptFiles = 3;
char g_interruptFile[kInterruptFiles][1024];
volatile std::size_t g_interruptCount = 0;

void SetInterruptFiles(const std::string *names, std::size_t count) {
    g_interruptCount = 0;
    std::size_t n = 0;
    for (std::size_t i = 0; i < count && n < kInterruptFiles; ++i) {
        if (names[i].empty() || names[i].size() >= sizeof g_interruptFile[n])
            continue;
        std::memcpy(g_interruptFile[n], names[i].c_str(), names[i].size() + 1);
        ++n;
    }
    g_interruptCount = n;
}

}  // namespace

#ifdef _WIN32

const char kPathSeparator = '\\';

bool IsDirectory(const char *path) {
    DWORD a = GetFileAttributesA(path);
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool CanOpenForReading(const char *path) {
    FILE *f = std::fopen(path, "rb");
    if (!f)
        return false;
    std::fclose(f);
    return !IsDirectory(path);
}

bool SameFile(const char *a, const char *b) {
    auto info = [](const char *path, BY_HANDLE_FILE_INFORMATION &fi) {
        HANDLE h = CreateFileA(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                               nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        if (h == INVALID_HANDLE_VALUE)
            return false;
        bool ok = GetFileInformationByHandle(h, &fi) != 0;
        CloseHandle(h);
        return ok;
    };
    BY_HANDLE_FILE_INFORMATION fa, fb;
    return info(a, fa) && info(b, fb) && fa.dwVolumeSerialNumber == fb.dwVolumeSerialNumber &&
           fa.nFileIndexHigh == fb.nFileIndexHigh && fa.nFileIndexLow == fb.nFileIndexLow;
}

unsigned long ProcessNumber() { return GetCurrentProcessId(); }

namespace {

HANDLE g_mainThread = nullptr;

bool DeleteInterruptFiles() {
    bool all = true;
    for (std::size_t i = 0; i < g_interruptCount; ++i)
        if (!DeleteFileA(g_interruptFile[i]) && GetLastError() != ERROR_FILE_NOT_FOUND)
            all = false;
    return all;
}

DWORD WINAPI CloseAllStreams(LPVOID) {
    _fcloseall();
    return 0;
}

BOOL WINAPI OnConsoleEvent(DWORD) {
    if (!g_interruptCount)
        return FALSE;
    // A pass may hold one of the files open, and an open file cannot be
    // deleted: stop the passes, close their streams, then delete. The main
    // thread may have been stopped inside the C library holding a stream's
    // lock, so the closing gets a second at most.
    if (g_mainThread)
        SuspendThread(g_mainThread);
    if (!DeleteInterruptFiles()) {
        HANDLE t = CreateThread(nullptr, 0, CloseAllStreams, nullptr, 0, nullptr);
        if (t) {
            WaitForSingleObject(t, 1000);
            CloseHandle(t);
        }
        DeleteInterruptFiles();
    }
    // As the default handler ends a process on Ctrl+C; no library clean-up
    // runs, as it could wait on the stopped thread.
    TerminateProcess(GetCurrentProcess(), 0xC000013A);
    return TRUE;
}

}  // namespace

void RemoveOnInterrupt(const std::string *names, std::size_t count) {
    static bool installed = false;
    SetInterruptFiles(names, count);
    if (!installed && count) {
        DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(), &g_mainThread,
                        THREAD_SUSPEND_RESUME, FALSE, 0);
        installed = SetConsoleCtrlHandler(OnConsoleEvent, TRUE) != 0;
    }
}

#else

const char kPathSeparator = '/';

bool IsDirectory(const char *path) {
    struct stat st;
    return stat(path, &st) == 0 && S_ISDIR(st.st_mode);
}

bool CanOpenForReading(const char *path) {
    FILE *f = std::fopen(path, "rb");
    if (!f)
        return false;
    struct stat st;
    bool dir = fstat(fileno(f), &st) == 0 && S_ISDIR(st.st_mode);
    std::fclose(f);
    return !dir;
}

bool SameFile(const char *a, const char *b) {
    struct stat sa, sb;
    return stat(a, &sa) == 0 && stat(b, &sb) == 0 && sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

unsigned long ProcessNumber() { return static_cast<unsigned long>(getpid()); }

namespace {

constexpr int kInterruptSignals[] = {SIGINT, SIGTERM, SIGHUP};
struct sigaction g_previous[std::size(kInterruptSignals)];
bool g_watched[std::size(kInterruptSignals)];

void OnInterrupt(int sig) {
    for (std::size_t i = 0; i < g_interruptCount; ++i)
        unlink(g_interruptFile[i]);
    for (std::size_t i = 0; i < std::size(kInterruptSignals); ++i)
        if (kInterruptSignals[i] == sig)
            sigaction(sig, &g_previous[i], nullptr);
    raise(sig);
}

}  // namespace

void RemoveOnInterrupt(const std::string *names, std::size_t count) {
    SetInterruptFiles(names, count);
    for (std::size_t i = 0; i < std::size(kInterruptSignals); ++i) {
        int sig = kInterruptSignals[i];
        if (count && !g_watched[i]) {
            struct sigaction sa {};
            sa.sa_handler = OnInterrupt;
            sigemptyset(&sa.sa_mask);
            if (sigaction(sig, &sa, &g_previous[i]) != 0)
                continue;
            // A signal the caller ignores (nohup) stays ignored.
            if (g_previous[i].sa_handler == SIG_IGN)
                sigaction(sig, &g_previous[i], nullptr);
            else
                g_watched[i] = true;
        } else if (!count && g_watched[i]) {
            sigaction(sig, &g_previous[i], nullptr);
            g_watched[i] = false;
        }
    }
}

#endif

NewFile CreateNewFile(const char *path) {
    NewFile status;
    if (std::FILE *f = tx::OpenNewFile(path, &status))
        std::fclose(f);
    return status;
}

bool CreateEmptyFile(const char *path) {
    FILE *f = std::fopen(path, "wb");
    if (!f)
        return false;
    return std::fclose(f) == 0;
}

}  // namespace txcl
