// The value types of the dialect (BasValueType numbering), the one list the
// preprocessor, the analyzer and the code generator all name. A type keyword,
// a name token, a constant token and every stream token that carries a type
// use these numbers.
#pragma once

#include <cstdint>

namespace bastype {

enum ValueType : uint8_t {
    kTypeInt = 0,      // 16-bit integer, suffix %
    kTypeLng = 1,      // 32-bit integer, suffix &
    kTypeSng = 2,      // single, suffix !  (the type of an undecorated name)
    kTypeDbl = 3,      // double, suffix #
    kTypeByt = 4,      // byte (no suffix)
    kTypeWord = 8,     // unsigned 16-bit: parameters of external routines only
    kTypeDword = 9,    // unsigned 32-bit: likewise
    kTypeStr = 16,     // variable-length string, suffix $; also the string-constant type
    kTypeFixStr = 17,  // fixed-length string (STRING * n)
    kTypeEmptyStr = 17, // as a constant type: the empty string, no value bytes
    kTypeBcd = 18,     // the decimal type; its storage belongs to the runtime
    kTypeFix = 19,     // the Fix string type; likewise
    kTypeRecord = 48,  // record of a user type
    kTypeObject = 64,  // OBJECT keyword: a 4-byte value passed like a 32-bit integer
    kTypeValue4 = 64,
    kTypeNull = 65,    // as a constant type: the null object
    kTypeAny = 80,     // ANY keyword
};

}  // namespace bastype
