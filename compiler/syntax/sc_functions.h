// The intrinsic functions: code, argument pattern and result type. The
// grammar builds one argument rule per function from this table and the
// expression analysis takes the result type from it.
#pragma once

#include <cstdint>

namespace txsc {

// Argument letters: N integer, F single, D double, S string, X any numeric
// (keeps its type), A numeric or string, V a variable by reference, P the
// object prefix (never written; supplied as the null object). A lower-case
// letter is optional; '*' repeats the previous letter; H a file number,
// with or without its '#'; Y a whole array, name(); Z LEN's operand (a
// string, or a variable whose size it gives); K DSKF's drive, a name or a
// number; E STR$'s operand, a number or a decimal.
struct FuncSig {
    uint8_t code;
    const char *args;
    uint8_t result;
};

namespace fsig {
constexpr uint8_t I = 0, L = 1, F = 2, D = 3, B = 4, S = 16;
}

inline constexpr FuncSig kFunctions[] = {
#define X(code, args, result) FuncSig{code, args, fsig::result}
    X(0x00, "P", I),    X(0x01, "", L),     X(0x02, "", L),     X(0x03, "", L),     X(0x04, "", I),
    X(0x05, "", L),     X(0x06, "", F),     X(0x07, "", I),     X(0x08, "", L),     X(0x10, "D", D),
    X(0x11, "D", D),    X(0x12, "N", L),    X(0x13, "D", D),    X(0x14, "X", I),    X(0x15, "X", L),
    X(0x16, "D", F),    X(0x17, "D", D),    X(0x18, "N", I),    X(0x19, "D", D),    X(0x1A, "D", D),
    X(0x1B, "N", L),    X(0x1C, "D", D),    X(0x1D, "N", L),    X(0x1E, "N", L),    X(0x1F, "D", D),
    X(0x20, "N", I),    X(0x21, "PN", I),   X(0x22, "D", D),    X(0x23, "D", D),    X(0x24, "D", D),
    X(0x25, "D", D),    X(0x26, "PN", I),   X(0x27, "PN", F),   X(0x28, "N", L),    X(0x2D, "X", B),
    X(0x2E, "K", L),    X(0x2F, "N", L),    X(0x30, "S", I),    X(0x31, "S", I),    X(0x32, "S", L),
    X(0x33, "S", F),    X(0x34, "S", D),    X(0x35, "S", I),    X(0x36, "Z", I),    X(0x38, "S", D),
    X(0x39, "V", L),    X(0x3A, "S", L),    X(0x3B, "N", L),    X(0x3C, "N", I),    X(0x40, "PFN", F),
    X(0x41, "SN", I),   X(0x42, "SN", I),   X(0x43, "PNn", I),  X(0x50, "PFf", I),  X(0x51, "PN", F),
    X(0x52, "PNNN", I), X(0x53, "ASs", I),  X(0x54, "ASs", I),  X(0x55, "YANN", I), X(0x80, "", S),
    X(0x81, "", S),     X(0x82, "", S),     X(0x83, "P", S),    X(0x84, "", S),     X(0x90, "N", S),
    X(0x91, "N", S),    X(0x92, "N", S),    X(0x93, "N", S),    X(0x94, "F", S),    X(0x95, "D", S),
    X(0x96, "N", S),    X(0x97, "N", S),    X(0x98, "N", S),    X(0x99, "E", S),    X(0x9A, "N", S),
    X(0xA0, "S", S),    X(0xA1, "S", S),    X(0xA2, "S", S),    X(0xA3, "S", S),    X(0xA4, "S", S),
    X(0xA5, "S", S),    X(0xA6, "S", S),    X(0xA7, "S", S),    X(0xA8, "SNN", S),  X(0xA9, "S", S),
    X(0xB0, "NA", S),   X(0xB1, "NN", S),   X(0xB2, "SN", S),   X(0xB3, "SN", S),   X(0xB4, "SN", S),
    X(0xB5, "SN", S),   X(0xB6, "SN", S),   X(0xC0, "N*", S),   X(0xC1, "PNh", S),   X(0xC2, "NN", S),
    X(0xC3, "SNn", S),  X(0xC4, "SNn", S),  X(0xC5, "AS", S),
#undef X
};

constexpr const FuncSig *FindFunction(uint8_t code) {
    for (const FuncSig &f : kFunctions)
        if (f.code == code) return &f;
    return nullptr;
}

}  // namespace txsc
