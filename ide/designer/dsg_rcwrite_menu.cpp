// The script sections of menus, accelerators, menu control names, images
// and the file lists.
#include <cstdio>

#include "dsg_rcwrite.h"
#include "sjis_path.h"

namespace dsg {

namespace {

std::string Hex(uint32_t v) {
    char b[16];
    snprintf(b, sizeof b, "0x%x", unsigned(v));
    return b;
}

// A caption inside double quotes: quotes and backslashes escaped for the
// compiler, and the access-letter marks 0x1E and 0x1F as octal escapes.
std::string MenuText(std::string_view s) {
    std::string o = "\"";
    for (size_t i = 0; i < s.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        if (prj::IsSjisLead(c) && i + 1 < s.size()) {
            o += s[i];
            o += s[++i];
        } else if (c == 0x1E) {
            o += "\\036";
        } else if (c == 0x1F) {
            o += "\\037";
        } else if (c == '"') {
            o += "\"\"";
        } else if (c == '\\') {
            o += "\\\\";
        } else {
            o += char(c);
        }
    }
    return o + "\"";
}

void Tree(const MenuBlock &m, size_t &i, int d, std::string &o) {
    o.append(size_t(d), '\t');
    o += "BEGIN\r\n";
    while (i < m.ItemCount()) {
        const MenuItem &it = m.items[i++];
        o.append(size_t(d + 1), '\t');
        if (it.flags & kMfPopup) {
            o += "POPUP " + MenuText(FieldText(it.caption, sizeof it.caption)) + "\r\n";
            Tree(m, i, d + 1, o);
        } else if (it.flags & kMfSeparator) {
            o += "MENUITEM SEPARATOR\r\n";
        } else {
            o += "MENUITEM " + MenuText(FieldText(it.caption, sizeof it.caption)) + ",\t" + Hex(it.id);
            if (it.flags & kMfChecked) o += ", CHECKED";
            if (it.flags & kMfGrayed) o += ", GRAYED";
            o += "\r\n";
        }
        if (it.flags & kMfEnd) break;
    }
    o.append(size_t(d), '\t');
    o += "END\r\n";
}

std::string AccelRow(const MenuItem &it) {
    uint16_t f = it.keyFlags;
    std::string key = Hex(it.key), words;
    bool shift = f & kAccShift, ctrl = f & kAccControl;
    if (f == 0) {
        char c = char(it.key & 0xFF);
        key = c == '"' ? "\"\"\"\"" : c == '\\' ? "\"\\\\\"" : std::string("\"") + c + "\"";
        words = "VIRTKEY, CONTROL";
    } else if (shift && ctrl) {
        words = "VIRTKEY, CONTROL, SHIFT";
    } else if (shift) {
        words = "VIRTKEY, SHIFT";
    } else if (ctrl) {
        words = "VIRTKEY, CONTROL";
    } else if (f & kAccVirtKey) {
        words = "VIRTKEY";
    } else {
        return "\t\r\n";
    }
    // Without its ALT word a shortcut with Alt would come back without it.
    if (f != 0 && (f & kAccAlt)) words += ", ALT";
    return "\t" + key + ",\t" + Hex(it.keyCommand) + ",\t" + words + "\r\n";
}

void ItemHeader(std::string &o, int type) {
    o += "\t// RCDATAITEMHEADER\r\n\t\"TX\", " + std::to_string(type) + "\r\n";
}

std::string Quote0(std::string_view s) {
    std::string q = QuoteString(s);
    return q;
}

}  // namespace

bool RcWriteMenus(DesignerHost &, Document &doc, std::string &out, uint32_t &message) {
    for (auto &e : doc.menus.menus) {
        std::string name = e.block.Name();
        if (!IsValidName(name, 31)) {
            message = kMsgBadName;
            return false;
        }
        out += "// '" + name + "' menu template ===\r\n" + name + " MENU\r\n";
        size_t i = 0;
        Tree(e.block, i, 0, out);
        out += "\r\n";
    }
    for (auto &e : doc.menus.menus) {
        const MenuBlock &m = e.block;
        bool any = false;
        for (size_t i = 0; i < m.ItemCount(); ++i) any |= m.items[i].hasShortcut != 0;
        if (!any) continue;
        out += "// '" + m.Name() + "' Accelerator template ===\r\n" + m.Name() + " ACCELERATORS\r\nBEGIN\r\n";
        for (size_t i = 0; i < m.ItemCount(); ++i)
            if (m.items[i].hasShortcut) out += AccelRow(m.items[i]);
        out += "END\r\n\r\n";
    }
    for (auto &e : doc.menus.menus) {
        const MenuBlock &m = e.block;
        out += "// '" + m.Name() + "' Menu control name ==========\r\n" + m.Name() + " RCDATA\r\nBEGIN\r\n";
        ItemHeader(out, 2);
        out += "\t__BEGIN\r\n";
        for (size_t i = 0; i < m.ItemCount(); ++i) {
            const MenuItem &it = m.items[i];
            std::string item = FieldText(it.name, sizeof it.name);
            out += "\t\t__MENUCTRLNAME, " + Hex(it.id) + ",\t" + Quote0(item) + "\r\n";
            if (it.flags & kMfSeparator) continue;
            if (EventBlock *b = e.events.Find(it.id)) {
                bool any = false;
                for (auto &en : b->entries) {
                    en.mark = en.proc != DefaultProcName(item, en.event, false);
                    any |= en.mark != 0;
                }
                if (any) {
                    out += "\t\t__EVENT, __BEGIN\r\n";
                    for (auto &en : b->entries)
                        if (en.mark)
                            out += std::string("\t\t\t") + kEventNames[en.event].keyword + ", " + Quote0(en.proc) + "\r\n";
                    out += "\t\t__END\r\n";
                }
            }
            out += "\r\n";
        }
        out += "\t__END\r\nEND\r\n\r\n";
    }
    return true;
}

bool RcWriteFiles(Document &doc, const std::string &scriptPath, std::string &out) {
    static const char *const kTitle[3] = {"Icon", "Bitmap", "Cursor"};
    static const char *const kWord[3] = {"ICON", "BITMAP", "CURSOR"};
    static const char *const kList[3] = {"TQ70IconList", "TQ70BitmapList", "TQ70CursorList"};
    for (int k = 0; k < 3; ++k) {
        const FileList &l = doc.lists[k];
        if (!l.exists) continue;
        out += std::string("// ") + kTitle[k] + " ===\r\n";
        for (auto &e : l.entries)
            out += ResourceName(e.path) + "\t" + kWord[k] + "\t\"" + EscapePath(ScriptRelativePath(e.path, scriptPath)) +
                   "\"\r\n";
        out += "\r\n";
    }
    for (int k = 0; k < 3; ++k) {
        const FileList &l = doc.lists[k];
        if (!l.exists) continue;
        out += std::string("// ") + kTitle[k] + " file list ===\r\n" + kList[k] + " RCDATA\r\nBEGIN\r\n";
        ItemHeader(out, 3 + k);
        for (auto &e : l.entries)
            out += "\t\"" + EscapePath(ScriptRelativePath(e.path, scriptPath)) + "\\0\"\r\n";
        out += "END\r\n\r\n";
    }
    return true;
}

}  // namespace dsg
