// What a build needs of the process around NMAKE that holds no window: the
// program path the running-program check looks for, the NMAKE command line,
// and PATH, LIB and INCLUDE with the option folders in front for the run.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "project_data.h"

namespace prj {

// The program the build makes: the exe name, else the project file name
// with the extension "exe".
std::string BuildProgramName(const ProjectData &doc);

// The full path of that program, from the project's drive and folder (the
// current folder may be anywhere when the check runs).
std::string TargetProgramPath(const ProjectData &doc);

// "NMAKE /nologo [/a ]/f "<script>"".
std::string NmakeCommandLine(const std::string &script_path, bool rebuild_all);

// The build log: a new file with a unique "TV" name in the IDE's folder, or
// in the temporary folder when the IDE's folder takes none (a read-only
// installation). `create` makes such a file in a folder and gives its path.
// None when neither folder takes one: the build then writes no log.
using CreateUniqueFile = std::function<std::optional<std::string>(const std::string &folder)>;
std::optional<std::string> CreateBuildLog(const CreateUniqueFile &create, const std::string &ide_folder,
                                          const std::string &temp_folder);

// The process environment, as the IDE's own variables.
class EnvironmentVars {
public:
    virtual ~EnvironmentVars() = default;
    // The whole value; none when the variable is not set.
    virtual std::optional<std::string> Get(const char *name) = 0;
    // none removes the variable.
    virtual void Set(const char *name, const std::optional<std::string> &value) = 0;
};

struct BuildFolders {
    std::string bin, lib, include;  // the option folders
    // The application's stored values, used when a variable is not set.
    std::string stored_path, stored_lib, stored_include;
};

// PATH, LIB and INCLUDE for one NMAKE run: read whole, the option folder put
// in front, and put back exactly as they were (unset ones unset again).
class BuildVariables {
public:
    void Apply(EnvironmentVars &env, const BuildFolders &folders);
    void Restore(EnvironmentVars &env);

private:
    std::optional<std::string> saved_[3];
    bool applied_ = false;
};

}  // namespace prj
