// A watch through the shared block: the IDE's side writes the request, the
// debuggee's side makes the P-code, evaluates it over the runtime stand-in
// and answers in the block, the IDE's side reads the answer back. With an
// odd first byte the rest is a damaged block answered as it stands.
#include <cctype>
#include <cstring>
#include <map>

#include "ev_harness.h"
#include "txpp.h"
#include "watch_block.h"
#include "wp_answer.h"

namespace {

using namespace txev_test;

// A few variables of each kind, as the watch tests' program has them.
class Names : public txwp::WatchNames {
public:
    std::map<std::string, uint32_t> scalars, arrays;
    std::map<std::pair<uint32_t, std::string>, uint32_t> members;
    uint32_t Variable(const char *name, uint32_t length, uint8_t, bool array) override {
        auto &table = array ? arrays : scalars;
        auto it = table.find(Upper(name, length));
        return it == table.end() ? 0 : it->second;
    }
    uint32_t Member(uint32_t type_record, const char *name, uint32_t length) override {
        auto it = members.find({type_record, Upper(name, length)});
        return it == members.end() ? 0 : it->second;
    }
    static std::string Upper(const char *p, uint32_t n) {
        std::string s(p, n);
        for (char &c : s)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        return s;
    }
};

struct Program {
    Arena arena;
    Names names;
    uint8_t *block, *scratch;
    Program() {
        names.scalars["I"] = arena.Desc(txev::kTInt, 1, arena.Value<int16_t>(1));
        names.scalars["D"] = arena.Desc(txev::kTDbl, 1, arena.Value<double>(2.5));
        names.scalars["S"] = arena.Desc(txev::kTStr, 1, arena.StrVar("abc"));
        int32_t a[11] = {};
        names.arrays["A"] =
            arena.Desc(txev::kTLng, 17, arena.Header(arena.Put(a, sizeof a), arena.Bounds({10})));
        uint32_t type_rec = arena.Put(std::vector<uint32_t>{0, 40}.data(), 8);
        names.scalars["R"] = arena.Desc(txev::kTRecord, 1, arena.Zeros(40), type_rec);
        names.members[{type_rec, "X"}] = arena.Desc(txev::kTInt, 0, 0);
        names.members[{type_rec, "V"}] = arena.Desc(txev::kTDbl, 0, 8, 0, arena.Bounds({3}));
        block = arena.At(arena.Zeros(txwatch::kBlockBytes));
        scratch = arena.At(arena.Zeros(2048));
    }
};

std::string ErrorText(uint32_t e, bool, bool, bool) { return "E" + std::to_string(e); }

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    static Program *program = new Program;
    Program &p = *program;
    if (size == 0)
        return 0;
    txev::DirectMemory memory;
    auto answer = [&] {
        txwp::AnswerWatchRequest(p.block, p.names, memory, StandInRuntime(), 0, p.scratch, 2048);
        return true;
    };
    if (data[0] & 1) {
        std::memset(p.block, 0, txwatch::kBlockBytes);
        std::memcpy(p.block, data + 1, std::min(size - 1, txwatch::kBlockBytes));
        answer();
        return 0;
    }
    std::string text(reinterpret_cast<const char *>(data) + 1, size - 1);
    auto var = txwatch::CompileWatch(text, data[0] & 2, 0, PP_EdtChk, ErrorText);
    if (!var)
        return 0;
    std::memset(p.block, 0, txwatch::kBlockBytes);
    if (txwatch::EvaluateWatch(*var, p.block, answer))
        txwatch::WatchConsoleLine(*var, ErrorText);
    return 0;
}
