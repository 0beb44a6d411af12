#include "bet_pages.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace prj::test {
namespace {

// The record's bytes by their offsets in the file.
uint8_t &At(EnvBlock &b, int offset) { return reinterpret_cast<uint8_t *>(&b)[offset]; }

TEST(BetPages, ButtonsStartFromTheirBytes) {
    struct Case {
        const char *name;
        const BetPage *page;
        int offset;
        uint8_t value;
        int control;
        bool checked;
    };
    const std::vector<Case> cases = {
        {"有効 on CLS 1", &kBetModePage, 129, 1, 30014, true},
        {"無効 off on CLS 1", &kBetModePage, 129, 1, 30015, false},
        {"無効 on a CLS byte of 5", &kBetModePage, 129, 5, 30015, true},
        {"有効 off on a CLS byte of 5", &kBetModePage, 129, 5, 30014, false},
        {"左上を原点 on origin 0", &kBetModePage, 135, 0, 30016, true},
        {"左下を原点 on origin 2", &kBetModePage, 135, 2, 30017, true},
        {"画面 on screen 0", &kBetModePage, 134, 0, 30008, true},
        {"グラフィック off on 1", &kBetModePage, 136, 1, 30009, false},
        {"ｴﾗｰ on parity 0", &kBetLinePage, 78, 0, 30014, true},
        {"'?'出力 on parity 3", &kBetLinePage, 78, 3, 30015, true},
        {"ｼｽﾃﾑ on baud 1", &kBetLinePage, 79, 1, 30017, true},
        {"ｼﾌﾄ状態切り換え時のみ on shift 1", &kBetLinePage, 85, 1, 30027, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EnvBlock b = NewEnvBlock();
        At(b, c.offset) = c.value;
        EXPECT_EQ(BetControlChecked(*c.page, b, c.control), c.checked);
    }
}

TEST(BetPages, AClickChangesOnlyAZeroOrOneThatDisagrees) {
    struct Case {
        const char *name;
        const BetPage *page;
        int offset;
        uint8_t before;
        int control;
        bool checked;
        uint8_t after;
    };
    const std::vector<Case> cases = {
        {"無効 clears CLS", &kBetModePage, 129, 1, 30015, true, 0},
        {"有効 sets CLS", &kBetModePage, 129, 0, 30014, true, 1},
        {"有効 again changes nothing", &kBetModePage, 129, 1, 30014, true, 1},
        {"a CLS byte of 5 stays", &kBetModePage, 129, 5, 30014, true, 5},
        {"左下を原点", &kBetModePage, 135, 0, 30017, true, 1},
        {"画面 unchecked: not used", &kBetModePage, 134, 0, 30008, false, 1},
        {"グラフィック checked: used", &kBetModePage, 136, 1, 30009, true, 0},
        {"a screen byte of 9 stays", &kBetModePage, 136, 9, 30009, true, 9},
        {"'?'出力", &kBetLinePage, 78, 0, 30015, true, 1},
        {"ｼｽﾃﾑ", &kBetLinePage, 79, 0, 30017, true, 1},
        {"行ﾃﾞｰﾀ先頭", &kBetLinePage, 85, 1, 30026, true, 0},
        {"an option button losing its check does nothing", &kBetLinePage, 78, 1, 30015, false, 1},
        {"a control of the other page does nothing", &kBetLinePage, 134, 0, 30008, false, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EnvBlock b = NewEnvBlock();
        At(b, c.offset) = c.before;
        const EnvBlock untouched = b;
        EXPECT_EQ(BetControlClicked(*c.page, b, c.control, c.checked), c.before != c.after);
        EXPECT_EQ(At(b, c.offset), c.after);
        At(b, c.offset) = c.before;
        EXPECT_EQ(0, std::memcmp(&b, &untouched, sizeof b)) << "no other byte changes";
    }
}

TEST(BetPages, DefaultsSetEveryByteOfThePage) {
    EnvBlock b = NewEnvBlock();
    EXPECT_FALSE(BetPageDefaults(kBetModePage, b)) << "a new record holds the defaults";
    EXPECT_FALSE(BetPageDefaults(kBetLinePage, b));

    At(b, 129) = 0;
    At(b, 135) = 7;  // the defaults set even a byte clicks leave alone
    At(b, 134) = 1;
    At(b, 136) = 1;
    EXPECT_TRUE(BetPageDefaults(kBetModePage, b));
    EXPECT_EQ((std::vector<int>{At(b, 129), At(b, 135), At(b, 134), At(b, 136)}), (std::vector<int>{1, 0, 0, 0}));

    At(b, 78) = 1;
    EXPECT_TRUE(BetPageDefaults(kBetLinePage, b)) << "'?'出力 back to ｴﾗｰ";
    EXPECT_EQ((std::vector<int>{At(b, 78), At(b, 79), At(b, 85)}), (std::vector<int>{0, 0, 0}));
}

}  // namespace
}  // namespace prj::test
