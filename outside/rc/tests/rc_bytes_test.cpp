#include <gtest/gtest.h>

#include <map>

#include "rc_compile.h"
#include "rc_output.h"
#include "res_reader.h"

namespace rc::test {
namespace {

std::string Bytes(std::initializer_list<int> b) {
    std::string s;
    for (int c : b)
        s += static_cast<char>(c);
    return s;
}

// Our paths join with the machine's separator; the cases are written with '/'.
std::string Slashes(std::string s) {
    for (char &c : s)
        if (c == '\\')
            c = '/';
    return s;
}

// Scripts in memory: "t.rc" and whatever else a case needs.
struct MemFiles {
    std::map<std::string, std::string> files;
    ReadFileFn Reader() {
        return [this](const std::string &p) -> std::optional<std::string> {
            // Stands for a folder or a device where a file is wanted.
            if (Slashes(p).find("refused") != std::string::npos)
                throw ReadRefused{p + " is a folder or a device, not a file"};
            auto it = files.find(Slashes(p));
            if (it == files.end())
                return std::nullopt;
            return it->second;
        };
    }
};

std::vector<Resource> Compile(MemFiles &fs, const std::string &script, const std::string &include = "") {
    fs.files["dir/t.rc"] = script;
    CompileOptions o;
    o.script = "dir/t.rc";
    o.include_path = include;
    o.read = fs.Reader();
    return CompileScript(o);
}

std::string DataOf(const std::string &script) {
    MemFiles fs;
    std::vector<Resource> r = Compile(fs, script);
    EXPECT_EQ(r.size(), 1u);
    return r.empty() ? "" : r[0].data;
}

TEST(RcBytes, ItemsCompileToTheirBytes) {
    struct Case {
        const char *name;
        std::string script;
        std::string data;
    };
    const std::vector<Case> cases = {
        {"Shift-JIS string keeps its bytes (trail 0x5C is no escape)",
         "X RCDATA BEGIN \"\x83\x5C\x95\x5C\" END", Bytes({0x83, 0x5C, 0x95, 0x5C})},
        {"doubled quote and \\0", "X RCDATA BEGIN \"a\"\"b\\0\" END", Bytes({0x61, 0x22, 0x62, 0x00})},
        {"octal escapes", "X RCDATA BEGIN \"\\036\\037\\1x\" END", Bytes({0x1E, 0x1F, 0x01, 'x'})},
        {"escapes and a raw TAB", "X RCDATA BEGIN \"\\r\\n\\t\\\\\\\"\t\" END",
         Bytes({'\r', '\n', '\t', '\\', '"', '\t'})},
        {"16-bit, 32-bit, hex, unary minus",
         "X RCDATA BEGIN 1, -1, 0x10L, -2L, 65535, 0x12345678L END",
         Bytes({1, 0, 0xFF, 0xFF, 0x10, 0, 0, 0, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x78, 0x56, 0x34, 0x12})},
        {"rows without commas read like rows with them", "X RCDATA\r\nBEGIN\r\n\t1 2L\r\n\t\"x\"\r\n3\r\nEND",
         Bytes({1, 0, 2, 0, 0, 0, 'x', 3, 0})},
        {"defines, $ in names, comments",
         "#define A$B 7\r\n#define C A$B\r\n/* 99 */ X RCDATA // 98\r\n{ C, \"//\" }", Bytes({7, 0, '/', '/'})},
        {"#ifndef guards a second definition", "#ifndef G\r\n#define G 1\r\n#endif\r\n#ifndef G\r\n#define G 2\r\n#endif\r\n"
                                               "X RCDATA BEGIN G END",
         Bytes({1, 0})},
        {"the file ends at 0x1A", std::string("X RCDATA BEGIN 5 END\x1A garbage", 29), Bytes({5, 0})},
        {"menu text in UTF-16, item options",
         "M MENU BEGIN MENUITEM \"\x83\x5C\x95\x5C\",\t0x7, CHECKED, GRAYED END",
         Bytes({0, 0, 0, 0, 0x89, 0, 7, 0, 0xBD, 0x30, 0x68, 0x88, 0, 0})},
        {"separators and popups",
         "M MENU BEGIN POPUP \"\\036F\" BEGIN MENUITEM SEPARATOR MENUITEM \"A\", 1 MENUITEM SEPARATOR END END",
         Bytes({0, 0, 0, 0, 0x90, 0, 0x1E, 0, 'F', 0, 0, 0,   // popup, last of the top level
                0, 0, 0, 0, 0, 0,                              // separator
                0, 0, 1, 0, 'A', 0, 0, 0,                      // item
                0x80, 0, 0, 0, 0, 0})},                        // last separator
        {"accelerators with a blank row",
         "A ACCELERATORS\r\nBEGIN\r\n\t\"O\",\t0x1,\tVIRTKEY, CONTROL\r\n\t\r\n\t0x70,\t0x2,\tVIRTKEY, CONTROL, SHIFT\r\n"
         "\t\"^C\", 3\r\nEND",
         Bytes({0x09, 0, 'O', 0, 1, 0, 0, 0, 0x0D, 0, 0x70, 0, 2, 0, 0, 0, 0x80, 0, 3, 0, 3, 0, 0, 0})},
        {"memory keywords are accepted", "X RCDATA PRELOAD MOVEABLE DISCARDABLE BEGIN 1 END", Bytes({1, 0})},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(DataOf(c.script), c.data);
    }
}

TEST(RcBytes, NamesTypesAndOrderOfTheResFile) {
    MemFiles fs;
    std::vector<Resource> r = Compile(fs, "TX$VersionInfo RCDATA BEGIN 1 END\r\nmain MENU BEGIN MENUITEM \"a\", 1 END\r\n"
                                          "7 RCDATA BEGIN 2 END\r\nA RCDATA BEGIN 3 END\r\n");
    std::vector<ResEntry> e = ReadRes(WriteResFile(r));
    ASSERT_EQ(e.size(), 4u);
    // Script order, not sorted; names upper-cased; every entry in Japanese.
    EXPECT_EQ(e[0].type + " " + e[0].name, "#10 TX$VERSIONINFO");
    EXPECT_EQ(e[1].type + " " + e[1].name, "#4 MAIN");
    EXPECT_EQ(e[2].type + " " + e[2].name, "#10 #7");
    EXPECT_EQ(e[3].type + " " + e[3].name, "#10 A");
    for (const ResEntry &x : e)
        EXPECT_EQ(x.language, 0x0411);
}

TEST(RcBytes, IncludeSearchOrder) {
    MemFiles fs;
    fs.files["dir/h.h"] = "#define V 1";
    fs.files["inc1/h.h"] = "#define V 2";
    fs.files["inc1/only.h"] = "#define W 3";
    std::string long_dir(600, 'd');   // no fixed buffer cuts a long INCLUDE
    fs.files[long_dir + "/deep.h"] = "#define D 4";
    fs.files["cwd.h"] = "#define Z 5";
    auto r = Compile(fs, "#include \"h.h\"\r\n#include <only.h>\r\n#include \"deep.h\"\r\n#include \"cwd.h\"\r\n"
                         "X RCDATA BEGIN V W D Z END",
                     "inc1;" + long_dir);
    EXPECT_EQ(r[0].data, Bytes({1, 0, 3, 0, 4, 0, 5, 0}));
}

TEST(RcBytes, ErrorsNameFileAndLine) {
    struct Case {
        std::string script;
        std::string message;
    };
    std::string deep_menu = "M MENU ";
    for (int i = 0; i < 20000; ++i)
        deep_menu += "BEGIN POPUP \"p\" ";
    const std::vector<Case> cases = {
        {"X RCDATA\r\nBEGIN\r\n\t1,\r\n\tNOPE\r\nEND\r\n", "dir/t.rc(4) : error RC2104 : undefined keyword or key name: NOPE"},
        {"M MENU BEGIN\r\nMENUITEM \"a\", IDM_X\r\nEND", "dir/t.rc(2) : error RC2104 : undefined keyword or key name: IDM_X"},
        {"\r\n#include \"none.h\"\r\n", "dir/t.rc(2) : error RC1015 : cannot open include file 'none.h'"},
        {"#include \"bad.h\"\r\n", "dir/bad.h(2) : error RC2001 : newline in constant"},
        {"X RCDATA BEGIN \"abc\r\n\" END", "dir/t.rc(1) : error RC2001 : newline in constant"},
        {"I ICON \"none.ico\"", "dir/t.rc(1) : error RC2135 : file not found: none.ico"},
        {"X DIALOG BEGIN END", "dir/t.rc(1) : error RC2135 : unknown resource type: DIALOG"},
        {"X RCDATA BEGIN 1", "dir/t.rc(1) : error RC1004 : unexpected end of file found"},
        {"#ifndef A\r\nX RCDATA BEGIN 1 END\r\n", "dir/t.rc(3) : error RC1070 : mismatched #if/#endif"},
        {"\r\n#include \"refused.h\"\r\n",
         "dir/t.rc(2) : error RC1015 : dir/refused.h is a folder or a device, not a file"},
        {"B BITMAP \"refused.bmp\"", "dir/t.rc(1) : error RC2135 : refused.bmp is a folder or a device, not a file"},
        {"#include \"self.h\"", "dir/self.h(1) : error RC1014 : too many include files"},
        {deep_menu, "dir/t.rc(1) : error RC2168 : menus nested deeper than 64 levels"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.script);
        MemFiles fs;
        fs.files["dir/bad.h"] = "#define X 1\r\nX RCDATA BEGIN \"open\r\n";
        fs.files["dir/self.h"] = "#include \"self.h\"\r\n";
        try {
            Compile(fs, c.script);
            ADD_FAILURE() << "no error";
        } catch (const RcError &e) {
            EXPECT_EQ(Slashes(FormatError(e)), c.message);
        }
    }
}

TEST(RcBytes, DefaultOutputNameChangesOnlyTheFileName) {
    struct Case {
        const char *script, *res;
    };
    for (const Case &c : {Case{"C:\\PROJ\\A.RC", "C:\\PROJ\\A.res"}, Case{"C:\\X.rc\\APP.rc", "C:\\X.rc\\APP.res"},
                          Case{"C:\\X.rc\\APP", "C:\\X.rc\\APP.res"}, Case{"\x95\x5C.rc", "\x95\x5C.res"},
                          Case{"a.b.rc", "a.b.res"}}) {
        SCOPED_TRACE(c.script);
        EXPECT_EQ(DefaultOutputName(c.script), c.res);
    }
}

}  // namespace
}  // namespace rc::test
