// The evaluator against hand-assembled P-code. The same program runs
// natively over the core and, in the Windows build, through TQ70RD63.DLL
// and the stand-in TQ70RN63.DLL under Wine.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "ev_harness.h"

namespace txev_test {
namespace {

template <typename T>
std::vector<uint8_t> Bytes(T v) {
  std::vector<uint8_t> b(sizeof v);
  std::memcpy(b.data(), &v, sizeof v);
  return b;
}
std::vector<uint8_t> Bytes(const std::string& s) { return {s.begin(), s.end()}; }

struct Expect {
  uint32_t error = 0, type = 0, size = 0;
  std::vector<uint8_t> value = {};
};

void Check(const char* name, const Outcome& o, const Expect& e) {
  SCOPED_TRACE(name);
  EXPECT_EQ(o.returned, static_cast<int32_t>(e.error));
  EXPECT_EQ(o.reserved, 0u);
  EXPECT_EQ(o.error, e.error);
  if (e.error != 0) {
    EXPECT_EQ(o.word4, 0u) << "word 4 not cleared";
  }
  if (e.error == 0) {
    EXPECT_EQ(o.type, e.type);
    EXPECT_EQ(o.size, e.size);
    EXPECT_EQ(o.value, e.value);
    EXPECT_TRUE(RuntimeIsClean()) << "runtime stacks left behind";
  }
}

class EvalTest : public ::testing::Test {
 protected:
  Arena arena;
  Outcome Run(Pcode& p, uint32_t strBase = 0, uint32_t frame = 0) {
    return Evaluate(arena, p.Finish(arena), strBase, frame);
  }
};

TEST_F(EvalTest, NegatedLongIsTheWholeResultRecord) {
  Pcode p;
  p.Program(kTLng).Lng(123456).Op(kNeg).End();
  Check("neg", Run(p), {0, kTLng, 4, Bytes<int32_t>(-123456)});
}

// Programs with one expected outcome each, built over the same arena.
struct Case {
  const char* name;
  std::function<void(Pcode&)> build;
  Expect expect;
};

void RunCases(Arena& arena, const std::vector<Case>& cases, uint32_t strBase = 0,
              uint32_t frame = 0) {
  for (const Case& c : cases) {
    Pcode p;
    c.build(p);
    Check(c.name, Evaluate(arena, p.Finish(arena), strBase, frame), c.expect);
  }
}

TEST_F(EvalTest, MalformedProgramsAndDecoderErrors) {
  RunCases(arena, {
      {"first is a constant", [](Pcode& p) { p.Int(1).End(); }, {27}},
      {"unknown opcode", [](Pcode& p) { p.Single(kTInt).B({0x99, 0}).End(); }, {27}},
      {"unknown operator", [](Pcode& p) { p.Program(kTInt).Int(1).Int(2).Op(0x19).End(); }, {27}},
      // The decoder meets constant type 5 before the bad operator can run.
      {"constant type 5", [](Pcode& p) { p.Program(kTInt).Op(0x19).B({kOpConst, 5, 0, 0}).End(); }, {13}},
      {"member as operand", [](Pcode& p) { p.Single(kTInt).Var(kOpMember, kTInt, 0).End(); }, {27}},
      {"nothing to pop", [](Pcode& p) { p.Program(kTLng).End(); }, {27}},
      {"operator without operands", [](Pcode& p) { p.Program(kTLng).Op(kAdd).End(); }, {27}},
      {"result type 5", [](Pcode& p) { p.Single(5).Int(1).End(); }, {27}},
      {"string minus", [](Pcode& p) { p.Program(kTDbl).Str(0, 1).Str(0, 1).Op(kSub).End(); }, {27}},
      {"negated string", [](Pcode& p) { p.Program(kTStr).Str(0, 1).Op(kNeg).End(); }, {27}},
  }, arena.Text("x"));
}

TEST_F(EvalTest, InstructionAndOperandLimits) {
  Pcode ok, tooLong, operands;
  // B1, the constant, the negations, BF and F1.
  ok.Program(kTLng).Lng(1);
  for (int i = 0; i < 508; ++i) ok.Op(kNeg);
  ok.End();
  Check("512 entries", Run(ok), {0, kTLng, 4, Bytes<int32_t>(1)});
  tooLong.Program(kTLng).Lng(1);
  for (int i = 0; i < 509; ++i) tooLong.Op(kNeg);
  tooLong.End();
  Check("513 entries", Run(tooLong), {27});
  operands.Program(kTDbl);
  for (int i = 0; i < 129; ++i) operands.Int(1);
  for (int i = 0; i < 128; ++i) operands.Op(kAdd);
  operands.End();
  Check("129 operands", Run(operands), {27});
}

TEST_F(EvalTest, StackGrowsPastSixteenValues) {
  Pcode p;
  p.Program(kTDbl);
  for (int i = 1; i <= 40; ++i) p.Int(static_cast<int16_t>(i));
  for (int i = 1; i < 40; ++i) p.Op(kAdd);
  p.End();
  Check("sum 1..40", Run(p), {0, kTDbl, 8, Bytes(820.0)});
}

TEST_F(EvalTest, OperatorsAndConversions) {
  RunCases(arena, {
      {"INT+INT is DBL", [](Pcode& p) { p.Program(kTDbl).Int(1).Int(2).Op(kAdd).End(); }, {0, 3, 8, Bytes(3.0)}},
      {"7 \\ 0", [](Pcode& p) { p.Program(kTLng).Int(7).Int(0).Op(kIDiv).End(); }, {11}},
      {"7 MOD 0", [](Pcode& p) { p.Program(kTLng).Int(7).Int(0).Op(kMod).End(); }, {11}},
      {"7 MOD -2", [](Pcode& p) { p.Program(kTLng).Int(7).Int(-2).Op(kMod).End(); }, {0, 1, 4, Bytes<int32_t>(1)}},
      {"-7 MOD 2", [](Pcode& p) { p.Program(kTLng).Int(-7).Int(2).Op(kMod).End(); }, {0, 1, 4, Bytes<int32_t>(-1)}},
      {"-7 \\ 2", [](Pcode& p) { p.Program(kTLng).Int(-7).Int(2).Op(kIDiv).End(); }, {0, 1, 4, Bytes<int32_t>(-3)}},
      {"integer result feeds DBL", [](Pcode& p) { p.Program(kTDbl).Int(7).Int(2).Op(kIDiv).Dbl(0.5).Op(kAdd).End(); }, {0, 3, 8, Bytes(3.5)}},
      {"negated BYT", [](Pcode& p) { p.Program(kTByt).Byt(5).Op(kNeg).End(); }, {6}},
      {"negated INT -32768", [](Pcode& p) { p.Program(kTInt).Int(-32768).Op(kNeg).End(); }, {6}},
      {"negated SNG", [](Pcode& p) { p.Program(kTSng).Sng(1.5f).Op(kNeg).End(); }, {0, 2, 4, Bytes(-1.5f)}},
      {"LNG 40000 as INT", [](Pcode& p) { p.Single(kTInt).Lng(40000).End(); }, {6}},
      {"LNG 300 as BYT", [](Pcode& p) { p.Single(kTByt).Lng(300).End(); }, {6}},
      {"INT -1 as BYT", [](Pcode& p) { p.Single(kTByt).Int(-1).End(); }, {6}},
      {"BYT 200 as INT", [](Pcode& p) { p.Single(kTInt).Byt(200).End(); }, {0, 0, 2, Bytes<int16_t>(200)}},
      {"DBL 2.5 as INT", [](Pcode& p) { p.Single(kTInt).Dbl(2.5).End(); }, {0, 0, 2, Bytes<int16_t>(2)}},
      {"DBL 1E10 as LNG", [](Pcode& p) { p.Single(kTLng).Dbl(1e10).End(); }, {6}},
      {"type 8 is INT", [](Pcode& p) { p.Single(kTWord).Int(-5).End(); }, {0, 8, 2, Bytes<int16_t>(-5)}},
      {"power", [](Pcode& p) { p.Program(kTDbl).Int(2).Int(10).Op(kPow).End(); }, {0, 3, 8, Bytes(1024.0)}},
      {"divide", [](Pcode& p) { p.Program(kTSng).Int(1).Int(4).Op(kDiv).End(); }, {0, 2, 4, Bytes(0.25f)}},
      {"1 / 0", [](Pcode& p) { p.Program(kTDbl).Int(1).Int(0).Op(kDiv).End(); }, {11}},
      {"DBL overflow", [](Pcode& p) { p.Program(kTDbl).Dbl(1e300).Dbl(1e300).Op(kMul).End(); }, {6}},
      {"NOT INT", [](Pcode& p) { p.Program(kTInt).Int(0).Op(kNot).End(); }, {0, 0, 2, Bytes<int16_t>(-1)}},
      {"NOT BYT", [](Pcode& p) { p.Program(kTByt).Byt(0x0F).Op(kNot).End(); }, {0, 4, 1, Bytes<uint8_t>(0xF0)}},
      {"AND", [](Pcode& p) { p.Program(kTLng).Int(12).Int(10).Op(kAnd).End(); }, {0, 1, 4, Bytes<int32_t>(8)}},
      {"OR", [](Pcode& p) { p.Program(kTLng).Int(12).Int(10).Op(kOr).End(); }, {0, 1, 4, Bytes<int32_t>(14)}},
      {"XOR", [](Pcode& p) { p.Program(kTLng).Int(12).Int(10).Op(kXor).End(); }, {0, 1, 4, Bytes<int32_t>(6)}},
      {"EQV", [](Pcode& p) { p.Program(kTLng).Int(12).Int(10).Op(kEqv).End(); }, {0, 1, 4, Bytes<int32_t>(~12 ^ 10)}},
      {"IMP", [](Pcode& p) { p.Program(kTLng).Int(12).Int(10).Op(kImp).End(); }, {0, 1, 4, Bytes<int32_t>(~12 | 10)}},
  });
}

TEST_F(EvalTest, ComparisonsGiveIntTruth) {
  struct Cmp { uint8_t op; int a, b; bool truth; };
  const Cmp table[] = {
      {kEq, 1, 1, true}, {kEq, 1, 2, false}, {kNe, 1, 2, true}, {kNe, 2, 2, false},
      {kLt, 1, 2, true}, {kLt, 2, 1, false}, {kGt, 2, 1, true}, {kGt, 1, 1, false},
      {kLe, 1, 1, true}, {kLe, 2, 1, false}, {kGe, 1, 1, true}, {kGe, 1, 2, false},
  };
  for (const Cmp& c : table) {
    Pcode p;
    p.Program(kTInt).Int(static_cast<int16_t>(c.a)).Dbl(c.b).Op(c.op).End();
    std::string name = "op " + std::to_string(c.op) + " " + std::to_string(c.a) + "," + std::to_string(c.b);
    Check(name.c_str(), Run(p), {0, 0, 2, Bytes<int16_t>(c.truth ? -1 : 0)});
  }
  // Strings: "ab" < "abc" < "b".
  uint32_t base = arena.Text("ababcb");   // "ab" at 0, "abc" at 2, "b" at 5
  struct SCmp { uint8_t op; uint8_t lo, ll, ro, rl; bool truth; };
  const SCmp strings[] = {
      {kLt, 0, 2, 2, 3, true}, {kGt, 5, 1, 2, 3, true}, {kEq, 0, 2, 2, 2, true},
      {kNe, 0, 2, 2, 3, true}, {kGe, 0, 2, 2, 3, false},
  };
  for (const SCmp& c : strings) {
    Pcode p;
    p.Program(kTInt).Str(c.lo, c.ll).Str(c.ro, c.rl).Op(c.op).End();
    Check("strings", Evaluate(arena, p.Finish(arena), base), {0, 0, 2, Bytes<int16_t>(c.truth ? -1 : 0)});
  }
}

TEST_F(EvalTest, Strings) {
  uint32_t base = arena.Text("abcde");
  std::string longText(300, 'x');
  longText[254] = 'y';
  uint32_t longVar = arena.Desc(kTStr, 0, arena.StrVar(longText));
  uint32_t fixed = arena.Desc(kTFixStr, 0, arena.Text("fixed     "), 10);
  RunCases(arena, {
      {"ab + cde", [](Pcode& p) { p.Program(kTStr).Str(0, 2).Str(2, 3).Op(kAdd).End(); }, {0, 16, 5, Bytes(std::string("abcde"))}},
      {"300 bytes cut to 255", [&](Pcode& p) { p.Single(kTStr).Var(kOpVar, kTStr, longVar).End(); },
       {0, 16, 255, Bytes(longText.substr(0, 255))}},
      {"fixed length", [&](Pcode& p) { p.Single(kTFixStr).Var(kOpVar, kTFixStr, fixed).End(); },
       {0, 17, 10, Bytes(std::string("fixed     "))}},
      {"empty constant", [](Pcode& p) { p.Single(kTStr).B({kOpConst, kTFixStr}).End(); }, {0, 16, 0, {}}},
  }, base);
}

TEST_F(EvalTest, VariablesThroughStorageClasses) {
  uint32_t frame = arena.Zeros(64);
  int16_t local = 1234;
  std::memcpy(arena.At(frame + 8), &local, 2);
  uint32_t param = arena.Value<int32_t>(-99);
  std::memcpy(arena.At(frame + 12), &param, 4);
  uint32_t global = arena.Value<double>(2.5);
  uint32_t dLocal = arena.Desc(kTInt, 3, 8);
  uint32_t dParam = arena.Desc(kTLng, 4, 12);
  uint32_t dGlobal = arena.Desc(kTDbl, 1, global);
  uint32_t byteVar = arena.Desc(kTByt, 1, arena.Value<uint8_t>(200));
  RunCases(arena, {
      {"class 3 local", [&](Pcode& p) { p.Single(kTInt).Var(kOpVar, kTInt, dLocal).End(); }, {0, 0, 2, Bytes<int16_t>(1234)}},
      {"class 4 by reference", [&](Pcode& p) { p.Single(kTLng).Var(kOpVar, kTLng, dParam).End(); }, {0, 1, 4, Bytes<int32_t>(-99)}},
      {"absolute", [&](Pcode& p) { p.Single(kTDbl).Var(kOpVar, kTDbl, dGlobal).End(); }, {0, 3, 8, Bytes(2.5)}},
      {"BYT is unsigned", [&](Pcode& p) { p.Program(kTLng).Var(kOpVar, kTByt, byteVar).Int(1).Op(kAdd).End(); }, {0, 1, 4, Bytes<int32_t>(201)}},
      {"local in a sum", [&](Pcode& p) { p.Program(kTDbl).Var(kOpVar, kTInt, dLocal).Var(kOpVar, kTDbl, dGlobal).Op(kMul).End(); }, {0, 3, 8, Bytes(3085.0)}},
      {"no storage INT", [](Pcode& p) { p.Single(kTInt).Var(kOpVar, kTInt, 0).End(); }, {0, 0, 2, Bytes<int16_t>(0)}},
      {"no storage string", [](Pcode& p) { p.Single(kTStr).Var(kOpVar, kTStr, 0).End(); }, {0, 16, 0, {}}},
      {"no storage fixed string", [](Pcode& p) { p.Single(kTFixStr).Var(kOpVar, kTFixStr, 0).End(); }, {29}},
      {"no storage array", [](Pcode& p) { p.Single(kTInt).Var(kOpArray, kTInt, 0).Program(kTLng).Int(0).End().SubEnd().End(); }, {29}},
      {"type 48 alone", [&](Pcode& p) { p.Single(kTInt).Var(kOpVar, kTRecord, dGlobal).End(); }, {13}},
  }, 0, frame);
}

TEST_F(EvalTest, ArraysAndRecordMembers) {
  // DIM A(10) AS LNG: eleven elements, A(i) = 100 + i.
  std::vector<int32_t> a(11);
  for (int i = 0; i <= 10; ++i) a[i] = 100 + i;
  uint32_t aData = arena.Put(a.data(), 44);
  uint32_t aHeader = arena.Header(aData, arena.Bounds({10}));
  uint32_t dA = arena.Desc(kTLng, 1 + 16, aHeader);
  uint32_t dEmpty = arena.Desc(kTLng, 1 + 16, arena.Header(0, 0));
  // DIM B(2, 3) AS INT: B(i, j) at i + 3 * j, first subscript fastest.
  std::vector<int16_t> b(12);
  for (int j = 0; j <= 3; ++j)
    for (int i = 0; i <= 2; ++i) b[i + 3 * j] = static_cast<int16_t>(10 * i + j);
  uint32_t dB = arena.Desc(kTInt, 1 + 16, arena.Header(arena.Put(b.data(), 24), arena.Bounds({2, 3})));
  // TYPE R: x AS INT at 0, v(3) AS DBL at 8; size 40. Variable at rec.
  uint32_t typeRec = arena.Put(std::vector<uint32_t>{0, 40}.data(), 8);
  uint32_t rec = arena.Zeros(40);
  int16_t x = 77;
  std::memcpy(arena.At(rec), &x, 2);
  for (int i = 0; i < 4; ++i) {
    double v = i * 1.5;
    std::memcpy(arena.At(rec + 8 + 8 * i), &v, 8);
  }
  uint32_t dRec = arena.Desc(kTRecord, 1, rec, typeRec);
  uint32_t dX = arena.Desc(kTInt, 0, 0);
  uint32_t dV = arena.Desc(kTDbl, 0, 8, 0, arena.Bounds({3}));
  auto elem = [](uint32_t desc, uint8_t type, std::initializer_list<int> subs) {
    return [=](Pcode& p) {
      p.Single(type == kTInt ? kTInt : kTLng).Var(kOpArray, type, desc);
      for (int s : subs) p.Program(kTLng).Lng(s).End();
      p.SubEnd().End();
    };
  };
  RunCases(arena, {
      {"A(0)", elem(dA, kTLng, {0}), {0, 1, 4, Bytes<int32_t>(100)}},
      {"A(10) is the last", elem(dA, kTLng, {10}), {0, 1, 4, Bytes<int32_t>(110)}},
      {"A(11)", elem(dA, kTLng, {11}), {9}},
      {"A(-1)", elem(dA, kTLng, {-1}), {9}},
      {"A(1, 1)", elem(dA, kTLng, {1, 1}), {9}},
      {"B(1) one too few", elem(dB, kTInt, {1}), {9}},
      {"B(1, 2)", elem(dB, kTInt, {1, 2}), {0, 0, 2, Bytes<int16_t>(12)}},
      {"B(2, 3)", elem(dB, kTInt, {2, 3}), {0, 0, 2, Bytes<int16_t>(23)}},
      {"B(3, 0)", elem(dB, kTInt, {3, 0}), {9}},
      {"undimensioned", elem(dEmpty, kTLng, {0}), {9}},
      {"A(A(0) - 95) nested", [&](Pcode& p) {
         p.Single(kTLng).Var(kOpArray, kTLng, dA).Program(kTLng).Var(kOpArray, kTLng, dA)
             .Program(kTLng).Lng(0).End().SubEnd().Lng(95).Op(kSub).End().SubEnd().End();
       }, {0, 1, 4, Bytes<int32_t>(105)}},
      {"R.x", [&](Pcode& p) { p.Single(kTInt).Var(kOpVar, kTRecord, dRec).Var(kOpMember, kTInt, dX).End(); },
       {0, 0, 2, Bytes<int16_t>(77)}},
      {"R.v(2) + R.x", [&](Pcode& p) {
         p.Program(kTDbl).Var(kOpVar, kTRecord, dRec).Var(kOpArrayAt, kTDbl, dV)
             .Program(kTLng).Int(2).End().SubEnd()
             .Var(kOpVar, kTRecord, dRec).Var(kOpMember, kTInt, dX).Op(kAdd).End();
       }, {0, 3, 8, Bytes(80.0)}},
      {"R.v(4)", [&](Pcode& p) {
         p.Single(kTDbl).Var(kOpVar, kTRecord, dRec).Var(kOpArrayAt, kTDbl, dV)
             .Program(kTLng).Int(4).End().SubEnd().End();
       }, {9}},
  });
}

TEST_F(EvalTest, IntrinsicFunctions) {
  uint32_t base = arena.Text("abcdef");
  uint32_t dI = arena.Desc(kTInt, 1, arena.Value<int16_t>(5));
  uint32_t fixed = arena.Desc(kTFixStr, 1, arena.Text("12345678"), 8);
  std::vector<Case> cases = {
      {"ABS(-2.5)", [](Pcode& p) { p.Single(kTDbl).Call(0x10, kTDbl).Single(kTDbl).Dbl(-2.5).End().CallEnd().End(); }, {0, 3, 8, Bytes(2.5)}},
      {"SQR(16)", [](Pcode& p) { p.Single(kTDbl).Call(0x24, kTDbl).Single(kTInt).Int(16).End().CallEnd().End(); }, {0, 3, 8, Bytes(4.0)}},
      {"SQR(-1)", [](Pcode& p) { p.Single(kTDbl).Call(0x24, kTDbl).Single(kTInt).Int(-1).End().CallEnd().End(); }, {5}},
      {"COS(0) as SNG", [](Pcode& p) { p.Single(kTSng).Call(0x13, kTSng).Single(kTInt).Int(0).End().CallEnd().End(); }, {0, 2, 4, Bytes(1.0f)}},
      {"CINT(2.5) in a sum", [](Pcode& p) { p.Program(kTDbl).Call(0x14, kTInt).Single(kTDbl).Dbl(3.5).End().CallEnd().Int(1).Op(kAdd).End(); }, {0, 3, 8, Bytes(5.0)}},
      {"1 + CINT(\"x\")", [](Pcode& p) { p.Program(kTDbl).Int(1).Call(0x14, kTInt).Single(kTStr).Str(0, 1).End().CallEnd().Op(kAdd).End(); }, {13}},
      {"CBYT(300)", [](Pcode& p) { p.Single(kTByt).Call(0x2D, kTByt).Single(kTInt).Int(300).End().CallEnd().End(); }, {6}},
      {"LEN(\"abc\")", [](Pcode& p) { p.Single(kTInt).Call(0x36, kTInt).Single(kTStr).Str(0, 3).End().CallEnd().End(); }, {0, 0, 2, Bytes<int16_t>(3)}},
      {"LEN(fixed)", [&](Pcode& p) { p.Single(kTInt).Call(0x36, kTInt).Single(kTFixStr).Var(kOpVar, kTFixStr, fixed).End().CallEnd().End(); }, {0, 0, 2, Bytes<int16_t>(8)}},
      {"VARPTR(I)", [&](Pcode& p) { p.Single(kTLng).Call(0x39, kTLng).Single(kTInt).Var(kOpVar, kTInt, dI).End().CallEnd().End(); },
       {0, 1, 4, std::vector<uint8_t>(arena.At(dI + kDescAddr), arena.At(dI + kDescAddr) + 4)}},
      {"MID$ omitted length", [](Pcode& p) { p.Single(kTStr).Call(0xC4, kTStr).Single(kTStr).Str(0, 6).End().Single(kTLng).Int(2).End().B({kOpOmitted, kOmittedMark}).CallEnd().End(); },
       {0, 16, 5, Bytes(std::string("bcdef"))}},
      {"MID$ with length", [](Pcode& p) { p.Single(kTStr).Call(0xC4, kTStr).Single(kTStr).Str(0, 6).End().Single(kTLng).Int(2).End().Single(kTInt).Int(3).End().CallEnd().End(); },
       {0, 16, 3, Bytes(std::string("bcd"))}},
      {"CHR$(65, 66, 67)", [](Pcode& p) { p.Single(kTStr).Call(0xC0, kTStr).Single(kTInt).Int(65).End().Single(kTInt).Int(66).End().Single(kTInt).Int(67).End().CallEnd().End(); },
       {0, 16, 3, Bytes(std::string("ABC"))}},
      {"CHR$(300)", [](Pcode& p) { p.Single(kTStr).Call(0xC0, kTStr).Single(kTInt).Int(300).End().CallEnd().End(); }, {5}},
      {"STR$(-5)", [](Pcode& p) { p.Single(kTStr).Call(0x99, kTStr).Single(kTInt).Int(-5).End().CallEnd().End(); }, {0, 16, 2, Bytes(std::string("-5"))}},
      {"STR$(BYT 200)", [](Pcode& p) { p.Single(kTStr).Call(0x99, kTStr).Single(kTByt).Byt(200).End().CallEnd().End(); }, {0, 16, 4, Bytes(std::string(" 200"))}},
      {"STR$(\"x\")", [](Pcode& p) { p.Single(kTStr).Call(0x99, kTStr).Single(kTStr).Str(0, 1).End().CallEnd().End(); }, {13}},
      {"LEN(STR$(12)) + 1", [](Pcode& p) {
         p.Program(kTDbl).Call(0x36, kTInt).Program(kTStr).Call(0x99, kTStr).Single(kTInt).Int(12).End().CallEnd().End().CallEnd().Int(1).Op(kAdd).End();
       }, {0, 3, 8, Bytes(4.0)}},
  };
  for (uint8_t code : {0x29, 0x2A, 0x2B, 0x2C, 0x37, 0x98, 0xC1, 0xC2, 0x60, 0xD0})
    cases.push_back({"no routine", [code](Pcode& p) { p.Single(kTInt).Call(code, kTInt).CallEnd().End(); }, {28}});
  cases.push_back({"101 argument words", [](Pcode& p) {
    p.Single(kTInt).Call(0x00, kTInt);
    for (int i = 0; i < 101; ++i) p.Single(kTInt).Int(1).End();
    p.CallEnd().End();
  }, {28}});
  RunCases(arena, cases, base);
}

TEST_F(EvalTest, ArrayFunctionNeedsAnArray) {
  uint32_t scalar = arena.Desc(kTInt, 1, arena.Value<int16_t>(1));
  uint32_t twoDims = arena.Desc(kTInt, 17, arena.Header(arena.Zeros(24), arena.Bounds({2, 3})));
  auto search = [](uint32_t desc) {
    return [=](Pcode& p) {
      p.Single(kTInt).Call(0x55, kTInt).Var(kOpWhole, kTInt, desc).Single(kTInt).Int(1).End()
          .Single(kTInt).Int(0).End().Single(kTInt).Int(1).End().CallEnd().End();
    };
  };
  RunCases(arena, {
      {"no storage", search(0), {5}},
      {"not an array", search(scalar), {5}},
      {"two dimensions", search(twoDims), {9}},
  });
}

}  // namespace
}  // namespace txev_test
