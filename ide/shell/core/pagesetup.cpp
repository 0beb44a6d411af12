#include "pagesetup.h"

namespace tambrix {

namespace {
constexpr fw::RegRoot kUser = fw::RegRoot::CurrentUser;
}

bool LoadPageSetup(fw::RegStore& reg, PageSetupValues& v, PageDeviceFields& dev) {
    if (!reg.KeyExists(kUser, kPageSetupKey))
        return false;
    auto dw = [&](const char* name, uint32_t& out) {
        if (auto x = reg.ReadDword(kUser, kPageSetupKey, name))
            out = *x;
    };
    auto margin = [&](const char* name, int32_t& out) {
        if (auto x = reg.ReadDword(kUser, kPageSetupKey, name))
            out = static_cast<int32_t>(*x);
    };
    auto str = [&](const char* name, std::string& out) {
        // Any length: the stored text is read whole.
        if (auto x = reg.ReadString(kUser, kPageSetupKey, name, static_cast<size_t>(-1)))
            out = *x;
    };
    auto field = [&](const char* name, std::optional<uint16_t>& out) {
        if (auto x = reg.ReadDword(kUser, kPageSetupKey, name))
            out = static_cast<uint16_t>(*x);
    };
    dw("Title", v.title);
    dw("FileName", v.fileName);
    dw("Date", v.date);
    dw("Time", v.time);
    dw("PageNo", v.pageNo);
    dw("LineNo", v.lineNo);
    str("FontFace", v.face);
    str("FontSize", v.size);
    margin("TopMargin", v.top);
    margin("BottomMargin", v.bottom);
    margin("LeftMargin", v.left);
    margin("RightMargin", v.right);
    field("Orientation", dev.orientation);
    field("PaperSize", dev.paperSize);
    field("DefaultSource", dev.defaultSource);
    return true;
}

bool SavePageSetup(fw::RegStore& reg, const PageSetupValues& v, const PageDeviceFields& dev) {
    if (!reg.CreateKey(kUser, kPageSetupKey))
        return false;
    auto dw = [&](const char* name, uint32_t x) { reg.WriteDword(kUser, kPageSetupKey, name, x); };
    dw("Title", v.title);
    dw("FileName", v.fileName);
    dw("Date", v.date);
    dw("Time", v.time);
    dw("PageNo", v.pageNo);
    dw("LineNo", v.lineNo);
    reg.WriteString(kUser, kPageSetupKey, "FontFace", v.face);
    reg.WriteString(kUser, kPageSetupKey, "FontSize", v.size);
    dw("TopMargin", static_cast<uint32_t>(v.top));
    dw("BottomMargin", static_cast<uint32_t>(v.bottom));
    dw("LeftMargin", static_cast<uint32_t>(v.left));
    dw("RightMargin", static_cast<uint32_t>(v.right));
    if (dev.orientation)
        dw("Orientation", *dev.orientation);
    if (dev.paperSize)
        dw("PaperSize", *dev.paperSize);
    if (dev.defaultSource)
        dw("DefaultSource", *dev.defaultSource);
    return true;
}

}  // namespace tambrix
