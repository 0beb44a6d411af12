#include "dsg_rcwrite.h"

#include <cstdio>
#include <cstring>

#include "dsg_formdata.h"
#include "sjis_path.h"

namespace dsg {

namespace {

const char *const kKindSuffix[19] = {
    "_FORM", "_MDIFRAME", "_MDICHILD", "_PUSHBUTTON", "_RADIOBUTTON", "_CHECKBOX", "_GROUPBOX",
    "_EDIT", "_TEXT", "_LISTBOX", "_HSCROLLBAR", "_VSCROLLBAR", "_COMBOBOX", "_PICTUREBOX",
    "_OLECLIENT", "_BMPBUTTON", "_TIMER", "_MCI", "_PRINTER",
};
const char *const kMapModes[7] = {"MAP_TEXT", "MAP_PIXEL", "MAP_LOMETRIC", "MAP_HIMETRIC",
                                  "MAP_LOENGLISH", "MAP_HIENGLISH", "MAP_TWIPS"};
const char *const kRedraw[2] = {"RDRW_META", "RDRW_BITMAP"};

const char *MapName(uint32_t m) { return m < 7 ? kMapModes[m] : ""; }
const char *RedrawName(uint32_t m) { return m < 2 ? kRedraw[m] : ""; }

std::string D16(uint32_t v) { return std::to_string(v & 0xFFFF); }
std::string L32(uint32_t v) { return std::to_string(int32_t(v)) + "L"; }
std::string X32(uint32_t v) {
    char b[16];
    snprintf(b, sizeof b, "0x%xL", unsigned(v));
    return b;
}

constexpr const char *kCrLf = "\r\n";

void Row(std::string &o, const char *item, std::initializer_list<std::string> values, int tabs = 1) {
    o.append(size_t(tabs), '\t');
    o += item;
    for (auto &v : values) o += ", " + v;
    o += kCrLf;
}

void Comment(std::string &o, const std::string &text) { o += "// " + text + kCrLf; }

void ItemHeader(std::string &o, int type) {
    o += "\t";
    Comment(o, "RCDATAITEMHEADER");
    o += "\t\"TX\", " + std::to_string(type) + kCrLf;
}

std::string Field(const char *f, size_t n) { return FieldText(f, n); }

void EventRows(std::string &o, EventTable &t, const ControlRecord &r) {
    EventBlock *b = t.Find(r.id);
    if (!b || b->kind != r.kind) return;
    std::string name = Field(r.name, sizeof r.name);
    bool any = false;
    for (auto &e : b->entries) {
        e.mark = e.proc != DefaultProcName(name, e.event, true);
        any |= e.mark != 0;
    }
    if (!any) return;
    o += "\t__EVENT\r\n\t__BEGIN\r\n";
    for (auto &e : b->entries)
        if (e.mark) Row(o, kEventNames[e.event].keyword, {QuoteString(prj::UpperSb(e.proc))}, 2);
    o += "\t__END\r\n";
}

struct FormWriter {
    DesignerHost &host;
    Document &doc;
    Form &form;

    Point ToLogical(Point p) {
        return FrmDPtoLP(host, form.window, form.table[0].area[fa::mapMode], p);
    }

    void Record(std::string &o, const ControlRecord &r) {
        uint32_t k = r.kind;
        bool formKind = k == kForm || k == kMdiFrame || k == kMdiChild;
        std::string name = Field(r.name, sizeof r.name);
        if (formKind) {
            std::string icon = Field(AreaText(r, fa::iconName), 16);
            size_t dot = prj::FindLastSb(icon, '.');
            if (dot != std::string::npos) icon.resize(dot);
            Row(o, "__CLASS", {QuoteString(name), QuoteString(icon)});
        }
        Row(o, "__CREATE3", {std::string("XWT") + (k < 19 ? kKindSuffix[k] : ""), X32(r.style) + ", " + X32(r.exStyle)});
        Row(o, "__ATTRDATA3", {X32(r.attributes)});
        if (k == kForm || k == kMdiChild) {
            Row(o, "__3DFORM3", {X32(r.area[fa::form3D])});
            if (r.area[fa::mapMode] != 0) Row(o, "__MAPMODE", {MapName(r.area[fa::mapMode])});
            Row(o, "__REDRAWMODE", {RedrawName(r.area[fa::redrawMode])});
            if (r.area[fa::mapMode] == 0 && (r.area[fa::bufferColumns] != 80 || r.area[fa::bufferRows] != 24))
                Row(o, "__TEXTBUFFER", {D16(r.area[fa::bufferColumns]), D16(r.area[fa::bufferRows])});
            Row(o, "__AXIS3", {X32(r.axis == 0x3064 ? 0 : 1)});
        }
        if (k == kPicture) {
            if (r.area[pa::mapMode] != 1) Row(o, "__MAPMODE", {MapName(r.area[pa::mapMode])});
            Row(o, "__REDRAWMODE", {RedrawName(r.area[pa::redrawMode])});
        }
        if (k <= kText) {
            std::string text = r.hwnd ? host.GetText(r.hwnd) : std::string();
            std::string q = QuoteString(text);
            if (k == kEdit) {
                std::string t;
                for (size_t i = 0; i < q.size(); ++i) {
                    if (q[i] == '\r' && i + 1 < q.size() && q[i + 1] == '\n') {
                        t += "\\r\\n";
                        ++i;
                    } else {
                        t += q[i];
                    }
                }
                q = t;
            }
            Row(o, "__WINDOWTITLE", {q});
        }
        Row(o, "__CONTROLNAME", {QuoteString(name)});
        if (k == kEdit) Row(o, "__LIMITTEXT3", {X32(r.maxLength)});
        if (k == kRadio || k == kCheck) Row(o, "__VALUE3", {X32(r.value)});
        if (k == kList || k == kCombo) {
            std::string joined;
            auto items = host.GetListItems(r.hwnd);
            for (size_t i = 0; i < items.size(); ++i) {
                if (i) joined += "\\r\\n";
                std::string q = QuoteString(items[i]);
                joined += q.substr(1, q.size() - 4);
            }
            Row(o, "__LISTITEM3", {"\"" + joined + "\\0\""});
        }
        if ((k == kForm || k == kMdiFrame) && form.menu >= 0 && &r == &form.table[0])
            Row(o, "__MENU", {QuoteString(doc.menus.menus[form.menu].block.Name())});
        if (r.cursorId) Row(o, "__CURSORID", {X32(r.cursorId)});
        else if (r.cursorName[0]) Row(o, "__CURSOR", {QuoteString(Field(r.cursorName, 16))});
        if (formKind) {
            Row(o, "__TEXTCOLOR", {D16(r.area[fa::textColor])});
            Row(o, "__FORECOLOR", {D16(r.area[fa::foreColor])});
            Row(o, "__BACKCOLOR", {D16(r.area[fa::backColor])});
            if (r.area[fa::attribute] != 4) Row(o, "__ATTRIBUTE", {D16(r.area[fa::attribute])});
            Point g = FrmDPtoLP(host, form.window, r.area[fa::mapMode],
                                {int32_t(r.area[fa::gridX]), int32_t(r.area[fa::gridY])});
            Row(o, "__GRID2", {D16(r.area[fa::gridVisible]), D16(r.area[fa::gridSnap]), D16(uint32_t(g.x)),
                               D16(uint32_t(g.y))});
            Row(o, "__CLIPBOARD", {D16(r.area[fa::clipboard])});
        } else if ((k >= kButton && k <= kList) || k == kCombo) {
            Row(o, "__CTRLTEXTCOLOR", {X32(r.area[ca::ctlTextColor])});
            Row(o, "__CTRLBACKCOLOR", {X32(r.area[ca::ctlBackColor])});
        } else if (k == kHScroll || k == kVScroll) {
            if (r.area[sa::minimum] || r.area[sa::maximum])
                Row(o, "__SCROLLRANGE", {D16(r.area[sa::minimum]), D16(r.area[sa::maximum])});
            if (r.area[sa::smallChange] || r.area[sa::largeChange])
                Row(o, "__SCROLLSTEP", {D16(r.area[sa::smallChange]), D16(r.area[sa::largeChange])});
            if (r.area[sa::position]) Row(o, "__VALUE3", {X32(r.area[sa::position])});
            Row(o, "__CTRLBACKCOLOR", {X32(r.area[sa::ctlBackColor])});
        } else if (k == kPicture) {
            if (r.area[pa::textColor]) Row(o, "__TEXTCOLOR", {D16(r.area[pa::textColor])});
            if (r.area[pa::foreColor]) Row(o, "__FORECOLOR", {D16(r.area[pa::foreColor])});
            if (r.area[pa::backColor] != 15) Row(o, "__BACKCOLOR", {D16(r.area[pa::backColor])});
            if (r.area[pa::attribute] != 4) Row(o, "__ATTRIBUTE", {D16(r.area[pa::attribute])});
        } else if (k == kBmpButton) {
            Row(o, "__BITMAP", {QuoteString(Field(AreaText(r, ba::bitmapName), 16))});
            Row(o, "__BUTTONSTYLE", {X32(r.area[ba::buttonStyle])});
            Row(o, "__BUTTONFRAME", {D16(r.area[ba::frameA]), D16(r.area[ba::frameB])});
            Row(o, "__FRAMESIZE", {D16(r.area[ba::frameSizeA]), D16(r.area[ba::frameSizeB])});
            Row(o, "__DRAWINTERVAL", {D16(r.area[ba::drawInterval])});
            Row(o, "__BUTTONSTATE", {D16(r.area[ba::buttonState])});
            Row(o, "__VALUE3", {X32(r.area[ba::position])});
            std::string tip = Field(AreaText(r, ba::tooltip), 24);
            if (!tip.empty()) Row(o, "__TOOLTIP", {QuoteString(tip)});
        } else if (k == kTimer) {
            Row(o, "__TIMER", {r.area[ta::enabled] > 0 ? "65535" : "0", L32(r.area[ta::interval])});
        }
        LogFont f;
        if (r.font && host.GetFont(r.font, f)) {
            Row(o, "__FONTSIZE", {D16(uint32_t(FontHeightToPoints(host, r, f.height)))});
            if (f.weight != 400) Row(o, "__FONTBOLD", {"1"});
            if (f.italic) Row(o, "__FONTITALIC", {"1"});
            if (f.underline) Row(o, "__FONTUNDERLINE", {"1"});
            if (f.strikeOut) Row(o, "__FONTSTRIKEOUT", {"1"});
            Row(o, "__FONTNAME2", {QuoteString(f.face), std::to_string(f.charSet), std::to_string(f.pitchAndFamily)});
        }
        if (k == kEdit) Row(o, "__IMEMODE3", {X32(r.imeMode)});
        if (k == kForm || k == kMdiChild) {
            char b[96];
            snprintf(b, sizeof b, "\t__SENDMESSAGE, 0x%XL, 0x%XL, 0x%XL //WM_%s\r\n", 0x32u, unsigned(r.hotKey), 0u,
                     "SETHOTKEY");
            o += b;
        }
        uint32_t pm = r.positionMode == 0x3000 ? 0 : r.positionMode == 0x3001 ? 1 : r.positionMode == 0x3002 ? 2 : 3;
        Point p = ToLogical({r.x, r.y}), s = ToLogical({r.cx, r.cy});
        Row(o, "__WINDOWSIZE3", {X32(pm), X32(uint32_t(p.x)), X32(uint32_t(p.y)), X32(uint32_t(s.x)), X32(uint32_t(s.y))});
        EventRows(o, form.events, r);
    }
};

}  // namespace

std::string QuoteString(std::string_view text) {
    std::string o = "\"";
    for (size_t i = 0; i < text.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if (prj::IsSjisLead(c) && i + 1 < text.size()) {
            o += text[i];
            o += text[++i];
            continue;
        }
        if (c == '"') o += "\"\"";
        else if (c == '\\') o += "\\\\";
        else o += char(c);
    }
    return o + "\\0\"";
}

std::string EscapePath(std::string_view path) {
    std::string o;
    for (size_t i = 0; i < path.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(path[i]);
        if (prj::IsSjisLead(c) && i + 1 < path.size()) {
            o += path[i];
            o += path[++i];
        } else {
            o += char(c);
            if (c == '\\') o += '\\';
        }
    }
    return o;
}

std::string ScriptRelativePath(std::string_view path, std::string_view scriptPath) {
    if (prj::HasFolder(path) && prj::EqualNoCase(prj::FolderOf(path), prj::FolderOf(scriptPath)))
        return prj::BareName(path);
    return std::string(path);
}

WriteResult RcWrite(DesignerHost &host, Document &doc, const std::string &scriptPath, std::string &out) {
    WriteResult res;
    out = "#include \"tq70form.h\"\r\n\r\n";
    Comment(out, "version info ===");
    out += "TX$VersionInfo RCDATA\r\nBEGIN\r\n";
    ItemHeader(out, 0);
    out += "\t0x6, 0x10\r\nEND\r\n\r\n";
    // Forms and menu control-name lists are all RCDATA: one name, one resource.
    std::vector<std::string> names = {"TX$VERSIONINFO", "TQ70ICONLIST", "TQ70BITMAPLIST", "TQ70CURSORLIST"};
    auto twice = [&](const std::string &n) {
        std::string up = prj::UpperSb(n);
        for (auto &o : names)
            if (o == up) return true;
        names.push_back(up);
        return false;
    };
    for (auto &m : doc.menus.menus)
        if (twice(m.block.Name())) {
            res.message = kMsgNameUsed;
            return res;
        }
    for (auto &form : doc.forms) {
        if (form.table.empty()) continue;
        const ControlRecord &fr = form.table[0];
        if (fr.name[0] && twice(FieldText(fr.name, sizeof fr.name))) {
            res.message = kMsgNameUsed;
            return res;
        }
        std::string name = FieldText(fr.name, sizeof fr.name);
        if (name.empty()) {
            res.message = kMsgEmptyId;
            return res;
        }
        // A name the script compiler would misread is refused before anything is lost.
        for (auto &r : form.table)
            if (!IsValidName(FieldText(r.name, sizeof r.name), 21)) {
                res.message = kMsgBadName;
                return res;
            }
        Comment(out, "'" + name + "' form data ===");
        out += name + " RCDATA\r\nBEGIN\r\n";
        ItemHeader(out, 1);
        out += "\t__BEGIN\r\n";
        FormWriter w{host, doc, form};
        for (size_t i = 0; i < form.table.size(); ++i) {
            const ControlRecord &r = form.table[i];
            if (i == 1 && r.kind != kMdiChild) out += "\t__BEGIN\r\n";
            w.Record(out, r);
        }
        if (form.table.size() >= 2 && form.table.back().kind != kMdiChild) out += "\t__END\r\n";
        const char *show = "XSW3_HIDE";
        if (fr.visible == 1 || (fr.style & kWsVisible))
            show = (fr.showState & kWsMaximize) ? "XSW3_SHOWMAXIMIZED"
                   : (fr.showState & kWsMinimize) ? "XSW3_SHOWMINIMIZED" : "XSW3_SHOWNORMAL";
        Row(out, "__SHOWWINDOW3", {show});
        Row(out, "__ENABLEWINDOW", {fr.enable == 1 ? "1" : "0"});
        out += "\t__END\r\nEND\r\n\r\n";
    }
    if (!RcWriteMenus(host, doc, out, res.message)) return res;
    if (!RcWriteFiles(doc, scriptPath, out)) return res;
    out += '\x1A';
    res.ok = true;
    return res;
}

bool StdioScriptFiles::Write(const std::string &path, const std::string &bytes) {
    FILE *f = fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    ok = fflush(f) == 0 && ok;
    return fclose(f) == 0 && ok;
}

bool StdioScriptFiles::Replace(const std::string &from, const std::string &to) {
    if (rename(from.c_str(), to.c_str()) == 0) return true;
    // Windows will not rename over an existing file.
    std::remove(to.c_str());
    return rename(from.c_str(), to.c_str()) == 0;
}

void StdioScriptFiles::Remove(const std::string &path) { std::remove(path.c_str()); }

WriteResult RcSave(DesignerHost &host, Document &doc, const std::string &scriptPath, ScriptFiles &files) {
    std::string text;
    WriteResult res = RcWrite(host, doc, scriptPath, text);
    if (res.ok) {
        std::string temp = scriptPath + "~";
        if (!files.Write(temp, text) || !files.Replace(temp, scriptPath)) {
            files.Remove(temp);
            res.ok = false;
            res.message = kMsgDiskFull;
        }
    }
    if (res.ok) doc.modified = false;
    else host.Message(res.message);
    return res;
}

}  // namespace dsg
