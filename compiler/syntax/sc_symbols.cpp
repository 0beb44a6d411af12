#include "sc_symbols.h"

#include "passerror.h"
#include "sc_workfile.h"

namespace txsc {

namespace {

bool IsLead(uint8_t c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }
bool IsSuffix(char c) { return c == '!' || c == '#' || c == '$' || c == '%' || c == '&'; }
bool IsStr(uint8_t t) { return (t & 0xF0) == 0x10; }
bool InSet(uint8_t k, std::initializer_list<uint8_t> set) {
    for (uint8_t x : set) if (x == k) return true;
    return false;
}

template <typename Rec, typename Store>
uint32_t Append(Store &store, uint32_t *head, uint32_t *tail, int bucket, Rec rec) {
    store.push_back(std::move(rec));
    uint32_t h = uint32_t(store.size());
    if (tail[bucket]) store[tail[bucket] - 1].next = h;
    else head[bucket] = h;
    tail[bucket] = h;
    return h;
}

}  // namespace

NameCheck CheckName(std::string_view line, size_t off, size_t len) {
    NameCheck r{uint8_t(len > 255 ? 255 : len), false};
    if (off + len < line.size()) r.suffix = IsSuffix(line[off + len]);
    if (len > kNameMax) {
        r.len = kNameMax;
        if (off + kNameMax < line.size() && IsLead(uint8_t(line[off + kNameMax]))) r.len = kNameMax - 1;
    }
    return r;
}

uint8_t HashName(std::string_view name) {
    unsigned sum = 0;
    for (char c : name) sum += uint8_t(c);
    return uint8_t((sum + name.size()) % kChains);
}

void SymbolTable::Reset() { *this = SymbolTable(); }

uint32_t SymbolTable::FirstNamed(const NameIndex &index, std::string_view name) {
    auto it = index.find(name);
    return it == index.end() ? 0 : it->second.first;
}

void SymbolTable::LinkName(NameIndex &index, std::vector<uint32_t> &nextSame, std::string_view name,
                           uint32_t h) {
    nextSame.resize(h, 0);
    auto [it, created] = index.try_emplace(std::string(name));
    if (created) it->second.first = h;
    else nextSame[it->second.last - 1] = h;
    it->second.last = h;
}

// The result of the record h for the template: 0 when it does not fit,
// else h or, for a shared name in a procedure, the parameter of that name.
uint32_t SymbolTable::Fits(const SymTemplate &t, const ScopeInfo &scope, uint32_t h) const {
    const uint8_t w = t.kind;
    const Symbol &s = syms_[h - 1];
    const uint8_t r = s.kind;
    if (w == sk::kFnDef || r == sk::kFnDef) return r == w && s.type == t.type ? h : 0;
    if (w == 5 || w == 6 || r == 5 || r == 6 || (w == 14 && r == 14)) return h;
    if ((t.dims == 0) != (s.dims == 0)) return 0;
    const bool checkType = w == 0 ? s.typed != 0 : (t.typed && s.typed);
    if (checkType && s.type != t.type && !(IsStr(s.type) && IsStr(t.type))) return 0;
    if (w == sk::kUse) {
        if (r == 1 || r == 2) {
            if (t.owner == 0 || t.owner == s.owner) return h;
        } else if (r == 3 || r == 33) {
            if (t.owner == s.owner) return h;
        } else if (r == 4 || r == 52) {
            if (scope.proc && scope.procId == s.owner) return h;
        } else if (r == 17 || r == 18) {
            if (scope.proc) {
                if (uint32_t p = SearchParam(scope.proc, t)) return p;
            }
            return h;
        }
    } else if (InSet(w, {3, 4, 33, 52})) {
        if (InSet(r, {1, 2, 3, 4, 33, 52}) && t.owner == s.owner) return h;
        if (r == 17 || r == 18) return h;
    } else if (InSet(w, {1, 2, 17, 18})) {
        if (InSet(r, {1, 2, 17, 18})) return h;
    }
    return 0;
}

// The first record of the name, in definition order, that fits. An owned
// record fits only its owner's look-ups (t.owner, or the procedure under
// analysis for a parameter), except for a procedure's look-up, which any
// record fits: that one walks all records of the name.
uint32_t SymbolTable::Search(SymTemplate &t, const ScopeInfo &scope) {
    t.bucket = HashName(t.name);
    auto it = symNames_.find(std::string_view(t.name));
    if (it == symNames_.end()) return 0;
    const SymName &n = it->second;
    if (t.kind == 5 || t.kind == 6) {
        for (uint32_t h = n.all.first; h; h = symNextSame_[h - 1])
            if (uint32_t r = Fits(t, scope, h)) return r;
        return 0;
    }
    uint32_t at = 0, found = 0;   // the first fitting record and its result
    auto walk = [&](uint32_t h) {
        for (; h && (!at || h < at); h = symNextKin_[h - 1])
            if (uint32_t r = Fits(t, scope, h)) {
                at = h;
                found = r;
                return;
            }
    };
    walk(n.shared.first);
    auto owned = [&](uint16_t owner) {
        auto o = symOwned_.find(uint64_t(n.id) << 16 | owner);
        if (o != symOwned_.end()) walk(o->second.first);
    };
    owned(t.owner);
    if (scope.procId != t.owner) owned(scope.procId);
    return found;
}

uint32_t SymbolTable::Enter(const SymTemplate &t, uint32_t size, const ScopeInfo &scope) {
    Symbol s;
    s.type = t.type;
    s.kind = t.kind;
    s.dims = t.dims;
    s.block = t.block;
    s.typed = t.typed;
    s.flags[0] = t.flags[0];
    s.flags[1] = t.flags[1];
    s.mark[0] = t.mark[0];
    s.mark[1] = t.mark[1];
    s.extra = t.extra;
    s.owner = t.owner;
    s.size = size;
    s.name = t.name;
    uint32_t h = Append(syms_, symHead_, symTail_, HashName(t.name), std::move(s));
    symNextSame_.resize(h, 0);
    symNextKin_.resize(h, 0);
    auto [it, created] = symNames_.try_emplace(t.name);
    SymName &n = it->second;
    if (created) n.id = uint32_t(symNames_.size());
    auto link = [&](SameName &c, std::vector<uint32_t> &next) {
        if (c.last) next[c.last - 1] = h;
        else c.first = h;
        c.last = h;
    };
    link(n.all, symNextSame_);
    link(OwnedKind(t.kind) ? symOwned_[uint64_t(n.id) << 16 | t.owner] : n.shared, symNextKin_);
    if (t.kind == sk::kLocal && scope.proc) {
        Symbol &proc = syms_[scope.proc - 1];
        uint32_t add = t.dims ? 10 : VarSize(t.type, t.extra, this);
        if (uint64_t(proc.extra) + add > 0x7FFFFFFFu) return 0;
        proc.extra += add;
    }
    return h;
}

uint32_t SymbolTable::SearchParam(uint32_t proc, const SymTemplate &t) const {
    for (const ParamEntry &e : syms_[proc - 1].params) {
        if (!e.sym) continue;
        const Symbol &s = syms_[e.sym - 1];
        if (s.name == t.name && s.type == t.type) return e.sym;
    }
    return 0;
}

uint32_t SymbolTable::SearchLabel(std::string_view name, uint16_t owner, bool *created) {
    int b = HashName(name);
    for (uint32_t h = FirstNamed(labelNames_, name); h; h = labelNextSame_[h - 1]) {
        const Label &l = labels_[h - 1];
        if (l.owner == owner) {
            if (created) *created = false;
            return h;
        }
    }
    Label l;
    l.owner = owner;
    l.name = std::string(name);
    if (created) *created = true;
    uint32_t h = Append(labels_, labelHead_, labelTail_, b, std::move(l));
    LinkName(labelNames_, labelNextSame_, name, h);
    return h;
}

uint32_t SymbolTable::SearchType(std::string_view name) const {
    for (uint32_t h = typeHead_[HashName(name)]; h; h = types_[h - 1].next)
        if (types_[h - 1].name == name) return h;
    return 0;
}

uint32_t SymbolTable::EnterType(std::string_view name) {
    UserType u;
    u.name = std::string(name);
    return Append(types_, typeHead_, typeTail_, HashName(name), std::move(u));
}

uint32_t SymbolTable::SearchMember(uint32_t type, std::string_view name) const {
    for (uint32_t h = types_[type - 1].firstMember; h; h = members_[h - 1].next)
        if (members_[h - 1].name == name) return h;
    return 0;
}

uint32_t SymbolTable::AddMember(uint32_t type, Member m) {
    members_.push_back(std::move(m));
    uint32_t h = uint32_t(members_.size());
    UserType &u = types_[type - 1];
    if (u.lastMember) members_[u.lastMember - 1].next = h;
    else u.firstMember = h;
    u.lastMember = h;
    return h;
}

uint32_t SymbolTable::SearchBlock(std::string_view name, uint16_t owner) {
    int b = HashName(name);
    for (uint32_t h = FirstNamed(blockNames_, name); h; h = blockNextSame_[h - 1])
        if (blocks_[h - 1].owner == owner) return h;
    uint32_t h = Append(blocks_, blockHead_, blockTail_, b, Block{0, owner, std::string(name)});
    LinkName(blockNames_, blockNextSame_, name, h);
    return h;
}

uint32_t SymbolTable::VarSize(uint8_t type, uint32_t extra, const SymbolTable *tab) {
    switch (type) {
    case 0: return 2;
    case 1: case 2: case 64: case 80: return 4;
    case 3: return 8;
    case 4: return 1;
    case 16: return 12;
    case 17: return extra;
    case 18: return 15;
    case 19: return 12;
    case 48: return tab && extra ? tab->types_[extra - 1].size : 0;
    }
    throw OutFatal{kErrInternal, kDetailValueType};
}

uint8_t SymbolTable::TypeClass(uint8_t type) {
    switch (type) {
    case 0: return 3;
    case 1: case 2: case 16: return 5;
    case 3: return 9;
    case 4: return 2;
    }
    return 0;
}

}  // namespace txsc
