// A file created only when it does not exist yet: the driver's and the
// analyzer's temporaries share a folder with other compilations, so a name
// another process took must never be opened again.
#pragma once

#include <cstdio>

namespace tx {

enum class NewFile { kCreated, kExists, kFailed };

// Creates path for reading and writing in binary mode; nullptr when it
// already exists (status kExists) or cannot be created (kFailed).
std::FILE *OpenNewFile(const char *path, NewFile *status = nullptr);

}  // namespace tx
