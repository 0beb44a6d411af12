// The rules of the options pages that need no window: the rows of the
// folder list and what OK keeps of them, and the rows of the font-size list.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tambrix {

// A folder row's mark: where it came from.
enum FolderMark : int { kFromEnvironment = 0, kFromInstallation = 1, kFromUser = 3 };

struct FolderRow {
    std::string text;
    int mark = kFromUser;
};

// Appends the pieces of a ";"-separated list; empty pieces add nothing.
void AddFolderRows(std::vector<FolderRow>& rows, const std::string& list, int mark);
// The user's rows (mark 3) as a list, each followed by ";".
std::string CollectUserFolders(const std::vector<FolderRow>& rows);
// Appends a folder the user added unless a row has its text (compared as
// the list box does, without regard to case); true when it was added.
bool AddUserFolder(std::vector<FolderRow>& rows, const std::string& folder);
// Change and Delete apply to installation and user rows only.
inline bool CanChangeFolder(int mark) { return (mark & 1) != 0; }

// A row of the size list: its text in points and its size in twips.
struct SizeRow {
    std::string text;
    int twips = 0;
};
// A raster font's size (character height less internal leading, in
// pixels): inserted before the first larger row unless its text is listed.
void AddRasterSize(std::vector<SizeRow>& rows, int pixels, int dpi);
// Any other font: the sixteen standard sizes.
void AddStandardSizes(std::vector<SizeRow>& rows);
// The row to select for a size in tenths of a point.
int SizeRowFor(const std::vector<SizeRow>& rows, int32_t fontSize);
// A row's text as tenths of a point (truncated); 0 without a row.
int32_t FontSizeOfRow(const std::string& text);

}  // namespace tambrix
