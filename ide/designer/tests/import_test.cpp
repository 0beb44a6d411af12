#include <gtest/gtest.h>

#include "dsg_import.h"

namespace dsg {
namespace {

TEST(Import, TitlesThatCannotNameAResourceAreRefused) {
    struct Case { const char *title; uint32_t want; };
    const Case cases[] = {
        {"a.ico", 0},
        {"a1_$.bmp", 0},
        {"\x95\x5C.ico", 0},           // a double-byte name whose trail byte is a backslash
        {"my icon.ico", 20060},        // the blank the message names
        {"a-b.ico", 20060},            // and the "-"
        {"1a.ico", 20060},             // a number, not a name
        {"a.b.ico", 20060},            // the period left in the name
        {"\xB1\xB2\xBA\xDD.ico", 20060},  // half-width katakana start no name either
        {"a+.cur", 20060},
        {".ico", 20060},
        {"", 20060},
    };
    for (const auto &c : cases) EXPECT_EQ(ImportCheckTitle(c.title), c.want) << c.title;
}

TEST(Import, StoredPathIsRelativeToTheScriptFolder) {
    struct Case { const char *file, *folder, *want; };
    const Case cases[] = {
        {"C:\\W\\a.ico", "C:\\W", "a.ico"},
        {"c:\\w\\A.ICO", "C:\\W", "A.ICO"},
        {"C:\\W\\sub\\b.bmp", "C:\\W", ".\\sub\\b.bmp"},
        {"C:\\w\\Sub\\deep\\e.ico", "C:\\W", ".\\Sub\\deep\\e.ico"},
        {"C:\\Work\\c.cur", "C:\\W", "C:\\Work\\c.cur"},
        {"D:\\W\\d.ico", "C:\\W", "D:\\W\\d.ico"},
        {"C:\\\x95\x5C\\f.ico", "C:\\\x95\x5C", "f.ico"},
        // A folder ending in a lead byte does not take the next character's trail byte as its end.
        {"C:\\\x95\x5C\\g.ico", "C:\\\x95", "C:\\\x95\x5C\\g.ico"},
    };
    for (const auto &c : cases) EXPECT_EQ(ImportStoredPath(c.file, c.folder), c.want) << c.file;
}

TEST(Import, FullPathFindsTheStoredFileFromTheScriptFolder) {
    struct Case { const char *stored, *folder, *want; };
    const Case cases[] = {
        {"a.ico", "C:\\W", "C:\\W\\a.ico"},
        {".\\sub\\b.bmp", "C:\\W", "C:\\W\\sub\\b.bmp"},
        {"D:\\X\\c.cur", "C:\\W", "D:\\X\\c.cur"},
        {"\\\\srv\\s\\d.ico", "C:\\W", "\\\\srv\\s\\d.ico"},
        {"\\R\\e.bmp", "C:\\W", "C:\\R\\e.bmp"},  // from the root of the script's drive
        {"f.ico", "", "f.ico"},                    // no folder to resolve against
    };
    for (const auto &c : cases) EXPECT_EQ(ImportFullPath(c.stored, c.folder), c.want) << c.stored;
    // What the import stores leads back to the imported file.
    for (const char *file : {"C:\\W\\a.ico", "C:\\W\\sub\\deep\\e.ico", "E:\\o.cur"})
        EXPECT_EQ(ImportFullPath(ImportStoredPath(file, "C:\\W"), "C:\\W"), file);
}

}  // namespace
}  // namespace dsg
