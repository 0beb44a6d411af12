// Instruction lengths by hand from the opcode tables, as the translator
// walks a block.
#include <gtest/gtest.h>

#include <vector>

#include "insn_walk.h"

using tx::runner::DecodeInsn;

TEST(InsnWalk, LengthsAndBlockEnds) {
    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
        size_t length;
        bool ends, far;
    } cases[] = {
        {"push ebp", {0x55}, 1, false, false},
        {"mov ebp,esp", {0x8B, 0xEC}, 2, false, false},
        {"mov eax,[ebp+8]", {0x8B, 0x45, 0x08}, 3, false, false},
        {"mov eax,[esp+4]", {0x8B, 0x44, 0x24, 0x04}, 4, false, false},
        {"mov [disp32],imm32", {0xC7, 0x05, 1, 2, 3, 4, 5, 6, 7, 8}, 10, false, false},
        {"mov eax,[disp32+ecx*4]", {0x8B, 0x04, 0x8D, 1, 2, 3, 4}, 7, false, false},
        {"mov ax,imm16", {0x66, 0xB8, 1, 2}, 4, false, false},
        {"test byte [eax],1", {0xF6, 0x00, 0x01}, 3, false, false},
        {"neg eax", {0xF7, 0xD8}, 2, false, false},
        {"fld qword [disp32]", {0xDD, 0x05, 1, 2, 3, 4}, 6, false, false},
        {"movzx eax,word [ebx]", {0x0F, 0xB7, 0x03}, 3, false, false},
        {"mov al,[moffs]", {0xA0, 1, 2, 3, 4}, 5, false, false},
        {"leave", {0xC9}, 1, false, false},
        {"jne rel32", {0x0F, 0x85, 1, 2, 3, 4}, 6, true, false},
        {"call rel32", {0xE8, 1, 2, 3, 4}, 5, true, false},
        {"ret 8", {0xC2, 8, 0}, 3, true, false},
        {"int 0x81", {0xCD, 0x81}, 2, true, false},
        {"call [eax]", {0xFF, 0x10}, 2, true, false},
        {"jmp eax", {0xFF, 0xE0}, 2, true, false},
        {"inc dword [eax]", {0xFF, 0x00}, 2, false, false},
        {"ljmp [eax]", {0xFF, 0x28}, 2, true, false},
        {"ljmp with a register", {0xFF, 0xEC}, 2, true, true},
        {"lcall with a register", {0xFF, 0xD8}, 2, true, true},
        {"prefixed lcall with a register", {0x2E, 0xFF, 0xDF}, 3, true, true},
        {"cut off", {0x8B, 0x45}, 0, false, false},
        {"cut off immediate", {0xB8, 1, 2}, 0, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto insn = DecodeInsn(c.bytes.data(), c.bytes.size());
        EXPECT_EQ(insn.length, c.length);
        if (!c.length) continue;
        EXPECT_EQ(insn.endsBlock, c.ends);
        EXPECT_EQ(insn.farRegister, c.far);
    }
}
