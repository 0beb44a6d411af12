// The graphics statements. The analyzer writes every operand place of a
// statement (an omitted one as the keyword item F0), so each generator
// reads its operands by position: a point is three places (STEP item or
// F0, x and y as singles). Each routine takes the window prefix first; the
// argument words of each are listed in outside/runtime/CONTRACTS.md.
#include <vector>

#include "cg_bytes.h"
#include "cg_gen.h"

namespace txcg {

namespace {

// The operand places up to the next statement token.
std::vector<int> Places(Gen &g, int &end) {
    std::vector<int> at;
    int i = g.cur;
    while (i < g.ntok && g.Kind(i) != kTokStatement) {
        const uint8_t k = g.Kind(i);
        if (IsGroupHead(k) || k == kTokKeyword)
            at.push_back(i);
        i = SkipFrom(g, i);
    }
    end = i;
    return at;
}

bool Given(Gen &g, const std::vector<int> &ops, size_t k) {
    return k < ops.size() && !(g.Kind(ops[k]) == kTokKeyword && g.Byte(ops[k], 1) == kKwNone);
}

// One operand word, or its default when the place is empty.
void PushWord(Gen &g, const std::vector<int> &ops, size_t k, int32_t dflt = 0) {
    if (!Given(g, ops, k)) {
        EmitPushImm(g.st, dflt);
        return;
    }
    g.cur = ops[k];
    GenRoutineArg(g);
}

// A double operand as two words (0.0 when the place is empty).
void PushDouble(Gen &g, const std::vector<int> &ops, size_t k) {
    auto &st = g.st;
    if (!Given(g, ops, k)) {
        EmitPushImm(st, 0);
        EmitPushImm(st, 0);
        return;
    }
    g.cur = ops[k];
    GenRoutineArg(g); // a double stays in ST0
    EmitCallRuntime(st, "$PbFstDbl");
    EmitPushReg(st, kEdx);
    EmitPushReg(st, kEax);
}

// Bit k set when place first + k is given.
int32_t Mask(Gen &g, const std::vector<int> &ops, size_t first, size_t count) {
    int32_t m = 0;
    for (size_t k = 0; k < count; ++k)
        if (Given(g, ops, first + k))
            m |= 1 << k;
    return m;
}

// The control record of the array operand at place k.
void PushArray(Gen &g, const std::vector<int> &ops, size_t k) {
    if (k >= ops.size()) {
        EmitPushImm(g.st, 0);
        return;
    }
    g.cur = IsGroupHead(g.Kind(ops[k])) ? ops[k] + 1 : ops[k];
    OperandDesc d;
    GetOperandDesc(g, d);
    PushControl(g, d);
}

// Places first .. first + count - 1 from the last to the first; colour
// places (a bit of colourMask, by position from first) default to -1.
void PushRange(Gen &g, const std::vector<int> &ops, size_t first, size_t count, uint32_t colourMask = 0) {
    for (size_t k = count; k-- > 0;)
        PushWord(g, ops, first + k, (colourMask >> k) & 1 ? -1 : 0);
}

// CONNECT and PAINT take one word, the address of a block of their
// operands; the caller removes the block.
void CallWithBlock(Gen &g, int32_t words, const char *routine) {
    auto &st = g.st;
    EmitPushReg(st, kEsp);
    EmitCallRuntime(st, routine);
    EmitAddRegImm(st, kEsp, 4 * words);
}

} // namespace

void GenGraphics(Gen &g) {
    auto &st = g.st;
    const uint8_t code = g.Byte(g.cur, 1);
    ++g.cur;
    int end = 0;
    const std::vector<int> ops = Places(g, end);
    switch (code) {
    case kStmPset: // step x y a c: c given, c, a, y, x, step
        EmitPushImm(st, Given(g, ops, 4) ? 1 : 0);
        PushRange(g, ops, 0, 5, 1u << 4);
        PushPrefix(g);
        EmitCallRuntime(st, "_$PsPSET@28");
        break;
    case kStmPreset:
    case kStmPoint:
        PushRange(g, ops, 0, 3);
        PushPrefix(g);
        EmitCallRuntime(st, code == kStmPreset ? "_$PsPRESET@16" : "_$PsPOINT@16");
        break;
    case kStmLine: // step1 x1 y1 step2 x2 y2 c box style a f, and the mask of them
        EmitPushImm(st, Mask(g, ops, 0, 11));
        PushRange(g, ops, 0, 11, 1u << 6 | 1u << 10);
        PushPrefix(g);
        EmitCallRuntime(st, "_$PsLINE@52");
        break;
    case kStmCircle: // step x y r c start end aspect (the last three doubles)
        EmitPushImm(st, Mask(g, ops, 0, 8));
        for (size_t k = 8; k-- > 5;)
            PushDouble(g, ops, k);
        PushRange(g, ops, 0, 5, 1u << 4);
        PushPrefix(g);
        EmitCallRuntime(st, "_$PsCIRCLE@52");
        break;
    case kStmPaint: // block {P, step, x, y, paint, border, mask}
        EmitPushImm(st, Mask(g, ops, 0, 5));
        PushRange(g, ops, 0, 5, 3u << 3);
        PushPrefix(g);
        CallWithBlock(g, 7, "_$PsPAINT@4");
        break;
    case kStmConnect: { // block {P, c, c given, n, then n points of three words}
        const size_t points = ops.empty() ? 0 : (ops.size() - 1) / 3;
        PushRange(g, ops, 0, 3 * points);
        EmitPushImm(st, int32_t(points));
        EmitPushImm(st, Given(g, ops, 3 * points) ? 1 : 0);
        PushWord(g, ops, 3 * points, -1);
        PushPrefix(g);
        CallWithBlock(g, 4 + 3 * int32_t(points), "_$PsCONNECT@4");
        break;
    }
    case kStmAxis:
        PushRange(g, ops, 0, 1);
        PushPrefix(g);
        EmitCallRuntime(st, "_$PsAXIS@8");
        break;
    case kStmPalette:
    case kStmPaletteRgb: {
        const size_t n = code == kStmPalette ? 2 : 4;
        PushRange(g, ops, 0, n);
        PushPrefix(g);
        EmitCallRuntime(st, code == kStmPalette ? "_$PsPALETTE@12" : "_$PsPALETTE_RGB@20");
        break;
    }
    case kStmSymbol: { // step x y s$ h v c a angle: the text on the string stack
        if (ops.size() > 3) {
            g.cur = ops[3];
            GenGroupValue(g);
        }
        std::vector<int> words(ops.begin(), ops.end());
        if (words.size() > 3)
            words.erase(words.begin() + 3);
        EmitPushImm(st, Mask(g, words, 0, 8));
        PushRange(g, words, 0, 8, 1u << 5);
        PushPrefix(g);
        EmitCallRuntime(st, "_$PsSYMBOL40@40");
        break;
    }
    case kStmGetAt: // step1 x1 y1 step2 x2 y2 array: the steps as a mask
        EmitPushImm(st, (Given(g, ops, 0) ? 1 : 0) | (Given(g, ops, 3) ? 2 : 0));
        PushArray(g, ops, 6);
        PushRange(g, ops, 4, 2);
        PushRange(g, ops, 1, 2);
        PushPrefix(g);
        EmitCallRuntime(st, "_$PsGET40G@28");
        break;
    case kStmPutAt: // step x y array action c
        EmitPushImm(st, Given(g, ops, 5) ? 1 : 0);
        PushWord(g, ops, 5, -1);
        PushWord(g, ops, 4);
        PushArray(g, ops, 3);
        PushRange(g, ops, 0, 3);
        PushPrefix(g);
        EmitCallRuntime(st, "_$PsPUT40G@32");
        break;
    case kStmColorAt:
        PushRange(g, ops, 0, 7);
        PushPrefix(g);
        EmitCallRuntime(st, "_$PsCOLOR40@32");
        break;
    case kStmView: // screen x1 y1 x2 y2 f b, or nothing
    case kStmWindow: // screen x1 y1 x2 y2, and a word kept 0
        if (ops.empty()) {
            PushPrefix(g);
            EmitCallRuntime(st, code == kStmView ? "_$PsVIEW@4" : "_$PsWINDOW@4");
            break;
        }
        if (code == kStmWindow)
            EmitPushImm(st, 0);
        PushRange(g, ops, 0, code == kStmView ? 7 : 5);
        PushPrefix(g);
        EmitCallRuntime(st, code == kStmView ? "_$PsVIEW1@32" : "_$PsWINDOW1@28");
        break;
    default:
        CgFail(kErrInternal);
    }
    g.cur = end;
}

} // namespace txcg
