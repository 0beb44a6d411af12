// Operands, expressions and conditions. Expressions arrive in
// postfix; operands wait on a small stack without code until an operator
// needs them, and each operator picks inline integer code, the x87 unit or
// a runtime routine by the classes of its operands.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "cg_bytes.h"
#include "cg_fixup.h"
#include "cg_gen.h"
#include "cg_operand.h"
#include "cg_module.h"
#include "cg_tables.h"
#include "tokens.h"

namespace txcg {

namespace kw = tok::kw;
namespace fn = tok::fn;

const char *FldRoutine(uint8_t cls) {
    switch (cls) {
    case kClsInt:
    case kClsIntPushed: return "$PbFldInt";
    case kClsByte:
    case kClsBytePushed: return "$PbFldByte";
    default: return "$PbFldLng";
    }
}

Mem PrepareMem(Gen &g, const OperandDesc &d, bool absAllowed) {
    if (d.computed) {
        EmitMovRegReg(g.st, kEbx, kEax);
        return {kMemEbx, 0, 0};
    }
    switch (d.storage) {
    case kStoreModule:
    case kStoreCommon:
        if (absAllowed)
            return {kMemAbs, d.baseSymbol, int32_t(d.offset)};
        EmitMovRegSymbol(g.st, kEbx, d.baseSymbol, d.offset);
        return {kMemEbx, 0, 0};
    case kStoreFrame:
        return {kMemFrame, 0, int32_t(d.offset)};
    default:
        LoadVariableAddress(g, d, kEbx);
        return {kMemEbx, 0, 0};
    }
}



// ---- addresses --------------------------------------------------------------

void LoadVariableAddress(Gen &g, const OperandDesc &d, Reg r) {
    auto &st = g.st;
    if (d.computed) {
        if (r != kEax)
            EmitMovRegReg(st, r, kEax);
        return;
    }
    switch (d.storage) {
    case kStoreModule:
    case kStoreCommon: EmitMovRegSymbol(st, r, d.baseSymbol, d.offset); break;
    case kStoreFrame: EmitLeaEbp(st, r, int32_t(d.offset)); break;
    default:
        EmitLoadEbp(st, r, int32_t(d.offset));
        if (d.extra != 0)
            EmitAddRegImm(st, r, int32_t(d.extra));
        break;
    }
}

void PushVariableAddress(Gen &g, const OperandDesc &d) {
    if (d.computed) {
        EmitPushReg(g.st, kEax);
        return;
    }
    if (d.storage == kStoreModule || d.storage == kStoreCommon) {
        EmitPushSymbolAddr(g.st, d.baseSymbol, d.offset);
        return;
    }
    LoadVariableAddress(g, d, kEbx);
    EmitPushReg(g.st, kEbx);
}

namespace {

void PushBoundsAddress(Gen &g, uint32_t bounds) {
    auto &st = g.st;
    if (st.sec[kSecDataAd].number != 0)
        EmitPushSymbolAddr(st, st.sec[kSecDataAd].symbol, bounds);
    else
        EmitPushImm(st, 0);
}

} // namespace

// Cursor just behind the 60 token (its subscripts next).
void GenArrayOperand(Gen &g, OperandDesc &d) {
    auto &st = g.st;
    std::vector<int> subs;
    while (g.cur < g.ntok && g.Kind(g.cur) != kTokSubscriptEnd) {
        subs.push_back(g.cur);
        SkipOperand(g);
    }
    const int after = g.cur < g.ntok ? g.cur + 1 : g.cur;
    for (auto it = subs.rbegin(); it != subs.rend(); ++it) {
        g.cur = *it;
        GenConvertCall(g, kTypeLng, GenGroupValue(g));
    }
    g.cur = after;
    const uint32_t count = uint32_t(subs.size());
    PushBoundsAddress(g, d.bounds);
    PushControl(g, d);
    EmitPushImm(st, int32_t(TypeSize(d.type, d.strLength, d.typeSize)));
    EmitPushImm(st, int32_t((count * 256 + d.type) & 0xFFFF));
    EmitPushReg(st, kEsp);
    EmitCallRuntime(st, d.type == kTypeBcd   ? "_$PbAryVarAdrBcd@4"
                        : d.type == kTypeFix ? "_$PbAryVarAdrFix@4"
                                             : "_$PbAryVarAdr@4");
    EmitAddRegImm(st, kEsp, int32_t(4 * count + 16));
    d.computed = true;
    GenMemberSelectors(g, d);
}

// The selectors after a record's address in EAX: a member adds its offset;
// an array member (61) is indexed by the runtime from the record's address
// plus its offset, its subscripts from last to first, its bounds record
// and its element size.
void GenMemberSelectors(Gen &g, OperandDesc &d) {
    auto &st = g.st;
    while (g.cur < g.ntok && (g.Kind(g.cur) == kTokMember || g.Kind(g.cur) == kTokSubscript)) {
        const bool indexed = g.Kind(g.cur) == kTokSubscript;
        VarRecord m = ReadVarRecord(st, ifile::kTypeDefTable, g.U32(g.cur, 2));
        ++g.cur;
        if (m.address != 0)
            EmitAddRegImm(st, kEax, int32_t(m.address));
        d.type = m.type;
        d.strLength = m.type == kTypeFixStr ? m.typeRef : 0;
        d.typeSize = m.type == kTypeRecord ? TableU32(st, ifile::kTypeDefTable, m.typeRef + 4) : 0;
        if (!indexed)
            continue;
        EmitPushReg(st, kEax);
        std::vector<int> subs;
        while (g.cur < g.ntok && g.Kind(g.cur) != kTokSubscriptEnd) {
            subs.push_back(g.cur);
            SkipOperand(g);
        }
        const int after = g.cur < g.ntok ? g.cur + 1 : g.cur;
        for (auto it = subs.rbegin(); it != subs.rend(); ++it) {
            g.cur = *it;
            GenConvertCall(g, kTypeLng, GenGroupValue(g));
        }
        g.cur = after;
        PushBoundsAddress(g, m.bounds);
        EmitPushImm(st, int32_t(TypeSize(d.type, d.strLength, d.typeSize)));
        EmitPushReg(st, kEsp);
        EmitCallRuntime(st, "_$PbAryMember@4");
        EmitAddRegImm(st, kEsp, int32_t(4 * subs.size() + 12));
    }
}

void GenOperandAddress(Gen &g, OperandDesc &d) {
    const uint8_t k = g.Kind(g.cur);
    GetOperandDesc(g, d);
    if (k == kTokArray) {
        GenArrayOperand(g, d);
    } else if (g.cur < g.ntok && g.Kind(g.cur) == kTokSubscript) {
        // A record variable's array member: the record's address first.
        LoadVariableAddress(g, d, kEax);
        d.computed = true;
        GenMemberSelectors(g, d);
    }
}

// ---- loading values -----------------------------------------------------------

void GenErrSetCall(Gen &g) {
    if (g.st.opt.overflowCheck)
        EmitCallRuntime(g.st, "_$PnErrSetCal@0");
}


void FpLoad(Gen &g, const Mem &m, int type) {
    switch (m.mode) {
    case kMemAbs: EmitFpLoadAbs(g.st, type, m.symbol, uint32_t(m.disp)); break;
    case kMemFrame: EmitFpLoadEbp(g.st, type, m.disp); break;
    case kMemEbx: EmitFpLoadEbx(g.st, type); break;
    }
}

void FpStore(Gen &g, const Mem &m, int type) {
    switch (m.mode) {
    case kMemAbs: EmitFpStoreAbs(g.st, type, m.symbol, uint32_t(m.disp)); break;
    case kMemFrame: EmitFpStoreEbp(g.st, type, m.disp); break;
    case kMemEbx: EmitFpStoreEbx(g.st, type); break;
    }
}

void IntLoad(Gen &g, const Mem &m, uint8_t type, Reg r) {
    auto &st = g.st;
    const bool frame = m.mode == kMemFrame;
    switch (type) {
    case kTypeInt:
        frame ? EmitMovsxEbp(st, r, m.disp) : EmitMovsxEbx(st, r, 0);
        break;
    case kTypeByt:
        frame ? EmitLoadEbpByte(st, r, m.disp) : EmitLoadEbxByte(st, r, 0);
        break;
    default:
        frame ? EmitLoadEbp(st, r, m.disp) : EmitLoadEbx(st, r, 0);
        break;
    }
}

int IntSize(uint8_t type) { return type == kTypeInt ? 2 : type == kTypeByt ? 1 : 4; }

void IntStore(Gen &g, const Mem &m, uint8_t type) {
    const int size = IntSize(type);
    switch (m.mode) {
    case kMemAbs: EmitStoreAbs(g.st, size, m.symbol, uint32_t(m.disp)); break;
    case kMemFrame: EmitStoreEbp(g.st, m.disp, kEax, size); break;
    case kMemEbx: EmitStoreEbx(g.st, 0, kEax, size); break;
    }
}

bool IsNumericType(uint8_t t) { return t <= kTypeByt || t == kTypeValue4; }


void GenLoadValue(Gen &g, const OperandDesc &d) {
    auto &st = g.st;
    if (IsNumericType(d.type)) {
        FpLoad(g, PrepareMem(g, d, true), d.type == kTypeValue4 ? uint8_t(kTypeLng) : d.type);
        return;
    }
    if (d.type == kTypeFixStr) {
        EmitPushImm(st, int32_t(d.strLength));
        PushVariableAddress(g, d);
        EmitCallRuntime(st, "_$PbFldVarStr@8");
        return;
    }
    PushVariableAddress(g, d);
    EmitCallRuntime(st, "_$PbFldVar5@4");
}

uint8_t LoadVarValue(Gen &g, const OperandDesc &d, Reg r) {
    switch (d.type) {
    case kTypeInt:
    case kTypeLng:
    case kTypeByt:
    case kTypeValue4: {
        Mem m = PrepareMem(g, d, false);
        IntLoad(g, m, d.type, r);
        return ClassOfType(d.type);
    }
    default:
        GenLoadValue(g, d);
        return ClassOfType(d.type);
    }
}

void LoadConstant(Gen &g, int i) {
    auto &st = g.st;
    const uint8_t type = g.Byte(i, 1);
    const uint8_t *v = g.At(i) + 2;
    switch (type) {
    case kTypeStr:
        EmitPushSymbolAddr(st, st.sec[kSecDataCs].symbol, GetU32(v));
        EmitCallRuntime(st, "_$PbFldConst@4");
        return;
    case kTypeFixStr:
    case 65:
        EmitCallRuntime(st, "_$PbFldNull@0");
        return;
    default:
        break;
    }
    double value = 0;
    uint32_t size = 0;
    switch (type) {
    case kTypeInt:
    case 8: value = int16_t(GetU16(v)); size = 2; break;
    case kTypeLng:
    case 9: value = int32_t(GetU32(v)); size = 4; break;
    case kTypeSng: {
        float f;
        std::memcpy(&f, v, 4);
        value = f;
        size = 4;
        break;
    }
    case kTypeDbl: std::memcpy(&value, v, 8); size = 8; break;
    case kTypeByt: value = v[0]; size = 1; break;
    default: return;
    }
    if (value == 0 && !std::signbit(value)) {
        EmitInsn(st, kFldz);
        return;
    }
    if (value == 1) {
        EmitInsn(st, kFld1);
        return;
    }
    // The numeric constant pool: the first place the bytes already stand,
    // overlapping included, else appended.
    auto &pool = st.sec[kSecDataCn].image;
    const uint32_t at = FindConstant(st, v, size);
    if (at == pool.size())
        pool.insert(pool.end(), v, v + size);
    const int fpType = type == 8 ? int(kTypeInt) : type == 9 ? int(kTypeLng) : int(type);
    if (fpType == kTypeByt) {
        EmitMovRegSymbol(st, kEbx, st.sec[kSecDataCn].symbol, at);
        EmitCallRuntime(st, "_$PeFucld@0");
    } else {
        EmitFpLoadAbs(st, fpType, st.sec[kSecDataCn].symbol, at);
    }
}

uint8_t EvalOperand(Gen &g) {
    auto &st = g.st;
    const int i = g.cur;
    const uint8_t k = g.Kind(i);
    if (IsFuncToken(k))
        return GenOperandToken(g);
    if (k == kTokVar || k == kTokElement || k == kTokArray) {
        OperandDesc d;
        GenOperandAddress(g, d);
        return LoadVarValue(g, d, kEax);
    }
    if (k == kTokArrayAddr) {
        OperandDesc d;
        GetOperandDesc(g, d);
        PushControl(g, d);
        EmitPopReg(st, kEax);
        return kClsLng;
    }
    if (k == kTokConstant) {
        ++g.cur;
        const uint8_t type = g.Byte(i, 1);
        switch (type) {
        case kTypeInt:
        case kTypeLng:
        case kTypeByt:
        case 8:
        case 9:
            EmitMovRegImm(st, kEax, uint32_t(ConstantInt(g, i)));
            return type == kTypeByt ? kClsByte : (type == kTypeInt || type == 8) ? kClsInt : kClsLng;
        case kTypeSng:
        case kTypeDbl:
            LoadConstant(g, i);
            return kClsFloat;
        default:
            LoadConstant(g, i);
            return kClsStr;
        }
    }
    if (IsGroupHead(k))
        return GenGroupValue(g);
    ++g.cur;
    EmitMovRegImm(st, kEax, 0);
    return kClsInt;
}

uint8_t GenGroupValue(Gen &g) {
    const uint8_t k = g.Kind(g.cur);
    if (k == kTokExpression || k == kTokByRefExpr)
        return GenExpression(g);
    if (!IsGroupHead(k))
        return EvalOperand(g);
    ++g.cur;
    uint8_t cls = kClsInt;
    if (g.Kind(g.cur) != kTokExprEnd)
        cls = EvalOperand(g);
    while (g.cur < g.ntok && g.Kind(g.cur) != kTokExprEnd)
        SkipOperand(g);
    if (g.cur < g.ntok)
        ++g.cur;
    return cls;
}

// ---- expressions ---------------------------------------------------------------

namespace {

using Entry = ExprEntry;

std::vector<Entry> &BorrowStack(Gen &g) {
    if (g.exprStacks.size() <= g.exprDepth)
        g.exprStacks.emplace_back();
    std::vector<Entry> &s = g.exprStacks[g.exprDepth++];
    s.clear();
    return s;
}

class ExprGen {
  public:
    explicit ExprGen(Gen &g) : g_(g), st_(g.st), stk_(BorrowStack(g)) {}
    ~ExprGen() { --g_.exprDepth; }
    ExprGen(const ExprGen &) = delete;
    ExprGen &operator=(const ExprGen &) = delete;

    uint8_t Run(bool wantFlags);

  private:
    Gen &g_;
    CgState &st_;
    std::vector<Entry> &stk_;

    bool IsFloat(const Entry &e) const {
        if (e.computed)
            return e.cls == kClsFloat;
        return e.type == kTypeSng || e.type == kTypeDbl;
    }
    bool IsString(const Entry &e) const { return e.cls == kClsStr; }
    bool InEax(const Entry &e) const { return e.computed && IsIntClass(e.cls); }
    bool Clean(const Entry &e) const {
        if (e.computed)
            return false;
        const uint8_t k = g_.Kind(e.pos);
        return (k == kTokVar || k == kTokConstant) && IsIntClass(e.cls);
    }

    void SpillBelow(size_t operands) {
        for (size_t i = 0; i + operands < stk_.size(); ++i) {
            Entry &e = stk_[i];
            if (InEax(e)) {
                EmitPushReg(st_, kEax);
                e.cls = Pushed(e.cls);
            }
        }
    }

    // A call of the module's own procedures may run any code, recursion
    // included: values this expression holds on the x87 stack wait on the
    // machine stack meanwhile, so the 8 registers never overflow.
    bool IsUserCall(int pos) const {
        // The operand, or any function argument inside it.
        const int end = SkipFrom(g_, pos);
        for (int i = pos; i < end; ++i) {
            const uint8_t k = g_.Kind(i);
            if (k == kTokOwnFunc || k == kTokDeclFunc || k == kTokLibFunc)
                return true;
        }
        return false;
    }

    uint8_t EvalAt(int pos) {
        const int saved = g_.cur;
        g_.cur = pos;
        uint32_t held = 0;
        if (IsUserCall(pos))
            for (const Entry &e : stk_)
                if (e.computed && e.cls == kClsFloat)
                    ++held;
        for (uint32_t i = 0; i < held; ++i) {
            EmitCallRuntime(st_, "$PbFstDbl");
            EmitPushReg(st_, kEdx);
            EmitPushReg(st_, kEax);
        }
        const uint8_t cls = EvalOperand(g_);
        if (held != 0) {
            const bool result = cls == kClsFloat;
            if (result) {
                EmitCallRuntime(st_, "$PbFstDbl");
                EmitPushReg(st_, kEdx);
                EmitPushReg(st_, kEax);
            }
            // The held values back in their order (the lowest was pushed
            // last), then the result above them.
            EmitMovRegReg(st_, kEbx, kEsp);
            if (result)
                EmitAddRegImm(st_, kEbx, 8);
            for (uint32_t i = 0; i < held; ++i) {
                if (i != 0)
                    EmitAddRegImm(st_, kEbx, 8);
                EmitFpLoadEbx(st_, kTypeDbl);
            }
            if (result) {
                EmitMovRegReg(st_, kEbx, kEsp);
                EmitFpLoadEbx(st_, kTypeDbl);
            }
            EmitAddRegImm(st_, kEsp, int32_t(8 * (held + (result ? 1 : 0))));
        }
        g_.cur = saved;
        return cls;
    }

    // The entry into EAX as an integer; returns its integer class.
    uint8_t ToEax(Entry &e) {
        if (e.computed) {
            if (IsPushedClass(e.cls)) {
                EmitPopReg(st_, kEax);
                return Unpushed(e.cls);
            }
            if (e.cls == kClsFloat) {
                EmitCallRuntime(st_, "$PbFstLng");
                return kClsLng;
            }
            return e.cls;
        }
        uint8_t cls = EvalAt(e.pos);
        if (cls == kClsFloat) {
            EmitCallRuntime(st_, "$PbFstLng");
            cls = kClsLng;
        }
        return cls;
    }

    // A clean operand (integer variable or constant) into EDX.
    uint8_t CleanToEdx(const Entry &e) {
        if (g_.Kind(e.pos) == kTokConstant) {
            EmitMovRegImm(st_, kEdx, uint32_t(ConstantInt(g_, e.pos)));
            return e.cls;
        }
        const int saved = g_.cur;
        g_.cur = e.pos;
        OperandDesc d;
        GetOperandDesc(g_, d);
        g_.cur = saved;
        return LoadVarValue(g_, d, kEdx);
    }

    // Left into EAX, right into EDX; returns the classes.
    void IntPair(Entry &l, Entry &r, uint8_t &cl, uint8_t &cr) {
        if (Clean(r)) {
            cl = ToEax(l);
            cr = CleanToEdx(r);
            return;
        }
        if (InEax(l)) {
            EmitPushReg(st_, kEax);
            l.cls = Pushed(l.cls);
        }
        cr = ToEax(r);
        EmitMovRegReg(st_, kEdx, kEax);
        if (l.computed && IsPushedClass(l.cls)) {
            EmitPopReg(st_, kEax);
            cl = Unpushed(l.cls);
        } else if (Clean(l)) {
            cl = ToEax(l);
        } else {
            EmitPushReg(st_, kEdx);
            cl = ToEax(l);
            EmitPopReg(st_, kEdx);
        }
    }

    // The integer class of an entry, counting an integer value that checked
    // arithmetic left in ST0; kNoIntType for a floating value.
    static uint8_t IntClassOf(const Entry &e) {
        if (!e.computed)
            return e.type == kTypeSng || e.type == kTypeDbl ? kNoIntType : ClassOfType(e.type);
        if (e.cls == kClsFloat)
            return e.type == kTypeInt || e.type == kTypeLng || e.type == kTypeByt ? ClassOfType(e.type) : kNoIntType;
        return IsPushedClass(e.cls) ? Unpushed(e.cls) : e.cls;
    }

    static uint8_t IntRule(uint8_t cl, uint8_t cr) {
        uint8_t c = cl;
        if (cr == kClsLng)
            c = kClsLng;
        else if (cr == kClsInt && c == kClsByte)
            c = kClsInt;
        return c;
    }

    // The entry onto the x87 stack.
    void ToFloat(Entry &e) {
        if (e.computed) {
            if (e.cls == kClsFloat)
                return;
            if (IsPushedClass(e.cls)) {
                EmitPopReg(st_, kEax);
                EmitCallRuntime(st_, FldRoutine(e.cls));
            } else {
                EmitCallRuntime(st_, FldRoutine(e.cls));
            }
            e.cls = kClsFloat;
            return;
        }
        const uint8_t k = g_.Kind(e.pos);
        if (k == kTokConstant) {
            LoadConstant(g_, e.pos);
        } else if (k == kTokVar || k == kTokElement || k == kTokArray) {
            const int saved = g_.cur;
            g_.cur = e.pos;
            OperandDesc d;
            GenOperandAddress(g_, d);
            g_.cur = saved;
            GenLoadValue(g_, d);
        } else {
            const uint8_t cls = EvalAt(e.pos);
            if (cls != kClsFloat)
                EmitCallRuntime(st_, FldRoutine(cls));
        }
        e.computed = true;
        e.cls = kClsFloat;
    }

    // Left as ST1, right as ST0.
    void FloatPair(Entry &l, Entry &r) {
        const bool lOn = l.computed && l.cls == kClsFloat;
        const bool rOn = r.computed && r.cls == kClsFloat;
        if (lOn) {
            ToFloat(r);
        } else if (rOn) {
            ToFloat(l);
            EmitInsn(st_, kFxch);
        } else if (InEax(r) || (!r.computed && IsUserCall(r.pos))) {
            if (InEax(l)) {
                EmitPushReg(st_, kEax);
                l.cls = Pushed(l.cls);
            }
            ToFloat(r);
            ToFloat(l);
            EmitInsn(st_, kFxch);
        } else {
            ToFloat(l);
            ToFloat(r);
        }
    }

    // Replaces the operator's operands (still on the stack while their
    // code is generated) by its result.
    void Push(uint8_t cls) {
        // A floating result is double when an operand was, else single.
        uint8_t type = 0;
        if (cls == kClsFloat && intResult_ != kNoIntType) {
            // Checked integer arithmetic: an integer value held in ST0.
            type = intResult_;
        } else if (cls == kClsFloat) {
            type = kTypeSng;
            for (size_t i = stk_.size() - pending_; i < stk_.size(); ++i)
                if (stk_[i].type == kTypeDbl)
                    type = kTypeDbl;
        }
        stk_.resize(stk_.size() - pending_);
        pending_ = 0;
        stk_.push_back(Entry{-1, type, cls, true});
        intResult_ = kNoIntType;
    }
    size_t pending_ = 0;
    uint8_t intResult_ = kNoIntType;

    void Operator(uint8_t op, bool lastAndFlags, bool &flagsDone);
    void Unary(uint8_t op);
    void Arithmetic(uint8_t op, Entry &l, Entry &r);
    void Integral(uint8_t op, Entry &l, Entry &r);
    void Comparison(uint8_t op, Entry &l, Entry &r, bool lastAndFlags, bool &flagsDone);
};

void ExprGen::Operator(uint8_t op, bool lastAndFlags, bool &flagsDone) {
    const bool unary = op == kOpNegate || op == kOpNot;
    const size_t n = unary ? 1 : 2;
    if (stk_.size() < n)
        return;
    SpillBelow(n);
    if (unary) {
        Unary(op);
        return;
    }
    Entry &r = stk_[stk_.size() - 1];
    Entry &l = stk_[stk_.size() - 2];
    pending_ = 2;
    switch (op) {
    case kOpPower:
    case kOpAdd:
    case kOpSub:
    case kOpMul:
    case kOpDiv:
        Arithmetic(op, l, r);
        return;
    case kOpIntDiv:
    case kOpMod:
    case kOpAnd:
    case kOpOr:
    case kOpXor:
    case kOpEqv:
    case kOpImp:
        Integral(op, l, r);
        return;
    default:
        break;
    }
    if (op >= kOpEq && op <= kOpGe) {
        Comparison(op, l, r, lastAndFlags, flagsDone);
        return;
    }
    // An operator the analyzer never writes: the file is damaged.
    CgFail(kErrInternal);
}

void ExprGen::Unary(uint8_t op) {
    auto &st = st_;
    Entry &e = stk_.back();
    pending_ = 1;
    if (op == kOpNegate && IsFloat(e)) {
        // The negated integer value that checked arithmetic left in ST0
        // stays an integer.
        if (e.computed && IntClassOf(e) != kNoIntType)
            intResult_ = e.type;
        ToFloat(e);
        EmitCallRuntime(st, "_$PnFChs@0");
        GenErrSetCall(g_);
        Push(kClsFloat);
        return;
    }
    uint8_t c = ToEax(e);
    if (op == kOpNegate)
        EmitNeg(st, kEax);
    else
        EmitNot(st, kEax);
    Push(c);
}

// ^ + - * /: strings join, integers stay integers only without the
// overflow check, the rest goes through the FPU.
void ExprGen::Arithmetic(uint8_t op, Entry &l, Entry &r) {
    auto &st = st_;
    if (op == kOpPower) {
        FloatPair(l, r);
        EmitCallRuntime(st, "_$PnFXy@0");
        GenErrSetCall(g_);
        Push(kClsFloat);
        return;
    }
    if (op == kOpDiv) {
        FloatPair(l, r);
        EmitInsn(st, kFdivp);
        GenErrSetCall(g_);
        Push(kClsFloat);
        return;
    }
    if (IsString(l) || IsString(r)) {
        EmitCallRuntime(st, "_$PbAdd5@0");
        Push(kClsStr);
        return;
    }
    if (st.opt.overflowCheck == 0 && !IsFloat(l) && !IsFloat(r)) {
        uint8_t cl = 0, cr = 0;
        IntPair(l, r, cl, cr);
        if (op == kOpMul) {
            EmitInsn(st, kImulEdx);
            Push(kClsLng);
        } else {
            EmitRegReg(st, op == kOpSub ? kSubRegRm : kAddRegRm, kEax, kEdx);
            Push(IntRule(cl, cr));
        }
        return;
    }
    // Integers with the overflow check: computed on the FPU, but the value
    // keeps its integer type (checked where it is stored or printed).
    if (IntClassOf(l) != kNoIntType && IntClassOf(r) != kNoIntType) {
        const uint8_t cls = op == kOpMul ? uint8_t(kClsLng) : IntRule(IntClassOf(l), IntClassOf(r));
        intResult_ = cls == kClsInt ? kTypeInt : cls == kClsByte ? kTypeByt : kTypeLng;
    }
    FloatPair(l, r);
    EmitInsn(st, op == kOpSub ? kFsubp : op == kOpMul ? kFmulp : kFaddp);
    GenErrSetCall(g_);
    Push(kClsFloat);
}

// \ MOD AND OR XOR EQV IMP: on the integer pair in eax and edx.
void ExprGen::Integral(uint8_t op, Entry &l, Entry &r) {
    auto &st = st_;
    uint8_t cl = 0, cr = 0;
    IntPair(l, r, cl, cr);
    switch (op) {
    case kOpIntDiv:
    case kOpMod:
        EmitMovRegReg(st, kEbx, kEdx);
        EmitCallRuntime(st, "$PbChk0Div");
        EmitByte(st, kCdq);
        EmitInsn(st, kIdivEbx);
        if (op == kOpMod)
            EmitMovRegReg(st, kEax, kEdx);
        break;
    case kOpAnd: EmitRegReg(st, kAndRegReg, kEax, kEdx); break;
    case kOpOr: EmitRegReg(st, kOrRegRm, kEax, kEdx); break;
    case kOpXor: EmitRegReg(st, kXorRegReg, kEax, kEdx); break;
    case kOpEqv:
        EmitRegReg(st, kXorRegReg, kEax, kEdx);
        EmitNot(st, kEax);
        break;
    default:
        EmitNot(st, kEax);
        EmitRegReg(st, kOrRegRm, kEax, kEdx);
        break;
    }
    Push(IntRule(cl, cr));
}

// = <> < > <= >=: the jump that skips when false; left in the flags for a
// condition's last operator, else made a -1/0 mask.
void ExprGen::Comparison(uint8_t op, Entry &l, Entry &r, bool lastAndFlags, bool &flagsDone) {
    auto &st = st_;
    uint8_t jcc;
    if (IsString(l) || IsString(r)) {
        EmitCallRuntime(st, "_$PbCMP5@0");
        jcc = kFalseJccFloat[op - kOpEq];
    } else if (IsFloat(l) || IsFloat(r)) {
        FloatPair(l, r);
        EmitInsn(st, kFcompp);
        EmitInsn(st, kFstswAx);
        EmitByte(st, kSahf);
        jcc = kFalseJccFloat[op - kOpEq];
    } else {
        uint8_t cl = 0, cr = 0;
        IntPair(l, r, cl, cr);
        EmitRegReg(st, kCmpRegRm, kEax, kEdx);
        jcc = kFalseJccInt[op - kOpEq];
    }
    if (lastAndFlags) {
        g_.flagsJcc = jcc;
        g_.flagsSet = true;
        flagsDone = true;
        Push(kClsInt);
        return;
    }
    EmitMovRegImm(st, kEax, 0);
    EmitCondToMask(st, jcc);
    Push(kClsInt);
}

uint8_t ExprGen::Run(bool wantFlags) {
    auto &g = g_;
    ++g.cur; // the group head
    bool flagsDone = false;
    while (g.cur < g.ntok && g.Kind(g.cur) != kTokExprEnd) {
        const int i = g.cur;
        const uint8_t k = g.Kind(i);
        if (k == kTokOperator) {
            const uint8_t op = g.Byte(i, 1);
            ++g.cur;
            const bool last = wantFlags && g.Kind(g.cur) == kTokExprEnd && stk_.size() == 2;
            Operator(op, last, flagsDone);
            continue;
        }
        if (IsFuncToken(k) || IsVarToken(k) || k == kTokConstant) {
            const uint8_t type = MeasureExpression(g, i);
            SkipOperand(g);
            // A B5 group leads its function: one operand with it.
            if (k == kTokGroup && g.cur < g.ntok && IsFuncToken(g.Kind(g.cur)))
                SkipOperand(g);
            Entry e{i, type, ClassOfType(type), false};
            if (e.cls == kClsStr) {
                // Strings go onto the string stack in operand order.
                SpillBelow(0);
                const int saved = g.cur;
                g.cur = i;
                EvalOperand(g);
                g.cur = saved;
                e.computed = true;
            }
            stk_.push_back(e);
            continue;
        }
        if (IsGroupHead(k)) {
            SpillBelow(0);
            stk_.push_back(Entry{-1, 0, GenGroupValue(g), true});
            continue;
        }
        ++g.cur;
    }
    if (g.cur < g.ntok)
        ++g.cur;
    if (flagsDone)
        return kClsInt;
    if (stk_.empty()) {
        EmitMovRegImm(st_, kEax, 0);
        return kClsInt;
    }
    Entry &top = stk_.back();
    if (!top.computed) {
        if (top.cls == kClsFloat)
            ToFloat(top);
        else
            top.cls = ToEax(top);
        top.computed = true;
    } else if (IsPushedClass(top.cls)) {
        EmitPopReg(st_, kEax);
        top.cls = Unpushed(top.cls);
    }
    g.floatType = top.type == kTypeDbl ? kTypeDbl : kTypeSng;
    g.floatIntType = top.cls == kClsFloat && top.computed &&
                             (top.type == kTypeInt || top.type == kTypeLng || top.type == kTypeByt)
                         ? top.type
                         : kNoIntType;
    return top.cls;
}

} // namespace

uint8_t GenExpression(Gen &g) {
    const bool want = g.wantFlags;
    g.wantFlags = false;
    ExprGen e(g);
    return e.Run(want);
}

// ---- conditions ------------------------------------------------------------------

void GenCondition(Gen &g, uint32_t slot, bool jumpIfTrue) {
    auto &st = g.st;
    const uint8_t k = g.Kind(g.cur);
    if (k == kTokValue && g.Kind(g.cur + 1) == kTokConstant && g.Byte(g.cur + 1, 1) <= kTypeByt) {
        // A constant condition is decided now.
        const int i = g.cur + 1;
        bool nonZero;
        const uint8_t t = g.Byte(i, 1);
        if (t == kTypeSng) {
            float f;
            std::memcpy(&f, g.At(i) + 2, 4);
            nonZero = f != 0;
        } else if (t == kTypeDbl) {
            double d;
            std::memcpy(&d, g.At(i) + 2, 8);
            nonZero = d != 0;
        } else {
            nonZero = ConstantInt(g, i) != 0;
        }
        g.cur = SkipFrom(g, g.cur);
        EmitMovRegImm(st, kEax, nonZero ? 0xFFFFFFFFu : 0);
        EmitTestEaxJump(st, slot, jumpIfTrue);
        return;
    }
    g.flagsSet = false;
    g.wantFlags = k == kTokExpression || k == kTokByRefExpr;
    uint8_t cls = GenGroupValue(g);
    g.wantFlags = false;
    if (g.flagsSet) {
        g.flagsSet = false;
        // The short jump skips the jump to the label.
        const uint8_t skip = jumpIfTrue ? g.flagsJcc : uint8_t(g.flagsJcc ^ 1);
        EmitJumpIf(st, skip, slot, kTargetLabelSlot);
        return;
    }
    if (cls == kClsFloat) {
        // Compared with zero, not rounded first: 0.5 is true.
        EmitInsn(st, kFldz);
        EmitInsn(st, kFcompp);
        EmitInsn(st, kFstswAx);
        EmitByte(st, kSahf);
        EmitJumpIf(st, jumpIfTrue ? kJe : kJne, slot, kTargetLabelSlot);
        return;
    }
    EmitTestEaxJump(st, slot, jumpIfTrue);
}

} // namespace txcg
