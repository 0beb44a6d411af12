// The serial-port settings of the runtime-environment record as the port
// dialog shows and stores them.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "envblock.h"

namespace prj {

constexpr int kBaudRateCount = 11;
extern const uint32_t kBaudRates[kBaudRateCount];  // 300 ... 57600
constexpr int kDefaultBaudIndex = 2;               // 1200 bps

struct PortSettings {
    int baud_index = kDefaultBaudIndex;
    int data_length = 1;   // 0 = 7 bits, 1 = 8 bits
    int parity = 0;        // 0 = none, 1 = odd, 2 = even
    int stop_bits = 1;     // 0 = 1 bit, 1 = 2 bits
    int buffer_busy = 0;   // 1 = enabled
    int code_system = 1;   // 0 = JIS7, 1 = JIS8
    bool operator==(const PortSettings &) const = default;
};

// The index the editor shows: the stored rate's place in the table when a
// rate is stored (2 for a rate the table lacks), else the index byte.
int BaudIndexOf(const EnvBlock &b, int port);
PortSettings ReadPortSettings(const EnvBlock &b, int port);
// Stores the index, the rate in bits per second and the line-parameter
// bits; bits the dialog does not show are kept, and so is the parity kind
// when parity is off. An index outside the table, or a code system other
// than JIS7/JIS8, keeps what the record holds.
void StorePortSettings(EnvBlock &b, int port, const PortSettings &s);

// The printer page's edit: the line width it holds when that is a number
// from 1 to 255; none (the record stays as it is) for 0, more than 255 or
// text that is no number.
std::optional<uint8_t> ParsePrinterWidth(std::string_view text);

}  // namespace prj
