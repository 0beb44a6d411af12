#include "passerror.h"

#include <cstring>

#include "dbcs.h"

namespace tx {

void StorePassError(CmpFilParam &param, uint32_t code, uint32_t detail, const char *name) {
    param.err_code = code;
    param.err_detail = detail;
    std::size_t n = name ? SjisFitLength(name, sizeof param.err_text - 1) : 0;
    if (n)
        std::memcpy(param.err_text, name, n);
    param.err_text[n] = '\0';
}

}  // namespace tx
