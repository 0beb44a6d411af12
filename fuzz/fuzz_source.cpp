// One source module through the three passes, as TXCL chains them, with the
// listing and cross-reference on. Every pass must end with its result or an
// error code.
#include <cstdio>

#include "cg_driver.h"
#include "fuzz_files.h"
#include "fuzz_module.h"
#include "passes.h"
#include "sc_driver.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    txfuzz::QuietStdout();
    if (size > 1 << 16)
        return 0; // longer sources only take longer
    std::string src = txfuzz::ScratchName("txsrc_fuzz", ".BAS");
    std::string sl = txfuzz::ScratchName("txsrc_fuzz", ".sl"), tc = txfuzz::ScratchName("txsrc_fuzz", ".tc");
    std::string pc = txfuzz::ScratchName("txsrc_fuzz", ".pc"), obj = txfuzz::ScratchName("txsrc_fuzz", ".obj");
    std::string lst = txfuzz::ScratchName("txsrc_fuzz", ".LST"), xrf = txfuzz::ScratchName("txsrc_fuzz", ".XRF");
    if (!txfuzz::WriteFile(src, data, size))
        return 0;
    CmpFilParam p{};
    p.srcfilename = src.data();
    p.slist_filename = sl.data();
    p.tcode_filename = tc.data();
    p.pcode_filename = pc.data();
    p.Fo_filename = obj.data();
    p.Fs_filename = lst.data();
    p.Fx_filename = xrf.data();
    if (PP_CmpFil(&p) == 1 && txsc::CompileModule(&p) == 1 && !txfuzz::LargeModule(pc))
        txcg::CgCompile(&p);
    for (const std::string *f : {&src, &sl, &tc, &pc, &obj, &lst, &xrf})
        std::remove(f->c_str());
    return 0;
}
