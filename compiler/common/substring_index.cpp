#include "substring_index.h"

namespace tx {

// State 0 is the root; no edge leads to it, so 0 doubles as "no edge".

void SubstringIndex::Begin(uint32_t id) {
    if (states_.empty())
        NewState(0, kNone, 0, 0);
    if (!begun_) {
        begun_ = true;
        firstId_ = id;
    }
    last_ = 0;
    id_ = id;
    offset_ = 0;
}

void SubstringIndex::Extend(const uint8_t *bytes, size_t n) {
    for (size_t i = 0; i < n; ++i, ++offset_)
        last_ = Add(last_, bytes[i]);
}

bool SubstringIndex::Find(const uint8_t *bytes, size_t n, uint32_t &id, uint32_t &pos) const {
    if (!begun_)
        return false;
    if (n == 0) {
        id = firstId_;
        pos = 0;
        return true;
    }
    uint32_t s = 0;
    for (size_t i = 0; i < n; ++i)
        if ((s = Target(s, bytes[i])) == 0)
            return false;
    id = states_[s].id;
    pos = uint32_t(states_[s].end + 1 - n);
    return true;
}

uint32_t SubstringIndex::NewState(uint32_t len, uint32_t link, uint32_t id, uint32_t end) {
    states_.push_back(State{len, link, id, end, kNone});
    return uint32_t(states_.size() - 1);
}

// A clone keeps the first occurrence of the state it splits: the end
// positions it gains are all later ones.
uint32_t SubstringIndex::Clone(uint32_t q, uint32_t len) {
    const State from = states_[q];
    const uint32_t c = NewState(len, from.link, from.id, from.end);
    for (uint32_t e = from.edges; e != kNone; e = edges_[e].next) {
        const Edge copy = edges_[e];
        SetTarget(c, copy.byte, copy.target);
    }
    return c;
}

uint32_t SubstringIndex::Target(uint32_t state, uint8_t c) const {
    if (state == 0)
        return rootEdge_[c];
    for (uint32_t e = states_[state].edges; e != kNone; e = edges_[e].next)
        if (edges_[e].byte == c)
            return edges_[e].target;
    return 0;
}

void SubstringIndex::SetTarget(uint32_t state, uint8_t c, uint32_t to) {
    if (state == 0) {
        rootEdge_[c] = to;
        return;
    }
    for (uint32_t e = states_[state].edges; e != kNone; e = edges_[e].next) {
        if (edges_[e].byte == c) {
            edges_[e].target = to;
            return;
        }
    }
    edges_.push_back(Edge{to, states_[state].edges, c});
    states_[state].edges = uint32_t(edges_.size() - 1);
}

// One byte more of the current text: the state of the whole text so far.
// A text that repeats a known prefix reuses (or splits off) its state
// instead of making a new one, so every state stands for strings of the
// texts themselves and never for a join of two.
uint32_t SubstringIndex::Add(uint32_t last, uint8_t c) {
    const uint32_t len = states_[last].len + 1;
    if (const uint32_t q = Target(last, c)) {
        if (states_[q].len == len)
            return q;
        const uint32_t clone = Clone(q, len);
        for (uint32_t p = last; p != kNone && Target(p, c) == q; p = states_[p].link)
            SetTarget(p, c, clone);
        states_[q].link = clone;
        return clone;
    }
    const uint32_t cur = NewState(len, 0, id_, offset_);
    uint32_t p = last;
    for (; p != kNone && Target(p, c) == 0; p = states_[p].link)
        SetTarget(p, c, cur);
    if (p == kNone)
        return cur;
    const uint32_t q = Target(p, c);
    if (states_[p].len + 1 == states_[q].len) {
        states_[cur].link = q;
        return cur;
    }
    const uint32_t clone = Clone(q, states_[p].len + 1);
    for (; p != kNone && Target(p, c) == q; p = states_[p].link)
        SetTarget(p, c, clone);
    states_[q].link = clone;
    states_[cur].link = clone;
    return cur;
}

} // namespace tx
