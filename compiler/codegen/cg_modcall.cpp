// The module calls: RETURNS of a module routine, CALLS with its typed
// reference list, CALLM of a routine in a module loaded at run time. The
// module routine's checked entry is with the other procedure entries in
// cg_mainpass.cpp.
#include "cg_fixup.h"
#include "cg_gen.h"
#include "cg_tables.h"
#include "modcall.h"

namespace txcg {

namespace {

bool Dll(const Gen &g) { return g.st.opt.buildMode == 2; }

// One typed reference: a variable (or array) by its own address, anything
// else through a temporary: a string's, or a double's for every number.
void PushTypedReference(Gen &g) {
    auto &st = g.st;
    const int i = g.cur;
    const uint8_t k = g.Kind(i);
    if (k == kTokKeyword) {
        ++g.cur;
        EmitPushImm(st, int32_t(modcall::kRefOmitted));
        EmitPushImm(st, 0);
        return;
    }
    if (k == kTokByRef) {
        const uint8_t ok = g.Kind(i + 1);
        if (ok == kTokArrayAddr) {
            const uint8_t type = g.Byte(i + 1, 1);
            ++g.cur;
            EvalOperand(g); // the control record's address in EAX
            while (g.cur < g.ntok && g.Kind(g.cur) != kTokExprEnd && g.Kind(g.cur) != kTokStatement) ++g.cur;
            if (g.Kind(g.cur) == kTokExprEnd) ++g.cur;
            EmitPushImm(st, int32_t(modcall::kRefArray | (type >= kTypeStr && type <= kTypeFix ? kTypeStr : type)));
            EmitPushReg(st, kEax);
            return;
        }
        if (ok == kTokVar || ok == kTokElement || ok == kTokArray) {
            const uint8_t type = g.Byte(i + 1, 1);
            if (type <= kTypeByt || type == kTypeStr || type == kTypeObject) {
                ++g.cur;
                OperandDesc d;
                GenOperandAddress(g, d);
                if (d.computed)
                    EmitPushReg(st, kEax);
                EmitPushImm(st, int32_t(type));
                if (d.computed) {
                    // The element's address was computed before the type
                    // word went on: swap them into place.
                    EmitPopReg(st, kEax);
                    EmitPopReg(st, kEcx);
                    EmitPushReg(st, kEax);
                    EmitPushReg(st, kEcx);
                } else {
                    PushVariableAddress(g, d);
                }
                while (g.cur < g.ntok && g.Kind(g.cur) != kTokExprEnd && g.Kind(g.cur) != kTokStatement) ++g.cur;
                if (g.Kind(g.cur) == kTokExprEnd) ++g.cur;
                return;
            }
        }
    }
    const uint8_t cls = GenGroupValue(g);
    if (cls == kClsStr) {
        EmitCallRuntime(st, "_$PbTmpAdr5@0");
        EmitPushImm(st, kTypeStr);
    } else {
        GenConvertCall(g, kTypeDbl, cls);
        EmitCallRuntime(st, "_$PbTmpAdr8@0");
        EmitPushImm(st, int32_t(modcall::kRefDouble));
    }
    ++g.temps;
    EmitPushReg(st, kEax);
}

} // namespace

void GenArgCount(Gen &g) {
    uint32_t count = 0;
    while (g.cur < g.ntok && g.Kind(g.cur) != kTokStatement) {
        const uint8_t k = g.Kind(g.cur);
        if (k != kTokKeyword && !IsGroupHead(k)) {
            ++g.cur;
            continue;
        }
        PushTypedReference(g);
        ++count;
    }
    EmitPushImm(g.st, int32_t(count));
}

// RETURNS value: the value and the entry's argument bytes to $PsRETURNS,
// which leaves the module routine.
void GenReturns(Gen &g) {
    ++g.cur;
    GenArgsForRoutine(g);
    EmitPushImm(g.st, g.checkedArgBytes);
    EmitCallRuntime(g.st, "$PsRETURNS");
}

// CALLS target [(references)]: the target's name on the string stack, the
// list on the machine stack; the runtime removes the list, and the
// temporaries of the list go after the call.
void GenCalls(Gen &g) {
    auto &st = g.st;
    ++g.cur;
    GenRoutineArg(g);
    const uint16_t outer = g.temps;
    g.temps = 0;
    if (g.Kind(g.cur) == kTokParamBlock) {
        EmitPushLabelAddr(st, g.U32(g.cur, 2), kTargetLocalRef);
        ++g.cur;
        EmitCallRuntime(st, "$PbDEF_PARM_INI");
    } else {
        GenArgCount(g);
    }
    EmitCallRuntime(st, "_$PsCALLS@0");
    EmitCallRuntime(st, "_$PbDelTmpAdrPcb@0");
    g.temps = outer;
}

// DEF PARM *block, references: the list is built by code of its own,
// jumped over here, whose address CALLS hands to $PbDEF_PARM_INI; it ends
// in $PbDEF_PARM, which goes back to that CALLS with the list pushed.
void GenDefParm(Gen &g) {
    auto &st = g.st;
    ++g.cur;
    const uint32_t skip = NewLabel(st);
    EmitJump(st, skip, kTargetLabelSlot);
    if (g.Kind(g.cur) != kTokParamBlock)
        CgFail(kErrInternal);
    const uint32_t entry = g.U32(g.cur, 2);
    ++g.cur;
    SetTableU32(st, ifile::kLocalNameRefTable, entry + ifile::kProcEntrySlot, CurrentCodeOffset(st));
    const uint16_t outer = g.temps;
    GenArgCount(g);
    g.temps = outer; // released after the CALLS that uses the list
    EmitCallRuntime(st, "$PbDEF_PARM");
    PlaceLabel(st, skip);
}

// CALLM module, routine [, arguments]: the two names on the string stack,
// the arguments (strings as their text) and their byte count; the
// routine's EAX becomes RTN.
void GenCallM(Gen &g) {
    auto &st = g.st;
    ++g.cur;
    GenRoutineArg(g);
    GenRoutineArg(g);
    const uint16_t outer = g.temps;
    g.temps = 0;
    const uint32_t bytes = GenArgListTmp(g);
    EmitPushImm(st, int32_t(bytes));
    EmitCallRuntime(st, "$PsCALLM");
    EmitPushReg(st, kEax);
    EmitCallRuntime(st, Dll(g) ? "_$PbSetRtnSub@4" : "_$PbSetRtn@4");
    if (g.temps != 0) {
        EmitPushImm(st, g.temps);
        EmitCallRuntime(st, "_$PbDelTmpAdr@4");
    }
    g.temps = outer;
}

} // namespace txcg
