#include "machine.h"
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

namespace tx::runner {
namespace {

constexpr uint32_t kPage = 0x1000;
// The entry point's return address: returning there ends the program.
constexpr uint32_t kReturnMagic = 0x7FFF0000;
constexpr uint64_t kNowhere = 0xFFFFFFFFull;

// Services of int 0x81 (EAX); the runtime's rt.h holds the same numbers.
enum Service : uint32_t {
    kWrite = 1,
    kExit = 2,
    kError = 3,
    kStack = 4,
    kStackLow = 5,
    kMapShared = 6,
    kRead = 16,
    kClock = 17,
    kEnv = 18,
    kFileOpen = 32,
    kFileClose = 33,
    kFileRead = 34,
    kFileWrite = 35,
    kFileSize = 36,
    kFileTruncate = 37,
    kFileKill = 38,
    kFileRename = 39,
    kDiskFree = 40,
    kPrint = 41,
    kEvent = 42,
    kShell = 43,
    kModuleLoad = 48,
    kModuleProc = 49,
    kModuleFree = 50,
};

// Longest file name the services take, and the most bytes the host moves
// at once (a longer transfer goes in pieces).
constexpr uint32_t kNameMax = 260, kTransferMax = 1u << 20;
// The BASIC error of a SHELL command the machine does not have.
constexpr int32_t kErrShellRefused = 75;

uint32_t AlignUp(uint64_t v) { return uint32_t((v + kPage - 1) & ~uint64_t(kPage - 1)); }

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

struct Machine::Impl {
    uc_engine* uc = nullptr;
    uc_hook intrHook = 0, memHook = 0;
    bool loaded = false;
    bool aborted = false; // the emulator gave up inside a run (see Emulate)
    Stop abortStop;
    bool stopped = false; // a hook recorded the stop below
    Stop stop;
    std::string sharedName;
    uint8_t* sharedMemory = nullptr;
    uc_hook traceHook = 0;
    std::map<uint32_t, std::pair<std::string, uint32_t>> traced; // address: name, words
    uint32_t runtimeStart = 0;
    size_t sharedSize = 0;
    bool sharedMapped = false;
    std::unique_ptr<FileHost> files = std::make_unique<FileHost>();
    std::string fileFolder = ".";
    std::vector<std::string> moduleFolders; // empty: the file folder
    ModuleHost modules;
};

struct MachineHooks {
    static void Interrupt(uc_engine* uc, uint32_t intno, void* user) {
        auto* m = static_cast<Machine*>(user);
        Machine::Impl& d = *m->impl_;
        uint32_t eip = m->Get(Reg::Eip);
        if (intno == Machine::kServiceVector) {
            Service(*m, eip - 2);
            return;
        }
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

    static void Service(Machine& m, uint32_t at) {
        Machine::Impl& d = *m.impl_;
        uint32_t fn = m.Get(Reg::Eax), b = m.Get(Reg::Ebx), c = m.Get(Reg::Ecx), x = m.Get(Reg::Edx);
        switch (fn) {
        case kWrite: {
            if (!x) return;
            if (x > (64u << 20)) {
                Fail(m, at, "service write with a bad buffer", c);
                return;
            }
            std::vector<char> buf(x);
            if (!m.Read(c, buf.data(), x)) {
                Fail(m, at, "service write with a bad buffer", c);
                return;
            }
            if (m.output_) m.output_(buf.data(), buf.size());
            return;
        }
        case kPrint: {
            // EAX ~0: no printer, the runtime prints on the console
            if (!m.printer_) {
                m.Set(Reg::Eax, ~0u);
                return;
            }
            if (x > (64u << 20)) {
                Fail(m, at, "service print with a bad buffer", c);
                return;
            }
            std::vector<char> buf(x);
            if (x && !m.Read(c, buf.data(), x)) {
                Fail(m, at, "service print with a bad buffer", c);
                return;
            }
            if (x) m.printer_(buf.data(), buf.size());
            m.Set(Reg::Eax, 0);
            return;
        }
        case kEvent: {
            // The next scripted event due by the simulated clock in EDX;
            // when none is, the first word says when the next one is (~0:
            // never), so the runtime need not ask before then.
            int32_t words[4] = {-1, 0, 0, 0};
            if (m.nextEvent_ >= m.events_.size() || m.events_[m.nextEvent_].time > x) {
                if (m.nextEvent_ < m.events_.size()) words[0] = int32_t(m.events_[m.nextEvent_].time);
                if (!m.Write(c, words, sizeof words)) {
                    Fail(m, at, "service event with a bad buffer", c);
                    return;
                }
                m.Set(Reg::Eax, 0);
                return;
            }
            const Machine::Event& e = m.events_[m.nextEvent_++];
            words[0] = int32_t(e.kind);
            words[1] = e.number;
            words[2] = e.x;
            words[3] = e.y;
            if (!m.Write(c, words, sizeof words)) {
                Fail(m, at, "service event with a bad buffer", c);
                return;
            }
            m.Set(Reg::Eax, 1);
            return;
        }
        case kStackLow:
            m.Set(Reg::Eax, Machine::kStackTop - Machine::kStackSize);
            return;
        case kMapShared: {
            char name[261] = {};
            for (size_t i = 0; i < 260 && m.Read(c + uint32_t(i), &name[i], 1) && name[i]; ++i) {
            }
            uint32_t at = 0;
            if (d.sharedMemory && d.sharedName == name) {
                if (!d.sharedMapped)
                    d.sharedMapped = uc_mem_map_ptr(d.uc, Machine::kSharedBase, d.sharedSize,
                                                    UC_PROT_READ | UC_PROT_WRITE, d.sharedMemory) == UC_ERR_OK;
                if (d.sharedMapped) at = Machine::kSharedBase;
            }
            m.Set(Reg::Eax, at);
            return;
        }
        case kFileOpen:
        case kFileClose:
        case kFileRead:
        case kFileWrite:
        case kFileSize:
        case kFileTruncate:
        case kFileKill:
        case kFileRename:
        case kDiskFree:
            FileService(m, at, fn, b, c, x);
            return;
        case kModuleLoad:
        case kModuleProc:
        case kModuleFree:
            ModuleService(m, fn, b, c, x);
            return;
        case kExit:
            d.stop = Stop{};
            d.stop.kind = StopKind::Exited;
            d.stop.exitCode = int(b);
            d.stop.address = at;
            break;
        case kError:
            d.stop = Stop{};
            d.stop.kind = StopKind::RuntimeError;
            d.stop.basicError = int(b);
            d.stop.line = c;
            d.stop.address = x;
            break;
        case kStack:
            d.stop = Stop{};
            d.stop.kind = StopKind::UnbalancedStack;
            d.stop.expectedEsp = b;
            d.stop.actualEsp = c;
            d.stop.address = x;
            d.stop.line = m.CurrentLine();
            break;
        case kRead:
            m.Set(Reg::Eax, ReadInput(m, b, c, x));
            return;
        case kClock:
            WriteClock(m, c);
            return;
        case kEnv:
            m.Set(Reg::Eax, HostText(m, b, c, x));
            return;
        case kShell:
            if (!ShellService(m, c)) Fail(m, at, "service shell with a bad block", c);
            return;
        default:
            Fail(m, at, "unknown service " + std::to_string(fn), 0);
            return;
        }
        d.stopped = true;
        uc_emu_stop(d.uc);
    }

    // SHELL: ECX a block {text, length, buffer, capacity, result, output
    // length}. A command of the table gets its result and as much of its
    // output as the buffer holds, with the whole output's length, EAX 0;
    // any other is minus error 75. False when the block cannot be read.
    static bool ShellService(Machine& m, uint32_t block) {
        uint32_t w[6];
        if (!m.Read(block, w, sizeof w) || w[1] > kTransferMax) return false;
        std::string command(w[1], '\0');
        if (w[1] && !m.Read(w[0], command.data(), w[1])) return false;
        auto it = m.shellCommands_.find(command);
        if (it == m.shellCommands_.end()) {
            m.Set(Reg::Eax, uint32_t(-kErrShellRefused));
            return true;
        }
        const std::string& out = it->second.output;
        const uint32_t n = uint32_t(std::min<size_t>(out.size(), w[3]));
        if (n && !m.Write(w[2], out.data(), n)) return false;
        w[4] = uint32_t(it->second.result);
        w[5] = uint32_t(out.size());
        if (!m.Write(block + 16, &w[4], 8)) return false;
        m.Set(Reg::Eax, 0);
        return true;
    }

    // A zero-terminated name in the program's memory; false when it runs
    // off the memory or past the longest name.
    static bool ReadName(Machine& m, uint32_t addr, std::string& out) {
        out.clear();
        for (uint32_t i = 0; i < kNameMax; ++i) {
            char ch;
            if (!m.Read(addr + i, &ch, 1)) return false;
            if (!ch) return true;
            out.push_back(ch);
        }
        return false;
    }

    // File services: EBX handle or mode, ECX name or buffer, EDX length or
    // the second name, ESI the file position. EAX answers with a handle, a
    // count or a size, or minus a BASIC error number.
    static void FileService(Machine& m, uint32_t at, uint32_t fn, uint32_t b, uint32_t c, uint32_t x) {
        FileHost& files = *m.impl_->files;
        int32_t r = 0;
        std::string name, other;
        switch (fn) {
        case kFileOpen:
            r = ReadName(m, c, name) ? files.Open(name, b) : -64;
            break;
        case kFileClose: files.Close(int32_t(b)); break;
        case kFileRead:
        case kFileWrite: {
            // Any length a statement sends, moved through a bounded buffer.
            std::vector<char> buf(std::min(x, kTransferMax));
            const uint32_t pos = m.Get(Reg::Esi);
            for (uint32_t done = 0; done < x;) {
                const uint32_t n = std::min(x - done, kTransferMax);
                int32_t k;
                if (fn == kFileWrite) {
                    if (!m.Read(c + done, buf.data(), n)) {
                        Fail(m, at, "file service with a bad buffer", c);
                        return;
                    }
                    k = files.Write(int32_t(b), uint64_t(pos) + done, buf.data(), n);
                } else {
                    k = files.Read(int32_t(b), uint64_t(pos) + done, buf.data(), n);
                    if (k > 0 && !m.Write(c + done, buf.data(), size_t(k))) {
                        Fail(m, at, "file service with a bad buffer", c);
                        return;
                    }
                }
                if (k < 0) {
                    r = k;
                    break;
                }
                done += uint32_t(k);
                r = int32_t(done);
                if (uint32_t(k) < n) break;
            }
            break;
        }
        case kFileSize: r = files.Size(int32_t(b)); break;
        case kFileTruncate: r = files.Truncate(int32_t(b), c); break;
        case kFileKill: r = ReadName(m, c, name) ? files.Kill(name) : -64; break;
        case kFileRename:
            r = ReadName(m, c, name) && ReadName(m, x, other) ? files.Rename(name, other) : -64;
            break;
        case kDiskFree: r = files.FreeKilobytes(); break;
        default: break;
        }
        m.Set(Reg::Eax, uint32_t(r));
    }

    // Module images: load (ECX name, EDX two words receiving the handle and
    // the entry to call once, 0 when none; EAX 0 or minus the BASIC error),
    // find a routine by name (EBX handle, 0 the program; EAX its address or
    // 0), free (EBX handle; EAX 0 or minus the error).
    static void ModuleService(Machine& m, uint32_t fn, uint32_t b, uint32_t c, uint32_t x) {
        Machine::Impl& d = *m.impl_;
        std::string name;
        int32_t r = 0;
        switch (fn) {
        case kModuleLoad: {
            if (!ReadName(m, c, name)) {
                r = -64;
                break;
            }
            d.modules.SetFolders(d.moduleFolders.empty() ? std::vector<std::string>{d.fileFolder} : d.moduleFolders);
            const std::string path = d.modules.Find(name);
            if (path.empty()) {
                r = -53;
                break;
            }
            // The same file under another name is the module already there.
            if (const uint32_t h = d.modules.Reuse(path)) {
                const uint32_t out[2] = {h, 0};
                m.Write(x, out, sizeof out);
                break;
            }
            ModuleHost::Module mod;
            if (int e = d.modules.Prepare(path, mod)) {
                r = -e;
                break;
            }
            std::string error;
            if (!MapImage(d.uc, mod.image, mod.size, error)) {
                uc_mem_unmap(d.uc, mod.base, mod.size);
                r = -75;
                break;
            }
            const uint32_t entry = mod.image.isDll && mod.image.entry != mod.base ? mod.image.entry : 0;
            const uint32_t out[2] = {d.modules.Add(std::move(mod)), entry};
            m.Write(x, out, sizeof out);
            break;
        }
        case kModuleProc: {
            if (!ReadName(m, c, name)) break;
            const PeImage* img = &m.image_;
            if (b) {
                const ModuleHost::Module* mod = d.modules.Get(b);
                img = mod ? &mod->image : nullptr;
            }
            if (!img) break;
            auto it = img->exports.find(name);
            if (it != img->exports.end()) r = int32_t(it->second);
            break;
        }
        case kModuleFree: {
            const ModuleHost::Module* mod = d.modules.Get(b);
            if (!mod) {
                r = -5;
                break;
            }
            const uint32_t base = mod->base, size = mod->size;
            if (d.modules.Release(b)) uc_mem_unmap(d.uc, base, size);
            break;
        }
        default: break;
        }
        m.Set(Reg::Eax, uint32_t(r));
    }

    // Console input: mode 0 a line without its end (CR LF or LF), 1 a byte
    // when one is there, 2 a byte; ~0 at the end of input.
    static uint32_t ReadInput(Machine& m, uint32_t mode, uint32_t buf, uint32_t cap) {
        auto next = [&]() { return m.input_ ? m.input_() : -1; };
        if (mode != 0) {
            int ch = cap ? next() : -1;
            if (ch < 0) return mode == 1 ? 0 : 0xFFFFFFFFu;
            uint8_t byte = uint8_t(ch);
            m.Write(buf, &byte, 1);
            return 1;
        }
        // A line that never ends is taken in pieces of kConsoleLineMax.
        std::string line;
        int ch = next();
        if (ch < 0) return 0xFFFFFFFFu;
        while (ch >= 0 && ch != '\n') {
            line.push_back(char(ch));
            if (line.size() >= Machine::kConsoleLineMax) break;
            ch = next();
        }
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.size() > cap) line.resize(cap);
        if (!line.empty() && !m.Write(buf, line.data(), line.size())) return 0xFFFFFFFFu;
        return uint32_t(line.size());
    }

    static void WriteClock(Machine& m, uint32_t at) {
        Machine::Clock c = m.clock_;
        int weekday = 0;
        if (!m.fixedClock_) {
            auto now = std::chrono::system_clock::now();
            std::time_t t = std::chrono::system_clock::to_time_t(now);
            std::tm tm{};
            localtime_r(&t, &tm);
            c = {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec,
                 int(std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000)};
        }
        // Day of the week by Zeller's congruence, Sunday 0.
        int y = c.year, mo = c.month;
        if (mo < 3) {
            mo += 12;
            --y;
        }
        weekday = (c.day + 13 * (mo + 1) / 5 + y + y / 4 - y / 100 + y / 400 + 6) % 7;
        uint32_t w[4] = {uint32_t(c.year * 10000 + c.month * 100 + c.day),
                         uint32_t(c.hour * 10000 + c.minute * 100 + c.second),
                         uint32_t(((c.hour * 60 + c.minute) * 60 + c.second) * 1000 + c.millisecond),
                         uint32_t(weekday)};
        m.Write(at, w, sizeof w);
    }

    // The command line (name 0) or a variable of the program's environment.
    static uint32_t HostText(Machine& m, uint32_t name, uint32_t buf, uint32_t cap) {
        std::string text;
        if (name == 0) {
            text = m.commandLine_;
        } else {
            std::string n;
            char ch = 0;
            for (uint32_t i = 0; i < 256 && m.Read(name + i, &ch, 1) && ch; ++i) n.push_back(ch);
            auto v = m.environment_.find(n);
            if (v == m.environment_.end()) return 0xFFFFFFFFu;
            text = v->second;
        }
        if (text.size() > cap) text.resize(cap);
        if (!text.empty() && !m.Write(buf, text.data(), text.size())) return 0xFFFFFFFFu;
        return uint32_t(text.size());
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
    // it.
    static std::vector<uc_engine*> abandoned;
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
    if (!image.importedDlls.empty()) {
        error = "the image imports " + image.importedDlls.front() + "; programs run here can use no DLL";
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
    uint8_t last = 0;
    if (s.address && Read(s.address - 1, &last, 1) && last == 0xF4) { // hlt ends emulation quietly
        s.kind = StopKind::Fault;
        s.address -= 1;
        s.detail = "hlt instruction";
        return s;
    }
    auto elapsed = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);
    bool timedOut = limits.microseconds && uint64_t(elapsed.count()) >= limits.microseconds * 9 / 10;
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
