// Reading the compiler's error lines in the build result window: the source
// and line a double click jumps to, and the message number for help.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "ui/prjids.h"  // the message ids, which the resource script reads too

namespace prj {

struct ErrorLineTarget {
    std::string file;
    int line = 0;
};

// The parse of JumpToErrorLine: "NAME ***12行 [nn] text" or, when the number
// fills the field, "NAME 12345行 [nn] text". False when the line names no
// file and line.
bool ParseErrorLine(std::string_view text, ErrorLineTarget &out);

// The result line holds no message number for the help to show.
constexpr uint32_t kMsgNoMessageNumber = IDS_NO_MESSAGE_NUMBER;

enum class MessageNumberParse {
    kNone,    // nothing stored: no ']' or ']' before '['
    kNumber,  // a number other than 0 stored
    kZero,    // 0 stored: the caller shows kMsgNoMessageNumber
};
// GetResultLineAtCaret's number: the text between the first '[' and the
// first ']' (from the line's start when there is no '[').
MessageNumberParse ParseMessageNumber(std::string_view text, uint32_t &number);

}  // namespace prj
