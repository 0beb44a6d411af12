// Little-endian field access over byte images (code, data sections,
// intermediate tables, the object file): the shared helpers of lebytes.h.
#pragma once

#include "lebytes.h"

namespace txcg {

using le::AppendU16;
using le::AppendU32;
using le::GetU16;
using le::GetU32;
using le::PutU16;
using le::PutU32;

} // namespace txcg
