#include "rc_images.h"

namespace rc {
namespace {

constexpr std::size_t kDirHeader = 6;
constexpr std::size_t kDirEntry = 16;
constexpr std::size_t kBitmapFileHeader = 14;
constexpr std::size_t kInfoHeaderMin = 16;   // up to biBitCount

std::uint32_t U16(const std::string &b, std::size_t at) {
    return static_cast<unsigned char>(b[at]) | static_cast<unsigned char>(b[at + 1]) << 8;
}

std::uint32_t U32(const std::string &b, std::size_t at) { return U16(b, at) | U16(b, at + 2) << 16; }

void PutU16(std::string &out, std::uint32_t v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>((v >> 8) & 0xFF);
}

void PutU32(std::string &out, std::uint32_t v) {
    PutU16(out, v & 0xFFFF);
    PutU16(out, v >> 16);
}

}  // namespace

bool IconResources(const std::string &file, bool icon, std::uint16_t first_id,
                   std::vector<std::string> &images, std::string &group, std::string &problem) {
    const std::uint32_t kind = icon ? 1 : 2;
    if (file.size() < kDirHeader || U16(file, 0) != 0 || U16(file, 2) != kind) {
        problem = icon ? "not an icon file" : "not a cursor file";
        return false;
    }
    const std::uint32_t count = U16(file, 4);
    if (file.size() < kDirHeader + count * kDirEntry) {
        problem = "file is cut short";
        return false;
    }
    group.clear();
    PutU16(group, 0);
    PutU16(group, kind);
    PutU16(group, count);
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::size_t e = kDirHeader + i * kDirEntry;
        const std::uint32_t size = U32(file, e + 8), offset = U32(file, e + 12);
        if (offset > file.size() || size > file.size() - offset || size < kInfoHeaderMin) {
            problem = "image runs past the end of the file";
            return false;
        }
        std::string image = file.substr(offset, size);
        // The bitmap header of the image has the planes and bit count the
        // directory may leave at 0 (and a cursor's directory holds its hot spot there).
        const std::uint32_t planes = U16(image, 12), bits = U16(image, 14);
        const std::uint16_t id = static_cast<std::uint16_t>(first_id + i);
        if (icon) {
            group.append(file, e, 4);   // width, height, colours, reserved
            PutU16(group, U16(file, e + 4) ? U16(file, e + 4) : planes);
            PutU16(group, U16(file, e + 6) ? U16(file, e + 6) : bits);
            PutU32(group, size);
        } else {
            std::string hot;
            PutU16(hot, U16(file, e + 4));
            PutU16(hot, U16(file, e + 6));
            image = hot + image;
            PutU16(group, static_cast<unsigned char>(file[e]));
            PutU16(group, static_cast<unsigned char>(file[e + 1]) * 2u);
            PutU16(group, planes);
            PutU16(group, bits);
            PutU32(group, size + 4);
        }
        PutU16(group, id);
        images.push_back(image);
    }
    return true;
}

bool BitmapResource(const std::string &file, std::string &dib, std::string &problem) {
    if (file.size() <= kBitmapFileHeader || file[0] != 'B' || file[1] != 'M') {
        problem = "not a bitmap file";
        return false;
    }
    dib = file.substr(kBitmapFileHeader);
    return true;
}

}  // namespace rc
