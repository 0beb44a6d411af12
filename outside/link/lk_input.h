// The linker's inputs as read from their bytes: i386 COFF objects, ar
// archives of them, and 32-bit compiled resource files.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace txlink {

constexpr uint16_t kMachineI386 = 0x014C;

// Section flags the linker looks at.
constexpr uint32_t kScnCode = 0x00000020;
constexpr uint32_t kScnInitData = 0x00000040;
constexpr uint32_t kScnUninitData = 0x00000080;
constexpr uint32_t kScnLnkInfo = 0x00000200;
constexpr uint32_t kScnLnkRemove = 0x00000800;
constexpr uint32_t kScnAlignMask = 0x00F00000;
constexpr uint32_t kScnExecute = 0x20000000;
constexpr uint32_t kScnRead = 0x40000000;
constexpr uint32_t kScnWrite = 0x80000000;

// i386 relocation types.
constexpr uint16_t kRelAbsolute = 0;
constexpr uint16_t kRelDir32 = 6;
constexpr uint16_t kRelDir32Nb = 7;
constexpr uint16_t kRelSection = 10;
constexpr uint16_t kRelSecRel = 11;
constexpr uint16_t kRelRel32 = 20;

// Symbol section numbers and storage classes.
constexpr int16_t kSymUndefined = 0;
constexpr int16_t kSymAbsolute = -1;
constexpr int16_t kSymDebug = -2;
constexpr uint8_t kClassExternal = 2;
constexpr uint8_t kClassStatic = 3;
constexpr uint8_t kClassWeakExternal = 105;

constexpr size_t kSymbolSize = 18;
using SymbolBytes = std::array<uint8_t, kSymbolSize>;

struct Reloc {
    uint32_t offset = 0;
    uint32_t symbol = 0;
    uint16_t type = 0;
};

struct LineNumber {
    uint32_t address = 0; // code offset, or the function's symbol index for line 0
    uint16_t line = 0;
};

struct InputSection {
    std::string name;
    uint32_t characteristics = 0;
    uint32_t size = 0;          // bytes the section takes (raw or uninitialised)
    std::vector<uint8_t> data;  // empty for uninitialised data
    std::vector<Reloc> relocs;
    std::vector<LineNumber> lines;
    // Filled by the layout.
    int output = -1;      // index of the output section, -1 when dropped
    uint32_t offset = 0;  // within the output section
};

// One symbol record; aux records follow it in `records` and are marked.
struct InputSymbol {
    std::string name;
    uint32_t value = 0;
    int16_t section = 0;
    uint16_t type = 0;
    uint8_t storageClass = 0;
    uint8_t auxCount = 0;
    bool isAux = false;
    SymbolBytes raw{};
};

struct ObjectFile {
    std::string name;  // as messages show it: "MAIN.obj", "TQ70RN63.LIB(rt_core.o)"
    std::vector<InputSection> sections;
    std::vector<InputSymbol> symbols; // indexed as in the file, aux records included
    std::vector<std::string> directives; // tokens of the .drectve sections
};

struct ArchiveMember {
    std::string name;
    ObjectFile object;
    bool included = false;
};

struct Archive {
    std::string name;
    std::vector<ArchiveMember> members; // COFF members only
};

// A resource type or name: a 16-bit id, or a UTF-16 name when `isName`.
struct ResId {
    bool isName = false;
    uint16_t id = 0;
    std::u16string name;
    bool operator==(const ResId&) const = default;
};

struct ResourceEntry {
    ResId type;
    ResId name;
    uint16_t language = 0;
    std::vector<uint8_t> data;
};

enum class InputKind { kObject, kArchive, kResource, kUnknown };
InputKind DetectInput(const std::vector<uint8_t>& bytes);

// Each reader returns false with a reason (no file name) on a damaged or
// foreign file; nothing is read past the end of the bytes.
bool ReadObject(const std::vector<uint8_t>& bytes, ObjectFile& obj, std::string& error);
bool ReadArchive(const std::vector<uint8_t>& bytes, Archive& lib, std::string& error);
bool ReadResources(const std::vector<uint8_t>& bytes, std::vector<ResourceEntry>& entries,
                   std::string& error);

// The tokens of a directive or response text: blank separated, double
// quotes group blanks and are removed.
std::vector<std::string> SplitCommandText(const std::string& text);

} // namespace txlink
