#include "cg_tables.h"

#include <algorithm>

#include "cg_bytes.h"
#include "valuetypes.h"

namespace txcg {

namespace {

using namespace bastype;

void ReadExact(std::FILE *f, void *to, size_t n) {
    if (n != 0 && std::fread(to, 1, n, f) != n)
        CgFail(kErrRead, kDetailIntermediate);
}

void SkipTo16(std::FILE *f, uint32_t size) {
    uint32_t pad = (16 - size % 16) % 16;
    if (pad != 0 && std::fseek(f, long(pad), SEEK_CUR) != 0)
        CgFail(kErrRead, kDetailIntermediate);
}

void ReadPaddedTable(std::FILE *f, std::vector<uint8_t> &slot, uint32_t size) {
    slot.resize(size);
    ReadExact(f, slot.data(), size);
    SkipTo16(f, size);
}

// The routine every statement ends with, by resume mode, interrupt check
// and message check.
const char *ChooseCheckRoutine(bool resume, bool interrupt, bool message) {
    if (!resume)
        return interrupt ? "$PbCheckTrapMsg" : message ? "$PbCheckMsg" : nullptr;
    return interrupt ? "$PbCheckAll" : message ? "$PbCheckResumeMsg" : "$PbCheckResume";
}

// The byte after the end of the file: every size the header gives must
// fit before it, before anything of that size is allocated.
uint64_t FileLength(std::FILE *f) {
    if (std::fseek(f, 0, SEEK_END) != 0)
        CgFail(kErrRead, kDetailIntermediate);
    const long n = std::ftell(f);
    if (n < 0 || std::fseek(f, 0, SEEK_SET) != 0)
        CgFail(kErrRead, kDetailIntermediate);
    return uint64_t(n);
}

uint64_t Padded(uint32_t n) { return (uint64_t(n) + 15) / 16 * 16; }

// The module's data: the scalars end where the last of their records says
// (the analyzer lays them out one after the other), and scalars and arrays
// together stay within 31 bits, as the analyzer keeps them.
void CheckDataSizes(const CgState &st) {
    uint64_t scalars = 0;
    ForEachVarRecord(st, ifile::kModuleVarTable, [&](const VarRecord &r) {
        if (r.storageClass & ifile::kClassArray)
            return;
        uint32_t size = 0;
        switch (r.type) {
        case kTypeInt: size = 2; break;
        case kTypeLng: case kTypeSng: case kTypeValue4: case kTypeAny: size = 4; break;
        case kTypeDbl: size = 8; break;
        case kTypeByt: size = 1; break;
        case kTypeStr: case kTypeFix: size = 12; break;
        case kTypeBcd: size = 15; break;
        case kTypeFixStr: size = r.typeRef; break;
        case kTypeRecord: size = TableU32(st, ifile::kTypeDefTable, r.typeRef + 4); break;
        default: break;
        }
        scalars = std::max(scalars, uint64_t(r.address) + size);
    });
    if (st.ir.dataSize > scalars)
        CgFail(kErrRead, kDetailIntermediate);
    const auto &arrays = st.tables[ifile::kArrayTable];
    uint64_t total = st.ir.dataSize;
    for (size_t at = 0; at + kArrayRecordSize <= arrays.size(); at += kArrayRecordSize)
        total += GetU32(arrays.data() + at + 1);
    if (total > 0x7FFFFFFFu)
        CgFail(kErrRead, kDetailIntermediate);
}

} // namespace

void ReadIntermediateHeader(CgState &st, std::FILE *f) {
    uint8_t h[ifile::kHeaderSize];
    if (std::fseek(f, 0, SEEK_SET) != 0)
        CgFail(kErrRead, kDetailIntermediate);
    ReadExact(f, h, sizeof h);
    const ifile::Header hdr = ifile::DecodeHeader(h);
    uint64_t need = ifile::kStreamOffset + Padded(hdr.stream_size);
    for (uint32_t size : hdr.table_size)
        need += Padded(size);
    if (need > FileLength(f) || std::fseek(f, ifile::kHeaderSize, SEEK_SET) != 0)
        CgFail(kErrRead, kDetailIntermediate);
    auto &ir = st.ir;
    ir.moduleFlag = hdr.module_flag;
    ir.trapBits = hdr.trap_bits;
    ir.dataSize = hdr.data_size;
    ir.streamSize = hdr.stream_size;
    for (int i = 0; i < kTableCount; ++i)
        ir.tableSize[i] = hdr.table_size[i];
    st.mainModule = ir.moduleFlag == 0;
    if (ir.trapBits & ifile::kTrapInterruptCheck)
        st.opt.interruptCheck = 1;
    st.resumeMode = (ir.trapBits & ifile::kTrapResume) != 0;
    st.checkRoutine =
        ChooseCheckRoutine(st.resumeMode, st.opt.interruptCheck != 0, st.opt.messageCheck != 0);

    auto &env = st.sec[kSecDataBt].image;
    env.resize(ifile::kEnvBlockSize);
    ReadExact(f, env.data(), env.size());
    if (ir.streamSize != 0) {
        const uint32_t end = ifile::kStreamOffset + ifile::PadTo16(ir.streamSize);
        if (std::fseek(f, long(end), SEEK_SET) != 0)
            CgFail(kErrRead, kDetailIntermediate);
    }
    for (int i = 0; i < kTableCount; ++i)
        if (ir.tableSize[i] != 0)
            ReadPaddedTable(f, st.tables[i], ir.tableSize[i]);
    CheckDataSizes(st);
}

uint32_t TableU32(const CgState &st, TableId t, uint32_t offset) {
    const auto &tab = st.tables[t];
    if (uint64_t(offset) + 4 > tab.size())
        CgFail(kErrRead, kDetailIntermediate);
    return GetU32(tab.data() + offset);
}

void SetTableU32(CgState &st, TableId t, uint32_t offset, uint32_t value) {
    auto &tab = st.tables[t];
    if (uint64_t(offset) + 4 > tab.size())
        CgFail(kErrRead, kDetailIntermediate);
    PutU32(tab.data() + offset, value);
}

VarRecord ReadVarRecord(const CgState &st, TableId t, uint32_t at) {
    const auto &tab = st.tables[t];
    if (uint64_t(at) + kVarRecordSize > tab.size())
        CgFail(kErrRead, kDetailIntermediate);
    const uint8_t *p = tab.data() + at;
    const uint8_t nameLength = p[ifile::kVarNameLength];
    VarRecord r{at,
                p[ifile::kVarType],
                p[ifile::kVarClass],
                GetU32(p + ifile::kVarAddress),
                GetU32(p + ifile::kVarTypeRef),
                GetU32(p + ifile::kVarBounds),
                GetU32(p + ifile::kVarSize),
                p[ifile::kVarPrefix],
                nameLength,
                at + kVarRecordSize + nameLength};
    if (r.next > tab.size())
        CgFail(kErrRead, kDetailIntermediate);
    return r;
}

uint32_t CountCommonArrays(const CgState &st) {
    uint32_t n = 0;
    ForEachCommonVar(st, [&](const VarRecord &r) {
        if (r.storageClass & ifile::kClassArray)
            ++n;
    });
    return n;
}

bool AnyArrayWithStorage(const CgState &st) {
    const auto &tab = st.tables[ifile::kArrayTable];
    for (size_t at = 0; at + kArrayRecordSize <= tab.size(); at += kArrayRecordSize)
        if (GetU32(tab.data() + at + 1) != 0)
            return true;
    return false;
}

} // namespace txcg
