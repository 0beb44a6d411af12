#include "intermediate_dump.h"

#include <cstdio>
#include <cstring>

#include "intermediate.h"

namespace ifile {

namespace {

void Hex(std::string &s, const uint8_t *p, size_t n) {
    char b[4];
    for (size_t i = 0; i < n; ++i) {
        std::snprintf(b, sizeof b, i ? " %02X" : "%02X", p[i]);
        s += b;
    }
}

void HexLines(std::string &s, const uint8_t *p, size_t n) {
    char b[16];
    for (size_t at = 0; at < n; at += 16) {
        std::snprintf(b, sizeof b, "  %04zX: ", at);
        s += b;
        Hex(s, p + at, n - at < 16 ? n - at : 16);
        s += '\n';
    }
}

}  // namespace

bool DumpFile(const uint8_t *data, size_t size, std::string *out, std::string *error) {
    Layout lay;
    if (!SplitFile(data, size, &lay, error)) return false;
    const Header &h = lay.header;
    char b[160];
    std::snprintf(b, sizeof b, "header: %02X %02X %02X %02X %02X %02X flag=%u trap=%u data=%u stream=%u\n", data[0],
                  data[1], data[2], data[3], data[4], data[5], h.module_flag, h.trap_bits, h.data_size, h.stream_size);
    *out += b;
    *out += "tables:";
    for (int i = 0; i < kTableCount; ++i) {
        std::snprintf(b, sizeof b, " %u", h.table_size[i]);
        *out += b;
    }
    *out += '\n';
    if (std::memcmp(lay.env, BuiltinEnvBlock().data(), kEnvBlockSize) == 0) {
        *out += "env: built-in\n";
    } else {
        *out += "env:\n";
        HexLines(*out, lay.env, kEnvBlockSize);
    }
    StreamWalker w(lay.stream, h.stream_size);
    Record r;
    for (;;) {
        StreamWalker::Step step = w.Next(&r);
        if (step == StreamWalker::kEnd) break;
        if (step == StreamWalker::kError) {
            *error = w.error();
            return false;
        }
        std::snprintf(b, sizeof b, "line %u:", r.line);
        *out += b;
        for (size_t i = 0; i < r.tokens.size(); ++i) {
            uint32_t at = r.tokens[i];
            uint32_t end = i + 1 < r.tokens.size() ? r.tokens[i + 1] : r.offset + r.length;
            *out += i ? " | " : " ";
            Hex(*out, lay.stream + at, end - at);
        }
        *out += '\n';
    }
    for (int i = 0; i < kTableCount; ++i) {
        if (!h.table_size[i]) continue;
        std::snprintf(b, sizeof b, "table %d:\n", i);
        *out += b;
        HexLines(*out, lay.table[i], h.table_size[i]);
    }
    if (FileSize(h) != size) {
        // A pass that stopped after its placeholder header leaves what it
        // wrote so far behind it; show it, but it is no complete file.
        *out += "trailing:\n";
        HexLines(*out, data + FileSize(h), size - FileSize(h));
        std::snprintf(b, sizeof b, "%zu bytes after the last table", size - FileSize(h));
        *error = b;
        return false;
    }
    return true;
}

}  // namespace ifile
