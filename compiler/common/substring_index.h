// Where a byte string first stands in a growing set of texts: the earliest
// text, in the order they were added, and the first place in it, which is
// what a search text by text with find() gives. A look-up costs the length
// of what is looked for, whatever the size of the set, so a pool searched
// for every new entry does not grow quadratic (a suffix automaton whose
// states keep their first end position).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tx {

class SubstringIndex {
public:
    // Starts a new text named `id`; Extend adds its bytes, and may be called
    // again later to lengthen the last text begun.
    void Begin(uint32_t id);
    void Extend(const uint8_t *bytes, size_t n);

    // The first text holding `bytes` and where they start in it. The empty
    // string stands at the start of the first text begun.
    bool Find(const uint8_t *bytes, size_t n, uint32_t &id, uint32_t &pos) const;

private:
    static constexpr uint32_t kNone = 0xFFFFFFFF;
    struct State {
        uint32_t len;   // longest string of the state
        uint32_t link;  // suffix link
        uint32_t id;    // first occurrence: text and end offset in it
        uint32_t end;
        uint32_t edges; // first edge, kNone for none (the root uses rootEdge_)
    };
    struct Edge {
        uint32_t target;
        uint32_t next;
        uint8_t byte;
    };

    uint32_t Add(uint32_t last, uint8_t c);
    uint32_t NewState(uint32_t len, uint32_t link, uint32_t id, uint32_t end);
    uint32_t Clone(uint32_t q, uint32_t len);
    uint32_t Target(uint32_t state, uint8_t c) const;
    void SetTarget(uint32_t state, uint8_t c, uint32_t to);

    std::vector<State> states_;
    std::vector<Edge> edges_;
    uint32_t rootEdge_[256] = {}; // the root has the most edges: one slot each
    uint32_t last_ = 0, id_ = 0, offset_ = 0;
    bool begun_ = false;
    uint32_t firstId_ = 0;
};

} // namespace tx
