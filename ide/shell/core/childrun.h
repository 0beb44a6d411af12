// What the child-process runner decides without a window: how an argument
// is quoted on a command line, how captured output falls into lines, and
// whether a run of the resource compiler or of NMAKE counts as done.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tambrix {

// Always in double quotes, so a path with blanks stays one argument; a
// quote inside is escaped and the backslashes before any quote (the
// closing one too) are doubled, as the C runtime's splitter reads them.
std::string QuoteArgument(std::string_view arg);

// Captured output as lines: CR LF, LF or a lone CR ends one; a last line
// without an end counts; empty lines are kept, a trailing end adds none.
std::vector<std::string> OutputLines(std::string_view text);

enum class ChildStatus : uint8_t {
    kRan,         // started, its output read to the end, its exit code known
    kNoPipe,      // a pipe could not be made: nothing started
    kNotStarted,  // the process could not be created
    kNoReader,    // a reader thread could not start: the process was ended
};

struct ChildResult {
    ChildStatus status = ChildStatus::kNotStarted;
    uint32_t exitCode = 0;
    uint32_t error = 0;  // the system's error code when it did not run
};

// The resource compiler has done its work when it ran and exited with 0;
// its words are not read, so a path holding "error" is no failure.
bool RcSucceeded(const ChildResult& run);

// A build failed when NMAKE did not run, exited with other than 0, or its
// output showed a failure (a tool's message).
bool MakeSucceeded(const ChildResult& run, bool outputShowedFailure);

}  // namespace tambrix
