// The analyzer pass as the DLL export calls it.
#pragma once

#include "cmpfilparam.h"

namespace txsc {

// Runs the whole pass over the block's files: 1 when the intermediate file
// is complete, 0 after a fatal failure or after statement errors.
int CompileModule(CmpFilParam *param);

}  // namespace txsc
