// The rule program: the grammar of the dialect as data for the analysis
// machine, and the builder the grammar is written with. Rules name their
// jump targets by builder labels; the builder resolves them while the
// analyzer is compiled, so no opcode byte or entry index is written by
// hand and a label that is never placed fails the build.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace txsc {

namespace op {
constexpr uint16_t kIfToken = 0x10, kNeedToken = 0x11, kIfClass = 0x12, kNeedClass = 0x13,
                   kIfItem = 0x20, kIfNotItem = 0x21, kIfItemCode = 0x22, kIfNotItemCode = 0x23,
                   kCallHandler = 0x30, kIfStatus = 0x31, kIfNotStatus = 0x32,
                   kStatusDispatch = 0x33, kCall = 0x50, kCallByItem = 0x51, kReturn = 0x52,
                   kEmitItem = 0x60, kEmitToken = 0x61, kEmitConstant = 0x62, kSkipTokens = 0x70,
                   kBackTokens = 0x71, kSkipItems = 0x72, kBackItems = 0x73, kJump = 0x80,
                   kRestart = 0x81, kSetKind = 0x90, kNextStatement = 0xA0, kEnd = 0xF0;
}

struct RuleEntry {
    uint16_t op;
    uint8_t a, b;
    uint32_t target;
};

constexpr int kStmtKinds = 240, kItemKinds = 198, kStatuses = 126, kHandlerSlots = 146;
constexpr uint32_t kNoRule = 0xFFFFFFFF;

// The machine's view of the program: the entries and the three entry
// tables (an empty table entry is kNoRule).
struct RuleProgram {
    std::span<const RuleEntry> rules;
    std::span<const uint32_t, kStmtKinds> stmt;
    std::span<const uint32_t, kItemKinds> item;
    std::span<const uint32_t, kStatuses> status;
};

// The error word a handler status becomes: (status × 256) + error, or 0
// for the statuses that count as accepted.
constexpr uint16_t StatusErrorWord(uint8_t s) {
    struct Range { uint8_t lo, hi, error; };
    constexpr Range kRanges[] = {
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

// What the builder produces: the entries and the entry tables.
struct BuiltProgram {
    std::vector<RuleEntry> rules;
    std::array<uint32_t, kStmtKinds> stmt{};
    std::array<uint32_t, kItemKinds> item{};
    std::array<uint32_t, kStatuses> status{};
};

class RuleBuilder {
public:
    using Label = uint32_t;

    constexpr RuleBuilder() {
        for (int s = 0; s < kStatuses; ++s) statusLabel_[s] = NewLabel();
        stmtLabel_.fill(kNone);
        itemLabel_.fill(kNone);
    }
    constexpr Label NewLabel() {
        labels_.push_back(kNoRule);
        return Label(labels_.size() - 1);
    }
    constexpr void Place(Label l) {
        if (labels_.at(l) != kNoRule) Fault("grammar label placed twice");
        labels_[l] = Here();
    }
    constexpr uint32_t Here() const { return uint32_t(prog_.rules.size()); }

    // Entry points.
    constexpr void StmtEntry(uint8_t kind, Label l) {
        if (kind >= kStmtKinds) Fault("statement kind out of range");
        stmtLabel_[kind] = l;
    }
    constexpr void ItemEntry(uint8_t sub, Label l) {
        if (sub >= kItemKinds) Fault("item kind out of range");
        itemLabel_[sub] = l;
    }
    constexpr Label StatusEntry(uint8_t status) const { return statusLabel_[status]; }

    constexpr void IfToken(uint16_t w, Label t) { Emit(op::kIfToken, w, t); }
    constexpr void NeedToken(uint16_t w, Label orElse) { Emit(op::kNeedToken, w, orElse); }
    constexpr void IfClass(uint8_t c, Label t) { Emit(op::kIfClass, c, t); }
    constexpr void NeedClass(uint8_t c, Label orElse) { Emit(op::kNeedClass, c, orElse); }
    constexpr void IfItem(uint16_t w, Label t) { Emit(op::kIfItem, w, t); }
    constexpr void IfNotItem(uint16_t w, Label t) { Emit(op::kIfNotItem, w, t); }
    constexpr void IfItemCode(uint8_t c, Label t) { Emit(op::kIfItemCode, c, t); }
    constexpr void IfNotItemCode(uint8_t c, Label t) { Emit(op::kIfNotItemCode, c, t); }
    constexpr void Handler(uint8_t slot, uint8_t b = 0) { Emit(op::kCallHandler, uint16_t(slot | b << 8), kNone); }
    constexpr void IfStatus(uint8_t s, Label t) { Emit(op::kIfStatus, s, t); }
    constexpr void IfNotStatus(uint8_t s, Label t) { Emit(op::kIfNotStatus, s, t); }
    constexpr void StatusDispatch() { Emit(op::kStatusDispatch, 0, kNone); }
    constexpr void Call(Label t) { Emit(op::kCall, 0, t); }
    constexpr void CallByItem() { Emit(op::kCallByItem, 0, kNone); }
    constexpr void Return() { Emit(op::kReturn, 0, kNone); }
    constexpr void EmitItem(uint8_t code, uint8_t sub = 0) { Emit(op::kEmitItem, uint16_t(code | sub << 8), kNone); }
    constexpr void EmitToken() { Emit(op::kEmitToken, 0, kNone); }
    constexpr void EmitConstant(uint8_t type, uint8_t value) {
        Emit(op::kEmitConstant, uint16_t(type | value << 8), kNone);
    }
    constexpr void SkipTokens(uint8_t n) { Emit(op::kSkipTokens, n, kNone); }
    constexpr void BackTokens(uint8_t n) { Emit(op::kBackTokens, n, kNone); }
    constexpr void SkipItems(uint8_t n) { Emit(op::kSkipItems, n, kNone); }
    constexpr void BackItems(uint8_t n) { Emit(op::kBackItems, n, kNone); }
    constexpr void Jump(Label t) { Emit(op::kJump, 0, t); }
    constexpr void Restart() { Emit(op::kRestart, 0, kNone); }
    constexpr void SetKind(uint8_t k) { Emit(op::kSetKind, k, kNone); }
    constexpr void NextStatement() { Emit(op::kNextStatement, 0, kNone); }
    constexpr void End(uint16_t word) { Emit(op::kEnd, word, kNone); }
    // Jumps to the status table entry of `status` (an error end).
    constexpr void Fail(uint8_t status) { Jump(StatusEntry(status)); }

    // Appends the status table (one end entry per status, carrying its
    // error word) and resolves every label.
    constexpr BuiltProgram Finish() {
        for (int s = 0; s < kStatuses; ++s) {
            Place(statusLabel_[s]);
            End(StatusErrorWord(uint8_t(s)));
        }
        for (RuleEntry &e : prog_.rules) e.target = Resolve(e.target);
        for (int k = 0; k < kStmtKinds; ++k) prog_.stmt[k] = Resolve(stmtLabel_[k]);
        for (int k = 0; k < kItemKinds; ++k) prog_.item[k] = Resolve(itemLabel_[k]);
        for (int s = 0; s < kStatuses; ++s) prog_.status[s] = Resolve(statusLabel_[s]);
        return prog_;
    }

private:
    static constexpr Label kNone = 0xFFFFFFFF;

    // Evaluated while the analyzer is compiled, a throw is a build error.
    [[noreturn]] static void Fault(const char *why) { throw why; }

    constexpr uint32_t Resolve(Label l) const {
        if (l == kNone) return kNoRule;
        if (labels_.at(l) == kNoRule) Fault("grammar label never placed");
        return labels_[l];
    }
    constexpr void Emit(uint16_t opcode, uint16_t operand, Label target) {
        prog_.rules.push_back(RuleEntry{opcode, uint8_t(operand & 0xFF), uint8_t(operand >> 8), target});
    }

    BuiltProgram prog_;
    std::vector<uint32_t> labels_;
    std::array<Label, kStatuses> statusLabel_{};
    std::array<Label, kStmtKinds> stmtLabel_{};
    std::array<Label, kItemKinds> itemLabel_{};
};

// The dialect's grammar, built at compile time.
const RuleProgram &Grammar();

}  // namespace txsc
