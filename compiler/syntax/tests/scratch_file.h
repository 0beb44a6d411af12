// Scratch files of this process's own. The C library's tmpfile() picks
// names that test programs running side by side can both take (under Wine
// it then fails or hands both the same file), so tests use these instead.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>
#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
#endif

namespace scratch {

inline unsigned long ProcessId() {
#ifdef _WIN32
    return static_cast<unsigned long>(_getpid());
#else
    return static_cast<unsigned long>(getpid());
#endif
}

// A path unique to this process and call, in the temporary folder.
inline std::string UniquePath(const char *stem) {
    static unsigned serial = 0;
    std::error_code ec;
    std::filesystem::path dir = std::filesystem::temp_directory_path(ec);
    if (ec) dir = ".";
    return (dir / (std::string(stem) + "_" + std::to_string(ProcessId()) + "_" +
                   std::to_string(++serial) + ".tmp"))
        .string();
}

// The files made so far; removed at exit (the tests have closed them).
struct Made {
    std::vector<std::string> paths;
    ~Made() {
        for (const auto &p : paths) std::remove(p.c_str());
    }
};

inline Made &MadeFiles() {
    static Made made;
    return made;
}

// A read-write stream like tmpfile()'s; nullptr when it cannot be made.
inline FILE *File() {
    MadeFiles();  // constructed first, so destroyed after any user
    std::string path = UniquePath("txsc_scratch");
    FILE *f = std::fopen(path.c_str(), "w+b");
    if (f) MadeFiles().paths.push_back(path);
    return f;
}

}  // namespace scratch
