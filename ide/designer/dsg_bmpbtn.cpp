#include "dsg_bmpbtn.h"

namespace dsg {

namespace {

std::vector<uint32_t> Run(uint32_t from, uint32_t to) {
    std::vector<uint32_t> out;
    for (uint32_t i = from;; i = from <= to ? i + 1 : i - 1) {
        out.push_back(i);
        if (i == to) break;
    }
    return out;
}

}  // namespace

std::vector<uint32_t> BmpFrames(uint32_t type, int press, int phase, uint32_t frames, uint32_t state) {
    if (press < kPressIdle || press > kPressOutside) return {};
    uint32_t n = frames ? frames : 1;
    if (type == kBmpPush) {
        if (press == kPressIdle || (press == kPressOutside && phase == kPhaseRest)) return {0};
        if (press == kPressInside && phase == kPhaseRest) return {n - 1};
        if (press == kPressInside && phase == kPhaseDown) return Run(0, n - 1);
        if (phase == kPhaseUp && (press == kPressInside || press == kPressOutside)) return Run(n - 1, 0);
        return {};
    }
    if (type > kBmpMultiState) return {};
    uint32_t first = state * n, last = first + n - 1;
    if (press == kPressIdle || phase == kPhaseRest) return {first};
    if (press == kPressInside && phase == kPhaseUp) return {first};
    if (press == kPressInside && phase == kPhaseDown) return Run(first, last);
    if (press == kPressOutside && phase == kPhaseUp) return Run(last, first);
    return {};
}

uint32_t BmpNextState(uint32_t type, uint32_t state, uint32_t states) {
    switch (type) {
    case kBmpOneOfGroup: return 1;
    case kBmpToggle: return state == 0 ? 1 : 0;
    case kBmpMultiState: return state + 1 >= states ? 0 : state + 1;
    default: return state;
    }
}

int BmpGroupPartner(const std::vector<ControlRecord> &table, size_t button) {
    if (table.size() <= 2 || button >= table.size()) return -1;
    size_t start = button;
    while (start > 0 && !(table[start].style & kWsGroup)) --start;
    size_t end = button + 1;
    while (end < table.size() && !(table[end].style & kWsGroup)) ++end;
    for (size_t i = button + 1 == end ? start : button + 1; i != button; i = i + 1 == end ? start : i + 1) {
        const ControlRecord &r = table[i];
        if (r.kind == kBmpButton && (r.area[ba::buttonStyle] & kBmpTypeMask) == kBmpOneOfGroup &&
            r.area[ba::runState] != 0)
            return int(i);
    }
    return -1;
}

}  // namespace dsg
