#include "debug_script.h"

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <vector>

#include "dbg_engine.h"
#include "dbg_texts.h"
#include "dbg_unicorn.h"
#include "machine.h"
#include "txpp.h"
#include "watch_block.h"

namespace tx::runner {
namespace {

class ScriptUi : public txdbg::DebugUi {
public:
    explicit ScriptUi(std::FILE* out) : out_(out) {}
    void ShowStopLine(const std::string& module, uint32_t line) override {
        std::fprintf(out_, "stop %s %u\n", module.c_str(), line);
        std::fflush(out_);
    }
    void Message(int id, const std::string& arg) override {
        std::string text = txdbg::MessageText(id);
        size_t at = text.find("%s");
        if (at != std::string::npos) text.replace(at, 2, arg);
        Line(text);
    }
    void MessageText(const std::string& text) override { Line(text); }
    void AppError(const std::string& text) override { Line(text); }
    void RuntimeError(const std::string& module, uint32_t line, uint32_t error) override {
        std::fprintf(out_, "error %s %u %u (%s)\n", module.c_str(), line, error, BasicErrorText(int(error)));
        std::fflush(out_);
    }
    void Output(const std::string& text) override { Line(text); }
    void RunEnded(uint32_t code) override {
        std::fprintf(out_, "exit %u\n", code);
        std::fflush(out_);
    }

private:
    void Line(const std::string& text) {
        std::fprintf(out_, "%s\n", text.c_str());
        std::fflush(out_);
    }
    std::FILE* out_;
};

bool ParseNumber(const std::string& s, uint32_t& v) {
    char* end = nullptr;
    unsigned long n = std::strtoul(s.c_str(), &end, 10);
    if (s.empty() || *end || n > 0xFFFFFFFFul) return false;
    v = uint32_t(n);
    return true;
}

std::string WatchErrorText(uint32_t error, bool, bool, bool) { return BasicErrorText(int(error)); }

int Tokenize(char* text, uint8_t* tokens, int mode) {
    return PP_EdtChk(text, tokens, mode);
}

} // namespace

int RunDebugScript(const std::string& scriptPath, const std::string& image, const std::string& objFolder,
                   uint64_t timeoutMicroseconds, std::FILE* out) {
    std::ifstream script(scriptPath);
    if (!script) {
        std::fprintf(stderr, "basrun: cannot open the script %s\n", scriptPath.c_str());
        return 2;
    }
    std::vector<std::vector<std::string>> commands;
    std::string text;
    for (int n = 1; std::getline(script, text); ++n) {
        std::istringstream words(text);
        std::vector<std::string> w;
        for (std::string s; words >> s;) w.push_back(s);
        if (w.empty() || w[0][0] == '#') continue;
        uint32_t v = 0;
        const std::string& c = w[0];
        bool ok = (c == "go" || c == "trace" || c == "pass" || c == "stop" || c == "end") ? w.size() == 1
                  : c == "break"  ? (w.size() == 3 || w.size() == 4) && ParseNumber(w[2], v) &&
                                       (w.size() == 3 || (ParseNumber(w[3], v) && v >= 1 && v <= 65535))
                  : c == "disable" || c == "cursor" ? w.size() == 3 && ParseNumber(w[2], v)
                  : c == "watch"                    ? w.size() >= 2
                                                    : false;
        if (!ok) {
            std::fprintf(stderr, "basrun: %s:%d: bad command: %s\n", scriptPath.c_str(), n, text.c_str());
            return 2;
        }
        commands.push_back(std::move(w));
    }

    ScriptUi ui(out);
    txdbg::KeptState kept;
    txdbg::UnicornTarget target([out](const char* p, size_t n) {
        std::fwrite(p, 1, n, out);
        std::fflush(out);
    });
    txdbg::DebugEngine engine(target, ui, kept);
    engine.SetObjectFolder(objFolder);
    auto deadline = std::chrono::steady_clock::now() + std::chrono::microseconds(timeoutMicroseconds);
    // Lets the debuggee run until it stops at a line or ends.
    auto settle = [&] {
        while (!engine.Ended() && engine.IsRunning()) {
            if (timeoutMicroseconds && std::chrono::steady_clock::now() > deadline) {
                std::fprintf(out, "time limit reached\n");
                engine.Stop(0);
                return;
            }
            engine.PumpDebugEvents(0);
        }
    };
    // Watches, evaluated and printed as "EXPR = TEXT [TAG]" at each stop.
    std::vector<std::unique_ptr<txwatch::WatchVar>> watches;
    auto show = [&](txwatch::WatchVar& var) {
        if (!txwatch::EvaluateWatch(var, engine.SharedBlock(), [&] { return engine.CallValueCalc(); }))
            return;
        std::fprintf(out, "%s\n", txwatch::WatchConsoleLine(var, WatchErrorText).c_str());
        std::fflush(out);
    };
    auto stopped = [&] { return !engine.Ended() && !engine.IsRunning() && engine.SharedBlock(); };
    if (!engine.Start(image, "", false)) return 1;
    settle();
    for (const auto& w : commands) {
        if (engine.Ended()) break;
        const std::string& c = w[0];
        uint32_t line = 0, count = 1;
        if (w.size() >= 3) ParseNumber(w[2], line);
        if (c == "break") {
            if (w.size() == 4) ParseNumber(w[3], count);
            if (!engine.SetBreakpoint(true, line, count, count, 0, w[1]))
                ui.Message(txdbg::kMsgNoCodeAtLine, "");
        } else if (c == "disable") {
            const txdbg::DbgLine* l = engine.FindLineInfo(w[1], line);
            if (!l) ui.Message(txdbg::kMsgNoCodeAtLine, "");
            else engine.SetBreakpoint(false, line, l->pass, l->remaining, 0, w[1]);
        } else if (c == "go") {
            engine.Go();
        } else if (c == "trace") {
            engine.Trace();
        } else if (c == "pass") {
            engine.PassTrace();
        } else if (c == "cursor") {
            engine.RunToCursor(line, 0, w[1]);
        } else if (c == "watch") {
            std::string expression = w[1];
            for (size_t i = 2; i < w.size(); ++i) expression += " " + w[i];
            auto var = txwatch::CompileWatch(expression, false, uint32_t(watches.size() + 1),
                                             Tokenize, WatchErrorText);
            if (var) {
                if (stopped()) show(*var);
                watches.push_back(std::move(var));
            }
            continue;
        } else if (c == "stop") {
            engine.Stop(0);
        } else if (c == "end") {
            engine.Stop(1);
        }
        settle();
        const bool resumed = c == "go" || c == "trace" || c == "pass" || c == "cursor";
        if (resumed && stopped())
            for (auto& var : watches) show(*var);
    }
    if (!engine.Ended()) engine.Stop(1);
    std::fflush(out);
    return int(engine.ExitCode() & 0xFF);
}

} // namespace tx::runner
