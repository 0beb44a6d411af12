// The output list of PRINT, the counted list of READ and run-time
// dimensioning: statements whose operands the generic form cannot push.
#include <vector>

#include "cg_bytes.h"
#include "cg_gen.h"

namespace txcg {

namespace {


// Separator codes pushed with an item: comma 1, semicolon 2.
int32_t SeparatorCode(Gen &g, int i) {
    if (i >= g.ntok || g.Kind(i) != kTokPunct)
        return 0;
    const uint8_t s = g.Byte(i, 1);
    return s == 2 ? 1 : s == 3 ? 2 : 0;
}

// The output-list families: start routine, what comes before the items,
// item routines by type and the end routine.
enum class Lead { Prefix, None, Format, FileNumber, FileNumberFormat };

struct OutputFamily {
    uint8_t code;
    const char *start;
    Lead lead;
    const char *const *items; // BYT, INT, LNG, SNG, DBL, temporary, string, empty
    const char *end;
};

constexpr const char *kPrintItems[] = {"_$PsPRINT1@8", "_$PsPRINT2@8", "_$PsPRINT6@8", "_$PsPRINT4@8",
                                       "_$PsPRINT8@4", "_$PsPRINTtmp@4", "_$PsPRINT5@4", "_$PsPRINT5@4"};
constexpr const char *kUsingItems[] = {"_$PsPRINT_USING1@8", "_$PsPRINT_USING2@8", "_$PsPRINT_USING6@8",
                                       "_$PsPRINT_USING4@8", "_$PsPRINT_USING8@4", "_$PsPRINT_USINGtmp@4",
                                       "_$PsPRINT_USING5@4", "_$PsPRINT_USING5@4"};
constexpr const char *kWriteItems[] = {"_$PsWRITE1@8", "_$PsWRITE2@8", "_$PsWRITE6@8", "_$PsWRITE4@8",
                                       "_$PsWRITE8@4", "_$PsWRITEtmp@4", "_$PsWRITE5@4", "_$PsWRITE0@4"};

constexpr OutputFamily kOutputFamilies[] = {
    {kStmPrintUsing, "_$PsPRINT_USINGs@4", Lead::Format, kUsingItems, "_$PsPRINT_USINGend@0"},
    {kStmPrint, "_$PsPRINTs@4", Lead::Prefix, kPrintItems, "_$PsPRINTend@0"},
    {kStmWrite, "_$PsWRITEs@4", Lead::Prefix, kWriteItems, "_$PsWRITEend@0"},
    {kStmPrintFileUsing, "_$PsPRINT23USINGs@4", Lead::FileNumberFormat, kUsingItems, "_$PsPRINT_USINGend@0"},
    {kStmPrintFile, "_$PsPRINT23s@4", Lead::FileNumber, kPrintItems, "_$PsPRINTend@0"},
    {kStmWriteFile, "_$PsWRITE23s@4", Lead::FileNumber, kWriteItems, "_$PsWRITEend@0"},
    {kStmLprintUsing, "_$PsLPRINT_USINGs@0", Lead::Format, kUsingItems, "_$PsPRINT_USINGend@0"},
    {kStmLprint, "_$PsLPRINTs@0", Lead::None, kPrintItems, "_$PsPRINTend@0"},
};

const char *ItemRoutine(const OutputFamily &f, uint8_t type) {
    switch (type) {
    case kTypeByt: return f.items[0];
    case kTypeInt: return f.items[1];
    case kTypeLng:
    case kTypeValue4: return f.items[2];
    case kTypeSng: return f.items[3];
    case kTypeDbl:
    case kTypeFromOperand:
    case kTypeFromClass: return f.items[4];
    default: return f.items[6];
    }
}

// Pushes the control record of the array operand d.
void PushControl(Gen &g, const OperandDesc &d) {
    auto &st = g.st;
    switch (d.storage) {
    case kStoreModule: EmitPushSymbolAddr(st, st.sec[kSecDataAc].symbol, d.offset); break;
    case kStoreFrame:
        EmitLeaEbp(st, kEbx, int32_t(d.offset));
        EmitPushReg(st, kEbx);
        break;
    case kStoreByRef:
        EmitLoadEbp(st, kEbx, int32_t(d.offset));
        EmitPushReg(st, kEbx);
        break;
    default: EmitPushImm(st, 0); break;
    }
}

} // namespace

void GenPrint(Gen &g) {
    auto &st = g.st;
    const uint8_t code = g.Byte(g.cur, 1);
    ++g.cur;
    const OutputFamily *f = nullptr;
    for (const OutputFamily &family : kOutputFamilies)
        if (family.code == code)
            f = &family;
    if (!f)
        return;
    // The leading operands: the file number is pushed, the format goes to
    // the string stack; the separator after the format is not an item.
    const bool number = f->lead == Lead::FileNumber || f->lead == Lead::FileNumberFormat;
    const bool format = f->lead == Lead::Format || f->lead == Lead::FileNumberFormat;
    if (number && g.cur < g.ntok && IsGroupHead(g.Kind(g.cur))) {
        const int next = SkipFrom(g, g.cur);
        GenRoutineArg(g);
        g.cur = next;
    }
    if (format && g.cur < g.ntok && IsGroupHead(g.Kind(g.cur))) {
        const int next = SkipFrom(g, g.cur);
        GenRoutineArg(g);
        g.cur = next;
        if (g.cur < g.ntok && g.Kind(g.cur) == kTokPunct)
            ++g.cur;
    }
    // The window prefix: the console when there is none.
    if (f->lead == Lead::Prefix || (f->lead == Lead::Format && code == kStmPrintUsing))
        EmitPushImm(st, 0);
    EmitCallRuntime(st, f->start);
    const char *empty = f->items[7];
    while (g.cur < g.ntok && g.Kind(g.cur) != kTokStatement) {
        const int i = g.cur;
        const uint8_t k = g.Kind(i);
        if (k == kTokPunct) {
            EmitCallRuntime(st, "_$PbFldNull@0");
            EmitPushImm(st, SeparatorCode(g, i));
            EmitCallRuntime(st, empty);
            ++g.cur;
            continue;
        }
        if (!IsGroupHead(k)) {
            EmitCallRuntime(st, "_$PbFldNull@0");
            EmitPushImm(st, 0);
            EmitCallRuntime(st, empty);
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
    for (auto it = vars.rbegin(); it != vars.rend(); ++it) {
        g.cur = *it;
        const uint8_t type = MeasureExpression(g, *it);
        EmitPushImm(st, type);
        OperandDesc d;
        GenOperandAddress(g, d);
        PushVariableAddress(g, d);
    }
    const int32_t n = int32_t(vars.size());
    EmitPushImm(st, n);
    EmitPushReg(st, kEsp);
    EmitCallRuntime(st, "_$PsREAD@4");
    EmitAddRegImm(st, kEsp, 8 * n + 4);
    g.cur = i;
}

// Run-time dimensioning: per array its upper bounds from the last to the
// first, the bounds record, the control record, the element size and the
// word type + 256 x bounds, then the block's address.
void GenDim(Gen &g) {
    auto &st = g.st;
    ++g.cur;
    while (g.cur < g.ntok && g.Kind(g.cur) != kTokStatement) {
        const int group = g.cur;
        const int next = SkipFrom(g, group);
        int a = IsGroupHead(g.Kind(group)) ? group + 1 : group;
        if (g.Kind(a) != kTokArray) {
            g.cur = next;
            continue;
        }
        g.cur = a;
        OperandDesc d;
        GetOperandDesc(g, d);
        std::vector<int> bounds;
        while (g.cur < g.ntok && g.Kind(g.cur) != kTokSubscriptEnd && g.Kind(g.cur) != kTokExprEnd) {
            bounds.push_back(g.cur);
            SkipOperand(g);
        }
        for (auto it = bounds.rbegin(); it != bounds.rend(); ++it) {
            g.cur = *it;
            GenConvertCall(g, kTypeLng, GenGroupValue(g));
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
        EmitCallRuntime(st, d.type == kTypeBcd ? "_$PsDEF_BCD_ARY@4" : "_$PsDIM@4");
        EmitAddRegImm(st, kEsp, int32_t(4 * n + 16));
        g.cur = next;
    }
}

} // namespace txcg
