#include "childrun.h"

#include <gtest/gtest.h>

namespace {

using tambrix::ChildResult;
using tambrix::ChildStatus;

TEST(QuoteArgument, AsTheRuntimeSplitsIt) {
    struct Case {
        const char* arg;
        const char* quoted;
    } cases[] = {
        {"C:\\My Forms\\DEMO.RC", "\"C:\\My Forms\\DEMO.RC\""},
        {"", "\"\""},
        {"a\"b", "\"a\\\"b\""},
        {"C:\\dir\\", "\"C:\\dir\\\\\""},          // the closing quote stays a quote
        {"x\\\"y", "\"x\\\\\\\"y\""},              // backslash then quote
        {"\\\\server\\share", "\"\\\\server\\share\""},  // leading pair untouched
        {"\x83\x5C.rc", "\"\x83\x5C.rc\""},        // a trail byte 0x5C is no quote's escape
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arg);
        EXPECT_EQ(tambrix::QuoteArgument(c.arg), c.quoted);
    }
}

TEST(OutputLines, EveryLineEnd) {
    struct Case {
        const char* text;
        std::vector<std::string> lines;
    } cases[] = {
        {"", {}},
        {"one", {"one"}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\nb", {"a", "b"}},
        {"a\rb\r", {"a", "b"}},
        {"a\r\n\r\nb", {"a", "", "b"}},
        {"\n", {""}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::string(c.text)));
        EXPECT_EQ(tambrix::OutputLines(c.text), c.lines);
    }
}

TEST(ChildVerdict, ExitCodeDecidesNotTheWords) {
    struct Case {
        const char* name;
        ChildStatus status;
        uint32_t exitCode;
        bool outputFailed;
        bool rcOk, makeOk;
    } cases[] = {
        {"ran, exit 0", ChildStatus::kRan, 0, false, true, true},
        {"ran, exit 1", ChildStatus::kRan, 1, false, false, false},
        {"ran, exit 0, a tool's message", ChildStatus::kRan, 0, true, true, false},
        {"no pipe", ChildStatus::kNoPipe, 0, false, false, false},
        {"not started", ChildStatus::kNotStarted, 0, false, false, false},
        {"reader missing", ChildStatus::kNoReader, 0, false, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ChildResult r{c.status, c.exitCode, 0};
        EXPECT_EQ(tambrix::RcSucceeded(r), c.rcOk);
        EXPECT_EQ(tambrix::MakeSucceeded(r, c.outputFailed), c.makeOk);
    }
}

}  // namespace
