// The state of one code-generator run. Everything a compilation builds lives
// in one CgState that the pass creates on entry and drops on exit, so a
// second call in the same process always starts clean.
#pragma once

#include <array>
#include <cstdio>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "cmpfilparam.h"
#include "intermediate.h"
#include "passerror.h"
#include "stdiobuffer.h"
#include "substring_index.h"

namespace txcg {

// Error and detail codes stored in the parameter block: passerror.h.
using enum tx::PassError;
using enum tx::PassDetail;

// The one fatal error of the pass: thrown anywhere below CgCompile, caught
// there and stored into the parameter block.
struct CgError {
    uint32_t code;
    uint32_t detail;
};

[[noreturn]] inline void CgFail(uint32_t code, uint32_t detail = kDetailNone) {
    throw CgError{code, detail};
}

// COFF relocation types of i386.
constexpr uint16_t kRelDir32 = 6;
constexpr uint16_t kRelRel32 = 20;

struct CoffReloc {
    uint32_t offset;
    uint32_t symbol;
    uint16_t type;
};

// A COFF line-number record: the code offset of a line, or for line 0 the
// symbol index of the function that the following lines belong to.
struct LineEntry {
    uint32_t address;
    uint16_t line;
};

struct SectionDescriptor {
    std::vector<uint8_t> image;
    // Zero bytes that follow the image in the file, never held in memory:
    // the arrays' storage may be hundreds of megabytes of nothing else.
    uint32_t zeros = 0;
    uint32_t Size() const { return uint32_t(image.size()) + zeros; }
    std::vector<CoffReloc> relocs;
    std::vector<LineEntry> lines;
    uint16_t number = 0; // 1-based; 0 while the section is not in the file
    uint32_t symbol = 0; // the section symbol's index
};

// Every section the generator can write, in the order they are numbered.
enum SectionId : int {
    kSecDrectve,
    kSecText,
    kSecData,
    kSecDataBt,
    kSecDataMc,
    kSecDataCs,
    kSecDataCn,
    kSecDataRd,
    kSecDataAd,
    kSecDataAg,
    kSecDataAc,
    kSecDataAl,
    kSecDataDg,
    kSecDataDl,
    kSecDataDa,
    kSecDataDs,
    kSecTextExtra, // ten of them, for .text split by relocation count
    kSecCount = kSecTextExtra + 10,
};

constexpr uint32_t kSymRecordSize = 18;
using SymbolRecord = std::array<uint8_t, kSymRecordSize>;

struct ObjectFile {
    std::vector<SectionId> numbered;   // section number - 1 -> section
    std::vector<SymbolRecord> symbols; // aux records included
    std::vector<uint8_t> strings;      // string table without its size word
    std::unordered_map<std::string, uint32_t> longNames; // name -> table offset
    std::optional<uint32_t> timeStamp; // fixed stamp for reproducible objects
};

// Kinds of pending 32-bit fields in the code.
enum FixupKind : uint32_t {
    kFixCall = 1,          // call of a runtime routine
    kFixProcCall = 2,      // call of a procedure by its symbol
    kFixLocalCall = 3,     // call of module code at a ProcNameTable offset
    kFixJumpLabel = 4,     // jump to a label-table slot
    kFixJumpLine = 5,      // jump to a line label of ProcNameTable
    kFixLabelAddr = 6,     // address of a ProcNameTable label
    kFixLocalRefAddr = 7,  // address of a LocalNameRefTable entry
    kFixDir32 = 8,         // absolute address of a symbol plus a value
};

struct FixupRecord {
    uint32_t offset;
    uint32_t symbol;
    uint16_t type;
    uint16_t kind; // a FixupKind, or a class passed through
    uint32_t value;
};

constexpr uint32_t kOpenLink = 0xFFFFFFFF;
constexpr uint32_t kNoFixup = 0xFFFFFFFF;

// The fixups of a module in blocks of a fixed count: filing one never copies
// those before it, and the resolution gives each block back once it has
// turned it into relocations, so the two lists are not held whole at once.
class FixupStore {
public:
    static constexpr size_t kBlock = size_t(1) << 16; // records a block (1 MB)
    void push_back(const FixupRecord &f) {
        if (size_ % kBlock == 0) {
            std::unique_ptr<FixupRecord[]> block(new FixupRecord[kBlock]); // touched as filled
            blocks_.push_back(std::move(block));
        }
        blocks_.back()[size_ % kBlock] = f;
        ++size_;
    }
    FixupRecord &operator[](size_t i) { return blocks_[i / kBlock][i % kBlock]; }
    const FixupRecord &operator[](size_t i) const { return blocks_[i / kBlock][i % kBlock]; }
    FixupRecord &back() { return (*this)[size_ - 1]; }
    size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    void clear() {
        blocks_.clear();
        size_ = 0;
    }
    // Gives back the block that holds record i; its records are not read again.
    void Release(size_t i) { blocks_[i / kBlock].reset(); }

private:
    std::vector<std::unique_ptr<FixupRecord[]>> blocks_;
    size_t size_ = 0;
};

struct ResumeEntry {
    uint32_t fixup = kNoFixup;
    uint16_t nest = 0;
    uint16_t pending = 0;
};

struct CodeBuffer {
    std::vector<uint8_t> bytes; // blocks * 64 KB
    uint32_t offset = 0;
    uint32_t blocks = 0;
};

struct CgOptions {
    uint32_t buildMode = 1;      // 1 executable, 2 DLL
    uint32_t messageCheck = 0;
    uint32_t interruptCheck = 0;
    uint32_t overflowCheck = 0;
    uint32_t forNextMode = 1;    // 1 FM, 2 ISO
    uint32_t debugInfo = 0;
    uint32_t keepTemps = 0;
};

constexpr int kTableCount = ifile::kTableCount;
using TableId = ifile::TableIndex;

// What the 64-byte intermediate header tells the generator.
struct IntermediateInfo {
    uint8_t moduleFlag = 0; // 0 main module, else .SUB/.FRM
    uint8_t trapBits = 0;
    uint32_t dataSize = 0;
    uint32_t streamSize = 0;
    std::array<uint32_t, kTableCount> tableSize{};
};


struct CgState {
    CmpFilParam *param = nullptr;
    int phase = 0;
    uint16_t curLine = 0;

    CgOptions opt;
    std::string pcodePath;
    std::string objectPath;
    std::string moduleBase; // base name without folder and extension
    std::string moduleFile; // base name and extension

    std::FILE *pcode = nullptr; // the intermediate file while it is read
    tx::StdioBuffer pcodeBuffer; // outlives pcode
    IntermediateInfo ir;
    bool mainModule = true;
    bool resumeMode = false;
    const char *checkRoutine = nullptr;
    std::array<std::vector<uint8_t>, kTableCount> tables;

    ObjectFile obj;
    std::array<SectionDescriptor, kSecCount> sec;
    int extraTextCount = 0;

    CodeBuffer code;
    FixupStore fixups;
    // Relocations of .text past the count one section carries, in lists of
    // that count: the split hands each to its part as it is.
    std::vector<std::vector<CoffReloc>> textRelocsMore;
    // The look-up beside the constant pool .data$cn: the pool's bytes up to
    // `indexed` as one text.
    struct { tx::SubstringIndex index; uint32_t indexed = 0; } constantPool;
    std::vector<uint8_t> labels; // u32 slots: code offsets once placed
    bool labelPending = false;
    uint32_t pendingLabel = 0;
    std::vector<ResumeEntry> resume{ResumeEntry{}}; // depth = size - 1

    // Looked up by view: a routine's name is asked for at every call.
    struct NameHash {
        using is_transparent = void;
        size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
    };
    std::unordered_map<std::string, uint32_t, NameHash, std::equal_to<>> runtimeSymbols;
    // The entries last found, by the address of the name asked for (the
    // callers' names are mostly literals): a compare instead of a hash.
    std::array<const std::pair<const std::string, uint32_t> *, 64> runtimeRecent{};
    uint32_t entrySymbol = 0; // "$ENTRY$" + module file name
    bool hasCheckedEntry = false;
    uint32_t checkedEntry = 0; // code offset of the checked entry
};

} // namespace txcg
