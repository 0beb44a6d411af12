/* Shift-JIS text as pure byte work (rt_sjis.c), shared by the runtime
   subset and the evaluator's runtime stand-in: no allocation and no
   library call; callers give the room for a result. A lead byte and its
   trail byte are one character; a lead byte at the end stands alone. */
#ifndef TX_RT_SJIS_H
#define TX_RT_SJIS_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

int rt_is_lead(unsigned char c);
/* Bytes of the character at p (1 or 2), left bytes remaining from p. */
uint32_t rt_sjis_width(const char *p, uint32_t left);
/* Byte offset after the first n characters; the number of characters. */
uint32_t rt_sjis_offset(const char *s, uint32_t len, uint32_t n);
uint32_t rt_sjis_count(const char *s, uint32_t len);
uint32_t rt_sjis_to_jis(uint32_t c);
uint32_t rt_jis_to_sjis(uint32_t j);
int rt_jis_valid(uint32_t j);
/* UCASE$ / LCASE$ in place; trail bytes stay as they are. */
void rt_sjis_map_case(char *p, uint32_t len, int upper);
/* KINSTR: the character position of t in s from character start, 0 when
   absent. KLEN: characters (kind 0), single-byte (1) or double-byte (2)
   ones. KTYPE: 0 single-byte, 1 double-byte, -1 no n-th character. */
int32_t rt_sjis_find(const char *s, uint32_t len, const char *t, uint32_t tlen, int32_t start);
int32_t rt_sjis_klen(const char *s, uint32_t len, int32_t kind);
int32_t rt_sjis_ktype(const char *s, uint32_t len, int32_t n);
/* AKCNV$ and KACNV$ into out (room for 2 * len); KEXT$ (room for len):
   the single-byte (wide 0) or double-byte (wide 1) characters. Each
   returns the result's length. */
uint32_t rt_sjis_akcnv(const char *s, uint32_t len, char *out);
uint32_t rt_sjis_kacnv(const char *s, uint32_t len, char *out);
uint32_t rt_sjis_kext(const char *s, uint32_t len, int wide, char *out);

#ifdef __cplusplus
}
#endif

#endif
