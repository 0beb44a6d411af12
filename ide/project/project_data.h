// The data of a project document (CPrjDoc) and of its modules (CBasData),
// with the operations on them that need no window. The IDE's CPrjDoc keeps a
// ProjectData and adds the framework's document behaviour on top.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "project_env.h"

namespace prj {

constexpr uint32_t kDefaultOptionFlags = 0x4643E6;
constexpr std::size_t kIncludePathSize = 128;
constexpr std::size_t kOptionBlockSize = 132;   // flag word + include path
constexpr std::size_t kModuleOptionBytes = 260; // block + 128 carried bytes

// Bits of the option flag word.
enum : uint32_t {
    kOptRunModelBits = 0xC,       // bits 2-3, in old project files
    kOptInterruptCheck = 0x40,    // /CIe
    kOptOverflowCheck = 0x80,     // /COe
    kOptForNextQv = 0x100,        // /CFF (clear: /CFI)
    kOptSourceListing = 0x800,    // /Fs
    kOptCrossReference = 0x1000,  // /Fx
    kOptNoDefaultVars = 0x80000,  // /CV
    kOptClearedOnRead = 0x300000, // bits 20-21
    kOptSetOnRead = 0x400000,     // bit 22
};

// ModuleOptions: a 32-bit flag word and a NUL-terminated include path.
struct ModuleOptions {
    uint32_t flags = kDefaultOptionFlags;
    std::array<char, kIncludePathSize> include_path{};

    std::string IncludePath() const;
    // Stores the path cut to 127 bytes, the rest zeros.
    void SetIncludePath(const std::string &path);
    void ToBytes(uint8_t *out) const;                 // 132 bytes
    static ModuleOptions FromBytes(const uint8_t *in);
    bool operator==(const ModuleOptions &) const = default;
};

// The defaults with the per-user "CF" and "CV" adjustments applied.
ModuleOptions DefaultModuleOptions(Settings &settings);
// Bits 20-21 cleared and bit 22 set, as whenever a block is read from a file.
void NormaliseReadOptions(ModuleOptions &o);

// One module of the project and its compile settings.
class CBasData {
public:
    explicit CBasData(const ModuleOptions &defaults = ModuleOptions())
        : options(defaults), reference(defaults) {}

    uint32_t doc_number = 0;    // editor document opened through the project
    std::string stored_path;    // as the project file holds it
    std::string full_path;      // as found on disk
    uint16_t own_options = 0;   // 1 = `options` applies, else the project's defaults
    ModuleOptions options;
    std::array<uint8_t, kIncludePathSize> options_tail{};  // carried unchanged
    uint16_t dep_flag = 0;
    std::vector<std::string> deps;
    ModuleOptions reference;    // compared by the compile-options dialog; not stored

    void OptionBytes(uint8_t *out) const;           // the 260 bytes of the file
    void SetOptionBytes(const uint8_t *in);
};

// The fields of CPrjDoc that carry behaviour.
class ProjectData {
public:
    explicit ProjectData(Settings &settings);

    // Flag word bits.
    static constexpr uint32_t kFlagInitial = 0x80;
    static constexpr uint32_t kFlagRebuildAll = 0x40;
    static constexpr uint32_t kFlagModuleAdded = 0x08;

    uint32_t default_project_mode = 0;
    uint32_t flags = kFlagInitial;
    int32_t drive = -1;             // letter - 64 (1 = A:), -1 = none
    std::string project_folder;     // without trailing backslash; "\" for a root
    uint32_t doc_counter = 0;
    uint32_t rc_doc_number = 0;
    uint32_t bet_doc_number = 0;
    uint16_t version_read = 0;
    ModuleOptions default_options;
    std::string project_file_name;  // bare name with extension
    std::string exe_name;
    uint16_t run_model = 3;
    std::string rc_path;
    std::string bet_path;
    uint16_t rebuild_mark = 0;
    uint16_t module_count_read = 0;
    std::vector<std::unique_ptr<CBasData>> modules;
    std::vector<std::string> objects;
    std::vector<std::string> libraries;
    std::string make_script_path;   // remembered for the build run
    uint32_t debug_mode = 0;

    // Framework state the core reads or sets.
    std::string path;               // the document's path (the .mak), may be empty
    std::string title;              // the document's title
    bool modified = false;
    bool is_frame_project = false;  // the project frame's own document (GetProjectDoc)

    // A new module record: the defaults with the registry adjustments.
    std::unique_ptr<CBasData> NewModule() const;

    void ResetContents();
    // The new-document step after the framework's: an empty project named
    // "DEFAULT.MAK" when it is the project frame's own, else after its title.
    void InitNewProject();
    std::string GetProjectOutputName() const;
    bool IsFileInProject(uint32_t number) const;
    CBasData *FindProjectFile(uint32_t number);
    CBasData *FindModuleByPath(const std::string &path);
    CBasData *FindModuleByFullPath(const std::string &path);
    std::string GetProjectFileFolder() const;
    // Display form: the bare name for a file in the project folder.
    std::string GetProjectFileName(const std::string &path) const;
    // AddFileToProject: adds or updates a module from a filled record.
    void AddFileToProject(const CBasData &from, IdeContext &ide);

private:
    Settings &settings_;
    ModuleOptions module_defaults_;
};

// ResolveExistingPath: the full path of an existing file.
bool ResolveExistingPath(FileSystem &fs, const std::string &path, std::string &out);

// Drive number and folder of a full path as the reader takes them.
void DriveAndFolderOf(const std::string &full_path, int32_t &drive, std::string &folder);

// A group of the project tree with the display texts of its items.
struct TreeGroup {
    TreeCategory category;
    std::vector<std::string> items;
};
// FillProjectTree: the groups in tree order, each only when it has entries.
std::vector<TreeGroup> ProjectTreeGroups(const ProjectData &doc);

// The compile-options dialog's values (six bits and the include path).
struct OptionDialogValues {
    bool interrupt_check = true;
    bool overflow_check = true;
    bool for_next_qv = true;
    bool source_listing = false;
    bool cross_reference = false;
    bool no_default_vars = false;
    std::string include_path;
};
OptionDialogValues OptionsToDialog(const ModuleOptions &o);
// Puts the six bits and the path into a block; no other bit changes.
void DialogToOptions(const OptionDialogValues &v, ModuleOptions &o);
// DialogToModuleOptions for a module: own options only when something
// differs from the reference block (the path compared without case).
void DialogToModuleOptions(const OptionDialogValues &v, const ModuleOptions &reference,
                           CBasData &module);

}  // namespace prj
