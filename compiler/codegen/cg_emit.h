// The code buffer and the i386 instruction emitters. Every byte of generated
// code goes through these functions; each appends one instruction (or a
// fixed pair) in its exact encoding and files the fixup for any 32-bit field
// that refers to something. Failures (out of memory) throw CgError.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string_view>

#include "cg_state.h"
#include "valuetypes.h"

namespace txcg {

enum Reg : uint8_t { kEax, kEcx, kEdx, kEbx, kEsp, kEbp, kEsi, kEdi };

using namespace bastype;

constexpr uint32_t kCodeBlock = 65536;

// Single-byte and fixed instructions.
constexpr uint8_t kPushEbp = 0x55;
constexpr uint8_t kPopEbp = 0x5D;
constexpr uint8_t kOpSize = 0x66;
constexpr uint8_t kCwde = 0x98;
constexpr uint8_t kCdq = 0x99;
constexpr uint8_t kSahf = 0x9E;
constexpr uint8_t kDecEax = 0x48;
constexpr uint8_t kCld = 0xFC;
constexpr uint8_t kRet = 0xC3;
constexpr uint8_t kInt3 = 0xCC;

// Short conditional jump opcodes (7x).
constexpr uint8_t kJb = 0x72;
constexpr uint8_t kJae = 0x73;
constexpr uint8_t kJe = 0x74;
constexpr uint8_t kJne = 0x75;
constexpr uint8_t kJbe = 0x76;
constexpr uint8_t kJa = 0x77;
constexpr uint8_t kJl = 0x7C;
constexpr uint8_t kJge = 0x7D;
constexpr uint8_t kJle = 0x7E;
constexpr uint8_t kJg = 0x7F;

// Two-byte opcodes of ALU register forms.
constexpr uint8_t kXorRegReg = 0x33;
constexpr uint8_t kAndRegReg = 0x23;

struct FixedInsn {
    uint8_t length;
    uint8_t bytes[3];
};
constexpr FixedInsn kFaddp{2, {0xDE, 0xC1}};
constexpr FixedInsn kFsubp{2, {0xDE, 0xE9}}; // ST1 - ST0
constexpr FixedInsn kFmulp{2, {0xDE, 0xC9}};
constexpr FixedInsn kFdivp{2, {0xDE, 0xF9}}; // ST1 / ST0
constexpr FixedInsn kFxch{2, {0xD9, 0xC9}};
constexpr FixedInsn kFcompp{2, {0xDE, 0xD9}};
constexpr FixedInsn kFstswAx{3, {0x9B, 0xDF, 0xE0}};
constexpr FixedInsn kFabs{2, {0xD9, 0xE1}};
constexpr FixedInsn kFcos{2, {0xD9, 0xFF}};
constexpr FixedInsn kFsin{2, {0xD9, 0xFE}};
constexpr FixedInsn kFsqrt{2, {0xD9, 0xFA}};
constexpr FixedInsn kFld1{2, {0xD9, 0xE8}};
constexpr FixedInsn kFldz{2, {0xD9, 0xEE}};
constexpr FixedInsn kImulEdx{2, {0xF7, 0xEA}};
constexpr FixedInsn kIdivEbx{2, {0xF7, 0xFB}};
constexpr FixedInsn kRepMovsb{2, {0xF3, 0xA4}};
constexpr FixedInsn kTestEax{2, {0x23, 0xC0}}; // AND EAX,EAX

// Code buffer.
void AllocCodeBuffer(CgState &st);
void ReserveCode(CgState &st, uint32_t n);
inline uint32_t CurrentCodeOffset(const CgState &st) { return st.code.offset; }

void EmitByte(CgState &st, uint8_t b);
void EmitInsn(CgState &st, const FixedInsn &insn);

// Control transfer and stack.
void EmitCallRuntime(CgState &st, std::string_view routine);
void EmitCallProc(CgState &st, uint32_t procEntry);
void EmitCallLocal(CgState &st, uint32_t procEntry);
void EmitJump(CgState &st, uint32_t target, uint32_t cls);
void EmitJumpResume(CgState &st, uint32_t target, uint32_t cls);
void EmitJumpIf(CgState &st, uint8_t inverseCond, uint32_t target, uint32_t cls);
void EmitTestEaxJump(CgState &st, uint32_t labelSlot, bool jumpIfNonZero);
void EmitBytePair(CgState &st, uint8_t opcode, uint8_t rel8);
void EmitCondToMask(CgState &st, uint8_t cond);
void EmitPushImm(CgState &st, int32_t value);
void EmitPushSymbolAddr(CgState &st, uint32_t symbol, uint32_t value);
void EmitPushLabelAddr(CgState &st, uint32_t entry, uint32_t cls);
void EmitPushResumeLink(CgState &st);
void EmitPushReg(CgState &st, Reg r);
void EmitPopReg(CgState &st, Reg r);
void EmitPushEbxMem(CgState &st, int32_t disp);
void EmitPushEbpMem(CgState &st, int32_t disp);
void EmitPushEbxWord(CgState &st, int32_t disp);
void EmitPushEbxByte(CgState &st, int32_t disp);
void EmitPushEbpWord(CgState &st, int32_t disp);
void EmitPushEbpByte(CgState &st, int32_t disp);
void EmitRet(CgState &st, uint16_t popBytes);
void EmitBreakpoint(CgState &st);

// Integer moves, loads, stores and arithmetic.
void EmitMovRegImm(CgState &st, Reg r, uint32_t imm);
void EmitMovRegSymbol(CgState &st, Reg r, uint32_t symbol, uint32_t value);
void EmitMovRegReg(CgState &st, Reg dst, Reg src);
void EmitRegReg(CgState &st, uint8_t opcode, Reg r1, Reg r2);
void EmitMovEbxImm32(CgState &st, int32_t disp, uint32_t imm);
void EmitMovEbxImm16(CgState &st, int32_t disp, uint16_t imm);
void EmitMovEbxImm8(CgState &st, int32_t disp, uint8_t imm);
void EmitStoreEbx(CgState &st, int32_t disp, Reg r, int size); // size 4, 2 or 1
void EmitLoadEbx(CgState &st, Reg r, int32_t disp);
void EmitMovsxEbx(CgState &st, Reg r, int32_t disp);
void EmitLoadEbxByte(CgState &st, Reg r, int32_t disp);
void EmitMovEbpImm32(CgState &st, int32_t disp, uint32_t imm);
void EmitMovEbpImm16(CgState &st, int32_t disp, uint16_t imm);
void EmitMovEbpImm8(CgState &st, int32_t disp, uint8_t imm);
void EmitStoreEbp(CgState &st, int32_t disp, Reg r, int size);
void EmitLoadEbp(CgState &st, Reg r, int32_t disp);
void EmitMovsxEbp(CgState &st, Reg r, int32_t disp);
void EmitLoadEbpByte(CgState &st, Reg r, int32_t disp);
void EmitLeaEbp(CgState &st, Reg r, int32_t disp);
void EmitStoreAbs(CgState &st, int size, uint32_t symbol, uint32_t value); // from AL/AX/EAX
void EmitAddRegImm(CgState &st, Reg r, int32_t imm);
void EmitAndEaxMask(CgState &st, uint32_t mask);
void EmitNot(CgState &st, Reg r);
void EmitNeg(CgState &st, Reg r);

// x87 loads and stores by value type (0 INT, 1 LNG, 2 SNG, 3 DBL, 4 BYT).
void EmitFpLoadEbx(CgState &st, int type);
void EmitFpLoadAbs(CgState &st, int type, uint32_t symbol, uint32_t value);
void EmitFpLoadEbp(CgState &st, int type, int32_t disp);
void EmitFpStoreEbx(CgState &st, int type);
void EmitFpStoreAbs(CgState &st, int type, uint32_t symbol, uint32_t value);
void EmitFpStoreEbp(CgState &st, int type, int32_t disp);

} // namespace txcg
