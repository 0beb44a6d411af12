// Names of a debugged program from its debug tables, as the code
// generator lays them out in the image: the procedure entry of the stopped
// procedure (parameters, result, locals), the module's variable table and
// the COMMON table, and the user types' member records.
#pragma once

#include <cstdint>

#include "evaluator.h"
#include "wp_producer.h"

namespace txwp {

struct DebugTables {
  uint32_t procedure = 0;  // the stopped procedure's entry in the procedure table, or 0
  uint32_t module = 0;     // the module variable table {u32 total size, records}
  uint32_t common = 0;     // the COMMON table (same form; a record of size 0 ends it)
};

class DebugTableNames : public WatchNames {
 public:
  DebugTableNames(txev::EvalMemory& memory, const DebugTables& tables)
      : mem_(memory), tables_(tables) {}
  uint32_t Variable(const char* name, uint32_t length, uint8_t type, bool array) override;
  uint32_t Member(uint32_t typeRecord, const char* name, uint32_t length) override;

 private:
  // The first record in [at, end) of that name, array kind (-1: either)
  // and type (-1: any). stopAtEmpty ends the walk at a record of size 0.
  uint32_t Search(uint32_t at, uint32_t end, const char* name, uint32_t length, int type,
                  int array, bool stopAtEmpty);
  bool SameName(uint32_t record, const char* name, uint32_t length);

  txev::EvalMemory& mem_;
  DebugTables tables_;
};

}  // namespace txwp
