#include "wizard_check.h"

#include "sjis_path.h"

namespace prj {

namespace {

// The name without its extension: the text before the last '.'.
std::string WithoutExtension(const std::string &name) {
    const std::size_t dot = FindLastSb(name, '.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

}  // namespace

uint32_t CheckWizardFields(const std::array<std::string, 5> &fields, int main_module, int form_module) {
    for (const std::string &f : fields)
        if (f.empty())
            return kMsgFillAllFields;
    if (EqualNoCase(WithoutExtension(fields[main_module]), WithoutExtension(fields[form_module])))
        return kMsgSameModuleNames;
    return 0;
}

std::string WizardFolder(const std::string &text) {
    if (text.empty())
        return ".";
    std::string f = text;
    if (FindLastSb(f, '\\') == f.size() - 1)
        f.pop_back();
    return f;
}

}  // namespace prj
