// The runtime's graphics screen, read out of a stopped or ended machine,
// and its PNG form (basrun --screen).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tx::runner {

class Machine;

struct Screen {
    uint32_t width = 0, height = 0;
    uint8_t palette[16][3] = {};
    std::vector<uint8_t> pixels; // colour numbers, rows from the top
};

// The screen as the runtime's `rt_screen` holds it; false when the image
// has none (a program linked without the graphics routines), in which case
// `out` is a blank 640 x 400 screen of the base palette's black.
bool ReadScreen(const Machine& m, Screen& out);

// An 8-bit indexed PNG of the screen; its zlib stream uses stored blocks.
std::string EncodePng(const Screen& s);

} // namespace tx::runner
