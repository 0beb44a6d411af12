// What the project frame's commands call of the project, build, designer
// and debugger subsystems, in one place: until a subsystem supplies its
// own, each call here is a stand-in that records itself (Seams().calls)
// and answers what the test build scripts. Process start goes through
// here too, so a test can record it instead of starting anything.
#pragma once

#include "fw.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class CPrjDoc;

// What the project wizard answers on OK.
struct WizardAnswer {
    std::string folder, projectFile, mainModule;
    bool withForm = false;
    std::string formModule, resourceName;
    uint32_t mainFlags = 0, formFlags = 0;
};

struct ProcessStart {
    std::string commandLine;
    std::string folder;
    DWORD flags = 0;
    std::string title;
};

struct SeamScript {
    std::vector<std::string> calls;
    int buildResult = 1;         // Build: 2 debug button, 1 built, 0 failed
    bool targetRunning = false;  // CheckTargetRunning answers FALSE
    // The wizard: null runs the project subsystem's dialog (none yet: Cancel).
    std::function<bool(int start, WizardAnswer&)> wizard;
    int newResourceKind = -1;    // the new-resource dialog: -1 Cancel
    bool compileOptionsOk = false;
    // Null starts the process for real.
    std::function<bool(const ProcessStart&, HANDLE* process)> startProcess;
};
SeamScript& Seams();

// Project and build (the project document's services).
int PrjBuild(CPrjDoc* prj, bool fullRebuild, bool debugBuild);
bool PrjCheckTargetRunning(CPrjDoc* prj);
void PrjPrepareDefault(CPrjDoc* prj);
void PrjResetContents(CPrjDoc* prj);
void PrjAddFile(CPrjDoc* prj, const std::string& path, uint32_t flags);
void PrjResolvePaths(CPrjDoc* prj, const std::string& path);
bool RunProjectWizard(CWnd* parent, int start, WizardAnswer& out);
// The compile-options dialog over the project's (or the frame's own)
// defaults; true on OK.
bool RunCompileOptions(CWnd* parent, CPrjDoc* prj);

// The designer: the new-resource dialog's kind (-1 cancelled), and the
// first form or a new menu of the current resource document.
int RunNewResourceDialog(CWnd* parent);
void DsgNewForm(const char* name);
void DsgNewMenu();

// The debugger: whether its breakpoint list has something to show, and
// the list itself (true when the user jumped from it).
bool HasBreakpointsToList(CPrjDoc* prj);
bool RunBreakpointList(CPrjDoc* prj);

// Starts the built program; false when it could not start.
bool StartProgramProcess(const ProcessStart& start, HANDLE* process);
