// Reads a 32-bit compiled resource file from its published layout, for
// comparing our output with another compiler's.
#pragma once

#include <cstdint>
#include <string>
#include <tuple>
#include <vector>

namespace rc::test {

struct ResEntry {
    std::string type, name;   // "#3" for an ordinal, else the UTF-16 name as ASCII
    std::uint16_t language = 0;
    std::string data;
    bool operator<(const ResEntry &o) const {
        return std::tie(type, name, language, data) < std::tie(o.type, o.name, o.language, o.data);
    }
    bool operator==(const ResEntry &o) const {
        return std::tie(type, name, language, data) == std::tie(o.type, o.name, o.language, o.data);
    }
};

inline std::uint32_t Le16(const std::string &b, std::size_t at) {
    return static_cast<unsigned char>(b.at(at)) | static_cast<unsigned char>(b.at(at + 1)) << 8;
}

inline std::uint32_t Le32(const std::string &b, std::size_t at) { return Le16(b, at) | Le16(b, at + 2) << 16; }

// The field at `at` (ordinal or name); `at` moves past it.
inline std::string ResField(const std::string &b, std::size_t &at) {
    if (Le16(b, at) == 0xFFFF) {
        std::string s = "#" + std::to_string(Le16(b, at + 2));
        at += 4;
        return s;
    }
    std::string s;
    for (std::uint32_t c; (c = Le16(b, at)) != 0; at += 2)
        s += c < 0x80 ? static_cast<char>(c) : '?';
    at += 2;
    return s;
}

// Every entry after the empty first one, in file order.
inline std::vector<ResEntry> ReadRes(const std::string &b) {
    std::vector<ResEntry> out;
    std::size_t p = 32;
    while (p + 8 <= b.size()) {
        std::uint32_t data_size = Le32(b, p), header_size = Le32(b, p + 4);
        std::size_t at = p + 8;
        ResEntry e;
        e.type = ResField(b, at);
        e.name = ResField(b, at);
        at = (at + 3) & ~std::size_t{3};
        e.language = static_cast<std::uint16_t>(Le16(b, at + 6));
        e.data = b.substr(p + header_size, data_size);
        out.push_back(e);
        p = (p + header_size + data_size + 3) & ~std::size_t{3};
    }
    return out;
}

}  // namespace rc::test
