// The recent-file list: most recent first, at most a fixed number of
// entries, kept in the registry profile as numbered string values.
#pragma once

#include "regstore.h"

#include <string>
#include <vector>

namespace fw {

// Where the framework keeps its per-user settings: HKCU "Software\<key>\<profile>".
struct Profile {
    RegStore* reg = nullptr;
    std::string registryKey;  // "VELTRAN\Tambrix V6.3"
    std::string profileName;  // "RecentFiles"

    std::string SectionKey(const std::string& section) const;
    int GetInt(const std::string& section, const std::string& entry, int def) const;
    std::string GetString(const std::string& section, const std::string& entry,
                          const std::string& def) const;
    bool WriteInt(const std::string& section, const std::string& entry, int value) const;
    bool WriteString(const std::string& section, const std::string& entry,
                     const std::string& value) const;
    void DeleteEntry(const std::string& section, const std::string& entry) const;
};

class RecentFileList {
public:
    // entryFormat holds one %d, numbered from 1 ("File%d").
    RecentFileList(unsigned firstId, std::string section, std::string entryFormat, int size,
                   int displayLength = 30);

    int Size() const { return static_cast<int>(names_.size()); }
    unsigned FirstId() const { return firstId_; }
    const std::string& operator[](int i) const { return names_[i]; }
    int Count() const;  // entries in use

    // To the front; an entry already there (ASCII case ignored) moves up.
    void Add(const std::string& path);
    void Remove(int index);

    void ReadList(const Profile& profile);
    // Writes the entries in use and removes the numbered values behind them,
    // so a removed entry does not come back at the next start.
    void WriteList(const Profile& profile) const;

    // The menu text of an entry: "&N " and the path cut to the display length.
    std::string MenuText(int index) const;

private:
    unsigned firstId_;
    std::string section_;
    std::string entryFormat_;
    int displayLength_;
    std::vector<std::string> names_;
    std::string EntryName(int index) const;
};

// A long path shortened for a menu: the drive or first component, "...",
// then as many trailing components as fit; the file name is always whole.
std::string AbbreviatePath(const std::string& path, int maxLength);

}  // namespace fw
