#include "rc_compile.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <vector>

namespace dsg::test {

namespace {

const char kCompiler[] = "i686-w64-mingw32-windres";

// This compiler wants commas between the rows of an RCDATA body, where the
// designer's scripts put one item per line; and it takes no comment inside
// a row. Rows are joined here; everything else passes unchanged.
std::string JoinDataRows(const std::string &text) {
    std::vector<std::string> lines;
    size_t at = 0;
    while (at < text.size()) {
        size_t nl = text.find('\n', at);
        if (nl == std::string::npos) nl = text.size();
        std::string line = text.substr(at, nl - at);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
        at = nl + 1;
    }
    std::string out;
    auto strip = [](std::string s) {
        bool quoted = false;
        for (size_t i = 0; i < s.size(); ++i) {
            if (s[i] == '"') quoted = !quoted;
            if (!quoted && s.compare(i, 2, "//") == 0) {
                s.resize(i);
                break;
            }
        }
        size_t a = s.find_first_not_of(" \t"), b = s.find_last_not_of(" \t");
        return a == std::string::npos ? std::string() : s.substr(a, b - a + 1);
    };
    for (size_t i = 0; i < lines.size(); ++i) {
        out += lines[i] + "\r\n";
        std::string head = strip(lines[i]);
        if (head.size() < 7 || head.compare(head.size() - 7, 7, " RCDATA") != 0) continue;
        if (i + 1 >= lines.size() || strip(lines[i + 1]) != "BEGIN") continue;
        out += lines[++i] + "\r\n";
        std::vector<std::string> rows;
        while (++i < lines.size() && strip(lines[i]) != "END") {
            std::string row = strip(lines[i]);
            if (!row.empty()) rows.push_back(row);
        }
        for (size_t k = 0; k < rows.size(); ++k) out += "\t" + rows[k] + (k + 1 < rows.size() ? ",\r\n" : "\r\n");
        if (i < lines.size()) out += lines[i] + "\r\n";
    }
    return out;
}

std::string Folder(const std::string &path) {
    size_t s = path.rfind('/');
    return s == std::string::npos ? "." : path.substr(0, s);
}

}  // namespace

bool HaveScriptCompiler() {
    return std::system((std::string("command -v ") + kCompiler + " >/dev/null 2>&1").c_str()) == 0;
}

bool CompileScript(const std::string &rcPath, const std::string &resPath, std::string &log) {
    std::ifstream in(rcPath, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    std::string joined = rcPath + ".joined.rc";
    std::ofstream(joined, std::ios::binary) << JoinDataRows(ss.str());
    std::string logPath = resPath + ".log";
    std::string cmd = "cd '" + Folder(rcPath) + "' && " + kCompiler + " -J rc -O res -c 932 -I '" TX_DESIGNER_DIR
                      "' -i '" + joined + "' -o '" + resPath + "' >'" + logPath + "' 2>&1";
    int rc = std::system(cmd.c_str());
    std::ifstream l(logPath);
    std::stringstream ls;
    ls << l.rdbuf();
    log = ls.str();
    return rc == 0;
}

}  // namespace dsg::test
