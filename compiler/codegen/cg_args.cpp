// Argument lists: the arguments of runtime statement routines and intrinsic
// functions (one-word values pushed, doubles in ST0, strings on the string
// stack) and those of procedure calls (every value on the machine stack,
// strings and by-reference operands as addresses).
#include <vector>

#include "cg_bytes.h"
#include "cg_gen.h"
#include "modcall.h"

namespace txcg {

namespace {


const char *FldRoutine(uint8_t cls) {
    return cls == kClsInt ? "$PbFldInt" : cls == kClsByte ? "$PbFldByte" : "$PbFldLng";
}

// The number a keyword item {10, x} pushes as a routine argument; 0 for the
// keywords not listed.
struct KeywordArg {
    uint8_t value;
    int8_t arg;
};
constexpr KeywordArg kKeywordArgs[] = {
    {0x09, 1}, {0x10, 0}, {0x11, 1}, {0x12, 2}, {0x30, 1}, {0x31, 2}, {0x32, 3}, {0x33, 4},
    {0x34, 5}, {0x35, 6}, {0x36, 7}, {0x37, 1}, {0x38, 2}, {0x39, 3}, {0x3A, 4}, {0x3B, 8},
    {0x3C, 9}, {0x3D, 10}, {0x3E, 11}, {0x80, 2}, {0x81, 3}, {0x82, 4}, {0x83, 5}, {0x84, 0},
    {0x85, 1}, {0x90, 0}, {0x91, 1}, {0x92, 1}, {0x93, 2}, {0x94, 0}, {0xA0, 0}, {0xA1, 1},
    {0xA2, 2}, {0xA3, 3}, {0xA4, 4}, {0xA5, 5}, {0xA6, 6},
};

int32_t KeywordValue(uint8_t x) {
    for (const KeywordArg &k : kKeywordArgs)
        if (k.value == x)
            return k.arg;
    return 0;
}


// Puts a value of a class into ST0.
void ToSt0(Gen &g, uint8_t cls) {
    if (cls != kClsFloat && cls != kClsStr)
        EmitCallRuntime(g.st, FldRoutine(cls));
}

void SkipGroupRest(Gen &g) {
    while (g.cur < g.ntok && g.Kind(g.cur) != kTokExprEnd)
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
    if (k == kTokKeyword) {
        EmitPushImm(st, KeywordValue(g.Byte(i, 1)));
        ++g.cur;
        return;
    }
    if (k == kTokConstant && g.Byte(i, 1) <= kTypeByt && g.Byte(i, 1) != kTypeDbl) {
        EmitPushImm(st, ConstantInt(g, i));
        ++g.cur;
        return;
    }
    if (k == kTokExpression || k == kTokByRefExpr) {
        uint8_t *marker = const_cast<uint8_t *>(g.At(i));
        uint8_t cls = GenExpression(g);
        if (marker[1] == kTypeFromOperand && cls == kClsFloat && g.floatIntType != kNoIntType) {
            // An integer expression keeps its type: back into EAX, range-checked.
            const uint8_t t = g.floatIntType;
            EmitCallRuntime(st, t == kTypeInt ? "_$PnSTtoI@0" : t == kTypeLng ? "_$PnSTtoL@0" : "$PbFstByte");
            cls = ClassOfType(t);
        }
        if (marker[1] == kTypeFromOperand) {
            // A floating value takes the precision of its operands.
            const uint8_t byClass[] = {kTypeInt, kTypeLng, g.floatType, kTypeStr, kTypeByt};
            if (cls <= kClsByte)
                marker[1] = byClass[cls];
        }
        GenConvertCall(g, marker[1], cls);
        return;
    }
    if (k == kTokByRef) {
        ++g.cur;
        OperandDesc d;
        const uint8_t t = g.Kind(g.cur);
        if (t == kTokVar || t == kTokElement || t == kTokArray || t == kTokArrayAddr) {
            GenOperandAddress(g, d);
            PushVariableAddress(g, d);
        }
        SkipGroupRest(g);
        return;
    }
    if (k == kTokValue || k == kTokByRefParen) {
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
        if (ok == kTokConstant && g.Byte(op, 1) == type &&
            (type == kTypeInt || type == kTypeLng || type == kTypeSng || type == kTypeByt)) {
            EmitPushImm(st, ConstantInt(g, op));
            ++g.cur;
        } else if (ok != kTokExprEnd) {
            GenConvertCall(g, type, EvalOperand(g));
        }
        SkipGroupRest(g);
        return;
    }
    if (k == kTokConstant || k == kTokVar || k == kTokElement || k == kTokArray || (k >= kTokIntrinsic && k <= kTokLibFunc)) {
        const uint8_t type = MeasureExpression(g, i);
        GenConvertCall(g, type, EvalOperand(g));
        return;
    }
    SkipOperand(g);
}

void GenArgsForRoutine(Gen &g) {
    std::vector<int> pos;
    int i = g.cur;
    while (i < g.ntok && g.Kind(i) != kTokStatement) {
        const uint8_t k = g.Kind(i);
        if (k == kTokKeyword || k == kTokConstant || k == kTokLabel || k == kTokLineNumber || IsGroupHead(k))
            pos.push_back(i);
        i = SkipFrom(g, i);
    }
    for (auto it = pos.rbegin(); it != pos.rend(); ++it) {
        g.cur = *it;
        const uint8_t k = g.Kind(*it);
        if (k == kTokLabel || k == kTokLineNumber) {
            // A label argument goes as its address; A1 10 (none) as 0.
            if (k == kTokLineNumber && g.Byte(*it, 1) == kLineNumberNone)
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
    if (k == kTokKeyword) {
        ++g.cur;
        EmitPushImm(st, 0);
        return 4;
    }
    if (k == kTokGroup) {
        // The hidden object of an EDECL routine: its variable's address,
        // or 0 for the null object.
        ++g.cur;
        if (g.Kind(g.cur) == kTokVar || g.Kind(g.cur) == kTokElement) {
            OperandDesc d;
            GenOperandAddress(g, d);
            if (d.computed)
                EmitPushReg(st, kEax);
            else
                PushVariableAddress(g, d);
        } else {
            EmitPushImm(st, 0);
        }
        while (g.cur < g.ntok && g.Kind(g.cur) != kTokGroupEnd && g.Kind(g.cur) != kTokStatement) ++g.cur;
        if (g.Kind(g.cur) == kTokGroupEnd) ++g.cur;
        return 4;
    }
    if (k == kTokExpression) {
        const uint8_t cls = GenExpression(g);
        return PushValue(g, type, cls);
    }
    if (k == kTokByRefExpr) {
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
        if (k == kTokByRef && type == kTypeFromClass && own >= kTypeStr && own <= kTypeFix) {
            // A string for an "any" by-reference parameter goes by value.
            type = kTypeStr;
            bytes = PushValue(g, type, EvalOperand(g));
            SkipGroupRest(g);
            return bytes;
        }
        type = own >= kTypeStr && own <= kTypeFix ? kTypeStr : own;
    }
    if (k == kTokByRef && (ok == kTokVar || ok == kTokElement || ok == kTokArray)) {
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
    } else if (ok == kTokArrayAddr) {
        EvalOperand(g); // the control record's address in EAX
        EmitPushReg(st, kEax);
    } else if (k == kTokByRef || k == kTokByRefParen) {
        PushThroughTemp(g, type, EvalOperand(g));
    } else if (ok == kTokConstant && g.Byte(op, 1) == type &&
               (type == kTypeInt || type == kTypeLng || type == kTypeSng || type == kTypeByt)) {
        EmitPushImm(st, ConstantInt(g, op));
        ++g.cur;
    } else if (ok == kTokConstant && type == kTypeDbl && g.Byte(op, 1) == kTypeDbl) {
        EmitPushImm(st, int32_t(g.U32(op, 6)));
        EmitPushImm(st, int32_t(g.U32(op, 2)));
        ++g.cur;
        bytes = 8;
    } else if (ok != kTokExprEnd) {
        bytes = PushValue(g, type, EvalOperand(g));
    } else {
        bytes = 0;
    }
    SkipGroupRest(g);
    return bytes;
}

// A machine-code routine knows no string descriptors: a string goes as
// the text address its descriptor holds (the third word), in EBX.
void PushDescriptorText(Gen &g) {
    EmitPushEbxMem(g.st, modcall::kDescriptorText);
}

// A string that has no descriptor of its own (a decimal, a value) goes
// through a string temporary, whose text is pushed.
void PushTempText(Gen &g) {
    EmitCallRuntime(g.st, "_$PbTmpAdr5@0");
    ++g.temps;
    EmitMovRegReg(g.st, kEbx, kEax);
    PushDescriptorText(g);
}

// One argument of a machine-code routine; returns the bytes pushed.
uint32_t PushMachineArgument(Gen &g) {
    const uint8_t k = g.Kind(g.cur);
    if (k == kTokByRefExpr) {
        const uint8_t type = g.Byte(g.cur, 1);
        const uint8_t cls = GenExpression(g);
        if (cls == kClsStr)
            PushTempText(g);
        else
            PushThroughTemp(g, type, cls);
        return 4;
    }
    if (k != kTokByRef)
        return PushArgument(g);
    const uint8_t ok = g.Kind(g.cur + 1);
    const uint8_t type = g.Byte(g.cur + 1, 1);
    const bool variable = ok == kTokVar || ok == kTokElement || ok == kTokArray;
    if (!variable || !(type >= kTypeStr && type <= kTypeFix))
        return PushArgument(g);
    ++g.cur;
    OperandDesc d;
    GenOperandAddress(g, d);
    if (d.type == kTypeFixStr) {
        // A fixed-length string is its text: its own address.
        PushVariableAddress(g, d);
    } else if (d.type == kTypeBcd) {
        // A decimal's storage is its digits, not a descriptor: its text.
        GenLoadValue(g, d);
        PushTempText(g);
    } else {
        LoadVariableAddress(g, d, kEbx);
        PushDescriptorText(g);
    }
    SkipGroupRest(g);
    return 4;
}

} // namespace

uint32_t GenArgListTmp(Gen &g) {
    std::vector<int> pos;
    int i = g.cur;
    while (i < g.ntok && g.Kind(i) != kTokStatement) {
        const uint8_t k = g.Kind(i);
        if (k == kTokKeyword || IsGroupHead(k))
            pos.push_back(i);
        i = SkipFrom(g, i);
    }
    uint32_t bytes = 0;
    for (auto it = pos.rbegin(); it != pos.rend(); ++it) {
        g.cur = *it;
        bytes += PushMachineArgument(g);
    }
    g.cur = i;
    return bytes;
}

uint32_t PushCallArgs(Gen &g, uint8_t form, bool toStatementEnd) {
    std::vector<int> pos;
    int i = g.cur;
    while (i < g.ntok && g.Kind(i) != kTokStatement && g.Kind(i) != kTokArgListEnd) {
        const uint8_t k = g.Kind(i);
        if (k == kTokKeyword || IsGroupHead(k) || k == kTokGroup)
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
    if (!toStatementEnd && g.Kind(g.cur) == kTokArgListEnd)
        ++g.cur;
    return bytes;
}

} // namespace txcg
