// Reading the intermediate file's header and tables, and bounds-checked
// access to the tables: a table that does not hold what its records announce
// is a damaged intermediate file (code 13, detail 516), never a wild read.
#pragma once

#include <cstdint>
#include <cstdio>

#include "cg_state.h"

namespace txcg {

constexpr uint32_t kHeaderSize = 64;
constexpr uint32_t kVarRecordSize = 20;   // + name
constexpr uint32_t kArrayRecordSize = 17;
constexpr uint8_t kClassArrayBit = 0x10;

// Phase 2: header, environment block (the image of .data$bt) and the ten
// tables; picks the error-check routine from the trap bits and options.
void ReadIntermediateHeader(CgState &st, std::FILE *f);

uint32_t TableU32(const CgState &st, TableId t, uint32_t offset);
void SetTableU32(CgState &st, TableId t, uint32_t offset, uint32_t value);

// Variable records of tables 3, 4, 6 and 7: {type, class, u32 address,
// u32 type ref, u32 bounds, u32 size, u8 prefix, u8 name length} + name.
struct VarRecord {
    uint32_t at; // offset of the record in its table
    uint8_t type;
    uint8_t storageClass;
    uint32_t address;
    uint32_t typeRef;
    uint32_t bounds;
    uint32_t size;
    uint8_t prefix;
    uint8_t nameLength;
    uint32_t next; // offset just behind the name
};
VarRecord ReadVarRecord(const CgState &st, TableId t, uint32_t at);

// The COMMON table: u32 total size, then records until one of size 0.
template <typename Fn> void ForEachCommonVar(const CgState &st, Fn fn) {
    const auto &tab = st.tables[kTabCommonVar];
    uint32_t at = 4;
    while (at + kVarRecordSize <= tab.size()) {
        VarRecord r = ReadVarRecord(st, kTabCommonVar, at);
        if (r.size == 0)
            break;
        fn(r);
        at = r.next;
    }
}

uint32_t CountCommonArrays(const CgState &st);
bool AnyArrayWithStorage(const CgState &st);

} // namespace txcg
