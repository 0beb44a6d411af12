// LINK.EXE / link: the linker's command line.
#include <cstdio>
#include <string>
#include <vector>

#include "lk_link.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    std::string console;
    const int rc = txlink::RunLink(args, console);
    std::fwrite(console.data(), 1, console.size(), stdout);
    std::fflush(stdout);
    return rc;
}
