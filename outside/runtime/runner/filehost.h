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

    explicit FileHost(std::filesystem::path root = std::filesystem::current_path()) : root_(std::move(root)) {}
    ~FileHost();
    FileHost(const FileHost &) = delete;
    FileHost &operator=(const FileHost &) = delete;

    // Results: a handle or a count, or minus the BASIC error number.
    int32_t Open(const std::string &name, uint32_t mode);
    void Close(int32_t handle);
    void CloseAll();
    int32_t Read(int32_t handle, uint32_t pos, void *to, uint32_t n);
    int32_t Write(int32_t handle, uint32_t pos, const void *from, uint32_t n);
    int32_t Size(int32_t handle);
    int32_t Truncate(int32_t handle, uint32_t size);
    int32_t Kill(const std::string &name);
    int32_t Rename(const std::string &from, const std::string &to);
    int32_t FreeKilobytes();

    // The path a name stands for, or empty when the name is refused. An
    // existing file whose name differs only in case is found too.
    std::filesystem::path Resolve(const std::string &name) const;

  private:
    std::filesystem::path root_;
    std::map<int32_t, int> fds_;
    int32_t next_ = 1;
};

} // namespace tx::runner
