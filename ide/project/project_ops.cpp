#include "project_ops.h"

#include "sjis_path.h"

namespace prj {

namespace {

// Drive number and folder of a source path: the folder is the part between
// the colon and the last backslash, "\" when that is empty.
void SourceDriveAndFolder(const std::string &path, int32_t &drive, std::string &folder) {
    std::string rest = path;
    drive = TakeDrive(rest);
    folder = FolderOf(rest);
    if (folder.empty())
        folder = "\\";
}

bool IsWordChar(std::string_view s, std::size_t i) {
    const char c = s[i];
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

// The first byte of the character that ends just before `pos`.
std::size_t PreviousCharStart(std::string_view s, std::size_t pos) {
    std::size_t i = 0, start = 0;
    while (i < pos) {
        start = i;
        i += (IsSjisLead(static_cast<unsigned char>(s[i])) && i + 1 < s.size()) ? 2 : 1;
    }
    return start;
}

std::vector<std::string> SplitLines(const std::vector<uint8_t> &bytes) {
    std::vector<std::string> lines;
    std::string cur;
    for (uint8_t b : bytes) {
        if (b == '\n') {
            if (!cur.empty() && cur.back() == '\r')
                cur.pop_back();
            lines.push_back(cur);
            cur.clear();
        } else {
            cur.push_back(static_cast<char>(b));
        }
    }
    if (!cur.empty())
        lines.push_back(cur);
    return lines;
}

}  // namespace

void PrepareDefaultProject(ProjectData &doc, const DefaultProjectSources &src, FileSystem &fs) {
    if (doc.modules.size() < 2) {
        doc.ResetContents();
        doc.default_project_mode = 1;
        if (src.first_editor) {
            auto m = doc.NewModule();
            m->stored_path = BareName(src.first_editor->document_path);
            m->full_path = src.first_editor->document_path;
            doc.modules.push_back(std::move(m));
            SourceDriveAndFolder(src.first_editor->document_path, doc.drive, doc.project_folder);
            fs.SetCurrentFolder(doc.drive, doc.project_folder);
            doc.exe_name = ReplaceExtension(src.first_editor->title, "exe");
        }
    } else {
        const CBasData &first = *doc.modules.front();
        const std::string module_path = first.full_path.empty() ? first.stored_path : first.full_path;
        std::string path = module_path;
        if (doc.project_folder.empty() && src.owned_editor_path)
            path = *src.owned_editor_path;
        SourceDriveAndFolder(path, doc.drive, doc.project_folder);
        fs.SetCurrentFolder(doc.drive, doc.project_folder);
        if (doc.exe_name.empty())
            doc.exe_name = BareName(ReplaceExtension(module_path, "exe"));
    }
    doc.project_file_name = "DEFAULT.mak";
    if (src.main_frame_options)
        doc.default_options = *src.main_frame_options;
}

bool LineNamesWord(const std::string &line, const std::string &upper_word) {
    if (upper_word.empty())
        return false;
    const std::string upper = UpperSb(line);
    const std::size_t at = FindNoCase(upper, upper_word);
    if (at == std::string::npos)
        return false;
    if (at == 0)
        return true;
    const std::size_t before = PreviousCharStart(upper, at);
    const bool before_ok = IsSjisLead(static_cast<unsigned char>(upper[before])) || !IsWordChar(upper, before);
    const std::size_t after = at + upper_word.size();
    const bool after_ok = after >= upper.size() || !IsWordChar(upper, after);
    return before_ok && after_ok;
}

int FindModuleDefiningName(const ProjectData &doc, const std::string &word, const std::string &second,
                           const std::function<bool(const CBasData &)> &is_open, FileSystem &fs) {
    const std::string wanted = UpperSb(word.empty() ? second : word);
    for (std::size_t i = 0; i < doc.modules.size(); ++i) {
        const CBasData &m = *doc.modules[i];
        if (is_open(m))
            continue;
        std::vector<uint8_t> text;
        if (!fs.ReadFile(m.full_path, text))
            continue;
        for (const std::string &line : SplitLines(text))
            if (LineNamesWord(line, wanted))
                return static_cast<int>(i);
    }
    return -1;
}

}  // namespace prj
