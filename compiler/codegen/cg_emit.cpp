#include "cg_emit.h"

#include <cstring>

#include "cg_bytes.h"
#include "cg_fixup.h"
#include "cg_symbols.h"

namespace txcg {

namespace {

constexpr uint8_t kCallRel32 = 0xE8;
constexpr uint8_t kJmpRel32 = 0xE9;
constexpr uint8_t kPushImm8 = 0x6A;
constexpr uint8_t kPushImm32 = 0x68;
constexpr uint8_t kPushReg = 0x50;
constexpr uint8_t kPopReg = 0x58;
constexpr uint8_t kGroupFF = 0xFF; // /6 push r/m32
constexpr uint8_t kPushRm = 6;
constexpr uint8_t kRetImm16 = 0xC2;
constexpr uint8_t kMovRegImm32 = 0xB8;
constexpr uint8_t kMovRegRm = 0x8B;
constexpr uint8_t kMovRmReg = 0x89;
constexpr uint8_t kMovRm8Reg8 = 0x88;
constexpr uint8_t kMovReg8Rm8 = 0x8A;
constexpr uint8_t kMovRmImm32 = 0xC7;
constexpr uint8_t kMovRm8Imm8 = 0xC6;
constexpr uint8_t kTwoByte = 0x0F;
constexpr uint8_t kMovsxWord = 0xBF;
constexpr uint8_t kLea = 0x8D;
constexpr uint8_t kMovMoffsAl = 0xA2;
constexpr uint8_t kMovMoffsEax = 0xA3;
constexpr uint8_t kAddEaxImm32 = 0x05;
constexpr uint8_t kAluRmImm8 = 0x83;
constexpr uint8_t kAluRmImm32 = 0x81;
constexpr uint8_t kAndEaxImm32 = 0x25;
constexpr uint8_t kGroupF7 = 0xF7; // /2 NOT, /3 NEG
constexpr uint8_t kNotRm = 2;
constexpr uint8_t kNegRm = 3;

constexpr uint8_t kModDisp8 = 0x40;
constexpr uint8_t kModDisp32 = 0x80;
constexpr uint8_t kModReg = 0xC0;
constexpr uint8_t kRmAbs = 5; // mod 00 rm 101: a bare 32-bit address

// x87 memory forms by value type 0-3: FILD word, FILD dword, FLD single,
// FLD double; /0 loads, /3 stores and pops.
constexpr uint8_t kFpOpcode[4] = {0xDF, 0xDB, 0xD9, 0xDD};
constexpr uint8_t kFpLoad = 0;
constexpr uint8_t kFpStorePop = 3;

constexpr const char *kByteLoadRoutine = "_$PeFucld@0";
constexpr const char *kByteStoreRoutine = "_$PeFucstp@0";
constexpr const char *kCheckedStoreRoutine[2] = {"_$PnSTtoI@0", "_$PnSTtoL@0"};

bool IsDisp8(int32_t d) { return d >= -128 && d <= 127; }

// One instruction being put together: its bytes, the longest encoding its
// form can have (what is reserved before writing) and where its 32-bit
// address field lies, if it has one.
struct Insn {
    uint8_t b[16];
    uint32_t n = 0;
    uint32_t max = 0;
    int field = -1;

    Insn &Op(uint8_t x) {
        b[n++] = x;
        ++max;
        return *this;
    }
    Insn &Imm8(uint8_t x) { return Op(x); }
    Insn &Imm16(uint16_t x) {
        PutU16(b + n, x);
        n += 2;
        max += 2;
        return *this;
    }
    Insn &Imm32(uint32_t x) {
        PutU32(b + n, x);
        n += 4;
        max += 4;
        return *this;
    }
    Insn &Field32() {
        field = int(n);
        return Imm32(0);
    }
    // ModR/M for [base+disp]: mod 00 without a displacement where the base
    // allows it (EBX with 0), else 8-bit or 32-bit displacement.
    Insn &Mem(uint8_t reg, Reg base, int32_t disp) {
        uint8_t modrm = uint8_t((reg & 7) << 3 | base);
        if (disp == 0 && base != kEbp) {
            b[n++] = modrm;
        } else if (IsDisp8(disp)) {
            b[n++] = modrm | kModDisp8;
            b[n++] = uint8_t(disp);
        } else {
            b[n++] = modrm | kModDisp32;
            PutU32(b + n, uint32_t(disp));
            n += 4;
        }
        max += 5;
        return *this;
    }
    Insn &RegRm(uint8_t reg, uint8_t rm) { return Op(uint8_t(kModReg | (reg & 7) << 3 | (rm & 7))); }
    // ModR/M for a bare 32-bit address, which the linker completes.
    Insn &Abs(uint8_t reg) { return Op(uint8_t((reg & 7) << 3 | kRmAbs)).Field32(); }
};

// Reserves the form's longest encoding, writes the bytes, files the fixup
// for the address field and only then advances, so a failed fixup leaves
// the buffer as it was.
template <typename FileFixup> void Put(CgState &st, const Insn &in, FileFixup fileFixup) {
    ReserveCode(st, in.max);
    const uint32_t at = st.code.offset;
    std::memcpy(st.code.bytes.data() + at, in.b, in.n);
    if (in.field >= 0)
        fileFixup(at + uint32_t(in.field));
    st.code.offset = at + in.n;
}

void Put(CgState &st, const Insn &in) {
    Put(st, in, [](uint32_t) {});
}

void PutDir32(CgState &st, const Insn &in, uint32_t symbol, uint32_t value) {
    Put(st, in, [&](uint32_t f) { AddFixupDir32(st, f, symbol, value); });
}

void PutFpMem(CgState &st, int type, uint8_t op, Reg base, int32_t disp) {
    Put(st, Insn().Op(kFpOpcode[type]).Mem(op, base, disp));
}

} // namespace

void AllocCodeBuffer(CgState &st) {
    st.code.bytes.assign(kCodeBlock, 0);
    st.code.offset = 0;
    st.code.blocks = 1;
}

void ReserveCode(CgState &st, uint32_t n) {
    auto &c = st.code;
    while (uint64_t(c.offset) + n >= uint64_t(c.blocks) * kCodeBlock) {
        ++c.blocks;
        c.bytes.resize(size_t(c.blocks) * kCodeBlock);
    }
}

void EmitByte(CgState &st, uint8_t b) { Put(st, Insn().Op(b)); }

void EmitInsn(CgState &st, const FixedInsn &insn) {
    Insn in;
    for (int i = 0; i < insn.length; ++i)
        in.Op(insn.bytes[i]);
    Put(st, in);
}

void EmitCallRuntime(CgState &st, std::string_view routine) {
    const uint32_t symbol = RefRuntimeSymbol(st, routine);
    Put(st, Insn().Op(kCallRel32).Field32(), [&](uint32_t f) { AddFixupCall(st, f, symbol); });
}

void EmitCallProc(CgState &st, uint32_t procEntry) {
    Put(st, Insn().Op(kCallRel32).Field32(), [&](uint32_t f) { AddFixupRel32(st, f, procEntry); });
}

void EmitCallLocal(CgState &st, uint32_t procEntry) {
    Put(st, Insn().Op(kCallRel32).Field32(),
        [&](uint32_t f) { AddFixupRel32Local(st, f, procEntry); });
}

void EmitJump(CgState &st, uint32_t target, uint32_t cls) {
    Put(st, Insn().Op(kJmpRel32).Field32(),
        [&](uint32_t f) { AddFixupJump(st, f, target, cls); });
}

void EmitJumpResume(CgState &st, uint32_t target, uint32_t cls) {
    EmitJump(st, target, cls);
    if (!st.resumeMode)
        return;
    // A RESUME NEXT of this statement lands on the second jump, which goes
    // on to the next statement.
    CloseLabelChain(st, CurrentCodeOffset(st));
    const uint32_t slot = NewLabel(st);
    st.pendingLabel = slot;
    st.labelPending = true;
    EmitJump(st, slot, kTargetLabelSlot);
}

void EmitJumpIf(CgState &st, uint8_t inverseCond, uint32_t target, uint32_t cls) {
    EmitBytePair(st, inverseCond, 5);
    EmitJump(st, target, cls);
}

void EmitTestEaxJump(CgState &st, uint32_t labelSlot, bool jumpIfNonZero) {
    EmitInsn(st, kTestEax);
    EmitBytePair(st, jumpIfNonZero ? kJe : kJne, 5);
    EmitJump(st, labelSlot, kTargetLabelSlot);
}

void EmitBytePair(CgState &st, uint8_t opcode, uint8_t rel8) {
    Put(st, Insn().Op(opcode).Imm8(rel8));
}

void EmitCondToMask(CgState &st, uint8_t cond) {
    EmitBytePair(st, cond, 1);
    EmitByte(st, kDecEax);
}

void EmitPushImm(CgState &st, int32_t value) {
    if (IsDisp8(value))
        Put(st, Insn().Op(kPushImm8).Imm8(uint8_t(value)));
    else
        Put(st, Insn().Op(kPushImm32).Imm32(uint32_t(value)));
}

void EmitPushSymbolAddr(CgState &st, uint32_t symbol, uint32_t value) {
    PutDir32(st, Insn().Op(kPushImm32).Field32(), symbol, value);
}

void EmitPushLabelAddr(CgState &st, uint32_t entry, uint32_t cls) {
    Put(st, Insn().Op(kPushImm32).Field32(), [&](uint32_t f) { AddFixupData(st, f, entry, cls); });
}

void EmitPushResumeLink(CgState &st) {
    Put(st, Insn().Op(kPushImm32).Field32(), [&](uint32_t f) { AddFixupLabelChain(st, f); });
}

void EmitPushReg(CgState &st, Reg r) { EmitByte(st, uint8_t(kPushReg + r)); }
void EmitPopReg(CgState &st, Reg r) { EmitByte(st, uint8_t(kPopReg + r)); }

void EmitPushEbxMem(CgState &st, int32_t disp) {
    Put(st, Insn().Op(kGroupFF).Mem(kPushRm, kEbx, disp));
}

void EmitPushEbpMem(CgState &st, int32_t disp) {
    Put(st, Insn().Op(kGroupFF).Mem(kPushRm, kEbp, disp));
}

void EmitPushEbxWord(CgState &st, int32_t disp) {
    EmitMovsxEbx(st, kEax, disp);
    EmitPushReg(st, kEax);
}

void EmitPushEbxByte(CgState &st, int32_t disp) {
    EmitLoadEbxByte(st, kEax, disp);
    EmitPushReg(st, kEax);
}

void EmitPushEbpWord(CgState &st, int32_t disp) {
    EmitMovsxEbp(st, kEax, disp);
    EmitPushReg(st, kEax);
}

void EmitPushEbpByte(CgState &st, int32_t disp) {
    EmitLoadEbpByte(st, kEax, disp);
    EmitPushReg(st, kEax);
}

void EmitRet(CgState &st, uint16_t popBytes) {
    if (popBytes == 0)
        EmitByte(st, kRet);
    else
        Put(st, Insn().Op(kRetImm16).Imm16(popBytes));
}

void EmitBreakpoint(CgState &st) {
    ReserveCode(st, 4);
    EmitByte(st, kInt3);
}

void EmitMovRegImm(CgState &st, Reg r, uint32_t imm) {
    Put(st, Insn().Op(uint8_t(kMovRegImm32 + r)).Imm32(imm));
}

void EmitMovRegSymbol(CgState &st, Reg r, uint32_t symbol, uint32_t value) {
    PutDir32(st, Insn().Op(uint8_t(kMovRegImm32 + r)).Field32(), symbol, value);
}

void EmitMovRegReg(CgState &st, Reg dst, Reg src) { EmitRegReg(st, kMovRegRm, dst, src); }

void EmitRegReg(CgState &st, uint8_t opcode, Reg r1, Reg r2) {
    Put(st, Insn().Op(opcode).RegRm(r1, r2));
}

void EmitMovEbxImm32(CgState &st, int32_t disp, uint32_t imm) {
    Put(st, Insn().Op(kMovRmImm32).Mem(0, kEbx, disp).Imm32(imm));
}

void EmitMovEbxImm16(CgState &st, int32_t disp, uint16_t imm) {
    Put(st, Insn().Op(kOpSize).Op(kMovRmImm32).Mem(0, kEbx, disp).Imm16(imm));
}

void EmitMovEbxImm8(CgState &st, int32_t disp, uint8_t imm) {
    Put(st, Insn().Op(kMovRm8Imm8).Mem(0, kEbx, disp).Imm8(imm));
}

namespace {

Insn StoreForm(int size) {
    Insn in;
    if (size == 2)
        in.Op(kOpSize);
    return in.Op(size == 1 ? kMovRm8Reg8 : kMovRmReg);
}

} // namespace

void EmitStoreEbx(CgState &st, int32_t disp, Reg r, int size) {
    Put(st, StoreForm(size).Mem(r, kEbx, disp));
}

void EmitLoadEbx(CgState &st, Reg r, int32_t disp) {
    Put(st, Insn().Op(kMovRegRm).Mem(r, kEbx, disp));
}

void EmitMovsxEbx(CgState &st, Reg r, int32_t disp) {
    Put(st, Insn().Op(kTwoByte).Op(kMovsxWord).Mem(r, kEbx, disp));
}

void EmitLoadEbxByte(CgState &st, Reg r, int32_t disp) {
    EmitRegReg(st, kXorRegReg, r, r);
    Put(st, Insn().Op(kMovReg8Rm8).Mem(r, kEbx, disp));
}

void EmitMovEbpImm32(CgState &st, int32_t disp, uint32_t imm) {
    Put(st, Insn().Op(kMovRmImm32).Mem(0, kEbp, disp).Imm32(imm));
}

void EmitMovEbpImm16(CgState &st, int32_t disp, uint16_t imm) {
    Put(st, Insn().Op(kOpSize).Op(kMovRmImm32).Mem(0, kEbp, disp).Imm16(imm));
}

void EmitMovEbpImm8(CgState &st, int32_t disp, uint8_t imm) {
    Put(st, Insn().Op(kMovRm8Imm8).Mem(0, kEbp, disp).Imm8(imm));
}

void EmitStoreEbp(CgState &st, int32_t disp, Reg r, int size) {
    Put(st, StoreForm(size).Mem(r, kEbp, disp));
}

void EmitLoadEbp(CgState &st, Reg r, int32_t disp) {
    Put(st, Insn().Op(kMovRegRm).Mem(r, kEbp, disp));
}

void EmitMovsxEbp(CgState &st, Reg r, int32_t disp) {
    Put(st, Insn().Op(kTwoByte).Op(kMovsxWord).Mem(r, kEbp, disp));
}

void EmitLoadEbpByte(CgState &st, Reg r, int32_t disp) {
    EmitRegReg(st, kXorRegReg, r, r);
    Put(st, Insn().Op(kMovReg8Rm8).Mem(r, kEbp, disp));
}

void EmitLeaEbp(CgState &st, Reg r, int32_t disp) {
    Put(st, Insn().Op(kLea).Mem(r, kEbp, disp));
}

void EmitStoreAbs(CgState &st, int size, uint32_t symbol, uint32_t value) {
    if (size == 2)
        EmitByte(st, kOpSize);
    PutDir32(st, Insn().Op(size == 1 ? kMovMoffsAl : kMovMoffsEax).Field32(), symbol, value);
}

void EmitAddRegImm(CgState &st, Reg r, int32_t imm) {
    if (r == kEax)
        Put(st, Insn().Op(kAddEaxImm32).Imm32(uint32_t(imm)));
    else if (IsDisp8(imm))
        Put(st, Insn().Op(kAluRmImm8).RegRm(0, r).Imm8(uint8_t(imm)));
    else
        Put(st, Insn().Op(kAluRmImm32).RegRm(0, r).Imm32(uint32_t(imm)));
}

void EmitAndEaxMask(CgState &st, uint32_t mask) {
    Put(st, Insn().Op(kAndEaxImm32).Imm32(mask));
}

void EmitNot(CgState &st, Reg r) { Put(st, Insn().Op(kGroupF7).RegRm(kNotRm, r)); }
void EmitNeg(CgState &st, Reg r) { Put(st, Insn().Op(kGroupF7).RegRm(kNegRm, r)); }

// The byte type has no x87 memory form: it always goes through [EBX] and
// the runtime's two transfer routines.
void EmitFpLoadEbx(CgState &st, int type) {
    if (type == kTypeByt)
        EmitCallRuntime(st, kByteLoadRoutine);
    else
        PutFpMem(st, type, kFpLoad, kEbx, 0);
}

void EmitFpLoadAbs(CgState &st, int type, uint32_t symbol, uint32_t value) {
    if (type == kTypeByt) {
        EmitMovRegSymbol(st, kEbx, symbol, value);
        EmitCallRuntime(st, kByteLoadRoutine);
        return;
    }
    PutDir32(st, Insn().Op(kFpOpcode[type]).Abs(kFpLoad), symbol, value);
}

void EmitFpLoadEbp(CgState &st, int type, int32_t disp) {
    if (type == kTypeByt) {
        EmitLeaEbp(st, kEbx, disp);
        EmitCallRuntime(st, kByteLoadRoutine);
        return;
    }
    PutFpMem(st, type, kFpLoad, kEbp, disp);
}

namespace {

// With overflow checking, INT and LNG stores convert through the runtime
// (range check) and store AX or EAX instead of FISTP.
bool CheckedIntegerStore(const CgState &st, int type) {
    return st.opt.overflowCheck != 0 && (type == kTypeInt || type == kTypeLng);
}

int IntegerSize(int type) { return type == kTypeInt ? 2 : 4; }

} // namespace

void EmitFpStoreEbx(CgState &st, int type) {
    if (CheckedIntegerStore(st, type)) {
        EmitCallRuntime(st, kCheckedStoreRoutine[type]);
        EmitStoreEbx(st, 0, kEax, IntegerSize(type));
    } else if (type == kTypeByt) {
        EmitCallRuntime(st, kByteStoreRoutine);
    } else {
        PutFpMem(st, type, kFpStorePop, kEbx, 0);
    }
}

void EmitFpStoreAbs(CgState &st, int type, uint32_t symbol, uint32_t value) {
    if (CheckedIntegerStore(st, type)) {
        EmitCallRuntime(st, kCheckedStoreRoutine[type]);
        EmitMovRegSymbol(st, kEbx, symbol, value);
        EmitStoreEbx(st, 0, kEax, IntegerSize(type));
    } else if (type == kTypeByt) {
        EmitMovRegSymbol(st, kEbx, symbol, value);
        EmitCallRuntime(st, kByteStoreRoutine);
    } else {
        PutDir32(st, Insn().Op(kFpOpcode[type]).Abs(kFpStorePop), symbol,
                 value);
    }
}

void EmitFpStoreEbp(CgState &st, int type, int32_t disp) {
    if (CheckedIntegerStore(st, type)) {
        EmitCallRuntime(st, kCheckedStoreRoutine[type]);
        EmitStoreEbp(st, disp, kEax, IntegerSize(type));
    } else if (type == kTypeByt) {
        EmitLeaEbp(st, kEbx, disp);
        EmitCallRuntime(st, kByteStoreRoutine);
    } else {
        PutFpMem(st, type, kFpStorePop, kEbp, disp);
    }
}

} // namespace txcg
