#include "dsg_clip.h"

#include <cstring>

namespace dsg {

namespace {

void Put16(std::vector<uint8_t> &b, size_t at, uint32_t v) {
    b[at] = uint8_t(v), b[at + 1] = uint8_t(v >> 8);
}
void Put32(std::vector<uint8_t> &b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + size_t(i)] = uint8_t(v >> (8 * i));
}
uint32_t Get16(const uint8_t *p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8; }
uint32_t Get32(const uint8_t *p) { return Get16(p) | Get16(p + 2) << 16; }

// The platform's ANSI LOGFONT: five 32-bit fields, eight bytes, a 32-byte face.
void PutLogFont(std::vector<uint8_t> &b, size_t at, const LogFont &f) {
    Put32(b, at, uint32_t(f.height));
    Put32(b, at + 16, uint32_t(f.weight));
    b[at + 20] = f.italic, b[at + 21] = f.underline, b[at + 22] = f.strikeOut, b[at + 23] = f.charSet;
    b[at + 27] = f.pitchAndFamily;
    memcpy(&b[at + 28], f.face.data(), f.face.size() < 31 ? f.face.size() : 31);
}
LogFont GetLogFont(const uint8_t *p) {
    LogFont f;
    f.height = int32_t(Get32(p));
    f.weight = int32_t(Get32(p + 16));
    f.italic = p[20], f.underline = p[21], f.strikeOut = p[22], f.charSet = p[23];
    f.pitchAndFamily = p[27];
    f.face.assign(reinterpret_cast<const char *>(p + 28), strnlen(reinterpret_cast<const char *>(p + 28), 32));
    return f;
}

}  // namespace

std::vector<uint8_t> ClipWrite(const ClipBlock &block) {
    size_t n = block.entries.size();
    std::vector<uint8_t> b(kClipHeader + kClipEntry * n, 0);
    b[0] = 'T', b[1] = 'X';
    Put16(b, 4, kVersion102);
    Put16(b, 6, uint32_t(b.size()));  // its low 16 bits only: the count is what counts
    Put32(b, 12, block.sourceForm);
    Put32(b, 16, uint32_t(n));
    Put32(b, 20, block.anchorId);
    Put32(b, 24, uint32_t(block.selection.left));
    Put32(b, 28, uint32_t(block.selection.top));
    Put32(b, 32, uint32_t(block.selection.right));
    Put32(b, 36, uint32_t(block.selection.bottom));
    for (size_t i = 0; i < n; ++i) {
        size_t at = kClipHeader + kClipEntry * i;
        memcpy(&b[at], &block.entries[i].record, sizeof(ControlRecord));
        if (block.entries[i].hasFont) PutLogFont(b, at + sizeof(ControlRecord), block.entries[i].font);
    }
    return b;
}

uint32_t ClipRead(const uint8_t *data, size_t size, ClipBlock &out) {
    if (!data || size < kClipHeader || data[0] != 'T' || data[1] != 'X' || Get16(data + 2) != 0)
        return kMsgCannotPaste;
    uint32_t n = Get32(data + 16);
    if (n < 1 || n > 255 || size < kClipHeader + kClipEntry * size_t(n)) return kMsgCannotPaste;
    ClipBlock b;
    b.sourceForm = Get32(data + 12);
    b.anchorId = Get32(data + 20);
    b.selection = {int32_t(Get32(data + 24)), int32_t(Get32(data + 28)), int32_t(Get32(data + 32)),
                   int32_t(Get32(data + 36))};
    for (uint32_t i = 0; i < n; ++i) {
        const uint8_t *p = data + kClipHeader + kClipEntry * i;
        ClipEntry e;
        memcpy(&e.record, p, sizeof(ControlRecord));
        if (e.record.kind < kButton || e.record.kind > kPrinter) return kMsgCannotPaste;
        static const uint8_t zero[kClipLogFont] = {};
        e.hasFont = memcmp(p + sizeof(ControlRecord), zero, kClipLogFont) != 0;
        if (e.hasFont) e.font = GetLogFont(p + sizeof(ControlRecord));
        // Texts of the source: always terminated here.
        e.record.name[sizeof e.record.name - 1] = '\0';
        e.record.cursorName[sizeof e.record.cursorName - 1] = '\0';
        b.entries.push_back(e);
    }
    out = std::move(b);
    return 0;
}

void ClipNormalise(ClipBlock &block) {
    int32_t dx = block.selection.left, dy = block.selection.top;
    block.selection = {0, 0, block.selection.right - dx, block.selection.bottom - dy};
    for (auto &e : block.entries) e.record.x -= dx, e.record.y -= dy;
}

}  // namespace dsg
