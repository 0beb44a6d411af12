#include "sjis_path.h"

namespace prj {

namespace {

char UpperChar(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// Start of the file name part: after the last backslash.
std::size_t NameStart(std::string_view path) {
    std::size_t b = FindLastSb(path, '\\');
    return b == std::string_view::npos ? 0 : b + 1;
}

// The dot that starts the extension, npos when the name has none.
std::size_t ExtensionDot(std::string_view path) {
    std::size_t start = NameStart(path);
    std::size_t dot = FindLastSb(path.substr(start), '.');
    return dot == std::string_view::npos ? dot : start + dot;
}

}  // namespace

std::size_t FindFirstSb(std::string_view s, char ch) {
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (IsSjisLead(static_cast<unsigned char>(s[i])) && i + 1 < s.size()) {
            ++i;
            continue;
        }
        if (s[i] == ch)
            return i;
    }
    return std::string_view::npos;
}

std::size_t FindLastSb(std::string_view s, char ch) {
    std::size_t found = std::string_view::npos;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (IsSjisLead(static_cast<unsigned char>(s[i])) && i + 1 < s.size()) {
            ++i;
            continue;
        }
        if (s[i] == ch)
            found = i;
    }
    return found;
}

std::size_t FindLastSbUpTo(std::string_view s, char ch, std::size_t limit) {
    if (limit == std::string_view::npos)
        return std::string_view::npos;
    if (limit + 1 < s.size())
        s = s.substr(0, limit + 1);
    return FindLastSb(s, ch);
}

std::string UpperSb(std::string_view s) {
    std::string out(s);
    for (std::size_t i = 0; i < out.size(); ++i) {
        if (IsSjisLead(static_cast<unsigned char>(out[i])) && i + 1 < out.size()) {
            ++i;
            continue;
        }
        out[i] = UpperChar(out[i]);
    }
    return out;
}

bool EqualNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && UpperSb(a) == UpperSb(b);
}

std::size_t FindNoCase(std::string_view s, std::string_view needle) {
    const std::string hs = UpperSb(s);
    const std::string nd = UpperSb(needle);
    for (std::size_t i = 0; i + nd.size() <= hs.size(); ++i) {
        if (hs.compare(i, nd.size(), nd) == 0)
            return i;
        if (IsSjisLead(static_cast<unsigned char>(hs[i])))
            ++i;
    }
    return std::string_view::npos;
}

std::string BareName(std::string_view path) {
    return std::string(path.substr(NameStart(path)));
}

std::string FolderOf(std::string_view path) {
    std::size_t b = FindLastSb(path, '\\');
    return b == std::string_view::npos ? std::string() : std::string(path.substr(0, b));
}

int32_t TakeDrive(std::string &path) {
    if (path.size() < 2 || path[1] != ':')
        return -1;
    char c = path[0];
    if (c >= 'a' && c <= 'z')
        c = static_cast<char>(c - 'a' + 'A');
    path.erase(0, 2);
    return c - 64;
}

bool HasFolder(std::string_view path) {
    return FindLastSb(path, '\\') != std::string_view::npos;
}

std::string ExtensionOf(std::string_view path) {
    std::size_t dot = ExtensionDot(path);
    return dot == std::string_view::npos ? std::string() : std::string(path.substr(dot + 1));
}

bool HasExtension(std::string_view path) {
    return ExtensionDot(path) != std::string_view::npos;
}

std::string ReplaceExtension(std::string_view path, std::string_view ext) {
    std::size_t dot = ExtensionDot(path);
    std::string out(path.substr(0, dot));
    out += '.';
    out += ext;
    return out;
}

std::string CutSb(std::string_view s, std::size_t max) {
    if (s.size() <= max)
        return std::string(s);
    std::size_t i = 0;
    while (i < max) {
        std::size_t step = IsSjisLead(static_cast<unsigned char>(s[i])) ? 2 : 1;
        if (i + step > max)
            break;
        i += step;
    }
    return std::string(s.substr(0, i));
}

}  // namespace prj
