#include "dsg_events.h"

#include <algorithm>

#include "sjis_path.h"

namespace dsg {

namespace {
// Events per kind (bit n = event n): 0-19 control kinds, 20 item, 21 popup.
constexpr uint32_t kFormEvents = 0x1FF8u | (0xFu << 17);
constexpr uint32_t kMasks[kEventKinds] = {
    kFormEvents, 0xF8, kFormEvents,
    1u << 1, 1u << 1, 1u << 1, 0,
    (1u << 2) | (1u << 5) | (1u << 6) | (1u << 19),
    (1u << 8) | (1u << 9) | (1u << 19),
    (1u << 2) | (1u << 5) | (1u << 6) | (1u << 8) | (1u << 9) | (1u << 19),
    1u << 2, 1u << 2,
    (1u << 2) | (1u << 5) | (1u << 6) | (1u << 8) | (1u << 9) | (1u << 19),
    0x1F00u | (1u << 19) | (1u << 20),
    0x3F00u,
    1u << 1, 1u << 15, 1u << 14, 1u << 16, 0,
    1u << 1, 1u << 0,
};
}  // namespace

uint32_t EventMask(uint32_t kind) { return kind < kEventKinds ? kMasks[kind] : 0; }

int EventCountOf(uint32_t kind) {
    uint32_t m = EventMask(kind);
    int n = 0;
    for (; m; m &= m - 1) ++n;
    return n;
}

int KthEvent(uint32_t kind, int k) {
    uint32_t m = EventMask(kind);
    for (int n = 0; n < kEventCount; ++n)
        if ((m >> n) & 1)
            if (k-- == 0) return n;
    return -1;
}

int EventIndexIn(uint32_t kind, int n) {
    uint32_t m = EventMask(kind);
    if (n < 0 || n >= kEventCount || !((m >> n) & 1)) return -1;
    int i = 0;
    for (int b = 0; b < n; ++b) i += (m >> b) & 1;
    return i;
}

std::string DefaultProcName(std::string_view name, int n, bool upper) {
    std::string s = std::string(name) + kEventNames[n].suffix;
    if (upper) s = prj::UpperSb(s);
    // The entry holds 31 bytes and its zero.
    return prj::CutSb(s, kProcNameSize - 1);
}

void EventTable::Add(uint32_t kind, uint32_t id, std::string_view name, bool upper, bool allBound) {
    EventBlock b;
    b.kind = uint16_t(kind);
    b.id = uint16_t(id);
    int count = EventCountOf(kind);
    for (int k = 0; k < count; ++k) {
        int n = KthEvent(kind, k);
        b.entries.push_back({uint16_t(n), 0, DefaultProcName(name, n, upper)});
    }
    b.bound = allBound ? uint16_t(count) : 0;
    blocks.push_back(std::move(b));
}

EventBlock *EventTable::Find(uint32_t id) {
    for (auto &b : blocks)
        if (b.id == uint16_t(id)) return &b;
    return nullptr;
}

bool EventTable::Bind(uint32_t kind, uint32_t id, int n, std::string_view proc) {
    int index = EventIndexIn(kind, n);
    EventBlock *b = Find(id);
    if (index < 0 || !b || b->kind != kind) return false;
    b->entries[index].proc = prj::CutSb(proc, kProcNameSize - 1);
    ++b->bound;
    return true;
}

bool EventTable::Remove(uint32_t id) {
    auto it = std::find_if(blocks.begin(), blocks.end(),
                           [&](const EventBlock &b) { return b.id == uint16_t(id); });
    if (it == blocks.end()) return false;
    blocks.erase(it);
    return true;
}

void EventTable::Move(size_t from, size_t to) {
    if (from >= blocks.size() || to >= blocks.size() || from == to) return;
    EventBlock b = std::move(blocks[from]);
    blocks.erase(blocks.begin() + from);
    blocks.insert(blocks.begin() + to, std::move(b));
}

}  // namespace dsg
