// The symbol tables: hashing, name cutting and the scope rules of lookup.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sc_symbols.h"
#include "sc_workfile.h"

namespace {

using namespace txsc;

SymTemplate T(const char *name, uint8_t kind, uint8_t type = 2, uint16_t owner = 0, uint8_t typed = 1) {
    SymTemplate t;
    t.name = name;
    t.kind = kind;
    t.type = type;
    t.owner = owner;
    t.typed = typed;
    return t;
}

TEST(ScSymbols, HashIsByteSumPlusLengthMod32) {
    EXPECT_EQ(HashName("A"), (65 + 1) % 32);
    EXPECT_EQ(HashName("AB"), (65 + 66 + 2) % 32);
    // Bytes count unsigned: a Shift-JIS name.
    EXPECT_EQ(HashName("\x82\xa0"), (0x82 + 0xa0 + 2) % 32);
}

TEST(ScSymbols, NamesAreCutAtFortyBytes) {
    struct Case {
        const char *what;
        std::string line;
        size_t len;
        uint8_t cut;
        bool suffix;
    } cases[] = {
        {"45 single bytes", std::string(45, 'A'), 45, 40, false},
        {"lead byte at 41", std::string(40, 'A') + "\x82\xa0", 42, 39, false},
        {"katakana at 41 is not a lead byte", std::string(40, 'A') + "\xb1", 41, 40, false},
        {"short name with suffix", "AB%", 2, 2, true},
        {"no suffix", "AB = 1", 2, 2, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        NameCheck nc = CheckName(c.line, 0, c.len);
        EXPECT_EQ(nc.len, c.cut);
        EXPECT_EQ(nc.suffix, c.suffix);
    }
}

TEST(ScSymbols, ScopeRules) {
    SymbolTable tab;
    ScopeInfo module;
    uint32_t proc = tab.Enter(T("P", sk::kSub), 40, module);
    tab.sym(proc).owner = 1;
    ScopeInfo inProc{proc, 1};

    uint32_t modVar = tab.Enter(T("X", sk::kModule), 40, module);
    uint32_t local = tab.Enter(T("Y", sk::kLocal, 2, 1), 40, inProc);
    uint32_t shared = tab.Enter(T("Z", sk::kShared), 40, module);
    uint32_t fn15 = tab.Enter(T("F", sk::kFnDef, 1), 40, module);

    struct Case {
        const char *what;
        SymTemplate t;
        ScopeInfo scope;
        uint32_t want;
    } cases[] = {
        {"module variable at module level", T("X", 0), module, modVar},
        {"module variable hidden in a procedure", T("X", 0, 2, 1), inProc, 0},
        {"local found in its procedure", T("Y", 0, 2, 1), inProc, local},
        {"local not found at module level", T("Y", 0), module, 0},
        {"shared variable seen everywhere", T("Z", 0, 2, 1), inProc, shared},
        {"other type with a typed record", T("X", 0, 0), module, 0},
        {"routine matched whatever the kind", T("P", 0), module, proc},
        {"kind 15 only by kind and type", T("F", 15, 1), module, fn15},
        {"kind 15 of another type", T("F", 15, 2), module, 0},
        {"dimension counts must agree", [] { auto t = T("X", 0); t.dims = 1; return t; }(), module, 0},
    };
    for (Case &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(tab.Search(c.t, c.scope), c.want);
        EXPECT_EQ(c.t.bucket, HashName(c.t.name));
    }
}

// One name in many procedures: a look-up sees the records of its own
// procedure and the module's, and still takes the first of those in
// definition order; a procedure's look-up takes the first record of any kind.
TEST(ScSymbols, SameNameInManyProceduresFindsTheFirstThatFits) {
    SymbolTable tab;
    ScopeInfo module;
    std::vector<ScopeInfo> procs;
    std::vector<uint32_t> params;
    const uint32_t modA = tab.Enter(T("A", sk::kModule), 40, module);
    for (uint16_t id = 1; id <= 300; ++id) {
        uint32_t h = tab.Enter(T(("P" + std::to_string(id)).c_str(), sk::kSub), 40, module);
        tab.sym(h).owner = id;
        procs.push_back(ScopeInfo{h, id});
        params.push_back(tab.Enter(T("A", sk::kParam, 2, id), 40, procs.back()));
    }
    // In procedure 1 a local before a shared record of the same name; in
    // procedure 2 the shared record comes first.
    const uint32_t localS = tab.Enter(T("S", sk::kLocal, 2, 1), 40, procs[0]);
    const uint32_t sharedS = tab.Enter(T("S", sk::kShared), 40, module);
    tab.Enter(T("S", sk::kLocal, 2, 2), 40, procs[1]);
    // A local made a parameter stays its procedure's.
    const uint32_t madeParam = tab.Enter(T("C", sk::kLocal, 2, 7), 40, procs[6]);
    tab.sym(madeParam).kind = sk::kParam;

    struct Case {
        const char *what;
        SymTemplate t;
        ScopeInfo scope;
        uint32_t want;
    } cases[] = {
        {"module level sees the module variable", T("A", 0), module, modA},
        {"first procedure's parameter", T("A", 0, 2, 1), procs[0], params[0]},
        {"last procedure's parameter", T("A", 0, 2, 300), procs[299], params[299]},
        {"a middle procedure's parameter", T("A", 0, 2, 150), procs[149], params[149]},
        {"a new parameter meets its own name", T("A", sk::kParam, 2, 42), procs[41], params[41]},
        {"a local before the shared record", T("S", 0, 2, 1), procs[0], localS},
        {"the shared record before a later local", T("S", 0, 2, 2), procs[1], sharedS},
        {"a local of the module's kinds finds the shared one", T("S", sk::kLocal, 2, 3), procs[2], sharedS},
        {"a procedure's look-up takes the first record", T("A", sk::kSub), module, modA},
        {"a local made a parameter", T("C", 0, 2, 7), procs[6], madeParam},
        {"nor is it another procedure's", T("C", 0, 2, 8), procs[7], 0},
    };
    for (Case &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(tab.Search(c.t, c.scope), c.want);
    }
}

TEST(ScSymbols, LabelsAreKeyedByOwner) {
    SymbolTable tab;
    bool created = false;
    uint32_t a = tab.SearchLabel("L1", 0, &created);
    EXPECT_TRUE(created);
    EXPECT_EQ(tab.SearchLabel("L1", 0, &created), a);
    EXPECT_FALSE(created);
    uint32_t b = tab.SearchLabel("L1", 2, &created);
    EXPECT_TRUE(created);
    EXPECT_NE(a, b);
}

TEST(ScSymbols, ChainsKeepDefinitionOrderAndLocalsGrowTheFrame) {
    SymbolTable tab;
    ScopeInfo module;
    uint32_t proc = tab.Enter(T("P", sk::kSub), 40, module);
    ScopeInfo inProc{proc, 1};
    // Same bucket: "AB" and "BA".
    uint32_t first = tab.Enter(T("AB", sk::kLocal, 3, 1), 40, inProc);
    uint32_t second = tab.Enter(T("BA", sk::kLocal, 16, 1), 40, inProc);
    EXPECT_EQ(tab.symHead(HashName("AB")), first);
    EXPECT_EQ(tab.sym(first).next, second);
    EXPECT_EQ(tab.sym(proc).extra, 8u + 12u);
    tab.sym(proc).extra = 0x7FFFFFFF;
    EXPECT_EQ(tab.Enter(T("C", sk::kLocal, 0, 1), 40, inProc), 0u);
    EXPECT_EQ(tab.sym(proc).extra, 0x7FFFFFFFu);
}

TEST(ScSymbols, SizesAndClasses) {
    struct Case {
        uint8_t type;
        uint32_t size;
        uint8_t cls;
    } cases[] = {{0, 2, 3}, {1, 4, 5}, {2, 4, 5}, {3, 8, 9}, {4, 1, 2}, {16, 12, 5}, {18, 15, 0}, {19, 12, 0}, {64, 4, 0}};
    for (const Case &c : cases) {
        SCOPED_TRACE(int(c.type));
        EXPECT_EQ(SymbolTable::VarSize(c.type, 0, nullptr), c.size);
        EXPECT_EQ(SymbolTable::TypeClass(c.type), c.cls);
    }
    EXPECT_EQ(SymbolTable::VarSize(17, 33, nullptr), 33u);
    // No declaration makes another type: its size is the fatal error 90/241.
    for (uint8_t type : {5, 8, 9, 32, 65}) {
        SCOPED_TRACE(int(type));
        try {
            SymbolTable::VarSize(type, 0, nullptr);
            ADD_FAILURE() << "no fatal error";
        } catch (const OutFatal &e) {
            EXPECT_EQ(e.code, 90u);
            EXPECT_EQ(e.detail, 241u);
        }
    }
}

}  // namespace
