// Module images a running program loads (a BASIC module built as a DLL,
// for DLL calls and LOADM): where their files are found and where in the
// emulator's address space each one goes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "pe_image.h"

namespace tx::runner {

class ModuleHost {
public:
    struct Module {
        std::string path;   // the file, as found
        uint32_t base = 0;  // where it is mapped
        uint32_t size = 0;  // bytes mapped, whole pages
        PeImage image;      // moved to base
        int uses = 1;       // names it was loaded under
    };

    // Folders searched in order for a module's file ("beside the program"
    // first, then the program's file folder).
    void SetFolders(std::vector<std::string> folders) { folders_ = std::move(folders); }
    // The program's own image, which no module may overlap.
    void SetProgram(uint32_t base, uint32_t size) { reserved_ = {base, size}; }

    // The file a module name stands for: the name as given, then with
    // ".DLL" when it has no extension; the same rules as the program's
    // files (no folder part, case ignored). Empty when none exists.
    std::string Find(const std::string& name) const;

    // Reads the image and picks its place (its own base when that is free,
    // else the first free one it can be moved to). Returns the BASIC error
    // of the failure, or 0; the module is not yet counted as loaded.
    int Prepare(const std::string& path, Module& out) const;
    // Counts a prepared module as loaded; returns its handle (its base).
    uint32_t Add(Module m);
    const Module* Get(uint32_t handle) const;
    // The module loaded from that file, counted once more; 0 when none.
    uint32_t Reuse(const std::string& path);
    // Drops one use of a module; true when it was the last, and the module
    // is forgotten (its memory is the caller's to unmap first).
    bool Release(uint32_t handle);

    // Lowest and highest address modules may take.
    static constexpr uint32_t kLowest = 0x10000000, kHighest = 0x70000000;

private:
    bool Free(uint32_t base, uint32_t size) const;
    std::vector<std::string> folders_;
    std::pair<uint32_t, uint32_t> reserved_{0, 0};
    std::vector<Module> modules_;
};

} // namespace tx::runner
