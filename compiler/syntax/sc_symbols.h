// The three hashed tables of a module: symbols (variables, arrays,
// routines, parameters), labels and line numbers, user types. Records are
// addressed by handle (index + 1); chains keep definition order, which the
// table builders rely on.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace txsc {

constexpr int kChains = 32;
constexpr int kNameMax = 40;

// Symbol kinds.
namespace sk {
constexpr uint8_t kUse = 0, kModule = 1, kCommon = 2, kLocal = 3, kParam = 4,
                  kFunction = 5, kSub = 6, kModuleRoutine = 14, kFnDef = 15,
                  kShared = 17, kCommonShared = 18, kStatic = 33, kByVal = 52;
}

struct ParamEntry {
    uint16_t word = 0;        // the item word of the declaration (code, type)
    uint32_t value = 0;       // user-type record for type 48
    uint32_t sym = 0;         // the parameter's symbol once defined
    uint8_t deflt[8] = {};    // default value for codes 0x70 and above
};

struct Symbol {
    uint32_t next = 0;
    uint8_t type = 0, kind = 0, dims = 0, block = 0, typed = 0;
    uint8_t flags[2] = {}, mark[2] = {};
    uint32_t extra = 0;
    uint16_t owner = 0;
    uint32_t tailOffset = 0, position = 0;
    uint32_t xref[2] = {};
    uint32_t size = 0;        // record size the caller asked for
    bool implicitArray = false;   // dimensioned by its first use
    std::string name;
    std::vector<int32_t> bounds;
    // Routines: external name, parameter entries, library name (string
    // constant handle) and whether a body was defined in this module.
    std::string extName;
    std::vector<ParamEntry> params;
    uint32_t libName = 0;
    uint16_t argBytes = 0;
};

struct Label {
    uint32_t next = 0;
    uint16_t defLine = 0, owner = 0;
    uint32_t value = 0;
    uint16_t stmtNo = 0;
    uint32_t xref[2] = {};
    std::string name;
};

struct Member {
    uint32_t next = 0;
    uint8_t type = 0, dims = 0;
    uint32_t extra = 0;       // user-type record or fixed string length
    uint32_t offset = 0;
    std::string name;
    std::vector<int32_t> bounds;
};

// A user type's mark: unset, used as plain bytes in a file record, or
// holding a descriptor or reference that cannot be.
constexpr uint8_t kMarkUnset = 255, kMarkBytes = 1, kMarkNotBytes = 0;

struct UserType {
    uint32_t next = 0;
    uint32_t size = 0;
    uint32_t firstMember = 0, lastMember = 0;
    uint8_t mark = kMarkUnset;
    std::string name;
};

// The pending-symbol template that handlers fill before a lookup or entry.
struct SymTemplate {
    std::string name;
    uint8_t bucket = 0, type = 0, kind = 0, dims = 0, block = 0, typed = 0;
    uint8_t flags[2] = {}, mark[2] = {};
    uint32_t extra = 0;
    uint16_t owner = 0;
};

// What the scope rules need to know about the procedure under analysis.
struct ScopeInfo {
    uint32_t proc = 0;        // symbol of the procedure being analysed
    uint16_t procId = 0;      // its identifier (owner of its names)
};

// Result of the name check: the cut length and whether a suffix follows.
struct NameCheck {
    uint8_t len;
    bool suffix;
};
NameCheck CheckName(std::string_view line, size_t off, size_t len);
uint8_t HashName(std::string_view name);

class SymbolTable {
public:
    void Reset();

    uint32_t Search(SymTemplate &t, const ScopeInfo &scope);
    // Appends a record; a local adds its size to the frame of the procedure
    // under analysis, and one that would pass 0x7FFFFFFF is left in its
    // chain without a handle (0).
    uint32_t Enter(const SymTemplate &t, uint32_t size, const ScopeInfo &scope);
    uint32_t SearchParam(uint32_t proc, const SymTemplate &t) const;
    Symbol &sym(uint32_t h) { return syms_[h - 1]; }
    const Symbol &sym(uint32_t h) const { return syms_[h - 1]; }
    uint32_t symCount() const { return uint32_t(syms_.size()); }
    uint32_t symHead(int bucket) const { return symHead_[bucket]; }

    // Labels: found by name and owner, or entered with definition line 0.
    uint32_t SearchLabel(std::string_view name, uint16_t owner, bool *created = nullptr);
    Label &label(uint32_t h) { return labels_[h - 1]; }
    uint32_t labelHead(int bucket) const { return labelHead_[bucket]; }
    uint32_t labelCount() const { return uint32_t(labels_.size()); }

    uint32_t SearchType(std::string_view name) const;
    uint32_t EnterType(std::string_view name);
    UserType &type(uint32_t h) { return types_[h - 1]; }
    uint32_t SearchMember(uint32_t type, std::string_view name) const;
    uint32_t AddMember(uint32_t type, Member m);
    Member &member(uint32_t h) { return members_[h - 1]; }
    uint32_t typeHead(int bucket) const { return typeHead_[bucket]; }

    // Parameter blocks: keyed by name and owner.
    uint32_t SearchBlock(std::string_view name, uint16_t owner);

    // Bytes a variable occupies. A type outside the table is a state no
    // declaration makes: the fatal error 90 (OutFatal).
    static uint32_t VarSize(uint8_t type, uint32_t extra, const SymbolTable *tab);
    uint32_t VarSize(const Symbol &s) const { return VarSize(s.type, s.extra, this); }
    static uint8_t TypeClass(uint8_t type);

private:
    std::deque<Symbol> syms_;
    std::deque<Label> labels_;
    std::deque<UserType> types_;
    std::deque<Member> members_;
    struct Block { uint32_t next; uint16_t owner; std::string name; };
    std::deque<Block> blocks_;
    uint32_t symHead_[kChains] = {}, symTail_[kChains] = {};
    uint32_t labelHead_[kChains] = {}, labelTail_[kChains] = {};
    uint32_t typeHead_[kChains] = {}, typeTail_[kChains] = {};
    uint32_t blockHead_[kChains] = {}, blockTail_[kChains] = {};

    // Beside the chains, for the look-ups: the records of one name in
    // definition order, which is their order within their chain, so the
    // first that fits is the one the chain gives.
    struct NameHash {
        using is_transparent = void;
        size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
    };
    struct SameName { uint32_t first = 0, last = 0; };
    using NameIndex = std::unordered_map<std::string, SameName, NameHash, std::equal_to<>>;
    static uint32_t FirstNamed(const NameIndex &index, std::string_view name);
    static void LinkName(NameIndex &index, std::vector<uint32_t> &nextSame, std::string_view name, uint32_t h);
    NameIndex labelNames_, blockNames_;
    std::vector<uint32_t> labelNextSame_, blockNextSame_; // by handle - 1

    // Symbols: besides the chain of all records of a name, the records of
    // the owned kinds (locals, statics, parameters) per owner and the other
    // records by themselves, so that a procedure's look-up does not walk
    // the same-named locals of every other procedure. An owned record keeps
    // its owner and stays of an owned kind.
    struct SymName {
        SameName all, shared;
        uint32_t id = 0;
    };
    static bool OwnedKind(uint8_t kind) { return kind == 3 || kind == 4 || kind == 33 || kind == 52; }
    uint32_t Fits(const SymTemplate &t, const ScopeInfo &scope, uint32_t h) const;
    std::unordered_map<std::string, SymName, NameHash, std::equal_to<>> symNames_;
    std::unordered_map<uint64_t, SameName> symOwned_;   // name id << 16 | owner
    std::vector<uint32_t> symNextSame_, symNextKin_;    // by handle - 1
};

}  // namespace txsc
