#include "idepaths.h"

#include "mbcs.h"

namespace tambrix {

std::string ReplaceExtension(const std::string& path, const std::string& ext) {
    size_t dot = fw::FindLastChar(path, '.');
    std::string base = dot == std::string::npos ? path + "." : path.substr(0, dot + 1);
    return base + ext;
}

std::string AppendExtension(const std::string& path, const std::string& ext) {
    return path + "." + ext;
}

std::string DirectoryOf(const std::string& path) {
    size_t bs = fw::FindLastChar(path, '\\');
    return bs == std::string::npos ? path : path.substr(0, bs);
}

std::string StripFileName(const std::string& path) {
    size_t bs = fw::FindLastChar(path, '\\');
    return bs == std::string::npos ? std::string() : path.substr(0, bs);
}

std::string FileNameOf(const std::string& path) {
    size_t bs = fw::FindLastChar(path, '\\');
    return bs == std::string::npos ? std::string() : path.substr(bs + 1);
}

std::string StripDirectory(const std::string& path) {
    size_t bs = fw::FindLastChar(path, '\\');
    return bs == std::string::npos ? path : path.substr(bs + 1);
}

}  // namespace tambrix
