// The registry as the framework and the IDE see it: keys by path under a
// root, values with the platform's type numbers. The Windows side talks to
// the real registry; tests use FakeRegistry.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace fw {

enum class RegRoot { CurrentUser, LocalMachine, ClassesRoot };

// Type numbers as the platform stores them.
enum class RegType : uint32_t { None = 0, Sz = 1, ExpandSz = 2, Binary = 3, Dword = 4 };

struct RegValue {
    RegType type = RegType::None;
    std::vector<uint8_t> data;

    static RegValue Dword(uint32_t v);
    static RegValue String(const std::string& s);  // stored with its NUL
};

class RegStore {
public:
    virtual ~RegStore() = default;
    virtual bool KeyExists(RegRoot root, const std::string& key) = 0;
    // Creates the key and the keys above it; false when that fails.
    virtual bool CreateKey(RegRoot root, const std::string& key) = 0;
    virtual std::optional<RegValue> Read(RegRoot root, const std::string& key,
                                         const std::string& name) = 0;
    // Writes into an existing or new key; false when the key cannot be made.
    virtual bool Write(RegRoot root, const std::string& key, const std::string& name,
                       const RegValue& value) = 0;
    virtual void DeleteValue(RegRoot root, const std::string& key, const std::string& name) = 0;

    // A REG_DWORD of exactly four bytes, else nothing.
    std::optional<uint32_t> ReadDword(RegRoot root, const std::string& key, const std::string& name);
    // A REG_SZ cut at its first NUL; nothing when missing, of another type,
    // or longer than maxBytes including the NUL (the callers' buffer size).
    std::optional<std::string> ReadString(RegRoot root, const std::string& key,
                                          const std::string& name, size_t maxBytes = 260);
    bool WriteDword(RegRoot root, const std::string& key, const std::string& name, uint32_t v);
    bool WriteString(RegRoot root, const std::string& key, const std::string& name,
                     const std::string& s);
};

// An in-memory registry; key and value names compare without regard to
// ASCII case, as the real one does.
class FakeRegistry : public RegStore {
public:
    bool KeyExists(RegRoot root, const std::string& key) override;
    bool CreateKey(RegRoot root, const std::string& key) override;
    std::optional<RegValue> Read(RegRoot root, const std::string& key,
                                 const std::string& name) override;
    bool Write(RegRoot root, const std::string& key, const std::string& name,
               const RegValue& value) override;
    void DeleteValue(RegRoot root, const std::string& key, const std::string& name) override;

    // Keys that refuse creation and writes, to play a locked registry.
    void Lock(RegRoot root, const std::string& key);
    size_t ValueCount(RegRoot root, const std::string& key);

private:
    using KeyId = std::pair<int, std::string>;
    std::map<KeyId, std::map<std::string, RegValue>> keys_;
    std::map<KeyId, bool> locked_;
    KeyId Id(RegRoot root, const std::string& key) const;
    bool IsLocked(const KeyId& id) const;
};

}  // namespace fw
