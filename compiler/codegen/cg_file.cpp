// File statements whose operands the generic form cannot push: CLOSE's
// counted list, FIELD, the records of GET and PUT,
// FREAD/FWRITE, and the ranges of LOCK and UNLOCK.
#include <vector>

#include "cg_bytes.h"
#include "cg_gen.h"

namespace txcg {

namespace {

// The operand positions of a statement: its groups, keyword items and
// separators up to the next statement token.
std::vector<int> Operands(Gen &g) {
    std::vector<int> at;
    int i = g.cur;
    while (i < g.ntok && g.Kind(i) != kTokStatement) {
        const uint8_t k = g.Kind(i);
        if (IsGroupHead(k) || k == kTokKeyword)
            at.push_back(i);
        i = SkipFrom(g, i);
    }
    return at;
}

int StatementEnd(Gen &g) {
    int i = g.cur;
    while (i < g.ntok && g.Kind(i) != kTokStatement)
        i = SkipFrom(g, i);
    return i;
}

// The operands of a statement that always has its file number: the
// analyzer never writes one without, so its absence is a damaged file.
std::vector<int> OperandsWithFileNumber(Gen &g) {
    std::vector<int> ops = Operands(g);
    if (ops.empty())
        CgFail(kErrRead, kDetailIntermediate);
    return ops;
}

bool Given(Gen &g, int i) { return !(g.Kind(i) == kTokKeyword && g.Byte(i, 1) == kKwNone); }

void PushArg(Gen &g, int i) {
    g.cur = i;
    GenRoutineArg(g);
}

} // namespace

void PushTypedVariable(Gen &g, int i) {
    auto &st = g.st;
    const int t = IsGroupHead(g.Kind(i)) ? i + 1 : i;
    g.cur = t;
    OperandDesc d;
    GenOperandAddress(g, d);
    EmitPushImm(st, int32_t(d.type + 256 * TypeSize(d.type, d.strLength, d.typeSize)));
    PushVariableAddress(g, d);
}

// CLOSE: the file numbers in the order written, their count, the list's
// address; the caller removes the list.
void GenClose(Gen &g) {
    auto &st = g.st;
    ++g.cur;
    const int end = StatementEnd(g);
    const std::vector<int> ops = Operands(g);
    for (int i : ops)
        PushArg(g, i);
    const int32_t n = int32_t(ops.size());
    EmitPushImm(st, n);
    EmitPushReg(st, kEsp);
    EmitCallRuntime(st, "_$PsCLOSE@4");
    EmitAddRegImm(st, kEsp, 4 * n + 4);
    g.cur = end;
}

// FIELD #n, w AS v$, ...: block = {n, count, (width, descriptor) in the
// order written}.
void GenField(Gen &g) {
    auto &st = g.st;
    ++g.cur;
    const int end = StatementEnd(g);
    const std::vector<int> ops = Operands(g);
    const int32_t pairs = ops.empty() ? 0 : int32_t((ops.size() - 1) / 2);
    for (int32_t k = pairs; k-- > 0;) {
        g.cur = IsGroupHead(g.Kind(ops[2 + 2 * k])) ? ops[2 + 2 * k] + 1 : ops[2 + 2 * k];
        OperandDesc d;
        GenOperandAddress(g, d);
        PushVariableAddress(g, d);
        PushArg(g, ops[1 + 2 * k]);
    }
    EmitPushImm(st, pairs);
    if (ops.empty())
        EmitPushImm(st, 0);
    else
        PushArg(g, ops[0]);
    EmitPushReg(st, kEsp);
    EmitCallRuntime(st, "_$PsFIELD@4");
    EmitAddRegImm(st, kEsp, 8 * pairs + 8);
    g.cur = end;
}

// GET/PUT #n [, rec] [, v]: the mask (bit k: operand k given), the
// variable's type word and address (0, 0 when not given), the record, the
// file number.
void GenRecordIo(Gen &g) {
    auto &st = g.st;
    const uint8_t code = g.Byte(g.cur, 1);
    ++g.cur;
    const int end = StatementEnd(g);
    const std::vector<int> ops = OperandsWithFileNumber(g);
    int32_t mask = 1;
    for (size_t k = 1; k < ops.size() && k < 3; ++k)
        if (Given(g, ops[k]))
            mask |= 1 << k;
    EmitPushImm(st, mask);
    if (mask & 4) {
        PushTypedVariable(g, ops[2]);
    } else {
        EmitPushImm(st, 0);
        EmitPushImm(st, 0);
    }
    if (mask & 2)
        PushArg(g, ops[1]);
    else
        EmitPushImm(st, 0);
    PushArg(g, ops[0]);
    EmitCallRuntime(st, code == kStmGet ? "_$PsGET@20" : "_$PsPUT@20");
    g.cur = end;
}

// FREAD/FWRITE #n, v: the variable's type word and address, the number.
void GenFileData(Gen &g) {
    auto &st = g.st;
    const uint8_t code = g.Byte(g.cur, 1);
    ++g.cur;
    const int end = StatementEnd(g);
    const std::vector<int> ops = Operands(g);
    if (ops.size() >= 2) {
        PushTypedVariable(g, ops[1]);
        PushArg(g, ops[0]);
        EmitCallRuntime(st, code == kStmFread ? "_$PsFREAD@12" : "_$PsFWRITE@12");
    }
    g.cur = end;
}

// LOCK/UNLOCK #n [, a] [TO b]: the mask, then b, a and n (0 for one not
// given).
void GenLockRange(Gen &g) {
    auto &st = g.st;
    const uint8_t code = g.Byte(g.cur, 1);
    ++g.cur;
    const int end = StatementEnd(g);
    const std::vector<int> ops = OperandsWithFileNumber(g);
    int32_t mask = 1;
    for (size_t k = 1; k < ops.size() && k < 3; ++k)
        if (Given(g, ops[k]))
            mask |= 1 << k;
    EmitPushImm(st, mask);
    for (size_t k = 3; k-- > 1;) {
        if (mask & (1 << k))
            PushArg(g, ops[k]);
        else
            EmitPushImm(st, 0);
    }
    PushArg(g, ops[0]);
    EmitCallRuntime(st, code == kStmLock ? "_$PsLOCK@16" : "_$PsUNLOCK@16");
    g.cur = end;
}

} // namespace txcg
