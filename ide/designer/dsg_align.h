// Aligning, spacing and locking the selected controls: the rules on plain
// rectangles, so the windows only apply what these decide.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace dsg {

// One selected control: its rectangle as x, y, width, height.
struct AlignBox {
    uint32_t window = 0;
    int32_t x = 0, y = 0, cx = 0, cy = 0;
    bool locked = false;
};

enum AlignMode : int {
    kAlignLeft, kAlignCentre, kAlignRight, kAlignTop, kAlignMiddle, kAlignBottom,
    kSameWidth, kSameHeight, kSpaceAcross, kSpaceDown,
};

// Applies an alignment (modes 0-9) to the boxes in selection order; the
// anchor is boxes[anchor]. False, with every box unchanged, when fewer than
// two are selected, any is locked, or a spacing would leave -32768..32767.
bool DsgAlignBoxes(int mode, std::vector<AlignBox> &boxes, size_t anchor, bool snap, int32_t gridX,
                   int32_t gridY);

// Lock state of a selection: any locked (all = false) or all locked.
bool DsgIsLocked(const std::vector<AlignBox> &boxes, bool all);

}  // namespace dsg
