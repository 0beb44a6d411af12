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
