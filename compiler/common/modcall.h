// Words of the module calls that generated code pushes for the runtime:
// the typed reference lists of CALLS and DEF PARM, the parameter words
// a module routine's checked entry hands to $PbTypeCheck, and what CALLM
// hands a machine-code routine for a string.
#pragma once

#include <cstdint>

namespace modcall {

// A typed reference list item is {type word, address}; the type word is the
// value type of the variable (strings 16), or one of these.
inline constexpr uint32_t kRefDouble = 32;   // an expression's value in a double temporary
inline constexpr uint32_t kRefOmitted = 33;  // an argument left out; its address is 0
inline constexpr uint32_t kRefArray = 0x100; // added: an array, its control record's address

// A checked entry's parameter word: the value type, kRefArray for an array
// parameter, and this bit when a default value follows it.
inline constexpr uint32_t kParamDefault = 0x200;

// A string descriptor is {capacity, length, text address}: CALLM passes a
// string as the word at this offset.
inline constexpr int32_t kDescriptorText = 8;

}  // namespace modcall
