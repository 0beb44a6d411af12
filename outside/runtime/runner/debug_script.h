// basrun --debug: the debugger engine over the unicorn target, driven by a
// script of commands, one a line, for tests and for checking a program by
// hand. Prints one line per event ("stop FILE LINE", "exit CODE", the
// engine's messages) and the program's own output as it runs.
#pragma once

#include <cstdio>
#include <string>

namespace tx::runner {

// Runs the script against the linked image; the modules' object files are
// looked up in objFolder. Returns basrun's exit status: the program's own,
// 1 when it could not be debugged, 2 for a bad script.
int RunDebugScript(const std::string& scriptPath, const std::string& image, const std::string& objFolder,
                   uint64_t timeoutMicroseconds, std::FILE* out);

} // namespace tx::runner
