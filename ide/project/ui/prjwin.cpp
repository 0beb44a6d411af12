#include "prjwin.h"

#include "fw.h"
#include "fwregistry.h"
#include "ideservices.h"
#include "idehelpers.h"
#include "idesettings.h"
#include "prjdoc.h"
#include "prjtree.h"
#include "shellids.h"
#include "sjis_path.h"

#include <direct.h>

#include <cstdio>

// The core's member names, not the platform's A/W macros.
#undef DeleteFile
#undef ReadFile
#undef WriteFile

namespace prjui {
namespace {

class WinFileSystem : public prj::FileSystem {
public:
    bool ReadFile(const std::string& path, std::vector<uint8_t>& out) override {
        FILE* f = std::fopen(path.c_str(), "rb");
        if (!f)
            return false;
        out.clear();
        uint8_t buf[4096];
        size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, f)) > 0)
            out.insert(out.end(), buf, buf + n);
        std::fclose(f);
        return true;
    }
    bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) override {
        FILE* f = std::fopen(path.c_str(), "wb");
        if (!f)
            return false;
        bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
        return std::fclose(f) == 0 && ok;
    }
    bool DeleteFile(const std::string& path) override { return DeleteFileA(path.c_str()) != 0; }
    bool Exists(const std::string& path) override {
        DWORD a = GetFileAttributesA(path.c_str());
        return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
    }
    std::string FullPath(const std::string& path) override {
        char buf[MAX_PATH];
        DWORD n = GetFullPathNameA(path.c_str(), sizeof buf, buf, nullptr);
        return n > 0 && n < sizeof buf ? std::string(buf, n) : path;
    }
    void SetCurrentFolder(int drive, const std::string& folder) override {
        if (drive > 0)
            _chdrive(drive);
        if (!folder.empty())
            SetCurrentDirectoryA(folder.c_str());
    }
};

class WinClock : public prj::Clock {
public:
    prj::LocalTime Now() override {
        SYSTEMTIME t;
        GetLocalTime(&t);
        return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
    }
};

class WinSettings : public prj::Settings {
public:
    std::optional<uint32_t> UserEnvDword(const char* name) override {
        return reg_.ReadDword(fw::RegRoot::CurrentUser, tambrix::kUserEnvKey, name);
    }
    std::optional<std::string> MachineEnvString(const char* name) override {
        return reg_.ReadString(fw::RegRoot::LocalMachine, tambrix::kEnvKey, name);
    }

private:
    fw::Win32RegStore reg_;
};

class WinMessages : public prj::MessageSink {
public:
    int Show(uint32_t id, uint32_t style, const std::string* arg) override {
        return MessageBoxById(id, style, 0, arg ? arg->c_str() : nullptr);
    }
};

class WinIde : public prj::IdeContext {
public:
    std::string ProgramFolder() override { return Ide().ProgramFolder(); }
    std::string LibFolder() override { return Ide().Settings().machineLib; }
    std::optional<std::string> EnvironmentVariable(const char* name) override {
        DWORD n = GetEnvironmentVariableA(name, nullptr, 0);
        if (n == 0)
            return std::nullopt;
        std::string v(n, '\0');
        n = GetEnvironmentVariableA(name, v.data(), n);
        v.resize(n);
        return v;
    }
    std::optional<prj::OpenWindow> FirstRcTreeWindow() override {
        CMDIFrameWnd* pf = Ide().ProjectFrame();
        CMDIChildWnd* f = pf ? Ide().FindChild(ChildKind::kResourceTree) : nullptr;
        if (!f)
            return std::nullopt;
        CDocument* d = f->GetActiveDocument();
        return prj::OpenWindow{f->GetWindowText(), d ? d->GetPathName() : std::string()};
    }
    std::vector<prj::OpenWindow> BetWindows() override {
        std::vector<prj::OpenWindow> out;
        CMDIFrameWnd* pf = Ide().ProjectFrame();
        for (CMDIChildWnd* f = pf ? Ide().FindChild(ChildKind::kEnvironment) : nullptr; f; f = Ide().FindChild(ChildKind::kEnvironment, f)) {
            CDocument* d = f->GetActiveDocument();
            out.push_back({f->GetWindowText(), d ? d->GetPathName() : std::string()});
        }
        return out;
    }
    // The tree of the project being read or written: the held one.
    int InsertTreeFile(int category, const std::string& from, const std::string& to) override {
        CPrjTree* tree = CPrjTree::Of(FindProjectDoc());
        return tree && tree->RenameItem(category, from, to) ? 1 : 0;
    }
    void SetCategoryFirstItem(int category, const std::string& text) override {
        if (CPrjTree* tree = CPrjTree::Of(FindProjectDoc()))
            tree->SetCategoryFirstItem(category, text);
    }
};

}  // namespace

void KeepCaptionWhenZoomed(void* hwnd, WINDOWPOS* pos) {
    if (IsZoomed(static_cast<HWND>(hwnd)) && !(pos->flags & SWP_NOSIZE)) {
        int cap = GetSystemMetrics(SM_CYCAPTION);
        pos->y += cap;
        pos->cy -= cap;
    }
}

bool AskToSave(CDocument& doc) {
    if (!doc.IsModified())
        return true;
    const std::string& path = doc.GetPathName();
    std::string name = !path.empty()              ? prj::BareName(path)
                       : !doc.GetTitle().empty() ? doc.GetTitle()
                                                 : fw::LoadStr(FW_IDS_UNTITLED);
    EnableFrames(false);
    std::string prompt = fw::LoadStr(FW_IDP_ASK_TO_SAVE);
    if (size_t at = prompt.find("%s"); at != std::string::npos)
        prompt.replace(at, 2, name);
    int answer = MessageBoxA(nullptr, prompt.c_str(), fw::LoadStr(IDR_MAINFRAME).c_str(),
                             MB_YESNOCANCEL | MB_ICONQUESTION);
    CWnd* main = Ide().CurrentMainWnd();
    SetActiveWindow(main ? main->m_hWnd : nullptr);
    bool ok = answer != IDCANCEL && (answer != IDYES || doc.DoFileSave());
    EnableFrames(true);
    return ok;
}

prj::ProjectEnv& Env() {
    static WinFileSystem fs;
    static WinClock clock;
    static WinSettings settings;
    static WinMessages messages;
    static WinIde ide;
    static prj::ProjectEnv env{fs, clock, settings, messages, ide};
    return env;
}

}  // namespace prjui
