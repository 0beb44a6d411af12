// Our stand-in for the piece that turns a watch expression's tokens (as
// PP_EdtChk mode 2 writes them) into the evaluator's P-code: constants,
// scalars, array elements, record members, operators with BASIC
// precedence, parentheses and the functions the evaluator serves. Names are
// looked up in the debugged program through WatchNames. No exceptions and
// no containers, so it can run inside a debuggee beside the evaluator.
#pragma once

#include <cstdint>

#include "evaluator.h"

namespace txwp {

class WatchNames {
 public:
  // The descriptor of the variable (an array when `array`), or 0 when the
  // program has none of that name. `type` is the type the name was written
  // with (its suffix or default type); a variable of that type is
  // preferred when the name has several.
  virtual uint32_t Variable(const char* name, uint32_t length, uint8_t type, bool array) = 0;
  // The descriptor of a member of the user type whose type record is given.
  virtual uint32_t Member(uint32_t typeRecord, const char* name, uint32_t length) = 0;

 protected:
  ~WatchNames() = default;
};

// Writes the P-code for the tokens into out; string constants refer to the
// normalised text (its address is the string-constant base). Returns 0, the
// tokeniser's error number, 2 for a malformed expression, 13 for operands
// of the wrong kind, 7 when the P-code does not fit.
int32_t ProduceWatchPcode(const uint8_t* tokens, uint32_t tokenBytes, const char* text,
                          txev::EvalMemory& memory, WatchNames& names, uint8_t* out,
                          uint32_t capacity, uint32_t* length);

}  // namespace txwp
