#include "sc_workfile.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "newfile.h"

namespace txsc {

namespace {

// The name must fit the 256-byte block the pass keeps it in.
constexpr size_t kNameRoom = 256;

// The folder named by TMP when it exists, else the current one, as for the
// driver's own temporaries.
std::string TempFolder() {
    const char *tmp = std::getenv("TMP");
    std::error_code ec;
    if (!tmp || !*tmp || !std::filesystem::is_directory(tmp, ec)) return ".";
    return tmp;
}

bool Exists(const std::string &name) {
    std::error_code ec;
    return std::filesystem::exists(name, ec) || ec;
}

}  // namespace

void WorkFile::Create() {
    Close();
    const std::string dir = TempFolder();
    static unsigned serial = 0;
    unsigned seed = unsigned(std::chrono::steady_clock::now().time_since_epoch().count());
    for (int attempt = 0; attempt < 4096; ++attempt) {
        char leaf[32];
        std::snprintf(leaf, sizeof leaf, "$SC%05X.TMP", (seed + ++serial * 7919u) & 0xFFFFF);
        std::string name = dir;
        if (!name.empty() && name.back() != '/' && name.back() != '\\') name += '/';
        name += leaf;
        if (name.size() >= kNameRoom) break;
        if (Exists(name)) continue;
        // Created only if it is new: passes in other processes share the folder.
        tx::NewFile status;
        FILE *f = tx::OpenNewFile(name.c_str(), &status, true);
        if (status == tx::NewFile::kExists) continue;
        f_ = f;
        if (!f_) Fail(11);
        buffer_.Attach(f_);  // written an item at a time
        name_ = name;
        return;
    }
    Fail(10);
}

void WorkFile::Close() {
    if (f_) {
        std::fclose(f_);
        f_ = nullptr;
    }
    // The file went with its handle (opened as temporary); removing the name now
    // could hit another process's new file of that name.
    name_.clear();
}

void WorkFile::Write(const void *data, size_t size) {
    if (size && std::fwrite(data, 1, size, f_) != size) Fail(12);
}

void WorkFile::WriteU32(uint32_t v) {
    uint8_t b[4] = {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)};
    Write(b, 4);
}

uint32_t WorkFile::Tell() {
    long pos = std::ftell(f_);
    if (pos < 0 || uint64_t(pos) > 0xFFFFFFFFu) Fail(13);
    return uint32_t(pos);
}

void WorkFile::Seek(uint32_t pos) {
    if (std::fseek(f_, long(pos), SEEK_SET) != 0) Fail(13);
}

void WorkFile::SeekEnd() {
    if (std::fseek(f_, 0, SEEK_END) != 0) Fail(13);
}

void WorkFile::Read(void *data, size_t size) {
    if (size && std::fread(data, 1, size, f_) != size) Fail(13);
}

void WorkFile::PatchU32(uint32_t pos, uint32_t v) {
    Seek(pos);
    WriteU32(v);
    SeekEnd();
}

}  // namespace txsc
