// The command line: options, response files, inputs found along LIB, and
// the files written. Messages go out as the build's filter reads them: a
// line holding "error" fails the build.
#include <cctype>
#include <cstdio>
#include <cstdlib>

#include "boundedread.h"
#include "dbcs.h"
#include "lk_link.h"

namespace txlink {
namespace {

#ifdef _WIN32
constexpr char kSeparator = '\\';
#else
constexpr char kSeparator = '/';
#endif

bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes) {
    return tx::ReadBounded(path, bytes, tx::kObjectFileMax) == tx::ReadStatus::kOk;
}

// ": why" after a file's name when it exists but was not read.
std::string Refusal(tx::ReadStatus status, uint64_t max) {
    return status == tx::ReadStatus::kMissing ? std::string() : ": it is " + tx::ReadStatusText(status, max);
}

bool WriteWholeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    const bool closed = std::fclose(f) == 0;
    if (!written || !closed) std::remove(path.c_str());
    return written && closed;
}


// The extension of the file-name part only: a folder named "a.b" is kept.
std::string ReplaceExtension(const std::string& path, const std::string& ext) {
    const size_t name = FileNameStart(path);
    const size_t dot = path.rfind('.');
    return (dot != std::string::npos && dot >= name ? path.substr(0, dot) : path) + ext;
}

std::string Lower(std::string s) {
    for (char& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// A bare name not found in the current folder is looked for in each folder
// of LIB (separated by ';'). The status of the first that exists.
tx::ReadStatus FindInput(const std::string& name, std::string& found, std::vector<uint8_t>& bytes) {
    found = name;
    tx::ReadStatus status = tx::ReadBounded(name, bytes, tx::kObjectFileMax);
    if (status != tx::ReadStatus::kMissing || FileNameStart(name) != 0) return status;
    const char* lib = std::getenv("LIB");
    std::string dirs = lib ? lib : "";
    size_t start = 0;
    while (start <= dirs.size()) {
        size_t end = dirs.find(';', start);
        if (end == std::string::npos) end = dirs.size();
        std::string dir = dirs.substr(start, end - start);
        start = end + 1;
        if (dir.empty()) continue;
        if (dir.back() != '\\' && dir.back() != '/') dir += kSeparator;
        found = dir + name;
        status = tx::ReadBounded(found, bytes, tx::kObjectFileMax);
        if (status != tx::ReadStatus::kMissing) return status;
    }
    found = name;
    return tx::ReadStatus::kMissing;
}

struct CommandLine {
    LinkOptions options;
    std::vector<std::string> inputs;
    std::string mapFile;
};

// The option's value after the first ':' ("" when there is none).
bool Option(const std::string& token, const char* name, std::string& value) {
    const std::string low = Lower(token.substr(1));
    const std::string n = name;
    if (low == n) {
        value.clear();
        return true;
    }
    if (low.size() > n.size() && low.compare(0, n.size(), n) == 0 && low[n.size()] == ':') {
        value = token.substr(1 + n.size() + 1);
        return true;
    }
    return false;
}

// A refused option is noted in `fatal` and the rest still read, so that the
// failure knows the image to remove.
void ParseOption(const std::string& token, CommandLine& cl, std::string& console, std::string& fatal, bool& known) {
    std::string v;
    known = true;
    if (Option(token, "out", v)) {
        cl.options.output = v;
    } else if (Option(token, "subsystem", v)) {
        const std::string kind = Lower(v.substr(0, v.find(',')));
        if (kind == "windows") cl.options.subsystem = kSubsystemWindows;
        else if (kind == "console") cl.options.subsystem = kSubsystemConsole;
        else fatal += "LINK : fatal error LNK1117: syntax error in option '" + token.substr(1) + "'\n";
    } else if (Option(token, "machine", v)) {
        const std::string m = Lower(v);
        if (m != "ix86" && m != "i386" && m != "x86")
            fatal += "LINK : fatal error LNK1117: machine '" + v + "' is not supported; only IX86\n";
    } else if (Option(token, "debug", v)) {
        cl.options.debug = true;
    } else if (Option(token, "debugtype", v)) {
        if (Lower(v) != "coff")
            console += "LINK : warning LNK4044: debug type '" + v + "' not supported; COFF kept\n";
    } else if (Option(token, "map", v)) {
        cl.options.map = true;
        cl.mapFile = v;
    } else if (Option(token, "dll", v)) {
        cl.options.dll = true;
        cl.options.entry = "_DllMain@12";
    } else if (Option(token, "nodefaultlib", v) || Option(token, "nologo", v)) {
        // No default libraries are ever searched; nothing is printed anyway.
    } else {
        known = false;
    }
}

bool ExpandArguments(const std::vector<std::string>& args, std::vector<std::string>& tokens,
                     std::string& console, int depth = 0) {
    for (const std::string& a : args) {
        if (a.size() > 1 && a[0] == '@') {
            std::vector<uint8_t> bytes;
            const tx::ReadStatus status =
                depth > 4 ? tx::ReadStatus::kFailed : tx::ReadBounded(a.substr(1), bytes, tx::kScriptFileMax);
            if (status != tx::ReadStatus::kOk) {
                console += "LINK : fatal error LNK1104: cannot open file '" + a.substr(1) + "'" +
                           (depth > 4 ? std::string() : Refusal(status, tx::kScriptFileMax)) + "\n";
                return false;
            }
            if (!ExpandArguments(SplitCommandText(std::string(bytes.begin(), bytes.end())), tokens, console,
                                 depth + 1))
                return false;
        } else {
            tokens.push_back(a);
        }
    }
    return true;
}

int Fail(const CommandLine& cl, std::string& console, const std::string& text) {
    console += text;
    // A stale image would make the next build think the program up to date.
    if (!cl.options.output.empty()) std::remove(cl.options.output.c_str());
    return 1;
}

} // namespace

size_t FileNameStart(const std::string& path) {
    size_t start = 0;
    for (size_t i = 0; i < path.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(path[i]);
#ifdef _WIN32
        // Paths are code page 932 here: a trail byte 0x5C is no separator.
        if (tx::IsSjisLeadByte(c) && i + 1 < path.size()) {
            ++i;
            continue;
        }
#endif
        if (c == '\\' || c == '/' || c == ':') start = i + 1;
    }
    return start;
}

int RunLink(const std::vector<std::string>& args, std::string& console) {
    CommandLine cl;
    std::vector<std::string> tokens;
    if (!ExpandArguments(args, tokens, console)) return 1;
    std::string fatal;
    for (const std::string& t : tokens) {
        if (t.size() > 1 && (t[0] == '/' || t[0] == '-')) {
            bool known = false;
            ParseOption(t, cl, console, fatal, known);
            if (known) continue;
            // An absolute path on this side of the build starts with '/'.
            std::FILE* f = t[0] == '/' ? std::fopen(t.c_str(), "rb") : nullptr;
            if (f) {
                std::fclose(f);
            } else {
                console += "LINK : warning LNK4044: unrecognized option '" + t + "'; ignored\n";
                continue;
            }
        }
        cl.inputs.push_back(t);
    }
    if (!fatal.empty()) return Fail(cl, console, fatal);
    if (cl.inputs.empty()) {
        console += "LINK : fatal error LNK1141: no input files\n";
        return 1;
    }

    LinkInputs in;
    for (std::string name : cl.inputs) {
        if (name.find('.', FileNameStart(name)) == std::string::npos) name += ".obj";
        std::string path;
        std::vector<uint8_t> bytes;
        if (const tx::ReadStatus status = FindInput(name, path, bytes); status != tx::ReadStatus::kOk)
            return Fail(cl, console,
                        "LINK : fatal error LNK1181: cannot open input file '" + path + "'" +
                            Refusal(status, tx::kObjectFileMax) + "\n");
        std::string why;
        bool ok = true;
        switch (DetectInput(bytes)) {
        case InputKind::kObject: {
            ObjectFile obj;
            obj.name = name;
            ok = ReadObject(bytes, obj, why);
            in.objects.push_back(std::move(obj));
            if (cl.options.output.empty()) cl.options.output = ReplaceExtension(name, ".exe");
            break;
        }
        case InputKind::kArchive: {
            Archive lib;
            lib.name = name;
            ok = ReadArchive(bytes, lib, why);
            in.archives.push_back(std::move(lib));
            break;
        }
        case InputKind::kResource: {
            std::vector<ResourceEntry> entries;
            ok = ReadResources(bytes, entries, why);
            in.resources.insert(in.resources.end(), entries.begin(), entries.end());
            break;
        }
        case InputKind::kUnknown:
            ok = false;
            why = bytes.size() > 0 && bytes[0] == 0xFF ? "a 16-bit resource file" : "unknown file kind";
            break;
        }
        if (!ok) return Fail(cl, console, name + " : fatal error LNK1107: invalid or corrupt file: " + why + "\n");
    }
    if (cl.options.output.empty()) cl.options.output = ReplaceExtension(cl.inputs.front(), ".exe");

    LinkResult res = Link(cl.options, in);
    std::string text;
    for (const std::string& m : res.messages) text += m + "\n";
    if (!res.ok) return Fail(cl, console, text);
    console += text;
    // The test switch: the probe program goes out in place of the image
    // (the image is i386; the probe runs where the tests run).
    std::vector<uint8_t> probe;
    if (const char* probePath = std::getenv("TX_LINK_PROBE"); probePath && *probePath) {
        if (!ReadWholeFile(probePath, probe))
            return Fail(cl, console, std::string("LINK : fatal error LNK1104: cannot open file '") + probePath + "'\n");
    }
    if (!WriteWholeFile(cl.options.output, probe.empty() ? res.image : probe))
        return Fail(cl, console, "LINK : fatal error LNK1104: cannot open file '" + cl.options.output + "'\n");
    if (cl.options.map) {
        const std::string mapPath = cl.mapFile.empty() ? ReplaceExtension(cl.options.output, ".map") : cl.mapFile;
        if (!WriteWholeFile(mapPath, std::vector<uint8_t>(res.map.begin(), res.map.end())))
            return Fail(cl, console, "LINK : fatal error LNK1104: cannot open file '" + mapPath + "'\n");
    }
    return 0;
}

} // namespace txlink
