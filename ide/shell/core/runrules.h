// How the Run command names and starts the built program.
#pragma once

#include <string>

namespace tambrix {

// The program file: the project's program name, else the project file's
// name with the extension "exe".
std::string ProgramFileName(const std::string& programFile, const std::string& projectFile);
// The program's full path from the project's drive number (letter - 64;
// negative: none) and folder ("\" the root).
std::string ProgramPath(int drive, const std::string& folder, const std::string& file);
// The command line: the path in double quotes, then a blank and the
// arguments when there are any.
std::string RunCommandLine(const std::string& path, const std::string& args);
// The folder the program starts in.
std::string ProjectFolderPath(int drive, const std::string& folder);

}  // namespace tambrix
