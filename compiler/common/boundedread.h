// Reading a whole input file with a cap on its size. A folder or a device
// named where a file is wanted is refused, and so is a file that is too
// large or never ends (/dev/zero), instead of being read until memory runs
// out. Header-only: the tools that build it as a host program share it.
#pragma once

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <string>

#include <sys/stat.h>

namespace tx {

// The most bytes read from one script (make file, resource script, include,
// response file, image) and from one object or library.
constexpr std::uint64_t kScriptFileMax = 16ull << 20;
constexpr std::uint64_t kObjectFileMax = 256ull << 20;

enum class ReadStatus { kOk, kMissing, kNotAFile, kTooLarge, kFailed };

// Bytes: a std::string or a std::vector of bytes. The name goes to the C
// library as it is (code page 932 on Windows), never through a conversion.
template <class Bytes>
ReadStatus ReadBounded(const std::string &path, Bytes &out, std::uint64_t max) {
    struct stat st {};
    std::FILE *f = std::fopen(path.c_str(), "rb");
    if (!f) {
        if (errno == ENOENT)
            return ReadStatus::kMissing;
        // Windows opens no folder: tell one from a file it may not read.
        return stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode) ? ReadStatus::kNotAFile : ReadStatus::kFailed;
    }
    if (fstat(fileno(f), &st) != 0 || !S_ISREG(st.st_mode)) {
        std::fclose(f);
        return ReadStatus::kNotAFile;
    }
    out.clear();
    out.reserve(static_cast<std::size_t>(std::min<std::uint64_t>(static_cast<std::uint64_t>(st.st_size), max + 1)));
    // The size fstat gives may change while the file is read: the cap is
    // kept on what is read.
    char chunk[1 << 16];
    std::size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) {
        if (out.size() + n > max) {
            std::fclose(f);
            return ReadStatus::kTooLarge;
        }
        out.insert(out.end(), chunk, chunk + n);
    }
    const bool failed = std::ferror(f) != 0;
    std::fclose(f);
    return failed ? ReadStatus::kFailed : ReadStatus::kOk;
}

// Why a file was refused, to follow "NAME is " ("" for kOk).
inline std::string ReadStatusText(ReadStatus status, std::uint64_t max) {
    switch (status) {
    case ReadStatus::kOk: return "";
    case ReadStatus::kMissing: return "missing";
    case ReadStatus::kNotAFile: return "a folder or a device, not a file";
    case ReadStatus::kTooLarge: return "larger than " + std::to_string(max >> 20) + " MB";
    case ReadStatus::kFailed: return "unreadable";
    }
    return "";
}

}  // namespace tx
