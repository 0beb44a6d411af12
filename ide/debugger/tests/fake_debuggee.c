/* An x86_64 debuggee for the Win32 target's tests under Wine. Its module
 * FAKE.BAS is hand-written code with the symbols a debug build carries
 * ($ENTRY$FAKE.BAS, $BAS_MAIN, the four $BAS_DBG* routines with their int3
 * protocol); its runtime side opens the shared block, gives canned watch
 * answers, counts redraw calls and ends on request.
 *
 *   fake_debuggee --obj PATH     writes FAKE.obj: the module's line records
 *                                and functions, from its own addresses
 *   fake_debuggee [MODE]         runs FAKE.BAS; MODE fault, rterror,
 *                                initfail, raise or ctrlc makes that happen;
 *                                startfault faults before FAKE.BAS starts
 */
#include <windows.h>

#include <stdint.h>
#include <stdio.h>
#include <string.h>

#include "fake_debuggee.h"

/* FAKE.BAS, lines as a source would number them (7 and 13-19 hold no code).
 * Every line starts with an instruction of its own, so a trap on its first
 * byte stops exactly there. */
__asm__(
    ".intel_syntax noprefix\n"
    ".text\n"
    ".globl \"$ENTRY$FAKE.BAS\"\n"
    ".globl \"$BAS_MAIN\"\n"
    ".globl \"FAKESUB\"\n"
    ".globl \"$BAS_DBGINIT\"\n"
    ".globl \"$BAS_DBGVALUECALC\"\n"
    ".globl \"$BAS_DBGREDRAW\"\n"
    ".globl \"$BAS_DBGEND\"\n"
    ".p2align 4\n"
    "\"$ENTRY$FAKE.BAS\":\n"
    "\"$BAS_MAIN\":\n"
    ".Lm2:  sub rsp, 40\n"
    ".Lm3:  mov dword ptr [rip + fake_counter], 0\n"
    ".Lm4:  call \"FAKESUB\"\n"
    ".Lm5:  add dword ptr [rip + fake_counter], 1\n"
    ".Lm6:  cmp dword ptr [rip + fake_counter], 3\n"
    "       jl .Lm4\n"
    ".Lm8:  lea rcx, [rip + fake_message]\n"
    "       call qword ptr [rip + __imp_OutputDebugStringA]\n"
    ".Lm9:  mov rcx, qword ptr [rip + fake_target]\n"
    ".Lm10: mov dword ptr [rcx], 1\n"
    ".Lm11: call fake_line11\n"
    ".Lm12: mov eax, dword ptr [rip + fake_counter]\n"
    "       add rsp, 40\n"
    "       ret\n"
    "\"FAKESUB\":\n"
    ".Ls20: mov eax, dword ptr [rip + fake_counter]\n"
    ".Ls21: ret\n"
    /* Lines 22-25: never reached; with them the IDE can fill all fifteen
     * breakpoints. */
    ".Ls22: nop\n"
    ".Ls23: nop\n"
    ".Ls24: nop\n"
    ".Ls25: nop\n"
    /* The debug routines: the IDE points the stopped thread at one of them
     * and regains control at each int3. The stack is aligned here, since the
     * thread may stop anywhere. */
    "\"$BAS_DBGINIT\":\n"
    "       and rsp, -16\n"
    "       sub rsp, 32\n"
    "       call fake_name_address\n"
    "       int3\n"
    "       call fake_dbg_init\n"
    "       int3\n"
    "\"$BAS_DBGVALUECALC\":\n"
    "       and rsp, -16\n"
    "       sub rsp, 32\n"
    "       call fake_value_calc\n"
    "       int3\n"
    "\"$BAS_DBGREDRAW\":\n"
    "       and rsp, -16\n"
    "       sub rsp, 32\n"
    "       mov ecx, eax\n"
    "       call fake_redraw\n"
    "       int3\n"
    "\"$BAS_DBGEND\":\n"
    "       and rsp, -16\n"
    "       sub rsp, 32\n"
    "       mov ecx, 1\n"
    "       call fake_end\n"
    "       int3\n"
    ".Lend:\n"
    /* What --obj writes: offsets from the entry symbol. */
    ".section .rdata,\"dr\"\n"
    ".p2align 3\n"
    ".globl fake_bas_main\n"
    "fake_bas_main: .quad \"$BAS_MAIN\"\n"
    ".globl fake_entry\n"
    "fake_entry: .quad \"$ENTRY$FAKE.BAS\"\n"
    ".globl fake_module_size\n"
    "fake_module_size: .long .Lend - \"$ENTRY$FAKE.BAS\"\n"
    ".globl fake_lines\n"
    "fake_lines:\n"
    "  .long 0, 0\n" /* function start of $BAS_MAIN (symbol 0) */
    "  .long .Lm2 - \"$ENTRY$FAKE.BAS\", 2\n"
    "  .long .Lm3 - \"$ENTRY$FAKE.BAS\", 3\n"
    "  .long .Lm4 - \"$ENTRY$FAKE.BAS\", 4\n"
    "  .long .Lm5 - \"$ENTRY$FAKE.BAS\", 5\n"
    "  .long .Lm6 - \"$ENTRY$FAKE.BAS\", 6\n"
    "  .long .Lm8 - \"$ENTRY$FAKE.BAS\", 8\n"
    "  .long .Lm9 - \"$ENTRY$FAKE.BAS\", 9\n"
    "  .long .Lm10 - \"$ENTRY$FAKE.BAS\", 10\n"
    "  .long .Lm11 - \"$ENTRY$FAKE.BAS\", 11\n"
    "  .long .Lm12 - \"$ENTRY$FAKE.BAS\", 12\n"
    "  .long 1, 0\n" /* function start of FAKESUB (symbol 1) */
    "  .long .Ls20 - \"$ENTRY$FAKE.BAS\", 20\n"
    "  .long .Ls21 - \"$ENTRY$FAKE.BAS\", 21\n"
    "  .long .Ls22 - \"$ENTRY$FAKE.BAS\", 22\n"
    "  .long .Ls23 - \"$ENTRY$FAKE.BAS\", 23\n"
    "  .long .Ls24 - \"$ENTRY$FAKE.BAS\", 24\n"
    "  .long .Ls25 - \"$ENTRY$FAKE.BAS\", 25\n"
    ".globl fake_line_count\n"
    "fake_line_count: .long (fake_line_count - fake_lines) / 8\n"
    ".globl fake_functions\n"
    "fake_functions:\n"
    "  .long \"$BAS_MAIN\" - \"$ENTRY$FAKE.BAS\", 0\n"
    "  .long \"FAKESUB\" - \"$ENTRY$FAKE.BAS\", 0\n"
    "  .long \"$BAS_DBGINIT\" - \"$ENTRY$FAKE.BAS\", 0\n"
    "  .long \"$BAS_DBGVALUECALC\" - \"$ENTRY$FAKE.BAS\", 0\n"
    "  .long \"$BAS_DBGREDRAW\" - \"$ENTRY$FAKE.BAS\", 0\n"
    "  .long \"$BAS_DBGEND\" - \"$ENTRY$FAKE.BAS\", 0\n"
    "  .long \"$ENTRY$FAKE.BAS\" - \"$ENTRY$FAKE.BAS\", 0\n"
    ".text\n"
    ".att_syntax\n");

struct FakeLine {
    uint32_t offset, line;
};
extern int (*const fake_bas_main)(void);
extern const uint8_t* const fake_entry;
extern const uint32_t fake_module_size;
extern const struct FakeLine fake_lines[];
extern const uint32_t fake_line_count;
extern const struct FakeLine fake_functions[];
static const char* const kFunctionNames[] = {"$BAS_MAIN",     "FAKESUB",     "$BAS_DBGINIT",    "$BAS_DBGVALUECALC",
                                             "$BAS_DBGREDRAW", "$BAS_DBGEND", "$ENTRY$FAKE.BAS"};
enum { kFunctionCount = sizeof kFunctionNames / sizeof kFunctionNames[0] };

/* Data the module's code reads. */
int fake_counter;
static int fake_scratch;
int* fake_target = &fake_scratch;
const char fake_message[] = FAKE_OUTPUT;

static char fake_name[260];
static uint8_t* fake_block;
static int fake_mode_rterror, fake_mode_initfail, fake_mode_raise, fake_mode_ctrlc;

static void Put32(uint8_t* at, uint32_t v) { memcpy(at, &v, 4); }
static uint32_t Get32(const uint8_t* at) {
    uint32_t v;
    memcpy(&v, at, 4);
    return v;
}

char* fake_name_address(void) { return fake_name; }

int fake_dbg_init(void) {
    HANDLE h;
    if (fake_mode_initfail) return FAKE_INIT_ERROR;
    h = OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, fake_name);
    if (!h) return 2;
    fake_block = (uint8_t*)MapViewOfFile(h, FILE_MAP_ALL_ACCESS, 0, 0, 4096);
    if (!fake_block) return 3;
    Put32(fake_block + FAKE_AT_MAPPED, FAKE_MAPPED_MARK);
    return 0;
}

/* Canned answers, looked up by the expression text at offset 4. */
void fake_value_calc(void) {
    static const struct {
        const char* text;
        uint32_t status, type, size;
        const char* value;
    } kAnswers[] = {
        {"I", 0, 0, 2, "\x01\x00"},
        {"L", 0, 1, 4, "\x40\xE2\x01\x00"}, /* 123456 */
        {"S$", 0, 16, 3, "ABC"},
        {"E", 5, 0, 0, ""},
    };
    const char* text;
    size_t i;
    if (!fake_block || Get32(fake_block) != 2) return;
    text = (const char*)fake_block + 4;
    for (i = 0; i < sizeof kAnswers / sizeof kAnswers[0]; ++i) {
        if (strcmp(text, kAnswers[i].text) != 0) continue;
        Put32(fake_block + 8, kAnswers[i].status);
        Put32(fake_block + 12, kAnswers[i].type);
        Put32(fake_block + 16, kAnswers[i].size);
        memcpy(fake_block + 20, kAnswers[i].value, kAnswers[i].size);
        return;
    }
    Put32(fake_block + 8, FAKE_UNKNOWN_EXPRESSION);
}

void fake_redraw(int flag) {
    if (!fake_block) return;
    Put32(fake_block + FAKE_AT_REDRAWS, Get32(fake_block + FAKE_AT_REDRAWS) + 1);
    Put32(fake_block + FAKE_AT_REDRAW_FLAG, (uint32_t)flag);
}

void fake_end(int how) { ExitProcess(FAKE_END_EXIT + (UINT)how); }

/* The program's own exception, handled by its own handler: under the
 * debugger as without it. */
static LONG CALLBACK OwnHandler(EXCEPTION_POINTERS* ep) {
    if (ep->ExceptionRecord->ExceptionCode != FAKE_RAISED_CODE) return EXCEPTION_CONTINUE_SEARCH;
    fake_counter += FAKE_RAISE_HANDLED;
    return EXCEPTION_CONTINUE_EXECUTION;
}

/* Line 11: in mode rterror a run-time error as the runtime reports it,
 * posted in the block, then a trap outside any line; continued, the
 * program ends. In mode raise an exception of the program's own; in mode
 * ctrlc what a Ctrl+C in its console raises. */
void fake_line11(void) {
    if (fake_mode_ctrlc) RaiseException(DBG_CONTROL_C, 0, 0, NULL);
    if (fake_mode_raise) {
        AddVectoredExceptionHandler(1, OwnHandler);
        RaiseException(FAKE_RAISED_CODE, 0, 0, NULL);
    }
    if (!fake_mode_rterror || !fake_block) return;
    Put32(fake_block, 1);
    Put32(fake_block + 8, FAKE_RTERROR_LINE);
    Put32(fake_block + 12, FAKE_RTERROR_CODE);
    strcpy((char*)fake_block + 16, "FAKE.BAS");
    __asm__ volatile("int3");
    ExitProcess(FAKE_RTERROR_EXIT);
}

/* FAKE.obj as the code generator would write it for this module: one code
 * section with the module's bytes, its line records (function-start records
 * naming their symbol), and the module's functions as external symbols. */
static void Put16(uint8_t* at, uint16_t v) { memcpy(at, &v, 2); }

static int WriteObject(const char* path) {
    enum { kHeader = 20, kSection = 40, kLine = 6, kSymbol = 18 };
    uint32_t code = fake_module_size, lines = fake_line_count;
    uint32_t rawAt = kHeader + kSection, linesAt = rawAt + code, symAt = linesAt + lines * kLine;
    uint32_t strAt = symAt + kFunctionCount * kSymbol, strSize = 4, i;
    static uint8_t buf[65536];
    FILE* f;
    memset(buf, 0, sizeof buf);
    Put16(buf, 0x14C);
    Put16(buf + 2, 1);
    Put32(buf + 8, symAt);
    Put32(buf + 12, kFunctionCount);
    memcpy(buf + kHeader, ".text", 5);
    Put32(buf + kHeader + 16, code);
    Put32(buf + kHeader + 20, rawAt);
    Put32(buf + kHeader + 28, linesAt);
    Put16(buf + kHeader + 34, (uint16_t)lines);
    Put32(buf + kHeader + 36, 0x60500020);
    memcpy(buf + rawAt, fake_entry, code);
    for (i = 0; i < lines; ++i) {
        Put32(buf + linesAt + i * kLine, fake_lines[i].offset);
        Put16(buf + linesAt + i * kLine + 4, (uint16_t)fake_lines[i].line);
    }
    for (i = 0; i < kFunctionCount; ++i) {
        uint8_t* s = buf + symAt + i * kSymbol;
        size_t n = strlen(kFunctionNames[i]);
        if (n <= 8) {
            memcpy(s, kFunctionNames[i], n);
        } else {
            Put32(s + 4, strSize);
            memcpy(buf + strAt + strSize, kFunctionNames[i], n + 1);
            strSize += (uint32_t)n + 1;
        }
        Put32(s + 8, fake_functions[i].offset);
        Put16(s + 12, 1);
        Put16(s + 14, 0x20);
        s[16] = 2; /* external */
    }
    Put32(buf + strAt, strSize);
    f = fopen(path, "wb");
    if (!f) return 1;
    i = (uint32_t)fwrite(buf, 1, strAt + strSize, f);
    return fclose(f) != 0 || i != strAt + strSize;
}

int main(int argc, char** argv) {
    if (argc == 3 && strcmp(argv[1], "--obj") == 0) return WriteObject(argv[2]);
    if (argc == 2 && strcmp(argv[1], "fault") == 0) fake_target = NULL;
    if (argc == 2 && strcmp(argv[1], "rterror") == 0) fake_mode_rterror = 1;
    if (argc == 2 && strcmp(argv[1], "initfail") == 0) fake_mode_initfail = 1;
    if (argc == 2 && strcmp(argv[1], "raise") == 0) fake_mode_raise = 1;
    if (argc == 2 && strcmp(argv[1], "ctrlc") == 0) fake_mode_ctrlc = 1;
    /* An access violation before the handshake (Wine may map page zero). */
    if (argc == 2 && strcmp(argv[1], "startfault") == 0)
        RaiseException(EXCEPTION_ACCESS_VIOLATION, EXCEPTION_NONCONTINUABLE, 0, NULL);
    return fake_bas_main();
}
