// The few file-system questions the driver asks, answered the same way on
// Windows (ANSI code page 932 names) and natively.
#pragma once

#include <cstddef>
#include <string>

#include "newfile.h"

namespace txcl {

extern const char kPathSeparator;

bool IsDirectory(const char *path);
// Opens for reading in binary mode and closes again; a folder does not count.
bool CanOpenForReading(const char *path);
// Creates or truncates to an empty file.
bool CreateEmptyFile(const char *path);
// Creates a file that did not exist (never opens an existing one).
using tx::NewFile;
NewFile CreateNewFile(const char *path);
// Both name the same existing file (also through another spelling or a link).
bool SameFile(const char *a, const char *b);
unsigned long ProcessNumber();
// While armed, an interruption (SIGINT, SIGTERM, SIGHUP; Ctrl+C, Ctrl+Break or
// a closed console) removes the named files (empty names are skipped) before
// the process ends as the interruption would end it. Arming again replaces
// the list; count 0 disarms.
void RemoveOnInterrupt(const std::string *names, std::size_t count);

}  // namespace txcl
