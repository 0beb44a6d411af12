// The debugging run's watches: made from the tokeniser's records, answered
// by the debuggee through the shared block, kept by the project between runs.
#include "dbg_engine.h"

#include <algorithm>

namespace txdbg {

std::unique_ptr<txwatch::WatchVar> DebugEngine::CompileExpression(const std::string& text, bool hex) {
    if (!tokenize_) return nullptr;
    auto var = txwatch::CompileWatch(text, hex, nextWatch_, tokenize_, errorText_);
    if (var) ++nextWatch_;
    return var;
}

bool DebugEngine::EvaluateExpression(txwatch::WatchVar& var) {
    if (!block_) return false;
    return txwatch::EvaluateWatch(var, block_, [this] { return CallValueCalc(); });
}

txwatch::WatchVar* DebugEngine::AddWatchExpression(const std::string& text, bool hex, bool* answered) {
    auto var = CompileExpression(text, hex);
    if (!var) return nullptr;
    watches_.push_back(std::move(var));
    txwatch::WatchVar* w = watches_.back().get();
    bool ok = EvaluateExpression(*w);
    if (answered) *answered = ok;
    return w;
}

std::unique_ptr<txwatch::WatchVar> DebugEngine::EvaluateText(const std::string& text, std::string& valueText) {
    auto var = CompileExpression(text, false);
    if (!var || !EvaluateExpression(*var)) return nullptr;
    valueText = ValueText(*var);
    return var;
}

bool DebugEngine::RefreshWatches() {
    if (watches_.empty()) return false;
    bool ok = true;
    for (auto& w : watches_) {
        if (!EvaluateExpression(*w)) {
            ok = false;
            break;
        }
    }
    ui_.WatchesRefreshed();
    return ok;
}

txwatch::WatchVar* DebugEngine::FindWatch(uint32_t number) {
    for (auto& w : watches_)
        if (w->number == number) return w.get();
    return nullptr;
}

bool DebugEngine::DeleteWatch(uint32_t number) {
    auto it = std::find_if(watches_.begin(), watches_.end(), [number](const auto& w) { return w->number == number; });
    if (it == watches_.end()) return false;
    watches_.erase(it);
    return true;
}

}  // namespace txdbg
