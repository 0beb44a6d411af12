#include "fileplat.h"

#include <cstdio>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace txcl {

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
