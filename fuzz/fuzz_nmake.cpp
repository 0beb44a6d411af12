// A make script as our NMAKE reads it, every command of every block and
// rule expanded as a build would expand them, and the build run on a host
// where no file exists and every command succeeds. Dependents are not expanded
// again: the reader expanded them, and a build takes them as they are (a
// second expansion of thousands of dependents made a few KB of script work
// for minutes).
#include "make_engine.h"

namespace {

std::string Env(const std::string &name) { return name == "INCLUDE" ? "C:\\INC" : std::string(); }

// No file exists and every command succeeds: the whole tree is made.
class NullHost : public nmk::MakeHost {
public:
    std::optional<std::int64_t> FileTime(const std::string &) override { return std::nullopt; }
    std::string WriteTempFile(const std::string &) override { return "T"; }
    void RemoveFile(const std::string &) override {}
    std::optional<std::uint32_t> Run(const std::string &) override { return 0u; }
    void Out(const std::string &) override {}
    void Err(const std::string &) override {}
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    using namespace nmk;
    Makefile mk;
    ReadError error{};
    if (!ReadMakefile(std::string(reinterpret_cast<const char *>(data), size), Env, mk, error))
        return 0;
    try {
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
    } catch (const RecursiveMacro &) {
    }
    // The run itself: cycles, deep chains and bad macros end as fatal errors.
    NullHost host;
    RunMake(mk, {}, host, Env);
    return 0;
}
