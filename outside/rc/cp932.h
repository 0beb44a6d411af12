// Code page 932 text to UTF-16, as the resource compiler writes menu texts
// and resource names.
#pragma once

#include <string>

namespace rc {

std::u16string Cp932ToUtf16(const std::string &bytes);

}  // namespace rc
