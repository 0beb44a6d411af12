#pragma once

#include <cstdint>

namespace scl {

// Details of the checker's own faults (high byte of the error word): the
// row of the IDE's detail table whose text names the fault.
enum Detail : uint8_t {
    kDetailNone = 0,
    kDetailLeadingWord = 5,  // "the start of the line is wrong": no statement begins so
    kDetailExtraClose = 38,  // "'(' is missing": a ")" with no "(" open
    kDetailOpenParen = 39,   // "')' is missing": a "(" never closed
};

struct Fault {
    uint16_t word = 0;  // 0: none
    uint8_t column = 0, length = 0;
};

// Checks one tokenised line; tokens end with the end mark F1.
Fault CheckLine(const char *text, const unsigned char *tokens);

}  // namespace scl
