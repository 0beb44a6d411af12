#include "make_script.h"

#include <gtest/gtest.h>

#include <functional>

#include "fakes.h"
#include "project_fixtures.h"

namespace prj::test {
namespace {

constexpr uint32_t kDefaults = 0x4643E6;

void AddModule(ProjectData &doc, const std::string &stored, const std::string &full) {
    auto m = doc.NewModule();
    m->stored_path = stored;
    m->full_path = full;
    doc.modules.push_back(std::move(m));
}

void DebugWithResources(ProjectData &doc, Host &) {
    doc.path = "C:\\PROJ\\SAMPLE.MAK";
    doc.drive = 3;
    doc.project_folder = "\\PROJ";
    doc.project_file_name = "SAMPLE.MAK";
    doc.rc_path = "C:\\PROJ\\SAMPLE.RC";
    doc.bet_path = "C:\\PROJ\\SAMPLE.BET";
    AddModule(doc, "SUB1.SUB", "C:\\PROJ\\SUB1.SUB");
    AddModule(doc, "MAIN.BAS", "C:\\PROJ\\MAIN.BAS");
    doc.objects = {"EXTRA.OBJ"};
    doc.libraries = {"USER.LIB"};
}

void Model0WithOwnOptions(ProjectData &doc, Host &h) {
    h.settings.machine["TXCL"] = "/Dx";
    h.settings.machine["LINK"] = "/MAP";
    doc.path = "C:\\WORK\\APP.MAK";
    doc.drive = 3;
    doc.project_folder = "\\WORK";
    doc.project_file_name = "APP.MAK";
    doc.exe_name = "APP.EXE";
    doc.run_model = 0;
    doc.default_options.flags = kDefaults & ~0x40u;
    AddModule(doc, "FIRST.BAS", "C:\\WORK\\FIRST.BAS");
    doc.modules.back()->dep_flag = 1;
    doc.modules.back()->deps = {"C:\\WORK\\COMMON.BI", "D:\\INC\\WIN.BI"};
    AddModule(doc, "HELPER.SUB", "D:\\SRC\\HELPER.SUB");
    CBasData &helper = *doc.modules.back();
    helper.own_options = 1;
    helper.options.flags = (kDefaults & ~0x100u) | 0x800 | 0x1000 | 0x80000;
    helper.options.SetIncludePath("C:\\MY INC");
    AddModule(doc, "SECOND.BAS", "C:\\WORK\\SECOND.BAS");
}

// A default project (the project frame's own document) whose paths hold a
// blank, a dot in a folder name and a double-byte name with a 0x5C byte.
void MendedPaths(ProjectData &doc, Host &) {
    doc.is_frame_project = true;
    doc.drive = 3;
    doc.project_folder = "\\PROJ";
    doc.project_file_name = "DEFAULT.mak";
    doc.run_model = 2;
    doc.bet_path = "C:\\MY ENV\\RUN.BET";
    doc.rc_path = "C:\\RES.RCS\\APP.RC";
    AddModule(doc, "MAIN", "C:\\PROJ\\MAIN");
    AddModule(doc, "D:\\V1.BAS\\UTIL.SUB", "D:\\V1.BAS\\UTIL.SUB");
    AddModule(doc, kHyoujiSub, kHyoujiSubFull);
}

void NoModules(ProjectData &doc, Host &) {
    doc.path = "C:\\PROJ\\EMPTY.MAK";
    doc.drive = 3;
    doc.project_folder = "\\PROJ";
    doc.project_file_name = "EMPTY.MAK";
}

TEST(MakeScript, ConfigurationsMatchTheirGoldenScripts) {
    struct Case {
        const char *name;
        std::function<void(ProjectData &, Host &)> fill;
        std::string path;
        const std::string &golden;
    };
    const std::vector<Case> cases = {
        {"debug build with .rc and .bet", DebugWithResources, "C:\\PROJ\\SAMPLE.mk2", kMk2_debug_rc_bet},
        {"run model 0, own options, dependencies, Env values", Model0WithOwnOptions,
         "C:\\WORK\\APP.mk2", kMk2_model0_plain},
        {"default project with awkward paths", MendedPaths, "C:\\PROJ\\DEFAULT.mk2", kMk2_mended_paths},
        {"no modules", NoModules, "C:\\PROJ\\EMPTY.mk2", kMk2_no_modules},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Host h;
        ProjectData doc(h.settings);
        c.fill(doc, h);
        ASSERT_EQ(WriteMakeScript(doc, h.env), 1);
        EXPECT_TRUE(h.messages.shown.empty());
        EXPECT_EQ(doc.make_script_path, c.path);
        const std::vector<uint8_t> *written = h.fs.Get(c.path);
        ASSERT_NE(written, nullptr);
        EXPECT_EQ(std::string(written->begin(), written->end()), c.golden);
    }
}

TEST(MakeScript, RefusedModuleListsDeleteTheScript) {
    struct Case {
        const char *name;
        std::vector<std::string> modules;
        uint32_t message;
    };
    const std::vector<Case> cases = {
        {"a .SUB alone", {"C:\\P\\PROG.SUB"}, kMsgNoMainModule},
        {"mixed-case extension is no main module", {"C:\\P\\PROG.Bas"}, kMsgNoMainModule},
        {"a .BAS folder does not make a main module", {"C:\\P.BAS\\PROG.SUB"}, kMsgNoMainModule},
        {"same name, other extension", {"C:\\P\\A.BAS", "C:\\P\\A.SUB"}, kMsgSameObjectName},
        {"same name, other case", {"C:\\P\\a.bas", "C:\\P\\X.BAS", "C:\\P\\A.BAS"}, kMsgSameObjectName},
        {"repeat reported before the main-module test", {"C:\\P\\B.SUB", "C:\\P\\B.TXT"}, kMsgSameObjectName},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Host h;
        ProjectData doc(h.settings);
        doc.drive = 3;
        doc.project_folder = "\\P";
        doc.project_file_name = "PROG.MAK";
        for (const std::string &m : c.modules)
            AddModule(doc, BareName(m), m);
        h.fs.Add("C:\\P\\PROG.mk2", {'o', 'l', 'd'});
        EXPECT_EQ(WriteMakeScript(doc, h.env), 0);
        const std::vector<ShownMessage> shown = {{c.message, kMbIconHand, ""}};
        EXPECT_EQ(h.messages.shown, shown);
        EXPECT_EQ(h.fs.Get("C:\\P\\PROG.mk2"), nullptr);
        EXPECT_TRUE(doc.make_script_path.empty());
    }
}

TEST(MakeScript, MainModulesAreFoundByTheirOwnExtension) {
    const std::vector<std::pair<std::string, bool>> cases = {
        {"C:\\P\\PROG.BAS", true}, {"C:\\P\\prog.bas", true}, {"C:\\P\\MAIN", true},
        {"C:\\P.X\\MAIN", true},   {"C:\\P\\PROG.Bas", false}, {"C:\\P\\PROG.SUB", false},
        {"C:\\P\\PROG.BASIC", false},
    };
    for (const auto &[path, main] : cases) {
        SCOPED_TRACE(path);
        Host h;
        ProjectData doc(h.settings);
        doc.project_file_name = "PROG.MAK";
        AddModule(doc, path, path);
        EXPECT_EQ(WriteMakeScript(doc, h.env), main ? 1 : 0);
    }
}

TEST(MakeScript, UncreatableFileFailsSilently) {
    Host h;
    h.fs.writes_refused = 1;
    ProjectData doc(h.settings);
    doc.project_file_name = "PROG.MAK";
    AddModule(doc, "PROG.SUB", "PROG.SUB");  // would be refused, but no message comes
    EXPECT_EQ(WriteMakeScript(doc, h.env), 0);
    EXPECT_TRUE(h.messages.shown.empty());
}

TEST(MakeScript, ScriptPathFollowsTheProgramName) {
    struct Case {
        const char *name;
        int drive;
        std::string folder, exe, project, want;
    };
    const std::vector<Case> cases = {
        {"from project name", 3, "\\WORK", "", "APP.MAK", "C:\\WORK\\APP.mk2"},
        {"from exe name with folder", 4, "\\W", "E:\\OUT\\PROG.EXE", "APP.MAK", "D:\\W\\PROG.mk2"},
        {"root folder", 3, "\\", "X.EXE", "APP.MAK", "C:\\X.mk2"},
        {"no drive", -1, "\\\\SRV\\SHARE", "", "APP.MAK", "\\\\SRV\\SHARE\\APP.mk2"},
        {"no drive, root", -1, "\\", "", "APP.MAK", "APP.mk2"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Host h;
        ProjectData doc(h.settings);
        doc.drive = c.drive;
        doc.project_folder = c.folder;
        doc.exe_name = c.exe;
        doc.project_file_name = c.project;
        EXPECT_EQ(MakeScriptPath(doc), c.want);
    }
}

TEST(MakeScript, OptionTextFollowsTheFlagBits) {
    struct Case {
        const char *name;
        uint32_t flags;
        const char *include;
        uint16_t run_model;
        const char *bet;
        const char *extra;
        std::string want;
    };
    const std::vector<Case> cases = {
        {"defaults", kDefaults, "", 3, "", nullptr, "/nologo /Yu /MW /CLe /CIe /COe /CFF /Zi "},
        {"all off", 0, "", 0, "", nullptr, "/nologo /Yu /MW /CLe /CId /COd /CFI "},
        {"listings", kDefaults | 0x1800 | 0x80000, "INC", 2, "A.BET", "",
         "/nologo /Yu /MW /CLe \"/S:A.BET\" /CIe /COe /CFF /Fs /Fx /CV \"/IINC\" "},
        // Paths as NMAKE and the compiler read them: no backslash before a
        // closing quote, '#' and '$' escaped, a double-byte 0x5C trail kept.
        {"escaped paths", 0, "C:\\INC\\", 0, "C:\\A#1\\$X.BET", nullptr,
         "/nologo /Yu /MW /CLe \"/S:C:\\A^#1\\$$X.BET\" /CId /COd /CFI \"/IC:\\INC\" "},
        {"root include", 0, "C:\\", 0, "", nullptr, "/nologo /Yu /MW /CLe /CId /COd /CFI \"/IC:\\.\" "},
        {"double-byte include", 0, "C:\\\x95\x5C", 0, "", nullptr,
         "/nologo /Yu /MW /CLe /CId /COd /CFI \"/IC:\\\x95\x5C\" "},
        {"extra options", kDefaults, "", 0, "", "/X /Y", "/nologo /Yu /MW /CLe /CIe /COe /CFF /X /Y "},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Host h;
        if (c.extra)
            h.settings.machine["TXCL"] = c.extra;
        ProjectData doc(h.settings);
        doc.run_model = c.run_model;
        doc.bet_path = c.bet;
        ModuleOptions o;
        o.flags = c.flags;
        o.SetIncludePath(c.include);
        EXPECT_EQ(CompilerOptionText(o, doc, h.settings), c.want);
    }
}

}  // namespace
}  // namespace prj::test
