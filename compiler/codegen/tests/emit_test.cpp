// Every emitter form against its encoding, bytes taken by hand from the
// instruction tables; the filed fixup is checked with the bytes.
#include <functional>

#include <gtest/gtest.h>

#include "cg_fixup.h"
#include "cg_test_util.h"

namespace txcg {
namespace {

using test::Hex;

constexpr uint32_t kDataSym = 7;

struct ExpectedFixup {
    uint32_t offset;
    uint32_t kind;
    uint16_t type;
};

struct EmitCase {
    const char *name;
    std::function<void(CgState &)> emit;
    const char *bytes;
    std::vector<ExpectedFixup> fixups;
};

std::vector<uint8_t> ParseHex(const char *s) {
    std::vector<uint8_t> v;
    for (const char *p = s; *p;) {
        if (*p == ' ') {
            ++p;
            continue;
        }
        v.push_back(uint8_t(std::stoi(std::string(p, 2), nullptr, 16)));
        p += 2;
    }
    return v;
}

const std::vector<EmitCase> &Cases() {
    static const std::vector<EmitCase> cases = {
        // Control transfer and stack.
        {"call runtime", [](CgState &s) { EmitCallRuntime(s, "_$PsBEEP@0"); },
         "e8 00 00 00 00", {{1, kFixCall, kRelRel32}}},
        {"call procedure", [](CgState &s) { EmitCallProc(s, 0x10); },
         "e8 00 00 00 00", {{1, kFixProcCall, kRelRel32}}},
        {"call local", [](CgState &s) { EmitCallLocal(s, 0x10); },
         "e8 00 00 00 00", {{1, kFixLocalCall, kRelRel32}}},
        {"jmp label slot", [](CgState &s) { EmitJump(s, 8, 2); },
         "e9 00 00 00 00", {{1, kFixJumpLabel, kRelRel32}}},
        {"jmp line label", [](CgState &s) { EmitJump(s, 8, 3); },
         "e9 00 00 00 00", {{1, kFixJumpLine, kRelRel32}}},
        {"jcc inverse then jmp", [](CgState &s) { EmitJumpIf(s, kJne, 0, 2); },
         "75 05 e9 00 00 00 00", {{3, kFixJumpLabel, kRelRel32}}},
        {"test eax, jump when non-zero", [](CgState &s) { EmitTestEaxJump(s, 0, true); },
         "23 c0 74 05 e9 00 00 00 00", {{5, kFixJumpLabel, kRelRel32}}},
        {"test eax, jump when zero", [](CgState &s) { EmitTestEaxJump(s, 0, false); },
         "23 c0 75 05 e9 00 00 00 00", {{5, kFixJumpLabel, kRelRel32}}},
        {"two raw bytes", [](CgState &s) { EmitBytePair(s, 0xEB, 0x10); }, "eb 10", {}},
        {"compare result to mask", [](CgState &s) { EmitCondToMask(s, kJl); }, "7c 01 48", {}},
        {"push 127", [](CgState &s) { EmitPushImm(s, 127); }, "6a 7f", {}},
        {"push 128", [](CgState &s) { EmitPushImm(s, 128); }, "68 80 00 00 00", {}},
        {"push -128", [](CgState &s) { EmitPushImm(s, -128); }, "6a 80", {}},
        {"push -129", [](CgState &s) { EmitPushImm(s, -129); }, "68 7f ff ff ff", {}},
        {"push data address", [](CgState &s) { EmitPushSymbolAddr(s, kDataSym, 4); },
         "68 00 00 00 00", {{1, kFixDir32, kRelDir32}}},
        {"push line-label address", [](CgState &s) { EmitPushLabelAddr(s, 0, 3); },
         "68 00 00 00 00", {{1, kFixLabelAddr, kRelDir32}}},
        {"push name-ref address", [](CgState &s) { EmitPushLabelAddr(s, 0, 4); },
         "68 00 00 00 00", {{1, kFixLocalRefAddr, kRelDir32}}},
        {"push resume link", [](CgState &s) { EmitPushResumeLink(s); },
         "68 00 00 00 00", {{1, kFixDir32, kRelDir32}}},
        {"push ebx", [](CgState &s) { EmitPushReg(s, kEbx); }, "53", {}},
        {"pop esi", [](CgState &s) { EmitPopReg(s, kEsi); }, "5e", {}},
        {"push [ebx]", [](CgState &s) { EmitPushEbxMem(s, 0); }, "ff 33", {}},
        {"push [ebx+127]", [](CgState &s) { EmitPushEbxMem(s, 127); }, "ff 73 7f", {}},
        {"push [ebx+128]", [](CgState &s) { EmitPushEbxMem(s, 128); }, "ff b3 80 00 00 00", {}},
        {"push [ebx-128]", [](CgState &s) { EmitPushEbxMem(s, -128); }, "ff 73 80", {}},
        {"push [ebx-129]", [](CgState &s) { EmitPushEbxMem(s, -129); }, "ff b3 7f ff ff ff", {}},
        {"push [ebp+0]", [](CgState &s) { EmitPushEbpMem(s, 0); }, "ff 75 00", {}},
        {"push [ebp-200]", [](CgState &s) { EmitPushEbpMem(s, -200); }, "ff b5 38 ff ff ff", {}},
        {"push word [ebx] widened", [](CgState &s) { EmitPushEbxWord(s, 0); }, "0f bf 03 50", {}},
        {"push word [ebx+4] widened", [](CgState &s) { EmitPushEbxWord(s, 4); },
         "0f bf 43 04 50", {}},
        {"push byte [ebx+2] widened", [](CgState &s) { EmitPushEbxByte(s, 2); },
         "33 c0 8a 43 02 50", {}},
        {"push word [ebp-4] widened", [](CgState &s) { EmitPushEbpWord(s, -4); },
         "0f bf 45 fc 50", {}},
        {"push byte [ebp+300] widened", [](CgState &s) { EmitPushEbpByte(s, 300); },
         "33 c0 8a 85 2c 01 00 00 50", {}},
        {"ret", [](CgState &s) { EmitRet(s, 0); }, "c3", {}},
        {"ret 8", [](CgState &s) { EmitRet(s, 8); }, "c2 08 00", {}},
        {"int3", [](CgState &s) { EmitBreakpoint(s); }, "cc", {}},

        // Integer moves, loads and stores.
        {"mov ecx, imm32", [](CgState &s) { EmitMovRegImm(s, kEcx, 0x12345678); },
         "b9 78 56 34 12", {}},
        {"mov edi, imm32", [](CgState &s) { EmitMovRegImm(s, kEdi, 1); }, "bf 01 00 00 00", {}},
        {"mov ebx, data address", [](CgState &s) { EmitMovRegSymbol(s, kEbx, kDataSym, 0); },
         "bb 00 00 00 00", {{1, kFixDir32, kRelDir32}}},
        {"mov eax, edx", [](CgState &s) { EmitMovRegReg(s, kEax, kEdx); }, "8b c2", {}},
        {"mov ebp, esp", [](CgState &s) { EmitMovRegReg(s, kEbp, kEsp); }, "8b ec", {}},
        {"xor eax, eax", [](CgState &s) { EmitRegReg(s, kXorRegReg, kEax, kEax); }, "33 c0", {}},
        {"and edx, eax", [](CgState &s) { EmitRegReg(s, kAndRegReg, kEdx, kEax); }, "23 d0", {}},
        {"mov dword [ebx], imm", [](CgState &s) { EmitMovEbxImm32(s, 0, 5); },
         "c7 03 05 00 00 00", {}},
        {"mov dword [ebx+4], imm", [](CgState &s) { EmitMovEbxImm32(s, 4, 5); },
         "c7 43 04 05 00 00 00", {}},
        {"mov dword [ebx+256], imm", [](CgState &s) { EmitMovEbxImm32(s, 256, 5); },
         "c7 83 00 01 00 00 05 00 00 00", {}},
        {"mov word [ebx+2], imm", [](CgState &s) { EmitMovEbxImm16(s, 2, 0x1234); },
         "66 c7 43 02 34 12", {}},
        {"mov word [ebx], imm", [](CgState &s) { EmitMovEbxImm16(s, 0, 1); },
         "66 c7 03 01 00", {}},
        {"mov word [ebx+1000], imm", [](CgState &s) { EmitMovEbxImm16(s, 1000, 1); },
         "66 c7 83 e8 03 00 00 01 00", {}},
        {"mov byte [ebx], imm", [](CgState &s) { EmitMovEbxImm8(s, 0, 7); }, "c6 03 07", {}},
        {"mov byte [ebx-1], imm", [](CgState &s) { EmitMovEbxImm8(s, -1, 7); },
         "c6 43 ff 07", {}},
        {"mov [ebx+8], edx", [](CgState &s) { EmitStoreEbx(s, 8, kEdx, 4); }, "89 53 08", {}},
        {"mov [ebx+8], dx", [](CgState &s) { EmitStoreEbx(s, 8, kEdx, 2); }, "66 89 53 08", {}},
        {"mov [ebx], al", [](CgState &s) { EmitStoreEbx(s, 0, kEax, 1); }, "88 03", {}},
        {"mov ecx, [ebx+4]", [](CgState &s) { EmitLoadEbx(s, kEcx, 4); }, "8b 4b 04", {}},
        {"movsx edx, word [ebx]", [](CgState &s) { EmitMovsxEbx(s, kEdx, 0); }, "0f bf 13", {}},
        {"load byte [ebx+1] into edx", [](CgState &s) { EmitLoadEbxByte(s, kEdx, 1); },
         "33 d2 8a 53 01", {}},
        {"mov dword [ebp-8], imm", [](CgState &s) { EmitMovEbpImm32(s, -8, 1); },
         "c7 45 f8 01 00 00 00", {}},
        {"mov dword [ebp+512], imm", [](CgState &s) { EmitMovEbpImm32(s, 512, 1); },
         "c7 85 00 02 00 00 01 00 00 00", {}},
        {"mov word [ebp-2], imm", [](CgState &s) { EmitMovEbpImm16(s, -2, 3); },
         "66 c7 45 fe 03 00", {}},
        {"mov byte [ebp-1], imm", [](CgState &s) { EmitMovEbpImm8(s, -1, 9); },
         "c6 45 ff 09", {}},
        {"mov byte [ebp-129], imm", [](CgState &s) { EmitMovEbpImm8(s, -129, 9); },
         "c6 85 7f ff ff ff 09", {}},
        {"mov [ebp-4], eax", [](CgState &s) { EmitStoreEbp(s, -4, kEax, 4); }, "89 45 fc", {}},
        {"mov [ebp-4], ax", [](CgState &s) { EmitStoreEbp(s, -4, kEax, 2); },
         "66 89 45 fc", {}},
        {"mov [ebp-4], al", [](CgState &s) { EmitStoreEbp(s, -4, kEax, 1); }, "88 45 fc", {}},
        {"mov edx, [ebp+8]", [](CgState &s) { EmitLoadEbp(s, kEdx, 8); }, "8b 55 08", {}},
        {"movsx eax, word [ebp+8]", [](CgState &s) { EmitMovsxEbp(s, kEax, 8); },
         "0f bf 45 08", {}},
        {"load byte [ebp-1] into eax", [](CgState &s) { EmitLoadEbpByte(s, kEax, -1); },
         "33 c0 8a 45 ff", {}},
        {"lea ebx, [ebp-12]", [](CgState &s) { EmitLeaEbp(s, kEbx, -12); }, "8d 5d f4", {}},
        {"lea ebx, [ebp-300]", [](CgState &s) { EmitLeaEbp(s, kEbx, -300); },
         "8d 9d d4 fe ff ff", {}},
        {"mov [addr], al", [](CgState &s) { EmitStoreAbs(s, 1, kDataSym, 0); },
         "a2 00 00 00 00", {{1, kFixDir32, kRelDir32}}},
        {"mov [addr], ax", [](CgState &s) { EmitStoreAbs(s, 2, kDataSym, 0); },
         "66 a3 00 00 00 00", {{2, kFixDir32, kRelDir32}}},
        {"mov [addr], eax", [](CgState &s) { EmitStoreAbs(s, 4, kDataSym, 0); },
         "a3 00 00 00 00", {{1, kFixDir32, kRelDir32}}},
        {"add eax, 4", [](CgState &s) { EmitAddRegImm(s, kEax, 4); }, "05 04 00 00 00", {}},
        {"add esp, 8", [](CgState &s) { EmitAddRegImm(s, kEsp, 8); }, "83 c4 08", {}},
        {"add esp, -200", [](CgState &s) { EmitAddRegImm(s, kEsp, -200); },
         "81 c4 38 ff ff ff", {}},
        {"add ebx, 127", [](CgState &s) { EmitAddRegImm(s, kEbx, 127); }, "83 c3 7f", {}},
        {"add esi, 128", [](CgState &s) { EmitAddRegImm(s, kEsi, 128); },
         "81 c6 80 00 00 00", {}},
        {"add edi, -1", [](CgState &s) { EmitAddRegImm(s, kEdi, -1); }, "83 c7 ff", {}},
        {"and eax, 0xff", [](CgState &s) { EmitAndEaxMask(s, 0xFF); }, "25 ff 00 00 00", {}},
        {"and eax, 0xffff", [](CgState &s) { EmitAndEaxMask(s, 0xFFFF); }, "25 ff ff 00 00", {}},
        {"operand-size prefix", [](CgState &s) { EmitByte(s, kOpSize); }, "66", {}},
        {"cwde", [](CgState &s) { EmitByte(s, kCwde); }, "98", {}},
        {"cdq", [](CgState &s) { EmitByte(s, kCdq); }, "99", {}},
        {"imul edx", [](CgState &s) { EmitInsn(s, kImulEdx); }, "f7 ea", {}},
        {"idiv ebx", [](CgState &s) { EmitInsn(s, kIdivEbx); }, "f7 fb", {}},
        {"not eax", [](CgState &s) { EmitNot(s, kEax); }, "f7 d0", {}},
        {"not edx", [](CgState &s) { EmitNot(s, kEdx); }, "f7 d2", {}},
        {"neg eax", [](CgState &s) { EmitNeg(s, kEax); }, "f7 d8", {}},
        {"neg edx", [](CgState &s) { EmitNeg(s, kEdx); }, "f7 da", {}},
        {"dec eax", [](CgState &s) { EmitByte(s, kDecEax); }, "48", {}},
        {"sahf", [](CgState &s) { EmitByte(s, kSahf); }, "9e", {}},
        {"block copy", [](CgState &s) { EmitByte(s, kCld); EmitInsn(s, kRepMovsb); }, "fc f3 a4", {}},

        // x87 by value type.
        {"fild word [ebx]", [](CgState &s) { EmitFpLoadEbx(s, kTypeInt); }, "df 03", {}},
        {"fild dword [ebx]", [](CgState &s) { EmitFpLoadEbx(s, kTypeLng); }, "db 03", {}},
        {"fld single [ebx]", [](CgState &s) { EmitFpLoadEbx(s, kTypeSng); }, "d9 03", {}},
        {"fld double [ebx]", [](CgState &s) { EmitFpLoadEbx(s, kTypeDbl); }, "dd 03", {}},
        {"load byte [ebx]", [](CgState &s) { EmitFpLoadEbx(s, kTypeByt); },
         "e8 00 00 00 00", {{1, kFixCall, kRelRel32}}},
        {"fild word [addr]", [](CgState &s) { EmitFpLoadAbs(s, kTypeInt, kDataSym, 0); },
         "df 05 00 00 00 00", {{2, kFixDir32, kRelDir32}}},
        {"fild dword [addr]", [](CgState &s) { EmitFpLoadAbs(s, kTypeLng, kDataSym, 0); },
         "db 05 00 00 00 00", {{2, kFixDir32, kRelDir32}}},
        {"fld single [addr]", [](CgState &s) { EmitFpLoadAbs(s, kTypeSng, kDataSym, 0); },
         "d9 05 00 00 00 00", {{2, kFixDir32, kRelDir32}}},
        {"fld double [addr]", [](CgState &s) { EmitFpLoadAbs(s, kTypeDbl, kDataSym, 0); },
         "dd 05 00 00 00 00", {{2, kFixDir32, kRelDir32}}},
        {"load byte [addr]", [](CgState &s) { EmitFpLoadAbs(s, kTypeByt, kDataSym, 0); },
         "bb 00 00 00 00 e8 00 00 00 00",
         {{1, kFixDir32, kRelDir32}, {6, kFixCall, kRelRel32}}},
        {"fild word [ebp-8]", [](CgState &s) { EmitFpLoadEbp(s, kTypeInt, -8); }, "df 45 f8", {}},
        {"fld double [ebp+256]", [](CgState &s) { EmitFpLoadEbp(s, kTypeDbl, 256); },
         "dd 85 00 01 00 00", {}},
        {"load byte [ebp-8]", [](CgState &s) { EmitFpLoadEbp(s, kTypeByt, -8); },
         "8d 5d f8 e8 00 00 00 00", {{4, kFixCall, kRelRel32}}},
        {"fistp word [ebx]", [](CgState &s) { EmitFpStoreEbx(s, kTypeInt); }, "df 1b", {}},
        {"fistp dword [ebx]", [](CgState &s) { EmitFpStoreEbx(s, kTypeLng); }, "db 1b", {}},
        {"fstp single [ebx]", [](CgState &s) { EmitFpStoreEbx(s, kTypeSng); }, "d9 1b", {}},
        {"fstp double [ebx]", [](CgState &s) { EmitFpStoreEbx(s, kTypeDbl); }, "dd 1b", {}},
        {"store byte [ebx]", [](CgState &s) { EmitFpStoreEbx(s, kTypeByt); },
         "e8 00 00 00 00", {{1, kFixCall, kRelRel32}}},
        {"fistp word [addr]", [](CgState &s) { EmitFpStoreAbs(s, kTypeInt, kDataSym, 0); },
         "df 1d 00 00 00 00", {{2, kFixDir32, kRelDir32}}},
        {"fstp double [addr]", [](CgState &s) { EmitFpStoreAbs(s, kTypeDbl, kDataSym, 0); },
         "dd 1d 00 00 00 00", {{2, kFixDir32, kRelDir32}}},
        {"store byte [addr]", [](CgState &s) { EmitFpStoreAbs(s, kTypeByt, kDataSym, 0); },
         "bb 00 00 00 00 e8 00 00 00 00",
         {{1, kFixDir32, kRelDir32}, {6, kFixCall, kRelRel32}}},
        {"fistp word [ebp-8]", [](CgState &s) { EmitFpStoreEbp(s, kTypeInt, -8); },
         "df 5d f8", {}},
        {"fstp single [ebp-200]", [](CgState &s) { EmitFpStoreEbp(s, kTypeSng, -200); },
         "d9 9d 38 ff ff ff", {}},
        {"store byte [ebp-8]", [](CgState &s) { EmitFpStoreEbp(s, kTypeByt, -8); },
         "8d 5d f8 e8 00 00 00 00", {{4, kFixCall, kRelRel32}}},
        {"checked store INT [ebx]",
         [](CgState &s) { s.opt.overflowCheck = 1; EmitFpStoreEbx(s, kTypeInt); },
         "e8 00 00 00 00 66 89 03", {{1, kFixCall, kRelRel32}}},
        {"checked store LNG [ebx]",
         [](CgState &s) { s.opt.overflowCheck = 1; EmitFpStoreEbx(s, kTypeLng); },
         "e8 00 00 00 00 89 03", {{1, kFixCall, kRelRel32}}},
        {"checked store INT [addr]",
         [](CgState &s) { s.opt.overflowCheck = 1; EmitFpStoreAbs(s, kTypeInt, kDataSym, 0); },
         "e8 00 00 00 00 bb 00 00 00 00 66 89 03",
         {{1, kFixCall, kRelRel32}, {6, kFixDir32, kRelDir32}}},
        {"checked store LNG [ebp-8]",
         [](CgState &s) { s.opt.overflowCheck = 1; EmitFpStoreEbp(s, kTypeLng, -8); },
         "e8 00 00 00 00 89 45 f8", {{1, kFixCall, kRelRel32}}},
        {"checked store leaves SNG alone",
         [](CgState &s) { s.opt.overflowCheck = 1; EmitFpStoreEbx(s, kTypeSng); }, "d9 1b", {}},
        {"faddp", [](CgState &s) { EmitInsn(s, kFaddp); }, "de c1", {}},
        {"fsubp", [](CgState &s) { EmitInsn(s, kFsubp); }, "de e9", {}},
        {"fmulp", [](CgState &s) { EmitInsn(s, kFmulp); }, "de c9", {}},
        {"fdivp", [](CgState &s) { EmitInsn(s, kFdivp); }, "de f9", {}},
        {"fxch", [](CgState &s) { EmitInsn(s, kFxch); }, "d9 c9", {}},
        {"fcompp", [](CgState &s) { EmitInsn(s, kFcompp); }, "de d9", {}},
        {"fstsw ax", [](CgState &s) { EmitInsn(s, kFstswAx); }, "9b df e0", {}},
        {"fabs", [](CgState &s) { EmitInsn(s, kFabs); }, "d9 e1", {}},
        {"fcos", [](CgState &s) { EmitInsn(s, kFcos); }, "d9 ff", {}},
        {"fsin", [](CgState &s) { EmitInsn(s, kFsin); }, "d9 fe", {}},
        {"fsqrt", [](CgState &s) { EmitInsn(s, kFsqrt); }, "d9 fa", {}},
        {"fld1", [](CgState &s) { EmitInsn(s, kFld1); }, "d9 e8", {}},
        {"fldz", [](CgState &s) { EmitInsn(s, kFldz); }, "d9 ee", {}},
    };
    return cases;
}

TEST(Emitters, EveryFormEncodesAsListed) {
    for (const auto &c : Cases()) {
        SCOPED_TRACE(c.name);
        CgState st;
        test::InitForEmit(st);
        c.emit(st);
        EXPECT_EQ(Hex(test::Code(st)), Hex(ParseHex(c.bytes)));
        ASSERT_EQ(st.fixups.size(), c.fixups.size());
        for (size_t i = 0; i < c.fixups.size(); ++i) {
            EXPECT_EQ(st.fixups[i].offset, c.fixups[i].offset) << "fixup " << i;
            EXPECT_EQ(st.fixups[i].kind, c.fixups[i].kind) << "fixup " << i;
            EXPECT_EQ(st.fixups[i].type, c.fixups[i].type) << "fixup " << i;
        }
    }
}

// The runtime routine is an undefined external added on first use only.
TEST(Emitters, RuntimeRoutineSymbolAddedOnce) {
    CgState st;
    test::InitForEmit(st);
    const size_t before = st.obj.symbols.size();
    for (int i = 0; i < 3; ++i)
        EmitCallRuntime(st, "_$PsBEEP@0");
    EmitCallRuntime(st, "_$PsCLS@8");
    EXPECT_EQ(st.obj.symbols.size(), before + 2);
    ASSERT_EQ(st.fixups.size(), 4u);
    EXPECT_EQ(st.fixups[0].symbol, before);
    EXPECT_EQ(st.fixups[2].symbol, before);
    EXPECT_EQ(st.fixups[3].symbol, before + 1);
}

// Growth: offset plus the form's longest length must stay below the
// allocated blocks, else one more 64 KB block is added, contents kept.
TEST(CodeBuffer, GrowsWhenAFormWouldReachTheEnd) {
    struct Case {
        const char *name;
        uint32_t start;
        std::function<void(CgState &)> emit;
        uint32_t blocks;
    };
    const Case cases[] = {
        {"call ending one short of the end", kCodeBlock - 6,
         [](CgState &s) { EmitCallRuntime(s, "_$PsBEEP@0"); }, 1},
        {"call ending exactly at the end", kCodeBlock - 5,
         [](CgState &s) { EmitCallRuntime(s, "_$PsBEEP@0"); }, 2},
        {"word store with 32-bit displacement (9 bytes)", kCodeBlock - 9,
         [](CgState &s) { EmitMovEbxImm16(s, 0x1000, 1); }, 2},
        {"word store, short form, same place", kCodeBlock - 10,
         [](CgState &s) { EmitMovEbxImm16(s, 0, 1); }, 1},
        {"mov imm32 with 32-bit displacement (10 bytes)", kCodeBlock - 10,
         [](CgState &s) { EmitMovEbpImm32(s, 0x1000, 1); }, 2},
        {"breakpoint reserves four", kCodeBlock - 4, [](CgState &s) { EmitBreakpoint(s); }, 2},
        {"breakpoint one further back", kCodeBlock - 5, [](CgState &s) { EmitBreakpoint(s); }, 1},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        CgState st;
        test::InitForEmit(st);
        st.code.bytes[0] = 0xAB;
        st.code.offset = c.start;
        c.emit(st);
        EXPECT_EQ(st.code.blocks, c.blocks);
        EXPECT_EQ(st.code.bytes.size(), size_t(c.blocks) * kCodeBlock);
        EXPECT_EQ(st.code.bytes[0], 0xAB);
    }
}

} // namespace
} // namespace txcg
