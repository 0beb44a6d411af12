#include "prjseams.h"

#include "dbgsession.h"
#include "neighbours.h"

SeamScript& Seams() {
    static SeamScript s;
    return s;
}

namespace {
void Record(const std::string& what) { Seams().calls.push_back(what); }
}  // namespace

int PrjBuild(CPrjDoc*, bool fullRebuild, bool debugBuild) {
    Record(std::string("Build ") + (fullRebuild ? "1" : "0") + (debugBuild ? "1" : "0"));
    return Seams().buildResult;
}

bool PrjCheckTargetRunning(CPrjDoc*) {
    Record("CheckTargetRunning");
    return !Seams().targetRunning;
}

void PrjPrepareDefault(CPrjDoc* prj) {
    Record("PrepareDefaultProject");
    if (prj)
        prj->m_bFilledFromSource = true;
}

void PrjResetContents(CPrjDoc* prj) {
    Record("ResetContents");
    if (prj) {
        prj->m_bFilledFromSource = false;
        prj->m_nModules = 0;
        prj->m_files.clear();
    }
}

void PrjAddFile(CPrjDoc* prj, const std::string& path, uint32_t flags) {
    Record("AddFileToProject " + path + " " + std::to_string(flags));
    if (prj) {
        ++prj->m_nModules;
        prj->m_files.push_back({static_cast<uint32_t>(prj->m_files.size() + 1), path, path});
    }
}

void PrjResolvePaths(CPrjDoc*, const std::string& path) { Record("ResolveProjectPaths " + path); }

bool RunProjectWizard(CWnd*, int start, WizardAnswer& out) {
    Record("Wizard " + std::to_string(start));
    return Seams().wizard && Seams().wizard(start, out);
}

bool RunCompileOptions(CWnd*, CPrjDoc* prj) {
    Record(prj ? "CompileOptions project" : "CompileOptions frame");
    return Seams().compileOptionsOk;
}

int RunNewResourceDialog(CWnd*) {
    Record("NewResource");
    return Seams().newResourceKind;
}

void DsgNewForm(const char* name) { Record(std::string("FrmCreateNew ") + (name ? name : "")); }
void DsgNewMenu() { Record("MnuCreateNew"); }

bool HasBreakpointsToList(CPrjDoc* prj) {
    return prj && prj->m_pDebug && prj->m_pDebug->Engine().BreakpointCount() > 1;
}

bool RunBreakpointList(CPrjDoc*) {
    Record("BreakpointList");
    return false;
}

bool StartProgramProcess(const ProcessStart& start, HANDLE* process) {
    if (Seams().startProcess)
        return Seams().startProcess(start, process);
    STARTUPINFOA si{};
    si.cb = sizeof si;
    si.lpTitle = const_cast<char*>(start.title.c_str());
    PROCESS_INFORMATION pi{};
    std::string line = start.commandLine;
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, start.flags, nullptr,
                        start.folder.empty() ? nullptr : start.folder.c_str(), &si, &pi))
        return false;
    CloseHandle(pi.hThread);
    *process = pi.hProcess;
    return true;
}
