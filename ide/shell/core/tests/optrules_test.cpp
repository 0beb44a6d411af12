#include "optrules.h"

#include <gtest/gtest.h>

namespace {

using namespace tambrix;

std::vector<std::string> Texts(const std::vector<FolderRow>& rows) {
    std::vector<std::string> out;
    for (const auto& r : rows)
        out.push_back(r.text);
    return out;
}

TEST(FolderRows, ListsSplitAtSeparatorsAndOnlyUserRowsAreKept) {
    struct Case { const char* list; std::vector<std::string> rows; const char* kept; };
    const Case cases[] = {
        {"", {}, ""},
        {"C:\\A;;C:\\B;", {"C:\\A", "C:\\B"}, "C:\\A;C:\\B;"},
        {";C:\\A", {"C:\\A"}, "C:\\A;"},
        {"C:\\A;C:\\B", {"C:\\A", "C:\\B"}, "C:\\A;C:\\B;"},
        {";;", {}, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.list);
        std::vector<FolderRow> rows;
        AddFolderRows(rows, c.list, kFromUser);
        EXPECT_EQ(Texts(rows), c.rows);
        EXPECT_EQ(CollectUserFolders(rows), c.kept);
    }
    // Installation rows, then the user's, then the environment's: only the
    // user's reach the registry, and the environment's cannot be changed.
    std::vector<FolderRow> rows;
    AddFolderRows(rows, "C:\\TX\\BIN", kFromInstallation);
    AddFolderRows(rows, "C:\\A;;C:\\B;", kFromUser);
    AddFolderRows(rows, "C:\\WINDOWS;C:\\BIN", kFromEnvironment);
    EXPECT_EQ(Texts(rows), (std::vector<std::string>{"C:\\TX\\BIN", "C:\\A", "C:\\B", "C:\\WINDOWS", "C:\\BIN"}));
    EXPECT_EQ(CollectUserFolders(rows), "C:\\A;C:\\B;");
    EXPECT_TRUE(CanChangeFolder(rows[0].mark));
    EXPECT_TRUE(CanChangeFolder(rows[1].mark));
    EXPECT_FALSE(CanChangeFolder(rows[3].mark));
}

TEST(FolderRows, AFolderAlreadyListedIsNotAddedAgain) {
    std::vector<FolderRow> rows;
    AddFolderRows(rows, "C:\\Tools", kFromInstallation);
    EXPECT_FALSE(AddUserFolder(rows, "c:\\TOOLS"));
    EXPECT_FALSE(AddUserFolder(rows, ""));
    EXPECT_TRUE(AddUserFolder(rows, "C:\\Tools2"));
    // Double-byte names compare byte for byte after the lead byte: the
    // trail byte 0x61 of one is no 'a' to fold.
    EXPECT_TRUE(AddUserFolder(rows, "C:\\\x83\x61"));
    EXPECT_TRUE(AddUserFolder(rows, "C:\\\x83\x41"));
    EXPECT_EQ(CollectUserFolders(rows), "C:\\Tools2;C:\\\x83\x61;C:\\\x83\x41;");
}

TEST(SizeRows, StandardAndRasterSizes) {
    std::vector<SizeRow> tt;
    AddStandardSizes(tt);
    std::vector<std::string> texts;
    for (const auto& r : tt)
        texts.push_back(r.text);
    EXPECT_EQ(texts, (std::vector<std::string>{"8", "9", "10", "11", "12", "14", "16", "18", "20", "22",
                                               "24", "26", "28", "36", "48", "72"}));

    // Rows in order of size whatever order the faces come in; no text twice.
    std::vector<SizeRow> raster;
    AddRasterSize(raster, 14, 96);   // 210 twips, "10.5"
    AddRasterSize(raster, 40, 288);  // 200 twips, "10"
    AddRasterSize(raster, 14, 96);   // listed already
    AddRasterSize(raster, 12, 96);   // 180 twips, "9"
    ASSERT_EQ(raster.size(), 3u);
    EXPECT_EQ(raster[0].text, "9");
    EXPECT_EQ(raster[1].text, "10");
    EXPECT_EQ(raster[2].text, "10.5");
}

TEST(SizeRows, SelectionAndReadBack) {
    std::vector<SizeRow> tt;
    AddStandardSizes(tt);
    struct Case { int32_t size; int row; };
    const Case cases[] = {{120, 4}, {720, 15}, {130, 7}, {105, 7}};  // 16 rows: no match picks 16/2-1
    for (const auto& c : cases) {
        SCOPED_TRACE(c.size);
        EXPECT_EQ(SizeRowFor(tt, c.size), c.row);
    }
    std::vector<SizeRow> two = {{"9", 180}, {"10.5", 210}};
    EXPECT_EQ(SizeRowFor(two, 105), 1) << "a raster size with a tenth finds its row";
    EXPECT_EQ(SizeRowFor(two, 120), 1) << "fewer than 3 rows: the last";
    EXPECT_EQ(SizeRowFor({}, 120), -1);
    EXPECT_EQ(FontSizeOfRow("10.5"), 105);
    EXPECT_EQ(FontSizeOfRow("72"), 720);
    EXPECT_EQ(FontSizeOfRow(""), 0) << "no row selected stores 0";
}

}  // namespace
