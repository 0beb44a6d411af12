#include "cg_module.h"

#include <cstring>
#include <string>

#include "cg_bytes.h"
#include "cg_emit.h"
#include "cg_fixup.h"
#include "cg_object.h"
#include "cg_symbols.h"
#include "cg_tables.h"

namespace txcg {

void GenerateModule(CgState &st) {
    if (!st.mainModule) {
        if (st.opt.buildMode == 2)
            RefRuntimeSymbol(st, "_DllMain@12");
    } else {
        AddExportDirective(st, "$PbMainWndProc=_$PbMainWndProc@16");
        DefineFunction(st, "$BAS_MAIN", CurrentCodeOffset(st));
        DefinePublicData(st, "_$PvBET", kSecDataBt);
        DefinePublicData(st, "_$PvMCB", kSecDataMc);
        DefinePublicData(st, "$PvGARY", kSecDataAg);
        DefinePublicData(st, "_$PvDbgGlobal", kSecDataDg);
    }
    st.entrySymbol = DefineFunction(st, "$ENTRY$" + st.moduleFile, CurrentCodeOffset(st));
    if (st.ir.streamSize == 0) {
        EmitRet(st, 0);
        if (st.mainModule && st.opt.debugInfo)
            GenDebugEntries(st);
        return;
    }
    GenerateStatements(st);
}

namespace {

void ZeroImage(CgState &st, SectionId id, size_t size) { st.sec[id].image.assign(size, 0); }

bool InFile(const CgState &st, SectionId id) { return st.sec[id].number != 0; }

uint32_t SymbolOf(const CgState &st, SectionId id) { return st.sec[id].symbol; }

void BuildModuleControlBlock(CgState &st) {
    auto &img = st.sec[kSecDataMc].image;
    img.assign(14, 0);
    PutU16(img.data() + 12, uint16_t(st.moduleFile.size()));
    img.insert(img.end(), st.moduleFile.begin(), st.moduleFile.end());
    img.push_back(0);
    if (st.hasCheckedEntry)
        AddDataReloc(st, kSecDataMc, 0, st.checkedEntry, SymbolOf(st, kSecText));
    if (InFile(st, kSecData))
        AddDataRelocAt(st, kSecDataMc, 4, SymbolOf(st, kSecData));
    if (st.opt.debugInfo && InFile(st, kSecDataDl))
        AddDataRelocAt(st, kSecDataMc, 8, SymbolOf(st, kSecDataDl));
}

// String constants {u32 0, u32 length, u32 text offset}: the offset becomes
// the addend of a relocation against .data$cs. A record whose text offset
// points elsewhere is an alias and has no text of its own.
void BuildStringConstants(CgState &st) {
    auto &img = st.sec[kSecDataCs].image;
    img = st.tables[ifile::kStringConstTable];
    uint32_t at = 0;
    while (uint64_t(at) + 12 <= img.size()) {
        const uint32_t length = GetU32(img.data() + at + 4);
        const uint32_t text = GetU32(img.data() + at + 8);
        PutU32(img.data() + at + 8, 0);
        AddDataReloc(st, kSecDataCs, at + 8, text, SymbolOf(st, kSecDataCs));
        at = text == at + 12 ? at + 12 + length : at + 12;
    }
}

void BuildCommonArrays(CgState &st) {
    auto &img = st.sec[kSecDataAg].image;
    img.clear();
    ForEachCommonVar(st, [&](const VarRecord &r) {
        if (!(r.storageClass & ifile::kClassArray))
            return;
        const uint32_t at = uint32_t(img.size());
        img.insert(img.end(), 10, 0);
        img[at] = 1;
        img[at + 1] = r.type;
        AddDataRelocAt(st, kSecDataAg, at + 2, r.address);
        if (InFile(st, kSecDataAd))
            AddDataReloc(st, kSecDataAg, at + 6, r.bounds, SymbolOf(st, kSecDataAd));
    });
    if (img.empty() && st.mainModule)
        img.assign(4, 0);
}

// The arrays' storage is a zeroed image in the object and in the program's
// file: past this size (with the scalars) the module is refused as the
// analyzer refuses one past its own limits, rather than written as hundreds
// of megabytes of zeros no loader takes.
constexpr uint64_t kStaticStorageMax = 64u << 20;

void BuildArrays(CgState &st) {
    auto &arrays = st.tables[ifile::kArrayTable];
    const uint32_t count = uint32_t(arrays.size() / kArrayRecordSize);
    uint32_t storage = 0;
    for (uint32_t k = 0; k < count; ++k) {
        uint8_t *a = arrays.data() + k * kArrayRecordSize;
        if (GetU32(a + 1) != 0) {
            PutU32(a + 9, storage);
            storage += GetU32(a + 1);
        }
    }
    if (uint64_t(storage) + st.ir.dataSize > kStaticStorageMax)
        CgFail(kErrVariablesFull);
    st.sec[kSecDataAl].image.clear();
    st.sec[kSecDataAl].zeros = storage;
    ForEachVarRecord(st, ifile::kModuleVarTable, [&](const VarRecord &r) {
        const uint32_t k = r.address / ifile::kArraySlotSize;
        if ((r.storageClass & ifile::kClassArray) && k < count)
            PutU32(arrays.data() + k * kArrayRecordSize + 13, r.bounds);
    });
    ZeroImage(st, kSecDataAc, size_t(count) * 10);
    for (uint32_t k = 0; k < count; ++k) {
        const uint8_t *a = arrays.data() + k * kArrayRecordSize;
        if (GetU32(a + 1) == 0)
            continue;
        uint8_t *d = st.sec[kSecDataAc].image.data() + 10 * k;
        d[0] = 1;
        d[1] = a[0];
        AddDataReloc(st, kSecDataAc, 10 * k + 2, GetU32(a + 9), SymbolOf(st, kSecDataAl));
        if (InFile(st, kSecDataAd))
            AddDataReloc(st, kSecDataAc, 10 * k + 6, GetU32(a + 13), SymbolOf(st, kSecDataAd));
    }
}

// Relocations of one variable record of a debug table: its type definition
// (+6, user types only) and its bounds (+10, arrays) become addresses in
// .data$ds and .data$ad; with an address symbol also the variable itself
// (+2).
void RelocateVarRecord(CgState &st, SectionId id, const VarRecord &r, uint32_t addressSymbol,
                       uint32_t addressAddend) {
    uint8_t *p = st.sec[id].image.data() + r.at;
    if (addressSymbol != 0) {
        PutU32(p + ifile::kVarAddress, 0);
        AddDataReloc(st, id, r.at + ifile::kVarAddress, addressAddend, addressSymbol);
    }
    if (r.type == ifile::kTypeRecord && InFile(st, kSecDataDs))
        AddDataReloc(st, id, r.at + ifile::kVarTypeRef, r.typeRef, SymbolOf(st, kSecDataDs));
    if ((r.storageClass & ifile::kClassArray) && InFile(st, kSecDataAd))
        AddDataReloc(st, id, r.at + ifile::kVarBounds, r.bounds, SymbolOf(st, kSecDataAd));
}

void BuildCommonDebugTable(CgState &st) {
    st.sec[kSecDataDg].image = st.tables[ifile::kCommonVarTable];
    ForEachCommonVar(st, [&](const VarRecord &r) {
        // Phase 3 left the common symbol's index in the address field.
        RelocateVarRecord(st, kSecDataDg, r, r.address, 0);
    });
}

void BuildModuleVarDebugTable(CgState &st) {
    st.sec[kSecDataDl].image = st.tables[ifile::kModuleVarTable];
    ForEachVarRecord(st, ifile::kModuleVarTable, [&](const VarRecord &r) {
        const bool array = (r.storageClass & ifile::kClassArray) != 0;
        const SectionId base = array ? kSecDataAc : kSecData;
        RelocateVarRecord(st, kSecDataDl, r, InFile(st, base) ? SymbolOf(st, base) : 0, r.address);
    });
}

// Procedure entries {u32 size, u8 name length, name, u32 frame size, u8
// parameter count} + variable records.
void BuildProcDebugTable(CgState &st) {
    const auto &tab = st.tables[ifile::kProcDebugTable];
    st.sec[kSecDataDa].image = tab;
    for (uint32_t at = 0; uint64_t(at) + 5 <= tab.size();) {
        const uint32_t end = at + GetU32(tab.data() + at);
        uint32_t p = at + 5 + tab[at + 4];
        if (end <= at || end > tab.size() || uint64_t(p) + 5 > end)
            CgFail(kErrRead, kDetailIntermediate);
        // Every record of the entry: the head counts only the parameters,
        // the result and the locals follow them.
        p += 5;
        while (p < end) {
            VarRecord r = ReadVarRecord(st, ifile::kProcDebugTable, p);
            RelocateVarRecord(st, kSecDataDa, r, 0, 0);
            p = r.next;
        }
        at = end;
    }
}

// Type entries {u32 size, u32 type size, u8 name length, name} + member
// records up to the entry's end.
void BuildTypeDebugTable(CgState &st) {
    const auto &tab = st.tables[ifile::kTypeDefTable];
    st.sec[kSecDataDs].image = tab;
    for (uint32_t at = 0; uint64_t(at) + 9 <= tab.size();) {
        const uint32_t end = at + GetU32(tab.data() + at);
        if (end <= at || end > tab.size())
            CgFail(kErrRead, kDetailIntermediate);
        for (uint32_t p = at + 9 + tab[at + 8]; p < end;) {
            VarRecord r = ReadVarRecord(st, ifile::kTypeDefTable, p);
            RelocateVarRecord(st, kSecDataDs, r, 0, 0);
            p = r.next;
        }
        at = end;
    }
}

// Without debug information (or with nothing to describe) a main module
// still gets four zero bytes where the runtime expects a table.
void BuildDebugTables(CgState &st) {
    const bool debug = st.opt.debugInfo != 0;
    auto has = [&](TableId t) { return !st.tables[t].empty(); };
    if (InFile(st, kSecDataDg)) {
        if (debug && has(ifile::kCommonVarTable))
            BuildCommonDebugTable(st);
        else
            ZeroImage(st, kSecDataDg, 4);
    }
    if (InFile(st, kSecDataDl))
        BuildModuleVarDebugTable(st);
    if (InFile(st, kSecDataDa))
        BuildProcDebugTable(st);
    if (InFile(st, kSecDataDs)) {
        if (debug && has(ifile::kTypeDefTable))
            BuildTypeDebugTable(st);
        else
            ZeroImage(st, kSecDataDs, 4);
    }
}

} // namespace

uint32_t FindConstant(CgState &st, const uint8_t *bytes, uint32_t n) {
    const auto &pool = st.sec[kSecDataCn].image;
    auto &c = st.constantPool;
    if (c.indexed > pool.size() || c.indexed == 0) {
        // A new pool (the pool only ever grows at its end otherwise).
        c.index = tx::SubstringIndex();
        c.index.Begin(0);
        c.indexed = 0;
    }
    c.index.Extend(pool.data() + c.indexed, pool.size() - c.indexed);
    c.indexed = uint32_t(pool.size());
    uint32_t text, at;
    return c.index.Find(bytes, n, text, at) ? at : uint32_t(pool.size());
}

uint32_t AddConstant(CgState &st, int type, const uint8_t *bytes, uint32_t size) {
    static constexpr uint32_t kLength[] = {2, 4, 4, 8, 1};
    const uint32_t n = type >= 0 && type <= 4 ? kLength[type] : size;
    auto &pool = st.sec[kSecDataCn].image;
    // Any earlier match will do, even one that straddles two constants.
    const uint32_t found = FindConstant(st, bytes, n);
    if (found != pool.size())
        return found;
    const uint32_t at = uint32_t(pool.size());
    pool.insert(pool.end(), bytes, bytes + n);
    return at;
}

void BuildDataSections(CgState &st) {
    st.code.bytes.resize(st.code.offset);
    ResolveFixups(st);
    st.sec[kSecText].image = std::move(st.code.bytes);
    st.code = CodeBuffer{};

    if (InFile(st, kSecData))
        ZeroImage(st, kSecData, st.ir.dataSize);
    BuildModuleControlBlock(st);
    if (InFile(st, kSecDataCs))
        BuildStringConstants(st);
    if (InFile(st, kSecDataRd))
        st.sec[kSecDataRd].image = st.tables[ifile::kDataItemTable];
    if (InFile(st, kSecDataAd)) {
        st.sec[kSecDataAd].image = st.tables[ifile::kArrayBoundsTable];
        if (st.sec[kSecDataAd].image.empty())
            ZeroImage(st, kSecDataAd, 4);
    }
    if (InFile(st, kSecDataAg))
        BuildCommonArrays(st);
    if (InFile(st, kSecDataAc))
        BuildArrays(st);
    BuildDebugTables(st);
}

} // namespace txcg
