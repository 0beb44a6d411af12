/* Console input, WRITE, PRINT USING and FORMAT$, the screen statements and
   functions, the clock, the command line and the environment. */
#include "rt.h"

uint32_t rt_width;

static int32_t rt_min(int32_t a, int32_t b) { return a < b ? a : b; }

/* ---- console input ------------------------------------------------------ */

static char rt_line[1024];

/* One line of standard input (without its end) into rt_line; the host
   echoes nothing, so the runtime shows the answer as the console would. */
static uint32_t rt_read_line(uint32_t addr) {
    rt_flush();
    int32_t r = rt_host_read_line(rt_line, sizeof rt_line);
    if (r < 0) rt_fail(RT_E_INPUTEND, addr);
    uint32_t n = (uint32_t)r;
    rt_out(rt_line, n);
    rt_out("\n", 1);
    return n;
}

static RtStr rt_prompt;
static uint32_t rt_prompt_sep;

/* INPUT and LINE INPUT: (window, separator code); with a code the prompt
   is on the string stack. */
static void rt_input_start(uint32_t sep) {
    rt_sfree(rt_prompt);
    rt_prompt.p = 0;
    rt_prompt.len = rt_prompt.cap = 0;
    if (sep) rt_prompt = rt_spop();
    rt_prompt_sep = sep;
}

void RT_STDCALL rt_input_s(uint32_t window, uint32_t sep) RT_NAME("_$PsINPUTs@8");
void RT_STDCALL rt_input_s(uint32_t window, uint32_t sep) {
    (void)window;
    rt_input_start(sep);
}

void RT_STDCALL rt_line_input_s(uint32_t window, uint32_t sep) RT_NAME("_$PsLINE_INPUTs@8");
void RT_STDCALL rt_line_input_s(uint32_t window, uint32_t sep) {
    (void)window;
    rt_input_start(sep);
}

void RT_STDCALL rt_line_input(RtDesc *d) RT_NAME("_$PsLINE_INPUT@4");
void RT_STDCALL rt_line_input(RtDesc *d) {
    if (rt_file_line_input(d, RT_CALLER())) return;
    rt_out(rt_prompt.p, rt_prompt.len);
    uint32_t n = rt_read_line(RT_CALLER());
    if (!d) return;
    rt_spush_copy(rt_line, n);
    rt_desc_assign(d, rt_spop());
}

/* One answer field: [from, to) of rt_line, quotes taken off. */
typedef struct {
    uint32_t from, to;
} RtField;

static int rt_split(uint32_t n, RtField *f, uint32_t want) {
    uint32_t i = 0, count = 0;
    for (;;) {
        while (i < n && rt_line[i] == ' ') ++i;
        if (count == want) return 0;
        RtField *x = &f[count++];
        if (i < n && rt_line[i] == '"') {
            x->from = ++i;
            while (i < n && rt_line[i] != '"') ++i;
            x->to = i;
            if (i < n) ++i;
            while (i < n && rt_line[i] == ' ') ++i;
        } else {
            x->from = i;
            while (i < n && rt_line[i] != ',') ++i;
            x->to = i;
            while (x->to > x->from && rt_line[x->to - 1] == ' ') --x->to;
        }
        if (i >= n) return count == want;
        if (rt_line[i] != ',') return 0;
        ++i;
    }
}

/* A numeric field that must be a number, all of it, in the type's range. */
static int rt_field_number(const RtField *f, uint32_t type, double *v) {
    uint32_t used = 0, len = f->to - f->from;
    if (len == 0) {
        *v = 0;
        return 1;
    }
    *v = rt_parse_number(rt_line + f->from, len, &used);
    if (used != len) return 0;
    switch (type) {
    case 0: return *v >= -32768.5 && *v < 32767.5;
    case 1: return *v >= -2147483648.5 && *v < 2147483647.5;
    case 4: return *v >= -0.5 && *v < 255.5;
    case 2: return *v <= 3.402823466e38 && *v >= -3.402823466e38;
    default: return 1;
    }
}

static int32_t rt_round(double v) {
    double r = v < 0 ? v - 0.5 : v + 0.5;
    return (int32_t)r;
}

/* INPUT's variables: block = {count, then (address, type) for each, the
   last one written lowest}. A wrong answer is asked again. */
void RT_STDCALL rt_input(uint32_t *block);
void RT_STDCALL rt_input(uint32_t *block) {
    if (rt_file_input(block, RT_CALLER())) return;
    uint32_t n = block[0];
    RtField f[64];
    if (n > 64) rt_fail(RT_E_ILLEGAL, RT_CALLER());
    for (;;) {
        rt_out(rt_prompt.p, rt_prompt.len);
        if (rt_prompt_sep != 1) rt_out("? ", 2);
        uint32_t len = rt_read_line(RT_CALLER());
        int ok = rt_split(len, f, n);
        for (uint32_t k = 0; k < n && ok; ++k) {
            uint32_t type = block[2 + 2 * (n - 1 - k)] & 0xFF;
            double v;
            if (type < 16 && !rt_field_number(&f[k], type, &v)) ok = 0;
            if (type == 18 && !rt_decimal_text_ok(rt_line + f[k].from, f[k].to - f[k].from)) ok = 0;
        }
        if (ok) break;
        rt_out("?Redo from start\n", 17);
    }
    for (uint32_t k = 0; k < n; ++k) {
        void *addr = (void *)block[1 + 2 * (n - 1 - k)];
        uint32_t type = block[2 + 2 * (n - 1 - k)] & 0xFF;
        double v = 0;
        if (type >= 16) {
            rt_spush_copy(rt_line + f[k].from, f[k].to - f[k].from);
            rt_desc_assign((RtDesc *)addr, rt_spop());
            continue;
        }
        rt_field_number(&f[k], type, &v);
        switch (type) {
        case 0: *(int16_t *)addr = (int16_t)rt_round(v); break;
        case 1: *(int32_t *)addr = rt_round(v); break;
        case 2: *(float *)addr = (float)v; break;
        case 3: *(double *)addr = v; break;
        case 4: *(uint8_t *)addr = (uint8_t)rt_round(v); break;
        default: break;
        }
    }
}

/* INKEY$: a waiting byte or nothing; INPUT$(n): n bytes, waiting. */
void RT_STDCALL rt_inkey(uint32_t window) RT_NAME("_$PfINKEY24@4");
void RT_STDCALL rt_inkey(uint32_t window) {
    (void)window;
    char c;
    rt_flush();
    rt_spush_copy(&c, rt_host_read_byte(&c, 0) == 1 ? 1 : 0);
}

void RT_STDCALL rt_input_n(uint32_t window, int32_t n) RT_NAME("_$PfINPUT242@8");
void RT_STDCALL rt_input_n(uint32_t window, int32_t n) {
    (void)window;
    if (n < 0 || n > 32767) rt_fail(RT_E_ILLEGAL, RT_CALLER());
    char *p = n ? rt_alloc((uint32_t)n) : 0;
    rt_flush();
    for (int32_t i = 0; i < n; ++i) {
        if (rt_host_read_byte(p + i, 1) != 1) rt_fail(RT_E_INPUTEND, RT_CALLER());
    }
    rt_spush(p, (uint32_t)n, n ? rt_alloc_size(p) : 0);
}

/* ---- screen --------------------------------------------------------------- */

int32_t RT_STDCALL rt_csrlin(uint32_t window) RT_NAME("_$PfCSRLIN@4");
int32_t RT_STDCALL rt_csrlin(uint32_t window) {
    (void)window;
    return (int32_t)rt_row;
}

/* SCREEN(row, col, z): the console is a stream and keeps no text to read
   back, so a program asking for a character or its colour is told so
   instead of given a blank that was never there. */
int32_t RT_STDCALL rt_screen_fn(uint32_t window, int32_t row, int32_t col, int32_t z) RT_NAME("_$PfSCREEN@16");
int32_t RT_STDCALL rt_screen_fn(uint32_t window, int32_t row, int32_t col, int32_t z) {
    (void)window;
    (void)row;
    (void)col;
    (void)z;
    rt_fail(RT_E_ILLEGAL, RT_CALLER());
}

int32_t RT_STDCALL rt_lpos(int32_t n) RT_NAME("_$PfLPOS@4");
int32_t RT_STDCALL rt_lpos(int32_t n) {
    extern uint32_t rt_printer_column;
    extern int rt_have_printer(void);
    (void)n;
    return (int32_t)(rt_have_printer() ? rt_printer_column : rt_column) + 1;
}

/* The console is a stream: LOCATE reaches a place below or to the right
   with line ends and blanks; a place above or to the left is not reached. */
void RT_STDCALL rt_locate(uint32_t window, int32_t row, int32_t col, int32_t cursor, uint32_t mask)
    RT_NAME("_$PsLOCATE@20");
void RT_STDCALL rt_locate(uint32_t window, int32_t row, int32_t col, int32_t cursor, uint32_t mask) {
    (void)window;
    (void)cursor;
    int32_t r = mask & 1 ? row : (int32_t)rt_row;
    int32_t c = mask & 2 ? col : (int32_t)rt_column + 1;
    if (r < 1 || c < 1 || r > 255 || c > 255) rt_fail(RT_E_ILLEGAL, RT_CALLER());
    if ((uint32_t)r < rt_row) return;
    while ((uint32_t)r > rt_row) rt_out("\n", 1);
    while ((uint32_t)c > rt_column + 1) rt_out(" ", 1);
}

/* Colours and console modes are kept; a stream shows none of them. The
   graphics screen draws in the first two (rt_gfx.c). */
int32_t rt_colors[4];
uint32_t rt_colors_given;
void RT_STDCALL rt_color(uint32_t window, int32_t a, int32_t b, int32_t c, int32_t d, uint32_t mask)
    RT_NAME("_$PsCOLOR@24");
void RT_STDCALL rt_color(uint32_t window, int32_t a, int32_t b, int32_t c, int32_t d, uint32_t mask) {
    (void)window;
    int32_t v[4] = {a, b, c, d};
    for (int k = 0; k < 4; ++k) {
        if (!(mask & (1u << k))) continue;
        if (v[k] < 0 || v[k] > 255) rt_fail(RT_E_ILLEGAL, RT_CALLER());
        rt_colors[k] = v[k];
        rt_colors_given |= 1u << k;
    }
}

void RT_STDCALL rt_console(uint32_t window, int32_t a, int32_t b, int32_t c) RT_NAME("_$PsCONSOLE@16");
void RT_STDCALL rt_console(uint32_t window, int32_t a, int32_t b, int32_t c) {
    (void)window;
    (void)a;
    (void)b;
    (void)c;
}

static void rt_set_width(int32_t n, uint32_t addr) {
    if (n < 1 || n > 255) rt_fail(RT_E_ILLEGAL, addr);
    rt_width = (uint32_t)n;
}

void RT_STDCALL rt_width3(uint32_t window, int32_t a, int32_t b, int32_t c, uint32_t mask) RT_NAME("_$PsWIDTH3@20");
void RT_STDCALL rt_width3(uint32_t window, int32_t a, int32_t b, int32_t c, uint32_t mask) {
    (void)window;
    (void)b;
    (void)c;
    if (mask & 1) rt_set_width(a, RT_CALLER());
}

extern int32_t rt_printer_width; /* rt_file.c */

/* WIDTH "SCRN:", n or "LPT1:", n: the device on the string stack. */
void RT_STDCALL rt_width2(int32_t n) RT_NAME("_$PsWIDTH2@4");
void RT_STDCALL rt_width2(int32_t n) {
    RtStr s = rt_spop();
    int scrn = s.len == 5 && s.p[0] == 'S' && s.p[1] == 'C' && s.p[2] == 'R' && s.p[3] == 'N' && s.p[4] == ':';
    int lpt = s.len == 5 && s.p[0] == 'L' && s.p[1] == 'P' && s.p[2] == 'T' && s.p[3] == '1' && s.p[4] == ':';
    rt_sfree(s);
    if (scrn) rt_set_width(n, RT_CALLER());
    else if (lpt && n >= 1 && n <= 255) rt_printer_width = n;
    else rt_fail(RT_E_ILLEGAL, RT_CALLER());
}

void RT_STDCALL rt_width_lprint(int32_t n) RT_NAME("_$PsWIDTH_LPRINT@4");
void RT_STDCALL rt_width_lprint(int32_t n) {
    if (n < 1 || n > 255) rt_fail(RT_E_ILLEGAL, RT_CALLER());
    rt_printer_width = n;
}

/* ---- WRITE ---------------------------------------------------------------- */

void RT_STDCALL rt_write_s(uint32_t window) RT_NAME("_$PsWRITEs@4");
void RT_STDCALL rt_write_s(uint32_t window) { (void)window; }

static void rt_write_sep(uint32_t sep) {
    if (sep) rt_out(",", 1);
}

/* Numbers as PRINT writes them, without the blanks around them. */
static void rt_write_text(char *buf, int n, uint32_t sep) {
    int from = buf[0] == ' ' ? 1 : 0;
    rt_out(buf + from, (uint32_t)(n - from));
    rt_write_sep(sep);
}

void RT_STDCALL rt_write1(uint32_t v, uint32_t sep) RT_NAME("_$PsWRITE1@8");
void RT_STDCALL rt_write1(uint32_t v, uint32_t sep) {
    char buf[16];
    rt_write_text(buf, rt_fmt_long(buf, (int32_t)(v & 0xFF)), sep);
}

void RT_STDCALL rt_write2(uint32_t v, uint32_t sep) RT_NAME("_$PsWRITE2@8");
void RT_STDCALL rt_write2(uint32_t v, uint32_t sep) {
    char buf[16];
    rt_write_text(buf, rt_fmt_long(buf, (int16_t)v), sep);
}

void RT_STDCALL rt_write6(uint32_t v, uint32_t sep) RT_NAME("_$PsWRITE6@8");
void RT_STDCALL rt_write6(uint32_t v, uint32_t sep) {
    char buf[16];
    rt_write_text(buf, rt_fmt_long(buf, (int32_t)v), sep);
}

void RT_STDCALL rt_write4(float v, uint32_t sep);
void RT_STDCALL rt_write4(float v, uint32_t sep) {
    char buf[40];
    rt_write_text(buf, rt_fmt_float(buf, v, 1), sep);
}

/* _$PsWRITE8@4 (rt_x87.S) passes ST0 here. */
void rt_write8(uint32_t sep, double v);
void rt_write8(uint32_t sep, double v) {
    char buf[40];
    rt_write_text(buf, rt_fmt_float(buf, v, 0), sep);
}

void RT_STDCALL rt_write5(uint32_t sep) RT_NAME("_$PsWRITE5@4");
void RT_STDCALL rt_write5(uint32_t sep) {
    RtStr s = rt_spop();
    const int quoted = s.kind != RT_KIND_DECIMAL; /* a decimal is a number */
    if (quoted) rt_out("\"", 1);
    rt_out(s.p, s.len);
    if (quoted) rt_out("\"", 1);
    rt_sfree(s);
    rt_write_sep(sep);
}

void RT_STDCALL rt_write_tmp(uint32_t sep) RT_NAME("_$PsWRITEtmp@4");
void RT_STDCALL rt_write_tmp(uint32_t sep) { rt_write5(sep); }

/* An empty item: nothing but its separator. */
void RT_STDCALL rt_write0(uint32_t sep) RT_NAME("_$PsWRITE0@4");
void RT_STDCALL rt_write0(uint32_t sep) {
    rt_sfree(rt_spop());
    rt_write_sep(sep);
}

void RT_STDCALL rt_write_end(void) RT_NAME("_$PsWRITEend@0");
void RT_STDCALL rt_write_end(void) {
    rt_out("\n", 1);
    rt_file_output_end();
}

/* ---- PRINT USING and FORMAT$ ---------------------------------------------- */

/* Where formatted text goes: the console, or a buffer for FORMAT$. */
typedef struct {
    char *buf;
    uint32_t len, cap;
} RtSink;

static void rt_sink_put(RtSink *k, const char *p, uint32_t n) {
    if (!k) {
        rt_out(p, n);
        return;
    }
    if (k->len + n > k->cap) {
        uint32_t cap = (k->len + n) * 2 + 16;
        char *q = rt_alloc(cap);
        memcpy(q, k->buf, k->len);
        rt_free(k->buf);
        k->buf = q;
        k->cap = rt_alloc_size(q);
    }
    memcpy(k->buf + k->len, p, n);
    k->len += n;
}

typedef struct {
    RtStr fmt;
    uint32_t pos;   /* next character of the format */
    uint32_t sep;   /* separator of the last item */
    int any;        /* a field was used */
    RtSink *sink;
} RtUsing;

static RtUsing rt_using;

/* A field of the format: its kind and, for numbers, its shape. */
enum { RT_F_NONE, RT_F_FIRST, RT_F_ALL, RT_F_FIXED, RT_F_NUMBER };
typedef struct {
    int kind;
    uint32_t width;            /* \ \ fields */
    int plus, trail, star, dollar, comma, point, expo;
    int ints, decs;            /* digit places before and after the point */
} RtUsingField;

static int rt_num_start(const char *f, uint32_t n, uint32_t i) {
    char c = f[i];
    char d = i + 1 < n ? f[i + 1] : 0;
    if (c == '#') return 1;
    if (c == '.' && d == '#') return 1;
    if ((c == '*' && d == '*') || (c == '$' && d == '$')) return 1;
    if (c == '+' && (d == '#' || d == '.' || (d == '*' && i + 2 < n && f[i + 2] == '*') ||
                     (d == '$' && i + 2 < n && f[i + 2] == '$')))
        return 1;
    return 0;
}

/* Reads the field at i; returns its length, 0 when i starts no field. */
static uint32_t rt_parse_field(const char *f, uint32_t n, uint32_t i, RtUsingField *s) {
    uint32_t j = i;
    s->kind = RT_F_NONE;
    s->plus = s->trail = s->star = s->dollar = s->comma = s->point = s->expo = 0;
    s->ints = s->decs = 0;
    if (f[i] == '!') {
        s->kind = RT_F_FIRST;
        return 1;
    }
    if (f[i] == '&') {
        s->kind = RT_F_ALL;
        return 1;
    }
    if (f[i] == '\\') {
        for (j = i + 1; j < n && f[j] == ' '; ++j) {
        }
        if (j < n && f[j] == '\\') {
            s->kind = RT_F_FIXED;
            s->width = j - i + 1;
            return j - i + 1;
        }
        return 0;
    }
    if (!rt_num_start(f, n, i)) return 0;
    s->kind = RT_F_NUMBER;
    if (f[j] == '+') {
        s->plus = 1;
        ++j;
    }
    if (j + 1 < n && f[j] == '*' && f[j + 1] == '*') {
        s->star = 1;
        s->ints += 2;
        j += 2;
        if (j < n && f[j] == '$') {
            s->dollar = 1;
            s->ints += 1;
            ++j;
        }
    } else if (j + 1 < n && f[j] == '$' && f[j + 1] == '$') {
        s->dollar = 1;
        s->ints += 2;
        j += 2;
    }
    while (j < n && (f[j] == '#' || f[j] == ',')) {
        if (f[j] == ',') s->comma = 1;
        ++s->ints;
        ++j;
    }
    if (j < n && f[j] == '.') {
        s->point = 1;
        ++j;
        while (j < n && f[j] == '#') {
            ++s->decs;
            ++j;
        }
    }
    if (j + 3 < n && f[j] == '^' && f[j + 1] == '^' && f[j + 2] == '^' && f[j + 3] == '^') {
        s->expo = 4;
        j += 4;
        if (j < n && f[j] == '^') {
            s->expo = 5;
            ++j;
        }
    }
    if (!s->plus && j < n && (f[j] == '+' || f[j] == '-')) {
        s->trail = f[j] == '+' ? 1 : 2;
        ++j;
    }
    return j - i;
}

/* Copies literal text up to the next field (a '_' makes the next character
   literal); returns 1 at a field, 0 at the end of the format. */
static int rt_literals(RtUsingField *field, uint32_t *flen) {
    RtUsing *u = &rt_using;
    const char *f = u->fmt.p;
    uint32_t n = u->fmt.len;
    while (u->pos < n) {
        uint32_t len = rt_parse_field(f, n, u->pos, field);
        if (len) {
            *flen = len;
            return 1;
        }
        if (f[u->pos] == '_' && u->pos + 1 < n) ++u->pos;
        rt_sink_put(u->sink, f + u->pos, 1);
        ++u->pos;
    }
    return 0;
}

/* The next field, from the start again after the end; error 5 when the
   format has none. */
static void rt_next_field(RtUsingField *field, uint32_t addr) {
    uint32_t flen = 0;
    if (!rt_literals(field, &flen)) {
        if (!rt_using.any) {
            /* no field at all: nothing to put the item in */
            uint32_t k;
            for (k = 0; k < rt_using.fmt.len; ++k)
                if (rt_parse_field(rt_using.fmt.p, rt_using.fmt.len, k, field)) break;
            if (k == rt_using.fmt.len) rt_fail(RT_E_ILLEGAL, addr);
        }
        rt_using.pos = 0;
        if (!rt_literals(field, &flen)) rt_fail(RT_E_ILLEGAL, addr);
    }
    rt_using.pos += flen;
    rt_using.any = 1;
}

static int rt_udigits(char *out, uint32_t v) {
    char t[12];
    int n = 0;
    do {
        t[n++] = (char)('0' + v % 10);
        v /= 10;
    } while (v);
    for (int i = 0; i < n; ++i) out[i] = t[n - 1 - i];
    return n;
}

/* Digits of a non-negative integer value held in a double (up to 10^18). */
static int rt_big_digits(char *out, double v) {
    if (v < 4294967295.0) return rt_udigits(out, (uint32_t)v);
    uint32_t hi = (uint32_t)(v / 1e9);
    uint32_t lo = (uint32_t)(v - (double)hi * 1e9);
    int n = rt_big_digits(out, (double)hi);
    char t[12];
    int k = rt_udigits(t, lo);
    for (int i = k; i < 9; ++i) out[n++] = '0';
    memcpy(out + n, t, (uint32_t)k);
    return n + k;
}

static double rt_p10(int e) {
    double r = 1;
    for (int i = 0; i < e; ++i) r *= 10;
    for (int i = 0; i > e; --i) r /= 10;
    return r;
}

/* What a number field shows, as digit text. In E notation `ip` holds the
   ipn places before the point and `fd` the decs places after it, with the
   exponent e; else `ip` is the integer part (ipn 0: it is 0) and `fd` the
   decs digits after the point. */
typedef struct {
    int neg;
    const char *ip;
    int ipn;
    const char *fd;
    int e;
} RtUsingParts;

/* Sign, "$", the digits with their commas, the point and what follows,
   padded to the field's width; a body wider than the field gets "%" in
   front. The body's room follows the digits: a long format or a large
   decimal has many. */
static void rt_using_put(const RtUsingField *s, const RtUsingParts *p, RtSink *sink) {
    int width = s->plus + s->ints + (s->point ? 1 + s->decs : 0) + s->expo;
    char *body = rt_alloc((uint32_t)(p->ipn + p->ipn / 3 + s->decs + 16));
    int n = 0;
    char sign = 0;
    if (s->plus) sign = p->neg ? '-' : '+';
    else if (!s->trail && p->neg) sign = '-';
    if (sign) body[n++] = sign;
    if (s->expo) {
        memcpy(body + n, p->ip, (uint32_t)p->ipn);
        n += p->ipn;
        if (s->point) {
            body[n++] = '.';
            memcpy(body + n, p->fd, (uint32_t)s->decs);
            n += s->decs;
        }
        body[n++] = 'E';
        body[n++] = p->e < 0 ? '-' : '+';
        char ed[12];
        int ek = rt_udigits(ed, (uint32_t)(p->e < 0 ? -p->e : p->e));
        for (int i = ek; i < s->expo - 2; ++i) body[n++] = '0';
        memcpy(body + n, ed, (uint32_t)ek);
        n += ek;
    } else {
        if (s->dollar) body[n++] = '$';
        if (p->ipn || !s->point) {
            const char *ip = p->ipn ? p->ip : "0";
            int k = p->ipn ? p->ipn : 1;
            for (int i = 0; i < k; ++i) {
                body[n++] = ip[i];
                if (s->comma && i < k - 1 && (k - 1 - i) % 3 == 0) body[n++] = ',';
            }
        } else if (n + 1 + 1 + s->decs <= width) {
            body[n++] = '0';
        }
        if (s->point) {
            body[n++] = '.';
            memcpy(body + n, p->fd, (uint32_t)s->decs);
            n += s->decs;
        }
    }
    if (n > width) rt_sink_put(sink, "%", 1);
    for (int i = n; i < width; ++i) rt_sink_put(sink, s->star ? "*" : " ", 1);
    rt_sink_put(sink, body, (uint32_t)n);
    if (s->trail == 1) rt_sink_put(sink, p->neg ? "-" : "+", 1);
    if (s->trail == 2) rt_sink_put(sink, p->neg ? "-" : " ", 1);
    rt_free(body);
}

/* Places of E notation: all but the minus sign's. */
static int rt_using_lead(const RtUsingField *s) {
    int lead = s->ints - (s->plus || s->trail ? 0 : 1);
    return lead < 0 ? 0 : lead;
}

/* A double has no more than this many digits worth showing; places past
   them are zeros, which keeps the scaled value within an integer. */
#define RT_USING_DBL_DIGITS 17

static void rt_using_number(double v, const RtUsingField *s, RtSink *sink) {
    RtUsingParts p;
    p.neg = v < 0;
    double a = p.neg ? -v : v;
    char *digits = rt_alloc((uint32_t)(s->ints + s->decs + 48));
    if (s->expo) {
        int lead = rt_using_lead(s);
        int total = lead + s->decs;
        int places = total > RT_USING_DBL_DIGITS ? s->decs - (total - RT_USING_DBL_DIGITS) : s->decs;
        int e = 0;
        double m = a;
        if (a != 0) {
            while (m >= 10) {
                m /= 10;
                ++e;
            }
            while (m < 1) {
                m *= 10;
                --e;
            }
            e -= lead > 0 ? lead - 1 : -1;
            m = a / rt_p10(e);
        }
        double scaled = m * rt_p10(places) + 0.5;
        double limit = rt_p10(lead + places);
        if (scaled >= limit && a != 0) {
            ++e;
            scaled = a / rt_p10(e) * rt_p10(places) + 0.5;
        }
        char dig[40];
        int k = rt_big_digits(dig, (double)(int64_t)scaled);
        int shown = lead + places; /* the digits the double gives, zeros after */
        int z = shown - k;
        for (int i = 0; i < z; ++i) digits[i] = '0';
        memcpy(digits + (z > 0 ? z : 0), dig, (uint32_t)k);
        for (int i = (z > 0 ? z : 0) + k; i < total; ++i) digits[i] = '0';
        p.ip = digits;
        p.ipn = lead;
        p.fd = digits + lead;
        p.e = e;
    } else {
        int places = s->decs > RT_USING_DBL_DIGITS ? RT_USING_DBL_DIGITS : s->decs;
        double scaled = a * rt_p10(places) + 0.5;
        if (scaled >= 1e18) scaled = 1e18;
        double whole = (double)(int64_t)scaled;
        double ip = (double)(int64_t)(whole / rt_p10(places));
        double frac = whole - ip * rt_p10(places);
        int k = rt_big_digits(digits, ip);
        char *fd = digits + k;
        int fk = places ? rt_big_digits(fd + places, frac) : 0;
        for (int i = 0; i < places - fk; ++i) fd[i] = '0';
        memmove(fd + places - fk, fd + places, (uint32_t)fk);
        for (int i = places; i < s->decs; ++i) fd[i] = '0';
        p.ip = digits;
        p.ipn = ip != 0 ? k : 0;
        p.fd = fd;
        p.e = 0;
    }
    rt_using_put(s, &p, sink);
    rt_free(digits);
}

/* A decimal from its exact digits, rounded half away from zero to the
   field's places: those after the point, or all of them in E notation. */
static void rt_using_decimal(const RtDecDigits *x, const RtUsingField *s, RtSink *sink) {
    int point = x->point, n = x->n;
    int lead = rt_using_lead(s);
    int keep = s->expo ? lead + s->decs : point + s->decs;
    uint8_t d[RT_DEC_DIGITS + 1]; /* d[0]: where a carry out of the first digit goes */
    d[0] = 0;
    memcpy(d + 1, x->d, (uint32_t)n);
    const uint8_t *digit = d + 1; /* n digits: 0.ddd x 10^point */
    if (n > keep) {
        int up = keep >= 0 && d[1 + keep] >= 5;
        n = keep > 0 ? keep : 0;
        if (up) {
            int i = n;
            while (i > 0 && d[i] == 9) d[i--] = 0;
            ++d[i];
            if (i == 0) {
                digit = d;
                ++n;
                ++point;
            }
        }
    }
    int ints = s->expo ? lead : n && point > 0 ? point : 0;
    char *out = rt_alloc((uint32_t)(ints + s->decs + 1));
    for (int i = 0; i < ints; ++i) out[i] = (char)('0' + (i < n ? digit[i] : 0));
    for (int j = 0; j < s->decs; ++j) {
        int at = s->expo ? lead + j : point + j;
        out[ints + j] = (char)('0' + (at >= 0 && at < n ? digit[at] : 0));
    }
    RtUsingParts p;
    p.neg = x->neg;
    p.ip = out;
    p.ipn = ints;
    p.fd = out + ints;
    p.e = s->expo && n ? point - lead : 0;
    rt_using_put(s, &p, sink);
    rt_free(out);
}

static void rt_using_begin(RtSink *sink) {
    rt_sfree(rt_using.fmt);
    rt_using.fmt = rt_spop();
    rt_using.pos = 0;
    rt_using.sep = 0;
    rt_using.any = 0;
    rt_using.sink = sink;
}

/* A single keeps 7 significant digits, a double 15: the value is rounded
   to them first, as PRINT shows it. */
static double rt_significant(double v, int digits) {
    long double a = v < 0 ? -(long double)v : v;
    if (a == 0 || digits == 0) return v;
    int e = 0;
    while (a >= 10) {
        a /= 10;
        ++e;
    }
    while (a < 1) {
        a *= 10;
        --e;
    }
    long double scale = 1;
    for (int i = 0; i < digits - 1; ++i) scale *= 10;
    long double r = (long double)(int64_t)(a * scale + 0.5L) / scale;
    for (; e > 0; --e) r *= 10;
    for (; e < 0; ++e) r /= 10;
    return (double)(v < 0 ? -r : r);
}

static void rt_using_num(double v, uint32_t sep, uint32_t addr, int digits) {
    v = rt_significant(v, digits);
    RtUsingField s;
    rt_next_field(&s, addr);
    if (s.kind != RT_F_NUMBER) rt_fail(RT_E_TYPE, addr);
    rt_using_number(v, &s, rt_using.sink);
    rt_using.sep = sep;
}

static void rt_using_str(RtStr t, uint32_t sep, uint32_t addr) {
    RtUsingField s;
    rt_next_field(&s, addr);
    if (s.kind == RT_F_NUMBER && t.kind == RT_KIND_DECIMAL) {
        /* a decimal in a number field: from its own digits, all of them */
        RtDecDigits x;
        rt_decimal_digits(t.p, t.len, &x, addr);
        rt_sfree(t);
        rt_using_decimal(&x, &s, rt_using.sink);
        rt_using.sep = sep;
        return;
    }
    if (s.kind == RT_F_NUMBER) rt_fail(RT_E_TYPE, addr);
    if (s.kind == RT_F_FIRST) {
        rt_sink_put(rt_using.sink, t.len ? t.p : " ", 1);
    } else if (s.kind == RT_F_ALL) {
        rt_sink_put(rt_using.sink, t.p, t.len);
    } else {
        uint32_t k = (uint32_t)rt_min((int32_t)t.len, (int32_t)s.width);
        rt_sink_put(rt_using.sink, t.p, k);
        for (; k < s.width; ++k) rt_sink_put(rt_using.sink, " ", 1);
    }
    rt_sfree(t);
    rt_using.sep = sep;
}

/* The literals after the last field, up to the next one or the end. */
static void rt_using_finish(void) {
    RtUsingField s;
    uint32_t flen;
    rt_literals(&s, &flen);
}

void RT_STDCALL rt_print_using_s(uint32_t window) RT_NAME("_$PsPRINT_USINGs@4");
void RT_STDCALL rt_print_using_s(uint32_t window) {
    (void)window;
    rt_using_begin(0);
}

void RT_STDCALL rt_lprint_using_s(void) RT_NAME("_$PsLPRINT_USINGs@0");
void RT_STDCALL rt_lprint_using_s(void) {
    extern void rt_printer_output_begin(void);
    rt_using_begin(0);
    rt_printer_output_begin();
}

void RT_STDCALL rt_print_using1(uint32_t v, uint32_t sep);
void RT_STDCALL rt_print_using1(uint32_t v, uint32_t sep) { rt_using_num(v & 0xFF, sep, RT_CALLER(), 0); }
void RT_STDCALL rt_print_using2(uint32_t v, uint32_t sep);
void RT_STDCALL rt_print_using2(uint32_t v, uint32_t sep) { rt_using_num((int16_t)v, sep, RT_CALLER(), 0); }
void RT_STDCALL rt_print_using6(uint32_t v, uint32_t sep);
void RT_STDCALL rt_print_using6(uint32_t v, uint32_t sep) { rt_using_num((int32_t)v, sep, RT_CALLER(), 0); }
void RT_STDCALL rt_print_using4(float v, uint32_t sep);
void RT_STDCALL rt_print_using4(float v, uint32_t sep) { rt_using_num(v, sep, RT_CALLER(), 7); }
/* _$PsPRINT_USING8@4 (rt_x87.S) passes ST0 here. */
void rt_print_using8(uint32_t sep, double v);
void rt_print_using8(uint32_t sep, double v) { rt_using_num(v, sep, 0, 15); }

void RT_STDCALL rt_print_using5(uint32_t sep) RT_NAME("_$PsPRINT_USING5@4");
void RT_STDCALL rt_print_using5(uint32_t sep) { rt_using_str(rt_spop(), sep, RT_CALLER()); }

void RT_STDCALL rt_print_using_tmp(uint32_t sep) RT_NAME("_$PsPRINT_USINGtmp@4");
void RT_STDCALL rt_print_using_tmp(uint32_t sep) { rt_using_str(rt_spop(), sep, RT_CALLER()); }

void RT_STDCALL rt_print_using_end(void) RT_NAME("_$PsPRINT_USINGend@0");
void RT_STDCALL rt_print_using_end(void) {
    rt_using_finish();
    if (rt_using.sep == 0) rt_out("\n", 1);
    rt_file_output_end();
}

/* FORMAT$(x, fmt$): what PRINT USING fmt$; x; prints. The format is on
   top of the string stack, a string value below it. */
static RtSink rt_format_sink;

static void rt_format_begin(void) {
    rt_format_sink.buf = 0;
    rt_format_sink.len = rt_format_sink.cap = 0;
    rt_using_begin(&rt_format_sink);
}

static void rt_format_end(void) {
    rt_using_finish();
    rt_spush(rt_format_sink.buf, rt_format_sink.len, rt_format_sink.cap);
}

static void rt_format_num(double v, int digits) {
    rt_format_begin();
    rt_using_num(v, 0, 0, digits);
    rt_format_end();
}

void RT_STDCALL rt_format1(uint32_t v);
void RT_STDCALL rt_format1(uint32_t v) { rt_format_num(v & 0xFF, 0); }
void RT_STDCALL rt_format2(uint32_t v);
void RT_STDCALL rt_format2(uint32_t v) { rt_format_num((int16_t)v, 0); }
void RT_STDCALL rt_format6(uint32_t v);
void RT_STDCALL rt_format6(uint32_t v) { rt_format_num((int32_t)v, 0); }
void RT_STDCALL rt_format4(float v);
void RT_STDCALL rt_format4(float v) { rt_format_num(v, 7); }

void rt_format8(double v);
void rt_format8(double v) { rt_format_num(v, 15); }

void RT_STDCALL rt_format5(void) RT_NAME("_$PfFORMAT245@0");
void RT_STDCALL rt_format5(void) {
    rt_format_begin();
    rt_using_str(rt_spop(), 0, RT_CALLER());
    rt_format_end();
}

/* ---- LPRINT: the printer the host gives, else the console ------------------ */

void RT_STDCALL rt_lprint_s(void) RT_NAME("_$PsLPRINTs@0");
void RT_STDCALL rt_lprint_s(void) {
    extern void RT_STDCALL rt_print_start(uint32_t window) RT_NAME("_$PsPRINTs@4");
    extern void rt_printer_output_begin(void);
    rt_print_start(0);
    rt_printer_output_begin();
}

/* The printer has one type of its own; there is nothing to choose. */
void RT_STDCALL rt_lprint_type(void) RT_NAME("_$PsLPRINT_TYPE@0");
void RT_STDCALL rt_lprint_type(void) {}

/* ---- clock, command line, environment, memory ------------------------------ */

static uint32_t rt_clock[4];

static void rt_read_clock(void) { rt_host_clock(rt_clock); }

static void rt_two(char *p, uint32_t v) {
    p[0] = (char)('0' + v / 10 % 10);
    p[1] = (char)('0' + v % 10);
}

void RT_STDCALL rt_date_s(void) RT_NAME("_$PfDATE24@0");
void RT_STDCALL rt_date_s(void) {
    char t[10];
    rt_read_clock();
    uint32_t d = rt_clock[0];
    rt_two(t, d / 1000000);
    rt_two(t + 2, d / 10000 % 100);
    t[4] = '/';
    rt_two(t + 5, d / 100 % 100);
    t[7] = '/';
    rt_two(t + 8, d % 100);
    rt_spush_copy(t, 10);
}

void RT_STDCALL rt_time_s(void) RT_NAME("_$PfTIME24@0");
void RT_STDCALL rt_time_s(void) {
    char t[8];
    rt_read_clock();
    uint32_t h = rt_clock[1];
    rt_two(t, h / 10000);
    t[2] = ':';
    rt_two(t + 3, h / 100 % 100);
    t[5] = ':';
    rt_two(t + 6, h % 100);
    rt_spush_copy(t, 8);
}

/* The day of the week, one double-byte character (Sunday first). */
void RT_STDCALL rt_today_s(void) RT_NAME("_$PfTODAY24@0");
void RT_STDCALL rt_today_s(void) {
    static const char days[] = "\x93\xfa\x8c\x8e\x89\xce\x90\x85\x96\xd8\x8b\xe0\x93\x79";
    rt_read_clock();
    rt_spush_copy(days + 2 * (rt_clock[3] % 7), 2);
}

int32_t RT_STDCALL rt_date(void) RT_NAME("_$PfDATE@0");
int32_t RT_STDCALL rt_date(void) {
    rt_read_clock();
    return (int32_t)rt_clock[0];
}

int32_t RT_STDCALL rt_time(void) RT_NAME("_$PfTIME@0");
int32_t RT_STDCALL rt_time(void) {
    rt_read_clock();
    return (int32_t)rt_clock[1];
}

int32_t RT_STDCALL rt_millitime(void) RT_NAME("_$PfMILLITIME@0");
int32_t RT_STDCALL rt_millitime(void) {
    rt_read_clock();
    return (int32_t)rt_clock[2];
}

/* The host's answer for a name (0: the command line) onto the string
   stack; with `whole` as NAME=value. */
static void rt_host_text(const char *name, uint32_t nlen, int whole) {
    char nm[256];
    char buf[1024];
    uint32_t k = 0;
    if (name) {
        if (nlen > 255) nlen = 255;
        memcpy(nm, name, nlen);
        nm[nlen] = 0;
    }
    int32_t r = name ? rt_host_env(nm, buf, sizeof buf) : (int32_t)rt_host_command_line(buf, sizeof buf);
    if (r < 0) {
        rt_spush(0, 0, 0);
        return;
    }
    uint32_t n = (uint32_t)r;
    char out[1300];
    if (whole) {
        memcpy(out, nm, nlen);
        k = nlen;
        out[k++] = '=';
    }
    memcpy(out + k, buf, n);
    rt_spush_copy(out, k + n);
}

void RT_STDCALL rt_command_s(void) RT_NAME("_$PfCOMMAND24@0");
void RT_STDCALL rt_command_s(void) { rt_host_text(0, 0, 0); }

void RT_STDCALL rt_env_s(void) RT_NAME("_$PfENV24@0");
void RT_STDCALL rt_env_s(void) {
    RtStr s = rt_spop();
    rt_host_text(s.p ? s.p : "", s.len, 0);
    rt_sfree(s);
}

void RT_STDCALL rt_environ_s(void) RT_NAME("_$PfENVIRON24@0");
void RT_STDCALL rt_environ_s(void) {
    RtStr s = rt_spop();
    rt_host_text(s.p ? s.p : "", s.len, 1);
    rt_sfree(s);
}

int32_t RT_STDCALL rt_fre(int32_t n) RT_NAME("_$PfFRE@4");
int32_t RT_STDCALL rt_fre(int32_t n) {
    (void)n;
    return (int32_t)rt_heap_free();
}

/* STRADR: the address of the string's text, valid until the next STRADR. */
static RtStr rt_stradr_keep;
int32_t RT_STDCALL rt_stradr(void) RT_NAME("_$PfSTRADR@0");
int32_t RT_STDCALL rt_stradr(void) {
    rt_sfree(rt_stradr_keep);
    rt_stradr_keep = rt_spop();
    return (int32_t)rt_stradr_keep.p;
}

/* The value a machine-code routine left (CALLM); RTN reads it. */
static int32_t rt_rtn_value;
void RT_STDCALL rt_set_rtn(int32_t v) RT_NAME("_$PbSetRtn@4");
void RT_STDCALL rt_set_rtn(int32_t v) { rt_rtn_value = v; }
void RT_STDCALL rt_set_rtn_sub(int32_t v) RT_NAME("_$PbSetRtnSub@4");
void RT_STDCALL rt_set_rtn_sub(int32_t v) { rt_rtn_value = v; }
int32_t RT_STDCALL rt_rtn(void) RT_NAME("_$PfRTN@0");
int32_t RT_STDCALL rt_rtn(void) { return rt_rtn_value; }

/* ---- SEARCH ------------------------------------------------------------------ */

/* SEARCH(array, value, start, end): the first subscript from start to end
   (the whole array when end < start is 0 ... bound) whose element equals
   value, else -1. The array's control record; the value in ST0 (passed
   here) or on the string stack. */
int32_t rt_search(const uint8_t *control, int32_t start, int32_t end, double v);
int32_t rt_search(const uint8_t *control, int32_t start, int32_t end, double v) {
    uint32_t type = control[1];
    const uint8_t *data = *(const uint8_t *const *)(control + 2);
    const uint8_t *bounds = *(const uint8_t *const *)(control + 6);
    RtStr s = {0, 0, 0, RT_KIND_TEXT};
    if (type >= 16 && type <= 19) s = rt_spop();
    if (!data || !bounds || bounds[0] != 1) rt_fail(RT_E_ILLEGAL, 0);
    int32_t bound;
    memcpy(&bound, bounds + 1, 4);
    if (end < 0 || end > bound) end = bound;
    if (start < 0) rt_fail(RT_E_ILLEGAL, 0);
    int32_t found = -1;
    for (int32_t i = start; i <= end && found < 0; ++i) {
        switch (type) {
        case 0: found = ((const int16_t *)data)[i] == v ? i : -1; break;
        case 1: found = ((const int32_t *)data)[i] == v ? i : -1; break;
        case 2: found = ((const float *)data)[i] == (float)v ? i : -1; break;
        case 3: found = ((const double *)data)[i] == v ? i : -1; break;
        case 4: found = data[i] == v ? i : -1; break;
        case 16: {
            const RtDesc *d = (const RtDesc *)data + i;
            int eq = d->len == s.len;
            for (uint32_t k = 0; eq && k < s.len; ++k) eq = d->p[k] == s.p[k];
            found = eq ? i : -1;
            break;
        }
        default: rt_fail(RT_E_TYPE, 0);
        }
    }
    rt_sfree(s);
    return found;
}

/* ---- floating results the x87 flags missed --------------------------------- */

/* The store just before the call at ret - 5 (FSTP of a single, D9, or a
   double, DD, to an absolute address, [EBP + d8], [EBP + d32] or [EBX]):
   5 when it wrote a NaN, 6 an infinity, else 0. */
int rt_stored_bad(uint32_t ret, uint32_t ebp, uint32_t ebx);
int rt_stored_bad(uint32_t ret, uint32_t ebp, uint32_t ebx) {
    const uint8_t *c = (const uint8_t *)(ret - 5);
    uint32_t at = 0;
    int dbl = 0;
    if ((c[-6] == 0xD9 || c[-6] == 0xDD) && (c[-5] == 0x1D || c[-5] == 0x9D)) {
        uint32_t d;
        memcpy(&d, c - 4, 4);
        at = c[-5] == 0x1D ? d : ebp + d;
        dbl = c[-6] == 0xDD;
    } else if ((c[-3] == 0xD9 || c[-3] == 0xDD) && c[-2] == 0x5D) {
        at = ebp + (uint32_t)(int32_t)(int8_t)c[-1];
        dbl = c[-3] == 0xDD;
    } else if ((c[-2] == 0xD9 || c[-2] == 0xDD) && c[-1] == 0x1B) {
        at = ebx;
        dbl = c[-2] == 0xDD;
    } else {
        return 0;
    }
    uint32_t hi, lo = 0;
    memcpy(&hi, (const void *)(at + (dbl ? 4 : 0)), 4);
    if (dbl) memcpy(&lo, (const void *)at, 4);
    uint32_t expMask = dbl ? 0x7FF00000u : 0x7F800000u;
    if ((hi & expMask) != expMask) return 0;
    return ((hi & ~(expMask | 0x80000000u)) | lo) ? 5 : 6;
}

/* SHELL: the command runs through the host; its output goes to the
   console as the runtime's own (the column follows it) and its exit status
   becomes RTN. A command that cannot start is the host's error. */
void RT_STDCALL rt_shell(int32_t a, int32_t b, int32_t c) RT_NAME("_$PsSHELL@12");
void RT_STDCALL rt_shell(int32_t a, int32_t b, int32_t c) {
    (void)a;
    (void)b;
    (void)c;
    uint32_t addr = RT_CALLER();
    RtStr s = rt_spop();
    int32_t result = 0;
    rt_flush();
    int32_t r = rt_host_shell(s.p ? s.p : "", s.len, rt_out, &result);
    rt_sfree(s);
    if (r < 0) rt_fail(-r, addr);
    rt_rtn_value = result;
}
