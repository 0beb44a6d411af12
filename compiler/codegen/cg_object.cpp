#include "cg_object.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <memory>

#include "cg_bytes.h"
#include "cg_tables.h"

namespace txcg {

namespace {

constexpr uint32_t kRelocSize = 10;
constexpr uint32_t kLineSize = 6;

struct SectionRow {
    const char *name;
    uint32_t characteristics;
};

// Indexed by SectionId; every extra .text shares the first one's row.
constexpr SectionRow kSectionRows[kSecTextExtra + 1] = {
    {".drectve", kCharDrectve}, {".text", kCharText},      {".data", kCharData},
    {".data$bt", kCharData},    {".data$mc", kCharData},   {".data$cs", kCharData},
    {".data$cn", kCharData},    {".data$rd", kCharData},   {".data$ad", kCharData},
    {".data$ag", kCharData},    {".data$ac", kCharData},   {".data$al", kCharData},
    {".data$dg", kCharData},    {".data$dl", kCharData},   {".data$da", kCharData},
    {".data$ds", kCharData},    {".text", kCharText},
};

const SectionRow &Row(SectionId id) { return kSectionRows[std::min<int>(id, kSecTextExtra)]; }

} // namespace

const char *SectionName(SectionId id) { return Row(id).name; }
uint32_t SectionCharacteristics(SectionId id) { return Row(id).characteristics; }

uint32_t AddSymbol(CgState &st, std::string_view name, uint32_t value, int16_t section,
                   uint16_t type, uint8_t storageClass, uint8_t auxCount) {
    SymbolRecord rec{};
    if (name.size() <= 8) {
        std::memcpy(rec.data(), name.data(), name.size());
    } else {
        auto &obj = st.obj;
        std::string key(name);
        auto found = obj.longNames.find(key);
        uint32_t at;
        if (found != obj.longNames.end()) {
            at = found->second;
        } else {
            at = uint32_t(4 + obj.strings.size()); // offsets count the size word
            obj.strings.insert(obj.strings.end(), name.begin(), name.end());
            obj.strings.push_back(0);
            obj.longNames.emplace(std::move(key), at);
        }
        PutU32(rec.data() + 4, at);
    }
    PutU32(rec.data() + 8, value);
    PutU16(rec.data() + 12, uint16_t(section));
    PutU16(rec.data() + 14, type);
    rec[16] = storageClass;
    rec[17] = auxCount;
    uint32_t index = uint32_t(st.obj.symbols.size());
    st.obj.symbols.push_back(rec);
    st.obj.symbols.insert(st.obj.symbols.end(), auxCount, SymbolRecord{});
    return index;
}

SymbolRecord &AuxRecord(CgState &st, uint32_t symbol, uint32_t n) {
    return st.obj.symbols.at(symbol + n);
}

void AddSection(CgState &st, SectionId id) {
    auto &sec = st.sec[id];
    st.obj.numbered.push_back(id);
    sec.number = uint16_t(st.obj.numbered.size());
    sec.symbol = AddSymbol(st, SectionName(id), 0, int16_t(sec.number), kSymTypeNone,
                           kClassStatic, 1);
}

void InitObjectFile(CgState &st) {
    st.obj.numbered.clear();
    st.obj.symbols.clear();
    st.obj.strings.clear();
    st.obj.longNames.clear();
    const std::string &file = st.moduleFile;
    uint8_t aux = uint8_t((file.size() + 17) / 18);
    AddSymbol(st, ".file", 0, kSymDebug, kSymTypeNone, kClassFile, aux);
    // The name runs on over the aux records, NUL-padded, with no NUL of its
    // own when it fills them exactly.
    for (size_t i = 0; i < file.size(); ++i)
        st.obj.symbols[1 + i / 18][i % 18] = uint8_t(file[i]);
    CreateSections(st);
}

void CreateSections(CgState &st) {
    const bool main = st.mainModule;
    const bool debug = st.opt.debugInfo != 0;
    auto nonEmpty = [&](TableId t) { return st.ir.tableSize[t] != 0; };

    AddSection(st, kSecDrectve);
    AddSection(st, kSecText);
    if (st.ir.dataSize != 0)
        AddSection(st, kSecData);
    if (main)
        AddSection(st, kSecDataBt);
    AddSection(st, kSecDataMc);
    if (nonEmpty(ifile::kStringConstTable))
        AddSection(st, kSecDataCs);
    AddSection(st, kSecDataCn);
    if (nonEmpty(ifile::kDataItemTable))
        AddSection(st, kSecDataRd);
    if (nonEmpty(ifile::kArrayBoundsTable) || main)
        AddSection(st, kSecDataAd);
    if (CountCommonArrays(st) != 0 || main)
        AddSection(st, kSecDataAg);
    if (nonEmpty(ifile::kArrayTable)) {
        AddSection(st, kSecDataAc);
        if (AnyArrayWithStorage(st))
            AddSection(st, kSecDataAl);
    }
    if (main || (debug && nonEmpty(ifile::kCommonVarTable)))
        AddSection(st, kSecDataDg);
    if (debug && nonEmpty(ifile::kModuleVarTable))
        AddSection(st, kSecDataDl);
    if (debug && nonEmpty(ifile::kProcDebugTable))
        AddSection(st, kSecDataDa);
    if (debug ? (nonEmpty(ifile::kTypeDefTable) || main) : main)
        AddSection(st, kSecDataDs);
}

void SplitTextSections(CgState &st) {
    auto &text = st.sec[kSecText];
    uint64_t n = text.relocs.size();
    for (const auto &m : st.textRelocsMore)
        n += m.size();
    if (n <= kMaxSectionRelocs)
        return;
    const uint64_t full = (n - kMaxSectionRelocs) / kMaxSectionRelocs;
    if (full + 1 > uint64_t(kMaxExtraText))
        CgFail(kErrTextFull);

    // The parts' lists: as the fixups filed them, or cut from one whole list.
    std::vector<std::vector<CoffReloc>> more = std::move(st.textRelocsMore);
    st.textRelocsMore.clear();
    if (more.empty()) {
        for (size_t at = kMaxSectionRelocs; at < text.relocs.size(); at += kMaxSectionRelocs)
            more.emplace_back(text.relocs.begin() + at,
                              text.relocs.begin() + std::min<size_t>(at + kMaxSectionRelocs, text.relocs.size()));
        text.relocs.resize(kMaxSectionRelocs);
    }
    if (text.relocs.size() != kMaxSectionRelocs || more.size() > size_t(kMaxExtraText))
        CgFail(kErrInternal);

    std::vector<LineEntry> lines = std::move(text.lines);
    std::vector<uint8_t> code = std::move(text.image);
    const uint32_t parts = uint32_t(more.size() + 1);
    auto list = [&](uint32_t p) -> std::vector<CoffReloc> & { return p == 0 ? text.relocs : more[p - 1]; };

    size_t nextLine = 0;
    uint32_t firstEnd = 0;
    for (uint32_t p = 0; p < parts; ++p) {
        SectionId id = p == 0 ? kSecText : SectionId(kSecTextExtra + p - 1);
        auto &part = st.sec[id];
        std::vector<CoffReloc> &relocs = list(p);
        if (relocs.empty() || (p + 1 < parts && relocs.size() != kMaxSectionRelocs))
            CgFail(kErrInternal);
        // Each part starts at its first relocated field; the cut falls inside
        // an instruction, which is fine because the linker keeps the parts in
        // order with 1-byte alignment.
        const uint32_t start = p == 0 ? 0 : relocs.front().offset;
        const uint32_t end = p + 1 < parts ? list(p + 1).front().offset : uint32_t(code.size());
        // Fixups are filed in code order; anything else would cut wrongly.
        if (start > end || end > code.size() || relocs.back().offset < start ||
            uint64_t(relocs.back().offset) + 4 > end)
            CgFail(kErrInternal);
        if (p != 0) {
            AddSection(st, id);
            part.image.assign(code.begin() + start, code.begin() + end);
            part.relocs = std::move(relocs);
            for (auto &r : part.relocs)
                r.offset -= start;
        } else {
            firstEnd = end;
        }
        part.lines.clear();
        while (nextLine < lines.size() &&
               (p + 1 == parts || lines[nextLine].line == 0 || lines[nextLine].address < end)) {
            LineEntry e = lines[nextLine++];
            if (e.line != 0)
                e.address -= start;
            part.lines.push_back(e);
        }
    }
    // The first part is the head of the whole: cut, not copied.
    code.resize(firstEnd);
    text.image = std::move(code);
    st.extraTextCount = int(parts - 1);
}

namespace {

// The file header and the section headers, with each section's aux record
// completed; the 16-bit counts are checked before anything is written.
std::vector<uint8_t> ObjectHeaders(CgState &st) {
    auto &obj = st.obj;
    const uint32_t nsec = uint32_t(obj.numbered.size());
    std::vector<uint8_t> headers(kFileHeaderSize + kSectionHeaderSize * nsec);
    uint32_t pos = uint32_t(headers.size());

    for (uint32_t i = 0; i < nsec; ++i) {
        const SectionId id = obj.numbered[i];
        const auto &sec = st.sec[id];
        // The header counts are 16-bit: more would be written truncated and
        // the object would be silently wrong.
        if (sec.relocs.size() > kMaxSectionRelocs || sec.lines.size() > 0xFFFF)
            CgFail(kErrTextFull);
        uint8_t *h = headers.data() + kFileHeaderSize + kSectionHeaderSize * i;
        std::memcpy(h, SectionName(id), std::strlen(SectionName(id)));
        PutU32(h + 16, sec.Size());
        if (sec.Size() != 0) {
            PutU32(h + 20, pos);
            pos += sec.Size();
        }
        if (!sec.relocs.empty()) {
            PutU32(h + 24, pos);
            pos += kRelocSize * uint32_t(sec.relocs.size());
        }
        if (!sec.lines.empty()) {
            PutU32(h + 28, pos);
            pos += kLineSize * uint32_t(sec.lines.size());
        }
        PutU16(h + 32, uint16_t(sec.relocs.size()));
        PutU16(h + 34, uint16_t(sec.lines.size()));
        PutU32(h + 36, SectionCharacteristics(id));

        SymbolRecord &aux = AuxRecord(st, sec.symbol);
        PutU32(aux.data(), sec.Size());
        PutU16(aux.data() + 4, uint16_t(sec.relocs.size()));
        PutU16(aux.data() + 6, uint16_t(sec.lines.size()));
    }

    uint8_t *f = headers.data();
    PutU16(f, kMachineI386);
    PutU16(f + 2, uint16_t(nsec));
    PutU32(f + 4, obj.timeStamp ? *obj.timeStamp : uint32_t(std::time(nullptr)));
    PutU32(f + 8, pos); // the symbol table follows the sections
    PutU32(f + 12, uint32_t(obj.symbols.size()));
    return headers;
}

uint32_t ObjectSize(const CgState &st, const std::vector<uint8_t> &headers) {
    return GetU32(headers.data() + 8) + kSymRecordSize * uint32_t(st.obj.symbols.size()) + 4 +
           uint32_t(st.obj.strings.size());
}

// Hands the bytes after the headers to `put`, in file order.
template <typename Put> void ObjectBody(const CgState &st, Put &&put) {
    for (const SectionId id : st.obj.numbered) {
        const auto &sec = st.sec[id];
        put(sec.image.data(), sec.image.size());
        static const uint8_t zeros[65536] = {};
        for (uint32_t left = sec.zeros; left != 0;) {
            const uint32_t n = std::min<uint32_t>(left, sizeof zeros);
            put(zeros, n);
            left -= n;
        }
        for (const auto &r : sec.relocs) {
            uint8_t b[kRelocSize];
            PutU32(b, r.offset);
            PutU32(b + 4, r.symbol);
            PutU16(b + 8, r.type);
            put(b, sizeof b);
        }
        for (const auto &l : sec.lines) {
            uint8_t b[kLineSize];
            PutU32(b, l.address);
            PutU16(b + 4, l.line);
            put(b, sizeof b);
        }
    }
    for (const auto &s : st.obj.symbols)
        put(s.data(), s.size());
    uint8_t size[4];
    PutU32(size, uint32_t(4 + st.obj.strings.size()));
    put(size, sizeof size);
    put(st.obj.strings.data(), st.obj.strings.size());
}

// Collects the small pieces into whole blocks for the file.
class BlockWriter {
public:
    explicit BlockWriter(std::FILE *f) : f_(f) {}
    void operator()(const uint8_t *p, size_t n) {
        if (n > sizeof buf_ - used_) {
            Flush();
            if (n >= sizeof buf_) {
                ok_ = ok_ && std::fwrite(p, 1, n, f_) == n;
                return;
            }
        }
        if (n != 0)
            std::memcpy(buf_ + used_, p, n);
        used_ += n;
    }
    bool Flush() {
        ok_ = ok_ && (used_ == 0 || std::fwrite(buf_, 1, used_, f_) == used_);
        used_ = 0;
        return ok_;
    }

private:
    std::FILE *f_;
    uint8_t buf_[65536];
    size_t used_ = 0;
    bool ok_ = true;
};

} // namespace

std::vector<uint8_t> SerializeObject(CgState &st) {
    std::vector<uint8_t> out = ObjectHeaders(st);
    out.reserve(ObjectSize(st, out));
    ObjectBody(st, [&](const uint8_t *p, size_t n) { out.insert(out.end(), p, p + n); });
    return out;
}

// Written piece by piece: the image of a large module is never held whole.
void WriteObjectFile(CgState &st) {
    const std::vector<uint8_t> headers = ObjectHeaders(st);
    std::FILE *f = std::fopen(st.objectPath.c_str(), "wb");
    if (!f)
        CgFail(kErrOpen, kDetailObject);
    auto out = std::make_unique<BlockWriter>(f);
    (*out)(headers.data(), headers.size());
    ObjectBody(st, *out);
    const bool written = out->Flush();
    const bool closed = std::fclose(f) == 0;
    if (!written || !closed)
        CgFail(kErrWrite, kDetailObject);
}

} // namespace txcg
