#include "sc_crash.h"

#include "sc_pass.h"
#include "sc_text.h"

namespace txsc {

std::string CrashMessage(const ScPass &p) {
    char phase[64];
    std::snprintf(phase, sizeof phase, CrashPhaseFormat(p.phase), unsigned(p.mainLine));
    const char *src = p.param && p.param->srcfilename ? p.param->srcfilename : "";
    std::string msg(std::snprintf(nullptr, 0, CrashMessageFormat(), src, phase), '\0');
    std::snprintf(msg.data(), msg.size() + 1, CrashMessageFormat(), src, phase);
    return msg;
}

void WriteCrashDump(std::FILE *f, const ScPass &p, uint32_t code, uint32_t flags, uint32_t address) {
    std::string msg = CrashMessage(p);
    std::fwrite(msg.data(), 1, msg.size(), f);
    std::fputc('\n', f);
    std::fprintf(f, "Code %08X Flag %08X, Address %08X\n", unsigned(code), unsigned(flags), unsigned(address));
    std::fprintf(f, "Pointer %d\n", p.traceNext - 1);
    for (int i = 0; i < kTraceEntries; ++i) {
        const TraceEntry &e = p.trace[i];
        std::fprintf(f, "%3d(%04X),%04X,%02X,%02X,%08X\n", i, unsigned(e.token), unsigned(e.op),
                     unsigned(e.a), unsigned(e.b), unsigned(e.target));
    }
}

}  // namespace txsc
