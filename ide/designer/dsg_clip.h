// The designer's clipboard block: a 48-byte header and one 328-byte entry
// per control (the 268-byte record and a 60-byte LOGFONT of its font), the
// same bytes from every build, and the check a pasted block must pass.
#pragma once

#include <cstdint>
#include <vector>

#include "dsg_model.h"

namespace dsg {

constexpr uint32_t kClipFormat = 0x200;
constexpr size_t kClipHeader = 48, kClipEntry = 328, kClipLogFont = 60;
constexpr uint32_t kMsgCannotPaste = IDS_DSG_CANNOT_PASTE;

struct ClipEntry {
    ControlRecord record;
    LogFont font;
    bool hasFont = false;
};

struct ClipBlock {
    uint32_t sourceForm = 0;
    uint32_t anchorId = 0;
    Rect selection{};
    std::vector<ClipEntry> entries;
};

// The block's bytes.
std::vector<uint8_t> ClipWrite(const ClipBlock &block);
// Reads a pasted block: 0 when it is sound, else the message to show
// (21017: too short, wrong signature, a count outside 1-255, entries
// past the end, or a kind outside 3-18).
uint32_t ClipRead(const uint8_t *data, size_t size, ClipBlock &out);
// Moves the selection rectangle to (0, 0) and the entries with it.
void ClipNormalise(ClipBlock &block);

}  // namespace dsg
