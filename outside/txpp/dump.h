// Readable rendering of the preprocessor's two temporaries (the tcdump tool
// and the tests use it).
#pragma once

#include <string>
#include <string_view>

namespace pp {

struct DumpResult {
    std::string text;
    bool consistent = true;  // list lines = records, every unit inside its line
};

// slist: the source-list file's bytes; tcode: the token-code file's bytes.
DumpResult DumpTokenFiles(std::string_view slist, std::string_view tcode);

}  // namespace pp
