// What the tool's commands do to the report, its path and its flags, with
// the window side (boxes, file dialogs, the edit view, the title) behind
// AnzUi so the same rules run natively in tests and in the program.
#pragma once

#include "anzrecord.h"

#include <optional>
#include <string>

namespace anz {

enum class Answer { Yes, No, Cancel };

class AnzUi {
public:
    virtual ~AnzUi() = default;
    // The save prompt: Yes, No, Cancel with the question icon.
    virtual Answer AskSave(const std::string& prompt) = 0;
    // A Yes/No question; true for Yes.
    virtual bool AskYesNo(const std::string& question) = 0;
    // A message with the stop icon.
    virtual void Stop(const std::string& message) = 0;
    // A report file could not be read or written (the framework's texts).
    virtual void FileError(const std::string& path, bool saving) = 0;
    // The save and open dialogs; nullopt on Cancel.
    virtual std::optional<std::string> SavePath() = 0;
    virtual std::optional<std::string> OpenPath() = 0;
    // The edit view's text, and replacing it.
    virtual std::string ViewText() = 0;
    virtual void SetViewText(const std::string& text) = 0;
    virtual void SetTitle(const std::string& title) = 0;
};

// The whole file, opened for reading only; nullopt when it cannot be read.
std::optional<std::string> ReadReportFile(const std::string& path);
// Creates or truncates the file and writes the bytes unchanged.
bool WriteReportFile(const std::string& path, const std::string& bytes);

class AnzSession {
public:
    AnzSession(AnzUi& ui, fw::RegStore& reg, MessageSource& messages)
        : ui_(ui), reg_(reg), messages_(messages) {}

    // The start: a file named on the command line is read into the view;
    // false when it cannot be read (the program then ends).
    bool Start(const std::string& commandLineFile);

    void OnEdit() { modified_ = true; }
    void New();
    void Open();
    bool Save();
    bool SaveAs();
    // Closing: false keeps the program open.
    bool CanClose();
    void ReadRegistry();
    void ClearRegistry();

    std::string Title() const;
    std::string SavePrompt() const;
    const std::string& Path() const { return path_; }
    const std::string& Report() const { return report_; }
    bool Modified() const { return modified_; }
    bool Saved() const { return saved_; }

private:
    AnzUi& ui_;
    fw::RegStore& reg_;
    MessageSource& messages_;
    std::string report_;
    std::string path_;
    bool modified_ = false;
    bool saved_ = false;

    // The save prompt when modified: true to go on (No, or Yes and saved).
    bool SaveIfModified();
    bool WriteTo(const std::string& path);
    void SetPath(const std::string& path);
    void SetReport(const std::string& text);
};

}  // namespace anz
