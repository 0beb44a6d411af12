// The analyzer's own texts (code page 932 bytes; see sc_text.cpp).
#pragma once

#include <cstdint>

namespace txsc {

// Message of a statement error by the low byte of the error word; unknown
// codes get the text of the closing record.
const char *StatementErrorText(uint8_t code);

// The line field between file name and message: a blank, five places with
// the right-aligned line number filled with '*' on the left, "行" and a
// blank. `out` receives a terminated string.
void FormatLineField(uint16_t line, char out[16]);

// Crash report texts.
const char *CrashPhaseFormat(int phase);   // printf format; phase 0 takes the line
const char *CrashMessageFormat();          // (%s source, %s phase text)
const char *CrashTitle();

}  // namespace txsc
