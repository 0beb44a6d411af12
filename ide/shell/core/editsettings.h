// The editor settings in the registry ("Editor" under the product key) and
// the shared colour table. The options' editor page is their one reader
// and writer; everyone else takes a copy.
#pragma once

#include "regstore.h"

#include <cstdint>
#include <string>

namespace tambrix {

inline constexpr const char* kEditorKey = "Software\\VELTRAN\\Tambrix V6.3\\Editor";

struct ColorEntry {
    uint8_t red, green, blue;
    const char* name;  // Shift-JIS
};
inline constexpr int kColorCount = 16;
extern const ColorEntry kColorTable[kColorCount];
// A palette-relative colour value (0x02bbggrr) of an entry.
uint32_t PaletteColor(int index);
// The entry index of a palette-relative value, or -1.
int ColorIndexOf(uint32_t paletteColor);

struct EditorSettings {
    uint32_t Tab = 8;
    uint32_t Wrap = 0;
    std::string FontFace = "FixedSys";
    int32_t FontSize = 0;  // tenths of a point
    uint32_t ForeColor = 0;
    uint32_t BackColor = 15;
    bool LineNo = true;
    bool Comp = true;
    bool ErrMsg = true;
};

// The copy other parts receive: nine words, the face a reference into the
// settings it was copied from.
struct EditorSettingsCopy {
    uint32_t tab;
    uint32_t wrap;
    uint32_t lineNo;
    uint32_t checkMode;  // 0 off, 1 line check, 3 line check with messages
    uint32_t errMsg;
    const char* face;
    int32_t fontSize;
    uint32_t foreColor;
    uint32_t backColor;
};

// defaultFontSize: tenths of a point of the frame's or the system's font.
void SetDefaultEditorSettings(EditorSettings& s, int32_t defaultFontSize);
// False (defaults kept) when the key cannot be opened. Values of the wrong
// type, colours outside the table and tab widths other than 4 and 8 keep
// their defaults.
bool LoadEditorSettings(fw::RegStore& reg, EditorSettings& s, int32_t defaultFontSize);
bool SaveEditorSettings(fw::RegStore& reg, const EditorSettings& s);
void CopyEditorSettings(const EditorSettings& s, EditorSettingsCopy& out);

// Font size in tenths of a point of a font height in pixels (negative for
// a character height, positive for a cell height) at dpi pixels per inch.
int32_t FontSizeOfHeight(int32_t height, int32_t dpi);

}  // namespace tambrix
