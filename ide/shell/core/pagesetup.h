// The page setup's stored values ("PageSetup" under the product key): read
// with defaults, written in a fixed order.
#pragma once

#include "regstore.h"

#include <cstdint>
#include <optional>
#include <string>

namespace tambrix {

inline constexpr const char* kPageSetupKey = "Software\\VELTRAN\\Tambrix V6.3\\PageSetup";

struct PageSetupValues {
    uint32_t title = 0, fileName = 0, date = 0, time = 0, pageNo = 0, lineNo = 0;
    std::string face, size;
    // Hundredths of a millimetre.
    int32_t top = 2000, bottom = 2000, left = 2000, right = 2000;
};

// The three printer fields, 16-bit in the device mode; absent when the
// registry holds none (or, for saving, when there is no device mode).
struct PageDeviceFields {
    std::optional<uint16_t> orientation, paperSize, defaultSource;
};

// False when the key is missing (every value keeps its default).
bool LoadPageSetup(fw::RegStore& reg, PageSetupValues& v, PageDeviceFields& dev);
// False when the key cannot be made. Writes Title, FileName, Date, Time,
// PageNo, LineNo, FontFace, FontSize, TopMargin, BottomMargin, LeftMargin,
// RightMargin, then the device fields that are present.
bool SavePageSetup(fw::RegStore& reg, const PageSetupValues& v, const PageDeviceFields& dev);

}  // namespace tambrix
