#include "error_line.h"

#include "sjis_path.h"

namespace prj {

namespace {

constexpr auto npos = std::string_view::npos;

// Leading blanks skipped, decimal digits up to the first other character.
uint32_t LeadingNumber(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size() && s[i] == ' ')
        ++i;
    uint32_t v = 0;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i)
        v = v * 10 + static_cast<uint32_t>(s[i] - '0');
    return v;
}

}  // namespace

bool ParseErrorLine(std::string_view text, ErrorLineTarget &out) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    if (text.empty())
        return false;
    // The message text is Shift-JIS: "ー" is 0x81 0x5B, so '[' is searched
    // for outside double-byte characters only.
    const std::size_t bracket = FindLastSb(text, '[');
    if (bracket == npos || bracket < 2)
        return false;
    const std::size_t b = bracket - 2;  // the two bytes that end the line field
    // The line field lies before the bracket; a '*' in the message is not it.
    const std::size_t a = b == 0 ? npos : FindLastSbUpTo(text, '*', b - 1);
    std::string_view number;
    std::string_view name;
    if (a != npos) {
        number = text.substr(a + 1, b - a - 1);
        std::size_t blank = FindLastSbUpTo(text, ' ', a);
        if (blank == npos)
            return false;
        name = text.substr(0, blank);
    } else {
        std::size_t blank = b == 0 ? npos : FindLastSbUpTo(text, ' ', b - 1);
        if (blank == npos)
            return false;
        number = text.substr(blank, b - blank);
        name = text.substr(0, blank);
    }
    const uint32_t line = LeadingNumber(number);
    if (line == 0)
        return false;
    while (!name.empty() && name.back() == ' ')
        name.remove_suffix(1);
    if (name.empty())
        return false;
    out.file = std::string(name);
    out.line = static_cast<int>(line);
    return true;
}

MessageNumberParse ParseMessageNumber(std::string_view text, uint32_t &number) {
    const std::size_t close = FindFirstSb(text, ']');
    if (close == npos)
        return MessageNumberParse::kNone;
    const std::size_t open = FindFirstSb(text, '[');
    std::string_view digits;
    if (open == npos)
        digits = text.substr(0, close);
    else if (close < open)
        return MessageNumberParse::kNone;
    else
        digits = text.substr(open + 1, close - open - 1);
    number = LeadingNumber(digits);
    return number == 0 ? MessageNumberParse::kZero : MessageNumberParse::kNumber;
}

}  // namespace prj
