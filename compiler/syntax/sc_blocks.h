// Control blocks across lines and within one line, labels and line
// numbers, FOR/NEXT and CASE shaping (handler slots 48-81).
#pragma once

#include <cstdint>

namespace txsc {

struct ScPass;

// After the last statement: one error line per block still open, the
// innermost first, each with its opening line.
void CheckOpenBlocks(ScPass &p);
// The common statement tail: closes the one-line blocks of this line.
// Returns 0 or the error word that ends the line.
uint16_t CloseLineBlocks(ScPass &p);

void SC_DefLbl(ScPass &p);
void SC_LblNam(ScPass &p);
void SC_DefLin(ScPass &p);
void SC_NewStm(ScPass &p);
void SC_ChkLinTop(ScPass &p);
void SC_PshLin(ScPass &p);
void SC_RepLin(ScPass &p);
void SC_TopLin(ScPass &p);
void SC_PopLin(ScPass &p);
void SC_DepLin(ScPass &p);
void SC_PshBlk(ScPass &p);
void SC_TopBlk(ScPass &p);
void SC_RepBlk(ScPass &p);
void SC_PopBlk(ScPass &p);
void SC_SrhBlk(ScPass &p);
void SC_ForVar(ScPass &p);
void SC_ForOne(ScPass &p);
void SC_ForTmp(ScPass &p);
void SC_NxtVar(ScPass &p);
void SC_NxtSpl(ScPass &p);
void SC_CasTmp(ScPass &p);
void SC_ClrEnd(ScPass &p);
void SC_CasTyp(ScPass &p);
void SC_CasEq(ScPass &p);
void SC_CasOpr(ScPass &p);
void SC_CasCmp(ScPass &p);
void SC_CasRng(ScPass &p);

}  // namespace txsc
