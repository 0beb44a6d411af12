// NMAKE: reads the make script named by /f and brings its first target up
// to date. Options: /nologo (accepted; nothing is printed anyway), /a,
// /f file; a further word names the target to build.
#include <cstdlib>
#include <memory>
#include <string>

#include "boundedread.h"
#include "make_engine.h"
#include "system_host.h"

namespace {

std::string EnvValue(const std::string &name) {
    const char *v = std::getenv(name.c_str());
    return v ? v : "";
}

int Fatal(nmk::MakeHost &host, const std::string &text) {
    host.Err(text);
    host.Err("Stop.");
    return nmk::kExitFatal;
}

bool IsOption(const std::string &arg, const char *name) {
    if (arg.size() < 2 || (arg[0] != '/' && arg[0] != '-'))
        return false;
    std::string rest = arg.substr(1);
    if (rest.size() != std::char_traits<char>::length(name))
        return false;
    for (std::size_t i = 0; i < rest.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(rest[i])) != name[i])
            return false;
    return true;
}

}  // namespace

int main(int argc, char **argv) {
    std::unique_ptr<nmk::MakeHost> host = nmk::NewSystemHost();
    nmk::MakeOptions options;
    std::string file = "MAKEFILE";
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (IsOption(arg, "nologo"))
            continue;
        if (IsOption(arg, "a")) {
            options.all = true;
        } else if (IsOption(arg, "f")) {
            if (i + 1 >= argc)
                return Fatal(*host, "NMAKE : fatal error U1017: unknown error in command-line syntax");
            file = argv[++i];
        } else if (arg[0] == '/' || arg[0] == '-') {
            return Fatal(*host, "NMAKE : fatal error U1065: invalid option '" + arg.substr(1) + "'");
        } else {
            options.target = arg;
        }
    }

    std::string bytes;
    const tx::ReadStatus status = tx::ReadBounded(file, bytes, tx::kScriptFileMax);
    if (status == tx::ReadStatus::kMissing)
        return Fatal(*host, "NMAKE : fatal error U1052: file '" + file + "' not found");
    if (status != tx::ReadStatus::kOk)
        return Fatal(*host, "NMAKE : fatal error U1052: file '" + file + "' is " +
                                tx::ReadStatusText(status, tx::kScriptFileMax));

    nmk::Makefile mk;
    nmk::ReadError error;
    if (!nmk::ReadMakefile(bytes, EnvValue, mk, error))
        return Fatal(*host, file + "(" + std::to_string(error.line) + ") : fatal error U" + std::to_string(error.code) +
                                ": " + error.text);
    return nmk::RunMake(mk, options, *host, EnvValue);
}
