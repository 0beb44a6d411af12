// Placeholder emission: the header image and the environment block, and an
// empty statement stream. The work file, the tables and the listings
// replace it.
#include "sc_output.h"

#include <cstring>

#include "sc_pass.h"

namespace txsc {

namespace {

void WriteHeader(ScPass &p) {
    uint8_t hdr[64] = {};
    hdr[0] = 0xFB;
    hdr[1] = p.moduleFlag;
    hdr[2] = 6;
    hdr[4] = 10;
    hdr[6] = p.trapBits;
    if (std::fseek(p.pcode, 0, SEEK_SET) != 0) AbortPass(p, 13, 0, dc::kPcode);
    if (std::fwrite(hdr, 1, sizeof hdr, p.pcode) != sizeof hdr) AbortPass(p, 12, 0, dc::kPcode);
}

}  // namespace

void OutputOpen(ScPass &p) {
    WriteHeader(p);
    if (std::fwrite(p.env, 1, sizeof p.env, p.pcode) != sizeof p.env) AbortPass(p, 12, 0, dc::kPcode);
}

void OutputListLine(ScPass &) {}
void OutputReference(ScPass &, uint32_t *, uint8_t) {}
uint16_t OutputStatement(ScPass &) { return 0; }
void OutputCountLine(ScPass &) {}
void OutputTables(ScPass &) {}
void OutputStream(ScPass &) {}

void OutputFinish(ScPass &p) {
    WriteHeader(p);
    OutputClose(p);
}

void OutputClose(ScPass &p) {
    for (FILE **f : {&p.listing, &p.expanded, &p.xref, &p.slist, &p.tcode, &p.pcode}) {
        if (*f) std::fclose(*f);
        *f = nullptr;
    }
}

}  // namespace txsc
