/* PRINT, STR$ and VAL; the number texts are rt_number.c's. */
#include "rt.h"

/* ---- PRINT ------------------------------------------------------------- */

/* Separator codes: 0 none (the line ends after the item), 1 comma (next
   print zone of 14 columns), 2 semicolon (nothing). */
static uint32_t rt_print_sep;

void RT_STDCALL rt_print_start(uint32_t window) RT_NAME("_$PsPRINTs@4");
void RT_STDCALL rt_print_start(uint32_t window) {
    (void)window;
    rt_print_sep = 0;
}

static void rt_print_text(const char *p, uint32_t n, uint32_t sep) {
    /* after WIDTH, an item that would pass the line's end starts a new line */
    if (rt_width && rt_column > 0 && rt_column + n > rt_width) rt_out("\n", 1);
    rt_out(p, n);
    rt_print_sep = sep;
    if (sep == 1) {
        uint32_t next = (rt_column / 14 + 1) * 14;
        while (rt_column < next) rt_out(" ", 1);
    }
}

static void rt_print_number(char *buf, int n, uint32_t sep) {
    buf[n++] = ' ';
    rt_print_text(buf, (uint32_t)n, sep);
}

void RT_STDCALL rt_print1(uint32_t v, uint32_t sep) RT_NAME("_$PsPRINT1@8");
void RT_STDCALL rt_print1(uint32_t v, uint32_t sep) {
    char buf[16];
    rt_print_number(buf, rt_fmt_long(buf, (int32_t)(v & 0xFF)), sep);
}

void RT_STDCALL rt_print2(uint32_t v, uint32_t sep) RT_NAME("_$PsPRINT2@8");
void RT_STDCALL rt_print2(uint32_t v, uint32_t sep) {
    char buf[16];
    rt_print_number(buf, rt_fmt_long(buf, (int16_t)v), sep);
}

void RT_STDCALL rt_print6(uint32_t v, uint32_t sep) RT_NAME("_$PsPRINT6@8");
void RT_STDCALL rt_print6(uint32_t v, uint32_t sep) {
    char buf[16];
    rt_print_number(buf, rt_fmt_long(buf, (int32_t)v), sep);
}

void RT_STDCALL rt_print4(float v, uint32_t sep);
void RT_STDCALL rt_print4(float v, uint32_t sep) {
    char buf[40];
    rt_print_number(buf, rt_fmt_float(buf, v, 1), sep);
}

/* _$PsPRINT8@4 (rt_x87.S) passes ST0 here. */
void rt_print8(uint32_t sep, double v) {
    char buf[40];
    rt_print_number(buf, rt_fmt_float(buf, v, 0), sep);
}

void RT_STDCALL rt_print5(uint32_t sep) RT_NAME("_$PsPRINT5@4");
void RT_STDCALL rt_print5(uint32_t sep) {
    RtStr s = rt_spop();
    if (s.kind == RT_KIND_DECIMAL && s.len < 80) {
        /* a decimal prints as the other numbers do: sign place, blank after */
        char buf[84];
        buf[0] = ' ';
        int n = (int)s.len;
        memcpy(s.p[0] == '-' ? buf : buf + 1, s.p, s.len);
        if (s.p[0] != '-') ++n;
        rt_sfree(s);
        rt_print_number(buf, n, sep);
        return;
    }
    rt_print_text(s.p, s.len, sep);
    rt_sfree(s);
}

void RT_STDCALL rt_print_tmp(uint32_t sep) RT_NAME("_$PsPRINTtmp@4");
void RT_STDCALL rt_print_tmp(uint32_t sep) { rt_print5(sep); }

void RT_STDCALL rt_print_end(void) RT_NAME("_$PsPRINTend@0");
void rt_file_output_end(void); /* rt_file.c: PRINT # goes back to the console */

void RT_STDCALL rt_print_end(void) {
    if (rt_print_sep == 0) rt_out("\n", 1);
    rt_print_sep = 0;
    rt_file_output_end();
}

/* ---- STR$ and VAL ------------------------------------------------------ */

static void rt_push_formatted(const char *buf, int n) { rt_spush_copy(buf, (uint32_t)n); }

void RT_STDCALL rt_str1(uint32_t v) RT_NAME("_$PfSTR241@4");
void RT_STDCALL rt_str1(uint32_t v) {
    char buf[16];
    rt_push_formatted(buf, rt_fmt_long(buf, (int32_t)(v & 0xFF)));
}
void RT_STDCALL rt_str2(uint32_t v) RT_NAME("_$PfSTR242@4");
void RT_STDCALL rt_str2(uint32_t v) {
    char buf[16];
    rt_push_formatted(buf, rt_fmt_long(buf, (int16_t)v));
}
void RT_STDCALL rt_str6(uint32_t v) RT_NAME("_$PfSTR246@4");
void RT_STDCALL rt_str6(uint32_t v) {
    char buf[16];
    rt_push_formatted(buf, rt_fmt_long(buf, (int32_t)v));
}
void RT_STDCALL rt_str4(float v);
void RT_STDCALL rt_str4(float v) {
    char buf[40];
    rt_push_formatted(buf, rt_fmt_float(buf, v, 1));
}
/* _$PfSTR248@0 (rt_x87.S) passes ST0 here. */
void rt_str8(double v) {
    char buf[40];
    rt_push_formatted(buf, rt_fmt_float(buf, v, 0));
}

/* _$PfVAL@0 (rt_x87.S) loads the result. */
double rt_val(void) {
    RtStr s = rt_spop();
    uint32_t used;
    double v = rt_parse_number(s.p, s.len, &used);
    rt_sfree(s);
    return v;
}
