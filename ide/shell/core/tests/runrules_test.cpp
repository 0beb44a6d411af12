#include "runrules.h"

#include <gtest/gtest.h>

namespace tambrix {
namespace {

TEST(RunRules, ProgramNameFromTheProject) {
    EXPECT_EQ(ProgramFileName("APP.EXE", "FOO.mak"), "APP.EXE");
    EXPECT_EQ(ProgramFileName("", "FOO.mak"), "FOO.exe");
    EXPECT_EQ(ProgramFileName("", "FOO"), "FOO.exe");
    // A dot in a folder is not the extension's.
    EXPECT_EQ(ProgramFileName("", "C:\\A.B\\FOO"), "C:\\A.B\\FOO.exe");
}

TEST(RunRules, CommandLines) {
    struct Case {
        int drive;
        const char* folder;
        const char* args;
        const char* line;
    } cases[] = {
        {3, "\\", "", "\"C:\\prog.exe\""},             // root of drive C
        {3, "\\D", "args", "\"C:\\D\\prog.exe\" args"},
        {-1, "\\D", "", "\"\\D\\prog.exe\""},           // no drive
        {-1, "\\", "a b", "\"\\prog.exe\" a b"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RunCommandLine(ProgramPath(c.drive, c.folder, "prog.exe"), c.args), c.line) << c.line;
    EXPECT_EQ(ProjectFolderPath(3, "\\D"), "C:\\D");
    EXPECT_EQ(ProjectFolderPath(-1, ""), "\\");
}

}  // namespace
}  // namespace tambrix
