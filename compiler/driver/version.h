// Version strings of the driver and the pass libraries. On Windows they
// come from the files' version resources (block 041104B0); natively from
// txversion.h, the same values the resources are made of.
#pragma once

#include <string>
#include <string_view>

namespace txcl {

struct VersionStrings {
    std::string description;
    std::string productVersion;
    std::string privateBuild;
    bool hasPrivateBuild = false;
    std::string legalCopyright;
};

// file: a plain library name ("Txpp.dll"), or null for this program.
bool ReadVersionStrings(const char *file, VersionStrings &v);

// "6, 3, 10, 0" -> version "6.3", level "10"; a non-zero fourth number n
// appends the letter 64 + n ("10B" for 2). Needs four numbers.
bool ParseProductVersion(std::string_view text, std::string &version, std::string &level);

// The banner, or "" when the product version cannot be parsed.
std::string BannerText(const VersionStrings &v);
// A pass library's line under "/TMP", or "".
std::string VersionLine(const char *name, const VersionStrings &v);

}  // namespace txcl
