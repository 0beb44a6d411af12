// Names in statements: declared names with their type clauses, variables,
// arrays, routines, members, and the two declaration modes (handler slots
// of the name family).
#pragma once

#include <cstdint>
#include <vector>

namespace txsc {

struct ScPass;
struct SymTemplate;

// A type clause "AS type" at the cursor (after the AS word): the type, its
// user-type record or string length; 0 or a status.
uint8_t ParseTypeClause(ScPass &p, uint8_t *type, uint32_t *extra, bool suffix, uint8_t suffixType);

// The record size a declared name takes, and a declaration's constant
// bounds "b1, b2, ...)" at the cursor (0 or a status).
uint32_t NameRecordSize(const SymTemplate &t);
uint8_t ConstantBounds(ScPass &p, std::vector<int32_t> &bounds);

void SC_PshNam(ScPass &p);
void SC_PopNam(ScPass &p);
void SC_RefTgt(ScPass &p);
void SC_RefVar(ScPass &p);
void SC_RefIdx(ScPass &p);
void SC_RefArr(ScPass &p);
void SC_ArrRef(ScPass &p);
void SC_ShrNam(ScPass &p);
void SC_ComBlk(ScPass &p);
void SC_FrmOpn(ScPass &p);
void SC_FrmCnt(ScPass &p);
void SC_FrmItm(ScPass &p);
void SC_DclFrm(ScPass &p);
void SC_DclArr(ScPass &p);
void SC_RefMbr(ScPass &p);
void SC_TypOn(ScPass &p);
void SC_TypTst(ScPass &p);
void SC_TypOff(ScPass &p);
void SC_DclOn(ScPass &p);
void SC_DclTst(ScPass &p);
void SC_DclOff(ScPass &p);
void SC_DefTyp(ScPass &p);
void SC_DefMbr(ScPass &p);
void SC_BackName(ScPass &p);
void SC_UsrMrk(ScPass &p);
void SC_IsSub(ScPass &p);

}  // namespace txsc
