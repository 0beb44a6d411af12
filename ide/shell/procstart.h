// Starting the built program: the one place the IDE creates a process for
// Run, and the one place it hands a file to the shell, so the test build
// can record the start instead of making it.
#pragma once

#include "fw.h"

#include <functional>
#include <string>

struct ProcessStart {
    std::string commandLine;
    std::string folder;
    DWORD flags = 0;
    std::string title;
};

// Starts the program; false when it could not start. The process handle
// goes to *process.
bool StartProgramProcess(const ProcessStart& start, HANDLE* process);

// The test build's hook: when set, it answers in place of the start.
std::function<bool(const ProcessStart&, HANDLE* process)>& ProcessStartHook();

// Opens a file with the shell's "open" verb for its type, `folder` as the
// working folder; false when the shell could not.
bool ShellOpenFile(const std::string& path, const std::string& folder);

// The test build's hook: when set, it answers in place of the shell.
std::function<bool(const std::string& path, const std::string& folder)>& ShellOpenHook();
