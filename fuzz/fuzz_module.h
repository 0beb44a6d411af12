// The data an intermediate file declares: the scalars' area and the arrays'
// storage. The generator writes both into the object as zero bytes, so a
// module with a few hundred megabytes of arrays (as DIM A#(8000, 8000)
// declares) or of records is valid and takes seconds to write: the compiler
// fuzz entries stop before code generation for such a module, as it is
// slow, not wrong.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "intermediate.h"
#include "lebytes.h"

namespace txfuzz {

constexpr uint64_t kFuzzDataLimit = 16u << 20;

inline bool LargeModule(const uint8_t *data, size_t size) {
    ifile::Layout layout;
    std::string error;
    if (size < ifile::kHeaderSize || !ifile::SplitFile(data, size, &layout, &error))
        return false;
    uint64_t storage = layout.header.data_size;
    const uint8_t *arrays = layout.table[ifile::kArrayTable];
    const uint32_t bytes = layout.header.table_size[ifile::kArrayTable];
    for (uint32_t at = 0; arrays && at + ifile::kArrayRecordSize <= bytes; at += ifile::kArrayRecordSize)
        storage += le::GetU32(arrays + at + 1);
    // Beyond the module's limit the generator must refuse the file at once.
    return storage > kFuzzDataLimit && storage <= 0x7FFFFFFFu;
}

inline bool LargeModule(const std::string &path) {
    std::vector<uint8_t> b;
    if (std::FILE *f = std::fopen(path.c_str(), "rb")) {
        uint8_t chunk[4096];
        for (size_t n; (n = std::fread(chunk, 1, sizeof chunk, f)) > 0;)
            b.insert(b.end(), chunk, chunk + n);
        std::fclose(f);
    }
    return LargeModule(b.data(), b.size());
}

} // namespace txfuzz
