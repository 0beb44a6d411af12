// The debug target over basrun's emulator: a linked program runs in a
// Machine; its stops become the debug events the engine knows.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "dbg_target.h"
#include "machine.h"

namespace txdbg {

class UnicornTarget : public DebugTarget {
public:
    // output receives the program's console output as it runs.
    explicit UnicornTarget(std::function<void(const char*, size_t)> output = {});
    ~UnicornTarget() override;

    bool Create(const std::string& program, const std::string& args) override;
    Event Wait(uint32_t milliseconds) override;
    bool Continue(ContinueStatus status) override;
    bool Read(uint64_t address, void* out, size_t size) override;
    bool Write(uint64_t address, const void* data, size_t size) override;
    bool GetContext(Context& ctx) override;
    bool SetContext(const Context& ctx) override;
    bool Terminate(uint32_t exitCode) override;
    uint8_t* CreateSharedBlock(const std::string& name, size_t size) override;

    bool HasExited() const { return exited_; }

private:
    std::function<void(const char*, size_t)> output_;
    std::vector<uint8_t> block_;               // outlives the machine that maps it
    std::unique_ptr<tx::runner::Machine> machine_;
    std::optional<Event> queued_;
    bool running_ = false, exited_ = false;
    bool terminating_ = false;
    uint32_t terminateCode_ = 0;
};

} // namespace txdbg
