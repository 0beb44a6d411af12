#include "sc_blocks.h"

#include "sc_expr.h"
#include "sc_machine.h"
#include "sc_output.h"

namespace txsc {

namespace {

bool HasSuffix(ScPass &p, const Token &t) {
    NameCheck nc = CheckName(p.lineView(), t.off, t.len);
    return nc.suffix;
}

void EnterLabel(ScPass &p, std::string_view name, const Token &t) {
    uint32_t h = p.tab.SearchLabel(name, p.scope.procId);
    if (t.kind == 1 && p.items[p.head].sub == 0x7B) {
        // RESTORE carries its label in the statement head.
        p.items[p.head].value = h;
        --p.out;
    } else if (Item *it = LastItem(p)) {
        it->value = h;
    }
    if (p.flags & kFlagXref) OutputReference(p, p.tab.label(h).xref, t.kind == 0 ? 0 : 1);
}

}  // namespace

void CheckOpenBlocks(ScPass &p) {
    while (!p.blocks.empty()) {
        BlockEntry b = p.blocks.back();
        uint8_t error = 27;
        if ((b.kind >= 16 && b.kind <= 18) || (b.kind >= 20 && b.kind <= 22) || (b.kind >= 36 && b.kind <= 41))
            error = 31;
        else if (b.kind == 32)
            error = 23;
        else if (b.kind == 34)
            error = 24;
        ErrMsgAt(p, error, b.line);
        p.blocks.pop_back();
    }
}

uint16_t CloseLineBlocks(ScPass &p) {
    while (p.lineDepth > 0) {
        uint8_t top = p.lineBlocks[p.lineDepth - 1];
        if (top == 17 || top == 24) {
            if (!PutItem(p, ic::kHead, 0x13)) return p.lineError;
            --p.lineDepth;
            continue;
        }
        if (top == 32) {
            if (!p.blocks.empty()) p.blocks.pop_back();
            return 0x5417;
        }
        if (top == 34) {
            if (!p.blocks.empty()) p.blocks.pop_back();
            return 0x5518;
        }
        return 0x6927;
    }
    return 0;
}

// Slot 48: a label "*NAME"; the first character is dropped.
void SC_DefLbl(ScPass &p) {
    const Token &t = LastToken(p);
    std::string_view name = TokenName(p, t);
    if (name.size() <= 1 || HasSuffix(p, t)) { p.status = 36; return; }
    NameCheck nc = CheckName(p.lineView(), size_t(t.off) + 1, name.size() - 1);
    EnterLabel(p, name.substr(1, nc.len), t);
    p.status = 0;
}

// Slot 44: a label used as a value in an expression: {A3, 1, label}; the
// final pass makes it a LNG constant, the label's table-0 offset.
void SC_LblNam(ScPass &p) {
    const Token &t = LastToken(p);
    std::string_view name = TokenName(p, t);
    if (name.size() <= 1 || HasSuffix(p, t)) { p.status = 36; return; }
    p.status = 0;
    if (!PutItem(p, ic::kLabelValue, 1)) return;  // the line error says why
    NameCheck nc = CheckName(p.lineView(), size_t(t.off) + 1, name.size() - 1);
    EnterLabel(p, name.substr(1, nc.len), t);
    p.status = 0;
}

// Slot 49: a line number.
void SC_DefLin(ScPass &p) {
    const Token &t = LastToken(p);
    std::string_view name = TokenName(p, t);
    if (name.size() > 5 || name.empty()) { p.status = 36; return; }
    if (t.kind == 1 && name == "0") {
        Item *it = LastItem(p);
        uint8_t headKind = p.items[p.head].sub;
        if (it && headKind == 0x72) it->sub = 0x10;
        else if (it && headKind == 0x7D) { it->code = 0x10; it->sub = 0xF0; }
        p.status = 0;
        return;
    }
    EnterLabel(p, name, t);
    p.status = 0;
}

// Slot 51: an implicit statement inside the line.
void SC_NewStm(ScPass &p) {
    if (PutItem(p, ic::kHead, RuleB(p))) p.head = p.out - 1;
}

// Slot 57.
void SC_ChkLinTop(ScPass &p) {
    p.status = 0;
    for (int i = 0; i < p.head; ++i) {
        const Item &it = p.items[i];
        bool labelPart = (it.code == ic::kHead && (it.sub == 2 || it.sub == 3)) || it.code == ic::kLabel ||
                         it.code == ic::kLineNo;
        if (!labelPart) { p.status = 108; return; }
    }
    // The separator may stand anywhere after the statement's own tokens.
    for (int off = p.tok; off < p.tokBytes; off += 4) {
        const Token &t = *reinterpret_cast<const Token *>(p.tokbuf + off);
        if (t.word() == kTokColon) { p.status = 7; return; }
        if (t.cls == tok::kClsConstant) off += ConstValueSize(t.kind == 16 ? 0xFF : t.kind);
    }
}

void SC_PshLin(ScPass &p) {
    if (p.lineDepth >= kLineBlockMax) { p.lineError = kErrStackFull; return; }
    p.lineBlocks[p.lineDepth++] = RuleB(p);
}
void SC_RepLin(ScPass &p) { if (p.lineDepth) p.lineBlocks[p.lineDepth - 1] = RuleB(p); }
void SC_TopLin(ScPass &p) { p.status = p.lineDepth ? p.lineBlocks[p.lineDepth - 1] : 0; }
void SC_PopLin(ScPass &p) { if (p.lineDepth) --p.lineDepth; }
void SC_DepLin(ScPass &p) { p.status = uint8_t(p.lineDepth); }

void SC_PshBlk(ScPass &p) {
    uint32_t value = p.blocks.empty() ? 0 : p.blocks.back().value;
    p.blocks.push_back(BlockEntry{p.items[p.head].sub, p.recLine, value});
}
void SC_TopBlk(ScPass &p) { p.status = p.blocks.empty() ? 0 : p.blocks.back().kind; }
void SC_RepBlk(ScPass &p) {
    if (p.blocks.empty()) return;
    p.blocks.back().kind = p.items[p.head].sub;
    p.blocks.back().line = p.recLine;
}
void SC_PopBlk(ScPass &p) { if (!p.blocks.empty()) p.blocks.pop_back(); }

void SC_SrhBlk(ScPass &p) {
    uint8_t b = RuleB(p);
    p.status = 0;
    for (auto it = p.blocks.rbegin(); it != p.blocks.rend(); ++it) {
        uint8_t k = it->kind;
        bool ok = b == 0x20 ? k == 32
                : b == 0x24 ? (k == 36 || k == 38 || k == 39)
                : b == 0x4D ? (k == 32 || k == 34 || k == 36 || k == 38 || k == 39)
                : false;
        if (ok) { p.status = 1; return; }
    }
}

// Slot 70: the loop variable, a single numeric variable.
void SC_ForVar(ScPass &p) {
    int s = p.exprStart;
    if (s < 0 || s + 2 >= p.out || p.items[s + 1].code != ic::kVar || p.items[s + 1].sub >= 16 ||
        p.items[s + 2].code != ic::kExprEnd) {
        p.status = 44;
        return;
    }
    p.items[s].sub = p.curType;
    if (!p.blocks.empty()) p.blocks.back().value = p.items[s + 1].value;
    p.status = 0;
}

// Slot 71: the default step 1 in the loop variable's type.
void SC_ForOne(ScPass &p) {
    uint8_t type = 0;
    if (!p.blocks.empty() && p.blocks.back().value) type = p.tab.sym(p.blocks.back().value).type;
    Cst one = type == 2 ? Cst::Sng(1) : type == 3 ? Cst::Dbl(1) : Cst::Int(1);
    one.type = type;
    if (type == 1 || type == 4) one.l = 1;
    int slot = NewSlot(p, one);
    if (slot < 0) return;
    PutItem(p, ic::kExpr, type);
    PutItem(p, ic::kConst, type, uint32_t(slot));
    PutItem(p, ic::kExprEnd, 0);
    p.status = 0;
}

// Slot 72: a holder for a limit or step that is not a constant.
void SC_ForTmp(ScPass &p) {
    int s = p.exprStart;
    if (s >= 0 && s + 2 < p.out && p.items[s + 1].code == ic::kConst && p.items[s + 2].code == ic::kExprEnd) {
        p.status = 0;
        return;
    }
    uint8_t type = 0;
    if (!p.blocks.empty() && p.blocks.back().value) type = p.tab.sym(p.blocks.back().value).type;
    p.status = NewTemporary(p, type);
}

// Slot 73: the variable named by NEXT must be the innermost loop's.
void SC_NxtVar(ScPass &p) {
    int s = p.exprStart;
    uint32_t sym = (s >= 0 && s + 1 < p.out) ? p.items[s + 1].value : 0;
    if (s >= 0) p.out = s;
    if (p.blocks.empty() || p.blocks.back().kind != 32 || p.blocks.back().value != sym) {
        p.status = 3;
        return;
    }
    p.status = 0;
}

// Slot 74: NEXT a, b becomes NEXT a: NEXT b.
void SC_NxtSpl(ScPass &p) {
    PutItem(p, ic::kSep, 0);
    if (PutItem(p, ic::kHead, 0x21)) p.head = p.out - 1;
}

// Slot 75: the holder of the selector.
void SC_CasTmp(ScPass &p) {
    uint8_t type = p.curType;
    p.status = NewTemporary(p, type);
    if (p.status) return;
    Item *v = p.out >= 2 ? &p.items[p.out - 2] : nullptr;
    if (v && !p.blocks.empty()) p.blocks.back().value = v->value;
}

void SC_ClrEnd(ScPass &p) { p.placementMark = false; }

// Slot 77: the case value must be of the selector's group.
void SC_CasTyp(ScPass &p) {
    uint8_t sel = 0;
    if (!p.blocks.empty() && p.blocks.back().value) sel = p.tab.sym(p.blocks.back().value).type;
    if ((sel & 0xF0) != (p.curType & 0xF0)) { p.status = 71; return; }
    if (p.exprStart >= 0) p.items[p.exprStart].sub = sel;
    p.caseLo = p.caseHi;
    p.caseHi = p.exprStart;
    p.status = 0;
}

void SC_CasEq(ScPass &p) { p.caseOp = ifile::kOpEq; }

void SC_CasOpr(ScPass &p) {
    static const uint8_t kSwap[6] = {ifile::kOpEq, ifile::kOpNe, ifile::kOpGt,
                                     ifile::kOpLt, ifile::kOpGe, ifile::kOpLe};
    const Token &t = LastToken(p);
    if (t.cls != tok::kClsOperator || t.kind < ifile::kOpEq || t.kind > ifile::kOpGe) { p.status = 11; return; }
    p.caseOp = kSwap[t.kind - ifile::kOpEq];
    p.status = 0;
}

namespace {
uint32_t Selector(ScPass &p, uint8_t *type) {
    uint32_t sym = p.blocks.empty() ? 0 : p.blocks.back().value;
    *type = sym ? p.tab.sym(sym).type : 0;
    return sym;
}
}  // namespace

// Slot 79: value, selector, operator: one comparison.
void SC_CasCmp(ScPass &p) {
    int s = p.exprStart;
    if (s < 0 || p.out < 1 || p.items[p.out - 1].code != ic::kExprEnd) { p.status = 4; return; }
    uint8_t type;
    uint32_t sel = Selector(p, &type);
    p.items[s].code = ic::kExprVal;
    --p.out;
    PutItem(p, ic::kVar, type, sel);
    PutItem(p, ic::kOper, p.caseOp);
    PutItem(p, ic::kExprEnd, 0);
    p.status = 0;
}

// Slot 80: lo TO hi: lo <= sel AND sel <= hi, as one expression. The two
// bounds were analysed as two expressions; the items between them go.
void SC_CasRng(ScPass &p) {
    int hiStart = p.caseHi, loStart = p.caseLo;
    if (loStart < 0 || hiStart <= loStart) { p.status = 4; return; }
    uint8_t type;
    uint32_t sel = Selector(p, &type);
    Item hi[kItemMax];
    int hiCount = p.out - hiStart - 2;   // without its start and end items
    if (hiCount < 0) { p.status = 4; return; }
    for (int i = 0; i < hiCount; ++i) hi[i] = p.items[hiStart + 1 + i];
    p.out = hiStart - 1;                 // drop the low bound's end item
    p.items[loStart].code = ic::kExprVal;
    PutItem(p, ic::kVar, type, sel);
    PutItem(p, ic::kOper, 0x24);
    for (int i = 0; i < hiCount; ++i) PutItem(p, hi[i].code, hi[i].sub, hi[i].value);
    PutItem(p, ic::kVar, type, sel);
    PutItem(p, ic::kOper, 0x25);
    PutItem(p, ic::kOper, 0x31);
    PutItem(p, ic::kExprEnd, 0);
    p.exprStart = loStart;
    p.status = 0;
}

}  // namespace txsc
