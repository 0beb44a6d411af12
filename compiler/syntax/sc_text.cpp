// Compiled with code page 932 as the execution character set: the literals
// here are the bytes the error lines and the crash report carry.
#include "sc_text.h"

#include <cstring>

namespace txsc {

namespace {

struct ErrorText {
    uint8_t code;
    const char *text;
};

const ErrorText kStatementErrors[] = {
#include "sc_errors.inc"
};

}  // namespace

const char *StatementErrorText(uint8_t code) {
    for (const ErrorText &e : kStatementErrors)
        if (e.code == code || e.code == 0xFF) return e.text;
    return nullptr;
}

void FormatLineField(uint16_t line, char out[16]) {
    char places[6] = "*****";
    char digits[8];
    int n = 0;
    do {
        digits[n++] = char('0' + line % 10);
        line = uint16_t(line / 10);
    } while (line && n < 5);
    for (int i = 0; i < n; ++i) places[4 - i] = digits[i];
    std::strcpy(out, " ");
    std::strcat(out, places);
    std::strcat(out, "行 ");
}

const char *CrashPhaseFormat(int phase) {
    switch (phase) {
    case 0: return "[%u行] 構文検査中に";
    case 1: return " 後処理中に";
    default: return " 終了処理中に";
    }
}

const char *CrashMessageFormat() { return "構文解析：%s %s続行不可能なエラーが発生しました"; }
const char *CrashTitle() { return "Tambrix V6.3"; }

}  // namespace txsc
