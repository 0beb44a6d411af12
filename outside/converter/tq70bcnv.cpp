// Our stand-in for the migration converter TQ70BCNV.DLL. It converts in a
// small documented way (README.md): mode 0 writes a message line first and
// turns "?" at the start of a statement into PRINT; mode 4 removes the
// message lines a conversion inserted.
#include "tq70bcnv.h"

#include <cstdio>
#include <string>

namespace {

const char kMessage[] = "' TQ70BCNV: ";

bool ReadAll(const char* path, std::string& out) {
    FILE* f = std::fopen(path, "rb");
    if (!f)
        return false;
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0)
        out.append(buf, n);
    std::fclose(f);
    return true;
}

std::string Convert(const std::string& text, uint16_t mode) {
    std::string out;
    if (mode == kCnvConvert)
        out += std::string(kMessage) + "converted\r\n";
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find('\n', at);
        std::string line = text.substr(at, end == std::string::npos ? std::string::npos : end + 1 - at);
        at = end == std::string::npos ? text.size() : end + 1;
        if (mode == kCnvDeleteMessages) {
            if (line.compare(0, sizeof kMessage - 1, kMessage) != 0)
                out += line;
            continue;
        }
        size_t lead = line.find_first_not_of(" \t");
        if (lead != std::string::npos && line[lead] == '?')
            line.replace(lead, 1, "PRINT");
        out += line;
    }
    return out;
}

}  // namespace

extern "C" __declspec(dllexport) int ENT_CnvFilWin(CnvFilWinBlock* block) {
    if (!block || !block->input || !block->output)
        return 1;
    if (block->mode != kCnvConvert && block->mode != kCnvDeleteMessages)
        return 2;
    std::string text;
    if (!ReadAll(block->input, text))
        return 3;
    std::string out = Convert(text, block->mode);
    FILE* f = std::fopen(block->output, "wb");
    if (!f)
        return 4;
    bool ok = std::fwrite(out.data(), 1, out.size(), f) == out.size();
    return std::fclose(f) == 0 && ok ? 0 : 5;
}
