#include "editsettings.h"

#include <type_traits>

namespace tambrix {

using fw::RegRoot;

uint32_t PaletteColor(int index) {
    const ColorEntry& c = kColorTable[index];
    return 0x02000000u | c.red | (c.green << 8) | (static_cast<uint32_t>(c.blue) << 16);
}

int ColorIndexOf(uint32_t value) {
    for (int i = 0; i < kColorCount; ++i) {
        if ((PaletteColor(i) & 0xFFFFFF) == (value & 0xFFFFFF))
            return i;
    }
    return -1;
}

void SetDefaultEditorSettings(EditorSettings& s, int32_t defaultFontSize) {
    s = EditorSettings{};
    s.FontSize = defaultFontSize;
}

bool LoadEditorSettings(fw::RegStore& reg, EditorSettings& s, int32_t defaultFontSize) {
    SetDefaultEditorSettings(s, defaultFontSize);
    if (!reg.KeyExists(RegRoot::CurrentUser, kEditorKey))
        return false;
    auto word = [&](const char* name, auto& member) {
        if (auto v = reg.ReadDword(RegRoot::CurrentUser, kEditorKey, name))
            member = static_cast<std::remove_reference_t<decltype(member)>>(*v);
    };
    uint32_t tab = s.Tab, fore = s.ForeColor, back = s.BackColor;
    uint32_t lineNo = 1, comp = 1, errMsg = 1;
    word("Tab", tab);
    word("Wrap", s.Wrap);
    word("LineNo", lineNo);
    word("Comp", comp);
    word("ErrMsg", errMsg);
    word("ForeColor", fore);
    word("BackColor", back);
    word("FontSize", s.FontSize);
    // A tab width is a divisor and a colour an index: out of range they
    // keep their defaults.
    if (tab == 4 || tab == 8)
        s.Tab = tab;
    if (fore < kColorCount)
        s.ForeColor = fore;
    if (back < kColorCount)
        s.BackColor = back;
    s.LineNo = lineNo != 0;
    s.Comp = comp != 0;
    s.ErrMsg = errMsg != 0;
    if (auto face = reg.ReadString(RegRoot::CurrentUser, kEditorKey, "FontFace", 64))
        s.FontFace = *face;
    return true;
}

bool SaveEditorSettings(fw::RegStore& reg, const EditorSettings& s) {
    if (!reg.KeyExists(RegRoot::CurrentUser, kEditorKey) &&
        !reg.CreateKey(RegRoot::CurrentUser, kEditorKey))
        return false;
    auto dw = [&](const char* name, uint32_t v) { reg.WriteDword(RegRoot::CurrentUser, kEditorKey, name, v); };
    dw("Tab", s.Tab);
    dw("Wrap", s.Wrap);
    dw("LineNo", s.LineNo);
    dw("Comp", s.Comp);
    dw("ErrMsg", s.ErrMsg);
    dw("ForeColor", s.ForeColor);
    dw("BackColor", s.BackColor);
    dw("FontSize", static_cast<uint32_t>(s.FontSize));
    reg.WriteString(RegRoot::CurrentUser, kEditorKey, "FontFace", s.FontFace);
    return true;
}

void CopyEditorSettings(const EditorSettings& s, EditorSettingsCopy& out) {
    out.tab = s.Tab;
    out.wrap = s.Wrap;
    out.lineNo = s.LineNo;
    out.checkMode = !s.Comp ? 0 : s.ErrMsg ? 3 : 1;
    out.errMsg = s.ErrMsg;
    out.face = s.FontFace.c_str();
    out.fontSize = s.FontSize;
    out.foreColor = s.ForeColor;
    out.backColor = s.BackColor;
}

int32_t FontSizeOfHeight(int32_t height, int32_t dpi) {
    // A character height is negative, a cell height positive; both give
    // the size of the font, never a negative one.
    int64_t h = height < 0 ? -static_cast<int64_t>(height) : height;
    return dpi > 0 ? static_cast<int32_t>(h * 720 / dpi) : 0;
}

}  // namespace tambrix
