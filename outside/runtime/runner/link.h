// Compiling BASIC modules with txcl and linking them with the i686 linker
// against the runtime subset, for basrun and for tests.
#pragma once

#include <string>
#include <vector>

namespace tx::runner {

struct Toolchain {
    std::string txcl;       // the compiler driver
    std::string ld;         // i686-w64-mingw32-ld
    std::string runtimeLib; // libtxrt.a
};

// Tools found beside the running program, then through TXCL, TX_I686_LD and
// TXRT_LIB, then the build's own paths.
Toolchain FindToolchain(const std::string& argv0);

// Runs argv (no shell) in cwd ("" for the current folder); output receives
// its standard output and error. Returns its exit status, -1 when it could
// not run or was killed; signal (when given) receives the signal that killed
// it, else 0.
int RunProcess(const std::vector<std::string>& argv, const std::string& cwd, std::string& output,
               int* signal = nullptr);

// The linker's command line: symbol names as written (an export directive
// names the symbol itself), the runtime's entry point, no platform
// libraries, the objects, then the runtime library. A DLL (a module built
// with /MWD) gets the runtime's DllMain as its entry and base relocations.
std::vector<std::string> LinkCommand(const Toolchain& tc, const std::vector<std::string>& objects,
                                     const std::string& image, bool dll = false);

// options go before the object and source names (e.g. "/Zi").
bool CompileModule(const Toolchain& tc, const std::string& source, const std::string& object,
                   const std::string& workDir, std::string& error, const std::vector<std::string>& options = {});
bool LinkImage(const Toolchain& tc, const std::vector<std::string>& objects, const std::string& image,
               std::string& error, bool dll = false);

} // namespace tx::runner
