// The bitmap button at run time: which frames of its strip a repaint
// draws, the state a click leaves it in, and the one-of-group button a
// click switches off.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "dsg_model.h"

namespace dsg {

// The low half of `buttonStyle`; its fit-the-bitmap bit stretches the frames
// over the button.
enum : uint32_t { kBmpPush = 0, kBmpOneOfGroup = 1, kBmpToggle = 2, kBmpMultiState = 3 };
constexpr uint32_t kBmpTypeMask = 0xFFFF, kBmpStretch = kBmpFitBitmap;

// The press state (idle, pressed with the pointer inside, pressed with it
// outside) and the paint phase (rest, going down, coming up).
enum : int { kPressIdle = 0, kPressInside = 1, kPressOutside = 2 };
enum : int { kPhaseRest = 0, kPhaseDown = 1, kPhaseUp = 2 };

// The frame indices to draw in order; `frames` is the frames of one state
// (`frameB`), `state` the current `runState`. A strip of no frames counts
// as one.
std::vector<uint32_t> BmpFrames(uint32_t type, int press, int phase, uint32_t frames, uint32_t state);

// `runState` after a click released inside the button; `states` is `frameA`.
uint32_t BmpNextState(uint32_t type, uint32_t state, uint32_t states);

// The record of the one-of-group button that a click on `button` switches
// off: the first after it in its WS_GROUP run, wrapping once, of type 1 and
// not at state 0; -1 when there is none.
int BmpGroupPartner(const std::vector<ControlRecord> &table, size_t button);

}  // namespace dsg
