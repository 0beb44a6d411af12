#include "project_data.h"

#include <algorithm>
#include <cstring>

#include "sjis_path.h"

namespace prj {

namespace {

void PutU32(uint8_t *p, uint32_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
    p[2] = static_cast<uint8_t>(v >> 16);
    p[3] = static_cast<uint8_t>(v >> 24);
}

uint32_t GetU32(const uint8_t *p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

// A per-user switch sets one bit to its lowest bit; 2 or more leaves the default.
void ApplySwitch(Settings &settings, const char *name, uint32_t bit, uint32_t &flags) {
    std::optional<uint32_t> v = settings.UserEnvDword(name);
    if (!v || *v >= 2)
        return;
    flags = *v ? (flags | bit) : (flags & ~bit);
}

}  // namespace

std::string ModuleOptions::IncludePath() const {
    return std::string(include_path.data(), strnlen(include_path.data(), include_path.size()));
}

void ModuleOptions::SetIncludePath(const std::string &path) {
    include_path.fill(0);
    std::string cut = CutSb(path, include_path.size() - 1);
    std::copy(cut.begin(), cut.end(), include_path.begin());
}

void ModuleOptions::ToBytes(uint8_t *out) const {
    PutU32(out, flags);
    std::memcpy(out + 4, include_path.data(), include_path.size());
}

ModuleOptions ModuleOptions::FromBytes(const uint8_t *in) {
    ModuleOptions o;
    o.flags = GetU32(in);
    std::memcpy(o.include_path.data(), in + 4, o.include_path.size());
    return o;
}

ModuleOptions DefaultModuleOptions(Settings &settings) {
    ModuleOptions o;
    ApplySwitch(settings, "CF", kOptForNextQv, o.flags);
    ApplySwitch(settings, "CV", kOptNoDefaultVars, o.flags);
    return o;
}

void NormaliseReadOptions(ModuleOptions &o) {
    o.flags = (o.flags & ~kOptClearedOnRead) | kOptSetOnRead;
}

void CBasData::OptionBytes(uint8_t *out) const {
    options.ToBytes(out);
    std::memcpy(out + kOptionBlockSize, options_tail.data(), options_tail.size());
}

void CBasData::SetOptionBytes(const uint8_t *in) {
    options = ModuleOptions::FromBytes(in);
    std::memcpy(options_tail.data(), in + kOptionBlockSize, options_tail.size());
}

ProjectData::ProjectData(Settings &settings)
    : settings_(settings), module_defaults_(DefaultModuleOptions(settings)) {
    default_options = module_defaults_;
    std::optional<uint32_t> model = settings.UserEnvDword("ExeModel");
    if (model && (*model == 0 || *model == 2 || *model == 3))
        run_model = static_cast<uint16_t>(*model);
}

std::unique_ptr<CBasData> ProjectData::NewModule() const {
    return std::make_unique<CBasData>(module_defaults_);
}

void ProjectData::ResetContents() {
    module_count_read = 0;
    modules.clear();
    objects.clear();
    libraries.clear();
    make_script_path.clear();
    project_folder.clear();
    debug_mode = 0;
    default_project_mode = 0;
}

void ProjectData::InitNewProject() {
    ResetContents();
    project_file_name = is_frame_project ? "DEFAULT.MAK" : title;
}

std::string ProjectData::GetProjectOutputName() const {
    if (!exe_name.empty())
        return exe_name;
    const std::string &base = project_file_name.empty() ? title : project_file_name;
    if (base.empty())
        return std::string();
    return ReplaceExtension(base, "exe");
}

bool ProjectData::IsFileInProject(uint32_t number) const {
    if (number == rc_doc_number || number == bet_doc_number)
        return true;
    return std::any_of(modules.begin(), modules.end(),
                       [&](const auto &m) { return m->doc_number == number; });
}

CBasData *ProjectData::FindProjectFile(uint32_t number) {
    for (auto &m : modules)
        if (m->doc_number == number)
            return m.get();
    return nullptr;
}

CBasData *ProjectData::FindModuleByPath(const std::string &p) {
    for (auto &m : modules)
        if (EqualNoCase(m->stored_path, p))
            return m.get();
    return nullptr;
}

CBasData *ProjectData::FindModuleByFullPath(const std::string &p) {
    for (auto &m : modules)
        if (EqualNoCase(m->full_path, p))
            return m.get();
    return nullptr;
}

std::string ProjectData::GetProjectFileFolder() const {
    std::string file = path;
    if (file.empty()) {
        std::string letter = drive > 0 ? std::string(1, static_cast<char>('@' + drive)) + ":" : "";
        if (project_folder == "\\" || project_folder.empty())
            file = letter.empty() ? project_file_name : letter + "\\" + project_file_name;
        else
            file = letter + project_folder + "\\" + project_file_name;
    }
    return FolderOf(file);
}

std::string ProjectData::GetProjectFileName(const std::string &p) const {
    if (HasFolder(p) && EqualNoCase(FolderOf(p), GetProjectFileFolder()))
        return BareName(p);
    return p;
}

void ProjectData::AddFileToProject(const CBasData &from, IdeContext &ide) {
    CBasData *m = FindModuleByPath(from.stored_path);
    // Document number 0 means "not open": it must not pick an unrelated module.
    if (!m && from.doc_number != 0)
        m = FindProjectFile(from.doc_number);
    uint8_t option_bytes[kModuleOptionBytes];
    from.OptionBytes(option_bytes);
    if (!m) {
        auto added = NewModule();
        added->doc_number = from.doc_number;
        added->stored_path = from.stored_path;
        added->full_path = from.full_path;
        added->own_options = from.own_options;
        added->SetOptionBytes(option_bytes);
        added->dep_flag = from.dep_flag;
        added->deps = from.deps;
        modules.push_back(std::move(added));
        flags |= kFlagModuleAdded;
        modified = true;
        return;
    }
    if (m->stored_path != from.stored_path) {
        ide.InsertTreeFile(kCatProgram, m->stored_path, from.stored_path);
        m->stored_path = from.stored_path;
        modified = true;
    }
    if (m->full_path != from.full_path) {
        m->full_path = from.full_path;
        modified = true;
    }
    if (from.own_options == 1) {
        m->own_options = 1;
        m->SetOptionBytes(option_bytes);
        modified = true;
    } else {
        m->own_options = 0;
    }
    if (from.dep_flag == 1) {
        m->dep_flag = 1;
        m->deps.clear();
        for (const std::string &d : from.deps) {
            m->deps.push_back(d);
            modified = true;
        }
    } else {
        m->dep_flag = 0;
        if (!m->deps.empty()) {
            m->deps = from.deps;
            modified = true;
        }
    }
}

bool ResolveExistingPath(FileSystem &fs, const std::string &p, std::string &out) {
    if (!p.empty() && fs.Exists(p)) {
        out = fs.FullPath(p);
        return true;
    }
    out = p;
    return false;
}

void DriveAndFolderOf(const std::string &full_path, int32_t &drive, std::string &folder) {
    std::string rest = full_path;
    drive = TakeDrive(rest);
    std::size_t b = FindLastSb(rest, '\\');
    folder = b == std::string::npos ? std::string() : rest.substr(0, b + 1);
    if (folder.size() > 1)
        folder.pop_back();
}

std::vector<TreeGroup> ProjectTreeGroups(const ProjectData &doc) {
    std::vector<TreeGroup> groups;
    TreeGroup program{kCatProgram, {}};
    for (const auto &m : doc.modules)
        program.items.push_back(doc.GetProjectFileName(m->full_path));
    if (!program.items.empty())
        groups.push_back(std::move(program));
    TreeGroup library{kCatLibrary, {}};
    for (const std::string &l : doc.libraries)
        library.items.push_back(doc.GetProjectFileName(l));
    for (const std::string &o : doc.objects)
        library.items.push_back(doc.GetProjectFileName(o));
    if (!library.items.empty())
        groups.push_back(std::move(library));
    if (!doc.bet_path.empty())
        groups.push_back({kCatEnvironment, {doc.GetProjectFileName(doc.bet_path)}});
    if (!doc.rc_path.empty())
        groups.push_back({kCatResource, {doc.GetProjectFileName(doc.rc_path)}});
    return groups;
}

OptionDialogValues OptionsToDialog(const ModuleOptions &o) {
    OptionDialogValues v;
    v.interrupt_check = (o.flags & kOptInterruptCheck) != 0;
    v.overflow_check = (o.flags & kOptOverflowCheck) != 0;
    v.for_next_qv = (o.flags & kOptForNextQv) != 0;
    v.source_listing = (o.flags & kOptSourceListing) != 0;
    v.cross_reference = (o.flags & kOptCrossReference) != 0;
    v.no_default_vars = (o.flags & kOptNoDefaultVars) != 0;
    v.include_path = o.IncludePath();
    return v;
}

void DialogToOptions(const OptionDialogValues &v, ModuleOptions &o) {
    const struct {
        bool on;
        uint32_t bit;
    } bits[] = {
        {v.interrupt_check, kOptInterruptCheck}, {v.overflow_check, kOptOverflowCheck},
        {v.for_next_qv, kOptForNextQv},          {v.source_listing, kOptSourceListing},
        {v.cross_reference, kOptCrossReference}, {v.no_default_vars, kOptNoDefaultVars},
    };
    for (const auto &b : bits)
        o.flags = b.on ? (o.flags | b.bit) : (o.flags & ~b.bit);
    o.SetIncludePath(v.include_path);
}

void DialogToModuleOptions(const OptionDialogValues &v, const ModuleOptions &reference,
                           CBasData &module) {
    const OptionDialogValues ref = OptionsToDialog(reference);
    const bool same = v.interrupt_check == ref.interrupt_check &&
                      v.overflow_check == ref.overflow_check &&
                      v.for_next_qv == ref.for_next_qv &&
                      v.source_listing == ref.source_listing &&
                      v.cross_reference == ref.cross_reference &&
                      v.no_default_vars == ref.no_default_vars &&
                      EqualNoCase(v.include_path, ref.include_path);
    module.own_options = same ? 0 : 1;
    DialogToOptions(v, module.options);
}

}  // namespace prj
