#include "link.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace tx::runner {

Toolchain FindToolchain(const std::string& argv0) {
    Toolchain tc;
    std::error_code ec;
    fs::path self = fs::read_symlink("/proc/self/exe", ec);
    if (ec) self = fs::absolute(argv0, ec);
    fs::path dir = self.parent_path();

    const char* env = std::getenv("TXCL");
    tc.txcl = env ? env : (dir / "txcl").string();
    env = std::getenv("TX_I686_LD");
    tc.ld = env ? env : TX_DEFAULT_LD;
    env = std::getenv("TXRT_LIB");
    if (env) {
        tc.runtimeLib = env;
    } else if (fs::exists(dir.parent_path() / "lib" / "libtxrt.a", ec)) {
        tc.runtimeLib = (dir.parent_path() / "lib" / "libtxrt.a").string();
    } else {
        tc.runtimeLib = TXRT_DEFAULT_LIB;
    }
    return tc;
}

int RunProcess(const std::vector<std::string>& argv, const std::string& cwd, std::string& output, int* signal) {
    output.clear();
    if (signal) *signal = 0;
    if (argv.empty()) return -1;
    int fds[2];
    if (pipe(fds) != 0) return -1;
    pid_t pid = fork();
    if (pid < 0) {
        close(fds[0]);
        close(fds[1]);
        return -1;
    }
    if (pid == 0) {
        dup2(fds[1], 1);
        dup2(fds[1], 2);
        close(fds[0]);
        close(fds[1]);
        int devnull = open("/dev/null", O_RDONLY);
        if (devnull >= 0) dup2(devnull, 0);
        if (!cwd.empty() && chdir(cwd.c_str()) != 0) _exit(127);
        std::vector<char*> args;
        for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        execvp(args[0], args.data());
        const char* msg = "cannot run ";
        (void)!write(2, msg, strlen(msg));
        (void)!write(2, argv[0].c_str(), argv[0].size());
        (void)!write(2, "\n", 1);
        _exit(127);
    }
    close(fds[1]);
    char buf[4096];
    for (;;) {
        ssize_t n = read(fds[0], buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        output.append(buf, size_t(n));
    }
    close(fds[0]);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) return -1;
    }
    if (WIFSIGNALED(status) && signal) *signal = WTERMSIG(status);
    if (!WIFEXITED(status)) return -1;
    int code = WEXITSTATUS(status);
    return code == 127 && output.rfind("cannot run ", 0) == 0 ? -1 : code;
}

std::vector<std::string> LinkCommand(const Toolchain& tc, const std::vector<std::string>& objects,
                                     const std::string& image, bool dll) {
    std::vector<std::string> cmd{tc.ld, "--no-leading-underscore", "-nostdlib"};
    // A module built as a DLL starts its own runtime in the runtime's
    // DllMain and carries base relocations, so it can go anywhere.
    if (dll)
        cmd.insert(cmd.end(), {"--shared", "--dynamicbase", "-e", "_DllMain@12", "--image-base", "0x10000000"});
    else
        cmd.insert(cmd.end(), {"-e", "$PbStartup"});
    cmd.insert(cmd.end(), {"-o", image});
    cmd.insert(cmd.end(), objects.begin(), objects.end());
    cmd.push_back(tc.runtimeLib);
    return cmd;
}

namespace {

// Why a tool gave no result: " (cannot run X)" or " (X crashed: signal N, name)".
std::string Failure(int rc, int signal, const std::string& tool) {
    if (rc >= 0) return "";
    if (!signal) return " (cannot run " + tool + ")";
    const char* name = strsignal(signal);
    return " (" + tool + " crashed: signal " + std::to_string(signal) + (name ? std::string(", ") + name : "") + ")";
}

} // namespace

bool CompileModule(const Toolchain& tc, const std::string& source, const std::string& object,
                   const std::string& workDir, std::string& error, const std::vector<std::string>& options) {
    std::error_code ec;
    std::string src = fs::absolute(source, ec).string();
    std::string obj = fs::absolute(object, ec).string();
    std::string out;
    // In the source's folder, as a person would run it, so that relative
    // includes resolve as they do there.
    std::string cwd = fs::path(src).parent_path().string();
    std::vector<std::string> argv{tc.txcl};
    argv.insert(argv.end(), options.begin(), options.end());
    argv.push_back("/Fo" + obj);
    argv.push_back(src);
    int signal = 0;
    int rc = RunProcess(argv, cwd.empty() ? workDir : cwd, out, &signal);
    if (rc != 0 || !fs::exists(obj, ec)) {
        error = "compiling " + source + " failed" + Failure(rc, signal, tc.txcl) +
                (out.empty() ? std::string() : ":\n" + out);
        return false;
    }
    return true;
}

bool LinkImage(const Toolchain& tc, const std::vector<std::string>& objects, const std::string& image,
               std::string& error, bool dll) {
    std::string out;
    int signal = 0;
    int rc = RunProcess(LinkCommand(tc, objects, image, dll), "", out, &signal);
    std::error_code ec;
    if (rc != 0 || !fs::exists(image, ec)) {
        error = "linking failed" + Failure(rc, signal, tc.ld) +
                (out.empty() ? std::string() : ":\n" + out);
        return false;
    }
    return true;
}

} // namespace tx::runner
