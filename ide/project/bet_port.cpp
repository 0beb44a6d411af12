#include "bet_port.h"

namespace prj {

const uint32_t kBaudRates[kBaudRateCount] = {300,   600,   1200,  2400,  4800, 9600,
                                             14400, 19200, 28800, 38400, 57600};

namespace {

enum : uint16_t {
    kDataLength8 = 0x1,
    kParityOn = 0x2,
    kParityEven = 0x4,
    kStopBits2 = 0x8,
    kBufferBusy = 0x10,
    kCodeSystemMask = 0x300,
};

}  // namespace

int BaudIndexOf(const EnvBlock &b, int port) {
    const uint32_t rate = b.baud_rate[port];
    if (rate == 0)
        return b.baud_index[port];
    for (int i = 0; i < kBaudRateCount; ++i)
        if (kBaudRates[i] == rate)
            return i;
    return kDefaultBaudIndex;
}

PortSettings ReadPortSettings(const EnvBlock &b, int port) {
    const uint16_t w = b.port_params[port];
    PortSettings s;
    s.baud_index = BaudIndexOf(b, port);
    s.data_length = (w & kDataLength8) ? 1 : 0;
    s.parity = !(w & kParityOn) ? 0 : (w & kParityEven) ? 2 : 1;
    s.stop_bits = (w & kStopBits2) ? 1 : 0;
    s.buffer_busy = (w & kBufferBusy) ? 1 : 0;
    s.code_system = (w & kCodeSystemMask) >> 8;
    return s;
}

void StorePortSettings(EnvBlock &b, int port, const PortSettings &s) {
    // A combo box without a selection (a byte from a file outside the table)
    // keeps the port's bytes: storing it would write 0xFF and read the rate
    // table before its start.
    if (s.baud_index >= 0 && s.baud_index < kBaudRateCount) {
        b.baud_index[port] = static_cast<uint8_t>(s.baud_index);
        b.baud_rate[port] = kBaudRates[s.baud_index];
    }
    uint16_t w = b.port_params[port];
    auto set = [&w](uint16_t bit, bool on) { w = on ? (w | bit) : (w & ~bit); };
    set(kDataLength8, s.data_length != 0);
    if (s.parity == 0) {
        set(kParityOn, false);
    } else {
        set(kParityOn, true);
        set(kParityEven, s.parity == 2);
    }
    set(kStopBits2, s.stop_bits != 0);
    set(kBufferBusy, s.buffer_busy != 0);
    if (s.code_system == 0 || s.code_system == 1)
        w = static_cast<uint16_t>((w & ~kCodeSystemMask) | (s.code_system << 8));
    b.port_params[port] = w;
}

std::optional<uint8_t> ParsePrinterWidth(std::string_view text) {
    if (text.empty() || text.size() > 3)
        return std::nullopt;
    unsigned v = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        v = v * 10 + static_cast<unsigned>(c - '0');
    }
    if (v == 0 || v > 255)
        return std::nullopt;
    return static_cast<uint8_t>(v);
}

}  // namespace prj
