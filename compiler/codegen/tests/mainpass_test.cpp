// The statement decoder and the main pass on statement streams that are
// short, long or damaged: a clear error code, never a crash or a hang.
#include <filesystem>
#include <random>
#include <string>
#include <system_error>

#include <gtest/gtest.h>

#include "cg_driver.h"
#include "cg_gen.h"
#include "ir_builder.h"
#include "tx_scratch.h"

namespace txcg::test {
namespace {

struct Compiled {
    int result;
    uint32_t code;
    uint32_t detail;
};

Compiled Compile(const Bytes &image, const std::string &name) {
    const txtest::ScratchDir dir("txcg_mainpass");
    std::string pcode = (dir / (name + ".pcode")).string();
    std::string obj = (dir / (name + ".obj")).string();
    std::string src = name + ".BAS";
    {
        FILE *f = std::fopen(pcode.c_str(), "wb");
        if (!f)
            return {-1, 0, 0};
        std::fwrite(image.data(), 1, image.size(), f);
        std::fclose(f);
    }
    CmpFilParam p{};
    p.M = 1;
    p.CF = 1;
    p.pcode_filename = pcode.data();
    p.Fo_filename = obj.data();
    p.srcfilename = src.data();
    const int r = CgCompile(&p);
    return {r, p.err_code, p.err_detail};
}

Bytes Tokens(int count) {
    Bytes b;
    for (int i = 0; i < count; ++i)
        b.insert(b.end(), {0x10, 0x09});
    return b;
}

TEST(DecodeStatement, CutsTokensUpToTheTerminator) {
    CgState st;
    Gen g(st);
    struct Case {
        const char *what;
        Bytes record;
        int tokens;
        uint8_t terminator;
    };
    const Case cases[] = {
        {"only the end", {0xF1, 0x00}, 0, 0xF1},
        {"two statements, first", {0x00, 0x94, 0x30, 0x02, 0xF2, 0x00, 0x00, 0x1A, 0xF1, 0x00}, 2, 0xF2},
        {"variable, constant", {0x50, 0x01, 0x21, 4, 0, 0, 0, 0x70, 0x03, 1, 2, 3, 4, 5, 6, 7, 8, 0xF1, 0},
         2, 0xF1},
        {"line number without label", {0x00, 0x03, 0xA1, 0x10, 0xF1, 0x00}, 2, 0xF1},
        {"FUNCTION entry", {0x00, 0x31, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 0xF1, 0x00}, 1, 0xF1},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        Bytes r = c.record;
        const uint8_t *term = DecodeStatement(g, r.data(), r.data() + r.size());
        EXPECT_EQ(g.ntok, c.tokens);
        EXPECT_EQ(g.cur, 0);
        EXPECT_EQ(*term, c.terminator);
        EXPECT_EQ(g.At(g.ntok), term);
    }
}

TEST(DecodeStatement, ClassModulo16AndElementRewrite) {
    CgState st;
    Gen g(st);
    // 50 with class 0x11, then a subscript opening 61 ... 6F.
    Bytes r{0x50, 0x30, 0x11, 4, 0, 0, 0, 0x61, 0x01, 0, 0, 0, 0, 0x6F, 0, 0xF1, 0};
    DecodeStatement(g, r.data(), r.data() + r.size());
    ASSERT_EQ(g.ntok, 3);
    EXPECT_EQ(g.Kind(0), 0x52);
    EXPECT_EQ(g.Byte(0, 2), 1);
}

TEST(DecodeStatement, FiveHundredTwelveTokensAndNoMore) {
    for (int n : {512, 513}) {
        SCOPED_TRACE(n);
        IrBuilder ir;
        ir.Statement(1, Tokens(n));
        Compiled c = Compile(ir.Build(), "tokens" + std::to_string(n));
        if (n == 512) {
            EXPECT_EQ(c.result, 1);
        } else {
            EXPECT_EQ(c.result, 0);
            EXPECT_EQ(c.code, 90u);
            EXPECT_EQ(c.detail, 0u);
        }
    }
}

TEST(MainPass, ATokenRunningPastItsRecordIsABrokenFile) {
    IrBuilder ir;
    // A variable token cut short by the record's end.
    ir.Statement(1, {0x00, 0x80, 0xB0, 0x00, 0x50, 0x00});
    Compiled c = Compile(ir.Build(), "cut");
    EXPECT_EQ(c.result, 0);
    EXPECT_EQ(c.code, 13u);
    EXPECT_EQ(c.detail, 516u);
}

// Streams the analyzer never writes: an operator code without code of its
// own, and block ends (or the middle of a block) with no block open.
TEST(MainPass, ImpossibleStatementsAreError90) {
    const Bytes twoInts = tok::Cat({{0xB1, 0}, tok::ConstInt(1), tok::ConstInt(2)});
    struct Case {
        const char *what;
        Bytes statement;
    };
    const Case cases[] = {
        {"unknown operator", tok::Cat({{0, 0x94}, twoInts, {0x20, 0x3F}, {0xBF, 0}})},
        {"unknown unary-looking operator", tok::Cat({{0, 0x94}, twoInts, {0x20, 0x10}, {0xBF, 0}})},
        {"END IF without IF", {0, 0x13}},
        {"ELSE without IF", {0, 0x11}},
        {"WEND without WHILE", {0, 0x23}},
        {"LOOP without DO", {0, 0x25}},
        {"NEXT without FOR", {0, 0x21}},
        {"END SELECT without SELECT", {0, 0x17}},
        {"CASE ELSE without SELECT", {0, 0x16}},
        // Codes with neither generator nor routine: nothing may be pushed
        // for them and left without a call.
        {"a code without a row", tok::Cat({{0, 0x9B}, {0xB0, 1}, tok::ConstInt(1), {0xBF, 0}})},
        {"MOUSE's head, never written", {0, 0x58}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        IrBuilder ir;
        ir.Statement(1, c.statement);
        Compiled r = Compile(ir.Build(), "impossible");
        EXPECT_EQ(r.result, 0);
        EXPECT_EQ(r.code, 90u);
        EXPECT_EQ(r.detail, 0u);
    }
}

// A program of most statement forms; every damaged copy of its stream must
// compile or fail with an error code.
Bytes RichProgram() {
    IrBuilder ir;
    VarRec a{0, 1, 0, 0, 0, 0, 0, "A"};
    VarRec s{16, 1, 2, 0, 0, 0, 0, "S"};
    const uint32_t ra = ir.ModuleVar(a);
    const uint32_t rs = ir.ModuleVar(s);
    ir.DataSize(14);
    const uint32_t str = ir.StringConst("x");
    const uint32_t lab = ir.ProcName(0, "L1");
    const uint32_t fn = ir.ProcName(0, "F");
    const uint32_t dbg = ir.ProcDebug("F", 0, {VarRec{1, 3, 0, 0, 0, 0, 0, "N"}, VarRec{1, 3, 0, 0, 0, 0, 0, "F"}}, 1);
    ir.DataItem(1, "1");
    ir.DataItem(0, "");
    auto var = [&](uint8_t type, uint32_t rec) { return tok::Var(0x50, type, 1, rec); };
    Bytes av = var(0, ra), sv = var(16, rs);
    Bytes sc{0x70, 16, uint8_t(str), 0, 0, 0};
    auto g = [](uint8_t t, Bytes x) { return tok::Cat({{0xB0, t}, x, {0xBF, 0}}); };
    auto e = [](uint8_t t, Bytes x) { return tok::Cat({{0xB1, t}, x, {0xBF, 0}}); };
    ir.Statement(1, tok::Cat({{0, 0x80}, g(0, av), {0x20, 0}, e(0, tok::Cat({av, tok::ConstInt(2), {0x20, 0x15}}))}));
    ir.Statement(2, tok::Cat({{0, 0x80}, g(16, sv), {0x20, 0}, e(16, tok::Cat({sv, sc, {0x20, 0x13}}))}));
    ir.Statement(3, tok::Cat({{0, 0x10}, e(0, tok::Cat({av, tok::ConstInt(3), {0x20, 0x23}}))}));
    ir.Statement(4, tok::Cat({{0, 0x94}, g(16, sv), {0x30, 0x03}, g(0, av)}));
    ir.Statement(5, {0, 0x11});
    ir.Statement(6, tok::Cat({{0, 0x71}, tok::Label(0xA0, lab)}));
    ir.Statement(7, {0, 0x13});
    ir.Statement(8, tok::Cat({{0, 0x8D}, g(0, av)}));
    ir.Statement(9, tok::Cat({{0, 0x20}, {0, 0x1F}, {0, 0x80}, g(0, av), {0x20, 0}, g(0, tok::ConstInt(1)),
                              {0, 0x80}, g(0, av), {0x20, 0}, e(0, tok::Cat({av, tok::ConstInt(1), {0x20, 0x13}})),
                              e(0, tok::Cat({av, tok::ConstInt(5), {0x20, 0x24}}))}));
    ir.Statement(10, tok::Cat({{0, 0x94}, g(1, tok::Cat({{0x41, 1, uint8_t(fn), 0, 0, 0}, g(1, tok::ConstLng(3)), {0x4F, 0}}))}));
    ir.Statement(11, {0, 0x21});
    ir.Statement(12, tok::Cat({{0, 0x02}, tok::Label(0xA0, lab), {0, 0x7C}}));
    ir.Statement(13, tok::Stmt(0x31, {fn, dbg, 0xFFFFFFFFu}));
    ir.Statement(14, tok::StmtByte(0x32, 3, dbg + 11 + 21));
    return ir.Build();
}

TEST(MainPass, DamagedStreamsFailCleanly) {
    const Bytes good = RichProgram();
    ASSERT_EQ(Compile(good, "rich").result, 1);
    const uint32_t streamSize = uint32_t(good[12] | good[13] << 8);
    std::mt19937 rng(7);
    int failed = 0;
    for (int i = 0; i < 400; ++i) {
        Bytes bad = good;
        const int flips = 1 + int(rng() % 3);
        for (int k = 0; k < flips; ++k) {
            const uint32_t at = 416 + rng() % streamSize;
            bad[at] = uint8_t(rng());
        }
        Compiled c = Compile(bad, "damaged");
        if (c.result == 0) {
            ++failed;
            EXPECT_TRUE(c.code == 13 || c.code == 90 || c.code == 6) << c.code;
        }
    }
    // Most damage is caught; the rest still gives an object.
    EXPECT_GT(failed, 0);
}

} // namespace
} // namespace txcg::test
