#include "dlgrules.h"

#include "idepaths.h"
#include "mbcs.h"

#include <cstdio>

namespace tambrix {

const char* NewFileExtension(uint32_t kind) {
    switch (kind) {
    case kKindBas: return "BAS";
    case kKindSub: return "SUB";
    case kKindBet: return "BET";
    case kKindRc: return "RC";
    case kKindMak: return "MAK";
    default: return "";
    }
}

std::string ProposeNewFileName(bool projectMode, uint32_t number, const std::string& ext,
                               const std::function<bool(const std::string&)>& exists) {
    char buf[300];
    for (;; ++number) {
        std::snprintf(buf, sizeof buf, projectMode ? "Prj%u.%s" : "Ruroz%u.%s", number, ext.c_str());
        if (!exists(buf))
            return buf;
    }
}

std::string NameForKind(const std::string& name, uint32_t kind) {
    if (kind != kKindOther)
        return ReplaceExtension(name, NewFileExtension(kind));
    size_t dot = fw::FindLastChar(name, '.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

size_t NameStemLength(std::string_view name) {
    size_t dot = fw::FindLastChar(name, '.');
    return dot == std::string::npos ? name.size() : dot;
}

HotKeyChecks HotKeyChecksOf(uint16_t value) {
    uint8_t f = static_cast<uint8_t>(value >> 8);
    return {(f & kHkAlt) != 0, (f & kHkControl) != 0, (f & kHkExt) != 0, (f & kHkShift) != 0};
}

uint16_t HotKeyValueOf(uint8_t key, const HotKeyChecks& c) {
    if (key == 0)
        return 0;
    uint8_t f = (c.alt ? kHkAlt : 0) | (c.control ? kHkControl : 0) | (c.ext ? kHkExt : 0) |
                (c.shift ? kHkShift : 0);
    return static_cast<uint16_t>(key | f << 8);
}

std::string FormatHotKeyName(uint8_t key, const HotKeyChecks& c) {
    if (key == 0)
        return kHotKeyNone;
    std::string s;
    if (c.alt) s += "ALT+";
    if (c.control) s += "CTRL+";
    if (c.ext) s += "EXT+";
    if (c.shift) s += "SHIFT+";
    char k[8];
    if (key >= 112)
        std::snprintf(k, sizeof k, "F%d", key - 111);
    else
        std::snprintf(k, sizeof k, "%c", key);
    return s + k;
}

std::string MakeShortString(std::string_view text, int width, int offset,
                            const std::function<int(std::string_view)>& extent) {
    if (text.empty() || extent(text) + offset <= width)
        return std::string(text);
    // The dots are measured with their terminating zero, as they were drawn.
    int dots = extent(std::string_view("...", 4));
    std::string s(text);
    while (true) {
        size_t last = 0;  // offset of the last character
        for (size_t i = 0; i < s.size();)
            i += (last = i, fw::IsLeadByte932(static_cast<unsigned char>(s[i])) && i + 1 < s.size() ? 2 : 1);
        if (last == 0 || extent(s) + dots + offset <= width)
            break;
        s.resize(last);
    }
    return s + "...";
}

int CompareColorItems(uint32_t a, uint32_t b) {
    if (a == b)
        return 0;
    auto r = [](uint32_t c) { return static_cast<int>(c & 0xFF); };
    auto g = [](uint32_t c) { return static_cast<int>((c >> 8) & 0xFF); };
    auto bl = [](uint32_t c) { return static_cast<int>((c >> 16) & 0xFF); };
    int sa = r(a) + g(a) + bl(a), sb = r(b) + g(b) + bl(b);
    if (sa != sb)
        return sa < sb ? -1 : 1;
    if (bl(a) > bl(b) || g(a) > g(b) || r(a) > r(b))
        return -1;
    return 1;
}

}  // namespace tambrix
