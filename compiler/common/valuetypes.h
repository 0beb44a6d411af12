// The value types of the dialect (BasValueType numbering), the one list the
// preprocessor, the analyzer and the code generator all name. A type keyword,
// a name token, a constant token and every stream token that carries a type
// use these numbers.
#pragma once

#include <cstdint>

namespace bastype {

// Plain bytes, as the tokens carry them (an enum would turn every mixed
// conditional into a warning).
using ValueType = uint8_t;
inline constexpr uint8_t kTypeInt = 0; // 16-bit integer, suffix %
inline constexpr uint8_t kTypeLng = 1; // 32-bit integer, suffix &
inline constexpr uint8_t kTypeSng = 2; // single, suffix !  (the type of an undecorated name)
inline constexpr uint8_t kTypeDbl = 3; // double, suffix #
inline constexpr uint8_t kTypeByt = 4; // byte (no suffix)
inline constexpr uint8_t kTypeWord = 8; // unsigned 16-bit: parameters of external routines only
inline constexpr uint8_t kTypeDword = 9; // unsigned 32-bit: likewise
inline constexpr uint8_t kTypeStr = 16; // variable-length string, suffix $; also the string-constant type
inline constexpr uint8_t kTypeFixStr = 17; // fixed-length string (STRING * n)
inline constexpr uint8_t kTypeEmptyStr = 17; // as a constant type: the empty string, no value bytes
inline constexpr uint8_t kTypeBcd = 18; // the decimal type; its storage belongs to the runtime
inline constexpr uint8_t kTypeFix = 19; // the Fix string type; likewise
inline constexpr uint8_t kTypeRecord = 48; // record of a user type
inline constexpr uint8_t kTypeObject = 64; // OBJECT keyword: a 4-byte value passed like a 32-bit integer
inline constexpr uint8_t kTypeValue4 = 64;
inline constexpr uint8_t kTypeNull = 65; // as a constant type: the null object
inline constexpr uint8_t kTypeAny = 80; // ANY keyword

}  // namespace bastype
