// Statement decoding, token walkers and operand descriptors. Every walker
// stops at the statement's terminator, so a damaged stream can never send
// one past its record.
#include <cstring>

#include "cg_bytes.h"
#include "cg_gen.h"
#include "cg_tables.h"

namespace txcg {

int32_t ConstantInt(Gen &g, int i) {
    const uint8_t *v = g.At(i) + 2;
    switch (g.Byte(i, 1)) {
    case kTypeInt:
    case kTypeWord: return int16_t(GetU16(v));
    case kTypeByt: return v[0];
    default: return int32_t(GetU32(v));
    }
}

uint32_t Gen::U32(int i, int k) const { return GetU32(At(i) + k); }
uint16_t Gen::U16(int i, int k) const { return GetU16(At(i) + k); }

const uint8_t *DecodeStatement(Gen &g, const uint8_t *p, const uint8_t *end) {
    int n = 0;
    uint8_t *lastVar = nullptr;
    uint8_t *q = const_cast<uint8_t *>(p);
    while (q < end && *q != kTokSeparator && *q != kTokRecordEnd) {
        if (n == kMaxTokens)
            CgFail(kErrInternal);
        const uint32_t len = ifile::TokenLength(q, size_t(end - q));
        if (len == 0)
            CgFail(kErrRead, kDetailIntermediate);
        switch (q[0]) {
        case kTokVar:
        case kTokArray:
        case kTokArrayAddr:
            q[2] = uint8_t(q[2] % 16);
            lastVar = q;
            break;
        case kTokSubscript:
            if (lastVar && lastVar[0] == kTokVar)
                lastVar[0] = kTokElement;
            break;
        default:
            break;
        }
        g.tok[n++] = q;
        q += len;
    }
    // A record must end with its F1 (or a separator) inside its length.
    if (q >= end || end - q < 1)
        CgFail(kErrRead, kDetailIntermediate);
    g.tok[n] = q;
    g.ntok = n;
    g.cur = 0;
    return q;
}

bool AtStatementEnd(const Gen &g, int i) { return i >= g.ntok; }

void SkipVarToken(Gen &g) {
    ++g.cur;
    while (g.cur < g.ntok && g.Kind(g.cur) == kTokMember)
        ++g.cur;
}

namespace {

// Skips the subscript groups after a 60 or 61 token up to and behind 6F.
void SkipSubscripts(Gen &g) {
    while (g.cur < g.ntok && g.Kind(g.cur) != kTokSubscriptEnd)
        SkipOperand(g);
    if (g.cur < g.ntok)
        ++g.cur;
}


} // namespace

void SkipArrayToken(Gen &g) {
    const uint8_t k = g.Kind(g.cur);
    ++g.cur;
    if (k == kTokArray)
        SkipSubscripts(g);
    while (g.cur < g.ntok) {
        const uint8_t t = g.Kind(g.cur);
        if (t == kTokMember) {
            ++g.cur;
        } else if (t == kTokSubscript) {
            ++g.cur;
            SkipSubscripts(g);
        } else {
            break;
        }
    }
}

void SkipCallToken(Gen &g) {
    ++g.cur;
    while (g.cur < g.ntok && g.Kind(g.cur) != kTokArgListEnd) {
        if (IsGroupHead(g.Kind(g.cur)) || g.Kind(g.cur) == kTokGroup)
            SkipOperand(g);
        else
            ++g.cur;
    }
    if (g.cur < g.ntok)
        ++g.cur;
}

void SkipExpression(Gen &g) {
    ++g.cur;
    while (g.cur < g.ntok && g.Kind(g.cur) != kTokExprEnd) {
        switch (g.Kind(g.cur)) {
        case kTokIntrinsic:
        case kTokOwnFunc:
        case kTokDeclFunc:
        case kTokLibFunc: SkipCallToken(g); break;
        case kTokVar: SkipVarToken(g); break;
        case kTokElement:
        case kTokArray: SkipArrayToken(g); break;
        case kTokGroup: SkipOperand(g); break;
        default:
            if (IsGroupHead(g.Kind(g.cur)))
                SkipOperand(g);
            else
                ++g.cur;
            break;
        }
    }
    if (g.cur < g.ntok)
        ++g.cur;
}

void SkipOperand(Gen &g) {
    if (g.cur >= g.ntok)
        return;
    const uint8_t k = g.Kind(g.cur);
    if (k == kTokGroup) {
        int depth = 0;
        while (g.cur < g.ntok) {
            const uint8_t t = g.Kind(g.cur++);
            if (t == kTokGroup)
                ++depth;
            else if (t == kTokGroupEnd && --depth == 0)
                break;
        }
        return;
    }
    if (IsGroupHead(k)) {
        SkipExpression(g);
        return;
    }
    switch (k) {
    case kTokIntrinsic:
    case kTokOwnFunc:
    case kTokDeclFunc:
    case kTokLibFunc: SkipCallToken(g); return;
    case kTokVar: SkipVarToken(g); return;
    case kTokElement:
    case kTokArray: SkipArrayToken(g); return;
    default: ++g.cur; return;
    }
}

int SkipFrom(Gen &g, int i) {
    const int saved = g.cur;
    g.cur = i;
    SkipOperand(g);
    const int end = g.cur;
    g.cur = saved;
    return end;
}

uint8_t MeasureExpression(Gen &g, int i) {
    if (i >= g.ntok)
        return 0;
    switch (g.Kind(i)) {
    case kTokIntrinsic: return g.Byte(i, 2);
    case kTokOwnFunc:
    case kTokDeclFunc:
    case kTokLibFunc:
    case kTokConstant: return g.Byte(i, 1);
    case kTokVar:
    case kTokElement:
    case kTokArray: {
        uint8_t type = g.Byte(i, 1);
        const int saved = g.cur;
        g.cur = i;
        const uint8_t k = g.Kind(i);
        ++g.cur;
        if (k == kTokArray)
            SkipSubscripts(g);
        while (g.cur < g.ntok) {
            const uint8_t t = g.Kind(g.cur);
            if (t == kTokMember) {
                type = g.Byte(g.cur, 1);
                ++g.cur;
            } else if (t == kTokSubscript) {
                type = g.Byte(g.cur, 1);
                ++g.cur;
                SkipSubscripts(g);
            } else {
                break;
            }
        }
        g.cur = saved;
        return type;
    }
    case kTokGroup: {
        int depth = 0;
        int j = i;
        while (j < g.ntok) {
            const uint8_t t = g.Kind(j++);
            if (t == kTokGroup)
                ++depth;
            else if (t == kTokGroupEnd && --depth == 0)
                break;
        }
        return MeasureExpression(g, j);
    }
    default:
        if (IsGroupHead(g.Kind(i)))
            return g.Byte(i, 1);
        return 0;
    }
}

uint32_t TypeSize(uint8_t type, uint32_t strLength, uint32_t typeSize) {
    switch (type) {
    case kTypeInt: return 2;
    case kTypeLng:
    case kTypeSng:
    case kTypeValue4: return 4;
    case kTypeDbl: return 8;
    case kTypeByt: return 1;
    case kTypeStr:
    case kTypeFix: return 12;
    case kTypeBcd: return 15;
    case kTypeFixStr: return strLength;
    case kTypeRecord: return typeSize;
    default: return 0;
    }
}

uint8_t ClassOfType(uint8_t type) {
    switch (type) {
    case kTypeInt: return kClsInt;
    case kTypeLng:
    case kTypeValue4: return kClsLng;
    case kTypeSng:
    case kTypeDbl: return kClsFloat;
    case kTypeByt: return kClsByte;
    default: return kClsStr;
    }
}

namespace {

TableId TableOfStorage(uint8_t storage) {
    switch (storage) {
    case kStoreModule: return ifile::kModuleVarTable;
    case kStoreCommon: return ifile::kCommonVarTable;
    default: return ifile::kProcDebugTable;
    }
}

uint32_t TypeDefSize(Gen &g, uint32_t typeRef) {
    return TableU32(g.st, ifile::kTypeDefTable, typeRef + 4);
}

// Member selectors after a record operand: each narrows the type and adds
// its offset.
void ApplyMembers(Gen &g, OperandDesc &d, uint32_t &memberOffset) {
    while (g.cur < g.ntok && g.Kind(g.cur) == kTokMember) {
        const uint32_t at = g.U32(g.cur, 2);
        VarRecord m = ReadVarRecord(g.st, ifile::kTypeDefTable, at);
        d.type = m.type;
        memberOffset += m.address;
        d.strLength = m.type == kTypeFixStr ? m.typeRef : 0;
        d.typeSize = m.type == kTypeRecord ? TypeDefSize(g, m.typeRef) : 0;
        ++g.cur;
    }
}

} // namespace

void GetOperandDesc(Gen &g, OperandDesc &d) {
    d = OperandDesc{};
    const int i = g.cur;
    d.kind = g.Kind(i);
    d.type = g.Byte(i, 1);
    d.storage = g.Byte(i, 2);
    d.record = g.U32(i, 3);
    const TableId t = TableOfStorage(d.storage);
    VarRecord r = ReadVarRecord(g.st, t, d.record);
    d.bounds = r.bounds;
    switch (d.storage) {
    case kStoreModule:
        d.offset = r.address;
        d.baseSymbol = (d.kind == kTokArray || d.kind == kTokArrayAddr) ? g.st.sec[kSecDataAc].symbol
                                                           : g.st.sec[kSecData].symbol;
        break;
    case kStoreCommon:
        d.offset = 0;
        d.extra = r.address;
        d.baseSymbol = r.address;
        break;
    default:
        d.offset = r.address;
        break;
    }
    d.strLength = d.type == kTypeFixStr ? r.typeRef : 0;
    d.typeSize = d.type == kTypeRecord ? TypeDefSize(g, r.typeRef) : 0;
    ++g.cur;
    if (d.kind == kTokArray) {
        // The subscripts are the array operand's; members follow them.
        return;
    }
    uint32_t members = 0;
    ApplyMembers(g, d, members);
    if (d.storage == kStoreByRef)
        d.extra = members;
    else
        d.offset += members;
}

uint32_t VarBounds(Gen &, const OperandDesc &d) { return d.bounds; }

} // namespace txcg
