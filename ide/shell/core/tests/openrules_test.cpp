#include "openrules.h"

#include <gtest/gtest.h>

using namespace tambrix;

TEST(OpenRules, DocumentOpenRoutes) {
    struct Case { const char* path; const char* rcOpen; OpenRoute route; } cases[] = {
        {"C:\\a.bas", "", OpenRoute::FrameworkChoice},
        {"C:\\a.LIB", "", OpenRoute::FrameworkChoice},
        {"C:\\a.txt", "", OpenRoute::OtherFiles},
        {"C:\\noext", "", OpenRoute::FrameworkChoice},
        {"C:\\x.y\\noext", "", OpenRoute::OtherFiles},  // the last "." counts anywhere
        {"C:\\b.rc", "", OpenRoute::FrameworkChoice},
        {"C:\\b.rc", "a.rc", OpenRoute::Refuse},
        {"C:\\d\\A.RC", "a.rc", OpenRoute::FrameworkChoice},  // the open one again
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(RouteDocumentOpen(c.path, c.rcOpen), c.route);
    }
}

TEST(OpenRules, RecentEntryRoutes) {
    struct Case { const char* path; RecentRoute route; const char* ext; } cases[] = {
        {"C:\\a.bas", RecentRoute::OpenDocument, "bas"},
        {"C:\\a.mak", RecentRoute::OpenDocument, "mak"},
        {"C:\\a.lib", RecentRoute::OpenDocument, "lib"},
        {"C:\\a.OBJ", RecentRoute::OpenDocument, "OBJ"},
        {"C:\\a.txt", RecentRoute::OtherFiles, "txt"},
        {"C:\\d.x\\noext", RecentRoute::BasicTemplate, "bas"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(RouteRecentFile(c.path), c.route);
        EXPECT_EQ(RecentEntryExtension(c.path), c.ext);
    }
}

TEST(OpenRules, IdleKeepsGoingExceptAtThousand) {
    EXPECT_TRUE(IdleResult(0, false));
    EXPECT_TRUE(IdleResult(999, false));
    EXPECT_FALSE(IdleResult(1000, false));
    EXPECT_TRUE(IdleResult(1000, true));
    EXPECT_TRUE(IdleResult(1001, false));
}

TEST(OpenRules, MessageFormatTakesOnlyItsOneArgument) {
    EXPECT_EQ(FormatMessageText("project '%s' open", "P"), "project 'P' open");
    EXPECT_EQ(FormatMessageText("%d%% %x %s %n", "A"), "%d% %x A %n");
    EXPECT_EQ(FormatMessageText("no arg %", "A"), "no arg %");
}

TEST(OpenRules, CaretColumn) {
    struct Case { const char* line; size_t caret; int tab; int x; } cases[] = {
        {"AB\tC", 4, 8, 9},         // the status bar shows X=10
        {"AB\tC", 4, 4, 5},
        {"\t", 1, 8, 8},
        {"\x82\xA0" "A", 3, 8, 3},  // a double-byte character counts 2
        {"A\tB", 3, 0, 3},          // a tab width below 1 leaves the TAB one column
        {"ABC", 99, 8, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(CaretColumn(c.line, c.caret, c.tab), c.x);
    }
}
