// The declarations of the decimal types (handler slot of DEF BCD and
// DEF LEN).
#pragma once

namespace txsc {

struct ScPass;

void SC_DclDec(ScPass &p);
void SC_DclDecFrm(ScPass &p);

}  // namespace txsc
