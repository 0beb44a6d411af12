// A make host with files in memory, a clock that ticks on every write and
// recording stand-ins for TXCL, RC and LINK.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "make_engine.h"

namespace nmk::test {

inline std::string Upper(std::string s) {
    for (char &c : s)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return s;
}

struct ToolAnswer {
    std::vector<std::string> lines;   // what the tool prints
    std::uint32_t code = 0;
};

class FakeHost : public MakeHost {
public:
    std::map<std::string, std::int64_t> files;   // key: upper-cased name
    std::int64_t clock = 100;
    std::vector<std::string> commands;           // as started
    std::vector<std::string> inline_files;       // contents as the tool saw them
    std::vector<std::string> temps_alive;
    std::map<std::string, std::string> temp_content;
    std::map<std::string, ToolAnswer> answers;   // by tool word
    std::string out, err;                        // CR LF lines
    std::string temp_name = "C:\\TEMP\\nma01234.";

    void Touch(const std::string &name) { files[Upper(name)] = ++clock; }

    std::optional<std::int64_t> FileTime(const std::string &path) override {
        auto it = files.find(Upper(path));
        if (it == files.end())
            return std::nullopt;
        return it->second;
    }
    std::string WriteTempFile(const std::string &bytes) override {
        temp_content[temp_name] = bytes;
        temps_alive.push_back(temp_name);
        return temp_name;
    }
    void RemoveFile(const std::string &path) override {
        std::erase(temps_alive, path);
    }
    std::optional<std::uint32_t> Run(const std::string &line) override {
        commands.push_back(line);
        std::vector<std::string> w = SplitWords(line);
        std::string tool = Upper(w[0]);
        if (!answers.count(tool) && tool != "TXCL" && tool != "RC" && tool != "LINK")
            return std::nullopt;
        ToolAnswer a = answers[tool];
        for (const std::string &l : a.lines)
            out += l + "\r\n";
        if (a.code != 0)
            return a.code;
        for (std::size_t i = 1; i < w.size(); ++i) {
            if (w[i].rfind("/Fo", 0) == 0)
                Touch(w[i].substr(3));
            else if (w[i] == "/fo" && i + 1 < w.size())
                Touch(w[i + 1]);
            else if (w[i][0] == '@') {
                const std::string &body = temp_content[w[i].substr(1)];
                inline_files.push_back(body);
                for (const std::string &t : SplitWords(body))
                    if (t.rfind("/out:", 0) == 0)
                        Touch(t.substr(5));
            }
        }
        return 0u;
    }
    void Out(const std::string &line) override { out += line + "\r\n"; }
    void Err(const std::string &line) override { err += line + "\r\n"; }
};

}  // namespace nmk::test
