#include "rc_output.h"

#include <cstdio>

#include "dbcs.h"

namespace rc {

std::string FormatError(const RcError &e) {
    char code[16];
    std::snprintf(code, sizeof code, "RC%04d", e.code);
    if (e.line <= 0)
        return e.file + " : fatal error " + code + " : " + e.text;
    return e.file + "(" + std::to_string(e.line) + ") : error " + code + " : " + e.text;
}

std::string DefaultOutputName(const std::string &script) {
    std::size_t dot = std::string::npos;
    for (std::size_t i = 0; i < script.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(script[i]);
        if (tx::IsSjisLeadByte(c) && i + 1 < script.size()) {
            ++i;
            continue;
        }
        if (c == '.')
            dot = i;
        else if (c == '\\' || c == '/' || c == ':')
            dot = std::string::npos;
    }
    return (dot == std::string::npos ? script : script.substr(0, dot)) + ".res";
}

}  // namespace rc
