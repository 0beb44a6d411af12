#pragma once

#include <cstdint>

namespace scl {

// Details of the checker's own faults (high byte of the error word).
enum Detail : uint8_t {
    kDetailNone = 0,
    kDetailExtraClose = 1,  // a ")" with no "(" open
    kDetailOpenParen = 2,   // a "(" never closed
    kDetailLeadingWord = 3, // a statement cannot begin with this word
};

struct Fault {
    uint16_t word = 0;  // 0: none
    uint8_t column = 0, length = 0;
};

// Checks one tokenised line; tokens end with the end mark F1.
Fault CheckLine(const char *text, const unsigned char *tokens);

}  // namespace scl
