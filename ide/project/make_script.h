// The make script (.mk2) that NMAKE runs for a build: rewritten in full from
// the open project before every build.
#pragma once

#include <string>

#include "project_data.h"
#include "project_env.h"

namespace prj {

// Where the script goes: the program's bare name with the extension "mk2",
// in the project folder.
std::string MakeScriptPath(const ProjectData &doc);

// The compiler options of one option block, as BOPTS and modules with their
// own options carry them.
std::string CompilerOptionText(const ModuleOptions &o, const ProjectData &doc, Settings &settings);

// WriteMakeScript: 1 when written; 0 when the file cannot be created (no
// message) or the module list is refused (message shown, file deleted).
// The path is remembered in doc.make_script_path, emptied on a refusal.
int WriteMakeScript(ProjectData &doc, ProjectEnv &env);

}  // namespace prj
