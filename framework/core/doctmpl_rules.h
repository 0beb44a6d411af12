// The document template string and the choice of a template by file name.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace fw {

// The seven fields of a template string, in order, separated by "\n".
enum class DocField {
    WindowTitle = 0,
    DocName,
    FileNewName,
    FilterName,
    FilterExt,
    RegFileTypeId,
    RegFileTypeName,
};

// One field; empty when the string has fewer fields.
std::string DocTemplateField(std::string_view templ, DocField field);

// The extension of a path as the template choice sees it: from the last
// "." of the file-name part on, or empty when that part has no ".".
std::string PathExtension(std::string_view path);

enum class DocMatch { No, Maybe, Yes };

// A template with a filter extension matches a path whose extension equals
// it (ASCII case ignored); any other template may still try (Maybe).
DocMatch MatchDocExtension(std::string_view filterExt, std::string_view path);

// Index of the template the framework takes for a path: the first Yes,
// else the first Maybe; -1 when there is no template.
int ChooseDocTemplate(const std::vector<std::string>& filterExts, std::string_view path);

}  // namespace fw
