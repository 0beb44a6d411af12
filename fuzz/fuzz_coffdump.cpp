// One object file through coffdump with -r. Its main() is compiled into
// this program under another name; what it prints goes to /dev/null.
#include <cstdio>

#include "fuzz_files.h"

int coffdump_main(int argc, char **argv);

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    txfuzz::QuietStdout();
    std::string obj = txfuzz::ScratchName("coffdump_fuzz", ".obj");
    if (!txfuzz::WriteFile(obj, data, size))
        return 0;
    char name[] = "coffdump", flag[] = "-r";
    char *argv[] = {name, flag, obj.data(), nullptr};
    coffdump_main(3, argv);
    std::fflush(stdout);
    std::remove(obj.c_str());
    return 0;
}
