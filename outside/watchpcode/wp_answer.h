// The debuggee's side of a watch request in the shared block: what the
// runtime's value-calculation hook does when $BAS_DBGVALUECALC runs. Reads
// the text and tokens the IDE wrote, makes the P-code, evaluates it and
// writes the answer (status, type, size, value) back into the block.
#pragma once

#include <cstdint>

#include "evaluator.h"
#include "wp_producer.h"

namespace txwp {

// The block and the scratch area lie at 32-bit addresses of the process
// (the text is the evaluator's string-constant base, the scratch area
// holds the P-code). Returns the status written, or -1 when the block
// asks for no evaluation.
int32_t AnswerWatchRequest(uint8_t* block, WatchNames& names, txev::EvalMemory& memory,
                           txev::EvalRuntime& runtime, uint32_t frameBase, uint8_t* scratch,
                           uint32_t scratchBytes);

}  // namespace txwp
