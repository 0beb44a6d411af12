// Double-byte text of code page 932 as the compiler's files and command
// lines carry it. A trail byte may be 0x5C ('\\') or '/'-free ASCII, so any
// scan for separators must step over whole characters.
#pragma once

#include <cstddef>

namespace tx {

constexpr bool IsSjisLeadByte(unsigned char c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// Bytes of s that fit in max bytes without cutting a double-byte character
// in half (s need not be terminated within max).
inline std::size_t SjisFitLength(const char *s, std::size_t max) {
    std::size_t i = 0;
    while (i < max && s[i] != '\0') {
        std::size_t step = IsSjisLeadByte(static_cast<unsigned char>(s[i])) && s[i + 1] != '\0' ? 2 : 1;
        if (i + step > max)
            break;
        i += step;
    }
    return i;
}

}  // namespace tx
