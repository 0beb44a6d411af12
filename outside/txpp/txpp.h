// The preprocessor library's two entry points (C linkage, exported from
// TXPP.DLL): the first compiler pass and the line tokeniser of the editor's
// line check and the debugger's watch expressions.
#pragma once

#include "passes.h"

extern "C" {
// text: a zero-terminated line (mode 1) or watch expression (mode 2), which
// may be rewritten in place (keywords upper case; in mode 1 a blank after a
// leading line number, so one byte more). tokens: 1600 bytes, zeroed by the
// caller, receive the units and the end mark F1 00. 0 means tokenised.
TX_PASS_EXPORT int PP_EdtChk(char *text, unsigned char *tokens, int mode);
}

namespace pp {
inline constexpr int kEdtChkLine = 1;
inline constexpr int kEdtChkWatch = 2;
}  // namespace pp
