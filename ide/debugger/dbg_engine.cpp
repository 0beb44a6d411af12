#include "dbg_engine.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <utility>

#include "dbg_texts.h"
#include "dbcs.h"

namespace txdbg {


namespace {

constexpr uint32_t kPumpWaitMs = 100;
// System error codes the symbol-loading messages carry.
constexpr uint32_t kErrorFileNotFound = 2;
constexpr uint32_t kErrorInvalidData = 13;
constexpr char kEntryPrefix[] = "$ENTRY$";
constexpr size_t kEntryPrefixLen = sizeof kEntryPrefix - 1;

// Names compared as the system does: ASCII letters without case, the
// second byte of a Shift-JIS character as it is.
bool SameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
        if (tx::IsSjisLeadByte(x)) {
            if (x != y || i + 1 >= a.size() || a[i + 1] != b[i + 1]) return false;
            ++i;
            continue;
        }
        if (x >= 'a' && x <= 'z') x = uint8_t(x - 32);
        if (y >= 'a' && y <= 'z') y = uint8_t(y - 32);
        if (x != y) return false;
    }
    return true;
}

bool IsEntry(const std::string& name) { return name.compare(0, kEntryPrefixLen, kEntryPrefix) == 0; }

bool IsFault(uint32_t code) {
    switch (code) {
    case 0xC0000005: case 0xC0000006: case 0xC000001D: case 0xC0000025: case 0xC0000026: case 0xC00000FD:
        return true;
    default:
        return code >= 0xC000008C && code <= 0xC0000096;
    }
}

template <typename... A> std::string Format(const char* fmt, A... args) {
    char buf[1024];
    std::snprintf(buf, sizeof buf, fmt, args...);
    return buf;
}

} // namespace

DebugEngine::DebugEngine(DebugTarget& target, DebugUi& ui, KeptState& kept)
    : target_(target), ui_(ui), kept_(kept) {}

// ---- look-ups --------------------------------------------------------------

const DbgModule* DebugEngine::FindModule(const std::string& name) const {
    for (const DbgModule& m : modules_)
        if (SameName(m.name, name)) return &m;
    return nullptr;
}

const DbgModule* DebugEngine::FindModule(uint32_t number) const {
    for (const DbgModule& m : modules_)
        if (m.number == number) return &m;
    return nullptr;
}

const DbgModule* DebugEngine::ModuleAt(uint64_t a) const {
    for (const DbgModule& m : modules_)
        if (m.start <= a && a < m.start + m.size) return &m;
    return nullptr;
}

const DbgSymbol* DebugEngine::FindSymbol(const std::string& name) const {
    for (const DbgSymbol& s : symbols_)
        if (s.name == name || s.name2 == name) return &s;
    return nullptr;
}

const DbgSymbol* DebugEngine::FindSymbol(uint32_t number) const {
    for (const DbgSymbol& s : symbols_)
        if (s.number == number) return &s;
    return nullptr;
}

// A module's entry symbol shares its address with the first function; the
// function is the better name for the code.
const DbgSymbol* DebugEngine::SymbolAt(uint64_t a) const {
    const DbgSymbol* entry = nullptr;
    for (const DbgSymbol& s : symbols_) {
        if (s.address <= a && a < s.address + s.size) {
            if (!IsEntry(s.name)) return &s;
            if (!entry) entry = &s;
        }
    }
    return entry;
}

DbgLine* DebugEngine::LineAt(uint64_t a) {
    for (DbgLine& l : lines_)
        if (l.address == a) return &l;
    return nullptr;
}

DbgLine* DebugEngine::FindLineInfo(const std::string& module, uint32_t line) {
    return const_cast<DbgLine*>(std::as_const(*this).FindLineInfo(module, line));
}

const DbgLine* DebugEngine::FindLineInfo(const std::string& module, uint32_t line) const {
    if (module.empty()) return nullptr;
    const DbgModule* m = FindModule(module);
    if (!m) return nullptr;
    for (const DbgLine& l : lines_)
        if (l.line == line && l.module == m->number) return &l;
    return nullptr;
}

bool DebugEngine::IsRunning() const {
    return state_ == kStateTrace || state_ == kStatePassTrace || state_ == kStateGo || userPlanted_ ||
           lineTrapsPlanted_;
}

// ---- starting and the event pump -------------------------------------------

bool DebugEngine::Start(const std::string& program, const std::string& args, bool showOutput) {
    if (state_ != kStateIdle || (!runOver_ && !modules_.empty())) return false;
    FreeRecords();
    program_ = program;
    state_ = kStateReset;
    startPhase_ = true;
    ending_ = stepOff_ = exited_ = runOver_ = saved_ = pending_ = false;
    watches_.clear();
    nextWatch_ = 0;
    deferred_.reset();
    exitCode_ = 0;
    std::vector<uint8_t> bytes;
    if (!ReadFileBytes(program, bytes) || !CheckImage(bytes)) {
        ui_.Message(kMsgNoDebugInfo, program);
        state_ = kStateIdle;
        runOver_ = true;
        return false;
    }
    if (DebugTarget::ServicesVersion v; target_.SymbolServicesVersion(v) && !SymbolServicesNewEnough(v)) {
        ui_.Message(kMsgOldImagehlp, "");
        state_ = kStateIdle;
        runOver_ = true;
        return false;
    }
    showOutput_ = showOutput;
    if (!target_.Create(program, args)) {
        state_ = kStateIdle;
        runOver_ = true;
        return false;
    }
    state_ = kStateStarting;
    startedAt_ = std::chrono::steady_clock::now();
    PumpDebugEvents(1);
    return true;
}

Event DebugEngine::NextEvent(uint32_t milliseconds) {
    if (deferred_) {
        Event ev = *deferred_;
        deferred_.reset();
        pending_ = true;
        return ev;
    }
    Event ev = target_.Wait(milliseconds);
    if (ev.kind != EventKind::Timeout) pending_ = true;
    return ev;
}

bool DebugEngine::ContinuePending(ContinueStatus status) {
    if (!pending_) return true;
    pending_ = false;
    return target_.Continue(status);
}

void DebugEngine::PumpDebugEvents(int) {
    if (ending_ || runOver_) return;
    for (;;) {
        Event ev = NextEvent(kPumpWaitMs);
        if (ev.kind == EventKind::Timeout) {
            if (!startPhase_) return;
            // A debuggee that never reaches its first line must not hold
            // the IDE for ever; one still loading (its events keep coming)
            // is left to start.
            if (std::chrono::steady_clock::now() - startedAt_ > waitBound_) {
                ui_.Message(kMsgNotResponding, "");
                TerminateAndWait(1);
                EndRun();
                return;
            }
            continue;
        }
        if (startPhase_) startedAt_ = std::chrono::steady_clock::now();
        Status status = Status::Continue;
        bool stopRun = false;
        switch (ev.kind) {
        case EventKind::Exception: status = OnException(ev, stopRun); break;
        case EventKind::CreateProcess:
            if (!LoadSymbols(ev)) {
                target_.Terminate(1);
                // The exit event comes only after the pending event goes on.
                ContinuePending(ContinueStatus::Continue);
                WaitForExit();
                EndRun();
                return;
            }
            break;
        case EventKind::ExitProcess: OnExit(ev.exitCode); break;
        case EventKind::OutputString: OnOutputDebugString(ev); break;
        default: break;
        }
        if (stopRun) {
            ending_ = false;
            // Stop refuses a run still starting; a fault before the first
            // stop must end it all the same, not leave the debuggee frozen.
            if (state_ == kStateStarting) {
                TerminateAndWait(0);
                EndRun();
            } else {
                Stop(0);
            }
            return;
        }
        if (status == Status::Stay) return;
        if (status == Status::Continue) ContinuePending(ContinueStatus::Continue);
        else if (status == Status::Terminate) ContinuePending(ContinueStatus::Terminate);
        if (ending_) {
            EndRun();
            return;
        }
    }
}

DebugEngine::Status DebugEngine::OnException(const Event& ev, bool& stopRun) {
    if (ev.code == kExcBreakpoint) return OnBreakpointException(ev.address);
    if (ev.code == kExcControlC) {
        stopRun = true;
        return Status::Continue;
    }
    if (IsFault(ev.code)) {
        ending_ = true;
        ReportAppError(ev.address);
        stopRun = true;
        return Status::Terminate;
    }
    return Status::Continue;
}

void DebugEngine::OnOutputDebugString(const Event& ev) {
    if (!showOutput_ || !ev.stringLength) return;
    std::string text(ev.stringLength, '\0');
    if (!target_.Read(ev.stringAddress, text.data(), text.size())) return;
    text.resize(std::strlen(text.c_str()));
    if (text.find('\n') == std::string::npos) text += "\r\n";
    ui_.Output(text);
}

void DebugEngine::OnExit(uint32_t code) {
    UnloadSymbols();
    ending_ = true;
    exited_ = true;
    exitCode_ = code;
    pending_ = false;
}

// ---- symbols and lines -------------------------------------------------------

bool DebugEngine::LoadSymbols(const Event& created) {
    WaitCursor wait(ui_);
    lineTrapsPlanted_ = false;
    std::vector<uint8_t> bytes;
    ImageInfo image;
    std::string error;
    if (!ReadFileBytes(program_, bytes)) {
        ui_.MessageText(Format(text::kInitSymInitialize, kErrorFileNotFound));
        return false;
    }
    if (!ReadImage(bytes, image, error)) {
        ui_.MessageText(Format(text::kInitSymInitialize, kErrorInvalidData));
        return false;
    }
    if (image.symbolTableCut) {
        ui_.MessageText(Format(text::kInitSymEnumerate, kErrorInvalidData));
        UnloadSymbols();
        return false;
    }
    imageBase_ = created.imageBase ? created.imageBase : image.imageBase;
    const uint64_t delta = imageBase_ - image.imageBase;
    uint32_t number = 0;
    for (const ImageSymbol& s : image.symbols) {
        DbgSymbol sym;
        sym.name = sym.name2 = s.name;
        sym.address = s.address + delta;
        sym.size = s.size;
        sym.number = ++number;
        symbols_.push_back(std::move(sym));
    }
    number = 0;
    for (const DbgSymbol& s : symbols_)
        if (IsEntry(s.name)) modules_.push_back({s.name.substr(kEntryPrefixLen), s.address, 0, ++number});
    for (const DbgSymbol& s : symbols_)
        if (IsEntry(s.name))
            for (DbgModule& m : modules_)
                if (m.start == s.address) m.name = s.name.substr(kEntryPrefixLen);
    // A module's code runs up to the next module's entry; the last one's
    // end comes from its lines.
    for (DbgModule& m : modules_) {
        uint64_t next = 0;
        for (const DbgModule& o : modules_)
            if (o.start > m.start && (!next || o.start < next)) next = o.start;
        m.size = next ? uint32_t(next - m.start) : 0;
    }
    // The image's own line numbers; the modules' object files only when
    // it has none (an image of another linker carries no COFF debug
    // information).
    if (!image.lines.empty()) ReadImageLineNumbers(image);
    else ReadObjLineNumbers(image);
    for (DbgModule& m : modules_) {
        if (m.size) continue;
        uint64_t end = m.start;
        for (const DbgLine& l : lines_)
            if (l.address >= m.start)
                if (const DbgSymbol* s = FindSymbol(l.symbol)) end = std::max(end, s->address + s->size);
        m.size = uint32_t(end - m.start);
    }
    for (const DbgModule& m : modules_) {
        for (DbgSymbol& s : symbols_) {
            if (!((m.start <= s.address && s.address < m.start + m.size) || s.size == m.size)) continue;
            s.module = m.number;
            for (DbgLine& l : lines_) {
                if (l.address >= s.address && l.address < s.address + s.size) {
                    l.module = m.number;
                    l.symbol = s.number;
                }
            }
        }
    }
    // The function of a line is the one SymbolAt names, not a module entry
    // that covers the same bytes.
    for (DbgLine& l : lines_)
        if (const DbgSymbol* s = SymbolAt(l.address)) l.symbol = s->number;
    debugInfo_ = std::move(image);
    if (!SetFirstStop()) {
        ui_.Message(kMsgNoDebugInfo, program_);
        return false;
    }
    state_ = kStateStarting;
    return true;
}

// Each function's first record gives its base line; its further records
// are lines relative to it (our LINK gives a function's own record line 0,
// so the lines are the sources' own).
void DebugEngine::ReadImageLineNumbers(const ImageInfo& image) {
    const uint64_t delta = imageBase_ - image.imageBase;
    const DbgSymbol* current = nullptr;
    uint32_t base = 0;
    for (const ImageLine& il : image.lines) {
        const DbgSymbol* s = SymbolAt(il.address + delta);
        if (!s) continue;
        if (s != current) {
            current = s;
            base = il.line;
            continue;
        }
        // A second record at the base line makes no line.
        if (il.line <= base || !image.IsCode(il.address)) continue;
        DbgLine l;
        l.address = il.address + delta;
        l.line = il.line - base;
        l.symbol = s->number;
        lines_.push_back(std::move(l));
    }
}

bool DebugEngine::UnloadSymbols() {
    debugInfo_.reset();
    return true;
}

void DebugEngine::ReadObjLineNumbers(const ImageInfo& image) {
    const uint64_t delta = imageBase_ - image.imageBase;
    for (DbgModule& m : modules_) {
        if (m.name.empty()) continue;
        std::string stem = m.name.substr(0, m.name.rfind('.'));
        std::string path = objFolder_.empty() ? stem + ".obj" : objFolder_ + "/" + stem + ".obj";
        std::vector<uint8_t> bytes;
        if (!ReadFileBytes(path, bytes)) {
            ui_.Message(kMsgObjectNotOpened, path);
            continue;
        }
        const DbgSymbol* entry = FindSymbol(kEntryPrefix + m.name);
        if (!entry) continue;
        std::vector<ObjLine> found;
        std::vector<ObjSymbol> functions;
        uint32_t codeSize = 0;
        std::string error;
        bool usable = ReadObjLines(bytes, found, codeSize, functions, error);
        // The module ends with its last function's code in the image.
        uint64_t end = entry->address + codeSize;
        for (const ObjSymbol& f : functions) {
            const DbgSymbol* s = FindSymbol(f.name);
            if (!s || s->address != entry->address + f.offset) {
                usable = false;
                break;
            }
        }
        if (!usable) {
            // A foreign, damaged or stale file gives no line: no trap may
            // land at an address it made up.
            ui_.Message(kMsgObjectNotOpened, path);
            continue;
        }
        if (!functions.empty()) {
            uint32_t last = 0;
            for (const ObjSymbol& f : functions) last = std::max(last, f.offset);
            for (const ObjSymbol& f : functions)
                if (f.offset == last) {
                    const DbgSymbol* s = FindSymbol(f.name);
                    end = std::min(end, s->address + s->size);
                }
        }
        if (!m.size || end - m.start < m.size) m.size = uint32_t(end - m.start);
        for (const ObjLine& ol : found) {
            uint64_t a = entry->address + ol.offset;
            if (ol.offset >= m.size || !image.IsCode(a - delta)) continue;
            const DbgSymbol* s = SymbolAt(a);
            if (!s) continue;
            DbgLine l;
            l.address = a;
            l.line = ol.line;
            l.module = m.number;
            l.symbol = s->number;
            lines_.push_back(std::move(l));
        }
    }
}

bool DebugEngine::SetFirstStop() {
    firstStop_ = 0;
    const DbgSymbol* main = FindSymbol("$BAS_MAIN");
    DbgLine* first = nullptr;
    for (uint32_t n : {main ? main->number : 0u, main ? main->number + 1 : 0u}) {
        for (DbgLine& l : lines_) {
            if (n && l.symbol == n) {
                first = &l;
                break;
            }
        }
        if (first) break;
    }
    if (const DbgSymbol* s = FindSymbol("$BAS_DBGINIT")) dbgInit_ = s->address;
    if (const DbgSymbol* s = FindSymbol("$BAS_DBGREDRAW")) dbgRedraw_ = s->address;
    if (const DbgSymbol* s = FindSymbol("$BAS_DBGEND")) dbgEnd_ = s->address;
    if (const DbgSymbol* s = FindSymbol("$BAS_DBGVALUECALC")) dbgValueCalc_ = s->address;
    if (!first) return false;
    uint8_t b = 0;
    if (!target_.Read(first->address, &b, 1)) return false;
    if (b != 0xCC) first->saved = b;
    static const uint8_t kInt3 = 0xCC;
    if (!target_.Write(first->address, &kInt3, 1)) return false;
    first->planted = true;
    firstStop_ = first->address;
    return true;
}

// ---- stopping ----------------------------------------------------------------

bool DebugEngine::Stop(int graceful) {
    if (state_ == kStateStopping || state_ == kStateReset || state_ == kStateStarting) return false;
    if (runOver_) return true; // nothing left to end; the kept breakpoints stay
    bool running = IsRunning();
    state_ = kStateStopping;
    if (graceful == 1 && !running && dbgEnd_ && pending_) {
        Context ctx;
        if (target_.GetContext(ctx)) {
            ctx.pc = dbgEnd_;
            ctx.result = 1;
            target_.SetContext(ctx);
        }
        ContinuePending(ContinueStatus::Continue);
        WaitForExit();
        if (!exited_) TerminateAndWait(0);
    } else {
        // Without $BAS_DBGEND a graceful stop ends the program as well,
        // instead of leaving it suspended.
        TerminateAndWait(0);
    }
    EndRun();
    return true;
}

void DebugEngine::TerminateAndWait(uint32_t code) {
    if (exited_) return;
    target_.Terminate(code);
    ContinuePending(ContinueStatus::Continue);
    WaitForExit();
}

void DebugEngine::WaitForExit() {
    auto start = std::chrono::steady_clock::now();
    while (!exited_ && std::chrono::steady_clock::now() - start <= waitBound_) {
        Event ev = NextEvent(kPumpWaitMs);
        if (ev.kind == EventKind::Timeout) continue;
        if (ev.kind == EventKind::ExitProcess) {
            OnExit(ev.exitCode);
            break;
        }
        if (ev.kind == EventKind::OutputString) OnOutputDebugString(ev);
        ContinuePending(ContinueStatus::Continue);
    }
}

// Waits for the int3 at the end of a routine run inside the debuggee.
bool DebugEngine::WaitForTrap() {
    auto start = std::chrono::steady_clock::now();
    while (std::chrono::steady_clock::now() - start <= waitBound_) {
        Event ev = NextEvent(kPumpWaitMs);
        switch (ev.kind) {
        case EventKind::Timeout: continue;
        case EventKind::Exception:
            if (ev.code == kExcBreakpoint || ev.code == kExcAccessViolation) return true;
            break;
        case EventKind::ExitProcess: OnExit(ev.exitCode); return false;
        case EventKind::OutputString: OnOutputDebugString(ev); break;
        default: break;
        }
        ContinuePending(ContinueStatus::Continue);
    }
    ui_.Message(kMsgNotResponding, "");
    TerminateAndWait(1);
    return false;
}

void DebugEngine::EndRun() {
    if (!exited_) TerminateAndWait(1);
    SaveBreakpoints();
    FreeRecords();
    state_ = kStateIdle;
    ending_ = false;
    runOver_ = true;
    ui_.RunEnded(exitCode_);
}

void DebugEngine::FreeRecords() {
    UnloadSymbols();
    current_ = nullptr;
    modules_.clear();
    symbols_.clear();
    lines_.clear();
    block_ = nullptr;
    bpCount_ = 1;
    userPlanted_ = lineTrapsPlanted_ = false;
    firstStop_ = dbgInit_ = dbgRedraw_ = dbgEnd_ = dbgValueCalc_ = 0;
}

// ---- remote calls and the shared block ---------------------------------------

void DebugEngine::ClearSharedBlock() {
    if (block_) std::memset(block_, 0, kSharedBlockCleared);
}

bool DebugEngine::InitHandshake() {
    block_ = target_.CreateSharedBlock(kSharedBlockName, kSharedBlockSize);
    if (!block_) return false;
    Context kept, ctx;
    if (!target_.GetContext(kept)) return false;
    ctx = kept;
    ctx.pc = dbgInit_;
    target_.SetContext(ctx);
    ContinuePending(ContinueStatus::Continue);
    if (!WaitForTrap() || !target_.GetContext(ctx)) return false;
    if (!target_.Write(ctx.result, kSharedBlockName, sizeof kSharedBlockName)) return false;
    ContinuePending(ContinueStatus::Continue);
    if (!WaitForTrap() || !target_.GetContext(ctx)) return false;
    if (ctx.result != 0) {
        ui_.MessageText(Format(text::kInitDbgInit, int(uint32_t(ctx.result))));
        return false;
    }
    target_.SetContext(kept);
    ClearSharedBlock();
    ui_.ResetFpu();
    return true;
}

// Runs a routine of the debuggee from the stop and puts the stopped thread
// back where it was; eax, when given, is the routine's EAX.
bool DebugEngine::CallInDebuggee(uint64_t address, const uint64_t* eax) {
    Context kept, ctx;
    if (!target_.GetContext(kept)) return false;
    ctx = kept;
    if (eax) ctx.result = *eax;
    ctx.pc = address;
    target_.SetContext(ctx);
    ContinuePending(ContinueStatus::Continue);
    bool trapped = WaitForTrap();
    if (trapped) target_.SetContext(kept);
    return trapped;
}

bool DebugEngine::CallRedraw(int flag) {
    if (!dbgRedraw_ || state_ != kStateIdle || !pending_) return false;
    const uint64_t eax = flag == 1 ? 1 : 0;
    state_ = kStateRedraw;
    bool trapped = CallInDebuggee(dbgRedraw_, &eax);
    state_ = kStateIdle;
    return trapped;
}

bool DebugEngine::CallValueCalc() {
    if (!block_ || state_ != kStateIdle || !pending_ || runOver_) return false;
    if (!dbgValueCalc_) {
        ui_.BareMessage(text::kNoValueCalc);
        return false;
    }
    return CallInDebuggee(dbgValueCalc_, nullptr);
}

bool DebugEngine::IsRuntimeErrorPosted() const {
    if (!block_) return false;
    uint32_t cmd = 0, err = 0;
    std::memcpy(&cmd, block_, 4);
    std::memcpy(&err, block_ + txwatch::kReportError, 4);
    return cmd == 1 || (cmd == 0 && err != 0);
}

bool DebugEngine::ShowRuntimeError(uint64_t address) {
    uint32_t line = 0, err = 0;
    std::memcpy(&line, block_ + txwatch::kReportLine, 4);
    std::memcpy(&err, block_ + txwatch::kReportError, 4);
    const char* name = reinterpret_cast<const char*>(block_ + txwatch::kReportModule);
    std::string module(name, strnlen(name, txwatch::kReportModuleBytes));
    if (module.empty()) {
        const DbgModule* m = ModuleAt(address);
        module = m ? m->name : program_;
    }
    ui_.RuntimeError(module, line, err);
    ClearSharedBlock();
    DbgLine* l = FindLineInfo(module, line);
    if (!l) return false;
    current_ = l;
    ShowStopLine();
    return true;
}

void DebugEngine::ReportAppError(uint64_t address) {
    std::string t = Format(text::kAppError, program_.c_str());
    if (const DbgModule* m = ModuleAt(address)) t += Format(text::kAppErrorModule, m->name.c_str());
    if (const DbgSymbol* s = SymbolAt(address))
        t += Format(text::kAppErrorFunction, (s->name2.empty() ? s->name : s->name2).c_str());
    if (const DbgLine* l = LineAt(address)) t += Format(text::kAppErrorLine, int(l->line));
    t += Format(text::kAppErrorAddress, unsigned(address));
    ui_.AppError(t);
}

void DebugEngine::ShowStopLine() {
    if (!current_) return;
    const DbgModule* m = FindModule(current_->module);
    ui_.ShowStopLine(m ? m->name : std::string(), current_->line);
}

} // namespace txdbg
