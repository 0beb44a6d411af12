// StmtHandlerTable: the handlers the rule program calls by slot number.
#include "sc_blocks.h"
#include "sc_expr.h"
#include "sc_machine.h"
#include "sc_names.h"
#include "sc_procs.h"

namespace txsc {

namespace {

struct SlotEntry {
    uint8_t slot;
    Handler fn;
};

const SlotEntry kSlots[] = {
    {1, SC_PshNam},    {2, SC_PopNam},    {3, SC_ExpOpen},   {4, SC_ExpOpr},    {5, SC_ExpPfx},
    {6, SC_ExpPar},    {7, SC_ExpCls},    {8, SC_ExpClose},  {9, SC_ExpCst},    {10, SC_ExpFun},
    {11, SC_FunEnd},   {12, SC_TypGrp},   {13, SC_TypCur},   {14, SC_TypSet},   {16, SC_RefTgt},
    {18, SC_AsgMrk},   {19, SC_AsgTgt},   {20, SC_AsgChk},   {21, SC_RefVar},   {22, SC_RefIdx},
    {25, SC_RefArr},   {29, SC_DclArr},   {34, SC_AsgSam},   {35, SC_ExpTarget}, {36, SC_BackName},
    {37, SC_TypFix},   {42, SC_SizVar},   {46, SC_ChkCtx},   {47, SC_ArgVal},   {48, SC_DefLbl},
    {49, SC_DefLin},   {50, SC_EndTok},   {51, SC_NewStm},   {52, SC_DatItm},   {53, SC_TrpBit},
    {57, SC_ChkLinTop}, {58, SC_PshLin},  {59, SC_RepLin},   {60, SC_TopLin},   {61, SC_PopLin},
    {62, SC_DepLin},   {64, SC_PshBlk},   {65, SC_TopBlk},   {66, SC_RepBlk},   {67, SC_PopBlk},
    {68, SC_IsSub},    {69, SC_SrhBlk},   {70, SC_ForVar},   {71, SC_ForOne},   {72, SC_ForTmp},
    {73, SC_NxtVar},   {74, SC_NxtSpl},   {75, SC_CasTmp},   {76, SC_ClrEnd},   {77, SC_CasTyp},
    {78, SC_CasEq},    {79, SC_CasCmp},   {80, SC_CasRng},   {81, SC_CasOpr},   {82, SC_TypOn},
    {83, SC_TypTst},   {84, SC_TypOff},   {85, SC_DefTyp},   {86, SC_DefMbr},   {87, SC_RefMbr},
    {88, SC_RefMbr},   {90, SC_EndPrc},   {91, SC_InPrc},    {92, SC_DclPrc},   {93, SC_ArgPsh},
    {94, SC_DefPrc},   {95, SC_ArgMrk},   {96, SC_ArgCnt},   {97, SC_ArgArr},   {98, SC_ArgPop},
    {99, SC_ArgDef},   {100, SC_HeadLast}, {102, SC_ModSub}, {108, SC_IsCst},   {114, SC_LstSub},
    {120, SC_LstKnd},  {126, SC_DclOn},   {127, SC_DclTst},  {128, SC_DclOff},
};

struct HandlerArray {
    Handler fn[kHandlerSlots] = {};
    constexpr HandlerArray() {
        for (const SlotEntry &e : kSlots) fn[e.slot] = e.fn;
    }
};

constexpr HandlerArray kArray;

}  // namespace

const Handler kHandlers[kHandlerSlots] = {
#define H(i) kArray.fn[i]
#define H10(i) H(i), H(i + 1), H(i + 2), H(i + 3), H(i + 4), H(i + 5), H(i + 6), H(i + 7), H(i + 8), H(i + 9)
    H10(0),   H10(10),  H10(20),  H10(30),  H10(40),  H10(50),  H10(60),
    H10(70),  H10(80),  H10(90),  H10(100), H10(110), H10(120), H10(130),
    H(140), H(141), H(142), H(143), H(144), H(145),
#undef H10
#undef H
};

}  // namespace txsc
