// The analysis machine: starts each statement of a line by its first token
// and walks the rule program entry by entry, calling the handlers.
#include "sc_machine.h"

#include <cstring>
#include <iterator>

namespace txsc {

namespace {

const Token kEndToken{tok::kClsEnd, 0, 0, 0};

struct Start {
    uint8_t kind;
    uint8_t head;
};

// Statement starts of clause and function keywords.
const Start kClauseStarts[] = {{6, 0x14}, {11, 0x70}, {13, 0x40}, {15, 0x80},
                               {17, 0x79}, {19, 0x30}, {22, 0x66}};
const Start kFuncStarts[] = {{2, 0x54}, {18, 0x56}, {38, 0xB7}, {39, 0xB0},
                             {40, 0xAF}, {67, 0x58}, {80, 0xB6}, {196, 0x84}};

int FindStart(const Start *table, size_t n, uint8_t kind) {
    for (size_t i = 0; i < n; ++i)
        if (table[i].kind == kind) return table[i].head;
    return -1;
}

// Begins a statement at the current token; 0 to go on stepping, else the
// line's result word (end flagged by `done`).
uint16_t BeginStatement(ScPass &p, bool &done) {
    const Token &t = CurToken(p);
    int head = -1;
    done = false;
    switch (t.cls) {
    case tok::kClsStatement:
        if (p.typeMode && t.kind != 0 && t.kind != 1 && t.kind != 0x1A) { done = true; return kErrNotInMode; }
        if (p.declMode && t.kind != 0 && t.kind != 1 && t.kind != 0x1A && t.kind != 0x31 && t.kind != 0x35) {
            done = true;
            return kErrNotInMode;
        }
        head = t.kind;
        break;
    case tok::kClsClause:
    case tok::kClsFunction:
        if (p.typeMode) { done = true; return kErrNotInMode; }
        if (p.declMode) { done = true; return kErrNotInDecl; }
        head = t.cls == tok::kClsClause ? FindStart(kClauseStarts, std::size(kClauseStarts), t.kind)
                                    : FindStart(kFuncStarts, std::size(kFuncStarts), t.kind);
        if (t.cls == tok::kClsClause && t.kind == 11) {
            // GO starts a statement only as GO TO.
            const Token &next = *reinterpret_cast<const Token *>(p.tokbuf + p.tok + 4);
            if (p.tok + 4 >= p.tokBytes || next.word() != 0x0810) head = -1;
            else Consume(p);
        }
        if (head < 0) { done = true; return kErrNoStart; }
        break;
    case tok::kClsName:
    case tok::kClsNameParen:
        head = p.typeMode ? 0x1D : p.declMode ? 0x1E : 0x80;
        break;
    case tok::kClsError:
        done = true;
        return uint16_t(0x0400 + t.kind);
    case tok::kClsEnd:
        PutItem(p, ic::kHead, 0);
        PutItem(p, ic::kEnd, 0);
        done = true;
        return 0;
    default:
        done = true;
        return kErrNoStart;
    }
    if (!PutItem(p, ic::kHead, uint8_t(head))) { done = true; return p.lineError; }
    Consume(p);
    p.head = p.out - 1;
    p.rule = Grammar().stmt[head];
    if (p.rule == kNoRule) {
        done = true;
        return kErrNoStart;
    }
    return 0;
}

// The label or line number that begins a line; 0 or the line's error word.
uint16_t LineStartLabel(ScPass &p, uint8_t slot) {
    Consume(p);
    PutItem(p, slot == 48 ? ic::kLabel : ic::kLineNo, 0);
    p.status = 0;
    kHandlers[slot](p);
    if (p.status) return uint16_t(p.status << 8 | 2);
    Item *it = LastItem(p);
    if (!it || !it->value) return 0;
    Label &l = p.tab.label(it->value);
    if (l.defLine) return kErrLabelTwice;
    l.defLine = p.recLine;
    l.stmtNo = p.stmtCount;
    return 0;
}

bool Push(ScPass &p, uint32_t ret) {
    if (p.depth >= kCallFrames) return false;
    p.frames[p.depth++] = CallFrame{ret, p.opBase, p.parens};
    return true;
}

}  // namespace

const Token &CurToken(const ScPass &p) {
    if (p.tok < 0 || p.tok >= p.tokBytes) return kEndToken;
    return *reinterpret_cast<const Token *>(p.tokbuf + p.tok);
}

const Token &LastToken(const ScPass &p) {
    if (p.lastTok < 0 || p.lastTok >= p.tokBytes) return kEndToken;
    return *reinterpret_cast<const Token *>(p.tokbuf + p.lastTok);
}

void Consume(ScPass &p) {
    p.lastTok = p.tok;
    if (p.tok < p.tokBytes) p.tok += 4;
}

const uint8_t *ConstBytes(ScPass &p, int unitOffset, int size) {
    if (unitOffset < 0 || unitOffset + 4 + size > p.tokBytes) return nullptr;
    return p.tokbuf + unitOffset + 4;
}

bool PutItem(ScPass &p, uint8_t code, uint8_t sub, uint32_t value) {
    // The last place is kept for the end item that closes the line.
    if (p.out >= kItemMax - 1 && code != ic::kEnd) {
        if (!p.lineError) p.lineError = kErrStackFull;
        return false;
    }
    if (p.out >= kItemMax) return false;
    p.items[p.out++] = Item{code, sub, value};
    return true;
}

Item *LastItem(ScPass &p) { return p.out > 0 ? &p.items[p.out - 1] : nullptr; }

bool InsertItems(ScPass &p, int at, const Item *src, int n) {
    if (p.out + n > kItemMax - 1) {
        if (!p.lineError) p.lineError = kErrStackFull;
        return false;
    }
    Item copy[kItemMax];
    std::memcpy(copy, src, sizeof(Item) * size_t(n));
    std::memmove(p.items + at + n, p.items + at, sizeof(Item) * size_t(p.out - at));
    std::memcpy(p.items + at, copy, sizeof(Item) * size_t(n));
    p.out += n;
    return true;
}

void RemoveItems(ScPass &p, int at, int n) {
    if (at < 0 || n <= 0 || at + n > p.out) return;
    std::memmove(p.items + at, p.items + at + n, sizeof(Item) * size_t(p.out - at - n));
    p.out -= n;
}

int NewSlot(ScPass &p, const Cst &c) {
    if (p.slotsUsed >= kConstSlots) {
        if (!p.lineError) p.lineError = kErrStackFull;
        return -1;
    }
    StoreConst(c, p.slots[p.slotsUsed]);
    return p.slotsUsed++;
}

Cst SlotValue(const ScPass &p, const Item &it) {
    return LoadConst(it.sub, p.slots[it.value % kConstSlots]);
}

void SetSlot(ScPass &p, const Item &it, const Cst &c) { StoreConst(c, p.slots[it.value % kConstSlots]); }

uint8_t RuleA(const ScPass &p) { return Grammar().rules[p.rule].a; }
uint8_t RuleB(const ScPass &p) { return Grammar().rules[p.rule].b; }

void TemplateFromToken(ScPass &p, const Token &t) {
    std::string_view line = p.lineView();
    std::string_view name = TokenName(p, t);
    NameCheck nc = CheckName(line, t.off, name.size());
    p.tmpl = SymTemplate{};
    p.tmpl.name = std::string(name.substr(0, nc.len));
    p.tmpl.type = t.kind;
    p.tmpl.typed = 1;
    p.tmpl.owner = p.scope.procId;
    p.tmpl.flags[1] = nc.suffix ? 1 : 0;
}

uint16_t AnalyseLine(ScPass &p) {
    const RuleProgram &g = Grammar();
    p.slotsUsed = 0;
    p.lineStrings = 0;
    p.depth = 0;
    p.ops.clear();
    p.opBase = 0;
    p.parens = 0;
    p.exprStarts.clear();
    p.exprParens.clear();
    p.argFrames.clear();
    p.nameFrames.clear();
    p.objects.clear();
    p.fnDef = 0;
    p.argOpen.clear();
    p.out = 0;
    p.head = 0;
    p.tok = 0;
    p.lastTok = -1;
    p.lineError = 0;
    p.status = 0;

    if (CurToken(p).word() == 0x00A0) {
        PutItem(p, ic::kHead, 2);
        if (uint16_t w = LineStartLabel(p, 48)) return w;
    } else if (CurToken(p).word() == 0x00A1) {
        PutItem(p, ic::kHead, 3);
        if (uint16_t w = LineStartLabel(p, 49)) return w;
        if (CurToken(p).word() == 0x00A0)
            if (uint16_t w = LineStartLabel(p, 48)) return w;
    }
    while (CurToken(p).word() == kTokColon) Consume(p);
    p.lineDepth = 0;

    bool done = false;
    uint16_t word = BeginStatement(p, done);
    if (done) return word;

    // Every step of every line comes through here: the current token and
    // the last item are read in place rather than through their calls.
    for (;;) {
        if (p.lineError) return p.lineError;
        if (p.rule >= g.rules.size()) return kErrBadOpcode;
        const RuleEntry &e = g.rules[p.rule];
        const Token &t = p.tok >= 0 && p.tok < p.tokBytes ? *reinterpret_cast<const Token *>(p.tokbuf + p.tok)
                                                          : kEndToken;
        p.trace[p.traceNext] = TraceEntry{t.word(), e.op, e.a, e.b, e.target};
        if (++p.traceNext >= kTraceEntries) p.traceNext = 0;
        const uint16_t operand = uint16_t(e.a | e.b << 8);
        const Item *last = p.out > 0 ? &p.items[p.out - 1] : nullptr;
        const uint16_t lastWord = last ? last->word() : 0;
        const uint8_t lastCode = last ? last->code : 0;
        uint32_t next = p.rule + 1;
        switch (e.op) {
        case op::kIfToken:
            if (t.word() == operand) { Consume(p); next = e.target; }
            break;
        case op::kNeedToken:
            if (t.word() == operand) Consume(p);
            else next = e.target;
            break;
        case op::kIfClass:
            if (t.cls == e.a) { Consume(p); next = e.target; }
            break;
        case op::kNeedClass:
            if (t.cls == e.a) Consume(p);
            else next = e.target;
            break;
        case op::kIfItem: if (lastWord == operand) next = e.target; break;
        case op::kIfNotItem: if (lastWord != operand) next = e.target; break;
        case op::kIfItemCode: if (lastCode == e.a) next = e.target; break;
        case op::kIfNotItemCode: if (lastCode != e.a) next = e.target; break;
        case op::kCallHandler:
            if (e.a >= kHandlerSlots || !kHandlers[e.a]) return kErrBadOpcode;
            kHandlers[e.a](p);
            next = p.rule + 1;
            break;
        case op::kIfStatus: if (p.status == e.a) next = e.target; break;
        case op::kIfNotStatus: if (p.status != e.a) next = e.target; break;
        case op::kStatusDispatch: next = g.status[p.status % kStatuses]; break;
        case op::kCall:
            if (!Push(p, p.rule + 1)) return kErrStackFull;
            next = e.target;
            break;
        case op::kCallByItem: {
            uint8_t sub = last ? last->sub : 0;
            if (!Push(p, p.rule + 1)) return kErrStackFull;
            next = sub < kItemKinds ? g.item[sub] : kNoRule;
            if (next == kNoRule) return kErrNoStart;
            break;
        }
        case op::kReturn:
            if (p.depth == 0) return kErrBadOpcode;
            --p.depth;
            p.opBase = p.frames[p.depth].opBase;
            p.parens = p.frames[p.depth].parens;
            next = p.frames[p.depth].ret;
            break;
        case op::kEmitItem: PutItem(p, e.a, e.b); break;
        case op::kEmitToken: {
            const Token &lt = LastToken(p);
            PutItem(p, lt.cls, lt.kind);
            break;
        }
        case op::kEmitConstant: {
            if (e.a > 4) return kErrBadOpcode;
            Cst c;
            c.type = e.a;
            c.l = e.b;
            c.s = float(e.b);
            c.d = double(e.b);
            int slot = NewSlot(p, c);
            if (slot < 0) break;
            PutItem(p, ic::kExpr, e.a);
            PutItem(p, ic::kConst, e.a, uint32_t(slot));
            PutItem(p, ic::kExprEnd, 0);
            break;
        }
        case op::kSkipTokens:
            p.tok += 4 * e.a;
            if (p.tok > p.tokBytes) p.tok = p.tokBytes;
            break;
        case op::kBackTokens:
            p.tok -= 4 * e.a;
            if (p.tok < 0) p.tok = 0;
            break;
        case op::kSkipItems:
            p.out += e.a;
            if (p.out > kItemMax - 1) return kErrStackFull;
            break;
        case op::kBackItems:
            p.out -= e.a;
            if (p.out < 0) p.out = 0;
            break;
        case op::kJump: next = e.target; break;
        case op::kRestart: {
            uint8_t kind = p.items[p.head].sub;
            uint32_t first = g.stmt[kind];
            if (first == kNoRule) return kErrNoStart;
            next = first + 1;
            break;
        }
        case op::kSetKind: p.items[p.head].sub = e.a; break;
        case op::kNextStatement: {
            word = BeginStatement(p, done);
            if (done) return word;
            next = p.rule;
            break;
        }
        case op::kEnd:
            PutItem(p, ic::kEnd, 0);
            return operand;
        default:
            return kErrBadOpcode;
        }
        p.rule = next;
    }
}

}  // namespace txsc
