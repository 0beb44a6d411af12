// The designer's data: control kinds, the 268-byte control record, the
// forms of a resource document with their control tables, event tables,
// menus and file lists, and the rules for new ids, numbers and names.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "dsg_events.h"
#include "dsg_filelist.h"
#include "dsg_host.h"
#include "dsg_menu.h"
#include "ui/dsgids.h"  // the message ids, which the resource script reads too

namespace dsg {

enum MessageId : uint32_t {
    kMsgMenuLoad = IDS_DSG_MENU_LOAD,
    kMsgMenuItem = IDS_DSG_MENU_ITEM,
    kMsgSeparatorPopup = IDS_DSG_SEPARATOR_POPUP,
    kMsgShortcutTwice = IDS_DSG_SHORTCUT_TWICE,
    kMsgShortcutPopup = IDS_DSG_SHORTCUT_POPUP,
    kMsgShortcutTop = IDS_DSG_SHORTCUT_TOP,
    kMsgTooMany = IDS_DSG_TOO_MANY,
    kMsgNameUsed = IDS_DSG_NAME_USED,
    kMsgBadName = IDS_DSG_BAD_NAME,
    kMsgNoName = IDS_DSG_NO_NAME,
    kMsgNoMoreItems = IDS_DSG_NO_MORE_ITEMS,
    kMsgItemInUse = IDS_DSG_ITEM_IN_USE,
    kMsgDeleteItem = IDS_DSG_DELETE_ITEM,  // asks before deleting the named item
    kMsgNoWindow = IDS_DSG_NO_WINDOW,
    kMsgBadParam = IDS_DSG_BAD_PARAM,
    kMsgEmptyId = IDS_DSG_EMPTY_ID,
    kMsgRcNotStarted = IDS_DSG_RC_NOT_STARTED,  // the resource compiler could not start
    kMsgRcRefused = IDS_DSG_RC_REFUSED,     // it refused the script: its lines are shown
    kMsgResUnreadable = IDS_DSG_RES_UNREADABLE, // the compiled file cannot be read or built
    kMsgFileOpen = IDS_DSG_FILE_OPEN,
    kMsgFileRead = 20004,
    kMsgNoClipboard = IDS_DSG_NO_CLIPBOARD,
    kMsgDiskFull = IDS_DSG_DISK_FULL,
    kMsgNoMemory = IDS_DSG_NO_MEMORY,
    kMsgSystem = IDS_DSG_SYSTEM,
};

// An edit control's input-method word (`imeMode`).
enum ImeMode : uint32_t {
    kImeAny = 0,           // left as the user has it
    kImeOn = 1,
    kImeOff = 2,
    kImeOldOff = 3,        // an older file's off; the list shows it as any
    kImeHiragana = 4,
    kImeKatakana = 5,
    kImeHalfKatakana = 6,
    kImeAlphanumeric = 7,
};

enum Kind : uint32_t {
    kForm, kMdiFrame, kMdiChild, kButton, kRadio, kCheck, kGroup, kEdit, kText, kList,
    kHScroll, kVScroll, kCombo, kPicture, kOleClient, kBmpButton, kTimer, kMci, kPrinter,
    kOcx, kMenuKind, kKindCount
};

struct KindInfo {
    const char *display;  // Shift-JIS
    uint32_t style;
    uint32_t exStyle;
    const char *cls;
    const char *text;
    int32_t cx, cy;
    const char *prefix;
};
extern const KindInfo kKindTable[kKindCount];

// Window styles the designer's rules name.
enum : uint32_t {
    kWsVisible = 0x10000000, kWsDisabled = 0x08000000, kWsMinimize = 0x20000000,
    kWsMaximize = 0x01000000, kWsGroup = 0x00020000, kWsTabStop = 0x00010000,
    kWsChild = 0x40000000, kWsBorder = 0x00800000, kWsExClientEdge = 0x200,
    kCaGroup = 0x100, kCaLocked = 0x200, kCaEnd = 0x80000000u,
    kCwUseDefault = 0x80000000u,
    // A bitmap button's style bits: the bitmap fits the button, or the
    // button the bitmap (and then keeps that size).
    kBmpFitBitmap = 0x10000, kBmpFitControl = 0x20000,
};
// The widest and tallest a control may be made.
constexpr int32_t kMaxControlSide = 32300;

// The 16 palette colours (palette-relative COLORREF values).
extern const uint32_t kPalette[16];
int PaletteIndexOf(uint32_t colour);  // -1 when not a palette colour

#pragma pack(push, 2)
struct ControlRecord {
    uint32_t kind;
    uint32_t hwnd;
    uint32_t attributes;
    uint32_t exStyle;
    uint32_t style;
    uint32_t id;
    int32_t x, y, cx, cy;
    uint32_t cursorId;
    char cursorName[16];
    uint32_t visible;
    uint32_t enable;
    uint32_t positionMode;
    uint32_t showState;
    uint32_t axis;
    uint32_t imeMode;
    uint32_t value;
    uint32_t maxLength;
    uint16_t hotKey;
    uint32_t area[31];  // by kind, see the accessors below
    uint32_t font;
    uint32_t backBrush;
    uint32_t cursorHandle;
    char name[22];
    int32_t spacingX, spacingY;
    uint32_t spacingUnit;
    uint32_t spacingSet;
};
#pragma pack(pop)
static_assert(sizeof(ControlRecord) == 268, "the control record is 67 words");
// The same offsets in every build: records go to the clipboard as they are.
static_assert(offsetof(ControlRecord, cursorName) == 44 && offsetof(ControlRecord, hotKey) == 92 &&
                  offsetof(ControlRecord, area) == 94 && offsetof(ControlRecord, font) == 218 &&
                  offsetof(ControlRecord, name) == 230 && offsetof(ControlRecord, spacingSet) == 264,
              "control record layout");

// Word indices of the per-kind area.
namespace fa {  // forms, MDI frames and children
enum : int { textColor, foreColor, backColor, attribute, windowRect, clientRect = 8,
             bufferColumns = 12, bufferRows, mapMode, redrawMode, reserved, clipboard,
             gridVisible, gridSnap, gridX, gridY, iconName, form3D = 26 };
}
namespace pa { enum : int { textColor, foreColor, backColor, attribute, mapMode, redrawMode }; }
namespace ca { enum : int { ctlTextColor, ctlBackColor }; }
namespace sa { enum : int { position, minimum, maximum, largeChange, smallChange, ctlBackColor }; }
namespace ba {  // bitmap button
enum : int { position, buttonStyle, bitmapWidth, bitmapHeight, frameA, runState, frameB,
             frameSizeA, frameSizeB, drawInterval = 11, bitmapName = 13, buttonState = 17,
             tooltip = 18 };
}
namespace ta { enum : int { enabled, interval }; }

inline char *AreaText(ControlRecord &r, int word) { return reinterpret_cast<char *>(&r.area[word]); }
inline const char *AreaText(const ControlRecord &r, int word) {
    return reinterpret_cast<const char *>(&r.area[word]);
}
// Copies a text into a fixed field, cut to fit, always terminated.
void SetField(char *field, size_t size, std::string_view text);
template <size_t N> void SetField(char (&field)[N], std::string_view text) { SetField(field, N, text); }
inline std::string FieldText(const char *field, size_t size) { return std::string(field, strnlen(field, size)); }

constexpr uint32_t kMaxRecords = 256;
constexpr int kMaxForms = 16;

struct Form {
    uint32_t window = 0;
    uint16_t number = 0;
    uint16_t open = 0;
    uint32_t mdiClient = 0;          // word 0
    std::vector<ControlRecord> table;  // word 16; record 0 is the form
    EventTable events;               // word 20
    int menu = -1;                   // word 32: the menu index shown, -1 none
};

// Format versions of a compiled file: the first word of its version entry.
enum FormatVersion : uint16_t {
    kVersion5 = 5,
    kVersion6 = 6,             // what the designer writes, with kVersion6Minor
    kVersion16Bit = 0x101,     // a 16-bit file without a version entry
    kVersion102 = 0x102,       // built without file lists; its icon is beside the script
    kVersion103 = 0x103,
    kVersion104 = 0x104,
    kVersion204 = 0x204,
};
constexpr uint16_t kVersion6Minor = 16;
// The versions a load builds (every other one keeps nothing).
bool IsBuildableVersion(uint16_t version);
// Versions whose low four bits are below 4 are read with the 16-bit
// entry reader and converted to kVersion6.
inline bool IsOldLayoutVersion(uint16_t version) { return (version & 0xF) < 4; }

// The resource document's designer data (what CRcDoc holds for the designer).
struct Document {
    std::vector<Form> forms;  // the form list, in order of creation
    MenuList menus;
    FileList lists[3];        // icon, bitmap, cursor (list kinds 2, 3, 4)
    uint16_t version = kVersion6, version2 = kVersion6Minor;
    uint32_t converted = 0;
    bool modified = false;

    Form *FindForm(uint32_t window);
    FileList &List(int listKind) { return lists[listKind - 2]; }
};

uint32_t CtlIdBase(uint32_t kind);
int32_t CtlNextFreeId(const Document &doc, uint32_t kind);
int32_t FrmFindFreeNumber(const Document &doc);
std::string FrmDefaultName(uint32_t number);
// A default record of a kind for a form (nullptr for a new form); false when
// no id or number is free.
bool CtlInitRecord(DesignerHost &host, const Document &doc, const Form *form, uint32_t kind,
                   ControlRecord &r);
// The default control name: prefix and number, moved on past names in use.
void CtlMakeName(const Form &form, ControlRecord &r);
void FrmCalcWindowRect(DesignerHost &host, ControlRecord &r, bool menu);
// The grid spacing of a map mode in device units (modes 0 and 1 go through
// the form's device context from 120 twips).
int32_t FrmDefaultGrid(DesignerHost &host, uint32_t form, uint32_t mapMode);

ControlRecord *CtlFind(Form &form, uint32_t window);
// Moves a control's record (and its event block) to just after the target:
// 0 the form's own record, 1 the last record, else a control window.
bool CtlMoveZOrder(Form &form, uint32_t window, uint32_t target);
// Moves a rectangle by (dx, dy) unless an edge would pass +-32748, then
// snaps its top-left corner to the grid (remainders taken towards zero).
bool DsgOffsetRectSnap(Rect &r, int32_t dx, int32_t dy, bool snap, int32_t gridX, int32_t gridY);
bool CtlDeleteRecord(DesignerHost &host, Document &doc, Form &form, uint32_t window);
void CtlReleaseResources(DesignerHost &host, Document &doc, ControlRecord &r, bool destroy);

// Names of forms, controls and menus: [A-Za-z_][A-Za-z0-9_]*, at most
// maxLen characters, and no word the script's compiler or header owns.
bool IsValidName(std::string_view name, size_t maxLen);

}  // namespace dsg
