/* Event traps: ON INTERVAL / TIME / KEY / MOUSE / COM GOSUB with their
   ON, OFF and STOP switches. The check routine between statements
   ($PbCheckTrapMsg, $PbCheckAll in rt_flow.S) calls rt_event_poll, which
   answers the label of a trap to run as a GOSUB.

   Time is the runner's simulated clock: each check between statements is
   one millisecond, WAIT n is n more. Keys, mouse clicks and COM input come
   from the runtime's message queue (basrun's event script hands each over
   once that clock reaches its time). */
#include "rt.h"

enum { EV_INTERVAL, EV_TIME, EV_KEY, EV_MOUSE = EV_KEY + 10, EV_COM = EV_MOUSE + 3, EV_COUNT = EV_COM + 4 };
enum { SW_OFF = 0, SW_ON = 1, SW_STOP = 2 };

/* Event kinds of rt_host_event. */
enum { HOST_KEY = 1, HOST_MOUSE = 2, HOST_COM = 3 };

static struct Trap {
    uint32_t label;   /* the GOSUB target, 0: none */
    uint32_t level;   /* the activation that set it: it runs only there */
    uint8_t sw;       /* SW_OFF, SW_ON, SW_STOP */
    uint8_t pending;
    uint8_t active;   /* its handler runs: no second one until it returns */
    uint32_t depth;   /* GOSUB depth before the handler */
} rt_traps[EV_COUNT];

static uint32_t rt_interval, rt_interval_next;
static int32_t rt_alarm = -1;    /* TIME's alarm, seconds of the day */
static uint32_t rt_alarm_from;   /* the second of the day it was set in */
static uint32_t rt_day_start_ms; /* the clock's millisecond of the day at the start */
static uint8_t rt_clock_read;
static RtDesc rt_keys[10];      /* KEY n, s$ */
static int32_t rt_mouse_x, rt_mouse_y, rt_mouse_button;

extern uint32_t rt_gosub_sp;
uint32_t rt_event_poll(void);

static void trap_set(int k, int32_t sw, uint32_t addr) {
    if (sw < SW_OFF || sw > SW_STOP) rt_fail(RT_E_ILLEGAL, addr);
    rt_traps[k].sw = (uint8_t)sw;
    if (sw == SW_OFF) rt_traps[k].pending = 0;
    if (k == EV_INTERVAL && sw == SW_ON && rt_interval) rt_interval_next = rt_sim_ms + rt_interval;
}

static void trap_label(int k, uint32_t label) {
    rt_traps[k].label = label;
    rt_traps[k].level = rt_level_esp;
    if (label) rt_event_poll_fn = rt_event_poll;
}

static int numbered(int base, int32_t n, int32_t lo, int32_t hi, uint32_t addr) {
    if (n < lo || n > hi) rt_fail(RT_E_ILLEGAL, addr);
    return base + n - lo;
}

/* ---- statements ---------------------------------------------------------- */

void RT_STDCALL rt_interval_set(int32_t n) RT_NAME("_$PsINTERVAL@4");
void RT_STDCALL rt_interval_set(int32_t n) {
    if (n <= 0) rt_fail(RT_E_ILLEGAL, RT_CALLER());
    rt_interval = (uint32_t)n;
    rt_interval_next = rt_sim_ms + rt_interval;
}

void RT_STDCALL rt_interval_sw(int32_t sw) RT_NAME("_$PsINTERVAL_ON_OFF_STOP@4");
void RT_STDCALL rt_interval_sw(int32_t sw) { trap_set(EV_INTERVAL, sw, RT_CALLER()); }

void RT_STDCALL rt_on_interval(uint32_t label) RT_NAME("_$PsON_INTERVAL_GOSUB@4");
void RT_STDCALL rt_on_interval(uint32_t label) { trap_label(EV_INTERVAL, label); }

static uint32_t clock_ms_of_day(void) {
    uint32_t words[4];
    rt_host_clock(words);
    return words[2];
}

/* TIME = "hh:mm:ss": the alarm of ON TIME GOSUB. */
void RT_STDCALL rt_time_set(void) RT_NAME("_$PsTIME@0");
void RT_STDCALL rt_time_set(void) {
    RtStr s = rt_spop();
    int32_t v[3] = {0, 0, 0};
    int ok = s.len == 8 && s.p[2] == ':' && s.p[5] == ':';
    for (int k = 0; ok && k < 3; ++k) {
        char a = s.p[3 * k], b = s.p[3 * k + 1];
        if (a < '0' || a > '9' || b < '0' || b > '9') ok = 0;
        else v[k] = (a - '0') * 10 + (b - '0');
    }
    rt_sfree(s);
    if (!ok || v[0] > 23 || v[1] > 59 || v[2] > 59) rt_fail(RT_E_ILLEGAL, RT_CALLER());
    if (!rt_clock_read) {
        rt_day_start_ms = clock_ms_of_day() - rt_sim_ms;
        rt_clock_read = 1;
    }
    rt_alarm = v[0] * 3600 + v[1] * 60 + v[2];
    rt_alarm_from = (rt_day_start_ms + rt_sim_ms) / 1000 % 86400;
}

void RT_STDCALL rt_time_sw(int32_t sw) RT_NAME("_$PsTIME_ON_OFF_STOP@4");
void RT_STDCALL rt_time_sw(int32_t sw) { trap_set(EV_TIME, sw, RT_CALLER()); }

void RT_STDCALL rt_on_time(uint32_t label) RT_NAME("_$PsON_TIME_GOSUB@4");
void RT_STDCALL rt_on_time(uint32_t label) {
    trap_label(EV_TIME, label);
    if (!rt_clock_read) {
        rt_day_start_ms = clock_ms_of_day() - rt_sim_ms;
        rt_clock_read = 1;
    }
}

/* KEY n, s$: function key n (1-10) gives s$; kept, as no key is typed. */
void RT_STDCALL rt_key_def(int32_t n) RT_NAME("_$PsKEY@4");
void RT_STDCALL rt_key_def(int32_t n) {
    RtStr s = rt_spop();
    if (n < 1 || n > 10) {
        rt_sfree(s);
        rt_fail(RT_E_ILLEGAL, RT_CALLER());
    }
    rt_desc_assign(&rt_keys[n - 1], s);
}

void RT_STDCALL rt_key_sw(int32_t n, int32_t sw) RT_NAME("_$PsKEY_ON_OFF_STOP@8");
void RT_STDCALL rt_key_sw(int32_t n, int32_t sw) { trap_set(numbered(EV_KEY, n, 1, 10, RT_CALLER()), sw, RT_CALLER()); }

void RT_STDCALL rt_on_key(int32_t n, uint32_t label) RT_NAME("_$PsON_KEY_GOSUB@8");
void RT_STDCALL rt_on_key(int32_t n, uint32_t label) { trap_label(numbered(EV_KEY, n, 1, 10, RT_CALLER()), label); }

/* MOUSE(n): 0 any button, 1 the left, 2 the right. */
void RT_STDCALL rt_mouse_sw(int32_t n, int32_t sw) RT_NAME("_$PsMOUSE_ON_OFF_STOP@8");
void RT_STDCALL rt_mouse_sw(int32_t n, int32_t sw) {
    trap_set(numbered(EV_MOUSE, n, 0, 2, RT_CALLER()), sw, RT_CALLER());
}

void RT_STDCALL rt_on_mouse(int32_t n, uint32_t label) RT_NAME("_$PsON_MOUSE_GOSUB@8");
void RT_STDCALL rt_on_mouse(int32_t n, uint32_t label) {
    trap_label(numbered(EV_MOUSE, n, 0, 2, RT_CALLER()), label);
}

/* COM(n): lines 1-4. */
void RT_STDCALL rt_com_sw(int32_t n, int32_t sw) RT_NAME("_$PsCOM_ON_OFF_STOP@8");
void RT_STDCALL rt_com_sw(int32_t n, int32_t sw) { trap_set(numbered(EV_COM, n, 1, 4, RT_CALLER()), sw, RT_CALLER()); }

void RT_STDCALL rt_on_com(int32_t n, uint32_t label) RT_NAME("_$PsON_COM_GOSUB@8");
void RT_STDCALL rt_on_com(int32_t n, uint32_t label) { trap_label(numbered(EV_COM, n, 1, 4, RT_CALLER()), label); }

/* STOP ON / STOP OFF: the stop key, which nobody presses here. */
static uint8_t rt_stop_key;
void RT_STDCALL rt_stop_sw(int32_t sw) RT_NAME("_$PsSTOP_ON_OFF@4");
void RT_STDCALL rt_stop_sw(int32_t sw) {
    if (sw != SW_OFF && sw != SW_ON) rt_fail(RT_E_ILLEGAL, RT_CALLER());
    rt_stop_key = (uint8_t)sw;
}

/* BAUD n, rate: the rate of line n (1-4); kept. */
static int32_t rt_baud[4] = {9600, 9600, 9600, 9600};
void RT_STDCALL rt_baud_set(int32_t n, int32_t rate) RT_NAME("_$PsBAUD@8");
void RT_STDCALL rt_baud_set(int32_t n, int32_t rate) {
    if (n < 1 || n > 4 || rate < 75 || rate > 115200) rt_fail(RT_E_ILLEGAL, RT_CALLER());
    rt_baud[n - 1] = rate;
}
int32_t RT_STDCALL rt_baud_fn(int32_t n) RT_NAME("_$PfBAUD@4");
int32_t RT_STDCALL rt_baud_fn(int32_t n) {
    if (n < 1 || n > 4) rt_fail(RT_E_ILLEGAL, RT_CALLER());
    return rt_baud[n - 1];
}

/* MOUSE(n [, m]): 0 and 1 the place of the last click, 2 its button (0
   before any); m, when given, 0 or 1: 1 forgets the click once read. */
static int32_t mouse_value(int32_t n, uint32_t addr) {
    switch (n) {
    case 0: return rt_mouse_x;
    case 1: return rt_mouse_y;
    case 2: return rt_mouse_button;
    default: rt_fail(RT_E_ILLEGAL, addr);
    }
}
int32_t RT_STDCALL rt_mouse1(uint32_t w, int32_t n) RT_NAME("_$PfMOUSE1@8");
int32_t RT_STDCALL rt_mouse1(uint32_t w, int32_t n) {
    (void)w;
    return mouse_value(n, RT_CALLER());
}
int32_t RT_STDCALL rt_mouse2(uint32_t w, int32_t n, int32_t m) RT_NAME("_$PfMOUSE2@12");
int32_t RT_STDCALL rt_mouse2(uint32_t w, int32_t n, int32_t m) {
    (void)w;
    if (m < 0 || m > 1) rt_fail(RT_E_ILLEGAL, RT_CALLER());
    int32_t v = mouse_value(n, RT_CALLER());
    if (m) rt_mouse_button = 0;
    return v;
}

/* ---- the poll between statements --------------------------------------- */

static void trap_raise(int k) {
    if (rt_traps[k].sw != SW_OFF) rt_traps[k].pending = 1;
}

/* The label to GOSUB to now, or 0. */
uint32_t rt_event_poll(void) {
    ++rt_sim_ms;
    if (rt_interval && rt_sim_ms >= rt_interval_next) {
        trap_raise(EV_INTERVAL);
        while (rt_interval_next <= rt_sim_ms) rt_interval_next += rt_interval;
    }
    if (rt_alarm >= 0 && rt_clock_read) {
        /* The alarm counts when the clock has reached it since the last
           poll: a WAIT may step over the second itself. */
        uint32_t now = (rt_day_start_ms + rt_sim_ms) / 1000 % 86400;
        uint32_t since = (now + 86400 - rt_alarm_from) % 86400, to = ((uint32_t)rt_alarm + 86400 - rt_alarm_from) % 86400;
        if (to != 0 && to <= since) {
            trap_raise(EV_TIME);
            rt_alarm = -1;
        }
    }
    int32_t ev[4];
    while (rt_host_event(ev)) {
        if (ev[0] == HOST_KEY && ev[1] >= 1 && ev[1] <= 10) {
            trap_raise(EV_KEY + ev[1] - 1);
        } else if (ev[0] == HOST_MOUSE && ev[1] >= 1 && ev[1] <= 2) {
            rt_mouse_x = ev[2];
            rt_mouse_y = ev[3];
            rt_mouse_button = ev[1];
            trap_raise(EV_MOUSE);
            trap_raise(EV_MOUSE + ev[1]);
        } else if (ev[0] == HOST_COM && ev[1] >= 1 && ev[1] <= 4) {
            trap_raise(EV_COM + ev[1] - 1);
        }
    }
    for (int k = 0; k < EV_COUNT; ++k) {
        struct Trap *t = &rt_traps[k];
        if (t->active && rt_gosub_sp <= t->depth) t->active = 0;
        if (!t->pending || t->sw != SW_ON || t->active || !t->label || t->level != rt_level_esp) continue;
        t->pending = 0;
        t->active = 1;
        t->depth = rt_gosub_sp;
        return t->label;
    }
    return 0;
}
