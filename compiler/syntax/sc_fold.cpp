#include "sc_fold.h"

#include <cmath>
#include <cstring>
#include <initializer_list>

#include "sc_numeric.h"

namespace txsc {

namespace {

uint8_t RoutineStatus(int code) {
    switch (code) {
    case num::kOk:
    case num::kInexact: return fs::kOk;
    case num::kOverflow: return fs::kOverflow;
    case num::kZeroDiv: return fs::kZeroDiv;
    case num::kNaN: return fs::kRoutine;
    default: return fs::kConvert;
    }
}

bool IsNum(uint8_t t) { return t <= 4; }

// Widening conversions; the only failure is an operand that is no number.
uint8_t ToSng(Cst &c) {
    switch (c.type) {
    case 0: case 1: case 4: c.s = float(c.l); break;
    case 2: break;
    case 3: { float f; if (num::NarrowDbl(f, c.d)) return fs::kConvert; c.s = f; break; }
    default: return fs::kConvert;
    }
    c.type = 2;
    return fs::kOk;
}

uint8_t ToDbl(Cst &c) {
    switch (c.type) {
    case 0: case 1: case 4: c.d = double(c.l); break;
    case 2: c.d = double(c.s); break;
    case 3: break;
    default: return fs::kConvert;
    }
    c.type = 3;
    return fs::kOk;
}

uint8_t ToLngStatus(Cst &c) {
    int32_t v = 0;
    int code;
    switch (c.type) {
    case 0: case 1: case 4: c.type = 1; return fs::kOk;
    case 2: code = num::SngToLng(v, c.s); break;
    case 3: code = num::DblToLng(v, c.d); break;
    default: return fs::kConvert;
    }
    if (code == num::kOverflow) return fs::kOverflow;
    if (code != num::kOk && code != num::kInexact) return fs::kConvert;
    c = Cst::Lng(v);
    return fs::kOk;
}

Cst FromInt32(int64_t v) { return (v >= -32768 && v <= 32767) ? Cst::Int(int32_t(v)) : Cst::Lng(int32_t(v)); }

// Make both operands one type: BYT counts as INT; INT+LNG is LNG, INT+SNG
// SNG, LNG+SNG DBL, anything with DBL is DBL.
uint8_t Promote(Cst &a, Cst &b) {
    if (a.type == 4) a.type = 0;
    if (b.type == 4) b.type = 0;
    if (a.type == b.type) return fs::kOk;
    uint8_t hi = a.type > b.type ? a.type : b.type;
    uint8_t lo = a.type > b.type ? b.type : a.type;
    uint8_t want = hi;
    if (lo == 1 && hi == 2) want = 3;
    for (Cst *c : {&a, &b}) {
        uint8_t st = fs::kOk;
        if (want == 1) c->type = 1;
        else if (want == 2) st = ToSng(*c);
        else st = ToDbl(*c);
        if (st) return st;
    }
    return fs::kOk;
}

uint8_t AddSub(bool sub, Cst &a, Cst &b) {
    switch (a.type) {
    case 0: a = FromInt32(sub ? int64_t(a.l) - b.l : int64_t(a.l) + b.l); return fs::kOk;
    case 1: {
        double r = sub ? double(a.l) - b.l : double(a.l) + b.l;
        if (r >= -2147483648.0 && r <= 2147483647.0) a = Cst::Lng(int32_t(r));
        else a = Cst::Dbl(r);
        return fs::kOk;
    }
    case 2: {
        float r = a.s;
        if ((sub ? num::SubSng(r, b.s) : num::AddSng(r, b.s)) == num::kOk) { a.s = r; return fs::kOk; }
        ToDbl(a); ToDbl(b);
        [[fallthrough]];
    }
    case 3: {
        double r = a.d;
        int code = sub ? num::SubDbl(r, b.d) : num::AddDbl(r, b.d);
        if (code) return code == num::kOverflow ? fs::kOverflow : fs::kConvert;
        a.d = r;
        return fs::kOk;
    }
    }
    return fs::kTypeMismatch;
}

uint8_t Mul(Cst &a, Cst &b) {
    switch (a.type) {
    case 0: a = FromInt32(int64_t(a.l) * b.l); return fs::kOk;
    case 1: {
        int64_t p = int64_t(a.l) * b.l;
        if (p >= INT32_MIN && p <= INT32_MAX) a = Cst::Lng(int32_t(p));
        else a = Cst::Dbl(double(a.l) * double(b.l));
        return fs::kOk;
    }
    case 2: {
        float r = a.s;
        if (num::MulSng(r, b.s) == num::kOk) { a.s = r; return fs::kOk; }
        ToDbl(a); ToDbl(b);
        [[fallthrough]];
    }
    case 3: {
        double r = a.d;
        int code = num::MulDbl(r, b.d);
        if (code) return code == num::kOverflow ? fs::kOverflow : fs::kConvert;
        a.d = r;
        return fs::kOk;
    }
    }
    return fs::kTypeMismatch;
}

uint8_t Div(Cst &a, Cst &b) {
    if (a.type == 0) {
        if (b.l == 0) return fs::kZeroDiv;
        if (a.l % b.l == 0) { a = FromInt32(int64_t(a.l) / b.l); return fs::kOk; }
        ToSng(a); ToSng(b);
    }
    if (a.type == 1) { ToDbl(a); ToDbl(b); }
    if (a.type == 2) {
        float r = a.s;
        int code = num::DivSng(r, b.s);
        if (code == num::kOk) { a.s = r; return fs::kOk; }
        if (code != num::kOverflow) return code == num::kZeroDiv ? fs::kZeroDiv : code == num::kNaN ? fs::kRoutine : fs::kConvert;
        ToDbl(a); ToDbl(b);
    }
    double r = a.d;
    int code = num::DivDbl(r, b.d);
    if (code == num::kZeroDiv) return fs::kZeroDiv;
    if (code == num::kNaN) return fs::kRoutine;
    if (code) return fs::kOverflow;
    a.d = r;
    return fs::kOk;
}

uint8_t IntDivMod(bool mod, Cst &a, Cst &b) {
    if (a.type >= 2) {
        if (uint8_t st = ToLngStatus(a)) return st;
        if (uint8_t st = ToLngStatus(b)) return st;
    }
    if (b.l == 0) return fs::kZeroDiv;
    if (a.type == 0) {
        a = FromInt32(mod ? a.l % b.l : a.l / b.l);
        return fs::kOk;
    }
    int32_t r = a.l;
    uint8_t st = RoutineStatus(mod ? num::ModI32(r, b.l) : num::DivI32(r, b.l));
    if (st) return st;
    a = Cst::Lng(r);
    return fs::kOk;
}

uint8_t Power(Cst &a, Cst &b) {
    if (a.type == 0 && b.type == 0) { ToSng(a); ToSng(b); }
    else if (a.type == 1 && b.type == 1) { ToDbl(a); ToDbl(b); }
    else if (uint8_t st = Promote(a, b)) return st;
    if (a.type == 2) {
        float r = a.s;
        int code = num::PowSng(r, b.s);
        if (code == num::kOk) { a.s = r; return fs::kOk; }
        if (code == num::kZeroDiv) return fs::kZeroDiv;
        ToDbl(a); ToDbl(b);
    }
    double r = a.d;
    int code = num::PowDbl(r, b.d);
    if (code) return code == num::kZeroDiv ? fs::kZeroDiv : fs::kOverflow;
    a.d = r;
    return fs::kOk;
}

double AsDouble(const Cst &c) {
    return c.type == 2 ? double(c.s) : c.type == 3 ? c.d : double(c.l);
}

}  // namespace

bool Cst::operator==(const Cst &o) const {
    if (type != o.type) return false;
    if (type == 2) return s == o.s;
    if (type == 3) return d == o.d;
    return l == o.l;
}

int OpPrecedence(uint8_t op) {
    switch (op) {
    case 18: return 14;
    case 21: case 22: return 12;
    case 23: return 11;
    case 24: return 10;
    case 19: case 20: case 25: case 67: return 9;
    case 32: case 33: case 34: case 35: case 36: case 37: return 8;
    case 49: return 6;
    case 50: return 5;
    case 51: return 4;
    case 52: return 3;
    case 53: return 2;
    }
    return 0;
}

uint8_t FoldUnary(uint8_t op, Cst &a) {
    if (!IsNum(a.type)) return fs::kTypeMismatch;
    if (op == 0x10) return fs::kOk;
    if (op == 0x11) {
        switch (a.type) {
        case 4: a.type = 0; [[fallthrough]];
        case 0: a = FromInt32(-int64_t(a.l)); return fs::kOk;
        case 1:
            if (a.l == INT32_MIN) a = Cst::Dbl(2147483648.0);
            else a.l = -a.l;
            return fs::kOk;
        case 2: { float r = 0; if (num::SubSng(r, a.s)) return fs::kConvert; a.s = r; return fs::kOk; }
        case 3: { double r = 0; if (num::SubDbl(r, a.d)) return fs::kConvert; a.d = r; return fs::kOk; }
        }
    }
    if (op == 0x30) {
        if (a.type >= 2 && ToLngStatus(a)) return fs::kOverflow;
        if (a.type == 4) a.type = 0;
        a.l = a.type == 0 ? int16_t(~a.l) : ~a.l;
        return fs::kOk;
    }
    return fs::kBadPrefix;
}

uint8_t FoldBinary(uint8_t op, Cst &a, Cst b) {
    if (op == 67) op = 25;
    if (!IsNum(a.type) || !IsNum(b.type)) return fs::kTypeMismatch;
    if (op == 18) return Power(a, b);
    if (uint8_t st = Promote(a, b)) return st;
    switch (op) {
    case 19: case 25: return AddSub(false, a, b);
    case 20: return AddSub(true, a, b);
    case 21: return Mul(a, b);
    case 22: return Div(a, b);
    case 23: return IntDivMod(false, a, b);
    case 24: return IntDivMod(true, a, b);
    case 32: case 33: case 34: case 35: case 36: case 37: {
        double x = AsDouble(a), y = AsDouble(b);
        bool r = op == 32 ? x == y : op == 33 ? x != y : op == 34 ? x < y
               : op == 35 ? x > y : op == 36 ? x <= y : x >= y;
        a = Cst::Int(r ? -1 : 0);
        return fs::kOk;
    }
    case 49: case 50: case 51: case 52: case 53: {
        if (a.type >= 2) {
            if (ToLngStatus(a) || ToLngStatus(b)) return fs::kOverflow;
        }
        int32_t x = a.l, y = b.l, r;
        switch (op) {
        case 49: r = x & y; break;
        case 50: r = x | y; break;
        case 51: r = x ^ y; break;
        case 52: r = ~(x ^ y); break;
        default: r = ~x | y; break;
        }
        a.l = a.type == 0 ? int16_t(r) : r;
        return fs::kOk;
    }
    }
    return fs::kBadOp;
}

uint8_t ConvertConst(Cst &c, uint8_t target) {
    if (!IsNum(c.type)) return fs::kBadSource;
    uint8_t src = c.type;
    auto intFromFloat = [&](int lo, int hi, bool byRounding) -> uint8_t {
        int32_t v = 0;
        int code;
        if (target == 0 && byRounding) {
            int16_t w = 0;
            code = src == 2 ? num::SngToInt(w, c.s) : num::DblToInt(w, c.d);
            v = w;
        } else {
            code = src == 2 ? num::SngToLng(v, c.s) : num::DblToLng(v, c.d);
        }
        if (code == num::kOverflow) return fs::kOverflow;
        if (code != num::kOk && code != num::kInexact) return fs::kConvert;
        if (v < lo || v > hi) return fs::kOverflow;
        c.l = v;
        return fs::kOk;
    };
    switch (target) {
    case 4:
        if (src == 2 || src == 3) { if (uint8_t st = intFromFloat(0, 255, false)) return st; }
        else if (c.l < 0 || c.l > 255) return fs::kOverflow;
        c.type = 4;
        return fs::kOk;
    case 0:
        if (src == 2 || src == 3) { if (uint8_t st = intFromFloat(-32768, 32767, true)) return st; }
        else if (c.l < -32768 || c.l > 32767) return fs::kOverflow;
        c.type = 0;
        return fs::kOk;
    case 8:
        // A word takes the unsigned 16-bit range as well; it is kept as INT.
        if (src == 2 || src == 3) { if (uint8_t st = intFromFloat(-32768, 65535, false)) return st; }
        else if (c.l < -32768 || c.l > 65535) return fs::kOverflow;
        c.l = int16_t(uint16_t(c.l));
        c.type = 0;
        return fs::kOk;
    case 1:
    case 9:
        if (src == 2 || src == 3) { if (uint8_t st = intFromFloat(INT32_MIN, INT32_MAX, false)) return st; }
        c.type = 1;
        return fs::kOk;
    case 2:
        if (src == 3) {
            float f;
            if (num::NarrowDbl(f, c.d)) return fs::kOverflow;
            c.s = f;
        } else if (src != 2) {
            c.s = float(c.l);
        }
        c.type = 2;
        return fs::kOk;
    case 3:
        c.d = AsDouble(c);
        c.type = 3;
        return fs::kOk;
    }
    return fs::kOk;
}

int ConstValueSize(uint8_t type) {
    switch (type) {
    case 0: case 8: return 2;
    case 1: case 2: case 9: case 16: return 4;
    case 3: return 8;
    case 4: return 1;
    }
    return 0;
}

void StoreConst(const Cst &c, uint8_t out[8]) {
    std::memset(out, 0, 8);
    switch (c.type) {
    case 0: case 8: { int16_t v = int16_t(c.l); std::memcpy(out, &v, 2); break; }
    case 1: case 9: case 16: std::memcpy(out, &c.l, 4); break;
    case 2: std::memcpy(out, &c.s, 4); break;
    case 3: std::memcpy(out, &c.d, 8); break;
    case 4: out[0] = uint8_t(c.l); break;
    }
}

Cst LoadConst(uint8_t type, const uint8_t in[8]) {
    Cst c;
    c.type = type;
    switch (type) {
    case 0: case 8: { int16_t v; std::memcpy(&v, in, 2); c.l = v; c.type = 0; break; }
    case 1: case 9: case 16: std::memcpy(&c.l, in, 4); break;
    case 2: std::memcpy(&c.s, in, 4); break;
    case 3: std::memcpy(&c.d, in, 8); break;
    case 4: c.l = in[0]; break;
    }
    return c;
}

}  // namespace txsc
