// The intrinsic routines of the stand-in, by the function code they serve:
// numbers on the floating stack, strings on the string stack, words as the
// evaluator places them (INT sign-extended, SNG as its bits). Number texts
// and Shift-JIS work are the runtime subset's own code (rt_number.c,
// rt_sjis.c). Functions that need the program's files, screen, devices,
// clock or its runtime's state answer error 5: the stand-in has none of
// them.
#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdio>

#include "ev_defs.h"
#include "ev_routines.h"
#include "rn_machine.h"
#include "rt_number.h"
#include "rt_sjis.h"
#include "tokens.h"

namespace txrn {

using namespace txev;
using namespace tok;

namespace {

struct Row {
  uint8_t code;
  uint16_t ordinal;
};
#define RN_ROW(code, ordinal) {code, ordinal},
constexpr Row kRows[] = {TXEV_ROUTINES(RN_ROW)};
#undef RN_ROW
#define RN_ITEM(ordinal) ordinal,
constexpr uint16_t kStrOf[] = {TXEV_STR_VARIANTS(RN_ITEM)};   // BYT INT LNG SNG DBL
#undef RN_ITEM

// The routine of a function code.
constexpr uint32_t Of(uint8_t code) {
  for (const Row& r : kRows)
    if (r.code == code) return r.ordinal;
  return 0;
}

// Longer results are refused rather than grown without bound.
constexpr size_t kLongestString = 1u << 24;

constexpr uint8_t kBlank = ' ';
constexpr int32_t kLastCode = 255;   // CHR$ and STRING$ take byte codes

std::string Filled(int32_t n, uint8_t c) {
  if (n < 0) throw RnError{kRnIllegal};
  if (static_cast<size_t>(n) > kLongestString) throw RnError{kRnStringSpace};
  return std::string(static_cast<size_t>(n), static_cast<char>(c));
}

// The first bytes of s as a value (CVI ... CVD); a shorter string is error 5.
template <typename T>
T FromBytes(const std::string& s) {
  if (s.size() < sizeof(T)) throw RnError{kRnIllegal};
  T v;
  std::memcpy(&v, s.data(), sizeof v);
  return v;
}
template <typename T>
std::string ToBytes(T v) {
  return std::string(reinterpret_cast<const char*>(&v), sizeof v);
}

std::string Radix(const char* format, uint32_t v) {
  char text[16];
  int n = std::snprintf(text, sizeof text, format, static_cast<unsigned>(v));
  return std::string(text, static_cast<size_t>(n));
}

std::string IntegerText(int32_t v) {
  char text[16];
  return std::string(text, static_cast<size_t>(rt_fmt_long(text, v)));
}
std::string FloatText(double v, bool single) {
  char text[40];
  return std::string(text, static_cast<size_t>(rt_fmt_float(text, v, single)));
}

// A Shift-JIS conversion into a result of at most `room` bytes.
std::string Converted(const std::string& s, size_t room,
                      uint32_t (*convert)(const char*, uint32_t, char*)) {
  std::string out(room, '\0');
  out.resize(room ? convert(s.data(), static_cast<uint32_t>(s.size()), out.data()) : 0);
  return out;
}

}  // namespace

uint32_t RnMachine::Call(uint32_t ordinal, const uint32_t* args, uint32_t count) {
  auto word = [&](uint32_t i) -> uint32_t {
    if (i >= count) throw RnError{kRnIllegal};
    return args[i];
  };
  auto number = [&](uint32_t i) { return static_cast<int32_t>(word(i)); };
  auto length = [&](uint32_t i) {   // a count of characters
    int32_t n = number(i);
    if (n < 0) throw RnError{kRnIllegal};
    return static_cast<size_t>(n);
  };
  auto floating = [&](long double v) {
    fp_.push_back(v);
    return 0u;
  };
  auto text = [&](std::string s) {
    StrPush(std::move(s));
    return 0u;
  };
  auto size = [](const std::string& s) { return static_cast<uint32_t>(s.size()); };

  switch (ordinal) {
    // ---- numbers ----
    case Of(kw::kABS): return floating(std::fabs(FpPop()));
    case Of(kw::kATN): return floating(std::atan(FpPop()));
    case Of(kw::kTAN): return floating(std::tan(FpPop()));
    case Of(kw::kFIX): return floating(std::trunc(FpPop()));
    case Of(kw::kINT): return floating(std::floor(FpPop()));
    case Of(kw::kSGN): {
      long double v = FpPop();
      return floating(v > 0 ? 1 : v < 0 ? -1 : 0);
    }
    case Of(kw::kEXP): {
      long double v = std::exp(FpPop());
      if (v > DBL_MAX) throw RnError{kRnOverflow};
      return floating(v);
    }
    case Of(kw::kLOG): {
      long double v = FpPop();
      if (!(v > 0)) throw RnError{kRnIllegal};
      return floating(std::log(v));
    }
    case Of(kw::kCSNG): {
      long double v = FpPop();
      if (std::fabs(v) > FLT_MAX) throw RnError{kRnOverflow};
      return floating(static_cast<float>(v));
    }
    case Of(kw::kCDBL): {
      long double v = FpPop();
      if (std::fabs(v) > DBL_MAX) throw RnError{kRnOverflow};
      return floating(static_cast<double>(v));
    }
    case Of(kw::kVAL): {
      std::string s = StrPop();
      uint32_t used;
      return floating(rt_parse_number(s.data(), size(s), &used));
    }
    case Of(kw::kCVI): return static_cast<uint32_t>(static_cast<int32_t>(FromBytes<int16_t>(StrPop())));
    case Of(kw::kCVL): return static_cast<uint32_t>(FromBytes<int32_t>(StrPop()));
    case Of(kw::kCVS): return floating(FromBytes<float>(StrPop()));
    case Of(kw::kCVD): return floating(FromBytes<double>(StrPop()));
    case Of(kw::kSEARCH): return static_cast<uint32_t>(Search(word(0), number(1), number(2)));

    // ---- numbers of strings ----
    case Of(kw::kLEN): return size(StrPop());
    case Of(kw::kASC): {
      std::string s = StrPop();
      if (s.empty()) throw RnError{kRnIllegal};
      return static_cast<uint8_t>(s[0]);
    }
    case Of(kw::kJIS): {
      std::string s = StrPop();
      if (s.empty()) throw RnError{kRnIllegal};
      const uint8_t* p = reinterpret_cast<const uint8_t*>(s.data());
      return rt_sjis_width(s.data(), size(s)) == 2 ? rt_sjis_to_jis(p[0] << 8 | p[1]) : p[0];
    }
    case Of(kw::kINSTR): {
      // Arguments run in their order: the sought string is on top.
      std::string sought = StrPop(), s = StrPop();
      int32_t start = number(0);
      if (start < 1) throw RnError{kRnIllegal};
      if (static_cast<size_t>(start) > s.size()) return 0;
      size_t at = s.find(sought, static_cast<size_t>(start - 1));
      return at == std::string::npos ? 0 : static_cast<uint32_t>(at + 1);
    }
    case Of(kw::kKINSTR): {
      std::string sought = StrPop(), s = StrPop();
      int32_t start = number(0);
      if (start < 1) throw RnError{kRnIllegal};
      return static_cast<uint32_t>(rt_sjis_find(s.data(), size(s), sought.data(), size(sought), start));
    }
    case Of(kw::kKLEN): {
      std::string s = StrPop();
      int32_t kind = number(0);
      if (kind < 0 || kind > 2) throw RnError{kRnIllegal};
      return static_cast<uint32_t>(rt_sjis_klen(s.data(), size(s), kind));
    }
    case Of(kw::kKTYPE): {
      std::string s = StrPop();
      int32_t r = rt_sjis_ktype(s.data(), size(s), number(0));
      if (r < 0) throw RnError{kRnIllegal};
      return static_cast<uint32_t>(r);
    }

    // ---- strings of numbers ----
    case kStrOf[0]: return text(IntegerText(static_cast<int32_t>(word(0) & 0xFF)));
    case kStrOf[1]: return text(IntegerText(static_cast<int16_t>(word(0))));
    case kStrOf[2]: return text(IntegerText(number(0)));
    case kStrOf[3]: {
      float f;
      uint32_t w = word(0);
      std::memcpy(&f, &w, 4);
      return text(FloatText(f, true));
    }
    case kStrOf[4]: return text(FloatText(static_cast<double>(FpPop()), false));
    case Of(kw::kHEX_S): return text(Radix("%X", word(0)));
    case Of(kw::kOCT_S): return text(Radix("%o", word(0)));
    case Of(kw::kMKI_S): return text(ToBytes(static_cast<int16_t>(word(0))));
    case Of(kw::kMKL_S): case Of(kw::kMKS_S): return text(ToBytes(word(0)));
    case Of(kw::kMKD_S): return text(ToBytes(static_cast<double>(FpPop())));
    case Of(kw::kKNJ_S): {
      uint32_t j = word(0);
      if (!rt_jis_valid(j)) throw RnError{kRnIllegal};
      uint32_t c = rt_jis_to_sjis(j);
      return text({static_cast<char>(c >> 8), static_cast<char>(c)});
    }
    case Of(kw::kSPACE_S): return text(Filled(number(0), kBlank));
    case Of(kw::kSTRING_S): {
      std::string s = StrPop();
      if (s.empty()) throw RnError{kRnIllegal};
      return text(Filled(number(0), static_cast<uint8_t>(s[0])));
    }
    case Of(fn::kStringCode): {
      int32_t code = number(1);
      if (code < 0 || code > kLastCode) throw RnError{kRnIllegal};
      return text(Filled(number(0), static_cast<uint8_t>(code)));
    }

    // ---- strings of strings ----
    case Of(kw::kLEFT_S): {
      size_t n = length(0);
      return text(StrPop().substr(0, n));
    }
    case Of(kw::kRIGHT_S): {
      size_t n = length(0);
      std::string s = StrPop();
      return text(n >= s.size() ? s : s.substr(s.size() - n));
    }
    case Of(kw::kMID_S): {
      int32_t start = number(0);
      size_t n = length(1);
      std::string s = StrPop();
      if (start < 1) throw RnError{kRnIllegal};
      return text(static_cast<size_t>(start) > s.size() ? std::string() : s.substr(start - 1, n));
    }
    case Of(kw::kKLEFT_S): {
      size_t n = length(0);
      std::string s = StrPop();
      return text(s.substr(0, rt_sjis_offset(s.data(), size(s), static_cast<uint32_t>(n))));
    }
    case Of(kw::kKRIGHT_S): {
      size_t n = length(0);
      std::string s = StrPop();
      uint32_t chars = rt_sjis_count(s.data(), size(s));
      uint32_t from = n >= chars ? 0 : rt_sjis_offset(s.data(), size(s), chars - static_cast<uint32_t>(n));
      return text(s.substr(from));
    }
    case Of(kw::kKMID_S): {
      int32_t start = number(0);
      size_t n = length(1);
      std::string s = StrPop();
      if (start < 1) throw RnError{kRnIllegal};
      uint32_t from = rt_sjis_offset(s.data(), size(s), static_cast<uint32_t>(start - 1));
      return text(s.substr(from, rt_sjis_offset(s.data() + from, size(s) - from, static_cast<uint32_t>(n))));
    }
    case Of(kw::kKEXT_S): {
      std::string s = StrPop();
      int32_t wide = number(0);
      if (wide < 0 || wide > 1) throw RnError{kRnIllegal};
      std::string out(s.size(), '\0');
      out.resize(rt_sjis_kext(s.data(), size(s), wide, out.data()));
      return text(out);
    }
    case Of(kw::kUCASE_S): case Of(kw::kLCASE_S): {
      std::string s = StrPop();
      rt_sjis_map_case(s.data(), size(s), ordinal == Of(kw::kUCASE_S));
      return text(s);
    }
    case Of(kw::kLTRIM_S): case Of(kw::kRTRIM_S): case Of(kw::kTRIM_S): {
      std::string s = StrPop();
      size_t last = s.find_last_not_of(static_cast<char>(kBlank));
      if (ordinal != Of(kw::kLTRIM_S)) s.resize(last == std::string::npos ? 0 : last + 1);
      if (ordinal != Of(kw::kRTRIM_S)) s.erase(0, std::min(s.size(), s.find_first_not_of(static_cast<char>(kBlank))));
      return text(s);
    }
    case Of(kw::kAKCNV_S): {
      std::string s = StrPop();
      return text(Converted(s, 2 * s.size(), rt_sjis_akcnv));
    }
    case Of(kw::kKACNV_S): {
      std::string s = StrPop();
      return text(Converted(s, 2 * s.size(), rt_sjis_kacnv));
    }
    default: throw RnError{kRnIllegal};
  }
}

uint32_t RnMachine::CallBlock(uint32_t ordinal, const uint32_t* block) {
  if (ordinal != Of(kw::kCHR_S)) throw RnError{kRnIllegal};
  // CHR$: the count, then the codes from the last to the first.
  std::string s;
  for (uint32_t i = block[0]; i > 0; --i) {
    if (block[i] > static_cast<uint32_t>(kLastCode)) throw RnError{kRnIllegal};
    s += static_cast<char>(block[i]);
  }
  StrPush(s);
  return 0;
}

// SEARCH: the first subscript from start to end (an end below 0 or past
// the bound: the bound) of a one-dimensional array whose element equals
// the value (on the floating stack, or on the string stack for strings),
// else -1. The control record holds the element type at byte 1.
int32_t RnMachine::Search(uint32_t control, int32_t start, int32_t end) {
  uint8_t type = ProgramBytes(control)[kHdrType];
  std::string sought;
  long double v = 0;
  if (IsStringType(type)) sought = StrPop();
  else v = FpPop();
  uint32_t data = ProgramWord(control + kHdrData), bounds = ProgramWord(control + kHdrBounds);
  if (data == 0 || bounds == 0 || ProgramBytes(bounds)[0] != 1) throw RnError{kRnIllegal};
  int32_t bound = static_cast<int32_t>(ProgramWord(bounds + 1));
  if (end < 0 || end > bound) end = bound;
  if (start < 0) throw RnError{kRnIllegal};
  for (int32_t i = start; i <= end; ++i) {
    uint32_t at = data + static_cast<uint32_t>(i) * (type == kTStr ? kStrDescBytes : ValueBytes(type));
    bool equal;
    if (type == kTStr) {
      uint32_t n = ProgramWord(at + kStrDescLength), p = ProgramWord(at + 8);
      equal = n == sought.size() && (n == 0 || std::memcmp(ProgramBytes(p), sought.data(), n) == 0);
    } else if (type == kTSng) {
      float f;
      std::memcpy(&f, ProgramBytes(at), 4);
      equal = f == static_cast<float>(v);
    } else if (IsNumberType(type)) {
      uint8_t bytes[8];
      std::memcpy(bytes, ProgramBytes(at), ValueBytes(type));
      FpLoad(type, bytes);
      equal = FpPop() == v;
    } else {
      throw RnError{kRnType};
    }
    if (equal) return i;
  }
  return -1;
}

}  // namespace txrn
