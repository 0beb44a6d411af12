// Argument lists: the arguments of runtime statement routines and intrinsic
// functions (one-word values pushed, doubles in ST0, strings on the string
// stack) and those of procedure calls (every value on the machine stack,
// strings and by-reference operands as addresses).
#include <vector>

#include "cg_bytes.h"
#include "cg_gen.h"

namespace txcg {

namespace {

bool IsGroupHead(uint8_t k) { return k >= 0xB0 && k <= 0xB4; }

const char *FldRoutine(uint8_t cls) {
    return cls == kClsInt ? "$PbFldInt" : cls == kClsByte ? "$PbFldByte" : "$PbFldLng";
}

// The value of a keyword item {10, x}.
int32_t KeywordValue(uint8_t x) {
    static const int8_t k3[] = {1, 2, 3, 4, 5, 6, 7, 1, 2, 3, 4, 8, 9, 10, 11};
    static const int8_t k8[] = {2, 3, 4, 5, 0, 1};
    static const int8_t k9[] = {0, 1, 1, 2, 0};
    if (x == 0x09)
        return 1;
    if (x >= 0x10 && x <= 0x12)
        return x - 0x10;
    if (x >= 0x30 && x <= 0x3E)
        return k3[x - 0x30];
    if (x >= 0x80 && x <= 0x85)
        return k8[x - 0x80];
    if (x >= 0x90 && x <= 0x94)
        return k9[x - 0x90];
    if (x >= 0xA0 && x <= 0xA6)
        return x - 0xA0;
    return 0;
}

int32_t ConstantWord(Gen &g, int i) {
    const uint8_t *v = g.At(i) + 2;
    switch (g.Byte(i, 1)) {
    case kTypeInt:
    case 8: return int16_t(GetU16(v));
    case kTypeByt: return v[0];
    default: return int32_t(GetU32(v));
    }
}

// Puts a value of a class into ST0.
void ToSt0(Gen &g, uint8_t cls) {
    if (cls != kClsFloat && cls != kClsStr)
        EmitCallRuntime(g.st, FldRoutine(cls));
}

void SkipGroupRest(Gen &g) {
    while (g.cur < g.ntok && g.Kind(g.cur) != 0xBF)
        SkipOperand(g);
    if (g.cur < g.ntok)
        ++g.cur;
}

} // namespace

void GenConvertCall(Gen &g, uint8_t type, uint8_t cls) {
    auto &st = g.st;
    const bool check = st.opt.overflowCheck != 0;
    if (cls == kClsStr)
        return;
    switch (type) {
    case kTypeInt:
    case 8:
        if (cls == kClsLng && check)
            EmitCallRuntime(st, "$PbCnvLtoI");
        else if (cls == kClsFloat)
            EmitCallRuntime(st, type == 8 ? "_$PbFstUInt@0" : "$PbFstInt");
        else if (cls == kClsByte)
            EmitAndEaxMask(st, 0xFF);
        break;
    case kTypeLng:
    case kTypeValue4:
    case 9:
        if (cls == kClsFloat)
            EmitCallRuntime(st, type == 9 ? "_$PbFstULng@0" : "$PbFstLng");
        else if (cls == kClsByte)
            EmitAndEaxMask(st, 0xFF);
        else if (cls == kClsInt && type == 9)
            EmitAndEaxMask(st, 0xFFFF);
        break;
    case kTypeSng:
        ToSt0(g, cls);
        EmitCallRuntime(st, "$PbFstSng");
        break;
    case kTypeByt:
        if (cls == kClsInt && check)
            EmitCallRuntime(st, "$PbCnvItoUC");
        else if (cls == kClsLng && check)
            EmitCallRuntime(st, "$PbCnvLtoUC");
        else if (cls == kClsFloat)
            EmitCallRuntime(st, "$PbFstByte");
        break;
    default:
        // Doubles and the markers that leave the type to the value stay
        // in ST0; strings (16-19) on the string stack.
        if (type == kTypeDbl || type == kTypeFromOperand || type == kTypeFromClass)
            ToSt0(g, cls);
        return;
    }
    EmitPushReg(st, kEax);
}

void GenRoutineArg(Gen &g) {
    auto &st = g.st;
    const int i = g.cur;
    const uint8_t k = g.Kind(i);
    if (k == 0x10) {
        EmitPushImm(st, KeywordValue(g.Byte(i, 1)));
        ++g.cur;
        return;
    }
    if (k == 0x70 && g.Byte(i, 1) <= kTypeByt && g.Byte(i, 1) != kTypeDbl) {
        EmitPushImm(st, ConstantWord(g, i));
        ++g.cur;
        return;
    }
    if (k == 0xB1 || k == 0xB3) {
        uint8_t *marker = const_cast<uint8_t *>(g.At(i));
        const uint8_t cls = GenExpression(g);
        if (marker[1] == kTypeFromOperand) {
            // A floating value takes the precision of its operands.
            const uint8_t byClass[] = {kTypeInt, kTypeLng, g.floatType, kTypeStr, kTypeByt};
            if (cls <= kClsByte)
                marker[1] = byClass[cls];
        }
        GenConvertCall(g, marker[1], cls);
        return;
    }
    if (k == 0xB2) {
        ++g.cur;
        OperandDesc d;
        const uint8_t t = g.Kind(g.cur);
        if (t == 0x50 || t == 0x52 || t == 0x60 || t == 0x62) {
            GenOperandAddress(g, d);
            PushVariableAddress(g, d);
        }
        SkipGroupRest(g);
        return;
    }
    if (k == 0xB0 || k == 0xB4) {
        uint8_t *marker = const_cast<uint8_t *>(g.At(i));
        ++g.cur;
        const int op = g.cur;
        uint8_t type = marker[1];
        if (type == kTypeFromOperand || type == kTypeFromClass) {
            type = MeasureExpression(g, op);
            if (type >= kTypeStr && type <= kTypeFix)
                type = kTypeStr;
            marker[1] = type;
        }
        const uint8_t ok = g.Kind(op);
        if (ok == 0x70 && g.Byte(op, 1) == type &&
            (type == kTypeInt || type == kTypeLng || type == kTypeSng || type == kTypeByt)) {
            EmitPushImm(st, ConstantWord(g, op));
            ++g.cur;
        } else if (ok != 0xBF) {
            GenConvertCall(g, type, EvalOperand(g));
        }
        SkipGroupRest(g);
        return;
    }
    if (k == 0x70 || k == 0x50 || k == 0x52 || k == 0x60 || (k >= 0x40 && k <= 0x43)) {
        const uint8_t type = MeasureExpression(g, i);
        GenConvertCall(g, type, EvalOperand(g));
        return;
    }
    SkipOperand(g);
}

void GenArgsForRoutine(Gen &g) {
    std::vector<int> pos;
    int i = g.cur;
    while (i < g.ntok && g.Kind(i) != 0x00) {
        const uint8_t k = g.Kind(i);
        if (k == 0x10 || k == 0x70 || k == 0xA0 || k == 0xA1 || IsGroupHead(k))
            pos.push_back(i);
        i = SkipFrom(g, i);
    }
    for (auto it = pos.rbegin(); it != pos.rend(); ++it) {
        g.cur = *it;
        const uint8_t k = g.Kind(*it);
        if (k == 0xA0 || k == 0xA1) {
            // A label argument goes as its address; A1 10 (none) as 0.
            if (k == 0xA1 && g.Byte(*it, 1) == 0x10)
                EmitPushImm(g.st, 0);
            else
                EmitPushLabelAddr(g.st, g.U32(*it, 2), 3);
            continue;
        }
        GenRoutineArg(g);
    }
    g.cur = i;
}

namespace {

// A value in a class, converted to a parameter type and pushed; strings as
// the address of a temporary copy. Returns the bytes pushed.
uint32_t PushValue(Gen &g, uint8_t type, uint8_t cls) {
    auto &st = g.st;
    if (type == kTypeFromOperand || type == kTypeFromClass) {
        static const uint8_t byClass[] = {kTypeInt, kTypeLng, kTypeDbl, kTypeStr, kTypeByt};
        type = cls <= kClsByte ? byClass[cls] : uint8_t(kTypeLng);
    }
    if (cls == kClsStr || (type >= kTypeStr && type <= kTypeFix)) {
        EmitCallRuntime(st, "_$PbByvalStr@0");
        ++g.temps;
        EmitPushReg(st, kEax);
        return 4;
    }
    switch (type) {
    case kTypeInt:
        if (cls == kClsLng || cls == kClsFloat) {
            ToSt0(g, cls);
            EmitCallRuntime(st, "$PbFstInt");
        }
        break;
    case kTypeSng:
        ToSt0(g, cls);
        EmitCallRuntime(st, "$PbFstSng");
        break;
    case kTypeDbl:
        ToSt0(g, cls);
        EmitCallRuntime(st, "$PbFstDbl");
        EmitPushReg(st, kEdx);
        EmitPushReg(st, kEax);
        return 8;
    case kTypeByt:
        if (cls != kClsByte) {
            ToSt0(g, cls);
            EmitCallRuntime(st, "$PbFstByte");
        }
        break;
    default:
        if (cls == kClsFloat)
            EmitCallRuntime(st, "$PbFstLng");
        break;
    }
    EmitPushReg(st, kEax);
    return 4;
}

// A value handed over through a temporary of its type.
void PushThroughTemp(Gen &g, uint8_t type, uint8_t cls) {
    auto &st = g.st;
    if (type == kTypeFromOperand || type == kTypeFromClass) {
        static const uint8_t byClass[] = {kTypeInt, kTypeLng, kTypeDbl, kTypeStr, kTypeByt};
        type = cls <= kClsByte ? byClass[cls] : uint8_t(kTypeLng);
    }
    const char *routine;
    switch (type) {
    case kTypeByt: routine = "_$PbTmpAdr1@4"; break;
    case kTypeInt: routine = "_$PbTmpAdr2@4"; break;
    case kTypeLng: routine = "_$PbTmpAdr6@4"; break;
    case kTypeSng: routine = "_$PbTmpAdr4@4"; break;
    case kTypeDbl: routine = "_$PbTmpAdr8@0"; break;
    case kTypeBcd: routine = "_$PbTmpAdrBcd@0"; break;
    case kTypeFix: routine = "_$PbTmpAdrFix@0"; break;
    default: routine = "_$PbTmpAdr5@0"; break;
    }
    if (type == kTypeDbl)
        ToSt0(g, cls);
    else
        GenConvertCall(g, type, cls);
    EmitCallRuntime(st, routine);
    ++g.temps;
    EmitPushReg(st, kEax);
}

uint32_t PushArgument(Gen &g) {
    auto &st = g.st;
    const int i = g.cur;
    const uint8_t k = g.Kind(i);
    uint8_t type = g.Byte(i, 1);
    if (k == 0x10) {
        ++g.cur;
        EmitPushImm(st, 0);
        return 4;
    }
    if (k == 0xB1) {
        const uint8_t cls = GenExpression(g);
        return PushValue(g, type, cls);
    }
    if (k == 0xB3) {
        const uint8_t cls = GenExpression(g);
        PushThroughTemp(g, type, cls);
        return 4;
    }
    if (!IsGroupHead(k)) {
        SkipOperand(g);
        return 0;
    }
    ++g.cur;
    const int op = g.cur;
    const uint8_t ok = g.Kind(op);
    uint32_t bytes = 4;
    if (type == kTypeFromOperand || type == kTypeFromClass) {
        const uint8_t own = MeasureExpression(g, op);
        if (k == 0xB2 && type == kTypeFromClass && own >= kTypeStr && own <= kTypeFix) {
            // A string for an "any" by-reference parameter goes by value.
            type = kTypeStr;
            bytes = PushValue(g, type, EvalOperand(g));
            SkipGroupRest(g);
            return bytes;
        }
        type = own >= kTypeStr && own <= kTypeFix ? kTypeStr : own;
    }
    if (k == 0xB2 && (ok == 0x50 || ok == 0x52 || ok == 0x60)) {
        OperandDesc d;
        GenOperandAddress(g, d);
        if (d.type == kTypeFixStr) {
            EmitPushImm(st, int32_t(d.strLength));
            PushVariableAddress(g, d);
            EmitCallRuntime(st, "_$PbTmpAdrStr@8");
            ++g.temps;
            EmitPushReg(st, kEax);
        } else if (d.type == kTypeBcd || d.type == kTypeFix) {
            GenLoadValue(g, d);
            EmitCallRuntime(st, d.type == kTypeBcd ? "_$PbTmpAdrBcd@0" : "_$PbTmpAdrFix@0");
            ++g.temps;
            EmitPushReg(st, kEax);
        } else {
            PushVariableAddress(g, d);
        }
    } else if (ok == 0x62) {
        EvalOperand(g); // the control record's address in EAX
        EmitPushReg(st, kEax);
    } else if (k == 0xB2 || k == 0xB4) {
        PushThroughTemp(g, type, EvalOperand(g));
    } else if (ok == 0x70 && g.Byte(op, 1) == type &&
               (type == kTypeInt || type == kTypeLng || type == kTypeSng || type == kTypeByt)) {
        EmitPushImm(st, ConstantWord(g, op));
        ++g.cur;
    } else if (ok == 0x70 && type == kTypeDbl && g.Byte(op, 1) == kTypeDbl) {
        EmitPushImm(st, int32_t(g.U32(op, 6)));
        EmitPushImm(st, int32_t(g.U32(op, 2)));
        ++g.cur;
        bytes = 8;
    } else if (ok != 0xBF) {
        bytes = PushValue(g, type, EvalOperand(g));
    } else {
        bytes = 0;
    }
    SkipGroupRest(g);
    return bytes;
}

} // namespace

uint32_t PushCallArgs(Gen &g, uint8_t form, bool toStatementEnd) {
    std::vector<int> pos;
    int i = g.cur;
    while (i < g.ntok && g.Kind(i) != 0x00 && g.Kind(i) != 0x4F) {
        const uint8_t k = g.Kind(i);
        if (k == 0x10 || IsGroupHead(k))
            pos.push_back(i);
        i = SkipFrom(g, i);
    }
    uint32_t bytes = 0;
    if (form <= 3) {
        for (auto it = pos.rbegin(); it != pos.rend(); ++it) {
            g.cur = *it;
            bytes += PushArgument(g);
        }
    }
    g.cur = i;
    if (!toStatementEnd && g.Kind(g.cur) == 0x4F)
        ++g.cur;
    return bytes;
}

} // namespace txcg
