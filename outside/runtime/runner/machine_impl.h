// The machine's state shared by its two halves: machine.cpp (memory, runs,
// steps, faults, trace) and winapi.cpp (the Windows functions the loaded
// images import, answered by the host).
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <unicorn/unicorn.h>

#include "filehost.h"
#include "machine.h"
#include "modulehost.h"

namespace tx::runner {

// Maps an image's pages at its base and writes its sections.
bool MapImage(uc_engine* uc, const PeImage& image, uint32_t size, std::string& error);

// A handle the Windows functions gave out, and what it stands for.
struct WinObject {
    enum Kind { StdIn, StdOut, StdErr, File, Printer, PipeRead, PipeWrite, Process, Thread, Mapping } kind;
    int32_t file = 0;    // File: the file host's handle
    uint32_t pos = 0;    // File: the file pointer
    uint32_t pipe = 0;   // PipeRead, PipeWrite: the pipe's number
    int32_t exitCode = 0; // Process
};

struct Machine::Impl {
    uc_engine* uc = nullptr;
    uc_hook intrHook = 0, memHook = 0;
    bool loaded = false;
    bool aborted = false; // the emulator gave up inside a run (see Emulate)
    Stop abortStop;
    bool stopped = false; // a hook recorded the stop below
    Stop stop;
    std::string sharedName;
    uint8_t* sharedMemory = nullptr;
    uc_hook traceHook = 0;
    std::map<uint32_t, std::pair<std::string, uint32_t>> traced; // address: name, words
    uint32_t runtimeStart = 0;
    size_t sharedSize = 0;
    bool sharedMapped = false;
    std::unique_ptr<FileHost> files = std::make_unique<FileHost>();
    std::string fileFolder = ".";
    std::vector<std::string> moduleFolders; // empty: the file folder
    ModuleHost modules;

    // The Windows functions (winapi.cpp).
    uc_hook stubHook = 0;
    uint32_t lastError = 0;
    std::map<uint32_t, WinObject> objects; // by handle value
    uint32_t nextHandle = 0x100;
    std::map<uint32_t, std::string> pipes; // by number: bytes written, not yet read
    uint32_t nextPipe = 1;
    int inputAhead = -2;      // a byte PeekNamedPipe looked at (-1 the end, -2 none)
    uint32_t commandLine = 0; // where GetCommandLineA's text is, 0 before the first call
    uint32_t hostDataUsed = 0;
    // Returns a DLL entry's call owes its caller (LoadLibraryA, FreeLibrary):
    // the return address, EAX, and the image to unmap then (size 0: none).
    struct PendingReturn {
        uint32_t ret = 0, result = 0, unmapBase = 0, unmapSize = 0;
    };
    std::vector<PendingReturn> pendingReturns;
    // A stub call that stopped the run, to return from when it goes on.
    struct Resume {
        uint32_t stub = 0, stopEsp = 0, ret = 0, esp = 0, result = 0;
    } resume;
};

} // namespace tx::runner
