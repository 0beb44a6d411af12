#include "procstart.h"

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
