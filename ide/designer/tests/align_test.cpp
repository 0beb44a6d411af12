#include <gtest/gtest.h>

#include <array>
#include <string>

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

std::string Text(const Rect &r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

TEST(ArrowKeys, MoveTheSelectionOneGridStep) {
    struct Case {
        const char *name;
        ArrowKey key;
        Rect sel;
        bool locked, snap;
        int32_t gx, gy;
        bool ok;
        Rect want;
    };
    const Case cases[] = {
        {"left", kArrowLeft, {16, 24, 96, 48}, false, true, 8, 8, true, {8, 24, 88, 48}},
        {"up", kArrowUp, {16, 24, 96, 48}, false, true, 8, 8, true, {16, 16, 96, 40}},
        {"right", kArrowRight, {16, 24, 96, 48}, false, true, 8, 8, true, {24, 24, 104, 48}},
        {"down by the y step", kArrowDown, {16, 24, 96, 48}, false, true, 16, 12, true, {16, 36, 96, 60}},
        {"off the grid snaps both axes", kArrowRight, {13, 21, 53, 45}, false, true, 8, 8, true, {16, 16, 56, 40}},
        {"without snap keeps the offset", kArrowRight, {13, 21, 53, 45}, false, false, 8, 8, true, {21, 21, 61, 45}},
        {"negative snaps towards zero", kArrowLeft, {-3, 0, 10, 8}, false, true, 8, 8, true, {-8, 0, 5, 8}},
        {"up to -32748", kArrowLeft, {-32740, 0, -32700, 10}, false, false, 8, 8, true, {-32748, 0, -32708, 10}},
        {"past -32748", kArrowLeft, {-32744, 0, -32700, 10}, false, false, 8, 8, false, {}},
        {"past +32748", kArrowDown, {0, 32700, 10, 32745}, false, false, 8, 8, false, {}},
        {"locked anchor", kArrowRight, {16, 24, 96, 48}, true, true, 8, 8, false, {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        Rect r = c.sel;
        EXPECT_EQ(DsgArrowMove(c.key, r, c.locked, c.snap, c.gx, c.gy), c.ok);
        EXPECT_EQ(Text(r), Text(c.ok ? c.want : c.sel));
    }
}

TEST(ArrowKeys, ShiftSizesTheRightOrBottomEdge) {
    struct Case {
        const char *name;
        ArrowKey key;
        Rect r;
        size_t selected;
        bool locked, sizable;
        int32_t itemHeight;
        bool snap;
        bool ok;
        Rect want;
    };
    const Case cases[] = {
        {"left narrows", kArrowLeft, {16, 24, 96, 48}, 1, false, true, 0, true, true, {16, 24, 88, 48}},
        {"right widens", kArrowRight, {16, 24, 96, 48}, 1, false, true, 0, true, true, {16, 24, 104, 48}},
        {"up", kArrowUp, {16, 24, 96, 48}, 1, false, true, 0, true, true, {16, 24, 96, 40}},
        {"down", kArrowDown, {16, 24, 96, 48}, 1, false, true, 0, true, true, {16, 24, 96, 56}},
        {"the moved edge snaps", kArrowRight, {3, 5, 13, 19}, 1, false, true, 0, true, true, {3, 5, 16, 19}},
        {"a list box by its item height", kArrowDown, {16, 24, 96, 48}, 1, false, true, 13, false, true,
         {16, 24, 96, 61}},
        {"a list box up", kArrowUp, {16, 24, 96, 48}, 1, false, true, 13, false, true, {16, 24, 96, 35}},
        {"a list box's bottom still snaps", kArrowDown, {16, 24, 96, 48}, 1, false, true, 13, true, true,
         {16, 24, 96, 56}},
        {"negative edges snap towards zero", kArrowRight, {-40, -40, -20, -20}, 1, false, true, 0, true, true,
         {-40, -40, -8, -20}},
        {"no zero width", kArrowLeft, {16, 24, 24, 48}, 1, false, true, 0, true, false, {}},
        {"no width lost to the snap", kArrowLeft, {3, 0, 13, 10}, 1, false, true, 0, true, false, {}},
        {"no zero height", kArrowUp, {16, 24, 96, 32}, 1, false, true, 0, false, false, {}},
        {"at most 32300 wide", kArrowRight, {0, 0, 32296, 10}, 1, false, true, 0, false, false, {}},
        {"32300 itself", kArrowRight, {0, 0, 32292, 10}, 1, false, true, 0, false, true, {0, 0, 32300, 10}},
        {"two selected", kArrowRight, {16, 24, 96, 48}, 2, false, true, 0, true, false, {}},
        {"locked", kArrowRight, {16, 24, 96, 48}, 1, true, true, 0, true, false, {}},
        {"not sizable", kArrowDown, {16, 24, 96, 48}, 1, false, false, 0, true, false, {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        Rect r = c.r;
        EXPECT_EQ(DsgArrowSize(c.key, r, c.selected, c.locked, c.sizable, c.itemHeight, c.snap, 8, 8), c.ok);
        EXPECT_EQ(Text(r), Text(c.ok ? c.want : c.r));
    }
}

TEST(ArrowKeys, TimersAndFixedBitmapButtonsKeepTheirSize) {
    struct Case { uint32_t kind, buttonStyle; bool sizable; };
    const Case cases[] = {
        {kButton, 0, true}, {kList, 0, true}, {kPicture, 0, true}, {kTimer, 0, false}, {kMci, 0, false},
        {kPrinter, 0, false}, {kBmpButton, 0, true}, {kBmpButton, kBmpFitBitmap, true},
        {kBmpButton, kBmpFitControl, false},
    };
    for (const auto &c : cases) {
        ControlRecord r{};
        r.kind = c.kind;
        r.area[ba::buttonStyle] = c.buttonStyle;
        EXPECT_EQ(CtlIsSizable(r), c.sizable) << c.kind << " " << c.buttonStyle;
    }
}

}  // namespace
}  // namespace dsg
