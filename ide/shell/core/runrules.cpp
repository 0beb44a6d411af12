#include "runrules.h"

#include "mbcs.h"

namespace tambrix {

namespace {
std::string DrivePrefix(int drive) {
    if (drive < 0)
        return {};
    return std::string(1, static_cast<char>(drive + 64)) + ":";
}
}  // namespace

std::string ProgramFileName(const std::string& programFile, const std::string& projectFile) {
    if (!programFile.empty())
        return programFile;
    size_t slash = fw::FindLastChar(projectFile, '\\');
    size_t dot = fw::FindLastChar(projectFile, '.');
    std::string stem = (dot != std::string::npos && (slash == std::string::npos || dot > slash))
                           ? projectFile.substr(0, dot)
                           : projectFile;
    return stem + ".exe";
}

std::string ProgramPath(int drive, const std::string& folder, const std::string& file) {
    if (folder == "\\")
        return DrivePrefix(drive) + "\\" + file;
    return DrivePrefix(drive) + folder + "\\" + file;
}

std::string RunCommandLine(const std::string& path, const std::string& args) {
    std::string line = "\"" + path + "\"";
    if (!args.empty())
        line += " " + args;
    return line;
}

std::string ProjectFolderPath(int drive, const std::string& folder) {
    return DrivePrefix(drive) + (folder.empty() ? std::string("\\") : folder);
}

}  // namespace tambrix
