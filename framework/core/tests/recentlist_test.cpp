#include "recentlist.h"

#include <gtest/gtest.h>

namespace {

struct RecentFixture : ::testing::Test {
    fw::FakeRegistry reg;
    fw::Profile profile{&reg, "VELTRAN\\Tambrix V6.3", "RecentFiles"};
    const std::string key = "Software\\VELTRAN\\Tambrix V6.3\\RecentFiles\\Recent File List";
};

}  // namespace

TEST_F(RecentFixture, AddMovesToFrontAndDropsTheOldest) {
    fw::RecentFileList list(57616, "Recent File List", "File%d", 4);
    for (const char* p : {"a", "b", "c", "d", "e"})
        list.Add(std::string("C:\\") + p + ".bas");
    EXPECT_EQ(list[0], "C:\\e.bas");
    EXPECT_EQ(list[3], "C:\\b.bas");
    list.Add("c:\\C.BAS");  // the same file in other case moves up
    EXPECT_EQ(list[0], "c:\\C.BAS");
    EXPECT_EQ(list[1], "C:\\e.bas");
    EXPECT_EQ(list[3], "C:\\b.bas");
    EXPECT_EQ(list.Count(), 4);
    list.Remove(1);
    EXPECT_EQ(list[1], "C:\\d.bas");
    EXPECT_EQ(list[3], "");
}

TEST_F(RecentFixture, WriteThenReadKeepsOrderAndClearsStaleEntries) {
    reg.WriteString(fw::RegRoot::CurrentUser, key, "File3", "C:\\stale.bas");
    fw::RecentFileList list(57616, "Recent File List", "File%d", 4);
    list.Add("C:\\one.bas");
    list.Add("C:\\two.bas");
    list.WriteList(profile);
    EXPECT_EQ(reg.ReadString(fw::RegRoot::CurrentUser, key, "File1"), "C:\\two.bas");
    EXPECT_EQ(reg.ReadString(fw::RegRoot::CurrentUser, key, "File2"), "C:\\one.bas");
    EXPECT_FALSE(reg.ReadString(fw::RegRoot::CurrentUser, key, "File3"));

    // A gap in the stored numbering closes up on reading.
    reg.WriteString(fw::RegRoot::CurrentUser, key, "File4", "C:\\four.bas");
    fw::RecentFileList back(57616, "Recent File List", "File%d", 4);
    back.ReadList(profile);
    EXPECT_EQ(back[0], "C:\\two.bas");
    EXPECT_EQ(back[2], "C:\\four.bas");
    EXPECT_EQ(back.Count(), 3);
}

TEST_F(RecentFixture, ProjectListUsesItsOwnEntryNames) {
    fw::RecentFileList list(32797, "Recent Project File List", "PrjFile%d", 16);
    list.Add("C:\\p.mak");
    list.WriteList(profile);
    EXPECT_EQ(reg.ReadString(fw::RegRoot::CurrentUser,
                             "Software\\VELTRAN\\Tambrix V6.3\\RecentFiles\\Recent Project File List",
                             "PrjFile1"),
              "C:\\p.mak");
    EXPECT_EQ(list.Size(), 16);
}

TEST(RecentMenu, LongPathsAreShortenedToTheDisplayLength) {
    struct Case { const char* path; const char* shown; } cases[] = {
        {"C:\\short\\a.bas", "C:\\short\\a.bas"},
        {"C:\\very long folder\\second\\third\\prog.bas", "C:\\...\\second\\third\\prog.bas"},
        {"C:\\a_very_long_folder_name_indeed\\x\\averyveryverylongname.bas",
         "C:\\...\\averyveryverylongname.bas"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(fw::AbbreviatePath(c.path, 30), c.shown);
    }
    fw::RecentFileList list(57616, "S", "File%d", 4);
    list.Add("C:\\R&D\\a.bas");
    EXPECT_EQ(list.MenuText(0), "&1 C:\\R&&D\\a.bas");
}
