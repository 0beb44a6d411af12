#include "ir_builder.h"

#include <cstring>
#include <fstream>
#include <stdexcept>

#include "intermediate.h"

namespace txcg::test {

namespace {

void U16(Bytes &b, uint16_t v) {
    b.push_back(uint8_t(v));
    b.push_back(uint8_t(v >> 8));
}

void U32(Bytes &b, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b.push_back(uint8_t(v >> (8 * i)));
}

void Patch32(Bytes &b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b[at + i] = uint8_t(v >> (8 * i));
}

void Name(Bytes &b, const std::string &name) {
    b.push_back(uint8_t(name.size()));
    b.insert(b.end(), name.begin(), name.end());
}

void Record(Bytes &b, const VarRec &v) {
    b.push_back(v.type);
    b.push_back(v.cls);
    U32(b, v.address);
    U32(b, v.typeRef);
    U32(b, v.bounds);
    U32(b, v.size);
    b.push_back(v.prefix);
    Name(b, v.name);
}

void Pad16(Bytes &b) {
    while (b.size() % 16)
        b.push_back(0);
}

} // namespace

namespace tok {

Bytes Cat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const auto &p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

Bytes Stmt(uint8_t code) { return {0x00, code}; }

Bytes Stmt(uint8_t code, std::initializer_list<uint32_t> words) {
    Bytes b{0x00, code};
    for (uint32_t w : words)
        U32(b, w);
    return b;
}

Bytes StmtByte(uint8_t code, uint8_t v, uint32_t word) {
    Bytes b{0x00, code, v};
    U32(b, word);
    return b;
}

Bytes Var(uint8_t kind, uint8_t type, uint8_t cls, uint32_t offset) {
    Bytes b{kind, type, cls};
    U32(b, offset);
    return b;
}

Bytes Member(uint8_t type, uint32_t offset) {
    Bytes b{0x51, type};
    U32(b, offset);
    return b;
}

Bytes Label(uint8_t kind, uint32_t procNameOffset) {
    Bytes b{kind, 0};
    U32(b, procNameOffset);
    return b;
}

Bytes ConstInt(int16_t v) {
    Bytes b{0x70, 0};
    U16(b, uint16_t(v));
    return b;
}

Bytes ConstLng(int32_t v) {
    Bytes b{0x70, 1};
    U32(b, uint32_t(v));
    return b;
}

Bytes ConstSng(float v) {
    uint32_t bits;
    std::memcpy(&bits, &v, 4);
    Bytes b{0x70, 2};
    U32(b, bits);
    return b;
}

Bytes ConstDbl(double v) {
    uint64_t bits;
    std::memcpy(&bits, &v, 8);
    Bytes b{0x70, 3};
    U32(b, uint32_t(bits));
    U32(b, uint32_t(bits >> 32));
    return b;
}

Bytes ConstByt(uint8_t v) { return {0x70, 4, v}; }
Bytes Pair(uint8_t a, uint8_t b) { return {a, b}; }
Bytes Separator() { return {0xF2, 0x00}; }

} // namespace tok

IrBuilder::IrBuilder() : env_(DefaultEnvBlock()) {}

// The analyzer's built-in environment block.
Bytes IrBuilder::DefaultEnvBlock() {
    const auto &e = ifile::BuiltinEnvBlock();
    return Bytes(e.begin(), e.end());
}

IrBuilder &IrBuilder::SubModule(bool sub) {
    moduleFlag_ = sub ? 1 : 0;
    return *this;
}

IrBuilder &IrBuilder::TrapBits(uint8_t bits) {
    trapBits_ = bits;
    return *this;
}

IrBuilder &IrBuilder::DataSize(uint32_t size) {
    dataSize_ = size;
    return *this;
}

IrBuilder &IrBuilder::Env(const Bytes &block) {
    if (block.size() != 352)
        throw std::invalid_argument("environment block is 352 bytes");
    env_ = block;
    return *this;
}

IrBuilder &IrBuilder::Statement(uint16_t line, const Bytes &tokens) {
    const size_t length = 4 + tokens.size() + 2;
    U16(stream_, uint16_t(length));
    U16(stream_, line);
    stream_.insert(stream_.end(), tokens.begin(), tokens.end());
    stream_.push_back(0xF1);
    stream_.push_back(0x00);
    return *this;
}

uint32_t IrBuilder::ProcName(uint8_t flag, const std::string &name) {
    Bytes &t = tables_[0];
    uint32_t at = uint32_t(t.size());
    t.push_back(flag);
    U32(t, 0);
    U32(t, 0);
    Name(t, name);
    return at;
}

uint32_t IrBuilder::DataItem(uint16_t line, const std::string &text) {
    Bytes &t = tables_[1];
    uint32_t at = uint32_t(t.size());
    t.push_back(0);
    U16(t, line);
    t.insert(t.end(), text.begin(), text.end());
    return at;
}

uint32_t IrBuilder::StringConst(const std::string &text) {
    Bytes &t = tables_[2];
    uint32_t at = uint32_t(t.size());
    U32(t, 0);
    U32(t, uint32_t(text.size()));
    U32(t, at + 12);
    t.insert(t.end(), text.begin(), text.end());
    return at;
}

uint32_t IrBuilder::StringAlias(uint32_t textOffset, uint32_t length) {
    Bytes &t = tables_[2];
    uint32_t at = uint32_t(t.size());
    U32(t, 0);
    U32(t, length);
    U32(t, textOffset);
    return at;
}

uint32_t IrBuilder::CommonVar(const VarRec &v) {
    Bytes &t = tables_[3];
    if (t.empty())
        U32(t, 0); // total size, patched in Build
    uint32_t at = uint32_t(t.size());
    Record(t, v);
    return at;
}

uint32_t IrBuilder::ModuleVar(const VarRec &v) {
    Bytes &t = tables_[4];
    if (t.empty())
        U32(t, 0);
    uint32_t at = uint32_t(t.size());
    Record(t, v);
    return at;
}

uint32_t IrBuilder::Array(uint8_t type, uint32_t storage) {
    Bytes &t = tables_[5];
    uint32_t slot = uint32_t(t.size() / 17 * 10);
    t.push_back(type);
    U32(t, storage);
    U32(t, 0);
    U32(t, 0);
    U32(t, 0);
    return slot;
}

uint32_t IrBuilder::ProcDebug(const std::string &name, uint32_t frame,
                              const std::vector<VarRec> &vars, int paramCount) {
    Bytes &t = tables_[6];
    uint32_t at = uint32_t(t.size());
    U32(t, 0);
    Name(t, name);
    U32(t, frame);
    t.push_back(uint8_t(paramCount < 0 ? vars.size() : size_t(paramCount)));
    for (const auto &v : vars)
        Record(t, v);
    Patch32(t, at, uint32_t(t.size() - at));
    return at;
}

uint32_t IrBuilder::TypeDef(const std::string &name, uint32_t typeSize,
                            const std::vector<VarRec> &members) {
    Bytes &t = tables_[7];
    uint32_t at = uint32_t(t.size());
    U32(t, 0);
    U32(t, typeSize);
    Name(t, name);
    for (const auto &m : members)
        Record(t, m);
    Patch32(t, at, uint32_t(t.size() - at));
    return at;
}

uint32_t IrBuilder::Bounds(const std::vector<uint32_t> &dims) {
    Bytes &t = tables_[8];
    uint32_t at = uint32_t(t.size());
    t.push_back(uint8_t(dims.size()));
    for (uint32_t d : dims)
        U32(t, d);
    return at;
}

uint32_t IrBuilder::LocalNameRef(const std::string &name, int refs) {
    Bytes &t = tables_[9];
    uint32_t at = uint32_t(t.size());
    U32(t, 0);
    Name(t, name);
    t.insert(t.end(), size_t(9 * refs), 0);
    Patch32(t, at, uint32_t(t.size() - at));
    return at;
}

IrBuilder &IrBuilder::RawTable(int i, const Bytes &bytes) {
    tables_[i] = bytes;
    return *this;
}

Bytes IrBuilder::Build() const {
    Bytes stream = stream_;
    if (!stream.empty())
        U32(stream, 0); // end mark
    Bytes tables[10];
    for (int i = 0; i < 10; ++i)
        tables[i] = tables_[i];
    for (int i : {3, 4})
        if (!tables[i].empty())
            Patch32(tables[i], 0, uint32_t(tables[i].size()));

    Bytes out;
    out.push_back(0xFB);
    out.push_back(moduleFlag_);
    U16(out, 6);
    U16(out, 10);
    out.push_back(trapBits_);
    out.push_back(0);
    U32(out, dataSize_);
    U32(out, uint32_t(stream.size()));
    for (int i = 0; i < 10; ++i)
        U32(out, uint32_t(tables[i].size()));
    out.resize(64, 0);
    out.insert(out.end(), env_.begin(), env_.end());
    out.insert(out.end(), stream.begin(), stream.end());
    Pad16(out);
    for (int i = 0; i < 10; ++i) {
        out.insert(out.end(), tables[i].begin(), tables[i].end());
        Pad16(out);
    }
    return out;
}

void IrBuilder::Write(const std::string &path) const {
    Bytes b = Build();
    std::ofstream f(path, std::ios::binary);
    f.write(reinterpret_cast<const char *>(b.data()), std::streamsize(b.size()));
    if (!f)
        throw std::runtime_error("cannot write " + path);
}

} // namespace txcg::test
