#include <gtest/gtest.h>

#include "dsg_formdata.h"
#include "dsg_group.h"
#include "fake_host.h"

namespace dsg {
namespace {

using test::FakeHost;

// A form with five buttons; their window keys in table order.
struct FiveButtons {
    FakeHost host;
    Document doc;
    Form *form = nullptr;
    std::vector<uint32_t> keys;
    FiveButtons() {
        form = FrmCreateNew(host, doc, nullptr, false);
        for (int i = 0; i < 5; ++i) keys.push_back(CtlCreate(host, doc, *form, kButton, 0, 40 * i)->hwnd);
    }
    std::vector<uint32_t> Order() const {
        std::vector<uint32_t> out;
        for (size_t i = 1; i < form->table.size(); ++i) out.push_back(form->table[i].hwnd);
        return out;
    }
    const ControlRecord &Rec(uint32_t key) const {
        for (const auto &r : form->table)
            if (r.hwnd == key) return r;
        return form->table[0];
    }
};

TEST(Group, ThreeNonAdjacentControlsBecomeConsecutive) {
    FiveButtons f;
    uint32_t a = f.keys[0], b = f.keys[1], c = f.keys[2], d = f.keys[3], e = f.keys[4];
    ASSERT_TRUE(GrpMake(*f.form, {e, b, d}));
    // From the place of the first in table order (b), in selection order.
    EXPECT_EQ(f.Order(), (std::vector<uint32_t>{a, e, b, d, c}));
    // The events follow their records.
    for (size_t i = 1; i < f.form->table.size(); ++i)
        EXPECT_EQ(f.form->events.blocks[i].id, f.form->table[i].id) << i;
    EXPECT_TRUE(f.Rec(e).style & kWsGroup);
    EXPECT_TRUE(f.Rec(e).attributes & kCaGroup);
    EXPECT_FALSE(f.Rec(b).style & kWsGroup);
    EXPECT_FALSE(f.Rec(b).attributes & (kCaGroup | kCaEnd));
    EXPECT_TRUE(f.Rec(d).attributes & kCaEnd);
    EXPECT_TRUE(f.Rec(c).style & kWsGroup) << "the control after the group starts the next run";

    std::vector<Group> groups = GrpRebuild(*f.form);
    ASSERT_EQ(groups.size(), 1u);
    EXPECT_EQ(groups[0], (Group{e, b, d}));
    EXPECT_EQ(GrpFindOfControl(groups, b), 0);
    EXPECT_EQ(GrpFindOfControl(groups, c), -1);

    GrpDissolve(*f.form, groups[0], groups);
    EXPECT_FALSE(f.Rec(e).attributes & kCaGroup);
    EXPECT_FALSE(f.Rec(d).attributes & kCaEnd);
    EXPECT_FALSE(f.Rec(c).style & kWsGroup);
    EXPECT_TRUE(GrpRebuild(*f.form).empty());
}

TEST(Group, NeedsTwoControlsOfTheForm) {
    FiveButtons f;
    auto before = f.Order();
    EXPECT_FALSE(GrpMake(*f.form, {f.keys[2]}));
    EXPECT_FALSE(GrpMake(*f.form, {f.keys[2], f.keys[2]}));
    EXPECT_FALSE(GrpMake(*f.form, {f.keys[2], 9999}));
    EXPECT_EQ(f.Order(), before);
}

TEST(Group, DissolvingKeepsTheNextGroupsStart) {
    FiveButtons f;
    ASSERT_TRUE(GrpMake(*f.form, {f.keys[0], f.keys[1]}));
    ASSERT_TRUE(GrpMake(*f.form, {f.keys[2], f.keys[3]}));
    auto groups = GrpRebuild(*f.form);
    ASSERT_EQ(groups.size(), 2u);
    GrpDissolve(*f.form, groups[0], groups);
    EXPECT_TRUE(f.Rec(f.keys[2]).style & kWsGroup);
    EXPECT_EQ(GrpRebuild(*f.form).size(), 1u);
}

TEST(TabOrder, ExchangesNeverCrossAGroupStart) {
    // Rows: plain, group start, member, plain.
    const std::vector<uint32_t> rows = {0, kWsGroup, 0, kWsGroup};
    struct Case { size_t row; bool up, ok; };
    const Case cases[] = {
        {0, true, false},  {0, false, false}, {1, true, false}, {1, false, true},
        {2, true, true},   {2, false, false}, {3, true, false}, {3, false, false},
    };
    for (const auto &c : cases) EXPECT_EQ(TabOrderMayMove(rows, c.row, c.up), c.ok) << c.row << " " << c.up;
}

TEST(Arrange, RangeMessageAndStandardValues) {
    std::string m = ArrangeRangeMessage(ArrangeRange(6));
    EXPECT_EQ(m.substr(0, 4), "\x8E\x77\x92\xE8");  // the Shift-JIS text
    EXPECT_EQ(m.substr(m.size() - 10), " (20-1200)");
    EXPECT_EQ(ArrangeRange(2).maximum, 212);
    EXPECT_EQ(ArrangeRange(3).minimum, 35);
    // The standard values come from the form's own map mode, never past the table.
    GridRange px{1, 80, 8};
    EXPECT_EQ(ArrangeStandard(4, px).standard, 8);
    EXPECT_EQ(ArrangeStandard(6, px).standard, 120);
    EXPECT_EQ(ArrangeStandard(0, px).maximum, 80);
    EXPECT_EQ(ArrangeStandard(8, px).standard, 0);
}

}  // namespace
}  // namespace dsg
