// txkeywords: the table of reserved words in docs/language.md, made from the
// compiler's own keyword table (compiler/common/tokens.h), so the guide
// cannot list a word the compiler does not reserve, nor miss one.
//
//   txkeywords              prints the table
//   txkeywords --check FILE exits 1 when FILE's table differs from it
//   txkeywords --write FILE puts it into FILE
//
// The table sits between the two marker lines below.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "tokens.h"

namespace {

constexpr std::string_view kBegin = "<!-- keywords: made by txkeywords, do not edit -->\n";
constexpr std::string_view kEnd = "<!-- end of keywords -->\n";

// The table, one row per first letter. The comment mark ' is a keyword
// of the table but no word a name could collide with, so it is left out.
std::string Table() {
    std::map<char, std::vector<std::string>> byLetter;
    for (const tok::Keyword &k : tok::kKeywords) {
        if (!std::isalpha(static_cast<unsigned char>(k.spelling[0]))) continue;
        byLetter[k.spelling[0]].emplace_back(k.spelling);
    }
    std::ostringstream out;
    out << "| | words |\n|---|---|\n";
    for (auto &[letter, words] : byLetter) {
        std::sort(words.begin(), words.end());
        out << "| " << letter << " |";
        for (size_t i = 0; i < words.size(); ++i) out << (i ? ", " : " ") << '`' << words[i] << '`';
        out << " |\n";
    }
    return out.str();
}

bool Read(const std::string &path, std::string &text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream s;
    s << in.rdbuf();
    text = s.str();
    return true;
}

}  // namespace

int main(int argc, char **argv) {
    const std::string table = Table();
    if (argc == 1) {
        std::cout << table;
        return 0;
    }
    const std::string mode = argv[1];
    if (argc != 3 || (mode != "--check" && mode != "--write")) {
        std::cerr << "usage: txkeywords [--check FILE | --write FILE]\n";
        return 2;
    }
    const std::string path = argv[2];
    std::string text;
    if (!Read(path, text)) {
        std::cerr << "txkeywords: cannot read " << path << "\n";
        return 2;
    }
    const size_t begin = text.find(kBegin);
    const size_t end = begin == std::string::npos ? begin : text.find(kEnd, begin);
    if (end == std::string::npos) {
        std::cerr << "txkeywords: " << path << " has no keyword table between \"" << kBegin.substr(0, kBegin.size() - 1)
                  << "\" and \"" << kEnd.substr(0, kEnd.size() - 1) << "\"\n";
        return 2;
    }
    const size_t from = begin + kBegin.size();
    if (mode == "--check") {
        if (text.compare(from, end - from, table) == 0) return 0;
        std::cerr << "txkeywords: the keyword table in " << path
                  << " differs from the compiler's; run txkeywords --write " << path << "\n"
                  << "the compiler's table:\n"
                  << table;
        return 1;
    }
    text.replace(from, end - from, table);
    std::ofstream out(path, std::ios::binary);
    if (!(out << text)) {
        std::cerr << "txkeywords: cannot write " << path << "\n";
        return 2;
    }
    return 0;
}
