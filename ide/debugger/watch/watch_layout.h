// Layout of the 4096-byte shared block "TvDbgMapFile", for both sides: the
// IDE (watch_block.h) and the debuggee's answering code. No library
// headers, so freestanding code can include it.
#pragma once

#include <stddef.h>
#include <stdint.h>

namespace txwatch {

constexpr size_t kBlockBytes = 4096;
constexpr size_t kBlockCommand = 0;      // 2 = evaluate
constexpr size_t kBlockText = 4;         // zero-terminated expression text
constexpr size_t kBlockTextBytes = 260;
constexpr size_t kBlockStatus = 8;       // answer: 0 or a BASIC error number
constexpr size_t kBlockType = 12;
constexpr size_t kBlockSize = 16;
constexpr size_t kBlockValue = 20;
constexpr size_t kBlockTokens = 264;
constexpr size_t kBlockCleared = 276;    // zeroed after every evaluation
constexpr uint32_t kCommandEvaluate = 2;
// Run-time error report: offset 0 holds 1 (or 0 with an error number),
// then the line, the error number and the module name.
constexpr size_t kReportLine = 8, kReportError = 12, kReportModule = 16;
constexpr size_t kReportModuleBytes = 260;

constexpr size_t kTokenBufferBytes = 1600;
constexpr size_t kMaxAnswerBytes = 255;

}  // namespace txwatch
