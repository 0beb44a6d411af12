// The debugger's own readers: a program image with its symbols and line
// numbers, and a module's object file with its line numbers.
#include "dbg_image.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    using namespace txdbg;
    std::vector<uint8_t> bytes(data, data + size);
    std::string error;
    ImageInfo info;
    if (CheckImage(bytes) && ReadImage(bytes, info, error))
        for (const auto &s : info.symbols)
            info.IsCode(s.address);
    std::vector<ObjLine> lines;
    std::vector<ObjSymbol> functions;
    uint32_t code_size = 0;
    ReadObjLines(bytes, lines, code_size, functions, error);
    return 0;
}
