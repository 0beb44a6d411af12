#include "dsg_import.h"

#include "dbcs.h"
#include "dsg_filelist.h"
#include "sjis_path.h"

namespace dsg {

namespace {

bool Alpha(unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c == '$'; }

}  // namespace

uint32_t ImportCheckTitle(std::string_view title) {
    std::string name = ResourceName(title);
    if (name.empty()) return kMsgBadFileName;
    for (size_t i = 0; i < name.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(name[i]);
        if (tx::IsSjisLeadByte(c) && i + 1 < name.size()) {
            ++i;  // a double-byte character: its trail byte may be anything
            continue;
        }
        bool ok = Alpha(c) || (i > 0 && c >= '0' && c <= '9');
        if (!ok) return kMsgBadFileName;
    }
    return 0;
}

std::string ImportStoredPath(std::string_view file, std::string_view scriptFolder) {
    std::string folder = prj::FolderOf(file);
    if (prj::EqualNoCase(folder, scriptFolder)) return prj::BareName(file);
    // Below the script's folder: the folder is the script's plus a backslash
    // that ends a whole character.
    if (folder.size() > scriptFolder.size() && prj::EqualNoCase(folder.substr(0, scriptFolder.size()), scriptFolder) &&
        folder[scriptFolder.size()] == '\\' && prj::FolderOf(folder.substr(0, scriptFolder.size() + 1)) ==
                                                    folder.substr(0, scriptFolder.size()))
        return ".\\" + std::string(file.substr(scriptFolder.size() + 1));
    return std::string(file);
}

std::string ImportFullPath(std::string_view stored, std::string_view scriptFolder) {
    if (stored.empty() || scriptFolder.empty()) return std::string(stored);
    bool drive = stored.size() >= 2 && stored[1] == ':';
    bool network = stored.size() >= 2 && stored[0] == '\\' && stored[1] == '\\';
    if (drive || network) return std::string(stored);
    if (stored[0] == '\\') {
        std::string_view d = scriptFolder.size() >= 2 && scriptFolder[1] == ':' ? scriptFolder.substr(0, 2) : "";
        return std::string(d) + std::string(stored);
    }
    if (stored.size() >= 2 && stored[0] == '.' && stored[1] == '\\') stored.remove_prefix(2);
    return std::string(scriptFolder) + "\\" + std::string(stored);
}

}  // namespace dsg
