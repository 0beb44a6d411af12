#include "sc_listing.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

#include "lebytes.h"
#include "sc_pass.h"
#include "sc_workfile.h"

namespace txsc {

namespace {

void Put(FILE *f, std::string_view s, uint32_t detail) {
    if (!s.empty() && std::fwrite(s.data(), 1, s.size(), f) != s.size()) throw OutFatal{kErrWrite, detail};
}

bool IsVariableKind(uint8_t k) { return k == 1 || k == 2 || k == 17 || k == 18; }
bool IsLocalKind(uint8_t k) { return k == 3 || k == 4 || k == 33 || k == 52; }
bool IsRoutineKind(uint8_t k) { return k == 5 || k == 6 || k == 15; }

class XrefWriter {
public:
    XrefWriter(ScPass &p, FILE *out, WorkFile &refs) : p_(p), tab_(p.tab), out_(out), refs_(refs) {}
    void Run();

private:
    void Text(std::string_view s) { Put(out_, s, kDetailXref); }
    std::string References(uint32_t first);
    void Variable(uint32_t h, bool indent);
    void LabelEntry(uint32_t h, bool indent);
    void Routine(uint32_t h);
    template <typename Pred>
    std::vector<uint32_t> Symbols(Pred keep);
    template <typename Pred>
    std::vector<uint32_t> Labels(Pred keep);

    ScPass &p_;
    SymbolTable &tab_;
    FILE *out_;
    WorkFile &refs_;
};

// The lines of a reference list; a definition (flag 0) marks its line '#'.
std::string XrefWriter::References(uint32_t first) {
    std::string s;
    for (uint32_t at = first; at;) {
        uint8_t rec[8];
        refs_.Seek(at);
        refs_.Read(rec, sizeof rec);
        uint32_t next = le::GetU32(rec);
        std::string field = NumberField(uint16_t(rec[4] | rec[5] << 8));
        if (rec[6] == 0) {
            size_t blank = field.find_last_of(' ');
            if (blank != std::string::npos) field[blank] = '#';
        }
        s += field;
        // Records are only ever appended, so a link that does not point
        // forward is a broken file, not a list to follow.
        if (next <= at) break;
        at = next;
    }
    return s;
}

template <typename Pred>
std::vector<uint32_t> XrefWriter::Symbols(Pred keep) {
    std::vector<uint32_t> v;
    for (int b = 0; b < kChains; ++b)
        for (uint32_t h = tab_.symHead(b); h; h = tab_.sym(h).next)
            if (keep(tab_.sym(h))) v.push_back(h);
    std::stable_sort(v.begin(), v.end(), [&](uint32_t a, uint32_t b) {
        return XrefNameLess(tab_.sym(a).name, tab_.sym(b).name);
    });
    return v;
}

template <typename Pred>
std::vector<uint32_t> XrefWriter::Labels(Pred keep) {
    std::vector<uint32_t> v;
    for (int b = 0; b < kChains; ++b)
        for (uint32_t h = tab_.labelHead(b); h; h = tab_.label(h).next)
            if (keep(tab_.label(h))) v.push_back(h);
    std::stable_sort(v.begin(), v.end(), [&](uint32_t a, uint32_t b) {
        return XrefNameLess(tab_.label(a).name, tab_.label(b).name);
    });
    return v;
}

void XrefWriter::Variable(uint32_t h, bool indent) {
    const Symbol &s = tab_.sym(h);
    if (!s.name.empty() && s.name[0] == 't') return;  // the analyzer's temporaries
    std::string name = s.name;
    if (s.dims) name += "()";
    std::string line = indent ? "\t" : "";
    line += name;
    line += NamePadding(name.size());
    line += XrefTypeName(s.type);
    line += XrefKindName(s.kind);
    line += References(s.xref[0]);
    line += '\n';
    Text(line);
}

void XrefWriter::LabelEntry(uint32_t h, bool indent) {
    const Label &l = tab_.label(h);
    std::string name = l.name;
    if (name.empty() || name[0] < '0' || name[0] > '9') name.insert(name.begin(), '*');
    std::string line = indent ? "\t" : "";
    line += name;
    line += NamePadding(name.size());
    line += References(l.xref[0]);
    line += '\n';
    Text(line);
}

void XrefWriter::Routine(uint32_t h) {
    const Symbol &s = tab_.sym(h);
    if (!s.xref[0]) return;
    std::string line = s.name;
    line += NamePadding(s.name.size());
    line += XrefKindName(s.kind);
    line += s.kind == 6 ? "              " : XrefTypeName(s.type);
    line += References(s.xref[0]);
    line += '\n';
    Text(line);
    if (!s.owner) {
        Text("\n\n");
        return;
    }
    uint16_t id = s.owner;
    for (uint32_t v : Symbols([&](const Symbol &x) { return IsLocalKind(x.kind) && x.owner == id; }))
        Variable(v, true);
    Text("\n");
    for (uint32_t l : Labels([&](const Label &x) { return x.owner == id; })) LabelEntry(l, true);
    Text("\n");
}

void XrefWriter::Run() {
    for (uint32_t h : Symbols([](const Symbol &s) { return IsVariableKind(s.kind); })) Variable(h, false);
    Text("\n");
    for (uint32_t h : Labels([](const Label &l) { return l.owner == 0; })) LabelEntry(h, false);
    Text("\n");
    for (uint32_t h : Symbols([](const Symbol &s) { return IsRoutineKind(s.kind); })) Routine(h);
}

}  // namespace

std::string NumberField(uint32_t n) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%7u", n);
    return buf;
}

std::string_view NamePadding(size_t n) {
    if (n <= 7) return "\t\t";
    if (n <= 15) return "\t";
    return "\n\t\t";
}

bool XrefNameLess(std::string_view a, std::string_view b) {
    size_t n = std::min(a.size(), b.size());
    int c = std::memcmp(a.data(), b.data(), n);  // memcmp compares as unsigned char
    if (c != 0) return c < 0;
    return a.size() < b.size();
}

std::string CountLine(uint16_t errors, uint16_t warnings) {
    std::string s = CountLineError();
    s += ' ';
    s += NumberField(errors);
    s += ' ';
    s += CountLineWarning();
    s += ' ';
    s += NumberField(warnings);
    s += '\n';
    return s;
}

void ListStatement(ListingState &st, FILE *listing, FILE *expanded, uint16_t mainLine, uint16_t stmtCount,
                   std::string_view text) {
    if (listing && mainLine != 0 && !(st.any && st.lastLine == mainLine)) {
        std::string line = NumberField(mainLine);
        line += ' ';
        line += text;
        line += '\n';
        Put(listing, line, kDetailListing);
        st.any = true;
        st.lastLine = mainLine;
    }
    if (expanded) {
        std::string line = NumberField(stmtCount);
        line += ' ';
        line += text;
        line += '\n';
        Put(expanded, line, kDetailExpanded);
    }
}

void ListCountLine(FILE *listing, FILE *expanded, uint16_t errors, uint16_t warnings) {
    std::string line = CountLine(errors, warnings);
    if (listing) Put(listing, line, kDetailListing);
    if (expanded) Put(expanded, line, kDetailExpanded);
}

void WriteXref(ScPass &p, FILE *out, WorkFile &refs) {
    try {
        XrefWriter w(p, out, refs);
        w.Run();
    } catch (const std::bad_alloc &) {
        throw OutFatal{kErrNoMemory};
    }
}

}  // namespace txsc
