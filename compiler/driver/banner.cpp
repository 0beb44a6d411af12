#include <cctype>
#include <cstdint>
#include <vector>

#include "driver.h"
#include "version.h"

namespace txcl {

bool ParseProductVersion(std::string_view text, std::string &version, std::string &level) {
    std::vector<uint64_t> numbers;
    for (std::size_t i = 0; i < text.size() && numbers.size() < 4;) {
        if (!std::isdigit(static_cast<unsigned char>(text[i]))) {
            ++i;
            continue;
        }
        uint64_t n = 0;
        for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i)
            n = n < UINT32_MAX ? n * 10 + (text[i] - '0') : n;  // saturate, never wrap
        numbers.push_back(n);
    }
    if (numbers.size() < 4)
        return false;
    version = std::to_string(numbers[0]) + "." + std::to_string(numbers[1]);
    level = std::to_string(numbers[2]);
    if (numbers[3] != 0)
        level += static_cast<char>(64 + numbers[3]);
    return true;
}

std::string BannerText(const VersionStrings &v) {
    std::string version, level;
    if (!ParseProductVersion(v.productVersion, version, level))
        return {};
    std::string s = v.description + " Version " + version + " Level " + level;
    if (v.hasPrivateBuild)
        s += " " + v.privateBuild;
    return s + "\n" + v.legalCopyright + "\n";
}

std::string VersionLine(const char *name, const VersionStrings &v) {
    std::string version, level;
    if (!ParseProductVersion(v.productVersion, version, level))
        return {};
    std::string s = std::string(name) + " Version " + version + " Level " + level;
    if (v.hasPrivateBuild)
        s += " " + v.privateBuild;
    return s + "\n";
}

void PrintBanner(Driver &d) {
    if (d.bannerDone || d.Flag(kSlotNologo))
        return;
    d.bannerDone = true;
    VersionStrings v;
    if (ReadVersionStrings(nullptr, v))
        d.out.Write(BannerText(v));
    d.out.Flush();
}

void PrintVersionLine(Driver &d, const char *library) {
    VersionStrings v;
    if (ReadVersionStrings(library, v))
        d.out.Write(VersionLine(library, v));
}

}  // namespace txcl
