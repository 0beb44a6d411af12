#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "watch_format.h"

namespace txwatch {
namespace {

TEST(WatchFormat, SingleValues) {
  struct Case { float v; const char* text; };
  const Case cases[] = {
      {1234567.0f, "1.23457E+06"}, {123456.0f, "123456"}, {0.001234f, ".001234"},
      {0.0001234f, "1.234E-04"}, {999999.5f, "1E+06"}, {0.0f, "0"}, {-0.0f, "0"},
      {12.5f, "12.5"}, {1200.0f, "1200"}, {5.0f, "5"}, {0.05f, ".05"}, {-2.5f, "-2.5"},
      {1e-30f, "1E-30"}, {3.4e38f, "3.4E+38"}, {0.1f, ".1"}, {100000.0f, "100000"},
      {1000000.0f, "1E+06"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(FormatBasicSingle(c.v, kSignMinusOnly), c.text);
  }
}

TEST(WatchFormat, DoubleValues) {
  struct Case { double v; const char* text; };
  const Case cases[] = {
      {1e15, "1D+015"}, {123456789012345.0, "123456789012345"}, {0.1 + 0.2, ".3"},
      {1.5e20, "1.5D+020"}, {2e-300, "2D-300"}, {0.0, "0"}, {-1.0 / 3, "-.333333333333333"},
      {2.0 / 3, ".666666666666667"}, {999999999999999.5, "1D+015"}, {1e308, "1D+308"},
      {4.9e-324, "4.94065645841247D-324"}, {0.00001, ".00001"}, {1e-15, ".000000000000001"}, {1e-16, "1D-016"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(FormatBasicDouble(c.v, kSignMinusOnly), c.text);
  }
}

TEST(WatchFormat, SignModesSpecialValuesAndFlags) {
  uint16_t flags = 0;
  EXPECT_EQ(FormatBasicDouble(2.5, kSignAlways, &flags), "+2.5");
  EXPECT_EQ(flags, kFmtFixed);
  EXPECT_EQ(FormatBasicDouble(2.5, kSignBlank), " 2.5");
  EXPECT_EQ(FormatBasicDouble(-2.5, kSignBlank), "-2.5");
  EXPECT_EQ(FormatBasicSingle(0.0f, kSignBlank), " 0");
  EXPECT_EQ(FormatBasicDouble(1e20, kSignMinusOnly, &flags), "1D+020");
  EXPECT_EQ(flags, 0);
  EXPECT_EQ(FormatBasicDouble(std::numeric_limits<double>::infinity(), kSignAlways), "inf");
  EXPECT_EQ(FormatBasicDouble(-std::numeric_limits<double>::infinity(), kSignAlways), "inf");
  EXPECT_EQ(FormatBasicSingle(std::numeric_limits<float>::quiet_NaN(), kSignBlank), "nan");
}

template <typename T>
std::vector<uint8_t> Bytes(T v) {
  std::vector<uint8_t> b(sizeof v);
  std::memcpy(b.data(), &v, sizeof v);
  return b;
}

TEST(WatchFormat, ValueTextsAndTags) {
  auto errorText = [](uint32_t e, bool nextLine, bool detail, bool whole) {
    return "[" + std::to_string(e) + "] " + (nextLine ? "n" : "") + (detail ? "d" : "") +
           (whole ? "w" : "");
  };
  struct Case { int32_t status; uint32_t type; std::vector<uint8_t> value; const char* text; const char* tag; };
  const Case cases[] = {
      {0, 0, Bytes<int16_t>(-5), "-5", "[INT]"},
      {0, 1, Bytes<int32_t>(-70000), "-70000", "[LNG]"},
      {0, 2, Bytes(1.5f), "1.5", "[SNG]"},
      {0, 3, Bytes(-0.25), "-.25", "[DBL]"},
      {0, 4, Bytes<uint8_t>(200), "200", "[BYT]"},
      {0, 8, Bytes<int16_t>(-1), "-1", ""},
      {0, 16, {'a', '\t', 'b', 0xB1}, "\"a b\xB1\"", "[STR:4]"},
      {0, 17, {}, "\"\"", "[STR:0]"},
      {11, 0, Bytes<int16_t>(0), "[11] d", "[INT]"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(FormatWatchValue(c.status, c.type, c.value, errorText), c.text);
    EXPECT_EQ(WatchTypeTag(c.type, static_cast<uint32_t>(c.value.size())), c.tag);
  }
}

TEST(WatchFormat, DumpRows) {
  std::vector<uint8_t> value(20);
  for (size_t i = 0; i < value.size(); ++i) value[i] = static_cast<uint8_t>('A' + i);
  value[1] = 0x09;
  auto rows = BuildDumpRows(7, 16, 20, value);
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0].text, "[STR:20]");
  EXPECT_EQ(rows[0].dumpIndex, 1u);
  std::string first =
      "41 09 43 44 45 46 47 48 - 49 4A 4B 4C 4D 4E 4F 50  " ;
  first.resize(51, ' ');
  first += "  A.CDEFGH - IJKLMNOP          ";
  EXPECT_EQ(rows[1].text, first);
  EXPECT_EQ(rows[1].text.size(), 51u + 2 + 29);
  std::string second = "51 52 53 54 ";
  second.resize(51, ' ');
  second += "  QRST";
  second.resize(51 + 2 + 29, ' ');
  EXPECT_EQ(rows[2].text, second);
  EXPECT_EQ(rows[2].expression, kDumpDoneMarker);
  EXPECT_EQ(rows[1].expression, "");
  EXPECT_EQ(rows[2].number, 7u);
  EXPECT_EQ(rows[2].dumpIndex, 3u);
  // An empty string: the type row alone closes the block.
  auto empty = BuildDumpRows(1, 16, 0, {});
  ASSERT_EQ(empty.size(), 1u);
  EXPECT_EQ(empty[0].expression, kDumpDoneMarker);
  WatchRow main;
  main.expression = "I";
  main.text = "1";
  EXPECT_EQ(WatchRowText(main), "I : 1");
  EXPECT_EQ(WatchRowText(rows[0]), "[STR:20]");
}

}  // namespace
}  // namespace txwatch
