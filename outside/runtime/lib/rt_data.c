/* Arrays (element addresses, DIM, ERASE) and DATA/READ. */
#include "rt.h"

/* Array control record, 10 bytes, unaligned. */
typedef struct __attribute__((packed)) {
    uint8_t has_storage;
    uint8_t type;
    char *storage;
    uint8_t *bounds; /* {u8 n, n x u32 upper bound}; lower bounds are 0 */
} RtArray;

static uint32_t rt_get32(const uint8_t *p) {
    return (uint32_t)p[0] | (uint32_t)p[1] << 8 | (uint32_t)p[2] << 16 | (uint32_t)p[3] << 24;
}

static void rt_put32(uint8_t *p, uint32_t v) {
    p[0] = (uint8_t)v;
    p[1] = (uint8_t)(v >> 8);
    p[2] = (uint8_t)(v >> 16);
    p[3] = (uint8_t)(v >> 24);
}

/* The block: word (subscripts x 256 + type), element size, control record,
   bounds record, then the subscripts, the first one first. The first
   subscript varies fastest. */
static uint32_t rt_element(const uint32_t *block, uint32_t addr) {
    uint32_t nsub = (block[0] >> 8) & 0xFF;
    uint32_t size = block[1];
    RtArray *a = (RtArray *)block[2];
    const uint8_t *bounds = a->bounds ? a->bounds : (const uint8_t *)block[3];
    if (!a->has_storage || !bounds || bounds[0] != nsub) rt_fail(RT_E_SUBSCRIPT, addr);
    uint32_t index = 0, scale = 1;
    for (uint32_t i = 0; i < nsub; ++i) {
        int32_t sub = (int32_t)block[4 + i];
        uint32_t upper = rt_get32(bounds + 1 + 4 * i);
        if (sub < 0 || (uint32_t)sub > upper) rt_fail(RT_E_SUBSCRIPT, addr);
        index += (uint32_t)sub * scale;
        scale *= upper + 1;
    }
    return (uint32_t)(a->storage + index * size);
}

uint32_t RT_STDCALL rt_ary_var_adr(const uint32_t *block) RT_NAME("_$PbAryVarAdr@4");
uint32_t RT_STDCALL rt_ary_var_adr(const uint32_t *block) { return rt_element(block, RT_CALLER()); }

/* An array member of a record: the block holds the element size, the
   member's bounds record, the subscripts first to last, then the address of
   the member's first element (the record's address plus its offset). */
uint32_t RT_STDCALL rt_ary_member(const uint32_t *block) RT_NAME("_$PbAryMember@4");
uint32_t RT_STDCALL rt_ary_member(const uint32_t *block) {
    uint32_t size = block[0];
    const uint8_t *bounds = (const uint8_t *)block[1];
    if (!bounds) rt_fail(RT_E_SUBSCRIPT, RT_CALLER());
    uint32_t nsub = bounds[0], index = 0, scale = 1;
    for (uint32_t i = 0; i < nsub; ++i) {
        int32_t sub = (int32_t)block[2 + i];
        uint32_t upper = rt_get32(bounds + 1 + 4 * i);
        if (sub < 0 || (uint32_t)sub > upper) rt_fail(RT_E_SUBSCRIPT, RT_CALLER());
        index += (uint32_t)sub * scale;
        scale *= upper + 1;
    }
    return block[2 + nsub] + index * size;
}

uint32_t RT_STDCALL rt_ary_var_adr_bcd(const uint32_t *block) RT_NAME("_$PbAryVarAdrBcd@4");
uint32_t RT_STDCALL rt_ary_var_adr_bcd(const uint32_t *block) { return rt_element(block, RT_CALLER()); }
uint32_t RT_STDCALL rt_ary_var_adr_fix(const uint32_t *block) RT_NAME("_$PbAryVarAdrFix@4");
uint32_t RT_STDCALL rt_ary_var_adr_fix(const uint32_t *block) { return rt_element(block, RT_CALLER()); }

/* Arrays given storage at run time, released when the procedure whose
   activation made them ends (or by ERASE). */
typedef struct {
    RtArray *array;
    void *block;
} RtDynArray;

#define RT_DYN_ARRAYS 4096
static RtDynArray rt_dyn[RT_DYN_ARRAYS];
static uint32_t rt_ndyn;

uint32_t rt_array_count(void) { return rt_ndyn; }

static uint32_t rt_elements(const uint8_t *bounds) {
    uint32_t n = 1;
    for (uint32_t i = 0; i < bounds[0]; ++i) n *= rt_get32(bounds + 1 + 4 * i) + 1;
    return n;
}

static void rt_clear_strings(RtArray *a, uint32_t size) {
    if (a->type < 16 || a->type > 19 || size != sizeof(RtDesc)) return;
    uint32_t n = rt_elements(a->bounds);
    for (uint32_t i = 0; i < n; ++i) rt_desc_clear((RtDesc *)(a->storage + i * size));
}

static void rt_array_free(RtDynArray *d) {
    RtArray *a = d->array;
    if (a->storage && a->type >= 16 && a->type <= 19 && a->type != 18) rt_clear_strings(a, sizeof(RtDesc));
    rt_free(d->block);
    a->has_storage = 0;
    a->storage = 0;
    a->bounds = 0;
}

void rt_arrays_release(uint32_t from) {
    while (rt_ndyn > from) rt_array_free(&rt_dyn[--rt_ndyn]);
}

/* The block: word (type + 256 x bounds), element size, control record,
   bounds record, then the upper bounds, the first one first. An array that
   already has storage of the same shape keeps it (a module array with
   constant bounds is laid out by the compiler). */
void RT_STDCALL rt_dim(const uint32_t *block) RT_NAME("_$PsDIM@4");
void RT_STDCALL rt_dim(const uint32_t *block) {
    uint32_t type = block[0] & 0xFF, nb = (block[0] >> 8) & 0xFF;
    uint32_t size = block[1];
    RtArray *a = (RtArray *)block[2];
    if (nb == 0 || size == 0) rt_fail(RT_E_ILLEGAL, RT_CALLER());
    uint64_t total = size;
    for (uint32_t i = 0; i < nb; ++i) {
        int32_t ub = (int32_t)block[4 + i];
        if (ub < 0) rt_fail(RT_E_ILLEGAL, RT_CALLER());
        total *= (uint64_t)(uint32_t)ub + 1;
        if (total > (64u << 20)) rt_fail(RT_E_MEMORY, RT_CALLER());
    }
    if (a->has_storage) {
        const uint8_t *b = a->bounds ? a->bounds : (const uint8_t *)block[3];
        int same = b && b[0] == nb;
        for (uint32_t i = 0; same && i < nb; ++i) same = rt_get32(b + 1 + 4 * i) == block[4 + i];
        if (!same) rt_fail(RT_E_REDIM, RT_CALLER());
        a->bounds = (uint8_t *)b;
        return;
    }
    if (rt_ndyn == RT_DYN_ARRAYS) rt_fail(RT_E_MEMORY, RT_CALLER());
    uint32_t head = (1 + 4 * nb + 15) & ~15u;
    char *mem = rt_alloc(head + (uint32_t)total);
    memset(mem, 0, head + (uint32_t)total);
    uint8_t *bounds = (uint8_t *)mem;
    bounds[0] = (uint8_t)nb;
    for (uint32_t i = 0; i < nb; ++i) rt_put32(bounds + 1 + 4 * i, block[4 + i]);
    a->has_storage = 1;
    a->type = (uint8_t)type;
    a->storage = mem + head;
    a->bounds = bounds;
    rt_dyn[rt_ndyn].array = a;
    rt_dyn[rt_ndyn].block = mem;
    ++rt_ndyn;
}

/* After rt_dim: the storage of the block's array and its element count. */
uint8_t *rt_array_storage(const uint32_t *block, uint32_t *count) {
    RtArray *a = (RtArray *)block[2];
    const uint8_t *b = a->bounds ? a->bounds : (const uint8_t *)block[3];
    *count = rt_elements(b);
    return (uint8_t *)a->storage;
}

/* The block: count, then the control records' addresses. Storage made at
   run time is given back; a compiler-laid-out array is cleared. */
void RT_STDCALL rt_erase(const uint32_t *block) RT_NAME("_$PsERASE@4");
void RT_STDCALL rt_erase(const uint32_t *block) {
    for (uint32_t k = 1; k <= block[0]; ++k) {
        RtArray *a = (RtArray *)block[k];
        uint32_t i = rt_ndyn;
        while (i > 0 && rt_dyn[i - 1].array != a) --i;
        if (i > 0) {
            rt_array_free(&rt_dyn[i - 1]);
            rt_dyn[i - 1] = rt_dyn[--rt_ndyn];
        } else if (a->has_storage && a->bounds) {
            uint32_t n = rt_elements(a->bounds);
            uint32_t size = a->type == 0 ? 2 : a->type == 3 ? 8 : a->type == 4 ? 1 : a->type == 18 ? 15
                          : a->type >= 16 && a->type <= 19 ? 12 : 4;
            if (size == 12) rt_clear_strings(a, 12);
            memset(a->storage, 0, n * size);
        }
    }
}

/* ---- DATA and READ ----------------------------------------------------- */

/* DATA records: {u8 0, u16 source line, raw text}; the next record's 0
   byte ends the text, and a record with line 0 ends the items. */
uint32_t rt_readptr;

static int rt_next_item(const char **text, uint32_t *len, uint32_t addr) {
    const uint8_t *rec = (const uint8_t *)rt_readptr;
    if (!rec || (rec[1] | rec[2]) == 0) rt_fail(RT_E_DATA, addr);
    const char *p = (const char *)rec + 3;
    uint32_t n = 0;
    while (p[n]) ++n;
    rt_readptr = (uint32_t)(p + n);
    while (n && p[n - 1] == ' ') --n;
    while (n && *p == ' ') {
        ++p;
        --n;
    }
    *text = p;
    *len = n;
    return 1;
}

static void rt_store_number(uint32_t type, void *target, double v, uint32_t addr);

/* The block: count, then (address, type word) pairs, the first one first. */
void RT_STDCALL rt_read(const uint32_t *block);
void RT_STDCALL rt_read(const uint32_t *block) {
    uint32_t addr = RT_CALLER();
    for (uint32_t k = 0; k < block[0]; ++k) {
        void *target = (void *)block[1 + 2 * k];
        uint32_t type = block[2 + 2 * k] & 0xFF;
        const char *text;
        uint32_t len;
        rt_next_item(&text, &len, addr);
        int quoted = len >= 1 && text[0] == '"';
        if (type >= 16 && type <= 19) {
            if (quoted) {
                ++text;
                --len;
                if (len && text[len - 1] == '"') --len;
            }
            rt_spush_copy(text, len);
            rt_desc_assign((RtDesc *)target, rt_spop());
            continue;
        }
        uint32_t used = 0;
        double v = rt_parse_number(text, len, &used);
        if (quoted || (len && used != len)) rt_fail(RT_E_TYPE, addr);
        rt_store_number(type, target, v, addr);
    }
}

/* Nearest integer, halves to even, as the x87 unit stores. */
static int32_t rt_round(double v, double lo, double hi, uint32_t addr) {
    if (!(v >= lo - 0.5 && v <= hi + 0.5)) rt_fail(RT_E_OVERFLOW, addr);
    double f = v < 0 ? -v : v;
    int64_t i = (int64_t)f;
    double frac = f - (double)i;
    if (frac > 0.5 || (frac == 0.5 && (i & 1))) ++i;
    if (v < 0) i = -i;
    if ((double)i < lo || (double)i > hi) rt_fail(RT_E_OVERFLOW, addr);
    return (int32_t)i;
}

static void rt_store_number(uint32_t type, void *target, double v, uint32_t addr) {
    switch (type) {
    case 0: *(int16_t *)target = (int16_t)rt_round(v, -32768.0, 32767.0, addr); break;
    case 1:
    case 64: *(int32_t *)target = rt_round(v, -2147483648.0, 2147483647.0, addr); break;
    case 2: *(float *)target = (float)v; break;
    case 3: *(double *)target = v; break;
    case 4: *(uint8_t *)target = (uint8_t)rt_round(v, 0.0, 255.0, addr); break;
    default: rt_fail(RT_E_TYPE, addr);
    }
}

/* INPUT # stores its numbers as READ does. */
void rt_store_value(uint32_t type, void *target, double v, uint32_t addr) { rt_store_number(type, target, v, addr); }
