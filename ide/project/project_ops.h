// Operations of the project document that reach beyond its own data: the
// default project of a build without a project file, and the search for the
// module that defines a name.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "project_data.h"
#include "project_env.h"

namespace prj {

// What PrepareDefaultProject takes from the IDE.
struct DefaultProjectSources {
    // The first open editor window: its source's title and path.
    std::optional<OpenWindow> first_editor;
    // The path of an open editor document that belongs to this project.
    std::optional<std::string> owned_editor_path;
    // The option block the main frame keeps for single-source builds.
    std::optional<ModuleOptions> main_frame_options;
};

// PrepareDefaultProject: readies the project for a build without a project
// file; the project's drive and folder are made current.
void PrepareDefaultProject(ProjectData &doc, const DefaultProjectSources &src, FileSystem &fs);

// Whether a source line defines `word` (upper case) as OpenModuleDefiningName
// tests it: the first occurrence in the line counts when it starts the line
// or stands between characters that are no letter, digit or '_'.
bool LineNamesWord(const std::string &line, const std::string &upper_word);

// The module OpenModuleDefiningName opens: the first module, in list order,
// that is not open in an editor and whose source has a line naming the word
// (or `second` when `word` is empty). The caller opens it. -1 when none.
int FindModuleDefiningName(const ProjectData &doc, const std::string &word, const std::string &second,
                           const std::function<bool(const CBasData &)> &is_open, FileSystem &fs);

}  // namespace prj
