// A file created only when it does not exist yet: the driver's and the
// analyzer's temporaries share a folder with other compilations, so a name
// another process took must never be opened again.
#pragma once

#include <cstdio>

namespace tx {

enum class NewFile { kCreated, kExists, kFailed };

// Creates path for reading and writing in binary mode; nullptr when it
// already exists (status kExists) or cannot be created (kFailed). A
// temporary file leaves nothing behind however the process ends: it is
// deleted when its handle closes (Windows) or has no name once open.
std::FILE *OpenNewFile(const char *path, NewFile *status = nullptr, bool temporary = false);

}  // namespace tx
