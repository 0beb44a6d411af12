#include "recentlist.h"

#include "mbcs.h"

#include <cstdio>

namespace fw {

std::string Profile::SectionKey(const std::string& section) const {
    std::string k = "Software\\" + registryKey;
    if (!profileName.empty())
        k += "\\" + profileName;
    return k + "\\" + section;
}

int Profile::GetInt(const std::string& section, const std::string& entry, int def) const {
    auto v = reg->ReadDword(RegRoot::CurrentUser, SectionKey(section), entry);
    return v ? static_cast<int>(*v) : def;
}

std::string Profile::GetString(const std::string& section, const std::string& entry,
                               const std::string& def) const {
    auto v = reg->ReadString(RegRoot::CurrentUser, SectionKey(section), entry, 4096);
    return v ? *v : def;
}

bool Profile::WriteInt(const std::string& section, const std::string& entry, int value) const {
    return reg->WriteDword(RegRoot::CurrentUser, SectionKey(section), entry,
                           static_cast<uint32_t>(value));
}

bool Profile::WriteString(const std::string& section, const std::string& entry,
                          const std::string& value) const {
    return reg->WriteString(RegRoot::CurrentUser, SectionKey(section), entry, value);
}

void Profile::DeleteEntry(const std::string& section, const std::string& entry) const {
    reg->DeleteValue(RegRoot::CurrentUser, SectionKey(section), entry);
}

RecentFileList::RecentFileList(unsigned firstId, std::string section, std::string entryFormat,
                               int size, int displayLength)
    : firstId_(firstId), section_(std::move(section)), entryFormat_(std::move(entryFormat)),
      displayLength_(displayLength), names_(size > 0 ? size : 1) {}

int RecentFileList::Count() const {
    int n = 0;
    for (const auto& s : names_)
        n += !s.empty();
    return n;
}

std::string RecentFileList::EntryName(int index) const {
    char buf[64];
    std::snprintf(buf, sizeof buf, entryFormat_.c_str(), index + 1);
    return buf;
}

void RecentFileList::Add(const std::string& path) {
    if (path.empty())
        return;
    int at = Size() - 1;
    for (int i = 0; i < Size(); ++i) {
        if (EqualNoCase(names_[i], path)) {
            at = i;
            break;
        }
    }
    for (int i = at; i > 0; --i)
        names_[i] = names_[i - 1];
    names_[0] = path;
}

void RecentFileList::Remove(int index) {
    if (index < 0 || index >= Size())
        return;
    for (int i = index; i + 1 < Size(); ++i)
        names_[i] = names_[i + 1];
    names_.back().clear();
}

void RecentFileList::ReadList(const Profile& profile) {
    int out = 0;
    for (int i = 0; i < Size(); ++i) {
        std::string s = profile.GetString(section_, EntryName(i), "");
        if (!s.empty())
            names_[out++] = s;
    }
    for (int i = out; i < Size(); ++i)
        names_[i].clear();
}

void RecentFileList::WriteList(const Profile& profile) const {
    for (int i = 0; i < Size(); ++i) {
        if (!names_[i].empty())
            profile.WriteString(section_, EntryName(i), names_[i]);
        else
            profile.DeleteEntry(section_, EntryName(i));
    }
}

std::string RecentFileList::MenuText(int index) const {
    std::string shown = AbbreviatePath(names_[index], displayLength_);
    // "&" in a menu text marks a mnemonic; a path's own ones are doubled.
    std::string escaped;
    for (char c : shown) {
        if (c == '&')
            escaped += '&';
        escaped += c;
    }
    return "&" + std::to_string(index + 1) + " " + escaped;
}

std::string AbbreviatePath(const std::string& path, int maxLength) {
    if (maxLength <= 0 || static_cast<int>(path.size()) <= maxLength)
        return path;
    size_t last = FindLastChar(path, '\\');
    if (last == std::string::npos)
        return path;
    size_t firstSep = FindFirstChar(path, '\\');
    std::string head = path.substr(0, firstSep + 1);  // "C:\" or "\"
    if (head == "\\" && path.size() > 1 && path[1] == '\\') {
        // A network path keeps its server name.
        size_t server = FindFirstChar(std::string_view(path).substr(2), '\\');
        head = server == std::string::npos ? path.substr(0, 2) : path.substr(0, server + 3);
    }
    std::string tail = path.substr(last);  // "\file.bas"
    std::string rest = path.substr(head.size(), last - head.size());
    // Take whole components from the right while they fit.
    while (!rest.empty()) {
        std::string candidate = head + "..." + "\\" + rest + tail;
        if (static_cast<int>(candidate.size()) <= maxLength)
            return candidate;
        size_t sep = FindFirstChar(rest, '\\');
        if (sep == std::string::npos)
            break;
        rest = rest.substr(sep + 1);
    }
    return head + "..." + tail;
}

}  // namespace fw
