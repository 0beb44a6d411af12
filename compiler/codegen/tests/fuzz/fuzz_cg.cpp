// One intermediate file through the code generator. It must end with an
// object or an error code; anything else (a crash, a sanitizer report, a
// huge allocation) is a fault.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "cg_driver.h"
#include "fuzz_module.h"

#ifdef _WIN32
#include <process.h>
#define TX_FUZZ_PID() static_cast<unsigned long>(_getpid())
#else
#include <unistd.h>
#define TX_FUZZ_PID() static_cast<unsigned long>(getpid())
#endif

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (txfuzz::LargeModule(data, size))
        return 0;
    static const std::string stem = "txcg_fuzz_" + std::to_string(TX_FUZZ_PID());
    std::string pcode = stem + ".ir", object = stem + ".obj", source = "FUZZ.BAS";
    std::FILE *f = std::fopen(pcode.c_str(), "wb");
    if (!f)
        return 0;
    std::fwrite(data, 1, size, f);
    std::fclose(f);
    CmpFilParam p{};
    p.pcode_filename = pcode.data();
    p.Fo_filename = object.data();
    p.srcfilename = source.data();
    txcg::CgCompile(&p);
    std::remove(pcode.c_str());
    std::remove(object.c_str());
    return 0;
}
