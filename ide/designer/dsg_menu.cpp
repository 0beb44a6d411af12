#include "dsg_menu.h"

#include <cstring>

#include "dsg_host.h"
#include "dsg_model.h"
#include "sjis_path.h"

namespace dsg {

std::string MenuBlock::Name() const { return FieldText(header.name, sizeof header.name); }

void MenuBlock::Sync() {
    header.count = uint32_t(items.size());
    header.size = uint16_t(68 + 182 * items.size());
}

uint32_t MenuBlock::NextFreeId(bool separator) const {
    for (uint32_t id = separator ? kFirstSeparatorId : kFirstItemId;; ++id) {
        bool used = false;
        for (auto &it : items) used |= it.id == id;
        if (!used) return id;
    }
}

bool MenuBlock::AppendEmpty() {
    if (ItemCount() >= kMaxMenuItems) return false;
    MenuItem it{};
    it.id = NextFreeId(false);
    items.push_back(it);
    Sync();
    return true;
}

bool MenuBlock::Insert(size_t pos) {
    if (pos > items.size()) return false;
    MenuItem it{};
    it.id = NextFreeId(false);
    if (pos < items.size()) {
        it.level = items[pos].level;
        it.position = items[pos].position;
    }
    items.insert(items.begin() + pos, it);
    Sync();
    return true;
}

bool MenuBlock::Delete(size_t pos) {
    if (pos >= items.size()) return false;
    items.erase(items.begin() + pos);
    Sync();
    return true;
}

int MenuList::Find(std::string_view name) const {
    for (size_t i = 0; i < menus.size(); ++i)
        if (prj::EqualNoCase(menus[i].block.Name(), name)) return int(i);
    return -1;
}

MenuEntry *MenuList::CreateNew(uint32_t owner) {
    if (menus.size() >= size_t(kMaxMenus)) return nullptr;
    menus.emplace_back();
    MenuEntry &e = menus.back();
    e.block.header.owner = owner;
    std::string name = menus.size() == 1 ? "FormMenu" : "Menu" + std::to_string(menus.size());
    SetField(e.block.header.name, name);
    e.block.AppendEmpty();
    return &e;
}

void MenuList::RenewEvents(int index) {
    MenuEntry &e = menus[index];
    e.events = EventTable{};
    for (size_t i = 0; i < e.block.ItemCount(); ++i) {
        const MenuItem &it = e.block.items[i];
        if (it.flags & kMfSeparator) continue;
        e.events.Add(MnuItemKind(it), it.id, FieldText(it.name, sizeof it.name), false, true);
    }
}

namespace {

struct Numbering {
    MenuBlock &m;
    size_t i = 0;
    uint32_t nextId = kFirstItemId, nextPopup = 0, nextSep = kFirstSeparatorId;
    MenuCheck fail;

    bool Error(uint32_t id, size_t index) {
        fail = {id, int32_t(index)};
        return false;
    }

    bool Level(uint32_t level) {
        size_t n = m.ItemCount();
        uint32_t pos = 0;
        size_t last = SIZE_MAX;
        while (i < n && m.items[i].level == level) {
            MenuItem &it = m.items[i];
            size_t me = i;
            if (!(it.flags & kMfSeparator) && it.caption[0] == 0) return Error(kMsgMenuItem, me);
            if (it.name[0] == 0) return Error(kMsgNoName, me);
            std::string name = FieldText(it.name, sizeof it.name);
            if (!IsValidName(name, 21)) return Error(kMsgBadName, me);
            it.flags &= uint16_t(~kMfEnd);
            it.position = pos++;
            for (size_t j = me + 1; j < n; ++j)
                if (prj::EqualNoCase(FieldText(m.items[j].name, sizeof m.items[j].name), name))
                    return Error(kMsgNameUsed, j);
            last = me;
            if (it.flags & kMfPopup) {
                if (it.flags & kMfSeparator) return Error(kMsgSeparatorPopup, me);
                if (me + 1 < n && m.items[me + 1].level > level + 1) return Error(kMsgMenuItem, me + 1);
                if (it.hasShortcut) return Error(kMsgShortcutPopup, me);
                it.popup = 1;
                it.id = nextPopup++;
                ++i;
                if (!Level(level + 1)) return false;
                continue;
            }
            it.popup = 0;
            if (it.flags & kMfSeparator) {
                if (level == 0) return Error(kMsgMenuItem, me);
                it.id = nextSep++;
            } else {
                if (it.hasShortcut && level == 0) return Error(kMsgShortcutTop, me);
                if (it.hasShortcut)
                    for (size_t j = me + 1; j < n; ++j)
                        if (m.items[j].hasShortcut && m.items[j].keyFlags == it.keyFlags && m.items[j].key == it.key)
                            return Error(kMsgShortcutTwice, j);
                it.id = nextId++;
                if (it.hasShortcut) it.keyCommand = uint16_t(it.id);
            }
            ++i;
        }
        if (last != SIZE_MAX) m.items[last].flags |= kMfEnd;
        return true;
    }
};

uint16_t Le16(const uint8_t *p) { return uint16_t(p[0] | p[1] << 8); }

struct TemplateReader {
    DesignerHost &host;
    const uint8_t *p;
    size_t n, pos;
    bool wide;
    std::vector<MenuItem> out;
    uint32_t nextPopup = 0, nextSep = kFirstSeparatorId;

    bool Text(std::string &s) {
        if (wide) {
            std::u16string w;
            for (;;) {
                if (n - pos < 2) return false;
                char16_t c = char16_t(Le16(p + pos));
                pos += 2;
                if (!c) break;
                w += c;
            }
            s = host.FromWide(w);
        } else {
            const void *z = memchr(p + pos, 0, n - pos);
            if (!z) return false;
            size_t len = static_cast<const uint8_t *>(z) - (p + pos);
            s.assign(reinterpret_cast<const char *>(p + pos), len);
            pos += len + 1;
        }
        return true;
    }

    bool Level(uint32_t level, int depth) {
        if (depth > 64) return false;
        for (uint32_t position = 0;; ++position) {
            if (n - pos < 2) return false;
            uint16_t flags = Le16(p + pos);
            pos += 2;
            MenuItem it{};
            it.position = position;
            it.flags = flags;
            it.level = level;
            std::string caption;
            if (flags & kMfPopup) {
                if (!Text(caption)) return false;
                it.popup = 1;
                it.id = nextPopup++;
                SetField(it.caption, caption);
                if (out.size() >= 358) return false;
                out.push_back(it);
                if (!Level(level + 1, depth + 1)) return false;
            } else {
                if (n - pos < 2) return false;
                uint16_t id = Le16(p + pos);
                pos += 2;
                if (!Text(caption)) return false;
                if ((id == 0 || id >= kFirstSeparatorId) && caption.empty()) {
                    it.flags |= kMfSeparator;
                    it.id = nextSep++;
                } else {
                    it.id = id;
                    if (wide) {
                        // The compiler turns the tab before a shortcut text into two blanks.
                        size_t sp = caption.rfind(' ');
                        if (sp != std::string::npos && sp > 0 && caption[sp - 1] == ' ')
                            caption = caption.substr(0, sp - 1) + "\t" + caption.substr(sp + 1);
                    }
                    SetField(it.caption, caption);
                }
                if (out.size() >= 358) return false;
                out.push_back(it);
            }
            if (flags & kMfEnd) return true;
        }
    }
};

}  // namespace

MenuCheck MnuCheckAndNumber(MenuBlock &m) {
    if (m.ItemCount() == 0) return {};
    if (m.items[0].level != 0) return {kMsgMenuItem, 0};
    Numbering w{m, 0, kFirstItemId, 0, kFirstSeparatorId, {}};
    w.Level(0);
    if (!w.fail.message && w.i < m.ItemCount()) w.fail = {kMsgMenuItem, int32_t(w.i)};
    return w.fail;
}

bool MnuFromResource(DesignerHost &host, MenuList &list, std::string_view name, const uint8_t *data, size_t size,
                     bool wide, uint32_t owner) {
    if (size < 4 || list.menus.size() >= size_t(kMaxMenus)) return false;
    TemplateReader r{host, data, size, 4, wide, {}};
    if (size > 4 && !r.Level(0, 0)) return false;
    MenuEntry e;
    e.block.header.owner = owner;
    SetField(e.block.header.name, name);
    e.block.items = std::move(r.out);
    e.block.items.push_back(MenuItem{});
    e.block.items.back().id = e.block.NextFreeId(false);
    e.block.Sync();
    list.menus.push_back(std::move(e));
    return true;
}

void MnuApplyAccel(MenuList &list, std::string_view name, const uint8_t *data, size_t size, bool wide) {
    int index = list.Find(name);
    if (index < 0) return;
    MenuBlock &m = list.menus[index].block;
    size_t step = wide ? 8 : 5;
    for (size_t at = 0; at + step <= size; at += step) {
        uint16_t flags = wide ? Le16(data + at) : data[at];
        uint16_t key = Le16(data + at + (wide ? 2 : 1));
        uint16_t cmd = Le16(data + at + (wide ? 4 : 3));
        for (size_t i = 0; i < m.ItemCount(); ++i) {
            MenuItem &it = m.items[i];
            if (it.id != cmd || (it.flags & (kMfPopup | kMfSeparator))) continue;
            it.hasShortcut = 1;
            it.keyFlags = flags & 0x7F;
            it.key = key;
            it.keyCommand = cmd;
            break;
        }
    }
}

bool MnuApplyNames(MenuList &list, std::string_view name, const uint8_t *data, size_t size) {
    int index = list.Find(name);
    if (index < 0) return true;
    MenuEntry &e = list.menus[index];
    size_t pos = 6;
    MenuItem *last = nullptr;
    auto str = [&](std::string &s) {
        if (pos >= size) return false;
        const void *z = memchr(data + pos, 0, size - pos);
        if (!z) return false;
        size_t len = static_cast<const uint8_t *>(z) - (data + pos);
        s.assign(reinterpret_cast<const char *>(data + pos), len);
        pos += len + 1;
        return true;
    };
    auto kindOf = [](const MenuItem &it) { return (it.flags & kMfPopup) ? kPopupKind : kMenuItemKind; };
    while (pos + 2 <= size) {
        uint16_t code = Le16(data + pos);
        pos += 2;
        if (code == 0) continue;
        if (code == 2) return true;
        if (code == 90) {
            if (pos + 2 > size) return false;
            uint16_t id = Le16(data + pos);
            pos += 2;
            std::string item;
            if (!str(item)) return false;
            last = nullptr;
            for (size_t i = 0; i < e.block.ItemCount(); ++i)
                if (e.block.items[i].id == id && !(e.block.items[i].flags & kMfSeparator)) {
                    last = &e.block.items[i];
                    break;
                }
            if (!last) {
                // A separator has a name but no events.
                for (size_t i = 0; i < e.block.ItemCount(); ++i)
                    if (e.block.items[i].id == id) {
                        SetField(e.block.items[i].name, item);
                        goto next;
                    }
                return false;
            }
            SetField(last->name, item);
            if (!e.events.Find(id)) e.events.Add(kindOf(*last), id, item, false, false);
        } else if (code == 80) {
            if (pos + 2 > size || !last) return false;
            pos += 2;
            for (;;) {
                if (pos + 2 > size) return false;
                uint16_t ev = Le16(data + pos);
                pos += 2;
                if (ev < 100 || ev > 120) break;
                std::string proc;
                if (!str(proc)) return false;
                if (!e.events.Bind(kindOf(*last), last->id, ev - 100, proc)) return false;
            }
        } else {
            return false;
        }
    next:;
    }
    return false;
}

bool RcBuildMenuTemplate(DesignerHost &host, const MenuBlock &m, std::vector<uint8_t> &out) {
    out.assign(4, 0);
    auto put16 = [&](uint32_t v) {
        out.push_back(uint8_t(v));
        out.push_back(uint8_t(v >> 8));
    };
    for (size_t i = 0; i < m.ItemCount(); ++i) {
        const MenuItem &it = m.items[i];
        uint16_t opt = (it.flags & kMfSeparator) ? uint16_t(it.flags & kMfEnd) : it.flags;
        put16(opt);
        if (!(opt & kMfPopup)) put16(it.id);
        std::u16string w = host.ToWide(FieldText(it.caption, sizeof it.caption));
        for (char16_t c : w) put16(c);
        put16(0);
    }
    return true;
}

}  // namespace dsg
