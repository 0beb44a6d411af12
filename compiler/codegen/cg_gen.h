// The statement generators' shared state and entry points: the token array
// of the statement being generated, the block stack, the procedure being
// generated, and the operand, expression and argument generators that the
// statement generators call. Everything here works on one CgState.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "cg_emit.h"
#include "cg_state.h"

namespace txcg {

// Token kinds, statement and operator codes: intermediate.h.
using namespace ifile;

// The head of an argument or expression group (B0-B4).
constexpr bool IsGroupHead(uint8_t k) { return k >= kTokValue && k <= kTokByRefParen; }

constexpr int kMaxTokens = 512;
constexpr uint32_t kNoData32 = 0xFFFFFFFF; // no DATA item in the procedure

// Value classes: where an evaluated value lives.
enum ValueClass : uint8_t {
    kClsInt = 0,     // AX, sign-extended into EAX
    kClsLng = 1,     // EAX
    kClsFloat = 2,   // ST0
    kClsStr = 3,     // the runtime's string stack
    kClsByte = 4,    // AL, zero-extended into EAX
    kClsIntPushed = 5,
    kClsLngPushed = 6,
    kClsBytePushed = 7,
};

// Argument markers whose byte 1 is not a value type.
constexpr uint8_t kTypeFromOperand = 0x20; // markers whose operand gives the type
constexpr uint8_t kTypeFromClass = 0x21;
constexpr uint8_t kNoIntType = 0xFF;

// Storage classes of variable tokens (after the decoder's modulo 16).
enum StorageClass : uint8_t {
    kStoreModule = 1,
    kStoreCommon = 2,
    kStoreFrame = 3,
    kStoreByRef = 4,
};

struct OperandDesc {
    uint8_t kind = 0;
    uint8_t type = 0;
    uint8_t storage = 0;
    uint32_t offset = 0;
    uint32_t strLength = 0;
    uint32_t typeSize = 0;
    uint32_t extra = 0;
    uint32_t baseSymbol = 0;
    uint32_t record = 0;  // the variable's record offset in its table
    uint32_t bounds = 0;  // bounds offset (arrays)
    bool computed = false; // the address is in EAX (array element)
};

struct Block {
    uint8_t kind;
    uint32_t slot; // first label slot of the block
};

// Block kinds.
constexpr uint8_t kBlkCount = 0;   // +0 test, +4 step, +8 exit
constexpr uint8_t kBlkLineIf = 1;
constexpr uint8_t kBlkIf = 2;
constexpr uint8_t kBlkWhile = 3;   // +0 top, +4 exit
constexpr uint8_t kBlkLoop = 4;    // +0 top, +4 continue, +8 exit
constexpr uint8_t kBlkSelect = 5;
constexpr uint8_t kBlkProc = 6;    // exit label
constexpr uint8_t kBlkIfClose = 7;

// An operand or result on the expression generator's stack.
struct ExprEntry {
    int pos;        // operand token, or -1 for a computed result
    uint8_t type;   // operand's type
    uint8_t cls;
    bool computed;
};

// One generator run over the statement stream.
struct Gen {
    explicit Gen(CgState &s) : st(s) {}
    CgState &st;

    // The statement being generated: token pointers, count, cursor, and
    // the end of the record (bounds for every token read).
    std::array<const uint8_t *, kMaxTokens + 1> tok{};
    int ntok = 0;
    int cur = 0;

    std::vector<Block> blocks;

    // The expression generator's stacks, one a nesting level (a group value
    // generates its expression inside another), kept from one expression to
    // the next; a deque, so a deeper level leaves the outer ones in place.
    std::deque<std::vector<ExprEntry>> exprStacks;
    size_t exprDepth = 0;

    // ProcNameTable entries of single-expression functions defined so far:
    // their +5 word holds a code offset, not a symbol.
    std::vector<uint32_t> defFns;

    // The procedure being generated.
    uint32_t skipLabel = 0;
    uint16_t argBytes = 0;
    bool inProc = false;
    // The argument bytes of the module routine's checked entry (PARAM).
    uint16_t checkedArgBytes = 0;

    // The statement's window or device prefix group (B5), or -1.
    int prefix = -1;

    // Temporaries the runtime made for the call being generated.
    uint16_t temps = 0;

    // A comparison whose flags a condition routine uses instead of a mask:
    // set while a condition is evaluated, filled by the comparison.
    bool wantFlags = false;
    uint8_t flagsJcc = 0; // short jump taken when the comparison is false
    bool flagsSet = false;

    // The precision of the last expression's floating result (2 or 3).
    uint8_t floatType = 3;
    // The integer type of a floating result that checked integer
    // arithmetic computed on the FPU, else kNoIntType.
    uint8_t floatIntType = 0xFF;

    // Token i, or the terminator past the end; asked for at every step of
    // every walker, so inline.
    const uint8_t *At(int i) const { return i < 0 || i > ntok ? tok[ntok] : tok[i]; }
    uint8_t Kind(int i) const { return At(i)[0]; }
    uint8_t Byte(int i, int k) const { return At(i)[k]; }
    uint32_t U32(int i, int k) const;
    uint16_t U16(int i, int k) const;
};

// ---- decoding and walking (cg_decode.cpp) ----------------------------------

// Cuts the statement starting at p (record end at end) into tokens; returns
// the terminator (F2 or F1). Error 90 past 512 tokens, 13/516 for a token
// that runs past the record.
const uint8_t *DecodeStatement(Gen &g, const uint8_t *p, const uint8_t *end);

void SkipExpression(Gen &g);  // from the group head to behind its BF
void SkipVarToken(Gen &g);
void SkipArrayToken(Gen &g);
void SkipCallToken(Gen &g);
void SkipOperand(Gen &g);     // one argument or operand group, or one token
bool AtStatementEnd(const Gen &g, int i);
// Index behind the group or token at i (no cursor change).
int SkipFrom(Gen &g, int i);

uint8_t MeasureExpression(Gen &g, int i);
// The value of an integer constant token (INT and WORD sign-extended as 16 bits).
int32_t ConstantInt(Gen &g, int i);

void GetOperandDesc(Gen &g, OperandDesc &d);
uint32_t VarBounds(Gen &g, const OperandDesc &d);
uint32_t TypeSize(uint8_t type, uint32_t strLength = 0, uint32_t typeSize = 0);
uint8_t ClassOfType(uint8_t type);

// ---- operands, expressions, assignment (cg_expr.cpp) -----------------------

// Puts a variable's address into EBX (or another register), or pushes it.
void LoadVariableAddress(Gen &g, const OperandDesc &d, Reg r = kEbx);
void PushVariableAddress(Gen &g, const OperandDesc &d);
// The address of an element, member or variable at the cursor, computed
// when it needs the runtime: into EAX when the descriptor says computed.
void GenOperandAddress(Gen &g, OperandDesc &d);
void GenArrayOperand(Gen &g, OperandDesc &d);
void GenMemberSelectors(Gen &g, OperandDesc &d); // cursor on 51 or 61

void LoadConstant(Gen &g, int i);
void GenLoadValue(Gen &g, const OperandDesc &d); // x87 or string stack
// A variable's numeric value into EAX (types 0, 1, 4) or ST0 (2, 3),
// or onto the string stack; returns the class.
uint8_t LoadVarValue(Gen &g, const OperandDesc &d, Reg r = kEax);

// The group at the cursor (B0-B4 head, or a bare operand): evaluated into
// its class; the cursor ends behind it.
uint8_t GenGroupValue(Gen &g);
uint8_t GenExpression(Gen &g);   // cursor on a B1 head
uint8_t EvalOperand(Gen &g);     // cursor on the operand token
uint8_t GenOperandToken(Gen &g); // cursor on a function token

// Condition at the cursor: jumps to the label slot when the condition is
// false (jumpIfTrue false) or true.
void GenCondition(Gen &g, uint32_t slot, bool jumpIfTrue);

void GenErrSetCall(Gen &g);
void GenLetAssignment(Gen &g);   // cursor behind 00 80
void GenAssignment(Gen &g, uint8_t code); // 81 decimal store, 82 LSET, 83 RSET
void GenStoreClass(Gen &g, const OperandDesc &target, uint8_t cls);

// ---- arguments (cg_args.cpp) -----------------------------------------------

// Converts a value in a class to a parameter type and pushes it (doubles
// stay in ST0, strings on the string stack).
void GenConvertCall(Gen &g, uint8_t type, uint8_t cls);
// The arguments of a runtime statement routine, up to the statement end.
void GenArgsForRoutine(Gen &g);
void GenRoutineArg(Gen &g);      // one item of such a list
// Arguments of a procedure or function call up to 4F (or the statement end
// for a CALL statement); returns the bytes pushed.
uint32_t PushCallArgs(Gen &g, uint8_t form, bool toStatementEnd);
// Arguments of a machine-code routine (CALLM) up to the statement end: as a
// procedure call's, but a string by reference as its text's address;
// returns the bytes pushed.
uint32_t GenArgListTmp(Gen &g);

// ---- statements (cg_mainpass.cpp, cg_io.cpp) --------------------------------

void GenStatementLine(Gen &g);
void GenPendingLabel(Gen &g);
void DispatchStatement(Gen &g);
void GenProcCall(Gen &g, int callToken, bool inExpression, uint8_t resultType);

void GenPrint(Gen &g);
void GenInput(Gen &g);
void GenOptional(Gen &g);
void PushPrefix(Gen &g);
// Pushes the control record of the array operand d.
void PushControl(Gen &g, const OperandDesc &d);
void GenRead(Gen &g);
void GenDim(Gen &g);
// One array of DIM, DEF BCD or DEF LEN at the cursor (cg_io.cpp); the length
// group of DEF LEN, or -1.
void DimensionArray(Gen &g, int lengthGroup);
// DEF BCD and DEF LEN (cg_decimal.cpp).
void GenDefDecimal(Gen &g);
// The decimal store's source: operands onto the string stack, the decimal
// routine per operator (cg_decimal.cpp); cursor on a B1 head.
void GenBcdExpression(Gen &g);
void GenSwap(Gen &g);
void GenMidStatement(Gen &g);
void GenErase(Gen &g);

// ---- graphics statements (cg_graphics.cpp) ----------------------------------

void GenGraphics(Gen &g);   // 0x98 COLOR@ and 0xB0-0xBE

// ---- module calls (cg_modcall.cpp) ------------------------------------------------

void GenReturns(Gen &g);   // RETURNS value
void GenCalls(Gen &g);     // CALLS target (typed references) or with a parameter block
void GenCallM(Gen &g);     // CALLM module, routine, arguments
void GenDefParm(Gen &g);   // DEF PARM: the code that builds a parameter block
// A typed reference list from the cursor to the statement end: per item a
// type word and an address, first item first, then the count.
void GenArgCount(Gen &g);

// ---- file statements (cg_file.cpp) ----------------------------------------------

void GenClose(Gen &g);      // counted list
void GenField(Gen &g);
void GenRecordIo(Gen &g);   // GET, PUT
void GenFileData(Gen &g);   // FREAD, FWRITE
void GenLockRange(Gen &g);  // LOCK, UNLOCK
// Pushes a variable operand's type word (type + 256 x size), then its
// address; i is its group or the variable token.
void PushTypedVariable(Gen &g, int i);

} // namespace txcg
