// A readable dump of an intermediate file: header fields, the environment
// block (as "built-in" when it is that block), every statement record cut
// into tokens by the stream walker, and every table in hex. Golden files of
// the analyzer's output are kept in this form, so that they can be checked
// by hand against the record layouts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace ifile {

// False with a reason in `error` when the file cannot be split or its
// stream does not walk cleanly to its end mark; the dump then stops there.
bool DumpFile(const uint8_t *data, size_t size, std::string *out, std::string *error);

}  // namespace ifile
