// What the scenario harnesses under Wine (the IDE's and the error tool's)
// print: one line per check, "ok  " or "FAIL" with its name and what was
// seen, texts as hex (the console would mangle Shift-JIS), and a last
// "RESULT PASS" or "RESULT FAIL" that CTest matches.
#pragma once

#include <cstdio>
#include <string>

namespace fwtest {

inline int failures = 0;

inline void Check(bool ok, const char* name, const std::string& detail = "") {
    std::printf("%s %s%s%s\n", ok ? "ok  " : "FAIL", name, detail.empty() ? "" : ": ",
                detail.c_str());
    std::fflush(stdout);
    if (!ok)
        ++failures;
}

inline std::string Hex(const std::string& s) {
    std::string out;
    char b[4];
    for (unsigned char c : s) {
        std::snprintf(b, sizeof b, "%02X", c);
        out += b;
    }
    return out;
}

// The last line; the exit code of the harness.
inline int Result() {
    std::printf("RESULT %s\n", failures ? "FAIL" : "PASS");
    std::fflush(stdout);
    return failures ? 1 : 0;
}

}  // namespace fwtest
