// The property table (groups and rows of every kind), which rows a kind
// shows, the text each row shows for a record, and applying an edited
// value to a record. The property window puts these on the screen and
// carries out what an applier asks of the live windows.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "dsg_model.h"

namespace dsg {

// What the in-place editor of a row is.
enum EditorType : int32_t {
    kEdText = 1001, kEdSigned = 1002, kEdDigits = 1003, kEdChoice = 1006, kEdYesNo = 1007,
    kEdFont = 1008, kEdSize = 1009, kEdColour = 1010, kEdCursor = 1012, kEdMenu = 1013,
    kEdBitmap = 1014, kEdIcon = 1015, kEdLines = 1016, kEdHotKey = 1017,
};

enum GroupId : int32_t {
    kGrpFrame = 1, kGrpClient = 2, kGrpStyle = 3, kGrpBasic = 4, kGrpColour = 5, kGrpEvent = 6,
    kGrpFont = 7, kGrpOther = 9,
};

// Property ids the rules name.
enum PropId : int32_t {
    kPrPosMode = 10, kPrShowState, kPrX, kPrY, kPrWidth, kPrHeight, kPrText, kPrFrameKind, kPrIcon,
    kPrCaption, kPrSysMenu, kPrHScroll, kPrVScroll, kPrMaxBox, kPrMinBox, kPrAxis, kPrTopMost,
    kPrCopy, kPrVisible, kPrDisabled, kPrDrop, kPrForm3D, kPrMapMode, kPrRedraw, kPrPicMapMode,
    kPrColumns, kPrRows, kPrTextColour, kPrCtlBack, kPrForeColour, kPrBackColour, kPrEvent,
    kPrFace, kPrSize, kPrBold, kPrItalic, kPrUnderline, kPrStrike, kPrMenu, kPrPointer, kPrHotKey,
    kPrDefault, kPr3State, kPrAlign, kPrBorder, kPrEditAlign, kPrRadioValue, kPrCheckValue,
    kPr3D, kPrMultiLine, kPrMaxLength, kPrIme, kPrReadOnly, kPrAutoH, kPrAutoV, kPrUpper,
    kPrLower, kPrPassword, kPrNumber, kPrListItems, kPrSort, kPrMultiSel, kPrExtSel,
    kPrComboItems, kPrComboKind, kPrPosition, kPrMinimum, kPrMaximum, kPrLarge, kPrSmall,
    kPrBitmap, kPrBmpKind, kPrInitState, kPrStates, kPrFrames, kPrInterval, kPrFrameW,
    kPrFrameH, kPrFitBitmap, kPrFitControl, kPrAutoState, kPrTooltip, kPrTimerInterval,
    kPrTimerEnabled,
};
static_assert(kPrTimerEnabled == 93 && kPrEvent == 41 && kPr3D == 58, "property ids");

constexpr uint32_t kAllRows = 0xFFFFFFFFu;
// The choices word of the hot-key row: the hot-key dialog, not a list.
constexpr uint32_t kHotKeyMarker = 248;

struct PropertyRow {
    const char *name;  // null ends a list
    int32_t type;
    const char *const *choices;
    uint32_t marker;
    int32_t min, max;
    int32_t id;
};

struct PropertyGroup {
    const char *name;  // null ends a list
    const PropertyRow *rows;
    uint32_t reserved;
    uint32_t mask;
    int32_t id;
};

constexpr uint32_t kPropKinds = 18;
// Kinds 0-17; kinds 1, 2 and those past 17 have no properties.
extern const PropertyGroup *const kPropertyTable[kPropKinds];
// The group list of a kind; null for kinds without properties.
const PropertyGroup *PropGroupsOf(uint32_t kind);
const PropertyGroup *PropFindGroupInfo(uint32_t kind, int32_t group);
const PropertyRow *PropFindGroup(uint32_t kind, int32_t group);
const PropertyRow *PropFindRow(uint32_t kind, int32_t id);
bool PropRowVisible(uint32_t kind, int32_t group, int32_t id);
// Number of captions in a null-ended choice list.
int ChoiceCount(const char *const *choices);
int ChoiceIndex(const char *const *choices, std::string_view text);  // -1 none

// Shared texts (Shift-JIS).
extern const char *const kTextYes;    // "あり"
extern const char *const kTextNo;     // "なし"
extern const char *const kTextNone;   // "(なし)"
extern const char *const kColourNames[16];
extern const char *const kEventGroupName;  // "ｲﾍﾞﾝﾄ"
extern const char *const kBasicGroupName;  // "基本ｽﾀｲﾙ"
struct StockPointer {
    uint32_t id;
    const char *caption;
};
extern const StockPointer kStockPointers[12];  // ended by a zero id
extern const char *const kRangeFormat;  // the out-of-range message
extern const char *const kPropTitle;    // "ﾌﾟﾛﾊﾟﾃｨ"
extern const char *const kPropTitleOf;  // "%s のﾌﾟﾛﾊﾟﾃｨ"
extern const char *const kKeepOnTopText;  // the system-menu item

// Messages of applying values.
enum PropMessage : uint32_t {
    kMsgRangeTooWide = IDS_DSG_RANGE_TOO_WIDE,
    kMsgEmptyProc = IDS_DSG_EMPTY_PROC,
    kMsgPosOutside = IDS_DSG_POS_OUTSIDE,
    kMsgMinAbovePos = IDS_DSG_MIN_ABOVE_POS,
    kMsgMaxBelowPos = IDS_DSG_MAX_BELOW_POS,
};

// A size in twentieths of a point as points, to the nearest half point.
std::string FormatTenths(int32_t size);
// The caption index of a form's or picture box's text colour.
int TextColourIndex(uint32_t number, uint32_t attribute);
// The colour number and brightness of a caption index.
void TextColourOf(int index, uint32_t &number, uint32_t &attribute);
// The caption of a control's colour value ("黒" for an unknown value).
const char *ColourCaption(uint32_t value);
// The IME word of a choice index, and back.
uint32_t ImeWordOf(int index);
int ImeIndexOf(uint32_t word);
// An event-procedure name cut to 31 bytes without splitting a character.
std::string CutProcName(std::string_view name);

// What the value display needs beyond the record.
struct PropView {
    DesignerHost &host;
    const Document *doc = nullptr;  // the open resource document, if any
    const Form *form = nullptr;     // the record's form
    int32_t pixelsPerInch = 96;     // vertical, of the property window
    bool bitmapLoaded = false;      // a bitmap button holds an image
    std::function<std::string(uint16_t)> hotKeyName;
};

struct RowText {
    std::string text;
    bool enabled = true;
};

// The text and enabled flag of one row; false leaves the row unchanged.
bool PropShowByKind(const PropView &v, const ControlRecord &r, int32_t group, int32_t id, RowText &out);

// ---- applying -------------------------------------------------------------

enum class Ending { None, Store, Restyle, Recreate, Redraw };

// What an applier asks of the live windows and the list.
struct ApplyResult {
    Ending ending = Ending::None;
    bool handled = false;          // the row belongs to this kind and group
    bool setText = false;          // the window text takes the value
    bool setCheck = false;         // the button shows record.value
    bool setLimit = false;         // the edit's limit is maxLength
    bool setIme = false;           // SetImeMode with record.imeMode
    bool setItems = false;         // the list's items from the text
    bool hideShow = false;         // hide and show the window again
    bool fontChanged = false;      // the record holds a new font
    bool reframe = false;          // a form: FrmReapplyFrame
    bool frameChange = false;      // a form: the frame-change steps
    bool form3DChanged = false;    // a form: Reapply3DEdges with form3D
    bool reapply3D = false;        // a form: Reapply3DEdges(on3D)
    bool on3D = false;
    bool refreshGroup = false;     // show every row of the group again
    bool fitText = false;          // a form: FrmFitTextArea
    bool rect = false;             // ApplyRectProperty with the rows' rectangle
    std::vector<uint32_t> messages;
    // Rows whose text or enabled flag changes at once.
    struct RowChange {
        int32_t id;
        const char *text;  // null: keep
        int enabled;       // -1 keep
    };
    std::vector<RowChange> rows;
    int32_t textRowType = 0;  // an edit's text row becomes this type (0 none)
};

// The edited value: the text and the chosen index (list rows).
struct PropEdit {
    int32_t group;
    int32_t id;
    std::string text;
    int index = -1;
};

// Applies an edit of a control (kinds 3-17) or a form's frame, client,
// colour and basic rows to the record. Fonts, files and rectangles need
// the document and host; they are applied by the window.
ApplyResult PropApplyRecord(DesignerHost &host, Document *doc, ControlRecord &r, const PropEdit &e);

// Sets or clears the 3-D edge; whether it was set before.
bool PropSet3DEdge(ControlRecord &r, bool on);

// Items and texts joined by CR LF; mode 1 escapes them as \r\n.
std::string PropJoinItems(const std::vector<std::string> &items, int mode);
std::vector<std::string> PropSplitItems(std::string_view text, int mode);

// Font size of a font row as tenths of a point: points for a form in a
// mapping mode above 1, else pixels at the form's pixels per inch.
int32_t PropFontTenths(const ControlRecord &r, int32_t number, int32_t pixelsPerInch);

// ---- the list of objects ---------------------------------------------------

// An entry of the property window's list of a form's objects: its name and
// its item data, the id in the high half and the kind in the low half.
struct ObjectItem {
    std::string name;
    uint32_t data;
};
inline uint32_t ObjectData(uint32_t id, uint32_t kind) { return (id & 0xFFFF) << 16 | (kind & 0xFFFF); }
// Every record of the form's table in table order, then every item of the
// form's menu in menu order (kinds 20 item, 21 popup, 22 separator).
std::vector<ObjectItem> PropObjectItems(const Form &form, const MenuList &menus);
// The record index of the menu item an entry names in the form's menu, -1 none.
int PropFindMenuItem(const Form &form, const MenuList &menus, uint32_t data);

// ---- event procedures -----------------------------------------------------

// The default event of a kind (20 menu item, 21 popup), -1 none.
int DefaultEventOf(uint32_t kind);
const char *EventParams(int event);
// "declare sub P edecl L".
std::string EvtDeclaration(std::string_view proc, int event);
// The banner and the procedure, lines ended by CR LF.
std::string EvtProcedureText(std::string_view proc, int event, int tabWidth);
// The form's source file name: name, ".", "SUB".
std::string EvtSourceName(std::string_view formName);
// Whether an editor's file name is the form's source (the name cut to 8).
bool EvtIsFormSource(std::string_view fileName, std::string_view formName);

}  // namespace dsg
