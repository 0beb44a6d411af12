// The project core's surroundings on Win32: files, clock, registry,
// messages and the IDE's windows, as the project document and the build
// hand them to ide/project.
#pragma once

#include "project_env.h"

namespace prjui {

// One set for the whole program (the GUI thread uses it).
prj::ProjectEnv& Env();

}  // namespace prjui
