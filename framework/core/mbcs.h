// Byte-string helpers for code page 932 text: paths and names hold
// double-byte characters whose trail byte may be a backslash or a dot, so
// every search walks character by character.
#pragma once

#include <string>
#include <string_view>

namespace fw {

inline bool IsLeadByte932(unsigned char c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// Offset of the last single-byte character ch, or npos.
size_t FindLastChar(std::string_view s, char ch);
// Offset of the first single-byte character ch, or npos.
size_t FindFirstChar(std::string_view s, char ch);
// Equal without regard to the case of ASCII letters; double-byte
// characters compare exactly.
bool EqualNoCase(std::string_view a, std::string_view b);
// ASCII letters lowered, double-byte characters kept.
std::string LowerAscii(std::string_view s);

}  // namespace fw
