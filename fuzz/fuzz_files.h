// Scratch files for the fuzz entries: names of this process in the current
// folder, removed after each input.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#ifdef _WIN32
#include <process.h>
#define TX_FUZZ_PID() static_cast<unsigned long>(_getpid())
#else
#include <unistd.h>
#define TX_FUZZ_PID() static_cast<unsigned long>(getpid())
#endif

namespace txfuzz {

// "<prefix>_<pid><suffix>"
inline std::string ScratchName(const char *prefix, const char *suffix) {
    return std::string(prefix) + "_" + std::to_string(TX_FUZZ_PID()) + suffix;
}

inline bool WriteFile(const std::string &path, const uint8_t *data, size_t size) {
    std::FILE *f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    bool ok = size == 0 || std::fwrite(data, 1, size, f) == size;
    return std::fclose(f) == 0 && ok;
}

// The passes print their error lines on standard output: thousands of
// inputs a second would only flood the log.
inline void QuietStdout() {
    static std::FILE *quiet = std::freopen("/dev/null", "w", stdout);
    (void)quiet;
}

// Splits an input in two at a leading 16-bit little-endian length, so one
// input can carry two files.
inline void SplitInput(const uint8_t *data, size_t size, const uint8_t *&first, size_t &first_size,
                       const uint8_t *&second, size_t &second_size) {
    size_t n = size >= 2 ? size_t(data[0] | data[1] << 8) : 0;
    const uint8_t *rest = data + (size >= 2 ? 2 : size);
    size_t left = size >= 2 ? size - 2 : 0;
    if (n > left)
        n = left;
    first = rest;
    first_size = n;
    second = rest + n;
    second_size = left - n;
}

} // namespace txfuzz
