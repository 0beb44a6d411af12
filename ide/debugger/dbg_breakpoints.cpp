// Breakpoints and stepping: int3 traps planted while the debuggee runs and
// taken away at every hit, pass counts, trace, pass trace, go, run to cursor.
#include "dbg_engine.h"
#include "dbg_texts.h"

namespace txdbg {
namespace {
constexpr uint8_t kInt3 = 0xCC;
constexpr uint16_t kBpKeptBits = 0x3FFF;
} // namespace

bool DebugEngine::SetInt3(DbgLine& l, bool keep) {
    if (!keep) l.breakpoint = true;
    if (l.planted) return true;
    uint8_t b = 0;
    if (!target_.Read(l.address, &b, 1)) return false;
    if (b != kInt3) l.saved = b;
    if (!target_.Write(l.address, &kInt3, 1)) return false;
    l.planted = true;
    return true;
}

bool DebugEngine::ClearInt3(DbgLine& l, bool keep) {
    if (!keep) {
        l.flags &= kBpKeptBits;
        l.breakpoint = false;
        l.bpLine = 0;
        l.pass = l.remaining = 1;
        l.frame = 0;
        l.modulePath.clear();
    }
    if (!l.planted) return true;
    if (!target_.Write(l.address, &l.saved, 1)) {
        l.breakpoint = false;
        return false;
    }
    l.planted = false;
    return true;
}

bool DebugEngine::PlantLineTraps(bool plant) {
    WaitCursor wait(ui_);
    for (DbgLine& l : lines_) {
        if (plant) {
            if (current_ && l.address == current_->address) continue;
            if (state_ == kStatePassTrace && !(current_ && l.symbol == current_->symbol) && !l.breakpoint &&
                !l.temporary)
                continue;
            if (!SetInt3(l, true)) return false;
        } else if (!ClearInt3(l, true)) {
            return false;
        }
    }
    lineTrapsPlanted_ = plant;
    return true;
}

void DebugEngine::PlantUserBreakpoints() {
    userPlanted_ = true;
    for (DbgLine& l : lines_) {
        if (!l.breakpoint && !l.temporary) continue;
        if (state_ == kStatePassTrace && current_ && l.address == current_->address) continue;
        SetInt3(l, true);
    }
}

void DebugEngine::RemoveAllTraps() {
    for (DbgLine& l : lines_) ClearInt3(l, true);
    userPlanted_ = lineTrapsPlanted_ = false;
}

// Runs the one instruction under EIP with the trap flag, so the line's own
// trap can go back at once: a loop that comes round to this line, or a
// pass count on it, still sees its trap.
bool DebugEngine::StepOverTrap() {
    Context ctx;
    if (!target_.GetContext(ctx)) return false;
    ctx.flags |= kTrapFlag;
    if (!target_.SetContext(ctx)) return false;
    ContinuePending(ContinueStatus::Continue);
    auto start = std::chrono::steady_clock::now();
    while (std::chrono::steady_clock::now() - start <= waitBound_) {
        Event ev = NextEvent(100);
        if (ev.kind == EventKind::Timeout) continue;
        if (ev.kind == EventKind::Exception && ev.code == kExcSingleStep) return true;
        if (ev.kind == EventKind::OutputString) {
            OnOutputDebugString(ev);
            ContinuePending(ContinueStatus::Continue);
            continue;
        }
        deferred_ = ev; // a fault or the end: the pump handles it
        pending_ = false;
        return false;
    }
    return false;
}

DebugEngine::Status DebugEngine::OnBreakpointException(uint64_t a) {
    DbgLine* l = LineAt(a);
    if (l) {
        current_ = l;
        bool stop = true, stepOffHit = false;
        if (stepOff_) {
            stepOff_ = false;
            stop = false;
            stepOffHit = true;
        } else if (!lineTrapsPlanted_ && l->breakpoint && !l->temporary && (l->Disabled() || l->remaining > 1)) {
            stop = false;
        }
        Context ctx;
        if (target_.GetContext(ctx)) {
            ctx.pc = a;
            target_.SetContext(ctx);
        }
        if (startPhase_) {
            startPhase_ = false;
            ClearInt3(*l, true);
        } else {
            PlantLineTraps(false);
        }
        userPlanted_ = false;
        if (stop) {
            // The run-to-cursor target goes with the stop.
            for (DbgLine& t : lines_)
                if (t.temporary) t.breakpoint = t.temporary = false;
            ShowStopLine();
            if (state_ == kStateStarting && a == firstStop_) {
                if (dbgInit_ && !InitHandshake()) return Status::Terminate;
                // The kept watches are evaluated: remote calls start from rest.
                state_ = kStateIdle;
                RestoreBreakpoints();
            } else {
                state_ = kStateIdle;
                userPlanted_ = lineTrapsPlanted_ = false;
                RefreshWatches();
            }
            return Status::Stay;
        }
        if (!stepOffHit && (l->Disabled() || (l->breakpoint && l->remaining > 1))) {
            bool counted = !l->Disabled();
            if (!StepOverTrap()) return Status::Deferred;
            if (counted) --l->remaining;
        }
        PlantUserBreakpoints();
    }
    if (IsRuntimeErrorPosted()) {
        // No trap may stay in the code once the run stops here.
        RemoveAllTraps();
        if (ShowRuntimeError(a)) {
            state_ = kStateIdle;
            return Status::Stay;
        }
        return Status::Continue;
    }
    // A pass through a breakpoint or any other trap: the watches follow
    // the run. The remote calls are made only from a resting state.
    if (!watches_.empty()) {
        uint32_t running = state_;
        state_ = kStateIdle;
        RefreshWatches();
        state_ = running;
    }
    return Status::Continue;
}

// ---- resuming ------------------------------------------------------------------

bool DebugEngine::Resume(uint32_t state) {
    state_ = state;
    if (state == kStateTrace || state == kStatePassTrace) PlantLineTraps(true);
    if (state != kStateTrace) PlantUserBreakpoints();
    ContinuePending(ContinueStatus::Continue);
    PumpDebugEvents(1);
    return true;
}

bool DebugEngine::Trace() {
    if (ending_ || runOver_ || state_ != kStateIdle) return false;
    CallRedraw(1);
    return Resume(kStateTrace);
}

bool DebugEngine::PassTrace() {
    if (ending_ || runOver_ || state_ != kStateIdle) return false;
    CallRedraw(1);
    return Resume(kStatePassTrace);
}

bool DebugEngine::Go() {
    if (ending_ || runOver_ || state_ != kStateIdle) return false;
    CallRedraw(1);
    if (current_ && current_->breakpoint) {
        // Leave the line first, or its own trap would stop here again.
        stepOff_ = true;
        return Resume(kStateTrace);
    }
    return Resume(kStateGo);
}

void DebugEngine::RunToCursor(uint32_t line, uint64_t frame, const std::string& module) {
    DbgLine* l = FindLineInfo(module, line);
    if (!l || runOver_ || state_ != kStateIdle) return;
    // A user breakpoint on the line becomes the temporary target: it is
    // gone after the next stop, and its room with it.
    if (l->breakpoint && !l->temporary) --bpCount_;
    l->breakpoint = true;
    l->temporary = true;
    l->pass = l->remaining = 1;
    l->flags = uint16_t((l->flags | kBpSet) & ~kBpDisabled);
    l->bpLine = line;
    l->frame = frame;
    l->modulePath = module;
    Go();
}

// ---- setting breakpoints ---------------------------------------------------------

int DebugEngine::SetBreakpoint(bool enabled, uint32_t line, uint32_t count, uint32_t remaining, uint64_t frame,
                               const std::string& module) {
    DbgLine* l = FindLineInfo(module, line);
    if (!l) return 0;
    // Setting a line's breakpoint again takes no new room.
    if (!l->UserBreakpoint() && bpCount_ >= kMaxBreakpointCount) {
        ui_.Message(kMsgTooManyBreakpoints, "");
        return 1;
    }
    SetLineBreakpoint(enabled, line, count, remaining, frame, module);
    return 1;
}

int DebugEngine::SetLineBreakpoint(bool enabled, uint32_t line, uint32_t count, uint32_t remaining,
                                   uint64_t frame, const std::string& module) {
    DbgLine* l = FindLineInfo(module, line);
    if (!l) return 0;
    l->flags = uint16_t(kBpSet | (enabled ? 0 : kBpDisabled) | (l->flags & kBpKeptBits));
    l->pass = count ? count : 1;
    l->remaining = remaining ? remaining : 1;
    bool had = l->UserBreakpoint();
    l->breakpoint = true;
    l->temporary = false;
    l->bpLine = line;
    l->frame = frame;
    l->modulePath = module;
    if (!had) ++bpCount_;
    if (IsRunning()) SetInt3(*l, false);
    return 1;
}

void DebugEngine::RemoveBreakpoint(uint32_t line, uint64_t, const std::string& module) {
    DbgLine* l = FindLineInfo(module, line);
    if (!l) return;
    bool had = l->UserBreakpoint();
    l->temporary = false;
    ClearInt3(*l, false);
    if (had) --bpCount_;
}

bool DebugEngine::IsCurrentLine(const std::string& module, uint32_t line) const {
    const DbgModule* m = FindModule(module);
    return current_ && m && m->number == current_->module && current_->line == line;
}

bool DebugEngine::GetBreakpointState(const std::string& module, uint32_t line, bool& disabled) const {
    const DbgLine* l = FindLineInfo(module, line);
    if (!l || !l->UserBreakpoint()) return false;
    disabled = l->Disabled();
    return true;
}

// ---- keeping breakpoints between runs ----------------------------------------------

void DebugEngine::SaveBreakpoints() {
    // After a fault the run was saved already; a later stop must not
    // replace that with the empty lists of the finished run.
    if (saved_) return;
    saved_ = true;
    kept_.breakpoints.clear();
    kept_.watches.clear();
    for (const auto& w : watches_) kept_.watches.push_back({w->text, w->hex});
    watches_.clear();
    for (const DbgLine& l : lines_) {
        if (!l.UserBreakpoint()) continue;
        const DbgModule* m = FindModule(l.module);
        const DbgSymbol* s = FindSymbol(l.symbol);
        if (!m || !s) continue;
        KeptBreakpoint k;
        k.module = m->name;
        k.function = s->name;
        k.function2 = s->name2;
        k.line = l.line;
        k.flags = uint16_t(kBpSet | (l.flags & kBpDisabled));
        k.pass = k.remaining = l.pass;
        kept_.breakpoints.push_back(std::move(k));
    }
}

void DebugEngine::RestoreBreakpoints() {
    for (const KeptWatch& k : kept_.watches) {
        if (txwatch::WatchVar* w = AddWatchExpression(k.text, k.hex)) ui_.WatchRestored(*w);
    }
    for (const KeptBreakpoint& k : kept_.breakpoints) {
        if (!FindModule(k.module) || !(FindSymbol(k.function) || FindSymbol(k.function2))) continue;
        // A line without code any more has no record: dropped quietly.
        SetLineBreakpoint(!(k.flags & kBpDisabled), k.line, k.pass, k.remaining, 0, k.module);
    }
    ui_.WatchesRestored();
}

} // namespace txdbg
