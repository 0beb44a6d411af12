// The main pass: reads the statement records, surrounds each statement
// with its prologue (line routine, pending label, resume address, error
// check) and generates it through the statement table: a generator of its
// own, or the generic form (arguments, then the runtime routine). Also the
// labels and blocks of the control-flow statements, procedures and calls.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "cg_bytes.h"
#include "cg_fixup.h"
#include "cg_gen.h"
#include "cg_module.h"
#include "cg_symbols.h"
#include "cg_tables.h"
#include "modcall.h"

namespace txcg {

namespace {

bool Dll(const Gen &g) { return g.st.opt.buildMode == 2; }

// Pushes the address of a place in a data section, or 0 when the section
// is not in the file.
void PushSectionAddr(Gen &g, SectionId sec, uint32_t offset) {
    if (g.st.sec[sec].number != 0)
        EmitPushSymbolAddr(g.st, g.st.sec[sec].symbol, offset);
    else
        EmitPushImm(g.st, 0);
}

void CallControlBlock(Gen &g) {
    PushSectionAddr(g, kSecDataMc, 0);
    EmitCallRuntime(g.st, Dll(g) ? "_$PbSetMcbSub@4" : "_$PbSetMcb@4");
}

void CallReadPointer(Gen &g, uint32_t offset) {
    PushSectionAddr(g, kSecDataRd, offset);
    EmitCallRuntime(g.st, Dll(g) ? "_$PbSetReadPtrSub@4" : "_$PbSetReadPtr@4");
}

// ---- labels and blocks ------------------------------------------------------

void PushBlock(Gen &g, uint8_t kind, uint32_t bytes) {
    g.blocks.push_back(Block{kind, NewLabel(g.st, bytes)});
}

void PopBlock(Gen &g) {
    if (!g.blocks.empty())
        g.blocks.pop_back();
}

// The top block (or the one below it). The analyzer never closes a block it
// did not open, so a stream that does is damaged: error 90.
Block Top(Gen &g, int below = 0) {
    if (int(g.blocks.size()) <= below)
        CgFail(kErrInternal);
    return g.blocks[g.blocks.size() - 1 - below];
}

void Place(Gen &g, uint32_t slot) { PlaceLabel(g.st, slot); }

void Jump(Gen &g, uint32_t slot) { EmitJump(g.st, slot, kTargetLabelSlot); }

bool Unplaced(Gen &g, uint32_t slot) { return LabelValue(g.st, slot) == 0; }

// ---- statement generators ---------------------------------------------------

using Generator = void (*)(Gen &);

void GenLineLabels(Gen &g) {
    ++g.cur;
    while (g.cur < g.ntok && (g.Kind(g.cur) == kTokLabel || g.Kind(g.cur) == kTokLineNumber)) {
        if (!(g.Kind(g.cur) == kTokLineNumber && g.Byte(g.cur, 1) == kLineNumberNone))
            SetTableU32(g.st, ifile::kProcNameTable, g.U32(g.cur, 2) + ifile::kProcEntrySlot,
                        CurrentCodeOffset(g.st));
        ++g.cur;
    }
    GenStatementLine(g);
}

bool IsLabelToken(Gen &g, int i) {
    return (g.Kind(i) == kTokLabel || g.Kind(i) == kTokLineNumber) && !(g.Kind(i) == kTokLineNumber && g.Byte(i, 1) == kLineNumberNone);
}

void GenGoto(Gen &g) {
    ++g.cur;
    if (IsLabelToken(g, g.cur)) {
        EmitJumpResume(g.st, g.U32(g.cur, 2), kTargetProcName);
        ++g.cur;
    }
}

void GenGosub(Gen &g) {
    ++g.cur;
    if (IsLabelToken(g, g.cur)) {
        EmitPushLabelAddr(g.st, g.U32(g.cur, 2), kTargetProcName);
        ++g.cur;
    } else {
        EmitPushImm(g.st, 0);
    }
    EmitCallRuntime(g.st, "$PsGOSUB");
}

void GenReturn(Gen &g) {
    ++g.cur;
    if (IsLabelToken(g, g.cur)) {
        EmitPushLabelAddr(g.st, g.U32(g.cur, 2), kTargetProcName);
        ++g.cur;
        EmitCallRuntime(g.st, "$PsRETURN_LABEL");
    } else {
        EmitCallRuntime(g.st, "$PsRETURN");
    }
}

// RESUME, RESUME NEXT, RESUME label.
void GenResume(Gen &g) {
    ++g.cur;
    if (g.Kind(g.cur) == kTokKeyword) {
        const uint8_t x = g.Byte(g.cur, 1);
        ++g.cur;
        EmitCallRuntime(g.st, x == kKwResumeNext ? "$PsRESUME_NEXT" : "$PsRESUME");
    } else if (IsLabelToken(g, g.cur)) {
        EmitPushLabelAddr(g.st, g.U32(g.cur, 2), kTargetProcName);
        ++g.cur;
        EmitCallRuntime(g.st, "$PsRESUME_LABEL");
    } else {
        EmitCallRuntime(g.st, "$PsRESUME");
    }
}

void GenOnJump(Gen &g) {
    const uint8_t code = g.Byte(g.cur, 1);
    ++g.cur;
    const int selector = g.cur;
    int i = SkipFrom(g, selector);
    std::vector<int> labels;
    for (; i < g.ntok && g.Kind(i) != kTokStatement; ++i)
        if (g.Kind(i) == kTokLabel || g.Kind(i) == kTokLineNumber)
            labels.push_back(i);
    for (auto it = labels.rbegin(); it != labels.rend(); ++it) {
        if (IsLabelToken(g, *it))
            EmitPushLabelAddr(g.st, g.U32(*it, 2), kTargetProcName);
        else
            EmitPushImm(g.st, 0);
    }
    EmitPushImm(g.st, int32_t(labels.size()));
    g.cur = selector;
    GenConvertCall(g, kTypeLng, GenGroupValue(g));
    g.cur = i;
    EmitCallRuntime(g.st, code == kStmOnGoto ? "$PsON_GOTO" : "$PsON_GOSUB");
}

void GenRestore(Gen &g) {
    const uint32_t offset = g.U32(g.cur, 2);
    ++g.cur;
    PushSectionAddr(g, kSecDataRd, offset);
    EmitCallRuntime(g.st, Dll(g) ? "_$PbSetRestoreSub@4" : "_$PbSetRestore@4");
}

// IF cond THEN (block form).
void GenIf(Gen &g) {
    ++g.cur;
    PushBlock(g, kBlkIf, 4); // end label
    PushBlock(g, kBlkIf, 4); // false label
    GenCondition(g, Top(g).slot, false);
}

void GenLineIf(Gen &g) {
    ++g.cur;
    PushBlock(g, kBlkLineIf, 4);
    PushBlock(g, kBlkLineIf, 4);
    GenCondition(g, Top(g).slot, false);
    SetResumeNest(g.st);
    GenPendingLabel(g);
}

void GenElse(Gen &g) {
    ++g.cur;
    if (g.st.resumeMode)
        GenPendingLabel(g);
    Jump(g, Top(g, 1).slot);
    Place(g, Top(g).slot);
    GenStatementLine(g);
    if (g.st.resumeMode)
        GenPendingLabel(g);
}

void GenElseIf(Gen &g) {
    ++g.cur;
    Jump(g, Top(g, 1).slot);
    Place(g, Top(g).slot);
    PopBlock(g);
    GenStatementLine(g);
    PushBlock(g, kBlkIf, 4);
    GenCondition(g, Top(g).slot, false);
}

void GenEndIf(Gen &g) {
    ++g.cur;
    const Block falseLabel = Top(g);
    if (Unplaced(g, falseLabel.slot))
        Place(g, falseLabel.slot);
    PopBlock(g);
    PushBlock(g, kBlkIfClose, 4);
    const Block close = Top(g);
    Jump(g, close.slot);
    Place(g, Top(g, 1).slot);
    GenStatementLine(g);
    Place(g, close.slot);
    PopBlock(g);
    PopBlock(g);
    MarkResumePending(g.st);
}

void GenSelect(Gen &g) {
    ++g.cur;
    // The holder takes the selector's value: 00 80 holder 20 00 expression.
    // A decimal holder takes it by the decimal store, so that it holds a
    // number and the cases compare with it by value, not as text.
    if (g.Kind(g.cur) == kTokStatement && g.Byte(g.cur, 1) == kStmLet) {
        ++g.cur;
        const int holder = IsGroupHead(g.Kind(g.cur)) ? g.cur + 1 : g.cur;
        if (g.Kind(holder) == kTokVar && g.Byte(holder, 1) == kTypeBcd)
            GenAssignment(g, kStmLetBcd);
        else
            GenLetAssignment(g);
    }
    PushBlock(g, kBlkSelect, 4); // end label
    PushBlock(g, kBlkSelect, 4); // next test
    Jump(g, Top(g).slot);
}

void GenCase(Gen &g) {
    ++g.cur;
    Jump(g, Top(g, 1).slot);
    Place(g, Top(g).slot);
    PopBlock(g);
    PushBlock(g, kBlkSelect, 4); // next test
    PushBlock(g, kBlkSelect, 4); // body
    const uint32_t body = Top(g).slot;
    const uint32_t next = Top(g, 1).slot;
    while (g.cur < g.ntok && g.Kind(g.cur) != kTokStatement) {
        if (g.Kind(g.cur) >= kTokValue && g.Kind(g.cur) <= kTokByRefParen)
            GenCondition(g, body, true);
        else
            ++g.cur;
    }
    Jump(g, next);
    Place(g, body);
    PopBlock(g);
}

void GenCaseElse(Gen &g) {
    ++g.cur;
    Jump(g, Top(g, 1).slot);
    Place(g, Top(g).slot);
}

void GenEndSelect(Gen &g) {
    ++g.cur;
    Place(g, Top(g, 1).slot);
    if (Unplaced(g, Top(g).slot))
        Place(g, Top(g).slot);
    PopBlock(g);
    PopBlock(g);
}

void GenExit(Gen &g) {
    ++g.cur;
    uint8_t which = kKwNone;
    if (g.Kind(g.cur) == kTokKeyword) {
        which = g.Byte(g.cur, 1);
        ++g.cur;
    }
    for (size_t n = g.blocks.size(); n-- > 0;) {
        const Block b = g.blocks[n];
        const bool match = which == kKwExitDo   ? b.kind == kBlkLoop
                           : which == kKwExitFor ? b.kind == kBlkCount
                                           : b.kind != kBlkLineIf && b.kind != kBlkIfClose;
        if (!match)
            continue;
        switch (b.kind) {
        case kBlkCount:
        case kBlkLoop: Jump(g, b.slot + 8); return;
        case kBlkWhile: Jump(g, b.slot + 4); return;
        case kBlkIf:
        case kBlkSelect:
            if (n > 0)
                Jump(g, g.blocks[n - 1].slot);
            return;
        default: return;
        }
    }
}

void GenContinue(Gen &g) {
    ++g.cur;
    for (size_t n = g.blocks.size(); n-- > 0;) {
        const Block b = g.blocks[n];
        if (b.kind == kBlkCount || b.kind == kBlkLoop) {
            Jump(g, b.slot + 4);
            return;
        }
        if (b.kind == kBlkWhile) {
            Jump(g, b.slot);
            return;
        }
    }
}

void GenWhile(Gen &g) {
    ++g.cur;
    PushBlock(g, kBlkWhile, 8);
    Place(g, Top(g).slot);
    GenCondition(g, Top(g).slot + 4, false);
}

void GenWend(Gen &g) {
    ++g.cur;
    const Block b = Top(g);
    Jump(g, b.slot);
    Place(g, b.slot + 4);
    PopBlock(g);
}

void GenDo(Gen &g) {
    const uint8_t code = g.Byte(g.cur, 1);
    ++g.cur;
    PushBlock(g, kBlkLoop, 12);
    const Block b = Top(g);
    Place(g, b.slot);
    Place(g, b.slot + 4);
    if (code == kStmDoWhile || code == kStmDoUntil)
        GenCondition(g, b.slot + 8, code == kStmDoUntil);
}

void GenLoop(Gen &g) {
    const uint8_t code = g.Byte(g.cur, 1);
    ++g.cur;
    const Block b = Top(g);
    if (code == kStmLoop) {
        Jump(g, b.slot);
    } else {
        Place(g, b.slot + 4);
        GenCondition(g, b.slot, code == kStmLoopWhile);
    }
    Place(g, b.slot + 8);
    PopBlock(g);
}

void GenForHead(Gen &g) { ++g.cur; }

// END takes the exit status; 0 when the statement carries none.
void GenEnd(Gen &g) {
    ++g.cur;
    const int start = g.cur;
    GenArgsForRoutine(g);
    if (g.cur == start)
        EmitPushImm(g.st, 0);
    EmitCallRuntime(g.st, "_$PsEND@4");
}

// 00 1F, 00 80 V 20 00 S (start), 00 80 V 20 00 B1{V step +} (step),
// B1{V end <= or >=} (test).
void GenForLoop(Gen &g) {
    auto &st = g.st;
    ++g.cur;
    if (g.Kind(g.cur) == kTokStatement && g.Byte(g.cur, 1) == kStmLet) {
        ++g.cur;
        GenLetAssignment(g);
    }
    // The step statement and the test group behind it.
    int step = -1, test = -1;
    if (g.Kind(g.cur) == kTokStatement && g.Byte(g.cur, 1) == kStmLet) {
        step = g.cur;
        int i = SkipFrom(g, step + 1); // the target group
        if (g.Kind(i) == kTokOperator)
            ++i;
        test = SkipFrom(g, i);
    } else {
        test = g.cur;
    }
    const int end = SkipFrom(g, test);

    PushBlock(g, kBlkCount, 12);
    const Block b = Top(g);
    Jump(g, b.slot);
    Place(g, b.slot + 4);
    if (step >= 0) {
        // The control variable and the step operand inside B1{V step +}.
        const int varTok = step + 2;
        int incr = SkipFrom(g, step + 1);
        if (g.Kind(incr) == kTokOperator)
            ++incr;
        const int stepOp = SkipFrom(g, incr + 1);
        const uint8_t vtype = g.Byte(varTok, 1);
        const bool intVar = vtype == kTypeInt || vtype == kTypeLng || vtype == kTypeByt;
        if (st.opt.overflowCheck && intVar) {
            g.cur = varTok;
            OperandDesc v;
            GenOperandAddress(g, v);
            PushVariableAddress(g, v);
            g.cur = stepOp;
            GenConvertCall(g, vtype, EvalOperand(g));
            EmitCallRuntime(st, vtype == kTypeInt   ? "_$PbAddInt@8"
                                : vtype == kTypeLng ? "_$PbAddLng@8"
                                                    : "_$PbAddByte@8");
        } else {
            g.cur = step + 1;
            GenLetAssignment(g);
        }
        if (st.opt.forNextMode == 2)
            Place(g, b.slot);
        const uint8_t sk = g.Kind(stepOp);
        const bool variableStep = sk == kTokVar || sk == kTokElement || sk == kTokArray;
        // The comparison operator of the test: 20 24 or 20 25 before BF.
        int opTok = -1;
        for (int i = test + 1; i < end; ++i)
            if (g.Kind(i) == kTokOperator && (g.Byte(i, 1) == kOpLe || g.Byte(i, 1) == kOpGe))
                opTok = i;
        if (variableStep && opTok >= 0) {
            // One test for a negative step, one for any other.
            uint8_t *op = const_cast<uint8_t *>(g.At(opTok)) + 1;
            const uint32_t negative = NewLabel(st);
            const uint32_t body = NewLabel(st);
            g.cur = stepOp;
            const uint8_t cls = EvalOperand(g);
            if (cls == kClsFloat) {
                EmitInsn(st, kFldz);
                EmitInsn(st, kFcompp);
                EmitInsn(st, kFstswAx);
                EmitByte(st, kSahf);
                EmitJumpIf(st, kJbe, negative, kTargetLabelSlot); // 0 > step
            } else {
                EmitInsn(st, kTestEax);
                EmitJumpIf(st, kJge, negative, kTargetLabelSlot);
            }
            *op = kOpLe;
            g.cur = test;
            GenCondition(g, b.slot + 8, false);
            Jump(g, body);
            Place(g, negative);
            *op = kOpGe;
            g.cur = test;
            GenCondition(g, b.slot + 8, false);
            Place(g, body);
        } else {
            g.cur = test;
            GenCondition(g, b.slot + 8, false);
        }
    }
    if (st.opt.forNextMode != 2)
        Place(g, b.slot);
    g.cur = end;
}

void GenNext(Gen &g) {
    ++g.cur;
    const Block b = Top(g);
    Jump(g, b.slot + 4);
    Place(g, b.slot + 8);
    PopBlock(g);
}

// ---- procedures --------------------------------------------------------------

std::string EntryName(Gen &g, uint32_t entry) {
    const auto &t = g.st.tables[ifile::kProcNameTable];
    if (uint64_t(entry) + 10 > t.size())
        CgFail(kErrRead, kDetailIntermediate);
    const uint32_t len = t[entry + 9];
    if (uint64_t(entry) + 10 + len > t.size())
        CgFail(kErrRead, kDetailIntermediate);
    return std::string(reinterpret_cast<const char *>(t.data() + entry + 10), len);
}

// Parameters get frame offsets from 4 upward; a function's result gets a
// slot of its own below the locals. Returns the argument bytes; frame is
// the frame size, rounded to 4.
uint16_t LayOutFrame(Gen &g, uint32_t entry, bool function, uint32_t &frame) {
    auto &tab = g.st.tables[ifile::kProcDebugTable];
    const uint32_t size = TableU32(g.st, ifile::kProcDebugTable, entry);
    if (uint64_t(entry) + 5 > tab.size())
        CgFail(kErrRead, kDetailIntermediate);
    const uint32_t end = entry + size;
    uint32_t p = entry + 5 + tab[entry + 4];
    const uint32_t rawFrame = TableU32(g.st, ifile::kProcDebugTable, p);
    if (uint64_t(p) + 5 > tab.size() || end > tab.size())
        CgFail(kErrRead, kDetailIntermediate);
    const uint32_t count = tab[p + 4];
    p += 5;
    frame = (rawFrame + 3) & ~3u;
    uint32_t offset = 4;
    for (uint32_t i = 0; i < count && p < end; ++i) {
        VarRecord r = ReadVarRecord(g.st, ifile::kProcDebugTable, p);
        const uint8_t cls = r.storageClass & 0x0F;
        const uint32_t bytes = cls == kStoreFrame && r.type == kTypeDbl ? 8 : 4;
        SetTableU32(g.st, ifile::kProcDebugTable, p + 2, offset);
        offset += bytes;
        p = r.next;
    }
    if (function && p < end) {
        VarRecord r = ReadVarRecord(g.st, ifile::kProcDebugTable, p);
        const uint32_t bytes = (TypeSize(r.type, r.typeRef) + 3) & ~3u;
        frame += bytes;
        SetTableU32(g.st, ifile::kProcDebugTable, p + 2, uint32_t(-int32_t(frame)));
    }
    return uint16_t(offset - 4);
}

void GenProcEntry(Gen &g) {
    auto &st = g.st;
    const int at = g.cur;
    const bool function = g.Byte(at, 1) == kStmFuncEntry;
    const uint32_t name = g.U32(at, 2);
    const uint32_t debug = g.U32(at, 6);
    const uint32_t data = g.U32(at, 10);
    ++g.cur;
    GenStatementLine(g);
    g.skipLabel = NewLabel(st);
    Jump(g, g.skipLabel);
    PushBlock(g, kBlkProc, 4);
    uint32_t frame = 0;
    g.argBytes = LayOutFrame(g, debug, function, frame);
    g.inProc = true;

    const std::string symbolName = EntryName(g, name);
    const bool isStatic = st.tables[ifile::kProcNameTable][name] == 2;
    const uint32_t symbol = isStatic ? DefineStaticFunction(st, symbolName, CurrentCodeOffset(st))
                                     : DefineFunction(st, symbolName, CurrentCodeOffset(st));
    SetTableU32(st, ifile::kProcNameTable, name + ifile::kProcEntrySlot, symbol);
    AddLineMark(st, symbol);
    if (!isStatic)
        AddExportDirective(st, symbolName);

    // Frame: EBP is the entry ESP, so parameters are at EBP+4 upward and
    // the locals below it; the runtime clears them.
    EmitMovRegReg(st, kEax, kEsp);
    if (frame != 0)
        EmitAddRegImm(st, kEsp, -int32_t(frame));
    EmitByte(st, kPushEbp);
    EmitMovRegReg(st, kEbp, kEax);
    EmitCallRuntime(st, Dll(g) ? "$PbDLLENTER" : "$PbSUBENTER");
    CallControlBlock(g);
    if (data != kNoData32)
        CallReadPointer(g, data);
    if (st.opt.debugInfo) {
        PushSectionAddr(g, kSecDataDa, debug);
        EmitCallRuntime(st, Dll(g) ? "_$PbSetDbgAutoSub@4" : "_$PbSetDbgAuto@4");
    }
}

// PARAM: the module routine's checked entry. Its caller (CALLS) pushed
// one address per parameter, the first deepest, so the parameters lie from
// EBP + 4 x count down to EBP + 4. $PbTypeCheck gets each parameter's word
// and default and fits the caller's arguments to them.
void GenCheckedEntry(Gen &g) {
    auto &st = g.st;
    const int at = g.cur;
    const uint32_t name = g.U32(at, 2);
    const uint32_t debug = g.U32(at, 6);
    const uint32_t defaults = g.U32(at, 10);
    const uint32_t data = g.U32(at, 14);
    ++g.cur;

    auto &tab = st.tables[ifile::kProcDebugTable];
    if (uint64_t(debug) + 5 > tab.size())
        CgFail(kErrRead, kDetailIntermediate);
    const uint32_t end = debug + TableU32(st, ifile::kProcDebugTable, debug);
    uint32_t p = debug + 5 + tab[debug + 4];
    if (uint64_t(p) + 5 > tab.size() || end > tab.size())
        CgFail(kErrRead, kDetailIntermediate);
    const uint32_t frame = (TableU32(st, ifile::kProcDebugTable, p) + 3) & ~3u;
    const uint32_t count = tab[p + 4];
    p += 5;
    std::vector<VarRecord> params;
    for (uint32_t i = 0; i < count && p < end; ++i) {
        VarRecord r = ReadVarRecord(st, ifile::kProcDebugTable, p);
        SetTableU32(st, ifile::kProcDebugTable, p + 2, 4 * (count - i));
        params.push_back(r);
        p = r.next;
    }
    g.checkedArgBytes = uint16_t(4 * params.size());

    st.hasCheckedEntry = true;
    st.checkedEntry = CurrentCodeOffset(st);
    const std::string symbolName = EntryName(g, name);
    const uint32_t symbol = DefineFunction(st, symbolName, CurrentCodeOffset(st));
    AddLineMark(st, symbol);
    AddExportDirective(st, symbolName);

    // The defaults: {u8 present, u8 type, value bytes when present} per
    // parameter, behind table 9's names.
    const auto &refs = st.tables[ifile::kLocalNameRefTable];
    uint32_t d = defaults;
    for (const VarRecord &r : params) {
        if (uint64_t(d) + 2 > refs.size())
            CgFail(kErrRead, kDetailIntermediate);
        const bool present = refs[d] != 0;
        const uint8_t type = refs[d + 1];
        d += 2;
        uint32_t word = r.type == kTypeFixStr ? kTypeStr : r.type;
        if (r.storageClass & ifile::kClassArray)
            word |= modcall::kRefArray;
        if (!present) {
            EmitPushImm(st, int32_t(word));
            EmitPushImm(st, 0);
            continue;
        }
        const int n = type == kTypeStr ? 4 : ifile::ConstantValueSize(type);
        if (n <= 0 || uint64_t(d) + uint32_t(n) > refs.size())
            CgFail(kErrRead, kDetailIntermediate);
        EmitPushImm(st, int32_t(word | modcall::kParamDefault));
        const uint8_t *v = refs.data() + d;
        d += uint32_t(n);
        switch (type) {
        case kTypeStr: PushSectionAddr(g, kSecDataCs, GetU32(v)); break;
        case kTypeInt: EmitPushImm(st, int16_t(GetU16(v))); break;
        case kTypeByt: EmitPushImm(st, v[0]); break;
        case kTypeDbl: {
            // Eight bytes do not fit a word: the address of the value.
            auto &pool = st.sec[kSecDataCn].image;
            const uint32_t off = uint32_t(pool.size());
            pool.insert(pool.end(), v, v + 8);
            EmitPushSymbolAddr(st, st.sec[kSecDataCn].symbol, off);
            break;
        }
        default: EmitPushImm(st, int32_t(GetU32(v))); break;
        }
    }
    EmitPushImm(st, int32_t(params.size()));
    EmitPushReg(st, kEsp);
    EmitCallRuntime(st, "$PbTypeCheck");

    EmitMovRegReg(st, kEax, kEsp);
    if (frame != 0)
        EmitAddRegImm(st, kEsp, -int32_t(frame));
    EmitByte(st, kPushEbp);
    EmitMovRegReg(st, kEbp, kEax);
    EmitCallRuntime(st, Dll(g) ? "$PbDLLENTER" : "$PbSUBENTER");
    if (st.opt.debugInfo) {
        PushSectionAddr(g, kSecDataDa, debug);
        EmitCallRuntime(st, Dll(g) ? "_$PbSetDbgAutoSub@4" : "_$PbSetDbgAuto@4");
    }
    CallControlBlock(g);
    if (data != kNoData32)
        CallReadPointer(g, data);
}

void GenProcEnd(Gen &g) {
    auto &st = g.st;
    const int at = g.cur;
    const bool function = g.Byte(at, 1) == kStmFuncEnd;
    const uint32_t result = function ? g.U32(at, 3) : 0;
    ++g.cur;
    const Block b = Top(g);
    Place(g, b.slot);
    PopBlock(g);
    if (function) {
        VarRecord r = ReadVarRecord(st, ifile::kProcDebugTable, result);
        const int32_t disp = int32_t(r.address);
        switch (r.type) {
        case kTypeInt: EmitMovsxEbp(st, kEax, disp); break;
        case kTypeLng:
        case kTypeValue4: EmitLoadEbp(st, kEax, disp); break;
        case kTypeSng:
        case kTypeDbl: EmitFpLoadEbp(st, r.type, disp); break;
        case kTypeByt: EmitLoadEbpByte(st, kEax, disp); break;
        default:
            EmitLeaEbp(st, kEbx, disp);
            EmitPushReg(st, kEbx);
            EmitCallRuntime(st, "_$PbFldFunc5@4");
            break;
        }
    }
    EmitCallRuntime(st, Dll(g) ? "$PbDLLLEAVE" : "$PbSUBLEAVE");
    EmitRet(st, g.argBytes);
    Place(g, g.skipLabel);
    g.inProc = false;
}

void GenProcExit(Gen &g) {
    ++g.cur;
    for (size_t n = g.blocks.size(); n-- > 0;)
        if (g.blocks[n].kind == kBlkProc) {
            Jump(g, g.blocks[n].slot);
            return;
        }
}

void GenCallStatement(Gen &g) { GenProcCall(g, g.cur, false, 0); }

// DEF FNname(params) = expression: a routine of its own behind a jump, with
// the parameters from EBP+8 upward, all by value, and the result converted
// to the function's type.
void GenDefFn(Gen &g) {
    auto &st = g.st;
    const int at = g.cur;
    const uint32_t entry = g.U32(at, 2);
    const uint32_t debug = g.U32(at, 6);
    ++g.cur;
    const uint32_t skip = NewLabel(st);
    Jump(g, skip);

    auto &tab = st.tables[ifile::kProcDebugTable];
    if (uint64_t(debug) + 5 > tab.size())
        CgFail(kErrRead, kDetailIntermediate);
    const uint32_t end = debug + TableU32(st, ifile::kProcDebugTable, debug);
    uint32_t p = debug + 5 + tab[debug + 4];
    if (uint64_t(p) + 5 > tab.size() || end > tab.size())
        CgFail(kErrRead, kDetailIntermediate);
    const uint32_t count = tab[p + 4];
    p += 5;
    std::vector<uint32_t> params;
    uint32_t offset = 8;
    for (uint32_t i = 0; i < count && p < end; ++i) {
        VarRecord r = ReadVarRecord(st, ifile::kProcDebugTable, p);
        SetTableU32(st, ifile::kProcDebugTable, p + 2, offset);
        offset += r.type == kTypeDbl ? 8 : 4;
        // A string comes as the address of its copy and is read through it.
        if (r.type < kTypeStr || r.type > kTypeFix)
            params.push_back(p);
        p = r.next;
    }
    const uint8_t resultType = p < end ? ReadVarRecord(st, ifile::kProcDebugTable, p).type : uint8_t(kTypeDbl);
    // A by-reference parameter is one by value here.
    for (int i = g.cur; i < g.ntok; ++i)
        if (g.Kind(i) == kTokVar && g.Byte(i, 2) == kStoreByRef &&
            std::find(params.begin(), params.end(), g.U32(i, 3)) != params.end())
            const_cast<uint8_t *>(g.At(i))[2] = kStoreFrame;

    SetTableU32(st, ifile::kProcNameTable, entry + ifile::kProcEntrySlot, CurrentCodeOffset(st));
    g.defFns.push_back(entry);
    EmitByte(st, kPushEbp);
    EmitMovRegReg(st, kEbp, kEsp);
    const uint8_t cls = g.cur < g.ntok ? GenGroupValue(g) : uint8_t(kClsInt);
    switch (resultType) {
    case kTypeInt:
        if (cls == kClsLng)
            EmitCallRuntime(st, "$PbCnvLtoI");
        else if (cls == kClsFloat)
            EmitCallRuntime(st, "$PbFstInt");
        break;
    case kTypeLng:
        if (cls == kClsFloat)
            EmitCallRuntime(st, "$PbFstLng");
        break;
    case kTypeSng:
    case kTypeDbl:
        if (cls == kClsInt)
            EmitCallRuntime(st, "$PbFldInt");
        else if (cls == kClsLng)
            EmitCallRuntime(st, "$PbFldLng");
        else if (cls == kClsByte)
            EmitCallRuntime(st, "$PbFldByte");
        break;
    case kTypeByt:
        if (cls == kClsInt)
            EmitCallRuntime(st, "$PbCnvItoUC");
        else if (cls == kClsLng)
            EmitCallRuntime(st, "$PbCnvLtoUC");
        else if (cls == kClsFloat)
            EmitCallRuntime(st, "$PbFstByte");
        break;
    default:
        break;
    }
    EmitByte(st, kPopEbp);
    EmitRet(st, uint16_t(offset - 8));
    Place(g, skip);
}

void GenLet(Gen &g) {
    ++g.cur;
    GenLetAssignment(g);
}

void GenSet(Gen &g) {
    const uint8_t code = g.Byte(g.cur, 1);
    ++g.cur;
    GenAssignment(g, code);
}

// ---- the statement table -------------------------------------------------------

struct StatementEntry {
    const char *routine;
    Generator gen;
};

const StatementEntry *LookUp(uint8_t code) {
    static const std::vector<StatementEntry> table = [] {
        std::vector<StatementEntry> t(0xD0, StatementEntry{nullptr, nullptr});
        auto gen = [&](int c, Generator f) { t[c].gen = f; };
        auto routine = [&](int c, const char *r) { t[c].routine = r; };
        gen(kStmLineLabel, GenLineLabels);
        gen(kStmLineNumber, GenLineLabels);
        gen(kStmIf, GenIf);
        gen(kStmElse, GenElse);
        gen(kStmElseIf, GenElseIf);
        gen(kStmEndIf, GenEndIf);
        gen(kStmSelect, GenSelect);
        gen(kStmCase, GenCase);
        gen(kStmCaseElse, GenCaseElse);
        gen(kStmEndSelect, GenEndSelect);
        gen(kStmLineIf, GenLineIf);
        gen(kStmExit, GenExit);
        gen(kStmEnd, GenEnd);
        gen(kStmForTest, GenForLoop);
        gen(kStmForHead, GenForHead);
        gen(kStmNext, GenNext);
        gen(kStmWhile, GenWhile);
        gen(kStmWend, GenWend);
        gen(kStmDo, GenDo);
        gen(kStmLoop, GenLoop);
        gen(kStmDoWhile, GenDo);
        gen(kStmDoUntil, GenDo);
        gen(kStmLoopWhile, GenLoop);
        gen(kStmLoopUntil, GenLoop);
        gen(kStmCheckedEntry, GenCheckedEntry);
        gen(kStmReturns, GenReturns);
        gen(kStmCalls, GenCalls);
        gen(kStmCallM, GenCallM);
        gen(kStmDefParm, GenDefParm);
        routine(kStmLoadM, "_$PsLOADM@0");
        routine(kStmDeleteM, "_$PsDELETEM@0");
        gen(kStmFuncEntry, GenProcEntry);
        gen(kStmFuncEnd, GenProcEnd);
        gen(kStmFuncExit, GenProcExit);
        gen(kStmSubEntry, GenProcEntry);
        gen(kStmSubEnd, GenProcEnd);
        gen(kStmSubExit, GenProcExit);
        gen(kStmCall, GenCallStatement);
        gen(kStmCallDll, GenCallStatement);
        gen(kStmDefFn, GenDefFn);
        routine(kStmDefLen, "_$PsDEF_LEN@8");
        gen(kStmDefLen, GenDefDecimal);
        routine(kStmDefBcd, "_$PsDEF_BCD@4");
        gen(kStmDefBcd, GenDefDecimal);
        routine(kStmBeep, "_$PsBEEP@0");
        routine(kStmStopI, "_$PsSTOPI@0");
        routine(kStmWaitI, "_$PsWAITI@0");
        gen(kStmContinue, GenContinue);
        const std::pair<StmCode, const char *> generic[] = {
            {kStmStop, "_$PsSTOP@0"},
            {kStmError, "_$PsERROR@4"},
            {kStmInterval, "_$PsINTERVAL@4"},
            {kStmTime, "_$PsTIME@0"},
            {kStmBaud, "_$PsBAUD@8"},
            {kStmKey, "_$PsKEY@4"},
            {kStmCls, "_$PsCLS@8"},
            {kStmRandomize, "_$PaRandomize@4"},
            {kStmRun, "_$PsRUN@0"},
            {kStmWait, "_$PsWAIT@4"},
            {kStmStopOnOff, "_$PsSTOP_ON_OFF@4"},
            {kStmTroff, "_$PsTROFF@0"},
            {kStmTron, "_$PsTRON@0"},
            {kStmKill, "_$PsKILL@0"},
            {kStmName, "_$PsNAME@0"},
        };
        for (auto [c, r] : generic)
            routine(c, r);
        gen(kStmGoto, GenGoto);
        gen(kStmGosub, GenGosub);
        gen(kStmOnGoto, GenOnJump);
        gen(kStmOnGosub, GenOnJump);
        gen(kStmRestore, GenRestore);
        gen(kStmReturn, GenReturn);
        gen(kStmResume, GenResume);
        routine(kStmOnErrorGoto, "$PsON_ERROR_GOTO");
        routine(kStmOnIntervalGosub, "_$PsON_INTERVAL_GOSUB@4");
        routine(kStmOnTimeGosub, "_$PsON_TIME_GOSUB@4");
        routine(kStmOnComGosub, "_$PsON_COM_GOSUB@8");
        routine(kStmOnKeyGosub, "_$PsON_KEY_GOSUB@8");
        routine(kStmOnMouseGosub, "_$PsON_MOUSE_GOSUB@8");
        routine(kStmIntervalOnOff, "_$PsINTERVAL_ON_OFF_STOP@4");
        routine(kStmTimeOnOff, "_$PsTIME_ON_OFF_STOP@4");
        routine(kStmComOnOff, "_$PsCOM_ON_OFF_STOP@8");
        routine(kStmKeyOnOff, "_$PsKEY_ON_OFF_STOP@8");
        routine(kStmMouseOnOff, "_$PsMOUSE_ON_OFF_STOP@8");
        gen(kStmLet, GenLet);
        gen(kStmLetBcd, GenSet);
        gen(kStmLset, GenSet);
        gen(kStmRset, GenSet);
        routine(kStmMid, "_$PsMID@12");
        gen(kStmMid, GenMidStatement);
        gen(kStmSwap, GenSwap);
        gen(kStmDim, GenDim);
        routine(kStmErase, "_$PsERASE@4");
        gen(kStmErase, GenErase);
        routine(kStmRead, "_$PsREAD@4");
        gen(kStmRead, GenRead);
        gen(kStmLineInput, GenInput);
        gen(kStmInput, GenInput);
        routine(kStmPrintUsing, "_$PsPRINT_USINGs@4");
        gen(kStmPrintUsing, GenPrint);
        routine(kStmPrint, "_$PsPRINTs@4");
        gen(kStmPrint, GenPrint);
        routine(kStmWrite, "_$PsWRITEs@4");
        gen(kStmWrite, GenPrint);
        gen(kStmConsole, GenOptional);
        gen(kStmShell, GenOptional);
        gen(kStmColor, GenOptional);
        gen(kStmLocate, GenOptional);
        gen(kStmWidthScreen, GenOptional);
        routine(kStmWidthDevice, "_$PsWIDTH2@4");
        routine(kStmTruncate, "_$PsTRUNCATE@4");
        gen(kStmLock, GenLockRange);
        gen(kStmUnlock, GenLockRange);
        routine(kStmWidthFile, "_$PsWIDTH1@8");
        gen(kStmLineInputFile, GenInput);
        gen(kStmInputFile, GenInput);
        routine(kStmPrintFileUsing, "_$PsPRINT23USINGs@4");
        gen(kStmPrintFileUsing, GenPrint);
        routine(kStmPrintFile, "_$PsPRINT23s@4");
        gen(kStmPrintFile, GenPrint);
        routine(kStmWriteFile, "_$PsWRITE23s@4");
        gen(kStmWriteFile, GenPrint);
        routine(kStmUpdate, "_$PsUPDATE@4");
        gen(kStmGet, GenRecordIo);
        gen(kStmPut, GenRecordIo);
        gen(kStmField, GenField);
        routine(kStmOpen, "_$PsOPEN1@20");
        routine(kStmOpenShort, "_$PsOPEN2@4");
        gen(kStmClose, GenClose);
        gen(kStmFread, GenFileData);
        gen(kStmFwrite, GenFileData);
        routine(kStmSeek, "_$PsSEEK@12");
        routine(kStmLprintUsing, "_$PsLPRINT_USINGs@0");
        gen(kStmLprintUsing, GenPrint);
        routine(kStmLprint, "_$PsLPRINTs@0");
        gen(kStmLprint, GenPrint);
        routine(kStmLprintType, "_$PsLPRINT_TYPE@0");
        routine(kStmWidthLprint, "_$PsWIDTH_LPRINT@4");
        for (int c : {kStmColorAt, kStmWindow, kStmPalette, kStmPaletteRgb, kStmSymbol, kStmGetAt, kStmPutAt,
                      kStmPoint, kStmView, kStmPreset, kStmPset, kStmLine, kStmCircle, kStmConnect, kStmPaint,
                      kStmAxis})
            gen(c, GenGraphics);
        return t;
    }();
    return code < table.size() ? &table[code] : nullptr;
}

const char *LineRoutine(const Gen &g) {
    const bool debug = g.st.opt.debugInfo != 0;
    if (g.st.opt.buildMode == 2)
        return debug ? "_$PbSetCurLineSubDbg@4" : "_$PbSetCurLineSub@4";
    return debug ? "_$PbSetCurLineDbg@4" : "_$PbSetCurLine@4";
}

void GenModuleEnd(Gen &g) {
    auto &st = g.st;
    GenPendingLabel(g);
    if (st.hasCheckedEntry) {
        EmitPushImm(st, 0);
        EmitPushImm(st, g.checkedArgBytes);
        EmitCallRuntime(st, "$PsRETURNS");
    } else {
        EmitRet(st, 0);
    }
    CloseLabelChainIfTrap(st, CurrentCodeOffset(st));
}

bool NoLinePrologue(uint8_t code) {
    return code == kStmLineLabel || code == kStmLineNumber || code == kStmFuncEntry || code == kStmSubEntry;
}

} // namespace

// ---- the pass ---------------------------------------------------------------------

void GenPendingLabel(Gen &g) {
    auto &st = g.st;
    if (st.labelPending) {
        PlaceLabel(st, st.pendingLabel);
        st.labelPending = false;
    }
    if (st.resumeMode)
        EmitPushResumeLink(st);
    if (st.checkRoutine)
        EmitCallRuntime(st, st.checkRoutine);
}

void GenStatementLine(Gen &g) {
    GenPendingLabel(g);
    EmitPushImm(g.st, g.st.curLine);
    AddLineEntry(g.st, g.st.curLine);
    EmitCallRuntime(g.st, LineRoutine(g));
}

void DispatchStatement(Gen &g) {
    const int start = g.cur;
    int prefix = -1;
    if (g.Kind(g.cur) == kTokGroup) {
        prefix = g.cur;
        SkipOperand(g);
    }
    if (g.cur >= g.ntok)
        return;
    if (g.Kind(g.cur) != kTokStatement) {
        ++g.cur;
    } else {
        const uint8_t code = g.Byte(g.cur, 1);
        const StatementEntry *e = LookUp(code);
        if (e && e->gen) {
            g.prefix = prefix;
            e->gen(g);
            g.prefix = -1;
        } else if (!e || !e->routine) {
            // A code with neither generator nor routine would push its
            // operands and call nothing.
            CgFail(kErrInternal);
        } else {
            ++g.cur;
            GenArgsForRoutine(g);
            if (prefix >= 0) {
                const int after = g.cur;
                g.cur = prefix + 1;
                if (g.Kind(g.cur) == kTokConstant || g.Kind(g.cur) == kTokGroupEnd) {
                    EmitPushImm(g.st, 0);
                } else {
                    OperandDesc d;
                    GenOperandAddress(g, d);
                    PushVariableAddress(g, d);
                }
                g.cur = after;
            } else if (ifile::TakesWindowWord(code)) {
                // The routine takes the word even when the statement names
                // no window.
                EmitPushImm(g.st, 0);
            }
            if (e && e->routine)
                EmitCallRuntime(g.st, e->routine);
        }
    }
    // Whatever a generator left of its statement is skipped, so the pass
    // always moves on.
    if (g.cur <= start)
        g.cur = start + 1;
    while (g.cur < g.ntok && g.Kind(g.cur) != kTokStatement)
        ++g.cur;
}

void GenProcCall(Gen &g, int at, bool inExpression, uint8_t resultType) {
    auto &st = g.st;
    const uint8_t k = g.Kind(at);
    uint8_t form = 0;
    uint32_t entry = 0;
    if (k == kTokStatement) {
        form = g.Byte(at, 2);
        entry = g.U32(at, 3);
    } else if (k == kTokOwnFunc) {
        entry = g.U32(at, 2);
    } else {
        form = g.Byte(at, 2);
        entry = g.U32(at, 3);
    }
    const uint16_t outer = g.temps;
    g.temps = 0;
    g.cur = at + 1;
    const uint32_t bytes = PushCallArgs(g, form, !inExpression);
    if (k == kTokStatement && g.Byte(at, 1) == kStmCallDll) {
        // A routine of a library named at run time.
        PushSectionAddr(g, kSecDataCs, g.U32(at, 3));
        PushSectionAddr(g, kSecDataCs, g.U32(at, 7));
        EmitCallRuntime(st, "$PbCallDll");
    } else if (k == kTokLibFunc) {
        PushSectionAddr(g, kSecDataCs, g.U32(at, 3));
        PushSectionAddr(g, kSecDataCs, g.U32(at, 7));
        EmitCallRuntime(st, "$PbCallDll");
    } else if (st.tables[ifile::kProcNameTable].size() > entry && st.tables[ifile::kProcNameTable][entry] == 1) {
        EmitCallRuntime(st, EntryName(g, entry));
    } else if (std::find(g.defFns.begin(), g.defFns.end(), entry) != g.defFns.end()) {
        EmitCallLocal(st, entry);
    } else {
        EmitCallProc(st, entry);
    }
    if (form == 1 && bytes != 0)
        EmitAddRegImm(st, kEsp, int32_t(bytes));
    if (g.temps != 0) {
        const bool keepEax = inExpression && (resultType == kTypeInt || resultType == kTypeLng ||
                                              resultType == kTypeByt || resultType == kTypeValue4);
        if (keepEax)
            EmitPushReg(st, kEax);
        EmitPushImm(st, g.temps);
        EmitCallRuntime(st, "_$PbDelTmpAdr@4");
        if (keepEax)
            EmitPopReg(st, kEax);
    }
    g.temps = outer;
}

void GenerateStatements(CgState &st) {
    Gen g(st);
    if (st.mainModule) {
        AddLineMark(st, st.entrySymbol);
        if (st.opt.buildMode == 1) {
            PushSectionAddr(g, kSecDataMc, 0);
            EmitCallRuntime(st, "_$PbSetMcbMain@4");
        }
        CallControlBlock(g);
        if (st.ir.tableSize[ifile::kDataItemTable] != 0)
            CallReadPointer(g, 0);
    }
    if (std::fseek(st.pcode, long(ifile::kStreamOffset), SEEK_SET) != 0)
        CgFail(kErrRead, kDetailIntermediate);
    // Every record is read into this buffer, with zero bytes behind it so
    // that no token read can leave it.
    std::vector<uint8_t> record(64);
    uint32_t consumed = 0;
    for (;;) {
        uint8_t head[2];
        if (std::fread(head, 1, 2, st.pcode) != 2)
            CgFail(kErrRead, kDetailIntermediate);
        const uint16_t length = GetU16(head);
        if (length == 0) {
            // The end mark, a u32 0, closes the stream exactly at its size.
            if (std::fread(head, 1, 2, st.pcode) != 2 || GetU16(head) != 0 ||
                uint64_t(consumed) + 4 != st.ir.streamSize)
                CgFail(kErrRead, kDetailIntermediate);
            break;
        }
        consumed += length;
        if (length < 6 || consumed > st.ir.streamSize)
            CgFail(kErrRead, kDetailIntermediate);
        const size_t rest = length - 2u;
        if (record.size() < rest + 32)
            record.resize(rest + 32);
        std::fill(record.begin(), record.end(), 0);
        if (std::fread(record.data(), 1, rest, st.pcode) != rest)
            CgFail(kErrRead, kDetailIntermediate);
        st.curLine = GetU16(record.data());
        const uint8_t *p = record.data() + 2;
        const uint8_t *end = record.data() + rest;
        if (!(p[0] == kTokStatement && NoLinePrologue(p[1])))
            GenStatementLine(g);
        if (p[0] == kTokRecordEnd)
            continue;
        for (;;) {
            const uint8_t *term = DecodeStatement(g, p, end);
            while (g.cur < g.ntok)
                DispatchStatement(g);
            if (*term != kTokSeparator)
                break;
            GenPendingLabel(g);
            p = term + 2;
        }
    }
    GenModuleEnd(g);
    if (st.mainModule && st.opt.debugInfo)
        GenDebugEntries(st);
}

} // namespace txcg
