// The intermediate file: written by the syntax analyzer, read by the code
// generator. Both sides take every offset, code and length from here; the
// points where the two used to read the format differently are settled in
// intermediate.md beside this file.
//
// Layout (little-endian): 64-byte header, 352-byte runtime-environment
// block, the statement stream from 416 padded to 16, then the ten tables in
// index order, each padded to 16.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "valuetypes.h"

namespace ifile {

// ---- file layout ---------------------------------------------------------

constexpr uint8_t kSignature = 0xFB;
constexpr uint16_t kVersion = 6;
constexpr uint16_t kTableCount = 10;
constexpr uint32_t kHeaderSize = 64;
constexpr uint32_t kEnvBlockOffset = 64;
constexpr uint32_t kEnvBlockSize = 352;
constexpr uint32_t kStreamOffset = 416;
constexpr uint32_t kAlign = 16;

// Header field offsets.
constexpr uint32_t kHdrSignature = 0;   // u8 0xFB
constexpr uint32_t kHdrModuleFlag = 1;  // u8: 1 for a .SUB/.FRM module
constexpr uint32_t kHdrVersion = 2;     // u16 6
constexpr uint32_t kHdrTableCount = 4;  // u16 10
constexpr uint32_t kHdrTrapBits = 6;    // u8
constexpr uint32_t kHdrDataSize = 8;    // u32 size of the .data image
constexpr uint32_t kHdrStreamSize = 12; // u32 records + end mark
constexpr uint32_t kHdrTableSizes = 16; // u32 per table, before padding

constexpr uint8_t kTrapInterruptCheck = 0x01;
constexpr uint8_t kTrapResume = 0x02;

enum TableIndex : int {
    kProcNameTable = 0,
    kDataItemTable = 1,
    kStringConstTable = 2,
    kCommonVarTable = 3,
    kModuleVarTable = 4,
    kArrayTable = 5,
    kProcDebugTable = 6,
    kTypeDefTable = 7,
    kArrayBoundsTable = 8,
    kLocalNameRefTable = 9,
};

// The analyzer builds (and so writes into its work file) the tables in this
// order, because later tables refer to offsets assigned by earlier ones. The
// intermediate file still holds them in index order.
constexpr std::array<int, kTableCount> kBuildOrder = {0, 1, 2, 5, 8, 7, 3, 4, 6, 9};

struct Header {
    uint8_t module_flag = 0;
    uint8_t trap_bits = 0;
    uint32_t data_size = 0;
    uint32_t stream_size = 0;
    std::array<uint32_t, kTableCount> table_size{};
};

constexpr uint32_t PadTo16(uint32_t n) { return (n + (kAlign - 1)) & ~(kAlign - 1); }

// Writes the 64 header bytes (signature, version and table count included).
std::array<uint8_t, kHeaderSize> EncodeHeader(const Header &h);
// Reads the header fields; like the generator, checks neither signature nor
// version words.
Header DecodeHeader(const uint8_t *bytes);

// The bytes of BuiltInEnvBlock() (envblock.h), the block the analyzer uses
// when no /S: file is given.
const std::array<uint8_t, kEnvBlockSize> &BuiltinEnvBlock();

// Byte offset of table i in the file, and of the byte after the last table.
uint32_t TableOffset(const Header &h, int i);
uint32_t FileSize(const Header &h);

// A file cut into its parts; the pointers point into the caller's bytes.
struct Layout {
    Header header;
    const uint8_t *env = nullptr;
    const uint8_t *stream = nullptr;
    std::array<const uint8_t *, kTableCount> table{};
};
// False with a reason when the file is shorter than its header says.
bool SplitFile(const uint8_t *data, size_t size, Layout *out, std::string *error);

// ---- statement stream ----------------------------------------------------
//
// Record: {u16 total length, u16 source line, tokens, F1 00}. After the last
// record a u32 0. Within the tokens F2 00 separates two statements of one
// source line. A token's first byte is its kind; for kind 0x00 the second
// byte is the statement code.

constexpr uint32_t kRecordHeadSize = 4;

// Token kinds (first byte).
constexpr uint8_t kTokStatement = 0x00;    // {00, code, operands by code}
constexpr uint8_t kTokKeyword = 0x10;      // {10, value}
constexpr uint8_t kTokOperator = 0x20;     // {20, operator code}
constexpr uint8_t kTokPunct = 0x30;       // {30, 2 comma / 3 semicolon} in output lists
constexpr uint8_t kTokIntrinsic = 0x40;    // {40, function, result type}
constexpr uint8_t kTokOwnFunc = 0x41;      // {41, type, u32 table-0 offset}
constexpr uint8_t kTokDeclFunc = 0x42;     // {42, type, u8 form, u32 table-0 offset}
constexpr uint8_t kTokLibFunc = 0x43;      // {43, type, u8 form, u32 lib, u32 name}
constexpr uint8_t kTokArgListEnd = 0x4F;
constexpr uint8_t kTokVar = 0x50;          // {50, type, class, u32 record offset}
constexpr uint8_t kTokMember = 0x51;       // {51, type, u32 member offset in table 7}
constexpr uint8_t kTokElement = 0x52;      // work file only; 50 in the stream
constexpr uint8_t kTokArray = 0x60;        // {60, type, class, u32 record offset}
constexpr uint8_t kTokSubscript = 0x61;    // {61, type, u32 member offset}
constexpr uint8_t kTokArrayAddr = 0x62;    // {62, type, class, u32 record offset}
constexpr uint8_t kTokSubscriptEnd = 0x6F;
constexpr uint8_t kTokConstant = 0x70;     // {70, type, value by type}
constexpr uint8_t kTokLabel = 0xA0;        // {A0, x, u32 table-0 offset}
constexpr uint8_t kTokLineNumber = 0xA1;   // {A1, x, u32} or {A1, 10}
constexpr uint8_t kTokParamBlock = 0xA2;   // {A2, 0, u32, u32} or {A2, 1, u32}
constexpr uint8_t kTokLabelValue = 0xA3;   // work file only; 70 01 in the stream
constexpr uint8_t kTokValue = 0xB0;        // argument and expression starts B0-B4
constexpr uint8_t kTokExpression = 0xB1;
constexpr uint8_t kTokByRef = 0xB2;
constexpr uint8_t kTokByRefExpr = 0xB3;
constexpr uint8_t kTokByRefParen = 0xB4;
constexpr uint8_t kTokGroup = 0xB5;        // closed by BE
constexpr uint8_t kTokGroupLast = 0xB8;    // the analysis opens groups on B0-B8
constexpr uint8_t kTokGroupEnd = 0xBE;
constexpr uint8_t kTokExprEnd = 0xBF;
constexpr uint8_t kTokRecordEnd = 0xF1;
constexpr uint8_t kTokSeparator = 0xF2;

constexpr uint8_t kLineNumberNone = 0x10;  // A1 10: a 2-byte line-number token

// Parameter entries of a declared routine (analyzer only): the item code of
// the parameter, by reference a variable, by value with the low nibble F,
// an array the whole-array code; a default adds kParamDefault, so codes from
// kParamDefaultFrom carry one (the array code has that bit by itself).
constexpr uint8_t kParamByRef = kTokVar, kParamByVal = 0x5F, kParamArray = kTokArrayAddr;
constexpr uint8_t kParamDefault = 0x20, kParamDefaultFrom = kParamByRef | kParamDefault;

// Statement codes (byte 1 of a 00 token). The ones marked with a length
// carry operands; every other statement token is 2 bytes.
enum StmCode : uint8_t {
    kStmLineLabel = 0x02,
    kStmLineNumber = 0x03,
    kStmIncludeBegin = 0x04,   // written by the preprocessor; no code
    kStmIncludeEnd = 0x05,
    kStmIf = 0x10,
    kStmElse = 0x11,
    kStmElseIf = 0x12,
    kStmEndIf = 0x13,          // also written at the end of a one-line IF
    kStmSelect = 0x14,
    kStmCase = 0x15,
    kStmCaseElse = 0x16,
    kStmEndSelect = 0x17,
    kStmLineIf = 0x18,         // the one-line IF form
    kStmExit = 0x19,
    kStmEnd = 0x1A,
    // TYPE, END TYPE, a member line, END DECLARE (also the head of a name
    // line inside a DECLARE block), DECLARE and DECLARE's block form (0x30,
    // 0x34) make no code.
    kStmType = 0x1B,
    kStmEndType = 0x1C,
    kStmTypeMember = 0x1D,
    kStmEndDeclare = 0x1E,
    kStmForTest = 0x1F,
    kStmForHead = 0x20,
    kStmNext = 0x21,
    kStmWhile = 0x22,
    kStmWend = 0x23,
    kStmDo = 0x24,
    kStmLoop = 0x25,
    kStmDoWhile = 0x26,
    kStmDoUntil = 0x27,
    kStmLoopWhile = 0x28,
    kStmLoopUntil = 0x29,
    kStmCheckedEntry = 0x2A,   // 18: table 0, table 6, table 9, DATA
    kStmReturns = 0x2B,
    kStmCalls = 0x2C,
    kStmLoadM = 0x2D,
    kStmDeleteM = 0x2E,
    kStmCallM = 0x2F,
    kStmDeclare = 0x30,
    kStmFuncEntry = 0x31,      // 14: table 0, table 6, DATA
    kStmFuncEnd = 0x32,        // 7: 03, u32 result record (table 6)
    kStmFuncExit = 0x33,
    kStmDeclareBlock = 0x34,
    kStmSubEntry = 0x35,       // 14
    kStmSubEnd = 0x36,
    kStmSubExit = 0x37,
    kStmCall = 0x38,           // 7: form, u32 table-0 offset
    kStmCommon = 0x39,         // the declarations 39-3E make no code
    kStmCommonShared = 0x3A,
    kStmDimDecl = 0x3B,        // DIM: becomes kStmDim when it dimensions arrays
    kStmDimShared = 0x3C,
    kStmSharedDecl = 0x3D,
    kStmStaticDecl = 0x3E,
    kStmCallDll = 0x3F,        // 11: form, u32 lib, u32 name
    kStmDefFn = 0x40,          // 10: table 0, table 6
    kStmDefLen = 0x41,
    kStmDefBcd = 0x42,
    kStmDefParm = 0x43,
    kStmDefType = 0x44,        // DEFINT and its kin up to 0x49: the preprocessor applied them
    kStmBeep = 0x4A,
    kStmStopI = 0x4B,
    kStmWaitI = 0x4C,
    kStmContinue = 0x4D,
    kStmStop = 0x50,
    kStmError = 0x52,
    kStmInterval = 0x53,
    kStmTime = 0x54,
    kStmBaud = 0x56,
    kStmKey = 0x57,
    kStmMouseHead = 0x58,      // started by the word MOUSE; the rule always makes it 0x68
    kStmCls = 0x59,
    kStmRandomize = 0x5A,
    kStmRun = 0x5B,
    kStmWait = 0x5D,
    kStmStopOnOff = 0x60,
    kStmTroff = 0x61,
    kStmTron = 0x62,
    kStmIntervalOnOff = 0x63,
    kStmTimeOnOff = 0x64,
    kStmComOnOff = 0x66,
    kStmKeyOnOff = 0x67,
    kStmMouseOnOff = 0x68,
    kStmGoto = 0x70,
    kStmGosub = 0x71,
    kStmOnErrorGoto = 0x72,
    kStmOnIntervalGosub = 0x73,
    kStmOnTimeGosub = 0x74,
    kStmOnComGosub = 0x76,
    kStmOnKeyGosub = 0x77,
    kStmOnMouseGosub = 0x78,
    kStmOnGoto = 0x79,
    kStmOnGosub = 0x7A,
    kStmRestore = 0x7B,        // 6: u32 DATA offset
    kStmReturn = 0x7C,
    kStmResume = 0x7D,
    kStmLet = 0x80,
    kStmLetBcd = 0x81,
    kStmLset = 0x82,
    kStmRset = 0x83,
    kStmMid = 0x84,
    kStmKill = 0x86,
    kStmSwap = 0x88,
    kStmName = 0x89,
    kStmDim = 0x8A,
    kStmErase = 0x8B,
    kStmData = 0x8C,
    kStmRead = 0x8D,
    kStmWidthDevice = 0x90,
    kStmLineInput = 0x91,
    kStmInput = 0x92,
    kStmPrintUsing = 0x93,
    kStmPrint = 0x94,
    kStmWrite = 0x95,
    kStmConsole = 0x96,
    kStmShell = 0x87,
    kStmColor = 0x97,
    kStmColorAt = 0x98,        // COLOR@
    kStmLocate = 0x99,
    kStmWidthScreen = 0x9A,
    kStmTruncate = 0x9D,
    kStmLock = 0x9E,
    kStmUnlock = 0x9F,
    kStmWidthFile = 0xA0,
    kStmLineInputFile = 0xA1,
    kStmInputFile = 0xA2,
    kStmPrintFileUsing = 0xA3,
    kStmPrintFile = 0xA4,
    kStmWriteFile = 0xA5,
    kStmUpdate = 0xA6,
    kStmGet = 0xA7,
    kStmPut = 0xA8,
    kStmField = 0xA9,
    kStmOpen = 0xAA,
    kStmOpenShort = 0xAB,
    kStmClose = 0xAC,
    kStmFread = 0xAD,
    kStmFwrite = 0xAE,
    kStmSeek = 0xAF,
    // Graphics: WINDOW and VIEW without coordinates reset; PALETTE's RGB
    // form is 0xB2.
    kStmWindow = 0xB0,
    kStmPalette = 0xB1,
    kStmPaletteRgb = 0xB2,
    kStmSymbol = 0xB3,
    kStmGetAt = 0xB4,          // GET@
    kStmPutAt = 0xB5,          // PUT@
    kStmPoint = 0xB6,
    kStmView = 0xB7,
    kStmPreset = 0xB8,
    kStmPset = 0xB9,
    kStmLine = 0xBA,           // also the head of LINE INPUT until the rule sets 0x91
    kStmCircle = 0xBB,
    kStmConnect = 0xBC,
    kStmPaint = 0xBD,
    kStmAxis = 0xBE,
    kStmLprintUsing = 0xC3,
    kStmLprint = 0xC4,
    kStmLprintType = 0xC5,
    kStmWidthLprint = 0xC6,
};

// The statements whose routines take a window word first: the address of
// the object in the group {B5 ... BE} in front of the statement, or 0 when
// there is none. The file forms (PRINT # ...) take none, and no group.
constexpr bool TakesWindowWord(uint8_t code) {
    switch (code) {
    case kStmCls: case kStmLineInput: case kStmInput: case kStmPrintUsing: case kStmPrint: case kStmWrite:
    case kStmConsole: case kStmColor: case kStmColorAt: case kStmLocate: case kStmWidthScreen:
    case kStmWindow: case kStmPalette: case kStmPaletteRgb: case kStmSymbol: case kStmGetAt: case kStmPutAt:
    case kStmPoint: case kStmView: case kStmPreset: case kStmPset: case kStmLine: case kStmCircle:
    case kStmConnect: case kStmPaint: case kStmAxis:
        return true;
    default:
        return false;
    }
}

// Operator codes (byte 1 of a 20 token; 28 30 for NOT). Comparisons run
// from kOpEq to kOpGe in this order.
enum OpCode : uint8_t {
    kOpAssign = 0x00,          // 20 00 between target and source
    kOpNegate = 0x11,
    kOpPower = 0x12,
    kOpAdd = 0x13,
    kOpSub = 0x14,
    kOpMul = 0x15,
    kOpDiv = 0x16,
    kOpIntDiv = 0x17,
    kOpMod = 0x18,
    kOpConcat = 0x19,          // `&`: written to the stream as kOpAdd
    kOpEq = 0x20,
    kOpNe = 0x21,
    kOpLt = 0x22,
    kOpGt = 0x23,
    kOpLe = 0x24,
    kOpGe = 0x25,
    kOpNot = 0x30,
    kOpAnd = 0x31,
    kOpOr = 0x32,
    kOpXor = 0x33,
    kOpEqv = 0x34,
    kOpImp = 0x35,
};

// Values of keyword tokens {10, value} the generator reads.
constexpr uint8_t kKwResumeNext = 0x18;  // RESUME's NEXT
constexpr uint8_t kKwExitDo = 0x1B;      // EXIT's block kinds
constexpr uint8_t kKwExitFor = 0x1C;
constexpr uint8_t kKwNone = 0xF0;        // an argument left out; EXIT naming no block
// OPEN's words: the modes INPUT, OUTPUT, APPEND, RANDOM, BINARY from 0x30;
// ACCESS READ, WRITE, READ WRITE from 0x37; SHARED, LOCK READ, LOCK WRITE,
// LOCK READ WRITE from 0x3B (the values they push: cg_args.cpp).
constexpr uint8_t kKwOpenInput = 0x30;
constexpr uint8_t kKwAccessRead = 0x37;
constexpr uint8_t kKwShared = 0x3B;
// STEP before a coordinate; the switches OFF, ON and STOP of the event
// statements.
constexpr uint8_t kKwStep = 0x09;
constexpr uint8_t kKwOff = 0x10;
constexpr uint8_t kKwOn = 0x11;
constexpr uint8_t kKwStopSwitch = 0x12;
// PUT@'s actions (and PSET's action operand): OR, AND, XOR, PSET, PRESET;
// LINE's box words B and BF (the values they push: cg_args.cpp).
constexpr uint8_t kKwActOr = 0x80;
constexpr uint8_t kKwActAnd = 0x81;
constexpr uint8_t kKwActXor = 0x82;
constexpr uint8_t kKwActPset = 0x84;
constexpr uint8_t kKwActPreset = 0x85;
constexpr uint8_t kKwBox = 0x91;
constexpr uint8_t kKwBoxFill = 0x93;

constexpr uint32_t kNoData = 0xFFFFFFFFu;  // "no DATA item in this procedure"

// Value types as tokens carry them: valuetypes.h.
using namespace bastype;

// Bytes of a constant's value after {70, type}; -1 for a type that has no
// place in the stream.
int ConstantValueSize(uint8_t type);

// Length of the stream token at p, of which avail bytes are readable; 0 when
// it cannot be told (an unknown constant type, or the token runs past avail).
uint32_t TokenLength(const uint8_t *p, size_t avail);

struct Record {
    uint32_t offset = 0;   // from the start of the stream
    uint16_t length = 0;
    uint16_t line = 0;
    std::vector<uint32_t> tokens;  // offsets into the stream, F2 and F1 included
};

// Walks the records of a stream, checking that each record's tokens end with
// its F1 exactly at its length and that the u32 end mark closes the stream
// exactly at its size. Never reads outside [stream, stream + size).
class StreamWalker {
public:
    StreamWalker(const uint8_t *stream, size_t size) : p_(stream), size_(size) {}
    enum Step { kRecord, kEnd, kError };
    Step Next(Record *rec);
    const std::string &error() const { return error_; }

private:
    Step Fail(const std::string &why);
    const uint8_t *p_;
    size_t size_;
    size_t pos_ = 0;
    bool done_ = false;
    std::string error_;
};

// ---- tables --------------------------------------------------------------

// Variable record of tables 3, 4, 6 and 7: 20 bytes, then the name.
constexpr uint32_t kVarRecordSize = 20;
constexpr uint32_t kVarType = 0;      // u8
constexpr uint32_t kVarClass = 1;     // u8, 0x10 = array
constexpr uint32_t kVarAddress = 2;   // u32
constexpr uint32_t kVarTypeRef = 6;   // u32 table-7 offset, or a fixed string's length
constexpr uint32_t kVarBounds = 10;   // u32 table-8 offset
constexpr uint32_t kVarSize = 14;     // u32
constexpr uint32_t kVarPrefix = 18;   // u8 common-name prefix (table 3)
constexpr uint32_t kVarNameLength = 19;
constexpr uint8_t kClassArray = 0x10;

// Tables 3 and 4 open with a u32 equal to the table's size (this word
// included); the records follow from offset 4.
constexpr uint32_t kVarTableHead = 4;

// Table 0 entry: {u8 flag, u32, u32, u8 name length} + name.
constexpr uint32_t kProcEntrySize = 10;
constexpr uint32_t kProcEntryFlag = 0;
constexpr uint32_t kProcEntrySlot = 5;  // generator's working word
constexpr uint32_t kProcEntryNameLength = 9;

constexpr uint32_t kDataItemHead = 3;     // {u8 0, u16 line} + text
constexpr uint32_t kStringConstHead = 12; // {u32 0, u32 length, u32 text offset}
constexpr uint32_t kArrayRecordSize = 17;
constexpr uint32_t kArraySlotSize = 10;   // array k's slot is 10 * k
constexpr uint32_t kNameRefRecordSize = 9;

}  // namespace ifile
