#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "system_host.h"

extern char **environ;

namespace nmk {
namespace {

// Splits a command line into arguments as a Windows program's start-up
// code does: blanks outside quotes separate, 2n backslashes before a quote
// give n and the quote groups, 2n+1 give n and a literal quote.
std::vector<std::string> CommandArgs(const std::string &line) {
    std::vector<std::string> args;
    std::string arg;
    bool quoted = false, any = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        char c = line[i];
        if (c == '\\') {
            std::size_t n = 0;
            while (i < line.size() && line[i] == '\\') {
                ++n;
                ++i;
            }
            if (i < line.size() && line[i] == '"') {
                arg.append(n / 2, '\\');
                if (n % 2) {
                    arg += '"';
                } else {
                    quoted = !quoted;
                }
            } else {
                arg.append(n, '\\');
                --i;
            }
            any = true;
        } else if (c == '"') {
            quoted = !quoted;
            any = true;
        } else if ((c == ' ' || c == '\t') && !quoted) {
            if (any)
                args.push_back(arg);
            arg.clear();
            any = false;
        } else {
            arg += c;
            any = true;
        }
    }
    if (any)
        args.push_back(arg);
    return args;
}

class PosixHost : public MakeHost {
public:
    std::optional<std::int64_t> FileTime(const std::string &path) override {
        struct stat st;
        if (stat(path.c_str(), &st) != 0)
            return std::nullopt;
        return static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    }

    std::string WriteTempFile(const std::string &bytes) override {
        const char *dir = std::getenv("TMP");
        if (!dir || !*dir)
            dir = std::getenv("TMPDIR");
        std::string name = std::string(dir && *dir ? dir : "/tmp") + "/nmXXXXXX";
        std::vector<char> buf(name.begin(), name.end());
        buf.push_back('\0');
        int fd = mkstemp(buf.data());
        if (fd < 0)
            return {};
        bool ok = write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
        close(fd);
        if (!ok) {
            unlink(buf.data());
            return {};
        }
        return buf.data();
    }

    void RemoveFile(const std::string &path) override { unlink(path.c_str()); }

    std::optional<std::uint32_t> Run(const std::string &command_line) override {
        std::vector<std::string> args = CommandArgs(command_line);
        if (args.empty())
            return std::nullopt;
        std::vector<char *> argv;
        for (std::string &a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        pid_t pid;
        if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0)
            return std::nullopt;
        int status = 0;
        if (waitpid(pid, &status, 0) < 0 || !WIFEXITED(status))
            return 0xFFFFFFFFu;
        int code = WEXITSTATUS(status);
        // Only 8 bits of an exit code survive here: TXCL's -1 arrives as 255.
        return code == 255 ? 0xFFFFFFFFu : static_cast<std::uint32_t>(code);
    }

    void Out(const std::string &line) override { Write(stdout, line); }
    void Err(const std::string &line) override { Write(stderr, line); }

private:
    static void Write(FILE *f, const std::string &line) {
        std::string text = line + "\r\n";
        std::fwrite(text.data(), 1, text.size(), f);
        std::fflush(f);
    }
};

}  // namespace

std::unique_ptr<MakeHost> NewSystemHost() { return std::make_unique<PosixHost>(); }

}  // namespace nmk
