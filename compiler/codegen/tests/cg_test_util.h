// A code-generator state ready for emitting: object file with its sections,
// code buffer, no intermediate file.
#pragma once

#include <string>
#include <vector>

#include "cg_emit.h"
#include "cg_object.h"
#include "cg_state.h"

namespace txcg::test {

inline void InitForEmit(CgState &st, bool mainModule = true, bool debug = false) {
    st.moduleFile = "PROBE.BAS";
    st.moduleBase = "PROBE";
    st.mainModule = mainModule;
    st.opt.debugInfo = debug ? 1 : 0;
    InitObjectFile(st);
    AllocCodeBuffer(st);
}

inline std::vector<uint8_t> Code(const CgState &st) {
    return {st.code.bytes.begin(), st.code.bytes.begin() + st.code.offset};
}

inline std::string Hex(const std::vector<uint8_t> &v) {
    static const char *d = "0123456789abcdef";
    std::string s;
    for (uint8_t b : v) {
        if (!s.empty())
            s += ' ';
        s += d[b >> 4];
        s += d[b & 15];
    }
    return s;
}

} // namespace txcg::test

#include <cstdio>
#include <cstring>

#include <gtest/gtest.h>

#include "cg_tables.h"
#include "ir_builder.h"

namespace txcg::test {

// Phase 2 over a builder's file, through a temporary stream.
inline void LoadIr(CgState &st, const IrBuilder &b) {
    Bytes bytes = b.Build();
    std::FILE *f = std::tmpfile();
    if (!f) {
        ADD_FAILURE() << "no temporary file";
        return;
    }
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::rewind(f);
    ReadIntermediateHeader(st, f);
    std::fclose(f);
}

// A minimal reading of an object file's section headers, independent of
// the writer: name, raw size, file offsets and counts, characteristics.
struct ObjSection {
    std::string name;
    uint32_t size, rawPtr, relocPtr, linePtr;
    uint16_t relocs, lines;
    uint32_t characteristics;
};

inline uint32_t Le32(const std::vector<uint8_t> &b, size_t at) {
    return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 |
           uint32_t(b[at + 3]) << 24;
}
inline uint16_t Le16(const std::vector<uint8_t> &b, size_t at) {
    return uint16_t(b[at] | b[at + 1] << 8);
}

inline std::vector<ObjSection> ReadSections(const std::vector<uint8_t> &obj) {
    std::vector<ObjSection> out;
    const uint16_t n = Le16(obj, 2);
    for (uint16_t i = 0; i < n; ++i) {
        const size_t h = 20 + 40 * size_t(i);
        char name[9] = {};
        std::memcpy(name, obj.data() + h, 8);
        out.push_back({name, Le32(obj, h + 16), Le32(obj, h + 20), Le32(obj, h + 24),
                       Le32(obj, h + 28), Le16(obj, h + 32), Le16(obj, h + 34), Le32(obj, h + 36)});
    }
    return out;
}

inline std::vector<std::string> SectionNames(const std::vector<uint8_t> &obj) {
    std::vector<std::string> names;
    for (const auto &s : ReadSections(obj))
        names.push_back(s.name);
    return names;
}

} // namespace txcg::test
