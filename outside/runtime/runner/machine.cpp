#include "machine.h"
#include "machine_impl.h"
#include "modulehost.h"

#include <algorithm>
#include <chrono>
#include <csetjmp>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <map>
#include <vector>

#include <unicorn/unicorn.h>

#include "filehost.h"
#include "insn_walk.h"
#include "winapi.h"

namespace tx::runner {
namespace {

constexpr uint32_t kPage = 0x1000;
// The entry point's return address: returning there ends the program.
constexpr uint32_t kReturnMagic = 0x7FFF0000;
constexpr uint64_t kNowhere = 0xFFFFFFFFull;

uint32_t AlignUp(uint64_t v) { return uint32_t((v + kPage - 1) & ~uint64_t(kPage - 1)); }

int UcReg(Reg r) {
    switch (r) {
    case Reg::Eax: return UC_X86_REG_EAX;
    case Reg::Ecx: return UC_X86_REG_ECX;
    case Reg::Edx: return UC_X86_REG_EDX;
    case Reg::Ebx: return UC_X86_REG_EBX;
    case Reg::Esp: return UC_X86_REG_ESP;
    case Reg::Ebp: return UC_X86_REG_EBP;
    case Reg::Esi: return UC_X86_REG_ESI;
    case Reg::Edi: return UC_X86_REG_EDI;
    case Reg::Eip: return UC_X86_REG_EIP;
    case Reg::Eflags: return UC_X86_REG_EFLAGS;
    }
    return UC_X86_REG_INVALID;
}

std::string Hex(uint32_t v) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%08X", v);
    return buf;
}

const char* ExceptionName(uint32_t n) {
    switch (n) {
    case 0: return "divide error";
    case 4: return "overflow";
    case 5: return "bound range exceeded";
    case 6: return "invalid opcode";
    case 13: return "general protection";
    case 14: return "page fault";
    case 16: return "x87 floating-point error";
    default: return "CPU exception";
    }
}

// The emulator's translator aborts the process on a few encodings it does not
// refuse itself (FF /3 and /5 with a register operand). The abort is caught
// around each run; the engine is not used again after it.
thread_local sigjmp_buf* t_abortJump = nullptr;
struct sigaction g_previousAbort;

void OnAbort(int sig) {
    if (t_abortJump) siglongjmp(*t_abortJump, 1);
    sigaction(SIGABRT, &g_previousAbort, nullptr);
    raise(sig);
}

// false when the emulator aborted.
bool Emulate(uc_engine* uc, uint64_t begin, uint64_t timeout, size_t count, uc_err& err) {
    static const bool installed = [] {
        struct sigaction sa {};
        sa.sa_handler = OnAbort;
        sigemptyset(&sa.sa_mask);
        return sigaction(SIGABRT, &sa, &g_previousAbort) == 0;
    }();
    (void)installed;
    sigjmp_buf jump;
    sigjmp_buf* outer = t_abortJump;
    if (sigsetjmp(jump, 1)) {
        t_abortJump = outer;
        return false;
    }
    t_abortJump = &jump;
    err = uc_emu_start(uc, begin, kNowhere, timeout, count);
    t_abortJump = outer;
    return true;
}

} // namespace

// Maps an image's pages at its base, each run of pages with the same
// protection as a region of its own: protecting part of one large region
// makes the emulator copy the whole region, every time (a second per program
// with the runtime's 16 MB heap in the image).
bool MapImage(uc_engine* uc, const PeImage& image, uint32_t size, std::string& error) {
    std::vector<uint32_t> pagePerms(size / kPage, UC_PROT_READ);
    for (const PeSection& s : image.sections) {
        if (!s.virtualSize || s.rva % kPage) continue;
        uint32_t perms = UC_PROT_READ;
        if (s.characteristics & 0x80000000u) perms |= UC_PROT_WRITE;
        if (s.characteristics & (0x20000000u | 0x20u)) perms |= UC_PROT_EXEC;
        const uint64_t end = std::min<uint64_t>(uint64_t(s.rva) + AlignUp(s.virtualSize), size);
        std::fill(pagePerms.begin() + s.rva / kPage, pagePerms.begin() + end / kPage, perms);
    }
    for (size_t first = 0; first < pagePerms.size();) {
        size_t last = first + 1;
        while (last < pagePerms.size() && pagePerms[last] == pagePerms[first]) ++last;
        if (uc_mem_map(uc, image.imageBase + uint32_t(first * kPage), uint32_t((last - first) * kPage),
                       pagePerms[first]) != UC_ERR_OK) {
            error = "cannot map the image";
            return false;
        }
        first = last;
    }
    for (const PeSection& s : image.sections) {
        if (!s.virtualSize) continue;
        if (!s.data.empty() && uc_mem_write(uc, image.imageBase + s.rva, s.data.data(), s.data.size()) != UC_ERR_OK) {
            error = "cannot load section " + s.name;
            return false;
        }
    }
    return true;
}

const char* BasicErrorText(int code) {
    switch (code) {
    case 3: return "RETURN without GOSUB";
    case 4: return "out of DATA";
    case 5: return "illegal function call";
    case 6: return "overflow";
    case 7: return "out of memory";
    case 8: return "undefined label";
    case 9: return "subscript out of range";
    case 10: return "array already dimensioned";
    case 11: return "division by zero";
    case 13: return "type mismatch";
    case 14: return "out of string space";
    case 19: return "no RESUME";
    case 28: return "out of stack space";
    case 20: return "RESUME without error";
    case 50: return "FIELD overflow";
    case 52: return "bad file number";
    case 53: return "file not found";
    case 54: return "bad file mode";
    case 55: return "file already open";
    case 58: return "file already exists";
    case 59: return "bad record length";
    case 61: return "disk full";
    case 62: return "input past end of file";
    case 63: return "bad record number";
    case 64: return "bad file name";
    case 48: return "routine not found";
    case 67: return "too many files";
    case 70: return "permission denied";
    case 75: return "path/file access error";
    default: return "error";
    }
}

struct MachineHooks {
    static void Interrupt(uc_engine* uc, uint32_t intno, void* user) {
        auto* m = static_cast<Machine*>(user);
        Machine::Impl& d = *m->impl_;
        uint32_t eip = m->Get(Reg::Eip);
        d.stopped = true;
        d.stop = Stop{};
        d.stop.line = m->CurrentLine();
        if (intno == 3) {
            d.stop.kind = StopKind::Breakpoint;
            d.stop.address = eip - 1;
        } else if (intno == 1) {
            // The trap flag's single step; like the platform, the flag is
            // cleared as the step is reported.
            d.stop.kind = StopKind::Step;
            d.stop.address = eip;
            m->Set(Reg::Eflags, m->Get(Reg::Eflags) & ~0x100u);
        } else {
            d.stop.kind = StopKind::Fault;
            d.stop.address = eip;
            d.stop.detail = std::string(ExceptionName(intno)) + " (exception " + std::to_string(intno) + ")";
        }
        uc_emu_stop(uc);
    }

    static void Trace(uc_engine*, uint64_t address, uint32_t, void* user) {
        auto* m = static_cast<Machine*>(user);
        Machine::Impl& d = *m->impl_;
        auto it = d.traced.find(uint32_t(address));
        if (it == d.traced.end() || !m->trace_) return;
        uint32_t esp = m->Get(Reg::Esp), ret = 0;
        if (!m->Read(esp, &ret, 4) || ret >= d.runtimeStart || ret < m->image_.imageBase) return;
        std::vector<uint32_t> words(it->second.second);
        if (!words.empty()) m->Read(esp + 4, words.data(), 4 * words.size());
        m->trace_(it->second.first, words);
    }

    static void Fail(Machine& m, uint32_t at, const std::string& what, uint32_t data) {
        Machine::Impl& d = *m.impl_;
        d.stop = Stop{};
        d.stop.kind = StopKind::Fault;
        d.stop.address = at;
        d.stop.faultAddress = data;
        d.stop.detail = what;
        d.stop.line = m.CurrentLine();
        d.stopped = true;
        uc_emu_stop(d.uc);
    }

    static bool Memory(uc_engine*, uc_mem_type type, uint64_t address, int, int64_t, void* user) {
        auto* m = static_cast<Machine*>(user);
        Machine::Impl& d = *m->impl_;
        uint32_t eip = m->Get(Reg::Eip);
        uint32_t a = uint32_t(address);
        if (type == UC_MEM_FETCH_UNMAPPED && a == kReturnMagic) {
            d.stop = Stop{};
            d.stop.kind = StopKind::Exited;
            d.stop.exitCode = int(m->Get(Reg::Eax));
            d.stop.address = a;
            d.stopped = true;
            return false;
        }
        std::string what;
        switch (type) {
        case UC_MEM_READ_UNMAPPED: what = "read of unmapped memory"; break;
        case UC_MEM_WRITE_UNMAPPED: what = "write to unmapped memory"; break;
        case UC_MEM_FETCH_UNMAPPED: what = "jump to unmapped memory"; break;
        case UC_MEM_WRITE_PROT: what = "write to read-only memory"; break;
        case UC_MEM_READ_PROT: what = "read of protected memory"; break;
        case UC_MEM_FETCH_PROT: what = "execution of non-code memory"; break;
        default: what = "memory fault"; break;
        }
        std::string hint;
        uint32_t guardLow = Machine::kStackTop - Machine::kStackSize - 0x100000;
        if (a >= guardLow && a < Machine::kStackTop - Machine::kStackSize) hint = " (stack overflow)";
        if (type == UC_MEM_FETCH_UNMAPPED || type == UC_MEM_FETCH_PROT) {
            // A ret that took a pushed value for its return address.
            uint32_t popped = 0;
            if (m->Read(m->Get(Reg::Esp) - 4, &popped, 4) && popped == a) hint = " (a return to a pushed value: unbalanced stack?)";
            eip = a;
        }
        Fail(*m, eip, what + " at " + Hex(a) + hint, a);
        return false;
    }
};

Machine::Machine() : impl_(std::make_unique<Impl>()) {}

void Machine::SetFileFolder(const std::string& folder) {
    impl_->files = std::make_unique<FileHost>(folder);
    impl_->fileFolder = folder;
}

void Machine::SetModuleFolders(std::vector<std::string> folders) { impl_->moduleFolders = std::move(folders); }

Machine::~Machine() {
    // An aborted engine is left as it is: closing it could touch its
    // half-built state. It stays reachable, so a leak checker does not count
    // it: the list is never destroyed, as a static would be before the leak
    // check at exit.
    static auto& abandoned = *new std::vector<uc_engine*>;
    if (impl_->uc && impl_->aborted) abandoned.push_back(impl_->uc);
    else if (impl_->uc) uc_close(impl_->uc);
}

bool Machine::Load(const PeImage& image, std::string& error) {
    if (impl_->loaded) {
        error = "a machine loads one image only";
        return false;
    }
    image_ = image;
    if (image.imageBase % kPage || image.imageBase < 0x10000 ||
        uint64_t(image.imageBase) + AlignUp(image.sizeOfImage) > kStackTop - kStackSize - 0x100000) {
        error = "image base " + Hex(image.imageBase) + " does not fit the emulator's address space";
        return false;
    }
    if (uc_open(UC_ARCH_X86, UC_MODE_32, &impl_->uc) != UC_ERR_OK) {
        error = "cannot start the emulator";
        return false;
    }
    uc_engine* uc = impl_->uc;
    uint32_t size = AlignUp(image.sizeOfImage ? image.sizeOfImage : kPage);
    for (const PeSection& s : image.sections) {
        uint64_t end = uint64_t(s.rva) + AlignUp(s.virtualSize);
        if (end > size) size = AlignUp(end);
    }
    if (!MapImage(uc, image, size, error)) return false;
    impl_->modules.SetProgram(image.imageBase, size);
    if (uc_mem_map(uc, kStackTop - kStackSize, kStackSize, UC_PROT_READ | UC_PROT_WRITE) != UC_ERR_OK) {
        error = "cannot map the stack";
        return false;
    }
    if (!WinApi::Install(*this, error) || !WinApi::Bind(*this, image, error)) return false;
    uc_hook_add(uc, &impl_->intrHook, UC_HOOK_INTR, reinterpret_cast<void*>(&MachineHooks::Interrupt), this, 1, 0);
    uc_hook_add(uc, &impl_->memHook, UC_HOOK_MEM_INVALID, reinterpret_cast<void*>(&MachineHooks::Memory), this, 1, 0);
    uint32_t esp = kStackTop - 16;
    Write(esp, &kReturnMagic, 4);
    Set(Reg::Esp, esp);
    Set(Reg::Ebp, 0);
    Set(Reg::Eip, image.entry);
    impl_->loaded = true;
    return true;
}

void Machine::SetTrace(TraceSink sink) {
    trace_ = std::move(sink);
    if (!impl_->loaded || impl_->traceHook || !trace_) return;
    uint32_t lo = 0xFFFFFFFFu, hi = 0;
    for (const auto& [name, address] : image_.symbols) {
        bool decorated = name.rfind("_$P", 0) == 0 && name.find('@') != std::string::npos;
        if (!decorated && name.rfind("$P", 0) != 0) continue;
        uint32_t words = 0;
        if (decorated) words = uint32_t(std::strtoul(name.c_str() + name.rfind('@') + 1, nullptr, 10) / 4);
        // Of the names one routine has, the first in order (the shortest
        // of a family: _$PbSetCurLine@4 before _$PbSetCurLineDbg@4).
        impl_->traced.emplace(address, std::make_pair(name, words));
        lo = std::min(lo, address);
        hi = std::max(hi, address);
    }
    if (impl_->traced.empty()) return;
    impl_->runtimeStart = lo;
    uc_hook_add(impl_->uc, &impl_->traceHook, UC_HOOK_CODE, reinterpret_cast<void*>(&MachineHooks::Trace), this,
                lo, hi);
}

void Machine::OfferSharedBlock(const std::string& name, uint8_t* memory, size_t size) {
    impl_->sharedName = name;
    impl_->sharedMemory = memory;
    impl_->sharedSize = size;
}

// Output the runtime holds back when the program stops without ending.
void Machine::FlushProgramOutput() {
    auto buf = image_.Symbol("_rt_outbuf");
    auto len = image_.Symbol("_rt_outlen");
    uint32_t n = 0;
    if (!buf || !len || !Read(*len, &n, 4) || !n || n > 65536) return;
    std::vector<char> text(n);
    if (!Read(*buf, text.data(), n)) return;
    if (output_) output_(text.data(), n);
    uint32_t zero = 0;
    Write(*len, &zero, 4);
}

Stop Machine::Run(const Limits& limits) {
    Stop s = RunOnce(limits);
    if (s.kind != StopKind::Exited) FlushProgramOutput();
    return s;
}

Stop Machine::RunOnce(const Limits& limits) {
    Impl& d = *impl_;
    d.stopped = false;
    d.stop = Stop{};
    if (!d.loaded) {
        d.stop.kind = StopKind::Fault;
        d.stop.detail = "no image loaded";
        return d.stop;
    }
    if (d.aborted) return d.abortStop;
    WinApi::Resume(*this);
    auto start = std::chrono::steady_clock::now();
    uint32_t begin = Get(Reg::Eip);
    uc_err err = UC_ERR_OK;
    if (!Emulate(d.uc, begin, limits.microseconds, limits.instructions, err)) return Aborted();
    if (d.stopped) return d.stop;
    Stop s;
    s.address = Get(Reg::Eip);
    s.line = CurrentLine();
    if (err != UC_ERR_OK) {
        s.kind = StopKind::Fault;
        s.detail = err == UC_ERR_INSN_INVALID ? "invalid instruction" : uc_strerror(err);
        return s;
    }
    auto elapsed = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);
    bool timedOut = limits.microseconds && uint64_t(elapsed.count()) >= limits.microseconds * 9 / 10;
    // The time limit can stop the emulator on an import's stub, whose slot
    // is hlt: that is the time limit, not a hlt of the program's.
    uint8_t last = 0;
    if (!timedOut && s.address && Read(s.address - 1, &last, 1) && last == 0xF4) { // hlt ends emulation quietly
        s.kind = StopKind::Fault;
        s.address -= 1;
        s.detail = "hlt instruction";
        return s;
    }
    s.kind = timedOut || !limits.instructions ? StopKind::TimeLimit : StopKind::InstructionLimit;
    return s;
}

// The translator gave up on the block at EIP: walk it as the translator does
// to name the instruction.
Stop Machine::Aborted() {
    Impl& d = *impl_;
    d.aborted = true;
    Stop s;
    s.kind = StopKind::Fault;
    s.address = Get(Reg::Eip);
    s.line = CurrentLine();
    s.detail = "invalid instruction (the emulator could not translate the code here)";
    uint32_t at = s.address;
    for (int n = 0; n < 512; ++n) {
        uint8_t code[15] = {};
        size_t have = 0;
        while (have < sizeof code && Read(at + uint32_t(have), &code[have], 1)) ++have;
        InsnInfo insn = DecodeInsn(code, have);
        if (!insn.length) break;
        if (insn.farRegister) {
            char bytes[16];
            std::snprintf(bytes, sizeof bytes, "%02X %02X", code[insn.length - 2], code[insn.length - 1]);
            s.address = at;
            s.detail = std::string("invalid instruction (") + bytes + ": a far jump or call needs a memory operand)";
            break;
        }
        if (insn.endsBlock) break;
        at += uint32_t(insn.length);
    }
    d.abortStop = s;
    return s;
}

Stop Machine::Step() {
    Stop s = StepOnce();
    if (s.kind != StopKind::Exited && s.kind != StopKind::Step) FlushProgramOutput();
    return s;
}

Stop Machine::StepOnce() {
    Impl& d = *impl_;
    d.stopped = false;
    if (!d.loaded) {
        Stop s;
        s.kind = StopKind::Fault;
        s.detail = "no image loaded";
        return s;
    }
    if (d.aborted) return d.abortStop;
    WinApi::Resume(*this);
    uc_err err = UC_ERR_OK;
    if (!Emulate(d.uc, Get(Reg::Eip), 0, 1, err)) return Aborted();
    if (d.stopped) return d.stop;
    Stop s;
    s.address = Get(Reg::Eip);
    s.line = CurrentLine();
    if (err != UC_ERR_OK) {
        s.kind = StopKind::Fault;
        s.detail = err == UC_ERR_INSN_INVALID ? "invalid instruction" : uc_strerror(err);
        return s;
    }
    s.kind = StopKind::Step;
    return s;
}

bool Machine::Read(uint32_t address, void* out, size_t size) const {
    if (!impl_->uc) return false;
    if (uint64_t(address) + size > 0x100000000ull) return false;
    return uc_mem_read(impl_->uc, address, out, size) == UC_ERR_OK;
}

bool Machine::Write(uint32_t address, const void* data, size_t size) {
    if (!impl_->uc) return false;
    if (uint64_t(address) + size > 0x100000000ull) return false;
    if (uc_mem_write(impl_->uc, address, data, size) != UC_ERR_OK) return false;
    // Code translated before (an int3 planted or taken away) must be redone.
    if (impl_->loaded) uc_ctl_remove_cache(impl_->uc, address, uint64_t(address) + size);
    return true;
}

uint32_t Machine::Get(Reg reg) const {
    uint32_t v = 0;
    if (impl_->uc) uc_reg_read(impl_->uc, UcReg(reg), &v);
    return v;
}

void Machine::Set(Reg reg, uint32_t value) {
    if (impl_->uc) uc_reg_write(impl_->uc, UcReg(reg), &value);
}

uint32_t Machine::CurrentLine() const {
    auto a = image_.Symbol("_rt_cur_line");
    uint32_t v = 0;
    if (!a || !Read(*a, &v, 4)) return 0;
    return v;
}

// The module control block: ... u16 name length at +12, the name at +14.
std::string Machine::CurrentModule() const {
    auto a = image_.Symbol("_rt_mcb");
    uint32_t mcb = 0;
    uint16_t len = 0;
    if (!a || !Read(*a, &mcb, 4) || !mcb || !Read(mcb + 12, &len, 2) || len > 260) return "";
    std::string name(len, '\0');
    if (!Read(mcb + 14, name.data(), len)) return "";
    return name;
}

std::string Machine::Describe(const Stop& s, const Limits& limits) const {
    std::string where = Hex(s.address);
    std::string sym = image_.NameAt(s.address);
    if (!sym.empty()) where += " (" + sym + ")";
    std::string line;
    if (s.line) {
        std::string mod = CurrentModule();
        line = " in " + (mod.empty() ? std::string() : mod + " ") + "line " + std::to_string(s.line);
    }
    switch (s.kind) {
    case StopKind::Exited: return "program ended with status " + std::to_string(s.exitCode);
    case StopKind::Breakpoint: return "breakpoint at " + where + line;
    case StopKind::Step: return "stepped to " + where;
    case StopKind::RuntimeError:
        return "runtime error " + std::to_string(s.basicError) + " (" + BasicErrorText(s.basicError) + ")" + line +
               " at " + where;
    case StopKind::UnbalancedStack:
        return "unbalanced stack" + line + " at " + where + ": ESP " + Hex(s.actualEsp) + " where " +
               Hex(s.expectedEsp) + " was expected";
    case StopKind::Fault: return "fault at " + where + line + ": " + s.detail;
    case StopKind::InstructionLimit:
        return "instruction limit of " + std::to_string(limits.instructions) + " reached at " + where + line +
               " (runaway loop?)";
    case StopKind::TimeLimit:
        return "time limit of " + std::to_string(limits.microseconds / 1000000) + " s reached at " + where + line +
               " (runaway loop?)";
    }
    return "stopped";
}

} // namespace tx::runner
