#include "passerror.h"
#include "preprocess.h"
#include "txpp.h"

#include <new>

// Nothing may escape a C entry point: a failure becomes a pass error or a
// non-zero result.
extern "C" TX_PASS_EXPORT int PP_CmpFil(CmpFilParam *param) {
    if (!param) return 0;
    try {
        return pp::CompileFile(*param);
    } catch (const std::bad_alloc &) {
        tx::StorePassError(*param, 6);
    } catch (...) {
        tx::StorePassError(*param, 90);
    }
    return 0;
}

extern "C" TX_PASS_EXPORT int PP_EdtChk(char *text, unsigned char *tokens, int mode) {
    try {
        return pp::EditCheck(text, tokens, mode);
    } catch (...) {
        return -1;
    }
}
