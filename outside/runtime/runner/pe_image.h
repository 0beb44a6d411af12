// Reading a linked i386 PE image: its sections, entry point and COFF
// symbol table, for the emulator to map and for callers to look names up.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace tx::runner {

struct PeSection {
    std::string name;
    uint32_t rva = 0;          // relative to the image base
    uint32_t virtualSize = 0;  // bytes mapped (at least the raw data)
    uint32_t characteristics = 0;
    std::vector<uint8_t> data; // raw data; the rest of virtualSize is zero
};

// A function the image imports: by name (or, when the name is empty, by
// ordinal), and the RVA of the IAT slot that receives its address.
struct PeImport {
    std::string dll;
    std::string name;
    uint32_t ordinal = 0;
    uint32_t slot = 0;
};

struct PeImage {
    uint32_t imageBase = 0;
    uint32_t entry = 0;       // absolute address
    uint32_t sizeOfImage = 0;
    std::vector<PeSection> sections;
    std::vector<std::string> importedDlls;
    std::vector<PeImport> imports;
    std::map<std::string, uint32_t> symbols; // absolute addresses
    std::map<std::string, uint32_t> exports; // by name, absolute addresses
    std::vector<uint32_t> relocations;       // RVAs of the 32-bit fields the base moves
    bool isDll = false;

    // Moves the image to another base: the fields of its base relocations,
    // its entry point, symbols and exports. False when the image has no
    // relocations to move it by.
    bool Rebase(uint32_t newBase);

    std::optional<uint32_t> Symbol(const std::string& name) const;
    // The symbol at or before addr and the distance from it ("" when none).
    std::string NameAt(uint32_t addr) const;
};

// The largest image file read, and the most section data one image holds.
constexpr uint64_t kImageFileMax = 128ull << 20;

// Parses an image; on failure returns false with a one-line reason.
bool ReadPeImage(const std::vector<uint8_t>& bytes, PeImage& image, std::string& error);
bool ReadPeFile(const std::string& path, PeImage& image, std::string& error);

} // namespace tx::runner
