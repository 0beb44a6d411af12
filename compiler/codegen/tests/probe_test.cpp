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

TEST_F(Probe, HeadersLineNumbersAndStringsMatchTheCheckedDump) {
    const std::string dump = Shell(dir_, std::string(TXCG_COFFDUMP) + " MAIN.obj");
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

} // namespace
