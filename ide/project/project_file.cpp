#include "project_file.h"

#include <cstring>

#include "sjis_path.h"

namespace prj {

namespace {

constexpr uint16_t kModuleRecordMark = 276;
constexpr std::size_t kHeaderSize = 16;
constexpr std::size_t kRecordSize = 1182;        // PrjRecord
constexpr std::size_t kModelRecordSize = 64;     // PrjModelRecord
constexpr std::size_t kShortRecordSize = 542;    // versions 1, 258, 259
constexpr std::size_t kPathField = 260;
constexpr std::size_t kDepListHead = 16;
constexpr std::size_t kFileListHead = 18;

// Offsets of the project record's fields in the two layouts.
struct RecordLayout {
    std::size_t exe, exe_size;
    std::size_t rc_flag, rc, rc_size;
    std::size_t bet_flag, bet, bet_size;
    std::size_t options, count;
};
constexpr RecordLayout kNewLayout = {260, 260, 522, 524, 260, 784, 786, 260, 1048, 1180};
constexpr RecordLayout kShortLayout = {128, 18, 146, 148, 128, 276, 278, 130, 408, 540};

// Reads fields of a file image; every read is checked against its end.
class ByteReader {
public:
    explicit ByteReader(const std::vector<uint8_t> &b) : b_(b) {}
    bool Has(std::size_t pos, std::size_t n) const { return pos <= b_.size() && n <= b_.size() - pos; }
    uint16_t U16(std::size_t pos) const { return static_cast<uint16_t>(b_[pos] | (b_[pos + 1] << 8)); }
    // Text of a field of `n` bytes, up to its first NUL.
    std::string Text(std::size_t pos, std::size_t n) const {
        const char *p = reinterpret_cast<const char *>(b_.data() + pos);
        return std::string(p, strnlen(p, n));
    }
    const uint8_t *At(std::size_t pos) const { return b_.data() + pos; }

    // A list of u16 length, text and NUL entries after a head whose first
    // word is the count; false when it runs past the end.
    bool NameList(std::size_t &pos, std::size_t head, std::vector<std::string> &out) const {
        if (!Has(pos, head))
            return false;
        uint16_t count = U16(pos);
        pos += head;
        for (uint16_t i = 0; i < count; ++i) {
            if (!Has(pos, 2))
                return false;
            std::size_t n = U16(pos);
            if (!Has(pos + 2, n + 1))
                return false;
            out.push_back(Text(pos + 2, n));
            pos += 3 + n;
        }
        return true;
    }

private:
    const std::vector<uint8_t> &b_;
};

class ByteWriter {
public:
    void U8(uint8_t v) { b_.push_back(v); }
    void U16(uint16_t v) {
        U8(static_cast<uint8_t>(v));
        U8(static_cast<uint8_t>(v >> 8));
    }
    void U32(uint32_t v) {
        U16(static_cast<uint16_t>(v));
        U16(static_cast<uint16_t>(v >> 16));
    }
    void Zeros(std::size_t n) { b_.insert(b_.end(), n, 0); }
    void Bytes(const uint8_t *p, std::size_t n) { b_.insert(b_.end(), p, p + n); }
    // A fixed field: the text cut to leave room for its NUL, then zeros.
    void Field(const std::string &s, std::size_t size) {
        std::string cut = CutSb(s, size - 1);
        Bytes(reinterpret_cast<const uint8_t *>(cut.data()), cut.size());
        Zeros(size - cut.size());
    }
    // u16 length, the text and a NUL.
    void Counted(const std::string &s) {
        U16(static_cast<uint16_t>(s.size()));
        Bytes(reinterpret_cast<const uint8_t *>(s.data()), s.size());
        U8(0);
    }
    void NameList(const std::vector<std::string> &names, std::size_t head) {
        U16(static_cast<uint16_t>(names.size()));
        Zeros(head - 2);
        for (const std::string &n : names)
            Counted(n);
    }
    std::vector<uint8_t> Take() { return std::move(b_); }

private:
    std::vector<uint8_t> b_;
};

bool IsShortVersion(uint16_t v) { return v == 1 || v == 258 || v == 259; }
bool IsNewVersion(uint16_t v) { return v == 5 || v == 6 || v == 260 || v == 516; }

// The path rule for the project's own paths: a file in the reference folder
// is written as its bare name.
std::string OwnPathForm(const std::string &path, const std::string &ref_folder) {
    if (HasFolder(path) && EqualNoCase(FolderOf(path), ref_folder))
        return BareName(path);
    return path;
}

void Fail(ProjectData &doc, ProjectEnv &env) {
    env.messages.Show(kMsgBadProjectFile, kMbIconHand, nullptr);
    doc.version_read = kPrjVersionFailed;
}

void ReportMissing(ProjectEnv &env, const std::string &name) {
    env.messages.Show(kMsgNotFound, kMbIconExclamation, &name);
}

}  // namespace

PrjParse ParsePrjImage(const std::vector<uint8_t> &bytes, PrjImage &out) {
    ByteReader r(bytes);
    if (!r.Has(0, 2) || bytes[0] != 'P' || bytes[1] != 'R')
        return PrjParse::kNotProject;
    if (!r.Has(0, kHeaderSize))
        return PrjParse::kDamaged;
    PrjImage img;
    img.version = r.U16(2);
    if (!IsNewVersion(img.version) && !IsShortVersion(img.version))
        return PrjParse::kBadVersion;
    img.short_layout = IsShortVersion(img.version);
    const RecordLayout &lay = img.short_layout ? kShortLayout : kNewLayout;
    const std::size_t rec = kHeaderSize;
    std::size_t pos;
    if (!img.short_layout) {
        img.has_model_record = true;
        pos = rec + kRecordSize + kModelRecordSize;
    } else if (img.version == 1) {
        pos = rec + kShortRecordSize;
    } else {
        img.has_model_record = true;
        pos = rec + kShortRecordSize + kModelRecordSize;
    }
    if (!r.Has(0, pos))
        return PrjParse::kDamaged;

    img.exe_name = r.Text(rec + lay.exe, lay.exe_size);
    img.has_rc = r.U16(rec + lay.rc_flag) == 1;
    if (img.has_rc)
        img.rc_path = r.Text(rec + lay.rc, lay.rc_size);
    img.has_bet = r.U16(rec + lay.bet_flag) == 1;
    if (img.has_bet)
        img.bet_path = r.Text(rec + lay.bet, lay.bet_size);
    std::memcpy(img.default_options, r.At(rec + lay.options), kOptionBlockSize);
    img.module_count = r.U16(rec + lay.count);
    if (img.has_model_record)
        img.run_model = r.U16(rec + (img.short_layout ? kShortRecordSize : kRecordSize));

    for (uint16_t i = 0; i < img.module_count; ++i) {
        if (!r.Has(pos, 10) || r.U16(pos) != kModuleRecordMark)
            return PrjParse::kDamaged;
        PrjImage::Module m;
        m.own_options = r.U16(pos + 2);
        m.dep_flag = r.U16(pos + 4);
        std::size_t n = r.U16(pos + 8);
        if (!r.Has(pos + 10, n + 1 + kModuleOptionBytes))
            return PrjParse::kDamaged;
        m.path = r.Text(pos + 10, n);
        std::memcpy(m.options, r.At(pos + 11 + n), kModuleOptionBytes);
        pos += 11 + n + kModuleOptionBytes;
        if (m.dep_flag == 1 && !r.NameList(pos, kDepListHead, m.deps))
            return PrjParse::kDamaged;
        img.modules.push_back(std::move(m));
    }
    if (!r.NameList(pos, kFileListHead, img.objects) ||
        !r.NameList(pos, kFileListHead, img.libraries))
        return PrjParse::kDamaged;
    out = std::move(img);
    return PrjParse::kOk;
}

int FindLibraryFile(ProjectEnv &env, const std::string &name, std::string &out) {
    std::string search = env.ide.LibFolder() + ";" + env.ide.EnvironmentVariable("LIB").value_or("");
    std::size_t start = 0;
    while (start <= search.size()) {
        std::size_t semi = FindFirstSb(std::string_view(search).substr(start), ';');
        std::string folder = search.substr(start, semi == std::string::npos ? std::string::npos : semi);
        start = semi == std::string::npos ? search.size() + 1 : start + semi + 1;
        if (folder.empty())
            continue;
        std::string candidate = folder;
        if (FindLastSb(folder, '\\') != folder.size() - 1)
            candidate += '\\';
        candidate += name;
        if (env.fs.Exists(candidate)) {
            out = env.fs.FullPath(candidate);
            return 1;
        }
    }
    return 0;
}

bool ReadProjectFile(ProjectData &doc, const std::vector<uint8_t> &bytes,
                     const std::string &full_path, ProjectEnv &env) {
    doc.version_read = 0;
    PrjImage img;
    // The whole file is checked before anything is asked or loaded, so a
    // damaged project never leaves a half-filled document behind.
    if (ParsePrjImage(bytes, img) != PrjParse::kOk) {
        Fail(doc, env);
        return false;
    }
    if (img.version == kPrjVersionWritten) {
        doc.flags = 0;
    } else {
        const std::string product = "V6.3";
        if (env.messages.Show(kMsgOldProjectFile, kMbYesNo | kMbIconQuestion, &product) != kIdYes) {
            doc.version_read = kPrjVersionFailed;
            doc.flags = 0;
            return false;
        }
        doc.modified = true;
        doc.flags |= ProjectData::kFlagRebuildAll;
    }
    doc.version_read = img.version;

    DriveAndFolderOf(full_path, doc.drive, doc.project_folder);
    env.fs.SetCurrentFolder(doc.drive, doc.project_folder);

    ModuleOptions defaults = ModuleOptions::FromBytes(img.default_options);
    if (img.short_layout && (defaults.flags & kOptRunModelBits))
        defaults.flags = (defaults.flags & ~kOptRunModelBits) | 0x4;
    NormaliseReadOptions(defaults);
    doc.default_options = defaults;

    doc.project_file_name = BareName(full_path);
    doc.exe_name = img.exe_name;
    if (img.has_rc && !ResolveExistingPath(env.fs, img.rc_path, doc.rc_path))
        ReportMissing(env, img.rc_path);
    if (img.has_bet && !ResolveExistingPath(env.fs, img.bet_path, doc.bet_path))
        ReportMissing(env, img.bet_path);
    doc.module_count_read = img.module_count;

    if (img.has_model_record)
        doc.run_model = img.run_model;
    else
        doc.run_model = (defaults.flags & kOptRunModelBits) ? 0 : 1;

    for (const PrjImage::Module &im : img.modules) {
        auto m = doc.NewModule();
        m->stored_path = im.path;
        if (!ResolveExistingPath(env.fs, im.path, m->full_path))
            ReportMissing(env, im.path);
        if (im.own_options == 1) {
            m->own_options = 1;
            m->SetOptionBytes(im.options);
            NormaliseReadOptions(m->options);
        }
        if (im.dep_flag == 1) {
            m->dep_flag = 1;
            for (const std::string &d : im.deps) {
                std::string resolved;
                ResolveExistingPath(env.fs, d, resolved);
                m->deps.push_back(resolved);
            }
        }
        doc.modules.push_back(std::move(m));
    }

    auto check_files = [&](const std::vector<std::string> &names, std::vector<std::string> &list) {
        for (const std::string &name : names) {
            std::string found;
            if (!ResolveExistingPath(env.fs, name, found) && !FindLibraryFile(env, name, found))
                ReportMissing(env, name);
            list.push_back(name);
        }
    };
    check_files(img.objects, doc.objects);
    check_files(img.libraries, doc.libraries);
    return true;
}

std::vector<uint8_t> WriteProjectFile(ProjectData &doc, const std::string &full_path,
                                      ProjectEnv &env) {
    ByteWriter w;
    w.U8('P');
    w.U8('R');
    w.U16(kPrjVersionWritten);
    w.U32(10);
    w.Zeros(8);

    doc.project_file_name = BareName(full_path);
    const std::string ref = FolderOf(full_path);

    if (!doc.rc_path.empty()) {
        std::optional<OpenWindow> win = env.ide.FirstRcTreeWindow();
        if (!win) {
            doc.rc_path = OwnPathForm(doc.rc_path, ref);
        } else if (EqualNoCase(win->title, BareName(doc.rc_path))) {
            if (EqualNoCase(FolderOf(win->document_path), ref)) {
                doc.rc_path = BareName(win->document_path);
            } else {
                doc.rc_path = win->document_path;
                env.ide.SetCategoryFirstItem(kCatResource, BareName(win->document_path));
            }
        }
    }
    if (!doc.bet_path.empty()) {
        const std::vector<OpenWindow> wins = env.ide.BetWindows();
        const OpenWindow *win = nullptr;
        for (const OpenWindow &o : wins)
            if (EqualNoCase(o.title, BareName(doc.bet_path))) {
                win = &o;
                break;
            }
        if (!win) {
            doc.bet_path = OwnPathForm(doc.bet_path, ref);
        } else if (EqualNoCase(FolderOf(win->document_path), ref)) {
            doc.bet_path = BareName(win->document_path);
        } else {
            doc.bet_path = win->document_path;
            env.ide.SetCategoryFirstItem(kCatEnvironment, BareName(win->document_path));
        }
    }

    // PrjRecord
    w.Field(doc.project_file_name, kPathField);
    w.Field(doc.exe_name, kPathField);
    w.U16(0);  // minimized-window word: the handle it tests is never set
    w.U16(doc.rc_path.empty() ? 0 : 1);
    w.Field(doc.rc_path, kPathField);
    w.U16(doc.bet_path.empty() ? 0 : 1);
    w.Field(doc.bet_path, kPathField);
    w.U16(0);
    uint8_t block[kOptionBlockSize];
    doc.default_options.ToBytes(block);
    w.Bytes(block, sizeof block);
    w.U16(static_cast<uint16_t>(doc.modules.size()));
    // PrjModelRecord
    w.U16(doc.run_model);
    w.Zeros(kModelRecordSize - 2);

    for (auto &m : doc.modules) {
        const std::string &taken = m->full_path != m->stored_path ? m->full_path : m->stored_path;
        std::string written;
        if (!HasFolder(taken)) {
            written = m->stored_path;
        } else {
            written = EqualNoCase(FolderOf(taken), ref) ? BareName(taken) : taken;
            m->full_path = written;
            env.ide.InsertTreeFile(kCatProgram, m->stored_path, written);
        }
        w.U16(kModuleRecordMark);
        w.U16(m->own_options == 1 ? 1 : 0);
        w.U16(m->deps.empty() ? 0 : 1);
        w.U16(0);
        w.Counted(written);
        uint8_t options[kModuleOptionBytes] = {};
        if (m->own_options == 1)
            m->OptionBytes(options);
        else
            doc.default_options.ToBytes(options);
        w.Bytes(options, sizeof options);
        if (!m->deps.empty())
            w.NameList(m->deps, kDepListHead);
    }
    DriveAndFolderOf(full_path, doc.drive, doc.project_folder);
    env.fs.SetCurrentFolder(doc.drive, doc.project_folder);

    w.NameList(doc.objects, kFileListHead);
    w.NameList(doc.libraries, kFileListHead);
    doc.modified = false;
    return w.Take();
}

int ProjectFileListsModule(FileSystem &fs, const std::string &project_path,
                           const std::string &name1, const std::string &name2) {
    std::vector<uint8_t> bytes;
    PrjImage img;
    if (!fs.ReadFile(project_path, bytes) || ParsePrjImage(bytes, img) != PrjParse::kOk)
        return 0;
    for (const PrjImage::Module &m : img.modules)
        if (EqualNoCase(m.path, name1) || EqualNoCase(m.path, name2))
            return 1;
    return 0;
}

bool IsModuleInProject(FileSystem &fs, const std::string &project_path,
                       const std::string &source_path, const std::string &source_name) {
    return ProjectFileListsModule(fs, project_path, source_path, source_name) == 1;
}

}  // namespace prj
