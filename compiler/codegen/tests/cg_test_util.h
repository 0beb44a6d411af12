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
