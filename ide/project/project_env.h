// What the project core needs of its surroundings. The IDE supplies Win32
// implementations; the tests supply in-memory ones. Paths are the system's
// own Shift-JIS byte strings with backslashes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "ui/prjids.h"  // the message ids, which the resource script reads too

namespace prj {

// Message ids of the IDE's string table used by the project core.
enum MessageId : uint32_t {
    kMsgBadProjectFile = IDS_BAD_PROJECT_FILE,  // ﾌﾟﾛｼﾞｪｸﾄﾌｧｲﾙの内容に誤りがあります
    kMsgOldProjectFile = IDS_OLD_PROJECT_FILE,  // このﾌﾟﾛｼﾞｪｸﾄﾌｧｲﾙは%s以前のものです...
    kMsgReadFailed = IDS_READ_FAILED,       // ファイル '%s' の読み込みに失敗しました
    kMsgNotFound = IDS_NOT_FOUND,         // '%s' が見つかりません
    kMsgNoMainModule = IDS_NO_MAIN_MODULE,      // メインモジュールが登録されていません
    kMsgSameObjectName = IDS_SAME_OBJECT_NAME,  // プロジェクトに拡張子が異なる同じファイルが...
};

// Message-box styles and answers, as the Win32 values.
enum : uint32_t {
    kMbYesNo = 0x4,
    kMbIconHand = 0x10,
    kMbIconQuestion = 0x20,
    kMbIconExclamation = 0x30,
};
enum : int { kIdOk = 1, kIdCancel = 2, kIdYes = 6, kIdNo = 7 };

// Shows a message of the string table, with an optional %s argument
// (MessageBoxById); returns the button pressed.
class MessageSink {
public:
    virtual ~MessageSink() = default;
    virtual int Show(uint32_t id, uint32_t style, const std::string *arg) = 0;
};

// Files and the current folder. Relative paths are taken from the current
// folder, as the Win32 calls do.
class FileSystem {
public:
    virtual ~FileSystem() = default;
    virtual bool ReadFile(const std::string &path, std::vector<uint8_t> &out) = 0;
    // Creates or truncates the file and writes the bytes.
    virtual bool WriteFile(const std::string &path, const std::vector<uint8_t> &bytes) = 0;
    virtual bool DeleteFile(const std::string &path) = 0;
    virtual bool Exists(const std::string &path) = 0;
    // The full path of a path (relative to the current folder).
    virtual std::string FullPath(const std::string &path) = 0;
    // Makes a drive (1 = A:, -1 = none) and a folder current.
    virtual void SetCurrentFolder(int drive, const std::string &folder) = 0;
};

struct LocalTime {
    int year, month, day, hour, minute, second;
};

class Clock {
public:
    virtual ~Clock() = default;
    virtual LocalTime Now() = 0;
};

// Registry values the project reads.
class Settings {
public:
    virtual ~Settings() = default;
    // HKCU "Software\VELTRAN\Tambrix V6.3\UserEnv": a DWORD value, none when
    // the key or value is missing or is no DWORD.
    virtual std::optional<uint32_t> UserEnvDword(const char *name) = 0;
    // HKLM "Software\VELTRAN\Tambrix V6.3\Env": a string value.
    virtual std::optional<std::string> MachineEnvString(const char *name) = 0;
};

// An open window of the project frame: its title and its document's path.
struct OpenWindow {
    std::string title;
    std::string document_path;
};

// The IDE around the project: its folders, environment, open windows and the
// project tree. The defaults stand for an IDE with nothing open.
class IdeContext {
public:
    virtual ~IdeContext() = default;
    // Folder of the IDE program (the default resources lie there).
    virtual std::string ProgramFolder() { return std::string(); }
    // The "Lib" option folder read at start-up.
    virtual std::string LibFolder() { return std::string(); }
    virtual std::optional<std::string> EnvironmentVariable(const char *) { return std::nullopt; }
    // The first resource-tree window of the project frame.
    virtual std::optional<OpenWindow> FirstRcTreeWindow() { return std::nullopt; }
    // The open runtime-environment windows of the project frame, in order.
    virtual std::vector<OpenWindow> BetWindows() { return {}; }
    // InsertTreeFile: renames a tree item under a category (index 1 =
    // "ﾌﾟﾛｸﾞﾗﾑ"); 1 when done.
    virtual int InsertTreeFile(int, const std::string &, const std::string &) { return 0; }
    // Gives the first item under a category (inserted when missing) a text.
    virtual void SetCategoryFirstItem(int, const std::string &) {}
};

// The group items of the project tree, in the order the tree keeps them
// (0 is the root).
enum TreeCategory : int {
    kCatProgram = 1,      // ﾌﾟﾛｸﾞﾗﾑ
    kCatResource = 2,     // ﾘｿｰｽ
    kCatEnvironment = 3,  // 運用環境
    kCatLibrary = 4,      // ﾗｲﾌﾞﾗﾘ
};

struct ProjectEnv {
    FileSystem &fs;
    Clock &clock;
    Settings &settings;
    MessageSink &messages;
    IdeContext &ide;
};

}  // namespace prj
