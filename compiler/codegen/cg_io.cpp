// The output list of PRINT, the counted list of READ and run-time
// dimensioning: statements whose operands the generic form cannot push.
#include <vector>

#include "cg_bytes.h"
#include "cg_gen.h"
#include "cg_tables.h"

namespace txcg {

namespace {


// Separator codes pushed with an item: comma 1, semicolon 2.
int32_t SeparatorCode(Gen &g, int i) {
    if (i >= g.ntok || g.Kind(i) != kTokPunct)
        return 0;
    const uint8_t s = g.Byte(i, 1);
    return s == 2 ? 1 : s == 3 ? 2 : 0;
}

// Item routines of an output list, by item type: byte, 16-bit, 32-bit,
// single, double, string, temporary string.
struct ListFamily {
    const char *items[7];
    const char *end;
    uint8_t emptyType; // the type of an empty item
};

constexpr ListFamily kPrintList{{"_$PsPRINT1@8", "_$PsPRINT2@8", "_$PsPRINT6@8", "_$PsPRINT4@8",
                                 "_$PsPRINT8@4", "_$PsPRINT5@4", "_$PsPRINTtmp@4"},
                                "_$PsPRINTend@0",
                                kTypeStr};
constexpr ListFamily kUsingList{{"_$PsPRINT_USING1@8", "_$PsPRINT_USING2@8", "_$PsPRINT_USING6@8",
                                 "_$PsPRINT_USING4@8", "_$PsPRINT_USING8@4", "_$PsPRINT_USING5@4",
                                 "_$PsPRINT_USINGtmp@4"},
                                "_$PsPRINT_USINGend@0",
                                kTypeStr};
constexpr ListFamily kWriteList{{"_$PsWRITE1@8", "_$PsWRITE2@8", "_$PsWRITE6@8", "_$PsWRITE4@8",
                                 "_$PsWRITE8@4", "_$PsWRITE5@4", "_$PsWRITEtmp@4"},
                                "_$PsWRITEend@0",
                                kTypeFixStr};

const char *ItemRoutine(const ListFamily &f, uint8_t type) {
    switch (type) {
    case kTypeByt: return f.items[0];
    case kTypeInt: return f.items[1];
    case kTypeLng:
    case kTypeValue4: return f.items[2];
    case kTypeSng: return f.items[3];
    case kTypeDbl:
    case kTypeFromOperand:
    case kTypeFromClass: return f.items[4];
    case kTypeFixStr: return &f == &kWriteList ? "_$PsWRITE0@4" : f.items[5];
    default: return f.items[5];
    }
}

} // namespace

// The window or device prefix: its variable's address, 0 for a constant
// or when the statement has none.
void PushPrefix(Gen &g) {
    const int saved = g.cur;
    if (g.prefix < 0 || g.Kind(g.prefix + 1) == kTokConstant || g.Kind(g.prefix + 1) == kTokGroupEnd) {
        EmitPushImm(g.st, 0);
        return;
    }
    g.cur = g.prefix + 1;
    OperandDesc d;
    GenOperandAddress(g, d);
    PushVariableAddress(g, d);
    g.cur = saved;
}

// Pushes the control record of the array operand d. Common arrays are
// described in .data$ag, one record each in table order.
void PushControl(Gen &g, const OperandDesc &d) {
    auto &st = g.st;
    switch (d.storage) {
    case kStoreModule: EmitPushSymbolAddr(st, st.sec[kSecDataAc].symbol, d.offset); break;
    case kStoreCommon: {
        uint32_t index = 0, found = 0;
        ForEachCommonVar(st, [&](const VarRecord &r) {
            if (!(r.storageClass & ifile::kClassArray))
                return;
            if (r.at == d.record)
                found = index;
            ++index;
        });
        EmitPushSymbolAddr(st, st.sec[kSecDataAg].symbol, 10 * found);
        break;
    }
    case kStoreFrame:
        EmitLeaEbp(st, kEbx, int32_t(d.offset));
        EmitPushReg(st, kEbx);
        break;
    default:
        EmitLoadEbp(st, kEbx, int32_t(d.offset));
        EmitPushReg(st, kEbx);
        break;
    }
}

namespace {

// One leading operand of a statement (file number, format, prompt).
void LeadingOperand(Gen &g) {
    if (g.cur < g.ntok && g.Kind(g.cur) != kTokStatement && g.Kind(g.cur) != kTokPunct)
        GenRoutineArg(g);
}

void SkipSeparator(Gen &g) {
    if (g.cur < g.ntok && g.Kind(g.cur) == kTokPunct)
        ++g.cur;
}

} // namespace

// PRINT, PRINT USING, WRITE, their # forms and LPRINT [USING]: the leading
// operands and the start routine, each item with its separator code, the
// end routine.
void GenPrint(Gen &g) {
    auto &st = g.st;
    const uint8_t code = g.Byte(g.cur, 1);
    ++g.cur;
    const ListFamily *f = &kPrintList;
    switch (code) {
    case kStmPrint:
        PushPrefix(g);
        EmitCallRuntime(st, "_$PsPRINTs@4");
        break;
    case kStmPrintFile:
        LeadingOperand(g);
        EmitCallRuntime(st, "_$PsPRINT23s@4");
        break;
    case kStmPrintUsing:
        f = &kUsingList;
        LeadingOperand(g);
        SkipSeparator(g);
        PushPrefix(g);
        EmitCallRuntime(st, "_$PsPRINT_USINGs@4");
        break;
    case kStmPrintFileUsing:
        f = &kUsingList;
        LeadingOperand(g);
        LeadingOperand(g);
        SkipSeparator(g);
        EmitCallRuntime(st, "_$PsPRINT23USINGs@4");
        break;
    case kStmLprintUsing:
        f = &kUsingList;
        LeadingOperand(g);
        SkipSeparator(g);
        EmitCallRuntime(st, "_$PsLPRINT_USINGs@0");
        break;
    case kStmWrite:
        f = &kWriteList;
        PushPrefix(g);
        EmitCallRuntime(st, "_$PsWRITEs@4");
        break;
    case kStmWriteFile:
        f = &kWriteList;
        LeadingOperand(g);
        EmitCallRuntime(st, "_$PsWRITE23s@4");
        break;
    default:
        EmitCallRuntime(st, "_$PsLPRINTs@0");
        break;
    }
    while (g.cur < g.ntok && g.Kind(g.cur) != kTokStatement) {
        const int i = g.cur;
        const uint8_t k = g.Kind(i);
        if (k == kTokPunct) {
            EmitCallRuntime(st, "_$PbFldNull@0");
            EmitPushImm(st, SeparatorCode(g, i));
            EmitCallRuntime(st, ItemRoutine(*f, f->emptyType));
            ++g.cur;
            continue;
        }
        if (!IsGroupHead(k)) {
            EmitCallRuntime(st, "_$PbFldNull@0");
            EmitPushImm(st, 0);
            EmitCallRuntime(st, ItemRoutine(*f, f->emptyType));
            SkipOperand(g);
            continue;
        }
        const int next = SkipFrom(g, i);
        const int32_t sep = SeparatorCode(g, next);
        EmitPushImm(st, sep);
        GenRoutineArg(g);
        EmitCallRuntime(st, ItemRoutine(*f, g.Byte(i, 1)));
        g.cur = next;
        if (g.cur < g.ntok && g.Kind(g.cur) == kTokPunct)
            ++g.cur;
    }
    EmitCallRuntime(st, f->end);
}

// INPUT and LINE INPUT, console and # forms: the prompt with its separator
// code (0 without a prompt) and the prefix, or the file number; then the
// variables: LINE INPUT's one address, INPUT's counted list of (type,
// address) in the order written.
void GenInput(Gen &g) {
    auto &st = g.st;
    const uint8_t code = g.Byte(g.cur, 1);
    ++g.cur;
    const bool line = code == kStmLineInput || code == kStmLineInputFile;
    if (code == kStmLineInputFile || code == kStmInputFile) {
        LeadingOperand(g);
        EmitCallRuntime(st, line ? "_$PsLINE_INPUT23s@4" : "_$PsINPUT23s@4");
    } else {
        const int next = SkipFrom(g, g.cur);
        if (IsGroupHead(g.Kind(g.cur)) && g.Kind(next) == kTokPunct) {
            const int32_t sep = SeparatorCode(g, next);
            GenRoutineArg(g);
            EmitPushImm(st, sep);
            g.cur = next + 1;
        } else {
            EmitPushImm(st, 0);
        }
        PushPrefix(g);
        EmitCallRuntime(st, line ? "_$PsLINE_INPUTs@8" : "_$PsINPUTs@8");
    }
    std::vector<int> vars;
    int i = g.cur;
    while (i < g.ntok && g.Kind(i) != kTokStatement) {
        const int t = IsGroupHead(g.Kind(i)) ? i + 1 : i;
        const uint8_t k = g.Kind(t);
        if (k == kTokVar || k == kTokElement || k == kTokArray)
            vars.push_back(t);
        i = SkipFrom(g, i);
    }
    // A fixed-length string is read into a string copy, written back into
    // its bytes when the copy is released (as READ does).
    const uint16_t temps = g.temps;
    auto pushTarget = [&](int v, bool typed) {
        g.cur = v;
        const uint8_t type = MeasureExpression(g, v);
        OperandDesc d;
        if (typed) EmitPushImm(st, type == kTypeFixStr ? kTypeStr : type);
        GenOperandAddress(g, d);
        if (type == kTypeFixStr) {
            EmitPushImm(st, int32_t(d.strLength));
            PushVariableAddress(g, d);
            EmitCallRuntime(st, "_$PbTmpAdrStr@8");
            ++g.temps;
            EmitPushReg(st, kEax);
            return;
        }
        PushVariableAddress(g, d);
    };
    if (line) {
        if (!vars.empty()) {
            pushTarget(vars[0], false);
        } else {
            EmitPushImm(st, 0);
        }
        EmitCallRuntime(st, "_$PsLINE_INPUT@4");
    } else {
        for (int v : vars) pushTarget(v, true);
        const int32_t n = int32_t(vars.size());
        EmitPushImm(st, n);
        EmitPushReg(st, kEsp);
        EmitCallRuntime(st, "_$PsINPUT@4");
        EmitAddRegImm(st, kEsp, 8 * n + 4);
    }
    if (g.temps != temps) {
        EmitPushImm(st, g.temps - temps);
        EmitCallRuntime(st, "_$PbDelTmpAdr@4");
        g.temps = temps;
    }
    g.cur = i;
}

// Statements with optional operands: the mask of the operands given (bit k
// for operand k) when the routine takes one, the operands from the last to
// the first (an omitted one as 0), the prefix, the routine.
void GenOptional(Gen &g) {
    auto &st = g.st;
    const uint8_t code = g.Byte(g.cur, 1);
    ++g.cur;
    struct Shape {
        uint8_t code;
        uint8_t operands;
        bool mask;
        const char *routine;
    };
    static constexpr Shape kShapes[] = {
        {kStmConsole, 3, false, "_$PsCONSOLE@16"},
        {kStmShell, 3, false, "_$PsSHELL@12"},
        {kStmColor, 4, true, "_$PsCOLOR@24"},
        {kStmLocate, 3, true, "_$PsLOCATE@20"},
        {kStmWidthScreen, 3, true, "_$PsWIDTH3@20"},
    };
    const Shape *shape = nullptr;
    for (const Shape &s : kShapes)
        if (s.code == code)
            shape = &s;
    if (!shape)
        return;
    if (code == kStmShell) { // the command goes to the string stack first
        GenGroupValue(g);
    }
    std::vector<int> given;
    int i = g.cur;
    while (i < g.ntok && g.Kind(i) != kTokStatement) {
        given.push_back(g.Kind(i) == kTokKeyword && g.Byte(i, 1) == kKwNone ? -1 : i);
        i = SkipFrom(g, i);
    }
    given.resize(shape->operands, -1);
    if (shape->mask) {
        int32_t mask = 0;
        for (size_t k = 0; k < given.size(); ++k)
            if (given[k] >= 0)
                mask |= 1 << k;
        EmitPushImm(st, mask);
    }
    for (size_t k = given.size(); k-- > 0;) {
        if (given[k] < 0) {
            EmitPushImm(st, 0);
            continue;
        }
        g.cur = given[k];
        GenConvertCall(g, kTypeLng, GenGroupValue(g));
    }
    if (code != kStmShell)
        PushPrefix(g);
    EmitCallRuntime(st, shape->routine);
    g.cur = i;
}

// READ: (type word, address) pairs from the last variable to the first,
// the count, and the list's address.
void GenRead(Gen &g) {
    auto &st = g.st;
    ++g.cur;
    std::vector<int> vars;
    int i = g.cur;
    while (i < g.ntok && g.Kind(i) != kTokStatement) {
        int t = IsGroupHead(g.Kind(i)) ? i + 1 : i;
        const uint8_t k = g.Kind(t);
        if (k == kTokVar || k == kTokElement || k == kTokArray)
            vars.push_back(t);
        i = SkipFrom(g, i);
    }
    const uint16_t temps = g.temps;
    for (auto it = vars.rbegin(); it != vars.rend(); ++it) {
        g.cur = *it;
        const uint8_t type = MeasureExpression(g, *it);
        OperandDesc d;
        if (type == kTypeFixStr) {
            // Read into a string copy, written back into the fixed string
            // when the copy is released.
            EmitPushImm(st, kTypeStr);
            GenOperandAddress(g, d);
            EmitPushImm(st, int32_t(d.strLength));
            PushVariableAddress(g, d);
            EmitCallRuntime(st, "_$PbTmpAdrStr@8");
            ++g.temps;
            EmitPushReg(st, kEax);
            continue;
        }
        EmitPushImm(st, type);
        GenOperandAddress(g, d);
        PushVariableAddress(g, d);
    }
    const int32_t n = int32_t(vars.size());
    EmitPushImm(st, n);
    EmitPushReg(st, kEsp);
    EmitCallRuntime(st, "_$PsREAD@4");
    EmitAddRegImm(st, kEsp, 8 * n + 4);
    if (g.temps != temps) {
        EmitPushImm(st, g.temps - temps);
        EmitCallRuntime(st, "_$PbDelTmpAdr@4");
        g.temps = temps;
    }
    g.cur = i;
}

// SWAP a, b: the two addresses, second first; strings with a descriptor by
// their own routine, anything else (fixed-length strings too) by its size.
void GenSwap(Gen &g) {
    auto &st = g.st;
    ++g.cur;
    int ops[2];
    int n = 0, i = g.cur;
    while (i < g.ntok && g.Kind(i) != kTokStatement && n < 2) {
        ops[n++] = IsGroupHead(g.Kind(i)) ? i + 1 : i;
        i = SkipFrom(g, i);
    }
    if (n != 2)
        CgFail(kErrInternal);
    OperandDesc d;
    for (int k = 1; k >= 0; --k) {
        g.cur = ops[k];
        GenOperandAddress(g, d);
        PushVariableAddress(g, d);
    }
    if (d.type == kTypeStr || d.type == kTypeBcd || d.type == kTypeFix) {
        EmitCallRuntime(st, "_$PsSWAP5@8");
    } else {
        EmitPushImm(st, int32_t(TypeSize(d.type, d.strLength, d.typeSize)));
        EmitCallRuntime(st, "_$PsSWAP@12");
    }
    g.cur = i;
}

// MID$(s, start[, length]) = v: the length (0x7FFFFFFF when omitted), the
// start and the address of s, then v onto the string stack.
void GenMidStatement(Gen &g) {
    auto &st = g.st;
    ++g.cur;
    int ops[4];
    int n = 0, i = g.cur;
    while (i < g.ntok && g.Kind(i) != kTokStatement && n < 4) {
        if (g.Kind(i) == kTokOperator) {
            ++i;
            continue;
        }
        ops[n++] = i;
        i = SkipFrom(g, i);
    }
    if (n != 4)
        CgFail(kErrInternal);
    if (g.Kind(ops[2]) == kTokKeyword) {
        EmitPushImm(st, 0x7FFFFFFF);
    } else {
        g.cur = ops[2];
        GenConvertCall(g, kTypeLng, GenGroupValue(g));
    }
    g.cur = ops[1];
    GenConvertCall(g, kTypeLng, GenGroupValue(g));
    g.cur = IsGroupHead(g.Kind(ops[0])) ? ops[0] + 1 : ops[0];
    OperandDesc d;
    GenOperandAddress(g, d);
    PushVariableAddress(g, d);
    g.cur = ops[3];
    GenGroupValue(g);
    EmitCallRuntime(st, "_$PsMID@12");
    g.cur = i;
}

// ERASE: the arrays' control records in the order written, counted.
void GenErase(Gen &g) {
    auto &st = g.st;
    ++g.cur;
    int32_t n = 0;
    std::vector<int> arrays;
    int i = g.cur;
    while (i < g.ntok && g.Kind(i) != kTokStatement) {
        const int a = IsGroupHead(g.Kind(i)) ? i + 1 : i;
        if (g.Kind(a) == kTokArrayAddr)
            arrays.push_back(a);
        i = SkipFrom(g, i);
    }
    for (int a : arrays) {
        g.cur = a;
        OperandDesc d;
        GetOperandDesc(g, d);
        PushControl(g, d);
        ++n;
    }
    EmitPushImm(st, n);
    EmitPushReg(st, kEsp);
    EmitCallRuntime(st, "_$PsERASE@4");
    EmitAddRegImm(st, kEsp, 4 * n + 4);
    g.cur = i;
}

// Run-time dimensioning of the array token at the cursor: its upper bounds
// from the last to the first, the bounds record, the control record, the
// element size and the word type + 256 x bounds, then the block's address.
// A DEF LEN array's length (the group at `lengthGroup`) goes first, below
// the block.
void DimensionArray(Gen &g, int lengthGroup) {
    auto &st = g.st;
    OperandDesc d;
    GetOperandDesc(g, d);
    std::vector<int> bounds;
    while (g.cur < g.ntok && g.Kind(g.cur) != kTokSubscriptEnd && g.Kind(g.cur) != kTokExprEnd) {
        bounds.push_back(g.cur);
        SkipOperand(g);
    }
    if (lengthGroup >= 0) {
        const int saved = g.cur;
        g.cur = lengthGroup;
        GenConvertCall(g, kTypeLng, GenGroupValue(g));
        g.cur = saved;
    }
    for (auto it = bounds.rbegin(); it != bounds.rend(); ++it) {
        const int saved = g.cur;
        g.cur = *it;
        GenConvertCall(g, kTypeLng, GenGroupValue(g));
        g.cur = saved;
    }
    uint32_t n = uint32_t(bounds.size());
    if (n == 0) {
        // Constant bounds stand in the array's bounds record only.
        const auto &tab = st.tables[ifile::kArrayBoundsTable];
        if (d.bounds < tab.size()) {
            const uint32_t dims = tab[d.bounds];
            if (uint64_t(d.bounds) + 1 + 4 * uint64_t(dims) <= tab.size()) {
                for (uint32_t k = dims; k-- > 0;)
                    EmitPushImm(st, int32_t(GetU32(tab.data() + d.bounds + 1 + 4 * k)));
                n = dims;
            }
        }
    }
    if (st.sec[kSecDataAd].number != 0)
        EmitPushSymbolAddr(st, st.sec[kSecDataAd].symbol, d.bounds);
    else
        EmitPushImm(st, 0);
    PushControl(g, d);
    EmitPushImm(st, int32_t(TypeSize(d.type, d.strLength, d.typeSize)));
    EmitPushImm(st, int32_t(d.type + 256 * n));
    EmitPushReg(st, kEsp);
    EmitCallRuntime(st, d.type == kTypeBcd   ? "_$PsDEF_BCD_ARY@4"
                        : d.type == kTypeFix ? "_$PsDEF_LEN_ARY@8"
                                             : "_$PsDIM@4");
    EmitAddRegImm(st, kEsp, int32_t(4 * n + 16));
}

void GenDim(Gen &g) {
    ++g.cur;
    while (g.cur < g.ntok && g.Kind(g.cur) != kTokStatement) {
        const int group = g.cur;
        const int next = SkipFrom(g, group);
        int a = IsGroupHead(g.Kind(group)) ? group + 1 : group;
        if (g.Kind(a) == kTokArray) {
            g.cur = a;
            DimensionArray(g, -1);
        }
        g.cur = next;
    }
}

} // namespace txcg
