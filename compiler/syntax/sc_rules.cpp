#include "sc_rules.h"

#include <stdexcept>

namespace txsc {

uint16_t StatusErrorWord(uint8_t s) {
    struct Range { uint8_t lo, hi, error; };
    static const Range kRanges[] = {
        {1, 3, 1},     {4, 57, 2},    {58, 58, 5},   {59, 60, 6},   {63, 63, 9},
        {64, 67, 10},  {70, 70, 11},  {71, 74, 13},  {79, 79, 18},  {80, 82, 22},
        {84, 84, 23},  {85, 85, 24},  {86, 86, 25},  {87, 92, 27},  {95, 95, 28},
        {96, 99, 29},  {102, 102, 30}, {103, 103, 31}, {104, 104, 38}, {105, 106, 39},
        {107, 118, 76}, {119, 120, 82}, {121, 121, 85}, {122, 124, 89}, {125, 125, 90},
    };
    for (const Range &r : kRanges)
        if (s >= r.lo && s <= r.hi) return uint16_t(s << 8 | r.error);
    return 0;
}

RuleBuilder::RuleBuilder() {
    for (int s = 0; s < kStatuses; ++s) statusLabel_[s] = NewLabel();
    stmtLabel_.fill(kNone);
    itemLabel_.fill(kNone);
}

RuleBuilder::Label RuleBuilder::NewLabel() {
    labels_.push_back(kNoRule);
    return Label(labels_.size() - 1);
}

void RuleBuilder::Place(Label l) {
    if (labels_.at(l) != kNoRule) throw std::logic_error("grammar label placed twice");
    labels_[l] = Here();
}

void RuleBuilder::StmtEntry(uint8_t kind, Label l) {
    if (kind >= kStmtKinds) throw std::logic_error("statement kind out of range");
    stmtLabel_[kind] = l;
}

void RuleBuilder::ItemEntry(uint8_t sub, Label l) {
    if (sub >= kItemKinds) throw std::logic_error("item kind out of range");
    itemLabel_[sub] = l;
}

void RuleBuilder::Emit(uint16_t opcode, uint16_t operand, Label target) {
    prog_.rules.push_back(RuleEntry{opcode, uint8_t(operand & 0xFF), uint8_t(operand >> 8), target});
}

RuleProgram RuleBuilder::Finish() {
    // The status table: one end entry per status, carrying its error word.
    for (int s = 0; s < kStatuses; ++s) {
        Place(statusLabel_[s]);
        End(StatusErrorWord(uint8_t(s)));
    }
    auto resolve = [&](Label l) -> uint32_t {
        if (l == kNone) return kNoRule;
        if (labels_.at(l) == kNoRule) throw std::logic_error("grammar label never placed");
        return labels_[l];
    };
    for (RuleEntry &e : prog_.rules) e.target = resolve(e.target);
    for (int k = 0; k < kStmtKinds; ++k) prog_.stmt[k] = resolve(stmtLabel_[k]);
    for (int k = 0; k < kItemKinds; ++k) prog_.item[k] = resolve(itemLabel_[k]);
    for (int s = 0; s < kStatuses; ++s) prog_.status[s] = resolve(statusLabel_[s]);
    return std::move(prog_);
}

}  // namespace txsc
