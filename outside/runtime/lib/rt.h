/* Shared declarations of the BASIC runtime subset (i686, freestanding).
   Included by the C sources and by the assembly (.S) sources. */
#ifndef TX_RT_H
#define TX_RT_H

/* DbgInit's answer when the host has no shared block of that name. */
#define RT_DBG_E_NOBLOCK 2

/* BASIC error numbers the subset raises. */
#define RT_E_RETURN 3      /* RETURN without GOSUB */
#define RT_E_DATA 4        /* out of DATA */
#define RT_E_ILLEGAL 5     /* illegal function call */
#define RT_E_OVERFLOW 6    /* overflow */
#define RT_E_MEMORY 7      /* out of memory */
#define RT_E_LABEL 8       /* undefined label */
#define RT_E_SUBSCRIPT 9   /* subscript out of range */
#define RT_E_REDIM 10      /* array already dimensioned */
#define RT_E_DIVZERO 11    /* division by zero */
#define RT_E_TYPE 13       /* type mismatch */
#define RT_E_STRSPACE 14   /* out of string space */
#define RT_E_STACK 28      /* out of stack space */
#define RT_E_NORESUME 19   /* the program ended inside an error handler */
#define RT_E_RESUME 20     /* RESUME without an error */
#define RT_E_FIELD 50      /* FIELD overflow */
#define RT_E_FILENUM 52    /* bad file number (not open, or out of range) */
#define RT_E_NOTFOUND 53   /* file not found */
#define RT_E_FILEMODE 54   /* bad file mode */
#define RT_E_OPEN 55       /* file already open */
#define RT_E_EXISTS 58     /* file already exists */
#define RT_E_RECLEN 59     /* bad record length */
#define RT_E_RECNUM 63     /* bad record number */
#define RT_E_PERMISSION 70 /* permission denied (a lock of another file number) */
#define RT_E_ACCESS 75     /* path/file access error */
#define RT_E_INPUTEND 62   /* input past end */
#define RT_E_NOROUTINE 48  /* no such routine in the module (CALLS, CALLM, a DLL call) */
#define RT_E_MANYFILES 67  /* too many files (and module images) */

/* The module calls (rt_module.c, rt_modcall.S). A typed reference list
   item's type word: a value type (strings 16), or a double temporary, or
   an argument left out; an array adds RT_REF_ARRAY. A checked entry's
   parameter word adds RT_PARAM_DEFAULT when a default follows it. */
#define RT_REF_DOUBLE 32
#define RT_REF_OMITTED 33
#define RT_REF_ARRAY 0x100
#define RT_PARAM_DEFAULT 0x200
/* In ECX at a call of a checked entry by CALLS, with the list in EDX. */
#define RT_CALLS_MAGIC 0x534C4143

#ifndef __ASSEMBLER__
#include <stddef.h>
#include <stdint.h>

#include "rt_host.h"
#include "rt_number.h"
#include "rt_sjis.h"

#define RT_STDCALL __attribute__((stdcall))
/* Defines a routine under its runtime name, e.g. RT_NAME("_$PbAdd5@0"). */
#define RT_NAME(n) __asm__(n)
#define RT_NORETURN __attribute__((noreturn))
#define RT_CALLER() ((uint32_t)__builtin_return_address(0))

/* A variable-length string descriptor (12 bytes). A string of the length
   DEF LEN set has RT_FIXED_FLAG in cap: stores fill its len bytes. */
#define RT_FIXED_FLAG 0x80000000u
typedef struct {
    uint32_t cap;   /* bytes of the runtime's heap block at p; 0: not ours */
    uint32_t len;
    char *p;
} RtDesc;

/* core */
void *rt_alloc(uint32_t size);
void rt_free(void *p);
uint32_t rt_alloc_size(const void *p);
void *memcpy(void *d, const void *s, size_t n);
void *memmove(void *d, const void *s, size_t n);
void *memset(void *d, int c, size_t n);
RT_NORETURN void rt_fail(int code, uint32_t addr);
RT_NORETURN void rt_exit(int status);
void rt_out(const char *s, uint32_t n);
void rt_flush(void);
/* While set, rt_out writes through it (PRINT # and WRITE #). */
extern void (*rt_redirect)(const char *s, uint32_t n);
/* Set in a module built as a DLL: its console output goes out at once, as
   the program it serves writes between its calls. */
extern uint32_t rt_out_direct;
void rt_files_close_all(void);
void rt_file_abort(void); /* a failed statement's file output or input ends */
void rt_file_output_end(void); /* PRINT #, WRITE # and PRINT # USING end */
/* INPUT # and LINE INPUT #: 1 when the statement reads a file (and did). */
int rt_file_input(const uint32_t *block, uint32_t addr);
uint32_t rt_heap_free(void);
extern uint32_t rt_column;
extern uint32_t rt_row;     /* console line, from 1 */
extern uint32_t rt_width;   /* console width, 0: none */
extern uint32_t rt_cur_line;
extern uint32_t rt_level_esp;

/* string stack; kind RT_KIND_DECIMAL marks a decimal's text (rt_bcd.c) */
typedef struct { char *p; uint32_t len; uint32_t cap; uint32_t kind; } RtStr;
#define RT_KIND_TEXT 0
#define RT_KIND_DECIMAL 1
RtStr *rt_stop_str(void); /* the top entry, 0 when the stack is empty */
void rt_spush(char *p, uint32_t len, uint32_t cap);
void rt_spush_copy(const char *p, uint32_t len);
RtStr rt_spop(void);
void rt_sfree(RtStr s);
void rt_desc_assign(RtDesc *d, RtStr s);
void rt_desc_clear(RtDesc *d);
void rt_sreset(void);
int rt_file_line_input(RtDesc *target, uint32_t addr); /* as rt_file_input */

/* decimals (rt_bcd.c): their 15 bytes in a variable, their text on the stack */
int rt_var_is_decimal(const void *v);
void rt_decimal_push_var(const void *v);
void rt_decimal_store(void *v, RtStr s, uint32_t addr);
int rt_decimal_cmp(uint32_t addr);
int rt_decimal_text_ok(const char *p, uint32_t n);
/* A decimal's text as its exact digits, for PRINT USING: the value is
   (-1)^neg x 0.d[0]d[1]...d[n-1] x 10^point, d[0] not 0 (n 0: zero).
   Text that is no number is error 13. */
#define RT_DEC_DIGITS 22
typedef struct {
    int neg;
    int n;
    int point;
    uint8_t d[RT_DEC_DIGITS];
} RtDecDigits;
void rt_decimal_digits(const char *p, uint32_t len, RtDecDigits *out, uint32_t addr);

/* numbers: rt_number.h */

/* COLOR's colours (bit k of rt_colors_given: colour k set) and CLS's hook,
   which the graphics screen (rt_gfx.c) reads and sets. */
extern int32_t rt_colors[4];
extern uint32_t rt_colors_given;
extern void (*rt_cls_hook)(int32_t mode);
/* Set once the program draws: shows the graphics screen (rt_gfx.c). */
extern void (*rt_screen_hook)(void);
/* The event traps' simulated clock in milliseconds (WAIT moves it on), and
   the poll that an ON ... GOSUB installs for the check between statements
   (rt_flow.S); both stay unused, and rt_events.c unlinked, without one. */
extern uint32_t rt_sim_ms;
extern uint32_t (*rt_event_poll_fn)(void);
/* temporaries: one open at that address; the last count released */
int rt_temp_is_open(uint32_t address);
void rt_del_tmp_n(uint32_t count, uint32_t addr);
void rt_init(void);

/* data and activations */
void rt_readptr_set(uint32_t addr);
#endif
#endif
