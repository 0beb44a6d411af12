#include "linecheck.h"

#include "tokens.h"

#include <cstring>

namespace scl {

namespace {

constexpr uint8_t kLParen = 0x00, kRParen = 0x01, kColon = 0x04;
// Only "=" makes a line led by a typed name an assignment.
constexpr uint8_t kOpEqual = 0x20;

size_t UnitSize(const unsigned char *t) {
    if (t[0] == tok::kClsConstant && t[1] < 5)
        return tok::kConstSize[t[1]];
    return 4;
}

// A name's unit covers the name without its type suffix.
bool HasTypeSuffix(const char *text, const unsigned char *unit) {
    char next = text[unit[2] + unit[3]];
    return next != '\0' && std::strchr("$%&!#", next) != nullptr;
}

Fault At(uint8_t detail, const unsigned char *unit, uint8_t extra = 0) {
    return {static_cast<uint16_t>(tok::kErrSyntax | detail << 8), unit[2],
            static_cast<uint8_t>(unit[3] + extra)};
}

}  // namespace

Fault CheckLine(const char *text, const unsigned char *tokens) {
    const unsigned char *t = tokens;
    if (t[0] == tok::kClsError)
        return {static_cast<uint16_t>(t[1]), t[2], t[3]};
    int depth = 0;
    const unsigned char *firstOpen = nullptr;
    bool atStatementStart = true;
    const unsigned char *leadingName = nullptr;
    bool sawEqual = false;
    auto endStatement = [&]() -> bool {
        bool bad = leadingName && !sawEqual;
        return bad;
    };
    for (; t[0] != tok::kClsEnd; t += UnitSize(t)) {
        uint8_t cls = t[0], kind = t[1];
        if (cls == tok::kClsError)
            return {static_cast<uint16_t>(kind), t[2], t[3]};
        if (atStatementStart && (cls == tok::kClsLabel || cls == tok::kClsLineNumber))
            continue;
        if (atStatementStart) {
            atStatementStart = false;
            bool punct = cls == tok::kClsPunct && kind != kColon;
            if (cls == tok::kClsOperator || punct)
                return At(kDetailLeadingWord, t);
            if ((cls == tok::kClsName || cls == tok::kClsNameParen) && HasTypeSuffix(text, t))
                leadingName = t;
            // A REM or ' ends the checking: the rest is a comment.
            if (cls == tok::kClsStatement && kind <= 1)
                break;
        }
        if (cls == tok::kClsNameParen || (cls == tok::kClsPunct && kind == kLParen)) {
            if (depth++ == 0)
                firstOpen = t;
        } else if (cls == tok::kClsPunct && kind == kRParen) {
            if (depth == 0)
                return At(kDetailExtraClose, t);
            --depth;
        } else if (cls == tok::kClsOperator && kind == kOpEqual && depth == 0) {
            sawEqual = true;
        } else if (cls == tok::kClsPunct && kind == kColon && depth == 0) {
            if (endStatement())
                return At(kDetailLeadingWord, leadingName, 1);
            atStatementStart = true;
            leadingName = nullptr;
            sawEqual = false;
        }
    }
    if (depth > 0)
        return At(kDetailOpenParen, firstOpen);
    if (endStatement())
        return At(kDetailLeadingWord, leadingName, 1);
    return {};
}

}  // namespace scl
