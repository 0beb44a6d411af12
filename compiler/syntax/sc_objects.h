// The object prefix and the hidden object of EDECL routines (slots 112-124).
#pragma once

namespace txsc {

struct ScPass;

void SC_ObjImp(ScPass &p);
void SC_ObjExp(ScPass &p);
void SC_ObjPsh(ScPass &p);
void SC_ObjPop(ScPass &p);
void SC_ObjKwd(ScPass &p);
void SC_ObjCls(ScPass &p);
void SC_PrcForm(ScPass &p);
void SC_ObjHead(ScPass &p);
void SC_ObjThis(ScPass &p);

}  // namespace txsc
