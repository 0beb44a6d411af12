// The token numbering shared by the preprocessor (outside/txpp), the syntax
// analyzer's rule program and the line checkers. This file is the one place
// where a keyword gets its class and kind; tokens.md beside it says why the
// numbers are what they are and how the token streams are laid out.
//
// A token unit is 4 bytes {class, kind, offset, length}; a token word is
// class | kind << 8 (class in the low byte), as the rule program compares it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "valuetypes.h"

namespace tok {

// ---- classes -------------------------------------------------------------
enum Class : uint8_t {
    kClsStatement = 0x00,  // statement keyword; kind = the statement code
    kClsClause = 0x10,     // clause keyword (THEN, AS, TO ...); a few start statements
    kClsOperator = 0x20,   // binary operator; kind = operator code
    kClsPrefix = 0x28,     // prefix operator NOT
    kClsPunct = 0x30,      // punctuation and separators
    kClsFunction = 0x40,   // intrinsic function; kind = function code
    kClsName = 0x50,       // name; kind = value type
    kClsNameParen = 0x60,  // name written directly before "(" (the "(" is part of it)
    kClsConstant = 0x70,   // constant; kind = value type, value bytes follow
    kClsDataItem = 0x80,   // raw text of one DATA item (offset, length)
    kClsType = 0x90,       // type keyword; kind = value type
    kClsLabel = 0xA0,      // *NAME: kind 0 at the line start, 1 as an operand
    kClsLineNumber = 0xA1, // line number: kind 0 at the line start, 1 as an operand
    kClsError = 0xF0,      // error found while tokenising; kind = error number
    kClsEnd = 0xF1,        // end of the line (token buffers only)
};

constexpr uint16_t Word(uint8_t cls, uint8_t kind) {
    return static_cast<uint16_t>(cls | kind << 8);
}
constexpr uint8_t ClassOf(uint16_t word) { return static_cast<uint8_t>(word & 0xFF); }
constexpr uint8_t KindOf(uint16_t word) { return static_cast<uint8_t>(word >> 8); }

// ---- value types (kinds of names, constants and type keywords): valuetypes.h
using namespace bastype;

// Bytes a constant takes in a token stream, head included, by type 0-4.
// A string constant is a plain 4-byte unit {0x70, 16, offset, length}.
inline constexpr uint8_t kConstSize[5] = {6, 8, 8, 12, 5};

// ---- limits both token streams keep ----------------------------------------
inline constexpr int kMaxLineText = 255;      // source-list line without its LF
inline constexpr int kMaxRecordTokens = 2044; // token bytes of one token-code record
inline constexpr int kEdtChkBufSize = 1600;   // PP_EdtChk token buffer
inline constexpr int kMaxLineNumberDigits = 5;

// Error numbers the tokeniser puts into {0xF0, n, column, length}; they are
// numbers of the analyzer's statement error table and the runtime's texts.
enum TokError : uint8_t {
    kErrSyntax = 2,    // bad character, broken double-byte character, open string, ...
    kErrOverflow = 6,  // numeric constant out of its type's range
    kErrWorkArea = 89, // the line's tokens do not fit
};

// ---- keywords ------------------------------------------------------------
// X(identifier, spelling, class, kind). Spellings are upper case; a keyword
// is recognised in any case as a whole word ("$" and "@" belong to the word).
#define TX_KEYWORDS(X)                                          \
    /* statements: kind = statement code */                     \
    X(REM, "REM", 0x00, 0x00)                                   \
    X(APOSTROPHE, "'", 0x00, 0x01)                              \
    X(IF, "IF", 0x00, 0x10)                                     \
    X(ELSE, "ELSE", 0x00, 0x11)                                 \
    X(ELSEIF, "ELSEIF", 0x00, 0x12)                             \
    X(CASE, "CASE", 0x00, 0x15)                                 \
    X(EXIT, "EXIT", 0x00, 0x19)                                 \
    X(END, "END", 0x00, 0x1A)                                   \
    X(TYPE, "TYPE", 0x00, 0x1B)                                 \
    X(FOR, "FOR", 0x00, 0x20)                                   \
    X(NEXT, "NEXT", 0x00, 0x21)                                 \
    X(WHILE, "WHILE", 0x00, 0x22)                               \
    X(WEND, "WEND", 0x00, 0x23)                                 \
    X(DO, "DO", 0x00, 0x24)                                     \
    X(LOOP, "LOOP", 0x00, 0x25)                                 \
    X(PARAM, "PARAM", 0x00, 0x2A)                               \
    X(RETURNS, "RETURNS", 0x00, 0x2B)                           \
    X(CALLS, "CALLS", 0x00, 0x2C)                               \
    X(LOADM, "LOADM", 0x00, 0x2D)                               \
    X(DELETEM, "DELETEM", 0x00, 0x2E)                           \
    X(CALLM, "CALLM", 0x00, 0x2F)                               \
    X(FUNCTION, "FUNCTION", 0x00, 0x31)                         \
    X(SUB, "SUB", 0x00, 0x35)                                   \
    X(CALL, "CALL", 0x00, 0x38)                                 \
    X(COMMON, "COMMON", 0x00, 0x39)                             \
    X(DIM, "DIM", 0x00, 0x3B)                                   \
    X(SHARED, "SHARED", 0x00, 0x3D)                             \
    X(STATIC, "STATIC", 0x00, 0x3E)                             \
    X(DEFINT, "DEFINT", 0x00, 0x44)                             \
    X(DEFLNG, "DEFLNG", 0x00, 0x45)                             \
    X(DEFSNG, "DEFSNG", 0x00, 0x46)                             \
    X(DEFDBL, "DEFDBL", 0x00, 0x47)                             \
    X(DEFBYT, "DEFBYT", 0x00, 0x48)                             \
    X(DEFSTR, "DEFSTR", 0x00, 0x49)                             \
    X(BEEP, "BEEP", 0x00, 0x4A)                                 \
    X(STOPI, "STOPI", 0x00, 0x4B)                               \
    X(WAITI, "WAITI", 0x00, 0x4C)                               \
    X(CONTINUE, "CONTINUE", 0x00, 0x4D)                         \
    X(STOP, "STOP", 0x00, 0x50)                                 \
    X(ERROR, "ERROR", 0x00, 0x52)                               \
    X(INTERVAL, "INTERVAL", 0x00, 0x53)                         \
    X(KEY, "KEY", 0x00, 0x57)                                   \
    X(CLS, "CLS", 0x00, 0x59)                                   \
    X(RANDOMIZE, "RANDOMIZE", 0x00, 0x5A)                       \
    X(RUN, "RUN", 0x00, 0x5B)                                   \
    X(WAIT, "WAIT", 0x00, 0x5D)                                 \
    X(TROFF, "TROFF", 0x00, 0x61)                               \
    X(TRON, "TRON", 0x00, 0x62)                                 \
    X(GOTO, "GOTO", 0x00, 0x70)                                 \
    X(GOSUB, "GOSUB", 0x00, 0x71)                               \
    X(RESTORE, "RESTORE", 0x00, 0x7B)                           \
    X(RETURN, "RETURN", 0x00, 0x7C)                             \
    X(RESUME, "RESUME", 0x00, 0x7D)                             \
    X(LSET, "LSET", 0x00, 0x82)                                 \
    X(RSET, "RSET", 0x00, 0x83)                                 \
    X(KILL, "KILL", 0x00, 0x86)                                 \
    X(SHELL, "SHELL", 0x00, 0x87)                               \
    X(SWAP, "SWAP", 0x00, 0x88)                                 \
    X(NAME, "NAME", 0x00, 0x89)                                 \
    X(ERASE, "ERASE", 0x00, 0x8B)                               \
    X(DATA, "DATA", 0x00, 0x8C)                                 \
    X(READ, "READ", 0x00, 0x8D)                                 \
    X(WIDTH, "WIDTH", 0x00, 0x90)                               \
    X(INPUT, "INPUT", 0x00, 0x92)                               \
    X(PRINT, "PRINT", 0x00, 0x94)                               \
    X(WRITE, "WRITE", 0x00, 0x95)                               \
    X(CONSOLE, "CONSOLE", 0x00, 0x96)                           \
    X(COLOR, "COLOR", 0x00, 0x97)                               \
    X(COLOR_AT, "COLOR@", 0x00, 0x98)                           \
    X(LOCATE, "LOCATE", 0x00, 0x99)                             \
    X(TRUNCATE, "TRUNCATE", 0x00, 0x9D)                         \
    X(LOCK, "LOCK", 0x00, 0x9E)                                 \
    X(UNLOCK, "UNLOCK", 0x00, 0x9F)                             \
    X(UPDATE, "UPDATE", 0x00, 0xA6)                             \
    X(GET, "GET", 0x00, 0xA7)                                   \
    X(PUT, "PUT", 0x00, 0xA8)                                   \
    X(FIELD, "FIELD", 0x00, 0xA9)                               \
    X(OPEN, "OPEN", 0x00, 0xAA)                                 \
    X(CLOSE, "CLOSE", 0x00, 0xAC)                               \
    X(FREAD, "FREAD", 0x00, 0xAD)                               \
    X(FWRITE, "FWRITE", 0x00, 0xAE)                             \
    X(PALETTE, "PALETTE", 0x00, 0xB1)                           \
    X(SYMBOL, "SYMBOL", 0x00, 0xB3)                             \
    X(GET_AT, "GET@", 0x00, 0xB4)                               \
    X(PUT_AT, "PUT@", 0x00, 0xB5)                               \
    X(PRESET, "PRESET", 0x00, 0xB8)                             \
    X(PSET, "PSET", 0x00, 0xB9)                                 \
    X(LINE, "LINE", 0x00, 0xBA)                                 \
    X(CIRCLE, "CIRCLE", 0x00, 0xBB)                             \
    X(CONNECT, "CONNECT", 0x00, 0xBC)                           \
    X(PAINT, "PAINT", 0x00, 0xBD)                               \
    X(AXIS, "AXIS", 0x00, 0xBE)                                 \
    X(LPRINT, "LPRINT", 0x00, 0xC4)                             \
    /* clause keywords */                                       \
    X(THEN, "THEN", 0x10, 0x00)                                 \
    X(USING, "USING", 0x10, 0x01)                               \
    X(UNTIL, "UNTIL", 0x10, 0x02)                               \
    X(AS, "AS", 0x10, 0x03)                                     \
    X(IS, "IS", 0x10, 0x04)                                     \
    X(TXDECL, "TXDECL", 0x10, 0x05)                             \
    X(SELECT, "SELECT", 0x10, 0x06)                             \
    X(FN, "FN", 0x10, 0x07)                                     \
    X(TO, "TO", 0x10, 0x08)                                     \
    X(STEP, "STEP", 0x10, 0x09)                                 \
    X(ACCESS, "ACCESS", 0x10, 0x0A)                             \
    X(GO, "GO", 0x10, 0x0B)                                     \
    X(PARM, "PARM", 0x10, 0x0C)                                 \
    X(DEF, "DEF", 0x10, 0x0D)                                   \
    X(BCD, "BCD", 0x10, 0x0E)                                   \
    X(LET, "LET", 0x10, 0x0F)                                   \
    X(OFF, "OFF", 0x10, 0x10)                                   \
    X(ON, "ON", 0x10, 0x11)                                     \
    X(DECLARE, "DECLARE", 0x10, 0x13)                           \
    X(CDECL, "CDECL", 0x10, 0x14)                               \
    X(EDECL, "EDECL", 0x10, 0x15)                               \
    X(COM, "COM", 0x10, 0x16)                                   \
    X(BYVAL, "BYVAL", 0x10, 0x17)                               \
    X(LIB, "LIB", 0x10, 0x19)                                   \
    X(ALIAS, "ALIAS", 0x10, 0x1A)                               \
    X(OUTPUT, "OUTPUT", 0x10, 0x31)                             \
    X(APPEND, "APPEND", 0x10, 0x32)                             \
    X(RANDOM, "RANDOM", 0x10, 0x33)                             \
    X(BINARY, "BINARY", 0x10, 0x34)                             \
    /* word operators */                                        \
    X(MOD, "MOD", 0x20, 0x18)                                   \
    X(AND, "AND", 0x20, 0x31)                                   \
    X(OR, "OR", 0x20, 0x32)                                     \
    X(XOR, "XOR", 0x20, 0x33)                                   \
    X(EQV, "EQV", 0x20, 0x34)                                   \
    X(IMP, "IMP", 0x20, 0x35)                                   \
    X(NOT, "NOT", 0x28, 0x30)                                   \
    /* intrinsic functions: kind = function code */             \
    X(CSRLIN, "CSRLIN", 0x40, 0x00)                             \
    X(DATE, "DATE", 0x40, 0x01)                                 \
    X(TIME, "TIME", 0x40, 0x02)                                 \
    X(ERL, "ERL", 0x40, 0x03)                                   \
    X(ERR, "ERR", 0x40, 0x04)                                   \
    X(RTN, "RTN", 0x40, 0x05)                                   \
    X(RND, "RND", 0x40, 0x06)                                   \
    X(FREEFILE, "FREEFILE", 0x40, 0x07)                         \
    X(MILLITIME, "MILLITIME", 0x40, 0x08)                       \
    X(ABS, "ABS", 0x40, 0x10)                                   \
    X(ATN, "ATN", 0x40, 0x11)                                   \
    X(BAUD, "BAUD", 0x40, 0x12)                                 \
    X(COS, "COS", 0x40, 0x13)                                   \
    X(CINT, "CINT", 0x40, 0x14)                                 \
    X(CLNG, "CLNG", 0x40, 0x15)                                 \
    X(CSNG, "CSNG", 0x40, 0x16)                                 \
    X(CDBL, "CDBL", 0x40, 0x17)                                 \
    X(EOF_, "EOF", 0x40, 0x18)                                  \
    X(EXP, "EXP", 0x40, 0x19)                                   \
    X(FIX, "FIX", 0x40, 0x1A)                                   \
    X(FRE, "FRE", 0x40, 0x1B)                                   \
    X(INT, "INT", 0x40, 0x1C)                                   \
    X(LOC, "LOC", 0x40, 0x1D)                                   \
    X(LOF, "LOF", 0x40, 0x1E)                                   \
    X(LOG, "LOG", 0x40, 0x1F)                                   \
    X(LPOS, "LPOS", 0x40, 0x20)                                 \
    X(POS, "POS", 0x40, 0x21)                                   \
    X(SGN, "SGN", 0x40, 0x22)                                   \
    X(SIN, "SIN", 0x40, 0x23)                                   \
    X(SQR, "SQR", 0x40, 0x24)                                   \
    X(TAN, "TAN", 0x40, 0x25)                                   \
    X(VIEW, "VIEW", 0x40, 0x26)                                 \
    X(WINDOW, "WINDOW", 0x40, 0x27)                             \
    X(SEEK, "SEEK", 0x40, 0x28)                                 \
    X(CBYT, "CBYT", 0x40, 0x2D)                                 \
    X(DSKF, "DSKF", 0x40, 0x2E)                                 \
    X(ASC, "ASC", 0x40, 0x30)                                   \
    X(CVI, "CVI", 0x40, 0x31)                                   \
    X(CVL, "CVL", 0x40, 0x32)                                   \
    X(CVS, "CVS", 0x40, 0x33)                                   \
    X(CVD, "CVD", 0x40, 0x34)                                   \
    X(JIS, "JIS", 0x40, 0x35)                                   \
    X(LEN, "LEN", 0x40, 0x36)                                   \
    X(VAL, "VAL", 0x40, 0x38)                                   \
    X(VARPTR, "VARPTR", 0x40, 0x39)                             \
    X(STRADR, "STRADR", 0x40, 0x3A)                             \
    X(FILEATTR, "FILEATTR", 0x40, 0x3B)                         \
    X(ERRDEV, "ERRDEV", 0x40, 0x3C)                             \
    X(MAP, "MAP", 0x40, 0x40)                                   \
    X(KTYPE, "KTYPE", 0x40, 0x41)                               \
    X(KLEN, "KLEN", 0x40, 0x42)                                 \
    X(MOUSE, "MOUSE", 0x40, 0x43)                               \
    X(POINT, "POINT", 0x40, 0x50)                               \
    X(SCREEN, "SCREEN", 0x40, 0x52)                             \
    X(INSTR, "INSTR", 0x40, 0x53)                               \
    X(KINSTR, "KINSTR", 0x40, 0x54)                             \
    X(SEARCH, "SEARCH", 0x40, 0x55)                             \
    X(COMMAND_S, "COMMAND$", 0x40, 0x80)                        \
    X(DATE_S, "DATE$", 0x40, 0x81)                              \
    X(TIME_S, "TIME$", 0x40, 0x82)                              \
    X(INKEY_S, "INKEY$", 0x40, 0x83)                            \
    X(TODAY_S, "TODAY$", 0x40, 0x84)                            \
    X(HEX_S, "HEX$", 0x40, 0x90)                                \
    X(KNJ_S, "KNJ$", 0x40, 0x91)                                \
    X(MKI_S, "MKI$", 0x40, 0x92)                                \
    X(MKL_S, "MKL$", 0x40, 0x93)                                \
    X(MKS_S, "MKS$", 0x40, 0x94)                                \
    X(MKD_S, "MKD$", 0x40, 0x95)                                \
    X(OCT_S, "OCT$", 0x40, 0x96)                                \
    X(SPACE_S, "SPACE$", 0x40, 0x97)                            \
    X(SPC, "SPC", 0x40, 0x98)                                   \
    X(STR_S, "STR$", 0x40, 0x99)                                \
    X(TAB, "TAB", 0x40, 0x9A)                                   \
    X(AKCNV_S, "AKCNV$", 0x40, 0xA0)                            \
    X(KACNV_S, "KACNV$", 0x40, 0xA1)                            \
    X(ENV_S, "ENV$", 0x40, 0xA2)                                \
    X(LCASE_S, "LCASE$", 0x40, 0xA3)                            \
    X(UCASE_S, "UCASE$", 0x40, 0xA4)                            \
    X(LTRIM_S, "LTRIM$", 0x40, 0xA5)                            \
    X(RTRIM_S, "RTRIM$", 0x40, 0xA6)                            \
    X(TRIM_S, "TRIM$", 0x40, 0xA7)                              \
    X(JCONV_S, "JCONV$", 0x40, 0xA8)                            \
    X(ENVIRON_S, "ENVIRON$", 0x40, 0xA9)                        \
    X(STRING_S, "STRING$", 0x40, 0xB0)                          \
    X(KEXT_S, "KEXT$", 0x40, 0xB2)                              \
    X(KLEFT_S, "KLEFT$", 0x40, 0xB3)                            \
    X(KRIGHT_S, "KRIGHT$", 0x40, 0xB4)                          \
    X(LEFT_S, "LEFT$", 0x40, 0xB5)                              \
    X(RIGHT_S, "RIGHT$", 0x40, 0xB6)                            \
    X(CHR_S, "CHR$", 0x40, 0xC0)                                \
    X(INPUT_S, "INPUT$", 0x40, 0xC1)                            \
    X(KMID_S, "KMID$", 0x40, 0xC3)                              \
    X(MID_S, "MID$", 0x40, 0xC4)                                \
    X(FORMAT_S, "FORMAT$", 0x40, 0xC5)                          \
    /* type keywords: kind = value type */                      \
    X(INTEGER, "INTEGER", 0x90, 0)                              \
    X(LONG, "LONG", 0x90, 1)                                    \
    X(SINGLE, "SINGLE", 0x90, 2)                                \
    X(DOUBLE, "DOUBLE", 0x90, 3)                                \
    X(BYTE, "BYTE", 0x90, 4)                                    \
    X(STRING, "STRING", 0x90, 17)                               \
    X(OBJECT, "OBJECT", 0x90, 64)                               \
    X(ANY, "ANY", 0x90, 80)

// Symbols: punctuation and operators written with signs.
// X(identifier, spelling, class, kind). Longest spelling wins when lexing.
#define TX_SYMBOLS(X)                \
    X(LPAREN, "(", 0x30, 0x00)       \
    X(RPAREN, ")", 0x30, 0x01)       \
    X(COMMA, ",", 0x30, 0x02)        \
    X(SEMICOLON, ";", 0x30, 0x03)    \
    X(COLON, ":", 0x30, 0x04)        \
    X(PERIOD, ".", 0x30, 0x05)       \
    X(HASH, "#", 0x30, 0x06)         \
    X(POWER, "^", 0x20, 0x12)        \
    X(PLUS, "+", 0x20, 0x13)         \
    X(MINUS, "-", 0x20, 0x14)        \
    X(TIMES, "*", 0x20, 0x15)        \
    X(DIVIDE, "/", 0x20, 0x16)       \
    X(INTDIV, "\\", 0x20, 0x17)      \
    X(CONCAT, "&", 0x20, 0x19)       \
    X(EQ, "=", 0x20, 0x20)           \
    X(NE, "<>", 0x20, 0x21)          \
    X(LT, "<", 0x20, 0x22)           \
    X(GT, ">", 0x20, 0x23)           \
    X(LE, "<=", 0x20, 0x24)          \
    X(GE, ">=", 0x20, 0x25)

// Other spellings of three comparisons, lexed to the same words.
#define TX_SYMBOL_ALIASES(X)         \
    X(NE2, "><", 0x20, 0x21)         \
    X(LE2, "=<", 0x20, 0x24)         \
    X(GE2, "=>", 0x20, 0x25)

// ---- token words by name: tw::kPRINT, tw::kLPAREN, tw::kMID_S ... --------
namespace tw {
#define TX_TOKEN_WORD(id, spelling, cls, kind) inline constexpr uint16_t k##id = Word(cls, kind);
TX_KEYWORDS(TX_TOKEN_WORD)
TX_SYMBOLS(TX_TOKEN_WORD)
#undef TX_TOKEN_WORD

// Units without a keyword.
inline constexpr uint16_t kLabelAtStart = Word(kClsLabel, 0);
inline constexpr uint16_t kLabelOperand = Word(kClsLabel, 1);
inline constexpr uint16_t kLineNumberAtStart = Word(kClsLineNumber, 0);
inline constexpr uint16_t kLineNumberOperand = Word(kClsLineNumber, 1);
inline constexpr uint16_t kStringConstant = Word(kClsConstant, kTypeStr);
inline constexpr uint16_t kEnd = Word(kClsEnd, 0);
}  // namespace tw

// ---- kinds by keyword: kw::kPRINT is PRINT's statement code, kw::kABS the
// function code of ABS ------------------------------------------------------
namespace kw {
#define TX_TOKEN_KIND(id, spelling, cls, kind) inline constexpr uint8_t k##id = kind;
TX_KEYWORDS(TX_TOKEN_KIND)
#undef TX_TOKEN_KIND
}  // namespace kw

// Function codes that share a keyword with the one in the table; the rule
// program picks them by the arguments it finds.
namespace fn {
inline constexpr uint8_t kDskfNumeric = 0x2F;  // DSKF with a drive number (DSKF token: 0x2E, string form)
inline constexpr uint8_t kPointOneArg = 0x51;  // POINT(n) (POINT token: 0x50, coordinate form)
inline constexpr uint8_t kStringCode = 0xB1;   // STRING$(n, code) (STRING$ token: 0xB0, string form)
inline constexpr uint8_t kInputFile = 0xC2;    // INPUT$(n, #f) (INPUT$ token: 0xC1, keyboard form)
}  // namespace fn

// ---- tables ----------------------------------------------------------------
struct Keyword {
    std::string_view spelling;
    uint8_t cls;
    uint8_t kind;
    constexpr uint16_t word() const { return Word(cls, kind); }
};

#define TX_TOKEN_ENTRY(id, spelling, cls, kind) Keyword{spelling, cls, kind},
inline constexpr Keyword kKeywords[] = {TX_KEYWORDS(TX_TOKEN_ENTRY)};
inline constexpr Keyword kSymbols[] = {TX_SYMBOLS(TX_TOKEN_ENTRY) TX_SYMBOL_ALIASES(TX_TOKEN_ENTRY)};
#undef TX_TOKEN_ENTRY

// Keyword by its upper-case spelling; nullptr for a name.
constexpr const Keyword *FindKeyword(std::string_view upper) {
    for (const Keyword &k : kKeywords)
        if (k.spelling == upper) return &k;
    return nullptr;
}

// Keyword or symbol by token word (the first spelling listed); nullptr when
// the word has no spelling of its own (names, constants, labels ...).
constexpr const Keyword *FindWord(uint16_t word) {
    for (const Keyword &k : kKeywords)
        if (k.word() == word) return &k;
    for (const Keyword &k : kSymbols)
        if (k.word() == word) return &k;
    return nullptr;
}

// Size in bytes of the token at p in a token stream (constants carry their
// value after the 4-byte head; everything else is one 4-byte unit).
constexpr size_t TokenSize(const uint8_t *p) {
    if (p[0] == kClsConstant && p[1] < 5) return kConstSize[p[1]];
    return 4;
}

}  // namespace tok
