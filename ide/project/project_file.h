// The project file (.mak): the reader of every version the system has
// written and the writer of version 6.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "project_data.h"
#include "project_env.h"

namespace prj {

constexpr uint16_t kPrjVersionWritten = 6;
constexpr uint16_t kPrjVersionFailed = 0xFFFF;

// The file as it stands, before anything is resolved or applied.
struct PrjImage {
    struct Module {
        uint16_t own_options = 0;
        uint16_t dep_flag = 0;
        std::string path;
        uint8_t options[kModuleOptionBytes] = {};
        std::vector<std::string> deps;
    };
    uint16_t version = 0;
    bool short_layout = false;
    std::string exe_name;
    bool has_rc = false;
    std::string rc_path;
    bool has_bet = false;
    std::string bet_path;
    uint8_t default_options[kOptionBlockSize] = {};
    uint16_t module_count = 0;
    bool has_model_record = false;
    uint16_t run_model = 0;
    std::vector<Module> modules;
    std::vector<std::string> objects;
    std::vector<std::string> libraries;
};

enum class PrjParse {
    kOk,
    kNotProject,   // no 'P','R' header
    kBadVersion,   // a version word no layout covers
    kDamaged,      // shorter than its counts and lengths, or a bad module record
};

// Checks and takes apart a whole file image without reading past its end.
PrjParse ParsePrjImage(const std::vector<uint8_t> &bytes, PrjImage &out);

// ReadProjectHeader and ParseProjectBody: loads `doc` (already reset) from a
// file image. `full_path` is the path of the file being read. On failure the
// document is left as it was with version_read 0xFFFF.
bool ReadProjectFile(ProjectData &doc, const std::vector<uint8_t> &bytes,
                     const std::string &full_path, ProjectEnv &env);

// WriteProjectFile: the version-6 image of `doc`, written as `full_path`.
// Applies the path rule to the document's paths as the file holds them.
std::vector<uint8_t> WriteProjectFile(ProjectData &doc, const std::string &full_path,
                                      ProjectEnv &env);

// ProjectFileListsModule: 1 when the project file names a module whose
// stored path is `name1` or `name2` (without regard to case).
int ProjectFileListsModule(FileSystem &fs, const std::string &project_path,
                           const std::string &name1, const std::string &name2);
// IsModuleInProject: the editor's question whether the project beside a
// source lists it, by its path or its file name; case does not matter, as
// Windows file names do not.
bool IsModuleInProject(FileSystem &fs, const std::string &project_path,
                       const std::string &source_path, const std::string &source_name);

// FindLibraryFile: the Lib option folder and the LIB variable, searched in
// order; 1 and the full path when found.
int FindLibraryFile(ProjectEnv &env, const std::string &name, std::string &out);

}  // namespace prj
