// The core of the preprocessor pass and of the line check, behind the C
// entry points of txpp.h.
#pragma once

#include "cmpfilparam.h"

#include <cstdint>

namespace pp {

// The first pass: source file in, source-list and token-code temporaries out.
// 1 on success; otherwise err_code, err_detail and err_text are set.
int CompileFile(CmpFilParam &param);

// The line printed when a precompiled header is asked for.
const char *PchNotCreatedText();

// The line tokeniser (PP_EdtChk).
int EditCheck(char *text, unsigned char *tokens, int mode);

}  // namespace pp
