// The .rsrc section: the three-level directory tree (type, name, language)
// with named entries before numbered ones, then the data entries, the name
// strings and the data itself.
#include <algorithm>
#include <cstdio>
#include <map>
#include <type_traits>

#include "lk_link.h"

namespace txlink {
namespace {

constexpr uint32_t kDirHeaderSize = 16;
constexpr uint32_t kDirEntrySize = 8;
constexpr uint32_t kDataEntrySize = 16;
constexpr uint32_t kNameFlag = 0x80000000;
constexpr uint32_t kSubdirFlag = 0x80000000;

// Names sort before ids; names in code-unit order, ids ascending.
struct ResIdLess {
    bool operator()(const ResId& a, const ResId& b) const {
        if (a.isName != b.isName) return a.isName;
        return a.isName ? a.name < b.name : a.id < b.id;
    }
};

std::string Describe(const ResId& id) {
    if (!id.isName) return std::to_string(id.id);
    std::string s;
    for (char16_t c : id.name) s += c < 0x80 ? char(c) : '?';
    return s;
}

void Put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = uint8_t(v >> (8 * i));
}
void Put16(std::vector<uint8_t>& b, size_t at, uint16_t v) {
    b[at] = uint8_t(v);
    b[at + 1] = uint8_t(v >> 8);
}

} // namespace

bool BuildResourceSection(const std::vector<ResourceEntry>& entries, uint32_t rva,
                          std::vector<uint8_t>& out, std::string& error) {
    using Langs = std::map<uint16_t, const ResourceEntry*>;
    using Names = std::map<ResId, Langs, ResIdLess>;
    std::map<ResId, Names, ResIdLess> tree;
    for (const ResourceEntry& e : entries) {
        auto [it, fresh] = tree[e.type][e.name].try_emplace(e.language, &e);
        if (!fresh) {
            char buf[64];
            std::snprintf(buf, sizeof buf, ", language:0x%04X", e.language);
            error = "CVT1100: duplicate resource.  type:" + Describe(e.type) + ", name:" + Describe(e.name) + buf;
            return false;
        }
    }

    // Sizes first: root, the type directories, the name directories.
    uint32_t pos = kDirHeaderSize + kDirEntrySize * uint32_t(tree.size());
    std::map<const Names*, uint32_t> typeDir;
    for (auto& [type, names] : tree) {
        typeDir[&names] = pos;
        pos += kDirHeaderSize + kDirEntrySize * uint32_t(names.size());
    }
    std::map<const Langs*, uint32_t> nameDir;
    for (auto& [type, names] : tree) {
        for (auto& [name, langs] : names) {
            nameDir[&langs] = pos;
            pos += kDirHeaderSize + kDirEntrySize * uint32_t(langs.size());
        }
    }
    std::map<const ResourceEntry*, uint32_t> dataEntry;
    for (auto& [type, names] : tree)
        for (auto& [name, langs] : names)
            for (auto& [lang, e] : langs) {
                dataEntry[e] = pos;
                pos += kDataEntrySize;
            }
    std::map<std::u16string, uint32_t> strings;
    auto addString = [&](const ResId& id) {
        if (id.isName && strings.try_emplace(id.name, pos).second) pos += 2 + 2 * uint32_t(id.name.size());
    };
    for (auto& [type, names] : tree) {
        addString(type);
        for (auto& [name, langs] : names) addString(name);
    }
    std::map<const ResourceEntry*, uint32_t> dataAt;
    for (auto& [type, names] : tree)
        for (auto& [name, langs] : names)
            for (auto& [lang, e] : langs) {
                pos = (pos + 7) & ~7u;
                dataAt[e] = pos;
                pos += uint32_t(e->data.size());
            }
    out.assign(pos, 0);

    auto dirHeader = [&](uint32_t at, const auto& map) {
        uint16_t named = 0, ids = 0;
        for (auto& [id, sub] : map) {
            if constexpr (std::is_same_v<std::decay_t<decltype(id)>, ResId>) {
                (id.isName ? named : ids)++;
            } else {
                ids++;
            }
        }
        Put16(out, at + 12, named);
        Put16(out, at + 14, ids);
    };
    auto idField = [&](const ResId& id) { return id.isName ? kNameFlag | strings[id.name] : id.id; };

    dirHeader(0, tree);
    uint32_t slot = kDirHeaderSize;
    for (auto& [type, names] : tree) {
        Put32(out, slot, idField(type));
        Put32(out, slot + 4, kSubdirFlag | typeDir[&names]);
        slot += kDirEntrySize;
        const uint32_t td = typeDir[&names];
        dirHeader(td, names);
        uint32_t nslot = td + kDirHeaderSize;
        for (auto& [name, langs] : names) {
            Put32(out, nslot, idField(name));
            Put32(out, nslot + 4, kSubdirFlag | nameDir[&langs]);
            nslot += kDirEntrySize;
            const uint32_t nd = nameDir[&langs];
            dirHeader(nd, langs);
            uint32_t lslot = nd + kDirHeaderSize;
            for (auto& [lang, e] : langs) {
                Put32(out, lslot, lang);
                Put32(out, lslot + 4, dataEntry[e]);
                lslot += kDirEntrySize;
                Put32(out, dataEntry[e], rva + dataAt[e]);
                Put32(out, dataEntry[e] + 4, uint32_t(e->data.size()));
                std::copy(e->data.begin(), e->data.end(), out.begin() + dataAt[e]);
            }
        }
    }
    for (auto& [name, at] : strings) {
        Put16(out, at, uint16_t(name.size()));
        for (size_t i = 0; i < name.size(); ++i) Put16(out, at + 2 + 2 * i, uint16_t(name[i]));
    }
    return true;
}

} // namespace txlink
