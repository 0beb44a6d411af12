#include "dsg_menuedit.h"

#include <cstring>

namespace dsg {

namespace {

const char kNone[] = "(\x82\xC8\x82\xB5)";  // (なし)

void SetPopup(MenuItem &it, bool on) {
    it.flags = on ? uint16_t(it.flags | kMenuPopup) : uint16_t(it.flags & ~kMenuPopup);
    it.popup = on ? 1 : 0;
}

}  // namespace

const std::vector<ShortcutEntry> &ShortcutTable() {
    static const std::vector<ShortcutEntry> table = [] {
        std::vector<ShortcutEntry> t;
        t.push_back({kNone, 0, 0});
        for (int n = 0; n < 26; ++n) t.push_back({std::string("Ctrl+") + char('A' + n), 9, uint16_t('A' + n)});
        struct Row { const char *prefix; uint16_t flags; };
        const Row rows[] = {{"F", 1}, {"Ctrl+F", 9}, {"Shift+F", 5}, {"Shift+Ctrl+F", 13}};
        for (const auto &r : rows)
            for (int n = 0; n < 12; ++n) t.push_back({r.prefix + std::to_string(n + 1), r.flags, uint16_t(112 + n)});
        t.push_back({"Del", 1, 46});
        return t;
    }();
    return table;
}

int ShortcutIndex(const MenuItem &item) {
    if (!item.hasShortcut) return 0;
    uint16_t f = item.keyFlags, k = item.key;
    bool shift = f & 4, ctrl = f & 8;
    if (shift && ctrl) return k >= 112 && k < 124 ? 63 + (k - 112) : 0;
    if (shift) return k >= 112 && k < 124 ? 51 + (k - 112) : 0;
    if (ctrl && k < 112) return k >= 'A' && k <= 'Z' ? 1 + (k - 'A') : 0;
    if (ctrl) return k < 124 ? 39 + (k - 112) : 0;
    if (k >= 112) return k < 124 ? 27 + (k - 112) : 0;
    return k == 46 ? 75 : 0;
}

void MnuSetShortcut(MenuItem &item, int index) {
    const auto &t = ShortcutTable();
    if (index <= 0 || index >= int(t.size())) {
        item.hasShortcut = 0;
        item.keyFlags = item.key = 0;
        return;
    }
    item.hasShortcut = 1;
    item.keyFlags = t[size_t(index)].flags;
    item.key = t[size_t(index)].key;
}

std::string CaptionBuild(const CaptionFields &f) {
    std::string s = f.text;
    if (f.key && !f.kana.empty())
        s += std::string("(\x1E") + f.key + "\x1F" + f.kana + ")";
    else if (f.key)
        s += std::string("(&") + f.key + ")";
    if (f.dialog) s += "...";
    if (!f.shortcut.empty()) s += "\t" + f.shortcut;
    return s;
}

CaptionFields CaptionParse(std::string_view caption) {
    CaptionFields f;
    size_t tab = caption.find('\t');
    std::string_view head = caption.substr(0, tab);
    if (tab != std::string_view::npos) {
        size_t s = caption.find_first_not_of('\t', tab);
        if (s != std::string_view::npos) f.shortcut = std::string(caption.substr(s));
    }
    if (head.size() >= 3 && head.substr(head.size() - 3) == "...") {
        f.dialog = true;
        head.remove_suffix(3);
    }
    size_t p = 0;
    for (; p + 1 < head.size(); ++p)
        if (head[p] == '(' && (head[p + 1] == '&' || head[p + 1] == '\x1E')) break;
    if (p + 2 < head.size()) {
        f.key = head[p + 2];
        size_t k = p + 3;
        if (head[p + 1] == '\x1E' && k < head.size() && head[k] == '\x1F') {
            size_t close = head.find(')', k + 1);
            f.kana = std::string(head.substr(k + 1, close == std::string_view::npos ? std::string_view::npos : close - k - 1));
        }
        f.text = std::string(head.substr(0, p));
    } else {
        f.text = std::string(head);
    }
    return f;
}

void MnuLevelUp(MenuBlock &m, size_t i) {
    if (i >= m.ItemCount() || m.items[i].level == 0) return;
    MenuItem &it = m.items[i];
    --it.level;
    bool nextDeeper = i + 1 < m.ItemCount() && m.items[i + 1].level > it.level;
    if (!(it.flags & kMenuPopup) && nextDeeper) SetPopup(it, true);
    // The record above loses its only child.
    if (i > 0 && (m.items[i - 1].flags & kMenuPopup) && m.items[i - 1].level == it.level) SetPopup(m.items[i - 1], false);
}

void MnuLevelDown(MenuBlock &m, size_t i) {
    if (i == 0 || i >= m.ItemCount()) return;
    MenuItem &it = m.items[i];
    ++it.level;
    if (m.items[i - 1].level < it.level) SetPopup(m.items[i - 1], true);
    if ((it.flags & kMenuPopup) && i + 1 < m.ItemCount() && m.items[i + 1].level == it.level) SetPopup(it, false);
}

bool MnuTypeInto(MenuBlock &m, size_t i) {
    if (i + 1 != m.items.size()) return i < m.items.size();
    return m.AppendEmpty();
}

uint32_t MnuEditCheck(const MenuBlock &m) {
    if (m.Name().empty()) return kMsgNoMenuName;
    if (m.ItemCount() == 0) return kMsgNoMenuItems;
    return 0;
}

}  // namespace dsg
