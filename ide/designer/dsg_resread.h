// The compiled-resource reader: the compiled path of a script, the probes
// of the 16-bit and 32-bit layouts, the entry readers, the keeping step and
// the building of the document from the kept entries.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "dsg_model.h"

namespace dsg {

struct ResourceEntry {
    uint16_t version = 0;
    uint32_t type = 0;
    std::vector<uint8_t> data;
    std::string name;  // at most 31 characters
};

struct KeptEntries {
    std::vector<ResourceEntry> version, menus, names, accels, forms;
    ResourceEntry lists[3];
    bool hasList[3] = {};
};

// The script path up to its first ".rc" (lower-cased search) + "res"; empty
// when ".rc" is not found after the first character. Only the file name
// part is searched, so a folder name holding ".rc" is not taken.
std::string CompiledPath(const std::string &scriptPath);
// What the RC run names its output: up to the last dot + "res".
std::string RcOutputPath(const std::string &scriptPath);

enum class ResLayout { Bad, Old16, Win32 };

// Looks for the version entry; sets doc.version/version2 ({0x101, 0} when
// there is none).
ResLayout ProbeRes(const std::vector<uint8_t> &file, Document &doc);

// Reads every entry of the layout and keeps what the version asks for.
bool ReadResEntries(const std::vector<uint8_t> &file, ResLayout layout, uint16_t version, KeptEntries &kept);

// Builds menus, file lists and forms from the kept entries.
bool BuildFromKept(DesignerHost &host, Document &doc, KeptEntries &kept, bool wide,
                   const std::string &scriptPath, const std::string &currentFolder);

// Loads a document from a compiled resource file (steps after the RC run).
bool RcLoadCompiled(DesignerHost &host, Document &doc, const std::vector<uint8_t> &file,
                    const std::string &scriptPath, const std::string &currentFolder);

}  // namespace dsg
