// A make script as our NMAKE reads it, and every command of every block and
// rule expanded as a build would expand them. Dependents are not expanded
// again: the reader expanded them, and a build takes them as they are (a
// second expansion of thousands of dependents made a few KB of script work
// for minutes).
#include "makefile.h"

namespace {

std::string Env(const std::string &name) { return name == "INCLUDE" ? "C:\\INC" : std::string(); }

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    using namespace nmk;
    Makefile mk;
    ReadError error{};
    if (!ReadMakefile(std::string(reinterpret_cast<const char *>(data), size), Env, mk, error))
        return 0;
    for (const Block &b : mk.blocks) {
        SpecialMacros special{b.target, b.target, b.dependents.empty() ? "" : b.dependents[0], "all"};
        for (const Command &c : b.commands) {
            SplitWords(Expand(mk, c.text, Env, &special));
            for (const std::string &body : c.inline_bodies)
                Expand(mk, body, Env, &special);
        }
    }
    for (const InferenceRule &r : mk.rules)
        for (const Command &c : r.commands)
            Expand(mk, c.text, Env, nullptr);
    return 0;
}
