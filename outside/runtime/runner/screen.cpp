#include "screen.h"

#include <cstring>

#include "machine.h"

namespace tx::runner {

namespace {

// The layout of the runtime's struct RtScreen (rt_gfx.c).
constexpr uint32_t kUsed = 0, kWidth = 4, kHeight = 8, kPalette = 12, kPixels = 12 + 16 * 4;
constexpr uint32_t kMaxSide = 4096;

uint32_t Crc32(const uint8_t* p, size_t n, uint32_t crc = 0) {
    static uint32_t table[256];
    static bool ready = false;
    if (!ready) {
        for (uint32_t i = 0; i < 256; ++i) {
            uint32_t c = i;
            for (int k = 0; k < 8; ++k) c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            table[i] = c;
        }
        ready = true;
    }
    crc = ~crc;
    for (size_t i = 0; i < n; ++i) crc = table[(crc ^ p[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

void PutBe32(std::string& out, uint32_t v) {
    for (int s = 24; s >= 0; s -= 8) out.push_back(char(v >> s));
}

void Chunk(std::string& out, const char* type, const std::string& data) {
    PutBe32(out, uint32_t(data.size()));
    std::string body = std::string(type, 4) + data;
    out += body;
    PutBe32(out, Crc32(reinterpret_cast<const uint8_t*>(body.data()), body.size()));
}

} // namespace

bool ReadScreen(const Machine& m, Screen& out) {
    out = Screen{};
    out.width = 640;
    out.height = 400;
    out.pixels.assign(size_t(out.width) * out.height, 0);
    auto at = m.Symbol("_rt_screen");
    if (!at) return false;
    uint8_t head[kPixels + 4];
    if (!m.Read(*at, head, sizeof head)) return false;
    uint32_t used, w, h, pixels;
    std::memcpy(&used, head + kUsed, 4);
    std::memcpy(&w, head + kWidth, 4);
    std::memcpy(&h, head + kHeight, 4);
    std::memcpy(&pixels, head + kPixels, 4);
    if (!used) return true;
    if (w == 0 || h == 0 || w > kMaxSide || h > kMaxSide) return false;
    std::vector<uint8_t> px(size_t(w) * h);
    if (!m.Read(pixels, px.data(), px.size())) return false;
    out.width = w;
    out.height = h;
    out.pixels = std::move(px);
    for (int k = 0; k < 16; ++k) std::memcpy(out.palette[k], head + kPalette + 4 * k, 3);
    return true;
}

std::string EncodePng(const Screen& s) {
    std::string out("\x89PNG\r\n\x1a\n", 8);
    std::string ihdr;
    PutBe32(ihdr, s.width);
    PutBe32(ihdr, s.height);
    ihdr += std::string("\x08\x03\x00\x00\x00", 5); // 8 bits, indexed, deflate, no filter, no interlace
    Chunk(out, "IHDR", ihdr);
    std::string plte;
    for (const auto& c : s.palette) plte.append(reinterpret_cast<const char*>(c), 3);
    Chunk(out, "PLTE", plte);

    // Each row is a filter byte 0 and the row's colour numbers.
    std::string raw;
    raw.reserve(size_t(s.width + 1) * s.height);
    for (uint32_t y = 0; y < s.height; ++y) {
        raw.push_back(0);
        raw.append(reinterpret_cast<const char*>(&s.pixels[size_t(y) * s.width]), s.width);
    }
    std::string z("\x78\x01", 2);
    size_t pos = 0;
    do {
        const size_t n = std::min<size_t>(65535, raw.size() - pos);
        const bool last = pos + n == raw.size();
        z.push_back(last ? 1 : 0);
        z.push_back(char(n & 0xFF));
        z.push_back(char(n >> 8));
        z.push_back(char(~n & 0xFF));
        z.push_back(char((~n >> 8) & 0xFF));
        z.append(raw, pos, n);
        pos += n;
    } while (pos < raw.size());
    uint32_t a = 1, b = 0;
    for (unsigned char c : raw) {
        a = (a + c) % 65521;
        b = (b + a) % 65521;
    }
    PutBe32(z, b << 16 | a);
    Chunk(out, "IDAT", z);
    Chunk(out, "IEND", "");
    return out;
}

} // namespace tx::runner
