// Procedures: declarations with their external names, definitions that
// open a body, and the matching of call arguments to declared parameters.
#pragma once

namespace txsc {

struct ScPass;

void SC_DclPrc(ScPass &p);
void SC_DefPrc(ScPass &p);
void SC_EndPrc(ScPass &p);
void SC_DefFn(ScPass &p);
void SC_EndFn(ScPass &p);
void SC_RefFn(ScPass &p);
void SC_InPrc(ScPass &p);
void SC_ArgPsh(ScPass &p);
void SC_ArgMrk(ScPass &p);
void SC_ArgCnt(ScPass &p);
void SC_ArgArr(ScPass &p);
void SC_ArgPop(ScPass &p);
void SC_ArgDef(ScPass &p);
void SC_HeadLast(ScPass &p);

}  // namespace txsc
