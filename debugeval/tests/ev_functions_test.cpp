// Watches of intrinsic functions through the evaluator and the runtime
// stand-in: each row is the watch as written, its P-code, and the value
// text or the BASIC error it shows. Natively over the cores; in the win64
// build through both DLLs under Wine.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>

#include "ev_harness.h"
#include "tokens.h"

namespace txev_test {
namespace {

using namespace tok;
using Build = std::function<void(Pcode&)>;

struct Want {
  std::string text;
  uint32_t error = 0;
};
Want Err(uint32_t error) { return {"", error}; }

struct Row {
  const char* watch;
  Build build;
  Want want;
};

// Arguments as one-operand programs; a call is one too, so calls nest.
Build I(int16_t v) { return [=](Pcode& p) { p.Single(kTInt).Int(v).End(); }; }
Build L(int32_t v) { return [=](Pcode& p) { p.Single(kTLng).Lng(v).End(); }; }
Build F(float v) { return [=](Pcode& p) { p.Single(kTSng).Sng(v).End(); }; }
Build D(double v) { return [=](Pcode& p) { p.Single(kTDbl).Dbl(v).End(); }; }
Build Omitted() { return [](Pcode& p) { p.B({kOpOmitted, kOmittedMark}); }; }
Build Fn(uint8_t code, uint8_t type, std::vector<Build> args = {}) {
  return [=](Pcode& p) {
    p.Single(type).Call(code, type);
    for (const Build& a : args) a(p);
    p.CallEnd().End();
  };
}

// The value as the watch window would show it, digits enough to tell.
std::string ValueText(const Outcome& o) {
  char t[64];
  const uint8_t* v = o.value.data();
  switch (o.type) {
    case kTInt: { int16_t x; std::memcpy(&x, v, 2); std::snprintf(t, sizeof t, "%d", x); break; }
    case kTLng: { int32_t x; std::memcpy(&x, v, 4); std::snprintf(t, sizeof t, "%d", x); break; }
    case kTSng: { float x; std::memcpy(&x, v, 4); std::snprintf(t, sizeof t, "%.7g", x); break; }
    case kTDbl: { double x; std::memcpy(&x, v, 8); std::snprintf(t, sizeof t, "%.15g", x); break; }
    default: return std::string(o.value.begin(), o.value.end());
  }
  return t;
}

class FunctionWatch : public ::testing::Test {
 protected:
  Arena arena;

  // A string variable holding text.
  Build S(const std::string& text) {
    uint32_t d = arena.Desc(kTStr, 1, arena.StrVar(text));
    return [=](Pcode& p) { p.Single(kTStr).Var(kOpVar, kTStr, d).End(); };
  }

  void Walk(const std::vector<Row>& rows) {
    for (const Row& r : rows) {
      SCOPED_TRACE(r.watch);
      Pcode p;
      r.build(p);
      Outcome o = Evaluate(arena, p.Finish(arena));
      EXPECT_EQ(o.error, r.want.error);
      if (r.want.error == 0 && o.error == 0) {
        EXPECT_EQ(ValueText(o), r.want.text);
        EXPECT_TRUE(RuntimeIsClean()) << "runtime stacks left behind";
      }
    }
  }
};

TEST_F(FunctionWatch, Numbers) {
  Walk({
      {"ATN(1)", Fn(kw::kATN, kTDbl, {I(1)}), {"0.785398163397448"}},
      {"SIN(1)", Fn(kw::kSIN, kTDbl, {I(1)}), {"0.841470984807897"}},
      {"TAN(1)", Fn(kw::kTAN, kTDbl, {I(1)}), {"1.5574077246549"}},
      {"SQR(2)", Fn(kw::kSQR, kTDbl, {I(2)}), {"1.4142135623731"}},
      {"EXP(1)", Fn(kw::kEXP, kTDbl, {I(1)}), {"2.71828182845905"}},
      {"EXP(1000)", Fn(kw::kEXP, kTDbl, {I(1000)}), Err(6)},
      {"LOG(1)", Fn(kw::kLOG, kTDbl, {I(1)}), {"0"}},
      {"LOG(0)", Fn(kw::kLOG, kTDbl, {I(0)}), Err(5)},
      {"LOG(-1)", Fn(kw::kLOG, kTDbl, {D(-1)}), Err(5)},
      {"INT(-2.5)", Fn(kw::kINT, kTDbl, {D(-2.5)}), {"-3"}},
      {"FIX(-2.5)", Fn(kw::kFIX, kTDbl, {D(-2.5)}), {"-2"}},
      {"SGN(-7)", Fn(kw::kSGN, kTDbl, {I(-7)}), {"-1"}},
      {"SGN(0)", Fn(kw::kSGN, kTInt, {D(0)}), {"0"}},
      {"CSNG(1/3)", Fn(kw::kCSNG, kTSng, {D(1.0 / 3)}), {"0.3333333"}},
      {"CSNG(1D+39)", Fn(kw::kCSNG, kTSng, {D(1e39)}), Err(6)},
      {"CDBL(0.1)", Fn(kw::kCDBL, kTDbl, {D(0.1)}), {"0.1"}},
      {"VAL(\"  12.5E1xyz\")", Fn(kw::kVAL, kTDbl, {S("  12.5E1xyz")}), {"125"}},
      {"VAL(\"&HFF\")", Fn(kw::kVAL, kTDbl, {S("&HFF")}), {"255"}},
      {"VAL(\"abc\")", Fn(kw::kVAL, kTDbl, {S("abc")}), {"0"}},
      {"CVI(MKI$(-2))", Fn(kw::kCVI, kTInt, {Fn(kw::kMKI_S, kTStr, {I(-2)})}), {"-2"}},
      {"CVL(MKL$(70000))", Fn(kw::kCVL, kTLng, {Fn(kw::kMKL_S, kTStr, {L(70000)})}), {"70000"}},
      {"CVS(MKS$(1.5))", Fn(kw::kCVS, kTSng, {Fn(kw::kMKS_S, kTStr, {F(1.5f)})}), {"1.5"}},
      {"CVD(MKD$(0.1))", Fn(kw::kCVD, kTDbl, {Fn(kw::kMKD_S, kTStr, {D(0.1)})}), {"0.1"}},
      {"CVI(\"a\")", Fn(kw::kCVI, kTInt, {S("a")}), Err(5)},
  });
}

TEST_F(FunctionWatch, NumbersOfStrings) {
  Walk({
      {"LEN(A$)", Fn(kw::kLEN, kTInt, {S("abcdef")}), {"6"}},
      {"ASC(\"A\")", Fn(kw::kASC, kTInt, {S("A")}), {"65"}},
      {"ASC(\"\")", Fn(kw::kASC, kTInt, {S("")}), Err(5)},
      {"ASC(MID$(A$, 2))", Fn(kw::kASC, kTInt, {Fn(kw::kMID_S, kTStr, {S("abcdef"), I(2), Omitted()})}), {"98"}},
      {"INSTR(1, A$, \"cd\")", Fn(kw::kINSTR, kTInt, {I(1), S("abcdef"), S("cd")}), {"3"}},
      {"INSTR(4, A$, \"cd\")", Fn(kw::kINSTR, kTInt, {I(4), S("abcdef"), S("cd")}), {"0"}},
      {"INSTR(7, A$, \"\")", Fn(kw::kINSTR, kTInt, {I(7), S("abcdef"), S("")}), {"0"}},
      {"INSTR(0, A$, \"a\")", Fn(kw::kINSTR, kTInt, {I(0), S("abcdef"), S("a")}), Err(5)},
      // Shift-JIS: あ 82A0, い 82A2; a lead byte and its trail are one character.
      {"KINSTR(1, \"aあい\", \"い\")", Fn(kw::kKINSTR, kTInt, {I(1), S("a\x82\xA0\x82\xA2"), S("\x82\xA2")}), {"3"}},
      {"KLEN(\"aあい\", 0)", Fn(kw::kKLEN, kTInt, {S("a\x82\xA0\x82\xA2"), I(0)}), {"3"}},
      {"KLEN(\"aあい\", 2)", Fn(kw::kKLEN, kTInt, {S("a\x82\xA0\x82\xA2"), I(2)}), {"2"}},
      {"KLEN(\"a\", 3)", Fn(kw::kKLEN, kTInt, {S("a"), I(3)}), Err(5)},
      {"KTYPE(\"aあ\", 2)", Fn(kw::kKTYPE, kTInt, {S("a\x82\xA0"), I(2)}), {"1"}},
      {"KTYPE(\"a\", 5)", Fn(kw::kKTYPE, kTInt, {S("a"), I(5)}), Err(5)},
      {"JIS(\"あ\")", Fn(kw::kJIS, kTInt, {S("\x82\xA0")}), {"9250"}},
  });
}

TEST_F(FunctionWatch, StringsOfNumbers) {
  Walk({
      {"CHR$(65)", Fn(kw::kCHR_S, kTStr, {I(65)}), {"A"}},
      {"STR$(1.5!)", Fn(kw::kSTR_S, kTStr, {F(1.5f)}), {" 1.5"}},
      {"STR$(1E+07!)", Fn(kw::kSTR_S, kTStr, {F(1e7f)}), {" 1E+07"}},
      {"STR$(-.25#)", Fn(kw::kSTR_S, kTStr, {D(-0.25)}), {"-.25"}},
      {"STR$(1D+20)", Fn(kw::kSTR_S, kTStr, {D(1e20)}), {" 1D+20"}},
      {"STR$(123456789&)", Fn(kw::kSTR_S, kTStr, {L(123456789)}), {" 123456789"}},
      {"HEX$(255)", Fn(kw::kHEX_S, kTStr, {I(255)}), {"FF"}},
      {"HEX$(-1)", Fn(kw::kHEX_S, kTStr, {I(-1)}), {"FFFFFFFF"}},
      {"OCT$(8)", Fn(kw::kOCT_S, kTStr, {I(8)}), {"10"}},
      {"SPACE$(3)", Fn(kw::kSPACE_S, kTStr, {I(3)}), {"   "}},
      {"SPACE$(-1)", Fn(kw::kSPACE_S, kTStr, {I(-1)}), Err(5)},
      {"STRING$(3, \"xy\")", Fn(kw::kSTRING_S, kTStr, {I(3), S("xy")}), {"xxx"}},
      {"STRING$(2, 66)", Fn(fn::kStringCode, kTStr, {I(2), I(66)}), {"BB"}},
      {"STRING$(2, 256)", Fn(fn::kStringCode, kTStr, {I(2), I(256)}), Err(5)},
      {"STRING$(2, \"\")", Fn(kw::kSTRING_S, kTStr, {I(2), S("")}), Err(5)},
      {"KNJ$(&H2422)", Fn(kw::kKNJ_S, kTStr, {I(0x2422)}), {"\x82\xA0"}},
      {"KNJ$(1)", Fn(kw::kKNJ_S, kTStr, {I(1)}), Err(5)},
  });
}

TEST_F(FunctionWatch, StringsOfStrings) {
  Walk({
      {"LEFT$(A$, 2)", Fn(kw::kLEFT_S, kTStr, {S("abcdef"), I(2)}), {"ab"}},
      {"LEFT$(A$, -1)", Fn(kw::kLEFT_S, kTStr, {S("abcdef"), I(-1)}), Err(5)},
      {"RIGHT$(A$, 2)", Fn(kw::kRIGHT_S, kTStr, {S("abcdef"), I(2)}), {"ef"}},
      {"RIGHT$(A$, 10)", Fn(kw::kRIGHT_S, kTStr, {S("abcdef"), I(10)}), {"abcdef"}},
      {"MID$(A$, 3, 2)", Fn(kw::kMID_S, kTStr, {S("abcdef"), I(3), I(2)}), {"cd"}},
      {"MID$(A$, 9)", Fn(kw::kMID_S, kTStr, {S("abcdef"), I(9), Omitted()}), {""}},
      {"MID$(A$, 0)", Fn(kw::kMID_S, kTStr, {S("abcdef"), I(0), Omitted()}), Err(5)},
      {"UCASE$(\"aBc\")", Fn(kw::kUCASE_S, kTStr, {S("aBc")}), {"ABC"}},
      // A trail byte in the letter range is not a letter.
      {"UCASE$(\"xＢy\")", Fn(kw::kUCASE_S, kTStr, {S("x\x82\x61y")}), {"X\x82\x61Y"}},
      {"LCASE$(\"aBc\")", Fn(kw::kLCASE_S, kTStr, {S("aBc")}), {"abc"}},
      {"LTRIM$(\"  a  \")", Fn(kw::kLTRIM_S, kTStr, {S("  a  ")}), {"a  "}},
      {"RTRIM$(\"  a  \")", Fn(kw::kRTRIM_S, kTStr, {S("  a  ")}), {"  a"}},
      {"TRIM$(\"  a  \")", Fn(kw::kTRIM_S, kTStr, {S("  a  ")}), {"a"}},
      {"TRIM$(\"   \")", Fn(kw::kTRIM_S, kTStr, {S("   ")}), {""}},
      {"KLEFT$(\"あいう\", 1)", Fn(kw::kKLEFT_S, kTStr, {S("\x82\xA0\x82\xA2\x82\xA4"), I(1)}), {"\x82\xA0"}},
      {"KRIGHT$(\"あいう\", 2)", Fn(kw::kKRIGHT_S, kTStr, {S("\x82\xA0\x82\xA2\x82\xA4"), I(2)}), {"\x82\xA2\x82\xA4"}},
      {"KMID$(\"aあい\", 2, 1)", Fn(kw::kKMID_S, kTStr, {S("a\x82\xA0\x82\xA2"), I(2), I(1)}), {"\x82\xA0"}},
      {"KMID$(\"aあい\", 3)", Fn(kw::kKMID_S, kTStr, {S("a\x82\xA0\x82\xA2"), I(3), Omitted()}), {"\x82\xA2"}},
      {"KEXT$(\"aあb\", 1)", Fn(kw::kKEXT_S, kTStr, {S("a\x82\xA0z"), I(1)}), {"\x82\xA0"}},
      {"KEXT$(\"aあb\", 0)", Fn(kw::kKEXT_S, kTStr, {S("a\x82\xA0z"), I(0)}), {"az"}},
      {"AKCNV$(\"A1\")", Fn(kw::kAKCNV_S, kTStr, {S("A1")}), {"\x82\x60\x82\x50"}},
      {"KACNV$(\"Ａ１\")", Fn(kw::kKACNV_S, kTStr, {S("\x82\x60\x82\x50")}), {"A1"}},
      {"LEN(LEFT$(A$, 2) + X$)", [&, x = arena.Desc(kTStr, 1, arena.StrVar("x"))](Pcode& p) {
         p.Single(kTInt).Call(kw::kLEN, kTInt).Program(kTStr).Call(kw::kLEFT_S, kTStr);
         S("abcdef")(p);
         I(2)(p);
         p.CallEnd().Var(kOpVar, kTStr, x).Op(kAdd).End().CallEnd().End();
       }, {"3"}},
  });
}

// SEARCH reads the program's array through its control record, whose
// byte 1 is the element type.
TEST_F(FunctionWatch, SearchInAnArray) {
  int16_t ints[] = {5, 7, 9, 7};
  uint32_t dInts = arena.Desc(kTInt, 17, arena.Header(arena.Put(ints, sizeof ints), arena.Bounds({3})));
  uint32_t texts[3][3] = {};
  const char* words[] = {"ab", "", "cd"};
  for (int i = 0; i < 3; ++i) {
    texts[i][1] = static_cast<uint32_t>(std::strlen(words[i]));
    texts[i][2] = texts[i][1] ? arena.Text(words[i]) : 0;
  }
  uint32_t hTexts = arena.Header(arena.Put(texts, sizeof texts), arena.Bounds({2}));
  arena.At(hTexts)[kHdrType] = kTStr;
  uint32_t dTexts = arena.Desc(kTStr, 17, hTexts);
  auto search = [](uint32_t desc, uint8_t type, Build value, int16_t from, int16_t to) {
    return [=](Pcode& p) {
      p.Single(kTInt).Call(kw::kSEARCH, kTInt).Var(kOpWhole, type, desc);
      value(p);
      I(from)(p);
      I(to)(p);
      p.CallEnd().End();
    };
  };
  Walk({
      {"SEARCH(A%(), 7, 0, -1)", search(dInts, kTInt, I(7), 0, -1), {"1"}},
      {"SEARCH(A%(), 7, 2, 3)", search(dInts, kTInt, I(7), 2, 3), {"3"}},
      {"SEARCH(A%(), 8, 0, -1)", search(dInts, kTInt, I(8), 0, -1), {"-1"}},
      {"SEARCH(A%(), 7, -1, 3)", search(dInts, kTInt, I(7), -1, 3), Err(5)},
      {"SEARCH(S$(), \"cd\", 0, 9)", search(dTexts, kTStr, S("cd"), 0, 9), {"2"}},
      {"SEARCH(S$(), \"\", 0, 9)", search(dTexts, kTStr, S(""), 0, 9), {"1"}},
  });
}

// What needs the program's files, screen, devices, clock or its runtime's
// state stays a BASIC error.
TEST_F(FunctionWatch, FunctionsOfTheRunningProgramAreErrors) {
  Walk({
      {"ERR", Fn(kw::kERR, kTInt), Err(5)},
      {"RND", Fn(kw::kRND, kTSng), Err(5)},
      {"DATE$", Fn(kw::kDATE_S, kTStr), Err(5)},
      {"EOF(1)", Fn(kw::kEOF_, kTInt, {I(1)}), Err(5)},
      {"LOF(1)", Fn(kw::kLOF, kTLng, {I(1)}), Err(5)},
      {"FRE(0)", Fn(kw::kFRE, kTLng, {I(0)}), Err(5)},
      {"ENV$(\"PATH\")", Fn(kw::kENV_S, kTStr, {S("PATH")}), Err(5)},
      {"FORMAT$(1, \"#\")", Fn(kw::kFORMAT_S, kTStr, {I(1), S("#")}), Err(5)},
  });
}

}  // namespace
}  // namespace txev_test
