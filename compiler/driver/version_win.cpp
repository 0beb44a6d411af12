// The version resource of this program or of a library found the way
// LoadLibrary would find it (the program's folder first).
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "version.h"

namespace txcl {

bool ReadVersionStrings(const char *file, VersionStrings &v) {
    char self[MAX_PATH];
    if (file == nullptr) {
        DWORD n = GetModuleFileNameA(nullptr, self, sizeof self);
        if (n == 0 || n >= sizeof self)
            return false;
        file = self;
    }
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeA(file, &handle);
    if (size == 0)
        return false;
    std::vector<char> data(size);
    if (!GetFileVersionInfoA(file, 0, size, data.data()))
        return false;

    auto query = [&](const char *key, std::string &out) {
        char sub[80];
        std::snprintf(sub, sizeof sub, "\\StringFileInfo\\041104B0\\%s", key);
        void *p = nullptr;
        UINT len = 0;
        if (!VerQueryValueA(data.data(), sub, &p, &len) || p == nullptr || len == 0)
            return false;
        const char *s = static_cast<const char *>(p);
        out.assign(s, strnlen(s, len));
        return true;
    };
    v = VersionStrings{};
    if (!query("ProductVersion", v.productVersion))
        return false;
    query("FileDescription", v.description);
    query("LegalCopyright", v.legalCopyright);
    v.hasPrivateBuild = query("PrivateBuild", v.privateBuild);
    return true;
}

}  // namespace txcl
