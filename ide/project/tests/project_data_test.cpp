#include "project_data.h"

#include <gtest/gtest.h>

#include "bet_port.h"
#include "fakes.h"
#include "project_fixtures.h"

namespace prj::test {
namespace {

constexpr uint32_t kDefaults = 0x4643E6;

TEST(ProjectData, DefaultsFollowThePerUserSwitches) {
    struct Case {
        const char *name;
        std::map<std::string, uint32_t> user;
        uint32_t flags;
        uint16_t run_model;
    };
    const std::vector<Case> cases = {
        {"nothing set", {}, kDefaults, 3},
        {"CF 0 selects ISO mode", {{"CF", 0}}, kDefaults & ~0x100u, 3},
        {"CV 1 forbids default variables", {{"CV", 1}}, kDefaults | 0x80000, 3},
        {"values of 2 and more are ignored", {{"CF", 2}, {"CV", 7}}, kDefaults, 3},
        {"ExeModel 0", {{"ExeModel", 0}}, kDefaults, 0},
        {"ExeModel 2", {{"ExeModel", 2}}, kDefaults, 2},
        {"ExeModel 1 ignored", {{"ExeModel", 1}}, kDefaults, 3},
        {"ExeModel 4 ignored", {{"ExeModel", 4}}, kDefaults, 3},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        FakeSettings s;
        s.user = c.user;
        ProjectData doc(s);
        EXPECT_EQ(doc.default_options.flags, c.flags);
        EXPECT_EQ(doc.run_model, c.run_model);
        auto m = doc.NewModule();
        EXPECT_EQ(m->options.flags, c.flags);
        EXPECT_EQ(m->reference.flags, c.flags);
        EXPECT_EQ(doc.flags, ProjectData::kFlagInitial);
    }
}

TEST(ProjectData, DisplayFormAndFolderOfTheProject) {
    FakeSettings s;
    ProjectData doc(s);
    doc.drive = 3;
    doc.project_folder = "\\PROJ";
    doc.project_file_name = "A.MAK";
    EXPECT_EQ(doc.GetProjectFileFolder(), "C:\\PROJ");
    EXPECT_EQ(doc.GetProjectFileName("c:\\proj\\X.BAS"), "X.BAS");
    EXPECT_EQ(doc.GetProjectFileName("C:\\OTHER\\X.BAS"), "C:\\OTHER\\X.BAS");
    EXPECT_EQ(doc.GetProjectFileName("X.BAS"), "X.BAS");
    EXPECT_EQ(doc.GetProjectFileName(kHyoujiSubFull), kHyoujiSub);
    doc.project_folder = "\\";
    EXPECT_EQ(doc.GetProjectFileFolder(), "C:");
    doc.drive = -1;
    EXPECT_EQ(doc.GetProjectFileFolder(), "");
    doc.path = "D:\\W\\B.MAK";
    EXPECT_EQ(doc.GetProjectFileFolder(), "D:\\W");
    EXPECT_EQ(doc.GetProjectOutputName(), "A.exe");
    doc.exe_name = "Z.EXE";
    EXPECT_EQ(doc.GetProjectOutputName(), "Z.EXE");
}

TEST(ProjectData, NewProjectName) {
    FakeSettings s;
    ProjectData doc(s);
    doc.title = "Prj1";
    doc.InitNewProject();
    EXPECT_EQ(doc.project_file_name, "Prj1");
    doc.is_frame_project = true;
    doc.InitNewProject();
    EXPECT_EQ(doc.project_file_name, "DEFAULT.MAK");
}

TEST(ProjectData, AddFileToProjectAddsOrUpdates) {
    Host h;
    ProjectData doc(h.settings);
    CBasData from;
    from.doc_number = 5;
    from.stored_path = "A.BAS";
    from.full_path = "C:\\P\\A.BAS";
    doc.AddFileToProject(from, h.ide);
    ASSERT_EQ(doc.modules.size(), 1u);
    EXPECT_EQ(doc.flags & ProjectData::kFlagModuleAdded, ProjectData::kFlagModuleAdded);
    EXPECT_TRUE(doc.modified);
    EXPECT_TRUE(doc.IsFileInProject(5));
    EXPECT_EQ(doc.FindProjectFile(5), doc.modules[0].get());

    // Found by document number: the stored path changes and the tree follows.
    doc.modified = false;
    from.stored_path = "C:\\Q\\A.BAS";
    from.own_options = 1;
    from.options.flags = 0x40;
    from.dep_flag = 1;
    from.deps = {"X.BI"};
    doc.AddFileToProject(from, h.ide);
    ASSERT_EQ(doc.modules.size(), 1u);
    EXPECT_EQ(doc.modules[0]->stored_path, "C:\\Q\\A.BAS");
    EXPECT_EQ(doc.modules[0]->own_options, 1);
    EXPECT_EQ(doc.modules[0]->options.flags, 0x40u);
    EXPECT_EQ(doc.modules[0]->deps, std::vector<std::string>{"X.BI"});
    EXPECT_TRUE(doc.modified);
    EXPECT_EQ(h.ide.renames, (std::vector<TreeRename>{{kCatProgram, "A.BAS", "C:\\Q\\A.BAS"}}));

    // Nothing new: no mark.
    doc.modified = false;
    from.own_options = 0;
    from.dep_flag = 0;
    from.deps.clear();
    doc.AddFileToProject(from, h.ide);
    EXPECT_TRUE(doc.modified);  // the dependency list was emptied
    EXPECT_TRUE(doc.modules[0]->deps.empty());
    doc.modified = false;
    doc.AddFileToProject(from, h.ide);
    EXPECT_FALSE(doc.modified);

    // A record not open in an editor (number 0) never takes over another module.
    doc.modules[0]->doc_number = 0;
    CBasData other;
    other.stored_path = "B.BAS";
    doc.AddFileToProject(other, h.ide);
    ASSERT_EQ(doc.modules.size(), 2u);
    EXPECT_EQ(doc.modules[0]->stored_path, "C:\\Q\\A.BAS");
}

TEST(ProjectData, OwnOptionsOnlyWhenTheDialogDiffersFromTheReference) {
    ModuleOptions reference;
    reference.SetIncludePath("C:\\Inc");
    struct Case {
        const char *name;
        std::function<void(OptionDialogValues &)> change;
        uint16_t own;
    };
    const std::vector<Case> cases = {
        {"same values", [](OptionDialogValues &) {}, 0},
        {"path differs in case only", [](OptionDialogValues &v) { v.include_path = "c:\\INC"; }, 0},
        {"other path", [](OptionDialogValues &v) { v.include_path = "D:\\INC"; }, 1},
        {"listing on", [](OptionDialogValues &v) { v.source_listing = true; }, 1},
        {"ISO mode", [](OptionDialogValues &v) { v.for_next_qv = false; }, 1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        CBasData m;
        m.options.flags = kDefaults | 0x8000000;  // a bit the dialog does not show
        OptionDialogValues v = OptionsToDialog(reference);
        c.change(v);
        DialogToModuleOptions(v, reference, m);
        EXPECT_EQ(m.own_options, c.own);
        EXPECT_EQ(m.options.flags & 0x8000000, 0x8000000u);
        EXPECT_EQ(OptionsToDialog(m.options).include_path, v.include_path);
        EXPECT_EQ(OptionsToDialog(m.options).for_next_qv, v.for_next_qv);
    }
}

TEST(ProjectData, TreeGroupsInTreeOrder) {
    FakeSettings s;
    ProjectData doc(s);
    doc.path = "C:\\P\\A.MAK";
    EXPECT_TRUE(ProjectTreeGroups(doc).empty());
    auto m = doc.NewModule();
    m->full_path = "C:\\P\\A.BAS";
    doc.modules.push_back(std::move(m));
    doc.objects = {"X.OBJ"};
    doc.libraries = {"D:\\L\\Y.LIB"};
    doc.rc_path = "C:\\P\\A.RC";
    doc.bet_path = "C:\\E\\A.BET";
    const std::vector<TreeGroup> groups = ProjectTreeGroups(doc);
    ASSERT_EQ(groups.size(), 4u);
    EXPECT_EQ(groups[0].category, kCatProgram);
    EXPECT_EQ(groups[0].items, std::vector<std::string>{"A.BAS"});
    EXPECT_EQ(groups[1].category, kCatLibrary);
    EXPECT_EQ(groups[1].items, (std::vector<std::string>{"D:\\L\\Y.LIB", "X.OBJ"}));
    EXPECT_EQ(groups[2].category, kCatEnvironment);
    EXPECT_EQ(groups[2].items, std::vector<std::string>{"C:\\E\\A.BET"});
    EXPECT_EQ(groups[3].category, kCatResource);
    EXPECT_EQ(groups[3].items, std::vector<std::string>{"A.RC"});
}

TEST(BetPort, IndexAndWordOfAPort) {
    EnvBlock b = NewEnvBlock();
    EXPECT_EQ(ReadPortSettings(b, 0), PortSettings());
    struct Case {
        uint32_t rate;
        uint8_t index_byte;
        int shown;
    };
    for (const Case &c : std::vector<Case>{{0, 7, 7}, {4800, 9, 4}, {1000, 9, 2}, {57600, 0, 10}}) {
        SCOPED_TRACE(c.rate);
        b.baud_rate[1] = c.rate;
        b.baud_index[1] = c.index_byte;
        EXPECT_EQ(BaudIndexOf(b, 1), c.shown);
    }

    // Parity off keeps the parity kind; unused bits stay.
    b = NewEnvBlock();
    b.port_params[2] = 0x0109 | 0x4 | 0x20 | 0x8000;
    PortSettings s = ReadPortSettings(b, 2);
    EXPECT_EQ(s.parity, 0);
    s.baud_index = 5;
    s.data_length = 0;
    StorePortSettings(b, 2, s);
    EXPECT_EQ(b.port_params[2], 0x0108 | 0x4 | 0x20 | 0x8000);
    EXPECT_EQ(b.baud_index[2], 5);
    EXPECT_EQ(b.baud_rate[2], 9600u);

    const std::vector<std::pair<int, uint16_t>> parity = {{1, 0x0109 | 0x2}, {2, 0x0109 | 0x6}, {0, 0x0109}};
    for (const auto &[p, word] : parity) {
        SCOPED_TRACE(p);
        EnvBlock e = NewEnvBlock();
        PortSettings ps;
        ps.parity = p;
        StorePortSettings(e, 0, ps);
        EXPECT_EQ(e.port_params[0], word);
        EXPECT_EQ(ReadPortSettings(e, 0).parity, p);
    }
    PortSettings all;
    all.stop_bits = 0;
    all.buffer_busy = 1;
    all.code_system = 0;
    StorePortSettings(b, 4, all);
    EXPECT_EQ(b.port_params[4], 0x0011);
    EXPECT_EQ(ReadPortSettings(b, 4), all);
}

// Values the combo boxes cannot show (an index byte above the table, code
// system 2 or 3, or no selection at all) leave the port's bytes as they are.
TEST(BetPort, UnshownValuesKeepTheirBytes) {
    struct Case {
        const char *name;
        int index;
        int code;
    };
    for (const Case &c : std::vector<Case>{{"no rate selected", -1, 1},
                                           {"index above table", 11, 1},
                                           {"code system 3", 4, 3},
                                           {"no code selected", 4, -1}}) {
        SCOPED_TRACE(c.name);
        EnvBlock b = NewEnvBlock();
        b.baud_index[3] = 0x0C;
        b.baud_rate[3] = 0;
        b.port_params[3] = 0x0301;
        PortSettings s = ReadPortSettings(b, 3);
        s.baud_index = c.index;
        s.code_system = c.code;
        StorePortSettings(b, 3, s);
        const bool rate_kept = c.index < 0 || c.index >= kBaudRateCount;
        EXPECT_EQ(b.baud_index[3], rate_kept ? 0x0C : c.index);
        EXPECT_EQ(b.baud_rate[3], rate_kept ? 0u : kBaudRates[c.index]);
        const bool code_kept = c.code != 0 && c.code != 1;
        EXPECT_EQ(b.port_params[3] & 0x300, code_kept ? 0x300 : c.code << 8);
    }
}

TEST(BetPort, PrinterWidthTakesOneTo255) {
    const std::vector<std::pair<const char *, int>> cases = {
        {"132", 132}, {"1", 1}, {"255", 255}, {"080", 80},
        {"0", -1}, {"256", -1}, {"300", -1}, {"", -1}, {"12a", -1}, {"-5", -1}, {"4294967297", -1},
    };
    for (const auto &[text, want] : cases) {
        SCOPED_TRACE(text);
        const std::optional<uint8_t> got = ParsePrinterWidth(text);
        EXPECT_EQ(got ? int(*got) : -1, want);
    }
}

}  // namespace
}  // namespace prj::test
