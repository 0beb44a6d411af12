#include "envblock.h"

#include <cstdio>
#include <cstring>
#include <memory>

EnvBlock NewEnvBlock() {
    EnvBlock b{};
    b.signature[0] = kEnvSignature0;
    b.signature[1] = kEnvSignature1;
    b.fixed30 = 0x0100;
    b.printer_columns = 80;
    for (int i = 0; i < kEnvPortCount; ++i) {
        b.port_params[i] = 0x0109;  // 8 data bits, no parity, 2 stop bits, JIS8
        b.baud_index[i] = 2;        // 1200 bps
    }
    b.dc1 = 0x11;
    b.dc3 = 0x13;
    b.fixed96 = 2;
    b.fixed98 = 1;
    b.fixed128 = 2;
    b.cls_key = 1;
    b.fixed141 = 10;
    return b;
}

EnvBlock BuiltInEnvBlock() {
    EnvBlock b = NewEnvBlock();
    auto *raw = reinterpret_cast<uint8_t *>(&b);
    raw[30] = 1;
    raw[31] = 1;
    raw[133] = 1;
    raw[224] = 0x80;
    raw[225] = 0x80;
    return b;
}

EnvReadStatus ParseEnvBlock(const uint8_t *data, std::size_t size, EnvBlock &out) {
    if (size < kEnvBlockSize)
        return EnvReadStatus::kShort;
    if (data[0] != kEnvSignature0 || data[1] != kEnvSignature1)
        return EnvReadStatus::kBadSignature;
    std::memcpy(&out, data, kEnvBlockSize);
    return EnvReadStatus::kOk;
}

namespace {
struct FileCloser {
    void operator()(std::FILE *f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;
}  // namespace

EnvReadStatus ReadEnvBlockFile(const std::string &path, EnvBlock &out) {
    FilePtr f(std::fopen(path.c_str(), "rb"));
    if (!f)
        return EnvReadStatus::kOpenFailed;
    uint8_t buf[kEnvBlockSize];
    std::size_t got = std::fread(buf, 1, sizeof buf, f.get());
    return ParseEnvBlock(buf, got, out);
}

void EnvBlockFileImage(const EnvBlock &block, uint8_t (&out)[kEnvBlockSize]) {
    std::memcpy(out, &block, kEnvBlockKept);
    std::memset(out + kEnvBlockKept, 0, kEnvBlockSize - kEnvBlockKept);
}

bool WriteEnvBlockFile(const std::string &path, const EnvBlock &block) {
    uint8_t image[kEnvBlockSize];
    EnvBlockFileImage(block, image);
    FilePtr f(std::fopen(path.c_str(), "wb"));
    if (!f)
        return false;
    if (std::fwrite(image, 1, sizeof image, f.get()) != sizeof image)
        return false;
    return std::fclose(f.release()) == 0;
}
