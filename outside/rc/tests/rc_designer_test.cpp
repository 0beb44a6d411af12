// The resource compiler on a script as the designer writes it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "rc_compile.h"
#include "res_reader.h"

namespace rc::test {
namespace {

const std::string kData = RC_TEST_DATA;

std::optional<std::string> ReadWhole(const std::string &path) {
    std::ifstream in(HostPath(path), std::ios::binary);
    if (!in)
        return std::nullopt;
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::vector<ResEntry> Ours(const std::string &script) {
    CompileOptions o;
    o.script = JoinPath(kData, script);
    o.include_path = RC_TEST_INCLUDE;
    o.read = ReadWhole;
    return ReadRes(WriteResFile(CompileScript(o)));
}

std::vector<std::string> TypesAndNames(const std::vector<ResEntry> &entries) {
    std::vector<std::string> out;
    for (const ResEntry &e : entries)
        out.push_back(e.type + " " + e.name);
    return out;
}

TEST(RcDesigner, RowsWithoutCommasReadLikeRowsWithThem) {
    for (const char *base : {"designer_ascii", "designer_sjis"}) {
        SCOPED_TRACE(base);
        EXPECT_EQ(Ours(std::string(base) + ".rc"), Ours(std::string(base) + "_commas.rc"));
    }
}

TEST(RcDesigner, ScriptOrderAndShiftJisTexts) {
    std::vector<ResEntry> e = Ours("designer_sjis.rc");
    EXPECT_EQ(TypesAndNames(e),
              (std::vector<std::string>{"#10 TX$VERSIONINFO", "#10 FORM1", "#4 MAINMENU", "#9 MAINMENU",
                                        "#10 MAINMENU", "#3 #1", "#3 #2", "#14 APP", "#3 #3", "#14 SUBICON",
                                        "#2 PICT", "#1 #1", "#12 HAND", "#10 TQ70ICONLIST", "#10 TQ70BITMAPLIST",
                                        "#10 TQ70CURSORLIST"}));
    ASSERT_GE(e.size(), 3u);
    // "TX", form type 1, __BEGIN, __CLASS "FORM1" "APP", __CREATE3 XWT_FORM (32-bit)
    static const char kHead[] = "TX\x01\x00\x01\x00\x09\x00" "FORM1\0APP\0\x70\x00\x00\x00\x00\x00";
    const std::string head(kHead, sizeof kHead - 1);
    EXPECT_EQ(e[1].data.substr(0, head.size()), head);
    EXPECT_NE(e[1].data.find("\x83\x5C\x95\x5C"), std::string::npos) << "caption bytes as written";
    EXPECT_NE(e[2].data.find(std::string("\x68\x88\x00\x00", 4)), std::string::npos) << "menu text in UTF-16";
    EXPECT_EQ(e[0].data, std::string("TX\0\0\x06\0\x10\0", 8));
}

#ifdef RC_TEST_WINDRES
std::vector<ResEntry> Windres(const std::string &script_name) {
    const std::string out = kData + "/" + script_name + ".windres.res";
    std::string cmd = "cd '" + kData + "' && '" RC_TEST_WINDRES "' -l 0x411 -I '" RC_TEST_INCLUDE
                      "' -O res '" + script_name + "' '" + out + "'";
    EXPECT_EQ(std::system(cmd.c_str()), 0) << cmd;
    std::optional<std::string> bytes = ReadWhole(out);
    return bytes ? ReadRes(*bytes) : std::vector<ResEntry>{};
}

// Statements one by one, in the comma-separated form both compilers read.
TEST(RcDesigner, SnippetsGiveTheSameEntriesAsWindres) {
    const std::vector<std::string> cases = {
        "X RCDATA BEGIN 0, 65535, -1, -32768, 0x7fffffffL, -1L, 4294967295L END",
        "X RCDATA BEGIN \"a\"\"b\\0\", \"\\036\\037\\t\\r\\n\\\\\", \"\\101\\7x\" END",
        "7 RCDATA BEGIN 1 END\r\nX RCDATA BEGIN 2 END\r\nX MENU BEGIN MENUITEM \"a\", 1 END",
        "M MENU BEGIN POPUP \"&File\" BEGIN MENUITEM \"A\", 1, CHECKED, GRAYED MENUITEM SEPARATOR "
        "POPUP \"Sub\" BEGIN MENUITEM \"B\", 0x2, INACTIVE MENUITEM \"C\", 3, MENUBREAK END END "
        "MENUITEM \"D\", 65535, MENUBARBREAK POPUP \"E\", GRAYED BEGIN MENUITEM \"F\", 4, HELP END END",
        "K ACCELERATORS BEGIN \"A\", 1, VIRTKEY, ALT \"b\", 2 0x70, 3, VIRTKEY, SHIFT, NOINVERT "
        "65, 4, ASCII 0x2e, 5, VIRTKEY, CONTROL, SHIFT, ALT END",
        "#include \"tq70form.h\"\r\nF RCDATA BEGIN __CREATE3, XWT_PRINTER, __MAPMODE, MAP_TWIPS, "
        "__SHOWWINDOW3, XSW3_SHOWMAXIMIZED, __EV_MOUSEWHEEL, RDRW_META, __SENDMESSAGE END",
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(cases[i]);
        const std::string name = "snippet" + std::to_string(i) + ".rc";
        std::ofstream(HostPath(JoinPath(kData, name)), std::ios::binary) << cases[i] << "\r\n";
        std::vector<ResEntry> ours = Ours(name), theirs = Windres(name);
        std::sort(ours.begin(), ours.end());
        std::sort(theirs.begin(), theirs.end());
        EXPECT_EQ(ours, theirs);
    }
}

// windres reads the comma-separated ASCII copy; the same entries must come out.
TEST(RcDesigner, SameEntriesAsWindres) {
    const std::string out = kData + "/windres.res";
    std::string cmd = "cd '" + kData + "' && '" RC_TEST_WINDRES "' -l 0x411 -I '" RC_TEST_INCLUDE
                      "' -O res designer_windres.rc '" + out + "'";
    ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd;
    std::vector<ResEntry> theirs = ReadRes(*ReadWhole(out));
    std::vector<ResEntry> ours = Ours("designer_windres.rc");
    ASSERT_EQ(ours.size(), 16u);
    std::sort(theirs.begin(), theirs.end());
    std::sort(ours.begin(), ours.end());
    EXPECT_EQ(ours, theirs);
}
#endif

}  // namespace
}  // namespace rc::test
