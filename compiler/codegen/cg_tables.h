// Reading the intermediate file's header and tables, and bounds-checked
// access to the tables: a table that does not hold what its records announce
// is a damaged intermediate file (code 13, detail 516), never a wild read.
#pragma once

#include <cstdint>
#include <cstdio>

#include "cg_state.h"

namespace txcg {

using ifile::kArrayRecordSize;
using ifile::kVarRecordSize;

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

// Tables 3 and 4: a u32 size word, then records up to the table's end.
template <typename Fn> void ForEachVarRecord(const CgState &st, TableId t, Fn fn) {
    const auto &tab = st.tables[t];
    uint32_t at = ifile::kVarTableHead;
    while (at < tab.size()) {
        VarRecord r = ReadVarRecord(st, t, at);
        fn(r);
        at = r.next;
    }
}

// The common table also ends at a record of size 0.
template <typename Fn> void ForEachCommonVar(const CgState &st, Fn fn) {
    const auto &tab = st.tables[ifile::kCommonVarTable];
    uint32_t at = ifile::kVarTableHead;
    while (at < tab.size()) {
        VarRecord r = ReadVarRecord(st, ifile::kCommonVarTable, at);
        if (r.size == 0)
            break;
        fn(r);
        at = r.next;
    }
}

uint32_t CountCommonArrays(const CgState &st);
bool AnyArrayWithStorage(const CgState &st);

} // namespace txcg
