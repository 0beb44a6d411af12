#include "makefile.h"

#include <algorithm>
#include <cctype>
#include <string_view>

#include "dbcs.h"

namespace nmk {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string Trim(const std::string &s) {
    std::size_t b = 0, e = s.size();
    while (b < e && IsBlank(s[b]))
        ++b;
    while (e > b && IsBlank(s[e - 1]))
        --e;
    return s.substr(b, e - b);
}

std::size_t CharLen(std::string_view s, std::size_t i) {
    return tx::IsSjisLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size() ? 2 : 1;
}

// A line continues when its last character is a backslash; the trail byte
// of a double-byte character that happens to be 0x5C does not count.
bool Continues(const std::string &line) {
    bool last_is_backslash = false;
    for (std::size_t i = 0; i < line.size();) {
        std::size_t n = CharLen(line, i);
        last_is_backslash = n == 1 && line[i] == '\\';
        i += n;
    }
    return last_is_backslash;
}

// Cuts a '#' comment off a line, outside double quotes; "^#" is a '#' of
// the text (the IDE writes paths holding '#' that way).
std::string StripComment(const std::string &line) {
    bool quoted = false;
    std::string out;
    for (std::size_t i = 0; i < line.size();) {
        const std::size_t n = CharLen(line, i);
        if (n == 1 && line[i] == '^' && i + 1 < line.size() && line[i + 1] == '#') {
            out += '#';
            i += 2;
            continue;
        }
        if (line[i] == '"')
            quoted = !quoted;
        else if (line[i] == '#' && !quoted)
            return out;
        out.append(line, i, n);
        i += n;
    }
    return out;
}

// A command keeps its '#', so only the escape goes.
std::string UnescapeHash(const std::string &text) {
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t n = CharLen(text, i);
        if (n == 1 && text[i] == '^' && i + 1 < text.size() && text[i + 1] == '#') {
            out += '#';
            i += 2;
            continue;
        }
        out.append(text, i, n);
        i += n;
    }
    return out;
}

bool IsMacroName(const std::string &s) {
    if (s.empty())
        return false;
    for (char c : s)
        if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '$'))
            return false;
    return !std::isdigit(static_cast<unsigned char>(s[0]));
}

// ".bas.obj:" gives {".bas", ".obj"}.
bool ParseInferenceLine(const std::string &line, std::string &from, std::string &to) {
    std::string t = Trim(line);
    if (t.size() < 5 || t[0] != '.' || t.back() != ':')
        return false;
    t = Trim(t.substr(0, t.size() - 1));
    std::size_t dot = t.find('.', 1);
    if (dot == std::string::npos || dot == 1 || dot + 1 >= t.size())
        return false;
    for (char c : t)
        if (IsBlank(c) || c == '"' || c == ':' || c == '\\' || c == '/')
            return false;
    if (t.find('.', dot + 1) != std::string::npos)
        return false;
    from = t.substr(0, dot);
    to = t.substr(dot);
    return true;
}

// The colon that separates targets from dependents: not one inside quotes
// and not the colon of a drive letter ("C:\..." as a word of its own).
std::size_t FindSeparator(const std::string &line) {
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); i += CharLen(line, i)) {
        char c = line[i];
        if (c == '"') {
            quoted = !quoted;
            continue;
        }
        if (c != ':' || quoted)
            continue;
        bool drive = i >= 1 && std::isalpha(static_cast<unsigned char>(line[i - 1])) &&
                     (i == 1 || IsBlank(line[i - 2]) || line[i - 2] == '"') &&
                     i + 1 < line.size() && (line[i + 1] == '\\' || line[i + 1] == '/');
        if (!drive)
            return i;
    }
    return std::string::npos;
}

char FoldAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// The value of a macro, by reference: a value of the file is not copied for
// every mention of it (a long value named thousands of times made expansion
// quadratic). An environment value is kept in `held`.
std::string_view Lookup(const Makefile &mk, const std::string &name, EnvLookup env,
                        std::string &held) {
    auto it = mk.macros.find(name);
    if (it != mk.macros.end())
        return it->second;
    held = env ? env(name) : std::string();
    return held;
}

constexpr int kMaxDepth = 64;
// Text past this many bytes is no longer added: a value that names another
// several times, on every level, would otherwise double at every step.
constexpr std::size_t kMaxExpansion = 256 << 10;  // far beyond any command line

struct ExpandState {
    std::vector<std::string> active;  // macros being expanded, outermost first
    std::size_t produced = 0;         // bytes of values added, at every level
    std::size_t scanned = 0;          // bytes of text looked through
};

void ExpandAt(const Makefile &mk, std::string_view text, EnvLookup env,
              const SpecialMacros *special, int depth, ExpandState &st, std::string &out) {
    st.scanned += text.size();
    for (std::size_t i = 0; i < text.size();) {
        std::size_t n = CharLen(text, i);
        if (n == 2 || text[i] != '$' || i + 1 >= text.size()) {
            out.append(text, i, n);
            i += n;
            continue;
        }
        char c = text[i + 1];
        std::string_view value;
        std::string name, held;
        bool nested = true;
        std::size_t next = i + 2;
        if (c == '$') {
            value = "$";
            nested = false;
        } else if (c == '(') {
            std::size_t close = text.find(')', i + 2);
            if (close == std::string_view::npos) {
                out.append(text, i);
                break;
            }
            name = text.substr(i + 2, close - i - 2);
            value = Lookup(mk, name, env, held);
            next = close + 1;
        } else if (special && (c == '@' || c == '*' || c == '<' || c == '?')) {
            nested = false;
            if (c == '@')
                value = special->target;
            else if (c == '<')
                value = special->first_dependent;
            else if (c == '?')
                value = special->dependents;
            else if (i + 2 < text.size() && text[i + 2] == '*') {
                value = special->dependents;
                next = i + 3;
            } else
                value = special->base;
        } else if (std::isalnum(static_cast<unsigned char>(c)) || c == '_') {
            name = std::string(1, c);
            value = Lookup(mk, name, env, held);
        } else {
            out += '$';
            i += 1;
            continue;
        }
        i = next;
        if (nested && std::find(st.active.begin(), st.active.end(), name) != st.active.end())
            throw RecursiveMacro{name};
        if (nested && depth < kMaxDepth && st.produced < kMaxExpansion && st.scanned < 4 * kMaxExpansion) {
            // Expanded straight into `out`; what passes the limit is cut
            // off again, as a value too long is not added.
            const std::size_t mark = out.size();
            st.active.push_back(name);
            ExpandAt(mk, value, env, special, depth + 1, st, out);
            st.active.pop_back();
            const std::size_t added = out.size() - mark;
            if (st.produced + added <= kMaxExpansion)
                st.produced += added;
            else
                out.resize(mark);
            continue;
        }
        if (st.produced + value.size() <= kMaxExpansion) {
            st.produced += value.size();
            out += value;
        }
    }
}

}  // namespace

bool SameName(const std::string &a, const std::string &b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size();) {
        std::size_t n = CharLen(a, i);
        if (n == 2) {
            if (a[i] != b[i] || a[i + 1] != b[i + 1])
                return false;
        } else if (FoldAscii(a[i]) != FoldAscii(b[i])) {
            return false;
        }
        i += n;
    }
    return true;
}

std::string RecursiveMacroText(const std::string &name) {
    return "recursive macro definition '" + name + "'";
}

std::string NameKey(const std::string &name) {
    std::string key = name;
    for (std::size_t i = 0; i < key.size();) {
        std::size_t n = CharLen(key, i);
        if (n == 1)
            key[i] = FoldAscii(key[i]);
        i += n;
    }
    return key;
}

const Block *Makefile::FindBlock(const std::string &target) const {
    auto it = block_index.find(NameKey(target));
    return it == block_index.end() ? nullptr : &blocks[it->second];
}

const InferenceRule *Makefile::FindRule(const std::string &from, const std::string &to) const {
    for (const InferenceRule &r : rules)
        if (SameName(r.from, from) && SameName(r.to, to))
            return &r;
    return nullptr;
}

std::string Expand(const Makefile &mk, const std::string &text, EnvLookup env,
                   const SpecialMacros *special) {
    ExpandState st;
    std::string out;
    ExpandAt(mk, text, env, special, 0, st, out);
    return out;
}

std::vector<std::string> SplitWords(const std::string &text) {
    std::vector<std::string> words;
    std::string word;
    bool quoted = false, any = false;
    for (std::size_t i = 0; i < text.size();) {
        std::size_t n = CharLen(text, i);
        char c = text[i];
        if (n == 1 && c == '"') {
            quoted = !quoted;
            any = true;
        } else if (n == 1 && (IsBlank(c) || c == '\r' || c == '\n') && !quoted) {
            if (any)
                words.push_back(word);
            word.clear();
            any = false;
        } else {
            word.append(text, i, n);
            any = true;
        }
        i += n;
    }
    if (any)
        words.push_back(word);
    return words;
}

bool ReadMakefile(const std::string &bytes, EnvLookup env, Makefile &mk, ReadError &error) {
    std::vector<std::string> lines;
    for (std::size_t start = 0; start < bytes.size();) {
        std::size_t lf = bytes.find('\n', start);
        std::string line = bytes.substr(start, lf == std::string::npos ? std::string::npos : lf - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
        if (lf == std::string::npos)
            break;
        start = lf + 1;
    }

    auto expand = [&](const std::string &text, int line_no, std::string &out) {
        try {
            out = Expand(mk, text, env);
            return true;
        } catch (const RecursiveMacro &r) {
            error = {line_no, RecursiveMacroText(r.name), kRecursiveMacro};
            return false;
        }
    };

    // Where the command lines that follow go: the blocks of the last
    // dependency line, or the last inference rule.
    std::vector<std::size_t> current_blocks;
    InferenceRule *current_rule = nullptr;
    bool in_rule_or_block = false;
    bool first_command = false;   // a block named again gets the new commands

    for (std::size_t i = 0; i < lines.size();) {
        const int line_no = static_cast<int>(i) + 1;
        std::string line = lines[i++];
        while (Continues(line) && i < lines.size()) {
            line.pop_back();
            line += ' ' + Trim(lines[i++]);
        }
        if (Trim(line).empty())
            continue;

        if (IsBlank(line[0])) {
            if (line.find_first_not_of(" \t") != std::string::npos &&
                line[line.find_first_not_of(" \t")] == '#')
                continue;
            if (!in_rule_or_block) {
                error = {line_no, "syntax error : command without a target"};
                return false;
            }
            // Only the leading blanks go: the echo shows the command as written.
            Command cmd{UnescapeHash(line.substr(line.find_first_not_of(" \t"))), {}, line_no};
            for (std::size_t at = cmd.text.find("<<"); at != std::string::npos;
                 at = cmd.text.find("<<", at + 2)) {
                std::string body;
                bool closed = false;
                while (i < lines.size()) {
                    const std::string &raw = lines[i++];
                    if (raw.compare(0, 2, "<<") == 0) {
                        closed = true;
                        break;
                    }
                    body += raw + "\r\n";
                }
                if (!closed) {
                    error = {line_no, "syntax error : inline file not closed"};
                    return false;
                }
                cmd.inline_bodies.push_back(body);
            }
            if (current_rule)
                current_rule->commands.push_back(cmd);
            for (std::size_t b : current_blocks) {
                if (first_command)
                    mk.blocks[b].commands.clear();
                mk.blocks[b].commands.push_back(cmd);
            }
            first_command = false;
            continue;
        }
        if (line[0] == '#')
            continue;

        line = Trim(StripComment(line));
        if (line.empty())
            continue;

        if (line.compare(0, 9, ".SUFFIXES") == 0) {
            std::size_t colon = line.find(':');
            if (colon == std::string::npos) {
                error = {line_no, "syntax error : ':' missing after .SUFFIXES"};
                return false;
            }
            std::vector<std::string> list = SplitWords(line.substr(colon + 1));
            if (list.empty())
                mk.suffixes.clear();
            mk.suffixes.insert(mk.suffixes.end(), list.begin(), list.end());
            in_rule_or_block = false;
            continue;
        }

        std::size_t eq = line.find('=');
        if (eq != std::string::npos && IsMacroName(Trim(line.substr(0, eq)))) {
            std::string name = Trim(line.substr(0, eq));
            std::string value = Trim(line.substr(eq + 1));
            // A value naming its own macro takes the old value now.
            if (value.find("$(" + name + ")") != std::string::npos && !expand(value, line_no, value))
                return false;
            mk.macros[name] = value;
            continue;
        }

        std::string from, to;
        if (ParseInferenceLine(line, from, to)) {
            mk.rules.erase(std::remove_if(mk.rules.begin(), mk.rules.end(),
                                          [&](const InferenceRule &r) {
                                              return SameName(r.from, from) && SameName(r.to, to);
                                          }),
                           mk.rules.end());
            mk.rules.push_back({from, to, {}});
            current_rule = &mk.rules.back();
            current_blocks.clear();
            in_rule_or_block = true;
            continue;
        }

        // Dependency lines are expanded now: DEP_FILE changes between them.
        std::string expanded;
        if (!expand(line, line_no, expanded))
            return false;
        std::size_t sep = FindSeparator(expanded);
        if (sep == std::string::npos) {
            error = {line_no, "syntax error : separator missing"};
            return false;
        }
        std::vector<std::string> targets = SplitWords(expanded.substr(0, sep));
        std::string rest = expanded.substr(sep + 1);
        if (!rest.empty() && rest[0] == ':')
            rest.erase(0, 1);
        if (targets.empty()) {
            error = {line_no, "syntax error : no target name"};
            return false;
        }
        std::vector<std::string> deps = SplitWords(rest);
        current_blocks.clear();
        current_rule = nullptr;
        for (const std::string &t : targets) {
            const std::size_t index = mk.block_index.emplace(NameKey(t), mk.blocks.size()).first->second;
            if (index == mk.blocks.size())
                mk.blocks.push_back({t, {}, {}, line_no});
            Block &block = mk.blocks[index];
            block.dependents.insert(block.dependents.end(), deps.begin(), deps.end());
            current_blocks.push_back(index);
            if (mk.goal.empty())
                mk.goal = t;
        }
        in_rule_or_block = true;
        first_command = true;
    }
    return true;
}

}  // namespace nmk
