#include "dsg_resread.h"

#include <cstring>

#include "dsg_formdata.h"
#include "sjis_path.h"

namespace dsg {

namespace {

enum : uint32_t { kRtCursor = 1, kRtIcon = 3, kRtMenu = 4, kRtString = 6, kRtAccel = 9, kRtRcdata = 10,
                  kRtEnd = 15 };
constexpr size_t kNameMax = 31;
const char kVersionName[] = "TX$VersionInfo";

// A bounded view of the file: every read checks the end.
struct In {
    const std::vector<uint8_t> &f;
    size_t pos = 0;
    bool Has(size_t n) const { return pos <= f.size() && f.size() - pos >= n; }
    bool U8(uint8_t &v) {
        if (!Has(1)) return false;
        v = f[pos++];
        return true;
    }
    bool U16(uint16_t &v) {
        if (!Has(2)) return false;
        v = uint16_t(f[pos] | f[pos + 1] << 8);
        pos += 2;
        return true;
    }
    bool U32(uint32_t &v) {
        if (!Has(4)) return false;
        v = f[pos] | f[pos + 1] << 8 | f[pos + 2] << 16 | uint32_t(f[pos + 3]) << 24;
        pos += 4;
        return true;
    }
    // A byte string up to its zero, kept to 31 characters.
    bool Str8(std::string &s) {
        s.clear();
        for (;;) {
            uint8_t c;
            if (!U8(c)) return false;
            if (!c) return true;
            if (s.size() < kNameMax) s += char(c);
        }
    }
    // UTF-16 up to its zero unit, the low byte of each unit kept.
    bool Str16(std::string &s) {
        s.clear();
        for (;;) {
            uint16_t c;
            if (!U16(c)) return false;
            if (!c) return true;
            if (s.size() < kNameMax) s += char(c & 0xFF);
        }
    }
};

// A 16-bit type or name field: 0xFF and an ordinal, or a byte string.
bool Field16(In &in, uint32_t &ord, std::string &name) {
    if (!in.Has(1)) return false;
    if (in.f[in.pos] == 0xFF) {
        uint16_t v;
        ++in.pos;
        if (!in.U16(v)) return false;
        ord = v;
        name.clear();
        return true;
    }
    ord = 0xFFFFFFFFu;
    return in.Str8(name);
}

bool Field32(In &in, uint32_t &ord, std::string &name) {
    uint16_t first;
    if (!in.U16(first)) return false;
    if (first == 0xFFFF) {
        uint16_t v;
        if (!in.U16(v)) return false;
        ord = v;
        name.clear();
        return true;
    }
    ord = 0xFFFFFFFFu;
    in.pos -= 2;
    return in.Str16(name);
}

size_t Align4(size_t v) { return (v + 3) & ~size_t(3); }

struct Entry32 {
    uint32_t type;
    std::string name;
    size_t data, size, next;
};

// One 32-bit entry at in.pos: false at the end of the entries (short
// header) with `bad` when the entry is damaged.
bool Next32(In &in, Entry32 &e, bool &bad) {
    bad = false;
    size_t start = in.pos;
    uint32_t dataSize, headerSize;
    if (!in.Has(12) || !in.U32(dataSize) || !in.U32(headerSize)) return false;
    if (!Field32(in, e.type, e.name)) return bad = true, false;
    if (e.type != 0xFFFFFFFFu && e.type > 255) return bad = true, false;
    if (e.type == kRtCursor || e.type == kRtIcon || e.type == kRtString) {
        uint32_t skip;
        if (!in.U32(skip)) return bad = true, false;
        e.name.clear();
    } else {
        uint32_t ord;
        std::string n;
        if (!Field32(in, ord, n)) return bad = true, false;
        e.name = n;
    }
    if (headerSize < 16 || headerSize > in.f.size() - start || in.pos - start > headerSize)
        return bad = true, false;
    e.data = start + headerSize;
    if (dataSize > in.f.size() - e.data) return bad = true, false;
    e.size = dataSize;
    e.next = Align4(e.data + dataSize);
    return true;
}

struct Entry16 {
    uint32_t type;
    std::string name;
    size_t data, size, next;
};

bool Next16(In &in, Entry16 &e, bool &bad) {
    bad = false;
    if (!in.Has(1)) return false;
    std::string tname;
    if (!Field16(in, e.type, tname)) return false;
    if (e.type != 0xFFFFFFFFu && e.type > 255) return bad = true, false;
    if (e.type == kRtEnd) return false;
    uint32_t ord;
    if (!Field16(in, ord, e.name)) return false;
    if (e.type == kRtCursor || e.type == kRtIcon || e.type == kRtString) e.name.clear();
    uint16_t flags;
    uint32_t size;
    if (!in.U16(flags) || !in.U32(size)) return false;
    if (size > in.f.size() - in.pos) return bad = true, false;
    e.data = in.pos;
    e.size = size;
    e.next = in.pos + size;
    return true;
}

bool SetVersion(const std::vector<uint8_t> &f, size_t data, size_t size, Document &doc) {
    if (size < 8) return false;
    doc.version = uint16_t(f[data + 4] | f[data + 5] << 8);
    doc.version2 = uint16_t(f[data + 6] | f[data + 7] << 8);
    return true;
}

bool Keep(ResourceEntry &&e, KeptEntries &k) {
    uint16_t v = e.version;
    if (v == kVersion16Bit) {
        auto is = [&](const char *n) { return prj::EqualNoCase(e.name, n); };
        if (e.type == kRtMenu && is("MainMenu") && k.menus.empty()) k.menus.push_back(std::move(e));
        else if (e.type == kRtAccel && is("MainMenu") && k.accels.empty()) k.accels.push_back(std::move(e));
        else if (e.type == kRtRcdata && is("MainForm") && k.forms.empty()) k.forms.push_back(std::move(e));
        else if (e.type == kRtRcdata && is("MainMenuProc") && k.names.empty()) k.names.push_back(std::move(e));
        return true;
    }
    if (!IsBuildableVersion(v)) return true;
    if (e.type == kRtMenu) {
        if (k.menus.size() < 16) k.menus.push_back(std::move(e));
    } else if (e.type == kRtAccel) {
        if (k.accels.size() < 16) k.accels.push_back(std::move(e));
    } else if (e.type == kRtRcdata && e.data.size() >= 4 && e.data[0] == 'T' && e.data[1] == 'X') {
        uint16_t t = uint16_t(e.data[2] | e.data[3] << 8);
        if (t == 0 && k.version.empty()) k.version.push_back(std::move(e));
        else if (t == 1 && k.forms.size() < 16) k.forms.push_back(std::move(e));
        else if (t == 2 && k.names.size() < 16) k.names.push_back(std::move(e));
        else if (t >= 3 && t <= 5) {
            k.lists[t - 3] = std::move(e);
            k.hasList[t - 3] = true;
        }
    }
    return true;
}

}  // namespace

std::string CompiledPath(const std::string &scriptPath) {
    size_t from = prj::FindLastSb(scriptPath, '\\');
    size_t colon = prj::FindLastSb(scriptPath, ':');
    if (colon != std::string::npos && (from == std::string::npos || colon > from)) from = colon;
    from = from == std::string::npos ? 1 : from + 1;
    std::string lower = scriptPath;
    for (auto &c : lower)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    size_t at = lower.find(".rc", from);
    if (at == std::string::npos || at == 0) return {};
    return scriptPath.substr(0, at + 1) + "res";
}

std::string RcOutputPath(const std::string &scriptPath) {
    size_t dot = scriptPath.rfind('.');
    return dot == std::string::npos ? scriptPath + ".res" : scriptPath.substr(0, dot + 1) + "res";
}

ResLayout ProbeRes(const std::vector<uint8_t> &f, Document &doc) {
    // 16-bit: a type field of 0xFF and a number below 256.
    if (f.size() >= 3 && !(f[0] == 0 && f[1] == 0 && f[2] == 0) && f[2] == 0) {
        In in{f};
        for (;;) {
            Entry16 e;
            bool bad;
            if (!Next16(in, e, bad)) break;
            if (e.type == kRtRcdata && prj::EqualNoCase(e.name, kVersionName)) {
                if (SetVersion(f, e.data, e.size, doc)) return ResLayout::Old16;
                break;
            }
            in.pos = e.next;
        }
        doc.version = kVersion16Bit, doc.version2 = 0;
        return ResLayout::Old16;
    }
    In in{f, 32};
    if (f.size() < 32) return ResLayout::Bad;
    for (;;) {
        Entry32 e;
        bool bad;
        if (!Next32(in, e, bad)) {
            if (bad && e.type != 0xFFFFFFFFu && e.type > 255) return ResLayout::Bad;
            break;
        }
        if (e.type == kRtEnd) break;
        if (e.type == kRtRcdata && prj::EqualNoCase(e.name, kVersionName) && SetVersion(f, e.data, e.size, doc))
            return ResLayout::Win32;
        in.pos = e.next;
    }
    doc.version = kVersion16Bit, doc.version2 = 0;
    return ResLayout::Win32;
}

bool ReadResEntries(const std::vector<uint8_t> &f, ResLayout layout, uint16_t version, KeptEntries &kept) {
    kept = KeptEntries{};
    In in{f, layout == ResLayout::Old16 ? size_t(0) : size_t(32)};
    if (layout == ResLayout::Old16 && f.size() >= 32 && f[0] == 0 && f[1] == 0 && f[2] == 0) in.pos = 32;
    for (;;) {
        bool bad;
        ResourceEntry r;
        size_t data, size, next;
        if (layout == ResLayout::Old16) {
            Entry16 e;
            if (!Next16(in, e, bad)) return !bad;
            r.type = e.type, r.name = e.name, data = e.data, size = e.size, next = e.next;
            if (e.type != kRtMenu && e.type != kRtAccel && e.type != kRtRcdata) {
                in.pos = next;
                continue;
            }
        } else {
            Entry32 e;
            if (!Next32(in, e, bad)) return !bad;
            if (e.type == kRtEnd) return true;
            r.type = e.type, r.name = e.name, data = e.data, size = e.size, next = e.next;
        }
        r.version = version;
        r.data.assign(f.begin() + data, f.begin() + data + size);
        if (!Keep(std::move(r), kept)) return false;
        in.pos = next;
    }
}

bool BuildFromKept(DesignerHost &host, Document &doc, KeptEntries &kept, bool wide, const std::string &scriptPath,
                   const std::string &currentFolder) {
    doc.menus.menus.clear();
    uint32_t owner = 0;
    for (auto &m : kept.menus)
        if (!MnuFromResource(host, doc.menus, m.name, m.data.data(), m.data.size(), wide, owner)) {
            host.Message(kMsgMenuLoad);
            return false;
        }
    for (auto &a : kept.accels) MnuApplyAccel(doc.menus, a.name, a.data.data(), a.data.size(), wide);
    for (auto &n : kept.names)
        if (!MnuApplyNames(doc.menus, n.name, n.data.data(), n.data.size())) {
            host.Message(kMsgMenuLoad);
            return false;
        }
    // Menu items that had no name record still get their events.
    for (size_t i = 0; i < doc.menus.menus.size(); ++i) {
        MenuEntry &e = doc.menus.menus[i];
        for (size_t j = 0; j < e.block.ItemCount(); ++j) {
            const MenuItem &it = e.block.items[j];
            if (!(it.flags & kMfSeparator) && !e.events.Find(it.id))
                e.events.Add(MnuItemKind(it), it.id, FieldText(it.name, sizeof it.name), false, false);
        }
    }
    if (doc.version != kVersion102) {
        std::string folder = prj::FolderOf(scriptPath);
        for (int k = 0; k < 3; ++k)
            if (kept.hasList[k] && !ResFilesLoad(doc.lists[k], kept.lists[k].data.data(), kept.lists[k].data.size(),
                                                 folder, currentFolder)) {
                host.Message(kMsgNoMemory);
                return false;
            }
    }
    for (auto &fe : kept.forms) {
        FormBuildResult r = FrmBuildFromData(host, doc, fe.data.data(), fe.data.size(), fe.version, scriptPath);
        fe.data.clear();
        if (!r.ok) return false;
    }
    return true;
}

bool RcLoadCompiled(DesignerHost &host, Document &doc, const std::vector<uint8_t> &file, const std::string &scriptPath,
                    const std::string &currentFolder) {
    doc.converted = 0;
    ResLayout layout = ProbeRes(file, doc);
    if (layout == ResLayout::Bad) return false;
    if (layout == ResLayout::Old16) {
        doc.converted = 1;
    } else if (IsOldLayoutVersion(doc.version)) {
        doc.version = kVersion6;
        doc.converted = 1;
        doc.modified = true;
    }
    uint16_t v = doc.version;
    if (!IsBuildableVersion(v)) {
        // Entries are still read, so a damaged file is told apart, but no
        // step builds this version.
        KeptEntries kept;
        ReadResEntries(file, layout, v, kept);
        return false;
    }
    KeptEntries kept;
    if (!ReadResEntries(file, layout, v, kept)) return false;
    Document fresh;
    fresh.version = doc.version, fresh.version2 = doc.version2, fresh.converted = doc.converted;
    fresh.modified = doc.modified;
    if (!BuildFromKept(host, fresh, kept, layout == ResLayout::Win32, scriptPath, currentFolder)) {
        // What was built before the failure goes with it.
        for (auto &form : fresh.forms) {
            for (size_t i = 1; i < form.table.size(); ++i) CtlReleaseResources(host, fresh, form.table[i], true);
            if (!form.table.empty()) CtlReleaseResources(host, fresh, form.table[0], false);
            if (form.mdiClient) host.DropWindow(form.mdiClient);
            host.DropWindow(form.window);
        }
        return false;
    }
    doc = std::move(fresh);
    return true;
}

}  // namespace dsg
