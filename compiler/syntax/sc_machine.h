// What the statement-semantics handlers see of the analysis machine: the
// token cursor, the item buffer, the operands of the calling rule entry and
// the status byte. Handlers take the pass and return nothing; they answer
// through p.status.
#pragma once

#include <cstdint>
#include <string_view>

#include "sc_pass.h"
#include "sc_rules.h"
#include "stmterror.h"

namespace txsc {

using Handler = void (*)(ScPass &);
extern const Handler kHandlers[kHandlerSlots];

// Token at the cursor; the end mark once the cursor is past the tokens.
const Token &CurToken(const ScPass &p);
// The last consumed token (the end mark when none).
const Token &LastToken(const ScPass &p);
void Consume(ScPass &p);
// The bytes of a constant's value after its unit, or null when they would
// run past the record.
const uint8_t *ConstBytes(ScPass &p, int unitOffset, int size);

// Writes an item at the output cursor. A full buffer ends the line with
// error 89 instead of writing past it; the result says whether it fit.
bool PutItem(ScPass &p, uint8_t code, uint8_t sub, uint32_t value = 0);
Item *LastItem(ScPass &p);
// Inserts or removes items at an index, moving the rest.
bool InsertItems(ScPass &p, int at, const Item *src, int n);
void RemoveItems(ScPass &p, int at, int n);

// A new constant slot holding `c`, -1 (and the line ends with error 89)
// when the 128 slots are used up.
int NewSlot(ScPass &p, const Cst &c);
Cst SlotValue(const ScPass &p, const Item &constItem);
void SetSlot(ScPass &p, const Item &constItem, const Cst &c);

uint8_t RuleA(const ScPass &p);
uint8_t RuleB(const ScPass &p);

// Fills the template from the token just consumed (name, type, suffix).
void TemplateFromToken(ScPass &p, const Token &t);

// The emission of the rule machine's error words of its own.
using tx::stmterr::kErrNotInMode, tx::stmterr::kErrNotInDecl, tx::stmterr::kErrNoStart,
    tx::stmterr::kErrLabelTwice, tx::stmterr::kErrStackFull, tx::stmterr::kErrBadOpcode;

}  // namespace txsc
