// Assignment: LET with its target's store by class, immediate stores of
// constants, and LSET, RSET and the decimal store.
#include <algorithm>
#include <cstring>
#include <vector>

#include "cg_bytes.h"
#include "cg_fixup.h"
#include "cg_gen.h"
#include "cg_operand.h"
#include "cg_tables.h"
#include "tokens.h"

namespace txcg {

// ---- assignment -------------------------------------------------------------------

namespace {

// A target whose element address was pushed before the source was
// evaluated.
struct Target {
    OperandDesc d;
    bool pushed = false;
};

Mem TargetMem(Gen &g, const Target &t) {
    if (t.pushed) {
        EmitPopReg(g.st, kEbx);
        return {kMemEbx, 0, 0};
    }
    return PrepareMem(g, t.d, true);
}

void StoreClass(Gen &g, const Target &t, uint8_t cls) {
    auto &st = g.st;
    const bool check = st.opt.overflowCheck != 0;
    const uint8_t type = t.d.type;
    if (IsPushedClass(cls)) {
        EmitPopReg(st, kEax);
        cls = Unpushed(cls);
    }
    if (cls == kClsStr) {
        if (type == kTypeFixStr) {
            if (t.pushed) {
                EmitPopReg(st, kEbx);
                EmitPushImm(st, int32_t(t.d.strLength));
                EmitPushReg(st, kEbx);
            } else {
                EmitPushImm(st, int32_t(t.d.strLength));
                PushVariableAddress(g, t.d);
            }
            EmitCallRuntime(st, "_$PbStVarStr@8");
        } else {
            if (!t.pushed)
                PushVariableAddress(g, t.d);
            EmitCallRuntime(st, "_$PbStVar5@4");
        }
        return;
    }
    if (!IsNumericType(type)) {
        // A value of the wrong family: drop it, keep the stacks balanced.
        if (t.pushed)
            EmitPopReg(st, kEbx);
        return;
    }
    const uint8_t fpType = type == kTypeValue4 ? uint8_t(kTypeLng) : type;
    if (cls == kClsFloat) {
        FpStore(g, TargetMem(g, t), fpType);
        if (type == kTypeSng || type == kTypeDbl)
            GenErrSetCall(g);
        return;
    }
    switch (fpType) {
    case kTypeInt:
        if (cls == kClsLng && check)
            EmitCallRuntime(st, "$PbCnvLtoI");
        IntStore(g, TargetMem(g, t), kTypeInt);
        return;
    case kTypeLng:
        IntStore(g, TargetMem(g, t), kTypeLng);
        return;
    case kTypeByt:
        if (cls == kClsInt && check)
            EmitCallRuntime(st, "$PbCnvItoUC");
        else if (cls == kClsLng && check)
            EmitCallRuntime(st, "$PbCnvLtoUC");
        IntStore(g, TargetMem(g, t), kTypeByt);
        return;
    default:
        EmitCallRuntime(st, FldRoutine(cls));
        FpStore(g, TargetMem(g, t), fpType);
        GenErrSetCall(g);
        return;
    }
}

void ImmStore(Gen &g, const Mem &m0, uint8_t type, const uint8_t *v) {
    auto &st = g.st;
    Mem m = m0;
    if (m.mode == kMemAbs) {
        EmitMovRegSymbol(st, kEbx, m.symbol, uint32_t(m.disp));
        m = {kMemEbx, 0, 0};
    }
    const bool frame = m.mode == kMemFrame;
    auto put32 = [&](int32_t off, uint32_t x) {
        frame ? EmitMovEbpImm32(st, m.disp + off, x) : EmitMovEbxImm32(st, off, x);
    };
    switch (type) {
    case kTypeInt:
        frame ? EmitMovEbpImm16(st, m.disp, GetU16(v)) : EmitMovEbxImm16(st, 0, GetU16(v));
        break;
    case kTypeByt:
        frame ? EmitMovEbpImm8(st, m.disp, v[0]) : EmitMovEbxImm8(st, 0, v[0]);
        break;
    case kTypeDbl:
        put32(4, GetU32(v + 4));
        put32(0, GetU32(v));
        break;
    default:
        put32(0, GetU32(v));
        break;
    }
}

void StoreFromOperand(Gen &g, const Target &t) {
    auto &st = g.st;
    const int i = g.cur;
    const uint8_t k = g.Kind(i);
    const uint8_t type = t.d.type;
    if (k == kTokConstant) {
        const uint8_t ct = g.Byte(i, 1);
        if (ct == type && ct <= kTypeByt) {
            ImmStore(g, TargetMem(g, t), type, g.At(i) + 2);
            ++g.cur;
            return;
        }
        if (type == kTypeStr && !t.pushed && (ct == kTypeStr || ct == kTypeFixStr || ct == 65)) {
            if (ct == kTypeStr) {
                EmitPushSymbolAddr(st, st.sec[kSecDataCs].symbol, g.U32(i, 2));
                PushVariableAddress(g, t.d);
                EmitCallRuntime(st, "_$PbSetVar5@8");
            } else {
                PushVariableAddress(g, t.d);
                EmitCallRuntime(st, "_$PbSetVarNull@4");
            }
            ++g.cur;
            return;
        }
    } else if (type == kTypeRecord && (k == kTokVar || k == kTokElement || k == kTokArray)) {
        // Record from record: a byte copy of the smaller size.
        OperandDesc s;
        GenOperandAddress(g, s);
        if (s.type == kTypeRecord) {
            LoadVariableAddress(g, s, kEsi);
            if (t.pushed)
                EmitPopReg(st, kEdi);
            else
                LoadVariableAddress(g, t.d, kEdi);
            EmitMovRegImm(st, kEcx, std::min(t.d.typeSize, s.typeSize));
            EmitByte(st, kCld);
            EmitInsn(st, kRepMovsb);
            return;
        }
        if (t.pushed)
            EmitPopReg(st, kEbx);
        return;
    } else if (k == kTokVar && !t.pushed) {
        const int saved = g.cur;
        OperandDesc s;
        GetOperandDesc(g, s);
        if (s.type == kTypeStr && type == kTypeStr) {
            PushVariableAddress(g, s);
            PushVariableAddress(g, t.d);
            EmitCallRuntime(st, "_$PbMovVar5@8");
            return;
        }
        if (s.type == type && (type == kTypeInt || type == kTypeLng || type == kTypeSng ||
                               type == kTypeByt || type == kTypeValue4)) {
            const uint8_t as = type == kTypeSng ? uint8_t(kTypeLng) : type;
            IntLoad(g, PrepareMem(g, s, false), as, kEax);
            IntStore(g, PrepareMem(g, t.d, true), as);
            return;
        }
        g.cur = saved;
    }
    StoreClass(g, t, EvalOperand(g));
}

} // namespace

void GenStoreClass(Gen &g, const OperandDesc &target, uint8_t cls) {
    Target t;
    t.d = target;
    StoreClass(g, t, cls);
}

void GenLetAssignment(Gen &g) {
    auto &st = g.st;
    Target t;
    // The target group.
    if (IsGroupHead(g.Kind(g.cur)))
        ++g.cur;
    const uint8_t k = g.Kind(g.cur);
    if (!(k == kTokVar || k == kTokElement || k == kTokArray))
        return;
    GenOperandAddress(g, t.d);
    if (t.d.computed) {
        EmitPushReg(st, kEax);
        t.pushed = true;
        t.d.computed = false;
    }
    while (g.cur < g.ntok && g.Kind(g.cur) != kTokExprEnd && g.Kind(g.cur) != kTokOperator)
        SkipOperand(g);
    if (g.Kind(g.cur) == kTokExprEnd)
        ++g.cur;
    if (g.Kind(g.cur) == kTokOperator)
        ++g.cur;
    // The source.
    const uint8_t s = g.Kind(g.cur);
    if (s == kTokExpression || s == kTokByRefExpr) {
        StoreClass(g, t, GenExpression(g));
        return;
    }
    if (IsGroupHead(s)) {
        ++g.cur;
        if (g.Kind(g.cur) != kTokExprEnd)
            StoreFromOperand(g, t);
        else if (t.pushed)
            EmitPopReg(st, kEbx);
        while (g.cur < g.ntok && g.Kind(g.cur) != kTokExprEnd)
            SkipOperand(g);
        if (g.cur < g.ntok)
            ++g.cur;
        return;
    }
    if (g.cur < g.ntok) {
        StoreFromOperand(g, t);
        return;
    }
    if (t.pushed)
        EmitPopReg(st, kEbx);
}

// LSET, RSET and the decimal store: the target's address (and a fixed
// string's length) first, then the value, then the routine.
void GenAssignment(Gen &g, uint8_t code) {
    auto &st = g.st;
    int i = g.cur;
    if (i < g.ntok && g.Kind(i) >= kTokValue && g.Kind(i) <= kTokByRefParen)
        ++i;
    const uint8_t k = g.Kind(i);
    if (!(k == kTokVar || k == kTokElement || k == kTokArray))
        return;
    if (MeasureExpression(g, i) == kTypeRecord) {
        GenLetAssignment(g);
        return;
    }
    g.cur = i;
    OperandDesc d;
    GenOperandAddress(g, d);
    const bool fixed = d.type == kTypeFixStr;
    if (fixed)
        EmitPushImm(st, int32_t(d.strLength));
    PushVariableAddress(g, d);
    while (g.cur < g.ntok && g.Kind(g.cur) != kTokExprEnd && g.Kind(g.cur) != kTokOperator)
        SkipOperand(g);
    if (g.Kind(g.cur) == kTokExprEnd)
        ++g.cur;
    if (g.Kind(g.cur) == kTokOperator)
        ++g.cur;
    if (code == kStmLetBcd && g.cur < g.ntok && g.Kind(g.cur) == kTokExpression)
        GenBcdExpression(g);
    else if (g.cur < g.ntok)
        GenGroupValue(g);
    const char *routine = code == kStmLetBcd ? "_$PbStVarBcd@4"
                              : code == kStmLset ? (fixed ? "_$PbStVarStr@8" : "_$PsLSET@4")
                                         : (fixed ? "_$PbStVarStrR@8" : "_$PsRSET@4");
    EmitCallRuntime(st, routine);
}

} // namespace txcg
