#include <gtest/gtest.h>

#include "dsg_bmpbtn.h"

#include <string>

namespace dsg {
namespace {

std::string Str(const std::vector<uint32_t> &v) {
    std::string s;
    for (uint32_t i : v) s += (s.empty() ? "" : ",") + std::to_string(i);
    return s;
}

TEST(BmpButton, FramesDrawnByTypePressAndPhase) {
    struct Case { uint32_t type; int press, phase; uint32_t n, s; const char *want; };
    const Case cases[] = {
        // A push button: frame 0 at rest, the strip down and back up.
        {0, 0, 2, 4, 0, "0"},
        {0, 1, 0, 4, 0, "3"},
        {0, 1, 1, 4, 0, "0,1,2,3"},
        {0, 1, 2, 4, 0, "3,2,1,0"},
        {0, 2, 0, 4, 0, "0"},
        {0, 2, 2, 4, 0, "3,2,1,0"},
        {0, 2, 1, 4, 0, ""},
        // The others draw the frames of their present state.
        {3, 0, 1, 3, 2, "6"},
        {2, 1, 0, 3, 1, "3"},
        {2, 1, 2, 3, 1, "3"},
        {1, 1, 1, 3, 1, "3,4,5"},
        {3, 2, 0, 3, 2, "6"},
        {3, 2, 2, 3, 2, "8,7,6"},
        {1, 2, 1, 3, 0, ""},
        // A strip of one frame, and a strip whose frame count was never set.
        {0, 1, 1, 1, 0, "0"},
        {0, 1, 2, 0, 0, "0"},
        {2, 1, 1, 0, 1, "1"},
        // No such type or press state.
        {4, 0, 0, 3, 0, ""},
        {0, 3, 0, 3, 0, ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE("type " + std::to_string(c.type) + " press " + std::to_string(c.press) + " phase " +
                     std::to_string(c.phase) + " n " + std::to_string(c.n) + " s " + std::to_string(c.s));
        EXPECT_EQ(Str(BmpFrames(c.type, c.press, c.phase, c.n, c.s)), c.want);
    }
}

TEST(BmpButton, ClicksStepTheState) {
    // A four-state button cycles 0, 1, 2, 3, 0.
    uint32_t s = 0;
    std::string seen;
    for (int i = 0; i < 5; ++i) seen += std::to_string(s = BmpNextState(kBmpMultiState, s, 4));
    EXPECT_EQ(seen, "12301");
    EXPECT_EQ(BmpNextState(kBmpToggle, 0, 2), 1u);
    EXPECT_EQ(BmpNextState(kBmpToggle, 1, 2), 0u);
    EXPECT_EQ(BmpNextState(kBmpOneOfGroup, 1, 2), 1u);
    EXPECT_EQ(BmpNextState(kBmpOneOfGroup, 0, 2), 1u);
    EXPECT_EQ(BmpNextState(kBmpPush, 0, 2), 0u);
    EXPECT_EQ(BmpNextState(kBmpMultiState, 0, 0), 0u);  // no states set: it stays put
}

// A form record, then one record per letter: 'b' a one-of-group button
// switched on, 'o' one switched off, 'p' a push button switched on, 'x' a
// command button; an upper-case letter carries WS_GROUP.
std::vector<ControlRecord> Table(const std::string &letters) {
    std::vector<ControlRecord> t(1);
    for (char c : letters) {
        ControlRecord r{};
        char l = char(c | 0x20);
        r.kind = l == 'x' ? kButton : kBmpButton;
        r.area[ba::buttonStyle] = l == 'p' ? kBmpPush : kBmpOneOfGroup;
        r.area[ba::runState] = l == 'o' ? 0 : 1;
        if (c != l) r.style = kWsGroup;
        t.push_back(r);
    }
    return t;
}

TEST(BmpButton, OneOfGroupFindsTheButtonToSwitchOff) {
    struct Case { const char *table; size_t button; int want; };
    const Case cases[] = {
        {"obob", 1, 2},    // the next one on in the run
        {"bobo", 3, 1},    // wrapping to the run's start
        {"oooo", 2, -1},   // nothing on
        {"bpxo", 4, 1},    // a push button and a command button are passed over
        {"bbOb", 3, 4},    // the run starts at the WS_GROUP record
        {"bOoB", 2, -1},   // and ends before the next one
        {"Ob", 2, -1},     // the button itself is never its own partner
        {"b", 1, -1},      // a form with two records has no group
    };
    for (const auto &c : cases) EXPECT_EQ(BmpGroupPartner(Table(c.table), c.button), c.want) << c.table << " " << c.button;
}

}  // namespace
}  // namespace dsg
