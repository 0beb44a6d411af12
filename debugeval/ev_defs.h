// The evaluator's numbers: value types, P-code opcodes, operator codes,
// error numbers, the result record and the runtime ordinals it calls. Both
// the evaluator and its callers (the DLL entry, the tests, a P-code
// producer) name them from here.
#pragma once

#include <cstdint>

namespace txev {

// Value types as the debugger and the evaluator number them.
enum : uint8_t {
  kTInt = 0, kTLng = 1, kTSng = 2, kTDbl = 3, kTByt = 4,
  kTWord = 8, kTDword = 9,          // stored and reported as INT and LNG
  kTStr = 16, kTFixStr = 17, kTStr18 = 18, kTStr19 = 19,
  kTAnyA = 32, kTAnyB = 33,         // "take the operand's type"
  kTRecord = 48, kTAddr = 64, kTNone = 65,
};

inline bool IsNumberType(uint32_t t) { return t <= kTByt || t == kTWord || t == kTDword; }
inline bool IsStringType(uint32_t t) { return t >= kTStr && t <= kTStr19; }
// INT/LNG twins folded onto their base type.
inline uint8_t BaseType(uint8_t t) {
  if (t == kTWord) return kTInt;
  if (t == kTDword) return kTLng;
  return t;
}
// Bytes of a value of a number type (0 for others).
inline uint32_t ValueBytes(uint32_t t) {
  switch (t) {
    case kTInt: case kTWord: return 2;
    case kTLng: case kTSng: case kTDword: return 4;
    case kTDbl: return 8;
    case kTByt: return 1;
    default: return 0;
  }
}

// P-code opcodes and instruction lengths.
enum : uint8_t {
  kOpOmitted = 0x10, kOpOperator = 0x20, kOpCall = 0x40, kOpCallEnd = 0x4F,
  kOpVar = 0x50, kOpMember = 0x51, kOpArray = 0x60, kOpArrayAt = 0x61, kOpWhole = 0x62,
  kOpSubEnd = 0x6F, kOpConst = 0x70,
  kOpSingle = 0xB0, kOpProgram = 0xB1, kOpRefPrefix = 0xB5, kOpRefEnd = 0xBE, kOpEnd = 0xBF,
  kOpFinish = 0xF1,
};
constexpr uint8_t kOmittedMark = 0xF0;

// Operator codes (byte 1 of a 0x20 instruction).
enum : uint8_t {
  kNeg = 0x11, kPow = 0x12, kAdd = 0x13, kSub = 0x14, kMul = 0x15, kDiv = 0x16,
  kIDiv = 0x17, kMod = 0x18,
  kEq = 0x20, kNe = 0x21, kLt = 0x22, kGt = 0x23, kLe = 0x24, kGe = 0x25,
  kNot = 0x30, kAnd = 0x31, kOr = 0x32, kXor = 0x33, kEqv = 0x34, kImp = 0x35,
};

// BASIC error numbers the evaluator sets itself.
enum : int32_t {
  kErrIllegalCall = 5, kErrOverflow = 6, kErrMemory = 7, kErrSubscript = 9,
  kErrDivZero = 11, kErrType = 13, kErrPcode = 27, kErrFunction = 28, kErrNoStorage = 29,
};

// Limits of one evaluation.
constexpr uint32_t kMaxInstructions = 512;
constexpr uint32_t kMaxOperands = 128;
constexpr uint32_t kArgWords = 100;
constexpr uint32_t kMaxStringBytes = 255;

// The result record the caller provides (32-bit words, then the value).
struct DbgValueResult {
  uint32_t reserved;
  uint32_t error;
  uint32_t type;
  uint32_t size;
  uint8_t value[kMaxStringBytes + 1];
};
static_assert(sizeof(DbgValueResult) == 16 + 256);

// 20-byte variable descriptor in the debug tables.
constexpr uint32_t kDescType = 0, kDescClass = 1, kDescAddr = 2, kDescExtra = 6, kDescBounds = 10;
// Array header: data address and bounds-record address; the program
// runtime keeps the element type at byte 1 (the array function reads it).
constexpr uint32_t kHdrType = 1, kHdrData = 2, kHdrBounds = 6;
// Storage classes read through the frame base; +16 marks an array.
constexpr uint8_t kClassFrame = 3, kClassFrameRef = 4, kClassArray = 16;

// The runtime string descriptor (ordinal 428): flags byte, length word.
constexpr uint8_t kStrTemporary = 0x20;
constexpr uint32_t kStrDescBytes = 12, kStrDescLength = 4;

// Runtime ordinals that the evaluator calls outside the intrinsic table.
enum : uint16_t {
  kOrdSetRecovery = 216, kOrdEndRecovery = 217, kOrdEndTemps = 435,
  kOrdStrTakeTop = 428, kOrdStrCopy = 430, kOrdStrRelease = 412,
  kOrdStrPushConst = 425, kOrdStrPushEmpty = 418, kOrdStrPushVar = 419, kOrdStrPushFixed = 420,
  kOrdStrConcat = 400, kOrdStrCompare = 407,
  kOrdFpStore = 801, kOrdFpLoad = 802, kOrdFpCheck = 827, kOrdFpNegate = 5165, kOrdFpPower = 5177,
};

// Number conversions by (from, to); 0 where no routine is needed.
enum : uint16_t {
  kCnvDblToInt = 5122, kCnvDblToLng = 5123, kCnvDblToSng = 5124,
  kCnvIntToDbl = 5131, kCnvIntToSng = 5132, kCnvLngToDbl = 5137, kCnvLngToSng = 5138,
  kCnvSngToDbl = 5157, kCnvSngToInt = 5158, kCnvSngToLng = 5159,
  kCnvBytToSng = 5178, kCnvBytToDbl = 5179, kCnvSngToByt = 5180, kCnvDblToByt = 5181,
};

// The routine of each conversion, for the runtimes that answer them.
struct CnvRoutine {
  uint16_t ordinal;
  uint8_t from, to;
};
inline constexpr CnvRoutine kCnvRoutines[] = {
    {kCnvDblToInt, kTDbl, kTInt}, {kCnvDblToLng, kTDbl, kTLng}, {kCnvDblToSng, kTDbl, kTSng},
    {kCnvIntToDbl, kTInt, kTDbl}, {kCnvIntToSng, kTInt, kTSng}, {kCnvLngToDbl, kTLng, kTDbl},
    {kCnvLngToSng, kTLng, kTSng}, {kCnvSngToDbl, kTSng, kTDbl}, {kCnvSngToInt, kTSng, kTInt},
    {kCnvSngToLng, kTSng, kTLng}, {kCnvBytToSng, kTByt, kTSng}, {kCnvBytToDbl, kTByt, kTDbl},
    {kCnvSngToByt, kTSng, kTByt}, {kCnvDblToByt, kTDbl, kTByt},
};

}  // namespace txev
