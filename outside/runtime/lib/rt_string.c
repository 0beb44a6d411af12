/* The string stack, string variables, temporaries and string functions. */
#include "rt.h"

#define RT_SSTACK 256
static RtStr rt_sstack[RT_SSTACK];
static uint32_t rt_ssp;

void rt_spush(char *p, uint32_t len, uint32_t cap) {
    if (rt_ssp == RT_SSTACK) rt_fail(RT_E_STRSPACE, RT_CALLER());
    RtStr *s = &rt_sstack[rt_ssp++];
    s->p = p;
    s->len = len;
    s->cap = cap;
    s->kind = RT_KIND_TEXT;
}

RtStr *rt_stop_str(void) { return rt_ssp ? &rt_sstack[rt_ssp - 1] : 0; }

void rt_spush_copy(const char *p, uint32_t len) {
    char *q = 0;
    uint32_t cap = 0;
    if (len) {
        q = rt_alloc(len);
        cap = rt_alloc_size(q);
        memcpy(q, p, len);
    }
    rt_spush(q, len, cap);
}

/* An error handler starts with an empty string stack: whatever the failed
   statement had pushed is dropped. */
void rt_sreset(void) {
    while (rt_ssp) rt_sfree(rt_sstack[--rt_ssp]);
}

RtStr rt_spop(void) {
    if (rt_ssp == 0) rt_fail(RT_E_STRSPACE, RT_CALLER());
    return rt_sstack[--rt_ssp];
}

void rt_sfree(RtStr s) {
    if (s.cap) rt_free(s.p);
}

/* Takes over s as the value of d: a block of its own is taken as it is
   (no copy, so a string built by appending stays linear), a borrowed text
   is copied when d's block holds it. */
void rt_desc_assign(RtDesc *d, RtStr s) {
    if (rt_var_is_decimal(d)) {
        rt_decimal_store(d, s, RT_CALLER());
        return;
    }
    if (d->cap & RT_FIXED_FLAG) {
        uint32_t n = s.len < d->len ? s.len : d->len;
        memmove(d->p, s.p, n);
        memset(d->p + n, ' ', d->len - n);
        rt_sfree(s);
        return;
    }
    if (!s.cap && d->cap && d->cap >= s.len && s.p != d->p) {
        memcpy(d->p, s.p, s.len);
        d->len = s.len;
        rt_sfree(s);
        return;
    }
    if (d->cap) rt_free(d->p);
    d->p = s.p;
    d->len = s.len;
    d->cap = s.cap;
}

void rt_desc_clear(RtDesc *d) {
    if (d->cap) rt_free(d->p);
    d->p = 0;
    d->len = 0;
    d->cap = 0;
}

/* ---- loads and stores -------------------------------------------------- */

void RT_STDCALL rt_fld_var5(RtDesc *d) RT_NAME("_$PbFldVar5@4");
void RT_STDCALL rt_fld_var5(RtDesc *d) {
    if (rt_var_is_decimal(d)) rt_decimal_push_var(d);
    else rt_spush_copy(d->p, d->len);
}

void RT_STDCALL rt_fld_varstr(const char *p, uint32_t len) RT_NAME("_$PbFldVarStr@8");
void RT_STDCALL rt_fld_varstr(const char *p, uint32_t len) { rt_spush_copy(p, len); }

/* Constants never change, so the stack entry refers to their text. */
void RT_STDCALL rt_fld_const(RtDesc *d) RT_NAME("_$PbFldConst@4");
void RT_STDCALL rt_fld_const(RtDesc *d) { rt_spush(d->p, d->len, 0); }

void RT_STDCALL rt_fld_null(void) RT_NAME("_$PbFldNull@0");
void RT_STDCALL rt_fld_null(void) { rt_spush(0, 0, 0); }

/* A FUNCTION's string result moves from its frame onto the stack. */
void RT_STDCALL rt_fld_func5(RtDesc *d) RT_NAME("_$PbFldFunc5@4");
void RT_STDCALL rt_fld_func5(RtDesc *d) {
    rt_spush(d->p, d->len, d->cap);
    d->p = 0;
    d->len = 0;
    d->cap = 0;
}

void RT_STDCALL rt_st_var5(RtDesc *d) RT_NAME("_$PbStVar5@4");
void RT_STDCALL rt_st_var5(RtDesc *d) { rt_desc_assign(d, rt_spop()); }

static void rt_store_fixed(char *p, uint32_t len, int right) {
    RtStr s = rt_spop();
    uint32_t n = s.len < len ? s.len : len;
    if (right) {
        memset(p, ' ', len - n);
        memcpy(p + len - n, s.p, n);
    } else {
        memcpy(p, s.p, n);
        memset(p + n, ' ', len - n);
    }
    rt_sfree(s);
}

void RT_STDCALL rt_st_varstr(char *p, uint32_t len) RT_NAME("_$PbStVarStr@8");
void RT_STDCALL rt_st_varstr(char *p, uint32_t len) { rt_store_fixed(p, len, 0); }
void RT_STDCALL rt_st_varstr_r(char *p, uint32_t len) RT_NAME("_$PbStVarStrR@8");
void RT_STDCALL rt_st_varstr_r(char *p, uint32_t len) { rt_store_fixed(p, len, 1); }

void RT_STDCALL rt_set_var5(RtDesc *target, RtDesc *constant) RT_NAME("_$PbSetVar5@8");
void RT_STDCALL rt_set_var5(RtDesc *target, RtDesc *constant) {
    rt_spush_copy(constant->p, constant->len);
    rt_desc_assign(target, rt_spop());
}

void RT_STDCALL rt_set_var_null(RtDesc *target) RT_NAME("_$PbSetVarNull@4");
void RT_STDCALL rt_set_var_null(RtDesc *target) { target->len = 0; }

void RT_STDCALL rt_mov_var5(RtDesc *target, RtDesc *source) RT_NAME("_$PbMovVar5@8");
void RT_STDCALL rt_mov_var5(RtDesc *target, RtDesc *source) {
    if (target == source) return;
    rt_fld_var5(source);
    rt_desc_assign(target, rt_spop());
}

void RT_STDCALL rt_lset(RtDesc *target) RT_NAME("_$PsLSET@4");
void RT_STDCALL rt_lset(RtDesc *target) {
    RtStr s = rt_spop();
    uint32_t n = s.len < target->len ? s.len : target->len;
    memcpy(target->p, s.p, n);
    memset(target->p + n, ' ', target->len - n);
    rt_sfree(s);
}

void RT_STDCALL rt_rset(RtDesc *target) RT_NAME("_$PsRSET@4");
void RT_STDCALL rt_rset(RtDesc *target) {
    RtStr s = rt_spop();
    uint32_t n = s.len < target->len ? s.len : target->len;
    memset(target->p, ' ', target->len - n);
    memcpy(target->p + target->len - n, s.p, n);
    rt_sfree(s);
}

/* ---- joins and comparison --------------------------------------------- */

void RT_STDCALL rt_add5(void) RT_NAME("_$PbAdd5@0");
void RT_STDCALL rt_add5(void) {
    RtStr b = rt_spop();
    RtStr a = rt_spop();
    uint32_t len = a.len + b.len;
    if (len < a.len) rt_fail(RT_E_STRSPACE, RT_CALLER());
    if (a.cap >= len) {
        memcpy(a.p + a.len, b.p, b.len);
        rt_spush(a.p, len, a.cap);
    } else {
        char *p = rt_alloc(len < 16 ? 16 : len + len / 2);
        uint32_t cap = rt_alloc_size(p);
        memcpy(p, a.p, a.len);
        memcpy(p + a.len, b.p, b.len);
        rt_sfree(a);
        rt_spush(p, len, cap);
    }
    rt_sfree(b);
}

/* Top against the one below: -1 when the top is less. Bytes compare
   unsigned, so double-byte characters sort after ASCII. */
int rt_cmp5(void) {
    if (rt_ssp >= 2 && (rt_sstack[rt_ssp - 1].kind | rt_sstack[rt_ssp - 2].kind) == RT_KIND_DECIMAL)
        return rt_decimal_cmp(RT_CALLER());
    RtStr top = rt_spop();
    RtStr below = rt_spop();
    uint32_t n = top.len < below.len ? top.len : below.len;
    int r = 0;
    for (uint32_t i = 0; i < n && !r; ++i) {
        unsigned char x = (unsigned char)top.p[i], y = (unsigned char)below.p[i];
        r = x < y ? -1 : x > y ? 1 : 0;
    }
    if (!r) r = top.len < below.len ? -1 : top.len > below.len ? 1 : 0;
    rt_sfree(top);
    rt_sfree(below);
    return r;
}

/* ---- temporaries ------------------------------------------------------- */

/* A temporary is a descriptor or a value whose address is passed by
   reference; a fixed-length string's temporary is written back to the
   string when it is released. */
typedef struct {
    union {
        RtDesc desc;
        double d;
        uint32_t w;
        uint8_t bytes[16]; /* a decimal's 15 */
    } u;
    char *back;
    uint32_t back_len;
    uint32_t is_string;
} RtTemp;

#define RT_TEMPS 1024
static RtTemp rt_temps[RT_TEMPS];
static uint32_t rt_ntemps;

static RtTemp *rt_temp_new(uint32_t addr) {
    if (rt_ntemps == RT_TEMPS) rt_fail(RT_E_MEMORY, addr);
    RtTemp *t = &rt_temps[rt_ntemps++];
    memset(t, 0, sizeof *t);
    return t;
}

static uint32_t rt_temp_string(uint32_t addr) {
    RtTemp *t = rt_temp_new(addr);
    RtStr s = rt_spop();
    if (!s.cap && s.len) { /* a constant's text: the callee may change it */
        rt_spush_copy(s.p, s.len);
        s = rt_spop();
    }
    t->is_string = 1;
    t->u.desc.p = s.p;
    t->u.desc.len = s.len;
    t->u.desc.cap = s.cap;
    return (uint32_t)&t->u.desc;
}

uint32_t RT_STDCALL rt_byval_str(void) RT_NAME("_$PbByvalStr@0");
uint32_t RT_STDCALL rt_byval_str(void) { return rt_temp_string(RT_CALLER()); }
uint32_t RT_STDCALL rt_tmp_adr5(void) RT_NAME("_$PbTmpAdr5@0");
uint32_t RT_STDCALL rt_tmp_adr5(void) { return rt_temp_string(RT_CALLER()); }

uint32_t RT_STDCALL rt_tmp_adr_str(char *p, uint32_t len) RT_NAME("_$PbTmpAdrStr@8");
uint32_t RT_STDCALL rt_tmp_adr_str(char *p, uint32_t len) {
    rt_spush_copy(p, len);
    uint32_t a = rt_temp_string(RT_CALLER());
    RtTemp *t = &rt_temps[rt_ntemps - 1];
    t->back = p;
    t->back_len = len;
    return a;
}

static uint32_t rt_temp_word(uint32_t v, uint32_t addr) {
    RtTemp *t = rt_temp_new(addr);
    t->u.w = v;
    return (uint32_t)&t->u.w;
}

uint32_t RT_STDCALL rt_tmp_adr1(uint32_t v) RT_NAME("_$PbTmpAdr1@4");
uint32_t RT_STDCALL rt_tmp_adr1(uint32_t v) { return rt_temp_word(v & 0xFF, RT_CALLER()); }
uint32_t RT_STDCALL rt_tmp_adr2(uint32_t v) RT_NAME("_$PbTmpAdr2@4");
uint32_t RT_STDCALL rt_tmp_adr2(uint32_t v) { return rt_temp_word(v, RT_CALLER()); }
uint32_t RT_STDCALL rt_tmp_adr6(uint32_t v) RT_NAME("_$PbTmpAdr6@4");
uint32_t RT_STDCALL rt_tmp_adr6(uint32_t v) { return rt_temp_word(v, RT_CALLER()); }
uint32_t RT_STDCALL rt_tmp_adr4(uint32_t v) RT_NAME("_$PbTmpAdr4@4");
uint32_t RT_STDCALL rt_tmp_adr4(uint32_t v) { return rt_temp_word(v, RT_CALLER()); }

/* Bytes for a decimal temporary (rt_bcd.c), released like the others. */
uint32_t rt_temp_bytes(uint32_t addr) { return (uint32_t)rt_temp_new(addr)->u.bytes; }
/* A string temporary of the top of the string stack (rt_bcd.c). */
uint32_t rt_temp_text(uint32_t addr) { return rt_temp_string(addr); }

/* _$PbTmpAdr8@0 (rt_x87.S) stores ST0 through this. */
uint32_t rt_tmp_adr8(double v, uint32_t addr) {
    RtTemp *t = rt_temp_new(addr);
    t->u.d = v;
    return (uint32_t)&t->u.d;
}

int rt_temp_is_open(uint32_t address) {
    for (uint32_t i = 0; i < rt_ntemps; ++i)
        if ((uint32_t)&rt_temps[i].u == address) return 1;
    return 0;
}

void RT_STDCALL rt_del_tmp(uint32_t count) RT_NAME("_$PbDelTmpAdr@4");
void RT_STDCALL rt_del_tmp(uint32_t count) { rt_del_tmp_n(count, RT_CALLER()); }

void rt_del_tmp_n(uint32_t count, uint32_t addr) {
    if (count > rt_ntemps) rt_fail(RT_E_ILLEGAL, addr);
    while (count--) {
        RtTemp *t = &rt_temps[--rt_ntemps];
        if (!t->is_string) continue;
        if (t->back) {
            uint32_t n = t->u.desc.len < t->back_len ? t->u.desc.len : t->back_len;
            memcpy(t->back, t->u.desc.p, n);
            memset(t->back + n, ' ', t->back_len - n);
        }
        rt_desc_clear(&t->u.desc);
    }
}

/* ---- string functions -------------------------------------------------- */

static void rt_push_sub(RtStr s, uint32_t start, uint32_t n) {
    rt_spush_copy(s.p + start, n);
    rt_sfree(s);
}

void RT_STDCALL rt_left(int32_t n) RT_NAME("_$PfLEFT24@4");
void RT_STDCALL rt_left(int32_t n) {
    if (n < 0) rt_fail(RT_E_ILLEGAL, RT_CALLER());
    RtStr s = rt_spop();
    rt_push_sub(s, 0, (uint32_t)n < s.len ? (uint32_t)n : s.len);
}

void RT_STDCALL rt_right(int32_t n) RT_NAME("_$PfRIGHT24@4");
void RT_STDCALL rt_right(int32_t n) {
    if (n < 0) rt_fail(RT_E_ILLEGAL, RT_CALLER());
    RtStr s = rt_spop();
    uint32_t k = (uint32_t)n < s.len ? (uint32_t)n : s.len;
    rt_push_sub(s, s.len - k, k);
}

void RT_STDCALL rt_mid(int32_t start, int32_t n) RT_NAME("_$PfMID24@8");
void RT_STDCALL rt_mid(int32_t start, int32_t n) {
    if (start < 1 || n < 0) rt_fail(RT_E_ILLEGAL, RT_CALLER());
    RtStr s = rt_spop();
    uint32_t from = (uint32_t)start - 1;
    if (from >= s.len) {
        rt_push_sub(s, 0, 0);
        return;
    }
    uint32_t rest = s.len - from;
    rt_push_sub(s, from, (uint32_t)n < rest ? (uint32_t)n : rest);
}

int32_t RT_STDCALL rt_len(void) RT_NAME("_$PfLEN@0");
int32_t RT_STDCALL rt_len(void) {
    RtStr s = rt_spop();
    rt_sfree(s);
    return (int32_t)s.len;
}

int32_t RT_STDCALL rt_asc(void) RT_NAME("_$PfASC@0");
int32_t RT_STDCALL rt_asc(void) {
    RtStr s = rt_spop();
    if (!s.len) rt_fail(RT_E_ILLEGAL, RT_CALLER());
    int32_t c = (unsigned char)s.p[0];
    rt_sfree(s);
    return c;
}

/* The block holds the count and above it the codes, the last one first. */
void RT_STDCALL rt_chr(const int32_t *block) RT_NAME("_$PfCHR24@4");
void RT_STDCALL rt_chr(const int32_t *block) {
    uint32_t n = (uint32_t)block[0];
    char *p = n ? rt_alloc(n) : 0;
    for (uint32_t i = 0; i < n; ++i) {
        int32_t c = block[n - i];
        if (c < 0 || c > 255) rt_fail(RT_E_ILLEGAL, RT_CALLER());
        p[i] = (char)c;
    }
    rt_spush(p, n, n);
}

/* INSTR(start, s, t): the arguments come last to first, so the searched
   string s is on top and the sought one t below it. */
int32_t RT_STDCALL rt_instr(int32_t start) RT_NAME("_$PfINSTR@4");
int32_t RT_STDCALL rt_instr(int32_t start) {
    RtStr s = rt_spop();
    RtStr t = rt_spop();
    int32_t r = 0;
    if (start < 1) rt_fail(RT_E_ILLEGAL, RT_CALLER());
    for (uint32_t i = (uint32_t)start - 1; i + t.len <= s.len && !r; ++i) {
        uint32_t k = 0;
        while (k < t.len && s.p[i + k] == t.p[k]) ++k;
        if (k == t.len) r = (int32_t)i + 1;
    }
    if (!t.len && (uint32_t)start > s.len) r = 0;
    rt_sfree(t);
    rt_sfree(s);
    return r;
}

static void rt_push_fill(int32_t n, char c, uint32_t addr) {
    if (n < 0) rt_fail(RT_E_ILLEGAL, addr);
    char *p = n ? rt_alloc((uint32_t)n) : 0;
    memset(p, c, (uint32_t)n);
    rt_spush(p, (uint32_t)n, (uint32_t)n);
}

void RT_STDCALL rt_space(int32_t n) RT_NAME("_$PfSPACE24@4");
void RT_STDCALL rt_space(int32_t n) { rt_push_fill(n, ' ', RT_CALLER()); }

void RT_STDCALL rt_string_s(int32_t n) RT_NAME("_$PfSTRING24@4");
void RT_STDCALL rt_string_s(int32_t n) {
    RtStr s = rt_spop();
    if (!s.len) rt_fail(RT_E_ILLEGAL, RT_CALLER());
    char c = s.p[0];
    rt_sfree(s);
    rt_push_fill(n, c, RT_CALLER());
}

void RT_STDCALL rt_string_c(int32_t n, int32_t code) RT_NAME("_$PfSTRING24C@8");
void RT_STDCALL rt_string_c(int32_t n, int32_t code) {
    if (code < 0 || code > 255) rt_fail(RT_E_ILLEGAL, RT_CALLER());
    rt_push_fill(n, (char)code, RT_CALLER());
}

/* SPC and TAB stand as PRINT items and give the blanks to print. */
void RT_STDCALL rt_spc(int32_t n) RT_NAME("_$PfSPC@4");
void RT_STDCALL rt_spc(int32_t n) { rt_push_fill(n < 0 ? 0 : n, ' ', RT_CALLER()); }

void RT_STDCALL rt_tab(int32_t n) RT_NAME("_$PfTAB@4");
void RT_STDCALL rt_tab(int32_t n) {
    int32_t col = (int32_t)rt_column + 1;
    rt_push_fill(n > col ? n - col : 0, ' ', RT_CALLER());
}

/* Case mapping leaves the second byte of a double-byte character alone. */
static void rt_map_case(int upper) {
    RtStr s = rt_spop();
    rt_spush_copy(s.p, s.len);
    rt_sfree(s);
    RtStr *r = &rt_sstack[rt_ssp - 1];
    rt_sjis_map_case(r->p, r->len, upper);
}

void RT_STDCALL rt_ucase(void) RT_NAME("_$PfUCASE24@0");
void RT_STDCALL rt_ucase(void) { rt_map_case(1); }
void RT_STDCALL rt_lcase(void) RT_NAME("_$PfLCASE24@0");
void RT_STDCALL rt_lcase(void) { rt_map_case(0); }

static void rt_trim(int left, int right) {
    RtStr s = rt_spop();
    uint32_t a = 0, b = s.len;
    while (left && a < b && s.p[a] == ' ') ++a;
    while (right && b > a && s.p[b - 1] == ' ') --b;
    rt_push_sub(s, a, b - a);
}

void RT_STDCALL rt_ltrim(void) RT_NAME("_$PfLTRIM24@0");
void RT_STDCALL rt_ltrim(void) { rt_trim(1, 0); }
void RT_STDCALL rt_rtrim(void) RT_NAME("_$PfRTRIM24@0");
void RT_STDCALL rt_rtrim(void) { rt_trim(0, 1); }
void RT_STDCALL rt_trim_both(void) RT_NAME("_$PfTRIM24@0");
void RT_STDCALL rt_trim_both(void) { rt_trim(1, 1); }

static void rt_radix(uint32_t v, unsigned shift) {
    char buf[32];
    int n = 0;
    do {
        buf[n++] = "0123456789ABCDEF"[v & ((1u << shift) - 1)];
        v >>= shift;
    } while (v);
    char out[32];
    for (int i = 0; i < n; ++i) out[i] = buf[n - 1 - i];
    rt_spush_copy(out, (uint32_t)n);
}

void RT_STDCALL rt_hex(uint32_t v) RT_NAME("_$PfHEX24@4");
void RT_STDCALL rt_hex(uint32_t v) { rt_radix(v, 4); }

void RT_STDCALL rt_oct(uint32_t v) RT_NAME("_$PfOCT24@4");
void RT_STDCALL rt_oct(uint32_t v) {
    char buf[16], out[16];
    int n = 0;
    do {
        buf[n++] = (char)('0' + (v & 7));
        v >>= 3;
    } while (v);
    for (int i = 0; i < n; ++i) out[i] = buf[n - 1 - i];
    rt_spush_copy(out, (uint32_t)n);
}

/* SWAP: the element size decides how many bytes trade places. */
void RT_STDCALL rt_swap(uint32_t size, char *a, char *b) RT_NAME("_$PsSWAP@12");
void RT_STDCALL rt_swap(uint32_t size, char *a, char *b) {
    for (uint32_t i = 0; i < size; ++i) {
        char t = a[i];
        a[i] = b[i];
        b[i] = t;
    }
}

void RT_STDCALL rt_swap5(RtDesc *a, RtDesc *b) RT_NAME("_$PsSWAP5@8");
void RT_STDCALL rt_swap5(RtDesc *a, RtDesc *b) {
    if (rt_var_is_decimal(a) || rt_var_is_decimal(b) || ((a->cap | b->cap) & RT_FIXED_FLAG)) {
        /* decimals (15 bytes) and DEF LEN strings keep their own storage:
           the values change places */
        rt_fld_var5(a);
        rt_fld_var5(b);
        rt_desc_assign(a, rt_spop());
        rt_desc_assign(b, rt_spop());
        return;
    }
    RtDesc t = *a;
    *a = *b;
    *b = t;
}

/* ---- double-byte aware functions --------------------------------------- */

void RT_STDCALL rt_kleft(int32_t n) RT_NAME("_$PfKLEFT24@4");
void RT_STDCALL rt_kleft(int32_t n) {
    if (n < 0) rt_fail(RT_E_ILLEGAL, RT_CALLER());
    RtStr s = rt_spop();
    rt_push_sub(s, 0, rt_sjis_offset(s.p, s.len, (uint32_t)n));
}

void RT_STDCALL rt_kright(int32_t n) RT_NAME("_$PfKRIGHT24@4");
void RT_STDCALL rt_kright(int32_t n) {
    if (n < 0) rt_fail(RT_E_ILLEGAL, RT_CALLER());
    RtStr s = rt_spop();
    uint32_t count = rt_sjis_count(s.p, s.len);
    uint32_t from = (uint32_t)n >= count ? 0 : rt_sjis_offset(s.p, s.len, count - (uint32_t)n);
    rt_push_sub(s, from, s.len - from);
}

void RT_STDCALL rt_kmid(int32_t start, int32_t n) RT_NAME("_$PfKMID24@8");
void RT_STDCALL rt_kmid(int32_t start, int32_t n) {
    if (start < 1 || n < 0) rt_fail(RT_E_ILLEGAL, RT_CALLER());
    RtStr s = rt_spop();
    uint32_t from = rt_sjis_offset(s.p, s.len, (uint32_t)start - 1);
    rt_push_sub(s, from, rt_sjis_offset(s.p + from, s.len - from, (uint32_t)n));
}

/* ---- numbers as bytes -------------------------------------------------- */

void RT_STDCALL rt_mki(uint32_t v) RT_NAME("_$PfMKI24@4");
void RT_STDCALL rt_mki(uint32_t v) { rt_spush_copy((const char *)&v, 2); }
void RT_STDCALL rt_mkl(uint32_t v) RT_NAME("_$PfMKL24@4");
void RT_STDCALL rt_mkl(uint32_t v) { rt_spush_copy((const char *)&v, 4); }
void RT_STDCALL rt_mks(uint32_t v) RT_NAME("_$PfMKS24@4");
void RT_STDCALL rt_mks(uint32_t v) { rt_spush_copy((const char *)&v, 4); }
/* _$PfMKD24@0 (rt_x87.S) stores ST0 and passes its bytes. */
void rt_mkd(const char *bytes) { rt_spush_copy(bytes, 8); }

/* The first bytes of the top string; a shorter string is an error. */
void rt_cv_bytes(void *out, uint32_t n, uint32_t addr) {
    RtStr s = rt_spop();
    if (s.len < n) rt_fail(RT_E_ILLEGAL, addr);
    memcpy(out, s.p, n);
    rt_sfree(s);
}

int32_t RT_STDCALL rt_cvi(void) RT_NAME("_$PfCVI@0");
int32_t RT_STDCALL rt_cvi(void) {
    int16_t v;
    rt_cv_bytes(&v, 2, RT_CALLER());
    return v;
}
int32_t RT_STDCALL rt_cvl(void) RT_NAME("_$PfCVL@0");
int32_t RT_STDCALL rt_cvl(void) {
    int32_t v;
    rt_cv_bytes(&v, 4, RT_CALLER());
    return v;
}

/* ---- console position and raised errors -------------------------------- */

int32_t RT_STDCALL rt_pos(uint32_t window, int32_t n) RT_NAME("_$PfPOS@8");
int32_t RT_STDCALL rt_pos(uint32_t window, int32_t n) {
    (void)window;
    (void)n;
    return (int32_t)rt_column + 1;
}

void RT_STDCALL rt_error_stmt(int32_t code) RT_NAME("_$PsERROR@4");
void RT_STDCALL rt_error_stmt(int32_t code) {
    if (code < 1 || code > 255) rt_fail(RT_E_ILLEGAL, RT_CALLER());
    rt_fail(code, RT_CALLER());
}
