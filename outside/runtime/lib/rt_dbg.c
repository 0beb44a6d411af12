/* The debugger's value-calculation hook: answers the watch request the IDE
   left in the shared block with the evaluator (libtxeval_i686 objects,
   archived with the runtime). Only a program built with debug information
   calls it, so only such a program pulls this object and the evaluator in;
   its main module also defines the COMMON debug table used here. */
#include "rt.h"

/* The evaluator's view of the program's names (txwp::DebugTables). */
typedef struct {
    uint32_t procedure; /* the stopped procedure's entry, or 0 */
    uint32_t module;    /* the module variable table, or 0 */
    uint32_t common;    /* the COMMON table */
} RtDbgTables;

int32_t txwp_answer_watch(uint8_t *block, const RtDbgTables *tables, uint32_t frameBase,
                          uint8_t *scratch, uint32_t scratchBytes);

extern uint8_t *rt_dbg_block;
extern uint32_t rt_mcb;
uint32_t rt_dbg_auto_current(void);
extern const uint8_t rt_dbg_common[] RT_NAME("_$PvDbgGlobal");

#define RT_MCB_DEBUG_TABLE 8 /* the control block's word with the module table */

static uint8_t rt_dbg_scratch[2048];

/* frame: EBP of the stopped statement, the base of its procedure's locals
   and parameters (the hook is entered with the stopped thread's EBP). */
uint32_t rt_dbg_value_at(uint32_t frame);
uint32_t rt_dbg_value_at(uint32_t frame) {
    if (!rt_dbg_block) return 0;
    RtDbgTables t;
    t.procedure = rt_dbg_auto_current();
    t.module = rt_mcb ? *(const uint32_t *)(rt_mcb + RT_MCB_DEBUG_TABLE) : 0;
    t.common = (uint32_t)rt_dbg_common;
    int32_t status = txwp_answer_watch(rt_dbg_block, &t, frame, rt_dbg_scratch, sizeof rt_dbg_scratch);
    return status < 0 ? 0 : (uint32_t)status;
}

/* _$PdDbgValueCalc@0: EBP still belongs to the stopped statement here. */
__asm__(".text\n"
        ".globl \"_$PdDbgValueCalc@0\"\n"
        "\"_$PdDbgValueCalc@0\":\n"
        "  pushl %ebp\n"
        "  call _rt_dbg_value_at\n"
        "  addl $4, %esp\n"
        "  ret\n");
