#include "passes.h"
#include "sc_driver.h"

extern "C" TX_PASS_EXPORT int SC_CmpFil(CmpFilParam *param) { return txsc::CompileModule(param); }
