// Compiled with code page 932 as the execution character set.
#include "make_engine.h"

namespace nmk {

const char *const kUpToDateText = "は更新する必要がありません。";

}  // namespace nmk
