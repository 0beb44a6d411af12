#include "dbg_breaklist.h"

#include <cstdio>
#include <cstdlib>

#include "dbcs.h"

namespace txdbg {

std::string BreakRowNumber(uint32_t line, bool disabled) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%d %c", int(line), disabled ? 'D' : 'E');
    return buf;
}

std::string BreakRowCount(uint32_t pass, uint32_t remaining) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%d-%d", int(pass), int(remaining));
    return buf;
}

std::vector<BreakListRow> BreakListRows(const DebugEngine& engine) {
    std::vector<BreakListRow> rows;
    for (const DbgLine& l : engine.Lines()) {
        if (!l.breakpoint) continue;
        BreakListRow r;
        r.module = l.modulePath;
        r.number = BreakRowNumber(l.bpLine ? l.bpLine : l.line, l.Disabled());
        r.count = BreakRowCount(l.pass, l.remaining);
        r.set = (l.flags & kBpSet) != 0;
        r.frame = l.frame;
        r.address = l.address;
        rows.push_back(std::move(r));
    }
    return rows;
}

BreakListWidths BreakListColumnWidths(int clientWidth) {
    int q = clientWidth / 4;
    return {2 * q - 1, q - 1, q - 1};
}

void ApplyBreakList(DebugEngine& engine, const std::vector<uint64_t>& deleted, const std::vector<BreakListRow>& rows) {
    for (uint64_t a : deleted) {
        DbgLine* l = engine.LineAt(a);
        const DbgModule* m = l ? engine.FindModule(l->module) : nullptr;
        if (l && m && l->breakpoint) engine.RemoveBreakpoint(l->line, 0, m->name);
    }
    for (const BreakListRow& r : rows) {
        DbgLine* l = engine.LineAt(r.address);
        if (!l) continue;
        const char* n = r.number.c_str();
        char* end = nullptr;
        unsigned long line = std::strtoul(n, &end, 10);
        const char* c = r.count.c_str();
        unsigned long pass = std::strtoul(c, &end, 10);
        unsigned long remaining = *end == '-' ? std::strtoul(end + 1, nullptr, 10) : pass;
        bool disabled = r.number.find('D') != std::string::npos;
        l->flags = uint16_t((l->flags & ~(kBpSet | kBpDisabled)) | (r.set ? kBpSet : 0) | (disabled ? kBpDisabled : 0));
        l->bpLine = uint32_t(line);
        l->pass = pass ? uint32_t(pass) : 1;
        l->remaining = uint32_t(remaining);
        l->frame = r.frame;
        l->modulePath = r.module;
    }
}

uint32_t RuntimeErrorHelpContext(uint32_t error) { return error >= 1000 && error <= 1018 ? error + 99000 : error; }

std::string RuntimeErrorHelpFile(const std::string& appHelpFile) {
    size_t cut = std::string::npos;
    for (size_t i = 0; i < appHelpFile.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(appHelpFile[i]);
        if (tx::IsSjisLeadByte(c) && i + 1 < appHelpFile.size()) {
            ++i;
            continue;
        }
        if (c == '\\' || c == '/' || c == ':') cut = i;
    }
    std::string folder = cut == std::string::npos ? std::string() : appHelpFile.substr(0, cut + (appHelpFile[cut] == ':'));
    return folder + "\\tq70ref.hlp";
}

}  // namespace txdbg
