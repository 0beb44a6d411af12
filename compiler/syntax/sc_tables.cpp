#include "sc_tables.h"

#include <algorithm>
#include <string_view>

#include "lebytes.h"
#include "sc_emit.h"
#include "sc_pass.h"
#include "sc_workfile.h"

namespace txsc {

namespace {

using namespace ifile;

// One table under construction. Its size is a signed 32-bit value in the
// generator's eyes; passing that is the table's area-full fatal exit.
class TableBuf {
public:
    explicit TableBuf(uint32_t fullCode) : full_(fullCode) {}
    uint32_t size() const { return uint32_t(b_.size()); }
    void U8(uint8_t v) { Grow(1); b_.push_back(v); }
    void U16(uint16_t v) { Grow(2); b_.push_back(uint8_t(v)); b_.push_back(uint8_t(v >> 8)); }
    void U32(uint32_t v) {
        Grow(4);
        for (int i = 0; i < 4; ++i) b_.push_back(uint8_t(v >> (8 * i)));
    }
    void Text(std::string_view s) {
        Grow(s.size());
        b_.insert(b_.end(), s.begin(), s.end());
    }
    void Patch8(uint32_t at, uint8_t v) { b_[at] = v; }
    void Patch32(uint32_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) b_[at + i] = uint8_t(v >> (8 * i));
    }
    const std::vector<uint8_t> &bytes() const { return b_; }

private:
    void Grow(size_t n) {
        if (b_.size() + n > 0x7FFFFFFFu) throw OutFatal{full_};
    }
    uint32_t full_;
    std::vector<uint8_t> b_;
};

// The 20-byte variable record of tables 3, 4, 6 and 7, and its name.
void VarRecord(TableBuf &t, uint8_t type, uint8_t cls, uint32_t address, uint32_t typeRef, uint32_t bounds,
               uint32_t size, uint8_t prefix, std::string_view name) {
    t.U8(type);
    t.U8(cls);
    t.U32(address);
    t.U32(typeRef);
    t.U32(bounds);
    t.U32(size);
    t.U8(prefix);
    t.U8(uint8_t(name.size()));
    t.Text(name);
}

bool IsProcedure(uint8_t kind) {
    return kind == sk::kFunction || kind == sk::kSub || kind == sk::kModuleRoutine || kind == sk::kFnDef;
}
bool HasResult(uint8_t kind) { return kind == sk::kFunction || kind == sk::kFnDef; }

// Variables in the module's own storage and in COMMON storage. Besides
// kinds 1 and 2 these are the shared and static kinds, whose tokens carry
// the storage class 1 or 2 (the kind's low four bits) and so must find
// their records in tables 4 and 3 like the others.
bool InModuleStorage(uint8_t kind) { return kind == sk::kModule || kind == sk::kShared || kind == sk::kStatic; }
bool InCommonStorage(uint8_t kind) { return kind == sk::kCommon || kind == sk::kCommonShared; }

class Builder {
public:
    Builder(ScPass &p, WorkFile &work, TableState &t) : p_(p), tab_(p.tab), work_(work), t_(t) {}
    void Run();

private:
    template <typename F>
    void ForEachSymbol(F f) {
        for (int b = 0; b < kChains; ++b)
            for (uint32_t h = tab_.symHead(b); h; h = tab_.sym(h).next) f(h, tab_.sym(h));
    }
    template <typename F>
    void ForEachType(F f) {
        for (int b = 0; b < kChains; ++b)
            for (uint32_t h = tab_.typeHead(b); h; h = tab_.type(h).next) f(h, tab_.type(h));
    }
    SymOffsets &Off(uint32_t h) { return t_.sym[h - 1]; }
    uint32_t &MemberOff(uint32_t h) {
        if (t_.member.size() < h) t_.member.resize(h);
        return t_.member[h - 1];
    }
    uint32_t TypeOff(uint32_t h) const { return h && h <= t_.type.size() ? t_.type[h - 1] : 0; }
    uint32_t TypeRef(uint8_t type, uint32_t extra) const {
        if (type == kTypeRecord) return TypeOff(extra);
        if (type == kTypeFixStr) return extra;
        return 0;
    }
    uint32_t ArrayStorage(const Symbol &s) const;
    void Finish(int table, const TableBuf &buf);

    void ProcNames();
    void DataItems();
    void Strings();
    void Arrays();
    void Bounds();
    void TypeDefs();
    void CommonVars();
    void ModuleVars();
    void ProcDebug();
    void NameRefs();

    ScPass &p_;
    SymbolTable &tab_;
    WorkFile &work_;
    TableState &t_;
    uint32_t arrays_ = 0;
    uint64_t arrayData_ = 0;  // storage of the module's arrays, all together
    std::vector<uint32_t> memberBounds_;  // table 8 entry of an array member
};

// An array's own storage: the element size times the element count of its
// declared bounds (lower bound 0). An array whose bounds are not all known
// at compile time has no storage of its own; the runtime dimensions it.
uint32_t Builder::ArrayStorage(const Symbol &s) const {
    if (s.dims == 0 || s.dims == 255 || s.bounds.size() != s.dims) return 0;
    uint64_t n = tab_.VarSize(s);
    for (int32_t b : s.bounds) {
        if (b < 0) return 0;
        n *= uint64_t(b) + 1;
        if (n > 0x7FFFFFFFu) throw OutFatal{kErrVariablesFull};
    }
    return uint32_t(n);
}

void Builder::Finish(int table, const TableBuf &buf) {
    t_.pos[table] = work_.Tell();
    t_.size[table] = buf.size();
    work_.Write(buf.bytes().data(), buf.size());
}

// Table 0: procedures, then labels. A declared routine that lives in an
// outside library is called by name and gets no entry.
void Builder::ProcNames() {
    TableBuf t(21);
    auto entry = [&](uint8_t flag, std::string_view name) {
        uint32_t at = t.size();
        t.U8(flag);
        t.U32(0);
        t.U32(0);
        t.U8(uint8_t(name.size()));
        t.Text(name);
        return at;
    };
    ForEachSymbol([&](uint32_t h, const Symbol &s) {
        if (!IsProcedure(s.kind)) return;
        uint8_t flag;
        if (s.owner) {
            flag = s.mark[0] == 2 ? 2 : 0;
        } else {
            if (s.libName) return;
            flag = 1;
        }
        Off(h).name = entry(flag, s.name);
    });
    for (int b = 0; b < kChains; ++b) {
        for (uint32_t h = tab_.labelHead(b); h; h = tab_.label(h).next) {
            Label &l = tab_.label(h);
            LabelOffsets &o = t_.label[h - 1];
            o.name = entry(0, l.name);
            o.defined = l.defLine != 0;
            o.stmt = l.stmtNo;
            l.value = o.name;
        }
    }
    Finish(kProcNameTable, t);
}

// Table 1: the module level's DATA items, then those of the procedures.
void Builder::DataItems() {
    TableBuf t(23);
    bool moduleLevel = false;
    for (const DataItem &d : p_.data) moduleLevel |= d.proc == 0;
    auto item = [&](DataItem &d) {
        d.offset = t.size();
        t.U8(0);
        t.U16(d.line);
        t.Text(d.text);
        t_.data.push_back({d.stmt, d.proc, d.offset});
        if (d.proc && d.proc <= t_.sym.size() && Off(d.proc).data == kNoData) Off(d.proc).data = d.offset;
    };
    for (DataItem &d : p_.data)
        if (d.proc == 0) item(d);
    for (DataItem &d : p_.data) {
        if (d.proc == 0) continue;
        if (t.size() == 0 && !moduleLevel) {  // the module's read pointer meets the end at once
            t.U8(0);
            t.U16(0);
        }
        item(d);
    }
    if (t.size()) {
        t.U8(0);
        t.U16(0);
    }
    Finish(kDataItemTable, t);
}

// Table 2: string constants in the order they were met. A constant found
// inside an earlier one's text has only its head, pointing into that text.
void Builder::Strings() {
    TableBuf t(23);
    t_.string.assign(p_.strings.size(), 0);
    for (size_t i = 0; i < p_.strings.size(); ++i) {
        const StringConst &c = p_.strings[i];
        uint32_t at = t.size();
        t_.string[i] = at;
        t.U32(0);
        t.U32(uint32_t(c.text.size()));
        if (c.ref && c.ref <= i) {
            t.U32(t_.string[c.ref - 1] + kStringConstHead + c.pos);
        } else {
            t.U32(at + kStringConstHead);
            t.Text(c.text);
        }
    }
    // Routines in outside libraries are called through their library's
    // name and their own, both as strings of this table.
    ForEachSymbol([&](uint32_t h, const Symbol &s) {
        if (!IsProcedure(s.kind) || !s.libName) return;
        SymOffsets &o = Off(h);
        if (s.libName <= t_.string.size()) o.libName = t_.string[s.libName - 1];
        o.extName = t.size();
        t.U32(0);
        t.U32(uint32_t(s.extName.size()));
        t.U32(o.extName + kStringConstHead);
        t.Text(s.extName);
    });
    Finish(kStringConstTable, t);
}

// Table 5: the module's arrays; array k gets the slot 10 * k.
void Builder::Arrays() {
    TableBuf t(22);
    ForEachSymbol([&](uint32_t h, const Symbol &s) {
        if (!InModuleStorage(s.kind) || s.dims == 0) return;
        Off(h).slot = kArraySlotSize * arrays_++;
        uint32_t storage = ArrayStorage(s);
        // Each array fits on its own; their sum must fit too, or the
        // generator's offsets into the arrays' storage wrap.
        arrayData_ += storage;
        if (arrayData_ > 0x7FFFFFFFu) throw OutFatal{kErrVariablesFull};
        t.U8(s.type);
        t.U32(storage);
        t.U32(0);
        t.U32(0);
        t.U32(0);
    });
    Finish(kArrayTable, t);
}

// Table 8: the bounds of every array, then those of every array member.
// Only module and COMMON arrays carry their declared bounds; the others are
// dimensioned at run time and get zeros.
void Builder::Bounds() {
    TableBuf t(22);
    ForEachSymbol([&](uint32_t h, const Symbol &s) {
        bool stored = InModuleStorage(s.kind) || InCommonStorage(s.kind);
        if (s.dims == 0 || !(stored || s.kind == sk::kLocal || s.kind == sk::kParam)) return;
        if (s.dims == 255 && s.kind == sk::kParam) return;
        uint8_t n = s.dims == 255 ? 1 : s.dims;
        bool declared = stored && ArrayStorage(s) != 0;
        Off(h).bounds = t.size();
        t.U8(n);
        for (uint8_t i = 0; i < n; ++i) t.U32(declared && i < s.bounds.size() ? uint32_t(s.bounds[i]) : 0);
    });
    ForEachType([&](uint32_t, const UserType &u) {
        for (uint32_t m = u.firstMember; m; m = tab_.member(m).next) {
            const Member &mb = tab_.member(m);
            if (mb.dims == 0) continue;
            uint8_t n = mb.dims == 255 ? 1 : mb.dims;
            // Members share the handle space of their own table; remember
            // the bounds offset beside the member's table-7 offset.
            memberBounds_.resize(std::max<size_t>(memberBounds_.size(), m));
            memberBounds_[m - 1] = t.size();
            t.U8(n);
            for (uint8_t i = 0; i < n; ++i) t.U32(i < mb.bounds.size() ? uint32_t(mb.bounds[i]) : 0);
        }
    });
    Finish(kArrayBoundsTable, t);
}

// Table 7: user types and their members. The offsets are laid out first, so
// that a member may be of a type that comes later in the chains.
void Builder::TypeDefs() {
    TableBuf t(22);
    uint32_t at = 0;
    ForEachType([&](uint32_t h, const UserType &u) {
        if (t_.type.size() < h) t_.type.resize(h);
        t_.type[h - 1] = at;
        at += 9 + uint32_t(u.name.size());
        for (uint32_t m = u.firstMember; m; m = tab_.member(m).next) at += kVarRecordSize + uint32_t(tab_.member(m).name.size());
    });
    ForEachType([&](uint32_t, const UserType &u) {
        uint32_t start = t.size();
        t.U32(0);
        t.U32(u.size);
        t.U8(uint8_t(u.name.size()));
        t.Text(u.name);
        for (uint32_t m = u.firstMember; m; m = tab_.member(m).next) {
            const Member &mb = tab_.member(m);
            MemberOff(m) = t.size();
            uint32_t bounds = mb.dims && m <= memberBounds_.size() ? memberBounds_[m - 1] : 0;
            VarRecord(t, mb.type, mb.dims ? kClassArray : 0, mb.offset, TypeRef(mb.type, mb.extra), bounds, 0, 0, mb.name);
        }
        t.Patch32(start, t.size() - start);
    });
    Finish(kTypeDefTable, t);
}

// Table 3: COMMON variables, after a word with the table's size.
void Builder::CommonVars() {
    TableBuf t(22);
    ForEachSymbol([&](uint32_t h, const Symbol &s) {
        if (!InCommonStorage(s.kind)) return;
        if (t.size() == 0) t.U32(0);
        Off(h).record = t.size();
        uint32_t size = s.dims ? ArrayStorage(s) : tab_.VarSize(s);
        VarRecord(t, s.type, uint8_t(sk::kCommon | (s.dims ? kClassArray : 0)), 0, TypeRef(s.type, s.extra),
                  s.dims ? Off(h).bounds : 0, size, s.block, s.name);
    });
    if (t.size()) t.Patch32(0, t.size());
    Finish(kCommonVarTable, t);
}

// Table 4: module variables, after a word with the table's size. Scalars
// get their place in the module's data image here.
void Builder::ModuleVars() {
    TableBuf t(22);
    uint64_t data = 0;
    ForEachSymbol([&](uint32_t h, const Symbol &s) {
        if (!InModuleStorage(s.kind)) return;
        if (t.size() == 0) t.U32(0);
        SymOffsets &o = Off(h);
        o.record = t.size();
        uint32_t address;
        if (s.dims) {
            address = o.slot;
        } else {
            address = uint32_t(data);
            data += tab_.VarSize(s);
            if (data + arrayData_ > 0x7FFFFFFFu) throw OutFatal{kErrVariablesFull};
        }
        VarRecord(t, s.type, uint8_t(sk::kModule | (s.dims ? kClassArray : 0)), address, TypeRef(s.type, s.extra),
                  s.dims ? o.bounds : 0, 0, 0, s.name);
    });
    if (t.size()) t.Patch32(0, t.size());
    t_.dataSize = uint32_t(data);
    Finish(kModuleVarTable, t);
}

// Table 6: per procedure defined here, its head, its parameters, its result
// and its locals with their frame offsets.
void Builder::ProcDebug() {
    TableBuf t(22);
    // The locals by owner, each owner's in table order, gathered once.
    std::vector<std::pair<uint16_t, uint32_t>> locals;
    ForEachSymbol([&](uint32_t h, const Symbol &s) {
        if (s.kind == sk::kLocal) locals.emplace_back(s.owner, h);
    });
    std::stable_sort(locals.begin(), locals.end(),
                     [](const auto &a, const auto &b) { return a.first < b.first; });
    ForEachSymbol([&](uint32_t h, const Symbol &s) {
        if (!IsProcedure(s.kind) || !s.owner) return;
        uint32_t start = t.size();
        Off(h).debug = start;
        t.U32(0);
        t.U8(uint8_t(s.name.size()));
        t.Text(s.name);
        t.U32(s.extra);
        uint32_t countAt = t.size();
        t.U8(0);
        uint8_t count = 0;
        auto param = [&](uint32_t ph) {
            const Symbol &ps = tab_.sym(ph);
            Off(ph).record = t.size();
            uint8_t cls = ps.kind == sk::kByVal ? 3 : 4;
            if (ps.dims) cls |= kClassArray;
            VarRecord(t, ps.type, cls, 0, TypeRef(ps.type, ps.extra), ps.dims ? Off(ph).bounds : 0, 0, 0, ps.name);
            ++count;
        };
        for (const ParamEntry &e : s.params)
            if (e.sym) param(e.sym);
        if (HasResult(s.kind)) {
            Off(h).result = t.size();
            VarRecord(t, s.type, 3, 0, 0, 0, 0, 0, s.name);
        }
        // A function's frame begins with its result (the definition set the
        // frame size to the result's size before any local was entered), so
        // its locals follow the result.
        uint64_t frame = s.kind == sk::kFunction ? SymbolTable::VarSize(s.type, 0, &tab_) : 0;
        auto own = std::lower_bound(locals.begin(), locals.end(), s.owner,
                                    [](const auto &e, uint16_t o) { return e.first < o; });
        for (; own != locals.end() && own->first == s.owner; ++own) {
            const uint32_t lh = own->second;
            const Symbol &ls = tab_.sym(lh);
            Off(lh).record = t.size();
            VarRecord(t, ls.type, uint8_t(3 | (ls.dims ? kClassArray : 0)), uint32_t(frame), TypeRef(ls.type, ls.extra),
                      ls.dims ? Off(lh).bounds : 0, 0, 0, ls.name);
            frame += ls.dims ? kArraySlotSize : tab_.VarSize(ls);
            if (frame > 0x7FFFFFFFu) throw OutFatal{kErrVariablesFull};
        }
        if (uint64_t(t.size()) - start > 0x7FFFFFFFu) throw OutFatal{kErrNoMemory};
        t.Patch32(start, t.size() - start);
        t.Patch8(countAt, count);
    });
    Finish(kProcDebugTable, t);
}

// Table 9: the names of the reference chains: the parameter blocks of DEF
// PARM, each {u32 entry size, u8 name length} + name + a 9-byte zero record
// per reference; the module routine's defaults follow it later.
void Builder::NameRefs() {
    TableBuf t(22);
    t_.block.assign(p_.paramBlocks.size(), 0);
    t_.blockDefined.assign(p_.paramBlocks.size(), 0);
    for (size_t i = 0; i < p_.paramBlocks.size(); ++i) {
        const auto &b = p_.paramBlocks[i];
        const uint32_t start = t.size();
        t_.block[i] = start;
        t_.blockDefined[i] = b.defined ? 1 : 0;
        t.U32(0);
        t.U8(uint8_t(b.name.size()));
        t.Text(b.name);
        for (uint32_t r = 0; r < b.refs; ++r)
            for (uint32_t k = 0; k < kNameRefRecordSize; ++k) t.U8(0);
        t.Patch32(start, t.size() - start);
    }
    Finish(kLocalNameRefTable, t);
}

void Builder::Run() {
    t_.sym.assign(tab_.symCount(), SymOffsets{});
    for (uint32_t h = 1; h <= tab_.symCount(); ++h) {
        const Symbol &s = tab_.sym(h);
        SymOffsets &o = Off(h);
        o.form = s.block;
        // By-value parameters live in the frame like locals.
        o.cls = uint8_t((s.kind == sk::kByVal ? 3 : s.kind & 0x0F) | (s.dims ? kClassArray : 0));
    }
    t_.label.assign(tab_.labelCount(), LabelOffsets{});
    for (int table : kBuildOrder) {
        switch (table) {
        case kProcNameTable: ProcNames(); break;
        case kDataItemTable: DataItems(); break;
        case kStringConstTable: Strings(); break;
        case kArrayTable: Arrays(); break;
        case kArrayBoundsTable: Bounds(); break;
        case kTypeDefTable: TypeDefs(); break;
        case kCommonVarTable: CommonVars(); break;
        case kModuleVarTable: ModuleVars(); break;
        case kProcDebugTable: ProcDebug(); break;
        case kLocalNameRefTable: NameRefs(); break;
        }
    }
}

}  // namespace

void BuildTables(ScPass &p, WorkFile &work, TableState &t) {
    Builder b(p, work, t);
    b.Run();
}

void CloseOpenProcedure(ScPass &p, WorkFile &work, TableState &t, uint16_t openLine) {
    uint32_t h = p.scope.proc;
    if (!h) return;
    const Symbol &s = p.tab.sym(h);
    if (s.kind != sk::kModuleRoutine) {
        ErrMsgAt(p, kErrOpenProc, openLine);
        return;
    }
    t.sym[h - 1].defaults = t.size[kLocalNameRefTable];
    std::vector<uint8_t> b;
    for (const ParamEntry &e : s.params) {
        uint8_t flag = uint8_t(e.word);
        uint8_t type = uint8_t(e.word >> 8);
        b.push_back(flag);
        b.push_back(type);
        if (!flag) continue;
        if (type == kTypeStr) {
            uint32_t handle = le::GetU32(e.deflt);
            uint32_t off = handle && handle <= t.string.size() ? t.string[handle - 1] : 0;
            for (int i = 0; i < 4; ++i) b.push_back(uint8_t(off >> (8 * i)));
        } else if (type <= kTypeByt) {
            int n = ConstantValueSize(type);
            b.insert(b.end(), e.deflt, e.deflt + n);
        }
    }
    if (uint64_t(t.size[kLocalNameRefTable]) + b.size() > 0x7FFFFFFFu) throw OutFatal{kErrVariablesFull};
    work.SeekEnd();
    work.Write(b.data(), b.size());
    t.size[kLocalNameRefTable] += uint32_t(b.size());
}

}  // namespace txsc
