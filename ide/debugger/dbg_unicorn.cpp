#include "dbg_unicorn.h"

#include <cstring>

#include "dbg_engine.h"

namespace txdbg {

using tx::runner::Machine;
using tx::runner::Reg;
using tx::runner::StopKind;

namespace {
constexpr Reg kRegs[] = {Reg::Eax, Reg::Ecx, Reg::Edx, Reg::Ebx, Reg::Esp,
                         Reg::Ebp, Reg::Esi, Reg::Edi, Reg::Eip, Reg::Eflags};
constexpr size_t kRegCount = sizeof kRegs / sizeof kRegs[0];
constexpr uint64_t kInstructionsPerMs = 10000; // about the emulator's speed
} // namespace

UnicornTarget::UnicornTarget(std::function<void(const char*, size_t)> output) : output_(std::move(output)) {}

UnicornTarget::~UnicornTarget() { machine_.reset(); }

bool UnicornTarget::Create(const std::string& program, const std::string&) {
    tx::runner::PeImage image;
    std::string error;
    auto m = std::make_unique<Machine>();
    if (!tx::runner::ReadPeFile(program, image, error) || !m->Load(image, error)) return false;
    if (output_) m->SetOutput(output_);
    // A new run: the old machine goes before the block it mapped.
    machine_.reset();
    block_.clear();
    machine_ = std::move(m);
    Event ev;
    ev.kind = EventKind::CreateProcess;
    ev.imageBase = image.imageBase;
    queued_ = ev;
    running_ = exited_ = terminating_ = false;
    return true;
}

Event UnicornTarget::Wait(uint32_t milliseconds) {
    Event ev;
    if (queued_) {
        ev = *queued_;
        queued_.reset();
        return ev;
    }
    if (!machine_ || exited_ || !running_) return ev; // suspended: nothing happens
    running_ = false;
    if (terminating_) {
        exited_ = true;
        ev.kind = EventKind::ExitProcess;
        ev.exitCode = terminateCode_;
        return ev;
    }
    // Slices counted in instructions: a run the emulator's timer cuts off
    // can leave EIP behind instructions already done, and resuming there
    // runs them twice.
    tx::runner::Limits limits;
    limits.instructions = uint64_t(milliseconds ? milliseconds : 1) * kInstructionsPerMs;
    limits.microseconds = 0;
    tx::runner::Stop s = machine_->Run(limits);
    ev.kind = EventKind::Exception;
    ev.address = s.address;
    switch (s.kind) {
    case StopKind::Exited:
        exited_ = true;
        ev.kind = EventKind::ExitProcess;
        ev.exitCode = uint32_t(s.exitCode);
        break;
    case StopKind::Breakpoint: ev.code = kExcBreakpoint; break;
    case StopKind::Step: ev.code = kExcSingleStep; break;
    case StopKind::RuntimeError:
        if (block_.empty()) {
            // No debugger block to report in: the program goes on to its end.
            running_ = true;
            return Wait(milliseconds);
        }
        {
            // The run-time error report in the shared block; the runtime
            // ends the program when it is continued.
            uint32_t one = 1, line = s.line, err = uint32_t(s.basicError);
            std::memset(block_.data(), 0, kSharedBlockCleared);
            std::memcpy(block_.data(), &one, 4);
            std::memcpy(block_.data() + 8, &line, 4);
            std::memcpy(block_.data() + 12, &err, 4);
            std::string mod = machine_->CurrentModule().substr(0, 255);
            std::memcpy(block_.data() + 16, mod.c_str(), mod.size() + 1);
        }
        ev.code = kExcBreakpoint;
        break;
    case StopKind::UnbalancedStack: ev.code = kExcStackOverflow; break;
    case StopKind::Fault:
        ev.code = s.detail.rfind("invalid", 0) == 0 || s.detail.rfind("hlt", 0) == 0 ? kExcIllegalInstruction
                  : s.detail.rfind("divide error", 0) == 0                            ? kExcIntDivideByZero
                                                                                      : kExcAccessViolation;
        break;
    case StopKind::InstructionLimit:
    case StopKind::TimeLimit:
        running_ = true;
        ev = Event{};
        break;
    }
    return ev;
}

bool UnicornTarget::Continue(ContinueStatus status) {
    if (!machine_ || exited_) return false;
    if (status == ContinueStatus::Terminate && !terminating_) {
        terminating_ = true;
        terminateCode_ = 1;
    }
    running_ = true;
    return true;
}

bool UnicornTarget::Read(uint64_t address, void* out, size_t size) {
    return machine_ && !exited_ && address <= 0xFFFFFFFFu && machine_->Read(uint32_t(address), out, size);
}

bool UnicornTarget::Write(uint64_t address, const void* data, size_t size) {
    return machine_ && !exited_ && address <= 0xFFFFFFFFu && machine_->Write(uint32_t(address), data, size);
}

bool UnicornTarget::GetContext(Context& ctx) {
    if (!machine_ || exited_) return false;
    ctx.raw.assign(kRegCount * 4, 0);
    for (size_t i = 0; i < kRegCount; ++i) {
        uint32_t v = machine_->Get(kRegs[i]);
        std::memcpy(ctx.raw.data() + i * 4, &v, 4);
    }
    ctx.pc = machine_->Get(Reg::Eip);
    ctx.result = machine_->Get(Reg::Eax);
    ctx.flags = machine_->Get(Reg::Eflags);
    return true;
}

bool UnicornTarget::SetContext(const Context& ctx) {
    if (!machine_ || exited_) return false;
    if (ctx.raw.size() == kRegCount * 4) {
        for (size_t i = 0; i < kRegCount; ++i) {
            uint32_t v = 0;
            std::memcpy(&v, ctx.raw.data() + i * 4, 4);
            machine_->Set(kRegs[i], v);
        }
    }
    machine_->Set(Reg::Eip, uint32_t(ctx.pc));
    machine_->Set(Reg::Eax, uint32_t(ctx.result));
    machine_->Set(Reg::Eflags, ctx.flags);
    return true;
}

bool UnicornTarget::Terminate(uint32_t exitCode) {
    if (!machine_ || exited_) return false;
    if (!terminating_) {
        terminating_ = true;
        terminateCode_ = exitCode;
    }
    return true;
}

uint8_t* UnicornTarget::CreateSharedBlock(const std::string& name, size_t size) {
    if (!machine_) return nullptr;
    if (block_.empty()) {
        block_.assign((size + 4095) & ~size_t(4095), 0);
        machine_->OfferSharedBlock(name, block_.data(), block_.size());
    }
    return block_.data();
}

} // namespace txdbg
