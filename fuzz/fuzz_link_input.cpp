// LINK's input readers: an object, a library or a compiled resource file,
// as the file's own bytes say.
#include "lk_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    using namespace txlink;
    std::vector<uint8_t> bytes(data, data + size);
    std::string error;
    ObjectFile obj;
    Archive lib;
    std::vector<ResourceEntry> res;
    switch (DetectInput(bytes)) {
    case InputKind::kArchive:
        ReadArchive(bytes, lib, error);
        break;
    case InputKind::kResource:
        ReadResources(bytes, res, error);
        break;
    default:
        ReadObject(bytes, obj, error);
        break;
    }
    return 0;
}
