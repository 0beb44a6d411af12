// Builds intermediate files for the code generator's tests without the
// analyzer: the 64-byte header, the environment block, statement records of
// tokens, and the ten tables, each in the byte layout the analyzer writes.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace txcg::test {

using Bytes = std::vector<uint8_t>;

// Tokens of a statement record.
namespace tok {
Bytes Cat(std::initializer_list<Bytes> parts);
Bytes Stmt(uint8_t code);                                // 00 code
Bytes Stmt(uint8_t code, std::initializer_list<uint32_t> words); // 00 code u32...
Bytes StmtByte(uint8_t code, uint8_t b, uint32_t word);  // 00 code u8 u32 (0x32, 0x38)
Bytes Var(uint8_t kind, uint8_t type, uint8_t cls, uint32_t offset); // 50/60/62
Bytes Member(uint8_t type, uint32_t offset);              // 51
Bytes Label(uint8_t kind, uint32_t procNameOffset);       // A0/A1 + u32
Bytes ConstInt(int16_t v);
Bytes ConstLng(int32_t v);
Bytes ConstSng(float v);
Bytes ConstDbl(double v);
Bytes ConstByt(uint8_t v);
Bytes Pair(uint8_t a, uint8_t b);                         // any 2-byte token
Bytes Separator();                                        // F2 00
} // namespace tok

// A variable record of tables 3, 4, 6 and 7 (20 bytes and the name).
struct VarRec {
    uint8_t type = 0;
    uint8_t cls = 0;
    uint32_t address = 0;
    uint32_t typeRef = 0;
    uint32_t bounds = 0;
    uint32_t size = 0;
    uint8_t prefix = 0;
    std::string name;
};

class IrBuilder {
  public:
    IrBuilder();

    IrBuilder &SubModule(bool sub = true);
    IrBuilder &TrapBits(uint8_t bits);
    IrBuilder &DataSize(uint32_t size);
    IrBuilder &Env(const Bytes &block); // 352 bytes

    // One record: {u16 length, u16 line, tokens, F1 00}.
    IrBuilder &Statement(uint16_t line, const Bytes &tokens);

    // Table builders; each returns the new entry's offset in its table.
    uint32_t ProcName(uint8_t flag, const std::string &name);    // table 0
    uint32_t DataItem(uint16_t line, const std::string &text);  // table 1
    uint32_t StringConst(const std::string &text);              // table 2
    uint32_t StringAlias(uint32_t textOffset, uint32_t length); // table 2, no text
    uint32_t CommonVar(const VarRec &v);                        // table 3
    uint32_t ModuleVar(const VarRec &v);                        // table 4
    uint32_t Array(uint8_t type, uint32_t storage);             // table 5: slot 10k
    // The head's record count is the parameter count; -1 counts every record.
    uint32_t ProcDebug(const std::string &name, uint32_t frame, const std::vector<VarRec> &vars,
                       int paramCount = -1);
    uint32_t TypeDef(const std::string &name, uint32_t typeSize, const std::vector<VarRec> &members);
    uint32_t Bounds(const std::vector<uint32_t> &dims);         // table 8
    uint32_t LocalNameRef(const std::string &name, int refs);   // table 9
    IrBuilder &RawTable(int i, const Bytes &bytes);

    Bytes Build() const;
    void Write(const std::string &path) const;

    static Bytes DefaultEnvBlock();

  private:
    uint8_t moduleFlag_ = 0;
    uint8_t trapBits_ = 0;
    uint32_t dataSize_ = 0;
    Bytes env_;
    Bytes stream_;
    Bytes tables_[10];
};

} // namespace txcg::test
