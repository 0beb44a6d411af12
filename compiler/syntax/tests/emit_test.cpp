// Statement emission: analysed items in, work-file records out. Expected
// bytes are written by hand from the record and item layouts.
#include "sc_emit.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "sc_workfile.h"

using namespace txsc;

namespace {

using Bytes = std::vector<uint8_t>;

struct Line {
    std::vector<Item> items;
    uint8_t slots[128][8] = {};
    int used = 0;

    Line &I(uint8_t code, uint8_t sub = 0, uint32_t value = 0) {
        items.push_back(Item{code, sub, value});
        return *this;
    }
    // A constant item with its slot.
    Line &Int(int16_t v) {
        std::memcpy(slots[used], &v, 2);
        return I(0x70, 0, uint32_t(used++));
    }
    Line &Sng(float v) {
        std::memcpy(slots[used], &v, 4);
        return I(0x70, 2, uint32_t(used++));
    }
    Line &Byt(uint8_t v) {
        slots[used][0] = v;
        return I(0x70, 4, uint32_t(used++));
    }
    Line &Var(uint32_t sym, uint8_t type = 0) { return I(0x50, type, sym); }
    Line &Group(std::initializer_list<Item> inner, uint8_t head = 0xB0, uint8_t type = 0) {
        I(head, type);
        for (const Item &x : inner) items.push_back(x);
        return I(0xBF);
    }
    Line &End() { return I(0xF1); }
};

// A record from its items, with the head filled in.
Bytes Rec(uint16_t line, std::initializer_list<int> body) {
    Bytes r = {0, 0, uint8_t(line), uint8_t(line >> 8)};
    for (int b : body) r.push_back(uint8_t(b));
    r.push_back(0xF1);
    r.push_back(0x00);
    r[0] = uint8_t(r.size());
    r[1] = uint8_t(r.size() >> 8);
    return r;
}

struct Emitted {
    EmitResult result;
    Bytes record;
};

Emitted Emit(const Line &l, uint16_t line = 7, uint8_t moduleFlag = 0, uint32_t proc = 0) {
    EmitContext ctx;
    ctx.slots = l.slots;
    ctx.moduleFlag = moduleFlag;
    ctx.proc = proc;
    ctx.line = line;
    Emitted e;
    e.result = EmitLine(l.items.data(), int(l.items.size()), ctx, &e.record);
    return e;
}

Item V(uint32_t sym, uint8_t type = 0) { return Item{0x50, type, sym}; }

void Add(Bytes &b, std::initializer_list<int> v) {
    for (int x : v) b.push_back(uint8_t(x));
}
// A variable item as the work file holds it: handle and one byte of room.
void AddVar(Bytes &b, int sym, int type = 0) { Add(b, {0x50, type, sym, 0, 0, 0, 0}); }

}  // namespace

TEST(Emit, AssignmentCopiesGroupsAndLeavesRoomForOffsets) {
    // X = 1 + Y  (postfix: 1, Y, +)
    Line l;
    l.I(0x00, 0x80).Group({V(5)}).I(0x20, 0x00);
    l.I(0xB1, 0).Int(1).Var(6).I(0x28, 0x13).I(0xBF).End();
    auto e = Emit(l);
    EXPECT_EQ(e.result.error, 0);
    EXPECT_EQ(e.record, Rec(7, {0x00, 0x80, 0xB0, 0x00, 0x50, 0x00, 5, 0, 0, 0, 0, 0xBF, 0x00, 0x20, 0x00,  //
                                0xB1, 0x00, 0x70, 0x00, 1, 0, 0x50, 0x00, 6, 0, 0, 0, 0,                  //
                                0x20, 0x13, 0xBF, 0x00}));
}

TEST(Emit, SeparatorOnlyBetweenStatementsThatProduceCode) {
    struct Case {
        const char *name;
        Line line;
        Bytes want;
    };
    std::vector<Case> cases;
    {
        Case c{"declaration then END: no separator", {}, {}};
        c.line.I(0x00, 0x3B).Group({V(3)}).I(0xF2).I(0x00, 0x1A).Group({}, 0xB0, 0).End();
        c.want = Rec(7, {0x00, 0x1A, 0xB0, 0x00, 0xBF, 0x00});
        cases.push_back(std::move(c));
    }
    {
        Case c{"END then END", {}, {}};
        c.line.I(0x00, 0x1A).I(0xF2).I(0x00, 0x1A).End();
        c.want = Rec(7, {0x00, 0x1A, 0xF2, 0x00, 0x00, 0x1A});
        cases.push_back(std::move(c));
    }
    {
        Case c{"label heads are written without separator", {}, {}};
        c.line.I(0x00, 0x02).I(0xA0, 0, 9).I(0x00, 0x70).I(0xA0, 1, 9).End();
        c.want = Rec(7, {0x00, 0x02, 0xA0, 0x00, 9, 0, 0, 0, 0x00, 0x70, 0xA0, 0x01, 9, 0, 0, 0});
        cases.push_back(std::move(c));
    }
    {
        Case c{"an empty line writes nothing", {}, {}};
        c.line.I(0x00, 0x00).End();
        cases.push_back(std::move(c));
    }
    {
        Case c{"a declaration alone writes nothing", {}, {}};
        c.line.I(0x00, 0x3B).Group({V(3)}).End();
        cases.push_back(std::move(c));
    }
    for (auto &c : cases) {
        SCOPED_TRACE(c.name);
        auto e = Emit(c.line);
        EXPECT_EQ(e.result.error, 0);
        EXPECT_EQ(e.record, c.want);
    }
}

TEST(Emit, StatementTokensGetRoomForTheirOperands) {
    struct Case {
        uint8_t code;
        Bytes want;
    } cases[] = {
        {0x2A, Rec(7, {0x00, 0x2A, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0})},
        {0x31, Rec(7, {0x00, 0x31, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0})},
        {0x35, Rec(7, {0x00, 0x35, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0})},
        {0x32, Rec(7, {0x00, 0x32, 4, 0, 0, 0, 0})},
        {0x36, Rec(7, {0x00, 0x36})},
        {0x38, Rec(7, {0x00, 0x38, 4, 0, 0, 0, 0})},
        {0x3F, Rec(7, {0x00, 0x3F, 4, 0, 0, 0, 0, 0, 0, 0, 0})},
        {0x40, Rec(7, {0x00, 0x40, 4, 0, 0, 0, 0, 0, 0, 0})},
        {0x7C, Rec(7, {0x00, 0x7C})},
    };
    for (auto &c : cases) {
        SCOPED_TRACE(int(c.code));
        Line l;
        l.I(0x00, c.code, 4).End();
        EXPECT_EQ(Emit(l).record, c.want);
    }
}

TEST(Emit, RestoreCarriesItsLabelAndProcedure) {
    Line withItem;
    withItem.I(0x00, 0x7B).I(0xA1, 1, 12).End();
    EXPECT_EQ(Emit(withItem, 7, 0, 3).record, Rec(7, {0x00, 0x7B, 12, 0, 0, 0, 3, 0, 0, 0}));
    Line bare;
    bare.I(0x00, 0x7B).End();
    EXPECT_EQ(Emit(bare).record, Rec(7, {0x00, 0x7B, 0, 0, 0, 0, 0, 0, 0, 0}));
}

TEST(Emit, ItemsInsideGroups) {
    Line l;
    l.I(0x00, 0x90).I(0xB1, 0x10);
    l.I(0x40, 0x36, 0x01).I(0xB0, 0x10).I(0x70, 0x10, 21).I(0xBF).I(0x4F);  // LEN(string 21)
    l.I(0x42, 0x01, 8).I(0x4F).I(0x43, 0x02, 9).I(0x4F).I(0x41, 0x03, 10).I(0x4F);
    l.I(0x60, 0x00, 11).I(0xB0, 0).Byt(2).I(0xBF).I(0x6F).I(0x62, 0, 12).I(0xA3, 1, 13);
    l.I(0x50, 0x30, 14).I(0x51, 0x02, 15).Sng(1.5f).I(0x70, 17).I(0x28, 0x11);
    l.I(0xBF).End();
    auto e = Emit(l);
    Bytes want = Rec(7, {0x00, 0x90, 0xB1, 0x10,                                   //
                         0x40, 0x36, 0x01, 0xB0, 0x10, 0x70, 0x10, 21, 0, 0, 0, 0xBF, 0x00, 0x4F, 0x00,
                         0x42, 0x01, 8, 0, 0, 0, 0, 0x4F, 0x00,                    //
                         0x43, 0x02, 9, 0, 0, 0, 0, 0, 0, 0, 0, 0x4F, 0x00,        //
                         0x41, 0x03, 10, 0, 0, 0, 0x4F, 0x00,                      //
                         0x60, 0x00, 11, 0, 0, 0, 0, 0xB0, 0x00, 0x70, 0x04, 2, 0xBF, 0x00, 0x6F, 0x00,
                         0x62, 0x00, 12, 0, 0, 0, 0, 0xA3, 0x01, 13, 0, 0, 0, 0,   //
                         0x50, 0x30, 14, 0, 0, 0, 0, 0x51, 0x02, 15, 0, 0, 0,      //
                         0x70, 0x02, 0x00, 0x00, 0xC0, 0x3F, 0x70, 17, 0x20, 0x11, 0xBF, 0x00});
    EXPECT_EQ(e.record, want);
}

TEST(Emit, ConstantOfUnknownTypeIsFatal90) {
    Line l;
    l.I(0x00, 0x90).I(0xB0, 0).I(0x70, 5, 0).I(0xBF).End();
    try {
        Emit(l);
        FAIL() << "no fatal exit";
    } catch (const OutFatal &f) {
        EXPECT_EQ(f.code, 90u);
        EXPECT_FALSE(f.detail.has_value());
    }
}

TEST(Emit, ArgumentGroupsChainTheirOperands) {
    // Four operands a, b, c, d: a, b, 20 13, c, 20 13, d, 20 13.
    Line four;
    four.I(0x00, 0x90).I(0xB1, 0x10, 1).Var(1, 16).Var(2, 16).Var(3, 16).Var(4, 16).I(0xBF).End();
    Bytes want = {0x00, 0x90, 0xB1, 0x10};
    AddVar(want, 1, 16), AddVar(want, 2, 16), Add(want, {0x20, 0x13});
    AddVar(want, 3, 16), Add(want, {0x20, 0x13});
    AddVar(want, 4, 16), Add(want, {0x20, 0x13, 0xBF, 0x00});
    Bytes rec = Emit(four).record;
    ASSERT_GE(rec.size(), 6u);
    EXPECT_EQ(Bytes(rec.begin() + 4, rec.end() - 2), want);

    // A list that holds its operators is left as it is.
    Line ops;
    ops.I(0x00, 0x80).Group({V(9, 16)}).I(0x20, 0).I(0xB1, 0x10, 9).Var(1, 16).Var(2, 16).I(0x28, 0x13).I(0xBF).End();
    Bytes got0 = Emit(ops).record;
    Bytes want0 = {0xB1, 0x10};
    AddVar(want0, 1, 16), AddVar(want0, 2, 16), Add(want0, {0x20, 0x13, 0xBF, 0x00});
    ASSERT_GE(got0.size(), 6u + want0.size());
    EXPECT_EQ(Bytes(got0.end() - 2 - want0.size(), got0.end() - 2), want0);

    // A hidden-object group and its call are one operand; an array element
    // with its subscripts is one operand.
    Line obj;
    obj.I(0x00, 0x90).I(0xB1, 0x10, 1);
    obj.I(0xB5, 0x40).Var(7, 0x40).I(0xBE).I(0x40, 0x90, 16).I(0x4F);
    obj.I(0x60, 0x10, 8).I(0xB0, 0).Int(3).I(0xBF).I(0x6F);
    obj.I(0xBF).End();
    Bytes got = Emit(obj).record;
    Bytes want2 = {0x00, 0x90, 0xB1, 0x10, 0xB5, 0x40, 0x50, 0x40, 7, 0, 0, 0, 0, 0xBE, 0x00, 0x40, 0x90, 16,
                   0x4F, 0x00, 0x60, 0x10, 8, 0, 0, 0, 0, 0xB0, 0x00, 0x70, 0x00, 3, 0, 0xBF, 0x00, 0x6F, 0x00,
                   0x20, 0x13, 0xBF, 0x00};
    EXPECT_EQ(Bytes(got.begin() + 4, got.end() - 2), want2);
}

TEST(Emit, SelectionBecomesHolderAssignment) {
    // SELECT CASE X + 1: 00 14, 00 80, holder, 20 00, expression.
    Line l;
    l.I(0x00, 0x14).I(0xB1, 0).Var(2).Int(1).I(0x28, 0x13).I(0xBF).Group({V(9)}).End();
    auto e = Emit(l);
    EXPECT_TRUE(e.result.placement);
    EXPECT_EQ(e.record, Rec(7, {0x00, 0x14, 0x00, 0x80, 0xB0, 0x00, 0x50, 0x00, 9, 0, 0, 0, 0, 0xBF, 0x00, 0x20, 0x00,
                                0xB1, 0x00, 0x50, 0x00, 2, 0, 0, 0, 0, 0x70, 0x00, 1, 0, 0x20, 0x13, 0xBF, 0x00}));
}

TEST(Emit, CountingLoopWithConstantLimitAndStep) {
    for (int16_t step : {1, -1}) {
        SCOPED_TRACE(step);
        Line l;
        l.I(0x00, 0x20).Group({V(1)});
        l.I(0xB0, 0).Int(1).I(0xBF);
        l.I(0xB0, 0).Int(10).I(0xBF);
        l.I(0xB0, 0).Int(step).I(0xBF).End();
        uint8_t lo = uint8_t(step), hi = uint8_t(uint16_t(step) >> 8);
        Bytes want = Rec(7, {0x00, 0x20, 0x00, 0x1F,                                             //
                             0x00, 0x80, 0xB0, 0x00, 0x50, 0x00, 1, 0, 0, 0, 0, 0xBF, 0x00,      //
                             0x20, 0x00, 0xB0, 0x00, 0x70, 0x00, 1, 0, 0xBF, 0x00,               //
                             0x00, 0x80, 0xB0, 0x00, 0x50, 0x00, 1, 0, 0, 0, 0, 0xBF, 0x00,      //
                             0x20, 0x00, 0xB1, 0x00, 0x50, 0x00, 1, 0, 0, 0, 0, 0x70, 0x00, lo, hi,
                             0x20, 0x13, 0xBF, 0x00,                                             //
                             0xB1, 0x00, 0x50, 0x00, 1, 0, 0, 0, 0, 0x70, 0x00, 10, 0,           //
                             0x20, step < 0 ? 0x25 : 0x24, 0xBF, 0x00});
        EXPECT_EQ(Emit(l).record, want);
    }
}

TEST(Emit, CountingLoopHoldsVariableLimitAndStep) {
    // FOR I = 1 TO N STEP S: holders T1 (limit) and T2 (step).
    Line l;
    l.I(0x00, 0x20).Group({V(1)});
    l.I(0xB0, 0).Int(1).I(0xBF);
    l.Group({V(2)}).Group({V(3)});   // N, T1
    l.Group({V(4)}).Group({V(5)});   // S, T2
    l.End();
    Bytes want;
    auto grp = [&](int sym) { Add(want, {0xB0, 0x00}), AddVar(want, sym), Add(want, {0xBF, 0x00}); };
    Add(want, {0x00, 0x20});
    Add(want, {0x00, 0x80}), grp(3), Add(want, {0x20, 0x00}), grp(2);
    Add(want, {0x00, 0x80}), grp(5), Add(want, {0x20, 0x00}), grp(4);
    Add(want, {0x00, 0x1F, 0x00, 0x80}), grp(1), Add(want, {0x20, 0x00, 0xB0, 0x00, 0x70, 0x00, 1, 0, 0xBF, 0x00});
    Add(want, {0x00, 0x80}), grp(1), Add(want, {0x20, 0x00, 0xB1, 0x00});
    AddVar(want, 1), AddVar(want, 5), Add(want, {0x20, 0x13, 0xBF, 0x00});
    Add(want, {0xB1, 0x00}), AddVar(want, 1), AddVar(want, 3), Add(want, {0x20, 0x24, 0xBF, 0x00});
    Bytes rec = Emit(l).record;
    ASSERT_GE(rec.size(), 6u);
    EXPECT_EQ(Bytes(rec.begin() + 4, rec.end() - 2), want);
}

TEST(Emit, DimEmitsOnlyArrayGroups) {
    Line none;
    none.I(0x00, 0x8A).Group({V(1)}).End();
    EXPECT_TRUE(Emit(none).record.empty());

    Line some;
    some.I(0x00, 0x8A).Group({V(1)});
    some.I(0xB0, 0).I(0x60, 0, 2).I(0xB0, 0).Int(5).I(0xBF).I(0x6F).I(0xBF).End();
    EXPECT_EQ(Emit(some).record, Rec(7, {0x00, 0x8A, 0xB0, 0x00, 0x60, 0x00, 2, 0, 0, 0, 0, 0xB0, 0x00, 0x70, 0x00,
                                         5, 0, 0xBF, 0x00, 0x6F, 0x00, 0xBF, 0x00}));
}

TEST(Emit, SubModuleRefusesCodeOutsideProcedures) {
    struct Case {
        const char *name;
        uint8_t code;
        uint32_t proc;
        bool written;
        uint16_t error;
    } cases[] = {
        {"assignment outside", 0x80, 0, false, kErrNotHere},
        {"assignment inside", 0x80, 4, true, 0},
        {"END SUB after the body closed", 0x36, 0, true, 0},
        {"END FUNCTION after the body closed", 0x32, 0, true, 0},
        {"declaration outside", 0x3B, 0, false, 0},
    };
    for (auto &c : cases) {
        SCOPED_TRACE(c.name);
        Line l;
        l.I(0x00, c.code, 4).End();
        auto e = Emit(l, 7, 1, c.proc);
        EXPECT_EQ(e.result.error, c.error);
        EXPECT_EQ(!e.record.empty(), c.written);
    }
}

TEST(WorkItems, LongerThanTheirStreamForm) {
    struct Case {
        Bytes item;
        uint32_t length;
    } cases[] = {
        {{0x00, 0x7B}, 10}, {{0xA2, 0x00}, 10}, {{0xA2, 0x01}, 10}, {{0xA3, 0x01}, 7},
        {{0x52, 0x01}, 7},  {{0x50, 0x01}, 7},  {{0x00, 0x2A}, 18}, {{0xA1, 0x10}, 2},
    };
    for (auto &c : cases) {
        SCOPED_TRACE(int(c.item[0]));
        Bytes room = c.item;
        room.resize(20);
        EXPECT_EQ(WorkItemLength(room.data(), room.size()), c.length);
        EXPECT_EQ(WorkItemLength(room.data(), c.length - 1), 0u);
    }
}
