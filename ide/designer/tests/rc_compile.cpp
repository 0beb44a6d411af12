#include "rc_compile.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace dsg::test {

namespace {

std::string Folder(const std::string &path) {
    size_t s = path.rfind('/');
    return s == std::string::npos ? "." : path.substr(0, s);
}

}  // namespace

bool HaveScriptCompiler() {
    return std::ifstream(TX_RC_PROGRAM).good();
}

// Our RC, run in the script's folder with the form header's folder as INCLUDE.
bool CompileScript(const std::string &rcPath, const std::string &resPath, std::string &log) {
    std::string logPath = resPath + ".log";
    std::string cmd = "cd '" + Folder(rcPath) + "' && INCLUDE='" TX_FORM_INCLUDE "' '" TX_RC_PROGRAM
                      "' /r /l 0x411 /fo '" + resPath + "' '" + rcPath + "' >'" + logPath + "' 2>&1";
    int rc = std::system(cmd.c_str());
    std::ifstream l(logPath);
    std::stringstream ls;
    ls << l.rdbuf();
    log = ls.str();
    return rc == 0;
}

}  // namespace dsg::test
