/* Numbers as BASIC writes and reads them: pure C with no library call, so
   both the runtime subset (freestanding i686) and the evaluator's runtime
   stand-in (outside/tq70rn63, hosted) compile it. */
#include "rt_number.h"

static int rt_digits_u32(char *out, uint32_t v) {
    char buf[12];
    int n = 0;
    do {
        buf[n++] = (char)('0' + v % 10);
        v /= 10;
    } while (v);
    for (int i = 0; i < n; ++i) out[i] = buf[n - 1 - i];
    return n;
}

/* A blank or a minus sign, then the digits. */
int rt_fmt_long(char *out, int32_t v) {
    out[0] = v < 0 ? '-' : ' ';
    uint32_t m = v < 0 ? 0u - (uint32_t)v : (uint32_t)v;
    return 1 + rt_digits_u32(out + 1, m);
}

static long double rt_pow10(int e) {
    long double r = 1.0L, b = 10.0L;
    unsigned n = e < 0 ? (unsigned)-e : (unsigned)e;
    while (n) {
        if (n & 1) r *= b;
        b *= b;
        n >>= 1;
    }
    return e < 0 ? 1.0L / r : r;
}

/* Singles show 7 significant digits, doubles 15. Fixed notation while the
   decimal exponent lies in -6 < e < digits, else d.dddE+xx (D for doubles);
   no zero in front of the point. */
int rt_fmt_float(char *out, double value, int single) {
    int nd = single ? 7 : 15;
    int n = 0;
    long double v = value;
    if (v != v) {
        for (const char *t = " NaN"; *t; ++t) out[n++] = *t;
        return n;
    }
    out[n++] = v < 0 ? '-' : ' ';
    if (v < 0) v = -v;
    if (v == 0) {
        out[n++] = '0';
        return n;
    }
    if (v > 1.0e308L * 10) {
        for (const char *t = "Inf"; *t; ++t) out[n++] = *t;
        return n;
    }
    int e = 0;
    while (v >= rt_pow10(e + 1)) ++e;
    while (v < rt_pow10(e)) --e;
    long double limit = rt_pow10(nd);
    long double m = v * rt_pow10(nd - 1 - e);
    /* round half away from zero on the scaled value */
    long double r = (long double)(int64_t)(m + 0.5L);
    if (r >= limit) {
        r = rt_pow10(nd - 1);
        ++e;
    }
    uint32_t hi = (uint32_t)(r / 1e8L);
    uint32_t lo = (uint32_t)(r - (long double)hi * 1e8L);
    char dig[24];
    int k = 0;
    if (hi) {
        k = rt_digits_u32(dig, hi);
        char low[12];
        int lk = rt_digits_u32(low, lo);
        for (int i = 0; i < 8 - lk; ++i) dig[k++] = '0';
        for (int i = 0; i < lk; ++i) dig[k++] = low[i];
    } else {
        k = rt_digits_u32(dig, lo);
    }
    while (k > 1 && dig[k - 1] == '0') --k;
    if (e > -7 && e < nd) {
        if (e >= 0) {
            for (int i = 0; i <= e; ++i) out[n++] = i < k ? dig[i] : '0';
            if (k > e + 1) {
                out[n++] = '.';
                for (int i = e + 1; i < k; ++i) out[n++] = dig[i];
            }
        } else {
            out[n++] = '.';
            for (int i = 0; i < -e - 1; ++i) out[n++] = '0';
            for (int i = 0; i < k; ++i) out[n++] = dig[i];
        }
        return n;
    }
    out[n++] = dig[0];
    if (k > 1) {
        out[n++] = '.';
        for (int i = 1; i < k; ++i) out[n++] = dig[i];
    }
    out[n++] = single ? 'E' : 'D';
    out[n++] = e < 0 ? '-' : '+';
    uint32_t ae = (uint32_t)(e < 0 ? -e : e);
    if (ae < 10) out[n++] = '0';
    n += rt_digits_u32(out + n, ae);
    return n;
}

/* Decimal with optional point and exponent (E or D), or &H / &O. Leading
   blanks are skipped; parsing stops at the first character that does not
   fit. *used receives the characters consumed (0: no number at all). */
double rt_parse_number(const char *s, uint32_t n, uint32_t *used) {
    uint32_t i = 0;
    while (i < n && s[i] == ' ') ++i;
    int neg = 0;
    if (i < n && (s[i] == '-' || s[i] == '+')) neg = s[i++] == '-';
    if (i + 1 < n && s[i] == '&' && (s[i + 1] == 'H' || s[i + 1] == 'h' || s[i + 1] == 'O' || s[i + 1] == 'o')) {
        unsigned shift = (s[i + 1] == 'H' || s[i + 1] == 'h') ? 4 : 3;
        uint32_t v = 0;
        uint32_t start = i += 2;
        for (; i < n; ++i) {
            char c = s[i];
            unsigned d;
            if (c >= '0' && c <= '9') d = (unsigned)(c - '0');
            else if (shift == 4 && c >= 'A' && c <= 'F') d = (unsigned)(c - 'A' + 10);
            else if (shift == 4 && c >= 'a' && c <= 'f') d = (unsigned)(c - 'a' + 10);
            else break;
            if (d >= (1u << shift)) break;
            v = (v << shift) | d;
        }
        *used = i > start ? i : 0;
        /* 16-bit patterns read as signed integers, as constants do */
        double r = v <= 0xFFFF ? (double)(int16_t)v : (double)(int32_t)v;
        return neg ? -r : r;
    }
    long double m = 0;
    int exp10 = 0, any = 0;
    for (; i < n && s[i] >= '0' && s[i] <= '9'; ++i, any = 1) m = m * 10 + (s[i] - '0');
    if (i < n && s[i] == '.') {
        for (++i; i < n && s[i] >= '0' && s[i] <= '9'; ++i, any = 1) {
            m = m * 10 + (s[i] - '0');
            --exp10;
        }
    }
    if (!any) {
        *used = 0;
        return 0;
    }
    if (i < n && (s[i] == 'E' || s[i] == 'e' || s[i] == 'D' || s[i] == 'd')) {
        uint32_t j = i + 1;
        int eneg = 0, ev = 0, edig = 0;
        if (j < n && (s[j] == '-' || s[j] == '+')) eneg = s[j++] == '-';
        for (; j < n && s[j] >= '0' && s[j] <= '9'; ++j, edig = 1) {
            if (ev < 10000) ev = ev * 10 + (s[j] - '0');
        }
        if (edig) {
            exp10 += eneg ? -ev : ev;
            i = j;
        }
    }
    *used = i;
    long double r = exp10 ? m * rt_pow10(exp10) : m;
    return (double)(neg ? -r : r);
}
