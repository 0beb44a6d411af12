// Intrinsic function calls inside expressions: inline x87 and integer code
// for the few that have it, a runtime routine by function code for the rest,
// and the operand tokens that are calls (own, declared and library
// functions).
#include <algorithm>
#include <cstring>
#include <vector>

#include "cg_bytes.h"
#include "cg_fixup.h"
#include "cg_gen.h"
#include "cg_operand.h"
#include "cg_tables.h"
#include "tokens.h"

namespace txcg {

namespace kw = tok::kw;
namespace fn = tok::fn;

// ---- function calls in expressions ---------------------------------------------

namespace {

// Runtime routines of the intrinsic functions that have no inline code;
// flagged ones are followed by the error check of the floating routines.
constexpr uint8_t kFlagged = 1;

struct FuncEntry {
    uint8_t code;
    const char *name;
    uint8_t flag = 0;
};

constexpr FuncEntry kFunctionTable[] = {
    {kw::kCSRLIN, "_$PfCSRLIN@4"},
    {kw::kDATE, "_$PfDATE@0"},
    {kw::kTIME, "_$PfTIME@0"},
    {kw::kERL, "_$PfERL@0"},
    {kw::kERR, "_$PfERR@0"},
    {kw::kRTN, "_$PfRTN@0"},
    {kw::kRND, "_$PaRnd@0"},
    {kw::kFREEFILE, "_$PfFREEFILE@0"},
    {kw::kMILLITIME, "_$PfMILLITIME@0"},
    {kw::kATN, "_$PnFAtn@0", kFlagged},
    {kw::kBAUD, "_$PfBAUD@4"},
    {kw::kCSNG, "_$PfCSNG@0"},
    {kw::kCDBL, "_$PfCDBL@0"},
    {kw::kEOF_, "_$PfEOF@4"},
    {kw::kEXP, "_$PnFExp@0", kFlagged},
    {kw::kFIX, "_$PnFFix@0", kFlagged},
    {kw::kFRE, "_$PfFRE@4"},
    {kw::kINT, "_$PnFInt@0", kFlagged},
    {kw::kLOC, "_$PfLOC@4"},
    {kw::kLOF, "_$PfLOF@4"},
    {kw::kLOG, "_$PnFLog@0", kFlagged},
    {kw::kLPOS, "_$PfLPOS@4"},
    {kw::kPOS, "_$PfPOS@8"},
    {kw::kSGN, "_$PnFSgn@0", kFlagged},
    {kw::kTAN, "_$PnFTan@0", kFlagged},
    {kw::kVIEW, "_$PfVIEW@8"},
    {kw::kWINDOW, "_$PfWINDOW@8"},
    {kw::kSEEK, "_$PfSEEK@4"},
    {kw::kDSKF, "_$PfDSKFp@0"},
    {fn::kDskfNumeric, "_$PfDSKFn@4"},
    {kw::kASC, "_$PfASC@0"},
    {kw::kCVI, "_$PfCVI@0"},
    {kw::kCVL, "_$PfCVL@0"},
    {kw::kCVS, "_$PfCVS@0"},
    {kw::kCVD, "_$PfCVD@0"},
    {kw::kJIS, "_$PfJIS@0"},
    {kw::kLEN, "_$PfLEN@0"},
    {kw::kVAL, "_$PfVAL@0"},
    {kw::kSTRADR, "_$PfSTRADR@0"},
    {kw::kFILEATTR, "_$PfFILEATTR@4"},
    {kw::kERRDEV, "_$PfERRDEV@4"},
    {kw::kMAP, "_$PfMAP@12"},
    {kw::kKTYPE, "_$PfKTYPE@4"},
    {kw::kKLEN, "_$PfKLEN@4"},
    {kw::kPOINT, "_$PfPOINT1@16"},
    {fn::kPointOneArg, "_$PfPOINT2@8"},
    {kw::kSCREEN, "_$PfSCREEN@16"},
    {kw::kINSTR, "_$PfINSTR@4"},
    {kw::kKINSTR, "_$PfKINSTR@4"},
    {kw::kSEARCH, "_$PfSEARCH@12"},
    {kw::kCOMMAND_S, "_$PfCOMMAND24@0"},
    {kw::kDATE_S, "_$PfDATE24@0"},
    {kw::kTIME_S, "_$PfTIME24@0"},
    {kw::kINKEY_S, "_$PfINKEY24@4"},
    {kw::kTODAY_S, "_$PfTODAY24@0"},
    {kw::kHEX_S, "_$PfHEX24@4"},
    {kw::kKNJ_S, "_$PfKNJ24@4"},
    {kw::kMKI_S, "_$PfMKI24@4"},
    {kw::kMKL_S, "_$PfMKL24@4"},
    {kw::kMKS_S, "_$PfMKS24@4"},
    {kw::kMKD_S, "_$PfMKD24@0"},
    {kw::kOCT_S, "_$PfOCT24@4"},
    {kw::kSPACE_S, "_$PfSPACE24@4"},
    {kw::kSPC, "_$PfSPC@4"},
    {kw::kTAB, "_$PfTAB@4"},
    {kw::kAKCNV_S, "_$PfAKCNV24@0"},
    {kw::kKACNV_S, "_$PfKACNV24@0"},
    {kw::kENV_S, "_$PfENV24@0"},
    {kw::kLCASE_S, "_$PfLCASE24@0"},
    {kw::kUCASE_S, "_$PfUCASE24@0"},
    {kw::kLTRIM_S, "_$PfLTRIM24@0"},
    {kw::kRTRIM_S, "_$PfRTRIM24@0"},
    {kw::kTRIM_S, "_$PfTRIM24@0"},
    {kw::kJCONV_S, "_$PfJCONV24@8"},
    {kw::kENVIRON_S, "_$PfENVIRON24@0"},
    {kw::kSTRING_S, "_$PfSTRING24@4"},
    {fn::kStringCode, "_$PfSTRING24C@8"},
    {kw::kKEXT_S, "_$PfKEXT24@4"},
    {kw::kKLEFT_S, "_$PfKLEFT24@4"},
    {kw::kKRIGHT_S, "_$PfKRIGHT24@4"},
    {kw::kLEFT_S, "_$PfLEFT24@4"},
    {kw::kRIGHT_S, "_$PfRIGHT24@4"},
    {kw::kCHR_S, "_$PfCHR24@4"},
    {kw::kINPUT_S, "_$PfINPUT242@8"},
    {fn::kInputFile, "_$PfINPUT241@8"},
    {kw::kKMID_S, "_$PfKMID24@8"},
    {kw::kMID_S, "_$PfMID24@8"},
};

const FuncEntry *FunctionEntry(uint8_t code) {
    for (const FuncEntry &e : kFunctionTable)
        if (e.code == code)
            return &e;
    return nullptr;
}

void CallFunctionTableEntry(Gen &g, uint8_t code) {
    const FuncEntry *e = FunctionEntry(code);
    if (!e)
        return;
    EmitCallRuntime(g.st, e->name);
    if (e->flag)
        GenErrSetCall(g);
}

bool IsOmitted(Gen &g, int i) { return g.Kind(i) == kTokKeyword && g.Byte(i, 1) == kKwNone; }

// Evaluates the argument at pos into its class.
uint8_t ArgValue(Gen &g, int pos) {
    g.cur = pos;
    return GenGroupValue(g);
}

void ArgPush(Gen &g, int pos) {
    g.cur = pos;
    GenRoutineArg(g);
}

const char *StrRoutine(uint8_t type) {
    switch (type) {
    case kTypeByt: return "_$PfSTR241@4";
    case kTypeInt: return "_$PfSTR242@4";
    case kTypeLng: return "_$PfSTR246@4";
    case kTypeSng: return "_$PfSTR244@4";
    case kTypeBcd: return "_$PfSTR24Bcd@0"; // the decimal's text on the string stack
    default: return "_$PfSTR248@0";
    }
}

using Args = std::vector<int>;

// ABS, COS, SIN, SQR: on the FPU stack.
void GenFloatFunction(Gen &g, uint8_t code, const Args &args) {
    auto &st = g.st;
    if (!args.empty()) {
        const uint8_t cls = ArgValue(g, args[0]);
        if (cls != kClsFloat)
            EmitCallRuntime(st, FldRoutine(cls));
    } else {
        EmitInsn(st, kFldz);
    }
    EmitInsn(st, code == kw::kABS ? kFabs : code == kw::kCOS ? kFcos : code == kw::kSIN ? kFsin : kFsqrt);
    GenErrSetCall(g);
}

// CINT, CLNG, CBYT: the range checks only under the overflow option.
void GenConversion(Gen &g, uint8_t code, const Args &args) {
    auto &st = g.st;
    const uint8_t cls = !args.empty() ? ArgValue(g, args[0]) : uint8_t(kClsInt);
    const bool check = st.opt.overflowCheck != 0;
    if (code == kw::kCINT) {
        if (cls == kClsFloat)
            EmitCallRuntime(st, "$PbFstInt");
        else if (cls == kClsLng && check)
            EmitCallRuntime(st, "$PbCnvLtoI");
    } else if (code == kw::kCLNG) {
        if (cls == kClsFloat)
            EmitCallRuntime(st, "$PbFstLng");
    } else {
        if (cls == kClsFloat)
            EmitCallRuntime(st, "$PbFstByte");
        else if (cls == kClsInt && check)
            EmitCallRuntime(st, "$PbCnvItoUC");
        else if (cls == kClsLng && check)
            EmitCallRuntime(st, "$PbCnvLtoUC");
    }
}

void GenVarptr(Gen &g, const Args &args) {
    if (args.empty())
        return;
    int p = args[0];
    if (IsGroupHead(g.Kind(p)))
        ++p;
    g.cur = p;
    OperandDesc d;
    GenOperandAddress(g, d);
    LoadVariableAddress(g, d, kEax);
}

void GenStr(Gen &g, const Args &args) {
    uint8_t type = kTypeDbl;
    if (!args.empty() && g.Kind(args[0]) == kTokValue && MeasureExpression(g, args[0] + 1) == kTypeBcd) {
        // A decimal: its text onto the string stack.
        ArgValue(g, args[0]);
        type = kTypeBcd;
    } else if (!args.empty()) {
        ArgPush(g, args[0]);
        type = g.Byte(args[0], 1);
        if (!IsGroupHead(g.Kind(args[0])))
            type = MeasureExpression(g, args[0]);
    }
    EmitCallRuntime(g.st, StrRoutine(type));
}

// INSTR([start,] searched, sought): without a start the search begins at 1.
void GenInstr(Gen &g, uint8_t code, const Args &args) {
    const size_t n = args.size();
    bool startGiven = n >= 3;
    if (n == 2) {
        const int p = args[0];
        uint8_t t = g.Byte(p, 1);
        if (IsGroupHead(g.Kind(p)) && (t == kTypeFromOperand || t == kTypeFromClass) &&
            g.Kind(p) != kTokExpression)
            t = MeasureExpression(g, p + 1);
        startGiven = t < kTypeStr || t > kTypeFix;
    }
    for (auto it = args.rbegin(); it != args.rend(); ++it)
        ArgPush(g, *it);
    if (!startGiven)
        EmitPushImm(g.st, 1);
    CallFunctionTableEntry(g, code);
}

// CHR$ takes its codes as a counted list on the stack.
void GenChr(Gen &g, uint8_t code, const Args &args) {
    auto &st = g.st;
    const size_t n = args.size();
    for (int p : args)
        ArgPush(g, p);
    EmitPushImm(st, int32_t(n));
    EmitPushReg(st, kEsp);
    CallFunctionTableEntry(g, code);
    EmitAddRegImm(st, kEsp, int32_t(4 * n + 4));
}

// MID$, KMID$: an omitted length is the largest one.
void GenMid(Gen &g, uint8_t code, const Args &args) {
    const size_t n = args.size();
    if (n >= 3 && !IsOmitted(g, args[2]))
        ArgPush(g, args[2]);
    else
        EmitPushImm(g.st, 2147483647);
    if (n >= 2)
        ArgPush(g, args[1]);
    if (n >= 1)
        ArgPush(g, args[0]);
    CallFunctionTableEntry(g, code);
}

// An argument's type as its marker gives it, or as its operand or
// expression decides it (an expression by its first operand); the
// string family counts as 16.
uint8_t ArgType(Gen &g, int p, bool expressionAsDouble) {
    uint8_t t;
    if (!IsGroupHead(g.Kind(p))) {
        t = MeasureExpression(g, p);
    } else {
        t = g.Byte(p, 1);
        if (t == kTypeFromOperand || t == kTypeFromClass) {
            t = MeasureExpression(g, p + 1);
            if (expressionAsDouble && (g.Kind(p) == kTokExpression || g.Kind(p) == kTokByRefExpr) &&
                (t < kTypeStr || t > kTypeFix))
                t = kTypeDbl;
        }
    }
    return t >= kTypeStr && t <= kTypeFix ? uint8_t(kTypeStr) : t;
}

// Writes the decided type into the argument's marker, so that it is pushed
// as that type.
void SetArgType(Gen &g, int p, uint8_t t) {
    if (IsGroupHead(g.Kind(p)))
        const_cast<uint8_t *>(g.At(p))[1] = t;
}

// FORMAT$(x, fmt$): the routine by x's type; x first, then the format.
void GenFormat(Gen &g, const Args &args) {
    if (args.size() < 2)
        return;
    const uint8_t t = ArgType(g, args[0], true);
    SetArgType(g, args[0], t);
    ArgPush(g, args[0]);
    ArgPush(g, args[1]);
    const char *routine = "_$PfFORMAT248@0";
    switch (t) {
    case kTypeByt: routine = "_$PfFORMAT241@4"; break;
    case kTypeInt: routine = "_$PfFORMAT242@4"; break;
    case kTypeLng:
    case kTypeValue4: routine = "_$PfFORMAT246@4"; break;
    case kTypeSng: routine = "_$PfFORMAT244@4"; break;
    case kTypeStr: routine = "_$PfFORMAT245@0"; break;
    default: break;
    }
    EmitCallRuntime(g.st, routine);
}

// SEARCH(array, value, n, m): m and n pushed first, then the array's
// address, then the value (a number as a double in ST0, a string on the
// string stack).
void GenSearch(Gen &g, uint8_t code, const Args &args) {
    if (args.size() < 4)
        return;
    ArgPush(g, args[3]);
    ArgPush(g, args[2]);
    int a = args[0];
    if (IsGroupHead(g.Kind(a)))
        ++a;
    g.cur = a;
    OperandDesc d;
    GenOperandAddress(g, d);
    PushVariableAddress(g, d);
    const uint8_t t = ArgType(g, args[1], false);
    SetArgType(g, args[1], t == kTypeStr ? uint8_t(kTypeStr) : uint8_t(kTypeDbl));
    ArgPush(g, args[1]);
    CallFunctionTableEntry(g, code);
}

// Arguments pushed last first, then the address of the B5 group's variable
// (or 0) when there is one.
void PushArgsAndGroup(Gen &g, const Args &args, int group) {
    for (auto it = args.rbegin(); it != args.rend(); ++it)
        ArgPush(g, *it);
    if (group >= 0) {
        if (g.Kind(group + 1) == kTokConstant || g.Kind(group + 1) == kTokGroupEnd) {
            EmitPushImm(g.st, 0);
        } else {
            g.cur = group + 1;
            OperandDesc d;
            GenOperandAddress(g, d);
            PushVariableAddress(g, d);
        }
    }
}

// The rest: the arguments and the group, then the table's routine.
void GenTableCall(Gen &g, uint8_t code, const Args &args, int group) {
    PushArgsAndGroup(g, args, group);
    CallFunctionTableEntry(g, code);
}

// MOUSE(n) and MOUSE(n, m): two routines by the number of arguments.
void GenMouse(Gen &g, const Args &args, int group) {
    PushArgsAndGroup(g, args, group);
    EmitCallRuntime(g.st, args.size() == 1 ? "_$PfMOUSE1@8" : "_$PfMOUSE2@12");
}

// POINT(x, y): the coordinates as singles after the prefix and a STEP word
// of 0, as the POINT statement passes them.
void GenPoint(Gen &g, const Args &args, int group) {
    for (auto it = args.rbegin(); it != args.rend(); ++it)
        ArgPush(g, *it);
    EmitPushImm(g.st, 0);
    GenTableCall(g, kw::kPOINT, {}, group);
}

// The argument tokens of the call at `at`, up to its list end; `end` is
// the token after it.
Args IntrinsicArgs(Gen &g, int at, int &end) {
    Args args;
    int i = at + 1;
    while (i < g.ntok && g.Kind(i) != kTokArgListEnd) {
        const uint8_t k = g.Kind(i);
        if (IsGroupHead(k) || k == kTokKeyword || k == kTokConstant || IsVarToken(k) || IsFuncToken(k))
            args.push_back(i);
        const bool group = k == kTokGroup;
        i = SkipFrom(g, i);
        // A B5 group leads its function: one argument with it.
        if (group && i < g.ntok && IsFuncToken(g.Kind(i)))
            i = SkipFrom(g, i);
    }
    end = i < g.ntok ? i + 1 : i;
    return args;
}

// Cursor on the 40 token; group is the index of a B5 group in front, or -1.
void GenIntrinsicCall(Gen &g, int group) {
    const int at = g.cur;
    const uint8_t code = g.Byte(at, 1);
    int end = 0;
    const Args args = IntrinsicArgs(g, at, end);
    switch (code) {
    case kw::kABS:
    case kw::kCOS:
    case kw::kSIN:
    case kw::kSQR: GenFloatFunction(g, code, args); break;
    case kw::kCINT:
    case kw::kCLNG:
    case kw::kCBYT: GenConversion(g, code, args); break;
    case kw::kVARPTR: GenVarptr(g, args); break;
    case kw::kSTR_S: GenStr(g, args); break;
    case kw::kINSTR:
    case kw::kKINSTR: GenInstr(g, code, args); break;
    case kw::kCHR_S: GenChr(g, code, args); break;
    case kw::kKMID_S:
    case kw::kMID_S: GenMid(g, code, args); break;
    case kw::kFORMAT_S: GenFormat(g, args); break;
    case kw::kSEARCH: GenSearch(g, code, args); break;
    case kw::kMOUSE: GenMouse(g, args, group); break;
    case kw::kPOINT: GenPoint(g, args, group); break;
    default: GenTableCall(g, code, args, group); break;
    }
    g.cur = end;
}

} // namespace

uint8_t GenOperandToken(Gen &g) {
    auto &st = g.st;
    int group = -1;
    if (g.Kind(g.cur) == kTokGroup) {
        group = g.cur;
        SkipOperand(g);
    }
    const int at = g.cur;
    const uint8_t k = g.Kind(at);
    uint8_t type = 0;
    switch (k) {
    case kTokIntrinsic:
        type = g.Byte(at, 2);
        GenIntrinsicCall(g, group);
        break;
    case kTokOwnFunc:
    case kTokDeclFunc:
    case kTokLibFunc:
        type = g.Byte(at, 1);
        GenProcCall(g, at, true, type);
        break;
    default:
        ++g.cur;
        EmitMovRegImm(st, kEax, 0);
        return kClsInt;
    }
    switch (type) {
    case kTypeInt:
        EmitByte(st, kCwde);
        return kClsInt;
    case kTypeLng:
    case kTypeValue4: return kClsLng;
    case kTypeSng:
    case kTypeDbl: return kClsFloat;
    case kTypeByt:
        EmitAndEaxMask(st, 0xFF);
        return kClsByte;
    default: return kClsStr;
    }
}

} // namespace txcg
