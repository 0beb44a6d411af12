// NMAKE's run: what is out of date, depth-first by modification time, and
// the commands that bring it up to date. The system (files, processes,
// console) comes through MakeHost, so the tests run it on a fake one.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "makefile.h"

namespace nmk {

class MakeHost {
public:
    virtual ~MakeHost() = default;
    // Modification time of a file; none when it does not exist.
    virtual std::optional<std::int64_t> FileTime(const std::string &path) = 0;
    // Writes an inline file into the temporary folder; its name, or empty.
    virtual std::string WriteTempFile(const std::string &bytes) = 0;
    virtual void RemoveFile(const std::string &path) = 0;
    // Starts the command line's program directly (no shell), searched along
    // PATH, and waits: its exit code, or none when it could not be started.
    virtual std::optional<std::uint32_t> Run(const std::string &command_line) = 0;
    // One line of standard output or standard error, flushed at once.
    virtual void Out(const std::string &line) = 0;
    virtual void Err(const std::string &line) = 0;
};

struct MakeOptions {
    bool all = false;        // /a: build every target that has commands
    std::string target;      // empty: the first target of the file
};

constexpr int kExitFatal = 2;

// Brings the goal up to date; 0, or kExitFatal after a fatal error.
int RunMake(const Makefile &mk, const MakeOptions &options, MakeHost &host, EnvLookup env);

// The texts NMAKE prints (code page 932).
extern const char *const kUpToDateText;   // after "'name' "

}  // namespace nmk
