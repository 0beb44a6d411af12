/* WRITE and WRITE #: items separated by commas, strings in quotes, numbers
   without the blanks PRINT puts around them; the line ends after the last
   item. WRITE # goes to its file through the output redirection of
   rt_file.c. */
#include "rt.h"

static uint32_t rt_write_items;

void rt_file_output_begin(int32_t n, uint32_t addr);
void rt_file_output_end(void);

void RT_STDCALL rt_write_start(uint32_t window) RT_NAME("_$PsWRITEs@4");
void RT_STDCALL rt_write_start(uint32_t window) {
    (void)window;
    rt_write_items = 0;
}

void RT_STDCALL rt_write23_start(int32_t n) RT_NAME("_$PsWRITE23s@4");
void RT_STDCALL rt_write23_start(int32_t n) {
    rt_write_items = 0;
    rt_file_output_begin(n, RT_CALLER());
}

static void rt_write_text(const char *p, uint32_t n) {
    if (rt_write_items++) rt_out(",", 1);
    rt_out(p, n);
}

/* A number's text without its sign place when that is a blank. */
static void rt_write_number(const char *buf, int n) {
    if (n > 0 && buf[0] == ' ') rt_write_text(buf + 1, (uint32_t)n - 1);
    else rt_write_text(buf, (uint32_t)n);
}

void RT_STDCALL rt_write1(uint32_t v, uint32_t sep) RT_NAME("_$PsWRITE1@8");
void RT_STDCALL rt_write1(uint32_t v, uint32_t sep) {
    char buf[16];
    (void)sep;
    rt_write_number(buf, rt_fmt_long(buf, (int32_t)(v & 0xFF)));
}
void RT_STDCALL rt_write2(uint32_t v, uint32_t sep) RT_NAME("_$PsWRITE2@8");
void RT_STDCALL rt_write2(uint32_t v, uint32_t sep) {
    char buf[16];
    (void)sep;
    rt_write_number(buf, rt_fmt_long(buf, (int16_t)v));
}
void RT_STDCALL rt_write6(uint32_t v, uint32_t sep) RT_NAME("_$PsWRITE6@8");
void RT_STDCALL rt_write6(uint32_t v, uint32_t sep) {
    char buf[16];
    (void)sep;
    rt_write_number(buf, rt_fmt_long(buf, (int32_t)v));
}
/* The floating items run on a saved x87 unit (the stubs below). */
void rt_write4(float v, uint32_t sep) {
    char buf[40];
    (void)sep;
    rt_write_number(buf, rt_fmt_float(buf, v, 1));
}
void rt_write8(uint32_t sep, double v) {
    char buf[40];
    (void)sep;
    rt_write_number(buf, rt_fmt_float(buf, v, 0));
}

__asm__(".globl \"_$PsWRITE4@8\"\n"
        "\"_$PsWRITE4@8\":\n"
        "\tsubl $108, %esp\n"
        "\tfnsave (%esp)\n"
        "\tpushl 116(%esp)\n"
        "\tpushl 116(%esp)\n"
        "\tcall _rt_write4\n"
        "\taddl $8, %esp\n"
        "\tfrstor (%esp)\n"
        "\taddl $108, %esp\n"
        "\tret $8\n"
        ".globl \"_$PsWRITE8@4\"\n"
        "\"_$PsWRITE8@4\":\n"
        "\tsubl $8, %esp\n"
        "\tfstpl (%esp)\n"
        "\tsubl $108, %esp\n"
        "\tfnsave (%esp)\n"
        "\tpushl 112(%esp)\n"
        "\tpushl 112(%esp)\n"
        "\tpushl 128(%esp)\n"
        "\tcall _rt_write8\n"
        "\taddl $12, %esp\n"
        "\tfrstor (%esp)\n"
        "\taddl $116, %esp\n"
        "\tret $4\n");

void RT_STDCALL rt_write5(uint32_t sep) RT_NAME("_$PsWRITE5@4");
void RT_STDCALL rt_write5(uint32_t sep) {
    RtStr s = rt_spop();
    (void)sep;
    if (rt_write_items++) rt_out(",", 1);
    rt_out("\"", 1);
    rt_out(s.p, s.len);
    rt_out("\"", 1);
    rt_sfree(s);
}

void RT_STDCALL rt_write_tmp(uint32_t sep) RT_NAME("_$PsWRITEtmp@4");
void RT_STDCALL rt_write_tmp(uint32_t sep) { rt_write5(sep); }

/* An empty item: nothing between its commas. */
void RT_STDCALL rt_write0(uint32_t sep) RT_NAME("_$PsWRITE0@4");
void RT_STDCALL rt_write0(uint32_t sep) {
    (void)sep;
    rt_sfree(rt_spop());
    rt_write_text("", 0);
}

void RT_STDCALL rt_write_end(void) RT_NAME("_$PsWRITEend@0");
void RT_STDCALL rt_write_end(void) {
    rt_out("\n", 1);
    rt_file_output_end();
}
