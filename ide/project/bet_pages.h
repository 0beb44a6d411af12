// The option buttons of the runtime-environment editor's mode and line
// pages: which byte of the record each pair or check box shows, and the rule
// by which a click changes it.
#pragma once

#include <cstdint>
#include <span>

#include "envblock.h"

namespace prj {

// Two option buttons over one byte: the first is checked when the byte
// holds its value, the second whenever it does not.
struct BetRadioPair {
    uint8_t EnvBlock::*field;
    int first_control;
    uint8_t first_value;
    int second_control;
    uint8_t second_value;
};

// A check box over one byte: checked when the byte holds 0 ("used").
struct BetCheckBox {
    uint8_t EnvBlock::*field;
    int control;
};

struct BetPage {
    std::span<const BetRadioPair> radios;
    std::span<const BetCheckBox> checks;
    int defaults_control;  // "標準値(Sﾋ)"
};

extern const BetPage kBetModePage;  // dialog 146
extern const BetPage kBetLinePage;  // dialog 147

// Whether a control of the page starts checked; false for a control the
// page does not hold.
bool BetControlChecked(const BetPage &page, const EnvBlock &b, int control);

// A click on a control of the page, with the check state the button shows
// after it. The byte changes only when it holds 0 or 1 and that disagrees
// with the state; a byte of any other value (a file written elsewhere) is
// left alone. True when the record changed.
bool BetControlClicked(const BetPage &page, EnvBlock &b, int control, bool checked);

// "標準値(Sﾋ)": the first button of every pair and every check box; true
// when a byte changed.
bool BetPageDefaults(const BetPage &page, EnvBlock &b);

}  // namespace prj
