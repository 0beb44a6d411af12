#include "newfile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace tx {

std::FILE *OpenNewFile(const char *path, NewFile *status, bool temporary) {
    errno = 0;
#ifdef _WIN32
    int fd = _open(path, _O_CREAT | _O_EXCL | _O_RDWR | _O_BINARY | (temporary ? _O_TEMPORARY : 0),
                   _S_IREAD | _S_IWRITE);
#else
    int fd = open(path, O_CREAT | O_EXCL | O_RDWR, 0666);
#endif
    std::FILE *f = nullptr;
    if (fd >= 0) {
#ifdef _WIN32
        f = _fdopen(fd, "w+b");
        if (!f) _close(fd);
#else
        if (temporary) unlink(path);
        f = fdopen(fd, "w+b");
        if (!f) close(fd);
#endif
    }
    if (status)
        *status = f ? NewFile::kCreated : errno == EEXIST ? NewFile::kExists : NewFile::kFailed;
    return f;
}

}  // namespace tx
