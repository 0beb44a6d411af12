#include "watch_block.h"

#include <cstring>

namespace txwatch {

namespace {

uint32_t Word(const uint8_t* block, size_t at) {
  uint32_t w;
  std::memcpy(&w, block + at, 4);
  return w;
}

void PutWord(uint8_t* block, size_t at, uint32_t w) { std::memcpy(block + at, &w, 4); }

// Value bytes of the number types; 0 for the others (their size decides).
uint32_t TypeBytes(uint32_t type) {
  switch (type) {
    case kWatchInt: return 2;
    case kWatchLng: case kWatchSng: return 4;
    case kWatchDbl: return 8;
    case kWatchByt: return 1;
    default: return 0;
  }
}

}  // namespace

size_t TokenRecordBytes(uint8_t first, uint8_t second) {
  if (first == kTokenEnd && second == 0) return 0;
  if (first != kTokenConstant) return 4;
  switch (second) {
    case 0: return 6;
    case 1: case 2: return 8;
    case 3: return 12;
    case 4: return 5;
    default: return 4;   // a string constant {0x70, 16, offset, length}
  }
}

uint32_t TokenLength(const uint8_t* tokens, size_t bytes) {
  size_t at = 0;
  while (at + 2 <= bytes) {
    size_t n = TokenRecordBytes(tokens[at], tokens[at + 1]);
    if (n == 0) return static_cast<uint32_t>(at + 4 <= bytes ? at + 4 : bytes);
    at += n;
  }
  return static_cast<uint32_t>(bytes);
}

std::unique_ptr<WatchVar> CompileWatch(const std::string& text, bool hex, uint32_t number,
                                       const TokenizerFn& tokenize, const ErrorTextFn& errorText) {
  if (text.empty()) return nullptr;
  auto var = std::make_unique<WatchVar>();
  var->number = number;
  var->text = text;
  var->hex = hex;
  var->tokens.assign(kTokenBufferBytes, 0);
  std::vector<char> copy(text.begin(), text.end());
  copy.push_back('\0');
  tokenize(copy.data(), var->tokens.data(), kTokenizeWatch);
  const uint8_t* t = var->tokens.data();
  for (size_t at = 0; at + 2 <= kTokenBufferBytes;) {
    size_t n = TokenRecordBytes(t[at], t[at + 1]);
    if (n == 0) break;
    if (t[at] == kTokenError) {
      var->status = t[at + 1];
      var->type = 3;
      if (errorText) var->errorText = errorText(t[at + 1], false, false, false);
      return var;
    }
    at += n;
  }
  var->status = 0;
  var->text = copy.data();
  return var;
}

void WriteRequest(const WatchVar& var, uint8_t* block) {
  PutWord(block, kBlockCommand, kCommandEvaluate);
  size_t n = std::min(var.text.size(), kBlockTextBytes - 1);
  std::memcpy(block + kBlockText, var.text.data(), n);
  block[kBlockText + n] = 0;
  size_t tokens = TokenLength(var.tokens.data(), var.tokens.size());
  if (tokens) std::memcpy(block + kBlockTokens, var.tokens.data(), tokens);
}

bool ReadAnswer(WatchVar& var, const uint8_t* block) {
  int32_t status = static_cast<int32_t>(Word(block, kBlockStatus));
  uint32_t type = Word(block, kBlockType), size = Word(block, kBlockSize);
  uint32_t bytes = TypeBytes(type);
  // No answer is longer than a string of 255 bytes; a larger size is not
  // read (the watch keeps its previous value).
  if (status == 0 && bytes == 0 && size > kMaxAnswerBytes) return false;
  var.hasValue = false;
  var.value.clear();
  var.status = status;
  if (status != 0) {
    var.type = Word(block, kBlockText);
    return true;
  }
  if (bytes == 0) bytes = size;
  var.type = type;
  var.size = size;
  var.value.assign(bytes, 0);
  // An empty string's value has no bytes (and no buffer to copy into).
  if (bytes && size) std::memcpy(var.value.data(), block + kBlockValue, std::min(bytes, size));
  var.hasValue = true;
  return true;
}

void ClearBlock(uint8_t* block) { std::memset(block, 0, kBlockCleared); }

bool EvaluateWatch(WatchVar& var, uint8_t* block, const std::function<bool()>& callValueCalc) {
  WriteRequest(var, block);
  // A request left behind would be answered at the next call.
  bool ok = callValueCalc() && ReadAnswer(var, block);
  ClearBlock(block);
  return ok;
}

std::string WatchValueText(const WatchVar& var, const ErrorTextFn& errorText) {
  return FormatWatchValue(var.status, var.type, var.value, errorText);
}

WatchRow MainRow(const WatchVar& var, const ErrorTextFn& errorText) {
  WatchRow row;
  row.number = var.number;
  row.expression = var.text;
  row.text = WatchValueText(var, errorText);
  row.expanded = var.hex;
  row.error = var.status != 0;
  return row;
}

std::string WatchConsoleLine(const WatchVar& var, const ErrorTextFn& errorText) {
  std::string line = var.text + " = " + WatchValueText(var, errorText);
  std::string tag = var.status == 0 ? WatchTypeTag(var.type, var.size) : "";
  return tag.empty() ? line : line + " " + tag;
}

RuntimeErrorReport ReadRuntimeErrorReport(const uint8_t* block) {
  RuntimeErrorReport r;
  uint32_t command = Word(block, kBlockCommand);
  r.error = Word(block, kReportError);
  r.posted = command == 1 || (command == 0 && r.error != 0);
  if (!r.posted) return r;
  r.line = Word(block, kReportLine);
  const char* name = reinterpret_cast<const char*>(block + kReportModule);
  r.module.assign(name, strnlen(name, kReportModuleBytes - 1));
  return r;
}

}  // namespace txwatch
