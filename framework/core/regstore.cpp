#include "regstore.h"

#include "mbcs.h"

#include <cstring>

namespace fw {

RegValue RegValue::Dword(uint32_t v) {
    RegValue r;
    r.type = RegType::Dword;
    r.data = {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8),
              static_cast<uint8_t>(v >> 16), static_cast<uint8_t>(v >> 24)};
    return r;
}

RegValue RegValue::String(const std::string& s) {
    RegValue r;
    r.type = RegType::Sz;
    r.data.assign(s.begin(), s.end());
    r.data.push_back(0);
    return r;
}

std::optional<uint32_t> RegStore::ReadDword(RegRoot root, const std::string& key,
                                            const std::string& name) {
    auto v = Read(root, key, name);
    if (!v || v->type != RegType::Dword || v->data.size() != 4)
        return std::nullopt;
    return static_cast<uint32_t>(v->data[0] | (v->data[1] << 8) | (v->data[2] << 16) |
                                 (static_cast<uint32_t>(v->data[3]) << 24));
}

std::optional<std::string> RegStore::ReadString(RegRoot root, const std::string& key,
                                                const std::string& name, size_t maxBytes) {
    auto v = Read(root, key, name);
    if (!v || (v->type != RegType::Sz && v->type != RegType::ExpandSz))
        return std::nullopt;
    if (v->data.size() > maxBytes)
        return std::nullopt;
    std::string s(v->data.begin(), v->data.end());
    size_t nul = s.find('\0');
    if (nul != std::string::npos)
        s.resize(nul);
    if (s.size() + 1 > maxBytes)
        return std::nullopt;
    return s;
}

bool RegStore::WriteDword(RegRoot root, const std::string& key, const std::string& name,
                          uint32_t v) {
    return Write(root, key, name, RegValue::Dword(v));
}

bool RegStore::WriteString(RegRoot root, const std::string& key, const std::string& name,
                           const std::string& s) {
    return Write(root, key, name, RegValue::String(s));
}

FakeRegistry::KeyId FakeRegistry::Id(RegRoot root, const std::string& key) const {
    std::string k = LowerAscii(key);
    while (!k.empty() && k.back() == '\\')
        k.pop_back();
    return {static_cast<int>(root), k};
}

bool FakeRegistry::IsLocked(const KeyId& id) const {
    for (const auto& [lk, on] : locked_) {
        if (!on || lk.first != id.first)
            continue;
        if (id.second == lk.second ||
            (id.second.size() > lk.second.size() &&
             id.second.compare(0, lk.second.size(), lk.second) == 0 &&
             id.second[lk.second.size()] == '\\'))
            return true;
    }
    return false;
}

bool FakeRegistry::KeyExists(RegRoot root, const std::string& key) {
    return keys_.count(Id(root, key)) != 0;
}

bool FakeRegistry::CreateKey(RegRoot root, const std::string& key) {
    KeyId id = Id(root, key);
    if (IsLocked(id))
        return false;
    // The keys above come into being too.
    size_t pos = 0;
    while ((pos = id.second.find('\\', pos)) != std::string::npos) {
        keys_[{id.first, id.second.substr(0, pos)}];
        ++pos;
    }
    keys_[id];
    return true;
}

std::optional<RegValue> FakeRegistry::Read(RegRoot root, const std::string& key,
                                           const std::string& name) {
    auto k = keys_.find(Id(root, key));
    if (k == keys_.end())
        return std::nullopt;
    auto v = k->second.find(LowerAscii(name));
    if (v == k->second.end())
        return std::nullopt;
    return v->second;
}

bool FakeRegistry::Write(RegRoot root, const std::string& key, const std::string& name,
                         const RegValue& value) {
    if (!CreateKey(root, key))
        return false;
    keys_[Id(root, key)][LowerAscii(name)] = value;
    return true;
}

void FakeRegistry::DeleteValue(RegRoot root, const std::string& key, const std::string& name) {
    auto k = keys_.find(Id(root, key));
    if (k != keys_.end())
        k->second.erase(LowerAscii(name));
}

void FakeRegistry::Lock(RegRoot root, const std::string& key) {
    locked_[Id(root, key)] = true;
}

size_t FakeRegistry::ValueCount(RegRoot root, const std::string& key) {
    auto k = keys_.find(Id(root, key));
    return k == keys_.end() ? 0 : k->second.size();
}

}  // namespace fw
