#include "cg_module.h"

namespace txcg {

// The statement generators are not part of this library yet: a module with
// statements cannot be compiled, and says so instead of writing a wrong
// object.
void GenerateStatements(CgState &) { CgFail(kErrInternal); }

} // namespace txcg
