// Files of a BASIC program run in the emulator: the host side of the
// runtime's file services (see CONTRACTS.md). Every name is taken inside
// one folder; a name that would leave it is refused.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>

namespace tx::runner {

class FileHost {
  public:
    // Open modes the runtime asks for.
    enum Mode : uint32_t { kRead = 1, kCreate = 2, kAppend = 3, kUpdate = 4, kUpdateExisting = 5, kWriteKeep = 6 };

    // What one run may put on the disk: no file grows past fileSize bytes,
    // and the files together take no more than written bytes of writes; a
    // write past either fails with error 61 (disk full). Both stay far below
    // 4 GB, where the runtime's 32-bit positions would wrap.
    struct Limits {
        uint64_t fileSize = 256ull << 20;
        uint64_t written = 1ull << 30;
    };

    explicit FileHost(std::filesystem::path root = std::filesystem::current_path()) : root_(std::move(root)) {}
    ~FileHost();
    FileHost(const FileHost &) = delete;
    FileHost &operator=(const FileHost &) = delete;

    // Results: a handle or a count, or minus the BASIC error number.
    int32_t Open(const std::string &name, uint32_t mode);
    void Close(int32_t handle);
    void CloseAll();
    int32_t Read(int32_t handle, uint64_t pos, void *to, uint32_t n);
    int32_t Write(int32_t handle, uint64_t pos, const void *from, uint32_t n);
    int32_t Size(int32_t handle);
    int32_t Truncate(int32_t handle, uint32_t size);
    int32_t Kill(const std::string &name);
    int32_t Rename(const std::string &from, const std::string &to);
    int32_t FreeKilobytes();

    void SetLimits(const Limits &limits) { limits_ = limits; }

    // The path a name stands for, or empty when the name is refused. Names
    // are Shift-JIS: a trail byte may be 0x5C or another separator's byte. An
    // existing file whose name differs only in case is found too.
    std::filesystem::path Resolve(const std::string &name) const;

  private:
    std::filesystem::path root_;
    Limits limits_;
    uint64_t written_ = 0;
    std::map<int32_t, int> fds_;
    int32_t next_ = 1;
};

} // namespace tx::runner
