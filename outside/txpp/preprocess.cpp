#include "preprocess.h"

#include "lexer.h"
#include "dbcs.h"
#include "intermediate.h"
#include "passerror.h"
#include "stdiobuffer.h"
#include "tokens.h"
#include "txpp.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace pp {

namespace {

// Error and detail codes: passerror.h.
using enum tx::PassError;
using enum tx::PassDetail;

constexpr size_t kMaxLines = 65535;  // record heads hold the line in 16 bits

class File {
public:
    File(const char *name, const char *mode) : f_(name ? std::fopen(name, mode) : nullptr) { buffer_.Attach(f_); }
    ~File() {
        if (f_) std::fclose(f_);
    }
    File(const File &) = delete;
    File &operator=(const File &) = delete;
    FILE *get() const { return f_; }
    bool Close() {
        FILE *f = f_;
        f_ = nullptr;
        return std::fclose(f) == 0;
    }

private:
    FILE *f_;
    tx::StdioBuffer buffer_;  // written a line at a time; closed before it goes
};

// The most bytes of one source or included file: its lines, each at its
// longest with CR LF. A larger file holds a line too many or one too long
// either way; it is refused before it fills memory (a device that never
// ends would read until none is left).
constexpr size_t kMaxFileBytes = kMaxLines * (tok::kMaxLineText + 2);

enum class ReadResult { kOk, kFailed, kTooLarge };

ReadResult ReadAll(FILE *f, std::string &out) {
    char buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) {
        if (out.size() + n > kMaxFileBytes) return ReadResult::kTooLarge;
        out.append(buf, n);
    }
    return std::ferror(f) ? ReadResult::kFailed : ReadResult::kOk;
}

void PutU16(std::vector<uint8_t> &v, size_t at, uint32_t value) {
    v[at] = static_cast<uint8_t>(value);
    v[at + 1] = static_cast<uint8_t>(value >> 8);
}

}  // namespace

namespace {

constexpr int kMaxIncludeDepth = 16;

// A line "#include "name"": the name's offset and length in the line.
bool IncludeLine(const std::string &text, size_t *off, size_t *len) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    static const char kWord[] = "#include";
    for (size_t k = 0; kWord[k]; ++k, ++i) {
        if (i >= text.size()) return false;
        char c = text[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != kWord[k]) return false;
    }
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    if (i >= text.size() || text[i] != '"') return false;
    const size_t q = text.find('"', i + 1);
    if (q == std::string::npos || q == i + 1) return false;
    for (size_t k = q + 1; k < text.size(); ++k)
        if (text[k] != ' ' && text[k] != '\t') {
            if (text[k] == '\'') break;  // a comment may follow
            return false;
        }
    *off = i + 1;
    *len = q - i - 1;
    return true;
}

bool IsSlash(char c) { return c == '/' || c == '\\'; }

// The folder part of a path, with its separator ("" for none). Double-byte
// aware: a trail byte 0x5C is no separator.
std::string FolderOf(const std::string &path) {
    size_t cut = 0;
    for (size_t i = 0; i < path.size(); ++i) {
        if (tx::IsSjisLeadByte(static_cast<uint8_t>(path[i])) && i + 1 < path.size()) {
            ++i;
            continue;
        }
        if (IsSlash(path[i]) || path[i] == ':') cut = i + 1;
    }
    return path.substr(0, cut);
}

ReadResult Readable(const std::string &path, std::string &out) {
    File f(path.c_str(), "rb");
    return f.get() ? ReadAll(f.get(), out) : ReadResult::kFailed;
}

// Finds an included file: as written when it has a folder or drive, else in
// the including file's folder, along the /I paths, then in each folder of
// INCLUDE. The first file too large to take ends the search.
ReadResult FindInclude(const CmpFilParam &param, const std::string &from, const std::string &name,
                       std::string &path, std::string &text) {
    if (!name.empty() && (IsSlash(name[0]) || name.find(':') != std::string::npos))
        return path = name, Readable(path, text);
    std::vector<std::string> folders{FolderOf(from)};
    for (int i = 0; i < kMaxIncludePaths && param.I_path[i]; ++i) folders.push_back(param.I_path[i]);
    if (const char *env = std::getenv("INCLUDE")) {
        std::string list(env);
        for (size_t a = 0; a <= list.size();) {
            size_t b = list.find(';', a);
            if (b == std::string::npos) b = list.size();
            if (b > a) folders.push_back(list.substr(a, b - a));
            a = b + 1;
        }
    }
    for (std::string folder : folders) {
        if (!folder.empty() && !IsSlash(folder.back()) && folder.back() != ':') folder += '/';
        path = folder + name;
        text.clear();
        if (const ReadResult r = Readable(path, text); r != ReadResult::kFailed) return r;
    }
    return ReadResult::kFailed;
}

struct Pass {
    CmpFilParam &param;
    FILE *slist;
    FILE *tcode;
    DefaultTypes defaults;
    std::vector<uint8_t> record;
    std::string listLine;  // the list file's line, its room kept
};

bool WriteRecord(Pass &pp, const std::string &line, size_t lineNumber) {
    PutU16(pp.record, 0, static_cast<uint32_t>(pp.record.size()));
    PutU16(pp.record, 2, static_cast<uint32_t>(lineNumber));
    // The list file stays one text line per record: the bytes that would
    // end or cut a line read as blanks. Other control bytes stand only in
    // string constants, whose text the analyzer takes from here.
    std::string &text = pp.listLine;
    text.assign(line);
    for (char &c : text) {
        if (c == '\n' || c == '\r' || c == '\0' || c == '\x1A') c = ' ';
    }
    text += '\n';
    if (std::fwrite(text.data(), 1, text.size(), pp.slist) != text.size()) {
        tx::StorePassError(pp.param, kErrWrite, kDetailSourceList, pp.param.slist_filename);
        return false;
    }
    if (std::fwrite(pp.record.data(), 1, pp.record.size(), pp.tcode) != pp.record.size()) {
        tx::StorePassError(pp.param, kErrWrite, kDetailTokenCode, pp.param.tcode_filename);
        return false;
    }
    return true;
}

void AddUnit(std::vector<uint8_t> &v, uint8_t a, uint8_t b, uint8_t c, uint8_t d) {
    v.insert(v.end(), {a, b, c, d});
}

// One source file's lines into records; an included file's lines stand
// between an include-begin record (statement 04, its name as a string
// unit) and an include-end record (05), so that error lines name it.
bool EmitFile(Pass &pp, const std::string &path, const std::string &source, int depth) {
    std::string text;
    size_t lineNumber = 0;
    for (size_t pos = 0; pos < source.size();) {
        size_t end = pos;
        while (end < source.size() && source[end] != '\r' && source[end] != '\n') ++end;
        text.assign(source, pos, end - pos);
        pos = end;
        if (pos < source.size() && source[pos] == '\r') ++pos;
        if (pos < source.size() && source[pos] == '\n') ++pos;

        if (++lineNumber > kMaxLines) {
            tx::StorePassError(pp.param, kErrTooManyLines, depth ? kDetailInclude : kDetailSource, path.c_str());
            return false;
        }
        for (char &c : text)
            if (c == 0x1A) c = ' ';  // an end-of-file mark inside the text reads as a blank

        size_t off, len;
        if (IncludeLine(text, &off, &len) && off + len <= 255) {
            const std::string name = text.substr(off, len);
            std::string found, body;
            const ReadResult got = FindInclude(pp.param, path, name, found, body);
            if (got != ReadResult::kOk) {
                tx::StorePassError(pp.param, got == ReadResult::kTooLarge ? kErrNoMemory : kErrOpen, kDetailInclude,
                                   name.c_str());
                return false;
            }
            if (depth >= kMaxIncludeDepth) {  // also a file that includes itself
                tx::StorePassError(pp.param, kErrBadFile, kDetailInclude, name.c_str());
                return false;
            }
            pp.record.assign(4, 0);
            AddUnit(pp.record, tok::kClsStatement, ifile::kStmIncludeBegin, 0, 0);
            AddUnit(pp.record, tok::kClsConstant, tok::kTypeStr, static_cast<uint8_t>(off), static_cast<uint8_t>(len));
            if (!WriteRecord(pp, text, lineNumber)) return false;
            if (!EmitFile(pp, found, body, depth + 1)) return false;
            pp.record.assign(4, 0);
            AddUnit(pp.record, tok::kClsStatement, ifile::kStmIncludeEnd, 0, 0);
            if (!WriteRecord(pp, text, lineNumber)) return false;
            continue;
        }

        LexOptions options;
        options.tokenLimit = tok::kMaxRecordTokens;
        if (text.size() > static_cast<size_t>(tok::kMaxLineText)) {
            text.resize(CutAtCharBoundary(text.data(), text.size(), tok::kMaxLineText));
            options.forcedFaultColumn = static_cast<int>(text.size());
        }
        pp.record.assign(4, 0);
        TokeniseLine(text, options, pp.defaults, pp.record);
        if (!WriteRecord(pp, text, lineNumber)) return false;
    }
    return true;
}

}  // namespace

int CompileFile(CmpFilParam &param) {
    // "?" asks for the standard environment: no file for the analyzer to open.
    if (param.S_filenmae && std::strcmp(param.S_filenmae, "?") == 0) param.S_filenmae = nullptr;
    // No precompiled header is ever written (nor, so, one to use: /Yu has
    // nothing to find and says nothing); asking for one is answered.
    if (param.Yc_filename) {
        std::printf("%s\n", PchNotCreatedText());
        std::fflush(stdout);
    }

    std::string source;
    {
        File in(param.srcfilename, "rb");
        if (!in.get()) {
            tx::StorePassError(param, kErrOpen, kDetailSource, param.srcfilename);
            return 0;
        }
        if (const ReadResult r = ReadAll(in.get(), source); r != ReadResult::kOk) {
            tx::StorePassError(param, r == ReadResult::kTooLarge ? kErrNoMemory : kErrRead, kDetailSource,
                               param.srcfilename);
            return 0;
        }
    }
    File slist(param.slist_filename, "wb");
    if (!slist.get()) {
        tx::StorePassError(param, kErrOpen, kDetailSourceList, param.slist_filename);
        return 0;
    }
    File tcode(param.tcode_filename, "wb");
    if (!tcode.get()) {
        tx::StorePassError(param, kErrOpen, kDetailTokenCode, param.tcode_filename);
        return 0;
    }
    Pass pp{param, slist.get(), tcode.get(), {}, {}, {}};
    if (!EmitFile(pp, param.srcfilename, source, 0)) return 0;
    if (!slist.Close()) {
        tx::StorePassError(param, kErrWrite, kDetailSourceList, param.slist_filename);
        return 0;
    }
    if (!tcode.Close()) {
        tx::StorePassError(param, kErrWrite, kDetailTokenCode, param.tcode_filename);
        return 0;
    }
    return 1;
}

int EditCheck(char *text, unsigned char *tokens, int mode) {
    if (!text || !tokens || (mode != kEdtChkLine && mode != kEdtChkWatch)) return -1;
    size_t length = std::strlen(text);
    std::vector<uint8_t> out;
    int result = 0;
    if (length > static_cast<size_t>(tok::kMaxLineText)) {
        // The callers never pass such a text; report it without touching it.
        out = {tok::kClsError, tok::kErrSyntax, 0, 0};
        result = 1;
    } else {
        std::string line(text, length);
        LexOptions options;
        options.kind = mode == kEdtChkLine ? LineKind::kSource : LineKind::kWatch;
        options.normalise = true;
        options.tokenLimit = tok::kEdtChkBufSize - 4;  // room for the end mark
        DefaultTypes defaults;
        TokeniseLine(line, options, defaults, out);
        // Only mode 1 may grow the text (by the blank after a line number);
        // the editor's buffer has room for it.
        std::memcpy(text, line.c_str(), line.size() + 1);
    }
    if (!out.empty())  // an empty vector's data() may be null
        std::memcpy(tokens, out.data(), out.size());
    const uint8_t end[4] = {tok::kClsEnd, 0, 0, 0};
    std::memcpy(tokens + out.size(), end, sizeof end);
    return result;
}

}  // namespace pp
