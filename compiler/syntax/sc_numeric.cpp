#include "sc_numeric.h"

#include <cfenv>
#include <cmath>
#include <limits>

namespace txsc::num {

namespace {

template <typename T> int Finish(T &a, T r) {
    if (std::isnan(r) || std::isinf(r)) return kOverflow;
    a = r;
    return kOk;
}

// Inputs are finite constants, so an infinite or NaN result is the overflow
// or invalid operation the unit would have flagged.
template <typename T> int Div(T &a, T b) {
    if (b == 0) return a == 0 ? kOverflow : kZeroDiv;
    return Finish(a, a / b);
}

int ToLng(int32_t &out, double v) {
    if (std::isnan(v)) return kNaN;
    double r = std::nearbyint(v);
    if (r < -2147483648.0 || r > 2147483647.0) return kOverflow;
    out = int32_t(r);
    return r == v ? kOk : kInexact;
}

int ToInt(int16_t &out, double v) {
    if (std::isnan(v)) return kNaN;
    double r = std::nearbyint(v);
    if (r < -32768.0 || r > 32767.0) return kOverflow;
    out = int16_t(r);
    return r == v ? kOk : kInexact;
}

// Truncate the magnitude, then add one when the first dropped bit (the
// half) is set: halves round away from zero.
int ToIntShift(int16_t &out, double v) {
    if (std::isnan(v)) return kNaN;
    double m = std::fabs(v);
    double t = std::floor(m);
    if (m - t >= 0.5) t += 1;
    double r = v < 0 ? -t : t;
    if (r < -32768.0 || r > 32767.0) return kOverflow;
    out = int16_t(r);
    return r == v ? kOk : kInexact;
}

}  // namespace

int AddSng(float &a, float b) { return Finish(a, a + b); }
int SubSng(float &a, float b) { return Finish(a, a - b); }
int MulSng(float &a, float b) { return Finish(a, a * b); }
int DivSng(float &a, float b) { return Div(a, b); }
int AddDbl(double &a, double b) { return Finish(a, a + b); }
int SubDbl(double &a, double b) { return Finish(a, a - b); }
int MulDbl(double &a, double b) { return Finish(a, a * b); }
int DivDbl(double &a, double b) { return Div(a, b); }
int PowSng(float &a, float b) {
    if (a == 0 && b < 0) return kZeroDiv;
    return Finish(a, std::pow(a, b));
}
int PowDbl(double &a, double b) {
    if (a == 0 && b < 0) return kZeroDiv;
    return Finish(a, std::pow(a, b));
}

int MulU32(uint32_t &a, uint32_t b) {
    uint64_t p = uint64_t(a) * b;
    if (p > 0xFFFFFFFFu) return kOverflow;
    a = uint32_t(p);
    return kOk;
}

int DivI32(int32_t &a, int32_t b) {
    if (b == 0) return kZeroDiv;
    if (a == std::numeric_limits<int32_t>::min() && b == -1) return kOverflow;
    a /= b;
    return kOk;
}

int ModI32(int32_t &a, int32_t b) {
    if (b == 0) return kZeroDiv;
    // The divide instruction faults on this pair before it yields the
    // remainder, so it is the same overflow as the quotient.
    if (a == std::numeric_limits<int32_t>::min() && b == -1) return kOverflow;
    a %= b;
    return kOk;
}

int NarrowDbl(float &out, double in) {
    if (std::isnan(in)) return kOverflow;
    if (std::fabs(in) > double(std::numeric_limits<float>::max())) return kOverflow;
    out = float(in);
    return kOk;
}

int RoundSng(float &a) { a = std::nearbyint(a); return kOk; }
int RoundDbl(double &a) { a = std::nearbyint(a); return kOk; }
int SngToLng(int32_t &out, float in) { return ToLng(out, in); }
int DblToLng(int32_t &out, double in) { return ToLng(out, in); }
int SngToInt(int16_t &out, float in) { return ToInt(out, in); }
int DblToInt(int16_t &out, double in) { return ToInt(out, in); }
int SngToIntShift(int16_t &out, float in) { return ToIntShift(out, in); }
int DblToIntShift(int16_t &out, double in) { return ToIntShift(out, in); }

int Reset() {
    std::feclearexcept(FE_ALL_EXCEPT);
    return std::fesetround(FE_TONEAREST) == 0 ? kOk : kOverflow;
}

}  // namespace txsc::num
