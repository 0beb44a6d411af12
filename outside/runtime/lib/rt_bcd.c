/* Decimal numbers (type 18) and strings whose length DEF LEN sets when it
   runs (type 19). Decimals are exact: 22 significant digits in packed BCD,
   so 0.1 added ten times is 1. On the string stack a decimal travels as
   its text marked RT_KIND_DECIMAL; the operators take any text that reads
   as a number. The layouts are in CONTRACTS.md. */
#include "rt.h"

#define DEC_DIGITS RT_DEC_DIGITS /* significant digits kept */
#define DEC_EXP_MIN (-128) /* the stored exponent is one signed byte */
#define DEC_EXP_MAX 127
#define BIG_CAP 320        /* working digits: 22 + the widest exponent gap */
#define DEC_TAG 0xBC       /* byte 3 of a decimal's storage */
#define TEXT_MAX 64

/* An unsigned integer as decimal digits, least significant first. */
typedef struct {
    int n;
    uint8_t d[BIG_CAP];
} Big;

/* (-1)^neg x c x 10^exp; c without leading zeros, n 0 is zero. */
typedef struct {
    int neg;
    int exp;
    Big c;
} Dec;

/* ---- digit arithmetic --------------------------------------------------- */

static void big_trim(Big *b) {
    while (b->n > 0 && b->d[b->n - 1] == 0) --b->n;
}

static int big_cmp(const Big *a, const Big *b) {
    if (a->n != b->n) return a->n < b->n ? -1 : 1;
    for (int i = a->n - 1; i >= 0; --i)
        if (a->d[i] != b->d[i]) return a->d[i] < b->d[i] ? -1 : 1;
    return 0;
}

/* a x 10^k, failing when it no longer fits the working digits. */
static void big_shift(Big *a, int k, uint32_t addr) {
    if (a->n == 0 || k == 0) return;
    if (a->n + k > BIG_CAP) rt_fail(RT_E_OVERFLOW, addr);
    for (int i = a->n - 1; i >= 0; --i) a->d[i + k] = a->d[i];
    for (int i = 0; i < k; ++i) a->d[i] = 0;
    a->n += k;
}

static void big_add(Big *r, const Big *a, const Big *b, uint32_t addr) {
    int n = a->n > b->n ? a->n : b->n, carry = 0;
    if (n + 1 > BIG_CAP) rt_fail(RT_E_OVERFLOW, addr);
    for (int i = 0; i < n; ++i) {
        int s = (i < a->n ? a->d[i] : 0) + (i < b->n ? b->d[i] : 0) + carry;
        r->d[i] = (uint8_t)(s % 10);
        carry = s / 10;
    }
    r->d[n] = (uint8_t)carry;
    r->n = n + 1;
    big_trim(r);
}

/* r = a - b for a >= b; r may be a. */
static void big_sub(Big *r, const Big *a, const Big *b) {
    int borrow = 0;
    for (int i = 0; i < a->n; ++i) {
        int s = a->d[i] - (i < b->n ? b->d[i] : 0) - borrow;
        borrow = s < 0;
        r->d[i] = (uint8_t)(s < 0 ? s + 10 : s);
    }
    r->n = a->n;
    big_trim(r);
}

static void big_mul(Big *r, const Big *a, const Big *b, uint32_t addr) {
    int n = a->n + b->n;
    if (n > BIG_CAP) rt_fail(RT_E_OVERFLOW, addr);
    int acc[BIG_CAP];
    for (int i = 0; i < n; ++i) acc[i] = 0;
    for (int i = 0; i < a->n; ++i)
        for (int j = 0; j < b->n; ++j) acc[i + j] += a->d[i] * b->d[j];
    int carry = 0;
    for (int i = 0; i < n; ++i) {
        int s = acc[i] + carry;
        r->d[i] = (uint8_t)(s % 10);
        carry = s / 10;
    }
    r->n = n;
    big_trim(r);
}

/* q = a / b, rem = a mod b (b not zero), by long division digit by digit. */
static void big_divmod(Big *q, Big *rem, const Big *a, const Big *b) {
    Big r = {0, {0}};
    q->n = a->n;
    for (int i = a->n - 1; i >= 0; --i) {
        /* r = r x 10 + next digit */
        if (r.n > 0 || a->d[i]) {
            for (int k = r.n; k > 0; --k) r.d[k] = r.d[k - 1];
            r.d[0] = a->d[i];
            ++r.n;
            big_trim(&r);
        }
        int digit = 0;
        while (big_cmp(&r, b) >= 0) {
            big_sub(&r, &r, b);
            ++digit;
        }
        q->d[i] = (uint8_t)digit;
    }
    big_trim(q);
    if (rem) *rem = r;
}

/* ---- decimals ----------------------------------------------------------- */

/* Drops trailing zeros of the coefficient into the exponent. */
static void dec_norm(Dec *x) {
    big_trim(&x->c);
    if (x->c.n == 0) {
        x->neg = 0;
        x->exp = 0;
        return;
    }
    int z = 0;
    while (x->c.d[z] == 0) ++z;
    if (z) {
        for (int i = z; i < x->c.n; ++i) x->c.d[i - z] = x->c.d[i];
        x->c.n -= z;
        x->exp += z;
    }
}

/* Keeps `keep` digits, rounding half away from zero. */
static void dec_round_to(Dec *x, int keep) {
    int drop = x->c.n - keep;
    if (drop <= 0) return;
    int up = x->c.d[drop - 1] >= 5;
    for (int i = drop; i < x->c.n; ++i) x->c.d[i - drop] = x->c.d[i];
    x->c.n -= drop;
    x->exp += drop;
    for (int i = 0; up && i < x->c.n; ++i) {
        if (++x->c.d[i] == 10) x->c.d[i] = 0;
        else up = 0;
    }
    if (up) x->c.d[x->c.n++] = 1;
}

/* The kept form: 22 digits at most, the exponent within its byte. A value
   too small for the byte becomes zero, one too large is an overflow. */
static void dec_fit(Dec *x, uint32_t addr) {
    dec_norm(x);
    dec_round_to(x, DEC_DIGITS);
    dec_norm(x);
    if (x->c.n && x->exp < DEC_EXP_MIN) {
        dec_round_to(x, x->c.n - (DEC_EXP_MIN - x->exp));
        if (x->exp < DEC_EXP_MIN) x->c.n = 0;
        dec_norm(x);
    }
    if (x->c.n && x->exp > DEC_EXP_MAX) rt_fail(RT_E_OVERFLOW, addr);
}

static int dec_is_digit(char c) { return c >= '0' && c <= '9'; }

/* Text as a decimal: blanks, a sign, digits with a point, an exponent
   (E or D). Empty text is 0. 0, or the error: a type mismatch for other
   text, an overflow for an exponent beyond any decimal. */
static int dec_scan(Dec *x, const char *p, uint32_t n) {
    uint32_t i = 0;
    int seen = 0, exp10 = 0;
    x->neg = 0;
    x->exp = 0;
    x->c.n = 0;
    while (i < n && p[i] == ' ') ++i;
    const uint32_t body = i;
    if (i < n && (p[i] == '+' || p[i] == '-')) x->neg = p[i++] == '-';
    uint8_t digits[TEXT_MAX];
    int nd = 0, point = 0;
    for (; i < n && (dec_is_digit(p[i]) || (p[i] == '.' && !point)); ++i) {
        if (p[i] == '.') {
            point = 1;
            continue;
        }
        seen = 1;
        if (nd == 0 && p[i] == '0') {
            if (point) --exp10;
            continue;
        }
        if (nd < TEXT_MAX) {
            digits[nd++] = (uint8_t)(p[i] - '0');
            if (point) --exp10;
        } else if (!point) {
            ++exp10;
        }
    }
    if (seen && i < n && (p[i] == 'E' || p[i] == 'e' || p[i] == 'D' || p[i] == 'd')) {
        uint32_t j = i + 1;
        int eneg = 0, e = 0, any = 0;
        if (j < n && (p[j] == '+' || p[j] == '-')) eneg = p[j++] == '-';
        for (; j < n && dec_is_digit(p[j]); ++j) {
            any = 1;
            if (e < 10000) e = e * 10 + (p[j] - '0');
        }
        if (!any) return RT_E_TYPE;
        exp10 += eneg ? -e : e;
        i = j;
    }
    /* a sign or a point alone is no number; nothing at all is 0 */
    if (!seen && i != body) return RT_E_TYPE;
    while (i < n && p[i] == ' ') ++i;
    if (i != n) return RT_E_TYPE;
    if (exp10 > 10000 || exp10 < -10000) return RT_E_OVERFLOW;
    for (int k = 0; k < nd; ++k) x->c.d[k] = digits[nd - 1 - k];
    x->c.n = nd;
    x->exp = exp10;
    if (nd) dec_round_to(x, DEC_DIGITS);
    return 0;
}

static void dec_parse(Dec *x, const char *p, uint32_t n, uint32_t addr) {
    int e = dec_scan(x, p, n);
    if (e) rt_fail(e, addr);
    dec_fit(x, addr);
}

/* INPUT asks again for an answer that is no decimal. */
int rt_decimal_text_ok(const char *p, uint32_t n) {
    Dec x;
    return dec_scan(&x, p, n) == 0;
}

void rt_decimal_digits(const char *p, uint32_t len, RtDecDigits *out, uint32_t addr) {
    Dec x;
    dec_parse(&x, p, len, addr);
    out->neg = x.c.n ? x.neg : 0;
    out->n = x.c.n;
    out->point = x.c.n + x.exp;
    for (int i = 0; i < x.c.n; ++i) out->d[i] = x.c.d[x.c.n - 1 - i];
}

/* Text of a decimal: fixed notation while it stays short, else d.dddE+nn;
   no zero before the point, as the other numbers print. */
static int dec_format(const Dec *x, char *out) {
    int k = 0;
    if (x->c.n == 0) {
        out[0] = '0';
        return 1;
    }
    if (x->neg) out[k++] = '-';
    int n = x->c.n, point = n + x->exp; /* digits before the point */
    if (point > 40 || point < -20) {
        out[k++] = (char)('0' + x->c.d[n - 1]);
        if (n > 1) {
            out[k++] = '.';
            for (int i = n - 2; i >= 0; --i) out[k++] = (char)('0' + x->c.d[i]);
        }
        int e = point - 1;
        out[k++] = 'E';
        out[k++] = e < 0 ? '-' : '+';
        if (e < 0) e = -e;
        if (e >= 100) out[k++] = (char)('0' + e / 100);
        out[k++] = (char)('0' + e / 10 % 10);
        out[k++] = (char)('0' + e % 10);
        return k;
    }
    if (point <= 0) {
        out[k++] = '.';
        for (int i = point; i < 0; ++i) out[k++] = '0';
        for (int i = n - 1; i >= 0; --i) out[k++] = (char)('0' + x->c.d[i]);
        return k;
    }
    for (int i = n - 1, placed = 0; placed < point; --i, ++placed) out[k++] = i >= 0 ? (char)('0' + x->c.d[i]) : '0';
    if (point < n) {
        out[k++] = '.';
        for (int i = n - 1 - point; i >= 0; --i) out[k++] = (char)('0' + x->c.d[i]);
    }
    return k;
}

/* ---- storage -------------------------------------------------------------- */

/* A decimal's 15 bytes: sign, exponent (signed), digit count, the tag,
   then 22 digits packed two a byte, the most significant first. */
static int dec_is_var(const uint8_t *v) { return v[3] == DEC_TAG; }

static void dec_load(Dec *x, const uint8_t *v) {
    x->neg = 0;
    x->exp = 0;
    x->c.n = 0;
    if (!dec_is_var(v)) return; /* storage no DEF BCD ran for reads as 0 */
    int n = v[2] > DEC_DIGITS ? DEC_DIGITS : v[2];
    for (int i = 0; i < n; ++i) {
        uint8_t b = v[4 + i / 2];
        x->c.d[n - 1 - i] = (uint8_t)(i % 2 ? b & 0x0F : b >> 4);
    }
    x->c.n = n;
    x->neg = v[0] & 1;
    x->exp = (int8_t)v[1];
    dec_norm(x);
}

static void dec_store(uint8_t *v, const Dec *x) {
    memset(v, 0, 15);
    v[0] = (uint8_t)x->neg;
    v[1] = (uint8_t)(int8_t)x->exp;
    v[2] = (uint8_t)x->c.n;
    v[3] = DEC_TAG;
    for (int i = 0; i < x->c.n; ++i) {
        uint8_t digit = x->c.d[x->c.n - 1 - i];
        v[4 + i / 2] |= (uint8_t)(i % 2 ? digit : digit << 4);
    }
}

/* ---- the string stack ------------------------------------------------------ */

static void dec_pop(Dec *x, uint32_t addr) {
    RtStr s = rt_spop();
    dec_parse(x, s.p, s.len, addr);
    rt_sfree(s);
}

static void dec_push(Dec *x, uint32_t addr) {
    char text[TEXT_MAX];
    dec_fit(x, addr);
    rt_spush_copy(text, (uint32_t)dec_format(x, text));
    rt_stop_str()->kind = RT_KIND_DECIMAL;
}

/* ---- hooks of the string routines ---------------------------------------- */

int rt_var_is_decimal(const void *v) { return dec_is_var((const uint8_t *)v); }

void rt_decimal_push_var(const void *v) {
    Dec x;
    dec_load(&x, (const uint8_t *)v);
    dec_push(&x, RT_CALLER());
}

void rt_decimal_store(void *v, RtStr s, uint32_t addr) {
    Dec x;
    dec_parse(&x, s.p, s.len, addr);
    rt_sfree(s);
    dec_store((uint8_t *)v, &x);
}

/* Either one a decimal: compared as numbers, top against the one below. */
int rt_decimal_cmp(uint32_t addr) {
    Dec a, b;
    dec_pop(&a, addr);
    dec_pop(&b, addr);
    int sa = a.c.n == 0 ? 0 : a.neg ? -1 : 1, sb = b.c.n == 0 ? 0 : b.neg ? -1 : 1;
    if (sa != sb) return sa < sb ? -1 : 1;
    if (sa == 0) return 0;
    int ma = a.c.n + a.exp, mb = b.c.n + b.exp, r;
    if (ma != mb) {
        r = ma < mb ? -1 : 1;
    } else {
        int e = a.exp < b.exp ? a.exp : b.exp;
        big_shift(&a.c, a.exp - e, addr);
        big_shift(&b.c, b.exp - e, addr);
        r = big_cmp(&a.c, &b.c);
    }
    return sa < 0 ? -r : r;
}

/* ---- declarations ------------------------------------------------------- */

void RT_STDCALL rt_def_bcd(uint8_t *v) RT_NAME("_$PsDEF_BCD@4");
void RT_STDCALL rt_def_bcd(uint8_t *v) {
    Dec zero = {0, 0, {0, {0}}};
    dec_store(v, &zero);
}

/* A string of the length DEF LEN gives: its block is the runtime's, and
   the flag in the capacity word keeps stores inside it. */
static void rt_fix_init(RtDesc *d, int32_t len, uint32_t addr) {
    if (len < 1 || len > 32767) rt_fail(RT_E_ILLEGAL, addr);
    rt_desc_clear(d);
    d->p = rt_alloc((uint32_t)len);
    memset(d->p, ' ', (uint32_t)len);
    d->len = (uint32_t)len;
    d->cap = RT_FIXED_FLAG | rt_alloc_size(d->p);
}

void RT_STDCALL rt_def_len(RtDesc *d, int32_t len) RT_NAME("_$PsDEF_LEN@8");
void RT_STDCALL rt_def_len(RtDesc *d, int32_t len) { rt_fix_init(d, len, RT_CALLER()); }

/* The arrays: dimensioned as DIM does (the same block), then every
   element made a decimal 0, or a string of the length that follows the
   upper bounds in the block. */
void RT_STDCALL rt_dim(const uint32_t *block) RT_NAME("_$PsDIM@4");
uint8_t *rt_array_storage(const uint32_t *block, uint32_t *count);

void RT_STDCALL rt_def_bcd_ary(const uint32_t *block) RT_NAME("_$PsDEF_BCD_ARY@4");
void RT_STDCALL rt_def_bcd_ary(const uint32_t *block) {
    rt_dim(block);
    uint32_t n;
    uint8_t *p = rt_array_storage(block, &n);
    for (uint32_t i = 0; i < n; ++i) rt_def_bcd(p + 15 * i);
}

void RT_STDCALL rt_def_len_ary(const uint32_t *block, uint32_t word) RT_NAME("_$PsDEF_LEN_ARY@8");
void RT_STDCALL rt_def_len_ary(const uint32_t *block, uint32_t word) {
    uint32_t addr = RT_CALLER();
    int32_t len = (int32_t)block[4 + ((word >> 8) & 0xFF)];
    if (len < 1 || len > 32767) rt_fail(RT_E_ILLEGAL, addr);
    rt_dim(block);
    uint32_t n;
    RtDesc *d = (RtDesc *)rt_array_storage(block, &n);
    for (uint32_t i = 0; i < n; ++i) rt_fix_init(d + i, len, addr);
}

/* ---- assignment and operators --------------------------------------------- */

void RT_STDCALL rt_st_var_bcd(uint8_t *v) RT_NAME("_$PbStVarBcd@4");
void RT_STDCALL rt_st_var_bcd(uint8_t *v) { rt_decimal_store(v, rt_spop(), RT_CALLER()); }

static void dec_add(Dec *r, Dec *a, Dec *b, uint32_t addr) {
    if (a->c.n == 0) { *r = *b; return; }
    if (b->c.n == 0) { *r = *a; return; }
    int e = a->exp < b->exp ? a->exp : b->exp;
    /* A term far below the other's last kept digit only rounds it. */
    int top = (a->c.n + a->exp > b->c.n + b->exp ? a->c.n + a->exp : b->c.n + b->exp);
    if (top - e > BIG_CAP - 2) {
        Dec *big = a->c.n + a->exp > b->c.n + b->exp ? a : b;
        *r = *big;
        return;
    }
    big_shift(&a->c, a->exp - e, addr);
    big_shift(&b->c, b->exp - e, addr);
    r->exp = e;
    if (a->neg == b->neg) {
        big_add(&r->c, &a->c, &b->c, addr);
        r->neg = a->neg;
    } else if (big_cmp(&a->c, &b->c) >= 0) {
        big_sub(&r->c, &a->c, &b->c);
        r->neg = a->neg;
    } else {
        big_sub(&r->c, &b->c, &a->c);
        r->neg = b->neg;
    }
}

/* a / b truncated toward zero: to `sig` significant digits, or with
   sig 0 to the units (integral division). b 0 is division by zero. */
static void dec_div(Dec *q, Dec *a, Dec *b, int sig, uint32_t addr) {
    if (b->c.n == 0) rt_fail(RT_E_DIVZERO, addr);
    q->neg = a->neg != b->neg;
    if (a->c.n == 0) {
        q->c.n = 0;
        q->exp = 0;
        return;
    }
    /* Scale a so the quotient of the coefficients has `sig` digits (or,
       when sig < 0, reaches the units: an integral division). */
    int qexp = a->exp - b->exp;
    int shift;
    if (sig > 0) {
        shift = sig + b->c.n - a->c.n + 1;
        if (shift < 0) shift = 0;
    } else {
        shift = qexp < 0 ? 0 : qexp;
        if (qexp < 0) {
            /* drop the places below the units before dividing */
            int cut = -qexp;
            if (cut >= a->c.n + b->c.n + 2) {
                q->c.n = 0;
                q->exp = 0;
                return;
            }
            big_shift(&b->c, cut, addr);
            qexp = 0;
        }
    }
    big_shift(&a->c, shift, addr);
    big_divmod(&q->c, 0, &a->c, &b->c);
    q->exp = sig > 0 ? qexp - shift : 0;
}

static void dec_binary(uint8_t op, uint32_t addr) {
    Dec b, a, r;
    dec_pop(&b, addr);
    dec_pop(&a, addr);
    switch (op) {
    case '+':
        dec_add(&r, &a, &b, addr);
        break;
    case '-':
        b.neg = !b.neg;
        dec_add(&r, &a, &b, addr);
        break;
    case '*':
        big_mul(&r.c, &a.c, &b.c, addr);
        r.exp = a.exp + b.exp;
        r.neg = a.neg != b.neg;
        break;
    case '/':
        dec_div(&r, &a, &b, DEC_DIGITS + 1, addr);
        break;
    case '\\':
        dec_div(&r, &a, &b, 0, addr);
        break;
    case '%': {
        /* the remainder keeps the dividend's sign: a - b x (a \ b) */
        Dec a2 = a, b2 = b, q, m;
        dec_div(&q, &a2, &b2, 0, addr);
        big_mul(&m.c, &q.c, &b.c, addr);
        m.exp = q.exp + b.exp;
        m.neg = !(q.neg != b.neg);
        dec_add(&r, &a, &m, addr);
        break;
    }
    }
    dec_push(&r, addr);
}

void RT_STDCALL rt_bcd_add(void) RT_NAME("_$PbBcdAdd@0");
void RT_STDCALL rt_bcd_add(void) { dec_binary('+', RT_CALLER()); }
void RT_STDCALL rt_bcd_sub(void) RT_NAME("_$PbBcdSub@0");
void RT_STDCALL rt_bcd_sub(void) { dec_binary('-', RT_CALLER()); }
void RT_STDCALL rt_bcd_mul(void) RT_NAME("_$PbBcdMul@0");
void RT_STDCALL rt_bcd_mul(void) { dec_binary('*', RT_CALLER()); }
void RT_STDCALL rt_bcd_div(void) RT_NAME("_$PbBcdDiv@0");
void RT_STDCALL rt_bcd_div(void) { dec_binary('/', RT_CALLER()); }
void RT_STDCALL rt_bcd_idiv(void) RT_NAME("_$PbBcdIdiv@0");
void RT_STDCALL rt_bcd_idiv(void) { dec_binary('\\', RT_CALLER()); }
void RT_STDCALL rt_bcd_mod(void) RT_NAME("_$PbBcdMod@0");
void RT_STDCALL rt_bcd_mod(void) { dec_binary('%', RT_CALLER()); }

void RT_STDCALL rt_bcd_neg(void) RT_NAME("_$PbBcdNeg@0");
void RT_STDCALL rt_bcd_neg(void) {
    uint32_t addr = RT_CALLER();
    Dec x;
    dec_pop(&x, addr);
    x.neg = !x.neg;
    dec_push(&x, addr);
}

/* Powers: an integral exponent by repeated squaring, exact to 22 digits;
   a negative one through the reciprocal. Other exponents: error 5. */
void RT_STDCALL rt_bcd_pow(void) RT_NAME("_$PbBcdxy@0");
void RT_STDCALL rt_bcd_pow(void) {
    uint32_t addr = RT_CALLER();
    Dec e, base, r;
    dec_pop(&e, addr);
    dec_pop(&base, addr);
    int32_t k = 0;
    if (e.c.n) {
        if (e.exp < 0 || e.c.n + e.exp > 6) rt_fail(RT_E_ILLEGAL, addr);
        for (int i = e.c.n - 1; i >= 0; --i) k = k * 10 + e.c.d[i];
        for (int i = 0; i < e.exp; ++i) k *= 10;
    }
    r.neg = 0;
    r.exp = 0;
    r.c.n = 1;
    r.c.d[0] = 1;
    for (int32_t m = k; m > 0; m >>= 1) {
        if (m & 1) {
            Dec t;
            big_mul(&t.c, &r.c, &base.c, addr);
            t.exp = r.exp + base.exp;
            t.neg = r.neg != base.neg;
            r = t;
            dec_fit(&r, addr);
        }
        if (m > 1) {
            Dec t;
            big_mul(&t.c, &base.c, &base.c, addr);
            t.exp = 2 * base.exp;
            t.neg = 0;
            base = t;
            dec_fit(&base, addr);
        }
    }
    if (e.neg && e.c.n) {
        Dec one = {0, 0, {1, {1}}}, q;
        dec_div(&q, &one, &r, DEC_DIGITS + 1, addr);
        r = q;
    }
    dec_push(&r, addr);
}

/* A decimal passed by reference: a temporary of its own. */
uint32_t rt_temp_bytes(uint32_t addr); /* rt_string.c: 16 bytes, released as the others */

uint32_t RT_STDCALL rt_tmp_adr_bcd(void) RT_NAME("_$PbTmpAdrBcd@0");
uint32_t RT_STDCALL rt_tmp_adr_bcd(void) {
    uint32_t addr = RT_CALLER();
    uint8_t *v = (uint8_t *)rt_temp_bytes(addr);
    rt_decimal_store(v, rt_spop(), addr);
    return (uint32_t)v;
}

/* STR$ of a decimal: its text behind a sign place, as STR$ of a number. */
void RT_STDCALL rt_str_bcd(void) RT_NAME("_$PfSTR24Bcd@0");
void RT_STDCALL rt_str_bcd(void) {
    uint32_t addr = RT_CALLER();
    Dec x;
    char text[TEXT_MAX + 1];
    dec_pop(&x, addr);
    dec_fit(&x, addr);
    int n = dec_format(&x, text + 1);
    text[0] = ' ';
    if (text[1] == '-') rt_spush_copy(text + 1, (uint32_t)n);
    else rt_spush_copy(text, (uint32_t)n + 1);
}

/* A DEF LEN string passed by reference: a copy of its text in a temporary
   descriptor, as for a variable-length string. */
uint32_t rt_temp_text(uint32_t addr); /* rt_string.c */
uint32_t RT_STDCALL rt_tmp_adr_fix(void) RT_NAME("_$PbTmpAdrFix@0");
uint32_t RT_STDCALL rt_tmp_adr_fix(void) { return rt_temp_text(RT_CALLER()); }
