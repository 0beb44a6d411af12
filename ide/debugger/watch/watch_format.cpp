#include "watch_format.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace txwatch {

namespace {

// The exact decimal expansion of a finite non-zero binary value, as its
// significant digits and the decimal exponent of the first one.
struct Decimal {
  std::string digits;   // no leading zeros
  int exponent = 0;     // value = 0.d1 d2 ... x 10^(exponent + 1)
};

// Little-endian base-10 digit array helpers.
void MulSmall(std::vector<uint8_t>& n, unsigned m) {
  unsigned carry = 0;
  for (uint8_t& d : n) {
    unsigned v = d * m + carry;
    d = static_cast<uint8_t>(v % 10);
    carry = v / 10;
  }
  while (carry) {
    n.push_back(static_cast<uint8_t>(carry % 10));
    carry /= 10;
  }
}

Decimal Expand(double x) {
  int e2;
  double f = std::frexp(std::fabs(x), &e2);   // x = f * 2^e2, 0.5 <= f < 1
  uint64_t mant = static_cast<uint64_t>(std::ldexp(f, 53));
  e2 -= 53;                                   // x = mant * 2^e2 exactly
  std::vector<uint8_t> n;
  for (uint64_t m = mant; m; m /= 10) n.push_back(static_cast<uint8_t>(m % 10));
  int point = 0;   // digits after the decimal point
  if (e2 >= 0) {
    for (int i = 0; i < e2; ++i) MulSmall(n, 2);
  } else {
    // mant / 2^k = mant * 5^k / 10^k
    for (int i = 0; i < -e2; ++i) MulSmall(n, 5);
    point = -e2;
  }
  Decimal d;
  for (size_t i = n.size(); i-- > 0;) d.digits += static_cast<char>('0' + n[i]);
  size_t first = d.digits.find_first_not_of('0');
  d.digits.erase(0, first);
  d.exponent = static_cast<int>(n.size()) - 1 - point;
  return d;
}

std::string FormatEngine(double value, int n, bool isDouble, SignMode sign, uint16_t* flags) {
  uint16_t f = 0;
  std::string out;
  if (value == 0) {
    if (sign == kSignBlank) out += ' ';
    out += '0';
    f = kFmtFixed;
  } else if (std::isinf(value)) {
    out = "inf";
  } else if (std::isnan(value)) {
    out = "nan";
  } else {
    Decimal d = Expand(value);
    int e = d.exponent;
    std::string digits = d.digits.substr(0, n);
    if (d.digits.size() > static_cast<size_t>(n) && d.digits[n] >= '5') {
      int i = n - 1;
      while (i >= 0 && digits[i] == '9') digits[i--] = '0';
      if (i < 0) {
        digits = "1";
        ++e;
      } else {
        ++digits[i];
      }
    }
    size_t last = digits.find_last_not_of('0');
    digits.erase(last + 1);
    int k = static_cast<int>(digits.size());

    if (value < 0) out += '-';
    else if (sign == kSignAlways) out += '+';
    else if (sign == kSignBlank) out += ' ';

    bool fixed = e >= 0 ? e < n : (-e - 1) + k <= n;
    if (fixed && e >= 0) {
      f = kFmtFixed;
      for (int i = 0; i <= e; ++i) out += i < k ? digits[i] : '0';
      if (k > e + 1) out += '.' + digits.substr(e + 1);
    } else if (fixed) {
      f = kFmtFixed;
      out += '.';
      out.append(-e - 1, '0');
      out += digits;
    } else {
      out += digits[0];
      if (k > 1) out += '.' + digits.substr(1);
      out += isDouble ? 'D' : 'E';
      out += e < 0 ? '-' : '+';
      int a = e < 0 ? -e : e;
      char buf[16];
      if (isDouble || a >= 100) {
        std::snprintf(buf, sizeof buf, "%03d", a);
        if (!isDouble) f |= kFmtWideExponent;
      } else {
        std::snprintf(buf, sizeof buf, "%02d", a);
      }
      out += buf;
    }
  }
  if (flags) *flags = f;
  return out;
}

template <typename T>
T Load(const std::vector<uint8_t>& v) {
  T x{};
  std::memcpy(&x, v.data(), v.size() < sizeof x ? v.size() : sizeof x);
  return x;
}

}  // namespace

std::string FormatBasicSingle(float value, SignMode sign, uint16_t* flags) {
  return FormatEngine(value, 6, false, sign, flags);
}

std::string FormatBasicDouble(double value, SignMode sign, uint16_t* flags) {
  return FormatEngine(value, 15, true, sign, flags);
}

std::string FormatWatchValue(int32_t status, uint32_t type, const std::vector<uint8_t>& value,
                             const ErrorTextFn& errorText) {
  if (status != 0) return errorText ? errorText(static_cast<uint32_t>(status), false, true, false) : "";
  switch (type) {
    // 8 and 9 are INT and LNG under other numbers.
    case kWatchInt: case kWatchWord: return std::to_string(Load<int16_t>(value));
    case kWatchLng: case kWatchDword: return std::to_string(Load<int32_t>(value));
    // BYT is unsigned, as the evaluator and the compiler hold it.
    case kWatchByt: return std::to_string(Load<uint8_t>(value));
    case kWatchSng: return FormatBasicSingle(Load<float>(value), kSignMinusOnly);
    case kWatchDbl: return FormatBasicDouble(Load<double>(value), kSignMinusOnly);
    default: {
      std::string s = "\"";
      for (uint8_t b : value) s += b < 32 ? ' ' : static_cast<char>(b);
      return s + '"';
    }
  }
}

std::string WatchTypeTag(uint32_t type, uint32_t size) {
  switch (type) {
    case kWatchInt: return "[INT]";
    case kWatchLng: return "[LNG]";
    case kWatchSng: return "[SNG]";
    case kWatchDbl: return "[DBL]";
    case kWatchByt: return "[BYT]";
    default:
      if (type >= kWatchStrFirst && type <= kWatchStrLast) return "[STR:" + std::to_string(size) + "]";
      return "";
  }
}

std::string WatchRowText(const WatchRow& row) {
  return row.dumpIndex == 0 ? row.expression + " : " + row.text : row.text;
}

std::string DumpRowText(const uint8_t* bytes, size_t count) {
  std::string hex, chars;
  for (size_t i = 0; i < count && i < kDumpBytesPerRow; ++i) {
    char buf[4];
    std::snprintf(buf, sizeof buf, "%02X ", bytes[i]);
    hex += buf;
    chars += bytes[i] < 32 ? '.' : static_cast<char>(bytes[i]);
    if (i == 7) {
      hex += "- ";
      chars += " - ";
    }
  }
  hex.resize(kDumpHexWidth, ' ');
  chars.resize(kDumpCharWidth, ' ');
  return hex + "  " + chars;
}

std::vector<WatchRow> BuildDumpRows(uint32_t number, uint32_t type, uint32_t size,
                                    const std::vector<uint8_t>& value) {
  std::vector<WatchRow> rows;
  WatchRow typeRow;
  typeRow.number = number;
  typeRow.text = WatchTypeTag(type, size);
  typeRow.dumpIndex = 1;
  rows.push_back(typeRow);
  for (size_t at = 0; at < value.size(); at += kDumpBytesPerRow) {
    WatchRow r;
    r.number = number;
    r.text = DumpRowText(value.data() + at, std::min(kDumpBytesPerRow, value.size() - at));
    r.dumpIndex = static_cast<uint32_t>(rows.size() + 1);
    rows.push_back(r);
  }
  rows.back().expression = kDumpDoneMarker;
  return rows;
}

}  // namespace txwatch
