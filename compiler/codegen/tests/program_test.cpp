// Programs of each statement group, compiled from intermediate files, linked
// against the runtime subset and run in the emulator: the output must be
// exactly what the BASIC program prints.
#include <gtest/gtest.h>

#include "program_kit.h"

namespace txcg::test {
namespace {

#define REQUIRE_RUNNER()                                                                           \
    if (!CanRun())                                                                                 \
    GTEST_SKIP() << "no runtime library or runner in this build"

void ExpectRun(const IrBuilder &ir, const std::string &name, const std::string &expected,
               uint32_t cf = 1, uint32_t co = 0) {
    RunResult r = BuildAndRun(ir, name, cf, co);
    ASSERT_TRUE(r.compiled) << r.error;
    EXPECT_EQ(r.status, 0) << r.error;
    EXPECT_EQ(r.output, expected) << r.error;
}

Bytes CI(int16_t v) { return tok::ConstInt(v); }
Bytes CL(int32_t v) { return tok::ConstLng(v); }
Bytes CF(float v) { return tok::ConstSng(v); }
Bytes CD(double v) { return tok::ConstDbl(v); }
Bytes Add() { return Op(0x13); }

// PRINT item groups separated by semicolons.
Bytes Items(std::initializer_list<Bytes> groups, bool trailing = false) {
    Bytes b;
    size_t n = 0;
    for (const auto &g : groups) {
        b = b + g;
        if (++n < groups.size() || trailing)
            b = b + Semi();
    }
    return b;
}

TEST(Programs, AssignmentOfEveryType) {
    REQUIRE_RUNNER();
    Program p;
    Bytes a = p.Var(t8::I), b = p.Var(t8::L), c = p.Var(t8::F), d = p.Var(t8::D), e = p.Var(t8::B),
          s = p.Var(t8::S);
    Bytes a2 = p.Var(t8::I), b2 = p.Var(t8::L), c2 = p.Var(t8::F), d2 = p.Var(t8::D),
          e2 = p.Var(t8::B), s2 = p.Var(t8::S);
    // Constants of the target's type are stored as immediates.
    p.Line(Let(t8::I, a, G(t8::I, CI(5))));
    p.Line(Let(t8::L, b, G(t8::L, CL(-100000))));
    p.Line(Let(t8::F, c, G(t8::F, CF(1.5f))));
    p.Line(Let(t8::D, d, G(t8::D, CD(2.25))));
    p.Line(Let(t8::B, e, G(t8::B, tok::ConstByt(200))));
    p.Line(Let(t8::S, s, G(t8::S, p.Str("HI"))));
    // Variable to variable of the same type.
    p.Line(Let(t8::I, a2, G(t8::I, a)));
    p.Line(Let(t8::L, b2, G(t8::L, b)));
    p.Line(Let(t8::F, c2, G(t8::F, c)));
    p.Line(Let(t8::D, d2, G(t8::D, d)));
    p.Line(Let(t8::B, e2, G(t8::B, e)));
    p.Line(Let(t8::S, s2, G(t8::S, s)));
    p.Line(Print(Items({G(t8::I, a2), G(t8::L, b2), G(t8::F, c2), G(t8::D, d2), G(t8::B, e2),
                        G(t8::S, s2)})));
    // Conversions between the types.
    p.Line(Let(t8::I, a, E(t8::I, b + CL(1000) + Op(0x17))));
    p.Line(Let(t8::F, c, G(t8::F, a)));
    p.Line(Let(t8::D, d, E(t8::D, c + CI(8) + Op(0x16))));
    p.Line(Let(t8::B, e, E(t8::I, a + CI(300) + Add())));
    p.Line(Let(t8::L, b, G(t8::L, a)));
    p.Line(Let(t8::I, a2, G(t8::I, d)));
    p.Line(Let(t8::S, s, G(t8::S, Bytes{0x70, 17})));
    p.Line(Print(Items({G(t8::I, a), G(t8::F, c), G(t8::D, d), G(t8::B, e), G(t8::L, b),
                        G(t8::I, a2), G(t8::S, s), G(t8::S, p.Str("|"))})));
    ExpectRun(p.ir, "assign",
              " 5 -100000  1.5  2.25  200 HI\n"
              "-100 -100 -12.5  200 -100 -12 |\n");
}

TEST(Programs, ArithmeticAndComparisonOperators) {
    REQUIRE_RUNNER();
    Program p;
    Bytes a = p.Var(t8::I), b = p.Var(t8::I), x = p.Var(t8::F), l = p.Var(t8::L), y = p.Var(t8::B);
    p.Line(Let(t8::I, a, G(t8::I, CI(7))));
    p.Line(Let(t8::I, b, G(t8::I, CI(2))));
    p.Line(Let(t8::F, x, G(t8::F, CF(2.5f))));
    p.Line(Let(t8::L, l, G(t8::L, CL(100000))));
    p.Line(Let(t8::B, y, G(t8::B, tok::ConstByt(250))));
    p.Line(Print(Items({E(t8::I, a + b + Add()), E(t8::I, a + b + Op(0x14)), E(t8::L, a + b + Op(0x15)),
                        E(t8::I, a + b + Op(0x17)), E(t8::I, a + b + Op(0x18)),
                        E(t8::F, a + b + Op(0x16))})));
    p.Line(Print(Items({E(t8::I, a + Op(0x11)), E(t8::D, a + b + Op(0x12)), E(t8::F, x + CI(2) + Op(0x15)),
                        E(t8::L, l + CI(3) + Op(0x15)), E(t8::L, l + a + Add()),
                        E(t8::I, y + CI(10) + Add())})));
    // Operands that wait while other results are computed: (a+b)*(a-b),
    // (a+b)*x, x-(a*b), a-(b-(a-b)).
    p.Line(Print(Items({E(t8::L, a + b + Add() + a + b + Op(0x14) + Op(0x15)),
                        E(t8::F, a + b + Add() + x + Op(0x15)),
                        E(t8::F, x + a + b + Op(0x15) + Op(0x14)),
                        E(t8::I, a + b + a + b + Op(0x14) + Op(0x14) + Op(0x14))})));
    p.Line(Print(Items({E(t8::I, a + b + Op(0x23)), E(t8::I, a + b + Op(0x22)),
                        E(t8::I, a + CI(7) + Op(0x20)), E(t8::I, a + CI(7) + Op(0x21)),
                        E(t8::I, x + CF(2.5f) + Op(0x25)), E(t8::I, x + CI(2) + Op(0x24)),
                        E(t8::I, CI(0) + Op(0x30)), E(t8::I, CI(5) + CI(3) + Op(0x31)),
                        E(t8::I, CI(5) + CI(3) + Op(0x32)), E(t8::I, CI(5) + CI(3) + Op(0x33)),
                        E(t8::I, CI(5) + CI(3) + Op(0x34)), E(t8::I, CI(5) + CI(3) + Op(0x35))})));
    // A comparison inside a logical expression: (a > b) AND (x < 3).
    p.Line(Print(Items({E(t8::I, a + b + Op(0x23) + x + CI(3) + Op(0x22) + Op(0x31)),
                        E(t8::I, a + b + Op(0x22) + x + CI(3) + Op(0x22) + Op(0x32))})));
    ExpectRun(p.ir, "operators",
              " 9  5  14  3  1  3.5 \n"
              "-7  49  5  300000  100007  260 \n"
              " 45  22.5 -11.5  10 \n"
              "-1  0 -1  0 -1  0 -1  1  7  6 -7 -5 \n"
              "-1 -1 \n");
}

TEST(Programs, StringJoinsAndFunctions) {
    REQUIRE_RUNNER();
    Program p;
    Bytes s = p.Var(t8::S), t = p.Var(t8::S);
    p.Line(Let(t8::S, s, G(t8::S, p.Str("ABC"))));
    p.Line(Let(t8::S, t, E(t8::S, s + p.Str("DEF") + Add() + s + Add())));
    p.Line(Print(Items({G(t8::S, t), G(t8::I, Fn(0x36, t8::I, G(t8::S, t))),
                        G(t8::S, Fn(0xB5, t8::S, G(t8::S, t) + G(t8::L, CL(2)))),
                        G(t8::S, Fn(0xB6, t8::S, G(t8::S, t) + G(t8::L, CL(3)))),
                        G(t8::S, Fn(0xC4, t8::S, G(t8::S, t) + G(t8::L, CL(2)) + G(t8::L, CL(3)))),
                        G(t8::S, Fn(0xC4, t8::S, G(t8::S, t) + G(t8::L, CL(7))))})));
    p.Line(Print(Items({G(t8::S, Fn(0xC0, t8::S, G(t8::L, CL(72)) + G(t8::L, CL(105)))),
                        G(t8::I, Fn(0x30, t8::I, G(t8::S, p.Str("A")))),
                        G(t8::S, Fn(0x99, t8::S, G(t8::ANY, CI(42)))),
                        E(t8::D, Fn(0x38, t8::D, G(t8::S, p.Str("3.5"))) + CI(1) + Add()),
                        G(t8::S, Fn(0xA4, t8::S, G(t8::S, p.Str("abc")))),
                        G(t8::S, p.Str("[")), G(t8::S, Fn(0x97, t8::S, G(t8::L, CL(2)))),
                        G(t8::S, p.Str("]"))})));
    // Joins of function results: the computed right operand keeps its place.
    p.Line(Let(t8::S, t, E(t8::S, p.Str("<") + Fn(0xA4, t8::S, G(t8::S, s)) + p.Str(">") + Add() + Add())));
    p.Line(Print(Items({G(t8::S, t), E(t8::I, p.Str("ABC") + p.Str("ABD") + Op(0x22)),
                        E(t8::I, p.Str("B") + s + Op(0x23)), E(t8::I, s + p.Str("ABC") + Op(0x20)),
                        E(t8::I, Fn(0xA3, t8::S, G(t8::S, s)) + s + Op(0x21))})));
    ExpectRun(p.ir, "strings",
              "ABCDEFABC 9 ABABCBCDABC\n"
              "Hi 65  42 4.5 ABC[  ]\n"
              "<ABC>-1 -1 -1 -1 \n");
}

TEST(Programs, LsetAndRset) {
    REQUIRE_RUNNER();
    Program p;
    Bytes a = p.Var(t8::S);
    // A fixed-length string of 4 after the variables above.
    VarRec f{17, 1, 12, 4, 0, 0, 0, "F"};
    p.ir.DataSize(16);
    Bytes fv = tok::Var(0x50, 17, 1, p.ir.ModuleVar(f));
    auto show = [&](const Bytes &v, uint8_t type) {
        return Print(Items({G(t8::S, p.Str("[")), G(type, v), G(t8::S, p.Str("]"))}));
    };
    p.Line(Let(t8::S, a, G(t8::S, p.Str("12345"))));
    p.Line(Head(0x82) + G(t8::S, a) + Op(0) + G(t8::S, p.Str("ab")));
    p.Line(show(a, t8::S));
    p.Line(Head(0x83) + G(t8::S, a) + Op(0) + E(t8::S, p.Str("c") + p.Str("d") + Add()));
    p.Line(show(a, t8::S));
    p.Line(Head(0x83) + G(17, fv) + Op(0) + G(t8::S, p.Str("x")));
    p.Line(show(fv, 17));
    p.Line(Head(0x82) + G(17, fv) + Op(0) + G(t8::S, p.Str("y")));
    p.Line(show(fv, 17));
    ExpectRun(p.ir, "lset", "[ab   ]\n[   cd]\n[   x]\n[y   ]\n");
}

TEST(Programs, SingleExpressionFunctions) {
    REQUIRE_RUNNER();
    Program p;
    // DEF FNA!(X!, Y%) = X! * 2 + Y%: DEF FND#(A#) = A# / 4
    const uint32_t fna = p.ir.ProcName(0, "FNA");
    const uint32_t da = p.ir.ProcDebug("FNA", 0,
                                       {VarRec{t8::F, 3, 0, 0, 0, 0, 0, "X"},
                                        VarRec{t8::I, 4, 0, 0, 0, 0, 0, "Y"},
                                        VarRec{t8::F, 3, 0, 0, 0, 0, 0, "FNA"}},
                                       2);
    const Bytes x = tok::Var(0x50, t8::F, 3, da + 13);
    const Bytes y = tok::Var(0x50, t8::I, 4, da + 13 + 21);
    const uint32_t fnd = p.ir.ProcName(0, "FND");
    const uint32_t dd = p.ir.ProcDebug("FND", 0,
                                       {VarRec{t8::D, 3, 0, 0, 0, 0, 0, "A"},
                                        VarRec{t8::D, 3, 0, 0, 0, 0, 0, "FND"}},
                                       1);
    const Bytes a = tok::Var(0x50, t8::D, 3, dd + 13);
    Bytes v = p.Var(t8::I);
    p.Line(tok::Stmt(0x40, {fna, da}) + E(t8::F, x + CI(2) + Op(0x15) + y + Add()));
    p.Line(tok::Stmt(0x40, {fnd, dd}) + E(t8::D, a + CI(4) + Op(0x16)));
    p.Line(Let(t8::I, v, G(t8::I, CI(3))));
    p.Line(Print(Items({G(t8::F, Call(t8::F, fna, G(t8::F, CF(1.5f)) + G(t8::I, v))),
                        G(t8::D, Call(t8::D, fnd, G(t8::D, CD(10)))),
                        E(t8::D, Call(t8::D, fnd, G(t8::D, CD(2))) + Call(t8::F, fna, G(t8::F, CF(0)) + G(t8::I, CI(1))) + Add())})));
    ExpectRun(p.ir, "deffn", " 6  2.5  1.5 \n");
}

// IF A% > 3 THEN ... ELSEIF A% > 1 THEN ... ELSE ... END IF, for one value.
void IfBlock(Program &p, const Bytes &a, int16_t value) {
    p.Line(Let(t8::I, a, G(t8::I, CI(value))));
    p.Line(Head(0x10) + E(t8::I, a + CI(3) + Op(0x23)));
    p.Line(Print(G(t8::S, p.Str("big"))));
    p.Line(Head(0x12) + E(t8::I, a + CI(1) + Op(0x23)));
    p.Line(Print(G(t8::S, p.Str("mid"))));
    p.Line(Head(0x11));
    p.Line(Print(G(t8::S, p.Str("small"))));
    p.Line(Head(0x13));
}

IrBuilder IfProgram() {
    Program p;
    Bytes a = p.Var(t8::I), x = p.Var(t8::D);
    for (int16_t v : {5, 2, 0})
        IfBlock(p, a, v);
    // One-line forms: IF A% THEN PRINT "t" ELSE PRINT "f" (A% = 0, then 1),
    // a floating condition, and a constant one.
    for (int16_t v : {0, 1}) {
        p.Line(Let(t8::I, a, G(t8::I, CI(v))));
        p.Line(Head(0x18) + G(t8::I, a) + tok::Separator() + Print(G(t8::S, p.Str("t"))) +
               tok::Separator() + Head(0x11) + tok::Separator() + Print(G(t8::S, p.Str("f"))) +
               tok::Separator() + Head(0x13));
    }
    p.Line(Let(t8::D, x, G(t8::D, CD(0.5))));
    p.Line(Head(0x18) + E(t8::I, x + CD(0.25) + Op(0x23)) + tok::Separator() +
           Print(G(t8::S, p.Str("x>.25"))) + tok::Separator() + Head(0x13));
    p.Line(Head(0x18) + E(t8::I, x + CD(0.25) + Op(0x22)) + tok::Separator() +
           Print(G(t8::S, p.Str("x<.25"))) + tok::Separator() + Head(0x13));
    p.Line(Head(0x18) + G(t8::I, CI(0)) + tok::Separator() + Print(G(t8::S, p.Str("never"))) +
           tok::Separator() + Head(0x13));
    // Nested blocks.
    p.Line(Head(0x10) + E(t8::I, a + CI(1) + Op(0x20)));
    p.Line(Head(0x10) + E(t8::I, x + CI(1) + Op(0x22)));
    p.Line(Print(G(t8::S, p.Str("nested"))));
    p.Line(Head(0x13));
    p.Line(Head(0x13));
    return p.ir;
}

const char kIfOutput[] = "big\nmid\nsmall\nf\nt\nx>.25\nnested\n";

TEST(Programs, IfElse) {
    REQUIRE_RUNNER();
    ExpectRun(IfProgram(), "ifelse", kIfOutput);
}

// FOR v = from TO to [STEP step]: PRINT v;: NEXT: PRINT, in the analyzer's
// loop form; a step that is not a constant goes through the holder hp.
void ForLoop(Program &p, uint8_t type, const Bytes &v, const Bytes &from, const Bytes &to,
             const Bytes &step, const Bytes *holder = nullptr, bool negative = false) {
    Bytes head = Head(0x20);
    Bytes stepOperand = step;
    if (holder) {
        head = head + Let(type, *holder, G(type, step));
        stepOperand = *holder;
    }
    p.Line(head + Head(0x1F) + Let(type, v, G(type, from)) +
           Let(type, v, E(type, v + stepOperand + Add())) +
           E(type, v + to + Op(negative ? 0x25 : 0x24)));
    p.Line(Print(G(type, v) + Semi()));
    p.Line(Head(0x21));
    p.Line(Print({}));
}

IrBuilder ForProgram() {
    Program p;
    Bytes i = p.Var(t8::I), s = p.Var(t8::I), h = p.Var(t8::I), x = p.Var(t8::F), hx = p.Var(t8::F),
          l = p.Var(t8::L);
    ForLoop(p, t8::I, i, CI(1), CI(3), CI(1));
    ForLoop(p, t8::I, i, CI(3), CI(1), CI(-1), nullptr, true);
    p.Line(Let(t8::I, s, G(t8::I, CI(3))));
    ForLoop(p, t8::I, i, CI(1), CI(7), s, &h);
    p.Line(Let(t8::I, s, G(t8::I, CI(-2))));
    ForLoop(p, t8::I, i, CI(5), CI(1), s, &h);
    ForLoop(p, t8::F, x, CF(0), CF(1), CF(0.25f));
    ForLoop(p, t8::F, x, CF(1), CF(0), CF(-0.5f), nullptr, true);
    p.Line(Let(t8::F, hx, G(t8::F, CF(-0.5f))));
    ForLoop(p, t8::F, x, CF(0.5f), CF(-0.5f), hx, &hx);
    ForLoop(p, t8::L, l, CL(100000), CL(100002), CL(1));
    // The limit is passed before the first pass.
    ForLoop(p, t8::I, i, CI(5), CI(1), CI(1));
    return p.ir;
}

TEST(Programs, ForNextFmMode) {
    REQUIRE_RUNNER();
    ExpectRun(ForProgram(), "for_fm",
              " 1  2  3 \n 3  2  1 \n 1  4  7 \n 5  3  1 \n 0  .25  .5  .75  1 \n 1  .5  0 \n"
              " .5  0 -.5 \n 100000  100001  100002 \n 5 \n",
              1);
}

TEST(Programs, ForNextIsoMode) {
    REQUIRE_RUNNER();
    ExpectRun(ForProgram(), "for_iso",
              " 1  2  3 \n 3  2  1 \n 1  4  7 \n 5  3  1 \n 0  .25  .5  .75  1 \n 1  .5  0 \n"
              " .5  0 -.5 \n 100000  100001  100002 \n\n",
              2);
}

TEST(Programs, ResumeModeKeepsTheStackBalanced) {
    REQUIRE_RUNNER();
    // Every statement pushes the address of the next one for the error
    // check routine; blocks and jumps keep the chain.
    IrBuilder ifs = IfProgram();
    ifs.TrapBits(0x03);
    ExpectRun(ifs, "if_resume", kIfOutput);
    IrBuilder ir = ForProgram();
    ir.TrapBits(0x03);
    ExpectRun(ir, "for_resume",
              " 1  2  3 \n 3  2  1 \n 1  4  7 \n 5  3  1 \n 0  .25  .5  .75  1 \n 1  .5  0 \n"
              " .5  0 -.5 \n 100000  100001  100002 \n 5 \n",
              1);
}

TEST(Programs, ForNextWithOverflowChecking) {
    REQUIRE_RUNNER();
    Program p;
    Bytes i = p.Var(t8::I), s = p.Var(t8::I), h = p.Var(t8::I), b = p.Var(t8::B);
    ForLoop(p, t8::I, i, CI(1), CI(3), CI(1));
    p.Line(Let(t8::I, s, G(t8::I, CI(-2))));
    ForLoop(p, t8::I, i, CI(5), CI(1), s, &h);
    ForLoop(p, t8::B, b, tok::ConstByt(250), tok::ConstByt(252), tok::ConstByt(1));
    p.Line(Let(t8::I, i, E(t8::I, i + CI(1000) + Op(0x15))));
    p.Line(Print(G(t8::I, i)));
    ExpectRun(p.ir, "for_checked", " 1  2  3 \n 5  3  1 \n 250  251  252 \n-1000 \n", 1, 1);
}

TEST(Programs, WhileAndDoLoops) {
    REQUIRE_RUNNER();
    Program p;
    Bytes i = p.Var(t8::I);
    Bytes incr = Let(t8::I, i, E(t8::I, i + CI(1) + Add()));
    // WHILE I% < 3: PRINT I%;: I% = I% + 1: WEND
    p.Line(Let(t8::I, i, G(t8::I, CI(0))));
    p.Line(Head(0x22) + E(t8::I, i + CI(3) + Op(0x22)));
    p.Line(Print(G(t8::I, i) + Semi()) + tok::Separator() + incr);
    p.Line(Head(0x23));
    p.Line(Print({}));
    // DO WHILE I% < 5 ... LOOP
    p.Line(Head(0x26) + E(t8::I, i + CI(5) + Op(0x22)));
    p.Line(Print(G(t8::I, i) + Semi()) + tok::Separator() + incr);
    p.Line(Head(0x25));
    p.Line(Print({}));
    // DO UNTIL I% = 7 ... LOOP
    p.Line(Head(0x27) + E(t8::I, i + CI(7) + Op(0x20)));
    p.Line(Print(G(t8::I, i) + Semi()) + tok::Separator() + incr);
    p.Line(Head(0x25));
    p.Line(Print({}));
    // DO ... LOOP WHILE I% < 9; DO ... LOOP UNTIL I% >= 11 (each runs once
    // more than its condition holds at the top)
    p.Line(Head(0x24));
    p.Line(Print(G(t8::I, i) + Semi()) + tok::Separator() + incr);
    p.Line(Head(0x28) + E(t8::I, i + CI(9) + Op(0x22)));
    p.Line(Head(0x24));
    p.Line(Print(G(t8::I, i) + Semi()) + tok::Separator() + incr);
    p.Line(Head(0x29) + E(t8::I, i + CI(11) + Op(0x25)));
    p.Line(Print({}));
    // DO: IF I% = 13 THEN EXIT DO: I% = I% + 1: LOOP; and a loop whose
    // condition fails at once.
    p.Line(Head(0x24));
    p.Line(Head(0x18) + E(t8::I, i + CI(13) + Op(0x20)) + tok::Separator() + Head(0x19) +
           Bytes{0x10, 0x1B} + tok::Separator() + Head(0x13));
    p.Line(incr);
    p.Line(Head(0x25));
    p.Line(Head(0x22) + E(t8::I, i + CI(0) + Op(0x22)));
    p.Line(Print(G(t8::S, p.Str("never"))));
    p.Line(Head(0x23));
    p.Line(Print(G(t8::I, i)));
    ExpectRun(p.ir, "loops", " 0  1  2 \n 3  4 \n 5  6 \n 7  8  9  10 \n 13 \n");
}

TEST(Programs, SelectCase) {
    REQUIRE_RUNNER();
    Program p;
    Bytes i = p.Var(t8::I), h = p.Var(t8::I), s = p.Var(t8::S), hs = p.Var(t8::S);
    // FOR I% = 1 TO 6: SELECT CASE I% ... END SELECT: NEXT
    p.Line(Head(0x20) + Head(0x1F) + Let(t8::I, i, G(t8::I, CI(1))) +
           Let(t8::I, i, E(t8::I, i + CI(1) + Add())) + E(t8::I, i + CI(6) + Op(0x24)));
    p.Line(Head(0x14) + Let(t8::I, h, G(t8::I, i)));
    p.Line(Head(0x15) + E(t8::I, CI(1) + h + Op(0x20)));
    p.Line(Print(G(t8::S, p.Str("one"))));
    p.Line(Head(0x15) + E(t8::I, CI(2) + h + Op(0x20)) + E(t8::I, CI(3) + h + Op(0x20)));
    p.Line(Print(G(t8::S, p.Str("two or three"))));
    p.Line(Head(0x15) + E(t8::I, CI(4) + h + Op(0x24) + CI(5) + h + Op(0x25) + Op(0x31)));
    p.Line(Print(G(t8::S, p.Str("four to five"))));
    p.Line(Head(0x16));
    p.Line(Print(G(t8::S, p.Str("else"))));
    p.Line(Head(0x17));
    p.Line(Head(0x21));
    // SELECT CASE S$: CASE "b": ... CASE IS > "m": ... END SELECT
    for (const char *v : {"b", "z", "c"}) {
        p.Line(Let(t8::S, s, G(t8::S, p.Str(v))));
        p.Line(Head(0x14) + Let(t8::S, hs, G(t8::S, s)));
        p.Line(Head(0x15) + E(t8::I, p.Str("b") + hs + Op(0x20)));
        p.Line(Print(G(t8::S, p.Str("bee"))));
        p.Line(Head(0x15) + E(t8::I, p.Str("m") + hs + Op(0x22)));
        p.Line(Print(G(t8::S, p.Str("after m"))));
        p.Line(Head(0x17));
    }
    ExpectRun(p.ir, "select",
              "one\ntwo or three\ntwo or three\nfour to five\nfour to five\nelse\nbee\nafter m\n");
}

TEST(Programs, GosubAndReturn) {
    REQUIRE_RUNNER();
    Program p;
    Bytes i = p.Var(t8::I);
    const uint32_t sub1 = p.ir.ProcName(0, "SUB1");
    const uint32_t sub2 = p.ir.ProcName(0, "SUB2");
    const uint32_t done = p.ir.ProcName(0, "DONE");
    p.Line(Head(0x71) + LabelTok(sub1));
    p.Line(Print(G(t8::S, p.Str("back"))));
    // ON I% GOSUB SUB1, SUB2 for I% = 2, then 3 (no label: next statement).
    p.Line(Let(t8::I, i, G(t8::I, CI(2))));
    p.Line(Head(0x7A) + G(t8::I, i) + LabelTok(sub1) + LabelTok(sub2));
    p.Line(Let(t8::I, i, G(t8::I, CI(3))));
    p.Line(Head(0x7A) + G(t8::I, i) + LabelTok(sub1) + LabelTok(sub2));
    p.Line(Head(0x70) + LabelTok(done));
    p.Line(Print(G(t8::S, p.Str("skipped"))));
    p.Line(Head(0x02) + LabelTok(sub1) + Print(G(t8::S, p.Str("in sub1"))) + tok::Separator() +
           Head(0x7C));
    p.Line(Head(0x02) + LabelTok(sub2) + Print(G(t8::S, p.Str("in sub2"))));
    p.Line(Head(0x71) + LabelTok(sub1));
    p.Line(Head(0x7C));
    p.Line(Head(0x02) + LabelTok(done) + Print(G(t8::S, p.Str("done"))));
    p.Line(Head(0x1A) + G(t8::I, CI(0)));
    p.Line(Print(G(t8::S, p.Str("after end"))));
    ExpectRun(p.ir, "gosub", "in sub1\nback\nin sub2\nin sub1\ndone\n");
}

TEST(Programs, RecursiveFunction) {
    REQUIRE_RUNNER();
    Program p;
    // FUNCTION FACT&(BYVAL N AS LONG): IF N <= 1 THEN FACT = 1 ELSE
    // FACT = N * FACT(N - 1): END FUNCTION
    const uint32_t fact = p.ir.ProcName(0, "FACT");
    const uint32_t debug = p.ir.ProcDebug("FACT", 0,
                                          {VarRec{t8::L, 3, 0, 0, 0, 0, 0, "N"},
                                           VarRec{t8::L, 3, 0, 0, 0, 0, 0, "FACT"}},
                                          1);
    const uint32_t nRec = debug + 10 + 4;
    const uint32_t resultRec = nRec + 21;
    const Bytes n = tok::Var(0x50, t8::L, 3, nRec);
    const Bytes f = tok::Var(0x50, t8::L, 3, resultRec);
    // FUNCTION TWICE$(S$): T$ = S$ + S$: TWICE$ = T$: END FUNCTION, with a
    // string local and a by-reference string parameter.
    const uint32_t twice = p.ir.ProcName(0, "TWICE");
    const uint32_t d2 = p.ir.ProcDebug("TWICE", 12,
                                       {VarRec{t8::S, 4, 0, 0, 0, 0, 0, "S"},
                                        VarRec{t8::S, 3, 0, 0, 0, 0, 0, "TWICE"},
                                        VarRec{t8::S, 3, 0, 0, 0, 0, 0, "T"}},
                                       1);
    const uint32_t sRec = d2 + 10 + 5;
    const uint32_t rRec = sRec + 21;
    const uint32_t tRec = rRec + 25;
    const Bytes sv = tok::Var(0x50, t8::S, 4, sRec);
    const Bytes tv = tok::Var(0x50, t8::S, 3, tRec);
    const Bytes rv = tok::Var(0x50, t8::S, 3, rRec);
    Bytes x = p.Var(t8::S);

    p.Line(Print(Items({G(t8::L, Call(t8::L, fact, G(t8::L, CL(10)))),
                        E(t8::L, CL(1) + Call(t8::L, fact, G(t8::L, CL(5))) + Add())})));
    p.Line(Let(t8::S, x, G(t8::S, p.Str("xy"))));
    p.Line(Print(Items({G(t8::S, Call(t8::S, twice, Ref(t8::S, p.Str("ab")))),
                        G(t8::S, Call(t8::S, twice, Ref(t8::S, x))),
                        E(t8::S, Call(t8::S, twice, Ref(t8::S, x)) + x + Add())})));
    p.Line(Head(0x1A));
    p.Line(tok::Stmt(0x31, {fact, debug, 0xFFFFFFFFu}));
    p.Line(Head(0x10) + E(t8::I, n + CL(1) + Op(0x24)));
    p.Line(Let(t8::L, f, G(t8::L, CL(1))));
    p.Line(Head(0x11));
    p.Line(Let(t8::L, f, E(t8::L, n + Call(t8::L, fact, E(t8::L, n + CL(1) + Op(0x14))) + Op(0x15))));
    p.Line(Head(0x13));
    p.Line(tok::StmtByte(0x32, 3, resultRec));
    p.Line(tok::Stmt(0x31, {twice, d2, 0xFFFFFFFFu}));
    p.Line(Let(t8::S, tv, E(t8::S, sv + sv + Add())));
    p.Line(Let(t8::S, rv, G(t8::S, tv)));
    p.Line(tok::StmtByte(0x32, 3, rRec));
    ExpectRun(p.ir, "function", " 3628800  121 \nababxyxyxyxyxy\n");
}

TEST(Programs, SubWithReferenceParameters) {
    REQUIRE_RUNNER();
    Program p;
    // SUB SWAPIT(A AS LONG, B AS LONG): T& = A: A = B: B = T&: END SUB
    const uint32_t swapit = p.ir.ProcName(0, "SWAPIT");
    const uint32_t d1 = p.ir.ProcDebug("SWAPIT", 4,
                                       {VarRec{t8::L, 4, 0, 0, 0, 0, 0, "A"},
                                        VarRec{t8::L, 4, 0, 0, 0, 0, 0, "B"},
                                        VarRec{t8::L, 3, 0, 0, 0, 0, 0, "T"}},
                                       2);
    const uint32_t aRec = d1 + 10 + 6;
    const Bytes av = tok::Var(0x50, t8::L, 4, aRec);
    const Bytes bv = tok::Var(0x50, t8::L, 4, aRec + 21);
    const Bytes tv = tok::Var(0x50, t8::L, 3, aRec + 42);
    // SUB BUMP(N AS INTEGER, S$, BYVAL D AS DOUBLE): N = N + 1: S$ = S$ + "!":
    // PRINT D: EXIT SUB: PRINT "not here": END SUB
    const uint32_t bump = p.ir.ProcName(0, "BUMP");
    const uint32_t d2 = p.ir.ProcDebug("BUMP", 0,
                                       {VarRec{t8::I, 4, 0, 0, 0, 0, 0, "N"},
                                        VarRec{t8::S, 4, 0, 0, 0, 0, 0, "S"},
                                        VarRec{t8::D, 3, 0, 0, 0, 0, 0, "D"}},
                                       3);
    const uint32_t nRec = d2 + 10 + 4;
    const Bytes nv = tok::Var(0x50, t8::I, 4, nRec);
    const Bytes sv = tok::Var(0x50, t8::S, 4, nRec + 21);
    const Bytes dv = tok::Var(0x50, t8::D, 3, nRec + 42);
    Bytes x = p.Var(t8::L), y = p.Var(t8::L), k = p.Var(t8::I), s = p.Var(t8::S);
    const uint32_t arr = p.Array(t8::L, {3});
    auto elem = [&](int32_t i) { return ArrayTok(t8::L, 1, arr, {G(t8::L, CL(i))}); };

    p.Line(Let(t8::L, x, G(t8::L, CL(1))));
    p.Line(Let(t8::L, y, G(t8::L, CL(2))));
    auto call = [&](uint32_t entry, const Bytes &args) { return tok::StmtByte(0x38, 0, entry) + args; };

    // CALL SWAPIT(X&, Y&): PRINT X&; Y&
    p.Line(call(swapit, Ref(t8::L, x) + Ref(t8::L, y)));
    p.Line(Print(Items({G(t8::L, x), G(t8::L, y)})));
    // Array elements by reference: A&(1) = 10: A&(2) = 20: CALL SWAPIT(A&(1), A&(2))
    p.Line(Let(t8::L, elem(1), G(t8::L, CL(10))));
    p.Line(Let(t8::L, elem(2), G(t8::L, CL(20))));
    p.Line(call(swapit, Ref(t8::L, elem(1)) + Ref(t8::L, elem(2))));
    p.Line(Print(Items({G(t8::L, elem(1)), G(t8::L, elem(2))})));
    // CALL BUMP(K%, S$, 1.5): twice, then with an expression for N (a
    // temporary: K% stays).
    p.Line(Let(t8::I, k, G(t8::I, CI(41))));
    p.Line(Let(t8::S, s, G(t8::S, p.Str("hey"))));
    p.Line(call(bump, Ref(t8::I, k) + Ref(t8::S, s) + G(t8::D, CD(1.5))));
    p.Line(call(bump, Ref(t8::I, k) + Ref(t8::S, s) + E(t8::D, k + CI(2) + Op(0x16))));
    p.Line(call(bump, Bytes{0xB3, t8::I} + k + CI(1) + Add() + Bytes{0xBF, 0} + Ref(t8::S, s) +
                          G(t8::D, CD(0))));
    p.Line(Print(Items({G(t8::I, k), G(t8::S, s)})));
    p.Line(Head(0x1A));
    p.Line(tok::Stmt(0x35, {swapit, d1, 0xFFFFFFFFu}));
    p.Line(Let(t8::L, tv, G(t8::L, av)));
    p.Line(Let(t8::L, av, G(t8::L, bv)));
    p.Line(Let(t8::L, bv, G(t8::L, tv)));
    p.Line(Head(0x36));
    p.Line(tok::Stmt(0x35, {bump, d2, 0xFFFFFFFFu}));
    p.Line(Let(t8::I, nv, E(t8::I, nv + CI(1) + Add())));
    p.Line(Let(t8::S, sv, E(t8::S, sv + p.Str("!") + Add())));
    p.Line(Print(G(t8::D, dv)));
    p.Line(Head(0x37));
    p.Line(Print(G(t8::S, p.Str("not here"))));
    p.Line(Head(0x36));
    ExpectRun(p.ir, "subs", " 2  1 \n 20  10 \n 1.5 \n 21 \n 0 \n 43 hey!!!\n");
}

TEST(Programs, DataReadRestore) {
    REQUIRE_RUNNER();
    Program p;
    const uint32_t first = p.ir.DataItem(10, "1");
    p.ir.DataItem(10, "2.5");
    p.ir.DataItem(10, "\"hello, world\"");
    const uint32_t fourth = p.ir.DataItem(11, "&H10");
    p.ir.DataItem(11, "-7");
    p.ir.DataItem(0, "");
    Bytes a = p.Var(t8::I), x = p.Var(t8::F), s = p.Var(t8::S), l = p.Var(t8::L);
    const uint32_t arr = p.Array(t8::I, {1});
    // READ A%, X!, S$: PRINT A%; X!; S$
    p.Line(Head(0x8D) + G(t8::I, a) + G(t8::F, x) + G(t8::S, s));
    p.Line(Print(Items({G(t8::I, a), G(t8::F, x), G(t8::S, s)})));
    // READ L&, A%(0): PRINT L&; A%(0)
    p.Line(Head(0x8D) + G(t8::L, l) + G(t8::I, ArrayTok(t8::I, 1, arr, {G(t8::L, CL(0))})));
    p.Line(Print(Items({G(t8::L, l), G(t8::I, ArrayTok(t8::I, 1, arr, {G(t8::L, CL(0))}))})));
    // RESTORE: READ A%; RESTORE to the second line: READ A%
    p.Line(tok::Stmt(0x7B, {first}));
    p.Line(Head(0x8D) + G(t8::I, a));
    p.Line(Print(G(t8::I, a)));
    p.Line(tok::Stmt(0x7B, {fourth}));
    p.Line(Head(0x8D) + G(t8::I, a));
    p.Line(Print(G(t8::I, a)));
    ExpectRun(p.ir, "data", " 1  2.5 hello, world\n 16 -7 \n 1 \n 16 \n");
}

TEST(Programs, Arrays) {
    REQUIRE_RUNNER();
    Program p;
    Bytes i = p.Var(t8::I), j = p.Var(t8::I), sum = p.Var(t8::L);
    const uint32_t sq = p.Array(t8::I, {10});
    const uint32_t grid = p.Array(t8::F, {2, 3});
    const uint32_t names = p.Array(t8::S, {2});
    auto sqAt = [&](const Bytes &sub) { return ArrayTok(t8::I, 1, sq, {G(t8::L, sub)}); };
    auto gridAt = [&](const Bytes &a, const Bytes &b) {
        return ArrayTok(t8::F, 1, grid, {G(t8::L, a), G(t8::L, b)});
    };
    auto nameAt = [&](int32_t k) { return ArrayTok(t8::S, 1, names, {G(t8::L, CL(k))}); };
    auto forLoop = [&](const Bytes &v, int16_t from, int16_t to) {
        return Head(0x20) + Head(0x1F) + Let(t8::I, v, G(t8::I, CI(from))) +
               Let(t8::I, v, E(t8::I, v + CI(1) + Add())) + E(t8::I, v + CI(to) + Op(0x24));
    };
    // DIM SQ%(10), GRID!(2, 3), NAMES$(2)
    p.Line(Head(0x8A) + G(t8::I, ArrayTok(t8::I, 1, sq, {G(t8::L, CL(10))})) +
           G(t8::F, ArrayTok(t8::F, 1, grid, {G(t8::L, CL(2)), G(t8::L, CL(3))})) +
           G(t8::S, ArrayTok(t8::S, 1, names, {G(t8::L, CL(2))})));
    // FOR I% = 0 TO 10: SQ%(I%) = I% * I%: NEXT
    p.Line(forLoop(i, 0, 10));
    p.Line(Let(t8::I, sqAt(i), E(t8::I, i + i + Op(0x15))));
    p.Line(Head(0x21));
    // FOR I% = 0 TO 10: SUM& = SUM& + SQ%(I%): NEXT
    p.Line(forLoop(i, 0, 10));
    p.Line(Let(t8::L, sum, E(t8::L, sum + sqAt(i) + Add())));
    p.Line(Head(0x21));
    p.Line(Print(Items({G(t8::I, sqAt(CL(3))), G(t8::I, sqAt(CL(10))), G(t8::L, sum),
                        E(t8::I, sqAt(CL(2)) + sqAt(CL(3)) + Op(0x15))})));
    // GRID!(I%, J%) = I% + J% / 10
    p.Line(forLoop(i, 0, 2));
    p.Line(forLoop(j, 0, 3));
    p.Line(Let(t8::F, gridAt(i, j), E(t8::F, i + j + CI(10) + Op(0x16) + Add())));
    p.Line(Head(0x21));
    p.Line(Head(0x21));
    p.Line(Print(Items({G(t8::F, gridAt(CL(2), CL(3))), G(t8::F, gridAt(CL(1), CL(0))),
                        E(t8::F, gridAt(CL(0), CL(1)) + gridAt(CL(2), CL(2)) + Add())})));
    p.Line(Let(t8::S, nameAt(0), G(t8::S, p.Str("zero"))));
    p.Line(Let(t8::S, nameAt(2), E(t8::S, nameAt(0) + p.Str("+two") + Add())));
    p.Line(Print(Items({G(t8::S, nameAt(2)), G(t8::S, nameAt(1)), G(t8::S, p.Str("."))})));
    ExpectRun(p.ir, "arrays", " 9  100  385  36 \n 2.3  1  2.3 \nzero+two.\n");
}

} // namespace
} // namespace txcg::test
