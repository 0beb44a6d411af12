// Event tables: for a form and each of its controls (or each item of a
// menu) the events of its kind and the procedure bound to each.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace dsg {

constexpr int kEventCount = 21;
constexpr int kEventKinds = 22;  // control kinds 0-19, 20 menu item, 21 popup
constexpr uint16_t kEventCodeBase = 100;
constexpr size_t kProcNameSize = 32;

struct EventName {
    const char *suffix;
    const char *caption;  // Shift-JIS
    const char *keyword;
};
extern const EventName kEventNames[kEventCount];

// Which events a kind has (bit n = event n).
uint32_t EventMask(uint32_t eventKind);
int EventCountOf(uint32_t eventKind);
int KthEvent(uint32_t eventKind, int k);       // -1 when none
int EventIndexIn(uint32_t eventKind, int n);  // -1 when the kind lacks it

struct EventEntry {
    uint16_t event = 0;
    uint16_t mark = 0;
    std::string proc;  // at most 31 bytes
};

struct EventBlock {
    uint16_t kind = 0;
    uint16_t id = 0;
    uint16_t bound = 0;
    std::vector<EventEntry> entries;
};

struct EventTable {
    std::vector<EventBlock> blocks;

    // Appends the block of an object named `name`; `upper` for forms and
    // controls; `allBound` for objects made in the designer.
    void Add(uint32_t kind, uint32_t id, std::string_view name, bool upper, bool allBound);
    EventBlock *Find(uint32_t id);
    // Binds a procedure to event n of the block with this id; false when
    // there is no such block or the kind lacks the event.
    bool Bind(uint32_t kind, uint32_t id, int n, std::string_view proc);
    bool Remove(uint32_t id);
    void Move(size_t from, size_t to);
};

// The default procedure name, cut to 31 bytes at a character boundary.
std::string DefaultProcName(std::string_view name, int n, bool upper);

}  // namespace dsg
