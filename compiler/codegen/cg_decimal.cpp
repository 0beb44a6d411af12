// The decimal type's statements: DEF BCD and DEF LEN, and the source of the
// decimal store, whose operators are the runtime's decimal routines.
#include "cg_gen.h"
#include "cg_operand.h"

namespace txcg {

namespace {

// The decimal routine of an operator; 0 for one a decimal expression
// cannot hold (the analyzer types comparisons and logic as integers).
const char *DecimalRoutine(uint8_t op) {
    switch (op) {
    case kOpNegate: return "_$PbBcdNeg@0";
    case kOpPower: return "_$PbBcdxy@0";
    case kOpAdd: return "_$PbBcdAdd@0";
    case kOpSub: return "_$PbBcdSub@0";
    case kOpMul: return "_$PbBcdMul@0";
    case kOpDiv: return "_$PbBcdDiv@0";
    case kOpIntDiv: return "_$PbBcdIdiv@0";
    case kOpMod: return "_$PbBcdMod@0";
    default: return nullptr;
    }
}

} // namespace

// Each operand goes onto the string stack where it stands in the postfix
// order, so every operator finds its two operands on top, the right one
// above; the runtime keeps them.
void GenBcdExpression(Gen &g) {
    ++g.cur; // the group head
    while (g.cur < g.ntok && g.Kind(g.cur) != kTokExprEnd) {
        const uint8_t k = g.Kind(g.cur);
        if (k == kTokOperator) {
            const char *routine = DecimalRoutine(g.Byte(g.cur, 1));
            if (!routine)
                CgFail(kErrInternal);
            EmitCallRuntime(g.st, routine);
            ++g.cur;
            continue;
        }
        const int at = g.cur;
        if (EvalOperand(g) != kClsStr)
            CgFail(kErrInternal);
        if (g.cur == at)
            ++g.cur;
    }
    if (g.cur < g.ntok)
        ++g.cur;
}

// DEF LEN (n) and DEF BCD: each declared variable in turn; a by-reference
// parameter is the caller's variable and is left alone, an array is
// dimensioned (its element routine), a scalar's address goes to the
// statement's routine, DEF LEN's length below it.
void GenDefDecimal(Gen &g) {
    auto &st = g.st;
    const bool len = g.Byte(g.cur, 1) == kStmDefLen;
    ++g.cur;
    int lengthGroup = -1;
    if (len) {
        lengthGroup = g.cur;
        g.cur = SkipFrom(g, g.cur);
    }
    while (g.cur < g.ntok && g.Kind(g.cur) != kTokStatement) {
        const int group = g.cur;
        const int next = SkipFrom(g, group);
        const int a = IsGroupHead(g.Kind(group)) ? group + 1 : group;
        const uint8_t k = g.Kind(a);
        if (lengthGroup == group || !(k == kTokVar || k == kTokArray) || (g.Byte(a, 2) & 0x0F) == kStoreByRef) {
            g.cur = next;
            continue;
        }
        g.cur = a;
        if (k == kTokArray) {
            DimensionArray(g, lengthGroup);
        } else {
            OperandDesc d;
            GetOperandDesc(g, d);
            if (len) {
                g.cur = lengthGroup;
                GenConvertCall(g, kTypeLng, GenGroupValue(g));
            }
            PushVariableAddress(g, d);
            EmitCallRuntime(st, len ? "_$PsDEF_LEN@8" : "_$PsDEF_BCD@4");
        }
        g.cur = next;
    }
}

} // namespace txcg
