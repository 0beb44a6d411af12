#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <vector>

#include "system_host.h"

namespace nmk {
namespace {

class WinHost : public MakeHost {
public:
    WinHost() {
        _setmode(_fileno(stdout), _O_BINARY);
        _setmode(_fileno(stderr), _O_BINARY);
    }

    std::optional<std::int64_t> FileTime(const std::string &path) override {
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
            return std::nullopt;
        return (static_cast<std::int64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
               data.ftLastWriteTime.dwLowDateTime;
    }

    std::string WriteTempFile(const std::string &bytes) override {
        std::vector<char> dir(MAX_PATH + 1);
        DWORD n = GetTempPathA(static_cast<DWORD>(dir.size()), dir.data());
        if (n >= dir.size()) {   // a long %TMP% is taken whole
            dir.resize(n + 1);
            n = GetTempPathA(static_cast<DWORD>(dir.size()), dir.data());
        }
        if (n == 0)
            return {};
        std::vector<char> name(n + MAX_PATH + 16);
        if (!GetTempFileNameA(dir.data(), "nm", 0, name.data()))
            return {};
        HANDLE f = CreateFileA(name.data(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        if (f == INVALID_HANDLE_VALUE)
            return {};
        DWORD written = 0;
        BOOL ok = WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        CloseHandle(f);
        if (!ok || written != bytes.size()) {
            DeleteFileA(name.data());
            return {};
        }
        return name.data();
    }

    void RemoveFile(const std::string &path) override { DeleteFileA(path.c_str()); }

    std::optional<std::uint32_t> Run(const std::string &command_line) override {
        STARTUPINFOA si{};
        si.cb = sizeof si;
        si.dwFlags = STARTF_USESTDHANDLES;
        si.hStdInput = Inheritable(STD_INPUT_HANDLE);
        si.hStdOutput = Inheritable(STD_OUTPUT_HANDLE);
        si.hStdError = Inheritable(STD_ERROR_HANDLE);
        std::vector<char> line(command_line.begin(), command_line.end());
        line.push_back('\0');
        PROCESS_INFORMATION pi{};
        if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi))
            return std::nullopt;
        WaitForSingleObject(pi.hProcess, INFINITE);
        DWORD code = 0;
        GetExitCodeProcess(pi.hProcess, &code);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
        return code;
    }

    void Out(const std::string &line) override { Write(stdout, line); }
    void Err(const std::string &line) override { Write(stderr, line); }

private:
    static HANDLE Inheritable(DWORD which) {
        HANDLE h = GetStdHandle(which);
        if (h && h != INVALID_HANDLE_VALUE)
            SetHandleInformation(h, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
        return h;
    }

    // The build reads our lines and the tools' lines from one pipe: each
    // line goes out whole before a tool starts.
    static void Write(FILE *f, const std::string &line) {
        std::string text = line + "\r\n";
        std::fwrite(text.data(), 1, text.size(), f);
        std::fflush(f);
    }
};

}  // namespace

std::unique_ptr<MakeHost> NewSystemHost() { return std::make_unique<WinHost>(); }

}  // namespace nmk
