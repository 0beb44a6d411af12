#include "bet_pages.h"

namespace prj {
namespace {

// Control ids of dialogs 146 and 147.
enum : int {
    kFirstOf1 = 30014,
    kSecondOf1 = 30015,
    kFirstOf2 = 30016,
    kSecondOf2 = 30017,
    kShiftAtLineStart = 30026,
    kShiftOnChangeOnly = 30027,
    kScreenText = 30008,
    kScreenGraphic = 30009,
    kModeDefaults = 30004,
    kLineDefaults = 30029,
};

const BetRadioPair kModeRadios[] = {
    {&EnvBlock::cls_key, kFirstOf1, 1, kSecondOf1, 0},            // 有効 / 無効
    {&EnvBlock::origin_lower_left, kFirstOf2, 0, kSecondOf2, 1},  // 左上を原点 / 左下を原点
};
const BetCheckBox kModeChecks[] = {
    {&EnvBlock::screen_text_off, kScreenText},        // 画面
    {&EnvBlock::screen_graphic_off, kScreenGraphic},  // グラフィック
};
const BetRadioPair kLineRadios[] = {
    {&EnvBlock::parity_error, kFirstOf1, 0, kSecondOf1, 1},                   // ｴﾗｰ / '?'出力
    {&EnvBlock::baud_by_system, kFirstOf2, 0, kSecondOf2, 1},                 // BASIC / ｼｽﾃﾑ
    {&EnvBlock::shift_code, kShiftAtLineStart, 0, kShiftOnChangeOnly, 1},
};

// Sets the byte to `want` when it holds 0 or 1 and differs.
bool Store(uint8_t &byte, uint8_t want) {
    if ((byte != 0 && byte != 1) || byte == want)
        return false;
    byte = want;
    return true;
}

}  // namespace

const BetPage kBetModePage{kModeRadios, kModeChecks, kModeDefaults};
const BetPage kBetLinePage{kLineRadios, {}, kLineDefaults};

bool BetControlChecked(const BetPage &page, const EnvBlock &b, int control) {
    for (const BetRadioPair &r : page.radios) {
        if (control == r.first_control)
            return b.*r.field == r.first_value;
        if (control == r.second_control)
            return b.*r.field != r.first_value;
    }
    for (const BetCheckBox &c : page.checks)
        if (control == c.control)
            return b.*c.field == 0;
    return false;
}

bool BetControlClicked(const BetPage &page, EnvBlock &b, int control, bool checked) {
    for (const BetRadioPair &r : page.radios) {
        if (control == r.first_control || control == r.second_control) {
            // An option button acts only when it is the one now checked.
            if (!checked)
                return false;
            return Store(b.*r.field, control == r.first_control ? r.first_value : r.second_value);
        }
    }
    for (const BetCheckBox &c : page.checks)
        if (control == c.control)
            return Store(b.*c.field, checked ? 0 : 1);
    return false;
}

bool BetPageDefaults(const BetPage &page, EnvBlock &b) {
    bool changed = false;
    auto set = [&changed](uint8_t &byte, uint8_t v) {
        changed = changed || byte != v;
        byte = v;
    };
    for (const BetRadioPair &r : page.radios)
        set(b.*r.field, r.first_value);
    for (const BetCheckBox &c : page.checks)
        set(b.*c.field, 0);
    return changed;
}

}  // namespace prj
