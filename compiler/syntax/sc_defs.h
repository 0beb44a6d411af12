// Units the analyzer reads and writes: the preprocessor's 4-byte tokens,
// the 6-byte analysed items, value types and the fixed buffer sizes.
#pragma once

#include <cstdint>

namespace txsc {

// One token unit of the token-code temporary. Constants carry their value
// in the bytes after the unit; names point into the source-list line.
struct Token {
    uint8_t cls;
    uint8_t kind;
    uint8_t off;
    uint8_t len;
    uint16_t word() const { return uint16_t(cls | kind << 8); }
};
static_assert(sizeof(Token) == 4);

constexpr uint16_t TokWord(uint8_t cls, uint8_t kind) { return uint16_t(cls | kind << 8); }

// Token classes the analysis treats specially.
namespace tc {
constexpr uint8_t kKeyword = 0x00, kClause = 0x10, kBinOp = 0x20, kPrefix = 0x28,
                  kPunct = 0x30, kFunc = 0x40, kName = 0x50, kNameParen = 0x60,
                  kConst = 0x70, kTypeKw = 0x90, kLabel = 0xA0, kLineNo = 0xA1,
                  kPpError = 0xF0, kEnd = 0xF1;
}

// Punctuation words every rule leans on.
constexpr uint16_t kTokOpen = 0x0030, kTokClose = 0x0130, kTokComma = 0x0230,
                   kTokSemi = 0x0330, kTokColon = 0x0430, kTokDot = 0x0530,
                   kTokEq = 0x2020, kTokAs = 0x0310, kTokStar = 0x1520,
                   kTokElse = 0x1100, kTokEndLine = 0x00F1;

// An analysed item: code, sub-code and a 32-bit value. Values that name
// records are handles (index + 1) into the analyzer's record tables, never
// host pointers, so the same bytes come out on every build.
struct Item {
    uint8_t code;
    uint8_t sub;
    uint32_t value;
    uint16_t word() const { return uint16_t(code | sub << 8); }
};

namespace ic {
constexpr uint8_t kHead = 0x00, kKeyword = 0x10, kOper = 0x20, kPrefix = 0x28,
                  kPunct = 0x30, kFunc = 0x40, kFuncArgs = 0x41, kCall = 0x42,
                  kLibCall = 0x43, kFuncEnd = 0x4F, kVar = 0x50, kMember = 0x51,
                  kFnResult = 0x52, kElem = 0x60, kElemMember = 0x61, kArray = 0x62,
                  kIndexEnd = 0x6F, kConst = 0x70, kLabel = 0xA0, kLineNo = 0xA1,
                  kBlockRef = 0xA2, kLabelValue = 0xA3, kExpr = 0xB0, kExprVal = 0xB1,
                  kExprRef = 0xB2, kExprTmp = 0xB3, kExprParen = 0xB4, kObject = 0xB5,
                  kObjectEnd = 0xBE, kExprEnd = 0xBF, kEnd = 0xF1, kSep = 0xF2;
}

// Value types (BasValueType numbering).
namespace vt {
constexpr uint8_t kInt = 0, kLng = 1, kSng = 2, kDbl = 3, kByt = 4, kWord = 8,
                  kLng2 = 9, kStr = 16, kFixStr = 17, kBcd = 18, kLenStr = 19,
                  kUser = 48, kObj = 64, kAny = 80, kEmptyStr = 17;
constexpr bool IsNumeric(uint8_t t) { return t < 16; }
constexpr bool IsStringGroup(uint8_t t) { return (t & 0xF0) == 0x10; }
}

// Fixed buffers of one line.
constexpr int kLineMax = 256;          // characters of a source-list line, line feed included
constexpr int kTokenBufBytes = 2048;   // tokens plus the F1 00 00 00 end mark
constexpr int kTokenMaxBytes = 2044;
constexpr int kItemMax = 608;
constexpr int kConstSlots = 128;
constexpr int kCallFrames = 254;
constexpr int kTraceEntries = 100;
constexpr int kLineBlockMax = 31;

}  // namespace txsc
