// Natively there are no version resources: the same values come from
// txversion.h, looked up by the names the Windows build reads.
#include <strings.h>

#include "txversion.h"
#include "version.h"

namespace txcl {
namespace {

struct ModuleVersion {
    const char *file;  // null: the driver itself
    const char *description;
};

constexpr ModuleVersion kModules[] = {
    {nullptr, TX_DESCRIPTION_TXCL},
    {"Txpp.dll", TX_DESCRIPTION_TXPP},
    {"Txsc.dll", TX_DESCRIPTION_TXSC},
    {"Txcg.dll", TX_DESCRIPTION_TXCG},
};

}  // namespace

bool ReadVersionStrings(const char *file, VersionStrings &v) {
    for (const ModuleVersion &m : kModules) {
        bool same = file == nullptr ? m.file == nullptr
                                    : m.file != nullptr && strcasecmp(m.file, file) == 0;
        if (!same)
            continue;
        v = VersionStrings{};
        v.description = m.description;
        v.productVersion = TX_VERSION_TEXT;
        v.legalCopyright = TX_LEGAL_COPYRIGHT;
        return true;
    }
    return false;
}

}  // namespace txcl
