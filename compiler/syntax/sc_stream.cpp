#include "sc_stream.h"

#include <algorithm>

#include "lebytes.h"
#include "sc_emit.h"
#include "sc_tables.h"
#include "sc_workfile.h"

namespace txsc {

namespace {

using namespace ifile;

uint32_t Get32(const uint8_t *p) { return le::GetU32(p); }

class Converter {
public:
    Converter(const TableState &t, const StreamError &error, uint16_t line, std::vector<uint8_t> &to)
        : out(to), t_(t), error_(error), line_(line) {}
    void Item(const uint8_t *w, uint32_t n);
    std::vector<uint8_t> &out;

private:
    void Put8(uint8_t v) { out.push_back(v); }
    void Put32(uint32_t v) {
        const uint8_t b[4] = {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)};
        Copy(b, 4);
    }
    // Items are a few bytes: byte by byte costs less than a general insert.
    void Copy(const uint8_t *w, uint32_t n) {
        if (n > 16) {
            out.insert(out.end(), w, w + n);
            return;
        }
        for (uint32_t i = 0; i < n; ++i) out.push_back(w[i]);
    }
    const SymOffsets &Sym(uint32_t h) const {
        static const SymOffsets none;
        const SymOffsets *s = t_.Sym(h);
        return s ? *s : none;
    }
    uint32_t Label(uint32_t h) const {
        if (h && h <= t_.label.size() && t_.label[h - 1].defined) return t_.label[h - 1].name;
        error_(kErrUndefined, line_);
        return 0;
    }
    uint32_t Restore(uint32_t label, uint32_t proc) const;
    void Statement(const uint8_t *w, uint32_t n, uint32_t v);
    void Function(const uint8_t *w, uint32_t v);
    void Operand(const uint8_t *w, uint32_t n, uint32_t v);

    const TableState &t_;
    const StreamError &error_;
    uint16_t line_;
};

// The DATA item a RESTORE selects: the first of its procedure at or after
// the label's statement, or the procedure's first without a label.
uint32_t Converter::Restore(uint32_t label, uint32_t proc) const {
    uint16_t from = 0;
    if (label) {
        if (label > t_.label.size() || !t_.label[label - 1].defined) {
            error_(kErrUndefined, line_);
            return 0;
        }
        from = t_.label[label - 1].stmt;
    }
    for (const DataRef &d : t_.data)
        if (d.proc == proc && d.stmt >= from) return d.offset;
    error_(kErrNoData, line_);
    return 0;
}

void Converter::Item(const uint8_t *w, uint32_t n) {
    const uint32_t v = n >= 6 ? Get32(w + 2) : 0;
    switch (w[0]) {
    case kTokStatement:
        Statement(w, n, v);
        return;
    case kTokOwnFunc:
    case kTokDeclFunc:
    case kTokLibFunc:
        Function(w, v);
        return;
    default:
        Operand(w, n, v);
        return;
    }
}

// A statement head: a procedure's or call's symbol becomes its table offsets,
// a RESTORE its DATA item.
void Converter::Statement(const uint8_t *w, uint32_t n, uint32_t v) {
    switch (w[1]) {
    case kStmCheckedEntry:
        Copy(w, 2);
        Put32(Sym(v).name);
        Put32(Sym(v).debug);
        Put32(Sym(v).defaults);
        Put32(Sym(v).data);
        return;
    case kStmFuncEntry:
    case kStmSubEntry:
        Copy(w, 2);
        Put32(Sym(v).name);
        Put32(Sym(v).debug);
        Put32(Sym(v).data);
        return;
    case kStmFuncEnd:
        Copy(w, 2);
        Put8(3);
        Put32(Sym(v).result);
        return;
    case kStmCall:
        Copy(w, 2);
        Put8(Sym(v).form);
        Put32(Sym(v).name);
        return;
    case kStmCallDll:
        Copy(w, 2);
        Put8(Sym(v).form);
        Put32(Sym(v).libName);
        Put32(Sym(v).extName);
        return;
    case kStmDefFn:
        Copy(w, 2);
        Put32(Sym(v).name);
        Put32(Sym(v).debug);
        return;
    case kStmRestore:
        Copy(w, 2);
        Put32(Restore(v, Get32(w + 6)));
        return;
    default:
        Copy(w, n);
        return;
    }
}

// A call of a function of this module, a declared one or a library one.
void Converter::Function(const uint8_t *w, uint32_t v) {
    switch (w[0]) {
    case kTokOwnFunc:
        Copy(w, 2);
        Put32(Sym(v).name);
        return;
    case kTokDeclFunc:
        Copy(w, 2);
        Put8(Sym(v).form);
        Put32(Sym(v).name);
        return;
    default:  // kTokLibFunc
        Copy(w, 2);
        Put8(Sym(v).form);
        Put32(Sym(v).libName);
        Put32(Sym(v).extName);
        return;
    }
}

// Variables, members, constants, labels and the rest: references become
// their table offsets, anything else is copied.
void Converter::Operand(const uint8_t *w, uint32_t n, uint32_t v) {
    switch (w[0]) {
    case kTokVar:
    case kTokArray:
    case kTokArrayAddr:
        Copy(w, 2);
        Put8(Sym(v).cls);
        Put32(Sym(v).record);
        return;
    case kTokElement:  // the function's own result as a target
        Put8(kTokVar);
        Put8(w[1]);
        Put8(3);
        Put32(Sym(v).result);
        return;
    case kTokMember:
    case kTokSubscript:
        Copy(w, 2);
        Put32(v && v <= t_.member.size() ? t_.member[v - 1] : 0);
        return;
    case kTokConstant:
        if (w[1] == kTypeStr) {
            Copy(w, 2);
            Put32(v && v <= t_.string.size() ? t_.string[v - 1] : 0);
        } else {
            Copy(w, n);
        }
        return;
    case kTokLabel:
        Copy(w, 2);
        Put32(Label(v));
        return;
    case kTokLineNumber:
        if (w[1] == kLineNumberNone) {
            Copy(w, 2);
        } else {
            Copy(w, 2);
            Put32(Label(v));
        }
        return;
    case kTokParamBlock: {
        // DEF PARM's block, or the block a CALLS names (which DEF PARM must
        // have built: else error 38), as its table-9 entry.
        uint32_t entry = 0;
        const bool found = t_.Block(v, &entry);
        if (w[1] == 0) {
            Copy(w, 2);
            Put32(entry);
            Put32(0);
        } else if (w[1] == 1) {
            Copy(w, 2);
            if (!found) error_(kErrNoParamBlock, line_);
            Put32(entry);
        } else {
            throw OutFatal{kErrInternal};
        }
        return;
    }
    case kTokLabelValue:  // a label's address as a value: an LNG constant
        Put8(kTokConstant);
        Put8(kTypeLng);
        Put32(Label(v));
        return;
    default:
        Copy(w, n);
        return;
    }
}

void Put(FILE *out, const void *data, size_t size) {
    if (size && std::fwrite(data, 1, size, out) != size) throw OutFatal{kErrWrite, kDetailIntermediate};
}

void Pad(FILE *out, uint32_t size) {
    static const uint8_t zeros[kAlign] = {};
    Put(out, zeros, PadTo16(size) - size);
}

}  // namespace

std::vector<uint8_t> ConvertRecord(const uint8_t *rec, size_t len, const TableState &t, const StreamError &error) {
    std::vector<uint8_t> out;
    ConvertRecord(rec, len, t, error, out);
    return out;
}

void ConvertRecord(const uint8_t *rec, size_t len, const TableState &t, const StreamError &error,
                   std::vector<uint8_t> &out) {
    if (len < kRecordHeadSize) throw OutFatal{kErrInternal};
    uint16_t line = uint16_t(rec[2] | rec[3] << 8);
    Converter c(t, error, line, out);
    c.out.assign(rec, rec + kRecordHeadSize);
    size_t at = kRecordHeadSize;
    for (;;) {
        uint32_t n = WorkItemLength(rec + at, len - at);
        if (n == 0) throw OutFatal{kErrInternal};
        c.Item(rec + at, n);
        if (rec[at] == kTokRecordEnd) break;
        at += n;
    }
    uint16_t total = uint16_t(c.out.size());
    c.out[0] = uint8_t(total);
    c.out[1] = uint8_t(total >> 8);
}

uint32_t WriteStream(WorkFile &work, FILE *out, const TableState &t, const StreamError &error) {
    work.Seek(0);
    uint32_t size = 0;
    std::vector<uint8_t> rec, s;  // reused from record to record
    for (;;) {
        uint8_t head[4];
        work.Read(head, 4);
        uint16_t len = uint16_t(head[0] | head[1] << 8);
        if (len == 0) break;
        if (len < kRecordHeadSize) throw OutFatal{kErrRead, kDetailWork};
        rec.assign(head, head + 4);
        rec.resize(len);
        work.Read(rec.data() + 4, len - 4u);
        ConvertRecord(rec.data(), rec.size(), t, error, s);
        Put(out, s.data(), s.size());
        size += uint32_t(s.size());
    }
    if (size == 0) return 0;
    const uint8_t end[4] = {};
    Put(out, end, 4);
    size += 4;
    Pad(out, size);
    return size;
}

void WriteTables(WorkFile &work, FILE *out, const TableState &t) {
    std::vector<uint8_t> block(kAlign);
    for (int i = 0; i < kTableCount; ++i) {
        if (t.size[i] == 0) continue;
        work.Seek(t.pos[i]);
        for (uint32_t done = 0; done < t.size[i]; done += kAlign) {
            uint32_t n = std::min<uint32_t>(kAlign, t.size[i] - done);
            std::fill(block.begin(), block.end(), 0);
            work.Read(block.data(), n);
            Put(out, block.data(), kAlign);
        }
    }
}

void WriteHeader(FILE *out, const Header &h) {
    if (std::fseek(out, 0, SEEK_SET) != 0) throw OutFatal{kErrRead, kDetailIntermediate};
    auto bytes = EncodeHeader(h);
    Put(out, bytes.data(), bytes.size());
}

}  // namespace txsc
