#include "module_sheet.h"

#include <gtest/gtest.h>

#include "fakes.h"

namespace prj::test {
namespace {

std::unique_ptr<CBasData> Module(const ProjectData &d, const char *stored, const char *full, uint32_t number) {
    auto m = d.NewModule();
    m->stored_path = stored;
    m->full_path = full;
    m->doc_number = number;
    return m;
}

std::vector<std::string> Stored(const ProjectData &d) {
    std::vector<std::string> out;
    for (const auto &m : d.modules)
        out.push_back(m->stored_path);
    return out;
}

TEST(ModuleSheet, ModulePageOkRemovesAndAddsModules) {
    Host h;
    h.fs.SetCurrentFolder(4, "\\ELSEWHERE");  // bare names still lie in the project folder
    ProjectData d(h.settings);
    d.path = "C:\\P\\PRJ.MAK";
    d.doc_counter = 4;
    d.modules.push_back(Module(d, "MAIN.BAS", "C:\\P\\MAIN.BAS", 0));
    d.modules.push_back(Module(d, "OLD.SUB", "C:\\P\\OLD.SUB", 2));
    // The page's copies: MAIN.BAS with options set through the page.
    std::vector<std::unique_ptr<CBasData>> working;
    working.push_back(Module(d, "MAIN.BAS", "C:\\P\\MAIN.BAS", 0));
    working.back()->own_options = 1;
    working.back()->options.flags = 0x4643A6;
    working.push_back(Module(d, "OLD.SUB", "C:\\P\\OLD.SUB", 2));

    // OLD.SUB moved to the unregistered list; NEW.SUB chosen through the
    // file dialog; X.SUB open in an editor in another folder.
    auto editor = [](const std::string &name) { return name == "X.SUB" ? std::string("D:\\W\\X.SUB") : ""; };
    ModulePageResult r = ApplyModulePage(d, {"OLD.SUB", "OTHER.BAS"}, {"MAIN.BAS", "NEW.SUB", "X.SUB"}, working,
                                         h.fs, h.ide, editor);
    EXPECT_EQ(r.removed, std::vector<std::string>{"OLD.SUB"});
    EXPECT_EQ(Stored(d), (std::vector<std::string>{"MAIN.BAS", "NEW.SUB", "D:\\W\\X.SUB"}));
    EXPECT_EQ(d.modules[0]->own_options, 1);
    EXPECT_EQ(d.modules[0]->options.flags, 0x4643A6u) << "the page's options reach the project";
    EXPECT_EQ(d.modules[1]->full_path, "C:\\P\\NEW.SUB");
    ASSERT_EQ(r.listed.size(), 3u);
    EXPECT_EQ(r.listed[0].doc_number, 5u);
    EXPECT_EQ(r.listed[2].doc_number, 7u);
    EXPECT_EQ(r.listed[2].full_path, "D:\\W\\X.SUB");
    for (const ListedModule &l : r.listed) {
        SCOPED_TRACE(l.full_path);
        EXPECT_NE(d.FindProjectFile(l.doc_number), nullptr) << "an editor's number names its module";
    }
    EXPECT_EQ(d.default_project_mode, 0u);
    EXPECT_TRUE(d.modified);

    // Everything moved out: the project has no module and is a default one.
    ApplyModulePage(d, Stored(d), {}, {}, h.fs, h.ide, {});
    EXPECT_TRUE(d.modules.empty());
    EXPECT_EQ(d.default_project_mode, 1u);
}

TEST(ModuleSheet, LibraryNamesAndLists) {
    Host h;
    h.fs.Add("C:\\TX\\LIB\\TQ70XX.LIB");
    h.fs.Add("D:\\MORE\\EXTRA.OBJ");
    ProjectData d(h.settings);
    d.path = "C:\\P\\PRJ.MAK";
    const std::string search = "C:\\TX\\LIB;;D:\\MORE\\";
    struct Case {
        const char *chosen;
        const char *listed;
    };
    for (const Case &c : std::vector<Case>{{"E:\\ANY\\TQ70XX.LIB", "TQ70XX.LIB"},
                                           {"E:\\ANY\\extra.obj", "extra.obj"},
                                           {"C:\\P\\MINE.LIB", "MINE.LIB"},
                                           {"E:\\ANY\\NOWHERE.LIB", "E:\\ANY\\NOWHERE.LIB"}}) {
        SCOPED_TRACE(c.chosen);
        EXPECT_EQ(LibraryListName(d, c.chosen, search, h.fs), c.listed);
    }

    d.libraries = {"A.LIB", "B.LIB"};
    d.objects = {"C.OBJ"};
    const std::vector<std::string> held = {"A.LIB", "B.LIB", "C.OBJ"};
    EXPECT_TRUE(ApplyLibraryPage(d, {"B.LIB", "C.OBJ"}, {"A.LIB", "D.obj", "E.Lib"}, held));
    EXPECT_EQ(d.libraries, (std::vector<std::string>{"A.LIB", "E.Lib"}));
    EXPECT_EQ(d.objects, std::vector<std::string>{"D.obj"});
    EXPECT_TRUE(d.modified);
    d.modified = false;
    EXPECT_FALSE(ApplyLibraryPage(d, {}, {"A.LIB", "E.Lib", "D.obj"}, {"A.LIB", "E.Lib", "D.obj"}));
    EXPECT_FALSE(d.modified);
}

TEST(ModuleSheet, DependencyListReplacesTheModules) {
    Host h;
    ProjectData d(h.settings);
    d.path = "C:\\P\\PRJ.MAK";
    struct Case {
        const char *name;
        std::vector<std::string> list;
        const char *chosen;
        bool shorten;
        std::vector<std::string> want;
    };
    const std::vector<Case> cases = {
        {"from the tree: as listed", {"C:\\P\\A.BI", "D:\\I\\B.BI"}, "", false, {"C:\\P\\A.BI", "D:\\I\\B.BI"}},
        {"from the page: bare in the project folder", {"C:\\P\\A.BI", "D:\\I\\B.BI"}, "", true, {"A.BI", "D:\\I\\B.BI"}},
        {"a name still chosen joins", {"C:\\P\\A.BI"}, "C:\\P\\C.BI", false, {"C:\\P\\A.BI", "C:\\P\\C.BI"}},
        {"but only once", {"C:\\P\\A.BI"}, "c:\\p\\a.bi", false, {"C:\\P\\A.BI"}},
        {"an empty list clears", {}, "", false, {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        CBasData m;
        m.dep_flag = 1;
        m.deps = {"OLD.BI"};
        EXPECT_TRUE(ApplyDependencyList(m, c.list, c.chosen, c.shorten ? &d : nullptr));
        EXPECT_EQ(m.deps, c.want);
        EXPECT_EQ(m.dep_flag, c.want.empty() ? 0 : 1);
        EXPECT_FALSE(ApplyDependencyList(m, m.deps, "", nullptr)) << "the same list again changes nothing";
    }
}

}  // namespace
}  // namespace prj::test
