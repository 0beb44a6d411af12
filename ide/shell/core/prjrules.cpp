#include "prjrules.h"
#include "dbcs.h"

#include <cstdio>
#include <cstdlib>

namespace tambrix {

namespace {

bool Newer(const FileTime& a, const FileTime& than) { return a && than && *a > *than; }

// Upper case as the system converts it, leaving double-byte characters alone.
std::string Upper(std::string_view s) {
    std::string r(s);
    for (size_t i = 0; i < r.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(r[i]);
        if (tx::IsSjisLeadByte(c)) {
            ++i;
            continue;
        }
        if (c >= 'a' && c <= 'z')
            r[i] = static_cast<char>(c - 32);
    }
    return r;
}

struct Line {
    size_t begin;
    size_t end; // before the line end
};

std::vector<Line> Lines(std::string_view t) {
    std::vector<Line> v;
    size_t b = 0;
    for (;;) {
        size_t n = t.find('\n', b);
        if (n == std::string_view::npos) {
            v.push_back({b, t.size()});
            return v;
        }
        size_t e = n;
        if (e > b && t[e - 1] == '\r')
            --e;
        v.push_back({b, e});
        b = n + 1;
    }
}

size_t LineOf(const std::vector<Line>& lines, size_t pos) {
    for (size_t i = 0; i + 1 < lines.size(); ++i)
        if (pos < lines[i + 1].begin)
            return i;
    return lines.size() - 1;
}

} // namespace

OutOfDate CheckOutOfDate(const BuildTimes& t) {
    OutOfDate r;
    if (!t.program) {
        r.rebuild = r.programMissing = true;
        return r;
    }
    bool newer = Newer(t.project, t.program) || Newer(t.environment, t.program) ||
                 Newer(t.resourceScript, t.program) || Newer(t.resource, t.program);
    for (const auto& m : t.modules)
        newer = newer || Newer(m.source, t.program) || Newer(m.object, t.program);
    r.rebuild = newer;
    return r;
}

std::optional<TextSel> FindDown(std::string_view text, TextSel sel, std::string_view what, bool matchCase) {
    if (what.empty())
        return std::nullopt;
    std::string hay = matchCase ? std::string(text) : Upper(text);
    std::string needle = matchCase ? std::string(what) : Upper(what);
    size_t start = sel.end;
    if (sel.start != sel.end)
        start = sel.start + (tx::IsSjisLeadByte(static_cast<unsigned char>(text[sel.start])) ? 2 : 1);
    auto lines = Lines(text);
    if (start > text.size())
        return std::nullopt;
    for (size_t i = LineOf(lines, start); i < lines.size(); ++i) {
        size_t from = std::max(lines[i].begin, start);
        if (from > lines[i].end)
            continue;
        std::string_view line(hay.data() + from, lines[i].end - from);
        size_t at = line.find(needle);
        if (at != std::string_view::npos)
            return TextSel{from + at, from + at + what.size()};
    }
    return std::nullopt;
}

std::optional<TextSel> FindUp(std::string_view text, TextSel sel, std::string_view what, bool matchCase) {
    if (what.empty())
        return std::nullopt;
    size_t limit = sel.start != sel.end ? sel.end - 1 : sel.end;
    if (limit == 0)
        return std::nullopt;
    std::string hay = matchCase ? std::string(text) : Upper(text);
    std::string needle = matchCase ? std::string(what) : Upper(what);
    auto lines = Lines(text);
    size_t li = LineOf(lines, limit);
    for (size_t i = li + 1; i-- > 0;) {
        size_t stop = i == li ? std::min(limit, lines[i].end) : lines[i].end;
        std::string_view line(hay.data() + lines[i].begin, stop - lines[i].begin);
        size_t at = line.rfind(needle);
        if (at != std::string_view::npos)
            return TextSel{lines[i].begin + at, lines[i].begin + at + what.size()};
    }
    return std::nullopt;
}

bool ReplaceNext(std::string& text, TextSel& sel, std::string_view what, std::string_view with, bool matchCase) {
    if (what.empty())
        return false;
    auto m = FindDown(text, TextSel{sel.end, sel.end}, what, matchCase);
    if (!m)
        return false;
    text.replace(m->start, m->end - m->start, with);
    sel = TextSel{m->start, m->start + with.size()};
    return true;
}

std::string MarginText(int32_t hundredthsMm) {
    char b[24];
    std::snprintf(b, sizeof b, "%dmm", static_cast<int>(hundredthsMm / 100));
    return b;
}

int PageSizeRowFor(const std::vector<SizeRow>& rows, const std::string& sizeText) {
    if (rows.empty())
        return -1;
    for (size_t i = 0; i < rows.size(); ++i)
        if (rows[i].text == sizeText)
            return static_cast<int>(i);
    long value = std::strtol(sizeText.c_str(), nullptr, 10);
    long previous = 0;
    int choice = -1;
    for (size_t i = 0; i < rows.size(); ++i) {
        long v = std::strtol(rows[i].text.c_str(), nullptr, 10);
        if (previous < value && value <= v)
            choice = static_cast<int>(i);
        previous = v;
    }
    return choice < 0 ? 0 : choice;
}

int32_t SizeTextTenths(const std::string& sizeText) {
    // Decimal digits by hand: "10.5" must give 105, not 104.99...
    int32_t whole = 0, tenth = 0;
    size_t i = 0;
    while (i < sizeText.size() && sizeText[i] == ' ')
        ++i;
    for (; i < sizeText.size() && sizeText[i] >= '0' && sizeText[i] <= '9'; ++i)
        whole = whole * 10 + (sizeText[i] - '0');
    if (i + 1 < sizeText.size() && sizeText[i] == '.' && sizeText[i + 1] >= '0' && sizeText[i + 1] <= '9')
        tenth = sizeText[i + 1] - '0';
    return whole * 10 + tenth;
}

} // namespace tambrix
