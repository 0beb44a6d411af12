// The rules of the small dialogs and the shared controls that need no
// window: the new-file proposal and kind switch, hot-key values and names,
// texts shortened to a width, and the colour order of a sorted colour box.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace tambrix {

// Kind buttons of the new-file dialog.
enum NewFileKind : uint32_t {
    kKindBas = 30014, kKindSub = 30015, kKindBet = 30016, kKindRc = 30017,
    kKindMak = 30026, kKindOther = 30027,
};
// The kind's extension ("" for the other files).
const char* NewFileExtension(uint32_t kind);
// "Prj%d.%s" (project mode) or "Ruroz%d.%s" from number on, the first name
// exists() does not know.
std::string ProposeNewFileName(bool projectMode, uint32_t number, const std::string& ext,
                               const std::function<bool(const std::string&)>& exists);
// The name after a switch to kind: the extension replaced, or for the
// other files cut before its last ".".
std::string NameForKind(const std::string& name, uint32_t kind);
// Bytes before the last "." (the whole name without one): what is selected.
size_t NameStemLength(std::string_view name);

// Hot-key values: low byte the virtual key, high byte the modifier flags.
enum HotKeyFlag : uint8_t { kHkShift = 1, kHkControl = 2, kHkAlt = 4, kHkExt = 8 };
struct HotKeyChecks {
    bool alt = false, control = false, ext = false, shift = false;
};
HotKeyChecks HotKeyChecksOf(uint16_t value);
// The value from a key (0 for none) and the checked boxes; no key, no flags.
uint16_t HotKeyValueOf(uint8_t key, const HotKeyChecks& c);
std::string FormatHotKeyName(uint8_t key, const HotKeyChecks& c);
extern const char* const kHotKeyNone;  // "(なし)"

// A text shortened to width: as it is when its extent plus offset fits,
// else bytes taken off its end (a double-byte character whole) until the
// rest, "..." and the offset fit, or one character is left; then "...".
std::string MakeShortString(std::string_view text, int width, int offset,
                            const std::function<int(std::string_view)>& extent);

// The order of a sorted colour box: -1, 0 or 1 for two colour values.
int CompareColorItems(uint32_t a, uint32_t b);

}  // namespace tambrix

namespace tambrix {
// Texts of the small dialogs (Shift-JIS).
extern const char* const kHotKeyNoneRow;      // "  (なし)"
extern const char* const kFolderChangeTitle;  // "ﾌｫﾙﾀﾞの変更"
extern const char* const kFolderChangeButton; // "変更(&C)"
extern const char* const kFolderPickTitle;    // "ﾌｫﾙﾀﾞの参照"
}  // namespace tambrix
