// The table builders over a small module set up by hand. Single-letter
// names hash to the chains in alphabetical order ('A' to chain 2, 'B' to 3
// and so on), so chain order below is name order. Every expected table is
// written out byte by byte from the record layouts.
#include "sc_tables.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "sc_emit.h"
#include "sc_pass.h"
#include "sc_workfile.h"

using namespace txsc;

namespace {

using Bytes = std::vector<uint8_t>;

void Add(Bytes &b, std::initializer_list<int> v) {
    for (int x : v) b.push_back(uint8_t(x));
}
void Add32(Bytes &b, uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(uint8_t(v >> (8 * i)));
}
void AddText(Bytes &b, const char *s) {
    while (*s) b.push_back(uint8_t(*s++));
}
// 20-byte variable record and its name.
void AddVar(Bytes &b, int type, int cls, uint32_t addr, uint32_t typeRef, uint32_t bounds, uint32_t size, int prefix,
            const char *name) {
    Add(b, {type, cls});
    Add32(b, addr), Add32(b, typeRef), Add32(b, bounds), Add32(b, size);
    Add(b, {prefix, int(std::strlen(name))});
    AddText(b, name);
}

struct Module : testing::Test {
    std::unique_ptr<ScPass> p = std::make_unique<ScPass>();
    WorkFile work{0x205};
    TableState t;
    uint32_t A, B, C, D, S, P, L, F, G, X, Y, T, M1, M2;

    uint32_t Sym(const char *name, uint8_t kind, uint8_t type, uint16_t owner = 0) {
        SymTemplate tp;
        tp.name = name;
        tp.kind = kind;
        tp.type = type;
        tp.owner = owner;
        return p->tab.Enter(tp, 40, ScopeInfo{});
    }

    void SetUp() override {
        A = Sym("A", 1, 0);
        B = Sym("B", 1, 1);
        C = Sym("C", 1, 0);
        p->tab.sym(C).dims = 1;
        p->tab.sym(C).bounds = {5};
        D = Sym("D", 2, 3);
        p->tab.sym(D).block = 1;
        S = Sym("S", 6, 0, 1);
        P = Sym("P", 4, 16, 1);
        L = Sym("L", 3, 0, 1);
        p->tab.sym(S).extra = 2;  // the frame: L
        ParamEntry pe;
        pe.word = 0x1050;
        pe.sym = P;
        p->tab.sym(S).params.push_back(pe);
        F = Sym("F", 5, 1, 2);
        p->tab.sym(F).mark[0] = 2;
        p->tab.sym(F).extra = 4 + 2;  // its LNG result, then G
        G = Sym("G", 3, 0, 2);
        X = Sym("X", 6, 0);
        Y = Sym("Y", 6, 0);
        p->tab.sym(Y).libName = 1;
        p->tab.sym(Y).extName = "Y";
        p->tab.sym(Y).block = 1;

        uint32_t l100 = p->tab.SearchLabel("100", 0);
        p->tab.label(l100).defLine = 9;
        p->tab.label(l100).stmtNo = 2;
        uint32_t l1 = p->tab.SearchLabel("L1", 0);
        p->tab.label(l1).defLine = 10;
        p->tab.label(l1).stmtNo = 3;

        T = p->tab.EnterType("T");
        p->tab.type(T).size = 18;
        Member m1;
        m1.type = 0;
        m1.name = "M1";
        M1 = p->tab.AddMember(T, m1);
        Member m2;
        m2.type = 1;
        m2.dims = 1;
        m2.offset = 2;
        m2.bounds = {3};
        m2.name = "M2";
        M2 = p->tab.AddMember(T, m2);

        p->strings.push_back(StringConst{0, 0, "HELLO"});
        p->strings.push_back(StringConst{1, 2, "LL"});

        p->data.push_back(DataItem{20, 4, 0, 0, "1"});
        p->data.push_back(DataItem{21, 5, S, 0, "ABC"});
        p->data.push_back(DataItem{22, 6, 0, 0, "2.5"});

        work.Create();
        BuildTables(*p, work, t);
    }

    Bytes Table(int i) {
        Bytes b(t.size[i]);
        work.Seek(t.pos[i]);
        work.Read(b.data(), b.size());
        return b;
    }
};

}  // namespace

TEST_F(Module, ProcedureAndLabelNames) {
    Bytes want;
    Add(want, {2, 0, 0, 0, 0, 0, 0, 0, 0, 1, 'F'});
    Add(want, {0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 'S'});
    Add(want, {1, 0, 0, 0, 0, 0, 0, 0, 0, 1, 'X'});  // declared, not defined; Y lives in a library
    Add(want, {0, 0, 0, 0, 0, 0, 0, 0, 0, 3, '1', '0', '0'});
    Add(want, {0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 'L', '1'});
    EXPECT_EQ(Table(0), want);
    EXPECT_EQ(t.Sym(F)->name, 0u);
    EXPECT_EQ(t.Sym(S)->name, 11u);
    EXPECT_EQ(t.Sym(X)->name, 22u);
    EXPECT_EQ(t.label[0].name, 33u);  // "100" was entered first
    EXPECT_EQ(t.label[1].name, 46u);
    EXPECT_EQ(p->tab.label(1).value, 33u);
}

TEST_F(Module, DataItemsModuleLevelFirst) {
    Bytes want;
    Add(want, {0, 20, 0, '1'});
    Add(want, {0, 22, 0, '2', '.', '5'});
    Add(want, {0, 21, 0, 'A', 'B', 'C'});
    Add(want, {0, 0, 0});
    EXPECT_EQ(Table(1), want);
    EXPECT_EQ(t.Sym(S)->data, 10u);
    EXPECT_EQ(t.Sym(F)->data, ifile::kNoData);
}

TEST_F(Module, StringConstantsShareText) {
    Bytes want;
    Add32(want, 0), Add32(want, 5), Add32(want, 12), AddText(want, "HELLO");
    Add32(want, 0), Add32(want, 2), Add32(want, 14);           // "LL" inside "HELLO"
    Add32(want, 0), Add32(want, 1), Add32(want, 29 + 12), AddText(want, "Y");
    EXPECT_EQ(Table(2), want);
    EXPECT_EQ(t.string, (std::vector<uint32_t>{0, 17}));
    EXPECT_EQ(t.Sym(Y)->libName, 0u);
    EXPECT_EQ(t.Sym(Y)->extName, 29u);
    EXPECT_EQ(t.Sym(Y)->form, 1);
}

TEST_F(Module, ArraysBoundsAndTypes) {
    Bytes arrays;
    Add(arrays, {0});
    Add32(arrays, 12), Add32(arrays, 0), Add32(arrays, 0), Add32(arrays, 0);
    EXPECT_EQ(Table(5), arrays);

    Bytes bounds;
    Add(bounds, {1}), Add32(bounds, 5);  // C(5)
    Add(bounds, {1}), Add32(bounds, 3);  // T.M2(3)
    EXPECT_EQ(Table(8), bounds);

    Bytes types;
    Add32(types, 9 + 1 + 22 + 22), Add32(types, 18), Add(types, {1, 'T'});
    AddVar(types, 0, 0, 0, 0, 0, 0, 0, "M1");
    AddVar(types, 1, 0x10, 2, 0, 5, 0, 0, "M2");
    EXPECT_EQ(Table(7), types);
    EXPECT_EQ(t.member, (std::vector<uint32_t>{10, 32}));
}

TEST_F(Module, CommonAndModuleVariables) {
    Bytes common;
    Add32(common, 4 + 21);
    AddVar(common, 3, 2, 0, 0, 0, 8, 1, "D");
    EXPECT_EQ(Table(3), common);
    EXPECT_EQ(t.Sym(D)->record, 4u);

    Bytes vars;
    Add32(vars, 4 + 3 * 21);
    AddVar(vars, 0, 1, 0, 0, 0, 0, 0, "A");
    AddVar(vars, 1, 1, 2, 0, 0, 0, 0, "B");
    AddVar(vars, 0, 0x11, 0, 0, 0, 0, 0, "C");  // slot 0, bounds at 0
    EXPECT_EQ(Table(4), vars);
    EXPECT_EQ(t.dataSize, 6u);
    EXPECT_EQ(t.Sym(A)->record, 4u);
    EXPECT_EQ(t.Sym(B)->record, 25u);
    EXPECT_EQ(t.Sym(C)->record, 46u);
    EXPECT_EQ(t.Sym(A)->cls, 1);
    EXPECT_EQ(t.Sym(C)->cls, 0x11);
    EXPECT_EQ(t.Sym(D)->cls, 2);
}

TEST_F(Module, ProcedureDebugEntries) {
    Bytes want;
    // F: no parameters, its result, then its local after the result.
    Add32(want, 53), Add(want, {1, 'F'}), Add32(want, 6), Add(want, {0});
    AddVar(want, 1, 3, 0, 0, 0, 0, 0, "F");
    AddVar(want, 0, 3, 4, 0, 0, 0, 0, "G");
    // S: one by-reference parameter and one local.
    Add32(want, 53), Add(want, {1, 'S'}), Add32(want, 2), Add(want, {1});
    AddVar(want, 16, 4, 0, 0, 0, 0, 0, "P");
    AddVar(want, 0, 3, 0, 0, 0, 0, 0, "L");
    EXPECT_EQ(Table(6), want);
    EXPECT_EQ(t.Sym(F)->debug, 0u);
    EXPECT_EQ(t.Sym(F)->result, 11u);
    EXPECT_EQ(t.Sym(G)->record, 32u);
    EXPECT_EQ(t.Sym(S)->debug, 53u);
    EXPECT_EQ(t.Sym(P)->record, 64u);
    EXPECT_EQ(t.Sym(L)->record, 85u);
    EXPECT_EQ(t.Sym(P)->cls, 4);
    EXPECT_EQ(t.Sym(L)->cls, 3);
    EXPECT_EQ(t.size[9], 0u);
}

TEST(Tables, EmptyModuleHasEmptyTables) {
    auto p = std::make_unique<ScPass>();
    WorkFile work(0x205);
    work.Create();
    TableState t;
    BuildTables(*p, work, t);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(t.size[i], 0u) << i;
    EXPECT_EQ(t.dataSize, 0u);
}

TEST(Tables, ModuleRoutineDefaultsFollowTable9) {
    auto p = std::make_unique<ScPass>();
    SymTemplate tp;
    tp.name = "PROG";
    tp.kind = 14;
    uint32_t m = p->tab.Enter(tp, 40, ScopeInfo{});
    p->tab.sym(m).owner = 1;
    ParamEntry i, s, d;
    i.word = 0x0001;  // flag 1, INT, default 7
    i.deflt[0] = 7;
    s.word = 0x1001;  // flag 1, string, default "X"
    s.deflt[0] = 1;
    d.word = 0x0300;  // no default
    p->tab.sym(m).params = {i, s, d};
    p->strings.push_back(StringConst{0, 0, "X"});
    p->scope.proc = m;

    WorkFile work(0x205);
    work.Create();
    TableState t;
    BuildTables(*p, work, t);
    CloseOpenProcedure(*p, work, t, 3);
    EXPECT_EQ(p->errors, 0);
    EXPECT_EQ(t.Sym(m)->defaults, 0u);
    ASSERT_EQ(t.size[9], 2u + 2 + 2 + 4 + 2);
    Bytes got(t.size[9]);
    work.Seek(t.pos[9]);
    work.Read(got.data(), got.size());
    EXPECT_EQ(got, (Bytes{1, 0, 7, 0, 1, 16, 0, 0, 0, 0, 0, 3}));
}

TEST(Tables, OpenProcedureIsError31AtItsFirstLine) {
    auto p = std::make_unique<ScPass>();
    SymTemplate tp;
    tp.name = "S";
    tp.kind = 6;
    p->scope.proc = p->tab.Enter(tp, 40, ScopeInfo{});
    WorkFile work(0x205);
    work.Create();
    TableState t;
    BuildTables(*p, work, t);
    CloseOpenProcedure(*p, work, t, 12);
    EXPECT_EQ(p->errors, 1);
}

// Three DOUBLE arrays of 16001 x 16001 elements: each fits in 31 bits, their
// sum does not, and the offsets into the arrays' storage would wrap.
TEST(Tables, ArraysWhoseSumOverflowsAreVariablesFull) {
    struct Case {
        int arrays;
        bool full;
    };
    for (Case c : {Case{1, false}, Case{2, true}, Case{3, true}}) {
        auto p = std::make_unique<ScPass>();
        for (int i = 0; i < c.arrays; ++i) {
            SymTemplate tp;
            tp.name = std::string(1, char('A' + i));
            tp.kind = 1;
            tp.type = 3;
            uint32_t h = p->tab.Enter(tp, 40, ScopeInfo{});
            p->tab.sym(h).dims = 2;
            p->tab.sym(h).bounds = {16000, 16000};
        }
        WorkFile work(0x205);
        work.Create();
        TableState t;
        int code = 0;
        try {
            BuildTables(*p, work, t);
        } catch (const OutFatal &f) {
            code = f.code;
        }
        EXPECT_EQ(code, c.full ? int(kErrVariablesFull) : 0) << c.arrays;
    }
}

// The scalars count against the same total as the arrays.
TEST(Tables, ScalarsAfterLargeArraysAreVariablesFull) {
    for (int scalarType : {4, 0}) {  // one byte still fits, two do not
        auto p = std::make_unique<ScPass>();
        SymTemplate tp;
        tp.name = "A";
        tp.kind = 1;
        tp.type = 0;
        uint32_t a = p->tab.Enter(tp, 40, ScopeInfo{});
        p->tab.sym(a).dims = 1;
        p->tab.sym(a).bounds = {0x3FFFFFFE};  // 0x7FFFFFFE bytes
        tp.name = "B";
        tp.type = uint8_t(scalarType);
        p->tab.Enter(tp, 40, ScopeInfo{});
        WorkFile work(0x205);
        work.Create();
        TableState t;
        int code = 0;
        try {
            BuildTables(*p, work, t);
        } catch (const OutFatal &f) {
            code = f.code;
        }
        EXPECT_EQ(code, scalarType == 0 ? int(kErrVariablesFull) : 0) << scalarType;
    }
}
