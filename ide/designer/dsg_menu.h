// The menu model: one block per menu (a 68-byte header and 182-byte item
// records, the last one the closing empty item), its check and numbering,
// building from compiled templates, accelerators and control names.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "dsg_events.h"

namespace dsg {

class DesignerHost;

enum : uint16_t {
    kMfGrayed = 0x0001, kMfDisabled = 0x0002, kMfChecked = 0x0008, kMfPopup = 0x0010,
    kMfEnd = 0x0080, kMfSeparator = 0x0800,
};
enum : uint16_t { kAccVirtKey = 1, kAccShift = 4, kAccControl = 8, kAccAlt = 0x10 };
// The kinds of menu items where they stand beside control kinds (event
// blocks, the property window's list of objects).
enum : uint32_t { kMenuItemKind = 20, kPopupKind = 21, kSeparatorKind = 22 };
constexpr uint32_t kFirstItemId = 2048;
constexpr uint32_t kFirstSeparatorId = 32768;
constexpr size_t kMaxMenuItems = 255;
constexpr int kMaxMenus = 16;

#pragma pack(push, 1)
struct MenuHeader {
    uint32_t count;  // records including the closing one
    uint16_t size;
    uint32_t owner;  // the first view's window
    char name[58];
};
struct MenuItem {
    uint32_t zero;
    uint32_t popup;
    uint32_t id;
    uint32_t position;
    uint16_t flags;
    uint32_t level;
    char caption[128];
    char name[22];
    uint32_t hasShortcut;
    uint16_t keyFlags;
    uint16_t key;
    uint16_t keyCommand;
};
#pragma pack(pop)
static_assert(sizeof(MenuHeader) == 68, "menu header");
static_assert(sizeof(MenuItem) == 182 && offsetof(MenuItem, caption) == 22 && offsetof(MenuItem, name) == 150 &&
                  offsetof(MenuItem, hasShortcut) == 172 && offsetof(MenuItem, keyCommand) == 180,
              "menu item record");

struct MenuBlock {
    MenuHeader header{};
    std::vector<MenuItem> items;  // includes the closing record

    std::string Name() const;
    size_t ItemCount() const { return items.empty() ? 0 : items.size() - 1; }
    bool AppendEmpty();  // false at 255 items
    bool Insert(size_t pos);
    bool Delete(size_t pos);
    uint32_t NextFreeId(bool separator) const;
    void Sync();  // count and size from the records
};

inline uint32_t MnuItemKind(const MenuItem &m) {
    return (m.flags & kMfSeparator) ? kSeparatorKind : (m.flags & kMfPopup) ? kPopupKind : kMenuItemKind;
}

struct MenuEntry {
    uint32_t uses = 0;
    MenuBlock block;
    EventTable events;
};

struct MenuCheck {
    uint32_t message = 0;  // 0: passed
    int32_t index = -1;    // the record to select
};

class MenuList {
public:
    std::vector<MenuEntry> menus;

    int Find(std::string_view name) const;  // case-insensitive, -1 none
    // A new menu with its closing record, named FormMenu or Menu<n>.
    MenuEntry *CreateNew(uint32_t owner);
    // Rebuilds the event blocks of a menu from its records.
    void RenewEvents(int index);
};

// Numbering and check after editing; the first broken rule.
MenuCheck MnuCheckAndNumber(MenuBlock &m);

// Builds a block from a compiled menu template (16- or 32-bit form).
bool MnuFromResource(DesignerHost &host, MenuList &list, std::string_view name,
                     const uint8_t *data, size_t size, bool wide, uint32_t owner);
// Sets the shortcuts of the named menu from a compiled accelerator table.
void MnuApplyAccel(MenuList &list, std::string_view name, const uint8_t *data, size_t size,
                   bool wide);
// Reads a compiled control-name list into the named menu; false on a bad stream.
bool MnuApplyNames(MenuList &list, std::string_view name, const uint8_t *data, size_t size);

// The binary menu template of a block (LoadMenuIndirect's input).
bool RcBuildMenuTemplate(DesignerHost &host, const MenuBlock &m, std::vector<uint8_t> &out);

}  // namespace dsg
