#include "module_sheet.h"

#include <algorithm>

#include "sjis_path.h"

namespace prj {

ModulePageResult ApplyModulePage(ProjectData &d, const std::vector<std::string> &candidates,
                                 const std::vector<std::string> &listed,
                                 const std::vector<std::unique_ptr<CBasData>> &working, FileSystem &fs,
                                 IdeContext &ide, const std::function<std::string(const std::string &)> &editor_path) {
    ModulePageResult out;
    for (const std::string &name : candidates) {
        auto it = std::find_if(d.modules.begin(), d.modules.end(),
                               [&](const auto &m) { return m->stored_path == name; });
        if (it == d.modules.end())
            continue;
        d.modules.erase(it);
        d.modified = true;
        out.removed.push_back(name);
    }
    for (const std::string &name : listed) {
        const uint32_t number = ++d.doc_counter;
        auto rec = std::find_if(working.begin(), working.end(),
                                [&](const auto &w) { return EqualNoCase(w->stored_path, name); });
        CBasData made = rec != working.end() ? **rec : *d.NewModule();
        if (rec == working.end()) {
            // The name as the user chose it, or the open editor's file.
            std::string open = editor_path ? editor_path(name) : std::string();
            // A name without a folder lies in the project's.
            const std::string folder = d.GetProjectFileFolder();
            made.full_path = !open.empty()                       ? open
                             : HasFolder(name) || folder.empty() ? fs.FullPath(name)
                                                                 : folder + "\\" + name;
            made.stored_path = d.GetProjectFileName(made.full_path);
        }
        made.doc_number = number;
        d.AddFileToProject(made, ide);
        // The editors of the module get this number: the module keeps it too,
        // or they would point at no module.
        if (CBasData *m = d.FindModuleByPath(made.stored_path))
            m->doc_number = number;
        d.modified = true;
        out.listed.push_back({made.full_path.empty() ? made.stored_path : made.full_path, number});
    }
    d.default_project_mode = d.modules.empty() ? 1 : 0;
    return out;
}

bool IsObjectFileName(const std::string &name) { return EqualNoCase(ExtensionOf(name), "obj"); }

std::string LibraryListName(const ProjectData &d, const std::string &full_path, const std::string &search_path,
                            FileSystem &fs) {
    const std::string bare = BareName(full_path);
    std::size_t at = 0;
    while (at <= search_path.size()) {
        std::size_t end = search_path.find(';', at);
        if (end == std::string::npos)
            end = search_path.size();
        std::string folder = search_path.substr(at, end - at);
        at = end + 1;
        if (folder.empty())
            continue;
        if (folder.back() != '\\')
            folder += '\\';
        if (fs.Exists(folder + bare))
            return bare;
    }
    if (EqualNoCase(FolderOf(full_path), d.GetProjectFileFolder()))
        return bare;
    return full_path;
}

bool ApplyLibraryPage(ProjectData &d, const std::vector<std::string> &candidates,
                      const std::vector<std::string> &listed, const std::vector<std::string> &held) {
    bool changed = false;
    for (const std::string &name : candidates) {
        std::vector<std::string> &list = IsObjectFileName(name) ? d.objects : d.libraries;
        auto it = std::find(list.begin(), list.end(), name);
        if (it != list.end()) {
            list.erase(it);
            changed = true;
        }
    }
    for (const std::string &name : listed) {
        if (std::find(held.begin(), held.end(), name) != held.end())
            continue;
        (IsObjectFileName(name) ? d.objects : d.libraries).push_back(name);
        changed = true;
    }
    d.modified = d.modified || changed;
    return changed;
}

bool ApplyDependencyList(CBasData &module, std::vector<std::string> list, const std::string &still_chosen,
                         const ProjectData *shorten) {
    if (!still_chosen.empty() && std::none_of(list.begin(), list.end(), [&](const std::string &e) {
            return EqualNoCase(e, still_chosen);
        }))
        list.push_back(still_chosen);
    if (shorten) {
        for (std::string &e : list)
            e = shorten->GetProjectFileName(e);
    }
    const uint16_t flag = list.empty() ? 0 : 1;
    if (module.dep_flag == flag && module.deps == list)
        return false;
    module.dep_flag = flag;
    module.deps = std::move(list);
    return true;
}

}  // namespace prj
