// A runtime-environment file (.bet) as its document reads it, and the image
// it would be saved as; and the same bytes as the analyzer reads them (/S:).
#include "bet_document.h"
#include "fakes.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    prj::test::RecordingMessages messages;
    EnvBlock record{};
    EnvBlock parsed{};
    ParseEnvBlock(data, size, parsed);
    if (prj::ReadBetFile(std::vector<uint8_t>(data, data + size), "C:\\PROJ\\FUZZ.BET", record, messages))
        prj::BetFileImage(record);
    return 0;
}
