#include "wp_names.h"

namespace txwp {

using namespace txev;

namespace {

constexpr uint32_t kRecordBytes = 20;
constexpr uint32_t kRecordSize = 14, kRecordNameLength = 19;
// Procedure entry {u32 size, u8 name length} + name + {u32 frame size, u8 count}.
constexpr uint32_t kProcHead = 5, kProcTail = 5;
// Type entry {u32 size, u32 type size, u8 name length} + name.
constexpr uint32_t kTypeHead = 9;

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

bool DebugTableNames::SameName(uint32_t record, const char* name, uint32_t length) {
  if (mem_.Byte(record + kRecordNameLength) != length) return false;
  for (uint32_t i = 0; i < length; ++i)
    if (Upper(static_cast<char>(mem_.Byte(record + kRecordBytes + i))) != Upper(name[i])) return false;
  return true;
}

uint32_t DebugTableNames::Search(uint32_t at, uint32_t end, const char* name, uint32_t length,
                                 int type, int array, bool stopAtEmpty) {
  while (at + kRecordBytes <= end) {
    if (stopAtEmpty && mem_.Word32(at + kRecordSize) == 0) break;
    bool isArray = (mem_.Byte(at + kDescClass) & kClassArray) != 0;
    if ((array < 0 || isArray == (array != 0)) && SameName(at, name, length) &&
        (type < 0 || mem_.Byte(at + kDescType) == type))
      return at;
    at += kRecordBytes + mem_.Byte(at + kRecordNameLength);
  }
  return 0;
}

uint32_t DebugTableNames::Variable(const char* name, uint32_t length, uint8_t type, bool array) {
  // A% and A$ are different variables: the written type first in every
  // scope (procedure, module, COMMON), then the name alone in the same order
  // (a name declared with AS comes without its type).
  const int passes[2] = {type, -1};
  for (int wanted : passes) {
    if (uint32_t p = tables_.procedure) {
      uint32_t end = p + mem_.Word32(p);
      uint32_t first = p + kProcHead + mem_.Byte(p + 4) + kProcTail;
      if (uint32_t r = Search(first, end, name, length, wanted, array, false)) return r;
    }
    if (uint32_t m = tables_.module) {
      if (uint32_t r = Search(m + 4, m + mem_.Word32(m), name, length, wanted, array, false)) return r;
    }
    if (uint32_t c = tables_.common) {
      if (uint32_t r = Search(c + 4, c + mem_.Word32(c), name, length, wanted, array, true)) return r;
    }
  }
  return 0;
}

uint32_t DebugTableNames::Member(uint32_t typeRecord, const char* name, uint32_t length) {
  if (typeRecord == 0) return 0;
  uint32_t end = typeRecord + mem_.Word32(typeRecord);
  uint32_t first = typeRecord + kTypeHead + mem_.Byte(typeRecord + 8);
  return Search(first, end, name, length, -1, -1, false);
}

}  // namespace txwp
