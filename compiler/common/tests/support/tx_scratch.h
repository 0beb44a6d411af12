// Scratch folders and files for the compiler's tests. Test programs run side
// by side and share the temporary folder, so every name carries the process
// id; the C library's tmpfile() picks names two processes can both take
// (under Wine it then fails or hands both the same file).
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

namespace txtest {

inline unsigned long ProcessId() {
#ifdef _WIN32
    return static_cast<unsigned long>(_getpid());
#else
    return static_cast<unsigned long>(getpid());
#endif
}

// A folder of this process's own, <temp>/<stem>_<pid>[_<tag>], made empty;
// removed by Remove() or when it goes, and only by the process that made it
// (a forked child must not pull it away from its parent).
class ScratchDir {
  public:
    ScratchDir() = default;
    explicit ScratchDir(const std::string &stem, const std::string &tag = "") { Make(stem, tag); }
    ScratchDir(const ScratchDir &) = delete;
    ScratchDir &operator=(const ScratchDir &) = delete;
    ~ScratchDir() { Remove(); }

    void Make(const std::string &stem, const std::string &tag = "") {
        Remove();
        std::error_code ec;
        std::filesystem::path base = std::filesystem::temp_directory_path(ec);
        if (ec) base = ".";
        std::string name = stem + "_" + std::to_string(ProcessId());
        if (!tag.empty()) name += "_" + tag;
        path_ = base / name;
        std::filesystem::remove_all(path_, ec);
        std::filesystem::create_directories(path_, ec);
        owner_ = ProcessId();
    }

    void Remove() {
        if (path_.empty() || owner_ != ProcessId()) return;
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
        path_.clear();
    }

    const std::filesystem::path &path() const { return path_; }
    std::filesystem::path operator/(const std::string &name) const { return path_ / name; }
    // The path of a file in the folder, as a string.
    std::string File(const std::string &name) const { return (path_ / name).string(); }

  private:
    std::filesystem::path path_;
    unsigned long owner_ = 0;
};

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

namespace detail {
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
}  // namespace detail

// A read-write stream like tmpfile()'s; nullptr when it cannot be made.
inline FILE *ScratchFile() {
    detail::MadeFiles();  // constructed first, so destroyed after any user
    std::string path = UniquePath("txsc_scratch");
    FILE *f = std::fopen(path.c_str(), "w+b");
    if (f) detail::MadeFiles().paths.push_back(path);
    return f;
}

}  // namespace txtest
