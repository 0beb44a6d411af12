#include "mbcs.h"

namespace fw {

namespace {

unsigned char Lower(unsigned char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + 32) : c;
}

}  // namespace

size_t FindLastChar(std::string_view s, char ch) {
    size_t found = std::string_view::npos;
    for (size_t i = 0; i < s.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        if (IsLeadByte932(c) && i + 1 < s.size()) {
            ++i;
            continue;
        }
        if (s[i] == ch)
            found = i;
    }
    return found;
}

size_t FindFirstChar(std::string_view s, char ch) {
    for (size_t i = 0; i < s.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        if (IsLeadByte932(c) && i + 1 < s.size()) {
            ++i;
            continue;
        }
        if (s[i] == ch)
            return i;
    }
    return std::string_view::npos;
}

bool EqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        unsigned char ca = static_cast<unsigned char>(a[i]);
        unsigned char cb = static_cast<unsigned char>(b[i]);
        if (IsLeadByte932(ca) && i + 1 < a.size()) {
            if (ca != cb || a[i + 1] != b[i + 1])
                return false;
            ++i;
            continue;
        }
        if (Lower(ca) != Lower(cb))
            return false;
    }
    return true;
}

std::string LowerAscii(std::string_view s) {
    std::string out(s);
    for (size_t i = 0; i < out.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(out[i]);
        if (IsLeadByte932(c) && i + 1 < out.size()) {
            ++i;
            continue;
        }
        out[i] = static_cast<char>(Lower(c));
    }
    return out;
}

}  // namespace fw
