#include "idepaths.h"

#include <gtest/gtest.h>

using namespace tambrix;

TEST(IdePaths, Helpers) {
    struct Case {
        const char* path;
        const char* replaced;  // ReplaceExtension(path, "mak")
        const char* dir;       // DirectoryOf
        const char* stripped;  // StripFileName
        const char* name;      // FileNameOf
        const char* tail;      // StripDirectory
    } cases[] = {
        {"C:\\w\\a.bas", "C:\\w\\a.mak", "C:\\w", "C:\\w", "a.bas", "a.bas"},
        {"a", "a.mak", "a", "", "", "a"},
        {"C:\\a.b\\file", "C:\\a.mak", "C:\\a.b", "C:\\a.b", "file", "file"},
        // "ソ" (0x83 0x5C) ends in a backslash byte that is no separator.
        {"C:\\\x83\x5C.bas", "C:\\\x83\x5C.mak", "C:", "C:", "\x83\x5C.bas", "\x83\x5C.bas"},
        {"C:\\dir\\", "C:\\dir\\.mak", "C:\\dir", "C:\\dir", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(ReplaceExtension(c.path, "mak"), c.replaced);
        EXPECT_EQ(DirectoryOf(c.path), c.dir);
        EXPECT_EQ(StripFileName(c.path), c.stripped);
        EXPECT_EQ(FileNameOf(c.path), c.name);
        EXPECT_EQ(StripDirectory(c.path), c.tail);
    }
    EXPECT_EQ(AppendExtension("a.bas", "bak"), "a.bas.bak");
}
