// The IDE's registry layout: the recent-list size and the saved placement
// of the frames. Values are read with defaults; a missing or damaged value
// keeps the default and is not reported.
#pragma once

#include "regstore.h"

#include <cstdint>
#include <optional>
#include <string>

namespace tambrix {

inline constexpr const char* kRegistryRoot = "VELTRAN\\Tambrix V6.3";  // under HKCU "Software\"
inline constexpr const char* kProductKey = "Software\\VELTRAN\\Tambrix V6.3";
inline constexpr const char* kEnvKey = "Software\\VELTRAN\\Tambrix V6.3\\Env";
inline constexpr const char* kUserEnvKey = "Software\\VELTRAN\\Tambrix V6.3\\UserEnv";
inline constexpr const char* kGeneralKey = "Software\\VELTRAN\\Tambrix V6.3\\General";

// Size of both recent lists: "RecentFileList" when it is a REG_DWORD of 4 to 16.
int RecentListSize(fw::RegStore& reg);

struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const Rect&) const = default;
};

// Bits of "ToolBarDockInfo".
enum DockInfo : uint32_t {
    kStdBarShown = 1, kStdBarFloats = 2, kToolBoxShown = 4, kToolBoxFloats = 8,
    kDebugBarShown = 16, kDebugBarFloats = 32,
};

// What the placement restore reads before anything is shown.
struct FrameSettings {
    // Per machine, "Env".
    std::string machineBin, machineLib, machineInclude;
    std::optional<std::string> machineSavePath;
    std::string projectFolder;  // "Project" of "Env", overridden by the user's
    // Per user, "UserEnv".
    std::string userBin, userLib, userInclude;
    std::optional<std::string> userSavePath;
    std::optional<uint16_t> exeModel;  // only 0, 2 or 3 are taken
    bool insertModeShared = false;
    // Per user, "General".
    std::optional<uint32_t> dockInfo;
    std::optional<uint32_t> mfX, mfY, mfCx, mfCy, pfX, pfY, pfCx, pfCy;
    std::optional<uint32_t> propShow, propX, propY, propCx, propCy;
    // Floating bars: standard ("Te"), tool box ("Trc"), debug ("Td").
    std::optional<uint32_t> teX, teY, teCx, teCy, trcX, trcY, trcCx, trcCy, tdX, tdY, tdCx, tdCy;
    bool smallBitmap = false;
    bool saveGeneral = true;  // menu item 3007 checked
};

// Reads the three keys; false, with the defaults kept, when the per-machine
// key or its "Env" cannot be opened or "UserEnv" or "General" cannot be made.
bool ReadFrameSettings(fw::RegStore& reg, FrameSettings& out);

// The main frame's rectangle: the stored one, moved to 0,0 when its corner
// lies off the desktop, with the height doubled for the height rule to trim.
Rect MainFrameRect(const FrameSettings& s, const Rect& desktop);
Rect ProjectFrameRect(const FrameSettings& s, const Rect& desktop, int mainFrameBottom);
// The property window's rectangle, or its default.
Rect PropertyRect(const FrameSettings& s, const Rect& desktop, int mainFrameBottom);

// "SavePath" as drive and folder to change to; the drive is empty when the
// path names none.
struct SaveDir {
    std::string drive;   // "C:"
    std::string folder;  // joined with the file part
};
SaveDir SplitSavePath(const std::string& savePath);

// What closing writes.
struct FrameSaveState {
    bool saveGeneral = true;
    bool mainMinimised = false, prjMinimised = false;
    Rect mainRect, prjRect;
    bool propExists = false, propVisible = false, propOnTop = false;
    Rect propRect;
    uint32_t dockInfo = kStdBarShown | kToolBoxShown;
    // The float frames of the bars, written for a bar shown and floating.
    Rect stdFloat, toolFloat, debugFloat;
    std::string currentDirectory;
};
bool WriteFrameSettings(fw::RegStore& reg, const FrameSaveState& s);

}  // namespace tambrix
