// RC: compiles a resource script into a 32-bit compiled resource file.
//   RC [/r] [/l language] [/fo output] [/i folder] script
// Nothing is printed on success; an error prints "file(line) : error
// RCnnnn : text", leaves no output file and exits with 1.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "boundedread.h"
#include "rc_compile.h"
#include "rc_output.h"

namespace {

std::optional<std::string> ReadWhole(const std::string &path) {
    std::string bytes;
    const tx::ReadStatus status = tx::ReadBounded(rc::HostPath(path), bytes, tx::kScriptFileMax);
    if (status == tx::ReadStatus::kMissing)
        return std::nullopt;
    if (status != tx::ReadStatus::kOk)
        throw rc::ReadRefused{path + " is " + tx::ReadStatusText(status, tx::kScriptFileMax)};
    return bytes;
}

void Print(const std::string &line) {
    std::string text = line + "\r\n";
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
}

bool IsOption(const std::string &arg, const char *name) {
    if (arg.size() < 2 || (arg[0] != '/' && arg[0] != '-'))
        return false;
    std::string rest = arg.substr(1);
    for (char &c : rest)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return rest == name;
}

}  // namespace

int main(int argc, char **argv) {
    rc::CompileOptions options;
    options.read = ReadWhole;
    const char *include = std::getenv("INCLUDE");
    options.include_path = include ? include : "";
    std::string output;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        bool has_value = i + 1 < argc;
        if (IsOption(arg, "r") || IsOption(arg, "v") || IsOption(arg, "nologo")) {
            continue;
        } else if (IsOption(arg, "l") && has_value) {
            options.language = static_cast<std::uint16_t>(std::strtoul(argv[++i], nullptr, 16));
        } else if (IsOption(arg, "fo") && has_value) {
            output = argv[++i];
        } else if (IsOption(arg, "i") && has_value) {
            options.include_path = std::string(argv[++i]) + ";" + options.include_path;
        } else if (arg[0] == '-' || (arg[0] == '/' && arg.find('/', 1) == std::string::npos)) {
            // An unknown "/x" is a mistake; "/a/b" is a path of the build machine.
            Print("RC : fatal error RC1106 : invalid option: " + arg);
            return 1;
        } else {
            options.script = arg;
        }
    }
    if (options.script.empty()) {
        Print("RC : fatal error RC1107 : invalid usage; use RC [/r] [/l language] [/fo output] script");
        return 1;
    }
    if (output.empty())
        output = rc::DefaultOutputName(options.script);

    std::remove(output.c_str());   // a failed run leaves no compiled file behind
    try {
        std::string res = rc::WriteResFile(rc::CompileScript(options));
        std::ofstream out(output, std::ios::binary);
        if (!out || !out.write(res.data(), static_cast<std::streamsize>(res.size())) || !out.flush()) {
            out.close();
            std::remove(output.c_str());
            Print("RC : fatal error RC1109 : error creating " + output);
            return 1;
        }
    } catch (const rc::RcError &e) {
        Print(rc::FormatError(e));
        return 1;
    }
    return 0;
}
