// Watch values as text: the BASIC number formatting of single and double
// values, the value text of an answer, its type tag, and the rows of the
// watch window's hexadecimal dump. Pure functions; the window draws them.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace txwatch {

// Value types of the answer (BasValueType).
enum : uint32_t {
  kWatchInt = 0, kWatchLng = 1, kWatchSng = 2, kWatchDbl = 3, kWatchByt = 4,
  kWatchWord = 8, kWatchDword = 9, kWatchStrFirst = 16, kWatchStrLast = 19,
};

// Sign modes of the number formatters.
enum SignMode : uint8_t { kSignAlways = 0, kSignMinusOnly = 1, kSignBlank = 2 };
// Flags the formatters set.
constexpr uint16_t kFmtFixed = 0x8000;      // fixed notation was used
constexpr uint16_t kFmtWideExponent = 0x1;  // a single needed three exponent digits

// 6 significant digits and 'E' for a single, 15 and 'D' (always three
// exponent digits) for a double; round half up on the decimal expansion.
std::string FormatBasicSingle(float value, SignMode sign, uint16_t* flags = nullptr);
std::string FormatBasicDouble(double value, SignMode sign, uint16_t* flags = nullptr);

// The runtime's text of a BASIC error (GetRuntimeErrorText's job in the IDE).
using ErrorTextFn = std::function<std::string(uint32_t error, bool nextLine, bool withDetail,
                                              bool wholeNumber)>;

// The value text of an answer: an error's text when status is not 0.
std::string FormatWatchValue(int32_t status, uint32_t type, const std::vector<uint8_t>& value,
                             const ErrorTextFn& errorText);

// "[INT]" ... "[STR:n]"; empty for other types.
std::string WatchTypeTag(uint32_t type, uint32_t size);

// One row of the watch window.
struct WatchRow {
  uint32_t number = 0;        // the watch's number
  std::string expression;     // main row: the expression; last dump row: "Done"
  std::string text;           // main row: the value text; type and dump rows: the row
  bool expanded = false;
  bool error = false;
  uint32_t dumpIndex = 0;     // 0 main row, 1 type row, 2... dump rows
};

inline constexpr char kDumpDoneMarker[] = "Done";
constexpr size_t kDumpHexWidth = 51, kDumpCharWidth = 29, kDumpBytesPerRow = 16;

// "expression : value" of a main row; a type or dump row's own text.
std::string WatchRowText(const WatchRow& row);

// One dump row of up to 16 bytes.
std::string DumpRowText(const uint8_t* bytes, size_t count);

// The rows that follow an expanded main row: the type row and one dump row
// per 16 value bytes; the last carries the "Done" marker.
std::vector<WatchRow> BuildDumpRows(uint32_t number, uint32_t type, uint32_t size,
                                    const std::vector<uint8_t>& value);

}  // namespace txwatch
