// The resource script writer: the designer's whole state as .rc text.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "dsg_model.h"

namespace dsg {

// Text pieces of the script.
std::string QuoteString(std::string_view text);      // "text\0" with " and \ escaped
std::string EscapePath(std::string_view path);       // single-byte backslashes doubled
std::string ScriptRelativePath(std::string_view path, std::string_view scriptPath);

struct WriteResult {
    bool ok = false;
    uint32_t message = 0;  // shown when !ok
};

// Writes the script text into `out` (the whole file, ending in 0x1A).
WriteResult RcWrite(DesignerHost &host, Document &doc, const std::string &scriptPath, std::string &out);

// The sections of menus and resource files.
bool RcWriteMenus(DesignerHost &host, Document &doc, std::string &out, uint32_t &message);
bool RcWriteFiles(Document &doc, const std::string &scriptPath, std::string &out);

// Files for saving: the script goes to a temporary file first and replaces
// the old one only when every byte was written.
class ScriptFiles {
public:
    virtual ~ScriptFiles() = default;
    virtual bool Write(const std::string &path, const std::string &bytes) = 0;
    virtual bool Replace(const std::string &from, const std::string &to) = 0;
    virtual void Remove(const std::string &path) = 0;
};
class StdioScriptFiles : public ScriptFiles {
public:
    bool Write(const std::string &path, const std::string &bytes) override;
    bool Replace(const std::string &from, const std::string &to) override;
    void Remove(const std::string &path) override;
};

// Saves the document; on failure the old script stays and the message is shown.
WriteResult RcSave(DesignerHost &host, Document &doc, const std::string &scriptPath, ScriptFiles &files);

}  // namespace dsg
