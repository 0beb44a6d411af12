// The real driver's work files: where they go and that an interruption
// leaves none behind. A FIFO as the source holds the driver in the
// preprocessor, after the temporaries exist, for as long as the test likes.
#ifndef _WIN32
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class TxclWorkFiles : public ::testing::Test {
protected:
    void SetUp() override {
        // Other tests here point TMPDIR elsewhere: the current folder instead.
        dir_ = fs::absolute("txcl_work_" + std::to_string(::getpid()));
        fs::remove_all(dir_);
        fs::create_directories(dir_ / "tmp");
    }
    void TearDown() override { fs::remove_all(dir_); }

    // Starts txcl in dir_ with TMP=dir_/tmp and extra environment.
    pid_t Start(const std::vector<std::string> &args, const std::vector<std::string> &env = {}) {
        pid_t pid = fork();
        if (pid == 0) {
            if (chdir(dir_.c_str()) != 0)
                _exit(126);
            setenv("TMP", (dir_ / "tmp").c_str(), 1);
            for (const std::string &e : env)
                putenv(const_cast<char *>(e.c_str()));
            int devnull = open("/dev/null", O_WRONLY);
            dup2(devnull, 1);
            std::vector<char *> argv{const_cast<char *>(TXCL_PROGRAM)};
            for (const std::string &a : args)
                argv.push_back(const_cast<char *>(a.c_str()));
            argv.push_back(nullptr);
            execv(argv[0], argv.data());
            _exit(127);
        }
        return pid;
    }
    std::vector<std::string> TmpFiles() {
        std::vector<std::string> names;
        for (const auto &e : fs::directory_iterator(dir_ / "tmp"))
            names.push_back(e.path().filename().string());
        return names;
    }
    // Starts txcl on a FIFO source and returns once it waits in the
    // preprocessor with its three temporaries made, or -1. The source check
    // opens the FIFO first; the preprocessor's open then waits for a writer
    // that never comes. Under load the preprocessor can still open while the
    // test's writer is open and run on an empty source: that run ends by
    // itself, and the attempt is made again.
    pid_t StartHeld() {
        fs::path fifo = dir_ / "SRC.BAS";
        for (int attempt = 0; attempt < 5; ++attempt) {
            fs::remove(fifo);
            for (const std::string &f : TmpFiles())
                fs::remove(dir_ / "tmp" / f);
            if (mkfifo(fifo.c_str(), 0666) != 0)
                return -1;
            pid_t pid = Start({"/nologo", "SRC.BAS"});
            if (WaitForReaderAndLeave(fifo, pid) && WaitHeld(pid))
                return pid;
            if (waitpid(pid, nullptr, WNOHANG) == 0) {
                kill(pid, SIGKILL);
                waitpid(pid, nullptr, 0);
            }
        }
        return -1;
    }
    // Opens the FIFO for writing without blocking, so the writer is open only
    // for the moment between this open and its close.
    static bool WaitForReaderAndLeave(const fs::path &fifo, pid_t pid) {
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (std::chrono::steady_clock::now() < deadline) {
            int w = open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
            if (w >= 0) {
                close(w);
                return true;
            }
            if (waitpid(pid, nullptr, WNOHANG) == pid)
                return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return false;
    }
    // Held: three temporaries, and still alive and unchanged a moment later.
    bool WaitHeld(pid_t pid) {
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (std::chrono::steady_clock::now() < deadline) {
            if (waitpid(pid, nullptr, WNOHANG) == pid)
                return false;
            if (TmpFiles().size() == 3) {
                std::this_thread::sleep_for(std::chrono::milliseconds(200));
                if (waitpid(pid, nullptr, WNOHANG) == pid)
                    return false;
                if (TmpFiles().size() == 3)
                    return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return false;
    }
    fs::path dir_;
};

TEST_F(TxclWorkFiles, InterruptionRemovesTheTemporaries) {
    for (int sig : {SIGINT, SIGTERM, SIGHUP}) {
        SCOPED_TRACE(strsignal(sig));
        pid_t pid = StartHeld();
        ASSERT_GT(pid, 0) << "txcl never stayed in the preprocessor";
        EXPECT_EQ(TmpFiles().size(), 3u);
        kill(pid, sig);
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == sig) << status;
        EXPECT_EQ(TmpFiles(), std::vector<std::string>{});
        for (const std::string &f : TmpFiles())
            fs::remove(dir_ / "tmp" / f);
    }
}

// The analyzer's work file goes to TMP like the driver's, not to TMPDIR
// (here a folder no file can be made in), and is gone at the end.
TEST_F(TxclWorkFiles, AnalyzerWorkFileGoesToTmp) {
    std::ofstream(dir_ / "ENDONLY.BAS", std::ios::binary) << "PRINT 1\r\nEND\r\n";
    pid_t pid = Start({"/nologo", "/FoENDONLY.OBJ", "ENDONLY.BAS"}, {"TMPDIR=/proc"});
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_TRUE(fs::exists(dir_ / "ENDONLY.OBJ"));
    EXPECT_EQ(TmpFiles(), std::vector<std::string>{});
}

}  // namespace
#endif
