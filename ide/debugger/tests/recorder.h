// A user interface that records every call the engine makes to it.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "dbg_engine.h"

namespace txdbg::test {

struct Recorder : DebugUi {
    std::vector<std::string> events;
    void ShowStopLine(const std::string& m, uint32_t l) override { events.push_back("stop " + m + " " + std::to_string(l)); }
    void Message(int id, const std::string& arg) override { events.push_back("msg " + std::to_string(id) + " " + arg); }
    void MessageText(const std::string& t) override { events.push_back("text " + t); }
    void BareMessage(const std::string& t) override { events.push_back("bare " + t); }
    void AppError(const std::string& t) override { events.push_back("apperror " + t); }
    void RuntimeError(const std::string& m, uint32_t l, uint32_t e) override {
        events.push_back("rterror " + m + " " + std::to_string(l) + " " + std::to_string(e));
    }
    void Output(const std::string& t) override { events.push_back("output " + t); }
    void RunEnded(uint32_t c) override { events.push_back("end " + std::to_string(c)); }
    // Kept apart from events: only the watch tests look at them.
    std::vector<std::string> restored;
    int refreshes = 0;
    int fpuResets = 0;
    void ResetFpu() override { ++fpuResets; }
    void WatchRestored(const txwatch::WatchVar& w) override { restored.push_back(std::to_string(w.number) + " " + w.text); }
    void WatchesRefreshed() override { ++refreshes; }
    size_t Count(const std::string& e) const { return size_t(std::count(events.begin(), events.end(), e)); }
};

} // namespace txdbg::test
