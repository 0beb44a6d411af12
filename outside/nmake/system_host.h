// The real files, processes and console of the machine NMAKE runs on.
#pragma once

#include <memory>

#include "make_engine.h"

namespace nmk {

std::unique_ptr<MakeHost> NewSystemHost();

}  // namespace nmk
