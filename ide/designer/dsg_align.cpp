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

}  // namespace dsg
