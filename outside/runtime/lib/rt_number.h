/* Numbers as BASIC writes and reads them (rt_number.c), shared by the
   runtime subset and the evaluator's runtime stand-in. */
#ifndef TX_RT_NUMBER_H
#define TX_RT_NUMBER_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* A blank or "-", then the digits; returns the length (at most 12). */
int rt_fmt_long(char *out, int32_t v);
/* As STR$ writes a single (7 digits) or a double (15): at most 26 bytes. */
int rt_fmt_float(char *out, double v, int single);
/* VAL's reading; *used receives the characters consumed (0: no number). */
double rt_parse_number(const char *s, uint32_t n, uint32_t *used);

#ifdef __cplusplus
}
#endif

#endif
