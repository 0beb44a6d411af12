#include "passes.h"

extern "C" TX_PASS_EXPORT int PP_CmpFil(CmpFilParam *param) {
    (void)param;
    return 1;
}
