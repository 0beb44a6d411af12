// implib: an import library from a list of a DLL's functions.
//
//   implib LIST OUT.LIB
//
// LIST: `LIBRARY NAME.DLL`, then `EXPORTS`, then one stdcall name a line
// (`WriteFile@20`); `;` starts a comment. OUT.LIB is an ar archive of
// i386 COFF objects in the long import form both our LINK and the i686
// linker read: a head object with the DLL's import descriptor, one object
// per function (its thunk, IAT slot, lookup entry and hint/name) and a
// tail that ends the DLL's lists and holds its name. Members are named so
// that sorting them by name puts head, functions and tail in that order.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr uint16_t kMachineI386 = 0x14C;
constexpr uint32_t kScnCode = 0x20, kScnData = 0x40;
constexpr uint32_t kScnAlign2 = 0x00200000, kScnAlign4 = 0x00300000;
constexpr uint32_t kScnExec = 0x20000000, kScnRead = 0x40000000, kScnWrite = 0x80000000;
constexpr uint32_t kIdataFlags = kScnData | kScnRead | kScnWrite;
constexpr uint16_t kRelDir32 = 6, kRelDir32Nb = 7;
constexpr uint8_t kClassExternal = 2, kClassStatic = 3;
constexpr size_t kSymbolSize = 18, kSectionHeaderSize = 40, kRelocSize = 10;
constexpr size_t kDescriptorSize = 20;
// Member names: prefix, then h, sNNNN or t, then ".o".
constexpr size_t kPrefixMax = 8;
constexpr unsigned kMostFunctions = 10000;
// jmp dword ptr [IAT slot], then two nops to a whole word.
constexpr uint8_t kThunk[8] = {0xFF, 0x25, 0, 0, 0, 0, 0x90, 0x90};

void Put16(std::vector<uint8_t>& b, uint16_t v) {
    b.push_back(uint8_t(v));
    b.push_back(uint8_t(v >> 8));
}
void Put32(std::vector<uint8_t>& b, uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(uint8_t(v >> (8 * i)));
}

struct Reloc {
    uint32_t offset;
    std::string symbol;
    uint16_t type;
};
struct Section {
    std::string name;
    uint32_t flags;
    std::vector<uint8_t> data;
    std::vector<Reloc> relocs;
};
struct Symbol {
    std::string name;
    int section; // 1-based, 0 undefined
    uint8_t cls;
};

// One COFF object: every section also gets a static symbol of its own
// name, so relocations can name a section.
std::vector<uint8_t> Object(const std::vector<Section>& secs, std::vector<Symbol> syms) {
    std::vector<Symbol> all;
    for (size_t i = 0; i < secs.size(); ++i) all.push_back({secs[i].name, int(i + 1), kClassStatic});
    all.insert(all.end(), syms.begin(), syms.end());
    auto index = [&](const std::string& name) {
        for (size_t i = 0; i < all.size(); ++i)
            if (all[i].name == name) return uint32_t(i);
        return uint32_t(0);
    };
    size_t at = 20 + kSectionHeaderSize * secs.size();
    std::vector<size_t> dataAt, relAt;
    for (const Section& s : secs) {
        dataAt.push_back(s.data.empty() ? 0 : at);
        at += s.data.size();
        relAt.push_back(s.relocs.empty() ? 0 : at);
        at += kRelocSize * s.relocs.size();
    }
    std::vector<uint8_t> o;
    Put16(o, kMachineI386);
    Put16(o, uint16_t(secs.size()));
    Put32(o, 0);
    Put32(o, uint32_t(at));
    Put32(o, uint32_t(all.size()));
    Put16(o, 0);
    Put16(o, 0);
    for (size_t i = 0; i < secs.size(); ++i) {
        const Section& s = secs[i];
        std::string n = s.name;
        n.resize(8, '\0');
        o.insert(o.end(), n.begin(), n.end());
        Put32(o, 0);
        Put32(o, 0);
        Put32(o, uint32_t(s.data.size()));
        Put32(o, uint32_t(dataAt[i]));
        Put32(o, uint32_t(relAt[i]));
        Put32(o, 0);
        Put16(o, uint16_t(s.relocs.size()));
        Put16(o, 0);
        Put32(o, s.flags);
    }
    for (const Section& s : secs) {
        o.insert(o.end(), s.data.begin(), s.data.end());
        for (const Reloc& r : s.relocs) {
            Put32(o, r.offset);
            Put32(o, index(r.symbol));
            Put16(o, r.type);
        }
    }
    std::string strings;
    for (const Symbol& s : all) {
        if (s.name.size() <= 8) {
            std::string n = s.name;
            n.resize(8, '\0');
            o.insert(o.end(), n.begin(), n.end());
        } else {
            Put32(o, 0);
            Put32(o, uint32_t(4 + strings.size()));
            strings += s.name;
            strings.push_back('\0');
        }
        Put32(o, 0);
        Put16(o, uint16_t(s.section));
        Put16(o, 0);
        o.push_back(s.cls);
        o.push_back(0);
    }
    Put32(o, uint32_t(4 + strings.size()));
    o.insert(o.end(), strings.begin(), strings.end());
    return o;
}

struct Member {
    std::string name;
    std::vector<uint8_t> data;
    std::vector<std::string> defines; // external symbols, for the archive's index
};

void PutBig32(std::string& s, uint32_t v) {
    for (int i = 3; i >= 0; --i) s.push_back(char(v >> (8 * i)));
}

std::string Header(const std::string& name, size_t size) {
    char h[61];
    std::snprintf(h, sizeof h, "%-16s%-12s%-6s%-6s%-8s%-10zu`\n", name.c_str(), "0", "0", "0", "644", size);
    return std::string(h, 60);
}

// An ar archive with the index linkers look symbols up in.
std::string Archive(const std::vector<Member>& members) {
    std::vector<std::pair<std::string, size_t>> index; // symbol, member number
    for (size_t i = 0; i < members.size(); ++i)
        for (const std::string& s : members[i].defines) index.push_back({s, i});
    size_t indexSize = 4 + 4 * index.size();
    for (const auto& e : index) indexSize += e.first.size() + 1;
    const size_t indexPadded = indexSize + (indexSize & 1);
    std::vector<size_t> offset;
    size_t at = 8 + 60 + indexPadded;
    for (const Member& m : members) {
        offset.push_back(at);
        at += 60 + m.data.size() + (m.data.size() & 1);
    }
    std::string out = "!<arch>\n" + Header("/", indexSize);
    PutBig32(out, uint32_t(index.size()));
    for (const auto& e : index) PutBig32(out, uint32_t(offset[e.second]));
    for (const auto& e : index) out += e.first + '\0';
    if (indexSize & 1) out.push_back('\n');
    for (const Member& m : members) {
        out += Header(m.name + "/", m.data.size());
        out.append(m.data.begin(), m.data.end());
        if (m.data.size() & 1) out.push_back('\n');
    }
    return out;
}

std::string Trim(const std::string& s) {
    const size_t a = s.find_first_not_of(" \t\r");
    if (a == std::string::npos) return "";
    return s.substr(a, s.find_last_not_of(" \t\r") - a + 1);
}

std::string Upper(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = char(c - 32);
    return s;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: implib LIST OUT.LIB\n");
        return 2;
    }
    std::ifstream in(argv[1]);
    if (!in) {
        std::fprintf(stderr, "implib: cannot open %s\n", argv[1]);
        return 1;
    }
    std::string dll, line;
    std::vector<std::string> functions;
    bool exports = false;
    int lineNo = 0;
    while (std::getline(in, line)) {
        ++lineNo;
        line = Trim(line.substr(0, line.find(';')));
        if (line.empty()) continue;
        if (Upper(line).rfind("LIBRARY ", 0) == 0) {
            dll = Trim(line.substr(8));
        } else if (Upper(line) == "EXPORTS") {
            exports = true;
        } else if (exports && line.find_first_of(" \t") == std::string::npos) {
            functions.push_back(line);
        } else {
            std::fprintf(stderr, "implib: %s(%d): cannot read the line\n", argv[1], lineNo);
            return 1;
        }
    }
    if (dll.empty() || functions.empty()) {
        std::fprintf(stderr, "implib: %s names no library or no function\n", argv[1]);
        return 1;
    }
    if (functions.size() > kMostFunctions) {
        std::fprintf(stderr, "implib: %s names more than %u functions\n", argv[1], kMostFunctions);
        return 1;
    }
    // The member prefix: the DLL's name without its extension, lower case,
    // short enough for ar's 15-character member names.
    std::string base = dll.substr(0, std::min(dll.find('.'), kPrefixMax));
    for (char& c : base)
        if (c >= 'A' && c <= 'Z') c = char(c + 32);
    const std::string head = "__head_" + base, iname = "__" + base + "_iname";

    std::vector<Member> members;
    {
        Section desc{".idata$2", kIdataFlags | kScnAlign4, std::vector<uint8_t>(kDescriptorSize, 0),
                     {{0, ".idata$4", kRelDir32Nb}, {12, iname, kRelDir32Nb}, {16, ".idata$5", kRelDir32Nb}}};
        Section ilt{".idata$4", kIdataFlags | kScnAlign4, {}, {}};
        Section iat{".idata$5", kIdataFlags | kScnAlign4, {}, {}};
        members.push_back({base + "h.o",
                           Object({desc, ilt, iat}, {{head, 1, kClassExternal}, {iname, 0, kClassExternal}}),
                           {head}});
    }
    for (size_t i = 0; i < functions.size(); ++i) {
        const std::string& f = functions[i];
        const std::string plain = f.substr(0, f.find('@'));
        const std::string sym = "_" + f, imp = "__imp__" + f;
        std::vector<uint8_t> hint{0, 0};
        hint.insert(hint.end(), plain.begin(), plain.end());
        hint.push_back(0);
        if (hint.size() & 1) hint.push_back(0);
        Section text{".text", kScnCode | kScnExec | kScnRead | kScnAlign4,
                     std::vector<uint8_t>(kThunk, kThunk + sizeof kThunk), {{2, imp, kRelDir32}}};
        Section ilt{".idata$4", kIdataFlags | kScnAlign4, std::vector<uint8_t>(4, 0), {{0, ".idata$6", kRelDir32Nb}}};
        Section iat{".idata$5", kIdataFlags | kScnAlign4, std::vector<uint8_t>(4, 0), {{0, ".idata$6", kRelDir32Nb}}};
        Section name{".idata$6", kIdataFlags | kScnAlign2, hint, {}};
        // The head comes along through this reference.
        Section link{".idata$7", kIdataFlags | kScnAlign4, std::vector<uint8_t>(4, 0), {{0, head, kRelDir32Nb}}};
        char member[16];
        std::snprintf(member, sizeof member, "s%04u.o", unsigned(i % kMostFunctions));
        members.push_back({base + member,
                           Object({text, ilt, iat, name, link},
                                  {{sym, 1, kClassExternal}, {imp, 3, kClassExternal}, {head, 0, kClassExternal}}),
                           {sym, imp}});
    }
    {
        std::vector<uint8_t> nameBytes(dll.begin(), dll.end());
        nameBytes.push_back(0);
        while (nameBytes.size() % 4) nameBytes.push_back(0);
        Section ilt{".idata$4", kIdataFlags | kScnAlign4, std::vector<uint8_t>(4, 0), {}};
        Section iat{".idata$5", kIdataFlags | kScnAlign4, std::vector<uint8_t>(4, 0), {}};
        Section name{".idata$7", kIdataFlags | kScnAlign4, nameBytes, {}};
        // The descriptor list's end, after every DLL's descriptor.
        Section end{".idata$3", kIdataFlags | kScnAlign4, std::vector<uint8_t>(kDescriptorSize, 0), {}};
        members.push_back({base + "t.o", Object({ilt, iat, name, end}, {{iname, 3, kClassExternal}}), {iname}});
    }
    std::ofstream out(argv[2], std::ios::binary);
    const std::string bytes = Archive(members);
    out.write(bytes.data(), std::streamsize(bytes.size()));
    if (!out) {
        std::fprintf(stderr, "implib: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
