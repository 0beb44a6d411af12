// Reading basrun's --trace file in program tests: the runtime routines a
// program called, by the source line it was on, and a call against its
// expected form.
#pragma once

#include <cstdlib>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace txcg::test {

// Statement and function routines ("_$Ps...", "_$Pf...") by the line the
// current-line routine last set; the runtime's own helpers are left out.
inline std::map<int, std::vector<std::string>> CallsByLine(const std::string &trace) {
    std::map<int, std::vector<std::string>> byLine;
    std::istringstream in(trace);
    std::string call;
    int line = 0;
    while (std::getline(in, call)) {
        if (call.rfind("_$PbSetCurLine", 0) == 0)
            line = std::atoi(call.c_str() + call.find(' ') + 1);
        else if (call.rfind("_$Ps", 0) == 0 || call.rfind("_$Pf", 0) == 0)
            byLine[line].push_back(call);
    }
    return byLine;
}

// Word by word, each expected word first rewritten by `word` (when given);
// "*" matches any word.
inline bool CallMatches(const std::string &want, const std::string &got,
                        const std::function<std::string(const std::string &)> &word = {}) {
    std::istringstream w(want), g(got);
    std::string a, b;
    while (w >> a) {
        if (!(g >> b) || (a != "*" && (word ? word(a) : a) != b))
            return false;
    }
    return !(g >> b);
}

} // namespace txcg::test
