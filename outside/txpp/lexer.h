// The line tokeniser shared by the compile pass (PP_CmpFil) and the line
// check (PP_EdtChk): one source line or watch expression in, the token units
// of tokens.h out.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace pp {

// Default type of an undecorated name, by its first letter (DEFINT & co.).
struct DefaultTypes {
    uint8_t byLetter[26];
    DefaultTypes();
};

enum class LineKind {
    kSource,  // a program line: may start with a line number and a label
    kWatch,   // an expression: no line start, "*" is always the operator
};

struct LexOptions {
    LineKind kind = LineKind::kSource;
    // Upper-case keywords in the text and put a blank after a leading line
    // number that a word follows directly (the only change of length).
    bool normalise = false;
    // Bytes of token units the line may fill; past it the line is error 89.
    size_t tokenLimit = 2044;
    // A fault the caller found before lexing (a line cut because it was too
    // long): the line keeps its line-start units and gets this error.
    int forcedFaultColumn = -1;
};

// Tokenises text (no line end in it) and appends the units to out. With
// normalise set the text is rewritten in place. DEFtype statements of the
// line update defaults for the names after them.
void TokeniseLine(std::string &text, const LexOptions &options, DefaultTypes &defaults,
                  std::vector<uint8_t> &out);

// Character classes of code page 932.
inline bool IsLeadByte(uint8_t b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
inline bool IsTrailByte(uint8_t b) { return b >= 0x40 && b <= 0xFC && b != 0x7F; }
inline bool IsKatakana(uint8_t b) { return b >= 0xA1 && b <= 0xDF; }

// Length of text cut to at most max bytes without splitting a double-byte
// character.
size_t CutAtCharBoundary(const char *text, size_t length, size_t max);

}  // namespace pp
