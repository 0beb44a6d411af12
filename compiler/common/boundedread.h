// Reading a whole input file with a cap on its size. A folder or a device
// named where a file is wanted is refused, and so is a file that is too
// large or never ends (/dev/zero), instead of being read until memory runs
// out. Header-only: the tools that build it as a host program share it.
#pragma once

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

namespace tx {

// The most bytes read from one script (make file, resource script, include,
// response file, image) and from one object or library.
constexpr std::uint64_t kScriptFileMax = 16ull << 20;
constexpr std::uint64_t kObjectFileMax = 256ull << 20;

enum class ReadStatus { kOk, kMissing, kNotAFile, kTooLarge, kFailed };

// Bytes: a std::string or a std::vector of bytes.
template <class Bytes>
ReadStatus ReadBounded(const std::string &path, Bytes &out, std::uint64_t max) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::file_status st = fs::status(path, ec);
    if (!fs::exists(st))
        return ReadStatus::kMissing;
    if (!fs::is_regular_file(st))
        return ReadStatus::kNotAFile;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return ReadStatus::kFailed;
    out.clear();
    out.reserve(static_cast<std::size_t>(std::min<std::uint64_t>(fs::file_size(path, ec), max + 1)));
    // The size the folder gives may change while the file is read: the
    // cap is kept on what is read.
    char chunk[1 << 16];
    while (in.read(chunk, sizeof chunk), in.gcount() > 0) {
        const auto n = static_cast<std::uint64_t>(in.gcount());
        if (out.size() + n > max)
            return ReadStatus::kTooLarge;
        out.insert(out.end(), chunk, chunk + n);
    }
    return in.bad() ? ReadStatus::kFailed : ReadStatus::kOk;
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
