/* Module images the program loads at run time and the module routines.
   A module image is a BASIC module built as a DLL: DLL calls load it by
   name the first time ($PbCallDll), LOADM loads it and DELETEM lets it go;
   CALLM calls one of its routines. CALLS calls a module routine (a module
   with PARAM) of the program or of a loaded module with a typed reference
   list, which the routine's checked entry fits to its parameters
   ($PbTypeCheck). The register-interface halves are in rt_modcall.S. */
#include "rt.h"

#define RT_MODULES 16
#define RT_MODNAME 260
#define RT_PARAMS 64
#define RT_CHECK_DEPTH 256

typedef struct {
    void *handle; /* 0: a free entry */
    uint32_t len;
    char name[RT_MODNAME];
} RtModule;

static RtModule rt_modules[RT_MODULES];

static int rt_same_name(const char *a, uint32_t an, const char *b, uint32_t bn) {
    if (an != bn) return 0;
    for (uint32_t i = 0; i < an; ++i) {
        char x = a[i], y = b[i];
        if (x >= 'a' && x <= 'z') x = (char)(x - 32);
        if (y >= 'a' && y <= 'z') y = (char)(y - 32);
        if (x != y) return 0;
    }
    return 1;
}

static RtModule *rt_module_find(const char *name, uint32_t len) {
    for (int i = 0; i < RT_MODULES; ++i)
        if (rt_modules[i].handle && rt_same_name(rt_modules[i].name, rt_modules[i].len, name, len))
            return &rt_modules[i];
    return 0;
}

/* The module of that name, loaded (and its entry run) the first time. */
static RtModule *rt_module_load(const char *name, uint32_t len, uint32_t addr) {
    RtModule *m = rt_module_find(name, len);
    if (m) return m;
    if (len == 0 || len >= RT_MODNAME) rt_fail(RT_E_NOTFOUND, addr);
    for (int i = 0; i < RT_MODULES && !m; ++i)
        if (!rt_modules[i].handle) m = &rt_modules[i];
    if (!m) rt_fail(RT_E_MANYFILES, addr);
    memcpy(m->name, name, len);
    m->name[len] = 0;
    int32_t r = rt_host_load(m->name, &m->handle);
    if (r < 0) rt_fail(-r, addr);
    m->len = len;
    return m;
}

/* A routine's address by name in a module (handle 0: the program). */
static uint32_t rt_module_routine(void *handle, const char *name, uint32_t len) {
    char z[RT_MODNAME];
    if (len == 0 || len >= RT_MODNAME) return 0;
    memcpy(z, name, len);
    z[len] = 0;
    return (uint32_t)rt_host_proc(handle, z);
}

/* $PbCallDll: the routine of a DLL, by the string-constant records of the
   DLL's and the routine's names. */
uint32_t rt_dll_resolve(const RtDesc *dll, const RtDesc *routine, uint32_t addr) {
    rt_flush();
    RtModule *m = rt_module_load(dll->p, dll->len, addr);
    uint32_t a = rt_module_routine(m->handle, routine->p, routine->len);
    if (!a) rt_fail(RT_E_NOROUTINE, addr);
    return a;
}

void RT_STDCALL rt_loadm(void) RT_NAME("_$PsLOADM@0");
void RT_STDCALL rt_loadm(void) {
    RtStr s = rt_spop();
    rt_module_load(s.p, s.len, RT_CALLER());
    rt_sfree(s);
}

/* DELETEM of a module that is not loaded: error 5. */
void RT_STDCALL rt_deletem(void) RT_NAME("_$PsDELETEM@0");
void RT_STDCALL rt_deletem(void) {
    RtStr s = rt_spop();
    RtModule *m = rt_module_find(s.p, s.len);
    rt_sfree(s);
    if (!m) rt_fail(RT_E_ILLEGAL, RT_CALLER());
    rt_host_free(m->handle);
    m->handle = 0;
}

/* $PsCALLM: the routine (top of the string stack) of a module LOADM
   loaded (below it); a module not loaded is error 5. */
uint32_t rt_callm_resolve(uint32_t addr) {
    rt_flush();
    RtStr routine = rt_spop(), module = rt_spop();
    RtModule *m = rt_module_find(module.p, module.len);
    uint32_t a = m ? rt_module_routine(m->handle, routine.p, routine.len) : 0;
    rt_sfree(routine);
    rt_sfree(module);
    if (!m) rt_fail(RT_E_ILLEGAL, addr);
    if (!a) rt_fail(RT_E_NOROUTINE, addr);
    return a;
}

/* _$PsCALLS@0: the module routine named on the string stack, in the
   program or else in a loaded module. *temps receives how many items of
   the list are temporaries still open, for _$PbDelTmpAdrPcb@0. */
uint32_t rt_calls_resolve(const uint32_t *list, uint32_t addr, uint32_t *temps) {
    rt_flush();
    RtStr s = rt_spop();
    /* a module routine's name is its file's, upper-cased (the text may be
       a constant's, so the copy is changed) */
    char name[RT_MODNAME];
    uint32_t len = s.len < RT_MODNAME ? s.len : 0;
    memcpy(name, s.p, len);
    rt_sfree(s);
    for (uint32_t i = 0; i < len; ++i)
        if (rt_is_lead((unsigned char)name[i])) ++i;
        else if (name[i] >= 'a' && name[i] <= 'z') name[i] = (char)(name[i] - 32);
    uint32_t a = rt_module_routine(0, name, len);
    for (int i = 0; i < RT_MODULES && !a; ++i)
        if (rt_modules[i].handle) a = rt_module_routine(rt_modules[i].handle, name, len);
    if (!a) rt_fail(RT_E_NOROUTINE, addr);
    uint32_t m = list[0], n = 0;
    if (m > RT_PARAMS) rt_fail(RT_E_ILLEGAL, addr);
    for (uint32_t j = 0; j < m; ++j)
        if (list[2 * m - 2 * j] != RT_REF_OMITTED && rt_temp_is_open(list[2 * m - 2 * j - 1])) ++n;
    *temps = n;
    return a;
}

static uint32_t rt_pcb_temps;
void rt_calls_done(uint32_t temps) { rt_pcb_temps = temps; }

void RT_STDCALL rt_del_tmp_pcb(void) RT_NAME("_$PbDelTmpAdrPcb@0");
void RT_STDCALL rt_del_tmp_pcb(void) {
    uint32_t n = rt_pcb_temps;
    rt_pcb_temps = 0;
    rt_del_tmp_n(n, RT_CALLER());
}

/* ---- the checked entry and RETURNS -------------------------------------- */

/* What a checked entry made for its defaults, given back by RETURNS: the
   parameter count, then per parameter its word and 12 bytes of value. */
typedef struct {
    uint32_t word;
    union { RtDesc desc; double d; uint32_t w; } v;
} RtDefault;

static void *rt_checks[RT_CHECK_DEPTH];
static uint32_t rt_check_depth;

static int32_t rt_round_long(double v, uint32_t addr) {
    if (!(v > -2147483648.5 && v < 2147483647.5)) rt_fail(RT_E_OVERFLOW, addr);
    int32_t r;
    __asm__("fistpl %0" : "=m"(r) : "t"(v) : "st");
    return r;
}

/* A double temporary of the caller becomes a value of the parameter's
   type in the same place (a by-reference parameter then reads its type). */
static void rt_fit_double(uint32_t type, void *p, uint32_t addr) {
    double v = *(double *)p;
    int32_t r;
    switch (type) {
    case 0:
        r = rt_round_long(v, addr);
        if (r < -32768 || r > 32767) rt_fail(RT_E_OVERFLOW, addr);
        *(int16_t *)p = (int16_t)r;
        break;
    case 1: *(int32_t *)p = rt_round_long(v, addr); break;
    case 2: *(float *)p = (float)v; break;
    case 3: break;
    case 4:
        r = rt_round_long(v, addr);
        if (r < 0 || r > 255) rt_fail(RT_E_OVERFLOW, addr);
        *(uint8_t *)p = (uint8_t)r;
        break;
    default: rt_fail(RT_E_TYPE, addr);
    }
}

/* $PbTypeCheck. At P: the count n, then per parameter, last first, its
   default (value, or the address of a double or a string constant) and
   its word; above them the entry's return address and the n argument
   slots, parameter i at the (n - i)-th. Called by CALLS (magic in ECX,
   the typed reference list in EDX), the arguments are fitted: each
   reference must have the parameter's type (a number computed by the
   caller takes the parameter's numeric type), an argument left out or
   missing takes the default (none: error 5), one too many is error 5, a
   type that does not fit error 13. Called any other way, the slots are
   taken as they are. */
void rt_type_check(uint32_t *P, uint32_t magic, const uint32_t *list, uint32_t addr) {
    uint32_t n = P[0];
    uint32_t *slot = P + 2 * n + 1;
    RtDefault *made = 0;
    if (rt_check_depth == RT_CHECK_DEPTH) rt_fail(RT_E_STACK, addr);
    if (magic == RT_CALLS_MAGIC) {
        uint32_t m = list[0];
        if (m > n) rt_fail(RT_E_ILLEGAL, addr);
        for (uint32_t i = 0; i < n; ++i) {
            uint32_t word = P[2 * n - 2 * i], dflt = P[2 * n - 2 * i - 1];
            uint32_t type = RT_REF_OMITTED, a = 0, want = word & 0xFF;
            if (i < m) {
                type = list[2 * m - 2 * i];
                a = list[2 * m - 2 * i - 1];
            }
            if (type == RT_REF_OMITTED) {
                if (!(word & RT_PARAM_DEFAULT)) rt_fail(RT_E_ILLEGAL, addr);
                if (!made) {
                    made = rt_alloc(4 + n * sizeof(RtDefault));
                    memset(made, 0, 4 + n * sizeof(RtDefault));
                    *(uint32_t *)made = n;
                }
                RtDefault *d = (RtDefault *)((char *)made + 4) + i;
                d->word = want;
                if (want == 16) {
                    const RtDesc *c = (const RtDesc *)dflt;
                    rt_spush_copy(c->p, c->len);
                    rt_desc_assign(&d->v.desc, rt_spop());
                } else if (want == 3) {
                    memcpy(&d->v.d, (const void *)dflt, 8);
                } else {
                    d->v.w = dflt;
                }
                a = (uint32_t)&d->v;
            } else if (type == RT_REF_DOUBLE) {
                if (word & RT_REF_ARRAY) rt_fail(RT_E_TYPE, addr);
                rt_fit_double(want, (void *)a, addr);
            } else if ((type & (RT_REF_ARRAY | 0xFF)) != (word & (RT_REF_ARRAY | 0xFF))) {
                rt_fail(RT_E_TYPE, addr);
            }
            slot[n - i] = a;
        }
    }
    rt_checks[rt_check_depth++] = made;
}

/* $PsRETURNS: the defaults of the routine's entry are given back. */
void rt_returns_release(void) {
    if (!rt_check_depth) return;
    uint32_t *made = rt_checks[--rt_check_depth];
    if (!made) return;
    RtDefault *d = (RtDefault *)(made + 1);
    for (uint32_t i = 0; i < made[0]; ++i)
        if (d[i].word == 16) rt_desc_clear(&d[i].v.desc);
    rt_free(made);
}

/* The entry of a BASIC module built as a DLL: its own runtime starts. */
int RT_STDCALL rt_dll_main(uint32_t handle, uint32_t reason, uint32_t reserved) RT_NAME("_DllMain@12");
int RT_STDCALL rt_dll_main(uint32_t handle, uint32_t reason, uint32_t reserved) {
    (void)handle;
    (void)reserved;
    if (reason == 1) {
        rt_init();
        rt_out_direct = 1;
    }
    return 1;
}
