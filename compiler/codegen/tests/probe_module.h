// A small main module with debug information, generated straight through
// the emitters (no statement generators): module start, three statement
// lines, a forward jump, a public and a static procedure and the debugger
// routines. The object file tests read it with binutils and link it.
#pragma once

#include <string>

namespace txcg::test {

// Writes the probe's object file; the time stamp is fixed.
void WriteProbeObject(const std::string &path);

} // namespace txcg::test

namespace txcg::test {

// A .SUB module of `calls` runtime calls (one relocation each) with line
// numbers, then a local call and a long jump back to the second call: with
// more than 65,535 calls .text is split.
void WriteManyCallsObject(const std::string &path, uint32_t calls);

} // namespace txcg::test
