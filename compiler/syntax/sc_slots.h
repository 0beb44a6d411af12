// The rule program's handler slots: name, slot number, handler. The
// grammar's slot names and the handler table both come from this list.
#pragma once

#define TXSC_HANDLER_SLOTS(X) \
    X(PshNam, 1, SC_PshNam) X(PopNam, 2, SC_PopNam) X(ExpOpen, 3, SC_ExpOpen) \
    X(ExpOpr, 4, SC_ExpOpr) X(ExpPfx, 5, SC_ExpPfx) X(ExpPar, 6, SC_ExpPar) \
    X(ExpCls, 7, SC_ExpCls) X(ExpClose, 8, SC_ExpClose) X(ExpCst, 9, SC_ExpCst) \
    X(ExpFun, 10, SC_ExpFun) X(FunEnd, 11, SC_FunEnd) X(TypGrp, 12, SC_TypGrp) \
    X(TypCur, 13, SC_TypCur) X(TypSet, 14, SC_TypSet) X(RefTgt, 16, SC_RefTgt) \
    X(AsgMrk, 18, SC_AsgMrk) X(AsgTgt, 19, SC_AsgTgt) X(AsgChk, 20, SC_AsgChk) \
    X(RefVar, 21, SC_RefVar) X(RefIdx, 22, SC_RefIdx) X(FrmCnt, 23, SC_FrmCnt) X(FrmItm, 24, SC_FrmItm) X(RefArr, 25, SC_RefArr) X(ArrRef, 26, SC_ArrRef) X(FrmOpn, 27, SC_FrmOpn) X(DclFrm, 28, SC_DclFrm) \
    X(DclArr, 29, SC_DclArr) X(ShrNam, 30, SC_ShrNam) X(ComBlk, 31, SC_ComBlk) X(AsgSam, 34, SC_AsgSam) X(ExpTarget, 35, SC_ExpTarget) \
    X(BackName, 36, SC_BackName) X(TypFix, 37, SC_TypFix) X(SizVar, 42, SC_SizVar) X(UsrMrk, 43, SC_UsrMrk) \
    X(LblNam, 44, SC_LblNam) X(ChkCtx, 46, SC_ChkCtx) X(ArgVal, 47, SC_ArgVal) X(DefLbl, 48, SC_DefLbl) \
    X(DefLin, 49, SC_DefLin) X(EndTok, 50, SC_EndTok) X(NewStm, 51, SC_NewStm) \
    X(DatItm, 52, SC_DatItm) X(TrpBit, 53, SC_TrpBit) X(AsgPos, 54, SC_AsgPos) X(AsgDrop, 55, SC_AsgDrop) \
    X(ChkLinTop, 57, SC_ChkLinTop) \
    X(PshLin, 58, SC_PshLin) X(RepLin, 59, SC_RepLin) X(TopLin, 60, SC_TopLin) \
    X(PopLin, 61, SC_PopLin) X(DepLin, 62, SC_DepLin) X(PshBlk, 64, SC_PshBlk) \
    X(TopBlk, 65, SC_TopBlk) X(RepBlk, 66, SC_RepBlk) X(PopBlk, 67, SC_PopBlk) \
    X(IsSub, 68, SC_IsSub) X(SrhBlk, 69, SC_SrhBlk) X(ForVar, 70, SC_ForVar) \
    X(ForOne, 71, SC_ForOne) X(ForTmp, 72, SC_ForTmp) X(NxtVar, 73, SC_NxtVar) \
    X(NxtSpl, 74, SC_NxtSpl) X(CasTmp, 75, SC_CasTmp) X(ClrEnd, 76, SC_ClrEnd) \
    X(CasTyp, 77, SC_CasTyp) X(CasEq, 78, SC_CasEq) X(CasCmp, 79, SC_CasCmp) \
    X(CasRng, 80, SC_CasRng) X(CasOpr, 81, SC_CasOpr) X(TypOn, 82, SC_TypOn) \
    X(TypTst, 83, SC_TypTst) X(TypOff, 84, SC_TypOff) X(DefTyp, 85, SC_DefTyp) \
    X(DefMbr, 86, SC_DefMbr) X(RefMbr, 87, SC_RefMbr) X(RefMbrAlt, 88, SC_RefMbr) \
    X(EndPrc, 90, SC_EndPrc) X(InPrc, 91, SC_InPrc) X(DclPrc, 92, SC_DclPrc) \
    X(ArgPsh, 93, SC_ArgPsh) X(DefPrc, 94, SC_DefPrc) X(ArgMrk, 95, SC_ArgMrk) \
    X(ArgCnt, 96, SC_ArgCnt) X(ArgArr, 97, SC_ArgArr) X(ArgPop, 98, SC_ArgPop) \
    X(ArgDef, 99, SC_ArgDef) X(HeadLast, 100, SC_HeadLast) X(ModSub, 102, SC_ModSub) \
    X(InMod, 103, SC_InMod) X(DefMod, 104, SC_DefMod) X(ModPrm, 105, SC_ModPrm) X(RefBlk, 106, SC_RefBlk) X(RefArg, 125, SC_RefArg) \
    X(IsCst, 108, SC_IsCst) X(DefFn, 109, SC_DefFn) X(EndFn, 110, SC_EndFn) X(RefFn, 111, SC_RefFn) X(ObjImp, 112, SC_ObjImp) X(LstSub, 114, SC_LstSub) X(LstKnd, 120, SC_LstKnd) \
    X(ObjExp, 113, SC_ObjExp) X(ObjPsh, 115, SC_ObjPsh) X(ObjPop, 116, SC_ObjPop) X(ObjKwd, 117, SC_ObjKwd) \
    X(ObjCls, 118, SC_ObjCls) X(PrcForm, 119, SC_PrcForm) X(ObjHead, 121, SC_ObjHead) X(ObjOwn, 122, SC_ObjHead) X(ObjThis, 124, SC_ObjThis) \
    X(DclOn, 126, SC_DclOn) X(DclTst, 127, SC_DclTst) X(DclOff, 128, SC_DclOff) X(BoxWrd, 130, SC_BoxWrd) X(SizTyp, 144, SC_SizTyp) \
    X(DclDec, 139, SC_DclDec) X(DclDecFrm, 140, SC_DclDecFrm)
