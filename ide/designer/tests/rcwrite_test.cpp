// The script writer: golden texts taken from the script layout by hand.
#include <gtest/gtest.h>

#include "dsg_formdata.h"
#include "dsg_rcwrite.h"
#include "fake_host.h"

namespace dsg {
namespace {

using test::FakeHost;

const char kHead[] =
    "#include \"tq70form.h\"\r\n\r\n"
    "// version info ===\r\nTX$VersionInfo RCDATA\r\nBEGIN\r\n"
    "\t// RCDATAITEMHEADER\r\n\t\"TX\", 0\r\n\t0x6, 0x10\r\nEND\r\n\r\n";

TEST(ScriptWriter, EmptyDocument) {
    FakeHost host;
    Document doc;
    std::string out;
    ASSERT_TRUE(RcWrite(host, doc, "C:\\w\\a.rc", out).ok);
    EXPECT_EQ(out, std::string(kHead) + "\x1A");
}

TEST(ScriptWriter, FormWithoutControls) {
    FakeHost host;
    Document doc;
    Form *f = FrmCreateNew(host, doc, nullptr, false);
    std::string out;
    ASSERT_TRUE(RcWrite(host, doc, "C:\\w\\a.rc", out).ok);
    // 80 x 24 characters of 8 x 16 with the fake frame: 648 x 411 pixels.
    const std::string form =
        "// 'MAINFORM' form data ===\r\nMAINFORM RCDATA\r\nBEGIN\r\n"
        "\t// RCDATAITEMHEADER\r\n\t\"TX\", 1\r\n\t__BEGIN\r\n"
        "\t__CLASS, \"MAINFORM\\0\", \"\\0\"\r\n"
        "\t__CREATE3, XWT_FORM, 0xcf0115L, 0x0L\r\n"
        "\t__ATTRDATA3, 0x0L\r\n"
        "\t__3DFORM3, 0x0L\r\n"
        "\t__REDRAWMODE, RDRW_BITMAP\r\n"
        "\t__AXIS3, 0x0L\r\n"
        "\t__WINDOWTITLE, \"MAINFORM\\0\"\r\n"
        "\t__CONTROLNAME, \"MAINFORM\\0\"\r\n"
        "\t__TEXTCOLOR, 0\r\n\t__FORECOLOR, 0\r\n\t__BACKCOLOR, 15\r\n"
        "\t__GRID2, 1, 1, 8, 8\r\n"
        "\t__CLIPBOARD, 1\r\n"
        "\t__FONTSIZE, 16\r\n"
        "\t__FONTNAME2, \"Fixedsys\\0\", 128, 49\r\n"
        "\t__SENDMESSAGE, 0x32L, 0x0L, 0x0L //WM_SETHOTKEY\r\n"
        "\t__WINDOWSIZE3, 0x0L, 0x80000000L, 0x80000000L, 0x288L, 0x19bL\r\n"
        "\t__SHOWWINDOW3, XSW3_SHOWNORMAL\r\n"
        "\t__ENABLEWINDOW, 0\r\n"
        "\t__END\r\nEND\r\n\r\n";
    EXPECT_EQ(out, kHead + form + "\x1A");
    (void)f;
}

// The rows of one control, between its form's inner __BEGIN and __END.
std::string ControlRows(FakeHost &host, Document &doc) {
    std::string out;
    EXPECT_TRUE(RcWrite(host, doc, "C:\\w\\a.rc", out).ok);
    size_t a = out.find("\t__BEGIN\r\n", out.find("\t__BEGIN\r\n") + 1) + 10;
    size_t b = out.find("\t__END\r\n\t__SHOWWINDOW3", a);
    return out.substr(a, b - a);
}

TEST(ScriptWriter, ControlRowsAndQuoting) {
    FakeHost host;
    Document doc;
    Form *f = FrmCreateNew(host, doc, nullptr, false);
    ControlRecord *e = CtlCreate(host, doc, *f, kEdit, 16, 8);
    host.windows[e->hwnd].text = "C:\\new \"x\"\r\n\x83\x5c";
    EXPECT_EQ(ControlRows(host, doc),
              "\t__CREATE3, XWT_EDIT, 0x50810180L, 0x0L\r\n"
              "\t__ATTRDATA3, 0x0L\r\n"
              "\t__WINDOWTITLE, \"C:\\\\new \"\"x\"\"\\r\\n\x83\x5c\\0\"\r\n"
              "\t__CONTROLNAME, \"EDIT1\\0\"\r\n"
              "\t__LIMITTEXT3, 0x7fffL\r\n"
              "\t__CTRLTEXTCOLOR, 0x2000000L\r\n"
              "\t__CTRLBACKCOLOR, 0x2ffffffL\r\n"
              "\t__FONTSIZE, 10\r\n"
              "\t__FONTNAME2, \"\x82\x6c\x82\x72 \x82\x6f\x83\x53\x83\x56\x83\x62\x83\x4e\\0\", 1, 0\r\n"
              "\t__IMEMODE3, 0x0L\r\n"
              "\t__WINDOWSIZE3, 0x0L, 0x10L, 0x8L, 0x40L, 0x18L\r\n");
}

TEST(ScriptWriter, TimerListAndEventRows) {
    FakeHost host;
    Document doc;
    Form *f = FrmCreateNew(host, doc, nullptr, false);
    ControlRecord *t = CtlCreate(host, doc, *f, kTimer, 0, 0);
    f->events.Find(t->id)->entries[0].proc = "MyProc";
    std::string rows = ControlRows(host, doc);
    EXPECT_NE(rows.find("\t__TIMER, 65535, 100L\r\n"), std::string::npos) << rows;
    EXPECT_NE(rows.find("\t__EVENT\r\n\t__BEGIN\r\n\t\t__EV_TIMER, \"MYPROC\\0\"\r\n\t__END\r\n"), std::string::npos)
        << rows;
    Document doc2;
    Form *g = FrmCreateNew(host, doc2, nullptr, false);
    ControlRecord *l = CtlCreate(host, doc2, *g, kList, 0, 0);
    host.windows[l->hwnd].items = {"a", "b\\c", ""};
    rows = ControlRows(host, doc2);
    EXPECT_NE(rows.find("\t__LISTITEM3, \"a\\r\\nb\\\\c\\r\\n\\0\"\r\n"), std::string::npos) << rows;
    EXPECT_EQ(rows.find("__EVENT"), std::string::npos) << "default names write no event block";
}

TEST(ScriptWriter, RefusesNamesTheCompilerWouldMisread) {
    FakeHost host;
    Document doc;
    Form *f = FrmCreateNew(host, doc, nullptr, false);
    SetField(f->table[0].name, "");
    std::string out;
    EXPECT_EQ(RcWrite(host, doc, "C:\\w\\a.rc", out).message, uint32_t(kMsgEmptyId));
    SetField(f->table[0].name, "MY FORM");
    EXPECT_EQ(RcWrite(host, doc, "C:\\w\\a.rc", out).message, uint32_t(kMsgBadName));
    // A form named like a menu would make two resources of one name.
    SetField(f->table[0].name, "FORMMENU");
    doc.menus.CreateNew(0);
    EXPECT_EQ(RcWrite(host, doc, "C:\\w\\a.rc", out).message, uint32_t(kMsgNameUsed));
}

TEST(ScriptWriter, FileSections) {
    FakeHost host;
    Document doc;
    doc.List(kListIcon).Append("C:\\w\\app.ico");
    doc.List(kListIcon).Append("D:\\\x83\x5c\\x.ico");  // a folder whose name ends in trail byte 0x5C
    doc.List(kListCursor).exists = true;                // loaded, but empty
    std::string out;
    ASSERT_TRUE(RcWrite(host, doc, "C:\\W\\a.rc", out).ok);
    EXPECT_EQ(out, std::string(kHead) +
                       "// Icon ===\r\n"
                       "APP\tICON\t\"APP.ICO\"\r\n"
                       "X\tICON\t\"D:\\\\\x83\x5c\\\\X.ICO\"\r\n"
                       "\r\n"
                       "// Cursor ===\r\n\r\n"
                       "// Icon file list ===\r\nTQ70IconList RCDATA\r\nBEGIN\r\n"
                       "\t// RCDATAITEMHEADER\r\n\t\"TX\", 3\r\n"
                       "\t\"APP.ICO\\0\"\r\n"
                       "\t\"D:\\\\\x83\x5c\\\\X.ICO\\0\"\r\n"
                       "END\r\n\r\n"
                       "// Cursor file list ===\r\nTQ70CursorList RCDATA\r\nBEGIN\r\n"
                       "\t// RCDATAITEMHEADER\r\n\t\"TX\", 5\r\n"
                       "END\r\n\r\n\x1A");
}

class FailingFiles : public ScriptFiles {
public:
    bool failWrite = false;
    std::map<std::string, std::string> files;
    bool Write(const std::string &p, const std::string &b) override {
        if (failWrite) {
            files[p] = b.substr(0, b.size() / 2);
            return false;
        }
        files[p] = b;
        return true;
    }
    bool Replace(const std::string &from, const std::string &to) override {
        files[to] = files[from];
        files.erase(from);
        return true;
    }
    void Remove(const std::string &p) override { files.erase(p); }
};

TEST(ScriptWriter, AFailedSaveKeepsTheOldScript) {
    FakeHost host;
    Document doc;
    FailingFiles files;
    files.files["C:\\w\\a.rc"] = "old";
    doc.modified = true;
    files.failWrite = true;
    WriteResult r = RcSave(host, doc, "C:\\w\\a.rc", files);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(files.files["C:\\w\\a.rc"], "old");
    EXPECT_EQ(files.files.count("C:\\w\\a.rc~"), 0u);
    EXPECT_TRUE(doc.modified);
    EXPECT_EQ(host.messages, std::vector<uint32_t>{kMsgDiskFull});
    files.failWrite = false;
    ASSERT_TRUE(RcSave(host, doc, "C:\\w\\a.rc", files).ok);
    EXPECT_EQ(files.files["C:\\w\\a.rc"], std::string(kHead) + "\x1A");
    EXPECT_FALSE(doc.modified);
}

}  // namespace
}  // namespace dsg
