#include "makefile.h"

#include <gtest/gtest.h>

namespace nmk::test {
namespace {

std::string NoEnv(const std::string &name) { return name == "TMP" ? "C:\\TEMP" : ""; }

Makefile Read(const std::string &text) {
    Makefile mk;
    ReadError e;
    EXPECT_TRUE(ReadMakefile(text, NoEnv, mk, e)) << e.line << ": " << e.text;
    return mk;
}

TEST(Makefile, MacrosAreLazyAndDependencyLinesExpandedWhenRead) {
    Makefile mk = Read(
        "# comment\r\n"
        "A=$(B) x\r\n"
        "B=first\r\n"
        "DEP=\"one.bi\"\r\n"
        "t1 : $(DEP) # trailing comment\r\n"
        "\tcmd $(A) $(DEP) $$ $(TMP)\r\n"
        "DEP=\r\n"
        "t2 : $(DEP)\r\n"
        "B=second\r\n");
    ASSERT_EQ(mk.blocks.size(), 2u);
    EXPECT_EQ(mk.goal, "t1");
    EXPECT_EQ(mk.blocks[0].dependents, std::vector<std::string>{"one.bi"});
    EXPECT_TRUE(mk.blocks[1].dependents.empty());
    // Commands take the values of the end of the file.
    EXPECT_EQ(Expand(mk, mk.blocks[0].commands[0].text, NoEnv), "cmd second x  $ C:\\TEMP");
}

// A macro met again inside its own value is an error where it is used:
// values naming each other would otherwise double at every level. A value
// naming its own macro takes the old value and is no recursion.
TEST(Makefile, MacrosNamingEachOtherAreRecursive) {
    Makefile mk = Read(
        "A=$B$B\r\n"
        "B=$(A)$(A)\r\n"
        "C=c $(D)\r\n"
        "D=d\r\n"
        "E=e\r\n"
        "E=$(E) $(E)\r\n");
    EXPECT_THROW(Expand(mk, "$(A)", NoEnv), RecursiveMacro);
    EXPECT_EQ(Expand(mk, "$(C) $(C) $(E)", NoEnv), "c d c d e e");

    Makefile bad;
    ReadError e{};
    EXPECT_FALSE(ReadMakefile("X=$(Y)\r\nY=$(X)\r\nt : $(X)\r\n", NoEnv, bad, e));
    EXPECT_EQ(e.line, 3);
    EXPECT_EQ(e.code, kRecursiveMacro);
    EXPECT_EQ(e.text, "recursive macro definition 'X'");
}

TEST(Makefile, ContinuationIsDoubleByteAware) {
    // 0x95 0x5C is one character whose trail byte is a backslash: no continuation.
    Makefile mk = Read(
        "OBJS=\\\r\n\t\"A.obj\"\\\r\n\t\"B.obj\"\\\r\n\t\r\n\r\n"
        "K=\x83\x5C\r\n"
        "L=x\r\n");
    EXPECT_EQ(SplitWords(Expand(mk, "$(OBJS)", NoEnv)), (std::vector<std::string>{"A.obj", "B.obj"}));
    EXPECT_EQ(mk.macros["K"], "\x83\x5C");
    EXPECT_EQ(mk.macros["L"], "x");
}

TEST(Makefile, QuotedTargetsWithBlanksAndShiftJisMatchWithoutCase) {
    Makefile mk = Read(
        "\"C:\\MY DIR\\\x95\x5C.obj\" : \"C:\\MY DIR\\\x95\x5C.BAS\"\r\n"
        "\tTXCL x\r\n");
    ASSERT_EQ(mk.blocks.size(), 1u);
    EXPECT_EQ(mk.blocks[0].target, "C:\\MY DIR\\\x95\x5C.obj");
    EXPECT_NE(mk.FindBlock("c:\\my dir\\\x95\x5C.OBJ"), nullptr);
    // The trail byte is not folded: 0x95 0x7C is another character.
    EXPECT_EQ(mk.FindBlock("c:\\my dir\\\x95\x7C.OBJ"), nullptr);
    EXPECT_EQ(mk.blocks[0].dependents[0], "C:\\MY DIR\\\x95\x5C.BAS");
}

TEST(Makefile, DriveColonIsNotTheSeparator) {
    Makefile mk = Read("C:\\P\\A.res : C:\\P\\A.RC\r\n\tRC x\r\n");
    ASSERT_EQ(mk.blocks.size(), 1u);
    EXPECT_EQ(mk.blocks[0].target, "C:\\P\\A.res");
    EXPECT_EQ(mk.blocks[0].dependents[0], "C:\\P\\A.RC");
}

// The IDE writes '#' as "^#" and '$' as "$$" in its paths.
TEST(Makefile, EscapedHashAndDollarInPaths) {
    Makefile mk = Read(
        "OBJS=\"C:\\A^#1\\M$$.obj\" # comment\r\n"
        "\"C:\\A^#1\\M$$.obj\" : \"C:\\A^#1\\M$$.bas\"\r\n"
        "\tTXCL /Fo\"C:\\A^#1\\M$$.obj\" \"x^^#\"\r\n");
    ASSERT_EQ(mk.blocks.size(), 1u);
    EXPECT_EQ(mk.blocks[0].target, "C:\\A#1\\M$.obj");
    EXPECT_EQ(mk.blocks[0].dependents[0], "C:\\A#1\\M$.bas");
    EXPECT_EQ(Expand(mk, "$(OBJS)", NoEnv), "\"C:\\A#1\\M$.obj\"");
    EXPECT_EQ(Expand(mk, mk.blocks[0].commands[0].text, NoEnv), "TXCL /Fo\"C:\\A#1\\M$.obj\" \"x^#\"");
}

TEST(Makefile, InferenceRulesSuffixesAndInlineFiles) {
    Makefile mk = Read(
        ".SUFFIXES:.bas .sub\r\n"
        ".bas.obj:\r\n\tTXCL /Fo$*.obj $*.bas\r\n\r\n"
        "x.exe : a.obj\r\n"
        "\tLINK @<<\r\n"
        "$(O) # not a comment here\r\n"
        "<<\r\n"
        "O=/out:x.exe\r\n");
    EXPECT_EQ(mk.suffixes, (std::vector<std::string>{".bas", ".sub"}));
    ASSERT_NE(mk.FindRule(".BAS", ".obj"), nullptr);
    SpecialMacros sp{"a.obj", "a", "a.bas", "a.bas"};
    EXPECT_EQ(Expand(mk, mk.FindRule(".bas", ".obj")->commands[0].text, NoEnv, &sp), "TXCL /Foa.obj a.bas");
    const Block *b = mk.FindBlock("x.exe");
    ASSERT_EQ(b->commands.size(), 1u);
    ASSERT_EQ(b->commands[0].inline_bodies.size(), 1u);
    EXPECT_EQ(Expand(mk, b->commands[0].inline_bodies[0], NoEnv), "/out:x.exe # not a comment here\r\n");
}

TEST(Makefile, SyntaxErrorsNameTheirLine) {
    struct Case {
        const char *text;
        int line;
    };
    for (const Case &c : {Case{"A=1\r\n\tcmd\r\n", 2}, Case{"A=1\r\nno separator\r\n", 2},
                          Case{"t :\r\n\tLINK @<<\r\nbody\r\n", 2}}) {
        SCOPED_TRACE(c.text);
        Makefile mk;
        ReadError e{};
        EXPECT_FALSE(ReadMakefile(c.text, NoEnv, mk, e));
        EXPECT_EQ(e.line, c.line);
    }
}

}  // namespace
}  // namespace nmk::test
