#include "winapi.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <iterator>

#include "machine_impl.h"

namespace tx::runner {
namespace {

// The stubs' page: one 4-byte slot a function, filled with hlt so that a
// call the hook did not take stops as a fault. Above it, the host's own data
// (GetCommandLineA's text).
constexpr uint32_t kStubBase = 0x7FFC0000, kStubSlot = 4, kStubPage = 0x1000;
constexpr uint32_t kHostData = kStubBase + kStubPage, kHostDataSize = 0x10000;
constexpr uint8_t kHlt = 0xF4;

// Longest name the functions take, and the most bytes moved at once (a
// longer transfer goes in pieces).
constexpr uint32_t kNameMax = 260, kTransferMax = 1u << 20;
constexpr uint64_t kAddressSpaceEnd = 1ull << 32;

// Windows' values.
constexpr uint32_t kTrue = 1, kFalse = 0;
constexpr uint32_t kInvalidHandle = 0xFFFFFFFFu;
constexpr uint32_t kStdInputHandle = uint32_t(-10), kStdOutputHandle = uint32_t(-11), kStdErrorHandle = uint32_t(-12);
constexpr uint32_t kErrorFileNotFound = 2, kErrorTooManyOpenFiles = 4, kErrorAccessDenied = 5,
                   kErrorInvalidHandle = 6, kErrorSharingViolation = 32, kErrorInvalidParameter = 87,
                   kErrorBrokenPipe = 109, kErrorDiskFull = 112, kErrorInvalidName = 123, kErrorModNotFound = 126,
                   kErrorProcNotFound = 127, kErrorAlreadyExists = 183, kErrorBadExeFormat = 193,
                   kErrorEnvvarNotFound = 203;
constexpr uint32_t kGenericRead = 0x80000000u, kGenericWrite = 0x40000000u;
constexpr uint32_t kCreateAlways = 2, kOpenExisting = 3, kOpenAlways = 4;
constexpr uint32_t kFileBegin = 0, kFileCurrent = 1, kFileEnd = 2;
constexpr uint32_t kFileTypeDisk = 1, kFileTypeChar = 2, kFileTypePipe = 3;
constexpr uint32_t kStartfUseStdHandles = 0x100;
constexpr uint32_t kDllProcessAttach = 1, kDllProcessDetach = 0;
constexpr uint32_t kMemCommit = 0x1000, kMemFree = 0x10000, kMemPrivate = 0x20000, kMemImage = 0x1000000;
constexpr uint32_t kPageReadWrite = 4, kPageExecuteReadWrite = 0x40;
constexpr uint32_t kMemoryInfoSize = 28; // MEMORY_BASIC_INFORMATION
constexpr uint32_t kPmRemove = 1;
constexpr uint32_t kWmKeyDown = 0x100, kWmLButtonDown = 0x201, kWmRButtonDown = 0x204, kWmCom = 0x8001;
constexpr uint32_t kVkF1 = 0x70;
constexpr uint32_t kWindowClassAtom = 0xC001, kWindowHandle = 0x00010010;
// The runtime's two exception codes (rt_host.h).
constexpr uint32_t kExcBasicError = 0xE0545801u, kExcUnbalanced = 0xE0545802u;
// The DLLs whose functions the host provides, as pseudo module handles.
constexpr uint32_t kSystemModuleBase = 0x7FFB0000;
const char* const kSystemDlls[] = {"KERNEL32.DLL", "USER32.DLL", "GDI32.DLL"};
// What SHELL's command line starts with (rt_host.c).
constexpr const char kShellPrefix[] = "cmd.exe /c ";

std::string Upper(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = char(c - 32);
    return s;
}

// A call of a stub: its stack words and how it ends.
struct Call {
    Machine& m;
    uint32_t at = 0; // the stub's address
    uint32_t ret = 0;
    uint32_t args[12] = {};
    bool stop = false;       // the handler recorded a stop
    bool redirected = false; // the handler set EIP and ESP itself
    uint32_t Arg(int i) const { return args[i]; }
};

using Handler = uint32_t (*)(Call&);
struct Stub {
    const char* dll;
    const char* name;
    uint32_t words; // stack words it takes (stdcall)
    Handler run;
};

const std::vector<Stub>& Stubs();

} // namespace

struct WinApiCalls {
    static Machine::Impl& D(Machine& m) { return *m.impl_; }

    static void Fail(Call& c, const std::string& what, uint32_t data) {
        Machine::Impl& d = D(c.m);
        d.stop = Stop{};
        d.stop.kind = StopKind::Fault;
        d.stop.address = c.ret;
        d.stop.faultAddress = data;
        d.stop.detail = what;
        d.stop.line = c.m.CurrentLine();
        c.stop = true;
    }

    static uint32_t Error(Call& c, uint32_t code, uint32_t result) {
        D(c.m).lastError = code;
        return result;
    }

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

    static bool Put32(Machine& m, uint32_t addr, uint32_t v) { return !addr || m.Write(addr, &v, 4); }

    static uint32_t NewHandle(Machine::Impl& d, WinObject o) {
        const uint32_t h = d.nextHandle;
        d.nextHandle += 4;
        d.objects[h] = o;
        return h;
    }

    static WinObject* Object(Machine::Impl& d, uint32_t h) {
        auto it = d.objects.find(h);
        return it == d.objects.end() ? nullptr : &it->second;
    }

    // A BASIC error of the file host as the Windows error it stands for.
    static uint32_t WinError(int32_t basic) {
        switch (-basic) {
        case 53: return kErrorFileNotFound;
        case 58: return kErrorAlreadyExists;
        case 61: return kErrorDiskFull;
        case 64: return kErrorInvalidName;
        case 67: return kErrorTooManyOpenFiles;
        case 70: return kErrorSharingViolation;
        default: return kErrorAccessDenied;
        }
    }

    // ---- console and files --------------------------------------------------

    static int NextInput(Machine& m) {
        Machine::Impl& d = D(m);
        if (d.inputAhead != -2) {
            const int ch = d.inputAhead;
            d.inputAhead = -2;
            return ch;
        }
        return m.input_ ? m.input_() : -1;
    }

    static uint32_t GetStdHandle(Call& c) {
        Machine::Impl& d = D(c.m);
        WinObject::Kind k;
        switch (c.Arg(0)) {
        case kStdInputHandle: k = WinObject::StdIn; break;
        case kStdOutputHandle: k = WinObject::StdOut; break;
        case kStdErrorHandle: k = WinObject::StdErr; break;
        default: return Error(c, kErrorInvalidHandle, kInvalidHandle);
        }
        for (const auto& [h, o] : d.objects)
            if (o.kind == k) return h;
        return NewHandle(d, WinObject{k});
    }

    static uint32_t GetFileType(Call& c) {
        WinObject* o = Object(D(c.m), c.Arg(0));
        if (!o) return Error(c, kErrorInvalidHandle, 0);
        switch (o->kind) {
        case WinObject::File: return kFileTypeDisk;
        case WinObject::Printer: return kFileTypeChar;
        default: return kFileTypePipe;
        }
    }

    // Any length a statement writes, moved through a bounded buffer.
    static uint32_t WriteFile(Call& c) {
        Machine& m = c.m;
        Machine::Impl& d = D(m);
        const uint32_t buf = c.Arg(1), n = c.Arg(2), done = c.Arg(3);
        WinObject* o = Object(d, c.Arg(0));
        if (!o) return Error(c, kErrorInvalidHandle, kFalse);
        // A buffer that runs past the address space is refused before any of
        // it is written.
        if (uint64_t(buf) + n > kAddressSpaceEnd) {
            Fail(c, "WriteFile with a bad buffer", buf);
            return kFalse;
        }
        std::vector<char> bytes(std::min(n, kTransferMax));
        for (uint32_t at = 0; at < n;) {
            const uint32_t k = std::min(n - at, kTransferMax);
            if (!m.Read(buf + at, bytes.data(), k)) {
                Fail(c, "WriteFile with a bad buffer", buf);
                return kFalse;
            }
            switch (o->kind) {
            case WinObject::StdOut:
                if (m.output_) m.output_(bytes.data(), k);
                break;
            case WinObject::StdErr:
                std::fwrite(bytes.data(), 1, k, stderr);
                break;
            case WinObject::Printer:
                if (m.printer_) m.printer_(bytes.data(), k);
                break;
            case WinObject::PipeWrite: d.pipes[o->pipe].append(bytes.data(), k); break;
            case WinObject::File: {
                const int32_t r = d.files->Write(o->file, o->pos, bytes.data(), k);
                if (r < 0) return Error(c, WinError(r), kFalse);
                o->pos += uint32_t(r);
                break;
            }
            default: return Error(c, kErrorAccessDenied, kFalse);
            }
            at += k;
        }
        if (!Put32(m, done, n)) Fail(c, "WriteFile with a bad count address", done);
        return kTrue;
    }

    // Standard input reads as a console does: up to a line end.
    static uint32_t ReadFile(Call& c) {
        Machine& m = c.m;
        Machine::Impl& d = D(m);
        const uint32_t buf = c.Arg(1), n = c.Arg(2), got = c.Arg(3);
        WinObject* o = Object(d, c.Arg(0));
        if (!o) return Error(c, kErrorInvalidHandle, kFalse);
        if (uint64_t(buf) + n > kAddressSpaceEnd) {
            Fail(c, "ReadFile with a bad buffer", buf);
            return kFalse;
        }
        std::string bytes;
        uint32_t result = kTrue;
        switch (o->kind) {
        case WinObject::StdIn:
            // A line that never ends comes in pieces of kConsoleLineMax.
            while (bytes.size() < n && bytes.size() < Machine::kConsoleLineMax) {
                const int ch = NextInput(m);
                if (ch < 0) break;
                bytes.push_back(char(ch));
                if (ch == '\n') break;
            }
            break;
        case WinObject::PipeRead: {
            std::string& p = d.pipes[o->pipe];
            bytes = p.substr(0, n);
            p.erase(0, bytes.size());
            if (bytes.empty()) result = Error(c, kErrorBrokenPipe, kFalse);
            break;
        }
        case WinObject::File: {
            // Any length a statement reads, in bounded pieces written
            // straight into the caller's buffer.
            std::vector<char> piece(std::min(n, kTransferMax));
            uint32_t total = 0;
            while (total < n) {
                const uint32_t k = std::min(n - total, kTransferMax);
                const int32_t r = d.files->Read(o->file, o->pos, piece.data(), k);
                if (r < 0) return Error(c, WinError(r), kFalse);
                if (r && !m.Write(buf + total, piece.data(), size_t(r))) {
                    Fail(c, "ReadFile with a bad buffer", buf);
                    return kFalse;
                }
                o->pos += uint32_t(r);
                total += uint32_t(r);
                if (uint32_t(r) < k) break;
            }
            if (!Put32(m, got, total)) {
                Fail(c, "ReadFile with a bad buffer", buf);
                return kFalse;
            }
            return kTrue;
        }
        default: return Error(c, kErrorAccessDenied, kFalse);
        }
        if ((!bytes.empty() && !m.Write(buf, bytes.data(), bytes.size())) || !Put32(m, got, uint32_t(bytes.size()))) {
            Fail(c, "ReadFile with a bad buffer", buf);
            return kFalse;
        }
        return result;
    }

    // Standard input: whether a byte waits (it is read ahead, waiting for it
    // as the emulator's input does); a pipe: the bytes in it.
    static uint32_t PeekNamedPipe(Call& c) {
        Machine::Impl& d = D(c.m);
        WinObject* o = Object(d, c.Arg(0));
        uint32_t avail = 0;
        if (o && o->kind == WinObject::StdIn) {
            if (d.inputAhead == -2) d.inputAhead = c.m.input_ ? c.m.input_() : -1;
            avail = d.inputAhead >= 0 ? 1 : 0;
        } else if (o && o->kind == WinObject::PipeRead) {
            avail = uint32_t(d.pipes[o->pipe].size());
        } else {
            return Error(c, kErrorInvalidHandle, kFalse);
        }
        if (!Put32(c.m, c.Arg(3), 0) || !Put32(c.m, c.Arg(4), avail) || !Put32(c.m, c.Arg(5), 0))
            Fail(c, "PeekNamedPipe with a bad address", c.Arg(4));
        return kTrue;
    }

    // No console here: standard input is a stream.
    static uint32_t NoConsole(Call& c) { return Error(c, kErrorInvalidHandle, kFalse); }

    static uint32_t CreateFileA(Call& c) {
        Machine& m = c.m;
        Machine::Impl& d = D(m);
        std::string name;
        if (!ReadName(m, c.Arg(0), name)) return Error(c, kErrorInvalidName, kInvalidHandle);
        const std::string device = Upper(name);
        if (device == "LPT1" || device == "LPT1:" || device == "PRN") {
            if (!m.printer_) return Error(c, kErrorFileNotFound, kInvalidHandle);
            return NewHandle(d, WinObject{WinObject::Printer});
        }
        const uint32_t access = c.Arg(1) & (kGenericRead | kGenericWrite), how = c.Arg(4);
        uint32_t mode = 0;
        if (access == kGenericRead && how == kOpenExisting) mode = FileHost::kRead;
        else if (access == kGenericWrite && how == kCreateAlways) mode = FileHost::kCreate;
        else if (access == (kGenericRead | kGenericWrite) && how == kOpenAlways) mode = FileHost::kUpdate;
        else if (access == (kGenericRead | kGenericWrite) && how == kOpenExisting) mode = FileHost::kUpdateExisting;
        else if (access == kGenericWrite && how == kOpenAlways) mode = FileHost::kWriteKeep;
        else return Error(c, kErrorInvalidParameter, kInvalidHandle);
        const int32_t r = d.files->Open(name, mode);
        if (r < 0) return Error(c, WinError(r), kInvalidHandle);
        WinObject o{WinObject::File};
        o.file = r;
        return NewHandle(d, o);
    }

    static WinObject* FileObject(Call& c) {
        WinObject* o = Object(D(c.m), c.Arg(0));
        return o && o->kind == WinObject::File ? o : nullptr;
    }

    static uint32_t SetFilePointer(Call& c) {
        WinObject* o = FileObject(c);
        if (!o) return Error(c, kErrorInvalidHandle, kInvalidHandle);
        const int64_t dist = int32_t(c.Arg(1));
        int64_t from = 0;
        if (c.Arg(3) == kFileCurrent) from = o->pos;
        else if (c.Arg(3) == kFileEnd) from = D(c.m).files->Size(o->file);
        else if (c.Arg(3) != kFileBegin) return Error(c, kErrorInvalidParameter, kInvalidHandle);
        if (from + dist < 0 || from + dist > 0x7FFFFFFF) return Error(c, kErrorInvalidParameter, kInvalidHandle);
        o->pos = uint32_t(from + dist);
        Put32(c.m, c.Arg(2), 0);
        D(c.m).lastError = 0;
        return o->pos;
    }

    static uint32_t GetFileSize(Call& c) {
        WinObject* o = FileObject(c);
        if (!o) return Error(c, kErrorInvalidHandle, kInvalidHandle);
        const int32_t r = D(c.m).files->Size(o->file);
        if (r < 0) return Error(c, WinError(r), kInvalidHandle);
        Put32(c.m, c.Arg(1), 0);
        return uint32_t(r);
    }

    static uint32_t SetEndOfFile(Call& c) {
        WinObject* o = FileObject(c);
        if (!o) return Error(c, kErrorInvalidHandle, kFalse);
        const int32_t r = D(c.m).files->Truncate(o->file, o->pos);
        return r < 0 ? Error(c, WinError(r), kFalse) : kTrue;
    }

    static uint32_t DeleteFileA(Call& c) {
        std::string name;
        if (!ReadName(c.m, c.Arg(0), name)) return Error(c, kErrorInvalidName, kFalse);
        const int32_t r = D(c.m).files->Kill(name);
        return r < 0 ? Error(c, WinError(r), kFalse) : kTrue;
    }

    static uint32_t MoveFileA(Call& c) {
        std::string from, to;
        if (!ReadName(c.m, c.Arg(0), from) || !ReadName(c.m, c.Arg(1), to)) return Error(c, kErrorInvalidName, kFalse);
        const int32_t r = D(c.m).files->Rename(from, to);
        return r < 0 ? Error(c, WinError(r), kFalse) : kTrue;
    }

    // In 1024-byte sectors of one-sector clusters: the free count is the
    // kilobytes free.
    static uint32_t GetDiskFreeSpaceA(Call& c) {
        const int32_t kb = D(c.m).files->FreeKilobytes();
        const uint32_t free = kb < 0 ? 0 : uint32_t(kb);
        if (!Put32(c.m, c.Arg(1), 1) || !Put32(c.m, c.Arg(2), 1024) || !Put32(c.m, c.Arg(3), free) ||
            !Put32(c.m, c.Arg(4), free))
            Fail(c, "GetDiskFreeSpaceA with a bad address", c.Arg(1));
        return kTrue;
    }

    static uint32_t CloseHandle(Call& c) {
        Machine::Impl& d = D(c.m);
        auto it = d.objects.find(c.Arg(0));
        if (it == d.objects.end()) return Error(c, kErrorInvalidHandle, kFalse);
        const WinObject& o = it->second;
        if (o.kind == WinObject::File) d.files->Close(o.file);
        if (o.kind == WinObject::StdIn || o.kind == WinObject::StdOut || o.kind == WinObject::StdErr) return kTrue;
        if (o.kind == WinObject::PipeRead) d.pipes.erase(o.pipe);
        d.objects.erase(it);
        return kTrue;
    }

    // ---- the process ----------------------------------------------------------

    static uint32_t ExitProcess(Call& c) {
        Machine::Impl& d = D(c.m);
        d.stop = Stop{};
        d.stop.kind = StopKind::Exited;
        d.stop.exitCode = int(c.Arg(0));
        d.stop.address = c.ret;
        c.stop = true;
        return 0;
    }

    // The runtime's two reports stop the run as such; any other exception
    // is a fault, as an unhandled one ends a process.
    static uint32_t RaiseException(Call& c) {
        Machine::Impl& d = D(c.m);
        uint32_t a[3] = {};
        const uint32_t n = std::min<uint32_t>(c.Arg(2), 3);
        if (n && !c.m.Read(c.Arg(3), a, 4 * n)) {
            Fail(c, "RaiseException with a bad argument list", c.Arg(3));
            return 0;
        }
        d.stop = Stop{};
        if (c.Arg(0) == kExcBasicError) {
            d.stop.kind = StopKind::RuntimeError;
            d.stop.basicError = int(a[0]);
            d.stop.line = a[1];
            d.stop.address = a[2];
        } else if (c.Arg(0) == kExcUnbalanced) {
            d.stop.kind = StopKind::UnbalancedStack;
            d.stop.expectedEsp = a[0];
            d.stop.actualEsp = a[1];
            d.stop.address = a[2];
            d.stop.line = c.m.CurrentLine();
        } else {
            char code[16];
            std::snprintf(code, sizeof code, "0x%08X", c.Arg(0));
            d.stop.kind = StopKind::Fault;
            d.stop.address = c.ret;
            d.stop.line = c.m.CurrentLine();
            d.stop.detail = std::string("exception ") + code + " raised";
        }
        c.stop = true;
        return 0;
    }

    static uint32_t VirtualQuery(Call& c) {
        Machine& m = c.m;
        const uint32_t a = c.Arg(0) & ~(kStubPage - 1);
        if (c.Arg(2) < kMemoryInfoSize) return Error(c, kErrorInvalidParameter, 0);
        uint32_t info[7] = {a, 0, 0, 0, kMemFree, 0, 0};
        const uint32_t stackLow = Machine::kStackTop - Machine::kStackSize;
        const PeImage& img = m.image_;
        if (a >= stackLow && a < Machine::kStackTop) {
            info[1] = stackLow;
            info[2] = kPageReadWrite;
            info[3] = Machine::kStackTop - a;
            info[4] = kMemCommit;
            info[5] = kPageReadWrite;
            info[6] = kMemPrivate;
        } else if (a >= img.imageBase && a - img.imageBase < img.sizeOfImage) {
            info[1] = img.imageBase;
            info[2] = kPageExecuteReadWrite;
            info[3] = img.imageBase + img.sizeOfImage - a;
            info[4] = kMemCommit;
            info[5] = kPageExecuteReadWrite;
            info[6] = kMemImage;
        }
        if (!m.Write(c.Arg(1), info, sizeof info)) {
            Fail(c, "VirtualQuery with a bad buffer", c.Arg(1));
            return 0;
        }
        return kMemoryInfoSize;
    }

    // The debugger's shared block, when one was offered under that name.
    static uint32_t OpenFileMappingA(Call& c) {
        Machine::Impl& d = D(c.m);
        std::string name;
        if (!ReadName(c.m, c.Arg(2), name) || !d.sharedMemory || name != d.sharedName)
            return Error(c, kErrorFileNotFound, 0);
        return NewHandle(d, WinObject{WinObject::Mapping});
    }

    static uint32_t MapViewOfFile(Call& c) {
        Machine::Impl& d = D(c.m);
        WinObject* o = Object(d, c.Arg(0));
        if (!o || o->kind != WinObject::Mapping) return Error(c, kErrorInvalidHandle, 0);
        if (!d.sharedMapped)
            d.sharedMapped = uc_mem_map_ptr(d.uc, Machine::kSharedBase, d.sharedSize, UC_PROT_READ | UC_PROT_WRITE,
                                            d.sharedMemory) == UC_ERR_OK;
        return d.sharedMapped ? Machine::kSharedBase : Error(c, kErrorAccessDenied, 0);
    }

    // The fixed clock, or the host's local time.
    static uint32_t GetLocalTime(Call& c) {
        Machine& m = c.m;
        Machine::Clock t = m.clock_;
        if (!m.fixedClock_) {
            auto now = std::chrono::system_clock::now();
            std::time_t tt = std::chrono::system_clock::to_time_t(now);
            std::tm tm{};
            localtime_r(&tt, &tm);
            t = {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec,
                 int(std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000)};
        }
        // Day of the week by Zeller's congruence, Sunday 0.
        int y = t.year, mo = t.month;
        if (mo < 3) {
            mo += 12;
            --y;
        }
        const int weekday = (t.day + 13 * (mo + 1) / 5 + y + y / 4 - y / 100 + y / 400 + 6) % 7;
        const uint16_t st[8] = {uint16_t(t.year), uint16_t(t.month), uint16_t(weekday), uint16_t(t.day),
                                uint16_t(t.hour), uint16_t(t.minute), uint16_t(t.second), uint16_t(t.millisecond)};
        if (!m.Write(c.Arg(0), st, sizeof st)) Fail(c, "GetLocalTime with a bad buffer", c.Arg(0));
        return 0;
    }

    // The program's name, then COMMAND$'s text.
    static uint32_t GetCommandLineA(Call& c) {
        Machine::Impl& d = D(c.m);
        if (!d.commandLine) {
            std::string text = "\"PROGRAM.EXE\"";
            if (!c.m.commandLine_.empty()) text += " " + c.m.commandLine_;
            text.resize(std::min<size_t>(text.size(), kHostDataSize - d.hostDataUsed - 1));
            d.commandLine = kHostData + d.hostDataUsed;
            c.m.Write(d.commandLine, text.c_str(), text.size() + 1);
            d.hostDataUsed += uint32_t(text.size() + 1);
        }
        return d.commandLine;
    }

    static uint32_t GetEnvironmentVariableA(Call& c) {
        std::string name;
        if (!ReadName(c.m, c.Arg(0), name) || name.empty()) return Error(c, kErrorEnvvarNotFound, 0);
        // Only the variables basrun was told to pass: never the host's own.
        const auto it = c.m.environment_.find(name);
        if (it == c.m.environment_.end()) return Error(c, kErrorEnvvarNotFound, 0);
        const char* v = it->second.c_str();
        const uint32_t len = uint32_t(it->second.size());
        if (len >= c.Arg(2)) return len + 1; // the size it needs
        if (!c.m.Write(c.Arg(1), v, len + 1)) Fail(c, "GetEnvironmentVariableA with a bad buffer", c.Arg(1));
        return len;
    }

    static uint32_t SetLastError(Call& c) {
        D(c.m).lastError = c.Arg(0);
        return 0;
    }

    static uint32_t GetLastError(Call& c) { return D(c.m).lastError; }

    // ---- SHELL: the command table ------------------------------------------

    static uint32_t CreatePipe(Call& c) {
        Machine::Impl& d = D(c.m);
        const uint32_t pipe = d.nextPipe++;
        d.pipes[pipe];
        WinObject r{WinObject::PipeRead}, w{WinObject::PipeWrite};
        r.pipe = w.pipe = pipe;
        if (!Put32(c.m, c.Arg(0), NewHandle(d, r)) || !Put32(c.m, c.Arg(1), NewHandle(d, w)))
            Fail(c, "CreatePipe with a bad address", c.Arg(0));
        return kTrue;
    }

    // Runs nothing of the host's: a command of the table (after the command
    // interpreter's prefix) "prints" its output on the standard output the
    // caller gave it and ends with its result; any other is not found.
    static uint32_t CreateProcessA(Call& c) {
        Machine& m = c.m;
        Machine::Impl& d = D(m);
        std::string line;
        for (uint32_t i = 0; i < kTransferMax; ++i) {
            char ch;
            if (!m.Read(c.Arg(1) + i, &ch, 1)) {
                Fail(c, "CreateProcessA with a bad command line", c.Arg(1));
                return kFalse;
            }
            if (!ch) break;
            line.push_back(ch);
        }
        const size_t k = sizeof kShellPrefix - 1;
        if (line.size() < k || Upper(line.substr(0, k)) != Upper(kShellPrefix)) return Error(c, kErrorFileNotFound, kFalse);
        auto it = m.shellCommands_.find(line.substr(k));
        if (it == m.shellCommands_.end()) return Error(c, kErrorFileNotFound, kFalse);
        uint32_t si[17] = {};
        if (!m.Read(c.Arg(8), si, sizeof si)) {
            Fail(c, "CreateProcessA with a bad STARTUPINFO", c.Arg(8));
            return kFalse;
        }
        const std::string& out = it->second.output;
        WinObject* to = (si[11] & kStartfUseStdHandles) ? Object(d, si[15]) : nullptr;
        if (to && to->kind == WinObject::PipeWrite) d.pipes[to->pipe] += out;
        else if (!out.empty() && m.output_) m.output_(out.data(), out.size());
        WinObject p{WinObject::Process};
        p.exitCode = it->second.result;
        const uint32_t pi[4] = {NewHandle(d, p), NewHandle(d, WinObject{WinObject::Thread}), 2, 3};
        if (!m.Write(c.Arg(9), pi, sizeof pi)) Fail(c, "CreateProcessA with a bad PROCESS_INFORMATION", c.Arg(9));
        return kTrue;
    }

    static uint32_t WaitForSingleObject(Call& c) {
        return Object(D(c.m), c.Arg(0)) ? 0 : Error(c, kErrorInvalidHandle, kInvalidHandle);
    }

    static uint32_t GetExitCodeProcess(Call& c) {
        WinObject* o = Object(D(c.m), c.Arg(0));
        if (!o || o->kind != WinObject::Process) return Error(c, kErrorInvalidHandle, kFalse);
        if (!Put32(c.m, c.Arg(1), uint32_t(o->exitCode))) Fail(c, "GetExitCodeProcess with a bad address", c.Arg(1));
        return kTrue;
    }

    // ---- module images --------------------------------------------------------

    static int SystemDll(std::string name) {
        name = Upper(name);
        if (name.find('.') == std::string::npos) name += ".DLL";
        for (size_t i = 0; i < std::size(kSystemDlls); ++i)
            if (name == kSystemDlls[i]) return int(i);
        return -1;
    }

    // Calls a DLL's entry (hinst, reason, 0) and then returns to the stub's
    // caller with `result` in EAX, through the return stub.
    static void CallEntry(Call& c, uint32_t entry, uint32_t hinst, uint32_t reason, uint32_t result, uint32_t words,
                          uint32_t unmapBase = 0, uint32_t unmapSize = 0) {
        Machine& m = c.m;
        Machine::Impl& d = D(m);
        d.pendingReturns.push_back({c.ret, result, unmapBase, unmapSize});
        const uint32_t esp = m.Get(Reg::Esp) + 4 + 4 * words - 16;
        const uint32_t frame[4] = {ReturnStub(), hinst, reason, 0};
        m.Write(esp, frame, sizeof frame);
        m.Set(Reg::Esp, esp);
        m.Set(Reg::Eip, entry);
        c.redirected = true;
    }

    static uint32_t ReturnStub() {
        const auto& s = Stubs();
        for (size_t i = 0; i < s.size(); ++i)
            if (!s[i].dll) return kStubBase + uint32_t(i) * kStubSlot;
        return 0;
    }

    // Reached by the `ret` of a DLL entry CallEntry started.
    static uint32_t EntryReturned(Call& c) {
        Machine::Impl& d = D(c.m);
        if (d.pendingReturns.empty()) {
            Fail(c, "a return to the host with no call open", c.at);
            return 0;
        }
        const Machine::Impl::PendingReturn p = d.pendingReturns.back();
        d.pendingReturns.pop_back();
        if (p.unmapSize) uc_mem_unmap(d.uc, p.unmapBase, p.unmapSize);
        c.m.Set(Reg::Eax, p.result);
        c.m.Set(Reg::Eip, p.ret);
        c.redirected = true;
        return 0;
    }

    static uint32_t LoadLibraryA(Call& c) {
        Machine& m = c.m;
        Machine::Impl& d = D(m);
        std::string name;
        if (!ReadName(m, c.Arg(0), name)) return Error(c, kErrorInvalidName, 0);
        if (int k = SystemDll(name); k >= 0) return kSystemModuleBase + uint32_t(k) * kStubPage;
        d.modules.SetFolders(d.moduleFolders.empty() ? std::vector<std::string>{d.fileFolder} : d.moduleFolders);
        const std::string path = d.modules.Find(name);
        if (path.empty()) return Error(c, kErrorModNotFound, 0);
        // The same file under another name is the module already there.
        if (const uint32_t h = d.modules.Reuse(path)) return h;
        ModuleHost::Module mod;
        if (d.modules.Prepare(path, mod)) return Error(c, kErrorBadExeFormat, 0);
        std::string error;
        if (!MapImage(d.uc, mod.image, mod.size, error) || !WinApi::Bind(m, mod.image, error)) {
            uc_mem_unmap(d.uc, mod.base, mod.size);
            return Error(c, kErrorBadExeFormat, 0);
        }
        const uint32_t entry = mod.image.isDll && mod.image.entry != mod.base ? mod.image.entry : 0;
        const uint32_t h = d.modules.Add(std::move(mod));
        if (entry) CallEntry(c, entry, h, kDllProcessAttach, h, 1);
        return h;
    }

    static uint32_t GetModuleHandleA(Call& c) {
        if (!c.Arg(0)) return c.m.image_.imageBase;
        std::string name;
        if (!ReadName(c.m, c.Arg(0), name)) return Error(c, kErrorInvalidName, 0);
        if (int k = SystemDll(name); k >= 0) return kSystemModuleBase + uint32_t(k) * kStubPage;
        return Error(c, kErrorModNotFound, 0);
    }

    static uint32_t GetProcAddress(Call& c) {
        Machine& m = c.m;
        Machine::Impl& d = D(m);
        const uint32_t h = c.Arg(0);
        std::string name;
        if (c.Arg(1) < 0x10000 || !ReadName(m, c.Arg(1), name)) return Error(c, kErrorProcNotFound, 0);
        if (h >= kSystemModuleBase && h < kSystemModuleBase + std::size(kSystemDlls) * kStubPage) {
            const std::string dll = kSystemDlls[(h - kSystemModuleBase) / kStubPage];
            const auto& s = Stubs();
            for (size_t i = 0; i < s.size(); ++i)
                if (s[i].dll && Upper(s[i].dll) == dll && name == s[i].name) return kStubBase + uint32_t(i) * kStubSlot;
            return Error(c, kErrorProcNotFound, 0);
        }
        const PeImage* img = h == m.image_.imageBase ? &m.image_ : nullptr;
        if (!img) {
            const ModuleHost::Module* mod = d.modules.Get(h);
            if (!mod) return Error(c, kErrorInvalidHandle, 0);
            img = &mod->image;
        }
        auto it = img->exports.find(name);
        return it == img->exports.end() ? Error(c, kErrorProcNotFound, 0) : it->second;
    }

    static uint32_t FreeLibrary(Call& c) {
        Machine::Impl& d = D(c.m);
        const uint32_t h = c.Arg(0);
        if (h >= kSystemModuleBase && h < kSystemModuleBase + std::size(kSystemDlls) * kStubPage) return kTrue;
        const ModuleHost::Module* mod = d.modules.Get(h);
        if (!mod) return Error(c, kErrorInvalidHandle, kFalse);
        const uint32_t base = mod->base, size = mod->size;
        const uint32_t entry = mod->image.isDll && mod->image.entry != mod->base ? mod->image.entry : 0;
        if (!d.modules.Release(h)) return kTrue;
        // The entry runs before the image goes.
        if (entry) {
            CallEntry(c, entry, h, kDllProcessDetach, kTrue, 1, base, size);
            return kTrue;
        }
        uc_mem_unmap(d.uc, base, size);
        return kTrue;
    }

    // ---- USER32: the event script as the thread's messages -----------------

    // The next scripted event, once the runtime's simulated clock (its
    // rt_sim_ms) has reached it; without that symbol every event is due.
    static uint32_t PeekMessageA(Call& c) {
        Machine& m = c.m;
        if (m.nextEvent_ >= m.events_.size()) return kFalse;
        const Machine::Event& e = m.events_[m.nextEvent_];
        uint32_t clock = 0xFFFFFFFFu;
        if (auto a = m.image_.Symbol("_rt_sim_ms")) m.Read(*a, &clock, 4);
        if (e.time > clock) return kFalse;
        uint32_t msg[7] = {0, 0, 0, 0, e.time, uint32_t(e.x), uint32_t(e.y)};
        switch (e.kind) {
        case Machine::Event::Key:
            msg[1] = kWmKeyDown;
            msg[2] = kVkF1 + uint32_t(e.number) - 1;
            break;
        case Machine::Event::Mouse:
            msg[1] = e.number == 1 ? kWmLButtonDown : kWmRButtonDown;
            msg[3] = (uint32_t(e.y) & 0xFFFF) << 16 | (uint32_t(e.x) & 0xFFFF);
            break;
        case Machine::Event::Com:
            msg[1] = kWmCom;
            msg[2] = uint32_t(e.number);
            break;
        }
        if (!m.Write(c.Arg(0), msg, sizeof msg)) {
            Fail(c, "PeekMessageA with a bad buffer", c.Arg(0));
            return kFalse;
        }
        if (c.Arg(4) & kPmRemove) ++m.nextEvent_;
        return kTrue;
    }

    // The graphics window: no screen here, so the window exists only as its
    // handle; no message ever reaches it (the screen is read out of the
    // frame buffer instead, `--screen`), so nothing paints.
    static uint32_t RegisterClassA(Call&) { return kWindowClassAtom; }
    static uint32_t CreateWindowExA(Call&) { return kWindowHandle; }
    static uint32_t Succeed(Call&) { return kTrue; }
    static uint32_t NoWindow(Call&) { return 0; }

    // ---- the hook -------------------------------------------------------------

    static void OnStub(uc_engine* uc, uint64_t address, uint32_t, void* user) {
        auto* m = static_cast<Machine*>(user);
        Machine::Impl& d = *m->impl_;
        const auto& stubs = Stubs();
        const size_t i = size_t((address - kStubBase) / kStubSlot);
        if (i >= stubs.size() || (address - kStubBase) % kStubSlot) return; // hlt: a fault
        const Stub& s = stubs[i];
        Call c{*m};
        c.at = uint32_t(address);
        const uint32_t esp = m->Get(Reg::Esp);
        if (s.dll) {
            uint32_t frame[13] = {};
            if (!m->Read(esp, frame, 4 * (1 + s.words))) {
                Fail(c, std::string(s.name) + " with a bad stack", esp);
            } else {
                c.ret = frame[0];
                std::copy(frame + 1, frame + 1 + s.words, c.args);
            }
        }
        uint32_t result = 0;
        if (!c.stop) result = s.run(c);
        if (c.stop) {
            // The run stops at the stub (the emulator does not stop on a
            // moved EIP); a run continued after the stop first returns from
            // the call (after RaiseException, to the runtime's ExitProcess).
            if (c.ret) d.resume = {uint32_t(address), esp, c.ret, esp + 4 + 4 * s.words, result};
            d.stopped = true;
            uc_emu_stop(uc);
            return;
        }
        if (c.redirected) return;
        m->Set(Reg::Eax, result);
        m->Set(Reg::Esp, esp + 4 + 4 * s.words);
        m->Set(Reg::Eip, c.ret);
    }
};

namespace {

using W = WinApiCalls;

const std::vector<Stub>& Stubs() {
    static const std::vector<Stub> stubs = {
        {nullptr, "(entry returned)", 0, W::EntryReturned},
        {"KERNEL32.dll", "CloseHandle", 1, W::CloseHandle},
        {"KERNEL32.dll", "CreateFileA", 7, W::CreateFileA},
        {"KERNEL32.dll", "CreatePipe", 4, W::CreatePipe},
        {"KERNEL32.dll", "CreateProcessA", 10, W::CreateProcessA},
        {"KERNEL32.dll", "DeleteFileA", 1, W::DeleteFileA},
        {"KERNEL32.dll", "ExitProcess", 1, W::ExitProcess},
        {"KERNEL32.dll", "FreeLibrary", 1, W::FreeLibrary},
        {"KERNEL32.dll", "GetCommandLineA", 0, W::GetCommandLineA},
        {"KERNEL32.dll", "GetDiskFreeSpaceA", 5, W::GetDiskFreeSpaceA},
        {"KERNEL32.dll", "GetEnvironmentVariableA", 3, W::GetEnvironmentVariableA},
        {"KERNEL32.dll", "GetExitCodeProcess", 2, W::GetExitCodeProcess},
        {"KERNEL32.dll", "GetFileSize", 2, W::GetFileSize},
        {"KERNEL32.dll", "GetFileType", 1, W::GetFileType},
        {"KERNEL32.dll", "GetLastError", 0, W::GetLastError},
        {"KERNEL32.dll", "GetLocalTime", 1, W::GetLocalTime},
        {"KERNEL32.dll", "GetModuleHandleA", 1, W::GetModuleHandleA},
        {"KERNEL32.dll", "GetNumberOfConsoleInputEvents", 2, W::NoConsole},
        {"KERNEL32.dll", "GetProcAddress", 2, W::GetProcAddress},
        {"KERNEL32.dll", "GetStdHandle", 1, W::GetStdHandle},
        {"KERNEL32.dll", "LoadLibraryA", 1, W::LoadLibraryA},
        {"KERNEL32.dll", "MapViewOfFile", 5, W::MapViewOfFile},
        {"KERNEL32.dll", "MoveFileA", 2, W::MoveFileA},
        {"KERNEL32.dll", "OpenFileMappingA", 3, W::OpenFileMappingA},
        {"KERNEL32.dll", "PeekNamedPipe", 6, W::PeekNamedPipe},
        {"KERNEL32.dll", "RaiseException", 4, W::RaiseException},
        {"KERNEL32.dll", "ReadConsoleInputA", 4, W::NoConsole},
        {"KERNEL32.dll", "ReadFile", 5, W::ReadFile},
        {"KERNEL32.dll", "SetEndOfFile", 1, W::SetEndOfFile},
        {"KERNEL32.dll", "SetFilePointer", 4, W::SetFilePointer},
        {"KERNEL32.dll", "SetLastError", 1, W::SetLastError},
        {"KERNEL32.dll", "VirtualQuery", 3, W::VirtualQuery},
        {"KERNEL32.dll", "WaitForSingleObject", 2, W::WaitForSingleObject},
        {"KERNEL32.dll", "WriteFile", 5, W::WriteFile},
        {"USER32.dll", "AdjustWindowRect", 3, W::Succeed},
        {"USER32.dll", "BeginPaint", 2, W::NoWindow},
        {"USER32.dll", "CreateWindowExA", 12, W::CreateWindowExA},
        {"USER32.dll", "DefWindowProcA", 4, W::NoWindow},
        {"USER32.dll", "DispatchMessageA", 1, W::NoWindow},
        {"USER32.dll", "EndPaint", 2, W::Succeed},
        {"USER32.dll", "InvalidateRect", 3, W::Succeed},
        {"USER32.dll", "PeekMessageA", 5, W::PeekMessageA},
        {"USER32.dll", "RegisterClassA", 1, W::RegisterClassA},
        {"USER32.dll", "TranslateMessage", 1, W::NoWindow},
        {"USER32.dll", "UpdateWindow", 1, W::Succeed},
        {"GDI32.dll", "SetDIBitsToDevice", 12, W::NoWindow},
    };
    return stubs;
}

} // namespace

bool WinApi::Install(Machine& m, std::string& error) {
    Machine::Impl& d = *m.impl_;
    std::vector<uint8_t> page(kStubPage, kHlt);
    if (uc_mem_map(d.uc, kStubBase, kStubPage, UC_PROT_READ | UC_PROT_EXEC) != UC_ERR_OK ||
        uc_mem_write(d.uc, kStubBase, page.data(), page.size()) != UC_ERR_OK ||
        uc_mem_map(d.uc, kHostData, kHostDataSize, UC_PROT_READ) != UC_ERR_OK) {
        error = "cannot map the Windows functions";
        return false;
    }
    uc_hook_add(d.uc, &d.stubHook, UC_HOOK_CODE, reinterpret_cast<void*>(&WinApiCalls::OnStub), &m, kStubBase,
                kStubBase + kStubPage - 1);
    return true;
}

void WinApi::Resume(Machine& m) {
    Machine::Impl& d = *m.impl_;
    // Only where the call stopped: a debugger may run other code of the
    // program first (and put the thread back).
    if (!d.resume.stub || m.Get(Reg::Eip) != d.resume.stub || m.Get(Reg::Esp) != d.resume.stopEsp) return;
    m.Set(Reg::Eax, d.resume.result);
    m.Set(Reg::Esp, d.resume.esp);
    m.Set(Reg::Eip, d.resume.ret);
    d.resume = {};
}

bool WinApi::Bind(Machine& m, const PeImage& image, std::string& error) {
    const auto& stubs = Stubs();
    for (const PeImport& imp : image.imports) {
        size_t i = 0;
        while (i < stubs.size() &&
               !(stubs[i].dll && Upper(stubs[i].dll) == Upper(imp.dll) && !imp.name.empty() && imp.name == stubs[i].name))
            ++i;
        if (i == stubs.size()) {
            error = "the image imports " + imp.dll + " " +
                    (imp.name.empty() ? "ordinal " + std::to_string(imp.ordinal) : imp.name) +
                    ", which is not provided here";
            return false;
        }
        const uint32_t addr = kStubBase + uint32_t(i) * kStubSlot;
        if (uc_mem_write(m.impl_->uc, image.imageBase + imp.slot, &addr, 4) != UC_ERR_OK) {
            error = "the import table of the image lies outside it";
            return false;
        }
    }
    return true;
}

} // namespace tx::runner
