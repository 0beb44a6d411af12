#include "project_ops.h"

#include <gtest/gtest.h>

#include "fakes.h"
#include "project_fixtures.h"

namespace prj::test {
namespace {

std::vector<uint8_t> Text(const std::string &s) { return {s.begin(), s.end()}; }

TEST(ProjectOps, DefaultProjectFromTheFirstEditor) {
    Host h;
    ProjectData doc(h.settings);
    doc.objects = {"OLD.OBJ"};
    ModuleOptions frame;
    frame.flags = 0x40;
    DefaultProjectSources src;
    src.first_editor = OpenWindow{"Prog.bas", "D:\\WORK\\SRC\\Prog.bas"};
    src.main_frame_options = frame;
    PrepareDefaultProject(doc, src, h.fs);
    EXPECT_EQ(doc.default_project_mode, 1u);
    EXPECT_TRUE(doc.objects.empty());
    ASSERT_EQ(doc.modules.size(), 1u);
    EXPECT_EQ(doc.modules[0]->stored_path, "Prog.bas");
    EXPECT_EQ(doc.modules[0]->full_path, "D:\\WORK\\SRC\\Prog.bas");
    EXPECT_EQ(doc.drive, 4);
    EXPECT_EQ(doc.project_folder, "\\WORK\\SRC");
    EXPECT_EQ(h.fs.drive, 4);
    EXPECT_EQ(h.fs.folder, "\\WORK\\SRC");
    EXPECT_EQ(doc.exe_name, "Prog.exe");
    EXPECT_EQ(doc.project_file_name, "DEFAULT.mak");
    EXPECT_EQ(doc.default_options, frame);

    // A source in a root folder, and one without a drive.
    src.first_editor = OpenWindow{"A.BAS", "C:\\A.BAS"};
    PrepareDefaultProject(doc, src, h.fs);
    EXPECT_EQ(doc.drive, 3);
    EXPECT_EQ(doc.project_folder, "\\");
    src.first_editor = OpenWindow{"A.BAS", "\\\\SRV\\S\\A.BAS"};
    PrepareDefaultProject(doc, src, h.fs);
    EXPECT_EQ(doc.drive, -1);
    EXPECT_EQ(doc.project_folder, "\\\\SRV\\S");
}

TEST(ProjectOps, DefaultProjectKeepsTwoOrMoreModules) {
    Host h;
    ProjectData doc(h.settings);
    for (const char *p : {"E:\\P\\MAIN.BAS", "E:\\P\\SUB.SUB"}) {
        auto m = doc.NewModule();
        m->stored_path = m->full_path = p;
        doc.modules.push_back(std::move(m));
    }
    doc.project_folder = "\\X";
    PrepareDefaultProject(doc, {}, h.fs);
    EXPECT_EQ(doc.modules.size(), 2u);
    EXPECT_EQ(doc.default_project_mode, 0u);
    EXPECT_EQ(doc.drive, 5);
    EXPECT_EQ(doc.project_folder, "\\P");
    EXPECT_EQ(doc.exe_name, "MAIN.exe");
    EXPECT_EQ(doc.project_file_name, "DEFAULT.mak");
    EXPECT_EQ(doc.default_options.flags, 0x4643E6u);
}

TEST(ProjectOps, WhichLinesNameAWord) {
    const std::vector<std::pair<std::string, bool>> cases = {
        {"SUB BTN1_CLICK()", true},
        {"btn1_click", true},
        {"BTN1_CLICKED", true},         // at the line's start anything may follow
        {"CALL BTN1_CLICK", true},
        {"CALL XBTN1_CLICK", false},
        {"CALL BTN1_CLICKX", false},
        {"' MYBTN1_CLICK then BTN1_CLICK", false},  // only the first occurrence counts
        {kHyoujiSub.substr(0, 4) + "BTN1_CLICK", true},  // a double-byte character before it
        {"", false},
    };
    for (const auto &[line, want] : cases) {
        SCOPED_TRACE(line);
        EXPECT_EQ(LineNamesWord(line, "BTN1_CLICK"), want);
    }
}

TEST(ProjectOps, ModuleDefiningANameSkipsOpenModules) {
    Host h;
    ProjectData doc(h.settings);
    for (const char *p : {"C:\\P\\A.BAS", "C:\\P\\B.SUB", "C:\\P\\C.SUB", "C:\\P\\GONE.SUB"}) {
        auto m = doc.NewModule();
        m->stored_path = m->full_path = p;
        doc.modules.push_back(std::move(m));
    }
    h.fs.Add("C:\\P\\A.BAS", Text("SUB FORM1_LOAD()\r\nEND SUB\r\n"));
    h.fs.Add("C:\\P\\B.SUB", Text("REM\r\nSUB Btn_Click()\r\n"));
    h.fs.Add("C:\\P\\C.SUB", Text("SUB BTN_CLICK()\nEND SUB"));
    auto none_open = [](const CBasData &) { return false; };
    auto b_open = [](const CBasData &m) { return m.stored_path == "C:\\P\\B.SUB"; };
    EXPECT_EQ(FindModuleDefiningName(doc, "btn_click", "", none_open, h.fs), 1);
    EXPECT_EQ(FindModuleDefiningName(doc, "BTN_CLICK", "", b_open, h.fs), 2);
    EXPECT_EQ(FindModuleDefiningName(doc, "", "FORM1_LOAD", none_open, h.fs), 0);
    EXPECT_EQ(FindModuleDefiningName(doc, "NOWHERE", "", none_open, h.fs), -1);
}

}  // namespace
}  // namespace prj::test
