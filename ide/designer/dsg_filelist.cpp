#include "dsg_filelist.h"

#include <cstring>

#include "dsg_model.h"
#include "sjis_path.h"

namespace dsg {

using prj::EqualNoCase;

namespace {
constexpr size_t kListLimit = 65534;

std::string FilePart(std::string_view path) {
    size_t bs = prj::FindLastSb(path, '\\');
    size_t colon = prj::FindLastSb(path, ':');
    size_t cut = std::string_view::npos;
    if (bs != std::string_view::npos) cut = bs;
    if (colon != std::string_view::npos && (cut == std::string_view::npos || colon > cut)) cut = colon;
    return std::string(cut == std::string_view::npos ? path : path.substr(cut + 1));
}

uint32_t Le32(const uint8_t *p) { return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24; }
}  // namespace

std::string ResourceName(std::string_view path) {
    std::string name = FilePart(path);
    size_t dot = prj::FindLastSb(name, '.');
    if (dot != std::string::npos) name.resize(dot);
    return name;
}

int ListKindOf(std::string_view path) {
    std::string name = FilePart(path);
    size_t dot = prj::FindLastSb(name, '.');
    if (dot == std::string::npos) return 0;
    std::string_view ext = std::string_view(name).substr(dot + 1);
    if (EqualNoCase(ext, "ICO")) return kListIcon;
    if (EqualNoCase(ext, "BMP") || EqualNoCase(ext, "DIB")) return kListBitmap;
    if (EqualNoCase(ext, "CUR")) return kListCursor;
    return 0;
}

size_t FileList::BlockSize() const {
    size_t n = 16;
    for (auto &e : entries) n += e.path.size() + 3;
    return n;
}

FileEntry *FileList::Find(std::string_view s) {
    for (auto &e : entries)
        if (EqualNoCase(ResourceName(e.path), s) || EqualNoCase(e.path, s)) return &e;
    return nullptr;
}

int FileList::AddRef(std::string_view s) {
    FileEntry *e = Find(s);
    return e ? ++e->uses : -1;
}

int FileList::Release(std::string_view s) {
    FileEntry *e = Find(s);
    return e ? --e->uses : -1;
}

bool FileList::Append(std::string_view path) {
    if (BlockSize() + path.size() + 3 > kListLimit) return false;
    entries.push_back({0, prj::UpperSb(path)});
    exists = true;
    return true;
}

bool FileList::Remove(size_t index) {
    if (index >= entries.size()) return false;
    entries.erase(entries.begin() + index);
    if (entries.empty()) exists = false;
    return true;
}

bool ResFileImport(FileList lists[3], std::string_view path, bool &noMemory) {
    noMemory = false;
    int kind = ListKindOf(path);
    if (!kind) return false;
    FileList &list = lists[kind - 2];
    std::string file = FilePart(path);
    for (auto &e : list.entries)
        if (EqualNoCase(e.path, path) || EqualNoCase(FilePart(e.path), file)) return false;
    if (!list.Append(path)) {
        noMemory = true;
        return false;
    }
    return true;
}

bool ResFilesLoad(FileList &list, const uint8_t *data, size_t size, std::string_view scriptFolder,
                  std::string_view currentFolder) {
    list = FileList{};
    list.exists = true;
    if (size < 4) return true;
    size_t pos = 4;
    while (pos < size) {
        const char *s = reinterpret_cast<const char *>(data + pos);
        size_t len = strnlen(s, size - pos);
        std::string path(s, len);
        pos += len + 1;
        if (path.empty() && pos >= size) break;
        std::string full;
        if (!path.empty() && path[0] == '\\') {
            full = std::string(scriptFolder.substr(0, scriptFolder.find(':') == 1 ? 2 : 0)) + path;
        } else if (path.size() >= 2 && path[1] == ':') {
            full = path;
        } else {
            full = std::string(scriptFolder) + "\\" + path;
        }
        bool here = EqualNoCase(prj::FolderOf(full), currentFolder);
        FileEntry e{0, here ? path : full};
        if (list.BlockSize() + e.path.size() + 3 > kListLimit) return false;
        list.entries.push_back(std::move(e));
    }
    return true;
}

uint32_t ResFileReadImage(const std::vector<uint8_t> &file, std::vector<uint8_t> &out) {
    out.clear();
    if (file.size() < 14 || file[0] != 'B' || file[1] != 'M') return kMsgFileRead;
    if (file.size() < 14 + 40) return kMsgFileRead;
    std::vector<uint8_t> info(file.begin() + 14, file.begin() + 54);
    if (Le32(&info[0]) == 12) return kMsgFileRead;
    uint32_t width = Le32(&info[4]);
    uint32_t height = Le32(&info[8]);
    uint32_t bits = info[14] | info[15] << 8;
    uint32_t colours = Le32(&info[32]);
    if (colours == 0 && bits < 24) colours = 1u << bits;
    if (colours > 256) return kMsgFileRead;
    for (int i = 0; i < 4; ++i) info[32 + i] = uint8_t(colours >> (8 * i));
    uint64_t image = Le32(&info[20]);
    int32_t h = int32_t(height) < 0 ? -int32_t(height) : int32_t(height);
    if (image == 0) image = ((uint64_t(bits) * width + 31) / 8 & ~uint64_t(3)) * uint64_t(h);
    uint64_t table = uint64_t(colours) * 4;
    if (54 + table > file.size()) return kMsgFileRead;
    uint32_t offset = Le32(&file[10]);
    size_t bitsAt = offset ? offset : 54 + table;
    if (image > file.size() || bitsAt > file.size() - image) return kMsgNoMemory;
    out = info;
    out.insert(out.end(), file.begin() + 54, file.begin() + 54 + table);
    out.insert(out.end(), file.begin() + bitsAt, file.begin() + bitsAt + image);
    return 0;
}

}  // namespace dsg
