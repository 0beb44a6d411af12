/* Statements of their own routine: MID$ as a statement, WAIT, TRON/TROFF. */
#include "rt.h"

/* MID$(s, start[, n]) = v: v on the string stack; an omitted n is
   0x7FFFFFFF. Overwrites in place, never past the end of s. */
void RT_STDCALL rt_mid_stmt(RtDesc *target, int32_t start, int32_t n) RT_NAME("_$PsMID@12");
void RT_STDCALL rt_mid_stmt(RtDesc *target, int32_t start, int32_t n) {
    RtStr v = rt_spop();
    if (start < 1 || n < 0) {
        rt_sfree(v);
        rt_fail(RT_E_ILLEGAL, RT_CALLER());
    }
    uint32_t at = (uint32_t)start - 1;
    if (at < target->len) {
        uint32_t room = target->len - at;
        uint32_t k = v.len;
        if (k > (uint32_t)n) k = (uint32_t)n;
        if (k > room) k = room;
        /* A constant's text is not ours to change: copy it first. */
        if (target->cap == 0 && k > 0) {
            RtDesc copy = *target;
            rt_spush_copy(copy.p, copy.len);
            rt_desc_assign(target, rt_spop());
        }
        memcpy(target->p + at, v.p, k);
    } else if (at > target->len) {
        rt_sfree(v);
        rt_fail(RT_E_ILLEGAL, RT_CALLER());
    }
    rt_sfree(v);
}

/* WAIT n: n milliseconds of the simulated clock the event traps see; the
   runner waits for nothing. A negative time is refused. */
uint32_t rt_sim_ms;
void RT_STDCALL rt_wait(int32_t ms) RT_NAME("_$PsWAIT@4");
void RT_STDCALL rt_wait(int32_t ms) {
    if (ms < 0) rt_fail(RT_E_ILLEGAL, RT_CALLER());
    rt_sim_ms += (uint32_t)ms;
}

/* TRON: the line routine shows each statement's line as "[n]". */
uint8_t rt_trace_on;

void rt_trace_line(uint32_t line) {
    char buf[16];
    int k = sizeof buf;
    buf[--k] = ']';
    do {
        buf[--k] = (char)('0' + line % 10);
        line /= 10;
    } while (line);
    buf[--k] = '[';
    rt_out(buf + k, (uint32_t)(sizeof buf - k));
}

void RT_STDCALL rt_tron(void) RT_NAME("_$PsTRON@0");
void RT_STDCALL rt_tron(void) { rt_trace_on = 1; }
void RT_STDCALL rt_troff(void) RT_NAME("_$PsTROFF@0");
void RT_STDCALL rt_troff(void) { rt_trace_on = 0; }

/* STOPI and WAITI: what they do to the event traps is not settled yet;
   until it is, they run and leave everything as it was. */
void RT_STDCALL rt_stopi(void) RT_NAME("_$PsSTOPI@0");
void RT_STDCALL rt_stopi(void) {}
void RT_STDCALL rt_waiti(void) RT_NAME("_$PsWAITI@0");
void RT_STDCALL rt_waiti(void) {}

/* waitevent (windows.bi): waits for the next event of the program's
   windows. The runner shows none, so no event can ever come: the program
   ends as it does when its last window closes. */
void RT_STDCALL rt_waitevent(void) RT_NAME("waitevent");
void RT_STDCALL rt_waitevent(void) { rt_exit(0); }
