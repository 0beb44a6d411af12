// Builds BASIC programs for the tests: each module compiled with txcl /Zi
// into a scratch folder of this process, linked with the i686 linker (its
// images carry no COFF debug information: the lines come from the objects)
// or with our LINK /DEBUG (the lines come from the image).
#pragma once

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

#include "link.h"

namespace txdbg::test {

namespace fs = std::filesystem;

inline tx::runner::Toolchain Tools() { return {TX_TXCL, TX_I686_LD, TXRT_LIB}; }

enum class Linker { I686, Ours };

// The one place a test links: the linker can change here alone.
inline bool LinkProgram(const std::vector<std::string>& objects, const std::string& image, std::string& error,
                        Linker linker = Linker::I686) {
    if (linker == Linker::I686) return tx::runner::LinkImage(Tools(), objects, image, error);
    std::vector<std::string> argv{TX_LINK_EXE, "/nologo", "/subsystem:windows", "/machine:IX86", "/nodefaultlib",
                                  "/DEBUG", "/DEBUGTYPE:COFF", "/out:" + image};
    argv.insert(argv.end(), objects.begin(), objects.end());
    argv.push_back(std::string(TX_LIB_DIR) + "/TQ70RN63.LIB");
    std::string out;
    if (tx::runner::RunProcess(argv, "", out) != 0) {
        error = "LINK failed:\n" + out;
        return false;
    }
    return true;
}

class Scratch {
public:
    explicit Scratch(const std::string& tag) {
        dir_ = fs::temp_directory_path() / ("txdbg_" + tag + "_" + std::to_string(getpid()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    ~Scratch() {
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
    const fs::path& Dir() const { return dir_; }
    std::string Write(const std::string& name, const std::string& text) const {
        std::ofstream(dir_ / name, std::ios::binary) << text;
        return (dir_ / name).string();
    }
    // Compiles the (name, source) modules with /Zi and links them; the image
    // is named after the first module. Empty on failure, with error set.
    std::string Build(const std::vector<std::pair<std::string, std::string>>& modules, std::string& error,
                      bool debugInfo = true, Linker linker = Linker::I686) const {
        std::vector<std::string> objects;
        for (const auto& [name, text] : modules) {
            std::string src = Write(name, text);
            std::string obj = (dir_ / (fs::path(name).stem().string() + ".obj")).string();
            if (!tx::runner::CompileModule(Tools(), src, obj, dir_.string(), error,
                                           debugInfo ? std::vector<std::string>{"/Zi"} : std::vector<std::string>{}))
                return "";
            objects.push_back(obj);
        }
        std::string image = (dir_ / (fs::path(modules.front().first).stem().string() + ".exe")).string();
        return LinkProgram(objects, image, error, linker) ? image : "";
    }

private:
    fs::path dir_;
};

} // namespace txdbg::test
