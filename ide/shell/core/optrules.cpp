#include "optrules.h"

#include "mbcs.h"

#include <cstdio>
#include <cstdlib>

namespace tambrix {

void AddFolderRows(std::vector<FolderRow>& rows, const std::string& list, int mark) {
    size_t start = 0;
    while (start <= list.size()) {
        size_t semi = list.find(';', start);
        std::string piece = list.substr(start, semi == std::string::npos ? std::string::npos : semi - start);
        if (!piece.empty())
            rows.push_back({piece, mark});
        if (semi == std::string::npos)
            break;
        start = semi + 1;
    }
}

std::string CollectUserFolders(const std::vector<FolderRow>& rows) {
    std::string out;
    for (const auto& r : rows) {
        if (r.mark == kFromUser)
            out += r.text + ";";
    }
    return out;
}

namespace {

// ASCII letters only: the second byte of a double-byte character is no letter.
bool SameFolder(const std::string& a, const std::string& b) {
    if (a.size() != b.size())
        return false;
    bool lead = false;
    for (size_t i = 0; i < a.size(); ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
        if (!lead && x >= 'a' && x <= 'z')
            x = static_cast<unsigned char>(x - 32);
        if (!lead && y >= 'a' && y <= 'z')
            y = static_cast<unsigned char>(y - 32);
        if (x != y)
            return false;
        lead = !lead && fw::IsLeadByte932(x);
    }
    return true;
}

}  // namespace

bool AddUserFolder(std::vector<FolderRow>& rows, const std::string& folder) {
    if (folder.empty())
        return false;
    for (const auto& r : rows) {
        if (SameFolder(r.text, folder))
            return false;
    }
    rows.push_back({folder, kFromUser});
    return true;
}

void AddRasterSize(std::vector<SizeRow>& rows, int pixels, int dpi) {
    if (dpi <= 0)
        return;
    int twips = pixels * 1440 / dpi;
    int halfPoints = twips / 10;
    char text[32];
    if (halfPoints % 2 == 0)
        std::snprintf(text, sizeof text, "%d", halfPoints / 2);
    else
        std::snprintf(text, sizeof text, "%.1f", halfPoints / 2.0);
    for (const auto& r : rows) {
        if (r.text == text)
            return;
    }
    auto at = rows.begin();
    while (at != rows.end() && at->twips <= twips)
        ++at;
    rows.insert(at, {text, twips});
}

void AddStandardSizes(std::vector<SizeRow>& rows) {
    static const int kSizes[] = {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72};
    for (int s : kSizes)
        rows.push_back({std::to_string(s), s * 20});
}

int SizeRowFor(const std::vector<SizeRow>& rows, int32_t fontSize) {
    if (rows.empty())
        return -1;
    // A size with a tenth (a raster face's 10.5) is looked up by its text too.
    char text[32];
    if (fontSize % 10 == 0)
        std::snprintf(text, sizeof text, "%d", fontSize / 10);
    else
        std::snprintf(text, sizeof text, "%.1f", fontSize / 10.0);
    for (size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].text == text)
            return static_cast<int>(i);
    }
    int n = static_cast<int>(rows.size());
    return n >= 3 ? n / 2 - 1 : n - 1;
}

int32_t FontSizeOfRow(const std::string& text) {
    if (text.empty())
        return 0;
    // A hair above: "10.1" is not 100.999... tenths.
    return static_cast<int32_t>(std::strtod(text.c_str(), nullptr) * 10 + 1e-6);
}

}  // namespace tambrix
