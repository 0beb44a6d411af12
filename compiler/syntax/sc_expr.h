// Expressions: constants into the pool, the operator-precedence analysis
// that writes postfix items, folding of constant expressions, expression
// typing, string constants, DATA items, and the expression handlers of the
// rule program.
#pragma once

#include <cstddef>
#include <cstdint>

#include "sc_fold.h"

namespace txsc {

struct ScPass;

// Takes the constant token just consumed into the pool (a string into the
// string-constant list) and writes its item; 0 or a status.
uint8_t TakeConstant(ScPass &p);
// Enters a string constant; returns its handle or 0 with the status in
// *status (121 when the table size overflows).
uint32_t EnterString(ScPass &p, const char *text, size_t len, uint8_t *status);
// Evaluates a constant expression from the token cursor; the result is one
// constant, 0 or a status.
uint8_t EvalConstExpr(ScPass &p, Cst &out);
// Types the expression whose start item is at `start` and whose end item
// closes the buffer; adjusts the start. 0 or a status.
uint8_t TypeExpression(ScPass &p, int start);
// A compiler temporary of `type`: entered, and its operand items written.
uint8_t NewTemporary(ScPass &p, uint8_t type);
// A DATA item with the raw text of the token range.
void AddDataItem(ScPass &p, int off, int len);

void SC_ExpTarget(ScPass &p);
void SC_ExpOpen(ScPass &p);
void SC_ExpOpr(ScPass &p);
void SC_ExpPfx(ScPass &p);
void SC_ExpPar(ScPass &p);
void SC_ExpCls(ScPass &p);
void SC_ExpClose(ScPass &p);
void SC_ExpCst(ScPass &p);
void SC_ExpFun(ScPass &p);
void SC_FunEnd(ScPass &p);
void SC_TypGrp(ScPass &p);
void SC_TypCur(ScPass &p);
void SC_TypSet(ScPass &p);
void SC_TypFix(ScPass &p);
void SC_AsgMrk(ScPass &p);
void SC_AsgTgt(ScPass &p);
void SC_AsgChk(ScPass &p);
void SC_AsgSam(ScPass &p);
void SC_EndTok(ScPass &p);
void SC_TrpBit(ScPass &p);
void SC_ModSub(ScPass &p);
void SC_IsCst(ScPass &p);
void SC_LstSub(ScPass &p);
void SC_DatItm(ScPass &p);
void SC_ChkCtx(ScPass &p);
void SC_ArgVal(ScPass &p);
void SC_SizVar(ScPass &p);
void SC_SizTyp(ScPass &p);
void SC_LstKnd(ScPass &p);
void SC_AsgPos(ScPass &p);
void SC_AsgDrop(ScPass &p);

}  // namespace txsc
