#include "openrules.h"

#include "idepaths.h"
#include "mbcs.h"

namespace tambrix {

namespace {

bool IsOneOf(const std::string& ext, std::initializer_list<const char*> list) {
    for (const char* e : list) {
        if (fw::EqualNoCase(ext, e))
            return true;
    }
    return false;
}

}  // namespace

OpenRoute RouteDocumentOpen(const std::string& path, const std::string& openRcTitle) {
    size_t dot = fw::FindLastChar(path, '.');
    if (dot == std::string::npos)
        return OpenRoute::FrameworkChoice;
    std::string ext = path.substr(dot + 1);
    if (fw::EqualNoCase(ext, "rc") && !openRcTitle.empty() &&
        !fw::EqualNoCase(openRcTitle, StripDirectory(path)))
        return OpenRoute::Refuse;
    if (!IsOneOf(ext, {"bas", "sub", "rc", "bet", "lib", "obj", "mak"}))
        return OpenRoute::OtherFiles;
    return OpenRoute::FrameworkChoice;
}

std::string RecentEntryExtension(const std::string& path) {
    std::string name = StripDirectory(path);
    size_t dot = fw::FindLastChar(name, '.');
    return dot == std::string::npos ? "bas" : name.substr(dot + 1);
}

RecentRoute RouteRecentFile(const std::string& path) {
    std::string name = StripDirectory(path);
    size_t dot = fw::FindLastChar(name, '.');
    if (dot == std::string::npos)
        return RecentRoute::BasicTemplate;
    // Libraries and objects open as their icon windows here too, never as
    // text: the same set as a document open by name.
    if (!IsOneOf(name.substr(dot + 1), {"bas", "sub", "rc", "bet", "lib", "obj", "mak"}))
        return RecentRoute::OtherFiles;
    return RecentRoute::OpenDocument;
}

std::string FormatMessageText(const std::string& format, const std::string& arg) {
    std::string out;
    for (size_t i = 0; i < format.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(format[i]);
        if (fw::IsLeadByte932(c) && i + 1 < format.size()) {
            out += format[i];
            out += format[++i];
            continue;
        }
        if (c == '%' && i + 1 < format.size()) {
            if (format[i + 1] == 's') {
                out += arg;
                ++i;
                continue;
            }
            if (format[i + 1] == '%') {
                out += '%';
                ++i;
                continue;
            }
        }
        out += format[i];
    }
    return out;
}

int CaretColumn(const std::string& line, size_t caretByte, int tabWidth) {
    int x = 0;
    size_t end = caretByte < line.size() ? caretByte : line.size();
    for (size_t i = 0; i < end; ++i) {
        unsigned char c = static_cast<unsigned char>(line[i]);
        if (fw::IsLeadByte932(c) && i + 1 < line.size()) {
            x += 2;
            ++i;
            continue;
        }
        ++x;
        if (c == '\t' && tabWidth >= 1 && x % tabWidth != 0)
            x += tabWidth - x % tabWidth;
    }
    return x;
}

}  // namespace tambrix
