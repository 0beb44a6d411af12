// Symbol resolution, section layout, relocation and the PE32 image.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <optional>
#include <set>

#include "lk_link.h"

namespace txlink {
namespace {

constexpr uint32_t kExeBase = 0x00400000;
// A DLL goes where a program's image does not: it has no base relocations
// to be moved by.
constexpr uint32_t kDllBase = 0x10000000;
constexpr uint16_t kFileDll = 0x2000;
constexpr uint32_t kSectionAlign = 0x1000;
constexpr uint32_t kFileAlign = 0x200;
constexpr uint32_t kDosHeaderSize = 0x40;
constexpr uint32_t kOptionalHeaderSize = 224;
constexpr uint32_t kDataDirectories = 16;
constexpr uint32_t kDirExport = 0;
constexpr uint32_t kDirImport = 1;
constexpr uint32_t kDirResource = 2;
constexpr uint32_t kDirDebug = 6;
// One debug directory entry (28 bytes) of type COFF, pointing at the COFF
// symbols header (32 bytes) that the line numbers and symbols follow.
constexpr uint32_t kDebugEntrySize = 28;
constexpr uint32_t kDebugTypeCoff = 1;
constexpr uint32_t kCoffSymbolsHeaderSize = 32;
constexpr uint32_t kDirIat = 12;

constexpr uint16_t kFileRelocsStripped = 0x0001;
constexpr uint16_t kFileExecutable = 0x0002;
constexpr uint16_t kFileLineNumsStripped = 0x0004;
constexpr uint16_t kFileLocalSymsStripped = 0x0008;
constexpr uint16_t kFile32BitMachine = 0x0100;
constexpr uint16_t kFileDebugStripped = 0x0200;

constexpr uint32_t kOutCode = kScnCode | kScnExecute | kScnRead;
constexpr uint32_t kOutRdata = kScnInitData | kScnRead;
constexpr uint32_t kOutData = kScnInitData | kScnRead | kScnWrite;
constexpr uint32_t kOutBss = kScnUninitData | kScnRead | kScnWrite;

uint32_t AlignUp(uint32_t v, uint32_t a) { return (v + a - 1) & ~(a - 1); }

void Put16(std::vector<uint8_t>& b, size_t at, uint16_t v) {
    b[at] = uint8_t(v);
    b[at + 1] = uint8_t(v >> 8);
}
void Put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = uint8_t(v >> (8 * i));
}
uint32_t Get32(const std::vector<uint8_t>& b, size_t at) {
    return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 | uint32_t(b[at + 3]) << 24;
}
void Append16(std::vector<uint8_t>& b, uint16_t v) {
    b.push_back(uint8_t(v));
    b.push_back(uint8_t(v >> 8));
}
void Append32(std::vector<uint8_t>& b, uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(uint8_t(v >> (8 * i)));
}

// Code first, then read-only data, data, uninitialised data; a section's
// place inside its group comes from the text after '$'.
int SectionClass(uint32_t ch) {
    if (ch & kScnCode) return 0;
    if ((ch & kScnUninitData) && !(ch & kScnInitData)) return 3;
    return (ch & kScnWrite) ? 2 : 1;
}
constexpr uint32_t kClassFlags[4] = {kOutCode, kOutRdata, kOutData, kOutBss};

uint32_t InputAlignment(uint32_t ch) {
    const uint32_t n = (ch & kScnAlignMask) >> 20;
    return n ? 1u << (n - 1) : 16;
}

// "LIB(member.o)": the member's name; an object's own name otherwise.
std::string MemberName(const std::string& name) {
    const size_t open = name.rfind('(');
    if (open == std::string::npos || name.back() != ')') return name;
    return name.substr(open + 1, name.size() - open - 2);
}

bool Dropped(const InputSection& s) {
    return (s.characteristics & (kScnLnkRemove | kScnLnkInfo)) || s.name.rfind(".debug", 0) == 0;
}

bool IsExternal(const InputSymbol& s) {
    return s.storageClass == kClassExternal || s.storageClass == kClassWeakExternal;
}

struct Contribution {
    ObjectFile* obj;
    InputSection* sec;
};

// The start of the .data section, defined by the linker itself when no
// object does (the runtime's RUN clears the program's data from there).
const char kDataStart[] = "__data_start__";

struct OutSection {
    std::string name;
    int cls = 0;
    uint32_t characteristics = 0;
    std::vector<Contribution> parts;
    uint32_t size = 0;
    uint32_t rva = 0;
    std::vector<uint8_t> data; // empty for uninitialised data
    std::vector<LineNumber> lines;
};

struct Global {
    ObjectFile* obj = nullptr; // defining object; null for a common
    uint32_t index = 0;
    uint32_t commonSize = 0;
    uint32_t commonAlign = 0;
    uint32_t commonOffset = 0; // in .bss
    bool common() const { return obj == nullptr; }
};

struct Export {
    std::string name;
    std::string symbol;
    ObjectFile* from = nullptr;
    uint32_t address = 0;
};

class Linker {
public:
    Linker(const LinkOptions& opt, LinkInputs& in, LinkResult& res) : opt_(opt), in_(in), res_(res) {}
    void Run();

private:
    void Error(const std::string& who, const std::string& text) {
        res_.messages.push_back(who + " : error " + text);
        ++errors_;
    }
    void Fatal(const std::string& who, const std::string& text) {
        res_.messages.push_back(who + " : fatal error " + text);
        ++errors_;
    }
    std::string OutName() const { return opt_.output.empty() ? "LINK" : opt_.output; }

    void Include(ObjectFile& obj);
    void PullArchiveMembers();
    bool CheckUnresolved();
    void Layout();
    // The RVAs from the first contribution named `first` to the end of the
    // last one named `last` (equal when there is none).
    std::pair<uint32_t, uint32_t> ContributionSpan(const std::string& first, const std::string& last) const;
    uint32_t SymbolAddress(ObjectFile& obj, uint32_t index, int depth = 0);
    int SymbolSection(ObjectFile& obj, uint32_t index);
    std::optional<uint32_t> GlobalAddress(const std::string& name);
    int DataSection() const;
    void Relocate();
    void CollectExports();
    std::vector<uint8_t> BuildExports(uint32_t rva);
    void WriteImage();
    void BuildSymbolTable(std::vector<uint8_t>& symbols, std::vector<uint8_t>& strings);
    void WriteMap(uint32_t entry);

    const LinkOptions& opt_;
    const uint32_t base_ = opt_.dll ? kDllBase : kExeBase;
    LinkInputs& in_;
    LinkResult& res_;
    int errors_ = 0;
    std::vector<ObjectFile*> linked_;
    std::map<std::string, Global> globals_;
    std::map<std::string, uint32_t> aligncomm_;
    std::vector<std::string> commonOrder_;
    std::vector<OutSection> out_;
    int bssIndex_ = -1;
    std::vector<Export> exports_;
    std::map<const ObjectFile*, std::vector<int64_t>> newIndex_; // symbol table renumbering
    std::vector<LineNumber> debugLines_; // the debug information's line numbers
};

void Linker::Include(ObjectFile& obj) {
    linked_.push_back(&obj);
    for (uint32_t i = 0; i < obj.symbols.size(); ++i) {
        const InputSymbol& s = obj.symbols[i];
        if (s.isAux || !IsExternal(s)) continue;
        if (s.section > 0 || s.section == kSymAbsolute) {
            auto [it, fresh] = globals_.try_emplace(s.name);
            if (!fresh && !it->second.common()) {
                Error(obj.name, "LNK2005: " + s.name + " already defined in " + it->second.obj->name);
                continue;
            }
            it->second = Global{&obj, i};
        } else if (s.section == kSymUndefined && s.value != 0 && s.storageClass == kClassExternal) {
            auto [it, fresh] = globals_.try_emplace(s.name);
            if (fresh) {
                it->second.obj = nullptr;
                commonOrder_.push_back(s.name);
            }
            if (it->second.common()) it->second.commonSize = std::max(it->second.commonSize, s.value);
        }
    }
    for (const std::string& d : obj.directives) {
        std::string low = d;
        for (char& c : low) c = char(std::tolower(static_cast<unsigned char>(c)));
        if (low.size() < 2 || (low[0] != '-' && low[0] != '/')) continue;
        if (low.compare(1, 7, "export:") == 0) {
            std::string arg = d.substr(8);
            arg = arg.substr(0, arg.find(','));
            const size_t eq = arg.find('=');
            Export e;
            e.name = arg.substr(0, eq);
            e.symbol = eq == std::string::npos ? arg : arg.substr(eq + 1);
            e.from = &obj;
            if (!e.name.empty()) exports_.push_back(e);
        } else if (low.compare(1, 10, "aligncomm:") == 0) {
            std::string arg = d.substr(11);
            const size_t comma = arg.find(',');
            if (comma != std::string::npos) {
                const unsigned long log2 = std::strtoul(arg.c_str() + comma + 1, nullptr, 10);
                if (log2 < 13) aligncomm_[arg.substr(0, comma)] = 1u << log2;
            }
        }
    }
}

// Every archive is searched again until no member resolves anything new, so
// the order of the libraries on the command line does not matter.
void Linker::PullArchiveMembers() {
    std::map<std::string, std::pair<Archive*, size_t>> index;
    for (Archive& lib : in_.archives) {
        for (size_t m = 0; m < lib.members.size(); ++m) {
            for (const InputSymbol& s : lib.members[m].object.symbols) {
                if (!s.isAux && IsExternal(s) && (s.section > 0 || s.section == kSymAbsolute))
                    index.try_emplace(s.name, &lib, m);
            }
        }
    }
    std::vector<std::string> wanted{opt_.entry};
    for (bool changed = true; changed;) {
        changed = false;
        std::set<std::string> undefined(wanted.begin(), wanted.end());
        for (ObjectFile* obj : linked_) {
            for (const InputSymbol& s : obj->symbols) {
                if (!s.isAux && IsExternal(s) && s.section == kSymUndefined) undefined.insert(s.name);
            }
        }
        for (const Export& e : exports_) undefined.insert(e.symbol);
        for (const std::string& name : undefined) {
            auto g = globals_.find(name);
            if (g != globals_.end() && !g->second.common()) continue;
            auto hit = index.find(name);
            if (hit == index.end()) continue;
            ArchiveMember& m = hit->second.first->members[hit->second.second];
            if (m.included) continue;
            m.included = true;
            Include(m.object);
            changed = true;
        }
    }
}

bool Linker::CheckUnresolved() {
    int count = 0;
    std::set<std::string> missing;
    for (ObjectFile* obj : linked_) {
        std::set<std::string> reported;
        for (const InputSymbol& s : obj->symbols) {
            if (s.isAux || !IsExternal(s) || s.section != kSymUndefined) continue;
            if (globals_.count(s.name) || s.storageClass == kClassWeakExternal || s.name == kDataStart) continue;
            if (!reported.insert(s.name).second) continue;
            Error(obj->name, "LNK2001: unresolved external symbol " + s.name);
            missing.insert(s.name);
        }
    }
    if (!globals_.count(opt_.entry) && !missing.count(opt_.entry)) {
        Error("LINK", "LNK2001: unresolved external symbol " + opt_.entry);
        missing.insert(opt_.entry);
    }
    for (const Export& e : exports_) {
        if (!globals_.count(e.symbol) && missing.insert(e.symbol).second)
            Error(e.from->name, "LNK2001: unresolved external symbol " + e.symbol);
    }
    count = int(missing.size());
    if (count) {
        char buf[64];
        std::snprintf(buf, sizeof buf, "LNK1120: %d unresolved externals", count);
        Fatal(OutName(), buf);
    }
    return count == 0;
}

std::pair<uint32_t, uint32_t> Linker::ContributionSpan(const std::string& first, const std::string& last) const {
    uint32_t from = 0, to = 0;
    bool found = false;
    for (const OutSection& o : out_) {
        for (const Contribution& c : o.parts) {
            if (c.sec->name == first && !found) {
                from = to = o.rva + c.sec->offset;
                found = true;
            }
            if (found && (c.sec->name == first || c.sec->name == last)) to = o.rva + c.sec->offset + c.sec->size;
        }
    }
    return {from, to};
}

void Linker::Layout() {
    std::map<std::string, size_t> byName;
    for (ObjectFile* obj : linked_) {
        for (InputSection& sec : obj->sections) {
            if (Dropped(sec)) continue;
            const std::string name = sec.name.substr(0, sec.name.find('$'));
            auto [it, fresh] = byName.try_emplace(name, out_.size());
            if (fresh) {
                OutSection o;
                o.name = name;
                o.cls = SectionClass(sec.characteristics);
                o.characteristics = kClassFlags[o.cls];
                out_.push_back(o);
            }
            out_[it->second].parts.push_back({obj, &sec});
        }
    }
    if (!commonOrder_.empty() && !byName.count(".bss")) {
        OutSection o;
        o.name = ".bss";
        o.cls = 3;
        o.characteristics = kOutBss;
        byName[".bss"] = out_.size();
        out_.push_back(o);
    }
    std::stable_sort(out_.begin(), out_.end(), [](const OutSection& a, const OutSection& b) { return a.cls < b.cls; });
    for (size_t i = 0; i < out_.size(); ++i) {
        OutSection& o = out_[i];
        std::stable_sort(o.parts.begin(), o.parts.end(), [](const Contribution& a, const Contribution& b) {
            if (a.sec->name != b.sec->name) return a.sec->name < b.sec->name;
            // An import library's members name its head, functions and
            // tail in the order their lists must have.
            return a.sec->name.rfind(".idata$", 0) == 0 && MemberName(a.obj->name) < MemberName(b.obj->name);
        });
        uint32_t at = 0;
        for (Contribution& c : o.parts) {
            at = AlignUp(at, InputAlignment(c.sec->characteristics));
            c.sec->output = int(i);
            c.sec->offset = at;
            at += c.sec->size;
        }
        if (o.name == ".bss") {
            bssIndex_ = int(i);
            for (const std::string& name : commonOrder_) {
                Global& g = globals_[name];
                if (!g.common()) continue;
                auto a = aligncomm_.find(name);
                g.commonAlign = a != aligncomm_.end() ? a->second
                                : g.commonSize >= 16 ? 16 : g.commonSize >= 8 ? 8 : g.commonSize >= 4 ? 4 : 1;
                at = AlignUp(at, g.commonAlign);
                g.commonOffset = at;
                at += g.commonSize;
            }
        }
        o.size = at;
    }
    uint32_t rva = kSectionAlign;
    for (OutSection& o : out_) {
        o.rva = rva;
        rva = AlignUp(rva + std::max<uint32_t>(o.size, 1), kSectionAlign);
        if (o.cls == 3) continue;
        o.data.assign(o.size, 0);
        for (const Contribution& c : o.parts)
            std::copy(c.sec->data.begin(), c.sec->data.end(), o.data.begin() + c.sec->offset);
    }
}

int Linker::DataSection() const {
    for (size_t i = 0; i < out_.size(); ++i)
        if (out_[i].name == ".data") return int(i);
    return -1;
}

std::optional<uint32_t> Linker::GlobalAddress(const std::string& name) {
    auto g = globals_.find(name);
    if (g == globals_.end() && name == kDataStart) {
        const int d = DataSection();
        return d < 0 ? 0 : base_ + out_[d].rva;
    }
    if (g == globals_.end()) return std::nullopt;
    if (g->second.common()) return base_ + out_[bssIndex_].rva + g->second.commonOffset;
    return SymbolAddress(*g->second.obj, g->second.index);
}

uint32_t Linker::SymbolAddress(ObjectFile& obj, uint32_t index, int depth) {
    const InputSymbol& s = obj.symbols[index];
    if (s.section == kSymAbsolute) return s.value;
    if (s.section > 0) {
        const InputSection& sec = obj.sections[s.section - 1];
        if (sec.output < 0) return 0;
        return base_ + out_[sec.output].rva + sec.offset + s.value;
    }
    if (auto a = GlobalAddress(s.name)) return *a;
    // An unresolved weak external takes its default, named in the aux record.
    if (s.storageClass == kClassWeakExternal && s.auxCount && depth < 8 && index + 1 < obj.symbols.size()) {
        const SymbolBytes& aux = obj.symbols[index + 1].raw;
        const uint32_t tag = uint32_t(aux[0]) | uint32_t(aux[1]) << 8 | uint32_t(aux[2]) << 16 | uint32_t(aux[3]) << 24;
        if (tag < obj.symbols.size() && !obj.symbols[tag].isAux) return SymbolAddress(obj, tag, depth + 1);
    }
    return 0;
}

// The output section a symbol lies in, -1 for absolute or dropped ones.
int Linker::SymbolSection(ObjectFile& obj, uint32_t index) {
    const InputSymbol& s = obj.symbols[index];
    if (s.section > 0) return obj.sections[s.section - 1].output;
    if (s.section != kSymUndefined) return -1;
    auto g = globals_.find(s.name);
    if (g == globals_.end()) return s.name == kDataStart ? DataSection() : -1;
    if (g->second.common()) return bssIndex_;
    return g->second.obj == &obj && g->second.index == index ? -1 : SymbolSection(*g->second.obj, g->second.index);
}

void Linker::Relocate() {
    for (OutSection& o : out_) {
        for (const Contribution& c : o.parts) {
            for (const Reloc& r : c.sec->relocs) {
                char buf[160];
                if (o.cls == 3 || uint64_t(r.offset) + (r.type == kRelSection ? 2 : 4) > c.sec->data.size()) {
                    std::snprintf(buf, sizeof buf, "LNK1143: relocation at 0x%X lies outside section %s",
                                  r.offset, c.sec->name.c_str());
                    Fatal(c.obj->name, buf);
                    return;
                }
                const size_t at = c.sec->offset + r.offset;
                const uint32_t place = base_ + o.rva + uint32_t(at);
                const uint32_t target = SymbolAddress(*c.obj, r.symbol);
                const int targetSection = SymbolSection(*c.obj, r.symbol);
                switch (r.type) {
                case kRelAbsolute:
                    break;
                case kRelDir32:
                    Put32(o.data, at, Get32(o.data, at) + target);
                    break;
                case kRelDir32Nb:
                    Put32(o.data, at, Get32(o.data, at) + target - base_);
                    break;
                case kRelRel32:
                    Put32(o.data, at, Get32(o.data, at) + target - (place + 4));
                    break;
                case kRelSection:
                    Put16(o.data, at, uint16_t(targetSection + 1));
                    break;
                case kRelSecRel:
                    Put32(o.data, at, Get32(o.data, at) + target -
                                          (targetSection >= 0 ? base_ + out_[targetSection].rva : 0));
                    break;
                default:
                    std::snprintf(buf, sizeof buf, "LNK1165: unsupported relocation type 0x%X in section %s",
                                  r.type, c.sec->name.c_str());
                    Fatal(c.obj->name, buf);
                    return;
                }
            }
        }
    }
}

void Linker::CollectExports() {
    std::map<std::string, Export> unique;
    for (Export& e : exports_) {
        e.address = GlobalAddress(e.symbol).value_or(0);
        unique.try_emplace(e.name, e);
    }
    exports_.clear();
    for (auto& [name, e] : unique) exports_.push_back(e); // sorted by name, as the loader's search needs
}

// Export directory, address table, name pointers, ordinals, then the names.
std::vector<uint8_t> Linker::BuildExports(uint32_t rva) {
    const uint32_t n = uint32_t(exports_.size());
    const uint32_t eat = 40, npt = eat + 4 * n, ords = npt + 4 * n, strings = ords + 2 * n;
    std::vector<uint8_t> b(strings, 0);
    const std::string dll = opt_.output.substr(FileNameStart(opt_.output));
    Put32(b, 12, rva + uint32_t(b.size()));
    b.insert(b.end(), dll.begin(), dll.end());
    b.push_back(0);
    Put32(b, 16, 1); // ordinal base
    Put32(b, 20, n);
    Put32(b, 24, n);
    Put32(b, 28, rva + eat);
    Put32(b, 32, rva + npt);
    Put32(b, 36, rva + ords);
    for (uint32_t i = 0; i < n; ++i) {
        Put32(b, eat + 4 * i, exports_[i].address - base_);
        Put32(b, npt + 4 * i, rva + uint32_t(b.size()));
        Put16(b, ords + 2 * i, uint16_t(i));
        b.insert(b.end(), exports_[i].name.begin(), exports_[i].name.end());
        b.push_back(0);
    }
    return b;
}

// The COFF symbols of every linked object, their values made section
// relative in the image, for the debugger; commons become .bss symbols.
void Linker::BuildSymbolTable(std::vector<uint8_t>& symbols, std::vector<uint8_t>& strings) {
    std::set<std::string> commonsDone;
    std::map<std::string, uint32_t> longNames;
    uint32_t count = 0;
    auto emit = [&](const InputSymbol& s, const std::string& name, uint32_t value, int16_t section, uint8_t cls) {
        SymbolBytes rec = s.raw;
        std::memset(rec.data(), 0, 8);
        if (name.size() <= 8) {
            std::memcpy(rec.data(), name.data(), name.size());
        } else {
            auto [it, fresh] = longNames.try_emplace(name, uint32_t(4 + strings.size()));
            if (fresh) {
                strings.insert(strings.end(), name.begin(), name.end());
                strings.push_back(0);
            }
            for (int i = 0; i < 4; ++i) rec[4 + i] = uint8_t(it->second >> (8 * i));
        }
        for (int i = 0; i < 4; ++i) rec[8 + i] = uint8_t(value >> (8 * i));
        rec[12] = uint8_t(uint16_t(section));
        rec[13] = uint8_t(uint16_t(section) >> 8);
        rec[16] = cls;
        symbols.insert(symbols.end(), rec.begin(), rec.end());
        ++count;
    };
    for (ObjectFile* obj : linked_) {
        std::vector<int64_t>& map = newIndex_[obj];
        map.assign(obj->symbols.size(), -1);
        for (uint32_t i = 0; i < obj->symbols.size(); ++i) {
            const InputSymbol& s = obj->symbols[i];
            if (s.isAux) continue;
            bool keep = true;
            int16_t section = s.section;
            uint32_t value = s.value;
            uint8_t auxKept = s.auxCount;
            if (s.section > 0) {
                const InputSection& sec = obj->sections[s.section - 1];
                keep = sec.output >= 0;
                section = int16_t(sec.output + 1);
                value += sec.offset;
            } else if (s.section == kSymUndefined) {
                auto g = globals_.find(s.name);
                keep = IsExternal(s) && g != globals_.end() && g->second.common() &&
                       commonsDone.insert(s.name).second;
                if (keep) {
                    section = int16_t(bssIndex_ + 1);
                    value = g->second.commonOffset;
                    auxKept = 0;
                }
            }
            if (!keep) continue;
            map[i] = count;
            InputSymbol head = s;
            head.raw[17] = auxKept;
            emit(head, s.name, value, section, s.storageClass);
            for (uint8_t a = 0; a < auxKept && i + 1 + a < obj->symbols.size(); ++a) {
                symbols.insert(symbols.end(), obj->symbols[i + 1 + a].raw.begin(), obj->symbols[i + 1 + a].raw.end());
                ++count;
            }
        }
    }
    // Line numbers: code offsets become image addresses, line 0 names the
    // function by its new symbol index. The debug information keeps a copy
    // in which a function's line-0 record carries the function's address:
    // the debugger takes each function's lines relative to the first record
    // it finds inside it.
    for (OutSection& o : out_) {
        for (const Contribution& c : o.parts) {
            // Lines ahead of the object's first function record (a module's
            // entry code) get a base record at the object's start.
            if (!c.sec->lines.empty() && c.sec->lines.front().line != 0)
                debugLines_.push_back({o.rva + c.sec->offset, 0});
            for (const LineNumber& l : c.sec->lines) {
                if (l.line == 0) {
                    const std::vector<int64_t>& map = newIndex_[c.obj];
                    if (l.address >= map.size() || map[l.address] < 0) continue;
                    o.lines.push_back({uint32_t(map[l.address]), 0});
                    const InputSymbol& f = c.obj->symbols[l.address];
                    const InputSection* fs = f.section > 0 && size_t(f.section) <= c.obj->sections.size()
                                                 ? &c.obj->sections[f.section - 1]
                                                 : nullptr;
                    if (fs && fs->output >= 0) debugLines_.push_back({out_[fs->output].rva + fs->offset + f.value, 0});
                } else {
                    o.lines.push_back({o.rva + c.sec->offset + l.address, l.line});
                    debugLines_.push_back(o.lines.back());
                }
            }
        }
        if (o.lines.size() > 0xFFFF) o.lines.resize(0xFFFF);
    }
}

void Linker::WriteImage() {
    // Sections of the linked objects, then exports and resources, each
    // built once its address is known.
    uint32_t rva = out_.empty() ? kSectionAlign : AlignUp(out_.back().rva + std::max<uint32_t>(out_.back().size, 1), kSectionAlign);
    int exportIndex = -1, resourceIndex = -1;
    if (!exports_.empty()) {
        OutSection o;
        o.name = ".edata";
        o.cls = 1;
        o.characteristics = kOutRdata;
        o.rva = rva;
        o.data = BuildExports(rva);
        o.size = uint32_t(o.data.size());
        exportIndex = int(out_.size());
        out_.push_back(std::move(o));
        rva = AlignUp(rva + out_.back().size, kSectionAlign);
    }
    if (!in_.resources.empty()) {
        OutSection o;
        o.name = ".rsrc";
        o.cls = 1;
        o.characteristics = kOutRdata;
        o.rva = rva;
        std::string why;
        if (!BuildResourceSection(in_.resources, rva, o.data, why)) {
            Fatal("LINK", why);
            return;
        }
        o.size = uint32_t(o.data.size());
        resourceIndex = int(out_.size());
        out_.push_back(std::move(o));
        rva = AlignUp(rva + out_.back().size, kSectionAlign);
    }
    // Under /DEBUG the debug directory, in a section of its own; its entry
    // is filled once the file offsets are known.
    int debugIndex = -1;
    if (opt_.debug) {
        OutSection o;
        o.name = ".debug";
        o.cls = 1;
        o.characteristics = kOutRdata;
        o.rva = rva;
        o.data.assign(kDebugEntrySize, 0);
        o.size = kDebugEntrySize;
        debugIndex = int(out_.size());
        out_.push_back(std::move(o));
        rva = AlignUp(rva + out_.back().size, kSectionAlign);
    }
    const uint32_t sizeOfImage = rva;

    std::vector<uint8_t> symbols, strings;
    if (opt_.debug) BuildSymbolTable(symbols, strings);

    const uint32_t nsec = uint32_t(out_.size());
    const uint32_t peAt = kDosHeaderSize;
    const uint32_t optAt = peAt + 4 + 20;
    const uint32_t headersSize = AlignUp(optAt + kOptionalHeaderSize + 40 * nsec, kFileAlign);
    std::vector<uint8_t> img(headersSize, 0);
    img[0] = 'M';
    img[1] = 'Z';
    Put32(img, 0x3C, peAt);
    img[peAt] = 'P';
    img[peAt + 1] = 'E';

    uint32_t filePos = headersSize, sizeCode = 0, sizeInit = 0, sizeUninit = 0, baseCode = 0, baseData = 0;
    std::vector<uint32_t> rawPtr(nsec, 0), rawSize(nsec, 0);
    for (uint32_t i = 0; i < nsec; ++i) {
        const OutSection& o = out_[i];
        if (o.cls != 3 && o.size) {
            rawPtr[i] = filePos;
            rawSize[i] = AlignUp(o.size, kFileAlign);
            filePos += rawSize[i];
        }
        if (o.cls == 0) {
            sizeCode += rawSize[i];
            if (!baseCode) baseCode = o.rva;
        } else {
            if (o.cls == 3) sizeUninit += AlignUp(o.size, kFileAlign);
            else sizeInit += rawSize[i];
            if (!baseData) baseData = o.rva;
        }
    }
    img.resize(filePos, 0);
    for (uint32_t i = 0; i < nsec; ++i)
        if (rawSize[i]) std::copy(out_[i].data.begin(), out_[i].data.end(), img.begin() + rawPtr[i]);

    // The COFF debug information after the sections: its header, its line
    // numbers, the sections' line numbers, the symbol and string tables. The
    // file header points at the same symbols.
    const uint32_t coffInfoAt = uint32_t(img.size());
    if (debugIndex >= 0) {
        img.resize(img.size() + kCoffSymbolsHeaderSize, 0);
        for (const LineNumber& l : debugLines_) {
            Append32(img, l.address);
            Append16(img, l.line);
        }
    }
    std::vector<uint32_t> linePtr(nsec, 0);
    for (uint32_t i = 0; i < nsec && opt_.debug; ++i) {
        if (out_[i].lines.empty()) continue;
        linePtr[i] = uint32_t(img.size());
        for (const LineNumber& l : out_[i].lines) {
            Append32(img, l.address);
            Append16(img, l.line);
        }
    }
    uint32_t symPtr = 0, nsym = 0;
    if (opt_.debug && !symbols.empty()) {
        symPtr = uint32_t(img.size());
        nsym = uint32_t(symbols.size() / kSymbolSize);
        img.insert(img.end(), symbols.begin(), symbols.end());
        Append32(img, uint32_t(4 + strings.size()));
        img.insert(img.end(), strings.begin(), strings.end());
    }
    if (debugIndex >= 0) {
        Put32(img, coffInfoAt, nsym);
        Put32(img, coffInfoAt + 4, symPtr ? symPtr - coffInfoAt : 0);
        Put32(img, coffInfoAt + 8, uint32_t(debugLines_.size()));
        Put32(img, coffInfoAt + 12, kCoffSymbolsHeaderSize);
        Put32(img, coffInfoAt + 16, baseCode);
        Put32(img, coffInfoAt + 20, baseCode + (sizeCode ? sizeCode - 1 : 0));
        Put32(img, coffInfoAt + 24, baseData);
        Put32(img, coffInfoAt + 28, baseData ? sizeOfImage - 1 : 0);
        const uint32_t entryAt = rawPtr[debugIndex];
        Put32(img, entryAt + 12, kDebugTypeCoff);
        Put32(img, entryAt + 16, uint32_t(img.size()) - coffInfoAt);
        Put32(img, entryAt + 24, coffInfoAt);
    }

    const uint32_t coffAt = peAt + 4;
    Put16(img, coffAt, kMachineI386);
    Put16(img, coffAt + 2, uint16_t(nsec));
    Put32(img, coffAt + 4, 0); // time stamp: the same inputs give the same image
    Put32(img, coffAt + 8, symPtr);
    Put32(img, coffAt + 12, nsym);
    Put16(img, coffAt + 16, kOptionalHeaderSize);
    uint16_t flags = kFileRelocsStripped | kFileExecutable | kFile32BitMachine;
    if (opt_.dll) flags |= kFileDll;
    if (!opt_.debug) flags |= kFileLineNumsStripped | kFileLocalSymsStripped | kFileDebugStripped;
    Put16(img, coffAt + 18, flags);

    const uint32_t entry = GlobalAddress(opt_.entry).value_or(base_) - base_;
    Put16(img, optAt, 0x010B);
    img[optAt + 2] = 1; // linker version 1.0
    Put32(img, optAt + 4, sizeCode);
    Put32(img, optAt + 8, sizeInit);
    Put32(img, optAt + 12, sizeUninit);
    Put32(img, optAt + 16, entry);
    Put32(img, optAt + 20, baseCode);
    Put32(img, optAt + 24, baseData);
    Put32(img, optAt + 28, base_);
    Put32(img, optAt + 32, kSectionAlign);
    Put32(img, optAt + 36, kFileAlign);
    Put16(img, optAt + 40, 4); // operating system 4.0
    Put16(img, optAt + 48, 4); // subsystem 4.0
    Put32(img, optAt + 56, sizeOfImage);
    Put32(img, optAt + 60, headersSize);
    Put16(img, optAt + 68, opt_.subsystem);
    Put32(img, optAt + 72, 0x100000); // stack reserve
    Put32(img, optAt + 76, 0x1000);
    Put32(img, optAt + 80, 0x100000); // heap reserve
    Put32(img, optAt + 84, 0x1000);
    Put32(img, optAt + 92, kDataDirectories);
    const uint32_t dirAt = optAt + 96;
    if (exportIndex >= 0) {
        Put32(img, dirAt + 8 * kDirExport, out_[exportIndex].rva);
        Put32(img, dirAt + 8 * kDirExport + 4, out_[exportIndex].size);
    }
    if (resourceIndex >= 0) {
        Put32(img, dirAt + 8 * kDirResource, out_[resourceIndex].rva);
        Put32(img, dirAt + 8 * kDirResource + 4, out_[resourceIndex].size);
    }
    if (debugIndex >= 0) {
        Put32(img, dirAt + 8 * kDirDebug, out_[debugIndex].rva);
        Put32(img, dirAt + 8 * kDirDebug + 4, kDebugEntrySize);
    }
    // Imports: the descriptors (.idata$2, ended by .idata$3) and the
    // address table (.idata$5) of the import libraries' members.
    const auto [descAt, descEnd] = ContributionSpan(".idata$2", ".idata$3");
    const auto [iatAt, iatEnd] = ContributionSpan(".idata$5", ".idata$5");
    if (descEnd > descAt) {
        Put32(img, dirAt + 8 * kDirImport, descAt);
        Put32(img, dirAt + 8 * kDirImport + 4, descEnd - descAt);
    }
    if (iatEnd > iatAt) {
        Put32(img, dirAt + 8 * kDirIat, iatAt);
        Put32(img, dirAt + 8 * kDirIat + 4, iatEnd - iatAt);
    }
    for (uint32_t i = 0; i < nsec; ++i) {
        const OutSection& o = out_[i];
        const uint32_t h = optAt + kOptionalHeaderSize + 40 * i;
        std::memcpy(img.data() + h, o.name.data(), std::min<size_t>(o.name.size(), 8));
        Put32(img, h + 8, o.size);
        Put32(img, h + 12, o.rva);
        Put32(img, h + 16, rawSize[i]);
        Put32(img, h + 20, rawPtr[i]);
        Put32(img, h + 28, linePtr[i]);
        Put16(img, h + 34, linePtr[i] ? uint16_t(o.lines.size()) : 0);
        Put32(img, h + 36, o.characteristics);
    }
    res_.image = std::move(img);
    if (opt_.map) WriteMap(entry);
}

void Linker::WriteMap(uint32_t entry) {
    std::string m;
    char buf[512];
    auto line = [&](const char* fmt, auto... args) {
        std::snprintf(buf, sizeof buf, fmt, args...);
        m += buf;
        m += "\r\n";
    };
    line(" %s", opt_.output.c_str());
    line("");
    line(" Timestamp is 00000000");
    line("");
    line(" Preferred load address is %08X", base_);
    line("");
    line(" Start         Length     Name");
    for (size_t i = 0; i < out_.size(); ++i)
        line(" %04X:%08X %08XH %s", unsigned(i + 1), 0u, out_[i].size, out_[i].name.c_str());
    line("");
    line("  Address         Publics by Value              Rva+Base       Object");
    line("");
    std::vector<std::pair<uint32_t, std::string>> rows;
    for (auto& [name, g] : globals_) {
        const uint32_t addr = GlobalAddress(name).value_or(0);
        rows.emplace_back(addr, name + "|" + (g.common() ? std::string("<common>") : g.obj->name));
    }
    std::sort(rows.begin(), rows.end());
    for (auto& [addr, text] : rows) {
        const std::string name = text.substr(0, text.find('|')), from = text.substr(text.find('|') + 1);
        uint32_t sec = 0, off = addr;
        for (size_t i = 0; i < out_.size(); ++i) {
            if (addr >= base_ + out_[i].rva && addr < base_ + out_[i].rva + std::max<uint32_t>(out_[i].size, 1)) {
                sec = uint32_t(i + 1);
                off = addr - base_ - out_[i].rva;
            }
        }
        line(" %04X:%08X       %-28s %08X     %s", sec, off, name.c_str(), addr, from.c_str());
    }
    line("");
    line(" entry point at        %08X", entry + base_);
    res_.map = std::move(m);
}

void Linker::Run() {
    for (ObjectFile& obj : in_.objects) Include(obj);
    PullArchiveMembers();
    if (errors_) {
        Fatal(OutName(), "LNK1169: one or more multiply defined symbols found");
        return;
    }
    if (!CheckUnresolved()) return;
    Layout();
    Relocate();
    if (errors_) return;
    CollectExports();
    WriteImage();
}

} // namespace

LinkResult Link(const LinkOptions& opt, LinkInputs& in) {
    LinkResult res;
    Linker linker(opt, in, res);
    linker.Run();
    res.ok = !res.image.empty();
    for (const std::string& m : res.messages) {
        if (m.find(" error ") != std::string::npos) res.ok = false;
    }
    if (!res.ok) {
        res.image.clear();
        res.map.clear();
    }
    return res;
}

} // namespace txlink
