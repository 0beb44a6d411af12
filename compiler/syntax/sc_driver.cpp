// The pass driver: opens the files of the block, reads the preprocessor's
// two temporaries statement by statement, has each line analysed, checked
// and emitted, and reports statement errors.
#include "sc_driver.h"

#include <cstring>
#ifdef _WIN32
#include <share.h>
#endif
#include <new>
#include <string>

#include "envblock.h"
#include "intermediate.h"
#include "sc_blocks.h"
#include "sc_crash.h"
#include "sc_numeric.h"
#include "sc_output.h"
#include "passerror.h"
#include "sc_pass.h"
#include "sc_text.h"
#include "sc_workfile.h"

namespace txsc {

namespace {

ScPass *g_pass = nullptr;

// The pass's files are opened denying other writers while it runs.
FILE *OpenShared(const char *name, const char *mode) {
#ifdef _WIN32
    return _fsopen(name, mode, _SH_DENYWR);
#else
    return std::fopen(name, mode);
#endif
}

FILE *OpenOrAbort(ScPass &p, const char *name, const char *mode, uint32_t detail) {
    FILE *f = name ? OpenShared(name, mode) : nullptr;
    if (!f) AbortPass(p, kErrOpen, detail);
    return f;
}

// The work files are read and written a line or an item at a time: a large
// buffer saves the calls into the system for each few bytes.
FILE *OpenWorkFile(ScPass &p, const char *name, const char *mode, uint32_t detail, tx::StdioBuffer &buffer) {
    FILE *f = OpenOrAbort(p, name, mode, detail);
    buffer.Attach(f);
    return f;
}

// One character of the source list, without taking the stream's lock for
// each one where the library allows it (the pass is single-threaded).
inline int NextChar(FILE *f) {
#if defined(__unix__) || defined(__APPLE__)
    return getc_unlocked(f);
#else
    return std::fgetc(f);
#endif
}

void OpenFiles(ScPass &p) {
    CmpFilParam &c = *p.param;
    std::memcpy(p.env, ifile::BuiltinEnvBlock().data(), sizeof p.env);
    if (c.S_filenmae) {
        EnvBlock env;
        switch (ReadEnvBlockFile(c.S_filenmae, env)) {
        case EnvReadStatus::kOk: std::memcpy(p.env, &env, sizeof p.env); break;
        case EnvReadStatus::kOpenFailed: AbortPass(p, kErrOpen, kDetailEnv);
        case EnvReadStatus::kShort: AbortPass(p, kErrRead, kDetailEnv);
        case EnvReadStatus::kBadSignature: AbortPass(p, kErrBadFile, kDetailEnv);
        }
    }
    if (c.Fs_filename) { p.listing = OpenOrAbort(p, c.Fs_filename, "w", kDetailListing); p.flags |= kFlagListing; }
    if (c.Fx_filename) { p.xref = OpenOrAbort(p, c.Fx_filename, "w", kDetailXref); p.flags |= kFlagXref; }
    if (c.Fp_filename) { p.expanded = OpenOrAbort(p, c.Fp_filename, "w", kDetailExpanded); p.flags |= kFlagExpanded; }
    p.mode = c.M == 2 ? 'L' : 'W';
    if (c.CV == 1) p.flags |= kFlagNoDefaultVars;
    p.moduleFlag = ModuleFlagOf(c.srcfilename);
    // The source list is read as bytes: its lines are Shift-JIS and the
    // name offsets of the tokens count bytes, line feed handling included.
    p.slist = OpenWorkFile(p, c.slist_filename, "rb", kDetailSourceList, p.slistBuffer);
    p.tcode = OpenWorkFile(p, c.tcode_filename, "rb", kDetailTokenCode, p.tcodeBuffer);
    p.pcode = OpenWorkFile(p, c.pcode_filename, "w+b", kDetailIntermediate, p.pcodeBuffer);
    OutputOpen(p);
    if (num::Reset() != num::kOk) AbortPass(p, kErrInternal);
}

const char *DetailFileName(ScPass &p, uint32_t detail) {
    const CmpFilParam &c = *p.param;
    switch (detail) {
    case kDetailSource: return c.srcfilename;
    case kDetailEnv: return c.S_filenmae;
    case kDetailListing: return c.Fs_filename;
    case kDetailExpanded: return c.Fp_filename;
    case kDetailXref: return c.Fx_filename;
    case kDetailSourceList: return c.slist_filename;
    case kDetailTokenCode: return c.tcode_filename;
    case kDetailIntermediate: return c.pcode_filename;
    }
    return nullptr;
}

void WriteErrorLine(ScPass &p, const std::string &text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
    if ((p.flags & kFlagListing) && p.listing &&
        std::fwrite(text.data(), 1, text.size(), p.listing) != text.size())
        AbortPass(p, kErrWrite, kDetailListing);
    if ((p.flags & kFlagExpanded) && p.expanded &&
        std::fwrite(text.data(), 1, text.size(), p.expanded) != text.size())
        AbortPass(p, kErrWrite, kDetailExpanded);
}

void AnalyseStatement(ScPass &p) {
    uint16_t word = AnalyseLine(p);
    if (!word) word = CheckConstants(p);
    if (!word && p.placementMark && p.items[0].code == 0 && p.items[0].sub > 1) word = 0x744C;
    if (!word) word = OutputStatement(p);
    if (word) ErrMsg(p, word);
}

int Run(ScPass &p) {
    OpenFiles(p);
    CrashGuard guard(p);
    p.phase = 0;
    ReadStatement(p);
    while (!p.tcodeEnd) {
        if (!p.fromInclude) p.mainLine = p.recLine;
        ++p.stmtCount;
        OutputListLine(p);
        AnalyseStatement(p);
        if (p.slistEnd) break;
        ReadStatement(p);
    }
    p.phase = 1;
    OutputXref(p);
    // Each step runs only while no error is counted. The count line waits
    // until all of them have run, so that it also counts the errors found
    // after the statements (open blocks, undefined labels, RESTORE data).
    if (!p.errors) CheckOpenBlocks(p);
    if (!p.errors) OutputTables(p);
    if (!p.errors) OutputStream(p);
    OutputCountLine(p);
    if (p.errors) AbortPass(p, kErrNoText);
    p.phase = 2;
    OutputFinish(p);
    return 1;
}

}  // namespace

ScPass *CurrentPass() { return g_pass; }

void AbortPass(ScPass &p, uint32_t code, std::optional<uint32_t> detail) {
    // A work file's name goes with the file: keep it for the error text.
    const std::string work = detail ? OutputWorkFileName(p, *detail) : std::string();
    OutputClose(p);
    if (detail)
        tx::StorePassError(*p.param, code, *detail, work.empty() ? DetailFileName(p, *detail) : work.c_str());
    else
        p.param->err_code = code;
    throw ScAbort{code};
}

void ErrMsgAt(ScPass &p, uint16_t word, uint16_t line) {
    char field[16];
    FormatLineField(line, field);
    ++p.errors;
    std::string text = p.nameStack.empty() ? std::string() : p.nameStack.back();
    text += field;
    text += StatementErrorText(uint8_t(word & 0xFF));
    text += '\n';
    WriteErrorLine(p, text);
}

void ErrMsg(ScPass &p, uint16_t word) { ErrMsgAt(p, word, p.recLine); }

void ReadStatement(ScPass &p) {
    // One line of at most 256 characters, line feed included.
    int n = 0;
    int c = 0;
    while (n < kLineMax && (c = NextChar(p.slist)) != EOF) {
        p.line[n++] = char(c);
        if (c == '\n') break;
    }
    if (n == 0 && c == EOF) {
        if (std::ferror(p.slist)) AbortPass(p, kErrRead, kDetailSourceList);
        p.slistEnd = true;
    }
    p.line[n] = 0;
    p.lineLen = n;
    while (p.lineLen > 0 && (p.line[p.lineLen - 1] == '\n' || p.line[p.lineLen - 1] == '\r')) --p.lineLen;

    uint8_t head[4];
    size_t got = std::fread(head, 1, 4, p.tcode);
    if (got == 0 && std::feof(p.tcode)) { p.tcodeEnd = true; return; }
    if (got != 4) AbortPass(p, kErrRead, kDetailTokenCode);
    uint16_t total = uint16_t(head[0] | head[1] << 8);
    p.recLine = uint16_t(head[2] | head[3] << 8);
    // A length that cannot hold its own head, or tokens that would not fit
    // the buffer with the end mark, is no record this pass can read.
    if (total < 4 || total - 4 > kTokenMaxBytes) AbortPass(p, kErrBadFile, kDetailTokenCode);
    p.tokBytes = total - 4;
    if (std::fread(p.tokbuf, 1, size_t(p.tokBytes), p.tcode) != size_t(p.tokBytes)) AbortPass(p, kErrRead, kDetailTokenCode);
    static const uint8_t kEndMark[4] = {0xF1, 0, 0, 0};
    std::memcpy(p.tokbuf + p.tokBytes, kEndMark, 4);
}

std::string_view TokenName(ScPass &p, const Token &t) {
    if (size_t(t.off) + t.len > size_t(p.lineLen)) AbortPass(p, kErrBadFile, kDetailTokenCode);
    return std::string_view(p.line + t.off, t.len);
}

int CompileModule(CmpFilParam *param) {
    ScPass *p = nullptr;
    try {
        p = new ScPass;
    } catch (const std::bad_alloc &) {
        param->err_code = 6;
        param->err_detail = kDetailAnalyzer;
        return 0;
    }
    p->param = param;
    p->nameStack.push_back(param->srcfilename ? param->srcfilename : "");
    g_pass = p;
    int result = 0;
    try {
        result = Run(*p);
    } catch (const ScAbort &) {
        result = 0;
    } catch (const OutFatal &e) {
        // A fatal state met inside the symbol table (a size of no type).
        try { AbortPass(*p, e.code, e.detail); } catch (const ScAbort &) {}
        result = 0;
    } catch (const std::bad_alloc &) {
        try { AbortPass(*p, kErrNoMemory, kDetailAnalyzer); } catch (const ScAbort &) {}
        result = 0;
    }
    OutputClose(*p);
    g_pass = nullptr;
    delete p;
    return result;
}

}  // namespace txsc
