#include "cg_driver.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include "cg_bytes.h"
#include "cg_emit.h"
#include "cg_module.h"
#include "cg_object.h"
#include "cg_tables.h"

namespace txcg {

namespace {

// The compilation the crash filter reports on; one runs at a time.
CgState *g_running = nullptr;

std::string Str(const char *s) { return s ? s : ""; }

// A fixed time stamp makes objects reproducible (tests, packaging).
std::optional<uint32_t> FixedTimeStamp() {
    const char *v = std::getenv("SOURCE_DATE_EPOCH");
    if (!v || !*v)
        return std::nullopt;
    char *end = nullptr;
    unsigned long long t = std::strtoull(v, &end, 10);
    if (*end != '\0')
        return std::nullopt;
    return uint32_t(t);
}

void DefineCommonSymbols(CgState &st) {
    static const char *const kPrefix[] = {"", "_", "TX$"};
    auto &tab = st.tables[ifile::kCommonVarTable];
    ForEachCommonVar(st, [&](const VarRecord &r) {
        std::string name = r.prefix < 3 ? kPrefix[r.prefix] : "";
        name.append(reinterpret_cast<const char *>(tab.data() + r.at + kVarRecordSize),
                    r.nameLength);
        uint32_t index = AddSymbol(st, name, r.size, 0, 0, kClassExternal, 0);
        PutU32(tab.data() + r.at + 2, index);
    });
}

// Procedure debug entries {u32 size, u8 name length, name, u32 frame size,
// u8 record count} + variable records: frame offsets become relative to
// the frame pointer.
void SetFrameOffsets(CgState &st) {
    auto &tab = st.tables[ifile::kProcDebugTable];
    uint32_t at = 0;
    while (uint64_t(at) + 5 <= tab.size()) {
        const uint32_t size = GetU32(tab.data() + at);
        const uint32_t end = at + size;
        const uint32_t nameLength = tab[at + 4];
        uint32_t p = at + 5 + nameLength;
        if (size == 0 || end > tab.size() || uint64_t(p) + 5 > end)
            CgFail(kErrRead, kDetailIntermediate);
        const uint32_t frame = GetU32(tab.data() + p);
        p += 5;
        // Every record of the entry: parameters, result and locals (the
        // count in the head counts only the parameters).
        while (p < end) {
            VarRecord r = ReadVarRecord(st, ifile::kProcDebugTable, p);
            PutU32(tab.data() + p + 2, r.address - frame);
            p = r.next;
        }
        at = end;
    }
}

} // namespace

void SetCgError(CmpFilParam *param, uint32_t code, uint32_t detail,
                const std::string &objectPath) {
    if (detail == kDetailObject) {
        tx::StorePassError(*param, code, detail, objectPath.c_str());
    } else {
        // The intermediate file's name is the driver's own; the text stays.
        param->err_code = code;
        param->err_detail = detail;
    }
}

void ReadParam(CgState &st, const CmpFilParam &p) {
    auto &o = st.opt;
    o.buildMode = p.M == 2 ? 2 : 1;
    o.messageCheck = p.CL == 1;
    o.interruptCheck = p.CI == 1;
    o.overflowCheck = p.CO == 1;
    o.forNextMode = p.CF == 2 ? 2 : 1;
    o.debugInfo = p.Zi == 1;
    o.keepTemps = p.TMP == 1;
    st.pcodePath = Str(p.pcode_filename);
    st.objectPath = Str(p.Fo_filename);
    const std::string source = Str(p.srcfilename);
    const size_t slash = source.find_last_of("\\/:");
    st.moduleFile = slash == std::string::npos ? source : source.substr(slash + 1);
    const size_t dot = st.moduleFile.rfind('.');
    st.moduleBase = dot == std::string::npos ? st.moduleFile : st.moduleFile.substr(0, dot);
    st.obj.timeStamp = FixedTimeStamp();
}

void InitCodeGen(CgState &st) {
    InitObjectFile(st);
    st.sec[kSecDataCn].image.clear();
    DefineCommonSymbols(st);
    AllocCodeBuffer(st);
    // Room for the code of a large module at once: growing block by block
    // copied (and faulted in) the whole buffer again at every doubling.
    // Pages never written cost nothing.
    if (st.pcode) {
        const long at = std::ftell(st.pcode);
        if (at >= 0 && std::fseek(st.pcode, 0, SEEK_END) == 0) {
            const long size = std::ftell(st.pcode);
            if (size > 0 && size < (1L << 26))
                st.code.bytes.reserve(size_t(size) * 4);
            std::fseek(st.pcode, at, SEEK_SET);
        }
    }
    st.fixups.clear();
    st.labels.clear();
    if (!st.tables[ifile::kProcDebugTable].empty())
        SetFrameOffsets(st);
    st.sec[kSecText].lines.clear();
}

bool CgCrashInfo(int &phase, std::string &moduleFile, unsigned &line) {
    if (!g_running)
        return false;
    phase = g_running->phase;
    moduleFile = g_running->moduleFile;
    line = g_running->curLine;
    return true;
}

int CgCompile(CmpFilParam *param) {
    CgState st;
    st.param = param;
    g_running = &st;
    int result = 0;
    try {
        st.phase = 1;
        ReadParam(st, *param);

        st.phase = 2;
        st.pcode = std::fopen(st.pcodePath.c_str(), "rb");
        if (!st.pcode)
            CgFail(kErrOpen, kDetailIntermediate);
        st.pcodeBuffer.Attach(st.pcode);
        ReadIntermediateHeader(st, st.pcode);

        st.phase = 3;
        InitCodeGen(st);

        st.phase = 4;
        GenerateModule(st);
        std::fclose(st.pcode);
        st.pcode = nullptr;

        st.phase = 5;
        BuildDataSections(st);
        st.fixups = {}; // resolved: the memory goes to the sections to come
        st.phase = 6;
        SplitTextSections(st);
        st.phase = 7;
        WriteObjectFile(st);
        st.phase = 8;
        result = 1;
    } catch (const CgError &e) {
        SetCgError(param, e.code, e.detail, st.objectPath);
    } catch (const std::bad_alloc &) {
        SetCgError(param, kErrNoMemory, kDetailNone, st.objectPath);
    }
    if (st.pcode)
        std::fclose(st.pcode);
    g_running = nullptr;
    return result;
}

} // namespace txcg
