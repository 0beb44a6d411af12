// What RC prints and where it writes.
#pragma once

#include <string>

#include "rc_lex.h"

namespace rc {

// "file(line) : error RCnnnn : text"; an error outside a script line is
// "RC : fatal error RCnnnn : text".
std::string FormatError(const RcError &e);

// The script's name with the extension of its file-name part replaced by
// ".res" (added when it has none); a folder holding ".rc" is left alone.
std::string DefaultOutputName(const std::string &script);

}  // namespace rc
