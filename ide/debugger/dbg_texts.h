// The debugger's texts, as the system's Shift-JIS bytes (dbg_texts.cpp is
// compiled with code page 932).
#pragma once

namespace txdbg {

// String-table ids of the debugger's messages.
constexpr int kMsgTooManyBreakpoints = 22002;
constexpr int kMsgNoCodeAtLine = 22007;
constexpr int kMsgNotResponding = 22013;
constexpr int kMsgNoDebugInfo = 22014;
constexpr int kMsgOldImagehlp = 22015;
constexpr int kMsgObjectNotOpened = 22017;

// The string-table text of an id ("" for an unknown id).
const char* MessageText(int id);

namespace text {
extern const char kInitSymInitialize[];
extern const char kInitSymEnumerate[];
extern const char kInitDbgInit[];
extern const char kNoValueCalc[];
extern const char kAppError[];
extern const char kAppErrorModule[];
extern const char kAppErrorFunction[];
extern const char kAppErrorLine[];
extern const char kAppErrorAddress[];
extern const char kStartFailed[];
// The watch window and the dialogs.
extern const char kWatchTitle[];
extern const char kWatchFont[];
extern const char kRuntimeErrorLine[];
extern const char kExprChangeCaption[];
extern const char kJumpButton[];
extern const char kColumnModule[];
extern const char kColumnNumber[];
extern const char kColumnCount[];
} // namespace text

} // namespace txdbg
