// The statements of a resource script and the compiled resource file.
// Resources come out in script order, all in one language.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "rc_lex.h"

namespace rc {

// Resource types (the platform's numbers).
enum ResType : std::uint16_t {
    kRtCursor = 1,
    kRtBitmap = 2,
    kRtIcon = 3,
    kRtMenu = 4,
    kRtAccelerator = 9,
    kRtRcdata = 10,
    kRtGroupCursor = 12,
    kRtGroupIcon = 14,
};

constexpr std::uint16_t kJapanese = 0x0411;

struct ResName {
    bool is_ordinal = false;
    std::uint16_t ordinal = 0;
    std::string text;   // code page 932, single-byte letters upper-cased
};

struct Resource {
    std::uint16_t type = 0;
    ResName name;
    std::uint16_t memory_flags = 0;
    std::uint16_t language = kJapanese;
    std::string data;
};

struct CompileOptions {
    std::string script;
    std::string include_path;   // INCLUDE: folders separated by ';'
    std::uint16_t language = kJapanese;
    ReadFileFn read;
};

// Compiles the script; throws RcError at the first error.
std::vector<Resource> CompileScript(const CompileOptions &options);

// The 32-bit compiled resource file: an empty first entry, then each
// resource's header and data on 4-byte boundaries.
std::string WriteResFile(const std::vector<Resource> &resources);

}  // namespace rc
