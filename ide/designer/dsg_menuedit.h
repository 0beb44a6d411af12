// The menu editor's rules on a menu block: the shortcut table, the caption
// with its access keys, dialog mark and shortcut text, the level buttons
// that make and unmake popups, typing into the closing row, and the checks
// of OK.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "dsg_menu.h"
#include "ui/dsgids.h"  // the message ids, which the resource script reads too

namespace dsg {

constexpr uint32_t kMsgNoMenuItems = IDS_DSG_NO_MENU_ITEMS, kMsgNoMenuName = IDS_DSG_NO_MENU_NAME;
// Asks before every item of the menu goes.
constexpr uint32_t kMsgDeleteAllItems = IDS_DSG_DELETE_ALL_ITEMS;
constexpr uint16_t kMenuGrayed = 0x0001, kMenuChecked = 0x0008, kMenuPopup = 0x0010, kMenuSeparator = 0x0800;

struct ShortcutEntry {
    std::string text;  // Shift-JIS
    uint16_t flags = 0, key = 0;
};
// The 76 entries of the shortcut combo, "(なし)" first.
const std::vector<ShortcutEntry> &ShortcutTable();
// The combo index of a record's shortcut (0 for none).
int ShortcutIndex(const MenuItem &item);
// Index 0 clears the shortcut; another sets it from the table.
void MnuSetShortcut(MenuItem &item, int index);

struct CaptionFields {
    std::string text;
    char key = 0;          // alphabet access key, 0 none
    std::string kana;      // kana access key (one character), empty none
    bool dialog = false;   // "..." after the caption
    std::string shortcut;  // the shortcut's text, empty none
};
std::string CaptionBuild(const CaptionFields &f);
CaptionFields CaptionParse(std::string_view caption);

// "←" and "→" on record i, with the popup marks of its neighbours.
void MnuLevelUp(MenuBlock &m, size_t i);
void MnuLevelDown(MenuBlock &m, size_t i);
// Typing into row i: on the closing row a new closing record comes first
// (false at 255 items).
bool MnuTypeInto(MenuBlock &m, size_t i);
// OK's first checks: 21005 without a name, 21004 without items, else 0.
uint32_t MnuEditCheck(const MenuBlock &m);

}  // namespace dsg
