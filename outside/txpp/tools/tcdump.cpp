// tcdump [source-list token-code]: prints the preprocessor's two temporaries
// (by default Srclist.tmp and Tcode.tmp, as "txcl /TMP" leaves them) record
// by record. Exit code 1 when they are not in step or cannot be read.
#include "dump.h"

#include <cstdio>
#include <string>

static bool ReadFile(const char *name, std::string &out) {
    FILE *f = std::fopen(name, "rb");
    if (!f) return false;
    char buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) out.append(buf, n);
    bool ok = !std::ferror(f);
    std::fclose(f);
    return ok;
}

int main(int argc, char **argv) {
    if (argc != 1 && argc != 3) {
        std::fprintf(stderr, "usage: tcdump [source-list token-code]\n");
        return 2;
    }
    const char *slistName = argc == 3 ? argv[1] : "Srclist.tmp";
    const char *tcodeName = argc == 3 ? argv[2] : "Tcode.tmp";
    std::string slist, tcode;
    if (!ReadFile(slistName, slist)) {
        std::fprintf(stderr, "tcdump: cannot read %s\n", slistName);
        return 1;
    }
    if (!ReadFile(tcodeName, tcode)) {
        std::fprintf(stderr, "tcdump: cannot read %s\n", tcodeName);
        return 1;
    }
    pp::DumpResult r = pp::DumpTokenFiles(slist, tcode);
    std::fwrite(r.text.data(), 1, r.text.size(), stdout);
    return r.consistent ? 0 : 1;
}
