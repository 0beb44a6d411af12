// The build of the open project: the running-program check, the make
// script, NMAKE on three pipes read by two threads into the result window
// and a log file, and the build dialog that reports the outcome and runs
// the program.
#pragma once

#include "build_env.h"

#include <string>

class CPrjDoc;

namespace prjui {

// PATH, LIB and INCLUDE for one tool run (NMAKE, RC), set as a build sets
// them and put back exactly as they were when it goes.
class ToolEnvironment {
public:
    explicit ToolEnvironment(const prj::BuildFolders& folders);
    ~ToolEnvironment();
    ToolEnvironment(const ToolEnvironment&) = delete;
    ToolEnvironment& operator=(const ToolEnvironment&) = delete;

private:
    prj::BuildVariables saved_;
};

// Build: 0 nothing built or it failed, 1 built (or the rebuild question
// cancelled), 2 built and the debugger is asked for.
int Build(CPrjDoc* doc, bool rebuildAll, bool debugBuild);
// 1 when NMAKE ran without a sign of failure.
int RunMake(CPrjDoc* doc, bool rebuildAll);
// 1 when the program to build is not running (else message 22016).
int CheckTargetRunning(CPrjDoc* doc);
// Starts the built program of the project with its folder current; the
// process handle goes to the application's idle watch. False when it did
// not start.
bool RunProgram(CPrjDoc* doc);

// The project frame's own project filled from the open editors for one
// command, and emptied again after it (nothing for any other project).
void PrepareDefaultProject(CPrjDoc* doc);
void ResetDefaultProject(CPrjDoc* doc);

// The result view is going away: later output goes to the log only.
void ForgetOutputView();
// The project is closing: the last build's log goes.
void DeleteBuildLog();
// The path of the last build's log ("" when none).
std::string LastBuildLog();

}  // namespace prjui
