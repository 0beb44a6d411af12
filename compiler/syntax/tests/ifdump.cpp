// ifdump FILE: prints the readable dump of an intermediate file; exit code
// 1 (with the reason on standard error) when the file does not split or
// its stream does not walk exactly to its end mark.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "intermediate_dump.h"

int main(int argc, char **argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: ifdump FILE\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "ifdump: cannot open %s\n", argv[1]);
        return 2;
    }
    std::vector<uint8_t> data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::string out, error;
    bool ok = ifile::DumpFile(data.data(), data.size(), &out, &error);
    std::fwrite(out.data(), 1, out.size(), stdout);
    if (!ok) {
        std::fprintf(stderr, "ifdump: %s: %s\n", argv[1], error.c_str());
        return 1;
    }
    return 0;
}
