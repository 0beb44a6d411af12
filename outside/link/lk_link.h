// LINK: an i386 PE32 linker for the objects the code generator writes and
// the runtime archives, with the compiled resources in .rsrc.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "lk_input.h"

namespace txlink {

constexpr uint16_t kSubsystemWindows = 2;
constexpr uint16_t kSubsystemConsole = 3;

struct LinkOptions {
    std::string output;     // the image's path; messages name it
    std::string entry = "$PbStartup";
    uint16_t subsystem = kSubsystemWindows;
    bool debug = false;     // keep the COFF symbol table and line numbers
    bool map = false;
    bool dll = false;       // /DLL: a DLL at its own base, entered by DllMain
};

struct LinkInputs {
    std::vector<ObjectFile> objects;   // linked whole, in command-line order
    std::vector<Archive> archives;     // members taken as they resolve symbols
    std::vector<ResourceEntry> resources;
};

struct LinkResult {
    std::vector<uint8_t> image;
    std::string map;                   // the map file's text when asked for
    std::vector<std::string> messages; // lines, errors and warnings
    bool ok = false;
};

// Resolves, lays out and writes the image. Nothing is left in `image` when
// any error was found.
LinkResult Link(const LinkOptions& opt, LinkInputs& in);

// The .rsrc section for these entries placed at `rva`; fails on a repeated
// (type, name, language).
bool BuildResourceSection(const std::vector<ResourceEntry>& entries, uint32_t rva,
                          std::vector<uint8_t>& out, std::string& error);

// Where the file-name part of a path starts; on Windows double-byte aware,
// so a folder like 表 (trail byte 0x5C) is one name.
size_t FileNameStart(const std::string& path);

// The whole command: options and response files, inputs read along LIB,
// the image (and map) written, messages on `console`. Returns the exit
// status: 0, or 1 when anything failed (then no image is left behind).
int RunLink(const std::vector<std::string>& args, std::string& console);

} // namespace txlink
