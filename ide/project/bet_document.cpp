#include "bet_document.h"

#include <cstring>

namespace prj {

bool ReadBetFile(const std::vector<uint8_t> &bytes, const std::string &path, EnvBlock &record,
                 MessageSink &messages) {
    EnvBlock read{};
    if (ParseEnvBlock(bytes.data(), bytes.size(), read) != EnvReadStatus::kOk) {
        messages.Show(kMsgReadFailed, kMbIconHand, &path);
        return false;
    }
    std::memset(read.reserved308, 0, sizeof read.reserved308);
    record = read;
    return true;
}

std::vector<uint8_t> BetFileImage(const EnvBlock &record) {
    uint8_t image[kEnvBlockSize];
    EnvBlockFileImage(record, image);
    return std::vector<uint8_t>(image, image + kEnvBlockSize);
}

}  // namespace prj
