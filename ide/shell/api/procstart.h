// The IDE's one child-process runner: the make run, the resource
// compiler and Run start their processes here, and the one place it hands
// a file to the shell. The test build can record Run's start and the
// shell open instead of making them.
#pragma once

#include "childrun.h"
#include "fw.h"

#include <functional>
#include <mutex>
#include <string>
#include <string_view>

struct ProcessStart {
    std::string commandLine;
    std::string folder;
    DWORD flags = 0;
    std::string title;
    // Further STARTF_ flags for a run with pipes (its window is hidden).
    DWORD startFlags = 0;
};

// Bytes per read of a child's pipe.
constexpr DWORD kChildReadSize = 1024;

// A captured child's output, handed over on its reader threads as it comes.
class ChildOutput {
public:
    virtual ~ChildOutput() = default;
    // One read of standard output (`error` false) or standard error.
    virtual void Chunk(bool error, std::string_view bytes) = 0;
    // That stream has ended.
    virtual void End(bool /*error*/) {}
};

// Both streams kept in one text, in the order they arrived.
class CollectedOutput : public ChildOutput {
public:
    void Chunk(bool error, std::string_view bytes) override;
    std::string Text();

private:
    std::mutex lock_;
    std::string text_;
};

// What the window thread handles while a captured child runs: every
// message (the caller has disabled what must not run meanwhile), or only
// painting and sent messages, so input waits until the child is done.
enum class ChildWait { kAllMessages, kPaintOnly };

// Runs a hidden child with its standard input, output and error on pipes,
// reads both outputs on two threads into `out`, and waits for the readers
// and the process while handling the window thread's messages. A quit
// message met meanwhile is posted again afterwards.
tambrix::ChildResult RunCapturedChild(const ProcessStart& start, ChildOutput& out, ChildWait wait);

// Starts a program that runs on its own (Run); false when it could not
// start. The process handle goes to *process.
bool StartProgramProcess(const ProcessStart& start, HANDLE* process);

// The test build's hook: when set, it answers in place of Run's start.
std::function<bool(const ProcessStart&, HANDLE* process)>& ProcessStartHook();

// Shows a tool's own words in the build result window (opened when it is
// not), replacing what it held.
void ShowToolOutput(const std::string& text);

// Opens a file with the shell's "open" verb for its type, `folder` as the
// working folder; false when the shell could not.
bool ShellOpenFile(const std::string& path, const std::string& folder);

// The test build's hook: when set, it answers in place of the shell.
std::function<bool(const std::string& path, const std::string& folder)>& ShellOpenHook();
