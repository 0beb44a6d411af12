#include "passes.h"

extern "C" TX_PASS_EXPORT int CG_CmpFil(CmpFilParam *param) {
    (void)param;
    return 1;
}
