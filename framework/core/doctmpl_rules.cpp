#include "doctmpl_rules.h"

#include "mbcs.h"

namespace fw {

std::string DocTemplateField(std::string_view templ, DocField field) {
    int want = static_cast<int>(field);
    size_t start = 0;
    for (int i = 0; i < want; ++i) {
        size_t nl = templ.find('\n', start);
        if (nl == std::string_view::npos)
            return {};
        start = nl + 1;
    }
    size_t end = templ.find('\n', start);
    return std::string(templ.substr(start, end == std::string_view::npos ? end : end - start));
}

std::string PathExtension(std::string_view path) {
    size_t slash = FindLastChar(path, '\\');
    size_t nameStart = slash == std::string_view::npos ? 0 : slash + 1;
    std::string_view name = path.substr(nameStart);
    size_t dot = FindLastChar(name, '.');
    if (dot == std::string_view::npos)
        return {};
    return std::string(name.substr(dot));
}

DocMatch MatchDocExtension(std::string_view filterExt, std::string_view path) {
    if (!filterExt.empty() && filterExt[0] == '.' && EqualNoCase(PathExtension(path), filterExt))
        return DocMatch::Yes;
    return DocMatch::Maybe;
}

int ChooseDocTemplate(const std::vector<std::string>& filterExts, std::string_view path) {
    int maybe = -1;
    for (size_t i = 0; i < filterExts.size(); ++i) {
        DocMatch m = MatchDocExtension(filterExts[i], path);
        if (m == DocMatch::Yes)
            return static_cast<int>(i);
        if (m == DocMatch::Maybe && maybe < 0)
            maybe = static_cast<int>(i);
    }
    return maybe;
}

}  // namespace fw
