// The preprocessor's two work files, the source list and the token file,
// through the analyzer (and, when it accepts them, the code generator). The
// input is the source list's length (16 bits), the source list, then the
// token file: a damaged disk can hand over any two such files.
#include <cstdio>

#include "cg_driver.h"
#include "fuzz_files.h"
#include "fuzz_module.h"
#include "sc_driver.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    txfuzz::QuietStdout();
    const uint8_t *slist, *tcode;
    size_t slist_size, tcode_size;
    txfuzz::SplitInput(data, size, slist, slist_size, tcode, tcode_size);
    std::string src = txfuzz::ScratchName("txtok_fuzz", ".BAS");
    std::string sl = txfuzz::ScratchName("txtok_fuzz", ".sl"), tc = txfuzz::ScratchName("txtok_fuzz", ".tc");
    std::string pc = txfuzz::ScratchName("txtok_fuzz", ".pc"), obj = txfuzz::ScratchName("txtok_fuzz", ".obj");
    std::string lst = txfuzz::ScratchName("txtok_fuzz", ".LST");
    if (!txfuzz::WriteFile(sl, slist, slist_size) || !txfuzz::WriteFile(tc, tcode, tcode_size))
        return 0;
    CmpFilParam p{};
    p.srcfilename = src.data();
    p.slist_filename = sl.data();
    p.tcode_filename = tc.data();
    p.pcode_filename = pc.data();
    p.Fo_filename = obj.data();
    p.Fs_filename = lst.data();
    if (txsc::CompileModule(&p) == 1 && !txfuzz::LargeModule(pc))
        txcg::CgCompile(&p);
    for (const std::string *f : {&sl, &tc, &pc, &obj, &lst})
        std::remove(f->c_str());
    return 0;
}
