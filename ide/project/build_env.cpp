#include "build_env.h"

#include "sjis_path.h"

namespace prj {

namespace {

constexpr const char *kVarNames[3] = {"PATH", "LIB", "INCLUDE"};

}  // namespace

std::string BuildProgramName(const ProjectData &doc) {
    return doc.exe_name.empty() ? ReplaceExtension(doc.project_file_name, "exe") : doc.exe_name;
}

std::string TargetProgramPath(const ProjectData &doc) {
    const std::string name = BuildProgramName(doc);
    // A name that carries its own drive or root is already whole.
    if ((name.size() > 1 && name[1] == ':') || (!name.empty() && name[0] == '\\'))
        return name;
    std::string folder = doc.project_folder;
    if (!folder.empty() && FindLastSb(folder, '\\') == folder.size() - 1)
        folder.pop_back();
    const std::string letter = doc.drive > 0 ? std::string(1, static_cast<char>('@' + doc.drive)) + ":" : "";
    return letter + folder + "\\" + name;
}

std::string NmakeCommandLine(const std::string &script_path, bool rebuild_all) {
    return std::string(rebuild_all ? "NMAKE /nologo /a /f " : "NMAKE /nologo /f ") + "\"" + script_path + "\"";
}

std::optional<std::string> CreateBuildLog(const CreateUniqueFile &create, const std::string &ide_folder,
                                          const std::string &temp_folder) {
    if (std::optional<std::string> p = create(ide_folder))
        return p;
    return create(temp_folder);
}

void BuildVariables::Apply(EnvironmentVars &env, const BuildFolders &folders) {
    const std::string *front[3] = {&folders.bin, &folders.lib, &folders.include};
    const std::string *stored[3] = {&folders.stored_path, &folders.stored_lib, &folders.stored_include};
    for (int i = 0; i < 3; ++i) {
        saved_[i] = env.Get(kVarNames[i]);
        env.Set(kVarNames[i], *front[i] + ";" + (saved_[i] ? *saved_[i] : *stored[i]));
    }
    applied_ = true;
}

void BuildVariables::Restore(EnvironmentVars &env) {
    if (!applied_)
        return;
    for (int i = 0; i < 3; ++i)
        env.Set(kVarNames[i], saved_[i]);
    applied_ = false;
}

}  // namespace prj
