#include "idesettings.h"

#include "mbcs.h"

namespace tambrix {

using fw::RegRoot;

int RecentListSize(fw::RegStore& reg) {
    auto v = reg.ReadDword(RegRoot::CurrentUser, kUserEnvKey, "RecentFileList");
    if (v && *v >= 4 && *v <= 16)
        return static_cast<int>(*v);
    return 4;
}

namespace {

void ReadStringInto(fw::RegStore& reg, RegRoot root, const char* key, const char* name,
                    std::string& out) {
    if (auto v = reg.ReadString(root, key, name, 260))
        out = *v;
}

int32_t AsInt(uint32_t v) { return static_cast<int32_t>(v); }

}  // namespace

bool ReadFrameSettings(fw::RegStore& reg, FrameSettings& out) {
    if (!reg.KeyExists(RegRoot::LocalMachine, kProductKey))
        return false;
    if (!reg.KeyExists(RegRoot::LocalMachine, kEnvKey))
        return false;
    ReadStringInto(reg, RegRoot::LocalMachine, kEnvKey, "Bin", out.machineBin);
    ReadStringInto(reg, RegRoot::LocalMachine, kEnvKey, "Lib", out.machineLib);
    ReadStringInto(reg, RegRoot::LocalMachine, kEnvKey, "Include", out.machineInclude);
    out.machineSavePath = reg.ReadString(RegRoot::LocalMachine, kEnvKey, "SavePath", 260);

    ReadStringInto(reg, RegRoot::LocalMachine, kEnvKey, "Project", out.projectFolder);
    if (!reg.KeyExists(RegRoot::CurrentUser, kUserEnvKey)) {
        if (!reg.CreateKey(RegRoot::CurrentUser, kUserEnvKey))
            return false;
        reg.WriteString(RegRoot::CurrentUser, kUserEnvKey, "Bin", "");
        reg.WriteString(RegRoot::CurrentUser, kUserEnvKey, "Lib", "");
        reg.WriteString(RegRoot::CurrentUser, kUserEnvKey, "Include", "");
        reg.WriteString(RegRoot::CurrentUser, kUserEnvKey, "Project", out.projectFolder);
    }
    ReadStringInto(reg, RegRoot::CurrentUser, kUserEnvKey, "Bin", out.userBin);
    ReadStringInto(reg, RegRoot::CurrentUser, kUserEnvKey, "Lib", out.userLib);
    ReadStringInto(reg, RegRoot::CurrentUser, kUserEnvKey, "Include", out.userInclude);
    ReadStringInto(reg, RegRoot::CurrentUser, kUserEnvKey, "Project", out.projectFolder);
    out.userSavePath = reg.ReadString(RegRoot::CurrentUser, kUserEnvKey, "SavePath", 260);
    if (auto m = reg.ReadDword(RegRoot::CurrentUser, kUserEnvKey, "ExeModel")) {
        if (*m == 0 || *m == 2 || *m == 3)
            out.exeModel = static_cast<uint16_t>(*m);
    }
    if (auto m = reg.ReadDword(RegRoot::CurrentUser, kUserEnvKey, "InsertMode"))
        out.insertModeShared = *m == 1;

    if (!reg.KeyExists(RegRoot::CurrentUser, kGeneralKey) &&
        !reg.CreateKey(RegRoot::CurrentUser, kGeneralKey))
        return false;
    auto dw = [&](const char* name) { return reg.ReadDword(RegRoot::CurrentUser, kGeneralKey, name); };
    out.dockInfo = dw("ToolBarDockInfo");
    out.mfX = dw("MfWinX");
    out.mfY = dw("MfWinY");
    out.mfCx = dw("MfWinCx");
    out.mfCy = dw("MfWinCy");
    out.pfX = dw("PfWinX");
    out.pfY = dw("PfWinY");
    out.pfCx = dw("PfWinCx");
    out.pfCy = dw("PfWinCy");
    out.propShow = dw("PropShow");
    out.propX = dw("PropX");
    out.propY = dw("PropY");
    out.propCx = dw("PropCx");
    out.propCy = dw("PropCy");
    out.teX = dw("TeX");
    out.teY = dw("TeY");
    out.teCx = dw("TeCx");
    out.teCy = dw("TeCy");
    out.trcX = dw("TrcX");
    out.trcY = dw("TrcY");
    out.trcCx = dw("TrcCx");
    out.trcCy = dw("TrcCy");
    out.tdX = dw("TdX");
    out.tdY = dw("TdY");
    out.tdCx = dw("TdCx");
    out.tdCy = dw("TdCy");
    auto small = reg.Read(RegRoot::CurrentUser, kGeneralKey, "SmallBitmap");
    out.smallBitmap = small && !small->data.empty();
    auto save = dw("SaveGeneral");
    out.saveGeneral = !save || *save == 1;
    return true;
}

Rect MainFrameRect(const FrameSettings& s, const Rect& d) {
    // 64 bits: a damaged width must not wrap a right edge into the desktop.
    int64_t left = s.mfX ? AsInt(*s.mfX) : 0;
    int64_t top = s.mfY ? AsInt(*s.mfY) : 0;
    int64_t right = s.mfCx ? left + AsInt(*s.mfCx) : d.right;
    int64_t bottom = s.mfCy ? top + AsInt(*s.mfCy) : top + 200;
    auto inside = [&](int64_t x, int64_t y) {
        return x >= d.left && x < d.right && y >= d.top && y < d.bottom;
    };
    if (!inside(left, top))
        left = top = 0;  // the stored right and bottom edges stay
    int64_t width, height;
    if (inside(right, bottom)) {
        width = right - left;
        height = 2 * (bottom - top);
    } else {
        width = d.right - left;
        height = 2 * (d.bottom - top);
    }
    if (width <= 0)
        width = d.right - left;
    if (height <= 0)
        height = 2 * (d.bottom - top);
    return {static_cast<int>(left), static_cast<int>(top), static_cast<int>(left + width),
            static_cast<int>(top + height)};
}

Rect ProjectFrameRect(const FrameSettings& s, const Rect& d, int mainFrameBottom) {
    int64_t left = s.pfX ? AsInt(*s.pfX) : 0;
    int64_t top = s.pfY ? AsInt(*s.pfY) : mainFrameBottom + 1;
    // A stored corner off the desktop would leave the frame out of reach
    // (no way to get at it again): it starts where a first start puts it.
    if (left < d.left || left >= d.right || top < d.top || top >= d.bottom) {
        left = 0;
        top = mainFrameBottom + 1;
    }
    int64_t right = s.pfCx ? left + AsInt(*s.pfCx) : d.right;
    int64_t bottom = s.pfCy ? top + AsInt(*s.pfCy) : d.bottom;
    if (right <= left || right - left > 4 * int64_t{d.Width()})
        right = d.right;
    if (bottom <= top || bottom - top > 4 * int64_t{d.Height()})
        bottom = d.bottom;
    return {static_cast<int>(left), static_cast<int>(top), static_cast<int>(right),
            static_cast<int>(bottom)};
}

Rect PropertyRect(const FrameSettings& s, const Rect& d, int mainFrameBottom) {
    Rect def{d.Width() / 4 * 3, mainFrameBottom + 1, d.right, d.bottom};
    if (!s.propShow || !s.propX)
        return def;
    Rect r;
    r.left = AsInt(*s.propX);
    r.top = s.propY ? AsInt(*s.propY) : 0;
    r.right = r.left + (s.propCx ? AsInt(*s.propCx) : 0);
    r.bottom = r.top + (s.propCy ? AsInt(*s.propCy) : 0);
    if (r.left > d.Width() || r.top > d.Height())
        return def;
    return r;
}

SaveDir SplitSavePath(const std::string& path) {
    SaveDir out;
    std::string rest = path;
    if (rest.size() >= 2 && rest[1] == ':') {
        out.drive = rest.substr(0, 2);
        rest = rest.substr(2);
    }
    size_t bs = fw::FindLastChar(rest, '\\');
    std::string folder = bs == std::string::npos ? std::string() : rest.substr(0, bs + 1);
    std::string file = bs == std::string::npos ? rest : rest.substr(bs + 1);
    if (folder.size() > 1)
        folder.pop_back();
    out.folder = folder + "\\" + file;
    return out;
}

bool WriteFrameSettings(fw::RegStore& reg, const FrameSaveState& s) {
    if (!reg.CreateKey(RegRoot::CurrentUser, kProductKey))
        return false;
    auto put = [&](const char* name, int32_t v) {
        reg.WriteDword(RegRoot::CurrentUser, kGeneralKey, name, static_cast<uint32_t>(v));
    };
    put("SaveGeneral", s.saveGeneral ? 1 : 0);
    if (!s.saveGeneral)
        return true;
    if (!s.mainMinimised) {
        put("MfWinX", s.mainRect.left);
        put("MfWinY", s.mainRect.top);
        put("MfWinCx", s.mainRect.Width());
        put("MfWinCy", s.mainRect.Height());
    }
    if (!s.prjMinimised) {
        put("PfWinX", s.prjRect.left);
        put("PfWinY", s.prjRect.top);
        put("PfWinCx", s.prjRect.Width());
        put("PfWinCy", s.prjRect.Height());
    }
    if (s.propExists && s.propVisible) {
        put("PropShow", s.propOnTop ? 3 : 1);
        put("PropX", s.propRect.left);
        put("PropY", s.propRect.top);
        put("PropCx", s.propRect.Width());
        put("PropCy", s.propRect.Height());
    } else {
        put("PropShow", s.propExists && s.propOnTop ? 2 : 0);
    }
    put("ToolBarDockInfo", static_cast<int32_t>(s.dockInfo));
    auto putRect = [&](uint32_t shown, uint32_t floats, const char* prefix, const Rect& r) {
        if ((s.dockInfo & shown) && (s.dockInfo & floats)) {
            std::string p = prefix;
            put((p + "X").c_str(), r.left);
            put((p + "Y").c_str(), r.top);
            put((p + "Cx").c_str(), r.Width());
            put((p + "Cy").c_str(), r.Height());
        }
    };
    putRect(kStdBarShown, kStdBarFloats, "Te", s.stdFloat);
    putRect(kToolBoxShown, kToolBoxFloats, "Trc", s.toolFloat);
    putRect(kDebugBarShown, kDebugBarFloats, "Td", s.debugFloat);
    reg.WriteString(RegRoot::CurrentUser, kUserEnvKey, "SavePath", s.currentDirectory + "\\");
    return true;
}

}  // namespace tambrix
