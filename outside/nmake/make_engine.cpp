#include "make_engine.h"

#include <cstdio>
#include <unordered_map>
#include <vector>

#include "dbcs.h"

namespace nmk {
namespace {

struct Outcome {
    bool rebuilt = false;
    std::optional<std::int64_t> time;
};

struct Fatal {
    std::string text;
};

// Deeper chains of dependents are refused: each level is a frame of Make.
constexpr int kMaxDependencyDepth = 1000;

// The target's name without its extension ($*); only the file-name part's
// extension counts, so a folder holding a dot is left alone.
std::string BaseName(const std::string &name, std::string *extension = nullptr) {
    std::size_t dot = std::string::npos;
    for (std::size_t i = 0; i < name.size();) {
        unsigned char c = static_cast<unsigned char>(name[i]);
        if (tx::IsSjisLeadByte(c) && i + 1 < name.size()) {
            i += 2;
            continue;
        }
        if (c == '.')
            dot = i;
        else if (c == '\\' || c == '/' || c == ':')
            dot = std::string::npos;
        ++i;
    }
    if (extension)
        *extension = dot == std::string::npos ? std::string() : name.substr(dot);
    return dot == std::string::npos ? name : name.substr(0, dot);
}

class Maker {
public:
    Maker(const Makefile &mk, const MakeOptions &opt, MakeHost &host, EnvLookup env)
        : mk_(mk), opt_(opt), host_(host), env_(env) {}

    Outcome Make(const std::string &name, int depth = 0) {
        const std::string key = NameKey(name);
        if (auto seen = visited_.find(key); seen != visited_.end()) {
            if (!seen->second.done)
                throw Fatal{"U" + std::to_string(kDependencyCycle) + ": cycle in dependency tree for target '" +
                            name + "'"};
            return seen->second.outcome;
        }
        if (depth >= kMaxDependencyDepth)
            throw Fatal{"U" + std::to_string(kTooDeep) + ": dependency tree deeper than " +
                        std::to_string(kMaxDependencyDepth) + " levels at target '" + name + "'"};
        Visited &slot = visited_[key];   // stays where it is while the map grows

        const Block *block = mk_.FindBlock(name);
        std::vector<std::string> deps;
        if (block)
            deps = block->dependents;
        const std::vector<Command> *commands =
            block && !block->commands.empty() ? &block->commands : nullptr;
        bool inferred = false;
        if (!commands)
            inferred = Infer(name, deps, commands);

        bool any_rebuilt = false;
        std::optional<std::int64_t> newest;
        for (const std::string &d : deps) {
            Outcome o = Make(d, depth + 1);
            any_rebuilt = any_rebuilt || o.rebuilt;
            if (o.time && (!newest || *o.time > *newest))
                newest = o.time;
        }

        Outcome out;
        out.time = host_.FileTime(name);
        if (!block && !inferred) {
            if (!out.time)
                throw Fatal{"U1073: don't know how to make '" + name + "'"};
        } else {
            bool stale = !out.time || any_rebuilt || (newest && *newest > *out.time);
            if (commands && (opt_.all || stale)) {
                SpecialMacros special{name, BaseName(name), deps.empty() ? std::string() : deps[0],
                                      JoinQuoted(deps)};
                for (const Command &c : *commands)
                    RunCommand(c, special);
                out.rebuilt = true;
                out.time = host_.FileTime(name);
            } else if (!commands && stale) {
                out.rebuilt = true;   // a name with no file and no commands stands for its dependents
            }
        }
        slot.outcome = out;
        slot.done = true;
        return out;
    }

private:
    // Targets met, by NameKey; one not yet done is still being made.
    struct Visited {
        Outcome outcome;
        bool done = false;
    };

    static std::string JoinQuoted(const std::vector<std::string> &names) {
        std::string s;
        for (const std::string &n : names) {
            if (!s.empty())
                s += ' ';
            s += n.find_first_of(" \t") == std::string::npos ? n : '"' + n + '"';
        }
        return s;
    }

    // An inference rule ".from.to" whose source file (or target) exists,
    // the suffixes tried in the order of .SUFFIXES.
    bool Infer(const std::string &name, std::vector<std::string> &deps,
               const std::vector<Command> *&commands) {
        std::string to;
        std::string base = BaseName(name, &to);
        if (to.empty())
            return false;
        for (const std::string &from : mk_.suffixes) {
            const InferenceRule *rule = mk_.FindRule(from, to);
            if (!rule)
                continue;
            std::string source = base + from;
            if (!host_.FileTime(source) && !mk_.FindBlock(source))
                continue;
            deps.insert(deps.begin(), source);
            commands = &rule->commands;
            return true;
        }
        return false;
    }

    void RunCommand(const Command &c, const SpecialMacros &special) {
        std::string text = Expand(mk_, c.text, env_, &special);
        // Expanded before any is written: a bad macro leaves no file behind.
        std::vector<std::string> bodies;
        for (const std::string &body : c.inline_bodies)
            bodies.push_back(Expand(mk_, body, env_, &special));
        std::vector<std::string> temps;
        for (const std::string &body : bodies) {
            std::string file = host_.WriteTempFile(body);
            if (file.empty()) {
                RemoveAll(temps);
                throw Fatal{"U1083: cannot create inline file"};
            }
            temps.push_back(file);
        }
        std::size_t at = 0;
        for (const std::string &file : temps) {
            at = text.find("<<", at);
            if (at == std::string::npos)
                break;
            text.replace(at, 2, file);
            at += file.size();
        }
        host_.Out("\t" + text);
        std::optional<std::uint32_t> code = host_.Run(text);
        RemoveAll(temps);
        if (!code || *code != 0) {
            std::vector<std::string> words = SplitWords(text);
            char hex[16];
            std::snprintf(hex, sizeof hex, "0x%x", code ? static_cast<unsigned>(*code) : 2u);
            throw Fatal{"U1077: '" + (words.empty() ? std::string() : words[0]) +
                        "' : return code '" + hex + "'"};
        }
    }

    void RemoveAll(const std::vector<std::string> &files) {
        for (const std::string &f : files)
            host_.RemoveFile(f);
    }

    const Makefile &mk_;
    const MakeOptions &opt_;
    MakeHost &host_;
    EnvLookup env_;
    std::unordered_map<std::string, Visited> visited_;
};

}  // namespace

int RunMake(const Makefile &mk, const MakeOptions &options, MakeHost &host, EnvLookup env) {
    const std::string goal = options.target.empty() ? mk.goal : options.target;
    if (goal.empty()) {
        host.Err("NMAKE : fatal error U1064: MAKEFILE not found and no target specified");
        host.Err("Stop.");
        return kExitFatal;
    }
    Maker maker(mk, options, host, env);
    try {
        Outcome o = maker.Make(goal);
        if (!o.rebuilt)
            host.Out("'" + goal + "' " + kUpToDateText);
    } catch (const Fatal &f) {
        host.Err("NMAKE : fatal error " + f.text);
        host.Err("Stop.");
        return kExitFatal;
    } catch (const RecursiveMacro &r) {
        host.Err("NMAKE : fatal error U" + std::to_string(kRecursiveMacro) + ": " + RecursiveMacroText(r.name));
        host.Err("Stop.");
        return kExitFatal;
    }
    return 0;
}

}  // namespace nmk
