/* Shift-JIS text as pure byte work: see rt_sjis.h. */
#include "rt_sjis.h"

int rt_is_lead(unsigned char c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

uint32_t rt_sjis_width(const char *p, uint32_t left) {
    return left >= 2 && rt_is_lead((unsigned char)p[0]) ? 2 : 1;
}

uint32_t rt_sjis_offset(const char *s, uint32_t len, uint32_t n) {
    uint32_t i = 0;
    while (n-- && i < len) i += rt_sjis_width(s + i, len - i);
    return i;
}

uint32_t rt_sjis_count(const char *s, uint32_t len) {
    uint32_t n = 0;
    for (uint32_t i = 0; i < len; ++n) i += rt_sjis_width(s + i, len - i);
    return n;
}

uint32_t rt_sjis_to_jis(uint32_t c) {
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

uint32_t rt_jis_to_sjis(uint32_t j) {
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

int rt_jis_valid(uint32_t j) {
    return (j >> 8) >= 0x21 && (j >> 8) <= 0x7E && (j & 0xFF) >= 0x21 && (j & 0xFF) <= 0x7E;
}

void rt_sjis_map_case(char *p, uint32_t len, int upper) {
    for (uint32_t i = 0; i < len; ++i) {
        unsigned char c = (unsigned char)p[i];
        if (rt_is_lead(c)) {
            ++i;
        } else if (upper && c >= 'a' && c <= 'z') {
            p[i] = (char)(c - 32);
        } else if (!upper && c >= 'A' && c <= 'Z') {
            p[i] = (char)(c + 32);
        }
    }
}

int32_t rt_sjis_find(const char *s, uint32_t len, const char *t, uint32_t tlen, int32_t start) {
    int32_t pos = 1;
    for (uint32_t i = 0; i < len; i += rt_sjis_width(s + i, len - i), ++pos) {
        if (pos < start || i + tlen > len) continue;
        uint32_t k = 0;
        while (k < tlen && s[i + k] == t[k]) ++k;
        if (k == tlen) return pos;
    }
    return 0;
}

int32_t rt_sjis_klen(const char *s, uint32_t len, int32_t kind) {
    int32_t count = 0;
    for (uint32_t i = 0; i < len;) {
        uint32_t w = rt_sjis_width(s + i, len - i);
        if (kind == 0 || (uint32_t)kind == w) ++count;
        i += w;
    }
    return count;
}

int32_t rt_sjis_ktype(const char *s, uint32_t len, int32_t n) {
    int32_t pos = 1;
    for (uint32_t i = 0; i < len; ++pos) {
        uint32_t w = rt_sjis_width(s + i, len - i);
        if (pos == n) return w == 2;
        i += w;
    }
    return -1;
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

static void rt_copy_char(char *q, uint32_t *n, const char *p, uint32_t w) {
    for (uint32_t k = 0; k < w; ++k) q[(*n)++] = p[k];
}

/* A katakana with a following voicing mark becomes one voiced character. */
uint32_t rt_sjis_akcnv(const char *s, uint32_t len, char *q) {
    uint32_t n = 0;
    for (uint32_t i = 0; i < len;) {
        unsigned char c = (unsigned char)s[i];
        uint32_t w = rt_sjis_width(s + i, len - i);
        uint32_t jis = w == 1 ? rt_wide(c) : 0;
        if (!jis) {
            rt_copy_char(q, &n, s + i, w);
            i += w;
            continue;
        }
        unsigned char next = i + 1 < len ? (unsigned char)s[i + 1] : 0;
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
    return n;
}

/* Wide characters with a narrow form go to it; a voiced katakana to the
   katakana and its mark. */
uint32_t rt_sjis_kacnv(const char *s, uint32_t len, char *q) {
    uint32_t n = 0;
    for (uint32_t i = 0; i < len;) {
        uint32_t w = rt_sjis_width(s + i, len - i);
        if (w == 2) {
            uint32_t jis = rt_sjis_to_jis((uint32_t)(unsigned char)s[i] << 8 | (unsigned char)s[i + 1]);
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
        rt_copy_char(q, &n, s + i, w);
        i += w;
    }
    return n;
}

uint32_t rt_sjis_kext(const char *s, uint32_t len, int wide, char *q) {
    uint32_t n = 0;
    for (uint32_t i = 0; i < len;) {
        uint32_t w = rt_sjis_width(s + i, len - i);
        if ((w == 2) == (wide != 0)) rt_copy_char(q, &n, s + i, w);
        i += w;
    }
    return n;
}
