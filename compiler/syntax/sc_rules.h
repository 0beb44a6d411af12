// The rule program: the grammar of the dialect as data for the analysis
// machine, and the builder the grammar is written with. Rules name their
// jump targets by builder labels; the builder resolves them, so no opcode
// byte or entry index is written by hand.
#pragma once

#include <array>
#include <cstdint>
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

struct RuleProgram {
    std::vector<RuleEntry> rules;
    std::array<uint32_t, kStmtKinds> stmt{};
    std::array<uint32_t, kItemKinds> item{};
    std::array<uint32_t, kStatuses> status{};
};

// The error word a handler status becomes: (status × 256) + error, or 0
// for the statuses that count as accepted.
uint16_t StatusErrorWord(uint8_t status);

class RuleBuilder {
public:
    using Label = uint32_t;

    RuleBuilder();
    Label NewLabel();
    void Place(Label l);
    uint32_t Here() const { return uint32_t(prog_.rules.size()); }

    // Entry points.
    void StmtEntry(uint8_t kind, Label l);
    void ItemEntry(uint8_t sub, Label l);
    Label StatusEntry(uint8_t status) const { return statusLabel_[status]; }

    void IfToken(uint16_t w, Label t) { Emit(op::kIfToken, w, t); }
    void NeedToken(uint16_t w, Label orElse) { Emit(op::kNeedToken, w, orElse); }
    void IfClass(uint8_t c, Label t) { Emit(op::kIfClass, c, t); }
    void NeedClass(uint8_t c, Label orElse) { Emit(op::kNeedClass, c, orElse); }
    void IfItem(uint16_t w, Label t) { Emit(op::kIfItem, w, t); }
    void IfNotItem(uint16_t w, Label t) { Emit(op::kIfNotItem, w, t); }
    void IfItemCode(uint8_t c, Label t) { Emit(op::kIfItemCode, c, t); }
    void IfNotItemCode(uint8_t c, Label t) { Emit(op::kIfNotItemCode, c, t); }
    void Handler(uint8_t slot, uint8_t b = 0) { Emit(op::kCallHandler, uint16_t(slot | b << 8), kNone); }
    void IfStatus(uint8_t s, Label t) { Emit(op::kIfStatus, s, t); }
    void IfNotStatus(uint8_t s, Label t) { Emit(op::kIfNotStatus, s, t); }
    void StatusDispatch() { Emit(op::kStatusDispatch, 0, kNone); }
    void Call(Label t) { Emit(op::kCall, 0, t); }
    void CallByItem() { Emit(op::kCallByItem, 0, kNone); }
    void Return() { Emit(op::kReturn, 0, kNone); }
    void EmitItem(uint8_t code, uint8_t sub = 0) { Emit(op::kEmitItem, uint16_t(code | sub << 8), kNone); }
    void EmitToken() { Emit(op::kEmitToken, 0, kNone); }
    void EmitConstant(uint8_t type, uint8_t value) { Emit(op::kEmitConstant, uint16_t(type | value << 8), kNone); }
    void SkipTokens(uint8_t n) { Emit(op::kSkipTokens, n, kNone); }
    void BackTokens(uint8_t n) { Emit(op::kBackTokens, n, kNone); }
    void SkipItems(uint8_t n) { Emit(op::kSkipItems, n, kNone); }
    void BackItems(uint8_t n) { Emit(op::kBackItems, n, kNone); }
    void Jump(Label t) { Emit(op::kJump, 0, t); }
    void Restart() { Emit(op::kRestart, 0, kNone); }
    void SetKind(uint8_t k) { Emit(op::kSetKind, k, kNone); }
    void NextStatement() { Emit(op::kNextStatement, 0, kNone); }
    void End(uint16_t word) { Emit(op::kEnd, word, kNone); }
    // Jumps to the status table entry of `status` (an error end).
    void Fail(uint8_t status) { Jump(StatusEntry(status)); }

    // Resolves every label; a label used but never placed is a fault in
    // the grammar and throws.
    RuleProgram Finish();

private:
    static constexpr Label kNone = 0xFFFFFFFF;
    void Emit(uint16_t opcode, uint16_t operand, Label target);

    RuleProgram prog_;
    std::vector<uint32_t> labels_;
    std::array<Label, kStatuses> statusLabel_{};
    std::array<Label, kStmtKinds> stmtLabel_{};
    std::array<Label, kItemKinds> itemLabel_{};
};

// The dialect's grammar, built once.
const RuleProgram &Grammar();

}  // namespace txsc
