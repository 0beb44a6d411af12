// Importing an icon, bitmap or cursor file into the resource document: the
// check of its name and the form the list stores its path in.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "ui/dsgids.h"  // the message ids, which the resource script reads too

namespace dsg {

constexpr uint32_t kMsgBadFileName = IDS_BAD_FILE_NAME;

// 20060 when the file's resource name (its title cut at the last period)
// holds "-", a blank or anything else that cannot make a name of the
// script (a first character that is no letter, "_", "$" or double-byte
// character; a later one that is none of those nor a digit); else 0.
uint32_t ImportCheckTitle(std::string_view title);

// The bare file name for a file in the script's folder, ".\" and the path
// below it for a file in a subfolder, the full path otherwise (folders
// compared without regard to case, double-byte aware). `scriptFolder` has
// no trailing backslash.
std::string ImportStoredPath(std::string_view file, std::string_view scriptFolder);

// The file a stored path names: a path with a drive, or a network path, as
// it is; one from the root on the script folder's drive; ".\" and bare
// names below the script's folder. Without a folder the stored path.
std::string ImportFullPath(std::string_view stored, std::string_view scriptFolder);

}  // namespace dsg
