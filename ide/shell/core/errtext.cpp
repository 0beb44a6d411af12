#include "errtext.h"

#include <cstdio>

namespace tambrix {

const ErrorDetailRow* FindErrorDetail(unsigned code) {
    for (const ErrorDetailRow* r = kRuntimeErrorDetailTable; r->code != 0; ++r) {
        if (r->code == code)
            return r;
    }
    return nullptr;
}

bool FormatRuntimeErrorText(ErrorTextSource& src, unsigned errorNumber, std::string& out,
                            bool nextLine, bool withDetail, bool wholeNumber) {
    unsigned number = wholeNumber ? errorNumber : errorNumber % 256;
    unsigned detail = wholeNumber ? 0 : errorNumber / 256;
    std::string message;
    if (!src.LibraryMessage(static_cast<uint16_t>(number), message))
        return false;

    std::string detailText;
    const ErrorDetailRow* row = detail ? FindErrorDetail(detail) : nullptr;
    if (row && row->stringId)
        detailText = src.String(row->stringId);

    char head[16];
    std::snprintf(head, sizeof head, "[%02u] ", number);
    std::string text = head + message;
    if (row && !detailText.empty() && withDetail) {
        if (nextLine && row->nextLine)
            text += "\n(" + detailText + ")";
        else if (!nextLine && row->parenthesis)
            text += " (" + detailText + ")";
    }
    out = text;
    return true;
}

}  // namespace tambrix
