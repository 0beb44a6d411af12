// In-memory stand-ins for the IDE around the project core.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "project_env.h"
#include "sjis_path.h"

namespace prj::test {

// Files keyed by full path without regard to case, with a current drive and
// folder as the Win32 calls keep them.
class FakeFileSystem : public FileSystem {
public:
    std::map<std::string, std::vector<uint8_t>> files;  // key: upper-cased full path
    int drive = 3;
    std::string folder = "\\";
    int writes_refused = 0;  // WriteFile fails while positive
    std::vector<std::string> deleted;

    void Add(const std::string &path, const std::vector<uint8_t> &bytes = {}) {
        files[UpperSb(FullPath(path))] = bytes;
    }
    const std::vector<uint8_t> *Get(const std::string &path) {
        auto it = files.find(UpperSb(FullPath(path)));
        return it == files.end() ? nullptr : &it->second;
    }

    bool ReadFile(const std::string &path, std::vector<uint8_t> &out) override {
        const auto *f = Get(path);
        if (!f)
            return false;
        out = *f;
        return true;
    }
    bool WriteFile(const std::string &path, const std::vector<uint8_t> &bytes) override {
        if (writes_refused > 0)
            return false;
        Add(path, bytes);
        return true;
    }
    bool DeleteFile(const std::string &path) override {
        deleted.push_back(path);
        return files.erase(UpperSb(FullPath(path))) > 0;
    }
    bool Exists(const std::string &path) override { return Get(path) != nullptr; }
    std::string FullPath(const std::string &path) override {
        const std::string letter(1, static_cast<char>('@' + drive));
        if (path.size() >= 2 && path[1] == ':')
            return path;
        if (!path.empty() && path[0] == '\\')
            return letter + ":" + path;
        std::string base = letter + ":" + folder;
        if (base.back() != '\\')
            base += '\\';
        return base + path;
    }
    void SetCurrentFolder(int d, const std::string &f) override {
        if (d > 0)
            drive = d;
        folder = f.empty() ? "\\" : f;
    }
};

class FakeClock : public Clock {
public:
    LocalTime now{2026, 12, 10, 13, 5, 9};
    LocalTime Now() override { return now; }
};

class FakeSettings : public Settings {
public:
    std::map<std::string, uint32_t> user;
    std::map<std::string, std::string> machine;
    std::optional<uint32_t> UserEnvDword(const char *name) override {
        auto it = user.find(name);
        return it == user.end() ? std::nullopt : std::optional<uint32_t>(it->second);
    }
    std::optional<std::string> MachineEnvString(const char *name) override {
        auto it = machine.find(name);
        return it == machine.end() ? std::nullopt : std::optional<std::string>(it->second);
    }
};

struct ShownMessage {
    uint32_t id;
    uint32_t style;
    std::string arg;
    bool operator==(const ShownMessage &) const = default;
};

class RecordingMessages : public MessageSink {
public:
    std::vector<ShownMessage> shown;
    int answer = kIdYes;
    int Show(uint32_t id, uint32_t style, const std::string *arg) override {
        shown.push_back({id, style, arg ? *arg : std::string()});
        return answer;
    }
};

struct TreeRename {
    int category;
    std::string old_text, new_text;
    bool operator==(const TreeRename &) const = default;
};

class FakeIde : public IdeContext {
public:
    std::string program_folder = "C:\\TAMBRIX\\BIN";
    std::string lib_folder;
    std::map<std::string, std::string> environment;
    std::optional<OpenWindow> rc_window;
    std::vector<OpenWindow> bet_windows;
    std::vector<TreeRename> renames;
    std::vector<std::pair<int, std::string>> first_items;

    std::string ProgramFolder() override { return program_folder; }
    std::string LibFolder() override { return lib_folder; }
    std::optional<std::string> EnvironmentVariable(const char *name) override {
        auto it = environment.find(name);
        return it == environment.end() ? std::nullopt : std::optional<std::string>(it->second);
    }
    std::optional<OpenWindow> FirstRcTreeWindow() override { return rc_window; }
    std::vector<OpenWindow> BetWindows() override { return bet_windows; }
    int InsertTreeFile(int category, const std::string &o, const std::string &n) override {
        renames.push_back({category, o, n});
        return 1;
    }
    void SetCategoryFirstItem(int category, const std::string &text) override {
        first_items.emplace_back(category, text);
    }
};

// One set of fakes and the environment over them.
struct Host {
    FakeFileSystem fs;
    FakeClock clock;
    FakeSettings settings;
    RecordingMessages messages;
    FakeIde ide;
    ProjectEnv env{fs, clock, settings, messages, ide};
};

}  // namespace prj::test
