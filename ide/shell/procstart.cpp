#include "procstart.h"

#include <shellapi.h>

std::function<bool(const ProcessStart&, HANDLE*)>& ProcessStartHook() {
    static std::function<bool(const ProcessStart&, HANDLE*)> hook;
    return hook;
}

bool StartProgramProcess(const ProcessStart& start, HANDLE* process) {
    if (ProcessStartHook())
        return ProcessStartHook()(start, process);
    STARTUPINFOA si{};
    si.cb = sizeof si;
    std::string title = start.title;
    si.lpTitle = title.data();
    PROCESS_INFORMATION pi{};
    std::string line = start.commandLine;
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, start.flags, nullptr,
                        start.folder.empty() ? nullptr : start.folder.c_str(), &si, &pi))
        return false;
    CloseHandle(pi.hThread);
    *process = pi.hProcess;
    return true;
}

std::function<bool(const std::string&, const std::string&)>& ShellOpenHook() {
    static std::function<bool(const std::string&, const std::string&)> hook;
    return hook;
}

bool ShellOpenFile(const std::string& path, const std::string& folder) {
    if (ShellOpenHook())
        return ShellOpenHook()(path, folder);
    // Values above 32 are success; anything else names the failure.
    HINSTANCE r = ShellExecuteA(nullptr, "open", path.c_str(), nullptr, folder.empty() ? nullptr : folder.c_str(),
                                SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(r) > 32;
}
