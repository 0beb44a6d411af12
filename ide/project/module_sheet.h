// What the project property sheet's pages ("ｿｰｽ" and "ﾗｲﾌﾞﾗﾘ") and the
// dependency-file dialog change in the project when they end with OK.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "project_data.h"
#include "project_env.h"

namespace prj {

// A module now in the project and the document number its open editors get.
struct ListedModule {
    std::string full_path;
    uint32_t doc_number;
};

// The module page's OK. `candidates` are the names in the unregistered list,
// `listed` those in the project list, `working` the page's copies of the
// module records; `editor_path` gives the path of an open editor document of
// a name (empty when none). Modules named in `candidates` leave the project;
// every listed name gets the next document number and is added (or
// updated) from its working record, or from a new record made from the name
// (a bare name lies in the project folder).
// Returns the names removed and the modules listed, for the editors.
struct ModulePageResult {
    std::vector<std::string> removed;
    std::vector<ListedModule> listed;
};
ModulePageResult ApplyModulePage(ProjectData &d, const std::vector<std::string> &candidates,
                                 const std::vector<std::string> &listed,
                                 const std::vector<std::unique_ptr<CBasData>> &working, FileSystem &fs,
                                 IdeContext &ide, const std::function<std::string(const std::string &)> &editor_path);

// A name ending in ".obj" (any case) is an object file, every other one a
// library.
bool IsObjectFileName(const std::string &name);

// How the library page lists a chosen file: its bare name when a file of
// that name lies in a folder of `search_path` (";"-separated) or in the
// project folder, else the full path.
std::string LibraryListName(const ProjectData &d, const std::string &full_path, const std::string &search_path,
                            FileSystem &fs);

// The library page's OK: names in `candidates` leave the library or object
// list (the first equal entry), names in `listed` that `held` (the page's
// names at its start) lacks join it. True when the project changed.
bool ApplyLibraryPage(ProjectData &d, const std::vector<std::string> &candidates,
                      const std::vector<std::string> &listed, const std::vector<std::string> &held);

// The dependency-file dialog's OK for a module: a name still chosen in the
// dialog joins the list when it lacks it; a non-empty list becomes the
// module's dependencies (flag 1), an empty one clears them (flag 0). With
// `shorten` the names of files in the project folder are kept bare. True
// when the module changed.
bool ApplyDependencyList(CBasData &module, std::vector<std::string> list, const std::string &still_chosen,
                         const ProjectData *shorten);

}  // namespace prj
