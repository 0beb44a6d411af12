#include "sc_emit.h"

#include <cstring>

#include "intermediate.h"
#include "sc_workfile.h"

namespace txsc {

namespace {

// Items that open a group in the analysis (B0-B8): more than the stream's
// argument heads (IsGroupHead of the generator, B0-B4).
bool OpensItemGroup(uint8_t code) { return code >= ic::kExpr && code <= ifile::kTokGroupLast; }

// Statement codes that only declare: no record item at all.
bool DeclaresOnly(uint8_t code) {
    switch (code) {
    case 0: case 1: case 4: case 5: case 6: case 27: case 28: case 29: case 30:
    case 48: case 52: case 57: case 58: case 59: case 60: case 61: case 62:
    case 68: case 69: case 70: case 71: case 72: case 73: case 78: case 79:
    case 140: case 210: case 211: case 224:
        return true;
    default:
        return false;
    }
}

class Emitter {
public:
    Emitter(const Item *items, int count, const EmitContext &ctx, std::vector<uint8_t> &out)
        : it_(items), n_(count), ctx_(ctx), out_(out) {}

    EmitResult Run();

private:
    uint8_t Code(int i) const { return i < n_ ? it_[i].code : ifile::kTokRecordEnd; }
    bool AtStatementEnd(int i) const {
        uint8_t c = Code(i);
        return c == ifile::kTokStatement || c == ifile::kTokRecordEnd || c == ifile::kTokSeparator;
    }

    void Put8(uint8_t v) { out_.push_back(v); }
    void Put32(uint32_t v) {
        for (int k = 0; k < 4; ++k) out_.push_back(uint8_t(v >> (8 * k)));
    }
    void Room(int n) { out_.insert(out_.end(), size_t(n), 0); }
    void PutCode(const Item &x) { Put8(x.code); Put8(x.sub); }
    void PutHead(uint8_t code) { Put8(0); Put8(code); }
    void Separate();

    int Closer(int head) const;
    int GroupEnd(int head) const {
        int c = Closer(head);
        return c < 0 ? n_ : c + 1;
    }
    bool SingleConstant(int head) const {
        return Closer(head) == head + 2 && Code(head + 1) == ifile::kTokConstant;
    }
    int UnitEnd(int i) const;

    int EmitHead(int i);
    int EmitItem(int i);
    int EmitGroup(int head);
    void EmitArgumentGroup(int head, int closer);
    void EmitInner(int head);
    void EmitConstant(const Item &x);
    void EmitLoop(int head, int *next);
    bool StepIsNegative(const Item &x) const;

    const Item *it_;
    int n_;
    const EmitContext &ctx_;
    std::vector<uint8_t> &out_;
    bool separator_ = false;
    bool exempt_ = false;
    bool executable_ = false;
    bool placement_ = false;
};

void Emitter::Separate() {
    if (separator_) {
        Put8(ifile::kTokSeparator);
        Put8(0);
        separator_ = false;
    }
}

// Index of the item closing the group that opens at `head`, -1 when the
// line ends first.
int Emitter::Closer(int head) const {
    int depth = 0;
    for (int i = head; i < n_; ++i) {
        uint8_t c = it_[i].code;
        if (c == ifile::kTokRecordEnd) return -1;
        if (OpensItemGroup(c)) ++depth;
        else if (c == ifile::kTokExprEnd || c == ifile::kTokGroupEnd) {
            if (--depth == 0) return i;
        }
    }
    return -1;
}

// End of one operand of an argument list that starts at i: a group, a
// function call up to its 4F, a variable with its selectors and
// subscripts, or a single item.
int Emitter::UnitEnd(int i) const {
    uint8_t c = Code(i);
    if (OpensItemGroup(c)) return GroupEnd(i);
    auto skip_to = [&](int j, uint8_t closer) {
        while (j < n_ && Code(j) != closer && Code(j) != ifile::kTokRecordEnd)
            j = OpensItemGroup(Code(j)) ? GroupEnd(j) : j + 1;
        return j < n_ && Code(j) == closer ? j + 1 : j;
    };
    if (c >= ifile::kTokIntrinsic && c <= ifile::kTokLibFunc) return skip_to(i + 1, ifile::kTokArgListEnd);
    if (c == ifile::kTokVar || c == ifile::kTokElement || c == ifile::kTokArray || c == ifile::kTokArrayAddr) {
        int j = c == ifile::kTokArray ? skip_to(i + 1, ifile::kTokSubscriptEnd) : i + 1;
        for (;;) {
            if (Code(j) == ifile::kTokMember) ++j;
            else if (Code(j) == ifile::kTokSubscript) j = skip_to(j + 1, ifile::kTokSubscriptEnd);
            else return j;
        }
    }
    return i + 1;
}

void Emitter::EmitConstant(const Item &x) {
    int size = ifile::ConstantValueSize(x.sub);
    if (size < 0) throw OutFatal{kErrInternal};
    PutCode(x);
    if (x.sub == ifile::kTypeStr) {  // the item names the string constant itself
        Put32(x.value);
        return;
    }
    const uint8_t *slot = ctx_.slots[x.value % 128];
    out_.insert(out_.end(), slot, slot + size);
}

// One item by the rules of expression groups; a group head emits its whole
// group. Label items keep their stream lengths wherever they stand.
int Emitter::EmitItem(int i) {
    const Item &x = it_[i];
    switch (x.code) {
    case ifile::kTokStatement:
        PutCode(x);
        return i + 1;
    case 0x28:  // a prefix operator is an operator item in the stream
        Put8(ifile::kTokOperator);
        Put8(x.sub);
        return i + 1;
    case ifile::kTokOperator:  // `&` joins as `+` does; the reader knows only that code
        Put8(ifile::kTokOperator);
        Put8(x.sub == ifile::kOpConcat ? uint8_t(ifile::kOpAdd) : x.sub);
        return i + 1;
    case ifile::kTokIntrinsic:
        PutCode(x);
        Put8(uint8_t(x.value));
        return i + 1;
    case ifile::kTokOwnFunc:
    case ifile::kTokMember:
    case ifile::kTokSubscript:
    case ifile::kTokLabel:
        PutCode(x);
        Put32(x.value);
        return i + 1;
    case ifile::kTokLineNumber:
        PutCode(x);
        if (x.sub != ifile::kLineNumberNone) Put32(x.value);
        return i + 1;
    case ifile::kTokParamBlock:
        PutCode(x);
        Put32(x.value);
        Put32(0);
        return i + 1;
    case ifile::kTokDeclFunc:
    case ifile::kTokVar:
    case ifile::kTokElement:
    case ifile::kTokArray:
    case ifile::kTokArrayAddr:
    case ifile::kTokLabelValue:
        PutCode(x);
        Put32(x.value);
        Room(1);
        return i + 1;
    case ifile::kTokLibFunc:
        PutCode(x);
        Put32(x.value);
        Room(5);
        return i + 1;
    case ifile::kTokConstant:
        EmitConstant(x);
        return i + 1;
    default:
        if (OpensItemGroup(x.code)) return EmitGroup(i);
        PutCode(x);
        return i + 1;
    }
}

// Operands of an argument group that are listed without operators are
// chained in postfix order: from the third operand on each is preceded by
// 20 13, and one more closes the list.
// A hidden-object group (B5 … BE) and the call it belongs to are one
// operand.
void Emitter::EmitArgumentGroup(int head, int closer) {
    // A group that already holds its operators is a postfix expression of
    // its own; chaining it again would add operators without operands.
    for (int i = head + 1; i < closer; i = UnitEnd(i) > closer ? closer : UnitEnd(i)) {
        if (Code(i) == ifile::kTokOperator || Code(i) == 0x28) {
            for (int j = head + 1; j < closer;) j = EmitItem(j);
            return;
        }
    }
    int operands = 0;
    bool after_object = false;
    for (int i = head + 1; i < closer;) {
        uint8_t c = Code(i);
        int end = UnitEnd(i);
        if (end > closer) end = closer;
        bool is_operator = c == ifile::kTokOperator || c == 0x28;
        if (!is_operator && !after_object) {
            if (++operands >= 3) {
                Put8(ifile::kTokOperator);
                Put8(ifile::kOpAdd);
            }
        }
        after_object = c == ifile::kTokGroup;
        while (i < end) i = EmitItem(i);
    }
    if (operands >= 2) {
        Put8(ifile::kTokOperator);
        Put8(ifile::kOpAdd);
    }
}

int Emitter::EmitGroup(int head) {
    int closer = Closer(head);
    int end = closer < 0 ? n_ : closer;
    const Item &h = it_[head];
    PutCode(h);
    if ((h.code == 0xB1 || h.code == 0xB3 || h.code == 0xB8) && h.value != 0) {
        EmitArgumentGroup(head, end);
    } else {
        for (int i = head + 1; i < end;) i = EmitItem(i);
    }
    if (closer < 0) return n_;
    PutCode(it_[closer]);
    return closer + 1;
}

// The items between a group's head and its closer.
void Emitter::EmitInner(int head) {
    int closer = Closer(head);
    int end = closer < 0 ? n_ : closer;
    for (int i = head + 1; i < end;) i = EmitItem(i);
}

bool Emitter::StepIsNegative(const Item &x) const {
    const uint8_t *s = ctx_.slots[x.value % 128];
    switch (x.sub) {
    case 0: { int16_t v; std::memcpy(&v, s, 2); return v < 0; }
    case 1: { int32_t v; std::memcpy(&v, s, 4); return v < 0; }
    case 2: { float v; std::memcpy(&v, s, 4); return v < 0; }
    case 3: { double v; std::memcpy(&v, s, 8); return v < 0; }
    case 4: return false;
    default: throw OutFatal{kErrInternal};
    }
}

// The counting loop: the analysis left the groups V (variable), S (start),
// E (end) and P (step), each of E and P followed by a holder group unless it
// is one constant.
void Emitter::EmitLoop(int head, int *next) {
    int g[6];
    int count = 0;
    for (int i = head + 1; count < 6 && OpensItemGroup(Code(i)); i = GroupEnd(i)) g[count++] = i;
    int v = -1, s = -1, e = -1, he = -1, p = -1, hp = -1;
    int k = 0;
    auto take = [&]() { return k < count ? g[k++] : -1; };
    if (count >= 4) {
        v = take(), s = take(), e = take();
        if (!SingleConstant(e)) he = take();
        p = take();
        if (p >= 0 && !SingleConstant(p)) hp = take();
        if (p < 0 || (he < 0 && !SingleConstant(e)) || (hp < 0 && !SingleConstant(p))) v = -1;
    }
    Separate();
    PutHead(ifile::kStmForHead);
    if (v < 0) {  // not the shape the loop rules build: nothing to rearrange
        *next = head + 1;
        return;
    }
    *next = GroupEnd(g[k - 1]);
    auto assign = [&](int target, int source) {
        PutHead(ifile::kStmLet);
        EmitGroup(target);
        Put8(ifile::kTokOperator);
        Put8(ifile::kOpAssign);
        EmitGroup(source);
    };
    if (he >= 0) assign(he, e);
    if (hp >= 0) assign(hp, p);
    PutHead(ifile::kStmForTest);
    assign(v, s);
    // The increment: V = V + step.
    PutHead(ifile::kStmLet);
    EmitGroup(v);
    Put8(ifile::kTokOperator);
    Put8(ifile::kOpAssign);
    Put8(ifile::kTokExpression);
    Put8(it_[v].sub);
    EmitInner(v);
    EmitInner(hp >= 0 ? hp : p);
    Put8(ifile::kTokOperator);
    Put8(ifile::kOpAdd);
    Put8(ifile::kTokExprEnd);
    Put8(0);
    // The test: V > end, or V < end for a negative constant step.
    bool negative = hp < 0 && StepIsNegative(it_[p + 1]);
    Put8(ifile::kTokExpression);
    Put8(it_[v].sub);
    EmitInner(v);
    EmitInner(he >= 0 ? he : e);
    Put8(ifile::kTokOperator);
    Put8(negative ? 0x25 : 0x24);
    Put8(ifile::kTokExprEnd);
    Put8(0);
}

int Emitter::EmitHead(int i) {
    const Item &h = it_[i];
    const uint8_t code = h.sub;
    if (DeclaresOnly(code)) {
        int j = i + 1;
        while (!AtStatementEnd(j)) ++j;
        return Code(j) == ifile::kTokSeparator ? j + 1 : j;
    }
    // A CASE on the SELECT's own line is the one the mark waits for.
    if (code == ifile::kStmCase || code == ifile::kStmCaseElse || code == ifile::kStmEndSelect)
        placement_ = false;
    switch (code) {
    case ifile::kStmLineLabel:
    case ifile::kStmLineNumber:
        PutHead(code);
        return i + 1;
    case ifile::kStmSelect: {
        // 00 14, then the holder takes the selector's value: 00 80 G2 20 00 G1.
        executable_ = true;
        placement_ = true;
        PutHead(code);
        int g1 = i + 1;
        if (!OpensItemGroup(Code(g1))) return i + 1;
        int g2 = GroupEnd(g1);
        if (!OpensItemGroup(Code(g2))) return i + 1;
        PutHead(ifile::kStmLet);
        int after = EmitGroup(g2);
        Put8(ifile::kTokOperator);
        Put8(ifile::kOpAssign);
        EmitGroup(g1);
        return after;
    }
    case ifile::kStmForHead: {
        executable_ = true;
        int next = i + 1;
        EmitLoop(i, &next);
        return next;
    }
    case ifile::kStmDim: {
        std::vector<uint8_t> saved;
        saved.swap(out_);
        int j = i + 1;
        bool any = false;
        while (!AtStatementEnd(j)) {
            if (OpensItemGroup(Code(j)) && Code(j + 1) == ifile::kTokArray) {
                j = EmitGroup(j);
                any = true;
            } else {
                j = OpensItemGroup(Code(j)) ? GroupEnd(j) : j + 1;
            }
        }
        saved.swap(out_);
        if (any) {
            executable_ = true;
            Separate();
            PutHead(code);
            out_.insert(out_.end(), saved.begin(), saved.end());
        }
        return j;
    }
    default:
        break;
    }
    executable_ = true;
    Separate();
    PutHead(code);
    switch (code) {
    case ifile::kStmCheckedEntry: Put32(h.value); Room(12); break;
    case ifile::kStmFuncEntry:
    case ifile::kStmSubEntry: Put32(h.value); Room(8); break;
    case ifile::kStmFuncEnd: Put32(h.value); Room(1); exempt_ = true; break;
    case ifile::kStmSubEnd: exempt_ = true; break;
    case ifile::kStmCall: Put32(h.value); Put8(0); break;
    case ifile::kStmCallDll: Put32(h.value); Room(5); break;
    case ifile::kStmDefFn: Put32(h.value); Room(4); break;
    case ifile::kStmRestore: {
        // The label may stand in the head's value or as the next item.
        uint32_t label = h.value;
        if (!label && (Code(i + 1) == ifile::kTokLabel ||
                       (Code(i + 1) == ifile::kTokLineNumber && it_[i + 1].sub != ifile::kLineNumberNone))) {
            label = it_[i + 1].value;
            ++i;
        }
        Put32(label);
        Put32(ctx_.proc);
        break;
    }
    default:
        break;
    }
    return i + 1;
}

EmitResult Emitter::Run() {
    out_.clear();
    Room(4);
    int i = 0;
    while (i < n_ && it_[i].code != ifile::kTokRecordEnd) {
        const Item &x = it_[i];
        if (x.code == ifile::kTokStatement) {
            i = EmitHead(i);
        } else if (x.code == ifile::kTokSeparator) {
            separator_ = true;
            ++i;
        } else if (x.code == ifile::kTokGroup) {
            // An object's group in front of its statement (`obj.PRINT`)
            // belongs after the separator, with the statement.
            Separate();
            i = EmitItem(i);
        } else {
            i = EmitItem(i);
        }
    }
    EmitResult r;
    r.placement = placement_;
    if (out_.size() == 4) {
        out_.clear();
        return r;
    }
    if (ctx_.moduleFlag && !ctx_.proc && executable_ && !exempt_) {
        out_.clear();
        r.error = kErrNotHere;
        return r;
    }
    Put8(ifile::kTokRecordEnd);
    Put8(0);
    uint16_t len = uint16_t(out_.size());
    out_[0] = uint8_t(len);
    out_[1] = uint8_t(len >> 8);
    out_[2] = uint8_t(ctx_.line);
    out_[3] = uint8_t(ctx_.line >> 8);
    return r;
}

}  // namespace

EmitResult EmitLine(const Item *items, int count, const EmitContext &ctx, std::vector<uint8_t> *record) {
    Emitter e(items, count, ctx, *record);
    return e.Run();
}

uint32_t WorkItemLength(const uint8_t *p, size_t avail) {
    if (avail < 2) return 0;
    uint32_t n;
    if (p[0] == ifile::kTokStatement && p[1] == ifile::kStmRestore) n = 10;
    else if (p[0] == ifile::kTokParamBlock) n = 10;
    else if (p[0] == ifile::kTokLabelValue) n = 7;
    else if (p[0] == ifile::kTokElement) n = 7;
    else return ifile::TokenLength(p, avail);
    return n <= avail ? n : 0;
}

}  // namespace txsc
