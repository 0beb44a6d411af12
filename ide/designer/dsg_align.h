// Aligning, spacing and locking the selected controls: the rules on plain
// rectangles, so the windows only apply what these decide.
#pragma once

#include <cstddef>
#include <array>
#include <cstdint>
#include <vector>

#include "dsg_host.h"
#include "dsg_model.h"

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

// The eight grab handles (6 x 6) inside a control's rectangle inflated by
// 7: hit codes 10 left, 11 right, 12 top, 13 top-left, 14 top-right,
// 15 bottom, 16 bottom-left, 17 bottom-right.
struct Handle {
    Rect r;
    int code;
};
std::array<Handle, 8> SelLayoutHandles(const Rect &control);
// The first handle holding the point, 0 for none.
int SelHitTestHandles(const std::array<Handle, 8> &handles, Point p);
// Resizes by a handle's hit code and the pointer's offset; false when an
// edge would reach or cross the opposite one or a side would pass 32300.
// Moved edges snap to the grid (remainders towards zero).
bool SizeByHandle(Rect &r, int code, int32_t dx, int32_t dy, bool snap, int32_t gridX, int32_t gridY);

// Timers, MCI and printer controls and a fixed-size bitmap button keep
// their size.
bool CtlIsSizable(const ControlRecord &r);

// The arrow keys on a designed form.
enum ArrowKey : int { kArrowLeft, kArrowUp, kArrowRight, kArrowDown };

// Without Shift: the selection rectangle one grid step on, limits and snap
// as DsgOffsetRectSnap. False, with the rectangle unchanged, when the
// anchor is locked or the move leaves the limits.
bool DsgArrowMove(ArrowKey key, Rect &sel, bool anchorLocked, bool snap, int32_t gridX, int32_t gridY);

// With Shift: the anchor's right edge (Left, Right) or bottom edge (Up,
// Down) one grid step on, a list box's bottom by its item height
// (itemHeight, 0 for other kinds); the moved edge snaps to the grid. False,
// with the rectangle unchanged, when more than one control is selected, the
// control is locked or not sizable, or a side would leave 1..32300.
bool DsgArrowSize(ArrowKey key, Rect &r, size_t selected, bool locked, bool sizable, int32_t itemHeight, bool snap,
                  int32_t gridX, int32_t gridY);

}  // namespace dsg
