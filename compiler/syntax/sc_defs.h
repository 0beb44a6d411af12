// Units the analyzer reads and writes: the preprocessor's 4-byte tokens,
// the 6-byte analysed items, value types and the fixed buffer sizes.
#pragma once

#include <cstdint>

#include "intermediate.h"
#include "passerror.h"
#include "tokens.h"
#include "valuetypes.h"

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

constexpr uint16_t TokWord(uint8_t cls, uint8_t kind) { return tok::Word(cls, kind); }

// Punctuation words every rule leans on (token classes and words: tokens.h).
constexpr uint16_t kTokOpen = tok::tw::kLPAREN, kTokClose = tok::tw::kRPAREN,
                   kTokComma = tok::tw::kCOMMA, kTokSemi = tok::tw::kSEMICOLON,
                   kTokColon = tok::tw::kCOLON, kTokDot = tok::tw::kPERIOD,
                   kTokEq = tok::tw::kEQ, kTokAs = tok::tw::kAS, kTokStar = tok::tw::kTIMES,
                   kTokElse = tok::tw::kELSE, kTokEndLine = tok::tw::kEnd;

// An analysed item: code, sub-code and a 32-bit value. Values that name
// records are handles (index + 1) into the analyzer's record tables, never
// host pointers, so the same bytes come out on every build.
struct Item {
    uint8_t code;
    uint8_t sub;
    uint32_t value;
    uint16_t word() const { return uint16_t(code | sub << 8); }
};

// Item codes are the stream's token kinds (intermediate.h), under the names
// the analysis gives them.
namespace ic {
using namespace ifile;
constexpr uint8_t kHead = kTokStatement, kKeyword = kTokKeyword, kOper = kTokOperator,
                  kPrefix = tok::kClsPrefix, kPunct = tok::kClsPunct, kFunc = kTokIntrinsic,
                  kFuncArgs = kTokOwnFunc, kCall = kTokDeclFunc, kLibCall = kTokLibFunc,
                  kFuncEnd = kTokArgListEnd, kVar = kTokVar, kMember = kTokMember,
                  kFnResult = kTokElement, kElem = kTokArray, kElemMember = kTokSubscript,
                  kArray = kTokArrayAddr, kIndexEnd = kTokSubscriptEnd, kConst = kTokConstant,
                  kLabel = kTokLabel, kLineNo = kTokLineNumber, kBlockRef = kTokParamBlock,
                  kLabelValue = kTokLabelValue, kExpr = kTokValue, kExprVal = kTokExpression,
                  kExprRef = kTokByRef, kExprTmp = kTokByRefExpr, kExprParen = kTokByRefParen,
                  kObject = kTokGroup, kObjectEnd = kTokGroupEnd, kExprEnd = kTokExprEnd,
                  kEnd = kTokRecordEnd, kSep = kTokSeparator;
}

// Error and detail codes of the pass: passerror.h.
using enum tx::PassError;
using enum tx::PassDetail;

// Value types: valuetypes.h.
using namespace bastype;
namespace vt {
constexpr bool IsNumeric(uint8_t t) { return t < 16; }
constexpr bool IsStringGroup(uint8_t t) { return (t & 0xF0) == 0x10; }
}

// Forms of a declared routine (its record's block field): 0 plain, 1 CDECL,
// 2 TXDECL, 3 EDECL, which takes a hidden object as its first argument.
constexpr uint8_t kFormCdecl = 1, kFormTxdecl = 2, kFormObject = 3;

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
