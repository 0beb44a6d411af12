// The i386 COFF object file: section list, symbol table, string table, the
// split of .text by relocation count, and the writer.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "cg_state.h"

namespace txcg {

constexpr uint16_t kMachineI386 = 0x014C;
constexpr uint32_t kFileHeaderSize = 20;
constexpr uint32_t kSectionHeaderSize = 40;
constexpr uint32_t kCharDrectve = 0x00100A00; // link info, removed at link, align 1
constexpr uint32_t kCharText = 0x60100020;    // code, execute, read, align 1
constexpr uint32_t kCharData = 0xC0100040;    // initialised data, read, write, align 1

constexpr int16_t kSymUndefined = 0;
constexpr int16_t kSymDebug = -2;
constexpr uint16_t kSymTypeNone = 0;
constexpr uint16_t kSymTypeFunction = 0x20;
constexpr uint8_t kClassExternal = 2;
constexpr uint8_t kClassStatic = 3;
constexpr uint8_t kClassFile = 103;

// A section of .text carries at most this many relocations.
constexpr uint32_t kMaxSectionRelocs = 65535;
constexpr int kMaxExtraText = 10;

const char *SectionName(SectionId id);
uint32_t SectionCharacteristics(SectionId id);

// Header, empty symbol and string tables, the .file symbol, then the
// sections the intermediate header asks for.
void InitObjectFile(CgState &st);
void CreateSections(CgState &st);
void AddSection(CgState &st, SectionId id);

// Appends a symbol and its zeroed aux records; returns its index.
uint32_t AddSymbol(CgState &st, std::string_view name, uint32_t value, int16_t section,
                   uint16_t type, uint8_t storageClass, uint8_t auxCount);
SymbolRecord &AuxRecord(CgState &st, uint32_t symbol, uint32_t n = 1);

// Splits .text when it carries more than 65,535 relocations (error 20 past
// ten extra sections) and hands each part its line numbers.
void SplitTextSections(CgState &st);

// The object file image as written; WriteObjectFile puts it into the file
// named by the object option.
std::vector<uint8_t> SerializeObject(CgState &st);
void WriteObjectFile(CgState &st);

} // namespace txcg
