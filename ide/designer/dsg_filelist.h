// The icon, bitmap and cursor file lists of a resource document.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace dsg {

enum : int { kListIcon = 2, kListBitmap = 3, kListCursor = 4 };

struct FileEntry {
    uint16_t uses = 0;
    std::string path;
};

// A list with no block is `exists == false`; an empty existing list can only
// come from a loaded script.
struct FileList {
    bool exists = false;
    std::vector<FileEntry> entries;

    size_t BlockSize() const;
    // Resource name or whole path, without regard to case; first match.
    FileEntry *Find(std::string_view nameOrPath);
    int AddRef(std::string_view nameOrPath);
    int Release(std::string_view nameOrPath);
    // Appends {0, path upper-cased}; false when the block would pass 65534 bytes.
    bool Append(std::string_view path);
    bool Remove(size_t index);
};

// The list kind of a file's extension, 0 for none.
int ListKindOf(std::string_view path);
// The file name part cut at its last period.
std::string ResourceName(std::string_view path);

// Import: false when an entry with the same path or file name exists, or
// the extension has no list.
bool ResFileImport(FileList lists[3], std::string_view path, bool &noMemory);

// Builds a list from a loaded list resource: a 4-byte lead, then paths.
// `scriptFolder` has no trailing backslash; `currentFolder` likewise.
bool ResFilesLoad(FileList &list, const uint8_t *data, size_t size, std::string_view scriptFolder,
                  std::string_view currentFolder);

// A 40-byte information header, colour table and bits, from a bitmap file.
// Returns the message id of the failure, 0 on success.
uint32_t ResFileReadImage(const std::vector<uint8_t> &file, std::vector<uint8_t> &out);

}  // namespace dsg
