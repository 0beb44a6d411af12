#include "filehost.h"

#include "../../../compiler/common/dbcs.h"

#include <cerrno>
#include <cstdio>

#include <fcntl.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace tx::runner {
namespace {

// BASIC error numbers the services answer with.
constexpr int32_t kFileNotFound = 53, kFileExists = 58, kDiskFull = 61, kBadName = 64, kTooManyFiles = 67,
                  kAccess = 75;

char Upper(char c) { return c >= 'a' && c <= 'z' ? char(c - 32) : c; }

int32_t FromErrno(int e) {
    switch (e) {
    case ENOENT: return -kFileNotFound;
    case EEXIST: return -kFileExists;
    case ENOSPC: return -kDiskFull;
    case EMFILE:
    case ENFILE: return -kTooManyFiles;
    case ENAMETOOLONG: return -kBadName;
    default: return -kAccess;
    }
}

} // namespace

FileHost::~FileHost() { CloseAll(); }

std::filesystem::path FileHost::Resolve(const std::string &name) const {
    // Only plain names: no folder part, no drive, nothing the host would
    // read as a way out of the folder.
    if (name.empty() || name.size() > 255 || name == "." || name == "..")
        return {};
    for (size_t i = 0; i < name.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(name[i]);
        if (tx::IsSjisLeadByte(c) && i + 1 < name.size()) {
            const unsigned char t = static_cast<unsigned char>(name[++i]);
            if (t < 0x40 || t == 0x7F || t > 0xFC)
                return {};
            continue;
        }
        if (c < 0x20 || c == '/' || c == '\\' || c == ':' || c == '*' || c == '?' || c == '"' || c == '<' ||
            c == '>' || c == '|')
            return {};
    }
    std::filesystem::path p = root_ / name;
    std::error_code ec;
    if (std::filesystem::symlink_status(p, ec).type() != std::filesystem::file_type::not_found)
        return std::filesystem::is_symlink(p, ec) ? std::filesystem::path{} : p;
    // The system's names are case-blind; the folder here may not be.
    for (const auto &e : std::filesystem::directory_iterator(root_, ec)) {
        const std::string other = e.path().filename().string();
        if (other.size() != name.size())
            continue;
        bool same = true;
        for (size_t i = 0; same && i < name.size(); ++i) {
            same = Upper(other[i]) == Upper(name[i]);
            // A trail byte is no letter: it matches only itself.
            if (same && tx::IsSjisLeadByte(static_cast<unsigned char>(name[i])) && i + 1 < name.size()) {
                ++i;
                same = other[i] == name[i];
            }
        }
        if (same)
            return e.is_symlink(ec) ? std::filesystem::path{} : e.path();
    }
    return p;
}

int32_t FileHost::Open(const std::string &name, uint32_t mode) {
    const std::filesystem::path p = Resolve(name);
    if (p.empty())
        return -kBadName;
    int flags = O_CLOEXEC | O_NOFOLLOW;
    switch (mode) {
    case kRead: flags |= O_RDONLY; break;
    case kCreate: flags |= O_RDWR | O_CREAT | O_TRUNC; break;
    case kAppend:
    case kUpdate: flags |= O_RDWR | O_CREAT; break;
    case kUpdateExisting: flags |= O_RDWR; break;
    case kWriteKeep: flags |= O_WRONLY | O_CREAT; break;
    default: return -kAccess;
    }
    const int fd = ::open(p.c_str(), flags, 0644);
    if (fd < 0)
        return FromErrno(errno);
    if (fds_.size() >= 255) {
        ::close(fd);
        return -kTooManyFiles;
    }
    const int32_t h = next_++;
    fds_[h] = fd;
    return h;
}

void FileHost::Close(int32_t handle) {
    auto it = fds_.find(handle);
    if (it == fds_.end())
        return;
    ::close(it->second);
    fds_.erase(it);
}

void FileHost::CloseAll() {
    for (auto &[h, fd] : fds_)
        ::close(fd);
    fds_.clear();
}

int32_t FileHost::Read(int32_t handle, uint64_t pos, void *to, uint32_t n) {
    auto it = fds_.find(handle);
    if (it == fds_.end())
        return -kAccess;
    const ssize_t r = ::pread(it->second, to, n, off_t(pos));
    return r < 0 ? FromErrno(errno) : int32_t(r);
}

int32_t FileHost::Write(int32_t handle, uint64_t pos, const void *from, uint32_t n) {
    auto it = fds_.find(handle);
    if (it == fds_.end())
        return -kAccess;
    if (pos + n > limits_.fileSize || written_ + n > limits_.written)
        return -kDiskFull;
    written_ += n;
    const ssize_t r = ::pwrite(it->second, from, n, off_t(pos));
    if (r < 0)
        return FromErrno(errno);
    return r == ssize_t(n) ? int32_t(r) : -kDiskFull;
}

int32_t FileHost::Size(int32_t handle) {
    auto it = fds_.find(handle);
    if (it == fds_.end())
        return -kAccess;
    const off_t end = ::lseek(it->second, 0, SEEK_END);
    return end < 0 ? FromErrno(errno) : end > 0x7FFFFFFF ? 0x7FFFFFFF : int32_t(end);
}

int32_t FileHost::Truncate(int32_t handle, uint32_t size) {
    auto it = fds_.find(handle);
    if (it == fds_.end())
        return -kAccess;
    if (size > limits_.fileSize)
        return -kDiskFull;
    return ::ftruncate(it->second, off_t(size)) < 0 ? FromErrno(errno) : 0;
}

int32_t FileHost::Kill(const std::string &name) {
    const std::filesystem::path p = Resolve(name);
    if (p.empty())
        return -kBadName;
    std::error_code ec;
    if (!std::filesystem::is_regular_file(p, ec))
        return -kFileNotFound;
    return ::unlink(p.c_str()) < 0 ? FromErrno(errno) : 0;
}

int32_t FileHost::Rename(const std::string &from, const std::string &to) {
    const std::filesystem::path a = Resolve(from), b = Resolve(to);
    if (a.empty() || b.empty())
        return -kBadName;
    std::error_code ec;
    if (!std::filesystem::is_regular_file(a, ec))
        return -kFileNotFound;
    if (std::filesystem::exists(b, ec) && a != b)
        return -kFileExists;
    return ::rename(a.c_str(), b.c_str()) < 0 ? FromErrno(errno) : 0;
}

int32_t FileHost::FreeKilobytes() {
    struct statvfs s;
    if (::statvfs(root_.c_str(), &s) != 0)
        return 0;
    const unsigned long long kb = (unsigned long long)s.f_bavail * s.f_frsize / 1024;
    return kb > 0x7FFFFFFF ? 0x7FFFFFFF : int32_t(kb);
}

} // namespace tx::runner
