// Operands, expressions, conditions and assignment. Expressions arrive in
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
#include "cg_module.h"
#include "cg_tables.h"

namespace txcg {

namespace {

// ALU register forms: opcode /r with reg = EAX, rm = EDX.
constexpr uint8_t kAddRegRm = 0x03;
constexpr uint8_t kSubRegRm = 0x2B;
constexpr uint8_t kOrRegRm = 0x0B;
constexpr uint8_t kCmpRegRm = 0x3B;

// Short jumps taken when a comparison 0x20-0x25 is false.
constexpr uint8_t kFalseJccInt[6] = {0x75, 0x74, 0x7D, 0x7E, 0x7F, 0x7C};
constexpr uint8_t kFalseJccFloat[6] = {0x75, 0x74, 0x76, 0x73, 0x72, 0x77};

const char *FldRoutine(uint8_t cls) {
    switch (cls) {
    case kClsInt:
    case kClsIntPushed: return "$PbFldInt";
    case kClsByte:
    case kClsBytePushed: return "$PbFldByte";
    default: return "$PbFldLng";
    }
}

bool IsIntClass(uint8_t c) { return c == kClsInt || c == kClsLng || c == kClsByte; }
bool IsPushedClass(uint8_t c) { return c >= kClsIntPushed && c <= kClsBytePushed; }
uint8_t Unpushed(uint8_t c) { return c == kClsIntPushed ? kClsInt : c == kClsLngPushed ? kClsLng : kClsByte; }
uint8_t Pushed(uint8_t c) { return c == kClsInt ? kClsIntPushed : c == kClsLng ? kClsLngPushed : kClsBytePushed; }

bool IsVarToken(uint8_t k) { return k == 0x50 || k == 0x52 || k == 0x60 || k == 0x62; }
bool IsFuncToken(uint8_t k) { return (k >= 0x40 && k <= 0x43) || k == 0xB5; }
bool IsGroupHead(uint8_t k) { return k >= 0xB0 && k <= 0xB4; }

// Where a variable's bytes are, once any address it needs is in EBX.
enum MemMode { kMemAbs, kMemFrame, kMemEbx };
struct Mem {
    MemMode mode;
    uint32_t symbol;
    int32_t disp;
};

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

} // namespace

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

// The control record of an array operand, pushed.
void PushArrayControl(Gen &g, const OperandDesc &d) {
    auto &st = g.st;
    switch (d.storage) {
    case kStoreModule:
        EmitPushSymbolAddr(st, st.sec[kSecDataAc].symbol, d.offset);
        break;
    case kStoreCommon: {
        // Common arrays are described in .data$ag, one record each in
        // table order.
        uint32_t index = 0, found = 0;
        ForEachCommonVar(st, [&](const VarRecord &r) {
            if (!(r.storageClass & ifile::kClassArray))
                return;
            if (r.at == d.record)
                found = index;
            ++index;
        });
        EmitPushSymbolAddr(st, st.sec[kSecDataAg].symbol, 10 * found);
        break;
    }
    case kStoreFrame:
        EmitLeaEbp(st, kEbx, int32_t(d.offset));
        EmitPushReg(st, kEbx);
        break;
    default:
        EmitLoadEbp(st, kEbx, int32_t(d.offset));
        EmitPushReg(st, kEbx);
        break;
    }
}

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
    while (g.cur < g.ntok && g.Kind(g.cur) != 0x6F) {
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
    PushArrayControl(g, d);
    EmitPushImm(st, int32_t(TypeSize(d.type, d.strLength, d.typeSize)));
    EmitPushImm(st, int32_t((count * 256 + d.type) & 0xFFFF));
    EmitPushReg(st, kEsp);
    EmitCallRuntime(st, d.type == kTypeBcd   ? "_$PbAryVarAdrBcd@4"
                        : d.type == kTypeFix ? "_$PbAryVarAdrFix@4"
                                             : "_$PbAryVarAdr@4");
    EmitAddRegImm(st, kEsp, int32_t(4 * count + 16));
    d.computed = true;
    // Members of an element of a record array.
    while (g.cur < g.ntok && g.Kind(g.cur) == 0x51) {
        VarRecord m = ReadVarRecord(st, ifile::kTypeDefTable, g.U32(g.cur, 2));
        if (m.address != 0)
            EmitAddRegImm(st, kEax, int32_t(m.address));
        d.type = m.type;
        d.strLength = m.type == kTypeFixStr ? m.typeRef : 0;
        ++g.cur;
    }
}

void GenOperandAddress(Gen &g, OperandDesc &d) {
    const uint8_t k = g.Kind(g.cur);
    GetOperandDesc(g, d);
    if (k == 0x60)
        GenArrayOperand(g, d);
}

// ---- loading values -----------------------------------------------------------

void GenErrSetCall(Gen &g) {
    if (g.st.opt.overflowCheck)
        EmitCallRuntime(g.st, "_$PnErrSetCal@0");
}

namespace {

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

} // namespace

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

namespace {

// An integer constant's value, sign-extended for INT.
int32_t ConstantInt(Gen &g, int i) {
    const uint8_t *v = g.At(i) + 2;
    switch (g.Byte(i, 1)) {
    case kTypeInt:
    case 8: return int16_t(GetU16(v));
    case kTypeByt: return v[0];
    default: return int32_t(GetU32(v));
    }
}

} // namespace

uint8_t EvalOperand(Gen &g) {
    auto &st = g.st;
    const int i = g.cur;
    const uint8_t k = g.Kind(i);
    if (IsFuncToken(k))
        return GenOperandToken(g);
    if (k == 0x50 || k == 0x52 || k == 0x60) {
        OperandDesc d;
        GenOperandAddress(g, d);
        return LoadVarValue(g, d, kEax);
    }
    if (k == 0x62) {
        OperandDesc d;
        GetOperandDesc(g, d);
        PushArrayControl(g, d);
        EmitPopReg(st, kEax);
        return kClsLng;
    }
    if (k == 0x70) {
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
    if (k == 0xB1 || k == 0xB3)
        return GenExpression(g);
    if (!IsGroupHead(k))
        return EvalOperand(g);
    ++g.cur;
    uint8_t cls = kClsInt;
    if (g.Kind(g.cur) != 0xBF)
        cls = EvalOperand(g);
    while (g.cur < g.ntok && g.Kind(g.cur) != 0xBF)
        SkipOperand(g);
    if (g.cur < g.ntok)
        ++g.cur;
    return cls;
}

// ---- expressions ---------------------------------------------------------------

namespace {

struct Entry {
    int pos;        // operand token, or -1 for a computed result
    uint8_t type;   // operand's type
    uint8_t cls;
    bool computed;
};

class ExprGen {
  public:
    explicit ExprGen(Gen &g) : g_(g), st_(g.st) {}

    uint8_t Run(bool wantFlags);

  private:
    Gen &g_;
    CgState &st_;
    std::vector<Entry> stk_;

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
        return (k == 0x50 || k == 0x70) && IsIntClass(e.cls);
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
            if (k == 0x41 || k == 0x42 || k == 0x43)
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
        if (g_.Kind(e.pos) == 0x70) {
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
        if (k == 0x70) {
            LoadConstant(g_, e.pos);
        } else if (k == 0x50 || k == 0x52 || k == 0x60) {
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
        if (cls == kClsFloat) {
            type = kTypeSng;
            for (size_t i = stk_.size() - pending_; i < stk_.size(); ++i)
                if (stk_[i].type == kTypeDbl)
                    type = kTypeDbl;
        }
        stk_.resize(stk_.size() - pending_);
        pending_ = 0;
        stk_.push_back(Entry{-1, type, cls, true});
    }
    size_t pending_ = 0;

    void Operator(uint8_t op, bool lastAndFlags, bool &flagsDone);
};

void ExprGen::Operator(uint8_t op, bool lastAndFlags, bool &flagsDone) {
    auto &st = st_;
    const bool unary = op == 0x11 || op == 0x30;
    const size_t n = unary ? 1 : 2;
    if (stk_.size() < n)
        return;
    SpillBelow(n);
    if (unary) {
        Entry &e = stk_.back();
        pending_ = 1;
        if (op == 0x11 && IsFloat(e)) {
            ToFloat(e);
            EmitCallRuntime(st, "_$PnFChs@0");
            GenErrSetCall(g_);
            Push(kClsFloat);
            return;
        }
        uint8_t c = ToEax(e);
        if (op == 0x11)
            EmitNeg(st, kEax);
        else
            EmitNot(st, kEax);
        Push(c);
        return;
    }
    Entry &r = stk_[stk_.size() - 1];
    Entry &l = stk_[stk_.size() - 2];
    pending_ = 2;
    const bool strings = IsString(l) || IsString(r);
    const bool floats = IsFloat(l) || IsFloat(r);
    const bool check = st.opt.overflowCheck != 0;
    uint8_t cl = 0, cr = 0;
    switch (op) {
    case 0x12:
        FloatPair(l, r);
        EmitCallRuntime(st, "_$PnFXy@0");
        GenErrSetCall(g_);
        Push(kClsFloat);
        return;
    case 0x13:
    case 0x14:
    case 0x15:
        if (strings) {
            EmitCallRuntime(st, "_$PbAdd5@0");
            Push(kClsStr);
            return;
        }
        if (!check && !floats) {
            IntPair(l, r, cl, cr);
            if (op == 0x15) {
                EmitInsn(st, kImulEdx);
                Push(kClsLng);
            } else {
                EmitRegReg(st, op == 0x14 ? kSubRegRm : kAddRegRm, kEax, kEdx);
                Push(IntRule(cl, cr));
            }
            return;
        }
        FloatPair(l, r);
        EmitInsn(st, op == 0x14 ? kFsubp : op == 0x15 ? kFmulp : kFaddp);
        GenErrSetCall(g_);
        Push(kClsFloat);
        return;
    case 0x16:
        FloatPair(l, r);
        EmitInsn(st, kFdivp);
        GenErrSetCall(g_);
        Push(kClsFloat);
        return;
    case 0x17:
    case 0x18:
        IntPair(l, r, cl, cr);
        EmitMovRegReg(st, kEbx, kEdx);
        EmitCallRuntime(st, "$PbChk0Div");
        EmitByte(st, kCdq);
        EmitInsn(st, kIdivEbx);
        if (op == 0x18)
            EmitMovRegReg(st, kEax, kEdx);
        Push(IntRule(cl, cr));
        return;
    case 0x31:
    case 0x32:
    case 0x33:
    case 0x34:
    case 0x35:
        IntPair(l, r, cl, cr);
        switch (op) {
        case 0x31: EmitRegReg(st, kAndRegReg, kEax, kEdx); break;
        case 0x32: EmitRegReg(st, kOrRegRm, kEax, kEdx); break;
        case 0x33: EmitRegReg(st, kXorRegReg, kEax, kEdx); break;
        case 0x34:
            EmitRegReg(st, kXorRegReg, kEax, kEdx);
            EmitNot(st, kEax);
            break;
        default:
            EmitNot(st, kEax);
            EmitRegReg(st, kOrRegRm, kEax, kEdx);
            break;
        }
        Push(IntRule(cl, cr));
        return;
    default:
        break;
    }
    if (op >= 0x20 && op <= 0x25) {
        uint8_t jcc;
        if (strings) {
            EmitCallRuntime(st, "_$PbCMP5@0");
            jcc = kFalseJccFloat[op - 0x20];
        } else if (floats) {
            FloatPair(l, r);
            EmitInsn(st, kFcompp);
            EmitInsn(st, kFstswAx);
            EmitByte(st, kSahf);
            jcc = kFalseJccFloat[op - 0x20];
        } else {
            IntPair(l, r, cl, cr);
            EmitRegReg(st, kCmpRegRm, kEax, kEdx);
            jcc = kFalseJccInt[op - 0x20];
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
        return;
    }
    // An operator the generator has no code for: keep the stack shape.
    Push(l.cls);
}

uint8_t ExprGen::Run(bool wantFlags) {
    auto &g = g_;
    ++g.cur; // the group head
    bool flagsDone = false;
    while (g.cur < g.ntok && g.Kind(g.cur) != 0xBF) {
        const int i = g.cur;
        const uint8_t k = g.Kind(i);
        if (k == 0x20) {
            const uint8_t op = g.Byte(i, 1);
            ++g.cur;
            const bool last = wantFlags && g.Kind(g.cur) == 0xBF && stk_.size() == 2;
            Operator(op, last, flagsDone);
            continue;
        }
        if (IsFuncToken(k) || IsVarToken(k) || k == 0x70) {
            const uint8_t type = MeasureExpression(g, i);
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
    if (k == 0xB0 && g.Kind(g.cur + 1) == 0x70 && g.Byte(g.cur + 1, 1) <= kTypeByt) {
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
    g.wantFlags = k == 0xB1 || k == 0xB3;
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

// ---- function calls in expressions ---------------------------------------------

namespace {

struct FuncEntry {
    const char *name;
    uint8_t flag;
};

const FuncEntry *FunctionEntry(uint8_t code) {
    static const std::vector<FuncEntry> table = [] {
        std::vector<FuncEntry> t(0xD0, FuncEntry{nullptr, 0});
        auto set = [&](int code, const char *name, uint8_t flag = 0) { t[code] = {name, flag}; };
        set(0x00, "_$PfCSRLIN@4");
        set(0x01, "_$PfDATE@0");
        set(0x02, "_$PfTIME@0");
        set(0x03, "_$PfERL@0");
        set(0x04, "_$PfERR@0");
        set(0x05, "_$PfRTN@0");
        set(0x06, "_$PaRnd@0");
        set(0x07, "_$PfFREEFILE@0");
        set(0x08, "_$PfMILLITIME@0");
        set(0x11, "_$PnFAtn@0", 1);
        set(0x12, "_$PfBAUD@4");
        set(0x16, "_$PfCSNG@0");
        set(0x17, "_$PfCDBL@0");
        set(0x18, "_$PfEOF@4");
        set(0x19, "_$PnFExp@0", 1);
        set(0x1A, "_$PnFFix@0", 1);
        set(0x1B, "_$PfFRE@4");
        set(0x1C, "_$PnFInt@0", 1);
        set(0x1D, "_$PfLOC@4");
        set(0x1E, "_$PfLOF@4");
        set(0x1F, "_$PnFLog@0", 1);
        set(0x20, "_$PfLPOS@4");
        set(0x21, "_$PfPOS@8");
        set(0x22, "_$PnFSgn@0", 1);
        set(0x25, "_$PnFTan@0", 1);
        set(0x26, "_$PfVIEW@8");
        set(0x27, "_$PfWINDOW@8");
        set(0x28, "_$PfSEEK@4");
        set(0x2E, "_$PfDSKFp@0");
        set(0x2F, "_$PfDSKFn@4");
        const char *r3[] = {"_$PfASC@0", "_$PfCVI@0",  "_$PfCVL@0", "_$PfCVS@0",
                            "_$PfCVD@0", "_$PfJIS@0",  "_$PfLEN@0", nullptr,
                            "_$PfVAL@0", nullptr,      "_$PfSTRADR@0", "_$PfFILEATTR@4",
                            "_$PfERRDEV@4"};
        for (int i = 0; i < 13; ++i)
            if (r3[i])
                set(0x30 + i, r3[i]);
        set(0x40, "_$PfMAP@12");
        set(0x41, "_$PfKTYPE@4");
        set(0x42, "_$PfKLEN@4");
        set(0x50, "_$PfPOINT1@16");
        set(0x51, "_$PfPOINT2@8");
        set(0x52, "_$PfSCREEN@16");
        set(0x53, "_$PfINSTR@4");
        set(0x54, "_$PfKINSTR@4");
        set(0x55, "_$PfSEARCH@12");
        const char *r8[] = {"_$PfCOMMAND24@0", "_$PfDATE24@0", "_$PfTIME24@0", "_$PfINKEY24@4",
                            "_$PfTODAY24@0"};
        for (int i = 0; i < 5; ++i)
            set(0x80 + i, r8[i]);
        const char *r9[] = {"_$PfHEX24@4",  "_$PfKNJ24@4",   "_$PfMKI24@4", "_$PfMKL24@4",
                            "_$PfMKS24@4",  "_$PfMKD24@0",   "_$PfOCT24@4", "_$PfSPACE24@4",
                            "_$PfSPC@4",    nullptr,         "_$PfTAB@4"};
        for (int i = 0; i < 11; ++i)
            if (r9[i])
                set(0x90 + i, r9[i]);
        const char *rA[] = {"_$PfAKCNV24@0", "_$PfKACNV24@0", "_$PfENV24@0",   "_$PfLCASE24@0",
                            "_$PfUCASE24@0", "_$PfLTRIM24@0", "_$PfRTRIM24@0", "_$PfTRIM24@0",
                            "_$PfJCONV24@8", "_$PfENVIRON24@0"};
        for (int i = 0; i < 10; ++i)
            set(0xA0 + i, rA[i]);
        const char *rB[] = {"_$PfSTRING24@4", "_$PfSTRING24C@8", "_$PfKEXT24@4", "_$PfKLEFT24@4",
                            "_$PfKRIGHT24@4", "_$PfLEFT24@4",    "_$PfRIGHT24@4"};
        for (int i = 0; i < 7; ++i)
            set(0xB0 + i, rB[i]);
        set(0xC0, "_$PfCHR24@4");
        set(0xC1, "_$PfINPUT242@8");
        set(0xC2, "_$PfINPUT241@8");
        set(0xC3, "_$PfKMID24@8");
        set(0xC4, "_$PfMID24@8");
        return t;
    }();
    return code < table.size() && table[code].name ? &table[code] : nullptr;
}

void CallFunctionTableEntry(Gen &g, uint8_t code) {
    const FuncEntry *e = FunctionEntry(code);
    if (!e)
        return;
    EmitCallRuntime(g.st, e->name);
    if (e->flag)
        GenErrSetCall(g);
}

bool IsOmitted(Gen &g, int i) { return g.Kind(i) == 0x10 && g.Byte(i, 1) == 0xF0; }

// Evaluates the argument at pos into its class.
uint8_t ArgValue(Gen &g, int pos) {
    g.cur = pos;
    return GenGroupValue(g);
}

void ArgPush(Gen &g, int pos) {
    g.cur = pos;
    GenRoutineArg(g);
}

const char *StrRoutine(uint8_t type) {
    switch (type) {
    case kTypeByt: return "_$PfSTR241@4";
    case kTypeInt: return "_$PfSTR242@4";
    case kTypeLng: return "_$PfSTR246@4";
    case kTypeSng: return "_$PfSTR244@4";
    default: return "_$PfSTR248@0";
    }
}

// Cursor on the 40 token; group is the index of a B5 group in front, or -1.
void GenIntrinsicCall(Gen &g, int group) {
    auto &st = g.st;
    const int at = g.cur;
    const uint8_t code = g.Byte(at, 1);
    std::vector<int> args;
    int i = at + 1;
    while (i < g.ntok && g.Kind(i) != 0x4F) {
        const uint8_t k = g.Kind(i);
        if (IsGroupHead(k) || k == 0x10 || k == 0x70 || IsVarToken(k) || IsFuncToken(k))
            args.push_back(i);
        i = SkipFrom(g, i);
    }
    const int end = i < g.ntok ? i + 1 : i;
    const size_t n = args.size();
    switch (code) {
    case 0x10:
    case 0x13:
    case 0x23:
    case 0x24: {
        if (n >= 1) {
            const uint8_t cls = ArgValue(g, args[0]);
            if (cls != kClsFloat)
                EmitCallRuntime(st, FldRoutine(cls));
        } else {
            EmitInsn(st, kFldz);
        }
        EmitInsn(st, code == 0x10 ? kFabs : code == 0x13 ? kFcos : code == 0x23 ? kFsin : kFsqrt);
        GenErrSetCall(g);
        break;
    }
    case 0x14:
    case 0x15:
    case 0x2D: {
        const uint8_t cls = n >= 1 ? ArgValue(g, args[0]) : uint8_t(kClsInt);
        const bool check = st.opt.overflowCheck != 0;
        if (code == 0x14) {
            if (cls == kClsFloat)
                EmitCallRuntime(st, "$PbFstInt");
            else if (cls == kClsLng && check)
                EmitCallRuntime(st, "$PbCnvLtoI");
        } else if (code == 0x15) {
            if (cls == kClsFloat)
                EmitCallRuntime(st, "$PbFstLng");
        } else {
            if (cls == kClsFloat)
                EmitCallRuntime(st, "$PbFstByte");
            else if (cls == kClsInt && check)
                EmitCallRuntime(st, "$PbCnvItoUC");
            else if (cls == kClsLng && check)
                EmitCallRuntime(st, "$PbCnvLtoUC");
        }
        break;
    }
    case 0x39: {
        if (n >= 1) {
            int p = args[0];
            if (IsGroupHead(g.Kind(p)))
                ++p;
            g.cur = p;
            OperandDesc d;
            GenOperandAddress(g, d);
            LoadVariableAddress(g, d, kEax);
        }
        break;
    }
    case 0x99: {
        uint8_t type = kTypeDbl;
        if (n >= 1) {
            ArgPush(g, args[0]);
            type = g.Byte(args[0], 1);
            if (!IsGroupHead(g.Kind(args[0])))
                type = MeasureExpression(g, args[0]);
        }
        EmitCallRuntime(st, StrRoutine(type));
        break;
    }
    case 0x53:
    case 0x54: {
        // INSTR([start,] searched, sought): without a start the search
        // begins at 1.
        bool startGiven = n >= 3;
        if (n == 2) {
            const int p = args[0];
            uint8_t t = g.Byte(p, 1);
            if (IsGroupHead(g.Kind(p)) && (t == kTypeFromOperand || t == kTypeFromClass) &&
                g.Kind(p) != 0xB1)
                t = MeasureExpression(g, p + 1);
            startGiven = t < kTypeStr || t > kTypeFix;
        }
        for (auto it = args.rbegin(); it != args.rend(); ++it)
            ArgPush(g, *it);
        if (!startGiven)
            EmitPushImm(st, 1);
        CallFunctionTableEntry(g, code);
        break;
    }
    case 0xC0: {
        for (int p : args)
            ArgPush(g, p);
        EmitPushImm(st, int32_t(n));
        EmitPushReg(st, kEsp);
        CallFunctionTableEntry(g, code);
        EmitAddRegImm(st, kEsp, int32_t(4 * n + 4));
        break;
    }
    case 0xC3:
    case 0xC4: {
        if (n >= 3 && !IsOmitted(g, args[2]))
            ArgPush(g, args[2]);
        else
            EmitPushImm(st, 2147483647);
        if (n >= 2)
            ArgPush(g, args[1]);
        if (n >= 1)
            ArgPush(g, args[0]);
        CallFunctionTableEntry(g, code);
        break;
    }
    default: {
        for (auto it = args.rbegin(); it != args.rend(); ++it)
            ArgPush(g, *it);
        if (group >= 0) {
            if (g.Kind(group + 1) == 0x70 || g.Kind(group + 1) == 0xBE) {
                EmitPushImm(st, 0);
            } else {
                g.cur = group + 1;
                OperandDesc d;
                GenOperandAddress(g, d);
                PushVariableAddress(g, d);
            }
        }
        CallFunctionTableEntry(g, code);
        break;
    }
    }
    g.cur = end;
}

} // namespace

uint8_t GenOperandToken(Gen &g) {
    auto &st = g.st;
    int group = -1;
    if (g.Kind(g.cur) == 0xB5) {
        group = g.cur;
        SkipOperand(g);
    }
    const int at = g.cur;
    const uint8_t k = g.Kind(at);
    uint8_t type = 0;
    switch (k) {
    case 0x40:
        type = g.Byte(at, 2);
        GenIntrinsicCall(g, group);
        break;
    case 0x41:
    case 0x42:
    case 0x43:
        type = g.Byte(at, 1);
        GenProcCall(g, at, true, type);
        break;
    default:
        ++g.cur;
        EmitMovRegImm(st, kEax, 0);
        return kClsInt;
    }
    switch (type) {
    case kTypeInt:
        EmitByte(st, kCwde);
        return kClsInt;
    case kTypeLng:
    case kTypeValue4: return kClsLng;
    case kTypeSng:
    case kTypeDbl: return kClsFloat;
    case kTypeByt:
        EmitAndEaxMask(st, 0xFF);
        return kClsByte;
    default: return kClsStr;
    }
}

// ---- assignment -------------------------------------------------------------------

namespace {

// A target whose element address was pushed before the source was
// evaluated.
struct Target {
    OperandDesc d;
    bool pushed = false;
};

Mem TargetMem(Gen &g, const Target &t) {
    if (t.pushed) {
        EmitPopReg(g.st, kEbx);
        return {kMemEbx, 0, 0};
    }
    return PrepareMem(g, t.d, true);
}

void StoreClass(Gen &g, const Target &t, uint8_t cls) {
    auto &st = g.st;
    const bool check = st.opt.overflowCheck != 0;
    const uint8_t type = t.d.type;
    if (IsPushedClass(cls)) {
        EmitPopReg(st, kEax);
        cls = Unpushed(cls);
    }
    if (cls == kClsStr) {
        if (type == kTypeFixStr) {
            if (t.pushed) {
                EmitPopReg(st, kEbx);
                EmitPushImm(st, int32_t(t.d.strLength));
                EmitPushReg(st, kEbx);
            } else {
                EmitPushImm(st, int32_t(t.d.strLength));
                PushVariableAddress(g, t.d);
            }
            EmitCallRuntime(st, "_$PbStVarStr@8");
        } else {
            if (!t.pushed)
                PushVariableAddress(g, t.d);
            EmitCallRuntime(st, "_$PbStVar5@4");
        }
        return;
    }
    if (!IsNumericType(type)) {
        // A value of the wrong family: drop it, keep the stacks balanced.
        if (t.pushed)
            EmitPopReg(st, kEbx);
        return;
    }
    const uint8_t fpType = type == kTypeValue4 ? uint8_t(kTypeLng) : type;
    if (cls == kClsFloat) {
        FpStore(g, TargetMem(g, t), fpType);
        if (type == kTypeSng || type == kTypeDbl)
            GenErrSetCall(g);
        return;
    }
    switch (fpType) {
    case kTypeInt:
        if (cls == kClsLng && check)
            EmitCallRuntime(st, "$PbCnvLtoI");
        IntStore(g, TargetMem(g, t), kTypeInt);
        return;
    case kTypeLng:
        IntStore(g, TargetMem(g, t), kTypeLng);
        return;
    case kTypeByt:
        if (cls == kClsInt && check)
            EmitCallRuntime(st, "$PbCnvItoUC");
        else if (cls == kClsLng && check)
            EmitCallRuntime(st, "$PbCnvLtoUC");
        IntStore(g, TargetMem(g, t), kTypeByt);
        return;
    default:
        EmitCallRuntime(st, FldRoutine(cls));
        FpStore(g, TargetMem(g, t), fpType);
        GenErrSetCall(g);
        return;
    }
}

void ImmStore(Gen &g, const Mem &m0, uint8_t type, const uint8_t *v) {
    auto &st = g.st;
    Mem m = m0;
    if (m.mode == kMemAbs) {
        EmitMovRegSymbol(st, kEbx, m.symbol, uint32_t(m.disp));
        m = {kMemEbx, 0, 0};
    }
    const bool frame = m.mode == kMemFrame;
    auto put32 = [&](int32_t off, uint32_t x) {
        frame ? EmitMovEbpImm32(st, m.disp + off, x) : EmitMovEbxImm32(st, off, x);
    };
    switch (type) {
    case kTypeInt:
        frame ? EmitMovEbpImm16(st, m.disp, GetU16(v)) : EmitMovEbxImm16(st, 0, GetU16(v));
        break;
    case kTypeByt:
        frame ? EmitMovEbpImm8(st, m.disp, v[0]) : EmitMovEbxImm8(st, 0, v[0]);
        break;
    case kTypeDbl:
        put32(4, GetU32(v + 4));
        put32(0, GetU32(v));
        break;
    default:
        put32(0, GetU32(v));
        break;
    }
}

void StoreFromOperand(Gen &g, const Target &t) {
    auto &st = g.st;
    const int i = g.cur;
    const uint8_t k = g.Kind(i);
    const uint8_t type = t.d.type;
    if (k == 0x70) {
        const uint8_t ct = g.Byte(i, 1);
        if (ct == type && ct <= kTypeByt) {
            ImmStore(g, TargetMem(g, t), type, g.At(i) + 2);
            ++g.cur;
            return;
        }
        if (type == kTypeStr && !t.pushed && (ct == kTypeStr || ct == kTypeFixStr || ct == 65)) {
            if (ct == kTypeStr) {
                EmitPushSymbolAddr(st, st.sec[kSecDataCs].symbol, g.U32(i, 2));
                PushVariableAddress(g, t.d);
                EmitCallRuntime(st, "_$PbSetVar5@8");
            } else {
                PushVariableAddress(g, t.d);
                EmitCallRuntime(st, "_$PbSetVarNull@4");
            }
            ++g.cur;
            return;
        }
    } else if (type == kTypeRecord && (k == 0x50 || k == 0x52 || k == 0x60)) {
        // Record from record: a byte copy of the smaller size.
        OperandDesc s;
        GenOperandAddress(g, s);
        if (s.type == kTypeRecord) {
            LoadVariableAddress(g, s, kEsi);
            if (t.pushed)
                EmitPopReg(st, kEdi);
            else
                LoadVariableAddress(g, t.d, kEdi);
            EmitMovRegImm(st, kEcx, std::min(t.d.typeSize, s.typeSize));
            EmitByte(st, kCld);
            EmitInsn(st, kRepMovsb);
            return;
        }
        if (t.pushed)
            EmitPopReg(st, kEbx);
        return;
    } else if (k == 0x50 && !t.pushed) {
        const int saved = g.cur;
        OperandDesc s;
        GetOperandDesc(g, s);
        if (s.type == kTypeStr && type == kTypeStr) {
            PushVariableAddress(g, s);
            PushVariableAddress(g, t.d);
            EmitCallRuntime(st, "_$PbMovVar5@8");
            return;
        }
        if (s.type == type && (type == kTypeInt || type == kTypeLng || type == kTypeSng ||
                               type == kTypeByt || type == kTypeValue4)) {
            const uint8_t as = type == kTypeSng ? uint8_t(kTypeLng) : type;
            IntLoad(g, PrepareMem(g, s, false), as, kEax);
            IntStore(g, PrepareMem(g, t.d, true), as);
            return;
        }
        g.cur = saved;
    }
    StoreClass(g, t, EvalOperand(g));
}

} // namespace

void GenStoreClass(Gen &g, const OperandDesc &target, uint8_t cls) {
    Target t;
    t.d = target;
    StoreClass(g, t, cls);
}

void GenLetAssignment(Gen &g) {
    auto &st = g.st;
    Target t;
    // The target group.
    if (IsGroupHead(g.Kind(g.cur)))
        ++g.cur;
    const uint8_t k = g.Kind(g.cur);
    if (!(k == 0x50 || k == 0x52 || k == 0x60))
        return;
    GenOperandAddress(g, t.d);
    if (t.d.computed) {
        EmitPushReg(st, kEax);
        t.pushed = true;
        t.d.computed = false;
    }
    while (g.cur < g.ntok && g.Kind(g.cur) != 0xBF && g.Kind(g.cur) != 0x20)
        SkipOperand(g);
    if (g.Kind(g.cur) == 0xBF)
        ++g.cur;
    if (g.Kind(g.cur) == 0x20)
        ++g.cur;
    // The source.
    const uint8_t s = g.Kind(g.cur);
    if (s == 0xB1 || s == 0xB3) {
        StoreClass(g, t, GenExpression(g));
        return;
    }
    if (IsGroupHead(s)) {
        ++g.cur;
        if (g.Kind(g.cur) != 0xBF)
            StoreFromOperand(g, t);
        else if (t.pushed)
            EmitPopReg(st, kEbx);
        while (g.cur < g.ntok && g.Kind(g.cur) != 0xBF)
            SkipOperand(g);
        if (g.cur < g.ntok)
            ++g.cur;
        return;
    }
    if (g.cur < g.ntok) {
        StoreFromOperand(g, t);
        return;
    }
    if (t.pushed)
        EmitPopReg(st, kEbx);
}

} // namespace txcg

namespace txcg {

// LSET, RSET and the decimal store: the target's address (and a fixed
// string's length) first, then the value, then the routine.
void GenAssignment(Gen &g, uint8_t code) {
    auto &st = g.st;
    int i = g.cur;
    if (i < g.ntok && g.Kind(i) >= 0xB0 && g.Kind(i) <= 0xB4)
        ++i;
    const uint8_t k = g.Kind(i);
    if (!(k == 0x50 || k == 0x52 || k == 0x60))
        return;
    if (MeasureExpression(g, i) == kTypeRecord) {
        GenLetAssignment(g);
        return;
    }
    g.cur = i;
    OperandDesc d;
    GenOperandAddress(g, d);
    const bool fixed = d.type == kTypeFixStr;
    if (fixed)
        EmitPushImm(st, int32_t(d.strLength));
    PushVariableAddress(g, d);
    while (g.cur < g.ntok && g.Kind(g.cur) != 0xBF && g.Kind(g.cur) != 0x20)
        SkipOperand(g);
    if (g.Kind(g.cur) == 0xBF)
        ++g.cur;
    if (g.Kind(g.cur) == 0x20)
        ++g.cur;
    if (g.cur < g.ntok)
        GenGroupValue(g);
    const char *routine = code == 0x81   ? "_$PbStVarBcd@4"
                          : code == 0x82 ? (fixed ? "_$PbStVarStr@8" : "_$PsLSET@4")
                                         : (fixed ? "_$PbStVarStrR@8" : "_$PsRSET@4");
    EmitCallRuntime(st, routine);
}

} // namespace txcg
