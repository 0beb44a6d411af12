// The probe object read by binutils and our own dumper against listings
// checked by hand, and linked by the real linker against a stub runtime.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include <gtest/gtest.h>

#include "probe_module.h"

namespace fs = std::filesystem;

namespace {

std::string Slurp(const fs::path &p) {
    std::ifstream f(p, std::ios::binary);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

// Runs a command in dir; returns its standard output, fails on exit status.
std::string Shell(const fs::path &dir, const std::string &command) {
    const std::string out = (dir / "command.out").string();
    const std::string full = "cd '" + dir.string() + "' && " + command + " > '" + out + "' 2>&1";
    const int status = std::system(full.c_str());
    std::string text = Slurp(out);
    EXPECT_EQ(status, 0) << command << "\n" << text;
    return text;
}

// Each test has a folder of its own: CTest runs them in parallel.
class Probe : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::current_path() /
               ("probe_" + std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        txcg::test::WriteProbeObject((dir_ / "MAIN.obj").string());
    }
    static fs::path Golden(const char *name) { return fs::path(TXCG_TEST_DIR) / "golden" / name; }
    fs::path dir_;
};

TEST_F(Probe, ObjdumpListingMatchesTheCheckedOne) {
    const std::string listing =
        Shell(dir_, std::string(TXCG_OBJDUMP) + " -h -t -r -d -M intel MAIN.obj");
    EXPECT_EQ(listing, Slurp(Golden("probe.objdump")));
}

TEST_F(Probe, HeadersRelocationsLineNumbersAndStringsMatchTheCheckedDump) {
    const std::string dump = Shell(dir_, std::string(TXCG_COFFDUMP) + " -r MAIN.obj");
    EXPECT_EQ(dump, Slurp(Golden("probe.coffdump")));
}

// The stub runtime defines every routine and datum the module refers to;
// the probe must link without an undefined or misplaced reference.
TEST_F(Probe, LinksWithTheRealLinker) {
    std::ofstream(dir_ / "stub.s") << R"(
        .text
        .globl _$PbSetMcbMain@4, _$PbSetMcb@4, _$PbSetCurLineDbg@4, _$PsPRINT@4
        .globl _$PdDbgGetMmfNameAdr@0, _$PdDbgInit@0, _$PdDbgValueCalc@0
        .globl _$PdDbgRedraw@4, _$PdDbgEnd@4, _$PbMainWndProc@16
_$PbSetMcbMain@4: ret $4
_$PbSetMcb@4: ret $4
_$PbSetCurLineDbg@4: ret $4
_$PsPRINT@4: ret $4
_$PdDbgGetMmfNameAdr@0: ret
_$PdDbgInit@0: ret
_$PdDbgValueCalc@0: ret
_$PdDbgRedraw@4: ret $4
_$PdDbgEnd@4: ret $4
_$PbMainWndProc@16: ret $16
)";
    Shell(dir_, std::string(TXCG_AS) + " --32 -o stub.o stub.s");
    // GNU ld adds its own leading underscore unless told not to; the entry
    // is named explicitly because there is no C start-up code.
    Shell(dir_, std::string(TXCG_LD) +
                    " --no-leading-underscore -e '$BAS_MAIN' -o MAIN.exe MAIN.obj stub.o");

    std::map<std::string, std::string> address;
    std::istringstream nm(Shell(dir_, std::string(TXCG_NM) + " MAIN.exe"));
    for (std::string addr, kind, name; nm >> addr >> kind >> name;)
        address[name] = addr.substr(addr.find_first_not_of('0'));
    const std::string code = Shell(dir_, std::string(TXCG_OBJDUMP) + " -d -M intel MAIN.exe");
    // Calls reach the runtime, the public procedure and, through a .text
    // relocation with an addend, the static one; data addresses are placed.
    for (const char *callee : {"_$PbSetMcbMain@4", "_$PsPRINT@4", "_TX$F@4", "G",
                               "_$PdDbgGetMmfNameAdr@0", "_$PdDbgEnd@4"}) {
        SCOPED_TRACE(callee);
        EXPECT_NE(code.find("call   " + address[callee] + " <" + callee + ">"), std::string::npos);
    }
    EXPECT_NE(code.find("push   0x" + address["_$PvMCB"]), std::string::npos);
    EXPECT_NE(code.find("jmp    " + address["$ENTRY$MAIN.BAS"].substr(0, 4) + "14 <$BAS_MAIN+0x14>"),
              std::string::npos);

    // The .drectve exports as the linker took them.
    const std::string headers = Shell(dir_, std::string(TXCG_OBJDUMP) + " -p MAIN.exe");
    EXPECT_NE(headers.find("\t[   0] $PbMainWndProc\n\t[   1] TX$F\n"), std::string::npos)
        << headers;
}

// 65,537 calls: the first .text ends at the field of the 65,536th call, so
// that call's opcode is the first section's last byte. Linked, the parts
// are one contiguous block again: the cut call, the last call, the local
// call (a .text relocation from the second part) and the jump back all
// reach their targets.
TEST_F(Probe, SplitTextLinksIntoOneContiguousBlock) {
    txcg::test::WriteManyCallsObject((dir_ / "MANY.obj").string(), 65537);
    const std::string dump = Shell(dir_, std::string(TXCG_COFFDUMP) + " MANY.obj");
    // Cut at 5 * 65535 + 1; the rest: 4 + 5 + 5 + 5 + 1 bytes.
    for (const char *line : {"section 2 .text    vsize 0 vaddr 0 size 0x4fffc raw 0xdc "
                             "relocs 0x500d8/65535 lines 0xf00ce/68 characteristics 0x60100020\n",
                             "  line 60000 at 0x4fffb\n",
                             "section 5 .text    vsize 0 vaddr 0 size 0x14 raw 0xf027d "
                             "relocs 0xf0291/3 lines 0xf02af/1 characteristics 0x60100020\n",
                             "  line 60001 at 0x4\n"})
        EXPECT_NE(dump.find(line), std::string::npos) << line << dump.substr(dump.size() - 400);

    std::ofstream(dir_ / "stub.s") << ".text\n.globl _$PsBEEP@0\n_$PsBEEP@0: ret\n";
    Shell(dir_, std::string(TXCG_AS) + " --32 -o stub.o stub.s");
    // Stripped, so that the disassembler does not stop at the second
    // part's section symbol in the middle of the cut call.
    Shell(dir_, std::string(TXCG_LD) +
                    " --no-leading-underscore -s -e '$ENTRY$MANY.SUB' -o MANY.exe MANY.obj stub.o");
    // Code starts at 0x401000, so the cut call's opcode is at 0x450ffb and
    // the stub routine follows the module at 0x451010.
    const std::string code = Shell(
        dir_, std::string(TXCG_OBJDUMP) +
                  " -d -M intel --start-address=0x450ffb --stop-address=0x451011 MANY.exe");
    const char *want[] = {
        "450ffb:\te8 10 00 00 00       \tcall   0x451010\n",
        "451000:\te8 0b 00 00 00       \tcall   0x451010\n",
        "451005:\te8 fb ff fa ff       \tcall   0x401005\n",
        "45100a:\te9 f6 ff fa ff       \tjmp    0x401005\n",
        "45100f:\tc3                   \tret\n",
        "451010:\tc3                   \tret\n",
    };
    for (const char *line : want)
        EXPECT_NE(code.find(line), std::string::npos) << line << "\n" << code;
}

// The most relocations .text can carry: eleven sections as binutils reads
// them, and still one block once linked.
TEST_F(Probe, MostRelocationsGiveElevenTextSections) {
    txcg::test::WriteManyCallsObject((dir_ / "MANY.obj").string(), 720884 - 1);
    const std::string headers = Shell(dir_, std::string(TXCG_OBJDUMP) + " -h MANY.obj");
    int texts = 0;
    for (size_t at = 0; (at = headers.find(" .text ", at)) != std::string::npos; ++at)
        ++texts;
    EXPECT_EQ(texts, 11) << headers;

    std::ofstream(dir_ / "stub.s") << ".text\n.globl _$PsBEEP@0\n_$PsBEEP@0: ret\n";
    Shell(dir_, std::string(TXCG_AS) + " --32 -o stub.o stub.s");
    Shell(dir_, std::string(TXCG_LD) +
                    " --no-leading-underscore -s -e '$ENTRY$MANY.SUB' -o MANY.exe MANY.obj stub.o");
    // The last of 720,883 calls is at 0x401000 + 5 * 720882; the stub
    // routine follows on the next 4-byte boundary.
    const std::string code = Shell(
        dir_, std::string(TXCG_OBJDUMP) +
                  " -d -M intel --start-address=0x770fba --stop-address=0x770fca MANY.exe");
    for (const char *line : {"770fba:\te8 0d 00 00 00       \tcall   0x770fcc\n",
                             "770fbf:\te8 41 00 c9 ff       \tcall   0x401005\n",
                             "770fc4:\te9 3c 00 c9 ff       \tjmp    0x401005\n"})
        EXPECT_NE(code.find(line), std::string::npos) << line << "\n" << code;
}

} // namespace
