#include "watch_rows.h"

#include <gtest/gtest.h>

#include <map>

namespace txwatch {
namespace {

std::string NoText(uint32_t e, bool, bool, bool) { return "error " + std::to_string(e); }

WatchVar Str(uint32_t number, const std::string& text, const std::string& value) {
  WatchVar v;
  v.number = number;
  v.text = text;
  v.status = 0;
  v.type = 16;
  v.size = static_cast<uint32_t>(value.size());
  v.hasValue = true;
  v.value.assign(value.begin(), value.end());
  return v;
}

std::string Shape(const WatchRows& rows) {
  std::string s;
  for (const WatchRow& r : rows.Rows())
    s += std::to_string(r.number) + ":" + std::to_string(r.dumpIndex) + (WatchRows::ClosesBlock(r) ? "_ " : " ");
  return s;
}

TEST(WatchRows, ExpandCollapseAndTheLinesThatCloseEachBlock) {
  WatchRows rows(NoText);
  WatchVar s = Str(0, "S$", std::string(20, 'x'));
  WatchVar bad;
  bad.number = 1;
  bad.text = "E";
  bad.status = 5;
  bad.hex = true;  // an error row never expands, even kept as expanded
  rows.Add(s);
  rows.Add(bad);
  EXPECT_EQ(Shape(rows), "0:0_ 1:0_ ");
  EXPECT_EQ(rows.Rows()[0].text, "\"" + std::string(20, 'x') + "\"");
  EXPECT_EQ(rows.Rows()[1].text, "error 5");
  EXPECT_TRUE(rows.Rows()[1].error);
  EXPECT_FALSE(rows.Toggle(1, bad));

  // 20 bytes: the type row and two dump rows, the second with 4 bytes.
  ASSERT_TRUE(rows.Toggle(0, s));
  EXPECT_TRUE(s.hex);
  EXPECT_EQ(Shape(rows), "0:0 0:1 0:2 0:3_ 1:0_ ");
  EXPECT_EQ(rows.Rows()[1].text, "[STR:20]");
  EXPECT_EQ(rows.Rows()[3].text, DumpRowText(s.value.data() + 16, 4));
  EXPECT_FALSE(rows.Toggle(2, s));  // dump rows do not toggle
  ASSERT_TRUE(rows.Toggle(0, s));
  EXPECT_FALSE(s.hex);
  EXPECT_EQ(Shape(rows), "0:0_ 1:0_ ");
}

TEST(WatchRows, RefreshFollowsTheValuesAndRemoveTakesAWatchsRows) {
  WatchRows rows(NoText);
  std::map<uint32_t, WatchVar> vars;
  vars[0] = Str(0, "A$", "ab");
  vars[0].hex = true;
  vars[1] = Str(1, "B$", "cd");
  vars[2] = Str(2, "C$", "ef");
  vars[2].hex = true;
  for (auto& [n, v] : vars) rows.Add(v);
  EXPECT_EQ(Shape(rows), "0:0 0:1 0:2_ 1:0_ 2:0 2:1 2:2_ ");
  auto lookup = [&](uint32_t n) -> WatchVar* {
    auto it = vars.find(n);
    return it == vars.end() ? nullptr : &it->second;
  };

  // A longer value grows the dump; an error hides it until the value is back.
  vars[0] = Str(0, "A$", std::string(17, 'z'));
  vars[0].hex = true;
  vars[2].status = 9;
  rows.Refresh(lookup);
  EXPECT_EQ(Shape(rows), "0:0 0:1 0:2 0:3_ 1:0_ 2:0_ ");
  EXPECT_EQ(rows.Rows()[1].text, "[STR:17]");
  EXPECT_EQ(rows.Rows()[5].text, "error 9");
  vars[2].status = 0;
  rows.Refresh(lookup);
  EXPECT_EQ(Shape(rows), "0:0 0:1 0:2 0:3_ 1:0_ 2:0 2:1 2:2_ ");

  rows.Remove(0);
  EXPECT_EQ(Shape(rows), "1:0_ 2:0 2:1 2:2_ ");
  // A watch gone from the run ends the walk: later rows stay as they were.
  vars.erase(1);
  vars[2].status = 7;
  rows.Refresh(lookup);
  EXPECT_EQ(Shape(rows), "1:0_ 2:0 2:1 2:2_ ");
}

}  // namespace
}  // namespace txwatch
