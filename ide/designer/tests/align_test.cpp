#include <gtest/gtest.h>

#include <array>

#include "dsg_align.h"

namespace dsg {
namespace {

std::vector<AlignBox> Boxes(std::initializer_list<std::array<int32_t, 4>> rects) {
    std::vector<AlignBox> out;
    uint32_t w = 1;
    for (const auto &r : rects) out.push_back({w++, r[0], r[1], r[2], r[3], false});
    return out;
}

std::vector<int32_t> Xs(const std::vector<AlignBox> &b) {
    std::vector<int32_t> out;
    for (const auto &x : b) out.push_back(x.x);
    return out;
}

TEST(Align, CentresOnTheAnchorWithTruncatedHalves) {
    auto b = Boxes({{100, 0, 41, 10}, {7, 30, 40, 10}, {300, 60, 10, 10}});
    ASSERT_TRUE(DsgAlignBoxes(kAlignCentre, b, 0, false, 8, 8));
    EXPECT_EQ(Xs(b), (std::vector<int32_t>{100, 100, 115}));
}

TEST(Align, EdgesAndSizesFollowTheAnchor) {
    struct Case { int mode; AlignBox want; };
    const Case cases[] = {
        {kAlignLeft, {2, 50, 40, 30, 10}},   {kAlignRight, {2, 90, 40, 30, 10}},
        {kAlignTop, {2, 5, 20, 30, 10}},     {kAlignMiddle, {2, 5, 25, 30, 10}},
        {kAlignBottom, {2, 5, 30, 30, 10}},  {kSameWidth, {2, 5, 40, 70, 10}},
        {kSameHeight, {2, 5, 40, 30, 20}},
    };
    for (const auto &c : cases) {
        auto b = Boxes({{50, 20, 70, 20}, {5, 40, 30, 10}});
        ASSERT_TRUE(DsgAlignBoxes(c.mode, b, 0, false, 8, 8)) << c.mode;
        EXPECT_EQ(b[1].x, c.want.x) << c.mode;
        EXPECT_EQ(b[1].y, c.want.y) << c.mode;
        EXPECT_EQ(b[1].cx, c.want.cx) << c.mode;
        EXPECT_EQ(b[1].cy, c.want.cy) << c.mode;
        EXPECT_EQ(b[0].x, 50) << c.mode;  // the anchor keeps its place
    }
}

TEST(Align, OneLockedControlOrASingleOneBlocksEverything) {
    for (int mode = 0; mode <= 9; ++mode) {
        auto b = Boxes({{0, 0, 10, 10}, {40, 50, 10, 10}, {100, 90, 10, 10}});
        b[2].locked = true;
        auto before = b;
        EXPECT_FALSE(DsgAlignBoxes(mode, b, 0, false, 8, 8)) << mode;
        EXPECT_EQ(Xs(b), Xs(before)) << mode;
        auto one = Boxes({{3, 3, 10, 10}});
        EXPECT_FALSE(DsgAlignBoxes(mode, one, 0, false, 8, 8)) << mode;
    }
    auto b = Boxes({{0, 0, 10, 10}, {40, 50, 10, 10}});
    b[1].locked = true;
    EXPECT_TRUE(DsgIsLocked(b, false));
    EXPECT_FALSE(DsgIsLocked(b, true));
}

TEST(Align, SpacingKeepsTheGapOrTheDistanceOfTheFirstTwo) {
    // Sorted by x: a gap of 10 after a 20-wide control.
    auto gap = Boxes({{200, 0, 30, 10}, {0, 0, 20, 10}, {30, 0, 20, 10}});
    ASSERT_TRUE(DsgAlignBoxes(kSpaceAcross, gap, 0, false, 8, 8));
    EXPECT_EQ(Xs(gap), (std::vector<int32_t>{60, 0, 30}));
    // Overlapping first two: the distance between their left edges, 15.
    auto overlap = Boxes({{0, 0, 40, 10}, {15, 0, 40, 10}, {100, 0, 40, 10}});
    ASSERT_TRUE(DsgAlignBoxes(kSpaceAcross, overlap, 0, false, 8, 8));
    EXPECT_EQ(Xs(overlap), (std::vector<int32_t>{0, 15, 30}));
    // With the snap, each new start is rounded down to the grid.
    auto snapped = Boxes({{0, 0, 20, 10}, {30, 0, 20, 10}, {90, 0, 20, 10}});
    ASSERT_TRUE(DsgAlignBoxes(kSpaceAcross, snapped, 0, true, 8, 8));
    EXPECT_EQ(Xs(snapped), (std::vector<int32_t>{0, 24, 48}));
}

TEST(Align, SpacingPast32767MovesNothing) {
    auto b = Boxes({{0, 0, 10, 10}, {20000, 0, 10, 10}, {20001, 0, 10, 10}});
    auto before = b;
    EXPECT_FALSE(DsgAlignBoxes(kSpaceAcross, b, 0, false, 8, 8));
    EXPECT_EQ(Xs(b), Xs(before));
    auto down = Boxes({{0, 0, 10, 30000}, {0, 30000, 10, 10}, {0, 30001, 10, 3000}});
    EXPECT_FALSE(DsgAlignBoxes(kSpaceDown, down, 0, false, 8, 8));
}

}  // namespace
}  // namespace dsg

namespace dsg {
namespace {

TEST(Handles, LayOutAroundTheControlAndHitInTableOrder) {
    auto h = SelLayoutHandles({100, 100, 140, 124});
    // Inflated by 7: 93..147 x 93..131; edge handles centred (centre - 3).
    EXPECT_EQ(h[0].r.left, 93);
    EXPECT_EQ(h[0].r.top, 109);
    EXPECT_EQ(h[7].r.right, 147);
    EXPECT_EQ(h[7].r.bottom, 131);
    EXPECT_EQ(SelHitTestHandles(h, {95, 111}), 10);
    EXPECT_EQ(SelHitTestHandles(h, {145, 129}), 17);
    EXPECT_EQ(SelHitTestHandles(h, {120, 95}), 12);
    EXPECT_EQ(SelHitTestHandles(h, {120, 112}), 0);
}

TEST(Handles, SizingKeepsSidesBetween1And32300) {
    struct Case { int code; int32_t dx, dy; bool ok; Rect want; };
    const Case cases[] = {
        {11, 13, 0, true, {8, 8, 64, 32}},        // right edge snapped to the grid
        {10, 51, 0, false, {}},                   // left past the right edge
        {10, 40, 0, true, {48, 8, 56, 32}},       // one grid step wide stays
        {15, 0, -24, false, {}},                  // bottom onto the top
        {17, 32300, 0, false, {}},                // wider than 32300
        {17, 32240, 5, true, {8, 8, 32296, 32}},  // 32288 wide
        {13, -8, -8, true, {0, 0, 56, 32}},
    };
    for (const auto &c : cases) {
        Rect r{8, 8, 56, 32};
        EXPECT_EQ(SizeByHandle(r, c.code, c.dx, c.dy, true, 8, 8), c.ok) << c.code << " " << c.dx;
        if (c.ok) {
            EXPECT_EQ(r.left, c.want.left) << c.code;
            EXPECT_EQ(r.top, c.want.top) << c.code;
            EXPECT_EQ(r.right, c.want.right) << c.code;
            EXPECT_EQ(r.bottom, c.want.bottom) << c.code;
        } else {
            EXPECT_EQ(r.right, 56) << c.code;
        }
    }
    Rect big{0, 0, 100, 100};
    EXPECT_TRUE(SizeByHandle(big, 17, 32200, 0, false, 8, 8));
    EXPECT_EQ(big.right, 32300);
    EXPECT_FALSE(SizeByHandle(big, 17, 1, 0, false, 8, 8));
}

}  // namespace
}  // namespace dsg
