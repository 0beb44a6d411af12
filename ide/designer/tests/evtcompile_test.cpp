// The event procedures the designer writes into a form's source compile
// with TXCL, every parameter list among them.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

#include "dsg_prop.h"

namespace dsg {
namespace {

namespace fs = std::filesystem;

int Compile(const std::string &source) {
    static int run = 0;
    fs::path dir = fs::temp_directory_path() / ("evtsrc-" + std::to_string(getpid()) + "-" + std::to_string(run++));
    fs::create_directories(dir);
    std::ofstream(dir / "MAINFORM.SUB", std::ios::binary) << source;
    std::string cmd = "cd '" + dir.string() + "' && '" TX_TXCL "' /nologo MAINFORM.SUB >out.txt 2>&1";
    int rc = std::system(cmd.c_str());
    fs::remove_all(dir);
    return rc;
}

TEST(EventProcedureSource, CompilesWithTxcl) {
    std::string src;
    // One procedure of every parameter list, as the designer writes them.
    const std::pair<const char *, int> procs[] = {
        {"CMD1_ON", 1},          {"MAINFORM_START", 3},  {"MAINFORM_MOUSEMOVE", 12}, {"OLE1_UPDATED", 13},
        {"MCI1_DONE", 14},       {"TIMER1_TIMER", 15},   {"PRINTER1_ABORTDOC", 16}, {"MAINFORM_QUERYCLOSE", 17},
        {"MAINFORM_NOTIFYICON", 18}, {"EDIT1_DROPFILES", 19}, {"PICTURE1_MOUSEWHEEL", 20},
    };
    for (auto &[name, event] : procs) src += EvtProcedureText(name, event, 8);
    EXPECT_EQ(Compile(src), 0);
    // The check can fail: a declaration cut short does not compile.
    EXPECT_NE(Compile("declare sub X edecl (\r\n"), 0);
}

}  // namespace
}  // namespace dsg
