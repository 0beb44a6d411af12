// The real registry behind the framework's RegStore.
#pragma once

#include "regstore.h"

namespace fw {

class Win32RegStore : public RegStore {
public:
    bool KeyExists(RegRoot root, const std::string& key) override;
    bool CreateKey(RegRoot root, const std::string& key) override;
    std::optional<RegValue> Read(RegRoot root, const std::string& key,
                                 const std::string& name) override;
    bool Write(RegRoot root, const std::string& key, const std::string& name,
               const RegValue& value) override;
    void DeleteValue(RegRoot root, const std::string& key, const std::string& name) override;
};

}  // namespace fw
