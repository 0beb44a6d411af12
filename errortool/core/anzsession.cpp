#include "anzsession.h"

#include "anztexts.h"

#include <cstdio>
#include <new>

namespace anz {

std::optional<std::string> ReadReportFile(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return std::nullopt;
    std::string bytes;
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0)
        bytes.append(buf, n);
    bool failed = std::ferror(f) != 0;
    std::fclose(f);
    if (failed)
        return std::nullopt;
    return bytes;
}

bool WriteReportFile(const std::string& path, const std::string& bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    ok = std::fclose(f) == 0 && ok;
    return ok;
}

std::string AnzSession::Title() const {
    return path_.empty() ? std::string(text::kUntitledTitle) : path_ + text::kTitleSuffix;
}

std::string AnzSession::SavePrompt() const {
    if (path_.empty())
        return text::kUntitledPrompt;
    return text::kPromptHead + path_ + text::kPromptTail;
}

void AnzSession::SetPath(const std::string& path) {
    path_ = path;
    ui_.SetTitle(Title());
}

void AnzSession::SetReport(const std::string& text) {
    report_ = text;
    ui_.SetViewText(text);
}

bool AnzSession::Start(const std::string& commandLineFile) {
    if (!commandLineFile.empty()) {
        auto bytes = ReadReportFile(commandLineFile);
        if (!bytes) {
            ui_.FileError(commandLineFile, false);
            return false;
        }
        SetReport(*bytes);
        modified_ = false;
    }
    // The file named at the start is shown but not taken as the report's
    // path: the title stays untitled until a report is opened or saved.
    SetPath("");
    return true;
}

bool AnzSession::WriteTo(const std::string& path) {
    if (!WriteReportFile(path, report_)) {
        ui_.FileError(path, true);
        return false;
    }
    return true;
}

bool AnzSession::Save() {
    if (path_.empty()) {
        bool ok = SaveAs();
        saved_ = ok;
        return ok;
    }
    report_ = ui_.ViewText();
    if (!WriteTo(path_))
        return false;
    modified_ = false;
    saved_ = true;
    return true;
}

bool AnzSession::SaveAs() {
    auto path = ui_.SavePath();
    if (!path)
        return false;
    report_ = ui_.ViewText();
    if (!WriteTo(*path))
        return false;
    SetPath(*path);
    modified_ = false;
    return true;
}

bool AnzSession::SaveIfModified() {
    if (!modified_)
        return true;
    switch (ui_.AskSave(SavePrompt())) {
    case Answer::Yes: return Save();
    case Answer::No: return true;
    case Answer::Cancel: break;
    }
    return false;
}

void AnzSession::New() {
    if (modified_) {
        Answer a = ui_.AskSave(SavePrompt());
        if (a == Answer::Cancel)
            return;
        if (a == Answer::No || Save()) {
            SetReport("");
            modified_ = false;
        }
    } else {
        SetReport("");
    }
    SetPath("");
}

void AnzSession::Open() {
    if (!SaveIfModified())
        return;
    auto path = ui_.OpenPath();
    if (!path)
        return;
    // Read first: a file that cannot be read leaves the report and its path.
    auto bytes = ReadReportFile(*path);
    if (!bytes) {
        ui_.FileError(*path, false);
        return;
    }
    SetReport(*bytes);
    modified_ = false;
    SetPath(*path);
}

bool AnzSession::CanClose() { return SaveIfModified(); }

void AnzSession::ReadRegistry() {
    if (modified_) {
        Answer a = ui_.AskSave(SavePrompt());
        if (a == Answer::Cancel)
            return;
        // A save that failed or was cancelled keeps the report it would lose.
        if (a == Answer::Yes && !Save())
            return;
    }
    SetPath("");
    std::optional<std::string> report;
    try {
        report = BuildReport(reg_, messages_);
    } catch (const std::bad_alloc&) {
        ui_.Stop(text::kNoMemoryRead);
        return;
    }
    if (!report) {
        ui_.Stop(text::kNoRecord);
        return;
    }
    SetReport(*report);
    modified_ = true;
}

void AnzSession::ClearRegistry() {
    bool complete = false;
    try {
        complete = RecordComplete(reg_);
    } catch (const std::bad_alloc&) {
        ui_.Stop(text::kNoMemoryTest);
    }
    if (!complete) {
        ui_.Stop(text::kNoRecord);
        return;
    }
    if (!ui_.AskYesNo(text::kAskClear))
        return;
    if (!ClearRecord(reg_))
        ui_.Stop(text::kNoRecord);
    // The report stays as it is, and so does its modified flag: an unsaved
    // report is still asked for when the tool closes.
}

}  // namespace anz
