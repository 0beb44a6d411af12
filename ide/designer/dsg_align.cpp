#include "dsg_align.h"

#include <algorithm>

namespace dsg {

namespace {

// Remainders go towards zero, as the grid snap does everywhere.
int32_t Snap(int32_t v, int32_t step) { return step > 0 ? v - v % step : v; }

bool Space(bool across, std::vector<AlignBox> &boxes, bool snap, int32_t grid) {
    auto start = [&](const AlignBox &b) -> int32_t { return across ? b.x : b.y; };
    auto size = [&](const AlignBox &b) -> int32_t { return across ? b.cx : b.cy; };
    std::vector<AlignBox> s = boxes;
    // Exchange sort: each position against every later one.
    for (size_t i = 0; i < s.size(); ++i)
        for (size_t j = i + 1; j < s.size(); ++j)
            if (start(s[i]) > start(s[j])) std::swap(s[i], s[j]);
    int64_t between = int64_t(start(s[1])) - start(s[0]);
    bool gap = between >= size(s[0]);
    int64_t step = gap ? between - size(s[0]) : between;
    std::vector<int32_t> starts(s.size());
    starts[0] = start(s[0]);
    for (size_t i = 1; i < s.size(); ++i) {
        int64_t v = int64_t(starts[i - 1]) + step + (gap ? size(s[i - 1]) : 0);
        if (v < -32768 || v > 32767 || v + size(s[i]) > 32767) return false;
        starts[i] = snap ? Snap(int32_t(v), grid) : int32_t(v);
    }
    for (size_t i = 0; i < s.size(); ++i) {
        for (auto &b : boxes) {
            if (b.window == s[i].window) (across ? b.x : b.y) = starts[i];
        }
    }
    return true;
}

}  // namespace

bool DsgIsLocked(const std::vector<AlignBox> &boxes, bool all) {
    if (all)
        return std::all_of(boxes.begin(), boxes.end(), [](const AlignBox &b) { return b.locked; });
    return std::any_of(boxes.begin(), boxes.end(), [](const AlignBox &b) { return b.locked; });
}

bool DsgAlignBoxes(int mode, std::vector<AlignBox> &boxes, size_t anchor, bool snap, int32_t gridX,
                   int32_t gridY) {
    if (boxes.size() < 2 || anchor >= boxes.size() || DsgIsLocked(boxes, false) || mode < 0 || mode > 9)
        return false;
    if (mode == kSpaceAcross || mode == kSpaceDown)
        return Space(mode == kSpaceAcross, boxes, snap, mode == kSpaceAcross ? gridX : gridY);
    const AlignBox &a = boxes[anchor];
    const int32_t ref[8] = {a.x, a.x + a.cx / 2, a.x + a.cx, a.y, a.y + a.cy / 2, a.y + a.cy, a.cx, a.cy};
    int32_t r = ref[mode];
    for (auto &b : boxes) {
        switch (mode) {
        case kAlignLeft: b.x = r; break;
        case kAlignCentre: b.x = r - b.cx / 2; break;
        case kAlignRight: b.x = r - b.cx; break;
        case kAlignTop: b.y = r; break;
        case kAlignMiddle: b.y = r - b.cy / 2; break;
        case kAlignBottom: b.y = r - b.cy; break;
        case kSameWidth: b.cx = r; break;
        default: b.cy = r; break;
        }
    }
    return true;
}

std::array<Handle, 8> SelLayoutHandles(const Rect &c) {
    Rect o{c.left - 7, c.top - 7, c.right + 7, c.bottom + 7};
    int32_t cx = (o.left + o.right) / 2 - 3, cy = (o.top + o.bottom) / 2 - 3;
    auto at = [](int32_t x, int32_t y) { return Rect{x, y, x + 6, y + 6}; };
    return {{{at(o.left, cy), 10},
             {at(o.right - 6, cy), 11},
             {at(cx, o.top), 12},
             {at(o.left, o.top), 13},
             {at(o.right - 6, o.top), 14},
             {at(cx, o.bottom - 6), 15},
             {at(o.left, o.bottom - 6), 16},
             {at(o.right - 6, o.bottom - 6), 17}}};
}

int SelHitTestHandles(const std::array<Handle, 8> &handles, Point p) {
    for (const auto &h : handles)
        if (p.x >= h.r.left && p.x < h.r.right && p.y >= h.r.top && p.y < h.r.bottom) return h.code;
    return 0;
}

bool SizeByHandle(Rect &r, int code, int32_t dx, int32_t dy, bool snap, int32_t gridX, int32_t gridY) {
    bool left = code == 10 || code == 13 || code == 16, right = code == 11 || code == 14 || code == 17;
    bool top = code == 12 || code == 13 || code == 14, bottom = code == 15 || code == 16 || code == 17;
    Rect n = r;
    if (left) n.left = snap ? Snap(r.left + dx, gridX) : r.left + dx;
    if (right) n.right = snap ? Snap(r.right + dx, gridX) : r.right + dx;
    if (top) n.top = snap ? Snap(r.top + dy, gridY) : r.top + dy;
    if (bottom) n.bottom = snap ? Snap(r.bottom + dy, gridY) : r.bottom + dy;
    if (n.left >= n.right || n.top >= n.bottom) return false;
    if (int64_t(n.right) - n.left > kMaxControlSide || int64_t(n.bottom) - n.top > kMaxControlSide) return false;
    r = n;
    return true;
}

bool CtlIsSizable(const ControlRecord &r) {
    if (r.kind == kTimer || r.kind == kMci || r.kind == kPrinter) return false;
    return !(r.kind == kBmpButton && (r.area[ba::buttonStyle] & kBmpFitControl));
}

bool DsgArrowMove(ArrowKey key, Rect &sel, bool anchorLocked, bool snap, int32_t gridX, int32_t gridY) {
    if (anchorLocked) return false;
    int32_t dx = key == kArrowLeft ? -gridX : key == kArrowRight ? gridX : 0;
    int32_t dy = key == kArrowUp ? -gridY : key == kArrowDown ? gridY : 0;
    return DsgOffsetRectSnap(sel, dx, dy, snap, gridX, gridY);
}

bool DsgArrowSize(ArrowKey key, Rect &r, size_t selected, bool locked, bool sizable, int32_t itemHeight, bool snap,
                  int32_t gridX, int32_t gridY) {
    if (selected > 1 || locked || !sizable) return false;
    Rect n = r;
    if (key == kArrowLeft || key == kArrowRight) {
        int64_t right = int64_t(r.right) + (key == kArrowLeft ? -int64_t(gridX) : gridX);
        if (snap && gridX > 0) right -= right % gridX;
        if (right <= r.left || right - r.left > kMaxControlSide) return false;
        n.right = int32_t(right);
    } else {
        int32_t step = itemHeight > 0 ? itemHeight : gridY;
        int64_t bottom = int64_t(r.bottom) + (key == kArrowUp ? -int64_t(step) : step);
        if (snap && gridY > 0) bottom -= bottom % gridY;
        if (bottom <= r.top || bottom - r.top > kMaxControlSide) return false;
        n.bottom = int32_t(bottom);
    }
    r = n;
    return true;
}

}  // namespace dsg
