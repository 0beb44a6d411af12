/* The runtime's host layer: everything the runtime asks of the system it
   runs on, each answered through the Windows API (rt_host.c). Plain C with
   no runtime internals, so the same file builds for x86_64 and is tested
   there by a program of its own. */
#ifndef TX_RT_HOST_H
#define TX_RT_HOST_H

#include <stddef.h>
#include <stdint.h>

#if defined(__GNUC__)
#define RT_HOST_NORETURN __attribute__((noreturn))
#else
#define RT_HOST_NORETURN
#endif

/* Exception codes of the two stops the runtime reports to whoever runs the
   program (a debugger, the emulator): RaiseException with these codes. */
#define RT_HOST_EXC_ERROR 0xE0545801u    /* args: BASIC error, line, address */
#define RT_HOST_EXC_UNBALANCED 0xE0545802u /* args: expected ESP, actual ESP, address */

/* Console: the process's standard handles. */
void rt_host_write(const char *s, uint32_t n);
/* A line without its end (CR LF or LF), at most cap bytes kept; -1 at the
   end of input. */
int32_t rt_host_read_line(char *buf, uint32_t cap);
/* A byte: 1 read, -1 at the end of input; with wait 0, 0 when none is
   there yet. */
int32_t rt_host_read_byte(char *c, int wait);

/* The process. */
RT_HOST_NORETURN void rt_host_exit(int status);
RT_HOST_NORETURN void rt_host_error(int code, uint32_t line, uintptr_t addr);
RT_HOST_NORETURN void rt_host_unbalanced(uintptr_t expected, uintptr_t actual, uintptr_t addr);
/* The lowest address of the running thread's stack (0: unknown). */
uintptr_t rt_host_stack_low(void);
/* The named shared block (the debugger's), mapped; 0 when there is none. */
void *rt_host_map_shared(const char *name);

/* Four words: yyyymmdd, hhmmss, milliseconds of the day, day of the week
   (Sunday 0), of the local time. */
void rt_host_clock(uint32_t words[4]);
/* The command line's arguments (without the program's name), at most cap
   bytes; its length. */
uint32_t rt_host_command_line(char *buf, uint32_t cap);
/* An environment variable's value, at most cap bytes; its length, -1 when
   it is not set. */
int32_t rt_host_env(const char *name, char *buf, uint32_t cap);

/* Files. The open modes: */
#define RT_HOST_READ 1        /* an existing file, read */
#define RT_HOST_CREATE 2      /* created or emptied, write */
#define RT_HOST_APPEND 3      /* read and write, created when missing */
#define RT_HOST_UPDATE 4      /* read and write, created when missing */
#define RT_HOST_UPDATE_EXISTING 5 /* read and write of an existing file */
#define RT_HOST_WRITE 6       /* write, created when missing, kept */
/* Each answers 0 (or a count) or minus a BASIC error number. */
int32_t rt_host_open(const char *name, int how, intptr_t *handle);
void rt_host_close(intptr_t handle);
int32_t rt_host_read(intptr_t handle, uint32_t pos, void *p, uint32_t len);
int32_t rt_host_write_at(intptr_t handle, uint32_t pos, const void *p, uint32_t len);
int32_t rt_host_size(intptr_t handle);
int32_t rt_host_truncate(intptr_t handle, uint32_t size);
int32_t rt_host_kill(const char *name);
int32_t rt_host_rename(const char *from, const char *to);
/* Kilobytes free on the current folder's disk. */
int32_t rt_host_disk_free(void);

/* The printer (the LPT1 device): 1 when there is one. */
int rt_host_printer(void);
void rt_host_print(const char *s, uint32_t n);

/* The next key, mouse click or COM input from the runtime's message queue:
   1 with ev = {kind 1 key, 2 mouse, 3 COM; number; x; y}, 0 when none
   waits. */
int rt_host_event(int32_t ev[4]);

/* The graphics screen in a window of the runtime's own, made on the first
   call: its client area shows the frame buffer (width x height colour
   numbers, rows from the top) in the palette's colours (red, green, blue,
   0), repainted now. Keys and clicks in it reach rt_host_event. */
void rt_host_screen(const uint8_t *pixels, const uint8_t palette[][4], uint32_t width, uint32_t height);

/* SHELL: runs the command, its output handed to `out` as it comes; 0 with
   its exit status in *result, or minus a BASIC error number. */
int32_t rt_host_shell(const char *cmd, uint32_t len, void (*out)(const char *s, uint32_t n), int32_t *result);

/* Module images (DLLs). A load runs the image's entry; handle 0 in
   rt_host_proc is the program's own image. */
int32_t rt_host_load(const char *name, void **handle);
void *rt_host_proc(void *handle, const char *name);
int32_t rt_host_free(void *handle);

#endif
