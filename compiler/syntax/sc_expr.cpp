#include "sc_expr.h"

#include <cstring>

#include "sc_functions.h"
#include "sc_machine.h"

namespace txsc {

namespace {

bool IsStart(uint8_t code) { return code >= ic::kExpr && code <= ic::kExprParen; }
bool IsStrT(uint8_t t) { return (t & 0xF0) == 0x10; }
bool IsNumT(uint8_t t) { return t < 16; }

void EmitOp(ScPass &p, uint16_t word) { PutItem(p, uint8_t(word & 0xFF), uint8_t(word >> 8)); }

void PopOps(ScPass &p, int minPrec, bool sameLevelOnly) {
    while (p.ops.size() > p.opBase) {
        const OpEntry &top = p.ops.back();
        if (sameLevelOnly && top.level != p.parens) break;
        if (top.prec < minPrec) break;
        EmitOp(p, top.op);
        p.ops.pop_back();
    }
}

// Index of the item after the group that begins at `i` (a function, call,
// element or object group), or `end` when it is not closed before `end`.
int SkipGroup(const ScPass &p, int i, int end) {
    int depth = 0;
    for (int j = i; j < end; ++j) {
        uint8_t c = p.items[j].code;
        if ((c >= ic::kFunc && c <= ic::kLibCall) || c == ic::kElem || c == ic::kElemMember || c == ic::kObject) ++depth;
        if (c == ic::kFuncEnd || c == ic::kIndexEnd || c == ic::kObjectEnd) {
            if (--depth == 0) return j + 1;
        }
    }
    return end;
}

bool HasSubscripts(const ScPass &p, int i, int end) { return i + 1 < end && IsStart(p.items[i + 1].code); }

uint8_t Rank(uint8_t t) { return t == kTypeByt ? kTypeInt : t; }

uint8_t NumericResult(uint8_t op, uint8_t a, uint8_t b) {
    if (a == kTypeAny) a = b;
    if (b == kTypeAny) b = a;
    if (a == kTypeByt && b == kTypeByt && op != 18 && op != 22) return kTypeByt;
    a = Rank(a);
    b = Rank(b);
    uint8_t hi = a > b ? a : b, lo = a > b ? b : a;
    uint8_t r = (lo == kTypeLng && hi == kTypeSng) ? kTypeDbl : hi;
    if (r > kTypeDbl) r = kTypeDbl;
    switch (op) {
    case 18: return r == kTypeInt ? kTypeSng : r == kTypeLng ? kTypeDbl : r;
    case 22: return r == kTypeInt ? kTypeSng : r == kTypeLng ? kTypeDbl : r;
    case 23: case 24: return r == kTypeInt ? kTypeInt : kTypeLng;
    case 49: case 50: case 51: case 52: case 53: return r == kTypeInt ? kTypeInt : kTypeLng;
    }
    return r;
}

// Replaces an all-constant postfix expression by its folded value.
uint8_t FoldExpression(ScPass &p, int start) {
    int end = p.out - 1;   // the end item
    bool hadOp = false;
    for (int i = start + 1; i < end; ++i) {
        const Item &it = p.items[i];
        if (it.code == ic::kConst && it.sub <= 4) continue;
        if (it.code == ic::kOper || it.code == ic::kPrefix) { hadOp = true; continue; }
        return 0;
    }
    if (!hadOp) return 0;
    Cst stack[kItemMax];
    int n = 0;
    for (int i = start + 1; i < end; ++i) {
        const Item &it = p.items[i];
        if (it.code == ic::kConst) { stack[n++] = SlotValue(p, it); continue; }
        if (it.code == ic::kPrefix) {
            if (n < 1) return fs::kNoOperand;
            if (uint8_t st = FoldUnary(it.sub, stack[n - 1])) return st;
            continue;
        }
        if (n < 2) return fs::kNoOperand;
        Cst b = stack[--n];
        if (uint8_t st = FoldBinary(it.sub, stack[n - 1], b)) return st;
    }
    if (n != 1) return fs::kNoOperand;
    int slot = NewSlot(p, stack[0]);
    if (slot < 0) return 0;
    p.out = start + 1;
    PutItem(p, ic::kConst, stack[0].type, uint32_t(slot));
    PutItem(p, ic::kExprEnd, 0);
    return 0;
}

}  // namespace

uint32_t EnterString(ScPass &p, const char *text, size_t len, uint8_t *status) {
    *status = 0;
    std::string s;
    for (size_t i = 0; i < len && s.size() < 255; ++i) {
        s += text[i];
        if (text[i] == '"' && i + 1 < len && text[i + 1] == '"') ++i;
    }
    StringConst c;
    uint64_t add = 12 + s.size();
    // The first earlier constant, not itself a reference, that holds the text.
    const auto *bytes = reinterpret_cast<const uint8_t *>(s.data());
    uint32_t first, pos;
    if (p.stringIndex.Find(bytes, s.size(), first, pos)) {
        c.ref = first + 1;
        c.pos = pos;
        add = 12;
    }
    if (p.stringBytes + add > 0x7FFFFFFF) { *status = 121; return 0; }
    p.stringBytes += add;
    if (!c.ref) {
        p.stringIndex.Begin(uint32_t(p.strings.size()));
        p.stringIndex.Extend(bytes, s.size());
    }
    // A reference keeps its text too: its table head carries the length.
    c.text = std::move(s);
    p.strings.push_back(std::move(c));
    return uint32_t(p.strings.size());
}

uint8_t TakeConstant(ScPass &p) {
    const Token t = LastToken(p);
    if (t.cls != tok::kClsConstant) return fs::kBadToken;
    if (t.kind == 16) {
        std::string_view text = TokenName(p, t);
        if (text.empty()) {
            PutItem(p, ic::kConst, kTypeEmptyStr, 0);
            return 0;
        }
        uint8_t st;
        uint32_t h = EnterString(p, text.data(), text.size(), &st);
        if (st) return st;
        PutItem(p, ic::kConst, 16, h);
        return 0;
    }
    if (t.kind > 4) return fs::kBadConst;
    int size = ConstValueSize(t.kind);
    const uint8_t *bytes = ConstBytes(p, p.lastTok, size);
    if (!bytes) AbortPass(p, kErrBadFile, kDetailTokenCode);
    uint8_t raw[8] = {};
    std::memcpy(raw, bytes, size_t(size));
    p.tok = p.lastTok + 4 + size;
    int slot = NewSlot(p, LoadConst(t.kind, raw));
    if (slot < 0) return 0;
    PutItem(p, ic::kConst, t.kind, uint32_t(slot));
    return 0;
}

uint8_t EvalConstExpr(ScPass &p, Cst &out) {
    struct Op { uint8_t code, level, prec; bool prefix; };
    Op ops[64];
    int nops = 0;
    Cst vals[64];
    int nvals = 0;
    int level = 0;
    auto fold = [&]() -> uint8_t {
        Op o = ops[--nops];
        if (o.prefix) {
            if (nvals < 1) return fs::kNoOperand;
            return FoldUnary(o.code, vals[nvals - 1]);
        }
        if (nvals < 2) return fs::kNoOperand;
        Cst b = vals[--nvals];
        return FoldBinary(o.code, vals[nvals - 1], b);
    };
    for (;;) {
        // Operand position.
        const Token t = CurToken(p);
        if (t.cls == tok::kClsConstant) {
            Consume(p);
            if (t.kind > 4) return t.kind == 16 ? fs::kTypeMismatch : fs::kBadConst;
            int size = ConstValueSize(t.kind);
            const uint8_t *bytes = ConstBytes(p, p.lastTok, size);
            if (!bytes) AbortPass(p, kErrBadFile, kDetailTokenCode);
            uint8_t raw[8] = {};
            std::memcpy(raw, bytes, size_t(size));
            p.tok = p.lastTok + 4 + size;
            if (nvals >= 64) return fs::kNoOperand;
            vals[nvals++] = LoadConst(t.kind, raw);
        } else if (t.word() == kTokOpen) {
            Consume(p);
            ++level;
            continue;
        } else if (t.word() == 0x1320) {
            Consume(p);
            continue;
        } else if (t.word() == 0x1420 || t.cls == tok::kClsPrefix) {
            Consume(p);
            if (nops >= 64) return fs::kNoOperand;
            ops[nops++] = Op{uint8_t(t.cls == tok::kClsPrefix ? 0x30 : 0x11), uint8_t(level),
                             uint8_t(t.cls == tok::kClsPrefix ? 7 : 13), true};
            continue;
        } else {
            return fs::kBadToken;
        }
        // After a constant.
        for (;;) {
            const Token n = CurToken(p);
            if (n.word() == kTokClose && level > 0) {
                Consume(p);
                while (nops && ops[nops - 1].level == level)
                    if (uint8_t st = fold()) return st;
                --level;
                continue;
            }
            if (n.cls == tok::kClsOperator) {
                uint8_t code = n.kind == 67 ? 25 : n.kind;
                int prec = OpPrecedence(code);
                if (!prec) return fs::kBadOp;
                Consume(p);
                while (nops && ops[nops - 1].level == level && ops[nops - 1].prec >= prec)
                    if (uint8_t st = fold()) return st;
                if (nops >= 64) return fs::kNoOperand;
                ops[nops++] = Op{code, uint8_t(level), uint8_t(prec), false};
                break;
            }
            if (level > 0) return fs::kOpenParen;
            while (nops)
                if (uint8_t st = fold()) return st;
            if (nvals != 1) return fs::kNoOperand;
            out = vals[0];
            return 0;
        }
    }
}

namespace {

// The result type of binary operator `code` on `a` and `b`, left in `a`;
// 0 or the error status. `bcd`: the expression is a BCD string one.
uint8_t BinaryType(uint8_t code, uint8_t &a, uint8_t b, bool bcd) {
    uint8_t r;
    if (code == 18 || (code >= 20 && code <= 24)) {
        if (IsNumT(a) && IsNumT(b)) r = NumericResult(code, a, b);
        else if ((a == kTypeAny || b == kTypeAny) && (IsNumT(a) || IsNumT(b))) r = kTypeDbl;
        else if (bcd && IsStrT(a) && IsStrT(b)) r = kTypeBcd;
        else return 13;
    } else if (code == 19 || code == 25) {
        if (a == kTypeAny || b == kTypeAny) r = a == kTypeAny ? b : a;
        else if (a > 19 || b > 19 || (a & 0xF0) != (b & 0xF0)) return 13;
        else r = IsStrT(a) ? kTypeStr : NumericResult(code, a, b);
    } else if (code >= 32 && code <= 37) {
        if (a != kTypeAny && b != kTypeAny && (a > 19 || b > 19 || (a & 0xF0) != (b & 0xF0))) return 13;
        r = kTypeInt;
    } else if (code >= 49 && code <= 53) {
        if (!(IsNumT(a) || a == kTypeAny) || !(IsNumT(b) || b == kTypeAny)) return 13;
        r = NumericResult(code, a, b);
    } else {
        return 89;
    }
    a = r;
    return 0;
}

// The type of prefix operator `code` applied to `a`, left in `a`.
uint8_t PrefixType(uint8_t code, uint8_t &a, bool bcd) {
    if (code == 16 || code == 17) {
        if (bcd ? !IsStrT(a) : !(IsNumT(a) || a == kTypeAny)) return bcd ? 13 : 71;
        if (a == kTypeByt && code == 17) a = kTypeInt;
    } else if (code == 48) {
        if (!(IsNumT(a) || a == kTypeAny)) return 71;
        if (a >= kTypeSng && a <= kTypeDbl) a = kTypeLng;
    } else {
        return 89;
    }
    return 0;
}

uint8_t CheckTarget(ScPass &p, int start, uint8_t r, bool hadOp, uint32_t user);

}  // namespace

uint8_t TypeExpression(ScPass &p, int start) {
    const int end = p.out - 1;
    uint8_t types[kItemMax];
    uint32_t users[kItemMax];
    int n = 0;
    bool hadOp = false;
    const bool bcd = p.items[start].sub == kTypeBcd;
    for (int i = start + 1; i < end;) {
        const Item &it = p.items[i];
        switch (it.code) {
        case ic::kVar:
        case ic::kFnResult:
        case ic::kConst:
            types[n] = it.sub;
            users[n++] = it.code == ic::kVar && it.sub == kTypeRecord ? p.tab.sym(it.value).extra : 0;
            ++i;
            break;
        case ic::kElem:
        case ic::kArray:
            if (it.code == ic::kArray && !(i == start + 1 && (i + 1 == end || i + 2 == end))) return 71;
            types[n] = it.sub;
            users[n++] = it.sub == kTypeRecord ? p.tab.sym(it.value).extra : 0;
            i = (it.code == ic::kElem && HasSubscripts(p, i, end)) ? SkipGroup(p, i, end) : i + 1;
            break;
        case ic::kMember:
        case ic::kElemMember:
            if (n < 1) return 81;
            types[n - 1] = it.sub;
            users[n - 1] = it.sub == kTypeRecord ? p.tab.member(it.value).extra : 0;
            i = (it.code == ic::kElemMember && HasSubscripts(p, i, end)) ? SkipGroup(p, i, end) : i + 1;
            break;
        case ic::kFunc:
            types[n] = uint8_t(it.value);
            users[n++] = 0;
            i = SkipGroup(p, i, end);
            break;
        case ic::kFuncArgs:
        case ic::kCall:
        case ic::kLibCall:
            types[n] = it.sub;
            users[n++] = 0;
            i = SkipGroup(p, i, end);
            break;
        case ic::kLabelValue:
            if (i + 1 >= end || p.items[i + 1].code != ic::kOper) return 13;
            types[n] = kTypeLng;
            users[n++] = 0;
            ++i;
            break;
        case ic::kOper: {
            if (n < 2) return 81;
            hadOp = true;
            const uint8_t b = types[--n];
            if (uint8_t st = BinaryType(it.sub, types[n - 1], b, bcd)) return st;
            users[n - 1] = 0;
            ++i;
            break;
        }
        case ic::kPrefix:
            if (n < 1) return 81;
            hadOp = true;
            if (uint8_t st = PrefixType(it.sub, types[n - 1], bcd)) return st;
            ++i;
            break;
        case ic::kObject:
            i = SkipGroup(p, i, end);
            // A function's leading argument: the function gives the type.
            if (i < end && !(p.items[i].code >= ic::kFunc && p.items[i].code <= ic::kLibCall)) {
                types[n] = kTypeObject;
                users[n++] = 0;
            }
            break;
        default:
            ++i;
            break;
        }
    }
    if (n != 1) return 81;
    const uint8_t r = types[0];
    Item &s = p.items[start];
    if (!hadOp) {
        if (s.code == ic::kExprVal) s.code = ic::kExpr;
        else if (s.code == ic::kExprTmp) s.code = ic::kExprRef;
    }
    if (s.code == ic::kExprParen) {
        if ((r >> 4) == 3 || (r >> 4) == 4) return 71;
        if (hadOp) s.code = ic::kExprTmp;
    }
    p.curType = r;
    p.exprHadOp = hadOp;
    return CheckTarget(p, start, r, hadOp, users[0]);
}

namespace {

// The expression's type `r` against what its place wants (the head's sub);
// 0, or 71 when it does not fit.
uint8_t CheckTarget(ScPass &p, int start, uint8_t r, bool hadOp, uint32_t user) {
    Item &s = p.items[start];
    const uint8_t target = s.sub;
    bool ok;
    switch (target) {
    case 0: case 1: case 2: case 3: case 4: case 8: case 9:
        ok = IsNumT(r) || r == kTypeAny;
        if (ok && s.code == ic::kExprRef && !hadOp && p.items[start + 1].code == ic::kVar) ok = r == target;
        break;
    case 16: case 17: case 19:
        ok = IsStrT(r);
        if (ok && hadOp) s.value = 1;
        break;
    case 18: ok = IsStrT(r); break;
    case 32: ok = IsNumT(r) || IsStrT(r) || r == kTypeAny; break;
    case 33:
        ok = r == kTypeRecord || IsStrT(r);
        if (r == kTypeRecord) s.value = user;
        break;
    case 48: ok = r == kTypeRecord && user == s.value; break;
    case 80: ok = true; break;
    case 64: case 65: ok = r >= 64 && r <= 79; break;
    default: return 90;
    }
    return ok ? 0 : 71;
}

}  // namespace

uint8_t NewTemporary(ScPass &p, uint8_t type) {
    int counter;
    if (type <= 4) counter = type;
    else if (IsStrT(type)) counter = 5;
    else AbortPass(p, kErrInternal, kDetailExprStack);
    // The name goes into the template only: writing it over the line would
    // spoil the names of the line that are still to be read.
    char name[8];
    std::snprintf(name, sizeof name, "t%04X", unsigned(p.tempCount[counter]++ & 0xFFFF));
    SymTemplate t;
    t.name = name;
    t.type = type;
    t.kind = p.scope.proc ? sk::kLocal : sk::kModule;
    t.owner = p.scope.procId;
    t.typed = 1;
    p.tab.Search(t, p.scope);
    uint32_t h = p.tab.Enter(t, 41, p.scope);
    if (!h) return 119;
    PutItem(p, ic::kExpr, type);
    PutItem(p, ic::kVar, type, h);
    PutItem(p, ic::kExprEnd, 0);
    return 0;
}

void AddDataItem(ScPass &p, int off, int len) {
    DataItem d;
    d.line = p.mainLine;
    d.stmt = p.stmtCount;
    d.proc = p.scope.proc;
    if (off < 0 || len < 0 || off + len > p.lineLen) AbortPass(p, kErrBadFile, kDetailTokenCode);
    d.text.assign(p.line + off, size_t(len));
    p.data.push_back(std::move(d));
}

// Slot 35: the target type of the next expression start.
void SC_ExpTarget(ScPass &p) {
    p.exprTarget = RuleB(p);
    p.exprValue = 0;
}

// Slot 3: opens an expression at the output cursor.
void SC_ExpOpen(ScPass &p) {
    if (!PutItem(p, ic::kExprVal, p.exprTarget, p.exprValue)) return;
    p.exprStarts.push_back(p.out - 1);
    p.exprParens.push_back(ScPass::ExprParen{p.tok});
    p.exprTarget = 32;
    p.exprValue = 0;
    p.opBase = uint32_t(p.ops.size());
    p.parens = 0;
    p.status = 0;
}

// Slot 4: the binary operator just consumed.
void SC_ExpOpr(ScPass &p) {
    uint8_t code = LastToken(p).kind;
    if (code == 67) code = 25;
    int prec = OpPrecedence(code);
    if (!prec) { p.status = 11; return; }
    PopOps(p, prec, true);
    p.ops.push_back(OpEntry{uint16_t(ic::kOper | code << 8), p.parens, uint8_t(prec)});
    p.status = 0;
}

// Slot 5: a prefix operator: sign or NOT.
void SC_ExpPfx(ScPass &p) {
    const Token &t = LastToken(p);
    p.status = 0;
    if (t.cls == tok::kClsPrefix) p.ops.push_back(OpEntry{uint16_t(ic::kPrefix | 0x30 << 8), p.parens, 7});
    else if (t.word() == 0x1420) p.ops.push_back(OpEntry{uint16_t(ic::kPrefix | 0x11 << 8), p.parens, 13});
}

// Slot 6: an opening parenthesis inside the expression.
void SC_ExpPar(ScPass &p) {
    if (p.parens == 0 && !p.exprParens.empty()) {
        ScPass::ExprParen &e = p.exprParens.back();
        e.atStart = p.lastTok == e.startTok;
    }
    ++p.parens;
}

// Slot 7: a closing parenthesis: status 1 when it is not this expression's.
void SC_ExpCls(ScPass &p) {
    if (p.parens == 0) { p.status = 1; return; }
    PopOps(p, 0, true);
    --p.parens;
    if (p.parens == 0 && !p.exprParens.empty()) p.exprParens.back().closedAt = p.out;
    p.status = 0;
}

// Slot 8: closes the expression: operators, end item, folding, typing.
void SC_ExpClose(ScPass &p) {
    if (p.parens > 0) { p.status = 0x27; return; }
    p.exprParenthesised = false;
    if (!p.exprParens.empty()) {
        const ScPass::ExprParen &e = p.exprParens.back();
        p.exprParenthesised = e.atStart && e.closedAt == p.out && p.ops.size() == p.opBase;
        p.exprParens.pop_back();
    }
    PopOps(p, 0, false);
    PutItem(p, ic::kExprEnd, 0);
    if (p.exprStarts.empty()) { p.status = 27; return; }
    int start = p.exprStarts.back();
    p.exprStarts.pop_back();
    p.exprStart = start;
    if (p.lineError) return;
    if (uint8_t st = FoldExpression(p, start)) { p.status = st; return; }
    p.status = TypeExpression(p, start);
}

// Slot 9: a constant operand.
void SC_ExpCst(ScPass &p) { p.status = TakeConstant(p); }

// Slot 10: an intrinsic function: its item carries the result type. With
// B = 1 the object's group is written already (`obj.CSRLIN`).
void SC_ExpFun(ScPass &p) {
    const Token &t = LastToken(p);
    const FuncSig *f = FindFunction(t.kind);
    if (!f) { p.status = 5; return; }
    if (f->args[0] == 'P' && RuleB(p) == 0) {
        // No object given: the null object, in front of the function item,
        // where the generator takes it as the routine's first argument.
        PutItem(p, ic::kObject, 0x40);
        PutItem(p, ic::kConst, 0x41);
        PutItem(p, ic::kObjectEnd, 0);
    }
    PutItem(p, ic::kFunc, t.kind, f->result);
    p.status = 0;
}

// Slot 11: closes an argument list. Four functions take a second code by
// their arguments: STRING$ with a character code, DSKF with a drive number,
// INPUT$ with a file number (which has no object prefix), POINT with one
// argument (a number, where the coordinates are singles).
void SC_FunEnd(ScPass &p) {
    int fn = -1, depth = 0, args = 0;
    for (int j = p.out - 1; j >= 0 && fn < 0; --j) {
        const uint8_t c = p.items[j].code;
        if (c == ic::kFuncEnd || c == ic::kIndexEnd || c == ic::kObjectEnd) {
            ++depth;
        } else if ((c >= ic::kFunc && c <= ic::kLibCall) || c == ic::kElem || c == ic::kElemMember || c == ic::kObject) {
            if (depth == 0) fn = j;
            else --depth;
        } else if (depth == 0 && IsStart(c)) {
            ++args;
        }
    }
    p.status = 0;
    if (fn >= 0 && p.items[fn].code == ic::kFunc && p.items[fn].sub == tok::kw::kLEN && !IsStrT(p.curType)) {
        // LEN of a variable: SC_SizVar left its size; the call becomes it.
        if (fn + 4 == p.out && p.items[fn + 1].code == ic::kExpr && p.items[fn + 2].code == ic::kConst &&
            p.items[fn + 3].code == ic::kExprEnd) {
            p.items[fn] = p.items[fn + 2];
            p.out = fn + 1;
            return;
        }
        p.status = 71;
        return;
    }
    if (fn >= 0 && p.items[fn].code == ic::kFunc) {
        Item &f = p.items[fn];
        if (f.sub == tok::kw::kSTRING_S && IsNumT(p.curType)) {
            f.sub = tok::fn::kStringCode;
        } else if (f.sub == tok::kw::kDSKF && IsNumT(p.curType)) {
            f.sub = tok::fn::kDskfNumeric;
        } else if (f.sub == tok::kw::kINPUT_S && args == 2 && fn >= 3 && p.items[fn - 3].code == ic::kObject) {
            f.sub = tok::fn::kInputFile;
            for (int j = fn - 3; j + 3 < p.out; ++j) p.items[j] = p.items[j + 3];
            p.out -= 3;
        } else if (f.sub == tok::kw::kPOINT && args == 1) {
            f.sub = tok::fn::kPointOneArg;
            f.value = FindFunction(f.sub)->result;
            for (int j = fn + 1; j < p.out; ++j)
                if (IsStart(p.items[j].code)) {
                    p.items[j].sub = kTypeLng;
                    break;
                }
        }
    }
    PutItem(p, ic::kFuncEnd, 0);
}

// Slot 54: where an optional operand's placeholder goes.
void SC_AsgPos(ScPass &p) { p.asgPos = p.out; }

// Slot 55: the placeholder {10 F0} at the remembered position gives way to
// the operand written after it.
void SC_AsgDrop(ScPass &p) {
    const int at = p.asgPos;
    p.asgPos = -1;
    if (at < 0 || at >= p.out || p.items[at].code != ic::kKeyword || p.items[at].sub != ifile::kKwNone) {
        p.status = 47;
        return;
    }
    for (int j = at; j + 1 < p.out; ++j) p.items[j] = p.items[j + 1];
    --p.out;
    p.status = 0;
}

void SC_TypGrp(ScPass &p) { p.status = uint8_t(p.curType & 0xF0); }
void SC_TypCur(ScPass &p) { p.status = p.curType; }
void SC_TypSet(ScPass &p) { if (p.exprStart >= 0) p.items[p.exprStart].sub = RuleB(p); }
void SC_TypFix(ScPass &p) {
    if (p.exprStart >= 0 && p.items[p.exprStart].code == ic::kExpr) p.items[p.exprStart].sub = p.curType;
}

// Slot 18: the expression just analysed is the assignment target.
void SC_AsgMrk(ScPass &p) {
    p.asgTarget = p.exprStart;
    if (p.asgTarget < 0) return;
    Item &s = p.items[p.asgTarget];
    s.sub = p.curType;
    if (p.curType == kTypeRecord && p.asgTarget + 1 < p.out) {
        const Item &v = p.items[p.asgTarget + 1];
        if (v.code == ic::kVar || v.code == ic::kElem) s.value = p.tab.sym(v.value).extra;
    }
    p.asgItem = s;
}

// Slot 19: the source expression takes the target's type.
void SC_AsgTgt(ScPass &p) {
    uint8_t t = p.asgItem.sub;
    p.exprTarget = t == kTypeFixStr || t == kTypeFix ? kTypeStr : t == kTypeRecord ? 48 : t == kTypeObject ? 80 : t;
    p.exprValue = p.asgItem.value;
}

namespace {
uint32_t RecordOf(ScPass &p, int start);

// Whether user type u holds an OBJECT, in itself or in a member's type.
bool HoldsObject(ScPass &p, uint32_t u, int depth = 0) {
    if (!u || depth > 32) return false;
    for (uint32_t m = p.tab.type(u).firstMember; m; m = p.tab.member(m).next) {
        const Member &mb = p.tab.member(m);
        if (mb.type == kTypeObject) return true;
        if (mb.type == kTypeRecord && HoldsObject(p, mb.extra, depth + 1)) return true;
    }
    return false;
}
}  // namespace

// Slot 20: strings and user types; a record that holds an OBJECT is not
// assigned whole (the reference would be copied without its count).
void SC_AsgChk(ScPass &p) {
    uint8_t t = p.asgItem.sub;
    bool ok = (IsStrT(t) && IsStrT(p.curType)) || (t == kTypeRecord && p.curType == kTypeRecord);
    if (ok && t == kTypeRecord && p.asgTarget >= 0 && HoldsObject(p, RecordOf(p, p.asgTarget))) ok = false;
    p.status = ok ? 0 : 72;
    if (p.exprStart >= 0) p.items[p.exprStart].sub = p.curType;
}

namespace {

// The user type (or fixed length) of a single-operand expression starting
// at `start`: that of its last name or member outside its subscripts (0 for
// none).
uint32_t RecordOf(ScPass &p, int start) {
    uint32_t user = 0;
    int depth = 0;
    for (int i = start + 1; i < p.out; ++i) {
        const Item &it = p.items[i];
        if (it.code >= ic::kExpr && it.code <= ifile::kTokGroupLast) ++depth;
        else if (it.code == ic::kExprEnd && depth-- == 0) break;
        else if (depth == 0 && (it.code == ic::kVar || it.code == ic::kElem))
            user = it.sub == kTypeRecord || it.sub == kTypeFixStr ? p.tab.sym(it.value).extra : 0;
        else if (depth == 0 && (it.code == ic::kMember || it.code == ic::kElemMember))
            user = it.sub == kTypeRecord || it.sub == kTypeFixStr ? p.tab.member(it.value).extra : 0;
    }
    return user;
}

}  // namespace

// Slot 34: the target and the expression of one type; user types must be
// the same record, fixed-length strings of one length.
void SC_AsgSam(ScPass &p) {
    p.status = p.asgItem.sub == p.curType ? 1 : 0;
    if (p.status && (p.curType == kTypeRecord || p.curType == kTypeFixStr) && p.asgTarget >= 0 && p.exprStart >= 0)
        p.status = RecordOf(p, p.asgTarget) == RecordOf(p, p.exprStart) ? 1 : 0;
}

void SC_EndTok(ScPass &p) {
    uint16_t w = CurToken(p).word();
    p.status = (w == 0x0000 || w == 0x00F1 || w == 0x0100 || w == kTokColon || w == kTokElse) ? 1 : 0;
}

void SC_TrpBit(ScPass &p) { p.trapBits |= RuleB(p); }
void SC_ModSub(ScPass &p) { p.status = p.moduleFlag; }

void SC_IsCst(ScPass &p) {
    int s = p.exprStart;
    p.status = (s >= 0 && s + 1 < p.out && p.items[s + 1].code == ic::kConst &&
                (p.items[s].code == ic::kExpr || p.items[s].code == ic::kExprRef || p.items[s].code == ic::kExprParen))
                   ? 1 : 0;
}

void SC_LstSub(ScPass &p) { const Item *it = LastItem(p); p.status = it ? it->sub : 0; }

void SC_LstKnd(ScPass &p) {
    const Item *it = LastItem(p);
    p.status = (it && it->value && (it->code == ic::kVar || it->code == ic::kElem || it->code == ic::kCall))
                   ? p.tab.sym(it->value).kind : 0;
}

// Slot 52: the DATA item just consumed: its raw text from the line.
void SC_DatItm(ScPass &p) {
    const Token &t = LastToken(p);
    TokenName(p, t);
    AddDataItem(p, t.off, t.len);
    p.status = 0;
}

// Slot 46: SPC and TAB only at the outermost level of the PRINT family.
void SC_ChkCtx(ScPass &p) {
    uint8_t k = p.items[p.head].sub;
    bool printLike = k == 0x94 || k == 0x95 || k == 0xA4 || k == 0xA5 || k == 0xC4;
    p.status = (printLike && p.exprStarts.size() == 1 && p.parens == 0) ? 0 : 55;
}

// Slot 47.
void SC_ArgVal(ScPass &p) {
    uint8_t t = p.curType < 16 && (p.curType == 0 || p.curType == 4 || p.curType == 8) ? 3 : p.curType;
    uint32_t v = p.exprStart >= 0 ? p.items[p.exprStart].value : 0;
    PutItem(p, ic::kExprVal, t, v);
}

// Slot 42: the size of a single variable as a constant.
void SC_SizVar(ScPass &p) {
    int s = p.exprStart;
    if (s >= 0 && s + 2 < p.out && p.items[s + 1].code == ic::kVar && p.items[s + 2].code == ic::kExprEnd) {
        uint32_t size = p.tab.VarSize(p.tab.sym(p.items[s + 1].value));
        Cst c = size < 0x8000 ? Cst::Int(int32_t(size)) : Cst::Lng(int32_t(size));
        int slot = NewSlot(p, c);
        if (slot < 0) return;
        p.items[s] = Item{ic::kExpr, c.type, 0};
        p.items[s + 1] = Item{ic::kConst, c.type, uint32_t(slot)};
        p.curType = c.type;
        p.status = 1;
        return;
    }
    if (s >= 0) p.items[s].sub = p.curType;
    p.status = 0;
}

// Slot 144: LEN of a type name, a keyword or a user type, as a constant.
void SC_SizTyp(ScPass &p) {
    const Token t = CurToken(p);
    p.status = 0;
    Cst c;
    if (t.cls == tok::kClsName) {
        const uint32_t u = p.tab.SearchType(TokenName(p, t));
        if (!u) return;
        c = Cst::Lng(int32_t(SymbolTable::VarSize(kTypeRecord, u, &p.tab)));
    } else if (t.cls == tok::kClsType && (t.kind <= 4 || t.kind == 64 || t.kind == 80)) {
        c = Cst::Int(t.kind == 0 ? 2 : t.kind == 3 ? 8 : t.kind == 4 ? 1 : 4);
    } else {
        return;
    }
    const int slot = NewSlot(p, c);
    if (slot < 0) return;
    Consume(p);
    PutItem(p, ic::kExpr, c.type, 0);
    PutItem(p, ic::kConst, c.type, uint32_t(slot));
    PutItem(p, ic::kExprEnd, 0, 0);
    p.curType = c.type;
    p.status = 1;
}

}  // namespace txsc
