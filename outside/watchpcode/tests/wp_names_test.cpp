// Names from debug tables laid out byte by byte as the code generator
// writes them into the image.
#include <gtest/gtest.h>

#include "ev_harness.h"
#include "txpp.h"
#include "watch_block.h"
#include "wp_names.h"
#include "wp_services.h"

namespace {

using namespace txev_test;

// A 20-byte record and its name.
std::vector<uint8_t> Record(uint8_t type, uint8_t cls, uint32_t address, uint32_t extra,
                            uint32_t bounds, uint32_t size, const std::string& name) {
  std::vector<uint8_t> r(20 + name.size());
  r[0] = type;
  r[1] = cls;
  std::memcpy(&r[2], &address, 4);
  std::memcpy(&r[6], &extra, 4);
  std::memcpy(&r[10], &bounds, 4);
  std::memcpy(&r[14], &size, 4);
  r[19] = static_cast<uint8_t>(name.size());
  std::memcpy(r.data() + 20, name.data(), name.size());
  return r;
}

void Append(std::vector<uint8_t>& to, const std::vector<uint8_t>& bytes) {
  size_t at = to.size();
  to.resize(at + bytes.size());
  std::memcpy(to.data() + at, bytes.data(), bytes.size());
}

void PutSize(std::vector<uint8_t>& table) {
  uint32_t n = static_cast<uint32_t>(table.size());
  std::memcpy(table.data(), &n, 4);
}

TEST(DebugTableNames, LooksUpProcedureModuleCommonAndMembers) {
  Arena arena;
  txev::DirectMemory memory;
  // TYPE RT: M1 AS INTEGER at 0, M2 AS DOUBLE at 8; 16 bytes.
  std::vector<uint8_t> type(4);
  Append(type, {16, 0, 0, 0, 2, 'R', 'T'});   // type size 16, name "RT"
  Append(type, Record(0, 0, 0, 0, 0, 0, "M1"));
  Append(type, Record(3, 0, 8, 0, 0, 0, "M2"));
  PutSize(type);
  uint32_t typeAt = arena.Put(type.data(), static_cast<uint32_t>(type.size()));

  std::vector<uint8_t> module(4);
  Append(module, Record(16, 1, 0x1000, 0, 0, 0, "A"));   // A$
  Append(module, Record(0, 1, 0x1010, 0, 0, 0, "A"));    // A%
  Append(module, Record(2, 17, 0x1020, 0, 0x2000, 0, "B"));
  Append(module, Record(48, 1, 0x1030, typeAt, 0, 0, "rec"));
  PutSize(module);
  uint32_t moduleAt = arena.Put(module.data(), static_cast<uint32_t>(module.size()));

  std::vector<uint8_t> common(4);
  Append(common, Record(1, 2, 0x3000, 0, 0, 4, "C"));
  Append(common, Record(1, 2, 0x3004, 0, 0, 0, "D"));   // size 0: past the end
  PutSize(common);
  uint32_t commonAt = arena.Put(common.data(), static_cast<uint32_t>(common.size()));

  std::vector<uint8_t> proc(4);
  Append(proc, {4, 'P', 'R', 'O', 'C', 24, 0, 0, 0, 1});   // frame 24, one parameter
  Append(proc, Record(1, 4, 8, 0, 0, 0, "X"));
  Append(proc, Record(0, 3, 16, 0, 0, 0, "A"));         // a local A% hides the module's
  PutSize(proc);
  uint32_t procAt = arena.Put(proc.data(), static_cast<uint32_t>(proc.size()));

  txwp::DebugTableNames names(memory, {procAt, moduleAt, commonAt});
  txwp::DebugTableNames moduleOnly(memory, {0, moduleAt, commonAt});
  auto cls = [&](uint32_t desc) { return desc ? *arena.At(desc + 1) : 0xFF; };
  auto type0 = [&](uint32_t desc) { return desc ? *arena.At(desc) : 0xFF; };

  EXPECT_EQ(cls(names.Variable("x", 1, 2, false)), 4);
  EXPECT_EQ(cls(names.Variable("A", 1, 0, false)), 3);          // the local
  EXPECT_EQ(type0(names.Variable("A", 1, 16, false)), 16);       // the module's A$
  EXPECT_EQ(type0(moduleOnly.Variable("A", 1, 0, false)), 0);    // the module's A%
  EXPECT_EQ(type0(moduleOnly.Variable("A", 1, 2, false)), 16);   // no A!: the first A
  EXPECT_EQ(names.Variable("B", 1, 2, false), 0u);               // B is an array
  EXPECT_EQ(cls(names.Variable("B", 1, 2, true)), 17);
  EXPECT_EQ(cls(names.Variable("C", 1, 1, false)), 2);
  EXPECT_EQ(names.Variable("D", 1, 1, false), 0u);
  EXPECT_EQ(names.Variable("PROC", 4, 2, false), 0u);
  EXPECT_EQ(names.Variable("AB", 2, 2, false), 0u);
  uint32_t rec = names.Variable("REC", 3, 2, false);
  ASSERT_NE(rec, 0u);
  uint32_t typeRecord;
  std::memcpy(&typeRecord, arena.At(rec + 6), 4);
  uint32_t m2 = names.Member(typeRecord, "m2", 2);
  ASSERT_NE(m2, 0u);
  EXPECT_EQ(type0(m2), 3);
  EXPECT_EQ(names.Member(typeRecord, "M3", 2), 0u);
  EXPECT_EQ(names.Member(0, "M1", 2), 0u);
}

// The hook's whole work: a request in the block, the names from the
// tables, the local through the frame base, the answer back in the block.
TEST(DebugTableNames, AnswerWatchThroughTheTables) {
  Arena arena;
  uint32_t iAt = arena.Value<int16_t>(41);
  std::vector<uint8_t> module(4);
  Append(module, Record(0, 1, iAt, 0, 0, 0, "I"));
  PutSize(module);
  std::vector<uint8_t> proc(4);
  Append(proc, {1, 'P', 8, 0, 0, 0, 0});   // no parameters
  Append(proc, Record(0, 3, 4, 0, 0, 0, "L"));
  PutSize(proc);
  uint32_t frame = arena.Zeros(16);
  int16_t l = 5;
  std::memcpy(arena.At(frame + 4), &l, 2);
  txwp::DebugTables tables{arena.Put(proc.data(), static_cast<uint32_t>(proc.size())),
                           arena.Put(module.data(), static_cast<uint32_t>(module.size())), 0};
  uint8_t* block = arena.At(arena.Zeros(txwatch::kBlockBytes));
  uint8_t* scratch = arena.At(arena.Zeros(2048));
  auto noText = [](uint32_t, bool, bool, bool) { return std::string(); };
  auto var = txwatch::CompileWatch("i + l", false, 0, PP_EdtChk, noText);
  ASSERT_TRUE(txwatch::EvaluateWatch(*var, block, [&] {
    return txwp_answer_watch(block, &tables, frame, scratch, 2048) == 0;
  }));
  EXPECT_EQ(txwatch::WatchConsoleLine(*var, noText), "i + l = 46 [DBL]");
  var = txwatch::CompileWatch("L * 2 + LEN(\"ab\")", false, 1, PP_EdtChk, noText);
  ASSERT_TRUE(txwatch::EvaluateWatch(*var, block, [&] {
    return txwp_answer_watch(block, &tables, frame, scratch, 2048) == 0;
  }));
  EXPECT_EQ(txwatch::WatchConsoleLine(*var, noText), "L * 2 + LEN(\"ab\") = 12 [DBL]");
}

}  // namespace
