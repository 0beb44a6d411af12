/* Heap, console output, run-time errors, activations and start-up state. */
#include "rt.h"

/* ---- memory ------------------------------------------------------------ */

/* Copies by words with the string instructions: strings are built by
   repeated copies, and a byte loop makes them quadratic in cost. */
void *memcpy(void *d, const void *s, size_t n) {
    void *dp = d;
    const void *sp = s;
    size_t words = n >> 2, bytes = n & 3;
    __asm__ volatile("rep movsl\n\tmovl %3, %%ecx\n\trep movsb"
                     : "+D"(dp), "+S"(sp), "+c"(words)
                     : "r"(bytes)
                     : "memory");
    return d;
}

void *memmove(void *d, const void *s, size_t n) {
    char *dp = d;
    const char *sp = s;
    if (dp <= sp || dp >= sp + n) return memcpy(d, s, n);
    while (n--) dp[n] = sp[n];
    return d;
}

void *memset(void *d, int c, size_t n) {
    char *dp = d;
    while (n--) *dp++ = (char)c;
    return d;
}

/* The heap lives in the image's zero-filled data, so the host needs to
   provide nothing but the mapping. Blocks come in power-of-two classes;
   freed blocks go onto their class's list and are reused as they are. */
#define RT_HEAP_SIZE (16u << 20)
#define RT_CLASSES 24
static char rt_heap[RT_HEAP_SIZE] __attribute__((aligned(16)));
static uint32_t rt_heap_used;
static void *rt_free_list[RT_CLASSES];

static int rt_class_of(uint32_t size) {
    int c = 4; /* 16 bytes with the header */
    if (size > (1u << (RT_CLASSES - 1)) - 8) return -1;
    while ((1u << c) < size + 8) {
        if (++c >= RT_CLASSES) return -1;
    }
    return c;
}

void *rt_alloc(uint32_t size) {
    int c = rt_class_of(size);
    if (c < 0) rt_fail(RT_E_MEMORY, RT_CALLER());
    uint32_t *block = rt_free_list[c];
    if (block) {
        rt_free_list[c] = *(void **)(block + 2);
    } else {
        if (RT_HEAP_SIZE - rt_heap_used < (1u << c)) rt_fail(RT_E_MEMORY, RT_CALLER());
        block = (uint32_t *)(rt_heap + rt_heap_used);
        rt_heap_used += 1u << c;
    }
    block[0] = (uint32_t)c;
    block[1] = 0x52544b42; /* marks a live block */
    return block + 2;
}

/* Bytes usable at p, a block from rt_alloc: its whole class, so strings
   grow into the rest of it without a new block. */
uint32_t rt_alloc_size(const void *p) {
    return (1u << ((const uint32_t *)p)[-2]) - 8;
}

void rt_free(void *p) {
    if (!p) return;
    uint32_t *block = (uint32_t *)p - 2;
    if ((char *)block < rt_heap || (char *)block >= rt_heap + rt_heap_used ||
        block[1] != 0x52544b42 || block[0] >= RT_CLASSES) {
        return; /* not a live heap block: constants and static texts */
    }
    block[1] = 0;
    *(void **)p = rt_free_list[block[0]];
    rt_free_list[block[0]] = block;
}

/* Bytes the heap can still give out (FRE). */
uint32_t rt_heap_free(void) { return RT_HEAP_SIZE - rt_heap_used; }

/* Console output waits here until a line is full, the buffer is full or the
   program ends; the host empties it itself when the program stops otherwise
   (a fault, a limit, a breakpoint), so it knows these two names. */
char rt_outbuf[4096];
uint32_t rt_outlen;
uint32_t rt_column;
uint32_t rt_row = 1;

void rt_flush(void) {
    if (rt_outlen) rt_host_write(rt_outbuf, rt_outlen);
    rt_outlen = 0;
}

void (*rt_redirect)(const char *s, uint32_t n);

void rt_out(const char *s, uint32_t n) {
    if (rt_redirect) {
        rt_redirect(s, n);
        return;
    }
    for (uint32_t i = 0; i < n; ++i) {
        if (rt_outlen == sizeof rt_outbuf) rt_flush();
        char ch = s[i];
        rt_outbuf[rt_outlen++] = ch;
        rt_column = ch == '\n' ? 0 : rt_column + 1;
        if (ch == '\n') ++rt_row;
    }
    if (rt_out_direct) rt_flush();
}

uint32_t rt_out_direct;

uint32_t rt_cur_line;
uint32_t rt_level_esp;
uint32_t rt_stack_low;

void rt_trap(int code); /* below: returns only when no handler takes the error */
static void rt_dbg_report(int code);

RT_NORETURN void rt_fail(int code, uint32_t addr) {
    rt_file_abort();
    rt_trap(code);
    rt_files_close_all();
    rt_flush();
    if (rt_screen_hook) rt_screen_hook();
    rt_dbg_report(code);
    rt_host_error(code, rt_cur_line, addr);
}

void (*rt_screen_hook)(void);

RT_NORETURN void rt_exit(int status) {
    rt_files_close_all();
    rt_flush();
    if (rt_screen_hook) rt_screen_hook();
    rt_host_exit(status);
}

/* Called from the assembly when a statement starts or a procedure ends at
   a stack depth other than its activation's. */
RT_NORETURN void rt_unbalanced(uint32_t expected, uint32_t actual, uint32_t addr) {
    rt_flush();
    rt_host_unbalanced(expected, actual, addr);
}

void rt_init(void) {
    rt_stack_low = (uint32_t)rt_host_stack_low();
}

/* ---- activations ------------------------------------------------------- */

/* One record per running procedure (and one for the main module): the
   stack depth of its statements, the GOSUB depth at its entry, the module
   control block and DATA pointer to restore on leaving. */
typedef struct {
    uint32_t level;
    uint32_t gosub_base;
    uint32_t mcb;
    uint32_t readptr;
    uint32_t own_readptr;
    uint32_t array_base;
    uint32_t dbg_auto; /* the activation's debug entry (its locals' table) */
    uint32_t stmt, next, line; /* the caller's statement, its RESUME NEXT point, its line */
} RtActivation;

#define RT_MAX_ACT 8192
static RtActivation rt_act[RT_MAX_ACT];
static uint32_t rt_act_top; /* rt_act[0] is the main module */

extern uint32_t rt_stmt_addr, rt_resume_addr; /* rt_flow.S: kept by the resume check */
uint32_t rt_gosub_sp;   /* used by the GOSUB routines in rt_flow.S */
uint32_t rt_gosub_base; /* GOSUB depth at the current activation's entry */
uint32_t rt_mcb;
extern uint32_t rt_readptr;

uint32_t rt_array_count(void);
void rt_arrays_release(uint32_t from);

void RT_STDCALL rt_set_mcb(uint32_t mcb) RT_NAME("_$PbSetMcb@4");
void RT_STDCALL rt_set_mcb(uint32_t mcb) { rt_mcb = mcb; }
void RT_STDCALL rt_set_mcb_sub(uint32_t mcb) RT_NAME("_$PbSetMcbSub@4");
void RT_STDCALL rt_set_mcb_sub(uint32_t mcb) { rt_mcb = mcb; }
/* The main module's control block and its first DATA item, for a RUN that
   starts at a label and so passes over the main module's start. */
static uint32_t rt_main_mcb, rt_main_readptr;
void RT_STDCALL rt_set_mcb_main(uint32_t mcb) RT_NAME("_$PbSetMcbMain@4");
void RT_STDCALL rt_set_mcb_main(uint32_t mcb) { rt_mcb = rt_main_mcb = mcb; }

void RT_STDCALL rt_set_readptr(uint32_t p) RT_NAME("_$PbSetReadPtr@4");
void RT_STDCALL rt_set_readptr(uint32_t p) {
    rt_readptr = p;
    if (rt_act_top == 0) rt_main_readptr = p;
    rt_act[rt_act_top].own_readptr = 1;
}
void RT_STDCALL rt_set_readptr_sub(uint32_t p) RT_NAME("_$PbSetReadPtrSub@4");
void RT_STDCALL rt_set_readptr_sub(uint32_t p) { rt_set_readptr(p); }
void RT_STDCALL rt_set_restore(uint32_t p) RT_NAME("_$PbSetRestore@4");
void RT_STDCALL rt_set_restore(uint32_t p) { rt_readptr = p; }
void RT_STDCALL rt_set_restore_sub(uint32_t p) RT_NAME("_$PbSetRestoreSub@4");
void RT_STDCALL rt_set_restore_sub(uint32_t p) { rt_readptr = p; }

void RT_STDCALL rt_set_dbg_auto(uint32_t p) RT_NAME("_$PbSetDbgAuto@4");
void RT_STDCALL rt_set_dbg_auto(uint32_t p) { rt_act[rt_act_top].dbg_auto = p; }
void RT_STDCALL rt_set_dbg_auto_sub(uint32_t p) RT_NAME("_$PbSetDbgAutoSub@4");
void RT_STDCALL rt_set_dbg_auto_sub(uint32_t p) { rt_act[rt_act_top].dbg_auto = p; }

/* level: the ESP the procedure's statements run at. */
void rt_sub_enter(uint32_t level, uint32_t addr) {
    if (rt_act_top + 1 >= RT_MAX_ACT || (rt_stack_low && level < rt_stack_low + 16384)) {
        rt_fail(RT_E_STACK, addr);
    }
    RtActivation *a = &rt_act[++rt_act_top];
    a->level = level;
    a->gosub_base = rt_gosub_base;
    a->mcb = rt_mcb;
    a->readptr = rt_readptr;
    a->own_readptr = 0;
    a->array_base = rt_array_count();
    a->dbg_auto = 0;
    a->stmt = rt_stmt_addr;
    a->next = rt_resume_addr;
    a->line = rt_cur_line;
    rt_gosub_base = rt_gosub_sp;
    rt_level_esp = level;
}

/* Ends the innermost activation; its caller's resume points and line come
   back, so an error later in the calling statement is reported and resumed
   there. */
static uint32_t rt_trap_label, rt_trap_act;

static void rt_act_pop(void) {
    RtActivation *a = &rt_act[rt_act_top];
    /* a handler set inside the procedure ends with it */
    if (rt_trap_label && rt_trap_act == rt_act_top) rt_trap_label = 0;
    rt_arrays_release(a->array_base);
    rt_gosub_sp = rt_gosub_base; /* GOSUBs left open inside the procedure end with it */
    rt_gosub_base = a->gosub_base;
    rt_mcb = a->mcb;
    if (a->own_readptr) rt_readptr = a->readptr;
    rt_stmt_addr = a->stmt;
    rt_resume_addr = a->next;
    rt_cur_line = a->line;
    --rt_act_top;
    rt_level_esp = rt_act[rt_act_top].level;
}

void rt_sub_leave(uint32_t esp, uint32_t addr) {
    RtActivation *a = &rt_act[rt_act_top];
    if (rt_act_top == 0) rt_fail(RT_E_ILLEGAL, addr);
    if (esp != a->level) rt_unbalanced(a->level, esp, addr);
    rt_act_pop();
}

void rt_main_start(uint32_t level) {
    rt_act_top = 0;
    rt_act[0].level = level;
    rt_level_esp = level;
}

/* ---- END and the hooks the IDE's debugger calls ----------------------- */

void RT_STDCALL rt_end(int32_t code) RT_NAME("_$PsEND@4");
void RT_STDCALL rt_end(int32_t code) { rt_exit(code); }
void RT_STDCALL rt_stop(void) RT_NAME("_$PsSTOP@0");
void RT_STDCALL rt_stop(void) { rt_exit(0); }

/* The console is a plain output stream: no text to clear, no bell. CLS 2
   and 3 clear the graphics screen once a program has drawn on it: the
   graphics routines set the hook, so a program without them links none. */
void (*rt_cls_hook)(int32_t mode);
void RT_STDCALL rt_cls(uint32_t window, int32_t mode) RT_NAME("_$PsCLS@8");
void RT_STDCALL rt_cls(uint32_t window, int32_t mode) {
    (void)window;
    if (rt_cls_hook) rt_cls_hook(mode);
}
void RT_STDCALL rt_beep(void) RT_NAME("_$PsBEEP@0");
void RT_STDCALL rt_beep(void) {}

static char rt_mmf_name[256];
uint32_t RT_STDCALL rt_dbg_name(void) RT_NAME("_$PdDbgGetMmfNameAdr@0");
uint32_t RT_STDCALL rt_dbg_name(void) { return (uint32_t)rt_mmf_name; }
/* The debugger's shared block, mapped by the host under the name the
   debugger wrote into rt_mmf_name; 0 while no debugger is attached. */
uint8_t *rt_dbg_block;
uint32_t RT_STDCALL rt_dbg_init(void) RT_NAME("_$PdDbgInit@0");
uint32_t RT_STDCALL rt_dbg_init(void) {
    rt_mmf_name[sizeof rt_mmf_name - 1] = 0;
    rt_dbg_block = (uint8_t *)rt_host_map_shared(rt_mmf_name);
    return rt_dbg_block ? 0 : RT_DBG_E_NOBLOCK;
}
/* Under the debugger (its block mapped) a run-time error is reported in
   the block and the program stops at a breakpoint; continued, it ends. */
#define RT_DBG_CLEARED 276
#define RT_DBG_REPORT_LINE 8
#define RT_DBG_REPORT_ERROR 12
#define RT_DBG_REPORT_MODULE 16
#define RT_DBG_MODULE_MAX 259
static void rt_dbg_report(int code) {
    uint8_t *b = rt_dbg_block;
    if (!b) return;
    memset(b, 0, RT_DBG_CLEARED);
    const uint32_t one = 1, err = (uint32_t)code;
    memcpy(b, &one, 4);
    memcpy(b + RT_DBG_REPORT_LINE, &rt_cur_line, 4);
    memcpy(b + RT_DBG_REPORT_ERROR, &err, 4);
    if (rt_mcb) { /* the control block: name length u16 at +12, the name at +14 */
        uint16_t len;
        memcpy(&len, (const void *)(rt_mcb + 12), 2);
        if (len > RT_DBG_MODULE_MAX) len = RT_DBG_MODULE_MAX;
        memcpy(b + RT_DBG_REPORT_MODULE, (const void *)(rt_mcb + 14), len);
    }
    __asm__ volatile("int3");
    rt_host_exit(1);
}

/* The stopped activation's debug entry, for the value-calculation hook
   (rt_dbg.c, linked only into programs built with debug information). */
uint32_t rt_dbg_auto_current(void) { return rt_act[rt_act_top].dbg_auto; }
void RT_STDCALL rt_dbg_redraw(uint32_t f) RT_NAME("_$PdDbgRedraw@4");
void RT_STDCALL rt_dbg_redraw(uint32_t f) { (void)f; }
void RT_STDCALL rt_dbg_end(uint32_t f) RT_NAME("_$PdDbgEnd@4");
void RT_STDCALL rt_dbg_end(uint32_t f) {
    (void)f;
    rt_dbg_block = 0;
    rt_exit(0);
}

/* A main module exports its window procedure; console programs have no
   windows, so it only answers 0. */
uint32_t RT_STDCALL rt_wndproc(uint32_t h, uint32_t m, uint32_t w, uint32_t l) RT_NAME("_$PbMainWndProc@16");
uint32_t RT_STDCALL rt_wndproc(uint32_t h, uint32_t m, uint32_t w, uint32_t l) {
    (void)h; (void)m; (void)w; (void)l;
    return 0;
}

/* ---- error trapping ---------------------------------------------------- */

/* ON ERROR GOTO: the handler, the frame and activation it runs in (above).
   While a handler runs, a second error is not trapped: it ends the program. */
static uint32_t rt_trap_ebp, rt_in_handler;
static uint32_t rt_err, rt_erl, rt_err_stmt, rt_err_next;
uint32_t rt_err_file; /* the file number of the last file error (rt_file.c) */

static RT_NORETURN void rt_jump(uint32_t esp, uint32_t ebp, uint32_t to) {
    __asm__ volatile("movl %0, %%esp\n\tmovl %1, %%ebp\n\tfninit\n\tjmp *%2" : : "a"(esp), "d"(ebp), "c"(to) : "memory");
    __builtin_unreachable();
}

void rt_trap(int code) {
    rt_err = (uint32_t)code;
    rt_erl = rt_cur_line;
    if (!rt_trap_label || rt_in_handler || rt_trap_act > rt_act_top) return;
    /* Procedures between the error and the handler end here; the handler
       resumes at the statement of its own activation that called them. */
    while (rt_act_top > rt_trap_act) rt_act_pop();
    rt_in_handler = 1;
    rt_err_stmt = rt_stmt_addr;
    rt_err_next = rt_resume_addr;
    rt_sreset();
    rt_jump(rt_act[rt_act_top].level, rt_trap_ebp, rt_trap_label);
}

/* $PsON_ERROR_GOTO (rt_flow.S): label 0 switches trapping off; inside a
   handler that ends the program with the error being handled. */
void rt_on_error(uint32_t label, uint32_t ebp, uint32_t addr) {
    if (!label && rt_in_handler) {
        rt_in_handler = 0;
        rt_trap_label = 0;
        rt_fail((int)rt_err, addr);
    }
    rt_trap_label = label;
    rt_trap_ebp = ebp;
    rt_trap_act = rt_act_top;
}

/* $PsRESUME, $PsRESUME_NEXT, $PsRESUME_LABEL (rt_flow.S): kind 0 the
   failed statement again, 1 the one after it, 2 the label; addr is the
   RESUME's own call. */
RT_NORETURN void rt_resume(uint32_t kind, uint32_t ebp, uint32_t label, uint32_t addr) {
    if (!rt_in_handler) rt_fail(RT_E_RESUME, addr);
    rt_in_handler = 0;
    rt_err = 0;
    rt_err_file = 0;
    rt_jump(rt_level_esp, ebp, kind == 0 ? rt_err_stmt : kind == 1 ? rt_err_next : label);
}

int32_t RT_STDCALL rt_err_fn(void) RT_NAME("_$PfERR@0");
int32_t RT_STDCALL rt_err_fn(void) { return (int32_t)rt_err; }
int32_t RT_STDCALL rt_erl_fn(void) RT_NAME("_$PfERL@0");
int32_t RT_STDCALL rt_erl_fn(void) { return (int32_t)rt_erl; }
/* ERRDEV(0): the file number of the last file error; other arguments 0. */
int32_t RT_STDCALL rt_errdev_fn(int32_t n) RT_NAME("_$PfERRDEV@4");
int32_t RT_STDCALL rt_errdev_fn(int32_t n) { return n == 0 ? (int32_t)rt_err_file : 0; }

/* RUN (rt_flow.S): files closed, arrays given storage at run time
   released, the program's variables and fixed arrays zeroed (strings become
   empty), no GOSUB, trap or procedure left running. */
extern char rt_data_start[] __asm__("__data_start__");
extern char rt_prog_data_end[], rt_prog_arrays[], rt_prog_arrays_end[];
void rt_run_reset(uint32_t level) {
    rt_files_close_all();
    rt_arrays_release(0);
    memset(rt_data_start, 0, (size_t)(rt_prog_data_end - rt_data_start));
    memset(rt_prog_arrays, 0, (size_t)(rt_prog_arrays_end - rt_prog_arrays));
    rt_gosub_sp = 0;
    rt_gosub_base = 0;
    rt_trap_label = 0;
    rt_trap_act = 0;
    rt_in_handler = 0;
    rt_err = rt_erl = 0;
    rt_err_file = 0;
    rt_sreset();
    rt_mcb = rt_main_mcb;
    rt_readptr = rt_main_readptr;
    rt_main_start(level);
}

/* The main module ran off its end: inside an error handler that is error
   19, the handler never having resumed. */
void rt_main_end(uint32_t addr) {
    if (rt_in_handler) rt_fail(RT_E_NORESUME, addr); /* not trapped: still in the handler */
    rt_exit(0);
}
