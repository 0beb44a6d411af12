/* Files: OPEN, CLOSE, the "#" forms of PRINT, WRITE, INPUT and LINE INPUT,
   records (FIELD, GET, PUT), FREAD/FWRITE, SEEK, LOCK, TRUNCATE, UPDATE, KILL,
   NAME, WIDTH #, and the file functions. The host keeps the files (service
   calls, rt.h); every write goes to it at once, so nothing is lost when the
   program ends or stops. */
#include "rt.h"

#define RT_FILES 255
#define RT_CACHE 512
#define RT_FIELDS 64

/* Modes as OPEN's mode word gives them; 0 (no FOR clause) is RANDOM. */
enum { M_CLOSED, M_INPUT, M_OUTPUT, M_APPEND, M_RANDOM, M_BINARY };
/* Access words: 1 READ, 2 WRITE, 3 READ WRITE; 0 none given. */
enum { A_READ = 1, A_WRITE = 2, A_BOTH = 3 };

typedef struct {
    uint32_t mode;
    uint32_t access;
    uint32_t lock;      /* OPEN's lock word: 0 none, SHARED, LOCK READ, WRITE, READ WRITE */
    char *name;         /* upper-cased: two numbers on one file share its locks */
    intptr_t handle;
    uint32_t pos;       /* next byte to read or write */
    uint32_t reclen;    /* RANDOM: the record length */
    uint32_t rec;       /* RANDOM: the last record read or written */
    uint32_t column;    /* output column, for print zones and WIDTH */
    uint32_t width;     /* WIDTH #: line length, 0 none */
    uint32_t at_end;    /* the last GET or FREAD ran past the end */
    char *field;        /* RANDOM: the record buffer FIELD maps */
    RtDesc *mapped[RT_FIELDS]; /* the variables FIELD pointed into it */
    uint32_t nmapped;
    char cache[RT_CACHE];
    uint32_t cache_pos, cache_len;
} RtFile;

static RtFile rt_files[RT_FILES + 1];
extern uint32_t rt_err_file;

/* OPEN's lock words as the program pushes them. */
enum { L_SHARED = 8, L_READ = 9, L_WRITE = 10, L_BOTH = 11 };

/* A LOCK held by a file number on bytes first..last of its file (records
   are turned into their bytes; a whole file is 0..~0). Another number on
   the same file may not read or write those bytes: error 70. */
#define RT_LOCKS 256
typedef struct {
    int32_t n;
    uint32_t first, last;
} RtLock;
static RtLock rt_locks[RT_LOCKS];
static uint32_t rt_nlocks;

static RT_NORETURN void rt_file_fail(int code, uint32_t n, uint32_t addr) {
    rt_err_file = n;
    rt_fail(code, addr);
}

static int rt_same_name(const char *a, const char *b) {
    while (*a && *a == *b) ++a, ++b;
    return *a == *b;
}

static int rt_same_file(const RtFile *a, const RtFile *b) {
    return a != b && a->mode != M_CLOSED && b->mode != M_CLOSED && a->name && b->name && rt_same_name(a->name, b->name);
}

/* Bytes pos..pos+len-1 of file n against the locks of the other numbers on
   the same file. */
static void rt_lock_check(const RtFile *f, uint32_t n, uint32_t pos, uint32_t len, uint32_t addr) {
    uint32_t last = pos + len - 1 < pos ? 0xFFFFFFFFu : pos + len - 1;
    for (uint32_t i = 0; i < rt_nlocks; ++i) {
        const RtLock *l = &rt_locks[i];
        if (l->n == (int32_t)n || !rt_same_file(&rt_files[l->n], f)) continue;
        if (l->first <= last && pos <= l->last) rt_file_fail(RT_E_PERMISSION, n, addr);
    }
}

static void rt_locks_release(int32_t n) {
    for (uint32_t i = 0; i < rt_nlocks;) {
        if (rt_locks[i].n == n) rt_locks[i] = rt_locks[--rt_nlocks];
        else ++i;
    }
}

static RtFile *rt_file_get(int32_t n, uint32_t addr) {
    if (n < 1 || n > RT_FILES || rt_files[n].mode == M_CLOSED) rt_file_fail(RT_E_FILENUM, (uint32_t)n, addr);
    return &rt_files[n];
}

static int rt_can_write(const RtFile *f) {
    if (f->mode == M_INPUT) return 0;
    return f->access != A_READ;
}

static int rt_can_read(const RtFile *f) {
    if (f->mode == M_OUTPUT || f->mode == M_APPEND) return 0;
    return f->access != A_WRITE;
}

/* A file name from the string stack, zero-terminated, without trailing
   blanks. */
static char *rt_pop_name(uint32_t addr) {
    RtStr s = rt_spop();
    uint32_t n = s.len;
    while (n && s.p[n - 1] == ' ') --n;
    char *z = rt_alloc(n + 1);
    memcpy(z, s.p, n);
    z[n] = 0;
    rt_sfree(s);
    (void)addr;
    return z;
}

static void rt_file_put(RtFile *f, uint32_t n, const char *p, uint32_t len, uint32_t addr) {
    if (!len) return;
    if (!rt_can_write(f)) rt_file_fail(RT_E_FILEMODE, n, addr);
    rt_lock_check(f, n, f->pos, len, addr);
    int32_t r = rt_host_write_at(f->handle, f->pos, p, len);
    if (r < 0) rt_file_fail(-r, n, addr);
    f->pos += len;
    f->cache_len = 0;
}

static uint32_t rt_file_size(RtFile *f) {
    int32_t r = rt_host_size(f->handle);
    return r < 0 ? 0 : (uint32_t)r;
}

/* Reads up to len bytes at pos; returns the count. */
static uint32_t rt_file_take(RtFile *f, uint32_t n, char *p, uint32_t len, uint32_t pos, uint32_t addr) {
    if (!len) return 0;
    rt_lock_check(f, n, pos, len, addr);
    int32_t r = rt_host_read(f->handle, pos, p, len);
    if (r < 0) rt_file_fail(-r, n, addr);
    return (uint32_t)r;
}

/* The next byte of a sequential file, or -1 at the end. */
static int rt_getc(RtFile *f, uint32_t n, uint32_t addr) {
    if (f->pos < f->cache_pos || f->pos >= f->cache_pos + f->cache_len) {
        f->cache_pos = f->pos;
        f->cache_len = rt_file_take(f, n, f->cache, RT_CACHE, f->pos, addr);
        if (!f->cache_len) return -1;
    }
    return (unsigned char)f->cache[f->pos++ - f->cache_pos];
}

static int rt_peekc(RtFile *f, uint32_t n, uint32_t addr) {
    int c = rt_getc(f, n, addr);
    if (c >= 0) --f->pos;
    return c;
}

/* The record buffer goes with its file; the variables FIELD pointed into
   it (and that still do) become empty strings instead of dangling. */
static void rt_field_release(RtFile *f) {
    if (!f->field) return;
    for (uint32_t i = 0; i < f->nmapped; ++i) {
        RtDesc *d = f->mapped[i];
        if (!d->cap && d->p >= f->field && d->p < f->field + f->reclen) {
            d->p = 0;
            d->len = 0;
        }
    }
    rt_free(f->field);
    f->field = 0;
    f->nmapped = 0;
}

void rt_files_close_all(void) {
    for (uint32_t n = 1; n <= RT_FILES; ++n) {
        RtFile *f = &rt_files[n];
        if (f->mode == M_CLOSED) continue;
        rt_host_close(f->handle);
        rt_field_release(f);
        rt_free(f->name);
        f->name = 0;
        f->mode = M_CLOSED;
    }
    rt_nlocks = 0;
}

/* ---- OPEN and CLOSE ---------------------------------------------------- */

/* OPEN f$ [FOR mode] [ACCESS acc] [lock] AS #n [LEN = r]: the name on the
   string stack; the words as their items give them (0: not given). */
void RT_STDCALL rt_open1(uint32_t mode, uint32_t access, uint32_t lock, int32_t n, int32_t reclen)
    RT_NAME("_$PsOPEN1@20");
void RT_STDCALL rt_open1(uint32_t mode, uint32_t access, uint32_t lock, int32_t n, int32_t reclen) {
    uint32_t addr = RT_CALLER();
    char *name = rt_pop_name(addr);
    if (n < 1 || n > RT_FILES) rt_file_fail(RT_E_FILENUM, (uint32_t)n, addr);
    RtFile *f = &rt_files[n];
    if (f->mode != M_CLOSED) rt_file_fail(RT_E_OPEN, (uint32_t)n, addr);
    if (mode == 0) mode = M_RANDOM;
    if (mode > M_BINARY || access > A_BOTH) rt_file_fail(RT_E_ILLEGAL, (uint32_t)n, addr);
    if (reclen < 0 || reclen > 32767) rt_file_fail(RT_E_ILLEGAL, (uint32_t)n, addr);
    if (lock && (lock < L_SHARED || lock > L_BOTH)) rt_file_fail(RT_E_ILLEGAL, (uint32_t)n, addr);
    for (char *c = name; *c; ++c)
        if (*c >= 'a' && *c <= 'z') *c = (char)(*c - 32);
    /* The lock words of this OPEN and of the numbers already open on the
       file must allow each other's reading and writing. */
    RtFile want;
    want.mode = mode;
    want.access = access;
    for (uint32_t m = 1; m <= RT_FILES; ++m) {
        const RtFile *o = &rt_files[m];
        if (o->mode == M_CLOSED || !o->name || !rt_same_name(o->name, name)) continue;
        if (o->lock == L_BOTH || lock == L_BOTH || (o->lock == L_READ && rt_can_read(&want)) ||
            (o->lock == L_WRITE && rt_can_write(&want)) || (lock == L_READ && rt_can_read(o)) ||
            (lock == L_WRITE && rt_can_write(o))) {
            rt_free(name);
            rt_file_fail(RT_E_PERMISSION, (uint32_t)n, addr);
        }
    }
    uint32_t how;
    switch (mode) {
    case M_INPUT: how = RT_HOST_READ; break;
    case M_OUTPUT: how = RT_HOST_CREATE; break;
    case M_APPEND: how = RT_HOST_APPEND; break;
    default: how = access == A_READ ? RT_HOST_READ : access == A_WRITE ? RT_HOST_WRITE : RT_HOST_UPDATE; break;
    }
    intptr_t h = 0;
    int32_t e = rt_host_open(name, (int)how, &h);
    if (e < 0) {
        rt_free(name);
        rt_file_fail(-e, (uint32_t)n, addr);
    }
    memset(f, 0, sizeof *f);
    f->mode = mode;
    f->access = access;
    f->lock = lock;
    f->name = name;
    f->handle = h;
    f->reclen = reclen ? (uint32_t)reclen : 128;
    if (mode == M_APPEND) f->pos = rt_file_size(f);
    if (mode == M_RANDOM) {
        f->field = rt_alloc(f->reclen);
        memset(f->field, 0, f->reclen);
    }
}

/* OPEN mode$, #n, f$: the mode letter on top of the string stack, the
   name below it. */
void RT_STDCALL rt_open2(int32_t n) RT_NAME("_$PsOPEN2@4");
void RT_STDCALL rt_open2(int32_t n) {
    uint32_t addr = RT_CALLER();
    RtStr m = rt_spop();
    RtStr name = rt_spop();
    char c = m.len ? m.p[0] : 0;
    rt_sfree(m);
    uint32_t mode = c == 'I' || c == 'i' ? M_INPUT : c == 'O' || c == 'o' ? M_OUTPUT
                  : c == 'A' || c == 'a' ? M_APPEND : c == 'R' || c == 'r' ? M_RANDOM
                  : c == 'B' || c == 'b' ? M_BINARY : 99;
    rt_spush(name.p, name.len, name.cap);
    if (mode == 99) {
        rt_sreset();
        rt_file_fail(RT_E_FILEMODE, (uint32_t)n, addr);
    }
    rt_open1(mode, 0, 0, n, 0);
}

static void rt_close_one(int32_t n, uint32_t addr) {
    RtFile *f = rt_file_get(n, addr);
    rt_host_close(f->handle);
    rt_field_release(f);
    rt_locks_release(n);
    rt_free(f->name);
    memset(f, 0, sizeof *f);
}

/* CLOSE [n, ...]: block = {count, file numbers in the order written}; no
   number closes every file. */
void RT_STDCALL rt_close(const int32_t *block) RT_NAME("_$PsCLOSE@4");
void RT_STDCALL rt_close(const int32_t *block) {
    uint32_t addr = RT_CALLER();
    if (block[0] == 0) {
        rt_files_close_all();
        return;
    }
    for (int32_t i = 1; i <= block[0]; ++i) rt_close_one(block[i], addr);
}

/* ---- PRINT #, WRITE # -------------------------------------------------- */

static RtFile *rt_out_file;
static uint32_t rt_out_num, rt_out_addr;
static uint32_t rt_console_column, rt_console_width;

/* Lines in files end with CR LF; WIDTH # breaks long lines. */
static void rt_file_out(const char *s, uint32_t n) {
    RtFile *f = rt_out_file;
    char buf[256];
    uint32_t k = 0;
    for (uint32_t i = 0; i < n; ++i) {
        char c = s[i];
        if (k + 2 > sizeof buf) {
            rt_file_put(f, rt_out_num, buf, k, rt_out_addr);
            k = 0;
        }
        if (c == '\n') {
            buf[k++] = '\r';
            buf[k++] = '\n';
            f->column = 0;
            continue;
        }
        if (f->width && f->column >= f->width) {
            buf[k++] = '\r';
            buf[k++] = '\n';
            f->column = 0;
            if (k + 2 > sizeof buf) {
                rt_file_put(f, rt_out_num, buf, k, rt_out_addr);
                k = 0;
            }
        }
        buf[k++] = c;
        ++f->column;
    }
    rt_file_put(f, rt_out_num, buf, k, rt_out_addr);
    rt_column = f->column;
}

/* Sends the output of the statement now starting to file n; its end
   routine sends it back to the console. */
void rt_file_output_begin(int32_t n, uint32_t addr) {
    RtFile *f = rt_file_get(n, addr);
    if (!rt_can_write(f) || f->mode == M_RANDOM) rt_file_fail(RT_E_FILEMODE, (uint32_t)n, addr);
    rt_out_file = f;
    rt_out_num = (uint32_t)n;
    rt_out_addr = addr;
    rt_console_column = rt_column;
    rt_console_width = rt_width; /* the console's WIDTH is not the file's */
    rt_width = 0;
    rt_column = f->column;
    rt_redirect = rt_file_out;
}

/* The printer: the host's printer service, or the console when the host
   has none (then LPRINT is PRINT). Its column and WIDTH LPRINT's width are its own. */
int32_t rt_printer_width;
uint32_t rt_printer_column;
static int rt_printer_state; /* 0 not asked yet, 1 the host's printer, 2 none */

int rt_have_printer(void) {
    if (!rt_printer_state) rt_printer_state = rt_host_printer() ? 1 : 2;
    return rt_printer_state == 1;
}

static void rt_printer_put(const char *s, uint32_t n) {
    if (n) rt_host_print(s, n);
}

static void rt_printer_out(const char *s, uint32_t n) {
    char buf[256];
    uint32_t k = 0;
    for (uint32_t i = 0; i < n; ++i) {
        if (k + 2 > sizeof buf) {
            rt_printer_put(buf, k);
            k = 0;
        }
        char c = s[i];
        if (c != '\n' && rt_printer_width && rt_printer_column >= (uint32_t)rt_printer_width) {
            buf[k++] = '\n';
            rt_printer_column = 0;
            if (k + 2 > sizeof buf) {
                rt_printer_put(buf, k);
                k = 0;
            }
        }
        buf[k++] = c;
        rt_printer_column = c == '\n' ? 0 : rt_printer_column + 1;
        rt_column = rt_printer_column;
    }
    rt_printer_put(buf, k);
    rt_column = rt_printer_column;
}

/* LPRINT and LPRINT USING: the statement's output goes to the printer;
   the end routine sends it back to the console. */
void rt_printer_output_begin(void) {
    if (!rt_have_printer()) return; /* no printer: the console is the printer */
    rt_console_column = rt_column;
    rt_console_width = rt_width;
    rt_width = (uint32_t)rt_printer_width; /* an item that would pass it starts a line */
    rt_column = rt_printer_column;
    rt_redirect = rt_printer_out;
}

void rt_file_output_end(void) {
    if (!rt_redirect) return;
    rt_redirect = 0;
    rt_column = rt_console_column;
    rt_width = rt_console_width;
}

void RT_STDCALL rt_print_start(uint32_t window) __asm__("_$PsPRINTs@4");
void RT_STDCALL rt_print_end(void) __asm__("_$PsPRINTend@0");

void RT_STDCALL rt_print23_start(int32_t n) RT_NAME("_$PsPRINT23s@4");
void RT_STDCALL rt_print23_start(int32_t n) {
    rt_print_start(0);
    rt_file_output_begin(n, RT_CALLER());
}

/* PRINT # USING: the format on the string stack, as for the console. */
void RT_STDCALL rt_print_using_start(uint32_t window) __asm__("_$PsPRINT_USINGs@4");
void RT_STDCALL rt_print23_using_start(int32_t n) RT_NAME("_$PsPRINT23USINGs@4");
void RT_STDCALL rt_print23_using_start(int32_t n) {
    uint32_t addr = RT_CALLER();
    rt_file_output_begin(n, addr);
    rt_print_using_start(0);
}

void RT_STDCALL rt_write_start(uint32_t window) __asm__("_$PsWRITEs@4");
void RT_STDCALL rt_write23_start(int32_t n) RT_NAME("_$PsWRITE23s@4");
void RT_STDCALL rt_write23_start(int32_t n) {
    rt_write_start(0);
    rt_file_output_begin(n, RT_CALLER());
}

/* ---- INPUT #, LINE INPUT # --------------------------------------------- */

static RtFile *rt_in_file;
static uint32_t rt_in_num;

void rt_file_abort(void) {
    rt_file_output_end();
    rt_in_file = 0;
}

static RtFile *rt_input_file(int32_t n, uint32_t addr) {
    RtFile *f = rt_file_get(n, addr);
    if (!rt_can_read(f) || f->mode == M_RANDOM) rt_file_fail(RT_E_FILEMODE, (uint32_t)n, addr);
    return f;
}

void RT_STDCALL rt_input23_start(int32_t n) RT_NAME("_$PsINPUT23s@4");
void RT_STDCALL rt_input23_start(int32_t n) {
    rt_in_file = rt_input_file(n, RT_CALLER());
    rt_in_num = (uint32_t)n;
}

void RT_STDCALL rt_line_input23_start(int32_t n) RT_NAME("_$PsLINE_INPUT23s@4");
void RT_STDCALL rt_line_input23_start(int32_t n) { rt_input23_start(n); }

/* One field of INPUT #: blanks before it are skipped; a quoted field runs
   to the closing quote, any other to a comma or the line's end (strings)
   or also to a blank (numbers). The separator after it is consumed. */
static uint32_t rt_read_field(char *buf, uint32_t max, int is_string, uint32_t addr) {
    RtFile *f = rt_in_file;
    uint32_t n = rt_in_num, k = 0;
    int c;
    do c = rt_getc(f, n, addr);
    while (c == ' ' || c == '\t' || (!is_string && (c == '\r' || c == '\n')));
    if (is_string && (c == '\r' || c == '\n')) {
        /* an empty line is an empty string; skip the line end */
        if (c == '\r' && rt_peekc(f, n, addr) == '\n') rt_getc(f, n, addr);
        return 0;
    }
    if (c < 0) rt_file_fail(RT_E_INPUTEND, n, addr);
    if (c == '"' && is_string) {
        while ((c = rt_getc(f, n, addr)) >= 0 && c != '"')
            if (k < max) buf[k++] = (char)c;
        /* skip to the separator */
        while ((c = rt_peekc(f, n, addr)) == ' ' || c == '\t') rt_getc(f, n, addr);
        c = rt_getc(f, n, addr);
    } else {
        while (c >= 0 && c != ',' && c != '\r' && c != '\n' && !(!is_string && (c == ' ' || c == '\t'))) {
            if (k < max) buf[k++] = (char)c;
            c = rt_getc(f, n, addr);
        }
        if (is_string)
            while (k && buf[k - 1] == ' ') --k;
        else
            while (c == ' ' || c == '\t') c = rt_getc(f, n, addr);
    }
    if (c == '\r' && rt_peekc(f, n, addr) == '\n') rt_getc(f, n, addr);
    else if (c >= 0 && c != ',' && c != '\r' && c != '\n') --f->pos; /* not a separator: leave it */
    return k;
}

void rt_store_value(uint32_t type, void *target, double v, uint32_t addr); /* rt_data.c */

/* INPUT # variables: block = {count, then (address, type word) pairs; the
   variables were pushed in the order written, so the last one comes
   first}. */
static void rt_input_file_vars(const uint32_t *block, uint32_t addr) {
    static char buf[32768];
    for (uint32_t i = block[0]; i-- > 0;) {
        void *p = (void *)block[1 + 2 * i];
        uint32_t type = block[2 + 2 * i] & 0xFF;
        int is_string = type >= 16 && type <= 19;
        uint32_t k = rt_read_field(buf, sizeof buf, is_string, addr);
        if (is_string) {
            rt_spush_copy(buf, k);
            rt_desc_assign((RtDesc *)p, rt_spop());
        } else {
            uint32_t used;
            double v = rt_parse_number(buf, k, &used);
            if (used != k) rt_fail(RT_E_TYPE, addr);
            rt_store_value(type, p, v, addr);
        }
    }
}

/* LINE INPUT #: the line without its CR LF. */
static void rt_line_input_file(RtDesc *target, uint32_t addr) {
    RtFile *f = rt_in_file;
    uint32_t n = rt_in_num;
    static char buf[32768];
    uint32_t k = 0;
    int c = rt_getc(f, n, addr);
    if (c < 0) rt_file_fail(RT_E_INPUTEND, n, addr);
    while (c >= 0 && c != '\n' && c != '\r') {
        if (k < sizeof buf) buf[k++] = (char)c;
        c = rt_getc(f, n, addr);
    }
    if (c == '\r' && rt_peekc(f, n, addr) == '\n') rt_getc(f, n, addr);
    rt_spush_copy(buf, k);
    rt_desc_assign(target, rt_spop());
}

int rt_file_input(const uint32_t *block, uint32_t addr) {
    if (!rt_in_file) return 0;
    rt_input_file_vars(block, addr);
    rt_in_file = 0;
    return 1;
}

int rt_file_line_input(RtDesc *target, uint32_t addr) {
    if (!rt_in_file) return 0;
    rt_line_input_file(target, addr);
    rt_in_file = 0;
    return 1;
}

/* ---- records ----------------------------------------------------------- */

/* FIELD #n, w AS v$, ...: block = {n, count, (width, descriptor) in the
   order written}. Each variable then shows its part of the record buffer. */
void RT_STDCALL rt_field(const uint32_t *block) RT_NAME("_$PsFIELD@4");
void RT_STDCALL rt_field(const uint32_t *block) {
    uint32_t addr = RT_CALLER();
    int32_t n = (int32_t)block[0];
    RtFile *f = rt_file_get(n, addr);
    if (f->mode != M_RANDOM) rt_file_fail(RT_E_FILEMODE, (uint32_t)n, addr);
    uint32_t at = 0;
    for (uint32_t i = 0; i < block[1]; ++i) {
        int32_t w = (int32_t)block[2 + 2 * i];
        if (w < 0 || (uint32_t)w > f->reclen - at) rt_file_fail(RT_E_FIELD, (uint32_t)n, addr);
        RtDesc *d = (RtDesc *)block[3 + 2 * i];
        if (d->cap) rt_free(d->p);
        d->cap = 0;
        d->len = (uint32_t)w;
        d->p = f->field + at;
        at += (uint32_t)w;
        uint32_t k = 0;
        while (k < f->nmapped && f->mapped[k] != d) ++k;
        if (k == f->nmapped) {
            if (k == RT_FIELDS) rt_file_fail(RT_E_FIELD, (uint32_t)n, addr);
            f->mapped[f->nmapped++] = d;
        }
    }
}

/* Size of a variable given by its type word (type + 256 x size). */
static uint32_t rt_var_bytes(uint32_t typeword, void *p, char **data) {
    uint32_t type = typeword & 0xFF;
    if (type == 16) {
        RtDesc *d = p;
        *data = d->p;
        return d->len;
    }
    *data = p;
    return typeword >> 8;
}

/* GET/PUT #n [, rec] [, v]: mask bit 1 the record (or position) given,
   bit 2 the variable (address, type word). */
static void rt_record(int put, int32_t n, int32_t rec, void *var, uint32_t typeword, uint32_t mask, uint32_t addr) {
    RtFile *f = rt_file_get(n, addr);
    if (f->mode != M_RANDOM && f->mode != M_BINARY) rt_file_fail(RT_E_FILEMODE, (uint32_t)n, addr);
    if (put ? !rt_can_write(f) : !rt_can_read(f)) rt_file_fail(RT_E_ACCESS, (uint32_t)n, addr);
    char *data;
    uint32_t len;
    if (mask & 4) {
        len = rt_var_bytes(typeword, var, &data);
    } else {
        if (f->mode != M_RANDOM) rt_file_fail(RT_E_ILLEGAL, (uint32_t)n, addr);
        data = f->field;
        len = f->reclen;
    }
    uint32_t pos;
    if (f->mode == M_RANDOM) {
        if (len > f->reclen) rt_file_fail(RT_E_RECLEN, (uint32_t)n, addr);
        uint32_t r = (mask & 2) ? (uint32_t)rec : f->rec + 1;
        if ((mask & 2) && rec < 1) rt_file_fail(RT_E_RECNUM, (uint32_t)n, addr);
        f->rec = r;
        pos = (r - 1) * f->reclen;
    } else {
        if ((mask & 2) && rec < 1) rt_file_fail(RT_E_RECNUM, (uint32_t)n, addr);
        pos = (mask & 2) ? (uint32_t)rec - 1 : f->pos;
    }
    if (put) {
        f->pos = pos;
        rt_file_put(f, (uint32_t)n, data, len, addr);
        f->at_end = 0;
    } else {
        uint32_t got = rt_file_take(f, (uint32_t)n, data, len, pos, addr);
        if (got < len) memset(data + got, 0, len - got);
        f->at_end = got < len;
        f->pos = pos + len;
    }
}

void RT_STDCALL rt_get(int32_t n, int32_t rec, void *var, uint32_t typeword, uint32_t mask) RT_NAME("_$PsGET@20");
void RT_STDCALL rt_get(int32_t n, int32_t rec, void *var, uint32_t typeword, uint32_t mask) {
    rt_record(0, n, rec, var, typeword, mask, RT_CALLER());
}
void RT_STDCALL rt_put(int32_t n, int32_t rec, void *var, uint32_t typeword, uint32_t mask) RT_NAME("_$PsPUT@20");
void RT_STDCALL rt_put(int32_t n, int32_t rec, void *var, uint32_t typeword, uint32_t mask) {
    rt_record(1, n, rec, var, typeword, mask, RT_CALLER());
}

/* FREAD #n, v / FWRITE #n, v: the variable's bytes at the file position
   (address and type word as for GET). */
void RT_STDCALL rt_fread(int32_t n, void *var, uint32_t typeword) RT_NAME("_$PsFREAD@12");
void RT_STDCALL rt_fread(int32_t n, void *var, uint32_t typeword) {
    uint32_t addr = RT_CALLER();
    RtFile *f = rt_file_get(n, addr);
    if (f->mode != M_BINARY && f->mode != M_RANDOM) rt_file_fail(RT_E_FILEMODE, (uint32_t)n, addr);
    rt_record(0, n, 0, var, typeword, 4, addr);
}
void RT_STDCALL rt_fwrite(int32_t n, void *var, uint32_t typeword) RT_NAME("_$PsFWRITE@12");
void RT_STDCALL rt_fwrite(int32_t n, void *var, uint32_t typeword) {
    uint32_t addr = RT_CALLER();
    RtFile *f = rt_file_get(n, addr);
    if (f->mode != M_BINARY && f->mode != M_RANDOM) rt_file_fail(RT_E_FILEMODE, (uint32_t)n, addr);
    rt_record(1, n, 0, var, typeword, 4, addr);
}

/* ---- SEEK, LOCK, TRUNCATE, UPDATE, WIDTH #, KILL, NAME ----------------- */

/* UPDATE #n: every write already went to the host, so there is nothing to
   bring up to date; the number must still name an open file. */
void RT_STDCALL rt_update(int32_t n) RT_NAME("_$PsUPDATE@4");
void RT_STDCALL rt_update(int32_t n) { (void)rt_file_get(n, RT_CALLER()); }

/* SEEK #n, p: the next record (RANDOM) or the next byte, from 1. */
void RT_STDCALL rt_seek(int32_t n, int32_t p, int32_t origin) RT_NAME("_$PsSEEK@12");
void RT_STDCALL rt_seek(int32_t n, int32_t p, int32_t origin) {
    uint32_t addr = RT_CALLER();
    RtFile *f = rt_file_get(n, addr);
    (void)origin;
    if (p < 1) rt_file_fail(RT_E_RECNUM, (uint32_t)n, addr);
    if (f->mode == M_RANDOM) {
        f->rec = (uint32_t)p - 1;
        f->pos = f->rec * f->reclen;
    } else {
        f->pos = (uint32_t)p - 1;
    }
    f->at_end = 0;
}

/* LOCK/UNLOCK #n [, a] [TO b] (mask: bit 1 a given, bit 2 b given): records
   a to b of a RANDOM file, bytes of a BINARY one (a alone: that one; TO b
   alone: from the first); a sequential file, or no range, is the whole
   file. UNLOCK names exactly a range its number locked. */
static void rt_lock(int32_t n, int32_t a, int32_t b, uint32_t mask, int unlock, uint32_t addr) {
    RtFile *f = rt_file_get(n, addr);
    if (((mask & 2) && a < 1) || ((mask & 4) && b < 1) || ((mask & 6) == 6 && b < a))
        rt_file_fail(RT_E_ILLEGAL, (uint32_t)n, addr);
    uint32_t first = 0, last = 0xFFFFFFFFu;
    if ((mask & 6) && (f->mode == M_RANDOM || f->mode == M_BINARY)) {
        uint32_t from = mask & 2 ? (uint32_t)a : 1, to = mask & 4 ? (uint32_t)b : from;
        uint32_t unit = f->mode == M_RANDOM ? f->reclen : 1;
        uint64_t lo = (uint64_t)(from - 1) * unit, hi = (uint64_t)to * unit - 1;
        first = lo > 0xFFFFFFFFu ? 0xFFFFFFFFu : (uint32_t)lo;
        last = hi > 0xFFFFFFFFu ? 0xFFFFFFFFu : (uint32_t)hi;
    }
    if (unlock) {
        for (uint32_t i = 0; i < rt_nlocks; ++i) {
            if (rt_locks[i].n == n && rt_locks[i].first == first && rt_locks[i].last == last) {
                rt_locks[i] = rt_locks[--rt_nlocks];
                return;
            }
        }
        rt_file_fail(RT_E_PERMISSION, (uint32_t)n, addr);
    }
    for (uint32_t i = 0; i < rt_nlocks; ++i) {
        const RtLock *l = &rt_locks[i];
        if (l->first <= last && first <= l->last && (l->n == n || rt_same_file(&rt_files[l->n], f)))
            rt_file_fail(RT_E_PERMISSION, (uint32_t)n, addr);
    }
    if (rt_nlocks == RT_LOCKS) rt_file_fail(RT_E_PERMISSION, (uint32_t)n, addr);
    rt_locks[rt_nlocks].n = n;
    rt_locks[rt_nlocks].first = first;
    rt_locks[rt_nlocks].last = last;
    ++rt_nlocks;
}
void RT_STDCALL rt_lock_s(int32_t n, int32_t a, int32_t b, uint32_t mask) RT_NAME("_$PsLOCK@16");
void RT_STDCALL rt_lock_s(int32_t n, int32_t a, int32_t b, uint32_t mask) { rt_lock(n, a, b, mask, 0, RT_CALLER()); }
void RT_STDCALL rt_unlock_s(int32_t n, int32_t a, int32_t b, uint32_t mask) RT_NAME("_$PsUNLOCK@16");
void RT_STDCALL rt_unlock_s(int32_t n, int32_t a, int32_t b, uint32_t mask) { rt_lock(n, a, b, mask, 1, RT_CALLER()); }

/* TRUNCATE #n: the file ends at the current position. */
void RT_STDCALL rt_truncate(int32_t n) RT_NAME("_$PsTRUNCATE@4");
void RT_STDCALL rt_truncate(int32_t n) {
    uint32_t addr = RT_CALLER();
    RtFile *f = rt_file_get(n, addr);
    if (!rt_can_write(f)) rt_file_fail(RT_E_FILEMODE, (uint32_t)n, addr);
    int32_t r = rt_host_truncate(f->handle, f->pos);
    if (r < 0) rt_file_fail(-r, (uint32_t)n, addr);
    f->cache_len = 0;
}

void RT_STDCALL rt_width_file(int32_t n, int32_t w) RT_NAME("_$PsWIDTH1@8");
void RT_STDCALL rt_width_file(int32_t n, int32_t w) {
    uint32_t addr = RT_CALLER();
    RtFile *f = rt_file_get(n, addr);
    if (w < 0 || w > 255) rt_file_fail(RT_E_ILLEGAL, (uint32_t)n, addr);
    f->width = w == 255 ? 0 : (uint32_t)w;
}

void RT_STDCALL rt_kill(void) RT_NAME("_$PsKILL@0");
void RT_STDCALL rt_kill(void) {
    uint32_t addr = RT_CALLER();
    char *name = rt_pop_name(addr);
    int32_t r = rt_host_kill(name);
    rt_free(name);
    if (r < 0) rt_file_fail(-r, 0, addr);
}

/* NAME old$ AS new$: the old name on top of the string stack. */
void RT_STDCALL rt_name(void) RT_NAME("_$PsNAME@0");
void RT_STDCALL rt_name(void) {
    uint32_t addr = RT_CALLER();
    char *from = rt_pop_name(addr);
    char *to = rt_pop_name(addr);
    int32_t r = rt_host_rename(from, to);
    rt_free(from);
    rt_free(to);
    if (r < 0) rt_file_fail(-r, 0, addr);
}

/* ---- functions --------------------------------------------------------- */

int32_t RT_STDCALL rt_eof(int32_t n) RT_NAME("_$PfEOF@4");
int32_t RT_STDCALL rt_eof(int32_t n) {
    uint32_t addr = RT_CALLER();
    RtFile *f = rt_file_get(n, addr);
    if (f->mode == M_OUTPUT || f->mode == M_APPEND) rt_file_fail(RT_E_FILEMODE, (uint32_t)n, addr);
    if (f->mode == M_RANDOM || f->mode == M_BINARY) return f->at_end ? -1 : 0;
    return rt_peekc(f, (uint32_t)n, addr) < 0 ? -1 : 0;
}

/* INPUT$(n, #f): the next n bytes of the file, line ends and all. */
void RT_STDCALL rt_input_file_n(int32_t n, int32_t fn) RT_NAME("_$PfINPUT241@8");
void RT_STDCALL rt_input_file_n(int32_t n, int32_t fn) {
    uint32_t addr = RT_CALLER();
    RtFile *f = rt_file_get(fn, addr);
    if (!rt_can_read(f)) rt_file_fail(RT_E_FILEMODE, (uint32_t)fn, addr);
    if (n < 0 || n > 32767) rt_file_fail(RT_E_ILLEGAL, (uint32_t)fn, addr);
    char *p = n ? rt_alloc((uint32_t)n) : 0;
    for (int32_t i = 0; i < n; ++i) {
        int c = rt_getc(f, (uint32_t)fn, addr);
        if (c < 0) {
            rt_free(p);
            rt_file_fail(RT_E_INPUTEND, (uint32_t)fn, addr);
        }
        p[i] = (char)c;
    }
    rt_spush(p, (uint32_t)n, n ? rt_alloc_size(p) : 0);
}

int32_t RT_STDCALL rt_lof(int32_t n) RT_NAME("_$PfLOF@4");
int32_t RT_STDCALL rt_lof(int32_t n) { return (int32_t)rt_file_size(rt_file_get(n, RT_CALLER())); }

/* LOC: the last record of a RANDOM file, the byte position of a BINARY
   one, and of a sequential file its position in 128-byte blocks. */
int32_t RT_STDCALL rt_loc(int32_t n) RT_NAME("_$PfLOC@4");
int32_t RT_STDCALL rt_loc(int32_t n) {
    RtFile *f = rt_file_get(n, RT_CALLER());
    if (f->mode == M_RANDOM) return (int32_t)f->rec;
    if (f->mode == M_BINARY) return (int32_t)f->pos;
    return (int32_t)((f->pos + 127) / 128);
}

/* SEEK(n): the next record or the next byte, from 1. */
int32_t RT_STDCALL rt_seek_fn(int32_t n) RT_NAME("_$PfSEEK@4");
int32_t RT_STDCALL rt_seek_fn(int32_t n) {
    RtFile *f = rt_file_get(n, RT_CALLER());
    return f->mode == M_RANDOM ? (int32_t)f->rec + 1 : (int32_t)f->pos + 1;
}

int32_t RT_STDCALL rt_freefile(void) RT_NAME("_$PfFREEFILE@0");
int32_t RT_STDCALL rt_freefile(void) {
    for (int32_t n = 1; n <= RT_FILES; ++n)
        if (rt_files[n].mode == M_CLOSED) return n;
    rt_fail(67, RT_CALLER());
}

/* FILEATTR(n): the mode: 1 INPUT, 2 OUTPUT, 4 RANDOM, 8 APPEND, 32 BINARY. */
int32_t RT_STDCALL rt_fileattr(int32_t n) RT_NAME("_$PfFILEATTR@4");
int32_t RT_STDCALL rt_fileattr(int32_t n) {
    static const int32_t codes[] = {0, 1, 2, 8, 4, 32};
    return codes[rt_file_get(n, RT_CALLER())->mode];
}

/* DSKF: free kilobytes of the disk the program's folder is on. */
int32_t RT_STDCALL rt_dskf_drive(void) RT_NAME("_$PfDSKFp@0");
int32_t RT_STDCALL rt_dskf_drive(void) {
    RtStr s = rt_spop();
    rt_sfree(s);
    return rt_host_disk_free();
}
int32_t RT_STDCALL rt_dskf_number(int32_t n) RT_NAME("_$PfDSKFn@4");
int32_t RT_STDCALL rt_dskf_number(int32_t n) {
    if (n < 0 || n > 26) rt_fail(RT_E_ILLEGAL, RT_CALLER());
    return rt_host_disk_free();
}
