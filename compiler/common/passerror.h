// How a pass reports a failure in the parameter block: the code, the detail
// naming the kind of file (0x1nn user or module file, 0x2nn temporary) and
// the file's name. The driver prints these three fields.
#pragma once

#include <cstdint>

#include "cmpfilparam.h"

namespace tx {

// Copies at most kErrTextSize - 1 bytes of name, never half a double-byte
// character, and always terminates err_text: a long path is cut short
// instead of running past the block. A null name stores an empty text.
void StorePassError(CmpFilParam &param, uint32_t code, uint32_t detail = 0,
                    const char *name = nullptr);

}  // namespace tx
