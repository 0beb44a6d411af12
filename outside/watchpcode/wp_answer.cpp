#include "wp_answer.h"

#include <cstring>

#include "watch_layout.h"

namespace txwp {

using namespace txwatch;

namespace {

void PutWord(uint8_t* block, size_t at, uint32_t w) { std::memcpy(block + at, &w, 4); }

uint32_t Address(const void* p) {
  return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(p));
}

}  // namespace

int32_t AnswerWatchRequest(uint8_t* block, WatchNames& names, txev::EvalMemory& memory,
                           txev::EvalRuntime& runtime, uint32_t frameBase, uint8_t* scratch,
                           uint32_t scratchBytes) {
  uint32_t command;
  std::memcpy(&command, block + kBlockCommand, 4);
  if (command != kCommandEvaluate) return -1;
  // The text ends inside its field even when the IDE wrote a longer one.
  block[kBlockText + kBlockTextBytes - 1] = 0;
  const char* text = reinterpret_cast<const char*>(block + kBlockText);
  uint32_t length = 0;
  int32_t status = ProduceWatchPcode(block + kBlockTokens, kTokenBufferBytes, text, memory, names,
                                     scratch, scratchBytes, &length);
  txev::DbgValueResult result;
  if (status == 0) {
    status = txev::EvaluatePcode(memory, runtime, {Address(text), Address(scratch), frameBase},
                                 result);
  }
  // The answer overlays the text from offset 8; the text is no longer needed.
  PutWord(block, kBlockStatus, static_cast<uint32_t>(status));
  if (status == 0) {
    uint32_t size = result.size <= kMaxAnswerBytes ? result.size : kMaxAnswerBytes;
    PutWord(block, kBlockType, result.type);
    PutWord(block, kBlockSize, size);
    std::memcpy(block + kBlockValue, result.value, size);
  }
  return status;
}

}  // namespace txwp
