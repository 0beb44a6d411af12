// The items that lines of each statement form leave for the emission,
// written out by hand from the forms the emission expects.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "sc_machine.h"

namespace {

using namespace txsc;

// Builds the tokens of one line; names are found in the line's text.
class Toks {
public:
    explicit Toks(std::string text) : text_(std::move(text)) {}
    Toks &kw(uint8_t kind) { return unit(0x00, kind); }
    Toks &clause(uint8_t kind) { return unit(0x10, kind); }
    Toks &op(uint8_t kind) { return unit(0x20, kind); }
    Toks &punct(uint8_t kind) { return unit(0x30, kind); }
    Toks &notk() { return unit(0x28, 0x30); }
    Toks &label(const char *n) {
        size_t at = text_.find(n, from_);
        from_ = at + std::strlen(n);
        return unit(0xA0, 1, uint8_t(at), uint8_t(std::strlen(n)));
    }
    Toks &type(uint8_t t) { return unit(0x90, t); }
    Toks &fn(uint8_t code) { return unit(0x40, code); }
    Toks &lineno(const char *n) {
        size_t at = text_.find(n, from_);
        from_ = at + std::strlen(n);
        return unit(0xA1, 1, uint8_t(at), uint8_t(std::strlen(n)));
    }
    Toks &name(const char *n, uint8_t type = 2, uint8_t cls = 0x50) {
        size_t at = text_.find(n, from_);
        from_ = at + std::strlen(n);
        return unit(cls, type, uint8_t(at), uint8_t(std::strlen(n)));
    }
    Toks &i16(int16_t v) {
        unit(0x70, 0);
        bytes_.push_back(uint8_t(v));
        bytes_.push_back(uint8_t(v >> 8));
        return *this;
    }
    Toks &str(const char *s) {
        size_t at = text_.find(std::string("\"") + s, from_) + 1;
        from_ = at + std::strlen(s);
        return unit(0x70, 16, uint8_t(at), uint8_t(std::strlen(s)));
    }
    const std::string &text() const { return text_; }
    const std::vector<uint8_t> &bytes() const { return bytes_; }

private:
    Toks &unit(uint8_t c, uint8_t k, uint8_t off = 0, uint8_t len = 0) {
        bytes_.insert(bytes_.end(), {c, k, off, len});
        return *this;
    }
    std::string text_;
    std::vector<uint8_t> bytes_;
    size_t from_ = 0;
};

class Module {
public:
    Module() {
        param_.srcfilename = src_;
        p->param = &param_;
        p->nameStack.push_back(src_);
    }
    // Analyses a line as the driver does and writes its items out:
    // "code.sub", a symbol's name after ':', a constant's value after '='.
    std::string Line(const Toks &t, uint16_t *word = nullptr) {
        std::snprintf(p->line, sizeof p->line, "%s", t.text().c_str());
        p->lineLen = int(t.text().size());
        std::memcpy(p->tokbuf, t.bytes().data(), t.bytes().size());
        p->tokBytes = int(t.bytes().size());
        std::memcpy(p->tokbuf + p->tokBytes, "\xF1\0\0\0", 4);
        p->recLine = ++line_;
        ++p->stmtCount;
        uint16_t w = AnalyseLine(*p);
        if (!w) w = CheckConstants(*p);
        if (word) *word = w;
        std::string s;
        for (int i = 0; i < p->out; ++i) {
            const Item &it = p->items[i];
            char buf[64];
            std::snprintf(buf, sizeof buf, "%s%02X.%02X", s.empty() ? "" : " ", it.code, it.sub);
            s += buf;
            const bool procHead = it.code == 0 && it.sub >= 0x30 && it.sub <= 0x3F;
            if (it.value && (it.code == 0x50 || it.code == 0x60 || it.code == 0x42 || procHead))
                s += ":" + p->tab.sym(it.value).name;
            if (it.value && it.code == 0 && it.sub == 0x7B) s += "@" + p->tab.label(it.value).name;
            if (it.code == 0x70 && it.sub <= 4) {
                Cst c = SlotValue(*p, it);
                std::snprintf(buf, sizeof buf, "=%g", c.type == 2 ? double(c.s) : c.type == 3 ? c.d : double(c.l));
                s += buf;
            }
        }
        return s;
    }
    std::unique_ptr<ScPass> p = std::make_unique<ScPass>();

private:
    CmpFilParam param_{};
    char src_[16] = "PROG.BAS";
    uint16_t line_ = 0;
};

TEST(ScItems, ForLoopGroups) {
    Module m;
    // FOR I = 1 TO N STEP 2: the variable, start, limit with its holder, step.
    EXPECT_EQ(m.Line(Toks("FOR I = 1 TO N STEP 2").kw(0x20).name("I").op(0x20).i16(1).clause(8).name("N")
                         .clause(9).i16(2)),
              "00.20 B0.02 50.02:I BF.00 B0.02 70.02=1 BF.00 B0.02 50.02:N BF.00 B0.02 50.02:t0000 BF.00 "
              "B0.02 70.02=2 BF.00 F1.00");
    // Constant limit, default step 1 in the variable's type.
    EXPECT_EQ(m.Line(Toks("FOR J% = 1 TO 9").kw(0x20).name("J", 0).op(0x20).i16(1).clause(8).i16(9)),
              "00.20 B0.00 50.00:J BF.00 B0.00 70.00=1 BF.00 B0.00 70.00=9 BF.00 B0.00 70.00=1 BF.00 F1.00");
    // NEXT J, I closes both loops, innermost first, one closing statement each.
    EXPECT_EQ(m.Line(Toks("NEXT J%, I").kw(0x21).name("J", 0).punct(2).name("I")), "00.21 F2.00 00.21 F1.00");
    EXPECT_TRUE(m.p->blocks.empty());
}

TEST(ScItems, AssignmentInPostfix) {
    Module m;
    EXPECT_EQ(m.Line(Toks("A = B * (C + 1)").name("A").op(0x20).name("B").op(0x15).punct(0).name("C").op(0x13)
                         .i16(1).punct(1)),
              "00.80 B0.02 50.02:A BF.00 20.00 B1.02 50.02:B 50.02:C 70.00=1 20.13 20.15 BF.00 F1.00");
    // A constant expression is folded: -2 ^ 2 is -(2 ^ 2), a single.
    EXPECT_EQ(m.Line(Toks("X = -2 ^ 2").name("X").op(0x20).op(0x14).i16(2).op(0x12).i16(2)),
              "00.80 B0.02 50.02:X BF.00 20.00 B0.02 70.02=-4 BF.00 F1.00");
    // Precedence: 1 + 2 * 3 < 8 AND NOT 0, with a variable to stop folding.
    EXPECT_EQ(m.Line(Toks("Y = A + 2 * 3 < 8 AND NOT A").name("Y").op(0x20).name("A").op(0x13).i16(2).op(0x15)
                         .i16(3).op(0x22).i16(8).op(0x31).notk().name("A")),
              "00.80 B0.02 50.02:Y BF.00 20.00 B1.02 50.02:A 70.00=2 70.00=3 20.15 20.13 70.00=8 20.22 "
              "50.02:A 28.30 20.31 BF.00 F1.00");
}

TEST(ScItems, SelectAndCaseComparisons) {
    Module m;
    // The value, then its holder.
    EXPECT_EQ(m.Line(Toks("SELECT CASE A + 1").clause(6).kw(0x15).name("A").op(0x13).i16(1)),
              "00.14 B1.20 50.02:A 70.00=1 20.13 BF.00 B0.02 50.02:t0000 BF.00 F1.00");
    // A range and a relation, each one comparison with the holder; the
    // relation is swapped because the holder is the second operand.
    EXPECT_EQ(m.Line(Toks("CASE 2 TO 5, IS > 9").kw(0x15).i16(2).clause(8).i16(5).punct(2).clause(4).op(0x23).i16(9)),
              "00.15 B1.02 70.00=2 50.02:t0000 20.24 70.00=5 50.02:t0000 20.25 20.31 BF.00 "
              "B1.02 70.00=9 50.02:t0000 20.22 BF.00 F1.00");
    uint16_t word = 0;
    m.Line(Toks("CASE \"X\"").kw(0x15).str("X"), &word);
    EXPECT_EQ(word, 0x470D) << "a string case for a numeric selector";
    EXPECT_EQ(m.Line(Toks("CASE ELSE").kw(0x15).kw(0x11)), "00.16 F1.00");
    m.Line(Toks("CASE 1").kw(0x15).i16(1), &word);
    EXPECT_EQ(word, 0x6927) << "a case after CASE ELSE";
    EXPECT_EQ(m.Line(Toks("END SELECT").kw(0x1A).clause(6)), "00.17 F1.00");
    EXPECT_TRUE(m.p->blocks.empty());
}

TEST(ScItems, OneLineIf) {
    Module m;
    EXPECT_EQ(m.Line(Toks("IF A THEN PRINT 1 ELSE 100").kw(0x10).name("A").clause(0).kw(0x94).i16(1).kw(0x11)
                         .lineno("100")),
              "00.18 B0.20 50.02:A BF.00 F2.00 00.94 B0.20 70.00=1 BF.00 F2.00 00.11 F2.00 00.70 A1.01 00.13 F1.00");
    EXPECT_TRUE(m.p->blocks.empty());
}

TEST(ScItems, CallMatchesDeclaredParameters) {
    Module m;
    uint16_t word = 1;
    EXPECT_EQ(m.Line(Toks("DECLARE SUB S (BYVAL A AS INTEGER, B)").clause(0x13).kw(0x35).name("S").punct(0)
                         .clause(0x17).name("A").clause(3).type(0).punct(2).name("B").punct(1), &word),
              "00.34:S F1.00");
    EXPECT_EQ(word, 0);
    EXPECT_EQ(m.p->tab.sym(m.p->items[0].value).extName, "_S@8");
    // By value: B1 in the declared type; a variable by reference: B2.
    EXPECT_EQ(m.Line(Toks("CALL S(1, X)").kw(0x38).name("S", 2, 0x60).i16(1).punct(2).name("X").punct(1)),
              "00.38:S B1.00 70.00=1 BF.00 B2.02 50.02:X BF.00 F1.00");
    // A line led by the procedure's name is the same call.
    EXPECT_EQ(m.Line(Toks("S 1, X + 1").name("S").i16(1).punct(2).name("X").op(0x13).i16(1)),
              "00.38:S B1.00 70.00=1 BF.00 B3.02 50.02:X 70.00=1 20.13 BF.00 F1.00");
    // A variable of another type goes through a temporary.
    EXPECT_EQ(m.Line(Toks("S 1, K%").name("S").i16(1).punct(2).name("K", 0)),
              "00.38:S B1.00 70.00=1 BF.00 B3.02 50.00:K BF.00 F1.00");
    m.Line(Toks("CALL S(1)").kw(0x38).name("S", 2, 0x60).i16(1).punct(1), &word);
    EXPECT_EQ(word & 0xFF, 22) << "a parameter without default left out";
    m.Line(Toks("CALL S(1, X, 2)").kw(0x38).name("S", 2, 0x60).i16(1).punct(2).name("X").punct(2).i16(2).punct(1), &word);
    EXPECT_EQ(word & 0xFF, 22) << "one argument too many";
}

TEST(ScItems, JumpsCarryTheirLabels) {
    Module m;
    EXPECT_EQ(m.Line(Toks("GOTO *L").kw(0x70).label("*L")), "00.70 A0.01 F1.00");
    EXPECT_NE(m.p->items[1].value, 0u);
    // RESTORE keeps its label in the statement head.
    EXPECT_EQ(m.Line(Toks("RESTORE *L").kw(0x7B).label("*L")), "00.7B@L F1.00");
    EXPECT_EQ(m.Line(Toks("RESTORE").kw(0x7B)), "00.7B F1.00");
    EXPECT_EQ(m.p->items[0].value, 0u);
}

TEST(ScItems, NamesInsideAProcedureAreItsOwn) {
    Module m;
    m.Line(Toks("A = 1").name("A").op(0x20).i16(1));
    const uint32_t moduleA = m.p->items[2].value;
    m.Line(Toks("DECLARE SUB P").clause(0x13).kw(0x35).name("P"));
    m.Line(Toks("DECLARE SUB Q ()").clause(0x13).kw(0x35).name("Q").punct(0).punct(1));
    uint16_t word = 0;
    m.Line(Toks("SUB P").kw(0x35).name("P"), &word);
    EXPECT_EQ(word, 0x430A) << "a routine declared without a list has no body here";
    m.Line(Toks("SUB Q ()").kw(0x35).name("Q").punct(0).punct(1), &word);
    EXPECT_EQ(word, 0);
    m.Line(Toks("A = 2").name("A").op(0x20).i16(2));
    const uint32_t localA = m.p->items[2].value;
    EXPECT_NE(localA, moduleA);
    EXPECT_EQ(m.p->tab.sym(localA).kind, sk::kLocal);
    EXPECT_EQ(m.p->tab.sym(m.p->scope.proc).extra, 4u) << "the local adds its size to the frame";
    m.Line(Toks("END SUB").kw(0x1A).kw(0x35), &word);
    EXPECT_EQ(word, 0);
    EXPECT_EQ(m.Line(Toks("A = 3").name("A").op(0x20).i16(3)).substr(0, 20), "00.80 B0.02 50.02:A ");
    EXPECT_EQ(m.p->items[2].value, moduleA);
}

// A parameter typed by a clause is found by its bare name and by the suffix
// of its type, in both routine forms; no local is made for it.
TEST(ScItems, ParametersTypedByAClauseAreFound) {
    struct Case {
        const char *what;
        uint8_t kw;
        const char *decl, *def;
    } cases[] = {
        {"SUB", 0x35, "DECLARE SUB S (A AS INTEGER, B$)", "SUB S (A AS INTEGER, B$)"},
        {"FUNCTION", 0x31, "DECLARE FUNCTION S (A AS INTEGER, B$) AS LONG", "FUNCTION S (A AS INTEGER, B$) AS LONG"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        Module m;
        auto head = [&](Toks t) {
            t.kw(c.kw).name("S").punct(0).name("A").clause(3).type(0).punct(2).name("B", 16).punct(1);
            if (c.kw == 0x31) t.clause(3).type(1);
            return t;
        };
        uint16_t word = 1;
        m.Line(head(Toks(c.decl).clause(0x13)), &word);
        ASSERT_EQ(word, 0);
        m.Line(head(Toks(c.def)), &word);
        ASSERT_EQ(word, 0);
        const uint32_t frame = m.p->tab.sym(m.p->scope.proc).extra;
        const uint32_t a = m.p->tab.sym(m.p->scope.proc).params[0].sym;
        EXPECT_EQ(m.Line(Toks("A = 1").name("A").op(0x20).i16(1)), "00.80 B0.00 50.00:A BF.00 20.00 B0.00 70.00=1 BF.00 F1.00");
        EXPECT_EQ(m.p->items[2].value, a);
        m.Line(Toks("A% = 2").name("A", 0).op(0x20).i16(2));
        EXPECT_EQ(m.p->items[2].value, a);
        EXPECT_EQ(m.p->tab.sym(a).kind, sk::kParam);
        EXPECT_EQ(m.p->tab.sym(m.p->scope.proc).extra, frame) << "no local was made";
        m.Line(Toks("B$ = \"x\"").name("B", 16).op(0x20).str("x"));
        EXPECT_EQ(m.p->items[2].value, m.p->tab.sym(m.p->scope.proc).params[1].sym);
    }
}

TEST(ScItems, ExternalNamesOfDeclarations) {
    struct Case {
        const char *what;
        Toks line;
        const char *ext;
    } cases[] = {
        {"plain: prefix and argument bytes",
         Toks("DECLARE FUNCTION F (A#, BYVAL B AS DOUBLE) AS LONG").clause(0x13).kw(0x31).name("F", 2, 0x60)
             .name("A", 3).punct(2).clause(0x17).name("B").clause(3).type(3).punct(1).clause(3).type(1),
         "_F@12"},
        {"EDECL adds the hidden object",
         Toks("DECLARE SUB M EDECL ()").clause(0x13).kw(0x35).name("M").clause(0x15).punct(0).punct(1), "_TV$M@4"},
        {"TXDECL", Toks("DECLARE SUB T TXDECL (X)").clause(0x13).kw(0x35).name("T").clause(5).punct(0).name("X").punct(1),
         "_TX$T@4"},
        {"CDECL: no decoration", Toks("DECLARE SUB C CDECL (X)").clause(0x13).kw(0x35).name("C").clause(0x14).punct(0)
                                      .name("X").punct(1),
         "_C"},
        {"library: the plain name", Toks("DECLARE SUB W LIB \"K\" (X)").clause(0x13).kw(0x35).name("W").clause(0x19)
                                         .str("K").punct(0).name("X").punct(1),
         "W"},
        {"library with alias", Toks("DECLARE SUB V LIB \"K\" ALIAS \"Vx\"").clause(0x13).kw(0x35).name("V")
                                    .clause(0x19).str("K").clause(0x1A).str("Vx"),
         "Vx"},
    };
    for (Case &c : cases) {
        SCOPED_TRACE(c.what);
        Module m;
        uint16_t word = 1;
        m.Line(c.line, &word);
        ASSERT_EQ(word, 0);
        EXPECT_EQ(m.p->tab.sym(m.p->items[0].value).extName, c.ext);
    }
}

TEST(ScItems, UserTypes) {
    Module m;
    uint16_t word = 1;
    m.Line(Toks("TYPE PT").kw(0x1B).name("PT"), &word);
    EXPECT_EQ(word, 0);
    EXPECT_TRUE(m.p->typeMode);
    // Member lines are kind 0x1D; any other statement is refused here.
    EXPECT_EQ(m.Line(Toks("X AS INTEGER").name("X").clause(3).type(0), &word), "00.1D F1.00");
    m.Line(Toks("S AS STRING * 8").name("S").clause(3).type(17).op(0x15).i16(8), &word);
    EXPECT_EQ(word, 0);
    m.Line(Toks("PRINT").kw(0x94), &word);
    EXPECT_EQ(word, 0x6D02);
    m.Line(Toks("Z AS STRING * 0").name("Z").clause(3).type(17).op(0x15).i16(0), &word);
    EXPECT_EQ(word & 0xFF, 6) << "a fixed-length string member of length 0";
    m.Line(Toks("Q AS PT").name("Q").clause(3).name("PT"), &word);
    EXPECT_EQ(word & 0xFF, 29) << "a member of the type being defined";
    m.Line(Toks("END TYPE").kw(0x1A).kw(0x1B), &word);
    EXPECT_EQ(word, 0);
    const uint32_t pt = m.p->tab.SearchType("PT");
    ASSERT_NE(pt, 0u);
    EXPECT_EQ(m.p->tab.type(pt).size, 10u);
    EXPECT_EQ(m.p->tab.member(m.p->tab.SearchMember(pt, "S")).offset, 2u);

    m.Line(Toks("TYPE EMPTY").kw(0x1B).name("EMPTY"), &word);
    m.Line(Toks("END TYPE").kw(0x1A).kw(0x1B), &word);
    EXPECT_EQ(word & 0xFF, 2) << "a type without members";

    // A variable of the type and a member in an expression.
    m.Line(Toks("DIM V AS PT").kw(0x3B).name("V").clause(3).name("PT"), &word);
    EXPECT_EQ(word, 0);
    EXPECT_EQ(m.Line(Toks("V.X = 5").name("V").punct(5).name("X").op(0x20).i16(5)),
              "00.80 B0.00 50.30:V 51.00 BF.00 20.00 B0.00 70.00=5 BF.00 F1.00");
    m.Line(Toks("V.W = 5").name("V").punct(5).name("W").op(0x20).i16(5), &word);
    EXPECT_EQ(word, 0x1602) << "a member the type lacks";
}

TEST(ScItems, DefaultVariablesForbidden) {
    Module m;
    m.p->flags |= kFlagNoDefaultVars;
    uint16_t word = 0;
    m.Line(Toks("A = 1").name("A").op(0x20).i16(1), &word);
    EXPECT_EQ(word & 0xFF, 29);
    m.Line(Toks("DIM A").kw(0x3B).name("A"), &word);
    EXPECT_EQ(word, 0);
    m.Line(Toks("A = 1").name("A").op(0x20).i16(1), &word);
    EXPECT_EQ(word, 0);
}

TEST(ScItems, SuffixesMakeTwoVariables) {
    Module m;
    m.Line(Toks("A% = 1").name("A", 0).op(0x20).i16(1));
    const uint32_t intA = m.p->items[2].value;
    m.Line(Toks("A! = 1").name("A", 2).op(0x20).i16(1));
    EXPECT_NE(m.p->items[2].value, intA);
    // Declared with a type clause: found by its bare name and by its suffix.
    uint16_t word = 0;
    m.Line(Toks("DIM L AS LONG").kw(0x3B).name("L").clause(3).type(1), &word);
    m.Line(Toks("L = 1").name("L").op(0x20).i16(1));
    const uint32_t l = m.p->items[2].value;
    m.Line(Toks("L& = 2").name("L", 1).op(0x20).i16(2));
    EXPECT_EQ(m.p->items[2].value, l);
    EXPECT_EQ(m.p->tab.sym(l).type, 1);
}

}  // namespace

namespace {

// The object prefix: the object's group goes in front of the statement or
// the function, or becomes the hidden first argument of an EDECL routine;
// inside an EDECL procedure a window statement without one takes `this`.
TEST(ScItems, ObjectPrefix) {
    Module m;
    uint16_t word = 1;
    m.Line(Toks("DECLARE SUB M EDECL (X)").clause(0x13).kw(0x35).name("M").clause(0x15).punct(0).name("X").punct(1));
    m.Line(Toks("DECLARE SUB Q (Y AS OBJECT)").clause(0x13).kw(0x35).name("Q").punct(0).name("Y").clause(3)
               .type(kTypeObject).punct(1));
    m.Line(Toks("DIM O AS OBJECT").kw(0x3B).name("O").clause(3).type(kTypeObject), &word);
    EXPECT_EQ(word, 0);
    const struct {
        Toks line;
        const char *items;
    } cases[] = {
        {Toks("O.PRINT 1").name("O").punct(5).kw(0x94).i16(1), "B5.40 50.40:O BE.00 00.94 B0.20 70.00=1 BF.00 F1.00"},
        // After a separator the group still stands in front of its statement.
        {Toks("A = 1: O.CLS").name("A").op(0x20).i16(1).punct(4).name("O").punct(5).kw(0x59),
         "00.80 B0.02 50.02:A BF.00 20.00 B0.02 70.02=1 BF.00 F2.00 B5.40 50.40:O BE.00 00.59 B0.00 70.00=0 BF.00 F1.00"},
        {Toks("O.VIEW").name("O").punct(5).fn(0x26), "B5.40 50.40:O BE.00 00.B7 F1.00"},
        {Toks("X = O.CSRLIN").name("X").op(0x20).name("O").punct(5).fn(0x00),
         "00.80 B0.02 50.02:X BF.00 20.00 B0.02 B5.40 50.40:O BE.00 40.00 4F.00 BF.00 F1.00"},
        {Toks("O.M 1").name("O").punct(5).name("M").i16(1), "00.38:M B5.40 50.40:O BE.00 B3.02 70.00=1 BF.00 F1.00"},
        {Toks("M 1").name("M").i16(1), "00.38:M B5.40 70.41 BE.00 B3.02 70.00=1 BF.00 F1.00"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.line.text());
        EXPECT_EQ(m.Line(c.line, &word), c.items);
        EXPECT_EQ(word, 0);
    }
    // Inside the EDECL procedure: its own object, written and passed on.
    m.Line(Toks("SUB M (X)").kw(0x35).name("M").punct(0).name("X").punct(1), &word);
    ASSERT_EQ(word, 0);
    EXPECT_EQ(m.Line(Toks("PRINT").kw(0x94)), "B5.40 50.40:this BE.00 00.94 F1.00");
    EXPECT_EQ(m.Line(Toks("this.COLOR 2").name("this").punct(5).kw(0x97).i16(2)),
              "B5.40 50.40:this BE.00 00.97 B0.01 70.01=2 BF.00 F1.00");
    EXPECT_EQ(m.Line(Toks("M 1").name("M").i16(1)), "00.38:M B5.40 50.40:this BE.00 B3.02 70.00=1 BF.00 F1.00");
    EXPECT_EQ(m.Line(Toks("Q this").name("Q").name("this")), "00.38:Q B2.40 50.40:this BF.00 F1.00");
    m.Line(Toks("END SUB").kw(0x1A).kw(0x35));
}

// What an object cannot stand with, by the status the line ends with.
TEST(ScItems, ObjectPrefixRefusals) {
    Module m;
    m.Line(Toks("DECLARE SUB P (X)").clause(0x13).kw(0x35).name("P").punct(0).name("X").punct(1));
    m.Line(Toks("DIM O AS OBJECT").kw(0x3B).name("O").clause(3).type(kTypeObject));
    const struct {
        Toks line;
        uint16_t word;
    } cases[] = {
        {Toks("X = this").name("X").op(0x20).name("this"), 0x0C02},        // outside an EDECL procedure
        {Toks("this.CLS").name("this").punct(5).kw(0x59), 0x0C02},
        {Toks("O.GOTO 10").name("O").punct(5).kw(0x70).i16(10), 0x0402},   // no window statement
        {Toks("O.PRINT #1, 2").name("O").punct(5).kw(0x94).punct(6).i16(1).punct(2).i16(2), 0x0402},
        {Toks("O.P 1").name("O").punct(5).name("P").i16(1), 0x0402},        // not declared with EDECL
        {Toks("X = O.ABS(1)").name("X").op(0x20).name("O").punct(5).fn(0x10).punct(0).i16(1).punct(1), 0x0402},
        {Toks("DIM Z AS ANY").kw(0x3B).name("Z").clause(3).type(kTypeAny), 0x581B},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.line.text());
        uint16_t word = 0;
        m.Line(c.line, &word);
        EXPECT_EQ(word, c.word);
    }
    // A procedure without the hidden object has no `this`.
    uint16_t word = 1;
    m.Line(Toks("SUB P (X)").kw(0x35).name("P").punct(0).name("X").punct(1), &word);
    ASSERT_EQ(word, 0);
    m.Line(Toks("PRINT this").kw(0x94).name("this"), &word);
    EXPECT_EQ(word, 0x0C02);
}

}  // namespace
