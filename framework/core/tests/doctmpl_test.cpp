#include "doctmpl_rules.h"

#include <gtest/gtest.h>

using fw::DocField;

TEST(DocTemplate, SevenFieldsOfTheString) {
    const std::string s = "\nZADEV\nLib(*.lib)\nLib (*.lib)\n.LIB\nTAMBRIX_LIB.Document\nName";
    EXPECT_EQ(fw::DocTemplateField(s, DocField::WindowTitle), "");
    EXPECT_EQ(fw::DocTemplateField(s, DocField::DocName), "ZADEV");
    EXPECT_EQ(fw::DocTemplateField(s, DocField::FilterName), "Lib (*.lib)");
    EXPECT_EQ(fw::DocTemplateField(s, DocField::FilterExt), ".LIB");
    EXPECT_EQ(fw::DocTemplateField(s, DocField::RegFileTypeName), "Name");
    EXPECT_EQ(fw::DocTemplateField("\nOnly", DocField::FilterExt), "");
}

// The IDE's templates in registration order (filter extensions).
TEST(DocTemplate, ChoiceByExtension) {
    const std::vector<std::string> exts = {".BAS", ".MAK", ".SUB", ".", ".RC", ".BET",
                                           ".LIB", ".OBJ", ".MAK", ".DBG", "."};
    struct Case { const char* path; int index; } cases[] = {
        {"C:\\w\\a.bas", 0},
        {"a.MaK", 1},         // the first .MAK template, not the second view
        {"x.sub", 2},
        {"a.", 3},            // "." matches a name that ends in a dot
        {"r.rc", 4},
        {"l.lib", 6},
        {"o.Obj", 7},
        {"w.dbg", 9},
        {"noext", 0},         // no match: the first template that may try
        {"C:\\a.b\\noext", 0},  // a dot in a folder is no extension
        {"a.txt", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(fw::ChooseDocTemplate(exts, c.path), c.index);
    }
    EXPECT_EQ(fw::ChooseDocTemplate({}, "a.bas"), -1);
}

TEST(DocTemplate, ExtensionSkipsDoubleByteTrailBytes) {
    // "ソ" is 0x83 0x5C: its trail byte is no separator.
    std::string p = "C:\\\x83\x5C" "a.bas";
    EXPECT_EQ(fw::PathExtension(p), ".bas");
    EXPECT_EQ(fw::PathExtension("C:\\d.x\\\x83\x5C"), "");
}
