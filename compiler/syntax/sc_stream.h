// The final pass: the statement records of the work file become the
// statement stream of the intermediate file, with the table offsets in
// place of symbol handles; then the tables are copied, each padded to 16.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <vector>

#include "intermediate.h"

namespace txsc {

class WorkFile;
struct TableState;

// Reports a statement error word at the line of the record being written.
using StreamError = std::function<void(uint16_t word, uint16_t line)>;

// One work-file record (head included) in its stream form. Statement
// errors (29, 38, 90) go to `error`; an item that cannot be read throws
// OutFatal 90.
std::vector<uint8_t> ConvertRecord(const uint8_t *rec, size_t len, const TableState &t, const StreamError &error);
// The same into `out`, whose room is kept from one record to the next.
void ConvertRecord(const uint8_t *rec, size_t len, const TableState &t, const StreamError &error,
                   std::vector<uint8_t> &out);

// Writes the stream from the statement records at the start of `work`
// (ended by a u32 0) to `out` at its current position, padded to 16;
// returns the stream size for the header (0 when there is no code).
uint32_t WriteStream(WorkFile &work, FILE *out, const TableState &t, const StreamError &error);

// Copies the ten tables from `work`, each padded to 16.
void WriteTables(WorkFile &work, FILE *out, const TableState &t);

// The final header over the placeholder at 0.
void WriteHeader(FILE *out, const ifile::Header &h);

}  // namespace txsc
