/* The double-byte functions: KINSTR, KLEN, KTYPE, JIS, KNJ$, AKCNV$,
   KACNV$, JCONV$ and KEXT$. A Shift-JIS lead byte and its trail byte are
   one character. */
#include "rt.h"

/* Bytes of the character at p (1 or 2; 1 at the string's last byte). */
static uint32_t rt_ch(const char *p, uint32_t left) {
    return left >= 2 && rt_is_lead((unsigned char)p[0]) ? 2 : 1;
}

static uint32_t rt_sjis_to_jis(uint32_t c) {
    uint32_t c1 = c >> 8, c2 = c & 0xFF;
    if (c1 >= 0xE0) c1 -= 0x40;
    uint32_t j1 = (c1 - 0x81) * 2 + 0x21, j2;
    if (c2 >= 0x9F) {
        ++j1;
        j2 = c2 - 0x7E;
    } else {
        if (c2 >= 0x80) --c2;
        j2 = c2 - 0x1F;
    }
    return j1 << 8 | j2;
}

static uint32_t rt_jis_to_sjis(uint32_t j) {
    uint32_t j1 = j >> 8, j2 = j & 0xFF;
    uint32_t s1 = ((j1 - 0x21) >> 1) + 0x81, s2;
    if (s1 > 0x9F) s1 += 0x40;
    if (j1 & 1) {
        s2 = j2 + 0x1F;
        if (s2 >= 0x7F) ++s2;
    } else {
        s2 = j2 + 0x7E;
    }
    return s1 << 8 | s2;
}

static int rt_jis_valid(uint32_t j) {
    return (j >> 8) >= 0x21 && (j >> 8) <= 0x7E && (j & 0xFF) >= 0x21 && (j & 0xFF) <= 0x7E;
}

/* KINSTR(start, s, t): as INSTR, counted in characters. */
int32_t RT_STDCALL rt_kinstr(int32_t start) RT_NAME("_$PfKINSTR@4");
int32_t RT_STDCALL rt_kinstr(int32_t start) {
    RtStr s = rt_spop();
    RtStr t = rt_spop();
    if (start < 1) rt_fail(RT_E_ILLEGAL, RT_CALLER());
    int32_t r = 0, pos = 1;
    for (uint32_t i = 0; i < s.len && !r; i += rt_ch(s.p + i, s.len - i), ++pos) {
        if (pos < start || i + t.len > s.len) continue;
        uint32_t k = 0;
        while (k < t.len && s.p[i + k] == t.p[k]) ++k;
        if (k == t.len) r = pos;
    }
    rt_sfree(t);
    rt_sfree(s);
    return r;
}

/* KLEN(s, n): characters (n = 0), single-byte ones (1), double-byte ones (2). */
int32_t RT_STDCALL rt_klen(int32_t n) RT_NAME("_$PfKLEN@4");
int32_t RT_STDCALL rt_klen(int32_t n) {
    RtStr s = rt_spop();
    if (n < 0 || n > 2) rt_fail(RT_E_ILLEGAL, RT_CALLER());
    int32_t count = 0;
    for (uint32_t i = 0; i < s.len;) {
        uint32_t w = rt_ch(s.p + i, s.len - i);
        if (n == 0 || (uint32_t)n == w) ++count;
        i += w;
    }
    rt_sfree(s);
    return count;
}

/* KTYPE(s, n): 0 when the n-th character is single-byte, 1 double-byte. */
int32_t RT_STDCALL rt_ktype(int32_t n) RT_NAME("_$PfKTYPE@4");
int32_t RT_STDCALL rt_ktype(int32_t n) {
    RtStr s = rt_spop();
    int32_t r = -1, pos = 1;
    for (uint32_t i = 0; i < s.len && r < 0; ++pos) {
        uint32_t w = rt_ch(s.p + i, s.len - i);
        if (pos == n) r = w == 2;
        i += w;
    }
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
    int32_t r = rt_ch(s.p, s.len) == 2 ? (int32_t)rt_sjis_to_jis((uint32_t)p[0] << 8 | p[1]) : p[0];
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

/* JIS codes of the wide forms of ASCII 20-7E (the letters and digits are
   row 3 by their own codes) and of the katakana A1-DF. */
static const uint16_t rt_wide_symbols[] = {
    0x2121, 0x212A, 0x2149, 0x2174, 0x2170, 0x2173, 0x2175, 0x2147, 0x214A, 0x214B, 0x2176, 0x215C,
    0x2124, 0x215D, 0x2125, 0x213F, /* 20-2F */
    0x2127, 0x2128, 0x2163, 0x2161, 0x2164, 0x2129, 0x2177,             /* 3A-40 */
    0x214E, 0x2140, 0x214F, 0x2130, 0x2132, 0x212E,                     /* 5B-60 */
    0x2150, 0x2143, 0x2151, 0x2141,                                     /* 7B-7E */
};
static const uint16_t rt_wide_kana[] = {
    0x2123, 0x2156, 0x2157, 0x2122, 0x2126, 0x2572, 0x2521, 0x2523, 0x2525, 0x2527, 0x2529, 0x2563,
    0x2565, 0x2567, 0x2543, 0x213C, 0x2522, 0x2524, 0x2526, 0x2528, 0x252A, 0x252B, 0x252D, 0x252F,
    0x2531, 0x2533, 0x2535, 0x2537, 0x2539, 0x253B, 0x253D, 0x253F, 0x2541, 0x2544, 0x2546, 0x2548,
    0x254A, 0x254B, 0x254C, 0x254D, 0x254E, 0x254F, 0x2552, 0x2555, 0x2558, 0x255B, 0x255E, 0x255F,
    0x2560, 0x2561, 0x2562, 0x2564, 0x2566, 0x2568, 0x2569, 0x256A, 0x256B, 0x256C, 0x256D, 0x256F,
    0x2573, 0x212B, 0x212C,
};

/* The JIS code of a narrow character's wide form, 0 when it has none. */
static uint32_t rt_wide(unsigned char c) {
    if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) return 0x2300 + c;
    if (c >= 0x20 && c <= 0x2F) return rt_wide_symbols[c - 0x20];
    if (c >= 0x3A && c <= 0x40) return rt_wide_symbols[16 + c - 0x3A];
    if (c >= 0x5B && c <= 0x60) return rt_wide_symbols[23 + c - 0x5B];
    if (c >= 0x7B && c <= 0x7E) return rt_wide_symbols[29 + c - 0x7B];
    if (c >= 0xA1 && c <= 0xDF) return rt_wide_kana[c - 0xA1];
    return 0;
}

static int rt_voiceable(unsigned char c) { return (c >= 0xB6 && c <= 0xC4) || (c >= 0xCA && c <= 0xCE); }

static void rt_put2(char *q, uint32_t *n, uint32_t jis) {
    uint32_t c = rt_jis_to_sjis(jis);
    q[(*n)++] = (char)(c >> 8);
    q[(*n)++] = (char)c;
}

/* AKCNV$(s): narrow characters to their wide forms; a katakana with a
   following voicing mark becomes one voiced character. */
void RT_STDCALL rt_akcnv(void) RT_NAME("_$PfAKCNV24@0");
void RT_STDCALL rt_akcnv(void) {
    RtStr s = rt_spop();
    char *q = s.len ? rt_alloc(2 * s.len) : 0;
    uint32_t n = 0;
    for (uint32_t i = 0; i < s.len;) {
        unsigned char c = (unsigned char)s.p[i];
        uint32_t w = rt_ch(s.p + i, s.len - i);
        uint32_t jis = w == 1 ? rt_wide(c) : 0;
        if (!jis) {
            memcpy(q + n, s.p + i, w);
            n += w;
            i += w;
            continue;
        }
        unsigned char next = i + 1 < s.len ? (unsigned char)s.p[i + 1] : 0;
        if (next == 0xDE && (rt_voiceable(c) || c == 0xB3)) {
            jis = c == 0xB3 ? 0x2574 : jis + 1;
            ++i;
        } else if (next == 0xDF && c >= 0xCA && c <= 0xCE) {
            jis += 2;
            ++i;
        }
        rt_put2(q, &n, jis);
        ++i;
    }
    rt_sfree(s);
    rt_spush(q, n, q ? rt_alloc_size(q) : 0);
}

/* KACNV$(s): wide characters that have a narrow form to it; voiced
   katakana to the katakana and its mark. */
void RT_STDCALL rt_kacnv(void) RT_NAME("_$PfKACNV24@0");
void RT_STDCALL rt_kacnv(void) {
    RtStr s = rt_spop();
    char *q = s.len ? rt_alloc(2 * s.len) : 0;
    uint32_t n = 0;
    for (uint32_t i = 0; i < s.len;) {
        uint32_t w = rt_ch(s.p + i, s.len - i);
        if (w == 2) {
            uint32_t jis = rt_sjis_to_jis((uint32_t)(unsigned char)s.p[i] << 8 | (unsigned char)s.p[i + 1]);
            int found = 0;
            for (unsigned c = 0x20; c <= 0xDF && !found; ++c) {
                uint32_t base = rt_wide((unsigned char)c);
                if (!base || (c > 0x7E && c < 0xA1)) continue;
                if (base == jis) {
                    q[n++] = (char)c;
                    found = 1;
                } else if (rt_voiceable((unsigned char)c) && base + 1 == jis) {
                    q[n++] = (char)c;
                    q[n++] = (char)0xDE;
                    found = 1;
                } else if (c >= 0xCA && c <= 0xCE && base + 2 == jis) {
                    q[n++] = (char)c;
                    q[n++] = (char)0xDF;
                    found = 1;
                }
            }
            if (!found && jis == 0x2574) {
                q[n++] = (char)0xB3;
                q[n++] = (char)0xDE;
                found = 1;
            }
            if (found) {
                i += 2;
                continue;
            }
        }
        memcpy(q + n, s.p + i, w);
        n += w;
        i += w;
    }
    rt_sfree(s);
    rt_spush(q, n, q ? rt_alloc_size(q) : 0);
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
        if (from == 0 && rt_ch(s.p + i, left) == 2) jis = rt_sjis_to_jis((uint32_t)p[0] << 8 | p[1]);
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
            rt_put2(q, &n, jis);
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
    uint32_t k = 0;
    for (uint32_t i = 0; i < s.len;) {
        uint32_t w = rt_ch(s.p + i, s.len - i);
        if ((w == 2) == (n == 1)) {
            memcpy(q + k, s.p + i, w);
            k += w;
        }
        i += w;
    }
    rt_sfree(s);
    rt_spush(q, k, q ? rt_alloc_size(q) : 0);
}
