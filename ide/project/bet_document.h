// Reading and writing a runtime-environment file for its document (CBetDoc).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "envblock.h"
#include "project_env.h"

namespace prj {

// A file shorter than the record or without the FA 18 signature is refused
// with message 20004 and the path, and `record` stays as it was: such a file
// would otherwise open with made-up bytes and be saved as one the compiler
// refuses. On success the record holds the file's bytes 0-307 and zeros
// after them.
bool ReadBetFile(const std::vector<uint8_t> &bytes, const std::string &path, EnvBlock &record,
                 MessageSink &messages);

// The 352 bytes of the file: bytes 0-307 of the record, then zeros.
std::vector<uint8_t> BetFileImage(const EnvBlock &record);

}  // namespace prj
