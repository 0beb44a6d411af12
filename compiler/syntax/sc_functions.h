// The intrinsic functions: code, argument pattern and result type. The
// grammar builds one argument rule per function from this table and the
// expression analysis takes the result type from it.
#pragma once

#include <cstdint>

namespace txsc {

// Argument letters: N integer, F single, D double, S string, X any numeric
// (keeps its type), A numeric or string, V a variable by reference, P the
// object prefix (never written; supplied as the null object). A lower-case
// letter is optional; '*' repeats the previous letter.
struct FuncSig {
    uint8_t code;
    const char *args;
    uint8_t result;
};

const FuncSig *FindFunction(uint8_t code);
const FuncSig *FunctionTable(int *count);

}  // namespace txsc
