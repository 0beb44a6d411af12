// basrun: runs a BASIC program in the i386 emulator.
//   basrun [options] PROGRAM.EXE          a linked image
//   basrun [options] MAIN.BAS [MOD.SUB ...] compiled with txcl, linked, run
//   basrun --debug SCRIPT PROGRAM ...       run under the debugger engine
//   --dll MOD.SUB (any number) builds a module as a DLL beside the program.
// Exit status: the program's own on a normal end, 1 when it failed (run-time
// error, fault, unbalanced stack, limit), 2 when it could not be built or
// loaded or the command line is wrong.
#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "debug_script.h"
#include "errrecord.h"
#include "link.h"
#include "machine.h"
#include "screen.h"

namespace fs = std::filesystem;
using namespace tx::runner;

namespace {

void Usage() {
    std::fprintf(stderr,
                 "usage: basrun [options] PROGRAM.EXE\n"
                 "       basrun [options] MAIN.BAS [MODULE.SUB ...]\n"
                 "  --limit N        stop after N instructions (default 200000000, 0: none)\n"
                 "  --timeout S      stop after S seconds (default 60, 0: none)\n"
                 "  --dir D          the folder of the program's files (default: the current one)\n"
                 "  --keep           keep the objects and the image and print their folder\n"
                 "  --debug SCRIPT   run under the debugger, driven by SCRIPT (sources are\n"
                 "                   compiled with /Zi); commands, one a line: break FILE LINE\n"
                 "                   [COUNT], disable FILE LINE, go, trace, pass, cursor FILE LINE,\n"
                 "                   watch EXPR (printed at each stop), stop, end\n"
                 "  --error-record F after a run-time error or a fault, write the error record\n"
                 "                   the runtime leaves in the registry to F (a REGEDIT4 file)\n"
                 "  --clock T        a fixed clock for the program: \"YYYY-MM-DD hh:mm:ss[.mmm]\"\n"
                 "  --args TEXT      what COMMAND$ returns\n"
                 "  --env NAME[=V]   a variable ENVIRON$ finds: V, or without it the value\n"
                 "                   basrun has (may be repeated); the program sees no other\n"
                 "  --trace F        write each runtime routine the program calls, with its\n"
                 "                   stack words (decimal), one a line to F (\"-\": stderr)\n"
                 "  --screen F       write the graphics screen at the end of the run to F (PNG)\n"
                 "  --events F       events for ON KEY / MOUSE / COM GOSUB, one a line: MS key N,\n"
                 "                   MS mouse BUTTON X Y, MS com N (MS: milliseconds of the\n"
                 "                   simulated clock, one a statement and WAIT's times)\n"
                 "  --printer F      the printer: LPRINT and its family write to F (lines end\n"
                 "                   with CR LF); without it they print on the console\n"
                 "  --shell F        the commands SHELL may run, one a line: COMMAND, a tab,\n"
                 "                   its result (RTN after it), a tab, what it prints (\\n a\n"
                 "                   line end, \\t a tab, \\\\ a backslash); any other command\n"
                 "                   is refused (error 75), as it is without the option\n"
                 "  --dll SOURCE     compile SOURCE with /MWD and link it as NAME.DLL beside\n"
                 "                   the program, for its DLL calls and LOADM (may be repeated);\n"
                 "                   module images are looked for beside the program, then in\n"
                 "                   the file folder\n"
                 "Console input (INPUT, LINE INPUT, INKEY$, INPUT$) comes from standard input.\n");
}

bool IsSource(const std::string& path) {
    std::string ext = fs::path(path).extension().string();
    for (char& c : ext) c = char(std::toupper(static_cast<unsigned char>(c)));
    return ext == ".BAS" || ext == ".SUB" || ext == ".FRM";
}

bool ParseCount(const char* s, uint64_t& out) {
    char* end = nullptr;
    errno = 0;
    unsigned long long v = std::strtoull(s, &end, 10);
    if (!*s || *end || errno || s[0] == '-') return false;
    out = v;
    return true;
}

// Compiles and links the sources into dir/<main>.exe.
bool Build(const std::vector<std::string>& sources, const std::string& argv0, const fs::path& dir,
           std::string& image, std::string& error, bool debugInfo) {
    Toolchain tc = FindToolchain(argv0);
    std::vector<std::string> objects;
    for (const std::string& src : sources) {
        std::error_code ec;
        if (!fs::is_regular_file(src, ec)) {
            error = "cannot open " + src;
            return false;
        }
        std::string obj = (dir / (fs::path(src).stem().string() + ".obj")).string();
        if (!CompileModule(tc, src, obj, dir.string(), error,
                           debugInfo ? std::vector<std::string>{"/Zi"} : std::vector<std::string>{}))
            return false;
        objects.push_back(obj);
    }
    image = (dir / (fs::path(sources.front()).stem().string() + ".exe")).string();
    return LinkImage(tc, objects, image, error);
}

// The event script: "MS key N", "MS mouse BUTTON X Y", "MS com N" a line;
// blank lines and lines from "#" are left out. Sorted by time, in the order
// written where times are equal.
bool ReadEvents(const std::string& path, std::vector<Machine::Event>& out, std::string& bad) {
    std::ifstream in(path);
    if (!in) {
        bad = "cannot read it";
        return false;
    }
    std::string line;
    int n = 0;
    while (std::getline(in, line)) {
        ++n;
        if (auto h = line.find('#'); h != std::string::npos) line.erase(h);
        std::istringstream ls(line);
        std::string kind;
        long long ms = 0;
        if (!(ls >> ms)) {
            if (line.find_first_not_of(" \t\r") == std::string::npos) continue;
            bad = "line " + std::to_string(n) + ": no time";
            return false;
        }
        Machine::Event e;
        e.time = uint32_t(ms);
        bool ok = ms >= 0 && ms <= 0xFFFFFFFFLL && (ls >> kind >> e.number);
        if (ok && kind == "key") e.kind = Machine::Event::Key;
        else if (ok && kind == "com") e.kind = Machine::Event::Com;
        else if (ok && kind == "mouse") {
            e.kind = Machine::Event::Mouse;
            ok = bool(ls >> e.x >> e.y);
        } else ok = false;
        std::string rest;
        if (!ok || (ls >> rest)) {
            bad = "line " + std::to_string(n) + ": not an event";
            return false;
        }
        out.push_back(e);
    }
    std::stable_sort(out.begin(), out.end(), [](const Machine::Event& a, const Machine::Event& b) { return a.time < b.time; });
    return true;
}

// The command table of SHELL: "COMMAND<tab>RESULT[<tab>OUTPUT]" a line, the
// command as written (its bytes), the output with \n, \t and \\ escapes;
// blank lines and lines from "#" at their start are left out.
bool ReadShellTable(const std::string& path, std::map<std::string, Machine::ShellCommand>& out, std::string& bad) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        bad = "cannot read it";
        return false;
    }
    std::string line;
    for (int n = 1; std::getline(in, line); ++n) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        const size_t t1 = line.find('\t');
        const size_t t2 = t1 == std::string::npos ? t1 : line.find('\t', t1 + 1);
        const std::string result = t1 == std::string::npos ? "" : line.substr(t1 + 1, t2 - t1 - 1);
        char* end = nullptr;
        errno = 0;
        const long long v = std::strtoll(result.c_str(), &end, 10);
        if (t1 == 0 || result.empty() || *end || errno || v < INT32_MIN || v > INT32_MAX) {
            bad = "line " + std::to_string(n) + ": not COMMAND, a tab and a result";
            return false;
        }
        Machine::ShellCommand c;
        c.result = int32_t(v);
        if (t2 != std::string::npos) {
            for (size_t i = t2 + 1; i < line.size(); ++i) {
                char ch = line[i];
                if (ch == '\\' && i + 1 < line.size()) {
                    const char e = line[++i];
                    ch = e == 'n' ? '\n' : e == 't' ? '\t' : e;
                }
                c.output.push_back(ch);
            }
        }
        if (!out.emplace(line.substr(0, t1), c).second) {
            bad = "line " + std::to_string(n) + ": the command is listed twice";
            return false;
        }
    }
    return true;
}

// Compiles a module with /MWD and links it as dir/<NAME>.DLL.
bool BuildDll(const std::string& source, const std::string& argv0, const fs::path& dir, std::string& error) {
    Toolchain tc = FindToolchain(argv0);
    std::error_code ec;
    if (!fs::is_regular_file(source, ec)) {
        error = "cannot open " + source;
        return false;
    }
    std::string stem = fs::path(source).stem().string();
    std::string obj = (dir / (stem + ".dllobj")).string();
    if (!CompileModule(tc, source, obj, dir.string(), error, {"/MWD"})) return false;
    for (char& c : stem) c = char(std::toupper(static_cast<unsigned char>(c)));
    return LinkImage(tc, {obj}, (dir / (stem + ".DLL")).string(), error, true);
}

pid_t g_runner = 0;

void Forward(int sig) {
    if (g_runner > 0) kill(g_runner, sig);
}

// The work folder goes whatever way the run ends, a crash of basrun's own
// included: the run goes on in a child process, and this one waits, removes
// the folder and passes the status on. True in this (the waiting) process,
// with the status to end with; false in the child, or when no child could
// be started (the run goes on here).
bool GuardWorkFolder(const fs::path& workDir, bool keep, int& status) {
    std::fflush(nullptr);
    g_runner = fork();
    if (g_runner <= 0) return false;
    struct sigaction sa {};
    sa.sa_handler = Forward;
    sigemptyset(&sa.sa_mask);
    for (int sig : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) sigaction(sig, &sa, nullptr);
    int wstatus = 0;
    while (waitpid(g_runner, &wstatus, 0) < 0 && errno == EINTR) {
    }
    if (!keep) {
        std::error_code ec;
        fs::remove_all(workDir, ec);
    }
    if (WIFEXITED(wstatus)) {
        status = WEXITSTATUS(wstatus);
    } else {
        std::fprintf(stderr, "basrun: the run ended with signal %d\n", WIFSIGNALED(wstatus) ? WTERMSIG(wstatus) : 0);
        status = 1;
    }
    return true;
}

// "--env NAME=VALUE", or "--env NAME" for the value basrun has (none when
// it has none).
bool AddVariable(const std::string& arg, std::map<std::string, std::string>& env) {
    const size_t eq = arg.find('=');
    const std::string name = arg.substr(0, eq);
    if (name.empty()) return false;
    if (eq != std::string::npos) {
        env[name] = arg.substr(eq + 1);
    } else if (const char* v = std::getenv(name.c_str())) {
        env[name] = v;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    Limits limits;
    bool keep = false;
    std::string script;
    std::string recordPath;
    std::string fileFolder;
    std::string commandLine, tracePath, printerPath, screenPath, eventsPath, shellPath;
    Machine::Clock clock;
    bool fixedClock = false;
    std::vector<std::string> files, dlls;
    std::map<std::string, std::string> environment;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--limit" || a == "--timeout") {
            uint64_t v = 0;
            if (i + 1 >= argc || !ParseCount(argv[i + 1], v) || (a == "--timeout" && v > 1000000)) {
                std::fprintf(stderr, "basrun: %s needs a number\n", a.c_str());
                return 2;
            }
            ++i;
            if (a == "--limit") limits.instructions = v;
            else limits.microseconds = v * 1000000;
        } else if (a == "--debug") {
            if (i + 1 >= argc) {
                std::fprintf(stderr, "basrun: --debug needs a script\n");
                return 2;
            }
            script = argv[++i];
        } else if (a == "--error-record") {
            if (i + 1 >= argc) {
                std::fprintf(stderr, "basrun: --error-record needs a file\n");
                return 2;
            }
            recordPath = argv[++i];
        } else if (a == "--dir") {
            if (i + 1 >= argc || !fs::is_directory(argv[i + 1])) {
                std::fprintf(stderr, "basrun: --dir needs a folder\n");
                return 2;
            }
            fileFolder = argv[++i];
        } else if (a == "--clock") {
            int n = 0;
            if (i + 1 < argc)
                n = std::sscanf(argv[i + 1], "%d-%d-%d %d:%d:%d.%d", &clock.year, &clock.month, &clock.day,
                                &clock.hour, &clock.minute, &clock.second, &clock.millisecond);
            if (n < 6 || clock.month < 1 || clock.month > 12 || clock.day < 1 || clock.day > 31 ||
                clock.hour > 23 || clock.minute > 59 || clock.second > 59 || clock.millisecond > 999) {
                std::fprintf(stderr, "basrun: --clock needs \"YYYY-MM-DD hh:mm:ss[.mmm]\"\n");
                return 2;
            }
            fixedClock = true;
            ++i;
        } else if (a == "--screen" || a == "--events") {
            if (i + 1 >= argc) {
                std::fprintf(stderr, "basrun: %s needs a file\n", a.c_str());
                return 2;
            }
            (a == "--screen" ? screenPath : eventsPath) = argv[++i];
        } else if (a == "--shell") {
            if (i + 1 >= argc) {
                std::fprintf(stderr, "basrun: --shell needs a file\n");
                return 2;
            }
            shellPath = argv[++i];
        } else if (a == "--printer") {
            if (i + 1 >= argc) {
                std::fprintf(stderr, "basrun: --printer needs a file\n");
                return 2;
            }
            printerPath = argv[++i];
        } else if (a == "--args" || a == "--trace") {
            if (i + 1 >= argc) {
                std::fprintf(stderr, "basrun: %s needs a value\n", a.c_str());
                return 2;
            }
            (a == "--args" ? commandLine : tracePath) = argv[++i];
        } else if (a == "--env") {
            if (i + 1 >= argc || !AddVariable(argv[i + 1], environment)) {
                std::fprintf(stderr, "basrun: --env needs NAME or NAME=VALUE\n");
                return 2;
            }
            ++i;
        } else if (a == "--dll") {
            if (i + 1 >= argc || !IsSource(argv[i + 1])) {
                std::fprintf(stderr, "basrun: --dll needs a .bas, .sub or .frm source\n");
                return 2;
            }
            dlls.push_back(argv[++i]);
        } else if (a == "--keep") {
            keep = true;
        } else if (a == "--help" || a == "-h") {
            Usage();
            return 0;
        } else if (a.size() > 1 && a[0] == '-') {
            std::fprintf(stderr, "basrun: unknown option %s\n", a.c_str());
            Usage();
            return 2;
        } else {
            files.push_back(a);
        }
    }
    if (files.empty()) {
        Usage();
        return 2;
    }
    if (!limits.instructions && !limits.microseconds) {
        std::fprintf(stderr, "basrun: --limit 0 and --timeout 0 together could run forever\n");
        return 2;
    }

    std::map<std::string, Machine::ShellCommand> shellTable;
    if (!shellPath.empty()) {
        std::string bad;
        if (!ReadShellTable(shellPath, shellTable, bad)) {
            std::fprintf(stderr, "basrun: %s: %s\n", shellPath.c_str(), bad.c_str());
            return 2;
        }
    }

    std::string imagePath;
    fs::path workDir;
    bool sources = IsSource(files.front());
    if (sources || !dlls.empty()) {
        std::string tmpl = (fs::temp_directory_path() / "basrun.XXXXXX").string();
        if (!mkdtemp(tmpl.data())) {
            std::fprintf(stderr, "basrun: cannot create a work folder\n");
            return 2;
        }
        workDir = tmpl;
        if (int status = 0; GuardWorkFolder(workDir, keep, status)) return status;
    }
    for (const std::string& d : dlls) {
        std::string error;
        if (!BuildDll(d, argv[0], workDir, error)) {
            std::fprintf(stderr, "basrun: %s\n", error.c_str());
            if (!keep) fs::remove_all(workDir);
            return 2;
        }
    }
    if (sources) {
        for (const std::string& f : files) {
            if (!IsSource(f)) {
                std::fprintf(stderr, "basrun: %s is not a .bas, .sub or .frm source\n", f.c_str());
                return 2;
            }
        }
        std::string error;
        if (!Build(files, argv[0], workDir, imagePath, error, !script.empty())) {
            std::fprintf(stderr, "basrun: %s\n", error.c_str());
            if (!keep) fs::remove_all(workDir);
            return 2;
        }
        if (keep) std::fprintf(stderr, "basrun: objects and image kept in %s\n", workDir.c_str());
    } else if (files.size() != 1) {
        std::fprintf(stderr, "basrun: give one image, or BASIC sources\n");
        return 2;
    } else {
        imagePath = files.front();
    }

    int status = 2;
    if (!script.empty()) {
        std::string objFolder = sources ? workDir.string() : fs::path(imagePath).parent_path().string();
        status = RunDebugScript(script, imagePath, objFolder, limits.microseconds, stdout);
    } else {
        PeImage image;
        std::string error;
        Machine machine;
        if (!ReadPeFile(imagePath, image, error) || !machine.Load(image, error)) {
            std::fprintf(stderr, "basrun: %s\n", error.c_str());
        } else {
            machine.SetOutput([](const char* p, size_t n) { std::fwrite(p, 1, n, stdout); });
            if (!fileFolder.empty()) machine.SetFileFolder(fileFolder);
            std::vector<std::string> moduleFolders{fs::absolute(imagePath).parent_path().string()};
            if (!workDir.empty()) moduleFolders.push_back(workDir.string());
            moduleFolders.push_back(fileFolder.empty() ? fs::current_path().string() : fileFolder);
            machine.SetModuleFolders(moduleFolders);
            machine.SetInput([]() { return std::getchar(); });
            machine.SetCommandLine(commandLine);
            machine.SetEnvironment(environment);
            if (fixedClock) machine.SetClock(clock);
            if (!eventsPath.empty()) {
                std::vector<Machine::Event> events;
                std::string bad;
                if (!ReadEvents(eventsPath, events, bad)) {
                    std::fprintf(stderr, "basrun: %s: %s\n", eventsPath.c_str(), bad.c_str());
                    return 2;
                }
                machine.SetEvents(std::move(events));
            }
            machine.SetShellCommands(std::move(shellTable));
            std::FILE* printer = nullptr;
            if (!printerPath.empty()) {
                printer = std::fopen(printerPath.c_str(), "wb");
                if (!printer) std::fprintf(stderr, "basrun: cannot write %s\n", printerPath.c_str());
            }
            if (printer)
                machine.SetPrinter([printer](const char* p, size_t n) {
                    for (size_t k = 0; k < n; ++k) {
                        if (p[k] == '\n') std::fputc('\r', printer);
                        std::fputc(p[k], printer);
                    }
                });
            std::FILE* trace = nullptr;
            if (!tracePath.empty()) {
                trace = tracePath == "-" ? stderr : std::fopen(tracePath.c_str(), "w");
                if (!trace) std::fprintf(stderr, "basrun: cannot write %s\n", tracePath.c_str());
            }
            if (trace) {
                machine.SetTrace([trace](const std::string& routine, const std::vector<uint32_t>& words) {
                    std::fputs(routine.c_str(), trace);
                    for (uint32_t w : words) std::fprintf(trace, " %d", int32_t(w));
                    std::fputc('\n', trace);
                });
            }
            Stop stop = machine.Run(limits);
            if (trace && trace != stderr) std::fclose(trace);
            if (printer) std::fclose(printer);
            std::fflush(stdout);
            if (!screenPath.empty()) {
                Screen screen;
                ReadScreen(machine, screen);
                const std::string png = EncodePng(screen);
                std::FILE* f = std::fopen(screenPath.c_str(), "wb");
                if (!f || std::fwrite(png.data(), 1, png.size(), f) != png.size())
                    std::fprintf(stderr, "basrun: cannot write %s\n", screenPath.c_str());
                if (f) std::fclose(f);
            }
            if (stop.kind == StopKind::Exited) {
                status = stop.exitCode & 0xFF;
            } else {
                std::fprintf(stderr, "basrun: %s\n", machine.Describe(stop, limits).c_str());
                status = 1;
                std::string record = ErrorRecordFile(stop, machine.CurrentModule(), std::time(nullptr));
                if (!recordPath.empty() && !record.empty()) {
                    std::FILE* f = std::fopen(recordPath.c_str(), "wb");
                    if (!f || std::fwrite(record.data(), 1, record.size(), f) != record.size()) {
                        std::fprintf(stderr, "basrun: cannot write %s\n", recordPath.c_str());
                    }
                    if (f) std::fclose(f);
                }
            }
        }
    }
    if (!workDir.empty() && !keep) {
        std::error_code ec;
        fs::remove_all(workDir, ec);
    }
    return status;
}
