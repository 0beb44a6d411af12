// Statement decoding, token walkers and operand descriptors. Every walker
// stops at the statement's terminator, so a damaged stream can never send
// one past its record.
#include <cstring>

#include "cg_bytes.h"
#include "cg_gen.h"
#include "cg_tables.h"

namespace txcg {

namespace {

constexpr uint8_t kTokStatement = 0x00;

uint32_t StatementTokenLength(uint8_t code) {
    switch (code) {
    case 0x2A: return 18;
    case 0x31:
    case 0x35: return 14;
    case 0x32:
    case 0x38: return 7;
    case 0x3F: return 11;
    case 0x40: return 10;
    case 0x7B: return 6;
    default: return 2;
    }
}

uint32_t ConstantTokenLength(uint8_t type) {
    switch (type) {
    case 0:
    case 8: return 4;
    case 1:
    case 2:
    case 9:
    case 16: return 6;
    case 3: return 10;
    case 4: return 3;
    case 17:
    case 65: return 2;
    default: return 0;
    }
}

} // namespace

uint32_t DecodedTokenLength(const uint8_t *p, const uint8_t *end) {
    if (end - p < 2)
        return 0;
    switch (p[0]) {
    case 0x00: return StatementTokenLength(p[1]);
    case 0x40: return 3;
    case 0x41:
    case 0x51:
    case 0xA0:
    case 0x61: return 6;
    case 0x42:
    case 0x50:
    case 0x52:
    case 0x60:
    case 0x62: return 7;
    case 0x43: return 11;
    case 0x70: return ConstantTokenLength(p[1]);
    case 0xA1: return p[1] == 0x10 ? 2 : 6;
    case 0xA2: return p[1] == 0 ? 10 : 6;
    default: return 2;
    }
}

const uint8_t *Gen::At(int i) const {
    if (i < 0 || i > ntok)
        return tok[ntok];
    return tok[i];
}

uint32_t Gen::U32(int i, int k) const { return GetU32(At(i) + k); }
uint16_t Gen::U16(int i, int k) const { return GetU16(At(i) + k); }

const uint8_t *DecodeStatement(Gen &g, const uint8_t *p, const uint8_t *end) {
    int n = 0;
    uint8_t *lastVar = nullptr;
    uint8_t *q = const_cast<uint8_t *>(p);
    while (q < end && *q != 0xF2 && *q != 0xF1) {
        if (n == kMaxTokens)
            CgFail(kErrInternal);
        const uint32_t len = DecodedTokenLength(q, end);
        if (len == 0 || len > uint32_t(end - q))
            CgFail(kErrRead, kDetailIntermediate);
        switch (q[0]) {
        case 0x50:
        case 0x60:
        case 0x62:
            q[2] = uint8_t(q[2] % 16);
            lastVar = q;
            break;
        case 0x61:
            if (lastVar && lastVar[0] == 0x50)
                lastVar[0] = 0x52;
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
    while (g.cur < g.ntok && g.Kind(g.cur) == 0x51)
        ++g.cur;
}

namespace {

// Skips the subscript groups after a 60 or 61 token up to and behind 6F.
void SkipSubscripts(Gen &g) {
    while (g.cur < g.ntok && g.Kind(g.cur) != 0x6F)
        SkipOperand(g);
    if (g.cur < g.ntok)
        ++g.cur;
}

bool IsGroupHead(uint8_t k) { return k >= 0xB0 && k <= 0xB4; }

} // namespace

void SkipArrayToken(Gen &g) {
    const uint8_t k = g.Kind(g.cur);
    ++g.cur;
    if (k == 0x60)
        SkipSubscripts(g);
    while (g.cur < g.ntok) {
        const uint8_t t = g.Kind(g.cur);
        if (t == 0x51) {
            ++g.cur;
        } else if (t == 0x61) {
            ++g.cur;
            SkipSubscripts(g);
        } else {
            break;
        }
    }
}

void SkipCallToken(Gen &g) {
    ++g.cur;
    while (g.cur < g.ntok && g.Kind(g.cur) != 0x4F) {
        if (IsGroupHead(g.Kind(g.cur)) || g.Kind(g.cur) == 0xB5)
            SkipOperand(g);
        else
            ++g.cur;
    }
    if (g.cur < g.ntok)
        ++g.cur;
}

void SkipExpression(Gen &g) {
    ++g.cur;
    while (g.cur < g.ntok && g.Kind(g.cur) != 0xBF) {
        switch (g.Kind(g.cur)) {
        case 0x40:
        case 0x41:
        case 0x42:
        case 0x43: SkipCallToken(g); break;
        case 0x50: SkipVarToken(g); break;
        case 0x52:
        case 0x60: SkipArrayToken(g); break;
        case 0xB5: SkipOperand(g); break;
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
    if (k == 0xB5) {
        int depth = 0;
        while (g.cur < g.ntok) {
            const uint8_t t = g.Kind(g.cur++);
            if (t == 0xB5)
                ++depth;
            else if (t == 0xBE && --depth == 0)
                break;
        }
        return;
    }
    if (IsGroupHead(k)) {
        SkipExpression(g);
        return;
    }
    switch (k) {
    case 0x40:
    case 0x41:
    case 0x42:
    case 0x43: SkipCallToken(g); return;
    case 0x50: SkipVarToken(g); return;
    case 0x52:
    case 0x60: SkipArrayToken(g); return;
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
    case 0x40: return g.Byte(i, 2);
    case 0x41:
    case 0x42:
    case 0x43:
    case 0x70: return g.Byte(i, 1);
    case 0x50:
    case 0x52:
    case 0x60: {
        uint8_t type = g.Byte(i, 1);
        const int saved = g.cur;
        g.cur = i;
        const uint8_t k = g.Kind(i);
        ++g.cur;
        if (k == 0x60)
            SkipSubscripts(g);
        while (g.cur < g.ntok) {
            const uint8_t t = g.Kind(g.cur);
            if (t == 0x51) {
                type = g.Byte(g.cur, 1);
                ++g.cur;
            } else if (t == 0x61) {
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
    case 0xB5: {
        int depth = 0;
        int j = i;
        while (j < g.ntok) {
            const uint8_t t = g.Kind(j++);
            if (t == 0xB5)
                ++depth;
            else if (t == 0xBE && --depth == 0)
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
    case kTypeStr: return 12;
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
    while (g.cur < g.ntok && g.Kind(g.cur) == 0x51) {
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
        d.baseSymbol = (d.kind == 0x60 || d.kind == 0x62) ? g.st.sec[kSecDataAc].symbol
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
    if (d.kind == 0x60) {
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
