#include "buildrun.h"
#include "procstart.h"

#include "build_env.h"
#include "build_output.h"
#include "builddlg.h"
#include "editor.h"
#include "ideservices.h"
#include "idehelpers.h"
#include "make_script.h"
#include "prjdoc.h"
#include "openrules.h"
#include "prjerr.h"
#include "prjtexts.h"
#include "prjwin.h"
#include "shellids.h"
#include "project_ops.h"
#include "sjis_path.h"

#include <tlhelp32.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <optional>
#include <mutex>

namespace prjui {
namespace {

constexpr UINT kMsgRebuildAll = IDS_REBUILD_ALL;
constexpr UINT kMsgRunning = IDS_PROGRAM_RUNNING;
constexpr UINT kMsgCannotStart = IDS_CANNOT_START;
constexpr DWORD kCreateFlags = CREATE_DEFAULT_ERROR_MODE | CREATE_NEW_PROCESS_GROUP |
                               NORMAL_PRIORITY_CLASS | CREATE_NEW_CONSOLE;

// Process-wide build state.
std::atomic<CPrjErrView*> g_output{nullptr};
std::FILE* g_log = nullptr;
std::mutex g_logLock;
// Shift and Control were both down when the build started.
bool g_verbose = false;
class Sink : public prj::BuildTextSink {
public:
    void Append(const std::string& text) override {
        // A message to the view's window: the GUI thread's wait loop takes it.
        if (CPrjErrView* v = g_output.load(); v && v->m_hWnd && IsWindow(v->m_hWnd))
            SendMessageA(v->m_hWnd, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
        std::lock_guard<std::mutex> lock(g_logLock);
        if (g_log)
            std::fwrite(text.data(), 1, text.size(), g_log);
    }
};

// NMAKE's two streams, each split into lines and filtered on its own
// reader thread.
class MakeOutput : public ChildOutput {
public:
    explicit MakeOutput(prj::BuildRun& run) : out_(run), err_(run) {}
    void Chunk(bool error, std::string_view bytes) override {
        (error ? errSplit_ : outSplit_).Feed(bytes, [&](const std::string& l) { Line(error, l); });
    }
    void End(bool error) override {
        (error ? errSplit_ : outSplit_).End([&](const std::string& l) { Line(error, l); });
        if (error)
            err_.End();
    }

private:
    void Line(bool error, const std::string& l) {
        if (error)
            err_.Line(l);
        else
            out_.Line(l);
    }
    prj::LineSplitter outSplit_, errSplit_;
    prj::MakeOutputFilter out_;
    prj::MakeErrorFilter err_;
};
static_assert(kChildReadSize == prj::kPipeReadSize, "the line splitter takes one read at a time");

class WinEnvVars : public prj::EnvironmentVars {
public:
    std::optional<std::string> Get(const char* name) override {
        SetLastError(0);
        DWORD n = GetEnvironmentVariableA(name, nullptr, 0);
        if (n == 0)
            return GetLastError() == ERROR_ENVVAR_NOT_FOUND ? std::nullopt : std::optional<std::string>("");
        std::string v(n, '\0');
        n = GetEnvironmentVariableA(name, v.data(), n);
        v.resize(n);
        return v;
    }
    void Set(const char* name, const std::optional<std::string>& value) override {
        SetEnvironmentVariableA(name, value ? value->c_str() : nullptr);
    }
};

}  // namespace

ToolEnvironment::ToolEnvironment(const prj::BuildFolders& folders) {
    WinEnvVars vars;
    saved_.Apply(vars, folders);
}

ToolEnvironment::~ToolEnvironment() {
    WinEnvVars vars;
    saved_.Restore(vars);
}

namespace {

std::string ProjectFolderPath(const prj::ProjectData& d) {
    std::string folder = d.project_folder.empty() ? std::string("\\") : d.project_folder;
    if (d.drive > 0)
        return std::string(1, static_cast<char>('@' + d.drive)) + ":" + folder;
    return folder;
}

void ActivateMain() {
    if (HWND main = Ide().MainWindow())
        SetActiveWindow(main);
}

bool IsDefaultMode(CPrjDoc* doc) { return doc == GetProjectDoc() && doc->Data().default_project_mode; }

void ResetIfDefault(CPrjDoc* doc) {
    if (IsDefaultMode(doc)) {
        doc->Data().ResetContents();
        doc->SyncFromData();
    }
}

// The open editor windows, for a build without a project file.
prj::DefaultProjectSources DefaultSources(CPrjDoc* doc) {
    prj::DefaultProjectSources src;
    IdeServices& ide = Ide();
    for (CMDIChildWnd* f = ide.FindChild(ChildKind::kEditor); f; f = ide.FindChild(ChildKind::kEditor, f)) {
        CDocument* d = f->GetActiveDocument();
        if (!d)
            continue;
        if (!src.first_editor)
            src.first_editor = prj::OpenWindow{d->GetTitle(), d->GetPathName()};
        auto* bas = dynamic_cast<CBasEditDoc*>(d);
        if (bas && bas->m_pPrjDoc == doc && !src.owned_editor_path)
            src.owned_editor_path = d->GetPathName();
    }
    return src;
}

}  // namespace

void PrepareDefaultProject(CPrjDoc* doc) {
    if (doc != GetProjectDoc())
        return;
    prj::PrepareDefaultProject(doc->Data(), DefaultSources(doc), Env().fs);
    doc->SyncFromData();
}

void ResetDefaultProject(CPrjDoc* doc) { ResetIfDefault(doc); }

void ForgetOutputView() { g_output.store(nullptr); }

std::string LastBuildLog() {
    char* p = Ide().BuildLog();
    return p ? std::string(p) : std::string();
}

void DeleteBuildLog() {
    char*& log = Ide().BuildLog();
    if (!log)
        return;
    if (log[0])
        DeleteFileA(log);
    delete[] log;
    log = nullptr;
}

int CheckTargetRunning(CPrjDoc* doc) {
    std::string path = prj::TargetProgramPath(doc->Data());
    using Snap = HANDLE(WINAPI*)(DWORD, DWORD);
    using ProcWalk = BOOL(WINAPI*)(HANDLE, PROCESSENTRY32*);
    using ModWalk = BOOL(WINAPI*)(HANDLE, MODULEENTRY32*);
    HMODULE k = GetModuleHandleA("KERNEL32.DLL");
    auto snap = reinterpret_cast<Snap>(reinterpret_cast<void*>(GetProcAddress(k, "CreateToolhelp32Snapshot")));
    auto p1 = reinterpret_cast<ProcWalk>(reinterpret_cast<void*>(GetProcAddress(k, "Process32First")));
    auto pn = reinterpret_cast<ProcWalk>(reinterpret_cast<void*>(GetProcAddress(k, "Process32Next")));
    auto m1 = reinterpret_cast<ModWalk>(reinterpret_cast<void*>(GetProcAddress(k, "Module32First")));
    auto mn = reinterpret_cast<ModWalk>(reinterpret_cast<void*>(GetProcAddress(k, "Module32Next")));
    bool mayBuild = true;
    if (snap && p1 && pn && m1 && mn) {
        HANDLE procs = snap(TH32CS_SNAPPROCESS, 0);
        PROCESSENTRY32 pe{};
        pe.dwSize = sizeof pe;
        for (BOOL ok = procs != INVALID_HANDLE_VALUE && p1(procs, &pe); ok && mayBuild; ok = pn(procs, &pe)) {
            HANDLE mods = snap(TH32CS_SNAPMODULE, pe.th32ProcessID);
            if (mods == INVALID_HANDLE_VALUE)
                continue;
            MODULEENTRY32 me{};
            me.dwSize = sizeof me;
            std::string first, match;
            for (BOOL m = m1(mods, &me); m; m = mn(mods, &me)) {
                if (first.empty())
                    first = me.szExePath;
                if (me.th32ModuleID == pe.th32ModuleID) {
                    match = me.szExePath;
                    break;
                }
            }
            CloseHandle(mods);
            // Where module ids no longer say which is the program, the
            // first module is.
            const std::string& exe = match.empty() ? first : match;
            if (!exe.empty() && lstrcmpiA(exe.c_str(), path.c_str()) == 0)
                mayBuild = false;
        }
        if (procs != INVALID_HANDLE_VALUE)
            CloseHandle(procs);
    }
    if (!mayBuild) {
        MessageBoxById(kMsgRunning, MB_ICONHAND, 0, path.c_str());
        return 0;
    }
    return 1;
}

// The log: a new "TV" file in the IDE's folder, or in the temporary folder
// when that one takes none; the last build's log goes first.
void OpenBuildLog() {
    char*& log = Ide().BuildLog();
    if (!log) {
        log = new char[MAX_PATH];
        log[0] = '\0';
    } else if (log[0]) {
        DeleteFileA(log);
    }
    char tmp[MAX_PATH];
    GetTempPathA(sizeof tmp, tmp);
    auto create = [](const std::string& folder) -> std::optional<std::string> {
        char name[MAX_PATH];
        if (folder.empty() || !GetTempFileNameA(folder.c_str(), text::kLogPrefix, 0, name))
            return std::nullopt;
        return std::string(name);
    };
    std::optional<std::string> logPath = prj::CreateBuildLog(create, Ide().ProgramFolder(), tmp);
    lstrcpynA(log, logPath ? logPath->c_str() : "", MAX_PATH);
    std::lock_guard<std::mutex> lock(g_logLock);
    g_log = logPath ? std::fopen(logPath->c_str(), "wb") : nullptr;
}

void CloseBuildLog() {
    std::lock_guard<std::mutex> lock(g_logLock);
    if (g_log)
        std::fclose(g_log);
    g_log = nullptr;
}

int RunMake(CPrjDoc* doc, bool rebuildAll) {
    prj::ProjectData& d = doc->Data();
    Sink sink;
    prj::BuildRun run(sink, g_verbose);
    OpenBuildLog();

    ProcessStart start;
    start.commandLine = prj::NmakeCommandLine(d.make_script_path, rebuildAll);
    start.folder = ProjectFolderPath(d);
    start.flags = kCreateFlags;
    start.title = text::kConsoleTitle;
    MakeOutput output(run);
    tambrix::ChildResult r;
    {
        const tambrix::FrameSettings& s = Ide().Settings();
        ToolEnvironment env({s.machineBin, s.machineLib, s.machineInclude, s.userBin, s.userLib, s.userInclude});
        // The build dialog holds the frames disabled, so every message may run.
        r = RunCapturedChild(start, output, ChildWait::kAllMessages);
    }
    CloseBuildLog();
    if (r.status == tambrix::ChildStatus::kNotStarted)
        MessageBoxById(IDS_REGISTRY_BROKEN, MB_ICONHAND, 0);
    return tambrix::MakeSucceeded(r, run.Failed()) ? 1 : 0;
}

bool RunProgram(CPrjDoc* doc) {
    IdeServices& ide = Ide();
    if (!doc)
        doc = GetProjectDoc();
    if (!doc)
        return false;
    prj::ProjectData& d = doc->Data();
    std::string cmd = tambrix::QuoteArgument(prj::TargetProgramPath(d));
    if (std::string args = ide.RunArgs(); !args.empty())
        cmd += " " + args;
    ide.ShowDesignWindows(false);
    // The test build records the start.
    ProcessStart start;
    start.commandLine = cmd;
    start.folder = ProjectFolderPath(d);
    start.flags = kCreateFlags;
    start.title = text::kConsoleTitle;
    HANDLE process = nullptr;
    if (!StartProgramProcess(start, &process)) {
        // Says which program and why, in the system's words (a 32-bit
        // program on a machine without 32-bit support, a missing file...).
        DWORD err = GetLastError();
        std::string text = tambrix::FormatMessageText(fw::LoadStr(kMsgCannotStart), prj::BuildProgramName(d));
        char reason[512] = {};
        // A system text's inserts ("%1 ...") all name the program.
        std::string name = prj::BuildProgramName(d);
        DWORD_PTR inserts[9];
        for (DWORD_PTR& i : inserts)
            i = reinterpret_cast<DWORD_PTR>(name.c_str());
        if (FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_ARGUMENT_ARRAY, nullptr, err, 0, reason,
                           sizeof reason, reinterpret_cast<va_list*>(inserts)))
            text += std::string("\n") + reason;
        MessageBoxById(0, MB_ICONEXCLAMATION, 1, text.c_str());
        return false;
    }
    ide.SetRunProcess(process);
    return true;
}

namespace {

// The build's outcome in its dialog, whose own loop then runs until the
// user ends it; the code of a quit met meanwhile, to be posted again once
// the dialog is gone.
std::optional<int> ShowOutcome(CBuildDlg& dlg, int r, bool debugBuild,
                               const std::function<std::string(const char*)>& format) {
    ::EnableWindow(dlg.m_hWnd, TRUE);
    ::EnableWindow(GetDlgItem(dlg.m_hWnd, IDOK), TRUE);
    HWND focus = nullptr;
    if (r == 1) {
        dlg.SetStatus(format(text::kBuilt));
        dlg.EnableDebug(true);
        dlg.EnableRun(!debugBuild);
        UINT def = debugBuild ? CBuildDlg::kDebug : CBuildDlg::kRun;
        SendMessageA(dlg.m_hWnd, DM_SETDEFID, def, 0);
        focus = GetDlgItem(dlg.m_hWnd, static_cast<int>(def));
    } else {
        dlg.SetStatus(format(text::kBuildFailed));
        SendMessageA(dlg.m_hWnd, DM_SETDEFID, IDOK, 0);
        focus = GetDlgItem(dlg.m_hWnd, IDOK);
    }
    SetActiveWindow(dlg.m_hWnd);
    SendMessageA(dlg.m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(focus), TRUE);

    // The dialog's own loop: it waits for messages.
    while (!dlg.m_bEnded) {
        MSG msg;
        if (GetMessageA(&msg, nullptr, 0, 0) <= 0)
            return static_cast<int>(msg.wParam);
        if (!dlg.PreTranslateMessage(&msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    return std::nullopt;
}

// A failed build brings up the result window: an open one restored (filled
// from the log when it was hidden), else the log opened in a new one.
void ShowFailedBuild() {
    CMDIChildWnd* f = Ide().FindChild(ChildKind::kBuildResult);
    if (f) {
        auto* v = dynamic_cast<CPrjErrView*>(f->GetActiveView());
        g_output.store(v);
        if (!IsWindowVisible(f->m_hWnd)) {
            ClearResultText(v);
            AppendResultText(v, [] {
                std::string text;
                if (FILE* lf = std::fopen(LastBuildLog().c_str(), "rb")) {
                    char buf[4096];
                    size_t n;
                    while ((n = std::fread(buf, 1, sizeof buf, lf)) > 0)
                        text.append(buf, n);
                    std::fclose(lf);
                }
                return text;
            }());
        }
        ShowWindow(f->m_hWnd, SW_RESTORE);
        SendMessageA(Ide().ProjectFrame()->m_hWndMDIClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(f->m_hWnd), 0);
    } else if (!LastBuildLog().empty()) {
        Ide().HoldRecentList(true);
        CDocument* log = Ide().OpenWithTemplate(kSlotBuildResult, LastBuildLog().c_str());
        Ide().HoldRecentList(false);
        g_output.store(log ? dynamic_cast<CPrjErrView*>(log->GetFirstView()) : nullptr);
    }
}

}  // namespace

int Build(CPrjDoc* doc, bool rebuildAll, bool debugBuild) {
    IdeServices& ide = Ide();
    if (!doc)
        return 0;
    prj::ProjectData& d = doc->Data();
    prj::ProjectEnv& env = Env();
    g_verbose = (GetKeyState(VK_SHIFT) & 0x8000) && (GetKeyState(VK_CONTROL) & 0x8000);
    if (!CheckTargetRunning(doc))
        return 0;
    if (rebuildAll) {
        EnableFrames(false);
        int answer = MessageBoxById(kMsgRebuildAll, MB_OKCANCEL | MB_ICONINFORMATION, 0);
        EnableFrames(true);
        ActivateMain();
        if (answer == IDCANCEL)
            return debugBuild ? 0 : 1;
    }
    if ((d.flags & prj::ProjectData::kFlagRebuildAll) || (d.rebuild_mark & 0x40)) {
        rebuildAll = true;
        d.flags = 0;
        d.rebuild_mark = 0;
    }
    if (!ide.SaveAllModified(true))
        return 0;
    if (doc == GetProjectDoc()) {
        prj::PrepareDefaultProject(d, DefaultSources(doc), env.fs);
    } else {
        env.fs.SetCurrentFolder(d.drive, d.project_folder);
    }
    doc->SyncFromData();
    if (!prj::WriteMakeScript(d, env)) {
        ResetIfDefault(doc);
        return 0;
    }
    CPrjErrView* view = FindResultView();
    g_output.store(view);
    ClearResultText(view);

    std::string program = prj::BuildProgramName(d);
    auto format = [&](const char* f) {
        char buf[600];
        std::snprintf(buf, sizeof buf, f, program.c_str());
        return std::string(buf);
    };
    CBuildDlg dlg(ide.ProjectFrame());
    dlg.m_strProgram = program;
    if (ide.MainFrame())
        dlg.m_strArgs = ide.RunArgs();
    if (!dlg.Create())
        return 0;
    dlg.SetStatus(format(text::kBuilding));
    dlg.EnableRun(false);
    dlg.EnableDebug(false);
    ::EnableWindow(GetDlgItem(dlg.m_hWnd, IDOK), FALSE);
    ::EnableWindow(dlg.m_hWnd, FALSE);
    ShowWindow(dlg.m_hWnd, SW_SHOW);
    UpdateWindow(dlg.m_hWnd);
    ActivateMain();

    int r = RunMake(doc, rebuildAll);

    std::optional<int> quit = ShowOutcome(dlg, r, debugBuild, format);
    int wantDebug = dlg.m_bDebug, closed = dlg.m_bClosed;
    if (dlg.m_hWnd) {
        EnableFrames(true);
        dlg.DestroyWindow();
    }
    if (quit)
        PostQuitMessage(*quit);

    if (r == 0) {
        ShowFailedBuild();
        ResetIfDefault(doc);
        return 0;
    }
    if (debugBuild && closed)
        return 0;
    if (wantDebug)
        return 2;
    ResetIfDefault(doc);
    return 1;
}

}  // namespace prjui

void prjui::RegisterCommands(IdeServices& ide) {
    ide.RegisterCommands(ID_BUILD_COMPILE, ID_BUILD_COMPILE, [](UINT) { Build(CurrentProjectDoc(), false, false); });
    ide.RegisterCommands(ID_BUILD_ALL, ID_BUILD_ALL, [](UINT) { Build(CurrentProjectDoc(), true, false); });
    ide.RegisterCommands(ID_MIGRATE_CONVERT, ID_MIGRATE_DELETE_MESSAGES, [](UINT id) { Migrate(id); });
}
