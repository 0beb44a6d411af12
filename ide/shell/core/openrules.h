// Which way a document open goes, decided from the file name alone.
#pragma once

#include <string>

namespace tambrix {

enum class OpenRoute {
    Refuse,          // a second resource script: message 20018
    OtherFiles,      // the other-files template (slot 9) as a text source
    FrameworkChoice, // the framework's choice by extension
};

// openRcTitle: the window title of the open resource tree frame, or empty
// when none is open.
OpenRoute RouteDocumentOpen(const std::string& path, const std::string& openRcTitle);

enum class RecentRoute { OtherFiles, BasicTemplate, OpenDocument };
RecentRoute RouteRecentFile(const std::string& path);

// The extension of a recent entry as its project question sees it: "bas"
// when the name has none.
std::string RecentEntryExtension(const std::string& path);

// The application's idle answer: keep idling except at count 1000.
inline bool IdleResult(long count, bool frameworkResult) {
    return count == 1000 ? frameworkResult : true;
}

// A string-table text used as a format for one "%s" argument. Only "%s"
// and "%%" are understood; anything else stays as written, so a text with a
// stray "%" can never read past its argument.
std::string FormatMessageText(const std::string& format, const std::string& arg);

// The caret column of the status bar's "X=%d Y=%d" (X is this value + 1):
// bytes before the caret, a TAB up to the next multiple of the tab width.
int CaretColumn(const std::string& line, size_t caretByte, int tabWidth);

}  // namespace tambrix
