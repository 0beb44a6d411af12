#include <gtest/gtest.h>

#include <cstring>

#include "watch_block.h"

namespace txwatch {
namespace {

std::string ErrorText(uint32_t e, bool, bool, bool) { return "E" + std::to_string(e); }

// A tokeniser stand-in that writes given records and upper-cases the text.
TokenizerFn Writes(std::vector<uint8_t> records) {
  return [records](char* text, uint8_t* tokens, int mode) {
    EXPECT_EQ(mode, kTokenizeWatch);
    for (char* p = text; *p; ++p) *p = static_cast<char>(toupper(*p));
    std::memcpy(tokens, records.data(), records.size());
    return 0;
  };
}

TEST(WatchBlock, TokenLengthWalksRecordsBySize) {
  struct Case { const char* name; std::vector<uint8_t> tokens; uint32_t length; };
  const Case cases[] = {
      {"end only", {0xF1, 0}, 4},
      {"name", {0x50, 0, 0, 1, 0xF1, 0}, 8},
      {"INT constant", {0x70, 0, 1, 0, 0, 0, 0xF1, 0}, 10},
      {"LNG, SNG", {0x70, 1, 0, 0, 0, 0, 0, 0, 0x70, 2, 0, 0, 0, 0, 0, 0, 0xF1, 0}, 20},
      {"DBL", {0x70, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xF1, 0}, 16},
      {"BYT", {0x70, 4, 9, 0, 0, 0xF1, 0}, 9},
      {"string constant", {0x70, 16, 0, 3, 0xF1, 0}, 8},
      {"F1 with a kind is no end", {0xF1, 1, 0, 0, 0xF1, 0}, 8},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<uint8_t> buf(kTokenBufferBytes, 0x50);
    std::memcpy(buf.data(), c.tokens.data(), c.tokens.size());
    EXPECT_EQ(TokenLength(buf.data(), buf.size()), c.length);
  }
  // No end mark: the walk stops at the buffer's end.
  std::vector<uint8_t> full(kTokenBufferBytes, 0x50);
  EXPECT_EQ(TokenLength(full.data(), full.size()), kTokenBufferBytes);
}

TEST(WatchBlock, CompileTakesTheTokeniserText) {
  EXPECT_EQ(CompileWatch("", false, 0, Writes({0xF1, 0}), ErrorText), nullptr);
  auto ok = CompileWatch("i + 1", true, 3, Writes({0x50, 0, 0, 1, 0xF1, 0}), ErrorText);
  ASSERT_NE(ok, nullptr);
  EXPECT_EQ(ok->status, 0);
  EXPECT_EQ(ok->text, "I + 1");
  EXPECT_EQ(ok->number, 3u);
  EXPECT_TRUE(ok->hex);
  auto bad = CompileWatch("i +", false, 4, Writes({0x50, 0, 0, 1, 0xF0, 2, 0, 0, 0xF1, 0}), ErrorText);
  ASSERT_NE(bad, nullptr);
  EXPECT_EQ(bad->status, 2);
  EXPECT_EQ(bad->type, 3u);
  EXPECT_EQ(bad->errorText, "E2");
  EXPECT_EQ(bad->text, "i +");
}

// A debuggee stand-in: checks the request and writes an answer.
struct Debuggee {
  uint8_t* block;
  uint32_t status = 0, type = 0, size = 0;
  std::vector<uint8_t> value = {};
  std::string seenText = {};
  size_t calls = 0;
  bool Call() {
    ++calls;
    uint32_t command;
    std::memcpy(&command, block, 4);
    EXPECT_EQ(command, kCommandEvaluate);
    seenText = reinterpret_cast<const char*>(block + kBlockText);
    std::memcpy(block + kBlockStatus, &status, 4);
    std::memcpy(block + kBlockType, &type, 4);
    std::memcpy(block + kBlockSize, &size, 4);
    if (!value.empty()) std::memcpy(block + kBlockValue, value.data(), value.size());
    return true;
  }
};

TEST(WatchBlock, EvaluateReadsTheAnswerAndClearsTheBlock) {
  std::vector<uint8_t> block(kBlockBytes, 0);
  auto var = CompileWatch("S", false, 0, Writes({0x50, 16, 0, 1, 0xF1, 0}), ErrorText);
  Debuggee d{block.data()};
  struct Case {
    const char* name;
    uint32_t status, type, size;
    std::vector<uint8_t> value;
    bool ok;
    const char* text;
    const char* lineText;
  };
  const Case cases[] = {
      {"INT 1", 0, 0, 2, {1, 0}, true, "1", "S = 1 [INT]"},
      {"string", 0, 16, 3, {'a', 'b', 'c'}, true, "\"abc\"", "S = \"abc\" [STR:3]"},
      {"empty string", 0, 16, 0, {}, true, "\"\"", "S = \"\" [STR:0]"},
      {"error 11", 11, 0, 0, {}, true, "E11", "S = E11"},
      {"255 bytes", 0, 16, 255, std::vector<uint8_t>(255, 'x'), true, nullptr, nullptr},
      {"256 bytes", 0, 16, 256, {}, false, nullptr, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    d.status = c.status;
    d.type = c.type;
    d.size = c.size;
    d.value = c.value;
    EXPECT_EQ(EvaluateWatch(*var, block.data(), [&] { return d.Call(); }), c.ok);
    EXPECT_EQ(d.seenText, "S");
    for (size_t i = 0; i < kBlockCleared; ++i) {
      ASSERT_EQ(block[i], 0) << "byte " << i;
    }
    if (c.text) {
      EXPECT_EQ(WatchValueText(*var, ErrorText), c.text);
    }
    if (c.lineText) {
      EXPECT_EQ(WatchConsoleLine(*var, ErrorText), c.lineText);
    }
    if (c.ok && c.status == 0) {
      EXPECT_EQ(var->value.size(), c.size);
      EXPECT_EQ(var->type, c.type);
    }
  }
  // The too-long answer left the previous value in place.
  EXPECT_EQ(var->value.size(), 255u);
  // A missing routine: no answer, the block is still cleared.
  EXPECT_FALSE(EvaluateWatch(*var, block.data(), [] { return false; }));
  for (size_t i = 0; i < kBlockCleared; ++i) {
    ASSERT_EQ(block[i], 0) << "byte " << i;
  }
}

TEST(WatchBlock, NumberAnswersTakeTheirTypeSize) {
  std::vector<uint8_t> block(kBlockBytes, 0);
  WatchVar var;
  uint32_t type = 3, size = 16;   // never more than the type's 8 bytes
  std::memcpy(block.data() + kBlockType, &type, 4);
  std::memcpy(block.data() + kBlockSize, &size, 4);
  double v = 1.5;
  std::memcpy(block.data() + kBlockValue, &v, 8);
  ASSERT_TRUE(ReadAnswer(var, block.data()));
  EXPECT_EQ(var.value.size(), 8u);
  var.text = "D#";
  WatchRow row = MainRow(var, ErrorText);
  EXPECT_EQ(WatchRowText(row), "D# : 1.5");
  EXPECT_FALSE(row.error);
}

TEST(WatchBlock, RuntimeErrorReport) {
  std::vector<uint8_t> block(kBlockBytes, 0);
  EXPECT_FALSE(ReadRuntimeErrorReport(block.data()).posted);
  uint32_t one = 1, line = 12, error = 5;
  std::memcpy(block.data(), &one, 4);
  std::memcpy(block.data() + kReportLine, &line, 4);
  std::memcpy(block.data() + kReportError, &error, 4);
  std::memset(block.data() + kReportModule, 'M', 400);   // no terminator within 260
  RuntimeErrorReport r = ReadRuntimeErrorReport(block.data());
  EXPECT_TRUE(r.posted);
  EXPECT_EQ(r.line, 12u);
  EXPECT_EQ(r.error, 5u);
  EXPECT_EQ(r.module.size(), kReportModuleBytes - 1);
  uint32_t zero = 0;
  std::memcpy(block.data(), &zero, 4);
  EXPECT_TRUE(ReadRuntimeErrorReport(block.data()).posted);   // 0 with an error number
  std::memcpy(block.data() + kReportError, &zero, 4);
  EXPECT_FALSE(ReadRuntimeErrorReport(block.data()).posted);
}

}  // namespace
}  // namespace txwatch
