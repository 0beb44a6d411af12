// Glue between the pass driver and the emission files: owns the work files
// and the emission state, and turns the emission side's fatal errors into
// the pass's fatal exit.
#include "sc_output.h"

#include <cstring>
#include <utility>
#include <vector>

#include "intermediate.h"
#include "sc_emit.h"
#include "sc_listing.h"
#include "sc_pass.h"
#include "sc_stream.h"
#include "sc_tables.h"
#include "sc_workfile.h"

namespace txsc {

struct ScOutputState {
    WorkFile work{kDetailWork};
    WorkFile refs{kDetailXrefWork};
    uint32_t codeSize = 0;
    uint32_t streamSize = 0;
    uint16_t procLine = 0;   // where the procedure now open began
    ListingState listing;
    TableState tables;
    std::vector<uint8_t> record;
};

namespace {

// Runs one step of the emission side; its fatal errors end the pass.
template <typename F>
auto Guard(ScPass &p, F f) -> decltype(f()) {
    try {
        return f();
    } catch (const OutFatal &e) {
        AbortPass(p, e.code, e.detail);
    }
}

void WritePcode(ScPass &p, const void *data, size_t size) {
    if (std::fwrite(data, 1, size, p.pcode) != size) throw OutFatal{kErrWrite, kDetailIntermediate};
}

bool OpensProcedure(uint8_t code) {
    return code == ifile::kStmFuncEntry || code == ifile::kStmSubEntry || code == ifile::kStmCheckedEntry;
}

}  // namespace

uint8_t ModuleFlagOf(const char *srcName) {
    if (!srcName) return 0;
    // The name as given, folders included: ".SUB" or ".FRM" anywhere in it
    // in any case. The four bytes are single-byte characters wherever they
    // stand, since '.' is never the second byte of a double-byte one.
    std::string upper(srcName);
    for (char &c : upper)
        if (c >= 'a' && c <= 'z') c = char(c - 32);
    return upper.find(".SUB") != std::string::npos || upper.find(".FRM") != std::string::npos ? 1 : 0;
}

std::string OutputWorkFileName(const ScPass &p, uint32_t detail) {
    if (!p.output) return {};
    if (detail == kDetailWork) return p.output->work.name();
    if (detail == kDetailXrefWork) return p.output->refs.name();
    return {};
}

void OutputOpen(ScPass &p) {
    if (!p.output) p.output = new ScOutputState;
    ScOutputState &o = *p.output;
    Guard(p, [&] {
        if (p.flags & kFlagXref) {
            o.refs.Create();
            o.refs.WriteU32(0);  // offset 0 means "no record"
        }
        o.work.Create();
        // The header is a placeholder until the end of the pass.
        auto head = ifile::EncodeHeader(ifile::Header{});
        WritePcode(p, head.data(), head.size());
        WritePcode(p, p.env, sizeof p.env);
    });
}

void OutputListLine(ScPass &p) {
    Guard(p, [&] {
        ListStatement(p.output->listing, (p.flags & kFlagListing) ? p.listing : nullptr,
                      (p.flags & kFlagExpanded) ? p.expanded : nullptr, p.mainLine, p.stmtCount, p.lineView());
    });
}

uint16_t OutputStatement(ScPass &p) {
    ScOutputState &o = *p.output;
    return Guard(p, [&]() -> uint16_t {
        EmitContext ctx;
        ctx.slots = p.slots;
        ctx.moduleFlag = p.moduleFlag;
        ctx.proc = p.scope.proc;
        ctx.line = p.mainLine;
        EmitResult r = EmitLine(p.items, p.out, ctx, &o.record);
        if (r.placement) p.placementMark = true;
        if (r.error) return r.error;
        for (int i = 0; i < p.out && p.items[i].code != ifile::kTokRecordEnd; ++i)
            if (p.items[i].code == ifile::kTokStatement && OpensProcedure(p.items[i].sub)) o.procLine = p.recLine;
        if (!o.record.empty()) {
            o.work.Write(o.record.data(), o.record.size());
            o.codeSize += uint32_t(o.record.size());
        }
        return 0;
    });
}

void OutputXref(ScPass &p) {
    if (!(p.flags & kFlagXref) || !p.xref) return;
    Guard(p, [&] { WriteXref(p, p.xref, p.output->refs); });
}

void OutputCountLine(ScPass &p) {
    Guard(p, [&] {
        ListCountLine((p.flags & kFlagListing) ? p.listing : nullptr, (p.flags & kFlagExpanded) ? p.expanded : nullptr,
                      p.errors, p.warnings);
    });
}

void OutputTables(ScPass &p) {
    ScOutputState &o = *p.output;
    Guard(p, [&] {
        if (o.codeSize) o.work.WriteU32(0);
        BuildTables(p, o.work, o.tables);
        CloseOpenProcedure(p, o.work, o.tables, o.procLine);
    });
}

void OutputStream(ScPass &p) {
    ScOutputState &o = *p.output;
    Guard(p, [&] {
        if (std::fseek(p.pcode, long(ifile::kStreamOffset), SEEK_SET) != 0) throw OutFatal{kErrRead, kDetailIntermediate};
        if (!o.codeSize) return;
        o.streamSize = WriteStream(o.work, p.pcode, o.tables,
                                   [&](uint16_t word, uint16_t line) { ErrMsgAt(p, word, line); });
    });
}

void OutputFinish(ScPass &p) {
    ScOutputState &o = *p.output;
    Guard(p, [&] {
        WriteTables(o.work, p.pcode, o.tables);
        ifile::Header h;
        h.module_flag = p.moduleFlag;
        h.trap_bits = p.trapBits;
        h.data_size = o.tables.dataSize;
        h.stream_size = o.streamSize;
        h.table_size = o.tables.size;
        WriteHeader(p.pcode, h);
        if (std::fflush(p.pcode) != 0) throw OutFatal{kErrWrite, kDetailIntermediate};
        // Writes to the lists are buffered: a full disk shows only here.
        const std::pair<FILE *, uint32_t> lists[] = {
            {p.listing, kDetailListing}, {p.expanded, kDetailExpanded}, {p.xref, kDetailXref}};
        for (const auto &[f, detail] : lists)
            if (f && (std::fflush(f) != 0 || std::ferror(f))) throw OutFatal{kErrWrite, detail};
    });
    OutputClose(p);
}

void OutputClose(ScPass &p) {
    for (FILE **f : {&p.listing, &p.expanded, &p.xref, &p.slist, &p.tcode, &p.pcode}) {
        if (*f) std::fclose(*f);
        *f = nullptr;
    }
    delete p.output;  // closes and deletes both work files
    p.output = nullptr;
}

void OutputReference(ScPass &p, uint32_t chain[2], uint8_t flag) {
    if (!(p.flags & kFlagXref) || !p.output || !p.output->refs.open()) return;
    WorkFile &w = p.output->refs;
    Guard(p, [&] {
        w.SeekEnd();
        uint32_t pos = w.Tell();
        if (chain[1]) w.PatchU32(chain[1], pos);
        else chain[0] = pos;
        chain[1] = pos;
        // The listings number references as they number their own lines.
        uint16_t line = (p.flags & kFlagExpanded) && !(p.flags & kFlagListing) ? p.stmtCount : p.mainLine;
        uint8_t rec[8] = {0, 0, 0, 0, uint8_t(line), uint8_t(line >> 8), flag, 0};
        w.Write(rec, sizeof rec);
    });
}

}  // namespace txsc
