// Our own reader of PE32/PE32+ images and COFF objects, for the debugger:
// the image check, the COFF symbol table of an image linked with its
// symbols kept, and the line numbers of a module's object file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace txdbg {

struct ImageSymbol {
    std::string name;
    uint64_t address = 0; // absolute, at the image's preferred base
    uint32_t size = 0;    // up to the next symbol's address (or its section's end)
};

struct ImageLine {
    uint64_t address = 0; // image base + the record's relative address
    uint32_t line = 0;    // as the record holds it
};

struct ImageInfo {
    uint64_t imageBase = 0;
    bool pe32Plus = false;
    struct Section {
        uint32_t rva = 0, size = 0, characteristics = 0;
    };
    std::vector<Section> sections;
    std::vector<ImageSymbol> symbols; // in symbol-table order
    bool symbolTableCut = false;      // the file header names more symbols than the file holds
    bool coffDebug = false;           // a COFF debug directory entry comes first
    // The line-number array of the COFF debug information, in its order
    // (empty without one).
    std::vector<ImageLine> lines;

    bool IsCode(uint64_t address) const;
};

// True when the file is a PE image that carries debug information: "MZ", no
// NE or LE header, the PE signature, and a COFF symbol table or a COFF
// debug directory entry.
bool CheckImage(const std::vector<uint8_t>& bytes);
bool ReadImage(const std::vector<uint8_t>& bytes, ImageInfo& info, std::string& error);
bool ReadFileBytes(const std::string& path, std::vector<uint8_t>& bytes);

// Line numbers of one object file: offsets from the module's entry symbol
// (the section base added), line-0 records left out. codeSize is the bytes
// of the sections that carry line numbers. False for a file that is not an
// i386 COFF object or is cut short.
struct ObjLine {
    uint32_t offset = 0;
    uint32_t line = 0;
};
// functions receives the symbols the object defines in those sections, at
// their offsets from the entry symbol: the image must hold them at the same
// places, or the object is not the one linked.
struct ObjSymbol {
    std::string name;
    uint32_t offset = 0;
};
bool ReadObjLines(const std::vector<uint8_t>& bytes, std::vector<ObjLine>& lines, uint32_t& codeSize,
                  std::vector<ObjSymbol>& functions, std::string& error);

} // namespace txdbg
