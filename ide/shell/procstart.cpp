#include "procstart.h"

#include "prjerr.h"

#include <shellapi.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

// The one CreateProcess of the IDE: command line only (no module name),
// handles inherited, the IDE's environment.
bool CreateChild(const ProcessStart& start, STARTUPINFOA& si, PROCESS_INFORMATION& pi) {
    si.cb = sizeof si;
    std::string title = start.title;
    si.lpTitle = title.empty() ? nullptr : title.data();
    std::vector<char> line(start.commandLine.begin(), start.commandLine.end());
    line.push_back('\0');
    return CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, start.flags, nullptr,
                          start.folder.empty() ? nullptr : start.folder.c_str(), &si, &pi) != 0;
}

// The program's file: the command line's first word, quoted or not.
std::string ProgramOf(const std::string& commandLine) {
    if (!commandLine.empty() && commandLine[0] == '"')
        return commandLine.substr(1, commandLine.find('"', 1) - 1);
    return commandLine.substr(0, commandLine.find(' '));
}

// A 64-bit IDE starts a 32-bit program through the system's 32-bit layer.
// Where that layer is missing, the process is made and dies at once
// without a word, so the start is refused as a bad image instead.
bool ThirtyTwoBitLayerMissing(const std::string& program) {
    if (sizeof(void*) == 4)
        return false;
    HANDLE f = CreateFileA(program.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE)
        return false;
    unsigned char head[0x200] = {};
    DWORD got = 0;
    bool read = ReadFile(f, head, sizeof head, &got, nullptr) != 0;
    CloseHandle(f);
    if (!read || got < 0x40 || head[0] != 'M' || head[1] != 'Z')
        return false;
    uint32_t pe = head[0x3C] | head[0x3D] << 8 | head[0x3E] << 16 | static_cast<uint32_t>(head[0x3F]) << 24;
    if (pe > got - 6 || std::memcmp(head + pe, "PE\0\0", 4) != 0)
        return false;
    if ((head[pe + 4] | head[pe + 5] << 8) != IMAGE_FILE_MACHINE_I386)
        return false;
    char folder[MAX_PATH];
    UINT n = GetSystemWow64DirectoryA(folder, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return false;
    return GetFileAttributesA((std::string(folder) + "\\ntdll.dll").c_str()) == INVALID_FILE_ATTRIBUTES;
}

struct Reader {
    HANDLE pipe;
    bool error;
    ChildOutput* out;
};

DWORD WINAPI ReaderThread(LPVOID p) {
    Reader r = *static_cast<Reader*>(p);
    delete static_cast<Reader*>(p);
    char buf[kChildReadSize];
    DWORD got = 0;
    while (ReadFile(r.pipe, buf, sizeof buf, &got, nullptr) && got > 0)
        r.out->Chunk(r.error, std::string_view(buf, got));
    r.out->End(r.error);
    return 1;
}

HANDLE StartReader(HANDLE pipe, bool error, ChildOutput& out) {
    auto* r = new Reader{pipe, error, &out};
    HANDLE t = CreateThread(nullptr, 0, ReaderThread, r, 0, nullptr);
    if (!t)
        delete r;
    return t;
}

// Waits until every handle is signalled, handling the thread's messages
// meanwhile; the readers' text may reach a window by sent messages.
void WaitPumping(std::vector<HANDLE> pending, ChildWait wait) {
    const DWORD mask = wait == ChildWait::kAllMessages ? QS_ALLINPUT : (QS_PAINT | QS_SENDMESSAGE);
    bool quit = false;
    int quitCode = 0;
    while (!pending.empty()) {
        DWORD r = MsgWaitForMultipleObjects(static_cast<DWORD>(pending.size()), pending.data(), FALSE, INFINITE, mask);
        if (r < WAIT_OBJECT_0 + pending.size()) {
            pending.erase(pending.begin() + (r - WAIT_OBJECT_0));
            continue;
        }
        if (r != WAIT_OBJECT_0 + pending.size()) {
            WaitForMultipleObjects(static_cast<DWORD>(pending.size()), pending.data(), TRUE, INFINITE);
            break;
        }
        MSG msg;
        UINT remove = PM_REMOVE | (wait == ChildWait::kAllMessages ? 0 : PM_QS_PAINT);
        while (PeekMessageA(&msg, nullptr, 0, 0, remove)) {
            if (msg.message == WM_QUIT) {
                quit = true;
                quitCode = static_cast<int>(msg.wParam);
                continue;
            }
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    if (quit)
        PostQuitMessage(quitCode);
}

void CloseAll(std::initializer_list<HANDLE> handles) {
    for (HANDLE h : handles)
        if (h)
            CloseHandle(h);
}

}  // namespace

void CollectedOutput::Chunk(bool, std::string_view bytes) {
    std::lock_guard<std::mutex> hold(lock_);
    text_.append(bytes);
}

std::string CollectedOutput::Text() {
    std::lock_guard<std::mutex> hold(lock_);
    return text_;
}

tambrix::ChildResult RunCapturedChild(const ProcessStart& start, ChildOutput& out, ChildWait wait) {
    using tambrix::ChildStatus;
    tambrix::ChildResult result;
    SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
    HANDLE inR = nullptr, inW = nullptr, outR = nullptr, outW = nullptr, errR = nullptr, errW = nullptr;
    if (!CreatePipe(&inR, &inW, &sa, 0) || !CreatePipe(&outR, &outW, &sa, 0) || !CreatePipe(&errR, &errW, &sa, 0)) {
        result.status = ChildStatus::kNoPipe;
        result.error = GetLastError();
        CloseAll({inR, inW, outR, outW, errR, errW});
        return result;
    }
    // The child inherits only its own ends.
    SetHandleInformation(inW, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(outR, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(errR, HANDLE_FLAG_INHERIT, 0);

    STARTUPINFOA si{};
    si.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW | start.startFlags;
    si.wShowWindow = SW_HIDE;
    si.hStdInput = inR;
    si.hStdOutput = outW;
    si.hStdError = errW;
    PROCESS_INFORMATION pi{};
    bool started = CreateChild(start, si, pi);
    result.error = started ? 0 : GetLastError();
    // Our copies of the child's ends go, so the readers see the pipes end
    // when the child (and whatever inherited them) is gone.
    CloseAll({inR, outW, errW});
    if (!started) {
        result.status = ChildStatus::kNotStarted;
        CloseAll({inW, outR, errR});
        return result;
    }
    HANDLE errThread = StartReader(errR, true, out);
    HANDLE outThread = errThread ? StartReader(outR, false, out) : nullptr;
    if (!outThread) {
        result.status = ChildStatus::kNoReader;
        result.error = GetLastError();
        TerminateProcess(pi.hProcess, 1);
        if (errThread) {
            // The one reader ends once the child's ends are gone.
            WaitForSingleObject(errThread, INFINITE);
        }
        CloseAll({errThread, pi.hProcess, pi.hThread, inW, outR, errR});
        return result;
    }
    CloseHandle(pi.hThread);
    WaitPumping({errThread, outThread, pi.hProcess}, wait);
    DWORD code = 0;
    GetExitCodeProcess(pi.hProcess, &code);
    result.status = ChildStatus::kRan;
    result.exitCode = code;
    CloseAll({errThread, outThread, pi.hProcess, inW, outR, errR});
    return result;
}

std::function<bool(const ProcessStart&, HANDLE*)>& ProcessStartHook() {
    static std::function<bool(const ProcessStart&, HANDLE*)> hook;
    return hook;
}

bool StartProgramProcess(const ProcessStart& start, HANDLE* process) {
    if (ProcessStartHook())
        return ProcessStartHook()(start, process);
    STARTUPINFOA si{};
    PROCESS_INFORMATION pi{};
    if (ThirtyTwoBitLayerMissing(ProgramOf(start.commandLine))) {
        SetLastError(ERROR_BAD_EXE_FORMAT);
        return false;
    }
    if (!CreateChild(start, si, pi))
        return false;
    CloseHandle(pi.hThread);
    *process = pi.hProcess;
    return true;
}

void ShowToolOutput(const std::string& text) {
    CPrjErrView* view = OpenResultView();
    ClearResultText(view);
    AppendResultText(view, text);
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
