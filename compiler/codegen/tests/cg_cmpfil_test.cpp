// The library's entry point as the driver binds it.
#include <gtest/gtest.h>

#include "passes.h"

#ifdef _WIN32
#include <windows.h>

namespace {
LONG WINAPI CallerFilter(EXCEPTION_POINTERS *) { return EXCEPTION_CONTINUE_SEARCH; }
} // namespace
#endif

// A failing call reports through the block and leaves the caller's crash
// filter in place.
TEST(CgCmpFil, FailureIsReportedAndTheCallersFilterRestored) {
#ifdef _WIN32
    SetUnhandledExceptionFilter(CallerFilter);
#endif
    char pcode[] = "no-such-intermediate.tmp";
    char object[] = "never-written.obj";
    char source[] = "MAIN.BAS";
    CmpFilParam p{};
    p.pcode_filename = pcode;
    p.Fo_filename = object;
    p.srcfilename = source;
    EXPECT_EQ(CG_CmpFil(&p), 0);
    EXPECT_EQ(p.err_code, 11u);
    EXPECT_EQ(p.err_detail, 516u);
#ifdef _WIN32
    EXPECT_EQ(SetUnhandledExceptionFilter(nullptr), &CallerFilter);
#endif
}
