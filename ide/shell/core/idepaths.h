// Path-string helpers of the IDE: "\" is the only separator; double-byte
// characters are stepped over, so a trail byte 0x5C is no separator.
#pragma once

#include <string>

namespace tambrix {

// Cut after the last "." (one is appended when there is none) and append ext.
std::string ReplaceExtension(const std::string& path, const std::string& ext);
std::string AppendExtension(const std::string& path, const std::string& ext);
// Up to the last "\" (without it); the whole path when it has none.
std::string DirectoryOf(const std::string& path);
// The part before the last "\"; empty when there is none.
std::string StripFileName(const std::string& path);
// After the last "\"; empty when the path has none.
std::string FileNameOf(const std::string& path);
// After the last "\"; unchanged when there is none.
std::string StripDirectory(const std::string& path);

}  // namespace tambrix
