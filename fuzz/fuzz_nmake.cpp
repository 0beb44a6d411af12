// A make script as our NMAKE reads it, and every command and dependent of
// every block and rule expanded as a build would expand them.
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
        for (const std::string &d : b.dependents)
            Expand(mk, d, Env, &special);
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
