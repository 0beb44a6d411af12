// The module as a routine (PARAM) and the arguments of the module calls.
#pragma once

namespace txsc {

struct ScPass;

void SC_DefMod(ScPass &p);
void SC_ModPrm(ScPass &p);
void SC_InMod(ScPass &p);
void SC_RefArg(ScPass &p);
void SC_RefBlk(ScPass &p);

}  // namespace txsc
