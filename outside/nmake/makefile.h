// The make script as NMAKE reads it: macros, description blocks, inference
// rules and the suffix list. Input is code page 932 text with CR LF lines.
#pragma once

#include <map>
#include <string>
#include <unordered_map>
#include <vector>

namespace nmk {

// A command line of a block, and the bodies of its inline files (one per
// "<<" on the line, in order), both still holding their macros.
struct Command {
    std::string text;
    std::vector<std::string> inline_bodies;
    int line = 0;
};

// A description block: the dependents were expanded when the line was read.
struct Block {
    std::string target;                // as written, quotes removed
    std::vector<std::string> dependents;
    std::vector<Command> commands;
    int line = 0;
};

struct InferenceRule {
    std::string from, to;              // ".bas", ".obj"
    std::vector<Command> commands;
};

struct Makefile {
    std::map<std::string, std::string> macros;   // unexpanded values
    std::vector<Block> blocks;                   // one per target, file order
    std::vector<InferenceRule> rules;
    std::vector<std::string> suffixes;
    std::string goal;                            // first target of the file
    std::unordered_map<std::string, std::size_t> block_index;   // NameKey(target): its block

    const Block *FindBlock(const std::string &target) const;
    const InferenceRule *FindRule(const std::string &from, const std::string &to) const;
};

// Looks macros up: the file's own, then the environment.
using EnvLookup = std::string (*)(const std::string &name);

// Special macros of the command being expanded ($@, $*, $<, $**, $?).
struct SpecialMacros {
    std::string target, base, first_dependent, dependents;
};

// A macro met again inside its own expansion (A=$(B), B=$(A)).
struct RecursiveMacro {
    std::string name;
};

// Expands $(NAME), $X, $$ and the special macros. Values are expanded when
// used, so a macro may name macros defined after it; a macro that comes
// back inside its own value throws RecursiveMacro.
std::string Expand(const Makefile &mk, const std::string &text, EnvLookup env,
                   const SpecialMacros *special = nullptr);

// Fatal errors' U-numbers.
constexpr int kSyntaxError = 1034, kRecursiveMacro = 1048, kDependencyCycle = 1071, kTooDeep = 1072;
std::string RecursiveMacroText(const std::string &name);

struct ReadError {
    int line;
    std::string text;
    int code = kSyntaxError;   // the U-number it is reported with
};



// Reads the whole script. Returns false with `error` set on a syntax error.
bool ReadMakefile(const std::string &bytes, EnvLookup env, Makefile &mk, ReadError &error);

// Splits text into words separated by blanks and line ends; double quotes group a word that
// holds blanks and are removed.
std::vector<std::string> SplitWords(const std::string &text);

// Compares two file names as Windows does: without regard to the case of
// single-byte letters (a trail byte is compared as it is).
bool SameName(const std::string &a, const std::string &b);
// The name as SameName sees it: single-byte letters upper-cased, so equal
// keys are the same name.
std::string NameKey(const std::string &name);

}  // namespace nmk
