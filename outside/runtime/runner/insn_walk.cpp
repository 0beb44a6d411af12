#include "insn_walk.h"

namespace tx::runner {
namespace {

// Operand bytes after a one-byte opcode.
enum : uint8_t {
    kNone = 0,
    kModRm = 1,  // a ModR/M byte (and SIB, displacement)
    kImm8 = 2,
    kImmZ = 4,   // 16 or 32 bits by the operand size
    kImm16 = 8,
    kEnd = 16,   // the translator ends the block after it
    kPrefix = 32,
    kMoffs = 64, // an address of the address size
    kFar = 128,  // a 16:32 pointer
    kBad = 255,
};

uint8_t OneByte(uint8_t op) {
    if (op < 0x40) {
        if (op == 0x0F) return kBad; // handled apart
        if ((op & 7) == 6 && op >= 0x26) return kPrefix;
        switch (op & 7) {
        case 0: case 1: case 2: case 3: return kModRm;
        case 4: return kImm8;
        case 5: return kImmZ;
        default: return kNone;
        }
    }
    if (op < 0x60) return kNone;
    if (op >= 0x70 && op < 0x80) return kImm8 | kEnd;
    if (op >= 0x84 && op < 0x90) return kModRm;
    if (op >= 0x90 && op < 0xA0) return op == 0x9A ? kFar | kEnd : kNone;
    if (op >= 0xB0 && op < 0xB8) return kImm8;
    if (op >= 0xB8 && op < 0xC0) return kImmZ;
    if (op >= 0xD8 && op < 0xE0) return kModRm;
    if (op >= 0xE0 && op < 0xE4) return kImm8 | kEnd;
    switch (op) {
    case 0x62: case 0x63: return kModRm;
    case 0x64: case 0x65: case 0x66: case 0x67: return kPrefix;
    case 0x68: return kImmZ;
    case 0x69: return kModRm | kImmZ;
    case 0x6A: return kImm8;
    case 0x6B: return kModRm | kImm8;
    case 0x80: case 0x82: case 0x83: return kModRm | kImm8;
    case 0x81: return kModRm | kImmZ;
    case 0xA0: case 0xA1: case 0xA2: case 0xA3: return kMoffs;
    case 0xA8: return kImm8;
    case 0xA9: return kImmZ;
    case 0xC0: case 0xC1: case 0xC6: return kModRm | kImm8;
    case 0xC7: return kModRm | kImmZ;
    case 0xC2: case 0xCA: return kImm16 | kEnd;
    case 0xC3: case 0xCB: case 0xCC: case 0xCF: return kEnd;
    case 0xC4: case 0xC5: return kModRm;
    case 0xC8: return kImm16 | kImm8;
    case 0xCD: return kImm8 | kEnd;
    case 0xD0: case 0xD1: case 0xD2: case 0xD3: return kModRm;
    case 0xD4: case 0xD5: return kImm8;
    case 0xE4: case 0xE5: case 0xE6: case 0xE7: return kImm8;
    case 0xE8: case 0xE9: return kImmZ | kEnd;
    case 0xEA: return kFar | kEnd;
    case 0xEB: return kImm8 | kEnd;
    case 0xF0: case 0xF2: case 0xF3: return kPrefix;
    case 0xF4: return kEnd;
    case 0xF6: case 0xF7: case 0xFE: case 0xFF: return kModRm;
    default: return kNone;
    }
}

// After 0F: the common two-byte forms; the rest are refused.
uint8_t TwoByte(uint8_t op) {
    if (op >= 0x80 && op < 0x90) return kImmZ | kEnd;
    if (op >= 0xC8) return kNone;
    switch (op) {
    case 0x0B: return kEnd;
    case 0x05: case 0x06: case 0x07: case 0x08: case 0x09: case 0x0E:
    case 0x30: case 0x31: case 0x32: case 0x33: case 0x34: case 0x35: case 0x77:
    case 0xA0: case 0xA1: case 0xA2: case 0xA8: case 0xA9: case 0xAA:
        return kNone;
    case 0x70: case 0x71: case 0x72: case 0x73: case 0xA4: case 0xAC: case 0xBA:
    case 0xC2: case 0xC4: case 0xC5: case 0xC6:
        return kModRm | kImm8;
    case 0x04: case 0x0A: case 0x0C: case 0x0F: case 0x36: case 0x38: case 0x3A: case 0xFF:
        return kBad;
    default: return kModRm;
    }
}

} // namespace

InsnInfo DecodeInsn(const uint8_t* code, size_t size) {
    InsnInfo info;
    size_t i = 0;
    bool operand16 = false, address16 = false;
    uint8_t flags = kBad;
    uint8_t op = 0;
    for (; i < size && i < 15; ++i) {
        op = code[i];
        flags = OneByte(op);
        if (flags != kPrefix) break;
        if (op == 0x66) operand16 = true;
        if (op == 0x67) address16 = true;
    }
    if (i >= size || i >= 15) return info;
    ++i;
    bool twoByte = op == 0x0F;
    if (twoByte) {
        if (i >= size) return info;
        op = code[i++];
        flags = TwoByte(op);
    }
    if (flags == kBad) return info;
    if (flags & kModRm) {
        if (i >= size) return info;
        uint8_t modrm = code[i++];
        uint8_t mod = modrm >> 6, reg = (modrm >> 3) & 7, rm = modrm & 7;
        if (!twoByte && op == 0xFF) {
            if (reg >= 2 && reg <= 5) flags |= kEnd;
            if (mod == 3 && (reg == 3 || reg == 5)) info.farRegister = true;
        }
        if (!twoByte && (op == 0xF6 || op == 0xF7) && reg < 2) flags |= op == 0xF6 ? kImm8 : kImmZ;
        if (mod != 3) {
            if (address16) {
                i += mod == 1 ? 1 : mod == 2 || (mod == 0 && rm == 6) ? 2 : 0;
            } else {
                if (rm == 4) {
                    if (i >= size) return info;
                    uint8_t sib = code[i++];
                    if (mod == 0 && (sib & 7) == 5) i += 4;
                }
                i += mod == 1 ? 1 : mod == 2 || (mod == 0 && rm == 5) ? 4 : 0;
            }
        }
    }
    if (flags & kImm16) i += 2;
    if (flags & kImm8) i += 1;
    if (flags & kImmZ) i += operand16 ? 2 : 4;
    if (flags & kMoffs) i += address16 ? 2 : 4;
    if (flags & kFar) i += operand16 ? 4 : 6;
    if (i > size) return info;
    info.length = i;
    info.endsBlock = (flags & kEnd) != 0;
    return info;
}

} // namespace tx::runner
