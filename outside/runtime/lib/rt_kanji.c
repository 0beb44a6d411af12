/* The double-byte functions: KINSTR, KLEN, KTYPE, JIS, KNJ$, AKCNV$,
   KACNV$, JCONV$ and KEXT$. A Shift-JIS lead byte and its trail byte are
   one character. */
#include "rt.h"

/* KINSTR(start, s, t): as INSTR, counted in characters. */
int32_t RT_STDCALL rt_kinstr(int32_t start) RT_NAME("_$PfKINSTR@4");
int32_t RT_STDCALL rt_kinstr(int32_t start) {
    RtStr s = rt_spop();
    RtStr t = rt_spop();
    if (start < 1) rt_fail(RT_E_ILLEGAL, RT_CALLER());
    int32_t r = rt_sjis_find(s.p, s.len, t.p, t.len, start);
    rt_sfree(t);
    rt_sfree(s);
    return r;
}

/* KLEN(s, n): characters (n = 0), single-byte ones (1), double-byte ones (2). */
int32_t RT_STDCALL rt_klen(int32_t n) RT_NAME("_$PfKLEN@4");
int32_t RT_STDCALL rt_klen(int32_t n) {
    RtStr s = rt_spop();
    if (n < 0 || n > 2) rt_fail(RT_E_ILLEGAL, RT_CALLER());
    int32_t count = rt_sjis_klen(s.p, s.len, n);
    rt_sfree(s);
    return count;
}

/* KTYPE(s, n): 0 when the n-th character is single-byte, 1 double-byte. */
int32_t RT_STDCALL rt_ktype(int32_t n) RT_NAME("_$PfKTYPE@4");
int32_t RT_STDCALL rt_ktype(int32_t n) {
    RtStr s = rt_spop();
    int32_t r = rt_sjis_ktype(s.p, s.len, n);
    rt_sfree(s);
    if (r < 0) rt_fail(RT_E_ILLEGAL, RT_CALLER());
    return r;
}

/* JIS(s): the JIS code of the first character (a single byte: its code). */
int32_t RT_STDCALL rt_jis(void) RT_NAME("_$PfJIS@0");
int32_t RT_STDCALL rt_jis(void) {
    RtStr s = rt_spop();
    if (!s.len) rt_fail(RT_E_ILLEGAL, RT_CALLER());
    const unsigned char *p = (const unsigned char *)s.p;
    int32_t r = rt_sjis_width(s.p, s.len) == 2 ? (int32_t)rt_sjis_to_jis((uint32_t)p[0] << 8 | p[1]) : p[0];
    rt_sfree(s);
    return r;
}

/* KNJ$(j): the character of a JIS code. */
void RT_STDCALL rt_knj(int32_t j) RT_NAME("_$PfKNJ24@4");
void RT_STDCALL rt_knj(int32_t j) {
    if (!rt_jis_valid((uint32_t)j)) rt_fail(RT_E_ILLEGAL, RT_CALLER());
    uint32_t c = rt_jis_to_sjis((uint32_t)j);
    char t[2] = {(char)(c >> 8), (char)c};
    rt_spush_copy(t, 2);
}

static void rt_push_converted(RtStr s, uint32_t room, uint32_t (*convert)(const char *, uint32_t, char *)) {
    char *q = room ? rt_alloc(room) : 0;
    uint32_t n = room ? convert(s.p, s.len, q) : 0;
    rt_sfree(s);
    rt_spush(q, n, q ? rt_alloc_size(q) : 0);
}

/* AKCNV$(s): narrow characters to their wide forms. */
void RT_STDCALL rt_akcnv(void) RT_NAME("_$PfAKCNV24@0");
void RT_STDCALL rt_akcnv(void) {
    RtStr s = rt_spop();
    rt_push_converted(s, 2 * s.len, rt_sjis_akcnv);
}

/* KACNV$(s): wide characters back to their narrow forms. */
void RT_STDCALL rt_kacnv(void) RT_NAME("_$PfKACNV24@0");
void RT_STDCALL rt_kacnv(void) {
    RtStr s = rt_spop();
    rt_push_converted(s, 2 * s.len, rt_sjis_kacnv);
}

/* JCONV$(s, from, to): between Shift-JIS (0), JIS with its escape
   sequences (1) and EUC (2). */
void RT_STDCALL rt_jconv(int32_t from, int32_t to) RT_NAME("_$PfJCONV24@8");
void RT_STDCALL rt_jconv(int32_t from, int32_t to) {
    RtStr s = rt_spop();
    if (from < 0 || from > 2 || to < 0 || to > 2) rt_fail(RT_E_ILLEGAL, RT_CALLER());
    char *q = rt_alloc(3 * s.len + 8);
    uint32_t n = 0;
    int inWide = 0, outWide = 0; /* inside ESC $ B of the JIS form */
    for (uint32_t i = 0; i < s.len;) {
        const unsigned char *p = (const unsigned char *)s.p + i;
        uint32_t left = s.len - i, jis = 0, step = 1;
        if (from == 1 && left >= 3 && p[0] == 0x1B) {
            inWide = p[1] == '$';
            i += 3;
            continue;
        }
        if (from == 0 && rt_sjis_width(s.p + i, left) == 2) jis = rt_sjis_to_jis((uint32_t)p[0] << 8 | p[1]);
        else if (from == 1 && inWide && left >= 2) jis = (uint32_t)p[0] << 8 | p[1];
        else if (from == 2 && p[0] >= 0xA1 && left >= 2) jis = ((uint32_t)p[0] << 8 | p[1]) & 0x7F7F;
        if (jis) step = 2;
        if (jis && !rt_jis_valid(jis)) jis = 0;
        if (to == 1 && (jis != 0) != outWide) {
            memcpy(q + n, jis ? "\x1b$B" : "\x1b(B", 3);
            n += 3;
            outWide = jis != 0;
        }
        if (!jis) {
            memcpy(q + n, p, step);
            n += step;
        } else if (to == 0) {
            uint32_t c = rt_jis_to_sjis(jis);
            q[n++] = (char)(c >> 8);
            q[n++] = (char)c;
        } else if (to == 1) {
            q[n++] = (char)(jis >> 8);
            q[n++] = (char)jis;
        } else {
            q[n++] = (char)((jis >> 8) | 0x80);
            q[n++] = (char)((jis & 0xFF) | 0x80);
        }
        i += step;
    }
    if (outWide) {
        memcpy(q + n, "\x1b(B", 3);
        n += 3;
    }
    rt_sfree(s);
    rt_spush(q, n, rt_alloc_size(q));
}

/* KEXT$(s, n): the single-byte characters (n = 0) or the double-byte ones
   (n = 1) of s. */
void RT_STDCALL rt_kext(int32_t n) RT_NAME("_$PfKEXT24@4");
void RT_STDCALL rt_kext(int32_t n) {
    RtStr s = rt_spop();
    if (n < 0 || n > 1) rt_fail(RT_E_ILLEGAL, RT_CALLER());
    char *q = s.len ? rt_alloc(s.len) : 0;
    uint32_t k = q ? rt_sjis_kext(s.p, s.len, n, q) : 0;
    rt_sfree(s);
    rt_spush(q, k, q ? rt_alloc_size(q) : 0);
}
