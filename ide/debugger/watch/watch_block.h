// The watch side of the shared block "TvDbgMapFile": a watched expression
// (its tokens from the tokeniser, its last answer), the request written
// into the block, the answer read back, and the run-time error report.
// Portable: the engine passes the mapped block and makes the remote call.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "watch_format.h"
#include "watch_layout.h"

namespace txwatch {

constexpr uint8_t kTokenConstant = 0x70, kTokenError = 0xF0, kTokenEnd = 0xF1;

// The tokeniser (PP_EdtChk): normalises the text in place and writes the
// token records into a 1600-byte buffer.
using TokenizerFn = std::function<int(char* text, uint8_t* tokens, int mode)>;
constexpr int kTokenizeWatch = 2;

// A watched expression (CDbgVar).
struct WatchVar {
  uint32_t number = 0;
  std::string text;
  bool hex = false;
  std::vector<uint8_t> tokens;   // kTokenBufferBytes once tokenised
  int32_t status = -1;           // -1 no tokens yet, 0 fine, else a BASIC error
  uint32_t type = 0;
  uint32_t size = 0;
  bool hasValue = false;
  std::vector<uint8_t> value;
  std::string errorText;
};

// Bytes of a record starting with `first` and `second`; 0 at the end mark.
size_t TokenRecordBytes(uint8_t first, uint8_t second);
// Bytes of the records up to the end mark, plus 4 for the mark; the walk
// never leaves the buffer (a buffer without an end mark counts whole).
uint32_t TokenLength(const uint8_t* tokens, size_t bytes);

// Tokenises a new watch; none for an empty text. A tokeniser error sets
// the status, type 3 and the error's text.
std::unique_ptr<WatchVar> CompileWatch(const std::string& text, bool hex, uint32_t number,
                                       const TokenizerFn& tokenize, const ErrorTextFn& errorText);

// Writes the evaluate request: command 2, the text, the tokens.
void WriteRequest(const WatchVar& var, uint8_t* block);
// Takes the answer into the watch; false when it cannot be held (a value
// larger than 255 bytes).
bool ReadAnswer(WatchVar& var, const uint8_t* block);
void ClearBlock(uint8_t* block);

// One evaluation: request, the remote call of $BAS_DBGVALUECALC (false
// when it could not be made), answer, cleared block. True when the
// debuggee answered, also with an error status.
bool EvaluateWatch(WatchVar& var, uint8_t* block, const std::function<bool()>& callValueCalc);

// The watch's value text and its row in the watch window.
std::string WatchValueText(const WatchVar& var, const ErrorTextFn& errorText);
WatchRow MainRow(const WatchVar& var, const ErrorTextFn& errorText);
// A watch as one console line: "EXPR = TEXT [TAG]" (no tag for an error
// or a type without one).
std::string WatchConsoleLine(const WatchVar& var, const ErrorTextFn& errorText);

struct RuntimeErrorReport {
  bool posted = false;
  uint32_t line = 0;
  uint32_t error = 0;
  std::string module;
};
RuntimeErrorReport ReadRuntimeErrorReport(const uint8_t* block);

}  // namespace txwatch
