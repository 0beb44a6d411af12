#include "crashguard.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#ifndef _WIN32
#include <unistd.h>
#endif

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

int g_calls = 0;
tx::CrashInfo g_info{};

void CountCrash(const tx::CrashInfo &info, void *context) {
    ++g_calls;
    g_info = info;
    *static_cast<int *>(context) += 1;
}

#ifdef _WIN32

LPTOP_LEVEL_EXCEPTION_FILTER CurrentFilter() {
    LPTOP_LEVEL_EXCEPTION_FILTER f = SetUnhandledExceptionFilter(nullptr);
    SetUnhandledExceptionFilter(f);
    return f;
}

// The filter is in place only while the guard lives, runs the handler
// with the exception's code, and ends the process as an unhandled
// exception would.
TEST(CrashGuard, FilterInstalledForTheScope) {
    LPTOP_LEVEL_EXCEPTION_FILTER before = CurrentFilter();
    int context = 0;
    {
        tx::CrashGuard guard(CountCrash, &context);
        LPTOP_LEVEL_EXCEPTION_FILTER filter = CurrentFilter();
        ASSERT_NE(filter, before);
        EXCEPTION_RECORD record{};
        record.ExceptionCode = EXCEPTION_ACCESS_VIOLATION;
        record.ExceptionFlags = EXCEPTION_NONCONTINUABLE;
        EXCEPTION_POINTERS pointers{&record, nullptr};
        EXPECT_EQ(filter(&pointers), EXCEPTION_CONTINUE_SEARCH);
        EXPECT_EQ(context, 1);
        EXPECT_EQ(g_info.code, static_cast<uint32_t>(EXCEPTION_ACCESS_VIOLATION));
        EXPECT_EQ(g_info.flags, static_cast<uint32_t>(EXCEPTION_NONCONTINUABLE));
    }
    EXPECT_EQ(CurrentFilter(), before);
}

#else

// The handler runs once, then the signal takes its course: the process
// still dies of it.
TEST(CrashGuardDeathTest, HandlerRunsThenTheProcessDies) {
    EXPECT_EXIT(
        {
            // The default action, also where a sanitizer has a handler.
            std::signal(SIGSEGV, SIG_DFL);
            int context = 0;
            tx::CrashGuard guard(
                [](const tx::CrashInfo &info, void *) {
                    std::fprintf(stderr, "crashed with %u\n", static_cast<unsigned>(info.code));
                },
                &context);
            std::raise(SIGSEGV);
        },
        ::testing::KilledBySignal(SIGSEGV), "crashed with 11");
}

// What was there before the guard (a sanitizer's report, say) still gets the
// signal after the guard's handler: a fault of an instruction, and a signal
// sent to the process.
TEST(CrashGuardDeathTest, PreviousHandlerGetsTheSignalAfterwards) {
    for (bool sent : {false, true}) {
        SCOPED_TRACE(sent ? "sent" : "fault");
        EXPECT_EXIT(
            {
                struct sigaction previous {};
                previous.sa_handler = [](int) {
                    const char text[] = "previous handler\n";
                    (void)!write(2, text, sizeof text - 1);
                    _exit(3);
                };
                sigaction(SIGSEGV, &previous, nullptr);
                int context = 0;
                tx::CrashGuard guard(
                    [](const tx::CrashInfo &, void *) { std::fprintf(stderr, "guard handler\n"); }, &context);
                if (sent) {
                    std::raise(SIGSEGV);
                } else {
                    // Not null itself, which a sanitizer would catch first.
                    volatile uintptr_t nowhere = 16;
                    *reinterpret_cast<volatile int *>(nowhere) = 1;
                }
            },
            ::testing::ExitedWithCode(3), "guard handler\nprevious handler");
    }
}

TEST(CrashGuard, PreviousActionsComeBack) {
    struct sigaction before {};
    sigaction(SIGFPE, nullptr, &before);
    int context = 0;
    {
        tx::CrashGuard guard(CountCrash, &context);
        struct sigaction during {};
        sigaction(SIGFPE, nullptr, &during);
        EXPECT_NE(during.sa_sigaction, before.sa_sigaction);
    }
    struct sigaction after {};
    sigaction(SIGFPE, nullptr, &after);
    EXPECT_EQ(after.sa_handler, before.sa_handler);
    EXPECT_EQ(context, 0);
}

#endif

}  // namespace
