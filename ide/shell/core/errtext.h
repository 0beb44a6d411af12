// Texts of runtime and checker error numbers: the message comes from the
// outside error-text library, the detail from the IDE's string table.
#pragma once

#include <cstdint>
#include <string>

namespace tambrix {

struct ErrorDetailRow {
    uint16_t code;
    uint32_t stringId;  // 0: no text
    uint32_t nextLine;
    uint32_t parenthesis;
};

// Rows for the detail codes 1-125 in order, then a row with code 0.
extern const ErrorDetailRow kRuntimeErrorDetailTable[126];

// The row of a detail code, or nullptr.
const ErrorDetailRow* FindErrorDetail(unsigned code);

class ErrorTextSource {
public:
    virtual ~ErrorTextSource() = default;
    // The library's message for a number; false when the library, its
    // export or the installation folder is missing.
    virtual bool LibraryMessage(uint16_t number, std::string& text) = 0;
    // A string of the IDE's string table; empty when it has none.
    virtual std::string String(uint32_t id) = 0;
};

// False when no text was made; out is then untouched.
bool FormatRuntimeErrorText(ErrorTextSource& src, unsigned errorNumber, std::string& out,
                            bool nextLine, bool withDetail, bool wholeNumber);

}  // namespace tambrix
