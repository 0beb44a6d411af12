#include "dsg_group.h"

#include <algorithm>
#include <cstdio>

namespace dsg {

extern const char *const kArrangeRangeFormat;

namespace {

size_t IndexOf(const Form &form, uint32_t window) {
    for (size_t i = 1; i < form.table.size(); ++i)
        if (form.table[i].hwnd == window) return i;
    return 0;
}

void MoveRecord(Form &form, size_t from, size_t to) {
    if (from == to) return;
    ControlRecord r = form.table[from];
    form.table.erase(form.table.begin() + long(from));
    form.table.insert(form.table.begin() + long(to), r);
    form.events.Move(from, to);
}

}  // namespace

bool GrpMake(Form &form, const std::vector<uint32_t> &selection) {
    std::vector<uint32_t> sel;
    for (uint32_t w : selection)
        if (IndexOf(form, w) && std::find(sel.begin(), sel.end(), w) == sel.end()) sel.push_back(w);
    if (sel.size() < 2) return false;
    size_t first = form.table.size();
    for (uint32_t w : sel) first = std::min(first, IndexOf(form, w));
    size_t prev = first - 1;
    for (uint32_t w : sel) {
        size_t from = IndexOf(form, w);
        size_t to = from > prev ? prev + 1 : prev;
        MoveRecord(form, from, to);
        prev = to;
    }
    size_t last = prev;
    for (size_t i = first; i <= last; ++i) {
        ControlRecord &r = form.table[i];
        r.attributes &= ~(kCaGroup | kCaEnd);
        r.style &= ~kWsGroup;
        if (i == first) r.style |= kWsGroup, r.attributes |= kCaGroup;
        if (i == last) r.attributes |= kCaEnd;
    }
    if (last + 1 < form.table.size()) form.table[last + 1].style |= kWsGroup;
    return true;
}

void GrpDissolve(Form &form, const Group &group, const std::vector<Group> &others) {
    if (group.empty()) return;
    size_t first = IndexOf(form, group.front()), last = IndexOf(form, group.back());
    if (first) {
        form.table[first].style &= ~kWsGroup;
        form.table[first].attributes &= ~kCaGroup;
    }
    if (last) {
        form.table[last].attributes &= ~kCaEnd;
        if (last + 1 < form.table.size()) {
            ControlRecord &next = form.table[last + 1];
            bool member = false;
            for (const auto &g : others)
                if (&g != &group && std::find(g.begin(), g.end(), next.hwnd) != g.end()) member = true;
            if (!member) next.style &= ~kWsGroup;
        }
    }
}

std::vector<Group> GrpRebuild(const Form &form) {
    std::vector<Group> out;
    bool open = false;
    for (size_t i = 1; i < form.table.size(); ++i) {
        const ControlRecord &r = form.table[i];
        if (r.attributes & kCaGroup) {
            out.push_back({r.hwnd});
            open = !(r.attributes & kCaEnd);
            continue;
        }
        if (!open) continue;
        if (r.style & kWsGroup) {
            open = false;
            continue;
        }
        out.back().push_back(r.hwnd);
        if (r.attributes & kCaEnd) open = false;
    }
    return out;
}

int GrpFindOfControl(const std::vector<Group> &groups, uint32_t window) {
    for (size_t i = 0; i < groups.size(); ++i)
        if (std::find(groups[i].begin(), groups[i].end(), window) != groups[i].end()) return int(i);
    return -1;
}

bool TabOrderMayMove(const std::vector<uint32_t> &rowStyles, size_t row, bool up) {
    if (row >= rowStyles.size()) return false;
    if (up) return row > 0 && !(rowStyles[row] & kWsGroup);
    return row + 1 < rowStyles.size() && !(rowStyles[row + 1] & kWsGroup);
}

GridRange ArrangeRange(uint32_t mapMode) {
    static const GridRange kTable[7] = {{0, 0, 0},     {0, 0, 0},      {4, 212, 21}, {35, 2117, 212},
                                        {1, 83, 8},    {14, 833, 83},  {20, 1200, 120}};
    return mapMode < 7 ? kTable[mapMode] : GridRange{0, 0, 0};
}

std::string ArrangeRangeMessage(const GridRange &r) {
    char buf[96];
    std::snprintf(buf, sizeof buf, kArrangeRangeFormat, int(r.minimum), int(r.maximum));
    return buf;
}

GridRange ArrangeStandard(uint32_t mapMode, const GridRange &pixelModes) {
    return mapMode <= 1 ? pixelModes : ArrangeRange(mapMode);
}

}  // namespace dsg
