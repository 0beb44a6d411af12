// Shift-JIS aware text and path helpers. Paths and texts are the system's
// own bytes (code page 932): a trail byte may be '\\' (0x5C) or '[' (0x5B),
// so every search for a single character steps over double-byte pairs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace prj {

inline bool IsSjisLead(unsigned char c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// Positions of a single-byte character outside double-byte pairs.
std::size_t FindFirstSb(std::string_view s, char ch);
std::size_t FindLastSb(std::string_view s, char ch);
// The last occurrence at or before `limit` (npos when none).
std::size_t FindLastSbUpTo(std::string_view s, char ch, std::size_t limit);

// ASCII letters folded; double-byte characters compared as they are.
std::string UpperSb(std::string_view s);
bool EqualNoCase(std::string_view a, std::string_view b);
// Where `needle` first occurs in `s` at a character boundary, ignoring case.
std::size_t FindNoCase(std::string_view s, std::string_view needle);

// The part after the last backslash (the whole path without one).
std::string BareName(std::string_view path);
// The part before the last backslash, empty when there is none.
std::string FolderOf(std::string_view path);
bool HasFolder(std::string_view path);
// Takes a leading "X:" off the path; returns the drive number (A = 1), or -1
// when the path names no drive.
int32_t TakeDrive(std::string &path);
// The extension of the file name part without its dot; empty when none.
std::string ExtensionOf(std::string_view path);
bool HasExtension(std::string_view path);
// Replaces the extension of the file name part, or adds one.
std::string ReplaceExtension(std::string_view path, std::string_view ext);

// Cuts a text to at most `max` bytes without splitting a double-byte pair.
std::string CutSb(std::string_view s, std::size_t max);

}  // namespace prj
