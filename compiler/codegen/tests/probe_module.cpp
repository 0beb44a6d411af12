#include "probe_module.h"

#include "cg_bytes.h"
#include "cg_driver.h"
#include "cg_fixup.h"
#include "cg_module.h"
#include "cg_symbols.h"
#include "cg_test_util.h"

namespace txcg::test {

namespace {

void StatementLine(CgState &st, uint16_t line) {
    EmitPushImm(st, line);
    AddLineEntry(st, line);
    EmitCallRuntime(st, "_$PbSetCurLineDbg@4");
}

} // namespace

void WriteProbeObject(const std::string &path) {
    IrBuilder b;
    b.DataSize(6);
    b.ModuleVar({0, 1, 0, 0, 0, 0, 0, "A"});
    b.ModuleVar({1, 1, 2, 0, 0, 0, 0, "B"});
    const uint32_t hello = b.StringConst("HELLO");
    const uint32_t procF = b.ProcName(0, "_TX$F@4");
    const uint32_t procG = b.ProcName(2, "G");
    const uint32_t line10 = b.ProcName(0, "10");

    CgState st;
    st.opt.debugInfo = 1;
    st.moduleFile = "MAIN.BAS";
    st.moduleBase = "MAIN";
    st.obj.timeStamp = 0x5F000000;
    LoadIr(st, b);
    InitCodeGen(st);
    auto &procs = st.tables[ifile::kProcNameTable];
    auto sym = [&](SectionId id) { return st.sec[id].symbol; };

    AddExportDirective(st, "$PbMainWndProc=_$PbMainWndProc@16");
    DefineFunction(st, "$BAS_MAIN", 0);
    DefinePublicData(st, "_$PvBET", kSecDataBt);
    DefinePublicData(st, "_$PvMCB", kSecDataMc);
    DefinePublicData(st, "$PvGARY", kSecDataAg);
    DefinePublicData(st, "_$PvDbgGlobal", kSecDataDg);
    st.entrySymbol = DefineFunction(st, "$ENTRY$" + st.moduleFile, 0);
    AddLineMark(st, st.entrySymbol);
    EmitPushSymbolAddr(st, sym(kSecDataMc), 0);
    EmitCallRuntime(st, "_$PbSetMcbMain@4");
    EmitPushSymbolAddr(st, sym(kSecDataMc), 0);
    EmitCallRuntime(st, "_$PbSetMcb@4");

    // 10 A = A + 1
    PutU32(procs.data() + line10 + ifile::kProcEntrySlot, CurrentCodeOffset(st));
    StatementLine(st, 10);
    EmitMovRegSymbol(st, kEbx, sym(kSecData), 0);
    EmitFpLoadEbx(st, kTypeInt);
    EmitInsn(st, kFld1);
    EmitInsn(st, kFaddp);
    EmitFpStoreEbx(st, kTypeInt);

    // 20 IF A THEN PRINT "HELLO"
    StatementLine(st, 20);
    const uint32_t skip = NewLabel(st);
    EmitMovsxEbx(st, kEax, 0);
    EmitTestEaxJump(st, skip, false);
    EmitPushSymbolAddr(st, sym(kSecDataCs), hello);
    EmitCallRuntime(st, "_$PsPRINT@4");
    PlaceLabel(st, skip);

    // 30 B = F(5) + G() : GOTO 10
    StatementLine(st, 30);
    EmitPushImm(st, 5);
    EmitCallProc(st, procF);
    EmitCallLocal(st, procG);
    EmitStoreAbs(st, 4, sym(kSecData), 2);
    EmitJump(st, line10, 3);
    EmitRet(st, 0);

    // 40 FUNCTION F(X): public, exported
    uint32_t f = DefineFunction(st, "_TX$F@4", CurrentCodeOffset(st));
    PutU32(procs.data() + procF + ifile::kProcEntrySlot, f);
    AddExportDirective(st, "_TX$F@4");
    AddLineMark(st, f);
    StatementLine(st, 40);
    EmitByte(st, kPushEbp);
    EmitMovRegReg(st, kEbp, kEsp);
    EmitLoadEbp(st, kEax, 8);
    EmitByte(st, kPopEbp);
    EmitRet(st, 4);

    // 50 FUNCTION G: static, called by its code offset
    PutU32(procs.data() + procG + ifile::kProcEntrySlot, CurrentCodeOffset(st));
    uint32_t g = DefineStaticFunction(st, "G", CurrentCodeOffset(st));
    AddLineMark(st, g);
    StatementLine(st, 50);
    EmitMovRegImm(st, kEax, 7);
    EmitRet(st, 0);

    GenDebugEntries(st);
    BuildDataSections(st);
    SplitTextSections(st);
    st.objectPath = path;
    WriteObjectFile(st);
}

} // namespace txcg::test

namespace txcg::test {

void WriteManyCallsObject(const std::string &path, uint32_t calls) {
    IrBuilder b;
    b.SubModule();
    b.Statement(1, tok::Stmt(0x4a));
    const uint32_t start = b.ProcName(0, "START");
    CgState st;
    st.opt.debugInfo = 1;
    st.moduleFile = "MANY.SUB";
    st.obj.timeStamp = 0x5F000000;
    LoadIr(st, b);
    InitCodeGen(st);
    st.entrySymbol = DefineFunction(st, "$ENTRY$" + st.moduleFile, 0);
    AddLineMark(st, st.entrySymbol);
    PutU32(st.tables[ifile::kProcNameTable].data() + start + ifile::kProcEntrySlot, 5);
    for (uint32_t i = 0; i < calls; ++i) {
        if (i == 65535 || i == 65536) // around the first cut
            AddLineEntry(st, uint16_t(60000 + i - 65535));
        else if (i % 1000 == 0)
            AddLineEntry(st, uint16_t(1 + i / 1000));
        EmitCallRuntime(st, "_$PsBEEP@0");
    }
    EmitCallLocal(st, start);
    EmitJump(st, start, 3);
    EmitRet(st, 0);
    BuildDataSections(st);
    SplitTextSections(st);
    st.objectPath = path;
    WriteObjectFile(st);
}

} // namespace txcg::test
