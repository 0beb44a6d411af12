#include <gtest/gtest.h>

#include <cctype>
#include <map>

#include "ev_harness.h"
#include "txpp.h"
#include "watch_block.h"
#include "wp_answer.h"
#include "wp_services.h"

namespace {

using namespace txev_test;

std::string Upper(const char* p, uint32_t n) {
  std::string s(p, n);
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

// The debugged program's names: descriptors in the arena.
class Names : public txwp::WatchNames {
 public:
  std::map<std::string, uint32_t> scalars, arrays;
  std::map<std::pair<uint32_t, std::string>, uint32_t> members;
  uint32_t Variable(const char* name, uint32_t length, uint8_t, bool array) override {
    auto& table = array ? arrays : scalars;
    auto it = table.find(Upper(name, length));
    return it == table.end() ? 0 : it->second;
  }
  uint32_t Member(uint32_t typeRecord, const char* name, uint32_t length) override {
    auto it = members.find({typeRecord, Upper(name, length)});
    return it == members.end() ? 0 : it->second;
  }
};

std::string ErrorText(uint32_t e, bool, bool, bool) { return "E" + std::to_string(e); }

class WatchTest : public ::testing::Test {
 protected:
  Arena arena;
  Names names;
  txev::DirectMemory memory;
  txev::EvalRuntime* runtime = &StandInRuntime();

  void SetUp() override {
    names.scalars["I"] = arena.Desc(txev::kTInt, 1, arena.Value<int16_t>(1));
    names.scalars["S"] = arena.Desc(txev::kTStr, 1, arena.StrVar("abc"));
    std::vector<int32_t> a(11);
    for (int i = 0; i <= 10; ++i) a[i] = 100 + i;
    names.arrays["A"] = arena.Desc(txev::kTLng, 17,
                                   arena.Header(arena.Put(a.data(), 44), arena.Bounds({10})));
    uint32_t typeRec = arena.Put(std::vector<uint32_t>{0, 40}.data(), 8);
    uint32_t rec = arena.Zeros(40);
    int16_t x = 77;
    std::memcpy(arena.At(rec), &x, 2);
    double v2 = 3.0;
    std::memcpy(arena.At(rec + 8 + 16), &v2, 8);
    names.scalars["R"] = arena.Desc(txev::kTRecord, 1, rec, typeRec);
    names.members[{typeRec, "X"}] = arena.Desc(txev::kTInt, 0, 0);
    names.members[{typeRec, "V"}] = arena.Desc(txev::kTDbl, 0, 8, 0, arena.Bounds({3}));
  }

  // The watch as the debugger would show it on the console: the IDE's side
  // writes the request into the block, the debuggee's side answers in it.
  std::string Watch(const std::string& expression) {
    auto var = txwatch::CompileWatch(expression, false, 0, PP_EdtChk, ErrorText);
    if (!var) return "(none)";
    uint8_t* block = arena.At(arena.Zeros(txwatch::kBlockBytes));
    uint8_t* scratch = arena.At(arena.Zeros(2048));
    bool answered = txwatch::EvaluateWatch(*var, block, [&] {
      txwp::AnswerWatchRequest(block, names, memory, *runtime, 0, scratch, 2048);
      return true;
    });
    EXPECT_TRUE(answered);
    for (size_t i = 0; i < txwatch::kBlockCleared; ++i) {
      EXPECT_EQ(block[i], 0) << "block byte " << i;
    }
    return txwatch::WatchConsoleLine(*var, ErrorText);
  }
};

TEST_F(WatchTest, FromTextToConsoleLine) {
  struct Case { const char* expression; const char* line; };
  const Case cases[] = {
      {"I", "I = 1 [INT]"},
      {"S", "S = \"abc\" [STR:3]"},
      {"I/0", "I/0 = E11"},
      {"a(10)", "a(10) = 110 [LNG]"},
      {"A(11)", "A(11) = E9"},
      {"A(1, 1)", "A(1, 1) = E9"},
      {"R.X", "R.X = 77 [INT]"},
      {"R.V(2) + R.X", "R.V(2) + R.X = 80 [DBL]"},
      {"R.Y", "R.Y = E2"},
      {"R.X(2)", "R.X(2) = E9"},  // a scalar member has no bounds to read
      {"-2^2", "-2^2 = -4 [DBL]"},
      {"1 + 2 * 3", "1 + 2 * 3 = 7 [DBL]"},
      {"(1 + 2) * 3", "(1 + 2) * 3 = 9 [DBL]"},
      {"7 MOD -2", "7 MOD -2 = 1 [LNG]"},
      {"-7 \\ 2", "-7 \\ 2 = -3 [LNG]"},
      {"not 0", "NOT 0 = -1 [INT]"},
      {"S + \"d\"", "S + \"d\" = \"abcd\" [STR:4]"},
      {"S & S", "S & S = \"abcabc\" [STR:6]"},
      {"LEN(S) + 1", "LEN(S) + 1 = 4 [DBL]"},
      {"MID$(S, 2)", "MID$(S, 2) = \"bc\" [STR:2]"},
      {"MID$(S, 1, 1)", "MID$(S, 1, 1) = \"a\" [STR:1]"},
      {"I = 1 AND S = \"abc\"", "I = 1 AND S = \"abc\" = -1 [LNG]"},
      {"I < 1 OR S <> \"abc\"", "I < 1 OR S <> \"abc\" = 0 [LNG]"},
      {"NOBODY + 1", "NOBODY + 1 = 1 [DBL]"},
      {"CHR$(65, 66)", "CHR$(65, 66) = \"AB\" [STR:2]"},
      {"SQR(16)", "SQR(16) = 4 [DBL]"},
      {"CINT(2.5) + 0", "CINT(2.5) + 0 = 2 [DBL]"},
      {"2.5", "2.5 = 2.5 [SNG]"},
      {"1D300 * 1D300", "1D300 * 1D300 = E6"},
      {"1 +", "1 + = E2"},
      {"(1", "(1 = E2"},
      {"1 2", "1 2 = E2"},
      {"\"abc", "\"abc = E2"},
      {"S - 1", "S - 1 = E13"},
      {"S * S", "S * S = E13"},
  };
  // The same lines over the TQ70RN63 stand-in and over the debuggee's own
  // static services.
  txwp::StaticRuntime staticRuntime;
  for (txev::EvalRuntime* r : {&StandInRuntime(), static_cast<txev::EvalRuntime*>(&staticRuntime)}) {
    runtime = r;
    for (const Case& c : cases) {
      SCOPED_TRACE(c.expression);
      EXPECT_EQ(Watch(c.expression), c.line) << (r == &staticRuntime ? "static services" : "stand-in");
    }
  }
}

TEST_F(WatchTest, AddressOfAVariable) {
  uint32_t address;
  std::memcpy(&address, arena.At(names.scalars["I"] + txev::kDescAddr), 4);
  EXPECT_EQ(Watch("VARPTR(I)"), "VARPTR(I) = " + std::to_string(static_cast<int32_t>(address)) + " [LNG]");
}

}  // namespace

namespace {

TEST_F(WatchTest, BlockWithoutARequestIsLeftAlone) {
  uint8_t* block = arena.At(arena.Zeros(txwatch::kBlockBytes));
  uint8_t* scratch = arena.At(arena.Zeros(64));
  std::memcpy(block + txwatch::kBlockText, "I", 2);
  EXPECT_EQ(txwp::AnswerWatchRequest(block, names, memory, StandInRuntime(), 0, scratch, 64), -1);
  EXPECT_EQ(block[txwatch::kBlockStatus], 0);
  EXPECT_EQ(block[txwatch::kBlockText], 'I');
}

TEST_F(WatchTest, PcodeThatDoesNotFitIsError7) {
  auto var = txwatch::CompileWatch("1+2+3+4+5+6+7+8+9", false, 0, PP_EdtChk, ErrorText);
  uint8_t* block = arena.At(arena.Zeros(txwatch::kBlockBytes));
  uint8_t* scratch = arena.At(arena.Zeros(16));
  txwatch::WriteRequest(*var, block);
  EXPECT_EQ(txwp::AnswerWatchRequest(block, names, memory, StandInRuntime(), 0, scratch, 16), 7);
}

}  // namespace
