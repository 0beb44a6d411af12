#include "fwregistry.h"

#include <windows.h>

namespace fw {

namespace {

HKEY RootKey(RegRoot root) {
    switch (root) {
    case RegRoot::LocalMachine: return HKEY_LOCAL_MACHINE;
    case RegRoot::ClassesRoot: return HKEY_CLASSES_ROOT;
    case RegRoot::CurrentUser: break;
    }
    return HKEY_CURRENT_USER;
}

}  // namespace

bool Win32RegStore::KeyExists(RegRoot root, const std::string& key) {
    HKEY k;
    if (RegOpenKeyExA(RootKey(root), key.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS)
        return false;
    RegCloseKey(k);
    return true;
}

bool Win32RegStore::CreateKey(RegRoot root, const std::string& key) {
    HKEY k;
    if (RegCreateKeyExA(RootKey(root), key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &k,
                        nullptr) != ERROR_SUCCESS)
        return false;
    RegCloseKey(k);
    return true;
}

std::optional<RegValue> Win32RegStore::Read(RegRoot root, const std::string& key,
                                            const std::string& name) {
    HKEY k;
    if (RegOpenKeyExA(RootKey(root), key.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS)
        return std::nullopt;
    DWORD type = 0, size = 0;
    std::optional<RegValue> out;
    if (RegQueryValueExA(k, name.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
        size <= 65536) {
        RegValue v;
        v.type = static_cast<RegType>(type);
        v.data.resize(size);
        if (RegQueryValueExA(k, name.c_str(), nullptr, &type, size ? v.data.data() : nullptr,
                             &size) == ERROR_SUCCESS) {
            v.data.resize(size);
            out = v;
        }
    }
    RegCloseKey(k);
    return out;
}

bool Win32RegStore::Write(RegRoot root, const std::string& key, const std::string& name,
                          const RegValue& value) {
    HKEY k;
    if (RegCreateKeyExA(RootKey(root), key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &k,
                        nullptr) != ERROR_SUCCESS)
        return false;
    LONG r = RegSetValueExA(k, name.empty() ? nullptr : name.c_str(), 0,
                            static_cast<DWORD>(value.type), value.data.data(),
                            static_cast<DWORD>(value.data.size()));
    RegCloseKey(k);
    return r == ERROR_SUCCESS;
}

void Win32RegStore::DeleteValue(RegRoot root, const std::string& key, const std::string& name) {
    HKEY k;
    if (RegOpenKeyExA(RootKey(root), key.c_str(), 0, KEY_WRITE, &k) != ERROR_SUCCESS)
        return;
    RegDeleteValueA(k, name.c_str());
    RegCloseKey(k);
}

}  // namespace fw
